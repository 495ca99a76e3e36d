// Calendars and the modern clock, galleries, the rating control, the fixed
// group indicator, wheel pickers, rich-edit colours and tokens.
#include <cmath>
#include <numbers>

#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"
#include "dxOffice11.h"

using namespace cxPaintersInternal;

namespace {
constexpr TColor dxGalleryBackgroundColor = clWhite;
constexpr TColor dxGalleryBasicBackgroundColor = 0x00582801;
constexpr TColor dxGalleryFocusRectColor = 0x00CEA27D;
constexpr TColor dxGalleryMouseHoverFrameRectColor = 0x00FBD6B8;
constexpr TColor cxModernClockHandsColor = 0x00464646;
constexpr Integer cxTokenCloseGlyphCrossSize = 7;

bool IsQuietButton(TcxButtonState AState) { return AState == cxbsNormal || AState == cxbsDisabled; }
}  // namespace

// ---------------------------------------------------------------------------
// Calendars
void TcxCustomLookAndFeelPainter::DrawCalendarDateCellSelection(TcxCanvas* ACanvas,
                                                                const TRect& ARect,
                                                                TcxCalendarElementStates AStates) {
  if (AStates.Contains(cesMarked)) DrawDateNavigatorTodayCellSelection(ACanvas, ARect);
}

