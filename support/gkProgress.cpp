#include "gkProgress.h"

#include <shobjidl.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "ComObj.h"
#include "dxCore.h"

namespace {

const wchar_t* const SNeedOpen = L"Требуется сначала вызвать функцию TgkProgress.Open.";
const wchar_t* const SDefaultCaption = L"Выполняется";
const wchar_t* const SAskCancel = L"Вы хотите прервать выполнение?";
const wchar_t* const SCancelling = L"Выполняется отмена...";
constexpr DWORD RefreshInterval = 100;
constexpr DWORD TimeLineDelay = 10000;

// The framework's bar runs over 32-bit integers; a 64-bit range is shown in
// proportion.
Integer BarValue(Int64 AValue, Int64 AMax) {
  constexpr Int64 Limit = std::numeric_limits<Integer>::max();
  if (AMax <= Limit) return static_cast<Integer>(std::clamp<Int64>(AValue, -Limit, Limit));
  return static_cast<Integer>(static_cast<Extended>(AValue) * Limit / static_cast<Extended>(AMax));
}

BOOL CALLBACK CollectWindow(HWND Wnd, LPARAM Param) noexcept {
  if (!IsWindowVisible(Wnd) || !IsWindowEnabled(Wnd)) return TRUE;
  bool Listed = false;
  CallbackBoundary(nullptr, [&] {
    reinterpret_cast<std::vector<HWND>*>(Param)->push_back(Wnd);
    Listed = true;
  });
  return Listed;
}

thread_local TgkProgressThread* CurrentWorker = nullptr;

}  // namespace

// The taskbar button's progress through the shell's ITaskbarList3. Platforms
// without it (older systems, Wine builds without a taskbar) simply show none.
class TgkTaskbarProgress {
 public:
  ~TgkTaskbarProgress() { Deactivate(); }

  void Activate(HWND AWnd) {
    if (!FTaskbar) {
      TComPtr<ITaskbarList3> T;
      if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_ITaskbarList3,
                                  reinterpret_cast<void**>(T.ReleaseAndGetAddressOf()))) ||
          FAILED(T->HrInit()))
        return;
      FTaskbar = T;
    }
    FWnd = AWnd;
  }

  void Deactivate() {
    if (Active()) FTaskbar->SetProgressState(FWnd, TBPF_NOPROGRESS);
    FTaskbar.Reset();
    FWnd = nullptr;
  }

  bool Active() const { return FTaskbar && FWnd; }

  void SetIndeterminate() {
    if (Active()) FTaskbar->SetProgressState(FWnd, TBPF_INDETERMINATE);
  }

  void SetPosition(ULONGLONG APos, ULONGLONG AMax) {
    if (!Active()) return;
    FTaskbar->SetProgressState(FWnd, TBPF_NORMAL);
    FTaskbar->SetProgressValue(FWnd, APos, AMax);
  }

 private:
  TComPtr<ITaskbarList3> FTaskbar;
  HWND FWnd = nullptr;
};

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TgkProgressForm) {
  P.Field<&TgkProgressForm::HeaderLabel>(L"HeaderLabel");
  P.Field<&TgkProgressForm::MessageLabel>(L"MessageLabel");
  P.Field<&TgkProgressForm::TimeLabel>(L"TimeLabel");
  P.Field<&TgkProgressForm::ProgressBar>(L"ProgressBar");
  P.Field<&TgkProgressForm::CancelButton>(L"CancelButton");
  P.Method<&TgkProgressForm::FormCreate>(L"FormCreate");
  P.Method<&TgkProgressForm::CancelButtonClick>(L"CancelButtonClick");
}

TgkProgressForm::TgkProgressForm(TComponent* AOwner)
    : TgkModalForm(AOwner), FTaskbarProgress(std::make_unique<TgkTaskbarProgress>()) {}

TgkProgressForm::~TgkProgressForm() = default;

void TgkProgressForm::FormCreate(TObject*) {
  // The designed captions only show the layout.
  HeaderLabel->SetCaption(String());
  MessageLabel->SetCaption(String());
  TimeLabel->SetCaption(String());
}

