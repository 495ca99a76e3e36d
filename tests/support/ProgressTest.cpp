#include <gtest/gtest.h>

#include "gkProgress.h"
#include "support/gkTestChild.h"

namespace {

using gkTestChild::ArgValue;

class FormsEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    Forms_Initialize();
    StdCtrls_Initialize();
    ComCtrls_Initialize();
    Application()->Initialize();
    gkProgress_Initialize();
  }
};
const testing::Environment* const Env = testing::AddGlobalTestEnvironment(new FormsEnvironment);

const String SQuestion = L"Вы хотите прервать выполнение?";
const String SCancelling = L"Выполняется отмена...";

// Answers the dialogs that a progress call opens on this thread: the
// platform's message box (by its button id) and the library's message
// dialog (by its OK button), recording what they said.
class TDialogAnswerer {
 public:
  explicit TDialogAnswerer(Integer AButtonId) : FButtonId(AButtonId) {
    FTimer.reset(Create<TTimer>(nullptr));
    FTimer->SetInterval(30);
    FTimer->SetOnTimer(MakeEvent<&TDialogAnswerer::Tick>(this));
  }
  std::vector<String> Texts;

 private:
  struct TFound {
    HWND Dialog = nullptr;
  };
  static BOOL CALLBACK FindDialog(HWND Wnd, LPARAM Param) {
    if (IsWindowVisible(Wnd) && GetClassString(Wnd) == L"#32770") {
      reinterpret_cast<TFound*>(Param)->Dialog = Wnd;
      return FALSE;
    }
    return TRUE;
  }
  static BOOL CALLBACK CollectText(HWND Wnd, LPARAM Param) {
    *reinterpret_cast<String*>(Param) += GetWindowString(Wnd) + L"|";
    return TRUE;
  }
  void Tick(TObject*) {
    TFound Found;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&Found));
    if (Found.Dialog) {
      String Text;
      EnumChildWindows(Found.Dialog, &CollectText, reinterpret_cast<LPARAM>(&Text));
      Texts.push_back(Text);
      SendMessageW(GetDlgItem(Found.Dialog, FButtonId), BM_CLICK, 0, 0);
      return;
    }
    for (Integer I = 0; I < Screen()->FormCount(); ++I)
      if (auto* Form = AsOrNull<TMessageForm>(Screen()->Forms(I)))
        if (Form->Visible() && Form->Message) {
          Texts.push_back(Form->Message->Caption());
          auto* OK = AsOrNull<TButton>(Form->FindComponent(L"OK"));
          if (OK) SendMessageW(OK->Handle(), BM_CLICK, 0, 0);
          return;
        }
  }
  Integer FButtonId;
  TOwned<TTimer> FTimer;
};

void ClickCancel(TgkProgress* P) {
  SendMessageW(P->ProgressForm()->CancelButton->Handle(), BM_CLICK, 0, 0);
}

// Lets the 100 ms refresh interval pass, then makes a progress call.
void RefreshAfterInterval(TgkProgress* P) {
  Sleep(120);
  P->Next(String(), String(), String(), String(), 0);
}

class Progress : public testing::Test {
 protected:
  void SetUp() override {
    gkCommon_Initialize();
    // The framework's idle mouse tracking cannot yet locate a point over a
    // top-level form: keep the pointer off the windows.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    Main.reset(Create<TForm>(nullptr, true));
    Main->SetBounds(50, 50, 300, 200);
    Main->Show();
    Other.reset(Create<TForm>(nullptr, true));
    Other->SetBounds(400, 50, 200, 100);
    Other->Show();
    P.reset(Create<TgkProgress>(nullptr));
  }
  void TearDown() override {
    P.reset();
    Other.reset();
    Main.reset();
    Application()->ProcessMessages();
    gkCommon_Finalize();
  }
  TOwned<TForm> Main;
  TOwned<TForm> Other;
  TOwned<TgkProgress> P;
};

