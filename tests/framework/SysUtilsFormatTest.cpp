#include <gtest/gtest.h>

#include "SysUtils.h"

namespace {

TFormatSettings Dot() {
  TFormatSettings S = TFormatSettings::Invariant();
  S.CurrencyString = L"$";
  S.CurrencyFormat = 0;
  S.NegCurrFormat = 0;
  S.CurrencyDecimals = 2;
  return S;
}

TFormatSettings Comma() {
  TFormatSettings S = Dot();
  S.DecimalSeparator = L',';
  S.ThousandSeparator = L' ';
  return S;
}

TEST(SysUtilsFormat, IntegersAndStrings) {
  const String Owned = L"str";
  const AnsiString Ansi = "ansi";
  struct Case {
    String Fmt;
    std::initializer_list<TVarRec> Args;
    String Expected;
  };
  const Case Cases[] = {
      {L"%d", {42}, L"42"},
      {L"%5d|", {42}, L"   42|"},
      {L"%-5d|", {42}, L"42   |"},
      {L"%.5d", {-42}, L"-00042"},
      {L"%3d", {12345}, L"12345"},
      {L"%d", {static_cast<Int64>(-1234567890123)}, L"-1234567890123"},
      {L"%d", {4000000000u}, L"4000000000"},
      {L"%d", {18446744073709551615ull}, L"18446744073709551615"},
      {L"%u", {-1}, L"4294967295"},
      {L"%x", {255}, L"FF"},
      {L"%.4x", {255}, L"00FF"},
      {L"%x", {-1}, L"FFFFFFFF"},
      {L"%x", {static_cast<Int64>(-1)}, L"FFFFFFFFFFFFFFFF"},
      {L"%x", {static_cast<HRESULT>(E_FAIL)}, L"80004005"},
      {L"%x", {static_cast<DWORD>(0x80004005)}, L"80004005"},
      {L"%d", {static_cast<DWORD>(0x80004005)}, L"2147500037"},
      {L"%s", {L"abc"}, L"abc"},
      {L"%.2s", {Owned}, L"st"},
      {L"%-6s|", {Owned}, L"str   |"},
      {L"%s", {Ansi}, L"ansi"},
      {L"%s%s", {'c', L'w'}, L"cw"},
      {L"%s", {"narrow"}, L"narrow"},
      {L"%1:s %0:s", {L"a", L"b"}, L"b a"},
      {L"%1:s %s", {L"a", L"b", L"c"}, L"b c"},
      {L"%*d|", {5, 42}, L"   42|"},
      {L"%-*d|", {4, 7}, L"7   |"},
      {L"%.*f", {1, 2.25}, L"2.3"},
      {L"100%%", {}, L"100%"},
      {L"%s%%", {L"5"}, L"5%"},
      {L"%p", {reinterpret_cast<const void*>(0x1234)}, L"0000000000001234"},
      {L"%D %S %X", {10, L"s", 10}, L"10 s A"},
  };
  for (const Case& C : Cases) EXPECT_EQ(Format(Dot(), C.Fmt, C.Args), C.Expected) << C.Fmt;
  // Temporaries live until the call returns.
  EXPECT_EQ(Format(L"%s-%s", {String(L"x") + L"y", Owned}), L"xy-str");
}

TEST(SysUtilsFormat, FloatsUnderBothSeparators) {
  struct Case {
    const wchar_t* Fmt;
    Extended Value;
    const wchar_t* Dot;
    const wchar_t* Comma;
  } Cases[] = {
      {L"%f", 1.5, L"1.50", L"1,50"},
      {L"%.3f", 2.0, L"2.000", L"2,000"},
      {L"%.0f", 2.5, L"3", L"3"},
      {L"%.2f", -0.125, L"-0.13", L"-0,13"},
      {L"%8.2f|", 3.14159, L"    3.14|", L"    3,14|"},
      {L"%e", 1234.5, L"1.23450000000000E+003", L"1,23450000000000E+003"},
      {L"%.3e", -1234.5, L"-1.23E+003", L"-1,23E+003"},
      {L"%g", 0.1 + 0.2, L"0.3", L"0,3"},
      {L"%g", 1e20, L"1E20", L"1E20"},
      {L"%.3g", 3.14159, L"3.14", L"3,14"},
      {L"%n", 1234567.891, L"1,234,567.89", L"1 234 567,89"},
      {L"%.0n", 1234.5, L"1,235", L"1 235"},
      {L"%m", 1234.5, L"$1,234.50", L"$1 234,50"},
      {L"%m", -2.0, L"($2.00)", L"($2,00)"},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(Format(Dot(), C.Fmt, {C.Value}), C.Dot) << C.Fmt;
    EXPECT_EQ(Format(Comma(), C.Fmt, {C.Value}), C.Comma) << C.Fmt;
  }
  EXPECT_EQ(Format(Dot(), L"%f %d", {1.0f, 3}), L"1.00 3");
}

TEST(SysUtilsFormat, InvalidSpecifiersRaiseConvertError) {
  struct Case {
    String Fmt;
    std::initializer_list<TVarRec> Args;
  };
  const Case Cases[] = {
      {L"%d", {1.5}},  {L"%f", {1}}, {L"%s", {1}},    {L"%d", {}},        {L"%s %s", {L"a"}},
      {L"abc%", {1}},  {L"%k", {1}}, {L"%x", {L"a"}}, {L"%2:d", {1, 2}},  {L"%*d", {L"a", 1}},
      {L"%d", {true}}, {L"%p", {1}}, {L"%.5", {1}},   {L"%s", {nullptr}},
  };
  for (const Case& C : Cases) {
    try {
      Format(Dot(), C.Fmt, C.Args);
      ADD_FAILURE() << C.Fmt;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), L"Format '" + C.Fmt + L"' invalid or incompatible with argument");
    }
  }
}

