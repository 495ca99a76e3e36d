#include "cxLabel.h"

#include "cxExtEditConsts.h"
#include "cxExtEditUtils.h"

namespace {

const wchar_t* const LabelEffectNames[] = {L"cxleNormal", L"cxleFun", L"cxleExtrude", L"cxleCool"};
const TEnumInfo LabelEffectInfo = MakeEnumInfo(L"TcxLabelEffect", LabelEffectNames);
const wchar_t* const LabelStyleNames[] = {L"cxlsNormal", L"cxlsRaised", L"cxlsLowered",
                                          L"cxlsOutLine"};
const TEnumInfo LabelStyleInfo = MakeEnumInfo(L"TcxLabelStyle", LabelStyleNames);
const wchar_t* const OrientationNames[] = {L"cxoLeft",     L"cxoRight",      L"cxoTop",
                                           L"cxoBottom",   L"cxoLeftTop",    L"cxoLeftBottom",
                                           L"cxoRightTop", L"cxoRightBottom"};
const TEnumInfo OrientationInfo = MakeEnumInfo(L"TcxLabelOrientation", OrientationNames);
const wchar_t* const LineAlignmentNames[] = {L"cxllaTop", L"cxllaCenter", L"cxllaBottom"};
const TEnumInfo LineAlignmentInfo = MakeEnumInfo(L"TcxLabelLineAlignment", LineAlignmentNames);

Integer InitCount = 0;

void RegisterLabel() {
  cxRegisterEditProperties(TcxLabelProperties::StaticClass(), &scxSEditRepositoryLabelItem);
}

void UnregisterLabel() { cxUnregisterEditProperties(TcxLabelProperties::StaticClass()); }

}  // namespace

Integer GetRealTextAngle(Integer AAngle, bool AIsTrueType) {
  return AIsTrueType ? ((AAngle % 360) + 360) % 360 : 0;
}

Integer PrepareTextFlag(TAlignment AHorzAlignment, TcxEditVertAlignment AVertAlignment,
                        bool AShowEndEllipsis, bool AWordWrap, bool AShowAccelChar) {
  static const Integer Horz[] = {cxAlignLeft, cxAlignRight, cxAlignHCenter};
  static const Integer Vert[] = {cxAlignTop, cxAlignBottom, cxAlignVCenter};
  return Horz[AHorzAlignment] | Vert[AVertAlignment] | (AShowEndEllipsis ? cxShowEndEllipsis : 0) |
         (AWordWrap ? cxWordBreak : 0) | (AShowAccelChar ? cxShowPrefix : 0);
}

// ---------------------------------------------------------------------------
// TcxLabelLineOptions
IMPLEMENT_PUBLISHED_CLASS(TcxLabelLineOptions) {
  using L = TcxLabelLineOptions;
  P.Property<&L::GetAlignment, &L::SetAlignment>(L"Alignment", LineAlignmentInfo)
      .Default(cxllaCenter);
  P.Property<&L::GetInnerColor, &L::SetInnerColor>(L"InnerColor")
      .Default(clDefault)
      .Idents(&IdentToColor, &ColorToIdent);
  P.Property<&L::GetOuterColor, &L::SetOuterColor>(L"OuterColor")
      .Default(clDefault)
      .Idents(&IdentToColor, &ColorToIdent);
  P.Property<&L::GetVisible, &L::SetVisible>(L"Visible").Default(false);
}

template <class T>
void TcxLabelLineOptions::SetField(T& AField, const T& Value) {
  if (AField == Value) return;
  AField = Value;
  Changed();
}

void TcxLabelLineOptions::SetAlignment(TcxLabelLineAlignment Value) { SetField(FAlignment, Value); }
void TcxLabelLineOptions::SetInnerColor(TColor Value) { SetField(FInnerColor, Value); }
void TcxLabelLineOptions::SetOuterColor(TColor Value) { SetField(FOuterColor, Value); }
void TcxLabelLineOptions::SetVisible(bool Value) { SetField(FVisible, Value); }

