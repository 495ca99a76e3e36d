// Painting of the embedded buttons: border, background and content of each
// visible button, each layer replaceable through the view info's events or
// by a derived view info.
#include <algorithm>

#include "cxEdit.h"
#include "cxEditUtils.h"
#include "dxFading.h"
#include "dxOffice11.h"
#include "dxUxTheme.h"

namespace {

const TcxEditBtnKind EditBtnKindToEditBtnPainterKind[] = {cxbkEllipsisBtn, cxbkComboBtn,
                                                          cxbkEditorBtn, cxbkEditorBtn};
const TcxButtonState EditBtnStateToButtonState[] = {cxbsDisabled, cxbsNormal, cxbsPressed, cxbsHot};
// By "left aligned".
const TcxEditBtnPosition EditBtnPositionMap[] = {cxbpRight, cxbpLeft};
// By "disabled".
const TColor ButtonColorsMap[] = {clWindow, clBtnFace};

// Theme parts of the combo-box's drop-down button, standalone, by side.
constexpr Integer CP_DROPDOWNBUTTONRIGHT = 6, CP_DROPDOWNBUTTONLEFT = 7;

bool IsPressedOrSelected(TcxEditButtonState AState) {
  return AState == ebsPressed || AState == ebsSelected;
}

bool IsNativeButton(const TcxEditButtonViewInfo* AButton) { return AButton->Data.NativeState != 0; }

// The part of the bounds that reaches outside the border rectangle.
bool StickOut(const TRect& ABounds, const TRect& ABorderRect) {
  return ABounds.left < ABorderRect.left || ABounds.top < ABorderRect.top ||
         ABounds.right > ABorderRect.right || ABounds.bottom > ABorderRect.bottom;
}

}  // namespace

// ---------------------------------------------------------------------------
// Buttons, one by one

void TcxCustomEditViewInfo::DrawButtons(TcxCanvas* ACanvas) {
  if (FState.Contains(evsPaintButtons) || (FEdit && FEdit->IsButtonDC(ACanvas->Handle()))) return;
  FState.Include(evsPaintButtons);
  auto Done = Finally([this] { FState.Exclude(evsPaintButtons); });
  for (Integer I = 0; I < ButtonCount(); ++I) DrawButton(ACanvas, I);
}

void TcxCustomEditViewInfo::DrawButton(TcxCanvas* ACanvas, Integer AButtonVisibleIndex) {
  TcxEditButtonViewInfo* Button = ButtonsInfo[AButtonVisibleIndex];
  Button->Data.BackgroundColor = BackgroundColor();
  if (cxRectIsEmpty(Button->VisibleBounds)) return;
  bool Clip = StickOut(Button->Bounds, BorderRect);
  if (Clip) {
    ACanvas->SaveClipRegion();
    ACanvas->IntersectClipRect(Button->VisibleBounds);
  }
  auto Restore = Finally([&] {
    if (Clip) ACanvas->RestoreClipRegion();
  });
  bool Handled = false;
  if (FOnDrawButton) FOnDrawButton(Button, ACanvas, Handled);
  if (!Handled) DrawEditButton(ACanvas, AButtonVisibleIndex);
}

void TcxCustomEditViewInfo::DrawEditButton(TcxCanvas* ACanvas, Integer AButtonVisibleIndex) {
  TcxEditButtonViewInfo* Button = ButtonsInfo[AButtonVisibleIndex];
  bool Fading = Button->FadingHelper && Button->FadingHelper->GetActive();
  if (Fading) Button->FadingHelper->DrawImage(ACanvas->Handle(), Button->Bounds);
  TRect ContentRect, BackgroundRect;
  TColor PenColor, BrushColor;
  InternalPrepareEditButtonBackground(ACanvas, Button, ContentRect, BackgroundRect, PenColor,
                                      BrushColor, Fading);
  if (cxRectIsEmpty(ContentRect)) return;
  bool Offset = Button->Data.State == ebsPressed &&
                (!FEdit || FEdit->ContentParams.Options.Contains(ecoOffsetButtonContent));
  DrawButtonContent(ACanvas, Button, ContentRect, PenColor, BrushColor, Offset);
}

