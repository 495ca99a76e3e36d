// The base control's scroll bars on real windows: the parameters a control
// describes its bars with, the child windows they become and where they go,
// layouts whose bars keep toggling, gesture scrolling, pixel scrolling of
// image-like content, and the router that feeds windowless bars the control's
// mouse messages (capture across a new window, very wide controls).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "Forms.h"
#include "cxControls.h"

using ControlsTest::CursorAt;
using ControlsTest::PumpUntil;
using ControlsTest::SendMouse;

namespace {

std::string Text(const TRect& R) {
  return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) +
         "," + std::to_string(R.bottom);
}

POINT ScreenPoint(TWinControl* AControl, const TPoint& AClient) {
  TPoint P = AControl->ClientToScreen(AClient);
  return POINT{P.x, P.y};
}

void MoveMouseTo(POINT P) {
  SendMouse(0, P);
  PumpUntil([&] { return CursorAt(P); });
}

// Counts what the control's windowed bars see: CM_SHOWINGCHANGED and their
// own destruction.
struct TBarCounters {
  int ShowingChanged = 0;
  int Destroyed = 0;
};
TBarCounters* GBarCounters = nullptr;

class TCountingControlScrollBar : public TcxControlScrollBar {
  DECLARE_CLASS(TCountingControlScrollBar, TcxControlScrollBar)
 public:
  using TcxControlScrollBar::TcxControlScrollBar;
  ~TCountingControlScrollBar() override {
    if (GBarCounters) ++GBarCounters->Destroyed;
  }

 protected:
  void WndProc(TMessage& Message) override {
    if (Message.Msg == CM_SHOWINGCHANGED && GBarCounters) ++GBarCounters->ShowingChanged;
    inherited::WndProc(Message);
  }
};
IMPLEMENT_CREATABLE_CLASS(TCountingControlScrollBar)

// A control whose content has a size in pixels and is scrolled by position;
// InitScrollBarsParameters describes both bars from it, or a test replaces
// it.
class TTestScrollingControl : public TcxControl {
  DECLARE_CLASS(TTestScrollingControl, TcxControl)
 public:
  using TcxControl::CheckOverpan;
  using TcxControl::DoUpdateScrollBars;
  using TcxControl::GetClientBounds;
  using TcxControl::GetHScrollBarBounds;
  using TcxControl::GetSizeGripBounds;
  using TcxControl::GetVScrollBarBounds;
  using TcxControl::TcxControl;
  using TcxControl::UpdateScrollBars;

  TSize Content{600, 500};
  TPoint Pos{0, 0};
  bool CountingBars = false;
  std::function<void(TTestScrollingControl*)> OnInitParameters;
  std::vector<std::string> Scrolls;
  int BoundsChangedCount = 0;
  int InitParametersCount = 0;
  bool UpdateBarsOnScroll = false;
  int FocusEnters = 0;

  void DescribeBarsFromContent() {
    TRect R = GetClientBounds();
    SetScrollBarInfo(sbHorizontal, 0, Content.cx - 1, 1, cxRectWidth(R), Pos.x, true, true);
    SetScrollBarInfo(sbVertical, 0, Content.cy - 1, 1, cxRectHeight(R), Pos.y, true, true);
  }

 protected:
  TClass GetScrollBarClass(TScrollBarKind AKind) override {
    return CountingBars ? TCountingControlScrollBar::StaticClass()
                        : inherited::GetScrollBarClass(AKind);
  }
  void InitScrollBarsParameters() override {
    ++InitParametersCount;
    if (OnInitParameters)
      OnInitParameters(this);
    else
      DescribeBarsFromContent();
  }
  void Scroll(TScrollBarKind AKind, TScrollCode ACode, Integer& APos) override {
    static const char* const Names[] = {"lineup", "linedown", "pageup", "pagedown", "position",
                                        "track",  "top",      "bottom", "end"};
    Scrolls.push_back(std::string(AKind == sbHorizontal ? "h " : "v ") + Names[ACode] + " " +
                      std::to_string(APos));
    if (ACode == scTrack || ACode == scPosition) (AKind == sbHorizontal ? Pos.x : Pos.y) = APos;
    if (UpdateBarsOnScroll) UpdateScrollBars();
  }
  void FocusEnter() override {
    ++FocusEnters;
    inherited::FocusEnter();
  }
  void BoundsChanged() override {
    ++BoundsChangedCount;
    inherited::BoundsChanged();
  }
};
IMPLEMENT_CREATABLE_CLASS(TTestScrollingControl)

class ControlScrollBars : public ::testing::Test {
 protected:
  void SetUp() override {
    Form.reset(ControlsTest::CreateForm(400, 300));
    GBarCounters = &Counters;
  }
  void TearDown() override {
    Form.reset();
    GBarCounters = nullptr;
  }
  // A control of class T on the form, UltraFlat, with its bars laid out.
  template <class T = TTestScrollingControl>
  T* MakeControl(const TRect& ABounds, bool ACountingBars = false) {
    auto* Control = Create<T>(Form.get());
    Control->CountingBars = ACountingBars;
    if (ACountingBars) {
      // The bars were made in the construction already: make them anew of
      // the counting class.
      Control->DestroyScrollBars();
      Control->CreateScrollBars();
    }
    Control->LookAndFeel()->SetNativeStyle(false);
    Control->LookAndFeel()->SetKind(lfUltraFlat);
    Control->SetBoundsRect(ABounds);
    Control->SetParent(Form.get());
    Control->HandleNeeded();
    Control->UpdateScrollBars();
    ControlsTest::ProcessMessages();
    return Control;
  }
  static TcxControlScrollBar* WindowedBar(TcxControl* AControl, TScrollBarKind AKind) {
    return AsOrNull<TcxControlScrollBar>(AKind == sbHorizontal
                                             ? AControl->MainScrollBars()->HScrollBar()
                                             : AControl->MainScrollBars()->VScrollBar());
  }
  TOwned<TCustomForm> Form;
  TBarCounters Counters;
};

// ---------------------------------------------------------------------------
// What a bar's data says for the parameters given.

struct TScrollBarInfoCase {
  const char* Name;
  TScrollStyle ScrollBars;
  TScrollBarKind Kind;
  Integer Min, Max, Page, Pos;
  bool AllowShow, AllowHide;
  bool Valid, Shown, Enabled, Visible;
};

