// The editor popup window: its frame (border, client edge, shadow, system
// panel), its size and place next to the editor, and resizing by the frame.
#include "cxDropDownEdit.h"

namespace {
// The grip sits in the corner away from the editor: by whether the window
// opened upwards and leftwards.
constexpr TdxCorner ASizeGripCornerMap[2][2] = {
    // rightwards, leftwards
    {coBottomRight, coBottomLeft},  // downwards
    {coTopRight, coTopLeft},        // upwards
};

constexpr TCursor ASizeCursorMap[] = {crDefault,  crDefault, crSizeNWSE,
                                      crSizeNESW, crSizeNS,  crSizeWE};

TCursor SizeCursor(Integer AHitTest) { return ASizeCursorMap[AHitTest + 1]; }

// The square at a grip corner that sizes diagonally, not scaled.
constexpr Integer cxSizeGripCornerSquare = 10;
// Room besides the close button and the grip while the window is sizeable.
constexpr Integer cxSysPanelMinSpace = 10;

Integer DiagonalHitTest(TdxCorner ACorner) {
  return ACorner == coTopLeft || ACorner == coBottomRight ? cxEditPopupHitDiagonalNWSE
                                                          : cxEditPopupHitDiagonalNESW;
}
}  // namespace

// ---------------------------------------------------------------------------
// TcxCustomEditPopupWindowViewInfo
IMPLEMENT_CLASS(TcxCustomEditPopupWindowViewInfo)

TRect TcxCustomEditPopupWindowViewInfo::GetShadowOffsets() const {
  return Shadow ? TRect{0, 0, cxEditPopupShadowWidth, cxEditPopupShadowWidth} : cxNullRect;
}

Integer TcxCustomEditPopupWindowViewInfo::GetBorderWidth() {
  if (OnCustomDrawBorder) {
    bool AHandled = false;
    Integer AWidth = 0;
    OnCustomDrawBorder(this, nullptr, Bounds, AHandled, AWidth);
    if (AHandled) return AWidth;
  }
  return Painter->GetEditPopupWindowBorderWidth(BorderStyle);
}

Integer TcxCustomEditPopupWindowViewInfo::GetClientEdgeWidth() {
  return ClientEdge ? Painter->GetEditPopupWindowClientEdgeWidth(BorderStyle) : 0;
}

TRect TcxCustomEditPopupWindowViewInfo::GetBorderExtent() {
  const Integer W = GetBorderWidth();
  return TRect{W, W, W, W};
}

Integer TcxCustomEditPopupWindowViewInfo::GetSysPanelHeight() {
  return std::max(MinSysPanelHeight, Painter->ScaledPopupPanelSize(ScaleFactor()));
}

TRect TcxCustomEditPopupWindowViewInfo::GetClientExtent() {
  TRect R = cxRectInflate(GetBorderExtent(), GetClientEdgeWidth(), GetClientEdgeWidth());
  const TRect AShadow = GetShadowOffsets();
  R.right += AShadow.right;
  R.bottom += AShadow.bottom;
  SysPanelHeight = SysPanelStyle ? GetSysPanelHeight() : 0;
  if (IsSizeGripAtTop())
    R.top += SysPanelHeight;
  else
    R.bottom += SysPanelHeight;
  if (ShowSearchInfoPanel && !IsSearchInfoPanelInClientRect())
    R.bottom += GetSearchInfoPanelHeight();
  return R;
}

TRect TcxCustomEditPopupWindowViewInfo::GetSysPanelBorders() {
  if (!(NativeStyle || BorderStyle == epbsSingle || UseSkins)) return cxNullRect;
  return IsSizeGripAtTop() ? TRect{0, 0, 0, 1} : TRect{0, 1, 0, 0};
}

