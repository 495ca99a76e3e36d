// The base control's mouse: its window procedure, the mouse-down road with
// focus on click, the capture object, enter and leave, the cursor, the
// context menu, the wheel and the middle-button (anchor) scrolling loop.
#include <algorithm>
#include <cstdlib>

#include "WinHandles.h"
#include "cxControls.h"
#include "cxControlsInternal.h"

using namespace cxControlsInternal;

namespace {

// The largest extent the 16-bit words of a mouse message can carry.
constexpr Integer cxMaxMessageCoordinate = 0x8000;

TMouseButton ButtonOfMessage(UINT AMsg) {
  switch (AMsg) {
    case WM_RBUTTONDOWN:
      return mbRight;
    case WM_MBUTTONDOWN:
      return mbMiddle;
    default:
      return mbLeft;
  }
}

}  // namespace

// ---------------------------------------------------------------------------
// Window procedure.

void TcxControl::WndProc(TMessage& Message) {
  if (CanProcessScrollEvents(Message) &&
      (IsGestureHelperMessage(Message) || ScrollBarsManagerHandleMessage(Message)))
    return;
  if (FScrollbarMode != sbmClassic) CheckTouchScrollActivity(Message);
  TcxObjectLinkGuard ALink(this);
  auto After = Finally([&] {
    if (!ALink.Alive() || IsDestroying()) return;
    switch (Message.Msg) {
      case WM_SETFOCUS:
        FocusEnter();
        FocusChanged();
        break;
      case WM_KILLFOCUS:
        FocusLeave();
        FocusChanged();
        break;
      case WM_RBUTTONUP:
        FMouseRightButtonReleased = false;
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN: {
        const TPoint P = MessageMousePos(Message);
        AfterMouseDown(ButtonOfMessage(Message.Msg), P.x, P.y);
        break;
      }
      default:
        break;
    }
  });
  if ((Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) &&
      !IsFrameworkDragging()) {
    bool ADirect;
    if (IsDesigning()) {
      const TPoint P = MessageMousePos(Message);
      ADirect = GetDesignHitTest(P.x, P.y, TShiftState{ssLeft});
    } else {
      ADirect = IsDragModeAutomatic();
    }
    if (ADirect) {
      // Straight to the handlers: the framework's own automatic drag start
      // stays out of the way of the control's.
      if (!IsControlMouseMsg(Message)) {
        FControlState.Include(csLButtonDown);
        auto Clear = Finally([&] {
          if (ALink.Alive()) FControlState.Exclude(csLButtonDown);
        });
        Dispatch(Message);
      }
      return;
    }
  }
  if (Message.Msg == WM_RBUTTONUP) FMouseRightButtonReleased = true;
  inherited::WndProc(Message);
}

TPoint TcxControl::MessageMousePos(const TMessage& Message) {
  if (HandleAllocated() && (Width() > cxMaxMessageCoordinate || Height() > cxMaxMessageCoordinate))
    return GetMouseCursorClientPos();
  return SmallPointToPoint(Message.LParam);
}

TPoint TcxControl::MouseMessagePos(const TMessage& Message) { return MessageMousePos(Message); }

// ---------------------------------------------------------------------------
// Down, move, up.

void TcxControl::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FMouseDownPos = TPoint{X, Y};
  TcxObjectLinkGuard ALink(this);
  auto Exit = Finally([&] {
    if (ALink.Alive() && HandleAllocated() && GetCapture() == FHandle) FMouseButtonPressed = true;
  });
  if (CanFocusOnClick(X, Y) && !Shift.Contains(ssDouble)) {
    const TRect APrevBounds = BoundsRect();
    FActivateType = atByMouse;
    SetFocusOnMouseClick(Button, X, Y);
    if (!ALink.Alive()) return;
    TCustomForm* AForm = GetParentForm();
    if (AForm && AForm->ActiveControl() == this && !Focused()) ::SetFocus(Handle());
    if (!Focused() && !AllowDragAndDropWithoutFocus()) {
      if (GetCapture() == FHandle) ReleaseCapture();
      return;
    }
    if (UpdateMousePositionIfControlMoved()) {
      X += APrevBounds.left - Left();
      Y += APrevBounds.top - Top();
    }
  }
  CheckStartDragAndDrop(Button, Shift, X, Y);
  if (!ALink.Alive()) return;
  BeforeMouseDown(Button, Shift, X, Y);
  if (!ALink.Alive()) return;
  inherited::MouseDown(Button, Shift, X, Y);
}

