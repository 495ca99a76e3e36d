// The lookup list of the text editors: the list box of the popup window,
// its container, and the lookup data that locates, filters and moves
// through the editor's items.
#include "cxDrawTextUtils.h"
#include "cxGraphics.h"
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeels.h"
#include "cxTextEdit.h"
#include "dxTouch.h"

IMPLEMENT_CREATABLE_CLASS(TcxEditListBoxContainer)
IMPLEMENT_CREATABLE_CLASS(TcxCustomEditListBox)
IMPLEMENT_CREATABLE_CLASS(TcxCustomTextEditLookupData)

namespace {

// What the lookup data and its list read of the editor's active settings.
struct TLookupSettings {
  TStrings* Items = nullptr;
  TcxEditEditingStyle EditingStyle = esEdit;
  bool IncrementalSearch = true;
  bool IncrementalFiltering = false;
  bool ContainsOperator = false;
  bool HighlightSearchText = false;
  bool UseSearchControl = false;
  bool ImmediateUpdateText = false;
  bool MRUMode = false;
  Integer PageRowCount = 8;
};

// The editor's side, in one place (end of this file).
TLookupSettings ReadLookupSettings(TcxCustomEdit* AEdit);
IcxTextEditLookupData* GetEditLookupData(TcxCustomTextEdit* AEdit);
void LockEditLookupDataTextChanged(TcxCustomTextEdit* AEdit, bool ALock);

String UpperText(const String& S) { return AnsiUpperCase(S); }

// A key of the text editor's list is the item's index; anything that is no
// whole number is no index at all (-2, refused by the range checks).
Integer KeyToIndex(const Variant& AKey) {
  if (VarIsNull(AKey) || VarIsEmpty(AKey)) return -1;
  if (!VarIsNumeric(AKey)) return -2;
  try {
    return AKey.AsInteger();
  } catch (const Exception&) {
    return -2;
  }
}

}  // namespace

// ===========================================================================
// Container

TcxEditListBoxContainer::TcxEditListBoxContainer(TComponent* AOwner)
    : TcxCustomEditContainer(AOwner) {
  SetBounds(0, 0, 121, 97);
}

bool TcxEditListBoxContainer::CanFocus() {
  TWinControl* AInner = InnerControl();
  return (!AInner || AInner->CanFocus()) && inherited::CanFocus();
}

TRect TcxEditListBoxContainer::GetBorderExtent() { return TRect{}; }

bool TcxEditListBoxContainer::IsMouseWheelHandleNeeded(TShiftState, Integer, const TPoint&) {
  return false;
}

bool TcxEditListBoxContainer::AllowTouchScrollUIMode() { return !IsDesigning(); }

void TcxEditListBoxContainer::DoScrollUIModeChanged() {
  inherited::DoScrollUIModeChanged();
  if (auto* AList = dynamic_cast<TcxCustomEditListBox*>(InnerControl()))
    if (AList->HandleAllocated()) AList->InternalRecreateWindow();
}

void TcxEditListBoxContainer::WMWindowPosChanged(TMessage& Message) {
  inherited::WMWindowPosChanged(Message);
  if (!IsDestroying() && !FInternalWindowRegionSetting) SetScrollBarsParameters(false);
}

// ===========================================================================
// List box

TcxCustomEditListBox::TcxCustomEditListBox(TComponent* AOwner)
    : TcxCustomInnerListBox(AOwner), FGestureHelper(new TdxGestureHelper(this)) {
  SetBorderStyle(bsNone);
  // Every row is measured, so that each gets the height of the font.
  SetStyle(lbOwnerDrawVariable);
}

TcxCustomEditListBox::~TcxCustomEditListBox() = default;

HRESULT STDMETHODCALLTYPE TcxCustomEditListBox::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  if (IsEqualIID(AIID, __uuidof(IdxGestureOwner))) {
    *AObj = static_cast<IdxGestureOwner*>(this);
    return S_OK;
  }
  if (IsEqualIID(AIID, __uuidof(IdxGestureClient))) {
    *AObj = static_cast<IdxGestureClient*>(this);
    return S_OK;
  }
  return inherited::QueryInterface(AIID, AObj);
}

TcxCustomEdit* TcxCustomEditListBox::GetEditControl() {
  auto* AWindow = Container() ? dynamic_cast<TcxCustomPopupWindow*>(Container()->Owner()) : nullptr;
  return AWindow ? dynamic_cast<TcxCustomEdit*>(AWindow->GetOwnerControl()) : nullptr;
}

TdxScaleFactor* TcxCustomEditListBox::GetEditScaleFactor() {
  TcxCustomEdit* AEdit = GetEditControl();
  return AEdit ? AEdit->ScaleFactor() : nullptr;
}

bool TcxCustomEditListBox::CanFocus() {
  TcxCustomEdit* AEdit = GetEditControl();
  if (AEdit && ReadLookupSettings(AEdit).UseSearchControl) return false;
  return inherited::CanFocus();
}

