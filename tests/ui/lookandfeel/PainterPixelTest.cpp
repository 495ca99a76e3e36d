// Pixel-exact drawing of the painters with given system colours, against
// shapes the platform draws from points worked out by hand.
#include <optional>
#include <string>
#include <vector>

#include "LookAndFeelTestSupport.h"
#include "PainterElements.h"

namespace {

class PainterPixels : public ::testing::Test {
 protected:
  void SetUp() override { Colors.emplace(ClassicColors()); }
  void TearDown() override {
    Colors.reset();
    // The page patterns are shared; give them back the system's colours.
    UpdateScrollBarBitmaps();
  }
  std::optional<TInjectedSysColors> Colors;
};

std::vector<TPoint> Points(std::initializer_list<TPoint> P) { return P; }

// The platform's own filled polygon in one colour.
void PlatformPolygon(HDC DC, const std::vector<TPoint>& P, COLORREF AColor) {
  HBRUSH B = CreateSolidBrush(AColor);
  HPEN Pen = CreatePen(PS_SOLID, 1, AColor);
  HGDIOBJ OldB = SelectObject(DC, B), OldP = SelectObject(DC, Pen);
  Polygon(DC, P.data(), static_cast<int>(P.size()));
  SelectObject(DC, OldB);
  SelectObject(DC, OldP);
  DeleteObject(B);
  DeleteObject(Pen);
}

void PlatformLine(HDC DC, int X1, int Y1, int X2, int Y2, COLORREF AColor) {
  HPEN Pen = CreatePen(PS_SOLID, 1, AColor);
  HGDIOBJ Old = SelectObject(DC, Pen);
  MoveToEx(DC, X1, Y1, nullptr);
  LineTo(DC, X2, Y2);
  SelectObject(DC, Old);
  DeleteObject(Pen);
}

void PlatformFill(HDC DC, const RECT& R, COLORREF AColor) {
  HBRUSH B = CreateSolidBrush(AColor);
  FillRect(DC, &R, B);
  DeleteObject(B);
}

::testing::AssertionResult SamePixels(const TPaintTarget& A, const TPaintTarget& B) {
  TRGBColors PA = A.Pixels(), PB = B.Pixels();
  for (size_t I = 0; I < PA.size(); ++I) {
    if (RGB(PA[I].rgbRed, PA[I].rgbGreen, PA[I].rgbBlue) !=
        RGB(PB[I].rgbRed, PB[I].rgbGreen, PB[I].rgbBlue))
      return ::testing::AssertionFailure()
             << "first difference at (" << I % A.Width() << ", " << I / A.Width() << ")";
  }
  return ::testing::AssertionSuccess();
}

// ---------------------------------------------------------------------------
// Arrows
struct TArrowCase {
  TRect R;
  TcxArrowDirection Direction;
  bool Proportional;
  Integer Size;
  std::vector<TPoint> Expected;  // P[0], P[1] (the apex), P[2]
};

TEST_F(PainterPixels, ArrowPointsAsWorkedOutByHand) {
  const TArrowCase Cases[] = {
      // N = 8 div 4 + 1 = 3: base 5, height 3, apex at the centre column.
      {cxRect(0, 0, 9, 9), adUp, true, 0, Points({{2, 5}, {4, 3}, {6, 5}})},
      // The 16 x 8 rectangle is narrowed to its centred 8 x 8 square.
      {cxRect(0, 0, 16, 8), adRight, true, 0, Points({{7, 3}, {8, 4}, {7, 5}})},
      {cxRect(2, 3, 13, 10), adDown, false, 0, Points({{9, 5}, {7, 7}, {5, 5}})},
      {cxRect(0, 0, 12, 17), adLeft, false, 0, Points({{7, 12}, {3, 8}, {7, 4}})},
      {cxRect(0, 0, 20, 20), adUp, false, 4, Points({{6, 11}, {9, 8}, {12, 11}})},
      // (0 + 8 - 3) / 2 = 2.5 rounds away from zero to 3.
      {cxRect(0, 0, 9, 8), adUp, false, 0, Points({{2, 5}, {4, 3}, {6, 5}})},
      {cxRect(0, 0, 9, 8), adDown, false, 0, Points({{6, 3}, {4, 5}, {2, 3}})},
  };
  for (const TArrowCase& C : Cases) {
    TcxArrowPoints P;
    TcxCustomLookAndFeelPainter::CalculateArrowPoints(C.R, P, C.Direction, C.Proportional, C.Size);
    EXPECT_EQ(P, C.Expected) << "direction " << C.Direction << " in " << C.R.right << "x"
                             << C.R.bottom;
  }
}

TEST_F(PainterPixels, ArrowsFillThePlatformsPolygon) {
  const TArrowCase Cases[] = {
      {cxRect(0, 0, 9, 9), adUp, true, 0, Points({{2, 5}, {4, 3}, {6, 5}})},
      {cxRect(0, 0, 16, 8), adRight, true, 0, Points({{7, 3}, {8, 4}, {7, 5}})},
      {cxRect(1, 1, 17, 17), adLeft, true, 0, Points({{10, 12}, {7, 9}, {10, 6}})},
  };
  for (const TArrowCase& C : Cases) {
    TPaintTarget Ours(18, 18), Platform(18, 18);
    StandardPainter()->DrawArrow(Ours.Canvas(), C.R, C.Direction, clBtnText);
    PlatformPolygon(Platform.DC(), C.Expected, kBtnText);
    EXPECT_TRUE(SamePixels(Ours, Platform)) << "direction " << C.Direction;
  }
  // The scroll-bar arrow of a disabled button: a highlight copy one pixel
  // right and down under an arrow in the shadow colour.
  TPaintTarget Ours(17, 17, static_cast<TColor>(kBtnFace)), Platform(17, 17, kBtnFace);
  StandardPainter()->DrawScaledScrollBarArrow(Ours.Canvas(), cxRect(0, 0, 17, 17), cxbsDisabled,
                                              adUp, dxDefaultScaleFactor());
  // N = 16 div 4 + 1 = 5: base 9, height 5.
  std::vector<TPoint> P = {{4, 10}, {8, 6}, {12, 10}};
  std::vector<TPoint> Shadow = {{5, 11}, {9, 7}, {13, 11}};
  PlatformPolygon(Platform.DC(), Shadow, kBtnHighlight);
  PlatformPolygon(Platform.DC(), P, kBtnShadow);
  EXPECT_TRUE(SamePixels(Ours, Platform));
}

TEST_F(PainterPixels, ButtonArrowIsSevenWideAndFourHighInTwelve) {
  TPaintTarget T(12, 12);
  StandardPainter()->DrawButtonArrow(T.Canvas(), cxRect(0, 0, 12, 12), clBtnText);
  EXPECT_EQ(T.Shape(kBtnText),
            "............\n"
            "............\n"
            "............\n"
            "............\n"
            "..#######...\n"
            "...#####....\n"
            "....###.....\n"
            ".....#......\n"
            "............\n"
            "............\n"
            "............\n"
            "............\n");
}

// ---------------------------------------------------------------------------
// Check marks, crosses, expand marks
TEST_F(PainterPixels, CheckMarkIsThreePixelsThickAndStaysInItsBox) {
  struct TCase {
    TcxCheckBoxState State;
    COLORREF Fill;
    COLORREF Mark;
  };
  // Through the check-box operation: grayed marks are grey on the button
  // face, checked ones in the text colour on the window colour.
  const TCase Cases[] = {{cbsChecked, kWindow, kBtnText}, {cbsGrayed, kBtnFace, kGrayText}};
  for (const TCase& C : Cases) {
    TPaintTarget Ours(17, 17, clWhite), Platform(17, 17, clWhite);
    UltraFlatPainter()->DrawScaledCheck(Ours.Canvas(), cxRect(2, 2, 15, 15), cxbsNormal, C.State,
                                        C.State == cbsGrayed ? clGrayText : clBtnText,
                                        dxDefaultScaleFactor());
    // Box (3, 3, 14, 14), 11 wide: (-2, 3), (4, 9), (15, -2) from its corner.
    PlatformFill(Platform.DC(), RECT{2, 2, 15, 15}, C.Fill);
    HRGN Box = CreateRectRgn(3, 3, 14, 14);
    SelectClipRgn(Platform.DC(), Box);
    for (int Shift = 0; Shift < 3; ++Shift) {
      PlatformLine(Platform.DC(), 1, 6 - Shift, 7, 12 - Shift, C.Mark);
      PlatformLine(Platform.DC(), 7, 12 - Shift, 18, 1 - Shift, C.Mark);
    }
    SelectClipRgn(Platform.DC(), nullptr);
    DeleteObject(Box);
    EXPECT_TRUE(SamePixels(Ours, Platform)) << C.State;
  }
  // A clear brush asks for the mark alone; an unchecked box has none.
  TPaintTarget Clear(13, 13, clWhite);
  Clear.Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
  StandardPainter()->DrawScaledCheck(Clear.Canvas(), cxRect(0, 0, 13, 13), cxbsNormal, true,
                                     clBtnText, dxDefaultScaleFactor());
  EXPECT_EQ(Clear.Pixel(0, 0), RGB(255, 255, 255));
  EXPECT_EQ(Clear.Pixel(4, 9), kBtnText);
  Clear.Canvas()->Brush()->SetStyle(TBrushStyle::bsSolid);
  TPaintTarget Unchecked(13, 13, clWhite);
  StandardPainter()->DrawScaledCheck(Unchecked.Canvas(), cxRect(0, 0, 13, 13), cxbsNormal,
                                     cbsUnchecked, clBtnText, dxDefaultScaleFactor());
  EXPECT_EQ(Unchecked.Shape(kWindow), std::string(13, '#').append("\n").append([] {
    std::string S;
    for (int I = 1; I < 13; ++I) S += std::string(13, '#') + "\n";
    return S;
  }()));
}

TEST_F(PainterPixels, ButtonCrossIsTwoStrokesWide) {
  for (TcxButtonState S : {cxbsNormal, cxbsPressed}) {
    TPaintTarget Ours(16, 16), Platform(16, 16);
    StandardPainter()->DrawScaledButtonCross(Ours.Canvas(), cxRect(0, 0, 16, 16), clBtnText, S,
                                             dxDefaultScaleFactor());
    // Half the filter close button's 16, made odd: 7.
    int D = S == cxbsPressed ? 1 : 0;
    for (int I = 0; I < 2; ++I) {
      int X = I + 4 + D, Y = 4 + D;
      PlatformLine(Platform.DC(), X, Y, X + 7, Y + 7, kBtnText);
      PlatformLine(Platform.DC(), X, Y + 6, X + 7, Y - 1, kBtnText);
    }
    EXPECT_TRUE(SamePixels(Ours, Platform)) << ButtonStateName(S);
  }
}

TEST_F(PainterPixels, ExpandCrossesAndMarks) {
  TPaintTarget Plus(9, 9), Minus(9, 9);
  StandardPainter()->DrawScaledSmallExpandButton(Plus.Canvas(), cxRect(0, 0, 9, 9), false,
                                                 clBtnShadow, dxDefaultScaleFactor(), clWindow);
  StandardPainter()->DrawScaledSmallExpandButton(Minus.Canvas(), cxRect(0, 0, 9, 9), true,
                                                 clBtnShadow, dxDefaultScaleFactor(), clWindow);
  EXPECT_EQ(Plus.Shape(kBtnText),
            ".........\n"
            ".........\n"
            "....#....\n"
            "....#....\n"
            "..#####..\n"
            "....#....\n"
            "....#....\n"
            ".........\n"
            ".........\n");
  EXPECT_EQ(Minus.Shape(kBtnText),
            ".........\n"
            ".........\n"
            ".........\n"
            ".........\n"
            "..#####..\n"
            ".........\n"
            ".........\n"
            ".........\n"
            ".........\n");
  EXPECT_EQ(Plus.Pixel(0, 0), kBtnShadow);
  EXPECT_EQ(Plus.Pixel(1, 1), kWindow);

  // The expand mark: two chevrons, two rows each, pointing up when expanded.
  TPaintTarget Up(15, 15), Down(15, 15);
  StandardPainter()->DrawScaledExpandMark(Up.Canvas(), cxRect(0, 0, 15, 15), clBtnText, true,
                                          dxDefaultScaleFactor());
  StandardPainter()->DrawScaledExpandMark(Down.Canvas(), cxRect(0, 0, 15, 15), clBtnText, false,
                                          dxDefaultScaleFactor());
  EXPECT_EQ(Up.Shape(kBtnText),
            "...............\n"
            "...............\n"
            "...............\n"
            ".......#.......\n"
            "......###......\n"
            ".....##.##.....\n"
            "....##...##....\n"
            ".......#.......\n"
            "......###......\n"
            ".....##.##.....\n"
            "....##...##....\n"
            "...............\n"
            "...............\n"
            "...............\n"
            "...............\n");
  // Each row's last pixel mirrors its first around the apex column.
  for (const TPaintTarget* T : {&Up, &Down}) {
    std::string S = T->Shape(kBtnText);
    for (int Y = 0; Y < 15; ++Y) {
      std::string Row = S.substr(static_cast<size_t>(Y) * 16, 15);
      EXPECT_EQ(Row, std::string(Row.rbegin(), Row.rend())) << "row " << Y;
    }
  }
}

// ---------------------------------------------------------------------------
// Splitters
TEST_F(PainterPixels, SplitterLinesAreBrokenByFourGapsAroundTheirMiddle) {
  struct TCase {
    const wchar_t* Painter;
    bool Highlighted;
    int OuterRow;
    std::vector<int> OuterGaps;
    COLORREF OuterColor;
    bool Inner;
  };
  const TCase Cases[] = {
      // Outer line 0..98 (the inner line makes it one shorter), c = 49.
      {L"Standard", false, 2, {44, 47, 50, 53}, kBtnShadow, true},
      // One line only, 0..99, c = 50; highlighted in the highlight colour.
      {L"UltraFlat", false, 2, {45, 48, 51, 54}, kBtnShadow, false},
      {L"UltraFlat", true, 2, {45, 48, 51, 54}, kHighlight, false},
  };
  for (const TCase& C : Cases) {
    TcxCustomLookAndFeelPainter* P = cxLookAndFeelPaintersManager()->GetPainter(String(C.Painter));
    TPaintTarget T(100, 6, static_cast<TColor>(kWindow));
    P->DrawScaledSplitter(T.Canvas(), cxRect(0, 0, 100, 6), C.Highlighted, false, true,
                          dxDefaultScaleFactor());
    std::vector<int> Widths;
    std::vector<int> Starts = T.RunStarts(C.OuterRow, C.OuterColor, &Widths);
    std::vector<int> Gaps;
    for (size_t I = 1; I < Starts.size(); ++I) Gaps.push_back(Starts[I] - 1);
    EXPECT_EQ(Gaps, C.OuterGaps) << C.Highlighted;
    EXPECT_EQ(Starts.front(), 0);
    EXPECT_EQ(Starts.back() + Widths.back(), C.Inner ? 99 : 100);
    if (C.Inner) {
      std::vector<int> InnerWidths;
      std::vector<int> Inner = T.RunStarts(C.OuterRow + 1, RGB(255, 255, 255), &InnerWidths);
      EXPECT_EQ(Inner, (std::vector<int>{1, 46, 49, 52, 55}));
      EXPECT_EQ(Inner.back() + InnerWidths.back(), 100);
    } else {
      EXPECT_TRUE(T.RunStarts(C.OuterRow + 1, RGB(255, 255, 255)).empty());
    }
  }
}

// ---------------------------------------------------------------------------
// Container and popup borders
TEST_F(PainterPixels, ContainerBorders) {
  struct TCase {
    TcxContainerBorderStyle Style;
    TcxBorders Borders;
    // Colours along the diagonal from the top-left corner, and at the
    // bottom-right corner going in.
    std::vector<COLORREF> TopLeft;
    std::vector<COLORREF> BottomRight;
  };
  const TCase Cases[] = {
      // A single border of width 2 frames all sides, whatever ABorders says.
      {cbsSingle,
       TcxBorders{bLeft},
       {kHighlight, kHighlight, kWindow},
       {kHighlight, kHighlight, kWindow}},
      // The edge only on the sides asked for, the inner frame all round.
      {cbsFlat,
       TcxBorders{bLeft, bTop},
       {kBtnShadow, kBtnFace, kWindow},
       {kWindow, kBtnFace, kWindow}},
      {cbsFlat,
       cxBordersAll(),
       {kBtnShadow, kBtnFace, kWindow},
       {kBtnHighlight, kBtnFace, kWindow}},
      {cbs3D,
       cxBordersAll(),
       {kBtnShadow, k3DDkShadow, kWindow},
       {kBtnHighlight, k3DLight, kWindow}},
      {cbsUltraFlat, cxBordersAll(), {kWindow, kWindow, kWindow}, {kWindow, kWindow, kWindow}},
  };
  for (const TCase& C : Cases) {
    TPaintTarget T(20, 20, static_cast<TColor>(kWindow));
    StandardPainter()->DrawContainerBorder(T.Canvas(), cxRect(0, 0, 20, 20), C.Style, 2,
                                           clHighlight, C.Borders);
    for (int I = 0; I < 3; ++I) {
      EXPECT_EQ(T.Pixel(I, I), C.TopLeft[I]) << "style " << C.Style << " at " << I;
      EXPECT_EQ(T.Pixel(19 - I, 19 - I), C.BottomRight[I]) << "style " << C.Style << " at " << I;
    }
  }
  EXPECT_EQ(StandardPainter()->GetContainerBorderWidth(cbsThick), 2);
  EXPECT_EQ(StandardPainter()->GetContainerBorderWidth(cbsUltraFlat), 1);
  EXPECT_EQ(StandardPainter()->GetContainerBorderWidth(cbsNone), 0);
}

TEST_F(PainterPixels, EditPopupBordersAndWhatTheyLeaveInside) {
  struct TCase {
    TcxEditPopupBorderStyle Style;
    bool ClientEdge;
    int Shrink;
    std::vector<COLORREF> TopLeft;      // (0, 0), (1, 1), (2, 2), (3, 3)
    std::vector<COLORREF> BottomRight;  // (19, 19), (18, 18), (17, 17), (16, 16)
  };
  const TCase Cases[] = {
      {epbsDefault,
       false,
       1,
       {kWindow, kWindow, kWindow, kWindow},
       {kWindow, kWindow, kWindow, kWindow}},
      {epbsSingle,
       false,
       1,
       {kBtnText, kWindow, kWindow, kWindow},
       {kBtnText, kWindow, kWindow, kWindow}},
      {epbsFlat,
       false,
       2,
       {k3DLight, kBtnHighlight, kWindow, kWindow},
       {k3DDkShadow, kBtnShadow, kWindow, kWindow}},
      {epbsFrame3D,
       false,
       4,
       {k3DLight, kBtnHighlight, kBtnFace, kBtnShadow},
       {k3DDkShadow, kBtnShadow, kBtnFace, kBtnHighlight}},
      {epbsFrame3D,
       true,
       4,
       {k3DLight, kBtnHighlight, kInactiveBorder, kBtnFace},
       {k3DDkShadow, kBtnShadow, kInactiveBorder, kBtnFace}},
  };
  for (const TCase& C : Cases) {
    TPaintTarget T(20, 20, static_cast<TColor>(kWindow));
    TRect R = cxRect(0, 0, 20, 20);
    StandardPainter()->DrawEditPopupWindowBorder(T.Canvas(), R, C.Style, C.ClientEdge);
    EXPECT_EQ(R, cxRect(C.Shrink, C.Shrink, 20 - C.Shrink, 20 - C.Shrink)) << C.Style;
    for (int I = 0; I < 4; ++I) {
      EXPECT_EQ(T.Pixel(I, I), C.TopLeft[I]) << C.Style << "/" << C.ClientEdge << " at " << I;
      EXPECT_EQ(T.Pixel(19 - I, 19 - I), C.BottomRight[I])
          << C.Style << "/" << C.ClientEdge << " at " << 19 - I;
    }
    EXPECT_EQ(StandardPainter()->GetEditPopupWindowBorderWidth(C.Style),
              (std::vector<int>{0, 1, 4, 2})[C.Style]);
  }
}

// ---------------------------------------------------------------------------
// The popup panel band
TEST_F(PainterPixels, PopupBandLayout) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  const TdxScaleFactor* F = dxDefaultScaleFactor();
  TSize Grip = P->ScaledSizeGripSize(F);
  TSize Close = P->ScaledSmallCloseButtonSize(F);
  Integer Height =
      std::max<Integer>({dxGetSystemMetrics(SM_CYHSCROLL, F) + 3, Grip.cy + 4, Close.cy + 6});
  EXPECT_EQ(P->ScaledPopupPanelSize(F), Height);
  EXPECT_EQ(Close, (TSize{14, 15}));
  if (dxGetSystemMetrics(SM_CYHSCROLL, F) == 17 && Grip.cy == 17) {
    EXPECT_EQ(Height, 21);
  }

