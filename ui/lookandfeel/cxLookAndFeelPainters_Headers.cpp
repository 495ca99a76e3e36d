#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"
#include "cxLookAndFeels.h"
#include "dxOffice11.h"

using namespace cxPaintersInternal;

namespace {
constexpr Integer cxHeaderContentOffset = 2;
constexpr Integer cxSortingMarkAreaWidth = 16;
constexpr Integer cxTouchSortingMarkAreaWidth = 20;
constexpr Integer cxFooterCellTextInset = 2;
constexpr TSize cxFilterActivateButtonSize{13, 13};
constexpr Integer cxFilterDropDownButtonWidth = 15;
constexpr TSize cxFilterSmartTagSize{10, 10};
// The image of the sort-by-summary-value mark in the indicator images.
constexpr Integer cxSummaryValueSortingMarkImage = 7;

TRect GrowOnSides(const TRect& R, TcxBorders ASides, Integer AWidth) {
  TRect Result = R;
  if (ASides.Contains(bLeft)) Result.left -= AWidth;
  if (ASides.Contains(bTop)) Result.top -= AWidth;
  if (ASides.Contains(bRight)) Result.right += AWidth;
  if (ASides.Contains(bBottom)) Result.bottom += AWidth;
  return Result;
}

void DrawTextOnce(TcxCanvas* ACanvas, const String& AText, const TRect& R, Integer AFlags,
                  TFont* AFont, TColor AColor) {
  if (AFont) ACanvas->SetFont(AFont);
  SetFontColor(ACanvas, AColor);
  ACanvas->DrawTexT(AText, R, AFlags, true);
}
}  // namespace

// ---------------------------------------------------------------------------
// Header cells
void TcxCustomLookAndFeelPainter::DrawHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor,
    const TcxDrawBackgroundEvent& AOnDrawBackground, bool AIsLast, bool AIsGroup) {
  DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AAlignmentHorz,
                   AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor,
                   dxDefaultScaleFactor(), AOnDrawBackground, AIsLast, AIsGroup);
}

void TcxCustomLookAndFeelPainter::DrawScaledHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor* AScaleFactor,
    const TcxDrawBackgroundEvent& AOnDrawBackground, bool, bool) {
  DrawHeaderBorder(ACanvas, ABounds, ANeighbors, ABorders);
  DrawContent(ACanvas, ScaledHeaderContentBounds(ABounds, ABorders, AScaleFactor), ATextAreaBounds,
              AState, AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont,
              ATextColor, ABkColor, AOnDrawBackground, false);
}

void TcxCustomLookAndFeelPainter::DrawHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds,
                                               const TRect& ATextAreaBounds,
                                               TcxNeighbors ANeighbors, TcxBorders ABorders,
                                               TcxButtonState AState, TAlignment AAlignmentHorz,
                                               TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                               bool AShowEndEllipsis, const String& AText,
                                               TFont* AFont, TColor ATextColor, TColor ABkColor,
                                               const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeaderEx(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState,
                     AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont,
                     ATextColor, ABkColor, dxDefaultScaleFactor(), AOnDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawScaledHeaderEx(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor* AScaleFactor,
    const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AAlignmentHorz,
                   AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor,
                   AScaleFactor, AOnDrawBackground, false, false);
}

void TcxCustomLookAndFeelPainter::DrawHeaderBorder(TcxCanvas*, const TRect&, TcxNeighbors,
                                                   TcxBorders) {}

void TcxCustomLookAndFeelPainter::DrawHeaderPressed(TcxCanvas* ACanvas, const TRect& ABounds) {
  ACanvas->InvertRect(ABounds);
}

