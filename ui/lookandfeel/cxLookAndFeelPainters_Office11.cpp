#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"
#include "dxOffice11.h"

using namespace cxPaintersInternal;

namespace {
constexpr Integer cxOffice11ExpandButtonSize = 11;
constexpr Integer cxOffice11SeparatorIndent = 8;
// How much of the scheme's corner colour stays where an expand button's
// corners meet the background.
constexpr Integer cxOffice11ExpandButtonCornerPercent = 25;

// The pixels of a 32-bit top-down section, in place.
RGBQUAD* SectionPixels(HBITMAP ABitmap, Integer& AWidth, Integer& AHeight) {
  DIBSECTION Section{};
  if (!ABitmap || GetObjectW(ABitmap, sizeof(Section), &Section) != sizeof(Section) ||
      Section.dsBm.bmBitsPixel != 32 || !Section.dsBm.bmBits)
    return nullptr;
  AWidth = Section.dsBm.bmWidth;
  AHeight = std::abs(Section.dsBm.bmHeight);
  return static_cast<RGBQUAD*>(Section.dsBm.bmBits);
}

RGBQUAD OpaqueQuad(TColor AColor) { return dxColorToRGBQuad(AColor, 0xFF); }
}  // namespace

IMPLEMENT_CREATABLE_CLASS(TcxOffice11LookAndFeelPainter)

String TcxOffice11LookAndFeelPainter::LookAndFeelName() { return L"Office11"; }

TcxLookAndFeelStyle TcxOffice11LookAndFeelPainter::LookAndFeelStyle() { return lfsOffice11; }

bool TcxOffice11LookAndFeelPainter::NeedRedrawOnResize() { return true; }

// ---------------------------------------------------------------------------
// Colours, read from the scheme at each use
TColor TcxOffice11LookAndFeelPainter::DefaultControlColor() { return dxOffice11DockColor2; }
TColor TcxOffice11LookAndFeelPainter::DefaultControlTextColor() {
  return dxOffice11TextEnabledColor;
}
TColor TcxOffice11LookAndFeelPainter::DefaultDateNavigatorHeaderColor() {
  return dxOffice11DockColor1;
}
TColor TcxOffice11LookAndFeelPainter::DefaultDateNavigatorHeaderHighlightTextColor() {
  return clHighlightText;
}
TColor TcxOffice11LookAndFeelPainter::DefaultDateNavigatorSelectionColor() {
  return dxOffice11DayNavigatorSelectedColor;
}
TColor TcxOffice11LookAndFeelPainter::DefaultDateNavigatorSelectionTextColor() {
  return clWindowText;
}
TColor TcxOffice11LookAndFeelPainter::DefaultFilterBoxColor() {
  return dxOffice11BarFloatingBorderColor1;
}
TColor TcxOffice11LookAndFeelPainter::DefaultFilterBoxTextColor() {
  return dxOffice11BarFloatingCaptionTextColor1;
}
TColor TcxOffice11LookAndFeelPainter::DefaultFooterColor() { return dxOffice11DockColor1; }
TColor TcxOffice11LookAndFeelPainter::DefaultFooterTextColor() { return DefaultHeaderTextColor(); }
TColor TcxOffice11LookAndFeelPainter::DefaultGroupColor() { return dxOffice11GroupColor; }
TColor TcxOffice11LookAndFeelPainter::DefaultGroupByBoxColor() {
  return dxOffice11InPlaceSubItemColor;
}
TColor TcxOffice11LookAndFeelPainter::DefaultGroupByBoxTextColor() {
  return dxOffice11ToolbarsColor1;
}
TColor TcxOffice11LookAndFeelPainter::DefaultHeaderBackgroundColor() {
  return DefaultGroupByBoxColor();
}
TColor TcxOffice11LookAndFeelPainter::DefaultHeaderColor() { return HeaderTopColor(); }
TColor TcxOffice11LookAndFeelPainter::DefaultSchedulerBorderColor() {
  return dxOffice11OutlookBorderColor;
}
TColor TcxOffice11LookAndFeelPainter::DefaultSchedulerControlColor() {
  return dxOffice11OutlookControlColor;
}
TColor TcxOffice11LookAndFeelPainter::DefaultSchedulerDayHeaderColor() {
  return DefaultHeaderColor();
}
TColor TcxOffice11LookAndFeelPainter::DefaultTabColor() { return dxOffice11DockColor2; }
TColor TcxOffice11LookAndFeelPainter::DefaultTabsBackgroundColor() { return DefaultTabColor(); }
TColor TcxOffice11LookAndFeelPainter::DefaultTimeGridMinorScaleColor() {
  return dxOffice11DockColor1;
}
TColor TcxOffice11LookAndFeelPainter::DefaultTimeGridSelectionBarColor() {
  return DefaultSchedulerControlColor();
}

