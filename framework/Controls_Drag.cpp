// Drag and drop between controls: the operation that follows the pointer
// with the mouse captured, asks the control under it (CM_DRAG) and ends in
// a drop or a cancel; the drag objects; the control's side of it.

#include "Controls.h"
#include "ControlsInternal.h"
#include "Forms.h"
#include "ImgList.h"
#include "WinHandles.h"

// One drag in progress at a time. The loop owns the input while it runs:
// mouse and key messages are read here and never dispatched, everything
// else (painting, timers, posted work) goes on as usual.
class TDragOperation {
 public:
  TDragOperation(TControl* AControl, bool AImmediate, Integer AThreshold)
      : FControl(AControl), FImmediate(AImmediate), FThreshold(AThreshold) {}
  void Run();
  // Drops on the accepting target (when Drop) or cancels; once.
  void Finish(bool ADrop);
  void ControlDestroyed(TControl* AControl);
  TControl* Control() const { return FControl; }
  bool Done() const { return FDone; }
  TDragObject* Object() const { return FObject; }

 private:
  void HandleMessage(const MSG& Msg);
  void Activate(const TPoint& P);
  void DragTo(const TPoint& P);
  bool Ask(TControl* ATarget, TDragMessage AMessage, const TPoint& P);
  void ShowImages(bool AShow, const TPoint& P);
  void EndImages();
  // Hands the end to the drag object and lets go of it.
  void DeliverFinished(TObject* ATarget, Integer X, Integer Y, bool Accepted);
  void CaptureWndProc(TMessage& Message);

  TControl* FControl;  // nullptr once it is destroyed
  bool FImmediate;
  Integer FThreshold;
  TDragObject* FObject = nullptr;
  TControl* FTarget = nullptr;
  TPoint FStartPos{0, 0}, FLastPos{0, 0};
  bool FActive = false, FAccepted = false, FDone = false;
  HWND FCaptureWnd = nullptr;
  bool FImagesBegun = false, FImagesShown = false;
};

namespace {

TDragOperation* ActiveDrag = nullptr;

void SetDragCursor(TCursor ACursor) {
  if (TScreen* S = Screen()) ::SetCursor(S->Cursors(ACursor));
}

TPoint ScreenPosOf(const MSG& Msg) {
  const TPoint P = SmallPointToPoint(Msg.lParam);
  POINT Pt{P.x, P.y};
  ClientToScreen(Msg.hwnd, &Pt);
  return TPoint{Pt.x, Pt.y};
}

bool IsModifierKey(WPARAM AKey) {
  return AKey == VK_CONTROL || AKey == VK_SHIFT || AKey == VK_MENU;
}

}  // namespace

void TDragOperation::Run() {
  ActiveDrag = this;
  auto Clear = Finally([this] {
    Finish(false);
    if (FCaptureWnd) DeallocateHWnd(FCaptureWnd);
    ActiveDrag = nullptr;
  });
  POINT Pt;
  GetCursorPos(&Pt);
  FStartPos = FLastPos = TPoint{Pt.x, Pt.y};
  FCaptureWnd = AllocateHWnd(MakeEvent<&TDragOperation::CaptureWndProc>(this));
  TDragObject* AObject = nullptr;
  FControl->DoStartDrag(AObject);
  if (FDone) {
    // Cancelled (or the control freed) while starting: an object given
    // anyway hears that its drag is over, so that it can go.
    FObject = FControl ? AObject : nullptr;
    DeliverFinished(nullptr, 0, 0, false);
    return;
  }
  if (!AObject) {
    AObject = Create<TDragControlObject>(FControl);
    AObject->FMadeByFramework = true;
  }
  FObject = AObject;
  SetCapture(FCaptureWnd);
  if (FImmediate) Activate(FStartPos);
  while (!FDone) {
    if (GetCapture() != FCaptureWnd) {
      Finish(false);
      break;
    }
    MSG Msg;
    BOOL Got = GetMessageW(&Msg, nullptr, 0, 0);
    if (Got == -1) break;
    if (Got == 0) {
      PostQuitMessage(static_cast<int>(Msg.wParam));
      break;
    }
    HandleMessage(Msg);
  }
}

