// When the bars of the touch and hybrid modes show: the touch manager (one
// owner at a time, hidden a second after the last activity), the hybrid
// manager of each control (fading, expanding the bar under the pointer) and
// the list of hybrid managers whose bars show.
#include <algorithm>
#include <cmath>
#include <vector>

#include "cxControls.h"
#include "dxAnimation.h"

namespace {

// AControl is the owner's GetTouchScrolUIOwnerControl.
bool CanShowTouchScrollbar(TWinControl* Control) {
  return Control && Control->HandleAllocated() && IsWindowVisible(Control->Handle());
}

// AWnd moved or sized: the bars follow when the control lies inside it.
bool CheckTouchScrollbarPosition(TWinControl* Control, HWND AWnd) {
  if (!Control || !Control->HandleAllocated()) return false;
  return IsChild(AWnd, Control->Handle()) || dxIsMDIChildWindow(AWnd);
}

// AWnd hid or closed: the bars go when the control is AWnd or lies in it.
bool CheckTouchScrollbarVisibility(TWinControl* Control, HWND AWnd) {
  if (!Control || !Control->HandleAllocated()) return false;
  return AWnd == Control->Handle() || IsChild(AWnd, Control->Handle());
}

// The touch mode's state: the process has one pointer.
class TTouchScrollUIState {
 public:
  TcxControl* ActiveOwner = nullptr;
  Integer HidingLockCount = 0;
  TcxTimer* HidingTimer = nullptr;
  bool LockOwner = false;
  bool ScrollInfoAllowVisible = false;

  void HidingTimerHandler(TObject*) { TdxTouchScrollUIModeManager::HidingTimerTick(); }
};

TTouchScrollUIState& TouchState() {
  static TTouchScrollUIState State;
  return State;
}

std::vector<TdxHybridScrollbarsManager*>& HybridManagers() {
  static std::vector<TdxHybridScrollbarsManager*> Items;
  return Items;
}

void StopTimer(TcxTimer* ATimer) {
  if (ATimer) ATimer->SetEnabled(false);
}

}  // namespace

// ---------------------------------------------------------------------------
// Touch mode

void TdxTouchScrollUIModeManager::ShowScrollUI(TcxControl* AUIOwner, bool AControlledByTimer) {
  TTouchScrollUIState& S = TouchState();
  if (S.LockOwner && AUIOwner != S.ActiveOwner) return;
  if (AUIOwner && !CanShowTouchScrollbar(AUIOwner->GetTouchScrolUIOwnerControl())) return;
  Activate(AUIOwner);
  LockHiding();
  if (!S.ScrollInfoAllowVisible) {
    S.ScrollInfoAllowVisible = true;
    if (S.ActiveOwner) S.ActiveOwner->CheckTouchScrollUIPosition();
  }
  if (AControlledByTimer) UnlockHiding();
}

void TdxTouchScrollUIModeManager::HideScrollUI(TcxControl* AUIOwner, bool AImmediately) {
  if (IsActive(AUIOwner)) DoHideTouchScrollUI(AImmediately);
}

bool TdxTouchScrollUIModeManager::IsActive(TcxControl* AUIOwner) {
  return AUIOwner && AUIOwner == TouchState().ActiveOwner;
}

bool TdxTouchScrollUIModeManager::IsScrollUIHidden(TcxControl* AUIOwner) {
  return !TouchState().ScrollInfoAllowVisible || !IsActive(AUIOwner);
}

void TdxTouchScrollUIModeManager::Deactivate(TcxControl* AUIOwner) {
  TTouchScrollUIState& S = TouchState();
  if (!IsActive(AUIOwner)) return;
  S.ActiveOwner = nullptr;
  S.ScrollInfoAllowVisible = false;
  S.HidingLockCount = 0;
  S.LockOwner = false;
  // A tick for no owner would do nothing; it need not come.
  StopTimer(S.HidingTimer);
}

void TdxTouchScrollUIModeManager::CheckUIPosition(HWND AWnd) {
  TcxControl* Owner = TouchState().ActiveOwner;
  if (Owner && Owner->HasVisibleTouchScrollUI() &&
      CheckTouchScrollbarPosition(Owner->GetTouchScrolUIOwnerControl(), AWnd))
    Owner->CheckTouchScrollUIPosition();
}

