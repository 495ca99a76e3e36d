#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
constexpr TRect cxNavigatorButtonGlyphPadding{3, 4, 3, 4};
constexpr TSize cxNavigatorButtonGlyphSize{11, 11};
constexpr TSize cxNavigatorButtonMinSize{17, 19};
}  // namespace

// ---------------------------------------------------------------------------
// Date navigator
void TcxCustomLookAndFeelPainter::DrawDateNavigatorCellSelection(TcxCanvas* ACanvas, const TRect& R,
                                                                 TColor AColor) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, AColor);
}

void TcxCustomLookAndFeelPainter::DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, DefaultDateNavigatorHeaderColor());
  ACanvas->DrawEdge(R, false, false);
  R = cxRectInflate(R, -1, -1);
}

void TcxCustomLookAndFeelPainter::DrawDateNavigatorTodayCellSelection(TcxCanvas* ACanvas,
                                                                      const TRect& R) {
  ACanvas->FrameRect(R, Resolved(DefaultDateNavigatorTodayFrameColor()));
}

// ---------------------------------------------------------------------------
// Data navigator
void TcxCustomLookAndFeelPainter::DrawNavigatorBorder(TcxCanvas*, const TRect&, bool) {}

void TcxCustomLookAndFeelPainter::DrawNavigatorButton(TcxCanvas* ACanvas, const TRect& R,
                                                      TcxButtonState AState,
                                                      TColor ABackgroundColor) {
  DrawNavigatorScaledButton(ACanvas, R, AState, ABackgroundColor, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawNavigatorScaledButton(TcxCanvas* ACanvas, const TRect& R,
                                                            TcxButtonState AState, TColor,
                                                            const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, clDefault, clDefault, false,
                   false, cxbpButton);
}

void TcxCustomLookAndFeelPainter::DrawNavigatorButtonGlyph(TcxCanvas* ACanvas,
                                                           TCustomImageList* AImageList,
                                                           Integer AImageIndex,
                                                           const TRect& AGlyphRect, bool AEnabled,
                                                           bool AUserGlyphs) {
  DrawNavigatorScaledButtonGlyph(ACanvas, AImageList, AImageIndex, AGlyphRect, AEnabled,
                                 AUserGlyphs, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawNavigatorScaledButtonGlyph(
    TcxCanvas* ACanvas, TCustomImageList* AImageList, Integer AImageIndex, const TRect& AGlyphRect,
    bool AEnabled, bool, const TdxScaleFactor*) {
  if (!IsImageAssigned(AImageList, AImageIndex)) return;
  // The glyph's left-bottom pixel is its transparent colour, also for the
  // entries of a list without masks.
  TOwned<TBitmap> Image(Create<TBitmap>());
  AImageList->GetBitmap(AImageIndex, Image.get());
  TColor Key = clNone;
  if (!Image->Empty())
    Key = static_cast<TColor>(GetPixel(Image->Canvas()->Handle(), 0, Image->Height() - 1));
  cxDrawImage(ACanvas->Handle(), AGlyphRect, AGlyphRect, nullptr, AImageList, AImageIndex,
              EnabledImageDrawModeMap(AEnabled), false, nullptr, Key, true, nullptr);
}

bool TcxCustomLookAndFeelPainter::NavigatorBorderOverlap() { return false; }

Integer TcxCustomLookAndFeelPainter::NavigatorBorderSize() { return 0; }

TRect TcxCustomLookAndFeelPainter::NavigatorButtonGlyphPadding() {
  return NavigatorScaledButtonGlyphPadding(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::NavigatorScaledButtonGlyphPadding(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxNavigatorButtonGlyphPadding);
}

TSize TcxCustomLookAndFeelPainter::NavigatorButtonGlyphSize() {
  return NavigatorScaledButtonGlyphSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::NavigatorScaledButtonGlyphSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxNavigatorButtonGlyphSize);
}

TSize TcxCustomLookAndFeelPainter::NavigatorButtonMinSize() {
  return NavigatorScaledButtonMinSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::NavigatorScaledButtonMinSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxNavigatorButtonMinSize);
}

TPoint TcxCustomLookAndFeelPainter::NavigatorButtonPressedGlyphOffset() { return TPoint{1, 1}; }

TColor TcxCustomLookAndFeelPainter::NavigatorButtonTextColor(TcxButtonState) { return clBtnText; }

TColor TcxCustomLookAndFeelPainter::NavigatorInfoPanelColor() {
  return DefaultGridDetailsSiteColor();
}

TColor TcxCustomLookAndFeelPainter::NavigatorInfoPanelTextColor() {
  return DefaultContentTextColor();
}

// ---------------------------------------------------------------------------
// The scroll bar's splitter: a navigator button with a splitter inside.
void TcxCustomLookAndFeelPainter::DrawScrollBarSplitter(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxButtonState AState) {
  DrawScaledScrollBarSplitter(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledScrollBarSplitter(TcxCanvas* ACanvas, const TRect& R,
                                                              TcxButtonState AState,
                                                              const TdxScaleFactor* AScaleFactor) {
  DrawNavigatorScaledButton(ACanvas, R, AState, clDefault, AScaleFactor);
  DrawNavigatorBorder(ACanvas, R, false);
  DrawScaledSplitter(ACanvas, cxTextRect(R), AState == cxbsHot, AState == cxbsPressed, false,
                     AScaleFactor);
}

// ---------------------------------------------------------------------------
// The painters' own
void TcxFlatLookAndFeelPainter::DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, DefaultDateNavigatorHeaderColor());
  ACanvas->FillRect(cxRect(R.left, R.bottom - 1, R.right, R.bottom), clBtnFace);
  --R.bottom;
}

bool TcxUltraFlatLookAndFeelPainter::NavigatorBorderOverlap() { return true; }

Integer TcxUltraFlatLookAndFeelPainter::NavigatorBorderSize() { return BorderSize(); }

void TcxUltraFlatLookAndFeelPainter::DrawNavigatorScaledButton(TcxCanvas* ACanvas, const TRect& R,
                                                               TcxButtonState AState,
                                                               TColor ABackgroundColor,
                                                               const TdxScaleFactor*) {
  bool Quiet = AState == cxbsNormal || AState == cxbsDisabled;
  ACanvas->FrameRect(R, Resolved(Quiet ? ABackgroundColor : BorderHighlightColor()));
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRectInflate(R, -1, -1), ButtonColor(AState));
}

void TcxUltraFlatLookAndFeelPainter::DrawNavigatorBorder(TcxCanvas* ACanvas, const TRect& R,
                                                         bool ASelected) {
  ACanvas->FrameRect(R, Resolved(ASelected ? BorderHighlightColor() : clBtnShadow));
}

void TcxOffice11LookAndFeelPainter::DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, DefaultDateNavigatorHeaderColor());
}

Integer TcxOffice11LookAndFeelPainter::NavigatorBorderSize() { return 1; }
