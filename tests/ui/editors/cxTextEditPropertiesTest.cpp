// The text editor's settings: defaults, which setters announce a change,
// the view style's mapping onto the button style, null string and password
// display, lookup validation, value bounds, numeric display values under "."
// and ",", locale changes heard from the format controller, copying, and
// what a form resource stores.
#include <gtest/gtest.h>

#include <functional>

#include "ExtEditTestSupport.h"
#include "cxTextEdit.h"
#include "dxThemeManager.h"

namespace {
DECLARE_PROPERTIES_HOST(TTextHost, TcxTextEditProperties)
}  // namespace
IMPLEMENT_PROPERTIES_HOST(TTextHost)

namespace {

using TProps = TcxCustomTextEditProperties;

// A list-style descendant, as the combo boxes are, whose items are searched.
class TListProps : public TcxTextEditProperties {
 public:
  using TcxTextEditProperties::TcxTextEditProperties;
  TcxEditEditingStyle Style = esFixedList;
  TcxEditEditingStyle GetEditingStyle() override { return Style; }
};

// A numeric descendant, as the spin and currency editors are.
class TNumberProps : public TcxTextEditProperties {
 public:
  using TcxTextEditProperties::TcxTextEditProperties;
  bool IsEditValueNumeric() override { return true; }
};

template <class T = TcxTextEditProperties>
TOwned<T> NewProps() {
  return TOwned<T>(Create<T>(nullptr));
}

TEST(TextEditProperties, ANewObjectHasTheDocumentedStartValues) {
  auto P = NewProps();
  EXPECT_EQ(P->GetCharCase(), ecNormal);
  EXPECT_TRUE(P->GetHideSelection());
  EXPECT_TRUE(P->GetIncrementalSearch());
  EXPECT_TRUE(P->GetFixedListSelection());
  EXPECT_EQ(P->GetImeMode(), imDontCare);
  EXPECT_EQ(
      P->GetIncrementalFilteringOptions(),
      (TcxTextEditIncrementalFilteringOptions{ifoHighlightSearchText, ifoUseContainsOperator}));
  EXPECT_EQ(P->GetMaxLength(), 0);
  EXPECT_FALSE(P->IsMaxLengthStored());
  EXPECT_EQ(P->GetViewStyle(), vsNormal);
  EXPECT_EQ(P->GetEditingStyle(), esEdit);
  EXPECT_EQ(P->GetDefaultVertAlignment(), taVCenter);
  EXPECT_EQ(P->GetDropDownPageRowCount(), 8);
  EXPECT_TRUE(P->CanIncrementalSearch());
  EXPECT_EQ(P->GetLookupItems()->Duplicates(), dupAccept);
}

struct TSetterCase {
  const char* Name;
  std::function<void(TProps*)> Apply;
  Integer Changes;                               // announced by the first call
  std::function<bool(TProps*)> Check = nullptr;  // the state afterwards
};

const TSetterCase SetterCases[] = {
    {"char case", [](TProps* P) { P->SetCharCase(ecUpperCase); }, 1},
    {"char case unchanged", [](TProps* P) { P->SetCharCase(ecNormal); }, 0},
    {"echo mode", [](TProps* P) { P->SetEchoMode(eemPassword); }, 1},
    {"hide selection unchanged", [](TProps* P) { P->SetHideSelection(true); }, 0},
    {"ime name", [](TProps* P) { P->SetImeName(L"Pinyin"); }, 1},
    {"null string", [](TProps* P) { P->SetNullstring(L"<none>"); }, 1},
    {"password char", [](TProps* P) { P->SetPasswordChar(L'#'); }, 1},
    {"fixed list selection outside the fixed list",
     [](TProps* P) { P->SetFixedListSelection(false); }, 0,
     [](TProps* P) { return !P->GetFixedListSelection(); }},
    {"filtering options are stored silently",
     [](TProps* P) { P->SetIncrementalFilteringOptions({}); }, 0,
     [](TProps* P) { return P->GetIncrementalFilteringOptions().Empty(); }},
    {"negative maximum length", [](TProps* P) { P->SetMaxLength(-5); }, 1,
     [](TProps* P) { return P->GetMaxLength() == 0 && P->IsMaxLengthStored(); }},
    {"zero maximum length on a fresh object is an assignment",
     [](TProps* P) { P->SetMaxLength(0); }, 1, [](TProps* P) { return P->IsMaxLengthStored(); }},
    {"empty display format on a fresh object is an assignment",
     [](TProps* P) { P->SetDisplayFormat(L""); }, 1,
     [](TProps* P) { return P->GetAssignedValues()->GetDisplayFormat(); }},
    {"edit format", [](TProps* P) { P->SetEditFormat(L"0.0"); }, 1,
     [](TProps* P) { return P->GetAssignedValues()->GetEditFormat(); }},
    {"view style", [](TProps* P) { P->SetViewStyle(vsButtonsOnly); }, 1,
     [](TProps* P) {
       return P->GetButtonsViewStyle() == bvsButtonsOnly && P->GetHideCursor() &&
              P->GetViewStyle() == vsButtonsOnly;
     }},
    {"lookup items", [](TProps* P) { P->GetLookupItems()->Add(L"Alpha"); }, 1},
    {"alignment", [](TProps* P) { P->GetAlignment()->SetHorz(taRightJustify); }, 1},
};

class TextEditSetters : public ::testing::TestWithParam<TSetterCase> {};

TEST_P(TextEditSetters, AnnounceOnlyARealChangeAndOnlyOnce) {
  const TSetterCase& C = GetParam();
  auto P = NewProps();
  TChangeCounter Counter;
  Counter.Attach(P.get());
  C.Apply(P.get());
  EXPECT_EQ(Counter.Count, C.Changes);
  if (C.Check) EXPECT_TRUE(C.Check(P.get()));
  Counter.Count = 0;
  C.Apply(P.get());
  if (std::string(C.Name) != "lookup items") EXPECT_EQ(Counter.Count, 0) << "second call";
}

INSTANTIATE_TEST_SUITE_P(Table, TextEditSetters, ::testing::ValuesIn(SetterCases),
                         [](const auto& I) {
                           std::string N = I.param.Name;
                           for (char& Ch : N)
                             if (!isalnum(static_cast<unsigned char>(Ch))) Ch = '_';
                           return N;
                         });

TEST(TextEditProperties, FixedListSelectionAnnouncesInTheFixedListStyle) {
  auto P = NewProps<TListProps>();
  TChangeCounter Counter;
  Counter.Attach(P.get());
  P->SetFixedListSelection(false);
  EXPECT_EQ(Counter.Count, 1);
}

TEST(TextEditProperties, ViewStyleBackToNormalClearsButtonsStyleAndCursor) {
  auto P = NewProps();
  P->SetViewStyle(vsButtonsAutoWidth);
  EXPECT_EQ(P->GetViewStyle(), vsButtonsAutoWidth);
  P->SetViewStyle(vsNormal);
  EXPECT_EQ(P->GetButtonsViewStyle(), bvsNormal);
  EXPECT_FALSE(P->GetHideCursor());
  P->SetViewStyle(vsHideCursor);
  EXPECT_EQ(P->GetButtonsViewStyle(), bvsNormal);
  EXPECT_EQ(P->GetViewStyle(), vsHideCursor);
  EXPECT_EQ(P->GetEditingStyle(), esNoEdit);
}

TEST(TextEditProperties, EditingAutoHeightOnlyWithoutButtonsAndWithPlainEcho) {
  struct TCase {
    bool Button;
    TcxEditEchoMode Echo;
    bool Expected;
  } Cases[] = {{false, eemNormal, true}, {true, eemNormal, false}, {false, eemPassword, false}};
  for (const TCase& C : Cases) {
    auto P = NewProps();
    if (C.Button) P->GetButtons()->Add();
    P->SetEchoMode(C.Echo);
    const TcxEditSupportedOperations Ops = P->GetSupportedOperations();
    EXPECT_EQ(Ops.Contains(esoEditingAutoHeight), C.Expected) << C.Button << C.Echo;
    EXPECT_TRUE(Ops.Contains(esoIncSearch) && Ops.Contains(esoSorting) && Ops.Contains(esoEditing));
  }
}

TEST(TextEditProperties, NullStringShowsOnlyUnfocused) {
  auto P = NewProps();
  P->SetUseNullString(true);
  P->SetNullstring(L"(empty)");
  EXPECT_EQ(P->GetDisplayText(Null(), false, true), L"(empty)");
  EXPECT_EQ(VarToStr(P->GetDefaultDisplayValue(Null(), true)), L"");
  EXPECT_EQ(P->GetEditValueSource(false), evsValue);
  EXPECT_EQ(P->GetEditValueSource(true), evsText);
  P->SetUseNullString(false);
  EXPECT_EQ(P->GetEditValueSource(false), evsText);
}

TEST(TextEditProperties, LetterCaseAppliesOnlyToPlainEcho) {
  auto P = NewProps();
  P->SetCharCase(ecUpperCase);
  String Text = L"abc";
  P->DisplayValueToDisplayText(Text);
  EXPECT_EQ(Text, L"ABC");
  P->SetEchoMode(eemPassword);
  Text = L"abc";
  P->DisplayValueToDisplayText(Text);
  EXPECT_EQ(Text, L"abc");
}

TEST(TextEditProperties, PasswordTextPaintsAsStarsOrBulletsOrTheChosenCharacter) {
  auto P = NewProps();
  P->SetEchoMode(eemPassword);
  String Text = L"abc";
  P->DoDisplayValueToDisplayText(Text, false);
  EXPECT_EQ(Text, L"***");
  const bool Bullets = IsWinSevenOrLater && AreVisualStylesAvailable();
  Text = L"abc";
  P->DoDisplayValueToDisplayText(Text, true);
  EXPECT_EQ(Text, Bullets ? L"\u25CF\u25CF\u25CF" : L"***");
  P->SetPasswordChar(L'#');
  Text = L"abcd";
  P->DoDisplayValueToDisplayText(Text, true);
  EXPECT_EQ(Text, L"####");
}

TEST(TextEditProperties, ListStylesAcceptOnlyLookupItemsIgnoringCase) {
  struct TCase {
    const wchar_t* Text;
    TEditCharCase CharCase;
    bool Valid;
    const wchar_t* Result;
  } Cases[] = {{L"beta", ecNormal, true, L"beta"},
               {L"beta", ecUpperCase, true, L"BETA"},
               {L"Gamma", ecNormal, false, L"Gamma"},
               {L"", ecNormal, true, L""}};
  for (const TCase& C : Cases) {
    auto P = NewProps<TListProps>();
    P->GetLookupItems()->Add(L"Alpha");
    P->GetLookupItems()->Add(L"Beta");
    P->SetCharCase(C.CharCase);
    Variant V = String(C.Text);
    EXPECT_EQ(P->IsDisplayValueValid(V, true), C.Valid) << &C - Cases;
    EXPECT_EQ(VarToStr(V), C.Result);
  }
  auto Edit = NewProps<TListProps>();
  Edit->Style = esEdit;
  Variant V = String(L"Gamma");
  EXPECT_TRUE(Edit->IsDisplayValueValid(V, true));
}

TEST(TextEditProperties, ValueBoundsCheckOnlyWhatIsDefined) {
  struct TCase {
    const char* Name;
    std::function<void(TProps*)> Setup;
    Double Value;
    bool Error;
  } Cases[] = {
      {"only max, equal passes", [](TProps* P) { P->SetMaxValue(10); }, 10, false},
      {"only max, above fails", [](TProps* P) { P->SetMaxValue(10); }, 10.5, true},
      {"only max, far below passes", [](TProps* P) { P->SetMaxValue(10); }, -1e9, false},
      {"neither, zero and zero", [](TProps*) {}, 1e9, false},
      {"both, min above max defines none", [](TProps* P) { P->SetMinMaxValues(5, 1); }, 100, false},
      {"both, below min fails", [](TProps* P) { P->SetMinMaxValues(1, 5); }, 0.5, true},
  };
  for (const auto& C : Cases) {
    auto P = NewProps();
    C.Setup(P.get());
    String ErrorText = L"untouched";
    bool Error = false;
    P->CheckEditValueBounds(Variant(C.Value), ErrorText, Error, nullptr);
    EXPECT_EQ(Error, C.Error) << C.Name;
    EXPECT_EQ(ErrorText, C.Error ? String(L"Value out of bounds") : String(L"untouched")) << C.Name;
  }
}

// ---------------------------------------------------------------------------
// Numbers

struct TSeparators {
  Char Decimal;
  Char Thousand;
};

// The process format settings with the given separators for the object's life.
class TSeparatorsScope {
 public:
  explicit TSeparatorsScope(TSeparators S) : FSaved(FormatSettings()) {
    FormatSettings().DecimalSeparator = S.Decimal;
    FormatSettings().ThousandSeparator = S.Thousand;
  }
  ~TSeparatorsScope() { FormatSettings() = FSaved; }

