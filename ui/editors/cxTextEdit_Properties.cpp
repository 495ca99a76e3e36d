// The text editor's settings: letter case, password echo, formats, lookup
// items, the conversions between edit value, display value and painted
// text, validation against lookup items and value bounds, and the number-text
// helpers the numeric editors share.
#include <cfloat>
#include <cmath>

#include "FMTBcd.h"
#include "cxEditConsts.h"
#include "cxTextEdit.h"
#include "dxThemeManager.h"

namespace {

const wchar_t* const EchoModeNames[] = {L"eemNormal", L"eemPassword"};
const wchar_t* const CharCaseNames[] = {L"ecNormal", L"ecUpperCase", L"ecLowerCase"};
const wchar_t* const ImeModeNames[] = {L"imDisable", L"imClose",   L"imOpen",     L"imDontCare",
                                       L"imSAlpha",  L"imAlpha",   L"imHira",     L"imSKata",
                                       L"imKata",    L"imChinese", L"imSHanguel", L"imHanguel"};
const wchar_t* const ViewStyleNames[] = {L"vsNormal", L"vsHideCursor", L"vsButtonsOnly",
                                         L"vsButtonsAutoWidth"};
const wchar_t* const FilteringOptionNames[] = {L"ifoHighlightSearchText",
                                               L"ifoUseContainsOperator"};
const wchar_t* const HorzNames[] = {L"taLeftJustify", L"taRightJustify", L"taCenter"};
const TEnumInfo HorzInfo = MakeEnumInfo(L"TAlignment", HorzNames);
const wchar_t* const LeftRightNames[] = {L"taLeftJustify", L"taRightJustify"};
const TEnumInfo LeftRightInfo = MakeEnumInfo(L"TLeftRight", LeftRightNames);
const wchar_t* const ValidationOptionNames[] = {L"evoRaiseException", L"evoShowErrorIcon",
                                                L"evoAllowLoseFocus"};
const TEnumInfo ValidationOptionInfo =
    MakeEnumInfo(L"TcxEditValidationOption", ValidationOptionNames);

constexpr Integer cxDefaultPrecision = 15;

TcxCustomEditDefaultValuesProvider* ProviderObject(IcxEditDefaultValuesProvider* AProvider) {
  return dynamic_cast<TcxCustomEditDefaultValuesProvider*>(AProvider);
}

String CheckCharsRegister(const String& AText, TEditCharCase ACharCase) {
  switch (ACharCase) {
    case ecUpperCase:
      return AnsiUpperCase(AText);
    case ecLowerCase:
      return AnsiLowerCase(AText);
    case ecNormal:
      break;
  }
  return AText;
}

}  // namespace

const TEnumInfo& cxEditEchoModeInfo() {
  static const TEnumInfo Info = MakeEnumInfo(L"TcxEditEchoMode", EchoModeNames);
  return Info;
}
const TEnumInfo& cxEditCharCaseInfo() {
  static const TEnumInfo Info = MakeEnumInfo(L"TEditCharCase", CharCaseNames);
  return Info;
}
const TEnumInfo& cxImeModeInfo() {
  static const TEnumInfo Info = MakeEnumInfo(L"TImeMode", ImeModeNames);
  return Info;
}
const TEnumInfo& cxTextEditViewStyleInfo() {
  static const TEnumInfo Info = MakeEnumInfo(L"TcxTextEditViewStyle", ViewStyleNames);
  return Info;
}
const TEnumInfo& cxTextEditIncrementalFilteringOptionInfo() {
  static const TEnumInfo Info =
      MakeEnumInfo(L"TcxTextEditIncrementalFilteringOption", FilteringOptionNames);
  return Info;
}

// ---------------------------------------------------------------------------
// Number text

void RemoveThousandSeparator(String& S) {
  const Char Separator = FormatSettings().ThousandSeparator;
  if (Separator == 0) return;
  std::erase(S, Separator);
}

String RemoveExponentialPart(String& S) {
  const size_t P = S.find_first_of(L"eE");
  if (P == String::npos) return String();
  String Exponent = S.substr(P);
  S.erase(P);
  return Exponent;
}

