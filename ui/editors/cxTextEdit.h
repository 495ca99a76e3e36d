// The text editor: its shareable settings, the native inner EDIT it edits in,
// the control, the view data and view info that draw its text whenever the
// inner edit is not showing it (and that every text-like editor derives
// from), the lookup list with its list box, and the filter helper.
#pragma once

#include "cxEdit.h"

class TcxCustomTextEditProperties;
class TcxTextEditPropertiesValues;
class TcxTextEditProperties;
class TcxCustomInnerTextEdit;
class TcxCustomInnerTextEditHelper;
class TcxCustomTextEditViewData;
class TcxCustomTextEditViewInfo;
class TcxCustomTextEditLookupData;
class TcxCustomEditListBox;
class TcxEditListBoxContainer;
class TcxCustomTextEdit;
class TcxTextEdit;
class TcxFilterTextEditHelper;

// ===========================================================================
// Module routines and number-text helpers
// ===========================================================================

// (end of module routines)

// ===========================================================================
// Properties
// ===========================================================================

// (end of properties)

// ===========================================================================
// Inner edit
// ===========================================================================

// (end of inner edit)

// ===========================================================================
// View data and view info
// ===========================================================================

// (end of view data and view info)

// ===========================================================================
// Lookup data and edit list box
// ===========================================================================

// Directions a lookup list moves its highlighted row in.
enum TcxEditLookupDataGoDirection { egdBegin, egdEnd, egdNext, egdPrev, egdPageUp, egdPageDown };

// A text editor and its item list: the editor speaks to its lookup data
// only through this interface.
struct IcxTextEditLookupData : public IUnknown {
  virtual bool STDMETHODCALLTYPE CanResizeVisualArea(TSize& NewSize, Integer AMaxHeight = 0,
                                                     Integer AMaxWidth = 0) = 0;
  virtual void STDMETHODCALLTYPE CloseUp() = 0;
  virtual void STDMETHODCALLTYPE Deinitialize() = 0;
  virtual void STDMETHODCALLTYPE DropDown() = 0;
  virtual void STDMETHODCALLTYPE DroppedDown(const String& AFindStr) = 0;
  virtual bool STDMETHODCALLTYPE Find(const String& AText) = 0;
  virtual TWinControl* STDMETHODCALLTYPE GetActiveControl() = 0;
  virtual Variant STDMETHODCALLTYPE GetCurrentKey() = 0;
  virtual String STDMETHODCALLTYPE GetDisplayText(const Variant& AKey) = 0;
  virtual TNotifyEvent STDMETHODCALLTYPE GetOnCurrentKeyChanged() = 0;
  virtual TNotifyEvent STDMETHODCALLTYPE GetOnSelectItem() = 0;
  virtual Integer STDMETHODCALLTYPE GetSelectedItem() = 0;
  virtual TSize STDMETHODCALLTYPE GetVisualAreaPreferredSize(Integer AMaxHeight,
                                                             Integer AWidth = 0) = 0;
  virtual void STDMETHODCALLTYPE Go(TcxEditLookupDataGoDirection ADirection, bool ACircular) = 0;
  virtual void STDMETHODCALLTYPE Initialize(TWinControl* AVisualControlsParent) = 0;
  virtual bool STDMETHODCALLTYPE IsEmpty() = 0;
  // AScreenPoint lies over the list box.
  virtual bool STDMETHODCALLTYPE IsMouseOverList(const TPoint& AScreenPoint) = 0;
  // Incremental search: true when an item was found for AText; ATail is the
  // rest of the found item after the typed text.
  virtual bool STDMETHODCALLTYPE Locate(String& AText, String& ATail, bool ANext = false) = 0;
  virtual void STDMETHODCALLTYPE PositionVisualArea(const TRect& AClientRect) = 0;
  virtual void STDMETHODCALLTYPE PropertiesChanged() = 0;
  virtual void STDMETHODCALLTYPE SelectItem() = 0;
  virtual void STDMETHODCALLTYPE SetCurrentKey(const Variant& AKey) = 0;
  virtual void STDMETHODCALLTYPE SetOnCurrentKeyChanged(const TNotifyEvent& Value) = 0;
  virtual void STDMETHODCALLTYPE SetOnSelectItem(const TNotifyEvent& Value) = 0;
  virtual void STDMETHODCALLTYPE SetSelectedItem(Integer Value) = 0;
  virtual void STDMETHODCALLTYPE TextChanged() = 0;
};
__CRT_UUID_DECL(IcxTextEditLookupData, 0xF49C5F08, 0x7758, 0x4362, 0xA3, 0x60, 0x1D, 0xF0, 0x23,
                0x54, 0xE7, 0x08)