void TgkProgressForm::CancelButtonClick(TObject*) {
  if (OnCancel) OnCancel(this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkProgressTime)

void TgkProgressTime::Reset() { FTimeStart = GetTickCount(); }

String TgkProgressTime::GetTimeCaption(Extended APos, Extended AMax) const {
  const DWORD Elapsed = GetTickCount() - FTimeStart;
  if (Elapsed < TimeLineDelay || APos <= 0 || AMax <= 0 || AMax < APos) return String();
  // A job that has barely begun can promise more than the tick counter
  // holds: the estimate stops at its largest value.
  const Extended Estimate = std::nearbyint(static_cast<Extended>(Elapsed) / APos * (AMax - APos));
  const DWORD Remaining =
      Estimate >= static_cast<Extended>(MAXDWORD) ? MAXDWORD : static_cast<DWORD>(Estimate);
  const String Tail = Remaining >= 1000 ? L" Осталось: " + FormatTickCount(Remaining, false) + L"."
                                        : String(L" Осталось совсем немного...");
  return Format(L"Прошло: %s.%s", {FormatTickCount(Elapsed, false), Tail});
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkProgress)

TgkProgress::TgkProgress(TComponent* AOwner)
    : TWinControl(AOwner), FOwner(AsOrNull<TgkProgressExec>(AOwner)) {
  // The own window only receives messages from driving processes.
  FVisible = false;
  FProgressTime = Create<TgkProgressTime>();
}

TgkProgress::~TgkProgress() = default;

void TgkProgress::BeforeDestruction() {
  F_Close();
  FreeAndNil(FProgressTime);
  inherited::BeforeDestruction();
}

// One progress call of a worker, carried to the UI thread.
struct TgkProgressCall {
  TgkProgress* Progress;
  TgkProgressThread* Thread;
  TgkProcedureIndex Index;
  String Text, Message, Header, Caption;
  Integer Increment = 0;
  Int64 Max = 0, MaxInc = 0, Pos = 0;

  void Run() {
    // A worker that its exec object let go of no longer reaches the window.
    if (!Progress->FOwner || Progress->FOwner->FThread != Thread) return;
    switch (Index) {
      case piOpen:
        Progress->F_Open(Text, Message, Header, Caption, Max);
        break;
      case piNext:
        Progress->F_Next(Text, Message, Header, Caption, Increment);
        break;
      case piSetPos:
        Progress->F_SetPos(Pos);
        break;
      case piSetMax:
        Progress->F_SetMax(Max);
        break;
      case piSetText:
        Progress->F_SetText(Text, Message, Header, Caption);
        break;
      case piClose:
        Progress->F_Close();
        break;
      case piAddMax:
        Progress->F_AddMax(MaxInc);
        break;
    }
  }
};

TgkProgressThread* TgkProgress::CallingWorker() const {
  return FOwner && CurrentWorker && CurrentWorker->FOwner == FOwner ? CurrentWorker : nullptr;
}

void TgkProgress::F_Synchronize(TgkProgressCall& ACall) {
  // A worker its exec object let go of ends its job at its next progress
  // call: the window it would reach belongs to another job or is gone.
  if (ACall.Thread->FRetired) Abort();
  ACall.Thread->Synchronize(MakeEvent<&TgkProgressCall::Run>(&ACall));
  if (ACall.Thread->FRetired) Abort();
}

void TgkProgress::Open(const String& AText, const String& AMessage, const String& AHeader,
                       const String& ACaption, Int64 AMax) {
  if (TgkProgressThread* W = CallingWorker()) {
    TgkProgressCall C{this, W, piOpen, AText, AMessage, AHeader, ACaption};
    C.Max = AMax;
    F_Synchronize(C);
  } else {
    F_Open(AText, AMessage, AHeader, ACaption, AMax);
  }
}

void TgkProgress::Next(const String& AText, const String& AMessage, const String& AHeader,
                       const String& ACaption, Integer AIncrement) {
  if (TgkProgressThread* W = CallingWorker()) {
    TgkProgressCall C{this, W, piNext, AText, AMessage, AHeader, ACaption};
    C.Increment = AIncrement;
    F_Synchronize(C);
  } else {
    F_Next(AText, AMessage, AHeader, ACaption, AIncrement);
  }
}

void TgkProgress::SetMax(Int64 AMax) {
  if (TgkProgressThread* W = CallingWorker()) {
    TgkProgressCall C{this, W, piSetMax};
    C.Max = AMax;
    F_Synchronize(C);
  } else {
    F_SetMax(AMax);
  }
}

void TgkProgress::AddMax(Int64 AMaxInc) {
  if (TgkProgressThread* W = CallingWorker()) {
    TgkProgressCall C{this, W, piAddMax};
    C.MaxInc = AMaxInc;
    F_Synchronize(C);
  } else {
    F_AddMax(AMaxInc);
  }
}

void TgkProgress::SetPos(Int64 APos) {
  if (TgkProgressThread* W = CallingWorker()) {
    TgkProgressCall C{this, W, piSetPos};
    C.Pos = APos;
    F_Synchronize(C);
  } else {
    F_SetPos(APos);
  }
}

void TgkProgress::SetText(const String& AText, const String& AMessage, const String& AHeader,
                          const String& ACaption) {
  if (TgkProgressThread* W = CallingWorker()) {
    TgkProgressCall C{this, W, piSetText, AText, AMessage, AHeader, ACaption};
    F_Synchronize(C);
  } else {
    F_SetText(AText, AMessage, AHeader, ACaption);
  }
}

void TgkProgress::Close() {
  if (TgkProgressThread* W = CallingWorker()) {
    TgkProgressCall C{this, W, piClose};
    F_Synchronize(C);
  } else {
    F_Close();
  }
}

void TgkProgress::Note(const String& AMessage) {
  if (TgkProgressThread* W = CallingWorker())
    W->Note(AMessage);
  else
    ::Note(AMessage, mtInformation, {mbOK}, mbOK);
}

void TgkProgress::CreateProgressForm() {
  F_RawCaption = CachedNoteCaption();
  if (F_RawCaption.empty()) F_RawCaption = SDefaultCaption;

  FWindowList = std::make_unique<std::vector<HWND>>();
  EnumThreadWindows(GetCurrentThreadId(), &CollectWindow,
                    reinterpret_cast<LPARAM>(FWindowList.get()));
  for (HWND W : *FWindowList) EnableWindow(W, FALSE);

  {
    auto CloseOnFailure = Finally([this] { F_Close(); });
    if (Application())
      FProgressForm = static_cast<TgkProgressForm*>(
          Application()->CreateFormByClass(TgkProgressForm::StaticClass()));
    else
      FProgressForm = Create<TgkProgressForm>(nullptr);
    CloseOnFailure.Dismiss();
  }

  HWND Owner = FParentHWND;
  if (!Owner && Screen() && Screen()->ActiveForm() && Screen()->ActiveForm() != FProgressForm)
    Owner = Screen()->ActiveForm()->Handle();
  if (!Owner && Application() && Application()->MainForm() &&
      Application()->MainForm() != FProgressForm)
    Owner = Application()->MainForm()->Handle();
  if (Owner)
    SetWindowLongPtrW(FProgressForm->Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Owner));
  FProgressForm->OnCancel = MakeEvent<&TgkProgress::CancelEvent>(this);
}

