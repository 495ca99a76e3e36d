// The progress bar's painting: every bar style into an off-screen bitmap of
// the bar, the text over it, and the timers that move the animation segment.
#include <algorithm>

#include "cxLookAndFeelPainters.h"
#include "cxProgressBar.h"
#include "dxUxTheme.h"

namespace {

// Theme parts of the progress class; every themed drawing uses state 1.
constexpr Integer PP_BAR_PART = 1;
constexpr Integer PP_BARVERT_PART = 2;
constexpr Integer PP_CHUNK_PART = 3;
constexpr Integer PP_CHUNKVERT_PART = 4;
constexpr Cardinal AnimationTimerInterval = 30;
constexpr Integer LEDGap = 2;

Integer BarThemePart(TcxProgressBarOrientation AOrientation) {
  return AOrientation == cxorHorizontal ? PP_BAR_PART : PP_BARVERT_PART;
}
Integer ChunkThemePart(TcxProgressBarOrientation AOrientation) {
  return AOrientation == cxorHorizontal ? PP_CHUNK_PART : PP_CHUNKVERT_PART;
}

void ExcludeRect(HDC DC, const TRect& R) {
  if (!cxRectIsEmpty(R)) ExcludeClipRect(DC, R.left, R.top, R.right, R.bottom);
}

void Gradient(TcxCanvas* ACanvas, const TRect& R, TColor AFrom, TColor ATo, bool AHorizontal) {
  if (!cxRectIsEmpty(R)) FillGradientRect(ACanvas->Handle(), R, AFrom, ATo, AHorizontal);
}

}  // namespace

IMPLEMENT_CLASS(TcxCustomProgressBarViewInfo)

TcxCustomProgressBarViewInfo::TcxCustomProgressBarViewInfo() = default;

TcxCustomProgressBarViewInfo::~TcxCustomProgressBarViewInfo() = default;

void TcxCustomProgressBarViewInfo::AfterConstruction() {
  inherited::AfterConstruction();
  FForegroundImage = MakeOwned<TBitmap>();
  FUsualBitmap.reset(TcxBitmap32::CreateSize(0, 0));
  FThemeNotificator = MakeOwned<TdxThemeChangedNotificator>();
  FThemeNotificator->SetOnThemeChanged(
      MakeEvent<&TcxCustomProgressBarViewInfo::ThemeChanged>(this));
}

void TcxCustomProgressBarViewInfo::BeforeDestruction() {
  FDestroying = true;
  StopAnimationTimer();
  FAnimationRestartDelayTimer.reset();
  FThemeNotificator.reset();
  inherited::BeforeDestruction();
}

void TcxCustomProgressBarViewInfo::ThemeChanged() { DropThemedBitmaps(); }

void TcxCustomProgressBarViewInfo::DropThemedBitmaps() {
  FNativeBitmap.reset();
  FVistaStyleMarqueeBitmap.reset();
}

void TcxCustomProgressBarViewInfo::Offset(Integer DX, Integer DY) {
  inherited::Offset(DX, DY);
  BarRect = cxRectOffset(BarRect, DX, DY);
  ProgressBarRect = cxRectOffset(ProgressBarRect, DX, DY);
  OverloadBarRect = cxRectOffset(OverloadBarRect, DX, DY);
  PeakBarRect = cxRectOffset(PeakBarRect, DX, DY);
}

String TcxCustomProgressBarViewInfo::GetDrawText() {
  return cxProgressBarDrawText(FPosition, FMin, FMax, FMarquee, FShowTextStyle, FText);
}

Integer TcxCustomProgressBarViewInfo::GetPercentDone() {
  return cxProgressBarPercent(FPosition, FMin, FMax, FMarquee);
}

bool TcxCustomProgressBarViewInfo::NeedsPainting() {
  return FIsBoundsChanged || (FEdit && FEdit->DoubleBuffered()) ||
         (FShowText && !GetDrawText().empty());
}

bool TcxCustomProgressBarViewInfo::Repaint(TWinControl* AControl, const TRect& AInnerEditRect,
                                           TcxCustomEditViewInfo* AViewInfo) {
  if (!NeedsPainting()) return false;
  return inherited::Repaint(AControl, AInnerEditRect, AViewInfo);
}

// ---------------------------------------------------------------------------
// Settings that restart the animation

void TcxCustomProgressBarViewInfo::SetAnimationPath(TcxProgressBarAnimationPath AValue) {
  if (AValue == FAnimationPath) return;
  FAnimationPath = AValue;
  StartAnimationTimer();
}

