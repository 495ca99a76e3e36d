// Controls: the visual component classes. A TControl has bounds, a parent,
// a font and colour, mouse and keyboard events; a TWinControl has a window
// and children; TCustomControl paints itself on a canvas; TGraphicControl
// has no window and is painted by its parent.
#pragma once

#include <optional>
#include <vector>

#include "ActnList.h"
#include "Graphics.h"
#include "Messages.h"

class TWinControl;
class TCustomForm;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
inline const TAnchors AnchorAlign[] = {{akLeft, akTop},
                                       {akLeft, akTop, akRight},
                                       {akLeft, akRight, akBottom},
                                       {akLeft, akTop, akBottom},
                                       {akRight, akTop, akBottom},
                                       {akLeft, akTop, akRight, akBottom},
                                       {akLeft, akTop}};

enum TControlStyleItem {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents,
  csNeedsBorderPaint,
  csParentBackground,
  csPannable,
  csAlignWithMargins,
  csGestures,
  csPaintBlackOpaqueOnGlass,
  csOverrideStylePaint
};
using TControlStyle = TSet<TControlStyleItem>;

enum TControlStateItem {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csDestroyingHandle,
  csDocking,
  csDesignerHide,
  csPanning,
  csRecreating,
  csAligning,
  csGlassPaint,
  csPrintClient
};
using TControlState = TSet<TControlStateItem>;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateItem {
  ssShift,
  ssAlt,
  ssCtrl,
  ssLeft,
  ssRight,
  ssMiddle,
  ssDouble,
  ssTouch,
  ssPen
};
using TShiftState = TSet<TShiftStateItem>;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

using TCursor = SmallInt;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4,
                  crSizeNESW = -6, crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10,
                  crHourGlass = -11, crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15,
                  crMultiDrag = -16, crSQLWait = -17, crNo = -18, crAppStart = -19, crHelp = -20,
                  crHandPoint = -21, crSizeAll = -22, crSize = -22;

using TMouseEvent =
    TMethodPtr<void(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y)>;
using TMouseMoveEvent = TMethodPtr<void(TObject* Sender, TShiftState Shift, Integer X, Integer Y)>;
using TKeyEvent = TMethodPtr<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = TMethodPtr<void(TObject* Sender, Char& Key)>;
using TContextPopupEvent = TMethodPtr<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TMouseWheelEvent = TMethodPtr<void(TObject* Sender, TShiftState Shift, Integer WheelDelta,
                                         TPoint MousePos, bool& Handled)>;

// The state of an owner-drawn item (a list or combo box row, a menu item).
enum TOwnerDrawStateItem {
  odSelected,
  odGrayed,
  odDisabled,
  odChecked,
  odFocused,
  odDefault,
  odHotLight,
  odInactive,
  odNoAccel,
  odNoFocusRect,
  odReserved1,
  odReserved2,
  odComboBoxEdit
};
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
// The state the platform reports in DRAWITEMSTRUCT::itemState.
TOwnerDrawState OwnerDrawStateFromItemState(UINT ItemState);

TShiftState KeysToShiftState(WPARAM Keys);
TShiftState KeyDataToShiftState(LPARAM KeyData);
// The shift state of the keyboard right now.
TShiftState GetShiftState();

// Minimum and maximum sizes a control keeps to (0 = no limit).
class TSizeConstraints : public TPersistent {
  DECLARE_CLASS(TSizeConstraints, TPersistent)
 public:
  using TOwnerType = TPersistent;
  explicit TSizeConstraints(TPersistent* AControl = nullptr) : FControl(AControl) {}
  void Assign(TPersistent* Source) override;
  Integer MaxHeight() const { return FMaxHeight; }
  Integer MaxWidth() const { return FMaxWidth; }
  Integer MinHeight() const { return FMinHeight; }
  Integer MinWidth() const { return FMinWidth; }
  void SetMaxHeight(Integer V);
  void SetMaxWidth(Integer V);
  void SetMinHeight(Integer V);
  void SetMinWidth(Integer V);
  TNotifyEvent OnChange;

 protected:
  TPersistent* GetOwner() override { return FControl; }

 private:
  void Change();
  TPersistent* FControl;
  Integer FMaxHeight = 0, FMaxWidth = 0, FMinHeight = 0, FMinWidth = 0;
};

// The gesture vocabulary of controls.
enum TInteractiveGesture { igZoom, igPan, igRotate, igTwoFingerTap, igPressAndTap };
using TInteractiveGestures = TSet<TInteractiveGesture>;
enum TInteractiveGestureOption {
  igoPanSingleFingerHorizontal,
  igoPanSingleFingerVertical,
  igoPanInertia,
  igoPanGutter,
  igoParentPassthrough
};
using TInteractiveGestureOptions = TSet<TInteractiveGestureOption>;
enum TInteractiveGestureFlag { gfBegin, gfInertia, gfEnd };
using TInteractiveGestureFlags = TSet<TInteractiveGestureFlag>;

