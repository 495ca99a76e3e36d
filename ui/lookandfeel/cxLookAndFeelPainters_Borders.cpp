#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
// The two sides of a line: its top and bottom, or its left and right.
TcxBorders LineBorders(bool AIsVertical) {
  return AIsVertical ? TcxBorders{bLeft, bRight} : TcxBorders{bTop, bBottom};
}

}  // namespace

Integer TcxCustomLookAndFeelPainter::BorderSize() { return 0; }

Integer TcxCustomLookAndFeelPainter::SeparatorSize() { return BorderSize(); }

void TcxCustomLookAndFeelPainter::DrawBorder(TcxCanvas*, const TRect&) {}

void TcxCustomLookAndFeelPainter::DrawContainerBorder(TcxCanvas* ACanvas, const TRect& R,
                                                      TcxContainerBorderStyle AStyle,
                                                      Integer AWidth, TColor AColor,
                                                      TcxBorders ABorders) {
  switch (AStyle) {
    case cbsSingle:
    case cbsThick:
      ACanvas->FrameRect(R, Resolved(AColor), AWidth);
      break;
    case cbsFlat:
      ACanvas->DrawEdge(R, true, true, ABorders);
      ACanvas->FrameRect(cxRectInflate(R, -1, -1), Resolved(clBtnFace));
      break;
    case cbs3D:
      ACanvas->DrawEdge(R, true, true, ABorders);
      ACanvas->DrawComplexFrame(cxRectInflate(R, -1, -1), cl3DDkShadow, cl3DLight, ABorders);
      break;
    default:
      // The painters that use the other styles draw them themselves.
      break;
  }
}

TRect TcxCustomLookAndFeelPainter::GetSeparatorBounds(const TRect& R, Integer AWidth,
                                                      bool AIsVertical) {
  TRect Result = R;
  if (AIsVertical) {
    Result.left = FloorHalf(R.left + R.right) - AWidth / 2;
    Result.right = Result.left + AWidth;
  } else {
    Result.top = FloorHalf(R.top + R.bottom) - AWidth / 2;
    Result.bottom = Result.top + AWidth;
  }
  return Result;
}

void TcxCustomLookAndFeelPainter::DoDrawSeparator(TcxCanvas* ACanvas, const TRect& R, bool) {
  TRect Line = cxRect(R.left, R.top, R.right - 1, R.bottom - 1);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Line, clBtnShadow);
  ACanvas->FillRect(cxRectOffset(Line, 1, 1), clBtnHighlight);
}

void TcxCustomLookAndFeelPainter::DrawSeparator(TcxCanvas* ACanvas, const TRect& R,
                                                bool AIsVertical) {
  DoDrawSeparator(ACanvas, GetSeparatorBounds(R, SeparatorSize(), AIsVertical), AIsVertical);
}

void TcxCustomLookAndFeelPainter::DrawBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                 bool ATransparent, TColor ABackgroundColor,
                                                 TBitmap* ABackgroundBitmap) {
  if (!ATransparent) {
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(ARect, ABackgroundColor);
  } else if (ABackgroundBitmap) {
    ACanvas->FillRect(ARect, ABackgroundBitmap);
  }
}

void TcxCustomLookAndFeelPainter::DrawContent(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, Integer,
    TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
    bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
    const TcxDrawBackgroundEvent& AOnDrawBackground, bool) {
  if (!AOnDrawBackground || !AOnDrawBackground(ACanvas, ABounds)) {
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(ABounds, ABkColor);
  }
  if (AText.empty()) return;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
  auto SolidAgain = Finally([ACanvas] { ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid); });
  if (AFont) ACanvas->SetFont(AFont);
  SetFontColor(ACanvas, ATextColor);
  ACanvas->DrawTexT(AText, ATextAreaBounds,
                    cxAlignmentsHorz(AAlignmentHorz) | cxAlignmentsVert(AAlignmentVert) |
                        (AMultiLine ? cxWordBreak : cxSingleLine) |
                        (AShowEndEllipsis ? cxShowEndEllipsis : 0),
                    true);
}

