// Track bars, the range control, breadcrumbs, alert-window buttons, the pin
// and the zoom buttons, against outlines and shapes worked out by hand.
#include <optional>
#include <string>
#include <vector>

#include "LookAndFeelTestSupport.h"
#include "PainterElements.h"

namespace {

std::string Rows(std::initializer_list<const char*> ARows) {
  std::string S;
  for (const char* R : ARows) S += std::string(R) + '\n';
  return S;
}

class TrackBarPixels : public ::testing::Test {
 protected:
  void SetUp() override { Colors.emplace(ClassicColors()); }
  void TearDown() override { Colors.reset(); }
  std::optional<TInjectedSysColors> Colors;
};

// Records the bevel the base painter hands over instead of drawing it.
class TBevelProbe : public TcxStandardLookAndFeelPainter {
 public:
  void DrawTrackBarThumbBorderUpDown(TcxCanvas*, const TcxArrowPoints& ALight,
                                     const TcxArrowPoints& AShadow,
                                     const TcxArrowPoints& ADark) override {
    Light = ALight;
    Shadow = AShadow;
    Dark = ADark;
  }
  void DrawTrackBarThumbBorderBoth(TcxCanvas*, const TRect& ARect) override { Both = ARect; }
  TcxArrowPoints Light, Shadow, Dark;
  TRect Both = cxNullRect;
};

struct TOutlineCase {
  const char* Name;
  bool Horizontal;
  TcxTrackBarTicksAlign Ticks;
  TcxArrowPoints Light, Dark, Shadow;
};

TEST_F(TrackBarPixels, PointedThumbOutlinesFollowTheTable) {
  // 10 x 20 standing and 20 x 10 lying thumbs at (2, 3): the point of the
  // standing one with ticks below is at (L + 5, B), its shoulders at B - 5.
  const TRect Standing = cxRect(2, 3, 12, 23), Lying = cxRect(2, 3, 22, 13);
  const TOutlineCase Cases[] = {
      {"down",
       true,
       tbtaDown,
       {{12, 3}, {2, 3}, {2, 18}, {7, 23}},
       {{7, 23}, {12, 18}, {12, 3}},
       {{7, 22}, {11, 18}, {11, 3}}},
      {"right",
       false,
       tbtaDown,
       {{2, 13}, {2, 3}, {17, 3}, {22, 8}},
       {{22, 8}, {17, 13}, {2, 13}},
       {{21, 8}, {17, 12}, {2, 12}}},
      {"up",
       true,
       tbtaUp,
       {{2, 22}, {2, 7}, {7, 2}},
       {{7, 2}, {12, 7}, {12, 22}, {2, 22}},
       {{7, 3}, {11, 7}, {11, 21}, {2, 21}}},
      {"left",
       false,
       tbtaUp,
       {{21, 3}, {6, 3}, {1, 8}},
       {{1, 8}, {6, 13}, {21, 13}, {21, 3}},
       {{2, 8}, {6, 12}, {20, 12}, {20, 3}}},
  };
  TBevelProbe Probe;
  for (const TOutlineCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TPaintTarget T(30, 30);
    Probe.DrawTrackBarThumb(T.Canvas(), C.Horizontal ? Standing : Lying, cxbsNormal, C.Horizontal,
                            C.Ticks, clBtnFace);
    EXPECT_EQ(Probe.Light, C.Light);
    EXPECT_EQ(Probe.Dark, C.Dark);
    EXPECT_EQ(Probe.Shadow, C.Shadow);
  }
  // With ticks on both sides the thumb is the plain rectangle.
  TPaintTarget T(30, 30);
  Probe.DrawTrackBarThumb(T.Canvas(), Standing, cxbsHot, true, tbtaBoth, clBtnFace);
  EXPECT_EQ(Probe.Both, Standing);
  EXPECT_EQ(T.Pixel(2, 3), kBtnFace);
  EXPECT_EQ(T.Pixel(11, 22), kBtnFace);
  EXPECT_EQ(T.Pixel(12, 23), RGB(255, 255, 255));
}

TEST_F(TrackBarPixels, RangeThumbsAreHalfOutlinesOneShorterTowardsThePoint) {
  // The thumbs are passed (2, 3, 13, 23) and (2, 3, 22, 14): the drawn
  // rectangle loses a pixel on the side the point faces.
  const TRect Standing = cxRect(2, 3, 13, 23), Lying = cxRect(2, 3, 22, 14);
  struct TCase {
    const char* Name;
    bool Left;
    TOutlineCase Outline;
  };
  const TCase Cases[] = {
      {"left down",
       true,
       {"",
        true,
        tbtaDown,
        {{12, 3}, {2, 3}, {2, 13}, {12, 23}},
        {{12, 23}, {12, 3}},
        {{11, 22}, {11, 13}, {11, 3}}}},
      {"left up",
       true,
       {"",
        true,
        tbtaUp,
        {{2, 22}, {2, 12}, {12, 2}},
        {{12, 2}, {12, 22}, {2, 22}},
        {{11, 3}, {11, 21}, {2, 21}}}},
      {"right down",
       false,
       {"",
        true,
        tbtaDown,
        {{12, 3}, {2, 3}, {2, 23}},
        {{2, 23}, {12, 13}, {12, 3}},
        {{2, 22}, {11, 13}, {11, 3}}}},
      {"right up",
       false,
       {"",
        true,
        tbtaUp,
        {{2, 22}, {2, 2}},
        {{2, 2}, {12, 12}, {12, 22}, {2, 22}},
        {{2, 3}, {11, 12}, {11, 21}, {2, 21}}}},
      {"left right-pointing",
       true,
       {"",
        false,
        tbtaDown,
        {{2, 13}, {2, 3}, {12, 3}, {22, 13}},
        {{22, 13}, {2, 13}},
        {{21, 12}, {2, 12}}}},
      {"left left-pointing",
       true,
       {"",
        false,
        tbtaUp,
        {{21, 3}, {11, 3}, {1, 13}},
        {{1, 13}, {21, 13}, {21, 3}},
        {{2, 12}, {20, 12}, {20, 3}}}},
      {"right right-pointing",
       false,
       {"",
        false,
        tbtaDown,
        {{2, 13}, {2, 3}, {22, 3}},
        {{22, 3}, {12, 13}, {2, 13}},
        {{21, 3}, {12, 12}, {2, 12}}}},
      {"right left-pointing",
       false,
       {"",
        false,
        tbtaUp,
        {{21, 3}, {1, 3}},
        {{1, 3}, {11, 13}, {21, 13}, {21, 3}},
        {{2, 3}, {11, 12}, {20, 12}, {20, 3}}}},
  };
  TBevelProbe Probe;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TPaintTarget T(30, 30);
    const TOutlineCase& O = C.Outline;
    const TRect R = O.Horizontal ? Standing : Lying;
    if (C.Left)
      Probe.DrawRangeTrackBarLeftThumb(T.Canvas(), R, cxbsNormal, O.Horizontal, O.Ticks, clBtnFace);
    else
      Probe.DrawRangeTrackBarRightThumb(T.Canvas(), R, cxbsNormal, O.Horizontal, O.Ticks,
                                        clBtnFace);
    EXPECT_EQ(Probe.Light, O.Light);
    EXPECT_EQ(Probe.Dark, O.Dark);
    EXPECT_EQ(Probe.Shadow, O.Shadow);
  }
  Probe.DrawRangeTrackBarLeftThumb(TPaintTarget(30, 30).Canvas(), Standing, cxbsNormal, true,
                                   tbtaBoth, clBtnFace);
  EXPECT_EQ(Probe.Both, Standing);
}