// What a control receives for each gesture event (CM_GESTURE, LParam points
// to it); GestureID is the platform gesture id + 256.
struct TGestureEventInfo {
  Integer GestureID = 0;
  TPoint Location{};
  TInteractiveGestureFlags Flags;
  Double Angle = 0;
  Integer Distance = 0;
  TPoint InertiaVector{};
  TPoint TapLocation{};
};

constexpr Integer gcZoomEvent = 259, gcPanEvent = 260, gcRotateEvent = 261,
                  gcTwoFingerTapEvent = 262, gcPressAndTapEvent = 263;

// A control's touch settings: the gestures it handles itself and the pan
// options. Each is streamed only when it differs from the defaults its
// control gave, so a form keeps following a control whose defaults change.
class TTouchSettings : public TPersistent {
  DECLARE_CLASS(TTouchSettings, TPersistent)
 public:
  explicit TTouchSettings(TPersistent* AControl = nullptr) : FControl(AControl) {}
  void Assign(TPersistent* Source) override;

  TInteractiveGestures InteractiveGestures() const { return FGestures; }
  void SetInteractiveGestures(TInteractiveGestures V) { FGestures = V; }
  TInteractiveGestureOptions InteractiveGestureOptions() const { return FOptions; }
  void SetInteractiveGestureOptions(TInteractiveGestureOptions V) { FOptions = V; }
  TInteractiveGestures DefaultInteractiveGestures() const { return FDefaultGestures; }
  TInteractiveGestureOptions DefaultInteractiveGestureOptions() const { return FDefaultOptions; }
  // Makes the values the defaults and takes them (a control does this while
  // it is made, before its form resource is read).
  void SetDefaults(TInteractiveGestures AGestures, TInteractiveGestureOptions AOptions);

  bool IsInteractiveGesturesStored() const { return FGestures != FDefaultGestures; }
  bool IsInteractiveGestureOptionsStored() const { return FOptions != FDefaultOptions; }

  // Every pan option, and gestures pass on to the parent: a control that
  // handles none itself leaves them to the one it sits on.
  static TInteractiveGestureOptions FrameworkDefaultOptions();

 protected:
  TPersistent* GetOwner() override { return FControl; }

 private:
  TPersistent* FControl;
  TInteractiveGestures FGestures, FDefaultGestures;
  TInteractiveGestureOptions FOptions = FrameworkDefaultOptions(),
                             FDefaultOptions = FrameworkDefaultOptions();
};

// How a window asks the platform for the gestures its controls want; the
// touch module, above this one, fills it at its start-up. Without it a window
// keeps the platform's default gestures.
struct TGestureConfigRoutines {
  // True when the platform took the configuration.
  bool (*Apply)(HWND AWnd, TInteractiveGestures AGestures,
                TInteractiveGestureOptions AOptions) = nullptr;
};
TGestureConfigRoutines& GestureConfigRoutines();

// -- Drag and drop between controls: a control is dragged (by BeginDrag, or
// by a press when its DragMode is dmAutomatic) and the control under the
// pointer is asked whether it takes what is dragged (OnDragOver) and is
// handed it on the drop (OnDragDrop).
enum TDragMode { dmManual, dmAutomatic };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
// What CM_DRAG asks of a control (WParam); LParam points at a TDragRec.
enum TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop };
class TDragObject;
class TDragOperation;
class TCustomImageList;
struct TDragRec {
  TPoint Pos;  // screen coordinates
  TDragObject* Source;
};
using TStartDragEvent = TMethodPtr<void(TObject* Sender, TDragObject*& DragObject)>;
using TDragOverEvent = TMethodPtr<void(TObject* Sender, TObject* Source, Integer X, Integer Y,
                                       TDragState State, bool& Accept)>;
using TDragDropEvent = TMethodPtr<void(TObject* Sender, TObject* Source, Integer X, Integer Y)>;
using TEndDragEvent = TMethodPtr<void(TObject* Sender, TObject* Target, Integer X, Integer Y)>;

class TControlCanvas;
class TPopupMenuBase;
class TControlActionLink;

class TControl : public TComponent {
  DECLARE_CLASS(TControl, TComponent)
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;
  void BeforeDestruction() override;

  // Messages: WindowProc is replaceable (subclassing); it defaults to WndProc,
  // which hands what it does not filter to Dispatch.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  TWndMethod WindowProc;
  virtual void WndProc(TMessage& Message);
  // Calls the handler the message tables give for the message (see
  // Messages.h); a message no table lists goes to DefaultHandler.
  void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  TComponent* GetParentComponent() const override;
  bool HasParent() const override;
  void SetParentComponent(TComponent* Value) override;

