// The editor control: construction, its properties and styles, the view
// road, size, and the data binding.
#include "cxEdit.h"

#include <limits>

#include "Menus.h"
#include "cxEditConsts.h"
#include "dxSpellCheckerCore.h"

// ---------------------------------------------------------------------------
// Data binding and the editor's classes
IMPLEMENT_CLASS(TcxEditDataBinding)
IMPLEMENT_CLASS(TcxEditChangeEventsCatcher)
IMPLEMENT_CLASS(TcxCustomEditContainer)
IMPLEMENT_PUBLISHED_CLASS(TcxCustomEdit) {
  using E = TcxCustomEdit;
  P.Property<&E::GetRepositoryItem, &E::SetRepositoryItem>(L"RepositoryItem");
  // The size is streamed by DefineProperties, which leaves out what auto
  // size decides.
  P.Property<&TControl::Height, &TControl::SetHeight>(L"Height").NoDefault().Stored(false);
  P.Property<&TControl::Width, &TControl::SetWidth>(L"Width").NoDefault().Stored(false);
}
IMPLEMENT_CREATABLE_CLASS(TcxCustomEditData)

// ---------------------------------------------------------------------------
// Data binding
TcxEditDataBinding::TcxEditDataBinding(TcxCustomEdit* AEdit)
    : FEdit(AEdit), FIDefaultValuesProvider(CreateDefaultValuesProvider()) {}

TcxEditDataBinding::~TcxEditDataBinding() = default;

TcxCustomEditDefaultValuesProvider* TcxEditDataBinding::CreateDefaultValuesProvider() {
  return new TcxCustomEditDefaultValuesProvider(nullptr);
}

IcxEditDefaultValuesProvider* TcxEditDataBinding::GetIDefaultValuesProvider() {
  return FIDefaultValuesProvider.get();
}

TPersistent* TcxEditDataBinding::GetOwner() { return FEdit; }

void TcxEditDataBinding::DefaultValuesChanged() {
  TcxCustomEditProperties* AProperties = FEdit->GetActiveProperties();
  if (AProperties == FEdit->GetProperties()) {
    AProperties->Changed();
    return;
  }
  // Shared properties: their other editors did not change, so only this one
  // recalculates.
  AProperties->BeginUpdate();
  AProperties->EndUpdate(false);
  FEdit->PropertiesChanged(AProperties);
}

Variant TcxEditDataBinding::GetDisplayValue() { return Variant(FEdit->GetDisplayText()); }

bool TcxEditDataBinding::GetIsDataAvailable() { return FIDefaultValuesProvider->IsDataAvailable(); }

bool TcxEditDataBinding::IsDataStorage() { return FIDefaultValuesProvider->IsDataStorage(); }

bool TcxEditDataBinding::GetEditing() { return FEdit->ModifiedAfterEnter(); }

bool TcxEditDataBinding::GetModified() { return FEdit->ModifiedAfterEnter(); }

Variant TcxEditDataBinding::GetStoredValue() { return FEdit->GetEditValue(); }

void TcxEditDataBinding::Reset() { FEdit->ResetEditValue(); }

void TcxEditDataBinding::SetDisplayValue(const Variant& Value) {
  FEdit->SetInternalDisplayValue(Value);
}

bool TcxEditDataBinding::SetEditMode() {
  FEdit->SetModifiedAfterEnter(true);
  return true;
}

bool TcxEditDataBinding::CanCheckEditorValue() {
  return FEdit->IsDesigning() || !FEdit->ModifiedAfterEnter();
}

void TcxEditDataBinding::SetModified() {
  if (FEdit->Focused()) FEdit->SetModifiedAfterEnter(true);
}

void TcxEditDataBinding::UpdateDisplayValue() { FEdit->SynchronizeDisplayValue(); }

// ---------------------------------------------------------------------------
// Properties: what their editors are made of
TcxCustomEditClass TcxCustomEditProperties::GetContainerClass() {
  return cxEditClass<TcxCustomEdit>();
}

TcxContainerStyleClass TcxCustomEditProperties::GetStyleClass() {
  return &cxCreateContainerStyle<TcxEditStyle>;
}

