// The library's scroll bar: layout and hit test, parameters and their
// errors, the events of clicks, repeats and thumb drags made with input the
// platform injects, right-to-left bars, hot tracking, painting against the
// painter, and thumbs against the platform's own scroll bar.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ControlsTestSupport.h"
#include "Forms.h"
#include "cxScrollBar.h"
#include "dxUxTheme.h"
#include "ui/graphics/GraphicsTestSupport.h"

using namespace ControlsTest;

namespace {

std::string Text(const TRect& R) {
  return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) +
         "," + std::to_string(R.bottom);
}

// What the bar reported, one line per event: "scroll <code> <pos>" or
// "change <pos>".
struct TEventLog {
  std::vector<std::string> Lines;
  TcxScrollBar* Bar = nullptr;
  // An OnScroll handler may move the position; -1 leaves it.
  int ForcePosition = -1;
  void Scroll(TObject*, TScrollCode ACode, Integer& APos) {
    static const char* const Names[] = {"lineup", "linedown", "pageup", "pagedown", "position",
                                        "track",  "top",      "bottom", "end"};
    Lines.push_back(std::string("scroll ") + Names[ACode] + " " + std::to_string(APos));
    if (ForcePosition >= 0) APos = ForcePosition;
  }
  void Change(TObject*) { Lines.push_back("change " + std::to_string(Bar->Position())); }
  void Clear() { Lines.clear(); }
};

std::string Joined(const std::vector<std::string>& ALines) {
  std::string S;
  for (const std::string& L : ALines) S += L + "; ";
  return S;
}

// A bar that counts its paints and remembers the last mouse move it saw.
class TCountingScrollBar : public TcxScrollBar {
  DECLARE_CLASS(TCountingScrollBar, TcxScrollBar)
 public:
  using TcxScrollBar::TcxScrollBar;
  int Paints = 0;
  TPoint LastMove{-10000, -10000};

 protected:
  void DoPaint(TcxCanvas* ACanvas) override {
    ++Paints;
    inherited::DoPaint(ACanvas);
  }
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override {
    LastMove = TPoint{X, Y};
    inherited::MouseMove(Shift, X, Y);
  }
};
IMPLEMENT_CLASS(TCountingScrollBar)

void UseUltraFlat(TcxScrollBar* ABar) {
  ABar->LookAndFeel()->SetNativeStyle(false);
  ABar->LookAndFeel()->SetKind(lfUltraFlat);
}

// Bars that are never shown: layout and parameters only.
class ScrollBarModel : public ::testing::Test {
 protected:
  void SetUp() override {
    Bar.reset(Create<TcxScrollBar>(nullptr));
    UseUltraFlat(Bar.get());
    Log.Bar = Bar.get();
    Bar->OnScroll = MakeEvent<&TEventLog::Scroll>(&Log);
    Bar->OnChange = MakeEvent<&TEventLog::Change>(&Log);
  }
  TcxScrollBarViewInfo* Info() { return Bar->Helper()->ViewInfo(); }
  TRect PartRect(TcxScrollBarPart APart) { return Info()->GetPartInfo(APart)->Bounds(); }
  TOwned<TcxScrollBar> Bar;
  TEventLog Log;
};

