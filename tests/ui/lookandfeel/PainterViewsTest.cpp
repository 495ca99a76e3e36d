// Views, print preview, message box, scheduler elements, the clock and the
// navigators, against shapes worked out by hand from the painters' tables.
#include <optional>
#include <string>
#include <vector>

#include "LookAndFeelTestSupport.h"
#include "PainterElements.h"

namespace {

class ViewPixels : public ::testing::Test {
 protected:
  void SetUp() override { Colors.emplace(ClassicColors()); }
  void TearDown() override { Colors.reset(); }
  std::optional<TInjectedSysColors> Colors;
};

std::string Rows(std::initializer_list<const char*> ARows) {
  std::string S;
  for (const char* R : ARows) S += std::string(R) + '\n';
  return S;
}

void PlatformPolygon(HDC DC, const std::vector<TPoint>& P, COLORREF APen, COLORREF ABrush) {
  TBrushHandle B(CreateSolidBrush(ABrush));
  TPenHandle Pen(CreatePen(PS_SOLID, 1, APen));
  TSelectObjectGuard SelectB(DC, B.Get());
  TSelectObjectGuard SelectP(DC, Pen.Get());
  Polygon(DC, P.data(), static_cast<int>(P.size()));
}

TEST_F(ViewPixels, SchedulerGroupAndMilestonePolygons) {
  TcxArrowPoints P;
  cxGetSchedulerGroupPolygon(cxRect(0, 0, 20, 12), P);
  EXPECT_EQ(P, (TcxArrowPoints{{0, 2}, {19, 2}, {19, 10}, {15, 6}, {4, 6}, {0, 10}}));
  // The milestone of a 10 x 7 rectangle: a diamond 6 across, from the
  // left edge of the centred 7 x 7 square.
  cxGetSchedulerMilestonePolygon(cxRect(0, 0, 10, 7), P);
  EXPECT_EQ(P, (TcxArrowPoints{{1, 3}, {4, 0}, {7, 3}, {4, 6}}));
  cxGetSchedulerMilestonePolygon(cxRect(-5, 2, 6, 9), P);
  EXPECT_EQ(P, (TcxArrowPoints{{-3, 5}, {0, 2}, {3, 5}, {0, 8}}));
  // A square of 12: the diamond is 10 across (11 pixels), not 12 (13
  // pixels, one beyond the square).
  cxGetSchedulerMilestonePolygon(cxRect(0, 0, 12, 12), P);
  EXPECT_EQ(P, (TcxArrowPoints{{0, 5}, {5, 0}, {10, 5}, {5, 10}}));
  TPaintTarget Square(14, 14, static_cast<TColor>(RGB(1, 2, 3)));
  StandardPainter()->DrawSchedulerMilestone(Square.Canvas(), cxRect(1, 1, 13, 13));
  for (int I = 0; I < 14; ++I) {
    EXPECT_EQ(Square.Pixel(13, I), RGB(1, 2, 3)) << I;
    EXPECT_EQ(Square.Pixel(I, 13), RGB(1, 2, 3)) << I;
  }

  TPaintTarget Ours(22, 14), Platform(22, 14);
  StandardPainter()->DrawSchedulerGroup(Ours.Canvas(), cxRect(1, 1, 21, 13), clSkyBlue);
  PlatformPolygon(Platform.DC(), {{1, 3}, {20, 3}, {20, 11}, {16, 7}, {5, 7}, {1, 11}}, 0,
                  dxColorToRGB(clSkyBlue));
  EXPECT_EQ(Difference(Ours.Bitmap(), Platform.Bitmap()), "");
  TPaintTarget Diamond(12, 9), PlatformDiamond(12, 9);
  StandardPainter()->DrawSchedulerMilestone(Diamond.Canvas(), cxRect(1, 1, 11, 8));
  PlatformPolygon(PlatformDiamond.DC(), {{2, 4}, {5, 1}, {8, 4}, {5, 7}}, 0, RGB(128, 128, 128));
  EXPECT_EQ(Difference(Diamond.Bitmap(), PlatformDiamond.Bitmap()), "");
}

TEST_F(ViewPixels, SchedulerNavigationButtonLayout) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  const TdxScaleFactor* F = dxDefaultScaleFactor();
  struct TCase {
    bool Next, Collapsed, Vertical;
    TRect Bounds;
    Integer TextLength;
    TRect ExpectedBounds, ExpectedText, ExpectedArrow;
  };
  const TCase Cases[] = {
      // Collapsed: three arrow widths and the borders, centred; no text.
      {true, true, false, cxRect(10, 0, 110, 20), 30, cxRect(43, 0, 76, 20), cxNullRect,
       cxRect(56, 6, 63, 13)},
      {false, true, true, cxRect(0, 0, 20, 100), 30, cxRect(0, 33, 20, 66), cxNullRect,
       cxRect(6, 46, 13, 53)},
      // The text fits: the bounds stay.
      {true, false, false, cxRect(0, 0, 110, 20), 30, cxRect(0, 0, 110, 20), cxRect(20, 2, 78, 20),
       cxRect(90, 7, 97, 14)},
      // It does not: 12 pixels more on both sides, the arrow with the right
      // one.
      {true, false, false, cxRect(0, 0, 110, 20), 70, cxRect(-12, 0, 122, 20), cxRect(8, 2, 90, 20),
       cxRect(102, 7, 109, 14)},
      // Vertical: the arrow in the first zone, the text below it.
      {false, false, true, cxRect(0, 0, 20, 110), 30, cxRect(0, 0, 20, 110), cxRect(0, 32, 18, 90),
       cxRect(5, 13, 12, 20)},
      {false, false, true, cxRect(0, 0, 20, 110), 70, cxRect(0, -12, 20, 122),
       cxRect(0, 20, 18, 102), cxRect(5, 1, 12, 8)},
  };
  for (const TCase& C : Cases) {
    TRect Bounds = C.Bounds, Text, Arrow;
    P->CalculateSchedulerNavigationButtonRects(C.Next, C.Collapsed, TSize{C.TextLength, 13},
                                               TSize{10, 13}, Bounds, Text, Arrow, F, C.Vertical);
    EXPECT_EQ(Bounds, C.ExpectedBounds) << ToString(Bounds);
    EXPECT_EQ(Text, C.ExpectedText) << ToString(Text);
    EXPECT_EQ(Arrow, C.ExpectedArrow) << ToString(Arrow);
  }
}

