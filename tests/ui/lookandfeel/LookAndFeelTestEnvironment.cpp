// Starts, for the test run, the foundation and graphics modules the
// look-and-feel layer stands on and the layer's own modules, in program
// order; shuts them down in reverse.
#include <gtest/gtest.h>

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

namespace {
class TLookAndFeelEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
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
  void TearDown() override {
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
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TLookAndFeelEnvironment);
}  // namespace
