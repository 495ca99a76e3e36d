// The map control, the office navigation bar, the PDF viewer and the
// spreadsheet: values by table, drawings against hand-worked pixels.
#include <optional>
#include <string>

#include "LookAndFeelTestSupport.h"
#include "PainterElements.h"

namespace {

class MapPixels : public ::testing::Test {
 protected:
  void SetUp() override { Colors.emplace(ClassicColors()); }
  void TearDown() override { Colors.reset(); }
  std::optional<TInjectedSysColors> Colors;
};

std::vector<TcxCustomLookAndFeelPainter*> ClassicPainters() {
  return {PainterOf(lfsFlat), PainterOf(lfsOffice11), StandardPainter(), UltraFlatPainter()};
}

std::string NameOf(TcxCustomLookAndFeelPainter* APainter) {
  const String N = APainter->LookAndFeelName();
  return std::string(N.begin(), N.end());
}

// A channel of AColor blended with alpha AAlpha over ABackground.
int Over(int ABackground, int AColor, int AAlpha) {
  return ABackground + (AColor - ABackground) * AAlpha / 255;
}

TEST_F(MapPixels, CustomElementsFillAndFrameByState) {
  struct TCase {
    TdxMapControlElementState State;
    int Alpha;  // of the white fill and of the black frame; 0: nothing drawn
  };
  const TCase Cases[] = {{mcesNormal, 0},
                         {mcesHot, 0x5A},
                         {mcesPressed, 0x5A},
                         {mcesSelected, 0x80},
                         {mcesDisabled, 0}};
  const int Grey = 100;
  for (const TCase& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.State));
    TPaintTarget T(40, 24, static_cast<TColor>(RGB(Grey, Grey, Grey)));
    StandardPainter()->DrawMapCustomElementBackground(T.Canvas(), cxRect(0, 0, 40, 24), C.State);
    // Nothing outside the rectangle inset by one.
    for (int X = 0; X < 40; ++X) {
      EXPECT_EQ(T.Pixel(X, 0), RGB(Grey, Grey, Grey)) << X;
      EXPECT_EQ(T.Pixel(X, 23), RGB(Grey, Grey, Grey)) << X;
    }
    for (int Y = 0; Y < 24; ++Y) EXPECT_EQ(T.Pixel(0, Y), RGB(Grey, Grey, Grey)) << Y;
    if (C.Alpha == 0) {
      EXPECT_EQ(T.Shape(RGB(Grey, Grey, Grey)).find('.'), std::string::npos);
      continue;
    }
    // Inside, white at the state's alpha; on the frame's straight stretch,
    // black at that alpha (anti-aliasing lets a pen of one pixel on a whole
    // coordinate touch two rows; one of them holds most of it).
    // Inside, white at the state's alpha. The frame: black at that alpha,
    // the darkest pixel drawn (the platform's rasteriser decides how much
    // of a one-pixel line at a whole coordinate shows, so only its colour
    // and its place are checked), and round: never in the corner pixel of
    // the inset rectangle.
    EXPECT_NEAR(GetGValue(T.Pixel(20, 12)), Over(Grey, 255, C.Alpha), 2);
    int Darkest = 255;
    TPoint At{-1, -1};
    for (int Y = 0; Y < 24; ++Y)
      for (int X = 0; X < 40; ++X)
        if (GetGValue(T.Pixel(X, Y)) < Darkest) {
          Darkest = GetGValue(T.Pixel(X, Y));
          At = TPoint{X, Y};
        }
    EXPECT_NEAR(Darkest, Over(Grey, 0, C.Alpha), 2);
    EXPECT_TRUE(At.x <= 2 || At.x >= 37 || At.y <= 2 || At.y >= 21) << At.x << "," << At.y;
    for (TPoint Corner : {TPoint{1, 1}, TPoint{38, 1}, TPoint{1, 22}, TPoint{38, 22}})
      EXPECT_GT(GetGValue(T.Pixel(Corner.x, Corner.y)), Darkest) << Corner.x << "," << Corner.y;
  }
}