// The platform's drawing of a pointed thumb: the face polygon in the thumb's
// colour, then each bevel line as an open polyline.
void PlatformThumb(HDC DC, const TcxArrowPoints& APolygon,
                   const std::vector<std::pair<TcxArrowPoints, COLORREF>>& ALines) {
  {
    TBrushHandle B(CreateSolidBrush(kBtnFace));
    TPenHandle Pen(CreatePen(PS_SOLID, 1, kBtnFace));
    TSelectObjectGuard SelectB(DC, B.Get());
    TSelectObjectGuard SelectP(DC, Pen.Get());
    Polygon(DC, APolygon.data(), static_cast<int>(APolygon.size()));
  }
  for (const auto& [Points, Color] : ALines) {
    TPenHandle Pen(CreatePen(PS_SOLID, 1, Color));
    TSelectObjectGuard SelectP(DC, Pen.Get());
    Polyline(DC, Points.data(), static_cast<int>(Points.size()));
  }
}

TEST_F(TrackBarPixels, EachLookBevelsTheThumbInItsColours) {
  // The thumb pointing down at (2, 3, 12, 23): face polygon and the three
  // lines of the table.
  const TcxArrowPoints Polygon{{11, 4}, {3, 4}, {3, 18}, {7, 22}, {11, 18}};
  const TcxArrowPoints Light{{12, 3}, {2, 3}, {2, 18}, {7, 23}}, Dark{{7, 23}, {12, 18}, {12, 3}},
      Shadow{{7, 22}, {11, 18}, {11, 3}};
  struct TCase {
    const char* Name;
    TcxLookAndFeelStyle Style;
    std::vector<std::pair<TcxArrowPoints, COLORREF>> Lines;
  };
  const TCase Cases[] = {
      {"standard",
       lfsStandard,
       {{Light, kBtnHighlight}, {Shadow, kBtnShadow}, {Dark, k3DDkShadow}}},
      {"flat", lfsFlat, {{Light, kBtnHighlight}, {Dark, kBtnShadow}}},
      {"ultra flat", lfsUltraFlat, {{Light, kWindowText}, {Dark, kWindowText}}},
      {"office 11", lfsOffice11, {{Light, kBtnText}, {Dark, kBtnText}}},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TPaintTarget Ours(16, 28), Platform(16, 28);
    PainterOf(C.Style)->DrawTrackBarThumb(Ours.Canvas(), cxRect(2, 3, 12, 23), cxbsNormal, true,
                                          tbtaDown, clBtnFace);
    PlatformThumb(Platform.DC(), Polygon, C.Lines);
    EXPECT_EQ(Difference(Ours.Bitmap(), Platform.Bitmap()), "");
  }
  // The Standard track: a sunken double frame.
  TPaintTarget Track(20, 8);
  StandardPainter()->DrawTrackBarTrack(Track.Canvas(), cxRect(0, 0, 20, 8), cxNullRect, false, true,
                                       true, clBtnFace);
  EXPECT_EQ(Track.Pixel(0, 0), kBtnShadow);
  EXPECT_EQ(Track.Pixel(19, 7), kBtnHighlight);
  EXPECT_EQ(Track.Pixel(1, 1), k3DDkShadow);
  EXPECT_EQ(Track.Pixel(18, 6), k3DLight);
  EXPECT_EQ(Track.Pixel(5, 3), kBtnFace);
}

