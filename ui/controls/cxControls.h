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
#include "cxScrollBar.h"
#include "dxTouch.h"

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
// The control has a window or can get one now: its parents lead to a window,
// or it is a form (an MDI child only while the main form can) or a frame
// while the application has its window.
bool CanAllocateHandle(TWinControl* AControl);
TPoint cxClientToParent(TControl* AControl, const TPoint& P, TWinControl* AParent = nullptr);
bool cxIsVCLThemesEnabled();
class TCustomStyleServices;
TCustomStyleServices* cxStyleServices();

// Painting.
bool dxGetUpdateRgn(TWinControl* AControl, HRGN ARegion);
// Paints the control's update through a bitmap of the paint rectangle, the
// drawing clipped to the update region.
void dxBufferedPaintControl(TWinControl* AControl);
bool cxIsDrawToMemory(const TMessage& Message);
// The control has a window, paints on glass (csGlassPaint) and desktop
// composition is on.
bool dxIsPaintOnGlass(TWinControl* AControl);
// Dispatches the buffered-paint messages still queued for the window of a
// control that paints on glass, so that none is lost with the window.
void dxForceProcessBufferedPaintMessages(TWinControl* AControl);
// Whether desktop composition is on, as painting on glass asks it;
// replaceable (tests).
using TdxCompositionQuery = bool (*)();
TdxCompositionQuery& dxPaintOnGlassCompositionQuery();
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
enum TcxPopupAlignHorz { pahLeft, pahCenter, pahRight };

class TdxRightToLeftLayoutConverter {
 public:
  static TAlignment ConvertAlignment(TAlignment A);
  static TcxArrowDirection ConvertArrowDirection(TcxArrowDirection A);
  static Integer ConvertcxDrawTextAlignment(Integer AFlags);
  static TcxTextAlignX ConvertcxTextAlignX(TcxTextAlignX A);
  static TcxBorders ConvertBorders(TcxBorders A);
  static TcxNeighbors ConvertNeighbors(TcxNeighbors A);
  static TcxPopupAlignHorz ConvertPopupAlignHorz(TcxPopupAlignHorz A);
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

// The cursor over a target that accepts a copy (Ctrl held).
constexpr TCursor crDragCopy = 2100;

// The framework drag object of a library control: the copy cursor when the
// target accepts and the control says the drag copies (Ctrl held). It
// frees itself once the drag has ended.
class TcxDragControlObject : public TDragControlObject {
  DECLARE_CLASS(TcxDragControlObject, TDragControlObject)
 public:
  using TDragControlObject::TDragControlObject;
  TCursor GetDragCursor(bool Accepted, Integer X, Integer Y) override;
  void Finished(TObject* Target, Integer X, Integer Y, bool Accepted) override;
};

// The framework drag object over a library control right now, or nullptr.
TDragObject* GetDragObject();

// The touch and hybrid managers seen together by the window-procedure hook:
// whether any shows bars, and the checks when a window moves or hides.
class TdxScrollUIManagers {
 public:
  static bool IsActive();
  static void CheckPosition(HWND AWnd);
  static void CheckVisibility(HWND AWnd);
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
// The base control's scroll bars: the parameters the control decides for
// each bar, windowed bars (children of the control) and windowless ones
// (painted by the control, fed its mouse messages by a router), the corner
// grip, and the set of bars a control keeps.
class TcxControl;

class TcxScrollBarData : public TObject {
  DECLARE_CLASS(TcxScrollBarData, TObject)
 public:
  // The range is consistent: sets and answers FIsValid.
  bool Validate();

  bool FAllowHide = false;
  bool FAllowShow = false;
  bool FEnabled = false;
  bool FIsValid = false;
  TScrollBarInc FLargeChange = 0;
  Integer FMin = 0;
  Integer FMax = 0;
  Integer FPosition = 0;
  Integer FPageSize = 0;
  TScrollBarInc FSmallChange = 0;
  bool FVisible = false;
};

// The one face of a control scroll bar, windowed or windowless. Not counted:
// the bar belongs to its control's set.
class IcxControlScrollBar {
 public:
  virtual void ApplyData() = 0;
  virtual TcxScrollBarData* GetData() = 0;
  // The bar's window; nullptr for a windowless bar. (The windowed bar's
  // answer is also its answer as the owner of its core, hence the calling
  // convention.)
  virtual TWinControl* STDMETHODCALLTYPE GetControl() = 0;
  virtual TRect GetBoundsRect() = 0;
  virtual void SetBoundsRect(const TRect& AValue) = 0;
  virtual bool GetEnabled() = 0;
  virtual void SetEnabled(bool AValue) = 0;
  virtual Integer GetHeight() = 0;
  virtual void SetHeight(Integer AValue) = 0;
  virtual TScrollBarKind GetKind() = 0;
  virtual void SetKind(TScrollBarKind AValue) = 0;
  virtual TScrollBarInc GetLargeChange() = 0;
  virtual void SetLargeChange(TScrollBarInc AValue) = 0;
  virtual Integer GetLeft() = 0;
  virtual void SetLeft(Integer AValue) = 0;
  virtual Integer GetMax() = 0;
  virtual void SetMax(Integer AValue) = 0;
  virtual Integer GetMin() = 0;
  virtual void SetMin(Integer AValue) = 0;
  virtual Integer GetPageSize() = 0;
  virtual void SetPageSize(Integer AValue) = 0;
  virtual Integer GetPosition() = 0;
  virtual void SetPosition(Integer AValue) = 0;
  virtual TScrollBarInc GetSmallChange() = 0;
  virtual void SetSmallChange(TScrollBarInc AValue) = 0;
  virtual Integer GetTop() = 0;
  virtual void SetTop(Integer AValue) = 0;
  virtual bool GetUnlimitedTracking() = 0;
  virtual void SetUnlimitedTracking(bool AValue) = 0;
  virtual bool GetVisible() = 0;
  virtual void SetVisible(bool AValue) = 0;
  virtual Integer GetWidth() = 0;
  virtual void SetWidth(Integer AValue) = 0;

 protected:
  ~IcxControlScrollBar() = default;
};

// A component that belongs to one control: it follows the control's scale
// factor and is listed among the control's child components.
class TcxControlChildComponent : public TcxComponent, public IdxScaleFactor {
  DECLARE_CLASS(TcxControlChildComponent, TcxComponent)
 public:
  explicit TcxControlChildComponent(TComponent* AOwner) : TcxComponent(AOwner) {}
  ~TcxControlChildComponent() override;
  void AfterConstruction() override;
  // Made through AClass with the control's owner as component owner when
  // AAssignOwner, else with none, then attached to AControl.
  static TcxControlChildComponent* CreateEx(TClass AClass, TcxControl* AControl,
                                            bool AAssignOwner = true);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() override { return FScaleFactor; }

  TComponent* GetParentComponent() const override;
  bool HasParent() const override;
  void SetParentComponent(TComponent* AValue) override;
  TcxControl* Control() const { return FControl; }
  TdxOwnedScaleFactor* ScaleFactor() const { return FScaleFactor; }
  // nullptr detaches the component from its control.
  virtual void SetControl(TcxControl* AValue);

 protected:
  virtual void Initialize() {}
  virtual void ScaleFactorChanged(Integer M, Integer D) {}

 private:
  void ScaleFactorChangeHandler(TObject* Sender, Integer M, Integer D, bool IsLoading);
  TcxControl* FControl = nullptr;
  TdxOwnedScaleFactor* FScaleFactor = nullptr;
};

// A windowed bar: a child window of its control.
class TcxControlScrollBar : public TcxScrollBar, public IcxControlScrollBar {
  DECLARE_CLASS(TcxControlScrollBar, TcxScrollBar)
  DECLARE_MESSAGE_TABLE()
 public:
  using TWinControl::DestroyHandle;
  using TWinControl::UpdateControlState;
  explicit TcxControlScrollBar(TComponent* AOwner);
  ~TcxControlScrollBar() override;
  void AfterConstruction() override;
  // Made through AClass without a component owner, for AControl.
  static TcxControlScrollBar* CreateEx(TClass AClass, TcxControl* AControl);

