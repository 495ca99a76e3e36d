#include <iterator>

#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
constexpr Integer cxUltraFlatExpandButtonSize = 11;
constexpr Integer cxUltraFlatFocusInset = 3;
constexpr Integer cxUltraFlatSeparatorIndent = 4;

// The screen's nearest colour of a mix. Asking the screen takes a device
// context each time, too slow for every hot or pressed face; the answer
// depends on the colour and the screen's depth only, so the last few answers
// are kept.
struct TNearestColor {
  TColor Mix;
  TColor Nearest;
};
TNearestColor NearestColors[8];
Integer NearestColorCount = 0;

TColor NearestScreenColor(TColor AMix) {
  Integer Count = std::min<Integer>(NearestColorCount, std::size(NearestColors));
  for (Integer I = 0; I < Count; ++I)
    if (NearestColors[I].Mix == AMix) return NearestColors[I].Nearest;
  TColor Nearest = dxGetNearestColor(AMix);
  NearestColors[NearestColorCount++ % std::size(NearestColors)] = TNearestColor{AMix, Nearest};
  return Nearest;
}
}  // namespace

IMPLEMENT_CREATABLE_CLASS(TcxUltraFlatLookAndFeelPainter)

String TcxUltraFlatLookAndFeelPainter::LookAndFeelName() { return L"UltraFlat"; }

TcxLookAndFeelStyle TcxUltraFlatLookAndFeelPainter::LookAndFeelStyle() { return lfsUltraFlat; }

TColor TcxUltraFlatLookAndFeelPainter::DefaultSchedulerBorderColor() { return clBtnShadow; }

TColor TcxUltraFlatLookAndFeelPainter::DefaultSchedulerTimeRulerBorderColor() {
  return DefaultSchedulerTimeRulerBorderColorClassic();
}

TColor TcxUltraFlatLookAndFeelPainter::DefaultSchedulerTimeRulerTextColor() {
  return DefaultSchedulerTimeRulerTextColorClassic();
}

// ---------------------------------------------------------------------------
// Frames and separators
Integer TcxUltraFlatLookAndFeelPainter::BorderSize() { return 1; }

void TcxUltraFlatLookAndFeelPainter::DrawBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FrameRect(R, Resolved(clBtnShadow));
}

void TcxUltraFlatLookAndFeelPainter::DoDrawSeparator(TcxCanvas* ACanvas, const TRect& R, bool) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, clBtnShadow);
}

TSize TcxUltraFlatLookAndFeelPainter::GetBevelMinimalShapeSize(TdxBevelShape) {
  return TSize{1, 1};
}

void TcxUltraFlatLookAndFeelPainter::GetBevelShapeColors(TColor& AColor1, TColor& AColor2) {
  AColor1 = clBtnShadow;
  AColor2 = clNone;
}

// ---------------------------------------------------------------------------
// Buttons
Integer TcxUltraFlatLookAndFeelPainter::ButtonBorderSize(TcxButtonState AState) {
  return AState == cxbsDefault ? 2 : 1;
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsHot:
      return NearestScreenColor(GetLightColor(-2, 30, 72));
    case cxbsPressed:
      return NearestScreenColor(GetLightColor(14, 44, 40));
    default:
      return inherited::ButtonColor(AState);
  }
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonSymbolColor(TcxButtonState AState,
                                                         TColor ADefaultColor) {
  if (AState == cxbsPressed) return clHighlightText;
  return inherited::ButtonSymbolColor(AState, ADefaultColor);
}

TcxButtonState TcxUltraFlatLookAndFeelPainter::ButtonSymbolState(TcxButtonState) {
  return cxbsNormal;
}

TRect TcxUltraFlatLookAndFeelPainter::ScaledButtonFocusRect(TcxCanvas*, const TRect& R,
                                                            const TdxScaleFactor* AScaleFactor) {
  Integer D = AScaleFactor->Apply(cxUltraFlatFocusInset);
  TRect Inner = cxRectInflate(R, -D, -D);
  return cxRectIsEmpty(Inner) ? R : Inner;
}

Integer TcxUltraFlatLookAndFeelPainter::ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(2);
}

Integer TcxUltraFlatLookAndFeelPainter::ScaledButtonTextShift(const TdxScaleFactor*) { return 0; }

