// Cursors, mouse tracking, the window-procedure hook and the
// application-activate helper.
#include <algorithm>

#include "WinHandles.h"
#include "cxControls.h"
#include "cxControlsInternal.h"

using namespace cxControlsInternal;

// ---------------------------------------------------------------------------
// Cursors

namespace cxControlsInternal {

void LoadControlsCursors() {
  static const std::pair<TCursor, const wchar_t*> Cursors[] = {
      {2100, L"CX_DRAGCOPYCURSOR"},
      {2101, L"CX_FULLSCROLLCURSOR"},
      {2102, L"CX_HORSCROLLCURSOR"},
      {2103, L"CX_VERSCROLLCURSOR"},
      {2104, L"CX_UPSCROLLCURSOR"},
      {2105, L"CX_RIGHTSCROLLCURSOR"},
      {2106, L"CX_DOWNSCROLLCURSOR"},
      {2107, L"CX_LEFTSCROLLCURSOR"},
      {2108, L"CX_REMOVECURSOR"},
      {2109, L"CX_VERTSIZECURSOR"},
      {2110, L"CX_HORZSIZECURSOR"},
      {2111, L"CX_MULTIDRAGCURSOR"},
      {2112, L"CX_NODROPCURSOR"},
      {2113, L"CX_DRAGCURSOR"},
      {2114, L"CX_COLORPICKERCURSOR"},
      {2115, L"CX_MULTIDRAGCOPYCURSOR"},
      {2116, L"CX_HANDCURSOR"},
      {2117, L"CX_HANDDRAGCURSOR"},
      {2119, L"DXLAYOUTCONTROLNODROP"},
      {2120, L"DXLAYOUTCONTROLREMOVE"},
      {2121, L"DXLAYOUTCONTROLDROPAFTER"},
      {2122, L"DXLAYOUTCONTROLDROPBEFORE"},
      {2123, L"DXLAYOUTCONTROLDROPINSIDE"},
      {2124, L"CXDROPAFTERCOPY"},
      {2125, L"CXDROPBEFORECOPY"},
      {2126, L"CXDROPINSIDECOPY"},
  };
  TScreen* S = Screen();
  if (!S) return;
  HINSTANCE Instance = GetModuleHandleW(nullptr);
  for (auto [Id, Name] : Cursors)
    if (HCURSOR Cursor = LoadCursorW(Instance, Name)) S->SetCursors(Id, Cursor);
  S->SetCursors(-2099, LoadCursorW(nullptr, IDC_HAND));
}

void FreeMouseTrackingTimers() {
  TControlsState& S = ControlsState();
  TdxFastList* List = S.MouseTrackingTimers;
  S.MouseTrackingTimers = nullptr;
  if (!List) return;
  // A caller that never ended its tracking is a fault of that caller; it is
  // reported, and the shut-down goes on with the services after the list.
  if (!List->Empty()) {
    try {
      throw EdxException(L"MouseTrackingTimerList.Count <> 0");
    } catch (...) {
      dxHandleException();
    }
    for (Integer I = List->Count() - 1; I >= 0; --I)
      static_cast<TMouseTrackingTimer*>(List->Items(I))->Free();
  }
  List->Free();
}

}  // namespace cxControlsInternal

// ---------------------------------------------------------------------------
// Mouse tracking

IMPLEMENT_CLASS(TMouseTrackingTimer)

TMouseTrackingTimer::TMouseTrackingTimer() : TcxTimer(nullptr) {
  SetInterval(10);
  SetOnTimer(MakeEvent<&TMouseTrackingTimer::Tick>(this));
}

void TMouseTrackingTimer::SetControl(TWinControl* AControl) {
  if (FControl) FControl->RemoveFreeNotification(this);
  FControl = AControl;
  if (FControl) FControl->FreeNotification(this);
}

void TMouseTrackingTimer::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FControl) FControl = nullptr;
}

void TMouseTrackingTimer::Tick(TObject*) { Check(); }

bool TMouseTrackingTimer::IsParentFormDisabled() const {
  if (!FControl) return false;
  TCustomForm* Form = GetParentForm(FControl);
  return !Form || !Form->HandleAllocated() || !IsWindowEnabledEx(Form->Handle());
}

