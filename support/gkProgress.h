// The progress window of long jobs on the UI thread, its remote control by
// other processes and the worker-thread road that marshals a job's progress
// calls to the UI thread.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "ComCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"
#include "gkModalForm.h"

// The wire format between processes: message WM_GKPROGRESS carries an
// operation in WParam and a signed 32-bit value in LParam; WM_COPYDATA with
// WParam WM_GKPROGRESS carries 8-bit text in the system ANSI code page.
constexpr UINT WM_GKPROGRESS = 0x2B11;
constexpr WPARAM gkpmOpen = 1;
constexpr WPARAM gkpmNext = 2;
constexpr WPARAM gkpmClose = 3;
constexpr WPARAM gkpmAddMax = 4;
constexpr ULONG_PTR gkpdText = 1;
constexpr ULONG_PTR gkpdMessage = 2;
constexpr ULONG_PTR gkpdHeader = 3;
constexpr ULONG_PTR gkpdCaption = 4;
constexpr ULONG_PTR gkpdResult = 5;

class TgkTaskbarProgress;

class TgkProgressForm : public TgkModalForm {
  DECLARE_CLASS(TgkProgressForm, TgkModalForm)
 public:
  explicit TgkProgressForm(TComponent* AOwner);
  ~TgkProgressForm() override;

  TLabel* HeaderLabel = nullptr;
  TLabel* MessageLabel = nullptr;
  TLabel* TimeLabel = nullptr;
  TProgressBar* ProgressBar = nullptr;
  TButton* CancelButton = nullptr;
  // The text shown inside the bar.
  String BarText;
  // Mirrors the bar on the program's taskbar button.
  TgkTaskbarProgress* TaskbarProgress() const { return FTaskbarProgress.get(); }

  TNotifyEvent OnCancel;

  void FormCreate(TObject* Sender);
  void CancelButtonClick(TObject* Sender);

 private:
  std::unique_ptr<TgkTaskbarProgress> FTaskbarProgress;
};

// When the job started; the time line estimates from it.
class TgkProgressTime : public TObject {
  DECLARE_CLASS(TgkProgressTime, TObject)
 public:
  TgkProgressTime() { Reset(); }
  void Reset();
  DWORD TimeStart() const { return FTimeStart; }
  void SetTimeStart(DWORD V) { FTimeStart = V; }
  // "Прошло: <elapsed>. Осталось: <left>." once 10 s have passed and the
  // position tells how far the job is; "" before.
  String GetTimeCaption(Extended APos, Extended AMax) const;

 private:
  DWORD FTimeStart = 0;
};

class TgkProgressExec;
class TgkProgressThread;

enum TgkProcedureIndex { piOpen, piNext, piSetPos, piSetMax, piSetText, piClose, piAddMax };
struct TgkProgressCall;

class TgkProgress : public TWinControl {
  DECLARE_CLASS(TgkProgress, TWinControl)
  DECLARE_MESSAGE_TABLE()
 public:
  // AOwner is the TgkProgressExec whose worker drives this progress, or any
  // other owner (or none) for a job on the UI thread.
  explicit TgkProgress(TComponent* AOwner = nullptr);
  ~TgkProgress() override;
  void BeforeDestruction() override;

  // Empty texts leave the stored ones unchanged; ranges are 64-bit. A
  // confirmed cancel raises EAbort from these calls.
  void Open(const String& AText, const String& AMessage, const String& AHeader,
            const String& ACaption, Int64 AMax);
  void Next(const String& AText, const String& AMessage, const String& AHeader,
            const String& ACaption, Integer AIncrement);
  void SetMax(Int64 AMax);
  void AddMax(Int64 AMaxInc);
  void SetPos(Int64 APos);
  void SetText(const String& AText, const String& AMessage = String(),
               const String& AHeader = String(), const String& ACaption = String());
  void Close();
  void Note(const String& AMessage);

  bool CanDoCancel() const { return FCanDoCancel; }
  void SetCanDoCancel(bool V) { FCanDoCancel = V; }
  bool AbortOnCancel() const { return FAbortOnCancel; }
  void SetAbortOnCancel(bool V) { FAbortOnCancel = V; }
  bool AskOnCancel() const { return FAskOnCancel; }
  void SetAskOnCancel(bool V) { FAskOnCancel = V; }
  bool AutoProcessCancel() const { return FAutoProcessCancel; }
  void SetAutoProcessCancel(bool V) { FAutoProcessCancel = V; }
  bool CanShowForm() const { return FCanShowForm; }
  void SetCanShowForm(bool V) { FCanShowForm = V; }
  HWND ParentHWND() const { return FParentHWND; }
  void SetParentHWND(HWND V) { FParentHWND = V; }
  // Refreshes the window and pumps the message queue when 100 ms have passed
  // since the last refresh (on the UI thread only).
  bool GetCancelled();
  // The window exists and is visible.
  bool GetVisible();

  TgkProgressForm* ProgressForm() const { return FProgressForm; }
  TgkProgressTime* ProgressTime() const { return FProgressTime; }
  const String& RawText() const { return F_RawText; }
  const String& RawMessage() const { return F_RawMessage; }
  const String& RawHeader() const { return F_RawHeader; }
  const String& RawCaption() const { return F_RawCaption; }
  Int64 RawMin() const { return F_RawMin; }
  Int64 RawMax() const { return F_RawMax; }
  Int64 RawPos() const { return F_RawPos; }
  bool RawMarquee() const { return F_RawMarquee; }

