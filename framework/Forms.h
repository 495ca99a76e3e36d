// Forms, the screen and the application object.
#pragma once

#include <vector>

#include "Controls.h"

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TPopupMode { pmNone, pmAuto, pmExplicit };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

using TModalResult = Integer;
constexpr TModalResult mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL, mrAbort = IDABORT,
                       mrRetry = IDRETRY, mrIgnore = IDIGNORE, mrYes = IDYES, mrNo = IDNO,
                       mrClose = 8, mrHelp = 9, mrTryAgain = 10, mrContinue = 11, mrAll = 12,
                       mrNoToAll = 13, mrYesToAll = 14;

using TCloseEvent = TMethodPtr<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TMethodPtr<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
  DECLARE_CLASS(TCustomForm, TWinControl)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TCustomForm(TComponent* AOwner);
  // A form without a resource (built in code).
  TCustomForm(TComponent* AOwner, bool Dummy);
  ~TCustomForm() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  void Show();
  void Hide() { SetVisible(false); }
  void Close();
  virtual bool CloseQuery();
  virtual TModalResult ShowModal();
  void Release();
  void SendCancelMode(TControl* Sender);

  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult V) { FModalResult = V; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  void SetActiveControl(TWinControl* V);
  bool SetFocusedControl(TWinControl* Control);
  void FocusControl(TWinControl* Control);
  void DefocusControl(TWinControl* Control, bool Removing);
  bool Active() const { return FActive; }
  // Shown modally and not closed yet.
  bool IsModal() const { return FModalLevel > 0; }

  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle V);
  TBorderIcons BorderIcons() const { return FBorderIcons; }
  void SetBorderIcons(TBorderIcons V);
  TPosition Position() const { return FPosition; }
  void SetPosition(TPosition V) { FPosition = V; }
  TWindowState WindowState() const { return FWindowState; }
  void SetWindowState(TWindowState V);
  TFormStyle FormStyle() const { return FFormStyle; }
  void SetFormStyle(TFormStyle V) { FFormStyle = V; }
  bool KeyPreview() const { return FKeyPreview; }
  void SetKeyPreview(bool V) { FKeyPreview = V; }
  bool Scaled() const { return FScaled; }
  void SetScaled(bool V) { FScaled = V; }
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(Integer V) { FPixelsPerInch = V; }
  TPopupMode PopupMode() const { return FPopupMode; }
  void SetPopupMode(TPopupMode V) { FPopupMode = V; }
  TCustomForm* PopupParent() const { return FPopupParent; }
  void SetPopupParent(TCustomForm* V);
  Integer TextHeight() const { return FTextHeight; }
  void SetTextHeight(Integer V) { FTextHeight = V; }
  bool OldCreateOrder() const { return false; }
  void SetOldCreateOrder(bool) {}
  TIcon* Icon() const { return FIcon.get(); }
  void SetIcon(TIcon* V) { FIcon->Assign(V); }
  TCanvas* Canvas() const { return FCanvas.get(); }

  TRect ClientRect() override;
  void SetClientWidth(Integer V) override;
  void SetClientHeight(Integer V) override;
  Integer GetClientWidthProp() { return ClientWidth(); }
  Integer GetClientHeightProp() { return ClientHeight(); }
  void SetClientWidthProp(Integer V) { SetClientWidth(V); }
  void SetClientHeightProp(Integer V) { SetClientHeight(V); }

  bool DoKeyDown(TMessage& Message) override;
  bool DoKeyUp(TMessage& Message) override;
  bool DoKeyPress(TMessage& Message) override;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent GetOnCreate() const { return OnCreate; }
  void SetOnCreate(TNotifyEvent V) { OnCreate = V; }
  TNotifyEvent GetOnDestroy() const { return OnDestroy; }
  void SetOnDestroy(TNotifyEvent V) { OnDestroy = V; }
  TNotifyEvent GetOnShow() const { return OnShow; }
  void SetOnShow(TNotifyEvent V) { OnShow = V; }
  TNotifyEvent GetOnActivate() const { return OnActivate; }
  void SetOnActivate(TNotifyEvent V) { OnActivate = V; }
  TCloseEvent GetOnClose() const { return OnClose; }
  void SetOnClose(TCloseEvent V) { OnClose = V; }
  TCloseQueryEvent GetOnCloseQuery() const { return OnCloseQuery; }
  void SetOnCloseQuery(TCloseQueryEvent V) { OnCloseQuery = V; }

 protected:
  void CMShowingChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  virtual void WMClose(TMessage& Message);
  virtual void CMRelease(TMessage& Message);
  virtual void WMActivate(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMDpiChanged(TMessage& Message);

  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoClose(TCloseAction& Action);
  void Activate();
  void Deactivate();
  void SetWindowToMonitor();
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Reads the form's resource (by class name) when there is one.
  bool InitFromResource();
  bool IsTopLevelWindow() const override { return FParent == nullptr; }

 private:
  void ShowingChanged();
  TWinControl* FActiveControl = nullptr;
  TWinControl* FFocusedControl = nullptr;
  TModalResult FModalResult = mrNone;
  TFormBorderStyle FBorderStyle = bsSizeable;
  TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
  TPosition FPosition = poDefaultPosOnly;
  TWindowState FWindowState = wsNormal;
  TFormStyle FFormStyle = fsNormal;
  TPopupMode FPopupMode = pmNone;
  TCustomForm* FPopupParent = nullptr;
  bool FKeyPreview = false;
  bool FScaled = true;
  bool FActive = false;
  bool FShown = false;
  bool FBuiltInCode = false;
  Integer FPixelsPerInch;  // set by the constructor
  Integer FTextHeight = 13;
  Integer FClientWidth = 0;
  Integer FClientHeight = 0;
  Integer FModalLevel = 0;
  TOwned<TIcon> FIcon;
  TOwned<TControlCanvas> FCanvas;
};