  Integer Left() const { return FLeft; }
  Integer Top() const { return FTop; }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }
  void SetLeft(Integer V) { SetBounds(V, FTop, FWidth, FHeight); }
  void SetTop(Integer V) { SetBounds(FLeft, V, FWidth, FHeight); }
  void SetWidth(Integer V) { SetBounds(FLeft, FTop, V, FHeight); }
  void SetHeight(Integer V) { SetBounds(FLeft, FTop, FWidth, V); }
  virtual void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.left, R.top, RectWidth(R), RectHeight(R)); }
  virtual TRect ClientRect();
  Integer ClientWidth() { return RectWidth(ClientRect()); }
  Integer ClientHeight() { return RectHeight(ClientRect()); }
  virtual void SetClientWidth(Integer V);
  virtual void SetClientHeight(Integer V);
  virtual TPoint ClientOrigin();
  TPoint ClientToScreen(const TPoint& P);
  TPoint ScreenToClient(const TPoint& P);
  TPoint ClientToParent(const TPoint& P, TWinControl* AParent = nullptr);

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign V);
  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors V);
  TSizeConstraints* Constraints() const { return FConstraints.get(); }
  TTouchSettings* Touch() const { return FTouch.get(); }
  void SetTouch(TTouchSettings* V) { FTouch->Assign(V); }
  void SetConstraints(TSizeConstraints* V) { FConstraints->Assign(V); }

  bool Visible() const { return FVisible; }
  void SetVisible(bool V);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  virtual bool Showing();
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool V);

  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* V) { FFont->Assign(V); }
  bool ParentFont() const { return FParentFont; }
  // Virtual: a control whose font lives elsewhere (a style) records there
  // that its font stops following the parent.
  virtual void SetParentFont(bool V);
  TColor Color() const { return FColor; }
  void SetColor(TColor V);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool V);
  String Caption() { return GetText(); }
  void SetCaption(const String& V) { SetText(V); }
  String Text() { return GetText(); }
  void SetTextProp(const String& V) { SetText(V); }
  virtual String GetText();
  virtual void SetText(const String& V);
  const String& Hint() const { return FHint; }
  void SetHint(const String& V) { FHint = V; }
  // The topic of the application's help file that belongs to the control.
  Integer HelpContext() const { return FHelpContext; }
  void SetHelpContext(Integer V) { FHelpContext = V; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool V);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool V);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor V);
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* V);
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode V);
  bool ParentBiDiMode() const { return FParentBiDiMode; }
  void SetParentBiDiMode(bool V);
  virtual bool UseRightToLeftAlignment() const;
  bool UseRightToLeftReading() const;
  bool UseRightToLeftScrollBar() const;
  bool IsRightToLeft() const;
  Integer DrawTextBiDiModeFlags(Integer Flags) const;
  TControlStyle ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle V) { FControlStyle = V; }
  TControlState ControlState() const { return FControlState; }
  void SetControlState(TControlState V) { FControlState = V; }
  Integer CurrentPPI() const { return FCurrentPPI; }

  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();

  // Scales bounds (and an own font) by M/D.
  virtual void ChangeScale(Integer M, Integer D);
  virtual void ScaleForPPI(Integer NewPPI);

  virtual void Click();
  virtual void DblClick();

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TContextPopupEvent OnContextPopup;
  TMouseWheelEvent OnMouseWheel;

  // Published-property helpers.
  TNotifyEvent GetOnClick() const { return OnClick; }
  void SetOnClick(TNotifyEvent V) { OnClick = V; }
  TNotifyEvent GetOnDblClick() const { return OnDblClick; }
  void SetOnDblClick(TNotifyEvent V) { OnDblClick = V; }
  TContextPopupEvent GetOnContextPopup() const { return OnContextPopup; }
  void SetOnContextPopup(TContextPopupEvent V) { OnContextPopup = V; }
  TMouseEvent GetOnMouseDown() const { return OnMouseDown; }
  void SetOnMouseDown(TMouseEvent V) { OnMouseDown = V; }
  TMouseEvent GetOnMouseUp() const { return OnMouseUp; }
  void SetOnMouseUp(TMouseEvent V) { OnMouseUp = V; }
  TMouseMoveEvent GetOnMouseMove() const { return OnMouseMove; }
  void SetOnMouseMove(TMouseMoveEvent V) { OnMouseMove = V; }
  TNotifyEvent GetOnResize() const { return OnResize; }
  void SetOnResize(TNotifyEvent V) { OnResize = V; }

  // The form this control sits on (the top-most parent form), or nullptr.
  TCustomForm* GetParentForm() const;
  // The keyboard cues in force (UISF_HIDEFOCUS, UISF_HIDEACCEL): a window
  // keeps its own, a graphic control follows its parent's.
  virtual Word UIState() const;

  // The action the control shows and executes when clicked; nullptr for none.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TControlActionLink* ActionLink() const { return FActionLink.get(); }
  // Updates the linked action (each idle moment, for the shown forms).
  virtual void InitiateAction();
  // A value an action link supplies is not stored in a form resource.
  bool IsCaptionStored() const;
  bool IsEnabledStored() const;
  bool IsHintStored() const;
  bool IsVisibleStored() const;
  bool IsOnClickStored() const;

  // -- Drag and drop (see TDragObject).
  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode V) { FDragMode = V; }
  // The cursor over a control that accepts the dragged control.
  TCursor DragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor V) { FDragCursor = V; }
  // Drags the control until the left button is released (a drop), Escape,
  // the right button or a lost capture (a cancel), or EndDrag. Without
  // Immediate the drag begins once the pointer has moved Threshold pixels
  // (the system's drag distance when negative); a release before that ends
  // it with no target. Returns when the operation is over.
  void BeginDrag(bool Immediate, Integer Threshold = -1);
  // Ends the control's drag: dropped on the target under the pointer when
  // Drop and that target accepts, cancelled otherwise.
  void EndDrag(bool Drop);
  void CancelDrag() { EndDrag(false); }
  bool Dragging() const;
  // Something was dropped on the control (the dragged control, or the drag
  // object OnStartDrag gave).
  virtual void DragDrop(TObject* Source, Integer X, Integer Y);
  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

 protected:
  friend class TWinControl;
  friend class TDragOperation;
  friend class TDragControlObject;
  // The start of a drag: OnStartDrag, which may give a drag object of its
  // own; without one the control itself is what targets see.
  virtual void DoStartDrag(TDragObject*& DragObject);
  // The end of a drag: OnEndDrag with the target (nullptr when nothing
  // took the drop).
  virtual void DoEndDrag(TObject* Target, Integer X, Integer Y);
  // Whether the control takes Source at (X, Y): OnDragOver decides, and a
  // control without the handler takes nothing.
  virtual void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept);
  // The images shown under the pointer while the control is dragged.
  virtual TCustomImageList* GetDragImages() { return nullptr; }
  virtual void CMDrag(TMessage& Message);
  static const TMessageTableEntry FMessageEntries[];
  static const TMessageTable FMessageTable;
  virtual const TMessageTable* MessageTable() const { return &FMessageTable; }

  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMRButtonDown(TMessage& Message);
  virtual void WMMButtonDown(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  virtual void WMRButtonDblClk(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMRButtonUp(TMessage& Message);
  virtual void WMMButtonUp(TMessage& Message);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void CMHitTest(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMParentBiDiModeChanged(TMessage& Message);
  // LParam points to the TGestureEventInfo; the result is 1 when the control
  // handled the gesture.
  virtual void CMGesture(TMessage& Message);
  virtual void DoGesture(const TGestureEventInfo& EventInfo, bool& Handled);
  // The gestures and pan options wanted for a touch that starts on the
  // control (by default its touch settings).
  virtual void DoGetGestureOptions(TInteractiveGestures& Gestures,
                                   TInteractiveGestureOptions& Options);

  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The client position a mouse message carries (its signed 16-bit words);
  // a control too large for them takes it from elsewhere.
  virtual TPoint MouseMessagePos(const TMessage& Message);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  virtual void MouseMove(TShiftState Shift, Integer X, Integer Y);
  virtual void DoContextPopup(const TPoint& MousePos, bool& Handled);
  virtual bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos);
  virtual void Resize();
  virtual void DoSetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  virtual bool CanResize(Integer& NewWidth, Integer& NewHeight) { return true; }
  void ConstrainSize(Integer& AWidth, Integer& AHeight);
  virtual void RequestAlign();
  virtual void VisibleChanging() {}
  virtual void FontChanged(TObject* Sender);
  void SendCancelMode(TControl* Sender);
  virtual TPopupMenuBase* GetPopupMenu();
  // Records the distances that anchors keep, from the parent's client size.
  void UpdateAnchorRules();
  virtual void UpdateBoundsRect(const TRect& R);
  virtual HWND GetDeviceContextWindow() const;
  // The class of the link SetAction creates (a TControlActionLink).
  virtual TClass GetActionLinkClass();
  // Takes the action's state; with CheckDefaults only into values the
  // control still has at their defaults (a control read from a resource
  // keeps what the resource set).
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);

  TWinControl* FParent = nullptr;
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TControlStyle FControlStyle;
  TControlState FControlState;
  bool FVisible = true;
  bool FEnabled = true;
  TOwned<TFont> FFont;
  TColor FColor = clWindow;
  bool FParentFont = true;
  bool FParentColor = true;
  String FText;
  Integer FCurrentPPI;  // set by the constructor
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FParentBiDiMode = true;

 private:
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void CaptureMouseOnPress();
  void ReleaseMouseOnRelease();
  void ConstraintsChanged(TObject* Sender);
  friend void AnchorAndAlignControl(TControl* Control, const TRect& ParentClient, bool Anchoring);

  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  // Anchor distances: left/top and right/bottom margins inside the parent's
  // client area, taken when the bounds were last set by someone else than
  // the anchoring itself, and the parent size they were taken at.
  TRect FAnchorMargins{0, 0, 0, 0};
  TSize FAnchorParentSize{0, 0};
  bool FAnchoring = false;
  TOwned<TSizeConstraints> FConstraints;
  TOwned<TTouchSettings> FTouch;
  String FHint;
  Integer FHelpContext = 0;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TComponent* FPopupMenu = nullptr;
  TOwned<TControlActionLink> FActionLink;
  void DoActionChange(TObject* Sender);
  TDragMode FDragMode = dmManual;
  TCursor FDragCursor = crDrag;
};

