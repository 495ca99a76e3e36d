// The spin editor's steps: exact 64-bit stepping at the type's edges,
// bounds, the circular ring, and float steps on the shown digits.
#include <gtest/gtest.h>

#include <limits>

#include "EditcoreTestSupport.h"
#include "cxExtEditUtils.h"

// The common controls need the platform headers the ones above bring.
#include <commctrl.h>

namespace {

constexpr Int64 I64Min = std::numeric_limits<Int64>::min();
constexpr Int64 I64Max = std::numeric_limits<Int64>::max();
constexpr Double DblMax = std::numeric_limits<Double>::max();

struct TIntStep {
  const char* Name;
  Int64 Value, Min, Max, Increment;
  bool Forward;
  TcxSpinBoundsCheckingKind Kind;
  bool Produced;
  Int64 Expected;
};

// No bounds means the type's limits.
const TIntStep IntSteps[] = {
    {"plain step up", 5, I64Min, I64Max, 1, true, bckExtendToBound, true, 6},
    {"plain step down", 5, I64Min, I64Max, -1, false, bckExtendToBound, true, 4},
    {"largest stays largest", I64Max, I64Min, I64Max, 1, true, bckExtendToBound, true, I64Max},
    {"smallest stays smallest", I64Min, I64Min, I64Max, -1, false, bckExtendToBound, true, I64Min},
    {"large step clipped at the top", I64Max - 3, I64Min, I64Max, 10, true, bckExtendToBound, true,
     I64Max},
    {"large step clipped at the bottom", I64Min + 3, I64Min, I64Max, -10, false, bckExtendToBound,
     true, I64Min},
    {"negative to positive across zero", -5, I64Min, I64Max, 12, true, bckExtendToBound, true, 7},
    {"step of the whole range from the bottom", I64Min, I64Min, I64Max, I64Max, true,
     bckExtendToBound, true, -1},
    {"smallest step from the top", I64Max, I64Min, I64Max, I64Min, false, bckExtendToBound, true,
     -1},
    {"largest step from the largest", I64Max, I64Min, I64Max, I64Max, true, bckExtendToBound, true,
     I64Max},
    {"whole ring wraps the top to the bottom", I64Max, I64Min, I64Max, 1, true, bckCircular, true,
     I64Min},
    {"whole ring wraps the bottom to the top", I64Min, I64Min, I64Max, -1, false, bckCircular, true,
     I64Max},
    {"whole ring, far step", I64Max - 1, I64Min, I64Max, I64Max, true, bckCircular, true,
     I64Min + I64Max - 2},
    {"not exceeding refuses", 9, 0, 10, 3, true, bckDoNotExceed, false, 9},
    {"not exceeding allows the bound", 9, 0, 10, 1, true, bckDoNotExceed, true, 10},
    {"extend to the upper bound", 9, 0, 10, 3, true, bckExtendToBound, true, 10},
    {"ring: 9 + 3 gives 1", 9, 0, 10, 3, true, bckCircular, true, 1},
    {"ring: 1 - 3 gives 9", 1, 0, 10, -3, false, bckCircular, true, 9},
    {"ring: from the top one step up", 10, 0, 10, 1, true, bckCircular, true, 0},
    {"ring: from the bottom one step down", 0, 0, 10, -1, false, bckCircular, true, 10},
    {"ring: more than one lap", 9, 0, 10, 25, true, bckCircular, true, 1},
    {"ring: more than one lap down", 1, 0, 10, -25, false, bckCircular, true, 9},
    {"ring of negative bounds", -3, -5, -1, 4, true, bckCircular, true, -4},
    {"below the minimum, forward", -7, 0, 10, 1, true, bckExtendToBound, true, 0},
    {"below the minimum, backward", -7, 0, 10, -1, false, bckExtendToBound, false, -7},
    {"below the minimum, backward, circular", -7, 0, 10, -1, false, bckCircular, true, 10},
    {"above the maximum, backward", 17, 0, 10, -1, false, bckExtendToBound, true, 10},
    {"above the maximum, forward", 17, 0, 10, 1, true, bckExtendToBound, false, 17},
    {"above the maximum, forward, circular", 17, 0, 10, 1, true, bckCircular, true, 0},
    {"zero step changes nothing", 4, 0, 10, 0, true, bckExtendToBound, true, 4},
};

class SpinIntStep : public ::testing::TestWithParam<TIntStep> {};

TEST_P(SpinIntStep, GivesTheExpectedValue) {
  const TIntStep& C = GetParam();
  Int64 V = C.Value;
  EXPECT_EQ(cxSpinGetNewValue(V, C.Min, C.Max, C.Increment, C.Forward, C.Kind), C.Produced);
  EXPECT_EQ(V, C.Expected);
}

INSTANTIATE_TEST_SUITE_P(Table, SpinIntStep, ::testing::ValuesIn(IntSteps), [](const auto& I) {
  std::string N = I.param.Name;
  for (char& Ch : N)
    if (!isalnum(static_cast<unsigned char>(Ch))) Ch = '_';
  return N;
});

// Rounded half to even; beyond the 64-bit range the nearest limit, never an
// error or an undefined conversion.
TEST(SpinIncrement, IntegerIncrementsRoundHalfToEvenAndSaturate) {
  const std::pair<Double, Int64> Cases[] = {{0.5, 0},
                                            {1.5, 2},
                                            {2.5, 2},
                                            {-0.5, 0},
                                            {-1.5, -2},
                                            {0.49, 0},
                                            {1e30, I64Max},
                                            {-1e30, I64Min},
                                            {9.3e18, I64Max},
                                            {-9.3e18, I64Min},
                                            {-9223372036854775808.0, I64Min},
                                            {std::numeric_limits<Double>::quiet_NaN(), 0}};
  for (const auto& [In, Out] : Cases) EXPECT_EQ(cxSpinRoundToInt64(In), Out) << In;
}

struct TFloatStep {
  const char* Name;
  Double Value, Min, Max, Increment;
  bool Forward;
  TcxSpinBoundsCheckingKind Kind;
  bool Produced;
  const wchar_t* Shown;
};

const TFloatStep FloatSteps[] = {
    {"0.2 + 0.1 shows 0.3", 0.2, -DblMax, DblMax, 0.1, true, bckExtendToBound, true, L"0.3"},
    {"0.3 - 0.1 shows 0.2", 0.3, -DblMax, DblMax, -0.1, false, bckExtendToBound, true, L"0.2"},
    {"a residue is dropped before the step", 0.30000000000000004, -DblMax, DblMax, 0.1, true,
     bckExtendToBound, true, L"0.4"},
    {"9.5 + 1 extends to the bound", 9.5, 0, 10, 1, true, bckExtendToBound, true, L"10"},
    {"step 1.5", 1, 0, 10, 1.5, true, bckExtendToBound, true, L"2.5"},
    {"step 0.5 down", 1, 0, 10, -0.5, false, bckExtendToBound, true, L"0.5"},
    {"ring: from the top one step up", 10, 0, 10, 1, true, bckCircular, true, L"0"},
    {"ring: 9 + 3 gives 1", 9, 0, 10, 3, true, bckCircular, true, L"1"},
    {"ring: a landing in the gap stops at the top", 9.5, 0, 10, 1, true, bckCircular, true, L"10"},
    {"ring: a landing in the gap stops at the bottom", 0.5, 0, 10, -1, false, bckCircular, true,
     L"0"},
    {"ring: more than one lap", 9, 0, 10, 25, true, bckCircular, true, L"1"},
    {"the largest double stays", DblMax, -DblMax, DblMax, 1e308, true, bckExtendToBound, true,
     L"1.79769313486232E308"},
    {"below the minimum, forward", -3, 0, 10, 1, true, bckExtendToBound, true, L"0"},
    {"below the minimum, backward", -3, 0, 10, -1, false, bckExtendToBound, false, L"-3"},
    {"above the maximum, forward, circular", 12, 0, 10, 1, true, bckCircular, true, L"0"},
    {"not exceeding refuses", 9.5, 0, 10, 1, true, bckDoNotExceed, false, L"9.5"},
};

class SpinFloatStep : public ::testing::TestWithParam<TFloatStep> {};

TEST_P(SpinFloatStep, ShowsTheExpectedText) {
  const TFloatStep& C = GetParam();
  for (Char Separator : {L'.', L','}) {
    TFormatSettings S = TFormatSettings::Invariant();
    S.DecimalSeparator = Separator;
    Double V = C.Value;
    EXPECT_EQ(cxSpinGetNewValue(V, C.Min, C.Max, C.Increment, C.Forward, C.Kind, S), C.Produced);
    String Expected = C.Shown;
    for (Char& Ch : Expected)
      if (Ch == L'.') Ch = Separator;
    EXPECT_EQ(FloatToStr(V, S), Expected) << "separator " << static_cast<char>(Separator);
  }
}

INSTANTIATE_TEST_SUITE_P(Table, SpinFloatStep, ::testing::ValuesIn(FloatSteps), [](const auto& I) {
  std::string N = I.param.Name;
  for (char& Ch : N)
    if (!isalnum(static_cast<unsigned char>(Ch))) Ch = '_';
  return N;
});

// Ten steps of 0.1 from 0 show 1, not 0.9999999999999999: each step starts
// from the digits shown.
TEST(SpinIncrement, RepeatedFloatStepsKeepNoResidue) {
  const TFormatSettings S = TFormatSettings::Invariant();
  Double V = 0;
  for (int I = 0; I < 10; ++I)
    ASSERT_TRUE(cxSpinGetNewValue(V, -DblMax, DblMax, 0.1, true, bckExtendToBound, S));
  EXPECT_EQ(V, 1.0);
  for (int I = 0; I < 10; ++I)
    ASSERT_TRUE(cxSpinGetNewValue(V, -DblMax, DblMax, -0.1, false, bckExtendToBound, S));
  EXPECT_EQ(V, 0.0);
}

// Every circular landing stays within the bounds, whatever the step.
TEST(SpinIncrement, CircularFloatStepsNeverLeaveTheRange) {
  const TFormatSettings S = TFormatSettings::Invariant();
  for (Double Start : {0.0, 0.25, 5.0, 9.75, 10.0})
    for (Double Step : {0.3, 0.75, 1.0, 1.5, 7.0, 10.5, 11.0, 33.3})
      for (bool Up : {true, false}) {
        Double V = Start;
        ASSERT_TRUE(cxSpinGetNewValue(V, 0, 10, Up ? Step : -Step, Up, bckCircular, S));
        EXPECT_GE(V, 0) << Start << " " << Step << " " << Up;
        EXPECT_LE(V, 10) << Start << " " << Step << " " << Up;
      }
}

}  // namespace

