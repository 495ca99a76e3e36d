// The GDI+ image handle, image attributes, the GDI+ smart images and the
// glyph.
#include <algorithm>
#include <cstring>

#include "dxGDIPlusClasses.h"

namespace {
Integer PixelFormatMap(TAlphaFormat AFormat) {
  switch (AFormat) {
    case TAlphaFormat::afIgnored:
      return PixelFormat32bppRGB;
    case TAlphaFormat::afDefined:
      return PixelFormat32bppARGB;
    default:
      return PixelFormat32bppPARGB;
  }
}

// PropertyTagFrameDelay ($5100) and PropertyTagLoopCount ($5101) come from
// the platform header.
constexpr Integer DefaultFrameDelay = 75;

// Ends a paint of the shared paint canvas on every path.
class TSharedPaint {
 public:
  TSharedPaint(HDC DC, const TRect& R) : FCanvas(dxGPPaintCanvas()) { FCanvas->BeginPaint(DC, R); }
  explicit TSharedPaint(GpGraphics* AGraphics) : FCanvas(dxGPPaintCanvas()) {
    FCanvas->BeginPaint(AGraphics);
  }
  ~TSharedPaint() { FCanvas->EndPaint(); }
  TSharedPaint(const TSharedPaint&) = delete;
  TSharedPaint& operator=(const TSharedPaint&) = delete;
  TdxGPPaintCanvas* Canvas() const { return FCanvas; }

 private:
  TdxGPPaintCanvas* FCanvas;
};

// A new bitmap disposed of unless installed.
class TNewBitmap {
 public:
  explicit TNewBitmap(const TSize& ASize) : FBitmap(dxGpCreateBitmap(ASize)) {}
  ~TNewBitmap() {
    if (FBitmap) GdipDisposeImage(FBitmap);
  }
  TNewBitmap(const TNewBitmap&) = delete;
  TNewBitmap& operator=(const TNewBitmap&) = delete;
  GpBitmap* Get() const { return FBitmap; }
  GpBitmap* Release() {
    GpBitmap* B = FBitmap;
    FBitmap = nullptr;
    return B;
  }

 private:
  GpBitmap* FBitmap;
};

// A graphics on an image, deleted with the scope.
class TImageGraphics {
 public:
  explicit TImageGraphics(GpImage* AImage) {
    GdipCheck(GdipGetImageGraphicsContext(AImage, &FGraphics));
  }
  ~TImageGraphics() {
    if (FGraphics) GdipDeleteGraphics(FGraphics);
  }
  TImageGraphics(const TImageGraphics&) = delete;
  TImageGraphics& operator=(const TImageGraphics&) = delete;
  GpGraphics* Get() const { return FGraphics; }

 private:
  GpGraphics* FGraphics = nullptr;
};

TRect RoundRect(const TdxRectF& R) {
  auto N = [](Single V) { return static_cast<LONG>(std::nearbyint(V)); };
  return TRect{N(R.Left), N(R.Top), N(R.Right), N(R.Bottom)};
}
}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TdxGPImageHandle)

TdxGPImageHandle::TdxGPImageHandle(GpImage* AHandle)
    : FHandle(AHandle), FImageFormat(dxGetImageDataFormat(AHandle)) {}

TdxGPImageHandle* TdxGPImageHandle::CreateFromBits(Integer AWidth, Integer AHeight,
                                                   TRGBColors& ABits, TAlphaFormat AAlphaFormat) {
  GpBitmap* Bitmap = nullptr;
  GdipCheck(GdipCreateBitmapFromScan0(AWidth, AHeight, AWidth * 4, PixelFormatMap(AAlphaFormat),
                                      reinterpret_cast<BYTE*>(ABits.data()), &Bitmap));
  return Create<TdxGPImageHandle>(Bitmap);
}

TdxGPImageHandle::~TdxGPImageHandle() {
  if (FHandle) GdipDisposeImage(FHandle);
}