void TdxTouchScrollUIModeManager::CheckUIVisibility(HWND AWnd) {
  TcxControl* Owner = TouchState().ActiveOwner;
  if (Owner && Owner->HasVisibleTouchScrollUI() &&
      CheckTouchScrollbarVisibility(Owner->GetTouchScrolUIOwnerControl(), AWnd))
    DoHideTouchScrollUI(true);
}

void TdxTouchScrollUIModeManager::LockOwner() { TouchState().LockOwner = true; }
void TdxTouchScrollUIModeManager::UnlockOwner() { TouchState().LockOwner = false; }
TcxControl* TdxTouchScrollUIModeManager::ActiveScrollUIOwner() { return TouchState().ActiveOwner; }
Integer TdxTouchScrollUIModeManager::HidingLockCount() { return TouchState().HidingLockCount; }
bool TdxTouchScrollUIModeManager::IsOwnerLocked() { return TouchState().LockOwner; }
bool TdxTouchScrollUIModeManager::ScrollInfoAllowVisible() {
  return TouchState().ScrollInfoAllowVisible;
}
TcxTimer* TdxTouchScrollUIModeManager::HidingTimer() { return TouchState().HidingTimer; }

void TdxTouchScrollUIModeManager::HidingTimerTick() {
  StopTimer(TouchState().HidingTimer);
  DoHideTouchScrollUI(true);
}

void TdxTouchScrollUIModeManager::Finalize() {
  TTouchScrollUIState& S = TouchState();
  if (S.HidingTimer) FreeAndNil(S.HidingTimer);
  S = TTouchScrollUIState{};
}

void TdxTouchScrollUIModeManager::Activate(TcxControl* AUIOwner) {
  TTouchScrollUIState& S = TouchState();
  if (S.ActiveOwner && S.ActiveOwner != AUIOwner) {
    DoHideTouchScrollUI(true);
    S.HidingLockCount = 0;
    S.ScrollInfoAllowVisible = false;
  }
  S.ActiveOwner = AUIOwner;
}

void TdxTouchScrollUIModeManager::LockHiding() {
  TTouchScrollUIState& S = TouchState();
  StopTimer(S.HidingTimer);
  ++S.HidingLockCount;
}

void TdxTouchScrollUIModeManager::UnlockHiding() {
  TTouchScrollUIState& S = TouchState();
  if (S.HidingLockCount > 0) --S.HidingLockCount;
  if (S.HidingLockCount == 0 && S.ScrollInfoAllowVisible) StartHidingTimer();
}

void TdxTouchScrollUIModeManager::StartHidingTimer() {
  TTouchScrollUIState& S = TouchState();
  if (!S.HidingTimer) {
    S.HidingTimer = Create<TcxTimer>(nullptr);
    S.HidingTimer->SetEnabled(false);
    S.HidingTimer->SetInterval(1000);
    S.HidingTimer->SetOnTimer(MakeEvent<&TTouchScrollUIState::HidingTimerHandler>(&S));
  }
  S.HidingTimer->SetEnabled(false);
  S.HidingTimer->SetEnabled(true);
}

void TdxTouchScrollUIModeManager::DoHideTouchScrollUI(bool AImmediately) {
  TTouchScrollUIState& S = TouchState();
  if (!AImmediately) {
    UnlockHiding();
    return;
  }
  UnlockOwner();
  StopTimer(S.HidingTimer);
  S.ScrollInfoAllowVisible = false;
  S.HidingLockCount = 0;
  if (S.ActiveOwner) S.ActiveOwner->HideTouchScrollUIDirectly();
}

// ---------------------------------------------------------------------------
// The list of hybrid managers

void TdxHybridScrollbarManagers::Activate(TdxHybridScrollbarsManager* AManager) {
  auto& Items = HybridManagers();
  std::erase(Items, AManager);
  Items.push_back(AManager);
  // A deactivated manager may leave the list on the way.
  std::vector<TdxHybridScrollbarsManager*> Others(Items.begin(), Items.end() - 1);
  for (auto It = Others.rbegin(); It != Others.rend(); ++It)
    if (std::find(Items.begin(), Items.end(), *It) != Items.end()) (*It)->Deactivate();
}

void TdxHybridScrollbarManagers::Deactivate(TdxHybridScrollbarsManager* AManager) {
  std::erase(HybridManagers(), AManager);
}