TEST_F(ViewPixels, SchedulerNavigationArrowsAreChevronsAgainstALine) {
  struct TCase {
    bool Next, Vertical;
    std::string Expected;
  };
  const TCase Cases[] = {
      {true, false,
       Rows({"#.....#", "##...##", ".##.##.", "..###..", "...#...", ".......", "#######"})},
      {false, false,
       Rows({"#######", ".......", "...#...", "..###..", ".##.##.", "##...##", "#.....#"})},
      {true, true,
       Rows({"##....#", ".##...#", "..##..#", "...##.#", "..##..#", ".##...#", "##....#"})},
      {false, true,
       Rows({"#....##", "#...##.", "#..##..", "#.##...", "#..##..", "#...##.", "#....##"})},
  };
  for (const TCase& C : Cases) {
    TPaintTarget T(7, 7);
    StandardPainter()->DrawSchedulerNavigationButtonArrow(T.Canvas(), cxRect(0, 0, 7, 7), C.Next,
                                                          clBtnText, C.Vertical);
    EXPECT_EQ(T.Shape(kBtnText), C.Expected) << C.Next << " " << C.Vertical;
  }
}

TEST_F(ViewPixels, ADayHeaderIsOnlyWhatItsHandlerPaints) {
  struct THandler {
    std::vector<TRect> Calls;
    bool Paint(TcxCanvas* ACanvas, const TRect& ABounds) {
      Calls.push_back(ABounds);
      ACanvas->FillRect(ABounds, clBlack);
      return true;
    }
  } Handler;
  TPaintTarget T(30, 10);
  auto Draw = [&](const TcxDrawBackgroundEvent& AEvent) {
    StandardPainter()->DrawSchedulerDayHeader(
        T.Canvas(), cxRect(2, 2, 28, 8), cxRect(2, 2, 28, 8), TcxNeighbors(), cxBordersAll(),
        cxbsNormal, taCenter, vaCenter, false, false, L"Mon", nullptr, clBtnText, clBtnFace,
        dxDefaultScaleFactor(), AEvent, false, false);
  };
  // Without a handler there is nothing to paint.
  Draw(nullptr);
  EXPECT_EQ(T.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);
  Draw(MakeEvent<&THandler::Paint>(&Handler));
  ASSERT_EQ(Handler.Calls.size(), 1u);
  EXPECT_EQ(Handler.Calls[0], cxRect(2, 2, 28, 8));
  EXPECT_EQ(T.Pixel(15, 5), RGB(0, 0, 0));
}

