#include <algorithm>

#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
// Half of a sum, rounded half away from zero as the platform's MulDiv does.
Integer HalfRounded(Integer AValue) { return MulDiv(AValue, 1, 2); }

}  // namespace

void TcxCustomLookAndFeelPainter::CalculateArrowPoints(TRect R, TcxArrowPoints& APoints,
                                                       TcxArrowDirection AArrowDirection,
                                                       bool AProportional, Integer AArrowSize) {
  if (AProportional) {
    Integer D = cxRectWidth(R) - cxRectHeight(R);
    R = D < 1 ? cxRectInflate(R, 0, D / 2) : cxRectInflate(R, -(D / 2), 0);
  }
  bool Horizontal = AArrowDirection == adLeft || AArrowDirection == adRight;
  Integer N = AArrowSize;
  if (N == 0) N = (Horizontal ? cxRectHeight(R) - 1 : cxRectWidth(R) - 1) / 4 + 1;
  Integer W = Horizontal ? N : 2 * N - 1;
  Integer H = Horizontal ? 2 * N - 1 : N;
  APoints.assign(3, TPoint{0, 0});
  TPoint& P0 = APoints[0];
  TPoint& P1 = APoints[1];
  TPoint& P2 = APoints[2];
  switch (AArrowDirection) {
    case adUp:
      P1 = TPoint{(R.left + R.right - 1) / 2, HalfRounded(R.top + R.bottom - H)};
      P0 = TPoint{(R.left + R.right - W) / 2, P1.y + H - 1};
      P2 = TPoint{P0.x + W - 1, P0.y};
      break;
    case adDown:
      P2 = TPoint{(R.left + R.right - W) / 2, HalfRounded(R.top + R.bottom - H)};
      P0 = TPoint{P2.x + W - 1, P2.y};
      P1 = TPoint{(R.left + R.right - 1) / 2, P2.y + H - 1};
      break;
    case adLeft:
      P1 = TPoint{(R.left + R.right - W) / 2, (R.top + R.bottom) / 2};
      P2 = TPoint{P1.x + W - 1, HalfRounded(R.top + R.bottom - H)};
      P0 = TPoint{P2.x, P2.y + H - 1};
      break;
    case adRight:
      P0 = TPoint{(R.left + R.right - W) / 2, HalfRounded(R.top + R.bottom - H)};
      P1 = TPoint{P0.x + W - 1, (R.top + R.bottom) / 2};
      P2 = TPoint{P0.x, P0.y + H - 1};
      break;
  }
}

void TcxCustomLookAndFeelPainter::DrawArrow(TcxCanvas* ACanvas, const TRect& R,
                                            TcxArrowDirection AArrowDirection, TColor AColor) {
  TcxArrowPoints P;
  CalculateArrowPoints(R, P, AArrowDirection, true);
  FillPolygon(ACanvas, P, AColor);
}

void TcxCustomLookAndFeelPainter::DrawArrow(TcxCanvas* ACanvas, const TRect& R,
                                            TcxButtonState AState,
                                            TcxArrowDirection AArrowDirection, bool ADrawBorder) {
  DrawScaledArrow(ACanvas, R, AState, AArrowDirection, dxSystemScaleFactor(), ADrawBorder);
}

void TcxCustomLookAndFeelPainter::DrawScaledArrow(TcxCanvas* ACanvas, const TRect& R,
                                                  TcxButtonState AState,
                                                  TcxArrowDirection AArrowDirection,
                                                  const TdxScaleFactor* AScaleFactor,
                                                  bool ADrawBorder) {
  // The arrow follows R, whatever the factor.
  TcxArrowPoints P;
  CalculateArrowPoints(R, P, AArrowDirection, false);
  if (ADrawBorder) {
    DrawScaledArrowBorder(ACanvas, R, AState, AScaleFactor);
  } else {
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(R, ButtonColor(AState));
  }
  FillPolygon(ACanvas, P, ButtonSymbolColor(AState, clDefault));
}

