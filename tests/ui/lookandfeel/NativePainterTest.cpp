// The Native painter: against the platform's theme drawing with part and
// state numbers typed here, and with a scripted theme library for the
// decisions (which class, which part, which state, which road).
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "LookAndFeelTestSupport.h"
#include "PainterElements.h"

namespace {

using TDraw = std::function<void(TcxCanvas* C, const TRect& R)>;

// ---------------------------------------------------------------------------
// Against the platform's theme
struct TOracleCase {
  std::string Name;
  const wchar_t* ThemeClass;
  int Part;
  int State;
  TSize Size;
  TDraw Draw;
  // The inherited drawing, which the element falls back to when its class
  // does not open.
  TDraw Fallback;
};

std::vector<TOracleCase> OracleCases() {
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  const TdxScaleFactor* F = dxSystemScaleFactor();
  std::vector<TOracleCase> Cases;
  const int PushButton[] = {5, 1, 2, 3, 4};
  const int CheckBox[3][5] = {{1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}, {9, 9, 10, 11, 12}};
  const int Arrow[4][5] = {
      {1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}, {9, 9, 10, 11, 12}, {13, 13, 14, 15, 16}};
  const int Thumb[5] = {1, 1, 2, 3, 4};
  for (TcxButtonState St : AllButtonStates) {
    std::string Name = ButtonStateName(St);
    Cases.push_back({"push button " + Name,
                     L"Button",
                     1,
                     PushButton[St],
                     {75, 23},
                     [=](TcxCanvas* C, const TRect& R) {
                       N->DrawScaledButton(C, R, String(), St, F, true, clDefault, clDefault, false,
                                           false, cxbpButton);
                     },
                     [=](TcxCanvas* C, const TRect& R) {
                       N->TcxStandardLookAndFeelPainter::DrawScaledButton(
                           C, R, String(), St, F, true, clDefault, clDefault, false, false,
                           cxbpButton);
                     }});
    Cases.push_back({"tool button " + Name,
                     L"ToolBar",
                     1,
                     PushButton[St],
                     {40, 22},
                     [=](TcxCanvas* C, const TRect& R) {
                       N->DrawScaledButton(C, R, String(), St, F, true, clDefault, clDefault, false,
                                           true, cxbpButton);
                     },
                     [=](TcxCanvas* C, const TRect& R) {
                       N->TcxStandardLookAndFeelPainter::DrawScaledButton(
                           C, R, String(), St, F, true, clDefault, clDefault, false, true,
                           cxbpButton);
                     }});
    Cases.push_back({"arrow border " + Name,
                     L"Button",
                     1,
                     PushButton[St],
                     {17, 17},
                     [=](TcxCanvas* C, const TRect& R) { N->DrawScaledArrowBorder(C, R, St, F); },
                     [=](TcxCanvas* C, const TRect& R) {
                       N->TcxStandardLookAndFeelPainter::DrawScaledArrowBorder(C, R, St, F);
                     }});
    for (int CS = 0; CS < 3; ++CS) {
      auto Check = static_cast<TcxCheckBoxState>(CS);
      Cases.push_back(
          {"check box " + std::to_string(CS) + " " + Name,
           L"Button",
           3,
           CheckBox[CS][St],
           {13, 13},
           [=](TcxCanvas* C, const TRect& R) { N->DrawScaledCheck(C, R, St, Check, clBtnText, F); },
           [=](TcxCanvas* C, const TRect& R) {
             N->TcxStandardLookAndFeelPainter::DrawScaledCheck(C, R, St, Check, clBtnText, F);
           }});
    }
    for (int D = 0; D < 4; ++D) {
      auto Dir = static_cast<TcxArrowDirection>(D);
      Cases.push_back(
          {"scroll arrow " + std::to_string(D) + " " + Name,
           L"ScrollBar",
           1,
           Arrow[D][St],
           {17, 17},
           [=](TcxCanvas* C, const TRect& R) { N->DrawScaledArrow(C, R, St, Dir, F, true); },
           [=](TcxCanvas* C, const TRect& R) {
             N->TcxStandardLookAndFeelPainter::DrawScaledArrow(C, R, St, Dir, F, true);
           }});
    }
    for (auto [Part, PartName] : {std::pair{sbpPageUp, "page up"}, {sbpPageDown, "page down"}})
      for (bool H : {false, true})
        Cases.push_back({std::string(H ? "h " : "v ") + PartName + " " + Name, L"ScrollBar",
                         H ? (Part == sbpPageUp ? 4 : 5) : (Part == sbpPageUp ? 6 : 7), Thumb[St],
                         H ? TSize{40, 17} : TSize{17, 40},
                         [=](TcxCanvas* C, const TRect& R) {
                           N->DrawScaledScrollBarPart(C, H, R, Part, St, F);
                         },
                         [=](TcxCanvas* C, const TRect& R) {
                           N->TcxStandardLookAndFeelPainter::DrawScaledScrollBarPart(C, H, R, Part,
                                                                                     St, F);
                         }});
  }
  for (bool Expanded : {false, true}) {
    Cases.push_back({Expanded ? "tree glyph expanded" : "tree glyph collapsed",
                     L"TreeView",
                     2,
                     Expanded ? 2 : 1,
                     {9, 9},
                     [=](TcxCanvas* C, const TRect& R) {
                       N->DrawScaledExpandButton(C, R, Expanded, F, clDefault, cxbsNormal);
                     },
                     [=](TcxCanvas* C, const TRect& R) {
                       N->TcxStandardLookAndFeelPainter::DrawScaledExpandButton(
                           C, R, Expanded, F, clDefault, cxbsNormal);
                     }});
    for (TcxButtonState St : {cxbsNormal, cxbsHot, cxbsPressed})
      Cases.push_back({std::string("group expand ") + (Expanded ? "expanded " : "collapsed ") +
                           ButtonStateName(St),
                       L"ExplorerBar",
                       Expanded ? 6 : 7,
                       St == cxbsHot       ? 2
                       : St == cxbsPressed ? 3
                                           : 1,
                       {15, 15},
                       [=](TcxCanvas* C, const TRect& R) {
                         N->DrawScaledGroupExpandButton(C, R, Expanded, St, F);
                       },
                       [=](TcxCanvas* C, const TRect& R) {
                         N->TcxStandardLookAndFeelPainter::DrawScaledGroupExpandButton(
                             C, R, Expanded, St, F);
                       }});
  }
  Cases.push_back({"size grip",
                   L"ScrollBar",
                   10,
                   1,
                   {17, 17},
                   [=](TcxCanvas* C, const TRect& R) { N->DoDrawSizeGrip(C, R); },
                   [=](TcxCanvas* C, const TRect& R) {
                     N->TcxStandardLookAndFeelPainter::DoDrawSizeGrip(C, R);
                   }});
  for (bool V : {false, true}) {
    Cases.push_back({V ? "separator vertical" : "separator horizontal",
                     L"ToolBar",
                     V ? 5 : 6,
                     1,
                     {20, 20},
                     [=](TcxCanvas* C, const TRect& R) { N->DoDrawSeparator(C, R, V); },
                     [=](TcxCanvas* C, const TRect& R) {
                       N->TcxStandardLookAndFeelPainter::DoDrawSeparator(C, R, V);
                     }});
    Cases.push_back({V ? "bevel line vertical" : "bevel line horizontal",
                     L"ToolBar",
                     V ? 5 : 6,
                     1,
                     {20, 20},
                     [=](TcxCanvas* C, const TRect& R) {
                       N->DrawBevelLine(C, R, clBtnShadow, clBtnHighlight, V);
                     },
                     [=](TcxCanvas* C, const TRect& R) {
                       N->TcxStandardLookAndFeelPainter::DrawBevelLine(C, R, clBtnShadow,
                                                                       clBtnHighlight, V);
                     }});
  }
  Cases.push_back({"bevel frame",
                   L"Button",
                   4,
                   1,
                   {40, 30},
                   [=](TcxCanvas* C, const TRect& R) {
                     N->DrawBevelFrame(C, R, clBtnShadow, clBtnHighlight, true);
                   },
                   [=](TcxCanvas* C, const TRect& R) {
                     N->TcxStandardLookAndFeelPainter::DrawBevelFrame(C, R, clBtnShadow,
                                                                      clBtnHighlight, true);
                   }});
  if (IsWinVistaOrLater) {
    for (TcxButtonState St : AllButtonStates)
      Cases.push_back({std::string("command link ") + ButtonStateName(St),
                       L"Button",
                       6,
                       PushButton[St],
                       {120, 40},
                       [=](TcxCanvas* C, const TRect& R) {
                         N->DrawScaledCommandLinkBackground(C, R, St, F, clDefault);
                       },
                       nullptr});
    Cases.push_back({"popup border",
                     L"ListBox",
                     3,
                     3,
                     {40, 30},
                     [=](TcxCanvas* C, const TRect& R) {
                       TRect Inner = R;
                       N->DrawEditPopupWindowBorder(C, Inner, epbsFlat, false);
                     },
                     nullptr});
  }
  return Cases;
}

TEST(NativePainter, DrawsThePlatformsThemePartsAtTheSystemFactor) {
  ASSERT_TRUE(AreVisualStylesAvailable()) << "the test prefix runs with Wine's theme";
  int Themed = 0;
  for (const TOracleCase& C : OracleCases()) {
    SCOPED_TRACE(C.Name);
    TRect R = cxRect(2, 2, 2 + C.Size.cx, 2 + C.Size.cy);
    TPaintTarget Ours(C.Size.cx + 4, C.Size.cy + 4, clWhite);
    TPaintTarget Platform(C.Size.cx + 4, C.Size.cy + 4, clWhite);
    C.Draw(Ours.Canvas(), R);
    TOracleTheme Theme(C.ThemeClass);
    if (Theme.Handle()) {
      ++Themed;
      dxUxTheme::DrawThemeBackground(Theme.Handle(), Platform.DC(), C.Part, C.State, &R, nullptr);
    } else {
      // The class does not open: the element falls back to the drawing it
      // inherits.
      ASSERT_TRUE(C.Fallback);
      C.Fallback(Platform.Canvas(), R);
    }
    EXPECT_TRUE(SamePixels(Ours, Platform));
  }
  EXPECT_GT(Themed, 0);
}

TEST(NativePainter, ThumbsCarryTheGripperWhenItFits) {
  TOracleTheme Theme(L"ScrollBar");
  ASSERT_NE(Theme.Handle(), nullptr);
  for (bool H : {false, true}) {
    TRect R = H ? cxRect(0, 0, 60, 17) : cxRect(0, 0, 17, 60);
    TPaintTarget Ours(cxRectWidth(R), cxRectHeight(R), clWhite);
    TPaintTarget Platform(cxRectWidth(R), cxRectHeight(R), clWhite);
    NativePainter()->DrawScaledScrollBarPart(Ours.Canvas(), H, R, sbpThumbnail, cxbsHot,
                                             dxSystemScaleFactor());
    dxUxTheme::DrawThemeBackground(Theme.Handle(), Platform.DC(), H ? 2 : 3, 2, &R, nullptr);
    SIZE Gripper{0, 0};
    bool Fits = FAILED(dxUxTheme::GetThemePartSize(Theme.Handle(), Platform.DC(), H ? 8 : 9, 2,
                                                   nullptr, TS_TRUE, &Gripper)) ||
                (H ? Gripper.cy < 60 : Gripper.cx < 60);
    if (Fits)
      dxUxTheme::DrawThemeBackground(Theme.Handle(), Platform.DC(), H ? 8 : 9, 2, &R, nullptr);
    EXPECT_TRUE(SamePixels(Ours, Platform)) << H;
  }
}

TEST(NativePainter, StretchedThemePartsStayWithinTheirColours) {
  ASSERT_NE(OpenTheme(totButton), nullptr);
  TOwned<TdxScaleFactor> HalfAgain = MakeOwned<TdxScaleFactor>();
  HalfAgain->Assign(3, 2, false);
  auto Lightness = [](COLORREF C) { return (GetRValue(C) + GetGValue(C) + GetBValue(C)) / 3; };
  // An unchecked box: light inside a grey border, over white. Stretching may
  // blend the two, never go darker than the darkest of them.
  TPaintTarget Direct(13, 13, clWhite);
  NativePainter()->DrawScaledCheck(Direct.Canvas(), cxRect(0, 0, 13, 13), cxbsNormal, cbsUnchecked,
                                   clBtnText, dxSystemScaleFactor());
  int Darkest = 255;
  for (int Y = 0; Y < 13; ++Y)
    for (int X = 0; X < 13; ++X) Darkest = std::min(Darkest, Lightness(Direct.Pixel(X, Y)));
  for (int Size : {20, 26, 39}) {
    TPaintTarget Scaled(Size, Size, clWhite);
    NativePainter()->DrawScaledCheck(Scaled.Canvas(), cxRect(0, 0, Size, Size), cxbsNormal,
                                     cbsUnchecked, clBtnText, HalfAgain.get());
    for (int Y = 0; Y < Size; ++Y)
      for (int X = 0; X < Size; ++X)
        ASSERT_GE(Lightness(Scaled.Pixel(X, Y)), Darkest - 8) << Size << " at " << X << ", " << Y;
  }
}

TEST(NativePainter, ThemeColoursAreThePlatformsOrTheStandardOnes) {
  TOracleTheme Theme(L"Button");
  ASSERT_NE(Theme.Handle(), nullptr);
  const int PushButton[] = {5, 1, 2, 3, 4};
  for (TcxButtonState St : AllButtonStates) {
    SCOPED_TRACE(ButtonStateName(St));
    COLORREF C = 255;
    TColor Expected =
        SUCCEEDED(dxUxTheme::GetThemeColor(Theme.Handle(), 1, PushButton[St], 204, &C))
            ? static_cast<TColor>(C)
            : StandardPainter()->ButtonColor(St);
    EXPECT_EQ(NativePainter()->ButtonColor(St), Expected);
    C = 255;
    Expected = SUCCEEDED(dxUxTheme::GetThemeColor(Theme.Handle(), 1, PushButton[St], 3803, &C))
                   ? static_cast<TColor>(C)
                   : StandardPainter()->ButtonSymbolColor(St);
    EXPECT_EQ(NativePainter()->ButtonSymbolColor(St), Expected);
  }
  RECT Content{};
  RECT Bounds{0, 0, 100, 100};
  if (SUCCEEDED(dxUxTheme::GetThemeBackgroundContentRect(Theme.Handle(), nullptr, 1, 1, &Bounds,
                                                         &Content))) {
    EXPECT_EQ(NativePainter()->ButtonBorderSize(cxbsNormal), Content.left);
  }
}

// ---------------------------------------------------------------------------
// With a scripted theme
class NativeFake : public ::testing::Test {
 protected:
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  TOwned<TdxScaleFactor> HalfAgain = [] {
    TOwned<TdxScaleFactor> F = MakeOwned<TdxScaleFactor>();
    F->Assign(3, 2, false);
    return F;
  }();
};

TEST_F(NativeFake, OnlyTheElementsOfAMissingClassFallBack) {
  TFakeThemeScope Themes(true, {L"TreeView"});
  EXPECT_TRUE(N->NeedRedrawOnResize());
  // The tree-view glyph is drawn the Standard way.
  TPaintTarget Ours(12, 12, clWhite), Standard(12, 12, clWhite);
  N->DrawScaledExpandButton(Ours.Canvas(), cxRect(0, 0, 12, 12), true, dxSystemScaleFactor(),
                            clDefault, cxbsNormal);
  StandardPainter()->DrawScaledExpandButton(Standard.Canvas(), cxRect(0, 0, 12, 12), true,
                                            dxSystemScaleFactor(), clDefault, cxbsNormal);
  EXPECT_TRUE(SamePixels(Ours, Standard));
  EXPECT_EQ(N->ScaledExpandButtonSize(dxSystemScaleFactor()),
            StandardPainter()->ScaledExpandButtonSize(dxSystemScaleFactor()));
  EXPECT_TRUE(Themes.Theme().Draws.empty());
  // The check box of the open button class is themed.
  TPaintTarget Check(13, 13, clWhite);
  N->DrawScaledCheck(Check.Canvas(), cxRect(0, 0, 13, 13), cxbsHot, cbsGrayed, clBtnText,
                     dxSystemScaleFactor());
  ASSERT_EQ(Themes.Theme().Draws.size(), 1u);
  EXPECT_EQ(Themes.Theme().Draws[0].ClassName, L"Button");
  EXPECT_EQ(Themes.Theme().Draws[0].Part, 3);
  EXPECT_EQ(Themes.Theme().Draws[0].State, 10);
  EXPECT_EQ(Check.Pixel(6, 6), TFakeTheme::PartColor(3, 10));
  EXPECT_EQ(N->CheckBorderSize(), 0);
}

TEST_F(NativeFake, WithoutAThemeEveryElementIsTheStandardOne) {
  TFakeThemeScope Themes(false);
  EXPECT_FALSE(N->NeedRedrawOnResize());
  // Families whose inherited drawing reads none of the sizes and offsets
  // that the Native painter answers itself.
  const std::set<std::string> PureFallbacks = {
      "check box",           "expand button", "small expand button",
      "group expand button", "arrow button",  "scroll bar",
      "size grip",           "border",        "popup border"};
  for (const TPainterElement& E : PainterElements()) {
    if (!PureFallbacks.count(E.Family)) continue;
    // The Native look draws its scroll-bar splitter its own way in any case.
    if (E.Name.rfind("splitter", 0) == 0) continue;
    SCOPED_TRACE(E.Family + " " + E.Name);
    TSize Size = E.SizeAt(N, dxSystemScaleFactor());
    TRect R = cxRect(0, 0, Size.cx, Size.cy);
    TPaintTarget Ours(Size.cx, Size.cy, clWhite), Standard(Size.cx, Size.cy, clWhite);
    E.Scaled(N, Ours.Canvas(), R, dxSystemScaleFactor());
    E.Scaled(StandardPainter(), Standard.Canvas(), R, dxSystemScaleFactor());
    if (E.Family == "popup border" && IsWinVistaOrLater) {
      // Since Vista a popup without a theme has no border of its own.
      EXPECT_EQ(Ours.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);
      continue;
    }
    EXPECT_TRUE(SamePixels(Ours, Standard));
  }
  EXPECT_TRUE(Themes.Theme().Draws.empty());
  TRect R = cxRect(0, 0, 20, 20);
  TPaintTarget Popup(20, 20, clWhite);
  N->DrawEditPopupWindowBorder(Popup.Canvas(), R, epbsFrame3D, true);
  EXPECT_EQ(R, cxRect(1, 1, 19, 19));
}

TEST_F(NativeFake, SizesFromTheTheme) {
  TFakeThemeScope Themes(true);
  Themes.Theme().PartSize = SIZE{13, 17};
  // From the system's scale: at 3/2 of a 1/1 system, half as large again.
  EXPECT_EQ(N->ScaledCheckButtonSize(HalfAgain.get()),
            HalfAgain->Apply(TSize{13, 17}, dxSystemScaleFactor()));
  EXPECT_EQ(N->ScaledExpandButtonSize(dxSystemScaleFactor()), 13);
  EXPECT_EQ(N->ScaledSmallExpandButtonSize(dxSystemScaleFactor()), 13);
  EXPECT_EQ(N->ScaledGroupExpandButtonSize(HalfAgain.get()), MulDiv(13, 3, 2));
  // The minimal thumb along the bar, with the content margins (left 1,
  // right 2, top 3, bottom 4) on Vista and later, scaled.
  Integer Vertical = 17 + (IsWinVistaOrLater ? 7 : 0);
  Integer Horizontal = 13 + (IsWinVistaOrLater ? 3 : 0);
  EXPECT_EQ(N->ScaledScrollBarMinimalThumbSize(true, HalfAgain.get()), MulDiv(Vertical, 3, 2));
  EXPECT_EQ(N->ScaledScrollBarMinimalThumbSize(false, dxSystemScaleFactor()), Horizontal);
  // The content rectangle is 3 inside in every state.
  for (TcxButtonState St : AllButtonStates) EXPECT_EQ(N->ButtonBorderSize(St), 3);
  TPaintTarget T(50, 20);
  EXPECT_EQ(N->ScaledButtonFocusRect(T.Canvas(), cxRect(0, 0, 50, 20), dxSystemScaleFactor()),
            cxRect(3, 3, 47, 17));
  EXPECT_EQ(N->ButtonColor(cxbsHot), static_cast<TColor>(Themes.Theme().Color));

  Themes.Theme().PartSizeFails = true;
  Themes.Theme().ColorFails = true;
  EXPECT_EQ(N->ScaledCheckButtonSize(dxSystemScaleFactor()),
            StandardPainter()->ScaledCheckButtonSize(dxSystemScaleFactor()));
  EXPECT_EQ(N->ScaledScrollBarMinimalThumbSize(true, HalfAgain.get()), 12);
  EXPECT_EQ(N->ButtonColor(cxbsHot), StandardPainter()->ButtonColor(cxbsHot));
}

TEST_F(NativeFake, ButtonBorderWithoutAThemeIsTheStandardNormalOne) {
  TFakeThemeScope Themes(false);
  for (TcxButtonState St : AllButtonStates)
    EXPECT_EQ(N->ButtonBorderSize(St), StandardPainter()->ButtonBorderSize(cxbsNormal));
}

TEST_F(NativeFake, TheGripperOnlyWhereItFits) {
  TFakeThemeScope Themes(true);
  Themes.Theme().PartSize = SIZE{13, 13};
  struct TCase {
    bool Horizontal;
    TRect R;
    std::vector<int> Parts;
  };
  const TCase Cases[] = {{true, cxRect(0, 0, 10, 17), {2}},
                         {true, cxRect(0, 0, 40, 17), {2, 8}},
                         {false, cxRect(0, 0, 17, 10), {3}},
                         {false, cxRect(0, 0, 17, 40), {3, 9}}};
  for (const TCase& C : Cases) {
    Themes.Theme().Draws.clear();
    TPaintTarget T(cxRectWidth(C.R), cxRectHeight(C.R));
    N->DrawScaledScrollBarPart(T.Canvas(), C.Horizontal, C.R, sbpThumbnail, cxbsPressed,
                               dxSystemScaleFactor());
    std::vector<int> Parts;
    for (const TFakeThemeCall& Call : Themes.Theme().Draws) {
      Parts.push_back(Call.Part);
      EXPECT_EQ(Call.State, 3);
    }
    EXPECT_EQ(Parts, C.Parts) << C.Horizontal << " " << cxRectWidth(C.R);
  }
}

// ---------------------------------------------------------------------------
// The bitmap road of other scale factors
TEST_F(NativeFake, AtOtherFactorsThePartIsDrawnAtItsTrueSizeAndStretched) {
  TFakeThemeScope Themes(true);
  Themes.Theme().PartSize = SIZE{10, 10};
  TPaintTarget Direct(20, 20, clWhite);
  N->DrawScaledCheck(Direct.Canvas(), cxRect(2, 2, 17, 17), cxbsNormal, cbsChecked, clBtnText,
                     dxSystemScaleFactor());
  ASSERT_EQ(Themes.Theme().Draws.size(), 1u);
  EXPECT_EQ(Themes.Theme().Draws[0].Rect, cxRect(2, 2, 17, 17));

  Themes.Theme().Draws.clear();
  TPaintTarget Scaled(20, 20, clWhite);
  N->DrawScaledCheck(Scaled.Canvas(), cxRect(2, 2, 17, 17), cxbsNormal, cbsChecked, clBtnText,
                     HalfAgain.get());
  // Drawn twice at the part's true size, over black and over white.
  ASSERT_EQ(Themes.Theme().Draws.size(), 2u);
  for (const TFakeThemeCall& Call : Themes.Theme().Draws) {
    EXPECT_EQ(Call.Rect, cxRect(0, 0, 10, 10));
    EXPECT_EQ(Call.Part, 3);
    EXPECT_EQ(Call.State, 5);
  }
  // Smooth stretching may move a channel by a step or two.
  COLORREF Centre = Scaled.Pixel(9, 9), Part = TFakeTheme::PartColor(3, 5);
  EXPECT_NEAR(GetRValue(Centre), GetRValue(Part), 3);
  EXPECT_NEAR(GetGValue(Centre), GetGValue(Part), 3);
  EXPECT_NEAR(GetBValue(Centre), GetBValue(Part), 3);
  EXPECT_EQ(Scaled.Pixel(1, 1), RGB(255, 255, 255));
  EXPECT_EQ(Scaled.Pixel(17, 17), RGB(255, 255, 255));
  // Tree-view glyphs go the same road and leave their rectangle excluded.
  Themes.Theme().Draws.clear();
  N->DrawScaledExpandButton(Scaled.Canvas(), cxRect(2, 2, 17, 17), false, HalfAgain.get(),
                            clDefault, cxbsNormal);
  EXPECT_EQ(Themes.Theme().Draws.size(), 2u);
}

TEST_F(NativeFake, BlackThatTheThemeDrawsStaysBlackAndUntouchedPixelsStayClear) {
  TFakeThemeScope Themes(true);
  Themes.Theme().PartSize = SIZE{16, 16};
  Themes.Theme().BlackPixels = true;
  const COLORREF Back = RGB(200, 120, 40);
  TPaintTarget T(24, 24, static_cast<TColor>(Back));
  TcxWinXPLookAndFeelPainter::DrawScaledThemeBackground(
      OpenTheme(totButton), T.DC(), true, dxSystemScaleFactor(), cxRect(4, 4, 20, 20), 1, 3);
  // The part's middle square (4 .. 12 of 16) is black; the rest of it was
  // left alone by the theme and shows the background.
  EXPECT_EQ(T.Pixel(12, 12), RGB(0, 0, 0));
  EXPECT_EQ(T.Pixel(8, 8), RGB(0, 0, 0));
  EXPECT_EQ(T.Pixel(5, 5), Back);
  EXPECT_EQ(T.Pixel(18, 18), Back);
  EXPECT_EQ(T.Pixel(0, 0), Back);
}

TEST_F(NativeFake, NoThemeOrNoPartSizeDrawsNothing) {
  TFakeThemeScope Themes(true);
  const COLORREF Back = RGB(10, 20, 30);
  TPaintTarget T(20, 20, static_cast<TColor>(Back));
  TcxWinXPLookAndFeelPainter::DrawScaledThemeBackground(
      nullptr, T.DC(), false, dxSystemScaleFactor(), cxRect(0, 0, 20, 20), 1, 3);
  TcxWinXPLookAndFeelPainter::DrawScaledThemeBackground(nullptr, T.DC(), true, HalfAgain.get(),
                                                        cxRect(0, 0, 20, 20), 1, 3);
  Themes.Theme().PartSizeFails = true;
  TcxWinXPLookAndFeelPainter::DrawScaledThemeBackground(
      OpenTheme(totButton), T.DC(), true, HalfAgain.get(), cxRect(0, 0, 20, 20), 1, 3);
  EXPECT_TRUE(Themes.Theme().Draws.empty());
  EXPECT_EQ(T.Shape(Back).find('.'), std::string::npos);
}

TEST(NativeAlpha, RecoversAlphaFromTheTwoBackgrounds) {
  struct TCase {
    RGBQUAD OnBlack, OnWhite, Expected;
  };
  // Quads are blue, green, red, reserved.
  const TCase Cases[] = {
      {{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 0, 0}},                // untouched
      {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 255}},                    // opaque black
      {{0, 0, 255, 0}, {0, 0, 255, 0}, {0, 0, 255, 255}},              // opaque red
      {{128, 128, 128, 0}, {255, 255, 255, 0}, {128, 128, 128, 128}},  // half white
      {{0, 0, 100, 0}, {155, 155, 255, 0}, {0, 0, 100, 100}},          // 100 of 255 of red
  };
  TRGBColors Black, White;
  for (const TCase& C : Cases) {
    Black.push_back(C.OnBlack);
    White.push_back(C.OnWhite);
  }
  dxRecoverAlphaFromBackgrounds(Black, White);
  for (size_t I = 0; I < Black.size(); ++I) {
    EXPECT_EQ(Black[I].rgbReserved, Cases[I].Expected.rgbReserved) << I;
    EXPECT_EQ(Black[I].rgbRed, Cases[I].Expected.rgbRed) << I;
    EXPECT_EQ(Black[I].rgbBlue, Cases[I].Expected.rgbBlue) << I;
  }
}

