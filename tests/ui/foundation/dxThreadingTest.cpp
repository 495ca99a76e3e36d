#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <set>
#include <thread>

#include "dxThreading.h"

namespace {

class Threading : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { dxThreading_Initialize(); }
  static void TearDownTestSuite() { dxThreading_Finalize(); }
  void SetUp() override { Saved = dxThreadingPlatform(); }
  void TearDown() override {
    dxThreadingPlatform() = Saved;
    dxEnableMultiThreading = true;
  }
  TdxThreadingPlatform Saved;
};

// Runs the UI thread's queue until APred holds; fails after a generous bound
// instead of hanging.
template <class P>
bool PumpUntil(P APred) {
  for (int I = 0; I < 20000 && !APred(); ++I) {
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&Msg);
    CheckSynchronize();
    if (!APred()) Sleep(1);
  }
  return APred();
}

// ---------------------------------------------------------------------------
// Chunks and the sort

TEST_F(Threading, ChunksSplitTheRemainderOverTheFirstChunks) {
  struct {
    Integer Count, Chunks;
    std::vector<Integer> Sizes;
  } Cases[] = {
      {100, 16, {7, 7, 7, 7, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6}},
      {31, 1, {31}},
      {32, 16, std::vector<Integer>(16, 2)},
      {5, 8, {1, 1, 1, 1, 1, 0, 0, 0}},
      {0, 4, {}},
  };
  for (const auto& C : Cases) {
    std::vector<TdxChunkRange> R = dxSplitIntoChunks(C.Count, C.Chunks);
    ASSERT_EQ(R.size(), C.Sizes.size()) << C.Count;
    Integer Next = 0;
    for (size_t I = 0; I < R.size(); ++I) {
      EXPECT_EQ(R[I].First, Next) << C.Count << " chunk " << I;
      EXPECT_EQ(R[I].Last - R[I].First + 1, C.Sizes[I]) << C.Count << " chunk " << I;
      Next = R[I].Last + 1;
    }
  }
}

TEST_F(Threading, ChunkCountFollowsSizeAndThreads) {
  struct {
    Integer Threads, Count, Chunks;
  } Cases[] = {{4, 31, 1}, {4, 32, 16}, {1, 1000, 1}, {2, 32, 8}, {3, 500, 8}, {32, 100, 16}};
  for (const auto& C : Cases) {
    TOwned<TdxMultithreadedSort> S = MakeOwned<TdxMultithreadedSort>(C.Threads);
    EXPECT_EQ(S->ChunkCountFor(C.Count), C.Chunks) << C.Threads << " threads, " << C.Count;
  }
}

Integer CompareValues(Pointer A, Pointer B) {
  Integer X = *static_cast<Integer*>(A), Y = *static_cast<Integer*>(B);
  return X < Y ? -1 : (X > Y ? 1 : 0);
}

struct TDescending {
  Integer Compare(Pointer A, Pointer B) { return CompareValues(B, A); }
};

std::vector<Integer> ValuesOf(const std::vector<Pointer>& AList) {
  std::vector<Integer> R;
  for (Pointer P : AList) R.push_back(*static_cast<Integer*>(P));
  return R;
}

std::vector<Integer> RandomValues(Integer ACount, unsigned ASeed) {
  std::mt19937 Gen(ASeed);
  // A narrow range so that equal items are common.
  std::uniform_int_distribution<Integer> Dist(0, std::max<Integer>(1, ACount / 3));
  std::vector<Integer> R(static_cast<size_t>(ACount));
  for (Integer& V : R) V = Dist(Gen);
  return R;
}

std::vector<Pointer> PointersTo(std::vector<Integer>& AValues) {
  std::vector<Pointer> R;
  for (Integer& V : AValues) R.push_back(&V);
  return R;
}

TEST_F(Threading, ParallelSortEqualsSequentialSort) {
  for (Integer Threads : {1, 2, 3, 4, 8, 32}) {
    TOwned<TdxMultithreadedSort> S = MakeOwned<TdxMultithreadedSort>(Threads);
    for (Integer Count : {0, 1, 2, 31, 32, 33, 100, 257, 1000, 10007}) {
      std::vector<Integer> Values = RandomValues(Count, static_cast<unsigned>(Count * 7 + Threads));
      std::vector<Pointer> List = PointersTo(Values);
      std::vector<Pointer> Expected = List;
      dxQuickSortList(Expected.data(), Count, &CompareValues);
      S->Sort(List.data(), Count, &CompareValues);
      EXPECT_EQ(ValuesOf(List), ValuesOf(Expected)) << Threads << " threads, " << Count;

      TDescending Desc;
      S->Sort(List.data(), Count, MakeEvent<&TDescending::Compare>(&Desc));
      std::vector<Integer> Down = ValuesOf(Expected);
      std::reverse(Down.begin(), Down.end());
      EXPECT_EQ(ValuesOf(List), Down) << "method comparer, " << Threads << " threads, " << Count;
    }
  }
}

