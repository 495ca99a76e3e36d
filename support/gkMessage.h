// The message bus: a sender hands a message to the bus, which offers it to
// every registered handler in registration order until one marks it handled.
// Messages are sent (dispatched at once) or posted (queued and dispatched
// later on the UI thread by a timer or by a pump thread).
#pragma once

#include <atomic>
#include <functional>
#include <vector>

#include "Classes.h"
#include "ComObj.h"

enum TgkMessageDirection { mdAction, mdAnswer };

// {469A57F1-AE46-48F9-9CF7-9901DA83D27E}
inline constexpr IID IID_IgkMessage = {
    0x469A57F1, 0xAE46, 0x48F9, {0x9C, 0xF7, 0x99, 0x01, 0xDA, 0x83, 0xD2, 0x7E}};

// The bus reads only Handled.
struct IgkMessage : public IUnknown {
  virtual String GetClassName() = 0;
  virtual NativeInt GetLParam() = 0;
  virtual void SetLParam(NativeInt Value) = 0;
  virtual NativeInt GetWParam() = 0;
  virtual void SetWParam(NativeInt Value) = 0;
  virtual Boolean GetHandled() = 0;
  virtual void SetHandled(Boolean Value) = 0;
  virtual TgkMessageDirection GetDirection() = 0;
  virtual void SetDirection(TgkMessageDirection Value) = 0;
  virtual TObject* GetSender() = 0;
  virtual void SetSender(TObject* Value) = 0;
};

using TgkProcessMessage = std::function<void(IgkMessage* AMessage)>;

class TgkMessageManager;

// Listens on behalf of its parent object. Registered with a bus from
// creation until it is freed; the bus does not own it.
class TgkMessageHandler : public TInterfacedObject {
  DECLARE_CLASS(TgkMessageHandler, TInterfacedObject)
 public:
  // Without a bus, the shared one.
  explicit TgkMessageHandler(TObject* AParent, TgkMessageManager* AMessageManager = nullptr);
  ~TgkMessageHandler() override;
  void AfterConstruction() override;

  virtual void ProcessMessage(IgkMessage* AMessage) = 0;

  TObject* Parent() const { return FParent; }
  TgkMessageManager* MessageManager() const { return FMessageManager; }
  const TgkProcessMessage& OnProcessMessage() const { return FProcessMessage; }
  // When set, called instead of ProcessMessage.
  void SetOnProcessMessage(const TgkProcessMessage& Value) { FProcessMessage = Value; }

 private:
  friend class TgkMessageManager;
  TObject* FParent;
  TgkMessageManager* FMessageManager;
  TgkProcessMessage FProcessMessage;
};

enum TgkMessageManagerMode { mmThread, mmTimer };

class TgkMessageManagerThread;
class TgkMessageTimer;

// Not locked: posting belongs to the UI thread or to code that synchronises
// with it.
class TgkMessageManager : public TComponent {
  DECLARE_CLASS(TgkMessageManager, TComponent)
 public:
  explicit TgkMessageManager(TComponent* AOwner);
  ~TgkMessageManager() override;

  void PostMessage(IgkMessage* AMessage);
  void SendMessage(IgkMessage* AMessage);
  // Offers AMessage to the handlers and takes it out of the queue.
  virtual void ProcessMessage(IgkMessage* AMessage);
  // Dispatches the oldest queued message, when there is one.
  virtual void ProcessMessage();
  virtual void ProcessAllMessages();
  virtual void RegisterHandler(TgkMessageHandler* AHandler);
  virtual TgkMessageHandler* RegisterProcedure(const TgkProcessMessage& AProcedure,
                                               TObject* AObject);
  virtual void UnregisterHandler(TgkMessageHandler* AHandler);
  virtual void UnregisterAllHandlers();
  // Frees every handler whose parent is AObject, or which is AObject.
  void UnregisterProcedure(TObject* AObject);
  void BeginUpdate() {}
  void EndUpdate() {}

  TgkMessageHandler* Handlers(Integer Index) const;
  Integer HandlerCount() const { return static_cast<Integer>(FHandlers.size()); }
  Integer MessageCount() const { return static_cast<Integer>(FMessages.size()); }
  Integer GetSleepValue() const;
  // Reaches only a pump thread that exists; ignored before.
  void SetSleepValue(Integer Value);
  Integer SleepValue() const { return GetSleepValue(); }
  TgkMessageManagerMode Mode() const { return FMode; }
  void SetMode(TgkMessageManagerMode Value) { FMode = Value; }
  TgkMessageManagerThread* MessageThread() const { return FThread; }
  Boolean InProcessAllMessages() const { return FInProcessAllMessages; }
  // Whether the pump timer exists and is running.
  Boolean TimerEnabled() const;

 private:
  void RememberTimerAndStop();
  void RestoreTimer();
  void RemoveFromQueue(IgkMessage* AMessage);
  bool IsRegistered(TgkMessageHandler* AHandler) const;
  void OnTimer();

  std::vector<TgkMessageHandler*> FHandlers;
  // The newest message first.
  std::vector<TComPtr<IgkMessage>> FMessages;
  TgkMessageManagerMode FMode = mmTimer;
  Integer FSleepValue = 100;
  TOwned<TgkMessageTimer> FTimer;
  TgkMessageManagerThread* FThread = nullptr;
  Boolean FInProcessAllMessages = false;
  Boolean FLastStateProcessAllMessages = false;
};

// Runs the bus's ProcessAllMessages on the UI thread every SleepValue ms.
class TgkMessageManagerThread : public TThread {
  DECLARE_CLASS(TgkMessageManagerThread, TThread)
 public:
  TgkMessageManagerThread(TgkMessageManager* AManager, Integer ASleepValue);
  Integer SleepValue() const { return FSleepValue; }
  void SetSleepValue(Integer Value) { FSleepValue = Value; }
  // Detaches the thread from its bus; called on the UI thread.
  void ClearManager() { FManager = nullptr; }

 protected:
  void Execute() override;

 private:
  void ProcessOnMainThread();
  TgkMessageManager* FManager;
  std::atomic<Integer> FSleepValue;
};

// The shared bus; exists between gkMessage_Initialize and gkMessage_Finalize.
extern TgkMessageManager* gkMessageManager;

void gkMessage_Initialize();
void gkMessage_Finalize();
