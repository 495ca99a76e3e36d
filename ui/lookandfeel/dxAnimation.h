// Time-based transitions: an integer position that moves from 0 to a length
// over a number of milliseconds along an easing curve, stepped by one
// process-wide controller on a 1 ms timer.
#pragma once

#include <vector>

#include "ComObj.h"
#include "cxClasses.h"

// ---------------------------------------------------------------------------
// Clock

// The platform's clock as the animations read it; tests replace it.
struct TdxAnimationClock {
  BOOL(WINAPI* QueryPerformanceCounter)(LARGE_INTEGER* ACount) = nullptr;
  BOOL(WINAPI* QueryPerformanceFrequency)(LARGE_INTEGER* AFrequency) = nullptr;
  DWORD(WINAPI* GetTickCount)() = nullptr;
};
// Filled with the platform's functions until replaced.
TdxAnimationClock& dxAnimationClock();

// The low 32 bits of nNumber, sign-extended, times nNumerator, divided by
// nDenominator in extended precision and truncated toward zero.
Int64 dxMulDiv64(Int64 nNumber, Int64 nNumerator, Int64 nDenominator);
// The performance counter, or the tick count when there is none.
Int64 dxGetExactTickCount();
// ATime milliseconds in the units of dxGetExactTickCount.
Int64 dxTimeToTickCount(Cardinal ATime);

// ---------------------------------------------------------------------------
// Easing

enum TdxAnimationTransitionEffect {
  ateLinear,
  ateAccelerateDecelerate,
  ateCubic,
  ateTanh,
  ateBack,
  ateBounce,
  ateCircle,
  ateElastic,
  ateExponential,
  ateSine,
  ateQuadratic,
  ateQuartic,
  ateCustom
};
enum TdxAnimationTransitionEffectMode { atmIn, atmOut, atmInOut };

// The easing curves f(t) on 0..1 and the modes that mirror them.
class TdxEaseHelper {
 public:
  using TEaseFunction = Double (*)(Double T);
  static Double Back(Double T);
  static Double Bounce(Double T);
  static Double Circle(Double T);
  static Double Cubic(Double T);
  static Double Elastic(Double T);
  static Double Exponential(Double T);
  static Double Quadratic(Double T);
  static Double Quartic(Double T);
  static Double Sine(Double T);
  // 1 - (t - 1)^6, for every effect without a curve of its own.
  static Double Default(Double T);
  static TEaseFunction EaseFunction(TdxAnimationTransitionEffect AEffect);
  // atmIn f(t); atmOut 1 - f(1 - t); atmInOut the first half of f on the
  // first half of the time and the mirrored second half after it.
  static Double Ease(TdxAnimationTransitionEffectMode AMode, TEaseFunction AFunction, Double T);
};

// ---------------------------------------------------------------------------
// Transitions

class TdxAnimationTransition;
class TdxAnimationController;

// AValue is the elapsed and AMaxValue the whole time in counter ticks; the
// result is the position.
using TdxAnimationTransitionEffectProc = Integer (*)(TdxAnimationTransition* Sender, Int64 AValue,
                                                     Int64 AMaxValue, Integer ALength);
using TdxAnimationEvent =
    TMethodPtr<void(TdxAnimationTransition* Sender, Integer& APosition, bool& AFinished)>;

struct IdxAnimationListener : public IUnknown {
  virtual void STDMETHODCALLTYPE AfterAnimation(TdxAnimationController* AController) = 0;
  virtual void STDMETHODCALLTYPE BeforeAnimation(TdxAnimationController* AController) = 0;
  virtual void STDMETHODCALLTYPE DestroyAnimation(TdxAnimationTransition* AAnimation) = 0;
};
__CRT_UUID_DECL(IdxAnimationListener, 0x0CAAD87B, 0x8A4B, 0x464B, 0xA7, 0x38, 0x13, 0x40, 0xBD,
                0x80, 0xC3, 0xD8)

// Created suspended and registered with the controller; Resume starts it.
// When it finishes it takes its final step (position = Length, events,
// OnTerminate) and, with FreeOnTerminate, frees itself at that tick.
class TdxAnimationTransition : public TObject {
  DECLARE_CLASS(TdxAnimationTransition, TObject)
 public:
  TdxAnimationTransition(Cardinal ATime, TdxAnimationTransitionEffect ATransitionEffect,
                         Integer ALength,
                         TdxAnimationTransitionEffectMode ATransitionEffectMode = atmIn);
  // Picks the curve and registers with the controller.
  void AfterConstruction() override;
  ~TdxAnimationTransition() override;

  void Resume();
  // With AFinished the transition ends (a final step); otherwise it pauses
  // and a later Resume carries the elapsed time over.
  void Suspend(bool AFinished = false);
  // Ends the transition and frees it when FreeOnTerminate.
  void Terminate();
  // Runs every step at once, without the timer, then frees the transition
  // when FreeOnTerminate.
  void ImmediateAnimation();

