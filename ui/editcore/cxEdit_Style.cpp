// Editor styles and the editor style controller.
#include "WinHandles.h"
#include "cxEdit.h"

const wchar_t* const cxEditStyleValueNameA[cxEditStyleValueCount - cxContainerStyleValueCount] = {
    L"ButtonStyle",     L"ButtonTransparency", L"PopupBorderStyle",
    L"GradientButtons", L"Gradient",           L"GradientDirection"};

// ---------------------------------------------------------------------------
// TcxCustomEditStyle
IMPLEMENT_CLASS(TcxCustomEditStyle)

TcxCustomEditStyle::TcxCustomEditStyle(TPersistent* AOwner, bool ADirectAccessMode,
                                       TcxContainerStyle* AParentStyle,
                                       TcxContainerStateItem AState)
    : TcxContainerStyle(AOwner, ADirectAccessMode, AParentStyle, AState) {}

template <class T>
bool TcxCustomEditStyle::InternalGet(TcxContainerStyleValue V, T TcxCustomEditStyle::*AField,
                                     T& AValue, Integer ADepth) {
  if (FAssignedValues.Contains(V)) {
    AValue = this->*AField;
    return true;
  }
  // The controller chain is kept free of loops when it is built; the bound
  // only guards a chain built around that check.
  if (ADepth >= 64) return false;
  TcxStyleController* C = GetActiveStyleController();
  auto* S = C ? dynamic_cast<TcxCustomEditStyle*>(C->GetInternalStyle(State())) : nullptr;
  return S && S != this && S->InternalGet(V, AField, AValue, ADepth + 1);
}

template <class T>
T TcxCustomEditStyle::Resolve(TcxContainerStyleValue V, T TcxCustomEditStyle::*AField,
                              T (TcxCustomEditStyle::*ADefault)()) {
  if (DirectAccessMode()) return FAssignedValues.Contains(V) ? this->*AField : (this->*ADefault)();
  T AValue;
  return InternalGet(V, AField, AValue) ? AValue : (this->*ADefault)();
}

template <class T>
void TcxCustomEditStyle::SetValue(TcxContainerStyleValue V, T TcxCustomEditStyle::*AField,
                                  T Value) {
  if (FAssignedValues.Contains(V) && this->*AField == Value) return;
  this->*AField = Value;
  FAssignedValues.Include(V);
  Changed();
}

TcxEditButtonStyle TcxCustomEditStyle::GetButtonStyle() {
  return Resolve(svButtonStyle, &TcxCustomEditStyle::FButtonStyle,
                 &TcxCustomEditStyle::DefaultButtonStyle);
}
TcxEditButtonTransparency TcxCustomEditStyle::GetButtonTransparency() {
  return Resolve(svButtonTransparency, &TcxCustomEditStyle::FButtonTransparency,
                 &TcxCustomEditStyle::DefaultButtonTransparency);
}
bool TcxCustomEditStyle::GetGradient() {
  return Resolve(svGradient, &TcxCustomEditStyle::FGradient, &TcxCustomEditStyle::DefaultGradient);
}
bool TcxCustomEditStyle::GetGradientButtons() {
  return Resolve(svGradientButtons, &TcxCustomEditStyle::FGradientButtons,
                 &TcxCustomEditStyle::DefaultGradientButtons);
}
TcxEditGradientDirection TcxCustomEditStyle::GetGradientDirection() {
  return Resolve(svGradientDirection, &TcxCustomEditStyle::FGradientDirection,
                 &TcxCustomEditStyle::DefaultGradientDirection);
}
TcxEditPopupBorderStyle TcxCustomEditStyle::GetPopupBorderStyle() {
  return Resolve(svPopupBorderStyle, &TcxCustomEditStyle::FPopupBorderStyle,
                 &TcxCustomEditStyle::DefaultPopupBorderStyle);
}
bool TcxCustomEditStyle::GetPopupCloseButton() { return GetEditBaseStyle()->FPopupCloseButton; }