bool TdxHybridScrollbarManagers::IsActive(TdxHybridScrollbarsManager* AManager) {
  const auto& Items = HybridManagers();
  return !Items.empty() && Items.back() == AManager;
}

void TdxHybridScrollbarManagers::CheckScrollbarsPosition(HWND AWnd) {
  std::vector<TdxHybridScrollbarsManager*> Items = HybridManagers();
  for (auto It = Items.rbegin(); It != Items.rend(); ++It)
    if (std::find(HybridManagers().begin(), HybridManagers().end(), *It) != HybridManagers().end())
      (*It)->CheckScrollbarsPosition(AWnd);
}

void TdxHybridScrollbarManagers::CheckScrollbarsVisibility(HWND AWnd) {
  std::vector<TdxHybridScrollbarsManager*> Items = HybridManagers();
  for (auto It = Items.rbegin(); It != Items.rend(); ++It)
    if (std::find(HybridManagers().begin(), HybridManagers().end(), *It) != HybridManagers().end())
      (*It)->CheckScrollbarsVisibility(AWnd);
}

Integer TdxHybridScrollbarManagers::Count() {
  return static_cast<Integer>(HybridManagers().size());
}

void TdxHybridScrollbarManagers::Finalize() { HybridManagers().clear(); }

// The call-window-procedure hook's view of both modes.
bool TdxScrollUIManagers::IsActive() {
  return TdxTouchScrollUIModeManager::ActiveScrollUIOwner() ||
         TdxHybridScrollbarManagers::Count() > 0;
}

void TdxScrollUIManagers::CheckPosition(HWND AWnd) {
  TdxTouchScrollUIModeManager::CheckUIPosition(AWnd);
  TdxHybridScrollbarManagers::CheckScrollbarsPosition(AWnd);
}

void TdxScrollUIManagers::CheckVisibility(HWND AWnd) {
  TdxTouchScrollUIModeManager::CheckUIVisibility(AWnd);
  TdxHybridScrollbarManagers::CheckScrollbarsVisibility(AWnd);
}

// ---------------------------------------------------------------------------
// Hybrid manager
IMPLEMENT_CLASS(TdxHybridScrollbarsManager)

TdxHybridScrollbarsManager::~TdxHybridScrollbarsManager() {
  TdxHybridScrollbarManagers::Deactivate(this);
  StopSizeAnimation();
  StopFadingAnimation();
  StopCollapsingTimer();
  if (FHidingTimer) FreeAndNil(FHidingTimer);
}

void TdxHybridScrollbarsManager::Show(bool AHideByTimer) {
  if (!CanShowTouchScrollbar(FOwner->GetTouchScrolUIOwnerControl())) return;
  FIsDeactivating = false;
  if (!FAllowVisible) {
    FAllowVisible = true;
    FOwner->CheckTouchScrollUIPosition();
  }
  if (FOwner->HasVisibleTouchScrollUI()) TdxHybridScrollbarManagers::Activate(this);
  if (!AHideByTimer) {
    ++FHidingLockCount;
    if (IsHidingTimerWaiting())
      StopHidingTimer();
    else if (FFadingValue < 255)
      FadeIn();
  } else {
    if (IsHidingTimerWaiting())
      StartHidingTimer();
    else if (FFadingValue < 255)
      FadeIn();
  }
}

void TdxHybridScrollbarsManager::Hide(bool AImmediately, bool AAnimated) {
  if (AImmediately) {
    StopFadingAnimation();
    StopSizeAnimation();
    DoHide(AAnimated);
    return;
  }
  if (FHidingLockCount > 0) --FHidingLockCount;
  if (FAllowVisible && FHidingLockCount == 0) StartHidingTimer();
}

void TdxHybridScrollbarsManager::DoHide(bool AAnimated) {
  StopHidingTimer();
  StopCollapsingTimer();
  if (AAnimated) {
    FadeOut();
    return;
  }
  FAllowVisible = false;
  FHidingLockCount = 0;
  FOwner->HideTouchScrollUIDirectly();
  TdxHybridScrollbarManagers::Deactivate(this);
  FFadingValue = 0;
}

void TdxHybridScrollbarsManager::HidingTimerHandler(TObject*) {
  StopHidingTimer();
  DoHide(true);
}

