// The base control's scroll bars: the scroll-bar mode, the set of bars, the
// update protocol that decides what the bars show, their places, the touch
// and hybrid scroll UI, touch gestures, and pixel scrolling of image-like
// content.
#include <algorithm>

#include "cxControls.h"

namespace {

// A layout whose bars decide each other's visibility settles within three
// passes (nothing, one bar, both bars); more passes mean the bars toggle.
constexpr Integer MaxScrollBarsCalculationPasses = 4;

// The largest number of pixels a gesture moves content per scroll unit.
constexpr Integer MaxGesturePixelsPerUnit = 30;

bool MayHide(const TcxScrollBarData* AData) {
  return AData->FVisible && AData->FEnabled && AData->FAllowHide;
}

Int64 RangeLength(const TcxScrollBarData* AData) {
  return static_cast<Int64>(AData->FMax) - AData->FMin + 1;
}

}  // namespace

// ---------------------------------------------------------------------------
// Mode

TdxScrollbarMode TcxControl::GetLookAndFeelScrollbarMode() {
  TdxScrollbarMode Mode = GetScrollBarLookAndFeel()->GetScrollbarMode();
  if (Mode == sbmDefault) return cxIsTouchScrollUIModeEnabled() ? sbmTouch : sbmClassic;
  if (Mode == sbmHybrid && !AllowHybridScrollbarMode()) return sbmTouch;
  return Mode;
}

bool TcxControl::IsScrollBarModeChanged() {
  return GetLookAndFeelScrollbarMode() != FScrollbarMode;
}

bool TcxControl::AllowTouchScrollUIMode() { return false; }
bool TcxControl::AllowHybridScrollbarMode() { return AllowTouchScrollUIMode(); }

void TcxControl::CheckTouchScrollUIMode() {
  if (AllowTouchScrollUIMode() && HasScrollBars() && IsScrollBarModeChanged())
    ScrollUIModeChanged();
}

void TcxControl::ScrollUIModeChanged() {
  {
    FIsScrollUIModeChanging = true;
    auto Done = Finally([&] { FIsScrollUIModeChanging = false; });
    HideScrollBars();
    Deactivate(this);
    DoDestroyScrollBars();
    FScrollbarMode = GetLookAndFeelScrollbarMode();
    DoCreateScrollBars();
  }
  DoScrollUIModeChanged();
}

void TcxControl::DoScrollUIModeChanged() {}

bool TcxControl::IsPopupScrollBars() { return FScrollbarMode != sbmClassic; }
bool TcxControl::IsTouchScrollUIMode() { return FScrollbarMode == sbmTouch; }
bool TcxControl::HasScrollBarArea() { return FScrollbarMode == sbmClassic; }
bool TcxControl::HasScrollBars() { return NeedsScrollBars(); }
bool TcxControl::NeedsScrollBars() { return true; }

void TcxControl::HideScrollBars() {
  if (IsPopupScrollBars())
    HideTouchScrollUI(this, true);
  else if (FMainScrollBars)
    FMainScrollBars->Hide();
}

// ---------------------------------------------------------------------------
// The set and its parts

TClass TcxControl::GetMainScrollBarsClass() { return TcxControlWindowedScrollBars::StaticClass(); }

TClass TcxControl::GetScrollBarClass(TScrollBarKind) {
  return IsPopupScrollBars() ? dxTouchScrollBarClass() : TcxControlScrollBar::StaticClass();
}

TClass TcxControl::GetSizeGripClass() {
  return IsPopupScrollBars() ? TcxPopupSizeGrip::StaticClass() : TcxSizeGrip::StaticClass();
}

void TcxControl::CreateScrollBars() {
  if (!NeedsScrollBars()) return;
  if (!FMainScrollBars) {
    FMainScrollBars = As<TcxControlCustomScrollBars>(GetMainScrollBarsClass()->Create(this));
    if (TdxSystemInfo* Info = dxSystemInfo()) Info->AddListener(this);
  }
  if (HandleAllocated()) InitScrollBars();
}

void TcxControl::DestroyScrollBars() {
  dxRemoveSystemInfoListener(this);
  FreeAndNil(FMainScrollBars);
}

void TcxControl::CheckNeedsScrollBars() {
  if (NeedsScrollBars())
    CreateScrollBars();
  else
    DestroyScrollBars();
}

void TcxControl::DoCreateScrollBars() { CreateScrollBars(); }
void TcxControl::DoDestroyScrollBars() { DestroyScrollBars(); }

void TcxControl::InitScrollBars() {
  if (NeedsScrollBars() && FMainScrollBars) FMainScrollBars->InitScrollBars();
}

void TcxControl::UnInitMainScrollBars() {
  if (FMainScrollBars) FMainScrollBars->UnInitScrollBars();
}

void TcxControl::CreateScrollingObjects() {
  FScrollBarsManager = Create<TcxControlScrollBarsManager>(this);
  FScrollUIActivityHelper = Create<TdxTouchScrollUIActivityHelper>();
  FHybridScrollbarsManager = Create<TdxHybridScrollbarsManager>(this);
}

