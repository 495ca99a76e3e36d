#include "cxGraphics.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "cxGraphicsInternal.h"
#include "dxGDIPlusClasses.h"

using namespace cxGraphicsInternal;

namespace {
Integer Channel(COLORREF AColor, int AShift) { return (AColor >> AShift) & 0xFF; }

Byte ClampChannel(Integer AValue) { return static_cast<Byte>(std::clamp<Integer>(AValue, 0, 255)); }

void FillRectRGB(HDC DC, const RECT& R, COLORREF AColor) {
  TGdiHandle<HBRUSH> Brush(CreateSolidBrush(AColor));
  FillRect(DC, &R, Brush.Get());
}

struct TModuleState {
  HMODULE Msimg32 = nullptr;
  TPoint PixelsPerInch{dxDefaultDPI, dxDefaultDPI};
  HBRUSH HalfToneBrush = nullptr;
  bool Finalized = false;
};
TModuleState& Module() {
  static TModuleState S;
  return S;
}

HBRUSH CreateCheckerBrush(WORD AEven, WORD AOdd) {
  WORD Rows[8];
  for (int I = 0; I < 8; ++I) Rows[I] = (I % 2) ? AOdd : AEven;
  TBitmapHandle Pattern(CreateBitmap(8, 8, 1, 1, Rows));
  return CreatePatternBrush(Pattern.Get());
}
}  // namespace

bool cxGraphicsInternal::ModuleFinalized() { return Module().Finalized; }

// ---------------------------------------------------------------------------
// Colours
bool cxColorIsValid(TColor AColor) { return AColor != clNone && AColor != clDefault; }

void cxExchangeColors(TColor& AColor1, TColor& AColor2) { std::swap(AColor1, AColor2); }

TColor dxGetNearestColor(TColor AColor) {
  return static_cast<TColor>(GetNearestColor(TScreenDC().Get(), static_cast<COLORREF>(AColor)));
}

TColor dxInvertColor(TColor AColor) { return static_cast<TColor>(dxColorToRGB(AColor) ^ 0xFFFFFF); }

TColor dxGetDarkerColor(TColor AColor, Byte APercent) {
  COLORREF C = dxColorToRGB(AColor);
  auto D = [&](int AShift) { return static_cast<Byte>(APercent * Channel(C, AShift) / 100); };
  return static_cast<TColor>(RGB(D(0), D(8), D(16)));
}

TColor dxGetLighterColor(TColor AColor, Byte APercent) {
  COLORREF C = dxColorToRGB(AColor);
  auto L = [&](int AShift) {
    return static_cast<Byte>(std::trunc(255 - APercent / 100.0 * (255 - Channel(C, AShift))));
  };
  return static_cast<TColor>(RGB(L(0), L(8), L(16)));
}

TColor dxGetMiddleRGB(TColor AColor1, TColor AColor2, Integer APercent) {
  COLORREF C1 = dxColorToRGB(AColor1), C2 = dxColorToRGB(AColor2);
  auto Mix = [&](int AShift) {
    return std::min<Integer>(255, MulDiv(Channel(C1, AShift), APercent, 100) +
                                      MulDiv(Channel(C2, AShift), 100 - APercent, 100));
  };
  return dxGetNearestColor(static_cast<TColor>(RGB(Mix(0), Mix(8), Mix(16))));
}

TColor dxGetColorTint(TColor AColor, Integer ATintPercent) {
  TdxHSV HSV;
  dxColorToHSV(AColor, HSV);
  Double P = std::abs(ATintPercent);
  if (ATintPercent < 0) {
    if (HSV.S != 0) HSV.S = HSV.S + (1 - HSV.S) * P / 100;
    HSV.V = HSV.V - HSV.V * P / 100;
  } else {
    if (HSV.S != 0) HSV.S = HSV.S - HSV.S * P / 100;
    HSV.V = HSV.V + (1 - HSV.V) * P / 100;
  }
  HSV.S = std::clamp(HSV.S, 0.0, 1.0);
  HSV.V = std::clamp(HSV.V, 0.0, 1.0);
  return dxHSVToColor(HSV);
}

TColor GetLightColor(ShortInt ABtnFaceColorPart, ShortInt AHighlightColorPart,
                     ShortInt AWindowColorPart) {
  COLORREF F = dxColorToRGB(clBtnFace), H = dxColorToRGB(clHighlight), W = dxColorToRGB(clWindow);
  if ((F == 0 || F == 0xFFFFFF) && H != 0) return static_cast<TColor>(H);
  auto Mix = [&](int AShift) {
    return ClampChannel(MulDiv(Channel(F, AShift), ABtnFaceColorPart, 100) +
                        MulDiv(Channel(H, AShift), AHighlightColorPart, 100) +
                        MulDiv(Channel(W, AShift), AWindowColorPart, 100));
  };
  return static_cast<TColor>(RGB(Mix(0), Mix(8), Mix(16)));
}