// How dark each column of row Y is, 0 for white.
std::vector<int> ColumnDarkness(const TPaintTarget& T, int Y) {
  std::vector<int> D;
  for (int X = 0; X < T.Width(); ++X) D.push_back(255 - GetGValue(T.Pixel(X, Y)));
  return D;
}

// The columns where the darkness peaks above AThreshold (plateaus count
// once, at their left end).
std::vector<int> Peaks(const std::vector<int>& D, int AThreshold) {
  std::vector<int> P;
  for (size_t X = 1; X + 1 < D.size(); ++X)
    if (D[X] > AThreshold && D[X] > D[X - 1] && D[X] >= D[X + 1]) P.push_back(static_cast<int>(X));
  return P;
}

TEST_F(TrackBarPixels, RangeControlThumbGripAndRulerHeader) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  const TColor Border = static_cast<TColor>(0x000000);
  // 96 DPI: the block of 5 x 11 centred in 11 x 19 has its grip lines at
  // columns 3, 5 and 7 from row 4 to row 14.
  TPaintTarget Thumb(11, 19, static_cast<TColor>(RGB(1, 2, 3)));
  P->DrawRangeControlScaledLeftThumb(Thumb.Canvas(), cxRect(0, 0, 11, 19), clDefault, Border,
                                     dxDefaultScaleFactor());
  EXPECT_EQ(Peaks(ColumnDarkness(Thumb, 9), 128), (std::vector<int>{3, 5, 7}));
  EXPECT_EQ(Thumb.Pixel(4, 9), RGB(255, 255, 255));
  for (int Y : {4, 14}) EXPECT_LT(GetGValue(Thumb.Pixel(5, Y)), 128) << Y;
  for (int Y : {3, 15}) EXPECT_GT(GetGValue(Thumb.Pixel(5, Y)), 128) << Y;
  // At 150 % the lines are MulDiv(2, 3, 2) = 3 pixels apart, 1.5 pixels wide.
  TdxScaleFactor OneAndHalf;
  OneAndHalf.Assign(3, 2, false);
  TPaintTarget Large(17, 29);
  P->DrawRangeControlScaledRightThumb(Large.Canvas(), cxRect(0, 0, 17, 29), clDefault, Border,
                                      &OneAndHalf);
  std::vector<int> Inner = Peaks(ColumnDarkness(Large, 14), 60);
  // Each 1.5-pixel line covers two whole columns.
  for (int X : Inner) EXPECT_EQ(ColumnDarkness(Large, 14)[X + 1], 255) << X;
  ASSERT_EQ(Inner.size(), 3u);
  EXPECT_EQ(Inner[1] - Inner[0], 3);
  EXPECT_EQ(Inner[2] - Inner[1], 3);

  // The ruler header in the default colour: white, or $FFE2EAFD when hot,
  // with its left column and bottom row in the border colour.
  const TColor Default = static_cast<TColor>(dxAlphaColorValue(dxacDefault));
  for (bool Hot : {false, true}) {
    TPaintTarget H(30, 12, clRed);
    P->DrawRangeControlScaledRulerHeader(H.Canvas(), cxRect(0, 0, 30, 12), Hot, Default,
                                         static_cast<TColor>(0x102030), dxDefaultScaleFactor());
    EXPECT_EQ(H.Pixel(15, 5), Hot ? RGB(0xE2, 0xEA, 0xFD) : RGB(255, 255, 255)) << Hot;
    EXPECT_EQ(H.Pixel(0, 5), RGB(0x30, 0x20, 0x10));
    EXPECT_EQ(H.Pixel(15, 11), RGB(0x30, 0x20, 0x10));
    EXPECT_EQ(H.Pixel(29, 5), Hot ? RGB(0xE2, 0xEA, 0xFD) : RGB(255, 255, 255));
  }
  // The sizing glyph: one line in the middle column, s(2) short at each end.
  TPaintTarget Glyph(5, 9);
  P->DrawRangeControlScaledSizingGlyph(Glyph.Canvas(), cxRect(0, 0, 5, 9), Border,
                                       dxDefaultScaleFactor());
  EXPECT_EQ(Glyph.Shape(RGB(0, 0, 0)),
            ".....\n.....\n..#..\n..#..\n..#..\n..#..\n..#..\n.....\n.....\n");
  EXPECT_EQ(P->GetRangeControlScaledThumbSize(&OneAndHalf), (TSize{17, 29}));
  EXPECT_EQ(P->GetRangeControlScaledSizingGlyphSize(dxDefaultScaleFactor()), (TSize{5, 9}));
}