  struct TCase {
    TdxCorner Corner;
    bool Top, Right;
  };
  for (TCase C : {TCase{coTopRight, true, true}, TCase{coBottomRight, false, true},
                  TCase{coTopLeft, true, false}, TCase{coBottomLeft, false, false}}) {
    TRect Client = cxRect(0, 0, 200, 150), Panel, GripRect, CloseRect;
    P->CalculateScaledPopupPanelClientRect(Client, Panel, GripRect, CloseRect, C.Corner,
                                           cxRect(1, 1, 1, 1), cxRect(0, 1, 0, 1), F, 0, true,
                                           true);
    SCOPED_TRACE(C.Corner);
    EXPECT_EQ(cxRectHeight(Panel), Height);
    EXPECT_EQ(Panel.left, 1);
    EXPECT_EQ(Panel.right, 199);
    if (C.Top) {
      EXPECT_EQ(Panel.top, 1);
      EXPECT_EQ(Client, cxRect(1, 1 + Height, 199, 149));
      EXPECT_EQ(GripRect.top, Panel.top + 2);
    } else {
      EXPECT_EQ(Panel.bottom, 149);
      EXPECT_EQ(Client, cxRect(1, 1, 199, 149 - Height));
      EXPECT_EQ(GripRect.bottom, Panel.bottom - 2);
    }
    EXPECT_EQ(cxRectSize(GripRect), Grip);
    // The close button sits in a square at the end away from the grip.
    TRect Square = cxRectContent(Panel, cxRect(0, 1, 0, 1));
    Integer Side = cxRectHeight(Square);
    if (C.Right) {
      EXPECT_EQ(GripRect.right, Panel.right - 2);
      Square.right = Square.left + Side;
    } else {
      EXPECT_EQ(GripRect.left, Panel.left + 2);
      Square.left = Square.right - Side;
    }
    EXPECT_EQ(CloseRect, cxRectCenter(Square, Close));
  }
  TRect Client = cxRect(0, 0, 100, 100), Panel, GripRect, CloseRect;
  P->CalculateScaledPopupPanelClientRect(Client, Panel, GripRect, CloseRect, coBottomRight,
                                         cxNullRect, cxNullRect, F, 30, false, false);
  EXPECT_EQ(cxRectHeight(Panel), 30);
  EXPECT_EQ(GripRect, cxNullRect);
  EXPECT_EQ(CloseRect, cxNullRect);
}

