// The bars of the touch and hybrid modes: layered popup windows over the
// control's edges, their cores and painters, the corner grip, and the
// routines that clip and stack them.
#include <algorithm>
#include <cmath>

#include "Forms.h"
#include "WinHandles.h"
#include "cxControls.h"
#include "cxControlsInternal.h"
#include "dxGDIPlusClasses.h"

using namespace cxControlsInternal;

namespace {

// The strip of AThickness at the outer edge of R: the right edge of a
// vertical bar (the left one right to left), the bottom of a horizontal one.
TRect OuterStrip(const TRect& R, TScrollBarKind AKind, bool ARightToLeft, Integer AThickness) {
  TRect Result = R;
  if (AKind == sbHorizontal)
    Result.top = R.bottom - AThickness;
  else if (ARightToLeft)
    Result.right = R.left + AThickness;
  else
    Result.left = R.right - AThickness;
  return Result;
}

TcxControlPopupScrollBar* PopupBarOf(TcxScrollBarHelper* AHelper) {
  return AsOrNull<TcxControlPopupScrollBar>(AHelper->Owner()->GetControl());
}

Byte RoundedPercentOf(Integer APercent, Integer AValue) {
  return static_cast<Byte>(std::clamp<long>(std::lround(APercent * AValue / 100.0), 0, 255));
}

// The window region the platform leaves visible of ABounds (client
// coordinates of AControl), in screen coordinates; nullptr when AControl has
// no window.
HRGN VisibleScreenRegion(TWinControl* AControl, const TRect& ABounds) {
  if (!AControl || !AControl->HandleAllocated()) return nullptr;
  const TPoint Origin = AControl->ClientToScreen(TPoint{0, 0});
  const TRect R = cxRectOffset(ABounds, Origin);
  HRGN Clip = CreateRectRgn(R.left, R.top, R.right, R.bottom);
  // The context takes the region over.
  HDC DC = GetDCEx(AControl->Handle(), Clip,
                   DCX_WINDOW | DCX_CLIPSIBLINGS | DCX_PARENTCLIP | DCX_INTERSECTRGN);
  HRGN Result = CreateRectRgn(0, 0, 0, 0);
  if (!DC) {
    DeleteObject(Clip);
    SetRectRgn(Result, R.left, R.top, R.right, R.bottom);
    return Result;
  }
  if (GetRandomRgn(DC, Result, SYSRGN) != 1) SetRectRgn(Result, R.left, R.top, R.right, R.bottom);
  ReleaseDC(AControl->Handle(), DC);
  TRegionHandle Bounds(CreateRectRgn(R.left, R.top, R.right, R.bottom));
  CombineRgn(Result, Result, Bounds.Get(), RGN_AND);
  return Result;
}

}  // namespace

// ---------------------------------------------------------------------------
// Routines

TClass dxTouchScrollBarClass() { return TcxControlPopupScrollBar::StaticClass(); }

HWND GetTouchScrollUIControlOwnerWnd(TWinControl* AOwnerControl) {
  TCustomForm* Form = AOwnerControl ? ::GetParentForm(AOwnerControl) : nullptr;
  if (Form && Form->HandleAllocated()) {
    if (IsMDIChild(Form))
      return Application()->MainForm() && Application()->MainForm()->HandleAllocated()
                 ? Application()->MainForm()->Handle()
                 : nullptr;
    // A form living inside another window owns nothing; its popup owner's
    // window is not known at this level.
    if ((GetWindowLongW(Form->Handle(), GWL_STYLE) & WS_CHILD) == 0) return Form->Handle();
  }
  TCustomForm* Active = dxGetScreenActiveForm();
  return Active && Active->HandleAllocated() ? Active->Handle() : nullptr;
}

TRect CalculatePopupScrollElementVisibleRect(TWinControl* AControl, const TRect& ABounds) {
  TRegionHandle Region(VisibleScreenRegion(AControl, ABounds));
  if (!Region) return cxEmptyRect;
  RECT Box{};
  GetRgnBox(Region.Get(), &Box);
  return TRect{Box.left, Box.top, Box.right, Box.bottom};
}

HRGN CalculatePopupScrollElementVisibleRgn(TWinControl* AControl, const TRect& ABounds) {
  HRGN Region = VisibleScreenRegion(AControl, ABounds);
  if (!Region) return nullptr;
  const TPoint Origin = AControl->ClientToScreen(TPoint{ABounds.left, ABounds.top});
  OffsetRgn(Region, -Origin.x, -Origin.y);
  return Region;
}

