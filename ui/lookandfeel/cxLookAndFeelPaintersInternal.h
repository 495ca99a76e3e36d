// What the parts of the painters module share among themselves; not for
// callers outside the module.
#pragma once

#include <algorithm>
#include <utility>

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

// Half a value rounded down (the midpoint of two coordinates).
inline Integer FloorHalf(Integer AValue) { return AValue >= 0 ? AValue / 2 : -((-AValue + 1) / 2); }

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

}  // namespace cxPaintersInternal
