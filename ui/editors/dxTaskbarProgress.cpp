#include "dxTaskbarProgress.h"

#include <shobjidl.h>

#include <algorithm>
#include <limits>

#include "ComObj.h"
#include "WinHandles.h"
#include "dxCore.h"

namespace {

const wchar_t* const TaskbarProgressStateNames[] = {L"tbpsNoProgress", L"tbpsIndeterminate",
                                                    L"tbpsNormal", L"tbpsError", L"tbpsPaused"};
constexpr TEnumInfo TaskbarProgressStateInfo =
    MakeEnumInfo(L"TdxTaskbarProgressState", TaskbarProgressStateNames);

using TChangeWindowMessageFilterEx = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
constexpr DWORD MSGFLT_ALLOW_ = 1;

// The system lacks the shell's progress interface (or its taskbar object):
// the components keep their values and nothing reaches a taskbar.
class TdxNullTaskbarProgressSink final : public TdxTaskbarProgressSink {
 public:
  void SetProgressState(HWND, Cardinal) override {}
  void SetProgressValue(HWND, UInt64, UInt64) override {}
  bool Connected() const override { return false; }
};

// The shell's taskbar. Its results are ignored: a button that cannot show the
// progress just shows none.
class TdxShellTaskbarProgressSink final : public TdxTaskbarProgressSink {
 public:
  TdxShellTaskbarProgressSink(TComPtr<ITaskbarList> ATaskbar, TComPtr<ITaskbarList3> AProgress)
      : FTaskbar(std::move(ATaskbar)), FTaskbarProgress(std::move(AProgress)) {}
  void SetProgressState(HWND AWnd, Cardinal AFlags) override {
    FTaskbarProgress->SetProgressState(AWnd, static_cast<TBPFLAG>(AFlags));
  }
  void SetProgressValue(HWND AWnd, UInt64 ACompleted, UInt64 ATotal) override {
    FTaskbarProgress->SetProgressValue(AWnd, ACompleted, ATotal);
  }
  bool Connected() const override { return true; }

 private:
  TComPtr<ITaskbarList> FTaskbar;
  TComPtr<ITaskbarList3> FTaskbarProgress;
};

struct TTaskbarModuleState {
  Integer InitCount = 0;
  bool ShutDownBegun = false;
  bool COMInitialized = false;
  TdxTaskbarListFactory Factory = nullptr;
  TdxTaskbarProgressSink* Sink = nullptr;
  TdxTaskbarProgressManager* Manager = nullptr;
  UINT TaskButtonCreatedMessageID = 0;
  TChangeWindowMessageFilterEx ChangeWindowMessageFilterEx = nullptr;
};

TTaskbarModuleState& ModuleState() {
  static TTaskbarModuleState S;
  return S;
}

HRESULT CreateShellTaskbarList(IUnknown** AObject) {
  return CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                          reinterpret_cast<void**>(AObject));
}

// The shell's taskbar when it offers the progress interface; otherwise, also
// when the taskbar object cannot be made at all, the no-op sink, so that the
// program starts on any system.
TdxTaskbarProgressSink* CreateSink() {
  TdxTaskbarListFactory Factory = ModuleState().Factory;
  if (!Factory) Factory = &CreateShellTaskbarList;
  TComPtr<IUnknown> Object;
  if (SUCCEEDED(Factory(Object.ReleaseAndGetAddressOf())) && Object) {
    TComPtr<ITaskbarList> Taskbar = Object.Query<ITaskbarList>(IID_ITaskbarList);
    TComPtr<ITaskbarList3> Progress;
    if (Taskbar) Progress = Taskbar.Query<ITaskbarList3>(IID_ITaskbarList3);
    // The taskbar object wants HrInit before any other call.
    if (Progress && SUCCEEDED(Taskbar->HrInit()))
      return Create<TdxShellTaskbarProgressSink>(std::move(Taskbar), std::move(Progress));
  }
  return Create<TdxNullTaskbarProgressSink>();
}

// Lets the shell's message through to a window of a process with raised
// rights.
void UnlockTaskButtonCreatedMessage(HWND AWnd) {
  TTaskbarModuleState& S = ModuleState();
  if (S.ChangeWindowMessageFilterEx && AWnd)
    S.ChangeWindowMessageFilterEx(AWnd, S.TaskButtonCreatedMessageID, MSGFLT_ALLOW_, nullptr);
}

void UpdateTaskbarProgressState(Cardinal AFlags) {
  TTaskbarModuleState& S = ModuleState();
  if (!S.Manager || !S.Manager->IsTaskbarButtonCreated() || !S.Sink) return;
  if (HWND Wnd = dxTaskbarProgressMainWindow()) S.Sink->SetProgressState(Wnd, AFlags);
}

