// The library's controls on the framework's drag road: a control dragged by
// a real press past the drag threshold, its drag object with the copy
// cursor, the drag object seen over library controls, and the inner list
// box sharing its presses and the drags over it with its container.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "cxContainer.h"
#include "cxControls.h"

using namespace ControlsTest;

namespace {

POINT ScreenAt(TControl* C, Integer X, Integer Y) {
  TPoint P = C->ClientToScreen(TPoint{X, Y});
  return POINT{P.x, P.y};
}

// A library control whose "copy" decision the test makes.
class TCopyControl : public TcxControl {
  DECLARE_CLASS(TCopyControl, TcxControl)
 public:
  using TcxControl::TcxControl;
  // -1: the control's own decision (Ctrl held), else the test's.
  int Copy = -1;
  bool RefuseStart = false;

 protected:
  bool GetIsCopyDragDrop() override { return Copy < 0 ? inherited::GetIsCopyDragDrop() : Copy; }
  bool StartDrag(TObject* ADragObject) override { return !RefuseStart; }
};
IMPLEMENT_CLASS(TCopyControl)

// One log for every control it listens to, in the order the events came.
struct TDragEvents {
  std::vector<std::string> Lines;
  // What the last drag-over saw (the drag object is gone after the drop).
  TObject* Source = nullptr;
  bool LibraryObject = false;
  TControl* DraggedControl = nullptr;
  TDragObject* SeenDragObject = nullptr;
  std::vector<TObject*> Refusing;
  std::map<TObject*, TPoint> LastPoints;
  void DragOver(TObject* Sender, TObject* ASource, Integer X, Integer Y, TDragState State,
                bool& AAccept) {
    static const char* Names[] = {"enter", "leave", "over"};
    Source = ASource;
    LibraryObject = dynamic_cast<TcxDragControlObject*>(ASource) != nullptr;
    if (auto* AObject = dynamic_cast<TDragControlObject*>(ASource))
      DraggedControl = AObject->Control();
    SeenDragObject = GetDragObject();
    AAccept = std::find(Refusing.begin(), Refusing.end(), Sender) == Refusing.end();
    // A move to where a control last saw the pointer (the platform may
    // repeat one, a release asks again) is not written.
    auto Last = LastPoints.find(Sender);
    const bool Repeated =
        State == dsDragMove && Last != LastPoints.end() && Last->second == TPoint{X, Y};
    LastPoints[Sender] = TPoint{X, Y};
    if (Repeated) return;
    Write(std::string(Names[State]) + " " + Name(Sender) + " " + std::to_string(X) + "," +
          std::to_string(Y));
  }
  void DragDrop(TObject* Sender, TObject*, Integer X, Integer Y) {
    Write("drop " + Name(Sender) + " " + std::to_string(X) + "," + std::to_string(Y));
  }
  void StartDrag(TObject* Sender, TDragObject*&) { Write("start " + Name(Sender)); }
  void EndDrag(TObject* Sender, TObject* Target, Integer, Integer) {
    Write("end " + Name(Sender) + " on " + (Target ? Name(Target) : std::string("none")));
  }
  void Write(const std::string& ALine) {
    if (Lines.empty() || Lines.back() != ALine) Lines.push_back(ALine);
  }
  static std::string Name(TObject* O) {
    String N = static_cast<TComponent*>(O)->Name();
    return std::string(N.begin(), N.end());
  }
};

class FrameworkDrag : public ::testing::Test {
 protected:
  void SetUp() override {
    SendMouse(0, POINT{700, 500});
    Form.reset(CreateForm(400, 220));
    SetForegroundWindow(Form->Handle());
    Source = Add<TCopyControl>(L"Source", Bounds(10, 10, 80, 60));
    Target = Add<TCopyControl>(L"Target", Bounds(150, 10, 100, 80));
    Source->SetDragMode(dmAutomatic);
    Source->OnStartDrag = MakeEvent<&TDragEvents::StartDrag>(&Events);
    Source->OnEndDrag = MakeEvent<&TDragEvents::EndDrag>(&Events);
    Target->OnDragOver = MakeEvent<&TDragEvents::DragOver>(&Events);
    Target->OnDragDrop = MakeEvent<&TDragEvents::DragDrop>(&Events);
    ProcessMessages();
  }
  void TearDown() override {
    SendMouse(MOUSEEVENTF_LEFTUP, POINT{700, 500});
    SendKey(VK_CONTROL, true);
    ProcessMessages();
    if (GetCapture()) ReleaseCapture();
    Form.reset();
  }
  template <class T>
  T* Add(const wchar_t* AName, const TRect& R) {
    auto* C = Create<T>(Form.get());
    C->SetName(AName);
    C->SetParent(Form.get());
    C->SetBoundsRect(R);
    return C;
  }
  // A real press on the source, then the steps; the press goes through the
  // application's loop, where the control detects the drag and begins it.
  void PressAndRun(std::vector<std::function<void()>> ASteps) {
    SendMouse(0, ScreenAt(Source, 40, 30));
    ProcessMessages();
    ASteps.insert(ASteps.begin(),
                  [this] { SendMouse(MOUSEEVENTF_LEFTDOWN, ScreenAt(Source, 40, 30)); });
    TInputScript Script(std::move(ASteps));
    EXPECT_TRUE(PumpApplicationUntil([&] { return Script.Done() && !Source->Dragging(); }));
  }
  static std::function<void()> Move(POINT P) {
    return [P] { SendMouse(0, P); };
  }
  static std::function<void()> Release(POINT P) {
    return [P] { SendMouse(MOUSEEVENTF_LEFTUP, P); };
  }
  TOwned<TCustomForm> Form;
  TCopyControl* Source = nullptr;
  TCopyControl* Target = nullptr;
  TDragEvents Events;
};

TEST_F(FrameworkDrag, APressMovedPastTheThresholdDragsTheControlWithItsOwnObject) {
  TDragObject* During = nullptr;
  PressAndRun({Move(ScreenAt(Source, 41, 31)),  // inside the threshold
               Move(ScreenAt(Target, 20, 20)), [&] { During = GetDragObject(); },
               Move(ScreenAt(Target, 30, 25)), Release(ScreenAt(Target, 30, 25))});
  EXPECT_EQ(Events.Lines,
            (std::vector<std::string>{"start Source", "enter Target 20,20", "over Target 30,25",
                                      "drop Target 30,25", "end Source on Target"}));
  // Targets see the library's drag object, which is also what a library
  // control reads while it is over one; none once the drag is over.
  EXPECT_TRUE(Events.LibraryObject);
  EXPECT_EQ(Events.DraggedControl, Source);
  EXPECT_EQ(Events.SeenDragObject, Events.Source);
  EXPECT_EQ(During, Events.Source);
  EXPECT_EQ(GetDragObject(), nullptr);
}

TEST_F(FrameworkDrag, APressReleasedInsideTheThresholdDragsNothing) {
  PressAndRun({Move(ScreenAt(Source, 41, 30)), Release(ScreenAt(Source, 41, 30))});
  EXPECT_TRUE(Events.Lines.empty());
}

TEST_F(FrameworkDrag, ARefusedStartEndsTheDragBeforeItRuns) {
  Source->RefuseStart = true;
  PressAndRun({Move(ScreenAt(Target, 20, 20)), Release(ScreenAt(Target, 20, 20))});
  EXPECT_EQ(Events.Lines, (std::vector<std::string>{"start Source"}));
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(FrameworkDrag, CtrlHeldOverAnAcceptingTargetShowsTheCopyCursor) {
  HCURSOR Moving = nullptr, Copying = nullptr, Released = nullptr;
  PressAndRun({Move(ScreenAt(Target, 20, 20)), [&] { Moving = GetCursor(); },
               [] { SendKey(VK_CONTROL, false); }, [&] { Copying = GetCursor(); },
               [] { SendKey(VK_CONTROL, true); }, [&] { Released = GetCursor(); },
               Release(ScreenAt(Target, 20, 20))});
  // Pressing and letting go of Ctrl asks the target again at the same place.
  EXPECT_EQ(Moving, Screen()->Cursors(crDrag));
  EXPECT_EQ(Copying, Screen()->Cursors(crDragCopy));
  EXPECT_EQ(Released, Screen()->Cursors(crDrag));
}

TEST(LibraryDragObject, CursorByAcceptanceAndCopy) {
  struct TCase {
    bool Accepted, Copy;
    TCursor Expected;
  };
  const TCase Cases[] = {{true, false, crDrag},
                         {true, true, crDragCopy},
                         {false, true, crNoDrop},
                         {false, false, crNoDrop}};
  TOwned<TCopyControl> Control = MakeOwned<TCopyControl>(nullptr);
  Control->SetDragCursor(crHandPoint);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Accepted) + std::to_string(C.Copy));
    Control->Copy = C.Copy;
    TcxDragControlObject* Obj = Create<TcxDragControlObject>(Control.get());
    EXPECT_EQ(Obj->GetDragCursor(C.Accepted, 0, 0),
              C.Expected == crDrag ? crHandPoint : C.Expected);
    // It frees itself once its drag is over.
    Obj->Finished(nullptr, 0, 0, false);
  }
}

