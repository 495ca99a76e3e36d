// The SVG tests stand on the graphics modules: started once for the run.
#include <gtest/gtest.h>

#include "SvgTestSupport.h"

namespace {
class TSvgEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { StartSvgModules(); }
  void TearDown() override { StopSvgModules(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TSvgEnvironment);
}  // namespace
