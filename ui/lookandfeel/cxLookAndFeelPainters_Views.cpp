#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"
#include "dxOffice11.h"

using namespace cxPaintersInternal;

namespace {
constexpr TRect cxPrintPreviewPageBordersWidth{2, 2, 4, 4};
// The shadow of a print-preview page, below and to the right of it.
constexpr Integer cxPrintPreviewPageShadow = 2;

// A one-pixel frame left out of the clip region, so that a fill of the same
// rectangle that follows paints only its inside.
void ExcludedFrame(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxBorders ABorders) {
  ACanvas->FrameRect(R, Resolved(AColor), 1, ABorders, true);
}

void Fill(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, AColor);
}
}  // namespace

// ---------------------------------------------------------------------------
// Layout view
TRect TcxCustomLookAndFeelPainter::LayoutViewGetPadding(TcxLayoutElement) { return cxNullRect; }

TRect TcxCustomLookAndFeelPainter::LayoutViewGetSpacing(TcxLayoutElement) { return cxNullRect; }

void TcxCustomLookAndFeelPainter::LayoutViewDrawItem(TcxCanvas* ACanvas, const TRect& ABounds,
                                                     TcxButtonState AState, TcxBorders) {
  switch (AState) {
    case cxbsHot:
      ExcludedFrame(ACanvas, ABounds, clBtnShadow, cxBordersAll());
      Fill(ACanvas, ABounds, clGradientInactiveCaption);
      break;
    case cxbsPressed:
      Fill(ACanvas, ABounds, DefaultSelectionColor());
      break;
    case cxbsDisabled:
      Fill(ACanvas, ABounds, clInactiveCaption);
      break;
    default:
      Fill(ACanvas, ABounds, DefaultGroupColor());
      break;
  }
}

void TcxCustomLookAndFeelPainter::LayoutViewDrawRecordBorder(TcxCanvas* ACanvas,
                                                             const TRect& ABounds,
                                                             TcxButtonState AState,
                                                             TcxBorders ABorders) {
  ExcludedFrame(ACanvas, ABounds, AState == cxbsHot ? DefaultSelectionColor() : clBtnShadow,
                ABorders);
}

void TcxCustomLookAndFeelPainter::LayoutViewDrawRecordCaption(TcxCanvas* ACanvas,
                                                              const TRect& ABounds, const TRect&,
                                                              TcxGroupBoxCaptionPosition,
                                                              TcxButtonState AState, TColor AColor,
                                                              TBitmap* ABitmap) {
  LayoutViewDrawRecordBorder(ACanvas, ABounds, AState, cxBordersAll());
  if (AColor == clDefault && !ABitmap) AColor = DefaultLayoutViewCaptionColor(AState);
  DrawBackground(ACanvas, ABounds, ABitmap != nullptr, AColor, ABitmap);
}

void TcxCustomLookAndFeelPainter::LayoutViewDrawRecordContent(TcxCanvas* ACanvas,
                                                              const TRect& ABounds,
                                                              TcxGroupBoxCaptionPosition,
                                                              TcxButtonState AState,
                                                              TcxBorders ABorders) {
  LayoutViewDrawRecordBorder(ACanvas, ABounds, AState, ABorders);
  Fill(ACanvas, ABounds, DefaultGroupColor());
}

void TcxCustomLookAndFeelPainter::LayoutViewDrawRecordExpandButton(TcxCanvas* ACanvas,
                                                                   const TRect& ABounds,
                                                                   TcxButtonState AState,
                                                                   bool AExpanded) {
  LayoutViewDrawScaledRecordExpandButton(ACanvas, ABounds, AState, AExpanded,
                                         dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::LayoutViewDrawScaledRecordExpandButton(
    TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, bool AExpanded,
    const TdxScaleFactor* AScaleFactor) {
  DrawScaledGroupExpandButton(ACanvas, ABounds, AExpanded, AState, AScaleFactor);
}

Integer TcxCustomLookAndFeelPainter::LayoutViewRecordCaptionTailSize(TcxGroupBoxCaptionPosition) {
  return 0;
}

bool TcxCustomLookAndFeelPainter::LayoutViewRecordCaptionTextBold() { return false; }

// ---------------------------------------------------------------------------
// Explorer-style view
TColor TcxCustomLookAndFeelPainter::WinExplorerViewDefaultRecordColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsHot:
      return clGradientInactiveCaption;
    case cxbsPressed:
      return DefaultSelectionColor();
    case cxbsDisabled:
      return clInactiveCaption;
    default:
      return DefaultContentColor();
  }
}