void TdxHybridScrollbarsManager::StartHidingTimer() {
  if (!FHidingTimer) {
    FHidingTimer = Create<TcxTimer>(nullptr);
    FHidingTimer->SetEnabled(false);
    FHidingTimer->SetInterval(1000);
    FHidingTimer->SetOnTimer(MakeEvent<&TdxHybridScrollbarsManager::HidingTimerHandler>(this));
  }
  FHidingTimer->SetEnabled(false);
  FHidingTimer->SetEnabled(true);
}

void TdxHybridScrollbarsManager::StopHidingTimer() { StopTimer(FHidingTimer); }

void TdxHybridScrollbarsManager::StartCollapsingTimer() {
  StopCollapsingTimer();
  FCollapsingTimer = Create<TcxTimer>(nullptr);
  FCollapsingTimer->SetEnabled(false);
  FCollapsingTimer->SetInterval(500);
  FCollapsingTimer->SetOnTimer(
      MakeEvent<&TdxHybridScrollbarsManager::CollapsingTimerHandler>(this));
  FCollapsingTimer->SetEnabled(true);
}

void TdxHybridScrollbarsManager::StopCollapsingTimer() {
  if (FCollapsingTimer) FreeAndNil(FCollapsingTimer);
}

void TdxHybridScrollbarsManager::CollapsingTimerHandler(TObject*) { DoCollapse(); }

void TdxHybridScrollbarsManager::InvalidateScrollbars() { FOwner->InvalidateScrollbars(); }

void TdxHybridScrollbarsManager::StartFadingAnimation(TdxHybridFadingState AState) {
  StopFadingAnimation();
  const Integer Distance = AState == fstShowing ? 255 - FFadingValue : FFadingValue;
  FStartFadingValue = FFadingValue;
  FFadingState = AState;
  if (Distance <= 0) {
    FadingTerminate(nullptr);
    return;
  }
  const auto Time = static_cast<Cardinal>(std::lround(Distance / 255.0 * 1000));
  FFadingAnimation = Create<TdxAnimationTransition>(Time, ateLinear, Distance, atmOut);
  FFadingAnimation->SetFreeOnTerminate(false);
  FFadingAnimation->SetOnAnimate(MakeEvent<&TdxHybridScrollbarsManager::FadingAnimate>(this));
  FFadingAnimation->SetOnTerminate(MakeEvent<&TdxHybridScrollbarsManager::FadingTerminate>(this));
  FFadingAnimation->Resume();
}

void TdxHybridScrollbarsManager::StopFadingAnimation() {
  TdxAnimationTransition* Animation = FFadingAnimation;
  FFadingAnimation = nullptr;
  FFadingState = fstNone;
  if (!Animation) return;
  Animation->SetOnAnimate({});
  Animation->SetOnTerminate({});
  Animation->Free();
}

void TdxHybridScrollbarsManager::FadingAnimate(TdxAnimationTransition*, Integer& APosition, bool&) {
  const Integer Value =
      FFadingState == fstShowing ? FStartFadingValue + APosition : FStartFadingValue - APosition;
  FFadingValue = static_cast<Byte>(std::clamp<Integer>(Value, 0, 255));
  InvalidateScrollbars();
}

void TdxHybridScrollbarsManager::FadingTerminate(TObject*) {
  const TdxHybridFadingState State = FFadingState;
  FFadingState = fstNone;
  if (State == fstHiding)
    DoHide(false);
  else if (State == fstShowing && FHidingLockCount == 0)
    StartHidingTimer();
}

void TdxHybridScrollbarsManager::StartSizeAnimation(TdxHybridExpandState AState) {
  StopSizeAnimation();
  const Integer Distance = AState == estExpanding ? 100 - FVisibleSize : FVisibleSize;
  FStartSize = FVisibleSize;
  FExpandState = AState;
  if (Distance <= 0) {
    SizeTerminate(nullptr);
    return;
  }
  const auto Time = static_cast<Cardinal>(std::lround(Distance / 100.0 * 100));
  FSizeAnimation = Create<TdxAnimationTransition>(Time, ateLinear, Distance, atmIn);
  FSizeAnimation->SetFreeOnTerminate(false);
  FSizeAnimation->SetOnAnimate(MakeEvent<&TdxHybridScrollbarsManager::SizeAnimate>(this));
  FSizeAnimation->SetOnTerminate(MakeEvent<&TdxHybridScrollbarsManager::SizeTerminate>(this));
  FSizeAnimation->Resume();
}