void TcxCustomEditViewInfo::InternalPrepareEditButtonBackground(
    TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo, TRect& AContentRect,
    TRect& ABackgroundRect, TColor& APenColor, TColor& ABrushColor, bool ACalculateOnly) {
  ABrushColor = clBlack;
  APenColor = clBtnText;
  ABackgroundRect = AViewInfo->Bounds;
  AContentRect = cxNullRect;
  ACanvas->SaveClipRegion();
  auto Restore = Finally([&] { ACanvas->RestoreClipRegion(); });
  // Only the content goes over a fade image; border and background are in it.
  if (ACalculateOnly) ACanvas->ExcludeClipRect(AViewInfo->Bounds);
  DrawButtonBorder(ACanvas, AViewInfo, ABackgroundRect, AContentRect, APenColor, ABrushColor);
  if (!cxRectIsEmpty(ABackgroundRect))
    DrawButtonBackground(ACanvas, AViewInfo, ABackgroundRect, AContentRect, ABrushColor);
}

// ---------------------------------------------------------------------------
// Borders

void TcxCustomEditViewInfo::DrawButtonBorder(TcxCanvas* ACanvas,
                                             TcxEditButtonViewInfo* AButtonViewInfo, TRect& ARect,
                                             TRect& AContentRect, TColor& APenColor,
                                             TColor& ABrushColor) {
  bool Handled = false;
  if (FOnDrawButtonBorder) {
    FOnDrawButtonBorder(AButtonViewInfo, ACanvas, ARect, AContentRect, Handled);
    if (Handled) return;
  }
  if (IsNativeButton(AButtonViewInfo)) {
    DrawNativeButtonBorder(ACanvas, AButtonViewInfo, ARect, AContentRect, APenColor, ABrushColor);
    return;
  }
  if (UseSkins) {
    DrawButtonBorderByPainter(AButtonViewInfo, ARect, AContentRect, APenColor, ABrushColor);
    return;
  }
  TcxEditButtonStyle Style = AButtonViewInfo->Data.Style;
  // A simple button sinks like a flat one while pressed or hot.
  if (Style == btsSimple && IsPressedOrSelected(AButtonViewInfo->Data.State)) Style = btsFlat;
  switch (Style) {
    case bts3D:
      Draw3DButtonBorder(ACanvas, AButtonViewInfo, ARect, AContentRect, APenColor, ABrushColor);
      break;
    case btsFlat:
      DrawFlatButtonBorder(ACanvas, AButtonViewInfo, ARect, AContentRect, APenColor, ABrushColor);
      break;
    case btsSimple:
      DrawSimpleButtonBorder(ACanvas, AButtonViewInfo, ARect, AContentRect, APenColor, ABrushColor);
      break;
    case btsHotFlat:
      DrawHotFlatButtonBorder(ACanvas, AButtonViewInfo, ARect, AContentRect, APenColor,
                              ABrushColor);
      break;
    case btsUltraFlat:
    case btsOffice11:
      DrawUltraFlatButtonBorder(ACanvas, AButtonViewInfo, Style == btsOffice11, ARect, AContentRect,
                                APenColor, ABrushColor);
      break;
    case btsDefault:
      // Resolved by the view data before anything is painted.
      AContentRect = ARect;
      break;
  }
}

TcxEditButtonBorderData TcxCustomEditViewInfo::GetButtonBorderData(
    TcxEditButtonViewInfo* AButtonViewInfo, TcxEditButtonStyle AStyle) {
  const TcxEditButtonViewInfoData& D = AButtonViewInfo->Data;
  TcxEditButtonBorderData R;
  R.State = D.State;
  R.Style = AStyle;
  R.Transparent = D.Transparent;
  R.BackgroundColor = D.BackgroundColor;
  R.LeftAlignment = D.LeftAlignment;
  R.Leftmost = D.Leftmost;
  R.Rightmost = D.Rightmost;
  R.ViewInfoTransparent = Transparent;
  R.OwnFrame = IsInplace ? !PaintOptions.Contains(epoHasExternalBorder) : BorderStyle == ebsNone;
  R.BorderRect = BorderRect;
  return R;
}

