// The editor framework's module services and the shared editor properties:
// registries, routines, start-up, defaults, batching, assigned values, the
// alignment pair and what a form resource stores.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Classes.h"
#include "EditcoreTestSupport.h"
#include "Forms.h"
#include "cxEdit.h"

namespace {

// A leaf properties class that publishes the common settings the way the
// program's editors do.
// Its assigned values publish the range flags, as the range editors' do.
class TTestEditPropertiesValues : public TcxCustomEditPropertiesValues {
  DECLARE_CLASS(TTestEditPropertiesValues, TcxCustomEditPropertiesValues)
 public:
  using TcxCustomEditPropertiesValues::TcxCustomEditPropertiesValues;
};

class TTestEditProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TTestEditProperties, TcxCustomEditProperties)
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;

 protected:
  TcxCustomEditPropertiesValuesClass GetAssignedValuesClass() override {
    return [](TPersistent* AOwner) -> TcxCustomEditPropertiesValues* {
      return Create<TTestEditPropertiesValues>(AOwner);
    };
  }
};

// Records the rescaling the properties are asked for.
class TScaleRecordingProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TScaleRecordingProperties, TcxCustomEditProperties)
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
  Integer ScaleCalls = 0;

 protected:
  void ChangeScale(Integer M, Integer D) override { ++ScaleCalls; }
};

class TOtherEditProperties : public TcxCustomEditProperties {
  DECLARE_CLASS(TOtherEditProperties, TcxCustomEditProperties)
 public:
  using TcxCustomEditProperties::TcxCustomEditProperties;
};

const wchar_t* const ValidationOptionNames[] = {L"evoRaiseException", L"evoShowErrorIcon",
                                                L"evoAllowLoseFocus"};
const TEnumInfo ValidationOptionInfo =
    MakeEnumInfo(L"TcxEditValidationOption", ValidationOptionNames);
const wchar_t* const LeftRightNames[] = {L"taLeftJustify", L"taRightJustify"};
const TEnumInfo LeftRightInfo = MakeEnumInfo(L"TLeftRight", LeftRightNames);

// A component that owns its properties and streams them as editors do.
class TTestEditHost : public TComponent {
  DECLARE_CLASS(TTestEditHost, TComponent)
 public:
  using TOwnerType = TComponent;
  explicit TTestEditHost(TComponent* AOwner) : TComponent(AOwner) {}
  void AfterConstruction() override {
    inherited::AfterConstruction();
    FProperties = MakeOwned<TTestEditProperties>(this);
  }
  TTestEditProperties* GetProperties() const { return FProperties.get(); }

 private:
  TOwned<TTestEditProperties> FProperties;
};

}  // namespace

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TTestEditProperties) {
  using T = TTestEditProperties;
  P.Property<&T::GetAlignment, &T::SetAlignment>(L"Alignment")
      .template Stored<&T::IsAlignmentStored>();
  P.Property<&T::GetAssignedValues, &T::SetAssignedValues>(L"AssignedValues");
  P.Property<&T::GetAutoSelect, &T::SetAutoSelect>(L"AutoSelect").Default(true);
  P.Property<&T::GetBeepOnError, &T::SetBeepOnError>(L"BeepOnError").Default(false);
  P.Property<&T::GetClearKey, &T::SetClearKey>(L"ClearKey").Default(0);
  P.Property<&T::GetImmediatePost, &T::SetImmediatePost>(L"ImmediatePost").Default(false);
  P.Property<&T::PublishedMaxValue, &T::SetMaxValue>(L"MaxValue")
      .NoDefault()
      .template Stored<&T::IsMaxValueStored>();
  P.Property<&T::PublishedMinValue, &T::SetMinValue>(L"MinValue")
      .NoDefault()
      .template Stored<&T::IsMinValueStored>();
  P.Property<&T::PublishedReadOnly, &T::SetReadOnly>(L"ReadOnly")
      .template Stored<&T::IsReadOnlyStored>();
  P.Property<&T::GetTransparent, &T::SetTransparent>(L"Transparent").Stored(false);
  P.Property<&T::GetUseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing>(
       L"UseLeftAlignmentOnEditing")
      .template Stored<&T::IsUseLeftAlignmentOnEditingStored>();
  P.Property<&T::GetValidateOnEnter, &T::SetValidateOnEnter>(L"ValidateOnEnter").Default(false);
  P.Property<&T::GetValidationErrorIconAlignment, &T::SetValidationErrorIconAlignment>(
       L"ValidationErrorIconAlignment", LeftRightInfo)
      .Default(taLeftJustify);
  P.Property<&T::GetValidationOptions, &T::SetValidationOptions>(L"ValidationOptions",
                                                                 ValidationOptionInfo)
      .Default(TcxEditValidationOptions{evoRaiseException});
}
IMPLEMENT_CREATABLE_CLASS(TOtherEditProperties)
IMPLEMENT_CREATABLE_CLASS(TScaleRecordingProperties)

IMPLEMENT_PUBLISHED_CLASS(TTestEditPropertiesValues) {
  using V = TTestEditPropertiesValues;
  P.Property<&V::GetMaxValue, &V::SetMaxValue>(L"MaxValue").template Stored<&V::IsMaxValueStored>();
  P.Property<&V::GetMinValue, &V::SetMinValue>(L"MinValue").template Stored<&V::IsMinValueStored>();
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TTestEditHost) {
  using H = TTestEditHost;
  P.Property<&H::GetProperties>(L"Properties");
}

