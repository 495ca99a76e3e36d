// Editor buttons: one button with its settings and action link, the
// collection the properties keep, and the properties' side of buttons and
// images.
#include "Forms.h"
#include "Menus.h"
#include "WinHandles.h"
#include "cxEdit.h"

// ---------------------------------------------------------------------------
// TcxCustomEditButton
IMPLEMENT_CREATABLE_CLASS(TcxCustomEditButton)

TcxCustomEditButton::TcxCustomEditButton(TCollection* ACollection)
    : TCollectionItem(ACollection), FGlyph(MakeOwned<TdxSmartGlyph>()) {
  FGlyph->OnChange = MakeEvent<&TcxCustomEditButton::GlyphChanged>(this);
}

TcxCustomEditButton::~TcxCustomEditButton() = default;

void TcxCustomEditButton::BeforeDestruction() {
  // The collection's free notificator is reachable only while the button is
  // still in the collection.
  DropAction();
  inherited::BeforeDestruction();
}

TcxCustomEditButtons* TcxCustomEditButton::Buttons() const {
  return AsOrNull<TcxCustomEditButtons>(Collection());
}

void TcxCustomEditButton::Assign(TPersistent* Source) {
  auto* B = AsOrNull<TcxCustomEditButton>(Source);
  if (!B) return inherited::Assign(Source);
  TCollection* C = Collection();
  if (C) C->BeginUpdate();
  auto Updating = Finally([C] {
    if (C) C->EndUpdate();
  });
  // The action first: taking it may overwrite the caption, which is the
  // source's own.
  SetAction(B->GetAction());
  SetCaption(B->FCaption);
  SetImageIndex(B->FImageIndex);
  FVisibleCaption = B->FVisibleCaption;
  SetContentAlignment(B->FContentAlignment);
  SetDefault(B->FDefault);
  SetEnabled(B->FEnabled);
  SetGlyph(B->FGlyph.get());
  SetKind(B->FKind);
  SetLeftAlignment(B->FLeftAlignment);
  SetStretchable(B->FStretchable);
  SetTag(B->FTag);
  SetTextColor(B->FTextColor);
  SetVisible(B->FVisible);
  SetWidth(B->FWidth);
  SetHint(B->FHint);
}

void TcxCustomEditButton::ChangeScale(Integer M, Integer D) { SetWidth(MulDiv(FWidth, M, D)); }

void TcxCustomEditButton::FreeNotification(TComponent* AComponent) {
  // A dying action unlinks its clients before it tells who watches it, so a
  // link without an action is one whose action is going away.
  if (FActionLink && (FActionLink->Action() == AComponent || !FActionLink->Action())) DropAction();
}

TBasicAction* TcxCustomEditButton::GetAction() const {
  return FActionLink ? FActionLink->Action() : nullptr;
}

TClass TcxCustomEditButton::GetActionLinkClass() { return TcxEditButtonActionLink::StaticClass(); }

void TcxCustomEditButton::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TcxCustomEditButton::DropAction() {
  if (!FActionLink) return;
  TcxCustomEditButtons* Owner = Buttons();
  if (Owner) Owner->RemoveFreeNotificatorSender(FActionLink->Action());
  FActionLink.reset();
}

void TcxCustomEditButton::SetAction(TBasicAction* Value) {
  if (FActionLink && FActionLink->Action() == Value) return;
  DropAction();
  if (!Value) return;
  FActionLink.reset(As<TcxEditButtonActionLink>(GetActionLinkClass()->Create(this)));
  FActionLink->SetAction(Value);
  FActionLink->OnChange = MakeEvent<&TcxCustomEditButton::DoActionChange>(this);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  if (TcxCustomEditButtons* Owner = Buttons()) Owner->AddFreeNotificatorSender(Value);
}

void TcxCustomEditButton::DoActionChange(TObject* Sender) {
  if (Sender && Sender == GetAction()) ActionChange(Sender, false);
}

void TcxCustomEditButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* A = AsOrNull<TCustomAction>(Sender);
  if (!A) return;
  if (!CheckDefaults || FCaption.empty()) SetCaption(A->Caption());
  if (!CheckDefaults || FEnabled) SetEnabled(A->Enabled());
  if (!CheckDefaults || FHint.empty()) SetHint(A->Hint());
  if (!CheckDefaults || FVisible) SetVisible(A->Visible());
  if (!CheckDefaults || FImageIndex == -1) SetImageIndex(A->ImageIndex());
}

void TcxCustomEditButton::GlyphChanged(TObject*) { Changed(false); }

