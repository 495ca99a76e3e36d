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

// ---------------------------------------------------------------------------
// Drag and drop inside a control, drag images and the size frame.
class TcxControl;

enum TcxDragDetect { ddNone, ddDrag, ddCancel };

// The images a control shows under the pointer while the framework drags it.
class TcxDragImageList : public TCustomImageList {
  DECLARE_CLASS(TcxDragImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};

// The alpha a new drag image starts with.
constexpr Byte cxDragAndDropWindowTransparency = 180;

// One internal drag-and-drop operation of a control: the control hands it
// the mouse moves and the keys while it holds the capture. A control makes a
// fresh object for every operation and frees it when the operation ends.
class TcxDragAndDropObject : public TObject {
  DECLARE_CLASS(TcxDragAndDropObject, TObject)
 public:
  using TOwnerType = TcxControl;
  explicit TcxDragAndDropObject(TcxControl* AControl);

  void DoBeginDragAndDrop();
  void DoDragAndDrop(const TPoint& P, bool& Accepted);
  void DoEndDragAndDrop(bool Accepted);
  // A key while dragging; true when the object used it.
  bool DoProcessKeyDown(const TMessage& Message);
  bool DoProcessKeyUp(const TMessage& Message);
  // The operation begins on the press itself, without waiting for the
  // pointer to leave the drag threshold.
  virtual bool GetImmediateStart() { return false; }

  TcxControl* Control() const { return FControl; }
  TcxCanvas* Canvas() const { return FCanvas; }
  bool Dirty() const { return FDirty; }
  void SetDirty(bool AValue);
  // In the object's coordinates (the control's client coordinates divided
  // by the zoom); (-1, -1) until the operation begins.
  TPoint CurMousePos{-1, -1};
  TPoint PrevMousePos{-1, -1};

 protected:
  virtual void DirtyChanged() {}
  virtual TPoint GetClientCursorPos();
  virtual TCursor GetDragAndDropCursor(bool Accepted);
  // In percent.
  virtual Integer GetZoomFactor() { return 100; }
  virtual void AfterDragAndDrop(bool Accepted) {}
  virtual void BeforeBeginDragAndDrop() {}
  virtual void BeginDragAndDrop() { DirtyChanged(); }
  virtual void DragAndDrop(const TPoint& P, bool& Accepted);
  virtual void EndDragAndDrop(bool Accepted);
  virtual bool ProcessKeyDown(Word AKey, TShiftState AShift) { return false; }
  virtual bool ProcessKeyUp(Word AKey, TShiftState AShift) { return false; }
  virtual TPoint TranslateCoords(const TPoint& P);

 private:
  friend class TcxControl;
  TcxCanvas* FCanvas;
  TcxControl* FControl;
  bool FDirty = false;
  // Calls of the control into the object that have not returned yet.
  Integer FActiveCalls = 0;
};

// A window that follows the pointer while something is dragged: topmost,
// never activated, transparent for the mouse, and by default alpha-blended.
// It has no owner component; whoever makes one frees it.
class TcxCustomDragImage : public TCustomControl {
  DECLARE_CLASS(TcxCustomDragImage, TCustomControl)
 public:
  TcxCustomDragImage();
  ~TcxCustomDragImage() override;
  void AfterConstruction() override;

  // Takes the size of ASourceBounds; ASourcePoint (where the pointer holds
  // the dragged thing) keeps its place under the pointer in MoveTo.
  void Init(const TRect& ASourceBounds, const TPoint& ASourcePoint);
  void MoveTo(const TPoint& APosition);
  void Offset(Integer X, Integer Y);
  void Show(Integer ACmdShow = SW_SHOWNA);
  void Hide();
  // The window exists and is visible.
  bool Visible();
  void SetVisible(bool AValue);

  bool AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(bool AValue);
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte AValue);
  // Alpha-blending is asked for and the platform can do it.
  bool AlphaBlended() const;
  bool TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(bool AValue);
  TColor TransparentColorValue() const { return FTransparentColorValue; }
  void SetTransparentColorValue(TColor AValue);
  // The window that owns the image's window; the active form or the main
  // window when none is set.
  TWinControl* PopupParent() const { return FPopupParent; }
  void SetPopupParent(TWinControl* AValue);
  TcxCanvas* Canvas() const { return FCanvas.get(); }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMNCHitTest(TMessage& Message) override;
  virtual void UpdateLayeredAttributes();
  virtual bool IsSkinnable() { return false; }

 private:
  HWND OwnerWindow();
  bool FAlphaBlend = false;
  Byte FAlphaBlendValue = 255;
  TOwned<TcxCanvas> FCanvas;
  TWinControl* FPopupParent = nullptr;
  TPoint FPositionOffset{0, 0};
  bool FTransparentColor = false;
  TColor FTransparentColorValue = clBlack;
};

// The frame shown while something is moved or sized: a window shaped as a
// ring of FrameWidth pixels around the given rectangle (or region), filled
// with a halftone pattern.
class TcxSizeFrame : public TcxCustomDragImage {
  DECLARE_CLASS(TcxSizeFrame, TcxCustomDragImage)
 public:
  explicit TcxSizeFrame(Integer AFrameWidth = 2);
  ~TcxSizeFrame() override;
  void AfterConstruction() override;

  // ARect in screen coordinates; the frame runs along its edges.
  void DrawSizeFrame(const TRect& ARect);
  // The frame runs along the edges of ARegion, given in coordinates of
  // ARect's top-left corner.
  void DrawSizeFrame(const TRect& ARect, const TcxRegion* ARegion);
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  // The whole region is shown, not only its ring.
  bool FillSelection() const { return FFillSelection; }
  void SetFillSelection(bool AValue) { FFillSelection = AValue; }
  Integer FrameWidth() const { return FFrameWidth; }

 protected:
  void Paint() override;

 private:
  void MakeFrameRing();
  void ApplyWindowRegion();
  bool FFillSelection = false;
  Integer FFrameWidth;
  TOwned<TcxRegion> FRegion;
  TOwned<TBitmap> FPattern;
};

// Watches the pointer after a press at P (screen coordinates) while AWnd
// holds the mouse capture: ddDrag once it leaves the drag threshold, ddNone
// when a button is released first, ddCancel on Escape or a lost capture.
TcxDragDetect cxDragDetect(HWND AWnd, const TPoint& P);

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
