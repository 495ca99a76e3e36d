// The editor's view data: from properties, style and mouse state to a view
// info (states, border, buttons and their states, error icon, colours), and
// the sizes an editor needs for a value.
#include "cxEdit.h"

#include <algorithm>

#include "dxThemeManager.h"
#include "dxUxTheme.h"

IMPLEMENT_CLASS(TcxCustomEditViewData)

const TRect cxEditContentDefaultOffsets[2] = {{1, 1, 1, 3}, {1, 1, 1, 1}};

namespace {

constexpr TcxEditButtonStyle AButtonStyles[ebsOffice11 + 1] = {
    btsSimple, btsHotFlat, bts3D, btsFlat, bts3D, btsUltraFlat, btsOffice11};
constexpr TcxEditButtonStyle AInplaceButtonStyles[lfOffice11 + 1] = {btsFlat, bts3D, btsUltraFlat,
                                                                     btsOffice11};
constexpr TcxEditPopupBorderStyle ADefaultPopupBorderStyleMap[ebsOffice11 + 1] = {
    epbsFlat, epbsSingle, epbsSingle, epbsFlat, epbsSingle, epbsSingle, epbsSingle};
constexpr TcxEditPopupBorderStyle AInplaceDefaultPopupBorderStyleMap[lfOffice11 + 1] = {
    epbsFlat, epbsFrame3D, epbsSingle, epbsSingle};
// Combo-box drop-down button part by left alignment.
constexpr Integer AlignmentMap[2] = {6, 7};
// Theme state of a button by its state; the combo-box and push-button
// parts number their states alike.
constexpr Integer ButtonStateMap[ebsSelected + 1] = {4, 1, 3, 2};
// The edit part the fill colour is read from.
Integer EditNativePart() { return IsWinVistaOrLater ? 3 : 1; }

TcxEditBorderStyle CorrectBorderStyle(TcxEditBorderStyle AStyle) {
  return (AStyle == ebsUltraFlat || AStyle == ebsOffice11) ? ebsSingle : AStyle;
}

// The margins of the theme's content rectangle of a part inside 100 x 100;
// false without a theme.
bool GetThemeContentMargins(TdxThemedObjectType AType, Integer APart, Integer AState,
                            TcxCanvas* ACanvas, TRect& AMargins) {
  HTHEME ATheme = OpenTheme(AType);
  if (!ATheme) return false;
  RECT ABounds{0, 0, 100, 100}, AContent = ABounds;
  if (FAILED(dxUxTheme::GetThemeBackgroundContentRect(ATheme, ACanvas ? ACanvas->Handle() : nullptr,
                                                      APart, AState, &ABounds, &AContent)))
    return false;
  AMargins = TRect{AContent.left, AContent.top, 100 - AContent.right, 100 - AContent.bottom};
  return true;
}

// A canvas to measure with when the caller has none.
TcxCanvas* MeasureCanvas(TcxCanvas* ACanvas) { return ACanvas ? ACanvas : cxScreenCanvas(); }

}  // namespace

Integer GetNativeInnerTextEditContentHeightCorrection(TcxCustomEditProperties* AProperties,
                                                      bool AIsInplace) {
  return AIsInplace && AProperties->GetButtons()->GetVisibleCount() > 0 ? 1 : 0;
}

bool IsShadowDrawingNeeded(TcxCustomEditViewData* AViewData) {
  return AViewData->GetStyle()->GetShadow() && !AViewData->NativeStyle;
}

// ---------------------------------------------------------------------------
// Creation and cache

TcxCustomEditViewData::TcxCustomEditViewData(TcxCustomEditProperties* AProperties,
                                             TcxCustomEditStyle* AStyle, bool AIsInplace)
    : FIsInplace(AIsInplace),
      FScaleFactor(MakeOwned<TdxScaleFactor>()),
      FProperties(AProperties),
      FStyle(AStyle) {
  FScaleFactor->Assign(AProperties->GetScaleFactor());
}

TcxCustomEditViewData::~TcxCustomEditViewData() = default;

void TcxCustomEditViewData::AfterConstruction() {
  inherited::AfterConstruction();
  Initialize();
  SelTextColor = clDefault;
  SelBackgroundColor = clDefault;
  InitCacheData();
}

void TcxCustomEditViewData::Initialize() {
  ContentOffset = cxEmptyRect;
  Enabled = true;
}

void TcxCustomEditViewData::InitCacheData() {
  ButtonVisibleCount = FProperties->GetButtons()->GetVisibleCount();
  IsValueSource = FProperties->GetEditValueSource(false) == evsValue;
  HorzAlignment = FProperties->GetAlignment()->GetHorz();
  VertAlignment = FProperties->GetAlignment()->GetVert();
  NativeStyle = IsNativeStyle(FStyle->GetLookAndFeel());
  InitEditContentParams(EditContentParams);
}

bool TcxCustomEditViewData::IsNativeStyle(TcxLookAndFeel* ALookAndFeel) {
  return AreVisualStylesMustBeUsed(ALookAndFeel->GetNativeStyle(), totEdit);
}

TRect TcxCustomEditViewData::GetEditContentDefaultOffsets() {
  return cxEditContentDefaultOffsets[FIsInplace ? 1 : 0];
}

void TcxCustomEditViewData::InitEditContentParams(TcxEditContentParams& AParams) {
  AParams.Offsets = GetEditContentDefaultOffsets();
  AParams.SizeCorrection.cx = 3 - (AParams.Offsets.left + AParams.Offsets.right);
  AParams.SizeCorrection.cy =
      NativeStyle ? GetNativeInnerTextEditContentHeightCorrection(FProperties, FIsInplace) : 0;
  AParams.ExternalBorderBounds = cxEmptyRect;
  AParams.Options = TcxEditContentOptions{ecoOffsetButtonContent};
}

TcxEditPaintOptions TcxCustomEditViewData::CalculatePaintOptions() {
  TcxEditPaintOptions AOptions = PaintOptions;
  if (!cxRectIsEmpty(EditContentParams.ExternalBorderBounds))
    AOptions.Include(epoHasExternalBorder);
  if (EditContentParams.Options.Contains(ecoShowFocusRectWhenInplace))
    AOptions.Include(epoShowFocusRectWhenInplace);
  return AOptions;
}

