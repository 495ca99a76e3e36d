#include <gtest/gtest.h>

#include "EditPaintTestSupport.h"
#include "cxDrawTextUtils.h"
#include "cxEditUtils.h"
#include "cxLookAndFeels.h"
#include "dxDPIAwareUtils.h"
#include "dxOffice11.h"
#include "dxUxTheme.h"

namespace {

const TLegend Ink{{'#', static_cast<TColor>(RGB(200, 30, 40))}};
constexpr TColor kInk = static_cast<TColor>(RGB(200, 30, 40));

// The classic colours; '.' is paper.
const TLegend Classic{{'F', clBtnFace}, {'S', clBtnShadow},  {'H', clBtnHighlight},
                      {'L', cl3DLight}, {'D', cl3DDkShadow}, {'T', clBtnText},
                      {'W', clWindow},  {'h', clHighlight},  {'#', kInk}};

// ---------------------------------------------------------------------------
// Text flags

TEST(EditTextFlags, EachFlagBothWays) {
  struct TCase {
    const char* Name;
    Cardinal TextOut, DrawText;
  } Cases[] = {
      {"left and top are no flag", CXTO_LEFT | CXTO_TOP, 0},
      {"horizontal centre", CXTO_CENTER_HORIZONTALLY, cxAlignHCenter},
      {"right", CXTO_RIGHT, cxAlignRight},
      {"vertical centre", CXTO_CENTER_VERTICALLY, cxAlignVCenter},
      {"bottom", CXTO_BOTTOM, cxAlignBottom},
      {"single line", CXTO_SINGLELINE, cxSingleLine},
      {"word break", CXTO_WORDBREAK, cxWordBreak},
      {"all six", CXTO_RIGHT | CXTO_BOTTOM | CXTO_SINGLELINE | CXTO_WORDBREAK,
       cxAlignRight | cxAlignBottom | cxSingleLine | cxWordBreak},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(cxTextOutFlagsToDrawTextFlags(C.TextOut), C.DrawText) << C.Name;
    EXPECT_EQ(DrawTextFlagsTocxTextOutFlags(C.DrawText), C.TextOut) << C.Name;
  }
}

TEST(EditTextFlags, OtherBitsAreDropped) {
  EXPECT_EQ(cxTextOutFlagsToDrawTextFlags(CXTO_END_ELLIPSIS | CXTO_EXPANDTABS | CXTO_RTLREADING |
                                          CXTO_CALCRECT | CXTO_HIDEPREFIX | CXTO_NOCLIP),
            0u);
  EXPECT_EQ(DrawTextFlagsTocxTextOutFlags(cxAlignLeft | cxAlignTop | cxShowEndEllipsis |
                                          cxShowPrefix | cxDontBreakChars),
            0u);
  // Every combination of the six flags travels there and back unchanged.
  const Cardinal Six[] = {CXTO_CENTER_HORIZONTALLY, CXTO_RIGHT,
                          CXTO_CENTER_VERTICALLY,   CXTO_BOTTOM,
                          CXTO_SINGLELINE,          CXTO_WORDBREAK};
  for (Cardinal Mask = 0; Mask < 64; ++Mask) {
    Cardinal Flags = 0;
    for (int I = 0; I < 6; ++I)
      if (Mask & (1u << I)) Flags |= Six[I];
    EXPECT_EQ(DrawTextFlagsTocxTextOutFlags(cxTextOutFlagsToDrawTextFlags(Flags)), Flags);
  }
}

TEST(EditDigits, OnlyAsciiDigits) {
  for (Char C = L'0'; C <= L'9'; ++C) EXPECT_TRUE(cxIsDigitChar(C));
  for (Char C : {L'/', L':', L'a', L' ', L'\u0660', L'\uFF10', L'\u00B2'})
    EXPECT_FALSE(cxIsDigitChar(C)) << static_cast<int>(C);
}

// ---------------------------------------------------------------------------
// Arrows, lines and fills

TEST(EditArrows, SizeThatFits) {
  struct TCase {
    TSize Content;
    TcxArrowDirection Direction;
    TSize Expected;
  } Cases[] = {
      {{10, 10}, adDown, {5, 3}}, {{7, 9}, adUp, {3, 2}},   {{7, 9}, adLeft, {2, 3}},
      {{9, 7}, adRight, {2, 3}},  {{4, 4}, adDown, {1, 1}}, {{2, 30}, adUp, {1, 1}},
      {{16, 14}, adDown, {7, 4}},
  };
  for (const TCase& C : Cases) {
    TSize S = GetArrowSize(C.Content, C.Direction);
    EXPECT_EQ(S.cx, C.Expected.cx) << C.Content.cx << "x" << C.Content.cy;
    EXPECT_EQ(S.cy, C.Expected.cy) << C.Content.cx << "x" << C.Content.cy;
  }
}

TEST(EditArrows, Pictures) {
  struct TCase {
    const char* Name;
    TSize Size;
    TRect Content;
    TcxArrowDirection Direction;
    bool Double, Offset;
    std::vector<std::string> Expected;
  } Cases[] = {
      {"up",
       {5, 3},
       cxRect(0, 0, 7, 5),
       adUp,
       false,
       false,
       {".......", "...#...", "..###..", ".#####.", "......."}},
      {"down, offset",
       {5, 3},
       cxRect(0, 0, 7, 5),
       adDown,
       false,
       true,
       {".......", ".......", "..#####", "...###.", "....#.."}},
      {"double left",
       {2, 3},
       cxRect(0, 0, 6, 5),
       adLeft,
       true,
       false,
       {"......", "..#.#.", ".####.", "..#.#.", "......"}},
      {"right, in a moved rectangle",
       {2, 3},
       cxRect(2, 1, 6, 4),
       adRight,
       false,
       false,
       {"......", "...#..", "...##.", "...#..", "......"}},
      {"double down",
       {3, 2},
       cxRect(0, 0, 5, 4),
       adDown,
       true,
       false,
       {".###.", "..#..", ".###.", "..#.."}},
  };
  for (const TCase& C : Cases) {
    int W = static_cast<int>(C.Expected[0].size()), H = static_cast<int>(C.Expected.size());
    auto B = Painted(W, H, [&](TcxCanvas* Canvas) {
      DrawArrow(Canvas, C.Size, C.Content, C.Direction, C.Double, C.Offset, kInk);
    });
    EXPECT_TRUE(LooksLike(B.get(), Ink, C.Expected)) << C.Name;
  }
}

TEST(EditLines, ButtonBorderShrinksOnEachSideDrawn) {
  struct TCase {
    const char* Name;
    TcxBorders Borders;
    TRect Left;
    std::vector<std::string> Expected;
  } Cases[] = {
      {"left and bottom",
       TcxBorders{bLeft, bBottom},
       cxRect(1, 0, 5, 3),
       {"#....", "#....", "#....", "#####"}},
      {"all", cxBordersAll(), cxRect(1, 1, 4, 3), {"#####", "#...#", "#...#", "#####"}},
      {"top and right",
       TcxBorders{bTop, bRight},
       cxRect(0, 1, 4, 4),
       {"#####", "....#", "....#", "....#"}},
      {"none", TcxBorders{}, cxRect(0, 0, 5, 4), {".....", ".....", ".....", "....."}},
  };
  for (const TCase& C : Cases) {
    TRect R = cxRect(0, 0, 5, 4);
    auto B =
        Painted(5, 4, [&](TcxCanvas* Canvas) { DrawButtonBorder(Canvas, R, C.Borders, kInk); });
    EXPECT_TRUE(LooksLike(B.get(), Ink, C.Expected)) << C.Name;
    EXPECT_TRUE(EqualRect(&R, &C.Left)) << C.Name << " " << ToString(R);
  }
}

TEST(EditLines, PolylineByFillsDrawsWhatThePenDraws) {
  const std::vector<std::vector<TPoint>> Lines = {
      {{1, 1}, {5, 1}, {5, 4}, {2, 4}},
      {{5, 4}, {5, 1}, {1, 1}, {1, 3}},
      {{3, 2}},
  };
  const std::vector<std::string> First = {".......", ".#####.", ".....#.",
                                          ".....#.", "..####.", "......."};
  for (const std::vector<TPoint>& Points : Lines) {
    auto ByPen = Painted(7, 6, [&](TcxCanvas* C) { InternalPolyLine(C, Points, kInk, false); });
    auto ByFill = Painted(7, 6, [&](TcxCanvas* C) { InternalPolyLine(C, Points, kInk, true); });
    EXPECT_EQ(PictureOf(ByFill.get(), Ink), PictureOf(ByPen.get(), Ink));
  }
  auto B = Painted(7, 6, [&](TcxCanvas* C) { InternalPolyLine(C, Lines[0], kInk, true); });
  EXPECT_TRUE(LooksLike(B.get(), Ink, First));
}

TEST(EditFills, OuterWithoutInner) {
  struct TCase {
    const char* Name;
    TRect Outer, Inner;
    std::vector<std::string> Expected;
  } Cases[] = {
      {"frame of strips",
       cxRect(0, 0, 6, 5),
       cxRect(2, 1, 4, 3),
       {"######", "##..##", "##..##", "######", "######"}},
      {"inner at the edge",
       cxRect(0, 0, 6, 5),
       cxRect(0, 0, 3, 5),
       {"...###", "...###", "...###", "...###", "...###"}},
      {"inner empty: all",
       cxRect(1, 1, 5, 4),
       cxNullRect,
       {"......", ".####.", ".####.", ".####.", "......"}},
      {"equal: nothing",
       cxRect(1, 1, 5, 4),
       cxRect(1, 1, 5, 4),
       {"......", "......", "......", "......", "......"}},
      {"outer empty: nothing",
       cxRect(3, 3, 3, 5),
       cxNullRect,
       {"......", "......", "......", "......", "......"}},
  };
  for (const TCase& C : Cases) {
    auto B = Painted(6, 5, [&](TcxCanvas* Canvas) {
      InternalFillRect(Canvas, C.Outer, C.Inner, GetSolidBrush(kInk));
    });
    EXPECT_TRUE(LooksLike(B.get(), Ink, C.Expected)) << C.Name;
  }
  auto B = Painted(3, 2, [](TcxCanvas* C) { cxEditFillRect(C, cxRect(1, 0, 3, 1), clBtnShadow); });
  EXPECT_TRUE(LooksLike(B.get(), Classic, {".SS", "..."}));
}

// ---------------------------------------------------------------------------
// Classic button borders

struct TBorderCase {
  const char* Name;
  TcxEditButtonBorderData Data;
  std::vector<std::string> Expected;
  TRect Background, Content;
  TColor Pen, Brush;
};

TcxEditButtonBorderData Button(TcxEditButtonStyle AStyle, TcxEditButtonState AState) {
  TcxEditButtonBorderData D;
  D.Style = AStyle;
  D.State = AState;
  return D;
}

void CheckBorders(const std::vector<TBorderCase>& ACases) {
  for (const TBorderCase& C : ACases) {
    int W = static_cast<int>(C.Expected[0].size()), H = static_cast<int>(C.Expected.size());
    TRect R = cxRect(0, 0, W, H), Content = cxNullRect;
    TColor Pen = clBtnText, Brush = clBlack;
    auto B = Painted(W, H, [&](TcxCanvas* Canvas) {
      cxDrawEditButtonBorder(Canvas, C.Data, R, Content, Pen, Brush);
    });
    EXPECT_TRUE(LooksLike(B.get(), Classic, C.Expected)) << C.Name;
    EXPECT_TRUE(EqualRect(&R, &C.Background)) << C.Name << " background " << ToString(R);
    EXPECT_TRUE(EqualRect(&Content, &C.Content)) << C.Name << " content " << ToString(Content);
    EXPECT_EQ(Pen, C.Pen) << C.Name;
    EXPECT_EQ(Brush, C.Brush) << C.Name;
  }
}

TEST(EditButtonBorders, ThreeDFlatAndSimple) {
  TcxEditButtonBorderData Transparent = Button(bts3D, ebsNormal);
  Transparent.Transparent = true;
  Transparent.BackgroundColor = kInk;
  TcxEditButtonBorderData SimpleOverNothing = Button(btsSimple, ebsNormal);
  SimpleOverNothing.ViewInfoTransparent = true;
  CheckBorders({
      {"3D",
       Button(bts3D, ebsNormal),
       {"LLLLLD", "LHHHSD", "LH..SD", "LSSSSD", "DDDDDD"},
       cxRect(2, 2, 4, 3),
       cxRect(2, 2, 4, 3),
       clBtnText,
       clBtnFace},
      {"3D pressed",
       Button(bts3D, ebsPressed),
       {"SSSSSS", "SFFFFS", "SF..FS", "SFFFFS", "SSSSSS"},
       cxRect(2, 2, 4, 3),
       cxRect(2, 2, 4, 3),
       clBtnText,
       clBtnFace},
      {"3D transparent: the background is the face",
       Transparent,
       {"LLLLLD", "LHHHSD", "LH..SD", "LSSSSD", "DDDDDD"},
       cxRect(2, 2, 4, 3),
       cxRect(2, 2, 4, 3),
       clBtnText,
       kInk},
      {"flat",
       Button(btsFlat, ebsNormal),
       {"FHHHHS", "FH..FS", "FH..FS", "FH..FS", "FSSSSS"},
       cxRect(2, 1, 4, 4),
       cxRect(2, 1, 4, 4),
       clBtnText,
       clBtnFace},
      {"flat pressed",
       Button(btsFlat, ebsPressed),
       {"FSSSSH", "FS..FH", "FS..FH", "FS..FH", "FHHHHH"},
       cxRect(2, 1, 4, 4),
       cxRect(2, 1, 4, 4),
       clBtnText,
       clBtnFace},
      {"simple",
       Button(btsSimple, ebsNormal),
       {"WWWWWW", "WF..FW", "WF..FW", "WF..FW", "WWWWWW"},
       cxRect(2, 1, 4, 4),
       cxRect(2, 1, 4, 4),
       clBtnText,
       clBtnFace},
      {"simple over a transparent editor: no frame",
       SimpleOverNothing,
       {"......", ".F..F.", ".F..F.", ".F..F.", "......"},
       cxRect(2, 1, 4, 4),
       cxRect(2, 1, 4, 4),
       clBtnText,
       clBtnFace},
      // Pressed or hot, a simple button sinks like a flat one.
      {"simple pressed is flat",
       Button(btsSimple, ebsPressed),
       {"FSSSSH", "FS..FH", "FS..FH", "FS..FH", "FHHHHH"},
       cxRect(2, 1, 4, 4),
       cxRect(2, 1, 4, 4),
       clBtnText,
       clBtnFace},
      {"simple hot is flat",
       Button(btsSimple, ebsSelected),
       {"FHHHHS", "FH..FS", "FH..FS", "FH..FS", "FSSSSS"},
       cxRect(2, 1, 4, 4),
       cxRect(2, 1, 4, 4),
       clBtnText,
       clBtnFace},
  });
}

// The raised 3-D frame is the platform's own raised edge.
TEST(EditButtonBorders, ThreeDIsThePlatformsRaisedEdge) {
  for (TSize Size : {TSize{6, 5}, TSize{17, 21}}) {
    TRect R = cxRect(0, 0, Size.cx, Size.cy), Content;
    TColor Pen, Brush;
    auto Ours = Painted(Size.cx, Size.cy, [&](TcxCanvas* C) {
      cxDrawEditButtonBorder(C, Button(bts3D, ebsNormal), R, Content, Pen, Brush);
    });
    auto Platform = Painted(Size.cx, Size.cy, [&](TcxCanvas* C) {
      RECT E = cxRect(0, 0, Size.cx, Size.cy);
      DrawEdge(C->Handle(), &E, EDGE_RAISED, BF_RECT);
    });
    EXPECT_EQ(Difference(Ours.get(), Platform.get()), "");
  }
}

TEST(EditButtonBorders, HotFlatClosesOnlyTheButtonNextToTheText) {
  // Two right-aligned buttons: the first one sits next to the text.
  TcxEditButtonBorderData Inner = Button(btsHotFlat, ebsNormal), Outer = Inner;
  Inner.Leftmost = true;
  Outer.Rightmost = true;
  TcxEditButtonBorderData LeftOuter = Outer;
  LeftOuter.LeftAlignment = true;
  LeftOuter.Rightmost = false;
  LeftOuter.Leftmost = true;
  TcxEditButtonBorderData HotTransparent = Inner;
  HotTransparent.State = ebsSelected;
  HotTransparent.Transparent = true;
  HotTransparent.BackgroundColor = kInk;
  CheckBorders({
      {"next to the text",
       Inner,
       {"SSSSS", "SF.FS", "SF.FS", "SSSSS"},
       cxRect(2, 1, 3, 3),
       cxRect(2, 1, 3, 3),
       clBtnText,
       clBtnFace},
      {"outer right-aligned: the inner side in the fill",
       Outer,
       {"SSSSS", "FF.FS", "FF.FS", "SSSSS"},
       cxRect(2, 1, 3, 3),
       cxRect(2, 1, 3, 3),
       clBtnText,
       clBtnFace},
      {"outer left-aligned mirrors it",
       LeftOuter,
       {"SSSSS", "SF.FF", "SF.FF", "SSSSS"},
       cxRect(2, 1, 3, 3),
       cxRect(2, 1, 3, 3),
       clBtnText,
       clBtnFace},
      {"pressed",
       [&] {
         auto D = Inner;
         D.State = ebsPressed;
         return D;
       }(),
       {"SSSSS", "ST.TS", "ST.TS", "SSSSS"},
       cxRect(2, 1, 3, 3),
       cxRect(2, 1, 3, 3),
       clWindow,
       clBtnText},
      {"hot and transparent",
       HotTransparent,
       {"SSSSS", "S#.#S", "S#.#S", "SSSSS"},
       cxRect(2, 1, 3, 3),
       cxRect(2, 1, 3, 3),
       clBtnShadow,
       kInk},
  });
}

TEST(EditButtonBorders, UltraFlatOwnFrameOrTheEditorsBorder) {
  TcxEditButtonBorderData Normal = Button(btsUltraFlat, ebsNormal);
  Normal.BackgroundColor = clWindow;
  TcxEditButtonBorderData PressedOwn = Normal;
  PressedOwn.State = ebsPressed;
  PressedOwn.OwnFrame = true;
  // A right-aligned pressed button at the right end of a bordered editor.
  TcxEditButtonBorderData PressedShared = Normal;
  PressedShared.State = ebsPressed;
  PressedShared.Rightmost = true;
  PressedShared.BorderRect = cxRect(-20, 0, 6, 5);
  TcxEditButtonBorderData HotLeftmostLeft = PressedShared;
  HotLeftmostLeft.State = ebsSelected;
  HotLeftmostLeft.LeftAlignment = true;
  HotLeftmostLeft.Rightmost = false;
  HotLeftmostLeft.Leftmost = true;
  HotLeftmostLeft.BorderRect = cxRect(0, 0, 30, 5);
  TcxEditButtonBorderData Office11 = Normal;
  Office11.Style = btsOffice11;
  TColor Pressed = GetEditButtonHighlightColor(true, false);
  CheckBorders({
      {"normal: a frame in the editor's colour",
       Normal,
       {"WWWWWW", "W....W", "W....W", "W....W", "WWWWWW"},
       cxRect(1, 1, 5, 4),
       cxRect(2, 1, 4, 4),
       clBtnText,
       clBtnFace},
      {"pressed with its own frame",
       PressedOwn,
       {"hhhhhh", "h....h", "h....h", "h....h", "hhhhhh"},
       cxRect(1, 1, 5, 4),
       cxRect(2, 1, 4, 4),
       clBtnText,
       Pressed},
      {"pressed inside the border: a line towards the text only",
       PressedShared,
       {"h.....", "h.....", "h.....", "h.....", "h....."},
       cxRect(1, 0, 6, 5),
       cxRect(2, 1, 5, 4),
       clBtnText,
       Pressed},
      {"hot left-aligned at the left end: a line on the right",
       HotLeftmostLeft,
       {".....h", ".....h", ".....h", ".....h", ".....h"},
       cxRect(0, 0, 5, 5),
       cxRect(1, 1, 4, 4),
       clBtnText,
       GetEditButtonHighlightColor(false, false)},
      {"Office 11 normal fills with the dock colour",
       Office11,
       {"WWWWWW", "W....W", "W....W", "W....W", "WWWWWW"},
       cxRect(1, 1, 5, 4),
       cxRect(2, 1, 4, 4),
       clBtnText,
       dxOffice11DockColor1},
  });
}

TEST(EditButtonColors, HighlightsComeFromTheUltraFlatAndOffice11Painters) {
  EXPECT_EQ(GetEditBorderHighlightColor(false), clHighlight);
  EXPECT_EQ(GetEditBorderHighlightColor(true), dxOffice11SelectedBorderColor);
  for (bool Office11 : {false, true}) {
    TcxCustomLookAndFeelPainter* P =
        cxLookAndFeelPaintersManager()->GetPainter(Office11 ? lfsOffice11 : lfsUltraFlat);
    ASSERT_NE(P, nullptr);
    EXPECT_EQ(GetEditButtonHighlightColor(true, Office11), P->ButtonColor(cxbsPressed));
    EXPECT_EQ(GetEditButtonHighlightColor(false, Office11), P->ButtonColor(cxbsHot));
  }
  EXPECT_NE(dxColorToRGB(GetEditButtonHighlightColor(true, false)),
            dxColorToRGB(GetEditButtonHighlightColor(false, false)));
}

// ---------------------------------------------------------------------------
// Button content

TEST(EditButtonContent, EllipsisDots) {
  struct TCase {
    const char* Name;
    int Width, Height;
    bool Enabled, Offset;
    std::vector<std::string> Expected;
  } Cases[] = {
      {"one-pixel dots up to 11 wide",
       11,
       3,
       true,
       false,
       {"...........", "..#..#..#..", "..........."}},
      {"two-pixel dots above",
       12,
       4,
       true,
       false,
       {"............", ".##..##..##.", ".##..##..##.", "............"}},
      {"pressed: one right and down",
       11,
       3,
       true,
       true,
       {"...........", "...........", "...#..#..#."}},
      {"disabled: embossed", 11, 3, false, false, {"...........", "..S..S..S..", "...H..H..H."}},
  };
  for (const TCase& C : Cases) {
    auto B = Painted(C.Width, C.Height, [&](TcxCanvas* Canvas) {
      cxDrawEditButtonEllipsis(Canvas, cxRect(0, 0, C.Width, C.Height), C.Enabled, C.Offset, kInk);
    });
    EXPECT_TRUE(LooksLike(B.get(), Classic, C.Expected)) << C.Name;
  }
}

TEST(EditButtonContent, PositionMovesWithThePressOnlyWhereItFits) {
  struct TCase {
    TRect R;
    TSize Size;
    bool Offset;
    TPoint Expected;
  } Cases[] = {
      {cxRect(0, 0, 10, 10), {4, 4}, false, {3, 3}},
      {cxRect(0, 0, 10, 10), {4, 4}, true, {4, 4}},
      {cxRect(2, 3, 7, 8), {5, 2}, true, {2, 5}},  // full width: stays
      {cxRect(0, 0, 9, 9), {4, 4}, false, {2, 2}},
  };
  for (const TCase& C : Cases) {
    TPoint P = cxGetEditButtonContentPosition(C.R, C.Size, C.Offset);
    EXPECT_EQ(P.x, C.Expected.x) << ToString(C.R);
    EXPECT_EQ(P.y, C.Expected.y) << ToString(C.R);
  }
}

// ---------------------------------------------------------------------------
// Native buttons, against the platform's theme

TRect PlatformButtonContent(const TRect& ABounds, int AState) {
  HTHEME Theme = dxUxTheme::OpenThemeData(nullptr, L"BUTTON");
  RECT Content = ABounds;
  if (Theme) {
    dxUxTheme::GetThemeBackgroundContentRect(Theme, nullptr, 1, AState, &ABounds, &Content);
    dxUxTheme::CloseThemeData(Theme);
  }
  return Content;
}

TEST(EditNativeButtons, ContentRectangle) {
  TRect Bounds = cxRect(3, 2, 40, 23);
  TRect Whole = cxGetNativeEditButtonContentRect(nullptr, Bounds, true, false, 1);
  EXPECT_TRUE(EqualRect(&Whole, &Bounds));
  TRect ComboBox = cxGetNativeEditButtonContentRect(nullptr, Bounds, false, true, 1);
  EXPECT_TRUE(IsRectEmpty(&ComboBox));
  for (int State : {1, 2, 3, 4}) {
    TRect Expected = PlatformButtonContent(Bounds, State);
    TRect R = cxGetNativeEditButtonContentRect(nullptr, Bounds, false, false, State);
    EXPECT_TRUE(EqualRect(&R, &Expected)) << State << " " << ToString(R);
  }
}

TEST(EditNativeButtons, ContentVerticalOffset) {
  for (int Style = btsDefault; Style <= btsOffice11; ++Style)
    EXPECT_EQ(GetEditButtonsContentVerticalOffset(nullptr, TcxEditButtonStyle(Style), false),
              cxEditButtonContentVerticalOffset[Style]);
  EXPECT_EQ(cxEditButtonContentVerticalOffset[bts3D], 4);
  EXPECT_EQ(cxEditButtonContentVerticalOffset[btsDefault], 0);
  TRect C = PlatformButtonContent(cxRect(0, 0, 100, 100), 1);
  Integer Expected = dxUxTheme::IsThemeActive() ? C.top + (100 - C.bottom) : 2;
  EXPECT_EQ(GetEditButtonsContentVerticalOffset(nullptr, btsFlat, true), Expected);
}

}  // namespace

