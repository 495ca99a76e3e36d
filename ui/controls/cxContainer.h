// The container: the bordered, state-styled control every editor is, its
// styles and shared style controllers, its calculated look (view info) and
// the border, shadow, invalidation and region routines the editors share.
#pragma once
#include <array>
#include <vector>
#include "cxControls.h"
#include "cxLookAndFeels.h"
#include "cxPopupHooks.h"
#include "cxScrollBar.h"
#include "dxForms.h"

class TcxContainer;
class TcxContainerStyle;
class TcxStyleController;

// ---------------------------------------------------------------------------
// Style vocabulary.
enum TcxContainerStateItem { csNormal, csActive, csDisabled, csHotTrack };
using TcxContainerState = TSet<TcxContainerStateItem>;

enum TcxContainerStyleValue {
  csvBorderColor,
  csvBorderStyle,
  csvColor,
  csvEdges,
  csvFont,
  csvHotTrack,
  csvShadow,
  csvTextColor,
  csvTextStyle,
  csvTransparentBorder
};
using TcxContainerStyleValues = TSet<TcxContainerStyleValue>;
constexpr Integer cxContainerStyleValueCount = 10;
extern const wchar_t* const cxContainerStyleValueNameA[cxContainerStyleValueCount];

const TEnumInfo& cxContainerBorderStyleInfo();
const TEnumInfo& cxContainerStyleValueInfo();

// Equal texts under the locale's comparison; without case sensitivity both
// are compared in the locale's upper case.
bool InternalCompareString(const String& S1, const String& S2, bool ACaseSensitive);

// The default style controller of every container style; nullptr until the
// editor framework sets it. Styles read it when they are built and when they
// fall back to the default.
TcxStyleController* cxContainerDefaultStyleController();
void cxSetContainerDefaultStyleController(TcxStyleController* AValue);
inline TcxStyleController* DefaultContainerStyleController() {
  return cxContainerDefaultStyleController();
}

// What a style asks of the container that owns it: the container answers
// through this so that the styles need not know the container's class.
class IcxContainerStyleOwner {
 public:
  virtual TControl* GetStyleOwnerControl() = 0;
  virtual bool DefaultParentColor() = 0;
  virtual bool IsInplace() = 0;
  virtual bool IsStylePropertyPublished(const String& APropertyName, bool AExtendedStyle) = 0;

 protected:
  ~IcxContainerStyleOwner() = default;
};

using TcxContainerStyleClass = TcxContainerStyle* (*)(TPersistent* AOwner, bool ADirectAccessMode,
                                                      TcxContainerStyle* AParentStyle,
                                                      TcxContainerStateItem AState);
template <class T>
TcxContainerStyle* cxCreateContainerStyle(TPersistent* AOwner, bool ADirectAccessMode,
                                          TcxContainerStyle* AParentStyle,
                                          TcxContainerStateItem AState) {
  return Create<T>(AOwner, ADirectAccessMode, AParentStyle, AState);
}

struct TcxContainerStyleData {
  TColor Color = clDefault;
  TFont* Font = nullptr;
  TColor FontColor = clDefault;
};

// ---------------------------------------------------------------------------
// A container style: ten values, each assigned here or resolved through the
// style controller chain and then the state's default.
class TcxContainerStyle : public TcxInterfacedPersistent {
  DECLARE_CLASS(TcxContainerStyle, TcxInterfacedPersistent)
 public:
  TcxContainerStyle(TPersistent* AOwner, bool ADirectAccessMode, TcxContainerStyle* AParentStyle,
                    TcxContainerStateItem AState);
  ~TcxContainerStyle() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;
  void Assign(TPersistent* Source) override;

  void BeginUpdate();
  void EndUpdate();
  virtual void RestoreDefaults();

  TColor GetBorderColor();
  TcxContainerBorderStyle GetBorderStyle();
  // The colour painted: the parent's colour first when the container takes it.
  virtual TColor GetColor();
  // The colour the container copies into its own Color.
  virtual TColor GetStyleColor();
  TcxBorders GetEdges();
  TFont* GetFont();
  bool GetHotTrack();
  bool GetShadow();
  virtual TColor GetTextColor();
  virtual TFontStyles GetTextStyle();
  bool GetTransparentBorder();
  TcxLookAndFeel* GetLookAndFeel();
  TcxContainerStyleValues GetAssignedValues() const;

  void SetBorderColor(TColor AValue);
  void SetBorderStyle(TcxContainerBorderStyle AValue);
  void SetColor(TColor AValue);
  void SetEdges(TcxBorders AValue);
  void SetFont(TFont* AValue);
  void SetHotTrack(bool AValue);
  void SetShadow(bool AValue);
  void SetTextColor(TColor AValue);
  void SetTextStyle(TFontStyles AValue);
  void SetTransparentBorder(bool AValue);
  void SetLookAndFeel(TcxLookAndFeel* AValue);
  void SetAssignedValues(TcxContainerStyleValues AValue);
  // Forgets that V was assigned, keeping the value stored (a font that came
  // down from the parent stays the style font).
  void RemoveAssignedValue(TcxContainerStyleValue V);

  // The assigned controller (nullptr for the default one) and its setter.
  TcxStyleController* BaseGetStyleController();
  void BaseSetStyleController(TcxStyleController* AValue);
  TcxStyleController* GetActiveStyleController();
  TcxContainerStyle* GetBaseStyle() { return IsBaseStyle() ? this : FParentStyle; }
  bool IsBaseStyle() const { return FParentStyle == nullptr; }
  TcxContainerStateItem State() const { return FState; }
  bool DirectAccessMode() const { return FDirectAccessMode; }
  TcxContainerStyle* ParentStyle() const { return FParentStyle; }
  TcxContainer* GetContainer();
  // The style font with the style's text colour and style, rebuilt each call.
  TFont* GetVisibleFont();