// What is dragged. A target sees the object itself as the source of its
// OnDragOver and OnDragDrop, unless the framework made it for a control
// that OnStartDrag gave none: the target then sees that control.
class TDragObject : public TObject {
  DECLARE_CLASS(TDragObject, TObject)
 public:
  virtual TCursor GetDragCursor(bool Accepted, Integer X, Integer Y);
  virtual TCustomImageList* GetDragImages() { return nullptr; }
  // Hide and show the drag images while the screen under them changes.
  virtual void HideDragImage();
  virtual void ShowDragImage();
  // The operation is over: dropped on Target (accepted), or not (Target
  // nullptr). An object OnStartDrag gave belongs to its maker, who may
  // free it here; the framework frees only the objects it made.
  virtual void Finished(TObject* Target, Integer X, Integer Y, bool Accepted) {}
  // The pointer (screen) and the control under it, as last seen.
  TPoint DragPos() const { return FDragPos; }
  TControl* DragTarget() const { return FDragTarget; }

 private:
  friend class TControl;
  friend class TDragOperation;
  TPoint FDragPos{0, 0};
  TControl* FDragTarget = nullptr;
  bool FMadeByFramework = false;
};

// A dragged control: its drag cursor and images; Finished ends the drag on
// the control (DoEndDrag).
class TDragControlObject : public TDragObject {
  DECLARE_CLASS(TDragControlObject, TDragObject)
 public:
  using TOwnerType = TControl;
  explicit TDragControlObject(TControl* AControl) : FControl(AControl) {}
  TControl* Control() const { return FControl; }
  TCursor GetDragCursor(bool Accepted, Integer X, Integer Y) override;
  TCustomImageList* GetDragImages() override;
  void Finished(TObject* Target, Integer X, Integer Y, bool Accepted) override;

