#include "cxContainer.h"

IMPLEMENT_CREATABLE_CLASS(TcxCustomInnerListBox)

IMPLEMENT_MESSAGE_TABLE(TcxCustomInnerListBox,
                        {WM_SETFOCUS, MessageHandler<&TcxCustomInnerListBox::WMSetFocus>},
                        {WM_KILLFOCUS, MessageHandler<&TcxCustomInnerListBox::WMKillFocus>})

TcxCustomInnerListBox::TcxCustomInnerListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

void TcxCustomInnerListBox::AfterConstruction() {
  inherited::AfterConstruction();
  FLookAndFeel = MakeOwned<TcxLookAndFeel>(this);
  FLookAndFeel->SetOnChanged(MakeEvent<&TcxCustomInnerListBox::LookAndFeelChanged>(this));
  FScrollUIActivityHelper = MakeOwned<TdxTouchScrollUIActivityHelper>();
  for (TScrollBarKind AKind : {sbHorizontal, sbVertical}) {
    auto* ABar = Create<TcxScrollBar>(this);
    ABar->SetKind(AKind);
    ABar->SetSmallChange(1);
    ABar->SetVisible(false);
    ABar->LookAndFeel()->SetMasterLookAndFeel(FLookAndFeel.get());
    ABar->FreeNotification(this);
    if (AKind == sbHorizontal) {
      ABar->SetOnScroll(MakeEvent<&TcxCustomInnerListBox::HScrollHandler>(this));
      FHScrollBar = ABar;
    } else {
      ABar->SetOnScroll(MakeEvent<&TcxCustomInnerListBox::VScrollHandler>(this));
      FVScrollBar = ABar;
    }
  }
  TControlStyle S = ControlStyle();
  S.Exclude(csOpaque);
  S.Include(csDoubleClicks);
  SetControlStyle(S);
  SetParentColor(false);
  SetParentFont(true);
}

TcxCustomInnerListBox::~TcxCustomInnerListBox() {
  // The bars are components of the list box and go with it; their look and
  // feel must not outlive its master.
  for (TcxScrollBar* ABar : {FHScrollBar, FVScrollBar})
    if (ABar) ABar->LookAndFeel()->SetMasterLookAndFeel(nullptr);
}

void TcxCustomInnerListBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The container draws the border.
  Params.ExStyle &= ~WS_EX_CLIENTEDGE;
  Params.Style &= ~WS_BORDER;
}

void TcxCustomInnerListBox::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FHScrollBar) FHScrollBar = nullptr;
  if (AComponent == FVScrollBar) FVScrollBar = nullptr;
}

HRESULT STDMETHODCALLTYPE TcxCustomInnerListBox::QueryInterface(REFIID AIID, void** AObj) {
  if (IsEqualGUID(AIID, __uuidof(IcxContainerInnerControl))) {
    *AObj = static_cast<IcxContainerInnerControl*>(this);
    return S_OK;
  }
  *AObj = nullptr;
  return E_NOINTERFACE;
}

void TcxCustomInnerListBox::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {
  if (HandleAllocated()) Invalidate();
}

bool TcxCustomInnerListBox::ItemVisible(Integer AIndex) {
  TRect R = ItemRect(AIndex);
  TRect C = ClientRect();
  auto In = [&](Integer X, Integer Y) {
    return X >= C.left && X < C.right && Y >= C.top && Y < C.bottom;
  };
  return In(R.left, R.top) || In(R.right - 1, R.top) || In(R.left, R.bottom - 1) ||
         In(R.right - 1, R.bottom - 1);
}

// ---------------------------------------------------------------------------
// Input passed on to the container

TPoint TcxCustomInnerListBox::ToContainer(Integer X, Integer Y) {
  POINT P{X, Y};
  MapWindowPoints(Handle(), FContainer->Handle(), &P, 1);
  return TPoint{P.x, P.y};
}

void TcxCustomInnerListBox::KeyDown(Word& Key, TShiftState Shift) {
  if (FContainer) FContainer->ContainerKeyDown(Key, Shift);
  if (Key != 0) inherited::KeyDown(Key, Shift);
}

void TcxCustomInnerListBox::KeyUp(Word& Key, TShiftState Shift) {
  if (Key == VK_TAB) Key = 0;
  if (FContainer) FContainer->ContainerKeyUp(Key, Shift);
  if (Key != 0) inherited::KeyUp(Key, Shift);
}

void TcxCustomInnerListBox::KeyPress(Char& Key) {
  if (Key == L'\t') Key = 0;
  if (FContainer && Key != 0) FContainer->ContainerKeyPress(Key);
  if (Key == L'\r') Key = 0;
  if (Key == 0) return;
  inherited::KeyPress(Key);
  // The platform list box's own search by typed letters is not used.
  if (Key != 0) DoAutoComplete(Key);
}

