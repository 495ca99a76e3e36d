// The skin image (nine-part drawing of texture frames), the gradient fill and
// the element picture cache.
#include <algorithm>
#include <cstring>

#include "dxGDIPlusAPI.h"
#include "dxSkinsCore.h"

namespace {
template <class E>
E EnumFromByte(Byte AValue, E ALast, E ADefault) {
  return AValue <= static_cast<Byte>(ALast) ? static_cast<E>(AValue) : ADefault;
}

constexpr Word StatesMask = (1u << dxSkinElementStateCount) - 1;

// Restores a GDI+ canvas setting on every path.
struct TInterpolationKeeper {
  TdxGPCanvas* Canvas;
  TdxGPInterpolationMode Mode;
  ~TInterpolationKeeper() { Canvas->SetInterpolationMode(Mode); }
};
struct TPixelOffsetKeeper {
  TdxGPCanvas* Canvas;
  Integer Mode;
  ~TPixelOffsetKeeper() { Canvas->SetPixelOffsetMode(Mode); }
};
struct TPaintCanvas {
  TdxGPCustomPaintCanvas* Canvas;
  TPaintCanvas(HDC DC, const TRect& R) : Canvas(dxGpBeginPaint(DC, R)) {}
  ~TPaintCanvas() { dxGpEndPaint(Canvas); }
};

TdxSkin* OwnerSkin(TdxSkinCustomObject* AObject) {
  for (; AObject; AObject = AsOrNull<TdxSkinCustomObject>(AObject->GetOwner()))
    if (auto* ASkin = AsOrNull<TdxSkin>(AObject)) return ASkin;
  return nullptr;
}
}  // namespace

// ===========================================================================
// Geometry and gradient
// ===========================================================================

TdxSkinImagePartsBounds dxSkinsCalculatePartsBounds(const TRect& R, const TRect& M) {
  const Integer X1 = std::min(R.left + M.left, R.right);
  const Integer X2 = std::max(R.left, R.right - M.right);
  const Integer Y1 = std::min(R.top + M.top, R.bottom);
  const Integer Y2 = std::max(R.top, R.bottom - M.bottom);
  return TdxSkinImagePartsBounds{TRect{R.left, R.top, X1, Y1},    TRect{X1, R.top, X2, Y1},
                                 TRect{X2, R.top, R.right, Y1},   TRect{R.left, Y1, X1, Y2},
                                 TRect{X1, Y1, X2, Y2},           TRect{X2, Y1, R.right, Y2},
                                 TRect{R.left, Y2, X1, R.bottom}, TRect{X1, Y2, X2, R.bottom},
                                 TRect{X2, Y2, R.right, R.bottom}};
}

namespace {
void FitMarginPair(LONG& A, LONG& B, Integer AExtent) {
  A = std::max<LONG>(A, 0);
  B = std::max<LONG>(B, 0);
  const Int64 S = Int64(A) + B;
  const Int64 E = std::max(AExtent, 0);
  if (S > E) {
    // MulDiv in 64 bits: the sum of two margins may pass 32 bits.
    auto Shrink = [S, E](LONG M) {
      const Int64 N = Int64(M) * (S - E);
      return static_cast<LONG>(M - (N + S / 2) / S);
    };
    A = Shrink(A);
    B = Shrink(B);
  }
}
}  // namespace

void dxSkinsCheckMargins(TRect& AMargins, const TRect& R) {
  FitMarginPair(AMargins.left, AMargins.right, cxRectWidth(R));
  FitMarginPair(AMargins.top, AMargins.bottom, cxRectHeight(R));
}

void TdxSkinRender::FillRectByGradient(TdxGPCanvas* ACanvas, const TRect& R, TColor AColor1,
                                       TColor AColor2, TdxSkinGradientMode AMode, Byte AAlpha) {
  if (!cxColorIsValid(AColor1) || cxRectIsEmpty(R)) return;
  if (AColor2 == AColor1 || !cxColorIsValid(AColor2))
    ACanvas->FillRectangle(R, dxColorToAlphaColor(AColor1, AAlpha));
  else
    ACanvas->FillRectangleByGradient(R, dxColorToAlphaColor(AColor1, AAlpha),
                                     dxColorToAlphaColor(AColor2, AAlpha),
                                     dxSkinsGradientModeMap[AMode]);
}

// ===========================================================================
// TdxSkinImage
// ===========================================================================

IMPLEMENT_CLASS(TdxSkinImage)

