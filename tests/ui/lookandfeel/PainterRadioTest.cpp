// Radio buttons and their images, group-box frames.
#include <optional>
#include <string>
#include <vector>

#include "LookAndFeelTestSupport.h"

namespace {

TOwned<TdxScaleFactor> Factor(Integer ANumerator, Integer ADenominator) {
  TOwned<TdxScaleFactor> F = MakeOwned<TdxScaleFactor>();
  F->Assign(ANumerator, ADenominator, false);
  return F;
}

// The black extent of the platform's own radio mask in the check-box cell
// at a factor: width, height and the first column and row.
TRect PlatformRadioExtent(const TdxScaleFactor* AFactor) {
  HBITMAP Bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(OBM_CHECKBOXES));
  BITMAP Data{};
  GetObjectW(Bitmap, sizeof(Data), &Data);
  DeleteObject(Bitmap);
  TSize Cell = AFactor->Apply(TSize{Data.bmWidth / 4, Data.bmHeight / 3}, dxSystemScaleFactor());
  TPaintTarget T(Cell.cx, Cell.cy, clBlack);
  RECT R{0, 0, Cell.cx, Cell.cy};
  DrawFrameControl(T.DC(), &R, DFC_BUTTON, DFCS_BUTTONRADIOMASK | DFCS_FLAT);
  int Left = -1, Top = -1, Width = 0, Height = 0;
  for (int X = 0; X < Cell.cx; ++X)
    for (int Y = 0; Y < Cell.cy; ++Y)
      if (T.Pixel(X, Y) == 0) {
        if (Left < 0) Left = X;
        ++Width;
        break;
      }
  for (int Y = 0; Y < Cell.cy; ++Y)
    for (int X = 0; X < Cell.cx; ++X)
      if (T.Pixel(X, Y) == 0) {
        if (Top < 0) Top = Y;
        ++Height;
        break;
      }
  return cxRect(Left, Top, Left + Width, Top + Height);
}

TEST(RadioImages, TheIndexFormulaAndOneHundredAndTwentyEightImages) {
  using L = TcxRadioButtonImageList;
  EXPECT_EQ(L::GetImageListIndexMapIndex(lfStandard, cxbsNormal, false, false, false), 8);
  EXPECT_EQ(L::GetImageListIndexMapIndex(lfOffice11, cxbsDisabled, true, true, true), 127);
  EXPECT_EQ(L::GetImageListIndexMapIndex(lfFlat, cxbsNormal, false, false, false), 0);
  EXPECT_EQ(L::GetImageListIndexMapIndex(lfFlat, cxbsHot, true, false, true), 32 + 4 + 1);
  // The default state has no images of its own: it is the normal one, and
  // never an index before the first.
  EXPECT_EQ(L::GetImageListIndexMapIndex(lfFlat, cxbsDefault, false, false, false), 0);
  TcxRadioButtonImageList* List = TcxRadioButtonImageListManager::Get(dxSystemScaleFactor());
  EXPECT_EQ(List->Count(), 128);
  // The images went in in map order.
  for (int K = 0; K < 4; ++K)
    for (TcxButtonState S : {cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled})
      for (bool C : {false, true})
        for (bool Fo : {false, true})
          for (bool D : {false, true}) {
            auto Kind = static_cast<TcxLookAndFeelKind>(K);
            EXPECT_EQ(List->GetImageIndex(Kind, S, C, Fo, D),
                      L::GetImageListIndexMapIndex(Kind, S, C, Fo, D));
          }
  EXPECT_EQ(List->GetImageIndex(lfUltraFlat, cxbsDefault, true, false, false),
            List->GetImageIndex(lfUltraFlat, cxbsNormal, true, false, false));
}

