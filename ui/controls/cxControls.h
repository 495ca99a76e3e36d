// The control framework: the process-wide window services (message window,
// system controller, system information, message locking, subclassing),
// window and input routines, mouse tracking, and the base control.
#pragma once

#include <vector>

#include "Controls.h"
#include "Forms.h"
#include "Messages.h"
#include "cxClasses.h"
#include "cxGeometry.h"
#include "cxGraphics.h"
#include "dxCore.h"
#include "dxCoreClasses.h"

#include "Menus.h"
#include "StdCtrls.h"
#include "cxDrawTextUtils.h"
#include "cxLookAndFeelPainters.h"

// ---------------------------------------------------------------------------
// Window routines. The rectangle routines of the foundation (cxGetWindowRect,
// cxGetClientRect, cxGetWindowBounds, cxGetClientOffset, dxMapWindowRect,
// IsChildClassWindow) serve this layer too.
enum TdxSetOperation { soSet, soAdd, soSubtract };
enum TdxWindowStyleIndex { wsiStyle = GWL_STYLE, wsiExStyle = GWL_EXSTYLE };

TRect cxGetWindowRect(TWinControl* AControl);
TPoint cxClientToScreen(HWND AWnd, const TPoint& P);
// Client to client coordinates when AClient, else window to window; handle
// nullptr is the screen.
TPoint dxMapWindowPoint(HWND AHandleFrom, HWND AHandleTo, const TPoint& P, bool AClient = true);
TRect GetDesktopWorkArea(const TPoint& P);
TRect GetMonitorWorkArea(HMONITOR AMonitor);
// Moves ABounds into the work area at ADesktopPoint; left and top win.
void MakeVisibleOnDesktop(TRect& ABounds, const TPoint& ADesktopPoint);
// The deepest visible window at the screen point.
HWND cxWindowFromPoint(const TPoint& P);
void cxRedrawNCRect(HWND AWnd, const TRect& R);
// Returns the previous value.
LONG_PTR dxSetWindowStyle(HWND AHandle, LONG_PTR ANewStyle, TdxSetOperation AOperation = soSet,
                          TdxWindowStyleIndex AStyleIndex = wsiStyle);
WNDPROC dxSetWindowProc(HWND AHandle, WNDPROC AProc);
void dxSetZOrder(HWND AHandle, HWND AWndAfter = HWND_TOP, bool AActivate = false, UINT AFlags = 0);
bool dxWindowHasRightToLeftLayout(HWND AWnd);
bool dxIsCurrentProcessWindow(HWND AWnd);
bool IsChildEx(HWND AParent, HWND AChild);
// Enabled, and so is every parent up to the first top-level window.
bool IsWindowEnabledEx(HWND AWnd);
bool IsControlVisible(TWinControl* AControl);
// The framework control of the window or of its nearest ancestor that has one.
TWinControl* cxFindVCLControl(HWND AWnd);
TWinControl* dxFindParentControl(HWND AWnd);
TCustomForm* dxGetParentForm(HWND AWnd);
TComponent* cxFindComponent(TComponent* AOwner, TClass AClass);
// The screen's active form, else the form of the platform's active window.
TCustomForm* dxGetScreenActiveForm();
TFormStyle FormStyle(TCustomForm* AForm);
bool IsMDIChild(TCustomForm* AForm);
bool dxIsMDIChildWindow(HWND AWnd);
// Performs AMsg on the control and on each parent up to (not including) the
// first form.
void dxPerformMessageByQueue(TControl* AControl, UINT AMsg);
// Posted (APostponed) or at once, for a control that has a window.
void cxRecreateControlWnd(TWinControl* AControl, bool APostponed = false);

