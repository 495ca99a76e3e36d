// Scrolling controls, the scroll box and frames.
#include <algorithm>

#include "Forms.h"
#include "WinHandles.h"

namespace {
const wchar_t* const BorderNames[] = {L"bsNone", L"bsSingle"};
const TEnumInfo BorderInfo = MakeEnumInfo(L"TBorderStyle", BorderNames);

int BarCode(TScrollBarKind Kind) { return Kind == sbHorizontal ? SB_HORZ : SB_VERT; }
}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_PUBLISHED_CLASS(TControlScrollBar) {
  P.Property<&TControlScrollBar::Increment, &TControlScrollBar::SetIncrement>(L"Increment")
      .Default(8);
  P.Property<&TControlScrollBar::Margin, &TControlScrollBar::SetMargin>(L"Margin").Default(0);
  P.Property<&TControlScrollBar::Range, &TControlScrollBar::SetRange>(L"Range").Default(0);
  P.Property<&TControlScrollBar::Position, &TControlScrollBar::SetPosition>(L"Position").Default(0);
  P.Property<&TControlScrollBar::Tracking, &TControlScrollBar::SetTracking>(L"Tracking").Default(0);
  P.Property<&TControlScrollBar::Visible, &TControlScrollBar::SetVisible>(L"Visible").Default(1);
}

TControlScrollBar::TControlScrollBar(TScrollingWinControl* AControl, TScrollBarKind AKind)
    : FControl(AControl), FKind(AKind) {}

TPersistent* TControlScrollBar::GetOwner() { return FControl; }

void TControlScrollBar::Assign(TPersistent* Source) {
  if (auto* S = AsOrNull<TControlScrollBar>(Source)) {
    FIncrement = S->FIncrement;
    FMargin = S->FMargin;
    FTracking = S->FTracking;
    FVisible = S->FVisible;
    if (!FControl->AutoScroll()) FRange = S->FRange;
    FControl->UpdateScrollBars();
    SetPosition(S->FPosition);
    return;
  }
  inherited::Assign(Source);
}

void TControlScrollBar::SetIncrement(TScrollBarInc V) {
  if (V < 1) throw EInvalidOperation(L"Scroll bar increment out of range (" + IntToStr(V) + L")");
  FIncrement = V;
}

void TControlScrollBar::SetMargin(Integer V) {
  if (V == FMargin) return;
  FMargin = std::max(V, 0);
  FControl->CalcAutoRange();
}

void TControlScrollBar::SetVisible(bool V) {
  if (V == FVisible) return;
  FVisible = V;
  FControl->UpdateScrollBars();
  if (!V) SetPosition(0);
}

void TControlScrollBar::SetRange(Integer V) {
  FControl->FAutoScroll = false;
  DoSetRange(V);
}

void TControlScrollBar::DoSetRange(Integer V) {
  FRange = std::max(V, 0);
  FControl->UpdateScrollBars();
  // A smaller range may leave the position beyond its end.
  SetPosition(FPosition);
}

Integer TControlScrollBar::ControlSize(bool ControlSB, bool AssumeSB) {
  TRect Client = FControl->ClientRect();
  Integer Size = FKind == sbVertical ? RectHeight(Client) : RectWidth(Client);
  if (ControlSB || !FControl->HandleAllocated()) return Size;
  // The other bar takes room across this direction.
  LONG Style = GetWindowLongW(FControl->Handle(), GWL_STYLE);
  bool OtherShown = (Style & (FKind == sbVertical ? WS_HSCROLL : WS_VSCROLL)) != 0;
  Integer OtherSize = GetSystemMetrics(FKind == sbVertical ? SM_CYHSCROLL : SM_CXVSCROLL);
  if (AssumeSB && !OtherShown) return Size - OtherSize;
  if (!AssumeSB && OtherShown) return Size + OtherSize;
  return Size;
}

bool TControlScrollBar::NeedsScrollBarVisible() {
  return FVisible && FRange > ControlSize(false, false);
}

