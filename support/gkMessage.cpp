#include "gkMessage.h"

#include "WinHandles.h"
#include "dxCore.h"

#include <algorithm>
#include <map>

#include "Forms.h"

TgkMessageManager* gkMessageManager = nullptr;

// A timer of the UI thread: its ticks arrive through that thread's message
// loop.
class TgkMessageTimer : public TObject {
  DECLARE_CLASS(TgkMessageTimer, TObject)
 public:
  explicit TgkMessageTimer(TThreadMethod AOnTimer) : FOnTimer(AOnTimer) {}
  ~TgkMessageTimer() override { SetEnabled(false); }

  Boolean Enabled() const { return FId != 0; }
  void SetEnabled(Boolean Value) {
    if (Value == Enabled()) return;
    if (Value) {
      FId = SetTimer(nullptr, 0, static_cast<UINT>(FInterval), &TimerProc);
      if (!FId) RaiseLastOSError();
      Timers()[FId] = this;
    } else {
      KillTimer(nullptr, FId);
      Timers().erase(FId);
      FId = 0;
    }
  }
  void SetInterval(Integer Value) {
    FInterval = std::max<Integer>(Value, USER_TIMER_MINIMUM);
    if (Enabled()) {
      SetEnabled(false);
      SetEnabled(true);
    }
  }

 private:
  // Thread timers carry no user data; this maps their ids to their objects.
  static std::map<UINT_PTR, TgkMessageTimer*>& Timers() {
    static std::map<UINT_PTR, TgkMessageTimer*>* Map = new std::map<UINT_PTR, TgkMessageTimer*>;
    return *Map;
  }

  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR AId, DWORD) noexcept {
    auto It = Timers().find(AId);
    if (It == Timers().end()) return;
    // A failing handler is reported like any other failure on the UI
    // thread; the pump keeps running.
    CallbackBoundary(It->second, [&] { It->second->FOnTimer(); });
  }

  TThreadMethod FOnTimer;
  Integer FInterval = 100;
  UINT_PTR FId = 0;
};

IMPLEMENT_CLASS(TgkMessageTimer)

// A handler for RegisterProcedure: its procedure is always set, so
// ProcessMessage is never reached.
class TgkProcedureMessageHandler : public TgkMessageHandler {
  DECLARE_CLASS(TgkProcedureMessageHandler, TgkMessageHandler)
 public:
  using TgkMessageHandler::TgkMessageHandler;
  void ProcessMessage(IgkMessage*) override {}
};

IMPLEMENT_CLASS(TgkProcedureMessageHandler)

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkMessageHandler)

TgkMessageHandler::TgkMessageHandler(TObject* AParent, TgkMessageManager* AMessageManager)
    : FParent(AParent), FMessageManager(AMessageManager ? AMessageManager : gkMessageManager) {}

void TgkMessageHandler::AfterConstruction() {
  inherited::AfterConstruction();
  TgkMessageManager* Manager = FMessageManager;
  FMessageManager = nullptr;
  if (Manager) Manager->RegisterHandler(this);
}