TEST_F(Threading, FastListFormSortsTheListItems) {
  std::vector<Integer> Values = RandomValues(500, 3);
  TOwned<TdxFastList> L = MakeOwned<TdxFastList>();
  for (Integer& V : Values) L->Add(&V);
  TOwned<TdxMultithreadedSort> S = MakeOwned<TdxMultithreadedSort>(8);
  S->Sort(L.get(), &CompareValues);
  for (Integer I = 1; I < L->Count(); ++I)
    ASSERT_LE(*static_cast<Integer*>(L->Items(I - 1)), *static_cast<Integer*>(L->Items(I)));
}

DECLARE_EXCEPTION(EComparerFailed, Exception)

std::atomic<int> ComparesLeft;
Integer FailingCompare(Pointer A, Pointer B) {
  if (--ComparesLeft == 0) throw EComparerFailed(L"comparer failed");
  return CompareValues(A, B);
}

TEST_F(Threading, ThrowingComparerReachesTheCallerAndKeepsTheItems) {
  TOwned<TdxMultithreadedSort> S = MakeOwned<TdxMultithreadedSort>(8);
  int Total;
  {
    std::vector<Integer> Values = RandomValues(600, 11);
    std::vector<Pointer> List = PointersTo(Values);
    ComparesLeft = 0;
    S->Sort(List.data(), 600, &FailingCompare);
    Total = -ComparesLeft;
  }
  // Early failures hit the chunk sorts, late ones the merge levels.
  for (int FailAt : {1, Total / 4, Total / 2, Total * 3 / 4, Total - 5, Total}) {
    std::vector<Integer> Values = RandomValues(600, 11);
    std::vector<Pointer> List = PointersTo(Values);
    ComparesLeft = FailAt;
    EXPECT_THROW(S->Sort(List.data(), 600, &FailingCompare), EComparerFailed) << FailAt;
    std::vector<Pointer> Sorted = List, Original = PointersTo(Values);
    std::sort(Sorted.begin(), Sorted.end());
    std::sort(Original.begin(), Original.end());
    EXPECT_EQ(Sorted, Original) << "items lost or doubled, failure at compare " << FailAt;

    // The lock was released: the next sort works.
    ComparesLeft = -1;
    S->Sort(List.data(), 600, &CompareValues);
    EXPECT_TRUE(std::is_sorted(List.begin(), List.end(),
                               [](Pointer A, Pointer B) { return CompareValues(A, B) < 0; }));
  }
}

DWORD SortingThread = 0;
std::atomic<bool> ComparedOnAnotherThread{false};
Integer CompareNotingTheThread(Pointer A, Pointer B) {
  if (GetCurrentThreadId() != SortingThread) ComparedOnAnotherThread = true;
  return CompareValues(A, B);
}

TEST_F(Threading, ListSortHandsLongListsToTheParallelSortWhenAsked) {
  const bool Parallel = dxCanUseMultiThreading();
  struct {
    Integer Count;
    bool MultiThreaded, Enabled, OnPool;
  } Cases[] = {
      {33, true, true, true},     {1000, true, true, true},   {32, true, true, false},
      {1000, false, true, false}, {1000, true, false, false},
  };
  SortingThread = GetCurrentThreadId();
  for (const auto& C : Cases) {
    dxEnableMultiThreading = C.Enabled;
    for (bool ThroughList : {false, true}) {
      std::vector<Integer> Values = RandomValues(C.Count, static_cast<unsigned>(C.Count));
      std::vector<Pointer> List = PointersTo(Values);
      ComparedOnAnotherThread = false;
      if (ThroughList) {
        TdxFastList L;
        for (Pointer P : List) L.Add(P);
        L.Sort(&CompareNotingTheThread, C.MultiThreaded);
        List.assign(L.List(), L.List() + L.Count());
      } else {
        dxQuickSortList(List.data(), C.Count, &CompareNotingTheThread, C.MultiThreaded);
      }
      std::vector<Integer> Sorted = ValuesOf(List);
      EXPECT_TRUE(std::is_sorted(Sorted.begin(), Sorted.end())) << C.Count;
      EXPECT_EQ(ComparedOnAnotherThread.load(), C.OnPool && Parallel)
          << C.Count << " items, multithreaded " << C.MultiThreaded << ", enabled " << C.Enabled
          << (ThroughList ? ", list form" : ", array form");
    }
  }
}

HANDLE FirstSortEntered = nullptr;
HANDLE FirstSortRelease = nullptr;
Integer BlockingCompare(Pointer A, Pointer B) {
  SetEvent(FirstSortEntered);
  WaitForSingleObject(FirstSortRelease, 10000);
  return CompareValues(A, B);
}