void TcxUltraFlatLookAndFeelPainter::DrawButtonBorder(TcxCanvas* ACanvas, const TRect& R,
                                                      TcxButtonState AState) {
  TColor Color;
  switch (AState) {
    case cxbsDefault:
      ACanvas->FrameRect(R, Resolved(clWindowFrame));
      ACanvas->FrameRect(cxRectInflate(R, -1, -1), Resolved(clWindowFrame));
      return;
    case cxbsNormal:
      Color = clBtnText;
      break;
    case cxbsDisabled:
      Color = clBtnShadow;
      break;
    default:
      Color = clHighlight;
      break;
  }
  ACanvas->FrameRect(R, Resolved(Color));
}

bool TcxUltraFlatLookAndFeelPainter::IsButtonHotTrack() { return true; }

// ---------------------------------------------------------------------------
// Check boxes, expand buttons, toggle switches
void TcxUltraFlatLookAndFeelPainter::DrawCheckBorder(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState) {
  ACanvas->FrameRect(R, Resolved(clBtnText));
  ACanvas->FrameRect(cxRectInflate(R, -1, -1), Resolved(CheckButtonColor(AState, cbsChecked)));
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                            bool AExpanded,
                                                            const TdxScaleFactor* AScaleFactor,
                                                            TColor AColor, TcxButtonState) {
  ACanvas->FrameRect(R, Resolved(clBtnShadow));
  TRect Inner = cxRectInflate(R, -1, -1);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Inner, cxGetActualColor(AColor, clBtnFace));
  DrawExpandButtonCross(ACanvas, Inner, AExpanded, clBtnText, AScaleFactor);
  ACanvas->ExcludeClipRect(R);
}

Integer TcxUltraFlatLookAndFeelPainter::ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxUltraFlatExpandButtonSize);
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledToggleSwitchState(TcxCanvas* ACanvas,
                                                                 const TRect& ABounds,
                                                                 TcxButtonState, bool AChecked,
                                                                 const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ABounds, ToggleSwitchToggleColor(AChecked));
  ACanvas->FrameRect(ABounds, AChecked ? clBlack : TColor(0xA0A0A0));
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledToggleSwitchThumb(
    TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
    const TdxScaleFactor* AScaleFactor) {
  inherited::DrawScaledToggleSwitchThumb(ACanvas, ABounds, AState, AScaleFactor);
  ACanvas->FrameRect(cxRectInflate(ABounds, -2, -2), clBlack);
}

TColor TcxUltraFlatLookAndFeelPainter::ToggleSwitchToggleColor(bool AChecked) {
  return AChecked ? TColor(0xFF9933) : TColor(0xC8C8C8);
}

// ---------------------------------------------------------------------------
// Scroll bars, splitters, small buttons
void TcxUltraFlatLookAndFeelPainter::DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal,
                                                             const TRect& R, TcxScrollBarPart APart,
                                                             TcxButtonState AState,
                                                             const TdxScaleFactor* AScaleFactor) {
  if (cxRectIsEmpty(R) || (APart == sbpThumbnail && AState == cxbsDisabled)) return;
  switch (APart) {
    case sbpLineUp:
    case sbpLineDown:
    case sbpThumbnail:
      DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, clDefault, clDefault,
                       false, false, cxbpButton);
      if (APart != sbpThumbnail)
        DrawScaledScrollBarArrow(ACanvas, R, AState, GetArrowDirection(AHorizontal, APart),
                                 AScaleFactor);
      break;
    case sbpPageUp:
    case sbpPageDown:
      DrawScrollBarPage(ACanvas, R, AState == cxbsPressed);
      break;
    case sbpNone:
      break;
  }
}

TSize TcxUltraFlatLookAndFeelPainter::GetScaledSplitterSize(bool AHorizontal,
                                                            const TdxScaleFactor* AScaleFactor) {
  TSize Size = inherited::GetScaledSplitterSize(AHorizontal, AScaleFactor);
  (AHorizontal ? Size.cy : Size.cx) = 1;
  return Size;
}

TColor TcxUltraFlatLookAndFeelPainter::GetSplitterOuterColor(bool AHighlighted) {
  return AHighlighted ? clHighlight : inherited::GetSplitterOuterColor(AHighlighted);
}

