// The bars of the touch and hybrid modes and the managers that show them:
// the touch manager's owner, locks and hiding timer, the hybrid manager's
// fading, expanding and collapsing (their timers and transitions stepped by
// the tests, never waited for), the layered popup windows the bars live in
// (never activated, stacked over their form, clicks and drags reaching the
// control) and the pixels of their layers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "Forms.h"
#include "cxControls.h"
#include "dxAnimation.h"

using ControlsTest::CursorAt;
using ControlsTest::PumpUntil;
using ControlsTest::PumpWithoutTimers;
using ControlsTest::SendMouse;

namespace {

// Content of a fixed size in pixels, scrolled by position; both popup modes
// allowed.
class TScrollUIControl : public TcxControl {
  DECLARE_CLASS(TScrollUIControl, TcxControl)
 public:
  using TcxControl::GetHScrollBarBounds;
  using TcxControl::GetManager;
  using TcxControl::GetVScrollBarBounds;
  using TcxControl::ShowTouchScrollUI;
  using TcxControl::TcxControl;
  using TcxControl::UpdateScrollBars;

  TSize Content{600, 500};
  TPoint Pos{0, 0};
  std::vector<TScrollCode> VScrollCodes;

 protected:
  bool AllowTouchScrollUIMode() override { return true; }
  bool AllowHybridScrollbarMode() override { return true; }
  void InitScrollBarsParameters() override {
    TRect R = GetClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, Content.cx - 1, 1, cxRectWidth(R), Pos.x, true, true);
    SetScrollBarInfo(sbVertical, 0, Content.cy - 1, 1, cxRectHeight(R), Pos.y, true, true);
  }
  void Scroll(TScrollBarKind AKind, TScrollCode ACode, Integer& APos) override {
    if (AKind == sbVertical) VScrollCodes.push_back(ACode);
    if (ACode == scTrack || ACode == scPosition) (AKind == sbHorizontal ? Pos.x : Pos.y) = APos;
    UpdateScrollBars();
  }
};
IMPLEMENT_CREATABLE_CLASS(TScrollUIControl)

TcxControlPopupScrollBar* PopupBar(TcxControl* AControl, TScrollBarKind AKind) {
  return AsOrNull<TcxControlPopupScrollBar>(AKind == sbHorizontal
                                                ? AControl->MainScrollBars()->HScrollBar()
                                                : AControl->MainScrollBars()->VScrollBar());
}

bool BarShown(TcxControl* AControl, TScrollBarKind AKind) {
  TcxControlPopupScrollBar* Bar = PopupBar(AControl, AKind);
  return Bar && Bar->HandleAllocated() && IsWindowVisible(Bar->Handle());
}

void StepTo(TdxAnimationTransition* A, Integer APosition) {
  ASSERT_NE(A, nullptr);
  ControlsTest::StepAnimationTransition(A, APosition);
}
void FinishTransition(TdxAnimationTransition* A) {
  ASSERT_NE(A, nullptr);
  ControlsTest::FinishAnimationTransition(A);
}

// One pixel of a layer, rows top first, with the colour taken back out of
// its premultiplied form.
struct TLayerPixel {
  int R, G, B, A;
};
TLayerPixel LayerPixel(TcxBitmap32* ALayer, Integer X, Integer Y) {
  TRGBColors Colors;
  ALayer->GetBitmapColors(Colors);
  const RGBQUAD Q = Colors[static_cast<size_t>(ALayer->Height() - 1 - Y) * ALayer->Width() + X];
  auto Unmultiply = [&](int C) { return Q.rgbReserved ? C * 255 / Q.rgbReserved : 0; };
  return TLayerPixel{Unmultiply(Q.rgbRed), Unmultiply(Q.rgbGreen), Unmultiply(Q.rgbBlue),
                     Q.rgbReserved};
}

// The alpha of a fill of AAlpha over one of ABelow.
int Over(int AAlpha, int ABelow) { return AAlpha + ABelow * (255 - AAlpha) / 255; }

