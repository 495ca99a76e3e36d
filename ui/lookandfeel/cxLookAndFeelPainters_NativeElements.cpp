// The Native painter's elements beyond buttons, check boxes, scroll bars and
// borders: headers, footers, filter buttons, tabs, lists and the elements of
// the controls this program links.
#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"
#include "dxOffice11.h"

using namespace cxPaintersInternal;

namespace {
// Theme parts.
constexpr Integer HP_HEADERITEM_ = 1, HP_HEADERITEMRIGHT_ = 3;
constexpr Integer TABP_TABITEM_ = 1, TABP_PANE_ = 9;
constexpr Integer WP_SMALLCLOSEBUTTON_ = 19;
constexpr Integer CP_DROPDOWNBUTTON_ = 1;
constexpr Integer TKP_TRACK_ = 1;
constexpr Integer BP_CHECKBOX_ = 3;

// Theme states by button state (default, normal, hot, pressed, disabled).
constexpr Integer HeaderItemStates[] = {1, 1, 2, 3, 1};
constexpr Integer TabItemStates[] = {1, 1, 2, 3, 4};
constexpr Integer TabItemSelectedState = 3;

// How far a tabs root's pane reaches beyond the side that holds no tabs.
constexpr Integer cxTabsRootPaneExcess = 10;

// The left inset of a part's content in a 100 x 100 rectangle.
bool ContentInset(HTHEME ATheme, Integer APart, Integer AState, TRect& AInset) {
  TRect Content;
  if (!ThemeContentRect(ATheme, nullptr, APart, AState, cxRect(0, 0, 100, 100), Content))
    return false;
  AInset = cxRect(Content.left, Content.top, 100 - Content.right, 100 - Content.bottom);
  return true;
}

// The canvas under R, in a 32-bit bitmap of R's size.
TOwned<TcxBitmap32> CanvasCopy(TcxCanvas* ACanvas, const TRect& R) {
  TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(cxRectWidth(R), cxRectHeight(R)));
  cxBitBlt(B->cxCanvas()->Handle(), ACanvas->Handle(), B->ClientRect(), TPoint{R.left, R.top},
           SRCCOPY);
  return B;
}

void DrawThemedTab(TcxWinXPLookAndFeelPainter* APainter, TcxCanvas* ACanvas, const TRect& R,
                   bool AShowPrefix, TColor ABkColor, TColor ATextColor, TFont* AFont,
                   bool AVertical, TcxButtonState AState, HTHEME ATheme, const String& AText,
                   TcxBorders ABorders) {
  const Integer State = TabItemStates[AState];
  const bool Selected = State == TabItemSelectedState;
  // A vertical tab is drawn lying down and turned a quarter to the left:
  // the lying tab's left end becomes the bottom, its right end the top.
  TRect Space = AVertical ? cxRect(0, 0, cxRectHeight(R), cxRectWidth(R)) : R;
  TRect Drawn = Space;
  // An end that is not a border runs on under the neighbouring tab.
  if (!ABorders.Contains(AVertical ? bBottom : bLeft)) Drawn.left -= 2;
  if (!ABorders.Contains(AVertical ? bTop : bRight)) Drawn.right += 2;
  Drawn.bottom += Selected ? 1 : -1;
  if (AVertical) {
    TOwned<TcxBitmap32> Lying = CanvasCopy(ACanvas, R);
    Lying->Rotate(raMinus90);
    DrawPart(ATheme, Lying->cxCanvas()->Handle(), TABP_TABITEM_, State, Drawn);
    Lying->Rotate(raPlus90);
    cxBitBlt(ACanvas->Handle(), Lying->cxCanvas()->Handle(), R, TPoint{0, 0}, SRCCOPY);
  } else {
    TClipRegionSaver KeepClip(ACanvas);
    ACanvas->IntersectClipRect(R);
    DrawPart(ATheme, ACanvas->Handle(), TABP_TABITEM_, State, Drawn);
  }
  TRect TextRect = R;
  if (Selected) (AVertical ? TextRect.right : TextRect.bottom) -= 2;
  APainter->DrawContent(ACanvas, ATheme, TABP_TABITEM_, State, R, TextRect, taCenter, vaCenter,
                        false, false, AShowPrefix, AText, AFont, ATextColor, ABkColor);
}
}  // namespace

// ---------------------------------------------------------------------------
// Themed text
void TcxWinXPLookAndFeelPainter::DrawContent(
    TcxCanvas* ACanvas, HTHEME ATheme, Integer APartId, Integer AStateId, const TRect&,
    const TRect& ATextAreaBounds, TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
    bool AMultiLine, bool AShowEndEllipsis, bool AShowPrefix, const String& AText, TFont* AFont,
    TColor ATextColor, TColor) {
  if (AText.empty()) return;
  TRect R = ATextAreaBounds;
  if (AFont) ACanvas->SetFont(AFont);
  SetFontColor(ACanvas, ATextColor);
  if (AMultiLine)
    ACanvas->AlignMultiLineTextRectVertically(R, AText, AAlignmentVert, true, AShowPrefix);
  DWORD Flags = DT_EDITCONTROL;
  if (AAlignmentHorz == taRightJustify) Flags |= DT_RIGHT;
  if (AAlignmentHorz == taCenter) Flags |= DT_CENTER;
  if (AAlignmentVert == vaBottom) Flags |= DT_BOTTOM;
  if (AAlignmentVert == vaCenter) Flags |= DT_VCENTER;
  if (AShowEndEllipsis) Flags |= DT_END_ELLIPSIS;
  if (!AShowPrefix) Flags |= DT_NOPREFIX;
  Flags |= AMultiLine ? DT_WORDBREAK : DT_SINGLELINE;
  ACanvas->Canvas()->SelectFont();
  dxUxTheme::DrawThemeText(ATheme, ACanvas->Handle(), APartId, AStateId, AText, -1, Flags, 0, &R);
}

// ---------------------------------------------------------------------------
// Headers
void TcxWinXPLookAndFeelPainter::DrawScaledHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor* AScaleFactor,
    const TcxDrawBackgroundEvent& AOnDrawBackground, bool AIsLast, bool AIsGroup) {
  HTHEME Theme = OpenTheme(totHeader);
  if (!Theme) {
    inherited::DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, ANeighbors, ABorders, AState,
                                AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText,
                                AFont, ATextColor, ABkColor, AScaleFactor, AOnDrawBackground,
                                AIsLast, AIsGroup);
    return;
  }
  const Integer State = HeaderItemStates[AState];
  // The blue and olive colour schemes close the last header with an edge
  // part of their own.
  const TOffice11Scheme Scheme = GetOffice11Scheme();
  const bool RightEdge =
      AIsLast && State == 1 && (Scheme == schNormalColor || Scheme == schHomestead);
  const Integer Part = RightEdge ? HP_HEADERITEMRIGHT_ : HP_HEADERITEM_;
  if (IsWin10OrLater) {
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(ABounds, clWindow);
  }
  DrawPart(Theme, ACanvas->Handle(), Part, State, ABounds);
  TRect TextRect = AState == cxbsPressed ? cxRectOffset(ATextAreaBounds, 1, 1) : ATextAreaBounds;
  DrawContent(ACanvas, Theme, Part, State, ABounds, TextRect, AAlignmentHorz, AAlignmentVert,
              AMultiLine, AShowEndEllipsis, false, AText, AFont, ATextColor, ABkColor);
}

