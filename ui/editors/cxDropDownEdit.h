// The drop-down editors: the editor popup window, the drop-down editor with
// its appearance, the combo box with its list and popup sizing, and the
// popup edit that shows any control in the drop-down window.
#pragma once

#include "cxMaskEdit.h"
#include "dxIncrementalFiltering.h"

class TcxCustomEditPopupWindow;
class TcxCustomEditPopupWindowViewInfo;
class TcxCustomDropDownEditProperties;
class TcxCustomDropDownEdit;
class TcxCustomDropDownEditViewData;
class TcxCustomDropDownInnerEdit;
class TcxEditPopupControlLookAndFeel;
class TcxCustomComboBoxProperties;
class TcxComboBoxProperties;
class TcxCustomComboBox;
class TcxComboBox;
class TcxComboBoxLookupData;
class TcxComboBoxPopupWindow;
class TcxCustomPopupEditProperties;
class TcxPopupEditProperties;
class TcxCustomPopupEdit;
class TcxPopupEdit;

// ===========================================================================
// Editor popup window
// ===========================================================================

// Measures and draws the popup's border instead of the painter when it
// reports the border handled: with no canvas it only gives the width.
using TcxEditPopupWindowCustomDrawBorderEvent =
    TMethodPtr<void(TcxCustomEditPopupWindowViewInfo* AViewInfo, TcxCanvas* ACanvas, const TRect& R,
                    bool& AHandled, Integer& ABorderWidth)>;

// Hit-test codes of the popup's frame.
constexpr Integer cxEditPopupHitNone = -1;
constexpr Integer cxEditPopupHitCloseButton = 0;
// A corner sizing along the top-left / bottom-right diagonal.
constexpr Integer cxEditPopupHitDiagonalNWSE = 1;
// A corner sizing along the top-right / bottom-left diagonal.
constexpr Integer cxEditPopupHitDiagonalNESW = 2;
constexpr Integer cxEditPopupHitTopOrBottom = 3;
constexpr Integer cxEditPopupHitLeftOrRight = 4;

// The shadow the popup keeps on its right and at its bottom.
constexpr Integer cxEditPopupShadowWidth = 3;

class TcxCustomEditPopupWindow;
using TcxCustomEditPopupWindowClass = TcxCustomEditPopupWindow* (*)(TcxCustomDropDownEdit* AEdit);
TWinControl* cxEditPopupOwnerControl(TcxCustomDropDownEdit* AEdit);
template <class T>
TcxCustomEditPopupWindow* cxCreateEditPopupWindow(TcxCustomDropDownEdit* AEdit) {
  return Create<T>(cxEditPopupOwnerControl(AEdit));
}

class TcxCustomEditPopupWindowViewInfo : public TdxCustomIncrementalFilteringContainerViewInfo {
  DECLARE_CLASS(TcxCustomEditPopupWindowViewInfo, TdxCustomIncrementalFilteringContainerViewInfo)
 public:
  TcxCustomEditPopupWindowViewInfo() = default;
  void DrawBorder(TcxCanvas* ACanvas, TRect R) override;
  // The border's width on every side.
  virtual TRect GetBorderExtent();
  // Everything between the window's edges and its client area: border,
  // client edge, shadow, system panel and the search-information panel.
  virtual TRect GetClientExtent();
  virtual Integer GetSysPanelHeight();
  // The search-information panel lies outside the client extent.
  bool IsSearchInfoPanelInClientRect() override { return false; }

  // Lays the frame out for Bounds, which the window has set.
  void CalculateLayout();
  // The code of the frame part under P (client coordinates).
  Integer GetHitTest(const TPoint& P);
  // The 1-pixel line between the system panel and the client area.
  TRect GetSysPanelBorders();
  TRect GetShadowOffsets() const;
  bool IsSizeGripAtTop() const {
    return SizeGripCorner == coTopLeft || SizeGripCorner == coTopRight;
  }
  bool IsSizeGripAtLeft() const {
    return SizeGripCorner == coTopLeft || SizeGripCorner == coBottomLeft;
  }