  virtual Integer GetStyleValueCount();
  virtual bool GetStyleValueName(Integer AValue, String& AName);
  bool GetStyleValue(const String& APropertyName, Integer& AValue);
  virtual bool IsValueAssigned(TcxContainerStyleValue AValue);
  virtual bool HasBorder();
  bool IsExtendedStylePropertyPublished(const String& APropertyName);
  void LockFontAssignedValue(bool ALock);
  bool IsFontAssignedValueLocked() const { return FFontAssignedValueLockCount > 0; }
  // Refreshes the style font from the controller chain unless it is assigned.
  void UpdateFont();

  const TNotifyEvent& OnChanged() const { return FOnChanged; }
  void SetOnChanged(const TNotifyEvent& AValue) { FOnChanged = AValue; }

  // Called by the controller.
  virtual void ControllerChangedNotification(TcxStyleController* AStyleController);
  virtual void ControllerFreeNotification(TcxStyleController* AStyleController);

  // Published stored predicates (one per value, see IsValueStored).
  template <TcxContainerStyleValue V>
  bool IsStored() {
    return IsValueStored(V);
  }
  bool IsStyleControllerStored() { return IsBaseStyle() && BaseGetStyleController() != nullptr; }
  bool IsLookAndFeelStored();

 protected:
  virtual void Changed();
  virtual TColor DefaultBorderColor();
  virtual TcxContainerBorderStyle DefaultBorderStyle();
  virtual TColor DefaultColor();
  virtual TColor DefaultDisabledTextColor();
  virtual TcxBorders DefaultEdges();
  virtual bool DefaultHotTrack();
  virtual bool DefaultShadow();
  virtual TColor DefaultTextColor();
  virtual TFontStyles DefaultTextStyle();
  virtual bool DefaultTransparentBorder();
  virtual void FontChanged(TObject* Sender);
  virtual TcxStyleController* GetDefaultStyleController();
  virtual TcxContainerStyleValues InternalGetNotPublishedExtendedStyleValues();
  void DefineProperties(TFiler* Filer) override;
  bool IsValueStored(TcxContainerStyleValue AValue);

  // The style that holds V: this one, or one found through the controllers.
  TcxContainerStyle* FindAssigned(TcxContainerStyleValue V);
  IcxContainerStyleOwner* ContainerOwner();
  bool IsDestroying() const { return FIsDestroying; }

  TColor FBorderColor = clDefault;
  TcxContainerBorderStyle FBorderStyle = cbsNone;
  TcxBorders FEdges;
  bool FHotTrack = true;
  bool FShadow = false;
  bool FTransparentBorder = true;
  TFontStyles FTextStyle;
  TcxContainerStyleData StyleData;
  TcxContainerStyleValues FAssignedValues;

 private:
  void CheckChanges();
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  void ReadIsFontAssigned(TReader* AReader);
  void WriteIsFontAssigned(TWriter* AWriter);
  void SetBaseValue(TcxContainerStyleValue V, auto& AField, auto AValue);
  void SetOwnValue(TcxContainerStyleValue V, auto& AField, auto AValue);

  bool FDirectAccessMode;
  Integer FFontAssignedValueLockCount = 0;
  bool FIsDestroying = false;
  TOwned<TcxLookAndFeel> FLookAndFeel;
  bool FModified = false;
  TcxContainerStyle* FParentStyle;
  TcxContainerStateItem FState;
  Integer FUpdateCount = 0;
  TOwned<TFont> FVisibleFont;
  TOwned<TFont> FOwnedFont;
  TNotifyEvent FOnChanged;
  TcxStyleController* FStyleController = nullptr;
};

// ---------------------------------------------------------------------------
// The four state styles of a container or controller.
class TcxContainerStyles : public TObject {
  DECLARE_CLASS(TcxContainerStyles, TObject)
 public:
  TcxContainerStyles(TPersistent* AOwner, TcxContainerStyleClass AStyleClass);
  ~TcxContainerStyles() override;
  TcxContainerStyle* GetStyle(TcxContainerStateItem AState) const { return FStyles[AState]; }
  void SetStyle(TcxContainerStateItem AState, TcxContainerStyle* AValue);
  TcxContainerStyle* StyleNormal() const { return FStyles[csNormal]; }
  TcxContainerStyle* StyleFocused() const { return FStyles[csActive]; }
  TcxContainerStyle* StyleDisabled() const { return FStyles[csDisabled]; }
  TcxContainerStyle* StyleHot() const { return FStyles[csHotTrack]; }
  void RestoreDefaults();
  void SetOnChanged(const TNotifyEvent& AHandler);

 private:
  std::array<TcxContainerStyle*, 4> FStyles{};
};
using TcxContainerStylesClass = TcxContainerStyles* (*)(TPersistent* AOwner,
                                                        TcxContainerStyleClass AStyleClass);
template <class T>
TcxContainerStyles* cxCreateContainerStyles(TPersistent* AOwner,
                                            TcxContainerStyleClass AStyleClass) {
  return Create<T>(AOwner, AStyleClass);
}