void TcxControl::DestroyScrollingObjects() {
  // The touch manager must not keep a freed control as its owner.
  TdxTouchScrollUIModeManager::Deactivate(this);
  FreeAndNil(FHybridScrollbarsManager);
  FreeAndNil(FScrollUIActivityHelper);
  FreeAndNil(FScrollBarsManager);
}

bool TcxControl::ScrollBarsManagerHandleMessage(TMessage& Message) {
  return FScrollBarsManager && FScrollBarsManager->HandleMessage(Message);
}

IcxControlScrollBar* TcxControl::GetScrollBar(TScrollBarKind AKind) {
  return FMainScrollBars ? FMainScrollBars->GetScrollBar(AKind) : nullptr;
}
IcxControlScrollBar* TcxControl::GetHScrollBar() { return GetScrollBar(sbHorizontal); }
IcxControlScrollBar* TcxControl::GetVScrollBar() { return GetScrollBar(sbVertical); }

Integer TcxControl::GetScrollBarPosition(TScrollBarKind AKind) {
  IcxControlScrollBar* Bar = GetScrollBar(AKind);
  return Bar ? Bar->GetPosition() : 0;
}

TObject* TcxControl::GetSizeGrip() {
  return FMainScrollBars ? FMainScrollBars->SizeGrip() : nullptr;
}

bool TcxControl::IsScrollBarActive(TScrollBarKind AKind) {
  return FMainScrollBars && FMainScrollBars->IsScrollBarActive(AKind);
}

bool TcxControl::GetHScrollBarVisible() {
  return FMainScrollBars && FMainScrollBars->IsScrollBarVisible(sbHorizontal);
}
bool TcxControl::GetVScrollBarVisible() {
  return FMainScrollBars && FMainScrollBars->IsScrollBarVisible(sbVertical);
}

bool TcxControl::IsScrollBarsCapture() {
  return FScrollBarsManager && FScrollBarsManager->IsCapture();
}

void TcxControl::DrawScrollBars(TcxCanvas* ACanvas) {
  if (FScrollBarsManager) FScrollBarsManager->Paint(ACanvas);
  if (FMainScrollBars) FMainScrollBars->DrawSizeGrip(ACanvas);
}

void TcxControl::SetInternalControlsBounds() {
  if (FMainScrollBars) FMainScrollBars->SetInternalControlsBounds();
}

void TcxControl::UpdateInternalControlsState() {
  if (FMainScrollBars) FMainScrollBars->UpdateInternalControlsState();
}

void TcxControl::BringInternalControlsToFront() {
  if (FMainScrollBars) FMainScrollBars->BringInternalControlsToFront();
}

bool TcxControl::NeedsToBringInternalControlsToFront() { return !IsDesigning(); }

bool TcxControl::IsInternalControl(TControl* AControl) {
  return FMainScrollBars && FMainScrollBars->IsInternalControl(AControl);
}

TScrollStyle TcxControl::GetSystemSizeScrollBars() { return ssBoth; }

void TcxControl::SetScrollBars(TScrollStyle AValue) {
  if (FScrollBars == AValue) return;
  FScrollBars = AValue;
  UpdateScrollBars();
}

// ---------------------------------------------------------------------------
// Update protocol

bool TcxControl::CanUpdateScrollBars() { return !IsLoading() && NeedsScrollBars(); }

void TcxControl::UpdateScrollBars() {
  if (!CanUpdateScrollBars()) return;
  if (FScrollBarsLockCount > 0) {
    FScrollBarsUpdateNeeded = true;
    return;
  }
  DoUpdateScrollBars();
}

void TcxControl::LockScrollBars() {
  if (FScrollBarsLockCount == 0) FScrollBarsUpdateNeeded = false;
  ++FScrollBarsLockCount;
}

void TcxControl::UnlockScrollBars() {
  if (FScrollBarsLockCount <= 0) return;
  --FScrollBarsLockCount;
  if (FScrollBarsLockCount == 0 && FScrollBarsUpdateNeeded) UpdateScrollBars();
}

