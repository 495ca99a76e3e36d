#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
constexpr Integer cxGroupExpandButtonSize = 15;
constexpr Integer cxSmallExpandButtonSize = 9;
constexpr Integer cxExpandButtonCrossInset = 2;
constexpr Integer cxCheckBorderSize = 2;
constexpr Integer cxToggleSwitchThumbInset = 2;
constexpr Integer cxToggleSwitchThumbPercentsWidth = 50;
// The expand mark's chevron size.
constexpr Integer cxExpandMarkSize = 3;

// The tick in thousandths of the mark box's width.
constexpr TPoint CheckTemplate[3] = {{0, 0}, {500, 500}, {1500, -499}};

TColor CheckFillColorNormal(TcxCheckBoxState ACheckState) {
  return ACheckState == cbsGrayed ? clBtnFace : clWindow;
}

TColor CheckFillColor(TcxButtonState AState) {
  return (AState == cxbsPressed || AState == cxbsDisabled) ? clBtnFace : clWindow;
}

TcxCheckBoxState CheckStates(bool AChecked) { return AChecked ? cbsChecked : cbsUnchecked; }
}  // namespace

// ---------------------------------------------------------------------------
// Check boxes
Integer TcxCustomLookAndFeelPainter::CheckBorderSize() { return cxCheckBorderSize; }

TColor TcxCustomLookAndFeelPainter::CheckButtonColor(TcxButtonState AState,
                                                     TcxCheckBoxState ACheckState) {
  return AState == cxbsNormal ? CheckFillColorNormal(ACheckState) : CheckFillColor(AState);
}