 private:
  TControl* FControl;
};

// The link of a control: the action's caption, enabled, hint and visible
// state and its OnExecute as the control's OnClick.
class TControlActionLink : public TActionLink {
  DECLARE_CLASS(TControlActionLink, TActionLink)
 public:
  using TActionLink::TActionLink;
  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;
  bool IsOnExecuteLinked() override;
  void SetCaption(const String& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const String& Value) override;
  void SetVisible(bool Value) override;
  void SetOnExecute(TNotifyEvent Value) override;

 protected:
  void AssignClient(TObject* AClient) override;
  TControl* FClient = nullptr;
};

// A hook a popup menu class supplies so controls can show it without
// including the menu module.
class TPopupMenuBase : public TComponent {
  DECLARE_CLASS(TPopupMenuBase, TComponent)
 public:
  using TComponent::TComponent;
  virtual void Popup(Integer X, Integer Y) = 0;
  virtual bool AutoPopup() const { return true; }
  // Clicks the enabled item with the shortcut; true when one was clicked.
  virtual bool IsShortCut(TShortCut ShortCut) { return false; }
  TComponent* PopupComponent = nullptr;
};

struct TCreateParams {
  String Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  Integer X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSW WindowClass{};
  String WinClassName;
};

// The input method's state a control asks for while it has the focus:
// none at all, closed, open, open in a conversion mode, or whatever the user
// left (imDontCare).
enum TImeMode {
  imDisable,
  imClose,
  imOpen,
  imDontCare,
  imSAlpha,
  imAlpha,
  imHira,
  imSKata,
  imKata,
  imChinese,
  imSHanguel,
  imHanguel
};
using TImeName = String;

