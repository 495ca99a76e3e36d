// Calendars, the modern clock and its hands, galleries, the rating control,
// wheel pickers, rich-edit colours and tokens.
#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "LookAndFeelTestSupport.h"
#include "PainterElements.h"

namespace {

class CalendarPixels : public ::testing::Test {
 protected:
  void SetUp() override { Colors.emplace(ClassicColors()); }
  void TearDown() override { Colors.reset(); }
  std::optional<TInjectedSysColors> Colors;
};

TEST(ModernClockHands, AnglesAndEndsFollowTheTable) {
  const double Pi = std::numbers::pi;
  struct TCase {
    Word H, M, S;
    double Hour, Minute, Second;  // angles in radians
  };
  const TCase Cases[] = {
      // At noon every hand points up: a quarter turn back from pointing right.
      {12, 0, 0, -Pi / 2, -Pi / 2, -Pi / 2},
      {0, 0, 0, -Pi / 2, -Pi / 2, -Pi / 2},
      // Three o'clock: the hour hand points right.
      {15, 0, 0, 0, -Pi / 2, -Pi / 2},
      // 10:10:30: (10 * 3600 + 600 + 30 - 10800) / 43200 of a turn and so on.
      {10, 10, 30, 2 * Pi * 25830 / 43200, 2 * Pi * -270 / 3600, 2 * Pi * 15 / 60},
      {6, 45, 45, 2 * Pi * 13545 / 43200, 2 * Pi * 1845 / 3600, 2 * Pi * 30 / 60},
  };
  const double Widths[] = {1.8, 1.8, 1}, Starts[] = {0.05, 0.05, 0.1}, Ends[] = {0.55, 0.7, 0.745};
  // A rectangle of 100 x 60 at (10, 20): centre (60, 50), radii 50 and 30.
  const TRect R = cxRect(10, 20, 110, 80);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(std::to_string(C.H) + ":" + std::to_string(C.M) + ":" + std::to_string(C.S));
    auto Hands = cxModernClockHands(R, EncodeTime(C.H, C.M, C.S, 0));
    const double Angles[] = {C.Hour, C.Minute, C.Second};
    for (int I = 0; I < 3; ++I) {
      EXPECT_NEAR(Hands[I].Angle, Angles[I], 1e-9) << I;
      EXPECT_EQ(Hands[I].Width, Widths[I]);
      EXPECT_NEAR(Hands[I].Start.X, 60 - Starts[I] * 50 * std::cos(Angles[I]), 1e-3) << I;
      EXPECT_NEAR(Hands[I].Start.Y, 50 - Starts[I] * 30 * std::sin(Angles[I]), 1e-3) << I;
      EXPECT_NEAR(Hands[I].Finish.X, 60 + Ends[I] * 50 * std::cos(Angles[I]), 1e-3) << I;
      EXPECT_NEAR(Hands[I].Finish.Y, 50 + Ends[I] * 30 * std::sin(Angles[I]), 1e-3) << I;
    }
  }
  // Noon in a square of 100: the second hand reaches from 5 below the
  // centre to 37.25 above it.
  auto Noon = cxModernClockHands(cxRect(0, 0, 100, 100), EncodeTime(12, 0, 0, 0));
  EXPECT_NEAR(Noon[2].Start.Y, 55, 1e-4);
  EXPECT_NEAR(Noon[2].Finish.Y, 12.75, 1e-4);
  EXPECT_NEAR(Noon[2].Finish.X, 50, 1e-4);
}

// The dark pixels of a drawing, as a bounding box.
TRect DarkBox(const TPaintTarget& T, int AThreshold = 160) {
  TRect Box = cxRect(T.Width(), T.Height(), -1, -1);
  for (int Y = 0; Y < T.Height(); ++Y)
    for (int X = 0; X < T.Width(); ++X)
      if (GetGValue(T.Pixel(X, Y)) < AThreshold) {
        Box.left = std::min<LONG>(Box.left, X);
        Box.top = std::min<LONG>(Box.top, Y);
        Box.right = std::max<LONG>(Box.right, X + 1);
        Box.bottom = std::max<LONG>(Box.bottom, Y + 1);
      }
  return Box;
}

