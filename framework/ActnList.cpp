#include "ActnList.h"

#include <algorithm>

#include "WinHandles.h"

namespace {
const wchar_t* const ListStateNames[] = {L"asNormal", L"asSuspended", L"asSuspendedEnabled"};
const TEnumInfo ListStateInfo = MakeEnumInfo(L"TActionListState", ListStateNames);
}  // namespace

TActionDispatchRoutines& ActionDispatchRoutines() {
  static TActionDispatchRoutines Routines;
  return Routines;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TContainedAction)

void TContainedAction::BeforeDestruction() {
  if (FActionList) FActionList->RemoveAction(this);
  inherited::BeforeDestruction();
}

bool TContainedAction::Suspended() const { return FActionList && FActionList->State() != asNormal; }

bool TContainedAction::Execute() {
  if (Suspended()) return false;
  const TActionDispatchRoutines& App = ActionDispatchRoutines();
  return (FActionList && FActionList->ExecuteAction(this)) ||
         (App.ExecuteAction && App.ExecuteAction(this)) || TBasicAction::Execute() ||
         (App.DispatchAction && App.DispatchAction(CM_ACTIONEXECUTE, this));
}

bool TContainedAction::Update() {
  if (Suspended()) return false;
  const TActionDispatchRoutines& App = ActionDispatchRoutines();
  bool Handled = (FActionList && FActionList->UpdateAction(this)) ||
                 (App.UpdateAction && App.UpdateAction(this)) || TBasicAction::Update() ||
                 (App.DispatchAction && App.DispatchAction(CM_ACTIONUPDATE, this));
  if (!Handled)
    if (auto* Action = AsOrNull<TCustomAction>(this);
        Action && Action->Enabled() && Action->DisableIfNoHandler())
      Action->SetEnabled(static_cast<bool>(OnExecute()));
  return Handled;
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
  if (Value == FActionList) return;
  if (FActionList) FActionList->RemoveAction(this);
  if (Value) Value->AddAction(this);
}

Integer TContainedAction::Index() const {
  if (!FActionList) return -1;
  auto& L = FActionList->FActions;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : static_cast<Integer>(It - L.begin());
}

void TContainedAction::SetIndex(Integer Value) {
  if (!FActionList) return;
  auto& L = FActionList->FActions;
  auto It = std::find(L.begin(), L.end(), this);
  if (It == L.end()) return;
  L.erase(It);
  Value = std::clamp<Integer>(Value, 0, static_cast<Integer>(L.size()));
  L.insert(L.begin() + Value, this);
  FActionList->Change();
}

void TContainedAction::SetCategory(const String& Value) {
  if (Value == FCategory) return;
  FCategory = Value;
  if (FActionList) FActionList->Change();
}

TComponent* TContainedAction::GetParentComponent() const { return FActionList; }

void TContainedAction::SetParentComponent(TComponent* Value) {
  if (auto* List = AsOrNull<TCustomActionList>(Value)) SetActionList(List);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TCustomAction)

template <class F>
void TCustomAction::ForEachLink(F Fn) {
  // A copy: a client may drop its link while it follows the change.
  for (TBasicActionLink* Link : std::vector<TBasicActionLink*>(FClients))
    if (auto* L = AsOrNull<TActionLink>(Link)) Fn(L);
}

bool TCustomAction::Execute() {
  if (Suspended()) return false;
  Update();
  if (!FEnabled) return false;
  if (FAutoCheck && (!FChecked || FGroupIndex == 0)) SetChecked(!FChecked);
  return inherited::Execute();
}

bool TCustomAction::DoHint(String& HintStr) {
  bool CanShow = true;
  if (OnHint) OnHint(HintStr, CanShow);
  return CanShow;
}

void TCustomAction::SetCaption(const String& Value) {
  if (Value == FCaption) return;
  ForEachLink([&](TActionLink* L) { L->SetCaption(Value); });
  FCaption = Value;
  Change();
}