TEST_F(Progress, OpenWithoutMaxShowsAMarqueeUntilSetMax) {
  P->Open(String(), String(), String(), String(), 0);
  ASSERT_TRUE(P->GetVisible());
  EXPECT_TRUE(P->RawMarquee());
  TProgressBar* Bar = P->ProgressForm()->ProgressBar;
  EXPECT_EQ(Bar->Style(), pbstMarquee);
  EXPECT_EQ(P->ProgressForm()->Caption(), L"Выполняется");
  EXPECT_TRUE(P->ProgressForm()->HeaderLabel->Font()->Style().Contains(TFontStyle::fsBold));

  P->ProgressTime()->SetTimeStart(GetTickCount() - 75000);
  P->SetMax(250);
  EXPECT_FALSE(P->RawMarquee());
  EXPECT_EQ(P->RawMin(), 0);
  EXPECT_EQ(P->RawMax(), 250);
  EXPECT_EQ(P->RawPos(), 0);
  // The time line restarted: nothing to estimate yet.
  EXPECT_LT(GetTickCount() - P->ProgressTime()->TimeStart(), 10000u);
  EXPECT_EQ(P->ProgressForm()->TimeLabel->Caption(), L"");
  RefreshAfterInterval(P.get());
  EXPECT_EQ(Bar->Style(), pbstNormal);
  EXPECT_EQ(Bar->Max(), 250);
  EXPECT_EQ(Bar->Position(), 0);

  P->SetMax(1);
  EXPECT_TRUE(P->RawMarquee());
  EXPECT_EQ(P->RawMax(), 250);
}

TEST_F(Progress, RangeOperations) {
  struct TCase {
    const char* Name;
    void (*Step)(TgkProgress*);
    Int64 Max, Pos;
    bool Marquee;
    Integer BarMax, BarPos;
  };
  const TCase Cases[] = {
      {"SetPos inside", [](TgkProgress* P) { P->SetPos(7); }, 10, 7, false, 10, 7},
      {"SetPos at max", [](TgkProgress* P) { P->SetPos(10); }, 10, 10, false, 10, 10},
      {"SetPos below 0", [](TgkProgress* P) { P->SetPos(-1); }, 10, 3, false, 10, 3},
      {"SetPos past max", [](TgkProgress* P) { P->SetPos(11); }, 10, 3, false, 10, 3},
      {"negative SetMax advances", [](TgkProgress* P) { P->SetMax(-5); }, 10, 4, false, 10, 4},
      {"Next passes the max",
       [](TgkProgress* P) { P->Next(String(), String(), String(), String(), 20); }, 10, 23, false,
       10, 10},
      {"AddMax", [](TgkProgress* P) { P->AddMax(5); }, 15, 3, false, 15, 3},
      {"AddMax down to 1", [](TgkProgress* P) { P->AddMax(-9); }, 1, 3, true, 1, 1},
      {"AddMax down to 0", [](TgkProgress* P) { P->AddMax(-10); }, 0, 3, true, 0, 0},
      {"AddMax below 0", [](TgkProgress* P) { P->AddMax(-20); }, -10, 3, false, 0, 0},
      {"64-bit range",
       [](TgkProgress* P) {
         P->AddMax(Int64(1) << 40);
         P->SetPos(((Int64(1) << 40) + 10) / 2);
       },
       10 + (Int64(1) << 40), ((Int64(1) << 40) + 10) / 2, false, 2147483647, 1073741823},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    P->Open(String(), String(), String(), String(), 10);
    P->SetPos(3);
    C.Step(P.get());
    EXPECT_EQ(P->RawMax(), C.Max);
    EXPECT_EQ(P->RawPos(), C.Pos);
    EXPECT_EQ(P->RawMarquee(), C.Marquee);
    RefreshAfterInterval(P.get());
    TProgressBar* Bar = P->ProgressForm()->ProgressBar;
    EXPECT_EQ(Bar->Style(), C.Marquee ? pbstMarquee : pbstNormal);
    EXPECT_EQ(Bar->Max(), C.BarMax);
    // A marquee has no position.
    if (!C.Marquee) EXPECT_EQ(Bar->Position(), C.BarPos);
  }
}

