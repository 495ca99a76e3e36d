#include "cxContainer.h"

#include "dxDPIAwareUtils.h"

// ---------------------------------------------------------------------------
// Vocabulary

const wchar_t* const cxContainerStyleValueNameA[cxContainerStyleValueCount] = {
    L"BorderColor", L"BorderStyle", L"Color",     L"Edges",     L"Font",
    L"HotTrack",    L"Shadow",      L"TextColor", L"TextStyle", L"TransparentBorder"};

namespace {
const wchar_t* const BorderStyleNames[] = {L"cbsNone", L"cbsSingle",    L"cbsThick",   L"cbsFlat",
                                           L"cbs3D",   L"cbsUltraFlat", L"cbsOffice11"};
const wchar_t* const StyleValueNames[] = {
    L"svBorderColor", L"svBorderStyle", L"svColor",     L"svEdges",     L"svFont",
    L"svHotTrack",    L"svShadow",      L"svTextColor", L"svTextStyle", L"svTransparentBorder"};
const wchar_t* const BorderNames[] = {L"bLeft", L"bTop", L"bRight", L"bBottom"};
const wchar_t* const FontStyleNames[] = {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"};
const TEnumInfo BorderInfo = MakeEnumInfo(L"TcxBorder", BorderNames);
const TEnumInfo FontStyleInfo = MakeEnumInfo(L"TFontStyle", FontStyleNames);

// The values every style keeps on its base style only.
const TcxContainerStyleValues BaseOnlyValues{csvEdges, csvFont, csvHotTrack, csvShadow,
                                             csvTransparentBorder};

TcxStyleController* DefaultStyleController = nullptr;

// Focused and hot styles draw a heavier border than the base style's.
constexpr TcxContainerBorderStyle HighlightedBorderStyle[] = {
    cbsFlat, cbsThick, cbsThick, cbs3D, cbs3D, cbsUltraFlat, cbsOffice11};
}  // namespace

const TEnumInfo& cxContainerBorderStyleInfo() {
  static const TEnumInfo Info = MakeEnumInfo(L"TcxContainerBorderStyle", BorderStyleNames);
  return Info;
}

const TEnumInfo& cxContainerStyleValueInfo() {
  static const TEnumInfo Info = MakeEnumInfo(L"TcxContainerStyleValue", StyleValueNames);
  return Info;
}

bool InternalCompareString(const String& S1, const String& S2, bool ACaseSensitive) {
  if (ACaseSensitive)
    return CompareStringW(LOCALE_USER_DEFAULT, 0, S1.c_str(), static_cast<int>(S1.size()),
                          S2.c_str(), static_cast<int>(S2.size())) == CSTR_EQUAL;
  return AnsiUpperCase(S1) == AnsiUpperCase(S2);
}

TcxStyleController* cxContainerDefaultStyleController() { return DefaultStyleController; }

void cxSetContainerDefaultStyleController(TcxStyleController* AValue) {
  DefaultStyleController = AValue;
}

// ---------------------------------------------------------------------------
// TcxContainerStyle
IMPLEMENT_PUBLISHED_CLASS(TcxContainerStyle) {
  using S = TcxContainerStyle;
  P.Property<&S::GetBorderColor, &S::SetBorderColor>(L"BorderColor")
      .Stored<&S::IsStored<csvBorderColor>>();
  P.Property<&S::GetBorderStyle, &S::SetBorderStyle>(L"BorderStyle", cxContainerBorderStyleInfo())
      .Stored<&S::IsStored<csvBorderStyle>>();
  P.Property<&S::GetColor, &S::SetColor>(L"Color").Stored<&S::IsStored<csvColor>>();
  P.Property<&S::GetEdges, &S::SetEdges>(L"Edges", BorderInfo).Stored<&S::IsStored<csvEdges>>();
  P.Property<&S::GetFont, &S::SetFont>(L"Font").Stored<&S::IsStored<csvFont>>();
  P.Property<&S::GetHotTrack, &S::SetHotTrack>(L"HotTrack").Stored<&S::IsStored<csvHotTrack>>();
  P.Property<&S::GetLookAndFeel, &S::SetLookAndFeel>(L"LookAndFeel")
      .Stored<&S::IsLookAndFeelStored>();
  P.Property<&S::GetShadow, &S::SetShadow>(L"Shadow").Stored<&S::IsStored<csvShadow>>();
  P.Property<&S::BaseGetStyleController, &S::BaseSetStyleController>(L"StyleController")
      .Stored<&S::IsStyleControllerStored>();
  P.Property<&S::GetTextColor, &S::SetTextColor>(L"TextColor").Stored<&S::IsStored<csvTextColor>>();
  P.Property<&S::GetTextStyle, &S::SetTextStyle>(L"TextStyle", FontStyleInfo)
      .Stored<&S::IsStored<csvTextStyle>>();
  P.Property<&S::GetTransparentBorder, &S::SetTransparentBorder>(L"TransparentBorder")
      .Stored<&S::IsStored<csvTransparentBorder>>();
}

TcxContainerStyle::TcxContainerStyle(TPersistent* AOwner, bool ADirectAccessMode,
                                     TcxContainerStyle* AParentStyle, TcxContainerStateItem AState)
    : TcxInterfacedPersistent(AOwner),
      FDirectAccessMode(ADirectAccessMode),
      FParentStyle(AState != csNormal ? AParentStyle : nullptr),
      FState(AState) {
  FEdges = cxBordersAll();
  if (FDirectAccessMode) FAssignedValues = {csvColor, csvFont, csvTextColor, csvTextStyle};
}

void TcxContainerStyle::AfterConstruction() {
  inherited::AfterConstruction();
  if (IsBaseStyle() && !FDirectAccessMode) {
    FOwnedFont = MakeOwned<TFont>();
    StyleData.Font = FOwnedFont.get();
    StyleData.Font->OnChange = MakeEvent<&TcxContainerStyle::FontChanged>(this);
  }
  FVisibleFont = MakeOwned<TFont>();
  if (IsBaseStyle()) {
    FLookAndFeel = MakeOwned<TcxLookAndFeel>(this);
    FLookAndFeel->SetOnChanged(MakeEvent<&TcxContainerStyle::LookAndFeelChanged>(this));
    BaseSetStyleController(GetDefaultStyleController());
  }
}

void TcxContainerStyle::BeforeDestruction() {
  FIsDestroying = true;
  if (IsBaseStyle() && FStyleController) FStyleController->RemoveListener(this);
  FStyleController = nullptr;
  inherited::BeforeDestruction();
}

TcxContainerStyle::~TcxContainerStyle() {
  FIsDestroying = true;
  if (FStyleController) FStyleController->RemoveListener(this);
  FLookAndFeel.reset();
  FVisibleFont.reset();
  if (FOwnedFont) FOwnedFont->OnChange = TNotifyEvent();
  FOwnedFont.reset();
}

IcxContainerStyleOwner* TcxContainerStyle::ContainerOwner() {
  return dynamic_cast<IcxContainerStyleOwner*>(Owner());
}

TcxLookAndFeel* TcxContainerStyle::GetLookAndFeel() { return GetBaseStyle()->FLookAndFeel.get(); }

void TcxContainerStyle::SetLookAndFeel(TcxLookAndFeel* AValue) { GetLookAndFeel()->Assign(AValue); }

bool TcxContainerStyle::IsLookAndFeelStored() {
  return IsBaseStyle() && !GetLookAndFeel()->AssignedValues().Empty();
}

// ---------------------------------------------------------------------------
// Resolution

TcxStyleController* TcxContainerStyle::GetActiveStyleController() {
  return GetBaseStyle()->FStyleController;
}

TcxContainerStyle* TcxContainerStyle::FindAssigned(TcxContainerStyleValue V) {
  TcxContainerStyle* S = this;
  // The loop check of BaseSetStyleController keeps the chain finite; the
  // bound only protects a chain built around it.
  for (Integer ADepth = 0; S && ADepth < 64; ++ADepth) {
    if (S->FAssignedValues.Contains(V)) return S;
    TcxStyleController* C = S->GetActiveStyleController();
    S = C ? C->GetInternalStyle(S->FState) : nullptr;
  }
  return nullptr;
}

TcxContainerStyleValues TcxContainerStyle::GetAssignedValues() const {
  if (FDirectAccessMode) {
    TcxContainerStyleValues AAll;
    for (Integer I = 0; I < cxContainerStyleValueCount; ++I)
      AAll.Include(static_cast<TcxContainerStyleValue>(I));
    return AAll;
  }
  return FAssignedValues;
}

bool TcxContainerStyle::IsValueAssigned(TcxContainerStyleValue AValue) {
  return FindAssigned(AValue) != nullptr;
}

TColor TcxContainerStyle::GetBorderColor() {
  if (FDirectAccessMode) return clDefault;
  TcxContainerStyle* S = FindAssigned(csvBorderColor);
  return S ? S->FBorderColor : DefaultBorderColor();
}

TcxContainerBorderStyle TcxContainerStyle::GetBorderStyle() {
  if (FDirectAccessMode)
    return FAssignedValues.Contains(csvBorderStyle) ? FBorderStyle : DefaultBorderStyle();
  TcxContainerStyle* S = FindAssigned(csvBorderStyle);
  return S ? S->FBorderStyle : DefaultBorderStyle();
}

TColor TcxContainerStyle::GetColor() {
  if (FDirectAccessMode) return StyleData.Color;
  if (IsBaseStyle())
    if (TControl* C = ContainerOwner() ? ContainerOwner()->GetStyleOwnerControl() : nullptr)
      if (C->ParentColor() && C->Parent()) return C->Parent()->Color();
  TcxContainerStyle* S = FindAssigned(csvColor);
  return S ? S->StyleData.Color : DefaultColor();
}

TColor TcxContainerStyle::GetStyleColor() {
  if (FDirectAccessMode) return StyleData.Color;
  if (TcxContainerStyle* S = FindAssigned(csvColor)) return S->StyleData.Color;
  if (IsBaseStyle())
    if (IcxContainerStyleOwner* O = ContainerOwner()) {
      TControl* C = O->GetStyleOwnerControl();
      if (C->ParentColor() && C->Parent() && !O->IsInplace()) return C->Parent()->Color();
    }
  return DefaultColor();
}

TcxBorders TcxContainerStyle::GetEdges() {
  if (FDirectAccessMode) return TcxBorders();
  if (!IsBaseStyle()) return GetBaseStyle()->GetEdges();
  TcxContainerStyle* S = FindAssigned(csvEdges);
  return S ? S->FEdges : DefaultEdges();
}

TFont* TcxContainerStyle::GetFont() {
  if (FDirectAccessMode || IsBaseStyle()) return StyleData.Font;
  return GetBaseStyle()->GetFont();
}

bool TcxContainerStyle::GetHotTrack() {
  if (FDirectAccessMode)
    return FAssignedValues.Contains(csvHotTrack) ? FHotTrack : DefaultHotTrack();
  if (!IsBaseStyle()) return GetBaseStyle()->GetHotTrack();
  TcxContainerStyle* S = FindAssigned(csvHotTrack);
  return S ? S->FHotTrack : DefaultHotTrack();
}

bool TcxContainerStyle::GetShadow() {
  if (FDirectAccessMode) return false;
  if (!IsBaseStyle()) return GetBaseStyle()->GetShadow();
  TcxContainerStyle* S = FindAssigned(csvShadow);
  return S ? S->FShadow : DefaultShadow();
}

TColor TcxContainerStyle::GetTextColor() {
  if (FDirectAccessMode) return StyleData.FontColor;
  TcxContainerStyle* S = FindAssigned(csvTextColor);
  return S ? S->StyleData.FontColor : DefaultTextColor();
}

TFontStyles TcxContainerStyle::GetTextStyle() {
  if (FDirectAccessMode) return StyleData.Font ? StyleData.Font->Style() : TFontStyles();
  TcxContainerStyle* S = FindAssigned(csvTextStyle);
  return S ? S->FTextStyle : DefaultTextStyle();
}

bool TcxContainerStyle::GetTransparentBorder() {
  if (FDirectAccessMode) return true;
  if (!IsBaseStyle()) return GetBaseStyle()->GetTransparentBorder();
  TcxContainerStyle* S = FindAssigned(csvTransparentBorder);
  return S ? S->FTransparentBorder : DefaultTransparentBorder();
}

TFont* TcxContainerStyle::GetVisibleFont() {
  if (TFont* F = GetFont()) FVisibleFont->Assign(F);
  FVisibleFont->SetColor(GetTextColor());
  FVisibleFont->SetStyle(GetTextStyle());
  return FVisibleFont.get();
}

// ---------------------------------------------------------------------------
// Defaults

TColor TcxContainerStyle::DefaultBorderColor() {
  if (IsBaseStyle()) return clWindowFrame;
  return FState == csDisabled ? clBtnShadow : GetBaseStyle()->GetBorderColor();
}

TcxContainerBorderStyle TcxContainerStyle::DefaultBorderStyle() {
  if (IsBaseStyle()) {
    switch (GetLookAndFeel()->GetKind()) {
      case lfFlat:
        return cbsFlat;
      case lfStandard:
        return cbs3D;
      case lfOffice11:
        return cbsOffice11;
      default:
        return cbsUltraFlat;
    }
  }
  TcxContainerBorderStyle ABase = GetBaseStyle()->GetBorderStyle();
  bool AOwnRow = GetHotTrack() || FState == csDisabled;
  if (!AOwnRow || FState == csDisabled) return ABase;
  return HighlightedBorderStyle[ABase];
}

TColor TcxContainerStyle::DefaultColor() {
  IcxContainerStyleOwner* O = ContainerOwner();
  bool AOwnedByOpaqueContainer = O && !O->DefaultParentColor();
  if (IsBaseStyle()) return AOwnedByOpaqueContainer ? clWindow : clBtnFace;
  if (FState == csDisabled && AOwnedByOpaqueContainer) return clBtnFace;
  return GetBaseStyle()->GetColor();
}

TColor TcxContainerStyle::DefaultDisabledTextColor() { return clBtnShadow; }

TcxBorders TcxContainerStyle::DefaultEdges() { return cxBordersAll(); }

bool TcxContainerStyle::DefaultHotTrack() { return true; }

bool TcxContainerStyle::DefaultShadow() { return false; }

TColor TcxContainerStyle::DefaultTextColor() {
  if (IsBaseStyle()) return GetFont() ? GetFont()->Color() : clWindowText;
  if (FState == csDisabled) return DefaultDisabledTextColor();
  return GetBaseStyle()->GetTextColor();
}

TFontStyles TcxContainerStyle::DefaultTextStyle() {
  if (IsBaseStyle()) return GetFont() ? GetFont()->Style() : TFontStyles();
  return GetBaseStyle()->GetTextStyle();
}

bool TcxContainerStyle::DefaultTransparentBorder() { return true; }

TcxStyleController* TcxContainerStyle::GetDefaultStyleController() {
  return cxContainerDefaultStyleController();
}

// ---------------------------------------------------------------------------
// Setting values

// A value of the style it is set on: nothing when already assigned and equal.
void TcxContainerStyle::SetOwnValue(TcxContainerStyleValue V, auto& AField, auto AValue) {
  if (FAssignedValues.Contains(V) && AField == AValue) return;
  AField = AValue;
  FAssignedValues.Include(V);
  Changed();
}

// A value that lives on the base style: a state style forwards.
void TcxContainerStyle::SetBaseValue(TcxContainerStyleValue V, auto& AField, auto AValue) {
  if (!IsBaseStyle()) return;
  SetOwnValue(V, AField, AValue);
}

void TcxContainerStyle::SetBorderColor(TColor AValue) {
  SetOwnValue(csvBorderColor, FBorderColor, AValue);
}

void TcxContainerStyle::SetBorderStyle(TcxContainerBorderStyle AValue) {
  SetOwnValue(csvBorderStyle, FBorderStyle, AValue);
}

void TcxContainerStyle::SetColor(TColor AValue) { SetOwnValue(csvColor, StyleData.Color, AValue); }

void TcxContainerStyle::SetTextColor(TColor AValue) {
  SetOwnValue(csvTextColor, StyleData.FontColor, AValue);
}

void TcxContainerStyle::SetTextStyle(TFontStyles AValue) {
  SetOwnValue(csvTextStyle, FTextStyle, AValue);
}

void TcxContainerStyle::SetEdges(TcxBorders AValue) {
  if (!IsBaseStyle()) return GetBaseStyle()->SetEdges(AValue);
  SetBaseValue(csvEdges, FEdges, AValue);
}

void TcxContainerStyle::SetHotTrack(bool AValue) {
  if (!IsBaseStyle()) return GetBaseStyle()->SetHotTrack(AValue);
  SetBaseValue(csvHotTrack, FHotTrack, AValue);
}

void TcxContainerStyle::SetShadow(bool AValue) {
  if (!IsBaseStyle()) return GetBaseStyle()->SetShadow(AValue);
  SetBaseValue(csvShadow, FShadow, AValue);
}

void TcxContainerStyle::SetTransparentBorder(bool AValue) {
  if (!IsBaseStyle()) return GetBaseStyle()->SetTransparentBorder(AValue);
  SetBaseValue(csvTransparentBorder, FTransparentBorder, AValue);
}

void TcxContainerStyle::SetFont(TFont* AValue) {
  if (!IsBaseStyle()) return GetBaseStyle()->SetFont(AValue);
  if (FDirectAccessMode) {
    StyleData.Font = AValue;
    return;
  }
  BeginUpdate();
  auto AEnd = Finally([this] { EndUpdate(); });
  if (AValue) {
    // An exact copy: converting the height to another resolution rounds, and
    // a font passed down and back would drift by a pixel.
    StyleData.Font->SetPixelsPerInch(AValue->PixelsPerInch());
    StyleData.Font->Assign(AValue);
  }
  FAssignedValues.Include(csvFont);
  Changed();
}

void TcxContainerStyle::SetAssignedValues(TcxContainerStyleValues AValue) {
  if (FAssignedValues == AValue) return;
  FAssignedValues = AValue;
  if (IsBaseStyle()) UpdateFont();
  Changed();
}

void TcxContainerStyle::RemoveAssignedValue(TcxContainerStyleValue V) {
  if (!FAssignedValues.Contains(V)) return;
  FAssignedValues.Exclude(V);
  Changed();
}

// ---------------------------------------------------------------------------
// Change reporting

void TcxContainerStyle::BeginUpdate() { ++FUpdateCount; }

void TcxContainerStyle::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  CheckChanges();
}

