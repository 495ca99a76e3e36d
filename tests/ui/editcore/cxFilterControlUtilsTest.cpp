#include "cxFilterControlUtils.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

// A properties tree like the editors' (text, mask, spin and a class derived
// from spin without a helper of its own) and one class outside it.
class TFakeTextProperties : public TObject {
  DECLARE_CLASS(TFakeTextProperties, TObject)
};
class TFakeMaskProperties : public TFakeTextProperties {
  DECLARE_CLASS(TFakeMaskProperties, TFakeTextProperties)
};
class TFakeSpinProperties : public TFakeMaskProperties {
  DECLARE_CLASS(TFakeSpinProperties, TFakeMaskProperties)
};
class TFakeMySpinProperties : public TFakeSpinProperties {
  DECLARE_CLASS(TFakeMySpinProperties, TFakeSpinProperties)
};
class TFakeOtherProperties : public TObject {
  DECLARE_CLASS(TFakeOtherProperties, TObject)
};
IMPLEMENT_CLASS(TFakeTextProperties)
IMPLEMENT_CLASS(TFakeMaskProperties)
IMPLEMENT_CLASS(TFakeSpinProperties)
IMPLEMENT_CLASS(TFakeMySpinProperties)
IMPLEMENT_CLASS(TFakeOtherProperties)

class TFakeTextHelper : public TcxCustomFilterEditHelper {
  DECLARE_CLASS(TFakeTextHelper, TcxCustomFilterEditHelper)
};
class TFakeMaskHelper : public TFakeTextHelper {
  DECLARE_CLASS(TFakeMaskHelper, TFakeTextHelper)
};
class TFakeSpinHelper : public TFakeMaskHelper {
  DECLARE_CLASS(TFakeSpinHelper, TFakeMaskHelper)
};
IMPLEMENT_CLASS(TFakeTextHelper)
IMPLEMENT_CLASS(TFakeMaskHelper)
IMPLEMENT_CLASS(TFakeSpinHelper)

const TcxFilterEditHelperClass TextHelper = cxFilterEditHelperClass<TFakeTextHelper>();
const TcxFilterEditHelperClass MaskHelper = cxFilterEditHelperClass<TFakeMaskHelper>();
const TcxFilterEditHelperClass SpinHelper = cxFilterEditHelperClass<TFakeSpinHelper>();
const TcxFilterEditHelperClass NoHelper = nullptr;

struct TRegistration {
  TClass Properties;
  TcxFilterEditHelperClass Helper;
};

struct TLookupCase {
  const char* What;
  std::initializer_list<TRegistration> Registered;
  TClass Asked;
  TcxFilterEditHelperClass Expected;
};

// Registers the pairs for the life of the object and takes them back in
// reverse order, so that each case starts from an empty registry.
class TRegistrations {
 public:
  explicit TRegistrations(std::initializer_list<TRegistration> AItems) : FItems(AItems) {
    for (const TRegistration& R : FItems) FilterEditsController()->Register(R.Properties, R.Helper);
  }
  ~TRegistrations() {
    for (auto It = FItems.rbegin(); It != FItems.rend(); ++It)
      FilterEditsController()->Unregister(It->Properties, It->Helper);
  }

 private:
  std::vector<TRegistration> FItems;
};

TEST(FilterEditHelpers, LookupWalksUpTheClassTree) {
  const TClass Text = TFakeTextProperties::StaticClass(), Mask = TFakeMaskProperties::StaticClass(),
               Spin = TFakeSpinProperties::StaticClass(),
               MySpin = TFakeMySpinProperties::StaticClass(),
               Other = TFakeOtherProperties::StaticClass();
  const std::initializer_list<TRegistration> Editors = {
      {Text, TextHelper}, {Mask, MaskHelper}, {Spin, SpinHelper}};
  const TLookupCase Cases[] = {
      {"own helper", Editors, Mask, MaskHelper},
      {"derived without a helper of its own", Editors, MySpin, SpinHelper},
      {"no registered ancestor", Editors, Other, nullptr},
      {"no class", Editors, nullptr, nullptr},
      {"grandchild of the descendant",
       {{Text, TextHelper}, {Mask, MaskHelper}},
       MySpin,
       MaskHelper},
      {"descendant registered first", {{Mask, MaskHelper}, {Text, TextHelper}}, MySpin, MaskHelper},
      {"ancestor only", {{Text, TextHelper}}, Spin, TextHelper},
      {"descendant only", {{Spin, SpinHelper}}, Text, nullptr},
      {"an entry without a helper passes to the ancestors",
       {{Text, TextHelper}, {Mask, NoHelper}},
       MySpin,
       TextHelper},
      {"no helper anywhere", {{Text, NoHelper}}, Mask, nullptr},
  };
  for (const TLookupCase& C : Cases) {
    SCOPED_TRACE(C.What);
    TRegistrations Scope(C.Registered);
    EXPECT_EQ(FilterEditsController()->FindHelper(C.Asked), C.Expected);
  }
  EXPECT_EQ(FilterEditsController()->Count(), 0);
}

