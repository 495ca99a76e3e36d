// Drag and drop: the control's own drag and drop with its drag-and-drop
// object, the control's part in the framework's drag and drop, drag images,
// the size frame and the detection of a drag start.
#include <utility>

#include "WinHandles.h"
#include "cxControlsInternal.h"

using namespace cxControlsInternal;

IMPLEMENT_CREATABLE_CLASS(TcxDragImageList)

// ---------------------------------------------------------------------------
// TcxCustomDragImage

IMPLEMENT_CLASS(TcxCustomDragImage)

TcxCustomDragImage::TcxCustomDragImage() : TCustomControl(nullptr) {}

TcxCustomDragImage::~TcxCustomDragImage() {
  if (FPopupParent) FPopupParent->RemoveFreeNotification(this);
}

void TcxCustomDragImage::AfterConstruction() {
  inherited::AfterConstruction();
  FCanvas.reset(Create<TcxCanvas>(inherited::Canvas()));
  HandleNeeded();
  SetBounds(0, 0, 0, 0);
  SetAlphaBlend(true);
  SetAlphaBlendValue(cxDragAndDropWindowTransparency);
}

HWND TcxCustomDragImage::OwnerWindow() {
  if (FPopupParent) return FPopupParent->Handle();
  if (TCustomForm* F = dxGetScreenActiveForm()) return F->Handle();
  TApplication* App = Application();
  if (!App->MainFormOnTaskBar()) return App->Handle();
  TCustomForm* Main = App->MainForm();
  return Main && Main->HandleAllocated() ? Main->Handle() : nullptr;
}

void TcxCustomDragImage::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_TOOLWINDOW;
  if (!ComponentState().Contains(csDesigning) && ControlsState().SetLayeredWindowAttributes &&
      (FAlphaBlend || FTransparentColor))
    Params.ExStyle |= WS_EX_LAYERED;
  Params.WndParent = OwnerWindow();
}

void TcxCustomDragImage::CreateWnd() {
  inherited::CreateWnd();
  // Above every window, never activated and without its owner moving along
  // in the z-order: the image must neither take the focus from the dragging
  // control nor reorder the forms. Also after a recreation (a new owner).
  dxSetZOrder(FHandle, HWND_TOPMOST, false, SWP_NOOWNERZORDER);
  UpdateLayeredAttributes();
}

void TcxCustomDragImage::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FPopupParent) FPopupParent = nullptr;
}

void TcxCustomDragImage::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TcxCustomDragImage::WMNCHitTest(TMessage& Message) { Message.Result = HTTRANSPARENT; }

void TcxCustomDragImage::UpdateLayeredAttributes() {
  auto SetAttributes = ControlsState().SetLayeredWindowAttributes;
  if (ComponentState().Contains(csDesigning) || !SetAttributes || !HandleAllocated()) return;
  if (FAlphaBlend || FTransparentColor) {
    dxSetWindowStyle(FHandle, WS_EX_LAYERED, soAdd, wsiExStyle);
    DWORD Flags = 0;
    if (FAlphaBlend) Flags |= LWA_ALPHA;
    if (FTransparentColor) Flags |= LWA_COLORKEY;
    SetAttributes(FHandle, ColorToRGB(FTransparentColorValue), FAlphaBlendValue, Flags);
  } else {
    dxSetWindowStyle(FHandle, WS_EX_LAYERED, soSubtract, wsiExStyle);
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE);
  }
}

void TcxCustomDragImage::Init(const TRect& ASourceBounds, const TPoint& ASourcePoint) {
  SetBounds(Left(), Top(), RectWidth(ASourceBounds), RectHeight(ASourceBounds));
  FPositionOffset = TPoint{ASourcePoint.x - ASourceBounds.left, ASourcePoint.y - ASourceBounds.top};
}

void TcxCustomDragImage::MoveTo(const TPoint& APosition) {
  SetBounds(APosition.x - FPositionOffset.x, APosition.y - FPositionOffset.y, Width(), Height());
}

void TcxCustomDragImage::Offset(Integer X, Integer Y) {
  SetBounds(Left() + X, Top() + Y, Width(), Height());
}

void TcxCustomDragImage::Show(Integer ACmdShow) {
  ShowWindow(Handle(), ACmdShow);
  UpdateLayeredAttributes();
  Update();
}

