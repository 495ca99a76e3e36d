// Headers, sorting marks, footers, filter elements, indicators and tabs:
// pixel by pixel against shapes worked out by hand from the painters'
// tables, with injected system colours; the smart tag against librsvg; the
// Native painter's elements against the platform's theme with part and state
// numbers typed here, and its decisions through a scripted theme.
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "LookAndFeelTestSupport.h"
#include "PainterElements.h"

namespace {

class HeaderPixels : public ::testing::Test {
 protected:
  void SetUp() override { Colors.emplace(ClassicColors()); }
  void TearDown() override {
    Colors.reset();
    UpdateScrollBarBitmaps();
  }
  std::optional<TInjectedSysColors> Colors;
};

// A letter per pixel: the colours a test names, '.' for any other.
std::string Letters(const TPaintTarget& T, const std::vector<std::pair<COLORREF, char>>& AKey) {
  std::string S;
  for (int Y = 0; Y < T.Height(); ++Y) {
    for (int X = 0; X < T.Width(); ++X) {
      char C = '.';
      for (auto [Color, Letter] : AKey)
        if (T.Pixel(X, Y) == Color) {
          C = Letter;
          break;
        }
      S += C;
    }
    S += '\n';
  }
  return S;
}

std::string Rows(std::initializer_list<const char*> ARows) {
  std::string S;
  for (const char* R : ARows) S += std::string(R) + '\n';
  return S;
}

// A painter that answers the interface's header border size and draws the
// interface's footer border, for the interface's own answers.
class TInterfaceProbe : public TcxFlatLookAndFeelPainter {
 public:
  Integer HeaderBorderSize() override { return TcxCustomLookAndFeelPainter::HeaderBorderSize(); }
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) override {
    TcxCustomLookAndFeelPainter::DrawFooterBorder(ACanvas, R);
  }
};

void PlatformLine(HDC DC, int X1, int Y1, int X2, int Y2, COLORREF AColor) {
  TPenHandle Pen(CreatePen(PS_SOLID, 1, AColor));
  TSelectObjectGuard Select(DC, Pen.Get());
  MoveToEx(DC, X1, Y1, nullptr);
  LineTo(DC, X2, Y2);
}

// ---------------------------------------------------------------------------
// Indicator glyphs
TEST_F(HeaderPixels, IndicatorGlyphsAreTheGivenRowsOnTransparentWhite) {
  struct TCase {
    TcxIndicatorKind Kind;
    const char* Rows;
  };
  const TCase Cases[] = {
      {ikArrow, "..#..... ..##.... ..###... ..####.. ..#####. ..####.. ..###... ..##.... ..#....."},
      {ikEdit, ".##.##.. ...#.... ...#.... ...#.... ...#.... ...#.... ...#.... ...#.... .##.##.."},
      {ikInsert,
       "........ ...#.... .#.#.#.. ..###... ...#.... ..###... .#.#.#.. ...#.... ........"},
      {ikMultiDot,
       "........ ........ ...#.... ..###... ..###... ..###... ...#.... ........ ........"},
      {ikMultiArrow,
       "..#..... ..##.... ....#... ..#..#.. ..##.##. ..#..#.. ....#... ..##.... ..#....."},
      {ikFilter,
       "........ ######## #......# #......# .#....#. ..####.. ..#..#.. ..#..#.. ..####.."},
  };
  EXPECT_EQ(cxIndicatorImages(), cxIndicatorImages());
  EXPECT_EQ(cxIndicatorImages()->Count(), 8);
  EXPECT_EQ(cxIndicatorImages()->Width(), 8);
  EXPECT_EQ(cxIndicatorImages()->Height(), 9);
  auto Draw = [](TcxIndicatorKind AKind, bool ARightToLeft) {
    // Over a background that is neither black nor white: the white of the
    // glyph must let it through.
    auto T = std::make_unique<TPaintTarget>(8, 9, static_cast<TColor>(RGB(90, 160, 30)));
    T->Canvas()->SetUseRightToLeftAlignment(ARightToLeft);
    StandardPainter()->DrawScaledIndicatorImage(T->Canvas(), cxRect(0, 0, 8, 9), AKind,
                                                dxDefaultScaleFactor());
    return T;
  };
  for (const TCase& C : Cases) {
    std::string Expected;
    for (char Ch : std::string(C.Rows)) Expected += Ch == ' ' ? '\n' : Ch;
    Expected += '\n';
    auto T = Draw(C.Kind, false);
    EXPECT_EQ(T->Shape(RGB(0, 0, 0)), Expected) << C.Kind;
    EXPECT_EQ(T->Shape(RGB(90, 160, 30)), [&] {
      std::string S = Expected;
      for (char& Ch : S)
        if (Ch != '\n') Ch = Ch == '#' ? '.' : '#';
      return S;
    }()) << C.Kind;
    // Right to left, only the arrows turn round.
    std::string Mirrored;
    for (size_t Start = 0; Start < Expected.size(); Start += 9) {
      std::string Row = Expected.substr(Start, 8);
      if (C.Kind == ikArrow || C.Kind == ikMultiArrow) Row.assign(Row.rbegin(), Row.rend());
      Mirrored += Row + '\n';
    }
    EXPECT_EQ(Draw(C.Kind, true)->Shape(RGB(0, 0, 0)), Mirrored) << C.Kind;
  }
  // The sort-by-summary-value mark, through the header family's operation.
  TPaintTarget Mark(8, 9);
  StandardPainter()->DrawScaledSummaryValueSortingMark(Mark.Canvas(), cxRect(0, 0, 8, 9), true,
                                                       dxDefaultScaleFactor());
  EXPECT_EQ(Mark.Shape(RGB(0, 0, 0)),
            Rows({"........", "..#####.", "...###..", "....#...", "........", "..#.....",
                  ".###....", "#####...", "........"}));
  EXPECT_EQ(StandardPainter()->ScaledSummaryValueSortingMarkSize(dxDefaultScaleFactor()),
            (TSize{8, 9}));
  // The pencil: grey ink on white, nothing drawn for no indicator.
  auto Pencil = Draw(ikInplaceEdit, false);
  EXPECT_EQ(Pencil->Pixel(0, 0), RGB(90, 160, 30));
  EXPECT_NE(Pencil->Shape(RGB(90, 160, 30)).find('.'), std::string::npos);
  auto None = Draw(ikNone, false);
  EXPECT_EQ(None->Shape(RGB(90, 160, 30)).find('.'), std::string::npos);
}