String TcxCustomEditViewData::EditValueToDisplayText(const Variant& AEditValue) {
  String AText = InternalEditValueToDisplayText(AEditValue);
  if (FOnGetDisplayText) FOnGetDisplayText(this, AText);
  return AText;
}

// ---------------------------------------------------------------------------
// Small answers

TcxLookAndFeel* TcxCustomEditViewData::GetLookAndFeel() { return FStyle->GetLookAndFeel(); }

TcxCustomLookAndFeelPainter* TcxCustomEditViewData::GetSkinPainter() {
  return GetLookAndFeel()->SkinPainter();
}

Integer TcxCustomEditViewData::GetCaptureButtonVisibleIndex() {
  return FEdit ? FEdit->CaptureButtonVisibleIndex() : -1;
}

bool TcxCustomEditViewData::InternalFocused() { return FEdit ? FEdit->Focused() : Focused; }

bool TcxCustomEditViewData::HasShadow() { return IsShadowDrawingNeeded(this); }

TcxEditButtonStyle TcxCustomEditViewData::GetButtonsStyle() {
  const TcxEditButtonStyle AStyle = FStyle->GetButtonStyle();
  return AStyle == btsDefault ? GetDefaultButtonStyle() : AStyle;
}

TcxEditButtonStyle TcxCustomEditViewData::GetDefaultButtonStyle() {
  const TcxEditBorderStyle ABorderStyle = FStyle->GetEditBorderStyle();
  if (FIsInplace || (ABorderStyle == ebsNone && !FStyle->GetHotTrack()))
    return AInplaceButtonStyles[GetLookAndFeel()->GetKind()];
  return AButtonStyles[ABorderStyle];
}

TcxEditPopupBorderStyle TcxCustomEditViewData::GetPopupBorderStyle() {
  TcxEditPopupBorderStyle AStyle = FStyle->GetPopupBorderStyle();
  if (AStyle != epbsDefault || !FEdit) return AStyle;
  if (FIsInplace) return AInplaceDefaultPopupBorderStyleMap[GetLookAndFeel()->GetKind()];
  const TcxEditBorderStyle ABorderStyle = FStyle->GetEditBorderStyle();
  if (ABorderStyle == ebsNone && FProperties->GetButtons()->Count() > 0)
    return AInplaceDefaultPopupBorderStyleMap[FEdit->GetEditStyle()->GetLookAndFeel()->GetKind()];
  return ADefaultPopupBorderStyleMap[ABorderStyle];
}

Integer TcxCustomEditViewData::GetEditNativeState(TcxCustomEditViewInfo*) {
  if (!Enabled) return 4;
  if (InternalFocused()) return 3;
  if (ContainerState.Contains(csHotTrack)) return 2;
  if (FProperties->GetReadOnly()) return 6;
  return 1;
}

bool TcxCustomEditViewData::NeedShowErrorIcon(TcxEditValidateInfo* AErrorData) {
  return AErrorData && AErrorData->IsError() &&
         FProperties->GetValidationOptions().Contains(evoShowErrorIcon) &&
         !AErrorData->ErrorIcon()->Empty();
}

Integer TcxCustomEditViewData::GetErrorIconWidth(TcxEditValidateInfo* AErrorData) {
  if (!NeedShowErrorIcon(AErrorData)) return 0;
  const Integer AGap = FScaleFactor->Assigned() ? FScaleFactor->Apply(3) : 3;
  return dxGetImageSize(AErrorData->ErrorIcon(), FScaleFactor.get()).cx + AGap;
}

// ---------------------------------------------------------------------------
// Borders and extents

TcxEditBorderStyle TcxCustomEditViewData::GetBorderStyle() {
  return FIsInplace ? ebsNone : CorrectBorderStyle(FStyle->GetEditBorderStyle());
}

TRect TcxCustomEditViewData::GetBorderExtentByEdges(Integer ABorderWidth) {
  const TcxBorders E = FStyle->GetEdges();
  return TRect{E.Contains(bLeft) ? ABorderWidth : 0, E.Contains(bTop) ? ABorderWidth : 0,
               E.Contains(bRight) ? ABorderWidth : 0, E.Contains(bBottom) ? ABorderWidth : 0};
}

TRect TcxCustomEditViewData::GetBorderExtentByPainter() {
  const bool ATransparentBorder = FStyle->GetTransparentBorder();
  if (!FStyle->HasBorder() || (FStyle->GetEditBorderStyle() == ebsNone && !ATransparentBorder))
    return cxEmptyRect;
  const TcxContainerBorderStyle ABorderStyle =
      ATransparentBorder ? cbsThick : static_cast<TcxContainerBorderStyle>(GetBorderStyle());
  return GetBorderExtentByEdges(GetSkinPainter()->GetContainerBorderWidth(ABorderStyle));
}

TRect TcxCustomEditViewData::GetBorderExtent() {
  if (FIsInplace) return ContentOffset;
  TRect R;
  if (GetSkinPainter())
    R = GetBorderExtentByPainter();
  else if (FStyle->GetTransparentBorder())
    R = cxContainerDefaultBorderExtent;
  else if (!FStyle->HasBorder() ||
           (NativeStyle && FStyle->GetEditBaseStyle()->GetEditBorderStyle() == ebsNone) ||
           (FEdit && FEdit->IsTransparent()))
    R = cxEmptyRect;
  else if (NativeStyle)
    R = cxContainerDefaultBorderExtent;
  else
    R = GetBorderExtentByEdges(
        GetContainerBorderWidth(static_cast<TcxContainerBorderStyle>(GetBorderStyle())));
  // The shadow keeps its width at every scale.
  if (HasShadow()) {
    R.right += cxContainerShadowWidth;
    R.bottom += cxContainerShadowWidth;
  }
  return R;
}

TRect TcxCustomEditViewData::GetButtonsExtent(TcxCanvas* ACanvas) {
  if (FIsInplace) return ContentOffset;
  if (!NativeStyle) return GetBorderExtent();
  const bool ABaseBorder = FStyle->GetEditBaseStyle()->GetEditBorderStyle() != ebsNone;
  if (!FStyle->GetTransparentBorder() && !ABaseBorder) return cxEmptyRect;
  TRect AMargins;
  if (ABaseBorder && GetThemeContentMargins(totEdit, 1, 1, ACanvas, AMargins)) return AMargins;
  return cxContainerDefaultBorderExtent;
}