// Painting.
bool dxGetUpdateRgn(TWinControl* AControl, HRGN ARegion);
// Paints the control's update through a bitmap of the paint rectangle, the
// drawing clipped to the update region.
void dxBufferedPaintControl(TWinControl* AControl);
bool cxIsDrawToMemory(const TMessage& Message);
bool cxIsUpdateLayeredWindowAvailable();
void cxUpdateLayeredWindow(HWND AHandle, TBitmap* ABitmap, Byte AAlpha = 255);
// The header a 32-bit top-down section for glowing text is made with.
BITMAPINFOHEADER dxGlassTextBitmapHeader(Integer AWidth, Integer AHeight);
// Text drawn by the window theme into ABounds of DC, composited (and glowing
// when AGlowingSize > 0), in AColor (DC's text colour for clDefault) with
// AFont (DC's font when nullptr). ATransparent keeps what DC shows behind the
// text; otherwise the bounds get the composited buffer's empty background.
void dxDrawTextOnGlass(HDC DC, const String& AText, TFont* AFont, const TRect& ABounds,
                       TColor AColor, DWORD AFlags, Integer AGlowingSize, bool ATransparent);

// Right-to-left mirroring of alignments, sides, coordinates and keys.
class TdxRightToLeftLayoutConverter {
 public:
  static TAlignment ConvertAlignment(TAlignment A);
  static TcxArrowDirection ConvertArrowDirection(TcxArrowDirection A);
  static Integer ConvertcxDrawTextAlignment(Integer AFlags);
  static TcxTextAlignX ConvertcxTextAlignX(TcxTextAlignX A);
  static TcxBorders ConvertBorders(TcxBorders A);
  static TcxNeighbors ConvertNeighbors(TcxNeighbors A);
  static Integer ConvertXCoordinate(Integer X, const TRect& AParentRect);
  static TPoint ConvertPoint(const TPoint& P, const TRect& AParentRect);
  static TRect ConvertRect(const TRect& R, const TRect& AParentRect);
  static TRect ConvertOffsets(const TRect& R);
  static Word ConvertVirtualKeyCode(Word AKey);
};

// ---------------------------------------------------------------------------
// Input routines.
enum TcxNumberType { ntInteger, ntFloat, ntExponent };
bool IsTextChar(Char C);
// Signs and digits; the decimal separator of the format settings for
// floats, also 'e' and 'E' for exponents.
bool IsNumericChar(Char C, TcxNumberType AType);
bool IsSysKey(Word AKey);
Word TranslateKey(Word AKey);
Integer ShiftStateToKeys(TShiftState AShift);
Integer GetMouseKeys();
bool cxShiftStateMoveOnly(TShiftState AShift);
bool cxShiftStateLeftOnly(TShiftState AShift, bool ACanIncludeDoubleClick = false);
bool IsCtrlPressed();
// (-1, -1) when the platform cannot tell.
TPoint GetMouseCursorPos();
void cxSetCapture(HWND AWnd);
Integer GetDblClickInterval();
bool IsPointInDragDetectArea(const TPoint& AMouseDownPos, Integer X, Integer Y);

// Popup menus: the framework's TPopupMenu, or a component of another kind
// that implements these interfaces (none in this program so far).
class IcxPopupMenu {
 public:
  virtual bool IsShortCutKey(const TMessage& AMessage) = 0;
  virtual void Popup(Integer X, Integer Y) = 0;

 protected:
  ~IcxPopupMenu() = default;
};
class IcxPopupMenu2 {
 public:
  virtual void Popup(const TPoint& P, const TRect& AOwnerBounds, TPopupAlignment AAlignment) = 0;

 protected:
  ~IcxPopupMenu2() = default;
};

bool IsPopupMenu(TComponent* APopupMenu);
bool IsPopupMenuShortCut(TComponent* APopupMenu, const TMessage& AMessage);
bool ShowPopupMenu(TComponent* ACaller, TComponent* APopupMenu, Integer X, Integer Y);
bool ShowPopupMenu(TComponent* ACaller, TComponent* APopupMenu, const TRect& AOwnerBounds,
                   TPopupAlignment APopupAlignment);
Integer GetPopupMenuHeight(TComponent* APopupMenu);
// Where a drop-down menu of AMenuHeight opens for an owner rectangle, and the
// alignment it opens with inside AWorkArea: below the owner, or above it with
// a 2-pixel gap when it would pass the work area's bottom.
struct TcxPopupMenuPlacement {
  TPoint Point;
  TPopupAlignment Alignment;
};
TcxPopupMenuPlacement cxPopupMenuPlacement(const TRect& AOwnerBounds, TPopupAlignment AAlignment,
                                           Integer AMenuHeight, const TRect& AWorkArea);

