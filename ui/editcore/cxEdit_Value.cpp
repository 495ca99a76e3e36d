// The editor's value: modification flags, user actions, the OnEditing veto,
// change events, validation, posting, and the enter and exit sequences.
#include "cxEdit.h"

#include "Forms.h"

using cxEditDetail::WithoutUserAction;

// ---------------------------------------------------------------------------
// Properties' side of validation
void TcxCustomEditProperties::ValidateDisplayValue(Variant& ADisplayValue, String& AErrorText,
                                                   bool& AError, TcxCustomEdit* AEdit) {
  if (!CanValidate()) return;
  if (AErrorText.empty()) AErrorText = GetValidateErrorText(ekDefault);
  bool AIsUserErrorDisplayValue = false;
  DoValidate(ADisplayValue, AErrorText, AError, AEdit, AIsUserErrorDisplayValue);
}

void TcxCustomEditProperties::DoValidate(Variant& ADisplayValue, String& AErrorText, bool& AError,
                                         TcxCustomEdit* AEdit, bool& AIsUserErrorDisplayValue) {
  AIsUserErrorDisplayValue = false;
  if (!AEdit || !AEdit->HasOnValidate()) return;
  const Variant APrevDisplayValue = ADisplayValue;
  AEdit->DoOnValidate(ADisplayValue, AErrorText, AError);
  if (!AError) return;
  AIsUserErrorDisplayValue = VarToStr(APrevDisplayValue) != VarToStr(ADisplayValue);
  if (!AIsUserErrorDisplayValue) ADisplayValue = AEdit->GetDisplayValue();
}

// ---------------------------------------------------------------------------
// Change events
void TcxEditChangeEventsCatcher::Lock(bool ALock, bool AInvokeChangedOnUnlock) {
  if (ALock) {
    if (FLockCount == 0) FOnChangeEvent = FOnEditValueChangedEvent = false;
    ++FLockCount;
    return;
  }
  if (FLockCount == 0) return;
  --FLockCount;
  if (FLockCount == 0 && AInvokeChangedOnUnlock) InvokeEditChangedEvents();
}

void TcxEditChangeEventsCatcher::InvokeEditChangedEvents() {
  if (FEdit->IsLoading() || FEdit->IsDestroying()) return;
  if (FOnChangeEvent && FEdit->GetActiveProperties()->OnChange()) {
    FOnChangeEvent = false;
    FEdit->DoOnChange();
  }
  if (FOnEditValueChangedEvent && FEdit->GetActiveProperties()->OnEditValueChanged()) {
    FOnEditValueChangedEvent = false;
    FEdit->DoOnEditValueChanged();
  }
}

void TcxCustomEdit::DoChange() {
  if (IsLoading() || IsDestroying()) return;
  if (FProperties->OnChange() || GetActiveProperties()->OnChange()) {
    if (AreChangeEventsLocked()) {
      FChangeEventsCatcher->CatchChange();
    } else if (FIsInplace) {
      SaveModified();
      auto ARestore = Finally([this] { RestoreModified(); });
      FModified = FModifiedAfterEnter = true;
      DoOnChange();
    } else {
      DoOnChange();
    }
  }
  if (!GetActiveProperties()->HasDisplayValue() && !GetActiveProperties()->CanCompareEditValue())
    DoEditValueChanged();
}

void TcxCustomEdit::DoEditValueChanged() {
  if (IsLoading() || IsDestroying()) return;
  if (!FProperties->OnEditValueChanged() && !GetActiveProperties()->OnEditValueChanged()) return;
  if (AreChangeEventsLocked()) {
    FChangeEventsCatcher->CatchEditValueChange();
  } else if (FIsInplace) {
    SaveModified();
    auto ARestore = Finally([this] { RestoreModified(); });
    FModified = FModifiedAfterEnter = true;
    DoOnEditValueChanged();
  } else {
    DoOnEditValueChanged();
  }
}

void TcxCustomEdit::DoOnChange() {
  WithoutUserAction(this, [this] {
    if (FProperties->OnChange()) FProperties->OnChange()(this);
    if (GetActiveProperties() != FProperties.get() && GetActiveProperties()->OnChange())
      GetActiveProperties()->OnChange()(this);
  });
}

