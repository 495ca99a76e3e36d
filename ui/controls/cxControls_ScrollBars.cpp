// The base control's scroll bars: bar data, windowed and windowless bars,
// the size grip, the router of mouse messages to windowless bars, and the
// sets of bars a control keeps.
#include <algorithm>

#include "Forms.h"
#include "WinHandles.h"
#include "cxControls.h"

namespace {

bool IsLeftButtonDown() { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

// Copies the part under AElement of the locked-state picture of AElement's
// parent; false when the parent shows no such picture.
bool PaintFromLockedStateImage(TWinControl* AElement, HDC DC) {
  auto* LockedStatePaint = dynamic_cast<IcxLockedStatePaint*>(AElement->Parent());
  if (!LockedStatePaint) return false;
  TcxBitmap* Image = LockedStatePaint->GetImage();
  if (!Image) return false;
  TcxControl* Topmost = LockedStatePaint->GetTopmostControl();
  TPoint Offset{AElement->Left(), AElement->Top()};
  if (Topmost && AElement->Parent() != Topmost)
    Offset = AElement->ClientToParent(TPoint{0, 0}, Topmost);
  cxBitBlt(DC, Image->Canvas()->Handle(), AElement->ClientRect(), Offset, SRCCOPY);
  return true;
}

bool HasLockedStateImage(TWinControl* AControl) {
  auto* LockedStatePaint = dynamic_cast<IcxLockedStatePaint*>(AControl);
  return LockedStatePaint && LockedStatePaint->GetImage();
}

void PutOnTop(TWinControl* AElement) {
  if (AElement->HandleAllocated())
    SetWindowPos(AElement->Handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_DEFERERASE);
}

}  // namespace

// ---------------------------------------------------------------------------
// Bar data
IMPLEMENT_CREATABLE_CLASS(TcxScrollBarData)

bool TcxScrollBarData::Validate() {
  // 64 bits: a range spanning the whole integer type must not overflow.
  Int64 RangeLength = static_cast<Int64>(FMax) - FMin + 1;
  FIsValid = FMax >= FMin && FPageSize < RangeLength && FPosition >= FMin;
  return FIsValid;
}

// ---------------------------------------------------------------------------
// Child components
IMPLEMENT_CREATABLE_CLASS(TcxControlChildComponent)

void TcxControlChildComponent::AfterConstruction() {
  inherited::AfterConstruction();
  FScaleFactor = Create<TdxOwnedScaleFactor>();
  FScaleFactor->ListenerAdd(MakeEvent<&TcxControlChildComponent::ScaleFactorChangeHandler>(this));
  Initialize();
}

TcxControlChildComponent::~TcxControlChildComponent() {
  if (FControl) FControl->RemoveChildComponent(this);
  if (FScaleFactor) {
    FScaleFactor->ListenerRemove(
        MakeEvent<&TcxControlChildComponent::ScaleFactorChangeHandler>(this));
    FreeAndNil(FScaleFactor);
  }
}

TcxControlChildComponent* TcxControlChildComponent::CreateEx(TClass AClass, TcxControl* AControl,
                                                             bool AAssignOwner) {
  TComponent* Owner = AAssignOwner && AControl ? AControl->Owner() : nullptr;
  auto* Result = As<TcxControlChildComponent>(AClass->Create(Owner));
  Result->SetControl(AControl);
  return Result;
}

HRESULT STDMETHODCALLTYPE TcxControlChildComponent::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxControlChildComponent::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxScaleFactor)) || IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IdxScaleFactor*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

void TcxControlChildComponent::SetControl(TcxControl* AValue) {
  FControl = AValue;
  FScaleFactor->SetOwner(AValue ? AValue->ScaleFactor() : nullptr);
  if (AValue) FScaleFactor->SetUseOwnerValue(true);
}

void TcxControlChildComponent::ScaleFactorChangeHandler(TObject*, Integer M, Integer D,
                                                        bool IsLoading) {
  if (!IsLoading) ScaleFactorChanged(M, D);
}

TComponent* TcxControlChildComponent::GetParentComponent() const { return FControl; }
bool TcxControlChildComponent::HasParent() const { return FControl != nullptr; }

