#include <cmath>

#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"
#include "dxOffice11.h"

using namespace cxPaintersInternal;

namespace {
constexpr Integer cxBreadcrumbEditButtonAreaSeparatorSize = 2;
constexpr Integer cxBreadcrumbEditButtonContentOffset = 3;
constexpr Integer cxBreadcrumbEditNodeDelimiterSize = 16;
constexpr Integer cxBreadcrumbEditNodeTextOffset = 4;
constexpr TColor cxBreadcrumbEditProgressChunkColor = 0xAAA8A4;
constexpr Integer cxAlertWindowButtonContentOffset = 3;
constexpr TSize cxAlertWindowButtonGlyphSize{10, 10};
constexpr Integer cxAlertWindowContentOffset = 4;
constexpr TSize cxZoomButtonSize{15, 15};
constexpr Integer cxZoomButtonGlyphInset = 3;

TcxButtonState ButtonStateOf(TdxBreadcrumbEditButtonState AState) {
  switch (AState) {
    case dxbcbsHot:
      return cxbsHot;
    case dxbcbsPressed:
      return cxbsPressed;
    case dxbcbsDisabled:
      return cxbsDisabled;
    default:
      return cxbsNormal;
  }
}

bool IsQuiet(TdxBreadcrumbEditButtonState AState) {
  return AState == dxbcbsNormal || AState == dxbcbsDisabled;
}

TRect Square(Integer AValue) { return cxRect(AValue, AValue, AValue, AValue); }
}  // namespace

// ---------------------------------------------------------------------------
// Breadcrumb editor
TColor TcxCustomLookAndFeelPainter::BreadcrumbEditBackgroundColor(TdxBreadcrumbEditState) {
  return clBtnFace;
}

TRect TcxCustomLookAndFeelPainter::BreadcrumbEditBordersSize() { return Square(1); }

