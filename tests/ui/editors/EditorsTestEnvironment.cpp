// Starts the modules the editors' tests need once for the test run, in program order, and
// shuts them down in reverse.
#include <gtest/gtest.h>

#include "EditcoreTestSupport.h"
#include "cxCheckBox.h"
#include "cxExtEditConsts.h"
#include "cxLabel.h"
#include "cxMaskEdit.h"
#include "cxProgressBar.h"
#include "cxTextEdit.h"
#include "dxTaskbarProgress.h"

namespace {
class TEditorsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    EditcoreStartUp();
    cxTextEdit_Initialize();
    cxMaskEdit_Initialize();
    cxExtEditConsts_Initialize();
    cxProgressBar_Initialize();
    cxLabel_Initialize();
    cxCheckBox_Initialize();
    dxTaskbarProgress_Initialize();
  }
  void TearDown() override {
    dxTaskbarProgress_Finalize();
    cxCheckBox_Finalize();
    cxLabel_Finalize();
    cxProgressBar_Finalize();
    cxExtEditConsts_Finalize();
    cxMaskEdit_Finalize();
    cxTextEdit_Finalize();
    EditcoreShutDown();
  }
};

[[maybe_unused]] ::testing::Environment* const Environment =
    ::testing::AddGlobalTestEnvironment(new TEditorsEnvironment);
}  // namespace