void TcxCustomLookAndFeelPainter::DrawModernCalendarArrow(TcxCanvas* ACanvas, const TRect& ARect,
                                                          TcxArrowDirection ADirection,
                                                          TcxCalendarElementState AState) {
  DrawScaledModernCalendarArrow(ACanvas, ARect, ADirection, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledModernCalendarArrow(TcxCanvas* ACanvas,
                                                                const TRect& ARect,
                                                                TcxArrowDirection ADirection,
                                                                TcxCalendarElementState AState,
                                                                const TdxScaleFactor*) {
  TRect R = ARect;
  --R.bottom;
  TcxArrowPoints P;
  CalculateArrowPoints(R, P, ADirection, false, 0);
  TColor Color = (AState == cesHot || AState == cesPressed) ? GetModernCalendarSelectedTextColor()
                 : AState == cesDisabled                    ? TColor(clGrayText)
                                                            : TColor(clBtnText);
  FillPolygon(ACanvas, P, Color);
}

void TcxCustomLookAndFeelPainter::DrawModernCalendarClock(TcxCanvas* ACanvas, const TRect& ARect,
                                                          TDateTime ADateTime,
                                                          TColor ABackgroundColor,
                                                          const TdxScaleFactor* AScaleFactor) {
  if (cxRectIsEmpty(ARect)) return;
  const TRect Local = cxRect(0, 0, cxRectWidth(ARect), cxRectHeight(ARect));
  TOwned<TcxBitmap32> Buffer(TcxBitmap32::CreateSize(Local.right, Local.bottom));
  TcxCanvas* C = Buffer->cxCanvas();
  if (ABackgroundColor == clNone) {
    cxBitBlt(C->Handle(), ACanvas->Handle(), Local, TPoint{ARect.left, ARect.top}, SRCCOPY);
  } else {
    C->Brush()->SetStyle(TBrushStyle::bsSolid);
    C->FillRect(Local, ABackgroundColor);
  }
  GetClockFace()->StretchDraw(C->Handle(), Local);
  DrawScaledModernClockHands(C, Local, ADateTime, cxModernClockHandsColor, AScaleFactor);
  GetClockGlass()->StretchDraw(C->Handle(), Local);
  cxBitBlt(ACanvas->Handle(), C->Handle(), ARect, TPoint{0, 0}, SRCCOPY);
}

void TcxCustomLookAndFeelPainter::DrawModernCalendarDateCellSelection(
    TcxCanvas* ACanvas, const TRect& ARect, TcxCalendarElementStates AStates) {
  const bool Selected = AStates.Contains(cesSelected), Hot = AStates.Contains(cesHot);
  if (Selected || Hot) {
    TColor Border, Fill;
    if (Selected && Hot) {
      Border = 0x00E8A766;
      Fill = 0x00FFE8D1;
    } else if (Selected && AStates.Contains(cesFocused)) {
      Border = 0x00DAA026;
      Fill = 0x00F6E8CB;
    } else if (Selected) {
      Border = 0x00DEDEDE;
      Fill = 0x00F7F7F7;
    } else {
      Border = 0x00E7C070;
      Fill = 0x00FBF3E5;
    }
    ACanvas->FrameRect(ARect, Border);
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(cxRectInflate(ARect, -1, -1), Fill);
  }
  if (AStates.Contains(cesMarked))
    ACanvas->FrameRect(ARect, Resolved(GetModernCalendarMarkedCellBorderColor()));
  if (AStates.Contains(cesFocused)) ACanvas->DrawFocusRect(cxRectInflate(ARect, -1, -1));
}

void TcxCustomLookAndFeelPainter::DrawModernCalendarDateHeaderSelection(TcxCanvas*, const TRect&,
                                                                        TcxCalendarElementStates) {}

void TcxCustomLookAndFeelPainter::DrawModernCalendarHeaderSelection(
    TcxCanvas* ACanvas, const TRect&, TcxCalendarElementStates AStates) {
  if (!AStates.Contains(cesHot) && !AStates.Contains(cesPressed)) return;
  TFontStyles Style = ACanvas->Font()->Style();
  Style.Include(TFontStyle::fsUnderline);
  ACanvas->Font()->SetStyle(Style);
}

void TcxCustomLookAndFeelPainter::DrawModernClockHands(TcxCanvas* ACanvas, const TRect& ARect,
                                                       TDateTime ADateTime, TColor AColor) {
  DrawScaledModernClockHands(ACanvas, ARect, ADateTime, AColor, dxDefaultScaleFactor());
}

std::array<TcxModernClockHand, 3> cxModernClockHands(const TRect& ARect, TDateTime ADateTime) {
  Word Hours, Minutes, Seconds, MSec;
  DecodeTime(ADateTime, Hours, Minutes, Seconds, MSec);
  const double Pi2 = 2 * std::numbers::pi;
  const double H = Hours % 12, M = Minutes, S = Seconds;
  const double Angles[] = {Pi2 * (H * 3600 + M * 60 + S - 10800) / 43200,
                           Pi2 * (M * 60 + S - 900) / 3600, Pi2 * (S - 15) / 60};
  const double Widths[] = {1.8, 1.8, 1}, Starts[] = {0.05, 0.05, 0.1}, Ends[] = {0.55, 0.7, 0.745};
  const double CX = (ARect.left + ARect.right) / 2.0, CY = (ARect.top + ARect.bottom) / 2.0;
  const double RX = cxRectWidth(ARect) / 2.0, RY = cxRectHeight(ARect) / 2.0;
  std::array<TcxModernClockHand, 3> Result{};
  for (int I = 0; I < 3; ++I) {
    const double Cos = std::cos(Angles[I]), Sin = std::sin(Angles[I]);
    Result[I].Angle = Angles[I];
    Result[I].Width = Widths[I];
    Result[I].Start = {static_cast<Single>(CX - Starts[I] * RX * Cos),
                       static_cast<Single>(CY - Starts[I] * RY * Sin)};
    Result[I].Finish = {static_cast<Single>(CX + Ends[I] * RX * Cos),
                        static_cast<Single>(CY + Ends[I] * RY * Sin)};
  }
  return Result;
}

void TcxCustomLookAndFeelPainter::DrawScaledModernClockHands(TcxCanvas* ACanvas, const TRect& ARect,
                                                             TDateTime ADateTime, TColor AColor,
                                                             const TdxScaleFactor* AScaleFactor) {
  const TdxAlphaColor Color = dxColorToAlphaColor(AColor, 255);
  PaintWithGdiPlus(ACanvas, ARect, [&](TdxGPPaintCanvas* GP) {
    const TdxGPSmoothingMode Mode = GP->SmoothingMode();
    GP->SetSmoothingMode(smAntiAlias);
    auto Restore = Finally([GP, Mode] { GP->SetSmoothingMode(Mode); });
    for (const TcxModernClockHand& Hand : cxModernClockHands(ARect, ADateTime))
      GP->Line(Hand.Start.X, Hand.Start.Y, Hand.Finish.X, Hand.Finish.Y, Color,
               static_cast<Single>(Hand.Width) * PenWidth(AScaleFactor));
  });
}

TColor TcxCustomLookAndFeelPainter::GetModernCalendarCellTextColor(
    TcxCalendarElementStates AStates) {
  if (AStates.Contains(cesDisabled)) return clGrayText;
  if (AStates.Contains(cesHot) || (AStates.Contains(cesMarked) && !AStates.Contains(cesSelected)))
    return GetModernCalendarSelectedTextColor();
  return clBtnText;
}

TColor TcxCustomLookAndFeelPainter::GetModernCalendarDateHeaderTextColor(
    TcxCalendarElementStates AStates, bool) {
  if (AStates == TcxCalendarElementStates{cesHot}) return GetModernCalendarSelectedTextColor();
  return DefaultDateNavigatorHeaderTextColor(false);
}

TColor TcxCustomLookAndFeelPainter::GetModernCalendarHeaderTextColor(TcxCalendarElementStates) {
  return clHotLight;
}

TRect TcxCustomLookAndFeelPainter::GetModernCalendarHeaderTextOffsets() { return cxNullRect; }

TColor TcxCustomLookAndFeelPainter::GetModernCalendarMarkedCellBorderColor() { return clHotLight; }

TColor TcxCustomLookAndFeelPainter::GetModernCalendarSelectedTextColor() { return clHotLight; }

// ---------------------------------------------------------------------------
// Galleries
TColor TcxCustomLookAndFeelPainter::GetColorGalleryGlyphFrameColor() { return 0x00E2E4E6; }

TRect TcxCustomLookAndFeelPainter::GetGalleryGroupHeaderContentOffsets() {
  return GetGalleryScaledGroupHeaderContentOffsets(dxDefaultScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::GetGalleryScaledGroupHeaderContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxRect(7, 2, 7, 2));
}

TColor TcxCustomLookAndFeelPainter::GetGalleryGroupTextColor() { return clDefault; }

TColor TcxCustomLookAndFeelPainter::GetGalleryItemImageFrameColor() { return clBtnShadow; }

TColor TcxCustomLookAndFeelPainter::GetGalleryItemCaptionTextColor(const TdxGalleryItemViewState&) {
  return clWindowText;
}

TColor TcxCustomLookAndFeelPainter::GetGalleryItemDescriptionTextColor(
    const TdxGalleryItemViewState&) {
  return clGrayText;
}

IdxColorPalette* TcxCustomLookAndFeelPainter::GetGalleryItemColorPalette(
    const TdxGalleryItemViewState&) {
  return nullptr;
}

void TcxCustomLookAndFeelPainter::DrawGalleryBackground(TcxCanvas* ACanvas, const TRect& ABounds) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ABounds, dxGalleryBackgroundColor);
}