void TcxControlChildComponent::SetParentComponent(TComponent* AValue) {
  if (auto* Control = AsOrNull<TcxControl>(AValue)) Control->AddChildComponent(this);
}

// ---------------------------------------------------------------------------
// Windowed bar
IMPLEMENT_CREATABLE_CLASS(TcxControlScrollBar)
IMPLEMENT_MESSAGE_TABLE(TcxControlScrollBar,
                        {CM_DESIGNHITTEST, MessageHandler<&TcxControlScrollBar::CMAnswerOne>},
                        {CM_HINTSHOW, MessageHandler<&TcxControlScrollBar::CMAnswerOne>})

TcxControlScrollBar::TcxControlScrollBar(TComponent* AOwner) : TcxScrollBar(AOwner) {}

void TcxControlScrollBar::AfterConstruction() {
  inherited::AfterConstruction();
  SetColor(clBtnFace);
  TControlStyle Style = ControlStyle();
  Style.Exclude(csFramed);
  Style.Include(csNoDesignVisible);
  SetControlStyle(Style);
  SetTabStop(false);
  TControl::SetVisible(false);
  FData = Create<TcxScrollBarData>();
  SetParentShowHint(false);
  SetShowHint(true);
}

TcxControlScrollBar::~TcxControlScrollBar() {
  if (FData) FreeAndNil(FData);
  cxClearObjectLinks(this);
}

TcxControlScrollBar* TcxControlScrollBar::CreateEx(TClass AClass, TcxControl* AControl) {
  auto* Result = As<TcxControlScrollBar>(AClass->Create(nullptr));
  Result->FOwnerControl = AControl;
  return Result;
}

void TcxControlScrollBar::ApplyData() {
  if (FData->FVisible && FData->FIsValid) {
    SetScrollParams(FData->FMin, FData->FMax, FData->FPosition, FData->FPageSize, true);
    inherited::SetSmallChange(FData->FSmallChange);
    inherited::SetLargeChange(FData->FLargeChange);
  }
  inherited::SetEnabled(FData->FEnabled);
  bool V = IsActuallyVisible();
  if (V != Visible()) {
    // The window must follow: the framework announces a change of showing
    // itself when the parent is showing; otherwise the bar announces it, so
    // that it comes once.
    bool WasShowing = Showing();
    SetVisible(V);
    if (Showing() == WasShowing) Perform(CM_SHOWINGCHANGED);
  }
}

void TcxControlScrollBar::SetVisible(bool AValue) { TControl::SetVisible(AValue); }

void TcxControlScrollBar::InitControl() { SetParent(FOwnerControl); }

bool TcxControlScrollBar::IsActuallyVisible() { return FData->FVisible; }

void TcxControlScrollBar::SetOwnerControlRelativeBounds(const TRect& R) {
  TControl::SetBoundsRect(R);
}

void TcxControlScrollBar::SetZOrder(bool) { PutOnTop(this); }

void TcxControlScrollBar::WndProc(TMessage& Message) {
  TcxObjectLinkGuard Link(this);
  DoWndProc(Message);
  if (Link.Alive()) inherited::WndProc(Message);
}

void TcxControlScrollBar::DoWndProc(TMessage& Message) {
  if (Message.Msg == WM_LBUTTONDOWN) FocusParent();
}

void TcxControlScrollBar::FocusParent() {
  if (FOwnerControl) {
    if (FOwnerControl->FocusWhenChildIsClicked(this)) FOwnerControl->SetFocus();
    return;
  }
  if (auto* Control = AsOrNull<TcxControl>(Parent())) {
    if (Control->FocusWhenChildIsClicked(this)) Control->SetFocus();
  } else if (Parent() && Parent()->CanFocus()) {
    Parent()->SetFocus();
  }
}

void TcxControlScrollBar::CMAnswerOne(TMessage& Message) { Message.Result = 1; }

void TcxControlScrollBar::DoPaint(TcxCanvas* ACanvas) {
  if (!PaintFromLockedStateImage(this, ACanvas->Handle())) inherited::DoPaint(ACanvas);
}

// ---------------------------------------------------------------------------
// Windowless bar
IMPLEMENT_CLASS_IMPL(TcxControlScrollBarHelper, &cxCreateScrollBarHelper<TcxControlScrollBarHelper>)