void TcxCustomEditViewInfo::DrawClassicButtonBorder(TcxCanvas* ACanvas,
                                                    TcxEditButtonViewInfo* AButtonViewInfo,
                                                    TcxEditButtonStyle AStyle, TRect& ARect,
                                                    TRect& AContentRect, TColor& APenColor,
                                                    TColor& ABrushColor) {
  cxDrawEditButtonBorder(ACanvas, GetButtonBorderData(AButtonViewInfo, AStyle), ARect, AContentRect,
                         APenColor, ABrushColor);
}

void TcxCustomEditViewInfo::Draw3DButtonBorder(TcxCanvas* ACanvas,
                                               TcxEditButtonViewInfo* AButtonViewInfo, TRect& ARect,
                                               TRect& AContentRect, TColor& APenColor,
                                               TColor& ABrushColor) {
  DrawClassicButtonBorder(ACanvas, AButtonViewInfo, bts3D, ARect, AContentRect, APenColor,
                          ABrushColor);
}

void TcxCustomEditViewInfo::DrawFlatButtonBorder(TcxCanvas* ACanvas,
                                                 TcxEditButtonViewInfo* AButtonViewInfo,
                                                 TRect& ARect, TRect& AContentRect,
                                                 TColor& APenColor, TColor& ABrushColor) {
  DrawClassicButtonBorder(ACanvas, AButtonViewInfo, btsFlat, ARect, AContentRect, APenColor,
                          ABrushColor);
}

void TcxCustomEditViewInfo::DrawSimpleButtonBorder(TcxCanvas* ACanvas,
                                                   TcxEditButtonViewInfo* AButtonViewInfo,
                                                   TRect& ARect, TRect& AContentRect,
                                                   TColor& APenColor, TColor& ABrushColor) {
  DrawClassicButtonBorder(ACanvas, AButtonViewInfo, btsSimple, ARect, AContentRect, APenColor,
                          ABrushColor);
}

void TcxCustomEditViewInfo::DrawHotFlatButtonBorder(TcxCanvas* ACanvas,
                                                    TcxEditButtonViewInfo* AButtonViewInfo,
                                                    TRect& ARect, TRect& AContentRect,
                                                    TColor& APenColor, TColor& ABrushColor) {
  DrawClassicButtonBorder(ACanvas, AButtonViewInfo, btsHotFlat, ARect, AContentRect, APenColor,
                          ABrushColor);
}

void TcxCustomEditViewInfo::DrawUltraFlatButtonBorder(TcxCanvas* ACanvas,
                                                      TcxEditButtonViewInfo* AButtonViewInfo,
                                                      bool AIsOffice11Style, TRect& ARect,
                                                      TRect& AContentRect, TColor& APenColor,
                                                      TColor& ABrushColor) {
  DrawClassicButtonBorder(ACanvas, AButtonViewInfo, AIsOffice11Style ? btsOffice11 : btsUltraFlat,
                          ARect, AContentRect, APenColor, ABrushColor);
}

void TcxCustomEditViewInfo::DrawNativeButtonBorder(TcxCanvas* ACanvas,
                                                   TcxEditButtonViewInfo* AButtonViewInfo,
                                                   TRect& ARect, TRect& AContentRect, TColor&,
                                                   TColor&) {
  // Asked for the button being drawn: a second native button's host may
  // draw that one and not the first.
  AContentRect = cxGetNativeEditButtonContentRect(
      ACanvas, ARect, IsCustomDrawButton(AButtonViewInfo->ButtonVisibleIndex),
      AButtonViewInfo->Data.ComboBoxStyle, AButtonViewInfo->Data.NativeState);
}

