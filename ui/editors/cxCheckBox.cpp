#include "cxCheckBox.h"

#include "cxEditConsts.h"
#include "cxExtEditUtils.h"

namespace {

const wchar_t* const HorzNames[] = {L"taLeftJustify", L"taRightJustify", L"taCenter"};
const TEnumInfo HorzInfo = MakeEnumInfo(L"TAlignment", HorzNames);
const wchar_t* const NullStyleNames[] = {L"nssUnchecked", L"nssInactive", L"nssGrayedChecked"};
const TEnumInfo NullStyleInfo = MakeEnumInfo(L"TcxCheckBoxNullValueShowingStyle", NullStyleNames);
const wchar_t* const LeftRightNames[] = {L"taLeftJustify", L"taRightJustify"};
const TEnumInfo LeftRightInfo = MakeEnumInfo(L"TLeftRight", LeftRightNames);
const wchar_t* const ValidationOptionNames[] = {L"evoRaiseException", L"evoShowErrorIcon",
                                                L"evoAllowLoseFocus"};
const TEnumInfo ValidationOptionInfo =
    MakeEnumInfo(L"TcxEditValidationOption", ValidationOptionNames);

Integer InitCount = 0;

void RegisterCheckBox() {
  cxRegisterEditProperties(TcxCheckBoxProperties::StaticClass(), &scxSEditRepositoryCheckBoxItem);
}

void UnregisterCheckBox() { cxUnregisterEditProperties(TcxCheckBoxProperties::StaticClass()); }

bool IsBooleanValue(const Variant& V, bool AValue) {
  return VarType(V) == varBoolean && V.AsBoolean() == AValue;
}

}  // namespace

IMPLEMENT_CLASS(TcxCheckBoxStyle)

// ---------------------------------------------------------------------------
// TcxCustomCheckBoxProperties
IMPLEMENT_CLASS(TcxCustomCheckBoxProperties)

TcxCustomCheckBoxProperties::TcxCustomCheckBoxProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner),
      FValueChecked(true),
      FValueGrayed(Null()),
      FValueUnchecked(false) {}

TcxCustomCheckBoxProperties::~TcxCustomCheckBoxProperties() = default;

void TcxCustomCheckBoxProperties::AfterConstruction() {
  inherited::AfterConstruction();
  FGlyph = MakeOwned<TdxSmartGlyph>();
  FGlyph->SetTransparent(false);
  FGlyph->OnChange = MakeEvent<&TcxCustomCheckBoxProperties::ChangeHandler>(this);
}

// The state values are variants, which the published tables do not carry;
// each is written only when it differs from its default.
void TcxCustomCheckBoxProperties::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  using P = TcxCustomCheckBoxProperties;
  Filer->DefineProperty(L"ValueChecked", MakeEvent<&P::ReadValueChecked>(this),
                        MakeEvent<&P::WriteValueChecked>(this),
                        !IsBooleanValue(FValueChecked, true));
  Filer->DefineProperty(L"ValueGrayed", MakeEvent<&P::ReadValueGrayed>(this),
                        MakeEvent<&P::WriteValueGrayed>(this), !VarIsNull(FValueGrayed));
  Filer->DefineProperty(L"ValueUnchecked", MakeEvent<&P::ReadValueUnchecked>(this),
                        MakeEvent<&P::WriteValueUnchecked>(this),
                        !IsBooleanValue(FValueUnchecked, false));
}

void TcxCustomCheckBoxProperties::ReadValueChecked(TReader* Reader) {
  SetValueChecked(cxReadVariant(Reader));
}
void TcxCustomCheckBoxProperties::ReadValueGrayed(TReader* Reader) {
  SetValueGrayed(cxReadVariant(Reader));
}
void TcxCustomCheckBoxProperties::ReadValueUnchecked(TReader* Reader) {
  SetValueUnchecked(cxReadVariant(Reader));
}
void TcxCustomCheckBoxProperties::WriteValueChecked(TWriter* Writer) {
  cxWriteVariant(Writer, FValueChecked);
}
void TcxCustomCheckBoxProperties::WriteValueGrayed(TWriter* Writer) {
  cxWriteVariant(Writer, FValueGrayed);
}
void TcxCustomCheckBoxProperties::WriteValueUnchecked(TWriter* Writer) {
  cxWriteVariant(Writer, FValueUnchecked);
}