void InsertThousandSeparator(String& S) {
  const Char Separator = FormatSettings().ThousandSeparator;
  const size_t First = S.find_first_not_of(L' ');
  if (First == String::npos || Separator == 0) return;
  const size_t Last = S.find_last_not_of(L' ');
  const String Leading = S.substr(0, First);
  const String Trailing = S.substr(Last + 1);
  String Number = S.substr(First, Last - First + 1);
  const String Exponent = RemoveExponentialPart(Number);
  RemoveThousandSeparator(Number);
  // Group the digits left of the decimal separator, walking from its left
  // neighbour while digits continue.
  size_t Decimal = Number.find(FormatSettings().DecimalSeparator);
  size_t I = Decimal == String::npos ? Number.size() : Decimal;
  Integer Digits = 0;
  while (I > 0 && iswdigit(Number[I - 1])) {
    --I;
    if (++Digits % 3 == 0 && I > 0 && iswdigit(Number[I - 1])) Number.insert(I, 1, Separator);
  }
  S = Leading + Number + Exponent + Trailing;
}

bool StrToFloatEx(String S, Double& Value) {
  RemoveThousandSeparator(S);
  Double Number = 0;
  if (TryStrToFloat(S, Number, FormatSettings())) {
    const Double Magnitude = std::fabs(Number);
    if (Number == 0 || (Magnitude >= DBL_MIN && Magnitude <= DBL_MAX)) {
      Value = Number;
      return true;
    }
  }
  Value = 0;
  return S.empty();
}

Char GetWindowsPasswordChar(bool ANativeStyle, Char APasswordChar) {
  if (APasswordChar != 0) return APasswordChar;
  if (ANativeStyle && IsWinSevenOrLater && AreVisualStylesAvailable()) return 0x25CF;
  return L'*';
}

// ---------------------------------------------------------------------------
// TcxTextEditPropertiesValues
IMPLEMENT_PUBLISHED_CLASS(TcxTextEditPropertiesValues) {
  using V = TcxTextEditPropertiesValues;
  P.Property<&V::GetDisplayFormat, &V::SetDisplayFormat>(L"DisplayFormat")
      .template Stored<&V::IsDisplayFormatStored>();
  P.Property<&V::GetEditFormat, &V::SetEditFormat>(L"EditFormat")
      .template Stored<&V::IsEditFormatStored>();
  P.Property<&V::GetMaxLength, &V::SetMaxLength>(L"MaxLength").Stored(false);
  P.Property<&V::GetMaxValue, &V::SetMaxValue>(L"MaxValue").template Stored<&V::IsMaxValueStored>();
  P.Property<&V::GetMinValue, &V::SetMinValue>(L"MinValue").template Stored<&V::IsMinValueStored>();
}

void TcxTextEditPropertiesValues::ValuesChanged() {
  if (TcxCustomEditProperties* P = GetProperties()) P->Changed();
}

void TcxTextEditPropertiesValues::SetDisplayFormat(bool Value) {
  if (FDisplayFormat == Value) return;
  FDisplayFormat = Value;
  ValuesChanged();
}

void TcxTextEditPropertiesValues::SetEditFormat(bool Value) {
  if (FEditFormat == Value) return;
  FEditFormat = Value;
  ValuesChanged();
}

void TcxTextEditPropertiesValues::SetMaxLength(bool Value) {
  if (FMaxLength == Value) return;
  FMaxLength = Value;
  if (auto* P = dynamic_cast<TcxCustomTextEditProperties*>(GetProperties())) P->MaxLengthChanged();
}

void TcxTextEditPropertiesValues::Assign(TPersistent* Source) {
  auto* V = dynamic_cast<TcxTextEditPropertiesValues*>(Source);
  if (!V) return inherited::Assign(Source);
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(); });
  inherited::Assign(Source);
  SetDisplayFormat(V->FDisplayFormat);
  SetEditFormat(V->FEditFormat);
  SetMaxLength(V->FMaxLength);
}

