// The drop-down editor: its properties, the popup's life cycle (dropping down
// through a posted request that can be taken back, closing up with the first
// reason kept), its keys and mouse, and its appearance.
#include "cxDropDownEdit.h"

namespace {
constexpr TcxPopupAlignHorz AAlignHorzMap[] = {pahLeft, pahRight, pahCenter};

bool IsValueTakingReason(TcxEditCloseUpReason AReason) {
  return AReason == crTab || AReason == crClose || AReason == crEnter;
}

TcxPopupAlignHorz MirroredAlignHorz(TcxPopupAlignHorz A) {
  return A == pahLeft ? pahRight : A == pahRight ? pahLeft : A;
}

void FireNotify(const TNotifyEvent& AEvent, TObject* Sender) {
  if (AEvent) AEvent(Sender);
}
}  // namespace

// ---------------------------------------------------------------------------
// TcxCustomDropDownEditProperties
IMPLEMENT_CREATABLE_CLASS(TcxCustomDropDownEditProperties)

TcxCustomDropDownEditProperties::TcxCustomDropDownEditProperties(TPersistent* AOwner)
    : TcxCustomDropDownEditPropertiesBase(AOwner) {}

TcxCustomDropDownEditProperties::~TcxCustomDropDownEditProperties() = default;

void TcxCustomDropDownEditProperties::AfterConstruction() {
  inherited::AfterConstruction();
  FButtonGlyph = MakeOwned<TdxSmartGlyph>();
  FButtonGlyph->OnChange = MakeEvent<&TcxCustomDropDownEditProperties::ButtonGlyphChanged>(this);
  BeginUpdate();
  auto AEnd = Finally([this] { EndUpdate(); });
  TcxEditButton* AButton = GetButtons()->Add();
  AButton->SetKind(bkDown);
  AButton->SetDefault(true);
}

TcxCustomEditPopupWindowClass TcxCustomDropDownEditProperties::GetPopupWindowClass() {
  return &cxCreateEditPopupWindow<TcxCustomEditPopupWindow>;
}

bool TcxCustomDropDownEditProperties::PopupWindowCapturesFocus() { return false; }

TcxCustomEditClass TcxCustomDropDownEditProperties::GetContainerClass() {
  return TcxCustomEditClass{TcxCustomDropDownEdit::StaticClass(), nullptr};
}

TcxCustomEditViewDataClass TcxCustomDropDownEditProperties::GetViewDataClass() {
  return &cxCreateEditViewData<TcxCustomDropDownEditViewData>;
}

TcxEditSupportedOperations TcxCustomDropDownEditProperties::GetSupportedOperations() {
  TcxEditSupportedOperations R = inherited::GetSupportedOperations();
  R.Exclude(esoEditingAutoHeight);
  return R;
}

void TcxCustomDropDownEditProperties::SetButtonGlyph(TdxSmartGlyph* Value) {
  FButtonGlyph->Assign(Value);
}

void TcxCustomDropDownEditProperties::ButtonGlyphChanged(TObject*) { UpdateButtons(); }

void TcxCustomDropDownEditProperties::SetGlyphButtonIndex(Integer Value) {
  TcxEditButtons* AButtons = GetButtons();
  if (FGlyphButtonIndex >= 0 && FGlyphButtonIndex < AButtons->Count()) {
    // The button that leaves the glyph returns to its usual kind.
    TcxEditButton* AOld = AButtons->Items(FGlyphButtonIndex);
    AOld->GetGlyph()->Clear();
    if (AOld->GetKind() == bkGlyph)
      AOld->SetKind(FGlyphButtonIndex == 0 ? DefaultButtonKind() : bkEllipsis);
  }
  FGlyphButtonIndex = Value;
  if (Value >= 0 && Value < AButtons->Count()) {
    TcxEditButton* ANew = AButtons->Items(Value);
    ANew->GetGlyph()->Assign(FButtonGlyph.get());
    if (!FButtonGlyph->Empty()) ANew->SetKind(bkGlyph);
  }
}

void TcxCustomDropDownEditProperties::UpdateButtons() {
  BeginUpdate();
  auto AEnd = Finally([this] { EndUpdate(); });
  const Integer AIndex = FGlyphButtonIndex;
  SetGlyphButtonIndex(-1);
  SetGlyphButtonIndex(AIndex);
}

