#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "FMTBcd.h"
#include "SqlTimSt.h"
#include "Variants.h"

namespace {

// 10 December 2026; the time of day as a fraction of a day.
constexpr TDateTime Dec10 = 46366.0;
constexpr TDateTime Dec10At1430 = Dec10 + (14 * 60 + 30) / 1440.0;

// Switches the user's regional number and date format for the life of the
// object and puts the previous values back. The monetary separators switch
// too: oleaut32 accepts them as number separators when parsing.
class TRegionalFormat {
 public:
  enum TKind { Dot, Comma };

  explicit TRegionalFormat(TKind AKind) {
    for (const auto& [Type, DotValue, CommaValue] : Settings()) {
      wchar_t Buf[80] = {};
      GetLocaleInfoW(LOCALE_USER_DEFAULT, Type, Buf, 80);
      FSaved.push_back({Type, Buf});
      SetLocaleInfoW(LOCALE_USER_DEFAULT, Type, AKind == Dot ? DotValue : CommaValue);
    }
  }
  TRegionalFormat(const TRegionalFormat&) = delete;
  TRegionalFormat& operator=(const TRegionalFormat&) = delete;
  ~TRegionalFormat() {
    for (const auto& [Type, Value] : FSaved)
      SetLocaleInfoW(LOCALE_USER_DEFAULT, Type, Value.c_str());
  }

 private:
  struct TSetting {
    LCTYPE Type;
    const wchar_t* DotValue;
    const wchar_t* CommaValue;
  };
  static std::vector<TSetting> Settings() {
    return {{LOCALE_SDECIMAL, L".", L","},
            {LOCALE_STHOUSAND, L",", L"\u00A0"},
            {LOCALE_SMONDECIMALSEP, L".", L","},
            {LOCALE_SMONTHOUSANDSEP, L",", L"\u00A0"},
            {LOCALE_SSHORTDATE, L"MM/dd/yyyy", L"dd.MM.yyyy"},
            {LOCALE_STIMEFORMAT, L"HH:mm:ss", L"HH:mm:ss"}};
  }
  std::vector<std::pair<LCTYPE, String>> FSaved;
};

// Runs AAction and returns the class name and message of the variant error
// it raises ("" when it raises nothing).
String ErrorOf(const std::function<void()>& AAction) {
  try {
    AAction();
  } catch (const EVariantError& E) {
    return E.ClassName() + L": " + E.Message();
  }
  return String();
}

// An automation object that only counts its references.
class TFakeDispatch : public IDispatch {
 public:
  ULONG Refs = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    if (AIID == IID_IUnknown || AIID == IID_IDispatch) {
      *AObj = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *AObj = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++Refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --Refs; }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* ACount) override {
    *ACount = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return DISP_E_UNKNOWNNAME;
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                   UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }
};

TEST(Variant, ConstructionGivesTheFrameworkTypes) {
  TFakeDispatch Disp;
  VARIANT Raw;
  VariantInit(&Raw);
  Raw.vt = VT_I2;
  Raw.iVal = 7;
  struct TCase {
    const char* Name;
    Variant Value;
    TVarType Type;
  } Cases[] = {
      {"default", Variant(), varEmpty},
      {"Unassigned", Unassigned(), varEmpty},
      {"Null", Null(), varNull},
      {"bool", true, varBoolean},
      {"ShortInt", ShortInt(-3), varShortInt},
      {"Byte", Byte(200), varByte},
      {"SmallInt", SmallInt(-300), varSmallint},
      {"Word", Word(60000), varWord},
      {"Integer", Integer(-5), varInteger},
      {"Cardinal", Cardinal(4000000000u), varLongWord},
      {"Int64", Int64(1) << 40, varInt64},
      {"UInt64", UInt64(1) << 63, varUInt64},
      {"Single", 1.5f, varSingle},
      {"Double", 1.5, varDouble},
      {"Currency", Currency{12345}, varCurrency},
      {"String", String(L"abc"), varOleStr},
      {"wchar_t*", L"abc", varOleStr},
      {"date", Variant::FromDateTime(Dec10), varDate},
      {"IDispatch", static_cast<IDispatch*>(&Disp), varDispatch},
      {"IUnknown", static_cast<IUnknown*>(&Disp), varUnknown},
      {"VARIANT", Variant(Raw), varSmallint},
      {"array", VarArrayOf({1, L"a"}), TVarType(varArray | varVariant)},
      {"EmptyParam", EmptyParam(), varError},
  };
  for (const auto& C : Cases) EXPECT_EQ(VarType(C.Value), C.Type) << C.Name;
  EXPECT_EQ(EmptyParam().Var().scode, DISP_E_PARAMNOTFOUND);
}

