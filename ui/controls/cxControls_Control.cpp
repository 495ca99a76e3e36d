// The base control: construction, scaling, look and feel, canvases, the
// painting road, keyboard and focus, hints, popup menu, font listeners and
// invalidation. Mouse input is in cxControls_Mouse.cpp.
#include <algorithm>

#include "ActnList.h"
#include "Menus.h"
#include "Themes.h"
#include "WinHandles.h"
#include "cxControls.h"
#include "cxDWMApi.h"
#include "dxDPIAwareUtils.h"

namespace {

TcxContextPopupHookFunc ContextPopupHookFunc = nullptr;

bool IsApplicationDestroying() {
  return Application() && Application()->ComponentState().Contains(csDestroying);
}

}  // namespace

TcxContextPopupHookFunc& cxContextPopupHookFunc() { return ContextPopupHookFunc; }

TcxGetParentWndForDocking& cxGetParentWndForDocking() {
  static TcxGetParentWndForDocking AFunc = nullptr;
  return AFunc;
}

// ---------------------------------------------------------------------------
bool TcxControlHelper::CanSetParent(TControl* AControl, TWinControl* ANewParent) {
  return ANewParent != AControl->Parent() || AControl->ComponentState().Contains(csReading);
}

namespace {
// Only a control with a factor of its own has one to move.
TdxScaleFactor* OwnScaleFactorOf(TObject* AObject) {
  IdxScaleFactor* AIntf = nullptr;
  if (!Supports(AObject, __uuidof(IdxScaleFactor), reinterpret_cast<void**>(&AIntf)) || !AIntf)
    return nullptr;
  return AIntf->GetScaleFactor();
}
}  // namespace

void TcxControlHelper::UpdateScaleFactorOnParentChange(TWinControl* AControl) {
  if (TdxScaleFactor* AScaleFactor = OwnScaleFactorOf(AControl))
    cxUpdateScaleFactorOnParentChange(AControl, AScaleFactor);
}

void TcxControlHelper::ChangeScaleFactor(TControl* AControl, Integer ATargetNumerator,
                                         Integer ATargetDenominator) {
  if (TdxScaleFactor* AScaleFactor = AControl ? OwnScaleFactorOf(AControl) : nullptr)
    cxChangeScaleFactor(AControl, AScaleFactor, ATargetNumerator, ATargetDenominator);
}

void TcxControlHelper::ChangeScaleFactor(TControl* AControl, const TdxScaleFactor* ATarget) {
  ChangeScaleFactor(AControl, ATarget->Numerator(), ATarget->Denominator());
}

TControl* TcxControlHelper::GetControlByObject(TObject* AObject) {
  if (auto* AControl = AsOrNull<TControl>(AObject)) return AControl;
  if (auto* AChild = AsOrNull<TcxControlChildComponent>(AObject)) return AChild->Control();
  return nullptr;
}

Integer TcxControlHelper::GetCurrentDPIFromControl(TObject* AObject) {
  TControl* AControl = GetControlByObject(AObject);
  return AControl ? AControl->CurrentPPI() : cxGetCurrentDPI();
}

void TcxControlHelper::ScaleForPPI(TObject* AObject, Integer ATargetPPI) {
  IcxScalableComponent* AScalable = nullptr;
  if (Supports(AObject, __uuidof(IcxScalableComponent), reinterpret_cast<void**>(&AScalable)) &&
      AScalable) {
    AScalable->ScaleForPPI(ATargetPPI);
  } else if (auto* AControl = AsOrNull<TControl>(AObject)) {
    AControl->ScaleForPPI(ATargetPPI);
  } else if (auto* AChild = AsOrNull<TcxControlChildComponent>(AObject)) {
    if (AChild->Control())
      ScaleForPPI(AChild->Control(), ATargetPPI);
    else
      AChild->ScaleFactor()->Change(ATargetPPI, AChild->ScaleFactor()->TargetDPI());
  }
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TcxCustomControl)
IMPLEMENT_MESSAGE_TABLE(TcxCustomControl,
                        {DXM_SCALECHANGING, MessageHandler<&TcxCustomControl::DXMScaleChanging>},
                        {DXM_SCALECHANGED, MessageHandler<&TcxCustomControl::DXMScaleChanged>})

TcxCustomControl::TcxCustomControl(TComponent* AOwner)
    : TCustomControl(AOwner), FScaleFactor(Create<TdxScaleFactor>()) {}

TcxCustomControl::~TcxCustomControl() {
  cxClearObjectLinks(this);
  FreeAndNil(FScaleFactor);
}