void TcxControl::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TcxObjectLinkGuard ALink(this);
  inherited::MouseMove(Shift, X, Y);
  if (!ALink.Alive()) return;
  ProcessDragAndDropMouseMove(Shift, X, Y);
  if (!ALink.Alive()) return;
  UpdateStatusHint(TPoint{X, Y});
}

void TcxControl::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FMouseButtonPressed = false;
  TcxObjectLinkGuard ALink(this);
  CancelMouseOperations();
  if (!ALink.Alive()) return;
  inherited::MouseUp(Button, Shift, X, Y);
}

void TcxControl::BeforeMouseDown(TMouseButton, TShiftState, Integer, Integer) {}

void TcxControl::CancelMouseOperations() {
  FinishDragAndDrop(true);
  SetMouseCaptureObject(nullptr);
}

void TcxControl::AfterMouseDown(TMouseButton AButton, Integer X, Integer Y) {
  if (AButton == mbMiddle) {
    DoScrolling();
    return;
  }
  if (AButton != mbLeft || !IsDragModeAutomatic() || !HandleAllocated() || GetCapture() != FHandle)
    return;
  if (IsDesigning() && !AllowAutoDragAndDropAtDesignTime(X, Y, TShiftState{})) return;
  if (CanDrag(X, Y)) DetectAndBeginFrameworkDrag(ClientToScreen(TPoint{X, Y}));
}

void TcxControl::DoScrolling() {
  if (!NeedsScrollBars()) return;
  cxProcessControlScrollingOnMiddleButton(
      this, IsScrollBarActive(sbHorizontal), IsScrollBarActive(sbVertical),
      MakeEvent<&TcxControl::ScrollContent>(this), FIsScrollingContent);
}

// ---------------------------------------------------------------------------
// Capture object and cancel mode.

void TcxControl::SetMouseCaptureObject(TObject* AValue) {
  if (FMouseCaptureObject == AValue) return;
  const bool AHadCapture = HandleAllocated() && GetCapture() == FHandle;
  if (auto* APrevious = dynamic_cast<IcxMouseCaptureObject*>(FMouseCaptureObject))
    APrevious->DoCancelMode();
  FMouseCaptureObject = AValue;
  if (AValue) {
    ::SetCapture(Handle());
  } else if (AHadCapture && GetCapture() == FHandle) {
    ReleaseCapture();
  }
  const bool AHasCapture = HandleAllocated() && GetCapture() == FHandle;
  if (AHadCapture && !AHasCapture && FDragAndDropState == ddsStarting &&
      CanCancelDragStartOnCaptureObjectClear())
    Perform(WM_CANCELMODE);
}

void TcxControl::WMCancelMode(TMessage& Message) {
  TcxObjectLinkGuard ALink(this);
  inherited::WMCancelMode(Message);
  if (!ALink.Alive()) return;
  FinishDragAndDrop(false);
  if (!ALink.Alive()) return;
  DoCancelMode();
}

// ---------------------------------------------------------------------------
// Enter and leave.

void TcxControl::CMMouseEnter(TMessage& Message) {
  TcxObjectLinkGuard ALink(this);
  inherited::CMMouseEnter(Message);
  if (ALink.Alive())
    MouseEnter(Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this);
}

void TcxControl::CMMouseLeave(TMessage& Message) {
  TcxObjectLinkGuard ALink(this);
  inherited::CMMouseLeave(Message);
  if (ALink.Alive())
    MouseLeave(Message.LParam ? reinterpret_cast<TControl*>(Message.LParam) : this);
}

void TcxControl::MouseEnter(TControl* AControl) {
  if (AControl && AControl != this) return;
  if (FMouseEnterCounter != 0) return;
  FMouseEnterCounter = 1;
  dxCallNotify(OnMouseEnter, this);
}

void TcxControl::MouseLeave(TControl* AControl) {
  if (AControl && AControl != this) return;
  if (FMouseEnterCounter != 1) return;
  FMouseEnterCounter = 0;
  dxCallNotify(OnMouseLeave, this);
}

// ---------------------------------------------------------------------------
// Cursor and design time.

void TcxControl::WMSetCursor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) == FHandle && FDragAndDropState == ddsNone &&
      Screen() && Screen()->Cursor() == crDefault) {
    const TPoint P = GetMouseCursorClientPos();
    const TCursor ACursor = GetCurrentCursor(P.x, P.y);
    if (ACursor != crDefault) {
      ::SetCursor(Screen()->Cursors(ACursor));
      Message.Result = 1;
      return;
    }
  }
  inherited::WMSetCursor(Message);
}

TCursor TcxControl::GetCurrentCursor(Integer X, Integer Y) {
  if (IsScrollBarsArea(TPoint{X, Y})) return crArrow;
  if (IsDesigning()) return crDefault;
  return Cursor();
}

