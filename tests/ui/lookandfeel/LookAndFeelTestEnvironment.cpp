// Starts, for the test run, the modules the look-and-feel layer stands on
// and the layer's own modules, in program order; shuts them down in reverse.
#include <gtest/gtest.h>

#include "LookAndFeelModules.h"

namespace {
class TLookAndFeelEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    try {
      StartLookAndFeelModules();
    } catch (const Exception& E) {
      FAIL() << "start-up: " << AnsiString(E.Message().begin(), E.Message().end());
    }
  }
  void TearDown() override { StopLookAndFeelModules(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TLookAndFeelEnvironment);
}  // namespace