class TForm : public TCustomForm {
  DECLARE_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};
using TFormClass = TClass;

class TScreen : public TComponent {
  DECLARE_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* AOwner);
  ~TScreen() override;

  Integer FormCount() const { return static_cast<Integer>(FForms.size()); }
  TCustomForm* Forms(Integer Index) const { return FForms.at(static_cast<size_t>(Index)); }
  TCustomForm* ActiveForm() const { return FActiveForm; }
  TWinControl* ActiveControl() const { return FActiveControl; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor V);
  HCURSOR Cursors(TCursor Index);
  void SetCursors(TCursor Index, HCURSOR Handle);
  Integer PixelsPerInch() const { return FPixelsPerInch; }
  Integer Width() const { return GetSystemMetrics(SM_CXSCREEN); }
  Integer Height() const { return GetSystemMetrics(SM_CYSCREEN); }
  TRect WorkAreaRect() const;
  TRect DesktopRect() const;
  Integer MonitorCount() const { return GetSystemMetrics(SM_CMONITORS); }
  TRect MonitorWorkArea(HMONITOR Monitor) const;
  const std::vector<String>& Fonts();
  TFont* IconFont() const { return FIconFont.get(); }
  TFont* MenuFont() const { return FMenuFont.get(); }
  TFont* HintFont() const { return FHintFont.get(); }
  TFont* MessageFont() const { return FMessageFont.get(); }

 private:
  friend class TCustomForm;
  void AddForm(TCustomForm* F) { FForms.push_back(F); }
  void RemoveForm(TCustomForm* F);
  void SetActiveForm(TCustomForm* F, TWinControl* Control);
  std::vector<TCustomForm*> FForms;
  TCustomForm* FActiveForm = nullptr;
  TWinControl* FActiveControl = nullptr;
  TCursor FCursor = crDefault;
  Integer FPixelsPerInch;  // set by the constructor
  std::vector<std::pair<TCursor, HCURSOR>> FCursorList;
  std::vector<String> FFonts;
  TOwned<TFont> FIconFont, FMenuFont, FHintFont, FMessageFont;
};

using TExceptionEvent = TMethodPtr<void(TObject* Sender, Exception* E)>;
using TIdleEvent = TMethodPtr<void(TObject* Sender, bool& Done)>;
// Sees a message of the application's hidden window before the application
// does; true means handled.
using TWindowHook = TMethodPtr<bool(TMessage& Message)>;

class THintWindow;

