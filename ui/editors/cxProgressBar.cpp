#include "cxProgressBar.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "cxExtEditConsts.h"
#include "cxExtEditUtils.h"

namespace {

const wchar_t* const BarStyleNames[] = {L"cxbsSolid",        L"cxbsLEDs",         L"cxbsGradient",
                                        L"cxbsGradientLEDs", L"cxbsBitmap",       L"cxbsBitmapLEDs",
                                        L"cxbsAnimation",    L"cxbsAnimationLEDs"};
const TEnumInfo BarStyleInfo = MakeEnumInfo(L"TcxProgressBarBarStyle", BarStyleNames);
const wchar_t* const TextStyleNames[] = {L"cxtsPercent", L"cxtsPosition", L"cxtsText"};
const TEnumInfo TextStyleInfo = MakeEnumInfo(L"TcxProgressBarTextStyle", TextStyleNames);
const wchar_t* const AnimationPathNames[] = {L"cxapCycle", L"cxapPingPong"};
const TEnumInfo AnimationPathInfo =
    MakeEnumInfo(L"TcxProgressBarAnimationPath", AnimationPathNames);
const wchar_t* const BevelOuterNames[] = {L"cxbvNone", L"cxbvLowered", L"cxbvRaised"};
const TEnumInfo BevelOuterInfo = MakeEnumInfo(L"TcxProgressBarBevelOuter", BevelOuterNames);
const wchar_t* const OrientationNames[] = {L"cxorHorizontal", L"cxorVertical"};
const TEnumInfo OrientationInfo = MakeEnumInfo(L"TcxProgressBarOrientation", OrientationNames);

Integer InitCount = 0;

void RegisterProgressBar() {
  cxRegisterEditProperties(TcxProgressBarProperties::StaticClass(),
                           &scxSEditRepositoryProgressBarItem);
  // Forms carry the control.
  RegisterClasses({TcxProgressBar::StaticClass()});
}

void UnregisterProgressBar() {
  UnRegisterClass(TcxProgressBar::StaticClass());
  cxUnregisterEditProperties(TcxProgressBarProperties::StaticClass());
}

}  // namespace

// ---------------------------------------------------------------------------
// Display text

Integer cxProgressBarPercent(Double APosition, Double AMin, Double AMax, bool AMarquee) {
  const Double Diff = AMax == AMin ? 1 : AMax - AMin;
  const Double Done = AMarquee ? AMax : APosition - AMin;
  Double Percent = Done * 100 / Diff;
  // Clamped before the integer conversion: a position far beyond the range
  // (possible when Max <= Min leaves it unclamped) must not overflow.
  if (std::isnan(Percent)) return 0;
  Percent = std::clamp(Percent, static_cast<Double>(std::numeric_limits<Integer>::min()), 100.0);
  return static_cast<Integer>(Round(Percent));
}

String cxProgressBarDrawText(Double APosition, Double AMin, Double AMax, bool AMarquee,
                             TcxProgressBarTextStyle AStyle, const String& AText) {
  if (AMarquee) return AText;
  switch (AStyle) {
    case cxtsPercent:
      return IntToStr(cxProgressBarPercent(APosition, AMin, AMax, false)) + L" %";
    case cxtsPosition:
      return FloatToStr(APosition);
    case cxtsText:
      break;
  }
  return AText;
}

// ---------------------------------------------------------------------------
// TcxProgressBarPropertiesValues
IMPLEMENT_PUBLISHED_CLASS(TcxProgressBarPropertiesValues) {
  using V = TcxProgressBarPropertiesValues;
  P.Property<&V::GetMaxValue, &V::SetMaxValue>(L"Max").template Stored<&V::IsMaxStored>();
  P.Property<&V::GetMinValue, &V::SetMinValue>(L"Min").template Stored<&V::IsMinStored>();
}

