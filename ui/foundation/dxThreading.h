// Data parallelism on the platform's thread pool (a batch of work items, a
// parallel sort of pointer lists, a parallel search over list items), the
// background task dispatcher, and the queue of procedures that any thread
// hands to the UI thread.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "ComObj.h"
#include "SyncObjs.h"
#include "cxClasses.h"
#include "dxCoreClasses.h"

// The thread-pool entry point, bound by name at start-up (nullptr when the
// platform lacks it); tests replace it to make the pool refuse work.
struct TdxThreadingPlatform {
  BOOL(WINAPI* QueueUserWorkItem)(LPTHREAD_START_ROUTINE, PVOID, ULONG) = nullptr;
};
TdxThreadingPlatform& dxThreadingPlatform();

// A public switch, on at start.
extern bool dxEnableMultiThreading;
// The pool entry point exists, the machine has more than one processor and
// the switch is on.
bool dxCanUseMultiThreading();
Integer dxProcessorCount();

constexpr Integer dxMaxWorkItems = 32;

using TdxWorkItemObjectProc = TMethodPtr<void(TObject* Sender, Pointer AContext)>;
using TdxWorkItemProc = void (*)(Pointer AContext);

// One batch of at most 32 work items on the pool and the wait for all of
// them. The caller queues exactly the number of items it announced.
class TdxThreadPoolHelper : public TObject {
  DECLARE_CLASS(TdxThreadPoolHelper, TObject)
 public:
  TdxThreadPoolHelper() = default;
  ~TdxThreadPoolHelper() override;

  void Initialize(Integer ANumThreads, bool ACreateEvent);
  // A refusal of the pool raises the platform's error, but only after the
  // items already queued have finished: they use the caller's data.
  void QueueWorkItem(TObject* ASender, Pointer AContext, const TdxWorkItemObjectProc& AObjectProc,
                     ULONG AFlags = 0);
  void QueueWorkItem(TdxWorkItemProc AProc, Pointer AContext, ULONG AFlags = 0);
  void WaitForThreads(bool ADestroyEvent);
  // Raises again, in the calling thread, an exception that a work item of
  // the batch raised; nothing when every item succeeded.
  void RaiseWorkItemException();

 private:
  struct TWorkItem {
    TdxThreadPoolHelper* Helper = nullptr;
    TObject* Sender = nullptr;
    Pointer Context = nullptr;
    TdxWorkItemObjectProc ObjectProc;
    TdxWorkItemProc Proc = nullptr;
  };
  static DWORD WINAPI ThreadFunction(LPVOID AParam);
  void Queue(ULONG AFlags);
  void ItemFinished(Integer ACount);
  void KeepException(Exception* AException);
  void EnsureEvent();

  volatile LONG FRunningTaskCount = 0;
  Integer FTaskCount = 0;
  Integer FTaskIndex = 0;
  HANDLE FEvent = nullptr;
  TWorkItem FWorkItems[dxMaxWorkItems];
  std::mutex FExceptionLock;
  std::unique_ptr<Exception> FException;
};

// Base of the sort and the iterators: a thread count and a lock that lets one
// operation at a time use the object.
class TdxMultithreadOperation : public TObject {
  DECLARE_CLASS(TdxMultithreadOperation, TObject)
 public:
  explicit TdxMultithreadOperation(Integer AThreadCount);
  TdxMultithreadOperation();
  Integer ThreadCount() const { return FThreadCount; }

 protected:
  bool TryLock();
  void Unlock();
  Integer FThreadCount;
  TOwned<TdxThreadPoolHelper> FThreadPoolHelper;

 private:
  volatile LONG FLock = 0;
};

// A run of list indexes that one work item handles.
struct TdxChunkRange {
  Integer First;
  Integer Last;
};
// ACount items in AChunkCount runs; the first (ACount mod AChunkCount) runs
// hold one item more.
std::vector<TdxChunkRange> dxSplitIntoChunks(Integer ACount, Integer AChunkCount);

// Sorts chunks of the list on the pool, then merges neighbouring chunks
// pairwise, level by level. Not stable. While one sort runs, another caller
// sorts on its own thread instead of waiting.
class TdxMultithreadedSort : public TdxMultithreadOperation {
  DECLARE_CLASS(TdxMultithreadedSort, TdxMultithreadOperation)
 public:
  using TdxMultithreadOperation::TdxMultithreadOperation;

