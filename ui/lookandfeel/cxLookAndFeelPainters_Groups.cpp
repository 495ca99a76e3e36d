#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

// ---------------------------------------------------------------------------
// Group boxes
void TcxCustomLookAndFeelPainter::DrawGroupBoxBackground(TcxCanvas*, const TRect&, const TRect&) {}

void TcxCustomLookAndFeelPainter::DrawGroupBoxCaption(TcxCanvas*, const TRect&, const TRect&,
                                                      TcxGroupBoxCaptionPosition) {}

void TcxCustomLookAndFeelPainter::DrawGroupBoxContent(TcxCanvas*, const TRect&,
                                                      TcxGroupBoxCaptionPosition, TcxBorders) {}

void TcxCustomLookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas*, const TRect&, bool,
                                                    TcxGroupBoxCaptionPosition, TcxBorders) {}

void TcxCustomLookAndFeelPainter::DrawGroupBoxButton(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState) {
  DrawGroupBoxScaledButton(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawGroupBoxScaledButton(TcxCanvas* ACanvas, const TRect& R,
                                                           TcxButtonState AState,
                                                           const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, clDefault, clDefault, false,
                   false, cxbpButton);
}

void TcxCustomLookAndFeelPainter::DrawGroupBoxExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                           TcxButtonState AState, bool AExpanded,
                                                           TcxRotationAngle ARotationAngle) {
  DrawGroupBoxScaledExpandButton(ACanvas, R, AState, AExpanded, dxSystemScaleFactor(),
                                 ARotationAngle);
}

void TcxCustomLookAndFeelPainter::DrawGroupBoxScaledExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                                 TcxButtonState AState,
                                                                 bool AExpanded,
                                                                 const TdxScaleFactor* AScaleFactor,
                                                                 TcxRotationAngle ARotationAngle) {
  DrawScaledExpandButtonEx(ACanvas, R, AState, AExpanded, AScaleFactor, ARotationAngle);
}

void TcxCustomLookAndFeelPainter::DrawGroupBoxExpandGlyph(TcxCanvas* ACanvas, const TRect& R,
                                                          TcxButtonState AState, bool AExpanded) {
  DrawGroupBoxScaledExpandGlyph(ACanvas, R, AState, AExpanded, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawGroupBoxScaledExpandGlyph(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AExpanded,
    const TdxScaleFactor* AScaleFactor) {
  DrawScaledExpandMark(ACanvas, R, ButtonSymbolColor(AState), AExpanded, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::GroupBoxAdjustCaptionFont(TFont*, TcxGroupBoxCaptionPosition) {}

TRect TcxCustomLookAndFeelPainter::GroupBoxBorderSize(bool, TcxGroupBoxCaptionPosition) {
  return cxNullRect;
}

Integer TcxCustomLookAndFeelPainter::GroupBoxCaptionTailSize(TcxGroupBoxCaptionPosition) {
  return 0;
}

TColor TcxCustomLookAndFeelPainter::GroupBoxTextColor(bool AEnabled, TcxGroupBoxCaptionPosition) {
  return AEnabled ? clWindowText : clBtnShadow;
}

bool TcxCustomLookAndFeelPainter::IsGroupBoxCaptionTextDrawnOverBorder(TcxGroupBoxCaptionPosition) {
  return true;
}

bool TcxCustomLookAndFeelPainter::IsGroupBoxTransparent(bool, TcxGroupBoxCaptionPosition) {
  return false;
}

// ---------------------------------------------------------------------------
// Panels
void TcxCustomLookAndFeelPainter::DrawPanelBackground(TcxCanvas* ACanvas, TWinControl*,
                                                      const TRect& ABounds, TColor, TColor) {
  DrawGroupBoxBackground(ACanvas, ABounds, ABounds);
}

void TcxCustomLookAndFeelPainter::DrawPanelBorders(TcxCanvas*, const TRect&) {}

void TcxCustomLookAndFeelPainter::DrawPanelCaption(TcxCanvas* ACanvas, const TRect& ACaptionRect,
                                                   TcxGroupBoxCaptionPosition ACaptionPosition) {
  DrawGroupBoxCaption(ACanvas, ACaptionRect, cxNullRect, ACaptionPosition);
}

void TcxCustomLookAndFeelPainter::DrawPanelContent(TcxCanvas* ACanvas, const TRect& ARect, bool) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, clBtnFace);
}

TRect TcxCustomLookAndFeelPainter::PanelBorderSize() { return cxNullRect; }

TColor TcxCustomLookAndFeelPainter::PanelTextColor() { return GroupBoxTextColor(true, cxgpTop); }

// ---------------------------------------------------------------------------
// The painters' frames
void TcxStandardLookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool,
                                                      TcxGroupBoxCaptionPosition,
                                                      TcxBorders ABorders) {
  // An etched line; each frame leaves its lines out of the clip region.
  TRect Frame = cxRect(R.left, R.top, R.right - 1, R.bottom - 1);
  ACanvas->FrameRect(Frame, Resolved(clBtnShadow), 1, ABorders, true);
  ACanvas->FrameRect(cxRectOffset(Frame, 1, 1), Resolved(clBtnHighlight), 1, ABorders, true);
}

void TcxFlatLookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool,
                                                  TcxGroupBoxCaptionPosition, TcxBorders ABorders) {
  ACanvas->FrameRect(R, Resolved(clBtnShadow), 1, ABorders, true);
  ACanvas->FrameRect(cxRectInflate(R, -1, -1), Resolved(clBtnHighlight), 1, ABorders, true);
}

void TcxUltraFlatLookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R,
                                                       bool AEnabled, TcxGroupBoxCaptionPosition,
                                                       TcxBorders ABorders) {
  ACanvas->FrameRect(R, Resolved(AEnabled ? clHighlight : clBtnShadow), 1, ABorders);
}

namespace {
// The Office 11 look shows themed group boxes while buttons are themed and
// the Native painter is there to draw them.
TcxCustomLookAndFeelPainter* ThemedGroupBoxPainter() {
  return AreVisualStylesAvailable(totButton) ? RegisteredPainter(lfsNative) : nullptr;
}
}  // namespace

void TcxOffice11LookAndFeelPainter::DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R,
                                                      bool AEnabled,
                                                      TcxGroupBoxCaptionPosition ACaptionPosition,
                                                      TcxBorders ABorders) {
  if (TcxCustomLookAndFeelPainter* Native = ThemedGroupBoxPainter())
    Native->DrawGroupBoxFrame(ACanvas, R, AEnabled, ACaptionPosition, ABorders);
  else
    inherited::DrawGroupBoxFrame(ACanvas, R, AEnabled, ACaptionPosition, ABorders);
}

TColor TcxOffice11LookAndFeelPainter::GroupBoxTextColor(
    bool AEnabled, TcxGroupBoxCaptionPosition ACaptionPosition) {
  if (TcxCustomLookAndFeelPainter* Native = ThemedGroupBoxPainter())
    return Native->GroupBoxTextColor(AEnabled, ACaptionPosition);
  return TcxCustomLookAndFeelPainter::GroupBoxTextColor(AEnabled, ACaptionPosition);
}

void TcxOffice11LookAndFeelPainter::DrawPanelBackground(TcxCanvas* ACanvas, TWinControl* AControl,
                                                        const TRect& ABounds, TColor AColorFrom,
                                                        TColor AColorTo) {
  if (AColorFrom == clDefault) {
    cxDrawTransparentControlBackground(AControl, ACanvas, ABounds);
  } else if (AColorTo == clDefault) {
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(ABounds, AColorFrom);
  } else {
    FillGradientRect(ACanvas->Handle(), ABounds, AColorFrom, AColorTo, false);
  }
}
