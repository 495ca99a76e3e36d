#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
constexpr Integer cxEditPopupWindowFrameWidthA[] = {0, 1, 4, 2};
constexpr Integer cxEditPopupClientEdgeWidthA[] = {0, 2, 2, 1};
constexpr Integer cxContainerBorderWidthA1[] = {0, 1, 2, 2, 2, 1, 1};
constexpr TSize cxSmallCloseButtonSize{14, 15};
constexpr TSize cxFilterCloseButtonSize{16, 14};
// The grip keeps this distance from the band's edges.
constexpr Integer cxPopupGripIndent = 2;

constexpr TColor cxCalcMaroon = 0x000080, cxCalcRed = 0x0000FF, cxCalcBlue = 0xFF0000,
                 cxCalcNavy = 0x800000;

bool IsTopCorner(TdxCorner ACorner) { return ACorner == coTopLeft || ACorner == coTopRight; }
bool IsRightCorner(TdxCorner ACorner) { return ACorner == coTopRight || ACorner == coBottomRight; }

// Window-relative client area of a window: its client rectangle in screen
// coordinates moved by the window's top-left.
TRect WindowClientArea(HWND AHandle, const TRect& AWindowRect) {
  TRect Client = cxGetClientRect(AHandle);
  MapWindowPoints(AHandle, nullptr, reinterpret_cast<POINT*>(&Client), 2);
  return cxRectOffset(Client, -AWindowRect.left, -AWindowRect.top);
}
}  // namespace

// ---------------------------------------------------------------------------
// Editor popup borders and window content
void TcxCustomLookAndFeelPainter::DrawEditPopupWindowBorder(TcxCanvas* ACanvas, TRect& R,
                                                            TcxEditPopupBorderStyle ABorderStyle,
                                                            bool AClientEdge) {
  switch (ABorderStyle) {
    case epbsSingle:
      ACanvas->FrameRect(R, Resolved(clBtnText));
      break;
    case epbsFrame3D:
    case epbsFlat:
      ACanvas->DrawEdge(R, false, true);
      R = cxRectInflate(R, -1, -1);
      ACanvas->DrawEdge(R, false, false);
      if (ABorderStyle == epbsFrame3D) {
        R = cxRectInflate(R, -1, -1);
        ACanvas->FrameRect(R, Resolved(AClientEdge ? clInactiveBorder : clBtnFace));
        R = cxRectInflate(R, -1, -1);
        if (AClientEdge)
          ACanvas->FrameRect(R, Resolved(clBtnFace));
        else
          ACanvas->DrawEdge(R, true, true);
      }
      break;
    case epbsDefault:
      break;
  }
  R = cxRectInflate(R, -1, -1);
}

Integer TcxCustomLookAndFeelPainter::GetEditPopupWindowBorderWidth(TcxEditPopupBorderStyle AStyle) {
  return cxEditPopupWindowFrameWidthA[AStyle];
}

Integer TcxCustomLookAndFeelPainter::GetEditPopupWindowClientEdgeWidth(
    TcxEditPopupBorderStyle AStyle) {
  return cxEditPopupClientEdgeWidthA[AStyle];
}

TcxPopupBorderStyle TcxCustomLookAndFeelPainter::PopupBorderStyle() { return pbsUltraFlat; }

void TcxCustomLookAndFeelPainter::DrawWindowContent(TcxCanvas* ACanvas, const TRect& ARect) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, clBtnFace);
}

TColor TcxCustomLookAndFeelPainter::GetWindowContentTextColor() { return clBtnText; }