TEST_F(CalendarPixels, HandsAreLinesAlongTheirAnglesInPensOfTheFactor) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  // Noon: one vertical stroke from 5 below the centre up to the second
  // hand's end, 12.75 from the top.
  TPaintTarget Noon(100, 100);
  P->DrawModernClockHands(Noon.Canvas(), cxRect(0, 0, 100, 100), EncodeTime(12, 0, 0, 0), clBlack);
  TRect Box = DarkBox(Noon);
  EXPECT_GE(Box.left, 48);
  EXPECT_LE(Box.right, 52);
  EXPECT_NEAR(Box.top, 13, 1);
  EXPECT_NEAR(Box.bottom, 55, 1);
  // A quarter past three: hour and minute hands point right, the second
  // hand (at 0 seconds) up; nothing lies left of the centre's neighbourhood
  // or below it.
  TPaintTarget Quarter(100, 100);
  P->DrawModernClockHands(Quarter.Canvas(), cxRect(0, 0, 100, 100), EncodeTime(3, 15, 0, 0),
                          clBlack);
  Box = DarkBox(Quarter);
  EXPECT_GE(Box.left, 43);
  EXPECT_NEAR(Box.right, 85, 1);
  EXPECT_LE(Box.bottom, 57);
  EXPECT_NEAR(Box.top, 13, 1);
  // The unscaled form is the 96 DPI drawing; at 3/2 the pens are wider.
  TPaintTarget Scaled(100, 100), Wide(100, 100);
  P->DrawScaledModernClockHands(Scaled.Canvas(), cxRect(0, 0, 100, 100), EncodeTime(12, 0, 0, 0),
                                clBlack, dxDefaultScaleFactor());
  EXPECT_EQ(Difference(Noon.Bitmap(), Scaled.Bitmap()), "");
  TdxScaleFactor Thrice;
  Thrice.Assign(3, 1, false);
  P->DrawScaledModernClockHands(Wide.Canvas(), cxRect(0, 0, 100, 100), EncodeTime(12, 0, 0, 0),
                                clBlack, &Thrice);
  auto Darkness = [](const TPaintTarget& T) {
    int D = 0;
    for (int X = 40; X < 60; ++X) D += 255 - GetGValue(T.Pixel(X, 40));
    return D;
  };

  EXPECT_GT(Darkness(Wide), Darkness(Noon));
}

TEST_F(CalendarPixels, TheModernClockIsFaceHandsAndGlassOverItsBackground) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  EXPECT_EQ(P->GetClockFace()->Size(), (TSize{130, 130}));
  EXPECT_EQ(P->GetClockGlass()->Size(), (TSize{130, 130}));
  EXPECT_EQ(P->GetClockFace(), P->GetClockFace());
  // The corners lie outside the round face: they keep the background, the
  // canvas's own for clNone.
  TPaintTarget Filled(130, 130), Canvas(130, 130, static_cast<TColor>(RGB(1, 200, 3)));
  P->DrawModernCalendarClock(Filled.Canvas(), cxRect(0, 0, 130, 130), EncodeTime(12, 0, 0, 0),
                             static_cast<TColor>(RGB(200, 10, 10)), dxDefaultScaleFactor());
  P->DrawModernCalendarClock(Canvas.Canvas(), cxRect(0, 0, 130, 130), EncodeTime(12, 0, 0, 0),
                             clNone, dxDefaultScaleFactor());
  EXPECT_EQ(Filled.Pixel(1, 1), RGB(200, 10, 10));
  EXPECT_EQ(Canvas.Pixel(1, 1), RGB(1, 200, 3));
  EXPECT_EQ(Canvas.Pixel(128, 128), RGB(1, 200, 3));
  // The hands in $464646 under the glass: the centre column above the hub
  // is dark, a point at the same height off the hands is not.
  EXPECT_LT(GetGValue(Canvas.Pixel(65, 40)), 120);
  EXPECT_GT(GetGValue(Canvas.Pixel(40, 40)), 120);
  // The Office 11 and Native looks draw this clock for their clock.
  for (TcxLookAndFeelStyle S : {lfsOffice11, lfsNative}) {
    TPaintTarget Theirs(130, 130, static_cast<TColor>(RGB(1, 200, 3)));
    PainterOf(S)->DrawScaledClock(Theirs.Canvas(), cxRect(0, 0, 130, 130), EncodeTime(12, 0, 0, 0),
                                  clNone, dxDefaultScaleFactor());
    EXPECT_EQ(Difference(Theirs.Bitmap(), Canvas.Bitmap()), "") << S;
    TdxScaleFactor OneAndHalf;
    OneAndHalf.Assign(3, 2, false);
    EXPECT_EQ(PainterOf(S)->ScaledClockSize(&OneAndHalf), (TSize{195, 195}));
  }
}

