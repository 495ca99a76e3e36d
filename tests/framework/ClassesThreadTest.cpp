#include <gtest/gtest.h>

#include "Classes.h"
#include "SyncObjs.h"

namespace {

// Serves the main thread's side until Done is signalled, as a message loop
// would.
void PumpUntil(TEvent& Done) {
  while (Done.WaitFor(0) != wrSignaled) CheckSynchronize(50);
}

class TWorker : public TThread {
  DECLARE_CLASS_INLINE(TWorker, TThread)
 public:
  explicit TWorker(Boolean Suspended) : TThread(Suspended) {}
  DWORD SyncThread = 0, QueueThread = 0;
  int Counter = 0;
  int SeenAfterSync = -1;

 protected:
  void Execute() override {
    Synchronize(MakeEvent<&TWorker::Step>(this));
    // Synchronize returns only after the main thread ran the method.
    SeenAfterSync = Counter;
    Queue(MakeEvent<&TWorker::Queued>(this));
    SetReturnValue(42);
  }

 private:
  void Step() {
    SyncThread = GetCurrentThreadId();
    ++Counter;
  }
  void Queued() { QueueThread = GetCurrentThreadId(); }
};

TEST(TThread, SynchronizeAndQueueRunInTheMainThread) {
  TOwned<TWorker> W(Create<TWorker>(true));
  EXPECT_TRUE(W->Suspended());
  W->Start();
  EXPECT_THROW(W->Start(), EThread);
  // WaitFor in the main thread serves the Synchronize call meanwhile.
  EXPECT_EQ(W->WaitFor(), 42u);
  EXPECT_TRUE(W->Finished());
  EXPECT_EQ(W->SyncThread, MainThreadID);
  EXPECT_EQ(W->SeenAfterSync, 1);
  while (W->QueueThread == 0) CheckSynchronize(50);
  EXPECT_EQ(W->QueueThread, MainThreadID);
  EXPECT_EQ(W->ReturnValue(), 42);
  EXPECT_EQ(W->FatalException(), nullptr);
  EXPECT_FALSE(CheckSynchronize());
}

class TFailing : public TThread {
  DECLARE_CLASS_INLINE(TFailing, TThread)
 public:
  TFailing(int AMode) : TThread(false), FMode(AMode) {}

 protected:
  void Execute() override {
    if (FMode == 0) throw EConvertError(L"bad number");
    if (FMode == 1) Synchronize(MakeEvent<&TFailing::Refuse>(this));
    if (FMode == 2) CheckSynchronize();
    if (FMode == 3) throw std::runtime_error("std failure");
  }

 private:
  void Refuse() { throw EAbort(L"refused"); }
  int FMode;
};

TEST(TThread, ExceptionsAreKeptAsFatalException) {
  struct Case {
    int Mode;
    TClass Class;
    const wchar_t* Message;
  };
  const Case Cases[] = {
      {0, EConvertError::StaticClass(), L"bad number"},
      // The synchronized method's exception is raised again in the thread.
      {1, EAbort::StaticClass(), L"refused"},
      {2, EThread::StaticClass(), L"CheckSynchronize called from thread $"},
      {3, Exception::StaticClass(), L"std failure"},
  };
  for (const Case& C : Cases) {
    TOwned<TFailing> T(Create<TFailing>(C.Mode));
    T->WaitFor();
    ASSERT_NE(T->FatalException(), nullptr) << C.Mode;
    EXPECT_EQ(T->FatalException()->ClassType(), C.Class) << C.Mode;
    String Expected = C.Message;
    EXPECT_EQ(T->FatalException()->Message().substr(0, Expected.size()), Expected);
  }
}

class TLooper : public TThread {
  DECLARE_CLASS_INLINE(TLooper, TThread)
 public:
  TLooper(Boolean Suspended, TEvent* ARunning, int* AExecuted)
      : TThread(Suspended), FRunning(ARunning), FExecuted(AExecuted) {}

 protected:
  void Execute() override {
    ++*FExecuted;
    FRunning->SetEvent();
    while (!Terminated()) Sleep(1);
  }

