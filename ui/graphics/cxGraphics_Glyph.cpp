// Alpha bitmaps and glyph drawing.
#include <algorithm>
#include <cmath>

#include "cxGraphics.h"
#include "cxGraphicsInternal.h"
#include "cxImageList.h"
#include "dxDPIAwareUtils.h"
#include "dxGDIPlusClasses.h"

using namespace cxGraphicsInternal;

TcxCustomDrawImageProc CustomDrawImageProc = nullptr;

// ---------------------------------------------------------------------------
// TcxAlphaBitmap
IMPLEMENT_CREATABLE_CLASS(TcxAlphaBitmap)

TcxAlphaBitmap::~TcxAlphaBitmap() = default;

void TcxAlphaBitmap::Initialize(Integer AWidth, Integer AHeight, TPixelFormat APixelFormat) {
  FTransparentPixels.reset(Create<TcxColorList>());
  inherited::Initialize(AWidth, AHeight, APixelFormat);
}

TcxAlphaBitmap* TcxAlphaBitmap::CreateSize(Integer AWidth, Integer AHeight,
                                           RGBQUAD ATransparentBkColor) {
  TcxAlphaBitmap* B = Create<TcxAlphaBitmap>(AWidth, AHeight, TPixelFormat::pf32bit);
  B->FTransparentBkColor = ATransparentBkColor;
  return B;
}

TcxAlphaBitmap* TcxAlphaBitmap::CreateSize(const TRect& ARect, RGBQUAD ATransparentBkColor) {
  return CreateSize(cxRectWidth(ARect), cxRectHeight(ARect), ATransparentBkColor);
}

void TcxAlphaBitmap::Clear() {
  if (FTransparentBkColor.rgbReserved != 0)
    TransformBitmap(btmClear);
  else
    inherited::Clear();
}

void TcxAlphaBitmap::RefreshImage(Integer AWidth, Integer AHeight) {
  SetSize(AWidth, AHeight);
  FTransparentPixels->Clear();
  Clear();
}

namespace {
DWORD QuadValue(const RGBQUAD& Q) {
  return static_cast<DWORD>(Q.rgbBlue | (Q.rgbGreen << 8) | (Q.rgbRed << 16) |
                            (static_cast<DWORD>(Q.rgbReserved) << 24));
}
RGBQUAD QuadOf(DWORD V) {
  return RGBQUAD{static_cast<Byte>(V), static_cast<Byte>(V >> 8), static_cast<Byte>(V >> 16),
                 static_cast<Byte>(V >> 24)};
}
Byte Clamp255(Integer V) { return static_cast<Byte>(std::clamp<Integer>(V, 0, 255)); }
Byte RoundedGrey(const RGBQUAD& Q, Single R, Single G, Single B) {
  return static_cast<Byte>(
      std::clamp<Single>(std::nearbyint(R * Q.rgbRed + G * Q.rgbGreen + B * Q.rgbBlue), 0, 255));
}
void SetGrey(RGBQUAD& Q, Byte V) { Q.rgbRed = Q.rgbGreen = Q.rgbBlue = V; }
}  // namespace

bool TcxAlphaBitmap::IsColorTransparent(const RGBQUAD& AColor) const {
  return QuadValue(AColor) == QuadValue(FTransparentBkColor) ||
         FTransparentPixels->Contains(QuadValue(AColor) & 0xFFFFFF);
}