TEST_F(HeaderPixels, CustomizationMarkRowsAtNinetySixDots) {
  TPaintTarget T(20, 20);
  StandardPainter()->DrawIndicatorCustomizationMark(T.Canvas(), cxRect(0, 0, 20, 20), clBtnText);
  std::string Expected;
  for (int Y = 0; Y < 20; ++Y) {
    std::string Row(20, '.');
    int I = (Y - 5) / 2;
    if (Y >= 5 && Y <= 13 && (Y - 5) % 2 == 0) {
      if (I % 2 == 0) Row[3] = '#';
      for (int X = 5; X < 17; ++X) Row[X] = '#';
    }
    Expected += Row + '\n';
  }
  EXPECT_EQ(T.Shape(kBtnText), Expected);
}

// ---------------------------------------------------------------------------
// Sorting marks: the Part's polyline drawn with the platform's pen.
TEST_F(HeaderPixels, SortingArrowsTraceTheirSidesAsTheTableSays) {
  struct TCase {
    TcxLookAndFeelStyle Style;
    bool Ascending;
    bool Summary;
  };
  const TCase Cases[] = {{lfsStandard, true, false},  {lfsStandard, false, false},
                         {lfsUltraFlat, true, false}, {lfsUltraFlat, false, false},
                         {lfsStandard, true, true},   {lfsStandard, false, true},
                         {lfsUltraFlat, false, true}};
  for (const TCase& C : Cases) {
    TcxCustomLookAndFeelPainter* P = PainterOf(C.Style);
    COLORREF LightRGB = C.Style == lfsStandard ? kBtnHighlight : kBtnShadow;
    TPaintTarget Ours(20, 20, static_cast<TColor>(kBtnFace)),
        Expected(20, 20, static_cast<TColor>(kBtnFace));
    TRect R = cxRect(2, 1, 18, 19);
    TSize Size = C.Summary ? P->ScaledSummarySortingMarkSize(dxDefaultScaleFactor())
                           : P->ScaledSortingMarkSize(dxDefaultScaleFactor());
    if (C.Summary)
      P->DrawScaledSummarySortingMark(Ours.Canvas(), R, C.Ascending, dxDefaultScaleFactor());
    else
      P->DrawScaledSortingMark(Ours.Canvas(), R, C.Ascending, dxDefaultScaleFactor());
    int W = Size.cx, H = Size.cy;
    int X = (R.left + R.right) / 2 - (W % 2 == 0 ? 1 : 0);
    int L = W / 2 - (W % 2 == 0 ? 1 : 0), Rs = W / 2;
    int Y;
    HDC DC = Expected.DC();
    if (C.Summary) {
      // The bar on R's top row (one colour here: both are the same for the
      // UltraFlat look; two rows for the Standard one).
      RECT Bar{X - L, R.top, X + Rs + 1, R.top + 1};
      TBrushHandle B1(CreateSolidBrush(LightRGB));
      FillRect(DC, &Bar, B1.Get());
      if (C.Style == lfsStandard) {
        RECT Bar2{X - L, R.top + 1, X + Rs + 1, R.top + 2};
        TBrushHandle B2(CreateSolidBrush(kBtnShadow));
        FillRect(DC, &Bar2, B2.Get());
      }
      H -= 2;
      Y = C.Ascending ? (R.top + R.bottom - H) / 2 + 2 : (R.top + R.bottom + H) / 2 + 1;
    } else {
      Y = C.Ascending ? (R.top + R.bottom - H) / 2 : (R.top + R.bottom + H) / 2 - 1;
    }
    int Sign = C.Ascending ? 1 : -1;
    // Dark side twice, the base, the light side twice.
    PlatformLine(DC, X + Rs, Y + Sign * (H - 2), X + Rs - L, Y, kBtnShadow);
    PlatformLine(DC, X + Rs - L, Y, X + Rs, Y + Sign * (H - 1), kBtnShadow);
    PlatformLine(DC, X + Rs, Y + Sign * (H - 1), X - L, Y + Sign * (H - 1),
                 C.Ascending ? kBtnShadow : LightRGB);
    PlatformLine(DC, X - L, Y + Sign * (H - 1), X, Y, LightRGB);
    PlatformLine(DC, X, Y, X - L, Y + Sign * (H - W % 2), LightRGB);
    EXPECT_EQ(Difference(Ours.Bitmap(), Expected.Bitmap()), "")
        << C.Style << " " << C.Ascending << " " << C.Summary;
  }
  EXPECT_EQ(StandardPainter()->ScaledSortingMarkSize(dxDefaultScaleFactor()), (TSize{8, 7}));
  EXPECT_EQ(UltraFlatPainter()->ScaledSummarySortingMarkSize(dxDefaultScaleFactor()),
            (TSize{7, 9}));
}