TcxCustomEditViewDataClass TcxCustomEditProperties::GetViewDataClass() {
  return &cxCreateEditViewData<TcxCustomEditViewData>;
}

TcxContainerViewInfoClass TcxCustomEditProperties::GetViewInfoClass() {
  return &cxCreateContainerViewInfo<TcxCustomEditViewInfo>;
}

TcxCustomEditViewData* TcxCustomEditProperties::CreateViewData(TcxCustomEditStyle* AStyle,
                                                               bool AIsInplace, bool APreviewMode) {
  TcxCustomEditViewData* AViewData = GetViewDataClass()(this, AStyle, AIsInplace);
  AViewData->PreviewMode = APreviewMode;
  return AViewData;
}

TSize TcxCustomEditProperties::GetEditSize(TcxCanvas* ACanvas, TcxCustomEditStyle* AEditStyle,
                                           bool AIsInplace, const Variant& AEditValue,
                                           const TcxEditSizeProperties& AEditSizeProperties) {
  TOwned<TcxCustomEditViewData> AViewData(CreateViewData(AEditStyle, AIsInplace));
  TcxEditSizeProperties ASizeProperties = AEditSizeProperties;
  return AViewData->GetEditSize(ACanvas, AEditValue, ASizeProperties);
}

// ---------------------------------------------------------------------------
// The editors' container
bool TcxCustomEditContainer::IsCaptureMouse() {
  return HandleAllocated() && IsChildEx(Handle(), GetCapture());
}

bool TcxCustomEditContainer::PtInCaller(const TPoint& P) { return cxRectPtIn(BoundsRect(), P); }

void TcxCustomEditContainer::MouseEnter(TControl* AControl) {
  inherited::MouseEnter(AControl == InnerControl() ? this : AControl);
}

void TcxCustomEditContainer::MouseLeave(TControl* AControl) {
  inherited::MouseLeave(AControl == InnerControl() ? this : AControl);
}

void TcxCustomEditContainer::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  if (!IsMouseTracking()) MouseEnter(this);
  inherited::MouseMove(Shift, X, Y);
}

// ---------------------------------------------------------------------------
// The editor: construction
IMPLEMENT_MESSAGE_TABLE(TcxCustomEdit, {WM_COPY, MessageHandler<&TcxCustomEdit::WMCopy>},
                        {WM_CUT, MessageHandler<&TcxCustomEdit::WMCut>},
                        {WM_PASTE, MessageHandler<&TcxCustomEdit::WMPaste>},
                        {CM_HINTSHOW, MessageHandler<&TcxCustomEdit::CMHintShow>})

TcxCustomEdit::TcxCustomEdit(TComponent* AOwner, bool AIsInplace)
    : TcxCustomEditContainer(AOwner),
      FAnchorX(std::numeric_limits<Integer>::max()),
      FAnchorY(std::numeric_limits<Integer>::max()),
      FIsInplace(AIsInplace),
      FEditValue(Null()) {}

void TcxCustomEdit::AfterConstruction() {
  inherited::AfterConstruction();
  TControlStyle S = ControlStyle();
  S.Include(csActionClient);
  SetControlStyle(S);
  Initialize();
  if (HandleAllocated()) ShortRefreshContainer(false);
}

