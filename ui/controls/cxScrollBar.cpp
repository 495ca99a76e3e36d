#include "cxScrollBar.h"

#include <algorithm>

#include "Forms.h"
#include "WinHandles.h"
#include "dxCore.h"
#include "dxDPIAwareUtils.h"

namespace {
constexpr Integer cxScrollBarFirstRepeatDelay = 400;
constexpr Integer cxScrollBarRepeatDelay = 60;

const wchar_t* const ScrollBarKindNames[] = {L"sbHorizontal", L"sbVertical"};
const TEnumInfo ScrollBarKindInfoValue = MakeEnumInfo(L"TScrollBarKind", ScrollBarKindNames);

TcxScrollBarOwnerLink ScrollBarOwnerLink;

// The rectangle mirrored inside its parent rectangle; an all-zero rectangle
// stays as it is. The control framework's right-to-left converter does the
// same; this module stays below it.
TRect MirrorRect(const TRect& R, const TRect& AParentRect) {
  if (R.left == 0 && R.top == 0 && R.right == 0 && R.bottom == 0) return R;
  Integer Left = AParentRect.left + AParentRect.right - R.right;
  return TRect{Left, R.top, Left + cxRectWidth(R), R.bottom};
}

Integer Axis(const TPoint& P, TScrollBarKind AKind) { return AKind == sbHorizontal ? P.x : P.y; }

bool IsArrowOrPage(TcxScrollBarPart APart) {
  return APart == sbpLineUp || APart == sbpLineDown || APart == sbpPageUp || APart == sbpPageDown;
}

TSize ScaleSize(const TSize& ASize, const TdxScaleFactor* AScaleFactor) {
  const TdxScaleFactor* Factor = AScaleFactor ? AScaleFactor : dxSystemScaleFactor();
  if (!Factor->Assigned()) return ASize;
  return TSize{MulDiv(ASize.cx, Factor->Numerator(), Factor->Denominator()),
               MulDiv(ASize.cy, Factor->Numerator(), Factor->Denominator())};
}

}  // namespace

const TEnumInfo& ScrollBarKindInfo() { return ScrollBarKindInfoValue; }

void cxUpdateScaleFactorOnParentChange(TWinControl* AControl, TdxScaleFactor* AScaleFactor) {
  Integer N = 1, D = 1;
  if (AControl->Parent() && dxGetCurrentScaleFactor(AControl->Parent(), N, D))
    cxChangeScaleFactor(AControl, AScaleFactor, N, D);
}

void cxChangeScaleFactor(TControl* AControl, TdxScaleFactor* AScaleFactor, Integer ANumerator,
                         Integer ADenominator) {
  Integer M = ANumerator * AScaleFactor->Denominator(),
          Dv = ADenominator * AScaleFactor->Numerator();
  if (M == Dv) return;
  Integer PPI = MulDiv(AControl->CurrentPPI(), M, Dv);
  if (AControl->ComponentState().Contains(csLoading)) {
    AScaleFactor->Assign(ANumerator, ADenominator, true);
    return;
  }
  AControl->ScaleForPPI(PPI);
}

TcxScrollBarOwnerLink& cxScrollBarOwnerLink() { return ScrollBarOwnerLink; }

TSize GetScaledScrollBarSize(const TdxScaleFactor* AScaleFactor) {
  return TSize{dxGetSystemMetrics(SM_CXVSCROLL, AScaleFactor),
               dxGetSystemMetrics(SM_CYHSCROLL, AScaleFactor)};
}

TSize GetScrollBarSize() { return GetScaledScrollBarSize(dxSystemScaleFactor()); }

TSize GetTouchScrollBarSize(const TdxScaleFactor* AScaleFactor) {
  return ScaleSize(cxTouchScrollbarSize, AScaleFactor);
}

TSize HybridScrollbarSize(bool AMax) {
  return AMax ? cxHybridScrollbarMaxSize : cxHybridScrollbarMinSize;
}

TSize GetHybridScrollBarSize(const TdxScaleFactor* AScaleFactor, bool AMax) {
  return ScaleSize(HybridScrollbarSize(AMax), AScaleFactor);
}

// ---------------------------------------------------------------------------
// Part fading
IMPLEMENT_CLASS(TcxScrollBarPartFadingHelper)

bool STDMETHODCALLTYPE TcxScrollBarPartFadingHelper::CanFade() {
  return FOwner->Owner()->ScrollBar()->Painter()->FadingAvailable();
}

void STDMETHODCALLTYPE TcxScrollBarPartFadingHelper::DrawFadeImage() {
  FOwner->Owner()->ScrollBar()->InvalidateRect(FOwner->Bounds(), false);
}

void STDMETHODCALLTYPE TcxScrollBarPartFadingHelper::GetFadingImages(TcxBitmap*& AFadeOutImage,
                                                                     TcxBitmap*& AFadeInImage) {
  TcxScrollBarPainter* Painter = FOwner->Owner()->ScrollBar()->Painter();
  const TRect R = FOwner->Bounds();
  auto Draw = [&](TcxButtonState AState) {
    TOwned<TcxBitmap32> Image(TcxBitmap32::CreateSize(R, true));
    TcxCanvas* Canvas = Image->cxCanvas();
    Canvas->Lock();
    auto Unlock = Finally([&] { Canvas->Unlock(); });
    Canvas->SetWindowOrg(TPoint{R.left, R.top});
    Painter->DoDrawScrollBarPart(Canvas, R, FOwner->Part(), AState);
    Canvas->SetWindowOrg(TPoint{0, 0});
    return Image.release();
  };
  TOwned<TcxBitmap> FadeOut(Draw(cxbsNormal));
  AFadeInImage = Draw(cxbsHot);
  AFadeOutImage = FadeOut.release();
}

void TcxScrollBarPartFadingHelper::UpdateState() {
  TcxButtonState AState = FOwner->GetState();
  if (AState == FState) return;
  CheckStartFading(FState, AState);
  FState = AState;
}

// ---------------------------------------------------------------------------
// Part layout
IMPLEMENT_CLASS(TcxScrollBarPartViewInfo)

TcxScrollBarPartViewInfo::TcxScrollBarPartViewInfo(TcxScrollBarViewInfo* AOwner,
                                                   TcxScrollBarPart APart)
    : FOwner(AOwner), FPart(APart) {
  if (APart == sbpLineUp || APart == sbpLineDown || APart == sbpThumbnail)
    FFadingHelper = Create<TcxScrollBarPartFadingHelper>(this);
}

TcxScrollBarPartViewInfo::~TcxScrollBarPartViewInfo() {
  if (FFadingHelper) FFadingHelper->Free();
}