TdxGPImageHandle* TdxGPImageHandle::Clone() {
  GpImage* Copy = nullptr;
  GdipCheck(GdipCloneImage(FHandle, &Copy));
  return Create<TdxGPImageHandle>(Copy);
}

TdxGPCanvas* TdxGPImageHandle::CreateCanvas() {
  GpGraphics* G = nullptr;
  GdipCheck(GdipGetImageGraphicsContext(FHandle, &G));
  return Create<TdxGPCanvas>(G);
}

HRESULT STDMETHODCALLTYPE TdxGPImageHandle::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TdxGPImageHandle::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxImageDataFormat)))
    *AObj = static_cast<IdxImageDataFormat*>(this);
  else if (IsEqualIID(AIID, __uuidof(IdxAnimatedImage)))
    *AObj = static_cast<IdxAnimatedImage*>(this);
  else if (IsEqualIID(AIID, __uuidof(IdxGPGraphicDraw)))
    *AObj = static_cast<IdxGPGraphicDraw*>(this);
  else if (IsEqualIID(AIID, __uuidof(IdxGpFlipContent)))
    *AObj = static_cast<IdxGpFlipContent*>(this);
  else
    return TdxSmartImageCustomHandle::GetInterface(AIID, AObj);
  return true;
}

TSize TdxGPImageHandle::GetSize() {
  if (!FHandle) return TSize{0, 0};
  UINT W = 0, H = 0;
  GdipCheck(GdipGetImageWidth(FHandle, &W));
  GdipCheck(GdipGetImageHeight(FHandle, &H));
  return TSize{static_cast<LONG>(W), static_cast<LONG>(H)};
}

TBitmap* TdxGPImageHandle::GetAsBitmap() {
  if (IsMetafile()) return TdxSmartImageCustomHandle::GetAsBitmap();
  HBITMAP Made = nullptr;
  GdipCheck(GdipCreateHBITMAPFromBitmap(static_cast<GpBitmap*>(FHandle), &Made, 0));
  TBitmapHandle H(Made);
  TOwned<TBitmap> Result = MakeOwned<TBitmap>();
  BITMAP Data;
  if (dxGetBitmapData(H.Get(), Data)) {
    Result->SetPixelFormat(TPixelFormat::pf32bit);
    Result->SetSize(Data.bmWidth, Data.bmHeight);
    TRGBColors Bits(static_cast<size_t>(Data.bmWidth) * Data.bmHeight);
    BITMAPINFOHEADER Info;
    dxFillBitmapInfoHeader(Info, Data.bmWidth, Data.bmHeight, true);
    GetDIBits(TMemoryDC(CreateCompatibleDC(nullptr)).Get(), H.Get(), 0,
              static_cast<UINT>(Data.bmHeight), Bits.data(), reinterpret_cast<BITMAPINFO*>(&Info),
              DIB_RGB_COLORS);
    SetBitmapBits(Result.get(), Bits, true);
  }
  return Result.release();
}

void TdxGPImageHandle::Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, Byte AAlpha,
                            IdxColorPalette*) {
  if (!FHandle) return;
  TSharedPaint Paint(DC, RoundRect(ADest));
  dxGpDrawImage(Paint.Canvas()->Handle(), ADest, ASource, FHandle, 255,
                dxGpGetImageAttributesHandle(dxGpGetAlphaBlendAttributes(AAlpha)));
}

void TdxGPImageHandle::Draw(HDC DC, const TRect& ADest, const TRect& ASource, Byte AAlpha,
                            IdxColorPalette* APalette) {
  Draw(DC, TdxRectF::Create(ADest), TdxRectF::Create(ASource), AAlpha, APalette);
}

void STDMETHODCALLTYPE TdxGPImageHandle::Draw(TdxGPCanvas* ACanvas, const TdxRectF& ADest,
                                              TdxGPImageAttributes* AAttributes,
                                              const TdxRectF& ASource) {
  dxGpDrawImage(ACanvas->Handle(), ADest, ASource, FHandle, 255,
                dxGpGetImageAttributesHandle(AAttributes));
}