void TcxCustomEdit::Initialize() {
  FChangeEventsCatcher.reset(Create<TcxEditChangeEventsCatcher>(this));
  TObject* AProperties = GetPropertiesClass()->Create(this);
  FProperties.reset(dynamic_cast<TcxCustomEditProperties*>(AProperties));
  if (!FProperties) {
    if (AProperties) AProperties->Free();
    throw EcxEditError(L"The editor's properties class makes no editor properties");
  }
  InitContentParams();
  TControlStyle S = ControlStyle();
  S.Include(csCaptureMouse);
  S.Include(csSetCaption);
  SetControlStyle(S);
  SetTabStop(true);
  CreateInnerEdit();
  if (FInnerEdit) {
    SetInnerControl(FInnerEdit->GetControl());
    InitializeInnerEdit();
  }
  SetReplicatableFlag();
  FDataBinding.reset(GetDataBindingClass()(this));
  FAutoSize = !FIsInplace;
  FCaptureButtonVisibleIndex = -1;
  FEditValue = Null();
  FLockValidate = 0;
  FProperties->SetOnPropertiesChanged(MakeEvent<&TcxCustomEdit::PropertiesChanged>(this));
  if (FIsInplace) {
    TcxKeys AKeys = Keys();
    AKeys.Include(kAll);
    AKeys.Include(kArrows);
    if (!GetInnerEditClass()) AKeys.Include(kTab);
    SetKeys(AKeys);
  }
  FDblClickTimer.reset(Create<TcxTimer>(nullptr));
  FDblClickTimer->SetEnabled(false);
  FDblClickTimer->SetInterval(GetDoubleClickTime());
  FDblClickTimer->SetOnTimer(MakeEvent<&TcxCustomEdit::DblClickTimerHandler>(this));
  if (!FIsInplace)
    FProperties->SetIDefaultValuesProvider(FDataBinding->GetIDefaultValuesProvider());
  GetEditViewInfo()->SetEdit(this);
  FIsJustCreated = true;
}

void TcxCustomEdit::BeforeDestruction() {
  dxSpellCheckerNotifyFocusLost();
  if (FDblClickTimer) FDblClickTimer->SetEnabled(false);
  if (FInnerEdit) FInnerEdit->SetOnChange(TNotifyEvent());
  FInnerEdit = nullptr;
  // The item outlives no editor's registration.
  if (FRepositoryItem) FRepositoryItem->RemoveListener(&FRepositoryItemListener);
  FRepositoryItem = nullptr;
  if (FProperties) {
    FProperties->SetOnPropertiesChanged(TNotifyEvent());
    if (!FIsInplace) FProperties->SetIDefaultValuesProvider(nullptr);
  }
  inherited::BeforeDestruction();
}

TcxCustomEdit::~TcxCustomEdit() {
  FDblClickTimer.reset();
  FDataBinding.reset();
  FProperties.reset();
  FChangeEventsCatcher.reset();
}

TClass TcxCustomEdit::GetPropertiesClass() { return TcxCustomEditProperties::StaticClass(); }

TcxEditDataBindingClass TcxCustomEdit::GetDataBindingClass() {
  return [](TcxCustomEdit* AEdit) { return Create<TcxEditDataBinding>(AEdit); };
}

// The styles and the view info exist before the properties do: the editor
// class names them itself, as its properties class does.
TcxContainerStyleClass TcxCustomEdit::GetStyleClass() {
  return &cxCreateContainerStyle<TcxEditStyle>;
}

TcxContainerViewInfoClass TcxCustomEdit::GetViewInfoClass() {
  return &cxCreateContainerViewInfo<TcxCustomEditViewInfo>;
}

TcxCustomEditStyle* TcxCustomEdit::GetEditStyle() const {
  return static_cast<TcxCustomEditStyle*>(GetStyle());
}

TcxCustomEditStyle* TcxCustomEdit::GetEditActiveStyle() {
  return static_cast<TcxCustomEditStyle*>(GetActiveStyle());
}

TcxCustomEditViewInfo* TcxCustomEdit::GetEditViewInfo() const {
  return static_cast<TcxCustomEditViewInfo*>(ViewInfo());
}

void TcxCustomEdit::InitContentParams() {
  TOwned<TcxCustomEditViewData> AViewData(CreateViewData());
  AViewData->InitCacheData();
  ContentParams = AViewData->EditContentParams;
  FIsContentParamsInitialized = true;
}

void TcxCustomEdit::SetReplicatableFlag() {
  TControlStyle S = ControlStyle();
  S.Include(csReplicatable);
  SetControlStyle(S);
  if (TWinControl* AInner = InnerControl()) {
    TControlStyle SI = AInner->ControlStyle();
    SI.Include(csReplicatable);
    AInner->SetControlStyle(SI);
  }
}

