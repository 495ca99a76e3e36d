#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
constexpr Integer cxStandardExpandButtonSize = 12;
constexpr TColor cxStandardToggleSwitchBorderColor = 0x696969;

// The 2-pixel border of scroll-bar buttons and thumbs.
void DrawScrollBarButtonBorder(TcxCanvas* ACanvas, const TRect& R, bool AFlat) {
  TRect Inner = cxRectInflate(R, -1, -1);
  if (AFlat) {
    ACanvas->DrawComplexFrame(R, clBtnShadow, clBtnShadow);
    ACanvas->DrawComplexFrame(Inner, clBtnFace, clBtnFace);
  } else {
    ACanvas->DrawComplexFrame(R, clBtnFace, cl3DDkShadow);
    ACanvas->DrawComplexFrame(Inner, clBtnHighlight, clBtnShadow);
  }
}

UINT ScrollArrowState(bool AHorizontal, TcxScrollBarPart APart, TcxButtonState AState) {
  UINT State = AHorizontal ? (APart == sbpLineUp ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                           : (APart == sbpLineUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
  if (AState == cxbsDisabled) State |= DFCS_INACTIVE;
  if (AState == cxbsPressed) State |= DFCS_FLAT;
  return State;
}
}  // namespace

IMPLEMENT_CREATABLE_CLASS(TcxStandardLookAndFeelPainter)

Integer BtnStateToXPBtnState(TcxButtonState AState) {
  // Defaulted, normal, hot, pressed, disabled.
  static const Integer Map[] = {5, 1, 2, 3, 4};
  return Map[AState];
}

String TcxStandardLookAndFeelPainter::LookAndFeelName() { return L"Standard"; }

TcxLookAndFeelStyle TcxStandardLookAndFeelPainter::LookAndFeelStyle() { return lfsStandard; }

TColor TcxStandardLookAndFeelPainter::DefaultSchedulerTimeRulerBorderColor() {
  return DefaultSchedulerTimeRulerBorderColorClassic();
}

TColor TcxStandardLookAndFeelPainter::DefaultSchedulerTimeRulerTextColor() {
  // The classic border colour, not the classic text colour.
  return DefaultSchedulerTimeRulerBorderColorClassic();
}

TColor TcxStandardLookAndFeelPainter::DefaultSchedulerViewContentColor() {
  return DefaultSchedulerViewContentColorClassic();
}

TColor TcxStandardLookAndFeelPainter::DefaultSchedulerViewContentColorClassic() { return clWindow; }

Integer TcxStandardLookAndFeelPainter::BorderSize() { return 2; }

void TcxStandardLookAndFeelPainter::DrawBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->DrawComplexFrame(R, clBtnShadow, clBtnHighlight);
  ACanvas->DrawComplexFrame(cxRectInflate(R, -1, -1), cl3DDkShadow, cl3DLight);
}

Integer TcxStandardLookAndFeelPainter::ButtonBorderSize(TcxButtonState AState) {
  return AState == cxbsDefault ? 3 : 2;
}

Integer TcxStandardLookAndFeelPainter::ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(1);
}

Integer TcxStandardLookAndFeelPainter::ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(1);
}

void TcxStandardLookAndFeelPainter::DrawButtonBorder(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxButtonState AState) {
  TRect Frame = R;
  if (AState == cxbsPressed) {
    ACanvas->FrameRect(Frame, clBlack);
    ACanvas->DrawComplexFrame(cxRectInflate(Frame, -1, -1), clBtnShadow, clBtnShadow);
    return;
  }
  if (AState == cxbsDefault) {
    ACanvas->FrameRect(Frame, clBlack);
    Frame = cxRectInflate(Frame, -1, -1);
  }
  ACanvas->DrawComplexFrame(Frame, clBtnHighlight, cl3DDkShadow);
  ACanvas->DrawComplexFrame(cxRectInflate(Frame, -1, -1), cl3DLight, clBtnShadow);
}

bool TcxStandardLookAndFeelPainter::IsButtonHotTrack() { return false; }

void TcxStandardLookAndFeelPainter::DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                           bool AExpanded,
                                                           const TdxScaleFactor* AScaleFactor,
                                                           TColor AColor, TcxButtonState) {
  TRect Face = R;
  ACanvas->DrawEdge(Face, false, false, TcxBorders{bLeft, bTop});
  ACanvas->DrawEdge(Face, false, true, TcxBorders{bRight, bBottom});
  Face = cxRectInflate(Face, -1, -1);
  ACanvas->DrawEdge(Face, false, false, TcxBorders{bRight, bBottom});
  --Face.right;
  --Face.bottom;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Face, cxGetActualColor(AColor, clBtnFace));
  DrawExpandButtonCross(ACanvas, Face, AExpanded, clBtnText, AScaleFactor);
  ACanvas->ExcludeClipRect(R);
}