void TDragOperation::HandleMessage(const MSG& Msg) {
  switch (Msg.message) {
    case WM_MOUSEMOVE: {
      TPoint P = ScreenPosOf(Msg);
      if (FActive)
        DragTo(P);
      else if (std::abs(P.x - FStartPos.x) >= FThreshold ||
               std::abs(P.y - FStartPos.y) >= FThreshold)
        Activate(P);
      return;
    }
    case WM_LBUTTONUP:
      if (FActive) DragTo(ScreenPosOf(Msg));
      Finish(true);
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      Finish(false);
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (Msg.wParam == VK_ESCAPE) {
        Finish(false);
        return;
      }
      [[fallthrough]];
    case WM_KEYUP:
    case WM_SYSKEYUP:
      // A modifier may change what the target would do (copy or move):
      // it is asked again at the same place.
      if (FActive && IsModifierKey(Msg.wParam)) DragTo(FLastPos);
      return;
    default:
      break;
  }
  if (Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST) return;
  TranslateMessage(&Msg);
  DispatchMessageW(&Msg);
}

void TDragOperation::Activate(const TPoint& P) {
  FActive = true;
  if (TCustomImageList* Images = FObject->GetDragImages();
      Images && Images->Count() > 0 && ImageList_BeginDrag(Images->Handle(), 0, 0, 0))
    FImagesBegun = true;
  DragTo(P);
}

bool TDragOperation::Ask(TControl* ATarget, TDragMessage AMessage, const TPoint& P) {
  TDragRec Rec{P, FObject};
  return ATarget->Perform(CM_DRAG, AMessage, reinterpret_cast<LPARAM>(&Rec)) != 0;
}

void TDragOperation::DragTo(const TPoint& P) {
  FLastPos = P;
  FObject->FDragPos = P;
  TControl* ATarget = FindDragTarget(P, false);
  if (ATarget != FTarget) {
    if (FTarget) Ask(FTarget, dmDragLeave, P);
    if (FDone) return;
    FTarget = ATarget;
    FAccepted = false;
    if (FTarget) FAccepted = Ask(FTarget, dmDragEnter, P);
  } else if (FTarget) {
    FAccepted = Ask(FTarget, dmDragMove, P);
  }
  if (FDone) return;
  // A target freed by its own handler is gone.
  if (!FTarget) FAccepted = false;
  FObject->FDragTarget = FTarget;
  ShowImages(FTarget && FTarget->ControlStyle().Contains(csDisplayDragImage), P);
  SetDragCursor(FObject->GetDragCursor(FAccepted, P.x, P.y));
}

void TDragOperation::ShowImages(bool AShow, const TPoint& P) {
  if (!FImagesBegun) return;
  if (AShow && !FImagesShown)
    ImageList_DragEnter(nullptr, P.x, P.y);
  else if (!AShow && FImagesShown)
    ImageList_DragLeave(nullptr);
  else if (AShow)
    ImageList_DragMove(P.x, P.y);
  FImagesShown = AShow;
}

void TDragOperation::EndImages() {
  ShowImages(false, FLastPos);
  if (FImagesBegun) ImageList_EndDrag();
  FImagesBegun = false;
}

void TDragOperation::Finish(bool ADrop) {
  if (FDone) return;
  FDone = true;
  if (!FObject) return;
  EndImages();
  if (GetCapture() == FCaptureWnd) ReleaseCapture();
  const bool Accepted = ADrop && FActive && FAccepted && FTarget;
  if (FTarget) {
    if (Accepted) {
      TDragRec Rec{FLastPos, FObject};
      FTarget->Perform(CM_DRAG, dmDragDrop, reinterpret_cast<LPARAM>(&Rec));
    } else {
      Ask(FTarget, dmDragLeave, FLastPos);
    }
  }
  SetDragCursor(Screen() ? Screen()->Cursor() : crDefault);
  // The drop may have freed the target: the end then names none.
  if (Accepted && FTarget) {
    TPoint P = FTarget->ScreenToClient(FLastPos);
    DeliverFinished(FTarget, P.x, P.y, true);
  } else {
    DeliverFinished(nullptr, 0, 0, false);
  }
}

void TDragOperation::DeliverFinished(TObject* ATarget, Integer X, Integer Y, bool Accepted) {
  TDragObject* AObject = std::exchange(FObject, nullptr);
  if (!AObject) return;
  auto Free = Finally([AObject] {
    if (AObject->FMadeByFramework) AObject->Free();
  });
  AObject->Finished(ATarget, X, Y, Accepted);
}