TEST_F(CalendarPixels, ModernCellsArrowsAndHeaders) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  struct TCase {
    TcxCalendarElementStates States;
    COLORREF Border, Fill;
  };
  const TCase Cases[] = {{{cesSelected, cesHot}, RGB(0x66, 0xA7, 0xE8), RGB(0xD1, 0xE8, 0xFF)},
                         {{cesSelected, cesFocused}, RGB(0x26, 0xA0, 0xDA), RGB(0xCB, 0xE8, 0xF6)},
                         {{cesSelected}, RGB(0xDE, 0xDE, 0xDE), RGB(0xF7, 0xF7, 0xF7)},
                         {{cesHot}, RGB(0x70, 0xC0, 0xE7), RGB(0xE5, 0xF3, 0xFB)}};
  for (const TCase& C : Cases) {
    TPaintTarget T(20, 16);
    P->DrawModernCalendarDateCellSelection(T.Canvas(), cxRect(0, 0, 20, 16), C.States);
    EXPECT_EQ(T.Pixel(0, 0), C.Border);
    EXPECT_EQ(T.Pixel(19, 15), C.Border);
    EXPECT_EQ(T.Pixel(10, 8), C.Fill);
  }
  // Marked only: a frame in the marked colour and nothing inside.
  TPaintTarget Marked(20, 16);
  P->DrawModernCalendarDateCellSelection(Marked.Canvas(), cxRect(0, 0, 20, 16), {cesMarked});
  EXPECT_EQ(Marked.Pixel(0, 8), dxColorToRGB(clHotLight));
  EXPECT_EQ(Marked.Pixel(10, 8), RGB(255, 255, 255));

  // Text colours.
  EXPECT_EQ(P->GetModernCalendarCellTextColor({cesDisabled, cesHot}), clGrayText);
  EXPECT_EQ(P->GetModernCalendarCellTextColor({cesHot}), clHotLight);
  EXPECT_EQ(P->GetModernCalendarCellTextColor({cesMarked}), clHotLight);
  EXPECT_EQ(P->GetModernCalendarCellTextColor({cesMarked, cesSelected}), clBtnText);
  EXPECT_EQ(P->GetModernCalendarDateHeaderTextColor({cesHot}, false), clHotLight);
  EXPECT_EQ(P->GetModernCalendarDateHeaderTextColor({cesHot, cesPressed}, true),
            P->DefaultDateNavigatorHeaderTextColor(false));

  // A 9 x 9 arrow up: the rectangle less its last row, a filled triangle.
  TPaintTarget Arrow(9, 9), Expected(9, 9);
  P->DrawModernCalendarArrow(Arrow.Canvas(), cxRect(0, 0, 9, 9), adUp, cesNormal);
  TcxArrowPoints Points;
  TcxCustomLookAndFeelPainter::CalculateArrowPoints(cxRect(0, 0, 9, 8), Points, adUp, false, 0);
  {
    TBrushHandle B(CreateSolidBrush(kBtnText));
    TPenHandle Pen(CreatePen(PS_SOLID, 1, kBtnText));
    TSelectObjectGuard SelectB(Expected.DC(), B.Get());
    TSelectObjectGuard SelectP(Expected.DC(), Pen.Get());
    Polygon(Expected.DC(), Points.data(), static_cast<int>(Points.size()));
  }
  EXPECT_EQ(Difference(Arrow.Bitmap(), Expected.Bitmap()), "");
  TPaintTarget Disabled(9, 9);
  P->DrawModernCalendarArrow(Disabled.Canvas(), cxRect(0, 0, 9, 9), adUp, cesDisabled);
  EXPECT_EQ(Disabled.Shape(kGrayText), Arrow.Shape(kBtnText));

  // A hot or pressed header underlines the canvas font; others leave it.
  TPaintTarget H(10, 10);
  H.Canvas()->Font()->SetStyle(TFontStyles{});
  P->DrawModernCalendarHeaderSelection(H.Canvas(), cxRect(0, 0, 10, 10), {cesSelected});
  EXPECT_FALSE(H.Canvas()->Font()->Style().Contains(TFontStyle::fsUnderline));
  P->DrawModernCalendarHeaderSelection(H.Canvas(), cxRect(0, 0, 10, 10), {cesPressed});
  EXPECT_TRUE(H.Canvas()->Font()->Style().Contains(TFontStyle::fsUnderline));
  // The classic date cell draws the today frame only when marked.
  TPaintTarget Plain(20, 16), Today(20, 16), Frame(20, 16);
  P->DrawCalendarDateCellSelection(Plain.Canvas(), cxRect(0, 0, 20, 16), {cesHot, cesSelected});
  EXPECT_EQ(Plain.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);
  P->DrawCalendarDateCellSelection(Today.Canvas(), cxRect(0, 0, 20, 16), {cesMarked});
  P->DrawDateNavigatorTodayCellSelection(Frame.Canvas(), cxRect(0, 0, 20, 16));
  EXPECT_EQ(Difference(Today.Bitmap(), Frame.Bitmap()), "");
}