void TcxCustomProgressBarViewInfo::SetMarquee(bool AValue) {
  if (AValue == FMarquee) return;
  FMarquee = AValue;
  StartAnimationTimer();
}

void TcxCustomProgressBarViewInfo::SetBarStyle(TcxProgressBarBarStyle AValue) {
  if (AValue == FBarStyle) return;
  FBarStyle = AValue;
  StartAnimationTimer();
}

void TcxCustomProgressBarViewInfo::SetOrientation(TcxProgressBarOrientation AValue) {
  if (AValue == FOrientation) return;
  FOrientation = AValue;
  StartAnimationTimer();
}

void TcxCustomProgressBarViewInfo::SetAnimationSpeed(Cardinal AValue) {
  if (AValue == FAnimationSpeed) return;
  FAnimationSpeed = AValue;
  if (FAnimationTimer) {
    FAnimationTimer->SetInterval(AnimationTimerInterval);
    FAnimationTimer->SetEnabled(FAnimationSpeed != 0);
  } else if (FAnimationSpeed != 0) {
    StartAnimationTimer();
  }
}

// ---------------------------------------------------------------------------
// Animation

bool TcxCustomProgressBarViewInfo::CanAnimationBarShow() {
  return (cxIsAnimationStyle(FBarStyle) || FMarquee) && FAnimationSpeed > 0 && !IsDesigning &&
         !IsInplace && !FDestroying;
}

void TcxCustomProgressBarViewInfo::StartAnimationTimer() {
  StopAnimationTimer();
  if (!CanAnimationBarShow()) return;
  FAnimationTimer.reset(cxCreateTimer(
      MakeEvent<&TcxCustomProgressBarViewInfo::DoAnimationTimer>(this), AnimationTimerInterval));
  FAnimationPosition = 0;
  FAnimationDirection = 1;
}

void TcxCustomProgressBarViewInfo::StopAnimationTimer() { FAnimationTimer.reset(); }

Integer TcxCustomProgressBarViewInfo::GetAnimationBarDimension() {
  return GetScaleFactor()->Apply(FBarStyle == cxbsAnimation && NativeStyle ? 127 : 50);
}

Integer TcxCustomProgressBarViewInfo::GetAnimationPathLength() {
  const Integer AExtent =
      IsHorizontal() ? cxRectWidth(ProgressBarRect) : cxRectHeight(ProgressBarRect);
  const Integer D = GetAnimationBarDimension();
  return FAnimationPath == cxapCycle ? AExtent + D : AExtent - D;
}

TRect TcxCustomProgressBarViewInfo::GetCorrectAnimationBarRect() {
  const Integer D = GetAnimationBarDimension();
  const Integer AShift = FAnimationPath == cxapCycle ? FAnimationPosition - D : FAnimationPosition;
  TRect R = ProgressBarRect;
  if (IsHorizontal()) {
    R.right = R.left + D;
    return cxRectOffset(R, AShift, 0);
  }
  R.bottom = R.top + D;
  return cxRectOffset(R, 0, AShift);
}

void TcxCustomProgressBarViewInfo::DoAnimationTimer(TObject*) {
  if (!CanAnimationBarShow()) {
    StopAnimationTimer();
    return;
  }
  if (!FAnimationTimer) return;
  CalcAnimationCurrentPosition();
  if (FEdit && FEdit->HandleAllocated()) FEdit->InvalidateRect(BarRect, false);
}

void TcxCustomProgressBarViewInfo::CalcAnimationCurrentPosition() {
  if (FAnimationRestartDelayTimer) return;
  FAnimationPosition += static_cast<Integer>(FAnimationSpeed) * 2 * FAnimationDirection;
  const Integer APath = GetAnimationPathLength();
  if (FAnimationPath == cxapCycle) {
    if (FAnimationPosition > APath) {
      FAnimationPosition = 0;
      FAnimationDirection = 1;
      StartAnimationRestartDelayTimer();
    }
  } else if (FAnimationPosition > APath) {
    FAnimationDirection = -1;
    FAnimationPosition = APath;
    StartAnimationRestartDelayTimer();
  } else if (FAnimationPosition < 0) {
    FAnimationPosition = 0;
    FAnimationDirection = 1;
    StartAnimationRestartDelayTimer();
  }
}

void TcxCustomProgressBarViewInfo::StartAnimationRestartDelayTimer() {
  FAnimationRestartDelayTimer.reset();
  if (FAnimationRestartDelay == 0) return;
  FAnimationRestartDelayTimer.reset(
      cxCreateTimer(MakeEvent<&TcxCustomProgressBarViewInfo::DoAnimationRestartDelayTimer>(this),
                    FAnimationRestartDelay));
}

