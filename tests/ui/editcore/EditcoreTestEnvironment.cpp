#include <gtest/gtest.h>

#include "EditcoreTestSupport.h"

namespace {
class TEditcoreEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { EditcoreStartUp(); }
  void TearDown() override { EditcoreShutDown(); }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TEditcoreEnvironment);
}  // namespace
