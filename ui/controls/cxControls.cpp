#include "cxControls.h"

#include "dxFading.h"
#include "dxHooks.h"
#include "dxUxTheme.h"

// The module's services; ControlsState is shared with the other parts of
// the module through cxControlsInternal.h.
#include "cxControlsInternal.h"

namespace cxControlsInternal {
TControlsState& ControlsState() {
  static TControlsState State;
  return State;
}
}  // namespace cxControlsInternal

using namespace cxControlsInternal;

namespace {

template <class T>
void FreeService(T*& AGlobal) {
  T* Object = AGlobal;
  AGlobal = nullptr;
  if (Object) Object->Free();
}

template <class T, class... A>
T* LazyService(T*& AGlobal, A... Args) {
  if (!AGlobal && !ControlsState().UnitIsFinalized) AGlobal = Create<T>(Args...);
  return AGlobal;
}

// The menu-animation setting the fader asks for.
bool SystemMenuAnimation() {
  BOOL Value = FALSE;
  TdxSystemInfo* Info = dxSystemInfo();
  return Info && Info->GetParameter(SPI_GETMENUANIMATION, &Value) && Value;
}

void BufferedPaintStart() {
  if (IsWinVistaOrLater) dxUxTheme::BufferedPaintInit();
}

void BufferedPaintStop() {
  if (IsWinVistaOrLater) dxUxTheme::BufferedPaintUnInit();
}

}  // namespace

// ---------------------------------------------------------------------------
// System controller

IMPLEMENT_CLASS(TcxSystemController)

void TcxSystemController::AfterConstruction() {
  inherited::AfterConstruction();
  if (!FIsLibrary) return;
  FPrevWakeMainThread = ::WakeMainThread;
  ::WakeMainThread = MakeEvent<&TcxSystemController::WakeMainThread>(this);
  FHooked = true;
}

void TcxSystemController::BeforeDestruction() {
  if (FHooked) ::WakeMainThread = FPrevWakeMainThread;
  FHooked = false;
  inherited::BeforeDestruction();
}

void TcxSystemController::WakeMainThread(TObject*) {
  PostMessageW(Handle(), DXM_SYNCHRONIZETHREADS, 0, 0);
}

void TcxSystemController::WndProc(TMessage& Message) {
  if (Message.Msg == DXM_SYNCHRONIZETHREADS)
    CheckSynchronize(0);
  else
    inherited::WndProc(Message);
}

// ---------------------------------------------------------------------------
// System information

IMPLEMENT_CLASS(TdxSystemInfo)

void TdxSystemInfo::AfterConstruction() {
  inherited::AfterConstruction();
  UpdateCache(SPI_SETDROPSHADOW);
  UpdateCache(SPI_SETNONCLIENTMETRICS);
}

void TdxSystemInfo::AddListener(IdxSystemInfoListener* AListener) { FListeners.Add(AListener); }

void TdxSystemInfo::RemoveListener(IdxSystemInfoListener* AListener) {
  FListeners.Remove(AListener);
}

bool TdxSystemInfo::GetParameter(Cardinal AParameter, void* AValue) {
  UINT UIParam = 0;
  switch (AParameter) {
    case SPI_GETICONTITLELOGFONT:
      UIParam = sizeof(LOGFONTW);
      break;
    case SPI_GETANIMATION:
      UIParam = sizeof(ANIMATIONINFO);
      static_cast<ANIMATIONINFO*>(AValue)->cbSize = sizeof(ANIMATIONINFO);
      break;
    case SPI_GETNONCLIENTMETRICS:
      static_cast<NONCLIENTMETRICSW*>(AValue)->cbSize = sizeof(NONCLIENTMETRICSW);
      break;
    default:
      break;
  }
  return SystemParametersInfoW(AParameter, UIParam, AValue, 0) != FALSE;
}

bool TdxSystemInfo::IsRemoteSession() const { return GetSystemMetrics(SM_REMOTESESSION) == 1; }

void TdxSystemInfo::UpdateCache(Cardinal AParameter) {
  if (AParameter == SPI_SETNONCLIENTMETRICS) {
    GetParameter(SPI_GETNONCLIENTMETRICS, &FNonClientMetrics);
  } else if (AParameter == SPI_SETDROPSHADOW) {
    BOOL Value = FALSE;
    GetParameter(SPI_GETDROPSHADOW, &Value);
    FIsDropShadow = Value != FALSE;
  }
}

void TdxSystemInfo::WndProc(TMessage& Message) {
  if (Message.Msg != WM_SETTINGCHANGE || Message.WParam == 0) {
    inherited::WndProc(Message);
    return;
  }
  Cardinal Parameter = static_cast<Cardinal>(Message.WParam);
  UpdateCache(Parameter);
  FListeners.ForEach([Parameter](IdxSystemInfoListener* L) { L->SystemInfoChanged(Parameter); });
  Message.Result = 0;
}

// ---------------------------------------------------------------------------
// Messages controller

IMPLEMENT_CLASS(TdxMessagesController)

TdxMessagesController::~TdxMessagesController() {
  // A window still waiting for its swallowed message gets its procedure back.
  if (FOldWndProc && IsWindow(FBlockedWnd))
    SetWindowLongPtrW(FBlockedWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FOldWndProc));
}

bool TdxMessagesController::IsMessageInQueue(HWND AWnd, UINT AMessage) {
  MSG Msg;
  return PeekMessageW(&Msg, AWnd, AMessage, AMessage, PM_NOREMOVE | PM_NOYIELD) && Msg.hwnd == AWnd;
}