const TScrollBarInfoCase ScrollBarInfoCases[] = {
    {"scrollable range", ssBoth, sbVertical, 0, 99, 10, 0, true, true, true, true, true, true},
    {"page covers the range, may hide", ssBoth, sbVertical, 0, 50, 51, 0, true, true, false, true,
     false, false},
    {"page covers the range, must stay", ssBoth, sbVertical, 0, 50, 51, 0, true, false, false, true,
     false, true},
    {"max below min", ssBoth, sbHorizontal, 10, 5, 0, 10, true, false, false, true, false, true},
    {"position below min", ssBoth, sbHorizontal, 10, 50, 5, 9, true, true, false, true, false,
     false},
    {"negative range", ssBoth, sbHorizontal, -100, -1, 10, -50, true, true, true, true, true, true},
    {"not allowed by the caller", ssBoth, sbVertical, 0, 99, 10, 0, false, true, true, false, true,
     false},
    {"horizontal under ssVertical", ssVertical, sbHorizontal, 0, 999, 10, 0, true, false, true,
     false, true, false},
    {"vertical under ssVertical", ssVertical, sbVertical, 0, 999, 10, 0, true, false, true, true,
     true, true},
    {"vertical under ssNone", ssNone, sbVertical, 0, 999, 10, 0, true, false, true, false, true,
     false},
    {"whole integer range", ssBoth, sbVertical, INT32_MIN, INT32_MAX, 1000, 0, true, true, true,
     true, true, true},
};

TEST_F(ControlScrollBars, SetScrollBarInfoFillsTheDataAsTheTableSays) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  for (const TScrollBarInfoCase& C : ScrollBarInfoCases) {
    SCOPED_TRACE(C.Name);
    Control->SetScrollBars(C.ScrollBars);
    TcxScrollBarData* Data = Control->GetScrollBar(C.Kind)->GetData();
    // Start from the opposite of what is expected.
    Data->FEnabled = !C.Enabled;
    Control->SetScrollBarInfo(C.Kind, C.Min, C.Max, 3, C.Page, C.Pos, C.AllowShow, C.AllowHide);
    EXPECT_EQ(Data->FIsValid, C.Valid);
    EXPECT_EQ(Data->FAllowShow, C.Shown);
    EXPECT_EQ(Data->FAllowHide, C.AllowHide);
    EXPECT_EQ(Data->FVisible, C.Visible);
    // An invalid range that may hide leaves the enabled state as it was.
    if (C.Shown && (C.Valid || !C.AllowHide)) EXPECT_EQ(Data->FEnabled, C.Enabled);
    EXPECT_EQ(Data->FMin, C.Min);
    EXPECT_EQ(Data->FMax, C.Max);
    EXPECT_EQ(Data->FPageSize, C.Page);
    EXPECT_EQ(Data->FPosition, C.Pos);
    EXPECT_EQ(Data->FSmallChange, 3);
    EXPECT_EQ(Data->FLargeChange, static_cast<TScrollBarInc>(C.Page));
  }
}

// ---------------------------------------------------------------------------
// Bars as child windows.

TEST_F(ControlScrollBars, BarsAndGripAreChildWindowsAtTheControlsBounds) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  TcxControlScrollBar* H = WindowedBar(Control, sbHorizontal);
  TcxControlScrollBar* V = WindowedBar(Control, sbVertical);
  auto* Grip = AsOrNull<TcxSizeGrip>(Control->MainScrollBars()->SizeGrip());
  ASSERT_TRUE(H && V && Grip);
  for (TWinControl* Element : std::initializer_list<TWinControl*>{H, V, Grip}) {
    ASSERT_TRUE(Element->HandleAllocated());
    EXPECT_EQ(GetParent(Element->Handle()), Control->Handle());
    EXPECT_TRUE(IsWindowVisible(Element->Handle()));
  }
  const TSize Size = GetScaledScrollBarSize(Control->ScaleFactor());
  // The client shrinks by the bars; they lie just outside it.
  EXPECT_EQ(Text(Control->GetClientBounds()), Text(TRect{0, 0, 200 - Size.cx, 150 - Size.cy}));
  EXPECT_EQ(Text(H->BoundsRect()), Text(TRect{0, 150 - Size.cy, 200 - Size.cx, 150}));
  EXPECT_EQ(Text(V->BoundsRect()), Text(TRect{200 - Size.cx, 0, 200, 150 - Size.cy}));
  EXPECT_EQ(Text(Grip->BoundsRect()), Text(TRect{200 - Size.cx, 150 - Size.cy, 200, 150}));
  EXPECT_EQ(Text(H->BoundsRect()), Text(Control->GetHScrollBarBounds()));
  EXPECT_EQ(Text(V->BoundsRect()), Text(Control->GetVScrollBarBounds()));
  // The grip shows the painter's colour for it; the bars want no hint and
  // work in the designer.
  TOwned<TcxBitmap32> GripShot = ControlsTest::CaptureWindow(Grip);
  EXPECT_EQ(ColorToRGB(GripShot->Canvas()->Pixels(Grip->Width() / 2, Grip->Height() / 2)),
            ColorToRGB(Grip->LookAndFeel()->Painter()->DefaultSizeGripAreaColor()));
  EXPECT_EQ(V->Perform(CM_HINTSHOW, 0, 0), 1);
  EXPECT_EQ(V->Perform(CM_DESIGNHITTEST, 0, 0), 1);
  // The bars show the content's parameters.
  EXPECT_EQ(H->Max(), 599);
  EXPECT_EQ(H->PageSize(), 200 - Size.cx);
  EXPECT_EQ(V->Max(), 499);
  EXPECT_EQ(V->PageSize(), 150 - Size.cy);
  EXPECT_TRUE(H->Enabled());
}