TEST_F(ScrollBarModel, ANewBarHasTheDocumentedDefaults) {
  EXPECT_EQ(Bar->Width(), 121);
  EXPECT_EQ(Bar->Height(), GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(Bar->Kind(), sbHorizontal);
  EXPECT_EQ(Bar->Min(), 0);
  EXPECT_EQ(Bar->Max(), 100);
  EXPECT_EQ(Bar->Position(), 0);
  EXPECT_EQ(Bar->PageSize(), 0);
  EXPECT_EQ(Bar->SmallChange(), 1);
  EXPECT_EQ(Bar->LargeChange(), 1);
  EXPECT_EQ(cxRectWidth(Info()->ThumbnailBounds()), GetSystemMetrics(SM_CXHTHUMB));
}

// Thumb and page rectangles along the axis, relative to the start of the
// track (the end of the first arrow), for bars of 2 arrows + Track pixels.
struct TThumbCase {
  const char* What;
  TScrollBarKind Kind;
  Integer Track, Min, Max, Position, PageSize;
  // Expected thumb start and length along the axis; Length 0: no thumb.
  Integer Offset, Length;
};

TEST_F(ScrollBarModel, ThumbAndPagesFollowTheParameters) {
  const Integer T = GetSystemMetrics(SM_CXHTHUMB), TV = GetSystemMetrics(SM_CYVTHUMB);
  const Integer MinThumb = 8;  // the UltraFlat painter's at 96 DPI
  const TThumbCase Cases[] = {
      {"no page: the system's thumb at the start", sbHorizontal, 100, 0, 100, 0, 0, 0, T},
      {"no page: proportional offset", sbHorizontal, 100, 0, 100, 50, 0, MulDiv(100 - T, 50, 100),
       T},
      {"no page: at the end", sbHorizontal, 100, 0, 100, 100, 0, 100 - T, T},
      {"no page, negative minimum", sbHorizontal, 100, -50, 50, 0, 0, MulDiv(100 - T, 50, 100), T},
      {"no page, empty range", sbHorizontal, 100, 5, 5, 5, 0, 0, T},
      {"page: proportional length", sbHorizontal, 100, 0, 99, 0, 10, 0, 10},
      {"page: last free position", sbHorizontal, 100, 0, 99, 90, 10, 90, 10},
      {"page: positions past the last free one", sbHorizontal, 100, 0, 99, 99, 10, 90, 10},
      {"page: minimal thumb", sbHorizontal, 100, 0, 1000, 0, 1, 0, MinThumb},
      {"page: track shorter than the minimal thumb", sbHorizontal, 6, 0, 99, 0, 10, 0, 0},
      {"no page: track shorter than the system thumb", sbHorizontal, 5, 0, 100, 0, 0, 0, 0},
      {"vertical, page", sbVertical, 200, 0, 199, 100, 50, MulDiv(150, 100, 150), 50},
      {"vertical, no page", sbVertical, 60, 0, 10, 5, 0, MulDiv(60 - TV, 5, 10), TV},
  };
  for (const TThumbCase& C : Cases) {
    SCOPED_TRACE(C.What);
    Bar->SetKind(C.Kind);
    const Integer A =
        C.Kind == sbHorizontal ? GetSystemMetrics(SM_CYHSCROLL) : GetSystemMetrics(SM_CXVSCROLL);
    if (C.Kind == sbHorizontal)
      Bar->SetBounds(0, 0, 2 * A + C.Track, A);
    else
      Bar->SetBounds(0, 0, A, 2 * A + C.Track);
    Bar->SetScrollParams(C.Min, C.Max, C.Position, C.PageSize);
    const TRect Thumb = PartRect(sbpThumbnail);
    if (C.Length == 0) {
      EXPECT_TRUE(cxRectIsEmpty(Thumb)) << Text(Thumb);
      EXPECT_TRUE(cxRectIsEmpty(PartRect(sbpPageUp)));
      EXPECT_TRUE(cxRectIsEmpty(PartRect(sbpPageDown)));
      continue;
    }
    const bool H = C.Kind == sbHorizontal;
    const Integer Across = H ? Bar->Height() : Bar->Width();
    EXPECT_EQ(Text(Thumb), H ? Text(Bounds(A + C.Offset, 0, C.Length, Across))
                             : Text(Bounds(0, A + C.Offset, Across, C.Length)));
    EXPECT_EQ(Text(PartRect(sbpPageUp)),
              H ? Text(TRect{A, 0, Thumb.left, Across}) : Text(TRect{0, A, Across, Thumb.top}));
    EXPECT_EQ(Text(PartRect(sbpPageDown)), H ? Text(TRect{Thumb.right, 0, A + C.Track, Across})
                                             : Text(TRect{0, Thumb.bottom, Across, A + C.Track}));
    EXPECT_EQ(Text(PartRect(sbpLineUp)),
              H ? Text(TRect{0, 0, A, Across}) : Text(TRect{0, 0, Across, A}));
  }
}

TEST_F(ScrollBarModel, ABarShorterThanTwoArrowsSplitsItsLengthBetweenThem) {
  Bar->SetBounds(0, 0, 21, 17);
  EXPECT_EQ(Text(PartRect(sbpLineUp)), "0,0,10,17");
  EXPECT_EQ(Text(PartRect(sbpLineDown)), "11,0,21,17");
  EXPECT_TRUE(cxRectIsEmpty(PartRect(sbpThumbnail)));
}

TEST_F(ScrollBarModel, HitTestFindsTheFirstPartContainingThePoint) {
  const Integer A = GetSystemMetrics(SM_CYHSCROLL);
  Bar->SetBounds(0, 0, 2 * A + 100, A);
  Bar->SetScrollParams(0, 99, 50, 10);  // thumb from A + 50 to A + 60
  const struct {
    Integer X, Y;
    TcxScrollBarPart Part;
  } Points[] = {
      {0, 0, sbpLineUp},         {A - 1, A - 1, sbpLineUp},
      {A, 0, sbpPageUp},         {A + 49, 5, sbpPageUp},
      {A + 50, 5, sbpThumbnail}, {A + 59, 5, sbpThumbnail},
      {A + 60, 5, sbpPageDown},  {A + 99, 5, sbpPageDown},
      {A + 100, 5, sbpLineDown}, {2 * A + 99, 5, sbpLineDown},
      {2 * A + 100, 5, sbpNone}, {5, A, sbpNone},
      {-1, 5, sbpNone},
  };
  for (const auto& P : Points)
    EXPECT_EQ(Info()->GetPart(TPoint{P.X, P.Y}), P.Part) << P.X << ", " << P.Y;
}

TEST_F(ScrollBarModel, RightToLeftBarsMirrorThumbAndArrows) {
  const Integer A = GetSystemMetrics(SM_CYHSCROLL);
  Bar->SetBounds(0, 0, 2 * A + 100, A);
  Bar->SetBiDiMode(bdRightToLeft);
  Bar->SetScrollParams(0, 99, 0, 10);
  // The minimum lies next to the right arrow, which is the line-up part.
  EXPECT_EQ(Text(PartRect(sbpThumbnail)), Text(TRect{A + 90, 0, A + 100, A}));
  EXPECT_EQ(Text(PartRect(sbpLineUp)), Text(TRect{A + 100, 0, 2 * A + 100, A}));
  EXPECT_EQ(Text(PartRect(sbpLineDown)), Text(TRect{0, 0, A, A}));
  EXPECT_EQ(Text(PartRect(sbpPageDown)), Text(TRect{A, 0, A + 90, A}));
  EXPECT_TRUE(cxRectIsEmpty(PartRect(sbpPageUp)));
  // The left arrow increases the position.
  Bar->Helper()->Controller()->DoScroll(Info()->GetPart(TPoint{1, 1}));
  EXPECT_EQ(Bar->Position(), 1);
}

TEST_F(ScrollBarModel, InconsistentRangesRaiseAndChangeNothing) {
  Bar->SetScrollParams(0, 50, 10, 5);
  Log.Clear();
  const struct {
    const char* What;
    std::function<void()> Call;
  } Calls[] = {
      {"page larger than the range", [&] { Bar->SetScrollParams(0, 10, 5, 11); }},
      {"maximum below the minimum", [&] { Bar->SetScrollParams(10, 0, 5, 0); }},
      {"Max setter", [&] { Bar->SetMax(2); }},
      {"Min setter", [&] { Bar->SetMin(48); }},
      {"PageSize setter", [&] { Bar->SetPageSize(52); }},
  };
  for (const auto& C : Calls) {
    SCOPED_TRACE(C.What);
    try {
      C.Call();
      ADD_FAILURE() << "no error";
    } catch (const EInvalidOperation& E) {
      EXPECT_EQ(E.Message(), L"Scrollbar property out of range");
    }
    EXPECT_EQ(Bar->Min(), 0);
    EXPECT_EQ(Bar->Max(), 50);
    EXPECT_EQ(Bar->Position(), 10);
    EXPECT_EQ(Bar->PageSize(), 5);
  }
  EXPECT_TRUE(Log.Lines.empty()) << Joined(Log.Lines);
}

TEST_F(ScrollBarModel, PositionsAreClampedAndOnlyChangesAreReported) {
  Bar->SetPosition(250);
  EXPECT_EQ(Bar->Position(), 100);
  Bar->SetPosition(-3);
  EXPECT_EQ(Bar->Position(), 0);
  EXPECT_EQ(Joined(Log.Lines), "change 100; change 0; ");
  Log.Clear();
  Bar->SetScrollParams(Bar->Min(), Bar->Max(), Bar->Position(), Bar->PageSize());
  Bar->SetMax(100);
  EXPECT_TRUE(Log.Lines.empty()) << Joined(Log.Lines);
  // A range change alone moves no position and reports nothing.
  Bar->SetScrollParams(0, 200, 0, 20);
  EXPECT_TRUE(Log.Lines.empty()) << Joined(Log.Lines);
}

TEST_F(ScrollBarModel, ScrollCodesMoveByTheirStepsAndHandlersAreClamped) {
  Bar->SetScrollParams(0, 100, 50, 0);
  Bar->SetSmallChange(3);
  Bar->SetLargeChange(20);
  TcxScrollBarController* C = Bar->Helper()->Controller();
  const struct {
    TScrollCode Code;
    int Expected;
  } Steps[] = {{scLineDown, 53}, {scLineUp, 50}, {scPageDown, 70}, {scPageUp, 50},
               {scBottom, 100},  {scTop, 0},     {scLineUp, 0},    {scEndScroll, 0}};
  for (const auto& S : Steps) {
    C->InternalScroll(S.Code);
    EXPECT_EQ(Bar->Position(), S.Expected) << S.Code;
  }
  Log.Clear();
  Log.ForcePosition = 250;
  C->InternalScroll(scLineDown);
  EXPECT_EQ(Bar->Position(), 100);
  EXPECT_EQ(Joined(Log.Lines), "scroll linedown 3; change 100; ");
  // Tracking moves the position without a change report.
  Log.Clear();
  Log.ForcePosition = 40;
  C->InternalScroll(scTrack);
  EXPECT_EQ(Bar->Position(), 40);
  EXPECT_EQ(Joined(Log.Lines), "scroll track 100; ");
}

TEST_F(ScrollBarModel, KindChangesTheLayoutButNotTheSize) {
  Bar->SetBounds(0, 0, 121, 17);
  Bar->SetKind(sbVertical);
  EXPECT_EQ(Bar->Width(), 121);
  EXPECT_EQ(Bar->Height(), 17);
  EXPECT_EQ(Info()->Kind(), sbVertical);
  EXPECT_EQ(Text(PartRect(sbpLineUp)), "0,0,121,8");
}

TEST_F(ScrollBarModel, MouseEnterReportsOnlyTheBarItself) {
  int Entered = 0;
  struct TCounter {
    int* Count;
    void Hit(TObject*) { ++*Count; }
  } Counter{&Entered};
  Bar->OnMouseEnter = MakeEvent<&TCounter::Hit>(&Counter);
  TOwned<TcxScrollBar> Child(Create<TcxScrollBar>(nullptr));
  Bar->MouseEnter(Child.get());
  EXPECT_EQ(Entered, 0);
  Bar->MouseEnter(Bar.get());
  EXPECT_EQ(Entered, 1);
}

// A shown bar on a form, driven by injected input.
class ScrollBarInput : public ::testing::Test {
 protected:
  void SetUp() override {
    SendMouse(0, POINT{700, 500});
    Form.reset(Create<TForm>(nullptr, true));
    Form->SetBounds(100, 100, 400, 200);
    Bar = Create<TCountingScrollBar>(Form.get());
    UseUltraFlat(Bar);
    Bar->SetParent(Form.get());
    A = GetSystemMetrics(SM_CYHSCROLL);
    Bar->SetBounds(20, 40, 2 * A + 200, A);
    Bar->SetScrollParams(0, 99, 0, 10);  // thumb 20 px long at A
    Log.Bar = Bar;
    Bar->OnScroll = MakeEvent<&TEventLog::Scroll>(&Log);
    Bar->OnChange = MakeEvent<&TEventLog::Change>(&Log);
    Form->Show();
    SetForegroundWindow(Form->Handle());
    PumpWithoutTimers();
  }
  void TearDown() override {
    SendMouse(MOUSEEVENTF_LEFTUP);
    Form.reset();
    PumpWithoutTimers();
  }
  TcxScrollBarViewInfo* Info() { return Bar->Helper()->ViewInfo(); }
  TcxScrollBarController* Controller() { return Bar->Helper()->Controller(); }
  POINT Screen(Integer X, Integer Y) {
    TPoint P = Bar->ClientToScreen(TPoint{X, Y});
    return POINT{P.x, P.y};
  }
  // Moves the pointer over the bar (or anywhere while it holds the mouse)
  // and waits until the bar has seen the move.
  void MoveTo(Integer X, Integer Y) {
    POINT P = Screen(X, Y);
    SendMouse(0, P);
    ASSERT_TRUE(PumpUntilWithoutTimers([&] {
      return CursorAt(P) && Bar->LastMove == TPoint{X, Y};
    })) << X
        << ", " << Y;
  }
  void Press(Integer X, Integer Y) {
    MoveTo(X, Y);
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(PumpUntilWithoutTimers([&] { return GetCapture() == Bar->Handle(); }));
  }
  void Release() {
    SendMouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(PumpUntilWithoutTimers([&] { return GetCapture() != Bar->Handle(); }));
  }
  TOwned<TCustomForm> Form;
  TCountingScrollBar* Bar = nullptr;
  Integer A = 0;
  TEventLog Log;
};

TEST_F(ScrollBarInput, ArrowAndPageClicksStepOnceAndEndTheScroll) {
  const struct {
    const char* What;
    Integer X;
    const char* Events;
    Integer Position;
  } Clicks[] = {
      {"right arrow", 0, "scroll linedown 1; change 1; scroll end 1; ", 1},
      {"page right", 0, "scroll pagedown 11; change 11; scroll end 11; ", 11},
      {"left arrow", 0, "scroll lineup 10; change 10; scroll end 10; ", 10},
  };
  Bar->SetLargeChange(10);
  const Integer Xs[] = {2 * A + 195, A + 150, 3};
  for (size_t I = 0; I < std::size(Clicks); ++I) {
    SCOPED_TRACE(Clicks[I].What);
    Log.Clear();
    Press(Xs[I], A / 2);
    Release();
    EXPECT_EQ(Joined(Log.Lines), Clicks[I].Events);
    EXPECT_EQ(Bar->Position(), Clicks[I].Position);
  }
}

TEST_F(ScrollBarInput, TheRightButtonDoesNothing) {
  MoveTo(2 * A + 195, A / 2);
  int RightUps = 0;
  struct TUps {
    int* Count;
    void Up(TObject*, TMouseButton B, TShiftState, Integer, Integer) { *Count += B == mbRight; }
  } Ups{&RightUps};
  Bar->OnMouseUp = MakeEvent<&TUps::Up>(&Ups);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntilWithoutTimers([&] { return RightUps == 1; }));
  EXPECT_EQ(Bar->Position(), 0);
  EXPECT_EQ(Joined(Log.Lines), "");
}