void TcxControl::CMDesignHitTest(TMessage& Message) {
  DefaultHandler(Message);
  if (Message.Result != 0) return;
  const TPoint P = SmallPointToPoint(Message.LParam);
  Message.Result = GetDesignHitTest(P.x, P.y, KeysToShiftState(Message.WParam)) ? 1 : 0;
}

bool TcxControl::GetDesignHitTest(Integer X, Integer Y, TShiftState) {
  return FDragAndDropState != ddsNone || FMouseButtonPressed || IsScrollBarsArea(TPoint{X, Y});
}

// ---------------------------------------------------------------------------
// Context menu.

void TcxControl::WMContextMenu(TMessage& Message) {
  if (IsScrollBarsCapture()) {
    Message.Result = 1;
    return;
  }
  const TPoint P = SmallPointToPoint(Message.LParam);
  const bool AFromKeyboard = P.x == -1 && P.y == -1;
  if (!AFromKeyboard && HandleAllocated() && IsScrollBarsArea(TControl::ScreenToClient(P))) {
    Message.Result = 1;
    return;
  }
  inherited::WMContextMenu(Message);
}

void TcxControl::DoContextPopup(const TPoint& MousePos, bool& Handled) {
  TcxObjectLinkGuard ALink(this);
  inherited::DoContextPopup(MousePos, Handled);
  if (Handled || !ALink.Alive()) return;
  TPoint P = MousePos;
  if (P.x == -1 && P.y == -1) P = TPoint{0, 0};
  P = ClientToScreen(P);
  if (TcxContextPopupHookFunc AHook = cxContextPopupHookFunc()) {
    Handled = AHook(this, FPopupMenu, P);
    if (Handled || !ALink.Alive()) return;
  }
  Handled = DoShowPopupMenu(FPopupMenu, P.x, P.y);
}

bool TcxControl::DoShowPopupMenu(TComponent* AMenu, Integer X, Integer Y) {
  return ShowPopupMenu(this, AMenu, X, Y);
}

// ---------------------------------------------------------------------------
// Wheel.

bool TcxControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta, const TPoint& MousePos) {
  TcxObjectLinkGuard ALink(this);
  if (inherited::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  if (!ALink.Alive() || !IsMouseWheelHandleNeeded(Shift, WheelDelta, MousePos)) return false;
  Integer ADelta = std::clamp(WheelDelta, -WHEEL_DELTA, WHEEL_DELTA);
  // A turn the other way starts collecting again.
  if ((FMouseWheelAccumulator > 0 && ADelta > 0) || (FMouseWheelAccumulator < 0 && ADelta < 0))
    ADelta += FMouseWheelAccumulator;
  FMouseWheelAccumulator = ADelta;
  if (std::abs(FMouseWheelAccumulator) >= WHEEL_DELTA) {
    const Integer AAccumulated = FMouseWheelAccumulator;
    FMouseWheelAccumulator = 0;
    InternalMouseWheel(Shift, AAccumulated, MousePos);
  }
  return true;
}

bool TcxControl::IsMouseWheelHandleNeeded(TShiftState, Integer, const TPoint&) {
  return GetMouseWheelScrollingKind() != mwskNone;
}

TcxMouseWheelScrollingKind TcxControl::GetMouseWheelScrollingKind() {
  return IsScrollBarActive(sbVertical) ? mwskVertical : mwskNone;
}

bool TcxControl::InternalMouseWheel(TShiftState, Integer WheelDelta, const TPoint&) {
  const TcxMouseWheelScrollingKind AKind = GetMouseWheelScrollingKind();
  if (AKind == mwskNone) return false;
  UINT ALines = 3;
  if (!dxSystemInfo() || !dxSystemInfo()->GetParameter(SPI_GETWHEELSCROLLLINES, &ALines))
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &ALines, 0);
  if (ALines == WHEEL_PAGESCROLL) {
    Integer APos = GetScrollBarPosition(sbVertical);
    Scroll(sbVertical, WheelDelta > 0 ? scPageUp : scPageDown, APos);
    return true;
  }
  TcxDirection ADirection;
  if (AKind == mwskHorizontal)
    ADirection = WheelDelta > 0 ? dirLeft : dirRight;
  else
    ADirection = WheelDelta > 0 ? dirUp : dirDown;
  TcxObjectLinkGuard ALink(this);
  for (UINT I = 0; I < ALines && ALink.Alive(); ++I) ScrollContent(ADirection);
  return true;
}