void TcxCustomLookAndFeelPainter::DrawLabelLine(TcxCanvas* ACanvas, const TRect& R,
                                                TColor AOuterColor, TColor AInnerColor,
                                                bool AIsVertical) {
  ACanvas->DrawComplexFrame(R, cxGetActualColor(AOuterColor, clBtnShadow),
                            cxGetActualColor(AInnerColor, clBtnHighlight),
                            LineBorders(AIsVertical));
}

Integer TcxCustomLookAndFeelPainter::LabelLineHeight() { return 2; }

TColor TcxCustomLookAndFeelPainter::GaugeControlBackgroundColor() { return clWindow; }

void TcxCustomLookAndFeelPainter::DrawGaugeControlBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                             bool ATransparent,
                                                             TColor ABackgroundColor) {
  DrawBackground(ACanvas, ARect, ATransparent, ABackgroundColor, nullptr);
}

void TcxCustomLookAndFeelPainter::DrawBevelFrame(TcxCanvas* ACanvas, const TRect& R, TColor AColor1,
                                                 TColor AColor2, bool ABoxStyle) {
  if (AColor2 == clNone) {
    ACanvas->FrameRect(R, Resolved(AColor1));
  } else if (ABoxStyle) {
    ACanvas->DrawComplexFrame(R, AColor1, AColor2);
  } else {
    // Etched: the light frame one pixel right and down under the dark one.
    ACanvas->FrameRect(cxRect(R.left + 1, R.top + 1, R.right, R.bottom), Resolved(AColor2));
    ACanvas->FrameRect(cxRect(R.left, R.top, R.right - 1, R.bottom - 1), Resolved(AColor1));
  }
}

void TcxCustomLookAndFeelPainter::DrawBevelLine(TcxCanvas* ACanvas, const TRect& R, TColor AColor1,
                                                TColor AColor2, bool AIsVertical) {
  if (AColor2 == clNone) {
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(R, AColor1);
  } else {
    ACanvas->DrawComplexFrame(R, AColor1, AColor2, LineBorders(AIsVertical));
  }
}

void TcxCustomLookAndFeelPainter::DrawBevelShape(TcxCanvas* ACanvas, const TRect& R,
                                                 TdxBevelShape AShape, TdxBevelStyle AStyle) {
  TSize Size = GetBevelMinimalShapeSize(AShape);
  TColor C1, C2;
  GetBevelShapeColors(C1, C2);
  if (AStyle == dxbsRaised) std::swap(C1, C2);
  if (C1 == clNone) std::swap(C1, C2);
  TRect Line = R;
  switch (AShape) {
    case dxbsBox:
      DrawBevelFrame(ACanvas, R, C1, C2, true);
      break;
    case dxbsFrame:
      DrawBevelFrame(ACanvas, R, C1, C2, false);
      break;
    case dxbsLineTop:
      Line.bottom = Line.top + Size.cy;
      DrawBevelLine(ACanvas, Line, C1, C2, false);
      break;
    case dxbsLineBottom:
      Line.top = Line.bottom - Size.cy;
      DrawBevelLine(ACanvas, Line, C1, C2, false);
      break;
    case dxbsLineLeft:
      Line.right = Line.left + Size.cx;
      DrawBevelLine(ACanvas, Line, C1, C2, true);
      break;
    case dxbsLineRight:
      Line.left = Line.right - Size.cx;
      DrawBevelLine(ACanvas, Line, C1, C2, true);
      break;
    case dxbsLineCenteredHorz:
      Line.left = FloorHalf(R.left + R.right - Size.cx);
      Line.right = Line.left + Size.cx;
      DrawBevelLine(ACanvas, Line, C1, C2, true);
      break;
    case dxbsLineCenteredVert:
      Line.top = FloorHalf(R.top + R.bottom - Size.cy);
      Line.bottom = Line.top + Size.cy;
      DrawBevelLine(ACanvas, Line, C1, C2, false);
      break;
    case dxbsNone:
      break;
  }
}

TSize TcxCustomLookAndFeelPainter::GetBevelMinimalShapeSize(TdxBevelShape) { return TSize{2, 2}; }

void TcxCustomLookAndFeelPainter::GetBevelShapeColors(TColor& AColor1, TColor& AColor2) {
  AColor1 = clBtnShadow;
  AColor2 = clBtnHighlight;
}
