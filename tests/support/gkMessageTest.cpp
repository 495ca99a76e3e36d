#include <gtest/gtest.h>

#include <memory>

#include "Forms.h"
#include "WinHandles.h"
#include "dxCore.h"
#include "gkMessage.h"

namespace {

class TTestMessage : public TInterfacedObject, public IgkMessage {
 public:
  explicit TTestMessage(const String& AName) : FName(AName) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override {
    return TInterfacedObject::QueryInterface(AIID, AObj);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return TInterfacedObject::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TInterfacedObject::Release(); }
  bool GetInterface(const IID& AIID, void** AObj) override {
    if (IsEqualIID(AIID, IID_IgkMessage)) {
      *AObj = static_cast<IgkMessage*>(this);
      AddRef();
      return true;
    }
    return TInterfacedObject::GetInterface(AIID, AObj);
  }

  String GetClassName() override { return L"TTestMessage"; }
  NativeInt GetLParam() override { return FLParam; }
  void SetLParam(NativeInt Value) override { FLParam = Value; }
  NativeInt GetWParam() override { return FWParam; }
  void SetWParam(NativeInt Value) override { FWParam = Value; }
  Boolean GetHandled() override { return FHandled; }
  void SetHandled(Boolean Value) override { FHandled = Value; }
  TgkMessageDirection GetDirection() override { return FDirection; }
  void SetDirection(TgkMessageDirection Value) override { FDirection = Value; }
  TObject* GetSender() override { return FSender; }
  void SetSender(TObject* Value) override { FSender = Value; }
  const String& Name() const { return FName; }

 private:
  String FName;
  NativeInt FLParam = 0, FWParam = 0;
  Boolean FHandled = false;
  TgkMessageDirection FDirection = mdAction;
  TObject* FSender = nullptr;
};

TComPtr<IgkMessage> NewMessage(const String& AName) {
  TTestMessage* M = Create<TTestMessage>(AName);
  return TComPtr<IgkMessage>::Borrow(M);
}

String NameOf(IgkMessage* AMessage) { return static_cast<TTestMessage*>(AMessage)->Name(); }

using TLog = std::vector<String>;

// Logs "<handler>:<message>" and then runs an optional action.
class TLogHandler : public TgkMessageHandler {
 public:
  TLogHandler(const String& AName, TLog* ALog, TgkMessageManager* AManager)
      : TgkMessageHandler(nullptr, AManager), FName(AName), FLog(ALog) {}
  void ProcessMessage(IgkMessage* AMessage) override {
    FLog->push_back(FName + L":" + NameOf(AMessage));
    if (Action) Action(AMessage);
  }
  std::function<void(IgkMessage*)> Action;

 private:
  String FName;
  TLog* FLog;
};

class MessageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gkMessage_Initialize();
    FBus.reset(Create<TgkMessageManager>(nullptr));
  }
  void TearDown() override {
    FHandlers.clear();
    FBus.reset();
    gkMessage_Finalize();
  }

  TLogHandler* AddHandler(const String& AName) {
    FHandlers.emplace_back(Create<TLogHandler>(AName, &FLog, FBus.get()));
    return FHandlers.back().get();
  }

  // Runs the UI thread's message loop and synchronized calls until ADone
  // holds; false when it never does.
  static bool PumpUntil(const std::function<bool()>& ADone) {
    for (int I = 0; I < 500 && !ADone(); ++I) {
      MSG Msg;
      while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&Msg);
      CheckSynchronize(10);
    }
    return ADone();
  }

  TLog FLog;
  TOwned<TgkMessageManager> FBus;
  std::vector<TOwned<TLogHandler>> FHandlers;
};

TEST_F(MessageTest, HandlersRunInOrderUntilOneHandles) {
  AddHandler(L"A");
  AddHandler(L"B")->Action = [](IgkMessage* M) { M->SetHandled(true); };
  AddHandler(L"C");
  auto M = NewMessage(L"m");
  FBus->SendMessage(M.Get());
  EXPECT_EQ(FLog, (TLog{L"A:m", L"B:m"}));
}

TEST_F(MessageTest, PostedMessagesAreDispatchedOldestFirstAndLeaveTheQueue) {
  AddHandler(L"A");
  auto M1 = NewMessage(L"m1");
  auto M2 = NewMessage(L"m2");
  FBus->PostMessage(M1.Get());
  FBus->PostMessage(M2.Get());
  EXPECT_EQ(FBus->MessageCount(), 2);
  FBus->ProcessAllMessages();
  EXPECT_EQ(FLog, (TLog{L"A:m1", L"A:m2"}));
  EXPECT_EQ(FBus->MessageCount(), 0);
  // Emptied by hand, the queue leaves the timer stopped.
  EXPECT_FALSE(FBus->TimerEnabled());
}

