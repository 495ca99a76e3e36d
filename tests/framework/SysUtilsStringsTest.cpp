#include <gtest/gtest.h>

#include "SysUtils.h"

namespace {

TEST(SysUtilsStrings, TrimRemovesBlanksAndControlCharacters) {
  const String S = L" \t\x01 a b \r\n";
  EXPECT_EQ(Trim(S), L"a b");
  EXPECT_EQ(TrimLeft(S), L"a b \r\n");
  EXPECT_EQ(TrimRight(S), L" \t\x01 a b");
  EXPECT_EQ(Trim(L"  "), L"");
  EXPECT_EQ(Trim(L"\u00A0x\u00A0"), L"\u00A0x\u00A0");  // no-break space is not a blank
}

TEST(SysUtilsStrings, CaseMappingAsciiVersusPlatform) {
  EXPECT_EQ(UpperCase(L"abz \u00e4\u0431"), L"ABZ \u00e4\u0431");
  EXPECT_EQ(LowerCase(L"ABZ \u00c4\u0411"), L"abz \u00c4\u0411");
  EXPECT_EQ(AnsiUpperCase(L"abz \u00e4\u0431"), L"ABZ \u00c4\u0411");
  EXPECT_EQ(AnsiLowerCase(L"ABZ \u00c4\u0411"), L"abz \u00e4\u0431");
}

TEST(SysUtilsStrings, Comparisons) {
  EXPECT_EQ(CompareText(L"abc", L"ABC"), 0);
  EXPECT_LT(CompareText(L"abc", L"ABD"), 0);
  EXPECT_GT(CompareText(L"abcd", L"ABC"), 0);
  EXPECT_TRUE(SameText(L"Hello", L"hELLO"));
  EXPECT_FALSE(SameText(L"\u0430", L"\u0410"));  // only ASCII letters fold
  // Ordinal: 'a' (97) sorts after 'B' (66); linguistic: before it.
  EXPECT_GT(CompareStr(L"a", L"B"), 0);
  EXPECT_LT(AnsiCompareStr(L"a", L"B"), 0);
  EXPECT_LT(AnsiCompareText(L"a", L"B"), 0);
  EXPECT_EQ(AnsiCompareText(L"\u0430\u0431\u0432", L"\u0410\u0411\u0412"), 0);
  EXPECT_TRUE(AnsiSameText(L"\u00e9t\u00e9", L"\u00c9T\u00c9"));
  EXPECT_FALSE(AnsiSameStr(L"a", L"A"));
  EXPECT_NE(AnsiCompareStr(L"a", L"A"), 0);
}

TEST(SysUtilsStrings, StringReplace) {
  struct Case {
    const wchar_t *S, *Old, *New;
    TReplaceFlags Flags;
    const wchar_t* Expected;
  } Cases[] = {
      {L"aXbXc", L"X", L"-", {}, L"a-bXc"},
      {L"aXbXc", L"X", L"-", {rfReplaceAll}, L"a-b-c"},
      {L"aXbxc", L"x", L"-", {rfReplaceAll}, L"aXb-c"},
      {L"aXbxc", L"x", L"-", {rfReplaceAll, rfIgnoreCase}, L"a-b-c"},
      {L"aaa", L"a", L"aa", {rfReplaceAll}, L"aaaaaa"},
      {L"abc", L"", L"-", {rfReplaceAll}, L"abc"},
      {L"abc", L"abc", L"", {}, L""},
      {L"\u041f\u0440\u0438\u0412\u0415\u0422!",
       L"\u043f\u0440\u0438\u0432\u0435\u0442",
       L"x",
       {rfIgnoreCase},
       L"x!"},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(StringReplace(C.S, C.Old, C.New, C.Flags), C.Expected) << C.S << L" " << C.Old;
}

TEST(SysUtilsStrings, QuotingAndDequoting) {
  EXPECT_EQ(QuotedStr(L"it's"), L"'it''s'");
  EXPECT_EQ(QuotedStr(L""), L"''");
  EXPECT_EQ(AnsiQuotedStr(L"a\"b", L'"'), L"\"a\"\"b\"");
  struct Case {
    const wchar_t *S, *Expected;
  } Cases[] = {
      {L"'abc'", L"abc"}, {L"'ab''c'", L"ab'c"}, {L"abc", L"abc"}, {L"'abc", L"'abc"},
      {L"''", L""},       {L"'a'b", L"a"},       {L"", L""},       {L"'''", L"'"},
  };
  for (const Case& C : Cases) EXPECT_EQ(AnsiDequotedStr(C.S, L'\''), C.Expected) << C.S;
  EXPECT_EQ(AnsiDequotedStr(AnsiQuotedStr(L"x\"y", L'"'), L'"'), L"x\"y");
}

TEST(SysUtilsStrings, Delimiters) {
  EXPECT_EQ(LastDelimiter(L"\\.", L"C:\\a.b\\c"), 7);
  EXPECT_EQ(LastDelimiter(L"x", L"abc"), 0);
  EXPECT_TRUE(IsDelimiter(L",;", L"a;b", 2));
  EXPECT_FALSE(IsDelimiter(L",;", L"a;b", 1));
  EXPECT_FALSE(IsDelimiter(L",;", L"a;b", 4));
}

TEST(SysUtilsIntegers, ToText) {
  EXPECT_EQ(IntToStr(0), L"0");
  EXPECT_EQ(IntToStr(-2147483647 - 1), L"-2147483648");
  EXPECT_EQ(IntToStr(INT64_MIN), L"-9223372036854775808");
  EXPECT_EQ(IntToStr(static_cast<Int64>(1234567890123)), L"1234567890123");
  EXPECT_EQ(IntToHex(255, 4), L"00FF");
  EXPECT_EQ(IntToHex(-1, 2), L"FFFFFFFF");
  EXPECT_EQ(IntToHex(static_cast<Int64>(-1), 1), L"FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(0, 0), L"0");
}

TEST(SysUtilsIntegers, StrToIntAcceptsTheFrameworksForms) {
  struct Case {
    const wchar_t* S;
    Integer Expected;
  } Cases[] = {
      {L"0", 0},
      {L"123", 123},
      {L"-123", -123},
      {L"+7", 7},
      {L"   42", 42},
      {L"$FF", 255},
      {L"$ff", 255},
      {L"0x1A", 26},
      {L"0X1a", 26},
      {L"x10", 16},
      {L"-$10", -16},
      {L"2147483647", 2147483647},
      {L"-2147483648", -2147483647 - 1},
      {L"$FFFFFFFF", -1},
      {L"007", 7},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(StrToInt(C.S), C.Expected) << C.S;
    Integer V = 0;
    EXPECT_TRUE(TryStrToInt(C.S, V)) << C.S;
  }
}

TEST(SysUtilsIntegers, MalformedIntegersRaiseConvertError) {
  const wchar_t* Bad[] = {L"",    L" ",   L"12 ",         L"1a",         L"2147483648",
                          L"$",   L"0x",  L"-2147483649", L"$1FFFFFFFF", L"1.5",
                          L"--1", L"\t1", L"1 2",         L"\u0661"};
  for (const wchar_t* S : Bad) {
    Integer V = 99;
    EXPECT_FALSE(TryStrToInt(S, V)) << S;
    EXPECT_EQ(V, 99);
    EXPECT_EQ(StrToIntDef(S, 7), 7);
    try {
      StrToInt(S);
      ADD_FAILURE() << S;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), L"'" + String(S) + L"' is not a valid integer value");
    }
  }
}

TEST(SysUtilsIntegers, Int64Range) {
  EXPECT_EQ(StrToInt64(L"9223372036854775807"), INT64_MAX);
  EXPECT_EQ(StrToInt64(L"-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToInt64(L"$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64(L"$1FFFFFFFF"), 0x1FFFFFFFFLL);
  EXPECT_THROW(StrToInt64(L"9223372036854775808"), EConvertError);
  EXPECT_THROW(StrToInt64(L"$10000000000000000"), EConvertError);
  EXPECT_EQ(StrToInt64Def(L"", -5), -5);
}

TEST(SysUtilsIntegers, Booleans) {
  EXPECT_EQ(BoolToStr(true), L"-1");
  EXPECT_EQ(BoolToStr(false), L"0");
  EXPECT_EQ(BoolToStr(true, true), L"True");
  EXPECT_EQ(BoolToStr(false, true), L"False");
  struct Case {
    const wchar_t* S;
    bool Expected;
  } Cases[] = {{L"true", true}, {L"FALSE", false}, {L"1", true},
               {L"0", false},   {L"-1", true},     {L"2", true}};
  for (const Case& C : Cases) EXPECT_EQ(StrToBool(C.S), C.Expected) << C.S;
  try {
    StrToBool(L"yes");
    ADD_FAILURE();
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), L"'yes' is not a valid boolean value");
  }
}