bool TControlScrollBar::IsScrollBarVisible() {
  if (!FVisible) return false;
  if (!FControl->HandleAllocated()) return FRange > ControlSize(true, false);
  LONG Style = GetWindowLongW(FControl->Handle(), GWL_STYLE);
  return (Style & (FKind == sbVertical ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

Integer TControlScrollBar::ScrollPos() { return IsScrollBarVisible() ? FPosition : 0; }

Integer TControlScrollBar::MaxPosition() {
  return FVisible ? std::max(FRange - ControlSize(true, false), 0) : 0;
}

void TControlScrollBar::SetPosition(Integer V) {
  if (FControl->ComponentState().Contains(csReading)) {
    FPosition = V;
    return;
  }
  V = std::clamp(V, 0, MaxPosition());
  if (V != FPosition) {
    Integer Old = FPosition;
    FPosition = V;
    if (FKind == sbHorizontal)
      FControl->ScrollBy(Old - V, 0);
    else
      FControl->ScrollBy(0, Old - V);
  }
  if (FControl->HandleAllocated() && GetScrollPos(FControl->Handle(), BarCode(FKind)) != FPosition)
    SetScrollPos(FControl->Handle(), BarCode(FKind), FPosition, TRUE);
}

void TControlScrollBar::Update(bool ControlSB, bool AssumeSB) {
  Integer Page = ControlSize(ControlSB, AssumeSB);
  bool Needed = FVisible && FRange > Page;
  SCROLLINFO Info{};
  Info.cbSize = sizeof(Info);
  Info.fMask = SIF_ALL;
  Info.nMin = 0;
  // nMax is inclusive; a page as large as the range hides the bar.
  Info.nMax = Needed ? FRange - 1 : 0;
  Info.nPage = Needed ? static_cast<UINT>(std::max(Page, 1)) : 0;
  Info.nPos = Needed ? FPosition : 0;
  SetScrollInfo(FControl->Handle(), BarCode(FKind), &Info, TRUE);
  SetPosition(FPosition);
}

void TControlScrollBar::CalcAutoRange() {
  if (!FControl->FAutoScroll) return;
  Integer NewRange = 0, AlignMargin = 0;
  bool Horz = FKind == sbHorizontal;
  for (Integer I = 0; I < FControl->ControlCount(); ++I) {
    TControl* C = FControl->Controls(I);
    if (!C->Visible()) continue;
    TAlign A = C->Align();
    // Controls kept at the far side or stretched with the control do not
    // extend the content; those aligned to the far side add their size.
    TAnchors Pair = Horz ? TAnchors{akLeft, akRight} : TAnchors{akTop, akBottom};
    TAnchorKind Near = Horz ? akLeft : akTop;
    TAlign NearAlign = Horz ? alLeft : alTop, FarAlign = Horz ? alRight : alBottom;
    if (A == NearAlign || (A == alNone && C->Anchors() * Pair == TAnchors{Near}))
      NewRange =
          std::max(NewRange, FPosition + (Horz ? C->Left() + C->Width() : C->Top() + C->Height()));
    else if (A == FarAlign)
      AlignMargin += Horz ? C->Width() : C->Height();
  }
  FRange = std::max(NewRange + AlignMargin + FMargin, 0);
}

void TControlScrollBar::ScrollMessage(TMessage& Message) {
  Integer Page = ControlSize(true, false);
  auto TrackPos = [&] {
    SCROLLINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_TRACKPOS;
    GetScrollInfo(FControl->Handle(), BarCode(FKind), &Info);
    return Info.nTrackPos;
  };
  switch (static_cast<TScrollCode>(LOWORD(Message.WParam))) {
    case scLineUp:
      SetPosition(FPosition - FIncrement);
      break;
    case scLineDown:
      SetPosition(FPosition + FIncrement);
      break;
    case scPageUp:
      SetPosition(FPosition - Page);
      break;
    case scPageDown:
      SetPosition(FPosition + Page);
      break;
    case scPosition:
      SetPosition(TrackPos());
      break;
    case scTrack:
      if (FTracking) SetPosition(TrackPos());
      break;
    case scTop:
      SetPosition(0);
      break;
    case scBottom:
      SetPosition(MaxPosition());
      break;
    case scEndScroll:
      break;
  }
  Message.Result = 0;
}

// ---------------------------------------------------------------------------
IMPLEMENT_PUBLISHED_CLASS(TScrollingWinControl) {
  P.Property<&TScrollingWinControl::HorzScrollBar, &TScrollingWinControl::SetHorzScrollBar>(
      L"HorzScrollBar");
  P.Property<&TScrollingWinControl::VertScrollBar, &TScrollingWinControl::SetVertScrollBar>(
      L"VertScrollBar");
  P.Property<&TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll>(L"AutoScroll")
      .Default(1);
}

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner)
    : TWinControl(AOwner),
      FHorzScrollBar(Create<TControlScrollBar>(this, sbHorizontal)),
      FVertScrollBar(Create<TControlScrollBar>(this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() = default;

void TScrollingWinControl::SetAutoScroll(bool V) {
  if (V == FAutoScroll) return;
  FAutoScroll = V;
  if (V) {
    CalcAutoRange();
  } else {
    FHorzScrollBar->FRange = 0;
    FVertScrollBar->FRange = 0;
  }
  UpdateScrollBars();
  FHorzScrollBar->SetPosition(FHorzScrollBar->FPosition);
  FVertScrollBar->SetPosition(FVertScrollBar->FPosition);
}

void TScrollingWinControl::DisableAutoRange() { ++FAutoRangeCount; }

void TScrollingWinControl::EnableAutoRange() {
  if (FAutoRangeCount == 0) return;
  if (--FAutoRangeCount == 0 && FAutoScroll) {
    CalcAutoRange();
    UpdateScrollBars();
  }
}

void TScrollingWinControl::CalcAutoRange() {
  if (FAutoRangeCount > 0 || !FAutoScroll) return;
  FHorzScrollBar->CalcAutoRange();
  FVertScrollBar->CalcAutoRange();
}

void TScrollingWinControl::UpdateScrollBars() {
  if (FUpdatingScrollBars || !HandleAllocated()) return;
  TRect Before = ClientRect();
  {
    FUpdatingScrollBars = true;
    auto Done = Finally([this] { FUpdatingScrollBars = false; });
    // A bar that is needed takes room from the other direction, which may
    // then need its bar too: the needed one is settled first.
    if (FVertScrollBar->NeedsScrollBarVisible()) {
      FHorzScrollBar->Update(false, true);
      FVertScrollBar->Update(true, false);
    } else if (FHorzScrollBar->NeedsScrollBarVisible()) {
      FVertScrollBar->Update(false, true);
      FHorzScrollBar->Update(true, false);
    } else {
      FVertScrollBar->Update(false, false);
      FHorzScrollBar->Update(true, false);
    }
  }
  // A bar that came or went changed the client area without a change of
  // the window's size; aligning does this itself.
  if (ClientRect() != Before && !FControlState.Contains(csAligning)) Realign();
}

void TScrollingWinControl::AdjustClientRect(TRect& Rect) {
  TRect Client = ClientRect();
  Rect = Bounds(-FHorzScrollBar->FPosition, -FVertScrollBar->FPosition,
                std::max<Integer>(FHorzScrollBar->FRange, RectWidth(Client)),
                std::max<Integer>(FVertScrollBar->FRange, RectHeight(Client)));
  inherited::AdjustClientRect(Rect);
}

void TScrollingWinControl::AlignControls(TControl* AControl, TRect& Rect) {
  CalcAutoRange();
  UpdateScrollBars();
  // The bars may have changed the client area: the children are aligned in
  // the area as it is now.
  Rect = ClientRect();
  AdjustClientRect(Rect);
  inherited::AlignControls(AControl, Rect);
  // Aligning may have moved children that set the range.
  Integer H = FHorzScrollBar->FRange, V = FVertScrollBar->FRange;
  CalcAutoRange();
  if (H != FHorzScrollBar->FRange || V != FVertScrollBar->FRange) UpdateScrollBars();
}

void TScrollingWinControl::CreateWnd() {
  inherited::CreateWnd();
  CalcAutoRange();
  UpdateScrollBars();
}

void TScrollingWinControl::ChangeScale(Integer M, Integer D) {
  if (M != D && !FAutoScroll) {
    FHorzScrollBar->FRange = MulDiv(FHorzScrollBar->FRange, M, D);
    FVertScrollBar->FRange = MulDiv(FVertScrollBar->FRange, M, D);
  }
  inherited::ChangeScale(M, D);
}

void TScrollingWinControl::ScrollInView(TControl* AControl) {
  if (!AControl || AControl == this || !ContainsControl(AControl)) return;
  TRect R = Bounds(0, 0, AControl->Width(), AControl->Height());
  InflateRect(&R, FHorzScrollBar->FMargin, FVertScrollBar->FMargin);
  TPoint TL = AControl->ClientToParent(Point(R.left, R.top), this);
  OffsetRect(&R, TL.x - R.left, TL.y - R.top);
  TRect Client = ClientRect();
  auto Bring = [](TControlScrollBar* Bar, Integer Low, Integer High, Integer Size) {
    if (Low < 0)
      Bar->SetPosition(Bar->Position() + Low);
    else if (High > Size)
      // A control larger than the view shows its start.
      Bar->SetPosition(Bar->Position() + std::min(High - Size, Low));
  };
  Bring(FHorzScrollBar.get(), R.left, R.right, RectWidth(Client));
  Bring(FVertScrollBar.get(), R.top, R.bottom, RectHeight(Client));
}

bool TScrollingWinControl::DoMouseWheel(TShiftState Shift, Integer WheelDelta,
                                        const TPoint& MousePos) {
  if (inherited::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  TControlScrollBar* Bar = Shift.Contains(ssShift) || !FVertScrollBar->IsScrollBarVisible()
                               ? FHorzScrollBar.get()
                               : FVertScrollBar.get();
  if (!Bar->IsScrollBarVisible()) return false;
  UINT Lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &Lines, 0);
  Integer Step = Lines == WHEEL_PAGESCROLL ? Bar->ControlSize(true, false)
                                           : static_cast<Integer>(Lines) * Bar->Increment();
  Bar->SetPosition(Bar->Position() - MulDiv(WheelDelta, Step, WHEEL_DELTA));
  return true;
}

void TScrollingWinControl::WMHScroll(TMessage& Message) {
  if (Message.LParam)
    inherited::WMHScroll(Message);
  else
    FHorzScrollBar->ScrollMessage(Message);
}

void TScrollingWinControl::WMVScroll(TMessage& Message) {
  if (Message.LParam)
    inherited::WMVScroll(Message);
  else
    FVertScrollBar->ScrollMessage(Message);
}

void TScrollingWinControl::CMFocusChanged(TMessage& Message) {
  if (FAutoScroll) ScrollInView(reinterpret_cast<TControl*>(Message.LParam));
  inherited::CMFocusChanged(Message);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TScrollBox) {
  P.Property<&TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle>(L"BorderStyle", BorderInfo)
      .Default(bsSingle);
}

TScrollBox::TScrollBox(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  FControlStyle =
      TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  SetBounds(0, 0, 185, 41);
}

void TScrollBox::SetBorderStyle(TFormBorderStyle V) {
  if (V != bsNone && V != bsSingle)
    throw EInvalidOperation(L"A scroll box's border style is bsNone or bsSingle");
  if (V == FBorderStyle) return;
  FBorderStyle = V;
  RecreateWnd();
}

void TScrollBox::CreateParams(TCreateParams& Params) {
  inherited::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  // Scrolling repaints only what comes into view.
  Params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TCustomFrame)

TCustomFrame::TCustomFrame(TComponent* AOwner) : TScrollingWinControl(AOwner) {
  FControlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents,
                                csSetCaption,      csDoubleClicks, csParentBackground};
  SetBounds(0, 0, 320, 240);
}

void TCustomFrame::AfterConstruction() {
  inherited::AfterConstruction();
  if (ClassType() == TFrame::StaticClass() || ClassType() == TCustomFrame::StaticClass()) return;
  if (!InitInheritedComponent(this, TFrame::StaticClass()))
    throw EResNotFound(Format(ClassesConsts::SResNotFound, {ClassName()}));
}

void TCustomFrame::GetChildren(TGetChildProc Proc, TComponent* Root) {
  inherited::GetChildren(Proc, Root);
  if (Root != this) return;
  for (Integer I = 0; I < ComponentCount(); ++I)
    if (TComponent* C = Components(I); !C->HasParent()) Proc(C);
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TFrame) {}
