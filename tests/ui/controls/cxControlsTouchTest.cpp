// Gesture messages reach the framework control under the finger through the
// layer's touch services: the control itself, a child that handles the
// gesture, or the parent a child passes it on to.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "ControlsTestSupport.h"
#include "cxContainer.h"
#include "cxControls.h"
#include "dxTouch.h"

using namespace ControlsTest;

namespace {

std::map<HGESTUREINFO, GESTUREINFO> GestureInfos;

BOOL WINAPI FakeGetGestureInfo(HGESTUREINFO AHandle, PGESTUREINFO AInfo) {
  auto It = GestureInfos.find(AHandle);
  if (It == GestureInfos.end()) return FALSE;
  *AInfo = It->second;
  return TRUE;
}
BOOL WINAPI FakeCloseGestureInfoHandle(HGESTUREINFO AHandle) {
  return GestureInfos.erase(AHandle) ? TRUE : FALSE;
}
// Default handling frees the gesture's handle, as the platform's does.
LRESULT WINAPI FakeDefWindowProc(HWND, UINT AMsg, WPARAM, LPARAM lParam) {
  if (AMsg == WM_GESTURE) GestureInfos.erase(reinterpret_cast<HGESTUREINFO>(lParam));
  return 0;
}
BOOL WINAPI SamePoint(HWND, LPPOINT) { return TRUE; }
// The last configuration each window asked for.
std::map<HWND, std::vector<TdxGestureConfig>> GestureConfigs;
BOOL WINAPI FakeSetGestureConfig(HWND AWnd, DWORD, UINT ACount, PGESTURECONFIG AConfigs, UINT) {
  auto* First = reinterpret_cast<TdxGestureConfig*>(AConfigs);
  GestureConfigs[AWnd].assign(First, First + ACount);
  return TRUE;
}

// What a control heard of gestures.
struct TGestureLog {
  std::vector<Integer> Ids;
  TPoint LastLocation{};
  void Add(const TGestureEventInfo& AInfo) {
    Ids.push_back(AInfo.GestureID);
    LastLocation = AInfo.Location;
  }
};

class TTouchChild : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  TGestureLog Log;
  bool Handles = true;

 protected:
  void DoGesture(const TGestureEventInfo& AInfo, bool& AHandled) override {
    Log.Add(AInfo);
    AHandled = Handles;
  }
};

// Its content has a size in pixels (none at first) and is scrolled by
// position, a pixel per unit.
class TTouchedControl : public TcxControl {
 public:
  using TcxControl::GetClientBounds;
  using TcxControl::TcxControl;
  using TcxControl::UpdateScrollBars;
  TGestureLog Log;
  TSize Content{0, 0};
  TPoint Pos{0, 0};

 protected:
  void DoGesture(const TGestureEventInfo& AInfo, bool& AHandled) override {
    Log.Add(AInfo);
    TcxControl::DoGesture(AInfo, AHandled);
  }
  void InitScrollBarsParameters() override {
    TRect R = GetClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, Content.cx - 1, 1, cxRectWidth(R), Pos.x, true, true);
    SetScrollBarInfo(sbVertical, 0, Content.cy - 1, 1, cxRectHeight(R), Pos.y, true, true);
  }
  void Scroll(TScrollBarKind AKind, TScrollCode ACode, Integer& APos) override {
    if (ACode != scTrack) return;
    (AKind == sbHorizontal ? Pos.x : Pos.y) = APos;
    UpdateScrollBars();
  }
};

// The platform's gesture functions replaced by the fakes above while it
// lives.
class TFakeTouchPlatform {
 public:
  TFakeTouchPlatform() : FSaved(dxTouchPlatform()) {
    dxTouchPlatform().GetGestureInfo = &FakeGetGestureInfo;
    dxTouchPlatform().CloseGestureInfoHandle = &FakeCloseGestureInfoHandle;
    dxTouchPlatform().DefWindowProc = &FakeDefWindowProc;
    dxTouchPlatform().PhysicalToLogicalPoint = &SamePoint;
    dxTouchPlatform().SetGestureConfig = &FakeSetGestureConfig;
    GestureInfos.clear();
    GestureConfigs.clear();
  }
  ~TFakeTouchPlatform() { dxTouchPlatform() = FSaved; }
  TFakeTouchPlatform(const TFakeTouchPlatform&) = delete;
  TFakeTouchPlatform& operator=(const TFakeTouchPlatform&) = delete;

 private:
  TdxTouchPlatform FSaved;
};

