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
    SetWindowPos(Handle(), !FCaptureFocus ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
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
  {
    LockCMActivateMessages(true);
    auto AUnlock = Finally([] { LockCMActivateMessages(false); });
    cxPopupVisibleController()->UnRegister(this);
    DoClosing();
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    Hide();
    if (!FShowWithoutActivation) SafePassFocus();
    DoClosed();
    HWND ACapture = GetCapture();
    if (ACapture && HandleAllocated() && (ACapture == Handle() || IsChild(Handle(), ACapture)))
      ReleaseCapture();
  }
  if (cxPopupVisibleController()->IsAnyVisible() || !FOwnerControl) return;
  TCustomForm* AForm = ::GetParentForm(FOwnerControl);
  if (AForm && AForm->HandleAllocated() && AForm->FormStyle() != fsMDIForm &&
      GetActiveWindow() != AForm->Handle())
    SendMessageW(AForm->Handle(), WM_NCACTIVATE, 0, 0);
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
  if (HandleAllocated()) RecreateWnd();
}

void TcxCustomPopupWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FCaptureFocus) {
    if (TCustomForm* AForm = FOwnerControl ? ::GetParentForm(FOwnerControl) : nullptr)
      Params.WndParent = AForm->Handle();
    Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP;
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
