#include "GraphicsTestSupport.h"

namespace {

// Every character 10 wide and 16 high, so rows can be worked out by hand.
TSize FixedExtents(HDC, const Char*, Integer ALength, bool, void*) {
  return TSize{10 * ALength, 16};
}

TcxTextParams Params(Cardinal AFormat) {
  TcxTextParams P{};
  P.RowHeight = 16;
  P.FullRowHeight = 16;
  P.TextAlignX = static_cast<TcxTextAlignX>(AFormat & 7);
  P.TextAlignY = static_cast<TcxTextAlignY>((AFormat >> 4) & 3);
  P.WordBreak = AFormat & CXTO_WORDBREAK;
  P.SingleLine = AFormat & CXTO_SINGLELINE;
  P.EndEllipsis = AFormat & CXTO_END_ELLIPSIS;
  P.EditControl = AFormat & CXTO_EDITCONTROL;
  P.CharBreak = AFormat & CXTO_CHARBREAK;
  P.CalcRect = AFormat & CXTO_CALCRECT;
  P.CalcRowCount = AFormat & CXTO_CALCROWCOUNT;
  P.EndEllipsisWidth = P.EndEllipsis ? 30 : 0;
  P.OnePixel = 1;
  return P;
}

std::vector<String> Rows(const String& AText, Cardinal AFormat, int AWidth, int AHeight,
                         bool* AFits = nullptr) {
  TcxTextRows R;
  Integer Count = 0;
  bool Fits = cxMakeTextRows(nullptr, AText.c_str(), static_cast<Integer>(AText.size()),
                             cxRect(0, 0, AWidth, AHeight), Params(AFormat), R, Count, 0, nullptr,
                             &FixedExtents);
  if (AFits) *AFits = Fits;
  std::vector<String> V;
  for (Integer I = 0; I < Count; ++I) {
    const TcxTextRow& Row = cxGetTextRow(R, I);
    V.push_back(String(Row.Text, static_cast<size_t>(Row.TextLength)));
  }
  return V;
}

TEST(TextRows, BreakingTable) {
  const Cardinal WB = CXTO_WORDBREAK;
  struct {
    const char* Name;
    String Text;
    Cardinal Format;
    int Width, Height;
    std::vector<String> Expected;
  } Cases[] = {
      {"wrap keeps the space on a left row", L"ab cd", WB, 30, 100, {L"ab ", L"cd"}},
      {"centred row loses its trailing space",
       L"ab cd",
       WB | CXTO_CENTER_HORIZONTALLY,
       30,
       100,
       {L"ab", L"cd"}},
      {"a long word stays whole", L"abcdefg", WB, 30, 100, {L"abcdefg"}},
      {"character break cuts it", L"abcdefg", WB | CXTO_CHARBREAK, 30, 100, {L"abc", L"def", L"g"}},
      {"edit control cuts it too",
       L"abcdefg",
       WB | CXTO_EDITCONTROL,
       30,
       100,
       {L"abc", L"def", L"g"}},
      {"at least one character per row", L"abc", WB | CXTO_CHARBREAK, 5, 100, {L"a", L"b", L"c"}},
      {"CR LF", L"a\r\nb", WB, 100, 100, {L"a", L"b"}},
      {"LF CR", L"a\n\rb", WB, 100, 100, {L"a", L"b"}},
      {"lone CR", L"a\rb", WB, 100, 100, {L"a", L"b"}},
      {"two LFs leave an empty row", L"a\n\nb", WB, 100, 100, {L"a", L"", L"b"}},
      {"breaks without word wrap", L"ab cd\r\nef", 0, 20, 100, {L"ab cd", L"ef"}},
      {"an ideograph keeps its full stop",
       L"\u4E00\u3002\u4E8C",
       WB,
       20,
       100,
       {L"\u4E00\u3002", L"\u4E8C"}},
      {"single line", L"ab\r\ncd", CXTO_SINGLELINE, 10, 100, {L"ab\r\ncd"}},
      {"partial row is laid out", L"a b c d e", WB, 20, 40, {L"a ", L"b ", L"c "}},
      {"edit control keeps fully visible rows",
       L"a b c d e",
       WB | CXTO_EDITCONTROL,
       20,
       40,
       {L"a ", L"b "}},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(Rows(C.Text, C.Format, C.Width, C.Height), C.Expected) << C.Name;
  bool Fits = true;
  Rows(L"a b c d e", WB, 20, 40, &Fits);
  EXPECT_FALSE(Fits);
  Rows(L"a b", WB, 20, 40, &Fits);
  EXPECT_TRUE(Fits);
}

TEST(TextRows, PlacingDistributedAndCentred) {
  String Text = L"a b c";
  TcxTextParams P = Params(CXTO_WORDBREAK | CXTO_DISTRIBUTE_VERTICALLY);
  TcxTextRows R;
  Integer Count = 0;
  cxMakeTextRows(nullptr, Text.c_str(), 5, cxRect(0, 0, 20, 100), P, R, Count, 0, nullptr,
                 &FixedExtents);
  ASSERT_EQ(Count, 3);
  cxPlaceTextRows(nullptr, cxRect(0, 10, 20, 111), P, R, Count);
  // (101 - 16) div 2 = 42, remainder 1 goes to the first gap.
  EXPECT_EQ(cxGetTextRow(R, 0).TextOriginY, 10);
  EXPECT_EQ(cxGetTextRow(R, 1).TextOriginY, 10 + 42 + 1);
  EXPECT_EQ(cxGetTextRow(R, 2).TextOriginY, 10 + 84 + 1);
  EXPECT_EQ(cxGetLongestTextRowWidth(R, Count), 20);

  TcxTextParams C = Params(CXTO_SINGLELINE | CXTO_CENTER_HORIZONTALLY | CXTO_BOTTOM);
  cxMakeTextRows(nullptr, L"abc", 3, cxRect(0, 0, 35, 50), C, R, Count, 0, nullptr, &FixedExtents);
  cxPlaceTextRows(nullptr, cxRect(0, 0, 35, 50), C, R, Count);
  EXPECT_EQ(cxGetTextRow(R, 0).TextOriginX, 35 - (35 - 30) / 2 - 30);
  EXPECT_EQ(cxGetTextRow(R, 0).TextOriginY, 50 - 16);
}

class Text : public GraphicsModule {};

TEST_F(Text, MeasuringPassesDrawNothing) {
  auto B = FilledBitmap(200, 100, clWhite);
  HDC DC = B->Canvas()->Handle();
  TOwned<TFont> Font(Create<TFont>());
  Font->SetName(L"Tahoma");
  Font->SetHeight(-11);
  String Text = L"Съешь же ещё этих мягких французских булок";
  TRect R = cxRect(10, 10, 110, 90);
  Integer Rows =
      cxTextOut(DC, Text, R, CXTO_WORDBREAK | CXTO_CALCRECT | CXTO_CALCROWCOUNT, 0, 0, Font.get());
  EXPECT_GT(Rows, 1);
  EXPECT_EQ(Shape(B.get(), RGB(255, 255, 255)).find('.'), std::string::npos);
  TRect Calc = cxRect(10, 10, 110, 90);
  cxTextOut(DC, Text, Calc, CXTO_WORDBREAK | CXTO_CALCRECT, 0, 0, Font.get());
  EXPECT_LE(Calc.right, 110);
  EXPECT_EQ(Calc.left, 10);
  EXPECT_EQ(cxRectHeight(Calc), Rows * cxTextHeight(Font.get()));
  // A text of one prefix character yields nothing and leaves the DC alone.
  HGDIOBJ FontBefore = GetCurrentObject(DC, OBJ_FONT);
  TRect P = cxRect(0, 0, 50, 50);
  EXPECT_EQ(
      cxTextOut(DC, L"&", P, CXTO_HIDEPREFIX, 0, 0, Font.get(), clBlue, clWhite, 0, 0, 0, clRed),
      0);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), FontBefore);
}