TcxButtonState TcxScrollBarPartViewInfo::GetState() const {
  TcxScrollBarHelper* ScrollBar = FOwner->ScrollBar();
  if (!ScrollBar->Enabled()) return cxbsDisabled;
  if (FPart == sbpThumbnail && !ScrollBar->Painter()->IsButtonHotTrack()) return cxbsNormal;
  if (FPart != FOwner->HotPart()) return cxbsNormal;
  if (FOwner->PressedPart() == sbpNone) return cxbsHot;
  return PartPressedStateMap(FPart == FOwner->PressedPart());
}

void TcxScrollBarPartViewInfo::UpdateState() {
  if (FFadingHelper) {
    FFadingHelper->UpdateState();
    FState = FFadingHelper->State();
  } else {
    FState = GetState();
  }
}

// ---------------------------------------------------------------------------
// Layout
IMPLEMENT_CREATABLE_CLASS(TcxScrollBarViewInfo)

TcxScrollBarViewInfo::TcxScrollBarViewInfo(TcxScrollBarHelper* AScrollBar)
    : FScrollBar(AScrollBar) {
  for (Integer I = sbpLineUp; I <= sbpPageDown; ++I)
    FPartInfos[I] = Create<TcxScrollBarPartViewInfo>(this, static_cast<TcxScrollBarPart>(I));
}

TcxScrollBarViewInfo::~TcxScrollBarViewInfo() {
  for (TcxScrollBarPartViewInfo*& Info : FPartInfos)
    if (Info) FreeAndNil(Info);
}

Integer TcxScrollBarViewInfo::GetArrowButtonLength() {
  TSize Size = FScrollBar->GetScrollBarSize();
  return FKind == sbHorizontal ? Size.cy : Size.cx;
}

TRect TcxScrollBarViewInfo::GetBounds() { return FScrollBar->BoundsRect(); }

TcxScrollBarPartViewInfo* TcxScrollBarViewInfo::GetPartInfo(TcxScrollBarPart APart) const {
  return APart == sbpNone ? nullptr : FPartInfos[APart];
}

TcxScrollBarPartViewInfo* TcxScrollBarViewInfo::GetHorizontalScrollbarPart(Integer AIndex) const {
  return GetPartInfo(HorizontalScrollbarPartToScrollbarPart(FScrollBar->IsRightToLeft(), AIndex));
}

void TcxScrollBarViewInfo::Calculate() {
  FKind = FScrollBar->Kind();
  FMinThumbnailSize = FScrollBar->Painter()->GetMinThumbnailSize();
  const TRect R = GetBounds();
  FLength = FKind == sbVertical ? cxRectHeight(R) : cxRectWidth(R);
  FArrowButtonLength = std::min(FLength / 2, GetArrowButtonLength());
  CalculateArrowRects();
  CalculateThumbnailRect();
}

void TcxScrollBarViewInfo::CalculateArrowRects() {
  const TRect R = GetBounds();
  const Integer A = FArrowButtonLength;
  if (FKind == sbVertical) {
    TRect Up{R.left, R.top, R.right, R.top + A};
    GetPartInfo(sbpLineUp)->SetBounds(Up);
    GetPartInfo(sbpLineDown)->SetBounds(cxRectOffset(Up, 0, FLength - A));
  } else {
    TRect Left{R.left, R.top, R.left + A, R.bottom};
    GetHorizontalScrollbarPart(0)->SetBounds(Left);
    GetHorizontalScrollbarPart(1)->SetBounds(cxRectOffset(Left, FLength - A, 0));
  }
}

bool TcxScrollBarViewInfo::CalculateThumbnail(Integer& AOffset, Integer& ASize) {
  const Integer Track = FLength - 2 * FArrowButtonLength;
  const Integer Range = FScrollBar->Max() - FScrollBar->Min();
  const Integer Pos = FScrollBar->Position() - FScrollBar->Min();
  const Integer PageSize = FScrollBar->PageSize();
  if (PageSize != 0) {
    const Integer FreePositions = Range - PageSize + 1;
    ASize = std::min(Track, MulDiv(PageSize, Track, Range + 1));
    if (FMinThumbnailSize > Track || Range == 0) return false;
    ASize = std::max(ASize, FMinThumbnailSize);
    AOffset = MulDiv(Track - ASize, std::min(Pos, FreePositions), FreePositions);
    return true;
  }
  ASize = dxGetSystemMetrics(FKind == sbVertical ? SM_CYVTHUMB : SM_CXHTHUMB,
                             FScrollBar->GetScaleFactor());
  if (ASize > Track) return false;
  AOffset = (Track - ASize == 0 || Range == 0) ? 0 : MulDiv(Track - ASize, Pos, Range);
  return true;
}

void TcxScrollBarViewInfo::CalculateThumbnailRect() {
  TcxScrollBarPartViewInfo* Thumb = GetPartInfo(sbpThumbnail);
  Thumb->SetBounds(cxEmptyRect);
  AdjustPageRects();
  if (!FScrollBar->Enabled()) return;
  Integer Offset = 0, Size = 0;
  if (!CalculateThumbnail(Offset, Size)) return;
  const TRect R = GetBounds();
  if (FKind == sbVertical) {
    Integer Top = GetPartInfo(sbpLineUp)->Bounds().bottom + Offset;
    Thumb->SetBounds(TRect{R.left, Top, R.right, Top + Size});
  } else {
    Integer Left = GetHorizontalScrollbarPart(0)->Bounds().right + Offset;
    TRect Bounds{Left, R.top, Left + Size, R.bottom};
    if (FScrollBar->IsRightToLeft()) Bounds = MirrorRect(Bounds, R);
    Thumb->SetBounds(Bounds);
  }
  AdjustPageRects();
}

void TcxScrollBarViewInfo::AdjustPageRects() {
  const TRect Thumb = GetPartInfo(sbpThumbnail)->Bounds();
  if (cxRectIsEmpty(Thumb)) {
    GetPartInfo(sbpPageUp)->SetBounds(cxEmptyRect);
    GetPartInfo(sbpPageDown)->SetBounds(cxEmptyRect);
    return;
  }
  const TRect R = GetBounds();
  if (FKind == sbVertical) {
    GetPartInfo(sbpPageUp)->SetBounds(
        TRect{R.left, GetPartInfo(sbpLineUp)->Bounds().bottom, R.right, Thumb.top});
    GetPartInfo(sbpPageDown)
        ->SetBounds(TRect{R.left, Thumb.bottom, R.right, GetPartInfo(sbpLineDown)->Bounds().top});
  } else {
    GetHorizontalScrollbarPart(2)->SetBounds(
        TRect{GetHorizontalScrollbarPart(0)->Bounds().right, R.top, Thumb.left, R.bottom});
    GetHorizontalScrollbarPart(3)->SetBounds(
        TRect{Thumb.right, R.top, GetHorizontalScrollbarPart(1)->Bounds().left, R.bottom});
  }
}

