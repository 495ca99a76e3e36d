// Image lists over the platform's comctl32 image lists, with change links
// that tell the controls using a list when its images change.
#pragma once

#include <vector>

#include "Classes.h"
#include "Graphics.h"

class TCustomImageList;

class TChangeLink : public TObject {
  DECLARE_CLASS(TChangeLink, TObject)
 public:
  TChangeLink() = default;
  ~TChangeLink() override;
  TCustomImageList* Sender() const { return FSender; }
  void SetSender(TCustomImageList* V) { FSender = V; }
  virtual void Change();
  TNotifyEvent OnChange;

 private:
  TCustomImageList* FSender = nullptr;
};

enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };
enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };

class TCustomImageList : public TComponent {
  DECLARE_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;

  // The platform list, created on demand.
  HIMAGELIST Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  // A new size or colour depth starts an empty list, as the platform's
  // lists cannot change either.
  void SetWidth(Integer V);
  void SetHeight(Integer V);
  void SetSize(Integer AWidth, Integer AHeight);
  TColorDepth ColorDepth() const { return FColorDepth; }
  void SetColorDepth(TColorDepth V);
  bool Masked() const { return FMasked; }
  void SetMasked(bool V);
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle V) { FDrawingStyle = V; }

  Integer Count();
  // The image is cut into Width-wide images; returns the first index.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  Integer AddIcon(TIcon* Image);
  void Replace(Integer Index, TBitmap* Image, TBitmap* Mask);
  void Delete(Integer Index);
  void Clear();
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
  // Sizes Image to one image and draws it there.
  void GetBitmap(Integer Index, TBitmap* Image);

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  TNotifyEvent OnChange;

 protected:
  virtual void Change();

 private:
  void FreeHandle();
  void CheckIndex(Integer Index);
  HIMAGELIST FHandle = nullptr;
  Integer FWidth = 16, FHeight = 16;
  TColorDepth FColorDepth = cdDeviceDependent;
  bool FMasked = true;
  TDrawingStyle FDrawingStyle = dsNormal;
  Integer FUpdateCount = 0;
  bool FChanged = false;
  std::vector<TChangeLink*> FClients;
};

class TImageList : public TCustomImageList {
  DECLARE_CLASS(TImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};

void ImgList_Initialize();