void UpdateTaskbarProgressPosition(Int64 ACompleted, Int64 ATotal) {
  TTaskbarModuleState& S = ModuleState();
  if (!S.Manager || !S.Manager->IsTaskbarButtonCreated() || !S.Sink) return;
  if (HWND Wnd = dxTaskbarProgressMainWindow())
    S.Sink->SetProgressValue(Wnd, static_cast<UInt64>(ACompleted), static_cast<UInt64>(ATotal));
}

// An amount read from a bar: rounded half to even, and, like the amounts the
// setters take, 0 or more. Bars hold doubles, so a value beyond Int64 (or not
// a number) is clamped before it is converted.
Int64 TaskbarAmount(Double AValue) {
  if (!(AValue > 0)) return 0;
  constexpr Double Limit = 9223372036854775808.0;  // 2^63
  if (AValue >= Limit) return std::numeric_limits<Int64>::max();
  return Round(AValue);
}

void RegisterAssistants() {
  TTaskbarModuleState& S = ModuleState();
  S.COMInitialized = SUCCEEDED(CoInitialize(nullptr));
  S.Sink = CreateSink();
  if (S.Sink->Connected()) {
    S.TaskButtonCreatedMessageID = RegisterWindowMessageW(L"TaskbarButtonCreated");
    if (TdxTaskbarProgressManager* M = TaskbarProgressManager()) M->Initialize();
  }
  if (HMODULE User32 = GetModuleHandleW(L"user32.dll"))
    S.ChangeWindowMessageFilterEx = reinterpret_cast<TChangeWindowMessageFilterEx>(
        reinterpret_cast<void*>(GetProcAddress(User32, "ChangeWindowMessageFilterEx")));
}

void UnregisterAssistants() {
  TTaskbarModuleState& S = ModuleState();
  TdxTaskbarProgressManager* Manager = S.Manager;
  S.Manager = nullptr;
  if (Manager) Manager->Free();
  FreeAndNil(S.Sink);
  S.TaskButtonCreatedMessageID = 0;
  S.ChangeWindowMessageFilterEx = nullptr;
  if (S.COMInitialized) CoUninitialize();
  S.COMInitialized = false;
}

}  // namespace

IMPLEMENT_CLASS(TdxTaskbarProgressSink)

// ---------------------------------------------------------------------------
// Module routines

TdxTaskbarProgressManager* TaskbarProgressManager() {
  TTaskbarModuleState& S = ModuleState();
  if (!S.Manager && !S.ShutDownBegun) S.Manager = Create<TdxTaskbarProgressManager>();
  return S.Manager;
}

TdxTaskbarProgressSink* dxTaskbarProgressSink() { return ModuleState().Sink; }

UINT dxTaskButtonCreatedMessageID() { return ModuleState().TaskButtonCreatedMessageID; }

HWND dxTaskbarProgressMainWindow() {
  TApplication* App = Application();
  if (!App) return nullptr;
  if (!App->MainFormOnTaskBar()) return App->Handle();
  TCustomForm* MainForm = App->MainForm();
  return MainForm && MainForm->HandleAllocated() ? MainForm->Handle() : nullptr;
}

TdxTaskbarListFactory dxSetTaskbarListFactory(TdxTaskbarListFactory AFactory) {
  return std::exchange(ModuleState().Factory, AFactory);
}

// ---------------------------------------------------------------------------
// Manager

IMPLEMENT_CLASS(TdxTaskbarProgressManager)

TdxTaskbarProgressManager::~TdxTaskbarProgressManager() {
  if (FHooked)
    if (TApplication* App = Application())
      App->UnhookMainWindow(MakeEvent<&TdxTaskbarProgressManager::AppHook>(this));
}

void TdxTaskbarProgressManager::Initialize() {
  if (FHooked) return;
  if (!FAppEvents) FAppEvents.reset(Create<TApplicationEvents>(nullptr));
  if (TApplication* App = Application()) {
    App->HookMainWindow(MakeEvent<&TdxTaskbarProgressManager::AppHook>(this));
    FHooked = true;
  }
}

bool TdxTaskbarProgressManager::AppHook(TMessage&) {
  TApplication* App = Application();
  TCustomForm* MainForm = App ? App->MainForm() : nullptr;
  if (MainForm && MainForm->HandleAllocated()) {
    HWND Wnd = dxTaskbarProgressMainWindow();
    if (Wnd != FMainWindow) {
      // A new main window gets a new button: wait for its announcement.
      FMainWindow = Wnd;
      UnlockTaskButtonCreatedMessage(FMainWindow);
      FIsTaskbarButtonCreated = false;
      FAppEvents->OnMessage = MakeEvent<&TdxTaskbarProgressManager::DoAppMessage>(this);
    }
  }
  return false;
}

