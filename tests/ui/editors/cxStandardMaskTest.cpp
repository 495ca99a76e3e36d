#include "cxStandardMask.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class cxStandardMaskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Saved = FormatSettings();
    FormatSettings().DateSeparator = L'/';
    FormatSettings().TimeSeparator = L':';
  }
  void TearDown() override { FormatSettings() = Saved; }
  TFormatSettings Saved;
};

struct TEmptyCase {
  const wchar_t* Mask;
  const wchar_t* FullEmpty;
  const wchar_t* Empty;
  Integer Count;
};

TEST_F(cxStandardMaskTest, EmptyStringsShowLiteralsAndBlanks) {
  for (const TEmptyCase& C : {
           TEmptyCase{L"(999) 000-0000", L"(___) ___-____", L"(   )    -    ", 14},
           TEmptyCase{L"(999) 000-0000;0", L"(___) ___-____", L"          ", 14},
           TEmptyCase{L"00;0;*", L"**", L"  ", 2},
           TEmptyCase{L"00;2", L"__;2", L"  ;2", 4},
           TEmptyCase{L"0\\0", L"_0", L" 0", 2},
           TEmptyCase{L"00\\", L"__", L"  ", 2},
           TEmptyCase{L"!99/99:99;1; ", L"  /  :  ", L"  /  :  ", 8},
           TEmptyCase{L"a;b", L"_;b", L" ;b", 3},
           TEmptyCase{L"", L"", L"", 0},
       }) {
    TcxStandardMask M;
    M.Compile(C.Mask);
    EXPECT_EQ(M.GetFullEmptyString(), C.FullEmpty) << testing::PrintToString(String(C.Mask));
    EXPECT_EQ(M.GetEmptyString(), C.Empty) << testing::PrintToString(String(C.Mask));
    EXPECT_EQ(M.Count(), C.Count) << testing::PrintToString(String(C.Mask));
    EXPECT_EQ(M.Mask(), C.Mask);
  }
}

TEST_F(cxStandardMaskTest, CompileReadsHeadTailAndSeparatorsAtCompileTime) {
  TcxStandardMask M;
  M.Compile(L"!00;0;*");
  EXPECT_TRUE(M.Leading());
  EXPECT_FALSE(M.SaveLiteralCharacters());
  EXPECT_EQ(M.Blank(), L'*');
  FormatSettings().DateSeparator = L'.';
  M.Compile(L"00/00");
  FormatSettings().DateSeparator = L'-';
  EXPECT_EQ(M.GetFullEmptyString(), L"__.__");
  M.Compile(L"00");  // compiling again restores the defaults
  EXPECT_FALSE(M.Leading());
  EXPECT_TRUE(M.SaveLiteralCharacters());
  EXPECT_EQ(M.Blank(), L'_');
}

struct TValidCase {
  const wchar_t* Mask;
  const wchar_t* Text;
  bool Valid;
  bool FullValid;
  const wchar_t* Converted;  // the text after the checks' case conversion
};

TEST_F(cxStandardMaskTest, ValidityAndCaseControl) {
  for (const TValidCase& C : {
           TValidCase{L">LL", L"ab", true, true, L"AB"},
           TValidCase{L"<>LL", L"aB", true, true, L"aB"},
           TValidCase{L"<LL", L"AB", true, true, L"ab"},
           TValidCase{L">L<L<>L", L"aBc", true, true, L"Abc"},
           TValidCase{L"LL", L"я1", false, false, L"я1"},
           TValidCase{L">LL", L"жЁ", true, true, L"ЖЁ"},
           TValidCase{L"AA", L"1ы", true, true, L"1ы"},
           TValidCase{L"###", L"+-5", true, true, L"+-5"},
           TValidCase{L"###", L"_ 5", true, true, L"_ 5"},
           TValidCase{L"00", L"1_", true, false, L"1_"},
           TValidCase{L"99", L"1_", true, true, L"1_"},
           TValidCase{L"00", L"1", true, false, L"1"},
           TValidCase{L"00", L"123", false, false, L"123"},
           TValidCase{L"0\\0", L"50", true, true, L"50"},
           TValidCase{L"0\\0", L"55", false, false, L"55"},
           TValidCase{L"(000)", L"(12_", true, false, L"(12_"},
           TValidCase{L"(000)", L"_123)", false, false, L"_123)"},
           TValidCase{L"cC", L" %", true, true, L" %"},
           TValidCase{L"00;0;*", L"1*", true, false, L"1*"},
       }) {
    TcxStandardMask M;
    M.Compile(C.Mask);
    String Text = C.Text;
    EXPECT_EQ(M.IsValid(Text), C.Valid) << testing::PrintToString(String(C.Mask) + L" " + C.Text);
    Text = C.Text;
    EXPECT_EQ(M.IsFullValid(Text), C.FullValid)
        << testing::PrintToString(String(C.Mask) + L" " + C.Text);
    if (C.Valid) EXPECT_EQ(Text, C.Converted) << testing::PrintToString(String(C.Mask));
  }
}

