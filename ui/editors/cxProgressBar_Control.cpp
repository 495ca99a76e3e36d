// The progress bar's layout (view data) and the control: position, range
// checks and the listeners that follow the bar.
#include <algorithm>
#include <cmath>

#include "cxProgressBar.h"

IMPLEMENT_CLASS(TcxCustomProgressBarViewData)

// ---------------------------------------------------------------------------
// What the properties make

TcxCustomEditClass TcxCustomProgressBarProperties::GetContainerClass() {
  return cxEditClass<TcxProgressBar>();
}

TcxCustomEditViewDataClass TcxCustomProgressBarProperties::GetViewDataClass() {
  return &cxCreateEditViewData<TcxCustomProgressBarViewData>;
}

TcxContainerViewInfoClass TcxCustomProgressBarProperties::GetViewInfoClass() {
  return &cxCreateContainerViewInfo<TcxCustomProgressBarViewInfo>;
}

// ---------------------------------------------------------------------------
// Layout

Integer cxProgressBarLength(Double AValue, Double ADiff, Integer AExtent) {
  const Double Length = AValue * AExtent / (ADiff == 0 ? 1 : ADiff);
  if (std::isnan(Length)) return 0;
  // Beyond the bar a few extents draw the same; the limit keeps the
  // conversion and the rectangle arithmetic defined.
  const Double Limit = 4.0 * std::max(AExtent, 1) + 4;
  return static_cast<Integer>(std::trunc(std::clamp(Length, -Limit, Limit)));
}

void TcxCustomProgressBarViewData::CalculateViewInfoProperties(
    TcxCustomProgressBarViewInfo* AViewInfo) {
  TcxCustomProgressBarProperties* P = GetProgressBarProperties();
  AViewInfo->SetAnimationPath(P->GetAnimationPath());
  AViewInfo->SetAnimationSpeed(P->GetAnimationSpeed());
  AViewInfo->SetMarquee(P->GetMarquee());
  AViewInfo->SetBarStyle(P->GetBarStyle());
  AViewInfo->SetOrientation(P->GetOrientation());
  AViewInfo->FAnimationRestartDelay = P->GetAnimationRestartDelay();
  AViewInfo->FBeginColor = dxColorToRGB(P->GetBeginColor());
  AViewInfo->FEndColor = dxColorToRGB(P->GetEndColor());
  AViewInfo->FBarBevelOuter = P->GetBarBevelOuter();
  AViewInfo->FMin = P->GetMin();
  AViewInfo->FMax = P->GetMax();
  AViewInfo->FShowText = P->GetShowText();
  AViewInfo->FShowTextStyle = P->GetShowTextStyle();
  AViewInfo->FText = P->GetText();
  AViewInfo->FTextOrientation = P->GetTextOrientation();
  AViewInfo->FSolidTextColor = P->GetSolidTextColor();
  AViewInfo->FOverloadValue = P->GetOverloadValue();
  AViewInfo->FShowOverload = P->GetShowOverload();
  AViewInfo->FOverloadBeginColor = dxColorToRGB(P->GetOverloadBeginColor());
  AViewInfo->FOverloadEndColor = dxColorToRGB(P->GetOverloadEndColor());
  AViewInfo->FShowPeak = P->GetShowPeak();
  AViewInfo->FPeakColor = dxColorToRGB(P->GetPeakColor());
  AViewInfo->BorderWidth = P->GetBorderWidth();
  AViewInfo->FPeakValue = P->GetRealPeakValue(AViewInfo->FPosition);
  AViewInfo->SetPeakSize(
      std::max(1, AViewInfo->GetScaleFactor()->Apply(P->GetPeakSize(), P->GetScaleFactor())));
  AViewInfo->FPropTransparent =
      IsInplace() ? AViewInfo->Transparent : GetEdit() && GetEdit()->Transparent();
}

void TcxCustomProgressBarViewData::EditValueToDrawValue(const Variant& AEditValue,
                                                        TcxCustomEditViewInfo* AViewInfo) {
  auto* VI = static_cast<TcxCustomProgressBarViewInfo*>(AViewInfo);
  CalculateFocusRect(VI);
  Variant Number;
  GetProgressBarProperties()->PrepareDisplayValue(PreviewMode ? Variant(30) : AEditValue, Number,
                                                  InternalFocused());
  VI->FPosition = Number.AsDouble();
  GetProgressBarProperties()->CorrectPositionWithMaxMin(VI->FPosition);
}