TAlignment TcxCustomDropDownEditProperties::PopupAlignment() const {
  for (Integer I = 0; I < 3; ++I)
    if (AAlignHorzMap[I] == FPopupHorzAlignment) return static_cast<TAlignment>(I);
  return taLeftJustify;
}

void TcxCustomDropDownEditProperties::SetPopupAlignment(TAlignment Value) {
  SetPopupHorzAlignment(AAlignHorzMap[Value]);
}

void TcxCustomDropDownEditProperties::SetPopupHeight(Integer Value) {
  FPopupHeight = std::max(Value, FPopupMinHeight);
}

void TcxCustomDropDownEditProperties::SetPopupWidth(Integer Value) {
  if (Value < 0) Value = 0;
  if (Value > 0 && Value < FPopupMinWidth) Value = FPopupMinWidth;
  FPopupWidth = Value;
}

void TcxCustomDropDownEditProperties::SetPopupMinHeight(Integer Value) {
  FPopupMinHeight = std::max(Value, 0);
  SetPopupHeight(FPopupHeight);
}

void TcxCustomDropDownEditProperties::SetPopupMinWidth(Integer Value) {
  FPopupMinWidth = std::max(Value, 0);
  SetPopupWidth(FPopupWidth);
}

void TcxCustomDropDownEditProperties::ChangeScale(Integer M, Integer D) {
  inherited::ChangeScale(M, D);
  SetPopupMinHeight(MulDiv(FPopupMinHeight, M, D));
  SetPopupMinWidth(MulDiv(FPopupMinWidth, M, D));
  SetPopupHeight(MulDiv(FPopupHeight, M, D));
  SetPopupWidth(MulDiv(FPopupWidth, M, D));
}

void TcxCustomDropDownEditProperties::DoAssign(TcxCustomEditProperties* AProperties) {
  inherited::DoAssign(AProperties);
  auto* S = AsOrNull<TcxCustomDropDownEditProperties>(AProperties);
  if (!S) return;
  SetButtonGlyph(S->ButtonGlyph());
  FImmediateDropDownWhenActivated = S->FImmediateDropDownWhenActivated;
  FImmediateDropDownWhenKeyPressed = S->FImmediateDropDownWhenKeyPressed;
  FKeepArrowButtonPressedWhenDroppedDown = S->FKeepArrowButtonPressedWhenDroppedDown;
  FPopupAutoSize = S->FPopupAutoSize;
  FPopupClientEdge = S->FPopupClientEdge;
  FPopupSizeable = S->FPopupSizeable;
  FPopupSysPanelStyle = S->FPopupSysPanelStyle;
  FPopupDirection = S->FPopupDirection;
  FPopupHorzAlignment = S->FPopupHorzAlignment;
  FPopupVertAlignment = S->FPopupVertAlignment;
  FPostPopupValueOnTab = S->FPostPopupValueOnTab;
  OnCloseQuery = S->OnCloseQuery;
  OnCloseUp = S->OnCloseUp;
  OnFinalizePopup = S->OnFinalizePopup;
  OnInitPopup = S->OnInitPopup;
  OnPopup = S->OnPopup;
  // The sizes are kept at each object's own scale.
  const TdxScaleFactor* F = GetScaleFactor();
  const TdxScaleFactor* SF = S->GetScaleFactor();
  SetPopupMinHeight(F->Apply(S->FPopupMinHeight, SF));
  SetPopupMinWidth(F->Apply(S->FPopupMinWidth, SF));
  SetPopupHeight(F->Apply(S->FPopupHeight, SF));
  SetPopupWidth(F->Apply(S->FPopupWidth, SF));
}

void TcxCustomDropDownEditProperties::DoChanged() {
  UpdateButtons();
  inherited::DoChanged();
}

// ---------------------------------------------------------------------------
// TcxEditPopupControlLookAndFeel
IMPLEMENT_CLASS(TcxEditPopupControlLookAndFeel)

TcxEditPopupControlLookAndFeel::TcxEditPopupControlLookAndFeel(TcxCustomDropDownEdit* AEdit)
    : TcxLookAndFeel(AEdit), FEdit(AEdit) {}

TcxLookAndFeel* TcxEditPopupControlLookAndFeel::EditStyleLookAndFeel() const {
  return FEdit->GetEditActiveStyle()->GetLookAndFeel();
}

