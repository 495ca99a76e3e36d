#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "SysUtils.h"

namespace {

TFormatSettings Dot() { return TFormatSettings::Invariant(); }

TFormatSettings Comma() {
  TFormatSettings S = TFormatSettings::Invariant();
  S.DecimalSeparator = L',';
  S.ThousandSeparator = L' ';
  return S;
}

// Replaces "." by "," and "," by " " so one table serves both settings.
String ToComma(const String& S) {
  String R = S;
  for (Char& C : R) {
    if (C == L'.')
      C = L',';
    else if (C == L',')
      C = L' ';
  }
  return R;
}

TEST(SysUtilsFloat, FloatToStrGeneralFormat) {
  const Extended Inf = std::numeric_limits<Extended>::infinity();
  struct Case {
    Extended Value;
    const wchar_t* Expected;
  } Cases[] = {
      {0.0, L"0"},
      {-0.0, L"0"},
      {1.0, L"1"},
      {-1.5, L"-1.5"},
      {0.1 + 0.2, L"0.3"},
      {1.0 / 3, L"0.333333333333333"},
      {2.0 / 3, L"0.666666666666667"},
      {100.0, L"100"},
      {12345.678, L"12345.678"},
      {1e15, L"1E15"},
      {123456789012345.0, L"123456789012345"},
      {123456789012345678.0, L"1.23456789012346E17"},
      {999999999999999.9, L"1E15"},
      {0.0001, L"0.0001"},
      {0.00001, L"1E-5"},
      {1.5e-7, L"1.5E-7"},
      {-1e-10, L"-1E-10"},
      {1e100, L"1E100"},
      {1e300 * 10, L"1E301"},
      {1e-300, L"1E-300"},
      {Inf, L"INF"},
      {-Inf, L"-INF"},
      {std::numeric_limits<Extended>::quiet_NaN(), L"NAN"},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(FloatToStr(C.Value, Dot()), C.Expected);
    EXPECT_EQ(FloatToStr(C.Value, Comma()), ToComma(C.Expected));
  }
}

TEST(SysUtilsFloat, FloatToStrF) {
  struct Case {
    Extended Value;
    TFloatFormat Format;
    Integer Precision, Digits;
    const wchar_t* Expected;
  } Cases[] = {
      {1234.5678, ffFixed, 15, 2, L"1234.57"},
      {1234.5678, ffNumber, 15, 2, L"1,234.57"},
      {-1234567.891, ffNumber, 15, 1, L"-1,234,567.9"},
      {123.0, ffNumber, 15, 0, L"123"},
      {0.125, ffFixed, 15, 2, L"0.13"},  // half away from zero
      {-0.125, ffFixed, 15, 2, L"-0.13"},
      {2.5, ffFixed, 15, 0, L"3"},
      {-0.001, ffFixed, 15, 2, L"0.00"},  // no "-0.00"
      {0.0, ffFixed, 15, 3, L"0.000"},
      {9.999, ffFixed, 15, 2, L"10.00"},
      {1e20, ffFixed, 15, 2, L"1E20"},
      {1234.5, ffExponent, 4, 2, L"1.235E+03"},
      {0.000123, ffExponent, 3, 0, L"1.23E-4"},
      {1.0, ffExponent, 4, 2, L"1.000E+00"},
      {0.0, ffExponent, 3, 2, L"0.00E+00"},
      {1234.5678, ffGeneral, 6, 0, L"1234.57"},
      {1234567.0, ffGeneral, 3, 0, L"1.23E6"},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(FloatToStrF(C.Value, C.Format, C.Precision, C.Digits, Dot()), C.Expected);
    EXPECT_EQ(FloatToStrF(C.Value, C.Format, C.Precision, C.Digits, Comma()), ToComma(C.Expected));
  }
}

TEST(SysUtilsFloat, CurrencyFormatsFollowTheSettings) {
  TFormatSettings S = Dot();
  S.CurrencyString = L"$";
  S.CurrencyFormat = 0;
  S.NegCurrFormat = 0;
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2, S), L"$1,234.50");
  EXPECT_EQ(FloatToStrF(-1234.5, ffCurrency, 15, 2, S), L"($1,234.50)");
  S.CurrencyString = L"\u0440.";
  S.CurrencyFormat = 3;
  S.NegCurrFormat = 8;
  S.DecimalSeparator = L',';
  S.ThousandSeparator = L'\u00a0';
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2, S), L"1\u00a0234,50 \u0440.");
  EXPECT_EQ(FloatToStrF(-5.0, ffCurrency, 15, 2, S), L"-5,00 \u0440.");
}