void TcxContainerStyle::Changed() {
  FModified = true;
  CheckChanges();
}

void TcxContainerStyle::CheckChanges() {
  if (!FModified || FUpdateCount != 0) return;
  FModified = false;
  if (!FIsDestroying && !FDirectAccessMode && FOnChanged) FOnChanged(this);
}

void TcxContainerStyle::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { Changed(); }

// ---------------------------------------------------------------------------
// Font

void TcxContainerStyle::FontChanged(TObject*) {
  if (!IsFontAssignedValueLocked()) FAssignedValues.Include(csvFont);
  Changed();
}

void TcxContainerStyle::LockFontAssignedValue(bool ALock) {
  if (ALock)
    ++FFontAssignedValueLockCount;
  else if (FFontAssignedValueLockCount > 0)
    --FFontAssignedValueLockCount;
}

void TcxContainerStyle::UpdateFont() {
  if (!IsBaseStyle() || FDirectAccessMode || FAssignedValues.Contains(csvFont) || !StyleData.Font)
    return;
  LockFontAssignedValue(true);
  auto AUnlock = Finally([this] { LockFontAssignedValue(false); });
  TcxStyleController* AController = GetActiveStyleController();
  TcxContainerStyle* ASource =
      AController ? AController->GetStyle()->FindAssigned(csvFont) : nullptr;
  if (ASource && ASource->GetFont()) {
    // An exact copy first, then the controller's scale exchanged for the
    // owner's.
    StyleData.Font->SetPixelsPerInch(ASource->GetFont()->PixelsPerInch());
    StyleData.Font->Assign(ASource->GetFont());
    TdxScaleFactor* AFrom = AController->ScaleFactor();
    if (TdxScaleFactor* ATo = dxGetScaleFactor(Owner()); ATo && AFrom)
      StyleData.Font->ChangeScale(ATo->Numerator() * AFrom->Denominator(),
                                  ATo->Denominator() * AFrom->Numerator());
    return;
  }
  IcxContainerStyleOwner* O = ContainerOwner();
  if (!(O && O->GetStyleOwnerControl()->ParentFont())) cxResetFont(StyleData.Font);
}