TEST_F(ViewPixels, PrintPreviewColoursAndPages) {
  TPaintTarget Base(10, 10), Ultra(10, 10);
  StandardPainter()->DrawPrintPreviewScaledBackground(Base.Canvas(), cxRect(0, 0, 10, 10),
                                                      dxDefaultScaleFactor());
  UltraFlatPainter()->DrawPrintPreviewScaledBackground(Ultra.Canvas(), cxRect(0, 0, 10, 10),
                                                       dxDefaultScaleFactor());
  EXPECT_EQ(Base.Pixel(5, 5), kBtnShadow);
  // 128 + (255 - 128) div 3.
  EXPECT_EQ(Ultra.Pixel(5, 5), RGB(170, 170, 170));
  EXPECT_EQ(StandardPainter()->PrintPreviewPageBordersScaledWidth(dxDefaultScaleFactor()),
            cxRect(2, 2, 4, 4));
  // A page 12 x 10 with its content 3 in: the frame in the selection colour
  // between the content and the page's edge, a shadow of 2 below and right.
  const std::vector<std::pair<COLORREF, char>> Key = {
      {kHighlight, 'H'}, {kWindowText, 'K'}, {kWindow, 'w'}};
  auto Letters = [&](const TPaintTarget& T) {
    std::string S;
    for (int Y = 0; Y < T.Height(); ++Y) {
      for (int X = 0; X < T.Width(); ++X) {
        char Ch = '.';
        for (auto [Color, L] : Key)
          if (T.Pixel(X, Y) == Color) Ch = L;
        S += Ch;
      }
      S += '\n';
    }
    return S;
  };
  TPaintTarget Selected(12, 10, static_cast<TColor>(RGB(1, 2, 3)));
  StandardPainter()->DrawPrintPreviewPageScaledBackground(Selected.Canvas(), cxRect(0, 0, 12, 10),
                                                          cxRect(3, 3, 7, 5), true, true,
                                                          dxDefaultScaleFactor());
  EXPECT_EQ(Letters(Selected),
            Rows({"HHHHHHHHHH..", "HHHHHHHHHH..", "HHHHHHHHHHKK", "HHHwwwwHHHKK", "HHHwwwwHHHKK",
                  "HHHHHHHHHHKK", "HHHHHHHHHHKK", "HHHHHHHHHHKK", "..KKKKKKKKKK", "..KKKKKKKKKK"}));
  TPaintTarget Plain(12, 10, static_cast<TColor>(RGB(1, 2, 3)));
  StandardPainter()->DrawPrintPreviewPageScaledBackground(Plain.Canvas(), cxRect(0, 0, 12, 10),
                                                          cxRect(3, 3, 7, 5), false, true,
                                                          dxDefaultScaleFactor());
  EXPECT_EQ(Letters(Plain),
            Rows({"............", ".KKKKKKKK...", ".KKKKKKKK...", ".KKwwwwKKKK.", ".KKwwwwKKKK.",
                  ".KKKKKKKKKK.", ".KKKKKKKKKK.", "...KKKKKKKK.", "...KKKKKKKK.", "............"}));
}