  void Sort(Pointer* AList, Integer ACount, TCompareItems ACompareFunc);
  void Sort(Pointer* AList, Integer ACount, const TdxListSortCompare& ACompareFunc);
  void Sort(TdxFastList* AList, TCompareItems ACompareFunc);
  void Sort(TdxFastList* AList, const TdxListSortCompare& ACompareFunc);
  // How many chunks a parallel sort of ACount items uses.
  Integer ChunkCountFor(Integer ACount) const;

 private:
  struct TMergePair {
    TdxMultithreadedSort* Sort;
    Integer Index;
  };
  Integer Compare(Pointer A, Pointer B) const;
  void DoSort(Pointer* AList, Integer ACount);
  void SortSequentially(Pointer* AList, Integer ACount);
  void SortChunk(TObject* Sender, Pointer AContext);
  void MergeChunks(TObject* Sender, Pointer AContext);
  void Merge(Integer ALow, Integer ADivider, Integer AHigh);

  TCompareItems FCompareFunc = nullptr;
  TdxListSortCompare FCompareClassFunc;
  Pointer* FList = nullptr;
  Integer FCount = 0;
  std::vector<TdxChunkRange> FSortChunks;
  std::vector<Pointer> FTemp;
};

// True stops the search at AIndex.
using TdxIteratorItemFunc = TMethodPtr<bool(Pointer AContext, Integer AIndex)>;

// Walks a range in chunks on the pool and stops every chunk as soon as one
// of them found an item. The index found is a matching one, not necessarily
// the first in list order.
class TdxCustomMultithreadedIterator : public TdxMultithreadOperation {
  DECLARE_CLASS(TdxCustomMultithreadedIterator, TdxMultithreadOperation)
 public:
  using TdxMultithreadOperation::TdxMultithreadOperation;

 protected:
  virtual Pointer GetChunkContext(Integer AChunkIndex, Pointer AContext) { return AContext; }
  virtual void InitializeChunksEnvironment() {}
  virtual bool CallItemFunc(Pointer AContext, Integer AIndex) = 0;
  // Raises, after every chunk has ended, an exception that an item raised.
  Integer DoIterate(Integer ACount, Pointer AContext, bool AReverse);

 private:
  struct TChunk {
    TdxCustomMultithreadedIterator* Owner;
    Pointer Context;
    Integer First;
    Integer Last;
    bool Reverse;
  };
  Integer IterateItems(Integer AStartIndex, Integer AEndIndex, bool AReverse, Pointer AContext);
  Integer IterateSequentially(Integer ACount, Pointer AContext, bool AReverse);
  void ProcessChunk(TObject* Sender, Pointer AContext);

  volatile LONG FFinishedIndex = -1;
  std::vector<TChunk> FChunks;
};

class TdxMultithreadedClassMethodIterator : public TdxCustomMultithreadedIterator {
  DECLARE_CLASS(TdxMultithreadedClassMethodIterator, TdxCustomMultithreadedIterator)
 public:
  using TdxCustomMultithreadedIterator::TdxCustomMultithreadedIterator;

 protected:
  bool CallItemFunc(Pointer AContext, Integer AIndex) override {
    return FItemObjectFunc(AContext, AIndex);
  }
  TdxIteratorItemFunc FItemObjectFunc;
};

// The index of an item for which AItemFunc returned true, or -1. The list
// forms pass the list as the context.
class TdxMultithreadedListIterator : public TdxMultithreadedClassMethodIterator {
  DECLARE_CLASS(TdxMultithreadedListIterator, TdxMultithreadedClassMethodIterator)
 public:
  using TdxMultithreadedClassMethodIterator::TdxMultithreadedClassMethodIterator;

  Integer Iterate(Pointer AContext, Integer ACount, const TdxIteratorItemFunc& AItemFunc,
                  bool AReverse = false);
  Integer Iterate(TdxFastList* AList, const TdxIteratorItemFunc& AItemFunc, bool AReverse = false);
  Integer Iterate(TList* AList, const TdxIteratorItemFunc& AItemFunc, bool AReverse = false);
  Integer Iterate(TStrings* AStrings, const TdxIteratorItemFunc& AItemFunc, bool AReverse = false);
};