TEST_F(ScrollBarInput, AHeldArrowRepeatsFirstAfter400ThenEvery60WhileOverIt) {
  TcxTimer* Timer = Controller()->Timer();
  Press(2 * A + 195, A / 2);
  EXPECT_EQ(Bar->Position(), 1);
  EXPECT_TRUE(Timer->Enabled());
  EXPECT_EQ(Timer->Interval(), 400u);
  Controller()->OnTimer(nullptr);
  EXPECT_EQ(Bar->Position(), 2);
  EXPECT_EQ(Timer->Interval(), 60u);
  EXPECT_TRUE(Timer->Enabled());
  // Off the arrow the repeat pauses, back on it it goes on.
  MoveTo(A + 100, A / 2);
  EXPECT_FALSE(Timer->Enabled());
  Controller()->OnTimer(nullptr);
  EXPECT_EQ(Bar->Position(), 3) << "a tick that was already due still steps";
  EXPECT_FALSE(Timer->Enabled());
  MoveTo(2 * A + 195, A / 2);
  EXPECT_TRUE(Timer->Enabled());
  Controller()->OnTimer(nullptr);
  EXPECT_EQ(Bar->Position(), 4);
  Release();
  EXPECT_FALSE(Timer->Enabled());
  EXPECT_EQ(Log.Lines.back(), "scroll end 4");
  // Without the capture a tick ends the scrolling.
  Log.Clear();
  Controller()->OnTimer(nullptr);
  EXPECT_EQ(Bar->Position(), 4);
  EXPECT_TRUE(Log.Lines.empty()) << Joined(Log.Lines);
}

