#include "dxSVGImage.h"

#include <cmath>

#include "ZLib.h"
#include "cxGraphics.h"

IMPLEMENT_CLASS(TdxSVGImageHandle)
IMPLEMENT_CREATABLE_CLASS(TdxSVGImage)

namespace {
bool FRegistered = false;

TdxSVGElementRoot* FirstRoot(TdxSVGElement* AContainer) {
  return AContainer->Count() > 0 ? dynamic_cast<TdxSVGElementRoot*>(AContainer->Elements(0))
                                 : nullptr;
}

String Reason(const Exception& E) { return E.ClassName() + L": " + E.Message(); }
}  // namespace

// ---------------------------------------------------------------------------
// Codec

TdxSmartImageCodecClass TdxSVGImageCodec::Class() {
  static const TdxSVGImageCodec Instance;
  return &Instance;
}

bool TdxSVGImageCodec::GetSize(TStream* AStream, TSize& ASize) const {
  try {
    TOwned<TdxXMLDocument> Document(Create<TdxXMLDocument>(nullptr));
    Document->LoadFromStream(AStream);
    if (!Document->Root()->GetFirst()) return false;
    TOwned<TdxSVGElement> Container(Create<TdxSVGElement>());
    TdxSVGLoader::Load(Container.get(), Document.get());
    TdxSVGElementRoot* Root = FirstRoot(Container.get());
    if (!Root) return false;
    const TdxSizeF S = Root->GetSize();
    ASize = TSize{static_cast<LONG>(Round(S.cx)), static_cast<LONG>(Round(S.cy))};
    return true;
  } catch (const Exception&) {
    return false;
  }
}

bool TdxSVGImageCodec::CanLoadStream(TStream* AStream) const {
  TSize Size;
  return GetSize(AStream, Size);
}

bool TdxSVGImageCodec::CanSaveImage(TdxSmartImageCustomHandle* AHandle) const {
  return dynamic_cast<TdxSVGImageHandle*>(AHandle) != nullptr;
}

bool TdxSVGImageCodec::Load(TStream* AStream, TdxSmartImageCustomHandle*& AHandle) const {
  TdxSVGImageHandle* H = nullptr;
  if (!LoadFromStream(AStream, H)) return false;
  AHandle = H;
  return true;
}

bool TdxSVGImageCodec::Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const {
  auto* H = dynamic_cast<TdxSVGImageHandle*>(AHandle);
  // Without a stored source there is nothing to write: saving nothing is
  // no success.
  if (!H || H->FSourceData->Size() == 0) return false;
  H->FSourceData->SetPosition(0);
  ZDecompressStream(H->FSourceData.get(), AStream);
  return true;
}

bool TdxSVGImageCodec::Load(TdxXMLDocument* ADocument, TdxSVGImageHandle*& AHandle,
                            String* AError) {
  try {
    TOwned<TdxSVGImageHandle> Handle(Create<TdxSVGImageHandle>());
    TdxSVGLoader::Load(Handle->FElements.get(), ADocument);
    if (Handle->FElements->Count() == 0) {
      if (AError) *AError = L"no svg element";
      return false;
    }
    Handle->FRoot = dynamic_cast<TdxSVGElementRoot*>(Handle->FElements->Elements(0));
    if (!Handle->FRoot) throw EInvalidCast(L"Invalid class typecast");
    ADocument->SetAutoIndent(true);
    TOwned<TMemoryStream> Source(Create<TMemoryStream>());
    ADocument->SaveToStream(Source.get());
    Source->SetPosition(0);
    ZCompressStream(Source.get(), Handle->FSourceData.get(), TZCompressionLevel::zcMax);
    AHandle = Handle.release();
    return true;
  } catch (const Exception& E) {
    if (AError) *AError = Reason(E);
    return false;
  }
}