void TcxCustomEdit::CreateInnerEdit() {
  TClass AClass = GetInnerEditClass();
  if (!AClass) return;
  TObject* AObject = AClass->Create(this);
  auto* AControl = dynamic_cast<TWinControl*>(AObject);
  auto* AInner = dynamic_cast<IcxCustomInnerEdit*>(AObject);
  if (!AControl || !AInner) {
    if (AObject) AObject->Free();
    throw EcxEditError(L"The editor's inner edit class makes no inner edit");
  }
  TControlStyle S = AControl->ControlStyle();
  S.Include(csReplicatable);
  AControl->SetControlStyle(S);
  FInnerEdit = AInner;
}

void TcxCustomEdit::InitializeInnerEdit() {
  TWinControl* AControl = FInnerEdit->GetControl();
  AControl->SetParent(this);
  if (GetActiveProperties()->HasDisplayValue())
    FInnerEdit->SetOnChange(MakeEvent<&TcxCustomEdit::ChangeHandler>(this));
  AControl->SetParentShowHint(false);
}

void TcxCustomEdit::SetParent(TWinControl* AParent) {
  // The first parent shows the value the properties and the binding give.
  if (AParent && !Parent() && !FIsInplaceInitializing && FProperties && !IsDestroying()) {
    FDataBinding->UpdateDisplayValue();
    PropertiesChanged(FProperties.get());
  }
  inherited::SetParent(AParent);
}

void TcxCustomEdit::GetTabOrderList(std::vector<TWinControl*>& List) {
  inherited::GetTabOrderList(List);
  // An in-place editor stands for its host, which is not tabbed to besides.
  if (FIsInplace && Visible() && Parent()) std::erase(List, Parent());
}

bool TcxCustomEdit::IsChildWindow(HWND AWnd) {
  return HandleAllocated() && (AWnd == Handle() || IsChildEx(Handle(), AWnd));
}

// ---------------------------------------------------------------------------
// View data and view info
TcxCustomEditViewData* TcxCustomEdit::CreateViewData() {
  TcxCustomEditViewData* AViewData =
      GetActiveProperties()->CreateViewData(GetEditActiveStyle(), FIsInplace, false);
  AViewData->GetScaleFactor()->Assign(ScaleFactor());
  AViewData->SetEdit(PropertiesChangeLocked() ? nullptr : this);
  if (HandleAllocated()) AViewData->WindowHandle = Handle();
  InitializeViewData(AViewData);
  return AViewData;
}

void TcxCustomEdit::InitializeViewData(TcxCustomEditViewData* AViewData) {
  AViewData->Enabled = Enabled();
  AViewData->Focused = Focused();
  AViewData->UseRightToLeftAlignment = UseRightToLeftAlignment();
  AViewData->UseRightToLeftReading = UseRightToLeftReading();
  AViewData->UseRightToLeftScrollBar = UseRightToLeftScrollBar();
  AViewData->InnerEdit = FInnerEdit;
  AViewData->IsDesigning = IsDesigning();
}

TcxCustomEditStyle* TcxCustomEdit::GetEditStyleForState(const TcxContainerState& AState) {
  if (AState.Contains(csDisabled)) return static_cast<TcxCustomEditStyle*>(StyleDisabled());
  if (AState.Contains(csActive)) return static_cast<TcxCustomEditStyle*>(StyleFocused());
  if (GetStyle()->GetHotTrack() && AState.Contains(csHotTrack))
    return static_cast<TcxCustomEditStyle*>(StyleHot());
  return GetEditStyle();
}

void TcxCustomEdit::CalculateViewInfo(TcxCustomEditViewInfo* AViewInfo, const TPoint& P,
                                      TcxMouseButton Button, TShiftState Shift,
                                      bool AIsMouseEvent) {
  TOwned<TcxCustomEditViewData> AViewData(CreateViewData());
  const TRect R = GetControlRect(this);
  TcxScreenCanvas* ACanvas = cxScreenCanvas();
  auto ADormant = Finally([ACanvas] { ACanvas->Dormant(); });
  AViewData->Calculate(ACanvas, R, P, Button, Shift, AViewInfo, AIsMouseEvent);
  if (UseRightToLeftAlignment()) AViewData->DoRightToLeftConversion(AViewInfo, R);
}

void TcxCustomEdit::CalculateViewInfo(const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                                      bool AIsMouseEvent) {
  CalculateViewInfo(GetEditViewInfo(), P, Button, Shift, AIsMouseEvent);
}

