#include "cxContainer.h"

// ---------------------------------------------------------------------------
// Native scroll-bar queries

TcxScrollBarInfoEntry& cxScrollBarInfoEntry() {
  static TcxScrollBarInfoEntry Entry;
  return Entry;
}

namespace {
TcxGetScrollBarInfoProc ScrollBarInfoProc() {
  TcxScrollBarInfoEntry& E = cxScrollBarInfoEntry();
  if (!E.Resolved) {
    E.Resolved = true;
    if (HMODULE AUser = GetModuleHandleW(L"user32.dll"))
      E.Proc = reinterpret_cast<TcxGetScrollBarInfoProc>(
          reinterpret_cast<void*>(GetProcAddress(AUser, "GetScrollBarInfo")));
  }
  return E.Proc;
}

LONG ScrollBarObject(TScrollBarKind AKind) {
  return AKind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL;
}

bool IsEmptyRect(const TRect& R) { return R.right <= R.left || R.bottom <= R.top; }
}  // namespace

bool UsecxScrollBars() { return ScrollBarInfoProc() != nullptr; }

bool cxGetScrollBarInfo(HWND AWnd, LONG AObject, SCROLLBARINFO& AInfo) {
  AInfo = SCROLLBARINFO{};
  AInfo.cbSize = sizeof(AInfo);
  TcxGetScrollBarInfoProc AProc = ScrollBarInfoProc();
  return AProc && AProc(AWnd, AObject, &AInfo);
}

bool cxIsScrollBarShown(const SCROLLBARINFO& AInfo) {
  return !(AInfo.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN));
}

bool cxIsNativeScrollBarVisible(HWND AWnd, TScrollBarKind AKind, SCROLLBARINFO& AInfo) {
  if (!cxGetScrollBarInfo(AWnd, ScrollBarObject(AKind), AInfo)) return false;
  const RECT& R = AInfo.rcScrollBar;
  return cxIsScrollBarShown(AInfo) && R.right > R.left && R.bottom > R.top;
}

TRect cxNativeScrollBarRectIn(const SCROLLBARINFO& AInfo, HWND AParent) {
  POINT ACorners[2] = {{AInfo.rcScrollBar.left, AInfo.rcScrollBar.top},
                       {AInfo.rcScrollBar.right, AInfo.rcScrollBar.bottom}};
  MapWindowPoints(nullptr, AParent, ACorners, 2);
  TRect R{ACorners[0].x, ACorners[0].y, ACorners[1].x, ACorners[1].y};
  RECT AClient, AMeet;
  GetClientRect(AParent, &AClient);
  RECT ABar = R;
  return IntersectRect(&AMeet, &ABar, &AClient) ? R : TRect{};
}

bool cxGetNativeScrollParameters(HWND AWnd, TScrollBarKind AKind, SCROLLINFO& AInfo) {
  AInfo = SCROLLINFO{};
  AInfo.cbSize = sizeof(AInfo);
  AInfo.fMask = SIF_ALL;
  if (!GetScrollInfo(AWnd, AKind == sbHorizontal ? SB_HORZ : SB_VERT, &AInfo)) return false;
  if (static_cast<Integer>(AInfo.nPage) > AInfo.nMax) AInfo.nPage = static_cast<UINT>(AInfo.nMax);
  return true;
}

// ---------------------------------------------------------------------------
// The size grip between the library bars

TRect GetSizeGripRect(IcxContainerInnerControl* AInnerControl) {
  if (!AInnerControl) return TRect{};
  TcxContainer* AContainer = AInnerControl->GetControlContainer();
  TWinControl* AControl = AInnerControl->GetControl();
  if (!AContainer || !AControl || !AContainer->HandleAllocated() || !AControl->HandleAllocated())
    return TRect{};
  IcxControlScrollBar* AHBar = AContainer->GetHScrollBar();
  IcxControlScrollBar* AVBar = AContainer->GetVScrollBar();
  if (!AHBar || !AVBar || !AHBar->GetVisible() || !AVBar->GetVisible()) return TRect{};
  POINT ACorners[2] = {
      {AVBar->GetLeft(), AHBar->GetTop()},
      {AVBar->GetLeft() + AVBar->GetWidth(), AHBar->GetTop() + AHBar->GetHeight()}};
  MapWindowPoints(AContainer->Handle(), nullptr, ACorners, 2);
  RECT AWindow;
  GetWindowRect(AControl->Handle(), &AWindow);
  return TRect{ACorners[0].x - AWindow.left, ACorners[0].y - AWindow.top,
               ACorners[1].x - AWindow.left, ACorners[1].y - AWindow.top};
}