TEST(Variant, ValuesSurviveConstructionExactly) {
  EXPECT_EQ(Variant(Int64(-1) << 40).AsInt64(), Int64(-1) << 40);
  EXPECT_EQ(Variant(Cardinal(4000000000u)).AsInt64(), 4000000000LL);
  EXPECT_EQ(Variant(Word(60000)).AsInteger(), 60000);
  EXPECT_EQ(Variant(ShortInt(-3)).AsInteger(), -3);
  EXPECT_EQ(Variant(String(L"a\0b", 3)).AsString(), String(L"a\0b", 3));
  EXPECT_EQ(Variant(Currency::FromDouble(1.23456)).Var().cyVal.int64, 12346);
  EXPECT_DOUBLE_EQ(Currency{12345}.ToDouble(), 1.2345);
  EXPECT_DOUBLE_EQ(Variant::FromDateTime(Dec10At1430).AsDateTime(), Dec10At1430);
}

// A variant that refers to ATarget the way COM passes by-reference
// arguments (the copy constructor would take the value instead).
Variant ByRef(VARTYPE AType, void* ATarget) {
  Variant V;
  V.Ptr()->vt = AType | VT_BYREF;
  V.Ptr()->byref = ATarget;
  return V;
}

TEST(Variant, CopyMoveAndDetach) {
  Variant A = L"text";
  Variant B = A;
  EXPECT_NE(A.Var().bstrVal, B.Var().bstrVal);  // a copy owns its own string
  Variant C = std::move(B);
  EXPECT_TRUE(VarIsEmpty(B));
  EXPECT_EQ(C.AsString(), L"text");
  C = A;
  C = C;
  EXPECT_EQ(C.AsString(), L"text");
  VARIANT Raw = C.Detach();
  EXPECT_TRUE(VarIsEmpty(C));
  EXPECT_EQ(Raw.vt, VT_BSTR);
  VariantClear(&Raw);

  // A by-reference variant is copied as the value it refers to.
  LONG Target = 5;
  Variant Ref = ByRef(VT_I4, &Target);
  Variant Copy = Ref;
  Target = 6;
  EXPECT_EQ(VarType(Copy), varInteger);
  EXPECT_EQ(Copy.AsInteger(), 5);
}

TEST(Variant, InterfaceReferencesAreCounted) {
  TFakeDispatch Disp;
  {
    Variant A = static_cast<IDispatch*>(&Disp);
    EXPECT_EQ(Disp.Refs, 2u);
    Variant B = A;
    EXPECT_EQ(Disp.Refs, 3u);
    Variant C = std::move(B);
    EXPECT_EQ(Disp.Refs, 3u);
    C = Variant(1);
    EXPECT_EQ(Disp.Refs, 2u);
    Variant Arr = VarArrayOf({A, A});
    EXPECT_EQ(Disp.Refs, 4u);
    Variant Elem = VarArrayGet(Arr, {1});
    EXPECT_EQ(Disp.Refs, 5u);
    EXPECT_EQ(Elem.Var().pdispVal, &Disp);
    VARIANT Raw = A.Detach();
    EXPECT_EQ(Disp.Refs, 5u);
    VariantClear(&Raw);
    EXPECT_EQ(Disp.Refs, 4u);
  }
  EXPECT_EQ(Disp.Refs, 1u);
  EXPECT_TRUE(VarIsClear(Variant(static_cast<IDispatch*>(nullptr))));
  EXPECT_FALSE(VarIsClear(Variant(static_cast<IDispatch*>(&Disp))));
  EXPECT_EQ(Disp.Refs, 1u);
}

TEST(Variant, TypeTestsLookThroughReferences) {
  LONG Target = 1;
  Variant Inner = L"x";
  struct TCase {
    const char* Name;
    Variant Value;
    bool Empty, Null, Clear, Array, Numeric, Str;
  } Cases[] = {
      {"Empty", Variant(), true, false, true, false, false, false},
      {"Null", Null(), false, true, false, false, false, false},
      {"Integer", 1, false, false, false, false, true, false},
      {"bool", false, false, false, false, false, true, false},
      {"Currency", Currency{1}, false, false, false, false, true, false},
      {"date", Variant::FromDateTime(1), false, false, false, false, false, false},
      {"string", L"", false, false, false, false, false, true},
      {"array", VarArrayOf({}), false, false, false, true, false, false},
      {"EmptyParam", EmptyParam(), false, false, false, false, false, false},
      {"by-ref Integer", ByRef(VT_I4, &Target), false, false, false, false, true, false},
      {"by-ref variant", ByRef(VT_VARIANT, Inner.Ptr()), false, false, false, false, false, true},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(VarIsEmpty(C.Value), C.Empty) << C.Name;
    EXPECT_EQ(VarIsNull(C.Value), C.Null) << C.Name;
    EXPECT_EQ(VarIsClear(C.Value), C.Clear) << C.Name;
    EXPECT_EQ(VarIsArray(C.Value), C.Array) << C.Name;
    EXPECT_EQ(VarIsNumeric(C.Value), C.Numeric) << C.Name;
    EXPECT_EQ(VarIsStr(C.Value), C.Str) << C.Name;
  }
}