void TcxCustomEdit::CalculateViewInfo(const TPoint& P, bool) {
  CalculateViewInfo(P, cxmbNone, GetShiftState(), false);
}

bool TcxCustomEdit::DoRefreshContainer(const TPoint& P, TcxMouseButton Button, TShiftState Shift,
                                       bool AIsMouseEvent) {
  if (FCaptureButtonVisibleIndex >= 0 && !(HandleAllocated() && GetCapture() == Handle()))
    FCaptureButtonVisibleIndex = -1;
  TcxCustomEditViewInfo* AViewInfo = GetEditViewInfo();
  TOwned<TcxContainerViewInfo> ACopy;
  if (AIsMouseEvent) {
    ACopy.reset(GetActiveProperties()->GetViewInfoClass()());
    ACopy->Assign(AViewInfo);
  }
  auto* AOld = dynamic_cast<TcxCustomEditViewInfo*>(ACopy.get());
  AViewInfo->StoreLastState();
  CalculateViewInfo(P, Button, Shift, AIsMouseEvent);
  if (AIsMouseEvent) DoProcessEventsOnViewInfoChanging(AOld, P);
  TRect R = cxEmptyRect;
  if (FInnerEdit && IsEditClass()) R = FInnerEdit->GetControl()->BoundsRect();
  const bool ARepainted = AViewInfo->Repaint(this, R, AOld);
  if (ARepainted || !AIsMouseEvent) {
    SetSize();
    CalculateViewInfo(P, Button, Shift, AIsMouseEvent);
    AdjustInnerControl();
    UpdateWindowRegion();
  }
  // Mouse tracking reports when the mouse leaves the hot editor.
  if (AViewInfo->ContainerState.Contains(csHotTrack))
    BeginMouseTracking(this, GetControlRect(this), this);
  return true;
}

void TcxCustomEdit::DoProcessEventsOnViewInfoChanging(TcxCustomEditViewInfo*, const TPoint& P) {
  TcxCustomEditViewInfo* V = GetEditViewInfo();
  if (!V->GetHasButtonsStateChanges()) return;
  const Integer AWasPressed = V->LastPressedButton;
  if (AWasPressed >= 0 && V->PressedButton != AWasPressed) {
    DoButtonUp(AWasPressed);
    // A click is a release over the button that was pressed.
    if (ButtonVisibleIndexAt(P) == AWasPressed) DoButtonClick(AWasPressed);
  }
  if (V->PressedButton >= 0 && V->PressedButton != AWasPressed) DoButtonDown(V->PressedButton);
}

TRect TcxCustomEdit::GetWindowRegionAddon() { return GetEditViewInfo()->ErrorBounds(); }

Integer TcxCustomEdit::ButtonVisibleIndexAt(const TPoint& P) {
  const TcxCustomEditViewInfo* V = GetEditViewInfo();
  for (Integer I = 0; I < V->ButtonCount(); ++I)
    if (cxRectPtIn(V->ButtonsInfo[I]->Bounds, P)) return I;
  return -1;
}

Integer TcxCustomEdit::GetDefaultButtonVisibleIndex() {
  const TcxCustomEditViewInfo* V = GetEditViewInfo();
  for (Integer I = 0; I < V->ButtonCount(); ++I)
    if (V->ButtonsInfo[I]->Data.Default) return I;
  return -1;
}

void TcxCustomEdit::AdjustInnerEditPosition() {
  TWinControl* AControl = InnerControl();
  if (!AControl) return;
  // The inner edit fills the client area; editors with other layouts place
  // it themselves.
  const TRect& R = GetEditViewInfo()->ClientRect;
  if (AControl->BoundsRect() != R)
    AControl->SetBounds(R.left, R.top, R.right - R.left, R.bottom - R.top);
}

void TcxCustomEdit::TransparentChanged() {
  inherited::TransparentChanged();
  ShortRefreshContainer(false);
}

TcxEditStateColorKind TcxCustomEdit::GetEditStateColorKind() {
  if (!Enabled()) return esckDisabled;
  return RealReadOnly() ? esckReadOnly : esckNormal;
}

