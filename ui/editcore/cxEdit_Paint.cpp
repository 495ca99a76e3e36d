// Painting of an editor from its view info: the parent's background where
// the editor lets it through, background and border, the validation mark,
// then the buttons (cxEdit_ButtonPaint.cpp).
#include <algorithm>

#include "cxEdit.h"
#include "cxEditUtils.h"
#include "dxCore.h"
#include "dxFading.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

namespace {

// Edit theme part of the editor's frame before and since the themed frame
// got its own part, and the button part of a drop-down list.
constexpr Integer EP_EDITTEXT_PART = 1, EP_EDITBORDER_NOSCROLL_PART = 6, BP_PUSHBUTTON_PART = 1;

// Moves the canvas's window origin so that (0, 0) lands on AOffset for the
// life of the guard.
auto ShiftedOrigin(TcxCanvas* ACanvas, const TPoint& AOffset) {
  TPoint Old = ACanvas->WindowOrg();
  ACanvas->SetWindowOrg(TPoint{Old.x - AOffset.x, Old.y - AOffset.y});
  return Finally([ACanvas, Old] { ACanvas->SetWindowOrg(Old); });
}

TcxContainerBorderStyle ContainerBorderStyle(TcxEditBorderStyle AStyle) {
  return static_cast<TcxContainerBorderStyle>(AStyle);
}

}  // namespace

// ---------------------------------------------------------------------------
// The whole editor

void TcxCustomEditViewInfo::Paint(TcxCanvas* ACanvas) {
  if (FOnPaint) FOnPaint(this, ACanvas);
  TcxContainerViewInfo::Paint(ACanvas);
  if (!FOnAfterDrawValue.GetEmpty()) FOnAfterDrawValue.Invoke()(ACanvas);
}

void TcxCustomEditViewInfo::PaintEx(TcxCanvas* ACanvas) {
  auto Origin = ShiftedOrigin(ACanvas, TPoint{Left, Top});
  Paint(ACanvas);
}

void TcxCustomEditViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  DrawCustomEdit(ACanvas, true, true);
}

void TcxCustomEditViewInfo::DrawCustomEdit(TcxCanvas* ACanvas, bool ACanDrawBackground,
                                           bool ACanDrawValidationMark) {
  TdxFader* Fader = dxFader();
  if (!IsInplace && FEdit) {
    // A fade image may let through any of its pixels.
    const bool Fading = Fader && Fader->Contains(FEdit);
    if (Fading || IsBackgroundPartiallyTransparent())
      DrawParentBackground(ACanvas, Fading, ACanDrawBackground);
  }
  if (!(Fader && FEdit && Fader->DrawFadeImage(FEdit, ACanvas->Handle(), Bounds)))
    DrawCustomEditBackground(ACanvas, this, ACanDrawBackground);
  if (!FOnAfterDrawBackground.GetEmpty()) FOnAfterDrawBackground.Invoke()(ACanvas);
  if (ACanDrawValidationMark) DrawValidationMark(ACanvas);
  DrawButtons(ACanvas);
}

void TcxCustomEditViewInfo::DrawParentBackground(TcxCanvas* ACanvas, bool AWhole,
                                                 bool ACanDrawBackground) {
  // Printing the parent costs a paint of the parent and of every sibling
  // under the editor; a themed frame is transparent only in its corners.
  TOwned<TcxRegion> Through(Create<TcxRegion>(Bounds));
  if (!AWhole)
    if (TcxRegion* Opaque = GetNativeOpaqueRegion(ACanvas, ACanDrawBackground))
      Through->Combine(Opaque, roSubtract);
  if (Through->IsEmpty()) return;
  ACanvas->SaveClipRegion();
  auto Restore = Finally([ACanvas] { ACanvas->RestoreClipRegion(); });
  ACanvas->SetClipRegion(Through.release(), roIntersect);
  cxDrawTransparentControlBackground(FEdit, ACanvas, Bounds);
}