void TcxCustomLookAndFeelPainter::DrawHeaderControlSection(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor) {
  DrawScaledHeaderControlSection(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState,
                                 AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis,
                                 AText, AFont, ATextColor, ABkColor, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledHeaderControlSection(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor*) {
  DrawHeaderControlSectionBorder(ACanvas, ABounds, ABorders, AState);
  DrawHeaderControlSectionContent(ACanvas, HeaderControlSectionContentBounds(ABounds, AState),
                                  ATextAreaBounds, AState, AAlignmentHorz, AAlignmentVert,
                                  AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor);
}

void TcxCustomLookAndFeelPainter::DrawHeaderControlSectionBorder(TcxCanvas*, const TRect&,
                                                                 TcxBorders, TcxButtonState) {}

void TcxCustomLookAndFeelPainter::DrawHeaderControlSectionContent(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxButtonState AState,
    TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
    bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ABounds, ABkColor);
  DrawHeaderControlSectionText(ACanvas, HeaderControlSectionTextAreaBounds(ATextAreaBounds, AState),
                               AState, AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis,
                               AText, AFont, ATextColor);
}

void TcxCustomLookAndFeelPainter::DrawHeaderControlSectionText(
    TcxCanvas* ACanvas, const TRect& ATextAreaBounds, TcxButtonState AState,
    TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
    bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor) {
  if (AText.empty()) return;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
  auto SolidAgain = Finally([ACanvas] { ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid); });
  Integer Flags = ContentTextFlags(AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis);
  if (AState == cxbsDisabled) {
    // Embossed: a highlight copy one pixel right and down under the shadow.
    DrawTextOnce(ACanvas, AText, cxRectOffset(ATextAreaBounds, 1, 1), Flags, AFont, clBtnHighlight);
    DrawTextOnce(ACanvas, AText, ATextAreaBounds, Flags, AFont, clBtnShadow);
  } else {
    DrawTextOnce(ACanvas, AText, ATextAreaBounds, Flags, AFont, ATextColor);
  }
}

void TcxCustomLookAndFeelPainter::DrawHeaderSeparator(TcxCanvas* ACanvas, const TRect& ABounds,
                                                      Integer AIndentSize, TColor AColor,
                                                      const TcxViewParams& AViewParams) {
  Integer Left = std::min<Integer>(ABounds.left + AIndentSize, ABounds.right);
  Integer Right = std::max<Integer>(ABounds.right - AIndentSize, Left);
  ACanvas->FillRect(cxRect(ABounds.left, ABounds.top, Left, ABounds.bottom), AViewParams);
  ACanvas->FillRect(cxRect(Right, ABounds.top, ABounds.right, ABounds.bottom), AViewParams);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRect(Left, ABounds.top, Right, ABounds.bottom), AColor);
}

// ---------------------------------------------------------------------------
// Header sizes
TcxBorders TcxCustomLookAndFeelPainter::HeaderBorders(TcxNeighbors) { return cxBordersAll(); }

Integer TcxCustomLookAndFeelPainter::HeaderBorderSize() { return 0; }

TRect TcxCustomLookAndFeelPainter::HeaderBounds(const TRect& ABounds, TcxNeighbors ANeighbors,
                                                TcxBorders ABorders) {
  return GrowOnSides(ABounds, ABorders - HeaderBorders(ANeighbors), HeaderBorderSize());
}