TEST_F(ScrollBarInput, DraggingTheThumbTracksWithinTheZoneAndSnapsBackOutsideIt) {
  // 200 px of track, 20 px thumb, 90 free positions over 180 free pixels.
  Press(A + 10, A / 2);
  EXPECT_EQ(Joined(Log.Lines), "scroll track 0; ");
  Log.Clear();
  MoveTo(A + 50, A / 2);
  EXPECT_EQ(Text(Info()->ThumbnailBounds()), Text(Bounds(A + 40, 0, 20, A)));
  EXPECT_EQ(Bar->Position(), 20);
  EXPECT_EQ(Joined(Log.Lines), "scroll track 20; change 20; ");
  // Across the bar, still inside the 136 px zone.
  MoveTo(A + 50, A + 100);
  EXPECT_EQ(Bar->Position(), 20);
  // Beyond the end by 40 px: outside the 34 px zone, back to the start.
  Log.Clear();
  MoveTo(2 * A + 240, A / 2);
  EXPECT_EQ(Bar->Position(), 0);
  EXPECT_EQ(Text(Info()->ThumbnailBounds()), Text(Bounds(A, 0, 20, A)));
  EXPECT_EQ(Joined(Log.Lines), "change 0; scroll track 0; ");
  // Back inside at the coordinate handled last: the thumb follows again.
  MoveTo(A + 50, A / 2);
  EXPECT_EQ(Bar->Position(), 20);
  // Back at the press point: the thumb is where it started.
  MoveTo(A + 10, A / 2);
  EXPECT_EQ(Text(Info()->ThumbnailBounds()), Text(Bounds(A, 0, 20, A)));
  EXPECT_EQ(Bar->Position(), 0);
  MoveTo(A + 30, A / 2);
  Log.Clear();
  Release();
  EXPECT_EQ(Bar->Position(), 10);
  EXPECT_EQ(Joined(Log.Lines), "scroll position 10; scroll end 10; ");
}

