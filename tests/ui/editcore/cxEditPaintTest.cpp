// Painting of editors from their view infos: buttons in all their layers,
// backgrounds and borders, the validation mark, fading, and the order and
// guards of the paint.
#include <gtest/gtest.h>

#include <stdexcept>

#include "EditPaintTestSupport.h"
#include "cxEdit.h"
#include "cxEditUtils.h"
#include "cxLookAndFeels.h"
#include "dxCore.h"
#include "dxFading.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

namespace {

constexpr TColor kInk = static_cast<TColor>(RGB(200, 30, 40));
constexpr TColor kBack = static_cast<TColor>(RGB(250, 240, 10));

const TLegend Classic{{'F', clBtnFace}, {'S', clBtnShadow},  {'H', clBtnHighlight},
                      {'L', cl3DLight}, {'D', cl3DDkShadow}, {'T', clBtnText},
                      {'W', clWindow},  {'h', clHighlight},  {'#', kInk},
                      {'b', kBack}};

// A view info that lets the tests set what the view data would calculate
// and see what the layers were given.
class TTestViewInfo : public TcxCustomEditViewInfo {
 public:
  void SetErrorBounds(const TRect& R) { FErrorBounds = R; }
  void SetEditorBounds(const TRect& R) { FEditorBounds = R; }
  void DrawButtonContent(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                         const TRect& AContentRect, TColor APenColor, TColor ABrushColor,
                         bool ANeedOffsetContent) override {
    ContentRects.push_back(AContentRect);
    TcxCustomEditViewInfo::DrawButtonContent(ACanvas, AViewInfo, AContentRect, APenColor,
                                             ABrushColor, ANeedOffsetContent);
  }
  std::vector<TRect> ContentRects;
};

struct TButtonSpec {
  TRect Bounds;
  TcxEditButtonKind Kind = bkEllipsis;
  TcxEditButtonStyle Style = bts3D;
  TcxEditButtonState State = ebsNormal;
  bool LeftAlignment = false, Leftmost = false, Rightmost = false;
};

// A standalone editor with a single border over ABounds, window-coloured,
// with the buttons given; what the view data fills, set by hand.
TOwned<TTestViewInfo> Editor(const TRect& ABounds, const TRect& ABorderRect,
                             const std::vector<TButtonSpec>& AButtons) {
  TOwned<TTestViewInfo> V = MakeOwned<TTestViewInfo>();
  V->Bounds = ABounds;
  V->BorderRect = ABorderRect;
  V->ClientRect = ABorderRect;
  V->SetEditorBounds(ABounds);
  V->BorderStyle = ebsSingle;
  V->TcxContainerViewInfo::BorderStyle = cbsSingle;
  V->BorderColor = kInk;
  V->Edges = TcxBorders{bLeft, bTop, bRight, bBottom};
  V->SetBackgroundColor(clWindow);
  V->TextColor = clBtnText;
  V->Painter = cxLookAndFeelPaintersManager()->GetPainter(lfsStandard);
  V->SetButtonCount(static_cast<Integer>(AButtons.size()));
  for (size_t I = 0; I < AButtons.size(); ++I) {
    TcxEditButtonViewInfo* B = V->ButtonsInfo[I];
    const TButtonSpec& S = AButtons[I];
    B->ButtonVisibleIndex = static_cast<Integer>(I);
    B->Bounds = B->VisibleBounds = S.Bounds;
    B->Data.Kind = S.Kind;
    B->Data.Style = S.Style;
    B->Data.State = S.State;
    B->Data.LeftAlignment = S.LeftAlignment;
    B->Data.Leftmost = S.Leftmost;
    B->Data.Rightmost = S.Rightmost;
  }
  return V;
}

// ---------------------------------------------------------------------------
// A button in all its layers

struct TButtonCase {
  const char* Name;
  TButtonSpec Button;
  std::vector<std::string> Expected;
};

void CheckButtons(const std::vector<TButtonCase>& ACases) {
  for (const TButtonCase& C : ACases) {
    int W = static_cast<int>(C.Expected[0].size()), H = static_cast<int>(C.Expected.size());
    TButtonSpec Spec = C.Button;
    Spec.Bounds = cxRect(0, 0, W, H);
    auto V = Editor(cxRect(0, 0, W, H), cxRect(0, 0, W, H), {Spec});
    auto B = Painted(W, H, [&](TcxCanvas* Canvas) { V->DrawButton(Canvas, 0); });
    EXPECT_TRUE(LooksLike(B.get(), Classic, C.Expected)) << C.Name;
  }
}

TEST(EditButtonPaint, ClassicButtonsBorderBackgroundAndDots) {
  CheckButtons({
      {"3D",
       {{}, bkEllipsis, bts3D, ebsNormal},
       {"LLLLLLLLLLLLD",  //
        "LHHHHHHHHHHSD",  //
        "LHFFFFFFFFFSD",  //
        "LHFTFFTFFTFSD",  //
        "LHFFFFFFFFFSD",  //
        "LSSSSSSSSSSSD",  //
        "DDDDDDDDDDDDD"}},
      // Pressed: sunken, and the dots one pixel right and down.
      {"flat pressed",
       {{}, bkEllipsis, btsFlat, ebsPressed},
       {"FSSSSSSSSSSSH",  //
        "FSFFFFFFFFFFH",  //
        "FSFFFFFFFFFFH",  //
        "FSFFFFFFFFFFH",  //
        "FSFFTFFTFFTFH",  //
        "FSFFFFFFFFFFH",  //
        "FHHHHHHHHHHHH"}},
      {"simple",
       {{}, bkEllipsis, btsSimple, ebsNormal},
       {"WWWWWWWWWWWWW",  //
        "WFFFFFFFFFFFW",  //
        "WFFFFFFFFFFFW",  //
        "WFFTFFTFFTFFW",  //
        "WFFFFFFFFFFFW",  //
        "WFFFFFFFFFFFW",  //
        "WWWWWWWWWWWWW"}},
      // A pressed simple button sinks like a flat one.
      {"simple pressed is drawn flat",
       {{}, bkEllipsis, btsSimple, ebsPressed},
       {"FSSSSSSSSSSSH",  //
        "FSFFFFFFFFFFH",  //
        "FSFFFFFFFFFFH",  //
        "FSFFFFFFFFFFH",  //
        "FSFFTFFTFFTFH",  //
        "FSFFFFFFFFFFH",  //
        "FHHHHHHHHHHHH"}},
      // Disabled dots: highlight one pixel right and down, shadow on top.
      {"3D disabled",
       {{}, bkEllipsis, bts3D, ebsDisabled},
       {"LLLLLLLLLLLLD",  //
        "LHHHHHHHHHHSD",  //
        "LHFFFFFFFFFSD",  //
        "LHFSFFSFFSFSD",  //
        "LHFFHFFHFFHSD",  //
        "LSSSSSSSSSSSD",  //
        "DDDDDDDDDDDDD"}},
  });
}

TEST(EditButtonPaint, HotFlatClosesTheFrameOnlyNextToTheText) {
  // Two right-aligned buttons: the left one is next to the text.
  auto V = Editor(cxRect(0, 0, 22, 6), cxRect(0, 0, 22, 6),
                  {{cxRect(11, 0, 22, 6), bkEllipsis, btsHotFlat, ebsNormal, false, false, true},
                   {cxRect(0, 0, 11, 6), bkEllipsis, btsHotFlat, ebsNormal, false, true, false}});
  auto B = Painted(22, 6, [&](TcxCanvas* Canvas) { V->DrawButtons(Canvas); });
  EXPECT_TRUE(LooksLike(B.get(), Classic,
                        {"SSSSSSSSSSSSSSSSSSSSSS",  //
                         "SFFFFFFFFFSFFFFFFFFFFS",  //
                         "SFTFFTFFTFSFFTFFTFFTFS",  //
                         "SFFFFFFFFFSFFFFFFFFFFS",  //
                         "SFFFFFFFFFSFFFFFFFFFFS",  //
                         "SSSSSSSSSSSSSSSSSSSSSS"}));
}

TEST(EditButtonPaint, UltraFlatHasItsOwnFrameOnlyWhereTheEditorGivesNoBorder) {
  const TColor Pressed = GetEditButtonHighlightColor(true, false);
  TLegend Legend = Classic;
  Legend['p'] = Pressed;
  struct TCase {
    const char* Name;
    TcxEditBorderStyle Border;
    std::vector<std::string> Expected;
  } Cases[] = {
      {"without a border: its own frame",
       ebsNone,
       {"hhhhhhhhhhhh",  //
        "hpppppppppph",  //
        "hpppppppppph",  //
        "hppTppTppTph",  //
        "hhhhhhhhhhhh"}},
      // Inside a bordered editor the editor's border is top and bottom; the
      // button at the right end draws only the line towards the text.
      {"inside the border: one line towards the text",
       ebsUltraFlat,
       {"hppppppppppp",  //
        "hppppppppppp",  //
        "hppppppppppp",  //
        "hpppTppTppTp",  //
        "hppppppppppp"}},
  };
  for (const TCase& C : Cases) {
    auto V =
        Editor(cxRect(-20, 0, 12, 5), cxRect(-20, 0, 12, 5),
               {{cxRect(0, 0, 12, 5), bkEllipsis, btsUltraFlat, ebsPressed, false, false, true}});
    V->BorderStyle = C.Border;
    auto B = Painted(12, 5, [&](TcxCanvas* Canvas) { V->DrawButton(Canvas, 0); });
    EXPECT_TRUE(LooksLike(B.get(), Legend, C.Expected)) << C.Name;
  }
}

TEST(EditButtonPaint, Office11GradientRunsOverTheBorderHeight) {
  struct TCase {
    const char* Name;
    TcxEditButtonState State;
    TColor From, To;
    Integer Inset;
  } Cases[] = {
      {"normal", ebsNormal, dxOffice11ToolbarsColor1, dxOffice11ToolbarsColor2, 1},
      {"pressed", ebsPressed, dxOffice11SelectedDownColor1, dxOffice11SelectedDownColor2, 0},
      {"hot", ebsSelected, dxOffice11SelectedColor1, dxOffice11SelectedColor2, 0},
  };
  for (const TCase& C : Cases) {
    // Border 20 high, the button 12 high in its middle, with its own frame.
    auto V = Editor(cxRect(0, 0, 14, 20), cxRect(0, 0, 14, 20),
                    {{cxRect(0, 4, 14, 16), bkGlyph, btsOffice11, C.State}});
    V->BorderStyle = ebsNone;
    V->ButtonsInfo[0]->Data.Gradient = true;
    auto Ours = Painted(14, 20, [&](TcxCanvas* Canvas) { V->DrawButton(Canvas, 0); });
    // The column of the gradient, inside the button's one-pixel frame.
    auto Column = Painted(14, 20, [&](TcxCanvas* Canvas) {
      FillGradientRect(Canvas->Handle(), cxRect(0, C.Inset, 14, 20 - C.Inset), C.From, C.To, false);
    });
    for (int Y = 5; Y < 15; ++Y)
      for (int X = 1; X < 13; ++X)
        ASSERT_EQ(PixelOf(Ours.get(), X, Y), PixelOf(Column.get(), X, Y))
            << C.Name << " at " << X << ", " << Y;
    // Nothing outside the button.
    EXPECT_EQ(PixelOf(Ours.get(), 5, 2), kPaper) << C.Name;
  }
  // Without Gradient: one fill.
  auto V = Editor(cxRect(0, 0, 14, 20), cxRect(0, 0, 14, 20),
                  {{cxRect(0, 4, 14, 16), bkGlyph, btsOffice11, ebsNormal}});
  auto Plain = Painted(14, 20, [&](TcxCanvas* Canvas) { V->DrawButton(Canvas, 0); });
  EXPECT_EQ(PixelOf(Plain.get(), 6, 5), dxColorToRGB(dxOffice11DockColor1));
  EXPECT_EQ(PixelOf(Plain.get(), 6, 14), dxColorToRGB(dxOffice11DockColor1));
}

// A button sticking out of the border rectangle paints only its visible
// part.
TEST(EditButtonPaint, ClippedToItsVisibleBounds) {
  auto V = Editor(cxRect(0, 0, 20, 6), cxRect(0, 0, 16, 6),
                  {{cxRect(8, 0, 20, 6), bkEllipsis, bts3D, ebsNormal}});
  V->ButtonsInfo[0]->VisibleBounds = cxRect(8, 0, 16, 6);
  auto B = Painted(20, 6, [&](TcxCanvas* Canvas) { V->DrawButton(Canvas, 0); });
  for (int Y = 0; Y < 6; ++Y) {
    EXPECT_EQ(PixelOf(B.get(), 7, Y), kPaper);
    EXPECT_NE(PixelOf(B.get(), 8, Y), kPaper);
    for (int X = 16; X < 20; ++X) EXPECT_EQ(PixelOf(B.get(), X, Y), kPaper) << X << ", " << Y;
  }
  // An empty visible part paints nothing at all.
  V->ButtonsInfo[0]->VisibleBounds = cxNullRect;
  auto None = Painted(20, 6, [&](TcxCanvas* Canvas) { V->DrawButton(Canvas, 0); });
  EXPECT_EQ(InkBounds(None.get(), kPaper), cxNullRect);
}

// ---------------------------------------------------------------------------
// Glyphs and captions

TOwned<TdxSmartGlyph> SquareGlyph(int ASize, TColor AColor) {
  TOwned<TcxBitmap32> Bitmap(TcxBitmap32::CreateSize(ASize, ASize));
  Bitmap->cxCanvas()->FillRect(Bitmap->ClientRect(), clFuchsia);
  Bitmap->cxCanvas()->FillRect(cxRect(1, 1, ASize - 1, ASize - 1), AColor);
  TOwned<TdxSmartGlyph> G = MakeOwned<TdxSmartGlyph>();
  G->Assign(Bitmap.get());
  return G;
}

TEST(EditButtonPaint, GlyphCentredAndDisabledDrawnDisabled) {
  auto Glyph = SquareGlyph(6, kInk);
  for (TcxEditButtonState State : {ebsNormal, ebsPressed, ebsDisabled}) {
    auto V = Editor(cxRect(0, 0, 16, 12), cxRect(0, 0, 16, 12),
                    {{cxRect(0, 0, 16, 12), bkGlyph, btsFlat, State}});
    V->ButtonsInfo[0]->Glyph = Glyph.get();
    auto Ours = Painted(16, 12, [&](TcxCanvas* Canvas) { V->DrawButton(Canvas, 0); });
    // Flat: content (2, 1, 14, 11); a 6 x 6 glyph centred at (5, 3), one
    // further right and down when pressed.
    Integer D = State == ebsPressed ? 1 : 0;
    auto Expected = Painted(16, 12, [&](TcxCanvas* Canvas) {
      TRect R = cxRect(0, 0, 16, 12), Content;
      TColor Pen = clBtnText, Brush = clBlack;
      TcxEditButtonBorderData Data;
      Data.Style = btsFlat;
      Data.State = State;
      Data.BackgroundColor = clWindow;
      cxDrawEditButtonBorder(Canvas, Data, R, Content, Pen, Brush);
      cxEditFillRect(Canvas, R, Brush);
      cxDrawImage(Canvas, cxRect(5 + D, 3 + D, 11 + D, 9 + D), Glyph.get(), nullptr, -1, ifmNormal,
                  State == ebsDisabled ? idmDisabled : idmNormal);
    });
    EXPECT_EQ(Difference(Ours.get(), Expected.get()), "") << State;
  }
}

TEST(EditButtonPaint, CaptionByStateAndStyle) {
  TOwned<TFont> Font = MakeOwned<TFont>();
  Font->SetName(L"Tahoma");
  Font->SetHeight(-11);
  struct TCase {
    const char* Name;
    TcxEditButtonStyle Style;
    TcxEditButtonState State;
    TColor TextColor;
  } Cases[] = {
      {"normal: the button's colour", bts3D, ebsNormal, kInk},
      {"normal without a colour: the editor's", bts3D, ebsNormal, clDefault},
      {"pressed: one right and down", bts3D, ebsPressed, kInk},
      {"hot flat pressed: the border's content colour", btsHotFlat, ebsPressed, kInk},
      {"disabled: embossed", bts3D, ebsDisabled, kInk},
  };
  for (const TCase& C : Cases) {
    auto V = Editor(cxRect(0, 0, 40, 16), cxRect(0, 0, 40, 16),
                    {{cxRect(0, 0, 40, 16), bkText, C.Style, C.State, false, true, false}});
    V->Font = Font.get();
    V->TextColor = kBack;
    V->ButtonsInfo[0]->Data.Caption = L"&Go";
    V->ButtonsInfo[0]->Data.TextColor = C.TextColor;
    auto Ours = Painted(40, 16, [&](TcxCanvas* Canvas) { V->DrawButton(Canvas, 0); });
    // The border and background of the same button, then the caption the
    // way the platform draws it.
    auto Expected = Painted(40, 16, [&](TcxCanvas* Canvas) {
      TRect R = cxRect(0, 0, 40, 16), Content;
      TColor Pen = clBtnText, Brush = clBlack;
      TcxEditButtonBorderData Data;
      Data.Style = C.Style;
      Data.State = C.State;
      Data.BackgroundColor = clWindow;
      Data.Leftmost = true;
      cxDrawEditButtonBorder(Canvas, Data, R, Content, Pen, Brush);
      cxEditFillRect(Canvas, R, Brush);
      TRect Text = Content;
      Text.left += 1;
      Text.right -= 2;
      Text.top += 1;
      Text.bottom -= 1;
      HDC DC = Canvas->Handle();
      // The caption stays inside the content rectangle.
      IntersectClipRect(DC, Content.left, Content.top, Content.right, Content.bottom);
      HGDIOBJ Old = SelectObject(DC, Font->Handle());
      SetBkMode(DC, TRANSPARENT);
      auto Out = [&](const TRect& ARect, TColor AColor) {
        SetTextColor(DC, dxColorToRGB(AColor));
        RECT T = ARect;
        DrawTextW(DC, L"&Go", -1, &T, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
      };
      if (C.State == ebsDisabled) {
        Out(cxRectOffset(Text, 1, 1), clBtnHighlight);
        Out(Text, clBtnShadow);
      } else {
        TColor Color = C.Style == btsHotFlat ? Pen : (C.TextColor == clDefault ? kBack : kInk);
        Out(C.State == ebsPressed ? cxRectOffset(Text, 1, 1) : Text, Color);
      }
      SelectObject(DC, Old);
    });
    EXPECT_EQ(Difference(Ours.get(), Expected.get()), "") << C.Name;
  }
}

// ---------------------------------------------------------------------------
// Native buttons and what hosts draw themselves

TEST(EditButtonPaint, NativeBorderAsksAboutTheButtonBeingDrawn) {
  if (!OpenTheme(totButton)) GTEST_SKIP() << "no button theme";
  // The host paints the background of the second button only.
  struct THost {
    void DrawBackground(TcxEditButtonViewInfo* Sender, TcxCanvas* ACanvas, const TRect&,
                        bool& AHandled) {
      AHandled = Sender->ButtonVisibleIndex == 1;
    }
  } Host;
  auto V = Editor(cxRect(0, 0, 60, 22), cxRect(0, 0, 60, 22),
                  {{cxRect(0, 0, 30, 22), bkEllipsis}, {cxRect(30, 0, 60, 22), bkEllipsis}});
  for (TcxEditButtonViewInfo* B : V->ButtonsInfo) {
    B->Data.NativeStyle = true;
    B->Data.NativeState = 1;
  }
  V->SetOnDrawButtonBackground(MakeEvent<&THost::DrawBackground>(&Host));
  auto B = Painted(60, 22, [&](TcxCanvas* Canvas) { V->DrawButtons(Canvas); });
  ASSERT_EQ(V->ContentRects.size(), 2u);
  RECT Bounds = cxRect(0, 0, 30, 22), Theme{};
  dxUxTheme::GetThemeBackgroundContentRect(OpenTheme(totButton), nullptr, 1, 1, &Bounds, &Theme);
  EXPECT_EQ(V->ContentRects[0], TRect(Theme)) << "drawn by the theme: its content rectangle";
  EXPECT_EQ(V->ContentRects[1], cxRect(30, 0, 60, 22)) << "drawn by the host: all of it";
}

// ---------------------------------------------------------------------------
// Backgrounds

TEST(EditPaint, BackgroundStyleByPlacementTransparencyAndNativeLook) {
  struct THost {
    void Draw(TcxCustomEditViewInfo*, TcxCanvas*, bool& AHandled) { AHandled = true; }
  } Host;
  struct TCase {
    bool Inplace, Custom, Transparent, Native;
    TcxDrawBackgroundStyle Expected;
  } Cases[] = {
      {true, true, false, false, dbsCustom},       {true, false, true, false, dbsNone},
      {true, false, false, true, dbsSimpleFill},   {false, true, true, false, dbsSimpleParent},
      {false, false, false, false, dbsCustomEdit}, {false, false, false, true, dbsSimpleFill},
  };
  for (const TCase& C : Cases) {
    auto V = Editor(cxRect(0, 0, 10, 10), cxRect(1, 1, 9, 9), {});
    V->IsInplace = C.Inplace;
    V->Transparent = C.Transparent;
    V->NativeStyle = C.Native;
    if (C.Custom) V->SetOnDrawBackground(MakeEvent<&THost::Draw>(&Host));
    EXPECT_EQ(V->GetDrawBackgroundStyle(), C.Expected)
        << C.Inplace << C.Custom << C.Transparent << C.Native;
    EXPECT_EQ(V->IsBackgroundTransparent(),
              C.Expected != dbsCustomEdit && C.Expected != dbsSimpleFill);
  }
}

TEST(EditPaint, BackgroundAndBorderLeaveTheButtonsOut) {
  auto V = Editor(cxRect(0, 0, 9, 5), cxRect(1, 1, 8, 4),
                  {{cxRect(5, 1, 8, 4), bkEllipsis, bts3D, ebsNormal}});
  V->SetBackgroundColor(kBack);
  auto B = Painted(9, 5, [&](TcxCanvas* C) { DrawCustomEditBackground(C, V.get(), true); });
  EXPECT_TRUE(LooksLike(B.get(), Classic,
                        {"#########",  //
                         "#bbbb...#",  //
                         "#bbbb...#",  //
                         "#bbbb...#",  //
                         "#########"}));
  // Without background: the border only.
  auto Border = Painted(9, 5, [&](TcxCanvas* C) { DrawCustomEditBackground(C, V.get(), false); });
  EXPECT_TRUE(LooksLike(Border.get(), Classic,
                        {"#########",  //
                         "#.......#",  //
                         "#.......#",  //
                         "#.......#",  //
                         "#########"}));
  // Buttons whose background shows the editor's get it filled under them.
  V->ButtonsInfo[0]->Data.BackgroundPartiallyTransparent = true;
  auto Under = Painted(9, 5, [&](TcxCanvas* C) { DrawCustomEditBackground(C, V.get(), false); });
  EXPECT_TRUE(LooksLike(Under.get(), Classic,
                        {"#########",  //
                         "#....bbb#",  //
                         "#....bbb#",  //
                         "#....bbb#",  //
                         "#########"}));
}

// A native bordered editor: the theme's frame around a content rectangle two
// pixels in, which the editor fills; a transparent one leaves it alone.
TEST(EditPaint, NativeBackgroundIsTheThemesFrameAroundTheFill) {
  HTHEME Theme = OpenTheme(totEdit);
  if (!Theme || !IsWinVistaOrLater) GTEST_SKIP() << "no edit theme";
  for (bool Transparent : {false, true}) {
    auto V = Editor(cxRect(0, 0, 30, 12), cxRect(1, 1, 29, 11), {});
    V->NativeStyle = true;
    V->NativeState = 1;
    V->SetBackgroundColor(kBack);
    V->Transparent = Transparent;
    auto Ours = Painted(30, 12, [&](TcxCanvas* C) { DrawCustomEditBackground(C, V.get(), true); });
    auto Expected = Painted(30, 12, [&](TcxCanvas* C) {
      RECT R = cxRect(0, 0, 30, 12);
      ExcludeClipRect(C->Handle(), 2, 2, 28, 10);
      dxUxTheme::DrawThemeBackground(Theme, C->Handle(), 6, 1, &R, nullptr);
      SelectClipRgn(C->Handle(), nullptr);
      if (!Transparent) C->FillRect(cxRect(2, 2, 28, 10), kBack);
    });
    EXPECT_EQ(Difference(Ours.get(), Expected.get()), "") << Transparent;
  }
}

TEST(EditPaint, InPlaceTransparentFillsNothing) {
  auto V = Editor(cxRect(0, 0, 9, 5), cxRect(0, 0, 9, 5), {});
  V->IsInplace = true;
  V->BorderStyle = ebsNone;
  V->TcxContainerViewInfo::BorderStyle = cbsNone;
  V->SetBackgroundColor(kBack);
  V->Transparent = true;
  auto B = Painted(9, 5, [&](TcxCanvas* C) { V->Paint(C); });
  EXPECT_EQ(InkBounds(B.get(), kPaper), cxNullRect);
  V->Transparent = false;
  auto Filled = Painted(9, 5, [&](TcxCanvas* C) { V->Paint(C); });
  EXPECT_EQ(BoundsWhere(Filled.get(), [](COLORREF X) { return X == dxColorToRGB(kBack); }),
            cxRect(0, 0, 9, 5));
}

// ---------------------------------------------------------------------------
// Validation mark

TEST(EditPaint, ValidationMarkCentredAndNoLargerThanItsPlace) {
  auto V = Editor(cxRect(0, 0, 20, 24), cxRect(0, 0, 20, 24), {});
  V->BorderStyle = ebsNone;
  V->TcxContainerViewInfo::BorderStyle = cbsNone;
  V->SetBackgroundColor(kBack);
  auto InkOf = [](TBitmap* B) {
    return BoundsWhere(B, [](COLORREF X) { return X == dxColorToRGB(kInk); });
  };
  // A 6 x 6 icon (ink inside a one-pixel transparent rim) centred in 8 x 10.
  auto Small = SquareGlyph(6, kInk);
  V->ErrorData()->SetErrorType(eetCustom);
  V->ErrorData()->SetErrorIcon(Small.get());
  V->SetErrorBounds(cxRect(2, 2, 10, 12));
  auto B = Painted(20, 24, [&](TcxCanvas* C) { V->Paint(C); });
  EXPECT_EQ(InkOf(B.get()), cxRect(4, 5, 8, 9));
  // A 12 x 12 icon in 8 x 20: 8 wide, its own 12 high, centred: (2, 4, 10, 16).
  auto Large = SquareGlyph(12, kInk);
  V->ErrorData()->SetErrorIcon(Large.get());
  V->SetErrorBounds(cxRect(2, 0, 10, 20));
  auto L = Painted(20, 24, [&](TcxCanvas* C) { V->Paint(C); });
  TRect Ink = InkOf(L.get());
  EXPECT_TRUE(Ink.left >= 2 && Ink.right <= 10 && Ink.top >= 4 && Ink.bottom <= 16 &&
              Ink.top <= 6 && Ink.bottom >= 14)
      << ToString(Ink);
  // Without an error the mark is not drawn.
  V->ErrorData()->Reset();
  auto None = Painted(20, 24, [&](TcxCanvas* C) { V->Paint(C); });
  EXPECT_EQ(InkOf(None.get()), cxNullRect);
}

// ---------------------------------------------------------------------------
// Order and guards

TEST(EditPaint, LayersInOrderAndButtonsOnce) {
  struct TRecorder {
    std::vector<std::string> Calls;
    TcxCustomEditViewInfo* ViewInfo = nullptr;
    void Paint(TcxCustomEditViewInfo*, TcxCanvas*) { Calls.push_back("paint"); }
    void AfterBackground(TcxCanvas*) { Calls.push_back("background"); }
    void AfterValue(TcxCanvas*) { Calls.push_back("value"); }
    void Button(TcxEditButtonViewInfo* Sender, TcxCanvas* ACanvas, bool& AHandled) {
      if (!ACanvas) return;
      Calls.push_back("button " + std::to_string(Sender->ButtonVisibleIndex));
      // Painting the buttons again from inside does nothing.
      ViewInfo->DrawButtons(ACanvas);
      AHandled = true;
    }
  } R;
  auto V = Editor(cxRect(0, 0, 30, 8), cxRect(1, 1, 29, 7),
                  {{cxRect(20, 1, 29, 7)}, {cxRect(11, 1, 20, 7)}});
  R.ViewInfo = V.get();
  V->SetOnPaint(MakeEvent<&TRecorder::Paint>(&R));
  V->OnAfterDrawBackground().Add(MakeEvent<&TRecorder::AfterBackground>(&R));
  V->OnAfterDrawValue().Add(MakeEvent<&TRecorder::AfterValue>(&R));
  V->SetOnDrawButton(MakeEvent<&TRecorder::Button>(&R));
  Painted(30, 8, [&](TcxCanvas* C) { V->Paint(C); });
  EXPECT_EQ(R.Calls,
            (std::vector<std::string>{"paint", "background", "button 0", "button 1", "value"}));
}

TEST(EditPaint, AFailingButtonLeavesTheGuardAndTheOriginAsTheyWere) {
  struct TThrower {
    bool Throw = true;
    Integer Count = 0;
    void Button(TcxEditButtonViewInfo*, TcxCanvas* ACanvas, bool& AHandled) {
      if (!ACanvas) return;
      ++Count;
      AHandled = true;
      if (Throw) throw Exception(L"paint failed");
    }
  } T;
  auto V = Editor(cxRect(0, 0, 10, 8), cxRect(0, 0, 10, 8), {{cxRect(0, 0, 10, 8)}});
  V->Left = 5;
  V->Top = 3;
  V->SetOnDrawButton(MakeEvent<&TThrower::Button>(&T));
  Painted(20, 12, [&](TcxCanvas* C) {
    EXPECT_THROW(V->PaintEx(C), Exception);
    EXPECT_EQ(C->WindowOrg(), TPoint{});
    T.Throw = false;
    V->DrawButtons(C);
  });
  EXPECT_EQ(T.Count, 2) << "the buttons paint again after a failure";
}

TEST(EditPaint, PaintExPaintsAtTheOrigin) {
  auto V = Editor(cxRect(0, 0, 6, 4), cxRect(1, 1, 5, 3), {});
  V->SetBackgroundColor(kBack);
  V->Left = 3;
  V->Top = 2;
  auto B = Painted(10, 7, [&](TcxCanvas* C) { V->PaintEx(C); });
  EXPECT_EQ(InkBounds(B.get(), kPaper), cxRect(3, 2, 9, 6));
}

// ---------------------------------------------------------------------------
// Fading

// An owner that shows editors: a plain window with the editor-owner face.
class TFadingOwner : public TWinControl, public IcxEditOwner {
 public:
  explicit TFadingOwner(TComponent* AOwner) : TWinControl(AOwner) {}
  TcxCustomEditViewData* GetViewData(bool& AIsViewDataCreated) override {
    AIsViewDataCreated = false;
    return nullptr;
  }
  void InvalidateRect(const TRect& R, bool AEraseBackground) override {
    Invalidated.push_back(R);
    Erase = AEraseBackground;
  }
  std::vector<TRect> Invalidated;
  bool Erase = false;
};

class EditButtonFading : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved = dxFader()->State();
    dxFader()->Clear();
    dxFader()->SetState(fasEnabled);
    if (!dxFader()->IsReady()) GTEST_SKIP() << "the fader needs GDI+ and more than 16 bits";
  }
  void TearDown() override {
    dxFader()->Clear();
    dxFader()->SetState(Saved);
  }
  TdxFaderAnimationState Saved = fasDefault;
};