TEST(SysUtilsFloat, FormatFloatPictures) {
  struct Case {
    const wchar_t* Picture;
    Extended Value;
    const wchar_t* Expected;
  } Cases[] = {
      {L"0", 2.5, L"3"},
      {L"0", -2.5, L"-3"},
      {L"0", 0.4, L"0"},
      {L"0", -0.4, L"0"},
      {L"0.0", 1.25, L"1.3"},
      {L"0.00", 1234.5, L"1234.50"},
      {L"0.000000", 1.0 / 3, L"0.333333"},
      {L"#,##0.00", 1234567.891, L"1,234,567.89"},
      {L"#,##0.00", 0.5, L"0.50"},
      {L"#,##0.00", -1234.5, L"-1,234.50"},
      {L"#,##0", 999.6, L"1,000"},
      {L"0.###", 1.5, L"1.5"},
      {L"0.###", 2.0, L"2"},
      {L"0.###", 1.23456, L"1.235"},
      {L"#.##", 0.5, L".5"},
      {L"#", 0.0, L""},
      {L"000", 7.0, L"007"},
      {L"0.##E+00", 1234.5, L"1.23E+03"},
      {L"0.##E+00", 0.00012, L"1.2E-04"},
      {L"0.00E-0", 12345.0, L"1.23E4"},
      {L"0.0 'm'", 2.0, L"2.0 m"},
      {L"\"<\"0\">\"", 5.0, L"<5>"},
      {L"0.0;(0.0);zero", -1.5, L"(1.5)"},
      {L"0.0;(0.0);zero", 0.0, L"zero"},
      {L"0.0;(0.0);zero", 0.01, L"zero"},
      {L"0.0;(0.0);zero", 2.0, L"2.0"},
      {L"0;(0)", -0.4, L"0"},
      {L"0;(0)", -0.6, L"(1)"},
      {L"", 0.5, L"0.5"},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(FormatFloat(C.Picture, C.Value, Dot()), C.Expected) << C.Picture;
    EXPECT_EQ(FormatFloat(C.Picture, C.Value, Comma()), ToComma(C.Expected)) << C.Picture;
  }
}

TEST(SysUtilsFloat, StrToFloatAcceptsOnlyTheSettingsSeparator) {
  struct Case {
    const wchar_t* Text;
    Double Expected;
  } Cases[] = {
      {L"1.5", 1.5},
      {L" 1.5 ", 1.5},
      {L"-2", -2},
      {L"+3", 3},
      {L"1e3", 1000},
      {L"1.5E-2", 0.015},
      {L".5", 0.5},
      {L"2.", 2},
      {L"0", 0},
      {L"0.1", 0.1},
      {L"123456789012345678", 123456789012345678.0},
      {L"-0.000001", -1e-6},
      {L"1E+308", 1e308},
  };
  for (const Case& C : Cases) {
    for (const TFormatSettings& S : {Dot(), Comma()}) {
      const String Text = S.DecimalSeparator == L'.' ? String(C.Text) : ToComma(C.Text);
      Double D = 0;
      ASSERT_TRUE(TryStrToFloat(Text, D, S)) << Text;
      EXPECT_EQ(D, C.Expected) << Text;  // correctly rounded
      EXPECT_NEAR(static_cast<Double>(StrToFloat(Text, S)), C.Expected,
                  std::fabs(C.Expected) * 1e-15)
          << Text;
    }
  }
  const wchar_t* Bad[] = {L"",      L" ",    L"abc",   L"1.5x", L"1e",  L"--1",
                          L"1 000", L"0x10", L"1.2.3", L"e5",   L"1e+", L"\t1"};
  for (const wchar_t* Text : Bad) {
    for (const TFormatSettings& S : {Dot(), Comma()}) {
      const String T = S.DecimalSeparator == L'.' ? String(Text) : ToComma(Text);
      Extended E = 7;
      EXPECT_FALSE(TryStrToFloat(T, E, S)) << T;
      EXPECT_EQ(E, 7);
      EXPECT_EQ(StrToFloatDef(T, -1, S), -1);
    }
  }
  // The other separator is not a decimal separator.
  EXPECT_THROW(StrToFloat(L"1,5", Dot()), EConvertError);
  EXPECT_THROW(StrToFloat(L"1.5", Comma()), EConvertError);
  try {
    StrToFloat(L"1,5", Dot());
  } catch (const EConvertError& E) {
    EXPECT_EQ(E.Message(), L"'1,5' is not a valid floating point value");
  }
}