void TcxCustomProgressBarViewData::CalculateFocusRect(TcxCustomProgressBarViewInfo* AViewInfo) {
  AViewInfo->FocusRect = TRect{};
  if (!IsInplace() && AViewInfo->Focused && !AViewInfo->GetDrawText().empty())
    AViewInfo->FocusRect = cxRectInflate(AViewInfo->TextRect, 1, 1);
}

void TcxCustomProgressBarViewData::CalculateForegroundImage(
    TcxCustomProgressBarViewInfo* AViewInfo) {
  TcxCustomProgressBarProperties* P = GetProgressBarProperties();
  if (!P->IsForegroundImageChanged() && !AViewInfo->FForegroundImage->Empty()) return;
  AViewInfo->FForegroundImage->Assign(P->GetForegroundImage());
  P->ClearForegroundImageChanged();
  if (!P->GetTransparentImage() || AViewInfo->FForegroundImage->Empty()) return;
  // Flattened once over the background, so that painting tiles an opaque
  // picture.
  TOwned<TBitmap> Flat = MakeOwned<TBitmap>();
  Flat->SetSize(AViewInfo->FForegroundImage->Width(), AViewInfo->FForegroundImage->Height());
  TCanvas* C = Flat->Canvas();
  C->Brush()->SetColor(AViewInfo->BackgroundColor());
  C->FillRect(TRect{0, 0, Flat->Width(), Flat->Height()});
  AViewInfo->FForegroundImage->SetTransparent(true);
  C->Draw(0, 0, AViewInfo->FForegroundImage.get());
  AViewInfo->FForegroundImage->Assign(Flat.get());
}

void TcxCustomProgressBarViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds,
                                             const TPoint& P, TcxMouseButton Button,
                                             TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                             bool AIsMouseEvent) {
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  if (ABounds.bottom == 32000 || ABounds.right == 32000) return;
  auto* VI = static_cast<TcxCustomProgressBarViewInfo*>(AViewInfo);
  TcxCustomProgressBarProperties* Props = GetProgressBarProperties();
  CalculateViewInfo(AViewInfo, AIsMouseEvent);
  CalculateViewInfoProperties(VI);
  VI->NativeStyle = AreVisualStylesMustBeUsed(NativeStyle, totProgress);

  const Integer D = !IsInplace() || VI->NativeStyle ? 2 : 0;
  const Integer W = VI->BorderWidth;
  TRect ABar, AContent, AProgress;
  if (VI->NativeStyle) {
    ABar = ABounds;
    if (IsInplace())
      AContent = cxRectInflate(ABounds, -(W + D), -(W + D));
    else if (cxIsAnimationStyle(VI->BarStyle()))
      AContent = cxRectInflate(ABounds, -(W + 1), -(W + 1));
    else
      AContent = cxRectInflate(ABounds, -(W + D + 1), -(W + D + 1), -(W + D), -(W + D));
    AProgress = AContent;
  } else {
    ABar = IsInplace() ? cxRectInflate(ABounds, -D, -D) : VI->BorderRect;
    // The fill is measured inside the gap of the border width, so that a
    // full bar keeps the gap at its end as at its start.
    AContent = cxRectInflate(VI->BorderRect, -W, -W);
    AProgress = AContent;
  }
  VI->TextRect = AContent;
  CalculateFocusRect(VI);

  const bool AHorizontal = VI->Orientation() == cxorHorizontal;
  const Double ADiff = VI->GetMaxMinDiff();
  const Integer AExtent = AHorizontal ? cxRectWidth(AContent) : cxRectHeight(AContent);
  const Integer L = cxProgressBarLength(VI->FPosition - VI->FMin, ADiff, AExtent);
  if (!VI->Marquee()) {
    if (AHorizontal)
      AProgress.right = AContent.left + L;
    else
      AProgress.top = AContent.bottom - L;
  }

  TRect AOverload{};
  VI->FRealShowOverload = !VI->Marquee() && VI->FShowOverload && !VI->NativeStyle &&
                          VI->FPosition >= VI->FOverloadValue;
  if (VI->FRealShowOverload) {
    AOverload = AProgress;
    const Integer O = cxProgressBarLength(VI->GetRelativeOverloadValue(), ADiff, AExtent);
    if (AHorizontal) {
      AOverload.left = AContent.left + O;
      AOverload.right = std::min(AOverload.right, AContent.right);
      AProgress.right = AOverload.left;
    } else {
      AOverload.top = AContent.bottom - L;
      AOverload.bottom = std::max(AContent.bottom - O, AContent.top);
      AProgress.top = AOverload.bottom;
    }
  }

  TRect APeak{};
  VI->FRealShowPeak = VI->FShowPeak && !VI->Marquee();
  if (VI->FRealShowPeak) {
    APeak = AProgress;
    const Integer S = VI->PeakSize();
    const Integer PL = cxProgressBarLength(VI->GetRelativePeakValue(), ADiff, AExtent);
    if (AHorizontal) {
      APeak.left = std::min(AContent.left + PL, AContent.right - S);
      APeak.right = APeak.left + S;
    } else {
      APeak.bottom = std::max(AContent.bottom - PL, AContent.top + S);
      APeak.top = APeak.bottom - S;
    }
  }

  CalculateForegroundImage(VI);
  if (!IsInplace()) VI->DrawSelectionBar = false;

  const bool AUnchanged = Props->IsPositionChanged() && !AIsMouseEvent &&
                          AProgress == VI->ProgressBarRect && ABar == VI->BarRect &&
                          (!VI->FRealShowOverload || AOverload == VI->OverloadBarRect) &&
                          (!VI->FRealShowPeak || APeak == VI->PeakBarRect);
  if (AUnchanged) {
    VI->FIsBoundsChanged = false;
  } else {
    if (ABar != VI->BarRect) VI->FIsBarRectChanged = true;
    VI->ProgressBarRect = AProgress;
    VI->BarRect = ABar;
    VI->OverloadBarRect = AOverload;
    VI->PeakBarRect = APeak;
    VI->FIsBoundsChanged = true;
  }
  Props->SetPositionChanged(false);
}