void TcxAlphaBitmap::TransformBitmap(TcxBitmapTransformationMode AMode) {
  TRGBColors P;
  GetBitmapColors(P);
  Integer W = Width(), H = Height();
  RGBQUAD Shadow = dxColorToRGBQuad(clBtnShadow, 192);
  for (Integer X = 0; X < W; ++X)
    for (Integer Y = 0; Y < H; ++Y) {
      FCurrentColorIndex = TPoint{X, Y};
      RGBQUAD& Q = P[static_cast<size_t>(X) + static_cast<size_t>(Y) * W];
      bool Transparent = IsColorTransparent(Q);
      switch (AMode) {
        case btmDingy:
          if (Transparent) break;
          if (Q.rgbReserved == 255) {
            Q.rgbRed = Clamp255(Q.rgbRed + MulDiv(255 - Q.rgbRed, 3, 10));
            Q.rgbGreen = Clamp255(Q.rgbGreen + MulDiv(255 - Q.rgbGreen, 3, 10));
            Q.rgbBlue = Clamp255(Q.rgbBlue + MulDiv(255 - Q.rgbBlue, 3, 10));
          } else {
            Q.rgbRed = Clamp255(MulDiv(Q.rgbRed, 200, 255));
            Q.rgbGreen = Clamp255(MulDiv(Q.rgbGreen, 200, 255));
            Q.rgbBlue = Clamp255(MulDiv(Q.rgbBlue, 200, 255));
            Q.rgbReserved = Clamp255(MulDiv(Q.rgbReserved, 200, 255));
          }
          break;
        case btmDirty:
          if (Transparent) break;
          SetGrey(Q, RoundedGrey(Q, 0.299f, 0.587f, 0.114f));
          {
            RGBQUAD S = Shadow;
            cxBlendFunction(S, Q, 238);
          }
          break;
        case btmGrayScale:
          if (!Transparent) SetGrey(Q, static_cast<Byte>((Q.rgbRed + Q.rgbGreen + Q.rgbBlue) / 3));
          break;
        case btmSetOpaque:
          Q.rgbReserved = 255;
          break;
        case btmMakeMask:
          Q = QuadOf(Transparent ? ClrNone : ClrTransparent);
          break;
        case btmFade:
          if (!Transparent) SetGrey(Q, RoundedGrey(Q, 0.299f, 0.587f, 0.114f));
          break;
        case btmDisable:
          if (!Transparent) SetGrey(Q, RoundedGrey(Q, 0.0729f, 0.7146f, 0.2125f));
          break;
        case btmCorrectBlend:
          if (Q.rgbReserved == 0 && !Transparent) Q.rgbReserved = 255;
          break;
        case btmHatch: {
          bool Odd = (X / FHatchData.Step + Y / FHatchData.Step) % 2 != 0;
          cxBlendFunction(Odd ? FHatchData.Color2 : FHatchData.Color1, Q,
                          Odd ? FHatchData.Alpha2 : FHatchData.Alpha1);
          break;
        }
        case btmClear:
          Q = FTransparentBkColor;
          break;
        case btmResetAlpha:
          Q.rgbReserved = 0;
          break;
        case btmExtractLayer:
          if (Transparent) Q = RGBQUAD{0, 0, 0, 0};
          break;
      }
    }
  SetBitmapColors(P);
}

void TcxAlphaBitmap::DrawHatch(const TcxHatchData& AHatchData) {
  FHatchData = AHatchData;
  if (FHatchData.Step == 0) FHatchData.Step = 1;
  TransformBitmap(btmHatch);
}

void TcxAlphaBitmap::DrawHatch(TColor AColor1, TColor AColor2, Byte AStep, Byte AAlpha1,
                               Byte AAlpha2) {
  DrawHatch(TcxHatchData{dxColorToRGBQuad(AColor1, 255), AAlpha1, dxColorToRGBQuad(AColor2, 255),
                         AAlpha2, AStep});
}

void TcxAlphaBitmap::RecoverAlphaChannel(TColor ATransparentColor) {
  FTransparentPixels->Clear();
  FTransparentPixels->Add(ATransparentColor);
  FTransparentBkColor = dxColorToRGBQuad(ATransparentColor);
  TransformBitmap(btmCorrectBlend);
}

void TcxAlphaBitmap::ExtractLayer(TColor ATransparentColor) {
  FTransparentPixels->Clear();
  FTransparentPixels->Add(static_cast<TColor>(dxColorToRGB(ATransparentColor)));
  FTransparentBkColor = dxColorToRGBQuad(ATransparentColor);
  TransformBitmap(btmExtractLayer);
}

void TcxAlphaBitmap::DrawShadow(TcxAlphaBitmap* AMaskBitmap, Integer AShadowSize,
                                TColor AShadowColor, bool AInflateSize) {
  Integer W = Width(), H = Height(), S = AShadowSize;
  TOwned<TcxAlphaBitmap> Shadow(CreateSize(W + 2 * S, H + 2 * S, QuadOf(ClrNone)));
  Shadow->Clear();
  Shadow->CopyBitmap(AMaskBitmap, cxRect(S, S, S + W, S + H), TPoint{0, 0}, SRCCOPY);
  Shadow->Canvas()->Brush()->SetColor(AShadowColor);
  HDC SD = Shadow->Canvas()->Handle();
  Shadow->Canvas()->FillRect(cxNullRect);  // selects the brush into the DC
  BitBlt(SD, S, S, W + 2 * S, H + 2 * S, SD, 0, 0, 0x00200F09);
  Shadow->SetTransparentBkColor(QuadOf(ClrTransparent));
  Shadow->TransformBitmap(btmCorrectBlend);
  TOwned<TcxAlphaBitmap> Copy(CreateSize(W + S, H + S));
  Copy->Clear();
  Copy->CopyBitmap(this, cxRect(0, 0, W, H), TPoint{0, 0}, SRCCOPY);
  Copy->CopyBitmap(Shadow.get(), Copy->ClientRect(), TPoint{S, S}, SRCPAINT);
  if (AInflateSize) {
    SetSize(W + S, H + S);
    CopyBitmap(Copy.get(), ClientRect(), TPoint{0, 0}, SRCCOPY);
  }
}