void TcxLabelLineOptions::Changed() {
  if (FOnChanged) FOnChanged(this);
}

void TcxLabelLineOptions::Assign(TPersistent* Source) {
  auto* L = AsOrNull<TcxLabelLineOptions>(Source);
  if (!L) return inherited::Assign(Source);
  FVisible = L->FVisible;
  FAlignment = L->FAlignment;
  FInnerColor = L->FInnerColor;
  FOuterColor = L->FOuterColor;
  Changed();
}

// ---------------------------------------------------------------------------
// TcxLabelEditStyle
IMPLEMENT_CLASS(TcxLabelEditStyle)

TcxContainerBorderStyle TcxLabelEditStyle::DefaultBorderStyle() {
  return IsBaseStyle() ? cbsNone : inherited::DefaultBorderStyle();
}

// ---------------------------------------------------------------------------
// TcxCustomLabelProperties
IMPLEMENT_CLASS(TcxCustomLabelProperties)

TcxCustomLabelProperties::TcxCustomLabelProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner) {}

TcxCustomLabelProperties::~TcxCustomLabelProperties() {
  FGlyph.reset();
  FLineOptions.reset();
}

void TcxCustomLabelProperties::AfterConstruction() {
  inherited::AfterConstruction();
  FLineOptions = MakeOwned<TcxLabelLineOptions>();
  FLineOptions->SetOnChanged(MakeEvent<&TcxCustomLabelProperties::ChangeHandler>(this));
  FGlyph = MakeOwned<TdxSmartGlyph>();
  FGlyph->OnChange = MakeEvent<&TcxCustomLabelProperties::ChangeHandler>(this);
}

void TcxCustomLabelProperties::SetAngle(Integer Value) { SetField(FAngle, Value); }
void TcxCustomLabelProperties::SetDepth(Word Value) { SetField(FDepth, Value); }
void TcxCustomLabelProperties::SetLabelEffect(TcxLabelEffect Value) {
  SetField(FLabelEffect, Value);
}
void TcxCustomLabelProperties::SetLabelStyle(TcxLabelStyle Value) { SetField(FLabelStyle, Value); }
void TcxCustomLabelProperties::SetOrientation(TcxLabelOrientation Value) {
  SetField(FOrientation, Value);
}
void TcxCustomLabelProperties::SetPenWidth(Integer Value) { SetField(FPenWidth, Value); }
void TcxCustomLabelProperties::SetShadowedColor(TColor Value) { SetField(FShadowedColor, Value); }
void TcxCustomLabelProperties::SetShowAccelChar(bool Value) { SetField(FShowAccelChar, Value); }
void TcxCustomLabelProperties::SetShowEndEllipsis(bool Value) { SetField(FShowEndEllipsis, Value); }
void TcxCustomLabelProperties::SetWordWrap(bool Value) { SetField(FWordWrap, Value); }
void TcxCustomLabelProperties::SetGlyph(TdxSmartGlyph* Value) { FGlyph->Assign(Value); }
void TcxCustomLabelProperties::SetLineOptions(TcxLabelLineOptions* Value) {
  FLineOptions->Assign(Value);
}

TcxContainerStyleClass TcxCustomLabelProperties::GetStyleClass() {
  return &cxCreateContainerStyle<TcxLabelEditStyle>;
}

void TcxCustomLabelProperties::PrepareDisplayValue(const Variant& AEditValue, Variant& DisplayValue,
                                                   bool) {
  DisplayValue = Variant(VarToStr(AEditValue));
}

String TcxCustomLabelProperties::GetDisplayText(const Variant& AEditValue, bool, bool) {
  Variant DisplayValue;
  PrepareDisplayValue(AEditValue, DisplayValue, false);
  return VarToStr(DisplayValue);
}