TEST_F(ControlScrollBars, ContentThatFitsNeedsNoBarsAndRightToLeftPutsTheVerticalBarLeft) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  Control->Content = TSize{100, 800};
  Control->UpdateScrollBars();
  EXPECT_FALSE(Control->IsScrollBarActive(sbHorizontal));
  EXPECT_TRUE(Control->IsScrollBarActive(sbVertical));
  EXPECT_FALSE(Control->MainScrollBars()->IsScrollBarVisible(sbHorizontal));
  const Integer Width = GetScaledScrollBarSize(Control->ScaleFactor()).cx;
  EXPECT_EQ(Text(WindowedBar(Control, sbVertical)->BoundsRect()),
            Text(TRect{200 - Width, 0, 200, 150}));
  EXPECT_FALSE(AsOrNull<TcxSizeGrip>(Control->MainScrollBars()->SizeGrip())->Visible());
  Control->SetBiDiMode(bdRightToLeft);
  Control->UpdateScrollBars();
  EXPECT_EQ(Text(Control->GetClientBounds()), Text(TRect{Width, 0, 200, 150}));
  EXPECT_EQ(Text(WindowedBar(Control, sbVertical)->BoundsRect()), Text(TRect{0, 0, Width, 150}));
  Control->Content = TSize{100, 100};
  Control->UpdateScrollBars();
  EXPECT_FALSE(Control->IsScrollBarActive(sbVertical));
  EXPECT_EQ(Text(Control->GetClientBounds()), Text(TRect{0, 0, 200, 150}));
}

TEST_F(ControlScrollBars, AVisibilityChangeIsAnnouncedOnceAndInvalidDataKeepsTheParameters) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150), true);
  TcxControlScrollBar* V = WindowedBar(Control, sbVertical);
  ASSERT_TRUE(V->Is<TCountingControlScrollBar>());
  V->SetScrollParams(0, 99, 5, 10);
  TcxScrollBarData* Data = V->GetData();
  Counters.ShowingChanged = 0;
  Data->FVisible = true;
  Data->FEnabled = true;
  Data->FMin = 0;
  Data->FMax = 50;
  Data->FPageSize = 51;
  Data->FPosition = 0;
  Data->Validate();
  V->TControl::SetVisible(false);
  Counters.ShowingChanged = 0;
  V->ApplyData();
  EXPECT_EQ(Counters.ShowingChanged, 1);
  EXPECT_TRUE(V->Visible());
  EXPECT_EQ(V->Max(), 99);
  EXPECT_EQ(V->PageSize(), 10);
  EXPECT_EQ(V->Position(), 5);
  V->ApplyData();
  EXPECT_EQ(Counters.ShowingChanged, 1) << "unchanged data";
  Data->FEnabled = false;
  V->ApplyData();
  EXPECT_FALSE(V->Enabled());
  EXPECT_EQ(Counters.ShowingChanged, 1);
}

TEST_F(ControlScrollBars, DuringTheCalculationTheDataAnswerOutsideItTheWindows) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  ASSERT_TRUE(Control->IsScrollBarActive(sbVertical));
  std::vector<std::string> Seen;
  Control->OnInitParameters = [&](TTestScrollingControl* C) {
    Seen.push_back(std::string(C->IsScrollBarActive(sbVertical) ? "active" : "inactive") +
                   (C->MainScrollBars()->Calculating() ? " calculating" : ""));
    C->SetScrollBarInfo(sbVertical, 0, 10, 1, 100, 0, true, true);
    C->SetScrollBarInfo(sbHorizontal, 0, 10, 1, 100, 0, true, true);
  };
  Control->UpdateScrollBars();
  ASSERT_FALSE(Seen.empty());
  // The bar was shown, but the calculation starts from data made invisible.
  EXPECT_EQ(Seen.front(), "inactive calculating");
  EXPECT_FALSE(Control->MainScrollBars()->Calculating());
  EXPECT_FALSE(Control->IsScrollBarActive(sbVertical));
}

// A control that shows a frozen picture of itself while locked: its bars and
// grip copy their part of the picture instead of painting.
class TLockedControl : public TTestScrollingControl, public IcxLockedStatePaint {
  DECLARE_CLASS(TLockedControl, TTestScrollingControl)
 public:
  using TTestScrollingControl::TTestScrollingControl;
  TOwned<TcxBitmap> Image;
  bool Locked = false;
  TcxBitmap* GetImage() override { return Locked ? Image.get() : nullptr; }
  TcxControl* GetTopmostControl() override { return this; }
};
IMPLEMENT_CREATABLE_CLASS(TLockedControl)

TEST_F(ControlScrollBars, BarsAndGripOfALockedControlShowTheirPartOfItsPicture) {
  auto* Control = MakeControl<TLockedControl>(Bounds(10, 10, 200, 150));
  const TColor Frozen = RGB(10, 200, 30), Corner = RGB(200, 20, 120);
  Control->Image.reset(TcxBitmap::CreateSize(200, 150, TPixelFormat::pf24bit));
  Control->Image->cxCanvas()->FillRect(TRect{0, 0, 200, 150}, Frozen);
  // A mark where the grip is: the copy is taken from under each element.
  TRect GripBounds = Control->GetSizeGripBounds();
  Control->Image->cxCanvas()->FillRect(GripBounds, Corner);
  auto* Grip = AsOrNull<TcxSizeGrip>(Control->MainScrollBars()->SizeGrip());
  TcxControlScrollBar* V = WindowedBar(Control, sbVertical);
  auto Count = [](TcxBitmap32* AShot, TColor AColor) {
    int N = 0;
    for (int Y = 0; Y < AShot->Height(); ++Y)
      for (int X = 0; X < AShot->Width(); ++X) N += AShot->Canvas()->Pixels(X, Y) == AColor;
    return N;
  };
  Control->Locked = true;
  TOwned<TcxBitmap32> Bar = ControlsTest::CaptureWindow(V);
  EXPECT_EQ(Count(Bar.get(), Frozen), V->Width() * V->Height());
  TOwned<TcxBitmap32> GripShot = ControlsTest::CaptureWindow(Grip);
  EXPECT_EQ(Count(GripShot.get(), Corner), Grip->Width() * Grip->Height());
  Control->Locked = false;
  Bar = ControlsTest::CaptureWindow(V);
  EXPECT_EQ(Count(Bar.get(), Frozen), 0);
}