HRESULT STDMETHODCALLTYPE TcxCustomControl::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxCustomControl::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxScaleFactor)) || IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IdxScaleFactor*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

void TcxCustomControl::ChangeScale(Integer M, Integer D) {
  BeginScaleChange();
  auto End = Finally([&] { EndScaleChange(); });
  ChangeScaleEx(M, D);
}

void TcxCustomControl::ChangeScaleEx(Integer M, Integer D) {
  FScaleFactor->Change(M, D);
  inherited::ChangeScale(M, D);
}

void TcxCustomControl::ScaleForPPI(Integer NewPPI) {
  DisableAlign();
  auto Align = Finally([&] { EnableAlign(); });
  BeginScaleChange();
  auto End = Finally([&] { EndScaleChange(); });
  inherited::ScaleForPPI(NewPPI);
}

void TcxCustomControl::BeginScaleChange() {
  if (FScaleChangeCounter++ == 0) ScaleFactorChanging();
}

void TcxCustomControl::EndScaleChange() {
  // An unmatched end (a stray DXM_SCALECHANGED) leaves the count at zero
  // instead of wrapping it round.
  if (FScaleChangeCounter == 0) return;
  if (--FScaleChangeCounter == 0) ScaleFactorChanged();
}

void TcxCustomControl::ScaleFactorChanging() {}
void TcxCustomControl::ScaleFactorChanged() {}

void TcxCustomControl::DXMScaleChanging(TMessage&) { BeginScaleChange(); }
void TcxCustomControl::DXMScaleChanged(TMessage&) { EndScaleChange(); }

TWinControl* TcxCustomControl::GetAdornerTargetElementControl() { return this; }
TRect TcxCustomControl::GetAdornerTargetElementBounds() { return ClientRect(); }
bool TcxCustomControl::GetAdornerTargetElementVisible() { return Visible(); }
void TcxCustomControl::GetAdornerTargetElements(TStrings*) {}

// ---------------------------------------------------------------------------
// The hint as assigned is what a form keeps: the framework's own hint follows
// the mouse (the status hint) and must neither be written nor be the only one
// read.
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxControl) {
  P.Property<&TcxControl::GetHint, &TcxControl::SetHint>(L"Hint")
      .Stored<&TcxControl::IsHintStored>();
}
IMPLEMENT_MESSAGE_TABLE(TcxControl,
                        {CM_CURSORCHANGED, MessageHandler<&TcxControl::CMCursorChanged>},
                        {CM_DESIGNHITTEST, MessageHandler<&TcxControl::CMDesignHitTest>},
                        {CN_KEYUP, MessageHandler<&TcxControl::CNKeyUp>},
                        {DXM_NCSIZECHANGED, MessageHandler<&TcxControl::DXMNCSizeChanged>})

TcxControl::TcxControl(TComponent* AOwner) : TcxCustomControl(AOwner) {
  FScrollBarOwner.Control = this;
}

void TcxControl::AfterConstruction() {
  inherited::AfterConstruction();
  if (HasDragImages()) FControlStyle.Include(csDisplayDragImage);
  FCanvas = Create<TcxControlCanvas>(TCustomControl::Canvas());
  FFocusOnClick = true;
  FLookAndFeel = Create<TcxLookAndFeel>(this);
  FLookAndFeel->SetOnChanged(MakeEvent<&TcxControl::LookAndFeelChangeHandler>(this));
  FScrollbarMode = AllowTouchScrollUIMode() ? GetLookAndFeelScrollbarMode() : sbmClassic;
  FScrollBars = ssBoth;
  CreateScrollingObjects();
  FHybridScrollbarBaseColor = clDefault;
  CreateScrollBars();
  SetTabStop(MayFocus());
  FGestureHelper = Create<TdxGestureHelper>(static_cast<IdxGestureOwner*>(this));
  TInteractiveGestures Gestures = GetDefaultInteractiveGestures();
  Touch()->SetDefaults(Gestures, GetDefaultInteractiveGestureOptions());
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->AddListener(static_cast<IdxLocalizerListener*>(this));
}

void TcxControl::BeforeDestruction() {
  // What follows runs as destruction: handlers that check for it keep out.
  Destroying();
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->RemoveListener(static_cast<IdxLocalizerListener*>(this));
  Deactivate(this);
  FreeAndNil(FGestureHelper);
  DestroyDragAndDrop();
  DestroyScrollBars();
  DestroyScrollingObjects();
  dxRemoveSystemInfoListener(this);
  inherited::BeforeDestruction();
}