TEST_F(CalendarPixels, GallerySelectionAlphaAndFrame) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  // Fill alpha and frame tint (none: no frame) by state.
  struct TCase {
    const char* Name;
    TdxGalleryItemViewState State;
    int Alpha;
    std::optional<TColor> Frame;
  };
  const TColor Focus = 0x00CEA27D;
  const TCase Cases[] = {
      {"checked pressed", {true, true, false, true, false}, 128, dxGetColorTint(Focus, -20)},
      {"checked hover", {true, true, true, false, false}, 96, dxGetColorTint(Focus, 10)},
      {"checked", {true, true, false, false, false}, 16, dxGetColorTint(Focus, 80)},
      {"pressed", {true, false, false, true, false}, 64, dxGetColorTint(Focus, 20)},
      {"hover", {true, false, true, false, false}, 32, TColor(0x00FBD6B8)},
      {"focused", {true, false, false, false, true}, 0, Focus},
      {"quiet", {true, false, false, false, false}, 0, std::nullopt},
  };
  const COLORREF Basic = RGB(0x01, 0x28, 0x58);
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TPaintTarget T(20, 20);
    P->DrawGalleryItemSelection(T.Canvas(), cxRect(0, 0, 20, 20), C.State);
    // The fill over white, within one step of the exact blend.
    auto Blend = [&](int AChannel) { return 255 - (255 - AChannel) * C.Alpha / 255; };
    const COLORREF Inside = T.Pixel(10, 10);
    EXPECT_NEAR(GetRValue(Inside), Blend(GetRValue(Basic)), 1);
    EXPECT_NEAR(GetGValue(Inside), Blend(GetGValue(Basic)), 1);
    EXPECT_NEAR(GetBValue(Inside), Blend(GetBValue(Basic)), 1);
    // A frame two pixels wide.
    if (C.Frame) {
      EXPECT_EQ(T.Pixel(0, 10), dxColorToRGB(*C.Frame));
      EXPECT_EQ(T.Pixel(1, 10), dxColorToRGB(*C.Frame));
      EXPECT_NE(T.Pixel(2, 10), dxColorToRGB(*C.Frame));
    } else {
      EXPECT_EQ(T.Pixel(0, 10), RGB(255, 255, 255));
    }
  }
  // The colour gallery: an outer frame by state and the inner pale one.
  TPaintTarget Color(12, 12);
  P->DrawColorGalleryItemSelection(Color.Canvas(), cxRect(0, 0, 12, 12),
                                   {true, true, false, false, false});
  EXPECT_EQ(Color.Pixel(0, 5), RGB(0xEF, 0x48, 0x10));
  EXPECT_EQ(Color.Pixel(1, 5), RGB(0xFF, 0xE2, 0x94));
  EXPECT_EQ(Color.Pixel(5, 5), RGB(255, 255, 255));
  TPaintTarget Quiet(12, 12);
  P->DrawColorGalleryItemSelection(Quiet.Canvas(), cxRect(0, 0, 12, 12), {});
  EXPECT_EQ(Quiet.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);
}