TEST_F(ScrollBarInput, UnlimitedTrackingNeverSnapsBack) {
  Bar->SetUnlimitedTracking(true);
  Press(A + 10, A / 2);
  MoveTo(A + 110, A / 2);
  EXPECT_EQ(Bar->Position(), 50);
  MoveTo(A + 110, A + 300);
  EXPECT_EQ(Bar->Position(), 50);
  MoveTo(2 * A + 300, A / 2);
  EXPECT_EQ(Bar->Position(), 90);
  Release();
  EXPECT_EQ(Bar->Position(), 90);
}

TEST_F(ScrollBarInput, AThumbFillingTheWholeTrackKeepsThePositionOnRelease) {
  // An 8 px track holds the minimal thumb of 8 px: nothing left to move in.
  Bar->SetWidth(2 * A + 8);
  Bar->SetScrollParams(0, 10, 1, 10);
  ASSERT_EQ(cxRectWidth(Info()->ThumbnailBounds()), 8);
  Log.Clear();
  Press(A + 4, A / 2);
  MoveTo(A + 6, A / 2);
  Release();
  EXPECT_EQ(Bar->Position(), 1);
  EXPECT_EQ(Joined(Log.Lines), "scroll track 1; scroll position 1; scroll end 1; ");
}

TEST_F(ScrollBarInput, DisablingEndsADragAndShowsEveryPartDisabled) {
  Press(A + 10, A / 2);
  MoveTo(A + 50, A / 2);
  Log.Clear();
  Bar->SetEnabled(false);
  EXPECT_EQ(Log.Lines.back(), "scroll end 20");
  EXPECT_EQ(Info()->PressedPart(), sbpNone);
  for (TcxScrollBarPart Part : {sbpLineUp, sbpLineDown, sbpPageUp, sbpPageDown, sbpThumbnail})
    EXPECT_EQ(Info()->GetPartInfo(Part)->GetState(), cxbsDisabled) << Part;
  EXPECT_TRUE(cxRectIsEmpty(Info()->ThumbnailBounds()));
}