void TcxAlphaBitmap::Shade(TcxAlphaBitmap* AMaskBitmap) {
  HDC MD = AMaskBitmap->Canvas()->Handle();
  BitBlt(MD, 0, 0, AMaskBitmap->Width(), AMaskBitmap->Height(), MD, 0, 0, PATINVERT);
  CopyBitmap(AMaskBitmap, cxRect(1, 1, Width(), Height()), TPoint{0, 0}, SRCCOPY);
  Canvas()->Brush()->SetColor(clBtnShadow);
  Canvas()->FillRect(cxNullRect);  // selects the brush into the DC
  CopyBitmap(AMaskBitmap, ClientRect(), TPoint{0, 0}, 0x00E20746);
  TransformBitmap(btmCorrectBlend);
}

// ---------------------------------------------------------------------------
// Shared scratch bitmaps
namespace {
TcxAlphaBitmap*& ScratchVar(int AKind) {
  static TcxAlphaBitmap* V[3] = {};
  return V[AKind];
}

TcxAlphaBitmap* Scratch(int AKind, Integer AWidth, Integer AHeight) {
  TcxAlphaBitmap*& B = ScratchVar(AKind);
  if (!B) B = TcxAlphaBitmap::CreateSize(AWidth, AHeight);
  B->SetTransparentBkColor(RGBQUAD{0, 0, 0, 0});
  B->RefreshImage(AWidth, AHeight);
  return B;
}
}  // namespace

TcxAlphaBitmap* GetDrawBitmap(Integer AWidth, Integer AHeight) {
  return Scratch(0, AWidth, AHeight);
}
TcxAlphaBitmap* GetImageBitmap(Integer AWidth, Integer AHeight) {
  return Scratch(1, AWidth, AHeight);
}
TcxAlphaBitmap* GetMaskBitmap(Integer AWidth, Integer AHeight) {
  return Scratch(2, AWidth, AHeight);
}

void cxGraphicsInternal::FreeScratchBitmaps() {
  for (int I = 0; I < 3; ++I) FreeAndNil(ScratchVar(I));
}

// ---------------------------------------------------------------------------
// Glyph sizes and places
bool IsGlyphAssigned(TGraphic* AGlyph) { return AGlyph && !AGlyph->Empty(); }

bool IsImageAssigned(TCustomImageList* AImageList, Integer AImageIndex) {
  return AImageList && AImageIndex >= 0 && AImageIndex < AImageList->Count();
}

bool IsImageAssigned(TGraphic* AGlyph, TCustomImageList* AImageList, Integer AImageIndex) {
  return IsGlyphAssigned(AGlyph) || IsImageAssigned(AImageList, AImageIndex);
}

Integer dxGetImageSourceDPI(TObject* AImage) {
  IdxSourceDPI* Intf = nullptr;
  if (AImage && Supports(AImage, __uuidof(IdxSourceDPI), reinterpret_cast<void**>(&Intf)))
    return Intf->GetSourceDPI();
  return dxDefaultDPI;
}

TSize dxGetImageSize(TGraphic* AImage, TCustomImageList* AImageList, Integer AImageIndex,
                     const TdxScaleFactor* AScaleFactor) {
  if (!AScaleFactor) AScaleFactor = dxDefaultScaleFactor();
  if (IsGlyphAssigned(AImage)) {
    TSize Size{AImage->Width(), AImage->Height()};
    IdxSourceSize* Intf = nullptr;
    if (Supports(AImage, __uuidof(IdxSourceSize), reinterpret_cast<void**>(&Intf)))
      Size = Intf->GetSourceSize();
    return AScaleFactor->Apply(Size, dxGetImageSourceDPI(AImage), dxDefaultDPI);
  }
  if (IsImageAssigned(AImageList, AImageIndex))
    return AScaleFactor->Apply(TSize{AImageList->Width(), AImageList->Height()},
                               dxGetImageSourceDPI(AImageList), dxDefaultDPI);
  return TSize{0, 0};
}

