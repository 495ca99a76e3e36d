// Dragging a control onto another with real pointer and key input: what the
// control under the pointer hears, the drop, the ways a drag is cancelled,
// the cursor, drag objects of the program's own and controls freed on the
// way. The drag runs its own loop; a timer plays the input into it step by
// step.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "Forms.h"
#include "ImgList.h"
#include "TestInput.h"

using namespace FrameworkTest;

namespace {

void SendMouse(DWORD AFlags, POINT P = {0, 0}) {
  INPUT In{};
  In.type = INPUT_MOUSE;
  In.mi.dx = MulDiv(P.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  In.mi.dy = MulDiv(P.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  In.mi.dwFlags = AFlags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
  SendInput(1, &In, sizeof(In));
}

POINT At(TControl* C, Integer X, Integer Y) {
  TPoint P = C->ClientToScreen(TPoint{X, Y});
  return POINT{P.x, P.y};
}

POINT CentreOf(TControl* C) { return At(C, C->Width() / 2, C->Height() / 2); }

bool RunLoopUntil(const std::function<bool()>& ADone) {
  for (int Round = 0; Round < 3000 && !ADone(); ++Round) Application()->HandleMessage();
  return ADone();
}

// A control that shows drag images while it is dragged.
class TImageControl : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  TCustomImageList* Images = nullptr;

 protected:
  TCustomImageList* GetDragImages() override { return Images; }
};

// A drag object of the program's own: it counts its ends and is never
// freed by the framework.
class TOwnDragObject : public TDragObject {
 public:
  int FinishedCount = 0;
  TObject* FinishedTarget = reinterpret_cast<TObject*>(1);
  void Finished(TObject* Target, Integer, Integer, bool) override {
    ++FinishedCount;
    FinishedTarget = Target;
  }
};

struct DragFixture : testing::Test {
  TOwned<TCustomForm> Form;
  TImageControl* S = nullptr;    // dragged
  TCustomControl* T = nullptr;   // accepts
  TGraphicControl* G = nullptr;  // accepts, no window
  TCustomControl* N = nullptr;   // no drag handler: takes nothing
  std::vector<String> Log;
  TDragObject* GivenObject = nullptr;
  TObject* LastSource = nullptr;
  std::function<void(TControl*, TDragState)> OnOver;
  std::function<void(TControl*)> OnDrop;

  void SetUp() override {
    SendMouse(0, POINT{700, 500});
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(100, 100, 400, 220);
    S = Add<TImageControl>(L"S", Bounds(10, 10, 60, 40));
    T = Add<TCustomControl>(L"T", Bounds(120, 10, 80, 60));
    G = Add<TGraphicControl>(L"G", Bounds(10, 100, 60, 40));
    N = Add<TCustomControl>(L"N", Bounds(220, 10, 60, 40));
    N->OnDragOver = nullptr;
    S->OnDragOver = nullptr;
    S->OnStartDrag = MakeEvent<&DragFixture::StartDrag>(this);
    S->OnEndDrag = MakeEvent<&DragFixture::EndDrag>(this);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    Application()->ProcessMessages();
  }
  void TearDown() override {
    Form.reset();
    SendMouse(MOUSEEVENTF_LEFTUP, POINT{700, 500});
  }
  template <class T_>
  T_* Add(const String& AName, const TRect& R) {
    auto* C = Create<T_>(Form.get());
    C->SetName(AName);
    C->SetParent(Form.get());
    C->SetBoundsRect(R);
    C->OnDragOver = MakeEvent<&DragFixture::DragOver>(this);
    C->OnDragDrop = MakeEvent<&DragFixture::DragDrop>(this);
    return C;
  }
  static String NameOf(TObject* O) {
    if (!O) return L"none";
    if (auto* C = dynamic_cast<TComponent*>(O)) return C->Name();
    return L"object";
  }
  void Write(const String& AEntry) {
    // Moves within one control come as many messages as the platform makes.
    if (!Log.empty() && Log.back() == AEntry) return;
    Log.push_back(AEntry);
  }
  void StartDrag(TObject* Sender, TDragObject*& ADragObject) {
    Write(L"start " + NameOf(Sender));
    ADragObject = GivenObject;
  }
  void DragOver(TObject* Sender, TObject* Source, Integer, Integer, TDragState State,
                bool& Accept) {
    static const wchar_t* Names[] = {L"enter ", L"leave ", L"over "};
    LastSource = Source;
    Write(Names[State] + NameOf(Sender));
    if (OnOver) OnOver(static_cast<TControl*>(Sender), State);
  }
  void DragDrop(TObject* Sender, TObject* Source, Integer X, Integer Y) {
    Write(L"drop " + NameOf(Sender) + L" from " + NameOf(Source) + L" at " + IntToStr(X) + L"," +
          IntToStr(Y));
    if (OnDrop) OnDrop(static_cast<TControl*>(Sender));
  }
  void EndDrag(TObject* Sender, TObject* Target, Integer X, Integer Y) {
    Write(L"end " + NameOf(Sender) + L" on " + NameOf(Target) +
          (Target ? L" at " + IntToStr(X) + L"," + IntToStr(Y) : String()));
  }

  // Presses on S, then plays ASteps; with S dragged automatically the
  // press itself starts the drag through the application's loop.
  void RunAutomatic(std::vector<std::function<void()>> ASteps) {
    S->SetDragMode(dmAutomatic);
    ASteps.insert(ASteps.begin(), [this] { SendMouse(MOUSEEVENTF_LEFTDOWN, CentreOf(S)); });
    SendMouse(0, CentreOf(S));
    Application()->ProcessMessages();
    TInputScript Script(std::move(ASteps));
    EXPECT_TRUE(RunLoopUntil([&] { return Script.Done() && !S->Dragging(); }));
  }
  // Presses on S and drags it by BeginDrag; ASteps run inside the drag.
  void RunBegin(bool AImmediate, Integer AThreshold, std::vector<std::function<void()>> ASteps) {
    SendMouse(0, CentreOf(S));
    SendMouse(MOUSEEVENTF_LEFTDOWN, CentreOf(S));
    Application()->ProcessMessages();
    TInputScript Script(std::move(ASteps));
    S->BeginDrag(AImmediate, AThreshold);
    // What the drag left of the input reaches the controls as usual.
    EXPECT_TRUE(RunLoopUntil([&] { return Script.Done(); }));
  }
  std::function<void()> MoveTo(POINT P) {
    return [P] { SendMouse(0, P); };
  }
  std::function<void()> Release(POINT P) {
    return [P] { SendMouse(MOUSEEVENTF_LEFTUP, P); };
  }
};

TEST_F(DragFixture, APressOnAnAutomaticControlDragsItOntoTheControlThatAccepts) {
  const POINT Drop = At(T, 30, 20);
  HCURSOR OverT = nullptr, OverN = nullptr;
  S->SetDragCursor(crHandPoint);
  RunAutomatic({MoveTo(At(S, 31, 20)),  // inside the threshold: no drag yet
                MoveTo(CentreOf(G)), MoveTo(CentreOf(N)), [&] { OverN = GetCursor(); },
                MoveTo(CentreOf(T)), [&] { OverT = GetCursor(); }, MoveTo(Drop), Release(Drop)});
  EXPECT_EQ(Log, (std::vector<String>{L"start S", L"enter G", L"leave G", L"enter T", L"over T",
                                      L"drop T from S at 30,20", L"end S on T at 30,20"}));
  // The framework made the drag object: targets see the control.
  EXPECT_EQ(LastSource, S);
  EXPECT_EQ(OverN, Screen()->Cursors(crNoDrop));
  EXPECT_EQ(OverT, Screen()->Cursors(crHandPoint));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(DragFixture, AReleaseInsideTheThresholdEndsWithNoTarget) {
  RunBegin(false, 10, {MoveTo(At(S, 35, 25)), Release(At(S, 35, 25))});
  EXPECT_EQ(Log, (std::vector<String>{L"start S", L"end S on none"}));
}

TEST_F(DragFixture, AnImmediateDragAsksTheControlUnderThePointerAtOnce) {
  RunBegin(true, -1, {Release(CentreOf(S))});
  // S has no drag handler: it takes nothing, even itself.
  EXPECT_EQ(Log, (std::vector<String>{L"start S", L"end S on none"}));
  Log.clear();
  S->OnDragOver = MakeEvent<&DragFixture::DragOver>(this);
  RunBegin(true, -1, {Release(CentreOf(S))});
  EXPECT_EQ(Log, (std::vector<String>{L"start S", L"enter S", L"over S", L"drop S from S at 30,20",
                                      L"end S on S at 30,20"}));
}

TEST_F(DragFixture, EscapeTheRightButtonALostCaptureAndEndDragCancel) {
  struct TCase {
    const wchar_t* Name;
    std::function<void(DragFixture&)> Cancel;
  };
  const TCase Cases[] = {
      {L"escape", [](DragFixture&) { SendKey(VK_ESCAPE, false); }},
      {L"right button", [](DragFixture& F) { SendMouse(MOUSEEVENTF_RIGHTDOWN, CentreOf(F.T)); }},
      {L"capture lost", [](DragFixture& F) { SetCapture(F.Form->Handle()); }},
      {L"end drag", [](DragFixture& F) { F.S->EndDrag(false); }},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Log.clear();
    RunBegin(false, -1,
             {MoveTo(CentreOf(T)), [&] { C.Cancel(*this); }, MoveTo(At(T, 10, 10)),
              Release(At(T, 10, 10)),
              [] {
                SendKey(VK_ESCAPE, true);
                SendMouse(MOUSEEVENTF_RIGHTUP, POINT{700, 500});
              }});
    EXPECT_EQ(Log, (std::vector<String>{L"start S", L"enter T", L"leave T", L"end S on none"}));
    if (GetCapture()) ReleaseCapture();
    Application()->ProcessMessages();
  }
}

TEST_F(DragFixture, OtherKeysNeitherCancelNorReachTheFocusedControl) {
  std::vector<Word> Keys;
  struct TKeys {
    std::vector<Word>* Keys;
    void KeyDown(TObject*, Word& Key, TShiftState) { Keys->push_back(Key); }
  } Listener{&Keys};
  auto* Edit = Add<TCustomControl>(L"E", Bounds(300, 100, 60, 30));
  Edit->SetTabStop(true);
  Edit->OnKeyDown = MakeEvent<&TKeys::KeyDown>(&Listener);
  Edit->SetFocus();
  RunBegin(false, -1,
           {MoveTo(CentreOf(T)), [] { SendKey('A', false); }, [] { SendKey('A', true); },
            MoveTo(At(T, 10, 10)), Release(At(T, 10, 10))});
  EXPECT_EQ(Log, (std::vector<String>{L"start S", L"enter T", L"over T", L"drop T from S at 10,10",
                                      L"end S on T at 10,10"}));
  EXPECT_TRUE(Keys.empty());
}

TEST_F(DragFixture, EndDragWithDropFromAHandlerDropsOnTheAcceptingTarget) {
  OnOver = [this](TControl* C, TDragState State) {
    if (C == T && State == dsDragMove) S->EndDrag(true);
  };
  RunBegin(false, -1, {MoveTo(CentreOf(T)), MoveTo(At(T, 20, 20)), Release(At(T, 20, 20))});
  ASSERT_GE(Log.size(), 4u);
  EXPECT_EQ(Log[Log.size() - 2], L"drop T from S at 20,20");
  EXPECT_EQ(Log.back(), L"end S on T at 20,20");
}

TEST_F(DragFixture, AnObjectOfTheProgramsOwnIsWhatTargetsSeeAndItIsNotFreed) {
  TOwnDragObject Own;  // on the stack: freeing it would crash the test
  GivenObject = &Own;
  RunBegin(false, -1, {MoveTo(CentreOf(T)), Release(CentreOf(T))});
  EXPECT_EQ(LastSource, &Own);
  EXPECT_EQ(Own.FinishedCount, 1);
  EXPECT_EQ(Own.FinishedTarget, T);
  // Its Finished is the end: the control's OnEndDrag is the framework
  // object's business.
  EXPECT_EQ(Log.back(), L"drop T from object at 40,30");
  GivenObject = nullptr;
}

TEST_F(DragFixture, TheDraggedControlFreedByTheDropHearsTheEndFirst) {
  OnDrop = [this](TControl*) { S->Free(); };
  RunBegin(false, -1, {MoveTo(CentreOf(T)), Release(CentreOf(T))});
  EXPECT_EQ(Log, (std::vector<String>{L"start S", L"enter T", L"over T", L"drop T from S at 40,30",
                                      L"end S on none"}));
  EXPECT_EQ(Form->FindComponent(L"S"), nullptr);
}

TEST_F(DragFixture, ATargetFreedByItsOwnHandlerIsForgotten) {
  OnOver = [this](TControl* C, TDragState State) {
    if (C == T && State == dsDragEnter) T->Free();
  };
  POINT Where = CentreOf(T);
  RunBegin(false, -1, {MoveTo(Where), MoveTo(POINT{Where.x + 3, Where.y}), Release(Where)});
  // The form is under the pointer now; it has no handler.
  EXPECT_EQ(Log, (std::vector<String>{L"start S", L"enter T", L"end S on none"}));
}

TEST_F(DragFixture, TheDragImagesShowOverControlsThatDisplayThem) {
  TOwned<TCustomImageList> Images = MakeOwned<TCustomImageList>(nullptr);
  Images->SetSize(16, 16);
  TOwned<TBitmap> B = MakeOwned<TBitmap>();
  B->SetSize(16, 16);
  Images->Add(B.get(), nullptr);
  S->Images = Images.get();
  T->SetControlStyle(T->ControlStyle() + TControlStyle{csDisplayDragImage});
  HIMAGELIST During = nullptr;
  RunBegin(false, -1,
           {MoveTo(CentreOf(T)), [&] { During = ImageList_GetDragImage(nullptr, nullptr); },
            Release(CentreOf(T))});
  EXPECT_NE(During, nullptr);
  EXPECT_EQ(ImageList_GetDragImage(nullptr, nullptr), nullptr);
  S->Images = nullptr;
}

}  // namespace