// ---------------------------------------------------------------------------
// Breadcrumbs, alert window, pin, zoom
TEST_F(TrackBarPixels, QuietBreadcrumbButtonsDrawNothing) {
  for (TcxLookAndFeelStyle S : {lfsUltraFlat, lfsOffice11, lfsNative})
    for (TdxBreadcrumbEditButtonState St : {dxbcbsNormal, dxbcbsDisabled}) {
      SCOPED_TRACE(std::to_string(S) + " " + BreadcrumbButtonStateName(St));
      TPaintTarget T(24, 20, static_cast<TColor>(RGB(1, 2, 3)));
      PainterOf(S)->DrawBreadcrumbEditScaledButton(T.Canvas(), cxRect(0, 0, 24, 20), St, true,
                                                   false, dxDefaultScaleFactor());
      EXPECT_EQ(T.Shape(RGB(1, 2, 3)).find('.'), std::string::npos);
    }
  // A hot UltraFlat button that is first: its face, and a frame only on the
  // right, where the next button begins.
  TPaintTarget Hot(24, 20);
  UltraFlatPainter()->DrawBreadcrumbEditScaledButton(Hot.Canvas(), cxRect(0, 0, 24, 20), dxbcbsHot,
                                                     true, false, dxDefaultScaleFactor());
  EXPECT_EQ(Hot.Pixel(23, 10), kHighlight);
  EXPECT_NE(Hot.Pixel(0, 10), kHighlight);
  EXPECT_NE(Hot.Pixel(10, 0), kHighlight);
  EXPECT_EQ(Hot.Pixel(10, 10), dxColorToRGB(UltraFlatPainter()->ButtonColor(cxbsHot)));
  // The Standard look raises hot buttons and sinks pressed ones.
  for (TdxBreadcrumbEditButtonState St : {dxbcbsHot, dxbcbsPressed}) {
    TPaintTarget T(24, 20);
    StandardPainter()->DrawBreadcrumbEditButton(T.Canvas(), cxRect(0, 0, 24, 20), St, false, false);
    EXPECT_EQ(T.Pixel(0, 0), St == dxbcbsHot ? kBtnHighlight : kBtnShadow);
    EXPECT_EQ(T.Pixel(23, 19), St == dxbcbsHot ? kBtnShadow : kBtnHighlight);
  }
}