// The notification that starts every touch, at a screen point of AWnd.
void TouchStartAt(HWND AWnd, TPoint AScreen) {
  GESTURENOTIFYSTRUCT N = {};
  N.cbSize = sizeof(N);
  N.hwndTarget = AWnd;
  N.ptsLocation = POINTS{static_cast<SHORT>(AScreen.x), static_cast<SHORT>(AScreen.y)};
  SendMessageW(AWnd, WM_GESTURENOTIFY, 0, reinterpret_cast<LPARAM>(&N));
}

int GestureHandles = 0;

LRESULT SendGestureAt(HWND AWnd, DWORD AId, DWORD AFlags, TPoint AScreen) {
  HGESTUREINFO H = reinterpret_cast<HGESTUREINFO>(static_cast<INT_PTR>(0x2000 + ++GestureHandles));
  GESTUREINFO I = {};
  I.cbSize = sizeof(I);
  I.dwID = AId;
  I.dwFlags = AFlags;
  I.ptsLocation = POINTS{static_cast<SHORT>(AScreen.x), static_cast<SHORT>(AScreen.y)};
  GestureInfos[H] = I;
  return SendMessageW(AWnd, WM_GESTURE, AId, reinterpret_cast<LPARAM>(H));
}

class ControlTouch : public testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(320, 240));
    Control = Create<TTouchedControl>(Form.get());
    Control->SetParent(Form.get());
    Control->SetBounds(10, 10, 220, 160);
    Child = Create<TTouchChild>(Form.get());
    Child->SetParent(Control);
    Child->SetBounds(20, 30, 60, 40);
    Form->Show();
    ProcessMessages();
  }
  void TearDown() override { Form.reset(); }
  TPoint ScreenOf(TPoint AClient) { return Control->ClientToScreen(AClient); }
  // The notification that starts every touch, at a client point of the
  // control.
  void TouchStart(TPoint AClient) { TouchStartAt(Control->Handle(), ScreenOf(AClient)); }
  LRESULT SendGesture(DWORD AId, DWORD AFlags, TPoint AClient) {
    return SendGestureAt(Control->Handle(), AId, AFlags, ScreenOf(AClient));
  }

  TFakeTouchPlatform Platform;
  TOwned<TCustomForm> Form;
  TTouchedControl* Control = nullptr;
  TTouchChild* Child = nullptr;
};

TEST_F(ControlTouch, TheLayerFillsTheServicesWithTheFrameworkControls) {
  TdxTouchControlServices& Services = dxTouchControlServices();
  ASSERT_NE(Services.FindControl, nullptr);
  ASSERT_NE(Services.ChildControlAt, nullptr);
  IdxTouchControl* Found = Services.FindControl(Control->Handle());
  ASSERT_NE(Found, nullptr);
  EXPECT_EQ(Found, Services.FindControl(Control->Handle()));  // one link per control
  EXPECT_EQ(Found->TouchWindow(), Control->Handle());
  EXPECT_EQ(Found->TouchParent(), Services.FindControl(Form->Handle()));
  EXPECT_EQ(Services.FindControl(nullptr), nullptr);
  IdxTouchControl* AtChild = Services.ChildControlAt(Found, TPoint{30, 40});
  ASSERT_NE(AtChild, nullptr);
  EXPECT_EQ(AtChild->TouchWindow(), nullptr);  // windowless
  EXPECT_EQ(AtChild->TouchParent(), Found);
  EXPECT_EQ(Services.ChildControlAt(Found, TPoint{150, 120}), nullptr);
  // The settings are read live from the control.
  Child->Touch()->SetInteractiveGestures(TInteractiveGestures{igRotate});
  EXPECT_TRUE(AtChild->HandlesGesture(igRotate));
  EXPECT_FALSE(AtChild->HandlesGesture(igPan));
  EXPECT_TRUE(AtChild->PassesGesturesToParent());
  Child->Touch()->SetInteractiveGestureOptions(TInteractiveGestureOptions{igoPanInertia});
  EXPECT_FALSE(AtChild->PassesGesturesToParent());
}