namespace {

// The standard painter's down arrow drawn straight into a rectangle.
void PainterArrow(TcxCanvas* C, const TRect& R, TColor AColor) {
  cxLookAndFeelPaintersManager()->GetPainter(lfsStandard)->DrawArrow(C, R, adDown, AColor);
}

TEST(EditButtonContent, DropDownArrowTakesTheButtonsWidth) {
  const TRect Content = cxRect(4, 3, 14, 13), Button = cxRect(0, 0, 21, 16);
  struct TCase {
    const char* Name;
    bool Inplace, Enabled, Offset;
    TRect Expected;  // where the painter's arrow goes
  } Cases[] = {
      // 21 - 10 = 11 more: 6 on the left, 5 on the right.
      {"odd difference: the extra pixel left", false, true, false, cxRect(-2, 3, 19, 13)},
      // Offset: the extra pixel right, and down by one (no move right).
      {"pressed", false, true, true, cxRect(-1, 4, 20, 14)},
      // In place also the full height: 16 - 10 = 6, 3 on each side.
      {"in place", true, true, false, cxRect(-2, 0, 19, 16)},
  };
  for (const TCase& C : Cases) {
    auto Ours = Painted(24, 20, [&](TcxCanvas* Canvas) {
      cxDrawEditButtonArrow(Canvas, Content, Button, C.Inplace, C.Enabled, C.Offset, kInk);
    });
    auto Expected =
        Painted(24, 20, [&](TcxCanvas* Canvas) { PainterArrow(Canvas, C.Expected, kInk); });
    EXPECT_EQ(Difference(Ours.get(), Expected.get()), "") << C.Name;
  }
  // Even difference (10 more, 5 on each side), pressed: one right and one
  // down.
  auto Ours = Painted(24, 20, [&](TcxCanvas* Canvas) {
    cxDrawEditButtonArrow(Canvas, Content, cxRect(0, 0, 20, 16), false, true, true, kInk);
  });
  auto Expected =
      Painted(24, 20, [&](TcxCanvas* Canvas) { PainterArrow(Canvas, cxRect(0, 4, 20, 14), kInk); });
  EXPECT_EQ(Difference(Ours.get(), Expected.get()), "");
  // Disabled: embossed.
  auto Disabled = Painted(24, 20, [&](TcxCanvas* Canvas) {
    cxDrawEditButtonArrow(Canvas, Content, Button, false, false, false, kInk);
  });
  auto Embossed = Painted(24, 20, [&](TcxCanvas* Canvas) {
    PainterArrow(Canvas, cxRect(-1, 4, 20, 14), clBtnHighlight);
    PainterArrow(Canvas, cxRect(-2, 3, 19, 13), clBtnShadow);
  });
  EXPECT_EQ(Difference(Disabled.get(), Embossed.get()), "");
}

// ---------------------------------------------------------------------------
// Default button width

using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);