TdxSkinImage::TdxSkinImage(TdxSkinElement* AOwner) : FOwner(AOwner) {
  FGradientBeginColor.Initialize(AOwner, clNone);
  FGradientEndColor.Initialize(AOwner, clNone);
}

void TdxSkinImage::AfterConstruction() {
  inherited::AfterConstruction();
  FTexture = CreateTexture();
  FTexture->OnChange = MakeEvent<&TdxSkinImage::TextureChanged>(this);
  FMargins = Create<TcxMargin>(this);
  FMargins->SetOnChange(MakeEvent<&TdxSkinImage::MarginsChanged>(this));
  FColorPalettes = Create<TdxSkinColorPalettes>(FOwner, String());
  FColorPalettes->SetDefaultColorClass(TdxSkinAlphaColor::StaticClass());
  FColorPalettes->SetOnChange(MakeEvent<&TdxSkinImage::PalettesChanged>(this));
}

TdxSkinImage::~TdxSkinImage() {
  if (FColorPalettes) FColorPalettes->SetOnChange(nullptr);
  FreeAndNil(FColorPalettes);
  FreeAndNil(FMargins);
  if (FTexture) FTexture->OnChange = nullptr;
  FreeAndNil(FTexture);
}

TdxSmartImage* TdxSkinImage::CreateTexture() { return Create<TdxSmartImage>(); }

void TdxSkinImage::Changed() {
  FIsDirty = true;
  if (FOnChange) FOnChange(this);
}

void TdxSkinImage::TextureChanged(TObject*) {
  FTextureIsVector = bDefault;
  Changed();
}

bool TdxSkinImage::Empty() const { return FSourceName.empty() && FTexture->Empty(); }

bool TdxSkinImage::IsVectorTexture() {
  if (FTextureIsVector == bDefault) {
    bool AVector = false;
    if (!FTexture->Empty()) try {
        IUnknown* AIntf = nullptr;
        AVector = FTexture->GetHandle()->GetInterface(__uuidof(IdxVectorImage),
                                                      reinterpret_cast<void**>(&AIntf)) &&
                  AIntf;
      } catch (const Exception&) {
        // Bytes that no codec decodes are no vector picture.
      }
    FTextureIsVector = dxBooleanToDefaultBoolean(AVector);
  }
  return FTextureIsVector == bTrue;
}

bool TdxSkinImage::IsAlphaUsed() {
  if (FTexture->Empty()) return false;
  try {
    return FTexture->IsAlphaUsed();
  } catch (const Exception&) {
    return false;
  }
}

void TdxSkinImage::SetGradient(TdxSkinGradientMode AValue) {
  if (FGradient == AValue) return;
  FGradient = AValue;
  Changed();
}

void TdxSkinImage::SetImageCount(Integer AValue) {
  AValue = std::max(AValue, 1);
  if (FImageCount == AValue) return;
  FImageCount = AValue;
  Changed();
}

void TdxSkinImage::SetImageLayout(TdxSkinImageLayout AValue) {
  if (FImageLayout == AValue) return;
  FImageLayout = AValue;
  Changed();
}

void TdxSkinImage::SetInterpolationMode(TdxGPInterpolationMode AValue) {
  if (FInterpolationMode == AValue) return;
  FInterpolationMode = AValue;
  Changed();
}

void TdxSkinImage::SetStates(TdxSkinElementStates AValue) {
  if (FStates == AValue) return;
  FStates = AValue;
  Changed();
}

void TdxSkinImage::SetStretch(TdxSkinStretchMode AValue) {
  if (FStretch == AValue) return;
  FStretch = AValue;
  Changed();
}

void TdxSkinImage::CheckInfo() {
  if (FIsDirty) InitializeInfo();
}

void TdxSkinImage::InitializeInfo() {
  FIsDirty = false;
  FPartsBoundsSourceSize = TSize{0, 0};
  FStateCount = static_cast<Integer>(FStates.Count());
  TSize ASize = FTexture->Empty() ? TSize{0, 0} : FTexture->GetSize();
  const Integer N = IsVectorTexture() ? FImageCount : FStateCount * FImageCount;
  if (N > 0) {
    if (FImageLayout == ilHorizontal)
      ASize.cx /= N;
    else
      ASize.cy /= N;
  }
  FSize = ASize;
  CheckCalculatePartsBounds(FSize);
}

