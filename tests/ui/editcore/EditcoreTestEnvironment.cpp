#include <gtest/gtest.h>

#include "EditcoreTestSupport.h"
#include "Forms.h"
#include "cxClasses.h"
#include "cxDataConsts.h"
#include "cxDataStorage.h"
#include "cxDateUtils.h"
#include "cxFilterConsts.h"
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
  cxDataStorage_Initialize();
}

void EditcoreShutDown() {
  cxDataStorage_Finalize();
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

namespace {
class TEditcoreEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { EditcoreStartUp(); }
  void TearDown() override { EditcoreShutDown(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TEditcoreEnvironment);
}  // namespace