TcxControlScrollBarHelper::TcxControlScrollBarHelper(IcxScrollBarOwner* AOwner)
    : TcxScrollBarHelper(AOwner), FData(Create<TcxScrollBarData>()) {}

TcxControlScrollBarHelper::~TcxControlScrollBarHelper() {
  if (FData) FreeAndNil(FData);
}

void TcxControlScrollBarHelper::ApplyData() {
  if (FData->FVisible && FData->FIsValid) {
    SetScrollParams(FData->FMin, FData->FMax, FData->FPosition, FData->FPageSize, Visible());
    inherited::SetSmallChange(FData->FSmallChange);
    inherited::SetLargeChange(FData->FLargeChange);
  }
  inherited::SetEnabled(FData->FEnabled);
  if (Visible() != FData->FVisible) inherited::SetVisible(FData->FVisible);
}

void TcxControlScrollBarHelper::SetLeft(Integer AValue) {
  TRect R = BoundsRect();
  inherited::SetBoundsRect(TRect{AValue, R.top, AValue + cxRectWidth(R), R.bottom});
}

void TcxControlScrollBarHelper::SetTop(Integer AValue) {
  TRect R = BoundsRect();
  inherited::SetBoundsRect(TRect{R.left, AValue, R.right, AValue + cxRectHeight(R)});
}

void TcxControlScrollBarHelper::SetWidth(Integer AValue) {
  TRect R = BoundsRect();
  inherited::SetBoundsRect(TRect{R.left, R.top, R.left + AValue, R.bottom});
}

void TcxControlScrollBarHelper::SetHeight(Integer AValue) {
  TRect R = BoundsRect();
  inherited::SetBoundsRect(TRect{R.left, R.top, R.right, R.top + AValue});
}

void TcxControlScrollBarHelper::Repaint() {
  TWinControl* Control = Owner()->GetControl();
  if (!Control->HandleAllocated() || HasLockedStateImage(Control)) return;
  if (IsNonClient()) {
    RefreshNCPart(BoundsRect());
    return;
  }
  TWindowDC DC(Control->Handle());
  Paint(DC.Get());
}

// ---------------------------------------------------------------------------
// Size grip
IMPLEMENT_CREATABLE_CLASS(TcxSizeGrip)

TcxSizeGrip::TcxSizeGrip(TComponent* AOwner) : TCustomControl(AOwner) {}

void TcxSizeGrip::AfterConstruction() {
  inherited::AfterConstruction();
  SetColor(clBtnFace);
  TControlStyle Style = ControlStyle();
  Style.Include(csNoDesignVisible);
  SetControlStyle(Style);
  SetTabStop(false);
  SetVisible(false);
  FLookAndFeel = Create<TcxLookAndFeel>(this);
  FLookAndFeel->SetOnChanged(MakeEvent<&TcxSizeGrip::LookAndFeelChanged>(this));
}

TcxSizeGrip::~TcxSizeGrip() {
  if (FLookAndFeel) FreeAndNil(FLookAndFeel);
}

TcxSizeGrip* TcxSizeGrip::CreateEx(TClass AClass, TcxControl* AControl) {
  auto* Result = As<TcxSizeGrip>(AClass->Create(nullptr));
  Result->FOwnerControl = AControl;
  return Result;
}

bool TcxSizeGrip::IsAvailable(TWinControl* AControl) {
  if (!AControl) return false;
  TCustomForm* Form = ::GetParentForm(AControl);
  if (!Form || !Form->HandleAllocated()) return false;
  HWND FormWnd = Form->Handle();
  if ((GetWindowLongW(FormWnd, GWL_STYLE) & WS_THICKFRAME) == 0) return false;
  if (IsZoomed(FormWnd) || IsIconic(FormWnd)) return false;
  TPoint Corner = AControl->ClientToParent(TPoint{AControl->Width(), AControl->Height()}, Form);
  return Corner.x == Form->ClientWidth() && Corner.y >= Form->ClientHeight();
}

void TcxSizeGrip::InitControl() { SetParent(FOwnerControl); }

void TcxSizeGrip::SetOwnerControlRelativeBounds(const TRect& R) { SetBoundsRect(R); }