  // IcxControlScrollBar
  void ApplyData() override;
  TcxScrollBarData* GetData() override { return FData; }
  TWinControl* STDMETHODCALLTYPE GetControl() override { return this; }
  TRect GetBoundsRect() override { return BoundsRect(); }
  void SetBoundsRect(const TRect& AValue) override { TControl::SetBoundsRect(AValue); }
  bool GetEnabled() override { return Enabled(); }
  void SetEnabled(bool AValue) override { inherited::SetEnabled(AValue); }
  Integer GetHeight() override { return Height(); }
  void SetHeight(Integer AValue) override { TControl::SetHeight(AValue); }
  TScrollBarKind GetKind() override { return Kind(); }
  void SetKind(TScrollBarKind AValue) override { inherited::SetKind(AValue); }
  TScrollBarInc GetLargeChange() override { return LargeChange(); }
  void SetLargeChange(TScrollBarInc AValue) override { inherited::SetLargeChange(AValue); }
  Integer GetLeft() override { return Left(); }
  void SetLeft(Integer AValue) override { TControl::SetLeft(AValue); }
  Integer GetMax() override { return Max(); }
  void SetMax(Integer AValue) override { inherited::SetMax(AValue); }
  Integer GetMin() override { return Min(); }
  void SetMin(Integer AValue) override { inherited::SetMin(AValue); }
  Integer GetPageSize() override { return PageSize(); }
  void SetPageSize(Integer AValue) override { inherited::SetPageSize(AValue); }
  Integer GetPosition() override { return Position(); }
  void SetPosition(Integer AValue) override { inherited::SetPosition(AValue); }
  TScrollBarInc GetSmallChange() override { return SmallChange(); }
  void SetSmallChange(TScrollBarInc AValue) override { inherited::SetSmallChange(AValue); }
  Integer GetTop() override { return Top(); }
  void SetTop(Integer AValue) override { TControl::SetTop(AValue); }
  bool GetUnlimitedTracking() override { return UnlimitedTracking(); }
  void SetUnlimitedTracking(bool AValue) override { inherited::SetUnlimitedTracking(AValue); }
  bool GetVisible() override { return Visible(); }
  // The platform visibility.
  void SetVisible(bool AValue) override;
  Integer GetWidth() override { return Width(); }
  void SetWidth(Integer AValue) override { TControl::SetWidth(AValue); }

  TcxControl* OwnerControl() const { return FOwnerControl; }
  void SetOwnerControl(TcxControl* AValue) { FOwnerControl = AValue; }
  // Parents the bar to its control.
  virtual void InitControl();
  virtual bool IsActuallyVisible();
  // R in the control's client coordinates.
  virtual void SetOwnerControlRelativeBounds(const TRect& R);
  void SetZOrder(bool TopMost) override;

 protected:
  // CreateEx gave the bar its control.
  virtual void OwnerControlAssigned() {}
  void WndProc(TMessage& Message) override;
  virtual void DoWndProc(TMessage& Message);
  virtual void FocusParent();
  void DoPaint(TcxCanvas* ACanvas) override;
  // CM_DESIGNHITTEST (the bar works at design time) and CM_HINTSHOW (no
  // hint for the bar).
  void CMAnswerOne(TMessage& Message);

 private:
  TcxScrollBarData* FData = nullptr;
  TcxControl* FOwnerControl = nullptr;
};

// A windowless bar, painted by its control in a rectangle of the control.
class TcxControlScrollBarHelper : public TcxScrollBarHelper, public IcxControlScrollBar {
  DECLARE_CLASS(TcxControlScrollBarHelper, TcxScrollBarHelper)
 public:
  explicit TcxControlScrollBarHelper(IcxScrollBarOwner* AOwner);
  ~TcxControlScrollBarHelper() override;
  void Repaint() override;

  // IcxControlScrollBar
  void ApplyData() override;
  TcxScrollBarData* GetData() override { return FData; }
  TWinControl* STDMETHODCALLTYPE GetControl() override { return nullptr; }
  TRect GetBoundsRect() override { return BoundsRect(); }
  void SetBoundsRect(const TRect& AValue) override { inherited::SetBoundsRect(AValue); }
  bool GetEnabled() override { return Enabled(); }
  void SetEnabled(bool AValue) override { inherited::SetEnabled(AValue); }
  // Left and Top move the bar; Width and Height move its right and bottom edge.
  Integer GetHeight() override { return cxRectHeight(BoundsRect()); }
  void SetHeight(Integer AValue) override;
  TScrollBarKind GetKind() override { return Kind(); }
  void SetKind(TScrollBarKind AValue) override { inherited::SetKind(AValue); }
  TScrollBarInc GetLargeChange() override { return LargeChange(); }
  void SetLargeChange(TScrollBarInc AValue) override { inherited::SetLargeChange(AValue); }
  Integer GetLeft() override { return BoundsRect().left; }
  void SetLeft(Integer AValue) override;
  Integer GetMax() override { return Max(); }
  void SetMax(Integer AValue) override { inherited::SetMax(AValue); }
  Integer GetMin() override { return Min(); }
  void SetMin(Integer AValue) override { inherited::SetMin(AValue); }
  Integer GetPageSize() override { return PageSize(); }
  void SetPageSize(Integer AValue) override { inherited::SetPageSize(AValue); }
  Integer GetPosition() override { return Position(); }
  void SetPosition(Integer AValue) override { inherited::SetPosition(AValue); }
  TScrollBarInc GetSmallChange() override { return SmallChange(); }
  void SetSmallChange(TScrollBarInc AValue) override { inherited::SetSmallChange(AValue); }
  Integer GetTop() override { return BoundsRect().top; }
  void SetTop(Integer AValue) override;
  bool GetUnlimitedTracking() override { return UnlimitedTracking(); }
  void SetUnlimitedTracking(bool AValue) override { inherited::SetUnlimitedTracking(AValue); }
  bool GetVisible() override { return Visible(); }
  void SetVisible(bool AValue) override { inherited::SetVisible(AValue); }
  Integer GetWidth() override { return cxRectWidth(BoundsRect()); }
  void SetWidth(Integer AValue) override;

 private:
  TcxScrollBarData* FData = nullptr;
};

// The corner between the two bars.
class TcxSizeGrip : public TCustomControl {
  DECLARE_CLASS(TcxSizeGrip, TCustomControl)
 public:
  using TWinControl::DestroyHandle;
  using TWinControl::UpdateControlState;
  explicit TcxSizeGrip(TComponent* AOwner);
  ~TcxSizeGrip() override;
  void AfterConstruction() override;
  // Made through AClass without a component owner, for AControl.
  static TcxSizeGrip* CreateEx(TClass AClass, TcxControl* AControl);

  // A grip makes sense for a control at the bottom right of a sizable form
  // that is neither maximized nor minimized.
  static bool IsAvailable(TWinControl* AControl);
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel; }
  TcxControl* OwnerControl() const { return FOwnerControl; }
  void SetOwnerControl(TcxControl* AValue) { FOwnerControl = AValue; }
  virtual void InitControl();
  virtual void SetOwnerControlRelativeBounds(const TRect& R);
  void SetZOrder(bool TopMost) override;

 protected:
  virtual void Draw(TcxCanvas* ACanvas);
  void Paint() override;
  void WMEraseBkgnd(TMessage& Message) override;

 private:
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  TcxLookAndFeel* FLookAndFeel = nullptr;
  TcxControl* FOwnerControl = nullptr;
};

// Feeds the control's mouse messages to its windowless bars.
class TcxControlScrollBarsManager : public TcxIUnknownObject, public IcxMouseTrackingCaller3 {
  DECLARE_CLASS(TcxControlScrollBarsManager, TcxIUnknownObject)
 public:
  explicit TcxControlScrollBarsManager(TcxControl* AOwner) : FOwner(AOwner) {}
  ~TcxControlScrollBarsManager() override;

  void RegisterScrollBar(TcxControlScrollBarHelper* AScrollBar);
  void UnRegisterScrollBar(TcxControlScrollBarHelper* AScrollBar);
  // Called for each mouse message before the control handles it; true when
  // the message was consumed.
  virtual bool HandleMessage(TMessage& Message);
  virtual bool IsScrollBarsArea(const TPoint& P);
  virtual void Paint(TcxCanvas* ACanvas);

  bool IsCapture() const { return FIsCapture; }
  void SetIsCapture(bool AValue);
  TcxControlScrollBarHelper* HotScrollBar() const { return FHotScrollBar; }
  TcxTimer* CheckCaptureTimer() const { return FCheckCaptureTimer; }
  // The capture check's tick; tests drive it.
  void CheckCaptureTimerHandler(TObject* Sender);

  // IcxMouseTrackingCaller3
  void MouseLeave() override;
  bool PtInCaller(const TPoint& P) override;
  bool IsCaptureMouse() override { return FIsCapture; }

 protected:
  virtual bool ProcessMouseDown(TMouseButton AButton, TShiftState AShift, const TPoint& P);
  virtual bool ProcessMouseMove(TShiftState AShift, const TPoint& P);
  virtual bool ProcessMouseUp(TMouseButton AButton, TShiftState AShift, const TPoint& P);