void TcxContainerStyle::ControllerChangedNotification(TcxStyleController*) {
  UpdateFont();
  Changed();
}

void TcxContainerStyle::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(L"IsFontAssigned", MakeEvent<&TcxContainerStyle::ReadIsFontAssigned>(this),
                        MakeEvent<&TcxContainerStyle::WriteIsFontAssigned>(this),
                        IsValueStored(csvFont));
}

void TcxContainerStyle::ReadIsFontAssigned(TReader* AReader) {
  if (AReader->ReadBoolean()) FAssignedValues.Include(csvFont);
}

void TcxContainerStyle::WriteIsFontAssigned(TWriter* AWriter) { AWriter->WriteBoolean(true); }

// ---------------------------------------------------------------------------
// Style controller of a style

TcxStyleController* TcxContainerStyle::BaseGetStyleController() {
  TcxStyleController* C = GetBaseStyle()->FStyleController;
  return C == GetDefaultStyleController() ? nullptr : C;
}

void TcxContainerStyle::BaseSetStyleController(TcxStyleController* AValue) {
  if (!IsBaseStyle()) return GetBaseStyle()->BaseSetStyleController(AValue);
  TcxStyleController* ADefault = GetDefaultStyleController();
  if (ADefault && static_cast<TPersistent*>(ADefault) == Owner()) return;
  if (!AValue) AValue = ADefault;
  // A controller on its way out is no home for anybody, the default one
  // included: its styles then take none.
  if (AValue && AValue->IsDestruction()) AValue = nullptr;
  for (TcxStyleController* C = AValue; C;) {
    TcxContainerStyle* S = C->GetStyle();
    if (S == this) return;
    C = S->FStyleController;
    if (C == AValue) break;
  }
  if (AValue == FStyleController) return;
  if (FStyleController) FStyleController->RemoveListener(this);
  FStyleController = AValue;
  if (FStyleController) FStyleController->AddListener(this);
  ControllerChangedNotification(FStyleController);
}