void TcxControl::ScrollContent(TcxDirection ADirection) {
  if (ADirection == dirNone) return;
  if (!NeedsScrollBars() && !CanScrollLineWithoutScrollBars(ADirection)) return;
  TcxObjectLinkGuard ALink(this);
  ShowTouchScrollUI(this, false);
  auto Hide = Finally([&] {
    if (ALink.Alive()) HideTouchScrollUI(this, false);
  });
  const TScrollBarKind AKind =
      (ADirection == dirUp || ADirection == dirDown) ? sbVertical : sbHorizontal;
  const TScrollCode ACode = (ADirection == dirLeft || ADirection == dirUp) ? scLineUp : scLineDown;
  Integer APos = GetScrollBarPosition(AKind);
  Scroll(AKind, ACode, APos);
  if (ALink.Alive()) Update();
}

// ---------------------------------------------------------------------------
// Middle-button (anchor) scrolling.

namespace cxControlsInternal {

TcxAnchorScrolling cxAnchorScrollingAt(const TPoint& AAnchor, Integer AAnchorSize,
                                       bool AllowHorScrolling, bool AllowVerScrolling,
                                       const TPoint& P, const TRect& AScreen) {
  TRect ANeutral{AAnchor.x - AAnchorSize / 2, AAnchor.y - AAnchorSize / 2, 0, 0};
  ANeutral.right = ANeutral.left + AAnchorSize;
  ANeutral.bottom = ANeutral.top + AAnchorSize;
  if (!AllowHorScrolling) {
    ANeutral.left = AScreen.left;
    ANeutral.right = AScreen.right;
  }
  if (!AllowVerScrolling) {
    ANeutral.top = AScreen.top;
    ANeutral.bottom = AScreen.bottom;
  }
  if (PtInRect(&ANeutral, P)) return TcxAnchorScrolling{dirNone, 0};
  const Integer DX = P.x - AAnchor.x, DY = P.y - AAnchor.y;
  TcxAnchorScrolling AResult;
  Integer ADistance;
  if (!AllowHorScrolling || (AllowVerScrolling && std::abs(DY) >= std::abs(DX))) {
    AResult.Direction = DY < 0 ? dirUp : dirDown;
    ADistance = std::abs(DY);
  } else {
    AResult.Direction = DX < 0 ? dirLeft : dirRight;
    ADistance = std::abs(DX);
  }
  AResult.Speed = std::clamp((ADistance - AAnchorSize / 2) / 5 + 1, 1, 12);
  return AResult;
}

TCursor cxAnchorScrollingCursor(TcxDirection ADirection, bool AllowHorScrolling,
                                bool AllowVerScrolling) {
  switch (ADirection) {
    case dirLeft:
      return crLeftScroll;
    case dirRight:
      return crRightScroll;
    case dirUp:
      return crUpScroll;
    case dirDown:
      return crDownScroll;
    default:
      if (AllowHorScrolling && AllowVerScrolling) return crFullScroll;
      return AllowHorScrolling ? crHorScroll : crVerScroll;
  }
}

const wchar_t* cxAnchorBitmapName(bool AllowHorScrolling, bool AllowVerScrolling) {
  if (AllowHorScrolling && AllowVerScrolling) return L"CX_FULLSCROLLBITMAP";
  return AllowVerScrolling ? L"CX_VERSCROLLBITMAP" : L"CX_HORSCROLLBITMAP";
}

}  // namespace cxControlsInternal