TColor TcxCustomEditViewData::GetBorderColorByPainter(bool AIsHighlight) {
  return FEdit && !FIsInplace ? FEdit->GetBorderColorByPainter(AIsHighlight) : clDefault;
}

TColor TcxCustomEditViewData::GetBorderColor() {
  const bool AHighlighted = ContainerState.Contains(csActive) ||
                            (ContainerState.Contains(csHotTrack) && FStyle->GetHotTrack());
  const TColor APainterColor = GetBorderColorByPainter(AHighlighted);
  if (APainterColor != clDefault) return APainterColor;
  const TcxEditBorderStyle ABorderStyle = FStyle->GetEditBorderStyle();
  if (ABorderStyle != ebsUltraFlat && ABorderStyle != ebsOffice11) return FStyle->GetBorderColor();
  return GetContainerBorderColor(AHighlighted || (IsDesigning && Enabled),
                                 ABorderStyle == ebsOffice11);
}

TRect TcxCustomEditViewData::GetClientExtent(TcxCanvas* ACanvas, TcxCustomEditViewInfo* AViewInfo) {
  TRect R = GetBorderExtent();
  if (FProperties->GetButtonsViewStyle() != bvsNormal && AViewInfo->ButtonCount() > 0) {
    const TRect AButtonsExtent = GetButtonsExtent(ACanvas);
    R.left = AButtonsExtent.left;
    R.right = AButtonsExtent.right;
  }
  if (!IsTouchScrollUIMode) {
    if (HScrollBar && HScrollBar->GetVisible()) R.bottom += HScrollBar->GetHeight();
    if (VScrollBar && VScrollBar->GetVisible()) {
      if (UseRightToLeftScrollBar)
        R.left += VScrollBar->GetWidth();
      else
        R.right += VScrollBar->GetWidth();
    }
  }
  const TRect& AEditorBounds = AViewInfo->EditorBounds();
  for (TcxEditButtonViewInfo* B : AViewInfo->ButtonsInfo) {
    if (B->Data.LeftAlignment)
      R.left = std::max(R.left, B->Bounds.right - AEditorBounds.left);
    else
      R.right = std::max(R.right, AEditorBounds.right - B->Bounds.left);
  }
  return R;
}

// ---------------------------------------------------------------------------
// Sizes

TSize TcxCustomEditViewData::GetEditContentSizeCorrection() {
  const TcxEditContentParams& P = EditContentParams;
  return TSize{P.Offsets.left + P.Offsets.right + P.SizeCorrection.cx,
               P.Offsets.top + P.Offsets.bottom + P.SizeCorrection.cy};
}

TSize TcxCustomEditViewData::GetEditContentSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                                const TcxEditSizeProperties& AEditSizeProperties,
                                                TcxEditValidateInfo* AErrorData) {
  TSize ASize;
  if (FProperties->GetButtonsViewStyle() != bvsNormal) {
    TcxCanvas* C = MeasureCanvas(ACanvas);
    C->SetFont(FStyle->GetVisibleFont());
    ASize = TSize{0, GetEditContentSizeCorrection().cy + C->TextHeight(L"Wg")};
  } else {
    ASize = InternalGetEditContentSize(ACanvas, AEditValue, AEditSizeProperties);
  }
  if (AErrorData) ASize.cx += GetErrorIconWidth(AErrorData);
  if (SupportsTouchMode) dxAdjustToTouchableSize(ASize, FScaleFactor.get());
  return ASize;
}

TSize TcxCustomEditViewData::GetEditingContentSize(
    TcxCanvas* ACanvas, const Variant& AEditValue,
    const TcxEditSizeProperties& AEditSizeProperties) {
  return GetEditContentSize(ACanvas, AEditValue, AEditSizeProperties, nullptr);
}

TSize TcxCustomEditViewData::GetEditConstantPartSize(
    TcxCanvas* ACanvas, const TcxEditSizeProperties& AEditSizeProperties, TSize& MinContentSize,
    TcxCustomEditViewInfo* AViewInfo) {
  TOwned<TcxContainerViewInfo> ATemporary;
  if (!AViewInfo) {
    ATemporary.reset(FProperties->GetViewInfoClass()());
    AViewInfo = dynamic_cast<TcxCustomEditViewInfo*>(ATemporary.get());
    if (!AViewInfo) throw EcxEditError(L"The editor's view info class makes no editor view info");
    Calculate(ACanvas, TRect{0, 0, 32000, 32000}, TPoint{-1, -1}, cxmbNone, TShiftState(),
              AViewInfo, false);
  }
  return InternalGetEditConstantPartSize(ACanvas, FIsInplace, AEditSizeProperties, MinContentSize,
                                         AViewInfo);
}

TSize TcxCustomEditViewData::InternalGetEditConstantPartSize(TcxCanvas* ACanvas, bool AIsInplace,
                                                             const TcxEditSizeProperties&,
                                                             TSize& MinContentSize,
                                                             TcxCustomEditViewInfo* AViewInfo) {
  MinContentSize = TSize{0, 0};
  TSize AConstant;
  const TRect& B = AViewInfo->Bounds;
  const TRect& C = AViewInfo->ClientRect;
  if (cxRectIsEmpty(B) || cxRectIsEmpty(C)) {
    const TRect E = GetClientExtent(ACanvas, AViewInfo);
    AConstant = TSize{E.left + E.right, E.top + E.bottom};
  } else {
    AConstant = TSize{RectWidth(B) - RectWidth(C), RectHeight(B) - RectHeight(C)};
  }
  Integer AButtonContentHeight = 0;
  for (TcxEditButtonViewInfo* V : AViewInfo->ButtonsInfo) {
    Integer AHeight = 0;
    if (V->Data.Kind == bkGlyph) {
      AHeight = dxGetImageSize(V->Glyph, V->Images, V->ImageIndex, FScaleFactor.get()).cy;
    } else if (V->Data.Kind == bkText && AIsInplace) {
      TcxCanvas* AC = MeasureCanvas(ACanvas);
      AC->SetFont(FStyle->GetVisibleFont());
      AHeight = AC->TextHeight(V->Data.VisibleCaption);
    }
    AButtonContentHeight = std::max(AButtonContentHeight, AHeight);
  }
  if (AButtonContentHeight > 0) {
    if (!GetSkinPainter()) {
      const TRect AExtent = GetButtonsExtent(ACanvas);
      AButtonContentHeight += AExtent.top + AExtent.bottom;
    }
    AButtonContentHeight +=
        GetEditButtonsContentVerticalOffset(ACanvas, GetButtonsStyle(), NativeStyle);
    MinContentSize.cy = std::max<LONG>(AButtonContentHeight - AConstant.cy, 0);
  }
  return AConstant;
}