TColor GetLightSelColor() { return dxGetNearestColor(GetLightColor(-2, 30, 72)); }

TColor GetLightDownedSelColor() { return dxGetNearestColor(GetLightColor(14, 44, 40)); }

bool IsHighContrastBlack() { return dxColorToRGB(clBtnFace) == 0; }

bool IsHighContrast2() { return IsHighContrastBlack() && dxColorToRGB(clBtnText) != 0xFFFFFF; }

namespace {
bool IsColorValue(TColor AColor) { return AColor != clNone && AColor != clDefault; }
Byte RoundByte(Double AValue) {
  return static_cast<Byte>(std::clamp<Double>(std::nearbyint(AValue), 0, 255));
}
}  // namespace

TdxHSV TdxColorSpaceConverter::ColorToHSV(TColor AColor) {
  TdxHSV R{0, 0, 0};
  if (!IsColorValue(AColor)) return R;
  RGBQUAD Q = dxColorToRGBQuad(AColor);
  Integer Red = Q.rgbRed, Green = Q.rgbGreen, Blue = Q.rgbBlue;
  Integer Max = std::max({Red, Green, Blue}), Min = std::min({Red, Green, Blue});
  R.V = Max / 255.0;
  R.S = R.V != 0 ? 1 - static_cast<Double>(Min) / Max : 0;
  if (Max != Min) {
    Double D = Max - Min;
    if (Red == Max)
      R.H = (Green - Blue) * 60 / D;
    else if (Green == Max)
      R.H = (Blue - Red) * 60 / D + 120;
    else
      R.H = (Red - Green) * 60 / D + 240;
    if (R.H < 0) R.H += 360;
  }
  return R;
}

TColor TdxColorSpaceConverter::HSVToColor(Double H, Double S, Double V) {
  // Out-of-range input (a hue of a full turn or more, S or V outside 0..1)
  // is brought into range instead of overflowing the channels.
  H = std::fmod(H, 360.0);
  if (H < 0) H += 360;
  S = std::clamp(S, 0.0, 1.0);
  V = std::clamp(V, 0.0, 1.0);
  Byte Max = RoundByte(V * 255);
  Byte Min = RoundByte(Max * (1 - S));
  Integer Sector = static_cast<Integer>(std::trunc(H / 60)) % 6;
  Double Frac = H / 60 - Sector;
  Byte Mid1 = RoundByte(Max * (1 - S * Frac)), Mid2 = RoundByte(Max * (1 - S * (1 - Frac)));
  Byte R, G, B;
  switch (Sector) {
    case 0:
      R = Max, G = Mid2, B = Min;
      break;
    case 1:
      R = Mid1, G = Max, B = Min;
      break;
    case 2:
      R = Min, G = Max, B = Mid2;
      break;
    case 3:
      R = Min, G = Mid1, B = Max;
      break;
    case 4:
      R = Mid2, G = Min, B = Max;
      break;
    default:
      R = Max, G = Min, B = Mid1;
  }
  return static_cast<TColor>(RGB(R, G, B));
}

TdxHSL TdxColorSpaceConverter::ColorToHSL(TColor AColor) {
  TdxHSL R{0, 0, 0};
  if (!IsColorValue(AColor)) return R;
  RGBQUAD Q = dxColorToRGBQuad(AColor);
  Double Red = Q.rgbRed / 255.0, Green = Q.rgbGreen / 255.0, Blue = Q.rgbBlue / 255.0;
  Double CMax = std::max({Red, Green, Blue}), CMin = std::min({Red, Green, Blue});
  R.L = (CMax + CMin) / 2;
  if (CMax == CMin) return R;
  Double D = CMax - CMin;
  R.S = R.L < 0.5 ? D / (CMax + CMin) : D / (2 - CMax - CMin);
  if (Red == CMax)
    R.H = (Green - Blue) / D;
  else if (Green == CMax)
    R.H = (Blue - Red) / D + 2;
  else
    R.H = (Red - Green) / D + 4;
  R.H /= 6;
  if (R.H < 0) R.H += 1;
  return R;
}

void TdxColorSpaceConverter::ColorToHSL(TColor AColor, Double& H, Double& S, Double& L) {
  TdxHSL R = ColorToHSL(AColor);
  H = R.H;
  S = R.S;
  L = R.L;
}

TColor TdxColorSpaceConverter::HSLToColor(Double H, Double S, Double L) {
  if (S == 0) {
    Byte G = RoundByte(L * 255);
    return static_cast<TColor>(RGB(G, G, G));
  }
  Double M2 = L > 0.5 ? L + S - L * S : L * (1 + S);
  Double M1 = 2 * L - M2;
  auto HueToColor = [&](Double AHue) {
    Double H6 = (AHue - std::floor(AHue)) * 6;
    Double V;
    if (H6 < 1)
      V = M1 + (M2 - M1) * H6;
    else if (H6 < 3)
      V = M2;
    else if (H6 < 4)
      V = M1 + (M2 - M1) * (4 - H6);
    else
      V = M1;
    return RoundByte(V * 255);
  };
  return static_cast<TColor>(RGB(HueToColor(H + 1.0 / 3), HueToColor(H), HueToColor(H - 1.0 / 3)));
}

