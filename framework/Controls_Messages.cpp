// The windowed control's window procedure and message handlers: routing of
// mouse messages to graphic children, mouse tracking, reflection of child
// notifications, keyboard navigation and state changes. Painting is in
// Controls_Paint.cpp.
#include "Controls.h"
#include "ControlsInternal.h"
#include "Forms.h"

IMPLEMENT_MESSAGE_TABLE(TWinControl, {WM_PAINT, MessageHandler<&TWinControl::WMPaint>},
                        {WM_ERASEBKGND, MessageHandler<&TWinControl::WMEraseBkgnd>},
                        {WM_PRINTCLIENT, MessageHandler<&TWinControl::WMPrintClient>},
                        {WM_PRINT, MessageHandler<&TWinControl::WMPrint>},
                        {WM_NCCALCSIZE, MessageHandler<&TWinControl::WMNCCalcSize>},
                        {WM_NCPAINT, MessageHandler<&TWinControl::WMNCPaint>},
                        {WM_NCHITTEST, MessageHandler<&TWinControl::WMNCHitTest>},
                        {WM_SETCURSOR, MessageHandler<&TWinControl::WMSetCursor>},
                        {WM_WINDOWPOSCHANGED, MessageHandler<&TWinControl::WMWindowPosChanged>},
                        {WM_THEMECHANGED, MessageHandler<&TWinControl::WMThemeChanged>},
                        {WM_CHANGEUISTATE, MessageHandler<&TWinControl::WMChangeUIState>},
                        {WM_UPDATEUISTATE, MessageHandler<&TWinControl::WMUpdateUIState>},
                        {WM_MOUSELEAVE, MessageHandler<&TWinControl::WMMouseLeave>},
                        {WM_NCMOUSELEAVE, MessageHandler<&TWinControl::WMNCMouseLeave>},
                        {WM_GESTURENOTIFY, MessageHandler<&TWinControl::WMGestureNotify>},
                        {WM_COMMAND, MessageHandler<&TWinControl::WMCommand>},
                        {WM_NOTIFY, MessageHandler<&TWinControl::WMNotify>},
                        {WM_DRAWITEM, MessageHandler<&TWinControl::WMDrawItem>},
                        {WM_MEASUREITEM, MessageHandler<&TWinControl::WMMeasureItem>},
                        {WM_DELETEITEM, MessageHandler<&TWinControl::WMDeleteItem>},
                        {WM_COMPAREITEM, MessageHandler<&TWinControl::WMCompareItem>},
                        {WM_HSCROLL, MessageHandler<&TWinControl::WMHScroll>},
                        {WM_VSCROLL, MessageHandler<&TWinControl::WMVScroll>},
                        {WM_CHARTOITEM, MessageHandler<&TWinControl::WMCharToItem>},
                        {WM_VKEYTOITEM, MessageHandler<&TWinControl::WMVKeyToItem>},
                        {WM_CTLCOLORMSGBOX, MessageHandler<&TWinControl::WMCtlColor>},
                        {WM_CTLCOLOREDIT, MessageHandler<&TWinControl::WMCtlColor>},
                        {WM_CTLCOLORLISTBOX, MessageHandler<&TWinControl::WMCtlColor>},
                        {WM_CTLCOLORBTN, MessageHandler<&TWinControl::WMCtlColor>},
                        {WM_CTLCOLORDLG, MessageHandler<&TWinControl::WMCtlColor>},
                        {WM_CTLCOLORSCROLLBAR, MessageHandler<&TWinControl::WMCtlColor>},
                        {WM_CTLCOLORSTATIC, MessageHandler<&TWinControl::WMCtlColor>},
                        {CN_COMMAND, MessageHandler<&TWinControl::CNCommand>},
                        {CN_NOTIFY, MessageHandler<&TWinControl::CNNotify>},
                        {CN_DRAWITEM, MessageHandler<&TWinControl::CNDrawItem>},
                        {CN_MEASUREITEM, MessageHandler<&TWinControl::CNMeasureItem>},
                        {CN_HSCROLL, MessageHandler<&TWinControl::CNHScroll>},
                        {CN_VSCROLL, MessageHandler<&TWinControl::CNVScroll>},
                        {CN_CTLCOLORMSGBOX, MessageHandler<&TWinControl::CNCtlColor>},
                        {CN_CTLCOLOREDIT, MessageHandler<&TWinControl::CNCtlColor>},
                        {CN_CTLCOLORLISTBOX, MessageHandler<&TWinControl::CNCtlColor>},
                        {CN_CTLCOLORBTN, MessageHandler<&TWinControl::CNCtlColor>},
                        {CN_CTLCOLORDLG, MessageHandler<&TWinControl::CNCtlColor>},
                        {CN_CTLCOLORSCROLLBAR, MessageHandler<&TWinControl::CNCtlColor>},
                        {CN_CTLCOLORSTATIC, MessageHandler<&TWinControl::CNCtlColor>},
                        {WM_KEYDOWN, MessageHandler<&TWinControl::WMKeyDown>},
                        {WM_SYSKEYDOWN, MessageHandler<&TWinControl::WMSysKeyDown>},
                        {WM_KEYUP, MessageHandler<&TWinControl::WMKeyUp>},
                        {WM_SYSKEYUP, MessageHandler<&TWinControl::WMSysKeyUp>},
                        {WM_CHAR, MessageHandler<&TWinControl::WMChar>},
                        {WM_GETDLGCODE, MessageHandler<&TWinControl::WMGetDlgCode>},
                        {CN_KEYDOWN, MessageHandler<&TWinControl::CNKeyDown>},
                        {CN_SYSKEYDOWN, MessageHandler<&TWinControl::CNSysKeyDown>},
                        {CN_CHAR, MessageHandler<&TWinControl::CNChar>},
                        {CN_SYSCHAR, MessageHandler<&TWinControl::CNSysChar>},
                        {CM_CHILDKEY, MessageHandler<&TWinControl::CMChildKey>},
                        {CM_DIALOGKEY, MessageHandler<&TWinControl::CMDialogKey>},
                        {CM_DIALOGCHAR, MessageHandler<&TWinControl::CMDialogChar>},
                        {CM_ENTER, MessageHandler<&TWinControl::CMEnter>},
                        {CM_EXIT, MessageHandler<&TWinControl::CMExit>},
                        {CM_FOCUSCHANGED, MessageHandler<&TWinControl::CMFocusChanged>},
                        {CM_SHOWINGCHANGED, MessageHandler<&TWinControl::CMShowingChanged>},
                        {CM_SHOWHINTCHANGED, MessageHandler<&TWinControl::CMShowHintChanged>},
                        {CM_BIDIMODECHANGED, MessageHandler<&TWinControl::CMBiDiModeChanged>},
                        {CM_INVALIDATE, MessageHandler<&TWinControl::CMInvalidate>},
                        {CM_RECREATEWND, MessageHandler<&TWinControl::CMRecreateWnd>},
                        {WM_GETTEXT, MessageHandler<&TWinControl::WMGetText>},
                        {WM_GETTEXTLENGTH, MessageHandler<&TWinControl::WMGetTextLength>},
                        {WM_SETTEXT, MessageHandler<&TWinControl::WMSetText>})