void TcxTextEditPropertiesValues::RestoreDefaults() {
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(); });
  inherited::RestoreDefaults();
  SetDisplayFormat(false);
  SetEditFormat(false);
  SetMaxLength(false);
}

// A non-empty assigned format is streamed by the properties themselves; the
// flag carries only an assigned empty one.
bool TcxTextEditPropertiesValues::IsFormatStored(bool AFlag, const wchar_t* APropertyName) {
  auto* P = dynamic_cast<TcxCustomTextEditProperties*>(GetProperties());
  if (!AFlag || !P || !GetPropInfo(P, APropertyName)) return false;
  const TPropInfo* Info = GetPropInfo(P, APropertyName);
  return Info->Kind == tkString && GetStrProp(P, Info).empty();
}

bool TcxTextEditPropertiesValues::IsDisplayFormatStored() {
  return IsFormatStored(FDisplayFormat, L"DisplayFormat");
}

bool TcxTextEditPropertiesValues::IsEditFormatStored() {
  return IsFormatStored(FEditFormat, L"EditFormat");
}

// ---------------------------------------------------------------------------
// TcxCustomTextEditProperties
IMPLEMENT_CLASS(TcxCustomTextEditProperties)

TcxCustomTextEditProperties::TcxCustomTextEditProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner) {}

TcxCustomTextEditProperties::~TcxCustomTextEditProperties() = default;

void TcxCustomTextEditProperties::AfterConstruction() {
  inherited::AfterConstruction();
  FIncrementalFilteringOptions = GetDefaultIncrementalFilteringOptions();
  FLookupItems = MakeOwned<TStringList>();
  FLookupItems->SetDuplicates(dupAccept);
  FLookupItems->OnChange = MakeEvent<&TcxCustomTextEditProperties::LookupItemsChanged>(this);
  if (TcxFormatController* Controller = cxFormatController()) {
    Controller->AddListener(this);
    FListening = true;
  }
}

void TcxCustomTextEditProperties::BeforeDestruction() {
  if (FListening) {
    if (TcxFormatController* Controller = cxFormatController()) Controller->RemoveListener(this);
    FListening = false;
  }
  if (FLookupItems) FLookupItems->OnChange = TNotifyEvent();
  inherited::BeforeDestruction();
}

HRESULT STDMETHODCALLTYPE TcxCustomTextEditProperties::QueryInterface(REFIID AIID, void** AObj) {
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxCustomTextEditProperties::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IcxFormatControllerListener))) {
    *AObj = static_cast<IcxFormatControllerListener*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

void STDMETHODCALLTYPE TcxCustomTextEditProperties::FormatChanged() {
  FFormatChanging = true;
  TScopeExit Guard([this] { FFormatChanging = false; });
  Changed();
}

void TcxCustomTextEditProperties::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(L"IsDisplayFormatAssigned",
                        MakeEvent<&TcxCustomTextEditProperties::ReadIsDisplayFormatAssigned>(this),
                        TWriterProc(), false);
}

void TcxCustomTextEditProperties::ReadIsDisplayFormatAssigned(TReader* Reader) {
  GetAssignedValues()->SetDisplayFormat(Reader->ReadBoolean());
}

TcxCustomEditPropertiesValuesClass TcxCustomTextEditProperties::GetAssignedValuesClass() {
  return [](TPersistent* AOwner) -> TcxCustomEditPropertiesValues* {
    return Create<TcxTextEditPropertiesValues>(AOwner);
  };
}

void TcxCustomTextEditProperties::AlignmentChangedHandler(TObject* Sender) {
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(); });
  inherited::AlignmentChangedHandler(Sender);
}

void TcxCustomTextEditProperties::BaseSetAlignment(TcxEditAlignment* Value) {
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(); });
  inherited::BaseSetAlignment(Value);
}

