// Starts the foundation modules once for the test run, in program order, and
// shuts them down in reverse.
#include "FoundationTestEnvironment.h"

#include <gtest/gtest.h>

#include "cxClasses.h"
#include "cxDWMApi.h"
#include "cxLibraryStrs.h"
#include "dxCore.h"
#include "dxCoreClasses.h"
#include "dxCultureInfo.h"
#include "dxDPIAwareUtils.h"
#include "dxHooks.h"
#include "dxStringHelper.h"
#include "dxThemeManager.h"

void FoundationStartUp() {
  dxCore_Initialize();
  dxCoreClasses_Initialize();
  cxGeometry_Initialize();
  dxDPIAwareUtils_Initialize();
  dxUxTheme_Initialize();
  dxThemeManager_Initialize();
  cxDWMApi_Initialize();
  dxHooks_Initialize();
  cxLibraryStrs_Initialize();
  cxClasses_Initialize();
  dxCultureInfo_Initialize();
}

void FoundationShutDown() {
  dxCultureInfo_Finalize();
  dxStringHelper_Finalize();
  cxClasses_Finalize();
  cxLibraryStrs_Finalize();
  dxHooks_Finalize();
  cxDWMApi_Finalize();
  dxThemeManager_Finalize();
  dxUxTheme_Finalize();
  dxDPIAwareUtils_Finalize();
  cxGeometry_Finalize();
  dxCoreClasses_Finalize();
  dxCore_Finalize();
}

namespace {
class TFoundationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { FoundationStartUp(); }
  void TearDown() override { FoundationShutDown(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TFoundationEnvironment);
}  // namespace
