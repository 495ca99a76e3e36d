// One Windows hook of each kind for the thread, shared by every subscriber of
// that kind, instead of a chain of hooks, one per user.
#pragma once

#include "dxCore.h"

enum TdxHookType { htKeyboard, htMouse, htWndProc, htGetMessage, htCBT, htWndProcRet };
constexpr int dxHookTypeCount = 6;

// A subscriber; it may replace the value returned to Windows through
// AHookResult (a zero leaves the chain's own result).
using TdxHookProc = void (*)(Integer ACode, WPARAM wParam, LPARAM lParam, LRESULT& AHookResult);

class TdxSystemHook : public TObject {
  DECLARE_CLASS(TdxSystemHook, TObject)
 public:
  explicit TdxSystemHook(TdxHookType AHookType) : FHookType(AHookType) {}
  ~TdxSystemHook() override;

  bool HasHookProc(TdxHookProc AHookProc) const { return FHooks.Contains(AHookProc); }
  void SetHookProc(TdxHookProc AHookProc);
  void ReleaseHookProc(TdxHookProc AHookProc);
  // Runs the subscribers (newest first), then the next hook in the chain.
  LRESULT Process(Integer ACode, WPARAM wParam, LPARAM lParam);

  TdxHookType HookType() const { return FHookType; }
  HHOOK Handle() const { return FHandle; }
  Integer SubscriberCount() const { return FHooks.Count(); }

 private:
  void SetSystemHook();
  void ReleaseSystemHook();
  HHOOK FHandle = nullptr;
  TdxHookType FHookType;
  TdxListenerList<TdxHookProc> FHooks;
};

class TdxHookController : public TObject {
  DECLARE_CLASS(TdxHookController, TObject)
 public:
  TdxHookController();
  ~TdxHookController() override;
  void SetHook(TdxHookType AHookType, TdxHookProc AHookProc);
  void ReleaseHook(TdxHookProc AHookProc);
  TdxSystemHook* SystemHooks(TdxHookType AHookType) const { return FSystemHooks[AHookType]; }

 private:
  TdxSystemHook* FSystemHooks[dxHookTypeCount];
};

// The platform functions the hooks are installed with (replaceable by tests
// that need an installation to fail).
struct TdxHooksPlatform {
  HHOOK(WINAPI* SetWindowsHookExW)(int, HOOKPROC, HINSTANCE, DWORD);
  BOOL(WINAPI* UnhookWindowsHookEx)(HHOOK);
};
TdxHooksPlatform& dxHooksPlatform();

void dxSetHook(TdxHookType AHookType, TdxHookProc AHookProc);
void dxReleaseHook(TdxHookProc AHookProc);
// The shared controller, created on first use; nullptr once shut-down began.
TdxHookController* dxHookController();

void dxHooks_Initialize();
void dxHooks_Finalize();