// ---------------------------------------------------------------------------
// The inner list box

// A container that notes the drags it begins and cancels them at once, so
// that the press decisions can be read without a drag running.
class TNotingContainer : public TcxContainer {
  DECLARE_CLASS(TNotingContainer, TcxContainer)
 public:
  using TcxContainer::TcxContainer;
  int DragsBegun = 0;
  bool CancelAtStart = true;

 protected:
  void DoStartDrag(TDragObject*& ADragObject) override {
    ++DragsBegun;
    if (CancelAtStart)
      CancelDrag();
    else
      inherited::DoStartDrag(ADragObject);
  }
};
IMPLEMENT_CLASS(TNotingContainer)

struct TPressLog {
  int ListPresses = 0;
  void MouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) { ++ListPresses; }
};

class InnerListBoxDrag : public ::testing::Test {
 protected:
  void SetUp() override {
    SendMouse(0, POINT{700, 500});
    Form.reset(CreateForm(400, 220));
    SetForegroundWindow(Form->Handle());
    Box = Create<TNotingContainer>(Form.get());
    Box->SetName(L"Box");
    Box->SetBounds(10, 10, 150, 120);
    Box->SetParent(Form.get());
    List = Create<TcxCustomInnerListBox>(Form.get());
    List->SetName(L"List");
    List->SetContainer(Box);
    List->SetParent(Box);
    Box->SetInnerControl(List);
    for (const wchar_t* S : {L"one", L"two", L"three", L"four"}) List->Items()->Add(S);
    List->OnMouseDown = MakeEvent<&TPressLog::MouseDown>(&Presses);
    Box->ShortRefreshContainer(false);
    ProcessMessages();
  }
  void TearDown() override {
    SendMouse(MOUSEEVENTF_LEFTUP, POINT{700, 500});
    ProcessMessages();
    if (GetCapture()) ReleaseCapture();
    Form.reset();
  }
  TPoint ItemCentre(Integer AIndex) {
    TRect R = List->ItemRect(AIndex);
    return TPoint{(R.left + R.right) / 2, (R.top + R.bottom) / 2};
  }
  TOwned<TCustomForm> Form;
  TNotingContainer* Box = nullptr;
  TcxCustomInnerListBox* List = nullptr;
  TPressLog Presses;
};