void STDMETHODCALLTYPE TdxGPImageHandle::Draw(TdxGPCanvas* ACanvas, const TRect& ADest,
                                              TdxGPImageAttributes* AAttributes,
                                              const TRect& ASource) {
  dxGpDrawImage(ACanvas->Handle(), ADest, ASource, FHandle, 255,
                dxGpGetImageAttributesHandle(AAttributes));
}

void TdxGPImageHandle::InstallBitmap(GpBitmap* ABitmap) {
  SetHandle(ABitmap);
  FImageFormat = dxImageMemoryBmp;
}

void STDMETHODCALLTYPE TdxGPImageHandle::Flip(bool AHorizontally, bool AVertically) {
  if ((!AHorizontally && !AVertically) || Empty()) return;
  TSize S = GetSize();
  TNewBitmap Bitmap(S);
  {
    TImageGraphics Graphics(Bitmap.Get());
    GdipCheck(GdipSetInterpolationMode(Graphics.Get(), InterpolationModeNearestNeighbor));
    GdipCheck(GdipSetPixelOffsetMode(Graphics.Get(), PixelOffsetModeHalf));
    GdipCheck(GdipDrawImageRectI(Graphics.Get(), FHandle, 0, 0, S.cx, S.cy));
  }
  // The platform's own mirroring moves pixels one to one; a mirrored world
  // transform may land them a pixel off.
  Gdiplus::RotateFlipType Type = AHorizontally && AVertically ? Gdiplus::Rotate180FlipNone
                                 : AHorizontally              ? Gdiplus::RotateNoneFlipX
                                                              : Gdiplus::RotateNoneFlipY;
  GdipCheck(GdipImageRotateFlip(Bitmap.Get(), Type));
  InstallBitmap(Bitmap.Release());
}

void TdxGPImageHandle::Resize(const TSize& ASize, Integer AInterpolationMode,
                              Integer APixelOffsetMode) {
  TNewBitmap Bitmap(ASize);
  if (FHandle) {
    TImageGraphics Graphics(Bitmap.Get());
    if (APixelOffsetMode != 0)
      GdipCheck(GdipSetPixelOffsetMode(Graphics.Get(),
                                       static_cast<Gdiplus::PixelOffsetMode>(APixelOffsetMode)));
    if (AInterpolationMode != 0)
      GdipCheck(GdipSetInterpolationMode(
          Graphics.Get(), static_cast<Gdiplus::InterpolationMode>(AInterpolationMode)));
    GdipCheck(GdipDrawImageRectI(Graphics.Get(), FHandle, 0, 0, ASize.cx, ASize.cy));
  }
  InstallBitmap(Bitmap.Release());
}

void TdxGPImageHandle::SetHandle(GpImage* AValue) {
  if (AValue == FHandle) return;
  if (FHandle) GdipDisposeImage(FHandle);
  FHandle = AValue;
  FImageFormat = dxGetImageDataFormat(AValue);
}

Integer STDMETHODCALLTYPE TdxGPImageHandle::GetAnimationFrameCount() {
  if (Empty()) return 0;
  UINT Count = 0;
  GdipCheck(GdipImageGetFrameDimensionsCount(FHandle, &Count));
  if (Count != 1) return 0;
  GdipCheck(GdipImageGetFrameDimensionsList(FHandle, &FDimensionID, 1));
  UINT Frames = 0;
  GdipCheck(GdipImageGetFrameCount(FHandle, &FDimensionID, &Frames));
  return static_cast<Integer>(Frames);
}

bool TdxGPImageHandle::SelectFrame(UINT AFrame) {
  return GdipImageSelectActiveFrame(FHandle, &FDimensionID, AFrame) == Ok;
}

void STDMETHODCALLTYPE TdxGPImageHandle::SetActiveFrame(Integer AValue) {
  FActiveFrame = static_cast<Cardinal>(AValue);
  if (!SelectFrame(FActiveFrame) && AValue != 0) {
    FActiveFrame = 0;
    SelectFrame(0);
  }
}

