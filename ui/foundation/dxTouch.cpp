#include "dxTouch.h"

#include <cmath>
#include <numbers>

#include "dxDPIAwareUtils.h"
#include "dxHooks.h"
#include "dxUxTheme.h"

namespace {
TdxTouchPlatform TouchPlatform;
TdxTouchControlServices TouchControlServices;
TPoint FGestureStartPoint{};
bool FNeedScalePanning = false;
std::vector<TdxGestureHelper*>* FTouchHelpers = nullptr;

const DWORD PanOptionIDs[4] = {GC_PAN_WITH_SINGLE_FINGER_VERTICALLY,
                               GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY, GC_PAN_WITH_GUTTER,
                               GC_PAN_WITH_INERTIA};

template <class F>
F Bind(HMODULE AModule, const char* AName) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(AModule, AName)));
}

Integer Sign(Integer V) { return (V > 0) - (V < 0); }

LONG& Axis(TPoint& P, TScrollBarKind AKind) { return AKind == sbHorizontal ? P.x : P.y; }
}  // namespace

TdxTouchPlatform& dxTouchPlatform() { return TouchPlatform; }
TdxTouchControlServices& dxTouchControlServices() { return TouchControlServices; }

TInteractiveGesture GetInteractiveGestureByGestureID(DWORD AGestureID) {
  switch (AGestureID) {
    case GID_ZOOM:
      return igZoom;
    case GID_PAN:
      return igPan;
    case GID_ROTATE:
      return igRotate;
    case GID_TWOFINGERTAP:
      return igTwoFingerTap;
    default:
      return igPressAndTap;
  }
}

TInteractiveGestureOption GetInteractiveGestureOptionByPanOptionID(DWORD APanOptionID) {
  switch (APanOptionID) {
    case GC_PAN_WITH_SINGLE_FINGER_VERTICALLY:
      return igoPanSingleFingerVertical;
    case GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY:
      return igoPanSingleFingerHorizontal;
    case GC_PAN_WITH_GUTTER:
      return igoPanGutter;
    default:
      return igoPanInertia;
  }
}

TInteractiveGestureOptions GetInteractiveGestureOptionsByPanOptions(DWORD APanOptions) {
  TInteractiveGestureOptions R;
  for (DWORD Id : PanOptionIDs)
    if (APanOptions & Id) R.Include(GetInteractiveGestureOptionByPanOptionID(Id));
  return R;
}

DWORD GetPanOptionsByInteractiveGestureOptions(const TInteractiveGestureOptions& AGestureOptions) {
  DWORD R = 0;
  for (int O = igoPanSingleFingerHorizontal; O <= igoPanGutter; ++O)
    if (AGestureOptions.Contains(static_cast<TInteractiveGestureOption>(O)))
      R |= dxTouchInteractiveGestureOptionToPanOption[O];
  return R;
}

bool dxSetGestureConfig(HWND AWindow, const TdxGestureConfigs& AGestureConfigs) {
  if (!TouchPlatform.SetGestureConfig) return false;
  return TouchPlatform.SetGestureConfig(AWindow, 0, static_cast<UINT>(AGestureConfigs.size()),
                                        reinterpret_cast<PGESTURECONFIG>(
                                            const_cast<TdxGestureConfig*>(AGestureConfigs.data())),
                                        sizeof(TdxGestureConfig)) != FALSE;
}

TdxGestureConfigs dxGestureConfigs(TInteractiveGestures AGestures,
                                   TInteractiveGestureOptions AOptions) {
  TdxGestureConfigs Configs;
  for (DWORD ID : dxSupportedGestureIDs) {
    // Every gesture's own flag is 1 (GC_PAN, GC_ZOOM, ...); a pan has more.
    DWORD All = GC_ALLGESTURES, Want = 0;
    if (ID == GID_PAN) {
      All = GC_PAN | GC_PAN_WITH_SINGLE_FINGER_VERTICALLY | GC_PAN_WITH_SINGLE_FINGER_HORIZONTALLY |
            GC_PAN_WITH_GUTTER | GC_PAN_WITH_INERTIA;
      if (AGestures.Contains(igPan))
        Want = GC_PAN | GetPanOptionsByInteractiveGestureOptions(AOptions);
    } else if (AGestures.Contains(GetInteractiveGestureByGestureID(ID))) {
      Want = All;
    }
    Configs.push_back(TdxGestureConfig{ID, Want, All & ~Want});
  }
  return Configs;
}

