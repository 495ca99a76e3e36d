// The modules the control framework stands on and the layer's own, in the
// program's order; the tests, the gallery tool and the benchmarks start them
// with this table and shut them down in reverse.
#pragma once

#include <iterator>

#include "Forms.h"
#include "cxButtons.h"
#include "cxClasses.h"
#include "cxControls.h"
#include "cxDWMApi.h"
#include "cxDrawTextUtils.h"
#include "cxGeometry.h"
#include "cxGraphics.h"
#include "cxLibraryStrs.h"
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeels.h"
#include "cxPopupHooks.h"
#include "dxAnimation.h"
#include "dxCore.h"
#include "dxCoreClasses.h"
#include "dxCoreGraphics.h"
#include "dxCustomHint.h"
#include "dxDPIAwareUtils.h"
#include "dxFading.h"
#include "dxForms.h"
#include "dxGDIPlusAPI.h"
#include "dxGDIPlusClasses.h"
#include "dxHooks.h"
#include "dxOffice11.h"
#include "dxSkinsCore.h"
#include "dxSmartImage.h"
#include "dxThemeManager.h"
#include "dxThreading.h"
#include "dxTouch.h"
#include "dxUxTheme.h"

struct TControlsModule {
  void (*Initialize)();
  void (*Finalize)();
};

inline const TControlsModule ControlsModules[] = {
    {&dxCore_Initialize, &dxCore_Finalize},
    {&dxCoreClasses_Initialize, &dxCoreClasses_Finalize},
    {&cxGeometry_Initialize, &cxGeometry_Finalize},
    {&dxDPIAwareUtils_Initialize, &dxDPIAwareUtils_Finalize},
    {&dxUxTheme_Initialize, &dxUxTheme_Finalize},
    {&dxThemeManager_Initialize, &dxThemeManager_Finalize},
    {&cxDWMApi_Initialize, &cxDWMApi_Finalize},
    {&dxHooks_Initialize, &dxHooks_Finalize},
    {&dxTouch_Initialize, &dxTouch_Finalize},
    {&Forms_Initialize, &Forms_Finalize},
    {&dxCoreGraphics_Initialize, &dxCoreGraphics_Finalize},
    {&dxGDIPlusAPI_Initialize, &dxGDIPlusAPI_Finalize},
    {&dxSmartImage_Initialize, &dxSmartImage_Finalize},
    {&dxGDIPlusClasses_Initialize, &dxGDIPlusClasses_Finalize},
    {&cxGraphics_Initialize, &cxGraphics_Finalize},
    {&cxDrawTextUtils_Initialize, &cxDrawTextUtils_Finalize},
    {&cxLibraryStrs_Initialize, &cxLibraryStrs_Finalize},
    {&cxClasses_Initialize, &cxClasses_Finalize},
    {&dxThreading_Initialize, &dxThreading_Finalize},
    {&dxOffice11_Initialize, &dxOffice11_Finalize},
    {&dxSkinsCore_Initialize, &dxSkinsCore_Finalize},
    {&dxFading_Initialize, &dxFading_Finalize},
    {&cxLookAndFeelPainters_Initialize, &cxLookAndFeelPainters_Finalize},
    {&cxLookAndFeels_Initialize, &cxLookAndFeels_Finalize},
    {&dxAnimation_Initialize, &dxAnimation_Finalize},
    {&cxControls_Initialize, &cxControls_Finalize},
    // Forms, the popup closing hooks and hints.
    {&dxForms_Initialize, &dxForms_Finalize},
    {&cxPopupHooks_Initialize, &cxPopupHooks_Finalize},
    {&dxCustomHint_Initialize, &dxCustomHint_Finalize},
    {&cxButtons_Initialize, &cxButtons_Finalize},
};

inline void StartControlsModules() {
  for (const TControlsModule& M : ControlsModules) M.Initialize();
}

inline void StopControlsModules() {
  for (auto It = std::rbegin(ControlsModules); It != std::rend(ControlsModules); ++It)
    It->Finalize();
}