bool TdxGPImageHandle::ReadProperty(PROPID AID, std::vector<Byte>& AValue) {
  UINT Size = 0;
  constexpr UINT ItemHeader = sizeof(PropertyItem);
  if (GdipGetPropertyItemSize(FHandle, AID, &Size) != Ok || Size <= ItemHeader) return false;
  std::vector<Byte> Buffer(Size);
  auto* Item = reinterpret_cast<PropertyItem*>(Buffer.data());
  if (GdipGetPropertyItem(FHandle, AID, Size, Item) != Ok) return false;
  UINT Length = std::min<UINT>(Item->length, Size - ItemHeader);
  AValue.assign(static_cast<Byte*>(Item->value), static_cast<Byte*>(Item->value) + Length);
  return !AValue.empty();
}

Integer STDMETHODCALLTYPE TdxGPImageHandle::GetAnimationFrameDelay() {
  std::vector<Byte> Delays;
  // Only a frame that has its own entry takes a delay from the property.
  size_t Offset = static_cast<size_t>(FActiveFrame) * 4;
  if (!ReadProperty(PropertyTagFrameDelay, Delays) || Offset + 4 > Delays.size())
    return DefaultFrameDelay;
  Cardinal Hundredths;
  std::memcpy(&Hundredths, Delays.data() + Offset, 4);
  return static_cast<Integer>(Hundredths * 10);
}

Integer STDMETHODCALLTYPE TdxGPImageHandle::GetAnimationLoopCount() {
  std::vector<Byte> Loop;
  if (!ReadProperty(PropertyTagLoopCount, Loop) || Loop.size() < 2) return 0;
  return Loop[0] | (Loop[1] << 8);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPImageAttributes)

TdxGPImageAttributes::TdxGPImageAttributes() { GdipCheck(GdipCreateImageAttributes(&FHandle)); }

TdxGPImageAttributes::~TdxGPImageAttributes() {
  if (FHandle) GdipDisposeImageAttributes(FHandle);
}

TdxGPImageAttributes* TdxGPImageAttributes::Clone() {
  GpImageAttributes* Copy = nullptr;
  GdipCheck(GdipCloneImageAttributes(FHandle, &Copy));
  return Create<TdxGPImageAttributes>(Copy);
}

void TdxGPImageAttributes::GetAdjustedPalette(Gdiplus::ColorPalette* APalette,
                                              ColorAdjustType AType) {
  GdipCheck(GdipGetImageAttributesAdjustedPalette(FHandle, APalette, AType));
}

void TdxGPImageAttributes::SetColorKey(TdxAlphaColor AColorLow, TdxAlphaColor AColorHigh,
                                       ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesColorKeys(FHandle, AType, TRUE, dxAlphaColorValue(AColorLow),
                                            dxAlphaColorValue(AColorHigh)));
}

void TdxGPImageAttributes::ClearColorKey(ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesColorKeys(FHandle, AType, FALSE, 0, 0));
}

void TdxGPImageAttributes::SetColorMatrix(const TdxGpColorMatrix* ANewColorMatrix,
                                          ColorMatrixFlags AMode, ColorAdjustType AType) {
  GdipCheck(
      GdipSetImageAttributesColorMatrix(FHandle, AType, TRUE, ANewColorMatrix, nullptr, AMode));
}

void TdxGPImageAttributes::SetColorMatrices(const TdxGpColorMatrix* ANewColorMatrix,
                                            const TdxGpColorMatrix* AGrayMatrix,
                                            ColorMatrixFlags AMode, ColorAdjustType AType) {
  GdipCheck(
      GdipSetImageAttributesColorMatrix(FHandle, AType, TRUE, ANewColorMatrix, AGrayMatrix, AMode));
}

void TdxGPImageAttributes::ClearColorMatrix(ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesColorMatrix(FHandle, AType, FALSE, nullptr, nullptr,
                                              ColorMatrixFlagsDefault));
}

