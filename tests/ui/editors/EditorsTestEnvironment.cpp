// Starts the modules the editors' tests need once for the test run, in program order, and
// shuts them down in reverse.
#include <gtest/gtest.h>

#include "EditcoreTestSupport.h"
#include "cxExtEditConsts.h"

namespace {
class TEditorsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    EditcoreStartUp();
    cxExtEditConsts_Initialize();
  }
  void TearDown() override {
    cxExtEditConsts_Finalize();
    EditcoreShutDown();
  }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TEditorsEnvironment);
}  // namespace