// ---------------------------------------------------------------------------
// Header borders
TEST_F(HeaderPixels, StandardHeaderCornersBesideNeighboursAreSoftened) {
  const std::vector<std::pair<COLORREF, char>> Key = {
      {kBtnHighlight, 'H'}, {kBtnShadow, 'S'}, {kBtnFace, 'F'}};
  struct TCase {
    TcxNeighbors Neighbors;
    std::string Expected;
  };
  const TCase Cases[] = {
      {TcxNeighbors(), Rows({"HHHHHHS", "H.....S", "H.....S", "H.....S", "H.....S", "SSSSSSS"})},
      {TcxNeighbors{nLeft, nRight},
       Rows({"HHHHHHH", "F.....F", "H.....S", "H.....S", "F.....F", "SSSSSSS"})},
  };
  for (const TCase& C : Cases) {
    TPaintTarget T(7, 6, static_cast<TColor>(RGB(1, 2, 3)));
    StandardPainter()->DrawHeaderBorder(T.Canvas(), cxRect(0, 0, 7, 6), C.Neighbors,
                                        cxBordersAll());
    EXPECT_EQ(Letters(T, Key), C.Expected);
  }
  // A header of the base painter is only its content.
  TPaintTarget Base(20, 10);
  TcxCustomLookAndFeelPainter* Flat = PainterOf(lfsFlat);
  Flat->TcxCustomLookAndFeelPainter::DrawHeaderBorder(Base.Canvas(), cxRect(0, 0, 20, 10),
                                                      TcxNeighbors(), cxBordersAll());
  EXPECT_EQ(Base.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);
}

TEST_F(HeaderPixels, UltraFlatHeadersDropTheSidesANeighbourDraws) {
  TcxCustomLookAndFeelPainter* P = UltraFlatPainter();
  EXPECT_EQ(P->HeaderBorders(TcxNeighbors{nLeft, nTop}), (TcxBorders{bRight, bBottom}));
  EXPECT_EQ(P->HeaderBorders(TcxNeighbors{nRight}), cxBordersAll());
  // Bounds grow by the border on the sides the neighbours took.
  EXPECT_EQ(P->HeaderBounds(cxRect(10, 10, 50, 30), TcxNeighbors{nLeft}, cxBordersAll()),
            cxRect(9, 10, 50, 30));
  TPaintTarget T(6, 5);
  P->DrawHeaderBorder(T.Canvas(), cxRect(0, 0, 6, 5), TcxNeighbors{nLeft}, TcxBorders{bTop});
  EXPECT_EQ(T.Shape(kBtnText), Rows({"######", ".....#", ".....#", ".....#", "######"}));
}

TEST_F(HeaderPixels, Office11HeaderBorderInTheSchemesColours) {
  TOffice11SchemeScope Scheme;
  auto* P = static_cast<TcxOffice11LookAndFeelPainter*>(PainterOf(lfsOffice11));
  auto RGBOf = [](TColor C) { return dxColorToRGB(C); };
  const COLORREF T = RGBOf(P->HeaderTopColor()), Bm = RGBOf(P->HeaderBottomColor()),
                 D = RGBOf(P->HeaderDarkEdgeColor()), H = RGBOf(P->HeaderHighlightEdgeColor()),
                 TBm = RGBOf(dxGetMiddleRGB(P->HeaderTopColor(), P->HeaderBottomColor(), 25)),
                 TD = RGBOf(dxGetMiddleRGB(P->HeaderTopColor(), P->HeaderDarkEdgeColor(), 50)),
                 BmD = RGBOf(dxGetMiddleRGB(P->HeaderBottomColor(), P->HeaderDarkEdgeColor(), 50));
  ASSERT_EQ(dxOffice11ToolbarsColor2, P->HeaderBottomColor());
  const std::vector<std::pair<COLORREF, char>> Key = {{T, 'T'},   {Bm, 'B'}, {D, 'D'},  {H, 'H'},
                                                      {TBm, 'm'}, {TD, 'x'}, {BmD, 'y'}};
  // Rows of an 8 x 8 header: the top row T, the bottom row D; the left
  // column H from Top + 1 to Bottom - 2 after its T pixel, Bm at
  // Bottom - 2; the right column D between a T-D mix at the top and a
  // Bm-D mix at Bottom - 2.
  TPaintTarget Alone(8, 8, static_cast<TColor>(RGB(1, 2, 3)));
  P->DrawHeaderBorder(Alone.Canvas(), cxRect(0, 0, 8, 8), TcxNeighbors(), cxBordersAll());
  EXPECT_EQ(Letters(Alone, Key), Rows({"TTTTTTTx", "H......D", "H......D", "H......D", "H......D",
                                       "H......D", "B......y", "DDDDDDDD"}));
  // Between neighbours: the ends of the columns blend into the face.
  TPaintTarget Between(8, 8, static_cast<TColor>(RGB(1, 2, 3)));
  P->DrawHeaderBorder(Between.Canvas(), cxRect(0, 0, 8, 8), TcxNeighbors{nLeft, nRight},
                      cxBordersAll());
  EXPECT_EQ(Letters(Between, Key), Rows({"TTTTTTTT", "T......T", "H......D", "H......D", "H......D",
                                         "m......m", "B......B", "DDDDDDDD"}));
  EXPECT_TRUE(P->IsHeaderHotTrack());
  EXPECT_EQ(P->FooterSeparatorColor(), P->HeaderDarkEdgeColor());
}

