// Forms, the screen and the application object.
#pragma once

#include <atomic>
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

enum TScrollBarKind { sbHorizontal, sbVertical };
using TScrollBarInc = SmallInt;
// What a scroll bar reports (the platform's SB_ codes in order).
enum TScrollCode {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};

class TScrollingWinControl;

// One scroll bar of a scrolling control: the range is the extent of the
// content (the children, when the control scrolls automatically), the
// position how far the content is scrolled; the bar shows while the range
// exceeds the client size.
class TControlScrollBar : public TPersistent {
  DECLARE_CLASS(TControlScrollBar, TPersistent)
 public:
  TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind);
  void Assign(TPersistent* Source) override;

  TScrollBarKind Kind() const { return FKind; }
  // A line's step (the arrows); 1..32767.
  TScrollBarInc Increment() const { return FIncrement; }
  void SetIncrement(TScrollBarInc V);
  // Room kept beyond the last child when the range is automatic.
  Integer Margin() const { return FMargin; }
  void SetMargin(Integer V);
  // 0..Range - client size; setting it scrolls the content.
  Integer Position() const { return FPosition; }
  void SetPosition(Integer V);
  Integer Range() const { return FRange; }
  // Setting a range switches the control's automatic range off.
  void SetRange(Integer V);
  // The content follows the thumb while it is dragged.
  bool Tracking() const { return FTracking; }
  void SetTracking(bool V) { FTracking = V; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool V);
  // Visible and needed (the range exceeds the client size).
  bool IsScrollBarVisible();
  // The position, 0 while the bar is not shown.
  Integer ScrollPos();

 protected:
  TPersistent* GetOwner() override;

 private:
  friend class TScrollingWinControl;
  // The client size along the bar; with ControlSB the window's own client
  // size, otherwise assuming the other bar shown (AssumeSB) or hidden.
  Integer ControlSize(bool ControlSB, bool AssumeSB);
  Integer MaxPosition();
  bool NeedsScrollBarVisible();
  void CalcAutoRange();
  void DoSetRange(Integer V);
  void ScrollMessage(TMessage& Message);
  void Update(bool ControlSB, bool AssumeSB);
  TScrollingWinControl* FControl;
  TScrollBarKind FKind;
  TScrollBarInc FIncrement = 8;
  Integer FMargin = 0;
  Integer FPosition = 0;
  Integer FRange = 0;
  bool FTracking = false;
  bool FVisible = true;
};

// A windowed control whose content (its children) can be larger than its
// client area and is scrolled with the window's own scroll bars.
class TScrollingWinControl : public TWinControl {
  DECLARE_CLASS(TScrollingWinControl, TWinControl)
 public:
  explicit TScrollingWinControl(TComponent* AOwner);
  ~TScrollingWinControl() override;

  TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
  void SetHorzScrollBar(TControlScrollBar* V) { FHorzScrollBar->Assign(V); }
  TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
  void SetVertScrollBar(TControlScrollBar* V) { FVertScrollBar->Assign(V); }
  // The ranges follow the children (the default); off, they are set by hand.
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool V);
  // Scrolls so that AControl (a control inside this one) is in view.
  void ScrollInView(TControl* AControl);
  // Holds the automatic ranges while many children change.
  void DisableAutoRange();
  void EnableAutoRange();

  void AlignControls(TControl* AControl, TRect& Rect) override;
  void ChangeScale(Integer M, Integer D) override;

 protected:
  // The area the children are aligned in: the whole scrolled content.
  void AdjustClientRect(TRect& Rect) override;
  void CreateWnd() override;
  // Scrolls by the system's wheel lines (Shift or no vertical bar:
  // horizontally) when OnMouseWheel leaves the wheel unhandled.
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) override;
  // The window's own scroll bars (a scroll bar control's message, with its
  // window in LParam, goes on to that control).
  void WMHScroll(TMessage& Message) override;
  void WMVScroll(TMessage& Message) override;
  // Brings the newly focused control into view.
  void CMFocusChanged(TMessage& Message) override;

 private:
  friend class TControlScrollBar;
  void CalcAutoRange();
  void UpdateScrollBars();
  TOwned<TControlScrollBar> FHorzScrollBar;
  TOwned<TControlScrollBar> FVertScrollBar;
  bool FAutoScroll = true;
  Integer FAutoRangeCount = 0;
  bool FUpdatingScrollBars = false;
};

