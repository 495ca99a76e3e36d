// The message loop (idle work, synchronized calls from threads, also inside
// the platform's modal loops) and the mouse entering and leaving controls,
// with the pointer moved by input the platform injects.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "Forms.h"
#include "Menus.h"
#include "SyncObjs.h"

namespace {

// Keeps the message loop from sleeping for good while a test waits in it.
struct TWaker {
  TOwned<TTimer> Timer;
  TWaker() : Timer(Create<TTimer>(nullptr)) {
    Timer->SetInterval(10);
    Timer->SetOnTimer(MakeEvent<&TWaker::Tick>(this));
  }
  void Tick(TObject*) {}
};

// Runs the application's loop, idle work included, until ADone holds or a
// few seconds' worth of rounds have passed.
bool RunLoopUntil(const std::function<bool()>& ADone) {
  TWaker Waker;
  for (int Round = 0; Round < 2000 && !ADone(); ++Round) Application()->HandleMessage();
  return ADone();
}

void MovePointer(POINT P) {
  INPUT In{};
  In.type = INPUT_MOUSE;
  In.mi.dx = MulDiv(P.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  In.mi.dy = MulDiv(P.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  In.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &In, sizeof(In));
}

POINT CentreOf(TControl* C) {
  TPoint P = C->ClientToScreen(Point(C->Width() / 2, C->Height() / 2));
  return POINT{P.x, P.y};
}

// Writes "name+" and "name-" for the controls it listens to.
struct TMouseLog {
  std::vector<String> Events;
  void Enter(TObject* Sender) { Events.push_back(static_cast<TComponent*>(Sender)->Name() + L"+"); }
  void Leave(TObject* Sender) { Events.push_back(static_cast<TComponent*>(Sender)->Name() + L"-"); }
  // The events of one control, in order.
  std::vector<String> Of(const String& AName) const {
    std::vector<String> R;
    for (const String& E : Events)
      if (E.substr(0, E.size() - 1) == AName) R.push_back(E);
    return R;
  }
  bool Has(const String& AEvent) const {
    return std::find(Events.begin(), Events.end(), AEvent) != Events.end();
  }
};

struct MouseFixture : testing::Test {
  TOwned<TCustomForm> Form;
  TMouseLog Log;
  TCustomControl *A = nullptr, *B = nullptr;
  TGraphicControl* G = nullptr;
  void SetUp() override {
    // Start away from where the form comes up.
    MovePointer(POINT{700, 500});
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(100, 100, 320, 220);
    A = Add<TCustomControl>(L"A", Bounds(10, 10, 60, 40));
    B = Add<TCustomControl>(L"B", Bounds(100, 10, 60, 40));
    G = Add<TGraphicControl>(L"G", Bounds(10, 100, 60, 40));
    Form->Show();
    SetForegroundWindow(Form->Handle());
    Application()->ProcessMessages();
    // Where the pointer was before (an earlier test's form, or the X server's
    // report of it arriving late) may have entered and left a control while
    // the form came up: that is not the test's.
    Log.Events.clear();
  }
  void TearDown() override { Form.reset(); }
  template <class T>
  T* Add(const String& AName, const TRect& R) {
    auto* C = Create<T>(Form.get());
    C->SetName(AName);
    C->SetParent(Form.get());
    C->SetBoundsRect(R);
    C->OnMouseEnter = MakeEvent<&TMouseLog::Enter>(&Log);
    C->OnMouseLeave = MakeEvent<&TMouseLog::Leave>(&Log);
    return C;
  }
};

TEST_F(MouseFixture, ControlsHearThePointerEnterAndLeave) {
  MovePointer(CentreOf(A));
  EXPECT_TRUE(RunLoopUntil([&] { return Log.Has(L"A+"); }));
  EXPECT_TRUE(A->MouseInControl());
  MovePointer(CentreOf(B));
  EXPECT_TRUE(RunLoopUntil([&] { return Log.Has(L"A-") && Log.Has(L"B+"); }));
  // A graphic control learns of it from the idle hit test.
  MovePointer(CentreOf(G));
  EXPECT_TRUE(RunLoopUntil([&] { return Log.Has(L"B-") && Log.Has(L"G+"); }));
  MovePointer(POINT{700, 500});
  EXPECT_TRUE(RunLoopUntil([&] { return Log.Has(L"G-"); }));
  for (const wchar_t* Name : {L"A", L"B", L"G"})
    EXPECT_EQ(Log.Of(Name), (std::vector<String>{String(Name) + L"+", String(Name) + L"-"}))
        << Name;
  EXPECT_FALSE(A->MouseInControl());
  EXPECT_FALSE(B->MouseInControl());
}

TEST_F(MouseFixture, ARecreatedWindowLeavesAndIsEnteredAfresh) {
  MovePointer(CentreOf(A));
  ASSERT_TRUE(RunLoopUntil([&] { return Log.Has(L"A+"); }));
  A->RecreateWnd();
  EXPECT_EQ(Log.Of(L"A"), (std::vector<String>{L"A+", L"A-"}));
  EXPECT_FALSE(A->MouseInControl());
  // The new window hears the next move.
  POINT P = CentreOf(A);
  MovePointer(POINT{P.x + 3, P.y});
  EXPECT_TRUE(RunLoopUntil([&] { return A->MouseInControl(); }));
  MovePointer(POINT{700, 500});
  EXPECT_TRUE(RunLoopUntil([&] { return !A->MouseInControl(); }));
  EXPECT_EQ(Log.Of(L"A"), (std::vector<String>{L"A+", L"A-", L"A+", L"A-"}));
}

// A move that arrives after the pointer has gone (the platform reports a
// pointer event late) enters the control and is followed by the leave, as
// if the pointer had crossed it; the control then hears the real pointer
// enter and leave.
TEST_F(MouseFixture, AMoveThatArrivesLateIsFollowedByTheLeave) {
  SendMessageW(A->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(A->MouseInControl());
  EXPECT_TRUE(RunLoopUntil([&] { return Log.Has(L"A-"); }));
  EXPECT_FALSE(A->MouseInControl());
  MovePointer(CentreOf(A));
  EXPECT_TRUE(RunLoopUntil([&] { return A->MouseInControl(); }));
  MovePointer(POINT{700, 500});
  EXPECT_TRUE(RunLoopUntil([&] { return !A->MouseInControl(); }));
  EXPECT_EQ(Log.Of(L"A"), (std::vector<String>{L"A+", L"A-", L"A+", L"A-"}));
}

// Moves the pointer away while a popup menu's own loop runs and closes the
// menu once A has heard it leave (or after a few seconds).
struct TMenuMover {
  TCustomControl* Control = nullptr;
  int Ticks = 0;
  bool LeftInsideTheMenu = false;
  bool InMenu = false;
  void Tick(TObject*) {
    if (!InMenu) return;
    if (++Ticks == 3) MovePointer(POINT{700, 500});
    if (!Control->MouseInControl()) LeftInsideTheMenu = true;
    if (LeftInsideTheMenu || Ticks > 200) EndMenu();
  }
};

TEST_F(MouseFixture, LeavingIsHeardWhileAPopupMenuRuns) {
  MovePointer(CentreOf(A));
  ASSERT_TRUE(RunLoopUntil([&] { return Log.Has(L"A+"); }));
  TPopupMenu* Menu = Create<TPopupMenu>(Form.get());
  TMenuItem* Item = Create<TMenuItem>(Form.get());
  Item->SetCaption(L"Item");
  Menu->Items()->Add(Item);
  TMenuMover Mover;
  Mover.Control = A;
  TOwned<TTimer> Timer(Create<TTimer>(nullptr));
  Timer->SetInterval(20);
  Timer->SetOnTimer(MakeEvent<&TMenuMover::Tick>(&Mover));
  Mover.InMenu = true;
  TPoint At = Form->ClientToScreen(Point(200, 150));
  Menu->Popup(At.x, At.y);
  Mover.InMenu = false;
  EXPECT_TRUE(Mover.LeftInsideTheMenu);
  EXPECT_EQ(Log.Of(L"A"), (std::vector<String>{L"A+", L"A-"}));
}

// Closes a message box of this thread (the platform's dialog class) once
// the pointer, moved while the box's own loop runs, has entered A and left
// it again; after a few seconds it closes it anyway.
struct TBoxMover {
  TCustomControl* Control = nullptr;
  int Ticks = 0;
  bool EnteredInsideTheBox = false;
  bool LeftInsideTheBox = false;
  static BOOL CALLBACK FindBox(HWND AWnd, LPARAM AFound) noexcept {
    wchar_t Class[16] = {};
    GetClassNameW(AWnd, Class, 16);
    if (String(Class) != L"#32770" || !IsWindowVisible(AWnd)) return TRUE;
    *reinterpret_cast<HWND*>(AFound) = AWnd;
    return FALSE;
  }
  void Tick(TObject*) {
    HWND Box = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindBox, reinterpret_cast<LPARAM>(&Box));
    if (!Box) return;
    ++Ticks;
    if (Ticks == 2) MovePointer(CentreOf(Control));
    if (!EnteredInsideTheBox && Control->MouseInControl()) {
      EnteredInsideTheBox = true;
      // The bottom right corner of the screen: off the form and off the
      // box, which the platform centres.
      MovePointer(POINT{GetSystemMetrics(SM_CXSCREEN) - 20, GetSystemMetrics(SM_CYSCREEN) - 20});
    }
    if (EnteredInsideTheBox && !Control->MouseInControl()) LeftInsideTheBox = true;
    if (LeftInsideTheBox || Ticks > 200) PostMessageW(Box, WM_COMMAND, IDOK, 0);
  }
};

TEST_F(MouseFixture, EnteringAndLeavingAreHeardWhileAMessageBoxRuns) {
  TBoxMover Mover;
  Mover.Control = A;
  TOwned<TTimer> Timer(Create<TTimer>(nullptr));
  Timer->SetInterval(20);
  Timer->SetOnTimer(MakeEvent<&TBoxMover::Tick>(&Mover));
  // A box of no owner leaves the form enabled; its loop, not the
  // application's, dispatches the form's messages meanwhile.
  MessageBoxW(nullptr, L"Waiting", L"Mouse", MB_OK);
  EXPECT_TRUE(Mover.EnteredInsideTheBox);
  EXPECT_TRUE(Mover.LeftInsideTheBox);
  EXPECT_EQ(Log.Of(L"A"), (std::vector<String>{L"A+", L"A-"}));
}

// A control with parts that logs what it hears of the pointer: its own
// entering and leaving as "self", its parts' by their names.
class TCompositeControl : public TCustomControl {
  DECLARE_CLASS_INLINE(TCompositeControl, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  std::vector<String> Heard;
  bool Has(const String& AEvent) const {
    return std::find(Heard.begin(), Heard.end(), AEvent) != Heard.end();
  }

 protected:
  void CMMouseEnter(TMessage& Message) override {
    Heard.push_back(Origin(Message) + L"+");
    inherited::CMMouseEnter(Message);
  }
  void CMMouseLeave(TMessage& Message) override {
    Heard.push_back(Origin(Message) + L"-");
    inherited::CMMouseLeave(Message);
  }

 private:
  String Origin(const TMessage& Message) const {
    auto* C = reinterpret_cast<TControl*>(Message.LParam);
    return !C || C == this ? String(L"self") : C->Name();
  }
};

TEST_F(MouseFixture, APartsEnteringAndLeavingReachItsParentNamed) {
  auto* P = Add<TCompositeControl>(L"P", Bounds(180, 40, 120, 120));
  auto* C = Create<TCustomControl>(Form.get());
  C->SetName(L"C");
  C->SetParent(P);
  C->SetBoundsRect(Bounds(10, 10, 40, 30));
  auto* H = Create<TGraphicControl>(Form.get());
  H->SetName(L"H");
  H->SetParent(P);
  H->SetBoundsRect(Bounds(60, 70, 40, 30));
  for (TControl* Part : {static_cast<TControl*>(C), static_cast<TControl*>(H)}) {
    Part->OnMouseEnter = MakeEvent<&TMouseLog::Enter>(&Log);
    Part->OnMouseLeave = MakeEvent<&TMouseLog::Leave>(&Log);
  }
  Application()->ProcessMessages();
  const TPoint Empty = P->ClientToScreen(Point(100, 20));
  const struct {
    POINT At;
    std::vector<String> Heard;  // what P hears there, in any order
  } Steps[] = {
      {POINT{Empty.x, Empty.y}, {L"self+"}},
      {CentreOf(C), {L"C+", L"self-"}},
      {CentreOf(H), {L"C-", L"self+", L"H+"}},
      {POINT{700, 500}, {L"H-", L"self-"}},
  };
  for (const auto& S : Steps) {
    P->Heard.clear();
    MovePointer(S.At);
    EXPECT_TRUE(RunLoopUntil([&] {
      return std::all_of(S.Heard.begin(), S.Heard.end(),
                         [&](const String& E) { return P->Has(E); });
    })) << S.Heard.front();
    for (const String& E : S.Heard)
      EXPECT_EQ(std::count(P->Heard.begin(), P->Heard.end(), E), 1) << E;
  }
  // The events fire for the control itself only, once each way.
  EXPECT_EQ(Log.Of(L"P"), (std::vector<String>{L"P+", L"P-", L"P+", L"P-"}));
  EXPECT_EQ(Log.Of(L"C"), (std::vector<String>{L"C+", L"C-"}));
  EXPECT_EQ(Log.Of(L"H"), (std::vector<String>{L"H+", L"H-"}));
}

// --- the message loop ---------------------------------------------------------------

class TSyncWorker : public TThread {
  DECLARE_CLASS_INLINE(TSyncWorker, TThread)
 public:
  TSyncWorker(TEvent* AStart, DWORD ADelay, TThreadMethod AMethod)
      : TThread(false), FStart(AStart), FDelay(ADelay), FMethod(AMethod) {}

 protected:
  void Execute() override {
    FStart->WaitFor(INFINITE);
    Sleep(FDelay);
    Synchronize(FMethod);
  }

 private:
  TEvent* FStart;
  DWORD FDelay;
  TThreadMethod FMethod;
};

struct TLoopLog {
  TEvent* Start = nullptr;
  int Idles = 0;
  bool Served = false;
  bool InMenu = false;
  bool ServedInMenu = false;
  int Ticks = 0;
  void Idle(TObject*, bool& Done) {
    Done = true;
    if (++Idles == 1) Start->SetEvent();
  }
  void Serve() { Served = true; }
  void ServeInMenu() {
    Served = true;
    ServedInMenu = InMenu;
    EndMenu();
  }
  void OpenedMenu(TObject*) { Start->SetEvent(); }
  void Guard(TObject*) {
    // A menu the synchronized call never closed is closed here.
    if (InMenu && ++Ticks > 100) EndMenu();
  }
};

TEST(MessageLoop, AnIdleMainThreadServesSynchronizeWithoutPolling) {
  TOwned<TEvent> Start(Create<TEvent>());
  TLoopLog Log;
  Log.Start = Start.get();
  Application()->OnIdle = MakeEvent<&TLoopLog::Idle>(&Log);
  // The worker synchronizes half a second after the loop first went idle;
  // meanwhile the loop sleeps: a loop that woke up to poll would run its
  // idle work again each time.
  TOwned<TSyncWorker> W(Create<TSyncWorker>(Start.get(), 500, MakeEvent<&TLoopLog::Serve>(&Log)));
  while (!Log.Served) Application()->HandleMessage();
  Application()->OnIdle = nullptr;
  W->WaitFor();
  EXPECT_TRUE(Log.Served);
  EXPECT_LE(Log.Idles, 3);
}

TEST(MessageLoop, SynchronizeIsServedInsideThePlatformsModalLoop) {
  TOwned<TCustomForm> Form(Create<TForm>(nullptr, true));
  Form->Show();
  SetForegroundWindow(Form->Handle());
  TOwned<TEvent> Start(Create<TEvent>());
  TLoopLog Log;
  Log.Start = Start.get();
  TPopupMenu* Menu = Create<TPopupMenu>(Form.get());
  TMenuItem* Item = Create<TMenuItem>(Form.get());
  Item->SetCaption(L"Item");
  Menu->Items()->Add(Item);
  Menu->OnPopup = MakeEvent<&TLoopLog::OpenedMenu>(&Log);
  TOwned<TTimer> Guard(Create<TTimer>(nullptr));
  Guard->SetInterval(50);
  Guard->SetOnTimer(MakeEvent<&TLoopLog::Guard>(&Log));
  TOwned<TSyncWorker> W(
      Create<TSyncWorker>(Start.get(), 200, MakeEvent<&TLoopLog::ServeInMenu>(&Log)));
  Log.InMenu = true;
  Menu->Popup(300, 300);
  Log.InMenu = false;
  // A call not served inside the menu is served by the loop afterwards.
  EXPECT_TRUE(RunLoopUntil([&] { return Log.Served; }));
  W->WaitFor();
  EXPECT_TRUE(Log.ServedInMenu);
}

}  // namespace