void TcxCustomProgressBarViewInfo::DoAnimationRestartDelayTimer(TObject*) {
  // The timer frees itself from its own event: the timer window touches it
  // no more after the call.
  FAnimationRestartDelayTimer.reset();
}

// ---------------------------------------------------------------------------
// Painting

void TcxCustomProgressBarViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (FIsBarRectChanged) {
    FUsualBitmap->SetSize(cxRectWidth(BarRect), cxRectHeight(BarRect));
    FIsBarRectChanged = false;
  }
  // Painting is asked for by the window (uncovered, resized) as well as by
  // the bar's own changes, so it always paints; what did not move is never
  // invalidated (Repaint).
  if (!FUsualBitmap) return;
  if (UseSkins) {
    PaintProgressBarByPainter(ACanvas);
    return;
  }
  if (!AreVisualStylesMustBeUsed(NativeStyle, totProgress) && (!IsInplace || !Transparent))
    DrawCustomEdit(ACanvas, true, true);
  PaintProgressBar(ACanvas);
}

Integer TcxCustomProgressBarViewInfo::CalcLEDsWidth() {
  const Integer AThickness =
      IsHorizontal() ? cxRectHeight(ProgressBarRect) : cxRectWidth(ProgressBarRect);
  Integer R = 2 * AThickness / 3 + 2;
  if (FBarStyle == cxbsBitmapLEDs && !FForegroundImage->Empty())
    R = std::min(R, IsHorizontal() ? FForegroundImage->Width() : FForegroundImage->Height());
  return R;
}

void TcxCustomProgressBarViewInfo::AdjustForLEDsBarBounds(TRect& AProgress, TRect& AOverload,
                                                          Integer ALEDsWidth) {
  if (!FRealShowOverload || ALEDsWidth <= 0) return;
  if (IsHorizontal()) {
    const Integer D = cxRectWidth(AProgress) % ALEDsWidth;
    AProgress.right -= D;
    AOverload.left -= D;
  } else {
    const Integer D = cxRectHeight(AProgress) % ALEDsWidth;
    AProgress.top += D;
    AOverload.bottom += D;
  }
}

void TcxCustomProgressBarViewInfo::ExcludeRects(TcxCanvas* ACanvas, const TRect& R,
                                                const TRect& ABounds) {
  if (!IsNativeAnimation()) {
    ACanvas->IntersectClipRect(R);
    return;
  }
  const HDC DC = ACanvas->Handle();
  if (IsHorizontal()) {
    ExcludeRect(DC, TRect{R.right, ABounds.top, ABounds.right, ABounds.bottom});
    ExcludeRect(DC, TRect{ABounds.left, ABounds.top, R.left, ABounds.bottom});
  } else {
    ExcludeRect(DC, TRect{ABounds.left, ABounds.top, ABounds.right, R.top});
    ExcludeRect(DC, TRect{ABounds.left, R.bottom, ABounds.right, ABounds.bottom});
  }
}

void TcxCustomProgressBarViewInfo::ExcludeLEDRects(TcxCanvas* ACanvas, const TRect& R,
                                                   Integer ALEDsWidth) {
  if (!cxIsLEDStyle(FBarStyle) || ALEDsWidth <= 0) return;
  const HDC DC = ACanvas->Handle();
  if (IsHorizontal()) {
    const Integer N = cxRectWidth(R) / ALEDsWidth;
    for (Integer I = 1; I <= N; ++I)
      ExcludeRect(
          DC, TRect{R.left + ALEDsWidth * I - LEDGap, R.top, R.left + ALEDsWidth * I, R.bottom});
  } else {
    const Integer N = cxRectHeight(R) / ALEDsWidth;
    for (Integer I = 1; I <= N; ++I)
      ExcludeRect(DC, TRect{R.left, R.bottom - ALEDsWidth * I, R.right,
                            R.bottom - ALEDsWidth * I + LEDGap});
  }
}