void cxRedrawSizeGrip(HWND AWnd, const TRect& ARect) {
  if (!AWnd || IsEmptyRect(ARect)) return;
  // The platform takes a non-client update region in screen coordinates.
  RECT AWindow;
  GetWindowRect(AWnd, &AWindow);
  TRegionHandle ARegion(CreateRectRgn(ARect.left + AWindow.left, ARect.top + AWindow.top,
                                      ARect.right + AWindow.left, ARect.bottom + AWindow.top));
  SendMessageW(AWnd, WM_NCPAINT, reinterpret_cast<WPARAM>(ARegion.Get()), 0);
}

void cxFillSizeGrip(TcxContainer* AContainer, HDC ADC, const TRect& ARect) {
  if (!AContainer || !ADC || IsEmptyRect(ARect)) return;
  // The grip sits where the platform put it, whatever the reading order.
  DWORD ALayout = GetLayout(ADC);
  SetLayout(ADC, 0);
  auto ARestore = Finally([&] { SetLayout(ADC, ALayout); });
  FillRectByColor(ADC, ARect, AContainer->LookAndFeel()->Painter()->DefaultSizeGripAreaColor());
}

void cxFillSizeGrip(TcxContainer* AContainer, const TRect& ARect) {
  if (!AContainer || !AContainer->HasInnerControlHandle() || IsEmptyRect(ARect)) return;
  TNonClientDC ADC(AContainer->InnerControl()->Handle());
  cxFillSizeGrip(AContainer, ADC.Get(), ARect);
}

// ---------------------------------------------------------------------------
// The container's library bars over its inner control's native ones

void TcxContainer::UpdateScrollBarsParameters() {
  if (HandleAllocated() && HasInnerControl()) PostMessageW(Handle(), DXM_UPDATESCROLLBARS, 0, 0);
}

void TcxContainer::DXMUpdateScrollBars(TMessage&) { SetScrollBarsParameters(false); }

void TcxContainer::UpdateScrollBars() {
  if (UseInnerControlScrollBarParameters())
    SetScrollBarsParameters(false);
  else
    inherited::UpdateScrollBars();
}

void TcxContainer::Scroll(TScrollBarKind AScrollBarKind, TScrollCode AScrollCode,
                          Integer& AScrollPos) {
  if (!UseInnerControlScrollBarParameters() || !HasInnerControlHandle())
    return inherited::Scroll(AScrollBarKind, AScrollCode, AScrollPos);
  HWND AInner = FInnerControl->Handle();
  const bool AHorizontal = AScrollBarKind == sbHorizontal;
  SendMessageW(AInner, AHorizontal ? WM_HSCROLL : WM_VSCROLL,
               MAKEWPARAM(static_cast<WORD>(AScrollCode), static_cast<WORD>(AScrollPos)), 0);
  AScrollPos = GetScrollPos(AInner, AHorizontal ? SB_HORZ : SB_VERT);
}

bool TcxContainer::GetScrollBarInfo(TScrollBarKind AKind, SCROLLBARINFO& AInfo) {
  if (!HasInnerControlHandle()) {
    AInfo = SCROLLBARINFO{};
    return false;
  }
  return cxGetScrollBarInfo(FInnerControl->Handle(), ScrollBarObject(AKind), AInfo);
}

bool TcxContainer::IsScrollBarVisible(TScrollBarKind AKind, SCROLLBARINFO& AInfo) {
  if (!HasInnerControlHandle()) {
    AInfo = SCROLLBARINFO{};
    return false;
  }
  return cxIsNativeScrollBarVisible(FInnerControl->Handle(), AKind, AInfo);
}

bool TcxContainer::GetStandardScrollBarParameters(TScrollBarKind AKind, SCROLLINFO& AScrollInfo) {
  if (!HasInnerControlHandle()) {
    AScrollInfo = SCROLLINFO{};
    return false;
  }
  return cxGetNativeScrollParameters(FInnerControl->Handle(), AKind, AScrollInfo);
}

