// The colour and gradient routines of the graphics layer that foundation
// modules draw with. The graphics layer fills the table at its start-up;
// calling a routine before that raises EdxException.
#pragma once

#include "Graphics.h"
#include "cxGeometry.h"

struct TdxGraphicsRoutines {
  TColor (*GetMiddleRGB)(TColor AColor1, TColor AColor2, Integer APercent) = nullptr;
  TColor (*GetLightColor)(ShortInt ABtnFaceColorPart, ShortInt AHighlightColorPart,
                          ShortInt AWindowColorPart) = nullptr;
  TColor (*GetNearestColor)(TColor AColor) = nullptr;
  bool (*IsHighContrastBlack)() = nullptr;
  bool (*IsHighContrast2)() = nullptr;
  void (*FillTubeGradientRect)(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2,
                               Integer AGradientPercent, bool AHorizontal) = nullptr;
  void (*FrameRectByColor)(HDC DC, const TRect& R, TColor AColor) = nullptr;
};
TdxGraphicsRoutines& dxGraphicsRoutines();
// The table, raising EdxException when the graphics layer has not filled it.
const TdxGraphicsRoutines& dxCheckedGraphicsRoutines();

// ColorToRGB with the system colours taken from one replaceable source, so
// that colours derived from them can be computed for given system colours.
using TdxSysColorFunc = COLORREF (*)(int AIndex);
// Sets the source (nullptr restores the platform's GetSysColor) and returns
// the previous one.
TdxSysColorFunc dxSetSysColorFunc(TdxSysColorFunc AFunc);
// A system colour resolved to its current RGB value; any other colour as it
// stands.
COLORREF dxColorToRGB(TColor AColor);