void TcxCustomDragImage::Hide() {
  if (HandleAllocated()) ShowWindow(FHandle, SW_HIDE);
}

bool TcxCustomDragImage::Visible() { return HandleAllocated() && IsWindowVisible(FHandle); }

void TcxCustomDragImage::SetVisible(bool AValue) {
  if (AValue)
    Show(SW_SHOWNA);
  else
    Hide();
}

void TcxCustomDragImage::SetAlphaBlend(bool AValue) {
  if (FAlphaBlend == AValue) return;
  FAlphaBlend = AValue;
  UpdateLayeredAttributes();
}

void TcxCustomDragImage::SetAlphaBlendValue(Byte AValue) {
  if (FAlphaBlendValue == AValue) return;
  FAlphaBlendValue = AValue;
  UpdateLayeredAttributes();
}

bool TcxCustomDragImage::AlphaBlended() const {
  return FAlphaBlend && ControlsState().SetLayeredWindowAttributes != nullptr;
}

void TcxCustomDragImage::SetTransparentColor(bool AValue) {
  if (FTransparentColor == AValue) return;
  FTransparentColor = AValue;
  UpdateLayeredAttributes();
}

void TcxCustomDragImage::SetTransparentColorValue(TColor AValue) {
  if (FTransparentColorValue == AValue) return;
  FTransparentColorValue = AValue;
  UpdateLayeredAttributes();
}

void TcxCustomDragImage::SetPopupParent(TWinControl* AValue) {
  if (FPopupParent == AValue) return;
  if (FPopupParent) FPopupParent->RemoveFreeNotification(this);
  FPopupParent = AValue;
  if (FPopupParent) FPopupParent->FreeNotification(this);
  // The owner of a window is fixed when the window is made.
  if (HandleAllocated() && !ComponentState().Contains(csDestroying)) {
    RecreateWnd();
    HandleNeeded();
  }
}

// ---------------------------------------------------------------------------
// TcxSizeFrame

IMPLEMENT_CLASS(TcxSizeFrame)

namespace {

// The 8 x 8 pattern of black and white pixels in turn.
TOwned<TBitmap> CreateHalftonePattern() {
  TOwned<TBitmap> B = MakeOwned<TBitmap>();
  B->SetSize(8, 8);
  for (Integer Y = 0; Y < 8; ++Y)
    for (Integer X = 0; X < 8; ++X) B->Canvas()->SetPixel(X, Y, (X + Y) % 2 ? clWhite : clBlack);
  return B;
}

}  // namespace

TcxSizeFrame::TcxSizeFrame(Integer AFrameWidth) : FFrameWidth(AFrameWidth) {}

TcxSizeFrame::~TcxSizeFrame() = default;

void TcxSizeFrame::AfterConstruction() {
  inherited::AfterConstruction();
  SetAlphaBlend(false);
  FRegion = MakeOwned<TcxRegion>();
  FPattern = CreateHalftonePattern();
  Canvas()->Brush()->SetBitmap(FPattern.get());
}

void TcxSizeFrame::Paint() { Canvas()->Canvas()->FillRect(ClientRect()); }

void TcxSizeFrame::DrawSizeFrame(const TRect& ARect) {
  FRegion = MakeOwned<TcxRegion>(0, 0, RectWidth(ARect), RectHeight(ARect));
  SetBoundsRect(ARect);
}

void TcxSizeFrame::DrawSizeFrame(const TRect& ARect, const TcxRegion* ARegion) {
  FRegion.reset(ARegion ? ARegion->Clone() : Create<TcxRegion>());
  SetBoundsRect(ARect);
}

void TcxSizeFrame::SetBounds(Integer ALeft, Integer ATop, Integer AWidth, Integer AHeight) {
  inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
  // A frame too small for its ring on either axis keeps the shape it had.
  if (!HandleAllocated() || !FRegion || 2 * FFrameWidth >= Width() || 2 * FFrameWidth >= Height())
    return;
  if (!FFillSelection) MakeFrameRing();
  ApplyWindowRegion();
}

