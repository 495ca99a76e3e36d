// Text drawn by the library set against the platform's DrawTextW in a real
// font, where both must put the same pixels down, and the placement of
// selections, ellipses and turned text.
#include <cmath>

#include "GraphicsTestSupport.h"

namespace {

class TextOutput : public GraphicsModule {
 protected:
  void SetUp() override {
    GraphicsModule::SetUp();
    FFont = TestFont();
  }
  void TearDown() override {
    FFont.reset();
    GraphicsModule::TearDown();
  }

  // A bitmap of one colour with the test font selected and black text.
  TOwned<TcxBitmap32> Blank(int AWidth = 160, int AHeight = 60, TColor AColor = clWhite) {
    auto B = FilledBitmap(AWidth, AHeight, AColor);
    B->Canvas()->SetFont(FFont.get());
    B->Canvas()->SelectFont();
    SetTextColor(B->Canvas()->Handle(), RGB(0, 0, 0));
    SetBkMode(B->Canvas()->Handle(), TRANSPARENT);
    return B;
  }

  TOwned<TcxBitmap32> ByPlatform(const String& AText, TRect R, UINT AFormat, int AWidth = 160,
                                 int AHeight = 60) {
    auto B = Blank(AWidth, AHeight);
    DrawTextW(B->Canvas()->Handle(), AText.c_str(), static_cast<int>(AText.size()), &R, AFormat);
    return B;
  }

  TOwned<TcxBitmap32> ByEngine(const String& AText, TRect R, Cardinal AFormat, int AWidth = 160,
                               int AHeight = 60) {
    auto B = Blank(AWidth, AHeight);
    cxTextOut(B->Canvas()->Handle(), AText, R, AFormat, 0, 0, FFont.get());
    return B;
  }

  TSize Extent(const String& AText) {
    auto B = Blank(4, 4);
    SIZE S{0, 0};
    GetTextExtentPoint32W(B->Canvas()->Handle(), AText.c_str(), static_cast<int>(AText.size()), &S);
    return TSize{S.cx, S.cy};
  }