// ---------------------------------------------------------------------------
// A shared, non-visual set of styles that any number of styles point to.
class TcxStyleController : public TcxScalableComponent {
  DECLARE_CLASS(TcxStyleController, TcxScalableComponent)
 public:
  using TOwnerType = TComponent;
  explicit TcxStyleController(TComponent* AOwner);
  ~TcxStyleController() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;
  void Loaded() override;
  void STDMETHODCALLTYPE ChangeScale(Integer M, Integer D) override;

  virtual void AddListener(TcxContainerStyle* AStyle);
  virtual void RemoveListener(TcxContainerStyle* AStyle);
  void Changed();
  void RestoreStyles();
  bool IsDestruction() const { return FIsDestruction; }
  bool HasListener(TcxContainerStyle* AStyle) const;
  Integer ListenerCount() const { return static_cast<Integer>(FListeners.size()); }

  TcxContainerStyle* GetStyle() const { return FStyles->StyleNormal(); }
  void SetStyle(TcxContainerStyle* AValue) { SetInternalStyle(csNormal, AValue); }
  TcxContainerStyle* GetInternalStyle(TcxContainerStateItem AState) const {
    return FStyles->GetStyle(AState);
  }
  void SetInternalStyle(TcxContainerStateItem AState, TcxContainerStyle* AValue);
  TcxContainerStyle* StyleFocused() const { return GetInternalStyle(csActive); }
  TcxContainerStyle* StyleDisabled() const { return GetInternalStyle(csDisabled); }
  TcxContainerStyle* StyleHot() const { return GetInternalStyle(csHotTrack); }
  void SetStyleFocused(TcxContainerStyle* AValue) { SetInternalStyle(csActive, AValue); }
  void SetStyleDisabled(TcxContainerStyle* AValue) { SetInternalStyle(csDisabled, AValue); }
  void SetStyleHot(TcxContainerStyle* AValue) { SetInternalStyle(csHotTrack, AValue); }
  TcxStyleController* GetFakeStyleController() const;
  void SetFakeStyleController(TcxStyleController*) {}

  const TNotifyEvent& OnStyleChanged() const { return FOnStyleChanged; }
  void SetOnStyleChanged(const TNotifyEvent& AValue) { FOnStyleChanged = AValue; }

 protected:
  virtual TcxContainerStyleClass GetStyleClass();
  virtual TcxContainerStylesClass GetStylesClass();

 private:
  void StyleChanged(TObject* Sender);
  bool FIsDestruction = false;
  std::vector<TcxContainerStyle*> FListeners;
  TNotifyEvent FOnStyleChanged;
  TOwned<TcxContainerStyles> FStyles;
};

// ---------------------------------------------------------------------------
// The calculated look of a container or custom popup window.
enum TcxContainerHotState { chsNoHotTrack, chsNormal, chsSelected };
enum TcxMouseButton { cxmbNone, cxmbLeft, cxmbRight, cxmbMiddle };

constexpr TRect cxContainerDefaultBorderExtent{2, 2, 2, 2};
constexpr Integer cxContainerShadowWidth = 3;
constexpr TColor cxContainerShadowColor = clBtnShadow;

class TcxContainerViewInfo : public TObject {
  DECLARE_CLASS(TcxContainerViewInfo, TObject)
 public:
  using TOwnerType = TWinControl;
  TcxContainerViewInfo() = default;
  virtual void Assign(TObject* Source);
  // A new empty region the caller frees.
  virtual TRegionHandle GetUpdateRegion(TcxContainerViewInfo* AViewInfo);
  virtual void Offset(Integer DX, Integer DY);
  virtual void Paint(TcxCanvas* ACanvas);
  virtual void UpdateStyle(TcxContainerStyle* AStyle);
  virtual void DrawBorder(TcxCanvas* ACanvas, TRect R);
  virtual TcxContainerBorderStyle GetContainerBorderStyle() { return BorderStyle; }
  virtual void SetBackgroundColor(TColor AValue) { FBackgroundColor = AValue; }
  TColor BackgroundColor() const { return FBackgroundColor; }
  bool Calculated() const { return FCalculated; }
  void SetCalculated(bool AValue) { FCalculated = AValue; }

  TColor BorderColor = clDefault;
  TRect BorderRect{};
  TcxContainerBorderStyle BorderStyle = cbsNone;
  Integer BorderWidth = 0;
  TRect Bounds{};
  TRect ClientRect{};
  TcxContainerState ContainerState{csNormal};
  TcxBorders Edges;
  TFont* Font = nullptr;
  TcxContainerHotState HotState = chsNoHotTrack;
  Integer NativePart = 0;
  Integer NativeState = 0;
  bool NativeStyle = false;
  TWinControl* Owner = nullptr;
  TcxCustomLookAndFeelPainter* Painter = nullptr;
  bool Shadow = false;
  TdxThemedObjectType ThemedObjectType = totEdit;
  bool UseSkins = false;

 protected:
  virtual void InternalPaint(TcxCanvas* ACanvas);
  void DrawBackground(TcxCanvas* ACanvas);
  void DrawNativeStyleBackground(TcxCanvas* ACanvas);
  TColor FBackgroundColor = clDefault;
  bool FCalculated = false;
};

// The native ring's colour: the list-box border colour while desktop
// composition is on, else the combo-box one; replaceable for tests.
struct TcxContainerNativeBorderColorSource {
  bool (*IsCompositionEnabled)();
};
TcxContainerNativeBorderColorSource& cxContainerNativeBorderColorSource();

