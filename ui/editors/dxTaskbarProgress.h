// Progress on the application's taskbar button: a state and a completed/total
// value, standing alone or following a linked progress bar both ways. One
// manager per process follows the application's main window and calls the
// taskbar only once the shell has announced the window's button.
#pragma once

#include "AppEvnts.h"
#include "cxClasses.h"
#include "cxProgressBarLink.h"

enum TdxTaskbarProgressState {
  tbpsNoProgress,
  tbpsIndeterminate,
  tbpsNormal,
  tbpsError,
  tbpsPaused
};

// The taskbar's progress flag (TBPF_*) of each state.
inline constexpr Cardinal TaskbarProgressState[] = {0, 1, 2, 4, 8};

// Where the taskbar progress's calls end: the shell's taskbar, or nowhere on a
// system that has none.
class TdxTaskbarProgressSink : public TObject {
  DECLARE_CLASS(TdxTaskbarProgressSink, TObject)
 public:
  virtual void SetProgressState(HWND AWnd, Cardinal AFlags) = 0;
  virtual void SetProgressValue(HWND AWnd, UInt64 ACompleted, UInt64 ATotal) = 0;
  // Whether the calls reach a taskbar (the shell's progress interface was
  // found at start-up).
  virtual bool Connected() const = 0;
};

class TdxTaskbarCustomProgress;

// Registers every taskbar progress of the process and waits, for each main
// window the application gets, for the shell's "TaskbarButtonCreated".
class TdxTaskbarProgressManager : public TObject {
  DECLARE_CLASS(TdxTaskbarProgressManager, TObject)
 public:
  TdxTaskbarProgressManager() = default;
  ~TdxTaskbarProgressManager() override;
  // Starts following the application's main window.
  void Initialize();
  // Deactivates every active item other than AItem.
  void CheckUnique(TdxTaskbarCustomProgress* AItem);
  void RegisterItem(TdxTaskbarCustomProgress* AItem);
  void UnRegisterItem(TdxTaskbarCustomProgress* AItem);
  // Refreshes every active item, in registration order.
  void RefreshItems();
  bool IsTaskbarButtonCreated() const { return FIsTaskbarButtonCreated; }
  // The main window last seen; 0 before the first.
  HWND MainWindow() const { return FMainWindow; }

 private:
  bool AppHook(TMessage& Message);
  void DoAppMessage(MSG& Msg, bool& Handled);

  TOwned<TApplicationEvents> FAppEvents;
  bool FHooked = false;
  HWND FMainWindow = nullptr;
  bool FIsTaskbarButtonCreated = false;
  std::vector<TdxTaskbarCustomProgress*> FItems;
};

class TdxTaskbarCustomProgress : public TcxCustomComponent {
  DECLARE_CLASS(TdxTaskbarCustomProgress, TcxCustomComponent)
 public:
  using TOwnerType = TComponent;
  explicit TdxTaskbarCustomProgress(TComponent* AOwner);
  void AfterConstruction() override;
  // Destruction does not reset the taskbar button: deactivate first.
  void BeforeDestruction() override;
  ~TdxTaskbarCustomProgress() override;

  bool Active() const { return FActive; }
  // Activating deactivates every other active taskbar progress first;
  // deactivating resets the button to no progress. While loading only
  // remembered.
  void SetActive(bool AValue);
  TComponent* LinkedComponent() const { return FLinkedComponent; }
  // Links a progress bar and takes its state at once; anything else (also
  // while loading) counts as none.
  void SetLinkedComponent(TComponent* AValue);
  Int64 Position() const { return FPosition; }
  // Values of 0 or less are stored as 0.
  void SetPosition(Int64 AValue);
  TdxTaskbarProgressState State() const { return FState; }
  void SetState(TdxTaskbarProgressState AValue);
  Int64 Total() const { return FTotal; }
  // Values of 0 or less are stored as 0.
  void SetTotal(Int64 AValue);

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool IsActive() const;
  bool IsComponentLinked() const { return FLinkedComponent != nullptr; }
  bool IsTotalStored() const { return FTotal != 100; }
  bool IsActiveStored() const { return FActive; }
  bool IsStateStored() const { return FState != tbpsNormal; }

 private:
  friend class TdxTaskbarProgressManager;
  void CreateListener();
  void RemoveListener();
  void DoLinkedComponentChanged(TObject* ASender);
  void Refresh();
  void RefreshPosition();
  void RefreshState();
  void Reset();
  void SynchronizeAndRefresh();
  void SynchronizeLinkedComponent();

  bool FActive = false;
  TComponent* FLinkedComponent = nullptr;
  IcxProgressBarLink* FProgressBar = nullptr;
  bool FIsLinkedComponentChangeLocked = false;
  TOwned<TcxProgressBarListener> FListener;
  bool FLoadedActive = false;
  TComponent* FLoadedLinkedComponent = nullptr;
  Int64 FPosition = 0;
  TdxTaskbarProgressState FState = tbpsNormal;
  Int64 FTotal = 100;
};

class TdxTaskbarProgress : public TdxTaskbarCustomProgress {
  DECLARE_CLASS(TdxTaskbarProgress, TdxTaskbarCustomProgress)
 public:
  using TdxTaskbarCustomProgress::TdxTaskbarCustomProgress;
};

// The manager, made on first use; nullptr once the module's shut-down began.
TdxTaskbarProgressManager* TaskbarProgressManager();
// The sink chosen at start-up: the shell's taskbar when it offers the
// progress interface, else the no-op sink; nullptr outside start-up and
// shut-down.
TdxTaskbarProgressSink* dxTaskbarProgressSink();
// The window whose taskbar button shows the progress: the main form's window
// when the main form stands on the taskbar (0 while it has none), else the
// application's window.
HWND dxTaskbarProgressMainWindow();
// The registered number of the shell's "TaskbarButtonCreated"; 0 while the
// module is not started with a connected sink.
UINT dxTaskButtonCreatedMessageID();

// Makes the shell's taskbar object; the default is COM activation of the
// TaskbarList class. Replaceable for tests; nullptr restores the default.
using TdxTaskbarListFactory = HRESULT (*)(IUnknown** AObject);
TdxTaskbarListFactory dxSetTaskbarListFactory(TdxTaskbarListFactory AFactory);

// Registers the module's start-up with the units loader; the start-up runs at
// once in a program.
void dxTaskbarProgress_Initialize();
void dxTaskbarProgress_Finalize();
