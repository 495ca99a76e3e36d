// Starts, for the test run, the foundation modules the look-and-feel layer
// stands on and the layer's own modules, in program order; shuts them down in
// reverse.
#include <gtest/gtest.h>

#include "cxClasses.h"
#include "dxAnimation.h"
#include "dxCore.h"
#include "dxCoreClasses.h"

namespace {
class TLookAndFeelEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    dxCore_Initialize();
    dxCoreClasses_Initialize();
    cxClasses_Initialize();
    dxAnimation_Initialize();
  }
  void TearDown() override {
    dxAnimation_Finalize();
    cxClasses_Finalize();
    dxCoreClasses_Finalize();
    dxCore_Finalize();
  }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TLookAndFeelEnvironment);
}  // namespace
