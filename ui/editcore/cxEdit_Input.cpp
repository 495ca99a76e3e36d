// The editor's input: keys, mouse, focus, in-place activation and the
// clipboard messages.
#include "cxEdit.h"

#include "Forms.h"
#include "Menus.h"
#include "dxSpellCheckerCore.h"

using cxEditDetail::AsUserAction;
using cxEditDetail::WithoutUserAction;

// ---------------------------------------------------------------------------
// Keys
bool TcxCustomEdit::IsEditorKey(Word Key, TShiftState Shift) {
  return IsDefaultButtonKey(ShortCut(Key, Shift));
}

bool TcxCustomEdit::NeedsInvokeAfterKeyDown(Word AKey, TShiftState AShift) {
  return (AKey == VK_INSERT && !AShift.Contains(ssShift) && !AShift.Contains(ssCtrl)) ||
         (AKey == VK_DELETE && !AShift.Contains(ssShift));
}

void TcxCustomEdit::DoAfterKeyDown(Word& Key, TShiftState Shift) {
  WithoutUserAction(this, [&] {
    if (FOnAfterKeyDown) FOnAfterKeyDown(this, Key, Shift);
  });
}

void TcxCustomEdit::KeyDown(Word& Key, TShiftState Shift) {
  AsUserAction(this, [&] {
    FIsKeyPressHandled = false;
    if (!IsEditorKey(Key, Shift)) WithoutUserAction(this, [&] { inherited::KeyDown(Key, Shift); });
    if (Key == 0) return;
    DoEditKeyDown(Key, Shift);
    if (Key != 0 && NeedsInvokeAfterKeyDown(Key, Shift)) DoAfterKeyDown(Key, Shift);
  });
  if (Key != 0) dxSpellCheckerNotifyKeyDown(Key, Shift);
}

void TcxCustomEdit::DoEditKeyDown(Word& Key, TShiftState Shift) {
  const TShortCut S = ShortCut(Key, Shift);
  TcxCustomEditProperties* P = GetActiveProperties();
  if (S != 0 && S == P->GetClearKey()) {
    LockChangeEvents(true);
    auto AUnlock = Finally([this] { LockChangeEvents(false); });
    AsUserAction(this, [this] { SetInternalEditValue(GetClearValue()); });
    if (P->GetImmediatePost() && CanPostEditValue()) InternalPostEditValue(false);
    FIsEditValidated = true;
    Key = 0;
    return;
  }
  if (IsDefaultButtonKey(S)) {
    if (HandleAllocated()) dxMessagesController()->KillMessages(Handle(), WM_CHAR, 0, false);
    DefaultButtonClick();
    Key = 0;
    return;
  }
  if (!ValidateKeyDown(Key, Shift)) {
    DoAfterKeyDown(Key, Shift);
    Key = 0;
    return;
  }
  WithoutUserAction(this, [&] {
    switch (Key) {
      case VK_TAB:
        if (Focused() && !Shift.Contains(ssCtrl) && !Shift.Contains(ssAlt) &&
            !P->InnerEditNeedsTabs()) {
          EnableUserAction();
          {
            auto ADisable = Finally([this] { DisableUserAction(); });
            DoEditProcessTab(Shift);
          }
          DoAfterKeyDown(Key, Shift);
          if (Key == 0) break;
          Key = 0;
          if (TCustomForm* AForm = ::GetParentForm(this)) {
            AForm->SelectNext(AForm->ActiveControl() ? AForm->ActiveControl() : this,
                              !Shift.Contains(ssShift), true);
            if (HasInnerControlHandle() && HandleAllocated() && GetFocus() == Handle())
              ::SetFocus(InnerControl()->Handle());
          }
        }
        break;
      case VK_RETURN:
        if (P->GetValidateOnEnter()) {
          Key = 0;
          DoValidateOnEnter();
        }
        break;
      case VK_ESCAPE:
        if (FModifiedAfterEnter && (FDataBinding->IsDataStorage() || P->IsResetEditClass())) {
          {
            LockChangeEvents(true);
            auto AUnlock = Finally([this] { LockChangeEvents(false); });
            FDataBinding->Reset();
          }
          SetModified(true);
          FIsKeyPressHandled = true;
          Key = 0;
        }
        break;
      case VK_PRIOR:
      case VK_NEXT:
      case VK_END:
      case VK_HOME:
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN:
        if (!WantNavigationKeys()) {
          DoAfterKeyDown(Key, Shift);
          Key = 0;
        }
        break;
      default:
        break;
    }
  });
}