void TcxSizeGrip::SetZOrder(bool) { PutOnTop(this); }

void TcxSizeGrip::Draw(TcxCanvas* ACanvas) {
  ACanvas->FillRect(ClientRect(), FLookAndFeel->Painter()->DefaultSizeGripAreaColor());
}

void TcxSizeGrip::Paint() {
  if (PaintFromLockedStateImage(this, Canvas()->Handle())) return;
  TOwned<TcxCanvas> GripCanvas(Create<TcxCanvas>(Canvas()));
  Draw(GripCanvas.get());
}

void TcxSizeGrip::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TcxSizeGrip::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { Invalidate(); }

bool cxControlAllowsScrollContentOnDrag(TWinControl* AOwner) {
  auto* Control = AsOrNull<TcxControl>(AOwner);
  return Control && Control->FAllowScrollContentOnDrag;
}

// ---------------------------------------------------------------------------
// Router of the control's mouse messages to its windowless bars
IMPLEMENT_CLASS(TcxControlScrollBarsManager)

TcxControlScrollBarsManager::~TcxControlScrollBarsManager() {
  EndMouseTracking(this);
  if (FCheckCaptureTimer) FreeAndNil(FCheckCaptureTimer);
}

void TcxControlScrollBarsManager::RegisterScrollBar(TcxControlScrollBarHelper* AScrollBar) {
  if (std::find(FScrollBars.begin(), FScrollBars.end(), AScrollBar) == FScrollBars.end())
    FScrollBars.push_back(AScrollBar);
}

void TcxControlScrollBarsManager::UnRegisterScrollBar(TcxControlScrollBarHelper* AScrollBar) {
  if (AScrollBar == FHotScrollBar) {
    FHotScrollBar = nullptr;
    EndMouseTracking(this);
  }
  std::erase(FScrollBars, AScrollBar);
}

TPoint TcxControlScrollBarsManager::MessagePoint(const TMessage& Message) const {
  // Beyond 32768 pixels the message's 16-bit coordinates wrap: the cursor
  // tells the truth.
  if (FOwner->Width() > 32768 || FOwner->Height() > 32768)
    return FOwner->TControl::ScreenToClient(GetMouseCursorPos());
  return SmallPointToPoint(Message.LParam);
}

bool TcxControlScrollBarsManager::HandleMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CREATE:
      if (FIsCapture) {
        FIsCapture = false;
        if (!GetCapture() && IsLeftButtonDown()) SetIsCapture(true);
      }
      return false;
    case WM_DESTROY:
      if (FIsCapture) {
        if (FCheckCaptureTimer) FreeAndNil(FCheckCaptureTimer);
        FCheckCaptureTimer = Create<TcxTimer>(nullptr);
        FCheckCaptureTimer->SetInterval(100);
        FCheckCaptureTimer->SetOnTimer(
            MakeEvent<&TcxControlScrollBarsManager::CheckCaptureTimerHandler>(this));
      }
      return false;
    case WM_MOUSEMOVE: {
      bool Result = ProcessMouseMove(KeysToShiftState(Message.WParam), MessagePoint(Message));
      if (Result && Application()) Application()->CancelHint();
      return Result;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      return ProcessMouseDown(mbLeft, KeysToShiftState(Message.WParam), MessagePoint(Message));
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      return ProcessMouseDown(mbRight, KeysToShiftState(Message.WParam), MessagePoint(Message));
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return ProcessMouseDown(mbMiddle, KeysToShiftState(Message.WParam), MessagePoint(Message));
    case WM_LBUTTONUP:
      return ProcessMouseUp(mbLeft, KeysToShiftState(Message.WParam), MessagePoint(Message));
    case WM_RBUTTONUP:
      return ProcessMouseUp(mbRight, KeysToShiftState(Message.WParam), MessagePoint(Message));
    case WM_MBUTTONUP:
      return ProcessMouseUp(mbMiddle, KeysToShiftState(Message.WParam), MessagePoint(Message));
    case WM_CAPTURECHANGED:
      // A window that goes loses the capture (before or after its
      // WM_DESTROY, as the platform likes): the drag goes on in the next
      // window.
      if (FOwner->ControlState().Contains(csDestroyingHandle)) return false;
      FIsCapture = false;
      if (FHotScrollBar) FHotScrollBar->CancelMode();
      return false;
    default:
      return false;
  }
}

