#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "dxAnimation.h"

namespace {

// ---------------------------------------------------------------------------
// A clock the tests move by hand: a counter of 10 MHz, as the platform's
// usually is, that may also advance by itself on every reading.

constexpr Int64 Frequency = 10000000;
constexpr Int64 TicksPerMs = Frequency / 1000;

struct TFakeClock {
  Int64 Now = 0;
  Int64 AutoAdvance = 0;
  bool HasCounter = true;
  DWORD TickCount = 0;
};
TFakeClock Fake;

BOOL WINAPI FakeCounter(LARGE_INTEGER* ACount) {
  if (!Fake.HasCounter) return FALSE;
  ACount->QuadPart = Fake.Now;
  Fake.Now += Fake.AutoAdvance;
  return TRUE;
}
BOOL WINAPI FakeFrequency(LARGE_INTEGER* AFrequency) {
  if (!Fake.HasCounter) return FALSE;
  AFrequency->QuadPart = Frequency;
  return TRUE;
}
DWORD WINAPI FakeTickCount() { return Fake.TickCount; }

void Advance(double AMilliseconds) { Fake.Now += static_cast<Int64>(AMilliseconds * TicksPerMs); }

// Every test starts with a fresh controller and the hand-moved clock.
class Animation : public ::testing::Test {
 protected:
  void SetUp() override {
    Fake = TFakeClock{};
    Fake.Now = 5000000000;  // a counter is never 0
    dxAnimationClock() = TdxAnimationClock{&FakeCounter, &FakeFrequency, &FakeTickCount};
  }
  void TearDown() override {
    // Frees the controller with whatever is still registered.
    dxAnimation_Finalize();
    dxAnimation_Initialize();
  }
  static TdxAnimationController* Controller() { return dxAnimationController(); }
  static bool TimerRuns() { return Controller()->Timer()->Enabled(); }
};

// Records the events of transitions as "B", "A", "F" (before, animate,
// after) with the position, and "T" for the end; handlers may be added.
class TRecorder : public TObject {
 public:
  std::vector<std::string> Log;
  std::function<void(TdxAnimationTransition*, Integer&, bool&)> OnBefore, OnAnimate, OnAfter;

  void Before(TdxAnimationTransition* S, Integer& P, bool& F) { Note("B", S, P, F, OnBefore); }
  void Animate(TdxAnimationTransition* S, Integer& P, bool& F) { Note("A", S, P, F, OnAnimate); }
  void After(TdxAnimationTransition* S, Integer& P, bool& F) { Note("F", S, P, F, OnAfter); }
  void Terminate(TObject*) { Log.push_back("T"); }

  TdxAnimationTransition* Watch(TdxAnimationTransition* T) {
    T->SetOnBeforeAnimate(MakeEvent<&TRecorder::Before>(this));
    T->SetOnAnimate(MakeEvent<&TRecorder::Animate>(this));
    T->SetOnAfterAnimate(MakeEvent<&TRecorder::After>(this));
    T->SetOnTerminate(MakeEvent<&TRecorder::Terminate>(this));
    return T;
  }
  std::vector<std::string> Take() { return std::exchange(Log, {}); }