// ---------------------------------------------------------------------------
// Sound behaviour where there is nothing to follow
TEST_F(NativeFake, SizeGripWithoutAThemeIsTheInheritedSize) {
  TFakeThemeScope Themes(true, {L"ScrollBar"});
  EXPECT_EQ(N->ScaledSizeGripSize(HalfAgain.get()),
            StandardPainter()->ScaledSizeGripSize(HalfAgain.get()));
  EXPECT_GT(N->ScaledSizeGripSize(dxSystemScaleFactor()).cx, 0);
}

// A flat painter that tells how it was asked to draw.
class TFlatProbe : public TcxUltraFlatLookAndFeelPainter {
 public:
  String LookAndFeelName() override { return L"Flat"; }
  TcxLookAndFeelStyle LookAndFeelStyle() override { return lfsFlat; }
  void DrawScaledButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption,
                        TcxButtonState AState, const TdxScaleFactor* AScaleFactor, bool ADrawBorder,
                        TColor AColor, TColor ATextColor, bool AWordWrap, bool AIsToolButton,
                        TcxButtonPart APart) override {
    Borders().push_back(ADrawBorder);
    inherited::DrawScaledButton(ACanvas, R, ACaption, AState, AScaleFactor, ADrawBorder, AColor,
                                ATextColor, AWordWrap, AIsToolButton, APart);
  }
  static std::vector<bool>& Borders() {
    static std::vector<bool> B;
    return B;
  }
};