TEST_F(ControlScrollBars, LockedUpdatesWaitForTheLastUnlockAndTheOptionHidesBars) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  Control->InitParametersCount = 0;
  Control->LockScrollBars();
  Control->LockScrollBars();
  Control->UpdateScrollBars();
  Control->UpdateScrollBars();
  EXPECT_EQ(Control->InitParametersCount, 0);
  Control->UnlockScrollBars();
  EXPECT_EQ(Control->InitParametersCount, 0);
  Control->UnlockScrollBars();
  EXPECT_GT(Control->InitParametersCount, 0) << "the pending update ran";
  Control->InitParametersCount = 0;
  Control->UnlockScrollBars();
  Control->LockScrollBars();
  Control->UnlockScrollBars();
  EXPECT_EQ(Control->InitParametersCount, 0) << "nothing pending, unbalanced unlock ignored";
  Control->SetScrollBars(ssVertical);
  EXPECT_FALSE(Control->IsScrollBarActive(sbHorizontal));
  EXPECT_TRUE(Control->IsScrollBarActive(sbVertical));
  Control->SetScrollBars(ssNone);
  EXPECT_FALSE(Control->IsScrollBarActive(sbVertical));
  EXPECT_EQ(Text(Control->GetClientBounds()), Text(TRect{0, 0, 200, 150}));
}

// ---------------------------------------------------------------------------
// Bars that keep toggling.

TEST_F(ControlScrollBars, BarsTogglingWithinTheCalculationStopAfterAFewPasses) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  // Each pass shows the bars the previous pass hid, and hides the shown.
  Control->OnInitParameters = [](TTestScrollingControl* C) {
    bool Show = !C->IsScrollBarActive(sbVertical);
    C->SetScrollBarInfo(sbVertical, 0, Show ? 999 : 10, 1, 100, 0, true, true);
    C->SetScrollBarInfo(sbHorizontal, 0, Show ? 999 : 10, 1, 100, 0, true, true);
  };
  Control->InitParametersCount = 0;
  ASSERT_TRUE(Control->IsScrollBarActive(sbVertical));
  Control->UpdateScrollBars();
  EXPECT_GT(Control->InitParametersCount, 1);
  EXPECT_LE(Control->InitParametersCount, 8);
  EXPECT_FALSE(Control->MainScrollBars()->Calculating());
  // Frozen as they were before the update.
  EXPECT_TRUE(Control->IsScrollBarActive(sbVertical));
  EXPECT_TRUE(Control->IsScrollBarActive(sbHorizontal));
  // The freeze ends with the update: a settling layout is applied again.
  Control->OnInitParameters = nullptr;
  Control->Content = TSize{100, 100};
  Control->UpdateScrollBars();
  EXPECT_FALSE(Control->IsScrollBarActive(sbVertical));
  EXPECT_FALSE(Control->IsScrollBarActive(sbHorizontal));
}

TEST_F(ControlScrollBars, BarsTogglingBetweenUpdatesAreFrozenDisabledAndVisible) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  Control->Content = TSize{100, 100};
  Control->UpdateScrollBars();
  ASSERT_FALSE(Control->IsScrollBarActive(sbVertical));
  // The vertical bar wants to be shown when its window is hidden and hidden
  // when it is shown (as content reflowing around the bar would).
  Control->OnInitParameters = [](TTestScrollingControl* C) {
    bool Shown = WindowedBar(C, sbVertical)->Visible();
    C->SetScrollBarInfo(sbVertical, 0, Shown ? 10 : 999, 1, 100, 0, true, true);
    C->SetScrollBarInfo(sbHorizontal, 0, 10, 1, 100, 0, true, true);
  };
  Control->BoundsChangedCount = 0;
  Control->UpdateScrollBars();
  EXPECT_LE(Control->BoundsChangedCount, 4);
  TcxControlScrollBar* V = WindowedBar(Control, sbVertical);
  EXPECT_TRUE(V->Visible());
  EXPECT_FALSE(V->Enabled());
}

// ---------------------------------------------------------------------------
// Destruction, focus.

TEST_F(ControlScrollBars, DestroyingTheControlFreesItsParentedBarsOnce) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150), true);
  HWND H = WindowedBar(Control, sbHorizontal)->Handle();
  HWND V = WindowedBar(Control, sbVertical)->Handle();
  Counters.Destroyed = 0;
  Control->Free();
  EXPECT_EQ(Counters.Destroyed, 2);
  EXPECT_FALSE(IsWindow(H));
  EXPECT_FALSE(IsWindow(V));
  Form.reset();
  EXPECT_EQ(Counters.Destroyed, 2);
}

TEST_F(ControlScrollBars, ClickingABarFocusesTheControlOnlyWhenItWantsFocusForClicks) {
  struct TCase {
    bool FocusOnClick;
    bool Focused;
  };
  for (TCase C : {TCase{true, true}, TCase{false, false}}) {
    SCOPED_TRACE(C.FocusOnClick);
    TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
    Control->SetFocusOnClick(C.FocusOnClick);
    // The form is made active by a click of its own first: its activation
    // would otherwise move the focus after the bar's click.
    POINT Blank = ScreenPoint(Form.get(), TPoint{390, 290});
    MoveMouseTo(Blank);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpUntil([&] { return GetActiveWindow() == Form->Handle() && GetCapture() == nullptr; });
    Form->SetActiveControl(nullptr);
    SetFocus(Form->Handle());
    ControlsTest::ProcessMessages();
    ASSERT_FALSE(Control->Focused());
    TcxControlScrollBar* V = WindowedBar(Control, sbVertical);
    POINT P = ScreenPoint(V, TPoint{V->Width() / 2, V->Height() / 2});
    MoveMouseTo(P);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    PumpUntil([&] { return !Control->Scrolls.empty(); });
    EXPECT_FALSE(Control->Scrolls.empty()) << "the press reached the bar";
    // Whether the control took the focus on the press (what happens to the
    // focus afterwards is not the bar's business: under Wine a window made
    // by the press's repeat timer may take it).
    EXPECT_EQ(Control->FocusEnters > 0, C.Focused);
    SendMouse(MOUSEEVENTF_LEFTUP);
    PumpUntil([&] { return GetCapture() == nullptr; });
    Control->Free();
  }
}

// ---------------------------------------------------------------------------
// Gestures.

struct TGestureCase {
  const char* Name;
  Integer Min, Max, Page, Pos;
  std::vector<Integer> Deltas;
  // The positions reported, in order.
  std::vector<Integer> Tracked;
};