void TcxCustomProgressBarViewInfo::PaintProgressBar(TcxCanvas* ACanvas) {
  ACanvas->SaveState();
  auto ARestoreCanvas = Finally([ACanvas] { ACanvas->RestoreState(); });
  const TPoint O = TPoint{BarRect.left, BarRect.top};
  TRect AProgress = cxRectOffset(ProgressBarRect, -O.x, -O.y);
  TRect AOverload = cxRectOffset(OverloadBarRect, -O.x, -O.y);
  const TRect APeak = cxRectOffset(PeakBarRect, -O.x, -O.y);
  const TRect AAnimation = cxRectOffset(GetCorrectAnimationBarRect(), -O.x, -O.y);
  const Integer ALEDs = CalcLEDsWidth();
  if (cxIsLEDStyle(FBarStyle)) AdjustForLEDsBarBounds(AProgress, AOverload, ALEDs);
  TRect ASolid = FRealShowOverload ? cxRectUnion(AProgress, AOverload) : AProgress;
  const TRect B{0, 0, cxRectWidth(BarRect), cxRectHeight(BarRect)};

  TcxCanvas* BC = FUsualBitmap->cxCanvas();
  BC->SaveClipRegion();
  DrawBackground(BC, ACanvas, B);
  if (UseRightToLeftAlignment) FUsualBitmap->Flip(true, false);
  if (FMarquee && !IsInplace) {
    ExcludeRects(BC, ASolid, B);
    ExcludeRects(BC, AAnimation, B);
    ExcludeLEDRects(BC, AAnimation, ALEDs);
    ASolid = AAnimation;
  } else {
    ExcludeRects(BC, ASolid, B);
    ExcludeLEDRects(BC, ASolid, ALEDs);
  }

  switch (FBarStyle) {
    case cxbsSolid:
    case cxbsLEDs:
    case cxbsGradient:
    case cxbsGradientLEDs:
      if ((FBarStyle == cxbsSolid || FBarStyle == cxbsLEDs) && !NativeStyle)
        DrawSolidBar(BC, AProgress, AOverload);
      else
        DrawGradientBar(BC, AProgress, B, AOverload);
      if (!cxIsLEDStyle(FBarStyle)) PaintBarBevelOuter(BC, ASolid);
      break;
    case cxbsBitmap:
    case cxbsBitmapLEDs:
      if (!FForegroundImage->Empty()) DrawBarBitmap(BC, ASolid);
      break;
    case cxbsAnimation:
    case cxbsAnimationLEDs:
      if (!(FMarquee && (IsDesigning || (FBarStyle == cxbsAnimation && NativeStyle))))
        DrawAnimationBarBackground(BC, ASolid, true, FBeginColor);
      if (FMarquee)
        DrawVistaStyleMarquee(BC, AAnimation);
      else
        DrawAnimationBar(BC, AAnimation, ASolid);
      break;
  }
  if (cxIsLEDStyle(FBarStyle)) DrawBorderLEDs(BC, ASolid, ALEDs);
  if (!cxIsAnimationStyle(FBarStyle)) DrawPeak(BC, APeak);

  BC->RestoreClipRegion();
  if (UseRightToLeftAlignment) FUsualBitmap->Flip(true, false);
  DrawBarCaption(BC, O);
  cxBitBlt(ACanvas->Handle(), BC->Handle(), BarRect, TPoint{0, 0}, SRCCOPY);
}

void TcxCustomProgressBarViewInfo::DrawBackground(TcxCanvas* ACanvas, TcxCanvas* ACanvasParent,
                                                  const TRect& R) {
  if (FPropTransparent) {
    if (IsInplace || (FEdit && FEdit->ControlState().Contains(csPaintCopy))) {
      cxBitBlt(ACanvas->Handle(), ACanvasParent->Handle(), R, TPoint{BarRect.left, BarRect.top},
               SRCCOPY);
    } else if (FEdit) {
      const TPoint AOrg = ACanvas->WindowOrg();
      ACanvas->SetWindowOrg(TPoint{AOrg.x + BarRect.left, AOrg.y + BarRect.top});
      auto ARestore = Finally([ACanvas, AOrg] { ACanvas->SetWindowOrg(AOrg); });
      cxDrawTransparentControlBackground(FEdit, ACanvas, BarRect, true);
    }
  } else if (!cxIsAnimationStyle(FBarStyle)) {
    ACanvas->FillRect(R, BackgroundColor());
  }
  if ((!NativeStyle && !cxIsAnimationStyle(FBarStyle)) || IsInplace || FPropTransparent) return;
  if (NativeStyle) {
    if (HTHEME ATheme = OpenTheme(totProgress))
      dxUxTheme::DrawThemeBackground(ATheme, ACanvas->Handle(), BarThemePart(FOrientation), 1, &R,
                                     nullptr);
  } else {
    DrawAnimationBarBackground(ACanvas, R, false, BackgroundColor());
  }
}

void TcxCustomProgressBarViewInfo::DrawSolidBar(TcxCanvas* ACanvas, const TRect& AProgress,
                                                const TRect& AOverload) {
  cxEditFillRect(ACanvas, AProgress, FBeginColor);
  if (FRealShowOverload) cxEditFillRect(ACanvas, AOverload, FOverloadBeginColor);
}

