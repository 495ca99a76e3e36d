// The modules the look-and-feel layer stands on and its own, started in
// program order and shut down in reverse; for the tests and the benchmarks.
#pragma once

#include "Forms.h"
#include "cxClasses.h"
#include "cxGeometry.h"
#include "cxGraphics.h"
#include "cxLibraryStrs.h"
#include "dxAnimation.h"
#include "dxCore.h"
#include "dxCoreClasses.h"
#include "dxCoreGraphics.h"
#include "dxDPIAwareUtils.h"
#include "dxFading.h"
#include "dxGDIPlusAPI.h"
#include "dxGDIPlusClasses.h"
#include "dxSkinsCore.h"
#include "dxSmartImage.h"

namespace LookAndFeelStartUp {
inline void StartUp() {
  dxCore_Initialize();
  dxCoreClasses_Initialize();
  cxGeometry_Initialize();
  dxDPIAwareUtils_Initialize();
  Forms_Initialize();
  dxCoreGraphics_Initialize();
  dxGDIPlusAPI_Initialize();
  dxSmartImage_Initialize();
  dxGDIPlusClasses_Initialize();
  cxGraphics_Initialize();
  cxLibraryStrs_Initialize();
  cxClasses_Initialize();
  dxSkinsCore_Initialize();
  dxFading_Initialize();
  dxAnimation_Initialize();
}

inline void ShutDown() {
  dxAnimation_Finalize();
  dxFading_Finalize();
  dxSkinsCore_Finalize();
  cxClasses_Finalize();
  cxLibraryStrs_Finalize();
  cxGraphics_Finalize();
  dxGDIPlusClasses_Finalize();
  dxSmartImage_Finalize();
  dxGDIPlusAPI_Finalize();
  dxCoreGraphics_Finalize();
  Forms_Finalize();
  dxDPIAwareUtils_Finalize();
  cxGeometry_Finalize();
  dxCoreClasses_Finalize();
  dxCore_Finalize();
}
}  // namespace LookAndFeelStartUp