void TcxCustomEditViewInfo::DrawButtonBorderByPainter(TcxEditButtonViewInfo* AButtonViewInfo,
                                                      TRect& ARect, TRect& AContentRect,
                                                      TColor& APenColor, TColor& ABrushColor) {
  AContentRect = ARect;
  GetColorSettingsByPainter(ABrushColor, APenColor);
  if (ABrushColor == clDefault)
    ABrushColor = FEdit ? FEdit->GetBackgroundColor()
                        : ButtonColorsMap[AButtonViewInfo->Data.State == ebsDisabled];
  if (APenColor == clDefault) APenColor = clBtnText;
}

// ---------------------------------------------------------------------------
// Backgrounds

void TcxCustomEditViewInfo::DrawButtonBackground(TcxCanvas* ACanvas,
                                                 TcxEditButtonViewInfo* AViewInfo,
                                                 const TRect& ARect, const TRect& AContentRect,
                                                 TColor ABrushColor) {
  bool Handled = false;
  if (FOnDrawButtonBackground) {
    FOnDrawButtonBackground(AViewInfo, ACanvas, ARect, Handled);
    if (Handled) return;
  }
  if (IsNativeButton(AViewInfo))
    DrawNativeButtonBackground(ACanvas, AViewInfo, ARect);
  else if (UseSkins && Painter)
    Painter->DrawScaledEditorButton(
        ACanvas, AContentRect, EditBtnKindToEditBtnPainterKind[AViewInfo->Data.Kind],
        EditBtnStateToButtonState[AViewInfo->Data.State], AViewInfo->GetScaleFactor(),
        EditBtnPositionMap[AViewInfo->Data.LeftAlignment]);
  else
    DrawUsualButtonBackground(ACanvas, AViewInfo, ARect, ABrushColor);
}

void TcxCustomEditViewInfo::DrawNativeButtonBackground(TcxCanvas* ACanvas,
                                                       TcxEditButtonViewInfo* AButtonViewInfo,
                                                       const TRect& ARect) {
  const TcxEditButtonViewInfoData& D = AButtonViewInfo->Data;
  HTHEME Theme = OpenTheme(D.ComboBoxStyle ? totComboBox : totButton);
  if (!Theme) return;
  Integer Part = 1;
  if (D.ComboBoxStyle && !D.IsInplace && IsWinVistaOrLater)
    Part = D.LeftAlignment ? CP_DROPDOWNBUTTONLEFT : CP_DROPDOWNBUTTONRIGHT;
  RECT R = ARect;
  dxUxTheme::DrawThemeBackground(Theme, ACanvas->Handle(), Part, D.NativeState, &R, nullptr);
}

void TcxCustomEditViewInfo::DrawUsualButtonBackground(TcxCanvas* ACanvas,
                                                      TcxEditButtonViewInfo* AButtonViewInfo,
                                                      const TRect& ARect, TColor ABrushColor) {
  const TcxEditButtonViewInfoData& D = AButtonViewInfo->Data;
  if (D.Style != btsOffice11 || !D.Gradient || D.Transparent || D.State == ebsDisabled) {
    cxEditFillRect(ACanvas, ARect, ABrushColor);
    return;
  }
  TColor From = dxOffice11ToolbarsColor1, To = dxOffice11ToolbarsColor2;
  if (D.State == ebsPressed) {
    From = dxOffice11SelectedDownColor1;
    To = dxOffice11SelectedDownColor2;
  } else if (D.State == ebsSelected) {
    From = dxOffice11SelectedColor1;
    To = dxOffice11SelectedColor2;
  }
  // One gradient over the border's height, so that the buttons of an
  // editor line up; the button shows its own column of it.
  TRect Column = cxRect(AButtonViewInfo->Bounds.left, BorderRect.top, AButtonViewInfo->Bounds.right,
                        BorderRect.bottom);
  if (D.State == ebsNormal) InflateRect(&Column, 0, -1);
  ACanvas->SaveClipRegion();
  auto Restore = Finally([&] { ACanvas->RestoreClipRegion(); });
  ACanvas->IntersectClipRect(ARect);
  FillGradientRect(ACanvas->Handle(), Column, From, To, false);
}