TcxControl::~TcxControl() {
  // A construction that failed half-way comes here without
  // BeforeDestruction: what it made goes all the same.
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->RemoveListener(static_cast<IdxLocalizerListener*>(this));
  FreeAndNil(FGestureHelper);
  if (FMainScrollBars) DestroyScrollBars();
  DestroyScrollingObjects();
  dxRemoveSystemInfoListener(this);
  FFontListenerList.Clear();
  FreeAndNil(FActiveCanvas);
  FreeAndNil(FCanvas);
  FreeAndNil(FLookAndFeel);
}

HRESULT STDMETHODCALLTYPE TcxControl::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxControl::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IcxLookAndFeelContainer))) {
    *AObj = static_cast<IcxLookAndFeelContainer*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IcxScrollBarOwner))) {
    *AObj = static_cast<IcxScrollBarOwner*>(&FScrollBarOwner);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IdxGestureOwner))) {
    *AObj = static_cast<IdxGestureOwner*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IdxGestureClient))) {
    *AObj = static_cast<IdxGestureClient*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IdxLocalizerListener))) {
    *AObj = static_cast<IdxLocalizerListener*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

HRESULT STDMETHODCALLTYPE TcxControl::TScrollBarOwner::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  if (IsEqualIID(AIID, __uuidof(IcxScrollBarOwner)) || IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IcxScrollBarOwner*>(this);
    return S_OK;
  }
  return Control->QueryInterface(AIID, AObj);
}

TcxLookAndFeel* STDMETHODCALLTYPE TcxControl::TScrollBarOwner::GetLookAndFeel() {
  return Control->GetScrollBarLookAndFeel();
}

TdxScaleFactor* STDMETHODCALLTYPE TcxControl::TScrollBarOwner::GetScaleFactor() {
  return Control->ScaleFactor();
}

// ---------------------------------------------------------------------------
// Scaling, parent, look and feel.

void TcxControl::ScaleFactorChanged() {
  inherited::ScaleFactorChanged();
  FLookAndFeel->Refresh();
}

void TcxControl::SetParent(TWinControl* AParent) {
  if (!TcxControlHelper::CanSetParent(this, AParent)) return;
  inherited::SetParent(AParent);
  TcxControlHelper::UpdateScaleFactorOnParentChange(this);
}

void TcxControl::LookAndFeelChangeHandler(TcxLookAndFeel* Sender,
                                          TcxLookAndFeelValues AChangedValues) {
  if (IsDestroying() || IsApplicationDestroying()) return;
  LookAndFeelChanged(Sender, AChangedValues);
}

void TcxControl::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {
  CheckTouchScrollUIMode();
}

TcxLookAndFeel* TcxControl::GetLookAndFeelValue() { return FLookAndFeel; }
TcxLookAndFeel* TcxControl::GetScrollBarLookAndFeel() { return FLookAndFeel; }
TcxCustomLookAndFeelPainter* TcxControl::GetLookAndFeelPainter() { return FLookAndFeel->Painter(); }

TcxCanvas* TcxControl::ActiveCanvas() {
  if (HandleAllocated()) {
    FreeAndNil(FActiveCanvas);
    return FCanvas;
  }
  if (!FActiveCanvas) FActiveCanvas = Create<TcxScreenCanvas>();
  return FActiveCanvas;
}

void STDMETHODCALLTYPE TcxControl::TranslationChanged() {}

void TcxControl::SystemInfoChanged(Cardinal) {
  if (HandleAllocated()) SendNotifyMessageW(FHandle, DXM_NCSIZECHANGED, 0, 0);
}

// A form designer would be told here; this program has none.
void TcxControl::Modified() {}

bool TcxControl::GetIsDesigning() { return ComponentState().Contains(csDesigning); }
bool TcxControl::GetIsFocused() { return Focused(); }

TPoint STDMETHODCALLTYPE TcxControl::ScreenToClient(const TPoint& APoint) {
  return TControl::ScreenToClient(APoint);
}

// ---------------------------------------------------------------------------
// Properties.

void TcxControl::SetBorderStyle(TcxControlBorderStyle AValue) {
  if (FBorderStyle == AValue) return;
  FBorderStyle = AValue;
  BorderStyleChanged();
}

void TcxControl::SetTransparent(bool AValue) {
  if (FTransparent == AValue) return;
  FTransparent = AValue;
  TransparentChanged();
}

void TcxControl::SetBoundsValue(const TRect& AValue) {
  if (EqualRect(&FBounds, &AValue)) return;
  FBounds = AValue;
  BoundsChanged();
}

