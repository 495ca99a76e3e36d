#include "dxThreading.h"

#include <algorithm>

#include "Forms.h"

namespace {
TdxThreadingPlatform ThreadingPlatform;
bool CanUseMultiThreading = false;
TdxMultithreadedSort* SortHelper = nullptr;
TdxMultithreadedListIterator* ListIterator = nullptr;
TdxTaskDispatcher* TasksDispatcher = nullptr;

class TCSLock {
 public:
  explicit TCSLock(CRITICAL_SECTION& ACS) : FCS(ACS) { EnterCriticalSection(&FCS); }
  ~TCSLock() { LeaveCriticalSection(&FCS); }
  TCSLock(const TCSLock&) = delete;
  TCSLock& operator=(const TCSLock&) = delete;

 private:
  CRITICAL_SECTION& FCS;
};

// Guards every task's link to its dispatcher: a task that ends holds it
// shared while it tells its dispatcher, and a dispatcher that lets its
// running tasks go at shut-down holds it exclusively while it cuts the
// links, so that it is never freed under a task that is telling it.
SRWLOCK TaskOwnersLock = SRWLOCK_INIT;
volatile LONG64 LastTaskHandle = 0;

void ReportTasksLetGo(Integer ACount, DWORD AWaitTime) {
  try {
    throw EdxException(
        Format(L"%d background task(s) did not end within %d ms of shut-down "
               L"and were left running",
               {ACount, static_cast<Integer>(AWaitTime)}));
  } catch (...) {
    dxHandleException();
  }
}

void YieldToOtherThread() {
  if (!SwitchToThread()) Sleep(0);
}
}  // namespace

bool dxEnableMultiThreading = true;

TdxThreadingPlatform& dxThreadingPlatform() { return ThreadingPlatform; }

bool dxCanUseMultiThreading() { return CanUseMultiThreading && dxEnableMultiThreading; }

Integer dxProcessorCount() {
  SYSTEM_INFO Info;
  GetSystemInfo(&Info);
  return std::max<Integer>(1, static_cast<Integer>(Info.dwNumberOfProcessors));
}

TdxMultithreadedSort* dxSortHelper() { return SortHelper; }
TdxMultithreadedListIterator* dxListIterator() { return ListIterator; }
TdxTaskDispatcher* dxTasksDispatcher() { return TasksDispatcher; }

// ---------------------------------------------------------------------------
// TdxThreadPoolHelper

IMPLEMENT_CREATABLE_CLASS(TdxThreadPoolHelper)

TdxThreadPoolHelper::~TdxThreadPoolHelper() {
  if (FEvent) CloseHandle(FEvent);
}

void TdxThreadPoolHelper::EnsureEvent() {
  if (!FEvent) {
    FEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!FEvent) RaiseLastOSError();
  }
}

void TdxThreadPoolHelper::Initialize(Integer ANumThreads, bool ACreateEvent) {
  FTaskCount = std::clamp<Integer>(ANumThreads, 0, dxMaxWorkItems);
  FTaskIndex = 0;
  FException.reset();
  // The event is needed by every wait, so it exists whether asked or not.
  (void)ACreateEvent;
  EnsureEvent();
  ResetEvent(FEvent);
  InterlockedExchange(&FRunningTaskCount, FTaskCount);
  if (FTaskCount == 0) SetEvent(FEvent);
}

void TdxThreadPoolHelper::QueueWorkItem(TObject* ASender, Pointer AContext,
                                        const TdxWorkItemObjectProc& AObjectProc, ULONG AFlags) {
  if (FTaskIndex >= FTaskCount) throw EInvalidOperation(L"More work items than announced");
  TWorkItem& Item = FWorkItems[FTaskIndex];
  Item = TWorkItem{this, ASender, AContext, AObjectProc, nullptr};
  Queue(AFlags);
}

void TdxThreadPoolHelper::QueueWorkItem(TdxWorkItemProc AProc, Pointer AContext, ULONG AFlags) {
  if (FTaskIndex >= FTaskCount) throw EInvalidOperation(L"More work items than announced");
  TWorkItem& Item = FWorkItems[FTaskIndex];
  Item = TWorkItem{this, nullptr, AContext, TdxWorkItemObjectProc(), AProc};
  Queue(AFlags);
}

void TdxThreadPoolHelper::Queue(ULONG AFlags) {
  TWorkItem& Item = FWorkItems[FTaskIndex];
  auto QueueProc = ThreadingPlatform.QueueUserWorkItem;
  if (!QueueProc) SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
  if (!QueueProc || !QueueProc(&ThreadFunction, &Item, AFlags)) {
    DWORD Code = GetLastError();
    // This item and the ones never queued will not count themselves down.
    ItemFinished(FTaskCount - FTaskIndex);
    FTaskIndex = FTaskCount;
    WaitForThreads(false);
    RaiseLastOSError(Code);
  }
  ++FTaskIndex;
}

void TdxThreadPoolHelper::ItemFinished(Integer ACount) {
  if (InterlockedExchangeAdd(&FRunningTaskCount, -ACount) == ACount) SetEvent(FEvent);
}