TcxRegion* TcxCustomEditViewInfo::GetNativeOpaqueRegion(TcxCanvas* ACanvas,
                                                        bool ACanDrawBackground) {
  if (!NativeStyle || IsInplace || BorderStyle == ebsNone) return nullptr;
  TdxThemedObjectType Type;
  Integer Part;
  CalculateNativeInfo(Type, Part);
  HTHEME Theme = OpenTheme(Type);
  if (!Theme) return nullptr;
  const TcxEditBackgroundPaintingStyle Style = GetBackgroundPaintingStyle();
  const TRect Content = GetNativeContentRect(ACanvas, Theme, Part);
  // The frame: the theme's opaque pixels around the content rectangle.
  RECT Frame = FEditorBounds;
  if (IsWinVistaOrLater && Style == bpsComboListEdit) InflateRect(&Frame, 1, 1);
  HRGN FrameRegion = nullptr;
  if (FAILED(dxUxTheme::GetThemeBackgroundRegion(Theme, ACanvas->Handle(), Part, NativeState,
                                                 &Frame, &FrameRegion)) ||
      !FrameRegion)
    return nullptr;
  TcxRegion* Result = Create<TcxRegion>(FrameRegion);
  if (!cxRectIsEmpty(Content)) Result->Combine(Content, roSubtract);
  // The fill.
  if (!Transparent) {
    if (ACanDrawBackground)
      Result->Combine(Content, roAdd);
    else if (Style != bpsComboListEdit) {
      TOwned<TcxRegion> Ring(Create<TcxRegion>(Content));
      Ring->Combine(BorderRect, roSubtract);
      Result->Combine(Ring.release(), roAdd);
    }
  }
  // Buttons cut out of the background paint their own, perhaps not at all.
  if (!IsButtonsBackgroundPartiallyTransparent())
    for (TcxEditButtonViewInfo* Button : ButtonsInfo)
      Result->Combine(Button->VisibleBounds, roSubtract);
  return Result;
}

TRect TcxCustomEditViewInfo::GetNativeContentRect(TcxCanvas* ACanvas, HTHEME ATheme,
                                                  Integer APart) {
  TRect Content = FEditorBounds;
  switch (GetBackgroundPaintingStyle()) {
    case bpsSolid:
      if (IsWinVistaOrLater)
        InflateRect(&Content, -2, -2);
      else if (ATheme)
        dxUxTheme::GetThemeBackgroundContentRect(ATheme, ACanvas->Handle(), APart, NativeState,
                                                 &FEditorBounds, &Content);
      break;
    case bpsComboEdit:
      InflateRect(&Content, -3, -3);
      Content.right -= 1;
      break;
    case bpsComboListEdit:
      Content = IsWinVistaOrLater ? cxNullRect : ClientRect;
      break;
  }
  return Content;
}

void TcxCustomEditViewInfo::DrawValidationMark(TcxCanvas* ACanvas) {
  TdxSmartGlyph* Icon = FErrorData->ErrorIcon();
  if (!FErrorData->IsError() || !Icon || Icon->Empty() || cxRectIsEmpty(FErrorBounds)) return;
  TSize Size = dxGetImageSize(Icon, GetScaleFactor());
  Size.cx = std::min<Integer>(Size.cx, FErrorBounds.right - FErrorBounds.left);
  Size.cy = std::min<Integer>(Size.cy, FErrorBounds.bottom - FErrorBounds.top);
  TPoint P = cxGetEditButtonContentPosition(FErrorBounds, Size, false);
  ACanvas->SaveClipRegion();
  auto Restore = Finally([ACanvas] { ACanvas->RestoreClipRegion(); });
  ACanvas->IntersectClipRect(FErrorBounds);
  cxDrawImage(ACanvas, cxRect(P.x, P.y, P.x + Size.cx, P.y + Size.cy), Icon, nullptr, -1,
              ifmStretch, idmNormal, true, nullptr, GetScaleFactor(), true);
}

bool TcxCustomEditViewInfo::IsBackgroundPartiallyTransparent() {
  TdxSmartGlyph* Icon = FErrorData->ErrorIcon();
  if (FErrorData->IsError() && Icon && !Icon->Empty()) return true;
  if (!NativeStyle || BorderStyle == ebsNone) return false;
  TdxThemedObjectType Type;
  Integer Part;
  CalculateNativeInfo(Type, Part);
  HTHEME Theme = OpenTheme(Type);
  return Theme && dxUxTheme::IsThemeBackgroundPartiallyTransparent(Theme, Part, NativeState);
}

