#include "WinHandles.h"

int GetScreenDPI() {
  TScreenDC DC;
  int Result = DC ? GetDeviceCaps(DC.Get(), LOGPIXELSY) : 0;
  return Result > 0 ? Result : cxDefaultDPI;
}