// A box of controls with a border that scrolls its content.
class TScrollBox : public TScrollingWinControl {
  DECLARE_CLASS(TScrollBox, TScrollingWinControl)
 public:
  explicit TScrollBox(TComponent* AOwner);
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  // bsNone or bsSingle (a sunken edge).
  void SetBorderStyle(TFormBorderStyle V);

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  TFormBorderStyle FBorderStyle = bsSingle;
};

// A frame: a reusable group of controls designed once, with its own form
// resource (of its class name), placed on forms as a child control.
class TCustomFrame : public TScrollingWinControl {
  DECLARE_CLASS(TCustomFrame, TScrollingWinControl)
 public:
  explicit TCustomFrame(TComponent* AOwner);
  // Reads the resources of the frame's class and its ancestors; a frame
  // class without one raises EResNotFound.
  void AfterConstruction() override;
  // As a root, a frame streams its controls and its other components.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
};

class TFrame : public TCustomFrame {
  DECLARE_CLASS(TFrame, TCustomFrame)
 public:
  using TCustomFrame::TCustomFrame;
};

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
  // Virtual: a form may refuse a control or guard the change.
  virtual bool SetFocusedControl(TWinControl* Control);
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

  // Updates the actions of the form and of its visible action clients.
  virtual void UpdateActions();
  // Executes the action of an action list the form owns that has the
  // shortcut; true when one did.
  virtual bool IsShortCut(TShortCut ShortCut);

 protected:
  void CMShowingChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMDialogKey(TMessage& Message) override;
  virtual void WMClose(TMessage& Message);
  virtual void CMRelease(TMessage& Message);
  virtual void WMActivate(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMDpiChanged(TMessage& Message);
  // Offer an action (LParam) to the active control, the form and its
  // visible controls as a target; Result 1 when one took it.
  virtual void CMActionExecute(TMessage& Message);
  virtual void CMActionUpdate(TMessage& Message);

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
  // Cursors the program gave the screen; the screen destroys them.
  std::vector<std::pair<TCursor, TCursorHandle>> FCursorList;
  std::vector<String> FFonts;
  TOwned<TFont> FIconFont, FMenuFont, FHintFont, FMessageFont;
};

using TExceptionEvent = TMethodPtr<void(TObject* Sender, Exception* E)>;
using TIdleEvent = TMethodPtr<void(TObject* Sender, bool& Done)>;
// Decides a help request first; clearing CallHelp keeps the platform's help
// from being asked.
using THelpEvent = TMethodPtr<bool(Word Command, NativeInt Data, bool& CallHelp)>;
// Sees a message of the application's hidden window before the application
// does; true means handled.
using TWindowHook = TMethodPtr<bool(TMessage& Message)>;

class THintWindow;