void TcxContainerStyle::ControllerFreeNotification(TcxStyleController* AStyleController) {
  if (AStyleController && AStyleController == GetActiveStyleController())
    BaseSetStyleController(nullptr);
}

// ---------------------------------------------------------------------------
// Names, publishing, defaults and copying

Integer TcxContainerStyle::GetStyleValueCount() { return cxContainerStyleValueCount; }

bool TcxContainerStyle::GetStyleValueName(Integer AValue, String& AName) {
  bool AFound = AValue >= 0 && AValue < cxContainerStyleValueCount;
  AName = AFound ? String(cxContainerStyleValueNameA[AValue]) : String();
  return AFound;
}

bool TcxContainerStyle::GetStyleValue(const String& APropertyName, Integer& AValue) {
  String AName;
  for (Integer I = 0; I < GetStyleValueCount(); ++I)
    if (GetStyleValueName(I, AName) && InternalCompareString(AName, APropertyName, false)) {
      AValue = I;
      return true;
    }
  return false;
}

bool TcxContainerStyle::HasBorder() { return IsBaseStyle() || GetBaseStyle()->HasBorder(); }

TcxContainerStyleValues TcxContainerStyle::InternalGetNotPublishedExtendedStyleValues() {
  return BaseOnlyValues;
}

bool TcxContainerStyle::IsExtendedStylePropertyPublished(const String& APropertyName) {
  if (InternalCompareString(APropertyName, L"LookAndFeel", false) ||
      InternalCompareString(APropertyName, L"StyleController", false))
    return false;
  Integer AValue;
  if (GetStyleValue(APropertyName, AValue))
    return !InternalGetNotPublishedExtendedStyleValues().Contains(
        static_cast<TcxContainerStyleValue>(AValue));
  return true;
}

