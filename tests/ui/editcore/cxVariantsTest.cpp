#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "EditcoreTestSupport.h"
#include "cxVariants.h"

namespace {

Variant Typed(TVarType AType, const Variant& AValue) { return VarAsType(AValue, AType); }

std::string Written(const Variant& AValue) {
  TMemoryStream S;
  WriteVariantProc(&S, AValue);
  return HexBytes(S.Memory(), static_cast<size_t>(S.Size()));
}

Variant ReadFrom(const std::string& ABytes) {
  TMemoryStream S;
  S.WriteBuffer(ABytes.data(), static_cast<Integer>(ABytes.size()));
  S.SetPosition(0);
  return ReadVariantFunc(&S);
}

std::string Bytes(std::initializer_list<int> AValues) {
  std::string R;
  for (int V : AValues) R += static_cast<char>(V);
  return R;
}

// The class name and message of what AAction raises ("" when nothing).
String ErrorOf(const std::function<void()>& AAction) {
  try {
    AAction();
  } catch (const Exception& E) {
    return E.ClassName() + L": " + E.Message();
  }
  return String();
}

TEST(VarCompare, OrderOfEmptyNullAndValues) {
  struct TCase {
    const char* Name;
    Variant Left, Right;
    Integer Expected;
  } Cases[] = {
      {"Empty, Null", Variant(), Null(), -1},
      {"Null, Empty", Null(), Variant(), 1},
      {"Empty, Empty", Variant(), Variant(), 0},
      {"Empty, 0", Variant(), 0, -1},
      {"Null, Null", Null(), Null(), 0},
      {"Null, 5", Null(), 5, -1},
      {"5, Null", 5, Null(), 1},
      {"2, 10", 2, 10, -1},
      {"text", L"b", L"a", 1},
      {"text against number", L"10", 9, 1},
      // Kinds without a common order: the left one is taken as less.
      {"word, number", L"abc", 5, -1},
      {"number, word", 5, L"abc", -1},
      {"array, number", VarArrayOf({1}), 5, 1},
      {"number, array", 5, VarArrayOf({1}), -1},
  };
  for (const TCase& C : Cases) EXPECT_EQ(VarCompare(C.Left, C.Right), C.Expected) << C.Name;
}

TEST(VarCompare, EqualityRules) {
  struct TCase {
    const char* Name;
    Variant Left, Right;
    bool Equals, Exact;
  } Cases[] = {
      {"True, -1", true, -1, true, false},
      {"True, 'True'", true, L"True", true, true},
      {"False, 'False'", false, L"False", true, true},
      {"1, 1.0", 1, 1.0, true, true},
      {"'1', 1", L"1", 1, true, true},
      {"True, Null", true, Null(), false, false},
      {"Null, Null", Null(), Null(), true, true},
      {"True, array", true, VarArrayOf({true}), false, false},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(VarEquals(C.Left, C.Right), C.Equals) << C.Name;
    EXPECT_EQ(VarEqualsExact(C.Left, C.Right), C.Exact) << C.Name;
  }
}

TEST(VarCompare, ArraysByCountThenElementsFromTheirOwnLowBounds) {
  Variant OneBased = VarArrayCreate({1, 3}, varVariant);
  for (Integer I = 1; I <= 3; ++I) VarArrayPut(OneBased, I * 10, {I});
  Variant MinusTwoBased = VarArrayCreate({-2, 0}, varInteger);
  for (Integer I = -2; I <= 0; ++I) VarArrayPut(MinusTwoBased, (I + 3) * 10, {I});
  struct TCase {
    const char* Name;
    Variant Left, Right;
    Integer Expected;
  } Cases[] = {
      {"high bounds 2 and 5", VarArrayOf({1, 2, 3}), VarArrayOf({1, 2, 3, 4, 5, 6}), -3},
      {"longer first", VarArrayOf({1, 2}), VarArrayOf({1}), 1},
      {"first difference", VarArrayOf({1, 5, 0}), VarArrayOf({1, 4, 9}), 1},
      {"equal", VarArrayOf({1, L"a"}), VarArrayOf({1, L"a"}), 0},
      {"one-based against zero-based", OneBased, VarArrayOf({10, 20, 30}), 0},
      {"zero-based against one-based", VarArrayOf({10, 20, 31}), OneBased, 1},
      {"typed, negative low bound", MinusTwoBased, OneBased, 0},
      {"nested", VarArrayOf({VarArrayOf({1})}), VarArrayOf({VarArrayOf({2})}), -1},
  };
  for (const TCase& C : Cases) EXPECT_EQ(VarCompare(C.Left, C.Right), C.Expected) << C.Name;
}

// Numbers of different kinds order as the platform's own comparison orders
// them, wherever it accepts the pair.
TEST(VarCompare, NumbersAcrossKindsAgreeWithThePlatform) {
  DECIMAL Dec{};
  VarDecFromR8(-2.5, &Dec);
  VARIANT DecimalValue;
  VariantInit(&DecimalValue);
  // The decimal fills the whole VARIANT, type field included.
  DecimalValue.decVal = Dec;
  DecimalValue.vt = VT_DECIMAL;
  const Variant Values[] = {Typed(varShortInt, -3),
                            Typed(varByte, 200),
                            Typed(varSmallint, -300),
                            Typed(varWord, 60000),
                            Typed(varInteger, 70000),
                            Typed(varLongWord, 4000000000u),
                            Typed(varInt64, -5000000000),
                            Typed(varSingle, 2.5),
                            Typed(varDouble, -2.5),
                            Typed(varDouble, 200.0),
                            Variant(Currency{-25000}),
                            Variant(Currency{2000000}),
                            Variant(DecimalValue),
                            Variant(true),
                            Variant(false),
                            Variant::FromDateTime(200.0)};
  Integer Compared = 0;
  for (const Variant& L : Values) {
    for (const Variant& R : Values) {
      HRESULT Expected = VarCmp(const_cast<VARIANT*>(&L.Var()), const_cast<VARIANT*>(&R.Var()),
                                LOCALE_USER_DEFAULT, 0);
      if (Expected != VARCMP_LT && Expected != VARCMP_EQ && Expected != VARCMP_GT) continue;
      ++Compared;
      Integer Sign = VarCompare(L, R);
      Sign = Sign < 0 ? VARCMP_LT : (Sign == 0 ? VARCMP_EQ : VARCMP_GT);
      EXPECT_EQ(Sign, Expected) << VarTypeAsText(VarType(L)) << L" " << L.AsString() << L" | "
                                << VarTypeAsText(VarType(R)) << L" " << R.AsString();
    }
  }
  EXPECT_GT(Compared, 100);
}

TEST(VarCompare, NumericTextAgreesWithThePlatformsReadingUnderBothSeparators) {
  for (Char Separator : {L'.', L','}) {
    TDecimalSeparator Locale(Separator);
    String Half = String(L"1") + Separator + L"5";
    for (const String& Text : {Half, String(L"-0") + Separator + L"25", String(L"1e3"),
                               String(L" 42 "), String(L"2") + Separator + L"0"}) {
      Double Parsed = 0;
      ASSERT_EQ(VarR8FromStr(const_cast<OLECHAR*>(Text.c_str()), LOCALE_USER_DEFAULT, 0, &Parsed),
                S_OK)
          << Text;
      for (Double Number : {-1.0, 1.5, 2.0, 1000.0}) {
        Integer Expected = Parsed < Number ? -1 : (Parsed > Number ? 1 : 0);
        EXPECT_EQ(VarCompare(Text, Number), Expected) << Text << L" " << Number;
        EXPECT_EQ(VarCompare(Number, Text), -Expected) << Number << L" " << Text;
      }
    }
  }
}

TEST(VarTypeTests, DatesNumbersAndSoftNull) {
  struct TCase {
    const char* Name;
    Variant Value;
    bool IsDate, IsNumeric, IsSoftNull;
  } Cases[] = {
      {"date", Variant::FromDateTime(1.5), true, false, false},
      {"time stamp", VarSQLTimeStampCreate(1.5), true, false, false},
      {"double", 1.5, false, true, false},
      {"boolean", true, false, true, false},
      {"BCD", VarFMTBcdCreate(StrToBcd(L"1", TFormatSettings::Invariant())), false, true, false},
      {"empty text", L"", false, false, true},
      {"blank", L" ", false, false, false},
      {"empty 8-bit text", Variant::FromAnsiString(""), false, false, true},
      {"Null", Null(), false, false, true},
      {"Empty", Variant(), false, false, false},
  };
  for (const TCase& C : Cases) {
    EXPECT_EQ(VarIsDate(C.Value), C.IsDate) << C.Name;
    EXPECT_EQ(VarIsNumericEx(C.Value), C.IsNumeric) << C.Name;
    EXPECT_EQ(VarIsSoftNull(C.Value), C.IsSoftNull) << C.Name;
  }
}

TEST(VariantStream, GoldenBytes) {
  struct TCase {
    const char* Name;
    Variant Value;
    std::string Expected;
  } Cases[] = {
      {"127", 127, "02 7F"},
      {"128", 128, "03 80 00"},
      {"-129", -129, "03 7F FF"},
      {"-32769", -32769, "04 FF 7F FF FF"},
      {"2147483648", Int64(2147483648), "13 00 00 00 80 00 00 00 00"},
      {"long word above the signed range", Typed(varLongWord, 4000000000u),
       "13 00 28 6B EE 00 00 00 00"},
      {"byte", Typed(varByte, 255), "03 FF 00"},
      {"Null", Null(), "00"},
      {"Empty", Variant(), "0D"},
      {"True", true, "09"},
      {"False", false, "08"},
      {"single 1.5", Typed(varSingle, 1.5), "0F 00 00 C0 3F"},
      {"double 1", 1.0, "05 00 00 00 00 00 00 00 80 FF 3F"},
      {"double -2.5", -2.5, "05 00 00 00 00 00 00 00 A0 00 C0"},
      {"currency 1.5", Currency{15000}, "10 98 3A 00 00 00 00 00 00"},
      {"date", Variant::FromDateTime(1.5), "11 00 00 00 00 00 00 F8 3F"},
      {"time stamp as a date", VarSQLTimeStampCreate(1.5), "11 00 00 00 00 00 00 F8 3F"},
      {"wide text", L"Ab", "12 02 00 00 00 41 00 62 00"},
      {"8-bit text", Variant::FromAnsiString("xy"), "06 02 78 79"},
      {"list", VarArrayOf({1, Variant::FromAnsiString("x")}), "01 02 02 02 01 06 01 78"},
      {"BCD as its text", VarFMTBcdCreate(StrToBcd(L"-12", TFormatSettings::Invariant())),
       "06 03 2D 31 32"},
  };
  for (const TCase& C : Cases) EXPECT_EQ(Written(C.Value), C.Expected) << C.Name;
  std::string Long = Written(Variant::FromAnsiString(AnsiString(300, 'a')));
  EXPECT_EQ(Long.substr(0, 14), "0C 2C 01 00 00");
  EXPECT_EQ(Long.size(), 14 + 300 * 3u);
}

TEST(VariantStream, EveryKindRoundTrips) {
  struct TCase {
    const char* Name;
    Variant Value;
    TVarType ReadKind;
  } Cases[] = {
      {"long word 5", Typed(varLongWord, 5), varShortInt},
      {"smallint", Typed(varSmallint, -300), varSmallint},
      {"integer", 100000, varInteger},
      {"int64", Int64(-5000000000), varInt64},
      {"single", Typed(varSingle, 0.1), varSingle},
      {"double", 0.1, varDouble},
      {"currency", Currency{-922337203685477580}, varCurrency},
      {"date", Variant::FromDateTime(-693593.75), varDate},
      {"wide text", L"\u0416\u0443\u043A", varOleStr},
      {"string as target kind", Typed(varUString, L"q"), varOleStr},
      {"8-bit text", Variant::FromAnsiString(AnsiString("\x01\xFF\0", 3)), varString},
      {"true", true, varBoolean},
      {"false", false, varBoolean},
      {"Null", Null(), varNull},
      {"Empty", Variant(), varEmpty},
      {"nested list", VarArrayOf({VarArrayOf({}), L"a", Null()}), varArray | varVariant},
  };
  for (const TCase& C : Cases) {
    TMemoryStream S;
    WriteVariantProc(&S, C.Value);
    S.SetPosition(0);
    Variant Back;
    ReadVariantProc(&S, Back);
    EXPECT_EQ(VarType(Back), C.ReadKind) << C.Name;
    EXPECT_EQ(VarCompare(Back, C.Value), 0) << C.Name;
    EXPECT_EQ(S.Position(), S.Size()) << C.Name;
  }
  Variant Extreme = ReadFrom(Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}));
  EXPECT_TRUE(std::isinf(Extreme.AsDouble()));
  EXPECT_EQ(ReadFrom(Bytes({9})).Var().boolVal, VARIANT_TRUE);
}