void TcxCustomLookAndFeelPainter::WinExplorerViewDrawRecord(TcxCanvas* ACanvas,
                                                            const TRect& ABounds,
                                                            TcxButtonState AState, TColor AColor,
                                                            TBitmap* ABitmap) {
  if (AState == cxbsHot || AState == cxbsPressed || AState == cxbsDisabled)
    ExcludedFrame(ACanvas, ABounds, clBtnShadow, cxBordersAll());
  if (AColor == clDefault && !ABitmap) AColor = WinExplorerViewDefaultRecordColor(AState);
  DrawBackground(ACanvas, ABounds, ABitmap != nullptr, AColor, ABitmap);
}

void TcxCustomLookAndFeelPainter::WinExplorerViewDrawGroup(TcxCanvas* ACanvas, const TRect& ABounds,
                                                           TcxButtonState AState, TColor AColor,
                                                           TBitmap* ABitmap) {
  WinExplorerViewDrawRecord(ACanvas, ABounds, AState, AColor, ABitmap);
}

void TcxCustomLookAndFeelPainter::WinExplorerViewDrawGroupCaptionLine(TcxCanvas* ACanvas,
                                                                      const TRect& ABounds) {
  DrawSeparator(ACanvas, ABounds, false);
}

Integer TcxCustomLookAndFeelPainter::WinExplorerViewGroupCaptionLineHeight() {
  return SeparatorSize();
}

void TcxCustomLookAndFeelPainter::WinExplorerViewDrawRecordExpandButton(TcxCanvas* ACanvas,
                                                                        const TRect& ABounds,
                                                                        TcxButtonState AState,
                                                                        bool AExpanded) {
  WinExplorerViewDrawScaledRecordExpandButton(ACanvas, ABounds, AState, AExpanded,
                                              dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::WinExplorerViewDrawScaledRecordExpandButton(
    TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState, bool AExpanded,
    const TdxScaleFactor* AScaleFactor) {
  DrawScaledGroupExpandButton(ACanvas, ABounds, AExpanded, AState, AScaleFactor);
}

Integer TcxCustomLookAndFeelPainter::WinExplorerViewExpandButtonSize() {
  return WinExplorerViewScaledExpandButtonSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::WinExplorerViewScaledExpandButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  return ScaledGroupExpandButtonSize(AScaleFactor);
}

TColor TcxCustomLookAndFeelPainter::WinExplorerViewRecordTextColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsPressed:
      return DefaultSelectionTextColor();
    case cxbsDisabled:
      return DefaultInactiveTextColor();
    default:
      return DefaultContentTextColor();
  }
}

TColor TcxCustomLookAndFeelPainter::WinExplorerViewGroupTextColor(TcxButtonState AState) {
  return WinExplorerViewRecordTextColor(AState);
}

bool TcxCustomLookAndFeelPainter::WinExplorerViewGroupTextBold() { return false; }

// ---------------------------------------------------------------------------
// Layout control, scroll box, print preview, customization form, message box
TColor TcxCustomLookAndFeelPainter::LayoutControlEmptyAreaColor() { return clBtnFace; }

IdxColorPalette* TcxCustomLookAndFeelPainter::LayoutControlGetColorPaletteForGroupButton(
    TcxButtonState) {
  return nullptr;
}

IdxColorPalette* TcxCustomLookAndFeelPainter::LayoutControlGetColorPaletteForItemCaption() {
  return nullptr;
}

IdxColorPalette* TcxCustomLookAndFeelPainter::LayoutControlGetColorPaletteForTabbedGroupCaption(
    bool) {
  return nullptr;
}

void TcxCustomLookAndFeelPainter::DrawLayoutControlBackground(TcxCanvas* ACanvas, const TRect& R) {
  Fill(ACanvas, R, LayoutControlEmptyAreaColor());
}

void TcxCustomLookAndFeelPainter::DrawScrollBoxBackground(TcxCanvas* ACanvas, const TRect& R,
                                                          TColor AColor) {
  Fill(ACanvas, R, AColor);
}

TColor TcxCustomLookAndFeelPainter::PrintPreviewBackgroundTextColor() { return clWindowText; }