void TgkProgress::F_Open(const String& AText, const String& AMessage, const String& AHeader,
                         const String& ACaption, Int64 AMax) {
  F_Cancelling = false;
  F_Cancelled = false;
  const bool Created = !FProgressForm;
  if (Created) CreateProgressForm();
  TFont* HeaderFont = FProgressForm->HeaderLabel->Font();
  HeaderFont->SetStyle(HeaderFont->Style() + TFontStyles{TFontStyle::fsBold});
  F_SetText(AText, AMessage, AHeader, ACaption);
  if (FCanShowForm)
    FProgressForm->Show();
  else
    FProgressForm->Hide();
  if (Application()) Application()->ProcessMessages();
  if (Created && FCanShowForm) {
    HWND Button = Application() && Application()->MainFormOnTaskBar() && Application()->MainForm()
                      ? Application()->MainForm()->Handle()
                  : Application() ? Application()->Handle()
                                  : FProgressForm->Handle();
    FProgressForm->TaskbarProgress()->Activate(Button);
    FProgressForm->TaskbarProgress()->SetIndeterminate();
  }
  F_SetMax(AMax);
  CheckCancelled();
}

void TgkProgress::ApplyText(String& ARaw, const String& AValue) {
  if (AValue.empty() || CText(AValue, ARaw)) return;
  ARaw = AValue;
  FLastTickCount = 0;
  CheckCancelled();
}

void TgkProgress::F_SetText(const String& AText, const String& AMessage, const String& AHeader,
                            const String& ACaption) {
  ApplyText(F_RawCaption, ACaption);
  ApplyText(F_RawHeader, AHeader);
  ApplyText(F_RawMessage, AMessage);
  ApplyText(F_RawText, AText);
}

