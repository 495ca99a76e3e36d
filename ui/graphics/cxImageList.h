// The library's image list. Every image is kept twice: as a cell of the
// platform's image list, which plain drawing and the platform use, and as
// the entry it was given (a bitmap, a library bitmap or a smart image, with
// its mask and mask colour), which drawing with alpha, scaling, recolouring
// and lossless storage in form resources use. Every edit updates both
// sides; two synchronisation steps rebuild one side from the other.
#pragma once

// String-table identifiers (cxImageList.rc).
#define IDS_sdxInvalidGraphicClass 64830
#define IDS_sdxGraphicCannotBeResized 64831

#ifndef RC_INVOKED
#include "ImgList.h"
#include "cxGraphics.h"
#include "dxDPIAwareUtils.h"
#include "dxSmartImage.h"

extern const TResStringRec sdxInvalidGraphicClass, sdxGraphicCannotBeResized;

class TcxCustomImageList;

// ---------------------------------------------------------------------------
// One entry: the image as it was given, with its mask and mask colour.
class TcxImageInfo : public TPersistent {
  DECLARE_CLASS(TcxImageInfo, TPersistent)
 public:
  TcxImageInfo();
  ~TcxImageInfo() override;
  // From another entry: its image, mask and mask colour.
  void Assign(TPersistent* Source) override;

  TGraphic* Image() const { return FImage.get(); }
  // The image takes Value's class (when Value is given) and contents; nil
  // empties it.
  void SetImage(TGraphic* Value);
  TClass ImageClass() const { return FImage ? FImage->ClassType() : nullptr; }
  // A new, empty image of AValue (a graphic class) replaces the image.
  void SetImageClass(TClass AValue);
  // "BMP" for a platform bitmap, the codec's extension for a smart image
  // ("PNG", "SVG"), "IMG" for anything else.
  String ImageType();
  TdxDefaultBoolean IsAlphaUsedState() const { return FIsAlphaUsed; }
  bool IsAlphaUsed();
  TcxBitmap* Mask() const { return FMask.get(); }
  void SetMask(TBitmap* Value);
  TColor MaskColor() const { return FMaskColor; }
  void SetMaskColor(TColor Value) { FMaskColor = Value; }
  // The mask read back from the platform's list the first time it is
  // needed for an entry without a mask of its own.
  TcxBitmap* InternalMask() const { return FInternalMask.get(); }
  void FlushMask();
  // A mask colour, or a mask bitmap.
  bool HasMask() const;
  // The image is a platform bitmap (the library's bitmaps included).
  bool HasNativeHandle() const;
  // Bakes the mask or mask colour into the alpha of a 32-bit platform
  // bitmap and drops it; an entry without mask only drops it.
  void ConvertTo32Bit();
  void Resize(const TSize& ASize);
  // Releases the GDI handles the entry does not need while unused.
  void Dormant();

 private:
  TOwned<TGraphic> FImage;
  TdxDefaultBoolean FIsAlphaUsed = bDefault;
  TOwned<TcxBitmap> FMask;
  TColor FMaskColor = clNone;
  TOwned<TcxBitmap> FInternalMask;
};

// An entry as the list's collection streams it: ImageClass (only when the
// image is not a library bitmap), Image, Mask and MaskColor, in this order.
class TcxImageInfoItem : public TCollectionItem {
  DECLARE_CLASS(TcxImageInfoItem, TCollectionItem)
 public:
  using TOwnerType = TCollection;
  explicit TcxImageInfoItem(TCollection* ACollection);
  ~TcxImageInfoItem() override;
  void AfterConstruction() override;
  void Assign(TPersistent* Source) override;