TSize TcxCustomLookAndFeelPainter::CheckButtonSize() {
  return ScaledCheckButtonSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledCheckButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxCheckButtonSize(), dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::CheckButtonAreaSize() {
  return ScaledCheckButtonAreaSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledCheckButtonAreaSize(const TdxScaleFactor* AScaleFactor) {
  TSize Size = ScaledCheckButtonSize(AScaleFactor);
  dxAdjustToTouchableSize(Size);
  return Size;
}

void TcxCustomLookAndFeelPainter::DrawCheckBorder(TcxCanvas*, const TRect&, TcxButtonState) {}

void TcxCustomLookAndFeelPainter::DoDrawCheck(TcxCanvas* ACanvas, const TRect& R) {
  TRect Box = cxRectInflate(R, -1, -1);
  Integer W = cxRectWidth(Box), H = cxRectHeight(Box);
  TClipRegionSaver KeepClip(ACanvas);
  ACanvas->IntersectClipRect(Box);
  TcxArrowPoints P;
  for (const TPoint& T : CheckTemplate)
    P.push_back(TPoint{Box.left + MulDiv(T.x, W, 1000) - (static_cast<Integer>(W * 0.15) + 1),
                       Box.top + MulDiv(T.y, W, 1000) + H / 3});
  // Three strokes, each one pixel higher: a tick three pixels thick.
  for (Integer Shift = 0; Shift < 3; ++Shift) {
    TcxArrowPoints Stroke = P;
    for (TPoint& Pt : Stroke) Pt.y -= Shift;
    ACanvas->Polyline(Stroke);
  }
}

void TcxCustomLookAndFeelPainter::DrawCheck(TcxCanvas* ACanvas, const TRect& R,
                                            TcxButtonState AState, TcxCheckBoxState ACheckState,
                                            TColor AColor) {
  DrawScaledCheck(ACanvas, R, AState, ACheckState, AColor, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawCheck(TcxCanvas* ACanvas, const TRect& R,
                                            TcxButtonState AState, bool AChecked, TColor AColor) {
  DrawScaledCheck(ACanvas, R, AState, AChecked, AColor, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledCheck(TcxCanvas* ACanvas, const TRect& R,
                                                  TcxButtonState AState,
                                                  TcxCheckBoxState ACheckState, TColor AColor,
                                                  const TdxScaleFactor*) {
  // A clear brush asks for the mark alone.
  if (ACanvas->Brush()->Style() == TBrushStyle::bsSolid)
    ACanvas->FillRect(R, CheckButtonColor(AState, ACheckState));
  if (ACheckState == cbsUnchecked) return;
  SetPenColor(ACanvas, AColor);
  DoDrawCheck(ACanvas, R);
}

void TcxCustomLookAndFeelPainter::DrawScaledCheck(TcxCanvas* ACanvas, const TRect& R,
                                                  TcxButtonState AState, bool AChecked,
                                                  TColor AColor,
                                                  const TdxScaleFactor* AScaleFactor) {
  DrawScaledCheck(ACanvas, R, AState, CheckStates(AChecked), AColor, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawCheckButton(TcxCanvas* ACanvas, const TRect& R,
                                                  TcxButtonState AState,
                                                  TcxCheckBoxState ACheckState) {
  DrawScaledCheckButton(ACanvas, R, AState, ACheckState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawCheckButton(TcxCanvas* ACanvas, const TRect& R,
                                                  TcxButtonState AState, bool AChecked) {
  DrawScaledCheckButton(ACanvas, R, AState, AChecked, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledCheckButton(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxButtonState AState,
                                                        TcxCheckBoxState ACheckState,
                                                        const TdxScaleFactor* AScaleFactor) {
  DrawCheckBorder(ACanvas, R, AState);
  Integer B = CheckBorderSize();
  TColor MarkColor = (AState == cxbsDisabled || ACheckState == cbsGrayed) ? clGrayText : clBtnText;
  DrawScaledCheck(ACanvas, cxRectInflate(R, -B, -B), AState, ACheckState, MarkColor, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawScaledCheckButton(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxButtonState AState, bool AChecked,
                                                        const TdxScaleFactor* AScaleFactor) {
  DrawScaledCheckButton(ACanvas, R, AState, CheckStates(AChecked), AScaleFactor);
}

// ---------------------------------------------------------------------------
// Expand buttons and marks
bool TcxCustomLookAndFeelPainter::IsPointOverGroupExpandButton(const TRect& R, const TPoint& P) {
  return cxRectPtIn(R, P);
}

bool TcxCustomLookAndFeelPainter::DrawExpandButtonFirst() { return true; }

void TcxCustomLookAndFeelPainter::DrawExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                   bool AExpanded, TColor AColor,
                                                   TcxButtonState AState) {
  DrawScaledExpandButton(ACanvas, R, AExpanded, dxSystemScaleFactor(), AColor, AState);
}

void TcxCustomLookAndFeelPainter::DrawExpandButtonEx(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState, bool AExpanded,
                                                     TcxRotationAngle ARotationAngle) {
  DrawScaledExpandButtonEx(ACanvas, R, AState, AExpanded, dxSystemScaleFactor(), ARotationAngle);
}

void TcxCustomLookAndFeelPainter::DrawScaledExpandButtonEx(TcxCanvas* ACanvas, const TRect& R,
                                                           TcxButtonState AState, bool AExpanded,
                                                           const TdxScaleFactor* AScaleFactor,
                                                           TcxRotationAngle ARotationAngle) {
  DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, clDefault, clDefault, false,
                   false, cxbpButton);
  TSize Size = cxRectSize(R);
  if (ARotationAngle == raPlus90 || ARotationAngle == raMinus90) std::swap(Size.cx, Size.cy);
  if (Size.cx <= 0 || Size.cy <= 0) return;
  // The mark is drawn upright and turned with its bitmap; the face colour
  // around it is the bitmap's transparent colour.
  TOwned<TcxBitmap> Mark(TcxBitmap::CreateSize(Size.cx, Size.cy));
  Mark->cxCanvas()->FillRect(Mark->ClientRect(), ButtonColor(AState));
  DrawScaledExpandMark(Mark->cxCanvas(), Mark->ClientRect(), ButtonSymbolColor(AState, clDefault),
                       AExpanded, AScaleFactor);
  Mark->cxCanvas()->RotateBitmap(Mark.get(), ARotationAngle);
  cxDrawImage(ACanvas, R, Mark.get(), nullptr, -1, ifmNormal);
}

void TcxCustomLookAndFeelPainter::DrawExpandMark(TcxCanvas* ACanvas, const TRect& R, TColor AColor,
                                                 bool AExpanded) {
  DrawScaledExpandMark(ACanvas, R, AColor, AExpanded, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledExpandMark(TcxCanvas* ACanvas, const TRect& R,
                                                       TColor AColor, bool AExpanded,
                                                       const TdxScaleFactor* AScaleFactor) {
  // Two chevrons, each two rows thick, pointing up when expanded.
  Integer S = AScaleFactor->Apply(cxExpandMarkSize);
  Integer X = (R.left + R.right - (2 * S + 1)) / 2;
  Integer Y0 = (R.top + R.bottom - 2 * (S + 1)) / 2;
  Integer G = AExpanded ? 1 : -1;
  SetPenColor(ACanvas, AColor);
  for (Integer I = 0; I < 4; ++I) {
    Integer Y = Y0 + I + (I >= 2 ? S - 1 : 0) + (AExpanded ? S : 0);
    Integer D = AExpanded ? I % 2 : 1 - I % 2;
    ACanvas->Polyline({TPoint{X + D, Y - G * D}, TPoint{X + S, Y - G * S},
                       TPoint{X + 2 * S + 1 - D, Y + G * (1 - D)}});
  }
}

void TcxCustomLookAndFeelPainter::DrawGroupExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                        bool AExpanded, TcxButtonState AState) {
  DrawScaledGroupExpandButton(ACanvas, R, AExpanded, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledGroupExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                              bool AExpanded, TcxButtonState AState,
                                                              const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, clDefault, clDefault, false,
                   false, cxbpButton);
  DrawScaledExpandMark(ACanvas, R, ButtonSymbolColor(AState, clDefault), AExpanded, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawSmallExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                        bool AExpanded, TColor ABorderColor,
                                                        TColor AColor) {
  DrawScaledSmallExpandButton(ACanvas, R, AExpanded, ABorderColor, dxSystemScaleFactor(), AColor);
}

void TcxCustomLookAndFeelPainter::DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                              bool AExpanded, TColor ABorderColor,
                                                              const TdxScaleFactor* AScaleFactor,
                                                              TColor AColor) {
  ACanvas->FrameRect(R, Resolved(ABorderColor));
  if (AColor != clDefault) ACanvas->FillRect(cxRectInflate(R, -1, -1), AColor);
  DrawExpandButtonCross(ACanvas, R, AExpanded, clBtnText, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawExpandButtonCross(TcxCanvas* ACanvas, const TRect& R,
                                                        bool AExpanded, TColor AColor,
                                                        const TdxScaleFactor* AScaleFactor) {
  Integer D = AScaleFactor->Apply(cxExpandButtonCrossInset);
  Integer L = cxRectWidth(R) - 2 * D;
  Integer X = FloorHalf(R.left + R.right), Y = FloorHalf(R.top + R.bottom);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRect(X - L / 2, Y, X + L / 2 + 1, Y + 1), AColor);
  if (!AExpanded) ACanvas->FillRect(cxRect(X, Y - L / 2, X + 1, Y + L / 2 + 1), AColor);
}

Integer TcxCustomLookAndFeelPainter::ExpandButtonAreaSize() {
  return ScaledExpandButtonAreaSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::ScaledExpandButtonAreaSize(
    const TdxScaleFactor* AScaleFactor) {
  Integer Size = ScaledExpandButtonSize(AScaleFactor);
  dxAdjustToTouchableSize(Size);
  return Size;
}

Integer TcxCustomLookAndFeelPainter::ExpandButtonSize() {
  return ScaledExpandButtonSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::GroupExpandButtonSize() {
  return ScaledGroupExpandButtonSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::ScaledGroupExpandButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxGroupExpandButtonSize);
}

Integer TcxCustomLookAndFeelPainter::SmallExpandButtonSize() {
  return ScaledSmallExpandButtonSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::ScaledSmallExpandButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxSmallExpandButtonSize);
}

// ---------------------------------------------------------------------------
// Toggle switches
void TcxCustomLookAndFeelPainter::DrawToggleSwitch(TcxCanvas* ACanvas, const TRect& ABounds,
                                                   const TRect& AThumbBounds,
                                                   TcxButtonState AState) {
  DrawScaledToggleSwitch(ACanvas, ABounds, AThumbBounds, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledToggleSwitch(TcxCanvas* ACanvas, const TRect& ABounds,
                                                         const TRect& AThumbBounds,
                                                         TcxButtonState AState,
                                                         const TdxScaleFactor* AScaleFactor) {
  bool RightToLeft = ACanvas->UseRightToLeftAlignment();
  if (AThumbBounds.left == ABounds.left) {
    DrawScaledToggleSwitchState(ACanvas, ABounds, AState, RightToLeft, AScaleFactor);
  } else if (AThumbBounds.right == ABounds.right) {
    DrawScaledToggleSwitchState(ACanvas, ABounds, AState, !RightToLeft, AScaleFactor);
  } else {
    // Sliding: the track shows the checked look up to the thumb's centre.
    Integer C = AThumbBounds.left + cxRectWidth(AThumbBounds) / 2;
    {
      TCanvasStateSaver Keep(ACanvas);
      ACanvas->ExcludeClipRect(cxRect(C, ABounds.top, ABounds.right, ABounds.bottom));
      DrawScaledToggleSwitchState(ACanvas, ABounds, AState, !RightToLeft, AScaleFactor);
    }
    {
      TCanvasStateSaver Keep(ACanvas);
      ACanvas->ExcludeClipRect(cxRect(ABounds.left, ABounds.top, C, ABounds.bottom));
      DrawScaledToggleSwitchState(ACanvas, ABounds, AState, RightToLeft, AScaleFactor);
    }
  }
}

void TcxCustomLookAndFeelPainter::DrawToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds,
                                                        TcxButtonState AState, bool AChecked) {
  DrawScaledToggleSwitchState(ACanvas, ABounds, AState, AChecked, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledToggleSwitchState(TcxCanvas*, const TRect&,
                                                              TcxButtonState, bool,
                                                              const TdxScaleFactor*) {}

void TcxCustomLookAndFeelPainter::DrawToggleSwitchStateIndicator(TcxCanvas* ACanvas,
                                                                 const TRect& ABounds,
                                                                 const String& AText,
                                                                 TFont* AFont) {
  TCanvasStateSaver Keep(ACanvas);
  if (AFont) ACanvas->SetFont(AFont);
  TRect R = ABounds;
  cxDrawText(ACanvas->Canvas(), AText, R, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
             Resolved(GetToggleSwitchTextColor()));
}

void TcxCustomLookAndFeelPainter::DrawToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds,
                                                        TcxButtonState AState) {
  DrawScaledToggleSwitchThumb(ACanvas, ABounds, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas,
                                                              const TRect& ABounds,
                                                              TcxButtonState AState,
                                                              const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(
      ACanvas, cxRectInflate(ABounds, -cxToggleSwitchThumbInset, -cxToggleSwitchThumbInset),
      String(), AState, AScaleFactor, true, clDefault, clDefault, false, false, cxbpButton);
}

IdxColorPalette* TcxCustomLookAndFeelPainter::GetToggleSwitchColorPalette() { return nullptr; }

TColor TcxCustomLookAndFeelPainter::GetToggleSwitchTextColor() { return DefaultContentTextColor(); }

Integer TcxCustomLookAndFeelPainter::GetToggleSwitchThumbPercentsWidth() {
  return cxToggleSwitchThumbPercentsWidth;
}

TColor TcxCustomLookAndFeelPainter::ToggleSwitchToggleColor(bool) { return clBlack; }