TEST_F(ControlScrollBars, GesturePansAccumulateAndStopAtTheLastPage) {
  // The client is 150 - bar pixels high; with a page of 4 that is more than
  // 30 pixels per unit, so a unit is 30 pixels.
  const TGestureCase Cases[] = {
      {"small pans add up", 0, 99, 4, 50, {10, 10, 9, 1}, {49}},
      {"a long pan moves several units and keeps the rest", 0, 99, 4, 50, {95, 25}, {47, 46}},
      {"panning back", 0, 99, 4, 50, {-61}, {52}},
      {"last page with a range from zero", 0, 99, 4, 85, {-30000}, {96}},
      {"last page with a range not from zero", 100, 199, 4, 185, {-30000}, {196}},
      {"first position", 100, 199, 4, 105, {30000}, {100}},
      {"page larger than the client: a pixel per unit", 0, 9999, 5000, 100, {-7}, {107}},
  };
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  for (const TGestureCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Control->Pos.y = C.Pos;
    Control->OnInitParameters = [&](TTestScrollingControl* T) {
      T->SetScrollBarInfo(sbVertical, C.Min, C.Max, 1, C.Page, T->Pos.y, true, true);
      T->SetScrollBarInfo(sbHorizontal, 0, 10, 1, 100, 0, true, true);
    };
    Control->UpdateBarsOnScroll = true;
    Control->UpdateScrollBars();
    ASSERT_TRUE(Control->IsScrollBarActive(sbVertical));
    Control->BeginGestureScroll(TPoint{10, 10});
    Control->Scrolls.clear();
    for (Integer Delta : C.Deltas) Control->GestureScroll(0, Delta);
    std::vector<std::string> Expected;
    for (Integer Pos : C.Tracked) Expected.push_back("v track " + std::to_string(Pos));
    EXPECT_EQ(Control->Scrolls, Expected);
    Control->EndGestureScroll();
  }
}

TEST_F(ControlScrollBars, PanningFollowsTheActiveBarsAndTheWheelsDirection) {
  struct TCase {
    const char* Name;
    TSize Content;
    bool Horizontal, Vertical;
  };
  // The wheel scrolls vertically while the vertical bar is active: a
  // horizontal pan then needs the horizontal bar alone.
  const TCase Cases[] = {
      {"both bars", {600, 500}, false, true},
      {"vertical bar only", {100, 500}, false, true},
      {"horizontal bar only", {600, 100}, true, false},
      {"no bar", {100, 100}, false, false},
  };
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Control->Content = C.Content;
    Control->UpdateScrollBars();
    EXPECT_EQ(Control->AllowPan(sbHorizontal), C.Horizontal);
    EXPECT_EQ(Control->AllowPan(sbVertical), C.Vertical);
    // Pans start inside the client, not on the bars.
    TRect Client = Control->GetClientBounds();
    EXPECT_TRUE(Control->IsPanArea(TPoint{Client.left + 5, Client.top + 5}));
    EXPECT_FALSE(Control->IsPanArea(TPoint{Client.right + 2, Client.top + 5}));
  }
  EXPECT_NE(Control->GetPanOptions() & GC_PAN, 0u);
}

// ---------------------------------------------------------------------------
// Pixel scrolling of image-like content.

class TImageControl : public TTestScrollingControl, public IdxScrollingControl {
  DECLARE_CLASS(TImageControl, TTestScrollingControl)
 public:
  using TTestScrollingControl::TTestScrollingControl;
  TSize GetContentSize() override { return Content; }
  Integer GetLeftPos() override { return Pos.x; }
  void SetLeftPos(Integer AValue) override { Pos.x = AValue; }
  Integer GetTopPos() override { return Pos.y; }
  void SetTopPos(Integer AValue) override { Pos.y = AValue; }
  TcxControl* GetInstance() override { return this; }
  void ScrollBy(TScrollBarKind AKind, TScrollCode ACode, Integer& APos) {
    Scroll(AKind, ACode, APos);
  }

 protected:
  void InitScrollBarsParameters() override { TdxScrollHelper::InitScrollBarsParameters(this); }
  void Scroll(TScrollBarKind AKind, TScrollCode ACode, Integer& APos) override {
    TdxScrollHelper::Scroll(this, AKind, ACode, APos);
  }
};
IMPLEMENT_CREATABLE_CLASS(TImageControl)

TEST_F(ControlScrollBars, ScrollHelperMovesImageContentByLinesPagesAndTracking) {
  auto* Control = Create<TImageControl>(Form.get());
  Control->SetBoundsRect(Bounds(10, 10, 200, 150));
  Control->SetParent(Form.get());
  Control->HandleNeeded();
  Control->UpdateScrollBars();
  TSize Client{cxRectWidth(Control->GetClientBounds()), cxRectHeight(Control->GetClientBounds())};
  ASSERT_TRUE(Control->IsScrollBarActive(sbVertical));
  EXPECT_EQ(Control->GetVScrollBar()->GetMax(), 499);
  EXPECT_EQ(Control->GetVScrollBar()->GetPageSize(), Client.cy);
  EXPECT_EQ(Control->GetVScrollBar()->GetSmallChange(), 10);
  struct TStep {
    TScrollBarKind Kind;
    TScrollCode Code;
    Integer Pos;
    Integer Expected;
  };
  const Integer MaxTop = 500 - Client.cy, MaxLeft = 600 - Client.cx;
  const TStep Steps[] = {
      {sbVertical, scLineDown, 0, 10},
      {sbVertical, scLineDown, 0, 20},
      {sbVertical, scPageDown, 0, 20 + Client.cy},
      {sbVertical, scPosition, 3, 20 + Client.cy},
      {sbVertical, scTrack, 9999, MaxTop},
      {sbVertical, scLineUp, 0, MaxTop - 10},
      {sbVertical, scPageUp, 0, MaxTop - 10 - Client.cy},
      {sbVertical, scTrack, 5, 5},
      {sbVertical, scLineUp, 0, 0},
      {sbVertical, scLineUp, 0, 0},
      {sbHorizontal, scTrack, 123, 123},
      {sbHorizontal, scPageDown, 0, 123 + Client.cx},
      {sbHorizontal, scEndScroll, 7, 123 + Client.cx},
      {sbHorizontal, scPageDown, 0, MaxLeft},
  };
  for (const TStep& S : Steps) {
    Integer Pos = S.Pos;
    Control->ScrollBy(S.Kind, S.Code, Pos);
    EXPECT_EQ(Pos, S.Expected) << S.Code;
    EXPECT_EQ(S.Kind == sbVertical ? Control->Pos.y : Control->Pos.x, S.Expected);
  }
  // The bars follow the content's position.
  EXPECT_EQ(Control->GetHScrollBar()->GetPosition(), MaxLeft);
  // Gestures move the content by pixels, clamped to it.
  Control->Pos = TPoint{50, 50};
  TdxScrollHelper::GestureScroll(Control, 20, -30);
  EXPECT_EQ(Text(TRect{Control->Pos.x, Control->Pos.y, 0, 0}), Text(TRect{30, 80, 0, 0}));
  TdxScrollHelper::GestureScroll(Control, 1000, 1000);
  EXPECT_EQ(Text(TRect{Control->Pos.x, Control->Pos.y, 0, 0}), Text(TRect{0, 0, 0, 0}));
  // Smaller content: the positions are put back inside it.
  Control->Pos = TPoint{MaxLeft, MaxTop};
  Control->Content = TSize{150, 120};
  TdxScrollHelper::ScrollContent(Control);
  EXPECT_EQ(Control->Pos.x, 0);
  EXPECT_EQ(Control->Pos.y, 0);
}