void TcxScrollBarViewInfo::SetThumbnailPos(Integer APos) {
  TcxScrollBarPartViewInfo* Thumb = GetPartInfo(sbpThumbnail);
  const TRect R = Thumb->Bounds();
  Thumb->SetBounds(FKind == sbVertical ? cxRectSetTop(R, APos) : cxRectSetLeft(R, APos));
}

TcxScrollBarPart TcxScrollBarViewInfo::GetPart(const TPoint& P) const {
  for (TcxScrollBarPart Part : {sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown})
    if (cxRectPtIn(GetPartInfo(Part)->Bounds(), P)) return Part;
  return sbpNone;
}

void TcxScrollBarViewInfo::UpdateFadingHelperStates() {
  for (TcxScrollBarPart Part : {sbpLineUp, sbpLineDown, sbpThumbnail})
    GetPartInfo(Part)->UpdateState();
}

// ---------------------------------------------------------------------------
// Mouse behaviour
IMPLEMENT_CREATABLE_CLASS(TcxScrollBarController)

TcxScrollBarController::TcxScrollBarController(TcxScrollBarHelper* AScrollBar)
    : FScrollBar(AScrollBar) {
  FTimer.reset(Create<TcxTimer>(nullptr));
  FTimer->SetEnabled(false);
  FTimer->SetInterval(cxScrollBarFirstRepeatDelay);
  FTimer->SetOnTimer(MakeEvent<&TcxScrollBarController::OnTimer>(this));
}

TcxScrollBarController::~TcxScrollBarController() = default;

TcxScrollBarViewInfo* TcxScrollBarController::ViewInfo() const { return FScrollBar->ViewInfo(); }

TcxScrollBarPart TcxScrollBarController::PartUnderCursor() const {
  POINT P{};
  if (!GetCursorPos(&P)) return sbpNone;
  return ViewInfo()->GetPart(FScrollBar->ScreenToClient(TPoint{P.x, P.y}));
}

void TcxScrollBarController::SetPositionValue(TScrollCode AScrollCode, Integer AValue) {
  switch (AScrollCode) {
    case scLineUp:
      AValue -= FScrollBar->SmallChange();
      break;
    case scLineDown:
      AValue += FScrollBar->SmallChange();
      break;
    case scPageUp:
      AValue -= FScrollBar->LargeChange();
      break;
    case scPageDown:
      AValue += FScrollBar->LargeChange();
      break;
    case scTop:
      AValue = FScrollBar->Min();
      break;
    case scBottom:
      AValue = FScrollBar->Max();
      break;
    default:
      break;
  }
  AValue = std::clamp(AValue, FScrollBar->Min(), FScrollBar->Max());
  TcxObjectLinkGuard Link(FScrollBar);
  FScrollBar->Scroll(AScrollCode, AValue);
  if (!Link.Alive()) return;
  AValue = std::clamp(AValue, FScrollBar->Min(), FScrollBar->Max());
  if (AValue == FScrollBar->Position()) return;
  if (AScrollCode == scTrack) {
    FScrollBar->SetPositionField(AValue);
    FScrollBar->Repaint();
  } else {
    FScrollBar->SetPosition(AValue);
  }
}

void TcxScrollBarController::InternalScroll(TScrollCode AScrollCode) {
  SetPositionValue(AScrollCode, FScrollBar->Position());
}

void TcxScrollBarController::DoScroll(TcxScrollBarPart APart) {
  switch (APart) {
    case sbpLineUp:
      InternalScroll(scLineUp);
      break;
    case sbpLineDown:
      InternalScroll(scLineDown);
      break;
    case sbpThumbnail:
      InternalScroll(scTrack);
      break;
    case sbpPageUp:
      InternalScroll(scPageUp);
      break;
    case sbpPageDown:
      InternalScroll(scPageDown);
      break;
    case sbpNone:
      break;
  }
}

void TcxScrollBarController::DoMouseDown(TMouseButton Button, TShiftState, Integer X, Integer Y) {
  if (Button != mbLeft) return;
  const TPoint P{X, Y};
  const TcxScrollBarPart Part = ViewInfo()->GetPart(P);
  if (Part == sbpNone) return;
  TcxObjectLinkGuard Link(FScrollBar);
  if (Part == sbpThumbnail) {
    FDownMousePos = P;
    FLastMousePos = P;
    FSavePosition = FScrollBar->Position();
    const TRect Thumb = ViewInfo()->ThumbnailBounds();
    FSaveThumbnailPos = TPoint{Thumb.left, Thumb.top};
    InternalScroll(scTrack);
    if (!Link.Alive()) return;
    ViewInfo()->SetPressedPart(Part);
    ViewInfo()->SetHotPart(Part);
  } else {
    ViewInfo()->SetPressedPart(Part);
    ViewInfo()->SetHotPart(Part);
    DoScroll(Part);
    if (!Link.Alive()) return;
    FTimer->SetInterval(cxScrollBarFirstRepeatDelay);
    FTimer->SetEnabled(true);
  }
  ViewInfo()->UpdateFadingHelperStates();
  FScrollBar->Repaint();
}

void TcxScrollBarController::DoMouseEnter(TControl*) {
  ViewInfo()->UpdateFadingHelperStates();
  if (FScrollBar->Painter()->IsButtonHotTrack() || IsArrowOrPage(ViewInfo()->PressedPart()))
    FScrollBar->Repaint();
}

void TcxScrollBarController::DoMouseLeave(TControl*) {
  if (ViewInfo()->PressedPart() != sbpThumbnail) {
    ViewInfo()->SetHotPart(sbpNone);
    FScrollBar->Invalidate();
  }
  ViewInfo()->UpdateFadingHelperStates();
}

void TcxScrollBarController::DoMouseMove(TShiftState Shift, Integer X, Integer Y) {
  const TPoint P{X, Y};
  if (ViewInfo()->PressedPart() == sbpThumbnail) {
    TrackThumbnail(P);
    return;
  }
  const TcxScrollBarPart Part = ViewInfo()->GetPart(P);
  const TcxScrollBarPart Pressed = ViewInfo()->PressedPart();
  if (Pressed != sbpNone) FTimer->SetEnabled(Part == Pressed);
  if (Part != ViewInfo()->HotPart()) {
    ViewInfo()->SetHotPart(Part);
    ViewInfo()->UpdateFadingHelperStates();
    if (FScrollBar->Painter()->IsButtonHotTrack()) FScrollBar->Repaint();
  }
  if (Pressed == sbpNone && Shift.Contains(ssLeft) && FScrollBar->GetAllowOwnerScrollOnDrag()) {
    if (Part == sbpLineUp || Part == sbpPageUp)
      DoScroll(sbpLineUp);
    else if (Part == sbpLineDown || Part == sbpPageDown)
      DoScroll(sbpLineDown);
  }
}