void TgkProgress::F_Next(const String& AText, const String& AMessage, const String& AHeader,
                         const String& ACaption, Integer AIncrement) {
  F_SetText(AText, AMessage, AHeader, ACaption);
  F_RawPos += AIncrement;
  CheckCancelled();
}

void TgkProgress::F_SetMax(Int64 AMax) {
  if (AMax < 0) {
    F_RawPos += 1;
  } else if (AMax <= 1) {
    F_RawMarquee = true;
  } else {
    F_RawMarquee = false;
    F_RawMin = 0;
    F_RawMax = AMax;
    F_RawPos = 0;
  }
  ResetTime();
  CheckCancelled();
}

void TgkProgress::F_AddMax(Int64 AMaxInc) {
  F_RawMax += AMaxInc;
  F_RawMarquee = F_RawMax == 0 || F_RawMax == 1;
  CheckCancelled();
}

void TgkProgress::F_SetPos(Int64 APos) {
  if (APos >= 0 && APos <= F_RawMax) F_RawPos = APos;
  CheckCancelled();
}

void TgkProgress::F_Close() {
  if (FProgressForm) FProgressForm->TaskbarProgress()->Deactivate();
  // Enabled first, so that the platform activates one of them when the
  // progress window goes; also when the window could not be created.
  if (FWindowList) {
    for (HWND W : *FWindowList)
      if (IsWindow(W)) EnableWindow(W, TRUE);
    FWindowList.reset();
  }
  if (TgkProgressForm* Form = FProgressForm) {
    FProgressForm = nullptr;
    Form->Free();
  }
}

void TgkProgress::CheckProgressForm() {
  if (!FProgressForm) throw Exception(SNeedOpen);
}

void TgkProgress::F_RawUpdate() {
  CheckProgressForm();
  // A maximum lowered below the minimum shows an empty bar.
  const Int64 Max = std::max(F_RawMin, F_RawMax);
  TProgressBar* Bar = FProgressForm->ProgressBar;
  Bar->SetStyle(F_RawMarquee ? pbstMarquee : pbstNormal);
  Bar->SetMin(BarValue(F_RawMin, Max));
  Bar->SetMax(BarValue(Max, Max));
  Bar->SetPosition(BarValue(std::clamp(F_RawPos, F_RawMin, Max), Max));
  if (!F_RawCaption.empty()) FProgressForm->SetCaption(F_RawCaption);
  if (!F_RawHeader.empty()) FProgressForm->HeaderLabel->SetCaption(F_RawHeader);
  if (!F_RawMessage.empty()) FProgressForm->MessageLabel->SetCaption(F_RawMessage);
  FProgressForm->BarText = F_RawText;
  if (F_RawMarquee)
    FProgressForm->TaskbarProgress()->SetIndeterminate();
  else
    FProgressForm->TaskbarProgress()->SetPosition(
        static_cast<ULONGLONG>(std::clamp(F_RawPos, F_RawMin, Max) - F_RawMin),
        static_cast<ULONGLONG>(Max - F_RawMin));
}

void TgkProgress::CalcTime() {
  // What the bar shows: its position stays inside its range.
  const Int64 Pos = std::clamp(F_RawPos, F_RawMin, std::max(F_RawMin, F_RawMax));
  FProgressForm->TimeLabel->SetCaption(
      FProgressTime->GetTimeCaption(static_cast<Extended>(Pos), static_cast<Extended>(F_RawMax)));
}

void TgkProgress::ResetTime() {
  FProgressTime->Reset();
  if (FProgressForm) FProgressForm->TimeLabel->SetCaption(String());
}

bool TgkProgress::GetVisible() {
  return FProgressForm && FProgressForm->HandleAllocated() &&
         IsWindowVisible(FProgressForm->Handle());
}

bool TgkProgress::GetCancelled() {
  if (GetCurrentThreadId() == MainThreadID) {
    const DWORD Now = GetTickCount();
    if (GetVisible() && Now - FLastTickCount > RefreshInterval) {
      FLastTickCount = Now;
      F_RawUpdate();
      CalcTime();
      if (Application()) Application()->ProcessMessages();
    }
  }
  if (F_Cancelled) return true;
  if (TgkProgressThread* Worker = CallingWorker()) return Worker->Terminated();
  return FOwner && FOwner->FThread && FOwner->FThread->Terminated();
}