TcxEditSpecialFeatures TcxCustomCheckBoxProperties::GetSpecialFeatures() {
  return inherited::GetSpecialFeatures() + TcxEditSpecialFeatures{esfNoContentPart, esfClickable};
}

TcxContainerStyleClass TcxCustomCheckBoxProperties::GetStyleClass() {
  return &cxCreateContainerStyle<TcxCheckBoxStyle>;
}

bool TcxCustomCheckBoxProperties::IsLoading() {
  TComponent* C = GetOwnerComponent(this);
  return C && C->ComponentState().Contains(csLoading);
}

// Values and states ---------------------------------------------------------

TcxCheckBoxState TcxCustomCheckBoxProperties::GetState(const Variant& AEditValue) {
  if (VarEqualsExact(AEditValue, FValueChecked)) return cbsChecked;
  if (VarEqualsExact(AEditValue, FValueUnchecked)) return cbsUnchecked;
  return cbsGrayed;
}

void TcxCustomCheckBoxProperties::PrepareDisplayValue(const Variant& AEditValue,
                                                      Variant& DisplayValue, bool) {
  DisplayValue = Variant(static_cast<Integer>(GetState(AEditValue)));
}

bool TcxCustomCheckBoxProperties::CompareDisplayValues(const Variant& AEditValue1,
                                                       const Variant& AEditValue2) {
  return GetState(AEditValue1) == GetState(AEditValue2);
}

String TcxCustomCheckBoxProperties::GetDisplayText(const Variant& AEditValue, bool, bool) {
  return GetDisplayCheckState(GetState(AEditValue));
}

bool TcxCustomCheckBoxProperties::CheckValue(const Variant& AValue) {
  return !InternalVarEqualsExact(AValue, FValueChecked) &&
         !InternalVarEqualsExact(AValue, FValueGrayed) &&
         !InternalVarEqualsExact(AValue, FValueUnchecked);
}

bool TcxCustomCheckBoxProperties::IsEditValueValid(Variant& EditValue, bool AEditFocused) {
  return inherited::IsEditValueValid(EditValue, AEditFocused) && !CheckValue(EditValue);
}

// A value that collides with another state's value would make two states
// indistinguishable; it is refused silently, except while a form resource
// is read, where the values arrive one by one.
void TcxCustomCheckBoxProperties::SetStateValue(Variant& AField, const Variant& Value,
                                                bool AAllowNull) {
  if (!IsLoading() && ((!AAllowNull && VarIsNull(Value)) || !CheckValue(Value))) return;
  AField = Value;
  Changed();
}

void TcxCustomCheckBoxProperties::SetValueChecked(const Variant& Value) {
  SetStateValue(FValueChecked, Value, false);
}
void TcxCustomCheckBoxProperties::SetValueGrayed(const Variant& Value) {
  SetStateValue(FValueGrayed, Value, true);
}
void TcxCustomCheckBoxProperties::SetValueUnchecked(const Variant& Value) {
  SetStateValue(FValueUnchecked, Value, false);
}

void TcxCustomCheckBoxProperties::SetStateValues(const Variant& AValueChecked,
                                                 const Variant& AValueGrayed,
                                                 const Variant& AValueUnchecked) {
  if (InternalVarEqualsExact(AValueChecked, AValueGrayed) ||
      InternalVarEqualsExact(AValueChecked, AValueUnchecked) ||
      InternalVarEqualsExact(AValueGrayed, AValueUnchecked) || VarIsNull(AValueChecked) ||
      VarIsNull(AValueUnchecked))
    return;
  FValueChecked = AValueChecked;
  FValueGrayed = AValueGrayed;
  FValueUnchecked = AValueUnchecked;
  Changed();
}