void TcxStandardLookAndFeelPainter::DrawScaledGroupExpandButton(
    TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TcxButtonState AState,
    const TdxScaleFactor* AScaleFactor) {
  if (TcxCustomLookAndFeelPainter* Flat = RegisteredPainter(lfsFlat))
    Flat->DrawScaledGroupExpandButton(ACanvas, R, AExpanded, AState, AScaleFactor);
  else
    inherited::DrawScaledGroupExpandButton(ACanvas, R, AExpanded, AState, AScaleFactor);
}

Integer TcxStandardLookAndFeelPainter::ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxStandardExpandButtonSize);
}

void TcxStandardLookAndFeelPainter::DrawCheckBorder(TcxCanvas* ACanvas, const TRect& R,
                                                    TcxButtonState) {
  ACanvas->DrawComplexFrame(R, cl3DDkShadow, cl3DLight);
  ACanvas->DrawComplexFrame(cxRectInflate(R, -1, -1), clBtnShadow, clBtnHighlight);
}

void TcxStandardLookAndFeelPainter::DrawScaledToggleSwitchState(TcxCanvas* ACanvas,
                                                                const TRect& ABounds,
                                                                TcxButtonState, bool AChecked,
                                                                const TdxScaleFactor*) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ABounds, ToggleSwitchToggleColor(AChecked));
  DrawContainerBorder(ACanvas, ABounds, cbs3D, 2, cxStandardToggleSwitchBorderColor,
                      cxBordersAll());
}

TColor TcxStandardLookAndFeelPainter::ToggleSwitchToggleColor(bool AChecked) {
  return AChecked ? TColor(0x219921) : TColor(0xE3E3E3);
}

void TcxStandardLookAndFeelPainter::DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal,
                                                            const TRect& R, TcxScrollBarPart APart,
                                                            TcxButtonState AState,
                                                            const TdxScaleFactor*) {
  if (cxRectIsEmpty(R) || (APart == sbpThumbnail && AState == cxbsDisabled)) return;
  // This look does not hot-track.
  if (AState == cxbsHot) AState = cxbsNormal;
  bool Pressed = AState == cxbsPressed;
  switch (APart) {
    case sbpLineUp:
    case sbpLineDown: {
      TRect Arrow = Pressed ? cxRectOffset(R, 1, 1) : R;
      {
        // The pressed glyph moves right and down; what it moves out of R
        // belongs to the neighbouring part.
        TClipRegionSaver KeepClip(ACanvas);
        ACanvas->IntersectClipRect(R);
        DrawFrameControl(ACanvas->Handle(), &Arrow, DFC_SCROLL,
                         ScrollArrowState(AHorizontal, APart, AState));
      }
      DrawScrollBarButtonBorder(ACanvas, R, Pressed);
      break;
    }
    case sbpThumbnail: {
      DrawScrollBarButtonBorder(ACanvas, R, false);
      Integer B = ButtonBorderSize(cxbsNormal);
      ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
      ACanvas->FillRect(cxRectInflate(R, -B, -B), clBtnFace);
      break;
    }
    case sbpPageUp:
    case sbpPageDown:
      DrawScrollBarPage(ACanvas, R, Pressed);
      break;
    case sbpNone:
      break;
  }
}

// ---------------------------------------------------------------------------
// What the Flat look draws the same way
void cxPaintersInternal::DrawClassicHeaderBorder(TcxCanvas* ACanvas, const TRect& R,
                                                 TcxNeighbors ANeighbors) {
  ACanvas->DrawEdge(R, false, false);
  // The corners next to a neighbour are softened.
  if (ANeighbors.Contains(nLeft)) {
    ACanvas->SetPixel(R.left, R.top + 1, Resolved(clBtnFace));
    ACanvas->SetPixel(R.left, R.bottom - 2, Resolved(clBtnFace));
  }
  if (ANeighbors.Contains(nRight)) {
    ACanvas->SetPixel(R.right - 1, R.top, Resolved(clBtnHighlight));
    ACanvas->SetPixel(R.right - 1, R.top + 1, Resolved(clBtnFace));
    ACanvas->SetPixel(R.right - 1, R.bottom - 2, Resolved(clBtnFace));
  }
}

void cxPaintersInternal::DrawClassicTabBorder(TcxCanvas* ACanvas, TRect R, TcxBorder ABorder,
                                              TcxBorders ABorders, bool AVertical) {
  TColor Color = clBtnHighlight;
  if (AVertical) {
    if (ABorder == bLeft) {
      R.top += ABorders.Contains(bTop) ? 2 : 1;
      R.bottom -= ABorders.Contains(bBottom) ? 2 : 1;
      ACanvas->SetPixel(R.left + 1, R.top - 1, Resolved(clBtnHighlight));
      ACanvas->SetPixel(R.left + 1, R.bottom, Resolved(clBtnHighlight));
    } else if ((ABorder == bTop || ABorder == bBottom) && ABorders.Contains(bLeft)) {
      ++R.left;
    }
    if (ABorder == bBottom) Color = clBtnShadow;
  } else {
    if (ABorder == bLeft || ABorder == bRight) {
      if (ABorders.Contains(bTop)) R.top += 2;
      if (ABorders.Contains(bBottom)) --R.bottom;
    } else if (ABorder == bTop) {
      ++R.left;
      --R.right;
      ACanvas->SetPixel(R.left - 1, R.top + 1, Resolved(clBtnHighlight));
      ACanvas->SetPixel(R.right, R.top + 1, Resolved(clBtnHighlight));
    }
    if (ABorder == bRight) Color = clBtnShadow;
  }
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(R, Color);
}