void TdxTaskbarProgressManager::DoAppMessage(MSG& Msg, bool&) {
  UINT Id = dxTaskButtonCreatedMessageID();
  if (Id == 0 || Msg.message != Id || Msg.hwnd != dxTaskbarProgressMainWindow()) return;
  FAppEvents->OnMessage = nullptr;
  FIsTaskbarButtonCreated = true;
  RefreshItems();
}

void TdxTaskbarProgressManager::RefreshItems() {
  std::vector<TdxTaskbarCustomProgress*> Items = FItems;
  for (TdxTaskbarCustomProgress* Item : Items)
    if (Item->FActive) Item->Refresh();
}

void TdxTaskbarProgressManager::CheckUnique(TdxTaskbarCustomProgress* AItem) {
  // A copy: deactivating may not change the list, but a caller's handler might.
  std::vector<TdxTaskbarCustomProgress*> Items = FItems;
  for (TdxTaskbarCustomProgress* Item : Items)
    if (Item != AItem && Item->FActive) Item->SetActive(false);
}

void TdxTaskbarProgressManager::RegisterItem(TdxTaskbarCustomProgress* AItem) {
  FItems.push_back(AItem);
}

void TdxTaskbarProgressManager::UnRegisterItem(TdxTaskbarCustomProgress* AItem) {
  auto It = std::find(FItems.begin(), FItems.end(), AItem);
  if (It != FItems.end()) FItems.erase(It);
}

// ---------------------------------------------------------------------------
// Component

IMPLEMENT_PUBLISHED_CLASS(TdxTaskbarCustomProgress) {
  P.Property<&TdxTaskbarCustomProgress::Active, &TdxTaskbarCustomProgress::SetActive>(L"Active")
      .Default(0);
  P.Property<&TdxTaskbarCustomProgress::LinkedComponent,
             &TdxTaskbarCustomProgress::SetLinkedComponent>(L"LinkedComponent");
  P.Property<&TdxTaskbarCustomProgress::Position, &TdxTaskbarCustomProgress::SetPosition>(
       L"Position")
      .NoDefault();
  P.Property<&TdxTaskbarCustomProgress::State, &TdxTaskbarCustomProgress::SetState>(
       L"State", &TaskbarProgressStateInfo)
      .Default(tbpsNormal);
  P.Property<&TdxTaskbarCustomProgress::Total, &TdxTaskbarCustomProgress::SetTotal>(L"Total")
      .Default(100);
}

IMPLEMENT_CREATABLE_CLASS(TdxTaskbarProgress)

TdxTaskbarCustomProgress::TdxTaskbarCustomProgress(TComponent* AOwner)
    : TcxCustomComponent(AOwner) {}

void TdxTaskbarCustomProgress::AfterConstruction() {
  inherited::AfterConstruction();
  if (TdxTaskbarProgressManager* M = TaskbarProgressManager()) M->RegisterItem(this);
}

void TdxTaskbarCustomProgress::BeforeDestruction() {
  if (TdxTaskbarProgressManager* M = ModuleState().Manager) M->UnRegisterItem(this);
  SetLinkedComponent(nullptr);
  inherited::BeforeDestruction();
}

TdxTaskbarCustomProgress::~TdxTaskbarCustomProgress() {
  // Reached without BeforeDestruction only when construction failed.
  if (TdxTaskbarProgressManager* M = ModuleState().Manager) M->UnRegisterItem(this);
  RemoveListener();
}

void TdxTaskbarCustomProgress::Loaded() {
  inherited::Loaded();
  SetLinkedComponent(FLoadedLinkedComponent);
  SetActive(FLoadedActive);
}

void TdxTaskbarCustomProgress::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FLoadedLinkedComponent) FLoadedLinkedComponent = nullptr;
  if (AComponent && AComponent == FLinkedComponent) SetLinkedComponent(nullptr);
}

bool TdxTaskbarCustomProgress::IsActive() const {
  return FActive && !ComponentState().Contains(csDesigning);
}

void TdxTaskbarCustomProgress::SetActive(bool AValue) {
  if (ComponentState().Contains(csLoading)) {
    FLoadedActive = AValue;
    return;
  }
  if (AValue == FActive) return;
  if (AValue) {
    FActive = true;
    if (!ComponentState().Contains(csDesigning))
      if (TdxTaskbarProgressManager* M = TaskbarProgressManager()) M->CheckUnique(this);
    Refresh();
  } else {
    Reset();
    FActive = false;
  }
}