bool TdxMessagesController::KillMessages(HWND AWnd, UINT AMsgFilterMin, UINT AMsgFilterMax,
                                         bool AKillAllMessages) {
  UINT Max = AMsgFilterMax == 0 ? AMsgFilterMin : AMsgFilterMax;
  bool Result = false;
  MSG Msg;
  while (PeekMessageW(&Msg, AWnd, AMsgFilterMin, Max, PM_REMOVE)) {
    if (Msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(Msg.wParam));
      break;
    }
    Result = true;
    if (!AKillAllMessages) break;
  }
  return Result;
}

void TdxMessagesController::LockMessages(std::initializer_list<UINT> AMessages) {
  FLockedMessages.insert(FLockedMessages.end(), AMessages.begin(), AMessages.end());
}

void TdxMessagesController::UnlockMessages(std::initializer_list<UINT> AMessages) {
  for (UINT M : AMessages) {
    auto It = std::find(FLockedMessages.begin(), FLockedMessages.end(), M);
    if (It != FLockedMessages.end()) FLockedMessages.erase(It);
  }
}

bool TdxMessagesController::IsMessageLocked(UINT AMessage) const {
  return std::find(FLockedMessages.begin(), FLockedMessages.end(), AMessage) !=
         FLockedMessages.end();
}

void TdxMessagesController::BlockMessage(HWND AHandle) {
  if (FOldWndProc) throw EdxException(L"dxLockMessage fails");
  FOldWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(AHandle, GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(&TdxMessagesController::SwallowingWndProc)));
  FBlockedWnd = AHandle;
}

void TdxMessagesController::BlockLockedMessage(HWND AHandle, UINT& AMessage) {
  if (!IsMessageLocked(AMessage)) return;
  BlockMessage(AHandle);
  AMessage = WM_NULL;
}

LRESULT CALLBACK TdxMessagesController::SwallowingWndProc(HWND AWnd, UINT, WPARAM,
                                                          LPARAM) noexcept {
  TdxMessagesController* Self = ControlsState().MessagesController;
  if (Self && Self->FOldWndProc && Self->FBlockedWnd == AWnd) {
    SetWindowLongPtrW(AWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Self->FOldWndProc));
    Self->FOldWndProc = nullptr;
    Self->FBlockedWnd = nullptr;
  }
  return 1;
}

bool TcxControlDefaultHandlerHelper::Process(TMessage& Message) {
  if (Message.Msg != WM_KEYDOWN && Message.Msg != WM_SYSKEYDOWN) return false;
  HWND AppWnd = Application() ? Application()->Handle() : nullptr;
  return SendMessageW(AppWnd, DXM_POSTAPPKEYDOWN, Message.WParam, Message.LParam) != 0;
}

// ---------------------------------------------------------------------------
// Accessors

TcxMessageWindow* cxMessageWindow() { return LazyService(ControlsState().MessageWindow); }
TdxSystemInfo* dxSystemInfo() { return LazyService(ControlsState().SystemInfo); }
TdxMessagesController* dxMessagesController() {
  return LazyService(ControlsState().MessagesController);
}
TcxWindowProcController* cxWindowProcController() {
  return LazyService(ControlsState().WindowProcController);
}
TcxSystemController* cxSystemController() { return ControlsState().SystemController; }
TdxFastList* MouseTrackingTimerList() { return LazyService(ControlsState().MouseTrackingTimers); }

void dxRemoveSystemInfoListener(IdxSystemInfoListener* AListener) {
  if (TdxSystemInfo* Info = ControlsState().SystemInfo) Info->RemoveListener(AListener);
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void cxControls_Initialize() {
  TControlsState& S = ControlsState();
  S.UnitIsFinalized = false;
  LoadControlsCursors();
  S.SystemController = Create<TcxSystemController>(dxIsDLL());
  if (TdxUnitsLoader* Loader = dxUnitsLoader())
    Loader->AddUnit(&BufferedPaintStart, &BufferedPaintStop);
  S.ActivateWindowHelper = Create<TdxApplicationActivateWindowHelper>();
  HMODULE User32 = GetModuleHandleW(L"user32.dll");
  S.UpdateLayeredWindow = reinterpret_cast<TUpdateLayeredWindow>(
      User32 ? reinterpret_cast<void*>(GetProcAddress(User32, "UpdateLayeredWindow")) : nullptr);
  S.SetLayeredWindowAttributes = reinterpret_cast<TSetLayeredWindowAttributes>(
      User32 ? reinterpret_cast<void*>(GetProcAddress(User32, "SetLayeredWindowAttributes"))
             : nullptr);
  dxSetHook(htWndProc, &cxControlWndProcHook);
  dxFadingSystemInfoLink().IsMenuAnimation = &SystemMenuAnimation;
  cxScrollBarOwnerLink().AllowScrollContentOnDrag = &cxControlAllowsScrollContentOnDrag;
  InitTouchControlServices();
}

void cxControls_Finalize() {
  TControlsState& S = ControlsState();
  FinalizeTouchControlServices();
  dxFadingSystemInfoLink().IsMenuAnimation = nullptr;
  cxScrollBarOwnerLink().AllowScrollContentOnDrag = nullptr;
  dxReleaseHook(&cxControlWndProcHook);
  TdxTouchScrollUIModeManager::Finalize();
  TdxHybridScrollbarManagers::Finalize();
  FreeService(S.ActivateWindowHelper);
  S.UnitIsFinalized = true;
  if (TdxUnitsLoader* Loader = dxUnitsLoader()) Loader->RemoveUnit(&BufferedPaintStop);
  FreeService(S.SystemController);
  FreeMouseTrackingTimers();
  FreeService(S.MessageWindow);
  FreeService(S.WindowProcController);
  FreeService(S.MessagesController);
  FreeService(S.SystemInfo);
}