void TcxCustomEdit::DoOnEditValueChanged() {
  WithoutUserAction(this, [this] {
    if (FProperties->OnEditValueChanged()) FProperties->OnEditValueChanged()(this);
    if (GetActiveProperties() != FProperties.get() && GetActiveProperties()->OnEditValueChanged())
      GetActiveProperties()->OnEditValueChanged()(this);
  });
}

void TcxCustomEdit::ChangeHandler(TObject*) {
  if (Focused())
    SetModifiedAfterEnter(true);
  else if (!GetActiveProperties()->IsChanging())
    FDataBinding->SetModified();
  DoChange();
}

// ---------------------------------------------------------------------------
// Flags and brackets
void TcxCustomEdit::SetModified(bool Value) {
  FModified = Value;
  if (!Value) FModifiedAfterEnter = false;
}

void TcxCustomEdit::SetModifiedAfterEnter(bool Value) {
  FModifiedAfterEnter = Value;
  if (Value) {
    FIsEditValidated = false;
    FModified = true;
  }
}

void TcxCustomEdit::SaveModified() {
  FPrevModifiedList.push_back(TModifiedState{FModified, FModifiedAfterEnter});
}

void TcxCustomEdit::RestoreModified() {
  if (FPrevModifiedList.empty()) return;
  FModified = FPrevModifiedList.back().Modified;
  FModifiedAfterEnter = FPrevModifiedList.back().ModifiedAfterEnter;
  FPrevModifiedList.pop_back();
}

void TcxCustomEdit::LockClick(bool ALock) {
  if (ALock)
    ++FClickLockCount;
  else if (FClickLockCount > 0)
    --FClickLockCount;
}

void TcxCustomEdit::LockEditValueChanging(bool ALock) {
  if (ALock)
    ++FEditValueChangingLockCount;
  else if (FEditValueChangingLockCount > 0)
    --FEditValueChangingLockCount;
}

// ---------------------------------------------------------------------------
// Editing
bool TcxCustomEdit::CanModify() {
  if (FIsInplace) return GetActiveProperties()->CanModify();
  TcxCustomEditProperties* P = GetActiveProperties();
  const bool AAssigned = P->GetAssignedValues()->GetReadOnly();
  if (AAssigned && !P->PublishedReadOnly()) return true;
  if (AAssigned) return false;
  IcxEditDefaultValuesProvider* AProvider = P->GetIDefaultValuesProvider();
  return !AProvider || (AProvider->DefaultCanModify() && AProvider->CanSetEditMode());
}

bool TcxCustomEdit::DoEditing() {
  if (!InternalDoEditing()) return false;
  if (FDataBinding->GetModified()) return true;
  bool AResult = !IsUserAction() || CanModify();
  if (!AResult) return false;
  FEditModeSetting = true;
  auto AReset = Finally([this] { FEditModeSetting = false; });
  if (FIsInplace) {
    if (FOnEditing) {
      LockEditValueChanging(true);
      auto AUnlock = Finally([this] { LockEditValueChanging(false); });
      FOnEditing(this, AResult);
    }
    return AResult;
  }
  const bool AEditing = FDataBinding->GetEditing();
  if (FOnEditing) FOnEditing(this, AResult);
  if (AEditing && AResult) {
    FDataBinding->SetModified();
  } else if (!AEditing && AResult) {
    LockEditValueChanging(true);
    auto AUnlock = Finally([this] { LockEditValueChanging(false); });
    AResult = FDataBinding->SetEditMode();
  }
  return AResult;
}

// ---------------------------------------------------------------------------
// Setting the value
void TcxCustomEdit::SetEditValue(const Variant& Value) {
  if (IsEditValueChangingLocked()) return;
  LockClick(true);
  auto AUnlock = Finally([this] { LockClick(false); });
  if (IsUserAction() && !DoEditing()) return;
  InternalSetEditValue(Value, true);
}