namespace {

// Counts the change notifications of one properties object.
struct TChangeCounter {
  Integer Count = 0;
  void Changed(TObject*) { ++Count; }
  void Attach(TcxCustomEditProperties* P) {
    P->SetOnPropertiesChanged(MakeEvent<&TChangeCounter::Changed>(this));
  }
};

class TFakeDefaults : public IcxEditDefaultValuesProvider {
 public:
  bool SetEditMode = true;
  bool CanModifyValue = true;
  bool ReadOnlyValue = false;
  Double MaxValue = 0;
  Double MinValue = 0;
  TAlignment Alignment = taLeftJustify;
  bool FormatDefined = false;
  bool CanSetEditMode() override { return SetEditMode; }
  TAlignment DefaultAlignment() override { return Alignment; }
  bool DefaultCanModify() override { return CanModifyValue; }
  Double DefaultMaxValue() override { return MaxValue; }
  Double DefaultMinValue() override { return MinValue; }
  bool DefaultReadOnly() override { return ReadOnlyValue; }
  bool IsDisplayFormatDefined(bool) override { return FormatDefined; }
};

// The property lines of the written host, without its object line and end.
std::string PropertyLines(TTestEditHost* AHost) {
  std::string S = FormResourceText(AHost);
  const size_t From = S.find('\n') + 1;
  const size_t To = S.rfind("end");
  return S.substr(From, To - From);
}

}  // namespace

// ---------------------------------------------------------------------------
// Module services

TEST(EditModule, StartUpMakesTheDefaultControllerTheContainersDefault) {
  ASSERT_NE(DefaultEditStyleController(), nullptr);
  EXPECT_EQ(cxContainerDefaultStyleController(), DefaultEditStyleController());
}

TEST(EditModule, StartUpLoadsTheValidationMarksAndTheWheelCursor) {
  for (TBitmap* B : {cxEditErrorIcon(), cxEditWarningIcon(), cxEditInfoIcon()}) {
    ASSERT_NE(B, nullptr);
    EXPECT_EQ(B->Width(), 16);
    EXPECT_EQ(B->Height(), 16);
  }
  EXPECT_NE(cxEditErrorIcon()->Canvas()->Pixels(3, 7), cxEditInfoIcon()->Canvas()->Pixels(3, 7));
  ASSERT_NE(Screen(), nullptr);
  EXPECT_NE(Screen()->Cursors(crcxEditMouseWheel), Screen()->Cursors(crDefault));
}

TEST(EditModule, ShutDownFreesTheAssistantsAndStartUpMakesThemAgain) {
  cxEdit_Finalize();
  EXPECT_EQ(DefaultEditStyleController(), nullptr);
  EXPECT_EQ(cxContainerDefaultStyleController(), nullptr);
  EXPECT_EQ(cxEditErrorIcon(), nullptr);
  // Nothing is made again once shut-down has begun.
  EXPECT_EQ(GetRegisteredEditProperties(), nullptr);
  EXPECT_TRUE(CreatedEditPropertiesList().empty());
  cxEdit_Initialize();
  EXPECT_NE(DefaultEditStyleController(), nullptr);
  EXPECT_NE(GetRegisteredEditProperties(), nullptr);
}

TEST(EditModule, TheRegistryKeepsDescriptionsSortedAndForgetsUnregistered) {
  TcxRegisteredClasses* R = GetRegisteredEditProperties();
  const Integer Before = R->Count();
  R->Register(TTestEditProperties::StaticClass(), L"Test|A test editor");
  R->Register(TOtherEditProperties::StaticClass(), L"Other|Another editor");
  EXPECT_EQ(R->Count(), Before + 2);
  EXPECT_EQ(R->GetDescriptionByClass(TTestEditProperties::StaticClass()), L"Test");
  EXPECT_EQ(R->GetHintByClass(TTestEditProperties::StaticClass()), L"A test editor");
  EXPECT_LT(R->GetIndexByClass(TOtherEditProperties::StaticClass()),
            R->GetIndexByClass(TTestEditProperties::StaticClass()));
  R->Unregister(TTestEditProperties::StaticClass());
  R->Unregister(TOtherEditProperties::StaticClass());
  EXPECT_EQ(R->Count(), Before);
  EXPECT_EQ(R->GetIndexByClass(TTestEditProperties::StaticClass()), -1);
}

TEST(EditModule, PropertiesJoinAndLeaveTheCreatedList) {
  const auto& L = CreatedEditPropertiesList();
  const size_t Before = L.size();
  TTestEditProperties* P;
  {
    TOwned<TTestEditProperties> A(Create<TTestEditProperties>(nullptr));
    P = A.get();
    EXPECT_EQ(L.size(), Before + 1);
    EXPECT_EQ(L.back(), P);
  }
  EXPECT_EQ(std::count(L.begin(), L.end(), P), 0);
  EXPECT_EQ(L.size(), Before);
}

TEST(EditModule, OwnerComponentIsFoundThroughPersistentOwners) {
  TOwned<TTestEditHost> Host(Create<TTestEditHost>(nullptr));
  EXPECT_EQ(GetOwnerComponent(Host->GetProperties()), Host.get());
  EXPECT_EQ(GetOwnerComponent(Host->GetProperties()->GetAlignment()), Host.get());
  TOwned<TTestEditProperties> Loose(Create<TTestEditProperties>(nullptr));
  EXPECT_EQ(GetOwnerComponent(Loose.get()), nullptr);
}

struct TVarEqualsCase {
  const char* Name;
  Variant V1, V2;
  bool EditEquals, ExactEquals;
};