struct IcxTextEditLookupDataIncrementalFilter : public IUnknown {
  virtual void STDMETHODCALLTYPE ResetIncrementalFilter() = 0;
};
__CRT_UUID_DECL(IcxTextEditLookupDataIncrementalFilter, 0x80037B39, 0x866D, 0x45C5, 0xAB, 0x85,
                0x17, 0x6F, 0xE5, 0x76, 0xCF, 0x2A)

// The container around the list of a lookup editor's popup: its own
// library scroll bars stand over the list's, and the list handles the wheel.
class TcxEditListBoxContainer : public TcxCustomEditContainer {
  DECLARE_CLASS(TcxEditListBoxContainer, TcxCustomEditContainer)
 public:
  explicit TcxEditListBoxContainer(TComponent* AOwner);
  bool CanFocus() override;
  bool NeedsScrollBars() override { return true; }
  TRect GetBorderExtent() override;

 protected:
  bool IsMouseWheelHandleNeeded(TShiftState Shift, Integer WheelDelta,
                                const TPoint& MousePos) override;
  bool AllowTouchScrollUIMode() override;
  void DoScrollUIModeChanged() override;
  void WMWindowPosChanged(TMessage& Message) override;
};

using TcxCustomEditListBoxClass = TClass;

// The owner-drawn list of a lookup editor's popup window: rows drawn by the
// library (the search text of a filtered list in highlight colours), hot
// tracking, a wheel that keeps fractions of a notch, and touch panning by
// whole rows.
class TcxCustomEditListBox : public TcxCustomInnerListBox,
                             public IdxGestureOwner,
                             public IdxGestureClient {
  DECLARE_CLASS(TcxCustomEditListBox, TcxCustomInnerListBox)
 public:
  explicit TcxCustomEditListBox(TComponent* AOwner);
  ~TcxCustomEditListBox() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }

  // Rows x the row height; the caller applies its own maximum.
  virtual Integer GetHeight(Integer ARowCount, Integer AMaxHeight);
  // The height of every row (AIndex -1: of any row).
  virtual Integer GetItemHeight(Integer AIndex = -1);
  virtual Integer GetItemWidth(Integer AIndex);
  virtual String GetItem(Integer Index);
  bool IsVisible();
  // Rows appended through GetItem or taken from the end, in one update.
  void SetItemCount(Integer ACount);
  void SetItemIndex(Integer V) override;
  Integer GetItemData(Integer) { return 0; }
  void SetItemData(Integer, Integer) {}
  virtual void RecreateWindow() {}
  void InternalRecreateWindow() { RecreateWnd(); }
  // The editor whose popup window holds the container; nullptr elsewhere.
  TcxCustomTextEdit* GetEdit();
  TcxCustomEdit* GetEditControl();
  TdxScaleFactor* GetEditScaleFactor();
  bool CanFocus() override;
  // Scrolls like the container's bars do (absolute positions by scPosition).
  void DoScroll(TScrollBarKind AKind, TScrollCode AScrollCode, Integer& AScrollPos);

  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool AValue) { FHotTrack = AValue; }
  const TNotifyEvent& OnSelectItem() const { return FOnSelectItem; }
  void SetOnSelectItem(const TNotifyEvent& AValue) { FOnSelectItem = AValue; }

  // IdxGestureOwner
  IdxGestureClient* STDMETHODCALLTYPE GetGestureClient(const TPoint& APoint) override;
  HWND STDMETHODCALLTYPE GetGestureClientHandle() override { return Handle(); }
  bool STDMETHODCALLTYPE IsGestureTarget(HWND AWnd) override;
  TPoint STDMETHODCALLTYPE ScreenToClient(const TPoint& APoint) override {
    return TControl::ScreenToClient(APoint);
  }
  // IdxGestureClient
  bool STDMETHODCALLTYPE AllowGesture(TInteractiveGesture AGestureId) override;
  bool STDMETHODCALLTYPE AllowPan(TScrollBarKind AScrollKind) override;
  void STDMETHODCALLTYPE BeginGestureScroll(const TPoint& APos) override;
  void STDMETHODCALLTYPE EndGestureScroll() override;
  void STDMETHODCALLTYPE GestureScroll(Integer ADeltaX, Integer ADeltaY) override;
  DWORD STDMETHODCALLTYPE GetPanOptions() override;
  bool STDMETHODCALLTYPE IsPanArea(const TPoint& APoint) override;
  bool STDMETHODCALLTYPE NeedPanningFeedback(TScrollBarKind) override { return true; }

 protected:
  virtual Cardinal GetDrawTextFlags();
  virtual bool IsHighlightSearchText();
  // True when the row was drawn elsewhere (an application's handler).
  virtual bool DoDrawItem(Integer AIndex, const TRect& ARect, TOwnerDrawState AState) {
    return false;
  }
  bool NeedDrawFocusRect() override;
  Integer GetDefaultItemHeight();
  void DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) override;
  void DrawItemText(const String& AText, const TRect& ARect);
  void MeasureItem(Integer Index, Integer& Height) override;
  void Click() override;
  void DoSelectItem();
  bool DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) override;
  void MouseMove(TShiftState Shift, Integer X, Integer Y) override;
  void MouseLeave(TControl* AControl) override;
  void CMShowingChanged(TMessage& Message) override;
  void WndProc(TMessage& Message) override;
  void DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled) override;
  void DoGetGestureOptions(TInteractiveGestures& AGestures,
                           TInteractiveGestureOptions& AOptions) override;
  // The editor's lookup data, or nullptr outside an editor's popup.
  TcxCustomTextEditLookupData* GetLookupData();

 private:
  IcxControlScrollBar* ActiveScrollBar(TScrollBarKind AKind);

  bool FHotTrack = true;
  TPoint FPrevMousePos{-1, -1};
  Integer FMouseWheelAccumulator = 0;
  TOwned<TdxGestureHelper> FGestureHelper;
  TPoint FGestureAccumulatedDelta{};
  TNotifyEvent FOnSelectItem;
};