TEST_F(MapPixels, PushpinAndCustomizationButtonImages) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  // Each painter loads each image once and keeps it.
  EXPECT_EQ(P->GetMapPushpin(), P->GetMapPushpin());
  EXPECT_EQ(P->GetNavigationBarCustomizationButton(), P->GetNavigationBarCustomizationButton());
  EXPECT_NE(P->GetMapPushpin(), UltraFlatPainter()->GetMapPushpin());
  EXPECT_EQ(P->MapControlGetMapPushpinSize(dxDefaultScaleFactor()), (TSize{35, 44}));
  TOwned<TdxScaleFactor> F144 = MakeOwned<TdxScaleFactor>();
  F144->Assign(3, 2, false);
  EXPECT_EQ(P->MapControlGetMapPushpinSize(F144.get()), (TSize{53, 66}));
  EXPECT_EQ(P->OfficeNavigationBarScaledCustomizationButtonSize(dxDefaultScaleFactor()),
            (TSize{38, 32}));
  EXPECT_EQ(P->OfficeNavigationBarScaledCustomizationButtonSize(F144.get()), (TSize{57, 48}));
  EXPECT_EQ(P->MapControlGetMapPushpinTextOrigin(F144.get()), (TPoint{26, 26}));

  // The pushpin at full opacity: its red body covers the centre column.
  TPaintTarget Pin(35, 44);
  P->DrawMapPushpin(Pin.Canvas(), cxRect(0, 0, 35, 44), mcesNormal, dxDefaultScaleFactor());
  int Red = 0;
  for (int Y = 0; Y < 44; ++Y) {
    const COLORREF C = Pin.Pixel(17, Y);
    if (GetRValue(C) > 150 && GetGValue(C) < 100) ++Red;
  }
  EXPECT_GT(Red, 10);

  // The customization button: as drawn, and recoloured with a colour at
  // its alpha. Every pixel the recoloured one changes has the colour's hue,
  // no darker than the colour at that alpha over white.
  TPaintTarget Plain(38, 32), Coloured(38, 32);
  P->OfficeNavigationBarDrawScaledCustomizationButton(Plain.Canvas(), cxRect(0, 0, 38, 32), 0,
                                                      dxDefaultScaleFactor(), dxacDefault);
  P->OfficeNavigationBarDrawScaledCustomizationButton(Coloured.Canvas(), cxRect(0, 0, 38, 32), 0,
                                                      dxDefaultScaleFactor(),
                                                      dxMakeAlphaColor(200, 200, 0, 0));
  int Changed = 0;
  for (int Y = 0; Y < 32; ++Y)
    for (int X = 0; X < 38; ++X) {
      const COLORREF A = Plain.Pixel(X, Y), B = Coloured.Pixel(X, Y);
      // The faint edge pixels of the dots may vanish at the lower alpha;
      // everything clearly drawn stays drawn, and nothing appears.
      if (A == RGB(255, 255, 255)) {
        EXPECT_EQ(B, RGB(255, 255, 255)) << X << "," << Y;
      }
      if (GetGValue(A) < 200) {
        EXPECT_LT(GetGValue(B), 250) << X << "," << Y;
      }
      if (GetGValue(B) >= 250) continue;
      ++Changed;
      EXPECT_NEAR(GetGValue(B), GetBValue(B), 1) << X << "," << Y;
      EXPECT_GT(GetRValue(B), GetGValue(B)) << X << "," << Y;
      EXPECT_GE(GetGValue(B), Over(255, 0, 200) - 1) << X << "," << Y;
      // The image's own dots are grey.
      EXPECT_NEAR(GetRValue(A), GetGValue(A), 1) << X << "," << Y;
    }
  EXPECT_GT(Changed, 20);
}

