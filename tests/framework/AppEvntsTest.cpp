// The application's message events (its own OnMessage and the
// application-events objects), the hooks of its window, and where the main
// form's window stands with and without MainFormOnTaskBar.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppEvnts.h"
#include "Forms.h"

namespace {

constexpr UINT TestMessage = WM_APP + 17;

// Records who heard the test message, in order; each party may handle it.
class TRecorder : public TObject {
 public:
  TRecorder() { FWnd = AllocateHWnd(MakeEvent<&TRecorder::WndProc>(this)); }
  ~TRecorder() override { DeallocateHWnd(FWnd); }
  HWND Wnd() const { return FWnd; }
  std::vector<std::string> Heard;
  std::string Handler;  // the party that sets Handled
  TApplicationEvents* FreeOnMessage = nullptr;

  void AppMessage(MSG& Msg, bool& Handled) { Hear("application", Msg, Handled); }
  void EventsMessage1(MSG& Msg, bool& Handled) { Hear("events 1", Msg, Handled); }
  void EventsMessage2(MSG& Msg, bool& Handled) {
    Hear("events 2", Msg, Handled);
    if (Msg.message == TestMessage && FreeOnMessage) FreeAndNil(FreeOnMessage);
  }

 private:
  void Hear(const char* AParty, MSG& Msg, bool& Handled) {
    if (Msg.message != TestMessage) return;
    Heard.push_back(AParty);
    if (Handler == AParty) Handled = true;
  }
  void WndProc(TMessage& Message) {
    if (Message.Msg == TestMessage) Heard.push_back("window");
    Message.Result = DefWindowProcW(FWnd, Message.Msg, Message.WParam, Message.LParam);
  }
  HWND FWnd = nullptr;
};

class AppMessages : public testing::Test {
 protected:
  void SetUp() override {
    Events1.reset(Create<TApplicationEvents>(nullptr));
    Events2.reset(Create<TApplicationEvents>(nullptr));
    Application()->OnMessage = MakeEvent<&TRecorder::AppMessage>(&Recorder);
    Events1->OnMessage = MakeEvent<&TRecorder::EventsMessage1>(&Recorder);
    Events2->OnMessage = MakeEvent<&TRecorder::EventsMessage2>(&Recorder);
  }
  void TearDown() override { Application()->OnMessage = nullptr; }
  void PostAndRun() {
    PostMessageW(Recorder.Wnd(), TestMessage, 0, 0);
    Application()->ProcessMessages();
  }
  TRecorder Recorder;
  TOwned<TApplicationEvents> Events1, Events2;
};

TEST_F(AppMessages, PostedMessagesPassTheApplicationThenTheNewestEventsObjectUntilHandled) {
  struct TCase {
    const char* Handler;
    std::vector<std::string> Heard;
  };
  const TCase Cases[] = {
      {"", {"application", "events 2", "events 1", "window"}},
      {"application", {"application"}},
      {"events 2", {"application", "events 2"}},
      {"events 1", {"application", "events 2", "events 1"}},
  };
  for (const TCase& C : Cases) {
    Recorder.Heard.clear();
    Recorder.Handler = C.Handler;
    PostAndRun();
    EXPECT_EQ(Recorder.Heard, C.Heard) << "handled by '" << C.Handler << "'";
  }
}

TEST_F(AppMessages, SentMessagesDoNotPass) {
  SendMessageW(Recorder.Wnd(), TestMessage, 0, 0);
  EXPECT_EQ(Recorder.Heard, std::vector<std::string>{"window"});
}

TEST_F(AppMessages, AnEventsObjectFreedByAnotherIsNotCalledAndAFreedOneHearsNothing) {
  Recorder.FreeOnMessage = Events1.release();
  PostAndRun();
  EXPECT_EQ(Recorder.Heard, (std::vector<std::string>{"application", "events 2", "window"}));
  Events2.reset();
  Recorder.Heard.clear();
  PostAndRun();
  EXPECT_EQ(Recorder.Heard, (std::vector<std::string>{"application", "window"}));
}

class TExceptionCatcher : public TObject {
 public:
  void Throw(MSG& Msg, bool&) {
    if (Msg.message == TestMessage) throw EInvalidOperation(L"from OnMessage");
  }
  void Caught(TObject*, Exception* E) { Messages.push_back(E->Message()); }
  std::vector<String> Messages;
};

TEST_F(AppMessages, AnExceptionInAHandlerGoesToTheApplicationAndTheLoopGoesOn) {
  TExceptionCatcher Catcher;
  Events2->OnMessage = MakeEvent<&TExceptionCatcher::Throw>(&Catcher);
  Application()->OnException = MakeEvent<&TExceptionCatcher::Caught>(&Catcher);
  PostAndRun();
  PostAndRun();
  Application()->OnException = nullptr;
  EXPECT_EQ(Catcher.Messages, (std::vector<String>{L"from OnMessage", L"from OnMessage"}));
  EXPECT_EQ(Recorder.Heard,
            (std::vector<std::string>{"application", "window", "application", "window"}));
}

// ---------------------------------------------------------------------------
// Hooks of the application's window

class THookRecorder : public TObject {
 public:
  std::vector<std::string> Heard;
  bool Hook1(TMessage& M) {
    if (M.Msg != TestMessage) return false;
    Heard.push_back("hook 1");
    Application()->UnhookMainWindow(MakeEvent<&THookRecorder::Hook1>(this));
    return false;
  }
  bool Hook2(TMessage& M) {
    if (M.Msg != TestMessage) return false;
    Heard.push_back("hook 2");
    return M.WParam == 1;
  }
  bool Hook3(TMessage& M) {
    if (M.Msg == TestMessage) Heard.push_back("hook 3");
    return false;
  }
};

TEST(ApplicationWindowHooks, EveryHookSeesTheMessageUntilOneConsumesItAndMayUnhookItself) {
  THookRecorder R;
  TApplication* App = Application();
  App->HookMainWindow(MakeEvent<&THookRecorder::Hook1>(&R));
  App->HookMainWindow(MakeEvent<&THookRecorder::Hook2>(&R));
  App->HookMainWindow(MakeEvent<&THookRecorder::Hook3>(&R));
  SendMessageW(App->Handle(), TestMessage, 0, 0);
  SendMessageW(App->Handle(), TestMessage, 1, 0);
  App->UnhookMainWindow(MakeEvent<&THookRecorder::Hook2>(&R));
  App->UnhookMainWindow(MakeEvent<&THookRecorder::Hook3>(&R));
  EXPECT_EQ(R.Heard, (std::vector<std::string>{"hook 1", "hook 2", "hook 3", "hook 2"}));
}

// ---------------------------------------------------------------------------
// The main form and the taskbar

TEST(MainFormOnTaskBar, TheMainFormStandsOnTheTaskbarOnlyWhenAsked) {
  for (bool OnTaskBar : {false, true}) {
    const bool Was = Application()->MainFormOnTaskBar();
    Application()->SetMainFormOnTaskBar(OnTaskBar);
    TForm* Form = nullptr;
    Application()->CreateForm(Form);
    TOwned<TForm> Owned(Form);
    ASSERT_EQ(Application()->MainForm(), Form);
    // The second form is owned by the main form either way.
    TOwned<TForm> Second(Create<TForm>(Application()));
    Second->HandleNeeded();
    const HWND Wnd = Form->Handle();
    const bool AppWindow = (GetWindowLongW(Wnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
    EXPECT_EQ(AppWindow, OnTaskBar);
    EXPECT_EQ(GetWindow(Wnd, GW_OWNER), OnTaskBar ? nullptr : Application()->Handle());
    EXPECT_EQ(GetWindow(Second->Handle(), GW_OWNER), Wnd);
    Second.reset();
    Owned.reset();
    EXPECT_EQ(Application()->MainForm(), nullptr);
    Application()->SetMainFormOnTaskBar(Was);
  }
}

}  // namespace
