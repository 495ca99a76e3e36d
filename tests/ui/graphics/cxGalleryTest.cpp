// The review gallery: pictures of glyph modes at two DPIs, text layouts,
// gradients and turned text, written as PNGs into gallery/ beside the test
// executable for people to look at.
#include "GdiPlusTestSupport.h"
#include "GraphicsTestSupport.h"
#include "cxImageList.h"
#include "dxGDIPlusClasses.h"

namespace {

class ReviewGallery : public GraphicsModule {
 protected:
  void SetUp() override {
    GraphicsModule::SetUp();
    CreateDirectoryW(L"gallery", nullptr);
    FFont = TestFont();
  }
  void TearDown() override {
    FFont.reset();
    GraphicsModule::TearDown();
  }

  TOwned<TcxBitmap> Page(int AWidth, int AHeight) {
    TOwned<TcxBitmap> B(TcxBitmap::CreateSize(AWidth, AHeight));
    B->cxCanvas()->FillRect(B->ClientRect(), static_cast<TColor>(RGB(240, 240, 240)));
    B->cxCanvas()->SetFont(FFont.get());
    return B;
  }

  void Label(TcxBitmap* APage, const TRect& R, const String& AText) {
    APage->cxCanvas()->DrawTexT(AText, R, cxAlignLeft | cxAlignTop | cxWordBreak);
  }

  // Writes the page and reads it back: the file must hold the page.
  void Save(TcxBitmap* APage, const String& AName) {
    String File = L"gallery\\" + AName + L".png";
    TOwned<TdxPNGImage> Png(TdxCustomSmartImage::CreateFromBitmap<TdxPNGImage>(APage));
    Png->SaveToFile(File);
    TOwned<TdxSmartImage> Back(Create<TdxSmartImage>());
    Back->LoadFromFile(File);
    EXPECT_EQ(Back->Width(), APage->Width()) << AnsiString(File.begin(), File.end());
    EXPECT_EQ(Back->Height(), APage->Height()) << AnsiString(File.begin(), File.end());
  }