void TdxThreadPoolHelper::KeepException(Exception* AException) {
  std::lock_guard<std::mutex> Lock(FExceptionLock);
  FException.reset(AException);
}

DWORD WINAPI TdxThreadPoolHelper::ThreadFunction(LPVOID AParam) {
  TWorkItem* Item = static_cast<TWorkItem*>(AParam);
  TdxThreadPoolHelper* Helper = Item->Helper;
  try {
    if (Item->ObjectProc)
      Item->ObjectProc(Item->Sender, Item->Context);
    else
      Item->Proc(Item->Context);
  } catch (...) {
    Helper->KeepException(AcquireExceptionObject());
  }
  // The waiting caller may free the helper as soon as the count reaches 0.
  Helper->ItemFinished(1);
  YieldToOtherThread();
  return 0;
}

void TdxThreadPoolHelper::WaitForThreads(bool ADestroyEvent) {
  EnsureEvent();
  WaitForSingleObject(FEvent, INFINITE);
  if (ADestroyEvent) {
    CloseHandle(FEvent);
    FEvent = nullptr;
  } else {
    ResetEvent(FEvent);
  }
}

void TdxThreadPoolHelper::RaiseWorkItemException() {
  std::unique_ptr<Exception> E;
  {
    std::lock_guard<std::mutex> Lock(FExceptionLock);
    E.swap(FException);
  }
  if (E) E->Raise();
}

// ---------------------------------------------------------------------------
// TdxMultithreadOperation

IMPLEMENT_CLASS(TdxMultithreadOperation)

TdxMultithreadOperation::TdxMultithreadOperation(Integer AThreadCount)
    : FThreadCount(std::clamp<Integer>(AThreadCount, 1, dxMaxWorkItems)),
      FThreadPoolHelper(MakeOwned<TdxThreadPoolHelper>()) {}

TdxMultithreadOperation::TdxMultithreadOperation() : TdxMultithreadOperation(dxProcessorCount()) {}

bool TdxMultithreadOperation::TryLock() { return InterlockedCompareExchange(&FLock, 1, 0) == 0; }

void TdxMultithreadOperation::Unlock() { InterlockedExchange(&FLock, 0); }

std::vector<TdxChunkRange> dxSplitIntoChunks(Integer ACount, Integer AChunkCount) {
  std::vector<TdxChunkRange> R;
  if (ACount <= 0 || AChunkCount <= 0) return R;
  Integer Size = ACount / AChunkCount;
  Integer Remainder = ACount % AChunkCount;
  Integer Start = 0;
  for (Integer I = 0; I < AChunkCount; ++I) {
    Integer N = Size;
    if (Remainder > 0) {
      ++N;
      --Remainder;
    }
    R.push_back(TdxChunkRange{Start, Start + N - 1});
    Start += N;
  }
  return R;
}

// ---------------------------------------------------------------------------
// TdxMultithreadedSort

IMPLEMENT_CLASS(TdxMultithreadedSort)

Integer TdxMultithreadedSort::Compare(Pointer A, Pointer B) const {
  return FCompareFunc ? FCompareFunc(A, B) : FCompareClassFunc(A, B);
}

Integer TdxMultithreadedSort::ChunkCountFor(Integer ACount) const {
  if (ACount < 32 || FThreadCount == 1) return 1;
  return FThreadCount <= 3 ? 8 : 16;
}

void TdxMultithreadedSort::Sort(Pointer* AList, Integer ACount, TCompareItems ACompareFunc) {
  if (!TryLock()) {
    dxQuickSortList(AList, ACount, ACompareFunc);
    return;
  }
  FCompareFunc = ACompareFunc;
  FCompareClassFunc = TdxListSortCompare();
  DoSort(AList, ACount);
}

void TdxMultithreadedSort::Sort(Pointer* AList, Integer ACount,
                                const TdxListSortCompare& ACompareFunc) {
  if (!TryLock()) {
    dxQuickSortList(AList, ACount, ACompareFunc);
    return;
  }
  FCompareFunc = nullptr;
  FCompareClassFunc = ACompareFunc;
  DoSort(AList, ACount);
}

void TdxMultithreadedSort::Sort(TdxFastList* AList, TCompareItems ACompareFunc) {
  Sort(AList->List(), AList->Count(), ACompareFunc);
}

void TdxMultithreadedSort::Sort(TdxFastList* AList, const TdxListSortCompare& ACompareFunc) {
  Sort(AList->List(), AList->Count(), ACompareFunc);
}

void TdxMultithreadedSort::SortSequentially(Pointer* AList, Integer ACount) {
  if (FCompareFunc)
    dxQuickSortList(AList, ACount, FCompareFunc);
  else
    dxQuickSortList(AList, ACount, FCompareClassFunc);
}

