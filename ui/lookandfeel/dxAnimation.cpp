#include "dxAnimation.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <numbers>

namespace {
TdxAnimationClock Clock;
TdxAnimationController* FController = nullptr;
bool AnimationFinalized = false;

bool CounterFrequency(Int64& AFrequency) {
  LARGE_INTEGER F;
  if (!Clock.QueryPerformanceCounter || !Clock.QueryPerformanceFrequency ||
      !Clock.QueryPerformanceFrequency(&F) || F.QuadPart <= 0)
    return false;
  AFrequency = F.QuadPart;
  return true;
}
}  // namespace

TdxAnimationClock& dxAnimationClock() { return Clock; }

Int64 dxMulDiv64(Int64 nNumber, Int64 nNumerator, Int64 nDenominator) {
  Int64 Product = static_cast<Int64>(static_cast<Integer>(nNumber)) * nNumerator;
  return static_cast<Int64>(
      std::trunc(static_cast<Extended>(Product) / static_cast<Extended>(nDenominator)));
}

Int64 dxGetExactTickCount() {
  Int64 Frequency;
  LARGE_INTEGER Count;
  if (CounterFrequency(Frequency) && Clock.QueryPerformanceCounter(&Count)) return Count.QuadPart;
  return static_cast<Int64>(Clock.GetTickCount ? Clock.GetTickCount() : GetTickCount());
}

Int64 dxTimeToTickCount(Cardinal ATime) {
  Int64 Frequency;
  return CounterFrequency(Frequency) ? dxMulDiv64(ATime, Frequency, 1000) : ATime;
}

// ---------------------------------------------------------------------------
// TdxEaseHelper

namespace {
constexpr Double Pi = std::numbers::pi;

Double Power(Double X, int N) {
  Double R = 1;
  for (int I = 0; I < N; ++I) R *= X;
  return R;
}
}  // namespace

Double TdxEaseHelper::Back(Double T) { return Power(T, 3) - 0.3 * T * std::sin(Pi * T); }

Double TdxEaseHelper::Bounce(Double T) {
  // Three bounces of bounciness 5: arcs of widths 1, 5, 25 and the first
  // half of 125, each 5 times higher than the one before, the last peaking
  // at t = 1.
  constexpr Double B = 5;
  constexpr Double S = (1 - B * B * B) / (1 - B) + B * B * B / 2;
  const Integer I = static_cast<Integer>(std::floor(std::log(1 - T * S * (1 - B)) / std::log(B)));
  const Double A = (1 - std::pow(B, I)) / ((1 - B) * S);
  const Double E = (1 - std::pow(B, I + 1)) / ((1 - B) * S);
  const Double Middle = (A + E) / 2, HalfWidth = (E - A) / 2;
  return std::pow(B, -(3 - I)) * (1 - Power((T - Middle) / HalfWidth, 2));
}

Double TdxEaseHelper::Circle(Double T) {
  T = std::clamp(T, 0.0, 1.0);
  return 1 - std::sqrt(1 - T * T);
}

Double TdxEaseHelper::Cubic(Double T) { return Power(T, 3); }

Double TdxEaseHelper::Elastic(Double T) {
  // Springiness 7.5 and two oscillations.
  return (std::exp(7.5 * T) - 1) / (std::exp(7.5) - 1) * std::sin((2 * Pi * 2 + Pi / 2) * T);
}

Double TdxEaseHelper::Exponential(Double T) { return (std::exp(7 * T) - 1) / (std::exp(7.0) - 1); }

Double TdxEaseHelper::Quadratic(Double T) { return Power(T, 2); }

Double TdxEaseHelper::Quartic(Double T) { return Power(T, 4); }

Double TdxEaseHelper::Sine(Double T) { return 1 - std::sin((1 - T) * Pi / 2); }

Double TdxEaseHelper::Default(Double T) { return 1 - Power(T - 1, 6); }