void cxPaintersInternal::DrawClassicFilterDropDownButton(TcxCustomLookAndFeelPainter* APainter,
                                                         TcxCanvas* ACanvas, const TRect& R,
                                                         TcxButtonState AState,
                                                         bool AIsFilterActive) {
  bool Pressed = AState == cxbsPressed;
  ACanvas->DrawEdge(R, Pressed, Pressed);
  TRect Face = cxRectInflate(R, -1, -1);
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Face, clBtnFace);
  APainter->DrawButtonArrow(ACanvas, Face, AIsFilterActive ? cxFilterActiveArrowColor : clBtnText);
}

// ---------------------------------------------------------------------------
// Headers, footers, filter buttons, tabs
void TcxStandardLookAndFeelPainter::DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R,
                                                     TcxNeighbors ANeighbors, TcxBorders) {
  DrawClassicHeaderBorder(ACanvas, R, ANeighbors);
}

void TcxStandardLookAndFeelPainter::DrawHeaderControlSectionBorder(TcxCanvas* ACanvas,
                                                                   const TRect& R,
                                                                   TcxBorders ABorders,
                                                                   TcxButtonState AState) {
  if (AState == cxbsPressed) {
    ACanvas->DrawComplexFrame(R, clBtnShadow, clBtnShadow, ABorders);
    return;
  }
  ACanvas->DrawComplexFrame(R, clBtnHighlight, cl3DDkShadow, ABorders);
  ACanvas->DrawComplexFrame(cxRectInflate(R, -1, -1), cl3DLight, clBtnShadow, ABorders);
}

Integer TcxStandardLookAndFeelPainter::HeaderBorderSize() { return 1; }

Integer TcxStandardLookAndFeelPainter::HeaderControlSectionBorderSize(TcxButtonState AState) {
  return AState == cxbsPressed ? 1 : 2;
}

void TcxStandardLookAndFeelPainter::DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                          bool AAscendingSorting,
                                                          const TdxScaleFactor* AScaleFactor) {
  DrawSortingArrow(ACanvas, R, clBtnHighlight, clBtnShadow, AAscendingSorting, AScaleFactor);
}

void TcxStandardLookAndFeelPainter::DrawScaledSummarySortingMark(
    TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
    const TdxScaleFactor* AScaleFactor) {
  DrawSummarySortingArrow(ACanvas, R, clBtnHighlight, clBtnShadow, AAscendingSorting, AScaleFactor);
}

TSize TcxStandardLookAndFeelPainter::ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{8, 7});
}

TSize TcxStandardLookAndFeelPainter::ScaledSummarySortingMarkSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{8, 8});
}

Integer TcxStandardLookAndFeelPainter::FooterBorderSize() { return 1; }

Integer TcxStandardLookAndFeelPainter::FooterCellBorderSize() { return 1; }

Integer TcxStandardLookAndFeelPainter::FooterCellOffset() { return 1; }

void TcxStandardLookAndFeelPainter::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->DrawEdge(R, false, false);
}

void TcxStandardLookAndFeelPainter::DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) {
  ACanvas->DrawEdge(R, true, true);
}

void TcxStandardLookAndFeelPainter::DrawScaledFilterDropDownButton(TcxCanvas* ACanvas,
                                                                   const TRect& R,
                                                                   TcxButtonState AState,
                                                                   bool AIsFilterActive,
                                                                   const TdxScaleFactor*) {
  DrawClassicFilterDropDownButton(this, ACanvas, R, AState, AIsFilterActive);
}

void TcxStandardLookAndFeelPainter::DrawFindPanelBorder(TcxCanvas*, const TRect&, TcxBorders) {}

void TcxStandardLookAndFeelPainter::DrawTabBorder(TcxCanvas* ACanvas, const TRect& R,
                                                  TcxBorder ABorder, TcxBorders ABorders,
                                                  bool AVertical) {
  DrawClassicTabBorder(ACanvas, R, ABorder, ABorders, AVertical);
}

void TcxStandardLookAndFeelPainter::DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R,
                                                 TcxBorders ABorders, bool) {
  ACanvas->DrawEdge(R, false, false, ABorders);
}

Integer TcxStandardLookAndFeelPainter::TabBorderSize(bool) { return 1; }
