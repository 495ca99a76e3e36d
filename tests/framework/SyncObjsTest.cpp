#include <gtest/gtest.h>

#include "Classes.h"
#include "SyncObjs.h"

namespace {

TEST(TEvent, ManualAndAutoReset) {
  struct Case {
    bool ManualReset;
    TWaitResult SecondWait;
  };
  for (const Case& C : {Case{true, wrSignaled}, Case{false, wrTimeout}}) {
    TOwned<TEvent> E(Create<TEvent>(nullptr, C.ManualReset, false));
    EXPECT_EQ(E->WaitFor(0), wrTimeout);
    E->SetEvent();
    EXPECT_EQ(E->WaitFor(0), wrSignaled);
    EXPECT_EQ(E->WaitFor(0), C.SecondWait);
    E->SetEvent();
    E->ResetEvent();
    EXPECT_EQ(E->WaitFor(0), wrTimeout);
  }
  TOwned<TSimpleEvent> S(Create<TSimpleEvent>());
  EXPECT_EQ(S->WaitFor(0), wrTimeout);
  TOwned<TEvent> Initially(Create<TEvent>(nullptr, true, true));
  EXPECT_EQ(Initially->WaitFor(0), wrSignaled);
}

TEST(TEvent, NamedEventsAreShared) {
  String Name = L"classes-test-event-" + std::to_wstring(GetCurrentProcessId());
  TOwned<TEvent> A(Create<TEvent>(nullptr, true, false, Name));
  TOwned<TEvent> B(Create<TEvent>(nullptr, true, false, Name));
  A->SetEvent();
  EXPECT_EQ(B->WaitFor(0), wrSignaled);
}

class TMutexHolder : public TThread {
  DECLARE_CLASS_INLINE(TMutexHolder, TThread)
 public:
  TMutexHolder(TMutex* AMutex) : TThread(false), FMutex(AMutex) {}

 protected:
  // Ends while owning the mutex, which abandons it.
  void Execute() override { FMutex->Acquire(); }

 private:
  TMutex* FMutex;
};

TEST(TMutex, AbandonedMutexIsReported) {
  TOwned<TMutex> M(Create<TMutex>());
  TOwned<TMutexHolder> T(Create<TMutexHolder>(M.get()));
  T->WaitFor();
  EXPECT_EQ(M->WaitFor(INFINITE), wrAbandoned);
  M->Release();
  M->Acquire();
  M->Release();
  EXPECT_THROW(M->Release(), EOSError);  // not owned any more
}

class TCounter : public TThread {
  DECLARE_CLASS_INLINE(TCounter, TThread)
 public:
  TCounter(TCriticalSection* ALock, long* AValue) : TThread(false), FLock(ALock), FValue(AValue) {}

 protected:
  void Execute() override {
    for (int I = 0; I < 20000; ++I) {
      FLock->Enter();
      // A read-modify-write that loses updates without the lock.
      long V = *FValue;
      *static_cast<volatile long*>(FValue) = V + 1;
      FLock->Leave();
    }
  }

 private:
  TCriticalSection* FLock;
  long* FValue;
};

TEST(TCriticalSection, SerialisesThreads) {
  TOwned<TCriticalSection> Lock(Create<TCriticalSection>());
  long Value = 0;
  {
    TOwned<TCounter> A(Create<TCounter>(Lock.get(), &Value));
    TOwned<TCounter> B(Create<TCounter>(Lock.get(), &Value));
    A->WaitFor();
    B->WaitFor();
  }
  EXPECT_EQ(Value, 40000);
  EXPECT_TRUE(Lock->TryEnter());
  Lock->Leave();
}

}  // namespace