namespace {
template <class T>
bool StoreChanged(T& AField, const T& AValue) {
  if (AField == AValue) return false;
  AField = AValue;
  return true;
}
}  // namespace

void TcxCustomEditButton::SetCaption(const String& Value) {
  if (!StoreChanged(FCaption, Value)) return;
  FVisibleCaption = RemoveAccelChars(Value);
  Changed(false);
}

void TcxCustomEditButton::SetContentAlignment(TAlignment Value) {
  if (StoreChanged(FContentAlignment, Value)) Changed(false);
}

void TcxCustomEditButton::SetDefault(bool Value) {
  if (FDefault == Value) return;
  if (Value && Collection())
    for (Integer I = 0; I < Collection()->Count(); ++I)
      static_cast<TcxCustomEditButton*>(Collection()->Items(I))->FDefault = false;
  FDefault = Value;
  Changed(Value);
}

void TcxCustomEditButton::SetEnabled(bool Value) {
  if (StoreChanged(FEnabled, Value)) Changed(false);
}

void TcxCustomEditButton::SetGlyph(TdxSmartGlyph* Value) { FGlyph->Assign(Value); }

void TcxCustomEditButton::SetHint(const String& Value) {
  if (StoreChanged(FHint, Value)) Changed(false);
}

void TcxCustomEditButton::SetImageIndex(Integer Value) {
  if (StoreChanged(FImageIndex, Value)) Changed(false);
}

void TcxCustomEditButton::SetKind(TcxEditButtonKind Value) {
  if (StoreChanged(FKind, Value)) Changed(false);
}

void TcxCustomEditButton::SetLeftAlignment(bool Value) {
  if (StoreChanged(FLeftAlignment, Value)) Changed(false);
}

void TcxCustomEditButton::SetStretchable(bool Value) {
  if (StoreChanged(FStretchable, Value)) Changed(false);
}

void TcxCustomEditButton::SetTag(NativeInt Value) {
  if (StoreChanged(FTag, Value)) Changed(false);
}

void TcxCustomEditButton::SetTextColor(TColor Value) {
  if (StoreChanged(FTextColor, Value)) Changed(false);
}

void TcxCustomEditButton::SetVisible(bool Value) {
  if (StoreChanged(FVisible, Value)) Changed(false);
}

void TcxCustomEditButton::SetWidth(Integer Value) {
  // What a negative width would mean is not settled: it is refused like any
  // inconsistent value (a rescale by a zero divisor lands here as -1 too).
  if (Value < 0) return;
  if (StoreChanged(FWidth, Value)) Changed(false);
}

bool TcxCustomEditButton::IsCaptionStored() {
  return !(FActionLink && FActionLink->IsCaptionLinked());
}
bool TcxCustomEditButton::IsEnabledStored() {
  return !(FActionLink && FActionLink->IsEnabledLinked());
}
bool TcxCustomEditButton::IsHintStored() { return !(FActionLink && FActionLink->IsHintLinked()); }
bool TcxCustomEditButton::IsImageIndexStored() {
  return !(FActionLink && FActionLink->IsImageIndexLinked());
}
bool TcxCustomEditButton::IsVisibleStored() {
  return !(FActionLink && FActionLink->IsVisibleLinked());
}

// ---------------------------------------------------------------------------
// TcxEditButton
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxEditButton) {
  using B = TcxEditButton;
  static const wchar_t* const AlignmentNames[] = {L"taLeftJustify", L"taRightJustify", L"taCenter"};
  static const TEnumInfo AlignmentInfo = MakeEnumInfo(L"TAlignment", AlignmentNames);
  static const wchar_t* const KindNames[] = {L"bkEllipsis", L"bkDown", L"bkGlyph", L"bkText"};
  static const TEnumInfo KindInfo = MakeEnumInfo(L"TcxEditButtonKind", KindNames);
  P.Property<&B::GetAction, &B::SetAction>(L"Action");
  P.Property<&B::GetCaption, &B::SetCaption>(L"Caption").template Stored<&B::IsCaptionStored>();
  P.Property<&B::GetContentAlignment, &B::SetContentAlignment>(L"ContentAlignment", AlignmentInfo)
      .Default(taCenter);
  P.Property<&B::GetDefault, &B::SetDefault>(L"Default").Default(false);
  P.Property<&B::GetEnabled, &B::SetEnabled>(L"Enabled")
      .Default(true)
      .template Stored<&B::IsEnabledStored>();
  P.Property<&B::GetImageIndex, &B::SetImageIndex>(L"ImageIndex")
      .Default(-1)
      .template Stored<&B::IsImageIndexStored>();
  P.Property<&B::GetGlyph, &B::SetGlyph>(L"Glyph");
  P.Property<&B::GetHint, &B::SetHint>(L"Hint").template Stored<&B::IsHintStored>();
  P.Property<&B::GetKind, &B::SetKind>(L"Kind", KindInfo).Default(bkDown);
  P.Property<&B::GetLeftAlignment, &B::SetLeftAlignment>(L"LeftAlignment").Default(false);
  P.Property<&B::GetStretchable, &B::SetStretchable>(L"Stretchable").Default(true);
  P.Property<&B::GetTag, &B::SetTag>(L"Tag").template Stored<&B::IsTagStored>();
  P.Property<&B::GetVisible, &B::SetVisible>(L"Visible")
      .Default(true)
      .template Stored<&B::IsVisibleStored>();
  P.Property<&B::GetWidth, &B::SetWidth>(L"Width").Default(0);
}