TRect TcxCustomLookAndFeelPainter::HeaderContentBounds(const TRect& ABounds, TcxBorders ABorders) {
  return ScaledHeaderContentBounds(ABounds, ABorders, dxDefaultScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::ScaledHeaderContentBounds(const TRect& ABounds,
                                                             TcxBorders ABorders,
                                                             const TdxScaleFactor*) {
  return GrowOnSides(ABounds, ABorders, -HeaderBorderSize());
}

TRect TcxCustomLookAndFeelPainter::HeaderContentOffsets(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxRect(cxHeaderContentOffset, cxHeaderContentOffset,
                                    cxHeaderContentOffset, cxHeaderContentOffset));
}

Integer TcxCustomLookAndFeelPainter::HeaderControlSectionBorderSize(TcxButtonState) { return 1; }

TRect TcxCustomLookAndFeelPainter::HeaderControlSectionContentBounds(const TRect& ABounds,
                                                                     TcxButtonState AState) {
  Integer B = HeaderControlSectionBorderSize(AState);
  return cxRectInflate(ABounds, -B, -B);
}

TRect TcxCustomLookAndFeelPainter::HeaderControlSectionTextAreaBounds(const TRect& ABounds,
                                                                      TcxButtonState AState) {
  return AState == cxbsPressed ? cxRectOffset(ABounds, 1, 1) : ABounds;
}

bool TcxCustomLookAndFeelPainter::HeaderDrawCellsFirst() { return true; }

Integer TcxCustomLookAndFeelPainter::HeaderHeight(Integer AFontHeight) {
  return ScaledHeaderHeight(AFontHeight, dxDefaultScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::ScaledHeaderHeight(Integer AFontHeight,
                                                        const TdxScaleFactor* AScaleFactor) {
  TRect Offsets = HeaderContentOffsets(AScaleFactor);
  Integer Height = AFontHeight + 2 * HeaderBorderSize() + Offsets.top + Offsets.bottom;
  dxAdjustToTouchableSize(Height, AScaleFactor);
  return Height;
}

Integer TcxCustomLookAndFeelPainter::HeaderWidth(TcxCanvas* ACanvas, TcxBorders ABorders,
                                                 const String& AText, TFont* AFont) {
  return ScaledHeaderWidth(ACanvas, ABorders, AText, AFont, dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::ScaledHeaderWidth(TcxCanvas* ACanvas, TcxBorders ABorders,
                                                       const String& AText, TFont* AFont,
                                                       const TdxScaleFactor* AScaleFactor) {
  TCanvasStateSaver KeepFont(ACanvas);
  if (AFont) ACanvas->SetFont(AFont);
  TRect Offsets = HeaderContentOffsets(AScaleFactor);
  Integer Width = ACanvas->TextWidth(AText) + Offsets.left + Offsets.right;
  if (ABorders.Contains(bLeft)) Width += HeaderBorderSize();
  // The right border is taken away, not added, as the look has always
  // measured it.
  if (ABorders.Contains(bRight)) Width -= HeaderBorderSize();
  return Width;
}

bool TcxCustomLookAndFeelPainter::IsHeaderHotTrack() { return false; }

// ---------------------------------------------------------------------------
// Sorting marks
void TcxCustomLookAndFeelPainter::DrawSortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                  bool AAscendingSorting) {
  DrawScaledSortingMark(ACanvas, R, AAscendingSorting, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawSummarySortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                         bool AAscendingSorting) {
  DrawScaledSummarySortingMark(ACanvas, R, AAscendingSorting, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawSummaryValueSortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                              bool AAscendingSorting) {
  DrawScaledSummaryValueSortingMark(ACanvas, R, AAscendingSorting, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledSummaryValueSortingMark(
    TcxCanvas* ACanvas, const TRect& R, bool, const TdxScaleFactor* AScaleFactor) {
  // The mark is the same for both directions.
  cxDrawImage(ACanvas, R, nullptr, cxIndicatorImages(), cxSummaryValueSortingMarkImage, ifmNormal,
              idmNormal, true, nullptr, AScaleFactor);
}

TSize TcxCustomLookAndFeelPainter::SortingMarkAreaSize() {
  return ScaledSortingMarkAreaSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledSortingMarkAreaSize(const TdxScaleFactor* AScaleFactor) {
  Integer Width = cxIsTouchModeEnabled() ? cxTouchSortingMarkAreaWidth : cxSortingMarkAreaWidth;
  return TSize{AScaleFactor->Apply(Width), ScaledSortingMarkSize(AScaleFactor).cy};
}

TSize TcxCustomLookAndFeelPainter::SortingMarkSize() {
  return ScaledSortingMarkSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::SummarySortingMarkSize() {
  return ScaledSummarySortingMarkSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::SummaryValueSortingMarkSize() {
  return ScaledSummaryValueSortingMarkSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledSummaryValueSortingMarkSize(
    const TdxScaleFactor* AScaleFactor) {
  return dxGetImageSize(cxIndicatorImages(), AScaleFactor);
}

namespace {
// The outline of a sorting mark's triangle: the dark side traced twice, the
// base, then the light side traced twice. X is the apex column, Y the apex
// row, ASign +1 for a triangle pointing up, -1 for one pointing down.
void DrawSortingTriangle(TcxCanvas* ACanvas, Integer X, Integer Y, Integer AWidth, Integer AHeight,
                         bool AAscending, TColor ALight, TColor ADark) {
  Integer Sign = AAscending ? 1 : -1;
  Integer L = AWidth / 2 - (AWidth % 2 == 0 ? 1 : 0);
  Integer Rs = AWidth / 2;
  SetPenColor(ACanvas, ADark);
  ACanvas->MoveTo(X + Rs, Y + Sign * (AHeight - 2));
  ACanvas->LineTo(X + Rs - L, Y);
  ACanvas->LineTo(X + Rs, Y + Sign * (AHeight - 1));
  if (!AAscending) SetPenColor(ACanvas, ALight);
  ACanvas->LineTo(X - L, Y + Sign * (AHeight - 1));
  if (AAscending) SetPenColor(ACanvas, ALight);
  ACanvas->LineTo(X, Y);
  ACanvas->LineTo(X - L, Y + Sign * (AHeight - AWidth % 2));
}

Integer ApexColumn(const TRect& R, Integer AWidth) {
  return FloorHalf(R.left + R.right) - (AWidth % 2 == 0 ? 1 : 0);
}
}  // namespace

void TcxCustomLookAndFeelPainter::DrawSortingArrow(TcxCanvas* ACanvas, const TRect& R,
                                                   TColor AColor1, TColor AColor2,
                                                   bool AAscendingSorting,
                                                   const TdxScaleFactor* AScaleFactor) {
  TSize Size = ScaledSortingMarkSize(AScaleFactor);
  Integer X = ApexColumn(R, Size.cx);
  Integer Y = AAscendingSorting ? FloorHalf(R.top + R.bottom - Size.cy)
                                : FloorHalf(R.top + R.bottom + Size.cy) - 1;
  DrawSortingTriangle(ACanvas, X, Y, Size.cx, Size.cy, AAscendingSorting, AColor1, AColor2);
}

void TcxCustomLookAndFeelPainter::DrawSummarySortingArrow(TcxCanvas* ACanvas, const TRect& R,
                                                          TColor AColor1, TColor AColor2,
                                                          bool AAscendingSorting,
                                                          const TdxScaleFactor* AScaleFactor) {
  TSize Size = ScaledSummarySortingMarkSize(AScaleFactor);
  Integer X = ApexColumn(R, Size.cx);
  Integer L = Size.cx / 2 - (Size.cx % 2 == 0 ? 1 : 0);
  Integer Rs = Size.cx / 2;
  // The summary bar above the triangle, two rows when the colours differ.
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRect(X - L, R.top, X + Rs + 1, R.top + 1), AColor1);
  if (AColor2 != AColor1)
    ACanvas->FillRect(cxRect(X - L, R.top + 1, X + Rs + 1, R.top + 2), AColor2);
  Integer Height = Size.cy - 2;
  Integer Y = AAscendingSorting ? FloorHalf(R.top + R.bottom - Height) + 2
                                : FloorHalf(R.top + R.bottom + Height) + 1;
  DrawSortingTriangle(ACanvas, X, Y, Size.cx, Height, AAscendingSorting, AColor1, AColor2);
}

// ---------------------------------------------------------------------------
// Footers
TcxBorders TcxCustomLookAndFeelPainter::FooterBorders() { return cxBordersAll(); }
Integer TcxCustomLookAndFeelPainter::FooterBorderSize() { return 0; }
Integer TcxCustomLookAndFeelPainter::FooterCellBorderSize() { return 0; }
Integer TcxCustomLookAndFeelPainter::FooterCellOffset() { return 0; }
bool TcxCustomLookAndFeelPainter::FooterDrawCellsFirst() { return true; }
TColor TcxCustomLookAndFeelPainter::FooterSeparatorColor() { return clBtnShadow; }
Integer TcxCustomLookAndFeelPainter::FooterSeparatorSize() { return 1; }

TRect TcxCustomLookAndFeelPainter::FooterCellContentBounds(const TRect& ABounds) {
  Integer B = FooterCellBorderSize();
  return cxRectInflate(ABounds, -B, -B);
}

TRect TcxCustomLookAndFeelPainter::FooterCellTextAreaBounds(const TRect& ABounds) {
  return cxRectInflate(FooterCellContentBounds(ABounds), -cxFooterCellTextInset,
                       -cxFooterCellTextInset);
}

void TcxCustomLookAndFeelPainter::DrawFooterBorder(TcxCanvas*, const TRect&) {}

void TcxCustomLookAndFeelPainter::DrawFooterBorderEx(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxBorders) {
  Integer Size = FooterSeparatorSize();
  DrawFooterSeparator(ACanvas, cxRect(R.left, R.top, R.right, R.top + Size));
  DrawFooterBorder(ACanvas, cxRect(R.left, R.top + Size, R.right, R.bottom));
}

void TcxCustomLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas*, const TRect&) {}

void TcxCustomLookAndFeelPainter::DrawFooterContent(TcxCanvas* ACanvas, const TRect& ARect,
                                                    const TcxViewParams& AViewParams) {
  if (!cxRectIsEmpty(ARect)) ACanvas->FillRect(ARect, AViewParams);
}

void TcxCustomLookAndFeelPainter::DrawFooterSeparator(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, FooterSeparatorColor());
}

void TcxCustomLookAndFeelPainter::DrawFooterPanel(TcxCanvas* ACanvas, const TRect& ABounds,
                                                  const TcxViewParams& AViewParams,
                                                  TcxBorders ABorders) {
  TClipRegionSaver KeepClip(ACanvas);
  ACanvas->IntersectClipRect(ABounds);
  DrawFooterContent(ACanvas, ABounds, AViewParams);
  DrawFooterBorderEx(ACanvas, ABounds, ABorders);
}

void TcxCustomLookAndFeelPainter::DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds,
                                                 TAlignment AAlignmentHorz,
                                                 TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                                 const String& AText, TFont* AFont,
                                                 TColor ATextColor, TColor ABkColor,
                                                 const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawFooterCellBorder(ACanvas, ABounds);
  DrawFooterCellContent(ACanvas, ABounds, AAlignmentHorz, AAlignmentVert, AMultiLine, AText, AFont,
                        ATextColor, ABkColor, AOnDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawFooterCellContent(
    TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, const String& AText, TFont* AFont,
    TColor ATextColor, TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawContent(ACanvas, FooterCellContentBounds(ABounds), FooterCellTextAreaBounds(ABounds),
              cxbsNormal, AAlignmentHorz, AAlignmentVert, AMultiLine, false, AText, AFont,
              ATextColor, ABkColor, AOnDrawBackground, true);
}

// ---------------------------------------------------------------------------
// Filter buttons, smart tag, panels
void TcxCustomLookAndFeelPainter::DrawFilterActivateButton(TcxCanvas* ACanvas, const TRect& R,
                                                           TcxButtonState AState, bool AChecked) {
  DrawScaledFilterActivateButton(ACanvas, R, AState, AChecked, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledFilterActivateButton(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked,
    const TdxScaleFactor* AScaleFactor) {
  DrawScaledCheckButton(ACanvas, R, AState, AChecked, AScaleFactor);
}

TSize TcxCustomLookAndFeelPainter::FilterActivateButtonSize() {
  return ScaledFilterActivateButtonSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledFilterActivateButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxFilterActivateButtonSize);
}

void TcxCustomLookAndFeelPainter::DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R,
                                                           TcxButtonState AState,
                                                           bool AIsFilterActive) {
  DrawScaledFilterDropDownButton(ACanvas, R, AState, AIsFilterActive, dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::FilterDropDownButtonSize() {
  return ScaledFilterDropDownButtonSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledFilterDropDownButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  Integer Width = AScaleFactor->Apply(cxFilterDropDownButtonWidth);
  dxAdjustToTouchableSize(Width, AScaleFactor);
  return TSize{Width, 0};
}

void TcxCustomLookAndFeelPainter::DrawFilterSmartTag(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxFilterSmartTagState AState,
                                                     bool AIsFilterActive) {
  DrawScaledFilterSmartTag(ACanvas, R, AState, AIsFilterActive, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledFilterSmartTag(TcxCanvas* ACanvas, const TRect& R,
                                                           TcxFilterSmartTagState AState,
                                                           bool AIsFilterActive,
                                                           const TdxScaleFactor*) {
  // Only the strokes take the state's colour; the glyph has no fill.
  TComPtr<IdxColorPalette> Palette = TComPtr<IdxColorPalette>::Borrow(Create<TdxSimpleColorPalette>(
      dxacNone, dxColorToAlphaColor(GetFilterSmartTagColor(AState, AIsFilterActive), 255)));
  GetSmartTagGlyph()->StretchDraw(ACanvas->Handle(), R, 255, Palette.Get());
}

TSize TcxCustomLookAndFeelPainter::FilterSmartTagSize() {
  return ScaledFilterSmartTagSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledFilterSmartTagSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxFilterSmartTagSize);
}

TdxSmartImage* TcxCustomLookAndFeelPainter::GetSmartTagGlyph() {
  return GetCachedImage(FSmartTagGlyph, L"CX_SMARTTAG", L"SVG");
}

IdxColorPalette* TcxCustomLookAndFeelPainter::FilterControlMenuGetColorPalette() { return nullptr; }

void TcxCustomLookAndFeelPainter::DrawFilterPanel(TcxCanvas* ACanvas, const TRect& ARect,
                                                  TGraphic* ABackgroundBitmap,
                                                  TColor ABackgroundColor, bool ATransparent) {
  TOwned<TBitmap> Bitmap(cxGetAsBitmap(ABackgroundBitmap));
  DrawBackground(ACanvas, ARect, ATransparent, ABackgroundColor, Bitmap.get());
}

void TcxCustomLookAndFeelPainter::DrawFilterRowSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                                         TColor ABackgroundColor) {
  DrawScaledHeader(ACanvas, ARect, ARect, TcxNeighbors(), cxBordersAll(), cxbsNormal, taLeftJustify,
                   vaTop, false, false, String(), nullptr, clWindowText, ABackgroundColor,
                   dxDefaultScaleFactor(), nullptr, false, false);
}

void TcxCustomLookAndFeelPainter::DrawFindPanel(TcxCanvas* ACanvas, const TRect& ARect,
                                                TGraphic* ABackgroundBitmap,
                                                TColor ABackgroundColor, bool ATransparent) {
  DrawFilterPanel(ACanvas, ARect, ABackgroundBitmap, ABackgroundColor, ATransparent);
}

void TcxCustomLookAndFeelPainter::DrawFindPanelBorder(TcxCanvas* ACanvas, const TRect& R,
                                                      TcxBorders ABorders) {
  DrawFooterBorderEx(ACanvas, R, ABorders);
}

void TcxCustomLookAndFeelPainter::DrawGroupByBox(TcxCanvas* ACanvas, const TRect& ARect,
                                                 TBitmap* ABackgroundBitmap,
                                                 TColor ABackgroundColor, bool ATransparent) {
  DrawBackground(ACanvas, ARect, ATransparent, ABackgroundColor, ABackgroundBitmap);
}

// ---------------------------------------------------------------------------
// Grid-like controls
Integer TcxCustomLookAndFeelPainter::GridBordersOverlapSize() { return 0; }
bool TcxCustomLookAndFeelPainter::GridDrawHeaderCellsFirst() { return HeaderDrawCellsFirst(); }
TColor TcxCustomLookAndFeelPainter::GridGroupRowStyleOffice11ContentColor(bool AHasData) {
  return AHasData ? clWindow : dxOffice11GroupIndentColor;
}
TColor TcxCustomLookAndFeelPainter::GridGroupRowStyleOffice11SeparatorColor() {
  return dxOffice11GroupRowSeparatorColor;
}
TColor TcxCustomLookAndFeelPainter::GridGroupRowStyleOffice11TextColor() {
  return dxOffice11GroupRowTextColor;
}
TColor TcxCustomLookAndFeelPainter::GridLikeControlBackgroundColor() {
  return DefaultContentColor();
}
TColor TcxCustomLookAndFeelPainter::GridLikeControlContentTextColor() {
  return DefaultContentTextColor();
}
bool TcxCustomLookAndFeelPainter::GridLikeControlDefaultUseOddEvenStyle() {
  return GridLikeControlContentColor() != GridLikeControlContentOddColor() ||
         GridLikeControlContentOddColor() != GridLikeControlContentEvenColor();
}
TColor TcxCustomLookAndFeelPainter::PivotGridHeadersAreaColor() {
  return DefaultHeaderBackgroundColor();
}
TColor TcxCustomLookAndFeelPainter::PivotGridHeadersAreaTextColor() {
  return DefaultHeaderBackgroundTextColor();
}
Integer TcxCustomLookAndFeelPainter::ChartToolBoxDataLevelInfoBorderSize() { return 1; }
