#include "cxContainer.h"

IMPLEMENT_CLASS(TcxCustomPopupWindow)

IMPLEMENT_MESSAGE_TABLE(TcxCustomPopupWindow,
                        {DXM_CLOSEPOPUPWINDOW,
                         MessageHandler<&TcxCustomPopupWindow::DXMClosePopupWindow>},
                        {DXM_SHOWPOPUPWINDOW,
                         MessageHandler<&TcxCustomPopupWindow::DXMShowPopupWindow>})

TcxCustomPopupWindow::TcxCustomPopupWindow(TWinControl* AOwnerControl)
    : TcxPopupWindow(AOwnerControl), FOwnerControl(AOwnerControl) {}

void TcxCustomPopupWindow::AfterConstruction() {
  inherited::AfterConstruction();
  FStyle.reset(GetStyleClass()(this, false, nullptr, csNormal));
  FStyle->SetOnChanged(MakeEvent<&TcxCustomPopupWindow::PopupWindowStyleChanged>(this));
  FViewInfo.reset(GetViewInfoClass()());
  FViewInfo->Owner = this;
  FViewInfo->UpdateStyle(FStyle.get());
  SetFormStyle(fsNormal);
  SetVisible(false);
  SetKeyPreview(true);
  if (FOwnerControl) FOwnerControl->FreeNotification(this);
  // The popup follows its owner's scale, not the monitor's.
  if (FOwnerControl && Supports(FOwnerControl, __uuidof(IdxScaleFactor))) SetScaled(false);
}

void TcxCustomPopupWindow::BeforeDestruction() {
  if (cxPopupVisibleController()->IsVisible(this)) cxPopupVisibleController()->UnRegister(this);
  inherited::BeforeDestruction();
}

TcxCustomPopupWindow::~TcxCustomPopupWindow() {
  if (cxPopupVisibleController()->IsVisible(this)) cxPopupVisibleController()->UnRegister(this);
  FViewInfo.reset();
  if (FStyle) FStyle->SetOnChanged(TNotifyEvent());
  FStyle.reset();
}

HRESULT STDMETHODCALLTYPE TcxCustomPopupWindow::QueryInterface(REFIID AIID, void** AObj) {
  if (IsEqualGUID(AIID, __uuidof(IdxPopupControl))) {
    *AObj = static_cast<IdxPopupControl*>(this);
    return S_OK;
  }
  return inherited::QueryInterface(AIID, AObj);
}

TcxContainerStyleClass TcxCustomPopupWindow::GetStyleClass() {
  return &cxCreateContainerStyle<TcxContainerStyle>;
}

TcxContainerViewInfoClass TcxCustomPopupWindow::GetViewInfoClass() {
  return &cxCreateContainerViewInfo<TcxContainerViewInfo>;
}

void TcxCustomPopupWindow::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FOwnerControl) FOwnerControl = nullptr;
  if (AComponent == FFocusedControl) FFocusedControl = nullptr;
  if (AComponent == FPrevActiveForm) FPrevActiveForm = nullptr;
  if (AComponent == FPrevActiveControl) FPrevActiveControl = nullptr;
}

bool TcxCustomPopupWindow::IsSysKeyAccepted(Word AKey) {
  return (AKey >= VK_PRIOR && AKey <= VK_DOWN) || AKey == VK_F4;
}

bool TcxCustomPopupWindow::IsVisible() { return cxPopupVisibleController()->IsVisible(this); }

bool TcxCustomPopupWindow::HasCapture() { return HandleAllocated() && GetCapture() == Handle(); }

void TcxCustomPopupWindow::InternalEnableWindow(bool AEnable) {
  if (HandleAllocated()) EnableWindow(Handle(), AEnable);
}

bool TcxCustomPopupWindow::GetJustClosed() { return std::exchange(FJustClosed, false); }

bool TcxCustomPopupWindow::IsOwnerControlVisible() {
  return FOwnerControl && FOwnerControl->HandleAllocated() &&
         IsWindowVisible(FOwnerControl->Handle());
}