TEST_F(Threading, SecondSortWhileBusyRunsOnItsOwnThread) {
  TOwned<TdxMultithreadedSort> S = MakeOwned<TdxMultithreadedSort>(4);
  FirstSortEntered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  FirstSortRelease = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::vector<Integer> V1 = RandomValues(200, 1), V2 = RandomValues(200, 2);
  std::vector<Pointer> L1 = PointersTo(V1), L2 = PointersTo(V2);
  std::thread First([&] { S->Sort(L1.data(), 200, &BlockingCompare); });
  ASSERT_EQ(WaitForSingleObject(FirstSortEntered, 10000), WAIT_OBJECT_0);
  // The first sort holds the object and is blocked; these must not wait.
  S->Sort(L2.data(), 200, &CompareValues);
  std::vector<Integer> V3 = RandomValues(200, 3);
  std::vector<Pointer> Original3 = PointersTo(V3);
  std::vector<Pointer> L3 = Original3;
  ComparesLeft = 0;
  S->Sort(L3.data(), 200, &FailingCompare);
  const int Total = -ComparesLeft;
  std::sort(Original3.begin(), Original3.end());
  for (int FailAt : {1, Total / 3, Total * 2 / 3, Total - 3, Total}) {
    L3 = PointersTo(V3);
    ComparesLeft = FailAt;
    EXPECT_THROW(S->Sort(L3.data(), 200, &FailingCompare), EComparerFailed) << FailAt;
    std::sort(L3.begin(), L3.end());
    EXPECT_EQ(L3, Original3) << "items lost or doubled on the caller's thread, at " << FailAt;
  }
  bool FirstStillBlocked = WaitForSingleObject(FirstSortRelease, 0) == WAIT_TIMEOUT;
  SetEvent(FirstSortRelease);
  First.join();
  EXPECT_TRUE(FirstStillBlocked);
  std::vector<Pointer> Expected = PointersTo(V2);
  dxQuickSortList(Expected.data(), 200, &CompareValues);
  EXPECT_EQ(ValuesOf(L2), ValuesOf(Expected));
  std::vector<Integer> First1 = ValuesOf(L1);
  EXPECT_TRUE(std::is_sorted(First1.begin(), First1.end()));
  CloseHandle(FirstSortEntered);
  CloseHandle(FirstSortRelease);
}

// ---------------------------------------------------------------------------
// Work items

std::atomic<int> FinishedItems;
void SlowItem(Pointer) {
  Sleep(30);
  ++FinishedItems;
}
void FailingItem(Pointer) {
  Sleep(10);
  throw EComparerFailed(L"item failed");
}

std::atomic<int> QueuedBeforeRefusal;
BOOL WINAPI RefuseAfterThree(LPTHREAD_START_ROUTINE AFunc, PVOID AContext, ULONG AFlags) {
  if (QueuedBeforeRefusal.fetch_add(1) >= 3) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  return QueueUserWorkItem(AFunc, AContext, AFlags);
}