  TcxImageInfo* ImageInfo() const { return FImageInfo.get(); }
  String ImageClass() const;
  // Raises EdxException when AValue names no registered graphic class.
  void SetImageClass(const String& AValue);
  bool IsImageClassStored() const;
  TGraphic* Image() const { return FImageInfo->Image(); }
  void SetImage(TGraphic* AValue) { FImageInfo->SetImage(AValue); }
  TBitmap* Mask() const { return FImageInfo->Mask(); }
  void SetMask(TBitmap* AValue) { FImageInfo->SetMask(AValue); }
  TColor MaskColor() const { return FImageInfo->MaskColor(); }
  void SetMaskColor(TColor AValue) { FImageInfo->SetMaskColor(AValue); }
  // Whether the mask and a library-bitmap image write compressed data.
  bool CompressData() const;
  void SetCompressData(bool AValue);

 private:
  TOwned<TcxImageInfo> FImageInfo;
};

class TcxImageInfoCollection : public TCollection {
  DECLARE_CLASS(TcxImageInfoCollection, TCollection)
 public:
  explicit TcxImageInfoCollection(TcxCustomImageList* AImageList);
  TcxImageInfoItem* Add(TGraphic* AImage, TBitmap* AMask, TColor AMaskColor);
  TcxImageInfoItem* Items(Integer AIndex) const;
  void Move(Integer ACurrentIndex, Integer ANewIndex);
  // -1 deletes every entry.
  void Delete(Integer AIndex);
  bool CompressData() const { return FCompressData; }
  void SetCompressData(bool AValue);
  // Entries whose image is a vector image.
  Integer VectorImageCount() const;
  TcxCustomImageList* ImageList() const { return FImageList; }

 protected:
  TPersistent* GetOwner() override;

 private:
  TcxCustomImageList* FImageList;
  bool FCompressData = false;
};

// Routines over the graphics an entry may hold.
class TcxImageInfoHelper {
 public:
  TcxImageInfoHelper() = delete;
  static void CopyRect(TBitmap* ADest, const TRect& ADestRect, TGraphic* ASource);
  // A platform bitmap through the canvases, a smart image by its own
  // drawing; other graphics are not copied.
  static void CopyRect(TBitmap* ADest, const TRect& ADestRect, const TRect& ASourceRect,
                       TGraphic* ASource);
  static void Dormant(TGraphic* AGraphic);
  // The bottom-left pixel of a bitmap without mask or alpha; else clNone.
  static TColor GetDefaultTransparentColor(TGraphic* AImage, TBitmap* AMask);
  static TColor GetPixel(TGraphic* AGraphic, Integer X, Integer Y);
  static TPixelFormat GetPixelFormat(TGraphic* AGraphic);
  static bool IsAlphaUsed(TGraphic* AGraphic);
  // Raises the general exception, naming the graphic's class, for a
  // graphic that is neither a platform bitmap nor a smart image.
  static void Resize(TGraphic* AGraphic, const TSize& ASize);
};

// ---------------------------------------------------------------------------
// The base of the library's image lists: the DPI the images were made for.
class TcxBaseImageList : public TCustomImageList, public IdxSourceDPI {
  DECLARE_CLASS(TcxBaseImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  Integer STDMETHODCALLTYPE GetSourceDPI() override { return FSourceDPI; }

  Integer SourceDPI() const { return FSourceDPI; }
  virtual void SetSourceDPI(Integer AValue);

 protected:
  Integer FSourceDPI = dxDefaultDPI;
};

class TcxCustomImageList : public TcxBaseImageList {
  DECLARE_CLASS(TcxCustomImageList, TcxBaseImageList)
 public:
  using TcxBaseImageList::TcxBaseImageList;
  ~TcxCustomImageList() override;
  // The stream format version written into form resources.
  static constexpr Word DXILVersion = 1;

  // Size. Values below 1 become 1; a new size deletes every image.
  void SetSize(Integer AWidth, Integer AHeight) override;
  void SetSize(const TSize& ASize) { SetSize(ASize.cx, ASize.cy); }
  void SetSourceDPI(Integer AValue) override;
  bool AlphaBlending() const { return FAlphaBlending; }
  void SetAlphaBlending(bool AValue) { FAlphaBlending = AValue; }
  Integer FormatVersion() const { return FFormatVersion; }
  bool CompressData() const;
  void SetCompressData(bool AValue);
  TNotifyEvent GetOnChange() const { return OnChange; }
  void SetOnChange(TNotifyEvent AValue) { OnChange = AValue; }