void TdxTaskbarCustomProgress::SetLinkedComponent(TComponent* AValue) {
  if (ComponentState().Contains(csLoading)) FLoadedLinkedComponent = AValue;
  // Not only outside loading: a component that is not a progress bar never
  // gets linked, so a form that names one still loads.
  IcxProgressBarLink* Bar = cxGetProgressBarLink(AValue);
  if (!Bar) AValue = nullptr;
  if (AValue == FLinkedComponent) return;
  if (FLinkedComponent) {
    RemoveListener();
    FLinkedComponent->RemoveFreeNotification(this);
  }
  FLinkedComponent = AValue;
  FProgressBar = Bar;
  if (!FLinkedComponent) return;
  FLinkedComponent->FreeNotification(this);
  CreateListener();
  DoLinkedComponentChanged(FLinkedComponent);
}

void TdxTaskbarCustomProgress::SetPosition(Int64 AValue) {
  if (AValue == FPosition) return;
  FPosition = std::max<Int64>(AValue, 0);
  SynchronizeAndRefresh();
}

void TdxTaskbarCustomProgress::SetTotal(Int64 AValue) {
  if (AValue == FTotal) return;
  FTotal = std::max<Int64>(AValue, 0);
  SynchronizeAndRefresh();
}

void TdxTaskbarCustomProgress::SetState(TdxTaskbarProgressState AValue) {
  if (AValue == FState) return;
  FState = AValue;
  SynchronizeAndRefresh();
}

void TdxTaskbarCustomProgress::CreateListener() {
  FListener.reset(Create<TcxProgressBarListener>(FLinkedComponent));
  FListener->OnChanged = MakeEvent<&TdxTaskbarCustomProgress::DoLinkedComponentChanged>(this);
  FProgressBar->AddLinkListener(FListener.get());
}

void TdxTaskbarCustomProgress::RemoveListener() {
  if (!FListener) return;
  if (FProgressBar) FProgressBar->RemoveLinkListener(FListener.get());
  FListener.reset();
}

void TdxTaskbarCustomProgress::DoLinkedComponentChanged(TObject*) {
  if (FIsLinkedComponentChangeLocked || !FProgressBar) return;
  Double Min = FProgressBar->GetLinkMin();
  FPosition = TaskbarAmount(FProgressBar->GetLinkPosition() - Min);
  if (FState != tbpsNoProgress) {
    if (FProgressBar->GetLinkMarquee())
      FState = tbpsIndeterminate;
    else if (FState == tbpsIndeterminate)
      FState = tbpsNormal;
  }
  FTotal = TaskbarAmount(FProgressBar->GetLinkMax() - Min);
  Refresh();
}

void TdxTaskbarCustomProgress::Refresh() {
  RefreshState();
  RefreshPosition();
}

void TdxTaskbarCustomProgress::RefreshState() {
  if (IsActive()) UpdateTaskbarProgressState(TaskbarProgressState[FState]);
}

void TdxTaskbarCustomProgress::RefreshPosition() {
  if (IsActive() && (FState == tbpsNormal || FState == tbpsError || FState == tbpsPaused))
    UpdateTaskbarProgressPosition(FPosition, FTotal);
}

void TdxTaskbarCustomProgress::Reset() { UpdateTaskbarProgressState(TaskbarProgressState[0]); }

void TdxTaskbarCustomProgress::SynchronizeAndRefresh() {
  if (IsComponentLinked()) SynchronizeLinkedComponent();
  Refresh();
}

void TdxTaskbarCustomProgress::SynchronizeLinkedComponent() {
  // The bar's change notices raised by the writes below are our own.
  bool WasLocked = std::exchange(FIsLinkedComponentChangeLocked, true);
  auto Unlock = Finally([&] { FIsLinkedComponentChangeLocked = WasLocked; });
  if (FState != tbpsNoProgress) FProgressBar->SetLinkMarquee(FState == tbpsIndeterminate);
  Double Min = FProgressBar->GetLinkMin();
  FProgressBar->SetLinkMax(Min + static_cast<Double>(FTotal));
  FProgressBar->SetLinkEditValue(Min + static_cast<Double>(FPosition));
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

void dxTaskbarProgress_Initialize() {
  TTaskbarModuleState& S = ModuleState();
  if (S.InitCount++ > 0) return;
  S.ShutDownBegun = false;
  RegisterClasses({TdxTaskbarProgress::StaticClass()});
  if (TdxUnitsLoader* Loader = dxUnitsLoader())
    Loader->AddUnit(&RegisterAssistants, &UnregisterAssistants);
  else
    RegisterAssistants();
}

void dxTaskbarProgress_Finalize() {
  TTaskbarModuleState& S = ModuleState();
  if (S.InitCount == 0 || --S.InitCount > 0) return;
  S.ShutDownBegun = true;
  if (TdxUnitsLoader* Loader = dxUnitsLoader())
    Loader->RemoveUnit(&UnregisterAssistants);
  else
    UnregisterAssistants();
  // Once more, as the unit's own shut-down: a manager made on first use
  // without the start-up (in a library the loader starts units later) goes
  // too. Running it twice is harmless.
  UnregisterAssistants();
}