void TcxControl::DoUpdateScrollBars() {
  // A set of another kind may lack a bar: there is nothing to decide then.
  if (!FMainScrollBars || !GetHScrollBar() || !GetVScrollBar()) return;
  if (!FUpdatingScrollBars) {
    FInitialHScrollBarActive = IsScrollBarActive(sbHorizontal);
    FInitialVScrollBarActive = IsScrollBarActive(sbVertical);
  }
  bool PrevUpdatingScrollBars = FUpdatingScrollBars;
  FUpdatingScrollBars = true;
  auto Restore = Finally([&] {
    FUpdatingScrollBars = PrevUpdatingScrollBars;
    if (!FUpdatingScrollBars) FIsInitialScrollBarsParams = false;
  });
  bool HActive = IsScrollBarActive(sbHorizontal);
  bool VActive = IsScrollBarActive(sbVertical);
  if (!FIsInitialScrollBarsParams) {
    bool Settled = CalculateScrollBarsParams();
    // Bars that keep toggling, within one calculation or between a nested
    // update and its caller, are frozen in their initial state.
    FIsInitialScrollBarsParams =
        !Settled || (PrevUpdatingScrollBars &&
                     GetHScrollBar()->GetData()->FVisible == FInitialHScrollBarActive &&
                     GetVScrollBar()->GetData()->FVisible == FInitialVScrollBarActive);
  }
  if (FIsInitialScrollBarsParams)
    FreezeScrollBarsInInitialState();
  else
    FMainScrollBars->ApplyData();
  if (!FMainScrollBars || !GetHScrollBar() || !GetVScrollBar()) return;
  TcxScrollBarKinds Changed;
  if (HActive != IsScrollBarActive(sbHorizontal)) Changed.Include(sbHorizontal);
  if (VActive != IsScrollBarActive(sbVertical)) Changed.Include(sbVertical);
  if (HasScrollBarArea() && !Changed.Empty())
    ScrollBarVisibilityChanged(Changed);
  else
    UpdateScrollBarBounds();
}

void TcxControl::FreezeScrollBarsInInitialState() {
  const bool Initial[] = {FInitialHScrollBarActive, FInitialVScrollBarActive};
  for (TScrollBarKind Kind : {sbHorizontal, sbVertical}) {
    if (IsScrollBarActive(Kind) == Initial[Kind]) continue;
    IcxControlScrollBar* Bar = GetScrollBar(Kind);
    Bar->SetEnabled(false);
    Bar->SetVisible(true);
  }
}

bool TcxControl::CalculateScrollBarsParams() {
  if (FMainScrollBars->Calculating()) return true;
  FMainScrollBars->SetCalculating(true);
  TcxControlCustomScrollBars* ScrollBars = FMainScrollBars;
  auto Done = Finally([&] { ScrollBars->SetCalculating(false); });
  GetHScrollBar()->GetData()->FVisible = false;
  GetVScrollBar()->GetData()->FVisible = false;
  InitScrollBarsParametersCache();
  bool Settled = false;
  for (Integer Pass = 0; Pass < MaxScrollBarsCalculationPasses && !Settled; ++Pass) {
    bool HActive = IsScrollBarActive(sbHorizontal);
    bool VActive = IsScrollBarActive(sbVertical);
    InitScrollBarsParameters();
    Settled =
        HActive == IsScrollBarActive(sbHorizontal) && VActive == IsScrollBarActive(sbVertical);
  }
  CheckPixelScrollBars();
  return Settled;
}

void TcxControl::CheckPixelScrollBars() {
  TcxScrollBarData* H = GetHScrollBar()->GetData();
  TcxScrollBarData* V = GetVScrollBar()->GetData();
  if (!MayHide(H) || !MayHide(V)) return;
  Integer VBarWidth = GetVScrollBar()->GetWidth();
  Integer HBarHeight = GetHScrollBar()->GetHeight();
  bool HMarked = IsPixelScrollBar(sbHorizontal) && VBarWidth + H->FPageSize >= RangeLength(H);
  bool VMarked = IsPixelScrollBar(sbVertical) && HBarHeight + V->FPageSize >= RangeLength(V);
  if (!HMarked || !VMarked) return;
  // The content would fit without both bars: each page grows by the other
  // bar, which lets both hide together.
  SetScrollBarInfo(sbHorizontal, H->FMin, H->FMax, H->FSmallChange, H->FPageSize + VBarWidth,
                   H->FPosition, H->FAllowShow, H->FAllowHide);
  SetScrollBarInfo(sbVertical, V->FMin, V->FMax, V->FSmallChange, V->FPageSize + HBarHeight,
                   V->FPosition, V->FAllowShow, V->FAllowHide);
}

void TcxControl::SetScrollBarInfo(TScrollBarKind AScrollBarKind, Integer AMin, Integer AMax,
                                  Integer AStep, Integer APage, Integer APos, bool AAllowShow,
                                  bool AAllowHide) {
  IcxControlScrollBar* Bar = GetScrollBar(AScrollBarKind);
  if (!Bar) return;
  TcxScrollBarData* Data = Bar->GetData();
  Data->FPageSize = APage;
  Data->FMin = AMin;
  Data->FMax = AMax;
  Data->FSmallChange = static_cast<TScrollBarInc>(AStep);
  Data->FLargeChange = static_cast<TScrollBarInc>(APage);
  Data->FPosition = APos;
  bool Valid = Data->Validate();
  TScrollStyle Own = AScrollBarKind == sbHorizontal ? ssHorizontal : ssVertical;
  bool OptionsAllow = FScrollBars == Own || FScrollBars == ssBoth;
  Data->FAllowShow = AAllowShow && OptionsAllow && (FScrollbarMode == sbmClassic || Valid);
  Data->FAllowHide = AAllowHide;
  if (!Data->FAllowShow) {
    Data->FVisible = false;
  } else if (Valid) {
    Data->FEnabled = true;
    Data->FVisible = true;
  } else if (AAllowHide) {
    Data->FVisible = false;
  } else {
    Data->FEnabled = false;
    Data->FVisible = true;
  }
}