TEST_F(ScrollBarInput, HidingEndsADragAndCancelModeEndsARepeat) {
  Press(A + 10, A / 2);
  MoveTo(A + 50, A / 2);
  Log.Clear();
  Bar->Hide();
  EXPECT_EQ(Joined(Log.Lines), "scroll position 20; scroll end 20; ");
  EXPECT_EQ(Info()->PressedPart(), sbpNone);
  Release();
  Bar->Show();
  PumpWithoutTimers();
  Press(2 * A + 195, A / 2);
  ASSERT_TRUE(Controller()->Timer()->Enabled());
  Log.Clear();
  Bar->Perform(WM_CANCELMODE);
  EXPECT_FALSE(Controller()->Timer()->Enabled());
  EXPECT_EQ(Info()->PressedPart(), sbpNone);
  EXPECT_EQ(Joined(Log.Lines), "scroll end 21; ");
}

TEST_F(ScrollBarInput, OnlyRealChangesRepaint) {
  PumpWithoutTimers();
  Bar->Paints = 0;
  Bar->SetScrollParams(0, 99, 0, 10);
  RECT Update{};
  EXPECT_FALSE(GetUpdateRect(Bar->Handle(), &Update, FALSE));
  EXPECT_EQ(Bar->Paints, 0);
  // A change repaints at once, as thumb tracking needs.
  Bar->SetScrollParams(0, 99, 30, 10);
  EXPECT_EQ(Bar->Paints, 1);
  EXPECT_FALSE(GetUpdateRect(Bar->Handle(), &Update, FALSE));
}