TEST(Variant, ConversionsFollowThePlatform) {
  TRegionalFormat Format(TRegionalFormat::Dot);
  struct TCase {
    const char* Name;
    Variant Value;
    Integer AsInteger;
    Double AsDouble;
    bool AsBoolean;
    const wchar_t* AsString;
  } Cases[] = {
      {"Empty", Variant(), 0, 0, false, L""},
      {"Integer", 42, 42, 42, true, L"42"},
      {"half to even, down", 2.5, 2, 2.5, true, L"2.5"},
      {"half to even, up", 3.5, 4, 3.5, true, L"3.5"},
      {"negative", -1.75, -2, -1.75, true, L"-1.75"},
      {"True", true, -1, -1, true, L"True"},
      {"False", false, 0, 0, false, L"False"},
      {"numeric text", L"42", 42, 42, true, L"42"},
      {"fraction text", L"0.125", 0, 0.125, true, L"0.125"},
      {"Currency", Currency{12345}, 1, 1.2345, true, L"1.2345"},
      {"date", Variant::FromDateTime(Dec10), 46366, 46366, true, L"12/10/2026"},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(C.Value.AsInteger(), C.AsInteger) << C.Name;
    EXPECT_EQ(C.Value.AsInt64(), C.AsInteger) << C.Name;
    EXPECT_DOUBLE_EQ(C.Value.AsDouble(), C.AsDouble) << C.Name;
    EXPECT_EQ(C.Value.AsBoolean(), C.AsBoolean) << C.Name;
    EXPECT_EQ(C.Value.AsString(), C.AsString) << C.Name;
    EXPECT_EQ(VarToStr(C.Value), C.AsString) << C.Name;
  }
  EXPECT_TRUE(Variant(L"True").AsBoolean());
  EXPECT_FALSE(Variant(L"False").AsBoolean());
  EXPECT_DOUBLE_EQ(Variant(L"12/10/2026 14:30:00").AsDateTime(), Dec10At1430);
  EXPECT_EQ(VarType(VarAsType(L"7", varInteger)), varInteger);
  EXPECT_EQ(VarType(VarAsType(7, varUString)), varOleStr);
  EXPECT_EQ(VarAsType(7, varUString).AsString(), L"7");
  EXPECT_EQ(VarType(VarAsType(7, varString)), varString);
  EXPECT_EQ(VarAsType(7, varString).AsAnsiString(), "7");
}

TEST(Variant, NullAndEmptyAsText) {
  EXPECT_EQ(VarToStr(Null()), L"");
  EXPECT_EQ(VarToStr(Variant()), L"");
  EXPECT_EQ(VarToStrDef(Null(), L"none"), L"none");
  EXPECT_EQ(VarToStrDef(Variant(), L"none"), L"");
  EXPECT_EQ(VarToStrDef(L"x", L"none"), L"x");
  EXPECT_EQ(VarToWideStr(Null()), L"");
  EXPECT_EQ(VarToWideStr(L"\u0416"), L"\u0416");
}

TEST(Variant, TextFollowsTheRegionalFormat) {
  struct TCase {
    const char* Name;
    Variant Value;
    const wchar_t* Dot;
    const wchar_t* Comma;
  } Cases[] = {
      {"Double", 1.5, L"1.5", L"1,5"},
      {"negative", -0.25, L"-0.25", L"-0,25"},
      {"fifteen digits", 0.1 + 0.2, L"0.3", L"0,3"},
      {"Single", 0.1f, L"0.1", L"0,1"},
      {"large", 1e20, L"1E+20", L"1E+20"},
      {"Currency", Currency{125000}, L"12.5", L"12,5"},
      {"date and time", Variant::FromDateTime(Dec10At1430), L"12/10/2026 14:30:00",
       L"10.12.2026 14:30:00"},
      {"date", Variant::FromDateTime(Dec10), L"12/10/2026", L"10.12.2026"},
      {"time", Variant::FromDateTime(0.75), L"18:00:00", L"18:00:00"},
  };
  for (auto Kind : {TRegionalFormat::Dot, TRegionalFormat::Comma}) {
    TRegionalFormat Format(Kind);
    for (const auto& C : Cases) {
      String Text = VarToStr(C.Value);
      EXPECT_EQ(Text, Kind == TRegionalFormat::Dot ? C.Dot : C.Comma) << C.Name;
      // The text reads back as the same value under the same format.
      Double Back = VarAsType(Text, VarType(C.Value)).AsDouble();
      EXPECT_NEAR(Back, C.Value.AsDouble(), 1e-12 * std::max(1.0, std::abs(Back))) << C.Name;
    }
  }
}