TEST(EditRoutines, ValueEqualityNeedsMatchingKinds) {
  const TVarEqualsCase Cases[] = {
      {"same integers", Variant(1), Variant(1), true, true},
      {"integer and double of one value", Variant(1), Variant(1.0), true, false},
      {"integer and double apart", Variant(1), Variant(1.5), false, false},
      {"string and number", Variant(String(L"1")), Variant(1), false, false},
      {"equal strings", Variant(String(L"a")), Variant(String(L"a")), true, true},
      {"strings of another case", Variant(String(L"a")), Variant(String(L"A")), false, false},
      {"null and null", Null(), Null(), true, true},
      {"null and zero", Null(), Variant(0), false, false},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(cxEditVarEquals(C.V1, C.V2), C.EditEquals) << C.Name;
    EXPECT_EQ(InternalVarEqualsExact(C.V1, C.V2), C.ExactEquals) << C.Name;
  }
}

TEST(EditRoutines, SpaceCharsAndButtonShifts) {
  for (wchar_t C : {L'\0', L'\t', L'\n', L'\f', L'\r', L' '}) EXPECT_TRUE(IsSpaceChar(C)) << int(C);
  for (wchar_t C : {L'\b', L'\v', L'a', L'\xA0'}) EXPECT_FALSE(IsSpaceChar(C)) << int(C);
  EXPECT_EQ(ButtonToShift(mbLeft), TShiftState{ssLeft});
  EXPECT_EQ(ButtonToShift(mbRight), TShiftState{ssRight});
  EXPECT_EQ(ButtonToShift(mbMiddle), TShiftState{ssMiddle});
  EXPECT_EQ(cxButtonToShift(cxmbNone), TShiftState{});
  EXPECT_EQ(cxButtonToShift(cxmbLeft), TShiftState{ssLeft});
  EXPECT_EQ(cxButtonToShift(cxmbMiddle), TShiftState{ssMiddle});
}

// ---------------------------------------------------------------------------
// Properties

TEST(EditProperties, AFreshObjectHasTheDocumentedDefaults) {
  TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
  EXPECT_TRUE(P->GetAutoSelect());
  EXPECT_FALSE(P->GetBeepOnError());
  EXPECT_EQ(P->GetClickKey(), 0x400D);
  EXPECT_EQ(P->GetClearKey(), 0);
  EXPECT_EQ(P->GetButtonsViewStyle(), bvsNormal);
  EXPECT_TRUE(P->GetUseMouseWheel());
  EXPECT_TRUE(P->GetUseLeftAlignmentOnEditing());
  EXPECT_FALSE(P->GetValidateOnEnter());
  EXPECT_EQ(P->GetValidationOptions(), TcxEditValidationOptions{evoRaiseException});
  EXPECT_EQ(P->GetValidationErrorIconAlignment(), taLeftJustify);
  EXPECT_FALSE(P->GetAssignedValues()->GetMaxValue());
  EXPECT_FALSE(P->GetAssignedValues()->GetMinValue());
  EXPECT_FALSE(P->GetAssignedValues()->GetReadOnly());
  EXPECT_EQ(P->GetMaxValue(), 0);
  EXPECT_EQ(P->GetMinValue(), 0);
  EXPECT_FALSE(P->GetReadOnly());
  EXPECT_TRUE(P->CanModify());
  EXPECT_EQ(P->GetAlignment()->GetVert(), taTopJustify);
  EXPECT_EQ(P->GetAlignment()->GetHorz(), taLeftJustify);
  EXPECT_EQ(P->GetSupportedOperations(), TcxEditSupportedOperations{});
  EXPECT_FALSE(P->GetValidateErrorText(ekDefault).empty());
}

TEST(EditProperties, NestedUpdatesReportOneChange) {
  TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
  TChangeCounter N;
  N.Attach(P.get());
  P->BeginUpdate();
  P->BeginUpdate();
  P->BeginUpdate();
  P->SetAutoSelect(false);
  P->SetTransparent(true);
  P->EndUpdate();
  P->EndUpdate();
  EXPECT_EQ(N.Count, 0);
  P->EndUpdate();
  EXPECT_EQ(N.Count, 1);
  P->EndUpdate();  // no update open: nothing
  EXPECT_EQ(N.Count, 1);
}

TEST(EditProperties, AnUpdateClosedWithoutNotifyingForgetsTheChange) {
  TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
  TChangeCounter N;
  N.Attach(P.get());
  P->BeginUpdate();
  P->SetAutoSelect(false);
  P->EndUpdate(false);
  EXPECT_EQ(N.Count, 0);
  P->BeginUpdate();
  P->EndUpdate();
  EXPECT_EQ(N.Count, 0);
}

TEST(EditProperties, ALockedChangeOutsideAnUpdateIsForgotten) {
  TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
  TChangeCounter N;
  N.Attach(P.get());
  P->LockUpdate(true);
  EXPECT_TRUE(P->ChangedLocked());
  P->Changed();
  EXPECT_EQ(N.Count, 0);
  P->LockUpdate(false);
  P->BeginUpdate();
  P->EndUpdate();
  EXPECT_EQ(N.Count, 0);
  P->Changed();
  EXPECT_EQ(N.Count, 1);
}

struct TSetterCase {
  const char* Name;
  void (*Apply)(TcxCustomEditProperties*);
  Integer Changes;  // applied twice
};