class ScrollUI : public ::testing::Test {
 protected:
  void SetUp() override { Form.reset(ControlsTest::CreateForm(400, 300)); }
  void TearDown() override {
    Form.reset();
    EXPECT_EQ(TdxTouchScrollUIModeManager::ActiveScrollUIOwner(), nullptr)
        << "a freed control stays the touch owner";
    EXPECT_EQ(TdxHybridScrollbarManagers::Count(), 0);
  }
  TScrollUIControl* MakeControl(const TRect& ABounds, TdxScrollbarMode AMode) {
    auto* Control = Create<TScrollUIControl>(Form.get());
    Control->LookAndFeel()->SetNativeStyle(false);
    Control->LookAndFeel()->SetKind(lfUltraFlat);
    Control->SetBoundsRect(ABounds);
    Control->SetParent(Form.get());
    Control->HandleNeeded();
    Control->LookAndFeel()->SetScrollbarMode(AMode);
    Control->UpdateScrollBars();
    PumpWithoutTimers();
    return Control;
  }
  TOwned<TCustomForm> Form;
};

// ---------------------------------------------------------------------------
// Touch mode

TEST_F(ScrollUI, ATouchUIShownByTheTimerHidesAtItsTickAndOneShownWithoutStays) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmTouch);
  ASSERT_EQ(Control->GetScrollbarMode(), sbmTouch);
  EXPECT_FALSE(BarShown(Control, sbVertical)) << "nothing shows before any activity";

  Control->ShowTouchScrollUI(Control, true);
  EXPECT_TRUE(BarShown(Control, sbVertical));
  EXPECT_TRUE(BarShown(Control, sbHorizontal));
  EXPECT_EQ(TdxTouchScrollUIModeManager::HidingLockCount(), 0);
  ASSERT_NE(TdxTouchScrollUIModeManager::HidingTimer(), nullptr);
  EXPECT_TRUE(TdxTouchScrollUIModeManager::HidingTimer()->Enabled());
  EXPECT_EQ(TdxTouchScrollUIModeManager::HidingTimer()->Interval(), 1000u);
  TdxTouchScrollUIModeManager::HidingTimerTick();
  EXPECT_FALSE(BarShown(Control, sbVertical));
  EXPECT_TRUE(Control->IsTouchScrollUIHidden(Control));

  Control->ShowTouchScrollUI(Control, false);
  EXPECT_TRUE(BarShown(Control, sbVertical));
  EXPECT_FALSE(TdxTouchScrollUIModeManager::HidingTimer()->Enabled()) << "held until hidden";
  EXPECT_EQ(TdxTouchScrollUIModeManager::HidingLockCount(), 1);
  Control->HideTouchScrollUI(Control, false);
  EXPECT_TRUE(TdxTouchScrollUIModeManager::HidingTimer()->Enabled()) << "the lock went";
  EXPECT_TRUE(BarShown(Control, sbVertical)) << "until the tick";
  Control->HideTouchScrollUI(Control, true);
  EXPECT_FALSE(BarShown(Control, sbVertical));
}

TEST_F(ScrollUI, ASecondControlsTouchUIHidesTheFirstAtOnceUnlessTheFirstHoldsTheButton) {
  TScrollUIControl* First = MakeControl(Bounds(10, 10, 180, 150), sbmTouch);
  TScrollUIControl* Second = MakeControl(Bounds(200, 10, 180, 150), sbmTouch);
  First->ShowTouchScrollUI(First, true);
  ASSERT_TRUE(BarShown(First, sbVertical));
  Second->ShowTouchScrollUI(Second, true);
  EXPECT_FALSE(BarShown(First, sbVertical));
  EXPECT_TRUE(BarShown(Second, sbVertical));
  EXPECT_EQ(TdxTouchScrollUIModeManager::ActiveScrollUIOwner(), Second);

  // The left button goes down on a bar of the second control: the first may
  // not take the UI over until it comes up.
  TcxControlPopupScrollBar* Bar = PopupBar(Second, sbVertical);
  Bar->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 80));
  EXPECT_TRUE(TdxTouchScrollUIModeManager::IsOwnerLocked());
  First->ShowTouchScrollUI(First, true);
  EXPECT_EQ(TdxTouchScrollUIModeManager::ActiveScrollUIOwner(), Second);
  EXPECT_FALSE(BarShown(First, sbVertical));
  Bar->Perform(WM_LBUTTONUP, 0, MAKELPARAM(5, 80));
  EXPECT_FALSE(TdxTouchScrollUIModeManager::IsOwnerLocked());
  First->ShowTouchScrollUI(First, true);
  EXPECT_EQ(TdxTouchScrollUIModeManager::ActiveScrollUIOwner(), First);
  EXPECT_TRUE(BarShown(First, sbVertical));
  EXPECT_FALSE(BarShown(Second, sbVertical));
}