void TcxCustomEditViewInfo::CalculateNativeInfo(TdxThemedObjectType& AThemedObjectType,
                                                Integer& ANativePart) {
  if (!IsWinVistaOrLater) {
    AThemedObjectType = totEdit;
    ANativePart = EP_EDITTEXT_PART;
  } else if (GetBackgroundPaintingStyle() == bpsComboListEdit) {
    AThemedObjectType = totButton;
    ANativePart = BP_PUSHBUTTON_PART;
  } else {
    AThemedObjectType = totEdit;
    ANativePart = EP_EDITBORDER_NOSCROLL_PART;
  }
}

// ---------------------------------------------------------------------------
// Backgrounds

bool TcxCustomEditViewInfo::IsTransparent() {
  return Transparent || (FEdit && FEdit->IsTransparent());
}

bool TcxCustomEditViewInfo::IsCustomBackground() {
  if (!FOnDrawBackground) return false;
  // Asked without a canvas: a handler that would paint answers before it.
  bool Handled = false;
  FOnDrawBackground(this, nullptr, Handled);
  return Handled;
}

TcxDrawBackgroundStyle TcxCustomEditViewInfo::GetDrawBackgroundStyle() {
  if (IsInplace) {
    if (IsCustomBackground()) return dbsCustom;
    return IsTransparent() ? dbsNone : dbsSimpleFill;
  }
  if (IsTransparent()) return dbsSimpleParent;
  if (FEdit && FEdit->IsNativeBackground()) return dbsThemeParent;
  return NativeStyle ? dbsSimpleFill : dbsCustomEdit;
}

bool TcxCustomEditViewInfo::IsBackgroundTransparent() {
  TcxDrawBackgroundStyle Style = GetDrawBackgroundStyle();
  return Style != dbsCustomEdit && Style != dbsSimpleFill;
}

void TcxCustomEditViewInfo::DrawEditBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                               const TRect& AGlyphRect, bool AGlyphTransparent) {
  ACanvas->SaveDC();
  auto Restore = Finally([ACanvas] { ACanvas->RestoreDC(); });
  if (!AGlyphTransparent) ACanvas->ExcludeClipRect(AGlyphRect);
  switch (GetDrawBackgroundStyle()) {
    case dbsCustom:
      ACanvas->IntersectClipRect(ARect);
      DrawBackground(ACanvas);
      break;
    case dbsCustomEdit:
      DrawCustomEdit(ACanvas, true, false);
      break;
    case dbsNone:
      break;
    case dbsSimpleFill:
      cxEditFillRect(ACanvas, ARect, BackgroundColor());
      break;
    case dbsSimpleParent:
      if (FEdit) cxDrawTransparentControlBackground(FEdit, ACanvas, ARect);
      break;
    case dbsThemeParent:
      if (FEdit) cxDrawThemeParentBackground(FEdit, ACanvas, ARect);
      break;
  }
}

bool TcxCustomEditViewInfo::DrawBackground(TcxCanvas* ACanvas) {
  if (!IsInplace || !FOnDrawBackground) return false;
  bool Handled = false;
  FOnDrawBackground(this, ACanvas, Handled);
  return Handled;
}

bool TcxCustomEditViewInfo::DrawBackground(TcxCanvas* ACanvas, const TPoint& APos) {
  auto Origin = ShiftedOrigin(ACanvas, APos);
  return DrawBackground(ACanvas);
}

void TcxCustomEditViewInfo::DrawNativeStyleEditBackground(TcxCanvas* ACanvas, bool ADrawBackground,
                                                          HBRUSH ABackgroundBrush) {
  TRect Content = Bounds;
  TcxEditBackgroundPaintingStyle Style = GetBackgroundPaintingStyle();
  bool Bordered = !IsInplace && BorderStyle != ebsNone;
  if (Bordered) {
    TdxThemedObjectType Type;
    Integer Part;
    CalculateNativeInfo(Type, Part);
    HTHEME Theme = OpenTheme(Type);
    Content = GetNativeContentRect(ACanvas, Theme, Part);
    if (Theme) {
      TRect Frame = FEditorBounds;
      if (IsWinVistaOrLater && Style == bpsComboListEdit) InflateRect(&Frame, 1, 1);
      ACanvas->SaveClipRegion();
      auto Restore = Finally([ACanvas] { ACanvas->RestoreClipRegion(); });
      if (!cxRectIsEmpty(Content)) ACanvas->ExcludeClipRect(Content);
      dxUxTheme::DrawThemeBackground(Theme, ACanvas->Handle(), Part, NativeState, &Frame, nullptr);
    }
  }
  if (Transparent) return;
  if (Bordered && !ADrawBackground) {
    if (Style != bpsComboListEdit) InternalFillRect(ACanvas, Content, BorderRect, ABackgroundBrush);
  } else {
    cxEditFillRect(ACanvas->Handle(), Content, ABackgroundBrush);
  }
}