void TcxControlScrollBarsManager::CheckCaptureTimerHandler(TObject*) {
  if (IsLeftButtonDown()) return;
  // The timer is freed later (with the next capture change or the manager):
  // not inside its own tick.
  if (FCheckCaptureTimer) FCheckCaptureTimer->SetEnabled(false);
  CancelHotScrollBar();
  FIsCapture = false;
  if (FOwner->HandleAllocated() && GetCapture() == FOwner->Handle()) ReleaseCapture();
}

bool TcxControlScrollBarsManager::ProcessMouseDown(TMouseButton AButton, TShiftState AShift,
                                                   const TPoint& P) {
  if (FOwner->IsSizeGripArea(P)) return true;
  if (!FHotScrollBar) return false;
  if (AButton != mbLeft || !FHotScrollBar->Enabled()) return true;
  TcxObjectLinkGuard OwnerLink(FOwner);
  SetIsCapture(true);
  if (FOwner->CanFocusOnClick(P.x, P.y)) {
    FOwner->FActivateType = atByMouseNonClientArea;
    FOwner->SetFocus();
    if (!OwnerLink.Alive()) return true;
  }
  if (FHotScrollBar) {
    TcxObjectLinkGuard BarLink(FHotScrollBar);
    FHotScrollBar->MouseDown(mbLeft, AShift, P.x, P.y);
    if (!OwnerLink.Alive()) return true;
    if (!BarLink.Alive()) FHotScrollBar = nullptr;
  }
  if (!FHotScrollBar) SetIsCapture(false);
  return true;
}

bool TcxControlScrollBarsManager::ProcessMouseMove(TShiftState AShift, const TPoint& P) {
  if (FOwner->HandleAllocated() && GetCapture() == FOwner->Handle() && !FIsCapture &&
      !FOwner->FAllowScrollContentOnDrag)
    return false;
  if (!FIsCapture) SetHotScrollBar(FindScrollBar(P));
  if (FHotScrollBar) {
    FHotScrollBar->MouseMove(AShift, P.x, P.y);
    return true;
  }
  return FOwner->IsSizeGripArea(P);
}

bool TcxControlScrollBarsManager::ProcessMouseUp(TMouseButton AButton, TShiftState AShift,
                                                 const TPoint& P) {
  if (!FIsCapture) return false;
  TcxObjectLinkGuard Link(this);
  auto Release = Finally([&] {
    if (Link.Alive()) SetIsCapture(false);
  });
  if (FHotScrollBar) FHotScrollBar->MouseUp(AButton, AShift, P.x, P.y);
  return true;
}

TcxControlScrollBarHelper* TcxControlScrollBarsManager::FindScrollBar(const TPoint& P) const {
  for (auto It = FScrollBars.rbegin(); It != FScrollBars.rend(); ++It)
    if ((*It)->Visible() && (*It)->Enabled() && (*It)->PtInVisibleRgn(P)) return *It;
  return nullptr;
}

void TcxControlScrollBarsManager::SetHotScrollBar(TcxControlScrollBarHelper* AValue) {
  if (AValue == FHotScrollBar) return;
  if (FHotScrollBar) {
    FHotScrollBar->MouseLeave(FOwner);
    EndMouseTracking(this);
  }
  FHotScrollBar = AValue;
  if (FHotScrollBar) {
    FHotScrollBar->MouseEnter(FOwner);
    BeginMouseTracking(FOwner, FHotScrollBar->BoundsRect(), this);
  }
}

void TcxControlScrollBarsManager::CancelHotScrollBar() {
  if (FHotScrollBar) FHotScrollBar->CancelMode();
}

void TcxControlScrollBarsManager::MouseLeave() {
  if (!FHotScrollBar) return;
  TcxControlScrollBarHelper* Bar = FHotScrollBar;
  FHotScrollBar = nullptr;
  Bar->CancelMode();
  Bar->MouseLeave(FOwner);
}

bool TcxControlScrollBarsManager::PtInCaller(const TPoint& P) {
  return FHotScrollBar && FHotScrollBar->PtInVisibleRgn(P);
}