void TcxWinXPLookAndFeelPainter::DrawHeaderPressed(TcxCanvas*, const TRect&) {}

void TcxWinXPLookAndFeelPainter::DrawScaledHeaderControlSection(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds, TcxNeighbors,
    TcxBorders ABorders, TcxButtonState AState, TAlignment AAlignmentHorz,
    TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis, const String& AText,
    TFont* AFont, TColor ATextColor, TColor ABkColor, const TdxScaleFactor* AScaleFactor) {
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(ABounds, clBtnFace);
  DrawScaledHeader(ACanvas, ABounds, ATextAreaBounds, TcxNeighbors{nRight}, ABorders, AState,
                   AAlignmentHorz, AAlignmentVert, AMultiLine, AShowEndEllipsis, AText, AFont,
                   ATextColor, ABkColor, AScaleFactor, nullptr, false, false);
}

void TcxWinXPLookAndFeelPainter::DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                       bool AAscendingSorting,
                                                       const TdxScaleFactor* AScaleFactor) {
  DrawSortingArrow(ACanvas, R, clBtnShadow, clBtnShadow, AAscendingSorting, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                              bool AAscendingSorting,
                                                              const TdxScaleFactor* AScaleFactor) {
  DrawSummarySortingArrow(ACanvas, R, clBtnShadow, clBtnShadow, AAscendingSorting, AScaleFactor);
}

TSize TcxWinXPLookAndFeelPainter::ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{7, 8});
}

Integer TcxWinXPLookAndFeelPainter::HeaderBorderSize() {
  TRect Inset;
  if (!ContentInset(OpenTheme(totHeader), HP_HEADERITEM_, 1, Inset))
    return inherited::HeaderBorderSize();
  return std::max<Integer>(1, (Inset.left + Inset.top) / 2);
}

Integer TcxWinXPLookAndFeelPainter::HeaderControlSectionBorderSize(TcxButtonState) {
  return HeaderBorderSize();
}

TRect TcxWinXPLookAndFeelPainter::HeaderControlSectionContentBounds(const TRect& ABounds,
                                                                    TcxButtonState AState) {
  if (!OpenTheme(totHeader)) return inherited::HeaderControlSectionContentBounds(ABounds, AState);
  Integer B = HeaderBorderSize();
  return cxRectInflate(ABounds, -B, -B);
}

bool TcxWinXPLookAndFeelPainter::IsHeaderHotTrack() { return true; }

// ---------------------------------------------------------------------------
// Footers, filter row, filter buttons, find panel, indicator
void TcxWinXPLookAndFeelPainter::DrawFilterRowSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                                        TColor ABackgroundColor) {
  inherited::DrawFilterRowSeparator(ACanvas, ARect, ABackgroundColor);
  if (IsWin10OrLater)
    ACanvas->FrameRect(ARect, Resolved(DefaultGridLineColor()), 1,
                       TcxBorders{bTop, bRight, bBottom});
}

void TcxWinXPLookAndFeelPainter::DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) {
  HTHEME Theme = OpenTheme(totEdit);
  if (!Theme) {
    inherited::DrawFooterBorder(ACanvas, R);
    return;
  }
  dxUxTheme::DrawThemeEdge(Theme, ACanvas->Handle(), 0, 0, &R, BDR_RAISEDINNER, BF_RECT, nullptr);
}

Integer TcxWinXPLookAndFeelPainter::FooterBorderSize() {
  return OpenTheme(totEdit) ? 1 : inherited::FooterBorderSize();
}

void TcxWinXPLookAndFeelPainter::DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds,
                                                TAlignment AAlignmentHorz,
                                                TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                                const String& AText, TFont* AFont,
                                                TColor ATextColor, TColor ABkColor,
                                                const TcxDrawBackgroundEvent& AOnDrawBackground) {
  HTHEME Theme = OpenTheme(totTrackBar);
  if (!Theme) {
    inherited::DrawFooterCell(ACanvas, ABounds, AAlignmentHorz, AAlignmentVert, AMultiLine, AText,
                              AFont, ATextColor, ABkColor, AOnDrawBackground);
    return;
  }
  DrawPart(Theme, ACanvas->Handle(), TKP_TRACK_, 1, ABounds);
  DrawContent(ACanvas, Theme, TKP_TRACK_, 1, ABounds, FooterCellTextAreaBounds(ABounds),
              AAlignmentHorz, AAlignmentVert, AMultiLine, false, false, AText, AFont, ATextColor,
              ABkColor);
}

Integer TcxWinXPLookAndFeelPainter::FooterCellBorderSize() {
  TRect Inset;
  if (!ContentInset(OpenTheme(totTrackBar), TKP_TRACK_, 1, Inset))
    return inherited::FooterCellBorderSize();
  return Inset.left;
}

Integer TcxWinXPLookAndFeelPainter::FooterCellOffset() {
  return OpenTheme(totTrackBar) ? 1 : inherited::FooterCellOffset();
}

bool TcxWinXPLookAndFeelPainter::FooterDrawCellsFirst() { return false; }

void TcxWinXPLookAndFeelPainter::DrawScaledFilterCloseButton(TcxCanvas* ACanvas, const TRect& R,
                                                             TcxButtonState AState,
                                                             const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = OpenTheme(totWindow);
  if (!Theme) {
    inherited::DrawScaledFilterCloseButton(ACanvas, R, AState, AScaleFactor);
    return;
  }
  DrawScaledThemeBackground(Theme, ACanvas->Handle(), !AScaleFactor->Equals(dxDefaultScaleFactor()),
                            AScaleFactor, R, TabItemStates[AState], WP_SMALLCLOSEBUTTON_);
}

void TcxWinXPLookAndFeelPainter::DrawScaledFilterDropDownButton(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AIsFilterActive,
    const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totComboBox))
    DrawPart(Theme, ACanvas->Handle(), CP_DROPDOWNBUTTON_, TabItemStates[AState], R);
  else
    inherited::DrawScaledFilterDropDownButton(ACanvas, R, AState, AIsFilterActive, AScaleFactor);
}

TSize TcxWinXPLookAndFeelPainter::ScaledFilterActivateButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  TSize Size{0, 0};
  if (ThemePartSize(OpenTheme(totButton), nullptr, BP_CHECKBOX_, 5, TS_TRUE, Size))
    return AScaleFactor->Apply(Size);
  return inherited::ScaledFilterActivateButtonSize(AScaleFactor);
}

TSize TcxWinXPLookAndFeelPainter::ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor) {
  if (!OpenTheme(totWindow)) return inherited::ScaledFilterCloseButtonSize(AScaleFactor);
  TSize Size = ScaledSmallCloseButtonSize(AScaleFactor);
  Integer Extra = AScaleFactor->Apply(4);
  return TSize{Size.cx + Extra, Size.cy + Extra};
}

void TcxWinXPLookAndFeelPainter::DrawFindPanelBorder(TcxCanvas*, const TRect&, TcxBorders) {}