TEST_F(ScrollUI, HidingTheControlsFormHidesItsTouchBarsAndAFreedControlIsForgotten) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmTouch);
  Control->ShowTouchScrollUI(Control, false);
  ASSERT_TRUE(BarShown(Control, sbVertical));
  ShowWindow(Form->Handle(), SW_HIDE);
  EXPECT_FALSE(BarShown(Control, sbVertical)) << "the window hook re-checked the UI";
  EXPECT_TRUE(Control->IsTouchScrollUIHidden(Control));
  ShowWindow(Form->Handle(), SW_SHOWNA);
  Control->ShowTouchScrollUI(Control, false);
  ASSERT_EQ(TdxTouchScrollUIModeManager::ActiveScrollUIOwner(), Control);
  Control->Free();
  EXPECT_EQ(TdxTouchScrollUIModeManager::ActiveScrollUIOwner(), nullptr);
}

// What a touch bar's own messages do to the UI it belongs to.
TEST_F(ScrollUI, ATouchBarsMessagesShowOrHideItsUI) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmTouch);
  TcxControlPopupScrollBar* Bar = PopupBar(Control, sbVertical);
  struct TCase {
    const char* Name;
    bool ShownHeld;  // before: shown and held by one lock
    UINT Msg;
    WPARAM WParam;
    bool Shown;
    Integer Locks;
    bool TimerRuns;
  };
  const TCase Cases[] = {
      {"another application activated", true, WM_ACTIVATEAPP, 0, false, 0, false},
      {"this application activated", true, WM_ACTIVATEAPP, 1, true, 1, false},
      {"mode cancelled", true, WM_CANCELMODE, 0, true, 0, true},
      {"capture lost", true, WM_CAPTURECHANGED, 0, true, 0, true},
      {"double click", false, WM_LBUTTONDBLCLK, 0, true, 0, true},
      {"wheel", false, WM_MOUSEWHEEL, 0, true, 0, true},
      {"right button", false, WM_RBUTTONDOWN, 0, true, 0, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Control->HideTouchScrollUI(Control, true);
    if (C.ShownHeld) Control->ShowTouchScrollUI(Control, false);
    Bar->Perform(C.Msg, C.WParam, MAKELPARAM(5, 5));
    EXPECT_EQ(BarShown(Control, sbVertical), C.Shown);
    EXPECT_EQ(TdxTouchScrollUIModeManager::HidingLockCount(), C.Locks);
    TcxTimer* Timer = TdxTouchScrollUIModeManager::HidingTimer();
    EXPECT_EQ(Timer && Timer->Enabled(), C.TimerRuns);
  }
  // Moves over the bar: 9 pixels do not count, 10 do.
  Control->HideTouchScrollUI(Control, true);
  Bar->Perform(CM_MOUSELEAVE, 0, 0);
  Bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(5, 40));
  Bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(5, 49));
  EXPECT_FALSE(BarShown(Control, sbVertical)) << "9 pixels";
  Bar->Perform(WM_MOUSEMOVE, 0, MAKELPARAM(5, 50));
  EXPECT_TRUE(BarShown(Control, sbVertical)) << "10 pixels";
}

// Scroll activity: moves over the content count from 10 pixels on; moves in
// the thin strip where hybrid bars wait count at once.
TEST_F(ScrollUI, OnlyRealMovesOrMovesNearTheEdgeCountAsScrollActivity) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmHybrid);
  struct TCase {
    const char* Name;
    TPoint From, To;
    bool Activity;
  };
  const TCase Cases[] = {
      {"9 pixels across", {50, 50}, {59, 50}, false},
      {"10 pixels across", {50, 50}, {60, 50}, true},
      {"9 pixels down and across", {50, 50}, {41, 59}, false},
      {"10 pixels up", {50, 50}, {50, 40}, true},
      {"into the vertical bar's thin strip", {150, 50}, {197, 52}, true},
      {"into the horizontal bar's thin strip", {50, 120}, {52, 147}, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TdxTouchScrollUIActivityHelper Helper;
    TMessage Leave{CM_MOUSELEAVE, 0, 0, 0};
    Helper.CheckScrollActivity(Control, Leave);
    TMessage First{WM_MOUSEMOVE, 0, MAKELPARAM(C.From.x, C.From.y), 0};
    EXPECT_FALSE(Helper.CheckScrollActivity(Control, First)) << "the first move records";
    TMessage Second{WM_MOUSEMOVE, 0, MAKELPARAM(C.To.x, C.To.y), 0};
    EXPECT_EQ(Helper.CheckScrollActivity(Control, Second), C.Activity);
  }
}