TSize TcxCustomEditViewData::InternalGetEditSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                                 const TcxEditSizeProperties& AEditSizeProperties,
                                                 TcxCustomEditViewInfo* AViewInfo, bool AEditing) {
  TSize AMinContentSize;
  const TSize AConstant =
      GetEditConstantPartSize(ACanvas, AEditSizeProperties, AMinContentSize, AViewInfo);
  TcxEditSizeProperties AContentProperties = AEditSizeProperties;
  if (AContentProperties.Height >= 0)
    AContentProperties.Height = std::max<Integer>(AContentProperties.Height - AConstant.cy, 0);
  if (AContentProperties.Width >= 0)
    AContentProperties.Width = std::max<Integer>(AContentProperties.Width - AConstant.cx, 0);
  TSize AContent = AEditing && FProperties->GetSupportedOperations().Contains(esoEditingAutoHeight)
                       ? GetEditingContentSize(ACanvas, AEditValue, AContentProperties)
                       : GetEditContentSize(ACanvas, AEditValue, AContentProperties, nullptr);
  AContent.cx = std::max(AContent.cx, AMinContentSize.cx);
  AContent.cy = std::max(AContent.cy, AMinContentSize.cy);
  TSize AResult{AConstant.cx + AContent.cx, AConstant.cy + AContent.cy};
  if (FEdit && !FIsInplace) {
    const TSizeConstraints* L = FEdit->Constraints();
    if (L->MaxWidth() > 0) AResult.cx = std::min<LONG>(AResult.cx, L->MaxWidth());
    if (L->MaxHeight() > 0) AResult.cy = std::min<LONG>(AResult.cy, L->MaxHeight());
    AResult.cx = std::max<LONG>(AResult.cx, L->MinWidth());
    AResult.cy = std::max<LONG>(AResult.cy, L->MinHeight());
  }
  return AResult;
}

TSize TcxCustomEditViewData::GetEditSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                         const TcxEditSizeProperties& AEditSizeProperties,
                                         TcxCustomEditViewInfo* AViewInfo) {
  return InternalGetEditSize(ACanvas, AEditValue, AEditSizeProperties, AViewInfo, false);
}

TSize TcxCustomEditViewData::GetEditingSize(TcxCanvas* ACanvas, const Variant& AEditValue,
                                            const TcxEditSizeProperties& AEditSizeProperties,
                                            TcxCustomEditViewInfo* AViewInfo) {
  return InternalGetEditSize(ACanvas, AEditValue, AEditSizeProperties, AViewInfo, true);
}

// ---------------------------------------------------------------------------
// Calculation

TcxContainerState TcxCustomEditViewData::GetContainerState(const TRect& ABounds, const TPoint& P,
                                                           TcxMouseButton, TShiftState Shift,
                                                           bool) {
  if (!Enabled) return TcxContainerState{csDisabled};
  if (IsDesigning) return TcxContainerState{csNormal};
  TcxContainerState AState{InternalFocused() ? csActive : csNormal};
  const TRect AVisibleBounds =
      FEdit ? FEdit->GetVisibleBounds() : cxRectContent(ABounds, ContentOffset);
  const bool AHoldsCapture = FEdit && FEdit->HandleAllocated() && GetCapture() == FEdit->Handle();
  if (cxRectPtIn(AVisibleBounds, P) && (cxShiftStateMoveOnly(Shift) || AHoldsCapture))
    AState.Include(csHotTrack);
  return AState;
}

void TcxCustomEditViewData::CalculateContainerState(const TRect& ABounds, const TPoint& P,
                                                    TcxMouseButton Button, TShiftState Shift,
                                                    TcxCustomEditViewInfo* AViewInfo,
                                                    bool AIsMouseEvent) {
  ContainerState = GetContainerState(ABounds, P, Button, Shift, AIsMouseEvent);
  Selected = ContainerState.Contains(csActive) || ContainerState.Contains(csHotTrack);
  if (IsDesigning || !FStyle->GetHotTrack() || FIsInplace)
    AViewInfo->HotState = chsNoHotTrack;
  else
    AViewInfo->HotState = Selected ? chsSelected : chsNormal;
  if (FEdit) FStyle = FEdit->GetEditStyleForState(ContainerState);
  AViewInfo->BorderStyle = FIsInplace || !NativeStyle
                               ? GetBorderStyle()
                               : FStyle->GetEditBaseStyle()->GetEditBorderStyle();
  AViewInfo->TcxContainerViewInfo::BorderStyle =
      static_cast<TcxContainerBorderStyle>(AViewInfo->BorderStyle);
}