TEST_F(Threading, RefusedWorkItemWaitsForTheQueuedOnesBeforeRaising) {
  dxThreadingPlatform().QueueUserWorkItem = &RefuseAfterThree;
  QueuedBeforeRefusal = 0;
  FinishedItems = 0;
  TOwned<TdxThreadPoolHelper> H = MakeOwned<TdxThreadPoolHelper>();
  H->Initialize(6, true);
  int FinishedWhenRaised = -1;
  try {
    for (int I = 0; I < 6; ++I) H->QueueWorkItem(&SlowItem, nullptr);
  } catch (const EOSError& E) {
    FinishedWhenRaised = FinishedItems;
    EXPECT_EQ(E.ErrorCode(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
  }
  EXPECT_EQ(FinishedWhenRaised, 3);
}

TEST_F(Threading, RefusalDuringSortLeavesTheListWhole) {
  dxThreadingPlatform().QueueUserWorkItem = &RefuseAfterThree;
  QueuedBeforeRefusal = 0;
  TOwned<TdxMultithreadedSort> S = MakeOwned<TdxMultithreadedSort>(8);
  std::vector<Integer> Values = RandomValues(1000, 5);
  std::vector<Pointer> List = PointersTo(Values);
  EXPECT_THROW(S->Sort(List.data(), 1000, &CompareValues), EOSError);
  std::sort(List.begin(), List.end());
  std::vector<Pointer> Original = PointersTo(Values);
  EXPECT_EQ(List, Original);
}

TEST_F(Threading, WorkItemExceptionIsRaisedAfterTheBatch) {
  FinishedItems = 0;
  TOwned<TdxThreadPoolHelper> H = MakeOwned<TdxThreadPoolHelper>();
  H->Initialize(4, true);
  H->QueueWorkItem(&SlowItem, nullptr);
  H->QueueWorkItem(&FailingItem, nullptr);
  H->QueueWorkItem(&SlowItem, nullptr);
  H->QueueWorkItem(&SlowItem, nullptr);
  H->WaitForThreads(false);
  EXPECT_EQ(FinishedItems, 3);
  EXPECT_THROW(H->RaiseWorkItemException(), EComparerFailed);
  EXPECT_NO_THROW(H->RaiseWorkItemException());  // handed over once
}

// ---------------------------------------------------------------------------
// Iterators

struct TFinder {
  std::vector<Integer> Values;
  Integer Wanted = 0;
  Integer FailAt = -1;
  std::atomic<int> Calls{0};
  std::vector<std::atomic<bool>>* Visited = nullptr;
  DWORD LastThread = 0;
  Pointer SeenContext = nullptr;
  bool Match(Pointer AContext, Integer AIndex) {
    ++Calls;
    SeenContext = AContext;
    LastThread = GetCurrentThreadId();
    if (Visited) (*Visited)[static_cast<size_t>(AIndex)] = true;
    if (AIndex == FailAt) throw EComparerFailed(L"item function failed");
    return Values[static_cast<size_t>(AIndex)] == Wanted;
  }
};

TEST_F(Threading, IterationFindsAMatchingIndex) {
  struct {
    std::vector<Integer> Values;
    Integer Wanted;
    bool Reverse, Parallel;
    std::vector<Integer> Accepted;
  } Cases[] = {
      {{}, 1, false, true, {-1}},
      {{5}, 5, false, true, {0}},
      {{5}, 6, false, true, {-1}},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 9, false, true, {8}},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}, 13, true, true, {-1}},
      {{7, 1, 7, 1, 7, 1, 7, 1, 7}, 7, false, true, {0, 2, 4, 6, 8}},
      {{7, 1, 7, 1, 7, 1, 7, 1, 2}, 7, true, false, {6}},
      {{7, 1, 7, 1, 7, 1, 7, 1, 2}, 7, false, false, {0}},
  };
  for (const auto& C : Cases) {
    dxEnableMultiThreading = C.Parallel;
    TOwned<TdxMultithreadedListIterator> It = MakeOwned<TdxMultithreadedListIterator>(4);
    TFinder F;
    F.Values = C.Values;
    F.Wanted = C.Wanted;
    Integer R = It->Iterate(&F, static_cast<Integer>(C.Values.size()),
                            MakeEvent<&TFinder::Match>(&F), C.Reverse);
    EXPECT_NE(std::find(C.Accepted.begin(), C.Accepted.end(), R), C.Accepted.end())
        << "result " << R << " for " << C.Values.size() << " items, wanted " << C.Wanted;
    if (C.Values.empty()) EXPECT_EQ(F.Calls, 0);
    if (C.Values.size() == 1) EXPECT_EQ(F.LastThread, GetCurrentThreadId());
  }
}

TEST_F(Threading, ListFormsPassTheListAsContext) {
  TFinder F;
  F.Values = {3, 4, 5, 6};
  F.Wanted = 5;
  TOwned<TdxMultithreadedListIterator> It = MakeOwned<TdxMultithreadedListIterator>(2);
  TOwned<TList> L = MakeOwned<TList>();
  TOwned<TStringList> S = MakeOwned<TStringList>();
  TOwned<TdxFastList> FL = MakeOwned<TdxFastList>();
  for (int I = 0; I < 4; ++I) {
    L->Add(nullptr);
    S->Add(L"x");
    FL->Add(nullptr);
  }
  EXPECT_EQ(It->Iterate(L.get(), MakeEvent<&TFinder::Match>(&F)), 2);
  EXPECT_EQ(F.SeenContext, static_cast<Pointer>(L.get()));
  EXPECT_EQ(It->Iterate(static_cast<TStrings*>(S.get()), MakeEvent<&TFinder::Match>(&F)), 2);
  EXPECT_EQ(F.SeenContext, static_cast<Pointer>(static_cast<TStrings*>(S.get())));
  EXPECT_EQ(It->Iterate(FL.get(), MakeEvent<&TFinder::Match>(&F)), 2);
  EXPECT_EQ(F.SeenContext, static_cast<Pointer>(FL.get()));
}

TEST_F(Threading, ThrowingItemFunctionEndsItsChunkAndReachesTheCaller) {
  const Integer Count = 40;
  std::vector<std::atomic<bool>> Visited(Count);
  TFinder F;
  F.Values.assign(Count, 0);
  F.Wanted = 1;  // nothing matches: every chunk walks to its end
  F.FailAt = 0;
  F.Visited = &Visited;
  TOwned<TdxMultithreadedListIterator> It = MakeOwned<TdxMultithreadedListIterator>(4);
  EXPECT_THROW(It->Iterate(&F, Count, MakeEvent<&TFinder::Match>(&F)), EComparerFailed);
  // Chunk 0 (items 0..9) stopped at its first item; the other chunks went on.
  EXPECT_FALSE(Visited[1]);
  for (Integer I = 10; I < Count; ++I) EXPECT_TRUE(Visited[static_cast<size_t>(I)]) << I;
  // And the iterator is free again.
  F.FailAt = -1;
  F.Values[25] = 1;
  EXPECT_EQ(It->Iterate(&F, Count, MakeEvent<&TFinder::Match>(&F)), 25);
}