namespace {

// The platform's up-down control, stepped by its arrow keys.
class TPlatformUpDown {
 public:
  TPlatformUpDown(Integer AMin, Integer AMax, bool AWrap) {
    INITCOMMONCONTROLSEX Init{sizeof(Init), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&Init);
    FWnd = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_POPUP | UDS_ARROWKEYS | (AWrap ? UDS_WRAP : 0),
                           0, 0, 20, 40, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(FWnd, UDM_SETRANGE32, static_cast<WPARAM>(AMin), static_cast<LPARAM>(AMax));
  }
  TPlatformUpDown(const TPlatformUpDown&) = delete;
  TPlatformUpDown& operator=(const TPlatformUpDown&) = delete;
  ~TPlatformUpDown() {
    if (FWnd) DestroyWindow(FWnd);
  }
  bool Valid() const { return FWnd != nullptr; }
  Integer Step(Integer AFrom, bool AUp) {
    SendMessageW(FWnd, UDM_SETPOS32, 0, AFrom);
    SendMessageW(FWnd, WM_KEYDOWN, AUp ? VK_UP : VK_DOWN, 0);
    SendMessageW(FWnd, WM_KEYUP, AUp ? VK_UP : VK_DOWN, 0);
    return static_cast<Integer>(SendMessageW(FWnd, UDM_GETPOS32, 0, 0));
  }