  bool Finished() const { return FFinished; }
  // Ending takes a final step; clearing the flag restarts the transition.
  void SetFinished(bool AValue);
  bool Suspended() const { return FLockCount > 0; }
  bool FreeOnTerminate() const { return FFreeOnTerminate; }
  void SetFreeOnTerminate(bool AValue) { FFreeOnTerminate = AValue; }
  TObject* Info() const { return FInfo.get(); }
  // The transition owns the object.
  void SetInfo(TObject* AValue) { FInfo.reset(AValue); }
  Cardinal Length() const { return FLength; }
  Integer Position() const { return FPosition; }
  bool PositionChanged() const { return FPositionChanged; }
  void SetPositionChanged(bool AValue) { FPositionChanged = AValue; }
  Cardinal Time() const { return FTime; }
  TdxAnimationTransitionEffect TransitionEffect() const { return FTransitionEffect; }
  TdxAnimationTransitionEffectMode TransitionEffectMode() const { return FTransitionEffectMode; }
  TdxAnimationTransitionEffectProc TransitionEffectProc() const { return FTransitionEffectProc; }

  const TdxAnimationEvent& OnAfterAnimate() const { return FOnAfterAnimate; }
  void SetOnAfterAnimate(const TdxAnimationEvent& AValue) { FOnAfterAnimate = AValue; }
  const TdxAnimationEvent& OnAnimate() const { return FOnAnimate; }
  void SetOnAnimate(const TdxAnimationEvent& AValue) { FOnAnimate = AValue; }
  const TdxAnimationEvent& OnBeforeAnimate() const { return FOnBeforeAnimate; }
  void SetOnBeforeAnimate(const TdxAnimationEvent& AValue) { FOnBeforeAnimate = AValue; }
  const TNotifyEvent& OnTerminate() const { return FOnTerminate; }
  void SetOnTerminate(const TNotifyEvent& AValue) { FOnTerminate = AValue; }

  // Whether AAnimation may run beside this one; a registration that this
  // refuses ends this one.
  virtual bool IsCompatible(TdxAnimationTransition* AAnimation) { return true; }
  virtual void RefreshAnimatedObject() {}

 protected:
  virtual void InitializeTransitionEffectProc();
  virtual void DoAfterAnimate();
  virtual void DoAnimate();
  virtual void DoBeforeAnimate();
  void SetTransitionEffectProc(TdxAnimationTransitionEffectProc AValue) {
    FTransitionEffectProc = AValue;
  }

 private:
  friend class TdxAnimationController;
  bool Running() const { return !Suspended() && !FFinished; }
  void Animate();
  // One tick of the controller: false when the transition freed itself.
  bool TryAnimate();
  void InitializeTime();
  void CallEvent(const TdxAnimationEvent& AEvent);

  Int64 FCurrent = 0;
  Int64 FFinish = 0;
  bool FFinished = false;
  bool FFreeOnTerminate = true;
  TOwned<TObject> FInfo;
  Cardinal FLength;
  Integer FLockCount = 1;
  Integer FPosition = 0;
  bool FPositionChanged = false;
  Int64 FStart = 0;
  Cardinal FTime;
  TdxAnimationTransitionEffect FTransitionEffect;
  TdxAnimationTransitionEffectProc FTransitionEffectProc = nullptr;
  TdxAnimationTransitionEffectMode FTransitionEffectMode;
  // Counts the steps, so that a step which a handler superseded by ending
  // or restarting the transition raises no further events of its own.
  UInt64 FStepCount = 0;
  TdxAnimationEvent FOnAfterAnimate;
  TdxAnimationEvent FOnAnimate;
  TdxAnimationEvent FOnBeforeAnimate;
  TNotifyEvent FOnTerminate;
};

// Steps every registered transition from one 1 ms timer. The timer runs only
// while a resumed, unfinished transition is registered.
class TdxAnimationController : public TObject {
  DECLARE_CLASS(TdxAnimationController, TObject)
 public:
  TdxAnimationController();
  ~TdxAnimationController() override;

  // Ends every registered transition that refuses AAnimation, then appends it.
  void Add(TdxAnimationTransition* AAnimation);
  // Tells the listeners, then forgets the transition.
  void Remove(TdxAnimationTransition* AAnimation);
  void AddListener(IdxAnimationListener* AListener);
  void RemoveListener(IdxAnimationListener* AListener);
  // One tick at once.
  void Update();

  Integer GetCount() const { return FAnimations->Count(); }
  TdxAnimationTransition* GetAnimation(Integer AIndex) const {
    return static_cast<TdxAnimationTransition*>(FAnimations->Items(AIndex));
  }
  TcxTimer* Timer() const { return FTimer.get(); }

 protected:
  virtual void TimerHandler(TObject* Sender);

 private:
  friend class TdxAnimationTransition;
  // Runs the timer exactly while some transition runs.
  void UpdateTimer();
  void AnimateAll();
  std::vector<TComPtr<IdxAnimationListener>> ListenersSnapshot() const;

  TOwned<TcxObjectList> FAnimations;
  std::vector<TComPtr<IdxAnimationListener>> FListenerList;
  TOwned<TcxTimer> FTimer;
};

// The shared controller, created on first use; nullptr once the module's
// shut-down began.
TdxAnimationController* dxAnimationController();

void dxAnimation_Initialize();
void dxAnimation_Finalize();