void TcxSizeFrame::MakeFrameRing() {
  // Eroding by the frame width on all four sides works for any shape, not
  // only for rectangles.
  TOwned<TcxRegion> Inner(FRegion->Clone());
  const TPoint Shifts[] = {
      {FFrameWidth, 0}, {0, FFrameWidth}, {-FFrameWidth, 0}, {0, -FFrameWidth}};
  for (const TPoint& Shift : Shifts) {
    TcxRegion* Shifted = Inner->Clone();
    Shifted->Offset(Shift);
    Inner->Combine(Shifted, roIntersect);
  }
  FRegion->Combine(Inner.release(), roSubtract);
}

void TcxSizeFrame::ApplyWindowRegion() {
  TOwned<TcxRegion> Current = MakeOwned<TcxRegion>();
  if (GetWindowRgn(FHandle, Current->Handle()) != ERROR && Current->IsEqual(FRegion.get())) return;
  // The platform owns the region it is given.
  TOwned<TcxRegion> Copy(FRegion->Clone());
  if (SetWindowRgn(FHandle, Copy->Handle(), TRUE)) Copy->SetHandle(nullptr);
}

// ---------------------------------------------------------------------------
// Drag detection

TcxDragDetect cxDragDetect(HWND AWnd, const TPoint& P) {
  const Integer DX = GetSystemMetrics(SM_CXDRAG), DY = GetSystemMetrics(SM_CYDRAG);
  const RECT DragRect{P.x - DX, P.y - DY, P.x + DX, P.y + DY};
  TcxDragDetect Result = ddCancel;
  cxSetCapture(AWnd);
  auto Release = Finally([AWnd] {
    if (GetCapture() == AWnd) ReleaseCapture();
  });
  while (GetCapture() == AWnd) {
    MSG Msg;
    BOOL Got = GetMessageW(&Msg, nullptr, 0, 0);
    if (Got == -1) break;
    if (Got == 0) {
      PostQuitMessage(static_cast<int>(Msg.wParam));
      break;
    }
    bool Done = false;
    switch (Msg.message) {
      case WM_KEYDOWN:
      case WM_KEYUP:
        Done = Msg.wParam == VK_ESCAPE;
        break;
      case WM_MOUSEMOVE:
        if (Msg.hwnd == AWnd) {
          // Signed: a captured pointer left of or above the client origin
          // gives negative coordinates.
          POINT Pt = SmallPointToPoint(Msg.lParam);
          ClientToScreen(AWnd, &Pt);
          if (!PtInRect(&DragRect, Pt)) {
            Result = ddDrag;
            Done = true;
          }
        }
        break;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        Result = ddNone;
        Done = true;
        break;
    }
    TranslateMessage(&Msg);
    DispatchMessageW(&Msg);
    if (Done) break;
  }
  return Result;
}

// ---------------------------------------------------------------------------
// The framework drag object of the library's controls

namespace {

// The framework drag object last seen over a library control.
TDragObject* CurrentDragObject = nullptr;

}  // namespace

TDragObject* GetDragObject() {
  // Only while its drag lasts: the object is freed when the drag ends, and
  // a drop or an end elsewhere leaves no leave behind to clear it.
  TDragObject* AObject = DragObjectInProgress();
  return AObject && AObject == CurrentDragObject ? AObject : nullptr;
}

IMPLEMENT_CREATABLE_CLASS(TcxDragControlObject)

TCursor TcxDragControlObject::GetDragCursor(bool Accepted, Integer X, Integer Y) {
  TcxControl* AControl = dynamic_cast<TcxControl*>(Control());
  if (Accepted && AControl && AControl->GetIsCopyDragDrop()) return crDragCopy;
  return inherited::GetDragCursor(Accepted, X, Y);
}

void TcxDragControlObject::Finished(TObject* Target, Integer X, Integer Y, bool Accepted) {
  if (CurrentDragObject == this) CurrentDragObject = nullptr;
  auto FreeSelf = Finally([this] { Free(); });
  inherited::Finished(Target, X, Y, Accepted);
}

// ---------------------------------------------------------------------------
// TcxDragAndDropObject

IMPLEMENT_CREATABLE_CLASS(TcxDragAndDropObject)

TcxDragAndDropObject::TcxDragAndDropObject(TcxControl* AControl)
    : FCanvas(AControl->Canvas()), FControl(AControl) {}

void TcxDragAndDropObject::SetDirty(bool AValue) {
  if (FDirty == AValue) return;
  FDirty = AValue;
  DirtyChanged();
}

