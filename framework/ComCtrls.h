// Common controls: the rich edit over the platform's rich edit 4.1 window
// class and the progress bar.
#pragma once

#include "StdCtrls.h"

enum TProgressBarStyle { pbstNormal, pbstMarquee };
enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TCustomRichEdit : public TCustomMemo {
  DECLARE_CLASS(TCustomRichEdit, TCustomMemo)
 public:
  explicit TCustomRichEdit(TComponent* AOwner);

  Integer SelStart() override;
  void SetSelStart(Integer V) override;
  Integer SelLength() override;
  void SetSelLength(Integer V) override;
  String SelText() override;
  void SetSelText(const String& V) override;

  // Percent; 100 shows the text unscaled.
  Integer Zoom();
  void SetZoom(Integer V);
  bool PlainText() const { return FPlainText; }
  void SetPlainText(bool V);
  // The length in the window's own units (one character per line break).
  Integer GetTextLen();

 protected:
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void SetSelection(Integer Start, Integer End);
  CHARRANGE Selection();
  // The control's font, character set included, as the default character
  // format of the window.
  void ApplyDefaultFormat();
  bool FPlainText = false;
  Integer FZoom = 100;
};

class TRichEdit : public TCustomRichEdit {
  DECLARE_CLASS(TRichEdit, TCustomRichEdit)
 public:
  using TCustomRichEdit::TCustomRichEdit;
};

class TProgressBar : public TWinControl {
  DECLARE_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* AOwner);
  Integer Min();
  void SetMin(Integer V);
  Integer Max();
  void SetMax(Integer V);
  Integer Position();
  void SetPosition(Integer V);
  Integer Step() const { return FStep; }
  void SetStep(Integer V);
  void StepIt();
  void StepBy(Integer Delta);
  TProgressBarStyle Style() const { return FStyle; }
  void SetStyle(TProgressBarStyle V);
  // Milliseconds between the marquee's moves.
  Integer MarqueeInterval() const { return FMarqueeInterval; }
  void SetMarqueeInterval(Integer V);
  bool Smooth() const { return FSmooth; }
  void SetSmooth(bool V);
  TProgressBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TProgressBarOrientation V);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void SetRange(Integer AMin, Integer AMax);
  Integer FMin = 0, FMax = 100, FPosition = 0, FStep = 10;
  TProgressBarStyle FStyle = pbstNormal;
  Integer FMarqueeInterval = 10;
  bool FSmooth = false;
  TProgressBarOrientation FOrientation = pbHorizontal;
};

void ComCtrls_Initialize();
void ComCtrls_Finalize();