TEST_F(MessageTest, HandlerUnregisteredDuringDispatchIsSkipped) {
  TLogHandler* A = AddHandler(L"A");
  TLogHandler* B = AddHandler(L"B");
  AddHandler(L"C");
  A->Action = [&](IgkMessage*) { FBus->UnregisterHandler(B); };
  auto M = NewMessage(L"m");
  FBus->SendMessage(M.Get());
  EXPECT_EQ(FLog, (TLog{L"A:m", L"C:m"}));
  EXPECT_EQ(FBus->HandlerCount(), 2);
  EXPECT_EQ(B->MessageManager(), nullptr);
}

TEST_F(MessageTest, PumpingFromInsideADispatchDoesNotNest) {
  auto Inner = NewMessage(L"inner");
  TLogHandler* A = AddHandler(L"A");
  A->Action = [&](IgkMessage* M) {
    if (NameOf(M) != L"outer") return;
    FBus->PostMessage(Inner.Get());
    FBus->ProcessAllMessages();
    FLog.push_back(L"end of outer");
  };
  auto Outer = NewMessage(L"outer");
  FBus->PostMessage(Outer.Get());
  FBus->ProcessAllMessages();
  EXPECT_EQ(FLog, (TLog{L"A:outer", L"end of outer", L"A:inner"}));
  EXPECT_EQ(FBus->MessageCount(), 0);
}

TEST_F(MessageTest, FailingHandlerReachesTheSenderAndTheMessageLeavesTheQueue) {
  AddHandler(L"A")->Action = [](IgkMessage*) { throw EConvertError(L"bad"); };
  AddHandler(L"B");
  auto M = NewMessage(L"m");
  FBus->PostMessage(M.Get());
  EXPECT_THROW(FBus->ProcessMessage(), EConvertError);
  EXPECT_EQ(FBus->MessageCount(), 0);
  EXPECT_EQ(FLog, (TLog{L"A:m"}));
}

TEST_F(MessageTest, TimerPumpsPostedMessagesOnTheUiThreadAndStops) {
  DWORD HandlerThread = 0;
  AddHandler(L"A")->Action = [&](IgkMessage*) { HandlerThread = GetCurrentThreadId(); };
  auto M = NewMessage(L"m");
  FBus->PostMessage(M.Get());
  EXPECT_TRUE(FBus->TimerEnabled());
  EXPECT_EQ(FBus->SleepValue(), 100);
  ASSERT_TRUE(PumpUntil([&] { return !FLog.empty(); }));
  EXPECT_EQ(FLog, (TLog{L"A:m"}));
  EXPECT_EQ(HandlerThread, GetCurrentThreadId());
  EXPECT_FALSE(FBus->TimerEnabled());
  EXPECT_EQ(FBus->MessageCount(), 0);
}

struct TExceptionLog {
  std::vector<String> Messages;
  void Handle(TObject*, Exception* E) { Messages.push_back(E->Message()); }
};

// The timer pump hands a handler's failure to the framework's handling, as
// a timer event's failure goes there; the message leaves the queue and the
// pump goes on with the next one.
TEST_F(MessageTest, TimerPumpFailuresReachTheApplicationsHandling) {
  ASSERT_NE(Application(), nullptr);
  TExceptionLog Seen;
  Application()->OnException = MakeEvent<&TExceptionLog::Handle>(&Seen);
  auto Restore = Finally([] { Application()->OnException = nullptr; });
  AddHandler(L"A")->Action = [](IgkMessage* M) {
    if (NameOf(M) == L"bad") throw EConvertError(L"плохое сообщение");
    if (NameOf(M) == L"quiet") throw EAbort(L"тихо");
  };
  auto Bad = NewMessage(L"bad");
  FBus->PostMessage(Bad.Get());
  ASSERT_TRUE(PumpUntil([&] { return !Seen.Messages.empty(); }));
  EXPECT_EQ(Seen.Messages, std::vector<String>{L"плохое сообщение"});
  EXPECT_EQ(FBus->MessageCount(), 0);

  auto Quiet = NewMessage(L"quiet");
  FBus->PostMessage(Quiet.Get());
  ASSERT_TRUE(PumpUntil([&] { return FLog.size() == 2; }));
  EXPECT_EQ(FLog, (TLog{L"A:bad", L"A:quiet"}));
  // The abort is silent there, as everywhere.
  EXPECT_EQ(Seen.Messages.size(), 1u);
  EXPECT_EQ(FBus->MessageCount(), 0);
}

String HandedOn;
void NoteHandedOn() {
  try {
    throw;
  } catch (const Exception& E) {
    HandedOn = E.Message();
  }
}

TEST_F(MessageTest, TimerPumpHandsAFailureToTheApplicationsHandler) {
  AddHandler(L"A")->Action = [](IgkMessage*) { throw EConvertError(L"bad in the timer"); };
  HandedOn.clear();
  TdxHandleExceptionProc Saved = dxApplicationHandleException;
  dxApplicationHandleException = &NoteHandedOn;
  auto M = NewMessage(L"m");
  FBus->PostMessage(M.Get());
  bool Pumped = PumpUntil([&] { return !HandedOn.empty(); });
  dxApplicationHandleException = Saved;
  ASSERT_TRUE(Pumped);
  EXPECT_EQ(HandedOn, L"bad in the timer");
  EXPECT_EQ(FBus->MessageCount(), 0);
}