bool dxSetGestureConfig(HWND AWindow, TInteractiveGestures AGestures,
                        TInteractiveGestureOptions AOptions) {
  return dxSetGestureConfig(AWindow, dxGestureConfigs(AGestures, AOptions));
}

bool dxPhysicalToLogicalPoint(HWND AWindow, TPoint& APoint) {
  return TouchPlatform.PhysicalToLogicalPoint &&
         TouchPlatform.PhysicalToLogicalPoint(AWindow, &APoint) != FALSE;
}

bool dxLockGestures(HWND AHandle, TMessage& Message) {
  TdxGestureConfigs Configs{TdxGestureConfig{0, 0, GC_ALLGESTURES}};
  Message.Result = 1;
  return dxSetGestureConfig(AHandle, Configs);
}

// ---------------------------------------------------------------------------
// TdxGestureHelper

IMPLEMENT_CLASS(TdxGestureHelper)

TdxGestureHelper::TdxGestureHelper(IdxGestureOwner* AGestureOwner) : FGestureOwner(AGestureOwner) {
  if (FTouchHelpers) FTouchHelpers->push_back(this);
}

TdxGestureHelper::~TdxGestureHelper() {
  if (FTouchHelpers) std::erase(*FTouchHelpers, this);
}

bool TdxGestureHelper::AllowGesture(TInteractiveGesture AGestureId) {
  return GetGestureNotifyClient() && GetGestureNotifyClient()->AllowGesture(AGestureId);
}

bool TdxGestureHelper::AllowPan(TScrollBarKind AScrollKind) {
  return GetGestureNotifyClient() && GetGestureNotifyClient()->AllowPan(AScrollKind);
}

HWND TdxGestureHelper::GetHandle() { return FGestureOwner->GetGestureClientHandle(); }

DWORD TdxGestureHelper::GetPanOptions() {
  return GetGestureNotifyClient() ? GetGestureNotifyClient()->GetPanOptions() : 0;
}

bool TdxGestureHelper::IsGestureTarget(HWND AWnd) { return FGestureOwner->IsGestureTarget(AWnd); }

bool TdxGestureHelper::IsPanArea(const TPoint& APoint) {
  return GetGestureNotifyClient() && GetGestureNotifyClient()->IsPanArea(APoint);
}

bool TdxGestureHelper::NeedPanningFeedback(TScrollBarKind AScrollKind) {
  return FGestureClient && FGestureClient->NeedPanningFeedback(AScrollKind);
}

TPoint TdxGestureHelper::ScreenToClient(const TPoint& APoint) {
  return FGestureOwner->ScreenToClient(APoint);
}

TPoint TdxGestureHelper::GetTouchStartPoint() {
  TPoint P = FGestureStartPoint;
  dxPhysicalToLogicalPoint(GetHandle(), P);
  return ScreenToClient(P);
}

bool TdxGestureHelper::HandleMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GESTURE:
      Message.Result = Gesture(Message.Msg, Message.WParam, Message.LParam);
      return true;
    case WM_GESTURENOTIFY:
      GestureNotify();
      return false;
    case WM_DESTROY:
      if (FIsPanning) EndGestureScroll();
      return false;
    default:
      return false;
  }
}

void TdxGestureHelper::GestureNotify() {
  if (!TouchControlServices.FindControl) return;
  TPoint P = GetTouchStartPoint();
  HWND Wnd = GetHandle();
  IdxTouchControl* Control = TouchControlServices.FindControl(Wnd);
  RECT Client;
  if (!Control || !GetClientRect(Wnd, &Client) || !PtInRect(&Client, P)) return;
  IdxTouchControl* Child = TouchControlServices.ChildControlAt
                               ? TouchControlServices.ChildControlAt(Control, P)
                               : nullptr;
  FNotifyTouchControl = Child ? Child : Control;
}

