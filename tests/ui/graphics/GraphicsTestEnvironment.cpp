// Starts the modules the graphics tests stand on once for the run, in the
// program's order, and shuts them down in reverse.
#include <gtest/gtest.h>

#include "Controls.h"
#include "Forms.h"
#include "cxClasses.h"
#include "cxGeometry.h"
#include "cxLibraryStrs.h"
#include "dxCore.h"
#include "dxCoreClasses.h"
#include "dxCoreGraphics.h"
#include "dxDPIAwareUtils.h"
#include "dxGDIPlusAPI.h"
#include "dxGDIPlusClasses.h"
#include "dxSmartImage.h"

namespace {
class TGraphicsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    try {
      StartUp();
    } catch (const Exception& E) {
      FAIL() << "start-up: " << AnsiString(E.Message().begin(), E.Message().end());
    }
  }
  static void StartUp() {
    dxCore_Initialize();
    dxCoreClasses_Initialize();
    cxGeometry_Initialize();
    dxDPIAwareUtils_Initialize();
    Forms_Initialize();
    dxCoreGraphics_Initialize();
    dxGDIPlusAPI_Initialize();
    dxSmartImage_Initialize();
    dxGDIPlusClasses_Initialize();
    cxLibraryStrs_Initialize();
  }
  void TearDown() override {
    cxLibraryStrs_Finalize();
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
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TGraphicsEnvironment);
}  // namespace