TEST_F(EditButtonFading, AFadingButtonGetsOnlyItsContentOverTheFadeImage) {
  TOwned<TFadingOwner> Owner(Create<TFadingOwner>(nullptr));
  auto V = Editor(cxRect(0, 0, 13, 7), cxRect(0, 0, 13, 7),
                  {{cxRect(0, 0, 13, 7), bkEllipsis, bts3D, ebsNormal}});
  V->Owner = Owner.get();
  V->NativeStyle = true;  // fading is for native and skinned editors
  // Both pictures of the fade: one flat colour each.
  struct TImages {
    void Prepare(TcxEditButtonViewInfo* Sender, TcxEditButtonState AState, TcxBitmap32*& AImage,
                 bool& AHandled) {
      AImage = TcxBitmap32::CreateSize(Sender->Bounds, true);
      AImage->cxCanvas()->FillRect(AImage->ClientRect(), kBack);
      AHandled = true;
    }
  } Images;
  V->SetOnPrepareButtonFadingImage(MakeEvent<&TImages::Prepare>(&Images));
  TcxEditButtonViewInfo* Button = V->ButtonsInfo[0];
  Button->FadingHelper->UpdateState();  // normal: nothing to fade
  EXPECT_FALSE(Button->FadingHelper->GetActive());
  Button->Data.State = ebsSelected;
  Button->FadingHelper->UpdateState();
  ASSERT_TRUE(Button->FadingHelper->GetActive()) << "normal to hot fades in";
  auto B = Painted(13, 7, [&](TcxCanvas* Canvas) { V->DrawButton(Canvas, 0); });
  EXPECT_TRUE(LooksLike(B.get(), Classic,
                        {"bbbbbbbbbbbbb",  //
                         "bbbbbbbbbbbbb",  //
                         "bbbbbbbbbbbbb",  //
                         "bbbTbbTbbTbbb",  //
                         "bbbbbbbbbbbbb",  //
                         "bbbbbbbbbbbbb",  //
                         "bbbbbbbbbbbbb"}));
  // A frame of the fade asks the owner to repaint the button.
  Owner->Invalidated.clear();
  Button->FadingHelper->DrawFadeImage();
  EXPECT_EQ(Owner->Invalidated, (std::vector<TRect>{cxRect(0, 0, 13, 7)}));
}