// ---------------------------------------------------------------------------
// Size
bool TcxCustomEdit::CanAutoWidth() {
  return GetActiveProperties()->GetButtonsViewStyle() == bvsButtonsAutoWidth;
}

bool TcxCustomEdit::IsAutoHeight() {
  const TAnchors A = Anchors();
  return CanAutoSize() && CanAutoHeight() && FAutoHeight &&
         !(A.Contains(akTop) && A.Contains(akBottom));
}

bool TcxCustomEdit::IsAutoWidth() {
  const TAnchors A = Anchors();
  return CanAutoSize() && CanAutoWidth() && FAutoWidth &&
         !(A.Contains(akLeft) && A.Contains(akRight));
}

void TcxCustomEdit::PopulateSizeProperties(TcxEditSizeProperties& AEditSizeProperties) {
  AEditSizeProperties = cxDefaultEditSizeProperties;
  AEditSizeProperties.MaxLineCount = 1;
  AEditSizeProperties.Width = IsAutoWidth() && !IsHeightDependOnWidth() ? 32000 : Width();
}

void TcxCustomEdit::InternalCanResize(Integer& ANewWidth, Integer& ANewHeight) {
  if (!CanAutoSize()) return;
  TcxEditSizeProperties ASizeProperties;
  PopulateSizeProperties(ASizeProperties);
  ASizeProperties.Height = ANewHeight;
  if (!IsAutoWidth()) ASizeProperties.Width = ANewWidth;
  TOwned<TcxCustomEditViewData> AViewData(CreateViewData());
  TcxScreenCanvas* ACanvas = cxScreenCanvas();
  const TSize ASize = AViewData->GetEditSize(ACanvas, FEditValue, ASizeProperties);
  ACanvas->Dormant();
  if (IsAutoWidth()) ANewWidth = ASize.cx;
  if (IsAutoHeight()) ANewHeight = ASize.cy;
}

void TcxCustomEdit::DoSetSize() {
  if (!HandleAllocated() || IsDestroying()) return inherited::DoSetSize();
  Integer AWidth = Width(), AHeight = Height();
  InternalCanResize(AWidth, AHeight);
  Integer ALeft = Left(), ATop = Top();
  if (!IsScaleChanging() && UseAnchors() && IsAutoWidth() && !IsHeightDependOnWidth()) {
    if (!FIsFirstSetSize) CalculateAnchors();
    constexpr Integer ANone = std::numeric_limits<Integer>::max();
    // A centred editor keeps its centre: the odd pixel goes to the left.
    auto Start = [](Integer AAnchor, Integer ASize, bool ACentred) {
      return ACentred ? AAnchor - ASize / 2 - (ASize % 2) : AAnchor - ASize;
    };
    if (UseAnchorX() && FAnchorX != ANone)
      ALeft = Start(FAnchorX, AWidth, GetActiveProperties()->GetAlignment()->GetHorz() == taCenter);
    if (UseAnchorY() && FAnchorY != ANone)
      ATop =
          Start(FAnchorY, AHeight, GetActiveProperties()->GetAlignment()->GetVert() == taVCenter);
  }
  FIsFirstSetSize = false;
  if (ALeft != Left() || ATop != Top() || AWidth != Width() || AHeight != Height())
    SetBounds(ALeft, ATop, AWidth, AHeight);
  AdjustInnerEditPosition();
}

void TcxCustomEdit::CalculateAnchors() {
  if (IsLoading() || ComponentState().Contains(csReading)) return;
  auto Anchor = [](Integer AStart, Integer ASize, bool ACentred) {
    return ACentred ? AStart + ASize / 2 + (ASize % 2) : AStart + ASize;
  };
  if (UseAnchorX())
    FAnchorX =
        Anchor(Left(), Width(), GetActiveProperties()->GetAlignment()->GetHorz() == taCenter);
  if (UseAnchorY())
    FAnchorY =
        Anchor(Top(), Height(), GetActiveProperties()->GetAlignment()->GetVert() == taVCenter);
}

void TcxCustomEdit::SetEditAutoSize(bool Value) {
  if (FIsInplace || FAutoSize == Value) return;
  FAutoSize = Value;
  DoAutoSizeChanged();
  if (Value && !IsLoading()) {
    HandleNeeded();
    BeginRefreshContainer();
    auto AEnd = Finally([this] { EndRefreshContainer(); });
    SetSize();
  }
}