bool TcxCustomProgressBarViewInfo::PrepareNativeBitmap(Integer AWidth, Integer AHeight) {
  if (AWidth <= 0 || AHeight <= 0) return false;
  if (FNativeBitmap && FNativeBitmap->Width() == AWidth && FNativeBitmap->Height() == AHeight)
    return true;
  FNativeBitmap.reset();
  HTHEME ATheme = OpenTheme(totProgress);
  if (!ATheme) return false;
  FNativeBitmap.reset(TcxAlphaBitmap::CreateSize(AWidth, AHeight));
  const TRect AStrip = FNativeBitmap->ClientRect();
  dxUxTheme::DrawThemeBackground(ATheme, FNativeBitmap->cxCanvas()->Handle(),
                                 ChunkThemePart(FOrientation), 1, &AStrip, nullptr);
  return true;
}

void TcxCustomProgressBarViewInfo::DrawGradientBar(TcxCanvas* ACanvas, const TRect& ANormal,
                                                   const TRect& ABar, const TRect& AOverload) {
  const bool H = IsHorizontal();
  if (NativeStyle) {
    const bool AHasStrip = H ? PrepareNativeBitmap(1, cxRectHeight(ANormal))
                             : PrepareNativeBitmap(cxRectWidth(ANormal), 1);
    if (AHasStrip && !cxRectIsEmpty(ANormal))
      cxStretchBlt(ACanvas->Handle(), FNativeBitmap->cxCanvas()->Handle(), ANormal,
                   FNativeBitmap->ClientRect(), SRCCOPY);
  } else if (H) {
    Gradient(ACanvas, ABar, FBeginColor, FEndColor, true);
  } else {
    Gradient(ACanvas, ABar, FEndColor, FBeginColor, false);
  }
  if (!FRealShowOverload) return;
  if (H)
    Gradient(ACanvas, TRect{AOverload.left, ABar.top, ABar.right, ABar.bottom}, FOverloadBeginColor,
             FOverloadEndColor, true);
  else
    Gradient(ACanvas, TRect{ABar.left, ABar.top, ABar.right, AOverload.bottom}, FOverloadEndColor,
             FOverloadBeginColor, false);
}

void TcxCustomProgressBarViewInfo::PaintBarBevelOuter(TcxCanvas* ACanvas, const TRect& R) {
  if (FBarBevelOuter == cxbvNone || cxRectIsEmpty(R)) return;
  const UINT AEdge = FBarBevelOuter == cxbvLowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
  RECT ARect = R;
  DrawEdge(ACanvas->Handle(), &ARect, AEdge, BF_TOPLEFT);
  ARect = R;
  DrawEdge(ACanvas->Handle(), &ARect, AEdge, BF_BOTTOMRIGHT);
}

void TcxCustomProgressBarViewInfo::DrawBorderLEDs(TcxCanvas* ACanvas, const TRect& R,
                                                  Integer ALEDsWidth) {
  if (FBarBevelOuter == cxbvNone || ALEDsWidth <= 0) return;
  const Integer L = ALEDsWidth;
  if (IsHorizontal()) {
    const Integer N = cxRectWidth(R) / L;
    for (Integer I = 0; I < N; ++I)
      PaintBarBevelOuter(ACanvas,
                         TRect{R.left + L * I, R.top, R.left + L * (I + 1) - LEDGap, R.bottom});
    if (R.left + L * N < R.right)
      PaintBarBevelOuter(ACanvas, TRect{R.left + L * N, R.top, R.right, R.bottom});
  } else {
    const Integer N = cxRectHeight(R) / L;
    for (Integer I = 0; I < N; ++I)
      PaintBarBevelOuter(ACanvas,
                         TRect{R.left, R.bottom - L * (I + 1) + LEDGap, R.right, R.bottom - L * I});
    if (R.bottom - L * N > R.top)
      PaintBarBevelOuter(ACanvas, TRect{R.left, R.top, R.right, R.bottom - L * N});
  }
}

void TcxCustomProgressBarViewInfo::DrawBarBitmap(TcxCanvas* ACanvas, const TRect& R) {
  if (cxRectIsEmpty(R)) return;
  TBrushHandle ABrush(CreatePatternBrush(FForegroundImage->Handle()));
  if (!ABrush) return;
  SetBrushOrgEx(ACanvas->Handle(), 0, 0, nullptr);
  RECT ARect = R;
  ::FillRect(ACanvas->Handle(), &ARect, ABrush.Get());
}

void TcxCustomProgressBarViewInfo::DrawPeak(TcxCanvas* ACanvas, const TRect& R) {
  if (!FRealShowPeak || cxRectIsEmpty(R)) return;
  TRegionHandle ARegion(CreateRectRgn(R.left, R.top, R.right, R.bottom));
  ExtSelectClipRgn(ACanvas->Handle(), ARegion.Get(), RGN_OR);
  ACanvas->FillRect(R, FPeakColor);
}

