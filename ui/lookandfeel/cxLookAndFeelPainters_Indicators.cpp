#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
// The glyphs' resources in the order of their images.
const wchar_t* const IndicatorBitmaps[] = {
    L"CX_ARROWBITMAP",      L"CX_EDITBITMAP",   L"CX_INSERTBITMAP",      L"CX_MULTIDOTBITMAP",
    L"CX_MULTIARROWBITMAP", L"CX_FILTERBITMAP", L"CX_INPLACEEDITBITMAP", L"CX_SORTBYSUMMARYVALUE"};

TImageList* FIndicatorImages = nullptr;

TImageList* CreateIndicatorImages() {
  TOwned<TImageList> List(Create<TImageList>(nullptr));
  for (const wchar_t* Name : IndicatorBitmaps) {
    TOwned<TBitmap> Bitmap(Create<TBitmap>());
    Bitmap->LoadFromResourceName(GetModuleHandleW(nullptr), Name);
    // The list takes the size of the first glyph.
    if (List->Count() == 0) List->SetSize(Bitmap->Width(), Bitmap->Height());
    List->AddMasked(Bitmap.get(), clWhite);
  }
  return List.release();
}

constexpr Integer cxCustomizationMarkIndent = 3;
constexpr Integer cxCustomizationMarkRows = 5;
}  // namespace

TCustomImageList* cxIndicatorImages() {
  if (!FIndicatorImages) FIndicatorImages = CreateIndicatorImages();
  return FIndicatorImages;
}

void cxPaintersInternal::FreeIndicatorImages() {
  TImageList* List = FIndicatorImages;
  FIndicatorImages = nullptr;
  FreeAndNil(List);
}

// ---------------------------------------------------------------------------
// Indicators
void TcxCustomLookAndFeelPainter::DrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxIndicatorKind AKind) {
  DrawScaledIndicatorImage(ACanvas, R, AKind, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledIndicatorImage(TcxCanvas* ACanvas, const TRect& R,
                                                           TcxIndicatorKind AKind,
                                                           const TdxScaleFactor* AScaleFactor) {
  if (AKind == ikNone) return;
  auto Draw = [&] {
    cxDrawImage(ACanvas, R, nullptr, cxIndicatorImages(), AKind - 1, ifmNormal, idmNormal, true,
                nullptr, AScaleFactor);
  };
  // Only the arrows point the other way in right-to-left layout.
  if (AKind == ikArrow || AKind == ikMultiArrow)
    cxRightToLeftDependentDraw(ACanvas, R, Draw);
  else
    Draw();
}

void TcxCustomLookAndFeelPainter::DrawIndicatorItem(TcxCanvas* ACanvas, const TRect& R,
                                                    const TRect& AImageAreaBounds,
                                                    TcxIndicatorKind AKind, TColor AColor,
                                                    const TcxDrawBackgroundEvent& AOnDrawBackground,
                                                    TcxNeighbors ANeighbors) {
  DrawScaledIndicatorItem(ACanvas, R, AImageAreaBounds, AKind, AColor, dxSystemScaleFactor(),
                          AOnDrawBackground, ANeighbors);
}

void TcxCustomLookAndFeelPainter::DrawScaledIndicatorItem(
    TcxCanvas* ACanvas, const TRect& R, const TRect& AImageAreaBounds, TcxIndicatorKind AKind,
    TColor AColor, const TdxScaleFactor* AScaleFactor,
    const TcxDrawBackgroundEvent& AOnDrawBackground, TcxNeighbors ANeighbors) {
  DrawScaledHeader(ACanvas, R, R, TcxNeighbors(), HeaderBorders(ANeighbors), cxbsNormal,
                   taLeftJustify, vaTop, false, false, String(), nullptr, clNone, AColor,
                   AScaleFactor, AOnDrawBackground, false, false);
  DrawScaledIndicatorImage(ACanvas, AImageAreaBounds, AKind, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorItem(
    TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
    const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledIndicatorItem(ACanvas, R, AKind, AColor, dxSystemScaleFactor(), AOnDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawScaledIndicatorItem(
    TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
    const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledIndicatorItem(ACanvas, R, R, AKind, AColor, AScaleFactor, AOnDrawBackground,
                          TcxNeighbors{nTop, nBottom});
}

void TcxCustomLookAndFeelPainter::DrawIndicatorItemEx(
    TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
    const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledIndicatorItemEx(ACanvas, R, AKind, AColor, dxSystemScaleFactor(), AOnDrawBackground);
}

void TcxCustomLookAndFeelPainter::DrawScaledIndicatorItemEx(
    TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
    const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeaderEx(ACanvas, R, R, TcxNeighbors(), cxBordersAll(), cxbsNormal, taLeftJustify,
                     vaTop, false, false, String(), nullptr, clNone, AColor, AScaleFactor,
                     AOnDrawBackground);
  DrawScaledIndicatorImage(ACanvas, R, AKind, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawIndicatorCustomizationMark(TcxCanvas* ACanvas, const TRect& R,
                                                                 TColor AColor) {
  DrawScaledIndicatorCustomizationMark(ACanvas, R, AColor, dxDefaultScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledIndicatorCustomizationMark(
    TcxCanvas* ACanvas, const TRect& R, TColor AColor, const TdxScaleFactor* AScaleFactor) {
  const Integer One = AScaleFactor->Apply(1), Two = AScaleFactor->Apply(2);
  const Integer Indent = AScaleFactor->Apply(cxCustomizationMarkIndent);
  const Integer Length = cxRectWidth(R) - 2 * Indent;
  const Integer X = R.left + Indent;
  Integer Y = FloorHalf(R.top + R.bottom - cxCustomizationMarkRows * One - 4);
  SetPenColor(ACanvas, AColor);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  for (Integer Row = 0; Row < cxCustomizationMarkRows; ++Row, Y += Two) {
    // A tick box on every other row, a bar on each.
    if (Row % 2 == 0) ACanvas->FillRect(cxRect(X, Y, X + One, Y + One), AColor);
    ACanvas->FillRect(cxRect(X + 2 * One, Y, X + Length, Y + One), AColor);
  }
}

bool TcxCustomLookAndFeelPainter::IndicatorDrawItemsFirst() { return true; }

// ---------------------------------------------------------------------------
// Tabs
void TcxCustomLookAndFeelPainter::DrawTab(TcxCanvas*, const TRect&, TcxBorders, const String&,
                                          TcxButtonState, bool, TFont*, TColor, TColor, bool) {}

void TcxCustomLookAndFeelPainter::DrawTabBorder(TcxCanvas*, const TRect&, TcxBorder, TcxBorders,
                                                bool) {}

void TcxCustomLookAndFeelPainter::DrawTabsRoot(TcxCanvas*, const TRect&, TcxBorders, bool) {}

bool TcxCustomLookAndFeelPainter::IsDrawTabImplemented(bool) { return false; }

bool TcxCustomLookAndFeelPainter::IsTabHotTrack(bool) { return false; }

Integer TcxCustomLookAndFeelPainter::TabBorderSize(bool) { return 0; }
