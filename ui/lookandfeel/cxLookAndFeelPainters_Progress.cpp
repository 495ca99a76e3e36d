#include "cxDrawTextUtils.h"
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
// Rotated progress text starts this far inside its rectangle.
constexpr Integer cxProgressVerticalTextIndent = 2;

// The overlap of two rectangles; the null rectangle when they do not meet.
TRect Overlap(const TRect& A, const TRect& B) {
  TRect R = cxRect(std::max(A.left, B.left), std::max(A.top, B.top), std::min(A.right, B.right),
                   std::min(A.bottom, B.bottom));
  return cxRectIsEmpty(R) ? cxNullRect : R;
}
}  // namespace

TRect TcxCustomLookAndFeelPainter::ProgressBarBorderSize(bool) { return cxNullRect; }

void TcxCustomLookAndFeelPainter::DrawProgressBarBorder(TcxCanvas*, const TRect&, bool) {}

void TcxCustomLookAndFeelPainter::DrawProgressBarChunk(TcxCanvas*, const TRect&, bool) {}

TColor TcxCustomLookAndFeelPainter::ProgressBarTextColor() { return ProgressBarTextColorEx(false); }

TColor TcxCustomLookAndFeelPainter::ProgressBarTextColorEx(bool AIsFilledArea) {
  return AIsFilledArea ? clDefault : clWindowText;
}

void TcxCustomLookAndFeelPainter::DrawProgressBarTextOnce(TcxCanvas* ACanvas, bool AVertical,
                                                          const String& AText, const TRect& ARect) {
  HDC DC = ACanvas->Handle();
  if (AVertical) {
    cxRotatedTextOut(
        DC, cxRectOffset(ARect, cxProgressVerticalTextIndent, cxProgressVerticalTextIndent), AText,
        ACanvas->Font(), taLeft, taTop, false, true, true, vtdTopToBottom);
  } else {
    Cardinal Format = CXTO_SINGLELINE;
    if (ACanvas->UseRightToLeftAlignment()) Format |= CXTO_RTLREADING;
    TRect R = ARect;
    cxTextOut(DC, AText, R, Format, 0, 0, ACanvas->Font(), clDefault, clDefault);
  }
}

void TcxCustomLookAndFeelPainter::DrawProgressBarInvertedText(TcxCanvas* ACanvas, bool AVertical,
                                                              const String& AText,
                                                              const TRect& ATextRect) {
  if (cxRectIsEmpty(ATextRect)) return;
  // White text on black, laid over the canvas with XOR: the text shows as
  // the inverse of whatever lies under it.
  TOwned<TcxBitmap> Mask(TcxBitmap::CreateSize(ATextRect));
  TcxCanvas* MaskCanvas = Mask->cxCanvas();
  MaskCanvas->FillRect(Mask->ClientRect(), clBlack);
  MaskCanvas->SetFont(ACanvas->Font());
  MaskCanvas->Font()->SetColor(clWhite);
  DrawProgressBarTextOnce(MaskCanvas, AVertical, AText, Mask->ClientRect());
  Integer PrevCopyMode = ACanvas->CopyMode();
  auto RestoreCopyMode = Finally([ACanvas, PrevCopyMode] { ACanvas->SetCopyMode(PrevCopyMode); });
  ACanvas->SetCopyMode(SRCINVERT);
  ACanvas->Draw(ATextRect.left, ATextRect.top, Mask.get());
}

void TcxCustomLookAndFeelPainter::DrawProgressBarText(
    TcxCanvas* ACanvas, bool AVertical, bool ASolid, const String& AText, const TRect& ATextRect,
    const TRect& AProgressBarRect, const TRect& AProgressChunkRect, TColor ATextColor) {
  TCanvasStateSaver Keep(ACanvas);
  if (ATextColor == clDefault || !ASolid) ATextColor = ProgressBarTextColor();
  SetFontColor(ACanvas, ATextColor);
  if (ASolid) {
    DrawProgressBarTextOnce(ACanvas, AVertical, AText, ATextRect);
    return;
  }
  if (ProgressBarTextColorEx(true) == clDefault) {
    DrawProgressBarInvertedText(ACanvas, AVertical, AText, ATextRect);
    return;
  }
  TRect Split = Overlap(ATextRect, AProgressChunkRect);
  if (cxRectIsEmpty(Split)) {
    DrawProgressBarTextOnce(ACanvas, AVertical, AText, ATextRect);
    return;
  }
  // The empty-area text everywhere, then the chunk's pixels back under the
  // overlap, where the filled-area text goes: no seam at the chunk's edge.
  TOwned<TcxBitmap> Saved(TcxBitmap::CreateSize(Split));
  cxBitBlt(Saved->cxCanvas()->Handle(), ACanvas->Handle(), Saved->ClientRect(),
           TPoint{Split.left, Split.top}, SRCCOPY);
  SetFontColor(ACanvas, ProgressBarTextColorEx(false));
  DrawProgressBarTextOnce(ACanvas, AVertical, AText, ATextRect);
  cxBitBlt(ACanvas->Handle(), Saved->cxCanvas()->Handle(), Split, TPoint{0, 0}, SRCCOPY);
  ACanvas->IntersectClipRect(Split);
  SetFontColor(ACanvas, ProgressBarTextColorEx(true));
  DrawProgressBarTextOnce(ACanvas, AVertical, AText, ATextRect);
}