TEST(EditProperties, SettersReportOnlyRealChanges) {
  const TSetterCase Cases[] = {
      {"AutoSelect off", [](TcxCustomEditProperties* P) { P->SetAutoSelect(false); }, 1},
      {"AutoSelect unchanged", [](TcxCustomEditProperties* P) { P->SetAutoSelect(true); }, 0},
      {"Transparent", [](TcxCustomEditProperties* P) { P->SetTransparent(true); }, 1},
      {"ButtonsViewStyle",
       [](TcxCustomEditProperties* P) { P->SetButtonsViewStyle(bvsButtonsOnly); }, 1},
      {"ValidationOptions",
       [](TcxCustomEditProperties* P) { P->SetValidationOptions({evoShowErrorIcon}); }, 1},
      {"icon alignment",
       [](TcxCustomEditProperties* P) { P->SetValidationErrorIconAlignment(taRightJustify); }, 1},
      {"left alignment on editing",
       [](TcxCustomEditProperties* P) { P->SetUseLeftAlignmentOnEditing(false); }, 1},
      {"MaxValue 0 on a fresh object", [](TcxCustomEditProperties* P) { P->SetMaxValue(0); }, 1},
      {"MinValue 5", [](TcxCustomEditProperties* P) { P->SetMinValue(5); }, 1},
      {"ReadOnly False on a fresh object",
       [](TcxCustomEditProperties* P) { P->SetReadOnly(false); }, 1},
      {"FillMinMaxValues", [](TcxCustomEditProperties* P) { P->FillMinMaxValues(9, 1); }, 1},
      // Plain fields: no notification.
      {"BeepOnError", [](TcxCustomEditProperties* P) { P->SetBeepOnError(true); }, 0},
      {"ClearKey", [](TcxCustomEditProperties* P) { P->SetClearKey(VK_DELETE); }, 0},
      {"ImmediatePost", [](TcxCustomEditProperties* P) { P->SetImmediatePost(true); }, 0},
      {"ValidateOnEnter", [](TcxCustomEditProperties* P) { P->SetValidateOnEnter(true); }, 0},
  };
  for (const auto& C : Cases) {
    TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
    TChangeCounter N;
    N.Attach(P.get());
    C.Apply(P.get());
    C.Apply(P.get());
    EXPECT_EQ(N.Count, C.Changes) << C.Name;
  }
}

TEST(EditProperties, AssignedValuesShadowTheProvider) {
  TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
  TFakeDefaults D;
  D.MaxValue = 50;
  D.MinValue = -5;
  D.ReadOnlyValue = true;
  P->SetIDefaultValuesProvider(&D);
  EXPECT_EQ(P->GetMaxValue(), 50);
  EXPECT_EQ(P->GetMinValue(), -5);
  EXPECT_TRUE(P->GetReadOnly());
  P->SetMaxValue(0);
  P->SetReadOnly(false);
  EXPECT_EQ(P->GetMaxValue(), 0);
  EXPECT_FALSE(P->GetReadOnly());
  EXPECT_EQ(P->GetMinValue(), -5);
  P->GetAssignedValues()->RestoreDefaults();
  EXPECT_EQ(P->GetMaxValue(), 50);
  P->SetIDefaultValuesProvider(nullptr);
}

struct TCanModifyCase {
  const char* Name;
  int AssignedReadOnly;  // -1 not assigned, 0 False, 1 True
  bool HasProvider, ProviderReadOnly, ProviderCanModify, ProviderSetEditMode;
  bool Expected;
};

TEST(EditProperties, CanModifyFollowsTheAssignedValueThenTheProvider) {
  const TCanModifyCase Cases[] = {
      {"nothing", -1, false, false, false, false, true},
      {"assigned False overrides a read-only provider", 0, true, true, false, false, true},
      {"assigned True", 1, false, false, false, false, false},
      {"read-only provider", -1, true, true, true, true, false},
      {"provider that cannot modify", -1, true, false, false, true, false},
      {"provider without edit mode", -1, true, false, true, false, false},
      {"willing provider", -1, true, false, true, true, true},
  };
  for (const auto& C : Cases) {
    TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
    TFakeDefaults D;
    D.ReadOnlyValue = C.ProviderReadOnly;
    D.CanModifyValue = C.ProviderCanModify;
    D.SetEditMode = C.ProviderSetEditMode;
    if (C.HasProvider) P->SetIDefaultValuesProvider(&D);
    if (C.AssignedReadOnly >= 0) P->SetReadOnly(C.AssignedReadOnly == 1);
    EXPECT_EQ(P->CanModify(), C.Expected) << C.Name;
    P->SetIDefaultValuesProvider(nullptr);
  }
}

TEST(EditProperties, AssignCopiesAssignedValuesAndReportsOnce) {
  TOwned<TTestEditProperties> Source(Create<TTestEditProperties>(nullptr));
  TOwned<TTestEditProperties> Target(Create<TTestEditProperties>(nullptr));
  Source->SetReadOnly(true);
  Source->SetAutoSelect(false);
  Source->SetValidateOnEnter(true);
  Source->SetValidationOptions({evoShowErrorIcon, evoAllowLoseFocus});
  Source->GetAlignment()->SetHorz(taCenter);
  Target->SetReadOnly(false);
  Target->SetMaxValue(7);
  TChangeCounter N;
  N.Attach(Target.get());
  Target->Assign(Source.get());
  EXPECT_EQ(N.Count, 1);
  EXPECT_TRUE(Target->GetAssignedValues()->GetReadOnly());
  EXPECT_TRUE(Target->GetReadOnly());
  EXPECT_FALSE(Target->GetAssignedValues()->GetMaxValue());
  EXPECT_FALSE(Target->GetAutoSelect());
  EXPECT_TRUE(Target->GetValidateOnEnter());
  EXPECT_EQ(Target->GetValidationOptions(),
            (TcxEditValidationOptions{evoShowErrorIcon, evoAllowLoseFocus}));
  EXPECT_EQ(Target->GetAlignment()->GetHorz(), taCenter);
  // An object without assigned values clears the target's flags.
  TOwned<TTestEditProperties> Plain(Create<TTestEditProperties>(nullptr));
  Target->Assign(Plain.get());
  EXPECT_FALSE(Target->GetAssignedValues()->GetReadOnly());
}

TEST(EditProperties, AssignFromAnUnrelatedPersistentRaises) {
  TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
  TOwned<TcxEditAlignment> A(Create<TcxEditAlignment>(nullptr));
  EXPECT_THROW(P->Assign(A.get()), EConvertError);
}