 private:
  HWND FWnd = nullptr;
};

// Steps of 1 within bounds agree with the platform's up-down control: the
// circular ring with UDS_WRAP, stopping at the bound without.
TEST(SpinIncrement, StepsOfOneAgreeWithThePlatformUpDown) {
  // The platform's control overflows its own 32-bit arithmetic at the type's
  // edges (it wraps there even without UDS_WRAP), so the comparison keeps
  // clear of them; the 64-bit edges are the table's above.
  const std::pair<Integer, Integer> Ranges[] = {
      {0, 10}, {-5, -1}, {-3, 3}, {1000000000, 1000000007}, {-1000000007, -1000000000}};
  for (bool Wrap : {true, false})
    for (const auto& [Min, Max] : Ranges) {
      TPlatformUpDown UpDown(Min, Max, Wrap);
      ASSERT_TRUE(UpDown.Valid());
      for (Int64 From = Min; From <= Max; ++From)
        for (bool Up : {true, false}) {
          Int64 V = From;
          ASSERT_TRUE(cxSpinGetNewValue(V, Min, Max, Up ? 1 : -1, Up,
                                        Wrap ? bckCircular : bckExtendToBound));
          EXPECT_EQ(V, UpDown.Step(static_cast<Integer>(From), Up))
              << Min << ".." << Max << " from " << From << (Up ? " up" : " down")
              << (Wrap ? " wrapping" : "");
        }
    }
}

}  // namespace