// ---------------------------------------------------------------------------
// Routines the container and the editors share.
TcxMouseButton ButtonTocxButton(TMouseButton Button);
void DrawContainerShadow(TcxCanvas* ACanvas, const TRect& ARect);
TColor GetContainerBorderColor(bool AIsHighlight, bool AIsOffice11Style);
Integer GetContainerBorderWidth(TcxContainerBorderStyle ABorderStyle);
TRect GetControlRect(TControl* AControl);
// Each side without an edge moves in by the width.
void InflateRectByBorders(TRect& R, Integer ABorderWidth, TcxBorders AEdges);
// Redraws the four strips between the rectangles (the outer one when the
// inner is empty).
void InternalInvalidate(HWND AHandle, const TRect& AOuterRect, const TRect& AInternalRect,
                        bool AEraseBackground = false, bool ARedrawNC = false);
void InternalFillRect(TcxCanvas* ACanvas, const TRect& AOuterRect, const TRect& AInternalRect,
                      TColor AColor);
bool AreVisualStylesMustBeUsed(bool ANativeStyle, TdxThemedObjectType AThemedObjectType);
// A copy of the window's region, or nullptr when it has none.
TRegionHandle GetWindowRegion(HWND AWindowHandle);
// Gives ARegion to the window only when it differs from the present one;
// the region is consumed either way. True when the window took it.
bool SetWindowRegion(HWND AWindowHandle, TRegionHandle ARegion, bool ARedraw = true);
// The same after combining ARegion with the window's present region.
bool SetWindowRegion(HWND AWindowHandle, TRegionHandle ARegion, Integer AOperation,
                     bool ARedraw = true);
TRegionHandle GetWindowShadowRegion(HWND AWindowHandle, const TRect& AShadowBounds,
                                    const TRect& AShadowBoundsExtent, const TRect& AExcludeRect,
                                    bool AShadow, bool ANativeStyle);
void SetWindowShadowRegion(HWND AWindowHandle, const TRect& AShadowBounds,
                           const TRect& AShadowBoundsExtent, const TRect& AExcludeRect,
                           bool AShadow, bool ANativeStyle);
// The theme's fill colour of a part in a state; clDefault when it gives none.
TColor cxContainerThemeFillColor(TdxThemedObjectType AType, Integer APart, Integer AState);

// ---------------------------------------------------------------------------
// Native scroll-bar queries. The platform's GetScrollBarInfo is looked up by
// name on first use; library scroll bars stand over native ones only where
// it exists. Tests replace the entry through cxScrollBarInfoEntry().
using TcxGetScrollBarInfoProc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
struct TcxScrollBarInfoEntry {
  bool Resolved = false;
  TcxGetScrollBarInfoProc Proc = nullptr;
};
TcxScrollBarInfoEntry& cxScrollBarInfoEntry();
bool UsecxScrollBars();
// True only when the entry exists and the call succeeds.
bool cxGetScrollBarInfo(HWND AWnd, LONG AObject, SCROLLBARINFO& AInfo);
// Neither invisible nor off-screen.
bool cxIsScrollBarShown(const SCROLLBARINFO& AInfo);
// The bar is available, neither invisible nor off-screen, and not empty.
bool cxIsNativeScrollBarVisible(HWND AWnd, TScrollBarKind AKind, SCROLLBARINFO& AInfo);
// The native bar's rectangle in AParent's client coordinates; empty when it
// lies outside AParent's client area.
TRect cxNativeScrollBarRectIn(const SCROLLBARINFO& AInfo, HWND AParent);
// The window's scroll range, page and position of a bar kind, the page cut
// to the maximum; false when the window has none.
bool cxGetNativeScrollParameters(HWND AWnd, TScrollBarKind AKind, SCROLLINFO& AInfo);

// ---------------------------------------------------------------------------
// The container control.
struct TcxContainerInnerControlBounds {
  bool IsEmpty = true;
  TRect Rect{};
};

struct TcxContainerSizeGripData {
  TRect Bounds{};
  bool Visible = false;
};

// The inner control of a container that draws a size grip.
struct IcxContainerInnerControl : public IUnknown {
  virtual TWinControl* STDMETHODCALLTYPE GetControl() = 0;
  virtual TcxContainer* STDMETHODCALLTYPE GetControlContainer() = 0;
};
__CRT_UUID_DECL(IcxContainerInnerControl, 0x1B111318, 0xD9C9, 0x4C35, 0x9E, 0xFF, 0x5D, 0x95, 0x79,
                0x3C, 0x01, 0x06)

// The corner between the container's two library bars, in the inner
// control's window coordinates; empty unless both bars show.
TRect GetSizeGripRect(IcxContainerInnerControl* AInnerControl);
// Fills ARect of the inner control's window in the painter's size-grip
// colour (nothing for an empty rectangle).
void cxFillSizeGrip(TcxContainer* AContainer, const TRect& ARect);
void cxFillSizeGrip(TcxContainer* AContainer, HDC ADC, const TRect& ARect);
// Sends the window a non-client paint of ARect (window coordinates).
void cxRedrawSizeGrip(HWND AWnd, const TRect& ARect);

using TcxContainerViewInfoClass = TcxContainerViewInfo* (*)();
template <class T>
TcxContainerViewInfo* cxCreateContainerViewInfo() {
  return Create<T>();
}

