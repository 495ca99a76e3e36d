#include "SyncObjs.h"

IMPLEMENT_CLASS(TSynchroObject)
IMPLEMENT_CLASS(THandleObject)
IMPLEMENT_CREATABLE_CLASS(TEvent)
IMPLEMENT_CREATABLE_CLASS(TSimpleEvent)
IMPLEMENT_CREATABLE_CLASS(TMutex)
IMPLEMENT_CREATABLE_CLASS(TCriticalSection)

THandleObject::~THandleObject() {
  if (FHandle) CloseHandle(FHandle);
}

void THandleObject::RaiseLastError() {
  DWORD Code = GetLastError();
  throw EOSError(SysErrorMessage(Code), Code);
}

TWaitResult THandleObject::WaitFor(DWORD Timeout) {
  switch (WaitForSingleObject(FHandle, Timeout)) {
    case WAIT_OBJECT_0:
      return wrSignaled;
    case WAIT_TIMEOUT:
      return wrTimeout;
    case WAIT_ABANDONED:
      return wrAbandoned;
    default:
      FLastError = static_cast<Integer>(GetLastError());
      return wrError;
  }
}

TEvent::TEvent(LPSECURITY_ATTRIBUTES EventAttributes, Boolean ManualReset, Boolean InitialState,
               const String& Name) {
  FHandle = CreateEventW(EventAttributes, ManualReset, InitialState,
                         Name.empty() ? nullptr : Name.c_str());
  if (!FHandle) RaiseLastError();
}

void TEvent::SetEvent() { ::SetEvent(FHandle); }

void TEvent::ResetEvent() { ::ResetEvent(FHandle); }

TMutex::TMutex(Boolean InitialOwner, const String& Name) {
  FHandle = CreateMutexW(nullptr, InitialOwner, Name.empty() ? nullptr : Name.c_str());
  if (!FHandle) RaiseLastError();
}

void TMutex::Acquire() {
  if (WaitFor(INFINITE) == wrError) {
    SetLastError(static_cast<DWORD>(FLastError));
    RaiseLastError();
  }
}

void TMutex::Release() {
  if (!ReleaseMutex(FHandle)) RaiseLastError();
}

TCriticalSection::TCriticalSection() { InitializeCriticalSection(&FSection); }

TCriticalSection::~TCriticalSection() { DeleteCriticalSection(&FSection); }