bool TMouseTrackingTimer::IsCallerMouse() const {
  TPoint P = GetMouseCursorPos();
  if (FControl && FControl->HandleAllocated()) {
    HWND Wnd = FControl->Handle();
    HWND Deepest = cxWindowFromPoint(P);
    bool Overlaid = Deepest != Wnd && !IsChild(Wnd, Deepest) && GetCapture() != Wnd;
    if (Overlaid) return false;
  }
  if (auto* Caller2 = dynamic_cast<IcxMouseTrackingCaller2*>(Caller)) {
    if (!FControl) return Caller2->PtInCaller(P);
    if (!FControl->HandleAllocated()) return false;
    return Caller2->PtInCaller(FControl->ScreenToClient(P));
  }
  return PtInRect(&Bounds, P) != FALSE;
}

bool TMouseTrackingTimer::MustFinish() const {
  auto* Caller3 = dynamic_cast<IcxMouseTrackingCaller3*>(Caller);
  bool Captured = Caller3 && Caller3->IsCaptureMouse();
  return (!IsCallerMouse() && !Captured) || (FControl && IsParentFormDisabled());
}

void TMouseTrackingTimer::Check() {
  if (!MustFinish()) return;
  IcxMouseTrackingCaller* TheCaller = Caller;
  SetEnabled(false);
  if (FControl && FControl->HandleAllocated()) {
    TPoint P = FControl->ScreenToClient(GetMouseCursorPos());
    TRect Client = cxGetClientRect(FControl->Handle());
    if (!PtInRect(&Client, P) || IsParentFormDisabled())
      SendMessageW(FControl->Handle(), CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(FControl));
  }
  // The caller may have ended the tracking itself meanwhile (the leave
  // message frees controls now and then): only a timer still listed goes.
  TheCaller->MouseLeave();
  EndMouseTracking(TheCaller);
}

TMouseTrackingTimer* GetMouseTrackingTimer(IcxMouseTrackingCaller* ACaller) {
  TdxFastList* List = ControlsState().UnitIsFinalized ? nullptr : MouseTrackingTimerList();
  if (!List) return nullptr;
  for (Integer I = 0; I < List->Count(); ++I) {
    auto* Timer = static_cast<TMouseTrackingTimer*>(List->Items(I));
    if (Timer->Caller == ACaller) return Timer;
  }
  return nullptr;
}

bool IsMouseTracking(IcxMouseTrackingCaller* ACaller) {
  return GetMouseTrackingTimer(ACaller) != nullptr;
}

void BeginMouseTracking(TWinControl* AControl, const TRect& ABounds,
                        IcxMouseTrackingCaller* ACaller) {
  if (ControlsState().UnitIsFinalized || !ACaller || IsMouseTracking(ACaller)) return;
  TMouseTrackingTimer* Timer = Create<TMouseTrackingTimer>();
  Timer->SetControl(AControl);
  Timer->Bounds = ABounds;
  if (AControl) dxMapWindowRect(AControl->Handle(), nullptr, ABounds, Timer->Bounds, true);
  Timer->Caller = ACaller;
  MouseTrackingTimerList()->Add(Timer);
  Timer->SetEnabled(true);
}

void EndMouseTracking(IcxMouseTrackingCaller* ACaller) {
  TMouseTrackingTimer* Timer = GetMouseTrackingTimer(ACaller);
  if (!Timer) return;
  MouseTrackingTimerList()->Remove(Timer);
  Timer->Free();
}

// ---------------------------------------------------------------------------
// Popup menus

bool IsPopupMenu(TComponent* APopupMenu) {
  return AsOrNull<TPopupMenu>(APopupMenu) || dynamic_cast<IcxPopupMenu*>(APopupMenu);
}