bool TcxProgressBarPropertiesValues::IsMaxStored() {
  auto* P = AsOrNull<TcxCustomProgressBarProperties>(GetProperties());
  return GetMaxValue() && P && P->GetMax() == 0;
}

bool TcxProgressBarPropertiesValues::IsMinStored() {
  auto* P = AsOrNull<TcxCustomProgressBarProperties>(GetProperties());
  return GetMinValue() && P && P->GetMin() == 0;
}

// ---------------------------------------------------------------------------
// TcxCustomProgressBarProperties
IMPLEMENT_CLASS(TcxCustomProgressBarProperties)

TcxCustomProgressBarProperties::TcxCustomProgressBarProperties(TPersistent* AOwner)
    : TcxCustomEditProperties(AOwner) {}

TcxCustomProgressBarProperties::~TcxCustomProgressBarProperties() = default;

void TcxCustomProgressBarProperties::AfterConstruction() {
  inherited::AfterConstruction();
  FForegroundImage = MakeOwned<TBitmap>();
  FForegroundImage->OnChange =
      MakeEvent<&TcxCustomProgressBarProperties::ForegroundImageChanged>(this);
}

// The form writer leaves out a float property of 0, which would read back
// as the default 80; the published name is written here instead and read
// back as the published property.
void TcxCustomProgressBarProperties::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(L"OverloadValue", TReaderProc(),
                        MakeEvent<&TcxCustomProgressBarProperties::WriteZeroOverloadValue>(this),
                        FOverloadValue == 0);
}

void TcxCustomProgressBarProperties::WriteZeroOverloadValue(TWriter* Writer) {
  Writer->WriteDouble(FOverloadValue);
}

TcxCustomEditPropertiesValuesClass TcxCustomProgressBarProperties::GetAssignedValuesClass() {
  return [](TPersistent* AOwner) -> TcxCustomEditPropertiesValues* {
    return Create<TcxProgressBarPropertiesValues>(AOwner);
  };
}

Double TcxCustomProgressBarProperties::GetMaxValue() {
  return GetAssignedValues()->GetMaxValue() ? inherited::GetMaxValue() : 100;
}

Double TcxCustomProgressBarProperties::GetMinValue() {
  return GetAssignedValues()->GetMinValue() ? inherited::GetMinValue() : 0;
}

void TcxCustomProgressBarProperties::SetMax(Double Value) {
  SetMaxValue(Value);
  PostMaxValue();
}

void TcxCustomProgressBarProperties::SetMin(Double Value) {
  SetMinValue(Value);
  PostMinValue();
}

// The marks follow the range silently: the range change itself reports.
void TcxCustomProgressBarProperties::PostMaxValue() {
  if (GetMax() < GetMin()) SetMin(GetMax());
  if (FOverloadValue > GetMax()) FOverloadValue = GetMax();
  if (FPeakValue > GetMax()) FPeakValue = GetMax();
}

void TcxCustomProgressBarProperties::PostMinValue() {
  if (GetMax() < GetMin()) SetMax(GetMin());
  if (FOverloadValue < GetMin()) FOverloadValue = GetMin();
  if (FPeakValue < GetMin()) FPeakValue = GetMin();
}