void TcxWinXPLookAndFeelPainter::DrawScaledIndicatorItem(
    TcxCanvas* ACanvas, const TRect& R, const TRect& AImageAreaBounds, TcxIndicatorKind AKind,
    TColor AColor, const TdxScaleFactor* AScaleFactor,
    const TcxDrawBackgroundEvent& AOnDrawBackground, TcxNeighbors ANeighbors) {
  if (TcxCustomLookAndFeelPainter* Flat = RegisteredPainter(lfsFlat))
    Flat->DrawScaledIndicatorItem(ACanvas, R, AImageAreaBounds, AKind, AColor, AScaleFactor,
                                  AOnDrawBackground, ANeighbors);
  else
    TcxCustomLookAndFeelPainter::DrawScaledIndicatorItem(
        ACanvas, R, AImageAreaBounds, AKind, AColor, AScaleFactor, AOnDrawBackground, ANeighbors);
}

// ---------------------------------------------------------------------------
// Tabs
void TcxWinXPLookAndFeelPainter::DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                         const String& AText, TcxButtonState AState, bool AVertical,
                                         TFont* AFont, TColor ATextColor, TColor ABkColor,
                                         bool AShowPrefix) {
  if (HTHEME Theme = OpenTheme(totTab))
    DrawThemedTab(this, ACanvas, R, AShowPrefix, ABkColor, ATextColor, AFont, AVertical, AState,
                  Theme, AText, ABorders);
  else
    inherited::DrawTab(ACanvas, R, ABorders, AText, AState, AVertical, AFont, ATextColor, ABkColor,
                       AShowPrefix);
}

void TcxWinXPLookAndFeelPainter::DrawTabBorder(TcxCanvas* ACanvas, const TRect& R,
                                               TcxBorder ABorder, TcxBorders ABorders,
                                               bool AVertical) {
  // The themed tab carries its own border.
  if (!OpenTheme(totTab)) inherited::DrawTabBorder(ACanvas, R, ABorder, ABorders, AVertical);
}

void TcxWinXPLookAndFeelPainter::DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R,
                                              TcxBorders ABorders, bool AVertical) {
  HTHEME Theme = OpenTheme(totTab);
  if (!Theme) {
    inherited::DrawTabsRoot(ACanvas, R, ABorders, AVertical);
    return;
  }
  TRect Content = R;
  ThemeContentRect(Theme, ACanvas->Handle(), TABP_PANE_, 0, R, Content);
  // Only the pane's edge along the tabs is to show: the pane reaches out
  // beyond R by its own margins and more.
  TRect Pane = R;
  if (AVertical) {
    Pane.bottom = R.bottom + (R.bottom - Content.bottom) - (Content.top - R.top);
    Pane.right = R.right + cxTabsRootPaneExcess;
  } else {
    Pane.right = R.right + (R.right - Content.right) - (Content.left - R.left);
    Pane.bottom = R.bottom + cxTabsRootPaneExcess;
  }
  TClipRegionSaver KeepClip(ACanvas);
  ACanvas->IntersectClipRect(R);
  DrawPart(Theme, ACanvas->Handle(), TABP_PANE_, 0, Pane);
}

bool TcxWinXPLookAndFeelPainter::IsDrawTabImplemented(bool AVertical) {
  return OpenTheme(totTab) ? true : inherited::IsDrawTabImplemented(AVertical);
}

bool TcxWinXPLookAndFeelPainter::IsTabHotTrack(bool AVertical) {
  return OpenTheme(totTab) ? true : inherited::IsTabHotTrack(AVertical);
}

Integer TcxWinXPLookAndFeelPainter::TabBorderSize(bool AVertical) {
  return OpenTheme(totTab) ? 1 : inherited::TabBorderSize(AVertical);
}

// ---------------------------------------------------------------------------
// Views, scheduler, navigators
namespace {
constexpr Integer MENU_POPUPITEM_ = 14;
constexpr Integer PP_BAR_ = 1, PP_CHUNK_ = 3;
constexpr Integer TP_BUTTON_ = 1;
constexpr Integer HP_HEADERITEMLEFT_ = 2;
constexpr Integer CP_BORDER_ = 1;
constexpr Integer cxThemeBorderColorProperty = 3801;  // TMT_BORDERCOLOR

// Theme states by button state.
constexpr Integer LayoutCaptionStates[] = {1, 1, 2, 3, 5};
constexpr Integer SchedulerNavigatorStates[] = {2, 2, 5, 3, 4};

// Records and items are themed only while hot, pressed or disabled.
bool IsThemedItemState(TcxButtonState AState) {
  return AState == cxbsHot || AState == cxbsPressed || AState == cxbsDisabled;
}
}  // namespace

void TcxWinXPLookAndFeelPainter::DrawScaledMonthHeader(
    TcxCanvas* ACanvas, const TRect& ABounds, const String& AText, TcxNeighbors ANeighbors,
    const TcxViewParams& AViewParams, TcxArrowDirections AArrows, Integer ASideWidth,
    const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground) {
  DrawScaledHeader(ACanvas, ABounds, ABounds, ANeighbors, cxBordersAll(), cxbsNormal, taCenter,
                   vaCenter, false, false, AText, AViewParams.Font, AViewParams.TextColor,
                   AViewParams.Color, AScaleFactor, AOnDrawBackground, !ANeighbors.Contains(nRight),
                   false);
  DrawMonthHeaderArrows(ACanvas, ABounds, AArrows, ASideWidth, clWindowText);
}

void TcxWinXPLookAndFeelPainter::DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R,
                                                             const TcxViewParams& AViewParams,
                                                             bool AIsHorizontal) {
  TColor Color;
  if (!OpenTheme(totListView) ||
      !cxGetThemeColor(totComboBox, CP_BORDER_, 1, cxThemeBorderColorProperty, Color)) {
    inherited::DrawSchedulerSplitterBorder(ACanvas, R, AViewParams, AIsHorizontal);
    return;
  }
  TRect Rest = R;
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  if (AIsHorizontal) {
    ACanvas->FillRect(cxRect(R.left, R.top, R.right, R.top + 1), Color);
    ACanvas->FillRect(cxRect(R.left, R.bottom - 1, R.right, R.bottom), Color);
    Rest = cxRectInflate(R, 1, -1);
  } else {
    ACanvas->FillRect(cxRect(R.left, R.top, R.left + 1, R.bottom), Color);
    ACanvas->FillRect(cxRect(R.right - 1, R.top, R.right, R.bottom), Color);
    Rest = cxRectInflate(R, -1, 1);
  }
  ACanvas->FillRect(Rest, AViewParams);
}

void TcxWinXPLookAndFeelPainter::DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) {
  // This look has no title bar of its own without a header theme.
  if (HTHEME Theme = OpenTheme(totHeader))
    DrawPart(Theme, ACanvas->Handle(), HP_HEADERITEMLEFT_, 1, R);
}

