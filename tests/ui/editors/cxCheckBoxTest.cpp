// The check box's settings: the values that map edit values to states,
// their collisions, the display texts, what a form resource stores (with the
// values' own types and the old caption), and copying.
#include <gtest/gtest.h>

#include "ExtEditTestSupport.h"
#include "cxCheckBox.h"

namespace {
DECLARE_PROPERTIES_HOST(TCheckHost, TcxCheckBoxProperties)
}  // namespace
IMPLEMENT_PROPERTIES_HOST(TCheckHost)

namespace {

using TProps = TcxCheckBoxProperties;

bool SameExactly(const Variant& A, const Variant& B) {
  return VarType(A) == VarType(B) && InternalVarEqualsExact(A, B);
}

TEST(CheckBoxProperties, DefaultsAreTheDocumentedOnesAndNothingIsWritten) {
  TOwned<TCheckHost> Host = NewHost<TCheckHost>();
  TProps* P = Host->GetProperties();
  EXPECT_TRUE(SameExactly(P->GetValueChecked(), Variant(true)));
  EXPECT_TRUE(VarIsNull(P->GetValueGrayed()));
  EXPECT_TRUE(SameExactly(P->GetValueUnchecked(), Variant(false)));
  EXPECT_EQ(P->GetHorzAlignment(), taLeftJustify);
  EXPECT_FALSE(P->GetAllowGrayed());
  EXPECT_EQ(P->GetDisplayCheckState(cbsChecked), L"True");
  EXPECT_EQ(P->GetDisplayCheckState(cbsUnchecked), L"False");
  EXPECT_EQ(P->GetDisplayCheckState(cbsGrayed), L"");
  EXPECT_FALSE(P->GetFullFocusRect());
  EXPECT_TRUE(P->GetGlyph()->Empty());
  EXPECT_EQ(P->GetGlyphCount(), 6);
  EXPECT_FALSE(P->GetMultiLine());
  EXPECT_EQ(P->GetNullStyle(), nssGrayedChecked);
  EXPECT_FALSE(P->GetShowEndEllipsis());
  EXPECT_FALSE(P->GetUseAlignmentWhenInplace());
  EXPECT_EQ(PropertyLines(Host.get()), "");
}

// Checked and unchecked by value, a boolean against a text by its text
// (not -1 against 1); everything else, Null and Unassigned too, reads as
// grayed.
TEST(CheckBoxProperties, EditValuesMapToStatesByExactValue) {
  TOwned<TProps> P(Create<TProps>(nullptr));
  const std::tuple<const char*, Variant, TcxCheckBoxState, const wchar_t*> Cases[] = {
      {"True", Variant(true), cbsChecked, L"True"},
      {"False", Variant(false), cbsUnchecked, L"False"},
      {"Null", Null(), cbsGrayed, L""},
      {"Unassigned", Unassigned(), cbsGrayed, L""},
      {"integer 1", Variant(1), cbsGrayed, L""},
      {"text True", Variant(L"True"), cbsChecked, L"True"},
      {"text yes", Variant(L"yes"), cbsGrayed, L""},
      {"integer -1", Variant(-1), cbsGrayed, L""},
  };
  for (const auto& [Name, Value, State, Text] : Cases) {
    EXPECT_EQ(P->GetState(Value), State) << Name;
    EXPECT_EQ(P->GetDisplayText(Value), Text) << Name;
    Variant Display;
    P->PrepareDisplayValue(Value, Display, false);
    EXPECT_TRUE(SameExactly(Display, Variant(static_cast<Integer>(State)))) << Name;
  }
}

TEST(CheckBoxProperties, OnlyTheThreeStateValuesAreValidEditValues) {
  TOwned<TProps> P(Create<TProps>(nullptr));
  const std::pair<Variant, bool> Cases[] = {
      {Variant(true), true}, {Variant(false), true},    {Null(), true},
      {Variant(1), false},   {Variant(L"True"), false}, {Unassigned(), false}};
  for (auto [Value, Valid] : Cases)
    EXPECT_EQ(P->IsEditValueValid(Value, false), Valid) << VarToStrDef(Value, L"Null");
}

struct TValueCase {
  const char* Name;
  void (*Apply)(TProps*);
  Variant Checked, Grayed, Unchecked;
  Integer Changes;
};

TEST(CheckBoxProperties, CollidingStateValuesAreIgnoredSilently) {
  const TValueCase Cases[] = {
      {"checked to a new value", [](TProps* P) { P->SetValueChecked(Variant(1)); }, Variant(1),
       Null(), Variant(false), 1},
      {"checked to the unchecked value", [](TProps* P) { P->SetValueChecked(Variant(false)); },
       Variant(true), Null(), Variant(false), 0},
      {"checked to its own value", [](TProps* P) { P->SetValueChecked(Variant(true)); },
       Variant(true), Null(), Variant(false), 0},
      {"checked to Null", [](TProps* P) { P->SetValueChecked(Null()); }, Variant(true), Null(),
       Variant(false), 0},
      {"unchecked to Null", [](TProps* P) { P->SetValueUnchecked(Null()); }, Variant(true), Null(),
       Variant(false), 0},
      {"grayed to a value", [](TProps* P) { P->SetValueGrayed(Variant(2)); }, Variant(true),
       Variant(2), Variant(false), 1},
      {"grayed back to Null",
       [](TProps* P) {
         P->SetValueGrayed(Variant(2));
         P->SetValueGrayed(Null());
       },
       Variant(true), Null(), Variant(false), 2},
      {"same number of another type is no collision",
       [](TProps* P) {
         P->SetValueChecked(Variant(1));
         P->SetValueUnchecked(Variant(1.0));
       },
       Variant(1), Null(), Variant(1.0), 2},
      {"all three at once", [](TProps* P) { P->SetStateValues(L"Y", L"?", L"N"); }, Variant(L"Y"),
       Variant(L"?"), Variant(L"N"), 1},
      {"all three, two alike", [](TProps* P) { P->SetStateValues(L"Y", L"Y", L"N"); },
       Variant(true), Null(), Variant(false), 0},
      {"all three, checked Null", [](TProps* P) { P->SetStateValues(Null(), L"?", L"N"); },
       Variant(true), Null(), Variant(false), 0},
  };
  for (const TValueCase& C : Cases) {
    TOwned<TProps> P(Create<TProps>(nullptr));
    TChangeCounter Counter;
    Counter.Attach(P.get());
    C.Apply(P.get());
    EXPECT_TRUE(SameExactly(P->GetValueChecked(), C.Checked)) << C.Name;
    EXPECT_TRUE(SameExactly(P->GetValueGrayed(), C.Grayed)) << C.Name;
    EXPECT_TRUE(SameExactly(P->GetValueUnchecked(), C.Unchecked)) << C.Name;
    EXPECT_EQ(Counter.Count, C.Changes) << C.Name;
  }
}

// A text equal to the default is not held (not written); any other is, case
// included.
TEST(CheckBoxProperties, DisplayTextsAreHeldOnlyWhenTheyDifferFromTheDefault) {
  TOwned<TCheckHost> Host = NewHost<TCheckHost>();
  TProps* P = Host->GetProperties();
  TChangeCounter Counter;
  Counter.Attach(P);
  P->SetDisplayCheckState(cbsChecked, L"True");
  EXPECT_EQ(PropertyLines(Host.get()), "");
  P->SetDisplayCheckState(cbsChecked, L"true");
  P->SetDisplayCheckState(cbsGrayed, L"Unknown");
  EXPECT_EQ(P->GetDisplayText(Variant(true)), L"true");
  EXPECT_EQ(PropertyLines(Host.get()),
            "  Properties.DisplayChecked = 'true'\n  Properties.DisplayGrayed = 'Unknown'\n");
  P->SetDisplayCheckState(cbsChecked, L"True");
  EXPECT_EQ(PropertyLines(Host.get()), "  Properties.DisplayGrayed = 'Unknown'\n");
  EXPECT_EQ(Counter.Count, 0);
}

struct TStoredCase {
  const char* Name;
  void (*Apply)(TProps*);
  const char* Lines;
};

const TStoredCase StoredCases[] = {
    {"alignment", [](TProps* P) { P->SetHorzAlignment(taCenter); },
     "  Properties.Alignment = taCenter\n"},
    {"alignment assigned as the default", [](TProps* P) { P->SetHorzAlignment(taLeftJustify); },
     "  Properties.Alignment = taLeftJustify\n"},
    {"allow grayed", [](TProps* P) { P->SetAllowGrayed(true); },
     "  Properties.AllowGrayed = True\n"},
    {"caption is never written", [](TProps* P) { P->SetCaption(L"Old"); }, ""},
    {"full focus rect", [](TProps* P) { P->SetFullFocusRect(true); },
     "  Properties.FullFocusRect = True\n"},
    {"glyph count", [](TProps* P) { P->SetGlyphCount(4); }, "  Properties.GlyphCount = 4\n"},
    {"multi-line", [](TProps* P) { P->SetMultiLine(true); }, "  Properties.MultiLine = True\n"},
    {"null style", [](TProps* P) { P->SetNullStyle(nssInactive); },
     "  Properties.NullStyle = nssInactive\n"},
    {"ellipsis", [](TProps* P) { P->SetShowEndEllipsis(true); },
     "  Properties.ShowEndEllipsis = True\n"},
    {"alignment in place", [](TProps* P) { P->SetUseAlignmentWhenInplace(true); },
     "  Properties.UseAlignmentWhenInplace = True\n"},
    {"integer values", [](TProps* P) { P->SetStateValues(Variant(1), Variant(2), Variant(0)); },
     "  Properties.ValueChecked = 1\n  Properties.ValueGrayed = 2\n  Properties.ValueUnchecked = "
     "0\n"},
    {"text values", [](TProps* P) { P->SetStateValues(L"Y", Unassigned(), L"N"); },
     "  Properties.ValueChecked = 'Y'\n  Properties.ValueGrayed = nil\n"
     "  Properties.ValueUnchecked = 'N'\n"},
    {"swapped booleans", [](TProps* P) { P->SetStateValues(false, Null(), true); },
     "  Properties.ValueChecked = False\n  Properties.ValueUnchecked = True\n"},
    {"float and date values",
     [](TProps* P) {
       P->SetStateValues(Variant(1.5), Variant::FromDateTime(45000.25), Variant(-0.5));
     },
     "  Properties.ValueChecked = 1.5\n  Properties.ValueGrayed = 45000.25d\n"
     "  Properties.ValueUnchecked = -0.5\n"},
};

class CheckBoxStored : public ::testing::TestWithParam<TStoredCase> {};

// The state values read back with their own types, so that the edit values
// they were chosen for still match them exactly.
TEST_P(CheckBoxStored, WritesOnlyWhatDiffersAndReadsItBackExactly) {
  const TStoredCase& C = GetParam();
  TOwned<TCheckHost> Host = NewHost<TCheckHost>();
  C.Apply(Host->GetProperties());
  EXPECT_EQ(PropertyLines(Host.get()), C.Lines);
  TOwned<TCheckHost> Read = RoundTrip(Host.get());
  EXPECT_EQ(FormResourceText(Read.get()), FormResourceText(Host.get()));
  TProps* W = Host->GetProperties();
  TProps* R = Read->GetProperties();
  EXPECT_TRUE(SameExactly(R->GetValueChecked(), W->GetValueChecked()));
  EXPECT_TRUE(SameExactly(R->GetValueGrayed(), W->GetValueGrayed()));
  EXPECT_TRUE(SameExactly(R->GetValueUnchecked(), W->GetValueUnchecked()));
  EXPECT_EQ(R->GetHorzAlignment(), W->GetHorzAlignment());
}

INSTANTIATE_TEST_SUITE_P(Table, CheckBoxStored, ::testing::ValuesIn(StoredCases),
                         [](const auto& I) {
                           std::string N = I.param.Name;
                           for (char& Ch : N)
                             if (!isalnum(static_cast<unsigned char>(Ch))) Ch = '_';
                           return N;
                         });

// Old forms carry the caption in the properties; it waits there for the
// control.
TEST(CheckBoxProperties, AnOldCaptionIsReadAndWaitsForTheControl) {
  TOwned<TCheckHost> Read = ReadFormResourceText<TCheckHost>(
      "object Host: TCheckHost\n  Properties.Caption = 'Remember me'\nend\n");
  TProps* P = Read->GetProperties();
  EXPECT_EQ(P->GetCaption(), L"Remember me");
  EXPECT_TRUE(P->IsCaptionAssigned());
  EXPECT_EQ(PropertyLines(Read.get()), "");
}

TEST(CheckBoxProperties, ACopyWritesExactlyAsItsSourceButLeavesTheCaption) {
  TOwned<TCheckHost> Source = NewHost<TCheckHost>();
  TProps* S = Source->GetProperties();
  S->SetAllowGrayed(true);
  S->SetDisplayCheckState(cbsChecked, L"Yes");
  S->SetDisplayCheckState(cbsGrayed, L"Maybe");
  S->SetDisplayCheckState(cbsUnchecked, L"No");
  S->SetFullFocusRect(true);
  S->SetGlyphCount(2);
  S->SetMultiLine(true);
  S->SetNullStyle(nssUnchecked);
  S->SetUseAlignmentWhenInplace(true);
  S->SetStateValues(Variant(L"Y"), Variant(L"?"), Variant(L"N"));
  S->SetShowEndEllipsis(true);
  S->SetCaption(L"Source");
  TOwned<TCheckHost> Target = NewHost<TCheckHost>();
  TChangeCounter Counter;
  Counter.Attach(Target->GetProperties());
  Target->GetProperties()->Assign(S);
  EXPECT_EQ(PropertyLines(Target.get()), PropertyLines(Source.get()));
  EXPECT_EQ(Target->GetProperties()->GetCaption(), L"");
  EXPECT_EQ(Counter.Count, 1);
}

TEST(CheckBoxProperties, OnlySpaceActivatesAndTheStyleHasNoBorder) {
  TOwned<TProps> P(Create<TProps>(nullptr));
  EXPECT_TRUE(P->IsActivationKey(L' '));
  EXPECT_FALSE(P->IsActivationKey(L'\r'));
  EXPECT_TRUE(P->CompareDisplayValues(Variant(1), Null()));
  EXPECT_FALSE(P->CompareDisplayValues(Variant(true), Null()));
  TOwned<TcxContainerStyle> Style(P->GetStyleClass()(nullptr, true, nullptr, csNormal));
  ASSERT_NE(AsOrNull<TcxCheckBoxStyle>(Style.get()), nullptr);
  EXPECT_FALSE(Style->HasBorder());
}

}  // namespace