TEST(EditProperties, CloneMakesAnEqualObjectOfTheSameClass) {
  TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
  P->SetMinValue(3);
  P->SetBeepOnError(true);
  TOwned<TcxCustomEditProperties> C(P->Clone(nullptr));
  ASSERT_NE(C, nullptr);
  EXPECT_EQ(C->ClassType(), TTestEditProperties::StaticClass());
  EXPECT_EQ(C->GetMinValue(), 3);
  EXPECT_TRUE(C->GetBeepOnError());
}

TEST(EditProperties, RestoreDefaultsReportsOnlyWhenSomethingChanged) {
  struct {
    const char* Name;
    void (*Apply)(TcxCustomEditProperties*);
    Integer Changes;
  } const Cases[] = {
      {"fresh", [](TcxCustomEditProperties*) {}, 0},
      {"assigned Horz", [](TcxCustomEditProperties* P) { P->GetAlignment()->SetHorz(taCenter); },
       1},
      {"assigned ReadOnly", [](TcxCustomEditProperties* P) { P->SetReadOnly(true); }, 1},
      {"both",
       [](TcxCustomEditProperties* P) {
         P->SetMinValue(1);
         P->GetAlignment()->SetHorz(taCenter);
       },
       1},
  };
  for (const auto& C : Cases) {
    TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
    C.Apply(P.get());
    TChangeCounter N;
    N.Attach(P.get());
    P->RestoreDefaults();
    EXPECT_EQ(N.Count, C.Changes) << C.Name;
    EXPECT_FALSE(P->GetAssignedValues()->GetReadOnly()) << C.Name;
    EXPECT_FALSE(P->GetAssignedValues()->GetMinValue()) << C.Name;
  }
}

TEST(EditProperties, ThePublishedAlignmentIsOneObjectAndReportsItsChanges) {
  TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
  TChangeCounter N;
  N.Attach(P.get());
  TcxEditAlignment* A = P->GetAlignment();
  EXPECT_EQ(P->GetAlignment(), A);
  EXPECT_FALSE(P->IsAlignmentStored());
  A->SetHorz(taRightJustify);
  EXPECT_EQ(N.Count, 1);
  EXPECT_TRUE(P->IsAlignmentStored());
  EXPECT_EQ(P->GetAlignment()->GetHorz(), taRightJustify);
  P->RestoreDefaults();
  EXPECT_FALSE(P->GetAlignment()->IsHorzAssigned());
}

TEST(EditProperties, TheProvidersAlignmentIsTheDefault) {
  TOwned<TTestEditProperties> P(Create<TTestEditProperties>(nullptr));
  TFakeDefaults D;
  D.Alignment = taRightJustify;
  P->SetIDefaultValuesProvider(&D);
  EXPECT_EQ(P->GetAlignment()->GetHorz(), taRightJustify);
  EXPECT_FALSE(P->IsAlignmentStored());
  P->GetAlignment()->SetHorz(taCenter);
  EXPECT_EQ(P->GetAlignment()->GetHorz(), taCenter);
  P->SetIDefaultValuesProvider(nullptr);
}

TEST(EditProperties, ADpiChangeWhileLoadingDoesNotRescale) {
  TOwned<TScaleRecordingProperties> P(Create<TScaleRecordingProperties>(nullptr));
  P->GetScaleFactor()->Assign(3, 2, true);
  EXPECT_EQ(P->ScaleCalls, 0);
  P->GetScaleFactor()->Assign(2, 1, false);
  EXPECT_EQ(P->ScaleCalls, 1);
}

// ---------------------------------------------------------------------------
// Form resources

struct TStoredCase {
  const char* Name;
  void (*Apply)(TcxCustomEditProperties*);
  const char* Lines;  // the properties' lines of the written host
};

TEST(EditPropertiesResources, OnlyWhatDiffersFromTheDefaultIsWritten) {
  RegisterClass(TTestEditHost::StaticClass());
  const TStoredCase Cases[] = {
      {"fresh", [](TcxCustomEditProperties*) {}, ""},
      {"AutoSelect", [](TcxCustomEditProperties* P) { P->SetAutoSelect(false); },
       "  Properties.AutoSelect = False\n"},
      {"Transparent is never stored", [](TcxCustomEditProperties* P) { P->SetTransparent(true); },
       ""},
      {"ReadOnly assigned False", [](TcxCustomEditProperties* P) { P->SetReadOnly(false); },
       "  Properties.ReadOnly = False\n"},
      {"MaxValue assigned 0", [](TcxCustomEditProperties* P) { P->SetMaxValue(0); },
       "  Properties.AssignedValues.MaxValue = True\n"},
      {"Alignment Horz",
       [](TcxCustomEditProperties* P) { P->GetAlignment()->SetHorz(taLeftJustify); },
       "  Properties.Alignment.Horz = taLeftJustify\n"},
      {"Alignment Vert", [](TcxCustomEditProperties* P) { P->GetAlignment()->SetVert(taVCenter); },
       "  Properties.Alignment.Vert = taVCenter\n"},
      {"UseLeftAlignmentOnEditing",
       [](TcxCustomEditProperties* P) { P->SetUseLeftAlignmentOnEditing(false); },
       "  Properties.UseLeftAlignmentOnEditing = False\n"},
      {"ValidationOptions",
       [](TcxCustomEditProperties* P) { P->SetValidationOptions({evoShowErrorIcon}); },
       "  Properties.ValidationOptions = [evoShowErrorIcon]\n"},
  };
  for (const auto& C : Cases) {
    TOwned<TTestEditHost> Host(Create<TTestEditHost>(nullptr));
    Host->SetName(L"Host");
    C.Apply(Host->GetProperties());
    EXPECT_EQ(PropertyLines(Host.get()), C.Lines) << C.Name;
  }
}

