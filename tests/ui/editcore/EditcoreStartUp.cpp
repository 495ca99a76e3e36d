// The start-up and shut-down of the modules the editor layer stands on and of
// the layer's own, in the program's order; the editors' tests use it too.
#include "EditcoreTestSupport.h"
#include "Forms.h"
#include "cxClasses.h"
#include "cxDataConsts.h"
#include "cxDataStorage.h"
#include "cxDateUtils.h"
#include "cxEditConsts.h"
#include "cxFilterConsts.h"
#include "cxFilterControlStrs.h"
#include "cxFilterControlUtils.h"
#include "cxFormats.h"
#include "cxLibraryStrs.h"
#include "dxCore.h"
#include "dxCoreClasses.h"

void EditcoreStartUp() {
  dxCore_Initialize();
  dxCoreClasses_Initialize();
  Forms_Initialize();
  cxLibraryStrs_Initialize();
  cxClasses_Initialize();
  cxDateUtils_Initialize();
  cxFormats_Initialize();
  cxDataConsts_Initialize();
  cxFilterConsts_Initialize();
  cxFilterControlStrs_Initialize();
  cxDataStorage_Initialize();
  cxFilterControlUtils_Initialize();
  cxEditConsts_Initialize();
}

void EditcoreShutDown() {
  cxEditConsts_Finalize();
  cxFilterControlUtils_Finalize();
  cxDataStorage_Finalize();
  cxFilterControlStrs_Finalize();
  cxFilterConsts_Finalize();
  cxDataConsts_Finalize();
  cxFormats_Finalize();
  cxDateUtils_Finalize();
  cxClasses_Finalize();
  cxLibraryStrs_Finalize();
  Forms_Finalize();
  dxCoreClasses_Finalize();
  dxCore_Finalize();
}