// --- window procedure ---------------------------------------------------------
void TWinControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      if (TCustomForm* Form = GetParentForm(); Form && Form != this)
        if (!Form->SetFocusedControl(this)) return;
      SetIme();
      break;
    case WM_KILLFOCUS:
      if (FControlState.Contains(csFocusing)) return;
      ResetIme();
      break;
    case WM_MOUSEMOVE:
      TrackMouse(false);
      break;
    case WM_NCMOUSEMOVE:
      TrackMouse(true);
      break;
    case WM_SYSCOMMAND:
      // Alt with a character: a control of the form may own it as its
      // accelerator before the platform looks for a menu.
      if ((Message.WParam & 0xFFF0) == SC_KEYMENU && Message.LParam != 0 &&
          Message.LParam != VK_SPACE && Message.LParam != L'-' && !GetCapture() &&
          !IsIconic(FHandle))
        if (TCustomForm* Form = GetParentForm())
          if (Form->Perform(CM_DIALOGCHAR, Message.LParam, 0) != 0) return;
      break;
    default:
      break;
  }
  if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST && Message.Msg != WM_MOUSEWHEEL &&
      IsControlMouseMsg(Message)) {
    // The graphic child got it; a press still captures the mouse here.
    if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK)
      if (FHandle && GetCapture() != FHandle) SetCapture(FHandle);
    if (Message.Msg == WM_LBUTTONUP && GetCapture() == FHandle) ReleaseCapture();
    return;
  }
  TControl::WndProc(Message);
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!FHandle) {
    TControl::DefaultHandler(Message);
    return;
  }
  if (Message.Msg >= CM_BASE && Message.Msg < CN_BASE + 0x400) {
    // The framework's own messages mean nothing to the platform.
    Message.Result = 0;
    return;
  }
  if (Message.Msg == WM_CONTEXTMENU && FParent) {
    // Unhandled: the parent may have a menu.
    Message.Result =
        SendMessageW(FParent->Handle(), WM_CONTEXTMENU, Message.WParam, Message.LParam);
    if (Message.Result) return;
  }
  WNDPROC Proc = FDefWndProc ? FDefWndProc : &DefWindowProcW;
  Message.Result = CallWindowProcW(Proc, FHandle, Message.Msg, Message.WParam, Message.LParam);
}