void TcxCustomEditPopupWindowViewInfo::CalculateLayout() {
  ClientRect = cxRectContent(Bounds, GetShadowOffsets());
  const TRect ABorders = GetBorderExtent();
  if (SysPanelStyle) {
    SysPanelHeight = GetSysPanelHeight();
    // The painter takes the borders off and splits the rest.
    Painter->CalculateScaledPopupPanelClientRect(
        ClientRect, SysPanelBounds, SizeGripRect, CloseButtonRect, SizeGripCorner, ABorders,
        GetSysPanelBorders(), ScaleFactor(), SysPanelHeight, ShowCloseButton, Sizeable);
    SizeGripSizingRect = SizeGripRect;
    if (Sizeable) {
      if (IsSizeGripAtLeft())
        SizeGripSizingRect.left = SysPanelBounds.left;
      else
        SizeGripSizingRect.right = SysPanelBounds.right;
      if (IsSizeGripAtTop())
        SizeGripSizingRect.top = SysPanelBounds.top;
      else
        SizeGripSizingRect.bottom = SysPanelBounds.bottom;
    }
  } else {
    ClientRect = cxRectContent(ClientRect, ABorders);
    SysPanelHeight = 0;
    SysPanelBounds = CloseButtonRect = SizeGripRect = SizeGripSizingRect = cxNullRect;
  }
  const Integer AEdge = GetClientEdgeWidth();
  ClientRect = cxRectInflate(ClientRect, -AEdge, -AEdge);
  if (ShowSearchInfoPanel) {
    SearchInfoPanelBounds = ClientRect;
    SearchInfoPanelBounds.top = ClientRect.bottom - GetSearchInfoPanelHeight();
    ClientRect.bottom = SearchInfoPanelBounds.top;
  } else {
    SearchInfoPanelBounds = cxNullRect;
  }
}

Integer TcxCustomEditPopupWindowViewInfo::GetHitTest(const TPoint& P) {
  if (cxRectPtIn(CloseButtonRect, P)) return cxEditPopupHitCloseButton;
  if (!Sizeable) return cxEditPopupHitNone;
  if (cxRectPtIn(SizeGripSizingRect, P)) return DiagonalHitTest(SizeGripCorner);
  if (SysPanelStyle) return cxEditPopupHitNone;
  if (!cxRectPtIn(Bounds, P) || cxRectPtIn(ClientRect, P)) return cxEditPopupHitNone;
  const bool ATop = IsSizeGripAtTop(), ALeft = IsSizeGripAtLeft();
  const Integer S = cxSizeGripCornerSquare;
  const TRect ACorner{ALeft ? Bounds.left : Bounds.right - S, ATop ? Bounds.top : Bounds.bottom - S,
                      ALeft ? Bounds.left + S : Bounds.right,
                      ATop ? Bounds.top + S : Bounds.bottom};
  if (cxRectPtIn(ACorner, P)) return DiagonalHitTest(SizeGripCorner);
  if ((ATop && P.y < ClientRect.top) || (!ATop && P.y >= ClientRect.bottom))
    return cxEditPopupHitTopOrBottom;
  if ((ALeft && P.x < ClientRect.left) || (!ALeft && P.x >= ClientRect.right))
    return cxEditPopupHitLeftOrRight;
  return cxEditPopupHitNone;
}

void TcxCustomEditPopupWindowViewInfo::DrawBorder(TcxCanvas* ACanvas, TRect R) {
  if (OnCustomDrawBorder) {
    bool AHandled = false;
    Integer AWidth = 0;
    OnCustomDrawBorder(this, ACanvas, R, AHandled, AWidth);
    if (AHandled) return;
  }
  Painter->DrawEditPopupWindowBorder(ACanvas, R, BorderStyle, ClientEdge);
}

void TcxCustomEditPopupWindowViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  const TRect ABody = cxRectContent(Bounds, GetShadowOffsets());
  if (Shadow) DrawContainerShadow(ACanvas, ABody);
  DrawBorder(ACanvas, ABody);
  if (ClientEdge) {
    const Integer AEdge = GetClientEdgeWidth();
    const TRect R = cxRectInflate(ClientRect, AEdge, AEdge);
    ACanvas->DrawEdge(R, true, true);
    if (BorderStyle != epbsFlat || NativeStyle)
      ACanvas->DrawEdge(cxRectInflate(R, -1, -1), true, false);
  }
  if (SysPanelStyle)
    Painter->DrawScaledPopupPanelBand(ACanvas, SysPanelBounds, SizeGripRect, CloseButtonRect,
                                      SizeGripCorner, CloseButtonState, GetSysPanelBorders(),
                                      Painter->GetContainerBorderColor(false), ScaleFactor(),
                                      Sizeable, ShowCloseButton);
  Painter->DrawWindowContent(ACanvas, ClientRect);
  if (ShowSearchInfoPanel) DrawSearchInfoPanel(ACanvas);
}