TEST_F(ViewPixels, AMessageBoxKeepsTheCanvasFontWithoutOne) {
  TPaintTarget T(60, 20);
  TOwned<TFont> Font = TestFont();
  T.Canvas()->SetFont(Font.get());
  T.Canvas()->SaveClipRegion();
  StandardPainter()->DrawMessageBox(T.Canvas(), cxRect(0, 0, 60, 20), L"x", nullptr,
                                    static_cast<TColor>(RGB(9, 9, 200)));
  T.Canvas()->RestoreClipRegion();
  EXPECT_EQ(T.Canvas()->Font()->Name(), Font->Name());
  EXPECT_EQ(T.Pixel(0, 0), dxColorToRGB(StandardPainter()->DefaultGridLineColor()));
  EXPECT_EQ(T.Pixel(3, 3), RGB(9, 9, 200));
  TPaintTarget Default(60, 20);
  Default.Canvas()->SaveClipRegion();
  StandardPainter()->DrawMessageBox(Default.Canvas(), cxRect(0, 0, 60, 20), String());
  Default.Canvas()->RestoreClipRegion();
  EXPECT_EQ(Default.Pixel(3, 3), dxColorToRGB(StandardPainter()->DefaultGroupColor()));
}

TEST_F(ViewPixels, ExplorerRecordsAreFramedOnlyWhenNotNormal) {
  for (TcxButtonState S : AllButtonStates) {
    TPaintTarget T(10, 8, static_cast<TColor>(RGB(1, 2, 3)));
    T.Canvas()->SaveClipRegion();
    StandardPainter()->WinExplorerViewDrawRecord(T.Canvas(), cxRect(0, 0, 10, 8), S);
    T.Canvas()->RestoreClipRegion();
    bool Framed = S == cxbsHot || S == cxbsPressed || S == cxbsDisabled;
    EXPECT_EQ(T.Pixel(0, 0) == kBtnShadow, Framed) << S;
    EXPECT_EQ(T.Pixel(5, 4), dxColorToRGB(StandardPainter()->WinExplorerViewDefaultRecordColor(S)));
  }
}