bool IsPopupMenuShortCut(TComponent* APopupMenu, const TMessage& AMessage) {
  if (auto* Menu = dynamic_cast<IcxPopupMenu*>(APopupMenu)) return Menu->IsShortCutKey(AMessage);
  auto* Menu = AsOrNull<TPopupMenu>(APopupMenu);
  if (!Menu) return false;
  TShortCut Wanted =
      ShortCut(static_cast<Word>(AMessage.WParam), KeyDataToShiftState(AMessage.LParam));
  // The items as the menu would show them: visible and enabled, at any depth.
  auto Find = [Wanted](auto& Self, TMenuItem* AParent) -> bool {
    for (Integer I = 0; I < AParent->Count(); ++I) {
      TMenuItem* Item = AParent->Items(I);
      if (!Item->Visible() || !Item->Enabled()) continue;
      if ((Item->ShortCut() != scNone && Item->ShortCut() == Wanted) || Self(Self, Item))
        return true;
    }
    return false;
  };
  return Find(Find, Menu->Items());
}

bool ShowPopupMenu(TComponent* ACaller, TComponent* APopupMenu, Integer X, Integer Y) {
  if (auto* Menu = dynamic_cast<IcxPopupMenu*>(APopupMenu)) {
    Menu->Popup(X, Y);
    return true;
  }
  auto* Menu = AsOrNull<TPopupMenu>(APopupMenu);
  if (!Menu || !Menu->AutoPopup()) return false;
  Menu->PopupComponent = ACaller;
  Menu->Popup(X, Y);
  return true;
}

namespace {
TPoint PopupPoint(const TRect& AOwnerBounds, TPopupAlignment AAlignment) {
  TPoint P{AOwnerBounds.left, AOwnerBounds.bottom};
  if (AAlignment == paRight)
    P.x = AOwnerBounds.right;
  else if (AAlignment == paCenter)
    P.x = AOwnerBounds.left + RectWidth(AOwnerBounds) / 2;
  return P;
}
}  // namespace

TcxPopupMenuPlacement cxPopupMenuPlacement(const TRect& AOwnerBounds, TPopupAlignment AAlignment,
                                           Integer AMenuHeight, const TRect& AWorkArea) {
  TcxPopupMenuPlacement Result{PopupPoint(AOwnerBounds, AAlignment), AAlignment};
  if (Result.Point.y + AMenuHeight > AWorkArea.bottom)
    Result.Point.y = AOwnerBounds.top - AMenuHeight - 2;
  if (AWorkArea.left >= Result.Point.x)
    Result.Alignment = paRight;
  else if (Result.Point.x >= AWorkArea.right)
    Result.Alignment = paLeft;
  return Result;
}

bool ShowPopupMenu(TComponent* ACaller, TComponent* APopupMenu, const TRect& AOwnerBounds,
                   TPopupAlignment APopupAlignment) {
  if (auto* Menu = dynamic_cast<IcxPopupMenu2*>(APopupMenu)) {
    Menu->Popup(PopupPoint(AOwnerBounds, APopupAlignment), AOwnerBounds, APopupAlignment);
    return true;
  }
  auto* Menu = AsOrNull<TPopupMenu>(APopupMenu);
  if (!Menu || !Menu->AutoPopup()) return false;
  TcxPopupMenuPlacement Place =
      cxPopupMenuPlacement(AOwnerBounds, APopupAlignment, GetPopupMenuHeight(Menu),
                           GetDesktopWorkArea(PopupPoint(AOwnerBounds, APopupAlignment)));
  const TPopupAlignment Saved = Menu->Alignment();
  auto Restore = Finally([&] { Menu->SetAlignment(Saved); });
  Menu->SetAlignment(Place.Alignment);
  Menu->PopupComponent = ACaller;
  Menu->Popup(Place.Point.x, Place.Point.y);
  return true;
}

Integer GetPopupMenuHeight(TComponent* APopupMenu) {
  auto* Menu = AsOrNull<TPopupMenu>(APopupMenu);
  if (!Menu) return 0;
  TOwned<TcxScreenCanvas> Canvas(Create<TcxScreenCanvas>());
  Canvas->SetFont(Screen()->MenuFont());
  const Integer ItemHeight = Canvas->TextHeight(L"Qg") + 4;
  // The framework's items draw themselves with the menu font and start no
  // new columns: every visible item is one default row.
  Integer Height = 0;
  for (Integer I = 0; I < Menu->Items()->Count(); ++I)
    if (Menu->Items()->Items(I)->Visible()) Height += ItemHeight;
  return Height + 4;
}