TEST_F(Text, TabbedExtentsGiveWidthsPastSixteenBits) {
  auto B = FilledBitmap(4, 4, clWhite);
  HDC DC = B->Canvas()->Handle();
  B->Canvas()->Font()->SetName(L"Tahoma");
  B->Canvas()->Font()->SetHeight(-11);
  B->Canvas()->SelectFont();
  String Long(9000, L'W');
  SIZE Exact{0, 0};
  GetTextExtentPoint32W(DC, Long.c_str(), static_cast<int>(Long.size()), &Exact);
  ASSERT_GT(Exact.cx, 65535);
  TSize S = cxGetTabbedTextExtentW(DC, Long.c_str(), static_cast<Integer>(Long.size()), 0, nullptr);
  EXPECT_EQ(S.cx, Exact.cx);
  EXPECT_EQ(S.cy, Exact.cy);
}

TEST_F(Text, StringBoundsPerRow) {
  auto B = FilledBitmap(4, 4, clWhite);
  TcxCanvas* C = B->cxCanvas();
  C->Font()->SetName(L"Tahoma");
  C->Font()->SetHeight(-11);
  struct {
    String Text;
    size_t Rows;
  } Cases[] = {{L"ab\r\ncd", 2}, {L"ab\r\rcd", 3}, {L"ab\n\rcd", 2}, {L"&ab", 1}};
  for (const auto& Case : Cases) {
    TRects Bounds;
    C->GetTextStringsBounds(Case.Text, cxRect(0, 0, 200, 100), cxAlignLeft | cxShowPrefix, true,
                            Bounds);
    EXPECT_EQ(Bounds.size(), Case.Rows);
    if (Case.Rows == 3) EXPECT_EQ(cxRectWidth(Bounds[1]), 0);
    if (Case.Rows > 1) EXPECT_EQ(Bounds[1].top, Bounds[0].bottom);
  }
  TRect R = cxRect(0, 0, 100, 30);
  C->TextExtent(L"ab", R, cxAlignHCenter | cxSingleLine);
  EXPECT_EQ(R.left, (100 - C->TextWidth(L"ab")) / 2);
  TRect Z = cxRect(5, 5, 5, 30);
  C->TextExtent(L"ab", Z, cxAlignLeft | cxWordBreak);
  EXPECT_EQ(Z.left, 5);
  EXPECT_GT(cxRectWidth(Z), 0);
}

}  // namespace