bool TWinControl::IsControlMouseMsg(TMessage& Message) {
  TControl* Control = nullptr;
  TPoint P = SmallPointToPoint(Message.LParam);
  HWND Cap = GetCapture();
  if (Cap == FHandle && Application() && Application()->CaptureControl() &&
      Application()->CaptureControl()->Parent() == this)
    Control = Application()->CaptureControl();
  else
    Control = ControlAtPos(P, false);
  if (!Control) return false;
  TPoint CP = Point(P.x - Control->Left(), P.y - Control->Top());
  Message.Result = Control->Perform(Message.Msg, Message.WParam, MAKELPARAM(CP.x, CP.y));
  return true;
}

// --- mouse tracking -------------------------------------------------------------
namespace {
// Whether the platform tracks AArea of AWnd now. Its answer to the request
// is not enough: for a window the pointer has already left (a move that
// arrives late) Wine answers yes, tracks nothing and never posts the leave,
// where Windows posts the leave at once.
bool IsMouseTracked(HWND AWnd, DWORD AArea) {
  TRACKMOUSEEVENT Query{sizeof(Query), TME_QUERY, nullptr, 0};
  return TrackMouseEvent(&Query) && Query.hwndTrack == AWnd &&
         (Query.dwFlags & (TME_LEAVE | TME_NONCLIENT)) == AArea;
}
}  // namespace

void TWinControl::TrackMouse(bool ANonClient) {
  if (!FHandle) return;
  const DWORD Area = ANonClient ? (TME_LEAVE | TME_NONCLIENT) : TME_LEAVE;
  if (FTrackedAreas != Area || !IsMouseTracked(FHandle, Area)) {
    TRACKMOUSEEVENT Track{sizeof(Track), Area, FHandle, HOVER_DEFAULT};
    if (TrackMouseEvent(&Track)) FTrackedAreas = Area;
    if (FTrackedAreas == Area && !IsMouseTracked(FHandle, Area))
      PostMessageW(FHandle, ANonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
  }
  if (!FMouseInControl) {
    FMouseInControl = true;
    Perform(CM_MOUSEENTER);
  }
}

void TWinControl::MouseLeft(bool ANonClient) {
  // A leave of an area no longer tracked is stale: the pointer moved on to
  // the other area of the window and its move re-armed the tracking.
  const DWORD Area = ANonClient ? (TME_LEAVE | TME_NONCLIENT) : TME_LEAVE;
  if (FTrackedAreas != Area) return;
  FTrackedAreas = 0;
  POINT P;
  if (FHandle && GetCursorPos(&P) && WindowFromPoint(P) == FHandle) return;
  if (!FMouseInControl) return;
  FMouseInControl = false;
  Perform(CM_MOUSELEAVE);
}

void TWinControl::WMMouseLeave(TMessage& Message) {
  MouseLeft(false);
  DefaultHandler(Message);
}

void TWinControl::WMNCMouseLeave(TMessage& Message) {
  MouseLeft(true);
  DefaultHandler(Message);
}

// A control that passes gestures on to its parent also wants the ones its
// parent (up to this window) handles: they reach that parent. Pan options are
// those of the control that gets the pan.
void TWinControl::WMGestureNotify(TMessage& Message) {
  const auto* Notify = reinterpret_cast<const GESTURENOTIFYSTRUCT*>(Message.LParam);
  const TGestureConfigRoutines& Routines = GestureConfigRoutines();
  if (!Notify || !Routines.Apply || !HandleAllocated()) {
    DefaultHandler(Message);
    return;
  }
  const TPoint P = ScreenToClient(TPoint{Notify->ptsLocation.x, Notify->ptsLocation.y});
  TControl* Control = ControlAtPos(P, true, false);
  if (!Control) Control = this;
  TInteractiveGestures Gestures;
  TInteractiveGestureOptions Options;
  Control->DoGetGestureOptions(Gestures, Options);
  bool PassesOn = Options.Contains(igoParentPassthrough);
  while (PassesOn && Control != this && Control->Parent()) {
    Control = Control->Parent();
    TInteractiveGestures ParentGestures;
    TInteractiveGestureOptions ParentOptions;
    Control->DoGetGestureOptions(ParentGestures, ParentOptions);
    if (!Gestures.Contains(igPan) && ParentGestures.Contains(igPan)) Options = ParentOptions;
    Gestures += ParentGestures;
    PassesOn = ParentOptions.Contains(igoParentPassthrough);
  }
  if (Routines.Apply(Handle(), Gestures, Options))
    Message.Result = 1;
  else
    DefaultHandler(Message);
}

// --- keyboard cues ----------------------------------------------------------
// The cues are kept here per window rather than left to the platform (Wine
// neither keeps nor passes them on): a change goes up to the top-level
// window, which hands the new state down to every window below it.
namespace {
constexpr Word KeyboardCues = UISF_HIDEFOCUS | UISF_HIDEACCEL;

// The state a WM_CHANGEUISTATE or WM_UPDATEUISTATE makes of AState.
Word ApplyUIState(Word AState, WPARAM AChange) {
  const Word Cues = HIWORD(AChange) & KeyboardCues;
  switch (LOWORD(AChange)) {
    case UIS_SET:
      return AState | Cues;
    case UIS_CLEAR:
      return AState & static_cast<Word>(~Cues);
    case UIS_INITIALIZE: {
      // Shown when the user asked for cues always, hidden until the
      // keyboard is used otherwise.
      BOOL Always = FALSE;
      SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &Always, 0);
      return Always ? AState & static_cast<Word>(~Cues) : AState | Cues;
    }
    default:
      return AState;
  }
}
}  // namespace

