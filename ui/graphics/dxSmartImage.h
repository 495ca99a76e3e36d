// The library's picture class: a framework graphic that keeps the encoded
// file as it was given (or 32-bit pixels) and decodes it through an ordered
// registry of codecs only when pixels are needed; sizes come from file
// headers, a resize before decoding costs nothing, and an unchanged image
// saves the bytes it was given.
#pragma once

#ifndef RC_INVOKED
#include "Variants.h"
#include "dxCoreGraphics.h"
#endif

// String-table identifiers (dxSmartImage.rc).
#define IDS_sdxUnsupportedImageFormat 64820
#define IDS_sdxOperationNotSupported 64821
#define IDS_sdxCodecFailedToExport 64822

#ifndef RC_INVOKED

// The format of an image; also the identifier of a codec.
enum TdxImageDataFormat {
  dxImageUnknown,
  dxImageBitmap,
  dxImageJpeg,
  dxImagePng,
  dxImageTiff,
  dxImageGif,
  dxImageEmf,
  dxImageExif,
  dxImageIcon,
  dxImageMemoryBmp,
  dxImageWmf
};
inline constexpr Integer dxImageDataFormatCount = dxImageWmf + 1;

extern const TResStringRec sdxUnsupportedImageFormat, sdxOperationNotSupported,
    sdxCodecFailedToExport;

class TdxSmartImageCodec;
// Codecs are never instantiated: a codec is passed around as a reference to
// its one constant object, whose virtual operations play the part of
// class-level ones.
using TdxSmartImageCodecClass = const TdxSmartImageCodec*;
class TdxSmartImageCustomHandle;
class TdxCustomSmartImage;

// ---------------------------------------------------------------------------
// Optional capabilities of a decoded image.
struct IdxAnimatedImage : public IUnknown {
  virtual Integer STDMETHODCALLTYPE GetActiveFrame() = 0;
  virtual Integer STDMETHODCALLTYPE GetAnimationFrameCount() = 0;
  virtual Integer STDMETHODCALLTYPE GetAnimationFrameDelay() = 0;
  virtual Integer STDMETHODCALLTYPE GetAnimationLoopCount() = 0;
  virtual void STDMETHODCALLTYPE SetActiveFrame(Integer AValue) = 0;
};
__CRT_UUID_DECL(IdxAnimatedImage, 0x511C08FA, 0xED2A, 0x4998, 0x95, 0xBB, 0xCB, 0xAE, 0xD1, 0xD3,
                0x9B, 0xA9)
struct IdxImageDataFormat : public IUnknown {
  virtual TdxImageDataFormat STDMETHODCALLTYPE GetImageFormat() = 0;
};
__CRT_UUID_DECL(IdxImageDataFormat, 0x19993C97, 0xDF15, 0x4E67, 0xA2, 0x50, 0x77, 0xBA, 0xCB, 0xF5,
                0xDB, 0x64)
struct IdxImageDataFormatEx : public IUnknown {
  virtual TdxSmartImageCodecClass STDMETHODCALLTYPE GetImageCodec() = 0;
};
__CRT_UUID_DECL(IdxImageDataFormatEx, 0xF54CB0CE, 0xF15C, 0x4EE2, 0x93, 0x23, 0xF9, 0x5B, 0x65,
                0xBB, 0x97, 0x69)
// A marker of vector images.
struct IdxVectorImage : public IUnknown {};
__CRT_UUID_DECL(IdxVectorImage, 0xF7B61E70, 0xB4E6, 0x4A23, 0x86, 0x2B, 0x11, 0x75, 0x30, 0xE0,
                0x0E, 0xB2)

// ---------------------------------------------------------------------------
// An encoded file in memory.
class TdxSmartImageDataStream : public TMemoryStream {
  DECLARE_CLASS(TdxSmartImageDataStream, TMemoryStream)
 public:
  // A new stream of the same class with the same bytes at position 0; this
  // stream's position stays.
  TdxSmartImageDataStream* Clone();
  static TdxSmartImageDataStream* Clone(TdxSmartImageDataStream* ASource) {
    return ASource ? ASource->Clone() : nullptr;
  }
};

