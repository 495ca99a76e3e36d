// The Flat and Office 11 painters, pixel by pixel, with injected system
// colours and, for the Office 11 look, scheme colours of the test's own.
#include <optional>
#include <string>

#include "LookAndFeelTestSupport.h"

namespace {

class FlatPainter : public ::testing::Test {
 protected:
  void SetUp() override { Colors.emplace(ClassicColors()); }
  void TearDown() override {
    Colors.reset();
    UpdateScrollBarBitmaps();
  }
  TcxCustomLookAndFeelPainter* P = PainterOf(lfsFlat);
  std::optional<TInjectedSysColors> Colors;
};

TEST_F(FlatPainter, ButtonBordersAreOnePixelBevels) {
  struct TCase {
    TcxButtonState State;
    // Rows of the 6 x 5 corner drawn into a white target: H highlight,
    // S shadow, K black, . untouched.
    const char* Rows[5];
    Integer BorderSize;
  };
  const TCase Cases[] = {
      {cxbsNormal, {"HHHHHS", "H....S", "H....S", "H....S", "SSSSSS"}, 1},
      {cxbsHot, {"HHHHHS", "H....S", "H....S", "H....S", "SSSSSS"}, 1},
      {cxbsDisabled, {"HHHHHS", "H....S", "H....S", "H....S", "SSSSSS"}, 1},
      {cxbsPressed, {"SSSSSH", "S....H", "S....H", "S....H", "HHHHHH"}, 1},
      {cxbsDefault, {"KKKKKK", "KHHHSK", "KH..SK", "KSSSSK", "KKKKKK"}, 2},
  };
  for (const TCase& C : Cases) {
    TPaintTarget T(6, 5, static_cast<TColor>(RGB(1, 2, 3)));
    P->DrawButtonBorder(T.Canvas(), cxRect(0, 0, 6, 5), C.State);
    std::string Got;
    for (int Y = 0; Y < 5; ++Y) {
      for (int X = 0; X < 6; ++X) {
        COLORREF Px = T.Pixel(X, Y);
        Got += Px == kBtnHighlight ? 'H' : Px == kBtnShadow ? 'S' : Px == RGB(0, 0, 0) ? 'K' : '.';
      }
      Got += '/';
    }
    std::string Expected;
    for (const char* Row : C.Rows) Expected += std::string(Row) + '/';
    EXPECT_EQ(Got, Expected) << C.State;
    EXPECT_EQ(P->ButtonBorderSize(C.State), C.BorderSize);
  }
  EXPECT_FALSE(P->IsButtonHotTrack());
  EXPECT_EQ(P->BorderSize(), 1);
  EXPECT_EQ(P->SeparatorSize(), 2);
  EXPECT_EQ(P->ScaledExpandButtonSize(dxDefaultScaleFactor()), 11);
}

TEST_F(FlatPainter, TheToggleSwitchTrackStaysInsideItsBounds) {
  const COLORREF Back = RGB(1, 2, 3);
  for (bool Checked : {false, true}) {
    TPaintTarget T(14, 10, static_cast<TColor>(Back));
    TRect R = cxRect(2, 2, 12, 8);
    P->DrawScaledToggleSwitchState(T.Canvas(), R, cxbsNormal, Checked, dxDefaultScaleFactor());
    COLORREF Fill = Checked ? RGB(0xA0, 0xA0, 0xA0) : RGB(0xC8, 0xC8, 0xC8);
    EXPECT_EQ(T.Pixel(2, 2), RGB(0xA0, 0xA0, 0xA0));
    EXPECT_EQ(T.Pixel(2, 6), RGB(0xA0, 0xA0, 0xA0));
    EXPECT_EQ(T.Pixel(11, 7), RGB(255, 255, 255));
    EXPECT_EQ(T.Pixel(11, 4), RGB(255, 255, 255));
    EXPECT_EQ(T.Pixel(6, 7), RGB(255, 255, 255));
    EXPECT_EQ(T.Pixel(6, 4), Fill);
    // Nothing beyond the track's last column and row.
    for (int I = 0; I < 14; ++I) EXPECT_EQ(T.Pixel(I, 8), Back) << I;
    for (int I = 0; I < 10; ++I) EXPECT_EQ(T.Pixel(12, I), Back) << I;
  }
}

TEST_F(FlatPainter, ScrollBarArrowsSitInsideTheOnePixelBorder) {
  // A vertical line-down button of 17 x 17: the face and its border, then
  // the arrow computed in the rectangle one pixel in.
  TPaintTarget T(17, 17), Expected(17, 17);
  P->DrawScaledScrollBarPart(T.Canvas(), false, cxRect(0, 0, 17, 17), sbpLineDown, cxbsNormal,
                             dxDefaultScaleFactor());
  P->DrawScaledButton(Expected.Canvas(), cxRect(0, 0, 17, 17), String(), cxbsNormal,
                      dxDefaultScaleFactor(), true, clDefault, clDefault, false, false, cxbpButton);
  P->DrawScaledScrollBarArrow(Expected.Canvas(), cxRect(1, 1, 16, 16), cxbsNormal, adDown,
                              dxDefaultScaleFactor());
  EXPECT_EQ(Difference(T.Bitmap(), Expected.Bitmap()), "");
  // Hot is drawn as normal; a disabled thumb not at all.
  TPaintTarget Hot(17, 17);
  P->DrawScaledScrollBarPart(Hot.Canvas(), false, cxRect(0, 0, 17, 17), sbpLineDown, cxbsHot,
                             dxDefaultScaleFactor());
  EXPECT_EQ(Difference(Hot.Bitmap(), T.Bitmap()), "");
  TPaintTarget Thumb(17, 30);
  P->DrawScaledScrollBarPart(Thumb.Canvas(), false, cxRect(0, 0, 17, 30), sbpThumbnail,
                             cxbsDisabled, dxDefaultScaleFactor());
  EXPECT_EQ(Thumb.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);
  EXPECT_EQ(P->GetSplitterOuterColor(true), cl3DDkShadow);
  EXPECT_EQ(P->GetSplitterOuterColor(false), clBtnShadow);
}

// ---------------------------------------------------------------------------
class Office11Painter : public ::testing::Test {
 protected:
  void SetUp() override { Colors.emplace(ClassicColors()); }
  void TearDown() override {
    Scheme.reset();
    Colors.reset();
    UpdateScrollBarBitmaps();
  }
  static COLORREF RGBOf(TColor C) { return dxColorToRGB(C); }
  TcxOffice11LookAndFeelPainter* P =
      static_cast<TcxOffice11LookAndFeelPainter*>(PainterOf(lfsOffice11));
  std::optional<TInjectedSysColors> Colors;
  std::optional<TOffice11SchemeScope> Scheme{std::in_place};
};

TEST_F(Office11Painter, ColoursAreReadFromTheSchemeAtEachUse) {
  EXPECT_EQ(P->ButtonColor(cxbsHot), dxOffice11SelectedColor1);
  EXPECT_EQ(P->ButtonColor(cxbsPressed), dxOffice11SelectedDownColor1);
  EXPECT_EQ(P->ButtonColor(cxbsNormal), dxOffice11DockColor1);
  EXPECT_EQ(P->ButtonColor(cxbsDisabled), clBtnFace);
  EXPECT_EQ(P->ButtonSymbolColor(cxbsDisabled), dxOffice11TextDisabledColor);
  EXPECT_EQ(P->ButtonSymbolColor(cxbsNormal), dxOffice11TextEnabledColor);
  EXPECT_EQ(P->DefaultHeaderColor(),
            dxGetMiddleRGB(dxOffice11ToolbarsColor1, dxOffice11ToolbarsColor2, 50));
  EXPECT_EQ(P->DefaultFooterTextColor(), P->DefaultHeaderTextColor());
  EXPECT_EQ(P->CheckButtonColor(cxbsHot, cbsChecked), dxOffice11SelectedColor1);
  EXPECT_EQ(P->CheckButtonColor(cxbsNormal, cbsGrayed), clBtnFace);
  // A change of the scheme shows at the next use.
  dxOffice11DockColor1 = static_cast<TColor>(RGB(7, 8, 9));
  EXPECT_EQ(P->ButtonColor(cxbsNormal), static_cast<TColor>(RGB(7, 8, 9)));
  EXPECT_EQ(P->GetSplitterOuterColor(true), dxOffice11SelectedBorderColor);
  EXPECT_EQ(P->GetSplitterOuterColor(false), dxOffice11BarSeparatorColor1);
  EXPECT_EQ(P->GetSplitterInnerColor(false), dxOffice11BarSeparatorColor2);
}

TEST_F(Office11Painter, BordersSeparatorsAndListBoxesInTheSchemesColours) {
  TPaintTarget Border(8, 6);
  P->DrawBorder(Border.Canvas(), cxRect(0, 0, 8, 6));
  EXPECT_EQ(Border.Shape(RGBOf(dxOffice11ControlBorderColor)),
            "########\n#......#\n#......#\n#......#\n#......#\n########\n");
  TPaintTarget Separator(6, 4);
  P->DoDrawSeparator(Separator.Canvas(), cxRect(0, 0, 6, 4), false);
  EXPECT_EQ(Separator.Shape(RGBOf(dxOffice11BarSeparatorColor1)),
            "#####.\n#.....\n#.....\n......\n");
  EXPECT_EQ(Separator.Shape(RGBOf(dxOffice11BarSeparatorColor2)),
            "......\n.#####\n.#####\n.#####\n");
  TPaintTarget List(8, 7);
  P->DrawDropDownListBoxBackground(List.Canvas(), cxRect(0, 0, 8, 7), true);
  EXPECT_EQ(List.Pixel(0, 3), RGBOf(dxOffice11DropDownBorderColor1));
  EXPECT_EQ(List.Pixel(1, 3), RGBOf(dxOffice11DropDownBorderColor2));
  EXPECT_EQ(List.Pixel(3, 3), RGBOf(dxOffice11MenuColor));
  TPaintTarget Line(40, 9);
  P->DrawDropDownListBoxScaledSeparator(Line.Canvas(), cxRect(0, 0, 40, 9), cxRect(0, 0, 10, 9),
                                        dxDefaultScaleFactor());
  std::vector<int> Widths;
  EXPECT_EQ(Line.RunStarts(4, RGBOf(dxOffice11BarSeparatorColor1), &Widths), std::vector<int>{18});
  EXPECT_EQ(Widths, std::vector<int>{22});
}

TEST_F(Office11Painter, ButtonBordersByState) {
  struct TCase {
    TcxButtonState State;
    TColor Color;
  };
  const TCase Cases[] = {{cxbsNormal, clBtnText},
                         {cxbsDisabled, dxOffice11TextDisabledColor},
                         {cxbsHot, dxOffice11SelectedBorderColor},
                         {cxbsPressed, dxOffice11SelectedBorderColor}};
  for (const TCase& C : Cases) {
    TPaintTarget T(5, 4);
    P->DrawButtonBorder(T.Canvas(), cxRect(0, 0, 5, 4), C.State);
    EXPECT_EQ(T.Shape(RGBOf(C.Color)), "#####\n#...#\n#...#\n#####\n") << C.State;
  }
  // The default button keeps the UltraFlat look's double frame.
  TPaintTarget Default(6, 6);
  P->DrawButtonBorder(Default.Canvas(), cxRect(0, 0, 6, 6), cxbsDefault);
  EXPECT_EQ(Default.Shape(kWindowFrame), "######\n######\n##..##\n##..##\n######\n######\n");
}

TEST_F(Office11Painter, ExpandButtonsBlendTheSharedBitmapsCornersIntoTheBackground) {
  const COLORREF Back = RGB(100, 150, 200);
  for (bool Expanded : {false, true}) {
    TPaintTarget T(11, 11, static_cast<TColor>(Back));
    P->DrawScaledExpandButton(T.Canvas(), cxRect(0, 0, 11, 11), Expanded, dxDefaultScaleFactor(),
                              clDefault, cxbsNormal);
    EXPECT_EQ(T.Pixel(0, 0),
              RGBOf(dxGetMiddleRGB(dxOffice11ExpandButtonColor1, static_cast<TColor>(Back), 25)));
    COLORREF Far =
        RGBOf(dxGetMiddleRGB(dxOffice11ExpandButtonColor2, static_cast<TColor>(Back), 25));
    EXPECT_EQ(T.Pixel(10, 10), Far);
    EXPECT_EQ(T.Pixel(0, 10), Far);
    EXPECT_EQ(T.Pixel(10, 0), Far);
    // The mark: a minus when expanded, a plus when collapsed.
    EXPECT_EQ(T.Pixel(5, 5), RGB(0, 0, 0));
    EXPECT_EQ(T.Pixel(5, 3), Expanded ? RGB(255, 255, 255) : RGB(0, 0, 0));
    EXPECT_EQ(T.Pixel(3, 5), RGB(0, 0, 0));
  }
  EXPECT_FALSE(P->DrawExpandButtonFirst());
  EXPECT_EQ(P->ScaledSmallExpandButtonSize(dxDefaultScaleFactor()), 11);
}

}  // namespace
