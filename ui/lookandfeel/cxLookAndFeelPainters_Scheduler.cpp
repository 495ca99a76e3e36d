#include <cmath>
#include <numbers>

#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"
#include "dxOffice11.h"

using namespace cxPaintersInternal;

namespace {
constexpr TSize cxSchedulerNavigationArrowSize{7, 7};
constexpr Integer cxSchedulerNavigationTextGap = 5;
constexpr TSize cxClockSize{130, 130};
constexpr Integer cxClockDotSize = 2;

// Content margins of a navigation button by vertical, then next.
constexpr TRect NavigationButtonBorders[2][2] = {{{6, 0, 6, 2}, {6, 2, 6, 0}},
                                                 {{0, 6, 2, 6}, {2, 6, 0, 6}}};

// Round half to even, as the clock's points are rounded.
Integer RoundEven(double AValue) { return static_cast<Integer>(std::nearbyint(AValue)); }

void Fill(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, AColor);
}

// The clock's hand: a filled path in teal from the tip round the centre to
// the tail and back, the tip pixel set too.
void DrawClockHand(TcxCanvas* ACanvas, const TPoint& AC, double ARX, double ARY, double AAngle,
                   double ATip, double ATail, double AWidth) {
  auto At = [&](double ARadiusX, double ARadiusY, double A) {
    return TPoint{RoundEven(AC.x + ARadiusX * std::cos(A)),
                  RoundEven(AC.y + ARadiusY * std::sin(A))};
  };
  const double Pi = std::numbers::pi;
  TcxArrowPoints P = {
      At(ATip * ARX, ATip * ARY, AAngle), At(AWidth / 2, AWidth / 2, AAngle + Pi / 2),
      At(ATail * ARX, ATail * ARY, AAngle + Pi), At(AWidth / 2, AWidth / 2, AAngle + 3 * Pi / 2)};
  FillPolygon(ACanvas, P, clTeal);
  ACanvas->SetPixel(P[0].x, P[0].y, clTeal);
}
}  // namespace

// ---------------------------------------------------------------------------
// Polygons
void cxGetSchedulerGroupPolygon(const TRect& R, TcxArrowPoints& APoints) {
  const Integer L = R.left, T = R.top + 2, Rt = R.right, B = R.bottom - 2;
  const Integer H = (B - T) / 2;
  APoints = {{L, T}, {Rt - 1, T}, {Rt - 1, B}, {Rt - H - 1, B - H}, {L + H, B - H}, {L, B}};
}

void cxGetSchedulerMilestonePolygon(const TRect& R, TcxArrowPoints& APoints) {
  // A diamond a pixels across covers a + 1 columns and rows: an even
  // shorter side is taken one less, so that the diamond stays inside R.
  Integer A = std::min(cxRectWidth(R), cxRectHeight(R));
  if (A % 2 == 0) --A;
  const Integer X0 = FloorHalf(R.left + R.right - A), Y0 = FloorHalf(R.top + R.bottom - A);
  A -= A % 2;
  APoints = {{X0, Y0 + A / 2}, {X0 + A / 2, Y0}, {X0 + A, Y0 + A / 2}, {X0 + A / 2, Y0 + A}};
}

// ---------------------------------------------------------------------------
// Month and day headers, group separators, borders, event marks
void TcxCustomLookAndFeelPainter::DrawMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds,
                                                  const String& AText, TcxNeighbors ANeighbors,
                                                  const TcxViewParams& AViewParams,
                                                  TcxArrowDirections AArrows, Integer ASideWidth,
                                                  const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledMonthHeader(ACanvas, ABounds, AText, ANeighbors, AViewParams, AArrows, ASideWidth,
                        dxSystemScaleFactor(), AOnDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawScaledMonthHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const String& AText, TcxNeighbors ANeighbors,
    const TcxViewParams& AViewParams, TcxArrowDirections AArrows, Integer ASideWidth,
    const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeader(ACanvas, ABounds, ABounds, ANeighbors, HeaderBorders(ANeighbors), cxbsNormal,
                   taCenter, vaCenter, false, false, AText, AViewParams.Font, AViewParams.TextColor,
                   AViewParams.Color, AScaleFactor, AOnDrawBackground, false, false);
  DrawMonthHeaderArrows(ACanvas, ABounds, AArrows, ASideWidth, clWindowText);
}