// ---------------------------------------------------------------------------
// Scroll-bar mode, hybrid colour, activity, grip availability, metrics.

class TModeControl : public TTestScrollingControl {
  DECLARE_CLASS(TModeControl, TTestScrollingControl)
 public:
  using TcxControl::GetHybridScrollbarBaseColor;
  using TcxControl::IsPopupScrollBars;
  using TTestScrollingControl::TTestScrollingControl;
  bool AllowTouch = false;
  bool AllowHybrid = false;
  TColor Foreground = clBlack;

 protected:
  bool AllowTouchScrollUIMode() override { return AllowTouch; }
  bool AllowHybridScrollbarMode() override { return AllowHybrid; }
  TColor GetScrollContentForegroundColor() override { return Foreground; }
};
IMPLEMENT_CREATABLE_CLASS(TModeControl)

TEST_F(ControlScrollBars, TheLookAndFeelsModeIsResolvedForTheControl) {
  struct TCase {
    TdxScrollbarMode Asked;
    bool AllowHybrid;
    TdxScrollbarMode Resolved;
  };
  const TCase Cases[] = {
      {sbmDefault, true, sbmClassic}, {sbmClassic, true, sbmClassic}, {sbmTouch, false, sbmTouch},
      {sbmHybrid, false, sbmTouch},   {sbmHybrid, true, sbmHybrid},
  };
  auto* Control = Create<TModeControl>(Form.get());
  for (const TCase& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.Asked));
    Control->AllowHybrid = C.AllowHybrid;
    Control->LookAndFeel()->SetScrollbarMode(C.Asked);
    EXPECT_EQ(Control->GetLookAndFeelScrollbarMode(), C.Resolved);
    // A control that does not allow touch scroll UI stays classic.
    EXPECT_EQ(Control->GetScrollbarMode(), sbmClassic);
  }
}

TEST_F(ControlScrollBars, AChangeOfModeMakesTheBarsAnewOfTheModesClasses) {
  auto* Control = Create<TModeControl>(Form.get());
  Control->AllowTouch = true;
  Control->SetBoundsRect(Bounds(10, 10, 200, 150));
  Control->SetParent(Form.get());
  Control->HandleNeeded();
  Control->UpdateScrollBars();
  ASSERT_TRUE(Control->MainScrollBars()->HScrollBar()->ClassType() ==
              TcxControlScrollBar::StaticClass());
  Control->LookAndFeel()->SetScrollbarMode(sbmTouch);
  EXPECT_EQ(Control->GetScrollbarMode(), sbmTouch);
  EXPECT_TRUE(Control->IsPopupScrollBars());
  EXPECT_TRUE(Control->MainScrollBars()->HScrollBar()->Is<TcxControlPopupScrollBar>());
  EXPECT_TRUE(Control->MainScrollBars()->SizeGrip()->Is<TcxPopupSizeGrip>());
  // Popup bars take no room from the client; nothing shows them yet.
  EXPECT_EQ(Text(Control->GetClientBounds()), Text(TRect{0, 0, 200, 150}));
  Control->UpdateScrollBars();
  EXPECT_TRUE(Control->IsScrollBarActive(sbVertical)) << "the data allows the bar";
  Control->LookAndFeel()->SetScrollbarMode(sbmClassic);
  EXPECT_EQ(Control->GetScrollbarMode(), sbmClassic);
  EXPECT_TRUE(Control->MainScrollBars()->HScrollBar()->ClassType() ==
              TcxControlScrollBar::StaticClass());
  Control->UpdateScrollBars();
  EXPECT_TRUE(WindowedBar(Control, sbVertical)->Visible());
}

TEST_F(ControlScrollBars, AHybridBaseColourAtDefaultFollowsTheContentTextLightness) {
  struct TCase {
    TColor Base;
    TColor Foreground;
    TColor Expected;
  };
  const TCase Cases[] = {
      {clDefault, clBlack, clBlack},
      {clDefault, clWhite, clWhite},
      {clDefault, RGB(200, 200, 200), clWhite},
      {clDefault, RGB(150, 150, 150), clBlack},
      {clDefault, clWindowText, clBlack},
      {clRed, clWhite, clRed},
  };
  auto* Control = Create<TModeControl>(Form.get());
  for (const TCase& C : Cases) {
    Control->SetHybridScrollbarBaseColor(C.Base);
    Control->Foreground = C.Foreground;
    EXPECT_EQ(Control->GetHybridScrollbarBaseColor(), C.Expected) << C.Foreground;
  }
}

