// Starts the modules the editors' tests need once for the test run, in program order, and
// shuts them down in reverse.
#include <gtest/gtest.h>

#include "EditcoreTestSupport.h"
#include "cxExtEditConsts.h"
#include "dxTaskbarProgress.h"

namespace {
class TEditorsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    EditcoreStartUp();
    cxExtEditConsts_Initialize();
    dxTaskbarProgress_Initialize();
  }
  void TearDown() override {
    dxTaskbarProgress_Finalize();
    cxExtEditConsts_Finalize();
    EditcoreShutDown();
  }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TEditorsEnvironment);
}  // namespace