void TcxControl::SetParentBackground(bool AValue) {
  if (ParentBackground() == AValue) return;
  TWinControl::SetParentBackground(AValue);
  ParentBackgroundChanged();
}

void TcxControl::SetHint(const String& AValue) {
  TControl::SetHint(AValue);
  FOriginalHint = AValue;
}

bool TcxControl::IsHintStored() const {
  if (ActionLink() && ActionLink()->IsHintLinked()) return false;
  return !FOriginalHint.empty();
}

void TcxControl::UpdateStatusHint(const TPoint& APoint) {
  TControl::SetHint(GetStatusHint(APoint));
}

String TcxControl::GetStatusHint(const TPoint&) { return GetHint(); }

void TcxControl::ActionChange(TObject* Sender, bool CheckDefaults) {
  inherited::ActionChange(Sender, CheckDefaults);
  if (auto* Action = AsOrNull<TCustomAction>(Sender))
    if (!CheckDefaults || GetHint().empty()) SetHint(Action->Hint());
}

void TcxControl::SetPopupMenu(TComponent* AValue) {
  if (!IsPopupMenu(AValue)) AValue = nullptr;
  if (FPopupMenu == AValue) return;
  if (FPopupMenu) FPopupMenu->RemoveFreeNotification(this);
  FPopupMenu = AValue;
  if (FPopupMenu) FPopupMenu->FreeNotification(this);
}

TPopupMenuBase* TcxControl::GetPopupMenu() { return AsOrNull<TPopupMenu>(FPopupMenu); }

void TcxControl::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupMenu) FPopupMenu = nullptr;
}

void TcxControl::AddFontListener(IcxFontListener* AListener) {
  if (AListener) FFontListenerList.Add(AListener);
}

void TcxControl::RemoveFontListener(IcxFontListener* AListener) {
  FFontListenerList.Remove(AListener);
}

// ---------------------------------------------------------------------------
// Hooks with plain defaults.

void TcxControl::DoCancelMode() {
  FMouseButtonPressed = false;
  SetMouseCaptureObject(nullptr);
}

void TcxControl::FocusEnter() {}
void TcxControl::FocusLeave() {}
bool TcxControl::MayFocus() { return true; }
void TcxControl::BorderStyleChanged() { BoundsChanged(); }

void TcxControl::BoundsChanged() {
  UpdateScrollBars();
  if (NeedRedrawOnResize()) Invalidate();
}

void TcxControl::ColorChanged() {}
void TcxControl::CursorChanged() {}
void TcxControl::FocusChanged() { dxCallNotify(OnFocusChanged, this); }

void TcxControl::FontChanged() {
  if (auto* ALocked = dynamic_cast<IcxLockedStateFontChanged*>(this)) ALocked->FontChanged(Font());
  FFontListenerList.ForEach([&](IcxFontListener* AListener) { AListener->Changed(this, Font()); });
  Invalidate();
}

void TcxControl::TextChanged() {}

void TcxControl::TransparentChanged() {
  FControlStyle.Exclude(csOpaque);
  FControlStyle.Exclude(csParentBackground);
  FControlStyle.Include(FTransparent ? csParentBackground : csOpaque);
  Invalidate();
}

void TcxControl::VisibleChanged() {
  if (!Visible()) HideTouchScrollUI(this, true);
}

void TcxControl::BiDiModeChanged() {}
void TcxControl::EnabledChanged() { Invalidate(); }
void TcxControl::ParentBackgroundChanged() {}
bool TcxControl::NeedRedrawOnResize() { return false; }
bool TcxControl::UpdateMousePositionIfControlMoved() { return true; }
bool TcxControl::AllowCompositionPainting() { return true; }
bool TcxControl::HasNonClientArea() { return false; }
bool TcxControl::HasBackground() { return IsTransparentBackground(); }

bool TcxControl::IsTransparentBackground() {
  return StyleServices()->Enabled() && Parent() && FControlStyle.Contains(csParentBackground);
}

bool TcxControl::IsDoubleBufferedNeeded() { return DoubleBuffered() || IsWinSevenOrLater; }

bool TcxControl::GetPaintBlackOpaqueOnGlass() {
  return FControlStyle.Contains(csPaintBlackOpaqueOnGlass);
}

void TcxControl::InitControl() { InitScrollBars(); }

void TcxControl::Resize() {
  inherited::Resize();
  BoundsChanged();
}

// ---------------------------------------------------------------------------
// Window.

