#include "cxMaskEdit.h"

#include "cxEditConsts.h"
#include "cxExtEditUtils.h"
#include "cxFilterControlUtils.h"

namespace {

const wchar_t* const MaskKindNames[] = {L"emkStandard", L"emkRegExpr", L"emkRegExprEx"};
const TEnumInfo MaskKindInfo = MakeEnumInfo(L"TcxEditMaskKind", MaskKindNames);

bool IsMaskBlank(Char C) {
  return C == 0 || C == L'\t' || C == L'\n' || C == L'\f' || C == L'\r' || C == L' ';
}

Integer InitCount = 0;

void RegisterMaskEdit() {
  cxRegisterEditProperties(TcxMaskEditProperties::StaticClass(), &scxSEditRepositoryMaskItem);
  FilterEditsController()->Register(TcxCustomMaskEditProperties::StaticClass(),
                                    cxFilterEditHelperClass<TcxFilterMaskEditHelper>());
}

void UnregisterMaskEdit() {
  if (TcxFilterEditsController* C = FilterEditsController())
    C->Unregister(TcxCustomMaskEditProperties::StaticClass(),
                  cxFilterEditHelperClass<TcxFilterMaskEditHelper>());
}

}  // namespace

String cxMaskEditRegExprErrorText(const EcxRegExprError& E) {
  String Result = cxGetResourceString(&scxMaskEditRegExprError);
  for (Integer I = 0; I < E.Errors().Count(); ++I)
    Result += L"\r\n" + E.Errors().Items(I)->FullMessage();
  return Result;
}

// ---------------------------------------------------------------------------
// TcxCustomMaskEditProperties
IMPLEMENT_CLASS(TcxCustomMaskEditProperties)

TcxCustomMaskEditProperties::TcxCustomMaskEditProperties(TPersistent* AOwner)
    : TcxCustomTextEditProperties(AOwner) {}

TcxCustomMaskEditProperties::~TcxCustomMaskEditProperties() = default;

bool TcxCustomMaskEditProperties::EmptyMask(const String& AMask) {
  for (Char C : AMask)
    if (!IsMaskBlank(C)) return false;
  return true;
}

TcxMaskEditModeClass TcxCustomMaskEditProperties::GetModeClass(TcxEditMaskKind AMaskKind) {
  switch (AMaskKind) {
    case emkRegExpr:
      return &TcxMaskEditRegExprMode::New;
    case emkRegExprEx:
      return &TcxMaskEditRegExprExMode::New;
    default:
      return &TcxMaskEditStandardMode::New;
  }
}

String TcxCustomMaskEditProperties::GetEditMask() {
  if (FMaskKind == emkStandard && FEditMask.empty()) {
    auto* P = dynamic_cast<TcxCustomEditDefaultValuesProvider*>(GetIDefaultValuesProvider());
    return P ? P->DefaultEditMask() : String();
  }
  return FEditMask;
}

bool TcxCustomMaskEditProperties::IsMasked() { return !EmptyMask(GetEditMask()); }

TcxMaskEditCustomMode* TcxCustomMaskEditProperties::CreateMode1() {
  return GetModeClass(FMaskKind)(nullptr, this);
}

TcxMaskEditCustomMode* TcxCustomMaskEditProperties::CreateMode() {
  if (!IsMasked()) return nullptr;
  TOwned<TcxMaskEditCustomMode> Mode(CreateMode1());
  Mode->Compile(GetEditMask());
  return Mode.release();
}

void TcxCustomMaskEditProperties::SetEditMask(const String& Value) {
  if (Value == GetEditMask()) {
    FEditMask = Value;
    return;
  }
  {
    // Validates: a mask that does not compile raises here and changes nothing.
    TOwned<TcxMaskEditCustomMode> Mode(CreateMode1());
    Mode->Compile(Value);
  }
  FEditMask = Value;
  Changed();
}

void TcxCustomMaskEditProperties::SetMaskKind(TcxEditMaskKind Value) { SetField(FMaskKind, Value); }

void TcxCustomMaskEditProperties::SetAlwaysShowBlanksAndLiterals(bool Value) {
  SetField(FAlwaysShowBlanksAndLiterals, Value);
}