TColor TcxOffice11LookAndFeelPainter::BorderHighlightColor() {
  return dxOffice11SelectedBorderColor;
}
TColor TcxOffice11LookAndFeelPainter::HeaderBottomColor() { return dxOffice11ToolbarsColor2; }
TColor TcxOffice11LookAndFeelPainter::HeaderDarkEdgeColor() { return dxOffice11BarSeparatorColor1; }
TColor TcxOffice11LookAndFeelPainter::HeaderHighlightEdgeColor() {
  return dxOffice11BarSeparatorColor2;
}
TColor TcxOffice11LookAndFeelPainter::HeaderTopColor() {
  return dxGetMiddleRGB(dxOffice11ToolbarsColor1, dxOffice11ToolbarsColor2, 50);
}

// ---------------------------------------------------------------------------
// Borders, separators, bevels
Integer TcxOffice11LookAndFeelPainter::SeparatorSize() { return 2; }

void TcxOffice11LookAndFeelPainter::DrawBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->FrameRect(R, dxOffice11ControlBorderColor);
}

void TcxOffice11LookAndFeelPainter::DoDrawSeparator(TcxCanvas* ACanvas, const TRect& R, bool) {
  TRect Line = cxRect(R.left, R.top, R.right - 1, R.bottom - 1);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Line, dxOffice11BarSeparatorColor1);
  ACanvas->FillRect(cxRectOffset(Line, 1, 1), dxOffice11BarSeparatorColor2);
}

TSize TcxOffice11LookAndFeelPainter::GetBevelMinimalShapeSize(TdxBevelShape) { return TSize{2, 2}; }

void TcxOffice11LookAndFeelPainter::GetBevelShapeColors(TColor& AColor1, TColor& AColor2) {
  AColor1 = dxOffice11BarSeparatorColor1;
  AColor2 = dxOffice11BarSeparatorColor2;
}

// ---------------------------------------------------------------------------
// Buttons, check boxes and expand buttons
TColor TcxOffice11LookAndFeelPainter::ButtonColor(TcxButtonState AState) {
  switch (AState) {
    case cxbsHot:
      return dxOffice11SelectedColor1;
    case cxbsPressed:
      return dxOffice11SelectedDownColor1;
    case cxbsDisabled:
      return clBtnFace;
    default:
      return dxOffice11DockColor1;
  }
}

TColor TcxOffice11LookAndFeelPainter::ButtonSymbolColor(TcxButtonState AState, TColor) {
  if (AState == cxbsPressed && !IsXPStandardScheme()) return clHighlightText;
  return AState == cxbsDisabled ? dxOffice11TextDisabledColor : dxOffice11TextEnabledColor;
}

void TcxOffice11LookAndFeelPainter::DrawButtonBorder(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState) {
  TColor Color;
  switch (AState) {
    case cxbsDefault:
      inherited::DrawButtonBorder(ACanvas, R, AState);
      return;
    case cxbsNormal:
      Color = clBtnText;
      break;
    case cxbsDisabled:
      Color = dxOffice11TextDisabledColor;
      break;
    default:
      Color = dxOffice11SelectedBorderColor;
      break;
  }
  ACanvas->FrameRect(R, Resolved(Color));
}

TColor TcxOffice11LookAndFeelPainter::CheckButtonColor(TcxButtonState AState,
                                                       TcxCheckBoxState ACheckState) {
  if (AState == cxbsHot || AState == cxbsPressed || AState == cxbsDisabled)
    return ButtonColor(AState);
  return inherited::CheckButtonColor(AState, ACheckState);
}