// What an image stores: the encoded file, or pixels (top row first) with
// their alpha convention, and the transparency settings of loaded bitmaps.
class TdxSmartImageData : public TObject {
  DECLARE_CLASS(TdxSmartImageData, TObject)
 public:
  TdxSmartImageData();
  ~TdxSmartImageData() override;

  // Drops pixels and stream and zeroes both sizes; transparency stays.
  void FreeImageData();
  void LoadFromBitmap(TBitmap* ABitmap);
  void LoadFromBits(Integer AWidth, Integer AHeight, const TRGBColors& ABits,
                    TAlphaFormat AAlphaFormat);
  // Copies from the stream's position to its end; nothing left: empty.
  void LoadFromStream(TStream* AStream);
  // Pixels, formats, sizes and a copy of the stream; not the transparency.
  void Assign(TdxSmartImageData* ASource);
  // For pixels of ignored alpha: the key colour transparent (when
  // transparency is on), the rest opaque; then premultiplied.
  void ApplyMask();
  bool GetIsEmpty() const { return !FData && FBits.empty(); }

  // The pixel array a decoded handle may read in place: it is not
  // reallocated while the image keeps it.
  TRGBColors& Bits() { return FBits; }
  TAlphaFormat BitsFormat() const { return FBitsFormat; }
  TdxSmartImageDataStream* Data() const { return FData.get(); }
  TSize Size() const { return FSize; }
  void SetSize(const TSize& AValue) { FSize = AValue; }
  TSize NewSize() const { return FNewSize; }
  void SetNewSize(const TSize& AValue) { FNewSize = AValue; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue) { FTransparent = AValue; }
  TColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(TColor AValue) { FTransparentColor = AValue; }
  TTransparentMode TransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode AValue) { FTransparentMode = AValue; }

 private:
  bool FTransparent = false;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = TTransparentMode::tmAuto;
  TRGBColors FBits;
  TAlphaFormat FBitsFormat = TAlphaFormat::afIgnored;
  TOwned<TdxSmartImageDataStream> FData;
  TSize FNewSize{0, 0};
  TSize FSize{0, 0};
};

// ---------------------------------------------------------------------------
// A decoded image. Owned by its image; answers interface queries without
// reference counting.
class TdxSmartImageCustomHandle : public TInterfacedPersistent {
  DECLARE_CLASS(TdxSmartImageCustomHandle, TInterfacedPersistent)
 public:
  virtual TSize GetSize() = 0;
  virtual void SetSize(const TSize&) {}
  virtual bool Empty();
  virtual TdxAlphaState GetAlphaState();
  // A new framework bitmap of the handle's size with the whole handle drawn
  // into it; the caller owns it.
  virtual TBitmap* GetAsBitmap();
  // The pixels of GetAsBitmap, top row first.
  virtual TRGBColors GetAsBitmapBits();
  // Coordinates truncated toward zero, then the integer form.
  virtual void Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, Byte AAlpha,
                    IdxColorPalette* APalette);
  virtual void Draw(HDC DC, const TRect& ADest, const TRect& ASource, Byte AAlpha,
                    IdxColorPalette* APalette) = 0;

  TSize Size() { return GetSize(); }
  Integer Width() { return GetSize().cx; }
  Integer Height() { return GetSize().cy; }
  TRect ClientRect() { return TRect{0, 0, Width(), Height()}; }
};

// The handle of an image that holds nothing.
class TdxSmartImageEmptyHandle : public TdxSmartImageCustomHandle {
  DECLARE_CLASS(TdxSmartImageEmptyHandle, TdxSmartImageCustomHandle)
 public:
  TSize GetSize() override { return TSize{0, 0}; }
  using TdxSmartImageCustomHandle::Draw;
  void Draw(HDC, const TRect&, const TRect&, Byte, IdxColorPalette*) override {}
};

// ---------------------------------------------------------------------------
// Codecs

class TdxSmartImageCodec {
 public:
  constexpr TdxSmartImageCodec() = default;
  TdxSmartImageCodec(const TdxSmartImageCodec&) = delete;
  TdxSmartImageCodec& operator=(const TdxSmartImageCodec&) = delete;
  static TdxSmartImageCodecClass Class();

