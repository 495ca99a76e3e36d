#include "cxRegExpr.h"

#include <gtest/gtest.h>

#include "RegExprTestSupport.h"

namespace {

struct TErrorCase {
  const wchar_t* Pattern;
  std::vector<TErrorAt> Errors;
};

class cxRegExprErrors : public ::testing::TestWithParam<TErrorCase> {};

TEST_P(cxRegExprErrors, ReportsEveryErrorWithItsPosition) {
  const TErrorCase& C = GetParam();
  EXPECT_EQ(CompileErrors(C.Pattern), C.Errors) << testing::PrintToString(String(C.Pattern));
}

const String TooLarge = L"The quantifier makes the expression larger than 100000 items";
const String TooDeep = L"The expression is nested deeper than 1000 levels";

INSTANTIATE_TEST_SUITE_P(
    Table, cxRegExprErrors,
    ::testing::Values(
        TErrorCase{L"a|", {{0, 0, L"The alternative should not be empty"}}},
        TErrorCase{L"|a", {{1, 1, L"The alternative should not be empty"}}},
        TErrorCase{L"a||b", {{1, 3, L"The alternative should not be empty"}}},
        TErrorCase{L"(a)\\2", {{1, 4, L"Too big reference number"}}},
        TErrorCase{L"a{3,1}", {{1, 5, L"Incorrect parameter quantifier"}}},
        TErrorCase{L"a{,2}", {{1, 3, L"Incorrect parameter quantifier"}}},
        TErrorCase{L"a{2,3,}", {{1, 6, L"Incorrect parameter quantifier"}}},
        TErrorCase{L"{2}b", {{1, 1, L"Incorrect parameter quantifier"}}},
        TErrorCase{L"a?{2}", {{1, 3, L"The parameter quantifier cannot be applied here"}}},
        TErrorCase{L"a?*", {{1, 3, L"The '*' quantifier cannot be applied here"}}},
        TErrorCase{L"(a?)+", {{1, 5, L"The '+' quantifier cannot be applied here"}}},
        TErrorCase{L"(a|b*)*", {{1, 7, L"The '*' quantifier cannot be applied here"}}},
        TErrorCase{L"a{0}+", {{1, 5, L"The '+' quantifier cannot be applied here"}}},
        TErrorCase{L"*a", {{1, 1, L"Illegal quantifier '*'"}}},
        TErrorCase{L"*|+", {{1, 1, L"Illegal quantifier '*'"}, {1, 3, L"Illegal quantifier '+'"}}},
        TErrorCase{L"[z-a]",
                   {{1, 4,
                     L"The starting character of the subrange must be less than the finishing "
                     L"one"}}},
        TErrorCase{L"[a-a]",
                   {{1, 4,
                     L"The starting character of the subrange must be less than the finishing "
                     L"one"}}},
        TErrorCase{L"[a-b-c]", {{1, 5, L"Illegal '-'"}}},
        TErrorCase{L"[]", {{1, 2, L"Can't create empty enumeration"}}},
        TErrorCase{L"[^ ]", {{1, 4, L"Can't create empty enumeration"}}},
        TErrorCase{L"((a)", {{0, 0, L"Missing ')'"}}},
        TErrorCase{L"a)", {{0, 0, L"Unnecessary ')'"}}},
        TErrorCase{L")(", {{1, 1, L"Illegal ')'"}, {0, 0, L"The alternative should not be empty"}}},
        TErrorCase{L"()", {{1, 2, L"The block should not be empty"}}},
        TErrorCase{L"(a|)", {{1, 4, L"The block should not be empty"}}},
        TErrorCase{L"'ab", {{1, 4, L"Missing ' ' '"}}},
        TErrorCase{L"[ab", {{1, 4, L"Missing ']'"}}}, TErrorCase{L"[a-", {{1, 4, L"Missing ']'"}}},
        TErrorCase{L"a{2", {{1, 4, L"Missing '}'"}}},
        TErrorCase{L"a{2x}", {{1, 4, L"Illegal 'x'"}}},
        TErrorCase{L"a{'}", {{1, 3, L"Illegal ' ' '"}}},
        TErrorCase{L"\\x4", {{1, 4, L"Hexadecimal number expected"}}},
        TErrorCase{L"\\x4g", {{1, 4, L"Hexadecimal number expected but 'g' found"}}},
        TErrorCase{L"a\\ b", {{1, 3, L"The space character is not allowed after '\\'"}}},
        TErrorCase{L"   ", {{0, 0, L"The source stream is empty"}}},
        TErrorCase{L"\r\n\t", {{0, 0, L"The source stream is empty"}}},
        // Lines count at CR, columns restart after LF.
        TErrorCase{L"a\r\n**", {{2, 2, L"The '*' quantifier cannot be applied here"}}},
        TErrorCase{L"ab\r\n\r\n  ||b", {{3, 4, L"The alternative should not be empty"}}},
        // A count past 32 bits is an error at the count, not a conversion failure.
        TErrorCase{L"a{99999999999}", {{1, 3, L"Illegal integer value"}}},
        TErrorCase{L"a{1,2147483648}", {{1, 5, L"Illegal integer value"}}},
        // Expansion and nesting stay within the named limits.
        TErrorCase{L"(a{1000}){1000}", {{1, 10, TooLarge}}},
        TErrorCase{L"((a{1000}){1000}){1000}", {{1, 11, TooLarge}, {1, 18, TooLarge}}},
        TErrorCase{L"a{100000}", {{1, 2, TooLarge}}},
        TErrorCase{L"(ab{50000})\\1", {{1, 12, TooLarge}}},
        TErrorCase{L"a{0,1001}", {{1, 2, TooDeep}}}));

TEST(cxRegExprErrors, NestingPastTheLimitIsAnErrorAtTheParenthesis) {
  const String Deep = String(1001, L'(') + L"a" + String(1001, L')');
  EXPECT_EQ(CompileErrors(Deep), (std::vector<TErrorAt>{{1, 1001, TooDeep}}));
  const String AtLimit = String(1000, L'(') + L"a" + String(1000, L')');
  EXPECT_TRUE(CompileErrors(AtLimit).empty());
  EXPECT_TRUE(CompileErrors(L"a{0,1000}").empty());
  EXPECT_TRUE(CompileErrors(L"a{99990}").empty());
}

TEST(cxRegExprErrors, FullMessageNamesLineAndColumn) {
  EXPECT_EQ(TcxRegExprError(1, 4, L"Illegal quantifier '*'").FullMessage(),
            L"Line1, Char4: Illegal quantifier '*'");
  EXPECT_EQ(TcxRegExprError(2, 0, L"text").FullMessage(), L"Line2: text");
  EXPECT_EQ(TcxRegExprError(0, 0, L"Missing ')'").FullMessage(), L"Missing ')'");
}

TEST(cxRegExprErrors, ExceptionKeepsItsErrorsAfterTheCompilerMovesOn) {
  auto* R = new TcxRegExpr;
  try {
    R->Compile(L"*a|+");
    FAIL() << "no error";
  } catch (const EcxRegExprError& E) {
    EcxRegExprError Kept(E);
    R->Compile(L"abc");
    delete R;
    ASSERT_EQ(Kept.Errors().Count(), 2);
    EXPECT_EQ(Kept.Errors().Items(0)->FullMessage(), L"Line1, Char1: Illegal quantifier '*'");
    EXPECT_EQ(Kept.Errors().Items(1)->FullMessage(), L"Line1, Char4: Illegal quantifier '+'");
    EXPECT_EQ(Kept.Message(), L"");
    std::unique_ptr<Exception> Copy(Kept.Clone());
    EXPECT_EQ(dynamic_cast<EcxRegExprError&>(*Copy).Errors().Count(), 2);
  }
}

TEST(cxRegExprErrors, SourceStreamThatCannotBeReadIsReported) {
  TcxRegExpr R;
  EXPECT_EQ(CompileErrors(R, nullptr),
            (std::vector<TErrorAt>{{0, 0, L"The source stream is not assigned"}}));
  EXPECT_FALSE(R.IsCompiled());
  EXPECT_EQ(R.Stream(), nullptr);
}

TEST(cxRegExprRunTime, EveryOperationNeedsACompiledExpression) {
  TcxRegExpr R;
  const String NotCompiled = L"Regular expression is not compiled";
  for (int Attempt = 0; Attempt < 2; ++Attempt) {
    Char C = L'a';
    auto Expect = [&](auto AOperation) {
      try {
        AOperation();
        ADD_FAILURE() << "no error";
      } catch (const EcxRegExprError&) {
        ADD_FAILURE() << "a compile error";
      } catch (const EcxEditError& E) {
        EXPECT_EQ(E.Message(), NotCompiled);
      }
    };
    Expect([&] { R.Next(C); });
    Expect([&] { R.NextEx(L"a"); });
    Expect([&] { R.Prev(); });
    Expect([&] { R.Reset(); });
    Expect([&] { R.IsFinal(); });
    Expect([&] { R.IsStart(); });
    Expect([&] { R.Print(); });
    // A failed compile leaves the expression not compiled, with its errors.
    CompileErrors(R, L"(a");
  }
}

TEST(cxRegExprRunTime, StreamHoldsThePatternWhileCompiled) {
  TcxRegExpr R;
  EXPECT_EQ(R.Stream(), nullptr);
  R.Compile(L"'день' \\d");
  ASSERT_NE(R.Stream(), nullptr);
  auto* S = dynamic_cast<TStringStream*>(R.Stream());
  ASSERT_NE(S, nullptr);
  EXPECT_EQ(S->Bytes(), TEncoding::GetEncoding(CP_UTF8).GetBytes(L"'день' \\d"));
  EXPECT_TRUE(Matches(R, L"день5"));
}

// ---------------------------------------------------------------------------

struct TMatchCase {
  const wchar_t* Pattern;
  const wchar_t* Text;
  Integer Accepted;  // characters Next takes before the first refusal
  bool Final;        // IsFinal after them
};

class cxRegExprMatch : public ::testing::TestWithParam<TMatchCase> {};

TEST_P(cxRegExprMatch, TakesTheViablePrefix) {
  const TMatchCase& C = GetParam();
  TcxRegExpr R;
  R.Compile(C.Pattern);
  Integer Accepted = 0;
  for (const wchar_t* P = C.Text; *P; ++P) {
    Char T = *P;
    if (!R.Next(T)) break;
    ++Accepted;
  }
  EXPECT_EQ(Accepted, C.Accepted) << testing::PrintToString(String(C.Pattern));
  EXPECT_EQ(R.IsFinal(), C.Final) << testing::PrintToString(String(C.Pattern));
}

INSTANTIATE_TEST_SUITE_P(
    Table, cxRegExprMatch,
    ::testing::Values(
        TMatchCase{L"ab|ac", L"ab", 2, true}, TMatchCase{L"ab|ac", L"ad", 1, false},
        TMatchCase{L"(a)(b)\\2\\1", L"abba", 4, true}, TMatchCase{L"(a){2,3}", L"aa", 2, true},
        TMatchCase{L"(a){2,3}", L"aaaa", 3, true}, TMatchCase{L"(a){2,3}", L"a", 1, false},
        TMatchCase{L"a{0}", L"", 0, true}, TMatchCase{L"a{0}", L"a", 0, true},
        TMatchCase{L"a{3}", L"aaaa", 3, true}, TMatchCase{L"a{2,}", L"aaaaa", 5, true},
        TMatchCase{L"a{2,}", L"a", 1, false}, TMatchCase{L"a b", L"ab", 2, true},
        TMatchCase{L"'a b'", L"a b", 3, true}, TMatchCase{L"'it''s'", L"it's", 4, true},
        TMatchCase{L"(a)(b)", L"ab", 2, true},
        // A block whose content can match nothing can be skipped when the text ends.
        TMatchCase{L"a(b?)", L"a", 1, true}, TMatchCase{L"(a?)", L"", 0, true},
        TMatchCase{L"a(b)?", L"a", 1, true}, TMatchCase{L"ab?", L"a", 1, true},
        TMatchCase{L"a(b|c?)", L"a", 1, true}, TMatchCase{L"a((b?)(c*))", L"a", 1, true},
        TMatchCase{L"a(b?)c", L"a", 1, false},
        // «{n,}» on a block that can be empty makes a cycle of block states.
        TMatchCase{L"(a?){2,}", L"", 0, true}, TMatchCase{L"(a?){2,}", L"aaab", 3, true},
        TMatchCase{L"((a?)|b){1,}c", L"abbac", 5, true},
        // Stacked quantifiers wrap: «a+{0,1}» is «(a+)?».
        TMatchCase{L"a+{0,1}", L"aaa", 3, true}, TMatchCase{L"a+*", L"aaa", 3, true},
        TMatchCase{L"a+{2}", L"a", 1, false}, TMatchCase{L"a+{2}", L"aa", 2, true},
        // A reference copies the block as parsed so far, with its own quantifier; after a
        // count, the block as it was before it.
        TMatchCase{L"(a)+\\1", L"aaa", 3, true}, TMatchCase{L"(a\\1)", L"aa", 2, true},
        TMatchCase{L"(a){2}\\1", L"aaa", 3, true}, TMatchCase{L"(a){2}\\1", L"aaaa", 3, true},
        TMatchCase{L"(a|\\1)b", L"b", 1, true}, TMatchCase{L"(x(y))\\2\\1", L"xyyxy", 5, true},
        TMatchCase{L"[a-]", L"-", 1, true}, TMatchCase{L"[-a]", L"-", 1, true},
        TMatchCase{L"[^-a]", L"-", 0, false}, TMatchCase{L"[a^.]", L"^", 1, true},
        TMatchCase{L"[\\d_]+", L"1_2x", 3, true}, TMatchCase{L"[^\\d]", L"5", 0, false},
        TMatchCase{L"[\\1]", L"1", 1, true}, TMatchCase{L"[' ]']", L"]", 1, true},
        TMatchCase{L"\\w\\W\\s\\S", L"_-\tx", 4, true}, TMatchCase{L"\\D", L"7", 0, false},
        TMatchCase{L".", L"\n", 1, true}, TMatchCase{L"\\x41\\0\\.\\(", L"A0.(", 4, true},
        TMatchCase{L"\\t\\n\\r\\f\\a\\e", L"\t\n\r\f\a\x1b", 6, true},
        TMatchCase{L"\\q\\\\", L"q\\", 2, true}, TMatchCase{L"a\\", L"a", 1, true},
        TMatchCase{L"^$]}-,", L"^$]}-,", 6, true}));

TEST(cxRegExprMatch, SpaceClassAcceptsNul) {
  TcxRegExpr R;
  R.Compile(L"\\s\\s");
  Char C = 0;
  EXPECT_TRUE(R.Next(C));
  C = 11;  // vertical tab is not a blank here
  EXPECT_FALSE(R.Next(C));
}

TEST(cxRegExprAutomat, SetsStepsAndHistory) {
  TcxRegExpr R;
  R.Compile(L"ab|ac");
  EXPECT_TRUE(R.IsStart());
  EXPECT_FALSE(R.Prev());
  EXPECT_TRUE(R.IsStart());
  Char C = L'a';
  ASSERT_TRUE(R.Next(C));
  EXPECT_EQ(R.Automat()->CurrentStates().Count(), 2);
  EXPECT_FALSE(R.IsStart());
  C = L'b';
  ASSERT_TRUE(R.Next(C));
  EXPECT_EQ(R.Automat()->CurrentStates().Count(), 1);
  EXPECT_EQ(R.Automat()->HistoryCount(), 2);
  C = L'x';
  EXPECT_FALSE(R.Next(C));
  EXPECT_EQ(R.Automat()->HistoryCount(), 2);
  EXPECT_TRUE(R.Prev());
  EXPECT_EQ(R.Automat()->CurrentStates().Count(), 2);
  R.Reset();
  EXPECT_EQ(R.Automat()->HistoryCount(), 0);
  EXPECT_TRUE(R.IsStart());
}

TEST(cxRegExprAutomat, NextExKeepsWhatFitsAsTyped) {
  TcxRegExpr R;
  R.Compile(L"\\d+");
  EXPECT_EQ(R.NextEx(L"1a2-3"), L"123");
  R.Compile(L"AB");
  R.SetCaseInsensitive(true);
  EXPECT_EQ(R.NextEx(L"abc"), L"ab");
  EXPECT_TRUE(R.IsFinal());
}

TEST(cxRegExprAutomat, PrintDumpsTheTree) {
  TcxRegExpr R;
  R.Compile(L"a(b|c)*");
  EXPECT_EQ(R.Print(),
            L"<Start_Alt>\r\nitem --> \r\n<Start_Block>\r\n<Start_Alt>\r\nitem --> \r\n"
            L"<Finish_Alt>\r\n<Start_Alt>\r\nitem --> \r\n<Finish_Alt>\r\n<Finish_Block> --> *\r\n"
            L"<Finish_Alt>\r\n");
  // «X{2,4}» is «X X (X X?)?».
  R.Compile(L"a{2,4}");
  EXPECT_EQ(R.Print(),
            L"<Start_Alt>\r\n<Start_Block>\r\n<Start_Alt>\r\nitem --> \r\nitem --> \r\n"
            L"<Start_Block>\r\n<Start_Alt>\r\nitem --> \r\nitem --> ?\r\n<Finish_Alt>\r\n"
            L"<Finish_Block> --> ?\r\n<Finish_Alt>\r\n<Finish_Block> --> \r\n<Finish_Alt>\r\n");
}

// ---------------------------------------------------------------------------
// Case-insensitive matching is kept apart from the comparison with PCRE2.

struct TCaseCase {
  const wchar_t* Pattern;
  const wchar_t* Typed;     // characters typed in turn
  const wchar_t* Expected;  // what each became, "#" where it was refused
};

class cxRegExprCase : public ::testing::TestWithParam<TCaseCase> {};

TEST_P(cxRegExprCase, AdjustsTheCaseToThePattern) {
  const TCaseCase& C = GetParam();
  TcxRegExpr R;
  R.Compile(C.Pattern);
  R.SetCaseInsensitive(true);
  String Got;
  for (const wchar_t* P = C.Typed; *P; ++P) {
    Char T = *P;
    Got += R.Next(T) ? T : L'#';
  }
  EXPECT_EQ(Got, C.Expected) << testing::PrintToString(String(C.Pattern));
}

INSTANTIATE_TEST_SUITE_P(
    Table, cxRegExprCase,
    ::testing::Values(TCaseCase{L"ABC", L"abc", L"ABC"}, TCaseCase{L"abc", L"AbC", L"abc"},
                      // Ranges compare codes only.
                      TCaseCase{L"[A-Z]", L"a", L"#"}, TCaseCase{L"[A-Z]", L"Q", L"Q"},
                      // The exact match comes first and keeps the case typed.
                      TCaseCase{L"a|A", L"A", L"A"}, TCaseCase{L"(A|b)c", L"aC", L"Ac"},
                      TCaseCase{L"[^a]", L"A", L"#"}, TCaseCase{L"[^a]", L"b", L"b"},
                      TCaseCase{L"[a]", L"A", L"a"}, TCaseCase{L"[xA-C]", L"X", L"x"},
                      TCaseCase{L"'Да'", L"дА", L"Да"}, TCaseCase{L"Ёж", L"ёЖ", L"Ёж"},
                      TCaseCase{L"\\d+x", L"12X", L"12x"}));

// ---------------------------------------------------------------------------
// Automatic insertion of the characters that the pattern forces.

class TInsertions {
 public:
  explicit TInsertions(TcxRegExpr& R) {
    R.SetOnSymbolUpdate(MakeEvent<&TInsertions::Update>(this));
    R.SetOnSymbolDelete(MakeEvent<&TInsertions::Delete>(this));
  }
  String Inserted;
  Integer Deleted = 0;