TPoint TcxDragAndDropObject::GetClientCursorPos() { return FControl->GetMouseCursorClientPos(); }

TCursor TcxDragAndDropObject::GetDragAndDropCursor(bool Accepted) {
  return Accepted ? crDrag : crNoDrop;
}

void TcxDragAndDropObject::DragAndDrop(const TPoint&, bool& Accepted) {
  SetDirty(false);
  Screen()->SetCursor(GetDragAndDropCursor(Accepted));
}

void TcxDragAndDropObject::EndDragAndDrop(bool) { SetDirty(true); }

TPoint TcxDragAndDropObject::TranslateCoords(const TPoint& P) {
  // A zoom of zero or less has no meaning; the points stay as they are
  // rather than all becoming (-1, -1).
  Integer Zoom = GetZoomFactor();
  if (Zoom <= 0) return P;
  return TPoint{MulDiv(P.x, 100, Zoom), MulDiv(P.y, 100, Zoom)};
}

void TcxDragAndDropObject::DoBeginDragAndDrop() {
  BeforeBeginDragAndDrop();
  CurMousePos = TranslateCoords(GetClientCursorPos());
  PrevMousePos = CurMousePos;
  BeginDragAndDrop();
}

void TcxDragAndDropObject::DoDragAndDrop(const TPoint& P, bool& Accepted) {
  PrevMousePos = CurMousePos;
  CurMousePos = TranslateCoords(P);
  DragAndDrop(CurMousePos, Accepted);
}

void TcxDragAndDropObject::DoEndDragAndDrop(bool Accepted) {
  EndDragAndDrop(Accepted);
  AfterDragAndDrop(Accepted);
}

bool TcxDragAndDropObject::DoProcessKeyDown(const TMessage& Message) {
  return ProcessKeyDown(static_cast<Word>(Message.WParam), KeyDataToShiftState(Message.LParam));
}

bool TcxDragAndDropObject::DoProcessKeyUp(const TMessage& Message) {
  return ProcessKeyUp(static_cast<Word>(Message.WParam), KeyDataToShiftState(Message.LParam));
}

// ---------------------------------------------------------------------------
// The control's internal drag and drop

// The object's code may free the control (a user's handler closes the form,
// say). The object then stays alive until the last call into it returns,
// and that call frees it; the control is not touched again.
template <class F>
bool TcxControl::CallDragAndDropObject(F AStep) {
  TcxDragAndDropObject* Obj = DragAndDropObject();
  TcxObjectLinkGuard Link(this);
  ++Obj->FActiveCalls;
  auto Done = Finally([&] {
    if (--Obj->FActiveCalls == 0 && (!Link.Alive() || FDragAndDropObject != Obj)) Obj->Free();
  });
  AStep(Obj);
  return Link.Alive();
}

void TcxControl::ReleaseDragAndDropObject() {
  TcxDragAndDropObject* Obj = std::exchange(FDragAndDropObject, nullptr);
  if (Obj && Obj->FActiveCalls == 0) Obj->Free();
}

TcxDragAndDropObject* TcxControl::DragAndDropObject() {
  if (!FDragAndDropObject) FDragAndDropObject = CreateDragAndDropObject();
  return FDragAndDropObject;
}

TcxDragAndDropObject* TcxControl::CreateDragAndDropObject() {
  TClass AClass = GetDragAndDropObjectClass();
  TObject* Obj = AClass->Create(this);
  if (!Obj)
    throw EInvalidOperation(L"Cannot create a drag-and-drop object of class " +
                            AClass->ClassName());
  return As<TcxDragAndDropObject>(Obj);
}

TClass TcxControl::GetDragAndDropObjectClass() {
  return FDragAndDropObjectClass ? FDragAndDropObjectClass : TcxDragAndDropObject::StaticClass();
}

void TcxControl::SetDragAndDropObjectClass(TClass AValue) {
  if (AValue && !AValue->InheritsFrom(TcxDragAndDropObject::StaticClass()))
    throw EInvalidOperation(AValue->ClassName() + L" is not a drag-and-drop object class");
  FDragAndDropObjectClass = AValue;
}

void TcxControl::SetDragAndDropState(TcxDragAndDropState AValue) {
  if (FDragAndDropState == AValue) return;
  FDragAndDropState = AValue;
  if (AValue == ddsNone && !FFinishingDragAndDrop) DoCancelMode();
}