// A row not there yet (while rows are appended) has no text of its own.
String TcxCustomEditListBox::GetItem(Integer Index) {
  return Index >= 0 && Index < Items()->Count() ? Items()->Strings(Index) : String();
}

Integer TcxCustomEditListBox::GetHeight(Integer ARowCount, Integer) {
  return ARowCount * GetItemHeight(-1);
}

Integer TcxCustomEditListBox::GetItemHeight(Integer) { return GetDefaultItemHeight(); }

Integer TcxCustomEditListBox::GetItemWidth(Integer AIndex) {
  return cxTextWidth(Font(), GetItem(AIndex));
}

Integer TcxCustomEditListBox::GetDefaultItemHeight() {
  Integer AHeight = cxTextHeight(Font());
  if (cxIsTouchModeEnabled()) dxAdjustToTouchableSize(AHeight, GetEditScaleFactor());
  return AHeight;
}

bool TcxCustomEditListBox::IsVisible() { return HandleAllocated() && IsWindowVisible(Handle()); }

void TcxCustomEditListBox::SetItemCount(Integer ACount) {
  TStrings* AItems = Items();
  if (AItems->Count() == ACount) return;
  AItems->BeginUpdate();
  auto AEnd = Finally([AItems] { AItems->EndUpdate(); });
  while (AItems->Count() > ACount) AItems->Delete(AItems->Count() - 1);
  while (AItems->Count() < ACount) AItems->Add(GetItem(AItems->Count()));
}

void TcxCustomEditListBox::SetItemIndex(Integer V) {
  inherited::SetItemIndex(V);
  DoSelectItem();
}

void TcxCustomEditListBox::Click() {
  TcxObjectLinkGuard ALink(this);
  inherited::Click();
  if (ALink.Alive()) DoSelectItem();
}

void TcxCustomEditListBox::DoSelectItem() {
  SetExternalScrollBarsParameters();
  if (FOnSelectItem) FOnSelectItem(this);
}

TcxCustomTextEditLookupData* TcxCustomEditListBox::GetLookupData() {
  TcxCustomTextEdit* AEdit = GetEdit();
  return AEdit ? dynamic_cast<TcxCustomTextEditLookupData*>(GetEditLookupData(AEdit)) : nullptr;
}

Cardinal TcxCustomEditListBox::GetDrawTextFlags() {
  return static_cast<Cardinal>(DrawTextBiDiModeFlags(DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX));
}

bool TcxCustomEditListBox::IsHighlightSearchText() {
  TcxCustomEdit* AEdit = GetEditControl();
  if (!AEdit) return false;
  TLookupSettings S = ReadLookupSettings(AEdit);
  return S.IncrementalFiltering && S.HighlightSearchText;
}

bool TcxCustomEditListBox::NeedDrawFocusRect() {
  TcxCustomEdit* AEdit = GetEditControl();
  if (!AEdit) return inherited::NeedDrawFocusRect();
  TLookupSettings S = ReadLookupSettings(AEdit);
  return (S.EditingStyle == esFixedList || S.EditingStyle == esNoEdit) && !S.IncrementalFiltering;
}

void TcxCustomEditListBox::MeasureItem(Integer, Integer& Height) {
  Height = GetDefaultItemHeight();
}

void TcxCustomEditListBox::DrawItem(Integer Index, const TRect& Rect, TOwnerDrawState State) {
  if (DoDrawItem(Index, Rect, State)) return;
  TCanvas* ACanvas = Canvas();
  ACanvas->FillRect(Rect);
  if (Index < 0 || Index >= Items()->Count()) return;
  TRect R = Rect;
  // Two unscaled pixels between the edge and the text, as the platform's
  // own list leaves.
  if (UseRightToLeftAlignment())
    R.right -= 2;
  else
    R.left += 2;
  String AText = GetItem(Index);
  if (IsHighlightSearchText()) {
    DrawItemText(AText, R);
    return;
  }
  ACanvas->SelectFont();
  SetBkMode(ACanvas->Handle(), TRANSPARENT);
  DrawTextW(ACanvas->Handle(), AText.c_str(), static_cast<int>(AText.size()), &R,
            GetDrawTextFlags());
}

void TcxCustomEditListBox::DrawItemText(const String& AText, const TRect& ARect) {
  TcxCustomTextEditLookupData* ALookupData = GetLookupData();
  String ASearchText = ALookupData ? ALookupData->SearchText() : String();
  Integer AStart = ASearchText.empty() ? -1 : Pos(UpperText(ASearchText), UpperText(AText)) - 1;
  Integer ALength = static_cast<Integer>(ASearchText.size());
  TCanvas* ACanvas = Canvas();
  Cardinal AFlags = (UseRightToLeftAlignment() ? CXTO_RIGHT : CXTO_LEFT) | CXTO_CENTER_VERTICALLY |
                    CXTO_SINGLELINE | CXTO_END_ELLIPSIS;
  if (ACanvas->TextFlags() & ETO_RTLREADING) AFlags |= CXTO_RTLREADING;
  TRect R = ARect;
  cxTextOut(ACanvas->Handle(), AText, R, AFlags, AStart, AStart < 0 ? 0 : ALength, ACanvas->Font(),
            clHighlight, clHighlightText, 0, 0, 0, ACanvas->Font()->Color());
}