bool TcxCustomEdit::ValidateKeyDown(Word& Key, TShiftState Shift) {
  return FDataBinding->GetModified() || !CanKeyDownModifyEdit(Key, Shift) || DoEditing();
}

void TcxCustomEdit::KeyPress(Char& Key) {
  if (FIsKeyPressHandled) {
    FIsKeyPressHandled = false;
    Key = 0;
    return;
  }
  inherited::KeyPress(Key);
  if (Key == 0) return;
  AsUserAction(this, [&] { DoEditKeyPress(Key); });
  if (Key != 0) dxSpellCheckerNotifyKeyPress(Key);
}

bool TcxCustomEdit::IsValidChar(Char) { return true; }

bool TcxCustomEdit::ValidateKeyPress(Char& Key) {
  if (IsTextChar(Key) && !IsValidChar(Key)) {
    Key = 0;
    cxEditMessageBeep();
  } else if (CanKeyPressModifyEdit(Key) && !DoEditing()) {
    Key = 0;
  }
  return Key != 0;
}

void TcxCustomEdit::KeyUp(Word& Key, TShiftState Shift) {
  inherited::KeyUp(Key, Shift);
  if (Key != 0) DoEditKeyUp(Key, Shift);
  if (Key != 0) dxSpellCheckerNotifyKeyUp(Key, Shift);
}

// ---------------------------------------------------------------------------
// Buttons
void TcxCustomEdit::DoButtonClick(Integer AButtonVisibleIndex) {
  WithoutUserAction(this, [&] {
    TcxCustomEditViewInfo* V = GetEditViewInfo();
    if (AButtonVisibleIndex >= 0 && AButtonVisibleIndex < V->ButtonCount())
      if (TcxEditButtonActionLink* ALink = V->ButtonsInfo[AButtonVisibleIndex]->Data.ActionLink)
        ALink->Execute(this);
    if (FProperties->OnButtonClick()) FProperties->OnButtonClick()(this, AButtonVisibleIndex);
    if (GetActiveProperties() != FProperties.get() && GetActiveProperties()->OnButtonClick())
      GetActiveProperties()->OnButtonClick()(this, AButtonVisibleIndex);
  });
}

void TcxCustomEdit::DoClosePopup(TcxEditCloseUpReason AReason) {
  if (FProperties->OnClosePopup()) FProperties->OnClosePopup()(this, AReason);
  if (GetActiveProperties() != FProperties.get() && GetActiveProperties()->OnClosePopup())
    GetActiveProperties()->OnClosePopup()(this, AReason);
}

// ---------------------------------------------------------------------------
// Mouse
void TcxCustomEdit::DefaultButtonClick() {
  const Integer AIndex = GetDefaultButtonVisibleIndex();
  if (AIndex >= 0) DoButtonClick(AIndex);
}

bool TcxCustomEdit::IsDefaultButtonKey(TShortCut AShortCut) {
  return AShortCut == GetActiveProperties()->GetClickKey() && GetDefaultButtonVisibleIndex() >= 0;
}

void TcxCustomEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  if (Button == mbLeft && FDblClickTimer->Enabled()) {
    FDblClickTimer->SetEnabled(false);
    if (ButtonVisibleIndexAt(TPoint{X, Y}) < 0) DblClick();
  }
  inherited::MouseDown(Button, Shift, X, Y);
  // The press is tracked through the view info even before the mouse moved.
  if (!IsMouseTracking()) RefreshContainer(TPoint{X, Y}, ButtonTocxButton(Button), Shift, true);
  if (Button != mbLeft || !HandleAllocated() || GetCapture() != Handle()) return;
  const Integer AIndex = ButtonVisibleIndexAt(TPoint{X, Y});
  TcxCustomEditViewInfo* V = GetEditViewInfo();
  if (AIndex >= 0 && V->ButtonsInfo[AIndex]->Data.State == ebsPressed)
    FCaptureButtonVisibleIndex = AIndex;
}

void TcxCustomEdit::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) FCaptureButtonVisibleIndex = -1;
}

void TcxCustomEdit::DblClickTimerHandler(TObject*) { FDblClickTimer->SetEnabled(false); }

void TcxCustomEdit::DblClick() {
  const TPoint P = ScreenToClient(GetMouseCursorPos());
  if (ButtonVisibleIndexAt(P) < 0) return inherited::DblClick();
  // A double click on a button is a second press and click of it.
  TShiftState AShift = GetShiftState();
  AShift.Include(ssLeft);
  MouseDown(mbLeft, AShift, P.x, P.y);
  Click();
}

void TcxCustomEdit::Click() {
  if (IsDestroying() || FClickLockCount > 0) return;
  if (IsLoading() && !IsClickEnabledDuringLoading()) return;
  inherited::Click();
}

bool TcxCustomEdit::DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) {
  bool AResult = false;
  AsUserAction(this, [&] { AResult = inherited::DoMouseWheel(Shift, WheelDelta, MousePos); });
  return AResult;
}

// ---------------------------------------------------------------------------
// Focus
void TcxCustomEdit::FocusChanged() {
  if (IsDestroying() || FValidateErrorProcessing) return;
  const bool AFocused = Focused() && GetActiveWindow() != nullptr;
  if (AFocused == FFocused) return;
  FFocused = AFocused;
  inherited::FocusChanged();
  DoFocusChanged();
}

void TcxCustomEdit::DoEnter() {
  if (IsDestroying()) return;
  DoShowEdit();
  ShortRefreshContainer(false);
  dxSpellCheckerNotifyFocusGained(InnerControl() ? InnerControl() : this);
}

void TcxCustomEdit::DoExit() {
  WithoutUserAction(this, [this] {
    dxSpellCheckerNotifyFocusLost();
    DoHideEdit(true);
  });
}

void TcxCustomEdit::CMEnter(TMessage& Message) {
  inherited::CMEnter(Message);
  if (FInnerEdit && FDataBinding->CanModify() && !GetActiveProperties()->GetReadOnly())
    FInnerEdit->SetReadOnly(false);
}

void TcxCustomEdit::CMShowingChanged(TMessage& Message) {
  inherited::CMShowingChanged(Message);
  if (Showing()) SetSize();
}

bool TcxCustomEdit::CanFocusOnClick() { return inherited::CanFocusOnClick() && FNeedFocusOnClick; }

void TcxCustomEdit::CreateHandle() {
  inherited::CreateHandle();
  if (Focused() && HasInnerControlHandle()) ::SetFocus(InnerControl()->Handle());
}

bool TcxCustomEdit::IsActiveControl() {
  if (Focused()) return true;
  TCustomForm* AForm = ::GetParentForm(this);
  return AForm && (AForm->ActiveControl() == this ||
                   (InnerControl() && AForm->ActiveControl() == InnerControl()));
}

void TcxCustomEdit::DoSetFocusWhenActivate() {
  SetFocus();
  if (GetActiveProperties()->GetAutoSelect()) SelectAll();
}

// ---------------------------------------------------------------------------
// In-place activation
void TcxCustomEdit::DoClearEditData(TcxCustomEditData*) {}

