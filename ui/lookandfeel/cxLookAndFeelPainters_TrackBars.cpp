#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
constexpr Integer cxRangeControlScrollAreaHeight = 11;
constexpr TSize cxRangeControlSizingGlyphSize{5, 9};
constexpr TSize cxRangeControlThumbSize{11, 19};
// The ruler header's faces while it has no colour of its own.
constexpr TdxAlphaColor cxRangeControlRulerHeaderHotColor = TdxAlphaColor(0xFFE2EAFD);
constexpr TdxAlphaColor cxRangeControlRulerHeaderColor = TdxAlphaColor(0xFFFFFFFF);

// A thumb's outline: the bevel's three polylines and the face.
struct TThumbOutline {
  TcxArrowPoints Light, Dark, Shadow, Polygon;
};

// The pointed thumb of a track bar, pointing at its ticks.
TThumbOutline ThumbOutline(const TRect& R, bool AHorizontal, bool APointsDown) {
  const Integer L = R.left, T = R.top, Rt = R.right, B = R.bottom;
  if (AHorizontal && APointsDown) {
    const Integer M = (Rt - L) / 2, Xm = L + M, Ym = B - M;
    return {{{Rt, T}, {L, T}, {L, Ym}, {Xm, B}},
            {{Xm, B}, {Rt, Ym}, {Rt, T}},
            {{Xm, B - 1}, {Rt - 1, Ym}, {Rt - 1, T}},
            {{Rt - 1, T + 1}, {L + 1, T + 1}, {L + 1, Ym}, {Xm, B - 1}, {Rt - 1, Ym}}};
  }
  if (!AHorizontal && APointsDown) {  // pointing right
    const Integer M = (B - T) / 2, Xm = Rt - M, Ym = T + M;
    return {{{L, B}, {L, T}, {Xm, T}, {Rt, Ym}},
            {{Rt, Ym}, {Xm, B}, {L, B}},
            {{Rt - 1, Ym}, {Xm, B - 1}, {L, B - 1}},
            {{L + 1, B - 1}, {L + 1, T + 1}, {Xm, T + 1}, {Rt - 1, Ym}, {Xm, B - 1}}};
  }
  if (AHorizontal) {  // pointing up
    const Integer M = (Rt - L) / 2, Xm = L + M, Ym = T + M - 1;
    return {{{L, B - 1}, {L, Ym}, {Xm, T - 1}},
            {{Xm, T - 1}, {Rt, Ym}, {Rt, B - 1}, {L, B - 1}},
            {{Xm, T}, {Rt - 1, Ym}, {Rt - 1, B - 2}, {L, B - 2}},
            {{Rt - 1, B - 2}, {L + 1, B - 2}, {L + 1, Ym}, {Xm, T}, {Rt - 1, Ym}}};
  }
  // pointing left
  const Integer M = (B - T) / 2, Xm = L + M - 1, Ym = T + M;
  return {{{Rt - 1, T}, {Xm, T}, {L - 1, Ym}},
          {{L - 1, Ym}, {Xm, B}, {Rt - 1, B}, {Rt - 1, T}},
          {{L, Ym}, {Xm, B - 1}, {Rt - 2, B - 1}, {Rt - 2, T}},
          {{Rt - 2, B - 1}, {Rt - 2, T + 1}, {Xm, T + 1}, {L, Ym}, {Xm, B - 1}}};
}