bool TcxCustomEditViewInfo::IsButtonsBackgroundPartiallyTransparent() {
  return !ButtonsInfo.empty() && ButtonsInfo[0]->Data.BackgroundPartiallyTransparent;
}

// ---------------------------------------------------------------------------
// Background and border of an editor

namespace {

void FillButtonsBehind(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo, HBRUSH ABrush) {
  if (AViewInfo->Transparent || !AViewInfo->IsButtonsBackgroundPartiallyTransparent()) return;
  for (TcxEditButtonViewInfo* Button : AViewInfo->ButtonsInfo)
    cxEditFillRect(ACanvas->Handle(), Button->Bounds, ABrush);
}

void DrawUsualEditBackground(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                             bool ACanDrawBackground, HBRUSH ABrush) {
  TcxCustomEditViewInfo& V = *AViewInfo;
  TcxCustomLookAndFeelPainter* Painter =
      V.Painter ? V.Painter : cxLookAndFeelPaintersManager()->GetPainter(lfsStandard);
  Integer Width = Painter->GetContainerBorderWidth(ContainerBorderStyle(V.BorderStyle));
  TRect R = V.BorderRect;
  R.left -= Width;
  R.top -= Width;
  if (V.Edges.Contains(bRight)) R.right += Width;
  if (V.Edges.Contains(bBottom)) R.bottom += Width;
  if (V.Shadow) DrawContainerShadow(ACanvas, R);
  if (!V.Edges.Contains(bRight)) R.right += Width;
  if (!V.Edges.Contains(bBottom)) R.bottom += Width;
  if (V.BorderStyle != ebsNone)
    Painter->DrawContainerBorder(ACanvas, R, ContainerBorderStyle(V.BorderStyle), Width,
                                 V.BorderColor, V.Edges);
  if (V.IsInplace) {
    if (V.Transparent) return;
    if (ACanDrawBackground) {
      cxEditFillRect(ACanvas->Handle(), V.Bounds, ABrush);
      return;
    }
    if (V.HasContentOffsets) InternalFillRect(ACanvas, V.Bounds, V.BorderRect, ABrush);
  } else if (ACanDrawBackground && !V.Transparent) {
    cxEditFillRect(ACanvas->Handle(), V.BorderRect, ABrush);
    return;
  }
  FillButtonsBehind(ACanvas, AViewInfo, ABrush);
}

}  // namespace

void DrawCustomEditBackground(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo,
                              bool ACanDrawBackground) {
  ACanvas->SaveDC();
  auto Restore = Finally([ACanvas] { ACanvas->RestoreDC(); });
  if (!AViewInfo->IsButtonsBackgroundPartiallyTransparent())
    for (TcxEditButtonViewInfo* Button : AViewInfo->ButtonsInfo)
      ACanvas->ExcludeClipRect(Button->VisibleBounds);
  HBRUSH Brush = GetSolidBrush(AViewInfo->BackgroundColor());
  if (AViewInfo->DrawBackground(ACanvas)) return;
  if (AViewInfo->NativeStyle)
    AViewInfo->DrawNativeStyleEditBackground(ACanvas, ACanDrawBackground, Brush);
  else
    DrawUsualEditBackground(ACanvas, AViewInfo, ACanDrawBackground, Brush);
}

// ---------------------------------------------------------------------------
// The editor as the owner of its view info

TcxCustomEditViewData* TcxCustomEdit::GetViewData(bool& AIsViewDataCreated) {
  AIsViewDataCreated = true;
  return CreateViewData();
}

void TcxCustomEdit::InvalidateRect(const TRect& R, bool AEraseBackground) {
  TcxCustomEditContainer::InvalidateRect(R, AEraseBackground);
}