void TcxControl::UpdateScrollBarBounds() {
  FMainScrollBars->CheckSizeGripVisible(IsSizeGripVisible());
  SetInternalControlsBounds();
  if (NeedsToBringInternalControlsToFront()) BringInternalControlsToFront();
}

void TcxControl::InitScrollBarsParameters() {}
void TcxControl::InitScrollBarsParametersCache() {}
bool TcxControl::IsPixelScrollBar(TScrollBarKind) { return false; }
void TcxControl::ScrollBarVisibilityChanged(TcxScrollBarKinds) { BoundsChanged(); }
void TcxControl::Scroll(TScrollBarKind, TScrollCode, Integer&) {}
bool TcxControl::CanScrollLineWithoutScrollBars(TcxDirection) { return false; }

void TcxControl::DXMNCSizeChanged(TMessage&) {
  if (!NeedsScrollBars() || !FMainScrollBars) return;
  TScrollStyle Kinds = GetSystemSizeScrollBars();
  bool Changed = false;
  if (Kinds == ssHorizontal || Kinds == ssBoth)
    Changed = FMainScrollBars->CheckSize(sbHorizontal) || Changed;
  if (Kinds == ssVertical || Kinds == ssBoth)
    Changed = FMainScrollBars->CheckSize(sbVertical) || Changed;
  if (Changed) BoundsChanged();
}

// ---------------------------------------------------------------------------
// Geometry

TSize TcxControl::GetScrollBarSize() {
  switch (FScrollbarMode) {
    case sbmTouch:
      return GetTouchScrollBarSize(ScaleFactor());
    case sbmClassic:
      return GetScaledScrollBarSize(ScaleFactor());
    default:
      return GetHybridScrollBarSize(ScaleFactor(), true);
  }
}

Integer TcxControl::GetHScrollBarAreaHeight() {
  if (!HasScrollBarArea()) return 0;
  if (FScrollbarMode == sbmClassic && GetHScrollBar()) return GetHScrollBar()->GetHeight();
  return GetHScrollBarDefaultAreaHeight();
}

Integer TcxControl::GetVScrollBarAreaWidth() {
  if (!HasScrollBarArea()) return 0;
  if (FScrollbarMode == sbmClassic && GetVScrollBar()) return GetVScrollBar()->GetWidth();
  return GetVScrollBarDefaultAreaWidth();
}

Integer TcxControl::GetHScrollBarDefaultAreaHeight() {
  switch (FScrollbarMode) {
    case sbmClassic:
      return GetScaledScrollBarSize(ScaleFactor()).cy;
    case sbmHybrid:
      return GetHybridScrollBarSize(ScaleFactor(), false).cy;
    default:
      return 0;
  }
}

Integer TcxControl::GetVScrollBarDefaultAreaWidth() {
  switch (FScrollbarMode) {
    case sbmClassic:
      return GetScaledScrollBarSize(ScaleFactor()).cx;
    case sbmHybrid:
      return GetHybridScrollBarSize(ScaleFactor(), false).cx;
    default:
      return 0;
  }
}

TRect TcxControl::GetHScrollBarBounds() {
  TRect Client = GetClientBounds();
  TRect R = Client;
  Integer Height = GetHScrollBar() ? GetHScrollBar()->GetHeight() : GetScrollBarSize().cy;
  Integer VWidth = GetVScrollBar() ? GetVScrollBar()->GetWidth() : GetScrollBarSize().cx;
  switch (FScrollbarMode) {
    case sbmTouch:
      R.top = R.bottom - Height;
      if (GetVScrollBarVisible()) R.right -= VWidth;
      break;
    case sbmClassic:
      R.top = R.bottom;
      R.bottom = R.top + Height;
      break;
    default:
      R.top = R.bottom - Height;
      if (IsScrollBarActive(sbVertical)) R.right -= VWidth;
      break;
  }
  if (UseRightToLeftScrollBar()) R = TdxRightToLeftLayoutConverter::ConvertRect(R, Client);
  return R;
}

TRect TcxControl::GetVScrollBarBounds() {
  TRect Client = GetClientBounds();
  TRect R = Client;
  Integer Width = GetVScrollBar() ? GetVScrollBar()->GetWidth() : GetScrollBarSize().cx;
  Integer HHeight = GetHScrollBar() ? GetHScrollBar()->GetHeight() : GetScrollBarSize().cy;
  switch (FScrollbarMode) {
    case sbmTouch:
      R.left = R.right - Width;
      if (GetHScrollBarVisible()) R.bottom -= HHeight;
      break;
    case sbmClassic:
      R.left = R.right;
      R.right = R.left + Width;
      break;
    default:
      R.left = R.right - Width;
      if (IsScrollBarActive(sbHorizontal)) R.bottom -= HHeight;
      break;
  }
  if (UseRightToLeftScrollBar()) R = TdxRightToLeftLayoutConverter::ConvertRect(R, Client);
  return R;
}