bool TcxControlScrollBarsManager::IsScrollBarsArea(const TPoint& P) {
  return std::any_of(FScrollBars.begin(), FScrollBars.end(), [&](TcxControlScrollBarHelper* Bar) {
    return Bar->Visible() && cxRectPtIn(Bar->BoundsRect(), P);
  });
}

void TcxControlScrollBarsManager::Paint(TcxCanvas* ACanvas) {
  for (TcxControlScrollBarHelper* Bar : FScrollBars)
    if (Bar->Visible() && ACanvas->RectVisible(Bar->BoundsRect())) Bar->Paint(ACanvas);
}

void TcxControlScrollBarsManager::SetIsCapture(bool AValue) {
  FIsCapture = AValue;
  if (AValue) {
    cxSetCapture(FOwner->Handle());
    return;
  }
  if (FCheckCaptureTimer) FreeAndNil(FCheckCaptureTimer);
  if (FOwner->HandleAllocated() && GetCapture() == FOwner->Handle()) ReleaseCapture();
}

// ---------------------------------------------------------------------------
// Sets of bars
IMPLEMENT_CLASS(TcxControlCustomScrollBars)

void TcxControlCustomScrollBars::AfterConstruction() {
  inherited::AfterConstruction();
  CreateScrollBars();
}

void TcxControlCustomScrollBars::BeforeDestruction() {
  DestroyScrollBars();
  inherited::BeforeDestruction();
}

void TcxControlCustomScrollBars::CreateScrollBars() {
  FHScrollBar = CreateScrollBar(sbHorizontal);
  FVScrollBar = CreateScrollBar(sbVertical);
  FSizeGrip = CreateSizeGrip();
}

// Also while the control is being destroyed: the child list of a window only
// unlinks its children here, and the elements have no component owner. Each
// element unlinks itself from the control when freed, so it goes exactly once.
void TcxControlCustomScrollBars::DestroyScrollBars() {
  DestroySizeGrip();
  DestroyVScrollBar();
  DestroyHScrollBar();
}

void TcxControlCustomScrollBars::DestroyHScrollBar() { FreeAndNil(FHScrollBar); }
void TcxControlCustomScrollBars::DestroyVScrollBar() { FreeAndNil(FVScrollBar); }
void TcxControlCustomScrollBars::DestroySizeGrip() { FreeAndNil(FSizeGrip); }

void TcxControlCustomScrollBars::ApplyData() {
  if (IcxControlScrollBar* Bar = GetScrollBar(sbHorizontal)) Bar->ApplyData();
  if (IcxControlScrollBar* Bar = GetScrollBar(sbVertical)) Bar->ApplyData();
}

IcxControlScrollBar* TcxControlCustomScrollBars::GetScrollBar(TScrollBarKind AKind) {
  return dynamic_cast<IcxControlScrollBar*>(AKind == sbHorizontal ? FHScrollBar : FVScrollBar);
}

void TcxControlCustomScrollBars::DoScroll(TObject* Sender, TScrollCode AScrollCode,
                                          Integer& AScrollPos) {
  if (auto* Bar = dynamic_cast<IcxControlScrollBar*>(Sender))
    FOwner->Scroll(Bar->GetKind(), AScrollCode, AScrollPos);
}

bool TcxControlCustomScrollBars::IsScrollBarActive(TScrollBarKind AKind) {
  return IsScrollBarVisible(AKind);
}

bool TcxControlCustomScrollBars::IsScrollBarVisible(TScrollBarKind AKind) {
  IcxControlScrollBar* Bar = GetScrollBar(AKind);
  if (!Bar) return false;
  return FCalculating ? Bar->GetData()->FVisible : Bar->GetVisible();
}

// ---------------------------------------------------------------------------
// The windowed set
IMPLEMENT_CREATABLE_CLASS(TcxControlWindowedScrollBars)

TcxControlScrollBar* TcxControlWindowedScrollBars::HScrollBarControl() const {
  return AsOrNull<TcxControlScrollBar>(FHScrollBar);
}
TcxControlScrollBar* TcxControlWindowedScrollBars::VScrollBarControl() const {
  return AsOrNull<TcxControlScrollBar>(FVScrollBar);
}
TcxSizeGrip* TcxControlWindowedScrollBars::SizeGripControl() const {
  return AsOrNull<TcxSizeGrip>(FSizeGrip);
}