TSize dxGetImageSize(TGraphic* AImage, const TdxScaleFactor* AScaleFactor) {
  return dxGetImageSize(AImage, nullptr, -1, AScaleFactor);
}

TSize dxGetImageSize(TCustomImageList* AImageList, const TdxScaleFactor* AScaleFactor) {
  if (!AImageList) return TSize{0, 0};
  if (!AScaleFactor) AScaleFactor = dxDefaultScaleFactor();
  return AScaleFactor->Apply(TSize{AImageList->Width(), AImageList->Height()},
                             dxGetImageSourceDPI(AImageList), dxDefaultDPI);
}

void cxSetImageList(TCustomImageList* AValue, TCustomImageList*& AFieldValue,
                    TChangeLink* AChangeLink, TComponent* ANotifyComponent) {
  if (AValue == AFieldValue) return;
  if (AFieldValue) {
    if (ANotifyComponent) AFieldValue->RemoveFreeNotification(ANotifyComponent);
    AFieldValue->UnRegisterChanges(AChangeLink);
  }
  AFieldValue = AValue;
  if (AValue) {
    AValue->RegisterChanges(AChangeLink);
    if (ANotifyComponent) AValue->FreeNotification(ANotifyComponent);
  }
  AChangeLink->Change();
}

TRect cxGetImageRect(const TRect& ADrawRect, const TSize& AImageSize, TcxImageFitMode AFitMode) {
  return cxGetImageRect(ADrawRect, AImageSize, AFitMode, true, 100);
}

TRect cxGetImageRect(const TRect& ADrawRect, const TSize& AImageSize, TcxImageFitMode AFitMode,
                     bool ACentre, Integer AScale) {
  if (AImageSize.cx <= 0 || AImageSize.cy <= 0) return ADrawRect;
  Integer W = cxRectWidth(ADrawRect), H = cxRectHeight(ADrawRect);
  Double K1 = static_cast<Double>(W) / AImageSize.cx, K2 = static_cast<Double>(H) / AImageSize.cy;
  auto Proportional = [&](bool AByWidth) {
    return AByWidth ? TSize{W, static_cast<LONG>(std::trunc(AImageSize.cy * K1))}
                    : TSize{static_cast<LONG>(std::trunc(AImageSize.cx * K2)), H};
  };
  TSize Size;
  switch (AFitMode) {
    case ifmNormal:
      Size = TSize{MulDiv(AImageSize.cx, AScale, 100), MulDiv(AImageSize.cy, AScale, 100)};
      break;
    case ifmStretch:
      Size = TSize{W, H};
      break;
    case ifmProportionalStretch:
      Size = Proportional(K1 < K2);
      break;
    case ifmFit:
      Size = std::min(K1, K2) >= 1 ? AImageSize : Proportional(K1 < K2);
      break;
    case ifmFill:
      Size = Proportional(K1 > K2);
      break;
  }
  if (ACentre) return cxRectCenter(ADrawRect, Size);
  return cxRect(ADrawRect.left, ADrawRect.top, ADrawRect.left + Size.cx, ADrawRect.top + Size.cy);
}

// ---------------------------------------------------------------------------
// Glyph drawing
namespace {
// An opaque smart glyph not marked transparent still takes its left-bottom
// pixel as the transparent colour when asked to.
bool NeedsLeftBottomMask(TGraphic* AGlyph) {
  auto* Glyph = AsOrNull<TdxSmartGlyph>(AGlyph);
  return Glyph && !Glyph->ImageData()->Transparent() && Glyph->GetAlphaState() == asOpaque;
}
}  // namespace