class TcxContainer : public TcxControl,
                     public IcxContainerStyleOwner,
                     public IcxMouseTrackingCaller {
  DECLARE_CLASS(TcxContainer, TcxControl)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TcxContainer(TComponent* AOwner);
  ~TcxContainer() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  // Refreshing the look.
  void RefreshContainer(const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                        bool AIsMouseEvent);
  bool ShortRefreshContainer(bool AIsMouseEvent);
  void BeginRefreshContainer();
  void EndRefreshContainer(bool AIsMouseEvent = false);
  void CheckIsViewInfoCalculated();
  bool IsViewInfoCalculated() const { return FIsViewInfoCalculated; }
  void UpdateScrollBarsParameters();

  TcxContainerStyle* GetStyle() const { return FStyles->StyleNormal(); }
  void SetStyle(TcxContainerStyle* AValue) { FStyles->SetStyle(csNormal, AValue); }
  TcxContainerStyle* GetInternalStyle(TcxContainerStateItem AState) const {
    return FStyles->GetStyle(AState);
  }
  void SetInternalStyle(TcxContainerStateItem AState, TcxContainerStyle* AValue) {
    FStyles->SetStyle(AState, AValue);
  }
  TcxContainerStyle* StyleFocused() const { return GetInternalStyle(csActive); }
  TcxContainerStyle* StyleDisabled() const { return GetInternalStyle(csDisabled); }
  TcxContainerStyle* StyleHot() const { return GetInternalStyle(csHotTrack); }
  void SetStyleFocused(TcxContainerStyle* AValue) { SetInternalStyle(csActive, AValue); }
  void SetStyleDisabled(TcxContainerStyle* AValue) { SetInternalStyle(csDisabled, AValue); }
  void SetStyleHot(TcxContainerStyle* AValue) { SetInternalStyle(csHotTrack, AValue); }
  void RestoreStyles() { FStyles->RestoreDefaults(); }
  TcxContainerStyle* GetActiveStyle();
  TFont* GetVisibleFont();
  bool IsStyleAssigned(TcxContainerStyleValue AValue);
  TcxStyleController* GetFakeStyleController() const {
    return GetStyle()->BaseGetStyleController();
  }
  void SetFakeStyleController(TcxStyleController*) {}
  TcxContainerViewInfo* ViewInfo() const { return FViewInfo.get(); }

  // The style owner's side.
  TControl* GetStyleOwnerControl() override { return this; }
  bool DefaultParentColor() override { return false; }
  bool IsInplace() override { return false; }
  bool IsStylePropertyPublished(const String& APropertyName, bool AExtendedStyle) override;

  void LockAlignControls(bool ALock);
  bool IsAlignControlsLocked() const { return FLockAlignControlsCount > 0; }
  void LockPopupMenu(bool ALock);
  bool IsPopupMenuLocked() const { return FPopupMenuLockCount > 0; }

  // The inner control.
  TWinControl* InnerControl() const { return FInnerControl; }
  void SetInnerControl(TWinControl* AValue);
  bool HasInnerControl() const { return FInnerControl != nullptr; }
  bool HasInnerControlHandle() const { return FInnerControl && FInnerControl->HandleAllocated(); }
  TWinControl* GetActiveControl() { return FInnerControl ? FInnerControl : this; }
  const TcxContainerInnerControlBounds& InnerControlBounds() const { return FInnerControlBounds; }
  void ClearSavedChildControlRegions() { FInnerControlBounds = TcxContainerInnerControlBounds(); }
  void SetSize();
  bool InnerControlDefaultHandler(TMessage& Message);
  bool InnerControlMenuHandler(TMessage& Message);
  bool InnerControlMouseDown() const { return FInnerControlMouseDown; }
  void SetInnerControlMouseDown(bool AValue) { FInnerControlMouseDown = AValue; }
  // The part of AControl that lies outside R, as the region rectangle of
  // the control (empty when it fits).
  void GetInnerControlBounds(const TRect& R, TControl* AControl,
                             TcxContainerInnerControlBounds& AData);
  TRect GetVisibleBounds();
  virtual bool IsNativeStyle();
  virtual bool HasShadow();
  virtual TRect GetBorderExtent();
  void UpdateWindowRegion();
  virtual void SetScrollBarsParameters(bool AIsScrolling = false);
  bool NeedsScrollBars() override { return false; }
  // The inner control's native bars.
  bool GetScrollBarInfo(TScrollBarKind AKind, SCROLLBARINFO& AInfo);
  bool IsScrollBarVisible(TScrollBarKind AKind, SCROLLBARINFO& AInfo);
  bool GetStandardScrollBarParameters(TScrollBarKind AKind, SCROLLINFO& AScrollInfo);
  // The library bars mirroring them.
  bool GetScrollBarEnabled(IcxControlScrollBar* ABar, const SCROLLBARINFO& AInfo);
  TRect GetScrollBarBounds(const SCROLLBARINFO& AInfo);
  void SetScrollBarVisible(IcxControlScrollBar* ABar, bool AVisible);
  void AdjustScrollBarPosition(IcxControlScrollBar* ABar);
  void AdjustScrollBarPositions();
  const TcxContainerSizeGripData& SizeGripData() const { return FSizeGripData; }
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void GetTabOrderList(std::vector<TWinControl*>& List) override;
  bool Focused();
  void SetFocus() override;
  // Calls the container's own key handlers for the inner control.
  void ContainerKeyDown(Word& Key, TShiftState Shift) { KeyDown(Key, Shift); }
  void ContainerKeyUp(Word& Key, TShiftState Shift) { KeyUp(Key, Shift); }
  void ContainerKeyPress(Char& Key) { KeyPress(Key); }
  // Whether the container's popup is open, for the view data that draws it.
  bool IsPopupWindowShowing() { return HasPopupWindow(); }
  void ContainerMouseDown(TMouseButton B, TShiftState S, Integer X, Integer Y) {
    MouseDown(B, S, X, Y);
  }
  void ContainerMouseMove(TShiftState S, Integer X, Integer Y) { MouseMove(S, X, Y); }
  void ContainerMouseUp(TMouseButton B, TShiftState S, Integer X, Integer Y) {
    MouseUp(B, S, X, Y);
  }
  bool ContainerMouseWheel(TShiftState S, Integer WheelDelta, const TPoint& MousePos) {
    return DoMouseWheel(S, WheelDelta, MousePos);
  }
  void ContainerClick() { Click(); }
  void ContainerDblClick() { DblClick(); }
  void ContainerFocusChanged() { FocusChanged(); }
  // The inner control's scrolling and touches show the container's touch
  // or hybrid bars.
  bool ContainerIsPopupScrollBars() { return IsPopupScrollBars(); }
  void ContainerShowTouchScrollUI(bool AControlledByTimer) {
    ShowTouchScrollUI(this, AControlledByTimer);
  }
  void ContainerHideTouchScrollUI() { HideTouchScrollUI(this); }
  // The inner control's drag and drop, as if the container had it.
  void ContainerDragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
    DragOver(Source, X, Y, State, Accept);
  }

  // Mouse tracking ends with a mouse leave.
  void MouseLeave() override { EndMouseTracking(); }
  // The menu an inner control shows as its own.
  TPopupMenuBase* ContainerPopupMenu() { return GetPopupMenu(); }
  // Both act on the inner control too.
  void Invalidate() override;
  void Update() override;
  // Leaving the parent's font keeps the present one as the style's own.
  void SetParentFont(bool AValue) override;

 protected:
  virtual bool CanContainerHandleTabs() { return true; }
  virtual bool CanHaveTransparentBorder();
  virtual bool CanRefreshContainer();
  virtual bool CanShowPopupMenu(const TPoint&) { return true; }
  virtual void ContainerStyleChanged(TObject* Sender);
  virtual TRegionHandle CreateWindowRegion();
  virtual void AdjustInnerControl();
  virtual void CalculateViewInfo(const TPoint& P, bool AMouseTracking);
  virtual bool DoRefreshContainer(const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                                  bool AIsMouseEvent);
  virtual void DoSetSize();
  virtual void EndMouseTracking();
  virtual TColor GetBackgroundColor();
  virtual TColor GetBorderColor();
  virtual TColor GetBorderColorByPainter(bool AIsHighlight);
  virtual void GetColorSettingsByPainter(TColor& ABackground, TColor& ATextColor);
  virtual TdxThemedObjectType GetBackgroundThemedObjectType() { return totEdit; }
  virtual Integer GetBackgroundNativePart();
  virtual Integer GetBackgroundNativeState();
  virtual TRect GetShadowBounds();
  virtual TRect GetShadowBoundsExtent() { return TRect{}; }
  virtual TRect GetWindowRegionAddon() { return TRect{}; }
  virtual TcxContainerStyleClass GetStyleClass();
  virtual TcxContainerStylesClass GetStylesClass();
  virtual TcxContainerViewInfoClass GetViewInfoClass();
  virtual TcxContainerStyle* InternalGetActiveStyle();
  virtual TcxContainerStyleValues InternalGetNotPublishedStyleValues() { return {}; }
  virtual bool IsContainerClass() { return false; }
  virtual bool IsContainerFocused() { return Focused(); }
  virtual bool IsMouseTracking();
  virtual bool IsReadOnly() { return false; }
  virtual bool UseInnerControlScrollBarParameters() { return HasInnerControl(); }
  // A mirrored inner control lays its horizontal bar out itself.
  virtual bool UseSystemRightToLeftLayoutForInnerControl() { return false; }
  void UpdateScrollBars() override;
  // A mirrored bar scrolls the inner control.
  void Scroll(TScrollBarKind AScrollBarKind, TScrollCode AScrollCode, Integer& AScrollPos) override;
  virtual bool CanDisableAlignOnCreateInnerControl() { return !IsContainerClass(); }
  virtual bool HasPopupWindow() { return false; }

  // The base control's.
  void AdjustClientRect(TRect& Rect) override;
  bool CanFocusOnClick() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateHandle() override;
  void DestroyWnd() override;
  void ColorChanged() override;
  void EnabledChanged() override;
  void FocusChanged() override;
  TRect GetClientBounds() override;
  TcxLookAndFeel* GetLookAndFeelValue() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void Loaded() override;
  bool MayFocus() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseEnter(TControl* AControl) override;
  void MouseLeave(TControl* AControl) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Paint() override;
  void WndProc(TMessage& Message) override;
  bool FocusWhenChildIsClicked(TControl*) override { return false; }

  void WMSetCursor(TMessage& Message) override;
  void WMWindowPosChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void DoContextPopup(const TPoint& MousePos, bool& Handled) override;
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMWindowPosChanging(TMessage& Message);
  virtual void WMDestroy(TMessage& Message);
  virtual void DXMUpdateWindowRegion(TMessage& Message);
  virtual void DXMUpdateScrollBars(TMessage& Message);
  virtual void DXMShortRefreshContainer(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message) override;
  void CMParentFontChanged(TMessage& Message) override;
  void CMBiDiModeChanged(TMessage& Message) override;
  void ChangeScaleEx(Integer M, Integer D) override;
  void ScaleFactorChanged() override;
  virtual void CMSysColorChange(TMessage& Message);

  TcxContainerStyles* Styles() const { return FStyles.get(); }
  Integer FInternalSetting = 0;
  bool FInternalWindowRegionSetting = false;

 private:
  struct TActiveStyleData {
    TcxContainerState ContainerState;
    TcxContainerStyle* ActiveStyle = nullptr;
  };
  void CalculateContainerState(const TPoint& P, bool AMouseTracking);
  bool IsInnerControlBoundsChanged(TControl* AControl, const TcxContainerInnerControlBounds& AData);
  void SetScrollBarParameters(TScrollBarKind AKind, bool AIsScrolling);
  void UpdateSizeGrip();
  void SetInnerControlRegion(TWinControl* AControl, const TcxContainerInnerControlBounds& AData);
  void KeepAlignedEdge(WINDOWPOS& AWindowPos);

  TActiveStyleData FActiveStyleData;
  bool FHasChanges = false;
  TWinControl* FInnerControl = nullptr;
  TcxContainerInnerControlBounds FInnerControlBounds;
  bool FInnerControlMouseDown = false;
  bool FIsViewInfoCalculated = false;
  Integer FLockAlignControlsCount = 0;
  Integer FPopupMenuLockCount = 0;
  Integer FRefreshLockCount = 0;
  bool FScrollBarsCalculating = false;
  TcxContainerSizeGripData FSizeGripData;
  bool FIsCreating = false;
  TOwned<TcxContainerStyles> FStyles;
  TOwned<TcxContainerViewInfo> FViewInfo;
  Integer FUpdateWindowRegionCount = 0;
  TRegionHandle FNewWindowRegion;
  bool FFocusingInnerControl = false;
};