void TcxCustomTextEditProperties::DoAssign(TcxCustomEditProperties* AProperties) {
  inherited::DoAssign(AProperties);
  auto* Source = dynamic_cast<TcxCustomTextEditProperties*>(AProperties);
  if (!Source) return;
  SetCharCase(Source->FCharCase);
  SetEchoMode(Source->FEchoMode);
  SetFixedListSelection(Source->FFixedListSelection);
  SetHideCursor(Source->FHideCursor);
  SetHideSelection(Source->FHideSelection);
  FImmediateUpdateText = Source->FImmediateUpdateText;
  SetIncrementalSearch(Source->FIncrementalSearch);
  FIncrementalFiltering = Source->FIncrementalFiltering;
  SetIncrementalFilteringOptions(Source->FIncrementalFilteringOptions);
  SetMRUMode(Source->FMRUMode);
  SetUseNullString(Source->FUseNullString);
  SetNullstring(Source->FNullstring);
  FValidChars = Source->FValidChars;
  // The source's order first, then its sorting, so an unsorted source keeps
  // its order.
  SetLookupItemsSorted(false);
  FLookupItems->Assign(Source->FLookupItems.get());
  SetLookupItemsSorted(Source->GetLookupItemsSorted());
  TcxTextEditPropertiesValues* Own = GetAssignedValues();
  TcxTextEditPropertiesValues* Other = Source->GetAssignedValues();
  Own->SetDisplayFormat(false);
  if (Other->GetDisplayFormat()) SetDisplayFormat(Source->FDisplayFormat);
  Own->SetEditFormat(false);
  if (Other->GetEditFormat()) SetEditFormat(Source->FEditFormat);
  Own->SetMaxLength(false);
  if (Other->GetMaxLength()) SetMaxLength(Source->FMaxLength);
  SetOEMConvert(Source->FOEMConvert);
  SetImeMode(Source->FImeMode);
  SetImeName(Source->FImeName);
  SetPasswordChar(Source->FPasswordChar);
  SetUseDisplayFormatWhenEditing(Source->FUseDisplayFormatWhenEditing);
  FOnNewLookupDisplayText = Source->FOnNewLookupDisplayText;
}

// Settings ------------------------------------------------------------------

void TcxCustomTextEditProperties::SetCharCase(TEditCharCase Value) { SetField(FCharCase, Value); }

void TcxCustomTextEditProperties::SetFixedListSelection(bool Value) {
  if (FFixedListSelection == Value) return;
  FFixedListSelection = Value;
  if (GetEditingStyle() == esFixedList) Changed();
}

String TcxCustomTextEditProperties::GetDisplayFormat() {
  if (GetAssignedValues()->GetDisplayFormat()) return FDisplayFormat;
  if (auto* Provider = ProviderObject(GetIDefaultValuesProvider())) {
    String Format = Provider->DefaultDisplayFormat();
    if (!Format.empty()) return Format;
  }
  return GetDefaultDisplayFormat();
}

void TcxCustomTextEditProperties::SetDisplayFormat(String Value) {
  if (GetAssignedValues()->GetDisplayFormat() && Value == FDisplayFormat) return;
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(); });
  GetAssignedValues()->SetDisplayFormat(true);
  FDisplayFormat = std::move(Value);
  Changed();
}

String TcxCustomTextEditProperties::GetEditFormat() {
  bool IsCurrency = false, IsOnGetTextAssigned = false;
  return InternalGetEditFormat(IsCurrency, IsOnGetTextAssigned, nullptr);
}

void TcxCustomTextEditProperties::SetEditFormat(String Value) {
  if (GetAssignedValues()->GetEditFormat() && Value == FEditFormat) return;
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(); });
  GetAssignedValues()->SetEditFormat(true);
  FEditFormat = std::move(Value);
  Changed();
}

Integer TcxCustomTextEditProperties::GetDefaultMaxLength() {
  auto* Provider = ProviderObject(GetIDefaultValuesProvider());
  return Provider ? Provider->DefaultMaxLength() : 0;
}

Integer TcxCustomTextEditProperties::GetMaxLength() {
  return GetAssignedValues()->GetMaxLength() ? FMaxLength : GetDefaultMaxLength();
}

void TcxCustomTextEditProperties::SetMaxLength(Integer Value) {
  if (Value < 0) Value = 0;
  if (GetAssignedValues()->GetMaxLength() && Value == FMaxLength) return;
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(); });
  FMaxLength = Value;
  GetAssignedValues()->SetMaxLength(true);
  MaxLengthChanged();
}