TcxAlphaBitmap* cxPrepareBitmapForDrawing(TGraphic* AGlyph, TCustomImageList* AImages,
                                          Integer AImageIndex,
                                          bool AUseLeftBottomPixelAsTransparent,
                                          TColor ATransparentColor, IdxColorPalette* APalette,
                                          Integer AGlyphWidth, Integer AGlyphHeight,
                                          bool ASmoothResize, TcxAlphaBitmap*& AMaskBitmap,
                                          bool& AIsAlphaUsed) {
  bool HasGlyph = IsGlyphAssigned(AGlyph);
  if (AGlyphWidth == 0 || AGlyphHeight == 0) {
    AGlyphWidth = HasGlyph ? AGlyph->Width() : AImages->Width();
    AGlyphHeight = HasGlyph ? AGlyph->Height() : AImages->Height();
  }
  TcxAlphaBitmap* Image = GetImageBitmap(AGlyphWidth, AGlyphHeight);
  // A transparent key colour must survive resizing exactly: a keyed image is
  // resized pixel by pixel, never smoothed into blends of the key.
  TSize SourceSize = HasGlyph ? TSize{AGlyph->Width(), AGlyph->Height()}
                              : TSize{AImages->Width(), AImages->Height()};
  auto* GlyphBitmap = HasGlyph ? AsOrNull<TBitmap>(AGlyph) : nullptr;
  bool LeftBottomKey = AUseLeftBottomPixelAsTransparent &&
                       (NeedsLeftBottomMask(AGlyph) ||
                        (GlyphBitmap && GlyphBitmap->PixelFormat() != TPixelFormat::pf32bit));
  bool Keyed = cxColorIsValid(ATransparentColor) || LeftBottomKey;
  bool Resized = SourceSize.cx != AGlyphWidth || SourceSize.cy != AGlyphHeight;
  TdxDefaultBoolean State;
  if (HasGlyph) {
    cxStretchGraphic(Image, AGlyph, ASmoothResize && !(Keyed && Resized), APalette);
    bool ThirtyTwo = !GlyphBitmap || GlyphBitmap->PixelFormat() == TPixelFormat::pf32bit;
    State = ThirtyTwo ? bDefault : bFalse;
  } else {
    State = TcxCustomImageList::GetPixelFormat(AImages->Handle()) < 32 ? bFalse : bDefault;
    if (Keyed && Resized && SourceSize.cx > 0 && SourceSize.cy > 0) {
      TOwned<TcxAlphaBitmap> Entry(TcxAlphaBitmap::CreateSize(SourceSize.cx, SourceSize.cy));
      TcxCustomImageList::GetImageInfoCore(AImages, AImageIndex, Entry.get(), nullptr, APalette,
                                           State);
      cxStretchGraphic(Image, Entry.get(), false, nullptr);
    } else {
      TcxCustomImageList::GetImageInfoCore(AImages, AImageIndex, Image, nullptr, APalette, State);
    }
  }
  if (State == bDefault) State = dxBooleanToDefaultBoolean(Image->IsAlphaUsed());
  AIsAlphaUsed = State == bTrue;
  if (!AIsAlphaUsed) Image->TransformBitmap(btmSetOpaque);

  AMaskBitmap = nullptr;
  if (!AIsAlphaUsed || (AUseLeftBottomPixelAsTransparent && NeedsLeftBottomMask(AGlyph))) {
    AMaskBitmap = GetMaskBitmap(AGlyphWidth, AGlyphHeight);
    AMaskBitmap->CopyBitmap(Image);
    if (!HasGlyph) {
      TOwned<TcxAlphaBitmap> EntryMask(TcxAlphaBitmap::CreateSize(AGlyphWidth, AGlyphHeight));
      TcxCustomImageList::GetImageInfo(AImages, AImageIndex, nullptr, EntryMask.get(), APalette);
      EntryMask->TransformBitmap(btmCorrectBlend);
      AMaskBitmap->Filter(EntryMask.get());
    }
    if (cxColorIsValid(ATransparentColor)) AMaskBitmap->TransparentPixels()->Add(ATransparentColor);
    if (HasGlyph && AUseLeftBottomPixelAsTransparent)
      AMaskBitmap->TransparentPixels()->Add(AMaskBitmap->TransparentColor());
    AMaskBitmap->TransformBitmap(btmMakeMask);
    Image->Filter(AMaskBitmap);
  }
  return Image;
}

