#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
constexpr TRect cxDropDownListBoxItemImageOffsets{5, 3, 5, 3};
constexpr TRect cxDropDownListBoxItemTextOffsets{5, 2, 5, 2};
constexpr Integer cxDropDownListBoxSeparatorSize = 8;
constexpr Integer cxDropDownListBoxBordersSize = 3;
constexpr Integer cxScreenTipFooterLineSize = 3;
}  // namespace

// ---------------------------------------------------------------------------
// Drop-down list box
void TcxCustomLookAndFeelPainter::DrawDropDownListBoxBackground(TcxCanvas* ACanvas,
                                                                const TRect& ARect,
                                                                bool AHasBorders) {
  TRect Inside = ARect;
  if (AHasBorders) {
    ACanvas->DrawComplexFrame(Inside, cl3DLight, cl3DDkShadow);
    Inside = cxRectInflate(Inside, -1, -1);
    ACanvas->DrawComplexFrame(Inside, clBtnHighlight, clBtnShadow);
    Inside = cxRectInflate(Inside, -1, -1);
  }
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Inside, clMenu);
}

void TcxCustomLookAndFeelPainter::DrawDropDownListBoxGutterBackground(TcxCanvas* ACanvas,
                                                                      const TRect& ARect) {
  DrawDropDownListBoxScaledGutterBackground(ACanvas, ARect, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawDropDownListBoxScaledGutterBackground(TcxCanvas*,
                                                                            const TRect&,
                                                                            const TdxScaleFactor*) {
}

void TcxCustomLookAndFeelPainter::DrawDropDownListBoxSelection(TcxCanvas* ACanvas,
                                                               const TRect& ARect,
                                                               const TRect& AGutterRect) {
  DrawDropDownListBoxScaledSelection(ACanvas, ARect, AGutterRect, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas,
                                                                     const TRect& ARect,
                                                                     const TRect&,
                                                                     const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, clMenuHighlight);
}

void TcxCustomLookAndFeelPainter::DrawDropDownListBoxSeparator(TcxCanvas* ACanvas,
                                                               const TRect& ARect,
                                                               const TRect& AGutterRect) {
  DrawDropDownListBoxScaledSeparator(ACanvas, ARect, AGutterRect, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas,
                                                                     const TRect& ARect,
                                                                     const TRect&,
                                                                     const TdxScaleFactor*) {
  // An etched line in the upper middle of the rectangle.
  Integer Top = FloorHalf(ARect.top + ARect.bottom - 2);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRect(ARect.left, Top, ARect.right, Top + 1), clBtnShadow);
  ACanvas->FillRect(cxRect(ARect.left, Top + 1, ARect.right, Top + 2), clBtnHighlight);
}

TRect TcxCustomLookAndFeelPainter::DropDownListBoxItemImageOffsets() {
  return DropDownListBoxScaledItemImageOffsets(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::DropDownListBoxScaledItemImageOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxDropDownListBoxItemImageOffsets);
}

TRect TcxCustomLookAndFeelPainter::DropDownListBoxItemTextOffsets() {
  return DropDownListBoxScaledItemTextOffsets(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::DropDownListBoxScaledItemTextOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxDropDownListBoxItemTextOffsets);
}

TColor TcxCustomLookAndFeelPainter::DropDownListBoxItemTextColor(bool ASelected) {
  return ASelected ? clHighlightText : clMenuText;
}

Integer TcxCustomLookAndFeelPainter::DropDownListBoxSeparatorSize() {
  return DropDownListBoxScaledSeparatorSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::DropDownListBoxScaledSeparatorSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxDropDownListBoxSeparatorSize);
}

Integer TcxCustomLookAndFeelPainter::DropDownListBoxBordersSize() {
  return cxDropDownListBoxBordersSize;
}

// ---------------------------------------------------------------------------
// Hints and screen tips
TColor TcxCustomLookAndFeelPainter::GetHintBorderColor() { return clDefault; }

void TcxCustomLookAndFeelPainter::DrawHintBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                     TColor AColor) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, cxGetActualColor(AColor, clInfoBk));
}

IdxColorPalette* TcxCustomLookAndFeelPainter::ScreenTipGetColorPalette() { return nullptr; }

TColor TcxCustomLookAndFeelPainter::ScreenTipGetDescriptionTextColor() { return clDefault; }

TColor TcxCustomLookAndFeelPainter::ScreenTipGetTitleTextColor() { return clDefault; }

Integer TcxCustomLookAndFeelPainter::ScreenTipGetFooterLineSize() {
  return cxScreenTipFooterLineSize;
}

void TcxCustomLookAndFeelPainter::ScreenTipDrawBackground(TcxCanvas* ACanvas, const TRect& ARect) {
  DrawHintBackground(ACanvas, cxRectInflate(ARect, -1, -1), clDefault);
  SetPenColor(ACanvas, clWindowFrame);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
  auto SolidAgain = Finally([ACanvas] { ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid); });
  ACanvas->RoundRect(ARect, 2, 2);
}

void TcxCustomLookAndFeelPainter::ScreenTipDrawFooterLine(TcxCanvas* ACanvas, const TRect& ARect) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRect(ARect.left, ARect.top, ARect.right, ARect.top + 1), clWindowFrame);
  ACanvas->FillRect(cxRect(ARect.left, ARect.top + 1, ARect.right, ARect.top + 2), clWhite);
}