TEST_F(ControlTouch, AGestureReachesTheControlUnderThePoint) {
  const TInteractiveGestureOptions Keeps{igoPanInertia};
  const TInteractiveGestureOptions PassesOn = TTouchSettings::FrameworkDefaultOptions();
  struct {
    const char* Label;
    TPoint Start;
    TInteractiveGestures ChildGestures;
    TInteractiveGestureOptions ChildOptions;
    bool ChildHandles;
    bool ChildReceives, ControlReceives;
    LRESULT Result;
  } const Rows[] = {
      {"on the control, beside the child", {150, 120}, {}, PassesOn, true, false, true, 1},
      {"on a child that pans",
       {30, 40},
       TInteractiveGestures{igPan},
       PassesOn,
       true,
       true,
       false,
       1},
      {"on a child that pans but leaves it unhandled",
       {30, 40},
       TInteractiveGestures{igPan},
       PassesOn,
       false,
       true,
       false,
       0},
      {"on a child that passes it on",
       {30, 40},
       TInteractiveGestures{igZoom},
       PassesOn,
       true,
       false,
       true,
       1},
      {"on a child that keeps it", {30, 40}, {}, Keeps, true, true, false, 1},
  };
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Label);
    Child->Touch()->SetInteractiveGestures(Row.ChildGestures);
    Child->Touch()->SetInteractiveGestureOptions(Row.ChildOptions);
    Child->Handles = Row.ChildHandles;
    Child->Log = {};
    Control->Log = {};
    TouchStart(Row.Start);
    EXPECT_EQ(SendGesture(GID_PAN, GF_BEGIN, Row.Start), Row.Result);
    EXPECT_EQ(SendGesture(GID_PAN, GF_END, Point(Row.Start.x, Row.Start.y + 5)), Row.Result);
    const std::vector<Integer> Pans{gcPanEvent, gcPanEvent};
    EXPECT_EQ(Child->Log.Ids, Row.ChildReceives ? Pans : std::vector<Integer>{});
    EXPECT_EQ(Control->Log.Ids, Row.ControlReceives ? Pans : std::vector<Integer>{});
    // Each receiver sees the point in its own client coordinates.
    if (Row.ChildReceives)
      EXPECT_EQ(Child->Log.LastLocation, Point(Row.Start.x - 20, Row.Start.y + 5 - 30));
    if (Row.ControlReceives)
      EXPECT_EQ(Control->Log.LastLocation, Point(Row.Start.x, Row.Start.y + 5));
    EXPECT_TRUE(GestureInfos.empty()) << "every gesture handle is closed";
  }
}

TEST_F(ControlTouch, AChildFreedDuringAGestureHearsNoMoreOfIt) {
  Child->Touch()->SetInteractiveGestures(TInteractiveGestures{igPan});
  TouchStart(TPoint{30, 40});
  EXPECT_EQ(SendGesture(GID_PAN, GF_BEGIN, TPoint{30, 40}), 1);
  ASSERT_EQ(Child->Log.Ids.size(), 1u);
  FreeAndNil(Child);
  // The rest of the gesture goes to default handling, not to freed memory.
  EXPECT_EQ(SendGesture(GID_PAN, 0, TPoint{30, 50}), 0);
  EXPECT_EQ(SendGesture(GID_PAN, GF_END, TPoint{30, 60}), 0);
  EXPECT_TRUE(Control->Log.Ids.empty());
  // A new touch on the same spot now reaches the control.
  TouchStart(TPoint{30, 40});
  EXPECT_EQ(SendGesture(GID_PAN, GF_BEGIN, TPoint{30, 40}), 1);
  EXPECT_EQ(Control->Log.Ids, std::vector<Integer>{gcPanEvent});
}

// The wanted flags of each gesture the window configured, in the order pan,
// zoom, rotate, two-finger tap, press and tap; every other flag is blocked.
std::vector<DWORD> WantedGestures(HWND AWnd) {
  std::vector<DWORD> Wanted;
  for (const TdxGestureConfig& C : GestureConfigs[AWnd]) {
    const DWORD All = C.dwID == GID_PAN ? 0x1F : 1;
    EXPECT_EQ(C.dwBlock, All & ~C.dwWant) << C.dwID;
    Wanted.push_back(C.dwWant);
  }
  return Wanted;
}