TEST_F(ScrollBarInput, HotTrackingFollowsThePainter) {
  const struct {
    const char* What;
    TcxLookAndFeelKind Kind;
    bool HotThumb;
  } Painters[] = {{"UltraFlat", lfUltraFlat, true}, {"Standard", lfStandard, false}};
  for (const auto& P : Painters) {
    SCOPED_TRACE(P.What);
    Bar->LookAndFeel()->SetKind(P.Kind);
    MoveTo(A + 100, A / 2);
    PumpWithoutTimers();
    Bar->Paints = 0;
    MoveTo(A + 10, A / 2);
    EXPECT_EQ(Info()->HotPart(), sbpThumbnail);
    EXPECT_EQ(Info()->GetPartInfo(sbpThumbnail)->GetState(), P.HotThumb ? cxbsHot : cxbsNormal);
    EXPECT_EQ(Bar->Paints > 0, P.HotThumb) << Bar->Paints << " paints";
  }
}

// The bar's picture against the painter's parts drawn at the bar's rectangles.
TEST_F(ScrollBarInput, PaintsEveryPartThroughThePainterInItsState) {
  TcxCustomLookAndFeelPainter* Painter = Bar->LookAndFeel()->Painter();
  MoveTo(2 * A + 195, A / 2);  // the right arrow is hot
  const Integer W = Bar->Width(), H = Bar->Height();
  auto Shot = FilledBitmap(W, H, clWhite);
  Bar->PaintTo(Shot->Canvas()->Handle(), 0, 0);
  auto Expected = FilledBitmap(W, H, clWhite);
  TcxCanvas* C = Expected->cxCanvas();
  Painter->DrawScaledScrollBarBackground(C, Bar->ClientRect(), true, dxDefaultScaleFactor());
  const struct {
    TcxScrollBarPart Part;
    TcxButtonState State;
  } Parts[] = {{sbpLineUp, cxbsNormal},
               {sbpLineDown, cxbsHot},
               {sbpThumbnail, cxbsNormal},
               {sbpPageUp, cxbsNormal},
               {sbpPageDown, cxbsNormal}};
  for (const auto& P : Parts)
    Painter->DrawScaledScrollBarPart(C, true, Info()->GetPartInfo(P.Part)->Bounds(), P.Part,
                                     P.State, dxDefaultScaleFactor());
  EXPECT_EQ(Difference(Shot.get(), Expected.get()), "");
  // Where UltraFlat fixes them: the track's pattern of face and highlight.
  const Integer X = A + 100, Y = A / 2;
  const COLORREF Face = GetSysColor(COLOR_BTNFACE), Light = GetSysColor(COLOR_BTNHIGHLIGHT);
  EXPECT_EQ(PixelOf(Shot.get(), X, Y), (X % 2 == Y % 2) ? Face : Light);
  EXPECT_EQ(PixelOf(Shot.get(), X + 1, Y), (X % 2 == Y % 2) ? Light : Face);
}