// ---------------------------------------------------------------------------
// Waiting on the UI thread

TEST_F(Threading, ZeroTimeOutOnTheUIThreadLooksAtTheHandle) {
  HANDLE E = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  EXPECT_EQ(WaitForSyncObject(E, 0), wrSignaled);
  ResetEvent(E);
  EXPECT_EQ(WaitForSyncObject(E, 0), wrTimeout);
  EXPECT_EQ(WaitForSyncObject(E, 150), wrTimeout);
  CloseHandle(E);
}

struct TSyncCounter {
  std::atomic<int> Count{0};
  DWORD Thread = 0;
  void Bump() {
    Thread = GetCurrentThreadId();
    ++Count;
  }
};

TEST_F(Threading, WaitOnTheUIThreadRunsSynchronizedCalls) {
  TSyncCounter C;
  HANDLE Done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread Worker([&] {
    CallThreadMethod(MakeEvent<&TSyncCounter::Bump>(&C), tmcmSync);
    SetEvent(Done);
  });
  EXPECT_EQ(WaitForSyncObject(Done, INFINITE), wrSignaled);
  Worker.join();
  EXPECT_EQ(C.Count, 1);
  EXPECT_EQ(C.Thread, GetCurrentThreadId());
  CloseHandle(Done);
}

// ---------------------------------------------------------------------------
// Tasks

struct TGate {
  HANDLE Open = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> Running{0};
  std::atomic<int> MaxRunning{0};
  std::atomic<int> Executed{0};
  ~TGate() { CloseHandle(Open); }
  TdxTaskProc Proc() {
    return [this](const TdxTaskCancelCallback&) {
      int N = ++Running;
      int M = MaxRunning;
      while (N > M && !MaxRunning.compare_exchange_weak(M, N)) {
      }
      WaitForSingleObject(Open, 20000);
      ++Executed;
      --Running;
    };
  }
};

struct TCompletion {
  std::atomic<int> Count{0};
  void Done() { ++Count; }
};

class Tasks : public Threading {
 protected:
  void SetUp() override {
    Threading::SetUp();
    D = MakeOwned<TdxTaskDispatcher>();
  }
  void TearDown() override {
    D.reset();
    Threading::TearDown();
  }
  TOwned<TdxTaskDispatcher> D;
};

TEST_F(Tasks, AtMostMaxActiveTasksRunAndTheRestFollow) {
  TGate Gate;
  D->SetMaxActiveTasks(6);
  std::vector<TdxTaskHandle> H;
  for (int I = 0; I < 10; ++I) H.push_back(D->Run(Gate.Proc()));
  EXPECT_TRUE(PumpUntil([&] { return Gate.Running == 6; }));
  EXPECT_EQ(D->ActiveTaskCount(), 6);
  EXPECT_EQ(D->PendingTaskCount(), 4);
  // Waiting for a pending task starts it beyond the limit.
  std::thread Opener([&] {
    while (Gate.Running < 7) Sleep(1);
    SetEvent(Gate.Open);
  });
  EXPECT_TRUE(D->WaitFor(H[9]));
  Opener.join();
  EXPECT_EQ(Gate.MaxRunning, 7);
  for (TdxTaskHandle T : H) EXPECT_TRUE(D->WaitFor(T));
  EXPECT_EQ(Gate.Executed, 10);
  EXPECT_EQ(D->ActiveTaskCount(), 0);
}

TEST_F(Tasks, CancelOfAPendingTaskCompletesItWithoutRunning) {
  TGate Gate;
  D->SetMaxActiveTasks(1);
  TCompletion Completion;
  TdxTaskHandle Running = D->Run(Gate.Proc());
  std::atomic<bool> Ran{false};
  TdxTaskHandle Pending = D->Run([&](const TdxTaskCancelCallback&) { Ran = true; },
                                 MakeEvent<&TCompletion::Done>(&Completion), tmcmAsync);
  EXPECT_TRUE(D->Cancel(Pending, false));
  EXPECT_EQ(Completion.Count, 1);
  SetEvent(Gate.Open);
  EXPECT_TRUE(D->WaitFor(Running));
  EXPECT_FALSE(Ran);
  // A finished handle is no longer known: waiting for it answers at once.
  EXPECT_EQ(D->WaitFor(Running, 0), wrAbandoned);
  EXPECT_TRUE(D->WaitFor(Running));
}

TEST_F(Tasks, CancelWithWaitWaitsForATaskThatIgnoresIt) {
  std::atomic<bool> Started{false}, Finished{false};
  TdxTaskHandle H = D->Run([&](const TdxTaskCancelCallback&) {
    Started = true;
    Sleep(200);
    Finished = true;
  });
  ASSERT_TRUE(PumpUntil([&] { return Started.load(); }));
  EXPECT_TRUE(D->Cancel(H, true));
  EXPECT_TRUE(Finished);
}