void TcxCustomEdit::Activate(TcxCustomEditData*& AEditData, bool ANeedSetFocus) {
  if (!AEditData)
    if (TClass AClass = GetEditDataClass()) {
      TObject* AObject = AClass->Create(this);
      AEditData = dynamic_cast<TcxCustomEditData*>(AObject);
      if (!AEditData && AObject) AObject->Free();
    }
  FEditData = AEditData;
  if (FEditData && FEditData->Cleared()) {
    InitializeEditData();
    FEditData->SetCleared(false);
  }
  SetVisible(true);
  SynchronizeDisplayValue();
  SetModified(false);
  if (HandleAllocated() && CanFocus() && ANeedSetFocus) DoSetFocusWhenActivate();
}

void TcxCustomEdit::ActivateByKey(wchar_t Key, TcxCustomEditData*& AEditData) {
  Activate(AEditData, true);
  if (SendActivationKey(Key)) {
    FIsKeyPressHandled = false;
    SendKeyPress(this, Key);
  }
}

void TcxCustomEdit::ActivateByMouse(TShiftState Shift, Integer X, Integer Y,
                                    TcxCustomEditData*& AEditData) {
  Activate(AEditData, FNeedFocusOnClick);
  TPoint P{X - Left(), Y - Top()};
  if (Shift.Contains(ssLeft)) {
    SendMouseEvent(this, WM_MOUSEMOVE, TShiftState(), P);
    SendMouseEvent(this, WM_LBUTTONDOWN, Shift, P);
    if (HandleAllocated() && GetCapture() == Handle() && GetAsyncKeyState(VK_LBUTTON) >= 0)
      ReleaseCapture();
  } else {
    SendMouseEvent(this, WM_LBUTTONUP, Shift, P);
  }
  if (DoubleClickActivation()) FDblClickTimer->SetEnabled(true);
}

// ---------------------------------------------------------------------------
// Hints
String TcxCustomEdit::GetHintText(Integer APart) {
  String AText = GetEditViewInfo()->GetHintText(APart);
  if (AText.empty() && ShowHint()) AText = GetHint();
  return AText;
}

String TcxCustomEdit::GetStatusHint(const TPoint& APoint) {
  return GetHintText(GetEditViewInfo()->GetPart(APoint));
}

void TcxCustomEdit::CMHintShow(TMessage& Message) {
  auto* AInfo = reinterpret_cast<THintInfo*>(Message.LParam);
  const Integer APart = GetEditViewInfo()->GetPart(AInfo->CursorPos);
  if (APart == ecpNone) {
    Message.Result = 1;
    return;
  }
  // The short hint: what comes before a bar.
  const String AText = GetHintText(APart);
  AInfo->HintStr = AText.substr(0, AText.find(L'|'));
  Message.Result = 0;
}

// ---------------------------------------------------------------------------
// Clipboard
void TcxCustomEdit::WMCopy(TMessage&) { CopyToClipboard(); }

void TcxCustomEdit::WMCut(TMessage&) {
  if (FDataBinding->GetIsDataAvailable()) ProcessCut();
}

void TcxCustomEdit::WMPaste(TMessage&) {
  if (FDataBinding->GetIsDataAvailable()) ProcessPaste();
}

void TcxCustomEdit::ProcessCut() {
  if (RealReadOnly()) return;
  auto ACut = [this] {
    if (DoEditing())
      CutToClipboard();
    else
      CopyToClipboard();
  };
  if (Focused())
    AsUserAction(this, ACut);
  else
    ACut();
}

void TcxCustomEdit::ProcessPaste() {
  if (RealReadOnly()) return;
  LockChangeEvents(true);
  auto AUnlock = Finally([this] { LockChangeEvents(false); });
  auto APaste = [this] {
    if (DoEditing()) PasteFromClipboard();
  };
  if (Focused())
    AsUserAction(this, APaste);
  else
    APaste();
}