void TdxGPImageAttributes::SetGamma(Single AGamma, ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesGamma(FHandle, AType, TRUE, AGamma));
}

void TdxGPImageAttributes::ClearGamma(ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesGamma(FHandle, AType, FALSE, 0));
}

void TdxGPImageAttributes::SetNoOp(ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesNoOp(FHandle, AType, TRUE));
}

void TdxGPImageAttributes::ClearNoOp(ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesNoOp(FHandle, AType, FALSE));
}

void TdxGPImageAttributes::SetOutputChannel(ColorChannelFlags AFlags, ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesOutputChannel(FHandle, AType, TRUE, AFlags));
}

void TdxGPImageAttributes::ClearOutputChannel(ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesOutputChannel(FHandle, AType, FALSE,
                                                static_cast<ColorChannelFlags>(4)));
}

void TdxGPImageAttributes::SetOutputChannelColorProfile(const String& AColorProfileFilename,
                                                        ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesOutputChannelColorProfile(FHandle, AType, TRUE,
                                                            AColorProfileFilename.c_str()));
}

void TdxGPImageAttributes::ClearOutputChannelColorProfile(ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesOutputChannelColorProfile(FHandle, AType, FALSE, nullptr));
}

void TdxGPImageAttributes::SetRemapTable(const std::vector<Gdiplus::ColorMap>& AMap,
                                         ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesRemapTable(FHandle, AType, TRUE, static_cast<UINT>(AMap.size()),
                                             AMap.data()));
}

void TdxGPImageAttributes::ClearRemapTable(ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesRemapTable(FHandle, AType, FALSE, 0, nullptr));
}

void TdxGPImageAttributes::SetBrushRemapTable(const std::vector<Gdiplus::ColorMap>& AMap) {
  SetRemapTable(AMap, ColorAdjustTypeBrush);
}

void TdxGPImageAttributes::ClearBrushRemapTable() { ClearRemapTable(ColorAdjustTypeBrush); }

void TdxGPImageAttributes::SetThreshold(Single AThreshold, ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesThreshold(FHandle, AType, TRUE, AThreshold));
}

void TdxGPImageAttributes::ClearThreshold(ColorAdjustType AType) {
  GdipCheck(GdipSetImageAttributesThreshold(FHandle, AType, FALSE, 0));
}

void TdxGPImageAttributes::SetWrapMode(WrapMode AMode, TdxAlphaColor AColor, bool AClamp) {
  GdipCheck(GdipSetImageAttributesWrapMode(FHandle, AMode, dxAlphaColorValue(AColor), AClamp));
}

void TdxGPImageAttributes::SetWrapMode(WrapMode AMode) {
  SetWrapMode(AMode, TdxAlphaColor(0xFF000000), false);
}

IMPLEMENT_CREATABLE_CLASS(TdxGPAlphaBlendAttributes)

TdxGPAlphaBlendAttributes::TdxGPAlphaBlendAttributes() : FColorMatrix(dxGpDefaultColorMatrix) {}

void TdxGPAlphaBlendAttributes::SetAlpha(Byte AValue) {
  if (AValue == FAlpha) return;
  FAlpha = AValue;
  FColorMatrix.m[3][3] = AValue / 255.0f;
  SetColorMatrix(&FColorMatrix, ColorMatrixFlagsDefault, ColorAdjustTypeBitmap);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPImage)

GpImage* TdxGPImage::Handle() {
  if (Empty()) return nullptr;
  if (!GetHandle()->Is<TdxGPImageHandle>()) ConvertToBitmap();
  auto* H = AsOrNull<TdxGPImageHandle>(GetHandle());
  return H ? H->Handle() : nullptr;
}

void TdxGPImage::SetHandle(GpImage* AValue) {
  TdxCustomSmartImage::SetHandle(Create<TdxGPImageHandle>(AValue));
}