// The touch scroll UI and the hybrid scroll-bar managers of the touch and
// hybrid modes. Only the classic mode exists so far: no window has such UI,
// so there is nothing to re-check and every manager answers inactive.
class TdxScrollUIManagers {
 public:
  static bool IsActive() { return false; }
  static void CheckPosition(HWND) {}
  static void CheckVisibility(HWND) {}
};

// ---------------------------------------------------------------------------
// System controller: in a library module the run time's wake-main-thread
// request is routed through its window, so that the host's loop runs the
// queued synchronize calls.
class TcxSystemController : public TcxMessageWindow {
  DECLARE_CLASS(TcxSystemController, TcxMessageWindow)
 public:
  explicit TcxSystemController(bool AIsLibrary) : FIsLibrary(AIsLibrary) {}
  void AfterConstruction() override;
  void BeforeDestruction() override;
  bool IsLibrary() const { return FIsLibrary; }

 protected:
  void WndProc(TMessage& Message) override;

 private:
  void WakeMainThread(TObject* Sender);
  bool FIsLibrary;
  bool FHooked = false;
  TNotifyEvent FPrevWakeMainThread;
};

// ---------------------------------------------------------------------------
// System information: a cache of the parameters the controls read often,
// and the listeners told when a parameter changes.
class IdxSystemInfoListener {
 public:
  virtual void SystemInfoChanged(Cardinal AParameter) = 0;

 protected:
  ~IdxSystemInfoListener() = default;
};

class TdxSystemInfo : public TcxMessageWindow {
  DECLARE_CLASS(TdxSystemInfo, TcxMessageWindow)
 public:
  void AfterConstruction() override;
  void AddListener(IdxSystemInfoListener* AListener);
  void RemoveListener(IdxSystemInfoListener* AListener);
  // SystemParametersInfo with the sizes the platform expects for the
  // parameters that need one; true when the call succeeded.
  bool GetParameter(Cardinal AParameter, void* AValue);
  bool IsDropShadow() const { return FIsDropShadow; }
  const NONCLIENTMETRICSW& NonClientMetrics() const { return FNonClientMetrics; }
  bool IsRemoteSession() const;

 protected:
  void WndProc(TMessage& Message) override;
  void UpdateCache(Cardinal AParameter);

 private:
  bool FIsDropShadow = false;
  TdxListenerList<IdxSystemInfoListener*> FListeners;
  NONCLIENTMETRICSW FNonClientMetrics{};
};

// ---------------------------------------------------------------------------
// Locking, swallowing and purging of window messages.
class TdxMessagesController : public TObject {
  DECLARE_CLASS(TdxMessagesController, TObject)
 public:
  ~TdxMessagesController() override;
  // A message of exactly that number waits for AWnd itself (not a child).
  bool IsMessageInQueue(HWND AWnd, UINT AMessage);
  // Removes AWnd's messages in [AMsgFilterMin, AMsgFilterMax] (only
  // AMsgFilterMin when the maximum is 0): one, or all when AKillAllMessages.
  // A WM_QUIT met is posted again and ends the sweep. True when a message
  // was removed.
  bool KillMessages(HWND AWnd, UINT AMsgFilterMin, UINT AMsgFilterMax = 0,
                    bool AKillAllMessages = true);
  void LockMessages(std::initializer_list<UINT> AMessages);
  void UnlockMessages(std::initializer_list<UINT> AMessages);
  bool IsMessageLocked(UINT AMessage) const;
  // The window's next message, whatever it is, is answered 1 and not
  // delivered; the window's procedure is put back then. Only one window at
  // a time: a second block before the first message came raises.
  void BlockMessage(HWND AHandle);
  // Blocks the window when AMessage is locked and turns AMessage into WM_NULL.
  void BlockLockedMessage(HWND AHandle, UINT& AMessage);

 private:
  static LRESULT CALLBACK SwallowingWndProc(HWND AWnd, UINT AMsg, WPARAM AWParam,
                                            LPARAM ALParam) noexcept;
  std::vector<UINT> FLockedMessages;
  HWND FBlockedWnd = nullptr;
  WNDPROC FOldWndProc = nullptr;
};

// The controls' default handling of keys: the application window is offered
// a key-down first.
class TcxControlDefaultHandlerHelper {
 public:
  static bool Process(TMessage& Message);
};