// ---------------------------------------------------------------------------
// Content

void TcxCustomEditViewInfo::DrawButtonContent(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                              const TRect& AContentRect, TColor APenColor,
                                              TColor ABrushColor, bool ANeedOffsetContent) {
  ACanvas->SaveState();
  auto Restore = Finally([&] { ACanvas->RestoreState(); });
  ACanvas->IntersectClipRect(AContentRect);
  const TcxEditButtonViewInfoData& D = AViewInfo->Data;
  if (UseSkins && Painter) {
    Painter->DrawScaledEditorButtonGlyph(
        ACanvas, AContentRect, EditBtnKindToEditBtnPainterKind[D.Kind],
        EditBtnStateToButtonState[D.State], AViewInfo->GetScaleFactor(),
        EditBtnPositionMap[D.LeftAlignment]);
    if (D.Kind != bkGlyph && D.Kind != bkText) return;
  }
  bool Enabled = D.State != ebsDisabled;
  switch (D.Kind) {
    case bkEllipsis:
      cxDrawEditButtonEllipsis(ACanvas, AContentRect, Enabled, ANeedOffsetContent, APenColor);
      break;
    case bkDown:
      cxDrawEditButtonArrow(ACanvas, AContentRect, AViewInfo->Bounds, D.IsInplace, Enabled,
                            ANeedOffsetContent, APenColor);
      break;
    case bkGlyph:
      DrawButtonGlyph(ACanvas, AViewInfo, AContentRect, ANeedOffsetContent);
      break;
    case bkText:
      DrawButtonCaption(ACanvas, AViewInfo, AContentRect, APenColor, ANeedOffsetContent);
      break;
  }
}

void TcxCustomEditViewInfo::DrawButtonGlyph(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                            const TRect& AContentRect, bool AOffsetContent) {
  TdxSmartGlyph* Glyph = AViewInfo->Glyph;
  bool HasGlyph = Glyph && !Glyph->Empty();
  bool HasImage = AViewInfo->Images && AViewInfo->ImageIndex >= 0 &&
                  AViewInfo->ImageIndex < AViewInfo->Images->Count();
  if (!HasGlyph && !HasImage) return;
  TSize Size = dxGetImageSize(HasGlyph ? Glyph : nullptr, AViewInfo->Images, AViewInfo->ImageIndex,
                              GetScaleFactor());
  TPoint P = cxGetEditButtonContentPosition(AContentRect, Size, AOffsetContent);
  TRect R = cxRect(P.x, P.y, P.x + Size.cx, P.y + Size.cy);
  TcxEditButtonState State = AViewInfo->Data.State;
  cxDrawImage(ACanvas, R, HasGlyph ? Glyph : nullptr, AViewInfo->Images, AViewInfo->ImageIndex,
              ifmNormal, State == ebsDisabled ? idmDisabled : idmNormal, true,
              GetButtonColorPalette(EditBtnStateToButtonState[State]), GetScaleFactor(), false);
}

void TcxCustomEditViewInfo::DrawButtonCaption(TcxCanvas* ACanvas, TcxEditButtonViewInfo* AViewInfo,
                                              const TRect& AContentRect, TColor APenColor,
                                              bool AOffsetContent) {
  const TcxEditButtonViewInfoData& D = AViewInfo->Data;
  TRect R = AContentRect;
  R.left += 1;
  R.right -= 2;
  if (!D.IsInplace) InflateRect(&R, 0, -1);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
  if (Font) ACanvas->SetFont(Font);
  static constexpr Integer AlignmentFlags[] = {cxAlignLeft, cxAlignRight, cxAlignHCenter};
  Integer Flags = AlignmentFlags[D.ContentAlignment] | cxAlignVCenter | cxSingleLine |
                  cxShowPrefix | cxShowEndEllipsis;
  auto Caption = [&](const TRect& ARect, TColor AColor) {
    ACanvas->Font()->SetColor(AColor);
    ACanvas->DrawTexT(D.Caption, ARect, Flags);
  };
  if (D.State == ebsDisabled) {
    Caption(cxRectOffset(R, 1, 1), clBtnHighlight);
    Caption(R, clBtnShadow);
  } else {
    TColor Color;
    if (D.Style == btsHotFlat && IsPressedOrSelected(D.State))
      Color = APenColor;
    else
      Color = D.TextColor != clDefault ? D.TextColor : TextColor;
    Caption(AOffsetContent ? cxRectOffset(R, 1, 1) : R, Color);
  }
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
}