inline TcxContainer* TcxContainerStyle::GetContainer() {
  return dynamic_cast<TcxContainer*>(Owner());
}

// ---------------------------------------------------------------------------
// The native list box inside a container: its input goes on to the
// container, library scroll bars stand over its native ones, and typing
// selects the first item that begins with the letters typed.
class TcxCustomInnerListBox : public TCustomListBox, public IcxContainerInnerControl {
  DECLARE_CLASS(TcxCustomInnerListBox, TCustomListBox)
  DECLARE_MESSAGE_TABLE()
 public:
  using TClock = DWORD (*)();
  explicit TcxCustomInnerListBox(TComponent* AOwner);
  ~TcxCustomInnerListBox() override;
  void AfterConstruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  TWinControl* STDMETHODCALLTYPE GetControl() override { return this; }
  TcxContainer* STDMETHODCALLTYPE GetControlContainer() override { return FContainer; }

  TcxContainer* Container() const { return FContainer; }
  void SetContainer(TcxContainer* AValue) { FContainer = AValue; }
  bool AutoComplete() const { return FAutoComplete; }
  void SetAutoComplete(bool AValue) { FAutoComplete = AValue; }
  Cardinal AutoCompleteDelay() const { return FAutoCompleteDelay; }
  void SetAutoCompleteDelay(Cardinal AValue) { FAutoCompleteDelay = AValue; }
  const String& AutoCompleteFilter() const { return FAutoCompleteFilter; }
  // The tick count auto-complete measures its delay with.
  void SetClock(TClock AClock) { FClock = AClock; }
  TcxScrollBar* HScrollBar() const { return FHScrollBar; }
  TcxScrollBar* VScrollBar() const { return FVScrollBar; }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  bool ItemVisible(Integer AIndex);
  // The first item that begins with AText in any letter case; -1 for none.
  Integer FindAutoCompleteString(const String& AText);
  virtual void SetExternalScrollBarsParameters();
  // The corner between the container's two library bars.
  bool IsSizeGripVisible();
  TRect GetSizeGripRect();
  void DrawSizeGrip(HDC ADC);

