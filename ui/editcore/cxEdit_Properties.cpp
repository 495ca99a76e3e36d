// Editor properties: the shared settings, change batching, the assigned
// values and the alignment pair.
#include "WinHandles.h"
#include "cxEdit.h"
#include "cxEditConsts.h"
#include "dxDPIAwareUtils.h"

// ---------------------------------------------------------------------------
// TcxEditAlignment
IMPLEMENT_PUBLISHED_CLASS(TcxEditAlignment) {
  using A = TcxEditAlignment;
  static const wchar_t* const HorzNames[] = {L"taLeftJustify", L"taRightJustify", L"taCenter"};
  static const TEnumInfo HorzInfo = MakeEnumInfo(L"TAlignment", HorzNames);
  static const wchar_t* const VertNames[] = {L"taTopJustify", L"taBottomJustify", L"taVCenter"};
  static const TEnumInfo VertInfo = MakeEnumInfo(L"TcxEditVertAlignment", VertNames);
  P.Property<&A::GetHorz, &A::SetHorz>(L"Horz", HorzInfo).template Stored<&A::IsHorzStored>();
  P.Property<&A::GetVert, &A::SetVert>(L"Vert", VertInfo).template Stored<&A::IsVertStored>();
}

TcxEditAlignment::TcxEditAlignment(TPersistent* AOwner)
    : TcxEditAlignment(AOwner, cxEditDefaultVertAlignment) {}

TcxEditAlignment::TcxEditAlignment(TPersistent* AOwner, TcxEditVertAlignment ADefaultVertAlignment)
    : TcxEditAlignment(AOwner, cxEditDefaultHorzAlignment, ADefaultVertAlignment) {}

TcxEditAlignment::TcxEditAlignment(TPersistent* AOwner, TAlignment ADefaultHorzAlignment,
                                   TcxEditVertAlignment ADefaultVertAlignment)
    : FOwner(AOwner),
      FDefaultHorzAlignment(ADefaultHorzAlignment),
      FDefaultVertAlignment(ADefaultVertAlignment),
      FHorz(ADefaultHorzAlignment),
      FVert(ADefaultVertAlignment) {}

void TcxEditAlignment::Assign(TPersistent* Source) {
  if (auto* A = dynamic_cast<TcxEditAlignment*>(Source)) {
    FVert = A->FVert;
    FHorz = A->FHorz;
    FIsHorzAssigned = A->FIsHorzAssigned;
    DoChanged();
  } else {
    inherited::Assign(Source);
  }
}

void TcxEditAlignment::Reset() {
  FIsHorzAssigned = false;
  DoChanged();
}

void TcxEditAlignment::SetHorz(TAlignment Value) {
  if (FIsHorzAssigned && FHorz == Value) return;
  FHorz = Value;
  FIsHorzAssigned = true;
  DoChanged();
}

void TcxEditAlignment::SetVert(TcxEditVertAlignment Value) {
  if (FVert == Value) return;
  FVert = Value;
  DoChanged();
}

void TcxEditAlignment::DoChanged() {
  if (FOnChanged) FOnChanged(this);
}

// ---------------------------------------------------------------------------
// TcxCustomEditPropertiesValues
IMPLEMENT_PUBLISHED_CLASS(TcxCustomEditPropertiesValues) {
  using V = TcxCustomEditPropertiesValues;
  P.Property<&V::GetReadOnly, &V::SetReadOnly>(L"ReadOnly").Stored(false);
}

TcxCustomEditProperties* TcxCustomEditPropertiesValues::GetProperties() {
  return dynamic_cast<TcxCustomEditProperties*>(FOwner);
}

void TcxCustomEditPropertiesValues::BeginUpdate() {
  if (TcxCustomEditProperties* P = GetProperties()) P->BeginUpdate();
}

void TcxCustomEditPropertiesValues::EndUpdate() {
  if (TcxCustomEditProperties* P = GetProperties()) P->EndUpdate(true);
}