void TcxCustomEdit::SetInternalEditValue(const Variant& Value) {
  if (IsEditValueChangingLocked()) return;
  if (IsUserAction() && !DoEditing()) return;
  InternalSetEditValue(Value, true);
}

void TcxCustomEdit::SetValidatableEditValue(const Variant& Value) {
  BeginUserAction();
  auto AEnd = Finally([this] { EndUserAction(); });
  SetEditValue(Value);
}

void TcxCustomEdit::InternalSetEditValue(const Variant& Value, bool) {
  if (IsUserAction() && !DoEditing()) return;
  const bool AEditValueChanged =
      GetActiveProperties()->CanCompareEditValue() && !cxEditVarEquals(Value, FEditValue);
  InternalStoreEditValue(Value);
  SynchronizeDisplayValue();
  if (IsUserAction())
    SetModifiedAfterEnter(true);
  else
    SetModified(false);
  if (AEditValueChanged) {
    DoEditValueChanged();
    if (!GetActiveProperties()->HasDisplayValue()) DoChange();
  }
}

Variant TcxCustomEdit::GetEditingValue() {
  if (Focused() && !FIsEditValidated && FModifiedAfterEnter) return InternalGetEditingValue();
  return FEditValue;
}

Variant TcxCustomEdit::GetDisplayValue() { return Variant(GetDisplayText()); }

void TcxCustomEdit::Clear() { SetEditValue(GetClearValue()); }

// ---------------------------------------------------------------------------
// Validation
bool TcxCustomEdit::HasOnValidate() {
  return static_cast<bool>(FProperties->OnValidate()) ||
         (GetActiveProperties() != FProperties.get() && GetActiveProperties()->OnValidate());
}

void TcxCustomEdit::DoOnValidate(Variant& ADisplayValue, String& AErrorText, bool& AError) {
  if (FProperties->OnValidate()) FProperties->OnValidate()(this, ADisplayValue, AErrorText, AError);
  if (GetActiveProperties() != FProperties.get() && GetActiveProperties()->OnValidate())
    GetActiveProperties()->OnValidate()(this, ADisplayValue, AErrorText, AError);
}

void TcxCustomEdit::DoValidateDisplayValue(Variant& ADisplayValue, String& AErrorText,
                                           bool& AError) {
  if (GetActiveProperties()->CanValidate())
    GetActiveProperties()->ValidateDisplayValue(ADisplayValue, AErrorText, AError, this);
}

void TcxCustomEdit::InternalValidateDisplayValue(const Variant& ADisplayValue) {
  SaveModified();
  auto ARestore = Finally([this] { RestoreModified(); });
  InternalSetDisplayValue(ADisplayValue);
}

Variant TcxCustomEdit::GetValueToValidate() {
  if (!FModifiedAfterEnter && !VarIsNull(FEditValue)) return InternalGetValueToValidate();
  return GetDisplayValue();
}

bool TcxCustomEdit::InternalValidateEdit(TcxEditValidationOptions AValidationOptions,
                                         bool AForceValidation) {
  if (!AForceValidation && !(FModifiedAfterEnter && !FIsEditValidated && FLockValidate == 0))
    return !FValidationError;
  DisableUserAction();
  auto AEnable = Finally([this] { EnableUserAction(); });
  FIsEditValidating = true;
  auto AValidated = Finally([this] { FIsEditValidating = false; });

  Variant ADisplayValue = GetValueToValidate();
  const Variant AValueToValidate = ADisplayValue;
  FValidationErrorText = String();
  const bool APrevError = FValidationError;
  FValidationError = false;
  TcxCustomEditProperties* P = GetActiveProperties();
  P->InternalValidationOptions() = AValidationOptions;
  DoValidateDisplayValue(ADisplayValue, FValidationErrorText, FValidationError);
  AValidationOptions = P->InternalValidationOptions();
  if ((FValidationError != APrevError || FValidationError) && HandleAllocated())
    PostMessageW(Handle(), DXM_SHORTREFRESHCONTAINER, 0, 0);
  const bool AResult = !FValidationError;

  if (FValidationError) {
    auto AShowValue = Finally([&] {
      if (VarToStr(GetValueToValidate()) != VarToStr(ADisplayValue)) {
        SetInternalDisplayValue(ADisplayValue);
        if (Visible()) {
          SelectAll();
          if (!IsEditClass()) UpdateDrawValue();
        }
      }
    });
    HandleValidationError(FValidationErrorText, AValidationOptions, !AForceValidation);
  }
  if (!FValidationError || AValidationOptions.Contains(evoAllowLoseFocus)) {
    const bool AUnchanged = !FModifiedAfterEnter &&
                            VarType(AValueToValidate) == VarType(ADisplayValue) &&
                            VarEquals(AValueToValidate, ADisplayValue);
    if (!AUnchanged && !(IsUserAction() && !DoEditing())) {
      InternalValidateDisplayValue(ADisplayValue);
      if (!FIsInplace && !Focused()) FModifiedAfterEnter = false;
      FIsEditValidated = true;
    }
  }
  return AResult;
}