// Button style is the one editor value a state style holds itself; the
// others live in the base style for every state.
void TcxCustomEditStyle::SetButtonStyle(TcxEditButtonStyle Value) {
  SetValue(svButtonStyle, &TcxCustomEditStyle::FButtonStyle, Value);
}
void TcxCustomEditStyle::SetButtonTransparency(TcxEditButtonTransparency Value) {
  if (!IsBaseStyle()) return GetEditBaseStyle()->SetButtonTransparency(Value);
  SetValue(svButtonTransparency, &TcxCustomEditStyle::FButtonTransparency, Value);
}
void TcxCustomEditStyle::SetGradient(bool Value) {
  if (!IsBaseStyle()) return GetEditBaseStyle()->SetGradient(Value);
  SetValue(svGradient, &TcxCustomEditStyle::FGradient, Value);
}
void TcxCustomEditStyle::SetGradientButtons(bool Value) {
  if (!IsBaseStyle()) return GetEditBaseStyle()->SetGradientButtons(Value);
  SetValue(svGradientButtons, &TcxCustomEditStyle::FGradientButtons, Value);
}
void TcxCustomEditStyle::SetGradientDirection(TcxEditGradientDirection Value) {
  // Outside the subrange there is no direction to draw towards.
  if (Value == dirNone) return;
  if (!IsBaseStyle()) return GetEditBaseStyle()->SetGradientDirection(Value);
  SetValue(svGradientDirection, &TcxCustomEditStyle::FGradientDirection, Value);
}
void TcxCustomEditStyle::SetPopupBorderStyle(TcxEditPopupBorderStyle Value) {
  if (!IsBaseStyle()) return GetEditBaseStyle()->SetPopupBorderStyle(Value);
  SetValue(svPopupBorderStyle, &TcxCustomEditStyle::FPopupBorderStyle, Value);
}
void TcxCustomEditStyle::SetPopupCloseButton(bool Value) {
  TcxCustomEditStyle* B = GetEditBaseStyle();
  if (B->FPopupCloseButton == Value) return;
  B->FPopupCloseButton = Value;
  B->Changed();
}

void TcxCustomEditStyle::Init(const TcxViewParams& AParams) {
  BeginUpdate();
  auto AEnd = Finally([this] { EndUpdate(); });
  SetColor(AParams.Color);
  SetFont(AParams.Font);
  SetTextColor(AParams.TextColor);
}

bool TcxCustomEditStyle::InternalGetButtonStyle(TcxEditButtonStyle& AValue) {
  return InternalGet(svButtonStyle, &TcxCustomEditStyle::FButtonStyle, AValue);
}
bool TcxCustomEditStyle::InternalGetButtonTransparency(TcxEditButtonTransparency& AValue) {
  return InternalGet(svButtonTransparency, &TcxCustomEditStyle::FButtonTransparency, AValue);
}
bool TcxCustomEditStyle::InternalGetGradient(bool& AValue) {
  return InternalGet(svGradient, &TcxCustomEditStyle::FGradient, AValue);
}
bool TcxCustomEditStyle::InternalGetGradientButtons(bool& AValue) {
  return InternalGet(svGradientButtons, &TcxCustomEditStyle::FGradientButtons, AValue);
}
bool TcxCustomEditStyle::InternalGetGradientDirection(TcxEditGradientDirection& AValue) {
  return InternalGet(svGradientDirection, &TcxCustomEditStyle::FGradientDirection, AValue);
}
bool TcxCustomEditStyle::InternalGetPopupBorderStyle(TcxEditPopupBorderStyle& AValue) {
  return InternalGet(svPopupBorderStyle, &TcxCustomEditStyle::FPopupBorderStyle, AValue);
}