void TcxCustomMaskEditProperties::SetCaseInsensitive(bool Value) {
  FCaseInsensitive = GetCharCase() != ecNormal ? true : Value;
  Changed();
}

void TcxCustomMaskEditProperties::SetCharCase(TEditCharCase Value) {
  if (Value == ecUpperCase || Value == ecLowerCase) FCaseInsensitive = true;
  TcxCustomTextEditProperties::SetCharCase(Value);
}

TcxCustomEditClass TcxCustomMaskEditProperties::GetContainerClass() {
  return cxEditClass<TcxMaskEdit>();
}

TcxEditSupportedOperations TcxCustomMaskEditProperties::GetSupportedOperations() {
  TcxEditSupportedOperations Result = TcxCustomTextEditProperties::GetSupportedOperations();
  if (!GetEditMask().empty()) Result.Exclude(esoEditingAutoHeight);
  return Result;
}

TcxEditDisplayFormatOptions TcxCustomMaskEditProperties::GetDisplayFormatOptions() {
  if (IsMasked()) return {};
  return {dfoSupports};
}

bool TcxCustomMaskEditProperties::UseLookupData() {
  return !IsMasked() && TcxCustomTextEditProperties::UseLookupData();
}

bool TcxCustomMaskEditProperties::IsEditValueValid(Variant& EditValue, bool AEditFocused) {
  return IsMasked() || TcxCustomTextEditProperties::IsEditValueValid(EditValue, AEditFocused);
}

void TcxCustomMaskEditProperties::MaxLengthChanged() {
  if (!IsMasked() || FMaxLengthSetting) {
    TcxCustomTextEditProperties::MaxLengthChanged();
    return;
  }
  // A mask decides the length; the limit is withdrawn.
  FMaxLengthSetting = true;
  auto Guard = Finally([this] { FMaxLengthSetting = false; });
  BeginUpdate();
  auto End = Finally([this] { EndUpdate(); });
  SetMaxLength(0);
}

void TcxCustomMaskEditProperties::DoAssign(TcxCustomEditProperties* AProperties) {
  TcxCustomTextEditProperties::DoAssign(AProperties);
  if (auto* Source = dynamic_cast<TcxCustomMaskEditProperties*>(AProperties)) {
    SetMaskKind(Source->GetMaskKind());
    SetEditMask(Source->GetEditMask());
    SetCaseInsensitive(Source->GetCaseInsensitive());
    SetIgnoreMaskBlank(Source->GetIgnoreMaskBlank());
    SetAlwaysShowBlanksAndLiterals(Source->GetAlwaysShowBlanksAndLiterals());
  }
}

void TcxCustomMaskEditProperties::DoChanged() {
  FTempMode.reset();
  TcxCustomTextEditProperties::DoChanged();
}

bool TcxCustomMaskEditProperties::TestTempMaskKind() {
  return FTempMode && FTempMode->GetMaskKind() == FMaskKind;
}

bool TcxCustomMaskEditProperties::TestTempEditMask() {
  return FTempMode && FTempMode->EditMask() == GetEditMask();
}

void TcxCustomMaskEditProperties::DoPrepareDisplayValue(const Variant& AEditValue,
                                                        Variant& ADisplayValue, bool AEditFocused) {
  auto* Provider = dynamic_cast<TcxCustomEditDefaultValuesProvider*>(GetIDefaultValuesProvider());
  if (!IsMasked() || (!AEditFocused && Provider && !Provider->DefaultDisplayFormat().empty())) {
    TcxCustomTextEditProperties::DoPrepareDisplayValue(AEditValue, ADisplayValue, AEditFocused);
    return;
  }
  if (!TestTempMaskKind() || !TestTempEditMask()) FTempMode.reset(CreateMode());
  const String Text = VarIsNull(AEditValue) ? String() : VarToStr(AEditValue);
  if (AEditFocused || FTempMode->GetMaskKind() != emkStandard || FAlwaysShowBlanksAndLiterals)
    ADisplayValue = FTempMode->GetFormattedText(Text, false);
  else
    ADisplayValue = FTempMode->GetUpdatedText(Text, false);
}