TEST_F(Tasks, CooperativeCancellationIsSeenInsideTheTask) {
  std::atomic<bool> Started{false}, SawCallback{false}, SawDispatcher{false};
  TdxTaskDispatcher* Dispatcher = D.get();
  TCompletion Completion;
  TdxTaskHandle H = D->Run(
      [&](const TdxTaskCancelCallback& ACanceled) {
        Started = true;
        while (!ACanceled()) Sleep(1);
        SawCallback = true;
        SawDispatcher = Dispatcher->IsCurrentTaskCanceled();
      },
      MakeEvent<&TCompletion::Done>(&Completion), tmcmSync);
  ASSERT_TRUE(PumpUntil([&] { return Started.load(); }));
  EXPECT_FALSE(D->IsCurrentTaskCanceled());  // not a task's thread
  EXPECT_EQ(D->Cancel(H, static_cast<DWORD>(INFINITE)), wrSignaled);
  EXPECT_TRUE(SawCallback);
  EXPECT_TRUE(SawDispatcher);
  EXPECT_EQ(Completion.Count, 1);  // ran on this thread while it waited
}

TEST_F(Tasks, ExceptionOfATaskIsSwallowedAndCompletionStillRuns) {
  TCompletion Completion;
  TdxTaskHandle H = D->Run([](const TdxTaskCancelCallback&) { throw EComparerFailed(L"x"); },
                           MakeEvent<&TCompletion::Done>(&Completion), tmcmAsync);
  EXPECT_TRUE(D->WaitFor(H));
  EXPECT_TRUE(PumpUntil([&] { return Completion.Count == 1; }));
}

struct TInterfaceTask : IdxTask {
  std::atomic<DWORD> CompletedOn{0};
  std::atomic<int> Status{-1};
  TdxTaskCompletedStatus Run(const TdxTaskCancelCallback&) override { return tcsCompleted; }
  void OnComplete(TdxTaskCompletedStatus AStatus) override {
    Status = AStatus;
    CompletedOn = GetCurrentThreadId();
  }
};

TEST_F(Tasks, InterfaceTaskCompletesOnTheUIThread) {
  auto T = std::make_shared<TInterfaceTask>();
  TdxTaskHandle H = D->Run(T);
  EXPECT_TRUE(D->WaitFor(H));
  EXPECT_EQ(T->Status, tcsCompleted);
  EXPECT_EQ(T->CompletedOn, GetCurrentThreadId());
}

TEST_F(Tasks, WithoutThePoolTasksRunAtOnceOnTheCallingThread) {
  dxThreadingPlatform().QueueUserWorkItem = nullptr;
  DWORD RanOn = 0;
  TdxTaskHandle H = D->Run([&](const TdxTaskCancelCallback&) { RanOn = GetCurrentThreadId(); });
  EXPECT_EQ(RanOn, GetCurrentThreadId());
  EXPECT_EQ(D->WaitFor(H, 0), wrAbandoned);
  EXPECT_THROW(D->Run([](const TdxTaskCancelCallback&) { throw EComparerFailed(L"x"); }),
               EComparerFailed);
  EXPECT_EQ(D->ActiveTaskCount(), 0);
}

BOOL WINAPI RefuseEverything(LPTHREAD_START_ROUTINE, PVOID, ULONG) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return FALSE;
}

TEST_F(Tasks, ARefusedTaskRaisesAndLeavesNothingBehind) {
  dxThreadingPlatform().QueueUserWorkItem = &RefuseEverything;
  std::atomic<bool> Ran{false};
  EXPECT_THROW(D->Run([&](const TdxTaskCancelCallback&) { Ran = true; }), EOSError);
  EXPECT_EQ(D->ActiveTaskCount(), 0);
  EXPECT_EQ(D->PendingTaskCount(), 0);
  EXPECT_FALSE(Ran);
}

TEST_F(Tasks, MaxActiveTasksBelowTwoIsOne) {
  for (Integer V : {0, -5, 1}) {
    D->SetMaxActiveTasks(V);
    EXPECT_EQ(D->MaxActiveTasks(), 1) << V;
  }
  D->SetMaxActiveTasks(2);
  EXPECT_EQ(D->MaxActiveTasks(), 2);
}

TEST_F(Tasks, UsageMonitorStartsOnePendingTaskAfterTenQuietSamples) {
  TGate Gate;
  D->SetMaxActiveTasks(1);
  for (int I = 0; I < 3; ++I) D->Run(Gate.Proc());
  ASSERT_TRUE(PumpUntil([&] { return Gate.Running == 1; }));
  for (int I = 0; I < 9; ++I) D->AddCpuUsageSample(10);
  EXPECT_EQ(D->ActiveTaskCount(), 1);
  D->AddCpuUsageSample(10);
  EXPECT_EQ(D->ActiveTaskCount(), 2);
  // The count starts again, and a busy average keeps the limit.
  for (int I = 0; I < 10; ++I) D->AddCpuUsageSample(95);
  EXPECT_EQ(D->ActiveTaskCount(), 2);
  // Ten samples averaging exactly 80 % still count as quiet.
  for (int I = 0; I < 10; ++I) D->AddCpuUsageSample(80);
  EXPECT_EQ(D->ActiveTaskCount(), 3);
  SetEvent(Gate.Open);
  // The tasks use the gate: the dispatcher waits for them before it goes.
  D.reset();
}