// ---------------------------------------------------------------------------
// TcxCustomEditButtons
IMPLEMENT_CLASS(TcxCustomEditButtons)

TcxCustomEditButtons::TcxCustomEditButtons(TPersistent* AOwner, TClass AButtonClass)
    : TCollection(AButtonClass),
      FFreeNotificator(MakeOwned<TcxFreeNotificator>(nullptr)),
      FOwner(AOwner) {
  FFreeNotificator->SetOnFreeNotification(
      MakeEvent<&TcxCustomEditButtons::DoFreeNotification>(this));
}

TcxCustomEditButtons::~TcxCustomEditButtons() = default;

void TcxCustomEditButtons::AddFreeNotificatorSender(TComponent* ASender) {
  FFreeNotificator->AddSender(ASender);
}

void TcxCustomEditButtons::RemoveFreeNotificatorSender(TComponent* ASender) {
  FFreeNotificator->RemoveSender(ASender);
}

void TcxCustomEditButtons::DoFreeNotification(TComponent* Sender) {
  for (Integer I = 0; I < Count(); ++I) Items(I)->FreeNotification(Sender);
}

void TcxCustomEditButtons::ChangeScale(Integer M, Integer D) {
  auto Updating = UpdateScope(this);
  for (Integer I = 0; I < Count(); ++I) Items(I)->ChangeScale(M, D);
}

void TcxCustomEditButtons::InitiateActions() {
  for (Integer I = 0; I < Count(); ++I) Items(I)->InitiateAction();
}

Integer TcxCustomEditButtons::GetVisibleCount() const {
  Integer Result = 0;
  for (Integer I = 0; I < Count(); ++I)
    if (Items(I)->GetVisible()) ++Result;
  return Result;
}

void TcxCustomEditButtons::Update(TCollectionItem*) {
  if (FOnChange) FOnChange(this);
}

IMPLEMENT_CREATABLE_CLASS(TcxEditButtons)

// ---------------------------------------------------------------------------
// TcxEditButtonViewInfo
IMPLEMENT_CREATABLE_CLASS(TcxEditButtonViewInfo)

void TcxEditButtonViewInfo::Assign(TPersistent* Source) {
  auto* V = AsOrNull<TcxEditButtonViewInfo>(Source);
  if (!V) return inherited::Assign(Source);
  Data.NativeState = V->Data.NativeState;
  Data.BackgroundColor = V->Data.BackgroundColor;
  Bounds = V->Bounds;
  Data.Style = V->Data.Style;
  Data.State = V->Data.State;
}

bool TcxEditButtonViewInfo::LooksDifferentIn(const TcxEditButtonViewInfo* AViewInfo) const {
  return Data.Style != AViewInfo->Data.Style || Data.State != AViewInfo->Data.State ||
         Data.BackgroundColor != AViewInfo->Data.BackgroundColor ||
         Data.NativeState != AViewInfo->Data.NativeState;
}

TRegionHandle TcxEditButtonViewInfo::GetUpdateRegion(TcxEditButtonViewInfo* AViewInfo) {
  if (!LooksDifferentIn(AViewInfo)) return TRegionHandle(CreateRectRgn(0, 0, 0, 0));
  return TRegionHandle(CreateRectRgnIndirect(&Bounds));
}

bool TcxEditButtonViewInfo::Repaint(TWinControl* AControl, TcxEditButtonViewInfo* AViewInfo,
                                    const TPoint& AEditPosition) {
  bool Fading = FadingHelper && FadingHelper->GetActive();
  if ((!Fading && !LooksDifferentIn(AViewInfo)) || !AControl || !AControl->HandleAllocated())
    return false;
  TRect R = Bounds;
  OffsetRect(&R, AEditPosition.x, AEditPosition.y);
  RedrawWindow(AControl->Handle(), &R, nullptr, RDW_INVALIDATE | (HasBackground ? RDW_ERASE : 0u));
  return true;
}