TSize TcxUltraFlatLookAndFeelPainter::ScaledFilterCloseButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  TSize Size = inherited::ScaledFilterCloseButtonSize(AScaleFactor);
  ++Size.cy;
  return Size;
}

// ---------------------------------------------------------------------------
// Drop-down list box
void TcxUltraFlatLookAndFeelPainter::DrawDropDownListBoxBackground(TcxCanvas* ACanvas,
                                                                   const TRect& ARect,
                                                                   bool AHasBorders) {
  TRect Inside = ARect;
  if (AHasBorders) {
    ACanvas->FrameRect(Inside, Resolved(clBtnShadow));
    Inside = cxRectInflate(Inside, -1, -1);
    ACanvas->FrameRect(Inside, Resolved(clBtnHighlight));
    Inside = cxRectInflate(Inside, -1, -1);
  }
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Inside, clWindow);
}

void TcxUltraFlatLookAndFeelPainter::DrawDropDownListBoxScaledGutterBackground(
    TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, clBtnFace);
}

void TcxUltraFlatLookAndFeelPainter::DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas,
                                                                        const TRect& ARect,
                                                                        const TRect&,
                                                                        const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, GetLightColor(-2, 30, 72));
  ACanvas->FrameRect(ARect, Resolved(clHighlight));
}

void TcxUltraFlatLookAndFeelPainter::DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas,
                                                                        const TRect& ARect,
                                                                        const TRect& AGutterRect,
                                                                        const TdxScaleFactor*) {
  Integer Y = (ARect.top + ARect.bottom - 1) / 2;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRect(AGutterRect.right + cxUltraFlatSeparatorIndent, Y, ARect.right, Y + 1),
                    clBtnShadow);
}

TColor TcxUltraFlatLookAndFeelPainter::DropDownListBoxItemTextColor(bool) { return clMenuText; }

TColor TcxUltraFlatLookAndFeelPainter::BorderHighlightColor() { return clHighlight; }

// ---------------------------------------------------------------------------
// Headers, footers, filter buttons, tabs
TcxBorders TcxUltraFlatLookAndFeelPainter::HeaderBorders(TcxNeighbors ANeighbors) {
  TcxBorders Borders = inherited::HeaderBorders(ANeighbors);
  if (ANeighbors.Contains(nLeft)) Borders.Exclude(bLeft);
  if (ANeighbors.Contains(nTop)) Borders.Exclude(bTop);
  return Borders;
}

Integer TcxUltraFlatLookAndFeelPainter::HeaderBorderSize() { return 1; }