TEST(FilterEditHelpers, LastUnregistrationFreesTheRegistry) {
  const TClass Text = TFakeTextProperties::StaticClass(), Spin = TFakeSpinProperties::StaticClass();
  TcxFilterEditsController* First = FilterEditsController();
  First->Register(Text, TextHelper);
  First->Register(Spin, SpinHelper);
  First->Unregister(Text, TextHelper);
  // One entry left: the same registry, still answering.
  ASSERT_EQ(FilterEditsController(), First);
  EXPECT_EQ(First->FindHelper(Spin), SpinHelper);
  EXPECT_EQ(First->FindHelper(Text), nullptr);
  // Taking back what was never registered leaves it alone.
  First->Unregister(Text, SpinHelper);
  ASSERT_EQ(FilterEditsController(), First);
  First->Unregister(Spin, SpinHelper);
  TcxFilterEditsController* Second = FilterEditsController();
  ASSERT_NE(Second, nullptr);
  EXPECT_EQ(Second->Count(), 0);
  EXPECT_EQ(Second->FindHelper(Spin), nullptr);
  // The new registry works as the first did.
  Second->Register(Spin, SpinHelper);
  EXPECT_EQ(Second->FindHelper(TFakeMySpinProperties::StaticClass()), SpinHelper);
  Second->Unregister(Spin, SpinHelper);
}

TEST(FilterEditHelpers, RegistryIsNotMadeAgainAfterShutDown) {
  FilterEditsController()->Register(TFakeTextProperties::StaticClass(), TextHelper);
  cxFilterControlUtils_Finalize();
  EXPECT_EQ(FilterEditsController(), nullptr);
  cxFilterControlUtils_Initialize();
  ASSERT_NE(FilterEditsController(), nullptr);
  EXPECT_EQ(FilterEditsController()->Count(), 0);
}

TEST(FilterEditHelpers, SupportedOperatorsFollowTheValueType) {
  const TcxFilterControlOperators Comparisons = {fcoEqual,     fcoNotEqual, fcoLess,
                                                 fcoLessEqual, fcoGreater,  fcoGreaterEqual,
                                                 fcoBlanks,    fcoNonBlanks};
  const TcxFilterControlOperators Text = {fcoLike,        fcoNotLike,    fcoContains,
                                          fcoNotContains, fcoBeginsWith, fcoEndsWith};
  const TcxFilterControlOperators Ranges = {fcoBetween, fcoNotBetween, fcoInList, fcoNotInList};
  struct TCase {
    const char* What;
    TcxValueTypeClass ValueType;
    bool Extended;
    TcxFilterControlOperators Expected;
  } Cases[] = {
      {"no value type", nullptr, false, Comparisons},
      {"no value type, extended", nullptr, true, Comparisons + Ranges},
      {"integer", cxValueTypeClass<TcxIntegerValueType>(), false, Comparisons},
      {"date-time, extended", cxValueTypeClass<TcxDateTimeValueType>(), true, Comparisons + Ranges},
      {"string", cxValueTypeClass<TcxStringValueType>(), false, Comparisons + Text},
      {"wide string, extended", cxValueTypeClass<TcxWideStringValueType>(), true,
       Comparisons + Text + Ranges},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    EXPECT_EQ(TextHelper->GetSupportedFilterOperators(nullptr, C.ValueType, C.Extended),
              C.Expected);
  }
  // The date periods and fcoNone are never offered here.
  EXPECT_FALSE(TextHelper->GetSupportedFilterOperators(nullptr, nullptr, true).Contains(fcoToday));
  EXPECT_FALSE(TextHelper->GetSupportedFilterOperators(nullptr, nullptr, true).Contains(fcoNone));
}

TEST(FilterEditHelpers, ValuesAreCheckedByTheirValueType) {
  Variant V = String(L"42");
  EXPECT_TRUE(TextHelper->IsValueValid(cxValueTypeClass<TcxIntegerValueType>(), V));
  EXPECT_EQ(VarType(V), varInteger);
  EXPECT_EQ(V.AsInteger(), 42);
  V = String(L"forty-two");
  EXPECT_FALSE(TextHelper->IsValueValid(cxValueTypeClass<TcxIntegerValueType>(), V));
  // Without a value type the value is kept as it is.
  V = String(L"forty-two");
  EXPECT_TRUE(TextHelper->IsValueValid(nullptr, V));
  EXPECT_EQ(VarType(V), varOleStr);
}

TEST(FilterEditHelpers, BaseAnswers) {
  EXPECT_TRUE(TextHelper->IsIDefaultValuesProviderNeeded(nullptr));
  EXPECT_FALSE(TextHelper->EditPropertiesHasButtons());
  EXPECT_EQ(TextHelper->GetFilterEditClass(), nullptr);
  EXPECT_FALSE(TextHelper->UseDisplayValue());
}

}  // namespace