// The half thumbs of a range track bar: cut on the side away from the
// other thumb, so that the two face each other.
TThumbOutline HalfThumbOutline(const TRect& R, bool ALeft, bool AHorizontal, bool APointsDown) {
  const Integer L = R.left, T = R.top, Rt = R.right, B = R.bottom;
  const Integer W = Rt - L, H = B - T, Yd = B - W, Xd = Rt - H, Yu = T + W - 1, Xu = L + H - 1;
  if (ALeft) {
    if (AHorizontal && APointsDown)
      return {{{Rt, T}, {L, T}, {L, Yd}, {Rt, B}},
              {{Rt, B}, {Rt, T}},
              {{Rt - 1, B - 1}, {Rt - 1, Yd}, {Rt - 1, T}},
              {{Rt - 1, T + 1}, {L + 1, T + 1}, {L + 1, Yd}, {Rt - 1, B - 1}}};
    if (!AHorizontal && APointsDown)
      return {{{L, B}, {L, T}, {Xd, T}, {Rt, B}},
              {{Rt, B}, {L, B}},
              {{Rt - 1, B - 1}, {L, B - 1}},
              {{L + 1, B - 1}, {L + 1, T + 1}, {Xd, T + 1}, {Rt - 1, B - 1}}};
    if (AHorizontal)
      return {{{L, B - 1}, {L, Yu}, {Rt, T - 1}},
              {{Rt, T - 1}, {Rt, B - 1}, {L, B - 1}},
              {{Rt - 1, T}, {Rt - 1, B - 2}, {L, B - 2}},
              {{Rt - 1, B - 2}, {L + 1, B - 2}, {L + 1, Yu}, {Rt - 1, T}}};
    return {{{Rt - 1, T}, {Xu, T}, {L - 1, B}},
            {{L - 1, B}, {Rt - 1, B}, {Rt - 1, T}},
            {{L, B - 1}, {Rt - 2, B - 1}, {Rt - 2, T}},
            {{Rt - 2, B - 1}, {Rt - 2, T + 1}, {Xu, T + 1}, {L, B - 1}}};
  }
  if (AHorizontal && APointsDown)
    return {{{Rt, T}, {L, T}, {L, B}},
            {{L, B}, {Rt, Yd}, {Rt, T}},
            {{L, B - 1}, {Rt - 1, Yd}, {Rt - 1, T}},
            {{Rt - 1, T + 1}, {L + 1, T + 1}, {L + 1, B - 1}, {Rt - 1, Yd}}};
  if (!AHorizontal && APointsDown)
    return {{{L, B}, {L, T}, {Rt, T}},
            {{Rt, T}, {Xd, B}, {L, B}},
            {{Rt - 1, T}, {Xd, B - 1}, {L, B - 1}},
            {{L + 1, B - 1}, {L + 1, T + 1}, {Rt - 1, T + 1}, {Xd, B - 1}}};
  if (AHorizontal)
    return {{{L, B - 1}, {L, T - 1}},
            {{L, T - 1}, {Rt, Yu}, {Rt, B - 1}, {L, B - 1}},
            {{L, T}, {Rt - 1, Yu}, {Rt - 1, B - 2}, {L, B - 2}},
            {{Rt - 1, B - 2}, {L + 1, B - 2}, {L + 1, T}, {Rt - 1, Yu}}};
  return {{{Rt - 1, T}, {L - 1, T}},
          {{L - 1, T}, {Xu, B}, {Rt - 1, B}, {Rt - 1, T}},
          {{L, T}, {Xu, B - 1}, {Rt - 2, B - 1}, {Rt - 2, T}},
          {{Rt - 2, B - 1}, {Rt - 2, T + 1}, {L, T + 1}, {Xu, B - 1}}};
}

// The colour as GDI+ takes it: a top byte other than 0 is the alpha, but
// a system colour is resolved and opaque.
TdxAlphaColor RangeColor(TColor AColor) {
  const Cardinal V = static_cast<Cardinal>(AColor);
  const Byte Top = static_cast<Byte>(V >> 24);
  if (Top == 0 || (Top == 0xFF && (V & 0xFFFFFF) <= COLOR_MENUBAR))
    return dxColorToAlphaColor(AColor, 255);
  return dxMakeAlphaColor(Top, GetRValue(V), GetGValue(V), GetBValue(V));
}

void Polyline(TcxCanvas* ACanvas, const TcxArrowPoints& APoints, TColor AColor) {
  if (APoints.size() < 2) return;
  SetPenColor(ACanvas, AColor);
  ACanvas->Polyline(APoints);
}

void DrawRangeControlThumb(TcxCanvas* ACanvas, const TRect& ARect, TColor AColor,
                           TColor ABorderColor, const TdxScaleFactor* AScaleFactor) {
  const TdxAlphaColor Face =
      AColor == clDefault ? dxMakeAlphaColor(255, 255, 255, 255) : dxColorToAlphaColor(AColor, 255);
  const TdxAlphaColor Border = RangeColor(ABorderColor);
  const Integer Two = AScaleFactor->Apply(2);
  TRect Block = cxRectCenter(ARect, 2 * Two + 1, cxRectHeight(ARect) - AScaleFactor->Apply(8));
  PaintWithGdiPlus(ACanvas, ARect, [&](TdxGPPaintCanvas* GP) {
    GP->Rectangle(ARect, Border, Face, 1);
    for (Integer I = 0; I < 3; ++I) {
      const Single X = static_cast<Single>(Block.left + I * Two);
      GP->Line(X, static_cast<Single>(Block.top), X, static_cast<Single>(Block.bottom - 1), Border,
               PenWidth(AScaleFactor));
    }
  });
}
}  // namespace