TEST_F(TrackBarPixels, AlertButtonsPinsAndZoomButtons) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  const TdxScaleFactor* F = dxDefaultScaleFactor();
  // A custom button has no glyph: only its face.
  EXPECT_EQ(P->AlertWindowScaledButtonGlyphSize(awbkCustom, F), (TSize{0, 0}));
  EXPECT_EQ(P->AlertWindowScaledButtonGlyphSize(awbkClose, F), (TSize{10, 10}));
  TPaintTarget Custom(16, 16), Face(16, 16);
  P->DrawAlertWindowScaledButton(Custom.Canvas(), cxRect(0, 0, 16, 16), cxbsNormal, awbkCustom, F);
  P->DrawScaledButton(Face.Canvas(), cxRect(0, 0, 16, 16), String(), cxbsNormal, F, true, clDefault,
                      clDefault, false, false, cxbpButton);
  EXPECT_EQ(Difference(Custom.Bitmap(), Face.Bitmap()), "");
  // A pin button that is down is drawn pressed with the pin standing.
  TPaintTarget Down(16, 16), Pressed(16, 16);
  P->DrawAlertWindowScaledButton(Down.Canvas(), cxRect(0, 0, 16, 16), cxbsHot, awbkPin, F, true);
  P->DrawScaledButton(Pressed.Canvas(), cxRect(0, 0, 16, 16), String(), cxbsPressed, F, true,
                      clDefault, clDefault, false, false, cxbpButton);
  P->DrawPin(Pressed.Canvas(), cxRect(3, 3, 13, 13), P->ButtonSymbolColor(cxbsPressed), true);
  EXPECT_EQ(Difference(Down.Bitmap(), Pressed.Bitmap()), "");

  // The pin in 10 x 10: head 5 x 5 (a frame, its right half filled), plate
  // 9 x 1 and needle 1 x 5, each overlapping the one before by a pixel.
  TPaintTarget Pinned(10, 10), Lying(10, 10);
  P->DrawPin(Pinned.Canvas(), cxRect(0, 0, 10, 10), clBlack, true);
  P->DrawPin(Lying.Canvas(), cxRect(0, 0, 10, 10), clBlack, false);
  EXPECT_EQ(Pinned.Shape(RGB(0, 0, 0)),
            Rows({"..#####...", "..#.###...", "..#.###...", "..#.###...", "#########.",
                  "....#.....", "....#.....", "....#.....", "....#.....", ".........."}));
  EXPECT_EQ(Lying.Shape(RGB(0, 0, 0)),
            Rows({".....#....", ".....#....", ".....#####", ".....#...#", ".#########",
                  ".....#####", ".....#####", ".....#....", ".....#....", ".........."}));

  // Zoom in at 96 DPI, 15 x 15: a plus whose arms end 3 pixels inside.
  TPaintTarget Zoom(15, 15);
  P->DrawScaledZoomInButton(Zoom.Canvas(), cxRect(0, 0, 15, 15), cxbsNormal, F);
  const COLORREF Symbol = dxColorToRGB(P->ButtonSymbolColor(cxbsNormal));
  EXPECT_EQ(Zoom.RunStarts(7, Symbol), (std::vector<int>{3}));
  std::vector<int> Widths;
  Zoom.RunStarts(7, Symbol, &Widths);
  EXPECT_EQ(Widths, (std::vector<int>{9}));
  for (int Y = 0; Y < 15; ++Y) EXPECT_EQ(Zoom.Pixel(7, Y) == Symbol, Y >= 3 && Y < 12) << Y;
  // Zoom out has no vertical arm, and a disabled one is drawn in shadow.
  TPaintTarget Out(15, 15);
  P->DrawZoomOutButton(Out.Canvas(), cxRect(0, 0, 15, 15), cxbsDisabled);
  EXPECT_EQ(Out.Pixel(7, 4) == kBtnShadow, false);
  EXPECT_EQ(Out.Pixel(4, 7), kBtnShadow);
  EXPECT_EQ(P->GetScaledZoomInButtonSize(F), (TSize{15, 15}));
}