// Display texts -------------------------------------------------------------

String TcxCustomCheckBoxProperties::GetDefaultDisplayCheckState(TcxCheckBoxState AState) {
  static const TResStringRec* const Defaults[] = {&cxSEditCheckBoxUnchecked,
                                                  &cxSEditCheckBoxChecked, &cxSEditCheckBoxGrayed};
  return cxGetResourceString(Defaults[AState]);
}

String TcxCustomCheckBoxProperties::GetDisplayCheckState(Integer AIndex) {
  if (FIsDisplayCheckStateAssigned[AIndex]) return FDisplayCheckState[AIndex];
  return GetDefaultDisplayCheckState(static_cast<TcxCheckBoxState>(AIndex));
}

void TcxCustomCheckBoxProperties::SetDisplayCheckState(Integer AIndex, const String& Value) {
  if (Value == GetDisplayCheckState(AIndex)) return;
  FDisplayCheckState[AIndex] = Value;
  FIsDisplayCheckStateAssigned[AIndex] =
      Value != GetDefaultDisplayCheckState(static_cast<TcxCheckBoxState>(AIndex));
}

// Other settings ------------------------------------------------------------

TAlignment TcxCustomCheckBoxProperties::GetHorzAlignment() {
  return TcxCustomEditProperties::GetAlignment()->GetHorz();
}
void TcxCustomCheckBoxProperties::SetHorzAlignment(TAlignment Value) {
  TcxCustomEditProperties::GetAlignment()->SetHorz(Value);
}
bool TcxCustomCheckBoxProperties::IsHorzAlignmentStored() {
  return TcxCustomEditProperties::GetAlignment()->IsHorzAssigned();
}

void TcxCustomCheckBoxProperties::SetCaption(const String& Value) {
  FIsCaptionAssigned = true;
  SetField(FCaption, Value);
}

void TcxCustomCheckBoxProperties::SetFullFocusRect(bool Value) { SetField(FFullFocusRect, Value); }
void TcxCustomCheckBoxProperties::SetGlyph(TdxSmartGlyph* Value) {
  FGlyph->Assign(Value);
  Changed();
}
void TcxCustomCheckBoxProperties::SetGlyphCount(Integer Value) { SetField(FGlyphCount, Value); }
void TcxCustomCheckBoxProperties::SetMultiLine(bool Value) { SetField(FMultiLine, Value); }
void TcxCustomCheckBoxProperties::SetNullStyle(TcxCheckBoxNullValueShowingStyle Value) {
  SetField(FNullStyle, Value);
}
void TcxCustomCheckBoxProperties::SetShowEndEllipsis(bool Value) {
  SetField(FShowEndEllipsis, Value);
}
void TcxCustomCheckBoxProperties::SetUseAlignmentWhenInplace(bool Value) {
  SetField(FUseAlignmentWhenInplace, Value);
}

void TcxCustomCheckBoxProperties::DoAssign(TcxCustomEditProperties* AProperties) {
  inherited::DoAssign(AProperties);
  auto* Source = AsOrNull<TcxCustomCheckBoxProperties>(AProperties);
  if (!Source) return;
  SetAllowGrayed(Source->FAllowGrayed);
  for (TcxCheckBoxState S : {cbsChecked, cbsGrayed, cbsUnchecked})
    SetDisplayCheckState(S, Source->GetDisplayCheckState(S));
  SetFullFocusRect(Source->FFullFocusRect);
  SetGlyph(Source->FGlyph.get());
  SetGlyphCount(Source->FGlyphCount);
  SetMultiLine(Source->FMultiLine);
  SetNullStyle(Source->FNullStyle);
  SetUseAlignmentWhenInplace(Source->FUseAlignmentWhenInplace);
  SetStateValues(Source->FValueChecked, Source->FValueGrayed, Source->FValueUnchecked);
  SetShowEndEllipsis(Source->FShowEndEllipsis);
}