TEST(Variant, TextIsReadUnderTheRegionalFormat) {
  {
    TRegionalFormat Format(TRegionalFormat::Dot);
    EXPECT_DOUBLE_EQ(Variant(L"1.5").AsDouble(), 1.5);
    EXPECT_DOUBLE_EQ(Variant(L"1,234.5").AsDouble(), 1234.5);
    EXPECT_DOUBLE_EQ(Variant(L"12/10/2026").AsDateTime(), Dec10);
  }
  {
    TRegionalFormat Format(TRegionalFormat::Comma);
    EXPECT_DOUBLE_EQ(Variant(L"1,5").AsDouble(), 1.5);
    EXPECT_EQ(Variant(L"1,5").AsInteger(), 2);
    EXPECT_DOUBLE_EQ(Variant(L"10.12.2026").AsDateTime(), Dec10);
    EXPECT_EQ(ErrorOf([] { Variant(L"1.5").AsDouble(); }),
              L"EVariantTypeCastError: Could not convert variant of type (OleStr) into type "
              L"(Double)");
  }
}

TEST(Variant, ConversionErrorsNameBothTypes) {
  TFakeDispatch Disp;
  const String CastPrefix = L"EVariantTypeCastError: Could not convert variant of type ";
  struct TCase {
    const char* Name;
    std::function<void()> Action;
    String Expected;
  } Cases[] = {
      {"text to Integer", [] { Variant(L"abc").AsInteger(); },
       CastPrefix + L"(OleStr) into type (Integer)"},
      {"text to Boolean", [] { Variant(L"abc").AsBoolean(); },
       CastPrefix + L"(OleStr) into type (Boolean)"},
      {"text to date", [] { Variant(L"abc").AsDateTime(); },
       CastPrefix + L"(OleStr) into type (Date)"},
      {"Null to Integer", [] { Null().AsInteger(); }, CastPrefix + L"(Null) into type (Integer)"},
      {"Null to Int64", [] { Null().AsInt64(); }, CastPrefix + L"(Null) into type (Int64)"},
      {"Null to Double", [] { Null().AsDouble(); }, CastPrefix + L"(Null) into type (Double)"},
      {"Null to Boolean", [] { Null().AsBoolean(); }, CastPrefix + L"(Null) into type (Boolean)"},
      {"Null to String", [] { Null().AsString(); }, CastPrefix + L"(Null) into type (String)"},
      {"Null by VarAsType", [] { VarAsType(Null(), varSmallint); },
       CastPrefix + L"(Null) into type (Smallint)"},
      {"array to text", [] { VarToStr(VarArrayOf({1})); },
       CastPrefix + L"(Array Variant) into type (String)"},
      {"EmptyParam to Integer", [] { EmptyParam().AsInteger(); },
       CastPrefix + L"(Error) into type (Integer)"},
      {"Int64 to Integer", [] { Variant(Int64(1) << 40).AsInteger(); },
       L"EVariantOverflowError: Overflow while converting variant of type (Int64) into type "
       L"(Integer)"},
      {"Double to Currency", [] { Currency::FromDouble(1e300); },
       L"EVariantOverflowError: Overflow while converting variant of type (Double) into type "
       L"(Currency)"},
      {"dispatch without a value", [&Disp] { Variant(static_cast<IDispatch*>(&Disp)).AsString(); },
       CastPrefix + L"(Dispatch) into type (String)"},
  };
  for (const auto& C : Cases) EXPECT_EQ(ErrorOf(C.Action), C.Expected) << C.Name;
  EXPECT_EQ(Disp.Refs, 1u);
  EXPECT_EQ(VarTypeAsText(varByRef | varArray | varInteger), L"ByRef Array Integer");
  EXPECT_EQ(VarTypeAsText(VT_RECORD), L"$0024");
}

TEST(VariantArray, OneDimensionWithBoundsAndRedim) {
  Variant A = VarArrayOf({10, L"b", Null()});
  EXPECT_EQ(VarType(A), varArray | varVariant);
  EXPECT_EQ(VarArrayDimCount(A), 1);
  EXPECT_EQ(VarArrayLowBound(A, 1), 0);
  EXPECT_EQ(VarArrayHighBound(A, 1), 2);
  EXPECT_EQ(VarArrayGet(A, {0}).AsInteger(), 10);
  EXPECT_EQ(VarArrayGet(A, {1}).AsString(), L"b");
  EXPECT_TRUE(VarIsNull(VarArrayGet(A, {2})));

  VarArrayRedim(A, 4);
  EXPECT_EQ(VarArrayHighBound(A, 1), 4);
  EXPECT_EQ(VarArrayGet(A, {1}).AsString(), L"b");
  EXPECT_TRUE(VarIsEmpty(VarArrayGet(A, {4})));
  VarArrayRedim(A, 0);
  EXPECT_EQ(VarArrayHighBound(A, 1), 0);
  EXPECT_EQ(VarArrayGet(A, {0}).AsInteger(), 10);

  Variant Empty = VarArrayOf({});
  EXPECT_EQ(VarArrayLowBound(Empty, 1), 0);
  EXPECT_EQ(VarArrayHighBound(Empty, 1), -1);
}