// A hint about to be shown. Handlers of OnShowHint, and the hinted control
// through CM_HINTSHOW (LParam points here), may change any of it.
struct THintInfo {
  TControl* HintControl = nullptr;
  // The window class that shows this hint (a THintWindow descendant).
  TClass HintWindowClass = nullptr;
  // Where the hint's top-left corner goes, in screen coordinates.
  TPoint HintPos{};
  Integer HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  // The cursor position, in the control's client coordinates.
  TPoint CursorPos{};
  // Milliseconds the hint stays.
  Integer HideTimeout = 0;
  String HintStr;
  // Handed to the window's CalcHintRect and ActivateHintData.
  void* HintData = nullptr;
};
using TShowHintEvent = TMethodPtr<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
// A message the application's loop took from the queue; Handled keeps it from
// being translated and dispatched.
using TMessageEvent = TMethodPtr<void(MSG& Msg, bool& Handled)>;

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
  // Help: OnHelp first, then, unless it cleared CallHelp, the platform's help
  // with the help file (HELP_CONTEXT, HELP_FINDER, ...). Without a help file
  // the platform is not asked. Returns whether help was shown.
  bool HelpCommand(Word Command, NativeInt Data);
  bool HelpContext(Integer Context);
  const String& HelpFile() const { return FHelpFile; }
  void SetHelpFile(const String& V) { FHelpFile = V; }
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
  // The pause before the next control's hint while a hint shows.
  Integer HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(Integer V) { FHintShortPause = V; }
  // Whether a hint taken from an action shows the action's shortcut too.
  bool HintShortCuts() const { return FHintShortCuts; }
  void SetHintShortCuts(bool V) { FHintShortCuts = V; }
  THintWindow* HintWindow() const { return FHintWindow; }
  // The window class the application's hints are shown with (THintWindow
  // or a descendant); the next hint uses a new one.
  TClass HintWindowClass() const { return FHintWindowClass; }
  void SetHintWindowClass(TClass Value);
  // Shows the hint of the control at the screen point at once (after
  // CM_HINTSHOW and OnShowHint); nothing when it has none.
  void ActivateHint(const TPoint& CursorPos);
  TShowHintEvent OnShowHint;
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

  // OnActionExecute / OnActionUpdate: true when the handler took the action.
  bool ExecuteAction(TBasicAction* Action) override;
  bool UpdateAction(TBasicAction* Action) override;
  // Offers an action to the active form's, then the main form's controls
  // (CM_ACTIONEXECUTE or CM_ACTIONUPDATE); true when one took it.
  bool DispatchAction(UINT Msg, TBasicAction* Action);
  TActionEvent OnActionExecute;
  TActionEvent OnActionUpdate;

  // Messages the loop takes from the queue, before they are translated and
  // dispatched: OnMessage first, then the listeners (application-events
  // objects), the one added last first, until one sets Handled. Sent
  // messages never pass here.
  TMessageEvent OnMessage;
  void AddMessageListener(TMessageEvent AListener);
  void RemoveMessageListener(TMessageEvent AListener);

  TExceptionEvent OnException;
  THelpEvent OnHelp;
  TIdleEvent OnIdle;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

 private:
  friend class TCustomForm;
  bool ProcessMessage(MSG& Msg);
  // OnMessage and the listeners; true when one handled the message.
  bool DoMessage(MSG& Msg);
  bool IsKeyMsg(MSG& Msg);
  bool IsDlgMsg(MSG& Msg);
  // The work of an empty queue, once each time it empties: OnIdle and the
  // mouse-over of graphic controls (windowed ones track the mouse
  // themselves).
  void Idle(const MSG& Msg);
  void DoMouseIdle();
  // Updates the actions of every shown, enabled form.
  void DoActionIdle();
  // Sleeps until a message arrives, a thread hands work over or AAlso is
  // signalled.
  void WaitForWork(HANDLE AAlso);
  // Called by a thread that handed work over: wakes the main thread, also
  // inside a modal loop of the platform (menus, message boxes).
  void WakeMainThreadHandler(TObject* Sender);
  void WndProc(TMessage& Message);
  void HintTimerExpired();

  HWND FHandle = nullptr;
  String FHelpFile;
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
  std::vector<TMessageEvent> FMessageListeners;
  bool FUpdateFormatSettings = true;
  Integer FHintHidePause = 2500;
  Integer FHintShortPause = 50;
  bool FHintShortCuts = true;
  THintWindow* FHintWindow = nullptr;
  TClass FHintWindowClass = nullptr;
  TControl* FHintControl = nullptr;
  bool FHintActive = false;
  TControl* FMouseControl = nullptr;
  TControl* FCaptureControl = nullptr;
  // The main thread sleeps in WaitForWork, where the synchronize event
  // alone wakes it.
  std::atomic<bool> FSleeping{false};
};

// The tooltip-like window the application shows for control hints.
class THintWindow : public TCustomControl {
  DECLARE_CLASS(THintWindow, TCustomControl)
 public:
  explicit THintWindow(TComponent* AOwner);
  // Shows the hint topmost at Rect (screen coordinates) without activating.
  virtual void ActivateHint(const TRect& Rect, const String& AHint);
  // The same with the data of THintInfo; the base ignores the data.
  virtual void ActivateHintData(const TRect& Rect, const String& AHint, void* AData);
  // The rectangle (at 0, 0) the hint needs at most MaxWidth wide.
  virtual TRect CalcHintRect(Integer MaxWidth, const String& AHint, void* AData);
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