bool TdxSVGImageCodec::LoadFromStream(TStream* AStream, TdxSVGImageHandle*& AHandle,
                                      String* AError) {
  try {
    TOwned<TdxXMLDocument> Document(Create<TdxXMLDocument>(nullptr));
    Document->LoadFromStream(AStream);
    if (!Document->Root()->GetFirst()) {
      if (AError) *AError = L"no elements";
      return false;
    }
    return Load(Document.get(), AHandle, AError);
  } catch (const Exception& E) {
    if (AError) *AError = Reason(E);
    return false;
  }
}

bool TdxSVGImageCodec::Load(const String& AFileName, TdxSVGImageHandle*& AHandle, String* AError) {
  try {
    TOwned<TFileStream> S(Create<TFileStream>(
        AFileName, static_cast<Word>(fmOpenRead) | static_cast<Word>(fmShareDenyNone)));
    return LoadFromStream(S.get(), AHandle, AError);
  } catch (const Exception& E) {
    if (AError) *AError = Reason(E);
    return false;
  }
}

// ---------------------------------------------------------------------------
// Handle

TdxSVGImageHandle::TdxSVGImageHandle()
    : FElements(Create<TdxSVGElement>()), FSourceData(Create<TMemoryStream>()) {}

TdxSVGImageHandle::~TdxSVGImageHandle() = default;

HRESULT STDMETHODCALLTYPE TdxSVGImageHandle::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TdxSVGImageHandle::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxVectorImage)))
    *AObj = static_cast<IdxVectorImage*>(this);
  else if (IsEqualIID(AIID, __uuidof(IdxImageDataFormatEx)))
    *AObj = static_cast<IdxImageDataFormatEx*>(this);
  else if (IsEqualIID(AIID, __uuidof(IdxGpFlipContent)))
    *AObj = static_cast<IdxGpFlipContent*>(this);
  else
    return TdxSmartImageCustomHandle::GetInterface(AIID, AObj);
  return true;
}

void STDMETHODCALLTYPE TdxSVGImageHandle::Flip(bool AHorizontally, bool AVertically) {
  FFlipHorizontally = AHorizontally;
  FFlipVertically = AVertically;
  FlushCache();
}

TSize TdxSVGImageHandle::GetSize() {
  if (!FRoot) return TSize{0, 0};
  const TdxSizeF S = FRoot->GetSize();
  auto Side = [](Single V) {
    const Double R = std::nearbyint(static_cast<Double>(V));
    return static_cast<LONG>(std::clamp(R, -2147483647.0, 2147483647.0));
  };
  return TSize{Side(S.cx), Side(S.cy)};
}

void TdxSVGImageHandle::FlushCache() { FCachedImage.reset(); }

TdxGPSmoothingMode TdxSVGImageHandle::GetSmoothingMode() const {
  return FSmoothingMode == smDefault ? smNone : FSmoothingMode;
}

TdxGPInterpolationMode TdxSVGImageHandle::GetInterpolationMode() const {
  if (FInterpolationMode != imDefault) return FInterpolationMode;
  return IsWinSevenOrLater ? imBilinear : imHighQualityBilinear;
}

TGUID TdxSVGImageHandle::GetPaletteID(IdxColorPalette* APalette) {
  return APalette ? APalette->GetID() : TGUID{};
}

TdxRectF TdxSVGImageHandle::GetViewBox() {
  if (!FRoot) return TdxRectF{};
  TdxRectF V = FRoot->ViewBox()->FValue;
  if (V.Bottom - V.Top == 0) V.Bottom = V.Top + FRoot->FHeight.ToPixels(96);
  if (V.Right - V.Left == 0) V.Right = V.Left + FRoot->FWidth.ToPixels(96);
  return V;
}