TEST_F(HeaderPixels, Office11HeadersShadeIntoTheBottomColourAndHotOnesAreUnderlined) {
  TOffice11SchemeScope Scheme;
  auto* P = static_cast<TcxOffice11LookAndFeelPainter*>(PainterOf(lfsOffice11));
  // Content only (the border drawn over it is checked above).
  TPaintTarget Normal(10, 12, static_cast<TColor>(RGB(1, 2, 3)));
  P->DrawContent(Normal.Canvas(), cxRect(0, 0, 10, 10), cxRect(0, 0, 10, 10), cxbsNormal,
                 taLeftJustify, vaTop, false, false, String(), nullptr, clBtnText, clDefault);
  EXPECT_EQ(Normal.Pixel(4, 0), dxColorToRGB(P->HeaderTopColor()));
  EXPECT_EQ(Normal.Pixel(4, 6), dxColorToRGB(P->HeaderTopColor()));
  EXPECT_EQ(Normal.Pixel(4, 10), RGB(1, 2, 3));
  // The footer is flat.
  TPaintTarget Footer(10, 10);
  P->DrawContent(Footer.Canvas(), cxRect(0, 0, 10, 10), cxRect(0, 0, 10, 10), cxbsNormal,
                 taLeftJustify, vaTop, false, false, String(), nullptr, clBtnText, clDefault,
                 nullptr, true);
  EXPECT_EQ(
      Footer.Shape(dxColorToRGB(P->HeaderTopColor())), std::string(10, '#') + "\n" + [] {
        std::string S;
        for (int I = 0; I < 9; ++I) S += std::string(10, '#') + "\n";
        return S;
      }());
  // Hot: the toolbar colour, and three rows of underline across the bottom
  // edge, one of them below it, from one column left of the face.
  TPaintTarget Hot(12, 14, static_cast<TColor>(RGB(1, 2, 3)));
  P->DrawContent(Hot.Canvas(), cxRect(1, 1, 11, 11), cxRect(1, 1, 11, 11), cxbsHot, taLeftJustify,
                 vaTop, false, false, String(), nullptr, clBtnText, clDefault);
  EXPECT_EQ(Hot.Pixel(5, 3), dxColorToRGB(dxOffice11ToolbarsColor1));
  for (int Y : {9, 10, 11}) EXPECT_NE(Hot.Pixel(0, Y), RGB(1, 2, 3)) << Y;
  EXPECT_EQ(Hot.Pixel(11, 10), RGB(1, 2, 3));
  EXPECT_EQ(Hot.Pixel(5, 12), RGB(1, 2, 3));
  EXPECT_EQ(Hot.Pixel(5, 9), dxColorToRGB(dxOffice11SelectedColor1));
}

TEST_F(HeaderPixels, HeaderSizes) {
  TcxCustomLookAndFeelPainter* Flat = PainterOf(lfsFlat);
  // The interface: 13 + 0 + 2 + 2.
  TOwned<TInterfaceProbe> Probe(Create<TInterfaceProbe>());
  EXPECT_EQ(Probe->HeaderHeight(13), 17);
  // Flat: a border of 1 on both sides.
  EXPECT_EQ(Flat->HeaderHeight(13), 19);
  TOwned<TdxScaleFactor> HalfAgain = MakeOwned<TdxScaleFactor>();
  HalfAgain->Assign(3, 2, false);
  EXPECT_EQ(Flat->ScaledHeaderHeight(13, HalfAgain.get()), 13 + 2 + 3 + 3);
  cxSetIsTouchModeEnabled(true);
  EXPECT_EQ(Flat->HeaderHeight(13), 27);
  cxSetIsTouchModeEnabled(false);
  // The width takes the right border away instead of adding it.
  TPaintTarget T(10, 10);
  TOwned<TFont> Font = TestFont();
  Integer Text = 0;
  {
    T.Canvas()->SetFont(Font.get());
    Text = T.Canvas()->TextWidth(L"Width");
  }
  EXPECT_EQ(Flat->ScaledHeaderWidth(T.Canvas(), cxBordersAll(), L"Width", Font.get(),
                                    dxDefaultScaleFactor()),
            Text + 4);
  EXPECT_EQ(Flat->ScaledHeaderWidth(T.Canvas(), TcxBorders{bLeft}, L"Width", Font.get(),
                                    dxDefaultScaleFactor()),
            Text + 5);
  EXPECT_EQ(Flat->HeaderContentBounds(cxRect(0, 0, 20, 10), TcxBorders{bLeft, bBottom}),
            cxRect(1, 0, 20, 9));
  EXPECT_EQ(StandardPainter()->HeaderControlSectionBorderSize(cxbsPressed), 1);
  EXPECT_EQ(StandardPainter()->HeaderControlSectionContentBounds(cxRect(0, 0, 20, 10), cxbsNormal),
            cxRect(2, 2, 18, 8));
  EXPECT_EQ(
      StandardPainter()->HeaderControlSectionTextAreaBounds(cxRect(0, 0, 20, 10), cxbsPressed),
      cxRect(1, 1, 21, 11));
  EXPECT_EQ(Flat->ScaledSortingMarkAreaSize(dxDefaultScaleFactor()), (TSize{16, 7}));
  EXPECT_EQ(Flat->ScaledFilterDropDownButtonSize(HalfAgain.get()), (TSize{23, 0}));
}