TdxEaseHelper::TEaseFunction TdxEaseHelper::EaseFunction(TdxAnimationTransitionEffect AEffect) {
  switch (AEffect) {
    case ateCubic:
      return &Cubic;
    case ateQuadratic:
      return &Quadratic;
    case ateQuartic:
      return &Quartic;
    case ateBack:
      return &Back;
    case ateCircle:
      return &Circle;
    case ateSine:
      return &Sine;
    case ateExponential:
      return &Exponential;
    case ateElastic:
      return &Elastic;
    case ateBounce:
      return &Bounce;
    default:
      return &Default;
  }
}

Double TdxEaseHelper::Ease(TdxAnimationTransitionEffectMode AMode, TEaseFunction AFunction,
                           Double T) {
  switch (AMode) {
    case atmOut:
      return 1 - AFunction(1 - T);
    case atmInOut:
      return T < 0.5 ? AFunction(2 * T) / 2 : (1 - AFunction(2 * (1 - T))) / 2 + 0.5;
    default:
      return AFunction(T);
  }
}

// ---------------------------------------------------------------------------
// Curves of the transitions

namespace {
// A transition of no duration is at its end from the start.
bool AtEnd(Int64 AMaxValue) { return AMaxValue <= 0; }

Double Progress(Int64 AValue, Int64 AMaxValue) {
  return static_cast<Double>(AValue) / static_cast<Double>(AMaxValue);
}

Integer LinearPosition(TdxAnimationTransition*, Int64 AValue, Int64 AMaxValue, Integer ALength) {
  if (AtEnd(AMaxValue)) return ALength;
  return static_cast<Integer>(dxMulDiv64(ALength, AValue, AMaxValue));
}

Integer AccelerateDeceleratePosition(TdxAnimationTransition*, Int64 AValue, Int64 AMaxValue,
                                     Integer ALength) {
  if (AtEnd(AMaxValue)) return ALength;
  const Double T = Progress(AValue, AMaxValue);
  return static_cast<Integer>(Round(ALength * TdxEaseHelper::Default(T)));
}

Integer TanhPosition(TdxAnimationTransition*, Int64 AValue, Int64 AMaxValue, Integer ALength) {
  if (AtEnd(AMaxValue)) return ALength;
  const Double T = Progress(AValue, AMaxValue);
  return static_cast<Integer>(
      Trunc(ALength / (2 * std::tanh(3.0)) * (std::tanh(6 * T - 3) - std::tanh(-3.0)) + 0.5));
}

Integer EasedPosition(TdxAnimationTransition* Sender, Int64 AValue, Int64 AMaxValue,
                      Integer ALength) {
  if (AtEnd(AMaxValue)) return ALength;
  const Double T = Progress(AValue, AMaxValue);
  const Double F = TdxEaseHelper::Ease(Sender->TransitionEffectMode(),
                                       TdxEaseHelper::EaseFunction(Sender->TransitionEffect()), T);
  return static_cast<Integer>(Round(ALength * F));
}
}  // namespace

// ---------------------------------------------------------------------------
// TdxAnimationTransition

IMPLEMENT_CLASS(TdxAnimationTransition)

TdxAnimationTransition::TdxAnimationTransition(
    Cardinal ATime, TdxAnimationTransitionEffect ATransitionEffect, Integer ALength,
    TdxAnimationTransitionEffectMode ATransitionEffectMode)
    : FLength(static_cast<Cardinal>(ALength)),
      FTime(ATime),
      FTransitionEffect(ATransitionEffect),
      FTransitionEffectMode(ATransitionEffectMode) {}

void TdxAnimationTransition::AfterConstruction() {
  inherited::AfterConstruction();
  InitializeTransitionEffectProc();
  if (TdxAnimationController* Controller = dxAnimationController()) Controller->Add(this);
}

TdxAnimationTransition::~TdxAnimationTransition() {
  // A controller that is being destroyed has already let go of the shared
  // reference and frees its transitions itself.
  if (FController) FController->Remove(this);
}