TEST(VariantStream, DamagedStreamsAreRejected) {
  const String ReadError = L"EReadError: Stream read error";
  for (int Tag : {7, 10, 11, 14, 20, 21, 22, 0x7F, 0xFF})
    EXPECT_EQ(ErrorOf([Tag] { ReadFrom(Bytes({Tag})); }), ReadError) << Tag;
  struct TCase {
    const char* Name;
    std::string Bytes;
  } Cases[] = {
      {"negative 8-bit length", Bytes({12, 0xFF, 0xFF, 0xFF, 0xFF})},
      {"8-bit length past the end", Bytes({12, 0x10, 0, 0, 0, 'a'})},
      {"negative wide length", Bytes({18, 0xFE, 0xFF, 0xFF, 0xFF})},
      {"huge wide length", Bytes({18, 0xFF, 0xFF, 0xFF, 0x3F, 'a', 0})},
      {"list of more items than bytes", Bytes({1, 4, 0, 0, 0, 0x10, 2, 1})},
      {"negative list count", Bytes({1, 2, 0xFF})},
      {"list count of a text tag", Bytes({1, 6, 1, 'a'})},
      {"unknown tag inside a list", Bytes({1, 2, 2, 2, 1, 7})},
  };
  for (const TCase& C : Cases) EXPECT_EQ(ErrorOf([&C] { ReadFrom(C.Bytes); }), ReadError) << C.Name;
  // Every golden stream cut short by any number of bytes fails to read.
  for (const Variant& V : {Variant(128), Variant(1.0), Variant(L"Ab"), Variant(Currency{1}),
                           VarArrayOf({1, Variant::FromAnsiString("xyz")})}) {
    TMemoryStream S;
    WriteVariantProc(&S, V);
    std::string All(static_cast<const char*>(S.Memory()), static_cast<size_t>(S.Size()));
    for (size_t N = 0; N < All.size(); ++N)
      EXPECT_TRUE(ErrorOf([&] { ReadFrom(All.substr(0, N)); }).rfind(L"EReadError", 0) == 0)
          << V.AsString() << L" cut to " << N;
  }
}

