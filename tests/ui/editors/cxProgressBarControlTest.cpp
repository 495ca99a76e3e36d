// The progress bar control on a form: its position and range rules, the
// listeners, the layout of every style and orientation, the pixels of the
// bar styles, the animation with its timers driven by the test, and the bar
// read from a form resource as the progress window carries it.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "EditcoreTestSupport.h"
#include "ExtEditTestSupport.h"
#include "Forms.h"
#include "cxProgressBar.h"
#include "dxUxTheme.h"
#include "ui/controls/ControlsTestSupport.h"
#include "ui/graphics/GraphicsTestSupport.h"

namespace {

using ControlsTest::CaptureWindow;
using ControlsTest::CreateForm;
using ControlsTest::ProcessMessages;

constexpr TColor kBack = static_cast<TColor>(RGB(255, 255, 255));
constexpr TColor kBar = static_cast<TColor>(RGB(0, 0, 128));
constexpr TColor kOver = static_cast<TColor>(RGB(255, 128, 128));
constexpr TColor kPeak = static_cast<TColor>(RGB(255, 0, 0));

std::string RectText(const TRect& R) {
  return std::to_string(R.left) + "," + std::to_string(R.top) + "," + std::to_string(R.right) +
         "," + std::to_string(R.bottom);
}

// A form with one borderless bar of the given size, classic look, white,
// without text unless a test turns it on.
class ProgressBarOnForm : public ::testing::Test {
 protected:
  void SetUp() override {
    // The pointer away from the bar: a hot bar takes the hot style (with its
    // own border), which these pictures are not about.
    SetCursorPos(900, 700);
    FForm.reset(CreateForm(300, 200));
    FBar = Create<TcxProgressBar>(FForm.get());
    FBar->SetAutoSize(false);
    FBar->SetParent(FForm.get());
    TcxCustomEditStyle* S = FBar->GetEditStyle();
    S->GetLookAndFeel()->SetNativeStyle(false);
    S->GetLookAndFeel()->SetKind(lfUltraFlat);
    S->SetEditBorderStyle(ebsNone);
    S->SetTransparentBorder(false);
    S->SetColor(kBack);
    FBar->GetProperties()->SetShowText(false);
  }
  void TearDown() override { FForm.reset(); }

  TcxProgressBar* Bar(Integer AWidth, Integer AHeight) {
    FBar->SetBounds(10, 10, AWidth, AHeight);
    ProcessMessages();
    return FBar;
  }
  TcxCustomProgressBarViewInfo* Info() { return FBar->ViewInfo(); }
  TcxProgressBarProperties* Props() { return FBar->GetProperties(); }

  // One row (or column) of the bar as painted on the screen: a character per
  // pixel by the legend, '?' for any other colour.
  std::string Line(Integer AIndex, bool ARow, const std::vector<std::pair<char, TColor>>& ALegend) {
    TOwned<TcxBitmap32> Shot = CaptureWindow(FBar);
    std::string S;
    const Integer N = ARow ? Shot->Width() : Shot->Height();
    for (Integer I = 0; I < N; ++I) {
      const COLORREF C = ARow ? PixelOf(Shot.get(), I, AIndex) : PixelOf(Shot.get(), AIndex, I);
      char Ch = '?';
      for (const auto& [Key, Color] : ALegend)
        if (dxColorToRGB(Color) == C) {
          Ch = Key;
          break;
        }
      S += Ch;
    }
    return S;
  }
  static std::string Run(char C, Integer N) { return std::string(static_cast<size_t>(N), C); }