TEST_F(Progress, TextsApplyOnlyWhenChangedAndRefreshAtOnce) {
  P->Open(L"bar", L"Файл a", L"Этап", L"Пересчет", 10);
  EXPECT_EQ(P->ProgressForm()->Caption(), L"Пересчет");
  EXPECT_EQ(P->ProgressForm()->HeaderLabel->Caption(), L"Этап");
  EXPECT_EQ(P->ProgressForm()->MessageLabel->Caption(), L"Файл a");
  EXPECT_EQ(P->ProgressForm()->BarText, L"bar");

  // Empty texts change nothing; a text equal apart from letter case is not
  // applied.
  P->Next(String(), String(), String(), String(), 1);
  P->SetText(String(), L"ФАЙЛ A", L"ЭТАП");
  EXPECT_EQ(P->RawMessage(), L"Файл a");
  EXPECT_EQ(P->RawHeader(), L"Этап");
  EXPECT_EQ(P->ProgressForm()->MessageLabel->Caption(), L"Файл a");

  // A changed text reaches the window at once, whatever the interval.
  P->SetText(String(), L"Файл b");
  EXPECT_EQ(P->ProgressForm()->MessageLabel->Caption(), L"Файл b");
  EXPECT_EQ(P->ProgressForm()->HeaderLabel->Caption(), L"Этап");
}

TEST_F(Progress, PositionReachesTheWindowAtTheNextRefresh) {
  P->Open(String(), String(), String(), String(), 10);
  P->Next(String(), String(), String(), String(), 4);
  RefreshAfterInterval(P.get());
  EXPECT_EQ(P->RawPos(), 4);
  EXPECT_EQ(P->ProgressForm()->ProgressBar->Position(), 4);
  // The time line reads what the window shows.
  P->ProgressTime()->SetTimeStart(GetTickCount() - 20000);
  RefreshAfterInterval(P.get());
  EXPECT_EQ(P->ProgressForm()->TimeLabel->Caption(), L"Прошло: 20 сек. Осталось: 30 сек.");
}

TEST(ProgressTime, TimeCaption) {
  struct TCase {
    DWORD Elapsed;
    Extended Pos, Max;
    const wchar_t* Expected;
  };
  const TCase Cases[] = {
      {75000, 25, 100, L"Прошло: 1 мин 15 сек. Осталось: 3 мин 45 сек."},
      {9000, 25, 100, L""},
      {75000, 0, 100, L""},
      {75000, 25, 0, L""},
      {75000, 101, 100, L""},
      {20000, 10, 11, L"Прошло: 20 сек. Осталось: 2 сек."},
      {12000, 20, 21, L"Прошло: 12 сек. Осталось совсем немного..."},
      {12000, 100, 100, L"Прошло: 12 сек. Осталось совсем немного..."},
      // An estimate beyond the tick counter's range stops at its end.
      {3700000, 1, 1e12, L"Прошло: 1 ч 1 мин 40 сек. Осталось: 49 д 17 ч 2 мин 47 сек."},
  };
  TgkProgressTime* T = Create<TgkProgressTime>();
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Elapsed);
    T->SetTimeStart(GetTickCount() - C.Elapsed);
    EXPECT_EQ(T->GetTimeCaption(C.Pos, C.Max), C.Expected);
  }
  T->Free();
}

TEST_F(Progress, OtherWindowsAreDisabledWhileOpen) {
  P->Open(String(), String(), String(), String(), 0);
  EXPECT_FALSE(IsWindowEnabled(Main->Handle()));
  EXPECT_FALSE(IsWindowEnabled(Other->Handle()));
  EXPECT_TRUE(IsWindowEnabled(P->ProgressForm()->Handle()));
  // Opening again neither disables nor creates anything.
  TgkProgressForm* Form = P->ProgressForm();
  P->Open(String(), L"again", String(), String(), 5);
  EXPECT_EQ(P->ProgressForm(), Form);
  P->Close();
  EXPECT_EQ(P->ProgressForm(), nullptr);
  EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
  EXPECT_TRUE(IsWindowEnabled(Other->Handle()));

  // Freeing the object while the window is open also closes it.
  P->Open(String(), String(), String(), String(), 0);
  EXPECT_FALSE(IsWindowEnabled(Main->Handle()));
  P.reset();
  EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
  EXPECT_TRUE(IsWindowEnabled(Other->Handle()));
}

TEST_F(Progress, ReopenShowsTheDefaultCaptionAndKeepsTheOtherTexts) {
  P->Open(L"bar", L"message", L"header", L"caption", 10);
  P->Close();
  P->Open(String(), String(), String(), String(), 10);
  RefreshAfterInterval(P.get());
  EXPECT_EQ(P->ProgressForm()->Caption(), L"Выполняется");
  EXPECT_EQ(P->ProgressForm()->HeaderLabel->Caption(), L"header");
  EXPECT_EQ(P->ProgressForm()->MessageLabel->Caption(), L"message");
  EXPECT_EQ(P->ProgressForm()->BarText, L"bar");
}