TEST_F(PainterPixels, TouchModeEnlargesTheSmallCloseButton) {
  cxSetIsTouchModeEnabled(true);
  TSize Size = StandardPainter()->ScaledSmallCloseButtonSize(dxDefaultScaleFactor());
  Integer Area = StandardPainter()->ScaledExpandButtonAreaSize(dxDefaultScaleFactor());
  Integer Zero = 0, Fourteen = 14;
  dxAdjustToTouchableSize(Zero);
  dxAdjustToTouchableSize(Fourteen);
  cxSetIsTouchModeEnabled(false);
  EXPECT_EQ(Size, (TSize{27, 27}));
  EXPECT_EQ(Area, 27);
  EXPECT_EQ(Zero, 0);
  EXPECT_EQ(Fourteen, 27);
  EXPECT_EQ(StandardPainter()->ScaledExpandButtonAreaSize(dxDefaultScaleFactor()), 12);
}

TEST_F(PainterPixels, PopupBandPaintsBordersFillerGripAndButton) {
  TcxCustomLookAndFeelPainter* P = UltraFlatPainter();
  TPaintTarget T(120, 24, clWhite);
  TRect Bounds = cxRect(0, 0, 120, 24);
  TRect Grip = cxRect(101, 5, 118, 22), Close = cxRect(4, 5, 18, 20);
  P->DrawScaledPopupPanelBand(T.Canvas(), Bounds, Grip, Close, coBottomRight, cxbsNormal,
                              cxRect(0, 1, 0, 0), clBtnShadow, dxDefaultScaleFactor(), true, true);
  // The top border line, the filler, the button's frame.
  EXPECT_EQ(T.Pixel(50, 0), kBtnShadow);
  EXPECT_EQ(T.Pixel(50, 10), kBtnFace);
  EXPECT_EQ(T.Pixel(4, 5), kBtnText);
  // The band is left excluded from the clip: nothing more reaches it.
  T.Canvas()->FillRect(Bounds, clRed);
  EXPECT_EQ(T.Pixel(50, 10), kBtnFace);
}