// ---------------------------------------------------------------------------
// Hybrid mode

TEST_F(ScrollUI, AHybridFadeTakesItsShareOfASecondAndTheBarsHideAfterTheTimer) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmHybrid);
  TdxHybridScrollbarsManager* M = Control->GetManager();
  ASSERT_NE(M, nullptr);
  Control->ShowTouchScrollUI(Control, true);
  EXPECT_TRUE(M->AllowVisible());
  EXPECT_TRUE(BarShown(Control, sbVertical));
  EXPECT_TRUE(TdxHybridScrollbarManagers::IsActive(M));
  ASSERT_EQ(M->FadingState(), fstShowing);
  EXPECT_EQ(M->FadingAnimation()->Time(), 1000u) << "from fully transparent";
  StepTo(M->FadingAnimation(), 128);
  EXPECT_EQ(M->FadingValue(), 128);
  EXPECT_EQ(PopupBar(Control, sbVertical)->Alpha(), 128) << "the bars follow each step";
  // A new fade from there covers the rest: 127 / 255 of a second.
  Control->HideTouchScrollUI(Control, true);
  EXPECT_FALSE(BarShown(Control, sbVertical));
  EXPECT_EQ(M->FadingValue(), 0);
  Control->ShowTouchScrollUI(Control, true);
  StepTo(M->FadingAnimation(), 128);
  Control->ShowTouchScrollUI(Control, true);
  ASSERT_EQ(M->FadingState(), fstShowing);
  EXPECT_EQ(M->FadingAnimation()->Time(), 498u);
  FinishTransition(M->FadingAnimation());
  EXPECT_EQ(M->FadingValue(), 255);
  ASSERT_NE(M->HidingTimer(), nullptr);
  EXPECT_TRUE(M->HidingTimer()->Enabled());
  EXPECT_EQ(M->HidingTimer()->Interval(), 1000u);

  M->HidingTimerHandler(nullptr);
  ASSERT_EQ(M->FadingState(), fstHiding);
  EXPECT_EQ(M->FadingAnimation()->Time(), 1000u);
  StepTo(M->FadingAnimation(), 55);
  EXPECT_EQ(M->FadingValue(), 200);
  FinishTransition(M->FadingAnimation());
  EXPECT_FALSE(M->AllowVisible());
  EXPECT_FALSE(BarShown(Control, sbVertical));
  EXPECT_EQ(TdxHybridScrollbarManagers::Count(), 0);
}

TEST_F(ScrollUI, AHybridBarExpandsUnderThePointerAndCollapsesHalfASecondAfterItLeft) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmHybrid);
  TdxHybridScrollbarsManager* M = Control->GetManager();
  TcxControlPopupScrollBar* V = PopupBar(Control, sbVertical);
  TcxControlPopupScrollBar* H = PopupBar(Control, sbHorizontal);
  Control->ShowTouchScrollUI(Control, true);
  FinishTransition(M->FadingAnimation());

  M->Expand(V);
  EXPECT_TRUE(M->IsActive(V));
  EXPECT_EQ(M->HidingLockCount(), 1) << "the bars stay while the pointer is over one";
  EXPECT_FALSE(M->HidingTimer()->Enabled());
  ASSERT_EQ(M->ExpandState(), estExpanding);
  EXPECT_EQ(M->SizeAnimation()->Time(), 100u) << "a full expansion";
  StepTo(M->SizeAnimation(), 50);
  EXPECT_EQ(V->VisibleSize(),
            V->GetMinVisibleSize() + (V->GetMaxVisibleSize() - V->GetMinVisibleSize()) / 2);
  FinishTransition(M->SizeAnimation());
  EXPECT_EQ(M->VisibleSize(), 100);
  EXPECT_EQ(V->VisibleSize(), V->GetMaxVisibleSize());
  EXPECT_EQ(M->CollapsingTimer(), nullptr) << "the pointer is still there";

  M->Collapse();
  ASSERT_NE(M->CollapsingTimer(), nullptr);
  EXPECT_EQ(M->CollapsingTimer()->Interval(), 500u);
  // Over to the other bar before the collapse: the expansion moves, the
  // bars stay.
  M->Expand(H);
  EXPECT_TRUE(M->IsActive(H));
  EXPECT_FALSE(M->IsActive(V));
  EXPECT_TRUE(M->AllowVisible());
  EXPECT_EQ(M->HidingLockCount(), 1);
  FinishTransition(M->SizeAnimation());
  M->Collapse();
  M->CollapsingTimerHandler(nullptr);
  ASSERT_EQ(M->ExpandState(), estCollapsing);
  EXPECT_EQ(M->SizeAnimation()->Time(), 100u);
  FinishTransition(M->SizeAnimation());
  EXPECT_EQ(M->VisibleSize(), 0);
  EXPECT_EQ(M->AnimateObject(), nullptr);
  EXPECT_EQ(M->HidingLockCount(), 0);
  EXPECT_TRUE(M->HidingTimer()->Enabled()) << "then the bars wait to hide";
  EXPECT_TRUE(BarShown(Control, sbVertical));
}