void TcxCustomProgressBarViewInfo::DrawAnimationBarBackground(TcxCanvas* ACanvas, const TRect& R,
                                                              bool ADrawBar, TColor AColor) {
  if (cxRectIsEmpty(R)) return;
  const TColor BorderBegin = dxGetDarkerColor(AColor, 90);
  const TColor BorderEnd = dxGetDarkerColor(AColor, 80);
  const TColor TopBegin = dxGetLighterColor(AColor, 40);
  const TColor TopEnd = dxGetLighterColor(AColor, 80);
  const bool H = IsHorizontal();
  Integer E = ADrawBar ? 4 : 1;
  Integer I = ADrawBar ? 20 : 8;
  const Integer AExtent = H ? cxRectWidth(R) : cxRectHeight(R);
  if ((ADrawBar || !H) && AExtent < 3 * (E + I)) {
    const Integer W3 = 3 * (E + I);
    E = AExtent * E / W3;
    I = AExtent * I / W3;
  }
  const Integer W = E + I;
  const Integer Band = GetScaleFactor()->Apply(6);
  ACanvas->FillRect(R, AColor);
  if (H) {
    Gradient(ACanvas, TRect{R.left, R.top, R.left + E, R.bottom}, BorderBegin, BorderEnd, true);
    Gradient(ACanvas, TRect{R.right - E, R.top, R.right, R.bottom}, BorderEnd, BorderBegin, true);
    Gradient(ACanvas, TRect{R.left + E, R.top, R.left + W, R.bottom}, BorderEnd, AColor, true);
    Gradient(ACanvas, TRect{R.right - W, R.top, R.right - E, R.bottom}, AColor, BorderEnd, true);
    Gradient(ACanvas, TRect{R.left, R.top, R.right, R.top + Band}, TopBegin, TopEnd, false);
  } else {
    Gradient(ACanvas, TRect{R.left, R.top, R.right, R.top + E}, BorderBegin, BorderEnd, false);
    Gradient(ACanvas, TRect{R.left, R.bottom - E, R.right, R.bottom}, BorderEnd, BorderBegin,
             false);
    Gradient(ACanvas, TRect{R.left, R.top + E, R.right, R.top + W}, BorderEnd, AColor, false);
    Gradient(ACanvas, TRect{R.left, R.bottom - W, R.right, R.bottom - E}, AColor, BorderEnd, false);
    Gradient(ACanvas, TRect{R.left, R.top, R.left + Band, R.bottom}, TopBegin, TopEnd, true);
  }
}

void TcxCustomProgressBarViewInfo::DrawAnimationBar(TcxCanvas* ACanvas, const TRect& A,
                                                    const TRect& S) {
  if (!CanAnimationBarShow()) {
    StopAnimationTimer();
    return;
  }
  if (FAnimationTimer)
    LightCanvasByGradient(ACanvas, A, S);
  else if (FAnimationSpeed != 0)
    StartAnimationTimer();
}