void TdxGestureHelper::CheckGestureOptions(TInteractiveGestures& AGestures,
                                           TInteractiveGestureOptions& AOptions) {
  FGestureNotifyClient = FGestureOwner->GetGestureClient(GetTouchStartPoint());
  if (AGestures.Contains(igPan)) {
    if (!IsPanArea(GetTouchStartPoint())) {
      AOptions.Exclude(igoPanSingleFingerHorizontal);
      AOptions.Exclude(igoPanSingleFingerVertical);
    } else if (AOptions.Contains(igoPanSingleFingerHorizontal) ||
               AOptions.Contains(igoPanSingleFingerVertical)) {
      if (!AllowPan(sbHorizontal)) AOptions.Exclude(igoPanSingleFingerHorizontal);
      if (!AllowPan(sbVertical)) AOptions.Exclude(igoPanSingleFingerVertical);
    }
  }
  if (!AOptions.Contains(igoPanSingleFingerHorizontal) &&
      !AOptions.Contains(igoPanSingleFingerVertical))
    AGestures.Exclude(igPan);
}

LRESULT TdxGestureHelper::Gesture(UINT AMsg, WPARAM wParam, LPARAM lParam) {
  HGESTUREINFO Handle = reinterpret_cast<HGESTUREINFO>(lParam);
  auto Default = [&] {
    auto Proc = TouchPlatform.DefWindowProc ? TouchPlatform.DefWindowProc : &DefWindowProcW;
    return Proc(GetHandle(), AMsg, wParam, lParam);
  };
  TdxGestureInfo Info = {};
  Info.cbSize = sizeof(Info);
  // Default handling frees the handle of a gesture that could not be read.
  if (!TouchPlatform.GetGestureInfo || !TouchPlatform.GetGestureInfo(Handle, &Info))
    return Default();
  // The handle is closed on every path, except after default handling,
  // which frees it itself.
  auto Close = Finally([&] {
    if (TouchPlatform.CloseGestureInfoHandle) TouchPlatform.CloseGestureInfoHandle(Handle);
  });
  LRESULT Result = 0;
  {
    TGestureEventInfo Event;
    Event.GestureID = static_cast<Integer>(Info.dwID) + 256;
    if (Info.dwFlags & GF_BEGIN) Event.Flags.Include(gfBegin);
    if (Info.dwFlags & GF_INERTIA) Event.Flags.Include(gfInertia);
    if (Info.dwFlags & GF_END) Event.Flags.Include(gfEnd);
    bool Sequence = Info.dwID == GID_BEGIN || Info.dwID == GID_END;
    if (!Sequence && (FTouchControl || (Event.Flags.Contains(gfBegin) && FNotifyTouchControl))) {
      if (Event.Flags.Contains(gfBegin)) FTouchControl = FNotifyTouchControl;
      IdxTouchControl* Control = FTouchControl;
      TInteractiveGesture G = GetInteractiveGestureByGestureID(Info.dwID);
      while (Control->TouchParent() && Control->PassesGesturesToParent() &&
             !Control->HandlesGesture(G))
        Control = Control->TouchParent();
      FillEvent(Info, Control, Event);
      Result = Control->PerformGesture(Event);
      if (Event.Flags.Contains(gfEnd)) FTouchControl = nullptr;
    }
  }
  if (Result != 1) {
    Close.Dismiss();
    Result = Default();
  }
  return Result;
}

void TdxGestureHelper::FillEvent(const TdxGestureInfo& AInfo, IdxTouchControl* AControl,
                                 TGestureEventInfo& AEvent) {
  TPoint Location{AInfo.ptsLocation.x, AInfo.ptsLocation.y};
  AEvent.Location = AControl->TouchScreenToClient(Location);
  const ULONGLONG Args = AInfo.ullArguments;
  switch (AEvent.GestureID) {
    case gcPanEvent:
      AEvent.Distance = static_cast<Integer>(static_cast<DWORD>(Args));
      AEvent.InertiaVector = TPoint{static_cast<SHORT>(Args >> 32), static_cast<SHORT>(Args >> 48)};
      break;
    case gcRotateEvent:
      AEvent.Angle =
          (static_cast<Word>(Args) / 65535.0) * 4 * std::numbers::pi - 2 * std::numbers::pi;
      break;
    case gcPressAndTapEvent: {
      TPoint Tap{Location.x + static_cast<SHORT>(Args),
                 Location.y + static_cast<SHORT>(Args >> 16)};
      IdxTouchControl* WindowOf = AControl;
      while (WindowOf && !WindowOf->TouchWindow()) WindowOf = WindowOf->TouchParent();
      dxPhysicalToLogicalPoint(WindowOf ? WindowOf->TouchWindow() : nullptr, Tap);
      AEvent.TapLocation = AControl->TouchScreenToClient(Tap);
      break;
    }
    default:
      AEvent.Distance = static_cast<Integer>(static_cast<DWORD>(Args));
      break;
  }
}