void TcxCustomTextEditProperties::SetLookupItems(TStringList* Value) {
  FLookupItems->Assign(Value);
}

TcxTextEditViewStyle TcxCustomTextEditProperties::GetViewStyle() {
  switch (GetButtonsViewStyle()) {
    case bvsButtonsOnly:
      return vsButtonsOnly;
    case bvsButtonsAutoWidth:
      return vsButtonsAutoWidth;
    case bvsNormal:
      break;
  }
  return FHideCursor ? vsHideCursor : vsNormal;
}

void TcxCustomTextEditProperties::SetViewStyle(TcxTextEditViewStyle Value) {
  if (Value == GetViewStyle()) return;
  static constexpr TcxEditButtonsViewStyle ButtonsViewStyleMap[] = {
      bvsNormal, bvsNormal, bvsButtonsOnly, bvsButtonsAutoWidth};
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(); });
  SetButtonsViewStyle(ButtonsViewStyleMap[Value]);
  SetHideCursor(Value != vsNormal);
}

// Answers ---------------------------------------------------------------------

TClass TcxCustomTextEditProperties::GetLookupDataClass() {
  return TcxCustomTextEditLookupData::StaticClass();
}

bool TcxCustomTextEditProperties::UseSearchControl() {
  const TcxEditEditingStyle Style = GetEditingStyle();
  return !IsLookupEdit() && FIncrementalFiltering && (Style == esEditList || Style == esFixedList);
}

bool TcxCustomTextEditProperties::CanIncrementalSearch() {
  const TcxEditEditingStyle Style = GetEditingStyle();
  return (Style == esEdit && FIncrementalSearch) || Style == esEditList || Style == esFixedList;
}

TcxEditEditValueSource TcxCustomTextEditProperties::GetEditValueSource(bool AEditFocused) {
  if (AEditFocused || !FUseNullString) return evsText;
  return inherited::GetEditValueSource(AEditFocused);
}

String TcxCustomTextEditProperties::GetValidateErrorText(TcxEditErrorKind AErrorKind) {
  if (AErrorKind == ekValueOutOfBounds) return cxGetResourceString(&cxSEditValueOutOfBounds);
  return inherited::GetValidateErrorText(AErrorKind);
}

TcxEditSupportedOperations TcxCustomTextEditProperties::GetSupportedOperations() {
  TcxEditSupportedOperations Result = inherited::GetSupportedOperations();
  Result += TcxEditSupportedOperations{esoAutoHeight,    esoEditing,   esoFiltering,
                                       esoHorzAlignment, esoIncSearch, esoSorting};
  if (GetButtons()->Count() == 0 && FEchoMode == eemNormal) Result.Include(esoEditingAutoHeight);
  return Result;
}

TcxCustomEditClass TcxCustomTextEditProperties::GetContainerClass() {
  return inherited::GetContainerClass();
}

TcxCustomEditViewDataClass TcxCustomTextEditProperties::GetViewDataClass() {
  return &cxCreateEditViewData<TcxCustomTextEditViewData>;
}

TcxContainerViewInfoClass TcxCustomTextEditProperties::GetViewInfoClass() {
  return []() -> TcxContainerViewInfo* { return Create<TcxCustomTextEditViewInfo>(); };
}

// Display values and text -----------------------------------------------------

String TcxCustomTextEditProperties::GetDisplayText(const Variant& AEditValue, bool,
                                                   bool AIsInplace) {
  String Text;
  if (IsValueFormattedByProvider()) {
    Text = VarToStr(AEditValue);
  } else {
    const bool Focused = !AIsInplace && !IsEditValueConversionDependOnFocused();
    Text = VarToStr(GetDefaultDisplayValue(AEditValue, Focused));
  }
  DisplayValueToDisplayText(Text);
  return Text;
}