 private:
  TPoint MessagePoint(const TMessage& Message) const;
  void SetHotScrollBar(TcxControlScrollBarHelper* AValue);
  void CancelHotScrollBar();
  TcxControlScrollBarHelper* FindScrollBar(const TPoint& P) const;
  TcxTimer* FCheckCaptureTimer = nullptr;
  bool FIsCapture = false;
  TcxControlScrollBarHelper* FHotScrollBar = nullptr;
  TcxControl* FOwner;
  std::vector<TcxControlScrollBarHelper*> FScrollBars;
};

// The bars and the grip of one control.
class TcxControlCustomScrollBars : public TcxIUnknownObject {
  DECLARE_CLASS(TcxControlCustomScrollBars, TcxIUnknownObject)
 public:
  using TOwnerType = TcxControl;
  explicit TcxControlCustomScrollBars(TcxControl* AOwner) : FOwner(AOwner) {}
  // Makes the bars and the grip through the class's operations.
  void AfterConstruction() override;
  void BeforeDestruction() override;

  void ApplyData();
  // nullptr when the set has no bar of that kind.
  virtual IcxControlScrollBar* GetScrollBar(TScrollBarKind AKind);
  virtual void BringInternalControlsToFront() {}
  // True when a bar's thickness followed a change of the system's size.
  virtual bool CheckSize(TScrollBarKind AKind) { return false; }
  virtual void CheckSizeGripVisible(bool AValue) = 0;
  virtual void Hide() {}
  virtual void InitScrollBars() {}
  virtual void UnInitScrollBars() {}
  virtual bool IsInternalControl(TControl* AControl) { return false; }
  virtual bool IsScrollBarActive(TScrollBarKind AKind);
  // While the control calculates, the data records answer, not the windows.
  virtual bool IsScrollBarVisible(TScrollBarKind AKind);
  virtual bool IsSizeGripArea(const TPoint& P) { return false; }
  virtual void SetInternalControlsBounds() {}
  virtual void UpdateInternalControlsState() {}
  virtual void Invalidate() {}
  virtual void DrawSizeGrip(TcxCanvas* ACanvas) {}

  bool Calculating() const { return FCalculating; }
  void SetCalculating(bool AValue) { FCalculating = AValue; }
  TcxControl* Owner() const { return FOwner; }
  TObject* HScrollBar() const { return FHScrollBar; }
  TObject* VScrollBar() const { return FVScrollBar; }
  TObject* SizeGrip() const { return FSizeGrip; }

 protected:
  virtual TObject* CreateScrollBar(TScrollBarKind AKind) = 0;
  virtual void CreateScrollBars();
  virtual TObject* CreateSizeGrip() = 0;
  virtual void DestroyHScrollBar();
  virtual void DestroyScrollBars();
  virtual void DestroySizeGrip();
  virtual void DestroyVScrollBar();
  // Every bar's OnScroll: the control scrolls.
  virtual void DoScroll(TObject* Sender, TScrollCode AScrollCode, Integer& AScrollPos);

  TObject* FHScrollBar = nullptr;
  TObject* FSizeGrip = nullptr;
  TObject* FVScrollBar = nullptr;

 private:
  bool FCalculating = false;
  TcxControl* FOwner;
};

// The windowed set: child windows of the control (the class a control uses
// unless it says otherwise).
class TcxControlWindowedScrollBars : public TcxControlCustomScrollBars {
  DECLARE_CLASS(TcxControlWindowedScrollBars, TcxControlCustomScrollBars)
 public:
  using TcxControlCustomScrollBars::TcxControlCustomScrollBars;

  void BringInternalControlsToFront() override;
  bool CheckSize(TScrollBarKind AKind) override;
  void CheckSizeGripVisible(bool AValue) override;
  void Hide() override;
  void InitScrollBars() override;
  void UnInitScrollBars() override;
  bool IsInternalControl(TControl* AControl) override;
  bool IsScrollBarActive(TScrollBarKind AKind) override;
  void SetInternalControlsBounds() override;
  void UpdateInternalControlsState() override;
  void Invalidate() override;

  TcxControlScrollBar* HScrollBarControl() const;
  TcxControlScrollBar* VScrollBarControl() const;
  TcxSizeGrip* SizeGripControl() const;

 protected:
  TObject* CreateScrollBar(TScrollBarKind AKind) override;
  TObject* CreateSizeGrip() override;

 private:
  void ScrollBarMouseEnter(TObject* Sender);
  void ScrollBarMouseLeave(TObject* Sender) {}
  // The grip, then the vertical and the horizontal bar.
  template <class F>
  void ForEachElement(F AProc, bool AOnlyVisible) const;
};

// Whether AOwner, a base control, scrolls its content while the left button
// drags over one of its bars (what the bar core asks through its owner link,
// filled at start-up).
bool cxControlAllowsScrollContentOnDrag(TWinControl* AOwner);

// ---------------------------------------------------------------------------
class TdxAnimationTransition;

// The touch and hybrid scroll UI: bars in layered popup windows over the
// control's edges, shown while the user scrolls or points at them, and the
// managers that decide when they show, expand and fade. The owner of the UI
// is a base control; the managers reach it through its touch and hybrid
// operations.

// The touch mode: at most one owner shows its bars at a time, and they hide
// a second after the last activity. The state is the process's: one pointer
// is where the pointer is.
class TdxTouchScrollUIModeManager {
 public:
  static void ShowScrollUI(TcxControl* AUIOwner, bool AControlledByTimer);
  static void HideScrollUI(TcxControl* AUIOwner, bool AImmediately);
  static bool IsActive(TcxControl* AUIOwner);
  static bool IsScrollUIHidden(TcxControl* AUIOwner);
  static void Deactivate(TcxControl* AUIOwner);
  // A window moved or sized (position) or hid, closed or was minimized
  // (visibility): the active owner's bars follow when AWnd concerns it.
  static void CheckUIPosition(HWND AWnd);
  static void CheckUIVisibility(HWND AWnd);
  // While the owner is locked (a button held on a bar) only the active
  // owner may show its UI.
  static void LockOwner();
  static void UnlockOwner();

  static TcxControl* ActiveScrollUIOwner();
  static Integer HidingLockCount();
  static bool IsOwnerLocked();
  static bool ScrollInfoAllowVisible();
  // Made on first use (1000 ms); tests call the tick themselves.
  static TcxTimer* HidingTimer();
  static void HidingTimerTick();
  // Shut-down of the module: the timer goes, no owner stays.
  static void Finalize();

 private:
  static void Activate(TcxControl* AUIOwner);
  static void LockHiding();
  static void UnlockHiding();
  static void StartHidingTimer();
  static void DoHideTouchScrollUI(bool AImmediately);
};

enum TdxHybridFadingState { fstNone, fstShowing, fstHiding };
enum TdxHybridExpandState { estNone, estExpanding, estCollapsing };

// The hybrid mode of one control: fades its bars in and out (opacity
// 0..255) and widens the bar under the pointer from the thin to the full
// thickness (0..100 %) and back.
class TdxHybridScrollbarsManager : public TObject {
  DECLARE_CLASS(TdxHybridScrollbarsManager, TObject)
 public:
  explicit TdxHybridScrollbarsManager(TcxControl* AOwner) : FOwner(AOwner) {}
  ~TdxHybridScrollbarsManager() override;

  void Show(bool AHideByTimer);
  void Hide(bool AImmediately, bool AAnimated);
  // The pointer entered (Expand) or left (Collapse) a bar of the control.
  void Expand(TObject* AScrollbar);
  void Collapse();
  // Another control's bars became the active ones.
  void Deactivate();
  // A bar is being hidden.
  void ScrollbarHiding(TObject* AScrollbar);
  bool IsActive(TObject* AScrollbar) const { return AScrollbar && AScrollbar == FAnimateObject; }
  void CheckScrollbarsPosition(HWND AWnd);
  void CheckScrollbarsVisibility(HWND AWnd);

