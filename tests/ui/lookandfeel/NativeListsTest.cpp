// The Native look's menu lists, hints, small close button and back button:
// against the platform's own theme drawing with the part and state numbers
// written out, and through the scripted theme where the platform's theme
// cannot show a branch.
#include <functional>
#include <string>
#include <vector>

#include "LookAndFeelTestSupport.h"
#include "PainterElements.h"

namespace {

TEST(NativeLists, MenuListAndToolTipAgainstThePlatformsTheme) {
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  const TdxScaleFactor* F = dxSystemScaleFactor();
  struct TCase {
    std::string Name;
    const wchar_t* Class;
    int Part, State;
    TRect Drawn;  // where the part lands, for the element drawn in (4, 4, 64, 24)
    std::function<void(TcxCanvas*, const TRect&)> Draw;
  };
  const TRect R = cxRect(4, 4, 64, 24);
  const TRect Gutter = cxRect(4, 4, 20, 24);
  std::vector<TCase> Cases = {
      {"gutter", L"Menu", 13, 0, R,
       [=](TcxCanvas* C, const TRect& B) {
         N->DrawDropDownListBoxScaledGutterBackground(C, B, F);
       }},
      {"selection", L"Menu", 14, 2, R,
       [=](TcxCanvas* C, const TRect& B) {
         N->DrawDropDownListBoxScaledSelection(C, B, Gutter, F);
       }},
      {"background without borders", L"Menu", 9, 0, R,
       [=](TcxCanvas* C, const TRect& B) { N->DrawDropDownListBoxBackground(C, B, false); }},
      // The hint's part reaches 4 pixels beyond it on every side.
      {"hint", L"ToolTip", 1, 1, cxRectInflate(R, 4, 4),
       [=](TcxCanvas* C, const TRect& B) { N->DrawHintBackground(C, B, clDefault); }},
  };
  int Themed = 0;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOracleTheme Theme(C.Class);
    if (!Theme.Handle()) continue;
    ++Themed;
    TPaintTarget Ours(68, 28), Platform(68, 28);
    C.Draw(Ours.Canvas(), R);
    RECT Rc = C.Drawn;
    dxUxTheme::DrawThemeBackground(Theme.Handle(), Platform.DC(), C.Part, C.State, &Rc, nullptr);
    EXPECT_EQ(Difference(Ours.Bitmap(), Platform.Bitmap()), "");
  }
  EXPECT_GT(Themed, 0);
  // The separator: a strip of the part's true height centred in R, from
  // two pixels right of the gutter.
  TOracleTheme Menu(L"Menu");
  SIZE Size{};
  if (Menu.Handle() && SUCCEEDED(dxUxTheme::GetThemePartSize(Menu.Handle(), nullptr, 15, 0, nullptr,
                                                             TS_TRUE, &Size))) {
    TPaintTarget Ours(68, 28), Platform(68, 28);
    N->DrawDropDownListBoxScaledSeparator(Ours.Canvas(), R, Gutter, F);
    const int Top = (R.top + R.bottom - Size.cy) / 2;
    RECT Rc{Gutter.right + 2, Top, R.right, Top + Size.cy};
    dxUxTheme::DrawThemeBackground(Menu.Handle(), Platform.DC(), 15, 0, &Rc, nullptr);
    EXPECT_EQ(Difference(Ours.Bitmap(), Platform.Bitmap()), "");
    EXPECT_EQ(N->DropDownListBoxScaledSeparatorSize(F), Size.cy);
  }
}

