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
enum TImageType { itImage, itMask };
// The overlay images of a list are numbered 0..14.
using TOverlay = Integer;
// Kinds of resource an image list loads, and how.
enum TResType { rtBitmap, rtCursor, rtIcon };
enum TLoadResource {
  lrDefaultColor,
  lrDefaultSize,
  lrFromFile,
  lrMap3DColors,
  lrTransparent,
  lrMonoChrome
};
using TLoadResources = TSet<TLoadResource>;

// The platform's drawing style flags of a drawing style and image type.
UINT GetImageListStyle(TDrawingStyle ADrawingStyle, TImageType AImageType);
// A colour as the platform's image lists take it: CLR_NONE, CLR_DEFAULT or RGB.
COLORREF GetImageListColor(TColor AColor);

class TCustomImageList : public TComponent {
  DECLARE_CLASS(TCustomImageList, TComponent)
 public:
  explicit TCustomImageList(TComponent* AOwner);
  ~TCustomImageList() override;
  // Runs Initialize, which reaches overrides.
  void AfterConstruction() override;

  // The platform list, created on demand.
  HIMAGELIST Handle();
  // Takes Value over as this list's platform list (the old one is freed
  // unless shared); the size follows Value's.
  virtual void SetHandle(HIMAGELIST Value);
  bool HandleAllocated() const { return FHandle != nullptr; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  // A new size or colour depth starts an empty list, as the platform's
  // lists cannot change either.
  void SetWidth(Integer V);
  void SetHeight(Integer V);
  virtual void SetSize(Integer AWidth, Integer AHeight);
  TColorDepth ColorDepth() const { return FColorDepth; }
  void SetColorDepth(TColorDepth V);
  bool Masked() const { return FMasked; }
  void SetMasked(bool V);
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle V) { FDrawingStyle = V; }
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType V) { FImageType = V; }
  // The colour behind the images (clNone: drawn transparently).
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor V);
  // The colour a focused or selected image is blended with.
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor V) { FBlendColor = V; }
  // A shared list does not destroy its platform list.
  bool ShareImages() const { return FShareImages; }
  void SetShareImages(bool V) { FShareImages = V; }
  Integer AllocBy() const { return FAllocBy; }

  Integer Count();
  // The image is cut into Width-wide images; returns the first index.
  Integer Add(TBitmap* Image, TBitmap* Mask);
  Integer AddMasked(TBitmap* Image, TColor MaskColor);
  Integer AddIcon(TIcon* Image);
  // Index may be Count (the same as adding); the images the bitmap is cut
  // into take Index, Index + 1, ...
  void Insert(Integer Index, TBitmap* Image, TBitmap* Mask);
  void InsertMasked(Integer Index, TBitmap* Image, TColor MaskColor);
  void InsertIcon(Integer Index, TIcon* Image);
  // Carries one image to another place; the ones between shift by one.
  void Move(Integer CurIndex, Integer NewIndex);
  void Replace(Integer Index, TBitmap* Image, TBitmap* Mask);
  void Delete(Integer Index);
  void Clear();
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, Integer X, Integer Y, Integer Index, TDrawingStyle ADrawingStyle,
            TImageType AImageType, bool Enabled = true);
  // Makes image ImageIndex overlay number Overlay.
  bool Overlay(Integer ImageIndex, TOverlay Overlay);
  void DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex, TOverlay Overlay,
                   bool Enabled = true);
  virtual void DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex,
                           TOverlay Overlay, TDrawingStyle ADrawingStyle, TImageType AImageType,
                           bool Enabled = true);
  // Sizes Image to one image and draws it there.
  void GetBitmap(Integer Index, TBitmap* Image);

  // Replace the images with ones loaded by the platform's image-list
  // loader, cut Width wide (Width 0: as high as the image is); false when
  // the platform could not load them.
  bool FileLoad(TResType ResType, const String& Name, TColor MaskColor);
  bool GetResource(TResType ResType, const String& Name, Integer Width, TLoadResources LoadFlags,
                   TColor MaskColor);
  bool GetInstRes(HINSTANCE Instance, TResType ResType, const String& Name, Integer Width,
                  TLoadResources LoadFlags, TColor MaskColor);
  bool GetInstRes(HINSTANCE Instance, TResType ResType, DWORD ResID, Integer Width,
                  TLoadResources LoadFlags, TColor MaskColor);
  bool ResourceLoad(TResType ResType, const String& Name, TColor MaskColor);
  bool ResInstLoad(HINSTANCE Instance, TResType ResType, const String& Name, TColor MaskColor);

  // From another image list: its settings, size and images.
  void Assign(TPersistent* Source) override;

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  TNotifyEvent OnChange;

 protected:
  // The settings of a new list; called once, from AfterConstruction.
  virtual void Initialize();
  virtual void Change();
  // Where every drawing of an image arrives; Style is the platform's.
  virtual void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT Style,
                      bool Enabled = true);
  // The platform's own image-list data, "Bitmap", written when the list
  // has images.
  void DefineProperties(TFiler* Filer) override;
  // The platform's image-list stream, through its reader and writer.
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);
  static constexpr const wchar_t* NativeDataName = L"Bitmap";

 private:
  void FreeHandle();
  void InstallHandle(HIMAGELIST Value);
  void CheckIndex(Integer Index);
  bool InternalGetInstRes(HINSTANCE Instance, TResType ResType, const wchar_t* Name, Integer Width,
                          TLoadResources LoadFlags, TColor MaskColor);
  HIMAGELIST FHandle = nullptr;
  Integer FWidth = 16, FHeight = 16;
  Integer FAllocBy = 4;
  TColorDepth FColorDepth = cdDeviceDependent;
  bool FMasked = true;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  bool FShareImages = false;
  Integer FUpdateCount = 0;
  bool FChanged = false;
  std::vector<TChangeLink*> FClients;
};

class TImageList : public TCustomImageList {
  DECLARE_CLASS(TImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};

// Points Field at Value: the change link and Notify's free notification move
// from the old list to the new one. False when Field already was Value.
bool ReplaceImageList(TCustomImageList*& Field, TCustomImageList* Value, TChangeLink* Link,
                      TComponent* Notify);

void ImgList_Initialize();