// ---------------------------------------------------------------------------
// Progress text
class TTwoColourProgressPainter : public TcxUltraFlatLookAndFeelPainter {
 public:
  TColor ProgressBarTextColorEx(bool AIsFilledArea) override {
    return AIsFilledArea ? TColor(0x0000FF) : TColor(0xFF0000);
  }
};

void NonAntialiasedFont(TcxCanvas* C) {
  C->Font()->SetName(L"Tahoma");
  C->Font()->SetHeight(-13);
  C->Font()->SetStyle(TFontStyles{TFontStyle::fsBold});
  C->Font()->SetQuality(TFontQuality::fqNonAntialiased);
}

TEST_F(PainterPixels, ProgressTextIsInvertedOverChunkAndBackground) {
  const COLORREF Chunk = RGB(0, 80, 200), Back = RGB(240, 240, 240);
  TPaintTarget T(80, 18, static_cast<TColor>(Back));
  T.Canvas()->FillRect(cxRect(0, 0, 40, 18), static_cast<TColor>(Chunk));
  NonAntialiasedFont(T.Canvas());
  TRGBColors Before = T.Pixels();
  StandardPainter()->DrawProgressBarText(T.Canvas(), false, false, L"WWWWWW", cxRect(10, 0, 80, 18),
                                         cxRect(0, 0, 80, 18), cxRect(0, 0, 40, 18), clDefault);
  TRGBColors After = T.Pixels();
  int InvertedOverChunk = 0, InvertedOverBack = 0;
  for (size_t I = 0; I < After.size(); ++I) {
    COLORREF B = RGB(Before[I].rgbRed, Before[I].rgbGreen, Before[I].rgbBlue);
    COLORREF A = RGB(After[I].rgbRed, After[I].rgbGreen, After[I].rgbBlue);
    if (A == B) continue;
    ASSERT_EQ(A, B ^ 0xFFFFFFu) << "pixel " << I % 80 << ", " << I / 80;
    (B == Chunk ? InvertedOverChunk : InvertedOverBack)++;
  }
  EXPECT_GT(InvertedOverChunk, 0);
  EXPECT_GT(InvertedOverBack, 0);
}