TEST_F(HeaderPixels, MeasuresThatStayAtNinetySixDotsWhateverTheSystemFactor) {
  const Integer Numerator = dxSystemScaleFactor()->Numerator(),
                Denominator = dxSystemScaleFactor()->Denominator();
  auto Restore = Finally(
      [Numerator, Denominator] { dxSystemScaleFactor()->Assign(Numerator, Denominator, false); });
  dxSystemScaleFactor()->Assign(3, 2, false);
  for (TcxLookAndFeelStyle Style : {lfsFlat, lfsOffice11, lfsStandard, lfsUltraFlat, lfsNative}) {
    TcxCustomLookAndFeelPainter* P = PainterOf(Style);
    SCOPED_TRACE(static_cast<int>(Style));
    const TdxScaleFactor* One = dxDefaultScaleFactor();
    const TRect Bounds = cxRect(0, 0, 60, 30);
    EXPECT_EQ(P->HeaderHeight(13), P->ScaledHeaderHeight(13, One));
    EXPECT_EQ(P->HeaderContentBounds(Bounds, cxBordersAll()),
              P->ScaledHeaderContentBounds(Bounds, cxBordersAll(), One));
    EXPECT_EQ(P->GetGalleryGroupHeaderContentOffsets(),
              P->GetGalleryScaledGroupHeaderContentOffsets(One));
    // The other measures follow the system factor.
    EXPECT_EQ(P->ExpandButtonSize(), P->ScaledExpandButtonSize(dxSystemScaleFactor()));
    EXPECT_NE(P->ExpandButtonSize(), P->ScaledExpandButtonSize(One));
  }
  // At 3/2 the header would be taller: the 1:1 answer is not the same
  // number by chance.
  EXPECT_NE(PainterOf(lfsFlat)->HeaderHeight(13),
            PainterOf(lfsFlat)->ScaledHeaderHeight(13, dxSystemScaleFactor()));
}

TEST_F(HeaderPixels, PressedHeadersInvertTwiceToTheirOwnPixels) {
  TPaintTarget T(10, 6), Before(10, 6);
  for (TPaintTarget* P : {&T, &Before})
    StandardPainter()->DrawHeaderBorder(P->Canvas(), cxRect(0, 0, 10, 6), TcxNeighbors(),
                                        cxBordersAll());
  StandardPainter()->DrawHeaderPressed(T.Canvas(), cxRect(0, 0, 10, 6));
  EXPECT_NE(Difference(T.Bitmap(), Before.Bitmap()), "");
  StandardPainter()->DrawHeaderPressed(T.Canvas(), cxRect(0, 0, 10, 6));
  EXPECT_EQ(Difference(T.Bitmap(), Before.Bitmap()), "");
}

// ---------------------------------------------------------------------------
// Footers, filter drop-down, tabs
TEST_F(HeaderPixels, FootersAndTheFilterDropDownButton) {
  // UltraFlat footer borders: only right and bottom, in the separator colour.
  TPaintTarget Footer(6, 4);
  UltraFlatPainter()->DrawFooterBorder(Footer.Canvas(), cxRect(0, 0, 6, 4));
  EXPECT_EQ(Footer.Shape(kBtnShadow), Rows({".....#", ".....#", ".....#", "######"}));
  // The base: a separator over the top row, the border below it.
  TPaintTarget Ex(6, 4);
  TOwned<TInterfaceProbe> Probe(Create<TInterfaceProbe>());
  Probe->DrawFooterBorderEx(Ex.Canvas(), cxRect(0, 0, 6, 4), cxBordersAll());
  EXPECT_EQ(Ex.Shape(kBtnShadow), Rows({"######", "......", "......", "......"}));
  // An empty footer content rectangle draws nothing.
  TPaintTarget Empty(6, 4);
  TcxViewParams V;
  V.Color = clBtnShadow;
  StandardPainter()->DrawFooterContent(Empty.Canvas(), cxRect(3, 3, 3, 4), V);
  EXPECT_EQ(Empty.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);
  // Standard filter button: raised, face, a blue arrow while the filter is
  // on; sunken when pressed.
  TPaintTarget Active(13, 16);
  StandardPainter()->DrawScaledFilterDropDownButton(Active.Canvas(), cxRect(0, 0, 13, 16),
                                                    cxbsNormal, true, dxDefaultScaleFactor());
  EXPECT_EQ(Active.Pixel(0, 0), kBtnHighlight);
  EXPECT_EQ(Active.Pixel(12, 15), kBtnShadow);
  EXPECT_NE(Active.Shape(RGB(0, 0, 255)).find('#'), std::string::npos);
  TPaintTarget Pressed(13, 16);
  StandardPainter()->DrawScaledFilterDropDownButton(Pressed.Canvas(), cxRect(0, 0, 13, 16),
                                                    cxbsPressed, false, dxDefaultScaleFactor());
  EXPECT_EQ(Pressed.Pixel(0, 0), kBtnShadow);
  EXPECT_EQ(Pressed.Pixel(12, 15), kBtnHighlight);
  EXPECT_EQ(Pressed.Shape(RGB(0, 0, 255)).find('#'), std::string::npos);
  // Footer cells: the content inside the cell's border, the text two pixels
  // further in.
  struct TCase {
    TcxLookAndFeelStyle Style;
    Integer Border;
  };
  const TCase Cases[] = {{lfsFlat, 1},
                         {lfsStandard, StandardPainter()->FooterCellBorderSize()},
                         {lfsUltraFlat, UltraFlatPainter()->FooterCellBorderSize()}};
  EXPECT_EQ(PainterOf(lfsFlat)->FooterCellBorderSize(), 1);
  for (const TCase& C : Cases) {
    TcxCustomLookAndFeelPainter* P = PainterOf(C.Style);
    const Integer B = C.Border;
    EXPECT_EQ(P->FooterCellContentBounds(cxRect(10, 20, 60, 40)),
              cxRect(10 + B, 20 + B, 60 - B, 40 - B))
        << C.Style;
    EXPECT_EQ(P->FooterCellTextAreaBounds(cxRect(10, 20, 60, 40)),
              cxRect(12 + B, 22 + B, 58 - B, 38 - B))
        << C.Style;
  }
}