namespace {

Variant WrittenAndRead(const Variant& AValue) {
  TOwned<TMemoryStream> Stream = MakeOwned<TMemoryStream>();
  {
    TOwned<TWriter> Writer = MakeOwned<TWriter>(Stream.get());
    cxWriteVariant(Writer.get(), AValue);
  }
  Stream->SetPosition(0);
  TOwned<TReader> Reader = MakeOwned<TReader>(Stream.get());
  return cxReadVariant(Reader.get());
}

// A state value must match the edit values it was chosen for exactly after
// a form is read, so the common types come back as themselves.
TEST(FormVariants, ValuesReadBackWithTheirTypes) {
  const std::tuple<const char*, Variant, Variant> Cases[] = {
      {"Empty", Unassigned(), Unassigned()},
      {"Null", Null(), Null()},
      {"False", Variant(false), Variant(false)},
      {"Integer", Variant(Integer(-7)), Variant(Integer(-7))},
      {"large Integer", Variant(Integer(2000000000)), Variant(Integer(2000000000))},
      {"Int64 beyond Integer", Variant(Int64(1) << 40), Variant(Int64(1) << 40)},
      {"Int64 within Integer", Variant(Int64(5)), Variant(Integer(5))},
      {"Byte", Variant(Byte(200)), Variant(Integer(200))},
      {"Double", Variant(0.1), Variant(0.1)},
      {"Single", Variant(Single(0.5f)), Variant(Single(0.5f))},
      {"Currency", Variant(Currency{12345}), Variant(Currency{12345})},
      {"Date", Variant::FromDateTime(45000.5), Variant::FromDateTime(45000.5)},
      {"text", Variant(L"Ja"), Variant(L"Ja")},
      {"text beyond ASCII", Variant(L"\u0414\u0430"), Variant(L"\u0414\u0430")},
  };
  for (const auto& [Name, In, Out] : Cases) {
    const Variant Read = WrittenAndRead(In);
    EXPECT_EQ(VarType(Read), VarType(Out)) << Name;
    if (!VarIsEmpty(Out) && !VarIsNull(Out)) EXPECT_TRUE(Read == Out) << Name;
  }
}

TEST(FormVariants, AnArrayIsRefusedBeforeAnythingIsWritten) {
  TOwned<TMemoryStream> Stream = MakeOwned<TMemoryStream>();
  TOwned<TWriter> Writer = MakeOwned<TWriter>(Stream.get());
  EXPECT_THROW(cxWriteVariant(Writer.get(), VarArrayOf({Variant(1), Variant(2)})), EWriteError);
  EXPECT_EQ(Stream->Size(), 0);
}

}  // namespace