void TdxSkinImage::CheckCalculatePartsBounds(const TSize& AFrameSize) {
  if (AFrameSize == FPartsBoundsSourceSize) return;
  FPartsBoundsSourceSize = AFrameSize;
  TRect R{0, 0, AFrameSize.cx, AFrameSize.cy};
  FPartsBounds = dxSkinsCalculatePartsBounds(R, FMargins->Margin());
  for (Integer I = 0; I < 9; ++I) FPartsVisibility[I] = !cxRectIsEmpty(FPartsBounds[I]);
  const bool AVector = IsVectorTexture();
  for (Integer S = 0; S < dxSkinElementStateCount; ++S) {
    if (!FStates.Contains(static_cast<TdxSkinElementState>(S))) {
      FStateBounds[S] = TRect{};
      continue;
    }
    FStateBounds[S] = R;
    if (!AVector)
      R = FImageLayout == ilHorizontal ? cxRectOffset(R, AFrameSize.cx, 0)
                                       : cxRectOffset(R, 0, AFrameSize.cy);
  }
}

TSize TdxSkinImage::Size() {
  CheckInfo();
  return FSize;
}

Integer TdxSkinImage::StateCount() {
  CheckInfo();
  return FStateCount;
}

const TdxSkinImagePartsBounds& TdxSkinImage::PartsBounds() {
  CheckInfo();
  return FPartsBounds;
}

const std::array<bool, 9>& TdxSkinImage::PartsVisibility() {
  CheckInfo();
  return FPartsVisibility;
}

TRect TdxSkinImage::GetStateBounds(Integer AImageIndex, TdxSkinElementState AState) {
  CheckInfo();
  TRect R = FStateBounds[AState];
  if (AImageIndex > 0) {
    const Integer AFrames = AImageIndex * (IsVectorTexture() ? 1 : FStateCount);
    const TSize AFrame = FPartsBoundsSourceSize;
    R = FImageLayout == ilHorizontal ? cxRectOffset(R, AFrames * AFrame.cx, 0)
                                     : cxRectOffset(R, 0, AFrames * AFrame.cy);
  }
  return R;
}

void TdxSkinImage::CheckState(TdxSkinElementState& AState, Integer& AImageIndex) {
  AImageIndex = std::clamp(AImageIndex, 0, FImageCount - 1);
  if (!FStates.Contains(AState) && !FStates.Empty())
    for (Integer S = 0; S < dxSkinElementStateCount; ++S)
      if (FStates.Contains(static_cast<TdxSkinElementState>(S))) {
        AState = static_cast<TdxSkinElementState>(S);
        break;
      }
}

IdxColorPalette* TdxSkinImage::GetPalette(TdxSkinElementState AState, bool ACanUseGlobalPalette) {
  if (TdxSkinColorPalette* APalette = FColorPalettes->Find(dxSkinElementStateNames[AState]))
    return APalette;
  if (AState != esNormal)
    if (TdxSkinColorPalette* APalette = FColorPalettes->Find(dxSkinElementStateNames[esNormal]))
      return APalette;
  if (ACanUseGlobalPalette && FOwner)
    if (TdxSkin* ASkin = OwnerSkin(FOwner)) return static_cast<IdxColorPalette*>(ASkin);
  return nullptr;
}

void TdxSkinImage::DrawPart(TdxGPCanvas* ACanvas, GpImage* AImage, TdxSkinImagePart APart,
                            const TRect& ADest, const TRect& ASource) {
  if (APart == sipCenter && cxColorIsValid(GradientBeginColor()))
    TdxSkinRender::FillRectByGradient(ACanvas, ADest, GradientBeginColor(), GradientEndColor(),
                                      FGradient, 255);
  else if (FStretch == smTile)
    dxGpTilePartEx(ACanvas->Handle(), ADest, ASource, AImage, 255);
  else
    dxGpDrawImage(ACanvas->Handle(), ADest, ASource, AImage, 255);
}

namespace {
// ASize scaled to the largest size that fits ABounds with its proportions.
TSize FitProportionally(const TSize& ASize, const TSize& ABounds) {
  if (ASize.cx <= 0 || ASize.cy <= 0) return ASize;
  if (Int64(ABounds.cx) * ASize.cy <= Int64(ABounds.cy) * ASize.cx)
    return TSize{ABounds.cx, MulDiv(ASize.cy, ABounds.cx, ASize.cx)};
  return TSize{MulDiv(ASize.cx, ABounds.cy, ASize.cy), ABounds.cy};
}

// The vector texture drawn at ASize with APalette, as a GDI+ image that the
// caller owns.
TdxGPImage* RasterizeVector(TdxSmartImage* ATexture, const TSize& ASize,
                            IdxColorPalette* APalette) {
  TOwned<TcxBitmap32> ABitmap(TcxBitmap32::CreateSize(ASize.cx, ASize.cy, true));
  TdxSmartImageCustomHandle* AHandle = ATexture->GetHandle();
  AHandle->Draw(ABitmap->Canvas()->Handle(), TRect{0, 0, ASize.cx, ASize.cy}, AHandle->ClientRect(),
                255, APalette);
  TRGBColors AColors;
  GetBitmapBits(ABitmap.get(), AColors, true);
  return TdxGPImage::CreateFromBits<TdxGPImage>(ASize.cx, ASize.cy, AColors, true);
}
}  // namespace