// ---------------------------------------------------------------------------
// Fills and gradients
TcxGraphicsPlatform& cxGraphicsPlatform() {
  static TcxGraphicsPlatform P;
  return P;
}

void FillRectByColor(HDC DC, const TRect& R, TColor AColor) {
  if (AColor == clNone) return;
  FillRectRGB(DC, R, dxColorToRGB(AColor));
}

void FrameRectByColor(HDC DC, const TRect& R, TColor AColor) {
  if (AColor == clNone) return;
  TGdiHandle<HBRUSH> Brush(CreateSolidBrush(dxColorToRGB(AColor)));
  RECT Rect = R;
  FrameRect(DC, &Rect, Brush.Get());
}

namespace {
// One band of a gradient along its axis, from AStart to AEnd.
RECT GradientBand(const TRect& ARect, Integer AStart, Integer AEnd, bool AHorizontal) {
  RECT Band = ARect;
  if (AHorizontal) {
    Band.left = AStart;
    Band.right = AEnd;
  } else {
    Band.top = AStart;
    Band.bottom = AEnd;
  }
  return Band;
}
}  // namespace

void FillGradientRect(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2,
                      bool AHorizontal) {
  COLORREF C1 = dxColorToRGB(AColor1), C2 = dxColorToRGB(AColor2);
  if (C1 == C2) {
    FillRectByColor(DC, ARect, AColor1);
    return;
  }
  if (TcxGradientFillProc Fill = cxGraphicsPlatform().GradientFill) {
    auto Vertex = [](LONG X, LONG Y, COLORREF C) {
      return TRIVERTEX{X,
                       Y,
                       static_cast<COLOR16>(GetRValue(C) << 8),
                       static_cast<COLOR16>(GetGValue(C) << 8),
                       static_cast<COLOR16>(GetBValue(C) << 8),
                       0};
    };
    TRIVERTEX V[2] = {Vertex(ARect.left, ARect.top, C1), Vertex(ARect.right, ARect.bottom, C2)};
    GRADIENT_RECT G{0, 1};
    Fill(DC, V, 2, &G, 1, AHorizontal ? GRADIENT_FILL_RECT_H : GRADIENT_FILL_RECT_V);
    return;
  }
  Integer Start = AHorizontal ? ARect.left : ARect.top;
  Integer W = AHorizontal ? ARect.right - ARect.left : ARect.bottom - ARect.top;
  Integer N = std::min<Integer>(W, 256);
  if (N < 1) return;
  Integer BandStart = Start;
  for (Integer I = 0; I < N; ++I) {
    Integer BandEnd = Start + MulDiv(I + 1, W, N);
    auto Shade = [&](int AShift) {
      Integer F = Channel(C1, AShift), T = Channel(C2, AShift);
      return static_cast<Byte>(N == 1 ? F : F + MulDiv(I, T - F, N - 1));
    };
    if (BandEnd > BandStart)
      FillRectRGB(DC, GradientBand(ARect, BandStart, BandEnd, AHorizontal),
                  RGB(Shade(0), Shade(8), Shade(16)));
    if (BandEnd >= Start + W) break;
    BandStart = BandEnd;
  }
}

void FillTubeGradientRect(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2,
                          Integer AGradientPercent, bool AHorizontal) {
  COLORREF C1 = dxColorToRGB(AColor1), C2 = dxColorToRGB(AColor2);
  if (C1 == C2) {
    FillRectRGB(DC, ARect, C1);
    return;
  }
  Integer Start = AHorizontal ? ARect.left : ARect.top;
  Integer W = AHorizontal ? ARect.right - ARect.left : ARect.bottom - ARect.top;
  Integer M = W / 2;
  auto Shade = [&](Integer I, int AShift) {
    Integer F = Channel(C1, AShift), T = Channel(C2, AShift);
    Integer Mid = F - MulDiv(F - T, AGradientPercent, 200);
    if (I == M) return static_cast<Byte>(Mid);
    if (I < M) {
      Integer End1 = F - MulDiv(F - Mid, W, M);
      return static_cast<Byte>(F + MulDiv(I, End1 - F, W - 1));
    }
    Integer Start2 = T + MulDiv(Mid - T, W, M);
    return static_cast<Byte>(Start2 + MulDiv(I, T - Start2, W - 1));
  };
  for (Integer I = 0; I < W; ++I)
    FillRectRGB(DC, GradientBand(ARect, Start + I, Start + I + 1, AHorizontal),
                RGB(Shade(I, 0), Shade(I, 8), Shade(I, 16)));
}