TEST_F(NativeFake, CommandLinkWithoutAThemeUsesTheFlatPainterOrItsOwnLook) {
  TFakeThemeScope Themes(false);
  TPainterAbsence<TcxFlatLookAndFeelPainter> NoFlat;
  // The probe goes before the Flat look comes back, whatever happens.
  auto RemoveProbe = Finally([] { cxLookAndFeelPaintersManager()->Unregister(L"Flat"); });
  // No flat painter registered: the inherited (Standard) look; a default
  // face is the Native painter's own border width in.
  for (TcxButtonState St : {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
    TPaintTarget Ours(120, 40, clWhite), Standard(120, 40, clWhite);
    N->DrawScaledCommandLinkBackground(Ours.Canvas(), cxRect(0, 0, 120, 40), St,
                                       dxSystemScaleFactor(), clDefault);
    StandardPainter()->DrawScaledCommandLinkBackground(Standard.Canvas(), cxRect(0, 0, 120, 40), St,
                                                       dxSystemScaleFactor(), clDefault);
    EXPECT_TRUE(SamePixels(Ours, Standard)) << ButtonStateName(St);
  }
  // With one: its button, framed only while hot or pressed.
  TFlatProbe::Borders().clear();
  ASSERT_TRUE(cxLookAndFeelPaintersManager()->Register(Create<TFlatProbe>()));
  for (TcxButtonState St : AllButtonStates) {
    TPaintTarget T(120, 40);
    N->DrawScaledCommandLinkBackground(T.Canvas(), cxRect(0, 0, 120, 40), St, dxSystemScaleFactor(),
                                       clDefault);
  }
  EXPECT_EQ(TFlatProbe::Borders(), (std::vector<bool>{false, false, true, true, false}));
}

TEST(PainterGlyphs, TheSearchGlyphOfADefaultButtonIsTheNormalFrame) {
  auto Draw = [](TcxButtonState St) {
    auto T = std::make_unique<TPaintTarget>(15, 15, clWhite);
    StandardPainter()->DrawScaledSearchEditButtonGlyph(T->Canvas(), cxRect(0, 0, 15, 15), St,
                                                       dxDefaultScaleFactor());
    return T;
  };
  auto Default = Draw(cxbsDefault), Normal = Draw(cxbsNormal), Hot = Draw(cxbsHot);
  EXPECT_TRUE(SamePixels(*Default, *Normal));
  EXPECT_FALSE(SamePixels(*Normal, *Hot));
  EXPECT_EQ(StandardPainter()->GetScaledBackButtonSize(dxDefaultScaleFactor()), (TSize{30, 30}));
  EXPECT_EQ(StandardPainter()->GetSearchButtonGlyph()->Width(), 11);
  EXPECT_EQ(StandardPainter()->GetSearchButtonGlyph()->Height(), 44);
  EXPECT_EQ(StandardPainter()->GetSearchButtonGlyph(), StandardPainter()->GetSearchButtonGlyph());
  EXPECT_EQ(NativePainter()->ZoomInButtonGlyph()->Width(), 9);
  EXPECT_EQ(NativePainter()->ZoomOutButtonGlyph()->PixelFormat(), TPixelFormat::pf32bit);
}

TEST(PainterGlyphs, AHotCommandLinkShowsTheSecondFrameMirroredRightToLeft) {
  auto Draw = [](TcxButtonState St, bool RightToLeft) {
    auto T = std::make_unique<TPaintTarget>(20, 20, clWhite);
    T->Canvas()->SetUseRightToLeftAlignment(RightToLeft);
    StandardPainter()->DrawScaledCommandLinkGlyph(T->Canvas(), TPoint{0, 0}, St,
                                                  dxDefaultScaleFactor());
    return T;
  };
  auto Normal = Draw(cxbsNormal, false), Pressed = Draw(cxbsPressed, false),
       Hot = Draw(cxbsHot, false), Mirrored = Draw(cxbsNormal, true);
  EXPECT_TRUE(SamePixels(*Normal, *Pressed));
  EXPECT_FALSE(SamePixels(*Normal, *Hot));
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 20; ++X)
      ASSERT_EQ(Mirrored->Pixel(X, Y), Normal->Pixel(19 - X, Y)) << X << ", " << Y;
}

}  // namespace