  // The codec's class name, for messages.
  virtual const wchar_t* ClassName() const { return L"TdxSmartImageCodec"; }
  virtual TdxImageDataFormat ID() const { return dxImageUnknown; }
  // For file dialogs: "PNG graphics from ..." built from Ext.
  virtual String Description() const;
  // With its dot; empty in the base.
  virtual String Ext() const { return String(); }
  // The image size from the header at the stream's position.
  virtual bool GetSize(TStream* AStream, TSize& ASize) const { return false; }
  virtual bool CanLoadFromBits() const { return false; }
  // Whether the stream at its position holds this codec's format; the
  // position stays.
  virtual bool CanLoadStream(TStream* AStream) const { return false; }
  virtual bool CanSaveImage(TdxSmartImageCustomHandle* AHandle) const { return false; }
  // A handle over ABits, which must outlive it (the image's storage).
  virtual bool Load(TRGBColors& ABits, TAlphaFormat AAlphaFormat, Integer AWidth, Integer AHeight,
                    TdxSmartImageCustomHandle*& AHandle) const {
    return false;
  }
  virtual bool Load(TStream* AStream, TdxSmartImageCustomHandle*& AHandle) const { return false; }
  virtual bool Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const { return false; }
};

// The ordered list of codec classes that images consult.
class TdxSmartImageCodecsRepository {
 public:
  TdxSmartImageCodecsRepository() = delete;
  // Appends (twice registered, twice listed).
  static void Register(TdxSmartImageCodecClass ACodec);
  // Removes the first occurrence.
  static void Unregister(TdxSmartImageCodecClass ACodec);
  static bool Contains(TdxSmartImageCodecClass ACodec);
  static Integer GetCount();
  static TdxSmartImageCodecClass GetItem(Integer Index);

  static TdxSmartImageCodecClass GetFormatByID(TdxImageDataFormat ID);
  // The extension with its dot, letter case ignored.
  static TdxSmartImageCodecClass GetFormatByExt(const String& Ext);
  static TdxSmartImageCodecClass GetFormatFromStream(TStream* AStream);
  // The first codec whose header reader succeeds; the position goes back
  // before each next try.
  static bool GetImageInfo(TStream* AStream, TSize& ASize, TdxSmartImageCodecClass& ACodec);
  static bool GetImageInfo(const String& AFileName, TSize& ASize, TdxSmartImageCodecClass& ACodec);
  static bool GetImageInfo(TdxSmartImageData* AImageData, TSize& ASize,
                           TdxSmartImageCodecClass& ACodec);
  static bool Load(TRGBColors& ABits, TAlphaFormat AAlphaFormat, Integer AWidth, Integer AHeight,
                   TdxSmartImageCustomHandle*& AHandle);
  static bool Load(TStream* AStream, TdxSmartImageCustomHandle*& AHandle);
  static bool Load(TdxSmartImageData* AImageData, TdxSmartImageCustomHandle*& AHandle);
};

// The clipboard format of each image format, 0 where none; filled when the
// formats are registered.
extern Word ImageClipboardFormats[dxImageDataFormatCount];

// ---------------------------------------------------------------------------
// Plays an image's frames. This base never fires: a module that owns a
// timer installs its own class (SetImageAnimationControllerClass), whose
// timer calls TimerHandler with the image's frame delay.
class TdxSmartImageAnimationController : public TObject {
  DECLARE_CLASS(TdxSmartImageAnimationController, TObject)
 public:
  using TOwnerType = TdxCustomSmartImage;
  explicit TdxSmartImageAnimationController(TdxCustomSmartImage* AImage) : FImage(AImage) {}

  virtual void ActivateTimer() {}
  virtual void DeactivateTimer() {}
  virtual bool IsTimerActive() { return false; }
  // One step: the image's next frame. When the frame stays (the last frame
  // of a finished loop), the image's animation ends, which frees this
  // controller: nothing of it is touched after that. An error raised by the
  // step ends the animation the same way and is passed on.
  virtual void TimerHandler(TObject* Sender);