bool TcxCustomEditListBox::DoMouseWheel(TShiftState Shift, Integer WheelDelta,
                                        const TPoint& MousePos) {
  if (inherited::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  Integer ADelta = std::clamp(WheelDelta, -WHEEL_DELTA, WHEEL_DELTA);
  // A reversal of direction starts afresh.
  if ((FMouseWheelAccumulator > 0 && ADelta > 0) || (FMouseWheelAccumulator < 0 && ADelta < 0))
    ADelta += FMouseWheelAccumulator;
  FMouseWheelAccumulator = ADelta;
  // A part of a notch is kept here and counts as handled: passed on, the
  // platform's list would keep it too and scroll on the next part as well.
  if (std::abs(FMouseWheelAccumulator) < WHEEL_DELTA || !HandleAllocated()) return true;
  const WPARAM ACode = FMouseWheelAccumulator > 0 ? SB_LINEUP : SB_LINEDOWN;
  FMouseWheelAccumulator = 0;
  UINT ALines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &ALines, 0);
  LRESULT AResult = 0;
  for (UINT I = 0; I < ALines && HandleAllocated(); ++I)
    AResult = SendMessageW(Handle(), WM_VSCROLL, ACode, 0);
  return AResult == 0;
}

void TcxCustomEditListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TcxObjectLinkGuard ALink(this);
  inherited::MouseMove(Shift, X, Y);
  if (!ALink.Alive()) return;
  const TPoint P{X, Y};
  if (GetCaptureControl() != this && FHotTrack && P != FPrevMousePos && HandleAllocated()) {
    // Below the last row this is the row count, which clears the selection;
    // outside the client area it is -1 and nothing changes.
    Integer ARow = ItemAtPos(P, false);
    if (ARow != -1 && ARow != ItemIndex()) {
      SetItemIndex(ARow);
      if (!ALink.Alive()) return;
    }
  }
  FPrevMousePos = P;
}

void TcxCustomEditListBox::MouseLeave(TControl* AControl) {
  TcxObjectLinkGuard ALink(this);
  inherited::MouseLeave(AControl);
  if (ALink.Alive()) FPrevMousePos = TPoint{-1, -1};
}

void TcxCustomEditListBox::CMShowingChanged(TMessage& Message) {
  inherited::CMShowingChanged(Message);
  // The system list draws its selection as focused without the keyboard
  // focus moving to it.
  if (HandleAllocated() && Showing()) CallWindowProcW(FDefWndProc, Handle(), WM_SETFOCUS, 0, 0);
}

void TcxCustomEditListBox::WndProc(TMessage& Message) {
  if (FGestureHelper && FGestureHelper->HandleMessage(Message)) return;
  inherited::WndProc(Message);
}

void TcxCustomEditListBox::DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled) {
  FGestureHelper->DoGesture(AEventInfo, AHandled);
}

void TcxCustomEditListBox::DoGetGestureOptions(TInteractiveGestures& AGestures,
                                               TInteractiveGestureOptions& AOptions) {
  inherited::DoGetGestureOptions(AGestures, AOptions);
  FGestureHelper->CheckGestureOptions(AGestures, AOptions);
}

void TcxCustomEditListBox::DoScroll(TScrollBarKind AKind, TScrollCode AScrollCode,
                                    Integer& AScrollPos) {
  if (!HandleAllocated()) return;
  if (AKind == sbVertical && (AScrollCode == scPosition || AScrollCode == scTrack)) {
    SetTopIndex(AScrollPos);
  } else {
    const WORD ACode = AScrollCode == scTrack ? SB_THUMBPOSITION : static_cast<WORD>(AScrollCode);
    SendMessageW(Handle(), AKind == sbHorizontal ? WM_HSCROLL : WM_VSCROLL,
                 MAKEWPARAM(ACode, static_cast<WORD>(AScrollPos)), 0);
  }
  AScrollPos = GetScrollPos(Handle(), AKind == sbHorizontal ? SB_HORZ : SB_VERT);
  SetExternalScrollBarsParameters();
}

IcxControlScrollBar* TcxCustomEditListBox::ActiveScrollBar(TScrollBarKind AKind) {
  TcxContainer* AContainer = Container();
  if (!AContainer || !AContainer->IsScrollBarActive(AKind)) return nullptr;
  IcxControlScrollBar* ABar = AContainer->GetScrollBar(AKind);
  return ABar && ABar->GetEnabled() ? ABar : nullptr;
}