// A state style with nothing assigned looks like its base style.
TcxEditButtonStyle TcxCustomEditStyle::DefaultButtonStyle() {
  return IsBaseStyle() ? btsDefault : GetEditBaseStyle()->GetButtonStyle();
}
TcxEditButtonTransparency TcxCustomEditStyle::DefaultButtonTransparency() {
  return IsBaseStyle() ? ebtNone : GetEditBaseStyle()->GetButtonTransparency();
}
bool TcxCustomEditStyle::DefaultGradient() {
  return IsBaseStyle() ? false : GetEditBaseStyle()->GetGradient();
}
bool TcxCustomEditStyle::DefaultGradientButtons() {
  return IsBaseStyle() ? false : GetEditBaseStyle()->GetGradientButtons();
}
TcxEditGradientDirection TcxCustomEditStyle::DefaultGradientDirection() {
  return IsBaseStyle() ? dirDown : GetEditBaseStyle()->GetGradientDirection();
}
TcxEditPopupBorderStyle TcxCustomEditStyle::DefaultPopupBorderStyle() {
  return IsBaseStyle() ? epbsDefault : GetEditBaseStyle()->GetPopupBorderStyle();
}

bool TcxCustomEditStyle::IsValueAssigned(TcxContainerStyleValue AValue) {
  switch (static_cast<Integer>(AValue)) {
    case 10: {
      TcxEditButtonStyle V;
      return InternalGetButtonStyle(V);
    }
    case 11: {
      TcxEditButtonTransparency V;
      return InternalGetButtonTransparency(V);
    }
    case 12: {
      TcxEditPopupBorderStyle V;
      return InternalGetPopupBorderStyle(V);
    }
    case 13: {
      bool V;
      return InternalGetGradientButtons(V);
    }
    case 14: {
      bool V;
      return InternalGetGradient(V);
    }
    case 15: {
      TcxEditGradientDirection V;
      return InternalGetGradientDirection(V);
    }
    default:
      return inherited::IsValueAssigned(AValue);
  }
}

bool TcxCustomEditStyle::GetStyleValueName(Integer AValue, String& AName) {
  if (inherited::GetStyleValueName(AValue, AName)) return true;
  const bool AFound = AValue >= cxContainerStyleValueCount && AValue < cxEditStyleValueCount;
  AName = AFound ? String(cxEditStyleValueNameA[AValue - cxContainerStyleValueCount]) : String();
  return AFound;
}

TcxContainerStyleValues TcxCustomEditStyle::InternalGetNotPublishedExtendedStyleValues() {
  TcxContainerStyleValues AValues;
  for (Integer I = 0; I < cxEditStyleValueCount; ++I)
    if (0xFA78 & (1 << I)) AValues.Include(static_cast<TcxContainerStyleValue>(I));
  return AValues;
}

TcxStyleController* TcxCustomEditStyle::GetDefaultStyleController() {
  if (DirectAccessMode()) return nullptr;
  IcxContainerStyleOwner* O = ContainerOwner();
  if (!O || !O->IsInplace()) return DefaultEditStyleController();
  return nullptr;
}

void TcxCustomEditStyle::Assign(TPersistent* Source) {
  auto* S = dynamic_cast<TcxCustomEditStyle*>(Source);
  if (!S) return inherited::Assign(Source);
  BeginUpdate();
  auto AEnd = Finally([this] {
    Changed();
    EndUpdate();
  });
  FButtonStyle = S->FButtonStyle;
  FButtonTransparency = S->FButtonTransparency;
  FGradient = S->FGradient;
  FGradientButtons = S->FGradientButtons;
  FGradientDirection = S->FGradientDirection;
  FPopupBorderStyle = S->FPopupBorderStyle;
  FPopupCloseButton = S->FPopupCloseButton;
  inherited::Assign(Source);
}