  // Updates: the change is told once, when the outermost update ends.
  void BeginUpdate() { ++FLockCount; }
  void CancelUpdate() { --FLockCount; }
  void EndUpdate();
  bool ChangeLocked() const { return FLockCount > 0; }

  // Adding; each returns the index of the first image added, or -1.
  Integer Add(TGraphic* AImage, TBitmap* AMask);
  Integer Add(TGraphic* AImage) { return Add(AImage, nullptr); }
  Integer AddMasked(TGraphic* AImage, TColor AMaskColor);
  Integer AddIcon(TIcon* AIcon);
  // Fits the image (and mask) to the cell size first: stretched, or
  // centred on AMaskColor.
  Integer AddBitmap(TBitmap* AImage, TBitmap* AMask, TColor AMaskColor, bool AStretch,
                    bool ASmooth);
  Integer AddImage(TCustomImageList* AImages, Integer AIndex);
  void AddImages(TCustomImageList* AImages);
  // AEndIndex below 0 means the last image.
  void CopyImages(TCustomImageList* AImages, Integer AStartIndex = 0, Integer AEndIndex = -1);
  // From another image list; anything else is ignored.
  void Assign(TPersistent* Source) override;
  // Copies Value's images in and destroys Value.
  void SetHandle(HIMAGELIST Value) override;

  // Editing; an index out of 0..Count makes Insert do nothing.
  void Insert(Integer AIndex, TGraphic* AImage, TBitmap* AMask);
  void InsertMasked(Integer AIndex, TGraphic* AImage, TColor AMaskColor);
  void InsertIcon(Integer AIndex, TIcon* AIcon);
  void Move(Integer ACurIndex, Integer ANewIndex);
  void Delete(Integer AIndex);
  void Clear() { Delete(-1); }
  void Replace(Integer AIndex, TGraphic* AImage, TBitmap* AMask);
  void ReplaceMasked(Integer AIndex, TGraphic* AImage, TColor AMaskColor);
  void ReplaceIcon(Integer AIndex, TIcon* AIcon);

  // Loading through the platform's loaders; the entries follow.
  bool FileLoad(TResType AResType, const String& AName, TColor AMaskColor);
  bool GetResource(TResType AResType, const String& AName, Integer AWidth,
                   TLoadResources ALoadFlags, TColor AMaskColor);
  bool GetInstRes(HINSTANCE AInstance, TResType AResType, const String& AName, Integer AWidth,
                  TLoadResources ALoadFlags, TColor AMaskColor);
  bool GetInstRes(HINSTANCE AInstance, TResType AResType, DWORD AResID, Integer AWidth,
                  TLoadResources ALoadFlags, TColor AMaskColor);
  bool ResourceLoad(TResType AResType, const String& AName, TColor AMaskColor);
  bool ResInstLoad(HINSTANCE AInstance, TResType AResType, const String& AName, TColor AMaskColor);
  // Adds the images the platform's loader cuts from a bitmap resource.
  bool LoadImage(HINSTANCE AInstance, const String& AResourceName, TColor AMaskColor,
                 Integer AWidth, TLoadResources AFlags);