 private:
  void Note(const char* AKind, TdxAnimationTransition* S, Integer& P, bool& F,
            const std::function<void(TdxAnimationTransition*, Integer&, bool&)>& AHandler) {
    Log.push_back(AKind + std::to_string(P));
    if (AHandler) AHandler(S, P, F);
  }
};

using TLog = std::vector<std::string>;

TdxAnimationTransition* NewTransition(Cardinal ATime, TdxAnimationTransitionEffect AEffect,
                                      Integer ALength,
                                      TdxAnimationTransitionEffectMode AMode = atmIn) {
  return Create<TdxAnimationTransition>(ATime, AEffect, ALength, AMode);
}

bool Registered(TdxAnimationTransition* T) {
  TdxAnimationController* C = dxAnimationController();
  for (Integer I = 0; I < C->GetCount(); ++I)
    if (C->GetAnimation(I) == T) return true;
  return false;
}

// ---------------------------------------------------------------------------
// Clock

TEST_F(Animation, ClockReadsTheCounterOrFallsBackToTheTickCount) {
  Fake.TickCount = 4321;
  EXPECT_EQ(dxGetExactTickCount(), Fake.Now);
  EXPECT_EQ(dxTimeToTickCount(250), 250 * TicksPerMs);
  Fake.HasCounter = false;
  EXPECT_EQ(dxGetExactTickCount(), 4321);
  EXPECT_EQ(dxTimeToTickCount(250), 250);
}

TEST(AnimationArithmetic, MulDiv64TakesTheLowWordAndTruncates) {
  struct {
    Int64 Number, Numerator, Denominator, Expected;
  } Cases[] = {
      {5, 3, 2, 7},               // 7.5 truncated
      {-5, 3, 2, -7},             // toward zero
      {0x100000005LL, 3, 2, 7},   // only the low 32 bits count
      {0xFFFFFFFFLL, 10, 3, -3},  // and are sign-extended
      {255, 999 * TicksPerMs, 1000 * TicksPerMs, 254},
      {1000, Frequency, 1000, 1000 * TicksPerMs},  // no overflow in the product
      {2000000000, 4000000000LL, 3, 2666666666666666666LL},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(dxMulDiv64(C.Number, C.Numerator, C.Denominator), C.Expected)
        << C.Number << " * " << C.Numerator << " / " << C.Denominator;
}

// ---------------------------------------------------------------------------
// Curves

struct TEasingRow {
  TdxAnimationTransitionEffect Effect;
  TdxAnimationTransitionEffectMode Mode;
  Int64 Step;  // of 1000
  Integer Length;
  Integer Position;
  bool HasValue;
  Double Value;
};
const TEasingRow EasingTable[] = {
#include "EasingTable.inc"
};

TEST_F(Animation, CurvesFollowTheTableComputedFromTheirDefinitions) {
  for (const TEasingRow& R : EasingTable) {
    TdxAnimationTransition* T = NewTransition(1000, R.Effect, R.Length, R.Mode);
    const Double t = static_cast<Double>(R.Step) / 1000;
    if (R.HasValue) {
      EXPECT_NEAR(TdxEaseHelper::Ease(R.Mode, TdxEaseHelper::EaseFunction(R.Effect), t), R.Value,
                  1e-12)
          << "effect " << R.Effect << " mode " << R.Mode << " t " << t;
    }
    EXPECT_EQ(T->TransitionEffectProc()(T, R.Step, 1000, R.Length), R.Position)
        << "effect " << R.Effect << " mode " << R.Mode << " t " << t << " length " << R.Length;
    T->Free();
  }
}

TEST(AnimationCurves, BounceTouchesZeroAtTheArcEndsAndPeaksAtOne) {
  EXPECT_EQ(TdxEaseHelper::Bounce(0), 0);
  EXPECT_NEAR(TdxEaseHelper::Bounce(1), 1, 1e-12);
  for (Double End : {1 / 93.5, 6 / 93.5, 31 / 93.5})
    EXPECT_NEAR(TdxEaseHelper::Bounce(End), 0, 1e-9) << End;
  // Each arc peaks 5 times higher than the one before.
  EXPECT_NEAR(TdxEaseHelper::Bounce(0.5 / 93.5), 1.0 / 125, 1e-12);
  EXPECT_NEAR(TdxEaseHelper::Bounce(3.5 / 93.5), 1.0 / 25, 1e-12);
  EXPECT_NEAR(TdxEaseHelper::Bounce(18.5 / 93.5), 1.0 / 5, 1e-12);
  // In and out at exactly half time: the second half of the mirrored curve.
  for (auto F : {&TdxEaseHelper::Cubic, &TdxEaseHelper::Bounce, &TdxEaseHelper::Elastic})
    EXPECT_DOUBLE_EQ(TdxEaseHelper::Ease(atmInOut, F, 0.5), (1 - F(1)) / 2 + 0.5);
}

// ---------------------------------------------------------------------------
// Steps

TEST_F(Animation, PositionAfterTimeElapsed) {
  struct {
    TdxAnimationTransitionEffect Effect;
    TdxAnimationTransitionEffectMode Mode;
    Cardinal Time;
    Integer Length;
    double Elapsed;
    Integer Position;
    bool Finished;
  } Cases[] = {
      {ateLinear, atmIn, 1000, 100, 250, 25, false},
      {ateLinear, atmIn, 1000, 255, 999, 254, false},  // truncated, not rounded
      {ateLinear, atmIn, 1000, 255, 1000, 255, true},
      {ateLinear, atmIn, 1000, 255, 5000, 255, true},  // a late tick ends at the length
      {ateLinear, atmIn, 0, 80, 0, 80, true},          // no duration: the first step ends it
      {ateAccelerateDecelerate, atmInOut, 200, 255, 100, 251, false},  // mode not applied
      {ateTanh, atmOut, 1000, 100, 500, 50, false},
      {ateCubic, atmOut, 1000, 1000, 500, 875, false},
      {ateCubic, atmInOut, 1000, 1000, 250, 62, false},  // 62.5 rounds half to even
  };
  for (const auto& C : Cases) {
    TRecorder R;
    TdxAnimationTransition* T = R.Watch(NewTransition(C.Time, C.Effect, C.Length, C.Mode));
    T->SetFreeOnTerminate(false);
    T->Resume();
    Advance(C.Elapsed);
    Controller()->Update();
    EXPECT_EQ(T->Position(), C.Position) << C.Effect << " after " << C.Elapsed << " ms";
    EXPECT_EQ(T->Finished(), C.Finished) << C.Effect << " after " << C.Elapsed << " ms";
    EXPECT_EQ(R.Log.back() == "T", C.Finished);
    T->Free();
  }
}

TEST_F(Animation, StepsRaiseTheirEventsAndTheLastFreesTheTransition) {
  TRecorder R;
  TdxAnimationTransition* T = R.Watch(NewTransition(100, ateLinear, 100));
  Controller()->Update();  // created suspended: nothing happens
  EXPECT_TRUE(R.Take().empty());
  T->Resume();
  // A position of 0 raises the events on every tick; an unchanged non-zero
  // one raises none.
  Controller()->Update();
  EXPECT_EQ(R.Take(), (TLog{"B0", "A0", "F0"}));
  Advance(0.5);
  Controller()->Update();
  EXPECT_EQ(R.Take(), (TLog{"B0", "A0", "F0"}));
  Advance(24.5);
  Controller()->Update();
  EXPECT_EQ(R.Take(), (TLog{"B25", "A25", "F25"}));
  EXPECT_TRUE(T->PositionChanged() == false);  // cleared at the end of the tick
  Advance(0.5);
  Controller()->Update();
  EXPECT_TRUE(R.Take().empty());
  Advance(75);
  Controller()->Update();
  EXPECT_EQ(R.Take(), (TLog{"B100", "A100", "F100", "T"}));
  EXPECT_EQ(Controller()->GetCount(), 0);
}

TEST_F(Animation, HandlersThatEndOrRestartTheTransition) {
  struct {
    const char* Name;
    std::function<void(TRecorder&)> Arrange;
    double Elapsed;
    TLog Expected;
    bool Registered;
  } Cases[] = {
      // Ended from OnAnimate: at once at the length, and the end announced once.
      {"end from OnAnimate",
       [](TRecorder& R) { R.OnAnimate = [](auto*, Integer&, bool& F) { F = true; }; },
       25,
       {"B25", "A25", "B100", "A100", "F100", "T"},
       false},
      {"end from OnBeforeAnimate",
       [](TRecorder& R) { R.OnBefore = [](auto*, Integer& P, bool& F) { F = P > 0; }; },
       25,
       {"B25", "B100", "A100", "F100", "T"},
       false},
      // Restarted at the final step: it begins again at 0 and is not ended.
      {"restart from OnAnimate",
       [](TRecorder& R) {
         R.OnAnimate = [Once = true](auto*, Integer&, bool& F) mutable {
           if (F && Once) {
             Once = false;
             F = false;
           }
         };
       },
       100,
       {"B100", "A100", "B0", "A0", "F0"},
       true},
      // The after-handler's answer is kept without a further step.
      {"kept running by OnAfterAnimate",
       [](TRecorder& R) { R.OnAfter = [](auto*, Integer&, bool& F) { F = false; }; },
       100,
       {"B100", "A100", "F100"},
       true},
  };
  for (const auto& C : Cases) {
    TRecorder R;
    C.Arrange(R);
    TdxAnimationTransition* T = R.Watch(NewTransition(100, ateLinear, 100));
    T->Resume();
    Advance(C.Elapsed);
    Controller()->Update();
    EXPECT_EQ(R.Take(), C.Expected) << C.Name;
    EXPECT_EQ(Registered(T), C.Registered) << C.Name;
    if (C.Registered) {
      EXPECT_FALSE(T->Finished()) << C.Name;
      EXPECT_TRUE(TimerRuns()) << C.Name;
      T->Free();
    }
  }
}

TEST_F(Animation, RestartedTransitionRunsItsWholeTimeAgain) {
  TRecorder R;
  bool Restarted = false;
  R.OnAnimate = [&](auto*, Integer&, bool& F) {
    if (F && !Restarted) {
      Restarted = true;
      F = false;
    }
  };
  TdxAnimationTransition* T = R.Watch(NewTransition(100, ateLinear, 100));
  T->Resume();
  Advance(150);
  Controller()->Update();
  R.Take();
  Advance(40);
  Controller()->Update();
  EXPECT_EQ(R.Take(), (TLog{"B40", "A40", "F40"}));
  Advance(60);
  Controller()->Update();
  EXPECT_EQ(R.Take(), (TLog{"B100", "A100", "F100", "T"}));
  EXPECT_FALSE(Registered(T));
}

TEST_F(Animation, PauseCarriesTheElapsedTimeOverAndEndingSuspendTerminates) {
  TRecorder R;
  TdxAnimationTransition* T = R.Watch(NewTransition(100, ateLinear, 100));
  T->Resume();
  Advance(40);
  Controller()->Update();
  EXPECT_EQ(T->Position(), 40);
  T->Suspend(false);
  EXPECT_TRUE(T->Suspended());
  Advance(1000);
  R.Take();
  Controller()->Update();
  EXPECT_TRUE(R.Take().empty());
  T->Resume();
  Advance(10);
  Controller()->Update();
  EXPECT_EQ(R.Take(), (TLog{"B50", "A50", "F50"}));
  T->Suspend(true);  // ends at once with the final step, and frees it
  EXPECT_EQ(R.Take(), (TLog{"B100", "A100", "F100", "T"}));
  EXPECT_FALSE(Registered(T));
}

TEST_F(Animation, TerminateAndImmediateAnimation) {
  TRecorder R;
  TOwned<TObject> Probe = MakeOwned<TObject>();
  TdxAnimationTransition* T = R.Watch(NewTransition(1000, ateLinear, 10));
  T->Resume();
  T->Terminate();
  EXPECT_EQ(R.Take(), (TLog{"B10", "A10", "F10", "T"}));
  EXPECT_FALSE(Registered(T));

  // Steps until the end without a timer, the clock moving 100 ms a reading.
  Fake.AutoAdvance = 100 * TicksPerMs;
  T = R.Watch(NewTransition(300, ateLinear, 3));
  T->ImmediateAnimation();
  TLog Log = R.Take();
  ASSERT_GE(Log.size(), 4u);
  EXPECT_EQ(TLog(Log.end() - 4, Log.end()), (TLog{"B3", "A3", "F3", "T"}));
  EXPECT_FALSE(Registered(T));
}

class TFreeCount : public TObject {
 public:
  explicit TFreeCount(int* ACount) : FCount(ACount) {}
  ~TFreeCount() override { ++*FCount; }

 private:
  int* FCount;
};

TEST_F(Animation, InfoIsFreedWithTheTransition) {
  int Freed = 0;
  TdxAnimationTransition* T = NewTransition(10, ateLinear, 1);
  T->SetInfo(new TFreeCount(&Freed));
  T->Resume();
  Advance(10);
  Controller()->Update();
  EXPECT_EQ(Freed, 1);
}

// ---------------------------------------------------------------------------
// The controller

// Refuses to run beside any transition of the same effect.
class TExclusive : public TdxAnimationTransition {
  DECLARE_CLASS_INLINE(TExclusive, TdxAnimationTransition)
 public:
  using TdxAnimationTransition::TdxAnimationTransition;
  bool IsCompatible(TdxAnimationTransition* A) override {
    return A->TransitionEffect() != TransitionEffect();
  }
};

TEST_F(Animation, RegisteringEndsTheTransitionsThatRefuseTheNewcomer) {
  TRecorder Old, Other;
  TdxAnimationTransition* Refusing = Old.Watch(Create<TExclusive>(100, ateSine, 50, atmIn));
  TdxAnimationTransition* Tolerant = Other.Watch(NewTransition(100, ateCubic, 50));
  Refusing->Resume();
  Tolerant->Resume();
  TdxAnimationTransition* Newcomer = NewTransition(100, ateSine, 70);
  EXPECT_EQ(Old.Take(), (TLog{"B50", "A50", "F50", "T"}));
  EXPECT_TRUE(Other.Take().empty());
  EXPECT_TRUE(Refusing->Finished());
  EXPECT_FALSE(Tolerant->Finished());
  EXPECT_EQ(Controller()->GetAnimation(Controller()->GetCount() - 1), Newcomer);
  Controller()->Update();  // the ended one frees itself at the next tick
  EXPECT_FALSE(Registered(Refusing));
  EXPECT_TRUE(Registered(Tolerant));
}

TEST_F(Animation, TimerRunsOnlyWhileATransitionRuns) {
  EXPECT_FALSE(TimerRuns());
  TdxAnimationTransition* A = NewTransition(100, ateLinear, 100);
  TdxAnimationTransition* B = NewTransition(50, ateLinear, 100);
  B->SetFreeOnTerminate(false);
  EXPECT_FALSE(TimerRuns());  // registered, but suspended
  A->Resume();
  B->Resume();
  EXPECT_TRUE(TimerRuns());
  A->Suspend(false);
  EXPECT_TRUE(TimerRuns());  // B still runs
  Advance(50);
  Controller()->Update();  // B ends and stays registered
  EXPECT_TRUE(B->Finished());
  EXPECT_TRUE(Registered(B));
  EXPECT_FALSE(TimerRuns());
  A->Resume();
  EXPECT_TRUE(TimerRuns());
  A->Suspend(true);  // ended and freed
  EXPECT_FALSE(TimerRuns());
  B->SetFinished(false);  // a restart runs again
  EXPECT_TRUE(TimerRuns());
  B->Free();
  EXPECT_FALSE(TimerRuns());
}

class TListener : public TcxIUnknownObject, public IdxAnimationListener {
  DECLARE_CLASS_INLINE(TListener, TcxIUnknownObject)
 public:
  explicit TListener(const char* AName, TLog* ALog) : FName(AName), FLog(ALog) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return TcxIUnknownObject::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TcxIUnknownObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TcxIUnknownObject::Release(); }
  void STDMETHODCALLTYPE AfterAnimation(TdxAnimationController*) override {
    FLog->push_back(FName + ".after");
  }
  void STDMETHODCALLTYPE BeforeAnimation(TdxAnimationController*) override {
    FLog->push_back(FName + ".before");
  }
  void STDMETHODCALLTYPE DestroyAnimation(TdxAnimationTransition*) override {
    FLog->push_back(FName + ".destroy");
  }

 private:
  std::string FName;
  TLog* FLog;
};

DECLARE_EXCEPTION(EHandlerFailed, Exception)

TEST_F(Animation, ListenersFrameEveryTickAndHearOfFreedTransitions) {
  TLog Log;
  TListener First("1", &Log), Second("2", &Log);
  Controller()->AddListener(&First);
  Controller()->AddListener(&Second);
  Controller()->AddListener(&First);  // once only
  TRecorder R;
  TdxAnimationTransition* T = R.Watch(NewTransition(10, ateLinear, 10));
  T->Resume();
  Advance(10);
  Controller()->Update();
  EXPECT_EQ(Log, (TLog{"1.before", "2.before", "1.destroy", "2.destroy", "1.after", "2.after"}));
  Log.clear();

  // A raising handler leaves the tick, after the listeners heard its end.
  T = NewTransition(10, ateLinear, 10);
  R.Watch(T)->SetFreeOnTerminate(false);
  R.OnAnimate = [](auto*, Integer&, bool&) { throw EHandlerFailed(L"handler failed"); };
  T->Resume();
  EXPECT_THROW(Controller()->Update(), EHandlerFailed);
  EXPECT_EQ(Log, (TLog{"1.before", "2.before", "1.after", "2.after"}));
  Log.clear();

  Controller()->RemoveListener(&First);
  T->Free();
  EXPECT_EQ(Log, (TLog{"2.destroy"}));
  Controller()->RemoveListener(&Second);
}

TEST_F(Animation, ShutDownFreesTheRemainingTransitionsWithoutUnregistering) {
  TLog Log;
  TListener L("l", &Log);
  Controller()->AddListener(&L);
  int Freed = 0;
  TdxAnimationTransition* T = NewTransition(100, ateLinear, 10);
  T->SetInfo(new TFreeCount(&Freed));
  T->Resume();
  dxAnimation_Finalize();
  EXPECT_EQ(Freed, 1);
  EXPECT_TRUE(Log.empty());
  EXPECT_EQ(dxAnimationController(), nullptr);  // not created again
  dxAnimation_Initialize();
  EXPECT_NE(dxAnimationController(), nullptr);
}

TEST_F(Animation, PlatformTimerDrivesATransitionToItsEnd) {
  dxAnimationClock() =
      TdxAnimationClock{&QueryPerformanceCounter, &QueryPerformanceFrequency, &GetTickCount};
  TRecorder R;
  TdxAnimationTransition* T = R.Watch(NewTransition(30, ateLinear, 100));
  T->Resume();
  for (int I = 0; I < 1000 && Registered(T); ++I) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&Msg);
  }
  ASSERT_FALSE(Registered(T));
  EXPECT_EQ(R.Log.back(), "T");
  EXPECT_FALSE(TimerRuns());
}

}  // namespace