void TcxCustomEditPropertiesValues::SetFlag(bool& AFlag, bool Value) {
  if (AFlag == Value) return;
  AFlag = Value;
  if (TcxCustomEditProperties* P = GetProperties()) P->Changed();
}

void TcxCustomEditPropertiesValues::SetMaxValue(bool Value) { SetFlag(FMaxValue, Value); }
void TcxCustomEditPropertiesValues::SetMinValue(bool Value) { SetFlag(FMinValue, Value); }
void TcxCustomEditPropertiesValues::SetReadOnly(bool Value) { SetFlag(FReadOnly, Value); }

void TcxCustomEditPropertiesValues::Assign(TPersistent* Source) {
  auto* V = dynamic_cast<TcxCustomEditPropertiesValues*>(Source);
  if (!V) return inherited::Assign(Source);
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(); });
  SetMaxValue(V->FMaxValue);
  SetMinValue(V->FMinValue);
  SetReadOnly(V->FReadOnly);
}

void TcxCustomEditPropertiesValues::RestoreDefaults() {
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(); });
  SetMaxValue(false);
  SetMinValue(false);
  SetReadOnly(false);
}

bool TcxCustomEditPropertiesValues::IsPropertiesPropertyVisible(const String& APropertyName) {
  TcxCustomEditProperties* P = GetProperties();
  return P && GetPropInfo(P, APropertyName) != nullptr;
}

// A nonzero assigned value is streamed by the properties themselves; the flag
// carries only an assigned zero.
bool TcxCustomEditPropertiesValues::IsMaxValueStored() {
  TcxCustomEditProperties* P = GetProperties();
  return FMaxValue && P && P->GetMaxValue() == 0 && IsPropertiesPropertyVisible(L"MaxValue");
}

bool TcxCustomEditPropertiesValues::IsMinValueStored() {
  TcxCustomEditProperties* P = GetProperties();
  return FMinValue && P && P->GetMinValue() == 0 && IsPropertiesPropertyVisible(L"MinValue");
}

// ---------------------------------------------------------------------------
// TcxCustomEditProperties
IMPLEMENT_CREATABLE_CLASS(TcxCustomEditProperties)

TcxCustomEditProperties::TcxCustomEditProperties(TPersistent* AOwner)
    : TcxInterfacedPersistent(AOwner) {
  FValidationOptions = {evoRaiseException};
}

void TcxCustomEditProperties::AfterConstruction() {
  inherited::AfterConstruction();
  cxEditDetail::AddCreatedProperties(this);
  FAlignment = MakeOwned<TcxEditAlignment>(this, GetDefaultVertAlignment());
  FAlignment->SetOnChanged(MakeEvent<&TcxCustomEditProperties::AlignmentChangedHandler>(this));
  FAssignedValues.reset(GetAssignedValuesClass()(this));
  CreateButtonsPart();
  FUseLeftAlignmentOnEditing = DefaultUseLeftAlignmentOnEditing();
  FInnerAlignment = MakeOwned<TcxEditAlignment>(this, GetDefaultVertAlignment());
  FScaleFactor = MakeOwned<TdxOwnedScaleFactor>();
  FScaleFactor->ListenerAdd(MakeEvent<&TcxCustomEditProperties::ScaleFactorChangeHandler>(this));
  FScaleFactor->SetOwner(dxGetScaleFactor(Owner()));
}

void TcxCustomEditProperties::BeforeDestruction() {
  if (FScaleFactor)
    FScaleFactor->ListenerRemove(
        MakeEvent<&TcxCustomEditProperties::ScaleFactorChangeHandler>(this));
  ClearPropertiesDestroyingListeners(this);
  FIDefaultValuesProvider = nullptr;
  inherited::BeforeDestruction();
}

TcxCustomEditProperties::~TcxCustomEditProperties() { cxEditDetail::RemoveCreatedProperties(this); }

TcxCustomEditPropertiesValuesClass TcxCustomEditProperties::GetAssignedValuesClass() {
  return [](TPersistent* AOwner) { return Create<TcxCustomEditPropertiesValues>(AOwner); };
}