// ---------------------------------------------------------------------------
// Track bar
void TcxCustomLookAndFeelPainter::CorrectThumbRect(TcxCanvas*, TRect& ARect, bool,
                                                   TcxTrackBarTicksAlign) {
  ++ARect.right;
  ++ARect.bottom;
}

void TcxCustomLookAndFeelPainter::DrawTrackBarTrack(TcxCanvas* ACanvas, const TRect& ARect,
                                                    const TRect& ASelection, bool AShowSelection,
                                                    bool AEnabled, bool AHorizontal,
                                                    TColor ATrackColor) {
  DrawTrackBarScaledTrack(ACanvas, ARect, ASelection, AShowSelection, AEnabled, AHorizontal,
                          ATrackColor, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawTrackBarScaledTrack(TcxCanvas* ACanvas, const TRect& ARect,
                                                          const TRect&, bool, bool, bool,
                                                          TColor ATrackColor,
                                                          const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, ATrackColor);
  DrawTrackBarTrackBounds(ACanvas, ARect);
}

void TcxCustomLookAndFeelPainter::DrawTrackBarTrackBounds(TcxCanvas*, const TRect&) {}

void TcxCustomLookAndFeelPainter::DrawTrackBarThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                                    TcxButtonState AState, bool AHorizontal,
                                                    TcxTrackBarTicksAlign ATicks,
                                                    TColor AThumbColor) {
  DrawTrackBarScaledThumb(ACanvas, ARect, AState, AHorizontal, ATicks, AThumbColor,
                          dxSystemScaleFactor());
}

namespace {
void DrawThumb(TcxCustomLookAndFeelPainter* APainter, TcxCanvas* ACanvas, const TRect& ARect,
               TcxTrackBarTicksAlign ATicks, TColor AThumbColor, const TThumbOutline& AOutline) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->SetBrushColor(Resolved(AThumbColor));
  SetPenColor(ACanvas, AThumbColor);
  if (ATicks == tbtaBoth) {
    ACanvas->FillRect(ARect, AThumbColor);
    APainter->DrawTrackBarThumbBorderBoth(ACanvas, ARect);
    return;
  }
  ACanvas->Polygon(AOutline.Polygon);
  APainter->DrawTrackBarThumbBorderUpDown(ACanvas, AOutline.Light, AOutline.Shadow, AOutline.Dark);
}
}  // namespace

void TcxCustomLookAndFeelPainter::DrawTrackBarScaledThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                                          TcxButtonState, bool AHorizontal,
                                                          TcxTrackBarTicksAlign ATicks,
                                                          TColor AThumbColor,
                                                          const TdxScaleFactor*) {
  DrawThumb(this, ACanvas, ARect, ATicks, AThumbColor,
            ThumbOutline(ARect, AHorizontal, ATicks == tbtaDown));
}

void TcxCustomLookAndFeelPainter::DrawTrackBarThumbBorderUpDown(TcxCanvas*, const TcxArrowPoints&,
                                                                const TcxArrowPoints&,
                                                                const TcxArrowPoints&) {}

void TcxCustomLookAndFeelPainter::DrawTrackBarThumbBorderBoth(TcxCanvas*, const TRect&) {}