TEST_F(CalendarPixels, RatingFramesFixedGroupAndWheelPicker) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  TdxSmartImage* Rating = P->GetRatingControlIndicator();
  ASSERT_EQ(Rating->Size(), (TSize{15, 48}));
  EXPECT_EQ(P->GetRatingControlScaledIndicatorSize(dxDefaultScaleFactor()), (TSize{15, 16}));
  // Unchecked is the first frame, hover the second, checked the third.
  const std::pair<TdxRatingControlIndicatorState, int> Frames[] = {
      {rcisUnchecked, 0}, {rcisHover, 1}, {rcisChecked, 2}};
  std::vector<std::string> Drawn;
  for (auto [State, Frame] : Frames) {
    TPaintTarget Ours(15, 16), Direct(15, 16);
    P->DrawRatingControlIndicator(Ours.Canvas(), cxRect(0, 0, 15, 16), State);
    Rating->StretchDraw(Direct.DC(), cxRect(0, 0, 15, 16),
                        cxRect(0, 16 * Frame, 15, 16 * Frame + 16));
    EXPECT_EQ(Difference(Ours.Bitmap(), Direct.Bitmap()), "") << Frame;
    Drawn.push_back(Ours.Shape(RGB(255, 255, 255)));
  }
  EXPECT_NE(Drawn[0], Drawn[2]);
  EXPECT_EQ(P->GetFixedGroupIndicator()->Size(), (TSize{22, 16}));
  TdxScaleFactor Twice;
  Twice.Assign(2, 1, false);
  EXPECT_EQ(P->GetScaledFixedGroupIndicatorSize(&Twice), (TSize{44, 32}));

  // Wheel picker: fill and frame in the state's colours; a normal item
  // keeps the canvas's brush and pen colours.
  TPaintTarget Hot(20, 10);
  P->DrawWheelPickerItem(Hot.Canvas(), cxRect(0, 0, 20, 10), cxbsHot);
  EXPECT_EQ(Hot.Pixel(0, 0), RGB(0xD9, 0xD9, 0xD9));
  EXPECT_EQ(Hot.Pixel(10, 5), RGB(0xEF, 0xF0, 0xF2));
  TPaintTarget Pressed(20, 10);
  P->DrawWheelPickerItem(Pressed.Canvas(), cxRect(0, 0, 20, 10), cxbsPressed);
  EXPECT_EQ(Pressed.Pixel(19, 9), RGB(0xBC, 0xC9, 0xE7));
  EXPECT_EQ(Pressed.Pixel(10, 5), RGB(0xE2, 0xEA, 0xFD));
  TPaintTarget Normal(20, 10);
  Normal.Canvas()->SetBrushColor(static_cast<TColor>(RGB(1, 2, 3)));
  P->DrawWheelPickerItem(Normal.Canvas(), cxRect(0, 0, 20, 10), cxbsNormal);
  EXPECT_EQ(Normal.Pixel(10, 5), RGB(1, 2, 3));
}