void TcxCustomProgressBarProperties::SetAnimationPath(TcxProgressBarAnimationPath Value) {
  SetField(FAnimationPath, Value);
}
void TcxCustomProgressBarProperties::SetAnimationRestartDelay(Cardinal Value) {
  SetField(FAnimationRestartDelay, Value);
}
void TcxCustomProgressBarProperties::SetAnimationSpeed(TcxProgressBarAnimationSpeed Value) {
  SetField(FAnimationSpeed, std::min(Value, cxProgressBarMaxAnimationSpeed));
}
void TcxCustomProgressBarProperties::SetBarBevelOuter(TcxProgressBarBevelOuter Value) {
  SetField(FBarBevelOuter, Value);
}
void TcxCustomProgressBarProperties::SetBeginColor(TColor Value) { SetField(FBeginColor, Value); }
void TcxCustomProgressBarProperties::SetBorderWidth(TcxBorderWidth Value) {
  SetField(FBorderWidth, Value);
}
void TcxCustomProgressBarProperties::SetEndColor(TColor Value) { SetField(FEndColor, Value); }
void TcxCustomProgressBarProperties::SetOrientation(TcxProgressBarOrientation Value) {
  SetField(FOrientation, Value);
}
void TcxCustomProgressBarProperties::SetOverloadBeginColor(TColor Value) {
  SetField(FOverloadBeginColor, Value);
}
void TcxCustomProgressBarProperties::SetOverloadEndColor(TColor Value) {
  SetField(FOverloadEndColor, Value);
}
void TcxCustomProgressBarProperties::SetPeakColor(TColor Value) { SetField(FPeakColor, Value); }
void TcxCustomProgressBarProperties::SetPeakSize(TcxNaturalNumber Value) {
  SetField(FPeakSize, std::max(Value, 1));
}
void TcxCustomProgressBarProperties::SetPeakValue(Double Value) { SetField(FPeakValue, Value); }
void TcxCustomProgressBarProperties::SetShowOverload(bool Value) { SetField(FShowOverload, Value); }
void TcxCustomProgressBarProperties::SetShowPeak(bool Value) { SetField(FShowPeak, Value); }
void TcxCustomProgressBarProperties::SetShowText(bool Value) { SetField(FShowText, Value); }
void TcxCustomProgressBarProperties::SetSolidTextColor(bool Value) {
  SetField(FSolidTextColor, Value);
}
void TcxCustomProgressBarProperties::SetTextOrientation(TcxProgressBarOrientation Value) {
  SetField(FTextOrientation, Value);
}
void TcxCustomProgressBarProperties::SetTransparentImage(bool Value) {
  SetField(FTransparentImage, Value);
}

void TcxCustomProgressBarProperties::SetBarStyle(TcxProgressBarBarStyle Value) {
  if (FBarStyle == Value) return;
  FBarStyle = Value;
  if (cxIsAnimationStyle(Value)) FBeginColor = cxProgressBarVistaColor;
  Changed();
}

void TcxCustomProgressBarProperties::SetForegroundImage(TBitmap* Value) {
  FForegroundImage->Assign(Value);
}

void TcxCustomProgressBarProperties::ForegroundImageChanged(TObject*) {
  FIsForegroundImageChanged = true;
  Changed();
}

// The text style that marquee or a text forces goes out with the change
// itself, as one notification.
void TcxCustomProgressBarProperties::SetMarquee(bool Value) {
  if (FMarquee == Value) return;
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(true); });
  FMarquee = Value;
  if (Value) SetShowTextStyle(cxtsText);
  Changed();
}

void TcxCustomProgressBarProperties::SetOverloadValue(Double Value) {
  if (FOverloadValue == Value) return;
  FOverloadValue = std::min(std::max(Value, GetMin()), GetMax());
  Changed();
}

// While marquee is on, the bar shows its text and nothing else.
void TcxCustomProgressBarProperties::SetShowTextStyle(TcxProgressBarTextStyle Value) {
  if (FShowTextStyle == Value || (FMarquee && Value != cxtsText)) return;
  FShowTextStyle = Value;
  Changed();
}

void TcxCustomProgressBarProperties::SetText(const String& Value) {
  if (FText == Value) return;
  BeginUpdate();
  TScopeExit Guard([this] { EndUpdate(true); });
  FText = Value;
  if (!Value.empty()) SetShowTextStyle(cxtsText);
  Changed();
}

void TcxCustomProgressBarProperties::ChangeScale(Integer M, Integer D) {
  inherited::ChangeScale(M, D);
  FPeakSize = std::max(MulDiv(FPeakSize, M, D), 1);
}