TRect TcxScrollBarController::GetTrackingZone() const {
  const TRect R = FScrollBar->BoundsRect();
  return FScrollBar->Kind() == sbHorizontal
             ? cxRectInflate(R, cxScrollMinDistance, cxScrollMaxDistance)
             : cxRectInflate(R, cxScrollMaxDistance, cxScrollMinDistance);
}

void TcxScrollBarController::TrackThumbnail(const TPoint& P) {
  const TScrollBarKind Kind = FScrollBar->Kind();
  if (!FScrollBar->UnlimitedTracking() && !cxRectPtIn(GetTrackingZone(), P)) {
    if (FScrollBar->Position() != FSavePosition) {
      SetThumbnailValue(FSavePosition, true);
      // The thumb is back where the drag started: coming back into the
      // zone at the last coordinate handled must move it again.
      FLastMousePos = FDownMousePos;
    }
    return;
  }
  // Only a new coordinate along the axis moves the thumb; a move back to
  // the press point puts it back where it started.
  if (Axis(P, Kind) == Axis(FLastMousePos, Kind)) return;
  FLastMousePos = P;
  TcxScrollBarViewInfo* Info = ViewInfo();
  const TRect Thumb = Info->ThumbnailBounds();
  Integer Delta = Axis(P, Kind) - Axis(FDownMousePos, Kind);
  Integer Saved = Axis(FSaveThumbnailPos, Kind), Low = 0, High = 0;
  if (Kind == sbHorizontal) {
    Low = Info->GetHorizontalScrollbarPart(0)->Bounds().right - Saved;
    High = Info->GetHorizontalScrollbarPart(1)->Bounds().left - Saved - cxRectWidth(Thumb);
  } else {
    Low = Info->GetPartInfo(sbpLineUp)->Bounds().bottom - Saved;
    High = Info->GetPartInfo(sbpLineDown)->Bounds().top - Saved - cxRectHeight(Thumb);
  }
  Delta = std::max(Low, std::min(Delta, High));
  Info->SetThumbnailPos(Saved + Delta);
  Info->AdjustPageRects();
  FScrollBar->Repaint();
  const Integer NewPosition = GetPositionFromThumbnail();
  if (NewPosition == FScrollBar->Position()) return;
  TcxObjectLinkGuard Link(FScrollBar);
  SetThumbnailValue(NewPosition, false);
  if (Link.Alive()) FScrollBar->Change();
}

Integer TcxScrollBarController::GetPositionFromThumbnail() {
  TcxScrollBarViewInfo* Info = ViewInfo();
  const TRect Thumb = Info->ThumbnailBounds();
  Integer Total = FScrollBar->Max() - FScrollBar->Min();
  if (FScrollBar->PageSize() > 0) Total += 1 - FScrollBar->PageSize();
  Integer Distance = 0, FreeTrack = 0;
  if (FScrollBar->Kind() == sbVertical) {
    const Integer TrackStart = Info->GetPartInfo(sbpLineUp)->Bounds().bottom;
    Distance = Thumb.top - TrackStart;
    FreeTrack = Info->GetPartInfo(sbpLineDown)->Bounds().top - TrackStart - cxRectHeight(Thumb);
  } else {
    const Integer TrackStart = Info->GetHorizontalScrollbarPart(0)->Bounds().right;
    FreeTrack =
        Info->GetHorizontalScrollbarPart(1)->Bounds().left - TrackStart - cxRectWidth(Thumb);
    Distance = FScrollBar->IsRightToLeft()
                   ? Info->GetPartInfo(sbpLineUp)->Bounds().left - Thumb.right
                   : Thumb.left - TrackStart;
  }
  // A thumb that fills its track cannot move: the position stays.
  if (FreeTrack <= 0) return FScrollBar->Position();
  return FScrollBar->Min() + MulDiv(Total, Distance, FreeTrack);
}

void TcxScrollBarController::SetThumbnailValue(Integer AValue, bool AFireEvent) {
  if (AFireEvent)
    FScrollBar->SetPosition(AValue);
  else
    FScrollBar->SetPositionField(AValue);
  DoScroll(sbpThumbnail);
}

void TcxScrollBarController::DoMouseUp(TMouseButton, TShiftState, Integer X, Integer Y) {
  TcxObjectLinkGuard Link(FScrollBar);
  FinishScrolling(ViewInfo()->GetPart(TPoint{X, Y}));
  if (Link.Alive()) ViewInfo()->UpdateFadingHelperStates();
}

void TcxScrollBarController::FinishScrolling(TcxScrollBarPart AHotPart) {
  TcxScrollBarViewInfo* Info = ViewInfo();
  Info->SetHotPart(AHotPart);
  const TcxScrollBarPart Pressed = Info->PressedPart();
  if (Pressed == sbpNone) return;
  FTimer->SetEnabled(false);
  Info->SetPressedPart(sbpNone);
  TcxObjectLinkGuard Link(FScrollBar);
  if (Pressed == sbpThumbnail) {
    FScrollBar->SetPositionField(GetPositionFromThumbnail());
    InternalScroll(scPosition);
    if (!Link.Alive()) return;
  }
  InternalScroll(scEndScroll);
  if (!Link.Alive()) return;
  Info->CalculateThumbnailRect();
  Info->UpdateFadingHelperStates();
  FScrollBar->Invalidate();
}

void TcxScrollBarController::OnTimer(TObject*) {
  FTimer->SetEnabled(false);
  const TcxScrollBarPart Pressed = ViewInfo()->PressedPart();
  if (!FScrollBar->IsOwnerControlCapture() || !IsArrowOrPage(Pressed)) {
    FinishScrolling(sbpNone);
    return;
  }
  if (FTimer->Interval() == cxScrollBarFirstRepeatDelay)
    FTimer->SetInterval(cxScrollBarRepeatDelay);
  TcxObjectLinkGuard Link(FScrollBar);
  DoScroll(Pressed);
  if (!Link.Alive()) return;
  if (PartUnderCursor() == Pressed) FTimer->SetEnabled(true);
}

