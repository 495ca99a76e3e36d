#include "cxPopupHooks.h"

#include <algorithm>

#include "cxClasses.h"
#include "dxHooks.h"

namespace {

struct TPopupHooksState {
  TcxPopupVisibleController* Controller = nullptr;
  bool Finalized = false;
  bool CaptionInactivationLocked = false;
  bool HooksSet = false;
};

TPopupHooksState& State() {
  static TPopupHooksState S;
  return S;
}

bool IsAlive(TControl* AControl) {
  return AControl && !AControl->ComponentState().Contains(csDestroying);
}

bool HasWindow(TWinControl* AControl) { return IsAlive(AControl) && AControl->HandleAllocated(); }

TCustomForm* OwnerForm(TcxPopupWindow* APopup) {
  TWinControl* Owner = APopup->GetOwnerControl();
  return IsAlive(Owner) ? GetParentForm(Owner) : nullptr;
}

// The messages controller refuses a second block while one is pending; a
// hook must not raise, so a refused block just lets the message through.
void BlockMessageOnce(HWND AWnd) {
  try {
    dxMessagesController()->BlockMessage(AWnd);
  } catch (const Exception&) {
  }
}

// A locked message is swallowed; when a block of that window is pending
// already, that block swallows it.
void BlockLockedMessage(HWND AWnd, UINT& AMessage) {
  try {
    dxMessagesController()->BlockLockedMessage(AWnd, AMessage);
  } catch (const Exception&) {
    AMessage = WM_NULL;
  }
}

// A popup the closing loops have already closed once; one that stays listed
// after its closing is passed over instead of being closed for ever.
bool Contains(const std::vector<TcxPopupWindow*>& AList, TcxPopupWindow* AItem) {
  return std::find(AList.begin(), AList.end(), AItem) != AList.end();
}

}  // namespace

bool cxCaptionInactivationLocked() { return State().CaptionInactivationLocked; }
void cxSetCaptionInactivationLocked(bool AValue) { State().CaptionInactivationLocked = AValue; }

// ---------------------------------------------------------------------------
// TcxPopupVisibleController

IMPLEMENT_CLASS(TcxPopupVisibleController)

void TcxPopupVisibleController::Register(TcxPopupWindow* AItem) {
  Assert(AItem != nullptr && !IsVisible(AItem), "TcxPopupVisibleController.Register");
  FItems.push_back(AItem);
}

void TcxPopupVisibleController::UnRegister(TcxPopupWindow* AItem) {
  Assert(IsVisible(AItem), "TcxPopupVisibleController.UnRegister");
  FItems.erase(std::find(FItems.begin(), FItems.end(), AItem));
}

bool TcxPopupVisibleController::IsVisible(TcxPopupWindow* AItem) const {
  return Contains(FItems, AItem);
}

void TcxPopupVisibleController::CloseRelated(HWND AWnd) {
  for (size_t I = 0; I < FItems.size(); ++I) {
    TcxPopupWindow* P = FItems[I];
    TWinControl* Owner = P->GetOwnerControl();
    if (P->IsDestroying() || !HasWindow(Owner) || !P->HandleAllocated() ||
        !IsRelatedWindow(AWnd, P->Handle()))
      continue;
    // From the last shown back to it; each closing may take others along.
    std::vector<TcxPopupWindow*> ToClose(FItems.begin() + static_cast<std::ptrdiff_t>(I),
                                         FItems.end());
    for (auto It = ToClose.rbegin(); It != ToClose.rend(); ++It)
      if (IsVisible(*It) && !(*It)->IsDestroying()) (*It)->CloseUp();
    return;
  }
}

void TcxPopupVisibleController::CloseUnRelated(HWND AWnd) {
  std::vector<TcxPopupWindow*> Closed;
  for (bool Again = true; Again;) {
    Again = false;
    for (TcxPopupWindow* P : FItems) {
      if (Contains(Closed, P) || P->IsDestroying()) continue;
      if (P->IsCaptureFocus() && !P->Active()) continue;
      if (P->HandleAllocated() && (P->Handle() == AWnd || IsChildEx(P->Handle(), AWnd))) continue;
      Closed.push_back(P);
      P->CloseUp();
      Again = true;
      break;
    }
  }
}