TEST_F(Progress, HiddenProgressStillDisablesAndDoesNotRefresh) {
  P->SetCanShowForm(false);
  P->Open(String(), L"first", String(), String(), 10);
  ASSERT_NE(P->ProgressForm(), nullptr);
  EXPECT_FALSE(P->GetVisible());
  EXPECT_FALSE(IsWindowEnabled(Main->Handle()));
  RefreshAfterInterval(P.get());
  EXPECT_EQ(P->ProgressForm()->MessageLabel->Caption(), L"");
  P->Close();
  EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
}

TEST_F(Progress, CancelAsksAndAbortsOnlyOnYes) {
  P->Open(String(), L"working", String(), String(), 10);
  {
    TDialogAnswerer No(IDNO);
    ClickCancel(P.get());
    EXPECT_NO_THROW(P->Next(String(), String(), String(), String(), 1));
    ASSERT_EQ(No.Texts.size(), 1u);
    EXPECT_NE(No.Texts[0].find(SQuestion), String::npos);
    EXPECT_FALSE(P->GetCancelled());
    EXPECT_EQ(P->RawMessage(), L"working");
    // Nothing stays pending: the next call asks nothing.
    EXPECT_NO_THROW(P->Next(String(), String(), String(), String(), 1));
    EXPECT_EQ(No.Texts.size(), 1u);
  }
  {
    TDialogAnswerer Yes(IDYES);
    ClickCancel(P.get());
    EXPECT_THROW(P->Next(String(), String(), String(), String(), 1), EAbort);
    EXPECT_EQ(Yes.Texts.size(), 1u);
    EXPECT_TRUE(P->GetCancelled());
    EXPECT_EQ(P->RawMessage(), SCancelling);
    EXPECT_EQ(P->ProgressForm()->MessageLabel->Caption(), SCancelling);
  }
  // The cancel stays until the next Open.
  EXPECT_THROW(P->SetPos(2), EAbort);
  P->Open(String(), String(), String(), String(), 10);
  EXPECT_FALSE(P->GetCancelled());
}

TEST_F(Progress, CancelSettings) {
  struct TCase {
    const char* Name;
    bool CanDoCancel, AskOnCancel, AbortOnCancel;
    bool Asks, Raises, Cancelled;
  };
  const TCase Cases[] = {
      {"defaults", true, true, true, true, true, true},
      {"no question", true, false, true, false, true, true},
      {"no abort", true, true, false, true, false, true},
      {"cannot cancel", false, true, true, false, false, false},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    P->SetCanDoCancel(C.CanDoCancel);
    P->SetAskOnCancel(C.AskOnCancel);
    P->SetAbortOnCancel(C.AbortOnCancel);
    P->Open(String(), L"working", String(), String(), 10);
    TDialogAnswerer Yes(IDYES);
    ClickCancel(P.get());
    // A click made while cancelling was off does not come back later.
    P->SetCanDoCancel(true);
    bool Raised = false;
    try {
      P->Next(String(), String(), String(), String(), 1);
    } catch (const EAbort&) {
      Raised = true;
    }
    EXPECT_EQ(Raised, C.Raises);
    EXPECT_EQ(Yes.Texts.size(), C.Asks ? 1u : 0u);
    EXPECT_EQ(P->GetCancelled(), C.Cancelled);
    if (C.Cancelled && !C.AbortOnCancel) {
      // The caller polls Cancelled; the bar runs as a marquee meanwhile.
      EXPECT_TRUE(P->RawMarquee());
      EXPECT_EQ(P->RawMessage(), SCancelling);
    }
    P->Close();
  }
}

TEST_F(Progress, AutoProcessCancelConfirmsOnTheClick) {
  P->SetAutoProcessCancel(true);
  P->SetAbortOnCancel(false);
  P->Open(String(), L"working", String(), String(), 10);
  TDialogAnswerer Yes(IDYES);
  ClickCancel(P.get());
  EXPECT_EQ(Yes.Texts.size(), 1u);
  EXPECT_TRUE(P->GetCancelled());
}

TEST_F(Progress, ProgressCallsNeedAnOpenWindowWhereTheyTouchIt) {
  EXPECT_THROW(P->ShowModal(GetCurrentProcessId()), Exception);
  // Range and text calls before Open only keep the values.
  P->SetMax(20);
  P->SetText(L"bar");
  EXPECT_EQ(P->RawMax(), 20);
  EXPECT_EQ(P->RawText(), L"bar");
}