// ---------------------------------------------------------------------------
// Raster helpers
void cxExcludeClipRect(HDC DC, const TRect& R) {
  ExcludeClipRect(DC, R.left, R.top, R.right, R.bottom);
}

void cxBitBlt(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TPoint& ASrcTopLeft,
              DWORD ROP) {
  BitBlt(ADestDC, ADestRect.left, ADestRect.top, cxRectWidth(ADestRect), cxRectHeight(ADestRect),
         ASrcDC, ASrcTopLeft.x, ASrcTopLeft.y, ROP);
}

void cxStretchBlt(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TRect& ASrcRect,
                  DWORD ROP) {
  StretchBlt(ADestDC, ADestRect.left, ADestRect.top, cxRectWidth(ADestRect),
             cxRectHeight(ADestRect), ASrcDC, ASrcRect.left, ASrcRect.top, cxRectWidth(ASrcRect),
             cxRectHeight(ASrcRect), ROP);
}

void cxDrawBitmap(HDC ADestDC, TBitmap* ASrcBitmap, const TRect& ADestRect, const TPoint& ASrcPoint,
                  DWORD AMode) {
  HPALETTE Palette = ASrcBitmap->Palette();
  HPALETTE Previous = nullptr;
  bool UsePalette = Palette && GetDeviceCaps(ADestDC, BITSPIXEL) <= 8;
  if (UsePalette) {
    Previous = SelectPalette(ADestDC, Palette, TRUE);
    RealizePalette(ADestDC);
  }
  cxBitBlt(ADestDC, ASrcBitmap->Canvas()->Handle(), ADestRect, ASrcPoint, AMode);
  if (UsePalette) SelectPalette(ADestDC, Previous, TRUE);
}

bool CanApplySystemAlphaBlending() { return cxGraphicsPlatform().AlphaBlend != nullptr; }

namespace {
// Halves to even, as the platform's rounding does; for 0 .. 2^22.
Integer RoundHalfEven(Single AValue) {
#if FLT_EVAL_METHOD == 0
  // Adding 1.5 x 2^23 leaves no bits below the unit, so the sum is rounded
  // to an integer by the current (nearest, halves to even) rounding; the
  // compiler may not fold the two steps away, as IEEE arithmetic forbids it.
  return static_cast<Integer>((AValue + 12582912.0f) - 12582912.0f);
#else
  Integer I = static_cast<Integer>(AValue);
  Single Fraction = AValue - static_cast<Single>(I);
  return I + ((Fraction > 0.5f || (Fraction == 0.5f && (I & 1))) ? 1 : 0);
#endif
}

Byte BlendedChannel(Single AValue) {
  return static_cast<Byte>(std::min(RoundHalfEven(AValue), 255));
}
}  // namespace

void cxBlendFunction(const RGBQUAD& ASource, RGBQUAD& ADest, Byte ASourceConstantAlpha) {
  // The factors are never negative: A is at most 255, so E is at least 0.
  Single K = ASourceConstantAlpha / 255.0f;
  Single A = K * ASource.rgbReserved;
  Single E = 1 - A / 255;
  auto Mix = [&](Byte S, Byte D) {
    return BlendedChannel(K * static_cast<Single>(S) + E * static_cast<Single>(D));
  };
  ADest.rgbBlue = Mix(ASource.rgbBlue, ADest.rgbBlue);
  ADest.rgbGreen = Mix(ASource.rgbGreen, ADest.rgbGreen);
  ADest.rgbRed = Mix(ASource.rgbRed, ADest.rgbRed);
  ADest.rgbReserved = BlendedChannel(A + E * static_cast<Single>(ADest.rgbReserved));
}

TBitmap* cxCreateBitmap(Integer AWidth, Integer AHeight, TPixelFormat AFormat) {
  TBitmap* B = Create<TBitmap>();
  B->SetPixelFormat(AFormat);
  B->SetSize(AWidth, AHeight);
  return B;
}