// Called with the lock taken; releases it on every path.
void TdxMultithreadedSort::DoSort(Pointer* AList, Integer ACount) {
  struct TRelease {
    TdxMultithreadedSort* Sort;
    ~TRelease() {
      Sort->FTemp.clear();
      Sort->FTemp.shrink_to_fit();
      Sort->Unlock();
    }
  } Release{this};
  if (ACount < 2) return;
  FList = AList;
  FCount = ACount;
  Integer Chunks = ChunkCountFor(ACount);
  FSortChunks = dxSplitIntoChunks(ACount, Chunks);

  TdxWorkItemObjectProc SortProc = MakeEvent<&TdxMultithreadedSort::SortChunk>(this);
  FThreadPoolHelper->Initialize(Chunks, true);
  for (Integer I = 0; I < Chunks; ++I)
    FThreadPoolHelper->QueueWorkItem(this, &FSortChunks[I], SortProc);
  FThreadPoolHelper->WaitForThreads(false);
  FThreadPoolHelper->RaiseWorkItemException();

  FTemp.assign(static_cast<size_t>(ACount), nullptr);
  TdxWorkItemObjectProc MergeProc = MakeEvent<&TdxMultithreadedSort::MergeChunks>(this);
  std::vector<TMergePair> Pairs;
  for (Integer PairCount = Chunks / 2; PairCount > 0; PairCount /= 2) {
    Pairs.clear();
    for (Integer I = 0; I < PairCount; ++I) Pairs.push_back(TMergePair{this, I});
    FThreadPoolHelper->Initialize(PairCount, true);
    for (Integer I = 0; I < PairCount; ++I)
      FThreadPoolHelper->QueueWorkItem(this, &Pairs[I], MergeProc);
    FThreadPoolHelper->WaitForThreads(false);
    FThreadPoolHelper->RaiseWorkItemException();
    for (Integer I = 0; I < PairCount; ++I)
      FSortChunks[I] = TdxChunkRange{FSortChunks[2 * I].First, FSortChunks[2 * I + 1].Last};
  }
}

void TdxMultithreadedSort::SortChunk(TObject*, Pointer AContext) {
  const TdxChunkRange& Chunk = *static_cast<TdxChunkRange*>(AContext);
  SortSequentially(FList + Chunk.First, Chunk.Last - Chunk.First + 1);
}

void TdxMultithreadedSort::MergeChunks(TObject*, Pointer AContext) {
  Integer I = static_cast<TMergePair*>(AContext)->Index;
  Merge(FSortChunks[2 * I].First, FSortChunks[2 * I].Last, FSortChunks[2 * I + 1].Last);
}

void TdxMultithreadedSort::Merge(Integer ALow, Integer ADivider, Integer AHigh) {
  Pointer* Temp = FTemp.data();
  std::copy(FList + ALow, FList + AHigh + 1, Temp + ALow);
  Integer L = ALow, R = ADivider + 1, Out = ALow;
  {
    auto OnFailure = Finally([&] {
      // A half-written run would hold some items twice and lose others.
      std::copy(Temp + ALow, Temp + AHigh + 1, FList + ALow);
    });
    while (L <= ADivider && R <= AHigh) {
      if (Compare(Temp[L], Temp[R]) >= 0)
        FList[Out++] = Temp[R++];
      else
        FList[Out++] = Temp[L++];
    }
    OnFailure.Dismiss();
  }
  while (L <= ADivider) FList[Out++] = Temp[L++];
  while (R <= AHigh) FList[Out++] = Temp[R++];
}

// ---------------------------------------------------------------------------
// Iterators

IMPLEMENT_CLASS(TdxCustomMultithreadedIterator)
IMPLEMENT_CLASS(TdxMultithreadedClassMethodIterator)
IMPLEMENT_CLASS(TdxMultithreadedListIterator)

Integer TdxCustomMultithreadedIterator::DoIterate(Integer ACount, Pointer AContext, bool AReverse) {
  if (ACount <= 0) return -1;
  if (ACount > 1 && dxCanUseMultiThreading() && TryLock()) {
    struct TRelease {
      TdxCustomMultithreadedIterator* It;
      ~TRelease() { It->Unlock(); }
    } Release{this};
    return IterateItems(0, ACount - 1, AReverse, AContext);
  }
  return IterateSequentially(ACount, AContext, AReverse);
}

Integer TdxCustomMultithreadedIterator::IterateSequentially(Integer ACount, Pointer AContext,
                                                            bool AReverse) {
  if (AReverse) {
    for (Integer I = ACount - 1; I >= 0; --I)
      if (CallItemFunc(AContext, I)) return I;
  } else {
    for (Integer I = 0; I < ACount; ++I)
      if (CallItemFunc(AContext, I)) return I;
  }
  return -1;
}