// ---------------------------------------------------------------------------
// Remote control

LRESULT SendCopyData(HWND Wnd, WPARAM WParam, ULONG_PTR Code, const AnsiString& Bytes,
                     DWORD Count) {
  COPYDATASTRUCT Data{Code, Count, const_cast<char*>(Bytes.data())};
  return SendMessageW(Wnd, WM_COPYDATA, WParam, reinterpret_cast<LPARAM>(&Data));
}

LRESULT SendText(HWND Wnd, ULONG_PTR Code, const String& Text) {
  AnsiString Bytes = StringToAnsi(Text);
  return SendCopyData(Wnd, WM_GKPROGRESS, Code, Bytes, static_cast<DWORD>(Bytes.size() + 1));
}

TEST_F(Progress, RemoteMessagesBeforeOpenDoNothing) {
  HWND Wnd = P->GetCallbackWnd();
  EXPECT_EQ(SendMessageW(Wnd, WM_GKPROGRESS, gkpmNext, 1), 0);
  EXPECT_EQ(P->RawPos(), 0);
  EXPECT_EQ(SendText(Wnd, gkpdHeader, L"Stage"), 1);
  EXPECT_EQ(P->RawHeader(), L"");
  // The result text is taken in any state.
  EXPECT_EQ(SendText(Wnd, gkpdResult, L"done"), 1);
  EXPECT_EQ(P->CallbackResult(), L"done");
}

TEST_F(Progress, RemoteMessagesDriveAnOpenProgress) {
  P->Open(String(), String(), String(), String(), 0);
  HWND Wnd = P->GetCallbackWnd();
  EXPECT_EQ(SendMessageW(Wnd, WM_GKPROGRESS, gkpmOpen, 40), 1);
  EXPECT_EQ(P->RawMax(), 40);
  EXPECT_EQ(SendMessageW(Wnd, WM_GKPROGRESS, gkpmNext, 3), 1);
  EXPECT_EQ(SendMessageW(Wnd, WM_GKPROGRESS, gkpmAddMax, 10), 1);
  EXPECT_EQ(SendMessageW(Wnd, WM_GKPROGRESS, 9, 10), 0);
  EXPECT_EQ(P->RawPos(), 3);
  EXPECT_EQ(P->RawMax(), 50);

  struct TCase {
    ULONG_PTR Code;
    const char* Bytes;
    DWORD Count;
    String Text, Message, Header, Caption;
  };
  const TCase Cases[] = {
      {gkpdText, "3 of 50", 8, L"3 of 50", L"", L"", L"Выполняется"},
      {gkpdMessage, "file.tab", 9, L"3 of 50", L"file.tab", L"", L"Выполняется"},
      {gkpdHeader, "Stage 2", 8, L"3 of 50", L"file.tab", L"Stage 2", L"Выполняется"},
      {gkpdCaption, "Job", 4, L"3 of 50", L"file.tab", L"Stage 2", L"Job"},
      // An empty text changes nothing.
      {gkpdHeader, "", 1, L"3 of 50", L"file.tab", L"Stage 2", L"Job"},
      // Copying stops at a zero byte; the count never reads past the data.
      {gkpdMessage, "a\0bc", 5, L"3 of 50", L"a", L"Stage 2", L"Job"},
      {gkpdMessage, "xyz", 3, L"3 of 50", L"xy", L"Stage 2", L"Job"},
      {42, "ignored", 8, L"3 of 50", L"xy", L"Stage 2", L"Job"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Bytes);
    AnsiString Bytes(C.Bytes, C.Count);
    EXPECT_EQ(SendCopyData(Wnd, WM_GKPROGRESS, C.Code, Bytes, C.Count), 1);
    EXPECT_EQ(P->RawText(), C.Text);
    EXPECT_EQ(P->RawMessage(), C.Message);
    EXPECT_EQ(P->RawHeader(), C.Header);
    EXPECT_EQ(P->RawCaption(), C.Caption);
  }
  // Other copy-data traffic is not ours.
  EXPECT_EQ(SendCopyData(Wnd, 1, gkpdHeader, AnsiString("Other\0", 6), 6), 0);
  EXPECT_EQ(P->RawHeader(), L"Stage 2");

  EXPECT_EQ(SendMessageW(Wnd, WM_GKPROGRESS, gkpmClose, 0), 1);
  EXPECT_EQ(P->ProgressForm(), nullptr);
}

