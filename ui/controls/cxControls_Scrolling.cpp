// Filled by the scrolling work: until then the control runs in the classic mode without bars.
#include "cxControls.h"

// Gestures.
void STDMETHODCALLTYPE TcxControl::BeginGestureScroll(const TPoint&) {
  FGestureAccumulatedDelta = TPoint{0, 0};
}
bool TcxControl::CanScrollContentByGestureWithoutScrollBars() { return false; }
void TcxControl::CheckOverpan(TScrollBarKind, Integer, Integer, Integer, Integer, Integer) {}
void TcxControl::DoGestureScroll(TScrollBarKind AScrollKind, Integer ANewScrollPos) {
  Scroll(AScrollKind, scTrack, ANewScrollPos);
}
void STDMETHODCALLTYPE TcxControl::EndGestureScroll() {}
TInteractiveGestures TcxControl::GetDefaultInteractiveGestures() {
  return TInteractiveGestures{igPan, igPressAndTap};
}
TInteractiveGestureOptions TcxControl::GetDefaultInteractiveGestureOptions() {
  TInteractiveGestureOptions AOptions = GetInteractiveGestureOptionsByPanOptions(
      GetDefaultPanOptions());
  AOptions.Include(igoParentPassthrough);
  return AOptions;
}
TcxControl* TcxControl::GetTouchScrollUIOwner(const TPoint&) { return this; }
void STDMETHODCALLTYPE TcxControl::GestureScroll(Integer, Integer) {}
bool TcxControl::CanProcessScrollEvents(TMessage&) { return Enabled(); }
bool TcxControl::IsDefaultGesture(DWORD AGestureID) {
  return AGestureID == GID_PAN || AGestureID == GID_PRESSANDTAP;
}
bool TcxControl::IsGestureHelperMessage(TMessage&) { return false; }
bool TcxControl::IsGestureScrolling() { return false; }
bool TcxControl::IsScrollBarBasedGestureScroll(TScrollBarKind) { return true; }
DWORD TcxControl::GetDefaultPanOptions() { return 31; }
void TcxControl::ScrollContentByGesture(TScrollBarKind, Integer) {}
bool STDMETHODCALLTYPE TcxControl::AllowGesture(TInteractiveGesture AGestureId) {
  return FInteractiveGestures.Contains(AGestureId);
}
bool STDMETHODCALLTYPE TcxControl::AllowPan(TScrollBarKind) { return false; }
DWORD STDMETHODCALLTYPE TcxControl::GetPanOptions() { return 0; }
bool STDMETHODCALLTYPE TcxControl::IsPanArea(const TPoint& APoint) {
  return PtInRect(GetClientBounds(), APoint) && !IsScrollBarsArea(APoint);
}
bool STDMETHODCALLTYPE TcxControl::NeedPanningFeedback(TScrollBarKind) { return true; }
IdxGestureClient* STDMETHODCALLTYPE TcxControl::GetGestureClient(const TPoint&) { return this; }
HWND STDMETHODCALLTYPE TcxControl::GetGestureClientHandle() { return Handle(); }
bool STDMETHODCALLTYPE TcxControl::IsGestureTarget(HWND AWnd) {
  return HandleAllocated() && AWnd == FHandle;
}

// The set and its parts.
TClass TcxControl::GetMainScrollBarsClass() { return nullptr; }
TClass TcxControl::GetScrollBarClass(TScrollBarKind) { return nullptr; }
TClass TcxControl::GetSizeGripClass() { return nullptr; }
void TcxControl::DrawScrollBars(TcxCanvas*) {}
void TcxControl::BringInternalControlsToFront() {}
bool TcxControl::IsInternalControl(TControl*) { return false; }
void TcxControl::DoScrollUIModeChanged() {}

// Touch and hybrid scroll UI.
void TcxControl::CheckTouchScrollUIPosition() { UpdateScrollBars(); }
TWinControl* TcxControl::GetTouchScrolUIOwnerControl() { return this; }
bool TcxControl::HasVisibleTouchScrollUI() { return false; }
void TcxControl::HideTouchScrollUIDirectly() {}
TColor TcxControl::GetHybridScrollbarBaseColor() { return FHybridScrollbarBaseColor; }
TdxHybridScrollbarsManager* TcxControl::GetManager() { return FHybridScrollbarsManager; }
void TcxControl::InvalidateScrollbars() {}
void TcxControl::ShowTouchScrollUI(TcxControl*, bool) {}
bool TcxControl::AllowTouchScrollUIMode() { return false; }
bool TcxControl::AllowHybridScrollbarMode() { return AllowTouchScrollUIMode(); }
void TcxControl::CheckTouchScrollUIMode() {}
bool TcxControl::IsPopupScrollBars() { return FScrollbarMode != sbmClassic; }
bool TcxControl::IsTouchScrollUIMode() { return FScrollbarMode == sbmTouch; }
bool TcxControl::HasScrollBarArea() { return FScrollbarMode == sbmClassic; }
bool TcxControl::HasScrollBars() { return NeedsScrollBars(); }
bool TcxControl::NeedsScrollBars() { return true; }