TdxGPCanvas* TdxGPImage::CreateCanvas() {
  if (!ImageData()->GetIsEmpty()) {
    TOwned<TBitmap> B(GetAsBitmap());
    SetBitmap(B.get());
  }
  auto* H = As<TdxGPImageHandle>(GetHandle());
  TdxGPCanvas* Result = H->CreateCanvas();
  Changed(this);
  return Result;
}

void TdxGPImage::Flip(bool AHorizontally, bool AVertically) {
  if ((!AHorizontally && !AVertically) || Empty()) return;
  IdxGpFlipContent* F = nullptr;
  if (!GetHandle()->GetInterface(__uuidof(IdxGpFlipContent), reinterpret_cast<void**>(&F)) || !F) {
    TOwned<TBitmap> B(GetAsBitmap());
    SetBitmap(B.get());
    GetHandle()->GetInterface(__uuidof(IdxGpFlipContent), reinterpret_cast<void**>(&F));
  }
  if (F) F->Flip(AHorizontally, AVertically);
  // The stored file no longer matches the flipped pixels.
  ImageData()->FreeImageData();
  Changed(this);
}

TdxGPImage* TdxGPImage::MakeComposition(TdxGPImage* AOverlayImage, Byte AOverlayAlpha,
                                        Byte ASourceAlpha) {
  TOwned<TdxGPImage> Result(CreateSize<TdxGPImage>(GetSize(), dxacNone));
  if (!Empty()) {
    TOwned<TdxGPCanvas> Canvas(Result->CreateCanvas());
    Canvas->Draw(this, ClientRect(), ASourceAlpha);
    Canvas->Draw(AOverlayImage, TdxRectF::Create(ClientRect()),
                 TdxRectF::Create(AOverlayImage->ClientRect()), AOverlayAlpha);
  }
  return Result.release();
}

void TdxGPImage::StretchDraw(TdxGPCanvas* ACanvas, const TdxRectF& ADest, const TdxRectF& ASource,
                             IdxColorPalette* AColorPalette, TdxGPImageAttributes* AAttributes) {
  IdxGPGraphicDraw* D = nullptr;
  if (GetHandle()->GetInterface(__uuidof(IdxGPGraphicDraw), reinterpret_cast<void**>(&D)) && D) {
    D->Draw(ACanvas, ADest, AAttributes, ASource);
    return;
  }
  auto T = [](const TdxRectF& R) {
    return TRect{static_cast<LONG>(R.Left), static_cast<LONG>(R.Top), static_cast<LONG>(R.Right),
                 static_cast<LONG>(R.Bottom)};
  };
  StretchDraw(ACanvas, T(ADest), T(ASource), AColorPalette, AAttributes);
}

void TdxGPImage::StretchDraw(TdxGPCanvas* ACanvas, const TRect& ADest, const TRect& ASource,
                             IdxColorPalette* AColorPalette, TdxGPImageAttributes* AAttributes) {
  IdxGPGraphicDraw* D = nullptr;
  if (GetHandle()->GetInterface(__uuidof(IdxGPGraphicDraw), reinterpret_cast<void**>(&D)) && D) {
    D->Draw(ACanvas, ADest, AAttributes, ASource);
    return;
  }
  auto* Blend = AsOrNull<TdxGPAlphaBlendAttributes>(AAttributes);
  HDC DC = ACanvas->GetHDC();
  auto Release = Finally([&] { ACanvas->ReleaseHDC(DC); });
  TdxCustomSmartImage::StretchDraw(DC, ADest, ASource, Blend ? Blend->Alpha() : Byte(255),
                                   AColorPalette);
}

TdxSmartImageCustomHandle* TdxGPImage::CreateCache(const TSize& ASize) {
  auto* H = AsOrNull<TdxGPImageHandle>(GetHandle());
  if (!H) return nullptr;
  TOwned<TdxGPImageHandle> Copy(H->Clone());
  Copy->Resize(ASize, 0, 0);
  return Copy.release();
}

IMPLEMENT_CREATABLE_CLASS(TdxSmartImage)