bool TcxCustomEdit::InternalValidateEdit(bool AForceValidation) {
  return InternalValidateEdit(GetActiveProperties()->GetValidationOptions(), AForceValidation);
}

bool TcxCustomEdit::ValidateEdit(bool ARaiseExceptionOnError) {
  return InternalValidateEdit(ARaiseExceptionOnError ? TcxEditValidationOptions{evoRaiseException}
                                                     : TcxEditValidationOptions{},
                              true);
}

bool TcxCustomEdit::ValidateEdit() { return InternalValidateEdit(true); }

void TcxCustomEdit::HandleValidationError(const String& AErrorText,
                                          TcxEditValidationOptions AValidationOptions,
                                          bool ACanAbortExecution) {
  const bool AExceptionDue = !AErrorText.empty() && AValidationOptions.Contains(evoRaiseException);
  if (!CanFocus()) {
    FIsEditValidated = true;
  } else if (HandleAllocated() && IsWindowVisible(Handle())) {
    const bool ACanLoseFocus =
        GetActiveProperties()->GetValidationOptions().Contains(evoAllowLoseFocus) && !AExceptionDue;
    if (!Focused() && !ACanLoseFocus) {
      FValidateErrorProcessing = true;
      auto AEnd = Finally([this] { FValidateErrorProcessing = false; });
      TWinControl* ATarget = InnerControl() && InnerControl()->CanFocus() ? InnerControl() : this;
      ::SetFocus(ATarget->Handle());
    }
    if (Focused()) SelectAll();
  }
  if (GetActiveProperties()->GetBeepOnError()) cxEditMessageBeep();
  if (AExceptionDue) throw EcxEditValidationError(AErrorText);
  if (ACanAbortExecution && !AValidationOptions.Contains(evoAllowLoseFocus)) Abort();
}

void TcxCustomEdit::RollBackErrorState() {
  FValidationError = FPrevValidationError;
  FPrevValidationError = false;
  if (HandleAllocated()) PostMessageW(Handle(), DXM_SHORTREFRESHCONTAINER, 0, 0);
}

void TcxCustomEdit::SetPrevEditValue(const Variant& Value) {
  FPrevEditValue = Value;
  if (!FValidateErrorProcessing) FPrevValidationError = FValidationError;
}

// ---------------------------------------------------------------------------
// Posting
bool TcxCustomEdit::CanPostEditValue() {
  return !IsDesigning() && FDataBinding->CanPostEditorValue();
}

void TcxCustomEdit::DoPostEditValue() {
  WithoutUserAction(this, [this] {
    if (FOnPostEditValue) FOnPostEditValue(this);
  });
}

void TcxCustomEdit::InternalPostEditValue(bool AValidateEdit) {
  if (AValidateEdit) {
    bool AValid = false;
    WithoutUserAction(this, [&] { AValid = InternalValidateEdit(false); });
    if (!AValid) return;
  }
  try {
    BeforePosting();
    auto AAfter = Finally([this] { AfterPosting(); });
    if (FIsInplace) {
      DoPostEditValue();
      SetModified(false);
    } else if (FDataBinding->GetModified()) {
      FDataBinding->SetStoredValue(FEditValue);
    }
  } catch (...) {
    if (CanShowValidationErrorOnPostEditValue()) {
      HandleValidationError(String(), GetActiveProperties()->GetValidationOptions(), false);
      throw;
    }
    // The host asked for no error; the user still learns of it, and the
    // value stays modified so that nothing is lost.
    HandleCallbackException(this);
  }
}