void TdxSVGImageHandle::DrawCore(TdxGPCanvas* ACanvas, const TdxRectF& ARect,
                                 IdxColorPalette* APalette) {
  if (!FRoot) return;
  const TdxRectF V = GetViewBox();
  const Single VW = V.Right - V.Left, VH = V.Bottom - V.Top;
  if (!(VW > 0) || !(VH > 0)) return;
  const TdxGPSmoothingMode OldSmoothing = ACanvas->SmoothingMode();
  const Integer OldPixelOffset = ACanvas->GetPixelOffsetMode();
  ACanvas->SaveWorldTransform();
  auto Restore = Finally([&] {
    ACanvas->RestoreWorldTransform();
    ACanvas->SetSmoothingMode(OldSmoothing);
    ACanvas->SetPixelOffsetMode(OldPixelOffset);
  });
  ACanvas->SetSmoothingMode(GetSmoothingMode());
  // SVG's pixel (0, 0) covers 0..1; GDI+ centres it on 0 unless told.
  ACanvas->SetPixelOffsetMode(PixelOffsetModeHalf);
  ACanvas->TranslateWorldTransform(ARect.Left, ARect.Top, MatrixOrderPrepend);
  ACanvas->ScaleWorldTransform((ARect.Right - ARect.Left) / VW, (ARect.Bottom - ARect.Top) / VH,
                               MatrixOrderPrepend);
  ACanvas->TranslateWorldTransform(-V.Left, -V.Top, MatrixOrderPrepend);
  TOwned<TdxSVGRenderer> Renderer(Create<TdxSVGRenderer>(ACanvas, APalette));
  FRoot->Draw(Renderer.get());
}

void TdxSVGImageHandle::DrawCore(TdxGPImageHandle* AImage, IdxColorPalette* APalette) {
  TOwned<TdxGPCanvas> Canvas(AImage->CreateCanvas());
  const TSize S = AImage->GetSize();
  DrawCore(Canvas.get(), TdxRectF{0, 0, static_cast<Single>(S.cx), static_cast<Single>(S.cy)},
           APalette);
}

TdxGPImageHandle* TdxSVGImageHandle::GetRasterizedImage(const TSize& ASize,
                                                        IdxColorPalette* APalette) {
  const TdxRectF V = GetViewBox();
  const Double VW = static_cast<Double>(V.Right) - V.Left;
  const Double VH = static_cast<Double>(V.Bottom) - V.Top;
  const TSize Asked{std::max<LONG>(1, ASize.cx), std::max<LONG>(1, ASize.cy)};
  const bool HasArea = VW > 0 && VH > 0;
  TSize Target = Asked;
  if (HasArea) {
    const auto Side = [](Double A) {
      return static_cast<LONG>(std::clamp(std::nearbyint(A), 1.0, 1e9));
    };
    const TSize S{Side(VW), Side(VH)};
    const TRect T = cxGetImageRect(TRect{0, 0, Asked.cx, Asked.cy}, S, ifmFill);
    Target = TSize{std::max<LONG>(1, T.right - T.left), std::max<LONG>(1, T.bottom - T.top)};
  }
  const TGUID PaletteID = GetPaletteID(APalette);
  if (!IsEqualGUID(PaletteID, FCachedImagePaletteID)) FlushCache();
  if (FCachedImage) {
    const TSize C = FCachedImage->GetSize();
    if (C.cx != Target.cx || C.cy != Target.cy) FlushCache();
  }
  if (FCachedImage) return FCachedImage.get();
  TOwned<TdxGPImageHandle> Image;
  if (!HasArea) {
    // A view box without area draws nothing: a transparent raster.
    Image.reset(Create<TdxGPImageHandle>(dxGpCreateBitmap(Target)));
  } else {
    const Double Factor =
        std::min(32.0, std::min(dxSVGMaxRasterSize / VH, dxSVGMaxRasterSize / VW));
    auto RasterSide = [&](Double A) {
      return static_cast<LONG>(std::clamp(std::trunc(std::trunc(A) * Factor), 1.0,
                                          static_cast<Double>(dxSVGMaxRasterSize)));
    };
    Image.reset(Create<TdxGPImageHandle>(dxGpCreateBitmap(TSize{RasterSide(VW), RasterSide(VH)})));
    DrawCore(Image.get(), APalette);
    Image->Resize(Target, static_cast<Integer>(GetInterpolationMode()), PixelOffsetModeHalf);
  }
  if (FFlipHorizontally || FFlipVertically) Image->Flip(FFlipHorizontally, FFlipVertically);
  FCachedImagePaletteID = PaletteID;
  FCachedImage = std::move(Image);
  return FCachedImage.get();
}

