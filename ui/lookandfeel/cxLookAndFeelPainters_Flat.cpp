#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
constexpr Integer cxFlatExpandButtonSize = 11;
constexpr TColor cxFlatToggleSwitchShadow = 0xA0A0A0;
}  // namespace

IMPLEMENT_CREATABLE_CLASS(TcxFlatLookAndFeelPainter)

String TcxFlatLookAndFeelPainter::LookAndFeelName() { return L"Flat"; }

TcxLookAndFeelStyle TcxFlatLookAndFeelPainter::LookAndFeelStyle() { return lfsFlat; }

TColor TcxFlatLookAndFeelPainter::DefaultSchedulerTimeRulerBorderColor() {
  return DefaultSchedulerTimeRulerBorderColorClassic();
}

TColor TcxFlatLookAndFeelPainter::DefaultSchedulerTimeRulerTextColor() {
  // The classic border colour, as the Standard look has it.
  return DefaultSchedulerTimeRulerBorderColorClassic();
}

// ---------------------------------------------------------------------------
// Borders and buttons
Integer TcxFlatLookAndFeelPainter::BorderSize() { return 1; }

Integer TcxFlatLookAndFeelPainter::SeparatorSize() { return 2; }

void TcxFlatLookAndFeelPainter::DrawBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->DrawEdge(R, true, true);
}

Integer TcxFlatLookAndFeelPainter::ButtonBorderSize(TcxButtonState AState) {
  return AState == cxbsDefault ? 2 : 1;
}

Integer TcxFlatLookAndFeelPainter::ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(1);
}

Integer TcxFlatLookAndFeelPainter::ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(1);
}

void TcxFlatLookAndFeelPainter::DrawButtonBorder(TcxCanvas* ACanvas, const TRect& R,
                                                 TcxButtonState AState) {
  if (AState == cxbsPressed) {
    ACanvas->DrawComplexFrame(R, clBtnShadow, clBtnHighlight);
    return;
  }
  TRect Frame = R;
  if (AState == cxbsDefault) {
    ACanvas->FrameRect(Frame, clBlack);
    Frame = cxRectInflate(Frame, -1, -1);
  }
  ACanvas->DrawComplexFrame(Frame, clBtnHighlight, clBtnShadow);
}

bool TcxFlatLookAndFeelPainter::IsButtonHotTrack() { return false; }

// ---------------------------------------------------------------------------
// Check boxes, expand buttons, toggle switches
void TcxFlatLookAndFeelPainter::DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                       bool AExpanded,
                                                       const TdxScaleFactor* AScaleFactor,
                                                       TColor AColor, TcxButtonState) {
  DrawScaledButton(ACanvas, R, String(), cxbsNormal, AScaleFactor, true, AColor, clDefault, false,
                   false, cxbpButton);
  DrawExpandButtonCross(ACanvas, cxRectInflate(R, -1, -1), AExpanded, clBtnText, AScaleFactor);
  ACanvas->ExcludeClipRect(R);
}

Integer TcxFlatLookAndFeelPainter::ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxFlatExpandButtonSize);
}

void TcxFlatLookAndFeelPainter::DrawCheckBorder(TcxCanvas* ACanvas, const TRect& R,
                                                TcxButtonState AState) {
  ACanvas->DrawEdge(R, true, true);
  ACanvas->FrameRect(cxRectInflate(R, -1, -1), Resolved(CheckButtonColor(AState, cbsChecked)));
}

void TcxFlatLookAndFeelPainter::DrawScaledToggleSwitchState(TcxCanvas* ACanvas,
                                                            const TRect& ABounds, TcxButtonState,
                                                            bool AChecked, const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ABounds, ToggleSwitchToggleColor(AChecked));
  // A shadow along the left and top, a white light along the right and
  // bottom; the light lies on the track's last column and row, not beyond
  // them on its neighbour's pixels.
  ACanvas->DrawComplexFrame(ABounds, cxFlatToggleSwitchShadow, clWhite);
}

TColor TcxFlatLookAndFeelPainter::ToggleSwitchToggleColor(bool AChecked) {
  return AChecked ? TColor(0xA0A0A0) : TColor(0xC8C8C8);
}

