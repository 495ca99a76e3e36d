#include <deque>

#include "Classes.h"
#include "WinHandles.h"

using namespace ClassesConsts;

DWORD MainThreadID = GetCurrentThreadId();
TNotifyEvent WakeMainThread;

namespace {
// A method handed to the main thread. Synchronize waits for Done and finds
// the method's exception in Error; queued records have no Done and belong to
// the list until they run.
struct TSyncRecord {
  TThread* Thread = nullptr;
  TThreadMethod Method;
  HANDLE Done = nullptr;
  std::unique_ptr<Exception> Error;
};

// Event is signalled exactly while List is not empty (both changed under
// Lock), so a waiter never misses work.
struct TSyncState {
  CRITICAL_SECTION Lock;
  std::deque<TSyncRecord*> List;
  HANDLE Event;
  TSyncState() {
    InitializeCriticalSection(&Lock);
    Event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  }
};

// Created on first use and kept for the life of the process: threads may hand
// work over until the very end.
TSyncState& SyncState() {
  static TSyncState* State = new TSyncState();
  return *State;
}

class TLock {
 public:
  explicit TLock(CRITICAL_SECTION& ACS) : FCS(ACS) { EnterCriticalSection(&FCS); }
  ~TLock() { LeaveCriticalSection(&FCS); }
  TLock(const TLock&) = delete;
  TLock& operator=(const TLock&) = delete;

 private:
  CRITICAL_SECTION& FCS;
};

void AddSyncRecord(TSyncRecord* Rec) {
  TSyncState& S = SyncState();
  {
    TLock L(S.Lock);
    S.List.push_back(Rec);
    SetEvent(S.Event);
  }
  if (WakeMainThread) WakeMainThread(Rec->Thread);
}

TSyncRecord* TakeSyncRecord() {
  TSyncState& S = SyncState();
  TLock L(S.Lock);
  if (S.List.empty()) return nullptr;
  TSyncRecord* Rec = S.List.front();
  S.List.pop_front();
  if (S.List.empty()) ResetEvent(S.Event);
  return Rec;
}

}  // namespace

HANDLE SyncEvent() { return SyncState().Event; }

Boolean CheckSynchronize(Integer Timeout) {
  if (GetCurrentThreadId() != MainThreadID) {
    throw EThread(Format(SCheckSynchronizeError, {static_cast<Cardinal>(GetCurrentThreadId())}));
  }
  TSyncState& S = SyncState();
  if (Timeout > 0) WaitForSingleObject(S.Event, static_cast<DWORD>(Timeout));
  size_t Pending;
  {
    TLock L(S.Lock);
    Pending = S.List.size();
  }
  // Only what was pending on entry: a queued method that queues again runs
  // on the next call, not in an endless loop here.
  Boolean Result = false;
  for (; Pending > 0; --Pending) {
    TSyncRecord* Rec = TakeSyncRecord();
    if (!Rec) break;
    Result = true;
    if (Rec->Done) {
      try {
        Rec->Method();
      } catch (...) {
        Rec->Error.reset(AcquireExceptionObject());
      }
      SetEvent(Rec->Done);
    } else {
      // A queued method's exception surfaces in the main thread; the records
      // behind it stay in the list for the next call.
      std::unique_ptr<TSyncRecord> Owned(Rec);
      Rec->Method();
    }
  }
  return Result;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TThread)

TThread::TThread(Boolean CreateSuspended) : FCreateSuspended(CreateSuspended) {
  FHandle = CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &FThreadID);
  if (!FHandle) throw EThread(Format(SThreadCreateError, {SysErrorMessage(GetLastError())}));
}

void TThread::AfterConstruction() {
  if (!FCreateSuspended) Start();
}

void TThread::BeforeDestruction() {
  // Waits even for a thread that has set Finished: it may still be running
  // DoTerminate on this object.
  if (!FHandle || GetCurrentThreadId() == FThreadID) return;
  Terminate();
  if (!FStarted) {
    FStarted = true;
    FSuspended = false;
    ResumeThread(FHandle);
  }
  WaitFor();
}

TThread::~TThread() {
  // Deleted without Free: still never leave the thread running on a
  // destroyed object.
  if (FHandle && GetCurrentThreadId() != FThreadID &&
      WaitForSingleObject(FHandle, 0) != WAIT_OBJECT_0) {
    // A queued method that raises while the main thread waits here must not
    // leave a destructor; the wait itself is what matters.
    try {
      BeforeDestruction();
    } catch (...) {
      for (bool Done = false; !Done;) {
        try {
          WaitFor();
          Done = true;
        } catch (...) {
        }
      }
    }
  }
  RemoveQueuedEvents(this);
  if (FHandle) CloseHandle(FHandle);
}

void TThread::Start() {
  if (FStarted || Finished()) throw EThread(SThreadStartError);
  FStarted = true;
  FSuspended = false;
  ResumeThread(FHandle);
}

void TThread::Terminate() { InterlockedExchange(&FTerminated, 1); }