  TcxEditPopupBorderStyle BorderStyle = epbsDefault;
  bool ClientEdge = false;
  bool Sizeable = false;
  bool SysPanelStyle = false;
  bool ShowCloseButton = false;
  Integer MinSysPanelHeight = 0;
  Integer SysPanelHeight = 0;
  TRect SysPanelBounds{};
  TRect CloseButtonRect{};
  TRect SizeGripRect{};
  TRect SizeGripSizingRect{};
  TcxButtonState CloseButtonState = cxbsNormal;
  TdxCorner SizeGripCorner = coBottomRight;
  TcxEditPopupWindowCustomDrawBorderEvent OnCustomDrawBorder;

 protected:
  void InternalPaint(TcxCanvas* ACanvas) override;
  Integer GetBorderWidth();
  Integer GetClientEdgeWidth();
};

class TcxCustomEditPopupWindow : public TdxCustomIncrementalFilteringPopupWindow {
  DECLARE_CLASS(TcxCustomEditPopupWindow, TdxCustomIncrementalFilteringPopupWindow)
  DECLARE_MESSAGE_TABLE()
  // The editor holds the keyboard while the frame is dragged.
  friend class TcxCustomDropDownEdit;

 public:
  explicit TcxCustomEditPopupWindow(TWinControl* AOwnerControl);
  ~TcxCustomEditPopupWindow() override;
  void AfterConstruction() override;

  TSize CalculateSize() override;
  TPoint CalculatePosition(const TSize& ASize) override;
  void Popup(TWinControl* AFocusedControl) override;
  virtual void CalculateViewInfo();
  virtual void DoPopupControlKey(Char AKey);
  virtual TSize GetMinSize();
  TSize GetMaxVisualAreaSize();
  void RefreshPopupWindow();
  void ResizePopupWindow(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight);
  // The window region that keeps the shadow off the editor.
  void UpdateShadowRegion();
  TcxCustomDropDownEdit* GetEdit() const;
  // The control the next shown popup focuses.
  void SetFocusedControlOnShow(TWinControl* AControl);

  void LockCheckSize() { ++FLockCheckSizeCount; }
  void UnLockCheckSize() { --FLockCheckSizeCount; }
  bool CheckSizeLocked() const { return FLockCheckSizeCount > 0; }
  bool IsSizing() const { return FSizingCapture; }
  // The rectangle the size frame shows now (screen), empty without one.
  const TRect& PaintedSizeFrameBounds() const { return FPaintedSizeFrameBounds; }
  TcxSizeFrame* SizeFrame() const { return FSizeFrame.get(); }

  TcxCustomEditPopupWindowViewInfo* ViewInfo() const {
    return As<TcxCustomEditPopupWindowViewInfo>(TcxCustomPopupWindow::ViewInfo());
  }

  TcxEditPopupBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TcxEditPopupBorderStyle Value);
  bool ClientEdge() const { return FClientEdge; }
  void SetClientEdge(bool Value);
  bool CloseButton() const { return FCloseButton; }
  void SetCloseButton(bool Value);
  Integer MinSysPanelHeight() const { return ViewInfo()->MinSysPanelHeight; }
  void SetMinSysPanelHeight(Integer Value);
  bool NativeStyle() const { return FNativeStyle; }
  void SetNativeStyle(bool Value);
  bool Shadow() const { return FShadow; }
  void SetShadow(bool Value);
  bool Sizeable() const { return FSizeable; }
  void SetSizeable(bool Value);
  bool SysPanelStyle() const { return FSysPanelStyle; }
  void SetSysPanelStyle(bool Value);
  bool PopupAutoSize() const { return FPopupAutoSize; }
  void SetPopupAutoSize(bool Value) { FPopupAutoSize = Value; }
  Integer PopupWidth() const { return FPopupWidth; }
  void SetPopupWidth(Integer Value) { FPopupWidth = Value; }
  Integer PopupHeight() const { return FPopupHeight; }
  void SetPopupHeight(Integer Value) { FPopupHeight = Value; }
  Integer MinWidth() const { return FMinWidth; }
  void SetMinWidth(Integer Value) { FMinWidth = Value; }
  Integer MinHeight() const { return FMinHeight; }
  void SetMinHeight(Integer Value) { FMinHeight = Value; }

 protected:
  bool AcceptsAnySize() override;
  void DoClosing() override;
  void ModalCloseUp() override;
  void PopupWindowStyleChanged(TObject* Sender) override;
  TcxContainerViewInfoClass GetViewInfoClass() override;
  void CreateParams(TCreateParams& Params) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void CMMouseLeave(TMessage& Message) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) override;
  void Resize() override;
  bool CanResize(Integer& NewWidth, Integer& NewHeight) override;
  void AdjustClientRect(TRect& Rect) override;
  virtual void DXMPopupControlKey(TMessage& Message);
  void DXMShowPopupWindow(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

  void UpdateSysPanelState();
  void UpdateSysPanelState(const TPoint& P, TShiftState Shift);
  void StartResize(const TPoint& P, Integer AHitTest);
  void DoResize(const TPoint& P);
  void EndResize(bool AApply);
  void DrawSizeFrame(const TRect& R);

 private:
  TcxEditPopupBorderStyle FBorderStyle = epbsDefault;
  bool FClientEdge = false;
  bool FCloseButton = false;
  bool FNativeStyle = false;
  bool FShadow = false;
  bool FSizeable = false;
  bool FSysPanelStyle = false;
  bool FPopupAutoSize = false;
  Integer FPopupWidth = 0;
  Integer FPopupHeight = 0;
  Integer FMinWidth = 0;
  Integer FMinHeight = 0;
  TOwned<TcxSizeFrame> FSizeFrame;
  TWinControl* FFocusedControlOnShow = nullptr;
  TPoint FCapturePoint{};
  bool FSizingCapture = false;
  Integer FSizingHitTest = cxEditPopupHitNone;
  Integer FLockCheckSizeCount = 0;
  // The last non-empty frame (the size a resize ends with) and the last one
  // drawn; a property of the window, not of the module, so that two popups
  // never share them.
  TRect FSizeFrameBounds{};
  TRect FPaintedSizeFrameBounds{};
};

// (end of editor popup window)

// ===========================================================================
// Drop-down editor and its appearance
// ===========================================================================

// Until the mask editor's control is merged, the drop-down editor stands on
// the editor framework's bases directly; these three names are all that
// changes when it stands on the mask editor.
using TcxCustomDropDownEditPropertiesBase = TcxCustomEditProperties;
using TcxCustomDropDownEditViewDataBase = TcxCustomEditViewData;
using TcxCustomDropDownEditBase = TcxCustomEdit;

using TcxEditCloseQueryEvent = TMethodPtr<void(TObject* Sender, bool& CanClose)>;

class TcxCustomDropDownEditProperties : public TcxCustomDropDownEditPropertiesBase {
  DECLARE_CLASS(TcxCustomDropDownEditProperties, TcxCustomDropDownEditPropertiesBase)
 public:
  explicit TcxCustomDropDownEditProperties(TPersistent* AOwner);
  ~TcxCustomDropDownEditProperties() override;
  void AfterConstruction() override;

  virtual Integer DropDownButtonVisibleIndex() { return 0; }
  virtual TcxEditButtonKind DefaultButtonKind() { return bkDown; }
  virtual bool DropDownOnClick() { return false; }
  virtual bool GetAlwaysPostEditValue() { return false; }
  virtual TcxCustomEditPopupWindowClass GetPopupWindowClass();
  virtual bool PopupWindowAcceptsAnySize() { return true; }
  virtual bool PopupWindowCapturesFocus();
  virtual bool IsLookupDataVisual() { return true; }
  TcxCustomEditClass GetContainerClass() override;
  TcxCustomEditViewDataClass GetViewDataClass() override;
  TcxEditSupportedOperations GetSupportedOperations() override;

