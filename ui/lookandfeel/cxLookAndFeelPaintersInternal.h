// What the parts of the painters module share among themselves; not for
// callers outside the module.
#pragma once

#include <algorithm>
#include <utility>

#include "WinHandles.h"
#include "cxLookAndFeelPainters.h"

namespace cxPaintersInternal {

// Colours handed to the framework's pens and fonts are resolved here, through
// the library's one source of system colours, as the canvas does for fills.
inline TColor Resolved(TColor AColor) {
  return (AColor == clDefault || AColor == clNone) ? AColor
                                                   : static_cast<TColor>(dxColorToRGB(AColor));
}
inline void SetPenColor(TcxCanvas* ACanvas, TColor AColor) {
  ACanvas->Pen()->SetColor(Resolved(AColor));
}
inline void SetFontColor(TcxCanvas* ACanvas, TColor AColor) {
  ACanvas->Font()->SetColor(Resolved(AColor));
}
// A solid triangle (or any polygon) with pen and brush in one colour.
inline void FillPolygon(TcxCanvas* ACanvas, const TcxArrowPoints& APoints, TColor AColor) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->SetBrushColor(Resolved(AColor));
  SetPenColor(ACanvas, AColor);
  ACanvas->Polygon(APoints);
}
// A one-pixel line from (X1, Y1) up to (X2, Y2), the end point excluded.
inline void PenLine(TcxCanvas* ACanvas, Integer X1, Integer Y1, Integer X2, Integer Y2) {
  ACanvas->MoveTo(X1, Y1);
  ACanvas->LineTo(X2, Y2);
}

// The canvas text flags of a cell's alignments and line options.
inline Integer ContentTextFlags(TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                bool AMultiLine, bool AShowEndEllipsis) {
  return cxAlignmentsHorz(AAlignmentHorz) | cxAlignmentsVert(AAlignmentVert) |
         (AMultiLine ? cxWordBreak : cxSingleLine) | (AShowEndEllipsis ? cxShowEndEllipsis : 0);
}

// Half a value rounded down (the midpoint of two coordinates).
inline Integer FloorHalf(Integer AValue) { return AValue >= 0 ? AValue / 2 : -((-AValue + 1) / 2); }

// One paint of the shared GDI+ canvas on ACanvas over R, ended on every path.
template <class F>
void PaintWithGdiPlus(TcxCanvas* ACanvas, const TRect& R, F&& ADraw) {
  TdxGPPaintCanvas* GP = dxGPPaintCanvas();
  GP->BeginPaint(ACanvas->Handle(), R);
  auto End = Finally([GP] { GP->EndPaint(); });
  ADraw(GP);
}

// A pen width of one pixel at 96 DPI at the factor, fractions kept.
inline Single PenWidth(const TdxScaleFactor* AScaleFactor) {
  return static_cast<Single>(AScaleFactor->Numerator()) /
         static_cast<Single>(AScaleFactor->Denominator());
}

// The canvas's font, brush, pen and device-context state, given back when
// the scope ends.
class TCanvasStateSaver {
 public:
  explicit TCanvasStateSaver(TcxCanvas* ACanvas) : FCanvas(ACanvas) { FCanvas->SaveState(); }
  ~TCanvasStateSaver() { FCanvas->RestoreState(); }
  TCanvasStateSaver(const TCanvasStateSaver&) = delete;
  TCanvasStateSaver& operator=(const TCanvasStateSaver&) = delete;

 private:
  TcxCanvas* FCanvas;
};

// The canvas's clip region, given back when the scope ends.
class TClipRegionSaver {
 public:
  explicit TClipRegionSaver(TcxCanvas* ACanvas) : FCanvas(ACanvas) { FCanvas->SaveClipRegion(); }
  ~TClipRegionSaver() { FCanvas->RestoreClipRegion(); }
  TClipRegionSaver(const TClipRegionSaver&) = delete;
  TClipRegionSaver& operator=(const TClipRegionSaver&) = delete;

 private:
  TcxCanvas* FCanvas;
};

// A painter of a fixed style from the registry; nullptr when there is none.
TcxCustomLookAndFeelPainter* RegisteredPainter(TcxLookAndFeelStyle AStyle);

// A scroll bar's page area in the classic patterns, the pressed one while
// pressed.
void DrawScrollBarPage(TcxCanvas* ACanvas, const TRect& R, bool APressed);

// What the Standard and Flat looks draw alike.
void DrawClassicHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors);
void DrawClassicTabBorder(TcxCanvas* ACanvas, TRect R, TcxBorder ABorder, TcxBorders ABorders,
                          bool AVertical);
void DrawClassicFilterDropDownButton(TcxCustomLookAndFeelPainter* APainter, TcxCanvas* ACanvas,
                                     const TRect& R, TcxButtonState AState, bool AIsFilterActive);

// The filter drop-down arrow's colour while the filter is on.
constexpr TColor cxFilterActiveArrowColor = 0xFF0000;

// The Native painter's theme access. The handle of an element's theme class
// is asked for at each call; a null handle makes every query fail.
// Elements that exist only from Windows Vista on.
HTHEME VistaTheme(TdxThemedObjectType AType);
bool ThemePartSize(HTHEME ATheme, HDC DC, Integer APart, Integer AState, THEMESIZE AKind,
                   TSize& ASize, const TRect* ABounds = nullptr);
void DrawPart(HTHEME ATheme, HDC DC, Integer APart, Integer AState, const TRect& R);
bool ThemeContentRect(HTHEME ATheme, HDC DC, Integer APart, Integer AState, const TRect& R,
                      TRect& AContent);
// Left width, top height, right width and bottom height of a margins
// property.
bool ThemeMargins(HTHEME ATheme, HDC DC, Integer APart, Integer AState, Integer AProperty,
                  TRect& AMargins);
constexpr Integer cxThemeTextColorProperty = 3803;       // TMT_TEXTCOLOR
constexpr Integer cxThemeContentMarginsProperty = 3602;  // TMT_CONTENTMARGINS

// Frees the indicator glyphs at shut-down.
void FreeIndicatorImages();

}  // namespace cxPaintersInternal