// ---------------------------------------------------------------------------
// The Native look
TEST(NativeTrackBars, TrackAndThumbsAgainstThePlatformsTheme) {
  TOracleTheme Theme(L"TrackBar");
  if (!Theme.Handle()) GTEST_SKIP() << "no track-bar theme";
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  // Thumb parts by ticks (up, down, both), vertical then horizontal; states
  // by button state.
  const int Parts[3][2] = {{7, 5}, {8, 4}, {6, 3}};
  const int States[] = {2, 1, 2, 3, 5};
  for (bool Horizontal : {true, false}) {
    SCOPED_TRACE(Horizontal ? "horizontal" : "vertical");
    TRect R = Horizontal ? cxRect(2, 2, 62, 8) : cxRect(2, 2, 8, 62);
    TPaintTarget Ours(64, 64), Platform(64, 64);
    N->DrawTrackBarTrack(Ours.Canvas(), R, cxNullRect, false, true, Horizontal, clBtnFace);
    RECT Rc = R;
    dxUxTheme::DrawThemeBackground(Theme.Handle(), Platform.DC(), Horizontal ? 1 : 2, 1, &Rc,
                                   nullptr);
    EXPECT_EQ(Difference(Ours.Bitmap(), Platform.Bitmap()), "");
    for (int T = 0; T < 3; ++T)
      for (TcxButtonState St : AllButtonStates) {
        SCOPED_TRACE(std::to_string(T) + " " + ButtonStateName(St));
        TRect Thumb = Horizontal ? cxRect(2, 2, 13, 24) : cxRect(2, 2, 24, 13);
        TPaintTarget O(28, 28), Pl(28, 28);
        N->DrawTrackBarThumb(O.Canvas(), Thumb, St, Horizontal,
                             static_cast<TcxTrackBarTicksAlign>(T), clBtnFace);
        RECT Tc = Thumb;
        dxUxTheme::DrawThemeBackground(Theme.Handle(), Pl.DC(), Parts[T][Horizontal], States[St],
                                       &Tc, nullptr);
        EXPECT_EQ(Difference(O.Bitmap(), Pl.Bitmap()), "");
      }
  }
}