IdxGestureClient* STDMETHODCALLTYPE TcxCustomEditListBox::GetGestureClient(const TPoint&) {
  return this;
}

bool STDMETHODCALLTYPE TcxCustomEditListBox::IsGestureTarget(HWND AWnd) {
  return HandleAllocated() && AWnd == Handle();
}

bool STDMETHODCALLTYPE TcxCustomEditListBox::AllowGesture(TInteractiveGesture AGestureId) {
  if (static_cast<Integer>(AGestureId) < 0 || static_cast<Integer>(AGestureId) > igPressAndTap)
    return false;
  TWinControl* ATouchOwner = Container() ? static_cast<TWinControl*>(Container()) : this;
  return ATouchOwner->Touch()->InteractiveGestures().Contains(AGestureId);
}

bool STDMETHODCALLTYPE TcxCustomEditListBox::AllowPan(TScrollBarKind AScrollKind) {
  return ActiveScrollBar(AScrollKind) != nullptr;
}

void STDMETHODCALLTYPE TcxCustomEditListBox::BeginGestureScroll(const TPoint&) {
  FGestureAccumulatedDelta = TPoint{0, 0};
  if (Container()) Container()->ContainerShowTouchScrollUI(false);
}

void STDMETHODCALLTYPE TcxCustomEditListBox::EndGestureScroll() {
  if (Container()) Container()->ContainerHideTouchScrollUI();
}

void STDMETHODCALLTYPE TcxCustomEditListBox::GestureScroll(Integer ADeltaX, Integer ADeltaY) {
  TcxObjectLinkGuard ALink(this);
  if (IcxControlScrollBar* ABar = ActiveScrollBar(sbVertical)) {
    FGestureAccumulatedDelta.y += ADeltaY;
    Integer AItemHeight = std::max(1, GetItemHeight(-1));
    Integer ARows = FGestureAccumulatedDelta.y / AItemHeight;
    if (ARows != 0) {
      Integer AOldPos = ABar->GetPosition();
      FGestureAccumulatedDelta.y = 0;
      Integer APos = TopIndex() - ARows;
      DoScroll(sbVertical, scPosition, APos);
      if (!ALink.Alive()) return;
      FGestureHelper->CheckOverpan(sbVertical, AOldPos - ARows, 0,
                                   ABar->GetMax() - ABar->GetPageSize() + 1, ADeltaX, ADeltaY);
    }
  }
  if (!ALink.Alive()) return;
  if (IcxControlScrollBar* ABar = ActiveScrollBar(sbHorizontal)) {
    Integer AMax = std::max(0, ABar->GetMax() - ABar->GetPageSize() + 1);
    Integer APos = std::clamp(ABar->GetPosition() - ADeltaX, 0, AMax);
    DoScroll(sbHorizontal, scPosition, APos);
    if (!ALink.Alive()) return;
    FGestureHelper->CheckOverpan(sbHorizontal, APos, 0, AMax, ADeltaX, ADeltaY);
  }
}

DWORD STDMETHODCALLTYPE TcxCustomEditListBox::GetPanOptions() {
  TWinControl* ATouchOwner = Container() ? static_cast<TWinControl*>(Container()) : this;
  return GetPanOptionsByInteractiveGestureOptions(
      ATouchOwner->Touch()->InteractiveGestureOptions());
}

bool STDMETHODCALLTYPE TcxCustomEditListBox::IsPanArea(const TPoint& APoint) {
  return cxRectPtIn(ClientRect(), APoint);
}

// ===========================================================================
// Lookup data

TcxCustomTextEditLookupData::TcxCustomTextEditLookupData(TPersistent* AOwner)
    : TcxInterfacedPersistent(AOwner) {}

TcxCustomTextEditLookupData::~TcxCustomTextEditLookupData() = default;

HRESULT STDMETHODCALLTYPE TcxCustomTextEditLookupData::QueryInterface(REFIID AIID, void** AObj) {
  return TcxInterfacedPersistent::QueryInterface(AIID, AObj);
}