TEST_F(Tasks, UsageMonitorIsSwitchedOnTheUIThreadOnly) {
  bool Raised = false;
  std::thread Worker([&] {
    try {
      D->SetUseCpuUsageMonitor(true);
    } catch (const EInvalidOperation& E) {
      Raised = E.Message() == L"TdxTaskDispatcher";
    }
  });
  Worker.join();
  EXPECT_TRUE(Raised);
  D->SetUseCpuUsageMonitor(true);
  EXPECT_TRUE(D->UseCpuUsageMonitor());
  D->SetUseCpuUsageMonitor(false);
  EXPECT_FALSE(D->UseCpuUsageMonitor());
}

TEST_F(Tasks, DestroyingTheDispatcherCancelsAndWaits) {
  std::atomic<bool> Ended{false};
  D->Run([&](const TdxTaskCancelCallback& ACanceled) {
    while (!ACanceled()) Sleep(1);
    Ended = true;
  });
  std::atomic<bool> PendingRan{false};
  D->SetMaxActiveTasks(1);
  D->Run([&](const TdxTaskCancelCallback&) { PendingRan = true; });
  D.reset();
  EXPECT_TRUE(Ended);
  EXPECT_FALSE(PendingRan);
}

// A task that waits for its gate, notes whether it saw a cancellation and
// tells when it is freed.
class TProbeTask : public TdxTask {
  DECLARE_CLASS_INLINE(TProbeTask, TdxTask)
 public:
  struct TLog {
    HANDLE Gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> Started{false}, SawCancel{false}, Freed{false};
    ~TLog() { CloseHandle(Gate); }
  };
  explicit TProbeTask(TLog* ALog) : FLog(ALog) {}
  ~TProbeTask() override { FLog->Freed = true; }
  void Execute() override {
    FLog->Started = true;
    WaitForSingleObject(FLog->Gate, 20000);
    FLog->SawCancel = Canceled();
  }

 private:
  TLog* FLog;
};

TEST_F(Tasks, TheHandleOfAFinishedTaskNeverReachesALaterOne) {
  std::set<TdxTaskHandle> Seen{0};
  for (int I = 0; I < 20; ++I) {
    // Two tasks of one class, the second created as soon as the first is
    // freed, so that it usually takes the first one's memory.
    TProbeTask::TLog Old, Current;
    SetEvent(Old.Gate);
    TdxTaskHandle OldHandle = D->Run(Create<TProbeTask>(&Old));
    ASSERT_TRUE(PumpUntil([&] { return Old.Freed.load(); }));
    TdxTaskHandle CurrentHandle = D->Run(Create<TProbeTask>(&Current));
    EXPECT_TRUE(Seen.insert(OldHandle).second);
    EXPECT_TRUE(Seen.insert(CurrentHandle).second);
    EXPECT_EQ(D->Cancel(OldHandle, static_cast<DWORD>(0)), wrAbandoned) << "round " << I;
    EXPECT_EQ(D->WaitFor(OldHandle, 0), wrAbandoned) << "round " << I;
    SetEvent(Current.Gate);
    EXPECT_TRUE(D->WaitFor(CurrentHandle));
    ASSERT_TRUE(PumpUntil([&] { return Current.Freed.load(); }));
    EXPECT_FALSE(Current.SawCancel) << "round " << I;
  }
}

std::wstring Reported;
void NoteReport() {
  try {
    throw;
  } catch (const Exception& E) {
    Reported = E.Message();
  }
}

TEST_F(Tasks, ShutDownWaitsABoundedTimeForATaskThatIgnoresCancellation) {
  TProbeTask::TLog Stubborn;
  D->Run(Create<TProbeTask>(&Stubborn));
  ASSERT_TRUE(PumpUntil([&] { return Stubborn.Started.load(); }));
  D->SetShutDownWaitTime(50);
  Reported.clear();
  TdxHandleExceptionProc Saved = dxApplicationHandleException;
  dxApplicationHandleException = &NoteReport;
  D.reset();
  dxApplicationHandleException = Saved;
  EXPECT_FALSE(Stubborn.Freed);  // still running, let go
  EXPECT_NE(Reported.find(L"1 background task"), std::wstring::npos) << Reported;
  // It ends on its own later and frees itself without the dispatcher.
  SetEvent(Stubborn.Gate);
  EXPECT_TRUE(PumpUntil([&] { return Stubborn.Freed.load(); }));
  EXPECT_TRUE(Stubborn.SawCancel);
}