Word TWinControl::InitialUIState() const {
  if (FParent) return FParent->UIState();
  return ApplyUIState(0, MAKEWPARAM(UIS_INITIALIZE, KeyboardCues));
}

void TWinControl::WMChangeUIState(TMessage& Message) {
  HWND Parent = GetParent(FHandle);
  if (Parent && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD)) {
    SendMessageW(Parent, WM_CHANGEUISTATE, Message.WParam, Message.LParam);
    return;
  }
  if (ApplyUIState(FUIState, Message.WParam) != FUIState)
    Perform(WM_UPDATEUISTATE, Message.WParam, Message.LParam);
}

void TWinControl::WMUpdateUIState(TMessage& Message) {
  // The platform's own bookkeeping (a system window class draws by it).
  DefaultHandler(Message);
  const Word State = ApplyUIState(FUIState, Message.WParam);
  // Already so: the platform handed it down to this window before.
  if (State == FUIState) return;
  FUIState = State;
  Invalidate();
  // Graphic children draw with these cues on this window.
  for (TControl* C : FControls) C->Invalidate();
  for (HWND Child = GetWindow(FHandle, GW_CHILD); Child; Child = GetWindow(Child, GW_HWNDNEXT))
    SendMessageW(Child, WM_UPDATEUISTATE, Message.WParam, Message.LParam);
}