TEST_F(PainterPixels, ProgressTextTakesEachAreasColourWithoutASeam) {
  TOwned<TTwoColourProgressPainter> P = MakeOwned<TTwoColourProgressPainter>();
  const COLORREF ChunkColor = RGB(200, 230, 200), Back = RGB(250, 250, 250);
  const COLORREF Filled = RGB(255, 0, 0), Empty = RGB(0, 0, 255);
  TPaintTarget T(80, 18, static_cast<TColor>(Back));
  T.Canvas()->FillRect(cxRect(0, 0, 37, 18), static_cast<TColor>(ChunkColor));
  NonAntialiasedFont(T.Canvas());
  // The caller's colour counts only for solid text.
  P->DrawProgressBarText(T.Canvas(), false, false, L"WWWWWW", cxRect(10, 0, 80, 18),
                         cxRect(0, 0, 80, 18), cxRect(0, 0, 37, 18), clLime);
  int FilledLeft = 0, EmptyRight = 0;
  for (int Y = 0; Y < 18; ++Y)
    for (int X = 0; X < 80; ++X) {
      COLORREF C = T.Pixel(X, Y);
      if (X < 37) {
        EXPECT_NE(C, Empty) << X << ", " << Y;
        FilledLeft += C == Filled;
      } else {
        EXPECT_NE(C, Filled) << X << ", " << Y;
        EmptyRight += C == Empty;
      }
      EXPECT_NE(C, RGB(0, 255, 0));
    }
  EXPECT_GT(FilledLeft, 0);
  EXPECT_GT(EmptyRight, 0);

  TPaintTarget Solid(80, 18, static_cast<TColor>(Back));
  NonAntialiasedFont(Solid.Canvas());
  P->DrawProgressBarText(Solid.Canvas(), false, true, L"WWWWWW", cxRect(10, 0, 80, 18),
                         cxRect(0, 0, 80, 18), cxRect(0, 0, 37, 18), clLime);
  EXPECT_FALSE(Solid.RunStarts(8, RGB(0, 255, 0)).empty());
}

// ---------------------------------------------------------------------------
// UltraFlat buttons
TEST_F(PainterPixels, UltraFlatButtonsInEveryState) {
  struct TCase {
    TcxButtonState State;
    COLORREF Frame;
    int FrameWidth;
    COLORREF Face;
  };
  const TCase Cases[] = {
      {cxbsDefault, kWindowFrame, 2, kBtnFace},
      {cxbsNormal, kBtnText, 1, kBtnFace},
      {cxbsHot, kHighlight, 1, static_cast<COLORREF>(dxColorToRGB(GetLightSelColor()))},
      {cxbsPressed, kHighlight, 1, static_cast<COLORREF>(dxColorToRGB(GetLightDownedSelColor()))},
      {cxbsDisabled, kBtnShadow, 1, kBtnFace},
  };
  TcxCustomLookAndFeelPainter* P = UltraFlatPainter();
  for (const TCase& C : Cases) {
    TPaintTarget T(97, 25, clWhite);
    P->DrawScaledButton(T.Canvas(), cxRect(0, 0, 97, 25), String(), C.State, dxDefaultScaleFactor(),
                        true, clDefault, clDefault, false, false, cxbpButton);
    SCOPED_TRACE(ButtonStateName(C.State));
    for (int I = 0; I < C.FrameWidth; ++I) {
      EXPECT_EQ(T.Pixel(I, 12), C.Frame);
      EXPECT_EQ(T.Pixel(96 - I, 12), C.Frame);
      EXPECT_EQ(T.Pixel(48, I), C.Frame);
      EXPECT_EQ(T.Pixel(48, 24 - I), C.Frame);
    }
    EXPECT_EQ(T.Pixel(C.FrameWidth, 12), C.Face);
    EXPECT_EQ(T.Pixel(48, 12), C.Face);
    EXPECT_EQ(P->ButtonBorderSize(C.State), C.FrameWidth);
  }
  EXPECT_EQ(P->ScaledButtonFocusRect(nullptr, cxRect(0, 0, 97, 25), dxDefaultScaleFactor()),
            cxRect(3, 3, 94, 22));
  EXPECT_EQ(P->ScaledButtonFocusRect(nullptr, cxRect(0, 0, 97, 6), dxDefaultScaleFactor()),
            cxRect(0, 0, 97, 6));
  EXPECT_EQ(P->ButtonSymbolColor(cxbsPressed), clHighlightText);
  EXPECT_EQ(P->ButtonSymbolState(cxbsPressed), cxbsNormal);
}

TEST_F(PainterPixels, HotFaceIsTheHighlightOnABlackOrWhiteButtonFace) {
  for (COLORREF Face : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
    auto Colors = ClassicColors();
    Colors[COLOR_BTNFACE] = Face;
    TInjectedSysColors Inject(Colors);
    EXPECT_EQ(dxColorToRGB(UltraFlatPainter()->ButtonColor(cxbsHot)), kHighlight);
  }
}

TEST_F(PainterPixels, StandardButtonBorders) {
  struct TCase {
    TcxButtonState State;
    std::vector<COLORREF> TopLeft;  // (0, 0) .. (2, 2)
    COLORREF BottomRight;           // (N - 1, N - 1)
  };
  const TCase Cases[] = {{cxbsNormal, {kBtnHighlight, k3DLight, kBtnFace}, k3DDkShadow},
                         {cxbsDefault, {kBtnText, kBtnHighlight, k3DLight}, kBtnText},
                         {cxbsPressed, {kBtnText, kBtnShadow, kBtnFace}, kBtnText}};
  for (const TCase& C : Cases) {
    TPaintTarget T(20, 20, clWhite);
    StandardPainter()->DrawScaledButton(T.Canvas(), cxRect(0, 0, 20, 20), String(), C.State,
                                        dxDefaultScaleFactor(), true, clDefault, clDefault, false,
                                        false, cxbpButton);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(T.Pixel(I, I), C.TopLeft[I]) << C.State;
    EXPECT_EQ(T.Pixel(19, 19), C.BottomRight) << C.State;
  }
  EXPECT_EQ(StandardPainter()->ButtonBorderSize(cxbsDefault), 3);
  EXPECT_EQ(StandardPainter()->ScaledButtonTextShift(dxDefaultScaleFactor()), 1);
}