// Update protocol.
void TcxControl::DoCreateScrollBars() { CreateScrollBars(); }
void TcxControl::DoDestroyScrollBars() { DestroyScrollBars(); }
bool TcxControl::CanUpdateScrollBars() { return !IsLoading() && NeedsScrollBars(); }
void TcxControl::DoUpdateScrollBars() {}
void TcxControl::InitScrollBars() {}
void TcxControl::InitScrollBarsParameters() {}
void TcxControl::InitScrollBarsParametersCache() {}
bool TcxControl::IsPixelScrollBar(TScrollBarKind) { return false; }
void TcxControl::ScrollBarVisibilityChanged(TcxScrollBarKinds) { BoundsChanged(); }
void TcxControl::Scroll(TScrollBarKind, TScrollCode, Integer&) {}
bool TcxControl::CanScrollLineWithoutScrollBars(TcxDirection) { return false; }
void TcxControl::SetInternalControlsBounds() {}
void TcxControl::UpdateInternalControlsState() {}
bool TcxControl::NeedsToBringInternalControlsToFront() { return !IsDesigning(); }
void TcxControl::HideScrollBars() {}
TScrollStyle TcxControl::GetSystemSizeScrollBars() { return ssBoth; }
void TcxControl::UpdateScrollBars() {}
void TcxControl::ScrollUIModeChanged() { DoScrollUIModeChanged(); }
void TcxControl::SetScrollBars(TScrollStyle AValue) { FScrollBars = AValue; }
void TcxControl::SetHybridScrollbarBaseColor(TColor AValue) { FHybridScrollbarBaseColor = AValue; }

// Geometry.
Integer TcxControl::GetHScrollBarAreaHeight() { return 0; }
Integer TcxControl::GetVScrollBarAreaWidth() { return 0; }
Integer TcxControl::GetHScrollBarDefaultAreaHeight() { return 0; }
Integer TcxControl::GetVScrollBarDefaultAreaWidth() { return 0; }
TRect TcxControl::GetHScrollBarBounds() { return TRect{0, 0, 0, 0}; }
TRect TcxControl::GetVScrollBarBounds() { return TRect{0, 0, 0, 0}; }
TRect TcxControl::GetSizeGripBounds() { return TRect{0, 0, 0, 0}; }
bool TcxControl::IsScrollBarsArea(const TPoint&) { return false; }
bool TcxControl::IsSizeGripArea(const TPoint&) { return false; }
bool TcxControl::IsSizeGripVisible() { return false; }
TColor TcxControl::GetScrollContentForegroundColor() {
  return GetLookAndFeelPainter()->DefaultContentTextColor();
}

// Operations of the control, not overridable.
void TcxControl::SetScrollBarInfo(TScrollBarKind, Integer, Integer, Integer, Integer, Integer,
                                  bool, bool) {}
void TcxControl::LockScrollBars() {}
void TcxControl::UnlockScrollBars() {}
IcxControlScrollBar* TcxControl::GetScrollBar(TScrollBarKind) { return nullptr; }
IcxControlScrollBar* TcxControl::GetHScrollBar() { return GetScrollBar(sbHorizontal); }
IcxControlScrollBar* TcxControl::GetVScrollBar() { return GetScrollBar(sbVertical); }
bool TcxControl::IsScrollBarActive(TScrollBarKind) { return false; }
bool TcxControl::IsScrollBarsCapture() { return false; }
TSize TcxControl::GetScrollBarSize() { return TSize{0, 0}; }
TdxScrollbarMode TcxControl::GetLookAndFeelScrollbarMode() { return sbmClassic; }
bool TcxControl::IsScrollBarModeChanged() { return false; }
void TcxControl::CreateScrollBars() {}
void TcxControl::DestroyScrollBars() {}
void TcxControl::CheckNeedsScrollBars() {}
void TcxControl::HideTouchScrollUI(TcxControl*, bool) {}
bool TcxControl::IsTouchScrollUIHidden(TcxControl*) { return true; }
void TcxControl::Deactivate(TcxControl*) {}
bool TcxControl::GetHScrollBarVisible() { return false; }
bool TcxControl::GetVScrollBarVisible() { return false; }
TObject* TcxControl::GetSizeGrip() { return nullptr; }
void TcxControl::DoScrollBarBasedGestureScroll(TScrollBarKind, Integer&, Integer, Integer) {}
void TcxControl::DXMNCSizeChanged(TMessage&) {}

// What the rest of the control calls.
void TcxControl::CreateScrollingObjects() {}
void TcxControl::DestroyScrollingObjects() {}
bool TcxControl::ScrollBarsManagerHandleMessage(TMessage&) { return false; }
void TcxControl::CheckTouchScrollActivity(TMessage&) {}
void TcxControl::UnInitMainScrollBars() {}
Integer TcxControl::GetScrollBarPosition(TScrollBarKind) { return 0; }

// Child components belong to the control they are added to.
void TcxControl::AddChildComponent(TcxControlChildComponent*) {}
void TcxControl::RemoveChildComponent(TcxControlChildComponent*) {}