  TOwned<TCustomForm> FForm;
  TcxProgressBar* FBar = nullptr;
};

// ---------------------------------------------------------------------------
// Value rules

TEST_F(ProgressBarOnForm, ANewBarShowsZeroPercentOfZeroToHundred) {
  Bar(121, 21);
  EXPECT_EQ(Props()->GetMin(), 0);
  EXPECT_EQ(Props()->GetMax(), 100);
  EXPECT_EQ(FBar->GetPosition(), 0);
  EXPECT_EQ(Info()->GetDrawText(), L"0 %");
  EXPECT_EQ(FBar->GetPercentDone(), 0);
}

TEST_F(ProgressBarOnForm, PositionsAreClampedIntoTheRangeAndStoredAsDoubles) {
  struct TCase {
    Double Min, Max, Set, Shown;
  };
  const TCase Cases[] = {
      {0, 100, 150, 100},
      {0, 100, -5, 0},
      {10, 60, 35, 35},
      {10, 60, 5, 10},
      {0, 100, 33.5, 33.5},
      // Without a range (Max = Min) nothing is clamped.
      {20, 20, 500, 500},
  };
  Bar(100, 10);
  for (const TCase& C : Cases) {
    Props()->SetMin(-1e9);
    Props()->SetMax(C.Max);
    Props()->SetMin(C.Min);
    FBar->SetPosition(C.Set);
    EXPECT_EQ(FBar->GetPosition(), C.Shown) << C.Set;
    EXPECT_EQ(VarType(FBar->GetEditValue()), varDouble);
    EXPECT_EQ(FBar->GetEditValue().AsDouble(), C.Shown) << C.Set;
  }
}

TEST_F(ProgressBarOnForm, RaisingMinBringsTheStoredValueIntoTheRange) {
  Bar(100, 10);
  FBar->SetPosition(5);
  Props()->SetMin(10);
  EXPECT_EQ(FBar->GetEditValue().AsDouble(), 10);
  FBar->SetPosition(50);
  Props()->SetMax(40);
  EXPECT_EQ(FBar->GetEditValue().AsDouble(), 40);
  EXPECT_EQ(FBar->GetPosition(), 40);
}

TEST_F(ProgressBarOnForm, PercentagesAndTextsFollowTheStyleAndMarquee) {
  struct TCase {
    Double Position;
    TcxProgressBarTextStyle Style;
    bool Marquee;
    const wchar_t* Text;
  };
  const TCase Cases[] = {
      {33.5, cxtsPercent, false, L"34 %"},  {32.5, cxtsPercent, false, L"32 %"},
      {99.7, cxtsPercent, false, L"100 %"}, {12, cxtsText, false, L"working"},
      {12, cxtsPercent, true, L"working"},
  };
  Bar(100, 10);
  for (const TCase& C : Cases) {
    Props()->SetMarquee(C.Marquee);
    Props()->SetText(L"");
    Props()->SetShowTextStyle(C.Style);
    if (C.Style == cxtsText || C.Marquee) Props()->SetText(L"working");
    FBar->SetPosition(C.Position);
    EXPECT_EQ(Info()->GetDrawText(), C.Text) << C.Position;
    Props()->SetMarquee(false);
    Props()->SetText(L"");
    Props()->SetShowTextStyle(cxtsPercent);
  }
}

// ---------------------------------------------------------------------------
// Listeners

struct TListenerLog {
  std::vector<std::string> Calls;
  TcxCustomProgressBar* Bar = nullptr;
  TcxProgressBarListener* ToDrop = nullptr;
  void First(TObject* Sender) {
    Calls.push_back(Sender == Bar ? "first" : "first?");
    if (ToDrop) Bar->UnRegisterListener(ToDrop);
  }
  void Second(TObject*) { Calls.push_back("second"); }
};

TEST_F(ProgressBarOnForm, ListenersHearEveryPositionAndSettingsChangeInOrder) {
  Bar(100, 10);
  TListenerLog Log;
  Log.Bar = FBar;
  TcxProgressBarListener A(FBar), B(FBar);
  A.OnChanged = MakeEvent<&TListenerLog::First>(&Log);
  B.OnChanged = MakeEvent<&TListenerLog::Second>(&Log);
  FBar->RegisterListener(&A);
  FBar->RegisterListener(&B);
  FBar->SetPosition(150);
  EXPECT_EQ(Log.Calls, (std::vector<std::string>{"first", "second"}));
  // The drawn position is 100, so 150 again is a change and is told again.
  Log.Calls.clear();
  FBar->SetPosition(150);
  EXPECT_EQ(Log.Calls, (std::vector<std::string>{"first", "second"}));
  Log.Calls.clear();
  Props()->SetMarquee(true);
  EXPECT_EQ(Log.Calls, (std::vector<std::string>{"first", "second"}));
  // A listener that unlinks another while it is told: the other is not told.
  Log.Calls.clear();
  Log.ToDrop = &B;
  FBar->SetPosition(10);
  EXPECT_EQ(Log.Calls, (std::vector<std::string>{"first"}));
  FBar->UnRegisterListener(&A);
  Log.Calls.clear();
  FBar->SetPosition(20);
  EXPECT_TRUE(Log.Calls.empty());
}

TEST_F(ProgressBarOnForm, TheBarAnswersItsLinkWithTheActiveSettings) {
  Bar(100, 10);
  IcxProgressBarLink* Link = cxGetProgressBarLink(FBar);
  ASSERT_NE(Link, nullptr);
  Props()->SetMax(60);
  Props()->SetMin(10);
  FBar->SetPosition(35);
  EXPECT_EQ(Link->GetLinkMin(), 10);
  EXPECT_EQ(Link->GetLinkMax(), 60);
  EXPECT_EQ(Link->GetLinkPosition(), 35);
  Link->SetLinkMarquee(true);
  EXPECT_TRUE(Props()->GetMarquee());
  Link->SetLinkMax(80);
  EXPECT_EQ(Props()->GetMax(), 80);
  // The edit value as it is: not clamped.
  Link->SetLinkEditValue(500);
  EXPECT_EQ(FBar->GetEditValue().AsDouble(), 500);
  EXPECT_EQ(cxGetProgressBarLink(FForm.get()), nullptr);
}

// ---------------------------------------------------------------------------
// Layout

TEST_F(ProgressBarOnForm, FilledPartOverloadAndPeakRectangles) {
  struct TCase {
    const char* Name;
    Integer W, H;
    void (*Setup)(TcxProgressBarProperties*);
    Double Position;
    const char *Progress, *Overload, *Peak;
  };
  const TCase Cases[] = {
      {"horizontal", 40, 10, [](TcxProgressBarProperties*) {}, 25, "0,0,10,10", "", ""},
      {"vertical fills upward", 10, 40,
       [](TcxProgressBarProperties* P) { P->SetOrientation(cxorVertical); }, 25, "0,30,10,40", "",
       ""},
      {"border width", 40, 10, [](TcxProgressBarProperties* P) { P->SetBorderWidth(2); }, 50,
       "2,2,20,8", "", ""},
      {"overload", 40, 10, [](TcxProgressBarProperties* P) { P->SetShowOverload(true); }, 90,
       "0,0,32,10", "32,0,36,10", ""},
      {"below the overload", 40, 10, [](TcxProgressBarProperties* P) { P->SetShowOverload(true); },
       70, "0,0,28,10", "", ""},
      {"vertical overload", 10, 40,
       [](TcxProgressBarProperties* P) {
         P->SetOrientation(cxorVertical);
         P->SetShowOverload(true);
       },
       90, "0,8,10,40", "0,4,10,8", ""},
      {"peak", 40, 10,
       [](TcxProgressBarProperties* P) {
         P->SetShowPeak(true);
         P->SetPeakSize(3);
       },
       50, "0,0,20,10", "", "20,0,23,10"},
      {"peak at the end stays inside", 40, 10,
       [](TcxProgressBarProperties* P) { P->SetShowPeak(true); }, 100, "0,0,40,10", "",
       "38,0,40,10"},
      {"vertical peak", 10, 40,
       [](TcxProgressBarProperties* P) {
         P->SetOrientation(cxorVertical);
         P->SetShowPeak(true);
       },
       50, "0,20,10,40", "", "0,18,10,20"},
      {"marquee fills the content", 40, 10,
       [](TcxProgressBarProperties* P) { P->SetMarquee(true); }, 10, "0,0,40,10", "", ""},
  };
  for (const TCase& C : Cases) {
    TOwned<TcxProgressBarProperties> Fresh(Create<TcxProgressBarProperties>(nullptr));
    Fresh->SetShowText(false);
    FBar->SetPosition(0);
    Props()->Assign(Fresh.get());
    C.Setup(Props());
    Bar(C.W, C.H);
    FBar->SetPosition(C.Position);
    ProcessMessages();
    EXPECT_EQ(RectText(Info()->ProgressBarRect), C.Progress) << C.Name;
    EXPECT_EQ(Info()->RealShowOverload() ? RectText(Info()->OverloadBarRect) : "", C.Overload)
        << C.Name;
    EXPECT_EQ(Info()->RealShowPeak() ? RectText(Info()->PeakBarRect) : "", C.Peak) << C.Name;
  }
}

TEST_F(ProgressBarOnForm, APositionFarBeyondAnEmptyRangeFillsTheBarWithoutOverflow) {
  Bar(40, 10);
  Props()->SetMax(20);
  Props()->SetMin(20);
  for (Double V : {1e300, -1e300, std::numeric_limits<Double>::infinity()}) {
    FBar->SetPosition(V);
    ProcessMessages();
    const TRect R = Info()->ProgressBarRect;
    if (V > 0) {
      EXPECT_GE(R.right, 40) << V;
      EXPECT_LE(R.right, 1000) << V;
      EXPECT_EQ(Info()->GetDrawText(), L"100 %");
    } else {
      EXPECT_LE(R.right, 0) << V;
      EXPECT_GE(R.right, -1000) << V;
    }
  }
}

TEST_F(ProgressBarOnForm, APeakStaysAtTheHighestPositionReached) {
  Bar(40, 10);
  Props()->SetShowPeak(true);
  FBar->SetPosition(75);
  FBar->SetPosition(25);
  ProcessMessages();
  EXPECT_EQ(Props()->GetPeakValue(), 75);
  EXPECT_EQ(RectText(Info()->PeakBarRect), "30,0,32,10");
  EXPECT_EQ(Line(5, true, {{'b', kBar}, {'w', kBack}, {'p', kPeak}}),
            Run('b', 10) + Run('w', 20) + "pp" + Run('w', 8));
}

// A change that moves no pixel and shows no text does not invalidate the bar.
TEST_F(ProgressBarOnForm, APositionThatMovesNoPixelPaintsNothing) {
  Bar(40, 10);
  Props()->SetMax(1000);
  FBar->SetPosition(500);
  ProcessMessages();
  ValidateRect(FBar->Handle(), nullptr);
  FBar->SetPosition(501);  // 20.04 pixels: still 20
  ProcessMessages();
  RECT U;
  EXPECT_FALSE(GetUpdateRect(FBar->Handle(), &U, false));
  FBar->SetPosition(600);
  EXPECT_TRUE(GetUpdateRect(FBar->Handle(), &U, false));
  // With a text the percentage may change: always painted.
  ProcessMessages();
  Props()->SetShowText(true);
  ProcessMessages();
  ValidateRect(FBar->Handle(), nullptr);
  FBar->SetPosition(601);
  EXPECT_TRUE(GetUpdateRect(FBar->Handle(), &U, false));
}

// ---------------------------------------------------------------------------
// Pixels

TEST_F(ProgressBarOnForm, SolidLEDsOverloadAndDirections) {
  struct TCase {
    const char* Name;
    Integer W, H;
    void (*Setup)(TcxProgressBarProperties*);
    bool RightToLeft;
    Double Position;
    Integer Index;
    bool Row;
    std::string Expected;
  };
  auto R = [](char C, Integer N) { return std::string(static_cast<size_t>(N), C); };
  const TCase Cases[] = {
      {"solid", 40, 10, [](TcxProgressBarProperties*) {}, false, 25, 5, true,
       R('b', 10) + R('w', 30)},
      {"right to left fills from the right", 40, 10, [](TcxProgressBarProperties*) {}, true, 25, 5,
       true, R('w', 30) + R('b', 10)},
      {"vertical fills from the bottom", 10, 40,
       [](TcxProgressBarProperties* P) { P->SetOrientation(cxorVertical); }, false, 25, 5, false,
       R('w', 30) + R('b', 10)},
      // A 22-pixel bar: blocks of 16, 14 lit and 2 dark.
      {"LEDs of a 22-pixel bar", 60, 22,
       [](TcxProgressBarProperties* P) { P->SetBarStyle(cxbsLEDs); }, false, 100, 11, true,
       R('b', 14) + "ww" + R('b', 14) + "ww" + R('b', 14) + "ww" + R('b', 12)},
      {"vertical LEDs count from the bottom", 22, 60,
       [](TcxProgressBarProperties* P) {
         P->SetBarStyle(cxbsLEDs);
         P->SetOrientation(cxorVertical);
       },
       false, 100, 11, false,
       R('b', 12) + "ww" + R('b', 14) + "ww" + R('b', 14) + "ww" + R('b', 14)},
      {"overload beyond 80 %", 40, 10,
       [](TcxProgressBarProperties* P) { P->SetShowOverload(true); }, false, 90, 5, true,
       R('b', 32) + R('o', 4) + R('w', 4)},
      {"border width leaves a gap", 40, 10,
       [](TcxProgressBarProperties* P) { P->SetBorderWidth(2); }, false, 100, 5, true,
       "ww" + R('b', 36) + "ww"},
  };
  for (const TCase& C : Cases) {
    TOwned<TcxProgressBarProperties> Fresh(Create<TcxProgressBarProperties>(nullptr));
    Fresh->SetShowText(false);
    Props()->Assign(Fresh.get());
    FBar->SetPosition(0);
    FBar->SetBiDiMode(C.RightToLeft ? bdRightToLeft : bdLeftToRight);
    C.Setup(Props());
    Bar(C.W, C.H);
    FBar->SetPosition(C.Position);
    ProcessMessages();
    EXPECT_EQ(Line(C.Index, C.Row, {{'b', kBar}, {'w', kBack}, {'o', kOver}}), C.Expected)
        << C.Name;
  }
}

TEST_F(ProgressBarOnForm, AGradientColoursByPlaceInTheWholeBar) {
  Bar(100, 10);
  Props()->SetBarStyle(cxbsGradient);
  Props()->SetBeginColor(static_cast<TColor>(RGB(0, 0, 0)));
  Props()->SetEndColor(static_cast<TColor>(RGB(0, 200, 0)));
  FBar->SetPosition(30);
  ProcessMessages();
  TOwned<TcxBitmap32> Short = CaptureWindow(FBar);
  FBar->SetPosition(60);
  ProcessMessages();
  TOwned<TcxBitmap32> Long = CaptureWindow(FBar);
  for (Integer X = 0; X < 30; ++X)
    EXPECT_EQ(PixelOf(Short.get(), X, 5), PixelOf(Long.get(), X, 5)) << X;
  EXPECT_EQ(PixelOf(Long.get(), 0, 5), RGB(0, 0, 0));
  // Green rises along the bar up to the fill's end (about 60 % of 200).
  EXPECT_NEAR(GetGValue(PixelOf(Long.get(), 59, 5)), 118, 3);
  EXPECT_EQ(PixelOf(Long.get(), 60, 5), dxColorToRGB(kBack));
  EXPECT_LT(GetGValue(PixelOf(Long.get(), 10, 5)), GetGValue(PixelOf(Long.get(), 50, 5)));
}

TEST_F(ProgressBarOnForm, LoweredAndRaisedBevelsAroundTheFill) {
  struct TCase {
    TcxProgressBarBevelOuter Bevel;
    TColor TopLeft, BottomRight;
  };
  const TCase Cases[] = {{cxbvLowered, clBtnShadow, clBtnHighlight},
                         {cxbvRaised, clBtnHighlight, clBtnShadow}};
  Bar(40, 10);
  FBar->SetPosition(50);
  for (const TCase& C : Cases) {
    Props()->SetBarBevelOuter(C.Bevel);
    ProcessMessages();
    TOwned<TcxBitmap32> Shot = CaptureWindow(FBar);
    EXPECT_EQ(PixelOf(Shot.get(), 0, 5), dxColorToRGB(C.TopLeft));
    EXPECT_EQ(PixelOf(Shot.get(), 5, 0), dxColorToRGB(C.TopLeft));
    EXPECT_EQ(PixelOf(Shot.get(), 19, 5), dxColorToRGB(C.BottomRight));
    EXPECT_EQ(PixelOf(Shot.get(), 5, 9), dxColorToRGB(C.BottomRight));
    EXPECT_EQ(PixelOf(Shot.get(), 5, 5), dxColorToRGB(kBar));
    EXPECT_EQ(PixelOf(Shot.get(), 20, 5), dxColorToRGB(kBack));
  }
}

TEST_F(ProgressBarOnForm, ABitmapIsTiledOverTheFill) {
  TOwned<TBitmap> Tile = MakeOwned<TBitmap>();
  Tile->SetSize(2, 1);
  Tile->Canvas()->SetPixel(0, 0, kPeak);
  Tile->Canvas()->SetPixel(1, 0, kBar);
  Bar(40, 10);
  Props()->SetTransparentImage(false);
  Props()->SetForegroundImage(Tile.get());
  Props()->SetBarStyle(cxbsBitmap);
  FBar->SetPosition(25);
  ProcessMessages();
  std::string Fill;
  for (Integer I = 0; I < 5; ++I) Fill += "pb";
  EXPECT_EQ(Line(3, true, {{'b', kBar}, {'w', kBack}, {'p', kPeak}}), Fill + Run('w', 30));
}

TEST_F(ProgressBarOnForm, TextIsCentredAndSplitAtTheChunksEdge) {
  Bar(120, 20);
  Props()->SetShowText(true);
  Props()->SetText(L"IIIIIIII");
  FBar->SetPosition(0);
  ProcessMessages();
  TOwned<TcxBitmap32> Empty = CaptureWindow(FBar);
  // The text's ink lies within the middle of the bar, symmetric within a
  // pixel.
  Integer First = -1, Last = -1;
  for (Integer X = 0; X < Empty->Width(); ++X)
    for (Integer Y = 0; Y < Empty->Height(); ++Y)
      if (PixelOf(Empty.get(), X, Y) != dxColorToRGB(kBack)) {
        if (First < 0) First = X;
        Last = X;
      }
  ASSERT_GE(First, 0);
  EXPECT_LE(std::abs(First - (119 - Last)), 2) << First << " " << Last;
}

// ---------------------------------------------------------------------------
// Animation

TEST_F(ProgressBarOnForm, TheAnimationSegmentMovesSixPixelsATickAtSpeedThree) {
  Bar(200, 20);
  Props()->SetBarStyle(cxbsAnimation);
  Props()->SetAnimationSpeed(3);
  FBar->SetPosition(50);  // a fill of 100 pixels
  ProcessMessages();
  ASSERT_NE(Info()->AnimationTimer(), nullptr);
  EXPECT_EQ(Info()->AnimationTimer()->Interval(), 30u);
  EXPECT_EQ(Info()->GetAnimationBarDimension(), 50);
  EXPECT_EQ(Info()->AnimationPosition(), 0);
  // The segment enters from before the start of the fill.
  EXPECT_EQ(RectText(Info()->GetCorrectAnimationBarRect()), "-50,0,0,20");
  Info()->DoAnimationTimer(nullptr);
  EXPECT_EQ(Info()->AnimationPosition(), 6);
  EXPECT_EQ(RectText(Info()->GetCorrectAnimationBarRect()), "-44,0,6,20");
  // Cycle: the path is the fill (100) plus the segment; beyond it, back to 0.
  for (Integer I = 0; I < 24; ++I) Info()->DoAnimationTimer(nullptr);
  EXPECT_EQ(Info()->AnimationPosition(), 150);
  Info()->DoAnimationTimer(nullptr);
  EXPECT_EQ(Info()->AnimationPosition(), 0);
  EXPECT_EQ(Info()->AnimationDirection(), 1);
}

TEST_F(ProgressBarOnForm, PingPongReversesAndWaitsAtEachEnd) {
  Bar(200, 20);
  Props()->SetBarStyle(cxbsAnimation);
  Props()->SetAnimationSpeed(5);  // 10 pixels a tick
  Props()->SetAnimationPath(cxapPingPong);
  Props()->SetAnimationRestartDelay(500);
  FBar->SetPosition(50);  // a fill of 100 pixels
  ProcessMessages();
  ASSERT_NE(Info()->AnimationTimer(), nullptr);
  // The path is the fill less the segment: 50.
  for (Integer I = 0; I < 5; ++I) Info()->DoAnimationTimer(nullptr);
  EXPECT_EQ(Info()->AnimationPosition(), 50);
  EXPECT_EQ(Info()->AnimationRestartDelayTimer(), nullptr);
  Info()->DoAnimationTimer(nullptr);
  EXPECT_EQ(Info()->AnimationPosition(), 50);
  EXPECT_EQ(Info()->AnimationDirection(), -1);
  ASSERT_NE(Info()->AnimationRestartDelayTimer(), nullptr);
  EXPECT_EQ(Info()->AnimationRestartDelayTimer()->Interval(), 500u);
  // Waiting: ticks do not move it.
  Info()->DoAnimationTimer(nullptr);
  EXPECT_EQ(Info()->AnimationPosition(), 50);
  Info()->DoAnimationRestartDelayTimer(nullptr);
  EXPECT_EQ(Info()->AnimationRestartDelayTimer(), nullptr);
  Info()->DoAnimationTimer(nullptr);
  EXPECT_EQ(Info()->AnimationPosition(), 40);
  for (Integer I = 0; I < 5; ++I) Info()->DoAnimationTimer(nullptr);
  EXPECT_EQ(Info()->AnimationPosition(), 0);
  EXPECT_EQ(Info()->AnimationDirection(), 1);
  EXPECT_NE(Info()->AnimationRestartDelayTimer(), nullptr);
}

TEST_F(ProgressBarOnForm, SpeedZeroStopsTheAnimationAndAPositiveSpeedRestartsIt) {
  Bar(200, 20);
  Props()->SetBarStyle(cxbsAnimation);
  Props()->SetAnimationSpeed(3);
  FBar->SetPosition(50);  // a fill of 100 pixels
  ProcessMessages();
  Info()->DoAnimationTimer(nullptr);
  Info()->DoAnimationTimer(nullptr);
  ASSERT_EQ(Info()->AnimationPosition(), 12);
  Props()->SetAnimationSpeed(0);
  ProcessMessages();
  EXPECT_TRUE(Info()->AnimationTimer() == nullptr || !Info()->AnimationTimer()->Enabled());
  Info()->DoAnimationTimer(nullptr);
  EXPECT_EQ(Info()->AnimationTimer(), nullptr);
  Props()->SetAnimationSpeed(3);
  ASSERT_NE(Info()->AnimationTimer(), nullptr);
  EXPECT_TRUE(Info()->AnimationTimer()->Enabled());
  EXPECT_EQ(Info()->AnimationPosition(), 0);
}

TEST_F(ProgressBarOnForm, TheLightSegmentBrightensTheBarTowardItsCentre) {
  Bar(200, 30);
  Props()->SetBarStyle(cxbsAnimation);
  Props()->SetAnimationSpeed(3);
  FBar->SetPosition(100);
  ProcessMessages();
  TOwned<TcxBitmap32> Plain = CaptureWindow(FBar);
  // Centre of the segment at x = 50: position 75 puts it at 25..75.
  for (Integer I = 0; I < 13; ++I) Info()->DoAnimationTimer(nullptr);
  ASSERT_EQ(Info()->AnimationPosition(), 78);
  ProcessMessages();
  TOwned<TcxBitmap32> Lit = CaptureWindow(FBar);
  const Integer Y = 20;  // below the highlight band
  const COLORREF Base = PixelOf(Plain.get(), 53, Y);
  const COLORREF Centre = PixelOf(Lit.get(), 53, Y);
  EXPECT_EQ(Centre, dxColorToRGB(dxGetLighterColor(static_cast<TColor>(Base), 60)));
  // Outside the segment nothing changed; the empty part is untouched.
  EXPECT_EQ(PixelOf(Lit.get(), 10, Y), PixelOf(Plain.get(), 10, Y));
  EXPECT_EQ(PixelOf(Lit.get(), 150, Y), PixelOf(Plain.get(), 150, Y));
}

TEST_F(ProgressBarOnForm, TheSegmentScalesWithTheResolution) {
  Bar(200, 20);
  Props()->SetBarStyle(cxbsAnimation);
  FBar->ScaleForPPI(144);
  ProcessMessages();
  EXPECT_EQ(Info()->GetAnimationBarDimension(), 75);
}

// The themed chunk strip and the marquee segment are pictures of the theme:
// a theme change must not leave the old ones on the screen.
TEST_F(ProgressBarOnForm, AThemeChangeDropsTheCachedThemedPictures) {
  if (!AreVisualStylesAvailable(totProgress) || !dxThemeChangedReceiverHandle())
    GTEST_SKIP() << "no theme for progress bars here";
  Bar(200, 20);
  FBar->GetEditStyle()->GetLookAndFeel()->SetNativeStyle(true);
  Props()->SetBarStyle(cxbsGradient);
  FBar->SetPosition(50);
  ProcessMessages();
  CaptureWindow(FBar);
  ASSERT_NE(Info()->NativeBitmap(), nullptr);
  SendMessageW(dxThemeChangedReceiverHandle(), WM_THEMECHANGED, 0, 0);
  EXPECT_EQ(Info()->NativeBitmap(), nullptr);
  EXPECT_EQ(Info()->MarqueeBitmap(), nullptr);
  // Painted again, the strip is made from the theme in force.
  CaptureWindow(FBar);
  EXPECT_NE(Info()->NativeBitmap(), nullptr);
}

// Painted natively, the track and the chunk are the theme's progress parts.
TEST_F(ProgressBarOnForm, TheNativeTrackAndChunkAreTheThemesProgressParts) {
  HTHEME Theme = OpenTheme(totProgress);
  if (!Theme) GTEST_SKIP() << "no theme for progress bars here";
  Bar(200, 20);
  FBar->GetEditStyle()->GetLookAndFeel()->SetNativeStyle(true);
  FBar->SetPosition(50);
  ProcessMessages();
  TOwned<TcxBitmap32> Shot = CaptureWindow(FBar);
  // The track: part 1 over the whole bar; the chunk: part 3 stretched from a
  // one-pixel strip over the content (3 pixels in at the left and top, 2 at
  // the right and bottom).
  TOwned<TcxBitmap32> Track(TcxBitmap32::CreateSize(200, 20));
  const RECT All{0, 0, 200, 20};
  dxUxTheme::DrawThemeBackground(Theme, Track->cxCanvas()->Handle(), 1, 1, &All, nullptr);
  TOwned<TcxBitmap32> Strip(TcxBitmap32::CreateSize(1, 15));
  const RECT One{0, 0, 1, 15};
  dxUxTheme::DrawThemeBackground(Theme, Strip->cxCanvas()->Handle(), 3, 1, &One, nullptr);
  for (Integer Y = 0; Y < 20; ++Y) {
    EXPECT_EQ(PixelOf(Shot.get(), 150, Y), PixelOf(Track.get(), 150, Y)) << Y;
    EXPECT_EQ(PixelOf(Shot.get(), 1, Y), PixelOf(Track.get(), 1, Y)) << Y;
  }
  // Content 3..198 wide: half of 195 is 97 pixels of chunk.
  for (Integer Y = 3; Y < 18; ++Y) {
    EXPECT_EQ(PixelOf(Shot.get(), 50, Y), PixelOf(Strip.get(), 0, Y - 3)) << Y;
    EXPECT_EQ(PixelOf(Shot.get(), 99, Y), PixelOf(Strip.get(), 0, Y - 3)) << Y;
  }
  EXPECT_EQ(PixelOf(Shot.get(), 101, 10), PixelOf(Track.get(), 101, 10));
}

}  // namespace