TEST_F(InnerListBoxDrag, APressSharedBetweenTheListAndTheContainersDrag) {
  struct TCase {
    const char* Name;
    TDragMode Mode;
    bool MultiSelect;
    Integer Item;  // items 0 and 1 are selected in a multi-select list
    WPARAM Keys;
    bool ListHandles, DragBegins;
  };
  const TCase Cases[] = {
      {"manual", dmManual, false, 2, 0, true, false},
      {"single", dmAutomatic, false, 2, 0, true, true},
      {"single with shift", dmAutomatic, false, 2, MK_SHIFT, true, true},
      {"on the selection", dmAutomatic, true, 1, 0, false, true},
      {"on the selection with ctrl", dmAutomatic, true, 1, MK_CONTROL, false, true},
      {"on the selection with shift", dmAutomatic, true, 1, MK_SHIFT, true, false},
      {"on the selection with shift and ctrl", dmAutomatic, true, 1, MK_SHIFT | MK_CONTROL, false,
       true},
      {"beside the selection", dmAutomatic, true, 3, 0, true, true},
      {"beside the selection with ctrl", dmAutomatic, true, 3, MK_CONTROL, true, false},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    List->SetMultiSelect(C.MultiSelect);
    List->SetDragMode(C.Mode);
    if (C.MultiSelect) {
      SendMessageW(List->Handle(), LB_SETSEL, FALSE, -1);
      List->SetSelected(0, true);
      List->SetSelected(1, true);
    }
    Presses.ListPresses = 0;
    Box->DragsBegun = 0;
    const TPoint P = ItemCentre(C.Item);
    List->Perform(WM_LBUTTONDOWN, MK_LBUTTON | C.Keys, MAKELPARAM(P.x, P.y));
    List->Perform(WM_LBUTTONUP, C.Keys, MAKELPARAM(P.x, P.y));
    EXPECT_EQ(Presses.ListPresses == 1, C.ListHandles);
    EXPECT_EQ(Box->DragsBegun == 1, C.DragBegins);
    EXPECT_EQ(List->DragMode(), C.Mode);
    if (C.MultiSelect && !C.ListHandles) {
      // Dragging the selection leaves it as it was.
      EXPECT_TRUE(List->Selected(0));
      EXPECT_TRUE(List->Selected(1));
    }
    if (GetCapture()) ReleaseCapture();
  }
}