TEST(EditPropertiesResources, WrittenSettingsReadBackEqual) {
  RegisterClass(TTestEditHost::StaticClass());
  TOwned<TTestEditHost> Host(Create<TTestEditHost>(nullptr));
  Host->SetName(L"Host");
  TTestEditProperties* P = Host->GetProperties();
  P->SetAutoSelect(false);
  P->SetBeepOnError(true);
  P->SetClearKey(VK_DELETE);
  P->SetImmediatePost(true);
  P->SetMaxValue(12.5);
  P->SetMinValue(0);
  P->SetReadOnly(true);
  P->SetValidateOnEnter(true);
  P->SetValidationErrorIconAlignment(taRightJustify);
  P->SetValidationOptions({evoRaiseException, evoAllowLoseFocus});
  P->GetAlignment()->SetHorz(taCenter);
  P->GetAlignment()->SetVert(taBottomJustify);
  TOwned<TTestEditHost> Read = ReadFormResourceText<TTestEditHost>(FormResourceText(Host.get()));
  TTestEditProperties* R = Read->GetProperties();
  EXPECT_FALSE(R->GetAutoSelect());
  EXPECT_TRUE(R->GetBeepOnError());
  EXPECT_EQ(R->GetClearKey(), VK_DELETE);
  EXPECT_TRUE(R->GetImmediatePost());
  EXPECT_EQ(R->GetMaxValue(), 12.5);
  EXPECT_TRUE(R->GetAssignedValues()->GetMinValue());
  EXPECT_EQ(R->GetMinValue(), 0);
  EXPECT_TRUE(R->GetReadOnly());
  EXPECT_TRUE(R->GetValidateOnEnter());
  EXPECT_EQ(R->GetValidationErrorIconAlignment(), taRightJustify);
  EXPECT_EQ(R->GetValidationOptions(),
            (TcxEditValidationOptions{evoRaiseException, evoAllowLoseFocus}));
  EXPECT_EQ(R->GetAlignment()->GetHorz(), taCenter);
  EXPECT_EQ(R->GetAlignment()->GetVert(), taBottomJustify);
  EXPECT_EQ(FormResourceText(Read.get()), FormResourceText(Host.get()));
}

// ---------------------------------------------------------------------------
// Editor styles

namespace {

// A standalone editor style set, as an editor owns one, attached to the
// default controller unless told otherwise.
struct TStyleSet {
  TOwned<TcxContainerStyles> Styles{
      cxCreateContainerStyles<TcxContainerStyles>(nullptr, &cxCreateContainerStyle<TcxEditStyle>)};
  TcxCustomEditStyle* Style(TcxContainerStateItem AState) const {
    return static_cast<TcxCustomEditStyle*>(Styles->GetStyle(AState));
  }
};

struct TStyleChangeCounter {
  Integer Count = 0;
  void Changed(TObject*) { ++Count; }
};

}  // namespace

TEST(EditStyle, NothingAssignedResolvesTheDefaults) {
  TStyleSet S;
  for (TcxContainerStateItem State : {csNormal, csActive, csDisabled, csHotTrack}) {
    TcxCustomEditStyle* St = S.Style(State);
    EXPECT_EQ(St->GetButtonStyle(), btsDefault) << State;
    EXPECT_EQ(St->GetButtonTransparency(), ebtNone) << State;
    EXPECT_FALSE(St->GetGradient()) << State;
    EXPECT_FALSE(St->GetGradientButtons()) << State;
    EXPECT_EQ(St->GetGradientDirection(), dirDown) << State;
    EXPECT_EQ(St->GetPopupBorderStyle(), epbsDefault) << State;
    EXPECT_TRUE(St->GetPopupCloseButton()) << State;
    EXPECT_FALSE(St->IsValueAssigned(svButtonStyle)) << State;
  }
  EXPECT_EQ(S.Style(csNormal)->GetActiveStyleController(), DefaultEditStyleController());
}

TEST(EditStyle, ButtonStyleBelongsToItsStateTheOtherValuesToTheBase) {
  TStyleSet S;
  S.Style(csActive)->SetButtonStyle(btsUltraFlat);
  EXPECT_EQ(S.Style(csActive)->GetButtonStyle(), btsUltraFlat);
  EXPECT_EQ(S.Style(csNormal)->GetButtonStyle(), btsDefault);
  EXPECT_EQ(S.Style(csHotTrack)->GetButtonStyle(), btsDefault);
  S.Style(csActive)->SetGradient(true);
  S.Style(csDisabled)->SetPopupBorderStyle(epbsFlat);
  for (TcxContainerStateItem State : {csNormal, csActive, csDisabled, csHotTrack}) {
    EXPECT_TRUE(S.Style(State)->GetGradient()) << State;
    EXPECT_EQ(S.Style(State)->GetPopupBorderStyle(), epbsFlat) << State;
  }
  EXPECT_TRUE(S.Style(csNormal)->GetAssignedValues().Contains(svGradient));
  EXPECT_FALSE(S.Style(csActive)->GetAssignedValues().Contains(svGradient));
  // A state style with nothing of its own follows the base style.
  S.Style(csNormal)->SetButtonStyle(bts3D);
  EXPECT_EQ(S.Style(csHotTrack)->GetButtonStyle(), bts3D);
  EXPECT_EQ(S.Style(csActive)->GetButtonStyle(), btsUltraFlat);
}