  void StartAnimation() { ActivateTimer(); }
  void StopAnimation() { DeactivateTimer(); }
  // The image has frames to play and the timer runs.
  bool GetActive();
  TdxCustomSmartImage* Image() const { return FImage; }

 protected:
  TdxCustomSmartImage* FImage;
};

// The controller class new animations are made of; nullptr puts the base
// class back.
TClass ImageAnimationControllerClass();
void SetImageAnimationControllerClass(TClass AClass);

// ---------------------------------------------------------------------------
class TdxSmartImageHelper {
 public:
  TdxSmartImageHelper() = delete;
  static TRGBColors AllocColors(Integer AWidth, Integer AHeight, TdxAlphaColor AColor);
  // Every colour byte at most its alpha.
  static bool AreColorsPremultiplied(const TRGBColors& ABits);
  // Some alpha not 0, or every pixel transparent black (and at least one).
  static bool HasAlpha(const TRGBColors& ABits);
};

// ---------------------------------------------------------------------------
class TdxCustomSmartImage : public TGraphic {
  DECLARE_CLASS(TdxCustomSmartImage, TGraphic)
 public:
  TdxCustomSmartImage();
  ~TdxCustomSmartImage() override;

  // Named constructors (none of them signals a change).
  template <class T = TdxCustomSmartImage>
  static T* CreateSize(Integer AWidth, Integer AHeight, TdxAlphaColor AColor = dxacNone) {
    T* R = Create<T>();
    static_cast<TdxCustomSmartImage*>(R)->InitSize(AWidth, AHeight, AColor);
    return R;
  }
  template <class T = TdxCustomSmartImage>
  static T* CreateSize(const TRect& ARect, TdxAlphaColor AColor = dxacNone) {
    return CreateSize<T>(ARect.right - ARect.left, ARect.bottom - ARect.top, AColor);
  }
  template <class T = TdxCustomSmartImage>
  static T* CreateSize(const TSize& ASize, TdxAlphaColor AColor = dxacNone) {
    return CreateSize<T>(ASize.cx, ASize.cy, AColor);
  }
  template <class T = TdxCustomSmartImage>
  static T* CreateFromBitmap(TBitmap* ABitmap) {
    TOwned<T> R(Create<T>());
    R->CreateHandleFromBitmap(ABitmap);
    return R.release();
  }
  // The caller keeps the bitmap handle.
  template <class T = TdxCustomSmartImage>
  static T* CreateFromHBitmap(HBITMAP ABitmap) {
    TOwned<T> R(Create<T>());
    R->InitFromHBitmap(ABitmap);
    return R.release();
  }
  // AHasAlphaChannel: premultiplied pixels; otherwise ignored alpha.
  template <class T = TdxCustomSmartImage>
  static T* CreateFromBits(Integer AWidth, Integer AHeight, const TRGBColors& ABits,
                           bool AHasAlphaChannel) {
    return CreateFromBits<T>(
        AWidth, AHeight, ABits,
        AHasAlphaChannel ? TAlphaFormat::afPremultiplied : TAlphaFormat::afIgnored);
  }
  template <class T = TdxCustomSmartImage>
  static T* CreateFromBits(Integer AWidth, Integer AHeight, const TRGBColors& ABits,
                           TAlphaFormat AAlphaFormat) {
    TOwned<T> R(Create<T>());
    R->CreateHandleFromBits(AWidth, AHeight, ABits, AAlphaFormat);
    return R.release();
  }
  template <class T = TdxCustomSmartImage>
  static T* CreateFromStream(TStream* AStream) {
    TOwned<T> R(Create<T>());
    R->LoadStreamCore(AStream);
    return R.release();
  }

  // Loading
  void LoadFromStream(TStream* AStream) override;
  void LoadFromBits(Integer AWidth, Integer AHeight, const TRGBColors& ABits,
                    bool AHasAlphaChannel);
  void LoadFromBits(Integer AWidth, Integer AHeight, const TRGBColors& ABits,
                    TAlphaFormat AAlphaFormat);
  virtual void SetBitmap(TBitmap* ABitmap);