void TcxCustomLookAndFeelPainter::DrawSchedulerDayHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect&, TcxNeighbors, TcxBorders,
    TcxButtonState, TAlignment, TcxAlignmentVert, bool, bool, const String&, TFont*, TColor, TColor,
    const TdxScaleFactor*, const TcxDrawBackgroundEvent& AOnDrawBackground, bool, bool) {
  // The scheduler paints its day headers itself; without its handler there
  // is nothing to paint.
  if (AOnDrawBackground) AOnDrawBackground(ACanvas, ABounds);
}

void TcxCustomLookAndFeelPainter::DrawSchedulerGroupSeparator(
    TcxCanvas* ACanvas, const TRect& ABounds, TColor ABackgroundColor,
    const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawSchedulerScaledGroupSeparator(ACanvas, ABounds, ABackgroundColor, dxSystemScaleFactor(),
                                    AOnDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawSchedulerScaledGroupSeparator(
    TcxCanvas* ACanvas, const TRect& ABounds, TColor ABackgroundColor,
    const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeader(ACanvas, ABounds, ABounds, TcxNeighbors{nLeft, nRight}, cxBordersAll(),
                   cxbsNormal, taLeftJustify, vaTop, false, false, String(), nullptr, clNone,
                   ABackgroundColor, AScaleFactor, AOnDrawBackground, false, false);
}

void TcxCustomLookAndFeelPainter::DrawSchedulerBorder(TcxCanvas* ACanvas, const TRect& R) {
  DrawBorder(ACanvas, R);
}

void TcxCustomLookAndFeelPainter::DrawSchedulerSplitterBorder(TcxCanvas*, const TRect&,
                                                              const TcxViewParams&, bool) {}

void TcxCustomLookAndFeelPainter::DrawSchedulerEventProgress(TcxCanvas* ACanvas,
                                                             const TRect& ABounds,
                                                             const TRect& AProgress,
                                                             const TcxViewParams& AViewParams,
                                                             bool ATransparent) {
  if (ATransparent)
    ACanvas->FrameRect(ABounds, clGray);
  else
    ACanvas->Rectangle(ABounds, AViewParams, cxBordersAll(), clGray);
  Fill(ACanvas, AProgress, clNavy);
}

TRect TcxCustomLookAndFeelPainter::SchedulerEventProgressOffsets() { return cxRect(2, 2, 2, 2); }

void TcxCustomLookAndFeelPainter::DrawSchedulerGroup(TcxCanvas* ACanvas, const TRect& R,
                                                     TColor AColor) {
  TcxArrowPoints P;
  cxGetSchedulerGroupPolygon(R, P);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->SetBrushColor(Resolved(AColor));
  SetPenColor(ACanvas, clBlack);
  ACanvas->Polygon(P);
}

void TcxCustomLookAndFeelPainter::DrawSchedulerMilestone(TcxCanvas* ACanvas, const TRect& R) {
  TcxArrowPoints P;
  cxGetSchedulerMilestonePolygon(R, P);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->SetBrushColor(clGray);
  SetPenColor(ACanvas, clBlack);
  ACanvas->Polygon(P);
}

// ---------------------------------------------------------------------------
// Navigation buttons at a view's edges
void TcxCustomLookAndFeelPainter::SchedulerNavigationButtonSizes(bool AIsNextButton,
                                                                 TRect& ABorders, TSize& AArrowSize,
                                                                 bool& AHasTextArea,
                                                                 bool AIsVertical) {
  SchedulerNavigationButtonSizes(AIsNextButton, ABorders, AArrowSize, AHasTextArea,
                                 dxSystemScaleFactor(), AIsVertical);
}

void TcxCustomLookAndFeelPainter::SchedulerNavigationButtonSizes(bool AIsNextButton,
                                                                 TRect& ABorders, TSize& AArrowSize,
                                                                 bool& AHasTextArea,
                                                                 const TdxScaleFactor* AScaleFactor,
                                                                 bool AIsVertical) {
  ABorders = NavigationButtonBorders[AIsVertical][AIsNextButton];
  AArrowSize = AScaleFactor->Apply(cxSchedulerNavigationArrowSize);
  AHasTextArea = true;
}

void TcxCustomLookAndFeelPainter::CalculateSchedulerNavigationButtonRects(
    bool AIsNextButton, bool ACollapsed, TSize APrevButtonTextSize, TSize ANextButtonTextSize,
    TRect& ABounds, TRect& ATextRect, TRect& AArrowRect, bool AIsVertical) {
  CalculateSchedulerNavigationButtonRects(AIsNextButton, ACollapsed, APrevButtonTextSize,
                                          ANextButtonTextSize, ABounds, ATextRect, AArrowRect,
                                          dxSystemScaleFactor(), AIsVertical);
}

void TcxCustomLookAndFeelPainter::CalculateSchedulerNavigationButtonRects(
    bool AIsNextButton, bool ACollapsed, TSize APrevButtonTextSize, TSize ANextButtonTextSize,
    TRect& ABounds, TRect& ATextRect, TRect& AArrowRect, const TdxScaleFactor* AScaleFactor,
    bool AIsVertical) {
  TRect Borders;
  TSize Arrow;
  bool HasTextArea;
  SchedulerNavigationButtonSizes(AIsNextButton, Borders, Arrow, HasTextArea, AScaleFactor,
                                 AIsVertical);
  const Integer Gap = AScaleFactor->Apply(cxSchedulerNavigationTextGap);
  const Integer TextLength = std::max(APrevButtonTextSize.cx, ANextButtonTextSize.cx);
  const TRect Content = cxRect(ABounds.left + Borders.left, ABounds.top + Borders.top,
                               ABounds.right - Borders.right, ABounds.bottom - Borders.bottom);
  if (AIsVertical) {
    const Integer Zone = 3 * Arrow.cy;
    if (ACollapsed || !HasTextArea) {
      ATextRect = cxNullRect;
      const Integer Height = Zone + Borders.top + Borders.bottom;
      ABounds.top = FloorHalf(ABounds.top + ABounds.bottom - Height);
      ABounds.bottom = ABounds.top + Height;
      AArrowRect = cxRectCenter(ABounds, Arrow);
      return;
    }
    AArrowRect =
        cxRectCenter(cxRect(Content.left, Content.top, Content.right, Content.top + Zone), Arrow);
    ATextRect = cxRect(Content.left, Content.top + Zone + Gap, Content.right,
                       Content.bottom - 2 * Arrow.cy);
    const Integer Delta = TextLength - cxRectHeight(ATextRect);
    if (Delta >= 1) {
      AArrowRect = cxRectOffset(AArrowRect, 0, -Delta);
      ATextRect = cxRectInflate(ATextRect, 0, Delta);
      ABounds = cxRectInflate(ABounds, 0, Delta);
    }
  } else {
    const Integer Zone = 3 * Arrow.cx;
    if (ACollapsed || !HasTextArea) {
      ATextRect = cxNullRect;
      const Integer Width = Zone + Borders.left + Borders.right;
      ABounds.left = FloorHalf(ABounds.left + ABounds.right - Width);
      ABounds.right = ABounds.left + Width;
      AArrowRect = cxRectCenter(ABounds, Arrow);
      return;
    }
    AArrowRect = cxRectCenter(
        cxRect(Content.right - Zone, Content.top, Content.right, Content.bottom), Arrow);
    ATextRect = cxRect(Content.left + 2 * Arrow.cx, Content.top, Content.right - Zone - Gap,
                       Content.bottom);
    const Integer Delta = TextLength - cxRectWidth(ATextRect);
    if (Delta >= 1) {
      AArrowRect = cxRectOffset(AArrowRect, Delta, 0);
      ATextRect = cxRectInflate(ATextRect, Delta, 0);
      ABounds = cxRectInflate(ABounds, Delta, 0);
    }
  }
}

namespace {
// The sides of a navigation button's frame by vertical, then next.
TcxBorders NavigationButtonFrame(bool AIsVertical, bool AIsNextButton) {
  if (AIsVertical)
    return AIsNextButton ? TcxBorders{bLeft, bTop, bBottom} : TcxBorders{bTop, bRight, bBottom};
  return AIsNextButton ? TcxBorders{bLeft, bTop, bRight} : TcxBorders{bLeft, bRight, bBottom};
}
}  // namespace

void TcxCustomLookAndFeelPainter::DrawSchedulerNavigationButton(
    TcxCanvas* ACanvas, const TRect& ARect, bool AIsNextButton, TcxButtonState AState,
    const String& AText, const TRect& ATextRect, const TRect& AArrowRect, bool AIsVertical) {
  DrawSchedulerNavigationButtonContent(ACanvas, ARect, AArrowRect, AIsNextButton, AState,
                                       AIsVertical);
  if (cxRectIsEmpty(ATextRect)) return;
  TColor Color =
      SchedulerNavigationButtonTextColor(AIsNextButton, AState, ACanvas->Font()->Color());
  if (Color == clNone) return;
  cxDrawText(ACanvas, AText, ATextRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Resolved(Color),
             AIsVertical ? raPlus90 : ra0);
}

void TcxCustomLookAndFeelPainter::DrawSchedulerNavigationButtonContent(
    TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect, bool AIsNextButton,
    TcxButtonState AState, bool AIsVertical) {
  const TcxBorders Sides = NavigationButtonFrame(AIsVertical, AIsNextButton);
  Fill(ACanvas, ARect, clBtnFace);
  ACanvas->DrawComplexFrame(ARect, clBtnShadow, clBtnShadow, Sides);
  TRect R = AIsVertical ? cxRectInflate(ARect, 0, -1) : cxRectInflate(ARect, -1, 0);
  if (AIsNextButton)
    ++(AIsVertical ? R.left : R.top);
  else
    --(AIsVertical ? R.right : R.bottom);
  const bool Pressed = AState == cxbsPressed;
  ACanvas->DrawComplexFrame(R, Pressed ? clBtnShadow : clBtnHighlight,
                            Pressed ? clBtnHighlight : clBtnFace, Sides);
  DrawSchedulerNavigationButtonArrow(ACanvas, AArrowRect, AIsNextButton, ButtonSymbolColor(AState),
                                     AIsVertical);
}

void TcxCustomLookAndFeelPainter::DrawSchedulerNavigationButtonArrow(
    TcxCanvas* ACanvas, const TRect& ARect, bool AIsNextButton, TColor AColor, bool AForVertical) {
  const Integer S = AIsNextButton ? 1 : -1;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  if (AForVertical) {
    // Two short strokes from the ends towards the middle, then a line across.
    const Integer N = (cxRectHeight(ARect) + 1) / 2;
    const Integer X = AIsNextButton ? ARect.left : ARect.right - 2;
    TRect Upper = cxRect(X, ARect.top, X + 2, ARect.top + 1);
    TRect Lower = cxRect(X, ARect.bottom - 1, X + 2, ARect.bottom);
    for (Integer I = 0; I < N; ++I) {
      ACanvas->FillRect(Upper, AColor);
      ACanvas->FillRect(Lower, AColor);
      Upper = cxRectOffset(Upper, S, 1);
      Lower = cxRectOffset(Lower, S, -1);
    }
    const Integer Column = AIsNextButton ? ARect.right - 1 : ARect.left;
    ACanvas->FillRect(cxRect(Column, ARect.top, Column + 1, ARect.bottom), AColor);
  } else {
    const Integer N = (cxRectWidth(ARect) + 1) / 2;
    const Integer Y = AIsNextButton ? ARect.top : ARect.bottom - 2;
    TRect Left = cxRect(ARect.left, Y, ARect.left + 1, Y + 2);
    TRect Right = cxRect(ARect.right - 1, Y, ARect.right, Y + 2);
    for (Integer I = 0; I < N; ++I) {
      ACanvas->FillRect(Left, AColor);
      ACanvas->FillRect(Right, AColor);
      Left = cxRectOffset(Left, 1, S);
      Right = cxRectOffset(Right, -1, S);
    }
    const Integer Row = AIsNextButton ? ARect.bottom - 1 : ARect.top;
    ACanvas->FillRect(cxRect(ARect.left, Row, ARect.right, Row + 1), AColor);
  }
}

TColor TcxCustomLookAndFeelPainter::SchedulerNavigationButtonTextColor(bool, TcxButtonState AState,
                                                                       TColor ADefaultColor) {
  return ButtonSymbolColor(AState, ADefaultColor);
}

void TcxCustomLookAndFeelPainter::DrawSchedulerNavigatorButton(TcxCanvas* ACanvas, const TRect& R,
                                                               TcxButtonState AState) {
  DrawSchedulerScaledNavigatorButton(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawSchedulerScaledNavigatorButton(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, clDefault, clDefault, false,
                   false, cxbpButton);
}

// ---------------------------------------------------------------------------
// Clock
TSize TcxCustomLookAndFeelPainter::ClockSize() { return ScaledClockSize(dxSystemScaleFactor()); }

TSize TcxCustomLookAndFeelPainter::ScaledClockSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxClockSize);
}

void TcxCustomLookAndFeelPainter::DrawClock(TcxCanvas* ACanvas, const TRect& ARect,
                                            TDateTime ADateTime, TColor ABackgroundColor) {
  DrawScaledClock(ACanvas, ARect, ADateTime, ABackgroundColor, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect,
                                                  TDateTime ADateTime, TColor ABackgroundColor,
                                                  const TdxScaleFactor* AScaleFactor) {
  const double Pi = std::numbers::pi;
  const TPoint C{(ARect.left + ARect.right) / 2, (ARect.top + ARect.bottom) / 2};
  const double RX = cxRectWidth(ARect) * 0.5 - 2, RY = cxRectHeight(ARect) * 0.5 - 2;
  // The dots are kept out of the clip while the face and the hands are
  // painted; the caller's clip comes back afterwards.
  TClipRegionSaver KeepClip(ACanvas);
  const Integer Dot = AScaleFactor->Apply(cxClockDotSize);
  for (Integer I = 0; I < 60; I += 5) {
    const double A = I * 2 * Pi / 60;
    TPoint P{RoundEven(RX * std::cos(A) + C.x), RoundEven(RY * std::sin(A) + C.y)};
    TRect Square = cxRect(P.x - Dot / 2, P.y - Dot / 2, P.x - Dot / 2 + Dot, P.y - Dot / 2 + Dot);
    Fill(ACanvas, Square, clAqua);
    ACanvas->ExcludeClipRect(Square);
    Fill(ACanvas, cxRectOffset(Square, 1, 1), clBtnText);
    ACanvas->ExcludeClipRect(cxRectOffset(Square, 1, 1));
  }
  Fill(ACanvas, ARect, ABackgroundColor);
  Word H, M, S, MS;
  DecodeTime(ADateTime, H, M, S, MS);
  DrawClockHand(ACanvas, C, RX, RY, ((H % 12) * 3600 + M * 60 + S - 10800) * 2 * Pi / 43200, 0.75,
                0.15, 9);
  DrawClockHand(ACanvas, C, RX, RY, (M * 60 + S - 900) * 2 * Pi / 3600, 0.85, 0.2, 7);
  const double Second = (S - 15) * 2 * Pi / 60;
  SetPenColor(ACanvas, clRed);
  ACanvas->MoveTo(C.x, C.y);
  ACanvas->LineTo(RoundEven(C.x + 0.9 * RX * std::cos(Second)),
                  RoundEven(C.y + 0.9 * RY * std::sin(Second)));
}

// ---------------------------------------------------------------------------
// The painters' own
namespace {
// Two lines along a splitter's long sides, then the rest filled with the
// view parameters; R moves in across the splitter and out along it after
// each pair of lines.
void DrawSplitterLines(TcxCanvas* ACanvas, TRect& R, bool AHorizontal, TColor AFirst,
                       TColor ASecond) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  if (AHorizontal) {
    ACanvas->FillRect(cxRect(R.left, R.top, R.right, R.top + 1), AFirst);
    ACanvas->FillRect(cxRect(R.left, R.bottom - 1, R.right, R.bottom), ASecond);
    R = cxRectInflate(R, 1, -1);
  } else {
    ACanvas->FillRect(cxRect(R.left, R.top, R.left + 1, R.bottom), AFirst);
    ACanvas->FillRect(cxRect(R.right - 1, R.top, R.right, R.bottom), ASecond);
    R = cxRectInflate(R, -1, 1);
  }
}
}  // namespace

void TcxStandardLookAndFeelPainter::DrawScaledMonthHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const String& AText, TcxNeighbors ANeighbors,
    const TcxViewParams& AViewParams, TcxArrowDirections AArrows, Integer ASideWidth,
    const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  TcxBorders Borders = cxBordersAll();
  if (ANeighbors.Contains(nLeft)) Borders.Exclude(bLeft);
  if (ANeighbors.Contains(nRight)) Borders.Exclude(bRight);
  ACanvas->FrameRect(ABounds, clBlack, 1, Borders);
  TRect Content = ScaledHeaderContentBounds(ABounds, Borders, AScaleFactor);
  DrawScaledHeader(ACanvas, Content, Content, ANeighbors, cxBordersAll(), cxbsNormal, taCenter,
                   vaCenter, false, false, AText, AViewParams.Font, AViewParams.TextColor,
                   AViewParams.Color, AScaleFactor, AOnDrawBackground, false, false);
  DrawMonthHeaderArrows(ACanvas, ABounds, AArrows, ASideWidth, clWindowText);
}