  TOwned<TFont> FFont;
};

TEST_F(TextOutput, EngineMatchesThePlatformWhereBothMustAgree) {
  struct {
    const char* Name;
    String Text;
    Cardinal Format;
    UINT DTFormat;
    int Width;
  } Cases[] = {
      {"Latin single line", L"The quick brown fox jumps", CXTO_SINGLELINE, DT_SINGLELINE, 150},
      {"Cyrillic single line", L"Съешь же ещё этих булок", CXTO_SINGLELINE, DT_SINGLELINE, 150},
      {"Latin wrapped", L"The quick brown fox jumps over the lazy dog", CXTO_WORDBREAK,
       DT_WORDBREAK, 90},
      {"Cyrillic wrapped", L"Съешь же ещё этих мягких французских булок", CXTO_WORDBREAK,
       DT_WORDBREAK, 90},
      {"line breaks", L"первая\r\nвторая\nтретья", CXTO_WORDBREAK, DT_WORDBREAK, 150},
      {"clipped without one", L"Съешь же ещё этих мягких французских булок", CXTO_SINGLELINE,
       DT_SINGLELINE, 100},
  };
  for (const auto& C : Cases) {
    TRect R = cxRect(3, 2, 3 + C.Width, 58);
    auto Expected = ByPlatform(C.Text, R, C.DTFormat | DT_NOPREFIX);
    ASSERT_NE(InkBounds(Expected.get()), cxNullRect) << C.Name;
    auto Actual = ByEngine(C.Text, R, C.Format);
    EXPECT_EQ(Difference(Actual.get(), Expected.get()), "") << C.Name;
  }
}

TEST_F(TextOutput, ExternalLeadingOfARealFontWidensThePitch) {
  // None of the prefix's fonts has an external leading; this one does.
  const wchar_t* File = L"Z:\\usr\\share\\fonts\\truetype\\liberation\\LiberationSans-Regular.ttf";
  ASSERT_GT(AddFontResourceExW(File, FR_PRIVATE, nullptr), 0)
      << "Liberation Sans is missing: tools/setup.sh installs fonts-liberation";
  struct TRemove {
    const wchar_t* File;
    ~TRemove() { RemoveFontResourceExW(File, FR_PRIVATE, nullptr); }
  } Remove{File};
  FFont->SetName(L"Liberation Sans");
  auto B = Blank(4, 4);
  HDC DC = B->Canvas()->Handle();
  struct {
    int Height, Leading;
  } Sizes[] = {{-12, 0}, {-20, 1}, {-50, 2}, {-80, 3}};
  for (const auto& S : Sizes) {
    FFont->SetHeight(S.Height);
    SelectObject(DC, FFont->Handle());
    TEXTMETRICW TM{};
    GetTextMetricsW(DC, &TM);
    ASSERT_EQ(TM.tmExternalLeading, S.Leading) << S.Height;
    EXPECT_EQ(cxCalcTextParams(DC, CXTO_EXTERNALLEADING).tmExternalLeading, S.Leading);
    EXPECT_EQ(cxCalcTextParams(DC, CXTO_EXTERNALLEADING).FullRowHeight, TM.tmHeight + S.Leading);
    EXPECT_EQ(cxCalcTextParams(DC, 0).FullRowHeight, TM.tmHeight);
    EXPECT_EQ(cxCalcTextParams(DC, CXTO_EXTERNALLEADING, 1.5).FullRowHeight,
              static_cast<int>(std::nearbyint(1.5 * (TM.tmHeight + S.Leading))));
  }
  FFont->SetHeight(-20);
  String Text = L"первая\r\nвторая\r\nтретья";
  TRect R = cxRect(2, 2, 150, 118);
  auto Expected = ByPlatform(Text, R, DT_WORDBREAK | DT_EXTERNALLEADING | DT_NOPREFIX, 160, 120);
  auto Actual = ByEngine(Text, R, CXTO_WORDBREAK | CXTO_EXTERNALLEADING, 160, 120);
  EXPECT_EQ(Difference(Actual.get(), Expected.get()), "");
  // Without the flag the rows sit closer.
  auto Close = ByEngine(Text, R, CXTO_WORDBREAK, 160, 120);
  EXPECT_EQ(InkBounds(Close.get()).bottom + 2, InkBounds(Actual.get()).bottom);
}

TEST_F(TextOutput, EndEllipsisKeepsWhatFitsBeforeTheDots) {
  const String Text = L"Съешь же ещё этих мягких французских булок";
  TRect R = cxRect(3, 2, 103, 18);
  // The characters the platform keeps before its own dots.
  std::vector<wchar_t> Buffer(Text.begin(), Text.end());
  Buffer.resize(Text.size() + 8, 0);
  {
    auto B = Blank();
    TRect Calc = R;
    DrawTextW(B->Canvas()->Handle(), Buffer.data(), static_cast<int>(Text.size()), &Calc,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX | DT_CALCRECT);
  }
  String Kept(Buffer.data());
  ASSERT_GT(Kept.size(), 3u);
  ASSERT_EQ(Kept.substr(Kept.size() - 3), L"...");
  Kept.resize(Kept.size() - 3);
  const int CX = Extent(Kept).cx, E = Extent(L"...").cx, W = cxRectWidth(R);
  struct {
    Cardinal Align;
    int Origin;
  } Cases[] = {
      {CXTO_LEFT, R.left},
      {CXTO_CENTER_HORIZONTALLY, R.left + (W - CX - E) / 2},
      {CXTO_RIGHT, R.right - CX - E},
  };
  for (const auto& C : Cases) {
    // The kept text, then the dots from where its measured extent ends.
    auto Expected = Blank();
    HDC DC = Expected->Canvas()->Handle();
    ExtTextOutW(DC, C.Origin, R.top, ETO_CLIPPED, &R, Kept.c_str(), static_cast<UINT>(Kept.size()),
                nullptr);
    ExtTextOutW(DC, C.Origin + CX, R.top, ETO_CLIPPED, &R, L"...", 3, nullptr);
    auto Actual = ByEngine(Text, R, CXTO_SINGLELINE | CXTO_END_ELLIPSIS | C.Align);
    EXPECT_EQ(Difference(Actual.get(), Expected.get()), "") << "alignment " << C.Align;
  }
}

TEST_F(TextOutput, EllipsisGoesOnTheLastRowDrawn) {
  // Five rows of text in a rectangle two and a half rows high.
  const String Text = L"один два три четыре пять";
  const int H = Extent(L"Zq").cy;
  TRect R = cxRect(2, 2, 2 + Extent(L"четыре").cx + 4, 2 + H * 5 / 2);
  auto Band = [&](TBitmap* B, int ARow) {
    auto Part = FilledBitmap(160, 60, clWhite);
    TRect Rows = cxRect(0, R.top + ARow * H, 160, R.top + (ARow + 1) * H);
    cxBitBlt(Part->Canvas()->Handle(), B->Canvas()->Handle(), Rows, TPoint{0, Rows.top}, SRCCOPY);
    return Part;
  };
  struct {
    Cardinal Format;
    int LastRow;
  } Cases[] = {{CXTO_WORDBREAK, 2}, {CXTO_WORDBREAK | CXTO_EDITCONTROL, 1}};
  for (const auto& C : Cases) {
    auto Plain = ByEngine(Text, R, C.Format);
    auto Cut = ByEngine(Text, R, C.Format | CXTO_END_ELLIPSIS);
    for (int Row = 0; Row < C.LastRow; ++Row)
      EXPECT_EQ(Difference(Band(Cut.get(), Row).get(), Band(Plain.get(), Row).get()), "")
          << "format " << C.Format << " row " << Row;
    // The last row drawn is the one shortened for the dots (in a partial
    // row they fall below the clip), and nothing is drawn below it.
    EXPECT_NE(Difference(Band(Cut.get(), C.LastRow).get(), Band(Plain.get(), C.LastRow).get()), "")
        << "format " << C.Format;
    TRect Ink = InkBounds(Cut.get());
    EXPECT_GT(Ink.bottom, R.top + C.LastRow * H) << "format " << C.Format;
    EXPECT_LE(Ink.bottom, std::min<int>(R.bottom, R.top + (C.LastRow + 1) * H))
        << "format " << C.Format;
  }
}

TEST_F(TextOutput, SelectionOverTwoRowsHighlightsTheTailAndTheHead) {
  const String Text = L"alpha beta gamma";
  const COLORREF SelBk = RGB(0, 0, 200), SelText = RGB(255, 255, 0);
  const int H = Extent(L"Zq").cy;
  // Wide enough for "alpha beta " only, so "gamma" makes the second row.
  TRect R = cxRect(4, 3, 4 + Extent(L"alpha beta ").cx + 2, 57);
  auto B = Blank();
  // From the "t" of "beta" to the "m" of "gamma".
  cxTextOut(B->Canvas()->Handle(), Text, R, CXTO_WORDBREAK, 8, 5, FFont.get(), SelBk, SelText);
  const TRect Tail =
      cxRect(R.left + Extent(L"alpha be").cx, R.top, R.left + Extent(L"alpha beta ").cx, R.top + H);
  const TRect Head = cxRect(R.left, R.top + H, R.left + Extent(L"ga").cx, R.top + 2 * H);
  TRGBColors P;
  GetBitmapBits(B.get(), P, true);
  int Misplaced = 0, SelectedInk[2] = {0, 0}, PlainInk = 0;
  for (int Y = 0; Y < B->Height(); ++Y)
    for (int X = 0; X < B->Width(); ++X) {
      const RGBQUAD& Q = P[static_cast<size_t>(Y) * B->Width() + X];
      COLORREF C = RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue);
      bool Selected = C == SelBk || C == SelText;
      int Part = cxRectPtIn(Tail, TPoint{X, Y}) ? 0 : (cxRectPtIn(Head, TPoint{X, Y}) ? 1 : -1);
      if (Selected != (Part >= 0)) ++Misplaced;
      if (Part >= 0 && C == SelText) ++SelectedInk[Part];
      if (C == RGB(0, 0, 0)) ++PlainInk;
    }
  EXPECT_EQ(Misplaced, 0) << ToString(Tail) << " " << ToString(Head) << "\n"
                          << Shape(B.get(), SelBk);
  EXPECT_GT(SelectedInk[0], 0);
  EXPECT_GT(SelectedInk[1], 0);
  EXPECT_GT(PlainInk, 0);
  // The selected areas stay out of the DC's clip after the call: a fill
  // afterwards leaves them as they are (editors paint around them).
  HDC DC = B->Canvas()->Handle();
  HBRUSH Green = CreateSolidBrush(RGB(0, 255, 0));
  RECT All{0, 0, B->Width(), B->Height()};
  FillRect(DC, &All, Green);
  DeleteObject(Green);
  SelectClipRgn(DC, nullptr);
  GetBitmapBits(B.get(), P, true);
  int Covered = 0, Kept = 0;
  for (int Y = 0; Y < B->Height(); ++Y)
    for (int X = 0; X < B->Width(); ++X) {
      const RGBQUAD& Q = P[static_cast<size_t>(Y) * B->Width() + X];
      bool Filled = RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue) == RGB(0, 255, 0);
      bool Selected = cxRectPtIn(Tail, TPoint{X, Y}) || cxRectPtIn(Head, TPoint{X, Y});
      (Selected ? Kept : Covered) += Selected ? !Filled : Filled;
    }
  EXPECT_EQ(Kept, cxRectWidth(Tail) * cxRectHeight(Tail) + cxRectWidth(Head) * cxRectHeight(Head));
  EXPECT_EQ(Covered + Kept, B->Width() * B->Height());
}

