#include <algorithm>

#include "Classes.h"
#include "WinHandles.h"

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TBasicActionLink)

void TBasicActionLink::AfterConstruction() {
  inherited::AfterConstruction();
  AssignClient(FPendingClient);
}

void TBasicActionLink::BeforeDestruction() {
  if (FAction) FAction->UnRegisterChanges(this);
  inherited::BeforeDestruction();
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (Value) Value->RegisterChanges(this);
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  FAction->SetActionComponent(AComponent);
  // The sender is only valid while the action runs, on every path.
  auto Clear = Finally([this] {
    if (FAction) FAction->SetActionComponent(nullptr);
  });
  return FAction->Execute();
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

void TBasicActionLink::Change() {
  if (OnChange) OnChange(FAction);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TBasicAction)

void TBasicAction::BeforeDestruction() {
  while (!FClients.empty()) FClients.back()->SetAction(nullptr);
  inherited::BeforeDestruction();
}

bool TBasicAction::Execute() {
  if (!FOnExecute) return false;
  FOnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!FOnUpdate) return false;
  FOnUpdate(this);
  return true;
}

void TBasicAction::SetActionComponent(TComponent* Value) {
  if (Value == FActionComponent) return;
  if (FActionComponent) FActionComponent->RemoveFreeNotification(this);
  FActionComponent = Value;
  if (Value) Value->FreeNotification(this);
}

void TBasicAction::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FActionComponent) FActionComponent = nullptr;
}

void TBasicAction::SetOnExecute(TNotifyEvent Value) {
  if (Value == FOnExecute) return;
  // Clients whose click handler was the old OnExecute follow the new one.
  for (TBasicActionLink* Link : std::vector<TBasicActionLink*>(FClients)) Link->SetOnExecute(Value);
  FOnExecute = Value;
  Change();
}

void TBasicAction::SetOnUpdate(TNotifyEvent Value) {
  if (Value == FOnUpdate) return;
  FOnUpdate = Value;
  Change();
}

void TBasicAction::RegisterChanges(TBasicActionLink* Value) {
  if (std::find(FClients.begin(), FClients.end(), Value) != FClients.end()) return;
  Value->FAction = this;
  FClients.push_back(Value);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* Value) {
  auto It = std::find(FClients.begin(), FClients.end(), Value);
  if (It == FClients.end()) return;
  FClients.erase(It);
  Value->FAction = nullptr;
}

TBasicActionLink* TBasicAction::Clients(Integer Index) const {
  if (Index < 0 || Index >= ClientCount())
    throw EListError(Format(ClassesConsts::SListIndexError, {Index}));
  return FClients[static_cast<size_t>(Index)];
}

void TBasicAction::Change() {
  if (FOnChange) FOnChange(this);
}

// ---------------------------------------------------------------------------
bool TComponent::ExecuteAction(TBasicAction* Action) {
  if (!Action || !Action->HandlesTarget(this)) return false;
  Action->ExecuteTarget(this);
  return true;
}

bool TComponent::UpdateAction(TBasicAction* Action) {
  if (!Action || !Action->HandlesTarget(this)) return false;
  Action->UpdateTarget(this);
  return true;
}