TEST(SysUtilsFloat, RangeOfDoubleAndExtended) {
  Double D = 0;
  Extended E = 0;
  EXPECT_FALSE(TryStrToFloat(L"1e400", D, Dot()));
  EXPECT_TRUE(TryStrToFloat(L"1e400", E, Dot()));
  EXPECT_GT(E, 1e399L);
  EXPECT_FALSE(TryStrToFloat(L"1e5000", E, Dot()));
  EXPECT_TRUE(TryStrToFloat(L"1e-400", D, Dot()));
  EXPECT_EQ(D, 0);
  EXPECT_TRUE(TryStrToFloat(L"0.1", E, Dot()));
  EXPECT_EQ(E, 0.1L);
}

TEST(SysUtilsFloat, TextRoundTripsThroughFloatToStr) {
  for (Double V : {0.1, 1.0 / 3, 123.456, -9.87654321e-12, 6.02214076e23}) {
    for (const TFormatSettings& S : {Dot(), Comma()}) {
      Double Back = 0;
      ASSERT_TRUE(TryStrToFloat(FloatToStr(V, S), Back, S));
      EXPECT_NEAR(Back, V, std::fabs(V) * 1e-14);
    }
  }
}

TEST(SysUtilsFloat, RoundingFunctions) {
  struct Case {
    Extended Value;
    Int64 Rounded, Truncated;
  } Cases[] = {
      {0.5, 0, 0},    {1.5, 2, 1},    {2.5, 2, 2},
      {-0.5, 0, 0},   {-1.5, -2, -1}, {-2.5, -2, -2},
      {2.4999, 2, 2}, {-1.7, -2, -1}, {1e15 + 0.5, 1000000000000000, 1000000000000000},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(Round(C.Value), C.Rounded) << static_cast<double>(C.Value);
    EXPECT_EQ(Trunc(C.Value), C.Truncated) << static_cast<double>(C.Value);
  }
  EXPECT_THROW(Round(1e20), EInvalidOp);
  EXPECT_THROW(Trunc(std::numeric_limits<Extended>::quiet_NaN()), EInvalidOp);
  EXPECT_EQ(Int(-1.75), -1);
  EXPECT_EQ(Frac(-1.75), -0.75);
  EXPECT_EQ(Frac(2.25), 0.25);
}

// Switches the user's decimal separator for the life of the object.
class TUserDecimalSeparator {
 public:
  TUserDecimalSeparator(const wchar_t* Decimal, const wchar_t* Thousand) {
    Saved[0] = Read(LOCALE_SDECIMAL);
    Saved[1] = Read(LOCALE_STHOUSAND);
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Decimal);
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, Thousand);
    GetFormatSettings();
  }
  ~TUserDecimalSeparator() {
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Saved[0].c_str());
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, Saved[1].c_str());
    GetFormatSettings();
  }

 private:
  static String Read(LCTYPE Type) {
    wchar_t Buf[16] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, Type, Buf, 16);
    return Buf;
  }
  String Saved[2];
};

TEST(SysUtilsFloat, ProcessSettingsFollowTheUsersLocale) {
  for (const wchar_t* Sep : {L",", L"."}) {
    TUserDecimalSeparator Guard(Sep, Sep[0] == L',' ? L"." : L",");
    const Char D = Sep[0];
    ASSERT_EQ(FormatSettings().DecimalSeparator, D);
    EXPECT_EQ(FloatToStr(1.5), String(L"1") + D + L"5");
    EXPECT_EQ(FormatFloat(L"0.00", 2.25), String(L"2") + D + L"25");
    EXPECT_EQ(Format(L"%.1f", {0.75}), String(L"0") + D + L"8");
    EXPECT_EQ(StrToFloat(String(L"2") + D + L"25"), 2.25);
    EXPECT_THROW(StrToFloat(String(L"2") + (D == L',' ? L'.' : L',') + L"25"), EConvertError);
  }
}

}  // namespace