  // The handle to give to a driving process.
  HWND GetCallbackWnd();
  // Waits for the driving process while keeping the UI alive: 1 when it
  // ended with exit code 0 (the window is closed), 2 when it failed or the
  // progress was cancelled (the window stays open for the owner to close).
  Integer ShowModal(DWORD AProcessId);
  const String& CallbackResult() const { return FCallbackResult; }

 protected:
  virtual void WMGkProgress(TMessage& Message);
  virtual void WMCopyData(TMessage& Message);

 private:
  friend class TgkProgressExec;
  void F_Open(const String& AText, const String& AMessage, const String& AHeader,
              const String& ACaption, Int64 AMax);
  void F_Next(const String& AText, const String& AMessage, const String& AHeader,
              const String& ACaption, Integer AIncrement);
  void F_SetMax(Int64 AMax);
  void F_AddMax(Int64 AMaxInc);
  void F_SetPos(Int64 APos);
  void F_SetText(const String& AText, const String& AMessage, const String& AHeader,
                 const String& ACaption);
  void F_Close();
  void F_RawUpdate();
  void CreateProgressForm();
  void CheckProgressForm();
  void CheckCancelled();
  void DoCancel();
  void CalcTime();
  void ResetTime();
  void CancelEvent(TObject* Sender);
  // Applies one text: a changed non-empty text refreshes at once.
  void ApplyText(String& ARaw, const String& AValue);
  // The worker of the exec object that owns this progress when it is the
  // calling thread; its calls run on the UI thread.
  TgkProgressThread* CallingWorker() const;
  void F_Synchronize(TgkProgressCall& ACall);
  friend struct TgkProgressCall;
  void MsgHandler(TMessage& Message);
  void MsgHandler2(TMessage& Message);

  TgkProgressExec* FOwner = nullptr;
  TgkProgressForm* FProgressForm = nullptr;
  std::unique_ptr<std::vector<HWND>> FWindowList;
  DWORD FLastTickCount = 0;
  bool FCanDoCancel = true;
  bool FAbortOnCancel = true;
  bool FAskOnCancel = true;
  bool FAutoProcessCancel = false;
  bool FCanShowForm = true;
  bool F_Cancelling = false;
  std::atomic<bool> F_Cancelled{false};
  String F_RawText, F_RawMessage, F_RawHeader, F_RawCaption;
  Int64 F_RawMin = 0, F_RawMax = 0, F_RawPos = 0;
  bool F_RawMarquee = false;
  TgkProgressTime* FProgressTime = nullptr;
  HWND FParentHWND = nullptr;
  String FCallbackResult;
  Integer FModalResult = 0;
};

class TgkProgressExec;
using TgkProgressExecuteEvent = TMethodPtr<void(TgkProgressExec* Sender)>;

// Runs a job, on a worker thread when ThreadEnabled, while its own progress
// shows how far it is.
class TgkProgressExec : public TComponent {
  DECLARE_CLASS(TgkProgressExec, TComponent)
 public:
  explicit TgkProgressExec(TComponent* AOwner);
  ~TgkProgressExec() override;
  void BeforeDestruction() override;

  void Execute(bool AForceCancel = false);
  // Tells a running worker to terminate and forgets it, then closes the
  // progress window.
  void Cancel();

  TgkProgress* Progress() const { return FProgress; }
  bool ThreadEnabled() const { return FThreadEnabled; }
  void SetThreadEnabled(bool V) { FThreadEnabled = V; }
  // The running worker, or nullptr.
  TgkProgressThread* Thread() const { return FThread; }
  TgkProgressExecuteEvent OnExecute;
  TgkProgressExecuteEvent OnFinish;

 private:
  friend class TgkProgress;
  friend struct TgkProgressCall;
  void TerminateEvent(TObject* Sender);
  void ForgetThread(TThread* AThread);
  void WaitForThreads();

  TgkProgress* FProgress = nullptr;
  TgkProgressThread* FThread = nullptr;
  bool FThreadEnabled = false;
  bool FFreeing = false;
  // Every worker started and not yet ended, cancelled ones included, with a
  // handle of our own: a worker frees itself once its end was reported.
  std::vector<std::pair<TThread*, HANDLE>> FThreads;
};

class TgkProgressThread : public TThread {
  DECLARE_CLASS(TgkProgressThread, TThread)
 public:
  explicit TgkProgressThread(TgkProgressExec* AOwner);
  // Shows the message dialog on the UI thread and waits for it.
  void Note(const String& AMessage);
  // The text of the exception that ended the job ("" for none or EAbort).
  const String& ErrorMessage() const { return FErrorMessage; }
  // The worker running on the calling thread, or nullptr.
  static TgkProgressThread* Current();

 protected:
  void Execute() override;

 private:
  friend class TgkProgressExec;
  friend class TgkProgress;
  void DoFinish();
  void NoteProc();
  TgkProgressExec* FOwner;
  // Set when the exec object has let go of this worker: its progress calls
  // then end the job.
  std::atomic<bool> FRetired{false};
  TgkProgressExecuteEvent FOnExecute;
  TgkProgressExecuteEvent FOnFinish;
  String FErrorMessage;
  String FNoteMessage;
};

void gkProgress_Initialize();
void gkProgress_Finalize();