TEST_F(ControlTouch, ATouchConfiguresTheWindowForTheGesturesOfTheControlUnderIt) {
  constexpr DWORD PanV =
      GC_PAN | GC_PAN_WITH_SINGLE_FINGER_VERTICALLY | GC_PAN_WITH_GUTTER | GC_PAN_WITH_INERTIA;
  constexpr DWORD PanH =
      GC_PAN | GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY | GC_PAN_WITH_GUTTER | GC_PAN_WITH_INERTIA;
  const TInteractiveGestures Default{igPan, igPressAndTap};
  const TInteractiveGestureOptions PassesOn = TTouchSettings::FrameworkDefaultOptions();
  enum TWhere { Beside, OnChild, OnBar };
  struct {
    const char* Label;
    TSize Content;
    TInteractiveGestures ControlGestures;
    TWhere Where;
    TInteractiveGestures ChildGestures;
    TInteractiveGestureOptions ChildOptions;
    std::vector<DWORD> Wanted;
  } const Rows[] = {
      // The wheel scrolls vertically: with both bars a pan goes up and down.
      {"content larger both ways", {600, 500}, Default, Beside, {}, PassesOn, {PanV, 0, 0, 0, 1}},
      {"content only wider", {600, 50}, Default, Beside, {}, PassesOn, {PanH, 0, 0, 0, 1}},
      {"content fits: nothing to pan", {50, 50}, Default, Beside, {}, PassesOn, {0, 0, 0, 0, 1}},
      {"pan turned off", {600, 500}, {igPressAndTap}, Beside, {}, PassesOn, {0, 0, 0, 0, 1}},
      {"on a scroll bar", {600, 500}, Default, OnBar, {}, PassesOn, {0, 0, 0, 0, 1}},
      {"a child that zooms and passes on",
       {600, 500},
       Default,
       OnChild,
       TInteractiveGestures{igZoom},
       PassesOn,
       {PanV, 1, 0, 0, 1}},
      {"a child that keeps its gestures",
       {600, 500},
       Default,
       OnChild,
       TInteractiveGestures{igRotate},
       TInteractiveGestureOptions{igoPanInertia},
       {0, 0, 1, 0, 0}},
  };
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Label);
    Control->Content = Row.Content;
    Control->Touch()->SetInteractiveGestures(Row.ControlGestures);
    Control->UpdateScrollBars();
    Child->Touch()->SetInteractiveGestures(Row.ChildGestures);
    Child->Touch()->SetInteractiveGestureOptions(Row.ChildOptions);
    const TRect Client = Control->GetClientBounds();
    const TPoint Start = Row.Where == OnChild ? TPoint{30, 40}
                         : Row.Where == OnBar ? TPoint{Client.right + 2, Client.top + 20}
                                              : TPoint{150, 100};
    ASSERT_TRUE(Row.Where == OnBar ||
                Control->ControlAtPos(Start, true) == (Row.Where == OnChild ? Child : nullptr));
    GestureConfigs.clear();
    TouchStart(Start);
    EXPECT_EQ(WantedGestures(Control->Handle()), Row.Wanted);
  }
}

TEST_F(ControlTouch, APanScrollsContentLargerThanTheClient) {
  Control->Content = TSize{600, 500};
  Control->UpdateScrollBars();
  ASSERT_TRUE(Control->IsScrollBarActive(sbVertical));
  TouchStart(TPoint{150, 100});
  EXPECT_EQ(SendGesture(GID_PAN, GF_BEGIN, TPoint{150, 100}), 1);
  EXPECT_EQ(SendGesture(GID_PAN, 0, TPoint{150, 40}), 1);
  EXPECT_EQ(Control->Pos, Point(0, 60));
  EXPECT_EQ(Control->GetScrollBar(sbVertical)->GetPosition(), 60);
  // Past the end the content stops at its last page.
  EXPECT_EQ(SendGesture(GID_PAN, GF_END, TPoint{150, -900}), 1);
  const Integer LastPage = 500 - cxRectHeight(Control->GetClientBounds());
  EXPECT_EQ(Control->Pos, Point(0, LastPage));
  EXPECT_EQ(Control->GetScrollBar(sbVertical)->GetPosition(), LastPage);
  EXPECT_TRUE(GestureInfos.empty()) << "every gesture handle is closed";
}

// A list inside a container that mirrors its bars in the touch mode: a touch
// on the list is configured with the container's touch settings, and a pan
// holds the container's touch bars shown until it ends.
class TTouchBarsContainer : public TcxContainer {
  DECLARE_CLASS_INLINE(TTouchBarsContainer, TcxContainer)
 public:
  using TcxContainer::TcxContainer;
  bool NeedsScrollBars() override { return true; }
  // Touch and hybrid bars when the look and feel asks for them.
  bool AllowTouchScrollUIMode() override { return true; }
};

class InnerListTouch : public testing::Test {
 protected:
  void SetUp() override {
    Form.reset(CreateForm(320, 240));
    Box = Create<TTouchBarsContainer>(Form.get());
    Box->SetBounds(10, 10, 200, 150);
    Box->SetParent(Form.get());
    List = Create<TcxCustomInnerListBox>(Form.get());
    List->SetContainer(Box);
    List->SetParent(Box);
    Box->SetInnerControl(List);
    for (int I = 0; I < 30; ++I) List->Items()->Add(L"item " + std::to_wstring(I));
    Box->GetStyle()->GetLookAndFeel()->SetScrollbarMode(sbmTouch);
    Form->Show();
    ProcessMessages();
  }
  void TearDown() override { Form.reset(); }
  TPoint OnList() { return List->ClientToScreen(TPoint{20, 20}); }