TEST_F(TextOutput, RightToLeftSelectionCoversTheCharactersWhereTheyAreShown) {
  // Alef, bet, gimel, dalet, he: in right-to-left reading the first
  // characters in memory are the rightmost on screen.
  const String Text = L"\u05D0\u05D1\u05D2\u05D3\u05D4";
  const COLORREF SelBk = RGB(0, 0, 200);
  const int CX = Extent(Text).cx, First2 = Extent(Text.substr(0, 2)).cx;
  TRect R = cxRect(10, 5, 150, 40);
  auto B = Blank();
  cxTextOut(B->Canvas()->Handle(), Text, R, CXTO_SINGLELINE | CXTO_RTLREADING, 0, 2, FFont.get(),
            SelBk, clWhite);
  auto Plain = ByEngine(Text, R, CXTO_SINGLELINE | CXTO_RTLREADING);
  ASSERT_NE(InkBounds(Plain.get()), cxNullRect);
  TRect Selected = BoundsWhere(B.get(), [&](COLORREF C) { return C == SelBk; });
  EXPECT_EQ(Selected.right, R.left + CX) << ToString(Selected);
  EXPECT_NEAR(Selected.left, R.left + CX - First2, 1) << ToString(Selected);
  EXPECT_EQ(Selected.top, R.top);
  // Left of the selection the row is as drawn without one.
  auto Left = Blank(), PlainLeft = Blank();
  TRect Part = cxRect(0, 0, Selected.left, 60);
  cxBitBlt(Left->Canvas()->Handle(), B->Canvas()->Handle(), Part, TPoint{0, 0}, SRCCOPY);
  cxBitBlt(PlainLeft->Canvas()->Handle(), Plain->Canvas()->Handle(), Part, TPoint{0, 0}, SRCCOPY);
  EXPECT_EQ(Difference(Left.get(), PlainLeft.get()), "");
}