TEST_F(CalendarPixels, TokensAndRichEditColours) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  // The base look (the Flat painter keeps it): a normal token is its shadow
  // frame alone; a hot one shows the button face inside the frame.
  TcxCustomLookAndFeelPainter* Base = PainterOf(lfsFlat);
  TPaintTarget Normal(30, 16, static_cast<TColor>(RGB(1, 2, 3)));
  Base->DrawTokenBackground(Normal.Canvas(), cxRect(0, 0, 30, 16), cxbsNormal);
  EXPECT_EQ(Normal.Pixel(0, 0), kBtnShadow);
  EXPECT_EQ(Normal.Pixel(29, 15), kBtnShadow);
  EXPECT_EQ(Normal.Pixel(15, 8), RGB(1, 2, 3));
  TPaintTarget Hot(30, 16), Face(30, 16);
  Base->DrawTokenBackground(Hot.Canvas(), cxRect(0, 0, 30, 16), cxbsHot);
  Base->DrawScaledButton(Face.Canvas(), cxRect(0, 0, 30, 16), String(), cxbsHot,
                         dxSystemScaleFactor(), true, clDefault, clDefault, false, false,
                         cxbpButton);
  EXPECT_EQ(Hot.Pixel(0, 8), kBtnShadow);
  for (int X = 1; X < 29; ++X) EXPECT_EQ(Hot.Pixel(X, 8), Face.Pixel(X, 8)) << X;
  // Standard: a sunken frame; inside it a raised one when hot, a sunken one
  // when pressed, nothing otherwise.
  struct TStandardCase {
    TcxButtonState State;
    std::optional<COLORREF> InnerTopLeft, InnerBottomRight;
  };
  const TStandardCase StandardCases[] = {{cxbsNormal, std::nullopt, std::nullopt},
                                         {cxbsHot, kBtnHighlight, kBtnShadow},
                                         {cxbsPressed, kBtnShadow, kBtnHighlight},
                                         {cxbsDisabled, std::nullopt, std::nullopt}};
  for (const TStandardCase& C : StandardCases) {
    TPaintTarget T(30, 16, static_cast<TColor>(RGB(1, 2, 3)));
    P->DrawTokenBackground(T.Canvas(), cxRect(0, 0, 30, 16), C.State);
    EXPECT_EQ(T.Pixel(0, 8), kBtnShadow) << C.State;
    EXPECT_EQ(T.Pixel(15, 0), kBtnShadow) << C.State;
    EXPECT_EQ(T.Pixel(29, 8), kBtnHighlight) << C.State;
    EXPECT_EQ(T.Pixel(15, 15), kBtnHighlight) << C.State;
    EXPECT_EQ(T.Pixel(1, 8), C.InnerTopLeft.value_or(RGB(1, 2, 3))) << C.State;
    EXPECT_EQ(T.Pixel(28, 8), C.InnerBottomRight.value_or(RGB(1, 2, 3))) << C.State;
    EXPECT_EQ(T.Pixel(15, 8), RGB(1, 2, 3)) << C.State;
  }
  // UltraFlat: a highlighted frame and the button colour when hot.
  TPaintTarget Flat(30, 16);
  UltraFlatPainter()->DrawTokenBackground(Flat.Canvas(), cxRect(0, 0, 30, 16), cxbsHot);
  EXPECT_EQ(Flat.Pixel(0, 0), kHighlight);
  EXPECT_EQ(Flat.Pixel(15, 8), dxColorToRGB(UltraFlatPainter()->ButtonColor(cxbsHot)));

  // The close glyph: 12 x 11 at 96 DPI, 27 wide in touch mode.
  EXPECT_EQ(P->GetScaledTokenCloseGlyphSize(dxDefaultScaleFactor()), (TSize{12, 11}));
  {
    bool Saved = cxIsTouchModeEnabled();
    auto Restore = Finally([Saved] { cxSetIsTouchModeEnabled(Saved); });
    cxSetIsTouchModeEnabled(true);
    EXPECT_EQ(P->GetScaledTokenCloseGlyphSize(dxDefaultScaleFactor()).cx,
              dxSystemScaleFactor()->Apply(27));
  }
  TPaintTarget Glyph(12, 11), Cross(12, 11);
  P->DrawTokenCloseGlyph(Glyph.Canvas(), cxRect(0, 0, 12, 11), cxbsNormal);
  P->DrawScaledButtonCrossEx(Cross.Canvas(), cxRect(0, 0, 12, 11), P->GetTokenTextColor(cxbsNormal),
                             cxbsNormal, 7, dxSystemScaleFactor());
  EXPECT_EQ(Difference(Glyph.Bitmap(), Cross.Bitmap()), "");
  EXPECT_NE(Glyph.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);

  // Rich-edit colours: the base's and the Office 11 scheme's.
  EXPECT_EQ(P->RichEditRulerTabTypeToggleBorderColor(), cl3DDkShadow);
  EXPECT_EQ(P->RichEditRulerInactiveAreaColor(), clBtnShadow);
  EXPECT_EQ(P->RichEditRulerActiveAreaColor(), P->DefaultContentColor());
  TcxCustomLookAndFeelPainter* O = PainterOf(lfsOffice11);
  EXPECT_EQ(O->RichEditControlHeaderFooterLineColor(), dxOffice11DockColor1);
  EXPECT_EQ(O->RichEditRulerInactiveAreaColor(), dxOffice11DockColor1);
  EXPECT_EQ(O->RichEditControlHeaderFooterMarkBackColor(), dxOffice11DockColor2);
  EXPECT_EQ(O->RichEditRulerTabTypeToggleBorderColor(), dxOffice11DropDownBorderColor1);
  EXPECT_EQ(O->RichEditRulerTextColor(), O->DefaultControlTextColor());
}