// --- reflection of child notifications -------------------------------------------
void TWinControl::ReflectNotification(TMessage& Message, HWND Child) {
  if (TWinControl* C = FindControl(Child)) {
    Message.Result = C->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::ReflectFromLParam(TMessage& Message) {
  if (Message.LParam)
    ReflectNotification(Message, reinterpret_cast<HWND>(Message.LParam));
  else
    DefaultHandler(Message);
}

void TWinControl::WMCommand(TMessage& Message) { ReflectFromLParam(Message); }
void TWinControl::WMHScroll(TMessage& Message) { ReflectFromLParam(Message); }
void TWinControl::WMVScroll(TMessage& Message) { ReflectFromLParam(Message); }
void TWinControl::WMCharToItem(TMessage& Message) { ReflectFromLParam(Message); }
void TWinControl::WMVKeyToItem(TMessage& Message) { ReflectFromLParam(Message); }

void TWinControl::WMNotify(TMessage& Message) {
  ReflectNotification(Message, reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom);
}

void TWinControl::WMDrawItem(TMessage& Message) {
  auto* DI = reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam);
  if (DI->CtlType == ODT_MENU)
    DefaultHandler(Message);
  else
    ReflectNotification(Message, DI->hwndItem);
}

void TWinControl::WMMeasureItem(TMessage& Message) {
  auto* MI = reinterpret_cast<MEASUREITEMSTRUCT*>(Message.LParam);
  if (MI->CtlType == ODT_MENU) {
    DefaultHandler(Message);
    return;
  }
  HWND Child = GetDlgItem(FHandle, static_cast<int>(MI->CtlID));
  if (!Child) Child = reinterpret_cast<HWND>(static_cast<UINT_PTR>(MI->CtlID));
  ReflectNotification(Message, Child);
}

void TWinControl::WMDeleteItem(TMessage& Message) {
  ReflectNotification(Message, reinterpret_cast<DELETEITEMSTRUCT*>(Message.LParam)->hwndItem);
}

void TWinControl::WMCompareItem(TMessage& Message) {
  ReflectNotification(Message, reinterpret_cast<COMPAREITEMSTRUCT*>(Message.LParam)->hwndItem);
}

void TWinControl::WMCtlColor(TMessage& Message) {
  ReflectNotification(Message, reinterpret_cast<HWND>(Message.LParam));
}

void TWinControl::CNCommand(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::CNNotify(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::CNDrawItem(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::CNMeasureItem(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::CNHScroll(TMessage& Message) { DefaultHandler(Message); }
void TWinControl::CNVScroll(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::CNCtlColor(TMessage& Message) {
  HDC DC = reinterpret_cast<HDC>(Message.WParam);
  SetTextColor(DC, ColorToRGB(FFont->Color()));
  FBrush->SetColor(FColor);
  SetBkColor(DC, ColorToRGB(FColor));
  Message.Result = reinterpret_cast<LRESULT>(FBrush->Handle());
}

// --- window position and cursor -----------------------------------------------
void TWinControl::WMWindowPosChanged(TMessage& Message) {
  DefaultHandler(Message);
  auto* WP = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  if ((WP->flags & SWP_NOSIZE) && (WP->flags & SWP_NOMOVE)) return;
  RECT R;
  GetWindowRect(FHandle, &R);
  HWND P = GetParent(FHandle);
  if (P && (GetWindowLongW(FHandle, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, P, reinterpret_cast<POINT*>(&R), 2);
  bool SizeChanged = RectWidth(R) != FWidth || RectHeight(R) != FHeight;
  if (IsIconic(FHandle) || (R.left == FLeft && R.top == FTop && !SizeChanged)) return;
  UpdateBoundsRect(R);
  if (!FAnchoring) UpdateAnchorRules();
  if (SizeChanged) {
    Realign();
    if (!ComponentState().Contains(csLoading)) Resize();
  }
}

void TWinControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && LOWORD(Message.LParam) == HTCLIENT) {
    TCursor Cur = FCursor;
    if (Screen() && Screen()->Cursor() != crDefault) {
      Cur = Screen()->Cursor();
    } else {
      POINT P;
      GetCursorPos(&P);
      ::ScreenToClient(FHandle, &P);
      if (TControl* C = ControlAtPos(P, false)) Cur = C->Cursor();
    }
    if (Cur != crDefault && Screen()) {
      ::SetCursor(Screen()->Cursors(Cur));
      Message.Result = 1;
      return;
    }
  }
  DefaultHandler(Message);
}

// --- keyboard -----------------------------------------------------------------
void TWinControl::WMKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyDown(TMessage& Message) {
  if (!DoKeyDown(Message)) DefaultHandler(Message);
}

void TWinControl::WMKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMSysKeyUp(TMessage& Message) {
  if (!DoKeyUp(Message)) DefaultHandler(Message);
}

void TWinControl::WMChar(TMessage& Message) {
  if (!DoKeyPress(Message)) DefaultHandler(Message);
}

void TWinControl::WMGetDlgCode(TMessage& Message) { DefaultHandler(Message); }

void TWinControl::CNKeyDown(TMessage& Message) { DialogKeyDown(Message); }
void TWinControl::CNSysKeyDown(TMessage& Message) {
  // Alt shows the accelerator underlines from now on.
  if (Message.WParam == VK_MENU) ShowKeyboardCues(UISF_HIDEACCEL);
  DialogKeyDown(Message);
}

bool TWinControl::IsMenuKey(TMessage& Message) {
  Word Key = static_cast<Word>(Message.WParam);
  if (Key & 0xFF00) return false;
  TShiftState Shift = KeyDataToShiftState(Message.LParam);
  TShortCut SC = Key | (Shift.Contains(ssShift) ? scShift : 0) |
                 (Shift.Contains(ssCtrl) ? scCtrl : 0) | (Shift.Contains(ssAlt) ? scAlt : 0);
  for (TControl* C = this; C; C = C->Parent())
    if (TPopupMenuBase* Menu = C->GetPopupMenu(); Menu && Menu->IsShortCut(SC)) return true;
  TCustomForm* Form = GetParentForm();
  return Form && Form->IsShortCut(SC);
}

void TWinControl::DialogKeyDown(TMessage& Message) {
  Message.Result = 1;
  if (IsMenuKey(Message)) return;
  if (Perform(CM_CHILDKEY, Message.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
  LRESULT Mask = 0;
  switch (Message.WParam) {
    case VK_TAB:
      Mask = DLGC_WANTTAB;
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      Mask = DLGC_WANTARROWS;
      break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL:
      Mask = DLGC_WANTALLKEYS;
      break;
  }
  if (Mask != 0 && Perform(CM_WANTSPECIALKEY, Message.WParam) == 0 &&
      (Perform(WM_GETDLGCODE) & Mask) == 0) {
    // Moving the focus by keyboard shows where it is.
    if (Mask != DLGC_WANTALLKEYS) ShowKeyboardCues(UISF_HIDEFOCUS);
    if (TCustomForm* Form = GetParentForm())
      if (Form->Perform(CM_DIALOGKEY, Message.WParam, Message.LParam) != 0) return;
  }
  Message.Result = 0;
}

void TWinControl::ShowKeyboardCues(Word ACues) {
  if ((UIState() & ACues) == 0 || !FHandle) return;
  // The change goes up to the top-level window, which hands it down to
  // every window below it.
  SendMessageW(FHandle, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, ACues), 0);
}

void TWinControl::CNChar(TMessage& Message) { Message.Result = 0; }
void TWinControl::CNSysChar(TMessage& Message) { Message.Result = 0; }

void TWinControl::CMChildKey(TMessage& Message) {
  if (FParent)
    FParent->WindowProc(Message);
  else
    Message.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMDialogChar(TMessage& Message) { Broadcast(Message); }
void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }
void TWinControl::CMFocusChanged(TMessage& Message) { Broadcast(Message); }

// --- state changes --------------------------------------------------------------
void TWinControl::CMShowingChanged(TMessage&) {
  if (FHandle)
    SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                     (FShowing ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMVisibleChanged(TMessage&) {
  if (!FVisible && FParent)
    if (TCustomForm* F = GetParentForm()) F->DefocusControl(this, false);
  UpdateControlState();
}

void TWinControl::CMEnabledChanged(TMessage&) {
  if (!FEnabled && FParent)
    if (TCustomForm* F = GetParentForm()) F->DefocusControl(this, false);
  if (FHandle) EnableWindow(FHandle, FEnabled);
  Invalidate();
}

void TWinControl::CMFontChanged(TMessage&) {
  if (FHandle) {
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), 0);
    Invalidate();
  }
  NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage&) {
  FBrush->SetColor(FColor);
  Invalidate();
  NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMTextChanged(TMessage&) {}

void TWinControl::CMShowHintChanged(TMessage&) { NotifyControls(CM_PARENTSHOWHINTCHANGED); }

void TWinControl::CMBiDiModeChanged(TMessage&) {
  NotifyControls(CM_PARENTBIDIMODECHANGED);
  RecreateWnd();
}

// WParam 0: this window is to be redrawn; 1: a child of it was, which only
// the parents above hear of (a parent that shows through its children may
// care).
void TWinControl::CMInvalidate(TMessage& Message) {
  if (!FHandle) return;
  if (FParent) FParent->Perform(CM_INVALIDATE, 1, 0);
  if (Message.WParam == 0) Invalidate();
}
void TWinControl::CMRecreateWnd(TMessage& Message) {
  // A window being destroyed is not made again (a posted request may come
  // late).
  if (ComponentState().Contains(csDestroying) || !FHandle) return;
  bool WasFocused = Focused();
  RecreateWnd();
  if (WasFocused && FHandle) ::SetFocus(FHandle);
  Message.Result = 0;
}

// The window is the text's store while it exists.
void TWinControl::TextMessage(TMessage& Message) {
  if (FHandle)
    DefaultHandler(Message);
  else
    TControl::DefaultHandler(Message);
}

void TWinControl::WMGetText(TMessage& Message) { TextMessage(Message); }
void TWinControl::WMGetTextLength(TMessage& Message) { TextMessage(Message); }
void TWinControl::WMSetText(TMessage& Message) { TextMessage(Message); }