// The canvas's own text drawing.
class CanvasText : public TextOutput {
 protected:
  TOwned<TcxBitmap32> ByCanvas(const String& AText, const TRect& R, Integer AFlags,
                               bool AEnabled = true, TColor ABackground = clWhite) {
    auto B = Blank(160, 60, ABackground);
    B->cxCanvas()->SetFont(FFont.get());
    B->cxCanvas()->DrawTexT(AText, R, AFlags, AEnabled);
    return B;
  }
};

TEST_F(CanvasText, DrawTexTMatchesThePlatform) {
  const String Latin = L"Quick brown fox", Long = L"The quick brown fox jumps over the lazy dog";
  // The platform centres vertically with its own rounding, which agrees
  // with the canvas's when the slack is even, as here (47 - 13).
  const TRect R = cxRect(5, 4, 150, 51), Narrow = cxRect(5, 4, 60, 51);
  struct {
    const char* Name;
    String Text;
    TRect R;
    Integer Flags;
    UINT DTFormat;
  } Cases[] = {
      {"left top", Latin, R, cxSingleLine | cxAlignLeft | cxAlignTop, DT_SINGLELINE | DT_NOPREFIX},
      {"right", Latin, R, cxSingleLine | cxAlignRight, DT_SINGLELINE | DT_RIGHT | DT_NOPREFIX},
      {"centred", L"Съешь же", R, cxSingleLine | cxAlignHCenter | cxAlignVCenter,
       DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX},
      {"bottom", Latin, R, cxSingleLine | cxAlignBottom, DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX},
      {"clipped when it does not fit", Latin, Narrow, cxSingleLine, DT_SINGLELINE | DT_NOPREFIX},
      {"prefix", L"&Файл и п&равка", R, cxSingleLine | cxShowPrefix, DT_SINGLELINE},
      {"wrapped", Long, R, cxWordBreak, DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX},
      {"wrapped Cyrillic", L"Съешь же ещё этих мягких французских булок", Narrow, cxWordBreak,
       DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX},
  };
  for (const auto& C : Cases) {
    auto Expected = ByPlatform(C.Text, C.R, C.DTFormat);
    auto Actual = ByCanvas(C.Text, C.R, C.Flags);
    EXPECT_EQ(Difference(Actual.get(), Expected.get()), "") << C.Name;
  }
}