// ---------------------------------------------------------------------------
// Subclassing of one window by several independent parties, each removable
// in any order. A window is known by its framework control (its WindowProc
// is replaced) or by its handle (its platform procedure is replaced).
class TcxWindowProcLinkedObject : public TcxDoublyLinkedObject {
  DECLARE_CLASS(TcxWindowProcLinkedObject, TcxDoublyLinkedObject)
 public:
  TcxWindowProcLinkedObject(TControl* AControl, HWND AHandle)
      : FControl(AControl), FHandle(AHandle) {}
  // Passes the message on to the party added before this one, and at the
  // end to the window's own procedure.
  void DefaultProc(TMessage& Message);
  TControl* Control() const { return FControl; }
  HWND Handle() const { return FHandle; }
  TWndMethod WindowProc;

 private:
  TControl* FControl;
  HWND FHandle;
};

class TcxSubclassingHelper : public TObject {
  DECLARE_CLASS(TcxSubclassingHelper, TObject)
 public:
  virtual TcxWindowProcLinkedObject* CreateLinkedObject() = 0;
  virtual void RestoreDefaultProc() = 0;
  virtual void StoreAndReplaceDefaultProc(TWndMethod AWndProc) = 0;
  const TWndMethod& DefaultWindowProc() const { return FDefaultWindowProc; }

 protected:
  TWndMethod FDefaultWindowProc;
};

class TcxVCLSubclassingHelper : public TcxSubclassingHelper {
  DECLARE_CLASS(TcxVCLSubclassingHelper, TcxSubclassingHelper)
 public:
  explicit TcxVCLSubclassingHelper(TControl* AControl) : FControl(AControl) {}
  TcxWindowProcLinkedObject* CreateLinkedObject() override;
  void RestoreDefaultProc() override;
  void StoreAndReplaceDefaultProc(TWndMethod AWndProc) override;

 private:
  TControl* FControl;
};

class TcxWin32SubclassingHelper : public TcxSubclassingHelper {
  DECLARE_CLASS(TcxWin32SubclassingHelper, TcxSubclassingHelper)
 public:
  explicit TcxWin32SubclassingHelper(HWND AHandle) : FHandle(AHandle) {}
  ~TcxWin32SubclassingHelper() override;
  TcxWindowProcLinkedObject* CreateLinkedObject() override;
  void RestoreDefaultProc() override;
  void StoreAndReplaceDefaultProc(TWndMethod AWndProc) override;

 private:
  void DefaultWndProc(TMessage& Message);
  WNDPROC FAPIDefaultWndProc = nullptr;
  WNDPROC FAPIWndProc = nullptr;
  HWND FHandle;
};

class TcxWindowProcLinkedObjectList : public TcxDoublyLinkedObjectList {
  DECLARE_CLASS(TcxWindowProcLinkedObjectList, TcxDoublyLinkedObjectList)
 public:
  explicit TcxWindowProcLinkedObjectList(TControl* AControl);
  explicit TcxWindowProcLinkedObjectList(HWND AHandle);
  ~TcxWindowProcLinkedObjectList() override;
  void AfterConstruction() override;
  TcxWindowProcLinkedObject* AddProc(TWndMethod AWndProc);
  // Only the window's own procedure is left.
  bool IsEmpty() const;
  void WndProc(TMessage& Message);
  TControl* Control() const { return FControl; }
  HWND Handle() const { return FHandle; }

 protected:
  TcxDoublyLinkedObject* CreateLinkedObject() override;
  virtual void Initialize();

 private:
  TControl* FControl = nullptr;
  HWND FHandle = nullptr;
  TcxSubclassingHelper* FHelper = nullptr;
};

class TcxWindowProcController : public TObject {
  DECLARE_CLASS(TcxWindowProcController, TObject)
 public:
  ~TcxWindowProcController() override;
  // nullptr for a nil control or a 0 handle.
  TcxWindowProcLinkedObject* Add(TControl* AControl, TWndMethod AWndProc);
  TcxWindowProcLinkedObject* Add(HWND AHandle, TWndMethod AWndProc);
  // Unlinks the party and clears the reference; the window's own procedure
  // comes back with the last party.
  void Remove(TcxWindowProcLinkedObject*& AWndProcObject);
  Integer ChainCount() const { return static_cast<Integer>(FWindowProcObjects.size()); }