Integer TcxCustomLookAndFeelPainter::BreadcrumbEditButtonAreaSeparatorSize() {
  return BreadcrumbEditScaledButtonAreaSeparatorSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::BreadcrumbEditScaledButtonAreaSeparatorSize(
    const TdxScaleFactor*) {
  return cxBreadcrumbEditButtonAreaSeparatorSize;
}

TRect TcxCustomLookAndFeelPainter::BreadcrumbEditButtonContentOffsets(bool AIsFirst, bool AIsLast) {
  return BreadcrumbEditScaledButtonContentOffsets(AIsFirst, AIsLast, dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::BreadcrumbEditScaledButtonContentOffsets(
    bool, bool, const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(cxBreadcrumbEditButtonContentOffset));
}

IdxColorPalette* TcxCustomLookAndFeelPainter::BreadcrumbEditButtonColorPalette(
    TdxBreadcrumbEditButtonState) {
  return nullptr;
}

Integer TcxCustomLookAndFeelPainter::BreadcrumbEditDropDownButtonWidth() {
  return BreadcrumbEditScaledDropDownButtonWidth(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::BreadcrumbEditScaledDropDownButtonWidth(
    const TdxScaleFactor* AScaleFactor) {
  return dxGetSystemMetrics(SM_CXHSCROLL, AScaleFactor);
}

bool TcxCustomLookAndFeelPainter::BreadcrumbEditIsFadingSupports() { return false; }

Integer TcxCustomLookAndFeelPainter::BreadcrumbEditNodeDelimiterSize() {
  return BreadcrumbEditScaledNodeDelimiterSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::BreadcrumbEditScaledNodeDelimiterSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxBreadcrumbEditNodeDelimiterSize);
}

TColor TcxCustomLookAndFeelPainter::BreadcrumbEditNodeTextColor(
    TdxBreadcrumbEditButtonState AState) {
  return ButtonSymbolColor(AState == dxbcbsDisabled ? cxbsDisabled : cxbsNormal);
}

TRect TcxCustomLookAndFeelPainter::BreadcrumbEditNodeTextOffsets() {
  return BreadcrumbEditScaledNodeTextOffsets(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::BreadcrumbEditScaledNodeTextOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(cxBreadcrumbEditNodeTextOffset));
}

TRect TcxCustomLookAndFeelPainter::BreadcrumbEditProgressChunkPadding() {
  return BreadcrumbEditScaledProgressChunkPadding(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::BreadcrumbEditScaledProgressChunkPadding(const TdxScaleFactor*) {
  return Square(1);
}

TSize TcxCustomLookAndFeelPainter::BreadcrumbEditProgressChunkOverlaySize() {
  return BreadcrumbEditScaledProgressChunkOverlaySize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::BreadcrumbEditScaledProgressChunkOverlaySize(
    const TdxScaleFactor*) {
  return TSize{0, 0};
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditBorders(TcxCanvas* ACanvas, const TRect& ARect,
                                                            TcxBorders ABorders,
                                                            TdxBreadcrumbEditState) {
  ACanvas->DrawComplexFrame(ARect, clBtnShadow, clBtnHighlight, ABorders);
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditButtonAreaSeparator(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditState AState) {
  DrawBreadcrumbEditScaledButtonAreaSeparator(ACanvas, ARect, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditScaledButtonAreaSeparator(
    TcxCanvas*, const TRect&, TdxBreadcrumbEditState, const TdxScaleFactor*) {}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                           TdxBreadcrumbEditButtonState AState,
                                                           bool AIsFirst, bool AIsLast) {
  DrawBreadcrumbEditScaledButton(ACanvas, ARect, AState, AIsFirst, AIsLast, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditScaledButton(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState, bool, bool,
    const TdxScaleFactor* AScaleFactor) {
  if (IsQuiet(AState)) return;
  DrawScaledButton(ACanvas, ARect, String(), ButtonStateOf(AState), AScaleFactor, true, clDefault,
                   clDefault, false, false, cxbpButton);
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditDropDownButton(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState, bool AIsInEditor) {
  DrawBreadcrumbEditScaledDropDownButton(ACanvas, ARect, AState, AIsInEditor,
                                         dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditScaledDropDownButton(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState, bool AIsInEditor,
    const TdxScaleFactor* AScaleFactor) {
  if (AIsInEditor)
    DrawScaledButton(ACanvas, ARect, String(), ButtonStateOf(AState), AScaleFactor, true, clDefault,
                     clDefault, false, false, cxbpButton);
  else
    DrawBreadcrumbEditScaledButton(ACanvas, ARect, AState, true, true, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditDropDownButtonGlyph(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState, bool AIsInEditor) {
  DrawBreadcrumbEditScaledDropDownButtonGlyph(ACanvas, ARect, AState, AIsInEditor,
                                              dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditScaledDropDownButtonGlyph(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState, bool,
    const TdxScaleFactor* AScaleFactor) {
  Integer Inset = AScaleFactor->Apply(2);
  DrawButtonArrow(ACanvas, cxRectInflate(ARect, -Inset, -Inset),
                  ButtonSymbolColor(ButtonStateOf(AState)));
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditNode(TcxCanvas* ACanvas, const TRect& R,
                                                         TdxBreadcrumbEditButtonState AState,
                                                         bool AHasDelimiter) {
  DrawBreadcrumbEditScaledNode(ACanvas, R, AState, AHasDelimiter, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditScaledNode(TcxCanvas* ACanvas, const TRect& R,
                                                               TdxBreadcrumbEditButtonState AState,
                                                               bool AHasDelimiter,
                                                               const TdxScaleFactor* AScaleFactor) {
  DrawBreadcrumbEditScaledButton(ACanvas, R, AState, false, AHasDelimiter, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditNodeDelimiter(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState) {
  DrawBreadcrumbEditScaledNodeDelimiter(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditScaledNodeDelimiter(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState,
    const TdxScaleFactor* AScaleFactor) {
  DrawBreadcrumbEditScaledButton(ACanvas, R, AState, false, false, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditNodeDelimiterGlyph(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState) {
  DrawBreadcrumbEditScaledNodeDelimiterGlyph(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditScaledNodeDelimiterGlyph(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState,
    const TdxScaleFactor*) {
  DrawArrow(ACanvas, R, adDown, BreadcrumbEditNodeTextColor(AState));
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditNodeMoreButtonGlyph(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState) {
  DrawBreadcrumbEditScaledNodeMoreButtonGlyph(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditScaledNodeMoreButtonGlyph(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState,
    const TdxScaleFactor* AScaleFactor) {
  DrawBreadcrumbEditScaledNodeDelimiterGlyph(ACanvas, R, AState, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditProgressChunk(TcxCanvas* ACanvas,
                                                                  const TRect& R) {
  DrawBreadcrumbEditScaledProgressChunk(ACanvas, R, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditScaledProgressChunk(TcxCanvas* ACanvas,
                                                                        const TRect& R,
                                                                        const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, cxBreadcrumbEditProgressChunkColor);
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditProgressChunkOverlay(TcxCanvas* ACanvas,
                                                                         const TRect& R) {
  DrawBreadcrumbEditScaledProgressChunkOverlay(ACanvas, R, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawBreadcrumbEditScaledProgressChunkOverlay(
    TcxCanvas*, const TRect&, const TdxScaleFactor*) {}

// ---------------------------------------------------------------------------
// Alert window
TRect TcxCustomLookAndFeelPainter::AlertWindowButtonContentOffsets(TdxAlertWindowButtonKind AKind) {
  return AlertWindowScaledButtonContentOffsets(AKind, dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::AlertWindowScaledButtonContentOffsets(
    TdxAlertWindowButtonKind, const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(cxAlertWindowButtonContentOffset));
}

TSize TcxCustomLookAndFeelPainter::AlertWindowButtonGlyphSize(TdxAlertWindowButtonKind AKind) {
  return AlertWindowScaledButtonGlyphSize(AKind, dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::AlertWindowScaledButtonGlyphSize(
    TdxAlertWindowButtonKind AKind, const TdxScaleFactor* AScaleFactor) {
  return AKind == awbkCustom ? TSize{0, 0} : AScaleFactor->Apply(cxAlertWindowButtonGlyphSize);
}

IdxColorPalette* TcxCustomLookAndFeelPainter::AlertWindowButtonGetColorPalette(
    TcxButtonState AState) {
  return ButtonColorPalette(AState);
}

TRect TcxCustomLookAndFeelPainter::AlertWindowContentOffsets() {
  return AlertWindowScaledContentOffsets(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::AlertWindowScaledContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(cxAlertWindowContentOffset));
}

Integer TcxCustomLookAndFeelPainter::AlertWindowCornerRadius() { return 0; }

TColor TcxCustomLookAndFeelPainter::AlertWindowTextColor() { return clBtnText; }

TColor TcxCustomLookAndFeelPainter::AlertWindowNavigationPanelTextColor() { return clBtnText; }

void TcxCustomLookAndFeelPainter::DrawAlertWindowBackground(TcxCanvas* ACanvas,
                                                            const TRect& ABounds,
                                                            const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ABounds, clBtnFace);
  // In the canvas's own pen and brush.
  Integer Radius = AlertWindowCornerRadius();
  ACanvas->RoundRect(ABounds, Radius, Radius);
}

void TcxCustomLookAndFeelPainter::DrawAlertWindowButton(TcxCanvas* ACanvas, const TRect& ABounds,
                                                        TcxButtonState AState,
                                                        TdxAlertWindowButtonKind AKind,
                                                        bool ADown) {
  DrawAlertWindowScaledButton(ACanvas, ABounds, AState, AKind, dxSystemScaleFactor(), ADown);
}

void TcxCustomLookAndFeelPainter::DrawAlertWindowScaledButton(
    TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, TdxAlertWindowButtonKind AKind,
    const TdxScaleFactor* AScaleFactor, bool ADown) {
  TcxButtonState State = ADown ? cxbsPressed : AState;
  DrawScaledButton(ACanvas, ABounds, String(), State, AScaleFactor, true, clDefault, clDefault,
                   false, false, cxbpButton);
  TRect Offsets = AlertWindowScaledButtonContentOffsets(AKind, AScaleFactor);
  TRect Glyph = cxRect(ABounds.left + Offsets.left, ABounds.top + Offsets.top,
                       ABounds.right - Offsets.right, ABounds.bottom - Offsets.bottom);
  TColor Color = ButtonSymbolColor(State);
  switch (AKind) {
    case awbkClose:
      DrawScaledButtonCross(ACanvas, Glyph, Color, State, AScaleFactor);
      break;
    case awbkPin:
      DrawPin(ACanvas, Glyph, Color, ADown);
      break;
    case awbkDropdown:
      DrawArrow(ACanvas, Glyph, adDown, Color);
      break;
    case awbkPrevious:
      DrawArrow(ACanvas, Glyph, adLeft, Color);
      break;
    case awbkNext:
      DrawArrow(ACanvas, Glyph, adRight, Color);
      break;
    case awbkCustom:
      break;
  }
}

void TcxCustomLookAndFeelPainter::DrawAlertWindowNavigationPanel(TcxCanvas* ACanvas,
                                                                 const TRect& ABounds) {
  ACanvas->FrameRect(ABounds, Resolved(clBtnShadow));
}

void TcxCustomLookAndFeelPainter::DrawPin(TcxCanvas* ACanvas, const TRect& ABounds, TColor AColor,
                                          bool APinned) {
  // Head, plate and needle as fractions of the bounds' width and height.
  struct TPart {
    double FX, FY;
  };
  const TPart Parts[] = {{0.5, 0.5}, {0.9, 0.1}, {0.1, 0.5}};
  const Integer W = cxRectWidth(ABounds), H = cxRectHeight(ABounds);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  Integer Next = APinned ? ABounds.top : ABounds.right;
  for (Integer I = 0; I < 3; ++I) {
    // Across the pin an odd number of pixels, along it the rounded length.
    const Integer Across = 2 * static_cast<Integer>(W * Parts[I].FX / 2) + 1;
    const Integer Along = static_cast<Integer>(std::nearbyint(H * Parts[I].FY));
    TRect R;
    if (APinned) {
      const Integer Left = FloorHalf(ABounds.left + ABounds.right - Across);
      R = cxRect(Left, Next, Left + Across, Next + Along);
      Next = R.bottom - 1;
    } else {
      const Integer Top = FloorHalf(ABounds.top + ABounds.bottom - Across);
      R = cxRect(Next - Along, Top, Next, Top + Across);
      Next = R.left + 1;
    }
    if (I == 0) {
      ACanvas->FrameRect(R, Resolved(AColor));
      TRect Half = APinned ? cxRect(R.left + cxRectWidth(R) / 2, R.top, R.right, R.bottom)
                           : cxRect(R.left, R.top + cxRectHeight(R) / 2, R.right, R.bottom);
      ACanvas->FillRect(Half, AColor);
    } else {
      ACanvas->FillRect(R, AColor);
    }
  }
}

// ---------------------------------------------------------------------------
// Zoom buttons
TSize TcxCustomLookAndFeelPainter::GetZoomInButtonSize() {
  return GetScaledZoomInButtonSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetScaledZoomInButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxZoomButtonSize);
}

TSize TcxCustomLookAndFeelPainter::GetZoomOutButtonSize() {
  return GetScaledZoomOutButtonSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetScaledZoomOutButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxZoomButtonSize);
}

void TcxCustomLookAndFeelPainter::DrawZoomInButton(TcxCanvas* ACanvas, const TRect& R,
                                                   TcxButtonState AState) {
  DrawScaledZoomInButton(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledZoomInButton(TcxCanvas* ACanvas, const TRect& R,
                                                         TcxButtonState AState,
                                                         const TdxScaleFactor* AScaleFactor) {
  DrawScaledZoomOutButton(ACanvas, R, AState, AScaleFactor);
  const Integer Inset = AScaleFactor->Apply(cxZoomButtonGlyphInset);
  const Integer X = FloorHalf(R.left + R.right);
  PenLine(ACanvas, X, R.top + Inset, X, R.bottom - Inset);
}

void TcxCustomLookAndFeelPainter::DrawZoomOutButton(TcxCanvas* ACanvas, const TRect& R,
                                                    TcxButtonState AState) {
  DrawScaledZoomOutButton(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledZoomOutButton(TcxCanvas* ACanvas, const TRect& R,
                                                          TcxButtonState AState,
                                                          const TdxScaleFactor* AScaleFactor) {
  DrawButtonBorder(ACanvas, R, AState);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRectInflate(R, -1, -1), ButtonColor(AState));
  SetPenColor(ACanvas, AState == cxbsDisabled ? TColor(clBtnShadow) : ButtonSymbolColor(AState));
  const Integer Inset = AScaleFactor->Apply(cxZoomButtonGlyphInset);
  const Integer Y = FloorHalf(R.top + R.bottom);
  PenLine(ACanvas, R.left + Inset, Y, R.right - Inset, Y);
}

// ---------------------------------------------------------------------------
// The painters' own
void TcxStandardLookAndFeelPainter::DrawBreadcrumbEditScaledButton(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState, bool, bool,
    const TdxScaleFactor*) {
  if (cxRectIsEmpty(ARect)) return;
  switch (ButtonStateOf(AState)) {
    case cxbsPressed:
      ACanvas->DrawComplexFrame(ARect, clBtnShadow, clBtnHighlight);
      break;
    case cxbsNormal:
    case cxbsHot:
      ACanvas->DrawComplexFrame(ARect, clBtnHighlight, clBtnShadow);
      break;
    default:
      break;
  }
}

Integer TcxUltraFlatLookAndFeelPainter::BreadcrumbEditScaledButtonAreaSeparatorSize(
    const TdxScaleFactor*) {
  return 1;
}

TRect TcxUltraFlatLookAndFeelPainter::BreadcrumbEditScaledButtonContentOffsets(
    bool AIsFirst, bool AIsLast, const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxRect(3 - Integer(AIsFirst), 3, 3 - Integer(AIsLast), 3));
}

void TcxUltraFlatLookAndFeelPainter::DrawBreadcrumbEditBorders(TcxCanvas* ACanvas,
                                                               const TRect& ARect,
                                                               TcxBorders ABorders,
                                                               TdxBreadcrumbEditState AState) {
  bool Highlighted = AState == dxbcsFocused || AState == dxbcsHot;
  ACanvas->FrameRect(ARect, Resolved(Highlighted ? clHighlight : clBtnShadow), 1, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawBreadcrumbEditScaledButtonAreaSeparator(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditState AState, const TdxScaleFactor*) {
  DrawBreadcrumbEditBorders(ACanvas, ARect, TcxBorders{bLeft}, AState);
}

void TcxUltraFlatLookAndFeelPainter::DrawBreadcrumbEditCustomButton(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState, TcxBorders ABorders) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, ButtonColor(ButtonStateOf(AState)));
  if (IsQuiet(AState)) return;
  TColor Frame = AState == dxbcbsFocused ? clBtnShadow : clHighlight;
  ACanvas->FrameRect(R, Resolved(Frame), 1, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawBreadcrumbEditScaledButton(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState, bool AIsFirst,
    bool AIsLast, const TdxScaleFactor*) {
  if (IsQuiet(AState)) return;
  TcxBorders Sides = AIsFirst ? TcxBorders{bRight} : TcxBorders{bLeft, bRight};
  if (AIsLast) Sides.Exclude(bRight);
  DrawBreadcrumbEditCustomButton(ACanvas, ARect, AState, Sides);
}

void TcxUltraFlatLookAndFeelPainter::DrawBreadcrumbEditScaledDropDownButton(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState, bool AIsInEditor,
    const TdxScaleFactor*) {
  if (AIsInEditor || !IsQuiet(AState))
    DrawBreadcrumbEditCustomButton(ACanvas, ARect, AState, TcxBorders{bLeft});
}

TColor TcxOffice11LookAndFeelPainter::BreadcrumbEditBackgroundColor(TdxBreadcrumbEditState) {
  return HeaderTopColor();
}

void TcxOffice11LookAndFeelPainter::DrawBreadcrumbEditBorders(TcxCanvas* ACanvas,
                                                              const TRect& ARect,
                                                              TcxBorders ABorders,
                                                              TdxBreadcrumbEditState) {
  ACanvas->FrameRect(ARect, Resolved(dxOffice11ControlBorderColor), 1, ABorders);
}

void TcxOffice11LookAndFeelPainter::DrawBreadcrumbEditCustomButton(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState, TcxBorders ABorders) {
  if (cxRectIsEmpty(R)) return;
  TColor C1 = HeaderTopColor(), C2 = HeaderTopColor();
  switch (AState) {
    case dxbcbsFocused:
      C1 = C2 = dxOffice11SelectedColor1;
      break;
    case dxbcbsHot:
      C1 = dxOffice11SelectedColor1;
      C2 = dxOffice11SelectedColor2;
      break;
    case dxbcbsPressed:
      C1 = dxOffice11DownedColor;
      C2 = dxOffice11SelectedColor1;
      break;
    default:
      break;
  }
  Office11FillTubeGradientRect(ACanvas->Handle(), R, C1, C2, false);
  ACanvas->FrameRect(R, Resolved(dxOffice11DropDownBorderColor1), 1, ABorders);
}

void TcxOffice11LookAndFeelPainter::DrawAlertWindowBackground(TcxCanvas* ACanvas,
                                                              const TRect& ABounds,
                                                              const TdxScaleFactor*) {
  ACanvas->FrameRect(ABounds, Resolved(dxOffice11ControlBorderColor));
  FillGradientRect(ACanvas->Handle(), cxRectInflate(ABounds, -1, -1), dxOffice11DockColor2,
                   dxOffice11DockColor1, false);
}