void TCustomAction::SetChecked(bool Value) {
  if (Value == FChecked || FChecking) return;
  FChecking = true;
  auto Done = Finally([this] { FChecking = false; });
  ForEachLink([&](TActionLink* L) { L->SetChecked(Value); });
  FChecked = Value;
  if (Value && FGroupIndex > 0 && ActionList()) {
    for (Integer I = 0; I < ActionList()->ActionCount(); ++I) {
      auto* Other = AsOrNull<TCustomAction>(ActionList()->Actions(I));
      if (Other && Other != this && Other->FGroupIndex == FGroupIndex) Other->SetChecked(false);
    }
  }
  Change();
}

void TCustomAction::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  // A list suspended with asSuspendedEnabled keeps its actions enabled.
  if (ActionList() && ActionList()->State() == asSuspendedEnabled) Value = true;
  if (Value == FEnabled) return;
  ForEachLink([&](TActionLink* L) { L->SetEnabled(Value); });
  FEnabled = Value;
  Change();
}

void TCustomAction::SetVisible(bool Value) {
  if (Value == FVisible) return;
  ForEachLink([&](TActionLink* L) { L->SetVisible(Value); });
  FVisible = Value;
  Change();
}

void TCustomAction::SetHint(const String& Value) {
  if (Value == FHint) return;
  ForEachLink([&](TActionLink* L) { L->SetHint(Value); });
  FHint = Value;
  Change();
}

void TCustomAction::SetImageIndex(Integer Value) {
  if (Value == FImageIndex) return;
  ForEachLink([&](TActionLink* L) { L->SetImageIndex(Value); });
  FImageIndex = Value;
  Change();
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (Value == FShortCut) return;
  ForEachLink([&](TActionLink* L) { L->SetShortCut(Value); });
  FShortCut = Value;
  Change();
}

void TCustomAction::SetGroupIndex(Integer Value) {
  if (Value == FGroupIndex) return;
  ForEachLink([&](TActionLink* L) { L->SetGroupIndex(Value); });
  FGroupIndex = Value;
  // A group keeps at most one action checked: a newly joined checked action
  // unchecks the others.
  if (FChecked && Value > 0 && ActionList()) {
    for (Integer I = 0; I < ActionList()->ActionCount(); ++I) {
      auto* Other = AsOrNull<TCustomAction>(ActionList()->Actions(I));
      if (Other && Other != this && Other->FGroupIndex == Value) Other->SetChecked(false);
    }
  }
  Change();
}

void TCustomAction::SetAutoCheck(bool Value) {
  if (Value == FAutoCheck) return;
  ForEachLink([&](TActionLink* L) { L->SetAutoCheck(Value); });
  FAutoCheck = Value;
  Change();
}

void TCustomAction::SetHelpContext(Integer Value) {
  if (Value == FHelpContext) return;
  ForEachLink([&](TActionLink* L) { L->SetHelpContext(Value); });
  FHelpContext = Value;
  Change();
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TAction) {
  P.Property<&TAction::Caption, &TAction::SetCaption>(L"Caption");
  P.Property<&TAction::Category, &TAction::SetCategory>(L"Category");
  P.Property<&TAction::Checked, &TAction::SetChecked>(L"Checked").Default(0);
  P.Property<&TAction::Enabled, &TAction::SetEnabled>(L"Enabled").Default(1);
  P.Property<&TAction::Visible, &TAction::SetVisible>(L"Visible").Default(1);
  P.Property<&TAction::Hint, &TAction::SetHint>(L"Hint");
  P.Property<&TAction::ImageIndex, &TAction::SetImageIndex>(L"ImageIndex").Default(-1);
  P.Property<&TAction::ShortCut, &TAction::SetShortCut>(L"ShortCut").Default(0);
  P.Property<&TAction::GroupIndex, &TAction::SetGroupIndex>(L"GroupIndex").Default(0);
  P.Property<&TAction::AutoCheck, &TAction::SetAutoCheck>(L"AutoCheck").Default(0);
  P.Property<&TAction::HelpContext, &TAction::SetHelpContext>(L"HelpContext").Default(0);
  P.Property<&TAction::DisableIfNoHandler, &TAction::SetDisableIfNoHandler>(L"DisableIfNoHandler")
      .Default(1);
  P.Property<&TAction::OnExecute, &TAction::SetOnExecute>(L"OnExecute");
  P.Property<&TAction::OnUpdate, &TAction::SetOnUpdate>(L"OnUpdate");
  P.Property<&TAction::GetOnHint, &TAction::SetOnHint>(L"OnHint");
}