void TcxCustomLookAndFeelPainter::DrawArrowBorder(TcxCanvas* ACanvas, const TRect& R,
                                                  TcxButtonState AState) {
  DrawScaledArrowBorder(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledArrowBorder(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxButtonState AState,
                                                        const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, ButtonColor(AState));
  DrawButtonBorder(ACanvas, R, AState);
}

void TcxCustomLookAndFeelPainter::DrawScrollBarArrow(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState,
                                                     TcxArrowDirection AArrowDirection) {
  DrawScaledScrollBarArrow(ACanvas, R, AState, AArrowDirection, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledScrollBarArrow(TcxCanvas* ACanvas, TRect R,
                                                           TcxButtonState AState,
                                                           TcxArrowDirection AArrowDirection,
                                                           const TdxScaleFactor* AScaleFactor) {
  if (AState == cxbsPressed) {
    Integer Shift = ScaledButtonTextShift(AScaleFactor);
    R = cxRectOffset(R, Shift, Shift);
  }
  TcxArrowPoints P;
  CalculateArrowPoints(R, P, AArrowDirection, true);
  TColor Color;
  if (AState == cxbsDisabled) {
    // Embossed: a highlight copy one pixel right and down under the arrow.
    Integer D = AScaleFactor->Apply(1);
    TcxArrowPoints Shadow = P;
    for (TPoint& Pt : Shadow) Pt = cxPointOffset(Pt, D, D);
    FillPolygon(ACanvas, Shadow, clBtnHighlight);
    Color = clBtnShadow;
  } else {
    Color = ButtonSymbolColor(AState, clDefault);
  }
  FillPolygon(ACanvas, P, Color);
}

void TcxCustomLookAndFeelPainter::DrawCollapseArrow(TcxCanvas* ACanvas, const TRect& R,
                                                    TColor AColor, Integer ALineWidth) {
  Integer N = (std::min(cxRectWidth(R), cxRectHeight(R)) - 1) / 4;
  Integer Width = N + 3 * ALineWidth - 1;
  Integer Left = FloorHalf(R.left + R.right - Width);
  Integer Y = FloorHalf(R.top + R.bottom);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  for (Integer X : {Left, Left + 2 * ALineWidth}) {
    for (Integer I = 0; I < N; ++I) {
      ACanvas->FillRect(cxRect(X + I, Y - I, X + I + ALineWidth, Y - I + 1), AColor);
      ACanvas->FillRect(cxRect(X + I, Y + I, X + I + ALineWidth, Y + I + 1), AColor);
    }
  }
}

void TcxCustomLookAndFeelPainter::DrawButtonArrow(TcxCanvas* ACanvas, const TRect& R,
                                                  TColor AColor) {
  Integer SX = cxRectWidth(R) / 2;
  if (SX % 2 == 0) ++SX;
  Integer SY = SX / 2 + 1;
  TcxArrowPoints P(3);
  P[0] = TPoint{(R.left + R.right - SX) / 2, HalfRounded(R.top + R.bottom - SY)};
  P[1] = TPoint{P[0].x + SX - 1, P[0].y};
  P[2] = TPoint{P[0].x + SX / 2, P[0].y + SY - 1};
  FillPolygon(ACanvas, P, AColor);
}

TcxArrowDirection TcxCustomLookAndFeelPainter::GetArrowDirection(bool AHorizontal,
                                                                 TcxScrollBarPart APart) {
  bool Forward = APart != sbpLineUp;
  if (AHorizontal) return Forward ? adRight : adLeft;
  return Forward ? adDown : adUp;
}

void TcxCustomLookAndFeelPainter::DrawMonthHeaderArrows(TcxCanvas* ACanvas, const TRect& ABounds,
                                                        TcxArrowDirections AArrows, Integer,
                                                        TColor AColor) {
  if (AArrows.Contains(adLeft)) DrawMonthHeaderLeftArrow(ACanvas, ABounds, AColor);
  if (AArrows.Contains(adRight)) DrawMonthHeaderRightArrow(ACanvas, ABounds, AColor);
}

void TcxCustomLookAndFeelPainter::DrawMonthHeaderLeftArrow(TcxCanvas* ACanvas, const TRect& ABounds,
                                                           TColor AColor) {
  DrawArrow(ACanvas, cxRectSetLeft(ABounds, ABounds.left, cxRectHeight(ABounds)), adLeft, AColor);
}

void TcxCustomLookAndFeelPainter::DrawMonthHeaderRightArrow(TcxCanvas* ACanvas,
                                                            const TRect& ABounds, TColor AColor) {
  Integer Side = cxRectHeight(ABounds);
  DrawArrow(ACanvas, cxRectSetLeft(ABounds, ABounds.right - Side, Side), adRight, AColor);
}