Integer TdxCustomMultithreadedIterator::IterateItems(Integer AStartIndex, Integer AEndIndex,
                                                     bool AReverse, Pointer AContext) {
  InterlockedExchange(&FFinishedIndex, -1);
  Integer Count = AEndIndex - AStartIndex + 1;
  if (Count <= 0) return -1;
  Integer ChunkCount = std::min({Count, FThreadCount, dxMaxWorkItems});
  InitializeChunksEnvironment();
  std::vector<TdxChunkRange> Ranges = dxSplitIntoChunks(Count, ChunkCount);
  FChunks.clear();
  for (Integer I = 0; I < ChunkCount; ++I) {
    FChunks.push_back(TChunk{this, GetChunkContext(I, AContext), AStartIndex + Ranges[I].First,
                             AStartIndex + Ranges[I].Last, AReverse});
  }
  TdxWorkItemObjectProc Proc = MakeEvent<&TdxCustomMultithreadedIterator::ProcessChunk>(this);
  FThreadPoolHelper->Initialize(ChunkCount, true);
  for (Integer I = 0; I < ChunkCount; ++I)
    FThreadPoolHelper->QueueWorkItem(this, &FChunks[I], Proc);
  FThreadPoolHelper->WaitForThreads(true);
  FThreadPoolHelper->RaiseWorkItemException();
  return FFinishedIndex;
}

void TdxCustomMultithreadedIterator::ProcessChunk(TObject*, Pointer AContext) {
  const TChunk& Chunk = *static_cast<TChunk*>(AContext);
  Integer Step = Chunk.Reverse ? -1 : 1;
  Integer I = Chunk.Reverse ? Chunk.Last : Chunk.First;
  Integer End = Chunk.Reverse ? Chunk.First - 1 : Chunk.Last + 1;
  for (; I != End; I += Step) {
    if (InterlockedCompareExchange(&FFinishedIndex, -1, -1) >= 0) return;
    if (CallItemFunc(Chunk.Context, I)) {
      InterlockedExchange(&FFinishedIndex, I);
      return;
    }
  }
}

Integer TdxMultithreadedListIterator::Iterate(Pointer AContext, Integer ACount,
                                              const TdxIteratorItemFunc& AItemFunc, bool AReverse) {
  FItemObjectFunc = AItemFunc;
  return DoIterate(ACount, AContext, AReverse);
}

Integer TdxMultithreadedListIterator::Iterate(TdxFastList* AList,
                                              const TdxIteratorItemFunc& AItemFunc, bool AReverse) {
  return Iterate(AList, AList->Count(), AItemFunc, AReverse);
}

Integer TdxMultithreadedListIterator::Iterate(TList* AList, const TdxIteratorItemFunc& AItemFunc,
                                              bool AReverse) {
  return Iterate(AList, AList->Count(), AItemFunc, AReverse);
}

Integer TdxMultithreadedListIterator::Iterate(TStrings* AStrings,
                                              const TdxIteratorItemFunc& AItemFunc, bool AReverse) {
  return Iterate(AStrings, AStrings->Count(), AItemFunc, AReverse);
}

// ---------------------------------------------------------------------------
// Thread methods and waiting

void CallThreadMethod(const TdxThreadMethod& AMethod, TdxThreadMethodCallMode AMode) {
  if (!AMethod) return;
  switch (AMode) {
    case tmcmAsync:
      AMethod();
      break;
    case tmcmSync:
      TThread::Synchronize(nullptr, AMethod);
      break;
    case tmcmSyncPostponed:
      TThread::Queue(nullptr, AMethod);
      break;
  }
}

TWaitResult WaitForSyncObject(HANDLE AHandle, DWORD ATimeOut) {
  if (GetCurrentThreadId() != MainThreadID) {
    switch (WaitForSingleObject(AHandle, ATimeOut)) {
      case WAIT_OBJECT_0:
        return wrSignaled;
      case WAIT_TIMEOUT:
        return wrTimeout;
      case WAIT_ABANDONED:
        return wrAbandoned;
      default:
        return wrError;
    }
  }
  HANDLE Handles[2] = {AHandle, SyncEvent()};
  DWORD Remaining = ATimeOut;
  // At least one pass, so that a zero time-out still looks at the handle.
  do {
    DWORD Slice = ATimeOut == INFINITE ? 100 : std::min<DWORD>(Remaining, 100);
    DWORD R = MsgWaitForMultipleObjects(2, Handles, FALSE, Slice, QS_SENDMESSAGE);
    if (R == WAIT_OBJECT_0) return wrSignaled;
    if (R == WAIT_OBJECT_0 + 1) {
      CheckSynchronize();
    } else if (R == WAIT_OBJECT_0 + 2) {
      MSG Msg;
      PeekMessageW(&Msg, nullptr, 0, 0, PM_NOREMOVE);
    } else if (R == WAIT_ABANDONED_0) {
      return wrAbandoned;
    } else if (R != WAIT_TIMEOUT) {
      return wrError;
    }
    if (ATimeOut != INFINITE) Remaining -= std::min<DWORD>(Remaining, 100);
  } while (Remaining != 0);
  return wrTimeout;
}

// ---------------------------------------------------------------------------
// TdxTaskEvent

IMPLEMENT_CLASS(TdxTaskEvent)

TdxTaskEvent::TdxTaskEvent() : FHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  if (!FHandle) RaiseLastOSError();
}