// ---------------------------------------------------------------------------
// Window-procedure hook

TcxScrollUICheck cxScrollUICheckFor(UINT AMsg, WPARAM AWParam, LPARAM ALParam) {
  switch (AMsg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
      return suicPosition;
    case WM_ENABLE:
      return ALParam == 0 ? suicVisibility : suicNone;
    case WM_WINDOWPOSCHANGED:
      return (reinterpret_cast<const WINDOWPOS*>(ALParam)->flags & SWP_HIDEWINDOW) ? suicVisibility
                                                                                   : suicNone;
    case WM_CLOSE:
      return suicVisibility;
    case WM_SYSCOMMAND:
      return (AWParam & 0xFFF0) == SC_MINIMIZE ? suicVisibility : suicNone;
    default:
      return suicNone;
  }
}

void cxControlWndProcHook(Integer ACode, WPARAM, LPARAM lParam, LRESULT&) {
  if (ACode != HC_ACTION) return;
  const auto* Msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
  switch (cxScrollUICheckFor(Msg->message, Msg->wParam, Msg->lParam)) {
    case suicPosition:
      TdxScrollUIManagers::CheckPosition(Msg->hwnd);
      break;
    case suicVisibility:
      TdxScrollUIManagers::CheckVisibility(Msg->hwnd);
      break;
    case suicNone:
      break;
  }
}

// ---------------------------------------------------------------------------
// Application-activate helper

IMPLEMENT_CLASS(TdxApplicationActivateWindowHelper)

TdxApplicationActivateWindowHelper::TdxApplicationActivateWindowHelper()
    : FFreeNotificator(Create<TcxFreeNotificator>(nullptr)) {
  FFreeNotificator->SetOnFreeNotification(
      MakeEvent<&TdxApplicationActivateWindowHelper::FreeNotification>(this));
}

TdxApplicationActivateWindowHelper::~TdxApplicationActivateWindowHelper() {
  FFreeNotificator->Free();
}

void TdxApplicationActivateWindowHelper::AddWindow(TCustomForm* AForm) {
  FWindowsList.push_back(AForm);
  FFreeNotificator->AddSender(AForm);
}

void TdxApplicationActivateWindowHelper::RemoveWindow(TCustomForm* AForm) {
  auto It = std::find(FWindowsList.begin(), FWindowsList.end(), AForm);
  if (It == FWindowsList.end()) return;
  FWindowsList.erase(It);
  if (std::find(FWindowsList.begin(), FWindowsList.end(), AForm) == FWindowsList.end())
    FFreeNotificator->RemoveSender(AForm);
}

void TdxApplicationActivateWindowHelper::FreeNotification(TComponent* Sender) {
  std::erase(FWindowsList, static_cast<TCustomForm*>(Sender));
}

void TdxApplicationActivateWindowHelper::NormalizeTopMostWindows(TCustomForm* AForm) {
  TApplication* App = Application();
  TCustomForm* Focused = Screen() ? Screen()->ActiveForm() : nullptr;
  if (!App || App->ModalLevel() <= 0 || AForm == Focused) return;
  // AForm was shown before the last modal form: scanning from the newest, a
  // modal form comes before AForm (or AForm is not listed at all).
  bool ShownBeforeModal = true;
  for (auto It = FWindowsList.rbegin(); It != FWindowsList.rend(); ++It) {
    if ((*It)->IsModal()) break;
    if (*It == AForm) {
      ShownBeforeModal = false;
      break;
    }
  }
  if (!ShownBeforeModal) return;
  for (auto It = FWindowsList.rbegin(); It != FWindowsList.rend(); ++It)
    if ((*It)->HandleAllocated()) dxSetZOrder((*It)->Handle(), HWND_TOP, false);
  if (Focused && Focused->HandleAllocated()) dxSetZOrder(Focused->Handle(), HWND_TOP, false);
}

TdxApplicationActivateWindowHelper* dxApplicationActivateWindowHelper() {
  return ControlsState().ActivateWindowHelper;
}