TEST_F(HeaderPixels, StandardTabBordersLeaveTheCornersRound) {
  const std::vector<std::pair<COLORREF, char>> Key = {{kBtnHighlight, 'H'}, {kBtnShadow, 'S'}};
  // A horizontal tab of 6 x 5 with left, top and right borders.
  TPaintTarget T(6, 5, static_cast<TColor>(RGB(1, 2, 3)));
  TcxBorders B{bLeft, bTop, bRight};
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  P->DrawTabBorder(T.Canvas(), cxRect(0, 0, 1, 5), bLeft, B, false);
  P->DrawTabBorder(T.Canvas(), cxRect(0, 0, 6, 1), bTop, B, false);
  P->DrawTabBorder(T.Canvas(), cxRect(5, 0, 6, 5), bRight, B, false);
  EXPECT_EQ(Letters(T, Key), Rows({".HHHH.", "H....H", "H....S", "H....S", "H....S"}));
  // Vertical: the left strip is shortened at both ends, its corners set a
  // pixel in; the bottom is dark.
  TPaintTarget V(5, 6, static_cast<TColor>(RGB(1, 2, 3)));
  TcxBorders VB{bLeft, bTop, bBottom};
  P->DrawTabBorder(V.Canvas(), cxRect(0, 0, 1, 6), bLeft, VB, true);
  P->DrawTabBorder(V.Canvas(), cxRect(0, 0, 5, 1), bTop, VB, true);
  P->DrawTabBorder(V.Canvas(), cxRect(0, 5, 5, 6), bBottom, VB, true);
  EXPECT_EQ(Letters(V, Key), Rows({".HHHH", ".H...", "H....", "H....", ".H...", ".SSSS"}));
  EXPECT_EQ(P->TabBorderSize(false), 1);
}

// ---------------------------------------------------------------------------
// The smart tag
class SmartTag : public HeaderPixels {
 protected:
  // The grey of each pixel of a drawing on white.
  static std::vector<int> Greys(const TPaintTarget& T) {
    std::vector<int> G;
    for (const RGBQUAD& Q : T.Pixels()) G.push_back((Q.rgbRed + Q.rgbGreen + Q.rgbBlue) / 3);
    return G;
  }
};

TEST_F(SmartTag, TheProgramsRenderingFollowsLibrsvgs) {
  for (int Size : {32, 64}) {
    SCOPED_TRACE(Size);
    TBytes Png = FixtureBytes(Size == 32 ? L"SMART_TAG_32" : L"SMART_TAG_64");
    ASSERT_FALSE(Png.empty());
    TOwned<TMemoryStream> Stream(BytesStream(Png));
    TOwned<TdxSmartImage> Reference = MakeOwned<TdxSmartImage>();
    Reference->LoadFromStream(Stream.get());
    TPaintTarget Theirs(Size, Size, clWhite), Ours(Size, Size, clWhite);
    Reference->StretchDraw(Theirs.DC(), cxRect(0, 0, Size, Size));
    // The resource's own grey, without a palette.
    StandardPainter()->GetSmartTagGlyph()->StretchDraw(Ours.DC(), cxRect(0, 0, Size, Size));
    // Wine's GDI+ draws the strokes without anti-aliasing, librsvg with it:
    // the two agree block by block (4 x 4 pixels), in the ink they lay
    // down and in where it lies. The bounds are the measured worst (47 and
    // 12.6 of 255, ink 0.75 of librsvg's at 32 pixels) with some room.
    std::vector<int> A = Greys(Ours), B = Greys(Theirs);
    const int K = 4, N = Size / K;
    int Worst = 0;
    long Total = 0, InkA = 0, InkB = 0;
    for (int BY = 0; BY < N; ++BY)
      for (int BX = 0; BX < N; ++BX) {
        int SumA = 0, SumB = 0;
        for (int Y = BY * K; Y < BY * K + K; ++Y)
          for (int X = BX * K; X < BX * K + K; ++X) {
            SumA += A[Y * Size + X];
            SumB += B[Y * Size + X];
          }
        int D = std::abs(SumA - SumB) / (K * K);
        Worst = std::max(Worst, D);
        Total += D;
      }
    for (size_t I = 0; I < A.size(); ++I) {
      InkA += 255 - A[I];
      InkB += 255 - B[I];
    }
    EXPECT_LE(Worst, 60);
    EXPECT_LE(Total / (N * N), 16);
    EXPECT_GE(InkA * 10, InkB * 7);
    EXPECT_LE(InkA * 10, InkB * 13);
    auto Ink = [](const TPaintTarget& T) {
      return BoundsWhere(T.Bitmap(), [](COLORREF C) { return GetGValue(C) < 200; });
    };
    TRect BoundsA = Ink(Ours), BoundsB = Ink(Theirs);
    EXPECT_LE(std::abs(BoundsA.left - BoundsB.left), 1) << ToString(BoundsA);
    EXPECT_LE(std::abs(BoundsA.top - BoundsB.top), 1) << ToString(BoundsA);
    EXPECT_LE(std::abs(BoundsA.right - BoundsB.right), 1) << ToString(BoundsB);
    EXPECT_LE(std::abs(BoundsA.bottom - BoundsB.bottom), 1) << ToString(BoundsB);
  }
}