// The style is copied before the colour: an animation style sets its own
// colour, which must not overwrite the source's. The text goes before its
// style for the same reason: a non-empty text switches the style to text.
void TcxCustomProgressBarProperties::DoAssign(TcxCustomEditProperties* AProperties) {
  inherited::DoAssign(AProperties);
  auto* Source = AsOrNull<TcxCustomProgressBarProperties>(AProperties);
  if (!Source) return;
  SetAnimationPath(Source->FAnimationPath);
  SetAnimationRestartDelay(Source->FAnimationRestartDelay);
  SetAnimationSpeed(Source->FAnimationSpeed);
  SetBarStyle(Source->FBarStyle);
  SetBeginColor(Source->FBeginColor);
  SetBarBevelOuter(Source->FBarBevelOuter);
  SetEndColor(Source->FEndColor);
  SetForegroundImage(Source->FForegroundImage.get());
  SetMarquee(Source->FMarquee);
  SetMin(Source->GetMin());
  SetMax(Source->GetMax());
  SetOrientation(Source->FOrientation);
  SetShowText(Source->FShowText);
  SetText(Source->FText);
  SetShowTextStyle(Source->FShowTextStyle);
  SetTextOrientation(Source->FTextOrientation);
  SetSolidTextColor(Source->FSolidTextColor);
  SetTransparentImage(Source->FTransparentImage);
  SetBorderWidth(Source->FBorderWidth);
  SetOverloadValue(Source->FOverloadValue);
  SetShowOverload(Source->FShowOverload);
  SetOverloadBeginColor(Source->FOverloadBeginColor);
  SetOverloadEndColor(Source->FOverloadEndColor);
  SetPeakValue(Source->FPeakValue);
  SetShowPeak(Source->FShowPeak);
  SetPeakColor(Source->FPeakColor);
  SetPeakSize(GetScaleFactor()->Apply(Source->FPeakSize, Source->GetScaleFactor()));
}

void TcxCustomProgressBarProperties::PrepareDisplayValue(const Variant& AEditValue,
                                                         Variant& DisplayValue, bool) {
  DisplayValue = Variant(0);
  if (VarIsStr(AEditValue)) {
    Double Number = 0;
    if (TryStrToFloat(VarToStr(AEditValue), Number, TFormatSettings::Invariant()))
      DisplayValue = Variant(Number);
  } else if (VarIsNumericEx(AEditValue) || VarIsDate(AEditValue)) {
    DisplayValue = AEditValue;
  }
}

void TcxCustomProgressBarProperties::CorrectPositionWithMaxMin(Double& APosition) {
  if (GetMax() > GetMin()) APosition = std::min(std::max(APosition, GetMin()), GetMax());
}

String TcxCustomProgressBarProperties::GetDisplayText(const Variant& AEditValue, bool, bool) {
  Variant Number;
  PrepareDisplayValue(AEditValue, Number, false);
  Double Position = Number.AsDouble();
  CorrectPositionWithMaxMin(Position);
  return cxProgressBarDrawText(Position, GetMin(), GetMax(), FMarquee, FShowTextStyle, FText);
}

Double TcxCustomProgressBarProperties::GetRealPeakValue(Double APosition) {
  const Double Result = std::min(std::max(std::max(APosition, FPeakValue), GetMin()), GetMax());
  if (Result > FPeakValue) FPeakValue = Result;
  return Result;
}