// ---------------------------------------------------------------------------
// TcxCheckBoxProperties
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxCheckBoxProperties) {
  using T = TcxCheckBoxProperties;
  P.Property<&T::GetHorzAlignment, &T::SetHorzAlignment>(L"Alignment", HorzInfo)
      .NoDefault()
      .template Stored<&T::IsHorzAlignmentStored>();
  P.Property<&T::GetAllowGrayed, &T::SetAllowGrayed>(L"AllowGrayed").Default(false);
  P.Property<&T::GetAssignedValues, &T::SetAssignedValues>(L"AssignedValues");
  P.Property<&T::GetCaption, &T::SetCaption>(L"Caption").Stored(false);
  P.Property<&T::GetClearKey, &T::SetClearKey>(L"ClearKey").Default(0);
  P.Property<&T::template DisplayText<cbsChecked>, &T::template SetDisplayText<cbsChecked>>(
       L"DisplayChecked")
      .template Stored<&T::template IsDisplayTextStored<cbsChecked>>();
  P.Property<&T::template DisplayText<cbsUnchecked>, &T::template SetDisplayText<cbsUnchecked>>(
       L"DisplayUnchecked")
      .template Stored<&T::template IsDisplayTextStored<cbsUnchecked>>();
  P.Property<&T::template DisplayText<cbsGrayed>, &T::template SetDisplayText<cbsGrayed>>(
       L"DisplayGrayed")
      .template Stored<&T::template IsDisplayTextStored<cbsGrayed>>();
  P.Property<&T::GetFullFocusRect, &T::SetFullFocusRect>(L"FullFocusRect").Default(false);
  P.Property<&T::GetGlyph, &T::SetGlyph>(L"Glyph");
  P.Property<&T::GetGlyphCount, &T::SetGlyphCount>(L"GlyphCount").Default(6);
  P.Property<&T::GetImmediatePost, &T::SetImmediatePost>(L"ImmediatePost").Default(false);
  P.Property<&T::GetMultiLine, &T::SetMultiLine>(L"MultiLine").Default(false);
  P.Property<&T::GetNullStyle, &T::SetNullStyle>(L"NullStyle", NullStyleInfo)
      .Default(nssGrayedChecked);
  P.Property<&T::PublishedReadOnly, &T::SetReadOnly>(L"ReadOnly")
      .template Stored<&T::IsReadOnlyStored>();
  P.Property<&T::GetShowEndEllipsis, &T::SetShowEndEllipsis>(L"ShowEndEllipsis").Default(false);
  P.Property<&T::GetUseAlignmentWhenInplace, &T::SetUseAlignmentWhenInplace>(
       L"UseAlignmentWhenInplace")
      .Default(false);
  P.Property<&T::GetValidationErrorIconAlignment, &T::SetValidationErrorIconAlignment>(
       L"ValidationErrorIconAlignment", LeftRightInfo)
      .Default(taLeftJustify);
  P.Property<&T::GetValidationOptions, &T::SetValidationOptions>(L"ValidationOptions",
                                                                 ValidationOptionInfo)
      .Default(TcxEditValidationOptions{evoRaiseException});
  P.Property<&T::OnChange, &T::SetOnChange>(L"OnChange");
  P.Property<&T::OnEditValueChanged, &T::SetOnEditValueChanged>(L"OnEditValueChanged");
  P.Property<&T::OnValidate, &T::SetOnValidate>(L"OnValidate");
}

// ---------------------------------------------------------------------------
// Start-up

void cxCheckBox_Initialize() {
  cxExtEditModuleInitialize(InitCount, &RegisterCheckBox, &UnregisterCheckBox);
}

void cxCheckBox_Finalize() { cxExtEditModuleFinalize(InitCount, &UnregisterCheckBox); }