TEST(RadioImages, OneListPerTargetDPI) {
  auto Half = Factor(3, 2), Six = Factor(6, 4), Double = Factor(2, 1);
  TcxRadioButtonImageList* System = TcxRadioButtonImageListManager::Get(dxSystemScaleFactor());
  EXPECT_EQ(TcxRadioButtonImageListManager::Get(dxSystemScaleFactor()), System);
  TcxRadioButtonImageList* Large = TcxRadioButtonImageListManager::Get(Half.get());
  EXPECT_NE(Large, System);
  EXPECT_EQ(TcxRadioButtonImageListManager::Get(Six.get()), Large);
  EXPECT_GE(TcxRadioButtonImageListManager::Count(), 2);
  // Each list is as large as the platform's mask at its DPI, not the cell.
  for (const TdxScaleFactor* F : {static_cast<const TdxScaleFactor*>(dxSystemScaleFactor()),
                                  static_cast<const TdxScaleFactor*>(Half.get()),
                                  static_cast<const TdxScaleFactor*>(Double.get())}) {
    TRect Extent = PlatformRadioExtent(F);
    TcxRadioButtonImageList* List = TcxRadioButtonImageListManager::Get(F);
    EXPECT_EQ(List->GetSize(), (TSize{cxRectWidth(Extent), cxRectHeight(Extent)}))
        << F->Numerator() << "/" << F->Denominator();
    EXPECT_EQ(List->RadioButtonRect(), Extent);
    EXPECT_EQ(StandardPainter()->ScaledRadioButtonSize(F), List->GetSize());
  }
}

TEST(RadioImages, TheRingsAreSplitByTheDiagonal) {
  TcxRadioButtonImageList* List = TcxRadioButtonImageListManager::Get(dxSystemScaleFactor());
  const auto& P = List->Pattern();
  const int H = static_cast<int>(P.size()), W = static_cast<int>(P[0].size());
  std::vector<int> Seen(7, 0);
  for (int I = 0; I < H; ++I)
    for (int J = 0; J < W; ++J) {
      int Role = P[I][J];
      ++Seen[Role];
      int A = (H - 1) * (W - 1 - J) - (W - 1) * I;
      if (Role == TcxRadioButtonImageList::rOuterRingUpperLeft) EXPECT_GE(A, 0) << I << "," << J;
      if (Role == TcxRadioButtonImageList::rOuterRingLowerRight) EXPECT_LT(A, 0) << I << "," << J;
      if (Role == TcxRadioButtonImageList::rInnerRingUpperLeft)
        EXPECT_TRUE(A > 0 || (A == 0 && J <= W / 2 - 1)) << I << "," << J;
      if (Role == TcxRadioButtonImageList::rInnerRingLowerRight)
        EXPECT_TRUE(A < 0 || (A == 0 && J > W / 2 - 1)) << I << "," << J;
    }
  for (int Role = 0; Role < 7; ++Role) EXPECT_GT(Seen[Role], 0) << "role " << Role;
  // The dot is measured on the platform's checked glyph, inside the glyph,
  // even where the platform's dot is smaller than the walk from the
  // middle's upper left expects.
  TRect Dot = List->RadioButtonCheckRect();
  EXPECT_FALSE(cxRectIsEmpty(Dot));
  TRect Glyph = List->RadioButtonRect();
  EXPECT_TRUE(Dot.left > Glyph.left && Dot.top > Glyph.top && Dot.right < Glyph.right &&
              Dot.bottom < Glyph.bottom)
      << ToString(Dot);
  // The corners lie outside the circle; the middle is the check dot.
  EXPECT_EQ(P[0][0], TcxRadioButtonImageList::rOutside);
  EXPECT_EQ(P[H - 1][W - 1], TcxRadioButtonImageList::rOutside);
  EXPECT_EQ(P[H / 2][W / 2], TcxRadioButtonImageList::rCheck);
}

class RadioPixels : public ::testing::Test {
 protected:
  void SetUp() override { Colors.emplace(ClassicColors()); }
  void TearDown() override {
    Colors.reset();
    TcxRadioButtonImageListManager::Reset();
    RefreshOffice11Colors();
  }
  std::optional<TInjectedSysColors> Colors;
};