TEST(VariantArray, CopiesAreIndependent) {
  Variant A = VarArrayOf({1, 2});
  Variant B = A;
  VarArrayPut(B, L"changed", {0});
  EXPECT_EQ(VarArrayGet(A, {0}).AsInteger(), 1);
  EXPECT_EQ(VarArrayGet(B, {0}).AsString(), L"changed");
  LONG Target = 5;
  VarArrayPut(B, ByRef(VT_I4, &Target), {1});
  Target = 6;
  EXPECT_EQ(VarType(VarArrayGet(B, {1})), varInteger);
  EXPECT_EQ(VarArrayGet(B, {1}).AsInteger(), 5);
}

TEST(VariantArray, TypedElementsAreConverted) {
  Variant Ints = VarArrayCreate({1, 3}, varInteger);
  EXPECT_EQ(VarType(Ints), varArray | varInteger);
  EXPECT_EQ(VarArrayLowBound(Ints, 1), 1);
  EXPECT_EQ(VarArrayGet(Ints, {2}).AsInteger(), 0);
  VarArrayPut(Ints, L"7", {3});
  Variant Elem = VarArrayGet(Ints, {3});
  EXPECT_EQ(VarType(Elem), varInteger);
  EXPECT_EQ(Elem.AsInteger(), 7);

  Variant Texts = VarArrayCreate({0, 1}, varOleStr);
  {
    // The number becomes text when it is put, under the format of that moment.
    TRegionalFormat Format(TRegionalFormat::Dot);
    VarArrayPut(Texts, 2.5, {1});
  }
  EXPECT_EQ(VarType(VarArrayGet(Texts, {1})), varOleStr);
  EXPECT_EQ(VarArrayGet(Texts, {1}).AsString(), L"2.5");
  EXPECT_EQ(VarArrayGet(Texts, {0}).AsString(), L"");

  TFakeDispatch Disp;
  Variant Objects = VarArrayCreate({0, 0}, varDispatch);
  VarArrayPut(Objects, static_cast<IDispatch*>(&Disp), {0});
  EXPECT_EQ(Disp.Refs, 2u);
  EXPECT_EQ(VarArrayGet(Objects, {0}).Var().pdispVal, &Disp);
  Objects.Clear();
  EXPECT_EQ(Disp.Refs, 1u);
}

TEST(VariantArray, TwoDimensionsTakeIndicesInBoundsOrder) {
  Variant A = VarArrayCreate({0, 2, 1, 5}, varVariant);
  EXPECT_EQ(VarArrayDimCount(A), 2);
  EXPECT_EQ(VarArrayLowBound(A, 1), 0);
  EXPECT_EQ(VarArrayHighBound(A, 1), 2);
  EXPECT_EQ(VarArrayLowBound(A, 2), 1);
  EXPECT_EQ(VarArrayHighBound(A, 2), 5);
  for (Integer I = 0; I <= 2; ++I) {
    for (Integer J = 1; J <= 5; ++J) VarArrayPut(A, I * 10 + J, {I, J});
  }
  EXPECT_EQ(VarArrayGet(A, {2, 5}).AsInteger(), 25);
  EXPECT_EQ(VarArrayGet(A, {1, 3}).AsInteger(), 13);
  // Redim changes the last dimension and keeps the rows that stay.
  VarArrayRedim(A, 6);
  EXPECT_EQ(VarArrayHighBound(A, 2), 6);
  EXPECT_EQ(VarArrayHighBound(A, 1), 2);
  EXPECT_EQ(VarArrayGet(A, {2, 5}).AsInteger(), 25);
  EXPECT_TRUE(VarIsEmpty(VarArrayGet(A, {0, 6})));
}

TEST(VariantArray, Errors) {
  Variant A = VarArrayCreate({0, 2, 1, 5}, varVariant);
  const String BadIndex = L"EVariantBadIndexError: Variant or safe array index out of bounds";
  const String InvalidArg = L"EVariantInvalidArgError: Invalid argument";
  const String CreateError = L"EVariantArrayCreateError: Error creating variant or safe array";
  struct TCase {
    const char* Name;
    std::function<void()> Action;
    String Expected;
  } Cases[] = {
      {"index above",
       [&A] {
         VarArrayGet(A, {3, 1});
       },
       BadIndex},
      {"index below",
       [&A] {
         VarArrayGet(A, {0, 0});
       },
       BadIndex},
      {"too few indices", [&A] { VarArrayGet(A, {0}); }, BadIndex},
      {"too many indices",
       [&A] {
         VarArrayPut(A, 1, {0, 1, 1});
       },
       BadIndex},
      {"dimension 0", [&A] { VarArrayLowBound(A, 0); }, BadIndex},
      {"dimension 3", [&A] { VarArrayHighBound(A, 3); }, BadIndex},
      {"bounds of a number", [] { VarArrayLowBound(1, 1); }, InvalidArg},
      {"element of a number", [] { VarArrayGet(1, {0}); }, InvalidArg},
      {"redim of text",
       [] {
         Variant V = L"x";
         VarArrayRedim(V, 1);
       },
       InvalidArg},
      {"odd bounds", [] { VarArrayCreate({0}, varVariant); }, CreateError},
      {"high below low",
       [] {
         VarArrayCreate({5, 3}, varVariant);
       },
       CreateError},
      {"no element type",
       [] {
         VarArrayCreate({0, 1}, varNull);
       },
       CreateError},
      {"redim below low",
       [] {
         Variant V = VarArrayCreate({5, 6}, varInteger);
         VarArrayRedim(V, 3);
       },
       CreateError},
      {"element not convertible",
       [] {
         Variant V = VarArrayCreate({0, 1}, varInteger);
         VarArrayPut(V, L"abc", {0});
       },
       L"EVariantTypeCastError: Could not convert variant of type (OleStr) into type (Integer)"},
  };
  for (const auto& C : Cases) EXPECT_EQ(ErrorOf(C.Action), C.Expected) << C.Name;
  EXPECT_EQ(VarArrayDimCount(1), 0);
}