void TdxHybridScrollbarsManager::StopSizeAnimation() {
  TdxAnimationTransition* Animation = FSizeAnimation;
  FSizeAnimation = nullptr;
  FExpandState = estNone;
  if (!Animation) return;
  Animation->SetOnAnimate({});
  Animation->SetOnTerminate({});
  Animation->Free();
}

void TdxHybridScrollbarsManager::SizeAnimate(TdxAnimationTransition*, Integer& APosition, bool&) {
  const Integer Value =
      FExpandState == estExpanding ? FStartSize + APosition : FStartSize - APosition;
  FVisibleSize = std::clamp<Integer>(Value, 0, 100);
  InvalidateScrollbars();
}

void TdxHybridScrollbarsManager::SizeTerminate(TObject*) {
  const TdxHybridExpandState State = FExpandState;
  FExpandState = estNone;
  if (State == estExpanding) {
    if (FExpandLockCount == 0) StartCollapsingTimer();
  } else if (State == estCollapsing) {
    DoAfterCollapse();
  }
}

void TdxHybridScrollbarsManager::ResetSize() {
  StopSizeAnimation();
  StopCollapsingTimer();
  FVisibleSize = 0;
  FAnimateObject = nullptr;
}

void TdxHybridScrollbarsManager::ReleaseHidingLock() {
  if (FHidingLockCount > 0) --FHidingLockCount;
}

void TdxHybridScrollbarsManager::Expand(TObject* AScrollbar) {
  if (FAnimateObject && FAnimateObject != AScrollbar &&
      (IsWaitingToCollapse() || FExpandState != estNone)) {
    ResetSize();
    Hide(false, false);
  }
  FAnimateObject = AScrollbar;
  ++FExpandLockCount;
  DoExpand();
}

void TdxHybridScrollbarsManager::DoExpand() {
  if (FExpandState == estExpanding) return;
  if (IsWaitingToCollapse())
    StopCollapsingTimer();
  else if (FExpandState == estNone)
    Show(false);
  if (FVisibleSize < 100) StartSizeAnimation(estExpanding);
}

void TdxHybridScrollbarsManager::Collapse() {
  if (FExpandLockCount > 0) --FExpandLockCount;
  if (FExpandState != estNone) return;
  if (!TdxHybridScrollbarManagers::IsActive(this) || FIsDeactivating)
    DoCollapse();
  else
    StartCollapsingTimer();
}

void TdxHybridScrollbarsManager::DoCollapse() {
  StopCollapsingTimer();
  StartSizeAnimation(estCollapsing);
}

void TdxHybridScrollbarsManager::DoAfterCollapse() {
  if (FExpandLockCount > 0) return;
  FAnimateObject = nullptr;
  FVisibleSize = 0;
  InvalidateScrollbars();
  ReleaseHidingLock();
  if ((!TdxHybridScrollbarManagers::IsActive(this) || FIsDeactivating) && FHidingLockCount == 0)
    DoHide(true);
  else if (FAllowVisible && FHidingLockCount == 0)
    StartHidingTimer();
}

void TdxHybridScrollbarsManager::Deactivate() {
  FIsDeactivating = true;
  if (IsWaitingToCollapse()) {
    DoCollapse();
  } else if (FExpandState == estExpanding) {
    StopSizeAnimation();
    Collapse();
  } else if (FFadingState == fstShowing) {
    if (FHidingLockCount > 0) return;
    StopFadingAnimation();
    DoHide(true);
  } else if (IsHidingTimerWaiting()) {
    DoHide(true);
  }
}

void TdxHybridScrollbarsManager::ScrollbarHiding(TObject* AScrollbar) {
  if (!IsActive(AScrollbar)) return;
  ResetSize();
  FHidingLockCount = 0;
  FFadingValue = 0;
  StopHidingTimer();
}

void TdxHybridScrollbarsManager::CheckScrollbarsPosition(HWND AWnd) {
  if (FOwner->HasVisibleTouchScrollUI() &&
      CheckTouchScrollbarPosition(FOwner->GetTouchScrolUIOwnerControl(), AWnd))
    FOwner->CheckTouchScrollUIPosition();
}

void TdxHybridScrollbarsManager::CheckScrollbarsVisibility(HWND AWnd) {
  if (FOwner->HasVisibleTouchScrollUI() &&
      CheckTouchScrollbarVisibility(FOwner->GetTouchScrolUIOwnerControl(), AWnd))
    Hide(true, false);
}