// ---------------------------------------------------------------------------
// TcxCustomEditPopupWindow
IMPLEMENT_CLASS(TcxCustomEditPopupWindow)

IMPLEMENT_MESSAGE_TABLE(TcxCustomEditPopupWindow,
                        {DXM_POPUPCONTROLKEY,
                         MessageHandler<&TcxCustomEditPopupWindow::DXMPopupControlKey>})

TcxCustomEditPopupWindow::TcxCustomEditPopupWindow(TWinControl* AOwnerControl)
    : TdxCustomIncrementalFilteringPopupWindow(AOwnerControl) {}

TcxCustomEditPopupWindow::~TcxCustomEditPopupWindow() { FSizeFrame.reset(); }

void TcxCustomEditPopupWindow::AfterConstruction() {
  inherited::AfterConstruction();
  ViewInfo()->CloseButtonState = cxbsNormal;
  SetIsOwnerBoundsRTLDependent(true);
}

TcxContainerViewInfoClass TcxCustomEditPopupWindow::GetViewInfoClass() {
  return &cxCreateContainerViewInfo<TcxCustomEditPopupWindowViewInfo>;
}

TcxCustomDropDownEdit* TcxCustomEditPopupWindow::GetEdit() const {
  return As<TcxCustomDropDownEdit>(const_cast<TcxCustomEditPopupWindow*>(this)->GetOwnerControl());
}

// Setters: the window and its view info keep the same value.
void TcxCustomEditPopupWindow::SetBorderStyle(TcxEditPopupBorderStyle Value) {
  FBorderStyle = ViewInfo()->BorderStyle = Value;
}
void TcxCustomEditPopupWindow::SetClientEdge(bool Value) {
  FClientEdge = ViewInfo()->ClientEdge = Value;
}
void TcxCustomEditPopupWindow::SetCloseButton(bool Value) {
  FCloseButton = ViewInfo()->ShowCloseButton = Value;
}
void TcxCustomEditPopupWindow::SetMinSysPanelHeight(Integer Value) {
  ViewInfo()->MinSysPanelHeight = Value;
}
void TcxCustomEditPopupWindow::SetNativeStyle(bool Value) {
  FNativeStyle = ViewInfo()->NativeStyle = Value;
}
void TcxCustomEditPopupWindow::SetShadow(bool Value) { FShadow = ViewInfo()->Shadow = Value; }
void TcxCustomEditPopupWindow::SetSizeable(bool Value) { FSizeable = ViewInfo()->Sizeable = Value; }
void TcxCustomEditPopupWindow::SetSysPanelStyle(bool Value) {
  FSysPanelStyle = ViewInfo()->SysPanelStyle = Value;
}

// ---------------------------------------------------------------------------
// Size and place

TSize TcxCustomEditPopupWindow::GetMinSize() {
  TcxCustomEditPopupWindowViewInfo* V = ViewInfo();
  const TRect E = V->GetClientExtent();
  TSize ASize{E.left + E.right, E.top + E.bottom};
  if (FSizeable && FSysPanelStyle)
    ASize.cx +=
        cxRectWidth(V->CloseButtonRect) + cxRectWidth(V->SizeGripSizingRect) + cxSysPanelMinSpace;
  return ASize;
}