void TdxSkinImage::DrawEx(TdxGPCanvas* ACanvas, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                          Integer AImageIndex, TdxSkinElementState AState) {
  if (FTexture->Empty()) {
    TdxSkinRender::FillRectByGradient(ACanvas, cxRectContent(ARect, FMargins->Margin()),
                                      GradientBeginColor(), GradientEndColor(), FGradient, 255);
    return;
  }
  if (!AScaleFactor) AScaleFactor = dxSystemScaleFactor();
  CheckState(AState, AImageIndex);
  CheckInfo();
  TInterpolationKeeper AKeepInterpolation{ACanvas, ACanvas->InterpolationMode()};
  if (FInterpolationMode != imDefault) ACanvas->SetInterpolationMode(FInterpolationMode);

  TOwned<TdxGPImage> ARaster;
  GpImage* AImage;
  TSize AFrameSize = AScaleFactor->Apply(FSize);
  if (IsVectorTexture()) {
    if (FStretch == smStretch && FMargins->Margin() == TRect{})
      AFrameSize = FitProportionally(FSize, cxRectSize(ARect));
    FPartsBoundsSourceSize = TSize{-1, -1};
    CheckCalculatePartsBounds(AFrameSize);
    TSize AWhole = AFrameSize;
    (FImageLayout == ilHorizontal ? AWhole.cx : AWhole.cy) *= FImageCount;
    if (AWhole.cx <= 0 || AWhole.cy <= 0) return;
    ARaster.reset(RasterizeVector(FTexture, AWhole, GetPalette(AState, true)));
    AImage = ARaster->Handle();
  } else {
    AImage = FTexture->Handle();
  }
  if (!AImage) return;

  const TRect ASource = GetStateBounds(AImageIndex, AState);
  if (FStretch == smNoResize) {
    TPixelOffsetKeeper AKeepOffset{ACanvas, ACanvas->GetPixelOffsetMode()};
    ACanvas->SetPixelOffsetMode(PixelOffsetModeHalf);
    dxGpDrawImage(ACanvas->Handle(), cxRectCenter(ARect, AFrameSize), ASource, AImage, 255);
  } else {
    TRect AMargins = FMargins->Margin();
    dxSkinsCheckMargins(AMargins, ARect);
    if (AMargins == TRect{}) {
      DrawPart(ACanvas, AImage, sipCenter, ARect,
               cxRectOffset(FPartsBounds[sipCenter], ASource.left, ASource.top));
    } else {
      const TdxSkinImagePartsBounds ADest = dxSkinsCalculatePartsBounds(ARect, AMargins);
      for (Integer P = 0; P < 9; ++P)
        if (FPartsVisibility[P])
          DrawPart(ACanvas, AImage, static_cast<TdxSkinImagePart>(P), ADest[P],
                   cxRectOffset(FPartsBounds[P], ASource.left, ASource.top));
    }
  }
  // A vector drawing leaves parts for its own size; the next use recomputes.
  if (ARaster) FIsDirty = true;
}

void TdxSkinImage::Draw(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                        Integer AImageIndex, TdxSkinElementState AState) {
  TPaintCanvas ACanvas(DC, ARect);
  DrawEx(ACanvas.Canvas, ARect, AScaleFactor, AImageIndex, AState);
}

void TdxSkinImage::Draw(HDC DC, const TRect& ARect, Integer AImageIndex,
                        TdxSkinElementState AState) {
  Draw(DC, ARect, dxSystemScaleFactor(), AImageIndex, AState);
}