// ---------------------------------------------------------------------------
// Popup panel band
Integer TcxCustomLookAndFeelPainter::PopupPanelSize() {
  return ScaledPopupPanelSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::ScaledPopupPanelSize(const TdxScaleFactor* AScaleFactor) {
  return std::max<Integer>({dxGetSystemMetrics(SM_CYHSCROLL, AScaleFactor) + 3,
                            ScaledSizeGripSize(AScaleFactor).cy + 4,
                            ScaledSmallCloseButtonSize(AScaleFactor).cy + 6});
}

void TcxCustomLookAndFeelPainter::CalculatePopupPanelClientRect(
    TRect& AClientRect, TRect& APanelRect, TRect& AGripRect, TRect& ACloseButtonRect,
    TdxCorner ACorner, const TRect& ABorders, const TRect& APanelBorders, Integer APanelHeight,
    bool AShowCloseButton, bool AShowGripSize) {
  CalculateScaledPopupPanelClientRect(AClientRect, APanelRect, AGripRect, ACloseButtonRect, ACorner,
                                      ABorders, APanelBorders, dxSystemScaleFactor(), APanelHeight,
                                      AShowCloseButton, AShowGripSize);
}

void TcxCustomLookAndFeelPainter::CalculateScaledPopupPanelClientRect(
    TRect& AClientRect, TRect& APanelRect, TRect& AGripRect, TRect& ACloseButtonRect,
    TdxCorner ACorner, const TRect& ABorders, const TRect& APanelBorders,
    const TdxScaleFactor* AScaleFactor, Integer APanelHeight, bool AShowCloseButton,
    bool AShowGripSize) {
  if (APanelHeight == 0) APanelHeight = ScaledPopupPanelSize(AScaleFactor);
  AClientRect = cxRectContent(AClientRect, ABorders);
  APanelRect = AClientRect;
  bool Top = IsTopCorner(ACorner), Right = IsRightCorner(ACorner);
  if (Top) {
    APanelRect.bottom = APanelRect.top + APanelHeight;
    AClientRect.top = APanelRect.bottom;
  } else {
    APanelRect.top = APanelRect.bottom - APanelHeight;
    AClientRect.bottom = APanelRect.top;
  }

  AGripRect = cxNullRect;
  if (AShowGripSize) {
    TSize Grip = ScaledSizeGripSize(AScaleFactor);
    Integer Left = Right ? APanelRect.right - cxPopupGripIndent - Grip.cx
                         : APanelRect.left + cxPopupGripIndent;
    Integer GripTop =
        Top ? APanelRect.top + cxPopupGripIndent : APanelRect.bottom - cxPopupGripIndent - Grip.cy;
    AGripRect = cxRect(Left, GripTop, Left + Grip.cx, GripTop + Grip.cy);
  }

  ACloseButtonRect = cxNullRect;
  if (AShowCloseButton) {
    // A square at the end away from the grip, the button centred in it.
    TRect Square = cxRectContent(APanelRect, APanelBorders);
    Integer Side = cxRectHeight(Square);
    if (Right)
      Square.right = Square.left + Side;
    else
      Square.left = Square.right - Side;
    ACloseButtonRect = cxRectCenter(Square, ScaledSmallCloseButtonSize(AScaleFactor));
  }
}

void TcxCustomLookAndFeelPainter::DrawPopupNCPanel(HWND AHandle, bool AMouseAboveCloseButton,
                                                   bool ACloseButtonIsTracking, TdxCorner ACorner,
                                                   const TRect& ACloseButtonRect,
                                                   const TRect& AGripRect, TColor ABorderColor) {
  DrawScaledPopupNCPanel(AHandle, AMouseAboveCloseButton, ACloseButtonIsTracking, ACorner,
                         ACloseButtonRect, AGripRect, ABorderColor, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledPopupNCPanel(
    HWND AHandle, bool AMouseAboveCloseButton, bool ACloseButtonIsTracking, TdxCorner ACorner,
    const TRect& ACloseButtonRect, const TRect& AGripRect, TColor ABorderColor,
    const TdxScaleFactor* AScaleFactor) {
  TNonClientDC DC(AHandle);
  if (!DC) return;
  TcxPaintCanvas* Canvas = cxPaintCanvas();
  if (!Canvas) return;
  Canvas->BeginPaint(DC.Get());
  auto EndPaint = Finally([Canvas] { Canvas->EndPaint(); });

  TRect WindowRect = cxGetWindowRect(AHandle);
  TRect Bounds = cxRectOffset(WindowRect, -WindowRect.left, -WindowRect.top);
  TRect Client = WindowClientArea(AHandle, WindowRect);
  Integer Border = Client.left;
  TRect Band = cxRectInflate(Bounds, -Border, -Border);
  if (IsTopCorner(ACorner))
    Band.bottom = Client.top;
  else
    Band.top = Client.bottom;
  TRect Grip = cxRectOffset(AGripRect, -WindowRect.left, -WindowRect.top);
  TRect CloseButton = cxRectOffset(ACloseButtonRect, -WindowRect.left, -WindowRect.top);

  Canvas->FrameRect(Bounds, Resolved(ABorderColor), Border);
  TcxButtonState CloseState = (AMouseAboveCloseButton && ACloseButtonIsTracking)   ? cxbsPressed
                              : (AMouseAboveCloseButton || ACloseButtonIsTracking) ? cxbsHot
                                                                                   : cxbsNormal;
  TRect BandBorders = IsTopCorner(ACorner) ? cxRect(0, 0, 0, 1) : cxRect(0, 1, 0, 0);
  DrawScaledPopupPanelBand(Canvas, Band, Grip, CloseButton, ACorner, CloseState, BandBorders,
                           ABorderColor, AScaleFactor, true, true);
}

void TcxCustomLookAndFeelPainter::DrawPopupPanelBand(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AGripRect, const TRect& ACloseButtonRect,
    TdxCorner AGripCorner, TcxButtonState ACloseButtonState, const TRect& ABorders,
    TColor ABorderColor, bool AShowGripSize, bool AShowCloseButton) {
  DrawScaledPopupPanelBand(ACanvas, ABounds, AGripRect, ACloseButtonRect, AGripCorner,
                           ACloseButtonState, ABorders, ABorderColor, dxSystemScaleFactor(),
                           AShowGripSize, AShowCloseButton);
}

void TcxCustomLookAndFeelPainter::DrawScaledPopupPanelBand(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AGripRect, const TRect& ACloseButtonRect,
    TdxCorner AGripCorner, TcxButtonState ACloseButtonState, const TRect& ABorders,
    TColor ABorderColor, const TdxScaleFactor* AScaleFactor, bool AShowGripSize,
    bool AShowCloseButton) {
  TRect Inside = cxRectContent(ABounds, ABorders);
  {
    TClipRegionSaver KeepClip(ACanvas);
    ACanvas->ExcludeClipRect(Inside);
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(ABounds, ABorderColor);
  }
  if (AShowGripSize && !cxRectIsEmpty(AGripRect)) {
    // The grip keeps the filler around its strokes: both go through a
    // bitmap first.
    TOwned<TcxBitmap> Grip(TcxBitmap::CreateSize(AGripRect));
    DrawWindowContent(Grip->cxCanvas(), Grip->ClientRect());
    DrawSizeGrip(Grip->cxCanvas(), Grip->ClientRect(), clNone, AGripCorner);
    cxDrawBitmap(ACanvas->Handle(), Grip.get(), AGripRect, TPoint{0, 0}, SRCCOPY);
    ACanvas->ExcludeClipRect(AGripRect);
  }
  if (AShowCloseButton) {
    DrawWindowContent(ACanvas, ACloseButtonRect);
    DrawScaledSmallCloseButton(ACanvas, ACloseButtonRect, ACloseButtonState, AScaleFactor);
    ACanvas->ExcludeClipRect(ACloseButtonRect);
  }
  DrawWindowContent(ACanvas, Inside);
  ACanvas->ExcludeClipRect(ABounds);
}

// ---------------------------------------------------------------------------
// Small buttons
TSize TcxCustomLookAndFeelPainter::SmallCloseButtonSize() {
  return ScaledSmallCloseButtonSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledSmallCloseButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize Size = AScaleFactor->Apply(DoGetSmallCloseButtonSize());
  dxAdjustToTouchableSize(Size);
  return Size;
}

TSize TcxCustomLookAndFeelPainter::DoGetSmallCloseButtonSize() { return cxSmallCloseButtonSize; }

void TcxCustomLookAndFeelPainter::DrawSmallButton(TcxCanvas* ACanvas, const TRect& R,
                                                  TcxButtonState AState) {
  DrawScaledSmallButton(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledSmallButton(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxButtonState AState,
                                                        const TdxScaleFactor*) {
  DrawButtonBorder(ACanvas, R, AState);
  Integer B = ButtonBorderSize(cxbsNormal);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRectInflate(R, -B, -B), ButtonColor(AState));
}

void TcxCustomLookAndFeelPainter::DrawSmallCloseButton(TcxCanvas* ACanvas, const TRect& R,
                                                       TcxButtonState AState) {
  DrawScaledSmallCloseButton(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledSmallCloseButton(TcxCanvas* ACanvas, const TRect& R,
                                                             TcxButtonState AState,
                                                             const TdxScaleFactor* AScaleFactor) {
  DrawScaledFilterCloseButton(ACanvas, R, AState, AScaleFactor);
}

void TcxCustomLookAndFeelPainter::DrawFilterCloseButton(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxButtonState AState) {
  DrawScaledFilterCloseButton(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledFilterCloseButton(TcxCanvas* ACanvas, const TRect& R,
                                                              TcxButtonState AState,
                                                              const TdxScaleFactor* AScaleFactor) {
  DrawScaledSmallButton(ACanvas, R, AState, AScaleFactor);
  DrawScaledButtonCross(ACanvas, R, ButtonSymbolColor(AState, clDefault), ButtonSymbolState(AState),
                        AScaleFactor);
}

TSize TcxCustomLookAndFeelPainter::FilterCloseButtonSize() {
  return ScaledFilterCloseButtonSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxFilterCloseButtonSize);
}

IdxColorPalette* TcxCustomLookAndFeelPainter::GetSmallButtonColorPalette(TcxButtonState) {
  return nullptr;
}

// ---------------------------------------------------------------------------
// Editor buttons and container borders
void TcxCustomLookAndFeelPainter::DrawEditorButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                   TcxEditBtnKind AButtonKind,
                                                   TcxButtonState AState,
                                                   TcxEditBtnPosition APosition) {
  DrawScaledEditorButton(ACanvas, ARect, AButtonKind, AState, dxSystemScaleFactor(), APosition);
}

// Editors draw their buttons themselves unless a painter takes them over.
void TcxCustomLookAndFeelPainter::DrawScaledEditorButton(TcxCanvas*, const TRect&, TcxEditBtnKind,
                                                         TcxButtonState, const TdxScaleFactor*,
                                                         TcxEditBtnPosition) {}

void TcxCustomLookAndFeelPainter::DrawEditorButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect,
                                                        TcxEditBtnKind AButtonKind,
                                                        TcxButtonState AState,
                                                        TcxEditBtnPosition APosition) {
  DrawScaledEditorButtonGlyph(ACanvas, ARect, AButtonKind, AState, dxSystemScaleFactor(),
                              APosition);
}

void TcxCustomLookAndFeelPainter::DrawScaledEditorButtonGlyph(TcxCanvas*, const TRect&,
                                                              TcxEditBtnKind, TcxButtonState,
                                                              const TdxScaleFactor*,
                                                              TcxEditBtnPosition) {}

Integer TcxCustomLookAndFeelPainter::EditButtonTextOffset() { return 0; }

IdxColorPalette* TcxCustomLookAndFeelPainter::EditButtonColorPalette(TcxButtonState) {
  return nullptr;
}

TSize TcxCustomLookAndFeelPainter::EditButtonSize() { return cxNullSize; }

TColor TcxCustomLookAndFeelPainter::EditButtonTextColor() { return clDefault; }

TColor TcxCustomLookAndFeelPainter::CalcEditButtonTextColor(TcxCalcButtonKind AButtonKind) {
  switch (AButtonKind) {
    case cbBack:
    case cbCancel:
    case cbClear:
      return cxCalcMaroon;
    case cbMC:
    case cbMR:
    case cbMS:
    case cbMP:
    case cbDiv:
    case cbMul:
    case cbSub:
    case cbAdd:
    case cbEqual:
      return cxCalcRed;
    case cbSqrt:
    case cbPercent:
    case cbRev:
      return cxCalcNavy;
    default:
      return cxCalcBlue;
  }
}

TColor TcxCustomLookAndFeelPainter::GetContainerBorderColor(bool) { return clBtnText; }

Integer TcxCustomLookAndFeelPainter::GetContainerBorderWidth(TcxContainerBorderStyle ABorderStyle) {
  return cxContainerBorderWidthA1[ABorderStyle];
}