// ---------------------------------------------------------------------------
// TcxEditStyle
IMPLEMENT_PUBLISHED_CLASS(TcxEditStyle) {
  using S = TcxEditStyle;
  static const wchar_t* const ButtonStyleNames[] = {L"btsDefault", L"bts3D",      L"btsFlat",
                                                    L"btsSimple",  L"btsHotFlat", L"btsUltraFlat",
                                                    L"btsOffice11"};
  static const TEnumInfo ButtonStyleInfo = MakeEnumInfo(L"TcxEditButtonStyle", ButtonStyleNames);
  static const wchar_t* const TransparencyNames[] = {L"ebtNone", L"ebtInactive", L"ebtAlways",
                                                     L"ebtHideInactive", L"ebtHideUnselected"};
  static const TEnumInfo TransparencyInfo =
      MakeEnumInfo(L"TcxEditButtonTransparency", TransparencyNames);
  static const wchar_t* const DirectionNames[] = {L"dirNone", L"dirLeft", L"dirRight", L"dirUp",
                                                  L"dirDown"};
  static const TEnumInfo DirectionInfo = MakeEnumInfo(L"TcxEditGradientDirection", DirectionNames);
  static const wchar_t* const PopupBorderNames[] = {L"epbsDefault", L"epbsSingle", L"epbsFrame3D",
                                                    L"epbsFlat"};
  static const TEnumInfo PopupBorderInfo =
      MakeEnumInfo(L"TcxEditPopupBorderStyle", PopupBorderNames);
  static const wchar_t* const BorderStyleNames[] = {
      L"ebsNone", L"ebsSingle", L"ebsThick", L"ebsFlat", L"ebs3D", L"ebsUltraFlat", L"ebsOffice11"};
  static const TEnumInfo BorderStyleInfo = MakeEnumInfo(L"TcxEditBorderStyle", BorderStyleNames);
  // The assigned values of all sixteen, read and set but never stored: each
  // value's own stored rule writes what is assigned.
  static const wchar_t* const ValueNames[] = {L"svBorderColor",
                                              L"svBorderStyle",
                                              L"svColor",
                                              L"svEdges",
                                              L"svFont",
                                              L"svHotTrack",
                                              L"svShadow",
                                              L"svTextColor",
                                              L"svTextStyle",
                                              L"svTransparentBorder",
                                              L"svButtonStyle",
                                              L"svButtonTransparency",
                                              L"svPopupBorderStyle",
                                              L"svGradientButtons",
                                              L"svGradient",
                                              L"svGradientDirection"};
  static const TEnumInfo ValueInfo = MakeEnumInfo(L"TcxEditStyleValue", ValueNames);
  P.Property<&S::GetAssignedValues, &S::SetAssignedValues>(L"AssignedValues", ValueInfo)
      .Stored(false);
  // The container's border style, under the editors' names.
  P.Property<&S::GetEditBorderStyle, &S::SetEditBorderStyle>(L"BorderStyle", BorderStyleInfo)
      .template Stored<&S::IsStored<csvBorderStyle>>();
  P.Property<&S::GetButtonStyle, &S::SetButtonStyle>(L"ButtonStyle", ButtonStyleInfo)
      .template Stored<&S::IsStored<svButtonStyle>>();
  P.Property<&S::GetButtonTransparency, &S::SetButtonTransparency>(L"ButtonTransparency",
                                                                   TransparencyInfo)
      .template Stored<&S::IsStored<svButtonTransparency>>();
  P.Property<&S::GetGradient, &S::SetGradient>(L"Gradient")
      .template Stored<&S::IsStored<svGradient>>();
  P.Property<&S::GetGradientDirection, &S::SetGradientDirection>(L"GradientDirection",
                                                                 DirectionInfo)
      .template Stored<&S::IsStored<svGradientDirection>>();
  P.Property<&S::GetPopupBorderStyle, &S::SetPopupBorderStyle>(L"PopupBorderStyle", PopupBorderInfo)
      .template Stored<&S::IsStored<svPopupBorderStyle>>();
}

// ---------------------------------------------------------------------------
// TcxEditStyleController
TcxContainerStyleClass TcxEditStyleController::GetStyleClass() {
  return &cxCreateContainerStyle<TcxEditStyle>;
}