TRect TcxControl::GetSizeGripBounds() {
  TRect V = GetVScrollBarBounds();
  TRect H = GetHScrollBarBounds();
  return TRect{V.left, H.top, V.right, H.bottom};
}

bool TcxControl::IsScrollBarsArea(const TPoint& P) {
  if (!FMainScrollBars) return false;
  switch (FScrollbarMode) {
    case sbmClassic:
      return (FScrollBarsManager && FScrollBarsManager->IsScrollBarsArea(P)) || IsSizeGripArea(P);
    case sbmHybrid: {
      TSize Collapsed = GetHybridScrollBarSize(ScaleFactor(), false);
      if (IsScrollBarActive(sbVertical)) {
        TRect R = GetVScrollBarBounds();
        if (UseRightToLeftScrollBar())
          R.right = R.left + Collapsed.cx;
        else
          R.left = R.right - Collapsed.cx;
        if (cxRectPtIn(R, P)) return true;
      }
      if (IsScrollBarActive(sbHorizontal)) {
        TRect R = GetHScrollBarBounds();
        R.top = R.bottom - Collapsed.cy;
        if (cxRectPtIn(R, P)) return true;
      }
      return false;
    }
    default:
      return false;
  }
}

bool TcxControl::IsSizeGripArea(const TPoint& P) {
  return IsSizeGripVisible() && cxRectPtIn(GetSizeGripBounds(), P);
}

bool TcxControl::IsSizeGripVisible() {
  return IsScrollBarActive(sbHorizontal) && IsScrollBarActive(sbVertical);
}

TColor TcxControl::GetScrollContentForegroundColor() {
  return GetLookAndFeelPainter()->DefaultContentTextColor();
}

// ---------------------------------------------------------------------------
// Touch and hybrid scroll UI

void TcxControl::ShowTouchScrollUI(TcxControl* AOwner, bool AControlledByTimer) {
  if (FScrollbarMode == sbmTouch)
    TdxTouchScrollUIModeManager::ShowScrollUI(AOwner, AControlledByTimer);
  else if (FScrollbarMode == sbmHybrid && AOwner && AOwner->GetManager())
    AOwner->GetManager()->Show(AControlledByTimer);
}

void TcxControl::HideTouchScrollUI(TcxControl* AOwner, bool AImmediately) {
  TcxControl* Owner = AOwner ? AOwner : this;
  if (FScrollbarMode == sbmTouch)
    TdxTouchScrollUIModeManager::HideScrollUI(Owner, AImmediately);
  else if (FScrollbarMode == sbmHybrid && Owner->GetManager())
    Owner->GetManager()->Hide(AImmediately, !AImmediately);
}

bool TcxControl::IsTouchScrollUIHidden(TcxControl* AOwner) {
  TcxControl* Owner = AOwner ? AOwner : this;
  if (FScrollbarMode == sbmTouch) return TdxTouchScrollUIModeManager::IsScrollUIHidden(Owner);
  if (FScrollbarMode == sbmHybrid && Owner->GetManager())
    return !Owner->GetManager()->AllowVisible();
  return true;
}

void TcxControl::Deactivate(TcxControl* AOwner) {
  if (FScrollbarMode == sbmTouch) TdxTouchScrollUIModeManager::Deactivate(AOwner);
}

void TcxControl::CheckTouchScrollUIPosition() { UpdateScrollBars(); }
TWinControl* TcxControl::GetTouchScrolUIOwnerControl() { return this; }
bool TcxControl::HasVisibleTouchScrollUI() {
  return GetHScrollBarVisible() || GetVScrollBarVisible();
}

void TcxControl::HideTouchScrollUIDirectly() {
  if (FMainScrollBars) FMainScrollBars->Hide();
}

void TcxControl::InvalidateScrollbars() {
  if (FMainScrollBars) FMainScrollBars->Invalidate();
}

TColor TcxControl::GetHybridScrollbarBaseColor() {
  if (FHybridScrollbarBaseColor != clDefault) return FHybridScrollbarBaseColor;
  Double H = 0, S = 0, L = 0;
  TdxColorSpaceConverter::ColorToHSL(ColorToRGB(GetScrollContentForegroundColor()), H, S, L);
  return L <= 0.6 ? clBlack : clWhite;
}

TdxHybridScrollbarsManager* TcxControl::GetManager() { return FHybridScrollbarsManager; }

void TcxControl::SetHybridScrollbarBaseColor(TColor AValue) {
  if (FHybridScrollbarBaseColor == AValue) return;
  FHybridScrollbarBaseColor = AValue;
  InvalidateScrollbars();
}

TcxControl* TcxControl::GetTouchScrollUIOwner(const TPoint&) { return this; }