void TcxOffice11LookAndFeelPainter::DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                           bool AExpanded,
                                                           const TdxScaleFactor* AScaleFactor,
                                                           TColor, TcxButtonState) {
  HBITMAP Shared = AExpanded ? dxOffice11ExpandButtonBitmap1 : dxOffice11ExpandButtonBitmap2;
  Integer W = 0, H = 0;
  RGBQUAD* Pixels = SectionPixels(Shared, W, H);
  if (!Pixels || W < cxOffice11ExpandButtonSize || H < cxOffice11ExpandButtonSize) return;
  HDC DC = ACanvas->Handle();
  COLORREF TopLeft = GetPixel(DC, R.left, R.top);
  COLORREF BottomRight = GetPixel(DC, R.right - 1, R.bottom - 1);
  // The corners take on the background; the scheme's bitmaps are shared and
  // keep the blend until the next expand button is drawn.
  GdiFlush();
  const Integer Last = cxOffice11ExpandButtonSize - 1;
  Pixels[0] = OpaqueQuad(dxGetMiddleRGB(dxOffice11ExpandButtonColor1, static_cast<TColor>(TopLeft),
                                        cxOffice11ExpandButtonCornerPercent));
  RGBQUAD Far =
      OpaqueQuad(dxGetMiddleRGB(dxOffice11ExpandButtonColor2, static_cast<TColor>(BottomRight),
                                cxOffice11ExpandButtonCornerPercent));
  Pixels[Last * W + Last] = Far;
  Pixels[Last * W] = Far;
  Pixels[Last] = Far;
  TRGBColors Colors(Pixels, Pixels + static_cast<size_t>(W) * H);
  TOwned<TcxBitmap32> Image(TcxBitmap32::CreateSize(W, H));
  SetBitmapBits(Image.get(), Colors, true);
  cxDrawImage(ACanvas, R, Image.get(), ifmProportionalStretch, nullptr, AScaleFactor, false);
}

bool TcxOffice11LookAndFeelPainter::DrawExpandButtonFirst() { return false; }

void TcxOffice11LookAndFeelPainter::DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                                bool AExpanded, TColor,
                                                                const TdxScaleFactor* AScaleFactor,
                                                                TColor AColor) {
  DrawScaledExpandButton(ACanvas, R, AExpanded, AScaleFactor, AColor, cxbsDefault);
}

Integer TcxOffice11LookAndFeelPainter::ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxOffice11ExpandButtonSize);
}

Integer TcxOffice11LookAndFeelPainter::ScaledSmallExpandButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxOffice11ExpandButtonSize);
}

// ---------------------------------------------------------------------------
// Scroll bars, size grip, splitters
Integer TcxOffice11LookAndFeelPainter::ScaledScrollBarMinimalThumbSize(
    bool AVertical, const TdxScaleFactor* AScaleFactor) {
  if (TcxCustomLookAndFeelPainter* Native = RegisteredPainter(lfsNative))
    return Native->ScaledScrollBarMinimalThumbSize(AVertical, AScaleFactor);
  return inherited::ScaledScrollBarMinimalThumbSize(AVertical, AScaleFactor);
}

void TcxOffice11LookAndFeelPainter::DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal,
                                                            const TRect& R, TcxScrollBarPart APart,
                                                            TcxButtonState AState,
                                                            const TdxScaleFactor* AScaleFactor) {
  if (TcxCustomLookAndFeelPainter* Native = RegisteredPainter(lfsNative))
    Native->DrawScaledScrollBarPart(ACanvas, AHorizontal, R, APart, AState, AScaleFactor);
  else
    inherited::DrawScaledScrollBarPart(ACanvas, AHorizontal, R, APart, AState, AScaleFactor);
}

void TcxOffice11LookAndFeelPainter::DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect) {
  Office11DrawSizeGrip(ACanvas->Handle(), ARect, clDefault, clDefault);
}

TColor TcxOffice11LookAndFeelPainter::GetSplitterInnerColor(bool) {
  return dxOffice11BarSeparatorColor2;
}

TColor TcxOffice11LookAndFeelPainter::GetSplitterOuterColor(bool AHighlighted) {
  return AHighlighted ? dxOffice11SelectedBorderColor : dxOffice11BarSeparatorColor1;
}