TEST_F(Progress, ACancelEndsRemoteCallsWithZero) {
  P->Open(String(), String(), String(), String(), 10);
  HWND Wnd = P->GetCallbackWnd();
  TDialogAnswerer Yes(IDYES);
  ClickCancel(P.get());
  EXPECT_EQ(SendMessageW(Wnd, WM_GKPROGRESS, gkpmNext, 1), 0);
  EXPECT_EQ(Yes.Texts.size(), 1u);
  EXPECT_TRUE(P->GetCancelled());
  EXPECT_EQ(SendMessageW(Wnd, WM_GKPROGRESS, gkpmNext, 1), 0);
  EXPECT_EQ(SendText(Wnd, gkpdMessage, L"more"), 1);
  EXPECT_EQ(P->RawMessage(), SCancelling);
}

// The driving process: sends what the owner expects, reports the replies
// with the result text and ends with the exit code it was given.
TEST(ProgressChild, DISABLED_Drive) {
  if (ArgValue(L"wnd").empty()) return;  // only as a child of the owner's test
  HWND Wnd = reinterpret_cast<HWND>(static_cast<intptr_t>(StrToInt64(ArgValue(L"wnd"))));
  String Replies;
  auto Reply = [&](LRESULT R) { Replies += IntToStr(static_cast<Integer>(R)); };
  Reply(SendMessageW(Wnd, WM_GKPROGRESS, gkpmOpen, 200));
  Reply(SendMessageW(Wnd, WM_GKPROGRESS, gkpmNext, 5));
  Reply(SendMessageW(Wnd, WM_GKPROGRESS, gkpmAddMax, 50));
  Reply(SendText(Wnd, gkpdHeader, L"Этап 2"));
  Reply(SendText(Wnd, gkpdMessage, L""));
  SendText(Wnd, gkpdResult, Replies);
  ExitProcess(static_cast<UINT>(StrToInt(ArgValue(L"exit"))));
}

PROCESS_INFORMATION StartDriver(HWND Wnd, Integer ExitCode) {
  wchar_t Exe[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, Exe, MAX_PATH);
  String Cmd = Format(
      L"\"%s\" --gtest_also_run_disabled_tests --gtest_filter=ProgressChild.DISABLED_Drive "
      L"--wnd=%s --exit=%d",
      {String(Exe), IntToStr(static_cast<Int64>(reinterpret_cast<intptr_t>(Wnd))), ExitCode});
  STARTUPINFOW SI{};
  SI.cb = sizeof(SI);
  PROCESS_INFORMATION PI{};
  if (!CreateProcessW(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &SI, &PI))
    RaiseLastOSError();
  return PI;
}

TEST_F(Progress, ShowModalWaitsForTheDrivingProcess) {
  struct TCase {
    Integer ExitCode;
    Integer Result;
    bool WindowOpen;
  };
  for (const TCase& C : {TCase{0, 1, false}, TCase{3, 2, true}}) {
    SCOPED_TRACE(C.ExitCode);
    P->Open(String(), String(), String(), String(), 0);
    PROCESS_INFORMATION PI = StartDriver(P->GetCallbackWnd(), C.ExitCode);
    const Integer Result = P->ShowModal(PI.dwProcessId);
    CloseHandle(PI.hThread);
    CloseHandle(PI.hProcess);
    EXPECT_EQ(Result, C.Result);
    EXPECT_EQ(P->ProgressForm() != nullptr, C.WindowOpen);
    EXPECT_EQ(P->CallbackResult(), L"11111");
    EXPECT_EQ(P->RawMax(), 250);
    EXPECT_EQ(P->RawPos(), 5);
    EXPECT_EQ(P->RawHeader(), AnsiToString(StringToAnsi(L"Этап 2")));
    EXPECT_EQ(P->GetCancelled(), C.Result == 2);
    P->Close();
  }
}

TEST_F(Progress, ShowModalWithoutAProcessRaises) {
  P->Open(String(), String(), String(), String(), 0);
  EXPECT_THROW(P->ShowModal(0xFFFFFFF0), EOSError);
  EXPECT_NE(P->ProgressForm(), nullptr);
}