TEST_F(InnerListBoxDrag, APressOnAnItemDragsTheContainerOntoAnotherControl) {
  TDragEvents Events;
  auto* Target = Create<TCopyControl>(Form.get());
  Target->SetName(L"Target");
  Target->SetParent(Form.get());
  Target->SetBounds(220, 10, 100, 80);
  Target->OnDragOver = MakeEvent<&TDragEvents::DragOver>(&Events);
  Target->OnDragDrop = MakeEvent<&TDragEvents::DragDrop>(&Events);
  Box->CancelAtStart = false;
  List->SetDragMode(dmAutomatic);
  const TPoint Item = ItemCentre(1);
  const POINT Press = ScreenAt(List, Item.x, Item.y);
  SendMouse(0, Press);
  ProcessMessages();
  TInputScript Script({[&] { SendMouse(MOUSEEVENTF_LEFTDOWN, Press); },
                       [&] { SendMouse(0, ScreenAt(Target, 30, 30)); },
                       [&] { SendMouse(MOUSEEVENTF_LEFTUP, ScreenAt(Target, 30, 30)); }});
  EXPECT_TRUE(PumpApplicationUntil([&] { return Script.Done() && !Box->Dragging(); }));
  // The list took the press (the item is selected) and the container was
  // what was dragged.
  EXPECT_EQ(List->ItemIndex(), 1);
  EXPECT_EQ(Box->DragsBegun, 1);
  EXPECT_EQ(Events.Lines, (std::vector<std::string>{"enter Target 30,30", "drop Target 30,30"}));
  EXPECT_EQ(Events.DraggedControl, Box);
  EXPECT_EQ(List->DragMode(), dmAutomatic);
}

TEST_F(InnerListBoxDrag, WhatIsDraggedOverTheListTheContainerAnswersFirst) {
  const Integer L = List->Left(), T = List->Top();
  auto Line = [&](const char* AEvent, const char* AName, Integer X, Integer Y) {
    return std::string(AEvent) + " " + AName + " " + std::to_string(X) + "," + std::to_string(Y);
  };
  struct TCase {
    const char* Name;
    bool ContainerAccepts;
    std::vector<std::string> Lines;
  };
  // The container sees the point in its own client coordinates; when it
  // refuses, the list's own handler decides (it refuses too): nothing is
  // dropped and both hear the leave.
  const TCase Cases[] = {
      {"the container takes it",
       true,
       {Line("enter", "Box", 20 + L, 5 + T), Line("drop", "Box", 20 + L, 5 + T)}},
      {"the list decides",
       false,
       {Line("enter", "Box", 20 + L, 5 + T), Line("enter", "List", 20, 5),
        Line("leave", "Box", 20 + L, 5 + T), Line("leave", "List", 20, 5)}},
  };
  auto* Dragged = Create<TCopyControl>(Form.get());
  Dragged->SetName(L"Dragged");
  Dragged->SetParent(Form.get());
  Dragged->SetBounds(220, 10, 60, 40);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TDragEvents Events;
    Events.Refusing = {List};
    if (!C.ContainerAccepts) Events.Refusing.push_back(Box);
    for (TControl* Control : std::initializer_list<TControl*>{Box, List}) {
      Control->OnDragOver = MakeEvent<&TDragEvents::DragOver>(&Events);
      Control->OnDragDrop = MakeEvent<&TDragEvents::DragDrop>(&Events);
    }
    SendMouse(0, ScreenAt(Dragged, 10, 10));
    ProcessMessages();
    TInputScript Script({[&] { SendMouse(MOUSEEVENTF_LEFTDOWN, ScreenAt(Dragged, 10, 10)); },
                         [&] { SendMouse(0, ScreenAt(List, 20, 5)); },
                         [&] { SendMouse(MOUSEEVENTF_LEFTUP, ScreenAt(List, 20, 5)); }});
    Dragged->BeginDrag(false, 2);
    PumpUntil([&] { return Script.Done(); });
    EXPECT_EQ(Events.Lines, C.Lines);
  }
}

}  // namespace