Boolean TThread::Terminated() const {
  return InterlockedCompareExchange(const_cast<LONG*>(&FTerminated), 0, 0) != 0;
}

Boolean TThread::Finished() const {
  return InterlockedCompareExchange(const_cast<LONG*>(&FFinished), 0, 0) != 0;
}

Cardinal TThread::WaitFor() {
  if (GetCurrentThreadId() == MainThreadID) {
    // The waited thread may be blocked in Synchronize: keep serving it, and
    // the messages other threads send to this one.
    HANDLE Handles[2] = {FHandle, SyncState().Event};
    for (;;) {
      DWORD R = MsgWaitForMultipleObjects(2, Handles, FALSE, INFINITE, QS_SENDMESSAGE);
      if (R == WAIT_OBJECT_0) break;
      if (R == WAIT_OBJECT_0 + 1) {
        CheckSynchronize();
      } else if (R == WAIT_OBJECT_0 + 2) {
        MSG Msg;
        PeekMessageW(&Msg, nullptr, 0, 0, PM_NOREMOVE);
      } else {
        DWORD Code = GetLastError();
        throw EOSError(SysErrorMessage(Code), Code);
      }
    }
  } else {
    WaitForSingleObject(FHandle, INFINITE);
  }
  DWORD Code = 0;
  GetExitCodeThread(FHandle, &Code);
  return Code;
}

void TThread::Synchronize(TThreadMethod AMethod) { Synchronize(this, AMethod); }

void TThread::Synchronize(TThread* AThread, TThreadMethod AMethod) {
  if (GetCurrentThreadId() == MainThreadID) {
    AMethod();
    return;
  }
  TSyncRecord Rec;
  Rec.Thread = AThread;
  Rec.Method = AMethod;
  TKernelHandle Done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!Done) throw EThread(SysErrorMessage(GetLastError()));
  Rec.Done = Done.Get();
  AddSyncRecord(&Rec);
  WaitForSingleObject(Rec.Done, INFINITE);
  if (Rec.Error) Rec.Error->Raise();
}

void TThread::Queue(TThreadMethod AMethod) { Queue(this, AMethod); }

void TThread::Queue(TThread* AThread, TThreadMethod AMethod) {
  if (GetCurrentThreadId() == MainThreadID) {
    AMethod();
    return;
  }
  auto Rec = std::make_unique<TSyncRecord>();
  Rec->Thread = AThread;
  Rec->Method = AMethod;
  AddSyncRecord(Rec.release());
}

void TThread::RemoveQueuedEvents(TThread* AThread) {
  TSyncState& S = SyncState();
  TLock L(S.Lock);
  for (auto It = S.List.begin(); It != S.List.end();) {
    TSyncRecord* Rec = *It;
    if (!Rec->Done && Rec->Thread == AThread) {
      delete Rec;
      It = S.List.erase(It);
    } else {
      ++It;
    }
  }
  if (S.List.empty()) ResetEvent(S.Event);
}

void TThread::NameThreadForDebugging(const String& AThreadName, DWORD AThreadID) {
  using TSetThreadDescription = HRESULT(WINAPI*)(HANDLE, PCWSTR);
  auto SetDescription = reinterpret_cast<TSetThreadDescription>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetThreadDescription")));
  if (!SetDescription) return;
  if (AThreadID == DWORD(-1) || AThreadID == GetCurrentThreadId()) {
    SetDescription(GetCurrentThread(), AThreadName.c_str());
    return;
  }
  TKernelHandle H(OpenThread(THREAD_SET_LIMITED_INFORMATION, FALSE, AThreadID));
  if (H) SetDescription(H.Get(), AThreadName.c_str());
}

void TThread::CallOnTerminate() {
  if (OnTerminate) OnTerminate(this);
}

void TThread::DoTerminate() {
  if (OnTerminate) Synchronize(MakeEvent<&TThread::CallOnTerminate>(this));
}

namespace {
// The object of the thread that runs: set for the life of its Execute.
thread_local TThread* CurrentThreadObject = nullptr;
}  // namespace

TThread* TThread::CurrentThread() { return CurrentThreadObject; }

DWORD WINAPI TThread::ThreadProc(LPVOID Param) {
  TThread* Thread = static_cast<TThread*>(Param);
  CurrentThreadObject = Thread;
  // No exception leaves the thread's entry.
  if (!Thread->Terminated()) {
    try {
      Thread->Execute();
    } catch (...) {
      Thread->FFatalException.reset(AcquireExceptionObject());
    }
  }
  Boolean FreeThread = Thread->FFreeOnTerminate;
  DWORD Result = static_cast<DWORD>(Thread->FReturnValue);
  InterlockedExchange(&Thread->FFinished, 1);
  try {
    Thread->DoTerminate();
  } catch (...) {
    if (!Thread->FFatalException) Thread->FFatalException.reset(AcquireExceptionObject());
  }
  CurrentThreadObject = nullptr;
  if (FreeThread) Thread->Free();
  return Result;
}
