// The text a text-like editor draws itself, read back as pixels: alignment
// (and its mirror for right-to-left), the list styles' one-pixel shift,
// password and letter case, the selection clamped to the text, the focus
// rectangle, content sizes and the auto-height flags. The platform's DrawText
// with the same font in the same rectangle is the oracle for plain text.
#include <gtest/gtest.h>

#include "ExtEditTestSupport.h"
#include "cxTextEdit.h"
#include "ui/graphics/GraphicsTestSupport.h"

namespace {

class TListProps : public TcxTextEditProperties {
 public:
  using TcxTextEditProperties::TcxTextEditProperties;
  TcxEditEditingStyle Style = esEdit;
  TcxEditEditingStyle GetEditingStyle() override { return Style; }
};

const TRect Bounds{0, 0, 140, 24};
const TPoint Outside{-10, -10};

// Properties and a view data as a host's cell or a standalone editor has them;
// the editor only lends its style.
struct TTextView {
  explicit TTextView(bool AInplace = false)
      : Edit(Create<TcxCustomEdit>(nullptr, AInplace)),
        Props(Create<TListProps>(nullptr)),
        Inplace(AInplace) {
    TcxCustomEditStyle* S = Edit->GetEditStyle();
    S->GetLookAndFeel()->SetNativeStyle(false);
    S->GetLookAndFeel()->SetKind(lfStandard);
    S->SetColor(clWhite);
    S->SetTextColor(clBlack);
    S->GetFont()->SetName(L"Tahoma");
    S->GetFont()->SetSize(10);
  }
  TcxCustomTextEditViewData* Data() {
    ViewData.reset(static_cast<TcxCustomTextEditViewData*>(
        Props->CreateViewData(Edit->GetEditStyle(), Inplace)));
    return ViewData.get();
  }
  // The value drawn into a white bitmap of the bounds' size.
  TOwned<TcxBitmap32> Draw(const String& AText, const TRect& ABounds = Bounds) {
    TcxCustomTextEditViewData* D = ViewData ? ViewData.get() : Data();
    TOwned<TcxBitmap32> B = FilledBitmap(ABounds.right, ABounds.bottom, clWhite);
    D->EditValueToDrawValue(Variant(AText), &Info);
    D->Calculate(B->cxCanvas(), ABounds, Outside, cxmbNone, TShiftState(), &Info, false);
    Info.Paint(B->cxCanvas());
    return B;
  }
  // AText as the platform draws it with the view info's font in its text rectangle.
  TOwned<TcxBitmap32> Reference(const String& AText, UINT AFormat) {
    TOwned<TcxBitmap32> B = FilledBitmap(Bounds.right, Bounds.bottom, clWhite);
    TCanvas* C = B->Canvas();
    C->SetFont(Info.Font);
    C->Font()->SetColor(clBlack);
    C->Brush()->SetStyle(TBrushStyle::bsClear);
    C->SelectFont();
    RECT R = Info.TextRect;
    SetBkMode(C->Handle(), TRANSPARENT);
    ::DrawTextW(C->Handle(), AText.c_str(), static_cast<int>(AText.size()), &R,
                AFormat | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    return B;
  }

  TOwned<TcxCustomEdit> Edit;
  TOwned<TListProps> Props;
  bool Inplace;
  TOwned<TcxCustomTextEditViewData> ViewData;
  TcxCustomTextEditViewInfo Info;
};

// The pixels of A and B inside R; empty when equal.
std::string DifferenceIn(TBitmap* A, TBitmap* B, const TRect& R) {
  TRGBColors PA, PB;
  GetBitmapBits(A, PA, true);
  GetBitmapBits(B, PB, true);
  std::string S;
  for (int Y = R.top; Y < R.bottom; ++Y) {
    std::string Row;
    bool Differs = false;
    for (int X = R.left; X < R.right; ++X) {
      const RGBQUAD &QA = PA[static_cast<size_t>(Y) * A->Width() + X],
                    &QB = PB[static_cast<size_t>(Y) * A->Width() + X];
      const bool Same =
          QA.rgbRed == QB.rgbRed && QA.rgbGreen == QB.rgbGreen && QA.rgbBlue == QB.rgbBlue;
      Differs |= !Same;
      Row += Same ? (QA.rgbRed < 128 ? '#' : '.') : 'X';
    }
    if (Differs) S += std::to_string(Y) + ": " + Row + '\n';
  }
  return S;
}

// The dark pixels inside R (the editor's border left out).
TRect TextInkBounds(TBitmap* B, const TRect& R) {
  TRGBColors P;
  GetBitmapBits(B, P, true);
  TRect Ink{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int Y = R.top; Y < R.bottom; ++Y)
    for (int X = R.left; X < R.right; ++X)
      if (P[static_cast<size_t>(Y) * B->Width() + X].rgbRed < 128) {
        Ink.left = std::min<int>(Ink.left, X);
        Ink.top = std::min<int>(Ink.top, Y);
        Ink.right = std::max<int>(Ink.right, X + 1);
        Ink.bottom = std::max<int>(Ink.bottom, Y + 1);
      }
  return Ink;
}

struct TAlignCase {
  const char* Name;
  TAlignment Alignment;
  bool RightToLeft;
  UINT Format;
};

const TAlignCase AlignCases[] = {
    {"left", taLeftJustify, false, DT_LEFT},
    {"centre", taCenter, false, DT_CENTER},
    {"right", taRightJustify, false, DT_RIGHT},
    {"left mirrored", taLeftJustify, true, DT_RIGHT},
    {"right mirrored", taRightJustify, true, DT_LEFT},
};

class TextEditAlignment : public ::testing::TestWithParam<TAlignCase> {};

TEST_P(TextEditAlignment, DrawsWhereThePlatformDrawsTheSameText) {
  const TAlignCase& C = GetParam();
  TTextView V;
  V.Props->GetAlignment()->SetHorz(C.Alignment);
  TcxCustomTextEditViewData* D = V.Data();
  D->UseRightToLeftAlignment = C.RightToLeft;
  TOwned<TcxBitmap32> Ours = V.Draw(L"Wg Text 12");
  EXPECT_EQ(V.Info.DrawTextFlags & CXTO_SINGLELINE, CXTO_SINGLELINE);
  TOwned<TcxBitmap32> Ref = V.Reference(L"Wg Text 12", C.Format);
  EXPECT_EQ(DifferenceIn(Ours.get(), Ref.get(), V.Info.TextRect), "");
}

INSTANTIATE_TEST_SUITE_P(Table, TextEditAlignment, ::testing::ValuesIn(AlignCases),
                         [](const auto& I) {
                           std::string N = I.param.Name;
                           for (char& Ch : N)
                             if (!isalnum(static_cast<unsigned char>(Ch))) Ch = '_';
                           return N;
                         });

TEST(TextEditViewInfo, ListStylesShiftTheTextOnePixelInAndDown) {
  struct TCase {
    TAlignment Alignment;
    Integer DX;
  } Cases[] = {{taLeftJustify, 1}, {taRightJustify, -1}};
  for (const TCase& C : Cases) {
    TTextView Plain, List;
    Plain.Props->GetAlignment()->SetHorz(C.Alignment);
    List.Props->GetAlignment()->SetHorz(C.Alignment);
    List.Props->Style = esFixedList;
    TOwned<TcxBitmap32> PlainBitmap = Plain.Draw(L"Shift");
    TOwned<TcxBitmap32> ListBitmap = List.Draw(L"Shift");
    const TRect A = TextInkBounds(PlainBitmap.get(), Plain.Info.ClientRect);
    const TRect B = TextInkBounds(ListBitmap.get(), List.Info.ClientRect);
    EXPECT_EQ(B.left - A.left, C.DX) << C.Alignment;
    EXPECT_EQ(B.top - A.top, 1) << C.Alignment;
    const TSize SA = Plain.Data()->GetEditContentSize(nullptr, Variant(String(L"Shift")),
                                                      cxDefaultEditSizeProperties);
    const TSize SB = List.Data()->GetEditContentSize(nullptr, Variant(String(L"Shift")),
                                                     cxDefaultEditSizeProperties);
    EXPECT_EQ(SB.cx - SA.cx, 1);
  }
}

TEST(TextEditViewInfo, PasswordAndLetterCaseChangeWhatIsDrawn) {
  struct TCase {
    TcxEditEchoMode Echo;
    TEditCharCase CharCase;
    const wchar_t* Drawn;
  } Cases[] = {{eemPassword, ecNormal, L"***"},
               {eemPassword, ecUpperCase, L"***"},
               {eemNormal, ecUpperCase, L"ABC"},
               {eemNormal, ecLowerCase, L"abc"}};
  for (const TCase& C : Cases) {
    TTextView V;
    V.Props->SetEchoMode(C.Echo);
    V.Props->SetCharCase(C.CharCase);
    TOwned<TcxBitmap32> Ours = V.Draw(L"aBc");
    EXPECT_EQ(V.Info.Text, C.Drawn);
    TOwned<TcxBitmap32> Ref = V.Reference(C.Drawn, DT_LEFT);
    EXPECT_EQ(DifferenceIn(Ours.get(), Ref.get(), V.Info.TextRect), "");
  }
}

TEST(TextEditViewInfo, ASelectionPastTheEndPaintsOnlyTheCharactersThere) {
  TTextView V;
  TcxCustomTextEditViewData* D = V.Data();
  D->SelStart = 8;
  D->SelLength = 3;
  TOwned<TcxBitmap32> Ours = V.Draw(L"abcdefghij");
  EXPECT_EQ(V.Info.SelLength, 3);
  EXPECT_EQ(V.Info.TextOutData.SelLength, 2);
  const COLORREF Highlight = ColorToRGB(clHighlight);
  const TRect Bar = BoundsWhere(Ours.get(), [&](COLORREF C) { return C == Highlight; });
  TcxCanvas* C = Ours->cxCanvas();
  C->SetFont(V.Info.Font);
  const Integer Whole = C->TextWidth(L"abcdefghij");
  const Integer Tail = C->TextWidth(L"ij");
  EXPECT_EQ(Bar.right - Bar.left, Tail);
  EXPECT_EQ(Bar.right, V.Info.TextRect.left + Whole);
}

TEST(TextEditViewInfo, FocusRectangleOnlyForAFocusedStandaloneListEditor) {
  struct TCase {
    bool Inplace;
    TcxEditEditingStyle Style;
    bool Focused;
    bool Expected;
  } Cases[] = {{false, esFixedList, true, true},
               {false, esFixedList, false, false},
               {true, esFixedList, true, false}};
  for (const TCase& C : Cases) {
    TTextView V(C.Inplace);
    V.Props->Style = C.Style;
    V.Data()->Focused = C.Focused;
    TOwned<TcxBitmap32> B = V.Draw(L"x");
    // The focus rectangle lies one pixel inside the client rectangle.
    const TRect R = cxRectInflate(V.Info.ClientRect, -1, -1);
    bool Dotted = false;
    for (Integer X = R.left; X < R.right; ++X)
      Dotted |= PixelOf(B.get(), X, R.top) != RGB(255, 255, 255);
    EXPECT_EQ(Dotted, C.Expected) << C.Inplace << C.Focused;
  }
}

TEST(TextEditViewInfo, AutoHeightCellsBreakLongTextAndStartAtTheTop) {
  struct TCase {
    Integer MaxLineCount;
    bool Centred;
  } Cases[] = {{0, false}, {1, true}, {2, true}, {5, false}};
  for (const TCase& C : Cases) {
    TTextView V(true);
    TcxCustomTextEditViewData* D = V.Data();
    D->PaintOptions.Include(epoAutoHeight);
    D->MaxLineCount = C.MaxLineCount;
    TcxCanvas* Canvas = cxScreenCanvas();
    Canvas->SetFont(V.Edit->GetEditStyle()->GetFont());
    const Integer Row = Canvas->TextHeight(L"Wg");
    V.Draw(L"one two three four five six seven eight", TRect{0, 0, 80, 2 * Row + 2});
    EXPECT_TRUE(V.Info.DrawTextFlags & CXTO_WORDBREAK);
    EXPECT_FALSE(V.Info.DrawTextFlags & CXTO_SINGLELINE);
    EXPECT_EQ((V.Info.DrawTextFlags & CXTO_CENTER_VERTICALLY) != 0, C.Centred) << C.MaxLineCount;
  }
}

TEST(TextEditViewInfo, ContentSizeCountsRowsForAGivenWidth) {
  TTextView V(true);
  TcxCustomTextEditViewData* D = V.Data();
  TcxCanvas* C = cxScreenCanvas();
  C->SetFont(V.Edit->GetEditStyle()->GetFont());
  const Integer Row = C->TextHeight(L"Wg");
  const TSize Correction = D->GetEditContentSizeCorrection();
  const Integer Word = C->TextWidth(L"wwww ");
  const String Text = L"wwww wwww wwww";
  const TcxEditSizeProperties Narrow{-1, 0, Word + 2 + 1};
  const TSize S = GetTextEditContentSize(nullptr, D, Text, D->GetDrawTextFlags(), Narrow);
  EXPECT_EQ(S.cy, 3 * Row + Correction.cy);
  const TcxEditSizeProperties Limited{-1, 2, Word + 2 + 1};
  EXPECT_EQ(GetTextEditContentSize(nullptr, D, Text, D->GetDrawTextFlags(), Limited).cy,
            2 * Row + Correction.cy);
  const TSize Fit =
      GetTextEditContentSize(nullptr, D, Text, D->GetDrawTextFlags(), cxDefaultEditSizeProperties);
  EXPECT_EQ(Fit.cx, C->TextWidth(Text) + Correction.cx);
  EXPECT_EQ(Fit.cy, Row + Correction.cy);
  D->PaintOptions.Include(epoAllowZeroHeight);
  EXPECT_EQ(GetTextEditContentSize(nullptr, D, L"", D->GetDrawTextFlags(), Narrow).cy, 0);
}

TEST(TextEditViewInfo, HintOnlyOverTheTextAndOnlyWhenItDoesNotFit) {
  TTextView V;
  V.Draw(L"short");
  String Hint;
  bool MultiLine = false;
  TRect HintRect{};
  const TPoint Inside{V.Info.TextRect.left + 2, V.Info.TextRect.top + 2};
  EXPECT_FALSE(V.Info.NeedShowHint(nullptr, Inside, TRect{}, Hint, MultiLine, HintRect));
  V.Draw(L"a text far too long to fit into one hundred and forty pixels");
  EXPECT_TRUE(V.Info.NeedShowHint(nullptr, Inside, TRect{}, Hint, MultiLine, HintRect));
  EXPECT_EQ(Hint, V.Info.Text);
  EXPECT_FALSE(V.Info.NeedShowHint(nullptr, Outside, TRect{}, Hint, MultiLine, HintRect));
}

}  // namespace

namespace {

TEST(TextEditViewInfo, BaselineOfA13PixelFontByVerticalAlignment) {
  struct TCase {
    TcxEditVertAlignment Vert;
    Integer Expected;
  } Cases[] = {{taVCenter, 4 + 11 + 1}, {taTopJustify, 11 + 1}, {taBottomJustify, 21 - 2 + 1}};
  TOwned<TFont> Font = MakeOwned<TFont>();
  Font->SetName(L"Tahoma");
  Font->SetSize(8);
  TcxCanvas* C = cxScreenCanvas();
  C->SetFont(Font.get());
  C->Canvas()->SelectFont();
  TEXTMETRICW M{};
  ::GetTextMetricsW(C->Handle(), &M);
  ASSERT_EQ(M.tmHeight, 13);
  ASSERT_EQ(M.tmAscent, 11);
  for (const TCase& Case : Cases) {
    TOwned<TcxTextEditProperties> P(Create<TcxTextEditProperties>(nullptr));
    P->GetAlignment()->SetVert(Case.Vert);
    TcxCustomTextEditViewInfo Info;
    Info.EditProperties = P.get();
    Info.Font = Font.get();
    Info.TextRect = TRect{0, 0, 100, 21};
    EXPECT_EQ(Info.GetTextBaseLine(), Case.Expected) << Case.Vert;
  }
}

TEST(TextEditViewInfo, OffsetMovesThePreparedRowsWithTheTextRectangle) {
  TTextView V;
  TOwned<TcxBitmap32> Before = V.Draw(L"Moved");
  const TRect Text = V.Info.TextRect;
  const TcxTextRow Row = cxGetTextRow(V.Info.TextOutData.TextRows, 0);
  V.Info.Offset(5, 3);
  EXPECT_EQ(V.Info.TextRect, cxRectOffset(Text, 5, 3));
  const TcxTextRow& Moved = cxGetTextRow(V.Info.TextOutData.TextRows, 0);
  EXPECT_EQ(Moved.TextOriginX, Row.TextOriginX + 5);
  EXPECT_EQ(Moved.TextOriginY, Row.TextOriginY + 3);
}

}  // namespace