void TDragOperation::ControlDestroyed(TControl* AControl) {
  if (AControl == FTarget) {
    FTarget = nullptr;
    FAccepted = false;
    if (FObject) FObject->FDragTarget = nullptr;
  }
  if (AControl != FControl) return;
  // The dragged control hears the end while it still exists, even when the
  // drop that is freeing it is still under way.
  if (!FDone)
    Finish(false);
  else
    DeliverFinished(nullptr, 0, 0, false);
  FControl = nullptr;
}

void TDragOperation::CaptureWndProc(TMessage& Message) {
  // Losing the capture ends the drag; the loop sees it once it wakes up.
  if (Message.Msg == WM_CAPTURECHANGED && !FDone) PostMessageW(FCaptureWnd, WM_NULL, 0, 0);
  Message.Result = DefWindowProcW(FCaptureWnd, Message.Msg, Message.WParam, Message.LParam);
}

TDragObject* DragObjectInProgress() {
  return ActiveDrag && !ActiveDrag->Done() ? ActiveDrag->Object() : nullptr;
}

void DragControlDestroyed(TControl* AControl) {
  if (ActiveDrag) ActiveDrag->ControlDestroyed(AControl);
}

// ---------------------------------------------------------------------------
// Drag objects

IMPLEMENT_CREATABLE_CLASS(TDragObject)

TCursor TDragObject::GetDragCursor(bool Accepted, Integer, Integer) {
  return Accepted ? crDrag : crNoDrop;
}

void TDragObject::HideDragImage() {
  if (GetDragImages()) ImageList_DragShowNolock(FALSE);
}

void TDragObject::ShowDragImage() {
  if (GetDragImages()) ImageList_DragShowNolock(TRUE);
}

IMPLEMENT_CREATABLE_CLASS(TDragControlObject)

TCursor TDragControlObject::GetDragCursor(bool Accepted, Integer, Integer) {
  return Accepted ? FControl->DragCursor() : crNoDrop;
}

TCustomImageList* TDragControlObject::GetDragImages() { return FControl->GetDragImages(); }

void TDragControlObject::Finished(TObject* Target, Integer X, Integer Y, bool) {
  FControl->DoEndDrag(Target, X, Y);
}

// ---------------------------------------------------------------------------
// The control's side

void TControl::BeginDrag(bool Immediate, Integer Threshold) {
  if (ActiveDrag || ComponentState().Contains(csDesigning)) return;
  TDragOperation Operation(this, Immediate,
                           Threshold < 0 ? GetSystemMetrics(SM_CXDRAG) : Threshold);
  Operation.Run();
}

void TControl::EndDrag(bool Drop) {
  if (Dragging()) ActiveDrag->Finish(Drop);
}

bool TControl::Dragging() const {
  return ActiveDrag && ActiveDrag->Control() == this && !ActiveDrag->Done();
}

void TControl::DoStartDrag(TDragObject*& DragObject) {
  if (OnStartDrag) OnStartDrag(this, DragObject);
}

void TControl::DoEndDrag(TObject* Target, Integer X, Integer Y) {
  if (OnEndDrag) OnEndDrag(this, Target, X, Y);
}

void TControl::DragOver(TObject* Source, Integer X, Integer Y, TDragState State, bool& Accept) {
  Accept = static_cast<bool>(OnDragOver);
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TControl::DragDrop(TObject* Source, Integer X, Integer Y) {
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TControl::CMDrag(TMessage& Message) {
  const TDragRec* Rec = reinterpret_cast<const TDragRec*>(Message.LParam);
  TDragObject* AObject = Rec->Source;
  TObject* ASource = AObject;
  if (AObject->FMadeByFramework) ASource = static_cast<TDragControlObject*>(AObject)->Control();
  const TPoint P = ScreenToClient(Rec->Pos);
  switch (static_cast<TDragMessage>(Message.WParam)) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
      static constexpr TDragState States[] = {dsDragEnter, dsDragLeave, dsDragMove};
      bool Accept = false;
      DragOver(ASource, P.x, P.y, States[Message.WParam], Accept);
      Message.Result = Accept;
      break;
    }
    case dmDragDrop:
      DragDrop(ASource, P.x, P.y);
      break;
  }
}