bool TcxContainerStyle::IsValueStored(TcxContainerStyleValue AValue) {
  if (FDirectAccessMode || !FAssignedValues.Contains(AValue)) return false;
  String AName;
  GetStyleValueName(AValue, AName);
  if (IcxContainerStyleOwner* O = ContainerOwner())
    return O->IsStylePropertyPublished(AName, FState != csNormal);
  return IsBaseStyle() || IsExtendedStylePropertyPublished(AName);
}

void TcxContainerStyle::RestoreDefaults() {
  BeginUpdate();
  auto AEnd = Finally([this] { EndUpdate(); });
  FAssignedValues = TcxContainerStyleValues();
  Changed();
  if (!IsBaseStyle()) return;
  GetLookAndFeel()->Reset();
  IcxContainerStyleOwner* O = ContainerOwner();
  if (O) {
    O->GetStyleOwnerControl()->SetParentColor(false);
    O->GetStyleOwnerControl()->SetParentFont(true);
  } else if (!FDirectAccessMode && StyleData.Font) {
    LockFontAssignedValue(true);
    auto AUnlock = Finally([this] { LockFontAssignedValue(false); });
    cxResetFont(StyleData.Font);
  }
  if (O && O->DefaultParentColor()) {
    TcxStyleController* C = GetActiveStyleController();
    if (!(C && C->GetStyle()->FAssignedValues.Contains(csvColor)))
      O->GetStyleOwnerControl()->SetParentColor(true);
  }
}