TEST(SysUtilsAnsi, CyrillicThroughCodePage1251) {
  const String Text = L"\u041f\u0440\u0438\u0432\u0435\u0442, \u0451\u0436";
  const AnsiString Bytes = "\xCF\xF0\xE8\xE2\xE5\xF2, \xB8\xE6";
  EXPECT_EQ(StringToAnsi(Text, 1251), Bytes);
  EXPECT_EQ(AnsiToString(Bytes, 1251), Text);
  // The same bytes mean other letters in another code page.
  EXPECT_EQ(AnsiToString("\xE9", 1252), L"\u00e9");
  EXPECT_EQ(AnsiToString("\xE9", 1251), L"\u0439");
  EXPECT_EQ(StringToAnsi(L"", 1251), "");
}

TEST(SysUtilsAnsi, Utf8) {
  const String Text = L"\u041f\u0440\u0438 \u00e9 \U0001F600";
  const UTF8String Bytes = "\xD0\x9F\xD1\x80\xD0\xB8 \xC3\xA9 \xF0\x9F\x98\x80";
  EXPECT_EQ(UTF8Encode(Text), Bytes);
  EXPECT_EQ(UTF8Decode(Bytes), Text);
  EXPECT_EQ(UTF8ToString(Bytes), Text);
  // Malformed input becomes replacement characters, not lost text.
  EXPECT_EQ(UTF8ToString("a\xFF"
                         "b"),
            L"a\uFFFDb");
}

TEST(SysUtilsOSError, MessagesAndExceptions) {
  String Text = SysErrorMessage(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(Text.empty());
  EXPECT_NE(Text.back(), L'.');
  EXPECT_GT(Text.back(), L' ');
  try {
    RaiseLastOSError(ERROR_ACCESS_DENIED);
    ADD_FAILURE();
  } catch (const EOSError& E) {
    EXPECT_EQ(E.ErrorCode(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(E.Message(), L"System Error.  Code: 5.\r\n" + SysErrorMessage(ERROR_ACCESS_DENIED));
  }
  SetLastError(ERROR_PATH_NOT_FOUND);
  try {
    Win32Check(FALSE);
    ADD_FAILURE();
  } catch (const EOSError& E) {
    EXPECT_EQ(E.ErrorCode(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  }
  EXPECT_EQ(Win32Check(TRUE), TRUE);
  SetLastError(0);
  try {
    RaiseLastOSError();
    ADD_FAILURE();
  } catch (const EOSError& E) {
    EXPECT_EQ(E.Message(), L"A call to an OS function failed");
  }
}

}  // namespace