TSize TcxCustomProgressBarViewData::InternalGetEditConstantPartSize(
    TcxCanvas* ACanvas, bool AIsInplace, const TcxEditSizeProperties& AEditSizeProperties,
    TSize& MinContentSize, TcxCustomEditViewInfo* AViewInfo) {
  ACanvas->SaveState();
  auto ARestore = Finally([ACanvas] { ACanvas->RestoreState(); });
  TSize R = inherited::InternalGetEditConstantPartSize(ACanvas, AIsInplace, AEditSizeProperties,
                                                       MinContentSize, AViewInfo);
  // One empty line of the style's font.
  const TSize AText = GetTextEditContentSize(
      ACanvas, this, String(), GetDrawTextFlags() & ~(CXTO_WORDBREAK | CXTO_SINGLELINE),
      AEditSizeProperties);
  Integer AProgressWidth = 0;
  if (auto* VI = dynamic_cast<TcxCustomProgressBarViewInfo*>(AViewInfo))
    AProgressWidth = cxRectWidth(VI->ProgressBarRect);
  if (!IsInplace() && !AreVisualStylesMustBeUsed(NativeStyle, totButton)) AProgressWidth += 4;
  R.cx += AProgressWidth + AText.cx + 3;
  R.cy += AText.cy;
  return R;
}

// ---------------------------------------------------------------------------
// The control
IMPLEMENT_CLASS(TcxCustomProgressBar)
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxProgressBar) {
  using T = TcxProgressBar;
  P.Property<&T::GetAutoSize, &T::SetAutoSize>(L"AutoSize").Default(true);
  P.Property<&T::GetPosition, &T::SetPosition>(L"Position").template Stored<&T::IsPositionStored>();
  P.Property<&T::GetProperties, &T::SetProperties>(L"Properties");
  P.Property<&TcxControl::Transparent, &TcxControl::SetTransparent>(L"Transparent").Default(false);
}

TcxCustomProgressBar::TcxCustomProgressBar(TComponent* AOwner, bool AIsInplace)
    : TcxCustomEdit(AOwner, AIsInplace) {}

TcxCustomProgressBar::~TcxCustomProgressBar() = default;

void TcxCustomProgressBar::BeforeDestruction() {
  // Listeners belong to others: forgotten, never freed, and none may join
  // while the bar goes.
  FListenersGone = true;
  FListeners.clear();
  inherited::BeforeDestruction();
}