struct TFormatCase {
  const wchar_t* Mask;
  const wchar_t* Text;
  const wchar_t* Formatted;
  const wchar_t* Value;  // Format2 of the formatted text
};

TEST_F(cxStandardMaskTest, FormatFitsTextsAndFormat2StoresThem) {
  for (const TFormatCase& C : {
           TFormatCase{L"999", L"12", L"12_", L"12 "},
           TFormatCase{L"!999", L"12", L"_12", L" 12"},
           TFormatCase{L"00/00;0", L"1234", L"12/34", L"1234"},
           TFormatCase{L"00/00;0", L"12/34", L"12/34", L"1234"},
           TFormatCase{L"00/00", L"1234", L"12/34", L"12/34"},
           TFormatCase{L"00/00", L"12/34", L"12/34", L"12/34"},
           TFormatCase{L"(999) 000-0000", L"5551234567", L"(555) 123-4567", L"(555) 123-4567"},
           TFormatCase{L"(999) 000-0000", L"(5 ) 123-4567", L"(5__) 123-4567", L"(5  ) 123-4567"},
           TFormatCase{L">LL-00", L"ab12", L"AB-12", L"AB-12"},
           TFormatCase{L"00", L"a1b2c", L"12", L"12"},
           TFormatCase{L"!00;1;*", L"7", L"*7", L" 7"},
       }) {
    TcxStandardMask M;
    M.Compile(C.Mask);
    String Text = C.Text;
    M.Format(Text);
    EXPECT_EQ(Text, C.Formatted) << testing::PrintToString(String(C.Mask) + L" " + C.Text);
    M.Format2(Text);
    EXPECT_EQ(Text, C.Value) << testing::PrintToString(String(C.Mask) + L" " + C.Text);
  }
}

TEST_F(cxStandardMaskTest, FormatKeepsTheTypedCaseWhenAsked) {
  TcxStandardMask M;
  M.Compile(L">LL");
  String Text = L"ab";
  M.Format(Text, false);
  EXPECT_EQ(Text, L"ab");
}

// The full empty string is its own format, and a stored value survives being shown and stored
// again, for masks with and without literals, from both ends.
TEST_F(cxStandardMaskTest, FormatAndFormat2RoundTrip) {
  std::mt19937 Rng(7);
  const String Letters = L"abcXYZжЖё", Digits = L"0123456789";
  for (const wchar_t* Mask : {L"(999) 000-0000", L"(999) 000-0000;0", L"!99/99/9999;1; ",
                              L"!99:99;0;*", L">LL-0000", L"<>lll\\-aa;0", L"###.##", L"CCc;1;#"}) {
    TcxStandardMask M;
    M.Compile(Mask);
    String Empty = M.GetFullEmptyString();
    M.Format(Empty);
    EXPECT_EQ(Empty, M.GetFullEmptyString()) << testing::PrintToString(String(Mask));
    for (int I = 0; I < 50; ++I) {
      String Display = M.GetFullEmptyString();
      for (Integer K = 0; K < M.Count(); ++K) {
        auto* Many = dynamic_cast<TcxStandardMaskManyItem*>(M.Items(K));
        if (!Many || Rng() % 4 == 0) continue;
        const String& Pool = dynamic_cast<TcxStandardMaskNumericItem*>(Many) ||
                                     dynamic_cast<TcxStandardMaskNumericSymbolItem*>(Many)
                                 ? Digits
                                 : Letters;
        Char C = Pool[Rng() % Pool.size()];
        Many->Check(C);
        Display[static_cast<size_t>(K)] = C;
      }
      String Value = Display;
      M.Format2(Value);
      String Shown = Value;
      M.Format(Shown);
      String Again = Shown;
      M.Format2(Again);
      EXPECT_EQ(Again, Value) << testing::PrintToString(String(Mask) + L" " + Display);
    }
  }
}

}  // namespace
