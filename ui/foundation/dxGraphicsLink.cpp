#include "dxGraphicsLink.h"

namespace {
TdxGraphicsRoutines GraphicsRoutines;

COLORREF PlatformSysColor(int AIndex) { return GetSysColor(AIndex); }
TdxSysColorFunc SysColorFunc = &PlatformSysColor;
}  // namespace

TdxGraphicsRoutines& dxGraphicsRoutines() { return GraphicsRoutines; }

const TdxGraphicsRoutines& dxCheckedGraphicsRoutines() {
  if (!GraphicsRoutines.GetMiddleRGB || !GraphicsRoutines.GetLightColor ||
      !GraphicsRoutines.GetNearestColor || !GraphicsRoutines.IsHighContrastBlack ||
      !GraphicsRoutines.IsHighContrast2 || !GraphicsRoutines.FillTubeGradientRect ||
      !GraphicsRoutines.FrameRectByColor)
    throw EdxException(L"The graphics routines are not bound");
  return GraphicsRoutines;
}

TdxSysColorFunc dxSetSysColorFunc(TdxSysColorFunc AFunc) {
  TdxSysColorFunc Previous = SysColorFunc;
  SysColorFunc = AFunc ? AFunc : &PlatformSysColor;
  return Previous;
}

COLORREF dxColorToRGB(TColor AColor) {
  if (AColor < 0) return SysColorFunc(AColor & 0xFF);
  return static_cast<COLORREF>(AColor);
}
