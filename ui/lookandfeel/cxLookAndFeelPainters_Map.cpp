// The map control, the office navigation bar, the PDF viewer and the
// spreadsheet: colours, sizes and backgrounds.
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
TdxAlphaColor Alpha(Cardinal AValue) { return static_cast<TdxAlphaColor>(AValue); }
TRect Square(Integer AValue) { return cxRect(AValue, AValue, AValue, AValue); }

constexpr Integer cxMapCustomElementCornerRadius = 4;
constexpr TColor cxOfficeNavigationBarBackgroundColor = 0x00E4E4E4;
constexpr TColor cxOfficeNavigationBarHotTextColor = 0x00C67200;
constexpr TColor cxOfficeNavigationBarTextColor = 0x00565656;

TColor NavigationBarTextColor(Integer AState) {
  return AState >= 1 && AState <= 3 ? cxOfficeNavigationBarHotTextColor
                                    : cxOfficeNavigationBarTextColor;
}
}  // namespace

// ---------------------------------------------------------------------------
// Map control
TColor TcxCustomLookAndFeelPainter::MapControlBackgroundColor() { return 0x00958B5F; }
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlPanelBackColor() { return Alpha(0xC8000000); }
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlPanelHotTrackedTextColor() {
  return Alpha(0xFFFFFFFF);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlPanelPressedTextColor() {
  return Alpha(0xFF7E8383);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlPanelTextColor() { return Alpha(0xFFADDFFF); }

TSize TcxCustomLookAndFeelPainter::MapControlGetMapPushpinSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(GetMapPushpin()->Size());
}

TPoint TcxCustomLookAndFeelPainter::MapControlGetMapPushpinTextOrigin(
    const TdxScaleFactor* AScaleFactor) {
  return TPoint{AScaleFactor->Apply(17), AScaleFactor->Apply(17)};
}

TRect TcxCustomLookAndFeelPainter::MapControlMapCustomElementSelectionOffset(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(14));
}

TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlMapCustomElementTextColor() {
  return Alpha(0xFF000000);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlMapCustomElementTextGlowColor() {
  return Alpha(0xFFFFFFFF);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlMapPushpinTextColor() {
  return Alpha(0xFF000000);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlMapPushpinTextGlowColor() {
  return Alpha(0xFFFFFFFF);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlSelectedRegionBackgroundColor() {
  return Alpha(0x800072AE);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlSelectedRegionBorderColor() {
  return Alpha(0xFF3399FF);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlShapeColor() { return Alpha(0xFFD7D7D7); }
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlShapeBorderColor() {
  return Alpha(0xFFFFFFFF);
}
Integer TcxCustomLookAndFeelPainter::MapControlShapeBorderWidth(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(1);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlShapeHighlightedColor() {
  return Alpha(0xFFD7D7D7);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlShapeBorderHighlightedColor() {
  return Alpha(0xFFFFFFFF);
}
Integer TcxCustomLookAndFeelPainter::MapControlShapeBorderHighlightedWidth(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(1);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlShapeSelectedColor() {
  return Alpha(0xFFD7D7D7);
}
TdxAlphaColor TcxCustomLookAndFeelPainter::MapControlShapeBorderSelectedColor() {
  return Alpha(0xFFFFFFFF);
}
Integer TcxCustomLookAndFeelPainter::MapControlShapeBorderSelectedWidth(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(1);
}

void TcxCustomLookAndFeelPainter::DrawMapCustomElementBackground(TcxCanvas* ACanvas,
                                                                 const TRect& ARect,
                                                                 TdxMapControlElementState AState) {
  TdxAlphaColor Fill = dxacNone, Pen = dxacNone;
  switch (AState) {
    case mcesHot:
    case mcesPressed:
      Fill = Alpha(0x5AFFFFFF);
      Pen = Alpha(0x5A000000);
      break;
    case mcesSelected:
      Fill = Alpha(0x80FFFFFF);
      Pen = Alpha(0x80000000);
      break;
    default:
      break;
  }
  PaintWithGdiPlus(ACanvas, ARect, [&](TdxGPPaintCanvas* GP) {
    const TdxGPSmoothingMode Mode = GP->SmoothingMode();
    GP->SetSmoothingMode(smAntiAlias);
    auto Restore = Finally([GP, Mode] { GP->SetSmoothingMode(Mode); });
    GP->RoundRect(cxRectInflate(ARect, -1, -1), Pen, Fill, cxMapCustomElementCornerRadius,
                  cxMapCustomElementCornerRadius, 1);
  });
}

void TcxCustomLookAndFeelPainter::DrawMapPushpin(TcxCanvas* ACanvas, const TRect& ARect,
                                                 TdxMapControlElementState, const TdxScaleFactor*) {
  GetMapPushpin()->StretchDraw(ACanvas->Handle(), ARect);
}

// ---------------------------------------------------------------------------
// Office navigation bar
void TcxCustomLookAndFeelPainter::OfficeNavigationBarDrawBackground(TcxCanvas* ACanvas,
                                                                    const TRect& ARect) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, cxOfficeNavigationBarBackgroundColor);
}

void TcxCustomLookAndFeelPainter::OfficeNavigationBarDrawButtonItemBackground(TcxCanvas* ACanvas,
                                                                              const TRect& ARect,
                                                                              Integer AState) {
  OfficeNavigationBarDrawScaledButtonItemBackground(ACanvas, ARect, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::OfficeNavigationBarDrawScaledButtonItemBackground(
    TcxCanvas* ACanvas, const TRect& ARect, Integer AState, const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, ARect, String(), AState == 1 ? cxbsHot : cxbsNormal, AScaleFactor, true,
                   clDefault, clDefault, false, false, cxbpButton);
}

void TcxCustomLookAndFeelPainter::OfficeNavigationBarDrawCustomizationButton(TcxCanvas* ACanvas,
                                                                             const TRect& ARect,
                                                                             Integer AState,
                                                                             TdxAlphaColor AColor) {
  OfficeNavigationBarDrawScaledCustomizationButton(ACanvas, ARect, AState, dxSystemScaleFactor(),
                                                   AColor);
}

void TcxCustomLookAndFeelPainter::OfficeNavigationBarDrawScaledCustomizationButton(
    TcxCanvas* ACanvas, const TRect& ARect, Integer, const TdxScaleFactor*, TdxAlphaColor AColor) {
  TdxSmartImage* Image = GetNavigationBarCustomizationButton();
  if (AColor == dxacDefault) {
    Image->StretchDraw(ACanvas->Handle(), ARect);
    return;
  }
  TOwned<TdxSmartImage> Copy = MakeOwned<TdxSmartImage>();
  Copy->Assign(Image);
  Byte AlphaValue = 0;
  Copy->ChangeColor(dxAlphaColorToColor(AColor, AlphaValue));
  Copy->StretchDraw(ACanvas->Handle(), ARect, dxGetAlpha(AColor));
}

void TcxCustomLookAndFeelPainter::OfficeNavigationBarDrawItemBackground(TcxCanvas* ACanvas,
                                                                        const TRect& ARect,
                                                                        Integer AState) {
  OfficeNavigationBarDrawScaledItemBackground(ACanvas, ARect, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::OfficeNavigationBarDrawScaledItemBackground(
    TcxCanvas*, const TRect&, Integer, const TdxScaleFactor*) {}

void TcxCustomLookAndFeelPainter::OfficeNavigationBarDrawImageSelection(TcxCanvas* ACanvas,
                                                                        const TRect& ARect,
                                                                        Integer AState) {
  OfficeNavigationBarDrawScaledImageSelection(ACanvas, ARect, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::OfficeNavigationBarDrawScaledImageSelection(
    TcxCanvas* ACanvas, const TRect& ARect, Integer AState, const TdxScaleFactor*) {
  if (AState != 1 && AState != 2 && AState != 3) return;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, AState == 2 ? TColor(0x00E0C092) : TColor(0x00F7E6CD));
}

TColor TcxCustomLookAndFeelPainter::OfficeNavigationBarButtonItemTextColor(Integer AState) {
  return NavigationBarTextColor(AState);
}

TColor TcxCustomLookAndFeelPainter::OfficeNavigationBarItemTextColor(Integer AState) {
  return NavigationBarTextColor(AState);
}

TRect TcxCustomLookAndFeelPainter::OfficeNavigationBarButtonItemContentOffsets() {
  return OfficeNavigationBarScaledButtonItemContentOffsets(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::OfficeNavigationBarScaledButtonItemContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(4));
}

Integer TcxCustomLookAndFeelPainter::OfficeNavigationBarButtonItemFontSize() {
  return OfficeNavigationBarScaledButtonItemFontSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::OfficeNavigationBarScaledButtonItemFontSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(9);
}

TRect TcxCustomLookAndFeelPainter::OfficeNavigationBarContentOffsets() {
  return OfficeNavigationBarScaledContentOffsets(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::OfficeNavigationBarScaledContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(2));
}

TSize TcxCustomLookAndFeelPainter::OfficeNavigationBarCustomizationButtonSize() {
  return OfficeNavigationBarScaledCustomizationButtonSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::OfficeNavigationBarScaledCustomizationButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(GetNavigationBarCustomizationButton()->Size());
}

TRect TcxCustomLookAndFeelPainter::OfficeNavigationBarItemContentOffsets() {
  return OfficeNavigationBarScaledItemContentOffsets(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::OfficeNavigationBarScaledItemContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(2));
}

Integer TcxCustomLookAndFeelPainter::OfficeNavigationBarItemFontSize() {
  return OfficeNavigationBarScaledItemFontSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::OfficeNavigationBarScaledItemFontSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(19);
}

// ---------------------------------------------------------------------------
// PDF viewer
IdxColorPalette* TcxCustomLookAndFeelPainter::PDFViewerNavigationPaneButtonColorPalette(
    TcxButtonState) {
  return nullptr;
}

TRect TcxCustomLookAndFeelPainter::PDFViewerNavigationPaneButtonContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(2));
}

TPoint TcxCustomLookAndFeelPainter::PDFViewerNavigationPaneButtonOverlay(
    const TdxScaleFactor* AScaleFactor) {
  const TRect Offsets = PDFViewerNavigationPaneButtonContentOffsets(AScaleFactor);
  return TPoint{Offsets.left, Offsets.top + BorderSize()};
}

TSize TcxCustomLookAndFeelPainter::PDFViewerNavigationPaneButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{42, 42});
}

TRect TcxCustomLookAndFeelPainter::PDFViewerNavigationPaneButtonRect(
    const TRect& ARect, TcxButtonState AState, bool ASelected, const TdxScaleFactor* AScaleFactor) {
  if (!ASelected && AState != cxbsPressed) return ARect;
  const TPoint Overlay = PDFViewerNavigationPaneButtonOverlay(AScaleFactor);
  return cxRectInflate(ARect, Overlay.x, Overlay.y);
}

TRect TcxCustomLookAndFeelPainter::PDFViewerNavigationPaneContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(4));
}

TRect TcxCustomLookAndFeelPainter::PDFViewerNavigationPanePageCaptionContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return PDFViewerNavigationPaneContentOffsets(AScaleFactor);
}

TColor TcxCustomLookAndFeelPainter::PDFViewerNavigationPanePageCaptionTextColor() {
  return DefaultContentTextColor();
}

TRect TcxCustomLookAndFeelPainter::PDFViewerNavigationPanePageContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return PDFViewerNavigationPaneContentOffsets(AScaleFactor);
}

TRect TcxCustomLookAndFeelPainter::PDFViewerNavigationPanePageToolbarContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return PDFViewerNavigationPaneContentOffsets(AScaleFactor);
}

TColor TcxCustomLookAndFeelPainter::PDFViewerSelectionColor() { return DefaultSelectionColor(); }

void TcxCustomLookAndFeelPainter::PDFViewerDrawFindPanelBackground(TcxCanvas* ACanvas,
                                                                   const TRect& R,
                                                                   TcxBorders ABorders) {
  DrawBorder(ACanvas, R);
  const Integer Border = BorderSize();
  TRect Inner = R;
  if (ABorders.Contains(bLeft)) Inner.left += Border;
  if (ABorders.Contains(bTop)) Inner.top += Border;
  if (ABorders.Contains(bRight)) Inner.right -= Border;
  if (ABorders.Contains(bBottom)) Inner.bottom -= Border;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Inner, DefaultControlColor());
}

void TcxCustomLookAndFeelPainter::PDFViewerDrawNavigationPaneBackground(TcxCanvas* ACanvas,
                                                                        const TRect& R) {
  PDFViewerDrawFindPanelBackground(ACanvas, R, TcxBorders{bRight});
}

void TcxCustomLookAndFeelPainter::PDFViewerDrawNavigationPaneButton(
    TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
    const TdxScaleFactor* AScaleFactor, bool AMinimized, bool ASelected, bool) {
  TRect R = PDFViewerNavigationPaneButtonRect(ARect, cxbsPressed, ASelected, AScaleFactor);
  if (AMinimized || !ASelected) {
    PDFViewerDrawFindPanelBackground(ACanvas, R, TcxBorders{bRight});
    const Integer Inset = ButtonBorderSize(cxbsNormal);
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(cxRectInflate(R, -Inset, -Inset), ButtonColor(AState));
  } else {
    DrawBorder(ACanvas, R);
    const Integer Border = BorderSize();
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(cxRect(R.left, R.top + Border, R.right, R.bottom - Border),
                      DefaultControlColor());
  }
}

void TcxCustomLookAndFeelPainter::PDFViewerDrawNavigationPanePageBackground(TcxCanvas* ACanvas,
                                                                            const TRect& R) {
  PDFViewerDrawFindPanelBackground(ACanvas, R, TcxBorders{bRight});
}

void TcxCustomLookAndFeelPainter::PDFViewerDrawNavigationPanePageButton(TcxCanvas* ACanvas,
                                                                        const TRect& ARect,
                                                                        TcxButtonState AState,
                                                                        const TdxScaleFactor*) {
  if (AState != cxbsHot && AState != cxbsPressed) return;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, clBtnShadow);
}