TRect TcxCustomLookAndFeelPainter::PrintPreviewPageBordersWidth() {
  return PrintPreviewPageBordersScaledWidth(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::PrintPreviewPageBordersScaledWidth(const TdxScaleFactor*) {
  return cxPrintPreviewPageBordersWidth;
}

void TcxCustomLookAndFeelPainter::DrawPrintPreviewBackground(TcxCanvas* ACanvas, const TRect& R) {
  DrawPrintPreviewScaledBackground(ACanvas, R, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawPrintPreviewScaledBackground(TcxCanvas* ACanvas,
                                                                   const TRect& R,
                                                                   const TdxScaleFactor*) {
  Fill(ACanvas, R, clBtnShadow);
}

void TcxCustomLookAndFeelPainter::DrawPrintPreviewPageBackground(TcxCanvas* ACanvas,
                                                                 const TRect& ABorderRect,
                                                                 const TRect& AContentRect,
                                                                 bool ASelected,
                                                                 bool ADrawContent) {
  DrawPrintPreviewPageScaledBackground(ACanvas, ABorderRect, AContentRect, ASelected, ADrawContent,
                                       dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawPrintPreviewPageScaledBackground(
    TcxCanvas* ACanvas, const TRect& ABorderRect, const TRect& AContentRect, bool ASelected,
    bool ADrawContent, const TdxScaleFactor*) {
  TClipRegionSaver KeepClip(ACanvas);
  TRect R = cxRect(ABorderRect.left, ABorderRect.top, ABorderRect.right - cxPrintPreviewPageShadow,
                   ABorderRect.bottom - cxPrintPreviewPageShadow);
  if (ADrawContent) Fill(ACanvas, AContentRect, clWindow);
  if (!ASelected) R = cxRectInflate(R, -1, -1);
  // The page's frame is what of R the content leaves; its shadow what of R
  // moved down and right R leaves.
  ACanvas->ExcludeClipRect(AContentRect);
  Fill(ACanvas, R, ASelected ? clHighlight : clWindowText);
  ACanvas->ExcludeClipRect(R);
  Fill(ACanvas, cxRectOffset(R, cxPrintPreviewPageShadow, cxPrintPreviewPageShadow), clWindowText);
}

TColor TcxCustomLookAndFeelPainter::GetCustomizationFormListBackgroundColor() { return clBtnFace; }

void TcxCustomLookAndFeelPainter::DrawMessageBox(TcxCanvas* ACanvas, const TRect& ABounds,
                                                 const String& AMessage, TFont* AFont,
                                                 TColor AColor) {
  ExcludedFrame(ACanvas, ABounds, DefaultGridLineColor(), cxBordersAll());
  Fill(ACanvas, ABounds, AColor == clNone ? DefaultGroupColor() : AColor);
  if (AFont) ACanvas->SetFont(AFont);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
  auto SolidAgain = Finally([ACanvas] { ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid); });
  ACanvas->DrawTexT(AMessage, ABounds, cxAlignHCenter | cxAlignVCenter | cxSingleLine);
}

// ---------------------------------------------------------------------------
// The painters' own
void TcxUltraFlatLookAndFeelPainter::DrawPrintPreviewScaledBackground(TcxCanvas* ACanvas,
                                                                      const TRect& R,
                                                                      const TdxScaleFactor*) {
  // The shadow colour a third of the way to white.
  COLORREF C = dxColorToRGB(clBtnShadow);
  auto Lighter = [](Integer V) { return V + (255 - V) / 3; };
  Fill(ACanvas, R,
       static_cast<TColor>(
           RGB(Lighter(GetRValue(C)), Lighter(GetGValue(C)), Lighter(GetBValue(C)))));
}

void TcxOffice11LookAndFeelPainter::LayoutViewDrawRecordCaption(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextRect,
    TcxGroupBoxCaptionPosition APosition, TcxButtonState AState, TColor, TBitmap*) {
  LayoutViewDrawRecordBorder(ACanvas, ABounds, AState, cxBordersAll());
  // A caption along the top is drawn flat, as a footer. The face lies
  // inside the border, as a header's does, so that the hot underline
  // straddles the border and not the neighbour below.
  DrawContent(ACanvas, cxRectInflate(ABounds, -1, -1), ATextRect, AState, taLeftJustify, vaTop,
              false, false, String(), nullptr, clDefault, clDefault, nullptr, APosition == cxgpTop);
}

void TcxOffice11LookAndFeelPainter::DrawLayoutControlBackground(TcxCanvas* ACanvas,
                                                                const TRect& R) {
  FillGradientRect(ACanvas->Handle(), R, dxOffice11ToolbarsColor1, dxOffice11ToolbarsColor2, false);
}