// ---------------------------------------------------------------------------
// Drop-down list box
void TcxOffice11LookAndFeelPainter::DrawDropDownListBoxBackground(TcxCanvas* ACanvas,
                                                                  const TRect& ARect,
                                                                  bool AHasBorders) {
  TRect Inside = ARect;
  if (AHasBorders) {
    ACanvas->FrameRect(Inside, dxOffice11DropDownBorderColor1);
    Inside = cxRectInflate(Inside, -1, -1);
    ACanvas->FrameRect(Inside, dxOffice11DropDownBorderColor2);
    Inside = cxRectInflate(Inside, -1, -1);
  }
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Inside, dxOffice11MenuColor);
}

void TcxOffice11LookAndFeelPainter::DrawDropDownListBoxScaledGutterBackground(
    TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor*) {
  Office11FillTubeGradientRect(ACanvas->Handle(), ARect, dxOffice11MenuIndentColor1,
                               dxOffice11MenuIndentColor2, true);
}

void TcxOffice11LookAndFeelPainter::DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas,
                                                                       const TRect& ARect,
                                                                       const TRect&,
                                                                       const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ARect, dxOffice11SelectedColor1);
  Office11FrameSelectedRect(ACanvas->Handle(), ARect);
}

void TcxOffice11LookAndFeelPainter::DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas,
                                                                       const TRect& ARect,
                                                                       const TRect& AGutterRect,
                                                                       const TdxScaleFactor*) {
  Integer Y = FloorHalf(ARect.top + ARect.bottom - 1);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(cxRect(AGutterRect.right + cxOffice11SeparatorIndent, Y, ARect.right, Y + 1),
                    dxOffice11BarSeparatorColor1);
}

// ---------------------------------------------------------------------------
// Headers, content, footers, grid
void TcxOffice11LookAndFeelPainter::DrawContent(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, Integer AState,
    TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
    bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor,
    const TcxDrawBackgroundEvent& AOnDrawBackground, bool AIsFooter) {
  const bool Hot = AState == cxbsHot;
  HDC DC = ACanvas->Handle();
  if (!AOnDrawBackground || !AOnDrawBackground(ACanvas, ABounds)) {
    TColor C1 = Hot ? dxOffice11ToolbarsColor1 : HeaderTopColor();
    TColor C2 = Hot ? dxOffice11ToolbarsColor1 : HeaderBottomColor();
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (AIsFooter) {
      ACanvas->FillRect(ABounds, C1);
    } else {
      // A flat face that shades into the bottom colour over its last rows.
      ACanvas->FillRect(cxRect(ABounds.left, ABounds.top, ABounds.right, ABounds.bottom - 3), C1);
      FillGradientRect(DC, cxRect(ABounds.left, ABounds.bottom - 4, ABounds.right, ABounds.bottom),
                       C1, C2, false);
    }
  }
  if (!AText.empty()) {
    ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
    auto SolidAgain = Finally([ACanvas] { ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid); });
    if (AFont) ACanvas->SetFont(AFont);
    SetFontColor(ACanvas, ATextColor);
    ACanvas->DrawTexT(
        AText, ATextAreaBounds,
        ContentTextFlags(AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis), true);
  }
  // A hot header is underlined in the selection colours across its bottom
  // edge.
  if (Hot)
    FillGradientRect(
        DC, cxRect(ABounds.left - 1, ABounds.bottom - 2, ABounds.right, ABounds.bottom + 1),
        dxOffice11SelectedColor1, dxOffice11SelectedColor2, false);
}

void TcxOffice11LookAndFeelPainter::DrawScaledHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor*,
    const TcxDrawBackgroundEvent&, bool AIsLast, bool) {
  // The look's headers are drawn at 96 DPI sizes, without a background
  // handler.
  TcxCustomLookAndFeelPainter::DrawScaledHeader(
      ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState, AAlignmentHorz,
      AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont, ATextColor, ABkColor,
      dxDefaultScaleFactor(), nullptr, AIsLast, false);
}