// The caption band of the button template: an odd face loses its bottom row,
// a band below 18 rows grows one row above the face, and a pressed caption
// moves by the text shift. A 17-row face thus gives a band of 17 rows from
// one row above the face. The platform's DrawTextW in the band, worked out
// by hand, is the reference; a disabled caption is the canvas's disabled
// text in that band.
TEST_F(PainterPixels, ButtonCaptionsAreCentredInTheirTextBand) {
  struct TCase {
    const char* Name;
    TcxCustomLookAndFeelPainter* Painter;
    bool Border;
    TcxButtonState State;
    TRect R;
    TRect Band;
  };
  const TCase Cases[] = {
      {"17 rows", UltraFlatPainter(), false, cxbsNormal, cxRect(0, 3, 60, 20),
       cxRect(0, 2, 60, 19)},
      {"20 rows", UltraFlatPainter(), false, cxbsNormal, cxRect(0, 2, 60, 22),
       cxRect(0, 2, 60, 22)},
      {"19 rows", UltraFlatPainter(), false, cxbsNormal, cxRect(0, 2, 60, 21),
       cxRect(0, 2, 60, 20)},
      {"pressed with a shift of 1", StandardPainter(), true, cxbsPressed, cxRect(0, 0, 60, 24),
       cxRect(3, 3, 59, 23)},
      {"disabled", UltraFlatPainter(), false, cxbsDisabled, cxRect(0, 2, 60, 22),
       cxRect(0, 2, 60, 22)},
  };
  const wchar_t* const Caption = L"Wg";
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TPaintTarget Ours(60, 26, clWhite), Platform(60, 26, clWhite);
    C.Painter->DrawScaledButton(Ours.Canvas(), C.R, Caption, C.State, dxDefaultScaleFactor(),
                                C.Border, clWhite, clDefault, false, false, cxbpButton);
    // Only the caption is compared: the reference has the button's border
    // and face painted by the painter too.
    C.Painter->DrawScaledButton(Platform.Canvas(), C.R, String(), C.State, dxDefaultScaleFactor(),
                                C.Border, clWhite, clDefault, false, false, cxbpButton);
    if (C.State == cxbsDisabled) {
      // Disabled text is the canvas's own look, in the shadow colour.
      TcxCanvas* Canvas = Platform.Canvas();
      Canvas->Font()->Assign(Ours.Canvas()->Font());
      Canvas->Font()->SetColor(clBtnShadow);
      Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
      Canvas->DrawTexT(Caption, C.Band,
                       cxShowPrefix | cxAlignHCenter | cxAlignVCenter | cxSingleLine, false);
    } else {
      HDC DC = Platform.DC();
      HGDIOBJ Old = SelectObject(DC, Ours.Canvas()->Font()->Handle());
      SetBkMode(DC, TRANSPARENT);
      SetTextColor(DC, kBtnText);
      RECT Band = C.Band;
      DrawTextW(DC, Caption, -1, &Band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
      SelectObject(DC, Old);
    }
    EXPECT_TRUE(SamePixels(Ours, Platform));
  }
}

// ---------------------------------------------------------------------------
// Drop-down list box
TEST_F(PainterPixels, DropDownListBoxes) {
  struct TCase {
    const wchar_t* Painter;
    bool Borders;
    std::vector<COLORREF> TopLeft;  // (0, 0), (1, 1), (2, 2)
    COLORREF BottomRight;
  };
  const TCase Cases[] = {
      {L"Standard", true, {k3DLight, kBtnHighlight, kMenu}, k3DDkShadow},
      {L"Standard", false, {kMenu, kMenu, kMenu}, kMenu},
      {L"UltraFlat", true, {kBtnShadow, kBtnHighlight, kWindow}, kBtnShadow},
      {L"UltraFlat", false, {kWindow, kWindow, kWindow}, kWindow},
  };
  for (const TCase& C : Cases) {
    TcxCustomLookAndFeelPainter* P = cxLookAndFeelPaintersManager()->GetPainter(String(C.Painter));
    TPaintTarget T(30, 20, clWhite);
    P->DrawDropDownListBoxBackground(T.Canvas(), cxRect(0, 0, 30, 20), C.Borders);
    for (int I = 0; I < 3; ++I) EXPECT_EQ(T.Pixel(I, I), C.TopLeft[I]);
    EXPECT_EQ(T.Pixel(29, 19), C.BottomRight);
    EXPECT_EQ(P->DropDownListBoxBordersSize(), 3);
  }
  // An etched separator in the upper middle of an odd-height rectangle.
  TPaintTarget Sep(20, 7, clWhite);
  StandardPainter()->DrawDropDownListBoxScaledSeparator(Sep.Canvas(), cxRect(0, 0, 20, 7),
                                                        cxNullRect, dxDefaultScaleFactor());
  EXPECT_EQ(Sep.Pixel(5, 2), kBtnShadow);
  EXPECT_EQ(Sep.Pixel(5, 3), kBtnHighlight);
  EXPECT_EQ(Sep.Pixel(5, 1), RGB(255, 255, 255));
  // UltraFlat: one line from the gutter's right plus 4, at (top + bottom - 1) / 2.
  TPaintTarget Flat(40, 8, clWhite);
  UltraFlatPainter()->DrawDropDownListBoxScaledSeparator(
      Flat.Canvas(), cxRect(0, 0, 40, 8), cxRect(0, 0, 10, 8), dxDefaultScaleFactor());
  EXPECT_EQ(Flat.RunStarts(3, kBtnShadow), (std::vector<int>{14}));
  TPaintTarget Sel(40, 10, clWhite);
  UltraFlatPainter()->DrawDropDownListBoxScaledSelection(Sel.Canvas(), cxRect(0, 0, 40, 10),
                                                         cxNullRect, dxDefaultScaleFactor());
  EXPECT_EQ(Sel.Pixel(0, 0), kHighlight);
  EXPECT_EQ(Sel.Pixel(5, 5), static_cast<COLORREF>(dxColorToRGB(GetLightColor(-2, 30, 72))));
  TOwned<TdxScaleFactor> HalfAgain = MakeOwned<TdxScaleFactor>();
  HalfAgain->Assign(3, 2, false);
  EXPECT_EQ(StandardPainter()->DropDownListBoxScaledItemTextOffsets(HalfAgain.get()),
            cxRect(8, 3, 8, 3));
}

