// Starts, for the test run, the modules the control framework stands on and
// the layer's own modules, in program order; shuts them down in reverse.
#include <gtest/gtest.h>

#include "ControlsModules.h"

namespace {
class TControlsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    try {
      StartControlsModules();
    } catch (const Exception& E) {
      FAIL() << "start-up: " << AnsiString(E.Message().begin(), E.Message().end());
    }
  }
  void TearDown() override { StopControlsModules(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TControlsEnvironment);
}  // namespace