bool TcxControl::StartDragAndDrop(const TPoint&) { return false; }

bool TcxControl::AllowDragAndDropWithoutFocus() { return false; }

void TcxControl::CheckStartDragAndDrop(TMouseButton Button, TShiftState Shift, Integer X,
                                       Integer Y) {
  if (FFinishingDragAndDrop) return;
  if (Button != mbLeft || Shift.Contains(ssDouble) || !StartDragAndDrop(TPoint{X, Y})) {
    FinishDragAndDrop(false);
    return;
  }
  bool Immediate = false;
  if (!CallDragAndDropObject(
          [&](TcxDragAndDropObject* AObject) { Immediate = AObject->GetImmediateStart(); }))
    return;
  if (Immediate)
    BeginDragAndDrop();
  else
    SetDragAndDropState(ddsStarting);
}

void TcxControl::ProcessDragAndDropMouseMove(TShiftState, Integer X, Integer Y) {
  if (FDragAndDropState == ddsStarting && !IsMouseInPressedArea(X, Y)) {
    TcxObjectLinkGuard Link(this);
    BeginDragAndDrop();
    if (!Link.Alive()) return;
  }
  if (FDragAndDropState == ddsInProcess) {
    bool Accepted = false;
    DragAndDrop(TPoint{X, Y}, Accepted);
  }
}

void TcxControl::BeginDragAndDrop() {
  if (!CallDragAndDropObject([](TcxDragAndDropObject* AObject) { AObject->DoBeginDragAndDrop(); }))
    return;
  cxSetCapture(Handle());
  FDragAndDropPrevCursor = Screen()->Cursor();
  SetDragAndDropState(ddsInProcess);
}

void TcxControl::DragAndDrop(const TPoint& P, bool& Accepted) {
  CallDragAndDropObject(
      [&](TcxDragAndDropObject* AObject) { AObject->DoDragAndDrop(P, Accepted); });
}

void TcxControl::EndDragAndDrop(bool Accepted) {
  SetDragAndDropState(ddsNone);
  Screen()->SetCursor(FDragAndDropPrevCursor);
  if (HandleAllocated() && GetCapture() == FHandle) ReleaseCapture();
  SetMouseCaptureObject(nullptr);
  CallDragAndDropObject(
      [Accepted](TcxDragAndDropObject* AObject) { AObject->DoEndDragAndDrop(Accepted); });
}

void TcxControl::DoFinishDragAndDrop(bool Accepted) {
  if (FDragAndDropState == ddsInProcess)
    EndDragAndDrop(Accepted);
  else
    SetDragAndDropState(ddsNone);
}

void TcxControl::FinishDragAndDrop(bool Accepted) {
  if (FFinishingDragAndDrop) return;
  FFinishingDragAndDrop = true;
  TcxObjectLinkGuard Link(this);
  auto Done = Finally([&] {
    if (!Link.Alive()) return;
    // Every operation starts with a fresh object.
    ReleaseDragAndDropObject();
    FFinishingDragAndDrop = false;
  });
  DoFinishDragAndDrop(Accepted);
}

// The key handling of the control (CN_KEYDOWN) cancels the operation when
// the object did not use the key and answers every key while dragging. A
// control freed by the object's code counts as having used it: nothing may
// be done with it afterwards.
bool TcxControl::DragAndDropKeyDown(TMessage& Message) {
  bool Processed = false;
  if (!CallDragAndDropObject(
          [&](TcxDragAndDropObject* AObject) { Processed = AObject->DoProcessKeyDown(Message); }))
    return true;
  return Processed;
}

bool TcxControl::DragAndDropKeyUp(TMessage& Message) {
  bool Processed = false;
  if (!CallDragAndDropObject(
          [&](TcxDragAndDropObject* AObject) { Processed = AObject->DoProcessKeyUp(Message); }))
    return true;
  return Processed;
}

void TcxControl::DestroyDragAndDrop() {
  if (FDragAndDropState != ddsNone) FinishDragAndDrop(false);
  ReleaseDragAndDropObject();
  FreeAndNil(FDragImages);
}

bool TcxControl::CanCancelDragStartOnCaptureObjectClear() { return true; }