void TcxCustomEdit::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineProperty(L"Height", MakeEvent<&TcxCustomEdit::ReadHeight>(this),
                        MakeEvent<&TcxCustomEdit::WriteHeight>(this), NeedStoreHeight());
  Filer->DefineProperty(L"Width", MakeEvent<&TcxCustomEdit::ReadWidth>(this),
                        MakeEvent<&TcxCustomEdit::WriteWidth>(this), NeedStoreWidth());
  if (UseAnchorX())
    Filer->DefineProperty(L"AnchorX", MakeEvent<&TcxCustomEdit::ReadAnchorX>(this),
                          MakeEvent<&TcxCustomEdit::WriteAnchorX>(this), true);
  if (UseAnchorY())
    Filer->DefineProperty(L"AnchorY", MakeEvent<&TcxCustomEdit::ReadAnchorY>(this),
                          MakeEvent<&TcxCustomEdit::WriteAnchorY>(this), true);
}

bool TcxCustomEdit::NeedStoreHeight() { return !CanAutoSize(); }

bool TcxCustomEdit::NeedStoreWidth() { return !(IsAutoWidth() && !IsHeightDependOnWidth()); }

void TcxCustomEdit::ReadHeight(TReader* Reader) { SetHeight(Reader->ReadInteger()); }

void TcxCustomEdit::ReadWidth(TReader* Reader) { SetWidth(Reader->ReadInteger()); }

void TcxCustomEdit::WriteHeight(TWriter* Writer) { Writer->WriteInteger(Height()); }

void TcxCustomEdit::WriteWidth(TWriter* Writer) { Writer->WriteInteger(Width()); }

void TcxCustomEdit::ReadAnchorX(TReader* Reader) {
  FAnchorX = Reader->ReadInteger();
  FAnchorXRead = true;
}

void TcxCustomEdit::ReadAnchorY(TReader* Reader) {
  FAnchorY = Reader->ReadInteger();
  FAnchorYRead = true;
}

void TcxCustomEdit::WriteAnchorX(TWriter* Writer) {
  CalculateAnchors();
  Writer->WriteInteger(FAnchorX);
}

void TcxCustomEdit::WriteAnchorY(TWriter* Writer) {
  CalculateAnchors();
  Writer->WriteInteger(FAnchorY);
}

void TcxCustomEdit::ChangeScaleEx(Integer M, Integer D) {
  // Anchors read from a form are in the form's resolution; later ones are
  // recalculated from the bounds.
  if (M != D && (!IsLoading() || FAnchorXRead || FAnchorYRead)) {
    constexpr Integer ANone = std::numeric_limits<Integer>::max();
    if (FAnchorXRead && FAnchorX != ANone) FAnchorX = MulDiv(FAnchorX, M, D);
    if (FAnchorYRead && FAnchorY != ANone) FAnchorY = MulDiv(FAnchorY, M, D);
  }
  FAnchorXRead = FAnchorYRead = false;
  inherited::ChangeScaleEx(M, D);
}

// ---------------------------------------------------------------------------
// Properties
bool TcxCustomEdit::PropertiesChangeLocked() {
  return IsDestroying() || (GetInnerEditClass() && !FInnerEdit);
}

bool TcxCustomEdit::RealReadOnly() {
  return GetActiveProperties()->GetReadOnly() || FDataBinding->IsInnerControlHaveToBeReadOnly();
}

void TcxCustomEdit::PropertiesChanged(TObject*) {
  FIsEditValidated = false;
  if (!PropertiesChangeLocked() && FInnerEdit) FInnerEdit->SetReadOnly(RealReadOnly());
  if (RealReadOnly()) FModifiedAfterEnter = false;
  if (GetActiveProperties()->GetTransparent()) SetTransparent(true);
  ShortRefreshContainer(false);
}