// ---------------------------------------------------------------------------
// What hosts draw themselves

bool TcxCustomEditViewInfo::IsCustomButton(Integer AButtonVisibleIndex) {
  if (!FOnDrawButton || !IsValidButtonIndex(AButtonVisibleIndex)) return false;
  bool Handled = false;
  FOnDrawButton(ButtonsInfo[AButtonVisibleIndex], nullptr, Handled);
  return Handled;
}

bool TcxCustomEditViewInfo::IsCustomButtonBackground(Integer AButtonVisibleIndex) {
  if (!FOnDrawButtonBackground || !IsValidButtonIndex(AButtonVisibleIndex)) return false;
  bool Handled = false;
  TcxEditButtonViewInfo* Button = ButtonsInfo[AButtonVisibleIndex];
  FOnDrawButtonBackground(Button, nullptr, Button->Bounds, Handled);
  return Handled;
}

bool TcxCustomEditViewInfo::IsCustomButtonBorder(Integer AButtonVisibleIndex) {
  if (!FOnDrawButtonBorder || !IsValidButtonIndex(AButtonVisibleIndex)) return false;
  bool Handled = false;
  TRect Background = cxNullRect, Content = cxNullRect;
  FOnDrawButtonBorder(ButtonsInfo[AButtonVisibleIndex], nullptr, Background, Content, Handled);
  return Handled;
}

bool TcxCustomEditViewInfo::IsCustomDrawButton(Integer AButtonVisibleIndex) {
  return IsCustomButton(AButtonVisibleIndex) || IsCustomButtonBackground(AButtonVisibleIndex) ||
         IsCustomButtonBorder(AButtonVisibleIndex);
}

IdxColorPalette* TcxCustomEditViewInfo::GetButtonColorPalette(TcxButtonState AState) {
  return Painter ? Painter->EditButtonColorPalette(AState) : nullptr;
}

// ---------------------------------------------------------------------------
// Fading of buttons

namespace {
const TcxButtonState EditButtonStateToButtonState[] = {cxbsDisabled, cxbsNormal, cxbsPressed,
                                                       cxbsHot};
}  // namespace

IMPLEMENT_CLASS(TcxCustomEditFadingHelper)

bool STDMETHODCALLTYPE TcxCustomEditFadingHelper::CanFade() {
  TcxCustomEditViewInfo* ViewInfo = GetEditViewInfo();
  return ViewInfo && ViewInfo->IsFadingAvailable() && GetEditOwner(ViewInfo) &&
         ViewInfo->DoCanStartButtonFading();
}

void STDMETHODCALLTYPE TcxCustomEditFadingHelper::DrawFadeImage() { Invalidate(); }

IcxEditOwner* TcxCustomEditFadingHelper::GetEditOwner(TcxCustomEditViewInfo* AViewInfo) {
  if (!AViewInfo) return nullptr;
  if (TcxCustomEdit* Edit = AViewInfo->GetEdit()) return Edit;
  return dynamic_cast<IcxEditOwner*>(AViewInfo->Owner);
}

IMPLEMENT_CLASS(TcxEditButtonFadingHelper)

TcxEditButtonFadingHelper::TcxEditButtonFadingHelper(TcxEditButtonViewInfo* AViewInfo)
    : FViewInfo(AViewInfo) {}