void cxDrawImage(HDC ADC, const TRect& AGlyphRect, const TRect& ABackgroundRect, TGraphic* AGlyph,
                 TCustomImageList* AImages, Integer AImageIndex, TcxImageDrawMode ADrawMode,
                 bool ASmoothImage, HBRUSH ABrush, TColor ATransparentColor,
                 bool AUseLeftBottomPixelAsTransparent, IdxColorPalette* APalette) {
  if (!IsImageAssigned(AGlyph, AImages, AImageIndex)) return;
  TcxAlphaBitmap* Draw = GetDrawBitmap(cxRectWidth(ABackgroundRect), cxRectHeight(ABackgroundRect));
  if (ABrush) {
    RECT R = Draw->ClientRect();
    FillRect(Draw->Canvas()->Handle(), &R, ABrush);
  } else {
    cxBitBlt(Draw->Canvas()->Handle(), ADC, Draw->ClientRect(),
             TPoint{ABackgroundRect.left, ABackgroundRect.top}, SRCCOPY);
  }
  TRect Glyph = cxRectOffset(AGlyphRect, -ABackgroundRect.left, -ABackgroundRect.top);
  if (!CustomDrawImageProc ||
      !CustomDrawImageProc(Draw->cxCanvas(), AImages, AImageIndex, AGlyph, Glyph, ADrawMode)) {
    TcxAlphaBitmap* Mask = nullptr;
    bool AlphaUsed = false;
    TcxAlphaBitmap* Image = cxPrepareBitmapForDrawing(
        AGlyph, AImages, AImageIndex, AUseLeftBottomPixelAsTransparent, ATransparentColor, APalette,
        cxRectWidth(Glyph), cxRectHeight(Glyph), ASmoothImage, Mask, AlphaUsed);
    Byte Alpha = 255;
    switch (ADrawMode) {
      case idmDisabled:
        if (AlphaUsed || !Mask) {
          Image->TransformBitmap(btmDisable);
          Alpha = 151;
        } else {
          Image->TransformBitmap(btmDirty);
          Image->DrawShadow(Mask, 1, clBtnHighlight, false);
        }
        break;
      case idmFaded:
        Image->TransformBitmap(btmFade);
        Alpha = 64;
        break;
      case idmGrayScale:
        Image->TransformBitmap(btmGrayScale);
        break;
      case idmDingy:
        Image->TransformBitmap(btmDingy);
        break;
      case idmShadowed:
        if (!Mask) {
          Mask = GetMaskBitmap(Image->Width(), Image->Height());
          Mask->CopyBitmap(Image);
          Mask->TransformBitmap(btmMakeMask);
        }
        Image->DrawShadow(Mask, 2, clBtnShadow, true);
        Glyph.right += 2;
        Glyph.bottom += 2;
        Glyph = cxRectOffset(Glyph, -1, -1);
        break;
      case idmNormal:
        break;
    }
    Image->AlphaBlend(Draw, Glyph, ASmoothImage, Alpha);
  }
  cxDrawBitmap(ADC, Draw, ABackgroundRect, TPoint{0, 0}, SRCCOPY);
}

void cxDrawImage(TcxCanvas* ACanvas, const TRect& ARect, TGraphic* AGlyph,
                 TCustomImageList* AImages, Integer AImageIndex, TcxImageFitMode AFitMode,
                 TcxImageDrawMode ADrawMode, bool AUseLeftBottomPixelAsTransparent,
                 IdxColorPalette* APalette, const TdxScaleFactor* AScaleFactor, bool ASmoothImage) {
  if (!AScaleFactor) AScaleFactor = dxDefaultScaleFactor();
  TSize Size = dxGetImageSize(AGlyph, AImages, AImageIndex, AScaleFactor);
  if (Size.cx == 0 || Size.cy == 0) return;
  TRect Glyph = cxGetImageRect(ARect, Size, AFitMode);
  if (!IsGlyphAssigned(AGlyph) && AImages->Is<TcxCustomImageList>()) {
    TdxImageListPaintCache::Draw(ACanvas, Glyph, AImages, AImageIndex, ADrawMode,
                                 AUseLeftBottomPixelAsTransparent, APalette, ASmoothImage);
    return;
  }
  cxDrawImage(ACanvas->Handle(), Glyph, Glyph, AGlyph, AImages, AImageIndex, ADrawMode,
              ASmoothImage, nullptr, clNone, AUseLeftBottomPixelAsTransparent, APalette);
}

void cxDrawImage(TcxCanvas* ACanvas, const TRect& ARect, TGraphic* AImage, TcxImageFitMode AFitMode,
                 IdxColorPalette* APalette, const TdxScaleFactor* AScaleFactor,
                 bool ASmoothResize) {
  bool LeftBottom = AImage && AImage->Transparent();
  cxDrawImage(ACanvas, ARect, AImage, nullptr, -1, AFitMode, idmNormal, LeftBottom, APalette,
              AScaleFactor, ASmoothResize);
}