void TdxSkinImage::DrawRTL(HDC DC, const TRect& ARect, TdxScaleFactor* AScaleFactor,
                           Integer AImageIndex, TdxSkinElementState AState) {
  TPaintCanvas ACanvas(DC, ARect);
  TdxGPCanvas* C = ACanvas.Canvas;
  C->SaveWorldTransform();
  struct TRestore {
    TdxGPCanvas* C;
    ~TRestore() { C->RestoreWorldTransform(); }
  } ARestore{C};
  TPixelOffsetKeeper AKeepOffset{C, C->GetPixelOffsetMode()};
  C->FlipWorldTransform(true, false, (ARect.left + ARect.right) / 2.0f,
                        (ARect.top + ARect.bottom) / 2.0f);
  C->SetPixelOffsetMode(PixelOffsetModeHalf);
  DrawEx(C, ARect, AScaleFactor, AImageIndex, AState);
}

void TdxSkinImage::GetBitmap(Integer AImageIndex, TdxSkinElementState AState, TBitmap* ABitmap,
                             TColor ABackgroundColor) {
  const TSize ASize = Size();
  ABitmap->SetSize(ASize.cx, ASize.cy);
  const TRect R{0, 0, ASize.cx, ASize.cy};
  if (ABackgroundColor != clNone) {
    if (ABackgroundColor != clDefault) ABitmap->Canvas()->Brush()->SetColor(ABackgroundColor);
    ABitmap->Canvas()->FillRect(R);
  }
  Draw(ABitmap->Canvas()->Handle(), R, dxDefaultScaleFactor(), AImageIndex, AState);
}

void TdxSkinImage::Assign(TPersistent* Source) {
  auto* S = AsOrNull<TdxSkinImage>(Source);
  if (!S) return;
  if (S->Empty()) {
    Clear();
  } else {
    FTexture->Assign(S->FTexture);
    FSourceName = S->FSourceName;
  }
  FColorPalettes->Assign(S->FColorPalettes);
  FGradientEndColor.Assign(S->FGradientEndColor);
  FGradientBeginColor.Assign(S->FGradientBeginColor);
  SetGradient(S->FGradient);
  SetImageCount(S->FImageCount);
  SetImageLayout(S->FImageLayout);
  FMargins->Assign(S->FMargins);
  SetStretch(S->FStretch);
  SetStates(S->FStates);
  SetInterpolationMode(S->FInterpolationMode);
}

void TdxSkinImage::Clear() {
  if (FSourceName.empty() && FTexture->Empty()) return;
  FSourceName.clear();
  FTexture->Clear();
  Changed();
}

namespace {
bool SameTextures(TdxSmartImage* A, TdxSmartImage* B) {
  if (A->Empty() || B->Empty()) return A->Empty() == B->Empty();
  try {
    return A->Compare(B);
  } catch (const Exception&) {
    // Pictures that do not decode compare by their bytes.
    TdxSmartImageDataStream* DA = A->ImageData()->Data();
    TdxSmartImageDataStream* DB = B->ImageData()->Data();
    return DA && DB && DA->Size() == DB->Size() &&
           std::memcmp(DA->Memory(), DB->Memory(), static_cast<size_t>(DA->Size())) == 0;
  }
}
}  // namespace

bool TdxSkinImage::Compare(TdxSkinImage* AImage) {
  return AImage && FImageLayout == AImage->FImageLayout && Empty() == AImage->Empty() &&
         FStates == AImage->FStates && FGradient == AImage->FGradient &&
         FStretch == AImage->FStretch && FImageCount == AImage->FImageCount &&
         FInterpolationMode == AImage->FInterpolationMode && Size() == AImage->Size() &&
         FColorPalettes->Compare(AImage->FColorPalettes) && FMargins->IsEqual(AImage->FMargins) &&
         SameTextures(FTexture, AImage->FTexture) &&
         FGradientBeginColor == AImage->FGradientBeginColor &&
         FGradientEndColor == AImage->FGradientEndColor;
}

void TdxSkinImage::Dormant() { FTexture->Dormant(); }

void TdxSkinImage::FlushCache() {
  FGradientBeginColor.FlushCache();
  FGradientEndColor.FlushCache();
  FColorPalettes->FlushCache();
}