TEST_F(RadioPixels, ImagesTakeTheirRolesColoursAndRecolourWithTheSystem) {
  TcxRadioButtonImageList* List = TcxRadioButtonImageListManager::Get(dxSystemScaleFactor());
  TcxRadioButtonImageListManager::Reset();
  const TSize Size = List->GetSize();
  std::vector<Integer> Indexes;
  for (int I = 0; I < 128; ++I)
    Indexes.push_back(List->GetImageIndex(static_cast<TcxLookAndFeelKind>(I / 8 % 4),
                                          static_cast<TcxButtonState>(I % 4 + 1), I / 4 % 2 == 1,
                                          I / 64 == 1, I / 32 % 2 == 1));
  const auto& P = List->Pattern();
  auto RoleAt = [&](int Role) {
    for (int I = 0; I < Size.cy; ++I)
      for (int J = 0; J < Size.cx; ++J)
        if (P[I][J] == Role) return TPoint{J, I};
    return TPoint{-1, -1};
  };
  const COLORREF Back = RGB(1, 2, 3);
  auto Draw = [&](TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked) {
    auto T = std::make_unique<TPaintTarget>(Size.cx, Size.cy, static_cast<TColor>(Back));
    List->Draw(T->Canvas(), 0, 0, clDefault, AKind, AState, AChecked, false, false);
    return T;
  };
  struct TCase {
    TcxLookAndFeelKind Kind;
    TcxButtonState State;
    bool Checked;
    COLORREF Outer1, Outer2, Inner1, Inner2, Body, Check;
  };
  const TCase Cases[] = {
      {lfStandard, cxbsNormal, true, kBtnShadow, kBtnHighlight, k3DDkShadow, k3DLight, kWindow,
       kWindowText},
      {lfFlat, cxbsDisabled, true, kBtnShadow, kBtnHighlight, k3DLight, k3DLight, kBtnFace,
       kBtnShadow},
      {lfStandard, cxbsPressed, false, kBtnShadow, kBtnHighlight, k3DDkShadow, k3DLight, kBtnFace,
       kBtnFace},
      {lfUltraFlat, cxbsNormal, true, kBtnShadow, kBtnShadow, kWindow, kWindow, kWindow,
       kWindowText},
      {lfUltraFlat, cxbsDisabled, false, kBtnShadow, kBtnShadow, kBtnFace, kBtnFace, kBtnFace,
       kBtnFace},
  };
  for (const TCase& C : Cases) {
    auto T = Draw(C.Kind, C.State, C.Checked);
    const COLORREF Expected[7] = {Back, C.Outer1, C.Outer2, C.Inner1, C.Inner2, C.Body, C.Check};
    for (int Role = 0; Role < 7; ++Role) {
      TPoint Pt = RoleAt(Role);
      EXPECT_EQ(T->Pixel(Pt.x, Pt.y), Expected[Role])
          << C.Kind << " " << C.State << " " << C.Checked << " role " << Role;
    }
  }
  // An UltraFlat hot button has a highlighted ring.
  EXPECT_EQ(Draw(lfUltraFlat, cxbsHot, false)->Pixel(RoleAt(1).x, RoleAt(1).y), kHighlight);

  // New system colours: the same size and index map, the new colours.
  std::map<int, COLORREF> Changed = ClassicColors();
  Changed[COLOR_WINDOW] = RGB(200, 230, 200);
  Changed[COLOR_WINDOWTEXT] = RGB(120, 0, 0);
  Colors.reset();
  Colors.emplace(Changed);
  TcxRadioButtonImageListManager::Reset();
  EXPECT_EQ(List->GetSize(), Size);
  EXPECT_EQ(List->Count(), 128);
  for (int I = 0; I < 128; ++I)
    EXPECT_EQ(List->GetImageIndex(static_cast<TcxLookAndFeelKind>(I / 8 % 4),
                                  static_cast<TcxButtonState>(I % 4 + 1), I / 4 % 2 == 1,
                                  I / 64 == 1, I / 32 % 2 == 1),
              Indexes[I]);
  auto T = Draw(lfStandard, cxbsNormal, true);
  EXPECT_EQ(T->Pixel(RoleAt(5).x, RoleAt(5).y), RGB(200, 230, 200));
  EXPECT_EQ(T->Pixel(RoleAt(6).x, RoleAt(6).y), RGB(120, 0, 0));
}

