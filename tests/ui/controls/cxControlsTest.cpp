// The process-wide services: message windows, system information, message
// locking and purging, and the module's shut-down.
#include <gtest/gtest.h>

#include <vector>

#include "ControlsModules.h"
#include "ControlsTestSupport.h"

namespace {

// The module shut down and started again, as a test that needs its
// shut-down state does it; the run's environment sees it started after.
struct TRestartGuard {
  ~TRestartGuard() { cxControls_Initialize(); }
};

std::vector<String> Reports;
void NoteReport() {
  try {
    throw;
  } catch (const Exception& E) {
    Reports.push_back(E.Message());
  }
}

struct TReportScope {
  TdxHandleExceptionProc Saved = dxApplicationHandleException;
  TReportScope() {
    Reports.clear();
    dxApplicationHandleException = &NoteReport;
  }
  ~TReportScope() { dxApplicationHandleException = Saved; }
};

// A plain top-level window of the test's own, destroyed at the end.
struct TTestWindow {
  HWND Handle;
  explicit TTestWindow(HWND AParent = nullptr)
      : Handle(CreateWindowExW(0, L"STATIC", L"", AParent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10,
                               AParent, nullptr, nullptr, nullptr)) {}
  ~TTestWindow() { DestroyWindow(Handle); }
};

void Drain(HWND AWnd) {
  MSG Msg;
  while (PeekMessageW(&Msg, AWnd, 0, 0, PM_REMOVE)) {
  }
}

TEST(cxControlsServices, AccessorsMakeOneObjectAndNoneAfterShutDown) {
  TcxMessageWindow* Window = cxMessageWindow();
  ASSERT_NE(Window, nullptr);
  EXPECT_EQ(cxMessageWindow(), Window);
  EXPECT_EQ(GetParent(Window->Handle()), nullptr);  // message-only: no visible parent
  ASSERT_NE(dxSystemInfo(), nullptr);
  ASSERT_NE(dxMessagesController(), nullptr);
  ASSERT_NE(cxWindowProcController(), nullptr);
  HWND Handle = Window->Handle(), InfoHandle = dxSystemInfo()->Handle();
  {
    TRestartGuard Restart;
    cxControls_Finalize();
    EXPECT_FALSE(IsWindow(Handle));
    EXPECT_FALSE(IsWindow(InfoHandle));
    EXPECT_EQ(cxMessageWindow(), nullptr);
    EXPECT_EQ(dxSystemInfo(), nullptr);
    EXPECT_EQ(dxMessagesController(), nullptr);
    EXPECT_EQ(cxWindowProcController(), nullptr);
    EXPECT_EQ(MouseTrackingTimerList(), nullptr);
    dxRemoveSystemInfoListener(nullptr);  // tolerated without the object
  }
  EXPECT_NE(cxMessageWindow(), nullptr);
}

struct TSilentCaller : IcxMouseTrackingCaller {
  void MouseLeave() override {}
};

TEST(cxControlsServices, ShutDownWithTrackingLeftReportsAndFreesTheServicesAfterIt) {
  TSilentCaller Caller;
  BeginMouseTracking(nullptr, cxRect(-100, -100, -90, -90), &Caller);
  ASSERT_TRUE(IsMouseTracking(&Caller));
  HWND Window = cxMessageWindow()->Handle(), Info = dxSystemInfo()->Handle();
  dxMessagesController();
  cxWindowProcController();
  TReportScope Scope;
  {
    TRestartGuard Restart;
    EXPECT_NO_THROW(cxControls_Finalize());
    EXPECT_FALSE(IsWindow(Window));
    EXPECT_FALSE(IsWindow(Info));
    EXPECT_EQ(dxMessagesController(), nullptr);
    EXPECT_EQ(cxWindowProcController(), nullptr);
  }
  ASSERT_EQ(Reports.size(), 1u);
  EXPECT_EQ(Reports[0], L"MouseTrackingTimerList.Count <> 0");
  EXPECT_FALSE(IsMouseTracking(&Caller));
}

TEST(cxControlsServices, StartUpFillsTheFadersSystemInformationLink) {
  ASSERT_NE(dxFadingSystemInfoLink().IsMenuAnimation, nullptr);
  BOOL Platform = FALSE;
  SystemParametersInfoW(SPI_GETMENUANIMATION, 0, &Platform, 0);
  EXPECT_EQ(dxFadingSystemInfoLink().IsMenuAnimation(), Platform != FALSE);
}

TEST(cxControlsServices, TheControlsCursorsAreInTheScreensList) {
  EXPECT_EQ(Screen()->Cursors(-2099), LoadCursorW(nullptr, IDC_HAND));
  for (TCursor Id : {2100, 2101, 2107, 2117, 2119, 2126})
    EXPECT_NE(Screen()->Cursors(Id), Screen()->Cursors(crDefault)) << Id;
}

// ---------------------------------------------------------------------------

struct TKillCase {
  const char* Name;
  std::vector<UINT> Posted;
  UINT Min, Max;
  bool All;
  bool Result;
  std::vector<UINT> Left;
};

TEST(cxControlsMessages, KillMessagesTable) {
  const UINT A = WM_APP + 1, B = WM_APP + 2, C = WM_APP + 3;
  const TKillCase Cases[] = {
      {"max 0 purges one number", {A, B, A}, A, 0, true, true, {B}},
      {"one only", {A, B, A}, A, B, false, true, {B, A}},
      {"all in the range", {A, B, C}, A, B, true, true, {C}},
      {"nothing in range", {C}, A, B, true, false, {C}},
  };
  TTestWindow W;
  for (const TKillCase& K : Cases) {
    Drain(W.Handle);
    for (UINT M : K.Posted) PostMessageW(W.Handle, M, 0, 0);
    EXPECT_EQ(dxMessagesController()->KillMessages(W.Handle, K.Min, K.Max, K.All), K.Result)
        << K.Name;
    std::vector<UINT> Left;
    MSG Msg;
    while (PeekMessageW(&Msg, W.Handle, 0, 0, PM_REMOVE))
      if (Msg.message >= WM_APP) Left.push_back(Msg.message);
    EXPECT_EQ(Left, K.Left) << K.Name;
  }
}

TEST(cxControlsMessages, KillMessagesPostsAQuitAgainAndStops) {
  // WM_QUIT is taken by a purge over every window (nullptr) and every number.
  TTestWindow W;
  Drain(nullptr);
  PostQuitMessage(7);
  EXPECT_FALSE(dxMessagesController()->KillMessages(nullptr, 0, 0xFFFF, true));
  MSG Msg;
  ASSERT_TRUE(PeekMessageW(&Msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(Msg.wParam, 7u);
}

TEST(cxControlsMessages, IsMessageInQueueOnlyForTheWindowItself) {
  TTestWindow Parent;
  TTestWindow Child(Parent.Handle);
  Drain(nullptr);
  PostMessageW(Child.Handle, WM_APP + 5, 0, 0);
  EXPECT_FALSE(dxMessagesController()->IsMessageInQueue(Parent.Handle, WM_APP + 5));
  EXPECT_TRUE(dxMessagesController()->IsMessageInQueue(Child.Handle, WM_APP + 5));
  EXPECT_FALSE(dxMessagesController()->IsMessageInQueue(Child.Handle, WM_APP + 6));
  Drain(nullptr);
}

TEST(cxControlsMessages, LockedNumbersCountDuplicates) {
  TdxMessagesController* M = dxMessagesController();
  M->LockMessages({WM_APP + 9, WM_APP + 9});
  M->UnlockMessages({WM_APP + 9});
  EXPECT_TRUE(M->IsMessageLocked(WM_APP + 9));
  M->UnlockMessages({WM_APP + 9});
  EXPECT_FALSE(M->IsMessageLocked(WM_APP + 9));
}

TEST(cxControlsMessages, ABlockSwallowsOneMessageAndRestoresTheProcedure) {
  // The controller alone: the popup hooks would swallow every locked message.
  RemovePopupHooks();
  auto Restore = Finally([] { SetPopupHooks(); });
  TTestWindow W;
  LONG_PTR Own = GetWindowLongPtrW(W.Handle, GWLP_WNDPROC);
  TdxMessagesController* M = dxMessagesController();
  M->LockMessages({WM_SETTEXT});
  UINT Msg = WM_SETTEXT;
  M->BlockLockedMessage(W.Handle, Msg);
  EXPECT_EQ(Msg, static_cast<UINT>(WM_NULL));
  EXPECT_NE(GetWindowLongPtrW(W.Handle, GWLP_WNDPROC), Own);
  EXPECT_THROW(M->BlockMessage(W.Handle), EdxException);
  // The swallowed message: answered 1, the text not set.
  EXPECT_EQ(SendMessageW(W.Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"lost")), 1);
  EXPECT_EQ(GetWindowLongPtrW(W.Handle, GWLP_WNDPROC), Own);
  wchar_t Text[16] = {};
  GetWindowTextW(W.Handle, Text, 16);
  EXPECT_STREQ(Text, L"");
  // The next reaches the window, and a new block is allowed again.
  SendMessageW(W.Handle, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"kept"));
  GetWindowTextW(W.Handle, Text, 16);
  EXPECT_STREQ(Text, L"kept");
  UINT Other = WM_APP;
  M->BlockLockedMessage(W.Handle, Other);
  EXPECT_EQ(Other, static_cast<UINT>(WM_APP));  // not locked: untouched
  EXPECT_NO_THROW(M->BlockMessage(W.Handle));
  SendMessageW(W.Handle, WM_NULL, 0, 0);
  M->UnlockMessages({WM_SETTEXT});
}

// ---------------------------------------------------------------------------

struct TListener : IdxSystemInfoListener {
  std::vector<std::pair<int, Cardinal>>* Log;
  int Id;
  TListener(std::vector<std::pair<int, Cardinal>>* ALog, int AId) : Log(ALog), Id(AId) {}
  void SystemInfoChanged(Cardinal AParameter) override { Log->push_back({Id, AParameter}); }
};

TEST(cxControlsSystemInfo, SettingChangesReachListenersInOrderButNotForParameterZero) {
  std::vector<std::pair<int, Cardinal>> Log;
  TListener First(&Log, 1), Second(&Log, 2);
  TdxSystemInfo* Info = dxSystemInfo();
  Info->AddListener(&First);
  Info->AddListener(&Second);
  EXPECT_EQ(SendMessageW(Info->Handle(), WM_SETTINGCHANGE, 0, 0), 0);
  EXPECT_TRUE(Log.empty());
  SendMessageW(Info->Handle(), WM_SETTINGCHANGE, SPI_SETDROPSHADOW, 0);
  Info->RemoveListener(&First);
  SendMessageW(Info->Handle(), WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  Info->RemoveListener(&Second);
  const std::vector<std::pair<int, Cardinal>> Expected = {
      {1, SPI_SETDROPSHADOW}, {2, SPI_SETDROPSHADOW}, {2, SPI_SETNONCLIENTMETRICS}};
  EXPECT_EQ(Log, Expected);
}

TEST(cxControlsSystemInfo, CacheAndParametersAgreeWithThePlatform) {
  TdxSystemInfo* Info = dxSystemInfo();
  NONCLIENTMETRICSW Metrics{};
  Metrics.cbSize = sizeof(Metrics);
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(Metrics), &Metrics, 0));
  EXPECT_EQ(Info->NonClientMetrics().iScrollWidth, Metrics.iScrollWidth);
  LOGFONTW Font{};
  ASSERT_TRUE(Info->GetParameter(SPI_GETICONTITLELOGFONT, &Font));
  EXPECT_NE(Font.lfFaceName[0], 0);
  ANIMATIONINFO Animation{};
  EXPECT_TRUE(Info->GetParameter(SPI_GETANIMATION, &Animation));
  EXPECT_EQ(Info->IsRemoteSession(), GetSystemMetrics(SM_REMOTESESSION) == 1);
}