TcxPopupVisibleController* cxPopupVisibleController() {
  TPopupHooksState& S = State();
  if (!S.Controller && !S.Finalized) S.Controller = Create<TcxPopupVisibleController>();
  return S.Controller;
}

void CloseUnrelatedPopups(HWND AWnd) {
  if (auto* C = cxPopupVisibleController()) C->CloseUnRelated(AWnd);
}

void CloseUnrelatedPopupsOnGesture(HWND AWnd) { CloseUnrelatedPopups(AWnd); }

// ---------------------------------------------------------------------------
// Window relations

bool HasNativeHandle(TWinControl* AControl, HWND AHandle, bool ACheckChildren) {
  if (!AControl || !AControl->HandleAllocated()) return false;
  return AHandle == AControl->Handle() ||
         (ACheckChildren && IsRelatedWindow(AControl->Handle(), AHandle));
}

bool HasHandle(TWinControl* AControl, HWND AHandle) {
  return HasNativeHandle(AControl, AHandle, false);
}

bool IsRelatedWindow(HWND AParentWnd, HWND AWnd) {
  if (!AParentWnd || !AWnd || AParentWnd == AWnd) return false;
  // Through a chain of popups: each step goes to the owner of the popup that
  // holds the window; a cycle of owners ends the walk.
  for (Integer Steps = 0; AWnd && Steps < 64; ++Steps) {
    if (AWnd == AParentWnd || IsChildEx(AParentWnd, AWnd)) return true;
    TWinControl* Top = cxFindVCLControl(GetAncestor(AWnd, GA_ROOT));
    TWinControl* Owner = nullptr;
    if (auto* Popup = AsOrNull<TcxPopupWindow>(Top)) {
      Owner = Popup->GetOwnerControl();
    } else if (IdxPopupControl* Intf = nullptr;
               Top && Supports(Top, __uuidof(IdxPopupControl), reinterpret_cast<void**>(&Intf))) {
      Owner = Intf->GetOwnerControl();
    }
    if (!HasWindow(Owner)) return false;
    AWnd = Owner->Handle();
  }
  return false;
}

bool IsRelatedWindow(TWinControl* AControl, HWND AWnd) {
  return AControl && AControl->HandleAllocated() && IsRelatedWindow(AControl->Handle(), AWnd);
}

bool CheckParentsNativeHandle(TWinControl* AControl, HWND AWnd) {
  TCustomForm* F = AControl ? GetParentForm(AControl) : nullptr;
  if (!F || !F->HandleAllocated()) return false;
  if (AWnd == F->Handle() || IsRelatedWindow(F->Handle(), AWnd)) return true;
  if (F->Parent() != nullptr) return false;
  HWND Outer = F->Handle();
  while (IsChildClassWindow(Outer) && GetParent(Outer)) Outer = GetParent(Outer);
  if (Outer == F->Handle()) return false;
  return AWnd == Outer || IsChildEx(Outer, AWnd);
}

HWND FindFirstNonChildParentWindow(HWND AWnd) {
  for (HWND W = AWnd; W; W = GetParent(W))
    if (!IsChildClassWindow(W)) return W;
  return nullptr;
}

HWND GetPopupOwnerControl(HWND AWnd) {
  for (HWND W = AWnd; W; W = GetParent(W))
    if (auto* Popup = AsOrNull<TcxPopupWindow>(cxFindVCLControl(W));
        Popup && Popup->Handle() == W) {
      TWinControl* Owner = Popup->GetOwnerControl();
      return HasWindow(Owner) ? Owner->Handle() : AWnd;
    }
  return AWnd;
}