 private:
  TEvent* FRunning;
  int* FExecuted;
};

TEST(TThread, FreeTerminatesARunningThreadAndSkipsAnUnstartedOne) {
  TOwned<TSimpleEvent> Running(Create<TSimpleEvent>());
  int Executed = 0;
  TLooper* T = Create<TLooper>(false, Running.get(), &Executed);
  ASSERT_EQ(Running->WaitFor(INFINITE), wrSignaled);
  EXPECT_FALSE(T->Terminated());
  T->Free();  // sets Terminated and waits
  EXPECT_EQ(Executed, 1);
  TLooper* Never = Create<TLooper>(true, Running.get(), &Executed);
  Never->Free();
  EXPECT_EQ(Executed, 1);
}

class TNotifier : public TThread {
  DECLARE_CLASS_INLINE(TNotifier, TThread)
 public:
  TNotifier(TEvent* AFreed) : TThread(true), FFreed(AFreed) {}
  ~TNotifier() override { FFreed->SetEvent(); }

 protected:
  void Execute() override {}

 private:
  TEvent* FFreed;
};

class TTerminateLog : public TObject {
  DECLARE_CLASS_INLINE(TTerminateLog, TObject)
 public:
  void Terminated(TObject* Sender) {
    ThreadID = GetCurrentThreadId();
    Source = Sender;
  }
  void Woken(TObject*) { InterlockedIncrement(&Wakes); }
  DWORD ThreadID = 0;
  TObject* Source = nullptr;
  volatile LONG Wakes = 0;
};

TEST(TThread, OnTerminateRunsInTheMainThreadBeforeFreeOnTerminate) {
  TOwned<TSimpleEvent> Freed(Create<TSimpleEvent>());
  TOwned<TTerminateLog> Log(Create<TTerminateLog>());
  TNotifyEvent SavedWake = WakeMainThread;
  WakeMainThread = MakeEvent<&TTerminateLog::Woken>(Log.get());
  TNotifier* T = Create<TNotifier>(Freed.get());
  T->OnTerminate = MakeEvent<&TTerminateLog::Terminated>(Log.get());
  T->SetFreeOnTerminate(true);
  TObject* Sent = T;
  T->Start();
  PumpUntil(*Freed);
  WakeMainThread = SavedWake;
  EXPECT_EQ(Log->ThreadID, MainThreadID);
  EXPECT_EQ(Log->Source, Sent);
  EXPECT_GE(Log->Wakes, 1);
}

class TQueueAfterDeath : public TThread {
  DECLARE_CLASS_INLINE(TQueueAfterDeath, TThread)
 public:
  TQueueAfterDeath(int* ARan) : TThread(false), FRan(ARan) {}

 protected:
  void Execute() override { Queue(MakeEvent<&TQueueAfterDeath::Run>(this)); }

 private:
  void Run() { ++*FRan; }
  int* FRan;
};

TEST(TThread, FreeDropsQueuedMethodsOfTheThread) {
  int Ran = 0;
  TQueueAfterDeath* T = Create<TQueueAfterDeath>(&Ran);
  // Not WaitFor: that would serve the queue.
  WaitForSingleObject(T->Handle(), INFINITE);
  T->Free();
  CheckSynchronize();
  EXPECT_EQ(Ran, 0);
}

class TTwoQueued : public TThread {
  DECLARE_CLASS_INLINE(TTwoQueued, TThread)
 public:
  TTwoQueued() : TThread(false) {}
  int SecondRan = 0;

 protected:
  void Execute() override {
    Queue(MakeEvent<&TTwoQueued::First>(this));
    Queue(MakeEvent<&TTwoQueued::Second>(this));
  }

 private:
  void First() { throw EConvertError(L"first failed"); }
  void Second() { ++SecondRan; }
};

TEST(TThread, ARaisingQueuedMethodLeavesTheRestQueued) {
  TOwned<TTwoQueued> T(Create<TTwoQueued>());
  WaitForSingleObject(T->Handle(), INFINITE);
  EXPECT_THROW(CheckSynchronize(), EConvertError);
  EXPECT_EQ(T->SecondRan, 0);
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(T->SecondRan, 1);
}

TEST(TThread, NamesThreadsForDebuggers) {
  using TGetThreadDescription = HRESULT(WINAPI*)(HANDLE, PWSTR*);
  auto GetDescription = reinterpret_cast<TGetThreadDescription>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetThreadDescription")));
  ASSERT_NE(GetDescription, nullptr);
  TOwned<TSimpleEvent> Running(Create<TSimpleEvent>());
  int Executed = 0;
  TOwned<TLooper> T(Create<TLooper>(false, Running.get(), &Executed));
  TThread::NameThreadForDebugging(L"worker \u0444", T->ThreadID());
  PWSTR Name = nullptr;
  ASSERT_TRUE(SUCCEEDED(GetDescription(T->Handle(), &Name)));
  EXPECT_EQ(String(Name), L"worker \u0444");
  LocalFree(Name);
}

}  // namespace
