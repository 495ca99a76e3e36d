#include <gtest/gtest.h>

#include "dxHooks.h"

namespace {

std::vector<char> Calls;
LRESULT QResult = 0;
bool PRaises = false;

void HookP(Integer, WPARAM, LPARAM, LRESULT&) {
  Calls.push_back('P');
  if (PRaises) throw EAbort(L"");
}
int Handled = 0;
void CountHandled() {
  try {
    throw;
  } catch (const EAbort&) {
    ++Handled;
  }
}

void HookQ(Integer, WPARAM, LPARAM, LRESULT& R) {
  Calls.push_back('Q');
  if (QResult) R = QResult;
}
void HookR(Integer, WPARAM, LPARAM, LRESULT&) {
  Calls.push_back('R');
  dxReleaseHook(&HookP);  // unsubscribes one not called yet
  dxReleaseHook(&HookR);  // and itself
}
void HookGetMessage(Integer ACode, WPARAM, LPARAM lParam, LRESULT&) {
  if (ACode == HC_ACTION && reinterpret_cast<MSG*>(lParam)->message == WM_APP + 7)
    Calls.push_back('G');
}

class Hooks : public ::testing::Test {
 protected:
  void SetUp() override {
    Calls.clear();
    QResult = 0;
    PRaises = false;
    Saved = dxHooksPlatform();
  }
  void TearDown() override {
    for (TdxHookProc P : {&HookP, &HookQ, &HookR, &HookGetMessage}) dxReleaseHook(P);
    dxHooksPlatform() = Saved;
  }
  TdxSystemHook* Hook(TdxHookType T) { return dxHookController()->SystemHooks(T); }
  TdxHooksPlatform Saved;
};

TEST_F(Hooks, OneWindowsHookPerKindWhileSubscribed) {
  dxSetHook(htMouse, &HookP);
  HHOOK First = Hook(htMouse)->Handle();
  EXPECT_NE(First, nullptr);
  dxSetHook(htMouse, &HookQ);
  EXPECT_EQ(Hook(htMouse)->Handle(), First);
  EXPECT_THROW(dxSetHook(htMouse, &HookP), EAssertionFailed);
  EXPECT_EQ(Hook(htMouse)->SubscriberCount(), 2);
  dxReleaseHook(&HookP);
  EXPECT_EQ(Hook(htMouse)->Handle(), First);
  dxReleaseHook(&HookQ);
  EXPECT_EQ(Hook(htMouse)->Handle(), nullptr);

  dxSetHook(htKeyboard, &HookP);
  dxSetHook(htCBT, &HookP);
  dxReleaseHook(&HookP);
  EXPECT_EQ(Hook(htKeyboard)->Handle(), nullptr);
  EXPECT_EQ(Hook(htCBT)->Handle(), nullptr);
  dxReleaseHook(&HookP);  // not subscribed anywhere: nothing happens
}

TEST_F(Hooks, RealHookCallsReachSubscribers) {
  dxSetHook(htGetMessage, &HookGetMessage);
  PostThreadMessageW(GetCurrentThreadId(), WM_APP + 7, 0, 0);
  MSG Msg;
  while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  EXPECT_EQ(Calls, std::vector<char>{'G'});
}

TEST_F(Hooks, DispatchOrderAndResults) {
  dxSetHook(htWndProc, &HookP);
  dxSetHook(htWndProc, &HookQ);
  TdxSystemHook* H = Hook(htWndProc);
  Handled = 0;
  dxApplicationHandleException = &CountHandled;
  struct {
    LRESULT QSets;
    bool PRaises;
    LRESULT Expected;
  } Cases[] = {
      {1, false, 1},  // a subscriber's non-zero value replaces the chain's result
      {0, false, 0},  // zero leaves the chain's result (0 for a call nobody else hooks)
      {5, true, 5},   // P raises after Q ran; the call still completes
  };
  for (const auto& C : Cases) {
    Calls.clear();
    QResult = C.QSets;
    PRaises = C.PRaises;
    EXPECT_EQ(H->Process(HC_ACTION, 0, 0), C.Expected);
    EXPECT_EQ(Calls, (std::vector<char>{'Q', 'P'}));  // newest first
  }
  dxApplicationHandleException = nullptr;
  EXPECT_EQ(Handled, 1);  // P's exception went to the application's handler
}

TEST_F(Hooks, SubscribersMayLeaveDuringDispatch) {
  dxSetHook(htCBT, &HookP);
  dxSetHook(htCBT, &HookQ);
  dxSetHook(htCBT, &HookR);  // runs first, removes P and itself
  Hook(htCBT)->Process(HC_ACTION, 0, 0);
  EXPECT_EQ(Calls, (std::vector<char>{'R', 'Q'}));
  EXPECT_EQ(Hook(htCBT)->SubscriberCount(), 1);
  EXPECT_NE(Hook(htCBT)->Handle(), nullptr);
}

HHOOK WINAPI FailingSetHook(int, HOOKPROC, HINSTANCE, DWORD) { return nullptr; }

TEST_F(Hooks, FailedInstallationIsRetriedAndReleasedQuietly) {
  dxHooksPlatform().SetWindowsHookExW = &FailingSetHook;
  dxSetHook(htKeyboard, &HookP);
  EXPECT_EQ(Hook(htKeyboard)->Handle(), nullptr);
  dxHooksPlatform() = Saved;
  dxSetHook(htKeyboard, &HookQ);  // the next subscriber tries again
  EXPECT_NE(Hook(htKeyboard)->Handle(), nullptr);
  dxReleaseHook(&HookP);
  dxReleaseHook(&HookQ);
  EXPECT_EQ(Hook(htKeyboard)->Handle(), nullptr);

  dxHooksPlatform().SetWindowsHookExW = &FailingSetHook;
  dxSetHook(htKeyboard, &HookP);
  EXPECT_NO_THROW(dxReleaseHook(&HookP));  // the last release of a failed hook
  EXPECT_EQ(Hook(htKeyboard)->SubscriberCount(), 0);
}

}  // namespace