  TFakeTouchPlatform Platform;
  TOwned<TCustomForm> Form;
  TTouchBarsContainer* Box = nullptr;
  TcxCustomInnerListBox* List = nullptr;
};

TEST_F(InnerListTouch, ATouchOnTheListTakesTheContainersGestures) {
  constexpr DWORD PanV =
      GC_PAN | GC_PAN_WITH_SINGLE_FINGER_VERTICALLY | GC_PAN_WITH_GUTTER | GC_PAN_WITH_INERTIA;
  // The list's own settings differ from both rows: they must not count.
  List->Touch()->SetInteractiveGestures(TInteractiveGestures{igRotate});
  List->Touch()->SetInteractiveGestureOptions(TInteractiveGestureOptions{igoPanInertia});
  const struct {
    const char* Label;
    TInteractiveGestures Gestures;
    TInteractiveGestureOptions Options;
    std::vector<DWORD> Wanted;
  } Rows[] = {
      {"vertical pan",
       TInteractiveGestures{igPan},
       TInteractiveGestureOptions{igoPanSingleFingerVertical, igoPanInertia, igoPanGutter},
       {PanV, 0, 0, 0, 0}},
      {"zoom and press-and-tap", TInteractiveGestures{igZoom, igPressAndTap}, {}, {0, 1, 0, 0, 1}},
  };
  for (const auto& Row : Rows) {
    SCOPED_TRACE(Row.Label);
    Box->Touch()->SetInteractiveGestures(Row.Gestures);
    Box->Touch()->SetInteractiveGestureOptions(Row.Options);
    GestureConfigs.clear();
    TouchStartAt(List->Handle(), OnList());
    EXPECT_EQ(WantedGestures(List->Handle()), Row.Wanted);
  }
}

// The gesture as the library's gesture helper hands it to the control under
// the finger (CM_GESTURE): a pan holds the container's touch bars until its
// end; the list never reports a gesture handled, and other gestures show
// nothing.
TEST_F(InnerListTouch, APanOnTheListHoldsTheContainersTouchBarsUntilItEnds) {
  ASSERT_EQ(Box->GetScrollbarMode(), sbmTouch);
  ASSERT_TRUE(Box->IsTouchScrollUIHidden(Box));
  auto Gesture = [&](Integer AId, TInteractiveGestureFlags AFlags) {
    TGestureEventInfo AInfo;
    AInfo.GestureID = AId;
    AInfo.Flags = AFlags;
    AInfo.Location = TPoint{20, 20};
    return List->Perform(CM_GESTURE, 0, reinterpret_cast<LPARAM>(&AInfo));
  };
  EXPECT_EQ(Gesture(gcZoomEvent, TInteractiveGestureFlags{gfBegin}), 0);
  EXPECT_TRUE(Box->IsTouchScrollUIHidden(Box)) << "only a pan shows the bars";
  // The pan starts while the bars show: setting the bars up the first time
  // cancels their mode, which lets go of any hold.
  Box->ContainerShowTouchScrollUI(true);
  EXPECT_EQ(Gesture(gcPanEvent, TInteractiveGestureFlags{gfBegin}), 0);
  EXPECT_EQ(TdxTouchScrollUIModeManager::ActiveScrollUIOwner(), Box);
  EXPECT_FALSE(Box->IsTouchScrollUIHidden(Box));
  EXPECT_EQ(TdxTouchScrollUIModeManager::HidingLockCount(), 1) << "held while panning";
  EXPECT_EQ(Gesture(gcPanEvent, TInteractiveGestureFlags{}), 0);
  EXPECT_EQ(TdxTouchScrollUIModeManager::HidingLockCount(), 1);
  EXPECT_EQ(Gesture(gcPanEvent, TInteractiveGestureFlags{gfEnd}), 0);
  EXPECT_EQ(TdxTouchScrollUIModeManager::HidingLockCount(), 0) << "the end lets go";
  EXPECT_FALSE(Box->IsTouchScrollUIHidden(Box)) << "until the timer";
  TdxTouchScrollUIModeManager::HidingTimerTick();
  EXPECT_TRUE(Box->IsTouchScrollUIHidden(Box));
}

}  // namespace