TEST(ScrollUIActivity, OnlyMovesOfTenPixelsOrMoreCount) {
  TOwned<TdxTouchScrollUIActivityHelper> Helper(Create<TdxTouchScrollUIActivityHelper>());
  auto Move = [&](int X, int Y) {
    TMessage M{WM_MOUSEMOVE, 0, static_cast<LPARAM>(MAKELONG(X, Y)), 0};
    return Helper->CheckScrollActivity(nullptr, M);
  };
  EXPECT_FALSE(Move(100, 100)) << "the first move records";
  EXPECT_FALSE(Move(109, 91));
  EXPECT_TRUE(Move(110, 100));
  EXPECT_FALSE(Move(115, 100)) << "measured from the last reported";
  EXPECT_TRUE(Move(115, 90));
  TMessage Leave{CM_MOUSELEAVE, 0, 0, 0};
  EXPECT_FALSE(Helper->CheckScrollActivity(nullptr, Leave));
  EXPECT_FALSE(Move(500, 500)) << "after leaving, the first move records again";
  EXPECT_TRUE(Move(500, 490));
}

TEST_F(ControlScrollBars, ASizeGripIsAvailableOnlyAtTheCornerOfASizableRestoredForm) {
  auto* Control = Create<TTestScrollingControl>(Form.get());
  Control->SetParent(Form.get());
  const Integer W = Form->ClientWidth(), H = Form->ClientHeight();
  Control->SetBoundsRect(TRect{W - 100, H - 50, W, H});
  EXPECT_TRUE(TcxSizeGrip::IsAvailable(Control));
  Control->SetBoundsRect(TRect{W - 100, H - 40, W, H + 10});
  EXPECT_TRUE(TcxSizeGrip::IsAvailable(Control)) << "reaching below the client";
  Control->SetBoundsRect(TRect{W - 110, H - 50, W - 10, H});
  EXPECT_FALSE(TcxSizeGrip::IsAvailable(Control)) << "not at the right edge";
  Control->SetBoundsRect(TRect{W - 100, H - 60, W, H - 10});
  EXPECT_FALSE(TcxSizeGrip::IsAvailable(Control)) << "not at the bottom";
  Control->SetBoundsRect(TRect{W - 100, H - 50, W, H});
  dxSetWindowStyle(Form->Handle(), WS_THICKFRAME, soSubtract);
  EXPECT_FALSE(TcxSizeGrip::IsAvailable(Control)) << "a form of fixed size";
  dxSetWindowStyle(Form->Handle(), WS_THICKFRAME, soAdd);
  EXPECT_TRUE(TcxSizeGrip::IsAvailable(Control));
  EXPECT_FALSE(TcxSizeGrip::IsAvailable(nullptr));
  auto* Orphan = Create<TTestScrollingControl>(nullptr);
  EXPECT_FALSE(TcxSizeGrip::IsAvailable(Orphan)) << "no form";
  Orphan->Free();
}

TEST_F(ControlScrollBars, ANewSystemBarSizeResizesTheBarsAndLaysTheControlOut) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  TcxControlScrollBar* V = WindowedBar(Control, sbVertical);
  const Integer Width = GetScaledScrollBarSize(Control->ScaleFactor()).cx;
  V->TControl::SetWidth(Width + 5);
  Control->BoundsChangedCount = 0;
  Control->Perform(DXM_NCSIZECHANGED, 0, 0);
  EXPECT_EQ(V->Width(), Width);
  EXPECT_EQ(Control->BoundsChangedCount, 1);
  Control->Perform(DXM_NCSIZECHANGED, 0, 0);
  EXPECT_EQ(Control->BoundsChangedCount, 1) << "nothing changed";
}

TEST_F(ControlScrollBars, TheScrollBarCoreAsksTheControlAboutDraggingContent) {
  ASSERT_NE(cxScrollBarOwnerLink().AllowScrollContentOnDrag, nullptr);
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  EXPECT_FALSE(cxScrollBarOwnerLink().AllowScrollContentOnDrag(Control));
  EXPECT_FALSE(cxScrollBarOwnerLink().AllowScrollContentOnDrag(Form.get()));
}

TEST_F(ControlScrollBars, AChildComponentFollowsItsControl) {
  TTestScrollingControl* Control = MakeControl(Bounds(10, 10, 200, 150));
  TcxControlChildComponent* Child =
      TcxControlChildComponent::CreateEx(TcxControlChildComponent::StaticClass(), Control);
  EXPECT_EQ(Child->Control(), Control);
  EXPECT_EQ(Child->Owner(), Control->Owner());
  EXPECT_EQ(Child->GetParentComponent(), Control);
  EXPECT_EQ(Child->ScaleFactor()->Owner(), Control->ScaleFactor());
  Child->SetParentComponent(nullptr);
  Control->RemoveChildComponent(Child);
  EXPECT_FALSE(Child->HasParent());
  Child->SetParentComponent(Control);
  EXPECT_EQ(Child->Control(), Control);
  TcxControlChildComponent* Unowned =
      TcxControlChildComponent::CreateEx(TcxControlChildComponent::StaticClass(), Control, false);
  EXPECT_EQ(Unowned->Owner(), nullptr);
  Unowned->Free();
  Child->Free();
}

// ---------------------------------------------------------------------------
// Windowless bars fed by the control's mouse messages.

// A set of windowless bars, registered with the control's router and painted
// by the control.
class TWindowlessScrollBars : public TcxControlCustomScrollBars {
  DECLARE_CLASS(TWindowlessScrollBars, TcxControlCustomScrollBars)
 public:
  using TcxControlCustomScrollBars::TcxControlCustomScrollBars;
  void CheckSizeGripVisible(bool) override {}
  void SetInternalControlsBounds() override;
  void BeforeDestruction() override;

 protected:
  TObject* CreateScrollBar(TScrollBarKind AKind) override;
  TObject* CreateSizeGrip() override { return nullptr; }
};

class TWindowlessControl : public TTestScrollingControl {
  DECLARE_CLASS(TWindowlessControl, TTestScrollingControl)
 public:
  using TcxControl::ScrollBarOwner;
  using TTestScrollingControl::TTestScrollingControl;

 protected:
  TClass GetMainScrollBarsClass() override { return TWindowlessScrollBars::StaticClass(); }
};
IMPLEMENT_CREATABLE_CLASS(TWindowlessControl)

