// The start-up and shut-down of the modules the editor layer stands on and of
// the layer's own, in the program's order; the editors' tests use it too.
#include "EditcoreTestSupport.h"
#include "cxDataConsts.h"
#include "cxDataStorage.h"
#include "cxDateUtils.h"
#include "cxEdit.h"
#include "cxEditConsts.h"
#include "cxEditPaintUtils.h"
#include "cxFilterConsts.h"
#include "cxFilterControlStrs.h"
#include "cxFilterControlUtils.h"
#include "cxFormats.h"
#include "dxIncrementalFiltering.h"
#include "dxSpellCheckerCore.h"
#include "ui/controls/ControlsModules.h"

void EditcoreStartUp() {
  StartControlsModules();
  cxDateUtils_Initialize();
  cxFormats_Initialize();
  cxDataConsts_Initialize();
  cxFilterConsts_Initialize();
  cxFilterControlStrs_Initialize();
  cxDataStorage_Initialize();
  cxFilterControlUtils_Initialize();
  cxEditConsts_Initialize();
  cxEditPaintUtils_Initialize();
  dxSpellCheckerCore_Initialize();
  cxEdit_Initialize();
}

void EditcoreShutDown() {
  dxIncrementalFiltering_Finalize();
  cxEdit_Finalize();
  dxSpellCheckerCore_Finalize();
  cxEditPaintUtils_Finalize();
  cxEditConsts_Finalize();
  cxFilterControlUtils_Finalize();
  cxDataStorage_Finalize();
  cxFilterControlStrs_Finalize();
  cxFilterConsts_Finalize();
  cxDataConsts_Finalize();
  cxFormats_Finalize();
  cxDateUtils_Finalize();
  StopControlsModules();
}