bool TcxContainer::GetScrollBarEnabled(IcxControlScrollBar*, const SCROLLBARINFO& AInfo) {
  return Enabled() && !(AInfo.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
}

TRect TcxContainer::GetScrollBarBounds(const SCROLLBARINFO& AInfo) {
  return HandleAllocated() ? cxNativeScrollBarRectIn(AInfo, Handle()) : TRect{};
}

void TcxContainer::SetScrollBarVisible(IcxControlScrollBar* ABar, bool AVisible) {
  if (AVisible) {
    if (auto* AWindowed = dynamic_cast<TcxScrollBar*>(ABar->GetControl())) {
      AWindowed->SetCtl3D(false);
      AWindowed->BringToFront();
    }
  }
  ABar->SetVisible(AVisible);
}

void TcxContainer::AdjustScrollBarPosition(IcxControlScrollBar* ABar) {
  SCROLLBARINFO AInfo;
  if (!IsScrollBarVisible(ABar->GetKind(), AInfo)) {
    SetScrollBarVisible(ABar, false);
    return;
  }
  ABar->SetEnabled(GetScrollBarEnabled(ABar, AInfo));
  TRect R = GetScrollBarBounds(AInfo);
  // The native bar is drawn at the system's resolution; so is its cover.
  if (auto* AWindowed = dynamic_cast<TcxScrollBar*>(ABar->GetControl()))
    AWindowed->GetScaleFactor()->Assign(dxSystemScaleFactor());
  ABar->SetBoundsRect(R);
  SetScrollBarVisible(ABar, !IsEmptyRect(R));
}

void TcxContainer::AdjustScrollBarPositions() {
  for (TScrollBarKind AKind : {sbHorizontal, sbVertical})
    if (IcxControlScrollBar* ABar = GetScrollBar(AKind)) AdjustScrollBarPosition(ABar);
}

void TcxContainer::SetScrollBarsParameters(bool AIsScrolling) {
  if (!FInnerControl || !NeedsScrollBars() || IsDestroying() || !UsecxScrollBars()) return;
  // Moving a bar may come back here through the inner control's own
  // notifications; the outer pass finishes the work.
  if (FScrollBarsCalculating || !HandleAllocated() || !HasInnerControlHandle()) return;
  FScrollBarsCalculating = true;
  auto AReset = Finally([this] { FScrollBarsCalculating = false; });
  if (IsPopupScrollBars() && !AIsScrolling) AdjustScrollBarPositions();
  SetScrollBarParameters(sbHorizontal, AIsScrolling);
  SetScrollBarParameters(sbVertical, AIsScrolling);
  UpdateSizeGrip();
}

void TcxContainer::SetScrollBarParameters(TScrollBarKind AKind, bool AIsScrolling) {
  IcxControlScrollBar* ABar = GetScrollBar(AKind);
  if (!ABar) return;
  if (IsPopupScrollBars()) {
    if (!ABar->GetData()->FVisible) {
      ABar->ApplyData();
      return;
    }
  } else {
    if (!AIsScrolling) AdjustScrollBarPosition(ABar);
    if (!ABar->GetVisible()) return;
  }
  SCROLLINFO AInfo;
  if (!GetStandardScrollBarParameters(AKind, AInfo)) return;
  if (AKind == sbHorizontal && !UseSystemRightToLeftLayoutForInnerControl())
    if (TWinControl* AControl = ABar->GetControl()) AControl->SetBiDiMode(bdLeftToRight);
  const Integer APage = static_cast<Integer>(AInfo.nPage);
  if (!IsPopupScrollBars()) {
    if (auto* AWindowed = dynamic_cast<TcxScrollBar*>(ABar->GetControl())) {
      AWindowed->SetScrollParams(AInfo.nMin, AInfo.nMax, AInfo.nPos, APage);
    } else {
      ABar->SetMin(AInfo.nMin);
      ABar->SetMax(AInfo.nMax);
      ABar->SetPageSize(APage);
      ABar->SetPosition(AInfo.nPos);
    }
    return;
  }
  bool AVisible = ABar->GetData()->FVisible;
  SetScrollBarInfo(AKind, AInfo.nMin, AInfo.nMax, ABar->GetSmallChange(), APage, AInfo.nPos, true,
                   true);
  ABar->GetData()->FVisible = AVisible;
  ABar->ApplyData();
}

void TcxContainer::UpdateSizeGrip() {
  if (IsPopupScrollBars()) {
    if (MainScrollBars()) MainScrollBars()->CheckSizeGripVisible(IsSizeGripVisible());
    return;
  }
  auto* AInner = dynamic_cast<IcxContainerInnerControl*>(FInnerControl);
  IcxControlScrollBar* AHBar = GetHScrollBar();
  IcxControlScrollBar* AVBar = GetVScrollBar();
  TcxContainerSizeGripData AData;
  AData.Visible = AHBar && AVBar && AHBar->GetVisible() && AVBar->GetVisible() &&
                  HasInnerControlHandle() && AInner;
  if (AData.Visible) AData.Bounds = ::GetSizeGripRect(AInner);
  if (AData.Visible && (!FSizeGripData.Visible || FSizeGripData.Bounds != AData.Bounds))
    cxRedrawSizeGrip(FInnerControl->Handle(), AData.Bounds);
  FSizeGripData = AData;
}