TcxCustomEditViewInfo* TcxEditButtonFadingHelper::GetEditViewInfo() {
  return FViewInfo->EditViewInfo;
}

void TcxEditButtonFadingHelper::Invalidate() {
  if (IcxEditOwner* Owner = GetEditOwner(GetEditViewInfo()))
    Owner->InvalidateRect(GetButtonRect(), FViewInfo->HasBackground);
}

bool STDMETHODCALLTYPE TcxEditButtonFadingHelper::CanFade() {
  return inherited::CanFade() && !cxRectIsEmpty(GetButtonRect());
}

TRect TcxEditButtonFadingHelper::GetButtonRect() { return FViewInfo->Bounds; }

void TcxEditButtonFadingHelper::UpdateState() {
  TcxEditButtonState State = FViewInfo->Data.State;
  if (State == FState) return;
  CheckStartFading(EditButtonStateToButtonState[FState], EditButtonStateToButtonState[State]);
  FState = State;
}

void STDMETHODCALLTYPE TcxEditButtonFadingHelper::GetFadingImages(TcxBitmap*& AFadeOutImage,
                                                                  TcxBitmap*& AFadeInImage) {
  TcxEditButtonViewInfoData& D = FViewInfo->Data;
  TcxEditButtonState State = D.State;
  Integer NativeState = D.NativeState;
  auto Restore = Finally([&] {
    D.State = State;
    D.NativeState = NativeState;
  });
  TOwned<TcxBitmap> FadeOut(PrepareFadingImage(ebsNormal));
  AFadeInImage = PrepareFadingImage(ebsSelected);
  AFadeOutImage = FadeOut.release();
}

TcxBitmap32* TcxEditButtonFadingHelper::PrepareFadingImage(TcxEditButtonState AState) {
  TcxCustomEditViewInfo* ViewInfo = GetEditViewInfo();
  TcxBitmap32* Image = nullptr;
  bool Handled = false;
  if (ViewInfo->OnPrepareButtonFadingImage())
    ViewInfo->OnPrepareButtonFadingImage()(FViewInfo, AState, Image, Handled);
  if (Handled) return Image;
  FViewInfo->Data.State = AState;
  if (IcxEditOwner* Owner = GetEditOwner(ViewInfo)) {
    bool Created = false;
    TcxCustomEditViewData* ViewData = Owner->GetViewData(Created);
    auto Free = Finally([&] {
      if (Created) ViewData->Free();
    });
    if (ViewData) ViewData->CalculateButtonNativeInfo(FViewInfo);
  }
  TRect R = GetButtonRect();
  TOwned<TcxBitmap32> Result(TcxBitmap32::CreateSize(R, true));
  TcxCanvas* Canvas = Result->cxCanvas();
  Canvas->Lock();
  auto Unlock = Finally([Canvas] { Canvas->Unlock(); });
  Canvas->SetWindowOrg(TPoint{R.left, R.top});
  DrawButton(Canvas);
  Canvas->SetWindowOrg(TPoint{0, 0});
  return Result.release();
}

void TcxEditButtonFadingHelper::DrawButton(TcxCanvas* ACanvas) {
  TRect Content, Background;
  TColor Pen, Brush;
  GetEditViewInfo()->InternalPrepareEditButtonBackground(ACanvas, FViewInfo, Content, Background,
                                                         Pen, Brush, false);
}

// ---------------------------------------------------------------------------
// The button view info's fading

void TcxEditButtonViewInfo::AfterConstruction() {
  inherited::AfterConstruction();
  FadingHelper = CreateFadingHelper();
}

TcxEditButtonViewInfo::~TcxEditButtonViewInfo() {
  if (FadingHelper) FadingHelper->Free();
}

TcxEditButtonFadingHelper* TcxEditButtonViewInfo::CreateFadingHelper() {
  return Create<TcxEditButtonFadingHelper>(this);
}

TdxScaleFactor* TcxEditButtonViewInfo::GetScaleFactor() const {
  return EditViewInfo ? EditViewInfo->GetScaleFactor() : nullptr;
}