TEST_F(MapPixels, NavigationBarColoursAndSelections) {
  struct TCase {
    Integer State;
    TColor Text;
    std::optional<COLORREF> Selection;
    TcxButtonState Button;
  };
  const TCase Cases[] = {
      {0, 0x00565656, std::nullopt, cxbsNormal},
      {1, 0x00C67200, RGB(0xCD, 0xE6, 0xF7), cxbsHot},
      {2, 0x00C67200, RGB(0x92, 0xC0, 0xE0), cxbsNormal},
      {3, 0x00C67200, RGB(0xCD, 0xE6, 0xF7), cxbsNormal},
      {4, 0x00565656, std::nullopt, cxbsNormal},
  };
  for (TcxCustomLookAndFeelPainter* P : ClassicPainters()) {
    for (const TCase& C : Cases) {
      SCOPED_TRACE(NameOf(P) + " " + std::to_string(C.State));
      EXPECT_EQ(P->OfficeNavigationBarItemTextColor(C.State), C.Text);
      EXPECT_EQ(P->OfficeNavigationBarButtonItemTextColor(C.State), C.Text);
      TPaintTarget Selection(10, 10, static_cast<TColor>(RGB(1, 2, 3)));
      P->OfficeNavigationBarDrawImageSelection(Selection.Canvas(), cxRect(0, 0, 10, 10), C.State);
      EXPECT_EQ(Selection.Pixel(5, 5), C.Selection.value_or(RGB(1, 2, 3)));
      EXPECT_EQ(Selection.Pixel(9, 9), C.Selection.value_or(RGB(1, 2, 3)));
      // The button item is the look's button face, hot only for state 1.
      TPaintTarget Item(30, 20), Face(30, 20);
      P->OfficeNavigationBarDrawButtonItemBackground(Item.Canvas(), cxRect(0, 0, 30, 20), C.State);
      P->DrawScaledButton(Face.Canvas(), cxRect(0, 0, 30, 20), String(), C.Button,
                          dxSystemScaleFactor(), true, clDefault, clDefault, false, false,
                          cxbpButton);
      EXPECT_EQ(Difference(Item.Bitmap(), Face.Bitmap()), "");
      // The item background draws nothing.
      TPaintTarget Quiet(10, 10);
      P->OfficeNavigationBarDrawItemBackground(Quiet.Canvas(), cxRect(0, 0, 10, 10), C.State);
      EXPECT_EQ(Quiet.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);
    }
  }
  TPaintTarget Bar(10, 10);
  StandardPainter()->OfficeNavigationBarDrawBackground(Bar.Canvas(), cxRect(0, 0, 10, 10));
  EXPECT_EQ(Bar.Pixel(0, 0), RGB(0xE4, 0xE4, 0xE4));
}

TEST_F(MapPixels, SizesAndOffsetsAtTwoFactors) {
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  TOwned<TdxScaleFactor> F144 = MakeOwned<TdxScaleFactor>();
  F144->Assign(3, 2, false);
  struct TCase {
    const char* Name;
    std::function<TRect(const TdxScaleFactor*)> Get;
    Integer At96;
  };
  const TCase Cases[] = {
      {"navigation bar content",
       [P](const TdxScaleFactor* F) { return P->OfficeNavigationBarScaledContentOffsets(F); }, 2},
      {"navigation bar item",
       [P](const TdxScaleFactor* F) { return P->OfficeNavigationBarScaledItemContentOffsets(F); },
       2},
      {"navigation bar button item",
       [P](const TdxScaleFactor* F) {
         return P->OfficeNavigationBarScaledButtonItemContentOffsets(F);
       },
       4},
      {"pdf button",
       [P](const TdxScaleFactor* F) { return P->PDFViewerNavigationPaneButtonContentOffsets(F); },
       2},
      {"pdf pane",
       [P](const TdxScaleFactor* F) { return P->PDFViewerNavigationPaneContentOffsets(F); }, 4},
      {"pdf page",
       [P](const TdxScaleFactor* F) { return P->PDFViewerNavigationPanePageContentOffsets(F); }, 4},
      {"pdf page caption",
       [P](const TdxScaleFactor* F) {
         return P->PDFViewerNavigationPanePageCaptionContentOffsets(F);
       },
       4},
      {"pdf page toolbar",
       [P](const TdxScaleFactor* F) {
         return P->PDFViewerNavigationPanePageToolbarContentOffsets(F);
       },
       4},
      {"map selection",
       [P](const TdxScaleFactor* F) { return P->MapControlMapCustomElementSelectionOffset(F); },
       14},
      {"spreadsheet group button",
       [P](const TdxScaleFactor* F) {
         return P->SpreadSheetScaledGroupExpandButtonContentOffsets(F);
       },
       3},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    const Integer V = C.At96, W = MulDiv(C.At96, 144, 96);
    EXPECT_EQ(C.Get(dxDefaultScaleFactor()), cxRect(V, V, V, V));
    EXPECT_EQ(C.Get(F144.get()), cxRect(W, W, W, W));
  }
  // Halves round away from zero.
  EXPECT_EQ(P->OfficeNavigationBarScaledButtonItemFontSize(F144.get()), 14);
  EXPECT_EQ(P->OfficeNavigationBarScaledItemFontSize(F144.get()), 29);
  EXPECT_EQ(P->PDFViewerNavigationPaneButtonSize(F144.get()), (TSize{63, 63}));
  EXPECT_EQ(P->SpreadSheetScaledGroupLevelMarkSize(F144.get()), (TSize{3, 3}));
  EXPECT_EQ(P->SpreadSheetScaledGroupExpandButtonGlyphSize(F144.get()),
            P->NavigatorScaledButtonGlyphSize(F144.get()));
  EXPECT_EQ(P->SpreadSheetFormulaBarGetScaledSeparatorSize(F144.get()),
            P->GetScaledSplitterSize(false, F144.get()).cx);
  EXPECT_EQ(P->MapControlShapeBorderSelectedWidth(F144.get()), 2);
  // The overlay: the button offsets' left, their top and the border.
  for (TcxCustomLookAndFeelPainter* Each : ClassicPainters())
    EXPECT_EQ(Each->PDFViewerNavigationPaneButtonOverlay(F144.get()),
              (TPoint{3, 3 + Each->BorderSize()}))
        << NameOf(Each);
}

