// Starts, for the test run, the foundation and graphics modules the
// look-and-feel layer stands on and the layer's own modules.
#include <gtest/gtest.h>

#include "LookAndFeelStartUp.h"

namespace {
class TLookAndFeelEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { LookAndFeelStartUp::StartUp(); }
  void TearDown() override { LookAndFeelStartUp::ShutDown(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TLookAndFeelEnvironment);
}  // namespace