// ---------------------------------------------------------------------------
// Scroll-bar page patterns
TEST_F(PainterPixels, PagePatternsAreCheckerboardsRebuiltInPlace) {
  TBitmap* Normal = StdScrollBitmaps(0);
  TBitmap* Pressed = StdScrollBitmaps(1);
  UpdateScrollBarBitmaps();
  ASSERT_EQ(StdScrollBitmaps(0), Normal);
  ASSERT_EQ(StdScrollBitmaps(1), Pressed);
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) {
      bool Same = X % 2 == Y % 2;
      EXPECT_EQ(PixelOf(Normal, X, Y), Same ? kBtnFace : kBtnHighlight);
      EXPECT_EQ(PixelOf(Pressed, X, Y), Same ? RGB(0, 0, 0) : k3DDkShadow);
    }
  TPaintTarget Page(17, 20, clWhite);
  StandardPainter()->DrawScaledScrollBarPart(Page.Canvas(), false, cxRect(0, 0, 17, 20),
                                             sbpPageDown, cxbsPressed, dxDefaultScaleFactor());
  UltraFlatPainter()->DrawScaledScrollBarPart(Page.Canvas(), false, cxRect(0, 10, 17, 20),
                                              sbpPageUp, cxbsNormal, dxDefaultScaleFactor());
  EXPECT_EQ(Page.Pixel(4, 2), RGB(0, 0, 0));
  EXPECT_EQ(Page.Pixel(5, 2), k3DDkShadow);
  EXPECT_EQ(Page.Pixel(4, 12), kBtnFace);
  EXPECT_EQ(Page.Pixel(5, 12), kBtnHighlight);
  UpdateScrollBarBitmaps();  // back to the injected colours' successors
}

// ---------------------------------------------------------------------------
// Size grips, against the platform's grip turned by index arithmetic
TEST_F(PainterPixels, SizeGripInEveryCorner) {
  const int W = 17, H = 15;
  const COLORREF Back = RGB(90, 160, 20);
  TPaintTarget Grip(W, H, static_cast<TColor>(Back));
  RECT GR{0, 0, W, H};
  DrawFrameControl(Grip.DC(), &GR, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  struct TCase {
    TdxCorner Corner;
    bool MirrorX, MirrorY;
  };
  const TCase Cases[] = {{coBottomRight, false, false},
                         {coTopLeft, true, true},
                         {coTopRight, false, true},
                         {coBottomLeft, true, false}};
  for (const TCase& C : Cases) {
    TPaintTarget T(W + 4, H + 4, static_cast<TColor>(Back));
    StandardPainter()->DrawSizeGrip(T.Canvas(), cxRect(2, 2, 2 + W, 2 + H), clNone, C.Corner);
    for (int Y = 0; Y < H; ++Y)
      for (int X = 0; X < W; ++X) {
        int SX = C.MirrorX ? W - 1 - X : X, SY = C.MirrorY ? H - 1 - Y : Y;
        ASSERT_EQ(T.Pixel(2 + X, 2 + Y), Grip.Pixel(SX, SY))
            << "corner " << C.Corner << " at " << X << ", " << Y;
      }
    EXPECT_EQ(T.Pixel(0, 0), Back);
  }
}

// The Standard painter's scroll arrows inside their two-pixel border are the
// platform's own arrow buttons; pressed, the glyph moves right and down and
// the button turns flat.
TEST(StandardScrollArrows, InsideTheirBorderAreThePlatformsArrowButtons) {
  struct TCase {
    bool Horizontal;
    TcxScrollBarPart Part;
    TcxButtonState State;
    UINT Platform;
  };
  const TCase Cases[] = {
      {false, sbpLineUp, cxbsNormal, DFCS_SCROLLUP},
      {false, sbpLineDown, cxbsHot, DFCS_SCROLLDOWN},
      {true, sbpLineUp, cxbsNormal, DFCS_SCROLLLEFT},
      {true, sbpLineDown, cxbsDisabled, DFCS_SCROLLRIGHT | DFCS_INACTIVE},
      {false, sbpLineDown, cxbsPressed, DFCS_SCROLLDOWN | DFCS_FLAT},
      {true, sbpLineUp, cxbsPressed, DFCS_SCROLLLEFT | DFCS_FLAT},
  };
  for (const TCase& C : Cases) {
    const TRect R = cxRect(3, 3, 20, 20);
    TPaintTarget Ours(23, 23, clWhite), Platform(23, 23, clWhite);
    StandardPainter()->DrawScaledScrollBarPart(Ours.Canvas(), C.Horizontal, R, C.Part, C.State,
                                               dxSystemScaleFactor());
    RECT P = C.State == cxbsPressed ? RECT{4, 4, 21, 21} : RECT{3, 3, 20, 20};
    DrawFrameControl(Platform.DC(), &P, DFC_SCROLL, C.Platform);
    for (int Y = R.top + 2; Y < R.bottom - 2; ++Y)
      for (int X = R.left + 2; X < R.right - 2; ++X)
        ASSERT_EQ(Ours.Pixel(X, Y), Platform.Pixel(X, Y)) << C.Platform << " at " << X << ", " << Y;
    // Nothing beyond the part, also when the glyph moves.
    EXPECT_EQ(Ours.Pixel(R.right, R.bottom), RGB(255, 255, 255));
  }
}

// ---------------------------------------------------------------------------
// Toggle switch, bevels, label lines, content
TEST_F(PainterPixels, ToggleSwitchShowsTheCheckedLookUpToTheThumbsCentre) {
  const COLORREF Checked = RGB(0x21, 0x99, 0x21), Unchecked = RGB(0xE3, 0xE3, 0xE3);
  for (bool RightToLeft : {false, true}) {
    TPaintTarget T(60, 20, clWhite);
    T.Canvas()->SetUseRightToLeftAlignment(RightToLeft);
    StandardPainter()->DrawScaledToggleSwitch(T.Canvas(), cxRect(0, 0, 60, 20),
                                              cxRect(20, 0, 40, 20), cxbsNormal,
                                              dxDefaultScaleFactor());
    EXPECT_EQ(T.Pixel(29, 10), RightToLeft ? Unchecked : Checked);
    EXPECT_EQ(T.Pixel(30, 10), RightToLeft ? Checked : Unchecked);
    EXPECT_EQ(T.Pixel(5, 10), RightToLeft ? Unchecked : Checked);
    EXPECT_EQ(T.Pixel(55, 10), RightToLeft ? Checked : Unchecked);
  }
  TPaintTarget Off(60, 20, clWhite);
  StandardPainter()->DrawScaledToggleSwitch(
      Off.Canvas(), cxRect(0, 0, 60, 20), cxRect(0, 0, 20, 20), cxbsNormal, dxDefaultScaleFactor());
  EXPECT_EQ(Off.Pixel(55, 10), Unchecked);
  EXPECT_EQ(Off.Pixel(0, 0), kBtnShadow);  // the 3-D container border
}

TEST_F(PainterPixels, BevelsAndLabelLines) {
  struct TCase {
    TdxBevelShape Shape;
    TdxBevelStyle Style;
    std::vector<std::pair<TPoint, COLORREF>> Pixels;
  };
  const COLORREF W = RGB(255, 255, 255);
  const TCase Cases[] = {
      {dxbsBox, dxbsLowered, {{{0, 0}, kBtnShadow}, {{19, 9}, kBtnHighlight}}},
      // Raised swaps the two colours.
      {dxbsBox, dxbsRaised, {{{0, 0}, kBtnHighlight}, {{19, 9}, kBtnShadow}}},
      {dxbsFrame,
       dxbsLowered,
       {{{0, 0}, kBtnShadow},
        {{1, 1}, kBtnHighlight},
        {{19, 9}, kBtnHighlight},
        {{18, 8}, kBtnShadow}}},
      {dxbsLineTop, dxbsLowered, {{{5, 0}, kBtnShadow}, {{5, 1}, kBtnHighlight}, {{5, 2}, W}}},
      {dxbsLineRight, dxbsLowered, {{{18, 5}, kBtnShadow}, {{19, 5}, kBtnHighlight}, {{17, 5}, W}}},
      {dxbsLineCenteredHorz,
       dxbsLowered,
       {{{9, 5}, kBtnShadow}, {{10, 5}, kBtnHighlight}, {{8, 5}, W}}},
      {dxbsLineCenteredVert,
       dxbsLowered,
       {{{5, 4}, kBtnShadow}, {{5, 5}, kBtnHighlight}, {{5, 3}, W}}},
      {dxbsNone, dxbsLowered, {{{0, 0}, W}, {{10, 5}, W}}},
  };
  for (const TCase& C : Cases) {
    TPaintTarget T(20, 10, clWhite);
    StandardPainter()->DrawBevelShape(T.Canvas(), cxRect(0, 0, 20, 10), C.Shape, C.Style);
    for (auto [P, Color] : C.Pixels)
      EXPECT_EQ(T.Pixel(P.x, P.y), Color)
          << C.Shape << "/" << C.Style << " at " << P.x << ", " << P.y;
  }
  // The UltraFlat bevel is one line in the shadow colour.
  TPaintTarget Flat(20, 10, clWhite);
  UltraFlatPainter()->DrawBevelShape(Flat.Canvas(), cxRect(0, 0, 20, 10), dxbsLineTop, dxbsRaised);
  EXPECT_EQ(Flat.Pixel(5, 0), kBtnShadow);
  EXPECT_EQ(Flat.Pixel(5, 1), W);

  TPaintTarget Line(20, 2, clWhite);
  StandardPainter()->DrawLabelLine(Line.Canvas(), cxRect(0, 0, 20, 2), clDefault, clDefault, false);
  EXPECT_EQ(Line.RunStarts(0, kBtnShadow), (std::vector<int>{0}));
  EXPECT_EQ(Line.RunStarts(1, kBtnHighlight), (std::vector<int>{0}));
}

struct TBackgroundHandler {
  bool Answer;
  int Calls = 0;
  bool Draw(TcxCanvas*, const TRect&) {
    ++Calls;
    return Answer;
  }
};

TEST_F(PainterPixels, ContentBackgroundAndItsHandler) {
  for (bool Handled : {false, true}) {
    TBackgroundHandler H{Handled};
    TPaintTarget T(30, 10, clWhite);
    StandardPainter()->DrawContent(T.Canvas(), cxRect(0, 0, 30, 10), cxRect(0, 0, 30, 10), 0,
                                   taLeftJustify, vaCenter, false, false, String(), nullptr,
                                   clWindowText, clHighlight,
                                   MakeEvent<&TBackgroundHandler::Draw>(&H));
    EXPECT_EQ(H.Calls, 1);
    EXPECT_EQ(T.Pixel(15, 5), Handled ? RGB(255, 255, 255) : kHighlight);
  }
}

}  // namespace