TEST_F(RadioPixels, TheSystemColourListenerRecoloursTheImages) {
  TcxRadioButtonImageList* List = TcxRadioButtonImageListManager::Get(dxSystemScaleFactor());
  TcxRadioButtonImageListManager::Reset();
  std::map<int, COLORREF> Changed = ClassicColors();
  Changed[COLOR_WINDOW] = RGB(10, 200, 60);
  Colors.reset();
  Colors.emplace(Changed);
  HWND Listener = cxSystemPaletteChangedListenerHandle();
  ASSERT_NE(Listener, nullptr);
  SendMessageW(Listener, WM_SYSCOLORCHANGE, 0, 0);
  TSize Size = List->GetSize();
  TPaintTarget T(Size.cx, Size.cy);
  StandardPainter()->DrawScaledRadioButton(T.Canvas(), 0, 0, cxbsNormal, false, false, clDefault,
                                           dxSystemScaleFactor());
  EXPECT_EQ(T.Pixel(Size.cx / 2, Size.cy / 2), RGB(10, 200, 60));
}

TEST_F(RadioPixels, OverABrushTheImageIsAnOpaqueSquare) {
  TcxRadioButtonImageList* List = TcxRadioButtonImageListManager::Get(dxSystemScaleFactor());
  TSize Size = List->GetSize();
  TPaintTarget Clear(Size.cx + 2, Size.cy + 2, static_cast<TColor>(RGB(1, 2, 3)));
  TPaintTarget Square(Size.cx + 2, Size.cy + 2, static_cast<TColor>(RGB(1, 2, 3)));
  StandardPainter()->DrawScaledRadioButton(Clear.Canvas(), 1, 1, cxbsNormal, true, false, clDefault,
                                           dxSystemScaleFactor());
  StandardPainter()->DrawScaledRadioButton(Square.Canvas(), 1, 1, cxbsNormal, true, false,
                                           clBtnFace, dxSystemScaleFactor());
  EXPECT_EQ(Clear.Pixel(1, 1), RGB(1, 2, 3));
  EXPECT_EQ(Square.Pixel(1, 1), kBtnFace);
  EXPECT_EQ(Square.Pixel(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(Square.Pixel(Size.cx + 1, Size.cy + 1), RGB(1, 2, 3));
  EXPECT_EQ(Clear.Pixel(1 + Size.cx / 2, 1 + Size.cy / 2),
            Square.Pixel(1 + Size.cx / 2, 1 + Size.cy / 2));
  // A default button is drawn as a normal one.
  TPaintTarget Default(Size.cx, Size.cy), Normal(Size.cx, Size.cy);
  UltraFlatPainter()->DrawScaledRadioButton(Default.Canvas(), 0, 0, cxbsDefault, true, false,
                                            clDefault, dxSystemScaleFactor());
  UltraFlatPainter()->DrawScaledRadioButton(Normal.Canvas(), 0, 0, cxbsNormal, true, false,
                                            clDefault, dxSystemScaleFactor());
  EXPECT_EQ(Difference(Default.Bitmap(), Normal.Bitmap()), "");
}

TEST(RadioBodies, EachLookHasItsBodyColours) {
  EXPECT_EQ(StandardPainter()->RadioButtonBodyColor(cxbsPressed), clBtnFace);
  EXPECT_EQ(StandardPainter()->RadioButtonBodyColor(cxbsHot), clWindow);
  EXPECT_EQ(UltraFlatPainter()->RadioButtonBodyColor(cxbsHot), GetLightSelColor());
  EXPECT_EQ(UltraFlatPainter()->RadioButtonBodyColor(cxbsPressed), GetLightDownedSelColor());
  EXPECT_EQ(UltraFlatPainter()->RadioButtonBodyColor(cxbsDefault), clBtnFace);
  EXPECT_EQ(PainterOf(lfsOffice11)->RadioButtonBodyColor(cxbsNormal), clWindow);
  EXPECT_EQ(PainterOf(lfsOffice11)->RadioButtonBodyColor(cxbsHot),
            PainterOf(lfsOffice11)->ButtonColor(cxbsHot));
}

TEST(NativeRadio, ThemedByTheRadioTableAndSizedByTheImagesWithoutATheme) {
  TcxWinXPLookAndFeelPainter* N = NativePainter();
  {
    TFakeThemeScope Themes(true);
    Themes.Theme().PartSize = SIZE{15, 15};
    EXPECT_EQ(N->ScaledRadioButtonSize(dxSystemScaleFactor()), (TSize{15, 15}));
    const int States[2][5] = {{1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}};
    for (bool Checked : {false, true})
      for (TcxButtonState St : {cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled}) {
        Themes.Theme().Draws.clear();
        TPaintTarget T(20, 20);
        N->DrawScaledRadioButton(T.Canvas(), 2, 3, St, Checked, false, clDefault,
                                 dxSystemScaleFactor());
        ASSERT_EQ(Themes.Theme().Draws.size(), 1u);
        EXPECT_EQ(Themes.Theme().Draws[0].Part, 2);
        EXPECT_EQ(Themes.Theme().Draws[0].State, States[Checked][St]);
        EXPECT_EQ(Themes.Theme().Draws[0].Rect, cxRect(2, 3, 17, 18));
      }
  }
  TFakeThemeScope NoTheme(false);
  auto Half = Factor(3, 2);
  EXPECT_EQ(N->ScaledRadioButtonSize(Half.get()),
            TcxRadioButtonImageListManager::Get(Half.get())->GetSize());
  // Without a theme the look draws no radio button.
  TPaintTarget T(20, 20);
  N->DrawScaledRadioButton(T.Canvas(), 0, 0, cxbsNormal, true, false, clDefault,
                           dxSystemScaleFactor());
  EXPECT_EQ(T.Shape(RGB(255, 255, 255)).find('.'), std::string::npos);
}

// ---------------------------------------------------------------------------
// Group boxes
class GroupBoxPixels : public RadioPixels {};

TEST_F(GroupBoxPixels, TheStandardFrameIsAnEtchedLineOutOfTheClip) {
  TPaintTarget T(6, 5, static_cast<TColor>(RGB(1, 2, 3)));
  T.Canvas()->SaveClipRegion();
  StandardPainter()->DrawGroupBoxFrame(T.Canvas(), cxRect(0, 0, 6, 5), true, cxgpTop,
                                       cxBordersAll());
  EXPECT_EQ(T.Shape(kBtnShadow), "#####.\n#...#.\n#...#.\n#####.\n......\n");
  // The highlight frame leaves the shadow's lines alone.
  EXPECT_EQ(T.Shape(kBtnHighlight), "......\n.###.#\n.#...#\n.....#\n.#####\n");
  // The lines are out of the clip: a fill reaches only the inside and the
  // two corners no line covers.
  T.Canvas()->FillRect(cxRect(0, 0, 6, 5), clBlack);
  EXPECT_EQ(T.Shape(RGB(0, 0, 0)), ".....#\n......\n..##..\n......\n#.....\n");
  T.Canvas()->RestoreClipRegion();
  // No borders: nothing drawn and nothing excluded.
  TPaintTarget None(6, 5, static_cast<TColor>(RGB(1, 2, 3)));
  StandardPainter()->DrawGroupBoxFrame(None.Canvas(), cxRect(0, 0, 6, 5), true, cxgpTop,
                                       TcxBorders());
  None.Canvas()->FillRect(cxRect(0, 0, 6, 5), clBlack);
  EXPECT_EQ(None.Shape(RGB(0, 0, 0)).find('.'), std::string::npos);
  EXPECT_EQ(StandardPainter()->GroupBoxTextColor(false, cxgpTop), clBtnShadow);
  EXPECT_EQ(UltraFlatPainter()->PanelTextColor(), clWindowText);
}

TEST_F(GroupBoxPixels, FlatAndUltraFlatFrames) {
  TPaintTarget Flat(5, 5, static_cast<TColor>(RGB(1, 2, 3)));
  PainterOf(lfsFlat)->DrawGroupBoxFrame(Flat.Canvas(), cxRect(0, 0, 5, 5), true, cxgpTop,
                                        TcxBorders{bLeft, bTop});
  EXPECT_EQ(Flat.Shape(kBtnShadow), "#####\n#....\n#....\n#....\n#....\n");
  EXPECT_EQ(Flat.Shape(kBtnHighlight), ".....\n.###.\n.#...\n.#...\n.....\n");
  for (bool Enabled : {true, false}) {
    TPaintTarget Ultra(4, 4, static_cast<TColor>(RGB(1, 2, 3)));
    UltraFlatPainter()->DrawGroupBoxFrame(Ultra.Canvas(), cxRect(0, 0, 4, 4), Enabled, cxgpTop,
                                          cxBordersAll());
    EXPECT_EQ(Ultra.Shape(Enabled ? kHighlight : kBtnShadow), "####\n#..#\n#..#\n####\n");
  }
}

}  // namespace