void TcxContainerStyle::Assign(TPersistent* Source) {
  auto* ASource = dynamic_cast<TcxContainerStyle*>(Source);
  if (!ASource) return inherited::Assign(Source);
  BeginUpdate();
  auto AEnd = Finally([this] { EndUpdate(); });
  if (IsBaseStyle()) {
    BaseSetStyleController(ASource->BaseGetStyleController());
    if (ASource->GetLookAndFeel()) GetLookAndFeel()->Assign(ASource->GetLookAndFeel());
  }
  FBorderColor = ASource->FBorderColor;
  FBorderStyle = ASource->FBorderStyle;
  FEdges = ASource->FEdges;
  FHotTrack = ASource->FHotTrack;
  FShadow = ASource->FShadow;
  FTransparentBorder = ASource->FTransparentBorder;
  StyleData.Color = ASource->StyleData.Color;
  if (FDirectAccessMode) {
    StyleData.Font = ASource->GetFont();
    StyleData.FontColor = ASource->GetTextColor();
  } else {
    if (StyleData.Font && ASource->GetFont()) {
      LockFontAssignedValue(true);
      auto AUnlock = Finally([this] { LockFontAssignedValue(false); });
      StyleData.Font->Assign(ASource->GetFont());
      if (ASource->FDirectAccessMode) StyleData.Font->SetColor(ASource->GetTextColor());
    }
    StyleData.FontColor = ASource->GetTextColor();
    FTextStyle = ASource->GetTextStyle();
  }
  FAssignedValues = ASource->FAssignedValues;
  Changed();
}