void TcxWinXPLookAndFeelPainter::DrawSchedulerNavigationButtonContent(
    TcxCanvas* ACanvas, const TRect& ARect, const TRect& AArrowRect, bool AIsNextButton,
    TcxButtonState AState, bool AIsVertical) {
  HTHEME Theme = OpenTheme(totTab);
  if (!Theme) {
    inherited::DrawSchedulerNavigationButtonContent(ACanvas, ARect, AArrowRect, AIsNextButton,
                                                    AState, AIsVertical);
    return;
  }
  // The tab part turned to face the view's edge.
  TOwned<TcxBitmap32> Face = CanvasCopy(ACanvas, ARect);
  if (AIsVertical) Face->Rotate(AIsNextButton ? raMinus90 : raPlus90);
  DrawPart(Theme, Face->cxCanvas()->Handle(), TABP_TABITEM_, TabItemStates[AState],
           Face->ClientRect());
  if (AIsVertical)
    Face->Rotate(AIsNextButton ? raPlus90 : raMinus90);
  else if (!AIsNextButton)
    Face->Rotate(ra180);
  cxBitBlt(ACanvas->Handle(), Face->cxCanvas()->Handle(), ARect, TPoint{0, 0}, SRCCOPY);
  DrawSchedulerNavigationButtonArrow(ACanvas, AArrowRect, AIsNextButton, ButtonSymbolColor(AState),
                                     AIsVertical);
}

void TcxWinXPLookAndFeelPainter::DrawSchedulerScaledNavigatorButton(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totToolBar))
    DrawPart(Theme, ACanvas->Handle(), TP_BUTTON_, SchedulerNavigatorStates[AState], R);
  else
    inherited::DrawSchedulerScaledNavigatorButton(ACanvas, R, AState, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawSchedulerEventProgress(TcxCanvas* ACanvas,
                                                            const TRect& ABounds,
                                                            const TRect& AProgress,
                                                            const TcxViewParams& AViewParams,
                                                            bool ATransparent) {
  HTHEME Theme = OpenTheme(totProgress);
  if (!Theme) {
    inherited::DrawSchedulerEventProgress(ACanvas, ABounds, AProgress, AViewParams, ATransparent);
    return;
  }
  DrawPart(Theme, ACanvas->Handle(), PP_BAR_, 0, ABounds);
  DrawPart(Theme, ACanvas->Handle(), PP_CHUNK_, 0, AProgress);
}

TRect TcxWinXPLookAndFeelPainter::SchedulerEventProgressOffsets() { return cxRect(3, 3, 3, 3); }

TColor TcxWinXPLookAndFeelPainter::DefaultSchedulerBorderColor() {
  TColor Color;
  if (cxGetThemeColor(totComboBox, CP_BORDER_, 1, cxThemeBorderColorProperty, Color)) return Color;
  return inherited::DefaultSchedulerBorderColor();
}

TColor TcxWinXPLookAndFeelPainter::DefaultSchedulerViewContentColor() { return 0xFFFFFF; }

TColor TcxWinXPLookAndFeelPainter::DefaultSchedulerViewContentColorClassic() { return 0xD5FFFF; }

void TcxWinXPLookAndFeelPainter::DrawScaledScrollBarSplitter(TcxCanvas* ACanvas, const TRect& R,
                                                             TcxButtonState AState,
                                                             const TdxScaleFactor* AScaleFactor) {
  // The interface's splitter: this look draws none of its own.
  TcxCustomLookAndFeelPainter::DrawScaledSplitter(ACanvas, R, AState == cxbsHot,
                                                  AState == cxbsPressed, false, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawScaledSplitter(TcxCanvas*, const TRect&, bool, bool, bool,
                                                    const TdxScaleFactor*) {}

TPoint TcxWinXPLookAndFeelPainter::NavigatorButtonPressedGlyphOffset() { return TPoint{0, 0}; }

TSize TcxWinXPLookAndFeelPainter::NavigatorScaledButtonMinSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(TSize{18, 19});
}

TColor TcxWinXPLookAndFeelPainter::DefaultLayoutViewContentTextColor(TcxButtonState AState) {
  return OpenTheme(totTab) ? TColor(clMenuText)
                           : inherited::DefaultLayoutViewContentTextColor(AState);
}

TColor TcxWinXPLookAndFeelPainter::DefaultLayoutViewCaptionTextColor(
    TcxArrowDirection ACaptionPosition, TcxButtonState AState) {
  return OpenTheme(totTab) ? DefaultTabTextColor()
                           : inherited::DefaultLayoutViewCaptionTextColor(ACaptionPosition, AState);
}

TColor TcxWinXPLookAndFeelPainter::WinExplorerViewRecordTextColor(TcxButtonState AState) {
  return OpenTheme(totTab) ? DefaultTabTextColor()
                           : inherited::WinExplorerViewRecordTextColor(AState);
}

void TcxWinXPLookAndFeelPainter::LayoutViewDrawRecordCaption(
    TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextRect,
    TcxGroupBoxCaptionPosition APosition, TcxButtonState AState, TColor AColor, TBitmap* ABitmap) {
  HTHEME Theme = OpenTheme(totTab);
  if (!Theme) {
    // Without a tab theme the caption is the inherited one, never left
    // undrawn.
    inherited::LayoutViewDrawRecordCaption(ACanvas, ABounds, ATextRect, APosition, AState, AColor,
                                           ABitmap);
    return;
  }
  LayoutViewDrawRecordBorder(ACanvas, ABounds, AState, cxBordersAll());
  DrawPart(Theme, ACanvas->Handle(), TABP_TABITEM_, LayoutCaptionStates[AState], ABounds);
}

void TcxWinXPLookAndFeelPainter::LayoutViewDrawItem(TcxCanvas* ACanvas, const TRect& ABounds,
                                                    TcxButtonState AState, TcxBorders ABorders) {
  HTHEME Theme = IsThemedItemState(AState) ? OpenTheme(totMenu) : nullptr;
  if (Theme)
    DrawPart(Theme, ACanvas->Handle(), MENU_POPUPITEM_, AState == cxbsDisabled ? 4 : 2, ABounds);
  else
    inherited::LayoutViewDrawItem(ACanvas, ABounds, AState, ABorders);
}

void TcxWinXPLookAndFeelPainter::WinExplorerViewDrawRecord(TcxCanvas* ACanvas, const TRect& ABounds,
                                                           TcxButtonState AState, TColor AColor,
                                                           TBitmap* ABitmap) {
  HTHEME Theme = IsThemedItemState(AState) ? OpenTheme(totMenu) : nullptr;
  if (Theme)
    DrawPart(Theme, ACanvas->Handle(), MENU_POPUPITEM_, AState == cxbsDisabled ? 4 : 2, ABounds);
  else
    inherited::WinExplorerViewDrawRecord(ACanvas, ABounds, AState, AColor, ABitmap);
}

// ---------------------------------------------------------------------------
// Track bars
namespace {
constexpr Integer TKP_TRACKVERT_ = 2;
// Thumb parts by tick alignment (up, down, both), then horizontal.
constexpr Integer TrackBarThumbParts[3][2] = {{7, 5}, {8, 4}, {6, 3}};
constexpr Integer TrackBarThumbStates[] = {2, 1, 2, 3, 5};
}  // namespace

void TcxWinXPLookAndFeelPainter::CorrectThumbRect(TcxCanvas* ACanvas, TRect& ARect,
                                                  bool AHorizontal, TcxTrackBarTicksAlign ATicks) {
  HTHEME Theme = OpenTheme(totTrackBar);
  TSize Size{0, 0};
  if (!ThemePartSize(Theme, ACanvas->Handle(), TrackBarThumbParts[ATicks][AHorizontal], 1, TS_DRAW,
                     Size, &ARect)) {
    inherited::CorrectThumbRect(ACanvas, ARect, AHorizontal, ATicks);
    return;
  }
  ARect = cxRectCenter(ARect, Size);
}

void TcxWinXPLookAndFeelPainter::DrawTrackBarScaledTrack(TcxCanvas* ACanvas, const TRect& ARect,
                                                         const TRect& ASelection,
                                                         bool AShowSelection, bool AEnabled,
                                                         bool AHorizontal, TColor ATrackColor,
                                                         const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totTrackBar))
    DrawPart(Theme, ACanvas->Handle(), AHorizontal ? TKP_TRACK_ : TKP_TRACKVERT_, 1, ARect);
  else
    inherited::DrawTrackBarScaledTrack(ACanvas, ARect, ASelection, AShowSelection, AEnabled,
                                       AHorizontal, ATrackColor, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawTrackBarScaledThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                                         TcxButtonState AState, bool AHorizontal,
                                                         TcxTrackBarTicksAlign ATicks,
                                                         TColor AThumbColor,
                                                         const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totTrackBar))
    DrawScaledThemeBackground(Theme, ACanvas->Handle(), false, AScaleFactor, ARect,
                              TrackBarThumbStates[AState], TrackBarThumbParts[ATicks][AHorizontal]);
  else
    inherited::DrawTrackBarScaledThumb(ACanvas, ARect, AState, AHorizontal, ATicks, AThumbColor,
                                       AScaleFactor);
}