void TcxControl::CheckTouchScrollActivity(TMessage& Message) {
  if (!IsPopupScrollBars() || !FScrollUIActivityHelper) return;
  // A move near the edge where the bars show counts at once (the helper
  // knows the bar area); elsewhere only a real move counts.
  if (Message.Msg == WM_MOUSEMOVE) {
    TPoint P = SmallPointToPoint(Message.LParam);
    if (FScrollUIActivityHelper->CheckScrollActivity(this, Message))
      ShowTouchScrollUI(GetTouchScrollUIOwner(P), true);
  } else if (Message.Msg == CM_MOUSELEAVE) {
    FScrollUIActivityHelper->CheckScrollActivity(this, Message);
  }
}

// ---------------------------------------------------------------------------
// Gestures

TInteractiveGestures TcxControl::GetDefaultInteractiveGestures() {
  TInteractiveGestures Result;
  for (DWORD ID : dxSupportedGestureIDs)
    if (IsDefaultGesture(ID)) Result.Include(GetInteractiveGestureByGestureID(ID));
  return Result;
}

TInteractiveGestureOptions TcxControl::GetDefaultInteractiveGestureOptions() {
  TInteractiveGestureOptions Options =
      GetInteractiveGestureOptionsByPanOptions(GetDefaultPanOptions());
  Options.Include(igoParentPassthrough);
  return Options;
}

bool TcxControl::IsDefaultGesture(DWORD AGestureID) {
  return AGestureID == GID_PAN || AGestureID == GID_PRESSANDTAP;
}

DWORD TcxControl::GetDefaultPanOptions() {
  return GC_PAN_WITH_SINGLE_FINGER_VERTICALLY | GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY |
         GC_PAN_WITH_GUTTER | GC_PAN_WITH_INERTIA | GC_PAN;
}

bool STDMETHODCALLTYPE TcxControl::AllowGesture(TInteractiveGesture AGestureId) {
  return Touch()->InteractiveGestures().Contains(AGestureId);
}

bool STDMETHODCALLTYPE TcxControl::AllowPan(TScrollBarKind AScrollKind) {
  TcxMouseWheelScrollingKind WheelKind = GetMouseWheelScrollingKind();
  if (CanScrollContentByGestureWithoutScrollBars())
    return AScrollKind == sbVertical ? WheelKind == mwskVertical : WheelKind != mwskVertical;
  if (AScrollKind == sbVertical)
    return IsScrollBarActive(sbVertical) &&
           !(WheelKind != mwskVertical && IsScrollBarActive(sbHorizontal));
  return IsScrollBarActive(sbHorizontal) &&
         !(WheelKind != mwskHorizontal && IsScrollBarActive(sbVertical));
}

DWORD STDMETHODCALLTYPE TcxControl::GetPanOptions() {
  DWORD Options = GetPanOptionsByInteractiveGestureOptions(Touch()->InteractiveGestureOptions());
  if (AllowGesture(igPan)) Options |= GC_PAN;
  return Options;
}

bool STDMETHODCALLTYPE TcxControl::IsPanArea(const TPoint& APoint) {
  return cxRectPtIn(GetClientBounds(), APoint) && !IsScrollBarsArea(APoint);
}

bool STDMETHODCALLTYPE TcxControl::NeedPanningFeedback(TScrollBarKind) { return true; }

IdxGestureClient* STDMETHODCALLTYPE TcxControl::GetGestureClient(const TPoint&) { return this; }
HWND STDMETHODCALLTYPE TcxControl::GetGestureClientHandle() { return Handle(); }

bool STDMETHODCALLTYPE TcxControl::IsGestureTarget(HWND AWnd) {
  return HandleAllocated() && AWnd == Handle();
}

bool TcxControl::CanProcessScrollEvents(TMessage&) { return Enabled(); }

bool TcxControl::IsGestureHelperMessage(TMessage& Message) {
  return FGestureHelper && FGestureHelper->HandleMessage(Message);
}

void TcxControl::DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled) {
  if (FGestureHelper) FGestureHelper->DoGesture(AEventInfo, AHandled);
}

// The helper names the gesture client for this touch and drops the pan
// directions the content cannot scroll in.
void TcxControl::DoGetGestureOptions(TInteractiveGestures& AGestures,
                                     TInteractiveGestureOptions& AOptions) {
  inherited::DoGetGestureOptions(AGestures, AOptions);
  if (FGestureHelper) FGestureHelper->CheckGestureOptions(AGestures, AOptions);
}

bool TcxControl::IsGestureScrolling() { return FGestureHelper && FGestureHelper->IsPanning(); }
bool TcxControl::IsScrollBarBasedGestureScroll(TScrollBarKind) { return true; }
bool TcxControl::CanScrollContentByGestureWithoutScrollBars() { return false; }
void TcxControl::ScrollContentByGesture(TScrollBarKind, Integer) {}

void STDMETHODCALLTYPE TcxControl::BeginGestureScroll(const TPoint&) {
  FGestureAccumulatedDelta = TPoint{0, 0};
  ShowTouchScrollUI(this, false);
}

void STDMETHODCALLTYPE TcxControl::EndGestureScroll() { HideTouchScrollUI(this, false); }