TEST_F(ScrollUI, ActivatingOneControlsHybridBarsFadesOutTheOthers) {
  TScrollUIControl* First = MakeControl(Bounds(10, 10, 180, 150), sbmHybrid);
  TScrollUIControl* Second = MakeControl(Bounds(200, 10, 180, 150), sbmHybrid);
  TdxHybridScrollbarsManager* M1 = First->GetManager();
  TdxHybridScrollbarsManager* M2 = Second->GetManager();
  First->ShowTouchScrollUI(First, true);
  FinishTransition(M1->FadingAnimation());
  ASSERT_TRUE(M1->HidingTimer()->Enabled());
  Second->ShowTouchScrollUI(Second, true);
  EXPECT_TRUE(TdxHybridScrollbarManagers::IsActive(M2));
  EXPECT_FALSE(TdxHybridScrollbarManagers::IsActive(M1));
  EXPECT_TRUE(M1->IsDeactivating());
  EXPECT_EQ(M1->FadingState(), fstHiding) << "the waiting bars fade out at once";
  FinishTransition(M1->FadingAnimation());
  EXPECT_FALSE(BarShown(First, sbVertical));
  EXPECT_TRUE(BarShown(Second, sbVertical));
  EXPECT_EQ(TdxHybridScrollbarManagers::Count(), 1);
}

// ---------------------------------------------------------------------------
// The popup windows

TEST_F(ScrollUI, APopupBarIsALayeredWindowOwnedByTheFormThatNeverTakesActivation) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmTouch);
  Control->ShowTouchScrollUI(Control, false);
  TcxControlPopupScrollBar* Bar = PopupBar(Control, sbVertical);
  ASSERT_TRUE(BarShown(Control, sbVertical));
  HWND Wnd = Bar->Handle();
  EXPECT_EQ(GetWindowLongW(Wnd, GWL_STYLE) & (WS_POPUP | WS_CHILD), static_cast<LONG>(WS_POPUP));
  EXPECT_NE(GetWindowLongW(Wnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(GetWindow(Wnd, GW_OWNER), Form->Handle());
  // Over the control's right edge, in screen coordinates.
  RECT R;
  GetWindowRect(Wnd, &R);
  const TPoint ClientRight = Control->ClientToScreen(TPoint{Control->ClientWidth(), 0});
  EXPECT_EQ(R.right, ClientRight.x);
  EXPECT_EQ(R.right - R.left, 16);
  EXPECT_EQ(SendMessageW(Wnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Form->Handle()),
                         MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)),
            MA_NOACTIVATE);
  TcxPopupSizeGrip* Grip = AsOrNull<TcxPopupSizeGrip>(Control->MainScrollBars()->SizeGrip());
  ASSERT_NE(Grip, nullptr);
  EXPECT_EQ(SendMessageW(Grip->Handle(), WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
}

TEST_F(ScrollUI, DraggingATouchBarsThumbScrollsTheControlAndTheFormStaysActive) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmTouch);
  Control->ShowTouchScrollUI(Control, false);
  TcxControlPopupScrollBar* Bar = PopupBar(Control, sbVertical);
  ASSERT_TRUE(BarShown(Control, sbVertical));
  const TRect Thumb = Bar->Helper()->ViewInfo()->ThumbnailBounds();
  ASSERT_FALSE(cxRectIsEmpty(Thumb));
  const TPoint Start =
      Bar->ClientToScreen(TPoint{(Thumb.left + Thumb.right) / 2, (Thumb.top + Thumb.bottom) / 2});
  SendMouse(MOUSEEVENTF_LEFTDOWN, POINT{Start.x, Start.y});
  EXPECT_TRUE(PumpUntil([&] { return Control->Focused(); })) << "a click focuses the control";
  SendMouse(0, POINT{Start.x, Start.y + 40});
  PumpUntil([&] { return Control->Pos.y > 0; });
  SendMouse(MOUSEEVENTF_LEFTUP, POINT{Start.x, Start.y + 40});
  PumpUntil([&] {
    return !Control->VScrollCodes.empty() && Control->VScrollCodes.back() == scEndScroll;
  });
  EXPECT_GT(Control->Pos.y, 0) << "the thumb dragged the content";
  EXPECT_EQ(GetActiveWindow(), Form->Handle()) << "the bar never took activation";
  EXPECT_EQ(GetForegroundWindow(), Form->Handle());
  EXPECT_TRUE(BarShown(Control, sbVertical));
}