// ---------------------------------------------------------------------------
// Painting
IMPLEMENT_CREATABLE_CLASS(TcxScrollBarPainter)

TcxCustomLookAndFeelPainter* TcxScrollBarPainter::GetLookAndFeelPainter() const {
  return FScrollBar->GetLookAndFeelPainter();
}

TdxScaleFactor* TcxScrollBarPainter::GetScaleFactor() const { return FScrollBar->GetScaleFactor(); }

TcxScrollBarViewInfo* TcxScrollBarPainter::GetViewInfo() const { return FScrollBar->ViewInfo(); }

void TcxScrollBarPainter::Paint(TcxCanvas* ACanvas) {
  DrawScrollBarBackground(ACanvas, FScrollBar->BoundsRect());
  for (TcxScrollBarPart Part : {sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown})
    DrawScrollBarPart(ACanvas, Part);
}

void TcxScrollBarPainter::DrawScrollBarBackground(TcxCanvas* ACanvas, const TRect& R) {
  GetLookAndFeelPainter()->DrawScaledScrollBarBackground(
      ACanvas, R, FScrollBar->Kind() == sbHorizontal, GetScaleFactor());
}

void TcxScrollBarPainter::DrawScrollBarPart(TcxCanvas* ACanvas, TcxScrollBarPart APart) {
  TcxScrollBarPartViewInfo* Info = GetViewInfo()->GetPartInfo(APart);
  const TRect R = Info->Bounds();
  if (cxRectIsEmpty(R)) return;
  if (Info->FadingHelper() && Info->FadingHelper()->DrawImage(ACanvas->Handle(), R)) return;
  DoDrawScrollBarPart(ACanvas, R, APart, Info->GetState());
}

void TcxScrollBarPainter::DoDrawScrollBarPart(TcxCanvas* ACanvas, const TRect& R,
                                              TcxScrollBarPart APart, TcxButtonState AState) {
  const bool Horizontal = FScrollBar->Kind() == sbHorizontal;
  // The arrows point the other way on a right-to-left bar.
  if (Horizontal && FScrollBar->IsRightToLeft()) {
    if (APart == sbpLineUp)
      APart = sbpLineDown;
    else if (APart == sbpLineDown)
      APart = sbpLineUp;
  }
  GetLookAndFeelPainter()->DrawScaledScrollBarPart(ACanvas, Horizontal, R, APart, AState,
                                                   GetScaleFactor());
}

bool TcxScrollBarPainter::FadingAvailable() {
  if (!IsButtonHotTrack()) return false;
  TcxLookAndFeelStyle Style = GetLookAndFeelPainter()->LookAndFeelStyle();
  return Style == lfsNative || Style == lfsSkin;
}

Integer TcxScrollBarPainter::GetMinThumbnailSize() {
  return GetLookAndFeelPainter()->ScaledScrollBarMinimalThumbSize(FScrollBar->Kind() == sbVertical,
                                                                  GetScaleFactor());
}

bool TcxScrollBarPainter::IsButtonHotTrack() { return GetLookAndFeelPainter()->IsButtonHotTrack(); }

// ---------------------------------------------------------------------------
// The core
IMPLEMENT_CLASS_IMPL(TcxScrollBarHelper, &cxCreateScrollBarHelper<TcxScrollBarHelper>)

TcxScrollBarHelper::TcxScrollBarHelper(IcxScrollBarOwner* AOwner) : FOwner(AOwner) {}

void TcxScrollBarHelper::AfterConstruction() {
  inherited::AfterConstruction();
  FViewInfo = As<TcxScrollBarViewInfo>(GetViewInfoClass()->Create(this));
  FController = As<TcxScrollBarController>(GetControllerClass()->Create(this));
  FPainter = As<TcxScrollBarPainter>(GetPainterClass()->Create(this));
  FBoundsRect = TRect{0, 0, 120, GetScrollBarSize().cy};
}

TcxScrollBarHelper::~TcxScrollBarHelper() {
  cxClearObjectLinks(this);
  FVisibleRgn.Reset();
  if (FPainter) FreeAndNil(FPainter);
  if (FController) FreeAndNil(FController);
  if (FViewInfo) FreeAndNil(FViewInfo);
}

TClass TcxScrollBarHelper::GetControllerClass() { return TcxScrollBarController::StaticClass(); }
TClass TcxScrollBarHelper::GetPainterClass() { return TcxScrollBarPainter::StaticClass(); }
TClass TcxScrollBarHelper::GetViewInfoClass() { return TcxScrollBarViewInfo::StaticClass(); }
TSize TcxScrollBarHelper::GetScrollBarSize() { return ::GetScrollBarSize(); }
bool TcxScrollBarHelper::NeedBuffering() { return !IsWinVistaOrLater; }

TdxScaleFactor* TcxScrollBarHelper::GetScaleFactor() const { return FOwner->GetScaleFactor(); }
TcxLookAndFeel* TcxScrollBarHelper::GetLookAndFeel() const { return FOwner->GetLookAndFeel(); }

TcxCustomLookAndFeelPainter* TcxScrollBarHelper::GetLookAndFeelPainter() const {
  return GetLookAndFeel()->GetAvailablePainter(totScrollBar);
}

HWND TcxScrollBarHelper::Handle() const { return FOwner->GetControl()->Handle(); }

bool TcxScrollBarHelper::HandleAllocated() const { return FOwner->GetControl()->HandleAllocated(); }

bool TcxScrollBarHelper::IsOwnerControlCapture() {
  return HandleAllocated() && GetCapture() == Handle();
}

bool TcxScrollBarHelper::IsRightToLeft() {
  TWinControl* Control = FOwner->GetControl();
  return FKind == sbVertical ? Control->UseRightToLeftScrollBar()
                             : Control->UseRightToLeftAlignment();
}

TPoint TcxScrollBarHelper::ScreenToClient(const TPoint& P) {
  return FOwner->GetControl()->ScreenToClient(P);
}

bool TcxScrollBarHelper::GetAllowOwnerScrollOnDrag() const {
  return ScrollBarOwnerLink.AllowScrollContentOnDrag &&
         ScrollBarOwnerLink.AllowScrollContentOnDrag(FOwner->GetControl());
}

bool TcxScrollBarHelper::PtInVisibleRgn(const TPoint& P) const {
  return FVisibleRgn ? cxPtInRegion(FVisibleRgn.Get(), P) : cxRectPtIn(FBoundsRect, P);
}

TcxRegion* TcxScrollBarHelper::GetTempVisibleRegion() const {
  TcxRegion* Region = Create<TcxRegion>();
  if (FVisibleRgn)
    CombineRgn(Region->Handle(), FVisibleRgn.Get(), nullptr, RGN_COPY);
  else
    Region->Combine(FBoundsRect, roSet);
  return Region;
}