namespace {
// A range track bar's thumb in this look: a plain themed thumb, a pixel
// larger towards the other thumb from Windows Vista on.
TRect NativeRangeThumbRect(const TRect& ARect, bool AHorizontal) {
  TRect R = ARect;
  if (IsWinVistaOrLater) ++(AHorizontal ? R.right : R.bottom);
  return R;
}
}  // namespace

void TcxWinXPLookAndFeelPainter::DrawRangeTrackBarScaledLeftThumb(
    TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
    TcxTrackBarTicksAlign, TColor AThumbColor, const TdxScaleFactor* AScaleFactor) {
  DrawTrackBarScaledThumb(ACanvas, NativeRangeThumbRect(ARect, AHorizontal), AState, AHorizontal,
                          tbtaBoth, AThumbColor, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawRangeTrackBarScaledRightThumb(
    TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState, bool AHorizontal,
    TcxTrackBarTicksAlign, TColor AThumbColor, const TdxScaleFactor* AScaleFactor) {
  DrawTrackBarScaledThumb(ACanvas, NativeRangeThumbRect(ARect, AHorizontal), AState, AHorizontal,
                          tbtaBoth, AThumbColor, AScaleFactor);
}

// ---------------------------------------------------------------------------
// Breadcrumb editor, alert window, zoom buttons
namespace {
constexpr Integer EP_EDITTEXT_ = 1, EP_BACKGROUNDWITHBORDER_ = 6;
constexpr Integer PP_MOVEOVERLAY_ = 8;
constexpr Integer BP_PUSHBUTTON_ = 1;
constexpr Integer cxThemeSizingMarginsProperty = 3601;  // TMT_SIZINGMARGINS
// Theme states by TdxBreadcrumbEditState.
constexpr Integer BreadcrumbBorderStates[] = {1, 5, 2, 4};
// Theme states by TdxBreadcrumbEditButtonState; 0 draws nothing.
constexpr Integer BreadcrumbButtonStates[] = {0, 1, 2, 3, 0};

TRect Enlarged(const TRect& R, const TRect& AOffsets) {
  return cxRect(R.left - AOffsets.left, R.top - AOffsets.top, R.right + AOffsets.right,
                R.bottom + AOffsets.bottom);
}

// A breadcrumb part in the push-button theme, clipped to R and reaching out
// beyond R by AOffsets so that only its inside shows.
void DrawBreadcrumbPart(TcxCanvas* ACanvas, HTHEME ATheme, const TRect& R, Integer AState,
                        const TRect& AOffsets) {
  if (AState == 0 || cxRectIsEmpty(R)) return;
  TClipRegionSaver KeepClip(ACanvas);
  ACanvas->IntersectClipRect(R);
  DrawPart(ATheme, ACanvas->Handle(), BP_PUSHBUTTON_, AState, Enlarged(R, AOffsets));
}
}  // namespace

TColor TcxWinXPLookAndFeelPainter::BreadcrumbEditBackgroundColor(TdxBreadcrumbEditState) {
  return DefaultContentColor();
}

bool TcxWinXPLookAndFeelPainter::BreadcrumbEditIsFadingSupports() { return true; }

TRect TcxWinXPLookAndFeelPainter::BreadcrumbEditScaledProgressChunkPadding(const TdxScaleFactor*) {
  return cxNullRect;
}

TSize TcxWinXPLookAndFeelPainter::BreadcrumbEditScaledProgressChunkOverlaySize(
    const TdxScaleFactor* AScaleFactor) {
  TSize Size{0, 0};
  if (ThemePartSize(VistaTheme(totProgress), nullptr, PP_MOVEOVERLAY_, 0, TS_TRUE, Size))
    return AScaleFactor->Apply(Size, dxSystemScaleFactor());
  return inherited::BreadcrumbEditScaledProgressChunkOverlaySize(AScaleFactor);
}

TRect TcxWinXPLookAndFeelPainter::BreadcrumbEditBordersSize() { return cxRect(1, 1, 1, 1); }

TRect TcxWinXPLookAndFeelPainter::BreadcrumbEditScaledButtonContentOffsets(
    bool AIsFirst, bool AIsLast, const TdxScaleFactor* AScaleFactor) {
  TRect Margins;
  if (ThemeMargins(OpenTheme(totButton), nullptr, BP_PUSHBUTTON_, 0, cxThemeContentMarginsProperty,
                   Margins))
    return AScaleFactor->Apply(Margins, dxSystemScaleFactor());
  return inherited::BreadcrumbEditScaledButtonContentOffsets(AIsFirst, AIsLast, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawBreadcrumbEditBorders(TcxCanvas* ACanvas, const TRect& ARect,
                                                           TcxBorders ABorders,
                                                           TdxBreadcrumbEditState AState) {
  HTHEME Theme = OpenTheme(totEdit);
  if (!Theme) {
    inherited::DrawBreadcrumbEditBorders(ACanvas, ARect, ABorders, AState);
    return;
  }
  const Integer Part = IsWinVistaOrLater ? EP_BACKGROUNDWITHBORDER_ : EP_EDITTEXT_;
  const Integer State = BreadcrumbBorderStates[AState];
  if (ABorders == cxBordersAll()) {
    DrawPart(Theme, ACanvas->Handle(), Part, State, ARect);
    return;
  }
  // The sides that are not borders are pushed out of the clip by the
  // part's own sizing margins.
  TClipRegionSaver KeepClip(ACanvas);
  ACanvas->IntersectClipRect(ARect);
  TRect Margins = cxNullRect;
  ThemeMargins(Theme, ACanvas->Handle(), Part, State, cxThemeSizingMarginsProperty, Margins);
  TRect R = ARect;
  if (!ABorders.Contains(bLeft)) R.left -= Margins.left;
  if (!ABorders.Contains(bTop)) R.top -= Margins.top;
  if (!ABorders.Contains(bRight)) R.right += Margins.right;
  if (!ABorders.Contains(bBottom)) R.bottom += Margins.bottom;
  DrawPart(Theme, ACanvas->Handle(), Part, State, R);
}

void TcxWinXPLookAndFeelPainter::DrawBreadcrumbEditScaledButtonAreaSeparator(
    TcxCanvas*, const TRect&, TdxBreadcrumbEditState, const TdxScaleFactor*) {}

void TcxWinXPLookAndFeelPainter::DrawBreadcrumbEditScaledButton(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState, bool AIsFirst,
    bool AIsLast, const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = OpenTheme(totButton);
  if (!Theme) {
    inherited::DrawBreadcrumbEditScaledButton(ACanvas, ARect, AState, AIsFirst, AIsLast,
                                              AScaleFactor);
    return;
  }
  TRect Offsets = BreadcrumbEditScaledButtonContentOffsets(AIsFirst, AIsLast, AScaleFactor);
  Offsets.left = Offsets.right = 1;
  DrawBreadcrumbPart(ACanvas, Theme, ARect, BreadcrumbButtonStates[AState], Offsets);
}

void TcxWinXPLookAndFeelPainter::DrawBreadcrumbEditScaledDropDownButton(
    TcxCanvas* ACanvas, const TRect& ARect, TdxBreadcrumbEditButtonState AState, bool,
    const TdxScaleFactor* AScaleFactor) {
  DrawBreadcrumbEditScaledButton(ACanvas, ARect, AState, true, true, AScaleFactor);
}

namespace {
// A node part: the offsets of a single button, 1 on the sides given.
TRect NodeOffsets(TRect AOffsets, TcxBorders ASides) {
  if (ASides.Contains(bLeft)) AOffsets.left = 1;
  if (ASides.Contains(bTop)) AOffsets.top = 1;
  if (ASides.Contains(bRight)) AOffsets.right = 1;
  if (ASides.Contains(bBottom)) AOffsets.bottom = 1;
  return AOffsets;
}
}  // namespace

void TcxWinXPLookAndFeelPainter::DrawBreadcrumbEditScaledNode(TcxCanvas* ACanvas, const TRect& R,
                                                              TdxBreadcrumbEditButtonState AState,
                                                              bool AHasDelimiter,
                                                              const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = OpenTheme(totButton);
  if (!Theme) {
    inherited::DrawBreadcrumbEditScaledNode(ACanvas, R, AState, AHasDelimiter, AScaleFactor);
    return;
  }
  TcxBorders Sides = AHasDelimiter ? TcxBorders{bLeft} : TcxBorders{bLeft, bRight};
  DrawBreadcrumbPart(
      ACanvas, Theme, R, BreadcrumbButtonStates[AState],
      NodeOffsets(BreadcrumbEditScaledButtonContentOffsets(true, true, AScaleFactor), Sides));
}

void TcxWinXPLookAndFeelPainter::DrawBreadcrumbEditScaledNodeDelimiter(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState,
    const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = OpenTheme(totButton);
  if (!Theme) {
    inherited::DrawBreadcrumbEditScaledNodeDelimiter(ACanvas, R, AState, AScaleFactor);
    return;
  }
  DrawBreadcrumbPart(ACanvas, Theme, R, BreadcrumbButtonStates[AState],
                     NodeOffsets(BreadcrumbEditScaledButtonContentOffsets(true, true, AScaleFactor),
                                 TcxBorders{bLeft, bRight}));
}

void TcxWinXPLookAndFeelPainter::DrawBreadcrumbEditScaledNodeDelimiterGlyph(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState,
    const TdxScaleFactor*) {
  TcxArrowDirection Direction = AState == dxbcbsPressed              ? adDown
                                : ACanvas->UseRightToLeftAlignment() ? adLeft
                                                                     : adRight;
  DrawArrow(ACanvas, cxRectInflate(R, -1, -1), Direction, BreadcrumbEditNodeTextColor(AState));
}

void TcxWinXPLookAndFeelPainter::DrawBreadcrumbEditScaledNodeMoreButtonGlyph(
    TcxCanvas* ACanvas, const TRect& R, TdxBreadcrumbEditButtonState AState,
    const TdxScaleFactor* AScaleFactor) {
  DrawCollapseArrow(ACanvas, R, BreadcrumbEditNodeTextColor(AState), AScaleFactor->Apply(2));
}

void TcxWinXPLookAndFeelPainter::DrawBreadcrumbEditScaledProgressChunk(
    TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totProgress))
    DrawPart(Theme, ACanvas->Handle(), PP_CHUNK_, 1, R);
  else
    inherited::DrawBreadcrumbEditScaledProgressChunk(ACanvas, R, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawBreadcrumbEditScaledProgressChunkOverlay(
    TcxCanvas* ACanvas, const TRect& R, const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = VistaTheme(totProgress))
    DrawPart(Theme, ACanvas->Handle(), PP_MOVEOVERLAY_, 0, R);
  else
    inherited::DrawBreadcrumbEditScaledProgressChunkOverlay(ACanvas, R, AScaleFactor);
}

Integer TcxWinXPLookAndFeelPainter::AlertWindowCornerRadius() { return 5; }

namespace {
// The zoom glyph and the push button's content margins around it.
bool NativeZoomButtonGetMinSize(TcxBitmap32* AGlyph, const TdxScaleFactor* AScaleFactor,
                                TSize& ASize) {
  TRect Margins;
  if (!ThemeMargins(OpenTheme(totButton), nullptr, BP_PUSHBUTTON_, 0, cxThemeContentMarginsProperty,
                    Margins))
    return false;
  ASize = AScaleFactor->Apply(TSize{AGlyph->Width() + Margins.left + Margins.right,
                                    AGlyph->Height() + Margins.top + Margins.bottom});
  return true;
}

bool NativeZoomButtonDraw(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                          TcxBitmap32* AGlyph, const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = OpenTheme(totButton);
  if (!Theme) return false;
  DrawPart(Theme, ACanvas->Handle(), BP_PUSHBUTTON_, BtnStateToXPBtnState(AState), R);
  cxDrawImage(ACanvas, R, AGlyph, nullptr, -1, ifmNormal, idmNormal, true, nullptr, AScaleFactor);
  return true;
}
}  // namespace

TSize TcxWinXPLookAndFeelPainter::GetScaledZoomInButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize Size;
  if (NativeZoomButtonGetMinSize(ZoomInButtonGlyph(), AScaleFactor, Size)) return Size;
  return inherited::GetScaledZoomInButtonSize(AScaleFactor);
}

TSize TcxWinXPLookAndFeelPainter::GetScaledZoomOutButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize Size;
  if (NativeZoomButtonGetMinSize(ZoomOutButtonGlyph(), AScaleFactor, Size)) return Size;
  return inherited::GetScaledZoomOutButtonSize(AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawScaledZoomInButton(TcxCanvas* ACanvas, const TRect& R,
                                                        TcxButtonState AState,
                                                        const TdxScaleFactor* AScaleFactor) {
  if (!NativeZoomButtonDraw(ACanvas, R, AState, ZoomInButtonGlyph(), AScaleFactor))
    inherited::DrawScaledZoomInButton(ACanvas, R, AState, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawScaledZoomOutButton(TcxCanvas* ACanvas, const TRect& R,
                                                         TcxButtonState AState,
                                                         const TdxScaleFactor* AScaleFactor) {
  if (!NativeZoomButtonDraw(ACanvas, R, AState, ZoomOutButtonGlyph(), AScaleFactor))
    inherited::DrawScaledZoomOutButton(ACanvas, R, AState, AScaleFactor);
}

// ---------------------------------------------------------------------------
// Hints and lists
namespace {
constexpr Integer TTP_STANDARD_ = 1;
constexpr Integer MENU_POPUPBACKGROUND_ = 9, MENU_POPUPGUTTER_ = 13, MENU_POPUPSEPARATOR_ = 15;
constexpr Integer cxThemeEdgeLightColorProperty = 3804;      // TMT_EDGELIGHTCOLOR
constexpr Integer cxThemeEdgeHighlightColorProperty = 3805;  // TMT_EDGEHIGHLIGHTCOLOR
constexpr Integer cxHintThemeOverhang = 4;
}  // namespace

TColor TcxWinXPLookAndFeelPainter::GetHintBorderColor() {
  return OpenTheme(totToolTip) ? TColor(clWindowFrame) : inherited::GetHintBorderColor();
}

void TcxWinXPLookAndFeelPainter::DrawHintBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                    TColor AColor) {
  if (HTHEME Theme = OpenTheme(totToolTip))
    DrawPart(Theme, ACanvas->Handle(), TTP_STANDARD_, 1,
             cxRectInflate(ARect, cxHintThemeOverhang, cxHintThemeOverhang));
  else
    inherited::DrawHintBackground(ACanvas, ARect, AColor);
}

TColor TcxWinXPLookAndFeelPainter::ScreenTipGetDescriptionTextColor() {
  TColor Color;
  if (cxGetThemeColor(totToolTip, TTP_STANDARD_, 1, cxThemeTextColorProperty, Color)) return Color;
  return inherited::ScreenTipGetDescriptionTextColor();
}

TColor TcxWinXPLookAndFeelPainter::ScreenTipGetTitleTextColor() {
  return ScreenTipGetDescriptionTextColor();
}

TColor TcxWinXPLookAndFeelPainter::DropDownListBoxItemTextColor(bool ASelected) {
  TColor Color;
  if (cxGetThemeColor(totMenu, MENU_POPUPITEM_, 1, cxThemeTextColorProperty, Color)) return Color;
  return inherited::DropDownListBoxItemTextColor(ASelected);
}

Integer TcxWinXPLookAndFeelPainter::DropDownListBoxScaledSeparatorSize(
    const TdxScaleFactor* AScaleFactor) {
  TSize Size{0, 0};
  if (ThemePartSize(OpenTheme(totMenu), nullptr, MENU_POPUPSEPARATOR_, 0, TS_TRUE, Size))
    return Size.cy;
  return inherited::DropDownListBoxScaledSeparatorSize(AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawDropDownListBoxBackground(TcxCanvas* ACanvas,
                                                               const TRect& ARect,
                                                               bool AHasBorders) {
  if (!AreVisualStylesAvailable()) {
    inherited::DrawDropDownListBoxBackground(ACanvas, ARect, AHasBorders);
    return;
  }
  TRect R = ARect;
  if (AHasBorders) {
    const Integer Properties[] = {cxThemeEdgeLightColorProperty, cxThemeEdgeHighlightColorProperty};
    const TColor Fallbacks[] = {clBtnShadow, clBtnHighlight};
    for (int I = 0; I < 2; ++I) {
      TColor Color;
      if (!cxGetThemeColor(totMenu, MENU_POPUPBACKGROUND_, 0, Properties[I], Color))
        Color = Fallbacks[I];
      ACanvas->FrameRect(R, Resolved(Color));
      R = cxRectInflate(R, -1, -1);
    }
  }
  if (HTHEME Theme = OpenTheme(totMenu)) {
    DrawPart(Theme, ACanvas->Handle(), MENU_POPUPBACKGROUND_, 0, R);
  } else {
    ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
    ACanvas->FillRect(R, clWindow);
  }
}

void TcxWinXPLookAndFeelPainter::DrawDropDownListBoxScaledGutterBackground(
    TcxCanvas* ACanvas, const TRect& ARect, const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totMenu))
    DrawPart(Theme, ACanvas->Handle(), MENU_POPUPGUTTER_, 0, ARect);
  else
    inherited::DrawDropDownListBoxScaledGutterBackground(ACanvas, ARect, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawDropDownListBoxScaledSelection(
    TcxCanvas* ACanvas, const TRect& ARect, const TRect& AGutterRect,
    const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totMenu))
    DrawPart(Theme, ACanvas->Handle(), MENU_POPUPITEM_, 2, ARect);
  else
    inherited::DrawDropDownListBoxScaledSelection(ACanvas, ARect, AGutterRect, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawDropDownListBoxScaledSeparator(
    TcxCanvas* ACanvas, const TRect& ARect, const TRect& AGutterRect,
    const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = OpenTheme(totMenu);
  TSize Size{0, 0};
  if (!Theme || !ThemePartSize(Theme, ACanvas->Handle(), MENU_POPUPSEPARATOR_, 0, TS_TRUE, Size)) {
    inherited::DrawDropDownListBoxScaledSeparator(ACanvas, ARect, AGutterRect, AScaleFactor);
    return;
  }
  const Integer Top = FloorHalf(ARect.top + ARect.bottom - Size.cy);
  DrawPart(Theme, ACanvas->Handle(), MENU_POPUPSEPARATOR_, 0,
           cxRect(AGutterRect.right + 2, Top, ARect.right, Top + Size.cy));
}

// ---------------------------------------------------------------------------
// The small close button, the back button
namespace {
constexpr Integer NAV_BACKBUTTON_ = 1;
// A close button narrower or lower than this comes out at the usual size
// from Windows 8 on, whose caption buttons have no glyph-sized part.
constexpr Integer cxSmallCloseButtonMinSide = 10;
constexpr TSize cxWin8SmallCloseButtonSize{13, 13};
}  // namespace

TSize TcxWinXPLookAndFeelPainter::DoGetSmallCloseButtonSize() {
  TSize Size{0, 0};
  if (!ThemePartSize(OpenTheme(totWindow), nullptr, WP_SMALLCLOSEBUTTON_, 1, TS_TRUE, Size))
    return inherited::DoGetSmallCloseButtonSize();
  if (IsWin8OrLater && (Size.cx < cxSmallCloseButtonMinSide || Size.cy < cxSmallCloseButtonMinSide))
    return cxWin8SmallCloseButtonSize;
  return Size;
}

TSize TcxWinXPLookAndFeelPainter::GetScaledBackButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize Size{0, 0};
  if (ThemePartSize(OpenTheme(totNavigation), nullptr, NAV_BACKBUTTON_, 0, TS_TRUE, Size))
    return AScaleFactor->Apply(Size, dxSystemScaleFactor());
  return inherited::GetScaledBackButtonSize(AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawScaledBackButton(TcxCanvas* ACanvas, const TRect& R,
                                                      TcxButtonState AState,
                                                      const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totNavigation))
    DrawScaledThemeBackground(Theme, ACanvas->Handle(), false, AScaleFactor, R,
                              TabItemStates[AState], NAV_BACKBUTTON_);
  else
    TcxCustomLookAndFeelPainter::DrawScaledBackButton(ACanvas, R, AState, AScaleFactor);
}

// ---------------------------------------------------------------------------
// Galleries, toggle switches, the clock, calendars, wheel pickers, tokens
namespace {
constexpr Integer LVP_LISTITEM_ = 1;
constexpr Integer TEXT_CONTROLLABEL_ = 6;
// Theme states of a token by button state; 0 draws nothing.
constexpr Integer TokenStates[] = {0, 0, 2, 3, 0};

Integer GalleryItemThemeState(const TdxGalleryItemViewState& S) {
  if (S.Pressed) return 3;
  if (S.Checked) return (S.Hover || S.Focused) && IsWinVistaOrLater ? 6 : 3;
  if (S.Focused) return 5;
  return S.Hover ? 2 : 1;
}

Integer CalendarCellThemeState(TcxCalendarElementStates AStates) {
  if (AStates.Contains(cesSelected)) {
    if (AStates.Contains(cesHot)) return 6;
    return AStates.Contains(cesFocused) ? 3 : 5;
  }
  return AStates.Contains(cesHot) ? 2 : 1;
}
}  // namespace

bool TcxWinXPLookAndFeelPainter::DrawGalleryItemSelectionFirst() {
  return OpenTheme(totExplorerListView) != nullptr || inherited::DrawGalleryItemSelectionFirst();
}

void TcxWinXPLookAndFeelPainter::DrawGalleryItemSelection(
    TcxCanvas* ACanvas, const TRect& R, const TdxGalleryItemViewState& AViewState) {
  HTHEME Theme = OpenTheme(totExplorerListView);
  if (!Theme) {
    inherited::DrawGalleryItemSelection(ACanvas, R, AViewState);
    return;
  }
  const Integer State = GalleryItemThemeState(AViewState);
  if (State != 1) DrawPart(Theme, ACanvas->Handle(), LVP_LISTITEM_, State, R);
}

void TcxWinXPLookAndFeelPainter::DrawScaledToggleSwitchState(TcxCanvas* ACanvas,
                                                             const TRect& ABounds, TcxButtonState,
                                                             bool AChecked, const TdxScaleFactor*) {
  const TdxAlphaColor Pen = dxMakeAlphaColor(255, 0x70, 0x70, 0x70);
  const TdxAlphaColor Brush = dxColorToAlphaColor(ToggleSwitchToggleColor(AChecked), 255);
  PaintWithGdiPlus(ACanvas, ABounds,
                   [&](TdxGPPaintCanvas* GP) { GP->Rectangle(ABounds, Pen, Brush, 1); });
}

void TcxWinXPLookAndFeelPainter::DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas,
                                                             const TRect& ABounds,
                                                             TcxButtonState AState,
                                                             const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, cxRectInflate(ABounds, -1, -1), String(), AState, AScaleFactor, true,
                   clDefault, clDefault, false, false, cxbpButton);
}

TColor TcxWinXPLookAndFeelPainter::ToggleSwitchToggleColor(bool AChecked) {
  return AChecked ? TColor(0xA0A0A0) : TColor(0xC8C8C8);
}

TSize TcxWinXPLookAndFeelPainter::ScaledClockSize(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(GetClockFace()->Size());
}

void TcxWinXPLookAndFeelPainter::DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect,
                                                 TDateTime ADateTime, TColor ABackgroundColor,
                                                 const TdxScaleFactor* AScaleFactor) {
  DrawModernCalendarClock(ACanvas, ARect, ADateTime, ABackgroundColor, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawModernCalendarDateCellSelection(
    TcxCanvas* ACanvas, const TRect& ARect, TcxCalendarElementStates AStates) {
  HTHEME Theme = OpenTheme(totExplorerListView);
  if (!Theme) {
    inherited::DrawModernCalendarDateCellSelection(ACanvas, ARect, AStates);
    return;
  }
  if (AStates.Contains(cesHot) || AStates.Contains(cesSelected))
    DrawPart(Theme, ACanvas->Handle(), LVP_LISTITEM_, CalendarCellThemeState(AStates), ARect);
  if (AStates.Contains(cesMarked))
    ACanvas->FrameRect(ARect, Resolved(GetModernCalendarMarkedCellBorderColor()));
  if (AStates.Contains(cesFocused)) ACanvas->DrawFocusRect(cxRectInflate(ARect, -1, -1));
}

TColor TcxWinXPLookAndFeelPainter::GetModernCalendarHeaderTextColor(
    TcxCalendarElementStates AStates) {
  TColor Color;
  if (cxGetThemeColor(totTextStyle, TEXT_CONTROLLABEL_, 1, cxThemeTextColorProperty, Color))
    return Color;
  return inherited::GetModernCalendarHeaderTextColor(AStates);
}

void TcxWinXPLookAndFeelPainter::DrawWheelPickerItemBackground(TcxCanvas* ACanvas,
                                                               const TRect& ARect,
                                                               TcxButtonState AState) {
  HTHEME Theme = OpenTheme(totExplorerListView);
  if (Theme && (AState == cxbsHot || AState == cxbsPressed))
    DrawPart(Theme, ACanvas->Handle(), LVP_LISTITEM_, AState == cxbsPressed ? 3 : 5, ARect);
  else
    inherited::DrawWheelPickerItemBackground(ACanvas, ARect, AState);
}

void TcxWinXPLookAndFeelPainter::DrawWheelPickerItemBorder(TcxCanvas* ACanvas, const TRect& ARect,
                                                           TcxButtonState AState) {
  if (OpenTheme(totExplorerListView) && (AState == cxbsHot || AState == cxbsPressed)) return;
  inherited::DrawWheelPickerItemBorder(ACanvas, ARect, AState);
}

void TcxWinXPLookAndFeelPainter::DrawScaledTokenBackground(TcxCanvas* ACanvas, const TRect& R,
                                                           TcxButtonState AState,
                                                           const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = OpenTheme(totButton);
  if (!Theme) {
    TcxStandardLookAndFeelPainter::DrawScaledTokenBackground(ACanvas, R, AState, AScaleFactor);
    return;
  }
  if (cxRectIsEmpty(R) || TokenStates[AState] == 0) return;
  TRect Margins = cxNullRect;
  ThemeMargins(Theme, ACanvas->Handle(), BP_PUSHBUTTON_, TokenStates[AState],
               cxThemeContentMarginsProperty, Margins);
  TClipRegionSaver KeepClip(ACanvas);
  ACanvas->IntersectClipRect(R);
  DrawPart(Theme, ACanvas->Handle(), BP_PUSHBUTTON_, TokenStates[AState], Enlarged(R, Margins));
}