  TdxSmartGlyph* ButtonGlyph() const { return FButtonGlyph.get(); }
  void SetButtonGlyph(TdxSmartGlyph* Value);
  Integer GlyphButtonIndex() const { return FGlyphButtonIndex; }
  void SetGlyphButtonIndex(Integer Value);
  bool ImmediateDropDownWhenActivated() const { return FImmediateDropDownWhenActivated; }
  void SetImmediateDropDownWhenActivated(bool Value) { FImmediateDropDownWhenActivated = Value; }
  bool ImmediateDropDownWhenKeyPressed() const { return FImmediateDropDownWhenKeyPressed; }
  void SetImmediateDropDownWhenKeyPressed(bool Value) { FImmediateDropDownWhenKeyPressed = Value; }
  bool KeepArrowButtonPressedWhenDroppedDown() const {
    return FKeepArrowButtonPressedWhenDroppedDown;
  }
  void SetKeepArrowButtonPressedWhenDroppedDown(bool Value) {
    SetField(FKeepArrowButtonPressedWhenDroppedDown, Value);
  }
  TAlignment PopupAlignment() const;
  void SetPopupAlignment(TAlignment Value);
  bool PopupAutoSize() const { return FPopupAutoSize; }
  void SetPopupAutoSize(bool Value) { FPopupAutoSize = Value; }
  bool PopupClientEdge() const { return FPopupClientEdge; }
  void SetPopupClientEdge(bool Value) { SetField(FPopupClientEdge, Value); }
  TcxPopupDirection PopupDirection() const { return FPopupDirection; }
  void SetPopupDirection(TcxPopupDirection Value) { FPopupDirection = Value; }
  TcxPopupAlignHorz PopupHorzAlignment() const { return FPopupHorzAlignment; }
  void SetPopupHorzAlignment(TcxPopupAlignHorz Value) { SetField(FPopupHorzAlignment, Value); }
  TcxPopupAlignVert PopupVertAlignment() const { return FPopupVertAlignment; }
  void SetPopupVertAlignment(TcxPopupAlignVert Value) { FPopupVertAlignment = Value; }
  Integer PopupHeight() const { return FPopupHeight; }
  void SetPopupHeight(Integer Value);
  Integer PopupMinHeight() const { return FPopupMinHeight; }
  void SetPopupMinHeight(Integer Value);
  Integer PopupMinWidth() const { return FPopupMinWidth; }
  void SetPopupMinWidth(Integer Value);
  Integer PopupWidth() const { return FPopupWidth; }
  void SetPopupWidth(Integer Value);
  bool PopupSizeable() const { return FPopupSizeable; }
  void SetPopupSizeable(bool Value) { SetField(FPopupSizeable, Value); }
  bool PopupSysPanelStyle() const { return FPopupSysPanelStyle; }
  void SetPopupSysPanelStyle(bool Value) { SetField(FPopupSysPanelStyle, Value); }
  bool PostPopupValueOnTab() const { return FPostPopupValueOnTab; }
  void SetPostPopupValueOnTab(bool Value) { FPostPopupValueOnTab = Value; }

  TcxEditCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnCloseUp, OnFinalizePopup, OnInitPopup, OnPopup;

 protected:
  void ChangeScale(Integer M, Integer D) override;
  void DoAssign(TcxCustomEditProperties* AProperties) override;
  void DoChanged() override;
  // Puts ButtonGlyph on the glyph button again.
  void UpdateButtons();

 private:
  void ButtonGlyphChanged(TObject* Sender);
  TOwned<TdxSmartGlyph> FButtonGlyph;
  Integer FGlyphButtonIndex = 0;
  bool FImmediateDropDownWhenActivated = false;
  bool FImmediateDropDownWhenKeyPressed = true;
  bool FKeepArrowButtonPressedWhenDroppedDown = false;
  bool FPopupAutoSize = true;
  bool FPopupClientEdge = false;
  TcxPopupDirection FPopupDirection = pdVertical;
  TcxPopupAlignHorz FPopupHorzAlignment = pahLeft;
  TcxPopupAlignVert FPopupVertAlignment = pavBottom;
  Integer FPopupHeight = 0;
  Integer FPopupMinHeight = 0;
  Integer FPopupMinWidth = 0;
  Integer FPopupWidth = 0;
  bool FPopupSizeable = false;
  bool FPopupSysPanelStyle = false;
  bool FPostPopupValueOnTab = false;
};