TdxTaskEvent::~TdxTaskEvent() { CloseHandle(FHandle); }

bool TdxTaskEvent::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxTaskEvent))) {
    *AObj = static_cast<IdxTaskEvent*>(this);
    AddRef();
    return true;
  }
  return TInterfacedObject::GetInterface(AIID, AObj);
}

bool TdxTaskEvent::Signal() { return SetEvent(FHandle) != FALSE; }

TWaitResult TdxTaskEvent::WaitFor(DWORD ATimeOut) { return WaitForSyncObject(FHandle, ATimeOut); }

// ---------------------------------------------------------------------------
// Tasks

IMPLEMENT_CLASS(TdxTask)

TdxTask::TdxTask() : FHandle(static_cast<TdxTaskHandle>(InterlockedIncrement64(&LastTaskHandle))) {}

void TdxTask::Complete() { CallThreadMethod(FOnComplete, FOnCompleteMode); }

bool TdxTask::Canceled() const {
  return InterlockedCompareExchange(const_cast<volatile LONG*>(&FCanceled), 0, 0) != 0;
}

class TdxTaskDispatcher::TProcWrapper : public TdxTask {
  DECLARE_CLASS_INLINE(TProcWrapper, TdxTask)
 public:
  explicit TProcWrapper(TdxTaskProc AProc) : FProc(std::move(AProc)) {}
  void Execute() override {
    FProc([this] { return Canceled(); });
  }

 private:
  TdxTaskProc FProc;
};

class TdxTaskDispatcher::TTaskWrapper : public TdxTask {
  DECLARE_CLASS_INLINE(TTaskWrapper, TdxTask)
 public:
  explicit TTaskWrapper(std::shared_ptr<IdxTask> ATask) : FTask(std::move(ATask)) {}
  void Execute() override {
    FCompletedStatus = FTask->Run([this] { return Canceled(); });
  }
  void Complete() override {
    CallThreadMethod(MakeEvent<&TTaskWrapper::SyncComplete>(this), tmcmSync);
  }

 private:
  void SyncComplete() { FTask->OnComplete(FCompletedStatus); }
  std::shared_ptr<IdxTask> FTask;
  TdxTaskCompletedStatus FCompletedStatus = tcsCanceled;
};

IMPLEMENT_CLASS(TdxTaskDispatcher)

TdxTaskDispatcher::TdxTaskDispatcher() : FMaxActiveTasks(dxProcessorCount() + 2) {
  InitializeCriticalSectionAndSpinCount(&FLock, 1024);
  FCpuUsageMonitor.reset(
      cxCreateTimer(MakeEvent<&TdxTaskDispatcher::HandlerCpuUsageMonitor>(this), 1000, false));
}

TdxTaskDispatcher::~TdxTaskDispatcher() {
  while (InterlockedCompareExchange(&FFinishing, 0, 0) != 0) Sleep(0);
  FCpuUsageMonitor.reset();
  for (TdxTask* T : FTasks) T->Free();
  FTasks.clear();
  DeleteCriticalSection(&FLock);
}

void TdxTaskDispatcher::BeforeDestruction() {
  FMaxActiveTasks = 0;
  if (Integer Left = CancelAll(FShutDownWaitTime)) ReportTasksLetGo(Left, FShutDownWaitTime);
  inherited::BeforeDestruction();
}

TdxTaskHandle TdxTaskDispatcher::Run(std::shared_ptr<IdxTask> ATask) {
  return Run(Create<TTaskWrapper>(std::move(ATask)));
}

TdxTaskHandle TdxTaskDispatcher::Run(TdxTaskProc AProc) {
  return Run(Create<TProcWrapper>(std::move(AProc)));
}

TdxTaskHandle TdxTaskDispatcher::Run(TdxTaskProc AProc, const TdxThreadMethod& ACompleteEvent,
                                     TdxThreadMethodCallMode ACompleteEventCallMode) {
  return Run(Create<TProcWrapper>(std::move(AProc)), ACompleteEvent, ACompleteEventCallMode);
}

TdxTaskHandle TdxTaskDispatcher::Run(TdxTask* ATask) {
  return Run(ATask, TdxThreadMethod(), tmcmAsync);
}

TdxTaskHandle TdxTaskDispatcher::Run(TdxTask* ATask, const TdxThreadMethod& ACompleteEvent,
                                     TdxThreadMethodCallMode ACompleteEventCallMode) {
  TdxTaskHandle Handle = ATask->GetHandle();
  {
    TCSLock L(FLock);
    ATask->FOnComplete = ACompleteEvent;
    ATask->FOnCompleteMode = ACompleteEventCallMode;
    ATask->FStartWaitingAt = GetTickCount();
    FTasks.push_back(ATask);
  }
  CheckActiveTasks();
  return Handle;
}

void TdxTaskDispatcher::CheckActiveTasks() {
  TdxTask* Next = nullptr;
  {
    TCSLock L(FLock);
    if (static_cast<Integer>(FActiveTasks.size()) < FMaxActiveTasks && !FTasks.empty())
      Next = FTasks.front();
    if (Next) Start(Next);
  }
}