IMPLEMENT_CLASS(TActionLink)

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TCustomActionList)

TCustomActionList::TCustomActionList(TComponent* AOwner)
    : TComponent(AOwner), FImageChangeLink(Create<TChangeLink>()) {
  FImageChangeLink->OnChange = MakeEvent<&TCustomActionList::ImageListChange>(this);
}

TCustomActionList::~TCustomActionList() = default;

void TCustomActionList::BeforeDestruction() {
  // The actions outlive the list when someone else owns them.
  while (!FActions.empty()) RemoveAction(FActions.back());
  SetImages(nullptr);
  inherited::BeforeDestruction();
}

TContainedAction* TCustomActionList::Actions(Integer Index) const {
  if (Index < 0 || Index >= ActionCount())
    throw EListError(Format(ClassesConsts::SListIndexError, {Index}));
  return FActions[static_cast<size_t>(Index)];
}

void TCustomActionList::AddAction(TContainedAction* Action) {
  if (Action->FActionList == this) return;
  FActions.push_back(Action);
  Action->FActionList = this;
  Action->FreeNotification(this);
  Change();
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
  auto It = std::find(FActions.begin(), FActions.end(), Action);
  if (It == FActions.end()) return;
  FActions.erase(It);
  Action->FActionList = nullptr;
  Action->RemoveFreeNotification(this);
  if (!ComponentState().Contains(csDestroying)) Change();
}

void TCustomActionList::Change() {
  if (OnChange) OnChange(this);
}

void TCustomActionList::SetChildOrder(TComponent* Child, Integer Order) {
  if (auto* A = AsOrNull<TContainedAction>(Child); A && A->FActionList == this) A->SetIndex(Order);
}

void TCustomActionList::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TContainedAction* A : FActions)
    if (A->Owner() == Root) Proc(A);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FImages) {
    FImages = nullptr;
    Change();
  }
  if (auto* A = AsOrNull<TContainedAction>(AComponent)) RemoveAction(A);
}

void TCustomActionList::SetImages(TCustomImageList* Value) {
  if (ReplaceImageList(FImages, Value, FImageChangeLink.get(), this) &&
      !ComponentState().Contains(csDestroying))
    Change();
}

void TCustomActionList::ImageListChange(TObject*) { Change(); }

void TCustomActionList::SetState(TActionListState Value) {
  if (Value == FState) return;
  FState = Value;
  if (Value == asSuspendedEnabled)
    for (TContainedAction* A : std::vector<TContainedAction*>(FActions))
      if (auto* CA = AsOrNull<TCustomAction>(A)) CA->SetEnabled(true);
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnExecute) OnExecute(Action, Handled);
  return Handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  bool Handled = false;
  if (OnUpdate) OnUpdate(Action, Handled);
  return Handled;
}

bool TCustomActionList::IsShortCut(TShortCut ShortCut) {
  if (ShortCut == 0 || FState != asNormal) return false;
  for (TContainedAction* A : std::vector<TContainedAction*>(FActions)) {
    auto* Action = AsOrNull<TCustomAction>(A);
    if (!Action || Action->ShortCut() != ShortCut) continue;
    // The state may have changed since the last idle moment.
    Action->Update();
    if (!Action->Enabled() || !Action->Visible()) continue;
    Action->Execute();
    return true;
  }
  return false;
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TActionList) {
  P.Property<&TActionList::Images, &TActionList::SetImages>(L"Images");
  P.Property<&TActionList::State, &TActionList::SetState>(L"State", ListStateInfo)
      .Default(asNormal);
  P.Property<&TActionList::GetOnExecute, &TActionList::SetOnExecute>(L"OnExecute");
  P.Property<&TActionList::GetOnUpdate, &TActionList::SetOnUpdate>(L"OnUpdate");
  P.Property<&TActionList::GetOnChange, &TActionList::SetOnChange>(L"OnChange");
}

void ActnList_Initialize() {
  RegisterClasses({TAction::StaticClass(), TActionList::StaticClass()});
}