void TcxUltraFlatLookAndFeelPainter::DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R,
                                                      TcxNeighbors, TcxBorders ABorders) {
  // The right and bottom lines always; the left and top ones where the
  // header has them.
  TcxBorders Lines{bRight, bBottom};
  if (ABorders.Contains(bLeft)) Lines.Include(bLeft);
  if (ABorders.Contains(bTop)) Lines.Include(bTop);
  ACanvas->DrawComplexFrame(R, clBtnText, clBtnText, Lines);
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledHeaderEx(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor*,
    const TcxDrawBackgroundEvent& AOnDrawBackground) {
  TcxCustomLookAndFeelPainter::DrawContent(ACanvas, ABounds, cxRectInflate(ATextAreaBounds, -1, -1),
                                           AState, AAlignmentHorz, AAlignmentVert, AMultiLine,
                                           AShowEndEllipsis, AText, AFont, ATextColor, ABkColor,
                                           AOnDrawBackground, false);
  DrawHeaderBorder(ACanvas, cxRectInflate(ABounds, -1, -1), ANeighbors, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderControlSectionBorder(TcxCanvas* ACanvas,
                                                                    const TRect& R,
                                                                    TcxBorders ABorders,
                                                                    TcxButtonState AState) {
  TColor Color = AState == cxbsDisabled ? clBtnShadow : clBlack;
  ACanvas->DrawComplexFrame(R, Color, Color, ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawHeaderControlSectionContent(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxButtonState AState,
    TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
    bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor) {
  bool Face = AState == cxbsHot || AState == cxbsPressed || AState == cxbsDisabled;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ABounds, Face ? ButtonColor(AState) : ABkColor);
  DrawHeaderControlSectionText(ACanvas, HeaderControlSectionTextAreaBounds(ATextAreaBounds, AState),
                               AState, AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis,
                               AText, AFont, ATextColor);
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                           bool AAscendingSorting,
                                                           const TdxScaleFactor* AScaleFactor) {
  DrawSortingArrow(ACanvas, R, clBtnShadow, clBtnShadow, AAscendingSorting, AScaleFactor);
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledSummarySortingMark(
    TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
    const TdxScaleFactor* AScaleFactor) {
  DrawSummarySortingArrow(ACanvas, R, clBtnShadow, clBtnShadow, AAscendingSorting, AScaleFactor);
}

TSize TcxUltraFlatLookAndFeelPainter::ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{7, 8});
}

TSize TcxUltraFlatLookAndFeelPainter::ScaledSummarySortingMarkSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{7, 9});
}

TcxBorders TcxUltraFlatLookAndFeelPainter::FooterBorders() { return TcxBorders{bRight, bBottom}; }

Integer TcxUltraFlatLookAndFeelPainter::FooterBorderSize() { return 1; }

Integer TcxUltraFlatLookAndFeelPainter::FooterCellBorderSize() { return 1; }

Integer TcxUltraFlatLookAndFeelPainter::FooterCellOffset() { return 2; }

void TcxUltraFlatLookAndFeelPainter::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) {
  DrawFooterBorderEx(ACanvas, R, TcxBorders{bRight, bBottom});
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterBorderEx(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxBorders ABorders) {
  ACanvas->FrameRect(R, Resolved(FooterSeparatorColor()), FooterSeparatorSize(), ABorders);
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FrameRect(R, Resolved(FooterSeparatorColor()));
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledFilterDropDownButton(TcxCanvas* ACanvas,
                                                                    const TRect& R,
                                                                    TcxButtonState AState,
                                                                    bool AIsFilterActive,
                                                                    const TdxScaleFactor*) {
  ACanvas->FrameRect(R, Resolved(FilterDropDownButtonBorderColor(AState)));
  TRect Face = cxRectInflate(R, -1, -1);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Face, ButtonColor(AState));
  DrawButtonArrow(ACanvas, Face,
                  AIsFilterActive ? cxFilterActiveArrowColor : ButtonSymbolColor(AState));
}

TColor TcxUltraFlatLookAndFeelPainter::FilterDropDownButtonBorderColor(TcxButtonState AState) {
  return AState == cxbsNormal ? clBtnShadow : clHighlight;
}

Integer TcxUltraFlatLookAndFeelPainter::GridBordersOverlapSize() { return 1; }

void TcxUltraFlatLookAndFeelPainter::DrawTabBorder(TcxCanvas* ACanvas, const TRect& R,
                                                   TcxBorder ABorder, TcxBorders, bool AVertical) {
  TRect Strip = R;
  bool Dark = AVertical ? ABorder == bBottom : ABorder == bRight;
  if (Dark && !AVertical) Strip.bottom -= TabBorderSize(AVertical);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Strip, Dark ? TabBorderDarkColor() : TabBorderHighlightColor());
}

void TcxUltraFlatLookAndFeelPainter::DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R,
                                                  TcxBorders ABorders, bool AVertical) {
  ACanvas->DrawComplexFrame(R, TabBorderHighlightColor(), TabBorderHighlightColor(), ABorders,
                            TabBorderSize(AVertical));
}

Integer TcxUltraFlatLookAndFeelPainter::TabBorderSize(bool) { return 1; }

TColor TcxUltraFlatLookAndFeelPainter::TabBorderHighlightColor() { return clBtnShadow; }

TColor TcxUltraFlatLookAndFeelPainter::TabBorderDarkColor() { return clBtnText; }

TColor TcxUltraFlatLookAndFeelPainter::RadioButtonBodyColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsNormal:
      return clWindow;
    case cxbsHot:
      return NearestScreenColor(GetLightColor(-2, 30, 72));
    case cxbsPressed:
      return NearestScreenColor(GetLightColor(14, 44, 40));
    default:
      return clBtnFace;
  }
}