void TcxStandardLookAndFeelPainter::DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R,
                                                                const TcxViewParams& AViewParams,
                                                                bool AIsHorizontal) {
  TRect Rest = R;
  DrawSplitterLines(ACanvas, Rest, AIsHorizontal, clBtnFace, cl3DDkShadow);
  DrawSplitterLines(ACanvas, Rest, AIsHorizontal, clBtnHighlight, clBtnShadow);
  ACanvas->FillRect(Rest, AViewParams);
}

void TcxFlatLookAndFeelPainter::DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R,
                                                            const TcxViewParams& AViewParams,
                                                            bool AIsHorizontal) {
  TRect Rest = R;
  DrawSplitterLines(ACanvas, Rest, AIsHorizontal, clBtnHighlight, clBtnShadow);
  ACanvas->FillRect(Rest, AViewParams);
}

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R,
                                                                 const TcxViewParams& AViewParams,
                                                                 bool AIsHorizontal) {
  TRect Rest = R;
  TColor Color = DefaultSchedulerBorderColor();
  DrawSplitterLines(ACanvas, Rest, AIsHorizontal, Color, Color);
  ACanvas->FillRect(Rest, AViewParams);
}

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerNavigationButtonContent(
    TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect, bool AIsNextButton,
    TcxButtonState AState, bool AIsVertical) {
  Fill(ACanvas, ARect, clBtnFace);
  TColor Frame = AState == cxbsHot ? TabBorderHighlightColor() : TabBorderDarkColor();
  ACanvas->DrawComplexFrame(ARect, Frame, Frame, NavigationButtonFrame(AIsVertical, AIsNextButton));
  DrawSchedulerNavigationButtonArrow(ACanvas, AArrowRect, AIsNextButton, ButtonSymbolColor(AState),
                                     AIsVertical);
}

