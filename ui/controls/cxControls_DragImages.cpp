// Drag images, the size frame and the detection of a drag start.
#include "WinHandles.h"
#include "cxControlsInternal.h"

using namespace cxControlsInternal;

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
  // Above every window, also above its owner's topmost siblings, and never
  // activated: the image must not take the focus from the dragging control.
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
  if (!HandleAllocated() || !FRegion || 2 * FFrameWidth >= Width() ||
      2 * FFrameWidth >= Height())
    return;
  if (!FFillSelection) MakeFrameRing();
  ApplyWindowRegion();
}

void TcxSizeFrame::MakeFrameRing() {
  // Eroding by the frame width on all four sides works for any shape, not
  // only for rectangles.
  TOwned<TcxRegion> Inner(FRegion->Clone());
  const TPoint Shifts[] = {{FFrameWidth, 0}, {0, FFrameWidth}, {-FFrameWidth, 0}, {0, -FFrameWidth}};
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
          POINT Pt{static_cast<SHORT>(LOWORD(Msg.lParam)), static_cast<SHORT>(HIWORD(Msg.lParam))};
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