void TdxTaskDispatcher::Start(TdxTask* ATask) {
  TCSLock L(FLock);
  ATask->FOwner = this;
  ATask->FEvent = TComPtr<IdxTaskEvent>::Borrow(Create<TdxTaskEvent>());
  FTasks.erase(std::find(FTasks.begin(), FTasks.end(), ATask));
  FActiveTasks.push_back(ATask);
  auto QueueProc = ThreadingPlatform.QueueUserWorkItem;
  if (!QueueProc) {
    RunInCurrentThread(ATask);
    return;
  }
  if (!QueueProc(&ThreadProc, ATask, WT_EXECUTELONGFUNCTION)) {
    DWORD Code = GetLastError();
    FActiveTasks.pop_back();
    ATask->FEvent->Signal();
    ATask->Free();
    RaiseLastOSError(Code);
  }
}

void TdxTaskDispatcher::RunInCurrentThread(TdxTask* ATask) {
  ATask->FThreadId = GetCurrentThreadId();
  auto Finished = Finally([&] { TaskFinished(ATask); });
  // Complete runs after a failed Execute too; the failure of Execute is the
  // one reported then.
  auto Complete = Finally([&] { ATask->Complete(); });
  ATask->Execute();
}

DWORD WINAPI TdxTaskDispatcher::ThreadProc(LPVOID AParam) {
  AsyncRun(static_cast<TdxTask*>(AParam));
  return 0;
}

void TdxTaskDispatcher::AsyncRun(TdxTask* ATask) {
  ATask->FThreadId = GetCurrentThreadId();
  try {
    ATask->Execute();
  } catch (...) {
  }
  try {
    ATask->Complete();
  } catch (...) {
  }
  TSRWLockHold<false> Hold(TaskOwnersLock);
  if (TdxTaskDispatcher* Owner = ATask->FOwner) {
    Owner->TaskFinished(ATask);
    return;
  }
  // Let go by a dispatcher that shut down: nobody else frees it.
  ATask->FEvent->Signal();
  ATask->Free();
}

void TdxTaskDispatcher::TaskFinished(TdxTask* ATask) {
  TComPtr<IdxTaskEvent> Event;
  InterlockedIncrement(&FFinishing);
  {
    TCSLock L(FLock);
    auto It = std::find(FActiveTasks.begin(), FActiveTasks.end(), ATask);
    if (It != FActiveTasks.end()) FActiveTasks.erase(It);
    Event = ATask->FEvent;
    // Still under the lock: once the active list is empty a waiting
    // destructor may free the dispatcher.
    CheckActiveTasks();
  }
  // The last touch of the dispatcher: its destructor waits for it.
  InterlockedDecrement(&FFinishing);
  if (Event) Event->Signal();
  ATask->Free();
}

TdxTask* TdxTaskDispatcher::FindActive(TdxTaskHandle AHandle) {
  for (TdxTask* T : FActiveTasks)
    if (T->GetHandle() == AHandle) return T;
  return nullptr;
}

bool TdxTaskDispatcher::Cancel(TdxTaskHandle ATaskHandle, bool AWaitFor) {
  return Cancel(ATaskHandle, static_cast<DWORD>(AWaitFor ? INFINITE : 0)) != wrError;
}

TWaitResult TdxTaskDispatcher::Cancel(TdxTaskHandle ATaskHandle, DWORD AWaitTimeOut) {
  if (!ATaskHandle) return wrAbandoned;
  TComPtr<IdxTaskEvent> Event;
  TdxTask* Pending = nullptr;
  {
    TCSLock L(FLock);
    for (TdxTask* T : FTasks)
      if (T->GetHandle() == ATaskHandle) Pending = T;
    if (Pending) {
      FTasks.erase(std::find(FTasks.begin(), FTasks.end(), Pending));
    } else if (TdxTask* Active = FindActive(ATaskHandle)) {
      InterlockedExchange(&Active->FCanceled, 1);
      Event = Active->FEvent;
    }
  }
  if (Pending) {
    InterlockedExchange(&Pending->FCanceled, 1);
    TOwned<TdxTask> Owned(Pending);
    Pending->Complete();
    return wrSignaled;
  }
  if (!Event) return wrAbandoned;
  return Event->WaitFor(AWaitTimeOut);
}

Integer TdxTaskDispatcher::CancelAll(DWORD AWaitTimeOut) {
  {
    TCSLock L(FLock);
    for (TdxTask* T : FActiveTasks) InterlockedExchange(&T->FCanceled, 1);
  }
  const ULONGLONG Started = GetTickCount64();
  for (;;) {
    TdxTaskHandle Handle;
    {
      TCSLock L(FLock);
      if (FActiveTasks.empty()) return 0;
      Handle = FActiveTasks.front()->GetHandle();
    }
    DWORD Wait = AWaitTimeOut;
    if (AWaitTimeOut != INFINITE) {
      ULONGLONG Spent = GetTickCount64() - Started;
      Wait = Spent >= AWaitTimeOut ? 0 : static_cast<DWORD>(AWaitTimeOut - Spent);
    }
    TWaitResult R = Cancel(Handle, Wait);
    if (R != wrSignaled && R != wrAbandoned) break;
  }
  return LetRunningTasksGo();
}