TWinControl* TcxCustomPopupWindow::GetFirstFocusControl(TWinControl* AControl) {
  if (!AControl) return this;
  if (AControl->CanFocus() && AControl->TabStop()) return AControl;
  TWinControl* AFirst = FindNextControl(nullptr, true, true, false);
  return AFirst ? AFirst : this;
}

bool TcxCustomPopupWindow::CorrectBoundsWithDesktopWorkArea(TPoint& APosition, TSize& ASize) {
  if (!AcceptsAnySize()) return false;
  TRect AOwner = GetOwnerScreenBounds();
  TRect W = WorkArea(TPoint{AOwner.left, AOwner.top});
  if (APosition.x < W.left) {
    ASize.cx -= W.left - APosition.x;
    APosition.x = W.left;
  }
  if (APosition.y < W.top) {
    ASize.cy -= W.top - APosition.y;
    APosition.y = W.top;
  }
  ASize.cx = std::min<LONG>(ASize.cx, W.right - APosition.x);
  ASize.cy = std::min<LONG>(ASize.cy, W.bottom - APosition.y);
  return true;
}

void TcxCustomPopupWindow::DoShowing() {
  if (OnShowing) OnShowing(this);
}
void TcxCustomPopupWindow::DoShowed() {
  if (OnShowed) OnShowed(this);
}
void TcxCustomPopupWindow::DoClosing() {
  if (OnClosing) OnClosing(this);
}
void TcxCustomPopupWindow::DoClosed() {
  if (OnClosed) OnClosed(this);
}

// ---------------------------------------------------------------------------
// Showing and closing