// ---------------------------------------------------------------------------
// Scroll bars and splitters
void TcxFlatLookAndFeelPainter::DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal,
                                                        const TRect& R, TcxScrollBarPart APart,
                                                        TcxButtonState AState,
                                                        const TdxScaleFactor* AScaleFactor) {
  if (cxRectIsEmpty(R) || (APart == sbpThumbnail && AState == cxbsDisabled)) return;
  // This look does not hot-track.
  if (AState == cxbsHot) AState = cxbsNormal;
  switch (APart) {
    case sbpLineUp:
    case sbpLineDown:
    case sbpThumbnail: {
      DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, clDefault, clDefault,
                       false, false, cxbpButton);
      if (APart == sbpThumbnail) break;
      Integer B = ButtonBorderSize(cxbsNormal);
      DrawScaledScrollBarArrow(ACanvas, cxRectInflate(R, -B, -B), AState,
                               GetArrowDirection(AHorizontal, APart), AScaleFactor);
      break;
    }
    case sbpPageUp:
    case sbpPageDown:
      DrawScrollBarPage(ACanvas, R, AState == cxbsPressed);
      break;
    case sbpNone:
      break;
  }
}

TColor TcxFlatLookAndFeelPainter::GetSplitterOuterColor(bool AHighlighted) {
  return AHighlighted ? cl3DDkShadow : inherited::GetSplitterOuterColor(AHighlighted);
}

// ---------------------------------------------------------------------------
// Headers, footers, filter buttons, tabs: mostly as the Standard look
void TcxFlatLookAndFeelPainter::DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R,
                                                 TcxNeighbors ANeighbors, TcxBorders) {
  DrawClassicHeaderBorder(ACanvas, R, ANeighbors);
}

void TcxFlatLookAndFeelPainter::DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R,
                                                               TcxBorders ABorders,
                                                               TcxButtonState AState) {
  if (AState == cxbsPressed)
    ACanvas->DrawComplexFrame(R, clBtnShadow, clBtnHighlight, ABorders);
  else
    ACanvas->DrawComplexFrame(R, clBtnHighlight, clBtnShadow, ABorders);
}

Integer TcxFlatLookAndFeelPainter::HeaderBorderSize() { return 1; }

void TcxFlatLookAndFeelPainter::DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                      bool AAscendingSorting,
                                                      const TdxScaleFactor* AScaleFactor) {
  DrawSortingArrow(ACanvas, R, clBtnHighlight, clBtnShadow, AAscendingSorting, AScaleFactor);
}

void TcxFlatLookAndFeelPainter::DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                             bool AAscendingSorting,
                                                             const TdxScaleFactor* AScaleFactor) {
  DrawSummarySortingArrow(ACanvas, R, clBtnHighlight, clBtnShadow, AAscendingSorting, AScaleFactor);
}

TSize TcxFlatLookAndFeelPainter::ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{8, 7});
}

TSize TcxFlatLookAndFeelPainter::ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{8, 8});
}

Integer TcxFlatLookAndFeelPainter::FooterBorderSize() { return 1; }

Integer TcxFlatLookAndFeelPainter::FooterCellBorderSize() { return 1; }

Integer TcxFlatLookAndFeelPainter::FooterCellOffset() { return 1; }

void TcxFlatLookAndFeelPainter::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->DrawEdge(R, false, false);
}

void TcxFlatLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->DrawEdge(R, true, true);
}

void TcxFlatLookAndFeelPainter::DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R,
                                                               TcxButtonState AState,
                                                               bool AIsFilterActive,
                                                               const TdxScaleFactor*) {
  DrawClassicFilterDropDownButton(this, ACanvas, R, AState, AIsFilterActive);
}

void TcxFlatLookAndFeelPainter::DrawFindPanelBorder(TcxCanvas*, const TRect&, TcxBorders) {}

void TcxFlatLookAndFeelPainter::DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder,
                                              TcxBorders ABorders, bool AVertical) {
  DrawClassicTabBorder(ACanvas, R, ABorder, ABorders, AVertical);
}

void TcxFlatLookAndFeelPainter::DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R,
                                             TcxBorders ABorders, bool) {
  ACanvas->DrawEdge(R, false, false, ABorders);
}

Integer TcxFlatLookAndFeelPainter::TabBorderSize(bool) { return 1; }