// The popup size remembered for one cell of an in-place editor.
class TcxCustomDropDownEditData : public TcxCustomEditData {
  DECLARE_CLASS(TcxCustomDropDownEditData, TcxCustomEditData)
 public:
  using TcxCustomEditData::TcxCustomEditData;
  bool Initialized = false;
  Integer Width = 0;
  Integer Height = 0;
};

// The look and feel of the controls shown in the popup: it follows the
// editor.
class TcxEditPopupControlLookAndFeel : public TcxLookAndFeel {
  DECLARE_CLASS(TcxEditPopupControlLookAndFeel, TcxLookAndFeel)
 public:
  explicit TcxEditPopupControlLookAndFeel(TcxCustomDropDownEdit* AEdit);
  // Tells the listeners which of the resolved values no longer match what
  // the editor answers.
  void EditStyleChanged();
  TcxCustomDropDownEdit* GetEdit() const { return FEdit; }

 protected:
  TcxLookAndFeelKind InternalGetKind() override;
  bool InternalGetNativeStyle() override;
  String InternalGetSkinName() override;
  TdxScrollbarMode InternalGetScrollbarMode() override;

 private:
  TcxLookAndFeel* EditStyleLookAndFeel() const;
  TcxCustomDropDownEdit* FEdit;
};

class TcxCustomDropDownEditViewData : public TcxCustomDropDownEditViewDataBase {
  DECLARE_CLASS(TcxCustomDropDownEditViewData, TcxCustomDropDownEditViewDataBase)
 public:
  using TcxCustomDropDownEditViewDataBase::TcxCustomDropDownEditViewDataBase;
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, TcxMouseButton Button,
                 TShiftState Shift, TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  Integer GetEditNativeState(TcxCustomEditViewInfo* AViewInfo) override;

  bool HasPopupWindow = false;
  bool IsHotAndPopup = false;
  bool KeepArrowButtonPressedWhenDroppedDown = false;

 protected:
  bool CanPressButton(TcxCustomEditViewInfo* AViewInfo, Integer AButtonVisibleIndex) override;
  bool IsButtonPressed(TcxCustomEditViewInfo* AViewInfo, Integer AButtonVisibleIndex) override;
};

class TcxCustomDropDownEdit : public TcxCustomDropDownEditBase {
  DECLARE_CLASS(TcxCustomDropDownEdit, TcxCustomDropDownEditBase)
  // The popup hands the wheel over and closes through the editor.
  friend class TcxCustomEditPopupWindow;

 public:
  TcxCustomDropDownEdit(TComponent* AOwner, bool AIsInplace);
  explicit TcxCustomDropDownEdit(TComponent* AOwner) : TcxCustomDropDownEdit(AOwner, false) {}
  ~TcxCustomDropDownEdit() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TcxCustomDropDownEditProperties* ActiveProperties();
  TcxCustomDropDownEditProperties* Properties();
  TClass GetPropertiesClass() override;

  bool DroppedDown();
  void SetDroppedDown(bool Value);
  bool HasPopupWindow();
  // A show request waits in the popup's queue.
  bool IsPopupWindowShowing();
  TcxCustomEditPopupWindow* PopupWindow() const { return FPopupWindow.get(); }
  TcxEditPopupControlLookAndFeel* PopupControlsLookAndFeel() const {
    return FPopupControlsLookAndFeel.get();
  }
  TcxEditCloseUpReason CloseUpReason() const { return FCloseUpReason; }
  bool PopupSizeChanged() const { return FPopupSizeChanged; }
  void SetPopupSizeChanged(bool Value) { FPopupSizeChanged = Value; }
  bool PopupMouseMoveLocked() const { return FPopupMouseMoveLocked; }
  void SetPopupMouseMoveLocked(bool Value) { FPopupMouseMoveLocked = Value; }