  bool AllowVisible() const { return FAllowVisible; }
  Byte FadingValue() const { return FFadingValue; }
  Integer VisibleSize() const { return FVisibleSize; }
  TcxControl* Owner() const { return FOwner; }
  TObject* AnimateObject() const { return FAnimateObject; }
  TdxHybridFadingState FadingState() const { return FFadingState; }
  TdxHybridExpandState ExpandState() const { return FExpandState; }
  Integer HidingLockCount() const { return FHidingLockCount; }
  Integer ExpandLockCount() const { return FExpandLockCount; }
  bool IsDeactivating() const { return FIsDeactivating; }
  // The running transitions and the waiting timers (nullptr when none);
  // tests step the transitions through their events and call the ticks.
  TdxAnimationTransition* FadingAnimation() const { return FFadingAnimation; }
  TdxAnimationTransition* SizeAnimation() const { return FSizeAnimation; }
  TcxTimer* HidingTimer() const { return FHidingTimer; }
  TcxTimer* CollapsingTimer() const { return FCollapsingTimer; }
  void HidingTimerHandler(TObject* Sender);
  void CollapsingTimerHandler(TObject* Sender);

 private:
  void DoHide(bool AAnimated);
  void DoExpand();
  void DoCollapse();
  void DoAfterCollapse();
  void FadeIn() { StartFadingAnimation(fstShowing); }
  void FadeOut() { StartFadingAnimation(fstHiding); }
  void StartFadingAnimation(TdxHybridFadingState AState);
  void StopFadingAnimation();
  void StartSizeAnimation(TdxHybridExpandState AState);
  void StopSizeAnimation();
  void StartHidingTimer();
  void StopHidingTimer();
  bool IsHidingTimerWaiting() const { return FHidingTimer && FHidingTimer->Enabled(); }
  void StartCollapsingTimer();
  void StopCollapsingTimer();
  bool IsWaitingToCollapse() const { return FCollapsingTimer != nullptr; }
  void ResetSize();
  void ReleaseHidingLock();
  void InvalidateScrollbars();
  void FadingAnimate(TdxAnimationTransition* Sender, Integer& APosition, bool& AFinished);
  void FadingTerminate(TObject* Sender);
  void SizeAnimate(TdxAnimationTransition* Sender, Integer& APosition, bool& AFinished);
  void SizeTerminate(TObject* Sender);

  TdxHybridFadingState FFadingState = fstNone;
  TdxAnimationTransition* FFadingAnimation = nullptr;
  Byte FFadingValue = 0;
  Byte FStartFadingValue = 0;
  TdxHybridExpandState FExpandState = estNone;
  TdxAnimationTransition* FSizeAnimation = nullptr;
  TcxTimer* FCollapsingTimer = nullptr;
  Integer FExpandLockCount = 0;
  Integer FStartSize = 0;
  Integer FVisibleSize = 0;
  bool FAllowVisible = false;
  TObject* FAnimateObject = nullptr;
  Integer FHidingLockCount = 0;
  TcxTimer* FHidingTimer = nullptr;
  bool FIsDeactivating = false;
  TcxControl* FOwner;
};

// The hybrid managers whose bars show; the last activated is the active
// one, and activating one deactivates the others.
class TdxHybridScrollbarManagers {
 public:
  static void Activate(TdxHybridScrollbarsManager* AManager);
  static void Deactivate(TdxHybridScrollbarsManager* AManager);
  static bool IsActive(TdxHybridScrollbarsManager* AManager);
  static void CheckScrollbarsPosition(HWND AWnd);
  static void CheckScrollbarsVisibility(HWND AWnd);
  static Integer Count();
  static void Finalize();
};

// Counts a mouse move as scroll activity only when the mouse really moved.
class TdxTouchScrollUIActivityHelper : public TObject {
  DECLARE_CLASS(TdxTouchScrollUIActivityHelper, TObject)
 public:
  // A move over the scroll-bar area of a base control counts. Otherwise
  // true for a WM_MOUSEMOVE 10 pixels or more (in X or in Y) away from the
  // last recorded one; the first move after the mouse entered only records.
  // CM_MOUSELEAVE starts over.
  bool CheckScrollActivity(TWinControl* AControl, const TMessage& Message);

 private:
  TPoint FLastMousePos{};
  bool FMouseEnter = false;
};

// The core of a popup bar: what it invalidates is drawn again into the
// bar's layer.
class TcxCustomPopupScrollBarHelper : public TcxScrollBarHelper {
  DECLARE_CLASS(TcxCustomPopupScrollBarHelper, TcxScrollBarHelper)
 public:
  using TcxScrollBarHelper::TcxScrollBarHelper;
  void InvalidateRect(const TRect& R, bool AEraseBackground) override;
  // Composes the layer over what ACanvas shows.
  void DoPaint(TcxCanvas* ACanvas) override;
  // The bar's picture with its own alpha, premultiplied, clipped to the
  // visible region (the caller frees it).
  TcxBitmap32* CreateLayer();

 protected:
  bool NeedBuffering() override { return false; }
};

class TcxPopupScrollBarHelper : public TcxCustomPopupScrollBarHelper {
  DECLARE_CLASS(TcxPopupScrollBarHelper, TcxCustomPopupScrollBarHelper)
 public:
  using TcxCustomPopupScrollBarHelper::TcxCustomPopupScrollBarHelper;

 protected:
  TClass GetPainterClass() override;
  TClass GetViewInfoClass() override;
  TSize GetScrollBarSize() override;
};

class TdxHybridScrollBarHelper : public TcxCustomPopupScrollBarHelper {
  DECLARE_CLASS(TdxHybridScrollBarHelper, TcxCustomPopupScrollBarHelper)
 public:
  using TcxCustomPopupScrollBarHelper::TcxCustomPopupScrollBarHelper;

 protected:
  TClass GetPainterClass() override;
  TSize GetScrollBarSize() override;
};

// A touch bar has no arrows: the track runs its whole length.
class TcxPopupScrollBarViewInfo : public TcxScrollBarViewInfo {
  DECLARE_CLASS(TcxPopupScrollBarViewInfo, TcxScrollBarViewInfo)
 public:
  using TcxScrollBarViewInfo::TcxScrollBarViewInfo;

 protected:
  Integer GetArrowButtonLength() override { return 0; }
};

// Painters of popup bars draw with per-pixel alpha on a GDI+ canvas of the
// layer; hot parts show at once (no fading).
class TcxCustomPopupScrollBarPainter : public TcxScrollBarPainter {
  DECLARE_CLASS(TcxCustomPopupScrollBarPainter, TcxScrollBarPainter)
 public:
  using TcxScrollBarPainter::TcxScrollBarPainter;
  virtual void PaintLayer(TdxGPCanvas* ACanvas) = 0;
  bool FadingAvailable() override { return false; }
  bool IsButtonHotTrack() override { return true; }
};

class TcxPopupScrollBarPainter : public TcxCustomPopupScrollBarPainter {
  DECLARE_CLASS(TcxPopupScrollBarPainter, TcxCustomPopupScrollBarPainter)
 public:
  using TcxCustomPopupScrollBarPainter::TcxCustomPopupScrollBarPainter;
  void PaintLayer(TdxGPCanvas* ACanvas) override;
};

class TdxHybridScrollBarPainter : public TcxCustomPopupScrollBarPainter {
  DECLARE_CLASS(TdxHybridScrollBarPainter, TcxCustomPopupScrollBarPainter)
 public:
  using TcxCustomPopupScrollBarPainter::TcxCustomPopupScrollBarPainter;
  void PaintLayer(TdxGPCanvas* ACanvas) override;
};

// A bar of the touch and hybrid modes: a layered popup window owned by the
// window that owns the control's scroll UI; it never takes activation.
class TcxControlPopupScrollBar : public TcxControlScrollBar {
  DECLARE_CLASS(TcxControlPopupScrollBar, TcxControlScrollBar)
 public:
  using TcxControlScrollBar::TcxControlScrollBar;
  ~TcxControlPopupScrollBar() override;

  void ApplyData() override;
  void InitControl() override;
  bool IsActuallyVisible() override;
  void SetOwnerControlRelativeBounds(const TRect& R) override;
  void SetVisible(bool AValue) override;
  void Invalidate() override;
  // Draws the bar into its layer and hands that to the window.
  void UpdateLayer();
  void WndProc(TMessage& Message) override;

  // The data's visibility at the last ApplyData.
  bool AllowVisible() const { return FAllowVisible; }
  Byte Alpha() const { return FAlpha; }
  bool MouseEntered() const { return FMouseEnter; }
  Integer VisibleSize() const { return FVisibleSize; }
  Integer GetMaxVisibleSize();
  Integer GetMinVisibleSize();
  bool IsHybridMode();
  TcxControl* ScrollbarOwner() const { return OwnerControl(); }

 protected:
  void OwnerControlAssigned() override;
  void CreateParams(TCreateParams& Params) override;
  void DestroyWnd() override;
  TClass GetHelperClass() override;
  TSize GetInitialSize() override;
  void Resize() override;
  void DoWndProc(TMessage& Message) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) override;