// ---------------------------------------------------------------------------
// Worker road

// Learns when an object frees itself.
class TFreeWatcher : public TComponent {
  DECLARE_CLASS(TFreeWatcher, TComponent)
 public:
  using TComponent::TComponent;
  bool Freed = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    inherited::Notification(AComponent, Operation);
    if (Operation == opRemove) Freed = true;
  }
};
IMPLEMENT_CLASS(TFreeWatcher)

struct TJob {
  std::vector<String> Log;
  DWORD ExecuteThread = 0, FinishThread = 0, WindowThread = 0;
  Int64 MaxAfterAddMax = 0, PosAtEnd = 0;
  String Error, MessageAtEnd;
  bool Aborted = false;

  void Work(TgkProgressExec* Sender) {
    ExecuteThread = GetCurrentThreadId();
    Log.push_back(L"execute");
    TgkProgress* P = Sender->Progress();
    P->Open(String(), L"start", L"Header", L"Job", 0);
    WindowThread = GetWindowThreadProcessId(P->ProgressForm()->Handle(), nullptr);
    P->SetMax(10);
    for (int I = 0; I < 10; ++I) P->Next(String(), L"item " + IntToStr(I), String(), String(), 1);
    P->AddMax(5);
    MaxAfterAddMax = P->RawMax();
    PosAtEnd = P->RawPos();
  }
  void Fail(TgkProgressExec*) {
    Log.push_back(L"execute");
    throw EConvertError(L"bad table");
  }
  void RunUntilCancelled(TgkProgressExec* Sender) {
    Log.push_back(L"execute");
    TgkProgress* P = Sender->Progress();
    try {
      P->Open(String(), L"start", String(), String(), 1000000);
      for (;;) {
        P->Next(String(), String(), String(), String(), 1);
        Sleep(5);
      }
    } catch (const EAbort&) {
      Aborted = true;
      throw;
    }
  }
  void PollUntilCancelled(TgkProgressExec* Sender) {
    Log.push_back(L"execute");
    TgkProgress* P = Sender->Progress();
    P->Open(String(), L"start", String(), String(), 1000000);
    while (!P->GetCancelled()) {
      P->Next(String(), String(), String(), String(), 1);
      Sleep(5);
    }
    // The calls still reach the window until the job ends.
    P->SetText(String(), L"stopped");
    MessageAtEnd = P->RawMessage();
  }
  void Finish(TgkProgressExec*) {
    FinishThread = GetCurrentThreadId();
    Log.push_back(L"finish");
  }
};

class ProgressWorker : public Progress {
 protected:
  TgkProgressExec* Exec = nullptr;
  TOwned<TFreeWatcher> Watcher{Create<TFreeWatcher>(nullptr)};
  void Start(TgkProgressExecuteEvent Work, TJob& Job) {
    Exec = Create<TgkProgressExec>(nullptr);
    Exec->FreeNotification(Watcher.get());
    Exec->SetThreadEnabled(true);
    Exec->OnExecute = Work;
    Exec->OnFinish = MakeEvent<&TJob::Finish>(&Job);
    Exec->Execute();
  }
  // The exec object frees itself when its worker has ended.
  bool WaitUntilFreed() {
    const DWORD Start = GetTickCount();
    while (!Watcher->Freed && GetTickCount() - Start < 20000) Application()->HandleMessage();
    return Watcher->Freed;
  }
};

void WaitForWindow(TgkProgress* P) {
  const DWORD Begin = GetTickCount();
  while (!P->ProgressForm() && GetTickCount() - Begin < 20000) Application()->HandleMessage();
  ASSERT_NE(P->ProgressForm(), nullptr);
}

TEST_F(ProgressWorker, ProgressCallsOfAWorkerRunOnTheUIThread) {
  TJob Job;
  Start(MakeEvent<&TJob::Work>(&Job), Job);
  ASSERT_TRUE(WaitUntilFreed());
  EXPECT_EQ(Job.Log, (std::vector<String>{L"execute", L"finish"}));
  EXPECT_NE(Job.ExecuteThread, MainThreadID);
  EXPECT_EQ(Job.FinishThread, MainThreadID);
  EXPECT_EQ(Job.WindowThread, MainThreadID);
  EXPECT_EQ(Job.MaxAfterAddMax, 15);
  EXPECT_EQ(Job.PosAtEnd, 10);
  // The freed exec object closed its window and gave the others back.
  EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
}