void TcxCustomInnerListBox::DoAutoComplete(Char& AKey) {
  if (!FAutoComplete) return;
  DWORD ANow = FClock();
  if (ANow - FPrevKeyPressTime >= FAutoCompleteDelay) FAutoCompleteFilter.clear();
  FPrevKeyPressTime = ANow;
  if (AKey == VK_BACK) {
    if (!FAutoCompleteFilter.empty()) {
      // A character of two UTF-16 units goes as a whole.
      size_t N =
          FAutoCompleteFilter.size() >= 2 && IS_LOW_SURROGATE(FAutoCompleteFilter.back()) ? 2 : 1;
      FAutoCompleteFilter.resize(FAutoCompleteFilter.size() - N);
    }
  } else if (AKey != L'\r' && AKey != 27)
    FAutoCompleteFilter += AKey;
  if (FAutoCompleteFilter.empty()) {
    SetItemIndex(0);
    Click();
  } else {
    Integer AIndex = FindAutoCompleteString(FAutoCompleteFilter);
    if (AIndex >= 0) {
      if (MultiSelect()) {
        SendMessageW(Handle(), LB_SETSEL, FALSE, -1);
        SetSelected(AIndex, true);
      }
      SetItemIndex(AIndex);
      Click();
    }
  }
  if (AKey != VK_BACK && AKey != L'\r' && AKey != 27) AKey = 0;
}

Integer TcxCustomInnerListBox::FindAutoCompleteString(const String& AText) {
  // The platform's prefix search ignores letter case; -1 starts at the top.
  LRESULT R = SendMessageW(Handle(), LB_FINDSTRING, static_cast<WPARAM>(-1),
                           reinterpret_cast<LPARAM>(AText.c_str()));
  return R == LB_ERR ? -1 : static_cast<Integer>(R);
}

void TcxCustomInnerListBox::MouseDown(TMouseButton Button, TShiftState Shift, Integer X,
                                      Integer Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  if (!FContainer) return;
  FContainer->SetInnerControlMouseDown(true);
  auto AReset = Finally([this] {
    if (FContainer) FContainer->SetInnerControlMouseDown(false);
  });
  TPoint P = ToContainer(X, Y);
  FContainer->ContainerMouseDown(Button, Shift, P.x, P.y);
}

void TcxCustomInnerListBox::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseMove(Shift, X, Y);
  if (!FContainer) return;
  TPoint P = ToContainer(X, Y);
  FContainer->ContainerMouseMove(Shift, P.x, P.y);
}

void TcxCustomInnerListBox::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  if (!FContainer) return;
  TPoint P = ToContainer(X, Y);
  FContainer->ContainerMouseUp(Button, Shift, P.x, P.y);
}

void TcxCustomInnerListBox::Click() {
  inherited::Click();
  if (FVScrollBar && FVScrollBar->Visible() && HandleAllocated())
    FVScrollBar->SetPosition(TopIndex());
  if (FContainer) {
    FContainer->ContainerClick();
    if (FContainer) FContainer->ContainerShowTouchScrollUI(true);
  }
}

void TcxCustomInnerListBox::DblClick() {
  inherited::DblClick();
  if (FContainer) FContainer->ContainerDblClick();
}

void TcxCustomInnerListBox::DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled) {
  AHandled = false;
  if (!FContainer || AEventInfo.GestureID != gcPanEvent) return;
  // Shown from the begin without the timer, so that a slow pan keeps them;
  // the end leaves them to the timer.
  if (AEventInfo.Flags.Contains(gfBegin))
    FContainer->ContainerShowTouchScrollUI(false);
  else if (AEventInfo.Flags.Contains(gfEnd))
    FContainer->ContainerHideTouchScrollUI();
}

void TcxCustomInnerListBox::DoGetGestureOptions(TInteractiveGestures& AGestures,
                                                TInteractiveGestureOptions& AOptions) {
  if (!FContainer) return inherited::DoGetGestureOptions(AGestures, AOptions);
  AGestures = FContainer->Touch()->InteractiveGestures();
  AOptions = FContainer->Touch()->InteractiveGestureOptions();
}

void TcxCustomInnerListBox::MouseEnter(TControl*) {}

void TcxCustomInnerListBox::MouseLeave(TControl*) {
  if (FContainer) FContainer->ShortRefreshContainer(true);
}

void TcxCustomInnerListBox::CMMouseEnter(TMessage& Message) {
  TcxObjectLinkGuard ALink(this);
  inherited::CMMouseEnter(Message);
  if (ALink.Alive())
    MouseEnter(Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this);
}