TEST_F(Tasks, CancelAllCountsTheTasksStillRunningAfterItsTimeOut) {
  TProbeTask::TLog Stubborn;
  D->Run(Create<TProbeTask>(&Stubborn));
  ASSERT_TRUE(PumpUntil([&] { return Stubborn.Started.load(); }));
  EXPECT_EQ(D->CancelAll(50), 1);
  EXPECT_EQ(D->ActiveTaskCount(), 0);
  EXPECT_EQ(D->CancelAll(0), 0);
  SetEvent(Stubborn.Gate);
  EXPECT_TRUE(PumpUntil([&] { return Stubborn.Freed.load(); }));
}

// ---------------------------------------------------------------------------
// The UI-thread queue

struct TQueueLog {
  std::vector<std::pair<int, int>> Entries;  // (thread number, sequence)
  DWORD Thread = 0;
};

TObject* const OwnerA = reinterpret_cast<TObject*>(0x1000);
TObject* const OwnerB = reinterpret_cast<TObject*>(0x2000);

TEST_F(Threading, QueueRunsProceduresOfSeveralThreadsInOrderOnTheUIThread) {
  TQueueLog Log;
  const int Threads = 4, PerThread = 200;
  std::vector<std::thread> Workers;
  for (int T = 0; T < Threads; ++T) {
    Workers.emplace_back([&Log, T] {
      for (int I = 0; I < PerThread; ++I) {
        TdxUIThreadSyncService::EnqueueInvokeInUIThread(OwnerA, [&Log, T, I] {
          Log.Entries.emplace_back(T, I);
          Log.Thread = GetCurrentThreadId();
        });
      }
    });
  }
  for (std::thread& W : Workers) W.join();
  ASSERT_TRUE(PumpUntil([&] { return Log.Entries.size() == Threads * PerThread; }));
  EXPECT_EQ(Log.Thread, GetCurrentThreadId());
  std::vector<int> Next(Threads, 0);
  for (const auto& [T, I] : Log.Entries) EXPECT_EQ(I, Next[static_cast<size_t>(T)]++);
}

TEST_F(Threading, OneMessageRunsEverythingWaiting) {
  std::vector<int> Ran;
  MSG Msg;
  while (PeekMessageW(&Msg, TdxUIThreadSyncService::Handle(), 0, 0, PM_REMOVE)) {
  }
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(OwnerA, [&] { Ran.push_back(1); });
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(OwnerA, [&] { Ran.push_back(2); });
  ASSERT_TRUE(PeekMessageW(&Msg, TdxUIThreadSyncService::Handle(), DXM_UITHREADINVOKE,
                           DXM_UITHREADINVOKE, PM_REMOVE));
  EXPECT_EQ(DispatchMessageW(&Msg), 1);
  EXPECT_EQ(Ran, (std::vector<int>{1, 2}));
  ASSERT_TRUE(PeekMessageW(&Msg, TdxUIThreadSyncService::Handle(), DXM_UITHREADINVOKE,
                           DXM_UITHREADINVOKE, PM_REMOVE));
  DispatchMessageW(&Msg);
  EXPECT_EQ(Ran.size(), 2u);
}

std::vector<String> Failures;
void RecordFailure() {
  try {
    throw;
  } catch (const Exception& E) {
    Failures.push_back(E.Message());
  }
}

TEST_F(Threading, UnsubscribeAndFailingProceduresLeaveTheOthers) {
  Failures.clear();
  TdxHandleExceptionProc Saved = dxApplicationHandleException;
  dxApplicationHandleException = &RecordFailure;
  std::vector<int> Ran;
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(OwnerA, [&] { Ran.push_back(1); });
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(OwnerB, [&] { throw EAbort(L"B failed"); });
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(OwnerA, [&] { Ran.push_back(3); });
  TdxUIThreadSyncService::EnqueueInvokeInUIThread(OwnerB, [&] { Ran.push_back(4); });
  TdxUIThreadSyncService::Unsubscribe(OwnerA);
  EXPECT_TRUE(PumpUntil([&] { return Ran.size() == 1; }));
  EXPECT_EQ(Ran, (std::vector<int>{4}));
  EXPECT_EQ(Failures, (std::vector<String>{L"B failed"}));
  EXPECT_THROW(TdxUIThreadSyncService::Unsubscribe(nullptr), EAssertionFailed);
  dxApplicationHandleException = Saved;
}

TEST_F(Threading, SharedObjectsExistWhileTheModuleRuns) {
  EXPECT_NE(dxTasksDispatcher(), nullptr);
  EXPECT_EQ(dxSortHelper() != nullptr, dxProcessorCount() > 1);
  EXPECT_EQ(dxListIterator() != nullptr, dxProcessorCount() > 1);
  if (dxSortHelper()) {
    EXPECT_EQ(dxSortHelper()->ThreadCount(), std::min(32, dxProcessorCount() * 4));
  }
}

}  // namespace