void TcxCustomEditViewData::Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                      TcxMouseButton Button, TShiftState Shift,
                                      TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  // Only the mouse buttons and the double click take part.
  Shift = Shift - TShiftState{ssShift, ssAlt, ssCtrl, ssTouch, ssPen};
  ACanvas = MeasureCanvas(ACanvas);
  const Integer APrevBorderWidth = GetContainerBorderWidth(AViewInfo->GetContainerBorderStyle());
  CalculateContainerState(ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);
  // The visible bounds, and so the hot state, depend on the border width.
  if (!FIsInplace && !NativeStyle &&
      GetContainerBorderWidth(AViewInfo->GetContainerBorderStyle()) < APrevBorderWidth)
    CalculateContainerState(ABounds, P, Button, Shift, AViewInfo, AIsMouseEvent);

  AViewInfo->ContainerState = ContainerState;
  AViewInfo->EditProperties = FProperties;
  AViewInfo->FScaleFactor->Assign(FScaleFactor.get());
  AViewInfo->UseRightToLeftAlignment = UseRightToLeftAlignment;
  const TcxEditButtonsViewStyle AButtonsViewStyle = FProperties->GetButtonsViewStyle();
  ButtonsOnlyStyle = FIsInplace ? ABounds.right != 32000 && AButtonsViewStyle != bvsNormal
                                : AButtonsViewStyle == bvsButtonsOnly;

  AViewInfo->UpdateStyle(FStyle);
  AViewInfo->Bounds = ABounds;
  AViewInfo->Enabled = Enabled;
  AViewInfo->Focused = InternalFocused();
  AViewInfo->HasBackground = FEdit && FEdit->HasBackground();
  AViewInfo->HasInnerEdit = InnerEdit && InnerEdit->GetControl()->Visible();
  AViewInfo->IsDBEditPaintCopyDrawing = false;
  AViewInfo->IsContainerInnerControl = dynamic_cast<IcxContainerInnerControl*>(FEdit) != nullptr;
  AViewInfo->IsDesigning = IsDesigning;
  AViewInfo->IsInplace = FIsInplace;
  AViewInfo->IsSelected = IsSelected;
  AViewInfo->PaintOptions = CalculatePaintOptions();
  AViewInfo->Edges = FStyle->GetEdges();

  CalculateErrorData(AViewInfo);
  AViewInfo->Font = FStyle->DirectAccessMode() ? FStyle->GetFont() : FStyle->GetVisibleFont();
  AViewInfo->Shadow = !FIsInplace && HasShadow();
  AViewInfo->WindowHandle = WindowHandle;

  CalculateViewInfo(AViewInfo, AIsMouseEvent);
  CalculateButtonsViewInfo(ACanvas, AViewInfo->EditorBounds(), P, Button, Shift, AViewInfo,
                           AIsMouseEvent);
  AViewInfo->ClientRect =
      cxRectContent(AViewInfo->EditorBounds(), GetClientExtent(ACanvas, AViewInfo));
  AViewInfo->InnerEditRect =
      InnerEdit ? InnerEdit->GetControl()->BoundsRect() : AViewInfo->ClientRect;
  AViewInfo->PopupBorderStyle = GetPopupBorderStyle();
  CheckStartButtonsFading(AViewInfo);
}

void TcxCustomEditViewData::CalculateErrorData(TcxCustomEditViewInfo* AViewInfo) {
  FValidationErrorIconAlignment = FProperties->GetValidationErrorIconAlignment();
  if (UseRightToLeftAlignment)
    FValidationErrorIconAlignment =
        FValidationErrorIconAlignment == taLeftJustify ? taRightJustify : taLeftJustify;
  TcxEditValidateInfo* AErrorData = AViewInfo->ErrorData();
  if (!FIsInplace && FEdit) {
    AErrorData->SetErrorType(FEdit->ValidationError() ? eetError : eetNone);
    AErrorData->SetErrorText(FEdit->ValidationErrorText());
  }
  AViewInfo->FNeedShowErrorIcon = NeedShowErrorIcon(AErrorData);
}

void TcxCustomEditViewData::CalculateEx(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P,
                                        TcxMouseButton Button, TShiftState Shift,
                                        TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) {
  AViewInfo->Left = ABounds.left;
  AViewInfo->Top = ABounds.top;
  const TRect R = cxRectOffset(ABounds, -ABounds.left, -ABounds.top);
  const TPoint AP{P.x - ABounds.left, P.y - ABounds.top};
  Calculate(ACanvas, R, AP, Button, Shift, AViewInfo, AIsMouseEvent);
}

void TcxCustomEditViewData::CalculateViewInfo(TcxCustomEditViewInfo* AViewInfo, bool) {
  AViewInfo->SetCalculated(true);
  AViewInfo->NativeStyle = NativeStyle;
  AViewInfo->NativeState = NativeStyle ? GetEditNativeState(AViewInfo) : 0;
  AViewInfo->ThemedObjectType = totEdit;
  AViewInfo->NativePart = NativeStyle ? EditNativePart() : 0;
  AViewInfo->Transparent = FEdit && FEdit->IsTransparent();
  AViewInfo->CalculateEditorBounds();
  CalculateErrorBounds(AViewInfo);
  AViewInfo->BorderExtent = GetBorderExtent();
  AViewInfo->BorderRect = cxRectContent(AViewInfo->EditorBounds(), AViewInfo->BorderExtent);
  AViewInfo->BorderWidth = GetContainerBorderWidth(AViewInfo->GetContainerBorderStyle());
  AViewInfo->ShadowRect = AViewInfo->BorderRect;
  AViewInfo->HasContentOffsets = !(ContentOffset == cxNullRect);
  if (!FIsInplace) AViewInfo->BorderColor = GetBorderColor();
  TColor AFillColor, ATextColor;
  GetColorSettings(AViewInfo, AFillColor, ATextColor);
  AViewInfo->SetBackgroundColor(AFillColor);
  AViewInfo->TextColor = ATextColor;
}

void TcxCustomEditViewData::CalculateErrorBounds(TcxCustomEditViewInfo* AViewInfo) {
  if (!AViewInfo->FNeedShowErrorIcon) {
    AViewInfo->FErrorBounds = cxNullRect;
    return;
  }
  TRect& AError = AViewInfo->FErrorBounds;
  TRect& AEditor = AViewInfo->FEditorBounds;
  AError = AEditor;
  if (!AViewInfo->GetEdit()) ++AError.left;
  const Integer AWidth = GetErrorIconWidth(AViewInfo->ErrorData());
  if (FValidationErrorIconAlignment == taRightJustify) {
    AError.left = AError.right - AWidth;
    AEditor.right = AError.left;
  } else {
    AError.right = AError.left + AWidth;
    AEditor.left = AError.right;
  }
}