TEST_F(ViewPixels, TheNavigatorGlyphsLeftBottomPixelIsItsTransparentKey) {
  // An 11 x 11 glyph: a black square on magenta, magenta in the
  // left-bottom corner.
  TOwned<TImageList> Images(Create<TImageList>(nullptr));
  Images->SetSize(11, 11);
  Images->SetMasked(false);
  TOwned<TcxBitmap> Glyph(TcxBitmap::CreateSize(11, 11));
  Glyph->cxCanvas()->FillRect(cxRect(0, 0, 11, 11), static_cast<TColor>(RGB(255, 0, 255)));
  Glyph->cxCanvas()->FillRect(cxRect(3, 3, 8, 8), clBlack);
  Images->Add(Glyph.get(), nullptr);
  const COLORREF Back = RGB(200, 200, 0);
  TPaintTarget Enabled(11, 11, static_cast<TColor>(Back)),
      Disabled(11, 11, static_cast<TColor>(Back));
  StandardPainter()->DrawNavigatorScaledButtonGlyph(
      Enabled.Canvas(), Images.get(), 0, cxRect(0, 0, 11, 11), true, false, dxDefaultScaleFactor());
  StandardPainter()->DrawNavigatorScaledButtonGlyph(Disabled.Canvas(), Images.get(), 0,
                                                    cxRect(0, 0, 11, 11), false, false,
                                                    dxDefaultScaleFactor());
  EXPECT_EQ(Enabled.Shape(Back), Rows({"###########", "###########", "###########", "###.....###",
                                       "###.....###", "###.....###", "###.....###", "###.....###",
                                       "###########", "###########", "###########"}));
  EXPECT_EQ(Enabled.Pixel(5, 5), RGB(0, 0, 0));
  // Disabled: drawn otherwise, the key still transparent.
  EXPECT_EQ(Disabled.Pixel(0, 0), Back);
  EXPECT_EQ(Disabled.Pixel(10, 10), Back);
  EXPECT_NE(Disabled.Pixel(5, 5), RGB(0, 0, 0));
  EXPECT_NE(Disabled.Pixel(5, 5), Back);
  TOwned<TdxScaleFactor> HalfAgain = MakeOwned<TdxScaleFactor>();
  HalfAgain->Assign(3, 2, false);
  EXPECT_EQ(StandardPainter()->NavigatorScaledButtonMinSize(HalfAgain.get()), (TSize{26, 29}));
  EXPECT_EQ(StandardPainter()->NavigatorScaledButtonGlyphSize(HalfAgain.get()), (TSize{17, 17}));
  // Drawn larger than the list's own size (as at 144 DPI), the key is still
  // transparent everywhere: resizing must not blend it into other colours.
  TPaintTarget Larger(17, 17, static_cast<TColor>(Back));
  StandardPainter()->DrawNavigatorScaledButtonGlyph(
      Larger.Canvas(), Images.get(), 0, cxRect(0, 0, 17, 17), true, false, HalfAgain.get());
  for (int Y = 0; Y < 17; ++Y)
    for (int X = 0; X < 17; ++X) {
      COLORREF C = Larger.Pixel(X, Y);
      EXPECT_TRUE(C == Back || C == RGB(0, 0, 0)) << X << "," << Y << " " << std::hex << C;
    }
  EXPECT_EQ(Larger.Pixel(0, 16), Back);
  EXPECT_EQ(Larger.Pixel(8, 8), RGB(0, 0, 0));
  EXPECT_EQ(NativePainter()->NavigatorButtonPressedGlyphOffset(), (TPoint{0, 0}));
  EXPECT_EQ(StandardPainter()->NavigatorButtonPressedGlyphOffset(), (TPoint{1, 1}));
}

TEST_F(ViewPixels, AScrollBarSplitterIsANavigatorButtonAroundASplitter) {
  const TdxScaleFactor* F = dxDefaultScaleFactor();
  const TRect R = cxRect(0, 0, 20, 40), Inner = cxRect(2, 2, 18, 38);
  for (TcxLookAndFeelStyle Style : {lfsFlat, lfsOffice11, lfsStandard, lfsUltraFlat})
    for (TcxButtonState S : {cxbsNormal, cxbsHot, cxbsPressed}) {
      TcxCustomLookAndFeelPainter* P = PainterOf(Style);
      TPaintTarget Ours(20, 40), Button(20, 40);
      TPaintTarget Splitter(20, 40, static_cast<TColor>(RGB(1, 2, 3)));
      P->DrawScaledScrollBarSplitter(Ours.Canvas(), R, S, F);
      P->DrawNavigatorScaledButton(Button.Canvas(), R, S, clDefault, F);
      P->DrawNavigatorBorder(Button.Canvas(), R, false);
      P->DrawScaledSplitter(Splitter.Canvas(), Inner, S == cxbsHot, S == cxbsPressed, false, F);
      // Outside the inner rectangle the button; inside it, the splitter's
      // pixels wherever the splitter draws.
      int SplitterPixels = 0;
      for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 20; ++X) {
          const bool In = cxRectPtIn(Inner, X, Y);
          const bool Drawn = Splitter.Pixel(X, Y) != RGB(1, 2, 3);
          SplitterPixels += In && Drawn;
          const COLORREF Expected = In && Drawn ? Splitter.Pixel(X, Y) : Button.Pixel(X, Y);
          if (Ours.Pixel(X, Y) != Expected) {
            ADD_FAILURE() << Style << " " << S << " at " << X << "," << Y;
            Y = 40;
            break;
          }
        }
      EXPECT_GT(SplitterPixels, 0) << Style << " " << S;
    }
}