TEST_F(MessageTest, PumpThreadSynchronisesWithTheUiThreadAndSwallowsFailures) {
  DWORD HandlerThread = 0;
  AddHandler(L"A")->Action = [&](IgkMessage* M) {
    HandlerThread = GetCurrentThreadId();
    if (NameOf(M) == L"bad") throw EConvertError(L"bad");
  };
  FBus->SetSleepValue(5);  // no pump thread yet: ignored
  EXPECT_EQ(FBus->SleepValue(), 100);
  FBus->SetMode(mmThread);
  auto Bad = NewMessage(L"bad");
  FBus->PostMessage(Bad.Get());
  ASSERT_NE(FBus->MessageThread(), nullptr);
  EXPECT_EQ(FBus->SleepValue(), 100);
  FBus->SetSleepValue(10);
  EXPECT_EQ(FBus->SleepValue(), 10);
  EXPECT_FALSE(FBus->TimerEnabled());
  ASSERT_TRUE(PumpUntil([&] { return FLog.size() == 1; }));
  EXPECT_EQ(HandlerThread, GetCurrentThreadId());

  auto Good = NewMessage(L"good");
  FBus->PostMessage(Good.Get());
  ASSERT_TRUE(PumpUntil([&] { return FLog.size() == 2; }));
  EXPECT_EQ(FLog, (TLog{L"A:bad", L"A:good"}));
  // Freeing the bus stops its thread.
}

TEST_F(MessageTest, FreeingTheBusWhileItsThreadWaitsForTheUiThread) {
  AddHandler(L"A");
  FBus->SetMode(mmThread);
  auto M = NewMessage(L"m");
  FBus->PostMessage(M.Get());
  FBus->SetSleepValue(1);
  // Not pumping: the thread soon waits in its synchronized call.
  Sleep(150);
  FHandlers.clear();
  FBus.reset();
  EXPECT_TRUE(FLog.empty());
}

TEST_F(MessageTest, HandlerWithoutBusJoinsTheSharedOneAndMovesOnRegistration) {
  TOwned<TLogHandler> H(Create<TLogHandler>(L"H", &FLog, nullptr));
  EXPECT_EQ(H->MessageManager(), gkMessageManager);
  EXPECT_EQ(gkMessageManager->HandlerCount(), 1);
  FBus->RegisterHandler(H.get());
  EXPECT_EQ(H->MessageManager(), FBus.get());
  EXPECT_EQ(gkMessageManager->HandlerCount(), 0);
  // Registering again with the same bus does not list it twice.
  FBus->RegisterHandler(H.get());
  EXPECT_EQ(FBus->HandlerCount(), 1);
  EXPECT_EQ(FBus->Handlers(0), H.get());
  H.reset();
  EXPECT_EQ(FBus->HandlerCount(), 0);
}

TEST_F(MessageTest, UnregisterProcedureFreesTheHandlersOfItsObject) {
  TOwned<TStringList> Parent(Create<TStringList>());
  auto Guard = std::make_shared<int>(0);
  TLog Calls;
  FBus->RegisterProcedure([Guard, &Calls](IgkMessage* M) { Calls.push_back(L"1:" + NameOf(M)); },
                          Parent.get());
  AddHandler(L"A");
  FBus->RegisterProcedure([Guard, &Calls](IgkMessage* M) { Calls.push_back(L"2:" + NameOf(M)); },
                          Parent.get());
  EXPECT_EQ(gkMessageManager->HandlerCount(), 0);
  auto M = NewMessage(L"m");
  FBus->SendMessage(M.Get());
  EXPECT_EQ(Calls, (TLog{L"1:m", L"2:m"}));
  EXPECT_EQ(Guard.use_count(), 3);

  FBus->UnregisterProcedure(Parent.get());
  EXPECT_EQ(FBus->HandlerCount(), 1);
  EXPECT_EQ(Guard.use_count(), 1);  // both handlers and their procedures are gone
  FBus->SendMessage(M.Get());
  EXPECT_EQ(Calls.size(), 2u);
  EXPECT_EQ(FLog, (TLog{L"A:m", L"A:m"}));
}

TEST_F(MessageTest, HandlersOutliveTheirBus) {
  TLogHandler* A = AddHandler(L"A");
  AddHandler(L"B");
  FBus->UnregisterAllHandlers();
  EXPECT_EQ(FBus->HandlerCount(), 0);
  EXPECT_EQ(A->MessageManager(), nullptr);

  FBus->RegisterHandler(A);
  FBus.reset();
  EXPECT_EQ(A->MessageManager(), nullptr);
  FHandlers.clear();  // freeing them must not reach the freed bus
}

}  // namespace