int PlatformScrollBarHeight(UINT ADpi) {
  auto F = reinterpret_cast<TGetSystemMetricsForDpi>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi"));
  return F ? F(SM_CYHSCROLL, ADpi) : MulDiv(GetSystemMetrics(SM_CYHSCROLL), ADpi, 96);
}

TEST(EditButtonWidth, ByKindGlyphCaptionAndScale) {
  TOwned<TdxScaleFactor> At144(Create<TdxScaleFactor>());
  At144->Assign(3, 2, false);
  auto Canvas = Painted(4, 4, [](TcxCanvas*) {});
  TcxCanvas* C = Canvas->cxCanvas();
  const Integer Caption = C->TextWidth(L"Browse files and folders");
  struct TCase {
    const char* Name;
    TcxEditButtonKind Kind;
    Integer Width, Glyph;
    const wchar_t* Caption;
    const TdxScaleFactor* Scale;
    Integer Expected;
  } Cases[] = {
      {"explicit 2: the border extent", bkEllipsis, 2, 0, L"", nullptr, 4},
      {"explicit 30", bkText, 30, 0, L"Browse files and folders", nullptr, 30},
      {"glyph", bkGlyph, 0, 16, L"", nullptr, 20},
      {"glyph kind without a glyph", bkGlyph, 0, 0, L"", nullptr, PlatformScrollBarHeight(96)},
      {"ellipsis", bkEllipsis, 0, 0, L"", nullptr, PlatformScrollBarHeight(96)},
      {"ellipsis at 144 dpi", bkDown, 0, 0, L"", At144.get(), PlatformScrollBarHeight(144)},
      {"caption", bkText, 0, 0, L"Browse files and &folders", nullptr, Caption + 4 + 2 + 1},
      {"caption at 144 dpi", bkText, 0, 0, L"Browse files and folders", At144.get(),
       std::max(Caption + 4 + 3 + 1, PlatformScrollBarHeight(144))},
      {"short caption: at least a scroll bar", bkText, 0, 0, L"", nullptr,
       PlatformScrollBarHeight(96)},
  };
  for (const TCase& T : Cases) {
    TcxEditButtonWidthData D;
    D.Kind = T.Kind;
    D.Width = T.Width;
    D.GlyphWidth = T.Glyph;
    D.Caption = T.Caption;
    D.ScaleFactor = T.Scale;
    EXPECT_EQ(CalculateEditDefaultButtonWidth(C, D), T.Expected) << T.Name;
  }
}