void TcxControl::CheckOverpan(TScrollBarKind AScrollKind, Integer ANewDataPos, Integer ADeltaY,
                              Integer ADeltaX, Integer AMaxDataPos, Integer AMinDataPos) {
  if (FGestureHelper)
    FGestureHelper->CheckOverpan(AScrollKind, ANewDataPos, AMinDataPos, AMaxDataPos, ADeltaX,
                                 ADeltaY);
}

void TcxControl::DoGestureScroll(TScrollBarKind AScrollKind, Integer ANewScrollPos) {
  Scroll(AScrollKind, scTrack, ANewScrollPos);
}

void STDMETHODCALLTYPE TcxControl::GestureScroll(Integer ADeltaX, Integer ADeltaY) {
  if (auto* ScrollingControl = dynamic_cast<IdxScrollingControl*>(this)) {
    TdxScrollHelper::GestureScroll(ScrollingControl, ADeltaX, ADeltaY);
    return;
  }
  TcxObjectLinkGuard Link(this);
  Integer Accumulated = FGestureAccumulatedDelta.x;
  GestureScrollKind(sbHorizontal, ADeltaX, Accumulated, ADeltaX, ADeltaY);
  if (!Link.Alive()) return;
  FGestureAccumulatedDelta.x = Accumulated;
  Accumulated = FGestureAccumulatedDelta.y;
  GestureScrollKind(sbVertical, ADeltaY, Accumulated, ADeltaX, ADeltaY);
  if (Link.Alive()) FGestureAccumulatedDelta.y = Accumulated;
}

void TcxControl::GestureScrollKind(TScrollBarKind AKind, Integer ADelta, Integer& AAccumulated,
                                   Integer ADeltaX, Integer ADeltaY) {
  if (!IsScrollBarBasedGestureScroll(AKind)) {
    ScrollContentByGesture(AKind, ADelta);
    return;
  }
  IcxControlScrollBar* Bar = GetScrollBar(AKind);
  if (!Bar) return;
  bool CanScroll = (IsScrollBarActive(AKind) && Bar->GetEnabled()) ||
                   (CanScrollContentByGestureWithoutScrollBars() && Bar->GetData()->FIsValid);
  if (!CanScroll) return;
  Integer Delta = ADelta + AAccumulated;
  DoScrollBarBasedGestureScroll(AKind, Delta, ADeltaY, ADeltaX);
  AAccumulated = Delta;
}

void TcxControl::DoScrollBarBasedGestureScroll(TScrollBarKind AScrollKind, Integer& ADelta,
                                               Integer ADeltaY, Integer ADeltaX) {
  IcxControlScrollBar* Bar = GetScrollBar(AScrollKind);
  if (!Bar) return;
  Integer Min, Max, PageSize, Position;
  if (CanScrollContentByGestureWithoutScrollBars()) {
    const TcxScrollBarData* Data = Bar->GetData();
    Min = Data->FMin;
    Max = Data->FMax;
    PageSize = Data->FPageSize;
    Position = Data->FPosition;
  } else {
    Min = Bar->GetMin();
    Max = Bar->GetMax();
    PageSize = Bar->GetPageSize();
    Position = Bar->GetPosition();
  }
  // The last position shows the last page, wherever the range starts.
  Integer MaxPosition = std::max(Min, Max + 1 - PageSize);
  TRect Client = GetClientBounds();
  Integer ClientExtent = AScrollKind == sbHorizontal ? cxRectWidth(Client) : cxRectHeight(Client);
  // At least one pixel per unit: a page larger than the client would give 0.
  Integer Scale = PageSize == 0 ? MaxGesturePixelsPerUnit
                                : std::clamp(ClientExtent / PageSize, 1, MaxGesturePixelsPerUnit);
  if (ADelta / Scale == 0) return;
  Integer NewPosition = Position - ADelta / Scale;
  ADelta = ADelta % Scale;
  CheckOverpan(AScrollKind, NewPosition, ADeltaY, ADeltaX, MaxPosition, Min);
  NewPosition = std::clamp(NewPosition, Min, MaxPosition);
  DoGestureScroll(AScrollKind, NewPosition);
  Update();
}

// ---------------------------------------------------------------------------
// Pixel scrolling of image-like content

TSize TdxScrollHelper::GetClientSize(IdxScrollingControl* AControl) {
  TRect R = AControl->GetInstance()->GetClientBounds();
  return TSize{cxRectWidth(R), cxRectHeight(R)};
}

void TdxScrollHelper::CheckLeftPos(IdxScrollingControl* AControl, Integer& AValue) {
  AValue = std::max<Integer>(
      0, std::min<Integer>(AValue, AControl->GetContentSize().cx - GetClientSize(AControl).cx));
}

void TdxScrollHelper::CheckTopPos(IdxScrollingControl* AControl, Integer& AValue) {
  AValue = std::max<Integer>(
      0, std::min<Integer>(AValue, AControl->GetContentSize().cy - GetClientSize(AControl).cy));
}