void TdxGestureHelper::DoGesture(const TGestureEventInfo& AEventInfo, bool& AHandled) {
  bool Begin = AEventInfo.Flags.Contains(gfBegin), End = AEventInfo.Flags.Contains(gfEnd);
  switch (AEventInfo.GestureID) {
    case gcZoomEvent:
      AHandled = Zoom(AEventInfo.Distance, Begin, End);
      break;
    case gcPanEvent:
      AHandled = Pan(AEventInfo.Location, Begin, End, AEventInfo.Flags.Contains(gfInertia));
      break;
    case gcRotateEvent:
      AHandled = Rotate(AEventInfo.Angle, Begin, End);
      break;
    default:
      break;
  }
}

bool TdxGestureHelper::Pan(TPoint APos, bool AIsBegin, bool AIsEnd, bool AIsInertia) {
  if (FNeedScalePanning && dxSystemScaleFactor() && dxDesktopScaleFactor())
    APos = dxSystemScaleFactor()->Apply(APos, dxDesktopScaleFactor());
  FIsInertia = AIsInertia;
  if (AIsBegin) {
    FGestureClient = GetGestureNotifyClient();
    BeginGestureScroll(APos);
  } else if (FGestureClient) {
    Integer DX = APos.x - FPanPoint.x, DY = APos.y - FPanPoint.y;
    if (AIsEnd) FOverPan = TPoint{0, 0};
    CorrectOverpan(sbHorizontal, DX);
    CorrectOverpan(sbVertical, DY);
    FGestureClient->GestureScroll(DX, DY);
    if (AIsEnd) {
      EndGestureScroll();
      FGestureClient = nullptr;
    }
  }
  FPanPoint = APos;
  return true;
}

void TdxGestureHelper::BeginGestureScroll(const TPoint& APos) {
  FIsPanning = true;
  if (FGestureClient) FGestureClient->BeginGestureScroll(APos);
  if (NeedPanningFeedback(sbHorizontal) || NeedPanningFeedback(sbVertical))
    dxBeginPanningFeedback(GetHandle());
  FOverPan = TPoint{0, 0};
}

void TdxGestureHelper::EndGestureScroll() {
  FIsPanning = false;
  if (FGestureClient) FGestureClient->EndGestureScroll();
  if (NeedPanningFeedback(sbHorizontal) || NeedPanningFeedback(sbVertical))
    dxEndPanningFeedback(GetHandle(), true);
}

void TdxGestureHelper::CorrectOverpan(TScrollBarKind AScrollKind, Integer& ADelta) {
  Integer O = static_cast<Integer>(Axis(FOverPan, AScrollKind));
  if (O == 0 || ADelta == 0 || Sign(ADelta) == Sign(O) || !NeedPanningFeedback(AScrollKind)) return;
  Integer C = std::abs(O) >= std::abs(ADelta) ? ADelta : -O;
  DoOverpan(AScrollKind, C);
  ADelta -= C;
}

bool TdxGestureHelper::DoOverpan(TScrollBarKind AScrollKind, Integer ADelta) {
  Axis(FOverPan, AScrollKind) += ADelta;
  return dxUpdatePanningFeedback(GetHandle(), FOverPan, FIsInertia);
}