TSize TcxCustomEditPopupWindow::CalculateSize() {
  TcxCustomEditPopupWindowViewInfo* V = ViewInfo();
  V->SizeGripCorner = coBottomRight;
  SetOwnerBounds(GetEdit()->GetPopupWindowOwnerControlBounds());
  const TRect E = V->GetClientExtent();
  const TSize M = GetMinSize();
  const TSize P = FPopupAutoSize ? GetEdit()->GetPopupWindowClientPreferredSize() : TSize{};
  TSize ASize{};
  if (FPopupAutoSize)
    ASize.cx = E.left + E.right + P.cx;
  else if (FPopupWidth != 0)
    ASize.cx = FPopupWidth;
  else
    ASize.cx = cxRectWidth(OwnerBounds());
  if (FSizeable && FMinWidth > 0) ASize.cx = std::max<LONG>(ASize.cx, FMinWidth);
  ASize.cx = std::max(ASize.cx, M.cx);
  if (FPopupAutoSize)
    ASize.cy = E.top + E.bottom + P.cy;
  else if (FPopupHeight > 0)
    ASize.cy = FPopupHeight;
  else
    ASize.cy = std::max<LONG>(M.cy, FMinHeight);
  if (FSizeable && FMinHeight > 0) ASize.cy = std::max<LONG>(ASize.cy, FMinHeight);
  ASize.cy = std::max(ASize.cy, M.cy);
  if (ShowSearchInfoPanel()) ASize.cx = std::max<LONG>(ASize.cx, V->GetSearchInfoPanelWidth());
  return ASize;
}

TPoint TcxCustomEditPopupWindow::CalculatePosition(const TSize& ASize) {
  SetOwnerBounds(GetEdit()->GetPopupWindowOwnerControlBounds());
  TPoint APosition = inherited::CalculatePosition(ASize);
  const TRect O = GetOwnerScreenBounds();
  const TRect W = WorkArea(APosition);
  const LONG ARight = APosition.x + ASize.cx, ABottom = APosition.y + ASize.cy;
  const bool ALeftwards = (AlignHorz() == pahRight && ARight == O.right && APosition.x > W.left) ||
                          ARight == O.left || (ARight == W.right && APosition.x < O.right);
  const bool AUpwards = (AlignVert() == pavBottom && ABottom == O.bottom && APosition.y > W.top) ||
                        ABottom == O.top || (ABottom == W.bottom && APosition.y < O.bottom);
  ViewInfo()->SizeGripCorner = ASizeGripCornerMap[AUpwards][ALeftwards];
  // The shadow then lies over the editor's top edge instead of leaving a gap.
  if (FShadow && AUpwards) APosition.y += cxEditPopupShadowWidth;
  return APosition;
}

TSize TcxCustomEditPopupWindow::GetMaxVisualAreaSize() {
  TcxCustomDropDownEdit* AEdit = GetEdit();
  TRect B = AEdit->GetPopupWindowOwnerControlBounds();
  if (AEdit->Parent() && (GetWindowLongW(AEdit->Handle(), GWL_STYLE) & WS_CHILD)) {
    const TPoint P = AEdit->Parent()->ClientToScreen(TPoint{B.left, B.top});
    B = cxRectOffset(B, P.x - B.left, P.y - B.top);
  }
  const Integer S = FShadow ? cxEditPopupShadowWidth : 0;
  const TRect W = WorkArea(TPoint{B.left, B.top});
  TSize ASize{};
  if (Direction() == pdVertical) {
    ASize.cx = cxRectWidth(W);
    ASize.cy = std::max(W.bottom - B.bottom, B.top + S - W.top);
  } else {
    ASize.cx = std::max(W.right - B.right, B.left + S - W.left) + 1;
    ASize.cy = cxRectHeight(W);
  }
  const TRect E = ViewInfo()->GetClientExtent();
  ASize.cx -= E.left + E.right;
  ASize.cy -= E.top + E.bottom;
  return ASize;
}

bool TcxCustomEditPopupWindow::AcceptsAnySize() {
  TcxCustomDropDownEdit* AEdit = AsOrNull<TcxCustomDropDownEdit>(GetOwnerControl());
  return AEdit && AEdit->ActiveProperties()->PopupWindowAcceptsAnySize();
}

// ---------------------------------------------------------------------------
// Layout and refresh