void TcxUltraFlatLookAndFeelPainter::DrawSchedulerScaledNavigatorButton(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor,
                   AState == cxbsHot || AState == cxbsPressed, clDefault, clDefault, false, false,
                   cxbpButton);
}

void TcxOffice11LookAndFeelPainter::DrawScaledMonthHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const String& AText, TcxNeighbors,
    const TcxViewParams& AViewParams, TcxArrowDirections AArrows, Integer ASideWidth,
    const TdxScaleFactor*, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  TRect Inside = cxRectInflate(ABounds, -1, -1);
  if (!AOnDrawBackground || !AOnDrawBackground(ACanvas, Inside))
    ACanvas->FillRect(Inside, AViewParams);
  if (!AText.empty()) {
    ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    auto SolidAgain = Finally([ACanvas] { ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid); });
    if (AViewParams.Font) ACanvas->SetFont(AViewParams.Font);
    SetFontColor(ACanvas, AViewParams.TextColor);
    ACanvas->DrawTexT(AText, ABounds, cxAlignHCenter | cxAlignVCenter | cxSingleLine);
  }
  DrawMonthHeaderArrows(ACanvas, ABounds, AArrows, ASideWidth, clWindowText);
}

void TcxOffice11LookAndFeelPainter::DrawSchedulerNavigationButtonContent(
    TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect, bool AIsNextButton,
    TcxButtonState AState, bool AIsVertical) {
  TColor Face = AState == cxbsHot       ? dxOffice11SelectedColor1
                : AState == cxbsPressed ? dxOffice11SelectedDownColor1
                                        : dxOffice11DockColor1;
  Fill(ACanvas, ARect, Face);
  ACanvas->DrawComplexFrame(ARect, dxOffice11OutlookBorderColor, dxOffice11OutlookBorderColor,
                            NavigationButtonFrame(AIsVertical, AIsNextButton));
  DrawSchedulerNavigationButtonArrow(ACanvas, AArrowRect, AIsNextButton, ButtonSymbolColor(AState),
                                     AIsVertical);
}

void TcxOffice11LookAndFeelPainter::DrawSchedulerScaledNavigatorButton(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, const TdxScaleFactor* AScaleFactor) {
  if (TcxCustomLookAndFeelPainter* Native = RegisteredPainter(lfsNative))
    Native->DrawSchedulerScaledNavigatorButton(ACanvas, R, AState, AScaleFactor);
  else
    inherited::DrawSchedulerScaledNavigatorButton(ACanvas, R, AState, AScaleFactor);
}

void TcxOffice11LookAndFeelPainter::DrawSchedulerBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FrameRect(R, Resolved(DefaultSchedulerBorderColor()));
}