Integer TdxTaskDispatcher::LetRunningTasksGo() {
  TSRWLockHold<true> Hold(TaskOwnersLock);
  TCSLock L(FLock);
  for (TdxTask* T : FActiveTasks) T->FOwner = nullptr;
  Integer Count = static_cast<Integer>(FActiveTasks.size());
  FActiveTasks.clear();
  return Count;
}

bool TdxTaskDispatcher::WaitFor(TdxTaskHandle ATaskHandle) {
  TWaitResult R = WaitFor(ATaskHandle, INFINITE);
  return R == wrSignaled || R == wrAbandoned;
}

TWaitResult TdxTaskDispatcher::WaitFor(TdxTaskHandle ATaskHandle, DWORD AWaitTimeOut) {
  TComPtr<IdxTaskEvent> Event;
  {
    TCSLock L(FLock);
    for (TdxTask* T : FTasks) {
      if (T->GetHandle() == ATaskHandle) {
        Start(T);
        break;
      }
    }
    // A task that ran on this thread at once is already gone.
    if (TdxTask* Active = FindActive(ATaskHandle)) Event = Active->FEvent;
  }
  if (!Event) return wrAbandoned;
  return Event->WaitFor(AWaitTimeOut);
}

bool TdxTaskDispatcher::IsCurrentTaskCanceled() {
  TCSLock L(FLock);
  DWORD Id = GetCurrentThreadId();
  for (TdxTask* T : FActiveTasks)
    if (T->FThreadId == Id) return T->Canceled();
  return false;
}

void TdxTaskDispatcher::SetMaxActiveTasks(Integer AValue) {
  if (AValue < 2) AValue = 1;
  if (AValue == FMaxActiveTasks) return;
  FMaxActiveTasks = AValue;
  CheckActiveTasks();
}

Integer TdxTaskDispatcher::ActiveTaskCount() {
  TCSLock L(FLock);
  return static_cast<Integer>(FActiveTasks.size());
}

Integer TdxTaskDispatcher::PendingTaskCount() {
  TCSLock L(FLock);
  return static_cast<Integer>(FTasks.size());
}

namespace {
ULONGLONG FileTimeValue(const FILETIME& T) {
  return (static_cast<ULONGLONG>(T.dwHighDateTime) << 32) | T.dwLowDateTime;
}
}  // namespace

void TdxTaskDispatcher::SetUseCpuUsageMonitor(bool AValue) {
  if (GetCurrentThreadId() != MainThreadID) throw EInvalidOperation(ClassName());
  FCpuUsageSampleCount = 0;
  if (AValue == UseCpuUsageMonitor()) return;
  if (AValue) {
    FILETIME Idle, Kernel, User;
    if (GetSystemTimes(&Idle, &Kernel, &User)) {
      FPrevIdle = FileTimeValue(Idle);
      FPrevBusy = FileTimeValue(Kernel) + FileTimeValue(User);
    }
  }
  FCpuUsageMonitor->SetEnabled(AValue);
}

void TdxTaskDispatcher::HandlerCpuUsageMonitor(TObject*) {
  FILETIME Idle, Kernel, User;
  if (!GetSystemTimes(&Idle, &Kernel, &User)) return;
  // Kernel time includes the idle time.
  ULONGLONG IdleNow = FileTimeValue(Idle);
  ULONGLONG BusyNow = FileTimeValue(Kernel) + FileTimeValue(User);
  ULONGLONG Total = BusyNow - FPrevBusy;
  ULONGLONG IdleDelta = IdleNow - FPrevIdle;
  FPrevIdle = IdleNow;
  FPrevBusy = BusyNow;
  Integer Percent = Total == 0 ? 0 : static_cast<Integer>(100 - IdleDelta * 100 / Total);
  AddCpuUsageSample(std::clamp<Integer>(Percent, 0, 100));
}

void TdxTaskDispatcher::AddCpuUsageSample(Integer APercent) {
  std::copy_backward(FCpuUsageLog, FCpuUsageLog + 9, FCpuUsageLog + 10);
  FCpuUsageLog[0] = APercent;
  FCpuUsageSampleCount = std::min(FCpuUsageSampleCount + 1, 10);
  if (FCpuUsageSampleCount < 10) return;
  Integer Sum = 0;
  for (Integer V : FCpuUsageLog) Sum += V;
  if (Sum / 10 > 80) return;
  TCSLock L(FLock);
  if (!FTasks.empty()) {
    Start(FTasks.front());
    FCpuUsageSampleCount = 0;
  }
}

// ---------------------------------------------------------------------------
// TdxUIThreadSyncService

class TdxUIThreadSyncWindow : public TcxMessageWindow {
  DECLARE_CLASS_INLINE(TdxUIThreadSyncWindow, TcxMessageWindow)
 protected:
  void WndProc(TMessage& Message) override;
};