void cxClearBitmap(TBitmap* ABitmap) {
  if (ABitmap->Empty()) return;
  RECT R{0, 0, ABitmap->Width(), ABitmap->Height()};
  FillRect(ABitmap->Canvas()->Handle(), &R, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

HRGN cxCreateRegionFromBitmap(const RGBQUAD* APixels, Integer AWidth, Integer AHeight,
                              TColor ATransparentColor) {
  RGBQUAD T = dxColorToRGBQuad(ATransparentColor);
  auto Opaque = [&](const RGBQUAD& Q) {
    return Q.rgbRed != T.rgbRed || Q.rgbGreen != T.rgbGreen || Q.rgbBlue != T.rgbBlue;
  };
  TRegionHandle Result;
  auto AddRun = [&](Integer ALeft, Integer ARight, Integer AY) {
    TRegionHandle Run(CreateRectRgn(ALeft, AY, ARight, AY + 1));
    if (!Result)
      Result = std::move(Run);
    else
      CombineRgn(Result.Get(), Result.Get(), Run.Get(), RGN_OR);
  };
  for (Integer Y = 0; Y < AHeight; ++Y) {
    Integer RunLength = 0;
    for (Integer X = 0; X < AWidth; ++X) {
      if (Opaque(APixels[static_cast<size_t>(Y) * AWidth + X])) {
        ++RunLength;
      } else if (RunLength > 0) {
        AddRun(X - RunLength, X, Y);
        RunLength = 0;
      }
    }
    if (RunLength > 0) AddRun(AWidth - RunLength, AWidth, Y);
  }
  return Result.Release();
}

HRGN cxCreateRegionFromBitmap(TBitmap* ABitmap, TColor ATransparentColor) {
  TRGBColors Pixels;
  GetBitmapBits(ABitmap, Pixels, true);
  return cxCreateRegionFromBitmap(Pixels.data(), ABitmap->Width(), ABitmap->Height(),
                                  ATransparentColor);
}

HBITMAP cxCopyImage(HBITMAP ASrcHandle) {
  return static_cast<HBITMAP>(CopyImage(ASrcHandle, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

TSize cxGetCursorSize() {
  TSize Size{GetSystemMetrics(SM_CXCURSOR), GetSystemMetrics(SM_CYCURSOR)};
  ICONINFO Info{};
  if (!GetIconInfo(GetCursor(), &Info)) return Size;
  TGdiHandle<HBITMAP> MaskBitmap(Info.hbmMask), ColorBitmap(Info.hbmColor);
  BITMAP Mask{};
  if (!MaskBitmap.Get() || !cxGetBitmapData(MaskBitmap.Get(), Mask) || Mask.bmBitsPixel != 1 ||
      Mask.bmWidth <= 0)
    return Size;
  // The mask as a bottom-up DIB: its last width x S bytes are the rows of
  // the AND mask, bottom row first; a two-part mask has the XOR rows before.
  Integer Width = Mask.bmWidth, S = ((Width + 31) & ~31) / 8;
  struct {
    BITMAPINFOHEADER Header;
    RGBQUAD Colors[2];
  } DibInfo{};
  DibInfo.Header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), Width, Mask.bmHeight, 1, 1, BI_RGB};
  std::vector<Byte> Bits(static_cast<size_t>(S) * Mask.bmHeight);
  int Rows = GetDIBits(TMemoryDC(CreateCompatibleDC(nullptr)).Get(), MaskBitmap.Get(), 0,
                       static_cast<UINT>(Mask.bmHeight), Bits.data(),
                       reinterpret_cast<BITMAPINFO*>(&DibInfo), DIB_RGB_COLORS);
  size_t AreaSize = static_cast<size_t>(Width) * S;
  if (Rows != Mask.bmHeight || Bits.size() < AreaSize) return Size;
  // The bytes after the first one that APredicate picks, or -1 for none.
  auto CountAfter = [&](size_t AStart, size_t AEnd, auto APredicate) -> Integer {
    for (size_t I = AStart; I < AEnd; ++I)
      if (APredicate(Bits[I])) return static_cast<Integer>(AEnd - I - 1);
    return -1;
  };
  size_t A = Bits.size() - AreaSize;
  Integer Count = CountAfter(A, Bits.size(), [](Byte B) { return B != 0xFF; });
  if (Count < 0 && Mask.bmHeight >= 2 * Width && A >= AreaSize)
    Count = CountAfter(A - AreaSize, A, [](Byte B) { return B != 0; });
  if (Count >= 0) {
    Size.cx = Width;
    Size.cy = Count / S - static_cast<Integer>(Info.yHotspot);
  }
  return Size;
}

bool cxGetBitmapData(HBITMAP ABitmapHandle, BITMAP& ABitmapData) {
  return GetObjectW(ABitmapHandle, sizeof(ABitmapData), &ABitmapData) != 0;
}
bool cxGetBrushData(HBRUSH ABrushHandle, LOGBRUSH& ALogBrush) {
  return GetObjectW(ABrushHandle, sizeof(ALogBrush), &ALogBrush) != 0;
}
bool cxGetFontData(HFONT AFontHandle, LOGFONTW& ALogFont) {
  return GetObjectW(AFontHandle, sizeof(ALogFont), &ALogFont) != 0;
}
bool cxGetPenData(HPEN APenHandle, LOGPEN& ALogPen) {
  return GetObjectW(APenHandle, sizeof(ALogPen), &ALogPen) != 0;
}

TPoint cxGetPixelsPerInch() { return Module().PixelsPerInch; }
Integer cxGetCurrentDPI() { return Module().PixelsPerInch.y; }
HBRUSH cxHalfToneBrush() { return Module().HalfToneBrush; }

// ---------------------------------------------------------------------------
// Alpha blending
namespace {
// A 32-bit copy of a part of a device context.
// (Filling it black first would change nothing: the copy covers it whole
// and a copy from a DC of fewer bits leaves alpha 0, as the fill does.)
TOwned<TcxBitmap> CopyOfDC(HDC ADC, const TRect& ARect) {
  TOwned<TcxBitmap> B(TcxBitmap::CreateSize(ARect, TPixelFormat::pf32bit));
  cxBitBlt(B->Canvas()->Handle(), ADC, B->ClientRect(), TPoint{ARect.left, ARect.top}, SRCCOPY);
  return B;
}

// cxBlendFunction over AWidth x AHeight pixels, rows given by the two
// callables (top row 0), with its products looked up: the same
// single-precision operations, each done once.
template <class TDestRow, class TSourceRow>
void SoftwareBlend(Integer AWidth, Integer AHeight, TDestRow ADestRow, TSourceRow ASourceRow,
                   Byte AConstantAlpha) {
  Single K = AConstantAlpha / 255.0f;
  Single BySource[256];
  for (int V = 0; V < 256; ++V) BySource[V] = K * static_cast<Single>(V);
  // E * D for a source alpha, made when that alpha first turns up.
  std::vector<Single> ByDest(256 * 256);
  bool Made[256] = {};
  auto DestFactors = [&](Byte ASourceAlpha) {
    Single* Row = &ByDest[static_cast<size_t>(ASourceAlpha) * 256];
    if (!Made[ASourceAlpha]) {
      Single E = 1 - BySource[ASourceAlpha] / 255;
      for (int V = 0; V < 256; ++V) Row[V] = E * static_cast<Single>(V);
      Made[ASourceAlpha] = true;
    }
    return Row;
  };
  for (Integer Y = 0; Y < AHeight; ++Y) {
    RGBQUAD* D = ADestRow(Y);
    const RGBQUAD* S = ASourceRow(Y);
    for (Integer X = 0; X < AWidth; ++X) {
      const RGBQUAD& Src = S[X];
      RGBQUAD& Dst = D[X];
      const Single* E = DestFactors(Src.rgbReserved);
      Dst.rgbBlue = BlendedChannel(BySource[Src.rgbBlue] + E[Dst.rgbBlue]);
      Dst.rgbGreen = BlendedChannel(BySource[Src.rgbGreen] + E[Dst.rgbGreen]);
      Dst.rgbRed = BlendedChannel(BySource[Src.rgbRed] + E[Dst.rgbRed]);
      Dst.rgbReserved = BlendedChannel(BySource[Src.rgbReserved] + E[Dst.rgbReserved]);
    }
  }
}

auto BitmapRows(TBitmap* ABitmap) {
  return [ABitmap](Integer Y) { return static_cast<RGBQUAD*>(ABitmap->ScanLine(Y)); };
}

// Where ARect of a DC can be written in memory: the 32-bit DIB section
// selected into it, when the DC only offsets coordinates and no clipping
// cuts into the rectangle, so that writing there is what drawing would do.
struct TDirectPixels {
  Byte* TopRow = nullptr;
  ptrdiff_t Stride = 0;
  RGBQUAD* Row(Integer Y) const { return reinterpret_cast<RGBQUAD*>(TopRow + Y * Stride); }
};

bool DirectPixels(HDC ADC, const TRect& ARect, TDirectPixels& APixels) {
  if (GetMapMode(ADC) != MM_TEXT || GetGraphicsMode(ADC) != GM_COMPATIBLE) return false;
  DIBSECTION Dib{};
  if (GetObjectW(GetCurrentObject(ADC, OBJ_BITMAP), sizeof(Dib), &Dib) != sizeof(Dib) ||
      !Dib.dsBm.bmBits || Dib.dsBm.bmBitsPixel != 32 || Dib.dsBmih.biCompression != BI_RGB)
    return false;
  POINT Corners[2] = {{ARect.left, ARect.top}, {ARect.right, ARect.bottom}};
  LPtoDP(ADC, Corners, 2);
  TRect Device = cxRect(Corners[0].x, Corners[0].y, Corners[1].x, Corners[1].y);
  if (Device.left < 0 || Device.top < 0 || Device.right > Dib.dsBm.bmWidth ||
      Device.bottom > Dib.dsBm.bmHeight || cxRectWidth(Device) != cxRectWidth(ARect) ||
      cxRectHeight(Device) != cxRectHeight(ARect))
    return false;
  TGdiHandle<HRGN> Clip(CreateRectRgn(0, 0, 0, 0));
  int HasClip = GetClipRgn(ADC, Clip.Get());
  if (HasClip < 0) return false;
  if (HasClip == 1) {
    TGdiHandle<HRGN> Area(CreateRectRgnIndirect(&Device)), Visible(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(Visible.Get(), Area.Get(), Clip.Get(), RGN_AND);
    if (!EqualRgn(Visible.Get(), Area.Get())) return false;
  }
  GdiFlush();
  auto* Bits = static_cast<Byte*>(Dib.dsBm.bmBits);
  ptrdiff_t Stride = Dib.dsBm.bmWidthBytes;
  bool BottomUp = Dib.dsBmih.biHeight > 0;
  Byte* Top =
      BottomUp ? Bits + (Dib.dsBm.bmHeight - 1 - Device.top) * Stride : Bits + Device.top * Stride;
  APixels.TopRow = Top + Device.left * 4;
  APixels.Stride = BottomUp ? -Stride : Stride;
  return true;
}

// The source drawn with GDI+ on a buffered paint over the destination; a
// part of the source is first copied out, as the drawing takes whole
// bitmaps.
void GdiPlusAlphaBlend(HDC ADestDC, TBitmap* ASource, const TRect& ADestRect, const TRect& ASrcRect,
                       bool ASmooth, Byte AConstantAlpha) {
  TOwned<TcxBitmap> Part;
  if (ASrcRect != cxGetImageClientRect(ASource)) {
    Part.reset(TcxBitmap::CreateSize(ASrcRect, TPixelFormat::pf32bit));
    cxBitBlt(Part->Canvas()->Handle(), ASource->Canvas()->Handle(), Part->ClientRect(),
             TPoint{ASrcRect.left, ASrcRect.top}, SRCCOPY);
    ASource = Part.get();
  }
  TdxGPCustomPaintCanvas* Canvas = dxGpBeginPaint(ADestDC, ADestRect);
  auto End = Finally([&Canvas] { dxGpEndPaint(Canvas); });
  Canvas->SetInterpolationMode(ASmooth ? imHighQualityBicubic : imNearestNeighbor);
  Canvas->SetPixelOffsetMode(PixelOffsetModeHalf);
  Canvas->DrawBitmap(ASource, ADestRect, AConstantAlpha);
}

// The source stretched to the destination rectangle's size, then blended
// onto the destination by the system blend, or pixel by pixel when that is
// missing or fails. The result is that of blending onto a 32-bit copy of
// the destination and copying it back; the copies are made only where no
// other way gives the same pixels.
void StretchedAlphaBlend(HDC ADestDC, TBitmap* ADestBitmap, TBitmap* ASource,
                         const TRect& ADestRect, const TRect& ASrcRect, bool ASmooth,
                         Byte AConstantAlpha) {
  Integer W = cxRectWidth(ADestRect), H = cxRectHeight(ADestRect);
  TOwned<TcxBitmap> OwnStretched;
  TBitmap* Stretched = ASource;
  if (ASrcRect != cxGetImageClientRect(ASource) || cxRectWidth(ASrcRect) != W ||
      cxRectHeight(ASrcRect) != H || ASource->PixelFormat() != TPixelFormat::pf32bit) {
    OwnStretched.reset(TcxBitmap::CreateSize(W, H, TPixelFormat::pf32bit));
    cxStretchGraphic(OwnStretched.get(), ASource, OwnStretched->ClientRect(), ASrcRect, ASmooth);
    Stretched = OwnStretched.get();
  }
  // A given 32-bit bitmap is the destination surface itself when the
  // rectangle covers it; otherwise only the rectangle is touched.
  bool WholeBitmap = ADestBitmap && ADestBitmap->PixelFormat() == TPixelFormat::pf32bit &&
                     ADestRect == cxGetImageClientRect(ADestBitmap);
  if (TcxAlphaBlendProc Blend = cxGraphicsPlatform().AlphaBlend) {
    BLENDFUNCTION F{AC_SRC_OVER, 0, AConstantAlpha, AC_SRC_ALPHA};
    if (Blend(ADestDC, ADestRect.left, ADestRect.top, W, H, Stretched->Canvas()->Handle(), 0, 0, W,
              H, F))
      return;
  }
  if (WholeBitmap) {
    SoftwareBlend(W, H, BitmapRows(ADestBitmap), BitmapRows(Stretched), AConstantAlpha);
    return;
  }
  TDirectPixels Direct;
  if (DirectPixels(ADestDC, ADestRect, Direct)) {
    SoftwareBlend(
        W, H, [&Direct](Integer Y) { return Direct.Row(Y); }, BitmapRows(Stretched),
        AConstantAlpha);
    return;
  }
  TOwned<TcxBitmap> Copy = CopyOfDC(ADestDC, ADestRect);
  SoftwareBlend(W, H, BitmapRows(Copy.get()), BitmapRows(Stretched), AConstantAlpha);
  cxBitBlt(ADestDC, Copy->Canvas()->Handle(), ADestRect, TPoint{0, 0}, SRCCOPY);
}

void AlphaBlendRoads(HDC ADestDC, TBitmap* ADestBitmap, TBitmap* ASrcBitmap, const TRect& ADestRect,
                     const TRect& ASrcRect, bool ASmoothImage, Byte AConstantAlpha) {
  if (cxRectIsEmpty(ADestRect) || cxRectIsEmpty(ASrcRect)) return;
  bool Smooth = ASmoothImage && (cxRectWidth(ADestRect) != cxRectWidth(ASrcRect) ||
                                 cxRectHeight(ADestRect) != cxRectHeight(ASrcRect));
  const TcxGraphicsPlatform& P = cxGraphicsPlatform();
  HDC SrcDC = ASrcBitmap->Canvas()->Handle();
  if (!P.IsWin64Bit && !P.IsWin9X && P.AlphaBlend && !Smooth) {
    BLENDFUNCTION F{AC_SRC_OVER, 0, AConstantAlpha, AC_SRC_ALPHA};
    P.AlphaBlend(ADestDC, ADestRect.left, ADestRect.top, cxRectWidth(ADestRect),
                 cxRectHeight(ADestRect), SrcDC, ASrcRect.left, ASrcRect.top, cxRectWidth(ASrcRect),
                 cxRectHeight(ASrcRect), F);
    return;
  }
  // Without gdiplus.dll the 64-bit road would fail at the first call; the
  // stretched road gives the same picture.
  if (P.IsWin64Bit && CheckGdiPlus())
    GdiPlusAlphaBlend(ADestDC, ASrcBitmap, ADestRect, ASrcRect, Smooth, AConstantAlpha);
  else
    StretchedAlphaBlend(ADestDC, ADestBitmap, ASrcBitmap, ADestRect, ASrcRect, Smooth,
                        AConstantAlpha);
}
}  // namespace

void cxAlphaBlend(TBitmap* ADestBitmap, TBitmap* ASrcBitmap, const TRect& ADestRect,
                  const TRect& ASrcRect, bool ASmoothImage, Byte AConstantAlpha) {
  AlphaBlendRoads(ADestBitmap->Canvas()->Handle(), ADestBitmap, ASrcBitmap, ADestRect, ASrcRect,
                  ASmoothImage, AConstantAlpha);
}

void cxAlphaBlend(HDC ADestDC, TBitmap* ASrcBitmap, const TRect& ADestRect, const TRect& ASrcRect,
                  bool ASmoothImage, Byte AConstantAlpha) {
  AlphaBlendRoads(ADestDC, nullptr, ASrcBitmap, ADestRect, ASrcRect, ASmoothImage, AConstantAlpha);
}

// ---------------------------------------------------------------------------
// Module start-up and shut-down
void cxGraphics_Initialize() {
  TModuleState& M = Module();
  M.Finalized = false;
  M.HalfToneBrush = CreateCheckerBrush(0xAA, 0x55);
  TcxGraphicsPlatform& P = cxGraphicsPlatform();
  P = TcxGraphicsPlatform{};
  P.IsWin64Bit = IsWin64Bit;
  P.IsWin9X = IsWin9X;
  P.IsWinNT = IsWinNT;
  M.Msimg32 = LoadLibraryW(L"msimg32.dll");
  if (M.Msimg32) {
    P.GradientFill =
        reinterpret_cast<TcxGradientFillProc>(GetProcAddress(M.Msimg32, "GradientFill"));
    P.AlphaBlend = reinterpret_cast<TcxAlphaBlendProc>(GetProcAddress(M.Msimg32, "AlphaBlend"));
  }
  RegisterClass(TcxBitmap::StaticClass());
  RegisterClass(TcxBitmap32::StaticClass());
  {
    TScreenDC DC;
    M.PixelsPerInch =
        TPoint{GetDeviceCaps(DC.Get(), LOGPIXELSX), GetDeviceCaps(DC.Get(), LOGPIXELSY)};
  }
  PaintSkipList().clear();

  TdxGraphicsRoutines& R = dxGraphicsRoutines();
  R.GetMiddleRGB = &dxGetMiddleRGB;
  R.GetLightColor = &GetLightColor;
  R.GetNearestColor = &dxGetNearestColor;
  R.IsHighContrastBlack = &IsHighContrastBlack;
  R.IsHighContrast2 = &IsHighContrast2;
  R.FillTubeGradientRect = &FillTubeGradientRect;
  R.FrameRectByColor = &FrameRectByColor;
  InitializeImageListServices();
}

void cxGraphics_Finalize() {
  TModuleState& M = Module();
  M.Finalized = true;
  FinalizeImageListServices();
  dxGraphicsRoutines() = TdxGraphicsRoutines();
  if (M.HalfToneBrush) DeleteObject(M.HalfToneBrush);
  M.HalfToneBrush = nullptr;
  PaintSkipList().clear();
  FreeSharedCanvases();
  FreeScratchBitmaps();
  cxGraphicsPlatform() = TcxGraphicsPlatform{};
  if (M.Msimg32) FreeLibrary(M.Msimg32);
  M.Msimg32 = nullptr;
}