// ---------------------------------------------------------------------------
// TcxContainerStyles
IMPLEMENT_CLASS(TcxContainerStyles)

TcxContainerStyles::TcxContainerStyles(TPersistent* AOwner, TcxContainerStyleClass AStyleClass) {
  FStyles[csNormal] = AStyleClass(AOwner, false, nullptr, csNormal);
  for (TcxContainerStateItem AState : {csActive, csDisabled, csHotTrack})
    FStyles[AState] = AStyleClass(AOwner, false, FStyles[csNormal], AState);
}

TcxContainerStyles::~TcxContainerStyles() {
  // State styles first: they refer to the normal one.
  for (TcxContainerStateItem AState : {csHotTrack, csDisabled, csActive, csNormal})
    FreeAndNil(FStyles[AState]);
}

void TcxContainerStyles::SetStyle(TcxContainerStateItem AState, TcxContainerStyle* AValue) {
  FStyles[AState]->Assign(AValue);
}

void TcxContainerStyles::RestoreDefaults() {
  for (TcxContainerStyle* S : FStyles) S->RestoreDefaults();
}

void TcxContainerStyles::SetOnChanged(const TNotifyEvent& AHandler) {
  for (TcxContainerStyle* S : FStyles) S->SetOnChanged(AHandler);
}