void TcxCustomEditPopupWindow::CalculateViewInfo() {
  TcxCustomEditPopupWindowViewInfo* V = ViewInfo();
  V->UpdateStyle(Style());
  V->BorderStyle = FBorderStyle;
  V->ClientEdge = FClientEdge;
  V->ShowCloseButton = FCloseButton;
  V->NativeStyle = FNativeStyle;
  V->Shadow = FShadow;
  V->Sizeable = FSizeable;
  V->SysPanelStyle = FSysPanelStyle;
  V->ShowSearchInfoPanel = ShowSearchInfoPanel();
  V->UseRightToLeftAlignment = UseRightToLeftAlignment();
  V->Bounds = TRect{0, 0, Width(), Height()};
  V->CalculateLayout();
  V->SetCalculated(true);
  UpdateSysPanelState();
}

void TcxCustomEditPopupWindow::AdjustClientRect(TRect& Rect) {
  inherited::AdjustClientRect(Rect);
  if (ViewInfo()->Calculated()) Rect = ViewInfo()->ClientRect;
}

void TcxCustomEditPopupWindow::RefreshPopupWindow() {
  TcxCustomDropDownEdit* AEdit = GetEdit();
  SetOwnerBounds(AEdit->GetPopupWindowOwnerControlBounds());
  CalculateViewInfo();
  AEdit->PositionPopupWindowChilds(ViewInfo()->ClientRect);
  if (HandleAllocated()) {
    InvalidateRect(Handle(), nullptr, TRUE);
    UpdateWindow(Handle());
  }
}

void TcxCustomEditPopupWindow::ResizePopupWindow(Integer ALeft, Integer ATop, Integer AWidth,
                                                 Integer AHeight) {
  TcxCustomDropDownEdit* AEdit = GetEdit();
  AEdit->SetPopupSizeChanged(true);
  SetBounds(ALeft, ATop, AWidth, AHeight);
  RefreshPopupWindow();
  AEdit->StorePopupSize();
}

void TcxCustomEditPopupWindow::UpdateShadowRegion() {
  if (!HandleAllocated()) return;
  const TRect ABody{0, 0, Width() - cxEditPopupShadowWidth, Height() - cxEditPopupShadowWidth};
  TRect AExclude = cxNullRect;
  if (FShadow && ViewInfo()->IsSizeGripAtTop()) {
    // The strip of shadow that would lie over the editor.
    const TRect O = GetOwnerScreenBounds();
    AExclude = TRect{O.left - Left(), Height() - cxEditPopupShadowWidth,
                     O.right - cxEditPopupShadowWidth - Left(), Height()};
  }
  SetWindowShadowRegion(Handle(), ABody, cxNullRect, AExclude, FShadow, FNativeStyle);
}

void TcxCustomEditPopupWindow::Resize() {
  inherited::Resize();
  if (!HandleAllocated()) return;
  CalculateViewInfo();
  UpdateShadowRegion();
}

void TcxCustomEditPopupWindow::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  // The system's drop shadow, where the platform has one (Vista and later).
  if (FNativeStyle && IsWinVistaOrLater) Params.WindowClass.style |= CS_DROPSHADOW;
}

void TcxCustomEditPopupWindow::PopupWindowStyleChanged(TObject* Sender) {
  inherited::PopupWindowStyleChanged(Sender);
  if (HandleAllocated() && Visible()) RefreshPopupWindow();
}

// ---------------------------------------------------------------------------
// Showing and closing

void TcxCustomEditPopupWindow::Popup(TWinControl* AFocusedControl) {
  if (!IsOwnerControlVisible()) GetEdit()->DoFinalizePopup();
  inherited::Popup(AFocusedControl);
}

void TcxCustomEditPopupWindow::ModalCloseUp() {
  const TModalResult R = ModalResult();
  GetEdit()->CloseUp(R == mrOk ? crEnter : R == mrCancel ? crCancel : crUnknown);
}

void TcxCustomEditPopupWindow::DoClosing() {
  inherited::DoClosing();
  FSizingCapture = false;
  DrawSizeFrame(cxNullRect);
}

void TcxCustomEditPopupWindow::DoPopupControlKey(Char AKey) {
  if (GetEdit()->UsesSearchControl() && HandleAllocated()) UpdateWindow(Handle());
  if (HWND AFocus = GetFocus()) SendMessageW(AFocus, WM_CHAR, static_cast<WPARAM>(AKey), 0);
}

