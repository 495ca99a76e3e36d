// Extra controls forms place: panels, images, shapes and bevels.
#pragma once

#include "Controls.h"
#include "StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
  DECLARE_CLASS(TCustomPanel, TCustomControl)
 public:
  explicit TCustomPanel(TComponent* AOwner);
  TBevelCut BevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut V);
  TBevelCut BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut V);
  Integer BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(Integer V);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment V);

 protected:
  void CMTextChanged(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  void AdjustClientRect(TRect& Rect) override;

 private:
  Integer BorderSize() const;
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  Integer FBevelWidth = 1;
  TAlignment FAlignment = taCenter;
};

class TPanel : public TCustomPanel {
  DECLARE_CLASS(TPanel, TCustomPanel)
 public:
  using TCustomPanel::TCustomPanel;
};

class TImage : public TGraphicControl {
  DECLARE_CLASS(TImage, TGraphicControl)
 public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* Picture() const { return FPicture; }
  void SetPicture(TPicture* V) { FPicture->Assign(V); }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool V);
  bool Center() const { return FCenter; }
  void SetCenter(bool V);
  bool Proportional() const { return FProportional; }
  void SetProportional(bool V);
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool V);
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool V);
  // Where the picture is drawn inside the control.
  TRect DestRect();

 protected:
  void Paint() override;

 private:
  void PictureChanged(TObject* Sender);
  TPicture* FPicture;
  bool FStretch = false, FCenter = false, FProportional = false, FTransparent = false,
       FAutoSize = false;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
  DECLARE_CLASS(TShape, TGraphicControl)
 public:
  explicit TShape(TComponent* AOwner);
  ~TShape() override;
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType V);
  TPen* Pen() const { return FPen; }
  void SetPen(TPen* V) { FPen->Assign(V); }
  TBrush* Brush() const { return FBrush; }
  void SetBrush(TBrush* V) { FBrush->Assign(V); }

 protected:
  void Paint() override;

 private:
  void StyleChanged(TObject* Sender) { Invalidate(); }
  TShapeType FShape = stRectangle;
  TPen* FPen;
  TBrush* FBrush;
};

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
  DECLARE_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape V);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle V);

 protected:
  void Paint() override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

void ExtCtrls_Initialize();