void TdxScrollHelper::InitScrollBarsParameters(IdxScrollingControl* AControl) {
  TcxControl* Control = AControl->GetInstance();
  TSize Content = AControl->GetContentSize();
  TSize Client = GetClientSize(AControl);
  Control->SetScrollBarInfo(sbHorizontal, 0, Content.cx - 1, 10, Client.cx, AControl->GetLeftPos(),
                            true, true);
  Control->SetScrollBarInfo(sbVertical, 0, Content.cy - 1, 10, Client.cy, AControl->GetTopPos(),
                            true, true);
}

void TdxScrollHelper::Scroll(IdxScrollingControl* AControl, TScrollBarKind AScrollBarKind,
                             TScrollCode AScrollCode, Integer& AScrollPos) {
  bool Horizontal = AScrollBarKind == sbHorizontal;
  TSize Client = GetClientSize(AControl);
  Integer Page = Horizontal ? Client.cx : Client.cy;
  Integer Current = Horizontal ? AControl->GetLeftPos() : AControl->GetTopPos();
  auto SetCurrent = [&](Integer AValue) {
    if (Horizontal)
      SetLeftPos(AControl, AValue);
    else
      SetTopPos(AControl, AValue);
  };
  switch (AScrollCode) {
    case scLineUp:
      SetCurrent(Current - 10);
      break;
    case scLineDown:
      SetCurrent(Current + 10);
      break;
    case scPageUp:
      SetCurrent(Current - Page);
      break;
    case scPageDown:
      SetCurrent(Current + Page);
      break;
    case scTrack:
      SetCurrent(AScrollPos);
      break;
    default:
      break;
  }
  AScrollPos = Horizontal ? AControl->GetLeftPos() : AControl->GetTopPos();
}

void TdxScrollHelper::SetLeftPos(IdxScrollingControl* AControl, Integer AValue) {
  CheckLeftPos(AControl, AValue);
  if (AValue == AControl->GetLeftPos()) return;
  AControl->SetLeftPos(AValue);
  if (AControl->GetInstance()->HandleAllocated()) ScrollContent(AControl);
}

void TdxScrollHelper::SetTopPos(IdxScrollingControl* AControl, Integer AValue) {
  CheckTopPos(AControl, AValue);
  if (AValue == AControl->GetTopPos()) return;
  AControl->SetTopPos(AValue);
  if (AControl->GetInstance()->HandleAllocated()) ScrollContent(AControl);
}

void TdxScrollHelper::SetPos(IdxScrollingControl* AControl, Integer ALeftPos, Integer ATopPos) {
  CheckLeftPos(AControl, ALeftPos);
  CheckTopPos(AControl, ATopPos);
  if (ALeftPos == AControl->GetLeftPos() && ATopPos == AControl->GetTopPos()) return;
  AControl->SetLeftPos(ALeftPos);
  AControl->SetTopPos(ATopPos);
  if (AControl->GetInstance()->HandleAllocated()) ScrollContent(AControl);
}

void TdxScrollHelper::CheckPositions(IdxScrollingControl* AControl) {
  SetPos(AControl, AControl->GetLeftPos(), AControl->GetTopPos());
}

bool TdxScrollHelper::IsScrollDataValid(IdxScrollingControl* AControl, TScrollBarKind AKind) {
  IcxControlScrollBar* Bar = AControl->GetInstance()->GetScrollBar(AKind);
  return Bar && Bar->GetData()->FIsValid;
}

void TdxScrollHelper::ScrollContent(IdxScrollingControl* AControl) {
  TcxControl* Control = AControl->GetInstance();
  Control->UpdateScrollBars();
  CheckPositions(AControl);
  Control->Invalidate();
  Control->Update();
}

void TdxScrollHelper::GestureScroll(IdxScrollingControl* AControl, Integer ADeltaX,
                                    Integer ADeltaY) {
  TcxControl* Control = AControl->GetInstance();
  auto Counts = [&](TScrollBarKind AKind) {
    IcxControlScrollBar* Bar = Control->GetScrollBar(AKind);
    return Control->IsScrollBarActive(AKind) && Bar && Bar->GetEnabled();
  };
  if (!Counts(sbHorizontal)) ADeltaX = 0;
  if (!Counts(sbVertical)) ADeltaY = 0;
  TSize Content = AControl->GetContentSize();
  TSize Client = GetClientSize(AControl);
  Integer Left = AControl->GetLeftPos();
  Integer Top = AControl->GetTopPos();
  if (ADeltaX != 0)
    Control->CheckOverpan(sbHorizontal, Left - ADeltaX, ADeltaY, ADeltaX, Content.cx - Client.cx,
                          0);
  if (ADeltaY != 0)
    Control->CheckOverpan(sbVertical, Top - ADeltaY, ADeltaY, ADeltaX, Content.cy - Client.cy, 0);
  SetPos(AControl, Left - ADeltaX, Top - ADeltaY);
}

// ---------------------------------------------------------------------------
// Child components

void TcxControl::AddChildComponent(TcxControlChildComponent* AComponent) {
  AComponent->SetControl(this);
}

void TcxControl::RemoveChildComponent(TcxControlChildComponent* AComponent) {
  AComponent->SetControl(nullptr);
}