  // Saving
  void SaveToStream(TStream* AStream) override;
  void SaveToStreamByCodec(TStream* AStream, TdxSmartImageCodecClass ACodec);
  void SaveToStreamByCodec(TStream* AStream, TdxImageDataFormat AFormat);
  // Encodes by the codec of the file's extension (else as SaveToStream)
  // into memory first: a failed export leaves an existing file as it was.
  void SaveToFile(const String& AFileName) override;
  // A new stream (the caller's) holding the image encoded by ACodec.
  TMemoryStream* ExportToStream(TdxSmartImageCodecClass ACodec);

  // Querying
  TSize GetSize();
  TSize Size() { return GetSize(); }
  bool Empty() const override;
  Integer Width() const override;
  Integer Height() const override;
  TRect ClientRect() { return TRect{0, 0, Width(), Height()}; }
  // The sizes change only through Resize and Scale.
  void SetWidth(Integer) override {}
  void SetHeight(Integer) override {}
  void SetSize(Integer, Integer) override {}
  bool Transparent() const override;
  bool IsAlphaUsed() { return GetAlphaState() != asOpaque; }
  TdxAlphaState GetAlphaState();
  TdxImageDataFormat ImageDataFormat();
  void SetImageDataFormat(TdxImageDataFormat AValue);
  TdxSmartImageCodecClass ImageCodec();
  void SetImageCodec(TdxSmartImageCodecClass AValue);
  bool HandleAllocated() const { return FHandle != nullptr; }
  // Decodes when needed; raises "Unsupported image format." when no codec
  // can.
  TdxSmartImageCustomHandle* GetHandle();
  virtual TBitmap* GetAsBitmap();
  TRGBColors GetBitmapBits();
  bool Equals(TGraphic* AGraphic) override;
  virtual bool Compare(TdxCustomSmartImage* AImage);
  Cardinal GetHashCode();
  TdxSmartImageData* ImageData() const { return FImageData.get(); }

  // Changing
  virtual void Clear();
  virtual void Resize(Integer AWidth, Integer AHeight);
  void Resize(const TSize& ASize) { Resize(ASize.cx, ASize.cy); }
  void Scale(Integer M, Integer D);
  virtual void ChangeColor(TColor AColor);
  // The image takes AHandle over.
  void SetHandle(TdxSmartImageCustomHandle* AHandle);
  void ConvertToBitmap();
  void Dormant();

  // Assigning: nil clears; another smart image, framework graphic or the
  // clipboard (pasting) are taken; anything else raises the framework's
  // assignment error.
  void Assign(TPersistent* ASource) override;
  virtual void AssignFromSmartImage(TdxCustomSmartImage* AImage);
  // A bitmap keeps its pixels; a metafile its file (decoded on demand); an
  // icon goes through a bitmap; any other graphic is drawn onto a 24-bit
  // bitmap of its size.
  virtual void AssignFromGraphic(TGraphic* AGraphic);
  // False when the clipboard holds none of the image formats.
  virtual bool AssignFromClipboard();
  // A new image of the same class, assigned from this one.
  TdxCustomSmartImage* Clone();

  // A bitmap resource is stored as pixels; any other resource type is read
  // as an image file.
  void LoadFromResource(HINSTANCE AInstance, const String& AResName, const wchar_t* AResType);
  // A database blob (a byte array, or a string whose bytes are the file):
  // the 8-byte header of a graphic field, when present, is skipped. Fewer
  // than 8 bytes leave the image as it was.
  void LoadFromFieldValue(const Variant& AValue);

  // Clipboard. Pasting takes the first of PNG, GIF, TIFF, JPEG and bitmap
  // that the clipboard holds.
  void LoadFromClipboardFormat(Word AFormat, HANDLE AData, HPALETTE APalette) override;
  // The image drawn on white as CF_BITMAP; an image stored as PNG, GIF,
  // TIFF or JPEG puts that bitmap on the open clipboard at once and returns
  // its own file under its format instead.
  void SaveToClipboardFormat(Word& AFormat, HANDLE& AData, HPALETTE& APalette) override;
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  static bool HasClipboardFormat();
  static bool IsSupportClipboardFormat(Word AFormat);