Variant TcxCustomTextEditProperties::GetDefaultDisplayValue(const Variant& AEditValue,
                                                            bool AEditFocused) {
  Variant Value = AEditValue;
  Variant Result;
  if (IsEditValueValid(Value, AEditFocused))
    PrepareDisplayValue(Value, Result, AEditFocused);
  else if (VarIsDate(AEditValue))
    Result = DateTimeToStr(AEditValue.AsDouble(), FormatSettings());
  else
    Result = VarToStr(AEditValue);
  return Result;
}

void TcxCustomTextEditProperties::PrepareDisplayValue(const Variant& AEditValue,
                                                      Variant& DisplayValue, bool AEditFocused) {
  if (IsEditValueEmpty(AEditValue) && FUseNullString && !AEditFocused && !IsDesigning())
    DisplayValue = FNullstring;
  else
    DoPrepareDisplayValue(AEditValue, DisplayValue, AEditFocused);
}

void TcxCustomTextEditProperties::DoPrepareDisplayValue(const Variant& AEditValue,
                                                        Variant& DisplayValue, bool AEditFocused) {
  if (!IsEditValueNumeric()) {
    // Null and empty values read as empty text: the ANSI road would raise
    // for them, and an editor without a value is the commonest case.
    if (VarIsArray(AEditValue))
      DisplayValue = VarArrayDimCount(AEditValue) == 1 ? dxVariantToString(AEditValue) : String();
    else
      DisplayValue = VarToStr(AEditValue);
    return;
  }
  if (VarIsSoftNull(AEditValue)) {
    DisplayValue = String();
    return;
  }
  if (!VarIsNumericEx(AEditValue) && !VarIsStr(AEditValue))
    throw EConvertError(cxGetResourceString(&cxSEditNumericValueConvertError));
  DisplayValue = FormatNumber(AEditValue, AEditFocused);
}

Variant TcxCustomTextEditProperties::FormatNumber(const Variant& AEditValue, bool AEditFocused) {
  const String Text = VarToStr(AEditValue);
  if (!AEditFocused) {
    const String Format = GetDisplayFormat();
    if (Format.empty()) return Text;
    return FormatFloat(Format, AEditValue.AsDouble(), FormatSettings());
  }
  bool IsCurrency = false, IsOnGetTextAssigned = false;
  const String EditFormat = InternalGetEditFormat(IsCurrency, IsOnGetTextAssigned, nullptr);
  auto* Provider = ProviderObject(GetIDefaultValuesProvider());
  const Integer Precision = Provider ? Provider->DefaultPrecision() : cxDefaultPrecision;
  TBcd Bcd{};
  if (IsOnGetTextAssigned) {
    if (!TryStrToBcd(Text, Bcd, FormatSettings())) return Text;
    return FloatToStrF(BcdToDouble(Bcd), ffFixed, Precision, FormatSettings().CurrencyDecimals,
                       FormatSettings());
  }
  if (EditFormat.empty()) {
    String Result = Text;
    if (TryStrToBcd(Text, Bcd, FormatSettings()))
      Result = FloatToStrF(BcdToDouble(Bcd), ffGeneral, Precision, 0, FormatSettings());
    if (HasDigitGrouping(false)) InsertThousandSeparator(Result);
    return Result;
  }
  return FormatFloat(EditFormat, AEditValue.AsDouble(), FormatSettings());
}

void TcxCustomTextEditProperties::DisplayValueToDisplayText(String& AText) {
  if (FEchoMode == eemNormal && FCharCase != ecNormal) AText = CheckCharsRegister(AText, FCharCase);
}

void TcxCustomTextEditProperties::DoDisplayValueToDisplayText(String& AText, bool ANativeStyle) {
  if (FEchoMode == eemPassword)
    AText = String(AText.size(), GetWindowsPasswordChar(ANativeStyle, FPasswordChar));
  DisplayValueToDisplayText(AText);
}