TEST_F(ScrollBarInput, NativeThumbIsTheThemesThumbPart) {
  HTHEME Theme = OpenTheme(totScrollBar);
  if (!Theme) GTEST_SKIP() << "no visual style";
  Bar->LookAndFeel()->SetNativeStyle(true);
  dxFader()->SetState(fasDisabled);
  auto Restore = Finally([] { dxFader()->SetState(fasDefault); });
  PumpWithoutTimers();
  const TRect Thumb = Info()->ThumbnailBounds();
  auto Shot = FilledBitmap(Bar->Width(), Bar->Height(), clWhite);
  Bar->PaintTo(Shot->Canvas()->Handle(), 0, 0);
  auto Expected = FilledBitmap(Bar->Width(), Bar->Height(), clWhite);
  RECT R{Thumb.left, Thumb.top, Thumb.right, Thumb.bottom};
  // Part 2 is the horizontal thumb, state 1 normal.
  dxUxTheme::DrawThemeBackground(Theme, Expected->Canvas()->Handle(), 2, 1, &R, nullptr);
  // The thumb's ends, apart from the gripper in its middle.
  for (Integer X : {Thumb.left, Thumb.left + 2, Thumb.left + 4, Thumb.right - 5, Thumb.right - 3,
                    Thumb.right - 1})
    for (Integer Y : {Integer(1), A / 2, A - 2})
      EXPECT_EQ(PixelOf(Shot.get(), X, Y), PixelOf(Expected.get(), X, Y)) << X << ", " << Y;
}

// Thumbs against the platform's own scroll bar of the same size and range.
TEST_F(ScrollBarInput, ThumbsLieWithinAPixelOfThePlatformsThumbs) {
  const struct {
    TScrollBarKind Kind;
    Integer Length, Min, Max, Position, Page;
  } Cases[] = {
      {sbHorizontal, 300, 0, 99, 0, 10},  {sbHorizontal, 300, 0, 99, 45, 10},
      {sbHorizontal, 300, 0, 99, 90, 10}, {sbHorizontal, 250, 0, 999, 500, 300},
      {sbHorizontal, 250, -20, 20, 7, 5}, {sbVertical, 240, 0, 49, 13, 25},
      {sbVertical, 180, 0, 9, 9, 1},      {sbVertical, 400, 100, 200, 150, 60},
      {sbHorizontal, 300, 0, 100, 30, 0},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(::testing::Message() << C.Kind << " " << C.Length << " " << C.Min << ".." << C.Max
                                      << " at " << C.Position << " page " << C.Page);
    const bool H = C.Kind == sbHorizontal;
    const Integer Thick = H ? GetSystemMetrics(SM_CYHSCROLL) : GetSystemMetrics(SM_CXVSCROLL);
    Bar->SetKind(C.Kind);
    Bar->SetBounds(10, 10, H ? C.Length : Thick, H ? Thick : C.Length);
    Bar->SetScrollParams(C.Min, C.Max, C.Position, C.Page);
    HWND Peer = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | (H ? SBS_HORZ : SBS_VERT), 10,
                                10 + Thick + 10, H ? C.Length : Thick, H ? Thick : C.Length,
                                Form->Handle(), nullptr, nullptr, nullptr);
    ASSERT_TRUE(Peer);
    auto Destroy = Finally([&] { DestroyWindow(Peer); });
    SCROLLINFO SI{sizeof(SI), SIF_ALL, C.Min, C.Max, static_cast<UINT>(C.Page), C.Position, 0};
    SetScrollInfo(Peer, SB_CTL, &SI, FALSE);
    SCROLLBARINFO Info{};
    Info.cbSize = sizeof(Info);
    ASSERT_TRUE(SendMessageW(Peer, SBM_GETSCROLLBARINFO, 0, reinterpret_cast<LPARAM>(&Info)));
    const TRect Thumb = this->Info()->ThumbnailBounds();
    const Integer Start = H ? Thumb.left : Thumb.top, End = H ? Thumb.right : Thumb.bottom;
    EXPECT_NEAR(Start, Info.xyThumbTop, 1);
    EXPECT_NEAR(End, Info.xyThumbBottom, 1);
  }
}

}  // namespace