  // Animation through the decoded handle: one frame, no loop, frame 0 when
  // the image is not animated.
  Integer ActiveFrame();
  void SetActiveFrame(Integer AValue);
  Integer AnimationFrameCount();
  Integer AnimationFrameDelay();
  void SetAnimationFrameDelay(Integer AValue);
  Integer AnimationLoopCount();
  TdxDefaultBoolean AnimationLoop() const { return FAnimationLoop; }
  void SetAnimationLoop(TdxDefaultBoolean AValue) { FAnimationLoop = AValue; }
  Integer AnimationLoopIndex() const { return FAnimationLoopIndex; }
  // Playing: a controller of ImageAnimationControllerClass runs the frames.
  // Switching on does nothing for an image that is not animated or whose
  // frames are the pages of a TIFF.
  bool Animation();
  void SetAnimation(bool AValue);
  void StartAnimation();
  // Frees the controller.
  void StopAnimation();

  // Drawing; AAlpha multiplies the image's own alpha; APalette may be nil.
  void StretchDraw(HDC DC, const TRect& ADest, Byte AAlpha = 255,
                   IdxColorPalette* APalette = nullptr);
  void StretchDraw(HDC DC, const TRect& ADest, const TRect& ASource, Byte AAlpha = 255,
                   IdxColorPalette* APalette = nullptr);
  void StretchDraw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, Byte AAlpha = 255,
                   IdxColorPalette* APalette = nullptr);

  // The image's own interfaces first, then the decoded handle's.
  bool GetInterface(const IID& AIID, void** AObj) override;

 protected:
  void Draw(TCanvas* ACanvas, const TRect& ARect) override;
  void Changed(TObject* Sender) override;
  // A smart image, metafile or bitmap receives this image.
  void AssignTo(TPersistent* ADest) override;
  // Through the metafile codec of the metafile's kind: only an image whose
  // stored file is of that kind can be exported (the codecs cannot encode).
  virtual void AssignToMetaFile(TMetafile* ADest);
  virtual bool CanCreateCache(const TSize& AImageSize, const TSize& ADestSize);
  virtual TdxSmartImageCustomHandle* CreateCache(const TSize& ASize) { return nullptr; }
  virtual bool IsBitmapStream(TStream* AStream);
  virtual void CreateHandleFromBitmap(TBitmap* ABitmap);
  void CreateHandleFromBits(Integer AWidth, Integer AHeight, const TRGBColors& ABits,
                            TAlphaFormat AAlphaFormat);
  // Frees the handle and the storage.
  virtual void FreeHandle();
  // Frees only the decoded handle (the storage stays).
  void FreeDecodedHandle();
  // Stores a stream without signalling a change.
  void LoadStreamCore(TStream* AStream);
  bool ObjectGetInterface(const IID& AIID, void** AObj) {
    return TGraphic::GetInterface(AIID, AObj);
  }

  // Whether drawing goes through a pre-scaled copy; nothing here switches
  // it on.
  bool FUseCache = false;

 private:
  void InitSize(Integer AWidth, Integer AHeight, TdxAlphaColor AColor);
  void InitFromHBitmap(HBITMAP ABitmap);
  void FreeCache();
  TdxSmartImageCustomHandle* PrepareCache(const TSize& ADestSize, IdxColorPalette* APalette);
  void ExportInto(TStream* AStream, TdxSmartImageCodecClass ACodec);

  TOwned<TdxSmartImageAnimationController> FAnimationController;
  TOwned<TdxSmartImageData> FImageData;
  TOwned<TdxSmartImageCustomHandle> FHandle;
  TOwned<TdxSmartImageCustomHandle> FCache;
  TGUID FCachePaletteID{};
  TdxAlphaState FAlphaState = asNoAlpha;
  bool FAlphaStateAssigned = false;
  Integer FAnimationFrameDelay = 0;
  TdxDefaultBoolean FAnimationLoop = bTrue;
  Integer FAnimationLoopIndex = 0;
};

void dxSmartImage_Initialize();
void dxSmartImage_Finalize();

#endif