void TcxCustomLookAndFeelPainter::DrawGalleryGroupHeader(TcxCanvas* ACanvas, const TRect& ABounds) {
  DrawScaledHeader(ACanvas, ABounds, ABounds, TcxNeighbors{nLeft, nTop, nRight, nBottom},
                   cxBordersAll(), cxbsNormal, taLeftJustify, vaCenter, false, false, String(),
                   nullptr, clNone, DefaultHeaderColor(), dxDefaultScaleFactor(), nullptr, false,
                   false);
}

void TcxCustomLookAndFeelPainter::DrawGalleryItemSelection(
    TcxCanvas* ACanvas, const TRect& R, const TdxGalleryItemViewState& AViewState) {
  Byte Alpha;
  if (AViewState.Checked)
    Alpha = AViewState.Pressed ? 128 : AViewState.Hover ? 96 : 16;
  else
    Alpha = AViewState.Pressed ? 64 : AViewState.Hover ? 32 : 0;
  if (Alpha != 0) dxGpFillRect(ACanvas->Handle(), R, dxGalleryBasicBackgroundColor, Alpha);
  TColor Frame = clNone;
  if (AViewState.Focused)
    Frame = dxGalleryFocusRectColor;
  else if (AViewState.Checked)
    Frame = dxGetColorTint(dxGalleryFocusRectColor, AViewState.Pressed ? -20
                                                    : AViewState.Hover ? 10
                                                                       : 80);
  else if (AViewState.Pressed)
    Frame = dxGetColorTint(dxGalleryFocusRectColor, 20);
  else if (AViewState.Hover)
    Frame = dxGalleryMouseHoverFrameRectColor;
  if (Frame != clNone) ACanvas->FrameRect(R, Frame, 2);
}