// The logic of a text editor's item list: locating and incremental search,
// incremental filtering through a map from visible rows to items, the
// current key and the highlighted item; and the list box it shows in the
// editor's popup window.
class TcxCustomTextEditLookupData : public TcxInterfacedPersistent,
                                    public IcxTextEditLookupData,
                                    public IcxTextEditLookupDataIncrementalFilter {
  DECLARE_CLASS(TcxCustomTextEditLookupData, TcxInterfacedPersistent)
 public:
  explicit TcxCustomTextEditLookupData(TPersistent* AOwner);
  ~TcxCustomTextEditLookupData() override;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return TcxInterfacedPersistent::AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return TcxInterfacedPersistent::Release(); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  // IcxTextEditLookupData
  bool STDMETHODCALLTYPE CanResizeVisualArea(TSize& NewSize, Integer AMaxHeight = 0,
                                             Integer AMaxWidth = 0) override;
  void STDMETHODCALLTYPE CloseUp() override;
  void STDMETHODCALLTYPE Deinitialize() override {}
  void STDMETHODCALLTYPE DropDown() override {}
  void STDMETHODCALLTYPE DroppedDown(const String&) override {}
  bool STDMETHODCALLTYPE Find(const String& AText) override;
  TWinControl* STDMETHODCALLTYPE GetActiveControl() override;
  Variant STDMETHODCALLTYPE GetCurrentKey() override;
  String STDMETHODCALLTYPE GetDisplayText(const Variant& AKey) override;
  TNotifyEvent STDMETHODCALLTYPE GetOnCurrentKeyChanged() override { return FOnCurrentKeyChanged; }
  TNotifyEvent STDMETHODCALLTYPE GetOnSelectItem() override { return FOnSelectItem; }
  Integer STDMETHODCALLTYPE GetSelectedItem() override;
  TSize STDMETHODCALLTYPE GetVisualAreaPreferredSize(Integer AMaxHeight,
                                                     Integer AWidth = 0) override;
  void STDMETHODCALLTYPE Go(TcxEditLookupDataGoDirection ADirection, bool ACircular) override;
  void STDMETHODCALLTYPE Initialize(TWinControl* AVisualControlsParent) override;
  bool STDMETHODCALLTYPE IsEmpty() override;
  bool STDMETHODCALLTYPE IsMouseOverList(const TPoint& AScreenPoint) override;
  bool STDMETHODCALLTYPE Locate(String& AText, String& ATail, bool ANext = false) override;
  void STDMETHODCALLTYPE PositionVisualArea(const TRect& AClientRect) override;
  void STDMETHODCALLTYPE PropertiesChanged() override;
  void STDMETHODCALLTYPE SelectItem() override;
  void STDMETHODCALLTYPE SetCurrentKey(const Variant& AKey) override;
  void STDMETHODCALLTYPE SetOnCurrentKeyChanged(const TNotifyEvent& Value) override {
    FOnCurrentKeyChanged = Value;
  }
  void STDMETHODCALLTYPE SetOnSelectItem(const TNotifyEvent& Value) override {
    FOnSelectItem = Value;
  }
  void STDMETHODCALLTYPE SetSelectedItem(Integer Value) override;
  void STDMETHODCALLTYPE TextChanged() override;
  // IcxTextEditLookupDataIncrementalFilter
  void STDMETHODCALLTYPE ResetIncrementalFilter() override;

  TcxCustomTextEdit* GetEdit();
  TcxCustomEdit* GetEditControl();
  // First item equal to AText in any letter case, over all items; -1.
  Integer IndexOf(const String& AText);
  // The number of visible rows, and the map between rows and items. A row
  // outside the map (or -1) is no item: -1.
  Integer GetFilteredItemCount();
  Integer GetFilteredItemIndex(Integer ALookupIndex);
  Integer GetLookupItemIndexFromFilteredItemIndex(Integer AFilteredIndex);
  String GetFilteredItem(Integer AFilteredIndex);
  bool IsIncrementalFiltering();
  bool IsLikeTypeFiltering();
  const String& SearchText() const { return FSearchText; }
  Integer ItemIndex() const { return FItemIndex; }
  Integer CurrentKey() const { return FCurrentKey; }
  TcxCustomEditListBox* List() const { return FList; }
  TcxEditListBoxContainer* ListContainer() const { return FListContainer; }

 protected:
  TPersistent* GetOwner() override { return Owner(); }
  virtual void DoInitialize(TWinControl* AVisualControlsParent);
  virtual void DoPositionVisualArea(const TRect& AClientRect);
  virtual String GetItem(Integer AIndex);
  virtual Integer GetItemCount();
  virtual TClass GetListBoxClass() { return nullptr; }
  virtual void HandleSelectItem(TObject* Sender);
  virtual bool InternalLocate(String& AText, String& ATail, bool ANext, bool ASynchronizeWithText);
  virtual bool IsFilterActive();
  virtual void ListChanged();
  virtual bool NeedLocateItemWithFullString() { return false; }
  virtual void UpdateFilteredLookupItems(const String& AText);
  virtual bool UseSearchControl();

  void DoSelectItem();
  Integer FindItemByText(const String& AText, Integer AStartIndex, bool AFindFullText);
  void InternalSetCurrentKey(Integer Value);
  void InternalSetItemIndex(Integer AIndex);
  bool IsIncrementalFilteringText(const String& AItem, const String& AText);

 private:
  void ApplyNotFoundKeyRule(bool ASynchronizeWithText, const String& AText);
  Integer GoRow(TcxEditLookupDataGoDirection ADirection, bool ACircular, Integer AIndex,
                Integer ACount, bool ANoStartItem);

  Integer FCurrentKey = -1;
  Integer FItemIndex = -1;
  String FSearchText;
  std::vector<Integer> FFilteredLookupItems;
  bool FIsInitializing = false;
  TcxCustomEditListBox* FList = nullptr;
  TcxEditListBoxContainer* FListContainer = nullptr;
  TNotifyEvent FOnCurrentKeyChanged;
  TNotifyEvent FOnSelectItem;
};

// (end of lookup data and edit list box)

// ===========================================================================
// Editor control
// ===========================================================================

// (end of editor control)

// ===========================================================================
// Filter helper
// ===========================================================================

// (end of filter helper)

// ===========================================================================
// Module start-up
// ===========================================================================

// (end of module start-up)