// ---------------------------------------------------------------------------
// TcxStyleController
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxStyleController) {
  using C = TcxStyleController;
  P.Property<&C::GetFakeStyleController, &C::SetFakeStyleController>(L"FakeStyleController")
      .Stored(false);
  P.Property<&C::GetStyle, &C::SetStyle>(L"Style");
  P.Property<&C::StyleDisabled, &C::SetStyleDisabled>(L"StyleDisabled");
  P.Property<&C::StyleFocused, &C::SetStyleFocused>(L"StyleFocused");
  P.Property<&C::StyleHot, &C::SetStyleHot>(L"StyleHot");
  P.Property<&C::OnStyleChanged, &C::SetOnStyleChanged>(L"OnStyleChanged");
}

TcxStyleController::TcxStyleController(TComponent* AOwner) : TcxScalableComponent(AOwner) {}

void TcxStyleController::AfterConstruction() {
  inherited::AfterConstruction();
  FStyles.reset(GetStylesClass()(this, GetStyleClass()));
  FStyles->SetOnChanged(MakeEvent<&TcxStyleController::StyleChanged>(this));
}

void TcxStyleController::BeforeDestruction() {
  FIsDestruction = true;
  inherited::BeforeDestruction();
}

TcxStyleController::~TcxStyleController() {
  FIsDestruction = true;
  // Each listener leaves the list as it falls back to the default.
  for (size_t I = FListeners.size(); I > 0; I = std::min(I - 1, FListeners.size()))
    FListeners[I - 1]->ControllerFreeNotification(this);
  FListeners.clear();
  if (cxContainerDefaultStyleController() == this) cxSetContainerDefaultStyleController(nullptr);
  FStyles.reset();
}

TcxContainerStyleClass TcxStyleController::GetStyleClass() {
  return &cxCreateContainerStyle<TcxContainerStyle>;
}

TcxContainerStylesClass TcxStyleController::GetStylesClass() {
  return &cxCreateContainerStyles<TcxContainerStyles>;
}

bool TcxStyleController::HasListener(TcxContainerStyle* AStyle) const {
  return std::find(FListeners.begin(), FListeners.end(), AStyle) != FListeners.end();
}

void TcxStyleController::AddListener(TcxContainerStyle* AStyle) {
  if (!AStyle || HasListener(AStyle)) return;
  FListeners.push_back(AStyle);
  if (FStyles) AStyle->GetLookAndFeel()->SetMasterLookAndFeel(GetStyle()->GetLookAndFeel());
}

void TcxStyleController::RemoveListener(TcxContainerStyle* AStyle) {
  auto It = std::find(FListeners.begin(), FListeners.end(), AStyle);
  if (It == FListeners.end()) return;
  FListeners.erase(It);
  if (TcxLookAndFeel* L = AStyle->GetLookAndFeel()) L->SetMasterLookAndFeel(nullptr);
}

void TcxStyleController::Changed() {
  if (FOnStyleChanged) FOnStyleChanged(this);
  if (FIsDestruction) return;
  // A listener may leave while it is told; the index re-checks the list.
  for (size_t I = 0; I < FListeners.size(); ++I) FListeners[I]->ControllerChangedNotification(this);
}

void TcxStyleController::StyleChanged(TObject*) { Changed(); }

void TcxStyleController::Loaded() {
  inherited::Loaded();
  Changed();
}

void STDMETHODCALLTYPE TcxStyleController::ChangeScale(Integer M, Integer D) {
  inherited::ChangeScale(M, D);
  for (TcxContainerStateItem AState : {csNormal, csActive, csDisabled, csHotTrack}) {
    TcxContainerStyle* S = GetInternalStyle(AState);
    if (S->GetAssignedValues().Contains(csvFont) && S->GetFont()) S->GetFont()->ChangeScale(M, D);
  }
}

void TcxStyleController::RestoreStyles() { FStyles->RestoreDefaults(); }

void TcxStyleController::SetInternalStyle(TcxContainerStateItem AState, TcxContainerStyle* AValue) {
  FStyles->SetStyle(AState, AValue);
}

TcxStyleController* TcxStyleController::GetFakeStyleController() const {
  return GetStyle()->BaseGetStyleController();
}