void TdxSkinImage::DataRead(TStream* AStream, Double AVersion, Integer AReadImageCount) {
  const Integer AVer = dxSkinVersionHundredths(AVersion);
  FMargins->SetMargin(dxSkinReadRectFromStream(AStream));
  SetImageLayout(EnumFromByte(dxSkinReadByteFromStream(AStream), ilVertical, ilHorizontal));
  SetImageCount(AVer >= 110 ? dxSkinReadIntegerFromStream(AStream) : AReadImageCount);
  SetStates(TdxSkinElementStates::FromBits(dxSkinReadWordFromStream(AStream) & StatesMask));
  SetStretch(EnumFromByte(dxSkinReadByteFromStream(AStream), smNoResize, smStretch));
  if (AVer >= 102) {
    FGradientBeginColor.Read(AStream, AVersion);
    FGradientEndColor.Read(AStream, AVersion);
    SetGradient(EnumFromByte(dxSkinReadByteFromStream(AStream), gmBackwardDiagonal, gmHorizontal));
  }
  dxSkinReadSmartImageFromStream(AStream, FTexture);
  if (AVer >= 115) FColorPalettes->DataRead(AStream, AVersion);
  if (AVer >= 124)
    SetInterpolationMode(
        EnumFromByte(dxSkinReadByteFromStream(AStream), imHighQualityBicubic, imDefault));
  FIsDirty = true;
}

void TdxSkinImage::DataWrite(TStream* AStream) {
  dxSkinWriteRectToStream(AStream, FMargins->Margin());
  dxSkinWriteByteToStream(AStream, static_cast<Byte>(FImageLayout));
  dxSkinWriteIntegerToStream(AStream, FImageCount);
  dxSkinWriteWordToStream(AStream, static_cast<Word>(FStates.ToBits()));
  dxSkinWriteByteToStream(AStream, static_cast<Byte>(FStretch));
  FGradientBeginColor.Write(AStream);
  FGradientEndColor.Write(AStream);
  dxSkinWriteByteToStream(AStream, static_cast<Byte>(FGradient));
  dxSkinWriteSmartImageToStream(AStream, FTexture);
  FColorPalettes->DataWrite(AStream);
  dxSkinWriteByteToStream(AStream, static_cast<Byte>(FInterpolationMode));
}

void TdxSkinImage::LoadFromFile(const String& AFileName) {
  TOwned<TFileStream> AStream(Create<TFileStream>(AFileName, fmOpenRead | fmShareDenyNone));
  FTexture->LoadFromStream(AStream.get());
  FSourceName = AFileName;
}

void TdxSkinImage::LoadFromResource(HINSTANCE AInstance, const String& AName,
                                    const wchar_t* AType) {
  TOwned<TResourceStream> AStream(Create<TResourceStream>(AInstance, AName, AType));
  FTexture->LoadFromStream(AStream.get());
}

void TdxSkinImage::LoadFromStream(TStream* AStream) { FTexture->LoadFromStream(AStream); }

void TdxSkinImage::SaveToStream(TStream* AStream) {
  TOwned<TMemoryStream> ABlob(Create<TMemoryStream>());
  dxSkinWriteSmartImageToStream(ABlob.get(), FTexture);
  if (ABlob->Size() > 4) {
    ABlob->SetPosition(4);
    AStream->CopyFrom(ABlob.get(), ABlob->Size() - 4);
  }
}

void TdxSkinImage::SaveToFile(const String& AFileName) {
  if (Empty()) return;
  FSourceName = ChangeFileExt(AFileName, IsVectorTexture() ? L".svg" : L".png");
  TOwned<TMemoryStream> AData(Create<TMemoryStream>());
  SaveToStream(AData.get());
  AData->SaveToFile(FSourceName);
}

String TdxSkinImage::Name() {
  if (Empty() || !FOwner) return String();
  return FOwner->Name() + (this == FOwner->Glyph() ? L"_Glyph" : L"_Image") +
         (IsVectorTexture() ? L".svg" : L".png");
}

String TdxSkinImage::SourceName() {
  if (!FSourceName.empty() || !FOwner) return FSourceName;
  return FOwner->Path() + Name();
}

void TdxSkinImage::SetStateMapping(const std::vector<TdxSkinElementState>& ATargetStateOrder) {
  if (FTexture->Empty()) return;
  CheckInfo();
  const TSize AFrame = FSize;
  const Integer AEntries = static_cast<Integer>(ATargetStateOrder.size());
  const Integer AFrames = AEntries * FImageCount;
  const bool AHorizontal = FImageLayout == ilHorizontal;
  const TSize ANewSize = AHorizontal ? TSize{AFrame.cx * AFrames, FTexture->Height()}
                                     : TSize{FTexture->Width(), AFrame.cy * AFrames};
  TOwned<TcxBitmap32> ABitmap(TcxBitmap32::CreateSize(ANewSize.cx, ANewSize.cy, true));
  TdxSkinElementStates ANewStates;
  Integer APosition = 0;
  for (Integer AIndex = 0; AIndex < FImageCount; ++AIndex)
    for (TdxSkinElementState AState : ATargetStateOrder) {
      const TRect ADest =
          AHorizontal ? TRect{APosition * AFrame.cx, 0, (APosition + 1) * AFrame.cx, AFrame.cy}
                      : TRect{0, APosition * AFrame.cy, AFrame.cx, (APosition + 1) * AFrame.cy};
      if (FStates.Contains(AState))
        FTexture->StretchDraw(ABitmap->Canvas()->Handle(), ADest, GetStateBounds(AIndex, AState),
                              255, nullptr);
      if (AState <= 15) ANewStates.Include(AState);
      ++APosition;
    }
  FTexture->SetBitmap(ABitmap.get());
  SetStates(ANewStates);
}