void TcxControl::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TcxControl::CreateWnd() {
  FCreatingWindow = true;
  auto Created = Finally([&] { FCreatingWindow = false; });
  inherited::CreateWnd();
  CheckNeedsScrollBars();
  InitControl();
  UpdateScrollBars();
}

void TcxControl::DestroyWindowHandle() {
  if (!IsDestroying() && NeedsScrollBars()) UnInitMainScrollBars();
  inherited::DestroyWindowHandle();
  FControlState.Exclude(csClicked);
}

void TcxControl::DefaultHandler(TMessage& Message) {
  if ((Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN) &&
      TcxControlDefaultHandlerHelper::Process(Message))
    return;
  inherited::DefaultHandler(Message);
}

// ---------------------------------------------------------------------------
// Geometry.

TRect TcxControl::GetBounds() {
  if (!IsRectEmpty(&FBounds)) return FBounds;
  if (HandleAllocated()) return ClientRect();
  return TRect{0, 0, Width(), Height()};
}

Integer TcxControl::GetBorderSize() {
  return FBorderStyle == cxcbsDefault ? GetLookAndFeelPainter()->BorderSize() : 0;
}

TRect TcxControl::GetClientBounds() {
  TRect R = GetBounds();
  const Integer ABorder = GetBorderSize();
  InflateRect(&R, -ABorder, -ABorder);
  if (!IsPopupScrollBars()) {
    if (IsScrollBarActive(sbHorizontal)) R.bottom -= GetHScrollBarAreaHeight();
    if (IsScrollBarActive(sbVertical)) {
      if (UseRightToLeftScrollBar())
        R.left += GetVScrollBarAreaWidth();
      else
        R.right -= GetVScrollBarAreaWidth();
    }
  }
  return R;
}

TRect TcxControl::GetClientOffsets() { return TRect{0, 0, 0, 0}; }

// ---------------------------------------------------------------------------
// Painting.

void TcxControl::WMPaint(TMessage& Message) {
  if (Message.WParam || !IsDoubleBufferedNeeded()) {
    PaintHandler(Message);
    return;
  }
  if (IsCompositionEnabled() && AllowCompositionPainting())
    dxPaintWindowOnGlass(FHandle, GetPaintBlackOpaqueOnGlass());
  else
    dxBufferedPaintControl(this);
}

void TcxControl::PaintHandler(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  std::optional<TRegionHandle> AUpdate;
  PAINTSTRUCT PS{};
  if (!DC) {
    // The update region is read before BeginPaint validates it.
    AUpdate.emplace(CreateRectRgn(0, 0, 0, 0));
    if (!dxGetUpdateRgn(this, AUpdate->Get())) AUpdate.reset();
    DC = BeginPaint(FHandle, &PS);
  }
  auto End = Finally([&] {
    if (!Message.WParam) EndPaint(FHandle, &PS);
  });
  if (AUpdate) SelectClipRgn(DC, AUpdate->Get());
  TSaveDCGuard ASaveAll(DC);
  if (FControlState.Contains(csPaintCopy) && HasNonClientArea()) {
    // A copy (the control painted into another picture) gets its frame too.
    // The framework hands the client part a context whose origin is the
    // client's top-left: the frame, drawn in window coordinates, goes that
    // far up and to the left, and the client's own painting stays put.
    const TPoint AClientOffset = cxGetClientOffset(FHandle);
    {
      TSaveDCGuard ASaveFrame(DC);
      OffsetWindowOrgEx(DC, AClientOffset.x, AClientOffset.y, nullptr);
      TcxPaintCanvas* APaintCanvas = cxPaintCanvas();
      APaintCanvas->BeginPaint(DC);
      auto EndCanvas = Finally([&] { APaintCanvas->EndPaint(); });
      PaintNonClientArea(APaintCanvas);
    }
    const TRect AClient = ClientRect();
    IntersectClipRect(DC, AClient.left, AClient.top, AClient.right, AClient.bottom);
  }
  if (!FControls.empty()) {
    TSaveDCGuard ASave(DC);
    bool AEmpty = false;
    for (TControl* C : FControls) {
      const bool AShown = C->Visible() || (C->ComponentState().Contains(csDesigning) &&
                                           !C->ControlStyle().Contains(csNoDesignVisible));
      if (!AShown || !C->ControlStyle().Contains(csOpaque)) continue;
      if (ExcludeClipRect(DC, C->Left(), C->Top(), C->Left() + C->Width(),
                          C->Top() + C->Height()) == NULLREGION) {
        AEmpty = true;
        break;
      }
    }
    if (!AEmpty) PaintWindow(DC);
  } else {
    PaintWindow(DC);
  }
  PaintControls(DC, nullptr);
}

