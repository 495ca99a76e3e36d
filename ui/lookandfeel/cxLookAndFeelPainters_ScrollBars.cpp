#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"
#include "cxLookAndFeels.h"

using namespace cxPaintersInternal;

namespace {
constexpr Integer cxPagePatternSize = 8;
constexpr TSize cxSplitterSize{17, 2};

TBitmap* ScrollBitmaps[2] = {nullptr, nullptr};

// One pixel of a splitter's line, [AFrom, ATo) along its axis.
void FillSplitterSegment(TcxCanvas* ACanvas, const TRect& ALine, bool AHorizontal, Integer AFrom,
                         Integer ATo, TColor AColor) {
  Integer Start = AHorizontal ? ALine.left : ALine.top;
  Integer End = AHorizontal ? ALine.right : ALine.bottom;
  AFrom = std::max(AFrom, Start);
  ATo = std::min(ATo, End);
  if (AFrom >= ATo) return;
  TRect R = AHorizontal ? cxRect(AFrom, ALine.top, ATo, ALine.bottom)
                        : cxRect(ALine.left, AFrom, ALine.right, ATo);
  ACanvas->FillRect(R, AColor);
}

// A line along the splitter, broken by four one-pixel gaps around its
// middle at c - 5, c - 2, c + 1 and c + 4.
void DrawBrokenLine(TcxCanvas* ACanvas, const TRect& ALine, bool AHorizontal, TColor AColor) {
  Integer Start = AHorizontal ? ALine.left : ALine.top;
  Integer End = AHorizontal ? ALine.right : ALine.bottom;
  Integer C = (Start + End) / 2;
  const Integer Runs[][2] = {
      {Start, C - 5}, {C - 4, C - 2}, {C - 1, C + 1}, {C + 2, C + 4}, {C + 5, End}};
  for (const auto& Run : Runs)
    FillSplitterSegment(ACanvas, ALine, AHorizontal, Run[0], Run[1], AColor);
}
}  // namespace

// ---------------------------------------------------------------------------
// Page patterns
TBitmap* StdScrollBitmaps(Integer AIndex) { return ScrollBitmaps[AIndex]; }

void UpdateScrollBarBitmaps() {
  for (TBitmap*& B : ScrollBitmaps) {
    if (!B) {
      B = Create<TBitmap>();
      B->SetSize(cxPagePatternSize, cxPagePatternSize);
    }
  }
  const COLORREF Face = dxColorToRGB(clBtnFace), Highlight = dxColorToRGB(clBtnHighlight),
                 DarkShadow = dxColorToRGB(cl3DDkShadow);
  for (Integer Y = 0; Y < cxPagePatternSize; ++Y) {
    for (Integer X = 0; X < cxPagePatternSize; ++X) {
      bool SameParity = (X % 2) == (Y % 2);
      ScrollBitmaps[0]->Canvas()->SetPixel(X, Y,
                                           static_cast<TColor>(SameParity ? Face : Highlight));
      ScrollBitmaps[1]->Canvas()->SetPixel(X, Y, static_cast<TColor>(SameParity ? 0 : DarkShadow));
    }
  }
}

void CreateStdScrollBarBitmaps() { UpdateScrollBarBitmaps(); }

void cxPaintersInternal::DrawScrollBarPage(TcxCanvas* ACanvas, const TRect& R, bool APressed) {
  TBrush* Brush = ACanvas->Brush();
  Brush->SetBitmap(StdScrollBitmaps(APressed ? 1 : 0));
  ACanvas->Canvas()->FillRect(R);
  Brush->SetBitmap(nullptr);
  Brush->SetStyle(TBrushStyle::bsSolid);
}

void DestroyStdScrollBarBitmaps() {
  for (TBitmap*& B : ScrollBitmaps) FreeAndNil(B);
}

// ---------------------------------------------------------------------------
// Touch sizes, size grips
void dxAdjustToTouchableSize(Integer& AElementSizeDimension, const TdxScaleFactor* AScaleFactor) {
  if (!cxIsTouchModeEnabled() || AElementSizeDimension <= 0) return;
  const TdxScaleFactor* Factor = AScaleFactor ? AScaleFactor : dxSystemScaleFactor();
  AElementSizeDimension = std::max(AElementSizeDimension, Factor->Apply(cxTouchElementMinSize));
}

void dxAdjustToTouchableSize(TSize& AElementSize, const TdxScaleFactor* AScaleFactor) {
  Integer CX = AElementSize.cx, CY = AElementSize.cy;
  dxAdjustToTouchableSize(CX, AScaleFactor);
  dxAdjustToTouchableSize(CY, AScaleFactor);
  AElementSize = TSize{CX, CY};
}

void dxRotateSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, TColor ABackgroundColor,
                      TdxCorner ACorner, const TcxDrawSizeGripEvent& AOnDrawSizeGrip) {
  if (cxRectIsEmpty(ARect)) return;
  TOwned<TcxBitmap> Grip(TcxBitmap::CreateSize(ARect));
  TcxCanvas* GripCanvas = Grip->cxCanvas();
  GripCanvas->Brush()->Assign(ACanvas->Brush());
  if (ABackgroundColor == clNone)
    cxBitBlt(GripCanvas->Handle(), ACanvas->Handle(), Grip->ClientRect(),
             TPoint{ARect.left, ARect.top}, SRCCOPY);
  else
    GripCanvas->FillRect(Grip->ClientRect(), ABackgroundColor);
  // The grip is drawn for the bottom-right corner between two turns that
  // are their own inverses.
  TcxRotationAngle Angle = (ACorner == coTopLeft || ACorner == coBottomLeft) ? ra180 : ra0;
  bool Flip = ACorner == coTopRight || ACorner == coBottomLeft;
  Grip->Rotate(Angle, Flip);
  if (AOnDrawSizeGrip) AOnDrawSizeGrip(GripCanvas, Grip->ClientRect());
  Grip->Rotate(Angle, Flip);
  cxBitBlt(ACanvas->Handle(), GripCanvas->Handle(), ARect, TPoint{0, 0}, SRCCOPY);
}