class TApplication : public TComponent {
  DECLARE_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* AOwner);
  ~TApplication() override;

  // Initialises COM (single-threaded apartment, with OLE) for the UI thread.
  void Initialize();
  // Creates a form of AClass owned by the application; the first one
  // becomes the main form.
  template <class T>
  void CreateForm(T*& Reference) {
    Reference = static_cast<T*>(CreateFormByClass(T::StaticClass()));
  }
  TCustomForm* CreateFormByClass(TClass AClass);
  void Run();
  void ProcessMessages();
  // Handles one message, or does the idle work and sleeps until there is
  // more to do: a message, work a thread hands over, or (when given) the
  // signalled AAlsoWaitFor, for a modal loop that waits for a process.
  void HandleMessage(HANDLE AAlsoWaitFor = nullptr);
  void Terminate();
  bool Terminated() const { return FTerminated; }
  void HandleException(TObject* Sender);
  void ShowException(Exception* E);
  Integer MessageBox(const String& Text, const String& Caption, UINT Flags = MB_OK);
  void Minimize();
  void Restore();
  void BringToFront();
  void CancelHint();

  HWND Handle() const { return FHandle; }
  TCustomForm* MainForm() const { return FMainForm; }
  bool MainFormOnTaskBar() const { return FMainFormOnTaskBar; }
  void SetMainFormOnTaskBar(bool V) { FMainFormOnTaskBar = V; }
  bool ShowMainForm() const { return FShowMainForm; }
  void SetShowMainForm(bool V) { FShowMainForm = V; }
  String Title() const;
  void SetTitle(const String& V);
  String ExeName() const;
  Integer ModalLevel() const { return FModalLevel; }
  void ModalStarted() { ++FModalLevel; }
  void ModalFinished() { --FModalLevel; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool V) { FShowHint = V; }
  Integer HintPause() const { return FHintPause; }
  void SetHintPause(Integer V) { FHintPause = V; }
  Integer HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(Integer V) { FHintHidePause = V; }
  THintWindow* HintWindow() const { return FHintWindow; }
  // The control a graphic child captured the mouse for.
  TControl* CaptureControl() const { return FCaptureControl; }
  void SetCaptureControl(TControl* V) { FCaptureControl = V; }
  TControl* ControlUnderMouse() const { return FMouseControl; }
  // The hidden window is the one that hears broadcasts (setting and clock
  // changes); hooks let other hidden windows follow them.
  void HookMainWindow(TWindowHook Hook);
  void UnhookMainWindow(TWindowHook Hook);
  // Whether a change of the user's regional formats is read again into the
  // process-wide format settings (true unless switched off).
  bool UpdateFormatSettings() const { return FUpdateFormatSettings; }
  void SetUpdateFormatSettings(bool V) { FUpdateFormatSettings = V; }
  void ControlDestroyed(TControl* Control);
  void HintMouseMessage(TControl* Control, TMessage& Message);

  TExceptionEvent OnException;
  TIdleEvent OnIdle;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

 private:
  friend class TCustomForm;
  bool ProcessMessage(MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  bool IsDlgMsg(MSG& Msg);
  // The work of an empty queue, once each time it empties: OnIdle and the
  // mouse-over of graphic controls (windowed ones track the mouse
  // themselves).
  void Idle(const MSG& Msg);
  void DoMouseIdle();
  // Sleeps until a message arrives, a thread hands work over or AAlso is
  // signalled.
  void WaitForWork(HANDLE AAlso);
  // Called by a thread that handed work over: wakes the main thread, also
  // inside a modal loop of the platform (menus, message boxes).
  void WakeMainThreadHandler(TObject* Sender);
  void WndProc(TMessage& Message);
  void HintTimerExpired();
  void ActivateHint(const TPoint& CursorPos);

  HWND FHandle = nullptr;
  TCustomForm* FMainForm = nullptr;
  bool FMainFormOnTaskBar = false;
  bool FShowMainForm = true;
  bool FTerminated = false;
  bool FRunning = false;
  bool FInitializedCOM = false;
  String FTitle;
  Integer FModalLevel = 0;
  bool FShowHint = true;
  Integer FHintPause = 500;
  std::vector<TWindowHook> FWindowHooks;
  bool FUpdateFormatSettings = true;
  Integer FHintHidePause = 2500;
  THintWindow* FHintWindow = nullptr;
  TControl* FHintControl = nullptr;
  bool FHintActive = false;
  TControl* FMouseControl = nullptr;
  TControl* FCaptureControl = nullptr;
};

// The tooltip-like window the application shows for control hints.
class THintWindow : public TCustomControl {
  DECLARE_CLASS(THintWindow, TCustomControl)
 public:
  explicit THintWindow(TComponent* AOwner);
  virtual void ActivateHint(const TRect& Rect, const String& AHint);
  virtual TRect CalcHintRect(Integer MaxWidth, const String& AHint);
  void ReleaseHandle();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};

class TTimer : public TComponent {
  DECLARE_CLASS(TTimer, TComponent)
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool V);
  Cardinal Interval() const { return FInterval; }
  void SetInterval(Cardinal V);
  TNotifyEvent OnTimer;
  TNotifyEvent GetOnTimer() const { return OnTimer; }
  void SetOnTimer(TNotifyEvent V);

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(TMessage& Message);
  bool FEnabled = true;
  Cardinal FInterval = 1000;
  HWND FWindowHandle = nullptr;
};

// The one exception boundary of platform callbacks (window procedures,
// enumeration, timer and hook callbacks). Called inside the catch block at
// the callback, it hands the exception in flight to
// Application->HandleException. Nothing leaves it: without an application
// object, or when the handler (its OnException) raises in turn, the
// exception goes to the debugger output; EAbort stays silent.
void HandleCallbackException(TObject* Sender = nullptr) noexcept;

// Runs ABody at a callback boundary.
template <class F>
void CallbackBoundary(TObject* Sender, F&& ABody) noexcept {
  try {
    ABody();
  } catch (...) {
    HandleCallbackException(Sender);
  }
}

// The process-wide objects: created by Forms_Initialize, freed by
// Forms_Finalize; nullptr outside that span.
TApplication* Application();
TScreen* Screen();
TCustomForm* GetParentForm(TControl* Control, bool TopForm = true);

void Forms_Initialize();
void Forms_Finalize();