TEST(NativeLists, MenuBordersHintColoursAndFallbacks) {
  TInjectedSysColors Colors(ClassicColors());
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  {
    TFakeThemeScope Themes(true);
    Themes.Theme().BlackPixels = true;
    // With borders: two frames in the theme's edge colours, then the part
    // inside them.
    TPaintTarget T(30, 20, static_cast<TColor>(RGB(1, 2, 3)));
    N->DrawDropDownListBoxBackground(T.Canvas(), cxRect(0, 0, 30, 20), true);
    ASSERT_EQ(Themes.Theme().Draws.size(), 1u);
    EXPECT_EQ(Themes.Theme().Draws[0].ClassName, L"Menu");
    EXPECT_EQ(Themes.Theme().Draws[0].Part, 9);
    EXPECT_EQ(Themes.Theme().Draws[0].Rect, cxRect(2, 2, 28, 18));
    EXPECT_EQ(T.Pixel(0, 0), Themes.Theme().Color);
    EXPECT_EQ(T.Pixel(1, 1), Themes.Theme().Color);
    EXPECT_EQ(N->GetHintBorderColor(), clWindowFrame);
    EXPECT_EQ(N->ScreenTipGetTitleTextColor(), static_cast<TColor>(Themes.Theme().Color));
    EXPECT_EQ(N->DropDownListBoxItemTextColor(false), static_cast<TColor>(Themes.Theme().Color));
    // The colour queries failing: the frames fall back to shadow and
    // highlight, the text colours to the inherited ones.
    Themes.Theme().ColorFails = true;
    TPaintTarget Fallback(30, 20);
    N->DrawDropDownListBoxBackground(Fallback.Canvas(), cxRect(0, 0, 30, 20), true);
    EXPECT_EQ(Fallback.Pixel(0, 0), kBtnShadow);
    EXPECT_EQ(Fallback.Pixel(1, 1), kBtnHighlight);
    EXPECT_EQ(N->ScreenTipGetDescriptionTextColor(),
              StandardPainter()->ScreenTipGetDescriptionTextColor());
  }
  {
    // Without the menu and tool-tip classes: the inherited hint and list
    // drawing, but the list background still in its borders over clWindow.
    TFakeThemeScope Themes(true, {L"Menu", L"ToolTip"});
    TPaintTarget Ours(30, 20), Inherited(30, 20);
    N->DrawHintBackground(Ours.Canvas(), cxRect(0, 0, 30, 20), clDefault);
    StandardPainter()->DrawHintBackground(Inherited.Canvas(), cxRect(0, 0, 30, 20), clDefault);
    EXPECT_EQ(Difference(Ours.Bitmap(), Inherited.Bitmap()), "");
    EXPECT_EQ(N->GetHintBorderColor(), StandardPainter()->GetHintBorderColor());
    TPaintTarget List(30, 20);
    N->DrawDropDownListBoxBackground(List.Canvas(), cxRect(0, 0, 30, 20), false);
    EXPECT_EQ(List.Pixel(15, 10), kWindow);
    TPaintTarget Sel(30, 20), InheritedSel(30, 20);
    N->DrawDropDownListBoxScaledSelection(Sel.Canvas(), cxRect(0, 0, 30, 20), cxRect(0, 0, 8, 20),
                                          dxSystemScaleFactor());
    StandardPainter()->DrawDropDownListBoxScaledSelection(
        InheritedSel.Canvas(), cxRect(0, 0, 30, 20), cxRect(0, 0, 8, 20), dxSystemScaleFactor());
    EXPECT_EQ(Difference(Sel.Bitmap(), InheritedSel.Bitmap()), "");
  }
}

TEST(NativeLists, TheSmallCloseButtonFollowsTheWindowsEightRule) {
  bool Saved = IsWin8OrLater;
  auto Restore = Finally([Saved] { IsWin8OrLater = Saved; });
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  TFakeThemeScope Themes(true);
  struct TCase {
    SIZE Part;
    bool Win8;
    TSize Expected;
  };
  const TCase Cases[] = {{{8, 8}, false, {8, 8}},     {{8, 8}, true, {13, 13}},
                         {{16, 9}, true, {13, 13}},   {{16, 10}, true, {16, 10}},
                         {{16, 14}, false, {16, 14}}, {{9, 20}, false, {9, 20}}};
  for (const TCase& C : Cases) {
    IsWin8OrLater = C.Win8;
    Themes.Theme().PartSize = C.Part;
    EXPECT_EQ(N->DoGetSmallCloseButtonSize(), C.Expected)
        << C.Part.cx << "x" << C.Part.cy << " " << C.Win8;
  }
  // A failing size query gives the inherited size.
  Themes.Theme().PartSizeFails = true;
  EXPECT_EQ(N->DoGetSmallCloseButtonSize(), StandardPainter()->DoGetSmallCloseButtonSize());
}

TEST(NativeLists, TheBackButtonIsTheNavigationPart) {
  TInjectedSysColors Colors(ClassicColors());
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  {
    TFakeThemeScope Themes(true);
    Themes.Theme().PartSize = {30, 30};
    const int States[] = {1, 1, 2, 3, 4};
    for (TcxButtonState St : AllButtonStates) {
      Themes.Theme().Draws.clear();
      TPaintTarget T(30, 30);
      N->DrawBackButton(T.Canvas(), cxRect(0, 0, 30, 30), St);
      ASSERT_EQ(Themes.Theme().Draws.size(), 1u);
      EXPECT_EQ(Themes.Theme().Draws[0].ClassName, L"Navigation");
      EXPECT_EQ(Themes.Theme().Draws[0].Part, 1);
      EXPECT_EQ(Themes.Theme().Draws[0].State, States[St]);
    }
    TdxScaleFactor Twice;
    Twice.Assign(2, 1, false);
    EXPECT_EQ(N->GetScaledBackButtonSize(&Twice),
              (Twice.Apply(TSize{30, 30}, dxSystemScaleFactor())));
    Themes.Theme().PartSizeFails = true;
    EXPECT_EQ(N->GetScaledBackButtonSize(&Twice),
              StandardPainter()->GetScaledBackButtonSize(&Twice));
  }
  {
    TFakeThemeScope Themes(true, {L"Navigation"});
    TPaintTarget Ours(30, 30), Base(30, 30);
    N->DrawBackButton(Ours.Canvas(), cxRect(0, 0, 30, 30), cxbsHot);
    StandardPainter()->DrawBackButton(Base.Canvas(), cxRect(0, 0, 30, 30), cxbsHot);
    EXPECT_EQ(Difference(Ours.Bitmap(), Base.Bitmap()), "");
  }
}

}  // namespace