namespace {

// A popup whose non-client area holds a one-pixel border and, at the bottom,
// a band as the drop-down windows reserve it.
constexpr int kBandHeight = 24;

LRESULT CALLBACK BandWindowProc(HWND AWnd, UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  if (AMsg == WM_NCCALCSIZE) {
    RECT* R = reinterpret_cast<RECT*>(ALParam);
    R->left += 1;
    R->top += 1;
    R->right -= 1;
    R->bottom -= 1 + kBandHeight;
    return 0;
  }
  if (AMsg == WM_NCPAINT) return 0;
  return DefWindowProcW(AWnd, AMsg, AWParam, ALParam);
}

TEST(PopupNCPanel, PaintsBorderAndBandIntoTheNonClientArea) {
  WNDCLASSW Class{};
  Class.lpfnWndProc = &BandWindowProc;
  Class.hInstance = GetModuleHandleW(nullptr);
  Class.lpszClassName = L"LookAndFeelBandTest";
  Class.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  RegisterClassW(&Class);
  HWND Wnd = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, Class.lpszClassName, L"",
                             WS_POPUP | WS_VISIBLE, 100, 100, 200, 120, nullptr, nullptr,
                             Class.hInstance, nullptr);
  ASSERT_NE(Wnd, nullptr);
  UpdateWindow(Wnd);
  TRect W = cxGetWindowRect(Wnd);
  // Grip and close button in screen coordinates, inside the band.
  TRect Grip = cxRect(W.right - 20, W.bottom - 21, W.right - 3, W.bottom - 4);
  TRect Close = cxRect(W.left + 5, W.bottom - 20, W.left + 19, W.bottom - 5);
  const COLORREF Border = RGB(200, 30, 30);
  UltraFlatPainter()->DrawScaledPopupNCPanel(Wnd, true, false, coBottomRight, Close, Grip,
                                             static_cast<TColor>(Border), dxSystemScaleFactor());
  HDC DC = GetWindowDC(Wnd);
  GdiFlush();
  int H = cxRectHeight(W);
  EXPECT_EQ(GetPixel(DC, 0, 0), Border);
  EXPECT_EQ(GetPixel(DC, 199, H - 1), Border);
  // The band's top line, its filler, the hot close button's frame.
  EXPECT_EQ(GetPixel(DC, 100, H - 1 - kBandHeight), Border);
  EXPECT_EQ(GetPixel(DC, 100, H - 12), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(GetPixel(DC, 5, H - 20), GetSysColor(COLOR_HIGHLIGHT));
  // The client area is not the band's.
  EXPECT_EQ(GetPixel(DC, 100, 50), RGB(255, 255, 255));
  ReleaseDC(Wnd, DC);
  DestroyWindow(Wnd);
  UnregisterClassW(Class.lpszClassName, Class.hInstance);
}

}  // namespace