void TdxAnimationTransition::InitializeTransitionEffectProc() {
  switch (FTransitionEffect) {
    case ateAccelerateDecelerate:
      FTransitionEffectProc = &AccelerateDeceleratePosition;
      break;
    case ateTanh:
      FTransitionEffectProc = &TanhPosition;
      break;
    case ateCubic:
    case ateBack:
    case ateBounce:
    case ateCircle:
    case ateElastic:
    case ateExponential:
    case ateSine:
    case ateQuadratic:
    case ateQuartic:
      FTransitionEffectProc = &EasedPosition;
      break;
    default:
      FTransitionEffectProc = &LinearPosition;
      break;
  }
}

void TdxAnimationTransition::InitializeTime() {
  const Int64 Now = dxGetExactTickCount();
  if (FCurrent == 0) {
    FStart = Now;
  } else {
    // Resumed after a pause: the time elapsed before it carries over.
    FStart = Now - (FCurrent - FStart);
    FCurrent = Now;
  }
  FFinish = FStart + dxTimeToTickCount(FTime);
}

void TdxAnimationTransition::Resume() {
  if (--FLockCount != 0) return;
  InitializeTime();
  if (FController) FController->UpdateTimer();
}

void TdxAnimationTransition::Suspend(bool AFinished) {
  if (++FLockCount != 1) return;
  if (FController) FController->UpdateTimer();
  if (AFinished) Terminate();
}

void TdxAnimationTransition::Terminate() {
  SetFinished(true);
  if (FFreeOnTerminate) Free();
}

void TdxAnimationTransition::ImmediateAnimation() {
  InitializeTime();
  while (!FFinished) Animate();
  if (FFreeOnTerminate) Free();
}

void TdxAnimationTransition::SetFinished(bool AValue) {
  if (AValue == FFinished) return;
  if (AValue) {
    FCurrent = FFinish;
    FFinished = true;
  } else {
    FFinished = false;
    FCurrent = 0;
    InitializeTime();
  }
  if (FController) FController->UpdateTimer();
  Animate();
}

void TdxAnimationTransition::Animate() {
  FCurrent = std::min(FFinish, dxGetExactTickCount());
  FFinished = FFinished || FCurrent >= FFinish;
  Integer NewPosition;
  if (FFinished) {
    FCurrent = FFinish;
    NewPosition = static_cast<Integer>(FLength);
  } else {
    NewPosition = FTransitionEffectProc(this, FCurrent - FStart, FFinish - FStart,
                                        static_cast<Integer>(FLength));
  }
  if (NewPosition == FPosition && NewPosition != 0 && !FFinished) return;
  FPositionChanged = true;
  FPosition = NewPosition;
  // A handler that ends or restarts the transition takes a step of its own
  // with all its events; this step's remaining events would repeat them
  // (the end would be announced twice) and are dropped.
  const UInt64 Step = ++FStepCount;
  DoBeforeAnimate();
  if (Step != FStepCount) return;
  DoAnimate();
  if (Step != FStepCount) return;
  DoAfterAnimate();
}

void TdxAnimationTransition::CallEvent(const TdxAnimationEvent& AEvent) {
  bool AFinished = FFinished;
  if (AEvent) AEvent(this, FPosition, AFinished);
  SetFinished(AFinished);
}

void TdxAnimationTransition::DoBeforeAnimate() { CallEvent(FOnBeforeAnimate); }

void TdxAnimationTransition::DoAnimate() { CallEvent(FOnAnimate); }

void TdxAnimationTransition::DoAfterAnimate() {
  bool AFinished = FFinished;
  if (FOnAfterAnimate) FOnAfterAnimate(this, FPosition, AFinished);
  FFinished = AFinished;
  if (FFinished) dxCallNotify(FOnTerminate, this);
}