  TOwned<TFont> FFont;
};

TEST_F(ReviewGallery, GlyphModesAtTwoDpis) {
  REQUIRE_GDIPLUS();
  const struct {
    TcxImageDrawMode Mode;
    const wchar_t* Name;
  } Modes[] = {{idmNormal, L"normal"},  {idmDisabled, L"disabled"}, {idmFaded, L"faded"},
               {idmGrayScale, L"grey"}, {idmDingy, L"dingy"},       {idmShadowed, L"shadowed"}};
  const wchar_t* const Glyphs[] = {L"GLYPH_RECALC", L"GLYPH_INPUT", L"GLYPH_OUTPUT"};
  const int Cell = 56, Left = 70, Top = 24;
  auto P = Page(Left + 6 * Cell, Top + 6 * Cell);
  TcxCanvas* C = P->cxCanvas();
  for (int M = 0; M < 6; ++M)
    Label(P.get(), cxRect(Left + M * Cell, 4, Left + (M + 1) * Cell, Top), Modes[M].Name);
  TdxScaleFactor At144;
  At144.Assign(3, 2, false);
  int Row = 0;
  for (const TdxScaleFactor* Scale :
       {static_cast<const TdxScaleFactor*>(nullptr), static_cast<const TdxScaleFactor*>(&At144)})
    for (const wchar_t* Name : Glyphs) {
      TOwned<TdxSmartGlyph> G(Create<TdxSmartGlyph>());
      TOwned<TMemoryStream> S(BytesStream(FixtureBytes(Name)));
      G->LoadFromStream(S.get());
      TRect Line = cxRect(0, Top + Row * Cell, Left + 6 * Cell, Top + (Row + 1) * Cell);
      Label(P.get(), cxRect(4, Line.top + 14, Left, Line.bottom), Scale ? L"144 DPI" : L"96 DPI");
      for (int M = 0; M < 6; ++M) {
        TRect R = cxRect(Left + M * Cell, Line.top, Left + (M + 1) * Cell, Line.bottom);
        C->FrameRect(R, static_cast<TColor>(RGB(210, 210, 210)));
        cxDrawImage(C, cxRectInflate(R, -4, -4), G.get(), nullptr, -1, ifmNormal, Modes[M].Mode,
                    true, nullptr, Scale, true);
      }
      ++Row;
    }
  Save(P.get(), L"glyph-modes");
}

TEST_F(ReviewGallery, TextLayouts) {
  REQUIRE_GDIPLUS();
  const String Cyr = L"Съешь же ещё этих мягких французских булок, да выпей чаю";
  const struct {
    const wchar_t* Name;
    Cardinal Format;
    String Text;
  } Samples[] = {
      {L"left, wrapped", CXTO_WORDBREAK, Cyr},
      {L"centred", CXTO_WORDBREAK | CXTO_CENTER_HORIZONTALLY, Cyr},
      {L"right", CXTO_WORDBREAK | CXTO_RIGHT, Cyr},
      {L"justified", CXTO_WORDBREAK | CXTO_JUSTIFY_HORIZONTALLY, Cyr},
      {L"distributed rows", CXTO_WORDBREAK | CXTO_DISTRIBUTE_VERTICALLY, L"один\r\nдва\r\nтри"},
      {L"end ellipsis", CXTO_SINGLELINE | CXTO_END_ELLIPSIS, Cyr},
      {L"ellipsis, edit control", CXTO_WORDBREAK | CXTO_END_ELLIPSIS | CXTO_EDITCONTROL,
       Cyr + L". " + Cyr + L". " + Cyr},
      {L"character break", CXTO_WORDBREAK | CXTO_CHARBREAK,
       L"Переисследовавшийся-переисследовавшийся"},
  };
  const int W = 150, H = 70;
  auto P = Page(2 * (W + 10) + 10, 5 * (H + 22) + 10);
  TcxCanvas* C = P->cxCanvas();
  HDC DC = C->Handle();
  int I = 0;
  auto Next = [&](const wchar_t* AName) {
    TRect R = cxRect(10 + (I % 2) * (W + 10), 20 + (I / 2) * (H + 22), 0, 0);
    R.right = R.left + W;
    R.bottom = R.top + H;
    Label(P.get(), cxRect(R.left, R.top - 15, R.right, R.top), AName);
    C->FillRect(R, clWhite);
    ++I;
    return R;
  };
  for (const auto& S : Samples) {
    TRect R = Next(S.Name);
    cxTextOut(DC, S.Text, R, S.Format, 0, 0, FFont.get());
  }
  {
    TRect R = Next(L"selection over two rows");
    cxTextOut(DC, Cyr, R, CXTO_WORDBREAK, 10, 20, FFont.get(), clHighlight, clHighlightText);
  }
  {
    TRect R = Next(L"disabled, embossed");
    C->FillRect(R, clBtnFace);
    C->DrawTexT(Cyr, R, cxWordBreak | cxAlignHCenter | cxAlignVCenter, false);
  }
  Save(P.get(), L"text");
}

TEST_F(ReviewGallery, Gradients) {
  REQUIRE_GDIPLUS();
  auto P = Page(330, 300);
  TcxCanvas* C = P->cxCanvas();
  HDC DC = C->Handle();
  const TColor From = static_cast<TColor>(RGB(20, 60, 160)),
               To = static_cast<TColor>(RGB(250, 220, 120));
  TcxGradientFillProc System = cxGraphicsPlatform().GradientFill;
  for (int Soft = 0; Soft < 2; ++Soft) {
    cxGraphicsPlatform().GradientFill = Soft ? nullptr : System;
    int X = 10 + Soft * 160;
    Label(P.get(), cxRect(X, 4, X + 150, 20), Soft ? L"software bands" : L"system");
    FillGradientRect(DC, cxRect(X, 22, X + 150, 62), From, To, true);
    FillGradientRect(DC, cxRect(X, 66, X + 150, 136), From, To, false);
  }
  cxGraphicsPlatform().GradientFill = System;
  int I = 0;
  for (int Percent : {0, 50, 100}) {
    int X = 10 + I * 105;
    Label(P.get(), cxRect(X, 142, X + 100, 158), L"tube " + IntToStr(Percent) + L" %");
    FillTubeGradientRect(DC, cxRect(X, 160, X + 100, 200), From, To, Percent, true);
    FillTubeGradientRect(DC, cxRect(X, 204, X + 100, 290), From, To, Percent, false);
    ++I;
  }
  Save(P.get(), L"gradients");
}

TEST_F(ReviewGallery, TurnedText) {
  REQUIRE_GDIPLUS();
  auto P = Page(520, 160);
  TcxCanvas* C = P->cxCanvas();
  HDC DC = C->Handle();
  const String Text = L"Повёрнутый текст в две строки";
  const struct {
    TcxVerticalTextOutDirection Direction;
    TcxTextAlignX X;
    TcxTextAlignY Y;
  } Rotated[] = {{vtdBottomToTop, taLeft, taTop},
                 {vtdBottomToTop, taCenterX, taCenterY},
                 {vtdTopToBottom, taLeft, taTop},
                 {vtdTopToBottom, taRight, taBottom}};
  int X = 10;
  for (const auto& R : Rotated) {
    TRect B = cxRect(X, 10, X + 50, 150);
    C->FillRect(B, clWhite);
    cxRotatedTextOut(DC, B, Text, FFont.get(), R.X, R.Y, true, true, true, R.Direction);
    X += 60;
  }
  for (TcxRotationAngle A : {raPlus90, raMinus90, ra180}) {
    TRect B = A == ra180 ? cxRect(X, 10, X + 170, 40) : cxRect(X, 10, X + 30, 150);
    C->FillRect(B, clWhite);
    C->DrawTexT(L"DrawTexT, повёрнутый", B, cxSingleLine | cxAlignHCenter | cxAlignVCenter, true,
                A);
    X += A == ra180 ? 0 : 40;
  }
  Save(P.get(), L"turned-text");
}

TEST_F(ReviewGallery, ImageListStatesAndGifFrames) {
  REQUIRE_GDIPLUS();
  // The three button glyphs and a bitmap with a mask colour in one list.
  TOwned<TcxImageList> List(Create<TcxImageList>(nullptr));
  for (const wchar_t* Name : {L"GLYPH_RECALC", L"GLYPH_INPUT", L"GLYPH_OUTPUT"}) {
    TOwned<TdxPNGImage> Png(Create<TdxPNGImage>());
    TOwned<TMemoryStream> S(BytesStream(FixtureBytes(Name)));
    Png->LoadFromStream(S.get());
    List->Add(Png.get());
  }
  TOwned<TcxBitmap> Framed(TcxBitmap::CreateSize(16, 16, TPixelFormat::pf24bit));
  Framed->cxCanvas()->FillRect(Framed->ClientRect(), clFuchsia);
  Framed->cxCanvas()->FillRect(cxRect(3, 3, 13, 13), static_cast<TColor>(RGB(200, 40, 40)));
  Framed->cxCanvas()->FillRect(cxRect(6, 6, 10, 10), clWhite);
  List->AddMasked(Framed.get(), clFuchsia);
  const struct {
    const wchar_t* Name;
    int Size;
    bool Stretch, Smooth, Enabled, AlphaBlending;
  } Columns[] = {{L"enabled", 16, false, false, true, true},
                 {L"disabled", 16, false, false, false, true},
                 {L"32 sharp", 32, true, false, true, true},
                 {L"32 smooth", 32, true, true, true, true},
                 {L"32 without alpha", 32, true, false, true, false},
                 {L"32 disabled", 32, true, true, false, true}};
  const int Cell = 64, Left = 10, Top = 36;
  auto P = Page(Left + 6 * Cell + 10, Top + 4 * Cell + 70);
  TcxCanvas* C = P->cxCanvas();
  for (int Col = 0; Col < 6; ++Col)
    Label(P.get(), cxRect(Left + Col * Cell, 4, Left + (Col + 1) * Cell, Top), Columns[Col].Name);
  for (int Row = 0; Row < List->Count(); ++Row)
    for (int Col = 0; Col < 6; ++Col) {
      const auto& K = Columns[Col];
      TRect R = cxRect(Left + Col * Cell, Top + Row * Cell, Left + (Col + 1) * Cell,
                       Top + (Row + 1) * Cell);
      C->FrameRect(R, static_cast<TColor>(RGB(210, 210, 210)));
      TRect Image = cxRectCenter(R, K.Size, K.Size);
      List->SetAlphaBlending(K.AlphaBlending);
      List->Draw(C->Canvas(), Image, Row, K.Stretch, K.Smooth, K.Enabled);
    }
  // The frames of an animated GIF, six times enlarged.
  int Y = Top + 4 * Cell + 10;
  Label(P.get(), cxRect(Left, Y, Left + 300, Y + 16), L"GIF frames (red, lime, blue)");
  TOwned<TdxSmartImage> Gif(Create<TdxSmartImage>());
  TOwned<TMemoryStream> S(BytesStream(FixtureBytes(L"LOOP2ANIM6X4_GIF")));
  Gif->LoadFromStream(S.get());
  for (int F = 0; F < Gif->AnimationFrameCount(); ++F) {
    Gif->SetActiveFrame(F);
    TRect R = cxRect(Left + F * 50, Y + 20, Left + F * 50 + 36, Y + 44);
    C->FrameRect(cxRectInflate(R, 1, 1), clBlack);
    Gif->StretchDraw(C->Handle(), R);
  }
  Save(P.get(), L"image-list");
}

}  // namespace