 private:
  void Update(Char C) { Inserted += C; }
  void Delete() { ++Deleted; }
};

class cxRegExprInsertion : public ::testing::TestWithParam<Char> {
 protected:
  void SetUp() override { Saved = FormatSettings(); }
  void TearDown() override { FormatSettings() = Saved; }
  TFormatSettings Saved;
};

TEST_P(cxRegExprInsertion, DateSeparatorIsInsertedAndTakenBackWithTheDigitBeforeIt) {
  FormatSettings().DateSeparator = GetParam();
  TcxRegExpr R;
  TInsertions Log(R);
  R.Compile(L"\\d\\d/\\d\\d");
  R.SetUpdateOn(true);
  EXPECT_EQ(Log.Inserted, L"");
  EXPECT_EQ(TypeText(R, L"12"), L"12");
  EXPECT_EQ(Log.Inserted, String(1, GetParam()));
  EXPECT_EQ(R.Automat()->HistoryCount(), 3);
  EXPECT_TRUE(R.Prev());
  EXPECT_EQ(Log.Deleted, 1);
  EXPECT_EQ(R.Automat()->HistoryCount(), 1);
  Char C = L'3';
  ASSERT_TRUE(R.Next(C));
  EXPECT_EQ(Log.Inserted, String(2, GetParam()));
  // The separator is read when matching: the other one is refused.
  C = GetParam() == L'/' ? L'.' : L'/';
  EXPECT_FALSE(R.Next(C));
  EXPECT_EQ(TypeText(R, L"45"), L"45");
  EXPECT_TRUE(R.IsFinal());
}

INSTANTIATE_TEST_SUITE_P(TwoRegionalFormats, cxRegExprInsertion, ::testing::Values(L'/', L'.'));

TEST(cxRegExprInsertion, StopsWhereTheTextCouldEnd) {
  struct TCase {
    const wchar_t* Pattern;
    const wchar_t* Typed;
    const wchar_t* Inserted;
  };
  for (const TCase& C :
       {TCase{L"\\d\\d:?", L"12", L""}, TCase{L"a(b?)c", L"a", L""}, TCase{L"a(b?)", L"a", L""},
        TCase{L"ab?", L"a", L""}, TCase{L"a(b)", L"a", L"b"}, TCase{L"a(bc|bd)", L"a", L"b"},
        TCase{L"(x|y)'-'(z)+", L"y", L"-z"}, TCase{L"a+b", L"a", L""}}) {
    TcxRegExpr R;
    R.Compile(C.Pattern);
    TypeText(R, C.Typed);
    TInsertions Log(R);
    R.SetUpdateOn(true);
    EXPECT_EQ(Log.Inserted, C.Inserted) << testing::PrintToString(String(C.Pattern));
  }
}

TEST(cxRegExprInsertion, ForcedPrefixIsInsertedAtCompileButNotAfterReset) {
  TcxRegExpr R;
  TInsertions Log(R);
  R.SetUpdateOn(true);
  R.Compile(L"'+7 '\\d+");
  EXPECT_EQ(Log.Inserted, L"+7 ");
  R.Reset();
  EXPECT_TRUE(R.IsStart());
  EXPECT_EQ(Log.Inserted, L"+7 ");
  // Characters at positions the pattern forces count as inserted when taken back, even when
  // they were typed.
  R.SetUpdateOn(false);
  EXPECT_EQ(TypeText(R, L"+7 5"), L"+7 5");
  R.SetUpdateOn(true);
  EXPECT_TRUE(R.Prev());
  EXPECT_EQ(Log.Deleted, 0);
  EXPECT_FALSE(R.Prev());
  EXPECT_EQ(Log.Deleted, 3);
  EXPECT_TRUE(R.IsStart());
}

}  // namespace

namespace {

// "\p" takes the decimal separator when the pattern is compiled; "/" and ":" read theirs when
// matching.
TEST(cxRegExprSeparators, DecimalSeparatorIsTakenAtCompileTime) {
  const TFormatSettings Saved = FormatSettings();
  for (Char Decimal : {L'.', L','}) {
    FormatSettings().DecimalSeparator = Decimal;
    TcxRegExpr R;
    R.Compile(L"\\d\\p\\d");
    FormatSettings().DecimalSeparator = Decimal == L'.' ? L',' : L'.';
    EXPECT_TRUE(Matches(R, String(L"1") + Decimal + L"5"));
    EXPECT_FALSE(Matches(R, String(L"1") + FormatSettings().DecimalSeparator + L"5"));
  }
  FormatSettings().TimeSeparator = L'.';
  TcxRegExpr R;
  R.Compile(L"\\d:\\d");
  EXPECT_TRUE(Matches(R, L"1.2"));
  FormatSettings().TimeSeparator = L':';
  EXPECT_TRUE(Matches(R, L"1:2"));
  FormatSettings() = Saved;
}

}  // namespace