bool TcxControl::AcceptMousePosForClick(Integer X, Integer Y) {
  return !IsDragModeAutomatic() || IsMouseInPressedArea(X, Y);
}

bool TcxControl::IsMouseInPressedArea(Integer X, Integer Y) {
  return IsPointInDragDetectArea(FMouseDownPos, X, Y);
}

bool TcxControl::CanDrag(Integer, Integer) { return FDragAndDropState == ddsNone; }

// ---------------------------------------------------------------------------
// The control in the framework's drag and drop

bool TcxControl::AllowAutoDragAndDropAtDesignTime(Integer, Integer, TShiftState) { return true; }

bool TcxControl::GetIsCopyDragDrop() { return IsCtrlPressed(); }

bool TcxControl::HasDragImages() { return false; }

TClass TcxControl::GetDragImagesClass() { return TcxDragImageList::StaticClass(); }

TPoint TcxControl::GetDragImagesSize() { return TPoint{0, 0}; }

void TcxControl::DrawDragImage(TcxCanvas*, const TRect&) {}

void TcxControl::InitDragImages(TcxDragImageList* AImages) {
  TPoint Size = GetDragImagesSize();
  if (Size.x == 0 || Size.y == 0) {
    AImages->Clear();
    return;
  }
  AImages->SetSize(Size.x, Size.y);
  TOwned<TBitmap> Image = MakeOwned<TBitmap>();
  Image->SetSize(Size.x, Size.y);
  TOwned<TcxCanvas> ImageCanvas = MakeOwned<TcxCanvas>(Image->Canvas());
  DrawDragImage(ImageCanvas.get(), TRect{0, 0, Size.x, Size.y});
  AImages->AddMasked(Image.get(), Image->TransparentColor());
}

TcxDragImageList* TcxControl::GetDragImages() {
  if (!HasDragImages()) return nullptr;
  if (!FDragImages) {
    TcxDragImageList* Images = As<TcxDragImageList>(GetDragImagesClass()->Create(nullptr));
    if (!Images) throw EInvalidOperation(L"Cannot create the drag image list");
    FDragImages = Images;
    InitDragImages(FDragImages);
  }
  return FDragImages->Count() > 0 ? FDragImages : nullptr;
}

TClass TcxControl::GetDragObjectClass() { return TcxDragControlObject::StaticClass(); }

bool TcxControl::StartDrag(TObject*) { return true; }

void TcxControl::DoStartDrag(TDragObject*& ADragObject) {
  Update();
  inherited::DoStartDrag(ADragObject);
  if (!ADragObject && GetDragObjectClass())
    ADragObject = As<TDragObject>(GetDragObjectClass()->Create(this));
  if (!StartDrag(ADragObject)) {
    FreeAndNil(ADragObject);
    CancelDrag();
  }
}

void TcxControl::DoEndDrag(TObject* ATarget, Integer X, Integer Y) {
  inherited::DoEndDrag(ATarget, X, Y);
  FreeAndNil(FDragImages);
}

void TcxControl::DragOver(TObject* ASource, Integer X, Integer Y, TDragState AState, bool& Accept) {
  if (TDragObject* AObject = dynamic_cast<TDragObject*>(ASource))
    CurrentDragObject = AState == dsDragLeave ? nullptr : AObject;
  inherited::DragOver(ASource, X, Y, AState, Accept);
}

bool TcxControl::IsDragModeAutomatic() { return DragMode() == dmAutomatic; }

bool TcxControl::IsFrameworkDragging() { return Dragging(); }

void TcxControl::DetectAndBeginFrameworkDrag(const TPoint& AScreenPos) {
  if (cxDragDetect(Handle(), AScreenPos) == ddDrag) BeginDrag(true);
}

void TcxControl::HideDragImage() {
  if (TDragObject* AObject = GetDragObject()) AObject->HideDragImage();
}

void TcxControl::ShowDragImage() {
  if (TDragObject* AObject = GetDragObject()) AObject->ShowDragImage();
}

void TcxControl::ScrollWindow(Integer DX, Integer DY, const TRect& AScrollRect) {
  HideDragImage();
  auto Show = Finally([this] { ShowDragImage(); });
  if (HandleAllocated())
    ::ScrollWindowEx(FHandle, DX, DY, &AScrollRect, nullptr, nullptr, nullptr,
                     SW_INVALIDATE | SW_ERASE);
}