void TcxCustomProgressBarViewInfo::LightCanvasByGradient(TcxCanvas* ACanvas, const TRect& A,
                                                         const TRect& S) {
  const HDC DC = ACanvas->Handle();
  const Integer Band = GetScaleFactor()->Apply(6);
  const Integer Hh = GetScaleFactor()->Apply(10) / 2;
  const bool H = IsHorizontal();
  const Integer W = (H ? cxRectWidth(A) : cxRectHeight(A)) / 2;
  const Integer C = (H ? A.left : A.top) + W;
  auto Percent = [&](Integer Z) -> Byte {
    Integer D = 0;
    if (W - Hh > 0) {
      if (Z < C - Hh)
        D = (C - Hh - Z) * 40 / (W - Hh);
      else if (Z > C + Hh)
        D = (Z - C - Hh) * 40 / (W - Hh);
    }
    return static_cast<Byte>(std::clamp(60 + D, 0, 100));
  };
  ACanvas->SaveClipRegion();
  auto ARestore = Finally([ACanvas] { ACanvas->RestoreClipRegion(); });
  if (H) {
    for (Integer Y = A.top; Y < A.top + Band; ++Y) {
      const TColor P = static_cast<TColor>(GetPixel(DC, S.left + 1, Y));
      const TColor Q = dxGetLighterColor(P, 60);
      Gradient(ACanvas, TRect{A.left - W, Y, C - Hh, Y + 1}, P, Q, true);
      ACanvas->FillRect(TRect{C - Hh, Y, C + Hh, Y + 1}, Q);
      Gradient(ACanvas, TRect{C + Hh, Y, A.right + W, Y + 1}, Q, P, true);
    }
    ACanvas->IntersectClipRect(A);
    const Integer Y0 = A.top + Band;
    for (Integer X = A.left; X <= A.right; ++X) {
      const COLORREF P = GetPixel(DC, X, Y0);
      if (P == CLR_INVALID) continue;
      ACanvas->FillRect(TRect{X, Y0, X + 1, A.bottom},
                        dxGetLighterColor(static_cast<TColor>(P), Percent(X)));
    }
  } else {
    for (Integer X = A.left; X < A.left + Band; ++X) {
      const TColor P = static_cast<TColor>(GetPixel(DC, X, S.bottom - 2));
      const TColor Q = dxGetLighterColor(P, 60);
      Gradient(ACanvas, TRect{X, A.top - W, X + 1, C - Hh}, P, Q, false);
      ACanvas->FillRect(TRect{X, C - Hh, X + 1, C + Hh}, Q);
      Gradient(ACanvas, TRect{X, C + Hh, X + 1, A.bottom + W}, Q, P, false);
    }
    ACanvas->IntersectClipRect(A);
    const Integer X0 = A.left + Band;
    for (Integer Y = A.top; Y <= A.bottom; ++Y) {
      const COLORREF P = GetPixel(DC, X0, Y);
      if (P == CLR_INVALID || P > 0xFFFFFF) continue;
      ACanvas->FillRect(TRect{X0, Y, A.right, Y + 1},
                        dxGetLighterColor(static_cast<TColor>(P), Percent(Y)));
    }
  }
}

void TcxCustomProgressBarViewInfo::DrawVistaStyleMarquee(TcxCanvas* ACanvas, const TRect& A) {
  const Integer AW = cxRectWidth(A), AH = cxRectHeight(A);
  if (AW <= 0 || AH <= 0) return;
  const bool H = IsHorizontal();
  if (!FVistaStyleMarqueeBitmap || FVistaStyleMarqueeBitmap->Width() != AW ||
      FVistaStyleMarqueeBitmap->Height() != AH) {
    FVistaStyleMarqueeBitmap.reset();
    if (!(H ? PrepareNativeBitmap(1, AH) : PrepareNativeBitmap(AW, 1))) return;
    TOwned<TcxAlphaBitmap> ASegment(TcxAlphaBitmap::CreateSize(AW, AH));
    cxStretchBlt(ASegment->cxCanvas()->Handle(), FNativeBitmap->cxCanvas()->Handle(),
                 ASegment->ClientRect(), FNativeBitmap->ClientRect(), SRCCOPY);
    TOwned<TcxBitmap32> AMask(TcxBitmap32::CreateSize(AW, AH));
    const HDC MDC = AMask->cxCanvas()->Handle();
    if (H) {
      FillGradientRect(MDC, TRect{0, 0, AW / 2, AH}, clBlack, 0x00FF00, true);
      FillGradientRect(MDC, TRect{AW / 2, 0, AW, AH}, 0x00FF00, clBlack, true);
    } else {
      FillGradientRect(MDC, TRect{0, 0, AW, AH / 2}, clBlack, 0x00FF00, false);
      FillGradientRect(MDC, TRect{0, AH / 2, AW, AH}, 0x00FF00, clBlack, false);
    }
    TRGBColors AColors, AMaskColors;
    ASegment->GetBitmapColors(AColors);
    AMask->GetBitmapColors(AMaskColors);
    for (size_t I = 0; I < AColors.size() && I < AMaskColors.size(); ++I) {
      const Byte G = AMaskColors[I].rgbGreen;
      RGBQUAD& Q = AColors[I];
      Q.rgbBlue = static_cast<Byte>(Q.rgbBlue * G / 255);
      Q.rgbGreen = static_cast<Byte>(Q.rgbGreen * G / 255);
      Q.rgbRed = static_cast<Byte>(Q.rgbRed * G / 255);
      Q.rgbReserved = G;
    }
    ASegment->SetBitmapColors(AColors);
    FVistaStyleMarqueeBitmap = std::move(ASegment);
  }
  cxAlphaBlend(ACanvas->Handle(), FVistaStyleMarqueeBitmap.get(), A,
               FVistaStyleMarqueeBitmap->ClientRect());
}

void TcxCustomProgressBarViewInfo::DrawText(TcxCanvas* ACanvas) {
  DrawBarCaption(ACanvas, TPoint{BarRect.left, BarRect.top});
}