// ===========================================================================
// Element cache
// ===========================================================================

IMPLEMENT_CLASS(TdxSkinElementCache)

TdxSkinElementCache::TdxSkinElementCache() : FScaleFactor(Create<TdxScaleFactor>()) {}

TdxSkinElementCache::~TdxSkinElementCache() { FreePictures(); }

void TdxSkinElementCache::FreePictures() {
  if (FCache) {
    GdipDisposeImage(FCache);
    FCache = nullptr;
  }
  FreeAndNil(FCacheOpaque);
}

void TdxSkinElementCache::Flush() {
  FElement = nullptr;
  FScaleFactor->Assign(1, 1, false);
  FRect = TRect{};
  FreePictures();
}

void TdxSkinElementCache::BuildPicture() {
  const TRect R{0, 0, cxRectWidth(FRect), cxRectHeight(FRect)};
  if (FElement->IsAlphaUsed()) {
    GpBitmap* ABitmap = dxGpCreateBitmap(R);
    FCache = ABitmap;
    GpGraphics* AGraphics = nullptr;
    GdipCheck(GdipGetImageGraphicsContext(ABitmap, &AGraphics));
    TdxGPPaintCanvas* ACanvas = dxGPPaintCanvas();
    ACanvas->BeginPaint(AGraphics);
    struct TEnd {
      TdxGPPaintCanvas* Canvas;
      GpGraphics* Graphics;
      ~TEnd() {
        Canvas->EndPaint();
        GdipDeleteGraphics(Graphics);
      }
    } AEnd{ACanvas, AGraphics};
    FElement->DrawEx(ACanvas, R, FScaleFactor.get(), FImageIndex, FState);
  } else {
    FCacheOpaque = TcxBitmap32::CreateSize(R.right, R.bottom);
    TPaintCanvas ACanvas(FCacheOpaque->Canvas()->Handle(), R);
    FElement->DrawEx(ACanvas.Canvas, R, FScaleFactor.get(), FImageIndex, FState);
  }
}

void TdxSkinElementCache::CheckCacheState(TdxSkinElement* AElement, const TRect& R,
                                          Integer AImageIndex, TdxSkinElementState AState,
                                          TdxScaleFactor* AScaleFactor) {
  if (!AScaleFactor) AScaleFactor = dxDefaultScaleFactor();
  if (FElement == AElement && FState == AState && FImageIndex == AImageIndex &&
      FImageSet == dxSkinsUseImageSet() && cxRectWidth(R) == cxRectWidth(FRect) &&
      cxRectHeight(R) == cxRectHeight(FRect) && FScaleFactor->Equals(AScaleFactor))
    return;
  FRect = R;
  FState = AState;
  FElement = AElement;
  FImageIndex = AImageIndex;
  FImageSet = dxSkinsUseImageSet();
  FScaleFactor->Assign(AScaleFactor);
  FreePictures();
  if (cxRectIsEmpty(R)) return;
  auto OnFailure = Finally([&] {
    // A picture that failed to build is built again on the next draw.
    FreePictures();
    FElement = nullptr;
    FRect = TRect{};
  });
  BuildPicture();
  OnFailure.Dismiss();
}

void TdxSkinElementCache::Draw(HDC DC, const TRect& R) {
  if (FCacheOpaque) {
    cxBitBlt(DC, FCacheOpaque->Canvas()->Handle(), R, TPoint{0, 0}, SRCCOPY);
  } else if (FCache) {
    TPaintCanvas ACanvas(DC, R);
    GdipCheck(GdipDrawImageRectI(ACanvas.Canvas->Handle(), FCache, R.left, R.top, cxRectWidth(R),
                                 cxRectHeight(R)));
  }
}