 private:
  TFormatSettings FSaved;
};

TEST(TextEditNumberText, ThousandSeparatorsKeepBlanksSignAndExponent) {
  struct TCase {
    TSeparators Separators;
    const wchar_t* Text;
    const wchar_t* Expected;
  } Cases[] = {
      {{L'.', L','}, L"-1234", L"-1,234"},
      {{L'.', L','}, L"1234.5", L"1,234.5"},
      {{L'.', L','}, L"  1234.5E3 ", L"  1,234.5E3 "},
      {{L'.', L','}, L"1,2,3,4567", L"1,234,567"},
      {{L'.', L','}, L"123", L"123"},
      {{L'.', L','}, L"", L""},
      {{L',', L' '}, L"1234567,25", L"1 234 567,25"},
  };
  for (const auto& C : Cases) {
    TSeparatorsScope Scope(C.Separators);
    String S = C.Text;
    InsertThousandSeparator(S);
    EXPECT_EQ(S, C.Expected) << &C - Cases;
  }
}

TEST(TextEditNumberText, StrToFloatExAcceptsGroupedNumbersAndRejectsTheRest) {
  struct TCase {
    TSeparators Separators;
    const wchar_t* Text;
    bool Ok;
    Double Value;
  } Cases[] = {
      {{L'.', L','}, L"", true, 0},
      {{L'.', L','}, L"abc", false, 0},
      {{L'.', L','}, L"1,234.5", true, 1234.5},
      {{L',', L'.'}, L"1.234,5", true, 1234.5},
      {{L'.', L','}, L"1e999", false, 0},
      {{L'.', L','}, L"1e-400", true, 0},
      {{L'.', L','}, L"0", true, 0},
  };
  for (const auto& C : Cases) {
    TSeparatorsScope Scope(C.Separators);
    Double V = 42;
    EXPECT_EQ(StrToFloatEx(C.Text, V), C.Ok) << &C - Cases;
    EXPECT_EQ(V, C.Value);
  }
}

TEST(TextEditNumberText, NumericDisplayValuesFollowTheRegionalSeparator) {
  for (Char Separator : {L'.', L','}) {
    TDecimalSeparatorScope Scope(Separator);
    auto P = NewProps<TNumberProps>();
    P->SetDisplayFormat(L"0.00");
    const String Expected = String(L"3") + Separator + L"50";
    EXPECT_EQ(P->GetDisplayText(Variant(3.5), false, true), Expected);
    Variant Display;
    P->PrepareDisplayValue(Null(), Display, false);
    EXPECT_EQ(VarToStr(Display), L"");
    EXPECT_THROW(P->PrepareDisplayValue(Variant::FromDateTime(45000.5), Display, false),
                 EConvertError);
    P->SetEditFormat(L"0.000");
    P->PrepareDisplayValue(Variant(2.25), Display, true);
    EXPECT_EQ(VarToStr(Display), String(L"2") + Separator + L"250");
  }
}

TEST(TextEditNumberText, ALocaleChangeReachesThePropertiesAsOneChange) {
  auto P = NewProps<TNumberProps>();
  P->SetDisplayFormat(L"0.0");
  TChangeCounter Counter;
  Counter.Attach(P.get());
  bool SeenChanging = false;
  struct TWatcher {
    TNumberProps* Props;
    bool* Seen;
    void Changed(TObject*) { *Seen = Props->IsFormatChanging(); }
  } Watcher{P.get(), &SeenChanging};
  P->SetOnPropertiesChanged(MakeEvent<&TWatcher::Changed>(&Watcher));
  TDecimalSeparatorScope Scope(L',');
  cxFormatController()->FormatChanged();
  EXPECT_TRUE(SeenChanging);
  EXPECT_FALSE(P->IsFormatChanging());
  EXPECT_EQ(P->GetDisplayText(Variant(1.25), false, true).substr(0, 2), L"1,");
}

// ---------------------------------------------------------------------------
// Copying and form resources

TEST(TextEditProperties, ACopyKeepsTheSourceOrderFlagsAndEvent) {
  auto Source = NewProps();
  Source->GetLookupItems()->Add(L"Zulu");
  Source->GetLookupItems()->Add(L"Alpha");
  Source->SetDisplayFormat(L"");
  Source->SetMaxLength(7);
  Source->SetCharCase(ecLowerCase);
  Source->SetPasswordChar(L'x');
  auto Target = NewProps();
  Target->SetEditFormat(L"0.0");
  TChangeCounter Counter;
  Counter.Attach(Target.get());
  Target->Assign(Source.get());
  EXPECT_EQ(Counter.Count, 1);
  EXPECT_EQ(Target->GetLookupItems()->Strings(0), L"Zulu");
  EXPECT_FALSE(Target->GetLookupItemsSorted());
  EXPECT_TRUE(Target->GetAssignedValues()->GetDisplayFormat());
  EXPECT_FALSE(Target->GetAssignedValues()->GetEditFormat());
  EXPECT_EQ(Target->GetMaxLength(), 7);
  EXPECT_EQ(Target->GetCharCase(), ecLowerCase);
  EXPECT_EQ(Target->GetPasswordChar(), L'x');
  Source->SetLookupItemsSorted(true);
  Target->Assign(Source.get());
  EXPECT_EQ(Target->GetLookupItems()->Strings(0), L"Alpha");
  EXPECT_TRUE(Target->GetLookupItemsSorted());
}

TEST(TextEditProperties, AFormResourceStoresWhatDiffersAndReadsItBack) {
  TOwned<TTextHost> Host = NewHost<TTextHost>();
  EXPECT_EQ(PropertyLines(Host.get()), "");
  TcxTextEditProperties* P = Host->GetProperties();
  P->SetCharCase(ecUpperCase);
  P->SetEchoMode(eemPassword);
  P->SetMaxLength(0);
  P->GetLookupItems()->Add(L"МСК-89 географическая");
  P->SetNullstring(L"none");
  P->SetHideSelection(false);
  const std::string Lines = PropertyLines(Host.get());
  EXPECT_NE(Lines.find("Properties.CharCase = ecUpperCase"), std::string::npos) << Lines;
  EXPECT_NE(Lines.find("Properties.MaxLength = 0"), std::string::npos) << Lines;
  EXPECT_NE(Lines.find("Properties.HideSelection = False"), std::string::npos) << Lines;
  EXPECT_EQ(Lines.find("AssignedValues.MaxLength"), std::string::npos) << Lines;
  TOwned<TTextHost> Read = RoundTrip(Host.get());
  TcxTextEditProperties* R = Read->GetProperties();
  EXPECT_EQ(FormResourceText(Read.get()), FormResourceText(Host.get()));
  EXPECT_EQ(R->GetCharCase(), ecUpperCase);
  EXPECT_EQ(R->GetEchoMode(), eemPassword);
  EXPECT_TRUE(R->IsMaxLengthStored());
  EXPECT_EQ(R->GetLookupItems()->Strings(0), L"МСК-89 географическая");
  EXPECT_FALSE(R->GetHideSelection());
}

TEST(TextEditProperties, TheDisplayFormatFlagIsReadButNeverWritten) {
  TOwned<TTextHost> Read = ReadFormResourceText<TTextHost>(
      "object Host: TTextHost\n  Properties.IsDisplayFormatAssigned = True\nend\n");
  EXPECT_TRUE(Read->GetProperties()->GetAssignedValues()->GetDisplayFormat());
  EXPECT_EQ(PropertyLines(Read.get()).find("IsDisplayFormatAssigned"), std::string::npos);
  TOwned<TTextHost> Cleared = ReadFormResourceText<TTextHost>(
      "object Host: TTextHost\n  Properties.IsDisplayFormatAssigned = False\nend\n");
  EXPECT_FALSE(Cleared->GetProperties()->GetAssignedValues()->GetDisplayFormat());
}

}  // namespace