// The shared sort and iterator; nullptr when multithreading is not possible
// or after shut-down.
TdxMultithreadedSort* dxSortHelper();
TdxMultithreadedListIterator* dxListIterator();

// ---------------------------------------------------------------------------
// Tasks

enum TdxThreadMethodCallMode { tmcmAsync, tmcmSync, tmcmSyncPostponed };

using TdxThreadMethod = TMethodPtr<void()>;
// Nothing for an unassigned method; tmcmAsync calls it at once, tmcmSync runs
// it on the UI thread and waits, tmcmSyncPostponed queues it to the UI
// thread.
void CallThreadMethod(const TdxThreadMethod& AMethod, TdxThreadMethodCallMode AMode);

// Waits for AHandle. On the UI thread the wait keeps running synchronized
// calls of other threads and the messages sent to this thread.
TWaitResult WaitForSyncObject(HANDLE AHandle, DWORD ATimeOut);

struct IdxTaskEvent : public IUnknown {
  virtual bool STDMETHODCALLTYPE Signal() = 0;
  virtual TWaitResult STDMETHODCALLTYPE WaitFor(DWORD ATimeOut) = 0;
};
__CRT_UUID_DECL(IdxTaskEvent, 0x3CAF68AD, 0x4959, 0x429F, 0xA6, 0xBB, 0x19, 0xDC, 0x67, 0x1B, 0xD3,
                0xBB)

class TdxTaskEvent : public TInterfacedObject, public IdxTaskEvent {
  DECLARE_CLASS(TdxTaskEvent, TInterfacedObject)
 public:
  TdxTaskEvent();
  ~TdxTaskEvent() override;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return TInterfacedObject::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TInterfacedObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TInterfacedObject::Release(); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  bool STDMETHODCALLTYPE Signal() override;
  TWaitResult STDMETHODCALLTYPE WaitFor(DWORD ATimeOut) override;

 private:
  HANDLE FHandle;
};

using TdxTaskCancelCallback = std::function<bool()>;
using TdxTaskProc = std::function<void(const TdxTaskCancelCallback& ACanceled)>;
// A task's identity, taken afresh by every task and never reused, so that the
// handle of a finished task cannot reach a later one; 0 is no task.
using TdxTaskHandle = UInt64;

class TdxTaskDispatcher;

class TdxTask : public TcxIUnknownObject {
  DECLARE_CLASS(TdxTask, TcxIUnknownObject)
 public:
  TdxTask();
  virtual void Complete();
  virtual void Execute() = 0;
  bool Canceled() const;
  TdxTaskHandle GetHandle() const { return FHandle; }

 private:
  friend class TdxTaskDispatcher;
  const TdxTaskHandle FHandle;
  // nullptr once a dispatcher that shut down let the task go.
  TdxTaskDispatcher* FOwner = nullptr;
  TComPtr<IdxTaskEvent> FEvent;
  volatile LONG FCanceled = 0;
  DWORD FStartWaitingAt = 0;
  volatile DWORD FThreadId = 0;
  TdxThreadMethod FOnComplete;
  TdxThreadMethodCallMode FOnCompleteMode = tmcmAsync;
};

enum TdxTaskCompletedStatus { tcsCompleted, tcsCanceled, tcsFailed };

// A task given as an interface: the work runs on the pool, the completion on
// the UI thread.
struct IdxTask {
  virtual TdxTaskCompletedStatus Run(const TdxTaskCancelCallback& ACanceled) = 0;
  virtual void OnComplete(TdxTaskCompletedStatus AStatus) = 0;
  virtual ~IdxTask() = default;
};

// Queues tasks and runs a limited number of them at once on the pool.
class TdxTaskDispatcher : public TObject {
  DECLARE_CLASS(TdxTaskDispatcher, TObject)
 public:
  TdxTaskDispatcher();
  ~TdxTaskDispatcher() override;
  // Cancels the running tasks and waits for them, at most ShutDownWaitTime;
  // nothing new starts. Tasks that still run then are let go and reported
  // through the application's exception handling.
  void BeforeDestruction() override;