TEST(EditStyle, ValuesOfTheControllerCountAsAssignedButAreNotTheStylesOwn) {
  TOwned<TcxEditStyleController> C(Create<TcxEditStyleController>(nullptr));
  C->GetEditStyle()->SetButtonTransparency(ebtHideInactive);
  C->GetEditInternalStyle(csHotTrack)->SetButtonStyle(btsHotFlat);
  TStyleSet S;
  S.Style(csNormal)->BaseSetStyleController(C.get());
  EXPECT_EQ(S.Style(csNormal)->GetButtonTransparency(), ebtHideInactive);
  EXPECT_TRUE(S.Style(csNormal)->IsValueAssigned(svButtonTransparency));
  EXPECT_FALSE(S.Style(csNormal)->GetAssignedValues().Contains(svButtonTransparency));
  EXPECT_EQ(S.Style(csHotTrack)->GetButtonStyle(), btsHotFlat);
  EXPECT_EQ(S.Style(csNormal)->GetButtonStyle(), btsDefault);
  // The style's own value wins over the controller's.
  S.Style(csNormal)->SetButtonTransparency(ebtAlways);
  EXPECT_EQ(S.Style(csNormal)->GetButtonTransparency(), ebtAlways);
  // Freed, the controller hands the style back to the default one.
  C.reset();
  EXPECT_EQ(S.Style(csNormal)->GetActiveStyleController(), DefaultEditStyleController());
  EXPECT_EQ(S.Style(csHotTrack)->GetButtonStyle(), btsDefault);
}

TEST(EditStyle, TheDefaultControllerStandsBehindEveryStandaloneStyle) {
  TcxEditStyleController* D = DefaultEditStyleController();
  D->GetEditStyle()->SetPopupBorderStyle(epbsSingle);
  TStyleSet S;
  EXPECT_EQ(S.Style(csNormal)->GetPopupBorderStyle(), epbsSingle);
  D->GetEditStyle()->RestoreDefaults();
  EXPECT_EQ(S.Style(csNormal)->GetPopupBorderStyle(), epbsDefault);
}

namespace {
// What an editor answers its styles, without the editor.
class TFakeStyleOwner : public TPersistent, public IcxContainerStyleOwner {
 public:
  explicit TFakeStyleOwner(bool AInplace) : FInplace(AInplace) {}
  TControl* GetStyleOwnerControl() override { return FControl.get(); }
  bool DefaultParentColor() override { return false; }
  bool IsInplace() override { return FInplace; }
  bool IsStylePropertyPublished(const String&, bool) override { return true; }

 private:
  bool FInplace;
  TOwned<TControl> FControl{Create<TControl>(nullptr)};
};
}  // namespace

TEST(EditStyle, AnInplaceEditorsStyleNeverConsultsTheDefaultController) {
  TcxEditStyleController* D = DefaultEditStyleController();
  D->GetEditStyle()->SetButtonStyle(btsFlat);
  for (bool Inplace : {false, true}) {
    TFakeStyleOwner Owner(Inplace);
    TOwned<TcxContainerStyles> Styles(
        cxCreateContainerStyles<TcxContainerStyles>(&Owner, &cxCreateContainerStyle<TcxEditStyle>));
    auto* St = static_cast<TcxCustomEditStyle*>(Styles->StyleNormal());
    EXPECT_EQ(St->GetActiveStyleController(), Inplace ? nullptr : D) << Inplace;
    EXPECT_EQ(St->GetButtonStyle(), Inplace ? btsDefault : btsFlat) << Inplace;
  }
  D->GetEditStyle()->RestoreDefaults();
}

TEST(EditStyle, DirectAccessStylesConsultNoController) {
  TcxEditStyleController* D = DefaultEditStyleController();
  D->GetEditStyle()->SetButtonStyle(btsFlat);
  TOwned<TcxContainerStyle> Direct(
      cxCreateContainerStyle<TcxEditStyle>(nullptr, true, nullptr, csNormal));
  auto* St = static_cast<TcxCustomEditStyle*>(Direct.get());
  EXPECT_EQ(St->GetButtonStyle(), btsDefault);
  St->SetButtonStyle(btsSimple);
  EXPECT_EQ(St->GetButtonStyle(), btsSimple);
  D->GetEditStyle()->RestoreDefaults();
}

struct TStyleSetterCase {
  const char* Name;
  void (*Apply)(TcxCustomEditStyle*);
  Integer Changes;  // applied twice
};

TEST(EditStyle, SettersMarkAssignedAndReportOnlyRealChanges) {
  const TStyleSetterCase Cases[] = {
      {"ButtonStyle equal to the default",
       [](TcxCustomEditStyle* S) { S->SetButtonStyle(btsDefault); }, 1},
      {"ButtonTransparency", [](TcxCustomEditStyle* S) { S->SetButtonTransparency(ebtAlways); }, 1},
      {"Gradient", [](TcxCustomEditStyle* S) { S->SetGradient(false); }, 1},
      {"GradientButtons", [](TcxCustomEditStyle* S) { S->SetGradientButtons(true); }, 1},
      {"GradientDirection", [](TcxCustomEditStyle* S) { S->SetGradientDirection(dirLeft); }, 1},
      {"GradientDirection none is refused",
       [](TcxCustomEditStyle* S) { S->SetGradientDirection(dirNone); }, 0},
      {"PopupBorderStyle", [](TcxCustomEditStyle* S) { S->SetPopupBorderStyle(epbsFrame3D); }, 1},
      {"PopupCloseButton", [](TcxCustomEditStyle* S) { S->SetPopupCloseButton(false); }, 1},
  };
  for (const auto& C : Cases) {
    TStyleSet S;
    TStyleChangeCounter N;
    S.Style(csNormal)->SetOnChanged(MakeEvent<&TStyleChangeCounter::Changed>(&N));
    C.Apply(S.Style(csNormal));
    C.Apply(S.Style(csNormal));
    EXPECT_EQ(N.Count, C.Changes) << C.Name;
  }
}