void TcxCustomInnerListBox::CMMouseLeave(TMessage& Message) {
  TcxObjectLinkGuard ALink(this);
  inherited::CMMouseLeave(Message);
  if (ALink.Alive())
    MouseLeave(Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this);
}

void TcxCustomInnerListBox::CNDrawItem(TMessage& Message) {
  // The handler still hears that the item has the focus.
  auto* AItem = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  if (AItem && !NeedDrawFocusRect()) AItem->itemState |= ODS_NOFOCUSRECT;
  inherited::CNDrawItem(Message);
}

void TcxCustomInnerListBox::DefaultHandler(TMessage& Message) {
  if (FContainer && FContainer->InnerControlDefaultHandler(Message)) return;
  inherited::DefaultHandler(Message);
}

void TcxCustomInnerListBox::CreateWnd() {
  inherited::CreateWnd();
  if (!FContainer) return;
  FContainer->ClearSavedChildControlRegions();
  // The framework's realignment does not name the control; the container
  // places this one itself, once it knows its client rectangle (before, an
  // empty one would cut the whole list away).
  if (!FContainer->IsViewInfoCalculated()) return;
  TRect R = FContainer->ViewInfo()->ClientRect;
  FContainer->AlignControls(this, R);
}

void TcxCustomInnerListBox::DestroyWindowHandle() {
  FIsRedrawLocked = false;
  inherited::DestroyWindowHandle();
}

TPopupMenuBase* TcxCustomInnerListBox::GetPopupMenu() {
  return FContainer ? FContainer->ContainerPopupMenu() : inherited::GetPopupMenu();
}