bool TcxCustomTextEditLookupData::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IcxTextEditLookupData))) {
    *AObj = static_cast<IcxTextEditLookupData*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IcxTextEditLookupDataIncrementalFilter))) {
    *AObj = static_cast<IcxTextEditLookupDataIncrementalFilter*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

TcxCustomEdit* TcxCustomTextEditLookupData::GetEditControl() {
  return dynamic_cast<TcxCustomEdit*>(Owner());
}

String TcxCustomTextEditLookupData::GetItem(Integer AIndex) {
  TStrings* AItems = ReadLookupSettings(GetEditControl()).Items;
  return AItems && AIndex >= 0 && AIndex < AItems->Count() ? AItems->Strings(AIndex) : String();
}

Integer TcxCustomTextEditLookupData::GetItemCount() {
  TStrings* AItems = ReadLookupSettings(GetEditControl()).Items;
  return AItems ? AItems->Count() : 0;
}

String STDMETHODCALLTYPE TcxCustomTextEditLookupData::GetDisplayText(const Variant& AKey) {
  Integer AIndex = KeyToIndex(AKey);
  return AIndex >= 0 && AIndex < GetItemCount() ? GetItem(AIndex) : String();
}

bool STDMETHODCALLTYPE TcxCustomTextEditLookupData::Find(const String& AText) {
  return IndexOf(AText) != -1;
}

Integer TcxCustomTextEditLookupData::IndexOf(const String& AText) {
  const String AUpper = UpperText(AText);
  for (Integer I = 0, N = GetItemCount(); I < N; ++I)
    if (UpperText(GetItem(I)) == AUpper) return I;
  return -1;
}

Variant STDMETHODCALLTYPE TcxCustomTextEditLookupData::GetCurrentKey() {
  return Variant(FCurrentKey);
}

Integer STDMETHODCALLTYPE TcxCustomTextEditLookupData::GetSelectedItem() {
  if (!FList) return -1;
  return GetLookupItemIndexFromFilteredItemIndex(FList->ItemIndex());
}

void STDMETHODCALLTYPE TcxCustomTextEditLookupData::SetSelectedItem(Integer Value) {
  if (FList && FList->HandleAllocated()) FList->SetItemIndex(GetFilteredItemIndex(Value));
}

TWinControl* STDMETHODCALLTYPE TcxCustomTextEditLookupData::GetActiveControl() { return FList; }

bool STDMETHODCALLTYPE TcxCustomTextEditLookupData::IsEmpty() {
  return GetFilteredItemCount() == 0;
}

bool STDMETHODCALLTYPE TcxCustomTextEditLookupData::IsMouseOverList(const TPoint& AScreenPoint) {
  if (!FList || !FList->HandleAllocated()) return false;
  TPoint P = FList->ScreenToClient(AScreenPoint);
  return P.x >= 0 && P.y >= 0 && P.x < FList->Width() && P.y < FList->Height();
}

bool STDMETHODCALLTYPE TcxCustomTextEditLookupData::CanResizeVisualArea(TSize&, Integer, Integer) {
  return true;
}

TSize STDMETHODCALLTYPE TcxCustomTextEditLookupData::GetVisualAreaPreferredSize(Integer, Integer) {
  return TSize{0, 0};
}

void STDMETHODCALLTYPE TcxCustomTextEditLookupData::PositionVisualArea(const TRect& AClientRect) {
  DoPositionVisualArea(AClientRect);
}

void TcxCustomTextEditLookupData::DoPositionVisualArea(const TRect& AClientRect) {
  if (FListContainer) FListContainer->SetBoundsRect(AClientRect);
  if (FList && FList->HandleAllocated()) {
    // Setting the width anew refreshes the horizontal scroll range.
    Integer AWidth = FList->ScrollWidth();
    FList->SetScrollWidth(0);
    FList->SetScrollWidth(AWidth);
  }
}

void STDMETHODCALLTYPE TcxCustomTextEditLookupData::PropertiesChanged() { ListChanged(); }

void TcxCustomTextEditLookupData::ListChanged() {
  if (FList && FList->HandleAllocated()) FList->SetItemCount(GetFilteredItemCount());
}

bool TcxCustomTextEditLookupData::UseSearchControl() {
  return ReadLookupSettings(GetEditControl()).UseSearchControl;
}

bool TcxCustomTextEditLookupData::IsFilterActive() {
  TcxCustomEdit* AEdit = GetEditControl();
  return AEdit && AEdit->EditHasPopupWindow();
}

bool TcxCustomTextEditLookupData::IsIncrementalFiltering() {
  return ReadLookupSettings(GetEditControl()).IncrementalFiltering;
}

bool TcxCustomTextEditLookupData::IsLikeTypeFiltering() {
  TLookupSettings S = ReadLookupSettings(GetEditControl());
  return S.IncrementalFiltering && S.ContainsOperator;
}

void STDMETHODCALLTYPE TcxCustomTextEditLookupData::ResetIncrementalFilter() {
  FSearchText.clear();
  FFilteredLookupItems.resize(static_cast<size_t>(GetItemCount()));
  for (size_t I = 0; I < FFilteredLookupItems.size(); ++I)
    FFilteredLookupItems[I] = static_cast<Integer>(I);
}

Integer TcxCustomTextEditLookupData::GetFilteredItemCount() {
  return IsIncrementalFiltering() ? static_cast<Integer>(FFilteredLookupItems.size())
                                  : GetItemCount();
}

Integer TcxCustomTextEditLookupData::GetFilteredItemIndex(Integer ALookupIndex) {
  if (!IsIncrementalFiltering()) return ALookupIndex;
  auto It = std::find(FFilteredLookupItems.begin(), FFilteredLookupItems.end(), ALookupIndex);
  return It == FFilteredLookupItems.end() ? -1
                                          : static_cast<Integer>(It - FFilteredLookupItems.begin());
}

Integer TcxCustomTextEditLookupData::GetLookupItemIndexFromFilteredItemIndex(
    Integer AFilteredIndex) {
  if (!IsIncrementalFiltering() || AFilteredIndex == -1) return AFilteredIndex;
  // A row outside the map (the list below its last row, a stale row after
  // the filter shrank) is no item rather than an error inside a mouse or
  // key handler.
  if (AFilteredIndex < 0 || AFilteredIndex >= static_cast<Integer>(FFilteredLookupItems.size()))
    return -1;
  return FFilteredLookupItems[static_cast<size_t>(AFilteredIndex)];
}

String TcxCustomTextEditLookupData::GetFilteredItem(Integer AFilteredIndex) {
  return GetItem(GetLookupItemIndexFromFilteredItemIndex(AFilteredIndex));
}

bool TcxCustomTextEditLookupData::IsIncrementalFilteringText(const String& AItem,
                                                             const String& AText) {
  if (AText.empty()) return true;
  const String AUpperText = UpperText(AText);
  const String AUpperItem = UpperText(AItem);
  if (IsLikeTypeFiltering()) return AUpperItem.find(AUpperText) != String::npos;
  return AUpperItem.compare(0, AUpperText.size(), AUpperText) == 0;
}

void TcxCustomTextEditLookupData::UpdateFilteredLookupItems(const String& AText) {
  FSearchText = AText;
  FFilteredLookupItems.clear();
  for (Integer I = 0, N = GetItemCount(); I < N; ++I)
    if (IsIncrementalFilteringText(GetItem(I), AText)) FFilteredLookupItems.push_back(I);
}

Integer TcxCustomTextEditLookupData::FindItemByText(const String& AText, Integer AStartIndex,
                                                    bool AFindFullText) {
  if (AText.empty()) return -1;
  const String AUpperText = UpperText(AText);
  const bool AContains = IsLikeTypeFiltering() && IsFilterActive();
  for (Integer I = std::max(0, AStartIndex), N = GetItemCount(); I < N; ++I) {
    const String AUpperItem = UpperText(GetItem(I));
    if (AContains) {
      if (AUpperItem.find(AUpperText) != String::npos) return I;
    } else if (AFindFullText) {
      if (AUpperItem == AUpperText) return I;
    } else if (AUpperItem.compare(0, AUpperText.size(), AUpperText) == 0 &&
               AUpperItem.size() >= AUpperText.size()) {
      return I;
    }
  }
  return -1;
}

void TcxCustomTextEditLookupData::ApplyNotFoundKeyRule(bool ASynchronizeWithText,
                                                       const String& AText) {
  bool AClear;
  switch (ReadLookupSettings(GetEditControl()).EditingStyle) {
    case esEditList:
      AClear = ASynchronizeWithText || AText.empty();
      break;
    case esFixedList:
      AClear = ASynchronizeWithText;
      break;
    default:
      AClear = true;
  }
  if (AClear) InternalSetCurrentKey(-1);
}

bool TcxCustomTextEditLookupData::InternalLocate(String& AText, String& ATail, bool ANext,
                                                 bool ASynchronizeWithText) {
  if (GetItemCount() == 0) {
    ApplyNotFoundKeyRule(ASynchronizeWithText, AText);
    return false;
  }
  TLookupSettings S = ReadLookupSettings(GetEditControl());
  if (ASynchronizeWithText && S.MRUMode) {
    Integer AIndex = IndexOf(AText);
    InternalSetCurrentKey(AIndex);
    if (AIndex == -1) return false;
    ATail.clear();
    return true;
  }
  const Integer AStart = ANext ? FItemIndex : -1;
  Integer AIndex = -1;
  if (NeedLocateItemWithFullString()) AIndex = FindItemByText(AText, AStart + 1, true);
  if (AIndex == -1) AIndex = FindItemByText(AText, AStart + 1, false);
  if (AIndex == -1) {
    ApplyNotFoundKeyRule(ASynchronizeWithText, AText);
    return false;
  }
  if (IsLikeTypeFiltering() && IsFilterActive()) {
    // The match may lie inside the item: nothing is completed, and no tail
    // of an earlier search may be taken for one.
    ATail.clear();
    InternalSetCurrentKey(AIndex);
    return true;
  }
  const String AItem = GetItem(AIndex);
  const size_t L = std::min(AText.size(), AItem.size());
  if (S.EditingStyle != esEdit) AText = AItem.substr(0, L);
  ATail = AItem.substr(L);
  InternalSetCurrentKey(AIndex);
  return true;
}

bool STDMETHODCALLTYPE TcxCustomTextEditLookupData::Locate(String& AText, String& ATail,
                                                           bool ANext) {
  const bool AFound = InternalLocate(AText, ATail, ANext, false);
  TLookupSettings S = ReadLookupSettings(GetEditControl());
  if (S.IncrementalFiltering && IsFilterActive()) {
    const bool AKeepFilter =
        !AFound && !AText.empty() && (S.EditingStyle != esEdit || !S.IncrementalSearch);
    if (!AKeepFilter) {
      UpdateFilteredLookupItems(AText);
      ListChanged();
    }
  }
  return AFound;
}

void TcxCustomTextEditLookupData::InternalSetItemIndex(Integer AIndex) {
  const Integer ACount = GetItemCount();
  if (AIndex < -1 || AIndex >= ACount || (AIndex == FItemIndex && AIndex != -1)) return;
  if (FList && ACount > 0) {
    // Selecting the first item first scrolls the list to its top.
    if (AIndex == -1) SetSelectedItem(0);
    SetSelectedItem(AIndex);
  }
  FItemIndex = AIndex;
}

void TcxCustomTextEditLookupData::InternalSetCurrentKey(Integer Value) {
  if (Value < -1 || Value >= GetItemCount()) return;
  FCurrentKey = Value;
  InternalSetItemIndex(Value);
}

void STDMETHODCALLTYPE TcxCustomTextEditLookupData::SetCurrentKey(const Variant& AKey) {
  const Integer APrevKey = FCurrentKey;
  const Integer AKeyIndex = KeyToIndex(AKey);
  InternalSetCurrentKey(AKeyIndex);
  TcxCustomEdit* AEdit = GetEditControl();
  LockEditLookupDataTextChanged(GetEdit(), true);
  auto AUnlock = Finally([this] { LockEditLookupDataTextChanged(GetEdit(), false); });
  if (FCurrentKey != APrevKey)
    DoSelectItem();
  else if (AKeyIndex >= 0 && AKeyIndex < GetItemCount() && AEdit &&
           AEdit->GetText() != GetItem(AKeyIndex))
    DoSelectItem();
}

void TcxCustomTextEditLookupData::DoSelectItem() {
  if (FOnSelectItem) FOnSelectItem(this);
}

void STDMETHODCALLTYPE TcxCustomTextEditLookupData::SelectItem() {
  if (FItemIndex == -1) return;
  TcxCustomEdit* AEdit = GetEditControl();
  if (FItemIndex != FCurrentKey && !(AEdit && AEdit->DoEditing())) return;
  const Integer APrevKey = FCurrentKey;
  TcxObjectLinkGuard ALink(AEdit);
  SetCurrentKey(Variant(FItemIndex));
  if (ALink.Alive() && FCurrentKey == APrevKey) DoSelectItem();
}

void STDMETHODCALLTYPE TcxCustomTextEditLookupData::TextChanged() {
  TcxCustomEdit* AEdit = GetEditControl();
  if (!AEdit || AEdit->IsEditModeSetting() || FIsInitializing) return;
  const String AText = AEdit->GetText();
  if (FItemIndex >= 0 && FItemIndex < GetItemCount() &&
      UpperText(GetDisplayText(Variant(FItemIndex))) == UpperText(AText))
    return;
  String ALocated = AText, ATail;
  InternalLocate(ALocated, ATail, false, true);
}

void STDMETHODCALLTYPE TcxCustomTextEditLookupData::CloseUp() {
  TcxCustomEdit* AEdit = GetEditControl();
  if (!(AEdit && AEdit->IsEditModeSetting())) InternalSetItemIndex(FCurrentKey);
  ResetIncrementalFilter();
  if (FListContainer) FListContainer->HideTouchScrollUI(FListContainer, true);
}

Integer TcxCustomTextEditLookupData::GoRow(TcxEditLookupDataGoDirection ADirection, bool ACircular,
                                           Integer AIndex, Integer ACount, bool ANoStartItem) {
  const Integer ARows = ReadLookupSettings(GetEditControl()).PageRowCount;
  const bool ASearchFilter = UseSearchControl() && IsFilterActive();
  switch (ADirection) {
    case egdBegin:
      return 0;
    case egdEnd:
      return ACount - 1;
    case egdNext:
      if (AIndex + 1 < ACount) return AIndex + 1;
      if (ACircular) return 0;
      return ASearchFilter ? -1 : AIndex;
    case egdPrev:
      if (AIndex > 0) return AIndex - 1;
      if (ACircular) return ACount - 1;
      if (ASearchFilter) return AIndex == -1 ? ACount - 1 : -1;
      return AIndex;
    case egdPageUp: {
      if (ANoStartItem) return ACircular ? ACount - 1 : -1;
      Integer ARow = AIndex - ARows + 1;
      if (ARow < 0) ARow = ACircular && AIndex == 0 ? ACount - 1 : 0;
      return ARow;
    }
    case egdPageDown: {
      Integer ARow = AIndex == -1 ? ARows - 1 : AIndex + ARows - 1;
      if (ARow >= ACount) ARow = ACircular && AIndex == ACount - 1 ? 0 : ACount - 1;
      return ARow;
    }
  }
  return AIndex;
}

void STDMETHODCALLTYPE TcxCustomTextEditLookupData::Go(TcxEditLookupDataGoDirection ADirection,
                                                       bool ACircular) {
  if (!IsFilterActive()) ResetIncrementalFilter();
  const Integer ACount = GetFilteredItemCount();
  if (ACount == 0) return;
  Integer AStartItem = FItemIndex;
  if (!UseSearchControl() && AStartItem == -1) AStartItem = FCurrentKey;
  const Integer AIndex = GetFilteredItemIndex(AStartItem);
  const Integer ARow = GoRow(ADirection, ACircular, AIndex, ACount, AStartItem == -1);
  const Integer ANewKey = GetLookupItemIndexFromFilteredItemIndex(ARow);
  TcxCustomEdit* AEdit = GetEditControl();
  if (!FList || !FList->IsVisible() ||
      (ReadLookupSettings(AEdit).ImmediateUpdateText && AEdit && AEdit->DoEditing())) {
    SetCurrentKey(Variant(ANewKey));
    return;
  }
  InternalSetItemIndex(ANewKey);
  if (FListContainer) FListContainer->ContainerShowTouchScrollUI(true);
}

void STDMETHODCALLTYPE TcxCustomTextEditLookupData::Initialize(TWinControl* AVisualControlsParent) {
  FIsInitializing = true;
  auto AReset = Finally([this] { FIsInitializing = false; });
  DoInitialize(AVisualControlsParent);
}

void TcxCustomTextEditLookupData::DoInitialize(TWinControl* AVisualControlsParent) {
  const bool ACreated = !FList;
  if (ACreated) {
    FListContainer = Create<TcxEditListBoxContainer>(AVisualControlsParent);
    TClass AClass = GetListBoxClass();
    if (!AClass) AClass = TcxCustomEditListBox::StaticClass();
    FList = dynamic_cast<TcxCustomEditListBox*>(AClass->Create(FListContainer));
    FList->SetContainer(FListContainer);
    FListContainer->SetInnerControl(FList);
    FList->SetParent(FListContainer);
  }
  FListContainer->SetParent(AVisualControlsParent);
  if (TcxCustomEdit* AEdit = GetEditControl()) {
    FListContainer->SetStyle(AEdit->GetEditStyle());
    TcxContainerStyle* AStyle = FListContainer->GetStyle();
    AStyle->SetAssignedValues(AStyle->GetAssignedValues() + TcxContainerStyleValues{csvFont});
  }
  FList->SetOnSelectItem(TNotifyEvent());
  if (ACreated) FList->RecreateWindow();
  FList->SetItemCount(GetFilteredItemCount());
  FList->SetOnSelectItem(MakeEvent<&TcxCustomTextEditLookupData::HandleSelectItem>(this));
  SetSelectedItem(FItemIndex);
  if (!ACreated) FList->RecreateWindow();
  FList->Invalidate();
  TextChanged();
}

void TcxCustomTextEditLookupData::HandleSelectItem(TObject*) {
  FItemIndex = FList ? GetLookupItemIndexFromFilteredItemIndex(FList->ItemIndex()) : -1;
}

// ===========================================================================
// What is read of the editor

// TEMPORARY until the text editor is merged in: no editor of that class, so
// no lookup data of the editor and no lock of its text notifications.
TcxCustomTextEdit* TcxCustomEditListBox::GetEdit() { return nullptr; }
TcxCustomTextEdit* TcxCustomTextEditLookupData::GetEdit() { return nullptr; }

namespace {

TLookupSettings ReadLookupSettings(TcxCustomEdit* AEdit) {
  TLookupSettings S;
  auto* AProperties =
      AEdit ? dynamic_cast<TcxCustomTextEditProperties*>(AEdit->GetActiveProperties()) : nullptr;
  if (!AProperties) return S;
  S.Items = AProperties->GetLookupItems();
  S.EditingStyle = AProperties->GetEditingStyle();
  S.IncrementalSearch = AProperties->GetIncrementalSearch();
  S.IncrementalFiltering = AProperties->GetIncrementalFiltering();
  const TcxTextEditIncrementalFilteringOptions AOptions =
      AProperties->GetIncrementalFilteringOptions();
  S.ContainsOperator = AOptions.Contains(ifoUseContainsOperator);
  S.HighlightSearchText = AOptions.Contains(ifoHighlightSearchText);
  S.UseSearchControl = AProperties->UseSearchControl();
  S.ImmediateUpdateText = AProperties->GetImmediateUpdateText();
  S.MRUMode = AProperties->GetMRUMode();
  S.PageRowCount = AProperties->GetDropDownPageRowCount();
  return S;
}
IcxTextEditLookupData* GetEditLookupData(TcxCustomTextEdit*) { return nullptr; }
void LockEditLookupDataTextChanged(TcxCustomTextEdit*, bool) {}

}  // namespace