TEST_F(ScrollUI, TheWheelOverAPopupBarScrollsTheControlAsTheControlItselfWould) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmTouch);
  Control->ShowTouchScrollUI(Control, false);
  TcxControlPopupScrollBar* Bar = PopupBar(Control, sbVertical);
  const TPoint At = Bar->ClientToScreen(TPoint{5, 40});
  const WPARAM Down = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
  Control->VScrollCodes.clear();
  Control->Perform(WM_MOUSEWHEEL, Down, MAKELPARAM(At.x, At.y));
  const std::vector<TScrollCode> ByTheControl = Control->VScrollCodes;
  ASSERT_FALSE(ByTheControl.empty());
  Control->VScrollCodes.clear();
  Bar->Perform(WM_MOUSEWHEEL, Down, MAKELPARAM(At.x, At.y));
  EXPECT_EQ(Control->VScrollCodes, ByTheControl) << "the control's handling only, once";
}

TEST_F(ScrollUI, PopupBarsAreTopmostOnATopmostFormAndJustAboveTheirFormOtherwise) {
  for (bool StayOnTop : {false, true}) {
    SCOPED_TRACE(StayOnTop ? "stay-on-top form" : "normal form");
    Form.reset(ControlsTest::CreateForm(400, 300));
    if (StayOnTop) {
      Form->SetFormStyle(fsStayOnTop);
      Form->RecreateWnd();
      Form->HandleNeeded();
    }
    ASSERT_EQ((GetWindowLongW(Form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, StayOnTop);
    TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmTouch);
    Control->ShowTouchScrollUI(Control, false);
    HWND Wnd = PopupBar(Control, sbVertical)->Handle();
    EXPECT_EQ((GetWindowLongW(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0, StayOnTop);
    // The form's window lies below the bar.
    bool FormBelow = false;
    for (HWND W = GetWindow(Wnd, GW_HWNDNEXT); W; W = GetWindow(W, GW_HWNDNEXT))
      if (W == Form->Handle()) FormBelow = true;
    EXPECT_TRUE(FormBelow);
  }
}

TEST_F(ScrollUI, TheHybridBarUnderThePointerExpandsAndCollapsesWhenThePointerLeaves) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmHybrid);
  TdxHybridScrollbarsManager* M = Control->GetManager();
  TcxControlPopupScrollBar* Bar = PopupBar(Control, sbVertical);
  // A real move into the thin strip at the control's right edge shows the
  // bars; then the pointer rests on the vertical bar.
  const TPoint Edge = Control->ClientToScreen(TPoint{Control->ClientWidth() - 2, 60});
  const TPoint Inside = Control->ClientToScreen(TPoint{40, 60});
  SendMouse(0, POINT{Inside.x, Inside.y});
  PumpUntil([&] { return CursorAt(POINT{Inside.x, Inside.y}); });
  SendMouse(0, POINT{Edge.x, Edge.y});
  ASSERT_TRUE(PumpUntil([&] { return M->IsActive(Bar); })) << "the bar under the pointer";
  EXPECT_TRUE(BarShown(Control, sbVertical));
  EXPECT_TRUE(Bar->MouseEntered());
  FinishTransition(M->FadingAnimation());
  FinishTransition(M->SizeAnimation());
  EXPECT_EQ(Bar->VisibleSize(), Bar->GetMaxVisibleSize());
  SendMouse(0, POINT{Inside.x, Inside.y});
  ASSERT_TRUE(PumpUntil([&] { return !Bar->MouseEntered(); }));
  ASSERT_NE(M->CollapsingTimer(), nullptr) << "the collapse waits half a second";
  M->CollapsingTimerHandler(nullptr);
  FinishTransition(M->SizeAnimation());
  EXPECT_EQ(Bar->VisibleSize(), Bar->GetMinVisibleSize());
  EXPECT_FALSE(M->IsActive(Bar));
}

TEST_F(ScrollUI, MovingTheFormTakesTheBarsAlongAndACoveredPartIsLeftOut) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmTouch);
  Control->ShowTouchScrollUI(Control, false);
  TcxControlPopupScrollBar* Bar = PopupBar(Control, sbVertical);
  auto BarOffset = [&] {
    RECT R;
    GetWindowRect(Bar->Handle(), &R);
    const TPoint Origin = Control->ClientToScreen(TPoint{0, 0});
    return TPoint{R.left - Origin.x, R.top - Origin.y};
  };
  const TPoint Before = BarOffset();
  Form->SetBounds(Form->Left() + 30, Form->Top() + 20, Form->Width(), Form->Height());
  PumpWithoutTimers();
  EXPECT_EQ(BarOffset().x, Before.x) << "the window hook re-placed the bar";
  EXPECT_EQ(BarOffset().y, Before.y);

  // A sibling over the lower half of the control: that part of the bar is
  // not drawn, and the grip there shrinks to nothing.
  auto* Cover = Create<TScrollUIControl>(Form.get());
  Cover->SetBoundsRect(Bounds(0, 90, 300, 100));
  Cover->SetParent(Form.get());
  Cover->HandleNeeded();
  Cover->BringToFront();
  Control->UpdateScrollBars();
  auto* Core = As<TcxCustomPopupScrollBarHelper>(Bar->Helper());
  TOwned<TcxBitmap32> Layer(Core->CreateLayer());
  EXPECT_GT(LayerPixel(Layer.get(), 8, 20).A, 0) << "uncovered";
  EXPECT_EQ(LayerPixel(Layer.get(), 8, 120).A, 0) << "covered by the sibling";
  auto* Grip = AsOrNull<TcxPopupSizeGrip>(Control->MainScrollBars()->SizeGrip());
  ASSERT_NE(Grip, nullptr);
  EXPECT_TRUE(cxRectIsEmpty(Grip->BoundsRect()));
}