 private:
  TcxWindowProcLinkedObjectList* Chain(TControl* AControl, HWND AHandle) const;
  std::vector<TcxWindowProcLinkedObjectList*> FWindowProcObjects;
};

// ---------------------------------------------------------------------------
// Mouse tracking: a 10 ms timer per caller notices when the mouse left an
// area and tells the caller.
class IcxMouseTrackingCaller {
 public:
  virtual void MouseLeave() = 0;

 protected:
  ~IcxMouseTrackingCaller() = default;
};
class IcxMouseTrackingCaller2 : public IcxMouseTrackingCaller {
 public:
  virtual bool PtInCaller(const TPoint& P) = 0;

 protected:
  ~IcxMouseTrackingCaller2() = default;
};
class IcxMouseTrackingCaller3 : public IcxMouseTrackingCaller2 {
 public:
  virtual bool IsCaptureMouse() = 0;

 protected:
  ~IcxMouseTrackingCaller3() = default;
};

class TMouseTrackingTimer : public TcxTimer {
  DECLARE_CLASS(TMouseTrackingTimer, TcxTimer)
 public:
  TMouseTrackingTimer();
  IcxMouseTrackingCaller* Caller = nullptr;
  TWinControl* Control() const { return FControl; }
  TRect Bounds{};
  void SetControl(TWinControl* AControl);
  // One step of the check; the timer calls it every 10 ms.
  void Check();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void Tick(TObject* Sender);
  bool IsCallerMouse() const;
  bool IsParentFormDisabled() const;
  bool MustFinish() const;
  TWinControl* FControl = nullptr;
};

void BeginMouseTracking(TWinControl* AControl, const TRect& ABounds,
                        IcxMouseTrackingCaller* ACaller);
void EndMouseTracking(IcxMouseTrackingCaller* ACaller);
bool IsMouseTracking(IcxMouseTrackingCaller* ACaller);
TMouseTrackingTimer* GetMouseTrackingTimer(IcxMouseTrackingCaller* ACaller);
TdxFastList* MouseTrackingTimerList();

// ---------------------------------------------------------------------------
// Forms that must stay above the others while the application runs a modal
// loop (a form shown before the modal one would otherwise fall behind it).
class TdxApplicationActivateWindowHelper : public TObject {
  DECLARE_CLASS(TdxApplicationActivateWindowHelper, TObject)
 public:
  TdxApplicationActivateWindowHelper();
  ~TdxApplicationActivateWindowHelper() override;
  void AddWindow(TCustomForm* AForm);
  void RemoveWindow(TCustomForm* AForm);
  void NormalizeTopMostWindows(TCustomForm* AForm);
  Integer Count() const { return static_cast<Integer>(FWindowsList.size()); }

 private:
  void FreeNotification(TComponent* Sender);
  TcxFreeNotificator* FFreeNotificator;
  std::vector<TCustomForm*> FWindowsList;
};
TdxApplicationActivateWindowHelper* dxApplicationActivateWindowHelper();

// The call-window-procedure hook that keeps the touch and hybrid scroll UI
// of a window in place while the window moves, sizes, hides or closes.
enum TcxScrollUICheck { suicNone, suicPosition, suicVisibility };
TcxScrollUICheck cxScrollUICheckFor(UINT AMsg, WPARAM AWParam, LPARAM ALParam);
void cxControlWndProcHook(Integer ACode, WPARAM wParam, LPARAM lParam, LRESULT& AHookResult);

// ---------------------------------------------------------------------------
// Process-wide services. Each accessor makes its object on first use; once
// the module's shut-down has begun it makes none and answers nullptr.
TcxMessageWindow* cxMessageWindow();
TdxSystemInfo* dxSystemInfo();
TdxMessagesController* dxMessagesController();
TcxWindowProcController* cxWindowProcController();
TcxSystemController* cxSystemController();
// Removes a listener from the system information when that exists.
void dxRemoveSystemInfoListener(IdxSystemInfoListener* AListener);

void cxControls_Initialize();
void cxControls_Finalize();