void TcxCustomEditViewData::GetColorSettings(TcxCustomEditViewInfo* AViewInfo, TColor& AFillColor,
                                             TColor& ATextColor) {
  AViewInfo->GetColorSettingsByPainter(AFillColor, ATextColor);
  if (ATextColor == clDefault) ATextColor = FStyle->GetTextColor();
  if (FEdit && FEdit->DefaultParentColor()) {
    AFillColor = FStyle->GetColor();
    return;
  }
  if (AFillColor != clDefault) return;
  if (NativeStyle && !Enabled && !FStyle->IsValueAssigned(csvColor)) {
    AFillColor = cxContainerThemeFillColor(totEdit, EditNativePart(), AViewInfo->NativeState);
    if (AFillColor != clDefault) return;
  }
  AFillColor = FStyle->GetColor();
}

// ---------------------------------------------------------------------------
// Buttons

void TcxCustomEditViewData::CalculateButtonsViewInfo(TcxCanvas* ACanvas, const TRect& ABounds,
                                                     const TPoint& P, TcxMouseButton Button,
                                                     TShiftState Shift,
                                                     TcxCustomEditViewInfo* AViewInfo,
                                                     bool AIsMouseEvent) {
  const TcxEditButtonTransparency ATransparency = FStyle->GetButtonTransparency();
  const bool AActive = ContainerState.Contains(csActive);
  const bool AHot = ContainerState.Contains(csHotTrack);
  AViewInfo->HasTextButtons = false;
  AViewInfo->IsButtonReallyPressed = false;
  const Integer APrevPressedButton = AIsMouseEvent ? AViewInfo->PressedButton : -1;
  AViewInfo->PressedButton = -1;
  AViewInfo->SelectedButton = -1;
  if (ButtonVisibleCount == 0 || (!AActive && ATransparency == ebtHideInactive) ||
      (!AActive && !AHot && ATransparency == ebtHideUnselected)) {
    AViewInfo->SetButtonCount(0);
    return;
  }
  AViewInfo->SetButtonCount(ButtonVisibleCount);
  FLeftSideLeftmostButtonIndex = FLeftSideRightmostButtonIndex = -1;
  FRightSideLeftmostButtonIndex = FRightSideRightmostButtonIndex = -1;

  TRect AButtonsRect = !FIsInplace && NativeStyle && IsComboBoxStyle() && IsWinVistaOrLater
                           ? ABounds
                           : cxRectContent(ABounds, GetButtonsExtent(ACanvas));
  const Integer APrevButtonsWidth = std::max<Integer>(RectWidth(AButtonsRect), 0);
  DoCalculateButtonViewInfos(ACanvas, AViewInfo, AButtonsRect);
  CheckButtonsOnly(AViewInfo, APrevButtonsWidth, RectWidth(AButtonsRect));
  CalculateButtonStates(AViewInfo, P, Button, Shift, APrevPressedButton, AIsMouseEvent);
  CorrectButtonBounds(AViewInfo);
}

bool TcxCustomEditViewData::IsComboBoxStyle() {
  TcxEditButtons* AButtons = FProperties->GetButtons();
  return AButtons->Count() == 1 && AButtons->Items(0)->GetKind() == bkDown;
}

void TcxCustomEditViewData::DoCalculateButtonViewInfos(TcxCanvas* ACanvas,
                                                       TcxCustomEditViewInfo* AViewInfo,
                                                       TRect& AButtonsRect) {
  TcxEditButtons* AButtons = FProperties->GetButtons();
  Integer AVisibleIndex = AViewInfo->ButtonCount() - 1;
  for (Integer I = AButtons->Count() - 1; I >= 0 && AVisibleIndex >= 0; --I) {
    TcxEditButton* AButton = AButtons->Items(I);
    if (!AButton->GetVisible()) continue;
    const bool AIsTextButton = AButton->GetKind() == bkText;
    if (AIsTextButton && !AViewInfo->HasTextButtons) {
      ACanvas->SetFont(FStyle->GetVisibleFont());
      AViewInfo->PrepareCanvasFont(ACanvas);
      AViewInfo->HasTextButtons = true;
    }
    TcxEditButtonViewInfo* V = AViewInfo->ButtonsInfo[AVisibleIndex];
    V->ButtonIndex = I;
    V->ButtonVisibleIndex = AVisibleIndex;
    V->Data.Style = GetButtonsStyle();
    InitializeButtonInfo(AButton, V, AIsTextButton);
    CalculateButtonViewInfo(ACanvas, AViewInfo, AVisibleIndex, AButtonsRect);
    --AVisibleIndex;
  }
}

void TcxCustomEditViewData::CalculateButtonViewInfo(TcxCanvas* ACanvas,
                                                    TcxCustomEditViewInfo* AViewInfo,
                                                    Integer AButtonVisibleIndex,
                                                    TRect& ButtonsRect) {
  CalculateButtonBounds(ACanvas, AViewInfo, AButtonVisibleIndex, ButtonsRect);
}

bool TcxCustomEditViewData::IsButtonLeftAligned(TcxEditButtonViewInfo* AButtonViewInfo) {
  const bool ALeft =
      FProperties->GetButtons()->Items(AButtonViewInfo->ButtonIndex)->GetLeftAlignment();
  return UseRightToLeftAlignment ? !ALeft : ALeft;
}