class TWinControl : public TControl {
  DECLARE_CLASS(TWinControl, TControl)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;
  void BeforeDestruction() override;

  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND V);
  // Creates the control inside a window that is not a framework control.
  static TWinControl* CreateParented(TClass AClass, HWND ParentWindow);

  Integer ControlCount() const {
    return static_cast<Integer>(FControls.size() + FWinControls.size());
  }
  TControl* Controls(Integer Index) const;
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(TControl* Control) const;
  TControl* ControlAtPos(const TPoint& Pos, bool AllowDisabled, bool AllowWinControls = false);
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  void DisableAlign();
  void EnableAlign();
  void Realign();
  bool AlignDisabled() const { return FAlignLevel > 0; }
  virtual void AlignControls(TControl* AControl, TRect& Rect);

  // Focus and tab order.
  virtual bool CanFocus();
  bool Focused();
  virtual void SetFocus();
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool V);
  Integer TabOrder() const;
  void SetTabOrder(Integer V);
  virtual void GetTabOrderList(std::vector<TWinControl*>& List);
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  TWinControl* FindChildControl(const String& ControlName);

  bool DoubleBuffered() const { return FDoubleBuffered; }
  void SetDoubleBuffered(bool V);
  // The parent's background is drawn under the control (see EraseBackground).
  bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
  void SetParentBackground(bool V);
  bool Ctl3D() const { return FCtl3D; }
  void SetCtl3D(bool V) { FCtl3D = V; }
  TBrush* Brush() const { return FBrush.get(); }

  TRect ClientRect() override;
  TPoint ClientOrigin() override;
  bool Showing() override { return FShowing; }
  void SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) override;
  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void ChangeScale(Integer M, Integer D) override;
  void ScaleForPPI(Integer NewPPI) override;
  void PaintTo(HDC DC, Integer X, Integer Y);
  void RecreateWnd();
  // Moves the content (the window's pixels and every child) by the deltas.
  void ScrollBy(Integer DeltaX, Integer DeltaY);
  Word UIState() const override { return FUIState; }
  // The pointer is over the window (entered, not yet left).
  bool MouseInControl() const { return FMouseInControl; }

  // The theme data of this control's window for a theme class list, opened
  // at the control's DPI; nullptr when the theme library has none. Kept
  // until the theme, the DPI or the window changes; callers never close it.
  HTHEME ThemeData(const String& AClassList);

  void DefaultHandler(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent GetOnKeyDown() const { return OnKeyDown; }
  void SetOnKeyDown(TKeyEvent V) { OnKeyDown = V; }
  TKeyPressEvent GetOnKeyPress() const { return OnKeyPress; }
  void SetOnKeyPress(TKeyPressEvent V) { OnKeyPress = V; }
  TNotifyEvent GetOnEnter() const { return OnEnter; }
  void SetOnEnter(TNotifyEvent V) { OnEnter = V; }
  TNotifyEvent GetOnExit() const { return OnExit; }
  void SetOnExit(TNotifyEvent V) { OnExit = V; }

  // The framework control whose window AWnd is, or nullptr.
  static TWinControl* FindControl(HWND AWnd);

  // -- The input method the control asks for while it has the focus: its
  // mode, and the input method chosen by its description (empty: the one
  // the user has). Taken on WM_SETFOCUS, given back on WM_KILLFOCUS.
  TImeMode ImeMode() const { return FImeMode; }
  void SetImeMode(TImeMode V);
  const TImeName& ImeName() const { return FImeName; }
  void SetImeName(const TImeName& V);

 protected:
  // Painting and the non-client area.
  virtual void WMPaint(TMessage& Message);
  virtual void WMEraseBkgnd(TMessage& Message);
  virtual void WMPrintClient(TMessage& Message);
  virtual void WMPrint(TMessage& Message);
  virtual void WMNCCalcSize(TMessage& Message);
  virtual void WMNCPaint(TMessage& Message);
  virtual void WMNCHitTest(TMessage& Message);
  virtual void WMSetCursor(TMessage& Message);
  virtual void WMWindowPosChanged(TMessage& Message);
  virtual void WMThemeChanged(TMessage& Message);
  virtual void WMChangeUIState(TMessage& Message);
  virtual void WMUpdateUIState(TMessage& Message);
  virtual void WMMouseLeave(TMessage& Message);
  virtual void WMNCMouseLeave(TMessage& Message);
  // A touch starts: the window asks for the gestures of the control under it.
  virtual void WMGestureNotify(TMessage& Message);
  // Notifications of child windows, reflected to the child as CN_*.
  virtual void WMCommand(TMessage& Message);
  virtual void WMNotify(TMessage& Message);
  virtual void WMDrawItem(TMessage& Message);
  virtual void WMMeasureItem(TMessage& Message);
  virtual void WMDeleteItem(TMessage& Message);
  virtual void WMCompareItem(TMessage& Message);
  virtual void WMHScroll(TMessage& Message);
  virtual void WMVScroll(TMessage& Message);
  virtual void WMCharToItem(TMessage& Message);
  virtual void WMVKeyToItem(TMessage& Message);
  virtual void WMCtlColor(TMessage& Message);
  // What a child receives of its own notifications (the defaults do what
  // the platform does).
  virtual void CNCommand(TMessage& Message);
  virtual void CNNotify(TMessage& Message);
  virtual void CNDrawItem(TMessage& Message);
  virtual void CNMeasureItem(TMessage& Message);
  virtual void CNHScroll(TMessage& Message);
  virtual void CNVScroll(TMessage& Message);
  virtual void CNCtlColor(TMessage& Message);
  // Keyboard and focus.
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMSysKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMSysKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMGetDlgCode(TMessage& Message);
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNSysKeyDown(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  virtual void CNSysChar(TMessage& Message);
  virtual void CMChildKey(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMDialogChar(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  virtual void CMFocusChanged(TMessage& Message);
  // State changes.
  virtual void CMShowingChanged(TMessage& Message);
  void CMVisibleChanged(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMTextChanged(TMessage& Message) override;
  virtual void CMShowHintChanged(TMessage& Message);
  virtual void CMBiDiModeChanged(TMessage& Message);
  virtual void CMInvalidate(TMessage& Message);
  virtual void CMRecreateWnd(TMessage& Message);
  virtual void WMGetText(TMessage& Message);
  virtual void WMGetTextLength(TMessage& Message);
  virtual void WMSetText(TMessage& Message);

  virtual void CreateParams(TCreateParams& Params);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void CreateHandle();
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void DestroyHandle();
  // Subclasses a system window class (BUTTON, EDIT, ...): the control's
  // default handler then calls that class's window procedure.
  void CreateSubClass(TCreateParams& Params, const wchar_t* ControlClassName);
  void Loaded() override;
  void ReadState(TReader* Reader) override;
  // Paints the client area into DC (the platform's painting for a system
  // window class; nothing for the framework's own class).
  virtual void PaintWindow(HDC DC);
  // Paints the window and its graphic children into the DC of the message
  // (WParam), or between BeginPaint and EndPaint when it has none.
  void PaintHandler(TMessage& Message);
  void PaintControls(HDC DC, TControl* First);
  // Paints the area R (logical coordinates of DC) through the back buffer:
  // background, window and graphic children, then one copy into DC.
  void PaintBuffered(HDC DC, const TRect& R);
  // Fills the background of the client area: the parent's background for
  // ParentBackground, the brush otherwise.
  virtual void EraseBackground(HDC DC);
  // Draws the parent's client area as it lies under this control into DC.
  void DrawParentBackground(HDC DC);
  // The frame and non-client parts for WM_PRINT; the platform's by default.
  virtual void PrintNonClient(HDC DC);
  // Shows keyboard cues (UISF_HIDEFOCUS, UISF_HIDEACCEL) hidden so far, in
  // every window of the top-level window.
  void ShowKeyboardCues(Word ACues);
  // Whether the framework paints the client area (the framework's own
  // window class, or graphic children to paint) rather than a system class.
  bool PaintsClientArea() const;
  virtual void AdjustClientRect(TRect& Rect);
  virtual bool DoKeyDown(TMessage& Message);
  virtual bool DoKeyPress(TMessage& Message);
  virtual bool DoKeyUp(TMessage& Message);
  virtual void KeyDown(Word& Key, TShiftState Shift);
  virtual void KeyUp(Word& Key, TShiftState Shift);
  virtual void KeyPress(Char& Key);
  virtual void DoEnter();
  virtual void DoExit();
  virtual bool IsControlMouseMsg(TMessage& Message);
  virtual void AlignControl(TControl* AControl);
  void UpdateShowing();
  // Shows or hides the window when the whole parent chain is showing.
  void UpdateControlState();
  virtual void ShowControl(TControl* AControl);
  void FontChanged(TObject* Sender) override;
  void UpdateBoundsRect(const TRect& R) override;
  HWND GetDeviceContextWindow() const override { return FHandle; }
  virtual void SetZOrder(bool TopMost);
  // A window that shows without a parent (a form).
  virtual bool IsTopLevelWindow() const { return false; }

  HWND FHandle = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::vector<TControl*> FControls;        // graphic children
  std::vector<TWinControl*> FWinControls;  // windowed children, in z-order
  std::vector<TWinControl*> FTabList;
  TOwned<TBrush> FBrush;
  bool FShowing = false;
  bool FTabStop = false;
  bool FCtl3D = true;
  bool FDoubleBuffered = false;
  Integer FAlignLevel = 0;
  HWND FParentWindow = nullptr;

 private:
  friend class TControl;
  friend LRESULT CALLBACK FrameworkInitWndProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  friend LRESULT CALLBACK FrameworkStdWndProc(HWND, UINT, WPARAM, LPARAM) noexcept;
  void DoAlignControls();
  // A key that is the shortcut of a popup menu of this control or of its
  // parents, or of an action of the form, runs it.
  bool IsMenuKey(TMessage& Message);
  void ReflectNotification(TMessage& Message, HWND Child);
  void ReflectFromLParam(TMessage& Message);
  // A navigation key the focused control does not want goes to the form.
  void DialogKeyDown(TMessage& Message);
  void TextMessage(TMessage& Message);
  // The keyboard cues of a new window: its parent's, or the user's setting.
  Word InitialUIState() const;
  // Mouse tracking: a move arms the platform's leave notification for the
  // client or the non-client area; the first move enters the control.
  void TrackMouse(bool ANonClient);
  void MouseLeft(bool ANonClient);
  void CloseThemes();

  // Puts the control's input-method wishes in force, and takes them back.
  void SetIme();
  void ResetIme();
  TImeMode FImeMode = imDontCare;
  TImeName FImeName;
  HKL FImeSavedLayout = nullptr;

  Word FUIState = 0;
  bool FMouseInControl = false;
  DWORD FTrackedAreas = 0;  // TME_LEAVE with or without TME_NONCLIENT, by area
  struct TThemeEntry {
    String ClassList;
    HTHEME Theme;
  };
  std::vector<TThemeEntry> FThemes;
};

class TCustomControl : public TWinControl {
  DECLARE_CLASS(TCustomControl, TWinControl)
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas; }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  TCanvas* FCanvas = nullptr;
};

class TGraphicControl : public TControl {
  DECLARE_CLASS(TGraphicControl, TControl)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas; }

 protected:
  // Paints on the parent's DC of the message (WParam).
  virtual void WMPaint(TMessage& Message);
  virtual void Paint() {}
  TCanvas* FCanvas = nullptr;
};

// A canvas that draws on a control: a windowed control's window, or the
// parent window clipped to a graphic control's bounds.
class TControlCanvas : public TCanvas {
  DECLARE_CLASS(TControlCanvas, TCanvas)
 public:
  TControlCanvas() = default;
  ~TControlCanvas() override;
  TControl* Control() const { return FControl; }
  void SetControl(TControl* AControl);
  // Releases the window's device context, if the canvas took one.
  void FreeHandle();
  void UpdateTextFlags();

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl = nullptr;
  std::optional<TWindowDC> FDeviceContext;
};

// The control that has the mouse captured: a graphic control that captured
// it through its parent, or the windowed control whose window has it;
// nullptr when no control of this program has.
TControl* GetCaptureControl();
// Sets the alpha of every pixel of ARect to 255 in the pixels of a 32-bit DIB
// (AWidth x AHeight, rows in memory from the top for a top-down DIB, from
// the bottom otherwise). GDI leaves the alpha of what it draws at 0 and
// themes leave their own; once a picture is known to be opaque (the back
// buffer of a painted control), this makes its alpha trustworthy for
// whoever blends it. The platform does not report the row order of a DIB
// section reliably, so the caller, who made it, says it.
void MakeAlphaOpaque(RGBQUAD* APixels, Integer AWidth, Integer AHeight, const TRect& ARect,
                     bool ATopDown = true);

// The theme library's entry points the controls use, bound by name on first
// use; an entry the platform lacks (OpenThemeDataForDpi before Windows 10)
// stays nullptr.
struct TThemeLibrary {
  HTHEME(WINAPI* OpenThemeData)(HWND, LPCWSTR) = nullptr;
  HTHEME(WINAPI* OpenThemeDataForDpi)(HWND, LPCWSTR, UINT) = nullptr;
  HRESULT(WINAPI* CloseThemeData)(HTHEME) = nullptr;
};
const TThemeLibrary& ThemeLibrary();
// Replaces the entry points (tests put fakes there); returns the previous ones.
TThemeLibrary SetThemeLibrary(const TThemeLibrary& ALibrary);

// A window of the framework's own hidden class whose messages go to Method.
HWND AllocateHWnd(TWndMethod Method);
// The same as a message-only window from its creation: it never takes part in
// activation (under Wine, a hidden top-level window moved under the message
// root afterwards is activated and takes the keyboard focus).
HWND AllocateMessageHWnd(TWndMethod Method);
void DeallocateHWnd(HWND Wnd);

// A window procedure of its own for Method, for a window whose procedure is
// replaced (subclassing of a window that is not a framework control). The
// procedure is called with the window's messages and hands them to Method;
// FreeObjectInstance gives it back once no window uses it any more.
WNDPROC MakeObjectInstance(TWndMethod Method);
void FreeObjectInstance(WNDPROC AProc);

// The control under a screen point (windowed or graphic), or nullptr.
TControl* FindDragTarget(const TPoint& Pos, bool AllowDisabled);
// The object of the drag in progress (after its start), or nullptr.
TDragObject* DragObjectInProgress();
TControl* FindVCLWindow(const TPoint& Pos);

// Sends a message to a window and raises EOSError when the window cannot
// be created.
void RaiseWindowCreateError(const String& ClassName);

void Controls_Initialize();
void Controls_Finalize();