void TcxCustomEditProperties::ScaleFactorChangeHandler(TObject*, Integer M, Integer D,
                                                       bool IsLoading) {
  if (!IsLoading) ChangeScale(M, D);
}

// Batching ------------------------------------------------------------------

void TcxCustomEditProperties::BeginUpdate() {
  if (FUpdateCount == 0) FChangedOccurred = false;
  ++FUpdateCount;
}

void TcxCustomEditProperties::EndUpdate(bool AInvokeChanged) {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && AInvokeChanged && FChangedOccurred) Changed();
}

void TcxCustomEditProperties::Changed() {
  TComponent* OwnerComponent = dynamic_cast<TComponent*>(Owner());
  const bool OwnerDestroying =
      OwnerComponent && OwnerComponent->ComponentState().Contains(csDestroying);
  if (!ChangedLocked() && !OwnerDestroying)
    DoChanged();
  else
    FChangedOccurred = true;
}

void TcxCustomEditProperties::DoChanged() {
  if (!FOnPropertiesChanged) return;
  ++FIsChangingCount;
  TScopeExit Guard([this] { --FIsChangingCount; });
  FOnPropertiesChanged(this);
}

void TcxCustomEditProperties::Update(TcxCustomEditProperties* AProperties) {
  if (AProperties != this && AProperties && AProperties->InheritsFrom(ClassType()))
    DoUpdate(AProperties);
}

// Copying -------------------------------------------------------------------

void TcxCustomEditProperties::Assign(TPersistent* Source) {
  auto* P = dynamic_cast<TcxCustomEditProperties*>(Source);
  if (!P) return inherited::Assign(Source);
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(true); });
  DoAssign(P);
}

void TcxCustomEditProperties::DoAssign(TcxCustomEditProperties* AProperties) {
  SetImages(AProperties->GetImages());
  SetAutoSelect(AProperties->FAutoSelect);
  AssignButtonsPart(AProperties);
  SetButtonsViewStyle(AProperties->FButtonsViewStyle);
  FBeepOnError = AProperties->FBeepOnError;
  FClearKey = AProperties->FClearKey;
  FClickKey = AProperties->FClickKey;
  SetUseLeftAlignmentOnEditing(AProperties->FUseLeftAlignmentOnEditing);
  FIDefaultValuesProvider = AProperties->FIDefaultValuesProvider;
  BaseSetAlignment(AProperties->GetAlignment());
  FAssignedValues->SetMaxValue(false);
  if (AProperties->FAssignedValues->GetMaxValue()) SetMaxValue(AProperties->GetMaxValue());
  FAssignedValues->SetMinValue(false);
  if (AProperties->FAssignedValues->GetMinValue()) SetMinValue(AProperties->GetMinValue());
  FAssignedValues->SetReadOnly(false);
  if (AProperties->FAssignedValues->GetReadOnly()) SetReadOnly(AProperties->GetReadOnly());
  FImmediatePost = AProperties->FImmediatePost;
  SetTransparent(AProperties->FTransparent);
  FUseMouseWheel = AProperties->FUseMouseWheel;
  FValidateOnEnter = AProperties->FValidateOnEnter;
  SetValidationOptions(AProperties->FValidationOptions);
  SetValidationErrorIconAlignment(AProperties->FValidationErrorIconAlignment);
  FOnButtonClick = AProperties->FOnButtonClick;
  FOnChange = AProperties->FOnChange;
  FOnEditValueChanged = AProperties->FOnEditValueChanged;
  FOnValidate = AProperties->FOnValidate;
}

TcxCustomEditProperties* TcxCustomEditProperties::Clone(TPersistent* AOwner) {
  TOwned<TcxCustomEditProperties> Result(
      static_cast<TcxCustomEditProperties*>(ClassType()->Create(AOwner)));
  if (!Result) return nullptr;
  Result->Assign(this);
  return Result.release();
}