// ---------------------------------------------------------------------------
// The Native look
TEST(NativeCalendar, GalleryCellWheelTokenAndToggleByTheirTables) {
  TInjectedSysColors Colors(ClassicColors());
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  TFakeThemeScope Themes(true);
  auto Calls = [&] { return Themes.Theme().Draws; };
  TPaintTarget T(30, 20);
  // Gallery items: pressed 3, checked 6 with hover or focus (Vista on) or
  // 3, focused 5, hover 2, and nothing for the quiet state 1.
  struct TGallery {
    TdxGalleryItemViewState State;
    int Theme;
  };
  const TGallery Items[] = {{{true, false, false, true, false}, 3},
                            {{true, true, true, false, false}, IsWinVistaOrLater ? 6 : 3},
                            {{true, true, false, false, false}, 3},
                            {{true, false, false, false, true}, 5},
                            {{true, false, true, false, false}, 2},
                            {{true, false, false, false, false}, 0}};
  for (const TGallery& G : Items) {
    Themes.Theme().Draws.clear();
    N->DrawGalleryItemSelection(T.Canvas(), cxRect(0, 0, 30, 20), G.State);
    if (G.Theme == 0) {
      EXPECT_TRUE(Calls().empty());
      continue;
    }
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].ClassName, L"Explorer::ListView");
    EXPECT_EQ(Calls()[0].Part, 1);
    EXPECT_EQ(Calls()[0].State, G.Theme);
  }
  EXPECT_TRUE(N->DrawGalleryItemSelectionFirst());
  // Calendar cells: selected with hot 6, with focus 3, alone 5; hot 2;
  // neither hot nor selected draws no part.
  const std::pair<TcxCalendarElementStates, int> Cells[] = {{{cesSelected, cesHot}, 6},
                                                            {{cesSelected, cesFocused}, 3},
                                                            {{cesSelected}, 5},
                                                            {{cesHot}, 2},
                                                            {{cesMarked}, 0}};
  for (auto [States, State] : Cells) {
    Themes.Theme().Draws.clear();
    T.Canvas()->SaveClipRegion();
    N->DrawModernCalendarDateCellSelection(T.Canvas(), cxRect(0, 0, 30, 20), States);
    T.Canvas()->RestoreClipRegion();
    if (State == 0) {
      EXPECT_TRUE(Calls().empty());
      continue;
    }
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].State, State);
  }
  // Wheel picker: themed when hot (5) or pressed (3), without a frame.
  for (auto [St, State] : {std::pair{cxbsHot, 5}, std::pair{cxbsPressed, 3}}) {
    Themes.Theme().Draws.clear();
    N->DrawWheelPickerItem(T.Canvas(), cxRect(0, 0, 30, 20), St);
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].State, State);
  }
  // Tokens: the push button hot (2) or pressed (3), nothing otherwise.
  for (TcxButtonState St : AllButtonStates) {
    Themes.Theme().Draws.clear();
    N->DrawTokenBackground(T.Canvas(), cxRect(0, 0, 30, 20), St);
    const int Expected = St == cxbsHot ? 2 : St == cxbsPressed ? 3 : 0;
    if (Expected == 0) {
      EXPECT_TRUE(Calls().empty()) << St;
      continue;
    }
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].ClassName, L"Button");
    EXPECT_EQ(Calls()[0].State, Expected);
  }
  EXPECT_EQ(N->GetModernCalendarHeaderTextColor({}), static_cast<TColor>(Themes.Theme().Color));
  // The toggle switch: a $707070 outline around the toggle colour, the
  // thumb a button inside a pixel.
  EXPECT_EQ(N->ToggleSwitchToggleColor(true), TColor(0xA0A0A0));
  EXPECT_EQ(N->ToggleSwitchToggleColor(false), TColor(0xC8C8C8));
  TPaintTarget Switch(30, 14);
  N->DrawToggleSwitchState(Switch.Canvas(), cxRect(0, 0, 30, 14), cxbsNormal, true);
  EXPECT_EQ(Switch.Pixel(0, 0), RGB(0x70, 0x70, 0x70));
  EXPECT_EQ(Switch.Pixel(29, 13), RGB(0x70, 0x70, 0x70));
  EXPECT_EQ(Switch.Pixel(15, 7), RGB(0xA0, 0xA0, 0xA0));
}