TEST_F(EditButtonFading, StartsOnlyWhereTheEditorAllowsIt) {
  TOwned<TFadingOwner> Owner(Create<TFadingOwner>(nullptr));
  struct TRefuse {
    void CanStart(TcxCustomEditViewInfo*, bool& ACanStart) { ACanStart = false; }
  } Refuse;
  struct TCase {
    const char* Name;
    bool Owned, Native, Refused, Expected;
  } Cases[] = {
      {"native in an owner", true, true, false, true},
      {"not native, not skinned", true, false, false, false},
      {"no owner", false, true, false, false},
      {"refused by the host", true, true, true, false},
  };
  for (const TCase& C : Cases) {
    auto V = Editor(cxRect(0, 0, 13, 7), cxRect(0, 0, 13, 7),
                    {{cxRect(0, 0, 13, 7), bkEllipsis, bts3D, ebsNormal}});
    if (C.Owned) V->Owner = Owner.get();
    V->NativeStyle = C.Native;
    if (C.Refused) V->SetOnCanStartButtonFading(MakeEvent<&TRefuse::CanStart>(&Refuse));
    EXPECT_EQ(V->ButtonsInfo[0]->FadingHelper->CanFade(), C.Expected) << C.Name;
  }
}

TEST_F(EditButtonFading, FadeImagesAreTheBorderAndBackgroundInBothStates) {
  TOwned<TFadingOwner> Owner(Create<TFadingOwner>(nullptr));
  auto V = Editor(cxRect(0, 0, 13, 7), cxRect(0, 0, 13, 7),
                  {{cxRect(0, 0, 13, 7), bkEllipsis, btsHotFlat, ebsPressed, false, true}});
  V->Owner = Owner.get();
  V->NativeStyle = true;
  TcxEditButtonViewInfo* Button = V->ButtonsInfo[0];
  TcxBitmap* Out = nullptr;
  TcxBitmap* In = nullptr;
  Button->FadingHelper->GetFadingImages(Out, In);
  TOwned<TcxBitmap> FadeOut(Out), FadeIn(In);
  EXPECT_EQ(Button->Data.State, ebsPressed) << "the state is put back";
  // No content: a hot flat frame filled with the state's colour.
  EXPECT_TRUE(LooksLike(FadeOut.get(), Classic,
                        {"SSSSSSSSSSSSS", "SFFFFFFFFFFFS", "SFFFFFFFFFFFS", "SFFFFFFFFFFFS",
                         "SFFFFFFFFFFFS", "SFFFFFFFFFFFS", "SSSSSSSSSSSSS"}));
  EXPECT_TRUE(LooksLike(FadeIn.get(), Classic,
                        {"SSSSSSSSSSSSS", "SSSSSSSSSSSSS", "SSSSSSSSSSSSS", "SSSSSSSSSSSSS",
                         "SSSSSSSSSSSSS", "SSSSSSSSSSSSS", "SSSSSSSSSSSSS"}));
}

}  // namespace