void TcxCustomEditViewData::InitializeButtonInfo(TcxEditButton* AButton,
                                                 TcxEditButtonViewInfo* AButtonViewInfo,
                                                 bool AIsTextButton) {
  TcxCustomEditViewInfo* AViewInfo = AButtonViewInfo->EditViewInfo;
  TcxEditButtonViewInfoData& D = AButtonViewInfo->Data;
  D.ComboBoxStyle = IsComboBoxStyle();
  D.UseSkins = AViewInfo->UseSkins;
  D.NativeStyle = AViewInfo->NativeStyle;
  D.BackgroundColor = AViewInfo->BackgroundColor();
  D.Kind = AButton->GetKind();
  if (AIsTextButton) {
    D.Caption = AButton->GetCaption();
    D.VisibleCaption = AButton->GetVisibleCaption();
    D.TextColor = D.UseSkins && AViewInfo->Painter ? AViewInfo->Painter->EditButtonTextColor()
                                                   : AButton->GetTextColor();
  }
  D.ContentAlignment = AButton->GetContentAlignment();
  if (UseRightToLeftAlignment && D.ContentAlignment != taCenter)
    D.ContentAlignment = D.ContentAlignment == taLeftJustify ? taRightJustify : taLeftJustify;
  D.Default = AButton->GetDefault();
  AButtonViewInfo->Images = FProperties->GetImages();
  AButtonViewInfo->ImageIndex = AButton->GetImageIndex();
  AButtonViewInfo->Glyph = AButton->GetGlyph();
  AButtonViewInfo->HasBackground = AViewInfo->HasBackground;
  D.Gradient = FStyle->GetGradientButtons();
  D.Hint = AButton->GetHint();
  D.ActionLink = AButton->ActionLink();
  if (D.ActionLink) D.ActionLink->PrepareHint(D.Hint);
  D.IsInplace = FIsInplace;
  D.LeftAlignment = IsButtonLeftAligned(AButtonViewInfo);
  D.Leftmost = false;
  D.Rightmost = false;
  AButtonViewInfo->Stretchable = AButton->GetStretchable();
  const TdxScaleFactor* APropertiesScale = FProperties->GetScaleFactor();
  Integer AWidth = FScaleFactor->Apply(AButton->GetWidth(), APropertiesScale->Numerator(),
                                       APropertiesScale->Denominator());
  if (AWidth == 0) {
    if (FOnGetDefaultButtonWidth)
      FOnGetDefaultButtonWidth(this, AButtonViewInfo->ButtonIndex, AWidth);
  }
  AButtonViewInfo->Width = AWidth;
  const TcxEditButtonTransparency ATransparency = FStyle->GetButtonTransparency();
  D.Transparent = ATransparency == ebtAlways || (ATransparency == ebtInactive && !Selected);
}

void TcxCustomEditViewData::CalculateButtonBounds(TcxCanvas* ACanvas,
                                                  TcxCustomEditViewInfo* AViewInfo,
                                                  Integer AButtonVisibleIndex, TRect& ButtonsRect) {
  TcxEditButtonViewInfo* V = AViewInfo->ButtonsInfo[AButtonVisibleIndex];
  if (cxRectIsEmpty(ButtonsRect)) {
    V->Bounds = cxEmptyRect;
    V->VisibleBounds = cxEmptyRect;
    return;
  }
  TcxEditButtonWidthData AData;
  AData.Kind = V->Data.Kind;
  AData.NativeStyle = V->Data.NativeStyle;
  AData.ComboBoxStyle = V->Data.ComboBoxStyle;
  AData.Width = V->Width;
  if (IsImageAssigned(V->Glyph, V->Images, V->ImageIndex))
    AData.GlyphWidth = dxGetImageSize(V->Glyph, V->Images, V->ImageIndex, FScaleFactor.get()).cx;
  AData.Caption = V->Data.Caption;
  AData.ScaleFactor = FScaleFactor.get();
  const Integer AWidth = CalculateEditDefaultButtonWidth(ACanvas, AData);
  V->Data.NativeStyle = AData.NativeStyle;
  const Integer AVisibleWidth = std::min<Integer>(AWidth, RectWidth(ButtonsRect));
  const Integer ATop = ButtonsRect.top, ABottom = ButtonsRect.bottom;
  if (V->Data.LeftAlignment) {
    const Integer L = ButtonsRect.left;
    V->Bounds = TRect{L, ATop, L + AWidth, ABottom};
    V->VisibleBounds = TRect{L, ATop, L + AVisibleWidth, ABottom};
    ButtonsRect.left += AVisibleWidth;
    // The first placed is the outermost; a later one the innermost so far
    // (a single button is both).
    if (FLeftSideLeftmostButtonIndex < 0) FLeftSideLeftmostButtonIndex = AButtonVisibleIndex;
    FLeftSideRightmostButtonIndex = AButtonVisibleIndex;
  } else {
    const Integer R = ButtonsRect.right;
    V->Bounds = TRect{R - AWidth, ATop, R, ABottom};
    V->VisibleBounds = TRect{R - AVisibleWidth, ATop, R, ABottom};
    ButtonsRect.right -= AVisibleWidth;
    if (FRightSideRightmostButtonIndex < 0) FRightSideRightmostButtonIndex = AButtonVisibleIndex;
    FRightSideLeftmostButtonIndex = AButtonVisibleIndex;
  }
}

void TcxCustomEditViewData::CheckButtonsOnly(TcxCustomEditViewInfo* AViewInfo,
                                             Integer APrevButtonsWidth, Integer AButtonsWidth) {
  if (!ButtonsOnlyStyle || AButtonsWidth <= 0) return;
  std::vector<Integer> AStretching;
  Integer ATotal = 0;
  for (Integer I = AViewInfo->ButtonCount() - 1; I >= 0; --I) {
    TcxEditButtonViewInfo* V = AViewInfo->ButtonsInfo[I];
    if (V->Stretchable && !IgnoreButtonWhileStretching(I)) {
      AStretching.push_back(I);
      ATotal += RectWidth(V->Bounds);
    }
  }
  if (AStretching.empty()) {
    for (Integer I = AViewInfo->ButtonCount() - 1; I >= 0; --I) AStretching.push_back(I);
    ATotal = APrevButtonsWidth - AButtonsWidth;
  }
  Integer ARest = AButtonsWidth;
  for (size_t K = 0; K < AStretching.size(); ++K) {
    const Integer I = AStretching[K];
    Integer ADelta;
    if (K + 1 == AStretching.size())
      ADelta = ARest;
    else
      ADelta =
          ATotal == 0 ? 0 : RectWidth(AViewInfo->ButtonsInfo[I]->Bounds) * AButtonsWidth / ATotal;
    ARest -= ADelta;
    StretchButton(AViewInfo, I, ADelta);
  }
}