TEST_F(ProgressWorker, WithoutAThreadTheHandlersRunInOrderOnTheCaller) {
  TJob Job;
  TOwned<TgkProgressExec> E(Create<TgkProgressExec>(nullptr));
  E->OnExecute = MakeEvent<&TJob::Work>(&Job);
  E->OnFinish = MakeEvent<&TJob::Finish>(&Job);
  E->Execute();
  EXPECT_EQ(Job.Log, (std::vector<String>{L"execute", L"finish"}));
  EXPECT_EQ(Job.ExecuteThread, MainThreadID);
  EXPECT_EQ(Job.MaxAfterAddMax, 15);
  EXPECT_NE(E->Progress()->ProgressForm(), nullptr);
}

TEST_F(ProgressWorker, AJobErrorIsShownOnceWhenTheThreadEnds) {
  TJob Job;
  TDialogAnswerer OK(IDOK);
  Start(MakeEvent<&TJob::Fail>(&Job), Job);
  ASSERT_TRUE(WaitUntilFreed());
  EXPECT_EQ(Job.Log, (std::vector<String>{L"execute", L"finish"}));
  EXPECT_EQ(OK.Texts, std::vector<String>{L"bad table"});
}

TEST_F(ProgressWorker, ACancelledJobEndsSilently) {
  TJob Job;
  TDialogAnswerer Yes(IDYES);
  Start(MakeEvent<&TJob::RunUntilCancelled>(&Job), Job);
  WaitForWindow(Exec->Progress());
  ClickCancel(Exec->Progress());
  ASSERT_TRUE(WaitUntilFreed());
  EXPECT_TRUE(Job.Aborted);
  EXPECT_EQ(Job.Log, (std::vector<String>{L"execute", L"finish"}));
  // The question only: no error message for the cancel.
  ASSERT_EQ(Yes.Texts.size(), 1u);
  EXPECT_NE(Yes.Texts[0].find(SQuestion), String::npos);
}

TEST_F(ProgressWorker, WithoutAbortOnCancelTheJobPollsCancelled) {
  TJob Job;
  TDialogAnswerer Yes(IDYES);
  Exec = Create<TgkProgressExec>(nullptr);
  Exec->FreeNotification(Watcher.get());
  Exec->SetThreadEnabled(true);
  Exec->Progress()->SetAbortOnCancel(false);
  Exec->OnExecute = MakeEvent<&TJob::PollUntilCancelled>(&Job);
  Exec->OnFinish = MakeEvent<&TJob::Finish>(&Job);
  Exec->Execute();
  WaitForWindow(Exec->Progress());
  ClickCancel(Exec->Progress());
  ASSERT_TRUE(WaitUntilFreed());
  EXPECT_EQ(Job.Log, (std::vector<String>{L"execute", L"finish"}));
  EXPECT_EQ(Job.MessageAtEnd, L"stopped");
  EXPECT_EQ(Yes.Texts.size(), 1u);
}

TEST_F(ProgressWorker, ASecondExecuteLetsTheFirstWorkerGo) {
  TJob First, Second;
  Start(MakeEvent<&TJob::RunUntilCancelled>(&First), First);
  WaitForWindow(Exec->Progress());
  Exec->OnExecute = MakeEvent<&TJob::Work>(&Second);
  Exec->OnFinish = MakeEvent<&TJob::Finish>(&Second);
  Exec->Execute();
  ASSERT_TRUE(WaitUntilFreed());
  EXPECT_TRUE(First.Aborted);
  EXPECT_EQ(Second.Log, (std::vector<String>{L"execute", L"finish"}));
  EXPECT_EQ(Second.MaxAfterAddMax, 15);
}

TEST_F(ProgressWorker, FreeingTheExecWaitsForItsWorker) {
  TJob Job;
  Start(MakeEvent<&TJob::RunUntilCancelled>(&Job), Job);
  WaitForWindow(Exec->Progress());
  Exec->Free();
  EXPECT_TRUE(Watcher->Freed);
  // The job learnt of the cancel from its next progress call.
  EXPECT_TRUE(Job.Aborted);
  EXPECT_EQ(Job.Log, (std::vector<String>{L"execute", L"finish"}));
  EXPECT_TRUE(IsWindowEnabled(Main->Handle()));
}

}  // namespace