bool TcxCustomLookAndFeelPainter::DrawGalleryItemSelectionFirst() { return false; }

void TcxCustomLookAndFeelPainter::DrawGalleryItemImageFrame(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FrameRect(R, Resolved(GetGalleryItemImageFrameColor()));
}

void TcxCustomLookAndFeelPainter::DrawColorGalleryItemSelection(
    TcxCanvas* ACanvas, const TRect& R, const TdxGalleryItemViewState& AViewState) {
  if (!AViewState.Checked && !AViewState.Hover && !AViewState.Pressed && !AViewState.Focused)
    return;
  const TColor Outer = AViewState.Checked   ? TColor(0x001048EF)
                       : AViewState.Pressed ? TColor(0x000022EF)
                                            : TColor(0x003694F2);
  ACanvas->FrameRect(R, Outer);
  ACanvas->FrameRect(cxRectInflate(R, -1, -1), 0x0094E2FF);
}

// ---------------------------------------------------------------------------
// Rating control, fixed-group indicator, wheel picker
void TcxCustomLookAndFeelPainter::DrawRatingControlIndicator(
    TcxCanvas* ACanvas, const TRect& ABounds, TdxRatingControlIndicatorState AState) {
  DrawRatingControlScaledIndicator(ACanvas, ABounds, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawRatingControlScaledIndicator(
    TcxCanvas* ACanvas, const TRect& ABounds, TdxRatingControlIndicatorState AState,
    const TdxScaleFactor*) {
  static constexpr Integer Frames[] = {0, 2, 1};
  TdxSmartImage* Image = GetRatingControlIndicator();
  const TSize Size = Image->Size();
  const Integer Height = Size.cy / 3;
  Image->StretchDraw(ACanvas->Handle(), ABounds,
                     cxRect(0, Frames[AState] * Height, Size.cx, (Frames[AState] + 1) * Height));
}

IdxColorPalette* TcxCustomLookAndFeelPainter::GetRatingControlIndicatorColorPalette() {
  return nullptr;
}

TSize TcxCustomLookAndFeelPainter::GetRatingControlIndicatorSize() {
  return GetRatingControlScaledIndicatorSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetRatingControlScaledIndicatorSize(
    const TdxScaleFactor* AScaleFactor) {
  const TSize Size = GetRatingControlIndicator()->Size();
  return AScaleFactor->Apply(TSize{Size.cx, Size.cy / 3});
}

void TcxCustomLookAndFeelPainter::DrawFixedGroupIndicator(TcxCanvas* ACanvas,
                                                          const TRect& ABounds) {
  DrawScaledFixedGroupIndicator(ACanvas, ABounds, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledFixedGroupIndicator(TcxCanvas* ACanvas,
                                                                const TRect& ABounds,
                                                                const TdxScaleFactor*) {
  GetFixedGroupIndicator()->StretchDraw(ACanvas->Handle(), ABounds);
}

TSize TcxCustomLookAndFeelPainter::GetFixedGroupIndicatorSize() {
  return GetScaledFixedGroupIndicatorSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetScaledFixedGroupIndicatorSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(GetFixedGroupIndicator()->Size());
}

TColor TcxCustomLookAndFeelPainter::GetWheelPickerBorderItemColor(TcxButtonState AState) {
  return AState == cxbsHot       ? TColor(0x00D9D9D9)
         : AState == cxbsPressed ? TColor(0x00E7C9BC)
                                 : TColor(clDefault);
}

TColor TcxCustomLookAndFeelPainter::GetWheelPickerFillItemColor(TcxButtonState AState) {
  return AState == cxbsHot       ? TColor(0x00F2F0EF)
         : AState == cxbsPressed ? TColor(0x00FDEAE2)
                                 : TColor(clDefault);
}

IdxColorPalette* TcxCustomLookAndFeelPainter::GetWheelPickerColorPalette() { return nullptr; }

void TcxCustomLookAndFeelPainter::DrawWheelPickerItem(TcxCanvas* ACanvas, const TRect& ARect,
                                                      TcxButtonState AState) {
  DrawWheelPickerItemBackground(ACanvas, ARect, AState);
  DrawWheelPickerItemBorder(ACanvas, ARect, AState);
}

void TcxCustomLookAndFeelPainter::DrawWheelPickerItemBackground(TcxCanvas* ACanvas,
                                                                const TRect& ARect,
                                                                TcxButtonState AState) {
  // The default colour leaves the canvas's own brush.
  ACanvas->FillRect(ARect, GetWheelPickerFillItemColor(AState));
}

void TcxCustomLookAndFeelPainter::DrawWheelPickerItemBorder(TcxCanvas* ACanvas, const TRect& ARect,
                                                            TcxButtonState AState) {
  ACanvas->FrameRect(ARect, Resolved(GetWheelPickerBorderItemColor(AState)));
}

// ---------------------------------------------------------------------------
// Rich edit
TColor TcxCustomLookAndFeelPainter::RichEditControlHeaderFooterLineColor() { return clBtnShadow; }
TColor TcxCustomLookAndFeelPainter::RichEditControlHeaderFooterMarkBackColor() {
  return DefaultControlColor();
}
TColor TcxCustomLookAndFeelPainter::RichEditControlHeaderFooterMarkTextColor() {
  return DefaultControlTextColor();
}
TColor TcxCustomLookAndFeelPainter::RichEditRulerControlColor() { return DefaultControlColor(); }
TColor TcxCustomLookAndFeelPainter::RichEditRulerActiveAreaColor() { return DefaultContentColor(); }
TColor TcxCustomLookAndFeelPainter::RichEditRulerDefaultTabColor() { return clBtnShadow; }
TColor TcxCustomLookAndFeelPainter::RichEditRulerInactiveAreaColor() { return clBtnShadow; }
TColor TcxCustomLookAndFeelPainter::RichEditRulerTabTypeToggleBorderColor() { return cl3DDkShadow; }
TColor TcxCustomLookAndFeelPainter::RichEditRulerTextColor() { return DefaultControlTextColor(); }

// ---------------------------------------------------------------------------
// Tokens
void TcxCustomLookAndFeelPainter::DrawTokenBackground(TcxCanvas* ACanvas, const TRect& R,
                                                      TcxButtonState AState) {
  DrawScaledTokenBackground(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledTokenBackground(TcxCanvas* ACanvas, const TRect& R,
                                                            TcxButtonState AState,
                                                            const TdxScaleFactor* AScaleFactor) {
  TClipRegionSaver KeepClip(ACanvas);
  ACanvas->FrameRect(R, Resolved(clBtnShadow));
  if (IsQuietButton(AState)) return;
  ACanvas->IntersectClipRect(cxRectInflate(R, -1, -1));
  DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, clDefault, clDefault, false,
                   false, cxbpButton);
}

void TcxCustomLookAndFeelPainter::DrawTokenCloseGlyph(TcxCanvas* ACanvas, const TRect& R,
                                                      TcxButtonState AState) {
  DrawScaledTokenCloseGlyph(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledTokenCloseGlyph(TcxCanvas* ACanvas, const TRect& R,
                                                            TcxButtonState AState,
                                                            const TdxScaleFactor* AScaleFactor) {
  DrawScaledButtonCrossEx(ACanvas, R, GetTokenTextColor(AState), AState, cxTokenCloseGlyphCrossSize,
                          AScaleFactor);
}

TSize TcxCustomLookAndFeelPainter::GetTokenCloseGlyphSize() {
  return GetScaledTokenCloseGlyphSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetScaledTokenCloseGlyphSize(
    const TdxScaleFactor* AScaleFactor) {
  TSize Size = AScaleFactor->Apply(TSize{12, 11});
  Integer Width = Size.cx;
  dxAdjustToTouchableSize(Width, AScaleFactor);
  return TSize{Width, Size.cy};
}

TRect TcxCustomLookAndFeelPainter::GetTokenContentOffsets() {
  return GetScaledTokenContentOffsets(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::GetScaledTokenContentOffsets(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxRect(3, 3, 3, 3));
}

TSize TcxCustomLookAndFeelPainter::GetTokenDefaultGlyphSize() {
  return GetScaledTokenDefaultGlyphSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetScaledTokenDefaultGlyphSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{12, 12});
}

IdxColorPalette* TcxCustomLookAndFeelPainter::GetTokenColorPalette(TcxButtonState) {
  return nullptr;
}

TColor TcxCustomLookAndFeelPainter::GetTokenTextColor(TcxButtonState AState) {
  return ButtonSymbolColor(AState, clDefault);
}

// ---------------------------------------------------------------------------
// The painters' own
// A sunken frame; hot tokens stand out of it, pressed ones sink further.
void TcxStandardLookAndFeelPainter::DrawScaledTokenBackground(TcxCanvas* ACanvas, const TRect& R,
                                                              TcxButtonState AState,
                                                              const TdxScaleFactor*) {
  ACanvas->DrawComplexFrame(R, clBtnShadow, clBtnHighlight);
  const TRect Inner = cxRectInflate(R, -1, -1);
  if (AState == cxbsHot)
    ACanvas->DrawComplexFrame(Inner, clBtnHighlight, clBtnShadow);
  else if (AState == cxbsPressed)
    ACanvas->DrawComplexFrame(Inner, clBtnShadow, clBtnHighlight);
}

void TcxUltraFlatLookAndFeelPainter::DrawScaledTokenBackground(TcxCanvas* ACanvas, const TRect& R,
                                                               TcxButtonState AState,
                                                               const TdxScaleFactor*) {
  const bool Highlighted = AState == cxbsHot || AState == cxbsPressed;
  ACanvas->FrameRect(R, Resolved(Highlighted ? clHighlight : clBtnShadow));
  if (IsQuietButton(AState)) return;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRectInflate(R, -1, -1), ButtonColor(AState));
}

void TcxOffice11LookAndFeelPainter::DrawScaledTokenBackground(TcxCanvas* ACanvas, const TRect& R,
                                                              TcxButtonState AState,
                                                              const TdxScaleFactor*) {
  ACanvas->FrameRect(R, Resolved(dxOffice11ControlBorderColor));
  if (AState == cxbsHot)
    Office11FillTubeGradientRect(ACanvas->Handle(), cxRectInflate(R, -1, -1),
                                 dxOffice11SelectedColor1, dxOffice11SelectedColor2, false);
  else if (AState == cxbsPressed)
    Office11FillTubeGradientRect(ACanvas->Handle(), cxRectInflate(R, -1, -1), dxOffice11DownedColor,
                                 dxOffice11SelectedColor1, false);
}

TColor TcxOffice11LookAndFeelPainter::RichEditControlHeaderFooterLineColor() {
  return dxOffice11DockColor1;
}

TColor TcxOffice11LookAndFeelPainter::RichEditControlHeaderFooterMarkBackColor() {
  return dxOffice11DockColor2;
}

TColor TcxOffice11LookAndFeelPainter::RichEditRulerInactiveAreaColor() {
  return dxOffice11DockColor1;
}

TColor TcxOffice11LookAndFeelPainter::RichEditRulerTabTypeToggleBorderColor() {
  return dxOffice11DropDownBorderColor1;
}

TSize TcxOffice11LookAndFeelPainter::ScaledClockSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(GetClockFace()->Size());
}

void TcxOffice11LookAndFeelPainter::DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect,
                                                    TDateTime ADateTime, TColor ABackgroundColor,
                                                    const TdxScaleFactor* AScaleFactor) {
  DrawModernCalendarClock(ACanvas, ARect, ADateTime, ABackgroundColor, AScaleFactor);
}