void TcxCustomProgressBarViewInfo::DrawBarCaption(TcxCanvas* ACanvas, const TPoint& AOrigin) {
  if (!FShowText) return;
  const String AText = GetDrawText();
  if (AText.empty() || !Painter) return;
  // Relative to the bar, whose own picture the text is drawn on.
  TRect AChunk = cxRectOffset(FMarquee ? GetCorrectAnimationBarRect() : ProgressBarRect, -AOrigin.x,
                              -AOrigin.y);
  const TRect ABar = cxRectOffset(BarRect, -AOrigin.x, -AOrigin.y);
  ACanvas->SaveState();
  auto ARestore = Finally([ACanvas] { ACanvas->RestoreState(); });
  if (Font) ACanvas->SetFont(Font);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
  // The painter turns vertical text itself; the canvas font stays upright.
  const bool AVertical = FTextOrientation == cxorVertical;
  TSize ASize{ACanvas->TextWidth(AText), ACanvas->TextHeight(AText)};
  if (AVertical) std::swap(ASize.cx, ASize.cy);
  TRect ATextRect{0, 0, ASize.cx, ASize.cy};
  ATextRect = cxRectOffset(ATextRect, ABar.left + (cxRectWidth(ABar) - ASize.cx) / 2,
                           ABar.top + (cxRectHeight(ABar) - ASize.cy) / 2);
  if (UseRightToLeftAlignment) {
    ATextRect = TdxRightToLeftLayoutConverter::ConvertRect(ATextRect, ABar);
    AChunk = TdxRightToLeftLayoutConverter::ConvertRect(AChunk, ABar);
  }
  Painter->DrawProgressBarText(ACanvas, AVertical, FSolidTextColor, AText, ATextRect, ABar, AChunk,
                               TextColor);
}

void TcxCustomProgressBarViewInfo::PaintProgressBarByPainter(TcxCanvas* ACanvas) {
  if (!Painter) return;
  const Integer AW = cxRectWidth(Bounds), AH = cxRectHeight(Bounds);
  if (!FPainterBitmap)
    FPainterBitmap.reset(TcxBitmap32::CreateSize(AW, AH));
  else if (FPainterBitmap->Width() != AW || FPainterBitmap->Height() != AH)
    FPainterBitmap->SetSize(AW, AH);
  TcxCanvas* BC = FPainterBitmap->cxCanvas();
  const TPoint O = TPoint{Bounds.left, Bounds.top};
  if (IsInplace || !FEdit) {
    BC->FillRect(FPainterBitmap->ClientRect(), BackgroundColor());
  } else {
    cxDrawTransparentControlBackground(FEdit, BC, Bounds, true);
  }
  if (UseRightToLeftAlignment) FPainterBitmap->Flip(true, false);
  const bool AVertical = !IsHorizontal();
  const TRect AFrame = cxRectOffset(BarRect, -O.x, -O.y);
  const TRect AContent = cxRectContent(AFrame, Painter->ProgressBarBorderSize(AVertical));
  auto CalcRect = [&](Double K) {
    TRect R = AContent;
    if (!AVertical)
      R.right = R.left + cxProgressBarLength(K, 1, cxRectWidth(AContent));
    else
      R.top += cxRectHeight(AContent) - cxProgressBarLength(K, 1, cxRectHeight(AContent));
    return R;
  };
  TRect AChunk;
  if (!FMarquee || IsInplace) {
    AChunk = CalcRect(GetRelativePosition() / GetMaxMinDiff());
  } else {
    cxRectIntersect(AChunk, cxRectOffset(GetCorrectAnimationBarRect(), -O.x, -O.y), AContent);
  }
  Painter->DrawProgressBarBorder(BC, AFrame, AVertical);
  BC->SaveClipRegion();
  BC->IntersectClipRect(AContent);
  Painter->DrawProgressBarChunk(BC, AChunk, AVertical);
  if (FRealShowOverload) {
    const TRect AOverloadEdge = CalcRect(GetRelativeOverloadValue() / GetMaxMinDiff());
    TRect AInvert = AChunk;
    if (!AVertical)
      AInvert.left = AOverloadEdge.right;
    else
      AInvert.bottom = AOverloadEdge.top;
    if (!cxRectIsEmpty(AInvert)) {
      RECT R = AInvert;
      InvertRect(BC->Handle(), &R);
    }
  }
  BC->RestoreClipRegion();
  if (UseRightToLeftAlignment) FPainterBitmap->Flip(true, false);
  DrawBarCaption(BC, O);
  cxBitBlt(ACanvas->Handle(), BC->Handle(), Bounds, TPoint{0, 0}, SRCCOPY);
}