bool IsMouseDownMessage(UINT AMsg) {
  switch (AMsg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

bool IsParentFormPlaced(HWND AHandle1, HWND AHandle2) {
  TCustomForm* F1 = dxGetParentForm(AHandle1);
  TCustomForm* F2 = dxGetParentForm(AHandle2);
  if (!F1 || !F2 || F1 == F2 || !F1->HandleAllocated() || !F2->HandleAllocated()) return false;
  if (IsChildEx(F1->Handle(), F2->Handle()) && Supports(F2, __uuidof(IdxPlacedForm))) return true;
  return IsChildEx(F2->Handle(), F1->Handle()) && Supports(F1, __uuidof(IdxPlacedForm));
}

void LockCMActivateMessages(bool ALock) {
  if (!dxMessagesController()) return;
  if (ALock)
    dxMessagesController()->LockMessages({CM_ACTIVATE, CM_DEACTIVATE});
  else
    dxMessagesController()->UnlockMessages({CM_ACTIVATE, CM_DEACTIVATE});
}

// ---------------------------------------------------------------------------
// The window-procedure hook

namespace {

void CloseOnNCActivate(HWND AWnd, TcxPopupVisibleController* C) {
  if (cxCaptionInactivationLocked()) {
    BlockMessageOnce(AWnd);
    return;
  }
  // Two popups of one form ask for the same block: it is made once.
  for (Integer I = 0; I < C->GetCount(); ++I) {
    TcxPopupWindow* P = C->GetItems(I);
    if (P->IsDestroying()) continue;
    TCustomForm* F = OwnerForm(P);
    if (F && F->HandleAllocated() && F->Handle() == AWnd) {
      BlockMessageOnce(AWnd);
      return;
    }
  }
}

void CloseOnActivateApp(TcxPopupVisibleController* C) {
  std::vector<TcxPopupWindow*> Closed;
  for (Integer I = 0; I < C->GetCount();) {
    TcxPopupWindow* P = C->GetItems(I);
    if (TCustomForm* F = OwnerForm(P); F && F->HandleAllocated())
      PostMessageW(F->Handle(), WM_NCACTIVATE, 0, 0);
    const bool Keep = P->IsDestroying() || Contains(Closed, P) ||
                      (P->IsCaptureFocus() && P->Active()) ||
                      (P->HandleAllocated() && !IsWindowEnabled(P->Handle()));
    if (Keep) {
      ++I;
      continue;
    }
    Closed.push_back(P);
    TcxObjectLinkGuard Guard(P);
    P->CloseUp();
    if (Guard.Alive()) P->OwnerFocusChanged();
    I = 0;
  }
}

void CloseOnDestroy(HWND AWnd, TcxPopupVisibleController* C) {
  for (Integer I = 0; I < C->GetCount(); ++I) {
    TcxPopupWindow* P = C->GetItems(I);
    if (P->IsDestroying() || !P->HandleAllocated() || P->Handle() != AWnd) continue;
    TcxObjectLinkGuard Guard(P);
    P->Close();
    if (!Guard.Alive() || C->IsVisible(P)) return;
    if (!P->IsDestroying() && P->TerminateOnDestroy() && Application()) Application()->Terminate();
    return;
  }
}

void CloseOnClose(HWND AWnd, TcxPopupVisibleController* C) {
  for (Integer I = 0; I < C->GetCount(); ++I) {
    TcxPopupWindow* P = C->GetItems(I);
    if (P->IsDestroying()) continue;
    TWinControl* Owner = P->GetOwnerControl();
    if (P->HandleAllocated() && P->Handle() == AWnd) {
      HWND TopWindow = nullptr;
      if (P->IsCaptureFocus() && HasWindow(Owner))
        TopWindow = FindFirstNonChildParentWindow(Owner->Handle());
      TcxObjectLinkGuard Guard(P);
      if (P->CloseQuery()) P->CloseUp();
      if (Guard.Alive() && C->IsVisible(P)) return;
      if (TopWindow && IsWindow(TopWindow)) SendMessageW(TopWindow, WM_CLOSE, 0, 0);
      return;
    }
    if (P->IsCaptureFocus() || !IsAlive(Owner)) continue;
    TCustomForm* F = GetParentForm(Owner);
    if (F && F->HandleAllocated() && F->Handle() != AWnd) return;
    P->CloseUp();
    return;
  }
}

void CloseOnWindowPosChanged(HWND AWnd, TcxPopupVisibleController* C) {
  std::vector<TcxPopupWindow*> Closed;
  for (Integer I = 0; I < C->GetCount();) {
    TcxPopupWindow* P = C->GetItems(I);
    TWinControl* Owner = P->GetOwnerControl();
    if (!Contains(Closed, P) && !P->IsDestroying() && P->HandleAllocated() && HasWindow(Owner) &&
        Owner->Handle() == AWnd && !IsControlVisible(Owner)) {
      Closed.push_back(P);
      P->CloseUp();
      I = 0;
      continue;
    }
    ++I;
  }
}

}  // namespace

void cxContainerWndProcHook(Integer ACode, WPARAM, LPARAM lParam, LRESULT&) {
  // Nothing leaves a hook: a failure is reported and the message goes on.
  try {
    if (ACode != HC_ACTION || !dxMessagesController()) return;
    auto* Msg = reinterpret_cast<CWPSTRUCT*>(lParam);
    BlockLockedMessage(Msg->hwnd, Msg->message);
    const HWND Wnd = Msg->hwnd;
    switch (Msg->message) {
      case WM_SETFOCUS:
      case WM_KILLFOCUS:
        if (IsParentFormPlaced(reinterpret_cast<HWND>(Msg->wParam), Wnd))
          if (TWinControl* Control = dxFindParentControl(Wnd))
            dxPerformMessageByQueue(Control, Msg->message == WM_SETFOCUS ? CM_ENTER : CM_EXIT);
        return;
      default:
        break;
    }
    TcxPopupVisibleController* C = State().Controller;
    if (!C || !C->IsAnyVisible()) return;
    switch (Msg->message) {
      case WM_NCACTIVATE:
        if (Msg->wParam == 0) CloseOnNCActivate(Wnd, C);
        break;
      case WM_ACTIVATEAPP:
        if (Msg->wParam == 0) CloseOnActivateApp(C);
        break;
      case WM_DESTROY:
        CloseOnDestroy(Wnd, C);
        break;
      case WM_CLOSE:
        CloseOnClose(Wnd, C);
        break;
      case WM_SHOWWINDOW:
        if (Msg->wParam == 0) C->CloseRelated(Wnd);
        break;
      case WM_WINDOWPOSCHANGED:
        CloseOnWindowPosChanged(Wnd, C);
        break;
      case WM_GESTURE:
        CloseUnrelatedPopupsOnGesture(Wnd);
        break;
      default:
        break;
    }
  } catch (...) {
    dxHandleException();
  }
}

// ---------------------------------------------------------------------------
// The get-message hook: Alt combinations stay away from menus and forms
// while a non-modal drop-down is open.

void cxContainerGetMessageHook(Integer ACode, WPARAM wParam, LPARAM lParam, LRESULT&) {
  // Nothing leaves a hook: a failure is reported and the message goes on.
  try {
    if (ACode != HC_ACTION || wParam != PM_REMOVE) return;
    TcxPopupVisibleController* C = State().Controller;
    if (!C || !C->IsAnyVisible()) return;
    auto* Msg = reinterpret_cast<MSG*>(lParam);
    if (Msg->message != WM_SYSKEYDOWN) return;
    TcxPopupWindow* T = C->Top();
    if (T->IsCaptureFocus() && T->IsModalPopup()) return;
    if (T->IsSysKeyAccepted(static_cast<Word>(Msg->wParam))) return;
    Msg->message = WM_NULL;
  } catch (...) {
    dxHandleException();
  }
}

// ---------------------------------------------------------------------------
// The mouse hook: a press elsewhere closes the popups it is not related to.

void CloseUnrelatedPopupsOnMouseClick(HWND AWnd, const TPoint& APoint, UINT AMouseMessage,
                                      bool& AHandled) {
  AHandled = false;
  TcxPopupVisibleController* C = cxPopupVisibleController();
  if (!C) return;
  bool CallNextHook = true;
  std::vector<TcxPopupWindow*> Visited;
  for (Integer I = 0; I < C->GetCount();) {
    TcxPopupWindow* P = C->GetItems(I);
    if (Contains(Visited, P) || P->IsDestroying() || (P->IsCaptureFocus() && !P->Active()) ||
        (P->HandleAllocated() && (P->Handle() == AWnd || IsChildEx(P->Handle(), AWnd)))) {
      ++I;
      continue;
    }
    TWinControl* Owner = P->GetOwnerControl();
    TCustomForm* OwnerParentForm = IsAlive(Owner) ? GetParentForm(Owner) : nullptr;
    auto* OwnerPopupForm = AsOrNull<TcxPopupWindow>(OwnerParentForm);
    if (CheckParentsNativeHandle(Owner, AWnd) || (OwnerPopupForm && !OwnerPopupForm->Visible())) {
      Visited.push_back(P);
      bool OnOwnerArea = false;
      if (HasNativeHandle(Owner, AWnd, true) &&
          (AMouseMessage == WM_LBUTTONDOWN || AMouseMessage == WM_LBUTTONDBLCLK) &&
          cxRectPtIn(P->GetOwnerScreenBounds(), APoint)) {
        OnOwnerArea = true;
        CallNextHook = false;
        if (P->NeedIgnoreMouseMessageAfterCloseUp(AWnd, AMouseMessage, GetShiftState(), APoint))
          P->SetJustClosed();
      }
      TcxObjectLinkGuard Guard(P);
      TcxObjectLinkGuard OwnerGuard(Owner);
      const bool Locked = cxCaptionInactivationLocked();
      cxSetCaptionInactivationLocked(true);
      P->LockDeactivate();
      if (!AHandled && !OnOwnerArea)
        AHandled =
            P->NeedIgnoreMouseMessageAfterCloseUp(AWnd, AMouseMessage, GetShiftState(), APoint);
      P->CloseUp();
      if (!CallNextHook && (!OwnerGuard.Alive() || !IsAlive(Owner) ||
                            !(Owner->HandleAllocated() && IsControlVisible(Owner))))
        AHandled = true;
      cxSetCaptionInactivationLocked(Locked);
      if (Guard.Alive()) P->UnlockDeactivate();
      I = 0;
      continue;
    }
    if (OwnerParentForm && IsMDIChild(OwnerParentForm) && OwnerParentForm->HandleAllocated()) {
      HWND Client = GetParent(OwnerParentForm->Handle());
      HWND Frame = Client ? GetParent(Client) : nullptr;
      const bool OnMDI = AWnd == Client ||
                         (Frame && (AWnd == Frame || (IsChildEx(Frame, AWnd) &&
                                                      !IsChildEx(OwnerParentForm->Handle(), AWnd) &&
                                                      AWnd != OwnerParentForm->Handle())));
      if (OnMDI) {
        Visited.push_back(P);
        AHandled = AHandled || P->NeedIgnoreMouseMessageAfterCloseUp(AWnd, AMouseMessage,
                                                                     GetShiftState(), APoint);
        P->CloseUp();
        I = 0;
        continue;
      }
    }
    ++I;
  }
}

void cxContainerMouseHook(Integer ACode, WPARAM wParam, LPARAM lParam, LRESULT& AHookResult) {
  // Nothing leaves a hook: a failure is reported and the message goes on.
  try {
    if (ACode != HC_ACTION || !IsMouseDownMessage(static_cast<UINT>(wParam))) return;
    TcxPopupVisibleController* C = State().Controller;
    if (!C || !C->IsAnyVisible()) return;
    const auto* Info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    bool Handled = false;
    CloseUnrelatedPopupsOnMouseClick(Info->hwnd, TPoint{Info->pt.x, Info->pt.y},
                                     static_cast<UINT>(wParam), Handled);
    if (Handled) AHookResult = 1;
  } catch (...) {
    dxHandleException();
  }
}

void SetPopupHooks() {
  if (State().HooksSet) return;
  dxSetHook(htWndProc, &cxContainerWndProcHook);
  dxSetHook(htGetMessage, &cxContainerGetMessageHook);
  dxSetHook(htMouse, &cxContainerMouseHook);
  State().HooksSet = true;
}

void RemovePopupHooks() {
  if (!State().HooksSet) return;
  dxReleaseHook(&cxContainerMouseHook);
  dxReleaseHook(&cxContainerGetMessageHook);
  dxReleaseHook(&cxContainerWndProcHook);
  State().HooksSet = false;
}

void cxPopupHooks_Initialize() {
  State().Finalized = false;
  SetPopupHooks();
}

void cxPopupHooks_Finalize() {
  RemovePopupHooks();
  TPopupHooksState& S = State();
  S.Finalized = true;
  if (S.Controller) {
    S.Controller->Free();
    S.Controller = nullptr;
  }
}