template <class F>
void TcxControlWindowedScrollBars::ForEachElement(F AProc, bool AOnlyVisible) const {
  auto Call = [&](auto* AElement) {
    if (AElement && (!AOnlyVisible || AElement->Visible())) AProc(AElement);
  };
  Call(SizeGripControl());
  Call(VScrollBarControl());
  Call(HScrollBarControl());
}

TObject* TcxControlWindowedScrollBars::CreateScrollBar(TScrollBarKind AKind) {
  TcxControlScrollBar* Bar =
      TcxControlScrollBar::CreateEx(Owner()->GetScrollBarClass(AKind), Owner());
  Bar->TcxScrollBar::SetKind(AKind);
  // The bar keeps its size when its kind changes: a vertical bar gets the
  // thickness a horizontal one was made with, which the control reads
  // before it first places the bar.
  if (AKind == sbVertical) Bar->SetBounds(0, 0, Bar->Height(), Bar->Width());
  Bar->OnScroll = MakeEvent<&TcxControlWindowedScrollBars::DoScroll>(this);
  Bar->LookAndFeel()->SetMasterLookAndFeel(Owner()->LookAndFeel());
  TControlStyle Style = Bar->ControlStyle();
  Style.Include(csReplicatable);
  Bar->SetControlStyle(Style);
  Bar->OnMouseEnter = MakeEvent<&TcxControlWindowedScrollBars::ScrollBarMouseEnter>(this);
  Bar->OnMouseLeave = MakeEvent<&TcxControlWindowedScrollBars::ScrollBarMouseLeave>(this);
  return Bar;
}

TObject* TcxControlWindowedScrollBars::CreateSizeGrip() {
  TcxSizeGrip* Grip = TcxSizeGrip::CreateEx(Owner()->GetSizeGripClass(), Owner());
  Grip->LookAndFeel()->SetMasterLookAndFeel(Owner()->LookAndFeel());
  TControlStyle Style = Grip->ControlStyle();
  Style.Include(csReplicatable);
  Grip->SetControlStyle(Style);
  return Grip;
}

void TcxControlWindowedScrollBars::InitScrollBars() {
  TcxControlScrollBar* Bars[] = {HScrollBarControl(), VScrollBarControl()};
  for (TcxControlScrollBar* Bar : Bars)
    if (Bar) Bar->InitControl();
  if (TcxSizeGrip* Grip = SizeGripControl()) Grip->InitControl();
  for (TcxControlScrollBar* Bar : Bars)
    if (Bar) Bar->HandleNeeded();
  if (TcxSizeGrip* Grip = SizeGripControl()) Grip->HandleNeeded();
}

void TcxControlWindowedScrollBars::UnInitScrollBars() {
  if (!Owner()->IsPopupScrollBars()) return;
  ForEachElement(
      [](auto* AElement) {
        if (!AElement->Parent() && AElement->HandleAllocated()) AElement->DestroyHandle();
      },
      false);
}

void TcxControlWindowedScrollBars::Hide() {
  if (TcxControlScrollBar* Bar = VScrollBarControl()) Bar->SetVisible(false);
  if (TcxControlScrollBar* Bar = HScrollBarControl()) Bar->SetVisible(false);
  if (TcxSizeGrip* Grip = SizeGripControl()) Grip->SetVisible(false);
}

void TcxControlWindowedScrollBars::SetInternalControlsBounds() {
  TcxControlScrollBar* HBar = HScrollBarControl();
  if (HBar && HBar->Visible()) HBar->SetOwnerControlRelativeBounds(Owner()->GetHScrollBarBounds());
  TcxControlScrollBar* VBar = VScrollBarControl();
  if (VBar && VBar->Visible()) VBar->SetOwnerControlRelativeBounds(Owner()->GetVScrollBarBounds());
  TcxSizeGrip* Grip = SizeGripControl();
  if (Grip && Grip->Visible()) Grip->SetOwnerControlRelativeBounds(Owner()->GetSizeGripBounds());
}

void TcxControlWindowedScrollBars::UpdateInternalControlsState() {
  ForEachElement([](auto* AElement) { AElement->UpdateControlState(); }, true);
}