TcxCustomEditProperties* TcxCustomEditProperties::CreatePreviewProperties() {
  return static_cast<TcxCustomEditProperties*>(ClassType()->Create(nullptr));
}

void TcxCustomEditProperties::RestoreDefaults() {
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(true); });
  const bool AHorzWasAssigned = FInnerAlignment->IsHorzAssigned();
  FInnerAlignment->Reset();
  if (AHorzWasAssigned) Changed();
  FAssignedValues->RestoreDefaults();
}

// Assigned values -----------------------------------------------------------

void TcxCustomEditProperties::SetMaxValue(Double Value) {
  if (FAssignedValues->GetMaxValue() && FMaxValue == Value) return;
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(true); });
  FMaxValue = Value;
  FAssignedValues->SetMaxValue(true);
  Changed();
}

void TcxCustomEditProperties::SetMinValue(Double Value) {
  if (FAssignedValues->GetMinValue() && FMinValue == Value) return;
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(true); });
  FMinValue = Value;
  FAssignedValues->SetMinValue(true);
  Changed();
}

void TcxCustomEditProperties::SetReadOnly(bool Value) {
  if (FAssignedValues->GetReadOnly() && FReadOnly == Value) return;
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(true); });
  FReadOnly = Value;
  FAssignedValues->SetReadOnly(true);
  Changed();
}

void TcxCustomEditProperties::FillMinMaxValues(Double AMaxValue, Double AMinValue) {
  if (FAssignedValues->GetMaxValue() && FAssignedValues->GetMinValue() && FMaxValue == AMaxValue &&
      FMinValue == AMinValue)
    return;
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(true); });
  FMaxValue = AMaxValue;
  FMinValue = AMinValue;
  FAssignedValues->SetMaxValue(true);
  FAssignedValues->SetMinValue(true);
  Changed();
}

Double TcxCustomEditProperties::GetMaxValue() {
  if (FAssignedValues->GetMaxValue()) return FMaxValue;
  return FIDefaultValuesProvider ? FIDefaultValuesProvider->DefaultMaxValue() : 0;
}

Double TcxCustomEditProperties::GetMinValue() {
  if (FAssignedValues->GetMinValue()) return FMinValue;
  return FIDefaultValuesProvider ? FIDefaultValuesProvider->DefaultMinValue() : 0;
}

bool TcxCustomEditProperties::GetReadOnly() {
  if (FAssignedValues->GetReadOnly()) return FReadOnly;
  return FIDefaultValuesProvider && FIDefaultValuesProvider->DefaultReadOnly();
}

bool TcxCustomEditProperties::CanModify() {
  if (FAssignedValues->GetReadOnly() && !FReadOnly) return true;
  if (GetReadOnly()) return false;
  if (!FIDefaultValuesProvider) return true;
  return FIDefaultValuesProvider->DefaultCanModify() && FIDefaultValuesProvider->CanSetEditMode();
}

bool TcxCustomEditProperties::IsDesigning() {
  auto* C = dynamic_cast<TComponent*>(Owner());
  return C && C->ComponentState().Contains(csDesigning);
}

// Common settings -----------------------------------------------------------

void TcxCustomEditProperties::SetAutoSelect(bool Value) {
  if (FAutoSelect == Value) return;
  FAutoSelect = Value;
  Changed();
}

void TcxCustomEditProperties::SetButtonsViewStyle(TcxEditButtonsViewStyle Value) {
  if (FButtonsViewStyle == Value) return;
  FButtonsViewStyle = Value;
  Changed();
}

void TcxCustomEditProperties::SetTransparent(bool Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  Changed();
}

void TcxCustomEditProperties::SetUseLeftAlignmentOnEditing(bool Value) {
  if (FUseLeftAlignmentOnEditing == Value) return;
  FUseLeftAlignmentOnEditing = Value;
  Changed();
}

void TcxCustomEditProperties::SetValidationErrorIconAlignment(TAlignment Value) {
  if (FValidationErrorIconAlignment == Value) return;
  FValidationErrorIconAlignment = Value;
  Changed();
}