TcxLookAndFeelKind TcxEditPopupControlLookAndFeel::InternalGetKind() {
  if (FEdit->IsInplace() || FEdit->GetActiveProperties()->GetButtons()->Count() > 0)
    return EditStyleLookAndFeel()->GetKind();
  return lfStandard;
}

bool TcxEditPopupControlLookAndFeel::InternalGetNativeStyle() {
  return FEdit->GetEditViewInfo()->NativeStyle;
}

String TcxEditPopupControlLookAndFeel::InternalGetSkinName() {
  return EditStyleLookAndFeel()->GetSkinName();
}

TdxScrollbarMode TcxEditPopupControlLookAndFeel::InternalGetScrollbarMode() {
  return EditStyleLookAndFeel()->GetScrollbarMode();
}

void TcxEditPopupControlLookAndFeel::EditStyleChanged() {
  TcxLookAndFeelValues AChanged;
  if (GetKind() != InternalGetKind()) AChanged.Include(lfvKind);
  if (GetNativeStyle() != InternalGetNativeStyle()) AChanged.Include(lfvNativeStyle);
  if (GetSkinName() != InternalGetSkinName()) AChanged.Include(lfvSkinName);
  if (GetScrollbarMode() != InternalGetScrollbarMode()) AChanged.Include(lfvScrollbarMode);
  if (!AChanged.Empty()) MasterLookAndFeelChanged(this, AChanged);
}

// ---------------------------------------------------------------------------
// TcxCustomDropDownEditViewData
IMPLEMENT_CLASS(TcxCustomDropDownEditViewData)

void TcxCustomDropDownEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds,
                                              const TPoint& P, TcxMouseButton Button,
                                              TShiftState Shift, TcxCustomEditViewInfo* AViewInfo,
                                              bool AIsMouseEvent) {
  auto* AProperties = As<TcxCustomDropDownEditProperties>(GetProperties());
  KeepArrowButtonPressedWhenDroppedDown =
      AProperties->KeepArrowButtonPressedWhenDroppedDown() ||
      (IsWinVistaOrLater && IsNativeStyle(GetStyle()->GetLookAndFeel()));
  inherited::Calculate(ACanvas, ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
}

bool TcxCustomDropDownEditViewData::CanPressButton(TcxCustomEditViewInfo* AViewInfo,
                                                   Integer AButtonVisibleIndex) {
  auto* AProperties = As<TcxCustomDropDownEditProperties>(GetProperties());
  // A click on the button of an open popup only closes it.
  return !(AButtonVisibleIndex == AProperties->DropDownButtonVisibleIndex() && IsHotAndPopup);
}

bool TcxCustomDropDownEditViewData::IsButtonPressed(TcxCustomEditViewInfo* AViewInfo,
                                                    Integer AButtonVisibleIndex) {
  if (inherited::IsButtonPressed(AViewInfo, AButtonVisibleIndex)) return true;
  auto* AProperties = As<TcxCustomDropDownEditProperties>(GetProperties());
  return (HasPopupWindow || IsHotAndPopup) && KeepArrowButtonPressedWhenDroppedDown &&
         AButtonVisibleIndex == AProperties->DropDownButtonVisibleIndex();
}

Integer TcxCustomDropDownEditViewData::GetEditNativeState(TcxCustomEditViewInfo* AViewInfo) {
  return inherited::GetEditNativeState(AViewInfo);
}

// ---------------------------------------------------------------------------
// TcxCustomDropDownEditData
IMPLEMENT_CLASS(TcxCustomDropDownEditData)

// ---------------------------------------------------------------------------
// TcxCustomDropDownEdit
IMPLEMENT_CLASS(TcxCustomDropDownEdit)

TcxCustomDropDownEdit::TcxCustomDropDownEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomDropDownEditBase(AOwner, AIsInplace) {}

TcxCustomDropDownEdit::~TcxCustomDropDownEdit() {
  DestroyPopupWindow();
  FPopupControlsLookAndFeel.reset();
}

void TcxCustomDropDownEdit::AfterConstruction() {
  inherited::AfterConstruction();
  // Made once the editor's style and properties exist: it reads them.
  FPopupControlsLookAndFeel = MakeOwned<TcxEditPopupControlLookAndFeel>(this);
  FPopupControlsLookAndFeel->SetOnChanged(
      MakeEvent<&TcxCustomDropDownEdit::PopupControlsLookAndFeelChanged>(this));
}

void TcxCustomDropDownEdit::BeforeDestruction() {
  FInitializeLookupDataTimer.reset();
  // While the editor is whole: the popup's closing reaches its overrides.
  DestroyPopupWindow();
  inherited::BeforeDestruction();
}

TClass TcxCustomDropDownEdit::GetPropertiesClass() {
  return TcxCustomDropDownEditProperties::StaticClass();
}

TcxCustomDropDownEditProperties* TcxCustomDropDownEdit::ActiveProperties() {
  return As<TcxCustomDropDownEditProperties>(GetActiveProperties());
}

TcxCustomDropDownEditProperties* TcxCustomDropDownEdit::Properties() {
  return As<TcxCustomDropDownEditProperties>(GetProperties());
}

void TcxCustomDropDownEdit::Initialize() {
  inherited::Initialize();
  if (!ComponentState().Contains(csDesigning)) CreatePopupWindow();
}

// ---------------------------------------------------------------------------
// The popup window and its wiring

void TcxCustomDropDownEdit::CreatePopupWindow() {
  FPopupWindow.reset(ActiveProperties()->GetPopupWindowClass()(this));
  TcxCustomEditPopupWindow* W = FPopupWindow.get();
  W->SetCaptureFocus(IsPopupWindowCaptureFocus());
  W->SetIsTopMost(!IsInplace());
  W->Style()->GetLookAndFeel()->SetMasterLookAndFeel(GetEditStyle()->GetLookAndFeel());
  W->SetBiDiMode(BiDiMode());
  W->OnCloseQuery = MakeEvent<&TcxCustomDropDownEdit::PopupWindowCloseQuery>(this);
  W->OnClosed = MakeEvent<&TcxCustomDropDownEdit::PopupWindowClosed>(this);
  W->OnClosing = MakeEvent<&TcxCustomDropDownEdit::PopupWindowClosing>(this);
  W->OnShowed = MakeEvent<&TcxCustomDropDownEdit::PopupWindowShowed>(this);
  W->OnShowing = MakeEvent<&TcxCustomDropDownEdit::PopupWindowShowing>(this);
}

void TcxCustomDropDownEdit::DestroyPopupWindow() {
  if (!FPopupWindow) return;
  TcxCustomEditPopupWindow* W = FPopupWindow.get();
  W->OnCloseQuery = TCloseQueryEvent();
  W->OnClosed = W->OnClosing = W->OnShowed = W->OnShowing = TNotifyEvent();
  LockCMActivateMessages(true);
  auto AUnlock = Finally([] { LockCMActivateMessages(false); });
  FPopupWindow.reset();
}

bool TcxCustomDropDownEdit::HasPopupWindow() { return FPopupWindow && FPopupWindow->IsVisible(); }

bool TcxCustomDropDownEdit::DroppedDown() { return HasPopupWindow(); }

void TcxCustomDropDownEdit::SetDroppedDown(bool Value) {
  if (Value == DroppedDown()) return;
  if (Value) {
    if (!IsPopupWindowShowing()) DropDown();
  } else {
    CloseUp(crUnknown);
  }
}

bool TcxCustomDropDownEdit::IsPopupWindowShowing() {
  if (!FPopupWindow || !FPopupWindow->HandleAllocated()) return false;
  MSG M;
  return PeekMessageW(&M, FPopupWindow->Handle(), DXM_SHOWPOPUPWINDOW, DXM_SHOWPOPUPWINDOW,
                      PM_NOREMOVE | PM_NOYIELD) != 0;
}

bool TcxCustomDropDownEdit::RemovePendingShowRequest() {
  if (!FPopupWindow || !FPopupWindow->HandleAllocated()) return false;
  bool ARemoved = false;
  MSG M;
  while (PeekMessageW(&M, FPopupWindow->Handle(), DXM_SHOWPOPUPWINDOW, DXM_SHOWPOPUPWINDOW,
                      PM_REMOVE | PM_NOYIELD))
    ARemoved = true;
  return ARemoved;
}

// ---------------------------------------------------------------------------
// Dropping down

void TcxCustomDropDownEdit::DropDown() {
  if (!HandleAllocated() || !IsWindowVisible(Handle()) || !FPopupWindow) return;
  // One show request at a time.
  if (IsPopupWindowShowing()) return;
  TcxObjectLinkGuard ALink(this);
  DoInitPopup();
  if (!ALink.Alive()) return;
  if (CanDropDown()) {
    SetupPopupWindow();
    if (!ALink.Alive() || !FPopupWindow) return;
    FPopupWindow->HandleNeeded();
    FPopupWindow->SetFocusedControlOnShow(GetPopupFocusedControl());
    PostMessageW(FPopupWindow->Handle(), DXM_SHOWPOPUPWINDOW, 0, 0);
  } else {
    DoFinalizePopup();
  }
}

void TcxCustomDropDownEdit::DoInitPopup() {
  if (FPopupInitialized) return;
  FPopupInitialized = true;
  // An exception from a handler leaves the popup uninitialised.
  auto AUndo = Finally([this] { FPopupInitialized = false; });
  FireNotify(Properties()->OnInitPopup, this);
  if (GetRepositoryItem()) FireNotify(ActiveProperties()->OnInitPopup, this);
  if (FPopupWindow) FPopupWindow->UpdateScaleFactor();
  AUndo.Dismiss();
}

bool TcxCustomDropDownEdit::IsPopupWindowCaptureFocus() {
  return ActiveProperties()->PopupWindowCapturesFocus();
}

bool TcxCustomDropDownEdit::UsesSearchControl() { return false; }

void TcxCustomDropDownEdit::InitializeLookupData() {}

bool TcxCustomDropDownEdit::NeedSearchInfoPanelShow() { return false; }

Integer TcxCustomDropDownEdit::GetPopupWidth() {
  auto* AData = AsOrNull<TcxCustomDropDownEditData>(EditData());
  if (IsInplace() && ActiveProperties()->PopupSizeable() && AData) return AData->Width;
  return ScaleFactor()->Apply(ActiveProperties()->PopupWidth(),
                              ActiveProperties()->GetScaleFactor());
}

Integer TcxCustomDropDownEdit::GetPopupHeight() {
  auto* AData = AsOrNull<TcxCustomDropDownEditData>(EditData());
  if (IsInplace() && ActiveProperties()->PopupSizeable() && AData) return AData->Height;
  return ScaleFactor()->Apply(ActiveProperties()->PopupHeight(),
                              ActiveProperties()->GetScaleFactor());
}

void TcxCustomDropDownEdit::InitializePopupWindow() {
  TcxCustomEditPopupWindow* W = FPopupWindow.get();
  TcxCustomDropDownEditProperties* P = ActiveProperties();
  const TdxScaleFactor* PF = P->GetScaleFactor();
  W->SetOwnerParent(Parent());
  W->SetDirection(P->PopupDirection());
  W->SetAlignHorz(UseRightToLeftAlignment() ? MirroredAlignHorz(P->PopupHorzAlignment())
                                            : P->PopupHorzAlignment());
  W->SetAlignVert(P->PopupVertAlignment());
  W->SetClientEdge(P->PopupClientEdge());
  W->SetMinHeight(ScaleFactor()->Apply(P->PopupMinHeight(), PF));
  W->SetMinWidth(ScaleFactor()->Apply(P->PopupMinWidth(), PF));
  W->SetPopupAutoSize(P->PopupAutoSize());
  W->SetShowSearchInfoPanel(NeedSearchInfoPanelShow());
  W->SetSizeable(P->PopupSizeable());
  W->SetSysPanelStyle(P->PopupSysPanelStyle());
  W->SetPopupWidth(GetPopupWidth());
  W->SetPopupHeight(GetPopupHeight());
  W->SetCloseButton(GetEditActiveStyle()->GetPopupCloseButton());
  TcxCustomEditViewInfo* V = GetEditViewInfo();
  W->SetBorderStyle(V->PopupBorderStyle);
  W->SetNativeStyle(V->NativeStyle);
  W->SetShadow(V->Shadow);
  W->Style()->SetFont(GetEditActiveStyle()->GetFont());
  if (UsesSearchControl()) W->SetModalMode(false);
}

void TcxCustomDropDownEdit::SetupPopupWindow() {
  TcxCustomEditPopupWindow* W = FPopupWindow.get();
  W->SetCaptureFocus(IsPopupWindowCaptureFocus());
  W->UpdateScaleFactor();
  InitializeLookupData();
  InitializePopupWindow();
  TSize ASize;
  TPoint APosition;
  {
    W->LockCheckSize();
    auto AUnlock = Finally([W] { W->UnLockCheckSize(); });
    ASize = W->CalculateSize();
    APosition = W->CalculatePosition(ASize);
    W->CorrectBoundsWithDesktopWorkArea(APosition, ASize);
  }
  W->SetBounds(APosition.x, APosition.y, ASize.cx, ASize.cy);
  W->RefreshPopupWindow();
  PositionPopupWindowChilds(W->ViewInfo()->ClientRect);
  W->UpdateShadowRegion();
}

TRect TcxCustomDropDownEdit::GetPopupWindowOwnerControlBounds() {
  TRect R = GetVisibleBounds();
  if (IsInplace() && !cxRectIsEmpty(ContentParams.ExternalBorderBounds))
    R = ContentParams.ExternalBorderBounds;
  if (GetEditViewInfo()->Shadow) R.right += cxEditPopupShadowWidth;
  return cxRectOffset(R, Left(), Top());
}

TWinControl* TcxCustomDropDownEdit::GetPopupFocusedControl() {
  return InnerEdit() ? InnerEdit()->GetControl() : this;
}

TWinControl* TcxCustomDropDownEdit::GetVisualControlsParent() { return FPopupWindow.get(); }

void TcxCustomDropDownEdit::PositionPopupWindowChilds(const TRect&) {}

bool TcxCustomDropDownEdit::CanResizePopupVisualArea(TSize&, const TSize&) { return true; }

void TcxCustomDropDownEdit::StorePopupSize() {
  TcxCustomDropDownEditProperties* P = ActiveProperties();
  if (!P->PopupSizeable() || !FPopupWindow) return;
  if (IsInplace()) {
    if (auto* AData = AsOrNull<TcxCustomDropDownEditData>(EditData())) {
      AData->Width = FPopupWindow->Width();
      AData->Height = FPopupWindow->Height();
      AData->Initialized = true;
    }
    return;
  }
  // Kept at the properties' scale, so that the editor's scale is not
  // applied twice on the next drop-down.
  P->SetPopupWidth(P->GetScaleFactor()->Apply(FPopupWindow->Width(), ScaleFactor()));
  P->SetPopupHeight(P->GetScaleFactor()->Apply(FPopupWindow->Height(), ScaleFactor()));
}

// ---------------------------------------------------------------------------
// The popup's events

void TcxCustomDropDownEdit::PopupWindowShowed(TObject*) {
  ShortRefreshContainer(false);
  FPopupWindow->CalculateViewInfo();
  PositionPopupWindowChilds(FPopupWindow->ViewInfo()->ClientRect);
  DoPopup();
  UpdateDrawValue();
}

void TcxCustomDropDownEdit::DoPopup() {
  FCloseUpReason = crUnknown;
  FireNotify(Properties()->OnPopup, this);
  if (GetRepositoryItem()) FireNotify(ActiveProperties()->OnPopup, this);
}

void TcxCustomDropDownEdit::PopupWindowCloseQuery(TObject*, bool& CanClose) {
  if (Properties()->OnCloseQuery) Properties()->OnCloseQuery(this, CanClose);
  if (GetRepositoryItem() && ActiveProperties()->OnCloseQuery)
    ActiveProperties()->OnCloseQuery(this, CanClose);
}

void TcxCustomDropDownEdit::CloseUp(TcxEditCloseUpReason AReason) {
  if (!HasPopupWindow()) {
    // A show request still waiting is taken back: the popup never appears.
    if (RemovePendingShowRequest()) DoFinalizePopup();
    return;
  }
  if (FCloseUpReason == crUnknown) FCloseUpReason = AReason;
  TcxObjectLinkGuard ALink(this);
  {
    LockChangeEvents(true);
    auto AUnlock = Finally([&] {
      if (ALink.Alive()) LockChangeEvents(false);
    });
    if (IsValueTakingReason(AReason) && !ActiveProperties()->GetAlwaysPostEditValue() &&
        ActiveProperties()->GetImmediatePost() && CanPostEditValue())
      InternalPostEditValue(true);
  }
  if (ALink.Alive() && FPopupWindow) FPopupWindow->CloseUp();
}

void TcxCustomDropDownEdit::PopupWindowClosed(TObject*) {
  TcxObjectLinkGuard ALink(this);
  DoFinalizePopup();
  if (!ALink.Alive()) return;
  DoCloseUp();
  if (!ALink.Alive()) return;
  {
    LockChangeEvents(true);
    auto AUnlock = Finally([&] {
      if (ALink.Alive()) LockChangeEvents(false);
    });
    if (ActiveProperties()->GetAlwaysPostEditValue() && ActiveProperties()->GetImmediatePost() &&
        CanPostEditValue() && InternalValidateEdit(false))
      InternalPostEditValue(false);
  }
  if (!ALink.Alive()) return;
  ShortRefreshContainer(false);
  RecalculateIsHotAndPopup();
}

void TcxCustomDropDownEdit::DoFinalizePopup() {
  if (!FPopupInitialized) return;
  FPopupInitialized = false;
  FireNotify(Properties()->OnFinalizePopup, this);
  if (GetRepositoryItem()) FireNotify(ActiveProperties()->OnFinalizePopup, this);
}

void TcxCustomDropDownEdit::DoCloseUp() {
  DoClosePopup(FCloseUpReason);
  FireNotify(Properties()->OnCloseUp, this);
  if (GetRepositoryItem()) FireNotify(ActiveProperties()->OnCloseUp, this);
}

void TcxCustomDropDownEdit::RecalculateIsHotAndPopup() {
  if (HandleAllocated() && (!GetEditViewInfo()->IsButtonReallyPressed ||
                            GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0))
    return;
  FIsHotAndPopup = HasPopupWindow() && IsMouseTracking();
}

// ---------------------------------------------------------------------------
// Keys

void TcxCustomDropDownEdit::DoEditKeyDown(Word& Key, TShiftState Shift) {
  // The popup never has the keyboard: Esc during a drag of its frame drops
  // the outline and keeps the popup open at its size.
  if (Key == VK_ESCAPE && FPopupWindow && FPopupWindow->IsSizing()) {
    FPopupWindow->EndResize(false);
    Key = 0;
    return;
  }
  const bool AAlt = Shift.Contains(ssAlt);
  if (((Key == VK_UP || Key == VK_DOWN) && AAlt) || (Key == VK_F4 && !AAlt)) {
    if (HasPopupWindow())
      CloseUp(crClose);
    else
      DropDown();
    Key = 0;
    return;
  }
  if ((Key == VK_RETURN || Key == VK_ESCAPE) && !AAlt && HasPopupWindow()) {
    TcxObjectLinkGuard ALink(this);
    if (Key == VK_RETURN && DoEditing())
      CloseUp(crEnter);
    else
      CloseUp(crCancel);
    if (!ALink.Alive()) return;
    if (!HasPopupWindow()) {
      if (Key == VK_ESCAPE && GetCapture()) ReleaseCapture();
      Key = 0;
      return;
    }
  }
  inherited::DoEditKeyDown(Key, Shift);
}

void TcxCustomDropDownEdit::DoEditKeyPress(Char& Key) {
  if (Key >= 32 && ActiveProperties()->ImmediateDropDownWhenKeyPressed() && !HasPopupWindow()) {
    DropDown();
    TWinControl* AFocus = GetPopupFocusedControl();
    if (IsPopupWindowCaptureFocus() && Key != L'\r' && CanDropDown() && AFocus && FPopupWindow) {
      PostMessageW(FPopupWindow->Handle(), DXM_POPUPCONTROLKEY, static_cast<WPARAM>(Key), 0);
      Key = 0;
      return;
    }
  }
  inherited::DoEditKeyPress(Key);
}

bool TcxCustomDropDownEdit::IsEditorKey(Word Key, TShiftState Shift) {
  return inherited::IsEditorKey(Key, Shift) ||
         (IsInplace() && HasPopupWindow() &&
          (Shift.Contains(ssAlt) || Shift.Contains(ssCtrl) || Key == VK_MENU));
}

bool TcxCustomDropDownEdit::TabsNeeded() {
  return inherited::TabsNeeded() || (HasPopupWindow() && ActiveProperties()->PostPopupValueOnTab());
}

void TcxCustomDropDownEdit::DoEditProcessTab(TShiftState Shift) {
  if (HasPopupWindow() && ActiveProperties()->PostPopupValueOnTab()) CloseUp(crTab);
  inherited::DoEditProcessTab(Shift);
}

// ---------------------------------------------------------------------------
// Mouse

void TcxCustomDropDownEdit::DoButtonDown(Integer AButtonVisibleIndex) {
  inherited::DoButtonDown(AButtonVisibleIndex);
  if (AButtonVisibleIndex == ActiveProperties()->DropDownButtonVisibleIndex()) DropDown();
}

void TcxCustomDropDownEdit::MouseDown(TMouseButton Button, TShiftState Shift, Integer X,
                                      Integer Y) {
  TcxObjectLinkGuard ALink(this);
  inherited::MouseDown(Button, Shift, X, Y);
  if (!ALink.Alive()) return;
  if (Button == mbLeft && ActiveProperties()->DropDownOnClick() && !FIsActivatingByMouse &&
      cxRectPtIn(GetEditViewInfo()->ClientRect, X, Y) && !HasPopupWindow() && !FIsHotAndPopup &&
      TcxContainer::Focused())
    DropDown();
}

bool TcxCustomDropDownEdit::DoMouseWheel(TShiftState Shift, Integer WheelDelta,
                                         const TPoint& MousePos) {
  return inherited::DoMouseWheel(Shift, WheelDelta, MousePos);
}

// ---------------------------------------------------------------------------
// Focus, window and state

bool TcxCustomDropDownEdit::IsContainerFocused() {
  return inherited::IsContainerFocused() || HasPopupWindow();
}

void TcxCustomDropDownEdit::FocusChanged() {
  TcxObjectLinkGuard ALink(this);
  inherited::FocusChanged();
  if (!ALink.Alive()) return;
  if (!IsPopupWindowCaptureFocus() && !TcxContainer::Focused()) CloseUp(crUnknown);
}

void TcxCustomDropDownEdit::DoExit() {
  TcxObjectLinkGuard ALink(this);
  CloseUp(crUnknown);
  if (ALink.Alive()) inherited::DoExit();
}

void TcxCustomDropDownEdit::CreateHandle() { inherited::CreateHandle(); }

void TcxCustomDropDownEdit::DestroyWnd() {
  CloseUp(crUnknown);
  if (RemovePendingShowRequest()) DoFinalizePopup();
  inherited::DestroyWnd();
}

void TcxCustomDropDownEdit::CMBiDiModeChanged(TMessage& Message) {
  inherited::CMBiDiModeChanged(Message);
  if (FPopupWindow) FPopupWindow->SetBiDiMode(BiDiMode());
}

void TcxCustomDropDownEdit::ContainerStyleChanged(TObject* Sender) {
  inherited::ContainerStyleChanged(Sender);
  if (HandleAllocated() && FPopupControlsLookAndFeel) FPopupControlsLookAndFeel->EditStyleChanged();
}

bool TcxCustomDropDownEdit::DoRefreshContainer(const TPoint& P, TcxMouseButton Button,
                                               TShiftState Shift, bool AIsMouseEvent) {
  const bool AResult = inherited::DoRefreshContainer(P, Button, Shift, AIsMouseEvent);
  if (FPopupControlsLookAndFeel) FPopupControlsLookAndFeel->EditStyleChanged();
  if (AIsMouseEvent && !(Button == cxmbRight && Shift.Contains(ssRight)))
    FIsHotAndPopup = HasPopupWindow() && IsMouseTracking();
  // A press on the editor that ended on no button closes the popup.
  TcxCustomEditViewInfo* V = GetEditViewInfo();
  if (HasPopupWindow() && V->IsButtonReallyPressed && V->PressedButton == -1) CloseUp(crUnknown);
  return AResult;
}

TcxCustomEditViewData* TcxCustomDropDownEdit::CreateViewData() {
  TcxCustomEditViewData* AViewData = inherited::CreateViewData();
  if (auto* D = AsOrNull<TcxCustomDropDownEditViewData>(AViewData)) {
    D->HasPopupWindow = HasPopupWindow();
    D->IsHotAndPopup = FIsHotAndPopup;
  }
  return AViewData;
}

void TcxCustomDropDownEdit::PropertiesChanged(TObject* Sender) {
  if (!ActiveProperties()->PopupSizeable()) FPopupSizeChanged = false;
  inherited::PropertiesChanged(Sender);
  if (HasPopupWindow()) SetupPopupWindow();
}

void TcxCustomDropDownEdit::InitializeLookupDataTimerHandler(TObject*) {
  FInitializeLookupDataTimer.reset();
  InitializeLookupData();
}