  // Reading images back. AIsAlphaUsed is in and out: only bDefault asks
  // for the entry's alpha use.
  void GetImageInfoCore(Integer AIndex, TBitmap* AImage, TBitmap* AMask, IdxColorPalette* APalette,
                        TdxDefaultBoolean& AIsAlphaUsed);
  void GetImageInfo(Integer AIndex, TBitmap* AImage, TBitmap* AMask,
                    IdxColorPalette* APalette = nullptr);
  void GetImage(Integer AIndex, TBitmap* AImage);
  void GetImage(Integer AIndex, TdxCustomSmartImage* AImage);
  void GetMask(Integer AIndex, TBitmap* AMask);
  // Any image list: a library list's entries, another list's cells.
  static void GetImageInfoCore(TCustomImageList* AImages, Integer AIndex, TBitmap* AImage,
                               TBitmap* AMask, IdxColorPalette* APalette,
                               TdxDefaultBoolean& AIsAlphaUsed);
  static void GetImageInfo(TCustomImageList* AImages, Integer AIndex, TBitmap* AImage,
                           TBitmap* AMask, IdxColorPalette* APalette = nullptr);
  // A cell of a platform list (-1: the whole image and mask bitmaps). The
  // list's own bitmaps are only read, never released.
  static void GetImageInfo(HIMAGELIST AHandle, Integer AIndex, TBitmap* AImage, TBitmap* AMask);
  // Bits per pixel of the platform list's images; 0 for an empty list.
  static Integer GetPixelFormat(HIMAGELIST AHandle);
  // Same count and the same platform image-list data.
  static bool IsEquals(TCustomImageList* AImages1, TCustomImageList* AImages2);

  // Drawing.
  void Draw(TCanvas* ACanvas, const TRect& ARect, Integer AIndex, bool AStretch = true,
            bool ASmoothResize = false, bool AEnabled = true);
  using TCustomImageList::Draw;
  using TCustomImageList::DrawOverlay;
  void DrawOverlay(TCanvas* Canvas, Integer X, Integer Y, Integer ImageIndex, TOverlay Overlay,
                   TDrawingStyle ADrawingStyle, TImageType AImageType,
                   bool Enabled = true) override;
  virtual void DoDrawEx(Integer AIndex, TCanvas* ACanvas, const TRect& ARect, UINT AStyle,
                        bool AStretch, bool ASmoothResize, bool AEnabled);

  // Entries.
  TcxImageInfo* GetImageInfo(Integer AIndex);
  TcxImageInfoCollection* Images() const { return FImages.get(); }
  bool CanSplitImage(TGraphic* AImage);
  Integer GetImageCount(TGraphic* AImage, Integer AWidth, Integer AHeight);
  void AddToInternalCollection(TGraphic* AImage, TBitmap* AMask, TColor AMaskColor);
  void DormantImage(Integer AIndex);
  static void CheckImageSize(TBitmap* AImage, Integer AWidth, Integer AHeight);
  // Rebuild one side from the other.
  void SynchronizeImageInfo();
  void SynchronizeHandle();
  bool IsSynchronizationLocked() const { return FSynchronizationLockCount > 0; }

 protected:
  void Initialize() override;
  void Change() override;
  void DoDraw(Integer Index, TCanvas* Canvas, Integer X, Integer Y, UINT Style,
              bool Enabled = true) override;
  // "FormatVersion", the platform's data (read always; written when more
  // than a third of the images are vector images), "DesignInfo" and
  // "ImageInfo" (the entries).
  void DefineProperties(TFiler* Filer) override;

 private:
  Integer AddImageInfo(TcxImageInfo* AImageInfo);
  void ReadFormatVersion(TReader* AReader);
  void WriteFormatVersion(TWriter* AWriter);
  void ReadDesignInfo(TReader* AReader);
  void WriteDesignInfo(TWriter* AWriter);
  void ReadImageInfo(TReader* AReader);
  void WriteImageInfo(TWriter* AWriter);
  void ReadNativeData(TStream* AStream);
  void WriteNativeData(TStream* AStream);
  bool IsLoadingOrDestroying() const;
  void ReadNativeCell(Integer AIndex, TBitmap* AImage, TBitmap* AMask);

  TOwned<TcxImageInfoCollection> FImages;
  bool FAlphaBlending = true;
  Integer FFormatVersion = 0;
  Integer FLockCount = 0;
  Integer FSynchronizationLockCount = 0;
};

// The published image list.
class TcxImageList : public TcxCustomImageList {
  DECLARE_CLASS(TcxImageList, TcxCustomImageList)
 public:
  using TcxCustomImageList::TcxCustomImageList;
};

// Registers the list for form resources and the module's texts.
void cxImageList_Initialize();
void cxImageList_Finalize();

#endif