void TcxCustomEditViewData::StretchButton(TcxCustomEditViewInfo* AViewInfo, Integer AIndex,
                                          Integer ADelta) {
  if (ADelta == 0) return;
  TcxEditButtonViewInfo* V = AViewInfo->ButtonsInfo[AIndex];
  const bool ALeft = V->Data.LeftAlignment;
  const Integer AEdge = ALeft ? V->Bounds.right : V->Bounds.left;
  auto Shift = [](TcxEditButtonViewInfo* B, Integer D) {
    B->Bounds = cxRectOffset(B->Bounds, D, 0);
    B->VisibleBounds = cxRectOffset(B->VisibleBounds, D, 0);
  };
  for (TcxEditButtonViewInfo* B : AViewInfo->ButtonsInfo) {
    if (B == V || B->Data.LeftAlignment != ALeft) continue;
    if (ALeft && B->Bounds.left >= AEdge) Shift(B, ADelta);
    if (!ALeft && B->Bounds.right <= AEdge) Shift(B, -ADelta);
  }
  if (ALeft) {
    V->Bounds.right += ADelta;
    V->VisibleBounds.right += ADelta;
  } else {
    V->Bounds.left -= ADelta;
    V->VisibleBounds.left -= ADelta;
  }
}

void TcxCustomEditViewData::CalculateButtonStates(TcxCustomEditViewInfo* AViewInfo, const TPoint& P,
                                                  TcxMouseButton Button, TShiftState Shift,
                                                  Integer APrevPressedButton, bool) {
  const bool ALeftOnly = cxShiftStateLeftOnly(Shift, true);
  const bool AMoveOnly = cxShiftStateMoveOnly(Shift);
  const bool ALeftHeld = Shift.Contains(ssLeft);
  TcxEditButtons* AButtons = FProperties->GetButtons();
  for (Integer I = 0; I < AViewInfo->ButtonCount(); ++I) {
    TcxEditButtonViewInfo* V = AViewInfo->ButtonsInfo[I];
    const TcxEditButtonState APrevState = V->Data.State;
    TcxEditButtonState AState = ebsNormal;
    if (!Enabled || !AButtons->Items(V->ButtonIndex)->GetEnabled()) {
      AState = ebsDisabled;
    } else {
      const bool APressedByHook = IsButtonPressed(AViewInfo, I);
      if (APressedByHook || (!IsDesigning && cxRectPtIn(V->VisibleBounds, P))) {
        const bool ACapturePressing = Button == cxmbNone && ALeftHeld && APrevState == ebsNormal &&
                                      GetCaptureButtonVisibleIndex() == I;
        const bool AMousePressing = Button == cxmbLeft && ALeftOnly;
        const bool AHoldPressing = APrevState == ebsPressed && ALeftHeld;
        if (APressedByHook || ACapturePressing || AMousePressing || AHoldPressing)
          AViewInfo->IsButtonReallyPressed = true;
        if (!APressedByHook && AMoveOnly && !ACapturePressing) {
          AState = ebsSelected;
          AViewInfo->SelectedButton = I;
        } else if (APressedByHook || (ACapturePressing && CanPressButton(AViewInfo, I)) ||
                   (ALeftOnly && ((AMousePressing && CanPressButton(AViewInfo, I)) ||
                                  I == APrevPressedButton)) ||
                   AHoldPressing) {
          AState = ebsPressed;
          AViewInfo->PressedButton = I;
        }
      }
    }
    if (AViewInfo->OnGetButtonState()) AViewInfo->OnGetButtonState()(V, AState);
    V->Data.State = AState;
    CalculateButtonNativeInfo(V);
  }
}

void TcxCustomEditViewData::CorrectButtonBounds(TcxCustomEditViewInfo* AViewInfo) {
  auto B = [AViewInfo](Integer I) { return &AViewInfo->ButtonsInfo[I]->Data; };
  const bool AHasLeft = FLeftSideLeftmostButtonIndex >= 0;
  const bool AHasRight = FRightSideRightmostButtonIndex >= 0;
  if (AHasLeft) B(FLeftSideLeftmostButtonIndex)->Leftmost = true;
  if (FLeftSideRightmostButtonIndex >= 0 && !(ButtonsOnlyStyle && AHasRight))
    B(FLeftSideRightmostButtonIndex)->Rightmost = true;
  if (FRightSideLeftmostButtonIndex >= 0 && !(ButtonsOnlyStyle && AHasLeft))
    B(FRightSideLeftmostButtonIndex)->Leftmost = true;
  if (AHasRight) B(FRightSideRightmostButtonIndex)->Rightmost = true;
  if (ButtonsOnlyStyle)
    for (TcxEditButtonViewInfo* V : AViewInfo->ButtonsInfo) V->Data.LeftAlignment = false;
}

void TcxCustomEditViewData::CheckStartButtonsFading(TcxCustomEditViewInfo* AViewInfo) {
  for (TcxEditButtonViewInfo* B : AViewInfo->ButtonsInfo)
    if (B->FadingHelper) B->FadingHelper->UpdateState();
}

// ---------------------------------------------------------------------------
// Native button parts

HTHEME TcxCustomEditViewData::GetButtonNativeTheme(TcxEditButtonViewInfo* AButtonViewInfo) {
  return OpenTheme(AButtonViewInfo->Data.ComboBoxStyle ? totComboBox : totButton);
}

void TcxCustomEditViewData::CalculateButtonNativePartInfo(HTHEME ATheme,
                                                          TcxEditButtonViewInfo* AButtonViewInfo) {
  TcxEditButtonViewInfoData& D = AButtonViewInfo->Data;
  if (!FIsInplace && D.ComboBoxStyle && IsWinVistaOrLater && ATheme)
    D.NativePart = AlignmentMap[D.LeftAlignment ? 1 : 0];
  else
    D.NativePart = ATheme ? 1 : 0;
  D.NativeState = D.NativePart != 0 ? ButtonStateMap[D.State] : 0;
}

void TcxCustomEditViewData::CalculateButtonNativeInfo(TcxEditButtonViewInfo* AButtonViewInfo) {
  TcxEditButtonViewInfoData& D = AButtonViewInfo->Data;
  HTHEME ATheme = D.NativeStyle ? GetButtonNativeTheme(AButtonViewInfo) : nullptr;
  CalculateButtonNativePartInfo(ATheme, AButtonViewInfo);
  D.BackgroundPartiallyTransparent =
      D.UseSkins ||
      (ATheme && D.NativePart != 0 &&
       dxUxTheme::IsThemeBackgroundPartiallyTransparent(ATheme, D.NativePart, D.NativeState));
}
