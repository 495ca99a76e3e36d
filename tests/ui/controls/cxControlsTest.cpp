#include <gtest/gtest.h>

#include "ControlsModules.h"

namespace {

// The module shut down and started again, as a test that needs its
// shut-down state does it; the run's environment sees it started after.
struct TRestartGuard {
  ~TRestartGuard() { cxControls_Initialize(); }
};

TEST(cxControlsServices, AccessorsMakeOneObjectAndNoneAfterShutDown) {
  TcxMessageWindow* Window = cxMessageWindow();
  ASSERT_NE(Window, nullptr);
  EXPECT_EQ(cxMessageWindow(), Window);
  EXPECT_TRUE(IsWindow(Window->Handle()));
  HWND Handle = Window->Handle();
  {
    TRestartGuard Restart;
    cxControls_Finalize();
    EXPECT_FALSE(IsWindow(Handle));
    EXPECT_EQ(cxMessageWindow(), nullptr);
  }
  EXPECT_NE(cxMessageWindow(), nullptr);
}

}  // namespace