void TcxControl::PaintWindow(HDC DC) {
  if (IsLoading()) return;
  TCanvas* AFrameworkCanvas = TCustomControl::Canvas();
  if (AFrameworkCanvas->HandleAllocated()) {
    // A paint inside a paint: the outer one gets its canvas back as it was.
    FCanvas->SaveState();
    auto Restore = Finally([&] { FCanvas->RestoreState(); });
    inherited::PaintWindow(DC);
  } else {
    inherited::PaintWindow(DC);
  }
}

void TcxControl::Paint() {
  if (IsLoading()) return;
  if (auto* ALocked = dynamic_cast<IcxLockedStatePaint*>(this)) {
    if (TcxBitmap* AImage = ALocked->GetImage()) {
      TcxControl* ATopmost = ALocked->GetTopmostControl();
      TcxCanvas* ACanvas = ActiveCanvas();
      const TRect AClient = ClientRect();
      if (ATopmost == this || !ATopmost) {
        ACanvas->StretchDraw(AClient, AImage);
      } else {
        const TPoint AOrigin = dxMapWindowPoint(FHandle, ATopmost->Handle(), TPoint{0, 0});
        BitBlt(ACanvas->Handle(), AClient.left, AClient.top, RectWidth(AClient),
               RectHeight(AClient), AImage->Canvas()->Handle(), AOrigin.x, AOrigin.y, SRCCOPY);
      }
      return;
    }
  }
  FCanvas->BeginPaint();
  auto End = Finally([&] { FCanvas->EndPaint(); });
  DoPaint();
}

void TcxControl::DoPaint() {
  DrawScrollBars(FCanvas);
  if (FBorderStyle == cxcbsDefault) {
    DrawBorder(FCanvas);
    TRect R = GetBounds();
    const Integer ABorder = GetBorderSize();
    InflateRect(&R, -ABorder, -ABorder);
    FCanvas->IntersectClipRect(R);
    SetPaintRegion();
  }
  UpdateInternalControlsState();
}

void TcxControl::DrawBorder(TcxCanvas* ACanvas) {
  GetLookAndFeelPainter()->DrawBorder(ACanvas, GetBounds());
}

void TcxControl::SetPaintRegion() { FCanvas->IntersectClipRect(GetClientBounds()); }

void TcxControl::PaintNonClientArea(TcxCanvas*) {}

void TcxControl::WMEraseBkgnd(TMessage& Message) {
  const bool ADrawToMemory = cxIsDrawToMemory(Message);
  if (ADrawToMemory || HasBackground()) {
    if (ADrawToMemory || !IsDoubleBufferedNeeded())
      EraseBackground(reinterpret_cast<HDC>(Message.WParam));
    Message.Result = 1;
  } else {
    Message.Result = 0;
  }
}

void TcxControl::EraseBackground(HDC DC) {
  if (IsLoading()) return;
  TcxPaintCanvas* APaintCanvas = cxPaintCanvas();
  APaintCanvas->BeginPaint(DC);
  auto End = Finally([&] { APaintCanvas->EndPaint(); });
  EraseBackground(APaintCanvas, ClientRect());
}

void TcxControl::EraseBackground(TcxCanvas* ACanvas, const TRect& ARect) {
  if (IsTransparentBackground()) {
    cxDrawTransparentControlBackground(this, ACanvas, ARect, true);
  } else {
    Brush()->SetColor(Color());
    ::FillRect(ACanvas->Handle(), &ARect, Brush()->Handle());
  }
}

void TcxControl::WMNCCalcSize(TMessage& Message) {
  inherited::WMNCCalcSize(Message);
  if (HandleAllocated()) PostMessageW(FHandle, DXM_NCSIZECHANGED, 0, 0);
}

void TcxControl::WMNCPaint(TMessage& Message) {
  inherited::WMNCPaint(Message);
  if (!HasNonClientArea()) return;
  const DWORD AFlags = DCX_WINDOW | DCX_CACHE | DCX_CLIPSIBLINGS | DCX_VALIDATE;
  HDC DC;
  if (Message.WParam != 1) {
    // GetDCEx takes the region over.
    HRGN ACopy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(ACopy, reinterpret_cast<HRGN>(Message.WParam), nullptr, RGN_COPY);
    DC = GetDCEx(FHandle, ACopy, AFlags | DCX_INTERSECTRGN);
  } else {
    DC = GetDCEx(FHandle, nullptr, AFlags);
  }
  TReleasedDC<&GetDC> AReleased(FHandle, DC);
  if (DC) DoNCPaint(DC);
  Message.Result = 0;
}

