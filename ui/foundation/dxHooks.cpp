#include "dxHooks.h"

namespace {
TdxHookController* FHookController = nullptr;
bool HooksFinalizing = false;

LRESULT ProcessHook(TdxHookType AType, int ACode, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    if (FHookController) return FHookController->SystemHooks(AType)->Process(ACode, wParam, lParam);
  } catch (...) {
    dxHandleException();
  }
  return CallNextHookEx(nullptr, ACode, wParam, lParam);
}

LRESULT CALLBACK dxSystemKeyboardHook(int ACode, WPARAM W, LPARAM L) noexcept {
  return ProcessHook(htKeyboard, ACode, W, L);
}
LRESULT CALLBACK dxSystemMouseHook(int ACode, WPARAM W, LPARAM L) noexcept {
  return ProcessHook(htMouse, ACode, W, L);
}
LRESULT CALLBACK dxSystemWndProcHook(int ACode, WPARAM W, LPARAM L) noexcept {
  return ProcessHook(htWndProc, ACode, W, L);
}
LRESULT CALLBACK dxSystemGetMessageHook(int ACode, WPARAM W, LPARAM L) noexcept {
  return ProcessHook(htGetMessage, ACode, W, L);
}
LRESULT CALLBACK dxSystemCBTHook(int ACode, WPARAM W, LPARAM L) noexcept {
  return ProcessHook(htCBT, ACode, W, L);
}
LRESULT CALLBACK dxSystemWndProcRetHook(int ACode, WPARAM W, LPARAM L) noexcept {
  return ProcessHook(htWndProcRet, ACode, W, L);
}

struct THookData {
  int HookId;
  HOOKPROC Proc;
};
const THookData HooksData[dxHookTypeCount] = {
    {WH_KEYBOARD, &dxSystemKeyboardHook},
    {WH_MOUSE, &dxSystemMouseHook},
    {WH_CALLWNDPROC, &dxSystemWndProcHook},
    {WH_GETMESSAGE, &dxSystemGetMessageHook},
    {WH_CBT, &dxSystemCBTHook},
    {WH_CALLWNDPROCRET, &dxSystemWndProcRetHook},
};
}  // namespace

TdxHooksPlatform& dxHooksPlatform() {
  static TdxHooksPlatform Platform{&::SetWindowsHookExW, &::UnhookWindowsHookEx};
  return Platform;
}

IMPLEMENT_CLASS(TdxSystemHook)
IMPLEMENT_CREATABLE_CLASS(TdxHookController)

TdxSystemHook::~TdxSystemHook() {
  // Subscribers left at shut-down lose their hook; a destructor cannot report.
  ReleaseSystemHook();
}

void TdxSystemHook::SetHookProc(TdxHookProc AHookProc) {
  Assert(!HasHookProc(AHookProc), "Assertion failure: hook procedure subscribed twice");
  // A kind whose installation failed earlier is tried again for each new
  // subscriber, so a transient failure does not leave it dead for good.
  if (!FHandle) SetSystemHook();
  FHooks.Add(AHookProc);
}

void TdxSystemHook::ReleaseHookProc(TdxHookProc AHookProc) {
  if (FHooks.Remove(AHookProc) && FHooks.Empty()) ReleaseSystemHook();
}

void TdxSystemHook::SetSystemHook() {
  const THookData& D = HooksData[FHookType];
  FHandle = dxHooksPlatform().SetWindowsHookExW(D.HookId, D.Proc, nullptr, GetCurrentThreadId());
}

void TdxSystemHook::ReleaseSystemHook() {
  // Nothing to remove when the installation had failed.
  if (!FHandle) return;
  dxHooksPlatform().UnhookWindowsHookEx(FHandle);
  FHandle = nullptr;
}

LRESULT TdxSystemHook::Process(Integer ACode, WPARAM wParam, LPARAM lParam) {
  LRESULT HookResult = 0;
  FHooks.ForEachReverse([&](TdxHookProc P) {
    try {
      P(ACode, wParam, lParam, HookResult);
    } catch (...) {
      dxHandleException();
    }
  });
  LRESULT NextResult = CallNextHookEx(FHandle, ACode, wParam, lParam);
  return HookResult != 0 ? HookResult : NextResult;
}

TdxHookController::TdxHookController() {
  for (int I = 0; I < dxHookTypeCount; ++I)
    FSystemHooks[I] = Create<TdxSystemHook>(static_cast<TdxHookType>(I));
}

TdxHookController::~TdxHookController() {
  for (TdxSystemHook*& H : FSystemHooks) FreeAndNil(H);
}

void TdxHookController::SetHook(TdxHookType AHookType, TdxHookProc AHookProc) {
  FSystemHooks[AHookType]->SetHookProc(AHookProc);
}

void TdxHookController::ReleaseHook(TdxHookProc AHookProc) {
  for (TdxSystemHook* H : FSystemHooks) H->ReleaseHookProc(AHookProc);
}

TdxHookController* dxHookController() {
  if (!FHookController && !HooksFinalizing) FHookController = Create<TdxHookController>();
  return FHookController;
}

void dxSetHook(TdxHookType AHookType, TdxHookProc AHookProc) {
  if (TdxHookController* C = dxHookController()) C->SetHook(AHookType, AHookProc);
}

void dxReleaseHook(TdxHookProc AHookProc) {
  // After shut-down there is nothing left to release from.
  if (FHookController) FHookController->ReleaseHook(AHookProc);
}

void dxHooks_Initialize() { HooksFinalizing = false; }

void dxHooks_Finalize() {
  HooksFinalizing = true;
  FreeAndNil(FHookController);
}