TEST_F(SmartTag, ThePalettePaintsTheStrokesInEachStatesColour) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  struct TCase {
    TcxFilterSmartTagState State;
    bool Active;
    COLORREF Color;
  };
  // The hot colour's high byte is 4; it still paints as grey 132.
  const TCase Cases[] = {
      {fstsNormal, false, RGB(0x60, 0x60, 0x60)},   {fstsNormal, true, RGB(0x00, 0x26, 0xFF)},
      {fstsParentHot, true, RGB(0x00, 0x26, 0xFF)}, {fstsHot, false, RGB(132, 132, 132)},
      {fstsHot, true, RGB(132, 132, 132)},          {fstsPressed, false, RGB(0x30, 0x30, 0x30)}};
  for (const TCase& C : Cases) {
    TPaintTarget T(64, 64, clWhite);
    P->DrawScaledFilterSmartTag(T.Canvas(), cxRect(0, 0, 64, 64), C.State, C.Active,
                                dxDefaultScaleFactor());
    // At twice the view box the square's left stroke covers columns 3 and
    // 4 wholly; the inside of the funnel stays empty.
    EXPECT_EQ(T.Pixel(3, 32), C.Color) << C.State << " " << C.Active;
    EXPECT_EQ(T.Pixel(4, 20), C.Color) << C.State << " " << C.Active;
    EXPECT_EQ(T.Pixel(32, 24), RGB(255, 255, 255));
  }
  EXPECT_EQ(P->GetSmartTagGlyph(), P->GetSmartTagGlyph());
  EXPECT_EQ(P->ScaledFilterSmartTagSize(dxDefaultScaleFactor()), (TSize{10, 10}));
}

// ---------------------------------------------------------------------------
// The Native painter
// The scheme the Office 11 palette reports, for a scope.
class TSchemeScope {
 public:
  explicit TSchemeScope(TOffice11Scheme AScheme) : FSaved(dxOffice11Environment()) {
    Scheme() = AScheme;
    dxOffice11Environment().GetScheme = [] { return Scheme(); };
    dxOffice11Environment().VisualStylesAvailable = [] { return true; };
    RefreshOffice11Colors();
  }
  ~TSchemeScope() {
    dxOffice11Environment() = FSaved;
    RefreshOffice11Colors();
  }
  TSchemeScope(const TSchemeScope&) = delete;
  TSchemeScope& operator=(const TSchemeScope&) = delete;

 private:
  static TOffice11Scheme& Scheme() {
    static TOffice11Scheme S = schUnknown;
    return S;
  }
  TdxOffice11Environment FSaved;
};

void DrawNativeHeader(TcxCanvas* C, const TRect& R, TcxButtonState AState, bool AIsLast) {
  NativePainter()->DrawScaledHeader(C, R, R, TcxNeighbors(), cxBordersAll(), AState, taLeftJustify,
                                    vaCenter, false, false, String(), nullptr, clBtnText, clBtnFace,
                                    dxSystemScaleFactor(), nullptr, AIsLast, false);
}

TEST(NativeHeaders, TheLastHeaderTakesTheRightEdgePartOnlyUnderTheBlueOrOliveScheme) {
  struct TCase {
    TOffice11Scheme Scheme;
    bool Last;
    TcxButtonState State;
    int Part;
    int ThemeState;
  };
  const TCase Cases[] = {
      {schNormalColor, true, cxbsNormal, 3, 1},  {schHomestead, true, cxbsNormal, 3, 1},
      {schMetallic, true, cxbsNormal, 1, 1},     {schUnknown, true, cxbsNormal, 1, 1},
      {schNormalColor, false, cxbsNormal, 1, 1}, {schNormalColor, true, cxbsHot, 1, 2},
      {schHomestead, true, cxbsPressed, 1, 3},   {schNormalColor, true, cxbsDisabled, 3, 1},
      {schNormalColor, true, cxbsDefault, 3, 1},
  };
  for (const TCase& C : Cases) {
    TSchemeScope Scheme(C.Scheme);
    TFakeThemeScope Themes(true);
    TPaintTarget T(40, 20);
    DrawNativeHeader(T.Canvas(), cxRect(0, 0, 40, 20), C.State, C.Last);
    ASSERT_EQ(Themes.Theme().Draws.size(), 1u) << C.Scheme;
    EXPECT_EQ(Themes.Theme().Draws[0].ClassName, L"Header");
    EXPECT_EQ(Themes.Theme().Draws[0].Part, C.Part) << C.Scheme << " " << C.Last << " " << C.State;
    EXPECT_EQ(Themes.Theme().Draws[0].State, C.ThemeState) << C.State;
  }
}

TEST(NativeHeaders, WindowsTenFillsTheBoundsFirst) {
  bool Saved = IsWin10OrLater;
  auto Restore = Finally([Saved] { IsWin10OrLater = Saved; });
  TInjectedSysColors Colors(ClassicColors());
  TFakeThemeScope Themes(true);
  Themes.Theme().BlackPixels = true;
  for (bool Win10 : {false, true}) {
    IsWin10OrLater = Win10;
    TPaintTarget T(40, 20, static_cast<TColor>(RGB(1, 2, 3)));
    DrawNativeHeader(T.Canvas(), cxRect(0, 0, 40, 20), cxbsNormal, false);
    EXPECT_EQ(T.Pixel(1, 1), Win10 ? kWindow : RGB(1, 2, 3));
    EXPECT_EQ(T.Pixel(20, 10), RGB(0, 0, 0));
  }
}