void TcxCustomLabelProperties::CalculateDepthDelta(TSize& ADepthDelta) {
  ADepthDelta = TSize{0, 0};
  if (!HasEffects()) return;
  switch (FOrientation) {
    case cxoLeft:
    case cxoRight:
      ADepthDelta = TSize{FDepth, 0};
      break;
    case cxoTop:
    case cxoBottom:
      ADepthDelta = TSize{0, FDepth};
      break;
    default:
      ADepthDelta = TSize{FDepth, FDepth};
      break;
  }
}

void TcxCustomLabelProperties::ChangeScale(Integer M, Integer D) {
  inherited::ChangeScale(M, D);
  SetDepth(static_cast<Word>(MulDiv(FDepth, M, D)));
}

void TcxCustomLabelProperties::DoAssign(TcxCustomEditProperties* AProperties) {
  inherited::DoAssign(AProperties);
  auto* Source = AsOrNull<TcxCustomLabelProperties>(AProperties);
  if (!Source) return;
  SetLabelEffect(Source->FLabelEffect);
  SetLabelStyle(Source->FLabelStyle);
  SetOrientation(Source->FOrientation);
  SetDepth(static_cast<Word>(GetScaleFactor()->Apply(Source->FDepth, Source->GetScaleFactor())));
  SetShadowedColor(Source->FShadowedColor);
  SetShowEndEllipsis(Source->FShowEndEllipsis);
  SetAngle(Source->FAngle);
  SetPenWidth(Source->FPenWidth);
  SetGlyph(Source->FGlyph.get());
  SetShowAccelChar(Source->FShowAccelChar);
  SetWordWrap(Source->FWordWrap);
  SetLineOptions(Source->FLineOptions.get());
}

// ---------------------------------------------------------------------------
// TcxLabelProperties
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxLabelProperties) {
  using T = TcxLabelProperties;
  P.Property<&T::GetAlignment, &T::SetAlignment>(L"Alignment")
      .template Stored<&T::IsAlignmentStored>();
  P.Property<&T::GetAngle, &T::SetAngle>(L"Angle").Default(0);
  P.Property<&T::GetDepth, &T::SetDepth>(L"Depth").Default(0);
  P.Property<&T::GetGlyph, &T::SetGlyph>(L"Glyph");
  P.Property<&T::GetLabelEffect, &T::SetLabelEffect>(L"LabelEffect", LabelEffectInfo)
      .Default(cxleNormal);
  P.Property<&T::GetLabelStyle, &T::SetLabelStyle>(L"LabelStyle", LabelStyleInfo)
      .Default(cxlsNormal);
  P.Property<&T::GetLineOptions, &T::SetLineOptions>(L"LineOptions");
  P.Property<&T::GetOrientation, &T::SetOrientation>(L"Orientation", OrientationInfo)
      .Default(cxoRightBottom);
  P.Property<&T::GetPenWidth, &T::SetPenWidth>(L"PenWidth").Default(1);
  P.Property<&T::GetShadowedColor, &T::SetShadowedColor>(L"ShadowedColor")
      .Default(clGrayText)
      .Idents(&IdentToColor, &ColorToIdent);
  P.Property<&T::GetShowAccelChar, &T::SetShowAccelChar>(L"ShowAccelChar").Default(true);
  P.Property<&T::GetShowEndEllipsis, &T::SetShowEndEllipsis>(L"ShowEndEllipsis").Default(false);
  P.Property<&T::GetTransparent, &T::SetTransparent>(L"Transparent").Stored(false);
  P.Property<&T::GetWordWrap, &T::SetWordWrap>(L"WordWrap").Default(false);
}

// ---------------------------------------------------------------------------
// Start-up

void cxLabel_Initialize() {
  cxExtEditModuleInitialize(InitCount, &RegisterLabel, &UnregisterLabel);
}

void cxLabel_Finalize() { cxExtEditModuleFinalize(InitCount, &UnregisterLabel); }