TEST(NativeCalendar, ElementsFallBackWithoutTheirThemes) {
  TInjectedSysColors Colors(ClassicColors());
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  TFakeThemeScope Themes(true, {L"Explorer::ListView", L"Button", L"TEXTSTYLE"});
  const TdxGalleryItemViewState Pressed{true, false, false, true, false};
  TPaintTarget Ours(30, 20), Base(30, 20);
  N->DrawGalleryItemSelection(Ours.Canvas(), cxRect(0, 0, 30, 20), Pressed);
  StandardPainter()->DrawGalleryItemSelection(Base.Canvas(), cxRect(0, 0, 30, 20), Pressed);
  EXPECT_EQ(Difference(Ours.Bitmap(), Base.Bitmap()), "");
  EXPECT_FALSE(N->DrawGalleryItemSelectionFirst());
  TPaintTarget Token(30, 20), BaseToken(30, 20);
  N->DrawTokenBackground(Token.Canvas(), cxRect(0, 0, 30, 20), cxbsHot);
  StandardPainter()->DrawTokenBackground(BaseToken.Canvas(), cxRect(0, 0, 30, 20), cxbsHot);
  EXPECT_EQ(Difference(Token.Bitmap(), BaseToken.Bitmap()), "");
  TPaintTarget Wheel(30, 20), BaseWheel(30, 20);
  N->DrawWheelPickerItem(Wheel.Canvas(), cxRect(0, 0, 30, 20), cxbsHot);
  StandardPainter()->DrawWheelPickerItem(BaseWheel.Canvas(), cxRect(0, 0, 30, 20), cxbsHot);
  EXPECT_EQ(Difference(Wheel.Bitmap(), BaseWheel.Bitmap()), "");
  EXPECT_EQ(N->GetModernCalendarHeaderTextColor({}), clHotLight);
}

}  // namespace