void TcxScrollBarHelper::RefreshNCPart(const TRect& R) {
  RedrawWindow(Handle(), &R, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TcxScrollBarHelper::SetVisibleRgn(HRGN ARegion) { FVisibleRgn.Reset(ARegion); }

void TcxScrollBarHelper::SetBoundsRect(const TRect& AValue) {
  if (AValue == FBoundsRect) return;
  FBoundsRect = AValue;
  FVisibleRgn.Reset();
}

void TcxScrollBarHelper::SetEnabled(bool AValue) {
  if (FEnabled == AValue) return;
  FEnabled = AValue;
  if (!AValue) CancelMode();
}

void TcxScrollBarHelper::SetVisible(bool AValue) {
  if (FVisible == AValue) return;
  FVisible = AValue;
  if (!AValue) CancelMode();
}

void TcxScrollBarHelper::SetMax(Integer AValue) {
  SetScrollParams(FMin, AValue, FPosition, FPageSize, FVisible);
}
void TcxScrollBarHelper::SetMin(Integer AValue) {
  SetScrollParams(AValue, FMax, FPosition, FPageSize, FVisible);
}
void TcxScrollBarHelper::SetPageSize(Integer AValue) {
  SetScrollParams(FMin, FMax, FPosition, AValue, FVisible);
}
void TcxScrollBarHelper::SetPosition(Integer AValue) {
  SetScrollParams(FMin, FMax, AValue, FPageSize, FVisible);
}

void TcxScrollBarHelper::SetScrollParams(Integer AMin, Integer AMax, Integer APosition,
                                         Integer APageSize, bool ARedraw) {
  if (AMax < AMin || static_cast<Int64>(AMax) - AMin < APageSize)
    throw EInvalidOperation(L"Scrollbar property out of range");
  APosition = std::clamp(APosition, AMin, AMax);
  if (FMin == AMin && FMax == AMax && FPageSize == APageSize && FPosition == APosition)
    ARedraw = false;
  else {
    FMin = AMin;
    FMax = AMax;
    FPageSize = APageSize;
  }
  const bool PositionChanged = FPosition != APosition;
  FPosition = APosition;
  FViewInfo->CalculateThumbnailRect();
  FViewInfo->UpdateFadingHelperStates();
  if (ARedraw && HandleAllocated()) Repaint();
  if (PositionChanged) Change();
}

void TcxScrollBarHelper::Calculate() { FViewInfo->Calculate(); }

void TcxScrollBarHelper::CancelMode() { FController->FinishScrolling(sbpNone); }

void TcxScrollBarHelper::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FController->DoMouseDown(Button, Shift, X, Y);
}

void TcxScrollBarHelper::MouseEnter(TControl* AControl) { FController->DoMouseEnter(AControl); }
void TcxScrollBarHelper::MouseLeave(TControl* AControl) { FController->DoMouseLeave(AControl); }

void TcxScrollBarHelper::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  FController->DoMouseMove(Shift, X, Y);
}

void TcxScrollBarHelper::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  FController->DoMouseUp(Button, Shift, X, Y);
}

void TcxScrollBarHelper::Change() {
  if (FOnChange) FOnChange(this);
}

void TcxScrollBarHelper::Scroll(TScrollCode AScrollCode, Integer& AScrollPos) {
  if (FOnScroll) FOnScroll(this, AScrollCode, AScrollPos);
}

void TcxScrollBarHelper::DoPaint(TcxCanvas* ACanvas) { FPainter->Paint(ACanvas); }

void TcxScrollBarHelper::Paint(TcxCanvas* ACanvas) {
  TOwned<TcxRegion> Region(GetTempVisibleRegion());
  ACanvas->SaveClipRegion();
  {
    auto Restore = Finally([&] { ACanvas->RestoreClipRegion(); });
    ACanvas->SetClipRegion(Region.get(), roIntersect, false);
    if (NeedBuffering())
      DoBufferedPaint(ACanvas->Handle());
    else
      DoPaint(ACanvas);
  }
  // The owner's later painting leaves the bar alone.
  ACanvas->SetClipRegion(Region.get(), roSubtract, false);
}

void TcxScrollBarHelper::Paint(HDC DC) {
  TcxPaintCanvas* Canvas = cxPaintCanvas();
  Canvas->BeginPaint(DC);
  auto End = Finally([&] { Canvas->EndPaint(); });
  Canvas->SetClipRegion(GetTempVisibleRegion(), roIntersect);
  DoBufferedPaint(Canvas->Handle());
}

void TcxScrollBarHelper::DoBufferedPaint(HDC DC) {
  TRect R = FBoundsRect;
  if (FVisibleRgn) {
    RECT Box{};
    if (GetRgnBox(FVisibleRgn.Get(), &Box) == NULLREGION) return;
    R = TRect{Box.left, Box.top, Box.right, Box.bottom};
  }
  if (cxRectIsEmpty(R)) return;
  TOwned<TcxBitmap> Buffer(TcxBitmap::CreateSize(R));
  TcxCanvas* Canvas = Buffer->cxCanvas();
  Canvas->Lock();
  auto Unlock = Finally([&] { Canvas->Unlock(); });
  Canvas->SetWindowOrg(TPoint{R.left, R.top});
  DoPaint(Canvas);
  Canvas->SetWindowOrg(TPoint{0, 0});
  cxBitBlt(DC, Canvas->Handle(), R, TPoint{0, 0}, SRCCOPY);
}

void TcxScrollBarHelper::Repaint() {
  if (!HandleAllocated()) return;
  if (FIsNonClient) {
    RefreshNCPart(FBoundsRect);
    return;
  }
  Invalidate();
  FOwner->GetControl()->Update();
}

void TcxScrollBarHelper::InvalidateRect(const TRect& R, bool AEraseBackground) {
  if (!HandleAllocated()) return;
  if (FIsNonClient)
    RefreshNCPart(R);
  else
    ::InvalidateRect(Handle(), &R, AEraseBackground);
}

void TcxScrollBarHelper::Invalidate() { InvalidateRect(FBoundsRect, false); }

