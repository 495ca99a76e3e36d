// Starts the modules the editors' tests need once for the test run, in program order, and
// shuts them down in reverse.
#include <gtest/gtest.h>

#include "cxEditConsts.h"
#include "dxCore.h"

namespace {
class TEditorsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    dxCore_Initialize();
    cxEditConsts_Initialize();
  }
  void TearDown() override {
    cxEditConsts_Finalize();
    dxCore_Finalize();
  }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TEditorsEnvironment);
}  // namespace