IMPLEMENT_CREATABLE_CLASS(TdxPNGImage)

void TdxPNGImage::SaveToStream(TStream* AStream) {
  SaveToStreamByCodec(AStream, TdxGPImageCodecPNG::Class());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TdxSmartGlyph) {
  P.Property<&TdxSmartGlyph::SourceDPI, &TdxSmartGlyph::SetSourceDPI>(L"SourceDPI")
      .NoDefault()
      .Stored<&TdxSmartGlyph::HasImage>();
  P.Property<&TdxSmartGlyph::StoredSourceHeight, &TdxSmartGlyph::SetSourceHeight>(L"SourceHeight")
      .NoDefault()
      .Stored<&TdxSmartGlyph::HasSourceHeight>();
  P.Property<&TdxSmartGlyph::StoredSourceWidth, &TdxSmartGlyph::SetSourceWidth>(L"SourceWidth")
      .NoDefault()
      .Stored<&TdxSmartGlyph::HasSourceWidth>();
}

TdxSmartGlyph::TdxSmartGlyph() { ImageData()->SetTransparent(true); }

HRESULT STDMETHODCALLTYPE TdxSmartGlyph::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TdxSmartGlyph::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxSourceDPI))) {
    *AObj = static_cast<IdxSourceDPI*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IdxSourceSize))) {
    *AObj = static_cast<IdxSourceSize*>(this);
    return true;
  }
  return TdxSmartImage::GetInterface(AIID, AObj);
}

void TdxSmartGlyph::SetSourceDPI(Integer AValue) {
  AValue = dxCheckDPIValue(AValue);
  if (AValue == FSourceDPI) return;
  FSourceDPI = AValue;
  Changed(this);
}

Integer TdxSmartGlyph::SourceWidth() { return FSourceWidth != 0 ? FSourceWidth : Width(); }
Integer TdxSmartGlyph::SourceHeight() { return FSourceHeight != 0 ? FSourceHeight : Height(); }

void TdxSmartGlyph::SetSourceWidth(Integer AValue) {
  if (AValue < 0 || AValue == Width()) AValue = 0;
  if (AValue == FSourceWidth) return;
  FSourceWidth = AValue;
  Changed(this);
}

void TdxSmartGlyph::SetSourceHeight(Integer AValue) {
  if (AValue < 0 || AValue == Height()) AValue = 0;
  if (AValue == FSourceHeight) return;
  FSourceHeight = AValue;
  Changed(this);
}

TSize STDMETHODCALLTYPE TdxSmartGlyph::GetSourceSize() {
  if (FSourceWidth != 0 || FSourceHeight != 0) return TSize{SourceWidth(), SourceHeight()};
  return GetSize();
}

void TdxSmartGlyph::CreateHandleFromBitmap(TBitmap* ABitmap) {
  ImageData()->SetTransparent(true);
  TdxSmartImage::CreateHandleFromBitmap(ABitmap);
}

bool TdxSmartGlyph::IsBitmapStream(TStream* AStream) {
  if (TdxSmartImage::IsBitmapStream(AStream)) return true;
  Int64 Start = AStream->Position();
  Byte Length[4], Header[14];
  if (AStream->Read(Length, 4) == 4 && AStream->Read(Header, 14) == 14 && Header[0] == 'B' &&
      Header[1] == 'M' && std::memcmp(Length, Header + 2, 4) == 0) {
    AStream->SetPosition(Start + 4);
    return true;
  }
  AStream->SetPosition(Start);
  return false;
}

void TdxSmartGlyph::AssignFromSmartImage(TdxCustomSmartImage* AImage) {
  TdxSmartImage::AssignFromSmartImage(AImage);
  if (auto* G = AsOrNull<TdxSmartGlyph>(AImage)) {
    SetSourceDPI(G->SourceDPI());
    SetSourceHeight(G->FSourceHeight);
    SetSourceWidth(G->FSourceWidth);
  }
}