void TcxCustomEditProperties::SetValidationOptions(TcxEditValidationOptions Value) {
  if (FValidationOptions == Value) return;
  FValidationOptions = Value;
  FInternalValidationOptions = Value;
  Changed();
}

void TcxCustomEditProperties::SetIDefaultValuesProvider(IcxEditDefaultValuesProvider* Value) {
  FIDefaultValuesProvider = Value;
  // Only a live editor repaints from its provider.
  if (dynamic_cast<TcxCustomEdit*>(Owner())) Changed();
}

// Alignment -----------------------------------------------------------------

TcxEditAlignment* TcxCustomEditProperties::GetAlignment() {
  FAlignment->SetOnChanged(nullptr);
  FAlignment->Assign(FInnerAlignment.get());
  TComponent* C = GetOwnerComponent(this);
  const bool Writing = C && C->ComponentState().Contains(csWriting);
  if (IsAlignmentStored() && Writing) return FAlignment.get();
  if (!FInnerAlignment->IsHorzStored()) {
    FAlignment->SetHorz(GetDefaultHorzAlignment());
    FAlignment->Reset();
  }
  FAlignment->SetOnChanged(MakeEvent<&TcxCustomEditProperties::AlignmentChangedHandler>(this));
  return FAlignment.get();
}

void TcxCustomEditProperties::AlignmentChangedHandler(TObject*) {
  FInnerAlignment->Assign(FAlignment.get());
  Changed();
}

void TcxCustomEditProperties::BaseSetAlignment(TcxEditAlignment* Value) {
  FInnerAlignment->Assign(Value);
  Changed();
}

TAlignment TcxCustomEditProperties::GetDefaultHorzAlignment() {
  if (FIDefaultValuesProvider) return FIDefaultValuesProvider->DefaultAlignment();
  return FAlignment->GetHorz();
}

// Display and validation ----------------------------------------------------

bool TcxCustomEditProperties::CompareDisplayValues(const Variant& AEditValue1,
                                                   const Variant& AEditValue2) {
  Variant V1, V2;
  PrepareDisplayValue(AEditValue1, V1, false);
  PrepareDisplayValue(AEditValue2, V2, false);
  return VarEquals(V1, V2);
}

String TcxCustomEditProperties::GetDisplayText(const Variant&, bool, bool) { return String(); }

TcxEditEditValueSource TcxCustomEditProperties::GetEditValueSource(bool) { return evsValue; }

TcxEditSupportedOperations TcxCustomEditProperties::GetSupportedOperations() {
  if (FButtons->Count() > 0) return {esoHotTrack};
  return {};
}

void TcxCustomEditProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                                                  bool) {
  DisplayValue = AEditValue;
}

String TcxCustomEditProperties::GetValidateErrorText(TcxEditErrorKind) {
  return cxGetResourceString(&cxSEditValidateErrorText);
}

TcxEditEditValueSource TcxCustomEditProperties::GetValueEditorEditValueSource(bool AEditFocused) {
  if (AEditFocused || !GetDisplayFormatOptions().Contains(dfoSupports) || !FIDefaultValuesProvider)
    return evsValue;
  const bool CurrencyAccepted = !GetDisplayFormatOptions().Contains(dfoNoCurrencyValue);
  return FIDefaultValuesProvider->IsDisplayFormatDefined(CurrencyAccepted) ? evsText : evsValue;
}

bool TcxCustomEditProperties::IsValueFormattedByProvider() {
  const TcxEditDisplayFormatOptions Options = GetDisplayFormatOptions();
  return !IsValueFormattedByProperties() && Options.Contains(dfoSupports) &&
         GetEditValueSource(true) == evsValue && GetEditValueSource(false) == evsText &&
         FIDefaultValuesProvider &&
         FIDefaultValuesProvider->IsDisplayFormatDefined(!Options.Contains(dfoNoCurrencyValue));
}