void TcxControl::WMPrint(TMessage& Message) {
  inherited::WMPrint(Message);
  if ((Message.LParam & PRF_NONCLIENT) && HasNonClientArea())
    DoNCPaint(reinterpret_cast<HDC>(Message.WParam));
}

void TcxControl::DoNCPaint(HDC DC) {
  TSaveDCGuard ASave(DC);
  const TPoint AOffset = cxGetClientOffset(FHandle);
  TRect AClient = ClientRect();
  OffsetRect(&AClient, AOffset.x, AOffset.y);
  ExcludeClipRect(DC, AClient.left, AClient.top, AClient.right, AClient.bottom);
  const TRect AOffsets = GetClientOffsets();
  const TRect ARing{AClient.left - AOffsets.left, AClient.top - AOffsets.top,
                    AClient.right + AOffsets.right, AClient.bottom + AOffsets.bottom};
  IntersectClipRect(DC, ARing.left, ARing.top, ARing.right, ARing.bottom);
  const TRect AWindow = cxGetWindowBounds(FHandle);
  TOwned<TcxBitmap> ABitmap(Create<TcxBitmap>(RectWidth(AWindow), RectHeight(AWindow)));
  PaintNonClientArea(ABitmap->cxCanvas());
  BitBlt(DC, 0, 0, RectWidth(AWindow), RectHeight(AWindow), ABitmap->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

// ---------------------------------------------------------------------------
// Invalidation.

void TcxControl::CMInvalidate(TMessage& Message) {
  if (!HandleAllocated() || IsDestroying()) return;
  InvalidateControl(this, Message.WParam == 0, NeedRedrawOnResize());
}

void TcxControl::InvalidateControl(TWinControl* AControl, bool ANeedInvalidateSelf,
                                   bool ANeedInvalidateChildren) {
  if (!AControl->HandleAllocated()) return;
  if (AControl->Parent()) AControl->Parent()->Perform(CM_INVALIDATE, 1, 0);
  if (!ANeedInvalidateSelf) return;
  ::InvalidateRect(AControl->Handle(), nullptr,
                   !AControl->ControlStyle().Contains(csOpaque) ? TRUE : FALSE);
  if (!ANeedInvalidateChildren) return;
  for (Integer I = 0; I < AControl->ControlCount(); ++I) {
    TControl* AChild = AControl->Controls(I);
    bool ANeeds;
    if (auto* ATransparent = dynamic_cast<IcxTransparentControl*>(AChild))
      ANeeds = ATransparent->IsTransparentRegionsPresent();
    else
      ANeeds = AChild->Is<TWinControl>() && (!AChild->ControlStyle().Contains(csOpaque) ||
                                             AChild->ControlStyle().Contains(csParentBackground));
    if (ANeeds) AChild->Invalidate();
  }
}

void TcxControl::Invalidate() { Perform(CM_INVALIDATE, 0, 0); }

void TcxControl::InvalidateRect(const TRect& R, bool AEraseBackground) {
  if (HandleAllocated()) ::InvalidateRect(FHandle, &R, AEraseBackground ? TRUE : FALSE);
}

void TcxControl::InvalidateRgn(TcxRegion* ARegion, bool AEraseBackground) {
  if (!HandleAllocated() || !ARegion || ARegion->IsEmpty()) return;
  ::InvalidateRgn(FHandle, ARegion->Handle(), AEraseBackground ? TRUE : FALSE);
}

void TcxControl::InvalidateWithChildren() {
  if (HandleAllocated())
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN);
}

void TcxControl::UpdateWithChildren() {
  if (HandleAllocated()) RedrawWindow(FHandle, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// ---------------------------------------------------------------------------
// State changes.

void TcxControl::CMBiDiModeChanged(TMessage& Message) {
  inherited::CMBiDiModeChanged(Message);
  BiDiModeChanged();
}

void TcxControl::CMColorChanged(TMessage& Message) {
  ColorChanged();
  inherited::CMColorChanged(Message);
}

void TcxControl::CMCursorChanged(TMessage& Message) {
  CursorChanged();
  DefaultHandler(Message);
}

void TcxControl::CMEnabledChanged(TMessage& Message) {
  inherited::CMEnabledChanged(Message);
  EnabledChanged();
}

void TcxControl::CMFontChanged(TMessage& Message) {
  inherited::CMFontChanged(Message);
  FontChanged();
}

void TcxControl::CMTextChanged(TMessage& Message) {
  inherited::CMTextChanged(Message);
  TextChanged();
}

void TcxControl::CMVisibleChanged(TMessage& Message) {
  inherited::CMVisibleChanged(Message);
  VisibleChanged();
}

void TcxControl::WMWindowPosChanged(TMessage& Message) {
  const auto* APos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  const TRect AOldBounds = BoundsRect();
  const bool AMovedOnly = APos && !(APos->flags & SWP_NOMOVE) && (APos->flags & SWP_NOSIZE) &&
                          (APos->x != AOldBounds.left || APos->y != AOldBounds.top);
  const bool ACheckTouchUI = IsPopupScrollBars() && HasVisibleTouchScrollUI() && AMovedOnly;
  inherited::WMWindowPosChanged(Message);
  if (ACheckTouchUI) CheckTouchScrollUIPosition();
}

// ---------------------------------------------------------------------------
// Keyboard and focus.

void TcxControl::WMGetDlgCode(TMessage& Message) {
  LRESULT ACode = 0;
  if (FKeys.Contains(kAll)) ACode += DLGC_WANTALLKEYS;
  if (FKeys.Contains(kArrows)) ACode += DLGC_WANTARROWS;
  if (FKeys.Contains(kChars)) ACode += DLGC_WANTCHARS;
  // Ctrl+Tab still moves the focus on.
  if (FKeys.Contains(kTab) && GetAsyncKeyState(VK_CONTROL) >= 0) ACode += DLGC_WANTTAB;
  Message.Result = ACode;
}

bool TcxControl::IsMenuKey(TMessage& Message) {
  if (IsDesigning()) return false;
  for (TControl* AControl = this; AControl; AControl = AControl->Parent()) {
    auto* ACxControl = AsOrNull<TcxControl>(AControl);
    if (ACxControl && ACxControl->PopupMenu() &&
        IsPopupMenuShortCut(ACxControl->PopupMenu(), Message))
      return true;
  }
  return false;
}

void TcxControl::CNKeyDown(TMessage& Message) {
  if (IsMenuKey(Message)) {
    Message.Result = 1;
    return;
  }
  if (FDragAndDropState == ddsNone) {
    inherited::CNKeyDown(Message);
    return;
  }
  if (!DragAndDropKeyDown(Message)) FinishDragAndDrop(false);
  Message.Result = 1;
}

void TcxControl::CNKeyUp(TMessage& Message) {
  if (FDragAndDropState != ddsNone && DragAndDropKeyUp(Message)) {
    Message.Result = 1;
    return;
  }
  DefaultHandler(Message);
}

void TcxControl::CNSysKeyDown(TMessage& Message) {
  if (IsMenuKey(Message)) {
    Message.Result = 1;
    return;
  }
  inherited::CNSysKeyDown(Message);
}

bool TcxControl::CanFocusOnClick() {
  return !IsDesigning() && FFocusOnClick && MayFocus() && CanFocus() && HandleAllocated() &&
         IsWindowVisible(FHandle);
}

bool TcxControl::CanFocusOnClick(Integer, Integer) { return CanFocusOnClick(); }

bool TcxControl::FocusWhenChildIsClicked(TControl*) { return CanFocusOnClick(); }

bool TcxControl::CanFocusEx() {
  if (!CanFocus()) return false;
  TCustomForm* AForm = GetParentForm();
  return !AForm || (AForm->CanFocus() && AForm->Enabled() && AForm->Visible());
}

void TcxControl::SetFocus() {
  inherited::SetFocus();
  FActivateType = atOther;
}

void TcxControl::SetFocusOnMouseClick(TMouseButton, Integer, Integer) { SetFocus(); }

// ---------------------------------------------------------------------------
// Mouse position helpers.

void TcxControl::PostMouseMove() {
  if (HandleAllocated()) PostMouseMove(GetMouseCursorClientPos());
}

void TcxControl::PostMouseMove(const TPoint& AMousePos) {
  if (!HandleAllocated() || GetCapture()) return;
  const LPARAM APos = MAKELPARAM(static_cast<WORD>(AMousePos.x), static_cast<WORD>(AMousePos.y));
  PostMessageW(FHandle, WM_MOUSEMOVE, 0, APos);
}

TPoint TcxControl::GetMouseCursorClientPos() {
  TPoint P = GetMouseCursorPos();
  if (HandleAllocated()) ::ScreenToClient(FHandle, &P);
  return P;
}