TEST(EditButtonWidth, NativeBorderExtentComesFromTheTheme) {
  TcxEditButtonWidthData D;
  D.Kind = bkEllipsis;
  D.Width = 2;
  D.NativeStyle = true;
  Integer Result = CalculateEditDefaultButtonWidth(nullptr, D);
  if (!dxUxTheme::IsThemeActive()) {
    EXPECT_FALSE(D.NativeStyle);
    EXPECT_EQ(Result, 4);
    return;
  }
  EXPECT_TRUE(D.NativeStyle);
  TRect C = PlatformButtonContent(cxRect(0, 0, 100, 100), 1);
  EXPECT_EQ(Result, std::max<Integer>(2, 100 - (C.right - C.left)));
}

// In touch mode glyph, caption and kind widths grow to the touch minimum;
// an explicit width does not.
TEST(EditButtonWidth, TouchModeEnlargesAllButAnExplicitWidth) {
  cxSetIsTouchModeEnabled(true);
  TcxEditButtonWidthData Glyph;
  Glyph.Kind = bkGlyph;
  Glyph.GlyphWidth = 16;
  TcxEditButtonWidthData Explicit;
  Explicit.Width = 2;
  Integer GlyphWidth = CalculateEditDefaultButtonWidth(nullptr, Glyph);
  Integer ExplicitWidth = CalculateEditDefaultButtonWidth(nullptr, Explicit);
  cxSetIsTouchModeEnabled(false);
  EXPECT_EQ(GlyphWidth, dxSystemScaleFactor()->Apply(27));
  EXPECT_EQ(ExplicitWidth, 4);
}

}  // namespace