// ---------------------------------------------------------------------------
// The control
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxScrollBar) {
  P.Property<&TcxScrollBar::Kind, &TcxScrollBar::SetKind>(L"Kind", ScrollBarKindInfoValue)
      .Default(sbHorizontal);
  P.Property<&TcxScrollBar::LookAndFeel, &TcxScrollBar::SetLookAndFeel>(L"LookAndFeel");
  P.Property<&TcxScrollBar::Max, &TcxScrollBar::SetMax>(L"Max").Default(100);
  P.Property<&TcxScrollBar::Min, &TcxScrollBar::SetMin>(L"Min").Default(0);
  P.Property<&TcxScrollBar::PageSize, &TcxScrollBar::SetPageSize>(L"PageSize").NoDefault();
  P.Property<&TcxScrollBar::Position, &TcxScrollBar::SetPosition>(L"Position").Default(0);
  P.Property<&TcxScrollBar::LargeChange, &TcxScrollBar::SetLargeChange>(L"LargeChange").Default(1);
  P.Property<&TcxScrollBar::SmallChange, &TcxScrollBar::SetSmallChange>(L"SmallChange").Default(1);
  P.Property<&TcxScrollBar::UnlimitedTracking, &TcxScrollBar::SetUnlimitedTracking>(
       L"UnlimitedTracking")
      .Default(0);
  P.Property<&TcxScrollBar::GetOnChange, &TcxScrollBar::SetOnChange>(L"OnChange");
  P.Property<&TcxScrollBar::GetOnScroll, &TcxScrollBar::SetOnScroll>(L"OnScroll");
  P.Property<&TcxScrollBar::GetOnMouseEnter, &TcxScrollBar::SetOnMouseEnter>(L"OnMouseEnter");
  P.Property<&TcxScrollBar::GetOnMouseLeave, &TcxScrollBar::SetOnMouseLeave>(L"OnMouseLeave");
}

IMPLEMENT_MESSAGE_TABLE(TcxScrollBar,
                        {CN_CTLCOLORSCROLLBAR, MessageHandler<&TcxScrollBar::CNCtlColorScrollBar>},
                        {CM_SYSCOLORCHANGE, MessageHandler<&TcxScrollBar::CMSysColorChange>},
                        {CM_CTL3DCHANGED, MessageHandler<&TcxScrollBar::CMCtl3DChanged>},
                        {WM_GESTURENOTIFY, MessageHandler<&TcxScrollBar::WMGestureNotify>})

TcxScrollBar::TcxScrollBar(TComponent* AOwner) : TCustomControl(AOwner) {}

void TcxScrollBar::AfterConstruction() {
  inherited::AfterConstruction();
  FLookAndFeel = Create<TcxLookAndFeel>(this);
  FLookAndFeel->SetOnChanged(MakeEvent<&TcxScrollBar::LookAndFeelChanged>(this));
  FScaleFactor = Create<TdxOwnedScaleFactor>();
  FScaleFactor->SetUseOwnerValue(false);
  FHelper = As<TcxScrollBarHelper>(GetHelperClass()->Create(this));
  FHelper->SetOnScroll(MakeEvent<&TcxScrollBar::DoScrollEvent>(this));
  FHelper->SetOnChange(MakeEvent<&TcxScrollBar::DoChange>(this));
  // The core follows the control's visibility, which starts shown.
  FHelper->SetVisible(Visible());
  SetWidth(121);
  SetControlStyle(TControlStyle{csCaptureMouse, csFramed, csOpaque});
  SetHeight(GetInitialSize().cy);
  FThemeChangedNotificator = Create<TdxThemeChangedNotificator>();
  FThemeChangedNotificator->SetOnThemeChanged(MakeEvent<&TcxScrollBar::ThemeChanged>(this));
  FHelper->SetBoundsRect(ClientRect());
  FHelper->Calculate();
}

void TcxScrollBar::RecreateHelper() {
  TcxScrollBarHelper* Old = FHelper;
  auto* New = As<TcxScrollBarHelper>(GetHelperClass()->Create(this));
  New->SetKind(Old->Kind());
  New->SetScrollParams(Old->Min(), Old->Max(), Old->Position(), Old->PageSize(), false);
  New->SetSmallChange(Old->SmallChange());
  New->SetLargeChange(Old->LargeChange());
  New->SetUnlimitedTracking(Old->UnlimitedTracking());
  New->SetEnabled(Old->Enabled());
  New->SetVisible(Old->Visible());
  New->SetOnScroll(MakeEvent<&TcxScrollBar::DoScrollEvent>(this));
  New->SetOnChange(MakeEvent<&TcxScrollBar::DoChange>(this));
  FHelper = New;
  Old->Free();
  FHelper->SetBoundsRect(ClientRect());
  FHelper->Calculate();
}

void TcxScrollBar::BeforeDestruction() {
  // The window goes first, while the core can still answer its messages.
  inherited::BeforeDestruction();
}

TcxScrollBar::~TcxScrollBar() {
  if (FThemeChangedNotificator) FreeAndNil(FThemeChangedNotificator);
  if (FHelper) FreeAndNil(FHelper);
  if (FLookAndFeel) FreeAndNil(FLookAndFeel);
  if (FScaleFactor) FreeAndNil(FScaleFactor);
}