void TcxCustomEditPopupWindow::DXMPopupControlKey(TMessage& Message) {
  if (IsVisible()) DoPopupControlKey(static_cast<Char>(Message.WParam));
}

// ---------------------------------------------------------------------------
// Mouse, keys and resizing

void TcxCustomEditPopupWindow::UpdateSysPanelState() {
  if (!HandleAllocated()) return;
  TShiftState AShift;
  if (GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) < 0)
    AShift.Include(ssLeft);
  UpdateSysPanelState(ScreenToClient(GetMouseCursorPos()), AShift);
}

void TcxCustomEditPopupWindow::UpdateSysPanelState(const TPoint& P, TShiftState Shift) {
  TcxCustomEditPopupWindowViewInfo* V = ViewInfo();
  const Integer AHitTest = V->GetHitTest(P);
  TcxButtonState AState = cxbsNormal;
  if (AHitTest == cxEditPopupHitCloseButton)
    AState = Shift.Contains(ssLeft) ? cxbsPressed : cxbsHot;
  if (AState != V->CloseButtonState) {
    V->CloseButtonState = AState;
    if (HandleAllocated()) ::InvalidateRect(Handle(), &V->CloseButtonRect, FALSE);
  }
  SetCursor(SizeCursor(AHitTest));
}

void TcxCustomEditPopupWindow::MouseDown(TMouseButton Button, TShiftState Shift, Integer X,
                                         Integer Y) {
  inherited::MouseDown(Button, Shift, X, Y);
  const TPoint P{X, Y};
  UpdateSysPanelState(P, Shift);
  const Integer AHitTest = ViewInfo()->GetHitTest(P);
  if (Button == mbLeft && AHitTest >= cxEditPopupHitDiagonalNWSE && HasCapture())
    StartResize(P, AHitTest);
}

void TcxCustomEditPopupWindow::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  inherited::MouseMove(Shift, X, Y);
  if (FSizingCapture)
    DoResize(TPoint{X, Y});
  else
    UpdateSysPanelState(TPoint{X, Y}, Shift);
}

void TcxCustomEditPopupWindow::MouseUp(TMouseButton Button, TShiftState Shift, Integer X,
                                       Integer Y) {
  inherited::MouseUp(Button, Shift, X, Y);
  TcxObjectLinkGuard ALink(this);
  if (Button == mbLeft && FSizingCapture) {
    EndResize(true);
  } else if (ViewInfo()->CloseButtonState == cxbsPressed && CloseQuery()) {
    GetEdit()->CloseUp(crUnknown);
  }
  if (ALink.Alive()) UpdateSysPanelState(TPoint{X, Y}, Shift);
}

void TcxCustomEditPopupWindow::CMMouseLeave(TMessage& Message) {
  inherited::CMMouseLeave(Message);
  if (!FSizingCapture) UpdateSysPanelState();
}

bool TcxCustomEditPopupWindow::DoMouseWheel(TShiftState Shift, Integer WheelDelta,
                                            const TPoint& MousePos) {
  if (Parent()) return inherited::DoMouseWheel(Shift, WheelDelta, MousePos);
  TcxCustomDropDownEdit* AEdit = AsOrNull<TcxCustomDropDownEdit>(GetOwnerControl());
  return AEdit && AEdit->DoMouseWheel(Shift, WheelDelta, MousePos);
}

void TcxCustomEditPopupWindow::KeyDown(Word& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE && FSizingCapture) {
    EndResize(false);
    Key = 0;
    return;
  }
  inherited::KeyDown(Key, Shift);
}

void TcxCustomEditPopupWindow::StartResize(const TPoint& P, Integer AHitTest) {
  FCapturePoint = P;
  FSizingHitTest = AHitTest;
  FSizingCapture = true;
  DrawSizeFrame(BoundsRect());
}