TEST_F(MapPixels, PdfNavigationButtons) {
  const TdxScaleFactor* F = dxDefaultScaleFactor();
  for (TcxCustomLookAndFeelPainter* P : ClassicPainters()) {
    SCOPED_TRACE(NameOf(P));
    const TPoint O = P->PDFViewerNavigationPaneButtonOverlay(F);
    const TRect Button = cxRect(10, 10, 50, 50), Grown = cxRectInflate(Button, O.x, O.y);
    EXPECT_EQ(P->PDFViewerNavigationPaneButtonRect(Button, cxbsNormal, false, F), Button);
    EXPECT_EQ(P->PDFViewerNavigationPaneButtonRect(Button, cxbsPressed, false, F), Grown);
    EXPECT_EQ(P->PDFViewerNavigationPaneButtonRect(Button, cxbsHot, true, F), Grown);
    const COLORREF Control = dxColorToRGB(P->DefaultControlColor());
    const Integer B = P->BorderSize();

    // Selected, not minimized: the border, then the fill between the top
    // and bottom borders across the whole width.
    TPaintTarget Selected(60, 60, static_cast<TColor>(RGB(1, 2, 3)));
    TPaintTarget Border(60, 60, static_cast<TColor>(RGB(1, 2, 3)));
    P->PDFViewerDrawNavigationPaneButton(Selected.Canvas(), Button, cxbsNormal, F, false, true,
                                         false);
    P->DrawBorder(Border.Canvas(), Grown);
    for (int Y = 0; Y < 60; ++Y)
      for (int X = 0; X < 60; ++X) {
        const bool Between =
            X >= Grown.left && X < Grown.right && Y >= Grown.top + B && Y < Grown.bottom - B;
        const COLORREF Expected = Between ? Control : Border.Pixel(X, Y);
        if (Selected.Pixel(X, Y) != Expected) {
          ADD_FAILURE() << X << "," << Y;
          Y = 60;
          break;
        }
      }

    // Not selected: the find panel's background (border on the right)
    // in the pressed rectangle, and the button colour inside the button
    // border.
    TPaintTarget Plain(60, 60, static_cast<TColor>(RGB(1, 2, 3)));
    P->PDFViewerDrawNavigationPaneButton(Plain.Canvas(), Button, cxbsHot, F, false, false, false);
    const Integer Inset = P->ButtonBorderSize(cxbsNormal);
    const COLORREF Hot = dxColorToRGB(P->ButtonColor(cxbsHot));
    EXPECT_EQ(Plain.Pixel(Grown.left + Inset, 30), Hot);
    EXPECT_EQ(Plain.Pixel(Grown.right - Inset - 1, 30), Hot);
    EXPECT_EQ(Plain.Pixel(30, Grown.top + Inset), Hot);
    EXPECT_NE(Plain.Pixel(Grown.left, 30), RGB(1, 2, 3));
    EXPECT_EQ(Plain.Pixel(Grown.left - 1, 30), RGB(1, 2, 3));
  }
  // The find panel: inside the sides listed, the control colour.
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  const Integer B = P->BorderSize();
  const COLORREF Control = dxColorToRGB(P->DefaultControlColor());
  TPaintTarget Right(20, 20), None(20, 20);
  P->PDFViewerDrawNavigationPaneBackground(Right.Canvas(), cxRect(0, 0, 20, 20));
  P->PDFViewerDrawNavigationPanePageToolbarBackground(None.Canvas(), cxRect(0, 0, 20, 20));
  EXPECT_EQ(Right.Pixel(0, 10), Control);
  EXPECT_NE(Right.Pixel(19, 10), Control);
  EXPECT_EQ(Right.Pixel(19 - B, 10), Control);
  EXPECT_EQ(None.Shape(Control).find('.'), std::string::npos);
  // Page buttons fill only while hot or pressed.
  for (TcxButtonState S : {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
    TPaintTarget T(10, 10);
    P->PDFViewerDrawNavigationPanePageButton(T.Canvas(), cxRect(0, 0, 10, 10), S, F);
    EXPECT_EQ(T.Pixel(5, 5), S == cxbsHot || S == cxbsPressed ? kBtnShadow : RGB(255, 255, 255))
        << S;
  }
}

TEST_F(MapPixels, SpreadsheetHeadersTintWhenHot) {
  // The background mixed with the highlight at 70 to 30: the face
  // (200, 200, 200) and the highlight (0, 80, 200) give (140, 164, 200).
  struct TCase {
    TcxButtonState State;
    COLORREF Middle;
  };
  const TCase Cases[] = {{cxbsNormal, kBtnFace}, {cxbsHot, RGB(140, 164, 200)}};
  for (const TCase& C : Cases) {
    TPaintTarget T(40, 18);
    StandardPainter()->DrawSpreadSheetHeader(
        T.Canvas(), cxRect(0, 0, 40, 18), cxRect(2, 2, 38, 16), TcxNeighbors(), cxBordersAll(),
        C.State, taCenter, vaCenter, false, false, String(), ElementFont(), clBtnText, clBtnFace);
    EXPECT_EQ(T.Pixel(20, 9), C.Middle) << C.State;
  }
  // The group button's glyph: navigator glyph 8 expanded, 6 collapsed,
  // centred (glyph I of the sample list has its column at X = I).
  TcxCustomLookAndFeelPainter* P = StandardPainter();
  for (bool Expanded : {false, true}) {
    TPaintTarget T(21, 21);
    P->DrawSpreadSheetGroupExpandButtonGlyph(T.Canvas(), cxRect(0, 0, 21, 21), cxbsNormal, Expanded,
                                             SampleNavigatorGlyphs());
    const int Column = 5 + (Expanded ? 8 : 6);
    std::string Expected;
    for (int Y = 0; Y < 21; ++Y) {
      for (int X = 0; X < 21; ++X)
        Expected += (Y == 10 && X >= 6 && X < 15) || (X == Column && Y >= 7 && Y < 14) ? '#' : '.';
      Expected += '\n';
    }
    EXPECT_EQ(T.Shape(RGB(0, 0, 0)), Expected) << Expanded;
  }
  // The formula bar's button is the scroll bar's line button: up when
  // expanded.
  for (bool Expanded : {false, true}) {
    TPaintTarget Ours(17, 17), Direct(17, 17);
    P->DrawSpreadSheetFormulaBarExpandButton(Ours.Canvas(), cxRect(0, 0, 17, 17), cxbsHot,
                                             Expanded);
    P->DrawScaledScrollBarPart(Direct.Canvas(), false, cxRect(0, 0, 17, 17),
                               Expanded ? sbpLineUp : sbpLineDown, cxbsHot, dxDefaultScaleFactor());
    EXPECT_EQ(Difference(Ours.Bitmap(), Direct.Bitmap()), "") << Expanded;
  }
}

}  // namespace