// ---------------------------------------------------------------------------
// TcxEditButtonActionLink
IMPLEMENT_CREATABLE_CLASS(TcxEditButtonActionLink)

void TcxEditButtonActionLink::AssignClient(TObject* AClient) {
  FClient = As<TcxCustomEditButton>(AClient);
}

bool TcxEditButtonActionLink::IsCaptionLinked() {
  return inherited::IsCaptionLinked() && FClient->GetCaption() == CustomAction()->Caption();
}
bool TcxEditButtonActionLink::IsEnabledLinked() {
  return inherited::IsEnabledLinked() && FClient->GetEnabled() == CustomAction()->Enabled();
}
bool TcxEditButtonActionLink::IsHintLinked() {
  return inherited::IsHintLinked() && FClient->GetHint() == CustomAction()->Hint();
}
bool TcxEditButtonActionLink::IsImageIndexLinked() {
  return inherited::IsImageIndexLinked() &&
         FClient->GetImageIndex() == CustomAction()->ImageIndex();
}
bool TcxEditButtonActionLink::IsVisibleLinked() {
  return inherited::IsVisibleLinked() && FClient->GetVisible() == CustomAction()->Visible();
}

void TcxEditButtonActionLink::SetCaption(const String& Value) {
  if (IsCaptionLinked()) FClient->SetCaption(Value);
}
void TcxEditButtonActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) FClient->SetEnabled(Value);
}
void TcxEditButtonActionLink::SetHint(const String& Value) {
  // A hint is read when it is shown; nothing needs repainting.
  if (IsHintLinked()) FClient->FHint = Value;
}
void TcxEditButtonActionLink::SetImageIndex(Integer Value) {
  if (IsImageIndexLinked()) FClient->SetImageIndex(Value);
}
void TcxEditButtonActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) FClient->SetVisible(Value);
}

bool TcxEditButtonActionLink::PrepareHint(String& HintStr) {
  TCustomAction* A = CustomAction();
  if (!A) return true;
  const bool CanShow = A->DoHint(HintStr);
  TApplication* App = Application();
  if (CanShow && App && App->HintShortCuts() && A->ShortCut() != 0 && !HintStr.empty())
    HintStr = HintStr + L" (" + ShortCutToText(A->ShortCut()) + L")";
  return CanShow;
}

// ---------------------------------------------------------------------------
// TcxCustomEditProperties: buttons and their images

void TcxCustomEditProperties::CreateButtonsPart() {
  FFreeNotificator = MakeOwned<TcxFreeNotificator>(nullptr);
  FFreeNotificator->SetOnFreeNotification(
      MakeEvent<&TcxCustomEditProperties::FreeNotification>(this));
  FButtons.reset(GetButtonsClass()(this));
  FButtons->SetOnChange(MakeEvent<&TcxCustomEditProperties::ChangeHandler>(this));
  FImageChangeLink = MakeOwned<TChangeLink>();
  FImageChangeLink->OnChange = MakeEvent<&TcxCustomEditProperties::ImageListChange>(this);
}

TcxEditButtonsClass TcxCustomEditProperties::GetButtonsClass() {
  return [](TPersistent* AOwner) { return Create<TcxEditButtons>(AOwner); };
}

void TcxCustomEditProperties::AssignButtonsPart(TcxCustomEditProperties* AProperties) {
  FButtons->Assign(AProperties->FButtons.get());
  // The source's widths are at the source's DPI.
  const Integer M = FScaleFactor->TargetDPI();
  const Integer D = AProperties->FScaleFactor->TargetDPI();
  if (M != D) FButtons->ChangeScale(M, D);
}

void TcxCustomEditProperties::SetButtons(TcxEditButtons* Value) { FButtons->Assign(Value); }

void TcxCustomEditProperties::SetImages(TCustomImageList* Value) {
  cxSetImageList(Value, FButtons->FImages, FImageChangeLink.get(), FFreeNotificator.get());
}

void TcxCustomEditProperties::ImageListChange(TObject* Sender) {
  if (Sender == GetImages()) Changed();
}

void TcxCustomEditProperties::FreeNotification(TComponent* Sender) {
  if (Sender && Sender == GetImages()) SetImages(nullptr);
}

void TcxCustomEditProperties::ChangeScale(Integer M, Integer D) { FButtons->ChangeScale(M, D); }

void TcxCustomEditProperties::InitiateActions() { FButtons->InitiateActions(); }
