// The message loop (idle work, synchronized calls from threads, also inside
// the platform's modal loops) and the mouse entering and leaving controls,
// with the pointer moved by input the platform injects.
#include <gtest/gtest.h>

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