void TdxSkinElementCache::Draw(TdxGPCanvas* ACanvas, const TRect& R) {
  if (FCacheOpaque)
    ACanvas->DrawBitmap(FCacheOpaque, R, 255);
  else if (FCache)
    GdipCheck(GdipDrawImageRectI(ACanvas->Handle(), FCache, R.left, R.top, cxRectWidth(R),
                                 cxRectHeight(R)));
}

void TdxSkinElementCache::DrawEx(HDC DC, TdxSkinElement* AElement, Integer AImageIndex,
                                 TdxSkinElementState AState, TdxScaleFactor* AScaleFactor,
                                 const TRect& R) {
  CheckCacheState(AElement, R, AImageIndex, AState, AScaleFactor);
  Draw(DC, R);
}

void TdxSkinElementCache::DrawEx(TdxGPCanvas* ACanvas, TdxSkinElement* AElement,
                                 Integer AImageIndex, TdxSkinElementState AState,
                                 TdxScaleFactor* AScaleFactor, const TRect& R) {
  CheckCacheState(AElement, R, AImageIndex, AState, AScaleFactor);
  Draw(ACanvas, R);
}

IMPLEMENT_CLASS(TdxSkinElementCacheList)

TdxSkinElementCacheList::TdxSkinElementCacheList(Integer ACapacity)
    : FCapacity(std::max(ACapacity, 1)) {}

TdxSkinElementCacheList::~TdxSkinElementCacheList() = default;

void TdxSkinElementCacheList::SetCapacity(Integer AValue) {
  FCapacity = std::max(AValue, 1);
  while (Count() > FCapacity) FData.erase(FData.begin());
}

void TdxSkinElementCacheList::Flush() { FData.clear(); }

TdxSkinElementCache* TdxSkinElementCacheList::GetCacheItem(TdxSkinElement* AElement, const TRect& R,
                                                           TdxSkinElementState AState,
                                                           Integer AImageIndex) {
  auto SameSize = [&R](TdxSkinElementCache* C) {
    return cxRectWidth(C->Rect()) == cxRectWidth(R) && cxRectHeight(C->Rect()) == cxRectHeight(R);
  };
  for (auto& C : FData)
    if (C->Element() == AElement && C->ImageIndex() == AImageIndex && C->State() == AState &&
        SameSize(C.get()))
      return C.get();
  for (auto& C : FData)
    if (C->Element() == AElement && SameSize(C.get())) return C.get();
  if (Count() >= FCapacity) {
    std::rotate(FData.begin(), FData.begin() + 1, FData.end());
    return FData.back().get();
  }
  FData.push_back(MakeOwned<TdxSkinElementCache>());
  return FData.back().get();
}

template <class TTarget>
void TdxSkinElementCacheList::DrawWith(TTarget ATarget, TdxSkinElement* AElement,
                                       TdxSkinElementState AState, Integer AImageIndex,
                                       TdxScaleFactor* AScaleFactor, const TRect& R) {
  TdxSkinElementCache* AItem = GetCacheItem(AElement, R, AState, AImageIndex);
  auto OnFailure = Finally([&] {
    // An entry whose picture failed holds nothing worth keeping.
    if (!AItem->Element())
      FData.erase(std::find_if(FData.begin(), FData.end(),
                               [AItem](const auto& C) { return C.get() == AItem; }));
  });
  AItem->DrawEx(ATarget, AElement, AImageIndex, AState, AScaleFactor, R);
  OnFailure.Dismiss();
}

void TdxSkinElementCacheList::DrawElement(HDC DC, TdxSkinElement* AElement,
                                          TdxSkinElementState AState, Integer AImageIndex,
                                          TdxScaleFactor* AScaleFactor, const TRect& R) {
  DrawWith(DC, AElement, AState, AImageIndex, AScaleFactor, R);
}

void TdxSkinElementCacheList::DrawElement(HDC DC, TdxSkinElement* AElement,
                                          TdxSkinElementState AState, Integer AImageIndex,
                                          const TRect& R) {
  DrawElement(DC, AElement, AState, AImageIndex, dxSystemScaleFactor(), R);
}

void TdxSkinElementCacheList::DrawElement(TdxGPCanvas* ACanvas, TdxSkinElement* AElement,
                                          TdxSkinElementState AState, Integer AImageIndex,
                                          TdxScaleFactor* AScaleFactor, const TRect& R) {
  DrawWith(ACanvas, AElement, AState, AImageIndex, AScaleFactor, R);
}