  TdxTaskHandle Run(std::shared_ptr<IdxTask> ATask);
  TdxTaskHandle Run(TdxTaskProc AProc);
  TdxTaskHandle Run(TdxTaskProc AProc, const TdxThreadMethod& ACompleteEvent,
                    TdxThreadMethodCallMode ACompleteEventCallMode);
  TdxTaskHandle Run(TdxTask* ATask);
  TdxTaskHandle Run(TdxTask* ATask, const TdxThreadMethod& ACompleteEvent,
                    TdxThreadMethodCallMode ACompleteEventCallMode);

  bool Cancel(TdxTaskHandle ATaskHandle, bool AWaitFor);
  TWaitResult Cancel(TdxTaskHandle ATaskHandle, DWORD AWaitTimeOut);
  // Cancels every running task and waits for them, AWaitTimeOut in all. The
  // result is the number of tasks that still ran then: the dispatcher lets
  // them go, and each frees itself when its work ends.
  Integer CancelAll(DWORD AWaitTimeOut = INFINITE);
  bool WaitFor(TdxTaskHandle ATaskHandle);
  TWaitResult WaitFor(TdxTaskHandle ATaskHandle, DWORD AWaitTimeOut);
  // Called from inside a task's work.
  bool IsCurrentTaskCanceled();

  DWORD ShutDownWaitTime() const { return FShutDownWaitTime; }
  void SetShutDownWaitTime(DWORD AValue) { FShutDownWaitTime = AValue; }
  Integer MaxActiveTasks() const { return FMaxActiveTasks; }
  void SetMaxActiveTasks(Integer AValue);
  bool UseCpuUsageMonitor() const { return FCpuUsageMonitor->Enabled(); }
  // On the UI thread only; elsewhere raises EInvalidOperation.
  void SetUseCpuUsageMonitor(bool AValue);
  // One sample of the usage monitor: the processor use since the previous
  // one, in percent. After ten samples averaging 80 % or less, one pending
  // task starts beyond the limit.
  void AddCpuUsageSample(Integer APercent);

  Integer ActiveTaskCount();
  Integer PendingTaskCount();

 private:
  class TProcWrapper;
  class TTaskWrapper;
  void CheckActiveTasks();
  void Start(TdxTask* ATask);
  void RunInCurrentThread(TdxTask* ATask);
  static void AsyncRun(TdxTask* ATask);
  void TaskFinished(TdxTask* ATask);
  Integer LetRunningTasksGo();
  TdxTask* FindActive(TdxTaskHandle AHandle);
  static DWORD WINAPI ThreadProc(LPVOID AParam);
  void HandlerCpuUsageMonitor(TObject* Sender);

  std::vector<TdxTask*> FTasks;
  std::vector<TdxTask*> FActiveTasks;
  CRITICAL_SECTION FLock;
  // Workers inside TaskFinished: the lock may be freed only when none is
  // left, since leaving it still touches it after another thread got it.
  volatile LONG FFinishing = 0;
  Integer FMaxActiveTasks;
  DWORD FShutDownWaitTime = 5000;
  TOwned<TcxTimer> FCpuUsageMonitor;
  Integer FCpuUsageSampleCount = 0;
  Integer FCpuUsageLog[10] = {};
  ULONGLONG FPrevIdle = 0;
  ULONGLONG FPrevBusy = 0;
};

// The shared dispatcher; nullptr before start-up and after shut-down.
TdxTaskDispatcher* dxTasksDispatcher();

// ---------------------------------------------------------------------------
// The UI-thread queue: any thread appends procedures, the UI thread runs them
// in order of arrival when its hidden window receives the queue's message.

constexpr UINT DXM_UITHREADINVOKE = 0x81C2;

using TdxUIThreadProc = std::function<void()>;

// Procedures run outside the queue's lock, so they may enqueue more. An
// exception of one goes to the application's exception handling with the
// entry's owner as sender, and the queue goes on.
class TdxUIThreadSyncService {
 public:
  static void EnqueueInvokeInUIThread(TObject* AOwner, TdxUIThreadProc AProcedure);
  // Removes the waiting procedures of AListener.
  static void Unsubscribe(TObject* AListener);
  // Shut down, or the application is terminating.
  static bool IsShutdown();
  static HWND Handle();

  static void Initialize();
  static void Finalize();

 private:
  friend class TdxUIThreadSyncWindow;
  static void Invoke();
  static void ClearWindowsQueue();
  static void DeleteAllListeners();
};

void dxThreading_Initialize();
void dxThreading_Finalize();