 private:
  void TouchModeMessage(TMessage& Message);
  void HybridModeMessage(TMessage& Message);
  void CheckMouseLeft();
  void MouseLeftBar();
  TdxTouchScrollUIActivityHelper* FActivityHelper = nullptr;
  Byte FAlpha = 255;
  bool FAllowVisible = false;
  bool FMouseEnter = false;
  Integer FVisibleSize = 0;
};

// The corner between two popup bars: a half-transparent popup window.
class TcxPopupSizeGrip : public TcxSizeGrip {
  DECLARE_CLASS(TcxPopupSizeGrip, TcxSizeGrip)
 public:
  using TcxSizeGrip::TcxSizeGrip;
  void InitControl() override;
  void SetOwnerControlRelativeBounds(const TRect& R) override;
  // The layer's opacity as last set.
  Byte LayerAlpha() const { return FLayerAlpha; }
  TColor DrawColor();

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void Draw(TcxCanvas* ACanvas) override;
  void WndProc(TMessage& Message) override;

 private:
  void SetLayerAlpha(Byte AValue);
  Byte FLayerAlpha = 50;
};

// The popup bar class of the touch and hybrid modes.
TClass dxTouchScrollBarClass();
// The window that owns the touch scroll UI of AOwnerControl's form.
HWND GetTouchScrollUIControlOwnerWnd(TWinControl* AOwnerControl);
// The part of ABounds (client coordinates of AControl) that no other window
// covers: as a rectangle in screen coordinates, or as a region with
// ABounds' top left as origin (the caller owns it).
TRect CalculatePopupScrollElementVisibleRect(TWinControl* AControl, const TRect& ABounds);
HRGN CalculatePopupScrollElementVisibleRgn(TWinControl* AControl, const TRect& ABounds);
// Places a popup scroll element above the windows of its control's form.
void UpdatePopupScrollElementZOrder(HWND AWnd, TWinControl* AControl);

// ---------------------------------------------------------------------------
// Pixel scrolling of a control whose content is an image of a known size.
class IdxScrollingControl {
 public:
  virtual TSize GetContentSize() = 0;
  virtual Integer GetLeftPos() = 0;
  virtual void SetLeftPos(Integer AValue) = 0;
  virtual Integer GetTopPos() = 0;
  virtual void SetTopPos(Integer AValue) = 0;
  virtual TcxControl* GetInstance() = 0;

 protected:
  ~IdxScrollingControl() = default;
};

class TdxScrollHelper {
 public:
  static void InitScrollBarsParameters(IdxScrollingControl* AControl);
  static void Scroll(IdxScrollingControl* AControl, TScrollBarKind AScrollBarKind,
                     TScrollCode AScrollCode, Integer& AScrollPos);
  static void GestureScroll(IdxScrollingControl* AControl, Integer ADeltaX, Integer ADeltaY);
  static void SetPos(IdxScrollingControl* AControl, Integer ALeftPos, Integer ATopPos);
  static void SetLeftPos(IdxScrollingControl* AControl, Integer AValue);
  static void SetTopPos(IdxScrollingControl* AControl, Integer AValue);
  static void CheckPositions(IdxScrollingControl* AControl);
  static void CheckLeftPos(IdxScrollingControl* AControl, Integer& AValue);
  static void CheckTopPos(IdxScrollingControl* AControl, Integer& AValue);
  static TSize GetClientSize(IdxScrollingControl* AControl);
  static bool IsScrollDataValid(IdxScrollingControl* AControl, TScrollBarKind AKind);
  static void ScrollContent(IdxScrollingControl* AControl);
};

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

// ===========================================================================
// The base control.
//
// The scroll-bar set, its manager and bar data, the size grip, the touch and
// hybrid helpers and the drag-and-drop classes are declared by their own
// blocks; the control refers to them only through pointers.
class TcxControl;
class TcxControlCustomScrollBars;
class TcxControlScrollBarsManager;
class TcxScrollBarData;
class IcxControlScrollBar;
class TcxSizeGrip;
class TdxHybridScrollbarsManager;
class TdxTouchScrollUIActivityHelper;
class TcxDragAndDropObject;
class TcxDragImageList;
class TcxControlChildComponent;

// The cursors of middle-button scrolling (loaded at start-up).
constexpr TCursor crFullScroll = 2101, crHorScroll = 2102, crVerScroll = 2103, crUpScroll = 2104,
                  crRightScroll = 2105, crDownScroll = 2106, crLeftScroll = 2107;

enum TcxControlBorderStyle { cxcbsNone, cxcbsDefault };
enum TcxControlActivateType { atOther, atByMouse, atByMouseNonClientArea };
enum TcxKey { kAll, kArrows, kChars, kTab };
using TcxKeys = TSet<TcxKey>;
enum TcxMouseWheelScrollingKind { mwskNone, mwskHorizontal, mwskVertical };
enum TcxDragAndDropState { ddsNone, ddsStarting, ddsInProcess };
using TcxScrollBarKinds = TSet<TScrollBarKind>;

// Told whenever the font of a control it listens to changes.
class IcxFontListener {
 public:
  virtual void Changed(TObject* Sender, TFont* AFont) = 0;

 protected:
  ~IcxFontListener() = default;
};

// An object that holds a control's mouse capture learns when it lost it.
class IcxMouseCaptureObject {
 public:
  virtual void DoCancelMode() = 0;

 protected:
  ~IcxMouseCaptureObject() = default;
};

// A child control that decides itself whether its parent's invalidation
// must reach it.
class IcxTransparentControl {
 public:
  virtual bool IsTransparentRegionsPresent() = 0;

 protected:
  ~IcxTransparentControl() = default;
};

// A control that shows a frozen picture of itself while its content is
// locked: the picture and the control it was taken of (the picture covers
// that control's client area).
class IcxLockedStatePaint {
 public:
  virtual TcxBitmap* GetImage() = 0;
  virtual TcxControl* GetTopmostControl() = 0;

 protected:
  ~IcxLockedStatePaint() = default;
};
class IcxLockedStateFontChanged {
 public:
  virtual void FontChanged(TFont* AFont) = 0;

 protected:
  ~IcxLockedStateFontChanged() = default;
};

// Scale factors of controls that move between parents.
class TcxControlHelper {
 public:
  // The parent changes, or the control is being read from a stream.
  static bool CanSetParent(TControl* AControl, TWinControl* ANewParent);
  // The control takes its new parent's scale factor.
  static void UpdateScaleFactorOnParentChange(TWinControl* AControl);

  // A control with a factor of its own is scaled to the target factor (while
  // it is read, the factor is only taken over).
  static void ChangeScaleFactor(TControl* AControl, Integer ATargetNumerator,
                                Integer ATargetDenominator);
  static void ChangeScaleFactor(TControl* AControl, const TdxScaleFactor* ATarget);
  // A control itself, a child component's control, else nullptr.
  static TControl* GetControlByObject(TObject* AObject);
  // That control's DPI, else the current system DPI.
  static Integer GetCurrentDPIFromControl(TObject* AObject);
  static void ScaleForPPI(TObject* AObject, Integer ATargetPPI);
};

// Paints the window's update through a buffer with an alpha channel, which
// composition shows as it is (opaque unless APaintBlackOpaque).
void dxPaintWindowOnGlass(HWND AWnd, bool APaintBlackOpaque = false);
void dxDrawWindowOnGlass(HWND AWnd, HDC ADC, const TRect& ABounds, bool APaintBlackOpaque = false);

// Shows the context menu of a control instead of the control's own road;
// true when it did.
using TcxContextPopupHookFunc = bool (*)(TcxControl* AControl, TComponent* APopupMenu,
                                         const TPoint& AMousePos);
TcxContextPopupHookFunc& cxContextPopupHookFunc();

// The window a docking client takes as its parent window: for a window inside
// a popup, the popup's owner control. Filled by the popup module at start-up,
// nullptr otherwise (the window stands for itself).
using TcxGetParentWndForDocking = HWND (*)(HWND AWnd);
TcxGetParentWndForDocking& cxGetParentWndForDocking();

// A self-painted control with a scale factor of its own and brackets around
// scale changes.
class TcxCustomControl : public TCustomControl, public IdxScaleFactor {
  DECLARE_CLASS(TcxCustomControl, TCustomControl)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TcxCustomControl(TComponent* AOwner);
  ~TcxCustomControl() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() override { return FScaleFactor; }
  TdxScaleFactor* ScaleFactor() const { return FScaleFactor; }

  void ChangeScale(Integer M, Integer D) override;
  void ScaleForPPI(Integer NewPPI) override;
  void BeginScaleChange();
  void EndScaleChange();
  bool IsScaleChanging() const { return FScaleChangeCounter != 0; }