// The completeness test depends on the mask and these settings alone, so a
// mode of the properties' own answers as the editor's would.
void TcxCustomMaskEditProperties::ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText,
                                                       bool& AError, TcxCustomEdit* AEdit) {
  if (!AError && IsMasked()) {
    if (!TestTempMaskKind() || !TestTempEditMask()) FTempMode.reset(CreateMode());
    AError = !FTempMode->IsFullValidText(VarToStr(ADisplayValue));
    if (AError) AErrorText = cxGetResourceString(&scxMaskEditInvalidEditValue);
  }
  TcxCustomTextEditProperties::ValidateDisplayValue(ADisplayValue, AErrorText, AError, AEdit);
}

// ---------------------------------------------------------------------------
// TcxMaskEditProperties
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxMaskEditProperties) {
  using T = TcxMaskEditProperties;
  P.Property<&T::GetAlwaysShowBlanksAndLiterals, &T::SetAlwaysShowBlanksAndLiterals>(
       L"AlwaysShowBlanksAndLiterals")
      .Default(false);
  P.Property<&T::GetCaseInsensitive, &T::SetCaseInsensitive>(L"CaseInsensitive").Default(true);
  P.Property<&T::GetIgnoreMaskBlank, &T::SetIgnoreMaskBlank>(L"IgnoreMaskBlank").Default(false);
  P.Property<&T::GetMaskKind, &T::SetMaskKind>(L"MaskKind", MaskKindInfo).Default(emkStandard);
  P.Property<&T::GetEditMask, &T::SetEditMask>(L"EditMask");
  P.Property<&T::GetValidateOnEnter, &T::SetValidateOnEnter>(L"ValidateOnEnter").Default(true);
}

TcxMaskEditProperties::TcxMaskEditProperties(TPersistent* AOwner)
    : TcxCustomMaskEditProperties(AOwner) {
  SetValidateOnEnter(true);
}

// ---------------------------------------------------------------------------
// TcxFilterMaskEditHelper
IMPLEMENT_CLASS(TcxFilterMaskEditHelper)

TClass TcxFilterMaskEditHelper::GetFilterEditClass() const { return TcxMaskEdit::StaticClass(); }

TcxFilterControlOperators TcxFilterMaskEditHelper::GetSupportedFilterOperators(
    TcxCustomEditProperties* AProperties, TcxValueTypeClass AValueTypeClass,
    bool AExtendedSet) const {
  TcxFilterControlOperators Result{fcoEqual,   fcoNotEqual,     fcoLess,   fcoLessEqual,
                                   fcoGreater, fcoGreaterEqual, fcoBlanks, fcoNonBlanks};
  auto* P = dynamic_cast<TcxCustomMaskEditProperties*>(AProperties);
  if ((!P || !P->IsMasked()) && AValueTypeClass && AValueTypeClass->IsString())
    Result += {fcoLike, fcoNotLike, fcoContains, fcoNotContains, fcoBeginsWith, fcoEndsWith};
  if (AExtendedSet) Result += {fcoBetween, fcoNotBetween, fcoInList, fcoNotInList};
  return Result;
}

void TcxFilterMaskEditHelper::InitializeProperties(TcxCustomEditProperties* AProperties,
                                                   TcxCustomEditProperties* AEditProperties,
                                                   bool AHasButtons) const {
  TcxFilterTextEditHelper::InitializeProperties(AProperties, AEditProperties, AHasButtons);
  auto* P = dynamic_cast<TcxCustomMaskEditProperties*>(AProperties);
  if (!P) return;
  auto* Source = dynamic_cast<TcxCustomMaskEditProperties*>(AEditProperties);
  if (Source && Source->GetMaskKind() == emkRegExpr) P->SetMaskKind(emkRegExprEx);
  P->SetAutoSelect(!P->IsMasked());
}

// ---------------------------------------------------------------------------

void cxMaskEdit_Initialize() {
  cxExtEditModuleInitialize(InitCount, &RegisterMaskEdit, &UnregisterMaskEdit);
}

void cxMaskEdit_Finalize() { cxExtEditModuleFinalize(InitCount, &UnregisterMaskEdit); }