// ---------------------------------------------------------------------------
// The interface's scroll-bar parts
Integer TcxCustomLookAndFeelPainter::ScrollBarMinimalThumbSize(bool AVertical) {
  return ScaledScrollBarMinimalThumbSize(AVertical, dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::ScaledScrollBarMinimalThumbSize(
    bool, const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxStdThumbnailMinimalSize);
}

void TcxCustomLookAndFeelPainter::DrawScrollBarBackground(TcxCanvas* ACanvas, const TRect& R,
                                                          bool AHorizontal) {
  DrawScaledScrollBarBackground(ACanvas, R, AHorizontal, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledScrollBarBackground(
    TcxCanvas* ACanvas, const TRect& R, bool AHorizontal, const TdxScaleFactor* AScaleFactor) {
  // Each painter's page is its background.
  DrawScaledScrollBarPart(ACanvas, AHorizontal, R, sbpPageUp, cxbsNormal, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal,
                                                    const TRect& R, TcxScrollBarPart APart,
                                                    TcxButtonState AState) {
  DrawScaledScrollBarPart(ACanvas, AHorizontal, R, APart, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledScrollBarPart(TcxCanvas*, bool, const TRect&,
                                                          TcxScrollBarPart, TcxButtonState,
                                                          const TdxScaleFactor*) {}

TSize TcxCustomLookAndFeelPainter::SizeGripSize() {
  return ScaledSizeGripSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledSizeGripSize(const TdxScaleFactor* AScaleFactor) {
  return TSize{dxGetSystemMetrics(SM_CXVSCROLL, AScaleFactor),
               dxGetSystemMetrics(SM_CYHSCROLL, AScaleFactor)};
}

void TcxCustomLookAndFeelPainter::DrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect,
                                               TColor ABackgroundColor, TdxCorner ACorner) {
  dxRotateSizeGrip(ACanvas, ARect, ABackgroundColor, ACorner,
                   MakeEvent<&TcxCustomLookAndFeelPainter::DoDrawSizeGrip>(this));
}

void TcxCustomLookAndFeelPainter::DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect) {
  TRect R = ARect;
  DrawFrameControl(ACanvas->Handle(), &R, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

TSize TcxCustomLookAndFeelPainter::SliderButtonSize(TcxArrowDirection ADirection) {
  return ScaledSliderButtonSize(ADirection, dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledSliderButtonSize(TcxArrowDirection,
                                                          const TdxScaleFactor* AScaleFactor) {
  return ScaledSizeGripSize(AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawSliderButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                   TcxArrowDirection ADirection,
                                                   TcxButtonState AState) {
  DrawScaledSliderButton(ACanvas, ARect, ADirection, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledSliderButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                         TcxArrowDirection ADirection,
                                                         TcxButtonState AState,
                                                         const TdxScaleFactor* AScaleFactor) {
  bool Horizontal = ADirection == adLeft || ADirection == adRight;
  TcxScrollBarPart Part = (ADirection == adDown || ADirection == adRight) ? sbpLineDown : sbpLineUp;
  DrawScaledScrollBarPart(ACanvas, Horizontal, ARect, Part, AState, AScaleFactor);
}

// ---------------------------------------------------------------------------
// Splitters
TSize TcxCustomLookAndFeelPainter::GetSplitterSize(bool AHorizontal) {
  return GetScaledSplitterSize(AHorizontal, dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetScaledSplitterSize(bool AHorizontal,
                                                         const TdxScaleFactor* AScaleFactor) {
  TSize Size = AHorizontal ? cxSplitterSize : TSize{cxSplitterSize.cy, cxSplitterSize.cx};
  return AScaleFactor->Apply(Size);
}

void TcxCustomLookAndFeelPainter::DrawSplitter(TcxCanvas* ACanvas, const TRect& ARect,
                                               bool AHighlighted, bool AClicked, bool AHorizontal) {
  DrawScaledSplitter(ACanvas, ARect, AHighlighted, AClicked, AHorizontal, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledSplitter(TcxCanvas* ACanvas, const TRect& ARect,
                                                     bool AHighlighted, bool, bool AHorizontal,
                                                     const TdxScaleFactor* AScaleFactor) {
  TSize Size = GetScaledSplitterSize(AHorizontal, AScaleFactor);
  bool HasInnerLine = AHorizontal ? Size.cy > 1 : Size.cx > 1;
  Integer W = AHorizontal ? cxRectWidth(ARect) : 1;
  Integer H = AHorizontal ? 1 : cxRectHeight(ARect);
  TRect Line = cxRectCenter(ARect, W, H);
  if (HasInnerLine) {
    if (AHorizontal)
      --Line.right;
    else
      --Line.bottom;
  }
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  DrawBrokenLine(ACanvas, Line, AHorizontal, GetSplitterOuterColor(AHighlighted));
  if (HasInnerLine)
    DrawBrokenLine(ACanvas, cxRectOffset(Line, 1, 1), AHorizontal,
                   GetSplitterInnerColor(AHighlighted));
}

TColor TcxCustomLookAndFeelPainter::GetSplitterInnerColor(bool) { return clWhite; }

TColor TcxCustomLookAndFeelPainter::GetSplitterOuterColor(bool) { return clBtnShadow; }