void TcxOffice11LookAndFeelPainter::DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxNeighbors ANeighbors, TcxBorders ABorders) {
  const TColor T = HeaderTopColor(), Bm = HeaderBottomColor(), D = HeaderDarkEdgeColor(),
               H = HeaderHighlightEdgeColor();
  auto Pixel = [ACanvas](Integer X, Integer Y, TColor AColor) {
    ACanvas->SetPixel(X, Y, Resolved(AColor));
  };
  auto Column = [ACanvas](Integer X, Integer AFrom, Integer ATo, TColor AColor) {
    if (ATo > AFrom) ACanvas->FillRect(cxRect(X, AFrom, X + 1, ATo), AColor);
  };
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  if (ABorders.Contains(bTop)) ACanvas->FillRect(cxRect(R.left, R.top, R.right, R.top + 1), T);
  if (ABorders.Contains(bBottom))
    ACanvas->FillRect(cxRect(R.left, R.bottom - 1, R.right, R.bottom), D);
  if (ABorders.Contains(bLeft)) {
    Pixel(R.left, R.top + 1, T);
    Integer From = R.top + 1, To = R.bottom - 2;
    if (ANeighbors.Contains(nLeft)) {
      Pixel(R.left, R.top + 2, T);
      Pixel(R.left, R.bottom - 3, dxGetMiddleRGB(T, Bm, 25));
      From = R.top + 2;
      To = R.bottom - 3;
    }
    Pixel(R.left, R.bottom - 2, Bm);
    Column(R.left, From, To, H);
  }
  if (ABorders.Contains(bRight)) {
    Integer X = R.right - 1, From = R.top + 1, To = R.bottom - 2;
    if (ANeighbors.Contains(nRight)) {
      Pixel(X, R.top + 1, T);
      Pixel(X, R.top + 2, T);
      Pixel(X, R.bottom - 3, dxGetMiddleRGB(T, Bm, 25));
      Pixel(X, R.bottom - 2, Bm);
      From = R.top + 2;
      To = R.bottom - 3;
    } else {
      Pixel(X, R.top, dxGetMiddleRGB(T, D, 50));
      Pixel(X, R.bottom - 2, dxGetMiddleRGB(Bm, D, 50));
    }
    Column(X, From, To, D);
  }
}

void TcxOffice11LookAndFeelPainter::DrawScaledHeaderControlSection(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor* AScaleFactor) {
  DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, TcxNeighbors{nRight}, ABorders, AState,
                   AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont,
                   ATextColor, ABkColor, AScaleFactor, nullptr, false, false);
  if (AState == cxbsPressed) DrawHeaderPressed(ACanvas, ABounds);
}

void TcxOffice11LookAndFeelPainter::DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                          bool AAscendingSorting,
                                                          const TdxScaleFactor* AScaleFactor) {
  DrawSortingArrow(ACanvas, R, HeaderHighlightEdgeColor(), HeaderDarkEdgeColor(), AAscendingSorting,
                   AScaleFactor);
}

void TcxOffice11LookAndFeelPainter::DrawScaledSummarySortingMark(
    TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
    const TdxScaleFactor* AScaleFactor) {
  DrawSummarySortingArrow(ACanvas, R, HeaderHighlightEdgeColor(), HeaderDarkEdgeColor(),
                          AAscendingSorting, AScaleFactor);
}

TcxBorders TcxOffice11LookAndFeelPainter::HeaderBorders(TcxNeighbors) { return cxBordersAll(); }

bool TcxOffice11LookAndFeelPainter::IsHeaderHotTrack() { return true; }

TColor TcxOffice11LookAndFeelPainter::FooterSeparatorColor() { return HeaderDarkEdgeColor(); }

Integer TcxOffice11LookAndFeelPainter::GridBordersOverlapSize() { return 0; }

TColor TcxOffice11LookAndFeelPainter::FilterDropDownButtonBorderColor(TcxButtonState AState) {
  return AState == cxbsNormal ? HeaderDarkEdgeColor() : dxOffice11SelectedBorderColor;
}

TColor TcxOffice11LookAndFeelPainter::TabBorderHighlightColor() { return HeaderDarkEdgeColor(); }

TColor TcxOffice11LookAndFeelPainter::RadioButtonBodyColor(TcxButtonState AState) {
  return AState == cxbsNormal ? TColor(clWindow) : ButtonColor(AState);
}