void TcxCustomInnerListBox::WMGetDlgCode(TMessage& Message) {
  inherited::WMGetDlgCode(Message);
  Message.Result |= DLGC_WANTCHARS;
  if (GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
}

void TcxCustomInnerListBox::WMSetFocus(TMessage& Message) {
  DefaultHandler(Message);
  if (!FContainer || FContainer->IsDestroying() || ComponentState().Contains(csDestroying)) return;
  if (FContainer->HandleAllocated() &&
      reinterpret_cast<HWND>(Message.WParam) == FContainer->Handle())
    return;
  FContainer->ContainerFocusChanged();
}

void TcxCustomInnerListBox::WMKillFocus(TMessage& Message) {
  DefaultHandler(Message);
  if (FContainer && !FContainer->IsDestroying()) FContainer->ContainerFocusChanged();
}

// ---------------------------------------------------------------------------
// Library scroll bars over the native ones

void TcxCustomInnerListBox::WndProc(TMessage& Message) {
  if (FContainer && FContainer->InnerControlMenuHandler(Message)) return;
  if (FContainer && FContainer->ContainerIsPopupScrollBars() &&
      FScrollUIActivityHelper->CheckScrollActivity(this, Message))
    FContainer->ContainerShowTouchScrollUI(true);
  if (DragPress(Message)) return;
  if (Message.Msg == WM_SETREDRAW) FIsRedrawLocked = Message.WParam == 0;
  inherited::WndProc(Message);
  switch (Message.Msg) {
    case WM_NCPAINT:
      if (HandleAllocated()) {
        TNonClientDC ADC(Handle());
        DrawSizeGrip(ADC.Get());
      }
      break;
    case WM_PRINT:
      // After the default printing, which draws the native corner.
      if (Message.LParam & PRF_NONCLIENT) DrawSizeGrip(reinterpret_cast<HDC>(Message.WParam));
      break;
    case WM_SETREDRAW:
      if (Message.WParam == 0) break;
      [[fallthrough]];
    case WM_WINDOWPOSCHANGED:
      if (Message.Msg == WM_WINDOWPOSCHANGED && HandleAllocated() && IsSizeGripVisible())
        cxRedrawSizeGrip(Handle(), GetSizeGripRect());
      [[fallthrough]];
    case WM_NCCALCSIZE:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETCURSEL:
    case LB_SETHORIZONTALEXTENT:
    case LB_SETTOPINDEX:
    case LB_SETCARETINDEX:
    case WM_MOUSEWHEEL:
    case CM_WININICHANGE:
    case CM_RECREATEWND:
      if (!FScrollBarsCalculating) SetExternalScrollBarsParameters();
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (!FScrollBarsCalculating) SetExternalScrollBarsParameters();
      if (FContainer) FContainer->ContainerShowTouchScrollUI(true);
      break;
  }
}

void TcxCustomInnerListBox::PlaceScrollBar(TcxScrollBar* ABar, TScrollBarKind AKind) {
  SCROLLBARINFO AInfo;
  TRect R{};
  bool AEnabled = false;
  if (cxGetScrollBarInfo(Handle(), AKind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, AInfo) &&
      cxIsScrollBarShown(AInfo)) {
    AEnabled = !(AInfo.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) && Parent()->Enabled();
    R = cxNativeScrollBarRectIn(AInfo, Parent()->Handle());
  }
  if (R.right <= R.left || R.bottom <= R.top) {
    ABar->SetBoundsRect(TRect{});
    ABar->SetVisible(false);
    return;
  }
  {
    ++FScrollBarsLockCount;
    auto AUnlock = Finally([this] { --FScrollBarsLockCount; });
    ABar->SetParent(Parent());
    ABar->GetScaleFactor()->Assign(dxSystemScaleFactor());
    ABar->SetBoundsRect(R);
    ABar->SetEnabled(AEnabled);
    ABar->SetCtl3D(false);
    if (FContainer && FContainer->NeedsScrollBars())
      ABar->SetVisible(false);
    else {
      ABar->SetVisible(true);
      ABar->BringToFront();
    }
  }
  if (!ABar->Visible()) return;
  SCROLLINFO AScroll;
  if (cxGetNativeScrollParameters(Handle(), AKind, AScroll))
    ABar->SetScrollParams(AScroll.nMin, AScroll.nMax, AScroll.nPos,
                          static_cast<Integer>(AScroll.nPage));
}

void TcxCustomInnerListBox::SetExternalScrollBarsParameters() {
  if (ComponentState().Contains(csDestroying) || FScrollBarsLockCount > 0 || FIsRedrawLocked ||
      !UsecxScrollBars() || !Parent() || !HandleAllocated() || !Parent()->HandleAllocated())
    return;
  FScrollBarsCalculating = true;
  auto AReset = Finally([this] { FScrollBarsCalculating = false; });
  if (FHScrollBar) PlaceScrollBar(FHScrollBar, sbHorizontal);
  if (FVScrollBar) PlaceScrollBar(FVScrollBar, sbVertical);
  if (FContainer) FContainer->SetScrollBarsParameters(false);
}

void TcxCustomInnerListBox::Scroll(TScrollBarKind AKind, TScrollCode AScrollCode,
                                   Integer& AScrollPos) {
  WPARAM W = MAKEWPARAM(static_cast<WORD>(AScrollCode), static_cast<WORD>(AScrollPos));
  if (AKind == sbHorizontal)
    CallWindowProcW(FDefWndProc, Handle(), WM_HSCROLL, W,
                    reinterpret_cast<LPARAM>(FHScrollBar->Handle()));
  else if (AScrollCode == scLineUp || AScrollCode == scLineDown || AScrollCode == scPosition ||
           AScrollCode == scTrack)
    SetTopIndex(AScrollPos);
  else
    CallWindowProcW(FDefWndProc, Handle(), WM_VSCROLL, W, 0);
  AScrollPos = GetScrollPos(Handle(), AKind == sbHorizontal ? SB_HORZ : SB_VERT);
}

void TcxCustomInnerListBox::HScrollHandler(TObject*, TScrollCode AScrollCode, Integer& AScrollPos) {
  if (FHScrollBar && FHScrollBar->HandleAllocated()) Scroll(sbHorizontal, AScrollCode, AScrollPos);
}

void TcxCustomInnerListBox::VScrollHandler(TObject*, TScrollCode AScrollCode, Integer& AScrollPos) {
  if (FVScrollBar && FVScrollBar->HandleAllocated()) Scroll(sbVertical, AScrollCode, AScrollPos);
}

// ---------------------------------------------------------------------------
// Size grip

bool TcxCustomInnerListBox::IsSizeGripVisible() {
  if (!FContainer) return false;
  IcxControlScrollBar* AHBar = FContainer->GetHScrollBar();
  IcxControlScrollBar* AVBar = FContainer->GetVScrollBar();
  return AHBar && AVBar && AHBar->GetVisible() && AVBar->GetVisible();
}

TRect TcxCustomInnerListBox::GetSizeGripRect() {
  return IsSizeGripVisible() ? ::GetSizeGripRect(this) : TRect{};
}

void TcxCustomInnerListBox::DrawSizeGrip(HDC ADC) {
  if (FContainer && UsecxScrollBars() && IsSizeGripVisible())
    cxFillSizeGrip(FContainer, ADC, GetSizeGripRect());
}

bool TcxCustomInnerListBox::DoMouseWheel(TShiftState Shift, Integer WheelDelta,
                                         const TPoint& MousePos) {
  if (FContainer && FContainer->ContainerMouseWheel(Shift, WheelDelta, MousePos)) return true;
  return inherited::DoMouseWheel(Shift, WheelDelta, MousePos);
}