void TcxCustomPopupWindow::Popup(TWinControl* AFocusedControl) {
  if (IsVisible() || !IsOwnerControlVisible()) return;
  if (cxPopupVisibleController()->IsAnyVisible() && FShowWithoutActivation) return;
  FIsPopup = true;
  FPrevActiveForm = Screen()->ActiveForm();
  FPrevActiveControl = Screen()->ActiveControl();
  if (FPrevActiveForm) FPrevActiveForm->FreeNotification(this);
  if (FPrevActiveControl) FPrevActiveControl->FreeNotification(this);
  InitPopup();
  UpdateScaleFactor();
  TSize ASize = CalculateSize();
  TPoint APosition = CalculatePosition(ASize);
  CorrectBoundsWithDesktopWorkArea(APosition, ASize);
  // The background the style asks for, over the whole window; descendants
  // with a border of their own shrink the client rectangle.
  FViewInfo->UpdateStyle(FStyle.get());
  FViewInfo->Bounds = TRect{0, 0, ASize.cx, ASize.cy};
  FViewInfo->BorderRect = FViewInfo->Bounds;
  FViewInfo->ClientRect = FViewInfo->Bounds;
  FViewInfo->BorderStyle = cbsNone;
  FViewInfo->SetBackgroundColor(FStyle->GetColor());
  FViewInfo->SetCalculated(true);
  {
    cxSetCaptionInactivationLocked(true);
    auto AUnlock = Finally([] { cxSetCaptionInactivationLocked(false); });
    cxPopupVisibleController()->Register(this);
    DoShowing();
    SetBounds(APosition.x, APosition.y, ASize.cx, ASize.cy);
    if (FShowWithoutActivation)
      SetVisible(true);
    else
      Show();
    SetBounds(APosition.x, APosition.y, ASize.cx, ASize.cy);
    if (!FShowWithoutActivation) {
      TWinControl* AFocus = FCaptureFocus ? GetFirstFocusControl(AFocusedControl) : AFocusedControl;
      FFocusedControl = AFocus;
      if (FFocusedControl && FFocusedControl != this) FFocusedControl->FreeNotification(this);
      if (AFocus && AFocus->CanFocus())
        AFocus->SetFocus();
      else if (FCaptureFocus)
        SetFocus();
    }
    // Combo box drop-downs that never take the focus stay on top.
    const bool ATopMost = IsTopMostPopupWindow() || !FCaptureFocus;
    SetWindowPos(Handle(), ATopMost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  SetModalResult(mrNone);
  DoShowed();
  if (IsModalPopup()) RunModalLoop();
}

void TcxCustomPopupWindow::RunModalLoop() {
  TcxObjectLinkGuard ALink(this);
  while (ALink.Alive() && Visible() && !Application()->Terminated()) {
    // Alt, Alt+Enter and Alt+Space must not reach the form's menus.
    MSG M;
    if (PeekMessageW(&M, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE) &&
        (M.wParam == VK_RETURN || M.wParam == VK_MENU || M.wParam == VK_SPACE))
      PeekMessageW(&M, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
    if (ModalResult() != mrNone) {
      if (CloseQuery())
        ModalCloseUp();
      else
        SetModalResult(mrNone);
      if (!ALink.Alive() || !Visible()) break;
    }
    Application()->HandleMessage();
  }
}

void TcxCustomPopupWindow::SafePassFocus() {
  if (!FPrevActiveForm || Screen()->ActiveControl() == FPrevActiveForm->ActiveControl()) return;
  if (FPrevActiveControl && FPrevActiveControl->HandleAllocated() && FPrevActiveControl->CanFocus())
    FPrevActiveControl->SetFocus();
  else if (FPrevActiveForm->HandleAllocated())
    ::SetFocus(FPrevActiveForm->Handle());
}

void TcxCustomPopupWindow::CloseUp() {
  FIsPopup = false;
  if (!IsVisible()) return;
  // The closing handlers may free the popup (and its owner control with it):
  // from then on only what was taken before is used, the owner form by its
  // window.
  TcxObjectLinkGuard ALink(this);
  HWND AOwnerFormWnd = nullptr;
  if (TCustomForm* AForm = FOwnerControl ? ::GetParentForm(FOwnerControl) : nullptr)
    if (AForm->HandleAllocated() && AForm->FormStyle() != fsMDIForm)
      AOwnerFormWnd = AForm->Handle();
  {
    LockCMActivateMessages(true);
    auto AUnlock = Finally([] { LockCMActivateMessages(false); });
    cxPopupVisibleController()->UnRegister(this);
    DoClosing();
    if (ALink.Alive()) HideAfterClosing();
    if (ALink.Alive()) DoClosed();
    if (ALink.Alive()) {
      HWND ACapture = GetCapture();
      if (ACapture && HandleAllocated() && (ACapture == Handle() || IsChild(Handle(), ACapture)))
        ReleaseCapture();
    }
  }
  if (cxPopupVisibleController()->IsAnyVisible() || !AOwnerFormWnd || !IsWindow(AOwnerFormWnd))
    return;
  if (GetActiveWindow() != AOwnerFormWnd) SendMessageW(AOwnerFormWnd, WM_NCACTIVATE, 0, 0);
}

void TcxCustomPopupWindow::HideAfterClosing() {
  if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
  Hide();
  if (!FShowWithoutActivation) SafePassFocus();
}

void TcxCustomPopupWindow::ClosePopup() {
  if (HandleAllocated()) PostMessageW(Handle(), DXM_CLOSEPOPUPWINDOW, 0, 0);
}

void TcxCustomPopupWindow::DXMClosePopupWindow(TMessage&) {
  dxMessagesController()->LockMessages({CM_ENTER, CM_EXIT});
  LockDeactivate();
  auto AUnlock = Finally([this] {
    UnlockDeactivate();
    dxMessagesController()->UnlockMessages({CM_ENTER, CM_EXIT});
  });
  CloseUp();
  if (FOwnerControl && FOwnerControl->HandleAllocated())
    SendMessageW(FOwnerControl->Handle(), WM_SETFOCUS, 0, 0);
}

void TcxCustomPopupWindow::DXMShowPopupWindow(TMessage&) { Popup(FFocusedControl); }

void TcxCustomPopupWindow::CMShowingChanged(TMessage& Message) {
  if (!(FShowWithoutActivation && FShowing)) return inherited::CMShowingChanged(Message);
  // The form is shown as a form (its children come with it) but never
  // activated.
  try {
    DoShow();
  } catch (...) {
    Application()->HandleException(this);
  }
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void TcxCustomPopupWindow::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE && IsVisible() && HasCapture()) {
    ReleaseCapture();
    Key = 0;
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TcxCustomPopupWindow::PaintWindow(HDC DC) {
  if (FViewInfo->Calculated()) {
    Canvas()->Lock();
    auto AUnlock = Finally([this] {
      Canvas()->SetHandle(nullptr);
      Canvas()->Unlock();
    });
    Canvas()->SetHandle(DC);
    FViewInfo->Paint(cxCanvas());
  }
  // The frame goes over it.
  inherited::PaintWindow(DC);
}

void TcxCustomPopupWindow::WMEraseBkgnd(TMessage& Message) {
  if (HasBackground())
    inherited::WMEraseBkgnd(Message);
  else
    Message.Result = 1;
}

void TcxCustomPopupWindow::SetCaptureFocus(bool AValue) {
  if (FCaptureFocus == AValue) return;
  FCaptureFocus = AValue;
  RecreateShown();
}

void TcxCustomPopupWindow::SetIsTopMost(bool AValue) {
  if (FIsTopMost == AValue) return;
  FIsTopMost = AValue;
  RecreateShown();
}

// A shown popup is closed, given its new window and shown again with the
// control it focused.
void TcxCustomPopupWindow::RecreateShown() {
  if (!HandleAllocated()) return;
  const bool AWasShown = IsVisible();
  TWinControl* AFocused = FFocusedControl;
  if (AWasShown) CloseUp();
  RecreateWnd();
  if (AWasShown) Popup(AFocused);
}

bool TcxCustomPopupWindow::IsTopMostPopupWindow() {
  TCustomForm* AForm = FOwnerControl ? ::GetParentForm(FOwnerControl) : nullptr;
  if (!AForm) return true;
  if (AForm->HandleAllocated() && (GetWindowLongW(AForm->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
    return true;
  if (FCaptureFocus) return false;
  for (Integer I = 0; I < Screen()->FormCount(); ++I) {
    TCustomForm* F = Screen()->Forms(I);
    if (F->FormStyle() == fsStayOnTop && !F->Visible()) return true;
  }
  return false;
}

void TcxCustomPopupWindow::UpdateScaleFactor() {
  IdxScaleFactor* AOwnerScale = nullptr;
  if (!FOwnerControl ||
      !Supports(FOwnerControl, __uuidof(IdxScaleFactor), reinterpret_cast<void**>(&AOwnerScale)) ||
      !AOwnerScale)
    return;
  TdxScaleFactor* F = AOwnerScale->GetScaleFactor();
  const Integer APPI =
      F && F->Denominator() != 0 ? MulDiv(96, F->Numerator(), F->Denominator()) : 96;
  TRect ABounds = BoundsRect();
  ScaleForPPI(APPI, &ABounds);
}

bool TcxCustomPopupWindow::IsShortCut(TShortCut AShortCut) {
  if (inherited::IsShortCut(AShortCut)) return true;
  TCustomForm* AForm = FOwnerControl ? ::GetParentForm(FOwnerControl) : nullptr;
  return AForm && AForm != this && AForm->IsShortCut(AShortCut);
}

bool TcxCustomPopupWindow::SetFocusedControl(TWinControl* AControl) {
  if (AControl && AControl->ComponentState().Contains(csDestroying)) return false;
  // Focus moving inside the popup is no activation change of its forms.
  LockCMActivateMessages(true);
  auto AUnlock = Finally([] { LockCMActivateMessages(false); });
  return inherited::SetFocusedControl(AControl);
}

// ---------------------------------------------------------------------------
// Activation

void TcxCustomPopupWindow::WMActivate(TMessage& Message) {
  const bool AInactive = LOWORD(Message.WParam) == WA_INACTIVE;
  // An activation while the popup is not up is none of its business.
  if (!FIsPopup && !AInactive) return;
  if (!AInactive) return inherited::WMActivate(Message);
  // The form's own handling; the closing rules are the drop-down's.
  TCustomForm::WMActivate(Message);
  FDeactivation = true;
  // While this message runs the platform may still name this window active.
  FActivatedWindow = reinterpret_cast<HWND>(Message.LParam);
  auto AForget = Finally([this] { FActivatedWindow = nullptr; });
  Deactivate();
}

void TcxCustomPopupWindow::Deactivate() {
  FDeactivation = false;
  if (IsDeactivateLocked()) return;
  TcxPopupVisibleController* AList = cxPopupVisibleController();
  if (!AList || !AList->IsAnyVisible()) return;
  HWND AActive = FActivatedWindow ? FActivatedWindow : GetActiveWindow();
  TcxObjectLink* ALink = cxAddObjectLink(this);
  auto ARelease = Finally([ALink] { cxRemoveObjectLink(ALink); });
  for (Integer I = AList->GetCount() - 1; I >= 0; --I) {
    if (I >= AList->GetCount()) continue;
    TcxPopupWindow* APopup = AList->GetItems(I);
    if (APopup->HandleAllocated() && APopup->Handle() == AActive) return;
    if (APopup->HandleAllocated() && IsWindowEnabled(APopup->Handle()) &&
        !APopup->IsDeactivateLocked())
      APopup->CloseUp();
    if (!ALink->Ref) return;
  }
  if (AList->IsAnyVisible() && IsVisible()) CloseUp();
}

// The hooks close the popups when the application loses activation.
void TcxCustomPopupWindow::WMActivateApp(TMessage& Message) { DefaultHandler(Message); }

void TcxCustomPopupWindow::VisibleChanged() {
  inherited::VisibleChanged();
  if (Visible() || !FCaptureFocus || !FOwnerControl || !HandleAllocated() ||
      ComponentState().Contains(csDesigning))
    return;
  TCustomForm* AForm = ::GetParentForm(FOwnerControl);
  if (AForm && AForm->HandleAllocated() && GetFocus() == AForm->Handle() &&
      FOwnerControl->CanFocus())
    FOwnerControl->SetFocus();
}

void TcxCustomPopupWindow::WndProc(TMessage& Message) {
  // Only Popup shows the window.
  if (Message.Msg == WM_WINDOWPOSCHANGING && !FIsPopup && Message.LParam)
    reinterpret_cast<WINDOWPOS*>(Message.LParam)->flags &= ~SWP_SHOWWINDOW;
  inherited::WndProc(Message);
}

void TcxCustomPopupWindow::CMRecreateWnd(TMessage& Message) {
  if (IsDestroying()) {
    Message.Result = 1;
    return;
  }
  inherited::CMRecreateWnd(Message);
}

// The hooks count the popup as shown while its window is made.
void TcxCustomPopupWindow::CreateHandle() {
  TcxPopupVisibleController* AList = cxPopupVisibleController();
  const bool ARegister = AList && !AList->IsVisible(this);
  if (ARegister) AList->Register(this);
  auto AUnregister = Finally([&] {
    if (ARegister && cxPopupVisibleController() && cxPopupVisibleController()->IsVisible(this))
      cxPopupVisibleController()->UnRegister(this);
  });
  inherited::CreateHandle();
}

void TcxCustomPopupWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FCaptureFocus) {
    if (TCustomForm* AForm = FOwnerControl ? ::GetParentForm(FOwnerControl) : nullptr)
      Params.WndParent = AForm->Handle();
    Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
    TCustomForm* AOwnerForm = FOwnerControl ? ::GetParentForm(FOwnerControl) : nullptr;
    if (FIsTopMost &&
        (!AOwnerForm || (AOwnerForm->HandleAllocated() &&
                         (GetWindowLongW(AOwnerForm->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST))))
      Params.ExStyle |= WS_EX_TOPMOST;
  } else {
    // Never takes the focus: a tool window, re-parented to the desktop once
    // created.
    Params.Style = WS_CHILD;
    Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (!Params.WndParent) Params.WndParent = cxMessageWindow()->Handle();
  }
  Params.Style |= WS_CLIPCHILDREN;
}

void TcxCustomPopupWindow::CreateWnd() {
  inherited::CreateWnd();
  if (!FCaptureFocus) ::SetParent(Handle(), GetDesktopWindow());
}