String TcxCustomTextEditProperties::InternalGetEditFormat(bool& AIsCurrency,
                                                          bool& AIsOnGetTextAssigned,
                                                          TcxCustomEdit* AEdit) {
  AIsCurrency = false;
  AIsOnGetTextAssigned = false;
  if (GetAssignedValues()->GetEditFormat()) return FEditFormat;
  auto* Provider = ProviderObject(GetIDefaultValuesProvider());
  if (!AEdit || !AEdit->IsInplace())
    AIsOnGetTextAssigned = Provider && Provider->IsOnGetTextAssigned();
  if (Provider && !Provider->DefaultEditFormat().empty()) return Provider->DefaultEditFormat();
  String Result;
  if (GetAssignedValues()->GetDisplayFormat())
    Result = FDisplayFormat;
  else if (Provider && !Provider->DefaultDisplayFormat().empty())
    Result = Provider->DefaultDisplayFormat();
  else if (!GetDefaultDisplayFormat().empty())
    Result = GetDefaultDisplayFormat();
  else if (Provider)
    AIsCurrency = !GetDisplayFormatOptions().Contains(dfoNoCurrencyValue) && Provider->IsCurrency();
  if (!FUseDisplayFormatWhenEditing) Result.clear();
  return Result;
}

bool TcxCustomTextEditProperties::CompareDisplayValues(const Variant& AEditValue1,
                                                       const Variant& AEditValue2) {
  return AnsiCompareStr(GetDisplayText(AEditValue1, true, true),
                        GetDisplayText(AEditValue2, true, true)) == 0;
}

// Validation ------------------------------------------------------------------

bool TcxCustomTextEditProperties::FindLookupText(const String& AText) {
  const String Upper = AnsiUpperCase(AText);
  for (Integer I = 0; I < FLookupItems->Count(); ++I)
    if (AnsiUpperCase(FLookupItems->Strings(I)) == Upper) return true;
  return false;
}

bool TcxCustomTextEditProperties::IsDisplayValueValid(Variant& ADisplayValue, bool) {
  const String Text = VarToStr(ADisplayValue);
  const TcxEditEditingStyle Style = GetEditingStyle();
  const bool Valid = Text.empty() || !(Style == esEditList || Style == esFixedList) ||
                     !UseLookupData() || FindLookupText(Text);
  if (Valid) ADisplayValue = CheckCharsRegister(Text, FCharCase);
  return Valid;
}

bool TcxCustomTextEditProperties::IsEditValueValid(Variant& EditValue, bool AEditFocused) {
  if (VarIsNull(EditValue) || !VarIsStr(EditValue)) return true;
  return IsDisplayValueValid(EditValue, AEditFocused);
}

bool TcxCustomTextEditProperties::IsValueBoundDefined(TcxEditValueBound ABound) {
  TcxCustomEditPropertiesValues* Values = TcxCustomEditProperties::GetAssignedValues();
  if (Values->GetMinValue() == Values->GetMaxValue()) return GetMaxValue() > GetMinValue();
  return ABound == evbMin ? Values->GetMinValue() : Values->GetMaxValue();
}

bool TcxCustomTextEditProperties::IsValueBoundsDefined() {
  return IsValueBoundDefined(evbMin) || IsValueBoundDefined(evbMax);
}

bool TcxCustomTextEditProperties::IsNumberValueInBounds(Double AValue) {
  if (IsValueBoundDefined(evbMin) && AValue < GetMinValue()) return false;
  if (IsValueBoundDefined(evbMax) && AValue > GetMaxValue()) return false;
  return true;
}

void TcxCustomTextEditProperties::CheckEditValueBounds(const Variant& AEditValue,
                                                       String& AErrorText, bool& AError,
                                                       TcxCustomEdit*) {
  if (!VarIsNumericEx(AEditValue) && !VarIsDate(AEditValue)) return;
  if (IsNumberValueInBounds(AEditValue.AsDouble())) return;
  AError = true;
  AErrorText = GetValidateErrorText(ekValueOutOfBounds);
}

void TcxCustomTextEditProperties::CheckDisplayValueBounds(const Variant& ADisplayValue,
                                                          String& AErrorText, bool& AError,
                                                          TcxCustomEdit* AEdit) {
  Variant EditValue = ADisplayValue;
  if (AEdit) AEdit->PrepareEditValue(ADisplayValue, EditValue, AEdit->Focused());
  CheckEditValueBounds(EditValue, AErrorText, AError, AEdit);
}