TObject* TWindowlessScrollBars::CreateScrollBar(TScrollBarKind AKind) {
  auto* Control = static_cast<TWindowlessControl*>(Owner());
  auto* Bar = Create<TcxControlScrollBarHelper>(Control->ScrollBarOwner());
  Bar->TcxScrollBarHelper::SetKind(AKind);
  Bar->SetOnScroll(MakeEvent<&TWindowlessScrollBars::DoScroll>(this));
  Bar->TcxScrollBarHelper::SetBoundsRect(TRect{0, 0, 17, 17});
  Control->ScrollBarsManager()->RegisterScrollBar(Bar);
  return Bar;
}

void TWindowlessScrollBars::SetInternalControlsBounds() {
  auto* Control = static_cast<TWindowlessControl*>(Owner());
  GetScrollBar(sbHorizontal)->SetBoundsRect(Control->GetHScrollBarBounds());
  GetScrollBar(sbVertical)->SetBoundsRect(Control->GetVScrollBarBounds());
  for (TScrollBarKind Kind : {sbHorizontal, sbVertical})
    static_cast<TcxControlScrollBarHelper*>(Kind == sbHorizontal ? HScrollBar() : VScrollBar())
        ->Calculate();
  Control->Invalidate();
}

void TWindowlessScrollBars::BeforeDestruction() {
  auto* Control = static_cast<TWindowlessControl*>(Owner());
  if (Control->ScrollBarsManager())
    for (TObject* Bar : {HScrollBar(), VScrollBar()})
      Control->ScrollBarsManager()->UnRegisterScrollBar(
          static_cast<TcxControlScrollBarHelper*>(Bar));
  inherited::BeforeDestruction();
}
IMPLEMENT_CREATABLE_CLASS(TWindowlessScrollBars)

class WindowlessScrollBars : public ControlScrollBars {
 protected:
  TWindowlessControl* MakeWindowless(const TRect& ABounds) {
    return MakeControl<TWindowlessControl>(ABounds);
  }
  static TcxControlScrollBarHelper* Bar(TcxControl* AControl, TScrollBarKind AKind) {
    return static_cast<TcxControlScrollBarHelper*>(AKind == sbHorizontal
                                                       ? AControl->MainScrollBars()->HScrollBar()
                                                       : AControl->MainScrollBars()->VScrollBar());
  }
};

TEST_F(WindowlessScrollBars, ClicksOnAWindowlessBarScrollWithTheControlHoldingTheCapture) {
  TWindowlessControl* Control = MakeWindowless(Bounds(10, 10, 200, 150));
  TcxControlScrollBarHelper* V = Bar(Control, sbVertical);
  ASSERT_TRUE(V->Visible());
  TRect Down = V->ViewInfo()->GetPartInfo(sbpLineDown)->Bounds();
  POINT P =
      ScreenPoint(Control, TPoint{(Down.left + Down.right) / 2, (Down.top + Down.bottom) / 2});
  MoveMouseTo(P);
  EXPECT_EQ(Control->ScrollBarsManager()->HotScrollBar(), V);
  Control->Scrolls.clear();
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return Control->IsScrollBarsCapture(); }));
  EXPECT_EQ(GetCapture(), Control->Handle());
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return !Control->IsScrollBarsCapture(); }));
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_FALSE(Control->Scrolls.empty());
  EXPECT_EQ(Control->Scrolls.front(), "v linedown 1");
}

TEST_F(WindowlessScrollBars, CaptureIsTakenAgainOnANewWindowAndDroppedByTheCheckAfterRelease) {
  TWindowlessControl* Control = MakeWindowless(Bounds(10, 10, 200, 150));
  TcxControlScrollBarHelper* V = Bar(Control, sbVertical);
  TRect Thumb = V->ViewInfo()->ThumbnailBounds();
  MoveMouseTo(ScreenPoint(Control, TPoint{(Thumb.left + Thumb.right) / 2, Thumb.top + 2}));
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return Control->IsScrollBarsCapture(); }));
  HWND Old = Control->Handle();
  // A new window while the button is held: the router takes the capture on
  // the new window.
  TcxControlScrollBarsManager* Manager = Control->ScrollBarsManager();
  cxRecreateControlWnd(Control);
  ControlsTest::ProcessMessages();
  ASSERT_NE(Manager->CheckCaptureTimer(), nullptr);
  EXPECT_EQ(Manager->CheckCaptureTimer()->Interval(), 100u);
  ASSERT_NE(Control->Handle(), Old);
  EXPECT_TRUE(Manager->IsCapture());
  EXPECT_EQ(GetCapture(), Control->Handle());
  // Still held: the check keeps it.
  Manager->CheckCaptureTimerHandler(nullptr);
  EXPECT_TRUE(Manager->IsCapture());
  // Released where the control does not hear it (its messages wait): the
  // check gives the capture up.
  SendMouse(MOUSEEVENTF_LEFTUP);
  for (int Round = 0; Round < 200 && (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; ++Round)
    Sleep(5);
  Manager->CheckCaptureTimerHandler(nullptr);
  EXPECT_FALSE(Manager->IsCapture());
  EXPECT_FALSE(Manager->CheckCaptureTimer()->Enabled());
  EXPECT_NE(GetCapture(), Control->Handle());
  ControlsTest::ProcessMessages();
  EXPECT_FALSE(Manager->IsCapture());
}

TEST_F(WindowlessScrollBars, AVeryWideControlTakesMousePositionsFromTheCursor) {
  // 40000 pixels wide, moved left so that its right end (and its vertical
  // bar) is on the form: the messages' 16-bit coordinates wrap there.
  TWindowlessControl* Control = MakeWindowless(TRect{-39800, 10, 200, 150});
  TcxControlScrollBarHelper* V = Bar(Control, sbVertical);
  ASSERT_TRUE(V->Visible());
  ASSERT_GT(V->BoundsRect().left, 32767);
  TRect R = V->BoundsRect();
  MoveMouseTo(ScreenPoint(Control, TPoint{(R.left + R.right) / 2, (R.top + R.bottom) / 2}));
  PumpUntil([&] { return Control->ScrollBarsManager()->HotScrollBar() == V; });
  EXPECT_EQ(Control->ScrollBarsManager()->HotScrollBar(), V);
  MoveMouseTo(POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1});
}

}  // namespace