TEST(SysUtilsFormatSettings, LocalesAndInvariant) {
  TFormatSettings Inv = TFormatSettings::Invariant();
  EXPECT_EQ(Inv.DecimalSeparator, L'.');
  EXPECT_EQ(Inv.ThousandSeparator, L',');
  EXPECT_EQ(Inv.LongMonthNames[0], L"January");
  EXPECT_EQ(Inv.ShortDayNames[0], L"Sun");
  EXPECT_EQ(Inv.LongDayNames[6], L"Saturday");

  // Locales other than the user's, whose regional overrides would apply.
  TFormatSettings Au = TFormatSettings::Create(MAKELCID(0x0c09, SORT_DEFAULT));
  EXPECT_EQ(Au.DecimalSeparator, L'.');
  EXPECT_EQ(Au.ShortDateFormat, L"dd/MM/yyyy");
  EXPECT_EQ(Au.DateSeparator, L'/');
  EXPECT_EQ(Au.LongTimeFormat, L"h:mm:ss AMPM");
  EXPECT_EQ(Au.ShortTimeFormat, L"h:mm AMPM");
  EXPECT_EQ(Au.TimeAMString, L"am");

  TFormatSettings De = TFormatSettings::Create(MAKELCID(0x0407, SORT_DEFAULT));
  EXPECT_EQ(De.ShortDateFormat, L"d/M/yyyy");
  EXPECT_EQ(De.LongTimeFormat, L"hh:mm:ss");
  EXPECT_EQ(De.LongMonthNames[2], L"M\u00e4rz");

  TFormatSettings Ru = TFormatSettings::Create(MAKELCID(0x0419, SORT_DEFAULT));
  EXPECT_EQ(Ru.DecimalSeparator, L',');
  EXPECT_EQ(Ru.DateSeparator, L'.');
  // The locale's separator becomes the framework's "/" placeholder.
  EXPECT_EQ(Ru.ShortDateFormat, L"dd/MM/yyyy");
  // A 24-hour clock: no am/pm marker in either time picture.
  EXPECT_EQ(Ru.LongTimeFormat.find(L"AMPM"), String::npos);
  EXPECT_EQ(Ru.LongTimeFormat, Ru.ShortTimeFormat + L":ss");
  EXPECT_EQ(Ru.ShortDayNames[1].empty(), false);
  EXPECT_EQ(FloatToStr(1234.5, Ru), L"1234,5");
  EXPECT_EQ(StrToFloat(L"1234,5", Ru), 1234.5);
}

}  // namespace