TEST(NativeHeaders, HeadersFootersAndFilterButtonsAgainstThePlatformsTheme) {
  struct TCase {
    std::string Name;
    const wchar_t* Class;
    int Part;
    int State;
    TSize Size;
    std::function<void(TcxCanvas*, const TRect&)> Draw;
  };
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  const TdxScaleFactor* F = dxSystemScaleFactor();
  const int Header[] = {1, 1, 2, 3, 1}, Tab[] = {1, 1, 2, 3, 4};
  std::vector<TCase> Cases;
  for (TcxButtonState St : AllButtonStates) {
    Cases.push_back({std::string("header ") + ButtonStateName(St),
                     L"Header",
                     1,
                     Header[St],
                     {60, 20},
                     [=](TcxCanvas* C, const TRect& R) { DrawNativeHeader(C, R, St, false); }});
    Cases.push_back({std::string("filter drop-down ") + ButtonStateName(St),
                     L"ComboBox",
                     1,
                     Tab[St],
                     {15, 18},
                     [=](TcxCanvas* C, const TRect& R) {
                       N->DrawScaledFilterDropDownButton(C, R, St, false, F);
                     }});
    Cases.push_back({std::string("filter close ") + ButtonStateName(St),
                     L"Window",
                     19,
                     Tab[St],
                     {16, 14},
                     [=](TcxCanvas* C, const TRect& R) {
                       N->DrawScaledFilterCloseButton(C, R, St, dxDefaultScaleFactor());
                     }});
  }
  Cases.push_back({"footer cell", L"TrackBar", 1, 1, {60, 20}, [=](TcxCanvas* C, const TRect& R) {
                     N->DrawFooterCell(C, R, taLeftJustify, vaCenter, false, String(), nullptr,
                                       clBtnText, clBtnFace);
                   }});
  int Themed = 0;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TOracleTheme Theme(C.Class);
    if (!Theme.Handle()) continue;
    ++Themed;
    TRect R = cxRect(2, 2, 2 + C.Size.cx, 2 + C.Size.cy);
    TPaintTarget Ours(C.Size.cx + 4, C.Size.cy + 4), Platform(C.Size.cx + 4, C.Size.cy + 4);
    C.Draw(Ours.Canvas(), R);
    if (IsWin10OrLater && std::wstring(C.Class) == L"Header") {
      RECT Rc = R;
      FillRect(Platform.DC(), &Rc, GetSysColorBrush(COLOR_WINDOW));
    }
    dxUxTheme::DrawThemeBackground(Theme.Handle(), Platform.DC(), C.Part, C.State, &R, nullptr);
    EXPECT_EQ(Difference(Ours.Bitmap(), Platform.Bitmap()), "");
  }
  EXPECT_GT(Themed, 0);
}

TEST(NativeHeaders, AVerticalTabIsTheLyingTabTurnedALeftQuarter) {
  TOracleTheme Theme(L"Tab");
  ASSERT_NE(Theme.Handle(), nullptr);
  const int TabStates[] = {1, 1, 2, 3, 4};
  for (TcxButtonState St : AllButtonStates) {
    SCOPED_TRACE(ButtonStateName(St));
    // A tab 20 wide and 50 high at (3, 4), with borders on all sides.
    const int W = 20, H = 50;
    TPaintTarget Ours(W + 6, H + 8);
    NativePainter()->DrawTab(Ours.Canvas(), cxRect(3, 4, 3 + W, 4 + H), cxBordersAll(), String(),
                             St, true, nullptr, clBtnText, clBtnFace);
    // The same tab drawn lying (50 x 20), its bottom one pixel shorter, or
    // one pixel longer when selected, then turned by index arithmetic: the
    // lying pixel (x, y) goes to (y, W' - 1 - x) of the standing tab.
    TPaintTarget Lying(H, W);
    bool Selected = TabStates[St] == 3;
    RECT Drawn{0, 0, H, W + (Selected ? 1 : -1)};
    dxUxTheme::DrawThemeBackground(Theme.Handle(), Lying.DC(), 1, TabStates[St], &Drawn, nullptr);
    TPaintTarget Expected(W + 6, H + 8);
    for (int Y = 0; Y < W; ++Y)
      for (int X = 0; X < H; ++X)
        SetPixel(Expected.DC(), 3 + Y, 4 + (H - 1 - X), Lying.Pixel(X, Y));
    EXPECT_EQ(Difference(Ours.Bitmap(), Expected.Bitmap()), "");
  }
}

TEST(NativeHeaders, ElementsFallBackOneByOneWhenTheirClassDoesNotOpen) {
  TInjectedSysColors Colors(ClassicColors());
  TFakeThemeScope Themes(true, {L"Header", L"Tab"});
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  // Headers and tabs fall back to the Standard look ...
  TPaintTarget Ours(60, 20), Standard(60, 20);
  DrawNativeHeader(Ours.Canvas(), cxRect(0, 0, 60, 20), cxbsHot, false);
  StandardPainter()->DrawScaledHeader(Standard.Canvas(), cxRect(0, 0, 60, 20), cxRect(0, 0, 60, 20),
                                      TcxNeighbors(), cxBordersAll(), cxbsHot, taLeftJustify,
                                      vaCenter, false, false, String(), nullptr, clBtnText,
                                      clBtnFace, dxSystemScaleFactor(), nullptr, false, false);
  EXPECT_EQ(Difference(Ours.Bitmap(), Standard.Bitmap()), "");
  EXPECT_EQ(N->HeaderBorderSize(), StandardPainter()->HeaderBorderSize());
  EXPECT_FALSE(N->IsDrawTabImplemented(false));
  EXPECT_EQ(N->TabBorderSize(true), 1);
  // ... while the footer, of another class, stays themed.
  N->DrawFooterCell(Ours.Canvas(), cxRect(0, 0, 60, 20), taLeftJustify, vaCenter, false, String(),
                    nullptr, clBtnText, clBtnFace);
  ASSERT_EQ(Themes.Theme().Draws.size(), 1u);
  EXPECT_EQ(Themes.Theme().Draws[0].ClassName, L"TrackBar");
  // Content insets of 3 give a header border of (3 + 3) div 2.
  TFakeThemeScope AllOpen(true);
  EXPECT_EQ(N->HeaderBorderSize(), 3);
  EXPECT_EQ(N->HeaderControlSectionContentBounds(cxRect(0, 0, 20, 20), cxbsNormal),
            cxRect(3, 3, 17, 17));
  EXPECT_EQ(N->FooterCellBorderSize(), 3);
  EXPECT_TRUE(N->IsDrawTabImplemented(true));
  EXPECT_FALSE(N->FooterDrawCellsFirst());
}

}  // namespace