void TdxGestureHelper::CheckOverpan(TScrollBarKind AScrollKind, Integer ANewDataPos,
                                    Integer AMinDataPos, Integer AMaxDataPos, Integer ADeltaX,
                                    Integer ADeltaY) {
  if (NeedPanningFeedback(AScrollKind) &&
      (ANewDataPos <= AMinDataPos || ANewDataPos >= AMaxDataPos))
    DoOverpan(AScrollKind, AScrollKind == sbVertical ? ADeltaY : ADeltaX);
}

bool TdxGestureHelper::Zoom(Integer ADistance, bool AIsBegin, bool AIsEnd) {
  if (AIsBegin) {
    FLastDistance = ADistance;
    FGestureClient = GetGestureNotifyClient();
  }
  bool Handled = false;
  IdxZoomClient* ZoomClient = nullptr;
  if (FGestureClient && SUCCEEDED(FGestureClient->QueryInterface(
                            __uuidof(IdxZoomClient), reinterpret_cast<void**>(&ZoomClient)))) {
    ZoomClient->Zoom(ADistance - FLastDistance, Handled);
    ZoomClient->Release();
  }
  FLastDistance = ADistance;
  if (AIsEnd) FGestureClient = nullptr;
  return Handled;
}

bool TdxGestureHelper::Rotate(Double AAngle, bool AIsBegin, bool AIsEnd) {
  if (AIsBegin) FGestureClient = GetGestureNotifyClient();
  bool Handled = false;
  IdxRotateClient* RotateClient = nullptr;
  if (FGestureClient && SUCCEEDED(FGestureClient->QueryInterface(
                            __uuidof(IdxRotateClient), reinterpret_cast<void**>(&RotateClient)))) {
    RotateClient->Rotate(AAngle, Handled);
    RotateClient->Release();
  }
  if (AIsEnd) FGestureClient = nullptr;
  return Handled;
}

// Remembers where every touch starts, before the target window sees it.
void dxTouchWndProcHook(Integer ACode, WPARAM, LPARAM lParam, LRESULT&) {
  if (ACode != HC_ACTION) return;
  const CWPSTRUCT* Msg = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (Msg->message != WM_GESTURENOTIFY) return;
  const GESTURENOTIFYSTRUCT* Notify = reinterpret_cast<const GESTURENOTIFYSTRUCT*>(Msg->lParam);
  FGestureStartPoint = TPoint{Notify->ptsLocation.x, Notify->ptsLocation.y};
  if (FTouchHelpers)
    for (TdxGestureHelper* H : *FTouchHelpers) H->FNotifyTouchControl = nullptr;
}

void dxTouch_Initialize() {
  HMODULE User = GetModuleHandleW(L"user32.dll");
  TouchPlatform.GetGestureInfo =
      Bind<decltype(TouchPlatform.GetGestureInfo)>(User, "GetGestureInfo");
  TouchPlatform.CloseGestureInfoHandle =
      Bind<decltype(TouchPlatform.CloseGestureInfoHandle)>(User, "CloseGestureInfoHandle");
  TouchPlatform.SetGestureConfig =
      Bind<decltype(TouchPlatform.SetGestureConfig)>(User, "SetGestureConfig");
  TouchPlatform.LogicalToPhysicalPoint =
      Bind<decltype(TouchPlatform.LogicalToPhysicalPoint)>(User, "LogicalToPhysicalPoint");
  TouchPlatform.PhysicalToLogicalPoint =
      Bind<decltype(TouchPlatform.PhysicalToLogicalPoint)>(User, "PhysicalToLogicalPoint");
  TouchPlatform.DefWindowProc = &DefWindowProcW;
  FNeedScalePanning = !IsWin8OrLater && !dxIsProcessDPIAware();
  if (!FTouchHelpers) FTouchHelpers = new std::vector<TdxGestureHelper*>();
  dxSetHook(htWndProc, &dxTouchWndProcHook);
  GestureConfigRoutines().Apply = [](HWND AWnd, TInteractiveGestures AGestures,
                                     TInteractiveGestureOptions AOptions) {
    return dxSetGestureConfig(AWnd, AGestures, AOptions);
  };
}

void dxTouch_Finalize() {
  GestureConfigRoutines() = TGestureConfigRoutines{};
  dxReleaseHook(&dxTouchWndProcHook);
  delete FTouchHelpers;
  FTouchHelpers = nullptr;
}