TcxCustomEditProperties* TcxCustomEdit::GetActiveProperties() {
  if (!FRepositoryItem) return FProperties.get();
  TcxCustomEditProperties* AProperties = FRepositoryItem->GetProperties();
  IcxEditDefaultValuesProvider* AProvider = FDataBinding->GetIDefaultValuesProvider();
  if (AProperties->GetIDefaultValuesProvider() != AProvider)
    AProperties->SetIDefaultValuesProvider(AProvider);
  return AProperties;
}

bool TcxCustomEdit::IsRepositoryItemAcceptable(TcxEditRepositoryItem* ARepositoryItem) {
  return !ARepositoryItem || ARepositoryItem->ArePropertiesCompatible(GetPropertiesClass());
}

void TcxCustomEdit::SetRepositoryItem(TcxEditRepositoryItem* Value) {
  if (Value == FRepositoryItem) return;
  if (!IsRepositoryItemAcceptable(Value))
    throw EcxEditError(cxGetResourceString(&cxSEditInvalidRepositoryItem));
  RepositoryItemAssigning();
  if (FRepositoryItem) FRepositoryItem->RemoveListener(&FRepositoryItemListener);
  FRepositoryItem = Value;
  if (FRepositoryItem) {
    FRepositoryItem->AddListener(&FRepositoryItemListener);
    FProperties->SetIDefaultValuesProvider(nullptr);
    RepositoryItemListenerPropertiesChanged(FRepositoryItem);
    FProperties->SetOnPropertiesChanged(TNotifyEvent());
  } else if (!IsLoading() && !IsDestroying()) {
    FProperties->SetOnPropertiesChanged(MakeEvent<&TcxCustomEdit::PropertiesChanged>(this));
    FProperties->SetIDefaultValuesProvider(FDataBinding->GetIDefaultValuesProvider());
  }
  RepositoryItemAssigned();
}

void TcxCustomEdit::RepositoryItemListenerItemRemoved(TcxEditRepositoryItem* Sender) {
  if (Sender == FRepositoryItem) SetRepositoryItem(nullptr);
}

void TcxCustomEdit::RepositoryItemListenerPropertiesChanged(TcxEditRepositoryItem* Sender) {
  if (!IsLoading() && !IsDestroying()) PropertiesChanged(Sender->GetProperties());
}

void TcxCustomEdit::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FRepositoryItem) SetRepositoryItem(nullptr);
}

void TcxCustomEdit::ReadState(TReader* Reader) {
  // Reading sets properties one by one; Loaded reports them at once.
  FProperties->SetOnPropertiesChanged(TNotifyEvent());
  inherited::ReadState(Reader);
}

void TcxCustomEdit::Loaded() {
  FIsFirstSetSize = true;
  LockClick(true);
  LockChangeEvents(true);
  auto AUnlock = Finally([this] {
    LockChangeEvents(false);
    LockClick(false);
  });
  inherited::Loaded();
  FDataBinding->UpdateDisplayValue();
  ShortRefreshContainer(false);
  if (!FRepositoryItem)
    FProperties->SetOnPropertiesChanged(MakeEvent<&TcxCustomEdit::PropertiesChanged>(this));
  PropertiesChanged(GetActiveProperties());
  ContainerStyleChanged(GetStyle());
}

// ---------------------------------------------------------------------------
// Edit data kept by in-place hosts
TcxCustomEditData::TcxCustomEditData(TcxCustomEdit* AEdit)
    : FEdit(AEdit), FFreeNotificator(MakeOwned<TcxFreeNotificator>(nullptr)) {
  FFreeNotificator->SetOnFreeNotification(MakeEvent<&TcxCustomEditData::EditFreed>(this));
  if (FEdit) FFreeNotificator->AddSender(FEdit);
  Clear();
}

TcxCustomEditData::~TcxCustomEditData() { FFreeNotificator.reset(); }

void TcxCustomEditData::EditFreed(TComponent* AComponent) {
  if (AComponent == FEdit) FEdit = nullptr;
}

void TcxCustomEditData::Clear() {
  FCleared = true;
  if (FEdit) FEdit->DoClearEditData(this);
}

// ---------------------------------------------------------------------------
// Styles: the editor they belong to
TcxCustomEdit* TcxCustomEditStyle::GetEdit() { return dynamic_cast<TcxCustomEdit*>(Owner()); }