 protected:
  virtual void DoAutoComplete(Char& AKey);
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues AChangedValues);
  virtual bool NeedDrawFocusRect() { return !OnDrawItem; }
  // An item drawn by the program's handler gets no focus rectangle on top.
  void CNDrawItem(TMessage& Message) override;
  void Click() override;
  void DblClick() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(Char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) override;
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) override;
  void CreateParams(TCreateParams& Params) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The container's menu is the list's.
  TPopupMenuBase* GetPopupMenu() override;
  // A new window has neither the old one's region nor its redraw lock.
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void WndProc(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  virtual void WMGetDlgCode(TMessage& Message) override;
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  // Drag and drop goes on to the container.
  void DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, Integer X, Integer Y) override;
  // A pan shows the container's touch bars while it lasts; the touch
  // settings are the container's.
  void DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled) override;
  void DoGetGestureOptions(TInteractiveGestures& AGestures,
                           TInteractiveGestureOptions& AOptions) override;
  // Leaving the list refreshes the container's look (its hot state).
  virtual void MouseEnter(TControl* AControl);
  virtual void MouseLeave(TControl* AControl);
  void CMMouseEnter(TMessage& Message) override;
  void CMMouseLeave(TMessage& Message) override;

 private:
  // A press on a list dragged automatically: the list and the container
  // share it (see cxContainer_Drag.cpp). False when it is no such press.
  bool DragPress(TMessage& Message);
  void Scroll(TScrollBarKind AKind, TScrollCode AScrollCode, Integer& AScrollPos);
  void HScrollHandler(TObject* Sender, TScrollCode AScrollCode, Integer& AScrollPos);
  void VScrollHandler(TObject* Sender, TScrollCode AScrollCode, Integer& AScrollPos);
  void PlaceScrollBar(TcxScrollBar* ABar, TScrollBarKind AKind);
  TPoint ToContainer(Integer X, Integer Y);

  String FAutoCompleteFilter;
  bool FAutoComplete = true;
  Cardinal FAutoCompleteDelay = 500;
  TClock FClock = &GetTickCount;
  TcxScrollBar* FHScrollBar = nullptr;
  TcxScrollBar* FVScrollBar = nullptr;
  bool FIsRedrawLocked = false;
  TOwned<TcxLookAndFeel> FLookAndFeel;
  DWORD FPrevKeyPressTime = 0;
  bool FScrollBarsCalculating = false;
  Integer FScrollBarsLockCount = 0;
  TOwned<TdxTouchScrollUIActivityHelper> FScrollUIActivityHelper;
  TcxContainer* FContainer = nullptr;
};