bool TdxAnimationTransition::TryAnimate() {
  if (Suspended()) return true;
  if (FFinished || dxGetExactTickCount() >= FFinish)
    SetFinished(true);
  else
    Animate();
  if (FFinished && FFreeOnTerminate) {
    Free();
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// TdxAnimationController

IMPLEMENT_CLASS(TdxAnimationController)

TdxAnimationController::TdxAnimationController()
    : FAnimations(MakeOwned<TcxObjectList>(true)),
      FTimer(cxCreateTimer(MakeEvent<&TdxAnimationController::TimerHandler>(this), 1, false)) {}

TdxAnimationController::~TdxAnimationController() {
  // The transitions freed below must not unregister from a controller that
  // is going away.
  if (FController == this) FController = nullptr;
  FListenerList.clear();
  FTimer.reset();
  FAnimations.reset();
}

void TdxAnimationController::Add(TdxAnimationTransition* AAnimation) {
  // Ending a transition runs its handlers, which may free transitions.
  for (Integer I = 0; I < GetCount(); ++I) {
    TdxAnimationTransition* A = GetAnimation(I);
    if (!A->IsCompatible(AAnimation)) A->SetFinished(true);
  }
  FAnimations->Add(AAnimation);
}

void TdxAnimationController::Remove(TdxAnimationTransition* AAnimation) {
  for (const TComPtr<IdxAnimationListener>& L : ListenersSnapshot())
    L->DestroyAnimation(AAnimation);
  FAnimations->Remove(AAnimation);
  UpdateTimer();
}

void TdxAnimationController::AddListener(IdxAnimationListener* AListener) {
  if (!AListener) return;
  for (const TComPtr<IdxAnimationListener>& L : FListenerList)
    if (L.Get() == AListener) return;
  FListenerList.push_back(TComPtr<IdxAnimationListener>::Borrow(AListener));
}

void TdxAnimationController::RemoveListener(IdxAnimationListener* AListener) {
  auto It = std::find_if(FListenerList.begin(), FListenerList.end(),
                         [AListener](const auto& L) { return L.Get() == AListener; });
  if (It != FListenerList.end()) FListenerList.erase(It);
}

std::vector<TComPtr<IdxAnimationListener>> TdxAnimationController::ListenersSnapshot() const {
  // Listeners may come and go while they are being called.
  return FListenerList;
}

void TdxAnimationController::Update() { TimerHandler(nullptr); }

void TdxAnimationController::TimerHandler(TObject*) {
  const std::vector<TComPtr<IdxAnimationListener>> Listeners = ListenersSnapshot();
  for (const auto& L : Listeners) L->BeforeAnimation(this);
  // The listeners hear the end of the tick also when a handler raised; the
  // raise then leaves the tick.
  std::exception_ptr Failure;
  try {
    AnimateAll();
  } catch (...) {
    Failure = std::current_exception();
  }
  for (const auto& L : Listeners) L->AfterAnimation(this);
  if (!Failure)
    for (Integer I = GetCount() - 1; I >= 0; --I) GetAnimation(I)->SetPositionChanged(false);
  UpdateTimer();
  if (Failure) std::rethrow_exception(Failure);
}

void TdxAnimationController::AnimateAll() {
  // Last to first; a transition that finishes frees itself and leaves the
  // list, and handlers may free others, so the index is kept in range.
  for (Integer I = GetCount() - 1; I >= 0; --I) {
    if (I >= GetCount()) I = GetCount() - 1;
    if (I < 0) break;
    GetAnimation(I)->TryAnimate();
  }
}

void TdxAnimationController::UpdateTimer() {
  bool Running = false;
  for (Integer I = 0; I < GetCount() && !Running; ++I) Running = GetAnimation(I)->Running();
  FTimer->SetEnabled(Running);
}

TdxAnimationController* dxAnimationController() {
  if (!FController && !AnimationFinalized) FController = Create<TdxAnimationController>();
  return FController;
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

namespace {
void AnimationInitialize() {
  AnimationFinalized = false;
  Clock =
      TdxAnimationClock{&::QueryPerformanceCounter, &::QueryPerformanceFrequency, &::GetTickCount};
}

void AnimationFinalize() {
  AnimationFinalized = true;
  FreeAndNil(FController);
}
}  // namespace

void dxAnimation_Initialize() {
  if (TdxUnitsLoader* L = dxUnitsLoader()) L->AddUnit(&AnimationInitialize, &AnimationFinalize);
}

void dxAnimation_Finalize() {
  if (TdxUnitsLoader* L = dxUnitsLoader()) L->RemoveUnit(&AnimationFinalize);
}