void TcxCustomEdit::PostEditValue() {
  if (CanPostEditValue())
    InternalPostEditValue(true);
  else if (Focused())
    InternalPostValue();
}

void TcxCustomEdit::InternalPostValue() {
  if (!DoEditing()) return;
  SetModifiedAfterEnter(true);
  FIsEditValidated = true;
  auto AClear = Finally([this] { FModifiedAfterEnter = false; });
  InternalPostEditValue(false);
}

// ---------------------------------------------------------------------------
// Enter, exit and focus
void TcxCustomEdit::DoShowEdit() {
  SaveModified();
  auto ARestore = Finally([this] {
    RestoreModified();
    FModifiedAfterEnter = false;
  });
  if (!FValidateErrorProcessing) {
    inherited::DoEnter();
    if (UpdateContentOnFocusChanging()) FDataBinding->UpdateDisplayValue();
  }
  if (GetActiveProperties()->IsResetEditClass()) SetPrevEditValue(FEditValue);
  if (UpdateContentOnFocusChanging()) SynchronizeDisplayValue();
}

void TcxCustomEdit::DoHideEdit(bool AExit) {
  if (IsDestroying() || FValidateErrorProcessing) return;
  SaveModified();
  FIsHiding = true;
  bool ARestored = false;
  // A value refused on the way out stays modified, so that the next attempt
  // to leave validates it again.
  bool AExited = false;
  auto AEnd = Finally([&] {
    if (!ARestored) RestoreModified();
    if (AExited) FModifiedAfterEnter = false;
    FIsHiding = false;
  });
  {
    LockChangeEvents(true);
    auto AUnlock = Finally([this] { LockChangeEvents(false); });
    InternalValidateEdit(false);
    if (!FIsInplace && CanPostEditValue()) InternalPostEditValue(false);
  }
  if (UpdateContentOnFocusChanging()) FDataBinding->UpdateDisplayValue();
  UpdateDrawValue();
  ShortRefreshContainer(false);
  RestoreModified();
  ARestored = true;
  AExited = true;
  if (AExit) inherited::DoExit();
}

void TcxCustomEdit::DoFocusChanged() {
  UpdateDrawValue();
  TCustomForm* AForm = ::GetParentForm(this);
  if (AForm && AForm->IsModal() && !AForm->Visible() && AForm->ModalResult() != mrNone &&
      AForm->ModalResult() != mrCancel)
    InternalValidateEdit(false);
}

void TcxCustomEdit::DoValidateOnEnter() {
  LockChangeEvents(true);
  auto AUnlock = Finally([this] { LockChangeEvents(false); });
  if (InternalValidateEdit(false) && CanPostEditValue()) InternalPostEditValue(false);
}

bool TcxCustomEdit::Deactivate() {
  FDblClickTimer->SetEnabled(false);
  FUserActionCount = 0;
  const bool AResult = InternalValidateEdit(false);
  if (AResult) {
    SynchronizeDisplayValue();
    FIsEditValidated = true;
  }
  return AResult;
}

void TcxCustomEdit::ResetEditValue() {
  if (!FModifiedAfterEnter || !GetActiveProperties()->IsResetEditClass()) return;
  LockChangeEvents(true);
  auto AUnlock = Finally([this] { LockChangeEvents(false); });
  FModifiedAfterEnter = false;
  if (FDataBinding->IsDataStorage())
    SetInternalEditValue(FDataBinding->GetStoredValue());
  else
    SetInternalEditValue(FPrevEditValue);
  RollBackErrorState();
  FModified = true;
  SelectAll();
  if (GetActiveProperties()->GetImmediatePost() && CanPostEditValue()) InternalPostEditValue(false);
}