TEST(NativeTrackBars, ThemedElementsByTheirTablesAndTheirFallbacks) {
  TInjectedSysColors Colors(ClassicColors());
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  {
    TFakeThemeScope Themes(true);
    // A range thumb is the themed thumb with ticks on both sides, a pixel
    // longer towards the other thumb from Windows Vista on.
    TPaintTarget T(30, 30);
    N->DrawRangeTrackBarLeftThumb(T.Canvas(), cxRect(2, 2, 13, 24), cxbsPressed, true, tbtaDown,
                                  clBtnFace);
    ASSERT_EQ(Themes.Theme().Draws.size(), 1u);
    EXPECT_EQ(Themes.Theme().Draws[0].ClassName, L"TrackBar");
    EXPECT_EQ(Themes.Theme().Draws[0].Part, 3);
    EXPECT_EQ(Themes.Theme().Draws[0].State, 3);
    EXPECT_EQ(Themes.Theme().Draws[0].Rect, cxRect(2, 2, IsWinVistaOrLater ? 14 : 13, 24));
    // Breadcrumb buttons: nothing when quiet, the push button otherwise.
    const int ButtonStates[] = {0, 1, 2, 3, 0};
    for (int S = 0; S < 5; ++S) {
      Themes.Theme().Draws.clear();
      N->DrawBreadcrumbEditButton(T.Canvas(), cxRect(0, 0, 24, 20),
                                  static_cast<TdxBreadcrumbEditButtonState>(S), true, false);
      if (ButtonStates[S] == 0) {
        EXPECT_TRUE(Themes.Theme().Draws.empty()) << S;
        continue;
      }
      ASSERT_EQ(Themes.Theme().Draws.size(), 1u) << S;
      EXPECT_EQ(Themes.Theme().Draws[0].ClassName, L"Button");
      EXPECT_EQ(Themes.Theme().Draws[0].Part, 1);
      EXPECT_EQ(Themes.Theme().Draws[0].State, ButtonStates[S]);
    }
    // Zoom buttons: the push button in the button state's theme state.
    Themes.Theme().Draws.clear();
    N->DrawZoomInButton(T.Canvas(), cxRect(0, 0, 20, 20), cxbsHot);
    ASSERT_FALSE(Themes.Theme().Draws.empty());
    EXPECT_EQ(Themes.Theme().Draws[0].ClassName, L"Button");
    EXPECT_EQ(Themes.Theme().Draws[0].State, 2);
    EXPECT_EQ(N->AlertWindowCornerRadius(), 5);
  }
  {
    // Without the track-bar and button classes each element draws as the
    // look it inherits.
    TFakeThemeScope Themes(true, {L"TrackBar", L"Button"});
    TPaintTarget Ours(16, 28), Inherited(16, 28);
    N->DrawTrackBarThumb(Ours.Canvas(), cxRect(2, 3, 12, 23), cxbsNormal, true, tbtaDown,
                         clBtnFace);
    N->inherited::DrawTrackBarScaledThumb(Inherited.Canvas(), cxRect(2, 3, 12, 23), cxbsNormal,
                                          true, tbtaDown, clBtnFace, dxSystemScaleFactor());
    EXPECT_EQ(Difference(Ours.Bitmap(), Inherited.Bitmap()), "");
    EXPECT_NE(Ours.Shape(kBtnFace).find('#'), std::string::npos);
    TRect Corrected = cxRect(0, 0, 10, 20);
    N->CorrectThumbRect(Ours.Canvas(), Corrected, true, tbtaDown);
    EXPECT_EQ(Corrected, cxRect(0, 0, 11, 21));
    TPaintTarget Z1(15, 15), Z2(15, 15);
    N->DrawZoomOutButton(Z1.Canvas(), cxRect(0, 0, 15, 15), cxbsNormal);
    N->inherited::DrawScaledZoomOutButton(Z2.Canvas(), cxRect(0, 0, 15, 15), cxbsNormal,
                                          dxSystemScaleFactor());
    EXPECT_EQ(Difference(Z1.Bitmap(), Z2.Bitmap()), "");
    EXPECT_EQ(N->GetScaledZoomInButtonSize(dxDefaultScaleFactor()), (TSize{15, 15}));
  }
}

}  // namespace