bool TcxCustomProgressBar::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IcxProgressBarLink))) {
    *AObj = static_cast<IcxProgressBarLink*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

TClass TcxCustomProgressBar::GetPropertiesClass() {
  return TcxCustomProgressBarProperties::StaticClass();
}

TcxContainerViewInfoClass TcxCustomProgressBar::GetViewInfoClass() {
  return &cxCreateContainerViewInfo<TcxCustomProgressBarViewInfo>;
}

TClass TcxProgressBar::GetPropertiesClass() { return TcxProgressBarProperties::StaticClass(); }

void TcxCustomProgressBar::Initialize() {
  inherited::Initialize();
  TControlStyle S = ControlStyle();
  S.Exclude(csCaptureMouse);
  S.Exclude(csClickEvents);
  S.Exclude(csDoubleClicks);
  SetControlStyle(S);
  SetWidth(121);
  SetHeight(21);
}

bool TcxCustomProgressBar::CanFocusOnClick() { return IsInplace() && inherited::CanFocusOnClick(); }

TcxContainerStyleValues TcxCustomProgressBar::InternalGetNotPublishedStyleValues() {
  TcxContainerStyleValues R = inherited::InternalGetNotPublishedStyleValues();
  R.Include(csvHotTrack);
  return R;
}

void TcxCustomProgressBar::PopulateSizeProperties(TcxEditSizeProperties& AEditSizeProperties) {
  AEditSizeProperties = cxDefaultEditSizeProperties;
  AEditSizeProperties.MaxLineCount = 1;
  AEditSizeProperties.Width = cxRectWidth(ViewInfo()->TextRect);
}

Double TcxCustomProgressBar::GetPosition() const { return ViewInfo()->FPosition; }

Integer TcxCustomProgressBar::GetPercentDone() { return ViewInfo()->GetPercentDone(); }

void TcxCustomProgressBar::SetPosition(Double Value) {
  if (Value == ViewInfo()->FPosition) return;
  TcxCustomProgressBarProperties* P = GetActiveProperties();
  P->SetPositionChanged(true);
  if (!IsLoading() && P->GetMax() > P->GetMin()) {
    if (Value < P->GetMin())
      Value = P->GetMin();
    else if (Value >= P->GetMax())
      Value = P->GetMax();
  }
  SetEditValue(Variant(Value));
  DoNotifyListeners();
}

void TcxCustomProgressBar::SynchronizeDisplayValue() {
  TcxCustomProgressBarProperties* P = GetActiveProperties();
  Variant Number;
  P->PrepareDisplayValue(GetEditValue(), Number, Focused());
  ViewInfo()->FPosition = Number.AsDouble();
  if (P->GetTransparent()) Invalidate();
  if (!IsLoading()) P->CorrectPositionWithMaxMin(ViewInfo()->FPosition);
  ShortRefreshContainer(false);
}

void TcxCustomProgressBar::PropertiesChanged(TObject* Sender) {
  CheckEditValue();
  GetActiveProperties()->CorrectPositionWithMaxMin(ViewInfo()->FPosition);
  inherited::PropertiesChanged(Sender);
  if (GetActiveProperties()->GetTransparent()) Invalidate();
  DoNotifyListeners();
}

void TcxCustomProgressBar::CheckEditValue() {
  if (IsInplace() || PropertiesChangeLocked()) return;
  CheckEditorValueBounds();
}

void TcxCustomProgressBar::CheckEditorValueBounds() {
  cxEditDetail::AsUserAction(this, [this] {
    TcxCustomProgressBarProperties* P = GetActiveProperties();
    if (!(P->GetMax() > P->GetMin())) return;
    Variant Number;
    P->PrepareDisplayValue(GetEditValue(), Number, Focused());
    const Double Value = Number.AsDouble();
    if (Value < P->GetMin())
      InternalSetEditValue(Variant(P->GetMin()), false);
    else if (Value > P->GetMax())
      InternalSetEditValue(Variant(P->GetMax()), false);
  });
}

void TcxCustomProgressBar::RegisterListener(TcxProgressBarListener* AValue) {
  if (!FListenersGone && AValue) FListeners.push_back(AValue);
}

void TcxCustomProgressBar::UnRegisterListener(TcxProgressBarListener* AValue) {
  if (FListenersGone) return;
  auto It = std::find(FListeners.begin(), FListeners.end(), AValue);
  if (It != FListeners.end()) FListeners.erase(It);
}

void TcxCustomProgressBar::DoNotifyListeners() {
  // A listener may unlink itself (or another) while it is told: the copy
  // keeps the walk valid, and one removed meanwhile is not told.
  const std::vector<TcxProgressBarListener*> AList = FListeners;
  for (TcxProgressBarListener* L : AList)
    if (std::find(FListeners.begin(), FListeners.end(), L) != FListeners.end()) L->DoChanged();
}