void UpdatePopupScrollElementZOrder(HWND AWnd, TWinControl* AControl) {
  TCustomForm* Form = ::GetParentForm(AControl);
  const UINT Flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  if (!Form || !Form->HandleAllocated() ||
      (GetWindowLongW(Form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) {
    dxSetZOrder(AWnd, HWND_TOPMOST, false, Flags);
    return;
  }
  HWND Previous = GetWindow(GetParent(AWnd), GW_HWNDPREV);
  if (Previous) dxSetZOrder(AWnd, Previous, false, Flags);
}

// ---------------------------------------------------------------------------
// Activity

IMPLEMENT_CREATABLE_CLASS(TdxTouchScrollUIActivityHelper)

bool TdxTouchScrollUIActivityHelper::CheckScrollActivity(TWinControl* AControl,
                                                         const TMessage& Message) {
  if (Message.Msg == CM_MOUSELEAVE) {
    FMouseEnter = false;
    return false;
  }
  if (Message.Msg != WM_MOUSEMOVE) return false;
  TPoint P = SmallPointToPoint(Message.LParam);
  // Coordinates of a window wider or higher than 16 bits reach only so far.
  if (AControl && (AControl->Width() > 32768 || AControl->Height() > 32768))
    P = AControl->ScreenToClient(GetMouseCursorPos());
  if (auto* Control = AsOrNull<TcxControl>(AControl))
    if (Control->IsScrollBarsArea(P)) return true;
  if (!FMouseEnter) {
    FMouseEnter = true;
    FLastMousePos = P;
    return false;
  }
  if (std::abs(P.x - FLastMousePos.x) < 10 && std::abs(P.y - FLastMousePos.y) < 10) return false;
  FLastMousePos = P;
  return true;
}

// ---------------------------------------------------------------------------
// Cores and view info

IMPLEMENT_CLASS_IMPL(TcxCustomPopupScrollBarHelper,
                     &cxCreateScrollBarHelper<TcxCustomPopupScrollBarHelper>)
IMPLEMENT_CLASS_IMPL(TcxPopupScrollBarHelper, &cxCreateScrollBarHelper<TcxPopupScrollBarHelper>)
IMPLEMENT_CLASS_IMPL(TdxHybridScrollBarHelper, &cxCreateScrollBarHelper<TdxHybridScrollBarHelper>)
IMPLEMENT_CREATABLE_CLASS(TcxPopupScrollBarViewInfo)

void TcxCustomPopupScrollBarHelper::InvalidateRect(const TRect&, bool) {
  TcxControlPopupScrollBar* Bar = PopupBarOf(this);
  if (Bar && Bar->HandleAllocated()) Bar->UpdateLayer();
}

TcxBitmap32* TcxCustomPopupScrollBarHelper::CreateLayer() {
  const TRect R = BoundsRect();
  const Integer W = std::max<Integer>(cxRectWidth(R), 1), H = std::max<Integer>(cxRectHeight(R), 1);
  TRGBColors Bits(static_cast<size_t>(W) * H, RGBQUAD{0, 0, 0, 0});
  {
    TOwned<TdxGPImageHandle> Image(
        TdxGPImageHandle::CreateFromBits(W, H, Bits, TAlphaFormat::afPremultiplied));
    TOwned<TdxGPCanvas> Canvas(Image->CreateCanvas());
    if (VisibleRgn()) Canvas->SetClipRegion(VisibleRgn(), gmIntersect);
    if (auto* Painter = AsOrNull<TcxCustomPopupScrollBarPainter>(this->Painter()))
      Painter->PaintLayer(Canvas.get());
  }
  TcxBitmap32* Result = TcxBitmap32::CreateSize(W, H, true);
  // The bitmap lists its rows bottom first.
  TRGBColors Rows(Bits.size());
  for (Integer Y = 0; Y < H; ++Y)
    std::copy_n(Bits.begin() + static_cast<ptrdiff_t>(Y) * W, W,
                Rows.begin() + static_cast<ptrdiff_t>(H - 1 - Y) * W);
  Result->SetBitmapColors(Rows);
  Result->SetAlphaFormat(TAlphaFormat::afPremultiplied);
  return Result;
}

void TcxCustomPopupScrollBarHelper::DoPaint(TcxCanvas* ACanvas) {
  TOwned<TcxBitmap32> Layer(CreateLayer());
  const TRect R = BoundsRect();
  cxAlphaBlend(ACanvas->Handle(), Layer.get(), R, TRect{0, 0, Layer->Width(), Layer->Height()});
}

TClass TcxPopupScrollBarHelper::GetPainterClass() {
  return TcxPopupScrollBarPainter::StaticClass();
}
TClass TcxPopupScrollBarHelper::GetViewInfoClass() {
  return TcxPopupScrollBarViewInfo::StaticClass();
}
TSize TcxPopupScrollBarHelper::GetScrollBarSize() {
  return GetTouchScrollBarSize(GetScaleFactor());
}

TClass TdxHybridScrollBarHelper::GetPainterClass() {
  return TdxHybridScrollBarPainter::StaticClass();
}
TSize TdxHybridScrollBarHelper::GetScrollBarSize() {
  return GetHybridScrollBarSize(GetScaleFactor(), true);
}

// ---------------------------------------------------------------------------
// Painters
IMPLEMENT_CLASS(TcxCustomPopupScrollBarPainter)
IMPLEMENT_CREATABLE_CLASS(TcxPopupScrollBarPainter)
IMPLEMENT_CREATABLE_CLASS(TdxHybridScrollBarPainter)

void TcxPopupScrollBarPainter::PaintLayer(TdxGPCanvas* ACanvas) {
  TcxScrollBarViewInfo* Info = GetViewInfo();
  const TRect R = ScrollBar()->BoundsRect();
  // Nearly invisible while not hot, but still there for the pointer.
  const Byte BackgroundAlpha = Info->HotPart() != sbpNone ? 50 : 1;
  ACanvas->FillRectangle(R, dxMakeAlphaColor(static_cast<TColor>(0xC0C0C0), BackgroundAlpha));
  TRect Thumb = Info->ThumbnailBounds();
  if (cxRectIsEmpty(Thumb)) return;
  const bool Vertical = ScrollBar()->Kind() == sbVertical;
  const Integer Indent = (Vertical ? cxRectWidth(R) : cxRectHeight(R)) / 3;
  if (Vertical) {
    Thumb.left += Indent;
    Thumb.right -= Indent;
  } else {
    Thumb.top += Indent;
    Thumb.bottom -= Indent;
  }
  ACanvas->Rectangle(Thumb, dxMakeAlphaColor(clWhite, 200),
                     dxMakeAlphaColor(static_cast<TColor>(0x808080), 150));
}

void TdxHybridScrollBarPainter::PaintLayer(TdxGPCanvas* ACanvas) {
  TcxControlPopupScrollBar* Bar = PopupBarOf(ScrollBar());
  TcxControl* Owner = Bar ? Bar->ScrollbarOwner() : nullptr;
  TdxHybridScrollbarsManager* Manager = Owner ? Owner->GetManager() : nullptr;
  if (!Manager) return;
  const TColor Base = Owner->GetHybridScrollbarBaseColor();
  const bool Active = Manager->IsActive(Bar);
  const TScrollBarKind Kind = ScrollBar()->Kind();
  const bool RightToLeft = ScrollBar()->IsRightToLeft();
  const Integer MinSize = Bar->GetMinVisibleSize();
  const TRect R = ScrollBar()->BoundsRect();
  TcxScrollBarViewInfo* Info = GetViewInfo();

  if (Active)
    ACanvas->FillRectangle(R, dxMakeAlphaColor(Base, RoundedPercentOf(Manager->VisibleSize(), 22)));
  else
    ACanvas->FillRectangle(OuterStrip(R, Kind, RightToLeft, MinSize), dxMakeAlphaColor(Base, 1));

  TcxScrollBarPartViewInfo* ThumbInfo = Info->GetPartInfo(sbpThumbnail);
  if (!cxRectIsEmpty(ThumbInfo->Bounds())) {
    const TcxButtonState State = ThumbInfo->GetState();
    const Byte Alpha = State == cxbsPressed ? 162 : State == cxbsHot ? 115 : 69;
    const TRect Thumb = OuterStrip(ThumbInfo->Bounds(), Kind, RightToLeft, Bar->VisibleSize());
    if (Active) {
      ACanvas->FillRectangle(Thumb, dxMakeAlphaColor(Base, Alpha));
    } else {
      ACanvas->FillRectangle(Thumb, dxMakeAlphaColor(clWhite, 1));
      // A thin line a third of the thin bar wide, a third away from the edge.
      const Integer Third = MinSize / 3;
      TRect Line = OuterStrip(Thumb, Kind, RightToLeft, 2 * Third);
      if (Kind == sbHorizontal)
        Line.bottom -= Third;
      else if (RightToLeft)
        Line.left += Third;
      else
        Line.right -= Third;
      ACanvas->FillRectangle(Line, dxMakeAlphaColor(Base, 133));
    }
  }
  if (!Active) return;
  for (TcxScrollBarPart Part : {sbpLineUp, sbpLineDown}) {
    TcxScrollBarPartViewInfo* PartInfo = Info->GetPartInfo(Part);
    if (cxRectIsEmpty(PartInfo->Bounds())) continue;
    const TcxButtonState State = PartInfo->GetState();
    const Byte Alpha = State == cxbsPressed ? 162 : State == cxbsHot ? 45 : 0;
    ACanvas->FillRectangle(PartInfo->Bounds(), dxMakeAlphaColor(Base, Alpha));
    TcxArrowDirection Direction;
    if (Kind == sbVertical)
      Direction = Part == sbpLineUp ? adUp : adDown;
    else
      Direction = (Part == sbpLineUp) != RightToLeft ? adLeft : adRight;
    TcxArrowPoints Points;
    TcxCustomLookAndFeelPainter::CalculateArrowPoints(PartInfo->Bounds(), Points, Direction, false);
    const TColor ArrowColor = State == cxbsPressed ? dxInvertColor(Base) : Base;
    ACanvas->SetSmoothingMode(smAntiAlias);
    ACanvas->Polyline(Points, dxMakeAlphaColor(ArrowColor, 144), 1);
  }
}

// ---------------------------------------------------------------------------
// Popup bar
IMPLEMENT_CREATABLE_CLASS(TcxControlPopupScrollBar)

TcxControlPopupScrollBar::~TcxControlPopupScrollBar() {
  if (FActivityHelper) FreeAndNil(FActivityHelper);
}

void TcxControlPopupScrollBar::OwnerControlAssigned() {
  FActivityHelper = Create<TdxTouchScrollUIActivityHelper>();
  if (auto* Scale = dynamic_cast<TdxOwnedScaleFactor*>(GetScaleFactor())) {
    Scale->SetOwner(OwnerControl()->ScaleFactor());
    Scale->SetUseOwnerValue(true);
  }
  // The core's class follows the control's mode, known only now.
  RecreateHelper();
  TControl::SetHeight(GetInitialSize().cy);
}

bool TcxControlPopupScrollBar::IsHybridMode() {
  return OwnerControl() && OwnerControl()->GetScrollbarMode() == sbmHybrid;
}

TClass TcxControlPopupScrollBar::GetHelperClass() {
  return IsHybridMode() ? TdxHybridScrollBarHelper::StaticClass()
                        : TcxPopupScrollBarHelper::StaticClass();
}

TSize TcxControlPopupScrollBar::GetInitialSize() {
  return IsHybridMode() ? GetHybridScrollBarSize(GetScaleFactor(), true)
                        : GetTouchScrollBarSize(GetScaleFactor());
}

Integer TcxControlPopupScrollBar::GetMaxVisibleSize() {
  TSize Size = GetHybridScrollBarSize(GetScaleFactor(), true);
  return Kind() == sbVertical ? Size.cx : Size.cy;
}

Integer TcxControlPopupScrollBar::GetMinVisibleSize() {
  TSize Size = GetHybridScrollBarSize(GetScaleFactor(), false);
  return Kind() == sbVertical ? Size.cx : Size.cy;
}

void TcxControlPopupScrollBar::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_LAYERED;
}

void TcxControlPopupScrollBar::InitControl() {
  if (!OwnerControl()) return;
  HWND OwnerWnd = GetTouchScrollUIControlOwnerWnd(OwnerControl());
  if (OwnerWnd != ParentWindow()) {
    // The owner of a popup is fixed when its window is made.
    if (HandleAllocated()) DestroyHandle();
    SetParentWindow(OwnerWnd);
  }
  SetBiDiMode(OwnerControl()->BiDiMode());
}

void TcxControlPopupScrollBar::DestroyWnd() {
  Helper()->SetVisibleRgn(nullptr);
  inherited::DestroyWnd();
}

void TcxControlPopupScrollBar::ApplyData() {
  FAllowVisible = GetData()->FVisible;
  inherited::ApplyData();
}

bool TcxControlPopupScrollBar::IsActuallyVisible() {
  return GetData()->FVisible && OwnerControl() &&
         !OwnerControl()->IsTouchScrollUIHidden(OwnerControl());
}

void TcxControlPopupScrollBar::SetOwnerControlRelativeBounds(const TRect& R) {
  TcxControl* Control = OwnerControl();
  if (!Control || !Control->HandleAllocated()) return;
  TControl::SetBoundsRect(cxRectOffset(R, Control->ClientToScreen(TPoint{0, 0})));
  Helper()->SetVisibleRgn(CalculatePopupScrollElementVisibleRgn(Control, R));
  Invalidate();
}

void TcxControlPopupScrollBar::SetVisible(bool AValue) {
  if (!AValue && Visible() && IsHybridMode())
    if (TdxHybridScrollbarsManager* Manager = OwnerControl()->GetManager())
      Manager->ScrollbarHiding(this);
  inherited::SetVisible(AValue);
  if (Visible() && HandleAllocated()) {
    UpdateLayer();
    UpdatePopupScrollElementZOrder(Handle(), OwnerControl());
  }
}

void TcxControlPopupScrollBar::Invalidate() {
  if (!Visible()) return;
  if (IsHybridMode())
    if (TdxHybridScrollbarsManager* Manager = OwnerControl()->GetManager()) {
      const Integer Min = GetMinVisibleSize(), Max = GetMaxVisibleSize();
      FVisibleSize =
          static_cast<Integer>(std::lround(Manager->VisibleSize() * (Max - Min) / 100.0)) + Min;
      FAlpha = Manager->FadingValue();
    }
  UpdateLayer();
}

void TcxControlPopupScrollBar::Resize() {
  inherited::Resize();
  if (Visible()) UpdateLayer();
}

void TcxControlPopupScrollBar::UpdateLayer() {
  if (!HandleAllocated() || !Visible()) return;
  auto* Core = AsOrNull<TcxCustomPopupScrollBarHelper>(Helper());
  if (!Core) return;
  TOwned<TcxBitmap32> Layer(Core->CreateLayer());
  cxUpdateLayeredWindow(Handle(), Layer.get(), FAlpha);
}

void TcxControlPopupScrollBar::WndProc(TMessage& Message) {
  // The bar never takes activation: the control's form stays active.
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  inherited::WndProc(Message);
}

void TcxControlPopupScrollBar::DoWndProc(TMessage& Message) {
  inherited::DoWndProc(Message);
  if (!OwnerControl()) return;
  if (OwnerControl()->IsTouchScrollUIMode())
    TouchModeMessage(Message);
  else if (IsHybridMode())
    HybridModeMessage(Message);
}

void TcxControlPopupScrollBar::TouchModeMessage(TMessage& Message) {
  TcxControl* Owner = OwnerControl();
  if (FActivityHelper && FActivityHelper->CheckScrollActivity(this, Message)) {
    Owner->ShowTouchScrollUI(Owner, true);
    return;
  }
  switch (Message.Msg) {
    case WM_ACTIVATEAPP:
      if (!Message.WParam) Owner->HideTouchScrollUI(Owner, true);
      break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
      Owner->HideTouchScrollUI(Owner, false);
      break;
    case WM_LBUTTONDOWN:
      Owner->ShowTouchScrollUI(Owner, false);
      TdxTouchScrollUIModeManager::LockOwner();
      break;
    case WM_LBUTTONUP:
      TdxTouchScrollUIModeManager::UnlockOwner();
      Owner->ShowTouchScrollUI(Owner, true);
      break;
    default:
      if (Message.Msg >= WM_LBUTTONDBLCLK && Message.Msg <= WM_MOUSEHWHEEL)
        Owner->ShowTouchScrollUI(Owner, true);
      break;
  }
}

void TcxControlPopupScrollBar::HybridModeMessage(TMessage& Message) {
  TcxControl* Owner = OwnerControl();
  TdxHybridScrollbarsManager* Manager = Owner->GetManager();
  switch (Message.Msg) {
    case WM_ACTIVATEAPP:
      if (!Message.WParam) Owner->HideTouchScrollUI(Owner, true);
      break;
    case WM_CANCELMODE:
      Owner->HideTouchScrollUI(Owner, false);
      break;
    case WM_MOUSEMOVE:
      if (!FMouseEnter && Manager) {
        FMouseEnter = true;
        Manager->Expand(this);
      }
      break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
      CheckMouseLeft();
      break;
    default:
      break;
  }
}

void TcxControlPopupScrollBar::CheckMouseLeft() {
  if (!FMouseEnter || !HandleAllocated()) return;
  // Right after a layered window is shown or its layer changes, the platform
  // may not yet find it under the pointer and report a leave: while the
  // pointer is within the bar it stays, listening for the real leave.
  POINT P{};
  RECT R{};
  if (GetCursorPos(&P) && GetWindowRect(Handle(), &R) && PtInRect(&R, P)) {
    TRACKMOUSEEVENT Track{sizeof(Track), TME_LEAVE, Handle(), HOVER_DEFAULT};
    TrackMouseEvent(&Track);
    return;
  }
  MouseLeftBar();
}

void TcxControlPopupScrollBar::MouseLeftBar() {
  if (!FMouseEnter) return;
  FMouseEnter = false;
  if (TdxHybridScrollbarsManager* Manager = OwnerControl()->GetManager()) Manager->Collapse();
}

bool TcxControlPopupScrollBar::DoMouseWheel(TShiftState Shift, Integer WheelDelta,
                                            const TPoint& MousePos) {
  if (OwnerControl() && OwnerControl()->DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  return inherited::DoMouseWheel(Shift, WheelDelta, MousePos);
}

// ---------------------------------------------------------------------------
// Popup grip
IMPLEMENT_CREATABLE_CLASS(TcxPopupSizeGrip)

void TcxPopupSizeGrip::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  Params.Style = WS_POPUP;
  Params.ExStyle = WS_EX_LAYERED;
}

void TcxPopupSizeGrip::CreateWindowHandle(const TCreateParams& Params) {
  inherited::CreateWindowHandle(Params);
  FLayerAlpha = 0;
  SetLayerAlpha(50);
}

void TcxPopupSizeGrip::SetLayerAlpha(Byte AValue) {
  if (!HandleAllocated() || AValue == FLayerAlpha) return;
  FLayerAlpha = AValue;
  if (auto SetAttributes = ControlsState().SetLayeredWindowAttributes)
    SetAttributes(Handle(), 0, AValue, LWA_ALPHA);
}

void TcxPopupSizeGrip::InitControl() {
  if (!OwnerControl()) return;
  HWND OwnerWnd = GetTouchScrollUIControlOwnerWnd(OwnerControl());
  if (OwnerWnd != ParentWindow()) {
    if (HandleAllocated()) DestroyHandle();
    SetParentWindow(OwnerWnd);
  }
}

void TcxPopupSizeGrip::SetOwnerControlRelativeBounds(const TRect& R) {
  TcxControl* Control = OwnerControl();
  if (!Control || !Control->HandleAllocated()) return;
  SetBoundsRect(CalculatePopupScrollElementVisibleRect(Control, R));
}

TColor TcxPopupSizeGrip::DrawColor() {
  TcxControl* Control = OwnerControl();
  if (Control && Control->GetScrollbarMode() == sbmHybrid)
    return Control->GetHybridScrollbarBaseColor();
  return static_cast<TColor>(0xC0C0C0);
}

void TcxPopupSizeGrip::Draw(TcxCanvas* ACanvas) {
  ACanvas->FillRect(ClientRect(), DrawColor());
  TcxControl* Control = OwnerControl();
  if (Control && Control->GetScrollbarMode() == sbmHybrid)
    if (TdxHybridScrollbarsManager* Manager = Control->GetManager())
      SetLayerAlpha(RoundedPercentOf(Manager->VisibleSize(), 22));
}

void TcxPopupSizeGrip::WndProc(TMessage& Message) {
  if (Message.Msg == WM_MOUSEACTIVATE) {
    Message.Result = MA_NOACTIVATE;
    return;
  }
  inherited::WndProc(Message);
}