void TcxCustomEditPopupWindow::DoResize(const TPoint& P) {
  TcxCustomEditPopupWindowViewInfo* V = ViewInfo();
  const Integer DX = P.x - FCapturePoint.x, DY = P.y - FCapturePoint.y;
  // The window grows with the mouse on the grip's side.
  const Integer KX = V->IsSizeGripAtLeft() ? 1 : -1, KY = V->IsSizeGripAtTop() ? 1 : -1;
  Integer AWidth = Width(), AHeight = Height();
  if (FSizingHitTest != cxEditPopupHitTopOrBottom) AWidth = Width() - KX * DX;
  if (FSizingHitTest != cxEditPopupHitLeftOrRight) AHeight = Height() - KY * DY;
  CanResize(AWidth, AHeight);
  if (AWidth == Width() && AHeight == Height()) return;
  TRect R = BoundsRect();
  if (V->IsSizeGripAtLeft())
    R.left = R.right - AWidth;
  else
    R.right = R.left + AWidth;
  if (V->IsSizeGripAtTop())
    R.top = R.bottom - AHeight;
  else
    R.bottom = R.top + AHeight;
  // The window always overlaps the editor horizontally.
  const TRect O = GetOwnerScreenBounds();
  if (R.left > O.right - 1) R = cxRectOffset(R, O.right - 1 - R.left, 0);
  if (R.right < O.left + 1) R = cxRectOffset(R, O.left + 1 - R.right, 0);
  if (R != FPaintedSizeFrameBounds) DrawSizeFrame(R);
}

void TcxCustomEditPopupWindow::EndResize(bool AApply) {
  if (HasCapture()) ReleaseCapture();
  FSizingCapture = false;
  DrawSizeFrame(cxNullRect);
  if (AApply && !cxRectIsEmpty(FSizeFrameBounds)) {
    const TRect R = FSizeFrameBounds;
    ResizePopupWindow(R.left, R.top, cxRectWidth(R), cxRectHeight(R));
  }
}

void TcxCustomEditPopupWindow::DrawSizeFrame(const TRect& R) {
  FPaintedSizeFrameBounds = R;
  if (cxRectIsEmpty(R)) {
    FSizeFrame.reset();
    return;
  }
  FSizeFrameBounds = R;
  if (!FSizingCapture) return;
  if (!FSizeFrame) {
    const TRect B = ViewInfo()->GetBorderExtent();
    FSizeFrame = MakeOwned<TcxSizeFrame>(std::max<Integer>(B.left, 2));
    FSizeFrame->SetPopupParent(this);
  }
  FSizeFrame->DrawSizeFrame(R);
  FSizeFrame->Show(SW_SHOWNA);
}

bool TcxCustomEditPopupWindow::CanResize(Integer& NewWidth, Integer& NewHeight) {
  if (!FSizeable || CheckSizeLocked() || (NewWidth == Width() && NewHeight == Height()))
    return true;
  const TSize M = GetMinSize();
  NewWidth = std::max<Integer>({NewWidth, FMinWidth, M.cx});
  NewHeight = std::max<Integer>({NewHeight, FMinHeight, M.cy});
  if (NewWidth == Width() && NewHeight == Height()) return true;
  const TRect E = ViewInfo()->GetClientExtent();
  TSize AVisualArea{NewWidth - E.left - E.right, NewHeight - E.top - E.bottom};
  if (GetEdit()->CanResizePopupVisualArea(AVisualArea, GetMaxVisualAreaSize())) {
    NewWidth = std::max<Integer>(AVisualArea.cx + E.left + E.right, M.cx);
    NewHeight = std::max<Integer>(AVisualArea.cy + E.top + E.bottom, M.cy);
  } else {
    NewWidth = Width();
    NewHeight = Height();
  }
  return true;
}

// ---------------------------------------------------------------------------
// The show request

void TcxCustomEditPopupWindow::SetFocusedControlOnShow(TWinControl* AControl) {
  if (FFocusedControlOnShow == AControl) return;
  if (FFocusedControlOnShow) FFocusedControlOnShow->RemoveFreeNotification(this);
  FFocusedControlOnShow = AControl;
  if (AControl) AControl->FreeNotification(this);
}

void TcxCustomEditPopupWindow::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FFocusedControlOnShow) FFocusedControlOnShow = nullptr;
}

void TcxCustomEditPopupWindow::DXMShowPopupWindow(TMessage&) { Popup(FFocusedControlOnShow); }

TWinControl* cxEditPopupOwnerControl(TcxCustomDropDownEdit* AEdit) { return AEdit; }