  virtual bool CanDropDown() { return false; }
  virtual void CloseUp(TcxEditCloseUpReason AReason);
  virtual void DropDown();
  virtual void DoFinalizePopup();
  virtual TSize GetPopupWindowClientPreferredSize() = 0;
  virtual void PositionPopupWindowChilds(const TRect& AClientRect);
  virtual void StorePopupSize();
  // The editor's visible bounds in its parent's coordinates.
  TRect GetPopupWindowOwnerControlBounds();
  // The popup's visual area may take ANewSize (adjusted) within AMaxSize.
  virtual bool CanResizePopupVisualArea(TSize& ANewSize, const TSize& AMaxSize);
  // The popup hands typed keys to a search control of its own.
  virtual bool UsesSearchControl();

 protected:
  virtual void CreatePopupWindow();
  virtual void DestroyPopupWindow();
  virtual void DoCloseUp();
  virtual void DoInitPopup();
  virtual void DoPopup();
  virtual void EditButtonClick() {}
  virtual Integer GetPopupHeight();
  virtual TWinControl* GetPopupFocusedControl();
  virtual Integer GetPopupWidth();
  virtual TWinControl* GetVisualControlsParent();
  virtual void InitializeLookupData();
  virtual void InitializePopupWindow();
  virtual bool IsPopupWindowCaptureFocus();
  virtual bool NeedSearchInfoPanelShow();
  virtual void PopupControlsLookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {}
  virtual void SetupPopupWindow();
  virtual bool CanHide() { return true; }

  virtual void PopupWindowCloseQuery(TObject* Sender, bool& CanClose);
  virtual void PopupWindowClosed(TObject* Sender);
  virtual void PopupWindowClosing(TObject* Sender) {}
  virtual void PopupWindowShowed(TObject* Sender);
  virtual void PopupWindowShowing(TObject* Sender) {}

  void Initialize() override;
  void CreateHandle() override;
  void DestroyWnd() override;
  void DoButtonDown(Integer AButtonVisibleIndex) override;
  void DoEditKeyDown(Word& Key, TShiftState Shift) override;
  void DoEditKeyPress(Char& Key) override;
  void DoEditProcessTab(TShiftState Shift) override;
  void DoExit() override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void FocusChanged() override;
  TcxCustomEditViewData* CreateViewData() override;
  void PropertiesChanged(TObject* Sender) override;
  void ContainerStyleChanged(TObject* Sender) override;
  bool DoRefreshContainer(const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                          bool AIsMouseEvent) override;
  bool IsContainerFocused() override;
  bool IsEditorKey(Word Key, TShiftState Shift) override;
  bool TabsNeeded() override;
  void CMBiDiModeChanged(TMessage& Message) override;

  // The popup's show request is posted once and can be taken back.
  bool RemovePendingShowRequest();
  bool FIsActivatingByMouse = false;
  bool FIsHotAndPopup = false;

 private:
  void RecalculateIsHotAndPopup();
  void InitializeLookupDataTimerHandler(TObject* Sender);
  TOwned<TcxCustomEditPopupWindow> FPopupWindow;
  TcxEditCloseUpReason FCloseUpReason = crUnknown;
  bool FPopupInitialized = false;
  bool FPopupSizeChanged = false;
  bool FPopupMouseMoveLocked = false;
  TOwned<TcxEditPopupControlLookAndFeel> FPopupControlsLookAndFeel;
  TOwned<TcxTimer> FInitializeLookupDataTimer;
};

// (end of drop-down editor)

// ===========================================================================
// Combo box, its list and popup sizing
// ===========================================================================

// (end of combo box)

// ===========================================================================
// Popup edit
// ===========================================================================

// (end of popup edit)

// ===========================================================================
// Module start-up
// ===========================================================================

// (end of module start-up)