TEST(VariantStream, UnwritableValuesRaiseAndKeepWhatWasWritten) {
  const String WriteError = L"EWriteError: Stream write error";
  TMemoryStream S;
  WriteVariantProc(&S, 1);
  EXPECT_EQ(ErrorOf([&S] {
              WriteVariantProc(&S, VarArrayCreate({0, 1, 0, 1}, varVariant));
            }),
            WriteError);
  IUnknown* NoObject = nullptr;
  EXPECT_EQ(ErrorOf([&S, NoObject] { WriteVariantProc(&S, Variant(NoObject)); }), WriteError);
  EXPECT_EQ(HexBytes(S.Memory(), static_cast<size_t>(S.Size())), "02 01");
}

TEST(VariantStream, FixedWidthHelpersRoundTrip) {
  TMemoryStream S;
  WriteBooleanProc(&S, true);
  WriteSmallIntProc(&S, -2);
  WriteWordProc(&S, 65535);
  WriteIntegerProc(&S, -70000);
  WriteLargeIntProc(&S, INT64_MIN);
  WriteSingleProc(&S, 0.25f);
  WriteFloatProc(&S, 1.0L / 3);
  WriteCurrencyProc(&S, Currency{-1});
  WriteDateTimeProc(&S, 43535.5);
  WriteAnsiStringProc(&S, "ab");
  WriteWideStringProc(&S, L"\u0416");
  EXPECT_EQ(S.Size(), 1 + 2 + 2 + 4 + 8 + 4 + 10 + 8 + 8 + 6 + 6);
  S.SetPosition(0);
  EXPECT_TRUE(ReadBooleanFunc(&S));
  EXPECT_EQ(ReadSmallIntFunc(&S), -2);
  EXPECT_EQ(ReadWordFunc(&S), 65535);
  EXPECT_EQ(ReadIntegerFunc(&S), -70000);
  EXPECT_EQ(ReadLargeIntFunc(&S), INT64_MIN);
  Single Sg = 0;
  ReadSingleProc(&S, Sg);
  EXPECT_EQ(Sg, 0.25f);
  Extended E = 0;
  ReadFloatProc(&S, E);
  EXPECT_EQ(E, 1.0L / 3);
  EXPECT_EQ(ReadCurrencyFunc(&S).Scaled, -1);
  EXPECT_EQ(ReadDateTimeFunc(&S), 43535.5);
  EXPECT_EQ(ReadAnsiStringFunc(&S), "ab");
  EXPECT_EQ(ReadWideStringFunc(&S), L"\u0416");
  EXPECT_THROW(ReadIntegerFunc(&S), EReadError);
}

}  // namespace