TEST(VariantCompare, FrameworkRules) {
  TRegionalFormat Format(TRegionalFormat::Dot);
  // Expected: -1 when Left < Right, 0 when equal, 1 when greater.
  struct TCase {
    const char* Name;
    Variant Left, Right;
    int Expected;
  } Cases[] = {
      {"Integer and Double", 1, 1.0, 0},
      {"Integer below Double", 1, 1.5, -1},
      {"Int64 above Integer", Int64(1) << 40, 7, 1},
      {"LongWord above Integer", Cardinal(4000000000u), -1, 1},
      {"Currency and Double", Currency{15000}, 1.5, 0},
      {"date and Double", Variant::FromDateTime(Dec10), 46366.0, 0},
      {"UInt64 above every Int64", UInt64(1) << 63, INT64_MAX, 1},
      {"ShortInt and Word", ShortInt(-1), Word(1), -1},
      {"Currency and Int64", Currency{10000}, Int64(1), 0},
      {"Decimal and Double", VarAsType(0.5, varDecimal), 0.5, 0},
      {"NaN above numbers", std::nan(""), 1e300, 1},
      {"NaN equals NaN", std::nan(""), std::nan(""), 0},
      {"True is -1", true, -1, 0},
      {"True below False", true, false, -1},
      {"False is 0", false, 0, 0},
      {"strings", L"abc", L"abd", -1},
      {"equal strings", L"abc", L"abc", 0},
      {"locale order, not code order", L"a", L"B", -1},
      {"case counts, lower first", L"abc", L"ABC", -1},
      {"numeric text and number", L"2", 2, 0},
      {"number against longer numeric text", 2, L"10", -1},
      {"decimal text against Double", L"0.5", 0.25, 1},
      {"date text against date", L"12/10/2026", Variant::FromDateTime(Dec10), 0},
      {"Null and Null", Null(), Null(), 0},
      {"Null below number", Null(), 0, -1},
      {"number above Null", 0, Null(), 1},
      {"Null below text", Null(), L"", -1},
      {"Null below Empty", Null(), Variant(), -1},
      {"Empty and Empty", Variant(), Variant(), 0},
      {"Empty is 0", Variant(), 0, 0},
      {"Empty is empty text", Variant(), L"", 0},
      {"Empty is False", false, Variant(), 0},
      {"Empty below 1", Variant(), 1, -1},
      {"Empty above -1", Variant(), -1, 1},
      {"Empty below text", Variant(), L"a", -1},
  };
  for (const auto& C : Cases) {
    const Variant& L = C.Left;
    const Variant& R = C.Right;
    EXPECT_EQ(L == R, C.Expected == 0) << C.Name;
    EXPECT_EQ(L != R, C.Expected != 0) << C.Name;
    EXPECT_EQ(L < R, C.Expected < 0) << C.Name;
    EXPECT_EQ(L <= R, C.Expected <= 0) << C.Name;
    EXPECT_EQ(L > R, C.Expected > 0) << C.Name;
    EXPECT_EQ(L >= R, C.Expected >= 0) << C.Name;
    // The order is the same seen from the other side.
    EXPECT_EQ(R<L, C.Expected> 0) << C.Name;
    EXPECT_EQ(R == L, C.Expected == 0) << C.Name;
  }
  // Plain values on either side compare through the same rules.
  EXPECT_TRUE(Variant(L"5") == 5);
  EXPECT_TRUE(4.5 < Variant(5));
}

