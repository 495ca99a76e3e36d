#include "cxGraphics.h"

#include <algorithm>

namespace {
Integer Channel(COLORREF AColor, int AShift) { return (AColor >> AShift) & 0xFF; }

Byte ClampChannel(Integer AValue) { return static_cast<Byte>(std::clamp<Integer>(AValue, 0, 255)); }

// Solid brush of one colour, deleted when the scope ends.
class TSolidBrush {
 public:
  explicit TSolidBrush(COLORREF AColor) : FHandle(CreateSolidBrush(AColor)) {}
  ~TSolidBrush() {
    if (FHandle) DeleteObject(FHandle);
  }
  TSolidBrush(const TSolidBrush&) = delete;
  TSolidBrush& operator=(const TSolidBrush&) = delete;
  HBRUSH Handle() const { return FHandle; }

 private:
  HBRUSH FHandle;
};

void FillRectRGB(HDC DC, const RECT& R, COLORREF AColor) {
  TSolidBrush Brush(AColor);
  FillRect(DC, &R, Brush.Handle());
}
}  // namespace

TColor dxGetNearestColor(TColor AColor) {
  HDC DC = GetDC(nullptr);
  COLORREF R = GetNearestColor(DC, static_cast<COLORREF>(AColor));
  ReleaseDC(nullptr, DC);
  return static_cast<TColor>(R);
}

TColor dxGetMiddleRGB(TColor AColor1, TColor AColor2, Integer APercent) {
  COLORREF C1 = dxColorToRGB(AColor1), C2 = dxColorToRGB(AColor2);
  auto Mix = [&](int AShift) {
    return std::min<Integer>(255, MulDiv(Channel(C1, AShift), APercent, 100) +
                                      MulDiv(Channel(C2, AShift), 100 - APercent, 100));
  };
  return dxGetNearestColor(static_cast<TColor>(RGB(Mix(0), Mix(8), Mix(16))));
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

bool IsHighContrastBlack() { return dxColorToRGB(clBtnFace) == 0; }

bool IsHighContrast2() { return IsHighContrastBlack() && dxColorToRGB(clBtnText) != 0xFFFFFF; }

void FillRectByColor(HDC DC, const TRect& R, TColor AColor) {
  if (AColor == clNone) return;
  FillRectRGB(DC, R, dxColorToRGB(AColor));
}

void FrameRectByColor(HDC DC, const TRect& R, TColor AColor) {
  if (AColor == clNone) return;
  TSolidBrush Brush(dxColorToRGB(AColor));
  RECT Rect = R;
  FrameRect(DC, &Rect, Brush.Handle());
}

void FillTubeGradientRect(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2,
                          Integer AGradientPercent, bool AHorizontal) {
  COLORREF C1 = dxColorToRGB(AColor1), C2 = dxColorToRGB(AColor2);
  if (C1 == C2) {
    FillRectRGB(DC, ARect, C1);
    return;
  }
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
  for (Integer I = 0; I < W; ++I) {
    RECT Band = ARect;
    if (AHorizontal) {
      Band.left = ARect.left + I;
      Band.right = Band.left + 1;
    } else {
      Band.top = ARect.top + I;
      Band.bottom = Band.top + 1;
    }
    FillRectRGB(DC, Band, RGB(Shade(I, 0), Shade(I, 8), Shade(I, 16)));
  }
}

void cxGraphics_Initialize() {
  TdxGraphicsRoutines& R = dxGraphicsRoutines();
  R.GetMiddleRGB = &dxGetMiddleRGB;
  R.GetLightColor = &GetLightColor;
  R.GetNearestColor = &dxGetNearestColor;
  R.IsHighContrastBlack = &IsHighContrastBlack;
  R.IsHighContrast2 = &IsHighContrast2;
  R.FillTubeGradientRect = &FillTubeGradientRect;
  R.FrameRectByColor = &FrameRectByColor;
}

void cxGraphics_Finalize() { dxGraphicsRoutines() = TdxGraphicsRoutines(); }