// ---------------------------------------------------------------------------
// TcxProgressBarProperties
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxProgressBarProperties) {
  using T = TcxProgressBarProperties;
  P.Property<&T::GetAnimationPath, &T::SetAnimationPath>(L"AnimationPath", AnimationPathInfo)
      .Default(cxapCycle);
  P.Property<&T::GetAnimationRestartDelay, &T::SetAnimationRestartDelay>(L"AnimationRestartDelay")
      .Default(0);
  P.Property<&T::GetAnimationSpeed, &T::SetAnimationSpeed>(L"AnimationSpeed").Default(10);
  P.Property<&T::GetAssignedValues, &T::SetAssignedValues>(L"AssignedValues");
  P.Property<&T::GetBarBevelOuter, &T::SetBarBevelOuter>(L"BarBevelOuter", BevelOuterInfo)
      .Default(cxbvNone);
  P.Property<&T::GetBarStyle, &T::SetBarStyle>(L"BarStyle", BarStyleInfo).Default(cxbsSolid);
  P.Property<&T::GetBeginColor, &T::SetBeginColor>(L"BeginColor")
      .Default(0x00800000)
      .Idents(&IdentToColor, &ColorToIdent);
  P.Property<&T::GetBorderWidth, &T::SetBorderWidth>(L"BorderWidth").Default(0);
  P.Property<&T::GetEndColor, &T::SetEndColor>(L"EndColor")
      .Default(0x00FFFFFF)
      .Idents(&IdentToColor, &ColorToIdent);
  P.Property<&T::GetForegroundImage, &T::SetForegroundImage>(L"ForegroundImage");
  P.Property<&T::GetMarquee, &T::SetMarquee>(L"Marquee").Default(false);
  P.Property<&T::GetMax, &T::SetMax>(L"Max").template Stored<&T::IsMaxStored>();
  P.Property<&T::GetMin, &T::SetMin>(L"Min").template Stored<&T::IsMinStored>();
  P.Property<&T::GetOrientation, &T::SetOrientation>(L"Orientation", OrientationInfo)
      .Default(cxorHorizontal);
  P.Property<&T::GetOverloadBeginColor, &T::SetOverloadBeginColor>(L"OverloadBeginColor")
      .Default(0x008080FF)
      .Idents(&IdentToColor, &ColorToIdent);
  P.Property<&T::GetOverloadEndColor, &T::SetOverloadEndColor>(L"OverloadEndColor")
      .Default(0x00FF00FF)
      .Idents(&IdentToColor, &ColorToIdent);
  P.Property<&T::GetOverloadValue, &T::SetOverloadValue>(L"OverloadValue")
      .template Stored<&T::IsOverloadValueStored>();
  P.Property<&T::GetPeakColor, &T::SetPeakColor>(L"PeakColor")
      .Default(0x000000FF)
      .Idents(&IdentToColor, &ColorToIdent);
  P.Property<&T::GetPeakSize, &T::SetPeakSize>(L"PeakSize").Default(2);
  P.Property<&T::GetPeakValue, &T::SetPeakValue>(L"PeakValue")
      .template Stored<&T::IsPeakValueStored>();
  P.Property<&T::GetShowOverload, &T::SetShowOverload>(L"ShowOverload").Default(false);
  P.Property<&T::GetShowPeak, &T::SetShowPeak>(L"ShowPeak").Default(false);
  P.Property<&T::GetShowText, &T::SetShowText>(L"ShowText").Default(true);
  P.Property<&T::GetShowTextStyle, &T::SetShowTextStyle>(L"ShowTextStyle", TextStyleInfo)
      .Default(cxtsPercent)
      .template Stored<&T::IsShowTextStyleStored>();
  P.Property<&T::GetSolidTextColor, &T::SetSolidTextColor>(L"SolidTextColor").Default(false);
  P.Property<&T::GetText, &T::SetText>(L"Text");
  P.Property<&T::GetTextOrientation, &T::SetTextOrientation>(L"TextOrientation", OrientationInfo)
      .Default(cxorHorizontal);
  P.Property<&T::GetTransparent, &T::SetTransparent>(L"Transparent").Stored(false);
  P.Property<&T::GetTransparentImage, &T::SetTransparentImage>(L"TransparentImage").Default(true);
}

// ---------------------------------------------------------------------------
// Start-up

void cxProgressBar_Initialize() {
  cxExtEditModuleInitialize(InitCount, &RegisterProgressBar, &UnregisterProgressBar);
}

void cxProgressBar_Finalize() { cxExtEditModuleFinalize(InitCount, &UnregisterProgressBar); }