TgkMessageHandler::~TgkMessageHandler() {
  if (FMessageManager) FMessageManager->UnregisterHandler(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkMessageManager)

TgkMessageManager::TgkMessageManager(TComponent* AOwner) : TComponent(AOwner) {}

TgkMessageManager::~TgkMessageManager() {
  if (FThread) {
    FThread->SetSleepValue(0);
    FThread->OnTerminate = nullptr;
    FThread->ClearManager();
    FThread->Terminate();
    FThread->WaitFor();
    FreeAndNil(FThread);
  }
  FTimer.reset();
  // The handlers outlive the bus: they must not reach it afterwards.
  for (TgkMessageHandler* Handler : FHandlers) Handler->FMessageManager = nullptr;
  FHandlers.clear();
  FMessages.clear();
}

TgkMessageHandler* TgkMessageManager::Handlers(Integer Index) const {
  if (Index < 0 || Index >= HandlerCount()) TList::Error(ClassesConsts::SListIndexError, Index);
  return FHandlers[Index];
}

Integer TgkMessageManager::GetSleepValue() const {
  return FThread ? FThread->SleepValue() : FSleepValue;
}

void TgkMessageManager::SetSleepValue(Integer Value) {
  if (FThread) FThread->SetSleepValue(Value);
}

Boolean TgkMessageManager::TimerEnabled() const { return FTimer && FTimer->Enabled(); }

void TgkMessageManager::PostMessage(IgkMessage* AMessage) {
  FMessages.insert(FMessages.begin(), TComPtr<IgkMessage>::Borrow(AMessage));
  if (FMode == mmThread) {
    if (!FThread) {
      FThread = Create<TgkMessageManagerThread>(this, FSleepValue);
      FThread->Start();
    }
  } else {
    if (!FTimer)
      FTimer.reset(Create<TgkMessageTimer>(MakeEvent<&TgkMessageManager::OnTimer>(this)));
    FTimer->SetInterval(GetSleepValue());
    FLastStateProcessAllMessages = true;
    FTimer->SetEnabled(true);
  }
}

void TgkMessageManager::SendMessage(IgkMessage* AMessage) { ProcessMessage(AMessage); }

void TgkMessageManager::OnTimer() { ProcessAllMessages(); }

void TgkMessageManager::RememberTimerAndStop() {
  if (!FTimer) return;
  FLastStateProcessAllMessages = FTimer->Enabled();
  FTimer->SetEnabled(false);
}

void TgkMessageManager::RestoreTimer() {
  if (FTimer) FTimer->SetEnabled(FLastStateProcessAllMessages);
}

bool TgkMessageManager::IsRegistered(TgkMessageHandler* AHandler) const {
  return std::find(FHandlers.begin(), FHandlers.end(), AHandler) != FHandlers.end();
}

void TgkMessageManager::RemoveFromQueue(IgkMessage* AMessage) {
  auto It = std::find_if(FMessages.begin(), FMessages.end(),
                         [AMessage](const TComPtr<IgkMessage>& M) { return M.Get() == AMessage; });
  if (It != FMessages.end()) FMessages.erase(It);
}

void TgkMessageManager::ProcessMessage(IgkMessage* AMessage) {
  // Keeps the message alive while it leaves the queue.
  TComPtr<IgkMessage> Keep = TComPtr<IgkMessage>::Borrow(AMessage);
  RememberTimerAndStop();
  auto Done = Finally([&] {
    RemoveFromQueue(AMessage);
    RestoreTimer();
  });
  std::vector<TgkMessageHandler*> Snapshot = FHandlers;
  for (TgkMessageHandler* Handler : Snapshot) {
    // A handler may unregister (or free) others, or itself, meanwhile.
    if (!IsRegistered(Handler)) continue;
    if (Handler->FProcessMessage)
      Handler->FProcessMessage(AMessage);
    else
      Handler->ProcessMessage(AMessage);
    if (AMessage->GetHandled()) break;
  }
}

void TgkMessageManager::ProcessMessage() {
  if (FMessages.empty()) return;
  TComPtr<IgkMessage> Oldest = FMessages.back();
  ProcessMessage(Oldest.Get());
}

void TgkMessageManager::ProcessAllMessages() {
  if (FInProcessAllMessages) {
    FLastStateProcessAllMessages = true;
    return;
  }
  RememberTimerAndStop();
  FInProcessAllMessages = true;
  auto Done = Finally([&] {
    FInProcessAllMessages = false;
    RestoreTimer();
  });
  while (!FMessages.empty()) ProcessMessage();
}

void TgkMessageManager::RegisterHandler(TgkMessageHandler* AHandler) {
  if (AHandler->FMessageManager) AHandler->FMessageManager->UnregisterHandler(AHandler);
  AHandler->FMessageManager = this;
  FHandlers.push_back(AHandler);
}

TgkMessageHandler* TgkMessageManager::RegisterProcedure(const TgkProcessMessage& AProcedure,
                                                        TObject* AObject) {
  TgkMessageHandler* Handler = Create<TgkProcedureMessageHandler>(AObject, nullptr);
  Handler->FProcessMessage = AProcedure;
  RegisterHandler(Handler);
  return Handler;
}

void TgkMessageManager::UnregisterHandler(TgkMessageHandler* AHandler) {
  if (!AHandler) return;
  auto It = std::find(FHandlers.begin(), FHandlers.end(), AHandler);
  if (It == FHandlers.end()) return;
  FHandlers.erase(It);
  AHandler->FMessageManager = nullptr;
}

void TgkMessageManager::UnregisterProcedure(TObject* AObject) {
  if (!AObject) return;
  for (Integer I = HandlerCount() - 1; I >= 0; --I) {
    if (I >= HandlerCount()) continue;
    TgkMessageHandler* Handler = FHandlers[I];
    if (Handler->FParent == AObject || Handler == AObject) {
      UnregisterHandler(Handler);
      Handler->Free();
    }
  }
}

void TgkMessageManager::UnregisterAllHandlers() {
  while (!FHandlers.empty()) {
    FHandlers.back()->FMessageManager = nullptr;
    FHandlers.pop_back();
  }
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkMessageManagerThread)

TgkMessageManagerThread::TgkMessageManagerThread(TgkMessageManager* AManager, Integer ASleepValue)
    : TThread(true), FManager(AManager), FSleepValue(ASleepValue) {}

void TgkMessageManagerThread::Execute() {
  NameThreadForDebugging(L"gkMessageManagerThread");
  while (!Terminated()) {
    Sleep(static_cast<DWORD>(std::max<Integer>(FSleepValue, 0)));
    if (Terminated()) break;
    try {
      Synchronize(MakeEvent<&TgkMessageManagerThread::ProcessOnMainThread>(this));
    } catch (...) {
      // A handler's failure must not end the pump.
    }
  }
}

void TgkMessageManagerThread::ProcessOnMainThread() {
  // Read on the UI thread, where the bus clears it before it goes away.
  if (FManager) FManager->ProcessAllMessages();
}

// ---------------------------------------------------------------------------
void gkMessage_Initialize() { gkMessageManager = Create<TgkMessageManager>(nullptr); }

void gkMessage_Finalize() { FreeAndNil(gkMessageManager); }