void TcxCustomTextEditProperties::ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText,
                                                       bool& AError, TcxCustomEdit* AEdit) {
  if (IsEditValueNumeric() && IsValueBoundsDefined())
    CheckDisplayValueBounds(ADisplayValue, AErrorText, AError, AEdit);
  inherited::ValidateDisplayValue(ADisplayValue, AErrorText, AError, AEdit);
}

// ---------------------------------------------------------------------------
// TcxTextEditProperties
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxTextEditProperties) {
  using T = TcxTextEditProperties;
  P.Property<&T::GetAlignment, &T::SetAlignment>(L"Alignment")
      .template Stored<&T::IsAlignmentStored>();
  P.Property<&T::GetAssignedValues, &T::SetAssignedValues>(L"AssignedValues");
  P.Property<&T::GetAutoSelect, &T::SetAutoSelect>(L"AutoSelect").Default(true);
  P.Property<&T::GetBeepOnError, &T::SetBeepOnError>(L"BeepOnError").Default(false);
  P.Property<&T::GetCharCase, &T::SetCharCase>(L"CharCase", cxEditCharCaseInfo()).Default(ecNormal);
  P.Property<&T::GetClearKey, &T::SetClearKey>(L"ClearKey").Default(0);
  P.Property<&T::GetEchoMode, &T::SetEchoMode>(L"EchoMode", cxEditEchoModeInfo())
      .Default(eemNormal);
  P.Property<&T::GetHideSelection, &T::SetHideSelection>(L"HideSelection").Default(true);
  P.Property<&T::GetImeMode, &T::SetImeMode>(L"ImeMode", cxImeModeInfo()).Default(imDontCare);
  P.Property<&T::GetImeName, &T::SetImeName>(L"ImeName");
  P.Property<&T::GetIncrementalSearch, &T::SetIncrementalSearch>(L"IncrementalSearch")
      .Default(true);
  P.Property<&T::GetLookupItems, &T::SetLookupItems>(L"LookupItems");
  P.Property<&T::GetLookupItemsSorted, &T::SetLookupItemsSorted>(L"LookupItemsSorted")
      .Default(false);
  P.Property<&T::GetMaxLength, &T::SetMaxLength>(L"MaxLength")
      .template Stored<&T::IsMaxLengthStored>();
  P.Property<&T::GetNullstring, &T::SetNullstring>(L"Nullstring");
  P.Property<&T::GetOEMConvert, &T::SetOEMConvert>(L"OEMConvert").Default(false);
  P.Property<&T::GetPasswordChar, &T::SetPasswordChar>(L"PasswordChar").Default(0);
  P.Property<&T::PublishedReadOnly, &T::SetReadOnly>(L"ReadOnly")
      .template Stored<&T::IsReadOnlyStored>();
  P.Property<&T::GetUseLeftAlignmentOnEditing, &T::SetUseLeftAlignmentOnEditing>(
       L"UseLeftAlignmentOnEditing")
      .template Stored<&T::IsUseLeftAlignmentOnEditingStored>();
  P.Property<&T::GetUseNullString, &T::SetUseNullString>(L"UseNullString").Default(false);
  P.Property<&T::GetValidateOnEnter, &T::SetValidateOnEnter>(L"ValidateOnEnter").Default(false);
  P.Property<&T::GetValidationErrorIconAlignment, &T::SetValidationErrorIconAlignment>(
       L"ValidationErrorIconAlignment", LeftRightInfo)
      .Default(taLeftJustify);
  P.Property<&T::GetValidationOptions, &T::SetValidationOptions>(L"ValidationOptions",
                                                                 ValidationOptionInfo)
      .Default(TcxEditValidationOptions{evoRaiseException});
  P.Property<&T::OnChange, &T::SetOnChange>(L"OnChange");
  P.Property<&T::OnEditValueChanged, &T::SetOnEditValueChanged>(L"OnEditValueChanged");
  P.Property<&T::OnNewLookupDisplayText, &T::SetOnNewLookupDisplayText>(L"OnNewLookupDisplayText");
  P.Property<&T::OnValidate, &T::SetOnValidate>(L"OnValidate");
}