TEST(VariantCompare, ValuesWithoutOrderRaise) {
  TFakeDispatch Disp;
  const String InvalidOp = L"EVariantInvalidOpError: Invalid variant operation";
  struct TCase {
    const char* Name;
    Variant Left, Right;
    String Expected;
  } Cases[] = {
      {"arrays", VarArrayOf({1}), VarArrayOf({1}), InvalidOp},
      {"array and Null", VarArrayOf({1}), Null(), InvalidOp},
      {"interfaces", static_cast<IDispatch*>(&Disp), static_cast<IDispatch*>(&Disp), InvalidOp},
      {"Empty and interface", Variant(), static_cast<IDispatch*>(&Disp), InvalidOp},
      {"error values", EmptyParam(), EmptyParam(), InvalidOp},
      {"text that is no number", L"abc", 1,
       L"EVariantTypeCastError: Could not convert variant of type (OleStr) into type (Double)"},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(ErrorOf([&C] { (void)(C.Left == C.Right); }), C.Expected) << C.Name;
    EXPECT_EQ(ErrorOf([&C] { (void)(C.Right < C.Left); }), C.Expected) << C.Name;
  }
}

TEST(Variant, EightBitTextKeepsItsBytes) {
  const AnsiString Bytes("A\xC0\xFF\0z", 5);
  Variant V = Variant::FromAnsiString(Bytes);
  EXPECT_EQ(VarType(V), varString);
  EXPECT_TRUE(VarIsStr(V));
  EXPECT_EQ(V.AsAnsiString(), Bytes);
  Variant Copy = V;
  EXPECT_EQ(Copy.AsAnsiString(), Bytes);
  V.Clear();
  EXPECT_EQ(Copy.AsAnsiString(), Bytes);
  EXPECT_EQ(Copy.AsString(), AnsiToString(Bytes));
  EXPECT_EQ(VarTypeAsText(varString), L"AnsiString");
  EXPECT_EQ(VarTypeAsText(varUString), L"String");
  // Text compares as its UTF-16 form, numbers as their value.
  EXPECT_TRUE(Variant::FromAnsiString("abc") == Variant(L"abc"));
  EXPECT_TRUE(Variant::FromAnsiString("2") < Variant(10));
  EXPECT_EQ(VarAsType(Variant::FromAnsiString("42"), varInteger).AsInteger(), 42);
}

TEST(VariantArray, ElementsOfTheFrameworksOwnKindsAreCopiedAndFreed) {
  Variant Inner = VarArrayOf({Variant::FromAnsiString("in"), VarFMTBcdCreate(L"1.25")});
  Variant A = VarArrayOf({Variant::FromAnsiString("xy"), Inner, 7});
  Variant Copy = A;
  VarArrayPut(A, Variant::FromAnsiString("changed"), {0});
  EXPECT_EQ(VarArrayGet(A, {0}).AsAnsiString(), "changed");
  Variant First = VarArrayGet(Copy, {0});
  EXPECT_EQ(VarType(First), varString);
  EXPECT_EQ(First.AsAnsiString(), "xy");
  Variant CopiedInner = VarArrayGet(Copy, {1});
  EXPECT_EQ(VarArrayGet(CopiedInner, {0}).AsAnsiString(), "in");
  EXPECT_EQ(BcdToStr(VarToBcd(VarArrayGet(CopiedInner, {1})), TFormatSettings::Invariant()),
            L"1.25");
}

TEST(Bcd, TextIsExactAndCanonical) {
  const TFormatSettings Dot = TFormatSettings::Invariant();
  struct TCase {
    const wchar_t* Text;
    const wchar_t* Canonical;  // nullptr: not a number; L"!": too many digits
  } Cases[] = {
      {L"12.50", L"12.5"},
      {L" -0.000 ", L"0"},
      {L"+7", L"7"},
      {L"1E3", L"1000"},
      {L"1.5e-3", L"0.0015"},
      {L".5", L"0.5"},
      {L"-123456789012345678901234567890.000000001", L"-123456789012345678901234567890.000000001"},
      {L"1234567890123456789012345678901234567890123456789012345678901234",
       L"1234567890123456789012345678901234567890123456789012345678901234"},
      {L"12345678901234567890123456789012345678901234567890123456789012345", L"!"},
      {L"1E64", L"!"},
      {L"abc", nullptr},
      {L"1,5", nullptr},
      {L"1.2.3", nullptr},
      {L"", nullptr},
      {L"-", nullptr},
      {L"1E", nullptr},
  };
  for (const TCase& C : Cases) {
    TBcd B;
    if (!C.Canonical) {
      EXPECT_FALSE(TryStrToBcd(C.Text, B, Dot)) << C.Text;
      EXPECT_THROW(StrToBcd(C.Text, Dot), EBcdException) << C.Text;
    } else if (String(C.Canonical) == L"!") {
      EXPECT_THROW(StrToBcd(C.Text, Dot), EBcdOverflowException) << C.Text;
    } else {
      ASSERT_TRUE(TryStrToBcd(C.Text, B, Dot)) << C.Text;
      EXPECT_EQ(BcdToStr(B, Dot), C.Canonical) << C.Text;
    }
  }
  TFormatSettings Comma = Dot;
  Comma.DecimalSeparator = L',';
  EXPECT_EQ(BcdToStr(StrToBcd(L"-1,25", Comma), Comma), L"-1,25");
  EXPECT_EQ(BcdScale(StrToBcd(L"1.50", Dot)), 2);
  EXPECT_TRUE(IsBcdNegative(StrToBcd(L"-1", Dot)));
}