TEST(EditStyle, ValueNamesAndStateStyleValues) {
  TStyleSet S;
  String Name;
  EXPECT_EQ(S.Style(csNormal)->GetStyleValueCount(), 16);
  struct {
    Integer Value;
    bool Found;
    const wchar_t* Name;
  } const Names[] = {{0, true, L"BorderColor"},        {9, true, L"TransparentBorder"},
                     {10, true, L"ButtonStyle"},       {12, true, L"PopupBorderStyle"},
                     {15, true, L"GradientDirection"}, {16, false, L""}};
  for (const auto& N : Names) {
    EXPECT_EQ(S.Style(csNormal)->GetStyleValueName(N.Value, Name), N.Found) << N.Value;
    EXPECT_EQ(Name, N.Name) << N.Value;
  }
  TcxCustomEditStyle* Focused = S.Style(csActive);
  for (const wchar_t* Published :
       {L"BorderColor", L"BorderStyle", L"Color", L"TextColor", L"TextStyle", L"ButtonStyle"})
    EXPECT_TRUE(Focused->IsExtendedStylePropertyPublished(Published)) << Published;
  for (const wchar_t* Hidden :
       {L"Edges", L"Font", L"HotTrack", L"Shadow", L"TransparentBorder", L"ButtonTransparency",
        L"PopupBorderStyle", L"GradientButtons", L"Gradient", L"GradientDirection"})
    EXPECT_FALSE(Focused->IsExtendedStylePropertyPublished(Hidden)) << Hidden;
}

TEST(EditStyle, InitTakesAHostsViewParamsInOneChange) {
  TStyleSet S;
  TStyleChangeCounter N;
  S.Style(csNormal)->SetOnChanged(MakeEvent<&TStyleChangeCounter::Changed>(&N));
  TOwned<TFont> Font = MakeOwned<TFont>();
  Font->SetName(L"Arial");
  Font->SetSize(14);
  TcxViewParams Params;
  Params.Color = clYellow;
  Params.Font = Font.get();
  Params.TextColor = clNavy;
  S.Style(csNormal)->Init(Params);
  EXPECT_EQ(N.Count, 1);
  EXPECT_EQ(S.Style(csNormal)->GetStyleColor(), clYellow);
  EXPECT_EQ(S.Style(csNormal)->GetTextColor(), clNavy);
  EXPECT_EQ(S.Style(csNormal)->GetFont()->Name(), L"Arial");
  EXPECT_EQ(S.Style(csNormal)->GetFont()->Size(), 14);
  EXPECT_TRUE(S.Style(csNormal)->GetAssignedValues().Contains(csvColor));
}

TEST(EditStyle, AssignCopiesTheEditorValues) {
  TStyleSet A, B;
  A.Style(csNormal)->SetButtonStyle(btsOffice11);
  A.Style(csNormal)->SetGradientButtons(true);
  A.Style(csNormal)->SetPopupCloseButton(false);
  B.Style(csNormal)->Assign(A.Style(csNormal));
  EXPECT_EQ(B.Style(csNormal)->GetButtonStyle(), btsOffice11);
  EXPECT_TRUE(B.Style(csNormal)->GetGradientButtons());
  EXPECT_FALSE(B.Style(csNormal)->GetPopupCloseButton());
  EXPECT_TRUE(B.Style(csNormal)->GetAssignedValues().Contains(svButtonStyle));
}

TEST(EditStyleResources, AControllerWritesOnlyAssignedEditorValues) {
  RegisterClass(TcxEditStyleController::StaticClass());
  TOwned<TcxEditStyleController> C(Create<TcxEditStyleController>(nullptr));
  C->SetName(L"Controller");
  C->GetEditStyle()->SetButtonStyle(btsUltraFlat);
  C->GetEditStyle()->SetGradientDirection(dirLeft);
  C->GetEditInternalStyle(csActive)->SetButtonStyle(btsFlat);
  C->GetEditStyle()->SetEditBorderStyle(ebsUltraFlat);
  const std::string Text = FormResourceText(C.get());
  EXPECT_NE(Text.find("Style.ButtonStyle = btsUltraFlat"), std::string::npos) << Text;
  EXPECT_NE(Text.find("Style.GradientDirection = dirLeft"), std::string::npos) << Text;
  EXPECT_NE(Text.find("StyleFocused.ButtonStyle = btsFlat"), std::string::npos) << Text;
  EXPECT_NE(Text.find("Style.BorderStyle = ebsUltraFlat"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("PopupBorderStyle"), std::string::npos) << Text;
  EXPECT_EQ(Text.find("StyleHot.ButtonStyle"), std::string::npos) << Text;
  TOwned<TMemoryStream> In = MakeOwned<TMemoryStream>();
  In->WriteBuffer(Text.data(), static_cast<Integer>(Text.size()));
  In->SetPosition(0);
  TOwned<TMemoryStream> Bin = MakeOwned<TMemoryStream>();
  ObjectTextToBinary(In.get(), Bin.get());
  Bin->SetPosition(0);
  TOwned<TcxEditStyleController> R(Create<TcxEditStyleController>(nullptr));
  ReadComponentFromStream(Bin.get(), R.get());
  EXPECT_EQ(R->GetEditStyle()->GetButtonStyle(), btsUltraFlat);
  EXPECT_EQ(R->GetEditStyle()->GetGradientDirection(), dirLeft);
  EXPECT_EQ(R->GetEditInternalStyle(csActive)->GetButtonStyle(), btsFlat);
  EXPECT_EQ(R->GetEditInternalStyle(csHotTrack)->GetButtonStyle(), btsUltraFlat);
  EXPECT_EQ(R->GetEditStyle()->GetEditBorderStyle(), ebsUltraFlat);
}