void TgkProgress::DoCancel() {
  if (!FCanDoCancel || !F_Cancelling) return;
  F_Cancelling = false;
  if (FAskOnCancel) {
    HWND Owner = FProgressForm ? FProgressForm->Handle() : nullptr;
    if (MessageBoxW(Owner, SAskCancel, CachedNoteCaption().c_str(),
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
      return;
  }
  F_Cancelled = true;
  SetText(String(), SCancelling);
  SetMax(0);
  if (FOwner && FOwner->FThread) FOwner->FThread->Terminate();
}

void TgkProgress::CheckCancelled() {
  DoCancel();
  if (GetCancelled() && FAbortOnCancel) Abort();
}

void TgkProgress::CancelEvent(TObject*) {
  if (!FCanDoCancel) return;
  F_Cancelling = true;
  if (FAutoProcessCancel) CheckCancelled();
}

// ---------------------------------------------------------------------------
// Remote control

HWND TgkProgress::GetCallbackWnd() {
  if (Application()) SetParentWindow(Application()->Handle());
  return Handle();
}

Integer TgkProgress::ShowModal(DWORD AProcessId) {
  CheckProgressForm();
  GetCallbackWnd();
  Show();
  auto Hiding = Finally([this] { Hide(); });
  TKernelHandle Process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, AProcessId));
  // Without the handle the wait could never end.
  if (!Process) RaiseLastOSError();
  FModalResult = 0;
  while (FModalResult == 0) {
    // The loop also wakes when the process ends.
    Application()->HandleMessage(Process.Get());
    if (WaitForSingleObject(Process.Get(), 0) == WAIT_OBJECT_0) {
      DWORD Code = 0;
      if (GetExitCodeProcess(Process.Get(), &Code) && Code != 0) F_Cancelled = true;
      FModalResult = F_Cancelled ? 2 : 1;
    }
    if (Application()->Terminated() || GetCancelled())
      FModalResult = 2;
    else if (FModalResult != 0)
      Close();
  }
  return FModalResult;
}

IMPLEMENT_MESSAGE_TABLE(TgkProgress, {WM_GKPROGRESS, MessageHandler<&TgkProgress::WMGkProgress>},
                        {WM_COPYDATA, MessageHandler<&TgkProgress::WMCopyData>})

void TgkProgress::WMGkProgress(TMessage& Message) { MsgHandler(Message); }

void TgkProgress::WMCopyData(TMessage& Message) {
  if (Message.WParam == WM_GKPROGRESS)
    MsgHandler2(Message);
  else
    DefaultHandler(Message);
}

void TgkProgress::MsgHandler(TMessage& Message) {
  Message.Result = 0;
  if (GetCancelled() || !FProgressForm) return;
  const auto Value = static_cast<Integer>(Message.LParam);
  try {
    switch (Message.WParam) {
      case gkpmOpen:
        Open(String(), String(), String(), String(), Value);
        break;
      case gkpmNext:
        Next(String(), String(), String(), String(), Value);
        break;
      case gkpmClose:
        Close();
        break;
      case gkpmAddMax:
        AddMax(Value);
        break;
      default:
        return;
    }
  } catch (const EAbort&) {
    // The driving process learns of the cancel from the reply.
    return;
  }
  Message.Result = GetCancelled() ? 0 : 1;
}

void TgkProgress::MsgHandler2(TMessage& Message) {
  Message.Result = 1;
  const auto* Data = reinterpret_cast<const COPYDATASTRUCT*>(Message.LParam);
  if (!Data) return;
  String Text;
  if (Data->cbData > 1 && Data->lpData) {
    const auto* Bytes = static_cast<const char*>(Data->lpData);
    const size_t Count = std::find(Bytes, Bytes + Data->cbData - 1, '\0') - Bytes;
    Text = AnsiToString(AnsiString(Bytes, Count));
  }
  if (Data->dwData == gkpdResult) {
    FCallbackResult = Text;
    return;
  }
  if (Data->dwData < gkpdText || Data->dwData > gkpdCaption) return;
  if (GetCancelled() || !FProgressForm) return;
  try {
    switch (Data->dwData) {
      case gkpdText:
        SetText(Text);
        break;
      case gkpdMessage:
        SetText(String(), Text);
        break;
      case gkpdHeader:
        SetText(String(), String(), Text);
        break;
      default:
        SetText(String(), String(), String(), Text);
        break;
    }
  } catch (const EAbort&) {
    Message.Result = 0;
    return;
  }
  Message.Result = GetCancelled() ? 0 : 1;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkProgressExec)