void TcxCustomLookAndFeelPainter::PDFViewerDrawNavigationPanePageCaptionBackground(
    TcxCanvas* ACanvas, const TRect& R) {
  PDFViewerDrawFindPanelBackground(ACanvas, R, TcxBorders{bRight});
}

void TcxCustomLookAndFeelPainter::PDFViewerDrawNavigationPanePageToolbarBackground(
    TcxCanvas* ACanvas, const TRect& R) {
  PDFViewerDrawFindPanelBackground(ACanvas, R, TcxBorders());
}

void TcxCustomLookAndFeelPainter::PDFViewerDrawPageThumbnailPreviewBackground(TcxCanvas* ACanvas,
                                                                              const TRect& R) {
  DrawPrintPreviewBackground(ACanvas, R);
}

// ---------------------------------------------------------------------------
// Spreadsheet
void TcxCustomLookAndFeelPainter::DrawSpreadSheetHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor,
    const TcxDrawBackgroundEvent& AOnDrawBackground, bool AIsLast, bool AIsGroup) {
  DrawSpreadSheetScaledHeader(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState,
                              AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText,
                              AFont, ATextColor, ABkColor, dxSystemScaleFactor(), AOnDrawBackground,
                              AIsLast, AIsGroup);
}

void TcxCustomLookAndFeelPainter::DrawSpreadSheetScaledHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor* AScaleFactor,
    const TcxDrawBackgroundEvent& AOnDrawBackground, bool AIsLast, bool AIsGroup) {
  const TColor Background =
      AState == cxbsHot ? dxGetMiddleRGB(ABkColor, clHighlight, 70) : ABkColor;
  DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AAlignmentHorz,
                   AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor,
                   Background, AScaleFactor, AOnDrawBackground, AIsLast, AIsGroup);
}