void TdxSVGImageHandle::Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, Byte AAlpha,
                             IdxColorPalette* APalette) {
  if (Empty()) return;
  const TRect R{static_cast<LONG>(Round(ADest.Left)), static_cast<LONG>(Round(ADest.Top)),
                static_cast<LONG>(Round(ADest.Right)), static_cast<LONG>(Round(ADest.Bottom))};
  TdxGPCustomPaintCanvas* Canvas = dxGpBeginPaint(DC, R);
  auto End = Finally([&] { dxGpEndPaint(Canvas); });
  TdxGPImageHandle* Raster =
      GetRasterizedImage(TSize{R.right - R.left, R.bottom - R.top}, APalette);
  const TdxGPInterpolationMode OldInterpolation = Canvas->InterpolationMode();
  const Integer OldPixelOffset = Canvas->GetPixelOffsetMode();
  auto Modes = Finally([&] {
    Canvas->SetInterpolationMode(OldInterpolation);
    Canvas->SetPixelOffsetMode(OldPixelOffset);
  });
  Canvas->SetInterpolationMode(GetInterpolationMode());
  Canvas->SetPixelOffsetMode(PixelOffsetModeHalf);
  const TSize H = GetSize();
  const TSize RS = Raster->GetSize();
  const Single FX = static_cast<Single>(RS.cx) / H.cx, FY = static_cast<Single>(RS.cy) / H.cy;
  const TdxRectF Source{ASource.Left * FX, ASource.Top * FY, ASource.Right * FX,
                        ASource.Bottom * FY};
  dxGpDrawImage(Canvas->Handle(), ADest, Source, Raster->Handle(), AAlpha);
}

void TdxSVGImageHandle::Draw(HDC DC, const TRect& ADest, const TRect& ASource, Byte AAlpha,
                             IdxColorPalette* APalette) {
  Draw(DC, TdxRectF::Create(ADest), TdxRectF::Create(ASource), AAlpha, APalette);
}

TBitmap* TdxSVGImageHandle::GetAsBitmap() {
  const TSize S = GetSize();
  TOwned<TcxBitmap32> Bitmap(TcxBitmap32::CreateSize(S.cx, S.cy, true));
  const TRect R{0, 0, S.cx, S.cy};
  Draw(Bitmap->Canvas()->Handle(), R, R, 255, nullptr);
  return Bitmap.release();
}

// ---------------------------------------------------------------------------

void TdxSVGImage::SaveToStream(TStream* AStream) {
  SaveToStreamByCodec(AStream, TdxSVGImageCodec::Class());
}

namespace dxSVGImage {
void RegisterAssistants() {
  if (!CheckGdiPlus(false)) return;
  TdxSmartImageCodecsRepository::Register(TdxSVGImageCodec::Class());
  RegisterClass(TdxSVGImage::StaticClass());
  TPicture::RegisterFileFormat(L"svg", TdxSVGImageCodec::Class()->Description(),
                               TdxSmartImage::StaticClass());
  FRegistered = true;
}

void UnregisterAssistants() {
  if (!FRegistered) return;
  TPicture::UnregisterGraphicClass(TdxSVGImage::StaticClass());
  UnRegisterClass(TdxSVGImage::StaticClass());
  TdxSmartImageCodecsRepository::Unregister(TdxSVGImageCodec::Class());
  FRegistered = false;
}
}  // namespace dxSVGImage

void dxSVGImage_Initialize() {
  if (TdxUnitsLoader* L = dxUnitsLoader())
    L->AddUnit(&dxSVGImage::RegisterAssistants, &dxSVGImage::UnregisterAssistants);
  else
    dxSVGImage::RegisterAssistants();
}

void dxSVGImage_Finalize() {
  if (TdxUnitsLoader* L = dxUnitsLoader())
    L->RemoveUnit(&dxSVGImage::UnregisterAssistants);
  else
    dxSVGImage::UnregisterAssistants();
}