  // What an adorner (a highlight drawn over the form) needs of the control.
  virtual TWinControl* GetAdornerTargetElementControl();
  virtual TRect GetAdornerTargetElementBounds();
  virtual bool GetAdornerTargetElementVisible();
  virtual void GetAdornerTargetElements(TStrings* AList);

 protected:
  virtual void ChangeScaleEx(Integer M, Integer D);
  virtual void ScaleFactorChanging();
  virtual void ScaleFactorChanged();

  virtual void DXMScaleChanging(TMessage& Message);
  virtual void DXMScaleChanged(TMessage& Message);

 private:
  Word FScaleChangeCounter = 0;
  TdxScaleFactor* FScaleFactor = nullptr;
};

// The base of the library's self-painted controls: the look and feel it
// paints through, the painting road, focus on click, the mouse (capture
// object, enter and leave, wheel, middle-button scrolling), hints, popup
// menu, font listeners, scroll bars and drag and drop.
class TcxControl : public TcxCustomControl,
                   public IdxSystemInfoListener,
                   public IdxLocalizerListener,
                   public IdxGestureOwner,
                   public IdxGestureClient,
                   public IcxLookAndFeelContainer {
  DECLARE_CLASS(TcxControl, TcxCustomControl)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TcxControl(TComponent* AOwner);
  ~TcxControl() override;
  // The steps of construction that reach overrides.
  void AfterConstruction() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
  // IcxLookAndFeelContainer: the control's look and feel. The scroll bars
  // see the control through ScrollBarOwner, whose look and feel is
  // GetScrollBarLookAndFeel.
  TcxLookAndFeel* STDMETHODCALLTYPE GetLookAndFeel() override { return GetLookAndFeelValue(); }
  IcxScrollBarOwner* ScrollBarOwner() { return &FScrollBarOwner; }

  // Canvases.
  TcxControlCanvas* Canvas() const { return FCanvas; }
  TcxCanvas* ActiveCanvas();

  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel; }
  void SetLookAndFeel(TcxLookAndFeel* AValue) { FLookAndFeel->Assign(AValue); }
  TcxCustomLookAndFeelPainter* LookAndFeelPainter() { return GetLookAndFeelPainter(); }

  TcxControlBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TcxControlBorderStyle AValue);
  bool FocusOnClick() const { return FFocusOnClick; }
  void SetFocusOnClick(bool AValue) { FFocusOnClick = AValue; }
  TcxKeys Keys() const { return FKeys; }
  void SetKeys(TcxKeys AValue) { FKeys = AValue; }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool AValue);
  TRect BoundsValue() const { return FBounds; }
  void SetBoundsValue(const TRect& AValue);
  TcxControlActivateType ActivateType() const { return FActivateType; }
  bool IsDesigning() { return GetIsDesigning(); }
  bool IsFocused() { return GetIsFocused(); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool IsScrollingContent() const { return FIsScrollingContent; }
  bool MouseButtonPressed() const { return FMouseButtonPressed; }
  TPoint MouseDownPos() const { return FMouseDownPos; }

  // Hints: the text as assigned is kept apart from the framework's hint,
  // which follows the mouse (GetStatusHint).
  String GetHint() const { return FOriginalHint; }
  void SetHint(const String& AValue);
  bool IsHintStored() const;

  // Only a popup menu (IsPopupMenu) is taken; anything else stores nullptr.
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* AValue);

  void AddFontListener(IcxFontListener* AListener);
  void RemoveFontListener(IcxFontListener* AListener);

  void SetParent(TWinControl* AParent) override;
  void SetFocus() override;
  void SetParentBackground(bool AValue);

  // Invalidation: Invalidate goes through CM_INVALIDATE, so that parents
  // hear of it and children that show this control through them are redrawn
  // too (NeedRedrawOnResize).
  void Invalidate() override;
  void InvalidateRect(const TRect& R, bool AEraseBackground);
  void InvalidateRgn(TcxRegion* ARegion, bool AEraseBackground);
  void InvalidateWithChildren();
  void UpdateWithChildren();
  static void InvalidateControl(TWinControl* AControl, bool ANeedInvalidateSelf,
                                bool ANeedInvalidateChildren);

  // A WM_MOUSEMOVE at the mouse position (or at P, client coordinates)
  // when no window holds the mouse capture.
  void PostMouseMove();
  void PostMouseMove(const TPoint& AMousePos);
  TPoint GetMouseCursorClientPos();

  TObject* MouseCaptureObject() const { return FMouseCaptureObject; }
  void SetMouseCaptureObject(TObject* AValue);

  // Scroll bars (the values the control describes its bars with).
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle AValue);
  void SetScrollBarInfo(TScrollBarKind AScrollBarKind, Integer AMin, Integer AMax, Integer AStep,
                        Integer APage, Integer APos, bool AAllowShow, bool AAllowHide);
  void LockScrollBars();
  void UnlockScrollBars();
  IcxControlScrollBar* GetScrollBar(TScrollBarKind AKind);
  IcxControlScrollBar* GetHScrollBar();
  IcxControlScrollBar* GetVScrollBar();
  bool IsScrollBarActive(TScrollBarKind AKind);
  bool IsScrollBarsCapture();
  TSize GetScrollBarSize();
  TdxScrollbarMode GetScrollbarMode() const { return FScrollbarMode; }
  TdxScrollbarMode GetLookAndFeelScrollbarMode();
  bool IsScrollBarModeChanged();
  void CreateScrollBars();
  void DestroyScrollBars();
  void CheckNeedsScrollBars();
  void HideTouchScrollUI(TcxControl* AOwner, bool AImmediately = false);
  bool IsTouchScrollUIHidden(TcxControl* AOwner);
  void Deactivate(TcxControl* AOwner);
  bool GetHScrollBarVisible();
  bool GetVScrollBarVisible();
  TObject* GetSizeGrip();
  void DoScrollBarBasedGestureScroll(TScrollBarKind AScrollKind, Integer& ADelta, Integer ADeltaY,
                                     Integer ADeltaX);
  TcxControlCustomScrollBars* MainScrollBars() const { return FMainScrollBars; }
  TcxControlScrollBarsManager* ScrollBarsManager() const { return FScrollBarsManager; }
  TdxGestureHelper* GestureHelper() const { return FGestureHelper; }
  TdxScrollbarMode ScrollbarMode() const { return FScrollbarMode; }
  TColor HybridScrollbarBaseColor() const { return FHybridScrollbarBaseColor; }
  void SetHybridScrollbarBaseColor(TColor AValue);

  // Drag and drop.
  TcxDragAndDropObject* DragAndDropObject();
  TcxDragAndDropState DragAndDropState() const { return FDragAndDropState; }
  void SetDragAndDropState(TcxDragAndDropState AValue);
  TClass DragAndDropObjectClass() const { return FDragAndDropObjectClass; }
  void SetDragAndDropObjectClass(TClass AValue);
  void FinishDragAndDrop(bool Accepted);
  void HideDragImage();
  void ShowDragImage();
  void ScrollWindow(Integer DX, Integer DY, const TRect& AScrollRect);

  TNotifyEvent OnFocusChanged;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;

  // IdxGestureOwner, IdxGestureClient
  IdxGestureClient* STDMETHODCALLTYPE GetGestureClient(const TPoint& APoint) override;
  HWND STDMETHODCALLTYPE GetGestureClientHandle() override;
  bool STDMETHODCALLTYPE IsGestureTarget(HWND AWnd) override;
  TPoint STDMETHODCALLTYPE ScreenToClient(const TPoint& APoint) override;
  bool STDMETHODCALLTYPE AllowGesture(TInteractiveGesture AGestureId) override;
  bool STDMETHODCALLTYPE AllowPan(TScrollBarKind AScrollKind) override;
  void STDMETHODCALLTYPE BeginGestureScroll(const TPoint& APos) override;
  void STDMETHODCALLTYPE EndGestureScroll() override;
  void STDMETHODCALLTYPE GestureScroll(Integer ADeltaX, Integer ADeltaY) override;
  DWORD STDMETHODCALLTYPE GetPanOptions() override;
  bool STDMETHODCALLTYPE IsPanArea(const TPoint& APoint) override;
  bool STDMETHODCALLTYPE NeedPanningFeedback(TScrollBarKind AScrollKind) override;
  // IdxLocalizerListener
  void STDMETHODCALLTYPE TranslationChanged() override;
  // IdxSystemInfoListener
  void SystemInfoChanged(Cardinal AParameter) override;

  // The mouse entered or left the control (AControl the control itself or
  // nullptr) or one of its children.
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);

  // What a child component (a component that belongs to one control) calls.
  virtual void AddChildComponent(TcxControlChildComponent* AComponent);
  virtual void RemoveChildComponent(TcxControlChildComponent* AComponent);

  virtual bool CanFocusEx();
  virtual bool CanFocusOnClick();
  virtual bool CanFocusOnClick(Integer X, Integer Y);
  // One line in a direction, as the wheel and middle-button scrolling do.
  virtual void ScrollContent(TcxDirection ADirection);

 protected:
  // -- Gestures.
  virtual bool CanScrollContentByGestureWithoutScrollBars();
  virtual void CheckOverpan(TScrollBarKind AScrollKind, Integer ANewDataPos, Integer ADeltaY,
                            Integer ADeltaX, Integer AMaxDataPos, Integer AMinDataPos);
  virtual void DoGestureScroll(TScrollBarKind AScrollKind, Integer ANewScrollPos);
  virtual TInteractiveGestures GetDefaultInteractiveGestures();
  virtual TInteractiveGestureOptions GetDefaultInteractiveGestureOptions();
  virtual TcxControl* GetTouchScrollUIOwner(const TPoint& APoint);
  virtual bool CanProcessScrollEvents(TMessage& Message);
  virtual bool IsDefaultGesture(DWORD AGestureID);
  virtual bool IsGestureHelperMessage(TMessage& Message);
  void DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled) override;
  void DoGetGestureOptions(TInteractiveGestures& AGestures,
                           TInteractiveGestureOptions& AOptions) override;
  virtual bool IsGestureScrolling();
  virtual bool IsScrollBarBasedGestureScroll(TScrollBarKind AScrollKind);
  virtual DWORD GetDefaultPanOptions();
  virtual void ScrollContentByGesture(TScrollBarKind AScrollKind, Integer ADelta);

  // -- Painting, focus, mouse and the rest of the control's hooks.
  virtual bool DoShowPopupMenu(TComponent* AMenu, Integer X, Integer Y);
  virtual bool InternalMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos);
  virtual bool IsDoubleBufferedNeeded();
  virtual void Modified();
  virtual void DoPaint();
  virtual void DrawBorder(TcxCanvas* ACanvas);
  virtual void DrawScrollBars(TcxCanvas* ACanvas);
  virtual void EraseBackground(HDC DC) override;
  virtual void EraseBackground(TcxCanvas* ACanvas, const TRect& ARect);
  virtual void PaintNonClientArea(TcxCanvas* ACanvas);
  virtual void AfterMouseDown(TMouseButton AButton, Integer X, Integer Y);
  virtual void BeforeMouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void BringInternalControlsToFront();
  virtual void CancelMouseOperations();
  virtual Integer GetBorderSize();
  virtual TRect GetBounds();
  virtual TRect GetClientBounds();
  virtual TRect GetClientOffsets();
  virtual TCursor GetCurrentCursor(Integer X, Integer Y);
  virtual bool GetIsDesigning();
  virtual bool GetIsFocused();
  virtual TClass GetMainScrollBarsClass();
  virtual TcxMouseWheelScrollingKind GetMouseWheelScrollingKind();
  virtual bool GetPaintBlackOpaqueOnGlass();
  virtual TClass GetScrollBarClass(TScrollBarKind AKind);
  virtual TClass GetSizeGripClass();
  virtual void InitControl();
  virtual void SetFocusOnMouseClick(TMouseButton AButton, Integer X, Integer Y);
  virtual void SetPaintRegion();
  virtual String GetStatusHint(const TPoint& APoint);
  virtual bool AllowCompositionPainting();
  virtual bool FocusWhenChildIsClicked(TControl* AChild);
  virtual bool HasBackground();
  virtual bool HasNonClientArea();
  virtual bool IsMouseWheelHandleNeeded(TShiftState Shift, Integer WheelDelta,
                                        const TPoint& MousePos);
  virtual bool IsTransparentBackground();
  virtual bool IsInternalControl(TControl* AControl);
  virtual bool NeedRedrawOnResize();
  virtual bool UpdateMousePositionIfControlMoved();
  virtual void BiDiModeChanged();
  virtual void EnabledChanged();
  virtual void ParentBackgroundChanged();
  virtual void DoScrollUIModeChanged();

  // -- Look and feel, touch and hybrid scroll UI, scroll bars.
  virtual TcxLookAndFeel* GetLookAndFeelValue();
  virtual TcxLookAndFeel* GetScrollBarLookAndFeel();
  virtual void CheckTouchScrollUIPosition();
  virtual TWinControl* GetTouchScrolUIOwnerControl();
  virtual bool HasVisibleTouchScrollUI();
  virtual void HideTouchScrollUIDirectly();
  virtual TColor GetHybridScrollbarBaseColor();
  virtual TdxHybridScrollbarsManager* GetManager();
  virtual void InvalidateScrollbars();
  virtual void ShowTouchScrollUI(TcxControl* AOwner, bool AControlledByTimer = false);
  virtual bool AllowTouchScrollUIMode();
  virtual bool AllowHybridScrollbarMode();
  virtual void CheckTouchScrollUIMode();
  virtual bool IsPopupScrollBars();
  virtual bool IsTouchScrollUIMode();
  virtual bool HasScrollBarArea();
  virtual bool HasScrollBars();
  virtual bool NeedsScrollBars();
  virtual void DoCreateScrollBars();
  virtual void DoDestroyScrollBars();
  virtual bool CanUpdateScrollBars();
  virtual void DoUpdateScrollBars();
  virtual void InitScrollBars();
  virtual void InitScrollBarsParameters();
  virtual void InitScrollBarsParametersCache();
  virtual bool IsPixelScrollBar(TScrollBarKind AKind);
  virtual void ScrollBarVisibilityChanged(TcxScrollBarKinds AKinds);
  virtual void Scroll(TScrollBarKind AScrollBarKind, TScrollCode AScrollCode, Integer& AScrollPos);
  virtual bool CanScrollLineWithoutScrollBars(TcxDirection ADirection);
  virtual void SetInternalControlsBounds();
  virtual void UpdateInternalControlsState();
  virtual bool NeedsToBringInternalControlsToFront();
  virtual void HideScrollBars();
  virtual TScrollStyle GetSystemSizeScrollBars();
  virtual Integer GetHScrollBarAreaHeight();
  virtual Integer GetVScrollBarAreaWidth();
  virtual Integer GetHScrollBarDefaultAreaHeight();
  virtual Integer GetVScrollBarDefaultAreaWidth();
  virtual TRect GetHScrollBarBounds();
  virtual TRect GetVScrollBarBounds();
  virtual TRect GetSizeGripBounds();
  virtual bool IsScrollBarsArea(const TPoint& P);
  virtual bool IsSizeGripArea(const TPoint& P);
  virtual bool IsSizeGripVisible();
  virtual TColor GetScrollContentForegroundColor();
  virtual TcxCustomLookAndFeelPainter* GetLookAndFeelPainter();
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  virtual void UpdateScrollBars();

  // -- Drag and drop.
  virtual bool AllowAutoDragAndDropAtDesignTime(Integer X, Integer Y, TShiftState Shift);
  virtual bool CanCancelDragStartOnCaptureObjectClear();
  virtual TcxDragAndDropObject* CreateDragAndDropObject();
  virtual void DoFinishDragAndDrop(bool Accepted);
  virtual TClass GetDragAndDropObjectClass();
  virtual void DrawDragImage(TcxCanvas* ACanvas, const TRect& R);
  virtual TClass GetDragImagesClass();
  virtual TPoint GetDragImagesSize();
  virtual bool GetIsCopyDragDrop();
  virtual bool HasDragImages();
  virtual void InitDragImages(TcxDragImageList* AImages);

  // -- The rest.
  virtual void ScrollUIModeChanged();
  virtual bool AcceptMousePosForClick(Integer X, Integer Y);
  virtual bool IsMouseInPressedArea(Integer X, Integer Y);

  // Hooks of the dynamic kind.
  virtual void DoCancelMode();
  virtual bool GetDesignHitTest(Integer X, Integer Y, TShiftState Shift);
  virtual TClass GetDragObjectClass();
  virtual void FocusEnter();
  virtual void FocusLeave();
  virtual bool MayFocus();
  virtual void BorderStyleChanged();
  virtual void BoundsChanged();
  virtual void ColorChanged();
  virtual void CursorChanged();
  virtual void FocusChanged();
  virtual void FontChanged();
  virtual void TextChanged();
  virtual void TransparentChanged();
  virtual void VisibleChanged();
  virtual bool AllowDragAndDropWithoutFocus();
  virtual void DragAndDrop(const TPoint& P, bool& Accepted);
  virtual void EndDragAndDrop(bool Accepted);
  virtual bool StartDragAndDrop(const TPoint& P);
  virtual bool CanDrag(Integer X, Integer Y);
  virtual bool StartDrag(TObject* ADragObject);
  virtual void BeginDragAndDrop();

  // The framework's drag and drop, as far as the control takes part.
  TcxDragImageList* GetDragImages() override;
  void DoStartDrag(TDragObject*& ADragObject) override;
  void DoEndDrag(TObject* ATarget, Integer X, Integer Y) override;
  void DragOver(TObject* ASource, Integer X, Integer Y, TDragState AState, bool& Accept) override;

  // Framework overrides.
  using TCustomControl::FontChanged;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void DefaultHandler(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void ActionChange(TObject* Sender, bool CheckDefaults) override;
  TPopupMenuBase* GetPopupMenu() override;
  void Paint() override;
  void PaintWindow(HDC DC) override;
  void Resize() override;
  void ScaleFactorChanged() override;
  TPoint MouseMessagePos(const TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void DoContextPopup(const TPoint& MousePos, bool& Handled) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) override;

  // The standard road of WM_PAINT (without the buffer).
  void PaintHandler(TMessage& Message);
  bool IsMenuKey(TMessage& Message);
  void UpdateStatusHint(const TPoint& APoint);
  void DoNCPaint(HDC DC);
  bool IsCreatingWindow() const { return FCreatingWindow; }

  // Message handlers.
  void WMCancelMode(TMessage& Message) override;
  void WMContextMenu(TMessage& Message) override;
  void WMEraseBkgnd(TMessage& Message) override;
  void WMGetDlgCode(TMessage& Message) override;
  void WMNCCalcSize(TMessage& Message) override;
  void WMNCPaint(TMessage& Message) override;
  void WMPaint(TMessage& Message) override;
  void WMPrint(TMessage& Message) override;
  void WMSetCursor(TMessage& Message) override;
  void WMWindowPosChanged(TMessage& Message) override;
  void CMBiDiModeChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  virtual void CMCursorChanged(TMessage& Message);
  virtual void CMDesignHitTest(TMessage& Message);
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMInvalidate(TMessage& Message) override;
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  virtual void DXMNCSizeChanged(TMessage& Message);
  void CNKeyDown(TMessage& Message) override;
  virtual void CNKeyUp(TMessage& Message);
  void CNSysKeyDown(TMessage& Message) override;

 private:
  // The control as its scroll bars' owner: its scroll-bar look and feel.
  struct TScrollBarOwner : public IcxScrollBarOwner {
    TcxControl* Control;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
    TWinControl* STDMETHODCALLTYPE GetControl() override { return Control; }
    TcxLookAndFeel* STDMETHODCALLTYPE GetLookAndFeel() override;
    TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() override;
  };

  void LookAndFeelChangeHandler(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  TPoint MessageMousePos(const TMessage& Message);
  void DoScrolling();

  // Parts of the scrolling and the drag-and-drop work the rest of the
  // control calls (their own source files).
  void CreateScrollingObjects();
  void DestroyScrollingObjects();
  bool ScrollBarsManagerHandleMessage(TMessage& Message);
  void CheckTouchScrollActivity(TMessage& Message);
  void UnInitMainScrollBars();
  Integer GetScrollBarPosition(TScrollBarKind AKind);
  void DestroyDragAndDrop();
  bool IsDragModeAutomatic();
  bool IsFrameworkDragging();
  void DetectAndBeginFrameworkDrag(const TPoint& AScreenPos);
  void CheckStartDragAndDrop(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void ProcessDragAndDropMouseMove(TShiftState Shift, Integer X, Integer Y);
  bool DragAndDropKeyDown(TMessage& Message);
  bool DragAndDropKeyUp(TMessage& Message);

  TScrollBarOwner FScrollBarOwner;

  // Touch and hybrid scroll UI.
  TColor FHybridScrollbarBaseColor = clDefault;
  TdxHybridScrollbarsManager* FHybridScrollbarsManager = nullptr;
  bool FIsScrollUIModeChanging = false;
  TdxScrollbarMode FScrollbarMode = sbmClassic;
  TdxTouchScrollUIActivityHelper* FScrollUIActivityHelper = nullptr;

  TcxControlActivateType FActivateType = atOther;
  TcxScreenCanvas* FActiveCanvas = nullptr;
  TcxControlBorderStyle FBorderStyle = cxcbsNone;
  TcxControlCanvas* FCanvas = nullptr;
  bool FCreatingWindow = false;
  bool FFinishingDragAndDrop = false;
  bool FFocusOnClick = true;
  TdxListenerList<IcxFontListener*> FFontListenerList;
  TcxLookAndFeel* FLookAndFeel = nullptr;
  String FOriginalHint;
  TComponent* FPopupMenu = nullptr;
  bool FTransparent = false;

  // Drag and drop.
  TcxDragAndDropObject* FDragAndDropObject = nullptr;
  TClass FDragAndDropObjectClass = nullptr;
  TCursor FDragAndDropPrevCursor = crDefault;
  TcxDragAndDropState FDragAndDropState = ddsNone;
  TcxDragImageList* FDragImages = nullptr;

  // Gestures.
  TdxGestureHelper* FGestureHelper = nullptr;
  TPoint FGestureAccumulatedDelta{0, 0};

  // Scroll bars.
  bool FAllowScrollContentOnDrag = false;
  bool FInitialHScrollBarActive = false;
  bool FInitialVScrollBarActive = false;
  bool FIsInitialScrollBarsParams = false;
  bool FIsScrollingContent = false;
  TcxControlCustomScrollBars* FMainScrollBars = nullptr;
  TScrollStyle FScrollBars = ssBoth;
  TcxControlScrollBarsManager* FScrollBarsManager = nullptr;
  Integer FScrollBarsLockCount = 0;
  bool FScrollBarsUpdateNeeded = false;
  bool FUpdatingScrollBars = false;

  TcxKeys FKeys;
  bool FMouseButtonPressed = false;
  TObject* FMouseCaptureObject = nullptr;
  TPoint FMouseDownPos{0, 0};
  Integer FMouseEnterCounter = 0;
  bool FMouseRightButtonReleased = false;
  Integer FMouseWheelAccumulator = 0;
  TRect FBounds{0, 0, 0, 0};

  // ===== Scroll bars (their own block): the classes that drive the
  // control's bars, and the steps of the update and of gesture scrolling.
  friend class TcxControlScrollBar;
  friend class TcxControlScrollBarsManager;
  friend class TcxControlCustomScrollBars;
  friend class TcxControlWindowedScrollBars;
  friend class TdxScrollHelper;
  friend bool cxControlAllowsScrollContentOnDrag(TWinControl* AOwner);
  // False when the bars did not settle within the passes allowed.
  bool CalculateScrollBarsParams();
  void CheckPixelScrollBars();
  void FreezeScrollBarsInInitialState();
  void UpdateScrollBarBounds();
  void GestureScrollKind(TScrollBarKind AKind, Integer ADelta, Integer& AAccumulated,
                         Integer ADeltaX, Integer ADeltaY);

  // ===== Touch and hybrid scroll UI (their own block): the managers and
  // the popup bars ask the control through its protected operations.
  friend class TdxTouchScrollUIModeManager;
  friend class TdxHybridScrollbarsManager;
  friend class TdxTouchScrollUIActivityHelper;
  friend class TcxControlPopupScrollBar;
  friend class TcxPopupSizeGrip;
  friend class TdxHybridScrollBarPainter;

  // -- Drag and drop: calls into the operation's object that survive the
  // control being freed by the object's code.
  template <class F>
  bool CallDragAndDropObject(F AStep);
  void ReleaseDragAndDropObject();
  friend class TcxDragControlObject;
};

// Middle-button (anchor) scrolling: a modal loop that calls AScrollContent
// with the direction the mouse points to from the anchor, faster the
// farther away, until Escape, another button, the wheel, a release of the
// middle button after a move, or loss of the capture. AScrollContentFlag is
// true while it runs.
using TcxScrollContentProc = TMethodPtr<void(TcxDirection ADirection)>;
void cxProcessControlScrollingOnMiddleButton(TcxControl* AControl, bool AllowHorScrolling,
                                             bool AllowVerScrolling,
                                             const TcxScrollContentProc& AScrollContent,
                                             bool& AScrollContentFlag);