namespace {

// The round window that marks where scrolling started.
class TAnchorWindow {
 public:
  TAnchorWindow(HWND AOwner, const TPoint& AAnchor, bool AllowHor, bool AllowVer)
      : FBitmap(LoadBitmapW(GetModuleHandleW(nullptr), cxAnchorBitmapName(AllowHor, AllowVer))) {
    BITMAP AInfo{};
    if (FBitmap) GetObjectW(FBitmap.Get(), sizeof(AInfo), &AInfo);
    FSize = TSize{AInfo.bmWidth, AInfo.bmHeight};
    FWnd = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", nullptr, WS_POPUP, AAnchor.x - FSize.cx / 2,
                           AAnchor.y - FSize.cy / 2, FSize.cx, FSize.cy, AOwner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    if (!FWnd) return;
    // The window owns its region from here on.
    SetWindowRgn(FWnd, CreateEllipticRgn(0, 0, FSize.cx + 1, FSize.cy + 1), FALSE);
    SetWindowPos(FWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    Draw();
  }
  ~TAnchorWindow() {
    if (FWnd) DestroyWindow(FWnd);
  }
  TAnchorWindow(const TAnchorWindow&) = delete;
  TAnchorWindow& operator=(const TAnchorWindow&) = delete;

  HWND Handle() const { return FWnd; }
  Integer Size() const { return FSize.cx; }

  void Draw() {
    if (!FWnd || !FBitmap) return;
    TReleasedDC<&GetWindowDC> DC(FWnd);
    TMemoryDC AMemory(CreateCompatibleDC(DC.Get()));
    TSelectObjectGuard ASelect(AMemory.Get(), FBitmap.Get());
    BitBlt(DC.Get(), 0, 0, FSize.cx, FSize.cy, AMemory.Get(), 0, 0, SRCCOPY);
    TRegionHandle AEllipse(CreateEllipticRgn(0, 0, FSize.cx + 1, FSize.cy + 1));
    FrameRgn(DC.Get(), AEllipse.Get(), GetSysColorBrush(COLOR_WINDOWTEXT), 1, 1);
  }

 private:
  TBitmapHandle FBitmap;
  TSize FSize{0, 0};
  HWND FWnd = nullptr;
};

}  // namespace

void cxProcessControlScrollingOnMiddleButton(TcxControl* AControl, bool AllowHorScrolling,
                                             bool AllowVerScrolling,
                                             const TcxScrollContentProc& AScrollContent,
                                             bool& AScrollContentFlag) {
  if (!AllowHorScrolling && !AllowVerScrolling) return;
  // The flag belongs to the control: once the control is gone, so is the flag.
  TcxObjectLinkGuard ALink(AControl);
  AScrollContentFlag = true;
  bool ABreakOnMouseUp = false;
  const TPoint AAnchor = GetMouseCursorPos();
  const HWND ACaptureWnd = AControl->Handle();
  TAnchorWindow AAnchorWindow(ACaptureWnd, AAnchor, AllowHorScrolling, AllowVerScrolling);
  const Integer AAnchorSize = AAnchorWindow.Size();
  const TRect AScreen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                      GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                      GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  TcxAnchorScrolling AState{dirNone, 1};
  auto SetScrollCursor = [&] {
    if (Screen())
      ::SetCursor(Screen()->Cursors(
          cxAnchorScrollingCursor(AState.Direction, AllowHorScrolling, AllowVerScrolling)));
  };
  SetScrollCursor();
  Integer ATimerHits = 0;
  const UINT_PTR ATimer = SetTimer(nullptr, 0, 20, nullptr);
  SetCapture(ACaptureWnd);
  auto Finish = Finally([&] {
    if (GetCapture() == ACaptureWnd) ReleaseCapture();
    KillTimer(nullptr, ATimer);
    if (ALink.Alive()) AScrollContentFlag = false;
  });
  TPoint ALastPos = AAnchor;
  MSG Msg;
  while (ALink.Alive() && GetCapture() == ACaptureWnd) {
    const BOOL AGot = GetMessageW(&Msg, nullptr, 0, 0);
    if (AGot == -1) break;
    if (AGot == 0) {
      PostQuitMessage(static_cast<int>(Msg.wParam));
      break;
    }
    if (Msg.message == WM_PAINT && Msg.hwnd == AAnchorWindow.Handle()) {
      AAnchorWindow.Draw();
      ValidateRect(Msg.hwnd, nullptr);
      continue;
    }
    if (Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSEHWHEEL &&
        Msg.message != WM_MOUSEMOVE && Msg.message != WM_MBUTTONUP)
      break;
    bool AEnd = false;
    switch (Msg.message) {
      case WM_KEYDOWN:
      case WM_KEYUP:
        AEnd = Msg.wParam == VK_ESCAPE;
        break;
      case WM_TIMER:
        if (Msg.wParam != ATimer) break;
        ++ATimerHits;
        if (ATimerHits % (13 - AState.Speed) == 0) {
          try {
            AScrollContent(AState.Direction);
          } catch (...) {
            // The loop ends as on any other way out; the failure is reported.
            dxHandleException();
            AEnd = true;
          }
          if (!ALink.Alive()) return;
        }
        break;
      case WM_MOUSEMOVE: {
        POINT P = SmallPointToPoint(Msg.lParam);
        ClientToScreen(Msg.hwnd, &P);
        if (P.x != ALastPos.x || P.y != ALastPos.y) {
          AState = cxAnchorScrollingAt(AAnchor, AAnchorSize, AllowHorScrolling, AllowVerScrolling,
                                       TPoint{P.x, P.y}, AScreen);
          if (AState.Direction != dirNone) ABreakOnMouseUp = true;
          SetScrollCursor();
          ALastPos = TPoint{P.x, P.y};
        }
        break;
      }
      case WM_MBUTTONUP:
        AEnd = ABreakOnMouseUp;
        break;
      default:
        break;
    }
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
    if (AEnd) break;
  }
}
