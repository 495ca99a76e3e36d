#include "cxContainer.h"

IMPLEMENT_CREATABLE_CLASS(TcxCustomInnerListBox)

IMPLEMENT_MESSAGE_TABLE(TcxCustomInnerListBox,
                        {WM_SETFOCUS, MessageHandler<&TcxCustomInnerListBox::WMSetFocus>},
                        {WM_KILLFOCUS, MessageHandler<&TcxCustomInnerListBox::WMKillFocus>})

namespace {
bool IsScrollBarShown(const SCROLLBARINFO& AInfo) {
  return !(AInfo.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN));
}
}  // namespace

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
}  // namespace

bool UsecxScrollBars() { return ScrollBarInfoProc() != nullptr; }

bool cxGetScrollBarInfo(HWND AWnd, LONG AObject, SCROLLBARINFO& AInfo) {
  AInfo = SCROLLBARINFO{};
  AInfo.cbSize = sizeof(AInfo);
  TcxGetScrollBarInfoProc AProc = ScrollBarInfoProc();
  return AProc && AProc(AWnd, AObject, &AInfo);
}

bool cxIsNativeScrollBarVisible(HWND AWnd, TScrollBarKind AKind, SCROLLBARINFO& AInfo) {
  if (!cxGetScrollBarInfo(AWnd, AKind == sbHorizontal ? OBJID_HSCROLL : OBJID_VSCROLL, AInfo))
    return false;
  const RECT& R = AInfo.rcScrollBar;
  return IsScrollBarShown(AInfo) && R.right > R.left && R.bottom > R.top;
}

TcxCustomInnerListBox::TcxCustomInnerListBox(TComponent* AOwner) : TCustomListBox(AOwner) {}

void TcxCustomInnerListBox::AfterConstruction() {
  inherited::AfterConstruction();
  FLookAndFeel = MakeOwned<TcxLookAndFeel>(this);
  FLookAndFeel->SetOnChanged(MakeEvent<&TcxCustomInnerListBox::LookAndFeelChanged>(this));
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
  if (FContainer) FContainer->ContainerClick();
}

void TcxCustomInnerListBox::DblClick() {
  inherited::DblClick();
  if (FContainer) FContainer->ContainerDblClick();
}

void TcxCustomInnerListBox::DefaultHandler(TMessage& Message) {
  if (FContainer && FContainer->InnerControlDefaultHandler(Message)) return;
  inherited::DefaultHandler(Message);
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
  if (DragPress(Message)) return;
  if (Message.Msg == WM_SETREDRAW) FIsRedrawLocked = Message.WParam == 0;
  inherited::WndProc(Message);
  switch (Message.Msg) {
    case WM_SETREDRAW:
      if (Message.WParam == 0) break;
      [[fallthrough]];
    case WM_WINDOWPOSCHANGED:
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
    case WM_HSCROLL:
    case WM_VSCROLL:
    case CM_WININICHANGE:
    case CM_RECREATEWND:
      if (!FScrollBarsCalculating) SetExternalScrollBarsParameters();
      break;
  }
}

void TcxCustomInnerListBox::PlaceScrollBar(TcxScrollBar* ABar, LONG AObjectId, int ABarFlag) {
  SCROLLBARINFO AInfo;
  TRect R{};
  bool AEnabled = false;
  if (cxGetScrollBarInfo(Handle(), AObjectId, AInfo) && IsScrollBarShown(AInfo)) {
    AEnabled = !(AInfo.rgstate[0] & STATE_SYSTEM_UNAVAILABLE) && Parent()->Enabled();
    POINT ACorners[2] = {{AInfo.rcScrollBar.left, AInfo.rcScrollBar.top},
                         {AInfo.rcScrollBar.right, AInfo.rcScrollBar.bottom}};
    MapWindowPoints(nullptr, Parent()->Handle(), ACorners, 2);
    R = TRect{ACorners[0].x, ACorners[0].y, ACorners[1].x, ACorners[1].y};
  }
  RECT AParentClient, AMeet;
  GetClientRect(Parent()->Handle(), &AParentClient);
  RECT ABarRect = R;
  if (!IntersectRect(&AMeet, &ABarRect, &AParentClient)) {
    ABar->SetBoundsRect(TRect{});
    ABar->SetVisible(false);
    return;
  }
  {
    ++FScrollBarsLockCount;
    auto AUnlock = Finally([this] { --FScrollBarsLockCount; });
    ABar->SetParent(Parent());
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
  SCROLLINFO AScroll{};
  AScroll.cbSize = sizeof(AScroll);
  AScroll.fMask = SIF_ALL;
  if (!GetScrollInfo(Handle(), ABarFlag, &AScroll)) return;
  Integer APage = std::min(static_cast<Integer>(AScroll.nPage), AScroll.nMax);
  ABar->SetScrollParams(AScroll.nMin, AScroll.nMax, AScroll.nPos, APage);
}

void TcxCustomInnerListBox::SetExternalScrollBarsParameters() {
  if (ComponentState().Contains(csDestroying) || FScrollBarsLockCount > 0 || FIsRedrawLocked ||
      !UsecxScrollBars() || !Parent() || !HandleAllocated() || !Parent()->HandleAllocated())
    return;
  FScrollBarsCalculating = true;
  auto AReset = Finally([this] { FScrollBarsCalculating = false; });
  if (FHScrollBar) PlaceScrollBar(FHScrollBar, OBJID_HSCROLL, SB_HORZ);
  if (FVScrollBar) PlaceScrollBar(FVScrollBar, OBJID_VSCROLL, SB_VERT);
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