TgkProgressExec::TgkProgressExec(TComponent* AOwner) : TComponent(AOwner) {
  FProgress = Create<TgkProgress>(this);
}

TgkProgressExec::~TgkProgressExec() = default;

void TgkProgressExec::BeforeDestruction() {
  FFreeing = true;
  Cancel();
  // The jobs hold this object: they must be over before it goes.
  WaitForThreads();
  FreeAndNil(FProgress);
  inherited::BeforeDestruction();
}

void TgkProgressExec::Execute(bool AForceCancel) {
  if (AForceCancel) Cancel();
  if (FThreadEnabled) {
    auto* Thread = Create<TgkProgressThread>(this);
    HANDLE Own = nullptr;
    DuplicateHandle(GetCurrentProcess(), Thread->Handle(), GetCurrentProcess(), &Own, SYNCHRONIZE,
                    FALSE, 0);
    FThreads.emplace_back(Thread, Own);
    // One progress serves one job: a worker still running goes on without it.
    if (FThread) FThread->FRetired = true;
    FThread = Thread;
    Thread->FOnExecute = OnExecute;
    Thread->FOnFinish = OnFinish;
    Thread->OnTerminate = MakeEvent<&TgkProgressExec::TerminateEvent>(this);
    // The worker frees itself once its end has been reported here.
    Thread->SetFreeOnTerminate(true);
    Thread->Start();
  } else {
    if (OnExecute) OnExecute(this);
    if (OnFinish) OnFinish(this);
  }
}

void TgkProgressExec::Cancel() {
  if (FThread) {
    FThread->FRetired = true;
    FThread->Terminate();
    FThread = nullptr;
  }
  if (FProgress) FProgress->Close();
}

void TgkProgressExec::ForgetThread(TThread* AThread) {
  for (auto It = FThreads.begin(); It != FThreads.end(); ++It)
    if (It->first == AThread) {
      if (It->second) CloseHandle(It->second);
      FThreads.erase(It);
      return;
    }
}

void TgkProgressExec::WaitForThreads() {
  while (!FThreads.empty()) {
    HANDLE Own = FThreads.front().second;
    // The worker may be waiting in a synchronized call: keep serving them
    // until its end has been reported, which removes it from the list.
    while (!FThreads.empty() && FThreads.front().second == Own) {
      CheckSynchronize(0);
      if (Own) MsgWaitForMultipleObjects(1, &Own, FALSE, 10, QS_SENDMESSAGE);
      MSG Msg;
      PeekMessageW(&Msg, nullptr, 0, 0, PM_NOREMOVE);
    }
  }
}

void TgkProgressExec::TerminateEvent(TObject* Sender) {
  auto* Thread = static_cast<TgkProgressThread*>(Sender);
  const bool Current = Thread == FThread;
  const String Error = Thread->FErrorMessage;
  ForgetThread(Thread);
  if (!Current) return;
  auto Release = Finally([&] {
    FThread = nullptr;
    if (!FFreeing) Free();
  });
  if (!Error.empty()) ::Note(Error, mtInformation, {mbOK}, mbOK);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TgkProgressThread)

TgkProgressThread::TgkProgressThread(TgkProgressExec* AOwner) : TThread(true), FOwner(AOwner) {}

TgkProgressThread* TgkProgressThread::Current() { return CurrentWorker; }

void TgkProgressThread::Execute() {
  OleCheck(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  auto Uninitialize = Finally([] { CoUninitialize(); });
  CurrentWorker = this;
  auto Forget = Finally([] { CurrentWorker = nullptr; });
  try {
    auto Finish = Finally([this] { Synchronize(MakeEvent<&TgkProgressThread::DoFinish>(this)); });
    if (FOnExecute) FOnExecute(FOwner);
  } catch (const EAbort&) {
  } catch (const Exception& E) {
    FErrorMessage = E.Message();
  }
}

void TgkProgressThread::DoFinish() {
  if (FOnFinish) FOnFinish(FOwner);
}

void TgkProgressThread::Note(const String& AMessage) {
  FNoteMessage = AMessage;
  Synchronize(MakeEvent<&TgkProgressThread::NoteProc>(this));
}

void TgkProgressThread::NoteProc() { ::Note(FNoteMessage, mtInformation, {mbOK}, mbOK); }

// ---------------------------------------------------------------------------
void gkProgress_Initialize() {
  dxInitialize();
  RegisterClasses({TgkProgressForm::StaticClass()});
}

void gkProgress_Finalize() {}