TEST_F(ViewPixels, DateHeadersReturnWhatLiesInsideTheirFrame) {
  TPaintTarget T(20, 10);
  TRect R = cxRect(0, 0, 20, 10);
  StandardPainter()->DrawDateNavigatorDateHeader(T.Canvas(), R);
  EXPECT_EQ(R, cxRect(1, 1, 19, 9));
  EXPECT_EQ(T.Pixel(0, 0), kBtnHighlight);
  EXPECT_EQ(T.Pixel(19, 9), kBtnShadow);
  R = cxRect(0, 0, 20, 10);
  PainterOf(lfsFlat)->DrawDateNavigatorDateHeader(T.Canvas(), R);
  EXPECT_EQ(R, cxRect(0, 0, 20, 9));
  EXPECT_EQ(T.Pixel(5, 9), kBtnFace);
}

TEST_F(ViewPixels, TheClockHasTwelveDotsAndItsHandsFollowTheTime) {
  const COLORREF Aqua = RGB(0, 255, 255), Teal = RGB(0, 128, 128), Red = RGB(255, 0, 0);
  auto Draw = [](TDateTime ATime) {
    auto T = std::make_unique<TPaintTarget>(100, 100);
    StandardPainter()->DrawScaledClock(T->Canvas(), cxRect(0, 0, 100, 100), ATime, clWindow,
                                       dxDefaultScaleFactor());
    return T;
  };
  auto Count = [](const TPaintTarget& T, COLORREF C, const TRect& R) {
    int N = 0;
    for (int Y = R.top; Y < R.bottom; ++Y)
      for (int X = R.left; X < R.right; ++X) N += T.Pixel(X, Y) == C;
    return N;
  };
  auto Three = Draw(EncodeTime(3, 0, 0, 0));
  // Twelve dots of 2 x 2, each with its shadow one pixel right and down.
  EXPECT_EQ(Count(*Three, Aqua, cxRect(0, 0, 100, 100)), 12 * 4);
  // The dot at three o'clock: centred on (50 + 48, 50).
  EXPECT_EQ(Three->Pixel(97, 49), Aqua);
  EXPECT_EQ(Three->Pixel(99, 51), kBtnText);
  // At three the hour hand points right, the minute hand up; the second
  // hand up as well.
  EXPECT_GT(Count(*Three, Teal, cxRect(75, 45, 90, 56)), 0);
  EXPECT_EQ(Count(*Three, Teal, cxRect(0, 40, 40, 60)), 0);
  EXPECT_GT(Count(*Three, Teal, cxRect(45, 10, 56, 30)), 0);
  EXPECT_GT(Count(*Three, Red, cxRect(45, 8, 56, 40)), 0);
  auto Twelve = Draw(EncodeTime(12, 0, 0, 0));
  EXPECT_EQ(Count(*Twelve, Teal, cxRect(60, 40, 100, 60)), 0);
  EXPECT_GT(Count(*Twelve, Teal, cxRect(45, 15, 56, 30)), 0);
  EXPECT_EQ(Count(*Twelve, Teal, cxRect(0, 75, 100, 100)), 0);
  // The caller's clip comes back.
  TPaintTarget T(20, 20);
  StandardPainter()->DrawScaledClock(T.Canvas(), cxRect(0, 0, 20, 20), EncodeTime(1, 0, 0, 0),
                                     clWindow, dxDefaultScaleFactor());
  T.Canvas()->FillRect(cxRect(0, 0, 20, 20), clBlack);
  EXPECT_EQ(T.Shape(RGB(0, 0, 0)).find('.'), std::string::npos);
}

