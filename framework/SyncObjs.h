// Synchronisation objects: critical sections, events and mutexes over the
// platform's kernel objects.
#pragma once

#include "SysUtils.h"

enum TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

class TSynchroObject : public TObject {
  DECLARE_CLASS(TSynchroObject, TObject)
 public:
  virtual void Acquire() {}
  virtual void Release() {}
};

// A waitable kernel object the instance owns.
class THandleObject : public TSynchroObject {
  DECLARE_CLASS(THandleObject, TSynchroObject)
 public:
  ~THandleObject() override;
  // INFINITE waits for ever. wrError keeps the platform's code in LastError.
  virtual TWaitResult WaitFor(DWORD Timeout = INFINITE);
  HANDLE Handle() const { return FHandle; }
  Integer LastError() const { return FLastError; }

 protected:
  THandleObject() = default;
  [[noreturn]] static void RaiseLastError();
  HANDLE FHandle = nullptr;
  Integer FLastError = 0;
};

class TEvent : public THandleObject {
  DECLARE_CLASS(TEvent, THandleObject)
 public:
  // A named event is shared with other processes that open the same name.
  TEvent(LPSECURITY_ATTRIBUTES EventAttributes, Boolean ManualReset, Boolean InitialState,
         const String& Name = String());
  // A manual-reset, unnamed event, initially not signalled.
  TEvent() : TEvent(nullptr, true, false) {}
  void SetEvent();
  void ResetEvent();
};

// A manual-reset, unnamed event, initially not signalled.
class TSimpleEvent : public TEvent {
  DECLARE_CLASS(TSimpleEvent, TEvent)
 public:
  TSimpleEvent() : TEvent(nullptr, true, false) {}
};

class TMutex : public THandleObject {
  DECLARE_CLASS(TMutex, THandleObject)
 public:
  explicit TMutex(Boolean InitialOwner = false, const String& Name = String());
  void Acquire() override;
  void Release() override;
};

class TCriticalSection : public TSynchroObject {
  DECLARE_CLASS(TCriticalSection, TSynchroObject)
 public:
  TCriticalSection();
  ~TCriticalSection() override;
  void Acquire() override { EnterCriticalSection(&FSection); }
  void Release() override { LeaveCriticalSection(&FSection); }
  void Enter() { Acquire(); }
  void Leave() { Release(); }
  Boolean TryEnter() { return TryEnterCriticalSection(&FSection) != 0; }

 private:
  CRITICAL_SECTION FSection;
};