TSize TcxCustomLookAndFeelPainter::TrackBarThumbSize(bool AHorizontal) {
  return TrackBarScaledThumbSize(AHorizontal, dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::TrackBarScaledThumbSize(bool, const TdxScaleFactor*) {
  return TSize{0, 0};
}

Integer TcxCustomLookAndFeelPainter::TrackBarTrackSize() {
  return TrackBarScaledTrackSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::TrackBarScaledTrackSize(const TdxScaleFactor*) { return 0; }

TColor TcxCustomLookAndFeelPainter::TrackBarTicksColor(bool) { return clDefault; }

// ---------------------------------------------------------------------------
// Range track bar
TRect TcxCustomLookAndFeelPainter::GetRangeTrackBarThumbDrawRect(const TRect& R,
                                                                 TcxTrackBarTicksAlign ATicks,
                                                                 bool AHorizontal) {
  TRect Result = R;
  if (ATicks != tbtaBoth) --(AHorizontal ? Result.right : Result.bottom);
  return Result;
}

TSize TcxCustomLookAndFeelPainter::RangeTrackBarLeftThumbSize(bool AHorizontal,
                                                              TcxTrackBarTicksAlign ATicks) {
  return RangeTrackBarScaledLeftThumbSize(AHorizontal, ATicks, dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::RangeTrackBarScaledLeftThumbSize(bool, TcxTrackBarTicksAlign,
                                                                    const TdxScaleFactor*) {
  return TSize{0, 0};
}

TSize TcxCustomLookAndFeelPainter::RangeTrackBarRightThumbSize(bool AHorizontal,
                                                               TcxTrackBarTicksAlign ATicks) {
  return RangeTrackBarScaledRightThumbSize(AHorizontal, ATicks, dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::RangeTrackBarScaledRightThumbSize(bool, TcxTrackBarTicksAlign,
                                                                     const TdxScaleFactor*) {
  return TSize{0, 0};
}

void TcxCustomLookAndFeelPainter::DrawRangeTrackBarLeftThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                                             TcxButtonState AState,
                                                             bool AHorizontal,
                                                             TcxTrackBarTicksAlign ATicks,
                                                             TColor AThumbColor) {
  DrawRangeTrackBarScaledLeftThumb(ACanvas, ARect, AState, AHorizontal, ATicks, AThumbColor,
                                   dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawRangeTrackBarScaledLeftThumb(
    TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState, bool AHorizontal,
    TcxTrackBarTicksAlign ATicks, TColor AThumbColor, const TdxScaleFactor*) {
  TRect R = GetRangeTrackBarThumbDrawRect(ARect, ATicks, AHorizontal);
  DrawThumb(this, ACanvas, R, ATicks, AThumbColor,
            HalfThumbOutline(R, true, AHorizontal, ATicks == tbtaDown));
}

void TcxCustomLookAndFeelPainter::DrawRangeTrackBarRightThumb(
    TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
    TcxTrackBarTicksAlign ATicks, TColor AThumbColor) {
  DrawRangeTrackBarScaledRightThumb(ACanvas, ARect, AState, AHorizontal, ATicks, AThumbColor,
                                    dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawRangeTrackBarScaledRightThumb(
    TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState, bool AHorizontal,
    TcxTrackBarTicksAlign ATicks, TColor AThumbColor, const TdxScaleFactor*) {
  TRect R = GetRangeTrackBarThumbDrawRect(ARect, ATicks, AHorizontal);
  DrawThumb(this, ACanvas, R, ATicks, AThumbColor,
            HalfThumbOutline(R, false, AHorizontal, ATicks == tbtaDown));
}

// ---------------------------------------------------------------------------
// Range control
void TcxCustomLookAndFeelPainter::DrawRangeControlLeftThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                                            TColor AColor, TColor ABorderColor) {
  DrawRangeControlScaledLeftThumb(ACanvas, ARect, AColor, ABorderColor, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawRangeControlScaledLeftThumb(
    TcxCanvas* ACanvas, const TRect& ARect, TColor AColor, TColor ABorderColor,
    const TdxScaleFactor* AScaleFactor) {
  DrawRangeControlThumb(ACanvas, ARect, AColor, ABorderColor, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawRangeControlRightThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                                             TColor AColor, TColor ABorderColor) {
  DrawRangeControlScaledRightThumb(ACanvas, ARect, AColor, ABorderColor, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawRangeControlScaledRightThumb(
    TcxCanvas* ACanvas, const TRect& ARect, TColor AColor, TColor ABorderColor,
    const TdxScaleFactor* AScaleFactor) {
  DrawRangeControlThumb(ACanvas, ARect, AColor, ABorderColor, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawRangeControlRulerHeader(TcxCanvas* ACanvas,
                                                              const TRect& ARect, bool AIsHot,
                                                              TColor AColor, TColor ABorderColor) {
  DrawRangeControlScaledRulerHeader(ACanvas, ARect, AIsHot, AColor, ABorderColor,
                                    dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawRangeControlScaledRulerHeader(
    TcxCanvas* ACanvas, const TRect& ARect, bool AIsHot, TColor AColor, TColor ABorderColor,
    const TdxScaleFactor* AScaleFactor) {
  const bool Default = static_cast<Cardinal>(AColor) == dxAlphaColorValue(dxacDefault);
  const TdxAlphaColor Face = !Default ? RangeColor(AColor)
                             : AIsHot ? cxRangeControlRulerHeaderHotColor
                                      : cxRangeControlRulerHeaderColor;
  const TdxAlphaColor Border = RangeColor(ABorderColor);
  PaintWithGdiPlus(ACanvas, ARect, [&](TdxGPPaintCanvas* GP) {
    GP->FillRectangle(ARect, Face);
    const Single L = static_cast<Single>(ARect.left), T = static_cast<Single>(ARect.top),
                 R = static_cast<Single>(ARect.right), B = static_cast<Single>(ARect.bottom);
    // One pixel at every factor.
    GP->Line(L, T, L, B - 1, Border, 1);
    GP->Line(L, B - 1, R - 1, B - 1, Border, 1);
  });
}

void TcxCustomLookAndFeelPainter::DrawRangeControlSizingGlyph(TcxCanvas* ACanvas,
                                                              const TRect& ARect,
                                                              TColor ABorderColor) {
  DrawRangeControlScaledSizingGlyph(ACanvas, ARect, ABorderColor, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawRangeControlScaledSizingGlyph(
    TcxCanvas* ACanvas, const TRect& ARect, TColor ABorderColor,
    const TdxScaleFactor* AScaleFactor) {
  TRect Block =
      cxRectCenter(ARect, AScaleFactor->Apply(1), cxRectHeight(ARect) - AScaleFactor->Apply(4));
  PaintWithGdiPlus(ACanvas, ARect, [&](TdxGPPaintCanvas* GP) {
    const Single X = static_cast<Single>(Block.left);
    GP->Line(X, static_cast<Single>(Block.top), X, static_cast<Single>(Block.bottom - 1),
             RangeColor(ABorderColor), PenWidth(AScaleFactor));
  });
}

Integer TcxCustomLookAndFeelPainter::GetRangeControlScrollAreaHeight() {
  return GetRangeControlScaledScrollAreaHeight(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::GetRangeControlScaledScrollAreaHeight(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxRangeControlScrollAreaHeight);
}

TSize TcxCustomLookAndFeelPainter::GetRangeControlSizingGlyphSize() {
  return GetRangeControlScaledSizingGlyphSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetRangeControlScaledSizingGlyphSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxRangeControlSizingGlyphSize);
}

TSize TcxCustomLookAndFeelPainter::GetRangeControlThumbSize() {
  return GetRangeControlScaledThumbSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetRangeControlScaledThumbSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxRangeControlThumbSize);
}

TColor TcxCustomLookAndFeelPainter::GetRangeControlBackColor() { return clWindow; }
TColor TcxCustomLookAndFeelPainter::GetRangeControlBorderColor() { return 0xAAA09D; }
TColor TcxCustomLookAndFeelPainter::GetRangeControlDefaultElementColor() { return 0xA69A9A; }
TColor TcxCustomLookAndFeelPainter::GetRangeControlElementForeColor() { return 0xE1DEDD; }
TColor TcxCustomLookAndFeelPainter::GetRangeControlElementsBorderColor() {
  return static_cast<TColor>(0xFFB6B8BFu);
}
TColor TcxCustomLookAndFeelPainter::GetRangeControlLabelColor() { return 0xBAAEAE; }
TColor TcxCustomLookAndFeelPainter::GetRangeControlOutOfRangeColor() { return 0x1E9DA0AA; }
TColor TcxCustomLookAndFeelPainter::GetRangeControlRangePreviewColor() { return clWindow; }
TColor TcxCustomLookAndFeelPainter::GetRangeControlRulerColor() { return 0x14000000; }
TColor TcxCustomLookAndFeelPainter::GetRangeControlScrollAreaColor() { return 0xE1DEDD; }
TColor TcxCustomLookAndFeelPainter::GetRangeControlSelectedRegionBackgroundColor() {
  return 0x64A8C3F1;
}
TColor TcxCustomLookAndFeelPainter::GetRangeControlSelectedRegionBorderColor() {
  return 0x644571BA;
}
TColor TcxCustomLookAndFeelPainter::GetRangeControlViewPortPreviewColor() { return 0xF2F1F0; }

// ---------------------------------------------------------------------------
// The painters' bevels
void TcxStandardLookAndFeelPainter::DrawTrackBarTrackBounds(TcxCanvas* ACanvas,
                                                            const TRect& ARect) {
  ACanvas->DrawComplexFrame(ARect, clBtnShadow, clBtnHighlight);
  ACanvas->DrawComplexFrame(cxRectInflate(ARect, -1, -1), cl3DDkShadow, cl3DLight);
}

void TcxStandardLookAndFeelPainter::DrawTrackBarThumbBorderUpDown(
    TcxCanvas* ACanvas, const TcxArrowPoints& ALightPolyLine, const TcxArrowPoints& AShadowPolyLine,
    const TcxArrowPoints& ADarkPolyLine) {
  Polyline(ACanvas, ALightPolyLine, clBtnHighlight);
  Polyline(ACanvas, AShadowPolyLine, clBtnShadow);
  Polyline(ACanvas, ADarkPolyLine, cl3DDkShadow);
}

void TcxStandardLookAndFeelPainter::DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas,
                                                                const TRect& ARect) {
  ACanvas->DrawComplexFrame(ARect, clBtnHighlight, cl3DDkShadow);
  ACanvas->DrawComplexFrame(cxRectInflate(ARect, -1, -1), cl3DLight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) {
  ACanvas->DrawComplexFrame(ARect, clBtnShadow, clBtnHighlight);
  ACanvas->DrawComplexFrame(cxRectInflate(ARect, -1, -1), clBtnFace, clBtnFace);
}

void TcxFlatLookAndFeelPainter::DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas,
                                                              const TcxArrowPoints& ALightPolyLine,
                                                              const TcxArrowPoints&,
                                                              const TcxArrowPoints& ADarkPolyLine) {
  Polyline(ACanvas, ALightPolyLine, clBtnHighlight);
  Polyline(ACanvas, ADarkPolyLine, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas,
                                                            const TRect& ARect) {
  ACanvas->DrawComplexFrame(ARect, clBtnHighlight, clBtnShadow);
}

namespace {
// One colour for every line of the thumb's bevel and the track's frame.
void DrawOneColourUpDown(TcxCanvas* ACanvas, const TcxArrowPoints& ALight,
                         const TcxArrowPoints& ADark, TColor AColor) {
  Polyline(ACanvas, ALight, AColor);
  Polyline(ACanvas, ADark, AColor);
}
}  // namespace

void TcxUltraFlatLookAndFeelPainter::DrawTrackBarTrackBounds(TcxCanvas* ACanvas,
                                                             const TRect& ARect) {
  ACanvas->FrameRect(ARect, Resolved(clWindowText));
}

void TcxUltraFlatLookAndFeelPainter::DrawTrackBarThumbBorderUpDown(
    TcxCanvas* ACanvas, const TcxArrowPoints& ALightPolyLine, const TcxArrowPoints&,
    const TcxArrowPoints& ADarkPolyLine) {
  DrawOneColourUpDown(ACanvas, ALightPolyLine, ADarkPolyLine, clWindowText);
}

void TcxUltraFlatLookAndFeelPainter::DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas,
                                                                 const TRect& ARect) {
  ACanvas->FrameRect(ARect, Resolved(clWindowText));
}

void TcxOffice11LookAndFeelPainter::DrawTrackBarTrackBounds(TcxCanvas* ACanvas,
                                                            const TRect& ARect) {
  ACanvas->FrameRect(ARect, Resolved(clBtnText));
}

void TcxOffice11LookAndFeelPainter::DrawTrackBarThumbBorderUpDown(
    TcxCanvas* ACanvas, const TcxArrowPoints& ALightPolyLine, const TcxArrowPoints&,
    const TcxArrowPoints& ADarkPolyLine) {
  DrawOneColourUpDown(ACanvas, ALightPolyLine, ADarkPolyLine, clBtnText);
}

void TcxOffice11LookAndFeelPainter::DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas,
                                                                const TRect& ARect) {
  ACanvas->FrameRect(ARect, Resolved(clBtnText));
}