TEST(Bcd, NumbersAndOrder) {
  const TFormatSettings Dot = TFormatSettings::Invariant();
  EXPECT_EQ(BcdToStr(IntegerToBcd(INT64_MIN), Dot), L"-9223372036854775808");
  EXPECT_EQ(BcdToStr(DoubleToBcd(0.1), Dot), L"0.1");
  EXPECT_DOUBLE_EQ(BcdToDouble(StrToBcd(L"-2.5E-7", Dot)), -2.5E-7);
  EXPECT_EQ(BcdToCurr(StrToBcd(L"1.23456", Dot)).Scaled, 12346);
  EXPECT_EQ(BcdToCurr(StrToBcd(L"-0.00005", Dot)).Scaled, -1);
  EXPECT_EQ(BcdToStr(CurrToBcd(Currency{-12345}), Dot), L"-1.2345");
  EXPECT_THROW(BcdToCurr(StrToBcd(L"1E16", Dot)), EBcdOverflowException);
  struct TCase {
    const wchar_t* Left;
    const wchar_t* Right;
    Integer Expected;
  } Cases[] = {
      {L"1.50", L"1.5", 0},    {L"-0", L"0", 0},        {L"2", L"10", -1},
      {L"-2", L"-10", 1},      {L"0.001", L"0.01", -1}, {L"-1", L"0.5", -1},
      {L"99.999", L"100", -1}, {L"100", L"99.999", 1},  {L"0", L"0.001", -1},
      {L"0", L"-0.001", 1},    {L"-0.001", L"0", -1},
  };
  for (const TCase& C : Cases)
    EXPECT_EQ(BcdCompare(StrToBcd(C.Left, Dot), StrToBcd(C.Right, Dot)), C.Expected)
        << C.Left << L" " << C.Right;
}

TEST(Variant, BcdConvertsUnderEitherSeparator) {
  for (auto Kind : {TRegionalFormat::Dot, TRegionalFormat::Comma}) {
    TRegionalFormat Format(Kind);
    const wchar_t* Text = Kind == TRegionalFormat::Dot ? L"123.456" : L"123,456";
    Variant V = VarAsType(Variant(Text), varFMTBcd);
    EXPECT_EQ(VarType(V), varFMTBcd);
    EXPECT_TRUE(VarIsFMTBcd(V));
    EXPECT_EQ(V.AsString(), Text);
    EXPECT_DOUBLE_EQ(V.AsDouble(), 123.456);
    EXPECT_EQ(V.AsInteger(), 123);
    EXPECT_EQ(BcdToStr(VarToBcd(Variant(Currency{15000})), TFormatSettings::Invariant()), L"1.5");
    EXPECT_TRUE(V > Variant(123));
    EXPECT_TRUE(V < Variant(123.5));
    EXPECT_TRUE(V == VarFMTBcdCreate(StrToBcd(L"123.4560", TFormatSettings::Invariant())));
    EXPECT_TRUE(V > Variant());
    EXPECT_TRUE(Null() < V);
    EXPECT_EQ(ErrorOf([] { (void)VarAsType(Variant(L"abc"), varFMTBcd); }),
              L"EVariantTypeCastError: Could not convert variant of type (OleStr) into type "
              L"(FMTBcd)");
  }
}

TEST(Variant, SQLTimeStampsConvertThroughDates) {
  Variant V = VarSQLTimeStampCreate(Dec10At1430);
  EXPECT_EQ(VarType(V), varSQLTimeStamp);
  TSQLTimeStamp T = VarToSQLTimeStamp(V);
  EXPECT_EQ(T.Year, 2026);
  EXPECT_EQ(T.Month, 12);
  EXPECT_EQ(T.Day, 10);
  EXPECT_EQ(T.Hour, 14);
  EXPECT_EQ(T.Minute, 30);
  EXPECT_DOUBLE_EQ(V.AsDateTime(), Dec10At1430);
  EXPECT_TRUE(V == Variant::FromDateTime(Dec10At1430));
  EXPECT_TRUE(V > Variant::FromDateTime(Dec10));
  // Before the epoch the time of day still runs forward.
  TSQLTimeStamp Old{1899, 12, 29, 6, 0, 0, 0};
  EXPECT_DOUBLE_EQ(SQLTimeStampToDateTime(Old), -1.25);
  EXPECT_EQ(DateTimeToSQLTimeStamp(-1.25).Hour, 6);
  TSQLTimeStamp Bad{2026, 13, 1, 0, 0, 0, 0};
  EXPECT_THROW(SQLTimeStampToDateTime(Bad), EConvertError);
  EXPECT_THROW(VarSQLTimeStampCreate(Bad).AsDateTime(), EVariantTypeCastError);
}

}  // namespace