// ---------------------------------------------------------------------------
// The layers' pixels

TEST_F(ScrollUI, ATouchBarIsANearlyInvisibleTrackWithAThirdWideThumbAndNoArrows) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmTouch);
  Control->ShowTouchScrollUI(Control, false);
  TcxControlPopupScrollBar* Bar = PopupBar(Control, sbVertical);
  auto* Core = As<TcxCustomPopupScrollBarHelper>(Bar->Helper());
  TcxScrollBarViewInfo* Info = Core->ViewInfo();
  EXPECT_EQ(Info->ArrowButtonLength(), 0);
  EXPECT_TRUE(cxRectIsEmpty(Info->GetPartInfo(sbpLineUp)->Bounds()));
  const TRect Thumb = Info->ThumbnailBounds();
  ASSERT_EQ(Thumb.top, 0) << "the track starts at the bar's end";
  const Integer MidY = (Thumb.top + Thumb.bottom) / 2;
  struct TCase {
    const char* Name;
    TcxScrollBarPart Hot;
    Integer X, Y;
    int Alpha, Color;
  };
  const TCase Cases[] = {
      {"track, not hot", sbpNone, 8, Thumb.bottom + 20, 1, -1},
      {"track, hot", sbpPageDown, 8, Thumb.bottom + 20, 50, 0xC0},
      {"thumb's side margin", sbpNone, 2, MidY, 1, -1},
      {"thumb inside", sbpNone, 8, MidY, 150, 0x80},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Info->SetHotPart(C.Hot);
    TOwned<TcxBitmap32> Layer(Core->CreateLayer());
    ASSERT_EQ(Layer->Width(), 16);
    TLayerPixel P = LayerPixel(Layer.get(), C.X, C.Y);
    EXPECT_EQ(P.A, C.Alpha);
    if (C.Color >= 0) {
      EXPECT_NEAR(P.R, C.Color, 3);
      EXPECT_NEAR(P.B, C.Color, 3);
    }
  }
  Info->SetHotPart(sbpNone);
}

