// Colour arithmetic that painters and colour schemes derive their shades
// with, and the device-context fills and frames by colour.
#pragma once

#include "dxGraphicsLink.h"

// The nearest colour the screen can show.
TColor dxGetNearestColor(TColor AColor);
// Per channel APercent of AColor1 and the rest of AColor2, then the nearest
// colour the screen can show.
TColor dxGetMiddleRGB(TColor AColor1, TColor AColor2, Integer APercent);
// A mix of the button-face, highlight and window colours by signed
// percentages, each channel clamped to 0..255; the highlight colour itself
// when the button face is black or white and the highlight is not black.
TColor GetLightColor(ShortInt ABtnFaceColorPart, ShortInt AHighlightColorPart,
                     ShortInt AWindowColorPart);
// The button face is black.
bool IsHighContrastBlack();
// The button face is black and the button text is not white.
bool IsHighContrast2();

// Nothing for the "none" colour.
void FillRectByColor(HDC DC, const TRect& R, TColor AColor);
void FrameRectByColor(HDC DC, const TRect& R, TColor AColor);
// From AColor1 to a middle shade (AGradientPercent / 2 % of the way to
// AColor2) at the centre line, and from there to AColor2, one band per pixel
// line; left to right when AHorizontal, else top to bottom.
void FillTubeGradientRect(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2,
                          Integer AGradientPercent, bool AHorizontal);

// Fills the foundation's table of graphics routines.
void cxGraphics_Initialize();
void cxGraphics_Finalize();