// ---------------------------------------------------------------------------
// The drop-down window of the editors: registered with the shown popups
// while it is up, closed by the thread hooks when the user works elsewhere,
// and, in its usual modal mode, running a message loop of its own until it
// closes.
class TcxCustomPopupWindow : public TcxPopupWindow, public IdxPopupControl {
  DECLARE_CLASS(TcxCustomPopupWindow, TcxPopupWindow)
  DECLARE_MESSAGE_TABLE()
 public:
  explicit TcxCustomPopupWindow(TWinControl* AOwnerControl);
  ~TcxCustomPopupWindow() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }

  virtual void Popup(TWinControl* AFocusedControl);
  void CloseUp() override;
  void ClosePopup();
  bool IsVisible();
  bool HasCapture();
  void InternalEnableWindow(bool AEnable);
  bool GetJustClosed();
  bool IsOwnerControlVisible();
  TWinControl* GetFirstFocusControl(TWinControl* AControl);
  virtual bool CorrectBoundsWithDesktopWorkArea(TPoint& APosition, TSize& ASize);

  TWinControl* STDMETHODCALLTYPE GetOwnerControl() override { return FOwnerControl; }
  bool IsCaptureFocus() override { return FCaptureFocus; }
  bool IsModalPopup() override { return FCaptureFocus && FModalMode; }
  bool IsDeactivateLocked() override { return FDeactivateLockCount != 0; }
  void LockDeactivate() override { ++FDeactivateLockCount; }
  void UnlockDeactivate() override { --FDeactivateLockCount; }
  bool IsSysKeyAccepted(Word AKey) override;
  void SetJustClosed() override { FJustClosed = true; }
  bool TerminateOnDestroy() override { return FTerminateOnDestroy; }

  bool CaptureFocus() const { return FCaptureFocus; }
  void SetCaptureFocus(bool AValue);
  bool IsTopMost() const { return FIsTopMost; }
  void SetIsTopMost(bool AValue);
  // Follows the owner control's scale factor (96 DPI when it has none).
  void UpdateScaleFactor();
  // Topmost when the owner's form is (or there is none), or, for a popup
  // that never takes the focus, while a hidden stay-on-top form exists.
  bool IsTopMostPopupWindow();
  bool IsShortCut(TShortCut AShortCut) override;
  bool SetFocusedControl(TWinControl* AControl) override;
  bool ModalMode() const { return FModalMode; }
  void SetModalMode(bool AValue) { FModalMode = AValue; }
  bool ShowWithoutActivation() const { return FShowWithoutActivation; }
  void SetShowWithoutActivation(bool AValue) { FShowWithoutActivation = AValue; }
  void SetTerminateOnDestroy(bool AValue) { FTerminateOnDestroy = AValue; }
  TWinControl* FocusedControl() const { return FFocusedControl; }
  TcxContainerStyle* Style() const { return FStyle.get(); }
  TcxContainerViewInfo* ViewInfo() const { return FViewInfo.get(); }

  TNotifyEvent OnClosed, OnClosing, OnShowed, OnShowing;

 protected:
  virtual bool AcceptsAnySize() { return false; }
  virtual void DoClosed();
  virtual void DoClosing();
  virtual void DoShowed();
  virtual void DoShowing();
  virtual bool HasBackground() { return false; }
  virtual void ModalCloseUp() { CloseUp(); }
  virtual void PopupWindowStyleChanged(TObject*) {}
  virtual TcxContainerStyleClass GetStyleClass();
  virtual TcxContainerViewInfoClass GetViewInfoClass();
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void PaintWindow(HDC DC) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void CMShowingChanged(TMessage& Message) override;
  void CMRecreateWnd(TMessage& Message) override;
  void CreateHandle() override;
  void WndProc(TMessage& Message) override;
  void WMActivate(TMessage& Message) override;
  void WMActivateApp(TMessage& Message) override;
  void VisibleChanged() override;
  // The form lost activation: closes the popups shown after the window that
  // took it, or all of them when that is none of theirs.
  virtual void Deactivate();
  virtual void DXMClosePopupWindow(TMessage& Message);
  virtual void DXMShowPopupWindow(TMessage& Message);
  virtual void WMEraseBkgnd(TMessage& Message) override;

 private:
  void HideAfterClosing();
  void RunModalLoop();
  void SafePassFocus();
  void RecreateShown();
  bool FCaptureFocus = true;
  bool FDeactivation = false;
  HWND FActivatedWindow = nullptr;
  bool FIsTopMost = false;
  Integer FDeactivateLockCount = 0;
  TWinControl* FFocusedControl = nullptr;
  bool FIsPopup = false;
  bool FJustClosed = false;
  bool FModalMode = true;
  bool FTerminateOnDestroy = false;
  bool FShowWithoutActivation = false;
  TWinControl* FOwnerControl;
  TOwned<TcxContainerStyle> FStyle;
  TOwned<TcxContainerViewInfo> FViewInfo;
  TCustomForm* FPrevActiveForm = nullptr;
  TWinControl* FPrevActiveControl = nullptr;
};