TEST_F(ScrollUI, AHybridBarIsAThinLineUntilExpandedThenShowsItsTrackThumbAndArrows) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmHybrid);
  Control->SetHybridScrollbarBaseColor(clRed);
  TdxHybridScrollbarsManager* M = Control->GetManager();
  Control->ShowTouchScrollUI(Control, false);
  FinishTransition(M->FadingAnimation());
  TcxControlPopupScrollBar* Bar = PopupBar(Control, sbVertical);
  auto* Core = As<TcxCustomPopupScrollBarHelper>(Bar->Helper());
  TcxScrollBarViewInfo* Info = Core->ViewInfo();
  const TRect Thumb = Info->ThumbnailBounds();
  const Integer MidY = (Thumb.top + Thumb.bottom) / 2;
  const Integer Width = Bar->Width();
  ASSERT_EQ(Width, 16);
  ASSERT_EQ(Bar->GetMinVisibleSize(), 6);

  // Thin: the outer 6 pixels; on the thumb a line 2 pixels wide, 2 pixels
  // from the edge.
  Bar->Invalidate();
  {
    TOwned<TcxBitmap32> Layer(Core->CreateLayer());
    EXPECT_EQ(LayerPixel(Layer.get(), 2, Thumb.bottom + 10).A, 0) << "inner part empty";
    EXPECT_EQ(LayerPixel(Layer.get(), Width - 1, Thumb.bottom + 10).A, 1) << "thin stripe";
    TLayerPixel Line = LayerPixel(Layer.get(), Width - 3, MidY);
    EXPECT_NEAR(Line.A, Over(133, 2), 1);
    EXPECT_NEAR(Line.R, 255, 3);
    EXPECT_NEAR(LayerPixel(Layer.get(), Width - 1, MidY).A, 2, 1) << "outermost third";
    EXPECT_NEAR(LayerPixel(Layer.get(), Width - 5, MidY).A, 2, 1);
    EXPECT_EQ(LayerPixel(Layer.get(), Width - 7, MidY).A, 0) << "beyond the thin width";
  }
  // Expanded: the whole bar, the thumb in the base colour by state, the
  // arrows' parts.
  M->Expand(Bar);
  FinishTransition(M->SizeAnimation());
  EXPECT_EQ(Bar->VisibleSize(), 16);
  struct TCase {
    const char* Name;
    TcxScrollBarPart Hot, Pressed;
    int TrackAlpha, ThumbAlpha;
  };
  const TCase Cases[] = {
      {"normal", sbpNone, sbpNone, 22, 69},
      {"thumb hot", sbpThumbnail, sbpNone, 22, 115},
      {"thumb pressed", sbpThumbnail, sbpThumbnail, 22, 162},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Info->SetHotPart(C.Hot);
    Info->SetPressedPart(C.Pressed);
    TOwned<TcxBitmap32> Layer(Core->CreateLayer());
    EXPECT_EQ(LayerPixel(Layer.get(), 2, Thumb.bottom + 10).A, C.TrackAlpha);
    TLayerPixel ThumbPixel = LayerPixel(Layer.get(), 2, MidY);
    EXPECT_NEAR(ThumbPixel.A, Over(C.ThumbAlpha, C.TrackAlpha), 1);
    EXPECT_NEAR(ThumbPixel.R, 255, 3);
    EXPECT_NEAR(ThumbPixel.G, 0, 3);
  }
  Info->SetHotPart(sbpLineUp);
  Info->SetPressedPart(sbpNone);
  {
    const TRect Up = Info->GetPartInfo(sbpLineUp)->Bounds();
    ASSERT_FALSE(cxRectIsEmpty(Up));
    TOwned<TcxBitmap32> Layer(Core->CreateLayer());
    EXPECT_NEAR(LayerPixel(Layer.get(), Up.left + 1, Up.top + 1).A, Over(45, 22), 1)
        << "hot arrow part";
  }
  Info->SetHotPart(sbpNone);
}

TEST_F(ScrollUI, AHybridBarAtNoSizeAndNoOpacityIsATransparentLayerOfTheThinWidth) {
  TScrollUIControl* Control = MakeControl(Bounds(10, 10, 200, 150), sbmHybrid);
  TdxHybridScrollbarsManager* M = Control->GetManager();
  Control->ShowTouchScrollUI(Control, false);
  TcxControlPopupScrollBar* Bar = PopupBar(Control, sbHorizontal);
  ASSERT_TRUE(BarShown(Control, sbHorizontal));
  ASSERT_EQ(M->FadingValue(), 0);
  Bar->Invalidate();
  EXPECT_EQ(Bar->Alpha(), 0);
  EXPECT_EQ(Bar->VisibleSize(), Bar->GetMinVisibleSize());
}

}  // namespace