// ---------------------------------------------------------------------------

TEST(cxControlsSystemController, InALibraryWakingPostsToItsWindowAndFreeingRestores) {
  TNotifyEvent Before = WakeMainThread;
  TOwned<TcxSystemController> Controller(Create<TcxSystemController>(true));
  EXPECT_FALSE(WakeMainThread == Before);
  Drain(Controller->Handle());
  WakeMainThread(nullptr);
  MSG Msg;
  EXPECT_TRUE(PeekMessageW(&Msg, Controller->Handle(), DXM_SYNCHRONIZETHREADS,
                           DXM_SYNCHRONIZETHREADS, PM_REMOVE));
  Controller.reset();
  EXPECT_TRUE(WakeMainThread == Before);
  // The program's own controller leaves the run time's event alone.
  EXPECT_FALSE(cxSystemController()->IsLibrary());
}

TEST(cxControlsDefaultHandler, OnlyKeyDownsAreOfferedToTheApplication) {
  TMessage Char{WM_CHAR, 'a', 0, 0};
  EXPECT_FALSE(TcxControlDefaultHandlerHelper::Process(Char));
  // Nothing in the program answers the offer: the key stays the control's.
  TMessage Key{WM_KEYDOWN, VK_DOWN, 0, 0};
  EXPECT_FALSE(TcxControlDefaultHandlerHelper::Process(Key));
}

}  // namespace