void TcxControlWindowedScrollBars::Invalidate() {
  ForEachElement([](auto* AElement) { AElement->Invalidate(); }, true);
}

void TcxControlWindowedScrollBars::BringInternalControlsToFront() {
  if (Owner()->GetScrollbarMode() != sbmClassic) return;
  ForEachElement([](auto* AElement) { AElement->BringToFront(); }, true);
}

bool TcxControlWindowedScrollBars::CheckSize(TScrollBarKind AKind) {
  TSize Size = Owner()->GetScrollBarSize();
  if (AKind == sbVertical) {
    TcxControlScrollBar* Bar = VScrollBarControl();
    if (!Bar || Bar->Width() == Size.cx) return false;
    Bar->TControl::SetWidth(Size.cx);
    return true;
  }
  TcxControlScrollBar* Bar = HScrollBarControl();
  if (!Bar || Bar->Height() == Size.cy) return false;
  Bar->TControl::SetHeight(Size.cy);
  return true;
}

void TcxControlWindowedScrollBars::CheckSizeGripVisible(bool AValue) {
  TcxSizeGrip* Grip = SizeGripControl();
  if (!Grip) return;
  Grip->SetVisible(AValue);
  if (AValue && !Grip->Parent() && Grip->HandleAllocated())
    UpdatePopupScrollElementZOrder(Grip->Handle(), Owner());
}

bool TcxControlWindowedScrollBars::IsInternalControl(TControl* AControl) {
  return AControl && (AControl == FHScrollBar || AControl == FVScrollBar || AControl == FSizeGrip);
}

bool TcxControlWindowedScrollBars::IsScrollBarActive(TScrollBarKind AKind) {
  if (Owner()->IsTouchScrollUIMode() || (!Calculating() && Owner()->IsPopupScrollBars())) {
    if (auto* Bar =
            AsOrNull<TcxControlPopupScrollBar>(AKind == sbHorizontal ? FHScrollBar : FVScrollBar))
      return Bar->AllowVisible();
  }
  return inherited::IsScrollBarActive(AKind);
}

void TcxControlWindowedScrollBars::ScrollBarMouseEnter(TObject*) {
  if (Owner()->IsTouchScrollUIMode()) Owner()->HideTouchScrollUI(Owner(), false);
}

// ---------------------------------------------------------------------------
// Touch and hybrid stand-ins
IMPLEMENT_CLASS(TdxHybridScrollbarsManager)
IMPLEMENT_CREATABLE_CLASS(TdxTouchScrollUIActivityHelper)
IMPLEMENT_CREATABLE_CLASS(TcxControlPopupScrollBar)
IMPLEMENT_CREATABLE_CLASS(TcxPopupSizeGrip)

bool TdxTouchScrollUIActivityHelper::CheckScrollActivity(TWinControl*, const TMessage& Message) {
  if (Message.Msg == CM_MOUSELEAVE) {
    FMouseEnter = false;
    return false;
  }
  if (Message.Msg != WM_MOUSEMOVE) return false;
  TPoint P = SmallPointToPoint(Message.LParam);
  if (!FMouseEnter) {
    FMouseEnter = true;
    FLastMousePos = P;
    return false;
  }
  if (std::abs(P.x - FLastMousePos.x) < 10 && std::abs(P.y - FLastMousePos.y) < 10) return false;
  FLastMousePos = P;
  return true;
}

void TcxControlPopupScrollBar::ApplyData() {
  FAllowVisible = GetData()->FVisible;
  inherited::ApplyData();
}

TClass dxTouchScrollBarClass() { return TcxControlPopupScrollBar::StaticClass(); }

void UpdatePopupScrollElementZOrder(HWND AWnd, TWinControl* AControl) {
  TCustomForm* Form = ::GetParentForm(AControl);
  const UINT Flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  if (!Form || !Form->HandleAllocated() ||
      (GetWindowLongW(Form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) {
    dxSetZOrder(AWnd, HWND_TOPMOST, false, Flags);
    return;
  }
  HWND Previous = GetWindow(GetParent(AWnd), GW_HWNDPREV);
  if (Previous) dxSetZOrder(AWnd, Previous, false, Flags);
}