namespace {
struct TEnqueuedProcedure {
  TObject* Owner;
  TdxUIThreadProc ProcedureRef;
};

struct TUIQueue {
  std::vector<TEnqueuedProcedure> Delegates;
  TdxUIThreadSyncWindow* Window = nullptr;
  CRITICAL_SECTION Lock;
  bool Shutdown = true;
};
TUIQueue UIQueue;
}  // namespace

void TdxUIThreadSyncService::Initialize() {
  if (UIQueue.Window) return;
  UIQueue.Window = Create<TdxUIThreadSyncWindow>();
  InitializeCriticalSectionAndSpinCount(&UIQueue.Lock, 1024);
  UIQueue.Delegates.reserve(4096);
  UIQueue.Shutdown = false;
}

void TdxUIThreadSyncService::Finalize() {
  if (!UIQueue.Window) return;
  UIQueue.Shutdown = true;
  DeleteAllListeners();
  ClearWindowsQueue();
  FreeAndNil(UIQueue.Window);
  DeleteCriticalSection(&UIQueue.Lock);
}

HWND TdxUIThreadSyncService::Handle() {
  return UIQueue.Window ? UIQueue.Window->Handle() : nullptr;
}

bool TdxUIThreadSyncService::IsShutdown() {
  if (UIQueue.Shutdown) return true;
  TApplication* App = Application();
  return App && App->Terminated();
}

void TdxUIThreadSyncService::EnqueueInvokeInUIThread(TObject* AOwner, TdxUIThreadProc AProcedure) {
  if (IsShutdown()) return;
  TCSLock L(UIQueue.Lock);
  UIQueue.Delegates.push_back(TEnqueuedProcedure{AOwner, std::move(AProcedure)});
  PostMessageW(Handle(), DXM_UITHREADINVOKE, 0, 0);
}

void TdxUIThreadSyncService::Unsubscribe(TObject* AListener) {
  Assert(AListener != nullptr, L"bad listener");
  if (IsShutdown()) return;
  TCSLock L(UIQueue.Lock);
  auto& D = UIQueue.Delegates;
  for (size_t I = D.size(); I-- > 0;)
    if (D[I].Owner == AListener) D.erase(D.begin() + static_cast<std::ptrdiff_t>(I));
}

void TdxUIThreadSyncService::Invoke() {
  while (!IsShutdown()) {
    TEnqueuedProcedure Entry{nullptr, nullptr};
    {
      TCSLock L(UIQueue.Lock);
      if (UIQueue.Delegates.empty()) return;
      Entry = std::move(UIQueue.Delegates.front());
      UIQueue.Delegates.erase(UIQueue.Delegates.begin());
    }
    try {
      if (Entry.ProcedureRef) Entry.ProcedureRef();
    } catch (...) {
      if (TApplication* App = Application())
        App->HandleException(Entry.Owner);
      else
        dxHandleException();
    }
  }
}

void TdxUIThreadSyncWindow::WndProc(TMessage& Message) {
  if (Message.Msg == DXM_UITHREADINVOKE && !TdxUIThreadSyncService::IsShutdown()) {
    TdxUIThreadSyncService::Invoke();
    Message.Result = 1;
    return;
  }
  inherited::WndProc(Message);
}

void TdxUIThreadSyncService::ClearWindowsQueue() {
  MSG Msg;
  while (PeekMessageW(&Msg, Handle(), DXM_UITHREADINVOKE, DXM_UITHREADINVOKE, PM_REMOVE))
    DispatchMessageW(&Msg);
}

void TdxUIThreadSyncService::DeleteAllListeners() {
  TCSLock L(UIQueue.Lock);
  UIQueue.Delegates.clear();
  UIQueue.Delegates.shrink_to_fit();
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void dxThreading_Initialize() {
  HMODULE Kernel = GetModuleHandleW(L"kernel32.dll");
  ThreadingPlatform.QueueUserWorkItem =
      reinterpret_cast<BOOL(WINAPI*)(LPTHREAD_START_ROUTINE, PVOID, ULONG)>(
          reinterpret_cast<void*>(GetProcAddress(Kernel, "QueueUserWorkItem")));
  CanUseMultiThreading = ThreadingPlatform.QueueUserWorkItem && dxProcessorCount() > 1;
  if (CanUseMultiThreading) {
    if (!SortHelper) SortHelper = Create<TdxMultithreadedSort>(dxProcessorCount() * 4);
    if (!ListIterator) ListIterator = Create<TdxMultithreadedListIterator>(dxProcessorCount());
  }
  if (!TasksDispatcher) TasksDispatcher = Create<TdxTaskDispatcher>();
  TdxUIThreadSyncService::Initialize();
}

void dxThreading_Finalize() {
  TdxUIThreadSyncService::Finalize();
  FreeAndNil(TasksDispatcher);
  FreeAndNil(SortHelper);
  FreeAndNil(ListIterator);
  CanUseMultiThreading = false;
}