TEST(NativeViews, SchedulerAndViewElementsThemedByTheirTables) {
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  TFakeThemeScope Themes(true);
  const int Navigator[] = {2, 2, 5, 3, 4};
  for (TcxButtonState St : AllButtonStates) {
    Themes.Theme().Draws.clear();
    TPaintTarget T(20, 20);
    N->DrawSchedulerScaledNavigatorButton(T.Canvas(), cxRect(0, 0, 20, 20), St,
                                          dxSystemScaleFactor());
    ASSERT_EQ(Themes.Theme().Draws.size(), 1u);
    EXPECT_EQ(Themes.Theme().Draws[0].ClassName, L"ToolBar");
    EXPECT_EQ(Themes.Theme().Draws[0].State, Navigator[St]);
    // Layout items and explorer records are themed only hot, pressed or
    // disabled.
    Themes.Theme().Draws.clear();
    T.Canvas()->SaveClipRegion();
    N->LayoutViewDrawItem(T.Canvas(), cxRect(0, 0, 20, 20), St, cxBordersAll());
    N->WinExplorerViewDrawRecord(T.Canvas(), cxRect(0, 0, 20, 20), St);
    T.Canvas()->RestoreClipRegion();
    bool Themed = St == cxbsHot || St == cxbsPressed || St == cxbsDisabled;
    EXPECT_EQ(Themes.Theme().Draws.size(), Themed ? 2u : 0u) << St;
    for (const TFakeThemeCall& C : Themes.Theme().Draws) {
      EXPECT_EQ(C.ClassName, L"Menu");
      EXPECT_EQ(C.Part, 14);
      EXPECT_EQ(C.State, St == cxbsDisabled ? 4 : 2);
    }
  }
  Themes.Theme().Draws.clear();
  TPaintTarget P(60, 10);
  N->DrawSchedulerEventProgress(P.Canvas(), cxRect(0, 0, 60, 10), cxRect(3, 3, 20, 7),
                                TcxViewParams(), false);
  ASSERT_EQ(Themes.Theme().Draws.size(), 2u);
  EXPECT_EQ(Themes.Theme().Draws[0].Part, 1);
  EXPECT_EQ(Themes.Theme().Draws[1].Part, 3);
  EXPECT_EQ(Themes.Theme().Draws[1].Rect, cxRect(3, 3, 20, 7));
  EXPECT_EQ(N->SchedulerEventProgressOffsets(), cxRect(3, 3, 3, 3));
  EXPECT_EQ(N->DefaultSchedulerBorderColor(), static_cast<TColor>(Themes.Theme().Color));
  EXPECT_EQ(N->DefaultLayoutViewContentTextColor(cxbsNormal), clMenuText);
}

TEST(NativeViews, WithoutATabThemeARecordCaptionIsStillDrawn) {
  TInjectedSysColors Colors(ClassicColors());
  TFakeThemeScope Themes(true, {L"Tab"});
  TPaintTarget Ours(40, 16), Inherited(40, 16);
  for (TPaintTarget* T : {&Ours, &Inherited}) T->Canvas()->SaveClipRegion();
  NativePainter()->LayoutViewDrawRecordCaption(Ours.Canvas(), cxRect(0, 0, 40, 16),
                                               cxRect(2, 2, 38, 14), cxgpTop, cxbsNormal);
  StandardPainter()->LayoutViewDrawRecordCaption(Inherited.Canvas(), cxRect(0, 0, 40, 16),
                                                 cxRect(2, 2, 38, 14), cxgpTop, cxbsNormal);
  EXPECT_EQ(Difference(Ours.Bitmap(), Inherited.Bitmap()), "");
  EXPECT_NE(Ours.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);
  for (TPaintTarget* T : {&Ours, &Inherited}) T->Canvas()->RestoreClipRegion();
}

}  // namespace