void TcxCustomLookAndFeelPainter::DrawSpreadSheetGroupExpandButton(TcxCanvas* ACanvas,
                                                                   const TRect& R,
                                                                   TcxButtonState AState) {
  DrawSpreadSheetScaledGroupExpandButton(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawSpreadSheetScaledGroupExpandButton(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, clDefault, clDefault, false,
                   false, cxbpButton);
}

void TcxCustomLookAndFeelPainter::DrawSpreadSheetGroupExpandButtonGlyph(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AExpanded,
    TCustomImageList* ADefaultGlyphs) {
  DrawSpreadSheetScaledGroupExpandButtonGlyph(ACanvas, R, AState, AExpanded, dxSystemScaleFactor(),
                                              ADefaultGlyphs);
}

void TcxCustomLookAndFeelPainter::DrawSpreadSheetScaledGroupExpandButtonGlyph(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState, bool AExpanded,
    const TdxScaleFactor* AScaleFactor, TCustomImageList* ADefaultGlyphs) {
  constexpr Integer ExpandedGlyph = 8, CollapsedGlyph = 6;
  const TRect Glyph = cxRectCenter(R, NavigatorScaledButtonGlyphSize(AScaleFactor));
  DrawNavigatorScaledButtonGlyph(ACanvas, ADefaultGlyphs,
                                 AExpanded ? ExpandedGlyph : CollapsedGlyph, Glyph, true, false,
                                 AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawSpreadSheetFormulaBarExpandButton(TcxCanvas* ACanvas,
                                                                        const TRect& R,
                                                                        TcxButtonState AState,
                                                                        bool AExpanded) {
  DrawSpreadSheetFormulaBarScaledExpandButton(ACanvas, R, AState, AExpanded, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawSpreadSheetFormulaBarScaledExpandButton(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AExpanded,
    const TdxScaleFactor* AScaleFactor) {
  DrawScaledScrollBarPart(ACanvas, false, R, AExpanded ? sbpLineUp : sbpLineDown, AState,
                          AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawSpreadSheetFormulaBarSeparator(TcxCanvas* ACanvas,
                                                                     const TRect& R) {
  DrawSpreadSheetFormulaBarScaledSeparator(ACanvas, R, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawSpreadSheetFormulaBarScaledSeparator(
    TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor) {
  DrawScaledSplitter(ACanvas, R, false, false, false, AScaleFactor);
}

Integer TcxCustomLookAndFeelPainter::SpreadSheetFormulaBarGetSeparatorSize() {
  return SpreadSheetFormulaBarGetScaledSeparatorSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::SpreadSheetFormulaBarGetScaledSeparatorSize(
    const TdxScaleFactor* AScaleFactor) {
  return GetScaledSplitterSize(false, AScaleFactor).cx;
}

TColor TcxCustomLookAndFeelPainter::SpreadSheetContentColor() { return clWindow; }
TColor TcxCustomLookAndFeelPainter::SpreadSheetContentTextColor() { return clWindowText; }
TColor TcxCustomLookAndFeelPainter::SpreadSheetFrozenPaneSeparatorColor() { return clBlack; }
TColor TcxCustomLookAndFeelPainter::SpreadSheetGroupExpandButtonTextColor(TcxButtonState AState) {
  return ButtonSymbolColor(AState, clDefault);
}
TColor TcxCustomLookAndFeelPainter::SpreadSheetGroupLineColor() { return clGray; }

TRect TcxCustomLookAndFeelPainter::SpreadSheetGroupExpandButtonContentOffsets() {
  return SpreadSheetScaledGroupExpandButtonContentOffsets(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::SpreadSheetScaledGroupExpandButtonContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(Square(3));
}

TSize TcxCustomLookAndFeelPainter::SpreadSheetGroupExpandButtonGlyphSize() {
  return SpreadSheetScaledGroupExpandButtonGlyphSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::SpreadSheetScaledGroupExpandButtonGlyphSize(
    const TdxScaleFactor* AScaleFactor) {
  return NavigatorScaledButtonGlyphSize(AScaleFactor);
}

TSize TcxCustomLookAndFeelPainter::SpreadSheetGroupLevelMarkSize() {
  return SpreadSheetScaledGroupLevelMarkSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::SpreadSheetScaledGroupLevelMarkSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{2, 2});
}

TColor TcxCustomLookAndFeelPainter::SpreadSheetSelectionColor() { return DefaultSelectionColor(); }

// The Native look's spreadsheet header is its plain header.
void TcxWinXPLookAndFeelPainter::DrawSpreadSheetScaledHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor* AScaleFactor,
    const TcxDrawBackgroundEvent& AOnDrawBackground, bool AIsLast, bool AIsGroup) {
  DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AAlignmentHorz,
                   AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor,
                   AScaleFactor, AOnDrawBackground, AIsLast, AIsGroup);
}