TEST_F(CanvasText, WrappedTextIsPlacedAtTheBottomOrTheMiddle) {
  const String Text = L"The quick brown fox jumps over the lazy dog";
  const TRect R = cxRect(5, 2, 80, 58);
  const int H = Extent(L"Zq").cy;
  TRect Calc = cxRect(0, 0, cxRectWidth(R), 0);
  {
    auto B = Blank();
    DrawTextW(B->Canvas()->Handle(), Text.c_str(), static_cast<int>(Text.size()), &Calc,
              DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_CALCRECT);
  }
  const int Block = cxRectHeight(Calc);
  ASSERT_EQ(Block % H, 0);
  ASSERT_GT(Block, 2 * H);
  struct {
    Integer Flags;
    int Top;
  } Cases[] = {{cxWordBreak | cxAlignBottom, R.bottom - Block},
               {cxWordBreak | cxAlignVCenter, (R.top + R.bottom - Block) / 2}};
  for (const auto& C : Cases) {
    auto Expected = ByPlatform(Text, cxRect(R.left, C.Top, R.right, R.bottom),
                               DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
    auto Actual = ByCanvas(Text, R, C.Flags);
    EXPECT_EQ(Difference(Actual.get(), Expected.get()), "") << C.Flags;
  }
}

TEST_F(CanvasText, DisabledTextIsEmbossedAndTheCanvasKeepsItsBrushAndFont) {
  const TColor Face = RGB(120, 140, 160);
  const COLORREF Highlight = ColorToRGB(clBtnHighlight), Shadow = ColorToRGB(clBtnShadow);
  const TRect R = cxRect(5, 4, 150, 50);
  struct {
    const char* Name;
    String Text;
    Integer Flags;
    UINT DTFormat;
  } Cases[] = {
      {"left", L"Quick brown fox", cxSingleLine, DT_SINGLELINE},
      {"right", L"Quick brown fox", cxSingleLine | cxAlignRight, DT_SINGLELINE | DT_RIGHT},
      {"wrapped", L"Съешь же ещё этих мягких французских булок", cxWordBreak,
       DT_WORDBREAK | DT_EDITCONTROL},
  };
  for (const auto& C : Cases) {
    // The highlight one pixel down and right, the shadow over it.
    auto Expected = Blank(160, 60, Face);
    HDC DC = Expected->Canvas()->Handle();
    for (auto [Colour, Rect] :
         {std::pair{Highlight, cxRect(R.left + 1, R.top + 1, R.right, R.bottom)},
          std::pair{Shadow, cxRect(R.left, R.top, R.right - 1, R.bottom - 1)}}) {
      SetTextColor(DC, Colour);
      DrawTextW(DC, C.Text.c_str(), static_cast<int>(C.Text.size()), &Rect,
                C.DTFormat | DT_NOPREFIX);
    }
    auto Actual = Blank(160, 60, Face);
    TcxCanvas* Canvas = Actual->cxCanvas();
    Canvas->SetFont(FFont.get());
    Canvas->Font()->SetColor(clMaroon);
    Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    Canvas->Brush()->SetColor(clYellow);
    Canvas->DrawTexT(C.Text, R, C.Flags, false);
    EXPECT_EQ(Difference(Actual.get(), Expected.get()), "") << C.Name;
    EXPECT_EQ(Canvas->Font()->Color(), clMaroon) << C.Name;
    EXPECT_EQ(Canvas->Brush()->Style(), TBrushStyle::bsSolid) << C.Name;
    EXPECT_EQ(Canvas->Brush()->Color(), clYellow) << C.Name;
  }
}

TEST_F(CanvasText, EmptyTextDrawsAndChangesNothing) {
  auto B = Blank();
  TcxCanvas* Canvas = B->cxCanvas();
  Canvas->Brush()->SetColor(clRed);
  Canvas->Font()->SetColor(clGreen);
  for (Integer Flags : {cxSingleLine, cxWordBreak | cxAlignBottom})
    for (bool Enabled : {true, false}) Canvas->DrawTexT(L"", cxRect(0, 0, 100, 40), Flags, Enabled);
  EXPECT_EQ(InkBounds(B.get()), cxNullRect);
  EXPECT_EQ(Canvas->Brush()->Color(), clRed);
  EXPECT_EQ(Canvas->Brush()->Style(), TBrushStyle::bsSolid);
  EXPECT_EQ(Canvas->Font()->Color(), clGreen);
}

// The expected picture of a turned text: drawn unturned into a bitmap of the
// turned size, then turned pixel by pixel here.
TEST_F(CanvasText, TurnedTextIsTheUnturnedTextTurned) {
  const String Text = L"Повёрнутый";
  const TRect R = cxRect(20, 5, 40, 55);
  struct {
    TcxRotationAngle Angle;
    bool Quarter;
  } Cases[] = {{raPlus90, true}, {raMinus90, true}, {ra180, false}};
  for (const auto& C : Cases) {
    int W = cxRectWidth(R), H = cxRectHeight(R);
    int UW = C.Quarter ? H : W, UH = C.Quarter ? W : H;
    auto Unturned = Blank(UW, UH);
    TRect All = cxRect(0, 0, UW, UH);
    DrawTextW(Unturned->Canvas()->Handle(), Text.c_str(), static_cast<int>(Text.size()), &All,
              DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
    TRGBColors U;
    GetBitmapBits(Unturned.get(), U, true);
    auto Expected = Blank();
    for (int Y = 0; Y < UH; ++Y)
      for (int X = 0; X < UW; ++X) {
        // raPlus90 turns counter-clockwise, raMinus90 clockwise.
        TPoint To = C.Angle == raPlus90    ? TPoint{Y, UW - 1 - X}
                    : C.Angle == raMinus90 ? TPoint{UH - 1 - Y, X}
                                           : TPoint{UW - 1 - X, UH - 1 - Y};
        const RGBQUAD& Q = U[static_cast<size_t>(Y) * UW + X];
        SetPixel(Expected->Canvas()->Handle(), R.left + To.x, R.top + To.y,
                 RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue));
      }
    auto Actual = Blank();
    Actual->cxCanvas()->SetFont(FFont.get());
    Actual->cxCanvas()->DrawTexT(Text, R, cxSingleLine | cxAlignHCenter | cxAlignVCenter, true,
                                 C.Angle);
    EXPECT_EQ(Difference(Actual.get(), Expected.get()), "") << "angle " << C.Angle;
  }
}

// Where a text turned by a quarter lands: the cell the rows' layout gives
// it, from the unturned width of the text and the height of "Zq".
TEST_F(TextOutput, RotatedTextLandsInItsCell) {
  const String Text = L"Поворот";
  const TRect Bounds = cxRect(10, 10, 110, 110), TB = cxRectInflate(Bounds, -2, -2);
  const int W = Extent(Text).cx, P = Extent(L"Zq").cy;
  struct {
    TcxVerticalTextOutDirection Direction;
    TcxTextAlignX AlignX;
    TcxTextAlignY AlignY;
  } Cases[] = {
      {vtdBottomToTop, taLeft, taTop},        {vtdBottomToTop, taRight, taBottom},
      {vtdBottomToTop, taCenterX, taCenterY}, {vtdTopToBottom, taLeft, taTop},
      {vtdTopToBottom, taRight, taBottom},    {vtdTopToBottom, taCenterX, taCenterY},
  };
  for (const auto& C : Cases) {
    bool Up = C.Direction == vtdBottomToTop;
    int X = Up ? (C.AlignY == taTop       ? TB.left
                  : C.AlignY == taCenterY ? (TB.left + TB.right - P) / 2
                                          : TB.right - P)
               : (C.AlignY == taTop       ? TB.right - P
                  : C.AlignY == taCenterY ? (TB.left + TB.right - P) / 2
                                          : TB.left);
    // The end of the text nearest the top of the bounds.
    int Top = Up ? (C.AlignX == taLeft    ? TB.bottom - W
                    : C.AlignX == taRight ? TB.top
                                          : (TB.top + TB.bottom + W) / 2 - W)
                 : (C.AlignX == taLeft    ? TB.top
                    : C.AlignX == taRight ? TB.bottom - W
                                          : (TB.top + TB.bottom - W) / 2);
    TRect Cell = cxRect(X, Top, X + P, Top + W);
    auto B = Blank(120, 120);
    cxRotatedTextOut(B->Canvas()->Handle(), Bounds, Text, FFont.get(), C.AlignX, C.AlignY, false,
                     true, true, C.Direction);
    TRect Ink = InkBounds(B.get());
    std::string Where = ToString(Ink) + " in " + ToString(Cell) + " direction " +
                        std::to_string(C.Direction) + " x " + std::to_string(C.AlignX) + " y " +
                        std::to_string(C.AlignY);
    EXPECT_EQ(cxRectUnion(cxRectInflate(Cell, 1, 2), Ink), cxRectInflate(Cell, 1, 2)) << Where;
    EXPECT_GE(cxRectHeight(Ink), W - 4) << Where;
    EXPECT_GE(cxRectWidth(Ink), P / 2) << Where;
  }
}

TEST_F(TextOutput, RotatedRowsStepAcrossTheBounds) {
  const TRect Bounds = cxRect(10, 10, 110, 70);
  const int P = Extent(L"Zq").cy;
  for (auto Direction : {vtdBottomToTop, vtdTopToBottom}) {
    auto One = Blank(120, 120), Two = Blank(120, 120);
    cxRotatedTextOut(One->Canvas()->Handle(), Bounds, L"первая", FFont.get(), taLeft, taTop, true,
                     true, true, Direction);
    // Too long for one row of 56 pixels: the second word goes to a second row.
    cxRotatedTextOut(Two->Canvas()->Handle(), Bounds, L"первая вторая", FFont.get(), taLeft, taTop,
                     true, true, true, Direction);
    TRect First = InkBounds(One.get()), Both = InkBounds(Two.get());
    EXPECT_EQ(Difference(One.get(), Two.get()).empty(), false);
    if (Direction == vtdBottomToTop) {
      EXPECT_EQ(Both.left, First.left);
      EXPECT_NEAR(Both.right, First.right + P, 2);
    } else {
      EXPECT_EQ(Both.right, First.right);
      EXPECT_NEAR(Both.left, First.left - P, 2);
    }
  }
}

}  // namespace