HRESULT STDMETHODCALLTYPE TcxScrollBar::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxScrollBar::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IcxScrollBarOwner)) || IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IcxScrollBarOwner*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IdxSkinSupport))) {
    *AObj = static_cast<IdxSkinSupport*>(this);
    return true;
  }
  if (IsEqualIID(AIID, __uuidof(IdxScaleFactor))) {
    *AObj = static_cast<IdxScaleFactor*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

TClass TcxScrollBar::GetHelperClass() { return TcxScrollBarHelper::StaticClass(); }

TSize TcxScrollBar::GetInitialSize() { return GetScaledScrollBarSize(FScaleFactor); }

void TcxScrollBar::SetScrollParams(Integer AMin, Integer AMax, Integer APosition, Integer APageSize,
                                   bool ARedraw) {
  FHelper->SetScrollParams(AMin, AMax, APosition, APageSize, ARedraw);
}

void TcxScrollBar::SetParams(Integer APosition, Integer AMin, Integer AMax) {
  SetScrollParams(AMin, AMax, APosition, PageSize(), true);
}

void TcxScrollBar::SetMax(Integer AValue) {
  SetScrollParams(Min(), AValue, Position(), PageSize(), true);
}
void TcxScrollBar::SetMin(Integer AValue) {
  SetScrollParams(AValue, Max(), Position(), PageSize(), true);
}
void TcxScrollBar::SetPageSize(Integer AValue) {
  SetScrollParams(Min(), Max(), Position(), AValue, true);
}
void TcxScrollBar::SetPosition(Integer AValue) {
  SetScrollParams(Min(), Max(), AValue, PageSize(), true);
}

void TcxScrollBar::SetKind(TScrollBarKind AValue) {
  if (AValue == Kind()) return;
  FHelper->SetKind(AValue);
  // The size stays: only the layout inside it changes.
  FHelper->SetBoundsRect(ClientRect());
  FHelper->Calculate();
  Invalidate();
}

void TcxScrollBar::SetParent(TWinControl* AParent) {
  if (AParent == Parent() && !ComponentState().Contains(csReading)) return;
  inherited::SetParent(AParent);
  cxUpdateScaleFactorOnParentChange(this, FScaleFactor);
}

void TcxScrollBar::ChangeScale(Integer M, Integer D) {
  FScaleFactor->Change(M, D);
  inherited::ChangeScale(M, D);
  FLookAndFeel->Refresh();
}

bool TcxScrollBar::GetCtl3D() const { return FLookAndFeel->SkinPainter() ? FRealCtl3D : Ctl3D(); }

void TcxScrollBar::SetCtl3D(bool AValue) {
  FRealCtl3D = AValue;
  if (Ctl3D() == AValue) return;
  TWinControl::SetCtl3D(AValue);
  Perform(CM_CTL3DCHANGED);
}

void TcxScrollBar::CMCtl3DChanged(TMessage&) {
  FRealCtl3D = Ctl3D();
  LookAndFeelChanged(FLookAndFeel, TcxLookAndFeelValues());
}

void TcxScrollBar::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {
  if (!Visible()) return;
  // A skin draws its own edges: the platform's 3-D look goes while the
  // user's choice is kept for when the skin goes.
  if (FLookAndFeel->SkinPainter() && FRealCtl3D)
    TWinControl::SetCtl3D(false);
  else
    TWinControl::SetCtl3D(FRealCtl3D);
  FHelper->Calculate();
  Invalidate();
}

void TcxScrollBar::Change() {
  Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this));
  if (OnChange) OnChange(this);
}

void TcxScrollBar::Scroll(TScrollCode AScrollCode, Integer& AScrollPos) {
  if (OnScroll) OnScroll(this, AScrollCode, AScrollPos);
}

void TcxScrollBar::DoChange(TObject*) { Change(); }

void TcxScrollBar::DoScrollEvent(TObject*, TScrollCode AScrollCode, Integer& AScrollPos) {
  Scroll(AScrollCode, AScrollPos);
}

void TcxScrollBar::DoPaint(TcxCanvas* ACanvas) { FHelper->DoPaint(ACanvas); }

void TcxScrollBar::Paint() {
  if (Width() <= 0 || Height() <= 0) return;
  TOwned<TcxBitmap> Buffer(TcxBitmap::CreateSize(Width(), Height()));
  TcxCanvas* BufferCanvas = Buffer->cxCanvas();
  BufferCanvas->Lock();
  auto Unlock = Finally([&] { BufferCanvas->Unlock(); });
  DoPaint(BufferCanvas);
  cxBitBlt(Canvas()->Handle(), BufferCanvas->Handle(), ClientRect(), TPoint{0, 0}, SRCCOPY);
}

void TcxScrollBar::Loaded() {
  inherited::Loaded();
  FHelper->SetBoundsRect(ClientRect());
  FHelper->Calculate();
}

void TcxScrollBar::Resize() {
  inherited::Resize();
  FHelper->SetBoundsRect(ClientRect());
  FHelper->Calculate();
}

void TcxScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxObjectLinkGuard Link(this);
  inherited::MouseDown(Button, Shift, X, Y);
  if (Link.Alive()) FHelper->MouseDown(Button, Shift, X, Y);
}

void TcxScrollBar::MouseMove(TShiftState Shift, Integer X, Integer Y) {
  TcxObjectLinkGuard Link(this);
  inherited::MouseMove(Shift, X, Y);
  if (Link.Alive()) FHelper->MouseMove(Shift, X, Y);
}

void TcxScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
  TcxObjectLinkGuard Link(this);
  inherited::MouseUp(Button, Shift, X, Y);
  if (Link.Alive()) FHelper->MouseUp(Button, Shift, X, Y);
}

void TcxScrollBar::MouseEnter(TControl* AControl) {
  FHelper->MouseEnter(AControl);
  if (AControl == this && OnMouseEnter) OnMouseEnter(this);
}

void TcxScrollBar::MouseLeave(TControl* AControl) {
  FHelper->MouseLeave(AControl);
  if (AControl == this && OnMouseLeave) OnMouseLeave(this);
}

void TcxScrollBar::CMMouseEnter(TMessage& Message) {
  auto* Control = reinterpret_cast<TControl*>(Message.LParam);
  MouseEnter(Control ? Control : this);
}

void TcxScrollBar::CMMouseLeave(TMessage& Message) {
  auto* Control = reinterpret_cast<TControl*>(Message.LParam);
  MouseLeave(Control ? Control : this);
}

void TcxScrollBar::WMEraseBkgnd(TMessage& Message) { Message.Result = 1; }

void TcxScrollBar::WMCancelMode(TMessage& Message) {
  FHelper->CancelMode();
  inherited::WMCancelMode(Message);
}

void TcxScrollBar::CNHScroll(TMessage& Message) {
  const Integer Code = LOWORD(Message.WParam);
  if (Code <= scEndScroll) FHelper->Controller()->InternalScroll(static_cast<TScrollCode>(Code));
}

void TcxScrollBar::CNVScroll(TMessage& Message) { CNHScroll(Message); }

void TcxScrollBar::CNCtlColorScrollBar(TMessage& Message) {
  UpdateScrollBarBitmaps();
  DefaultHandler(Message);
}

void TcxScrollBar::CMSysColorChange(TMessage& Message) {
  UpdateScrollBarBitmaps();
  DefaultHandler(Message);
}

void TcxScrollBar::CMEnabledChanged(TMessage& Message) {
  inherited::CMEnabledChanged(Message);
  FHelper->SetEnabled(Enabled());
  FHelper->Calculate();
  Invalidate();
}

void TcxScrollBar::CMVisibleChanged(TMessage& Message) {
  FHelper->SetVisible(Visible());
  inherited::CMVisibleChanged(Message);
}

// Right-to-left bars lay their arrows and thumb out the other way round.
void TcxScrollBar::CMBiDiModeChanged(TMessage& Message) {
  inherited::CMBiDiModeChanged(Message);
  FHelper->Calculate();
  Invalidate();
}

void TcxScrollBar::WMGestureNotify(TMessage& Message) {
  if (HandleAllocated()) dxLockGestures(Handle(), Message);
}

void TcxScrollBar::ThemeChanged() {
  FHelper->Calculate();
  UpdateScrollBarBitmaps();
  Invalidate();
  if (Parent()) Parent()->Realign();
}
