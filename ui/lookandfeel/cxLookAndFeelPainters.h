// The painters: the one interface through which every library control draws
// and measures its elements, its Standard, UltraFlat and Native looks, and
// the registry that owns the painters and finds them by style or name.
//
// Operations whose result depends on the display density come in two forms:
// a virtual one with "Scaled" in its name that takes the scale factor, and a
// non-virtual unscaled one that passes the system scale factor. Painters
// override only the scaled forms. Sizes are designed for 96 DPI. A colour of
// clDefault means the painter's own colour for the element.
//
// The class grows by element family: each family is a block of declarations
// below and a cxLookAndFeelPainters_<Family>.cpp beside the others.
#pragma once

#include <array>
#include <vector>

#include "ComObj.h"
#include "ImgList.h"
#include "cxClasses.h"
#include "cxGraphics.h"
#include "dxDPIAwareUtils.h"
#include "dxGDIPlusClasses.h"
#include "dxThemeManager.h"

class TcxCustomLookAndFeelPainter;

// ---------------------------------------------------------------------------
// Vocabulary shared by the painters and the controls
enum TcxLookAndFeelStyle { lfsFlat, lfsStandard, lfsUltraFlat, lfsNative, lfsOffice11, lfsSkin };
// The four looks a control may ask for by kind (the radio-button images are
// made for each).
enum TcxLookAndFeelKind { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };

enum TcxButtonState { cxbsDefault, cxbsNormal, cxbsHot, cxbsPressed, cxbsDisabled };
enum TcxButtonPart { cxbpButton, cxbpDropDownLeftPart, cxbpDropDownRightPart };
enum TcxCheckBoxState { cbsUnchecked, cbsChecked, cbsGrayed };
enum TcxEditCheckState { ecsNormal, ecsHot, ecsPressed, ecsDisabled };
enum TcxEditStateColorKind { esckNormal, esckDisabled, esckInactive, esckReadOnly };
enum TcxFilterSmartTagState { fstsNormal, fstsHot, fstsPressed, fstsParentHot };
enum TdxBreadcrumbEditButtonState {
  dxbcbsNormal,
  dxbcbsFocused,
  dxbcbsHot,
  dxbcbsPressed,
  dxbcbsDisabled
};
enum TdxBreadcrumbEditState { dxbcsNormal, dxbcsFocused, dxbcsHot, dxbcsDisabled };
enum TdxAlertWindowButtonKind {
  awbkClose,
  awbkPin,
  awbkDropdown,
  awbkPrevious,
  awbkNext,
  awbkCustom
};
enum TcxTrackBarTicksAlign { tbtaUp, tbtaDown, tbtaBoth };
enum TcxCalendarElementState {
  cesNormal,
  cesHot,
  cesPressed,
  cesSelected,
  cesFocused,
  cesMarked,
  cesDisabled
};
using TcxCalendarElementStates = TSet<TcxCalendarElementState>;
enum TdxRatingControlIndicatorState { rcisUnchecked, rcisChecked, rcisHover };
enum TdxMapControlElementState { mcesNormal, mcesHot, mcesPressed, mcesSelected, mcesDisabled };
using TdxMapControlElementStates = TSet<TdxMapControlElementState>;
struct TdxGalleryItemViewState {
  bool Enabled = true;
  bool Checked = false;
  bool Hover = false;
  bool Pressed = false;
  bool Focused = false;
};
enum TcxLayoutElement {
  leGroup,
  leGroupWithoutBorders,
  leTabbedGroup,
  leRootGroup,
  leRootGroupWithoutBorders,
  leItem
};
enum TcxGroupBoxCaptionPosition { cxgpTop, cxgpBottom, cxgpLeft, cxgpRight, cxgpCenter };
enum TcxIndicatorKind {
  ikNone,
  ikArrow,
  ikEdit,
  ikInsert,
  ikMultiDot,
  ikMultiArrow,
  ikFilter,
  ikInplaceEdit
};
enum TdxBevelShape {
  dxbsNone,
  dxbsBox,
  dxbsFrame,
  dxbsLineTop,
  dxbsLineBottom,
  dxbsLineLeft,
  dxbsLineRight,
  dxbsLineCenteredHorz,
  dxbsLineCenteredVert
};
enum TdxBevelStyle { dxbsLowered, dxbsRaised };
enum TcxContainerBorderStyle {
  cbsNone,
  cbsSingle,
  cbsThick,
  cbsFlat,
  cbs3D,
  cbsUltraFlat,
  cbsOffice11
};
enum TcxNeighbor { nLeft, nTop, nRight, nBottom };
using TcxNeighbors = TSet<TcxNeighbor>;
using TcxArrowDirections = TSet<TcxArrowDirection>;
using TcxArrowPoints = std::vector<TPoint>;

// The parts of a scroll bar: the arrow buttons at its two ends, the thumb
// and the track on either side of the thumb.
enum TcxScrollBarPart { sbpNone, sbpLineUp, sbpLineDown, sbpThumbnail, sbpPageUp, sbpPageDown };

enum TcxEditPopupBorderStyle { epbsDefault, epbsSingle, epbsFrame3D, epbsFlat };
enum TcxPopupBorderStyle { pbsNone, pbsUltraFlat, pbsFlat, pbs3D };
enum TcxEditBtnKind {
  cxbkCloseBtn,
  cxbkComboBtn,
  cxbkEditorBtn,
  cxbkEllipsisBtn,
  cxbkSpinUpBtn,
  cxbkSpinDownBtn,
  cxbkSpinLeftBtn,
  cxbkSpinRightBtn
};
enum TcxEditBtnPosition { cxbpLeft, cxbpRight };
enum TcxCalcButtonKind {
  cbBack,
  cbCancel,
  cbClear,
  cbMC,
  cbMR,
  cbMS,
  cbMP,
  cbNum0,
  cbNum1,
  cbNum2,
  cbNum3,
  cbNum4,
  cbNum5,
  cbNum6,
  cbNum7,
  cbNum8,
  cbNum9,
  cbSign,
  cbDecimal,
  cbDiv,
  cbMul,
  cbSub,
  cbAdd,
  cbSqrt,
  cbPercent,
  cbRev,
  cbEqual,
  cbNone
};

// Paints a background itself and answers true, or leaves it to the caller.
using TcxDrawBackgroundEvent = TMethodPtr<bool(TcxCanvas* ACanvas, const TRect& ABounds)>;
// Draws a size grip for the bottom-right corner into a canvas.
using TcxDrawSizeGripEvent = TMethodPtr<void(TcxCanvas* ACanvas, const TRect& ARect)>;

constexpr TcxEditStateColorKind cxEditStateColorKindMap(bool AEnabled) {
  return AEnabled ? esckNormal : esckDisabled;
}

constexpr Integer cxTextOffset = 2;
constexpr Integer cxHeaderTextOffset = 2;
constexpr Integer cxContainerMaxBorderWidth = 2;
constexpr Integer cxArrowLeftBasePointIndex = 0;
constexpr Integer cxArrowTopPointIndex = 1;
constexpr Integer cxArrowRightBasePointIndex = 2;
constexpr Integer cxStdThumbnailMinimalSize = 8;
constexpr Integer cxTouchElementMinSize = 27;

class TdxSkinDetails;

// ---------------------------------------------------------------------------
// The painter interface
class TcxCustomLookAndFeelPainter : public TPersistent {
  DECLARE_CLASS(TcxCustomLookAndFeelPainter, TPersistent)
 public:
  ~TcxCustomLookAndFeelPainter() override;

  // Identity
  virtual String LookAndFeelName();
  virtual TcxLookAndFeelStyle LookAndFeelStyle();
  virtual bool IsInternalPainter();
  virtual bool NeedRedrawOnResize();
  // A painter may carry data for its callers; these painters carry none.
  virtual bool GetPainterData(Pointer& AData);
  // The painter's name, group and icons, made on first request and kept.
  virtual TdxSkinDetails* CreateLookAndFeelPainterDetails();
  virtual TdxSkinDetails* GetLookAndFeelPainterDetails();
  virtual bool GetPainterDetails(TdxSkinDetails*& ADetails);

  // Cached images of the program's resources, made on first request.
  TdxSmartImage* GetBackButton();
  TdxSmartImage* GetClockFace();
  TdxSmartImage* GetClockGlass();
  TdxSmartImage* GetFixedGroupIndicator();
  TdxSmartImage* GetMapPushpin();
  TdxSmartImage* GetNavigationBarCustomizationButton();
  TdxSmartImage* GetRatingControlIndicator();
  TdxSmartImage* GetSearchButtonGlyph();

  // Default colours
  virtual TColor DefaultContentColor();
  virtual TColor DefaultContentEvenColor();
  virtual TColor DefaultContentOddColor();
  virtual TColor DefaultContentTextColor();
  virtual TColor DefaultControlColor();
  virtual TColor DefaultControlTextColor();
  virtual TColor DefaultEditorBackgroundColor(bool AIsDisabled);
  virtual TColor DefaultEditorBackgroundColorEx(TcxEditStateColorKind AKind);
  virtual TColor DefaultEditorTextColor(bool AIsDisabled);
  virtual TColor DefaultEditorTextColorEx(TcxEditStateColorKind AKind);
  virtual TColor DefaultFilterBoxColor();
  virtual TColor DefaultFilterBoxTextColor();
  virtual TColor DefaultFixedSeparatorColor();
  virtual TColor DefaultFooterColor();
  virtual TColor DefaultFooterTextColor();
  virtual TColor DefaultGridDetailsSiteColor();
  virtual TColor DefaultGridLineColor();
  virtual TColor DefaultGroupByBoxColor();
  virtual TColor DefaultGroupByBoxTextColor();
  virtual TColor DefaultGroupColor();
  virtual TRect DefaultGroupContentOffsets();
  virtual TColor DefaultGroupTextColor();
  virtual TColor DefaultHeaderBackgroundColor();
  virtual TColor DefaultHeaderBackgroundTextColor();
  virtual TColor DefaultHeaderColor();
  virtual TColor DefaultHeaderTextColor();
  virtual TColor DefaultHyperlinkTextColor();
  virtual TColor DefaultInactiveColor();
  virtual TColor DefaultInactiveTextColor();
  virtual TColor DefaultPreviewTextColor();
  virtual TColor DefaultRecordSeparatorColor();
  virtual TColor DefaultSizeGripAreaColor();
  virtual TColor DefaultTreeListGridLineColor();
  virtual TColor DefaultTreeListTreeLineColor();
  virtual TColor DefaultVGridBandLineColor();
  virtual TColor DefaultVGridCategoryColor();
  virtual TColor DefaultVGridCategoryTextColor();
  virtual TColor DefaultVGridContentColor();
  virtual TColor DefaultVGridContentEvenColor();
  virtual TColor DefaultVGridContentOddColor();
  virtual TColor DefaultVGridContentTextColor();
  virtual TColor DefaultVGridHeaderColor();
  virtual TColor DefaultVGridHeaderTextColor();
  virtual TColor DefaultVGridLineColor();
  virtual TColor DefaultDateNavigatorContentColor();
  virtual TColor DefaultDateNavigatorHeaderColor();
  virtual TColor DefaultDateNavigatorHeaderTextColor(bool AIsHighlight);
  virtual TColor DefaultDateNavigatorHolydayTextColor();
  virtual TColor DefaultDateNavigatorInactiveTextColor();
  virtual TColor DefaultDateNavigatorSelectionColor();
  virtual TColor DefaultDateNavigatorSelectionTextColor();
  virtual TColor DefaultDateNavigatorSeparator1Color();
  virtual TColor DefaultDateNavigatorSeparator2Color();
  virtual TColor DefaultDateNavigatorTextColor();
  virtual TColor DefaultDateNavigatorTodayFrameColor();
  virtual TColor DefaultDateNavigatorTodayTextColor(bool ASelected);
  TColor DefaultDateNavigatorTodayTextColor() { return DefaultDateNavigatorTodayTextColor(false); }
  virtual TColor DefaultSchedulerBackgroundColor();
  virtual TColor DefaultSchedulerBorderColor();
  virtual TColor DefaultSchedulerContentColor();
  virtual TColor DefaultSchedulerControlColor();
  virtual TColor DefaultSchedulerDayHeaderColor();
  virtual TColor DefaultSchedulerDayHeaderBorderColor();
  virtual TColor DefaultSchedulerDayHeaderTextColor();
  virtual TColor DefaultSchedulerDateNavigatorArrowColor(bool AIsHighlight);
  virtual TColor DefaultSchedulerHeaderContainerAlternateBackgroundColor();
  virtual TColor DefaultSchedulerHeaderContainerBackgroundColor(bool ASelected);
  virtual TColor DefaultSchedulerHeaderContainerTextColor(bool ASelected);
  virtual TColor DefaultSchedulerHeaderContainerBorderColor();
  virtual TColor DefaultSchedulerEventColor(bool AIsAllDayEvent);
  virtual TColor DefaultSchedulerEventColorClassic(bool AIsAllDayEvent);
  virtual TColor DefaultSchedulerNavigatorColor();
  virtual TColor DefaultSchedulerSelectedEventBorderColor();
  virtual TColor DefaultSchedulerTextColor();
  virtual TColor DefaultSchedulerTimeRulerBorderColor();
  virtual TColor DefaultSchedulerTimeRulerBorderColorClassic();
  virtual TColor DefaultSchedulerTimeRulerColor();
  virtual TColor DefaultSchedulerTimeRulerColorClassic();
  virtual TColor DefaultSchedulerTimeRulerTextColor();
  virtual TColor DefaultSchedulerTimeRulerTextColorClassic();
  virtual TColor DefaultSchedulerViewContentColor();
  virtual TColor DefaultSchedulerViewContentColorClassic();
  virtual TColor DefaultSchedulerViewSelectedTextColor();
  virtual TColor DefaultSchedulerViewTextColor();
  virtual TColor DefaultSchedulerYearViewUnusedContentColor();
  virtual TColor DefaultSelectionColor();
  virtual TColor DefaultSelectionTextColor();
  virtual TColor DefaultSeparatorColor();
  virtual TColor DefaultTabColor();
  virtual TColor DefaultTabTextColor();
  virtual TColor DefaultTabsBackgroundColor();
  virtual TColor DefaultRootTabsBackgroundColor();
  virtual TColor DefaultTimeGridMajorScaleColor();
  virtual TColor DefaultTimeGridMajorScaleTextColor();
  virtual TColor DefaultTimeGridMinorScaleColor();
  virtual TColor DefaultTimeGridMinorScaleTextColor();
  virtual TColor DefaultTimeGridSelectionBarColor();
  virtual TColor DefaultChartDiagramValueBorderColor();
  virtual TColor DefaultChartDiagramValueCaptionTextColor();
  virtual TColor DefaultChartHistogramAxisColor();
  virtual TColor DefaultChartHistogramGridLineColor();
  virtual TColor DefaultChartHistogramPlotColor();
  virtual TColor DefaultChartPieDiagramSeriesSiteBorderColor();
  virtual TColor DefaultChartPieDiagramSeriesSiteCaptionColor();
  virtual TColor DefaultChartPieDiagramSeriesSiteCaptionTextColor();
  virtual TColor DefaultChartToolBoxDataLevelInfoBorderColor();
  virtual TColor DefaultChartToolBoxItemSeparatorColor();
  virtual TColor DefaultLayoutViewCaptionColor(TcxButtonState AState);
  virtual TColor DefaultLayoutViewCaptionTextColor(TcxArrowDirection ACaptionPosition,
                                                   TcxButtonState AState);
  virtual TColor DefaultLayoutViewContentColor();
  virtual TColor DefaultLayoutViewContentTextColor(TcxButtonState AState);
  virtual TColor DefaultGridOptionsTreeViewCategoryColor(bool ASelected);
  virtual TColor DefaultGridOptionsTreeViewCategoryTextColor(bool ASelected);
  virtual TColor DefaultDateNavigatorHeaderHighlightTextColor();
  virtual TColor GetFilterSmartTagColor(TcxFilterSmartTagState AState, bool AIsFilterActive);
  // The grid-like controls' content colours, on which the vertical grid's
  // defaults stand.
  virtual TColor GridLikeControlContentColor();
  virtual TColor GridLikeControlContentEvenColor();
  virtual TColor GridLikeControlContentOddColor();

  // Arrows
  // The three corners of an arrow in R; the apex is APoints[1].
  static void CalculateArrowPoints(TRect R, TcxArrowPoints& APoints,
                                   TcxArrowDirection AArrowDirection, bool AProportional,
                                   Integer AArrowSize = 0);
  virtual void DrawArrow(TcxCanvas* ACanvas, const TRect& R, TcxArrowDirection AArrowDirection,
                         TColor AColor);
  void DrawArrow(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                 TcxArrowDirection AArrowDirection, bool ADrawBorder = true);
  virtual void DrawScaledArrow(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               TcxArrowDirection AArrowDirection,
                               const TdxScaleFactor* AScaleFactor, bool ADrawBorder);
  void DrawArrowBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledArrowBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                     const TdxScaleFactor* AScaleFactor);
  void DrawScrollBarArrow(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                          TcxArrowDirection AArrowDirection);
  virtual void DrawScaledScrollBarArrow(TcxCanvas* ACanvas, TRect R, TcxButtonState AState,
                                        TcxArrowDirection AArrowDirection,
                                        const TdxScaleFactor* AScaleFactor);
  virtual void DrawCollapseArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor,
                                 Integer ALineWidth = 1);
  virtual void DrawButtonArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  static TcxArrowDirection GetArrowDirection(bool AHorizontal, TcxScrollBarPart APart);
  void DrawMonthHeaderArrows(TcxCanvas* ACanvas, const TRect& ABounds, TcxArrowDirections AArrows,
                             Integer ASideWidth, TColor AColor);
  void DrawMonthHeaderLeftArrow(TcxCanvas* ACanvas, const TRect& ABounds, TColor AColor);
  void DrawMonthHeaderRightArrow(TcxCanvas* ACanvas, const TRect& ABounds, TColor AColor);

  // Borders, separators, bevels and content
  virtual Integer BorderSize();
  virtual Integer SeparatorSize();
  virtual void DrawBorder(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawContainerBorder(TcxCanvas* ACanvas, const TRect& R,
                                   TcxContainerBorderStyle AStyle, Integer AWidth, TColor AColor,
                                   TcxBorders ABorders);
  virtual TRect GetSeparatorBounds(const TRect& R, Integer AWidth, bool AIsVertical);
  virtual void DoDrawSeparator(TcxCanvas* ACanvas, const TRect& R, bool AIsVertical);
  void DrawSeparator(TcxCanvas* ACanvas, const TRect& R, bool AIsVertical);
  virtual void DrawBackground(TcxCanvas* ACanvas, const TRect& ARect, bool ATransparent,
                              TColor ABackgroundColor, TBitmap* ABackgroundBitmap);
  // AState and AIsFooter are for painters that draw content cells their
  // own way.
  virtual void DrawContent(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                           Integer AState, TAlignment AAlignmentHorz,
                           TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis,
                           const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
                           const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr,
                           bool AIsFooter = false);
  virtual void DrawLabelLine(TcxCanvas* ACanvas, const TRect& R, TColor AOuterColor,
                             TColor AInnerColor, bool AIsVertical);
  virtual Integer LabelLineHeight();
  virtual TColor GaugeControlBackgroundColor();
  virtual void DrawGaugeControlBackground(TcxCanvas* ACanvas, const TRect& ARect, bool ATransparent,
                                          TColor ABackgroundColor);
  virtual void DrawBevelFrame(TcxCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                              bool ABoxStyle);
  virtual void DrawBevelLine(TcxCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                             bool AIsVertical);
  virtual void DrawBevelShape(TcxCanvas* ACanvas, const TRect& R, TdxBevelShape AShape,
                              TdxBevelStyle AStyle);
  virtual TSize GetBevelMinimalShapeSize(TdxBevelShape AShape);
  virtual void GetBevelShapeColors(TColor& AColor1, TColor& AColor2);

  // Buttons
  virtual Integer ButtonBorderSize(TcxButtonState AState = cxbsNormal);
  virtual TColor ButtonColor(TcxButtonState AState);
  virtual IdxColorPalette* ButtonColorPalette(TcxButtonState AState);
  virtual TColor ButtonDescriptionTextColor(TcxButtonState AState, TColor ADefaultColor);
  virtual TColor ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor = clDefault);
  virtual TcxButtonState ButtonSymbolState(TcxButtonState AState);
  TRect ButtonFocusRect(TcxCanvas* ACanvas, const TRect& R);
  virtual TRect ScaledButtonFocusRect(TcxCanvas* ACanvas, const TRect& R,
                                      const TdxScaleFactor* AScaleFactor);
  Integer ButtonTextOffset();
  virtual Integer ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor);
  Integer ButtonTextShift();
  virtual Integer ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor);
  virtual void DrawButtonBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  void DrawButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption, TcxButtonState AState,
                  bool ADrawBorder = true, TColor AColor = clDefault, TColor ATextColor = clDefault,
                  bool AWordWrap = false, bool AIsToolButton = false,
                  TcxButtonPart APart = cxbpButton);
  virtual void DrawScaledButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption,
                                TcxButtonState AState, const TdxScaleFactor* AScaleFactor,
                                bool ADrawBorder, TColor AColor, TColor ATextColor, bool AWordWrap,
                                bool AIsToolButton, TcxButtonPart APart);
  void DrawSearchEditButtonGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledSearchEditButtonGlyph(TcxCanvas* ACanvas, const TRect& R,
                                               TcxButtonState AState,
                                               const TdxScaleFactor* AScaleFactor);
  Integer GetDropDownButtonRightPartSize();
  virtual Integer GetScaledDropDownButtonRightPartSize(const TdxScaleFactor* AScaleFactor);
  virtual bool IsButtonHotTrack();
  // The small x of close buttons and tokens.
  void DrawButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxButtonState AState);
  void DrawButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TcxButtonState AState,
                       Integer ASize);
  void DrawScaledButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor,
                             TcxButtonState AState, const TdxScaleFactor* AScaleFactor);
  void DrawScaledButtonCrossEx(TcxCanvas* ACanvas, const TRect& R, TColor AColor,
                               TcxButtonState AState, Integer ASize,
                               const TdxScaleFactor* AScaleFactor);
  TSize GetBackButtonSize();
  virtual TSize GetScaledBackButtonSize(const TdxScaleFactor* AScaleFactor);
  void DrawBackButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledBackButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                    const TdxScaleFactor* AScaleFactor);

  // Command links
  virtual TColor DefaultCommandLinkTextColor(TcxButtonState AState, TColor ADefaultColor);
  void DrawCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 TColor AColor = clDefault);
  virtual void DrawScaledCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R,
                                               TcxButtonState AState,
                                               const TdxScaleFactor* AScaleFactor, TColor AColor);
  void DrawCommandLinkGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos, TcxButtonState AState);
  virtual void DrawScaledCommandLinkGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos,
                                          TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor);
  TSize GetCommandLinkGlyphSize();
  virtual TSize GetScaledCommandLinkGlyphSize(const TdxScaleFactor* AScaleFactor);
  TRect GetCommandLinkMargins();
  virtual TRect GetScaledCommandLinkMargins(const TdxScaleFactor* AScaleFactor);

  // Check boxes, expand buttons, expand marks and toggle switches
  virtual Integer CheckBorderSize();
  virtual TColor CheckButtonColor(TcxButtonState AState, TcxCheckBoxState ACheckState);
  TSize CheckButtonSize();
  virtual TSize ScaledCheckButtonSize(const TdxScaleFactor* AScaleFactor);
  TSize CheckButtonAreaSize();
  virtual TSize ScaledCheckButtonAreaSize(const TdxScaleFactor* AScaleFactor);
  virtual void DrawCheckBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  void DrawCheck(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                 TcxCheckBoxState ACheckState, TColor AColor);
  void DrawCheck(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked,
                 TColor AColor);
  virtual void DrawScaledCheck(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               TcxCheckBoxState ACheckState, TColor AColor,
                               const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledCheck(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               bool AChecked, TColor AColor, const TdxScaleFactor* AScaleFactor);
  void DrawCheckButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                       TcxCheckBoxState ACheckState);
  void DrawCheckButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AChecked);
  virtual void DrawScaledCheckButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                     TcxCheckBoxState ACheckState,
                                     const TdxScaleFactor* AScaleFactor);
  virtual void DrawScaledCheckButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                     bool AChecked, const TdxScaleFactor* AScaleFactor);
  virtual bool IsPointOverGroupExpandButton(const TRect& R, const TPoint& P);
  virtual bool DrawExpandButtonFirst();
  void DrawExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                        TColor AColor = clDefault, TcxButtonState AState = cxbsNormal);
  virtual void DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                      const TdxScaleFactor* AScaleFactor, TColor AColor,
                                      TcxButtonState AState) = 0;
  void DrawExpandButtonEx(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, bool AExpanded,
                          TcxRotationAngle ARotationAngle = ra0);
  virtual void DrawScaledExpandButtonEx(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                        bool AExpanded, const TdxScaleFactor* AScaleFactor,
                                        TcxRotationAngle ARotationAngle);
  void DrawExpandMark(TcxCanvas* ACanvas, const TRect& R, TColor AColor, bool AExpanded);
  virtual void DrawScaledExpandMark(TcxCanvas* ACanvas, const TRect& R, TColor AColor,
                                    bool AExpanded, const TdxScaleFactor* AScaleFactor);
  void DrawGroupExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                             TcxButtonState AState);
  virtual void DrawScaledGroupExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                           TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor);
  void DrawSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                             TColor ABorderColor, TColor AColor = clDefault);
  virtual void DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                           TColor ABorderColor, const TdxScaleFactor* AScaleFactor,
                                           TColor AColor);
  Integer ExpandButtonAreaSize();
  virtual Integer ScaledExpandButtonAreaSize(const TdxScaleFactor* AScaleFactor);
  Integer ExpandButtonSize();
  virtual Integer ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) = 0;
  Integer GroupExpandButtonSize();
  virtual Integer ScaledGroupExpandButtonSize(const TdxScaleFactor* AScaleFactor);
  Integer SmallExpandButtonSize();
  virtual Integer ScaledSmallExpandButtonSize(const TdxScaleFactor* AScaleFactor);
  // The plus (collapsed) or minus (expanded) of expand buttons.
  void DrawExpandButtonCross(TcxCanvas* ACanvas, const TRect& R, bool AExpanded, TColor AColor,
                             const TdxScaleFactor* AScaleFactor);
  void DrawToggleSwitch(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AThumbBounds,
                        TcxButtonState AState);
  virtual void DrawScaledToggleSwitch(TcxCanvas* ACanvas, const TRect& ABounds,
                                      const TRect& AThumbBounds, TcxButtonState AState,
                                      const TdxScaleFactor* AScaleFactor);
  void DrawToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                             bool AChecked);
  virtual void DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds,
                                           TcxButtonState AState, bool AChecked,
                                           const TdxScaleFactor* AScaleFactor);
  virtual void DrawToggleSwitchStateIndicator(TcxCanvas* ACanvas, const TRect& ABounds,
                                              const String& AText, TFont* AFont);
  void DrawToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState);
  virtual void DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds,
                                           TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor);
  virtual IdxColorPalette* GetToggleSwitchColorPalette();
  virtual TColor GetToggleSwitchTextColor();
  virtual Integer GetToggleSwitchThumbPercentsWidth();
  virtual TColor ToggleSwitchToggleColor(bool AChecked);

  // Scroll bars, size grip, slider buttons and splitters
  Integer ScrollBarMinimalThumbSize(bool AVertical);
  virtual Integer ScaledScrollBarMinimalThumbSize(bool AVertical,
                                                  const TdxScaleFactor* AScaleFactor);
  void DrawScrollBarBackground(TcxCanvas* ACanvas, const TRect& R, bool AHorizontal);
  virtual void DrawScaledScrollBarBackground(TcxCanvas* ACanvas, const TRect& R, bool AHorizontal,
                                             const TdxScaleFactor* AScaleFactor);
  void DrawScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                         TcxScrollBarPart APart, TcxButtonState AState);
  virtual void DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                                       TcxScrollBarPart APart, TcxButtonState AState,
                                       const TdxScaleFactor* AScaleFactor);
  TSize SizeGripSize();
  virtual TSize ScaledSizeGripSize(const TdxScaleFactor* AScaleFactor);
  // Draws the grip for ACorner; clNone keeps what the canvas shows around
  // the grip's strokes.
  virtual void DrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect,
                            TColor ABackgroundColor = clDefault, TdxCorner ACorner = coBottomRight);
  // The bottom-right grip.
  virtual void DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect);
  TSize SliderButtonSize(TcxArrowDirection ADirection);
  virtual TSize ScaledSliderButtonSize(TcxArrowDirection ADirection,
                                       const TdxScaleFactor* AScaleFactor);
  void DrawSliderButton(TcxCanvas* ACanvas, const TRect& ARect, TcxArrowDirection ADirection,
                        TcxButtonState AState);
  virtual void DrawScaledSliderButton(TcxCanvas* ACanvas, const TRect& ARect,
                                      TcxArrowDirection ADirection, TcxButtonState AState,
                                      const TdxScaleFactor* AScaleFactor);
  TSize GetSplitterSize(bool AHorizontal);
  virtual TSize GetScaledSplitterSize(bool AHorizontal, const TdxScaleFactor* AScaleFactor);
  void DrawSplitter(TcxCanvas* ACanvas, const TRect& ARect, bool AHighlighted, bool AClicked,
                    bool AHorizontal);
  virtual void DrawScaledSplitter(TcxCanvas* ACanvas, const TRect& ARect, bool AHighlighted,
                                  bool AClicked, bool AHorizontal,
                                  const TdxScaleFactor* AScaleFactor);
  virtual TColor GetSplitterInnerColor(bool AHighlighted);
  virtual TColor GetSplitterOuterColor(bool AHighlighted);
  // A navigator button with a vertical splitter two pixels inside it.
  void DrawScrollBarSplitter(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledScrollBarSplitter(TcxCanvas* ACanvas, const TRect& R,
                                           TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor);

  // Popup borders, popup panel band, small buttons, editor buttons and
  // container borders
  virtual void DrawEditPopupWindowBorder(TcxCanvas* ACanvas, TRect& R,
                                         TcxEditPopupBorderStyle ABorderStyle, bool AClientEdge);
  virtual Integer GetEditPopupWindowBorderWidth(TcxEditPopupBorderStyle AStyle);
  virtual Integer GetEditPopupWindowClientEdgeWidth(TcxEditPopupBorderStyle AStyle);
  virtual TcxPopupBorderStyle PopupBorderStyle();
  virtual void DrawWindowContent(TcxCanvas* ACanvas, const TRect& ARect);
  virtual TColor GetWindowContentTextColor();
  Integer PopupPanelSize();
  Integer ScaledPopupPanelSize(const TdxScaleFactor* AScaleFactor);
  void CalculatePopupPanelClientRect(TRect& AClientRect, TRect& APanelRect, TRect& AGripRect,
                                     TRect& ACloseButtonRect, TdxCorner ACorner,
                                     const TRect& ABorders, const TRect& APanelBorders,
                                     Integer APanelHeight = 0, bool AShowCloseButton = true,
                                     bool AShowGripSize = true);
  virtual void CalculateScaledPopupPanelClientRect(TRect& AClientRect, TRect& APanelRect,
                                                   TRect& AGripRect, TRect& ACloseButtonRect,
                                                   TdxCorner ACorner, const TRect& ABorders,
                                                   const TRect& APanelBorders,
                                                   const TdxScaleFactor* AScaleFactor,
                                                   Integer APanelHeight, bool AShowCloseButton,
                                                   bool AShowGripSize);
  // Paints the border and the band into the window's non-client area; the
  // rectangles are in screen coordinates.
  void DrawPopupNCPanel(HWND AHandle, bool AMouseAboveCloseButton, bool ACloseButtonIsTracking,
                        TdxCorner ACorner, const TRect& ACloseButtonRect, const TRect& AGripRect,
                        TColor ABorderColor);
  virtual void DrawScaledPopupNCPanel(HWND AHandle, bool AMouseAboveCloseButton,
                                      bool ACloseButtonIsTracking, TdxCorner ACorner,
                                      const TRect& ACloseButtonRect, const TRect& AGripRect,
                                      TColor ABorderColor, const TdxScaleFactor* AScaleFactor);
  // Leaves ABounds excluded from the canvas clip region.
  void DrawPopupPanelBand(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AGripRect,
                          const TRect& ACloseButtonRect, TdxCorner AGripCorner,
                          TcxButtonState ACloseButtonState, const TRect& ABorders,
                          TColor ABorderColor, bool AShowGripSize = true,
                          bool AShowCloseButton = true);
  void DrawScaledPopupPanelBand(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AGripRect,
                                const TRect& ACloseButtonRect, TdxCorner AGripCorner,
                                TcxButtonState ACloseButtonState, const TRect& ABorders,
                                TColor ABorderColor, const TdxScaleFactor* AScaleFactor,
                                bool AShowGripSize, bool AShowCloseButton);
  TSize SmallCloseButtonSize();
  virtual TSize ScaledSmallCloseButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual TSize DoGetSmallCloseButtonSize();
  void DrawSmallButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledSmallButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                     const TdxScaleFactor* AScaleFactor);
  void DrawSmallCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledSmallCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor);
  void DrawFilterCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledFilterCloseButton(TcxCanvas* ACanvas, const TRect& R,
                                           TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor);
  TSize FilterCloseButtonSize();
  virtual TSize ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual IdxColorPalette* GetSmallButtonColorPalette(TcxButtonState AState);
  void DrawEditorButton(TcxCanvas* ACanvas, const TRect& ARect, TcxEditBtnKind AButtonKind,
                        TcxButtonState AState, TcxEditBtnPosition APosition = cxbpRight);
  virtual void DrawScaledEditorButton(TcxCanvas* ACanvas, const TRect& ARect,
                                      TcxEditBtnKind AButtonKind, TcxButtonState AState,
                                      const TdxScaleFactor* AScaleFactor,
                                      TcxEditBtnPosition APosition);
  void DrawEditorButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect, TcxEditBtnKind AButtonKind,
                             TcxButtonState AState, TcxEditBtnPosition APosition = cxbpRight);
  virtual void DrawScaledEditorButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect,
                                           TcxEditBtnKind AButtonKind, TcxButtonState AState,
                                           const TdxScaleFactor* AScaleFactor,
                                           TcxEditBtnPosition APosition);
  virtual Integer EditButtonTextOffset();
  virtual IdxColorPalette* EditButtonColorPalette(TcxButtonState AState);
  virtual TSize EditButtonSize();
  virtual TColor EditButtonTextColor();
  virtual TColor CalcEditButtonTextColor(TcxCalcButtonKind AButtonKind);
  virtual TColor GetContainerBorderColor(bool AIsHighlightBorder);
  virtual Integer GetContainerBorderWidth(TcxContainerBorderStyle ABorderStyle);

  // Progress bar
  virtual TRect ProgressBarBorderSize(bool AVertical);
  virtual void DrawProgressBarBorder(TcxCanvas* ACanvas, const TRect& ARect, bool AVertical);
  virtual void DrawProgressBarChunk(TcxCanvas* ACanvas, const TRect& ARect, bool AVertical);
  virtual TColor ProgressBarTextColor();
  virtual TColor ProgressBarTextColorEx(bool AIsFilledArea);
  // The text reads in the filled-area colour over the chunk and in the
  // empty-area colour elsewhere (or inverted, when the filled-area colour is
  // clDefault); with ASolid it is drawn once in ATextColor.
  virtual void DrawProgressBarText(TcxCanvas* ACanvas, bool AVertical, bool ASolid,
                                   const String& AText, const TRect& ATextRect,
                                   const TRect& AProgressBarRect, const TRect& AProgressChunkRect,
                                   TColor ATextColor);

  // Drop-down list box, hints and screen tips
  virtual void DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                             bool AHasBorders);
  void DrawDropDownListBoxGutterBackground(TcxCanvas* ACanvas, const TRect& ARect);
  virtual void DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                         const TdxScaleFactor* AScaleFactor);
  void DrawDropDownListBoxSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                    const TRect& AGutterRect);
  virtual void DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                                  const TRect& AGutterRect,
                                                  const TdxScaleFactor* AScaleFactor);
  void DrawDropDownListBoxSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                    const TRect& AGutterRect);
  virtual void DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                                  const TRect& AGutterRect,
                                                  const TdxScaleFactor* AScaleFactor);
  TRect DropDownListBoxItemImageOffsets();
  virtual TRect DropDownListBoxScaledItemImageOffsets(const TdxScaleFactor* AScaleFactor);
  TRect DropDownListBoxItemTextOffsets();
  virtual TRect DropDownListBoxScaledItemTextOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TColor DropDownListBoxItemTextColor(bool ASelected);
  Integer DropDownListBoxSeparatorSize();
  virtual Integer DropDownListBoxScaledSeparatorSize(const TdxScaleFactor* AScaleFactor);
  virtual Integer DropDownListBoxBordersSize();
  virtual TColor GetHintBorderColor();
  virtual void DrawHintBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                  TColor AColor = clDefault);
  virtual IdxColorPalette* ScreenTipGetColorPalette();
  virtual TColor ScreenTipGetDescriptionTextColor();
  virtual TColor ScreenTipGetTitleTextColor();
  virtual Integer ScreenTipGetFooterLineSize();
  virtual void ScreenTipDrawBackground(TcxCanvas* ACanvas, const TRect& ARect);
  virtual void ScreenTipDrawFooterLine(TcxCanvas* ACanvas, const TRect& ARect);

  // Header cells, header-control sections and sorting marks. DrawHeader,
  // DrawHeaderEx, HeaderContentBounds and HeaderHeight draw and measure at
  // 96 DPI (the 1:1 factor).
  void DrawHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                  TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                  TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                  bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                  TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr,
                  bool AIsLast = false, bool AIsGroup = false);
  virtual void DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds,
                                const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                TcxBorders ABorders, TcxButtonState AState,
                                TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                TFont* AFont, TColor ATextColor, TColor ABkColor,
                                const TdxScaleFactor* AScaleFactor,
                                const TcxDrawBackgroundEvent& AOnDrawBackground, bool AIsLast,
                                bool AIsGroup);
  void DrawHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                    TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                    TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                    bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                    TColor ABkColor, const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr);
  virtual void DrawScaledHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds,
                                  const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                  TcxBorders ABorders, TcxButtonState AState,
                                  TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                  bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                  TFont* AFont, TColor ATextColor, TColor ABkColor,
                                  const TdxScaleFactor* AScaleFactor,
                                  const TcxDrawBackgroundEvent& AOnDrawBackground);
  virtual void DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors,
                                TcxBorders ABorders);
  // Inverts the pixels of ABounds.
  virtual void DrawHeaderPressed(TcxCanvas* ACanvas, const TRect& ABounds);
  void DrawHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds,
                                const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                TcxBorders ABorders, TcxButtonState AState,
                                TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                TFont* AFont, TColor ATextColor, TColor ABkColor);
  virtual void DrawScaledHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds,
                                              const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                              TcxBorders ABorders, TcxButtonState AState,
                                              TAlignment AAlignmentHorz,
                                              TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                              bool AShowEndEllipsis, const String& AText,
                                              TFont* AFont, TColor ATextColor, TColor ABkColor,
                                              const TdxScaleFactor* AScaleFactor);
  virtual void DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R,
                                              TcxBorders ABorders, TcxButtonState AState);
  virtual void DrawHeaderControlSectionContent(TcxCanvas* ACanvas, const TRect& ABounds,
                                               const TRect& ATextAreaBounds, TcxButtonState AState,
                                               TAlignment AAlignmentHorz,
                                               TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                               bool AShowEndEllipsis, const String& AText,
                                               TFont* AFont, TColor ATextColor, TColor ABkColor);
  // Embossed when disabled.
  void DrawHeaderControlSectionText(TcxCanvas* ACanvas, const TRect& ATextAreaBounds,
                                    TcxButtonState AState, TAlignment AAlignmentHorz,
                                    TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                                    bool AShowEndEllipsis, const String& AText, TFont* AFont,
                                    TColor ATextColor);
  // AColor between two indents filled with the view parameters.
  virtual void DrawHeaderSeparator(TcxCanvas* ACanvas, const TRect& ABounds, Integer AIndentSize,
                                   TColor AColor, const TcxViewParams& AViewParams);
  virtual TcxBorders HeaderBorders(TcxNeighbors ANeighbors);
  virtual Integer HeaderBorderSize();
  virtual TRect HeaderBounds(const TRect& ABounds, TcxNeighbors ANeighbors, TcxBorders ABorders);
  TRect HeaderContentBounds(const TRect& ABounds, TcxBorders ABorders);
  virtual TRect ScaledHeaderContentBounds(const TRect& ABounds, TcxBorders ABorders,
                                          const TdxScaleFactor* AScaleFactor);
  virtual TRect HeaderContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual Integer HeaderControlSectionBorderSize(TcxButtonState AState = cxbsNormal);
  virtual TRect HeaderControlSectionContentBounds(const TRect& ABounds, TcxButtonState AState);
  virtual TRect HeaderControlSectionTextAreaBounds(const TRect& ABounds, TcxButtonState AState);
  virtual bool HeaderDrawCellsFirst();
  Integer HeaderHeight(Integer AFontHeight);
  virtual Integer ScaledHeaderHeight(Integer AFontHeight, const TdxScaleFactor* AScaleFactor);
  Integer HeaderWidth(TcxCanvas* ACanvas, TcxBorders ABorders, const String& AText, TFont* AFont);
  virtual Integer ScaledHeaderWidth(TcxCanvas* ACanvas, TcxBorders ABorders, const String& AText,
                                    TFont* AFont, const TdxScaleFactor* AScaleFactor);
  virtual bool IsHeaderHotTrack();
  void DrawSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting);
  virtual void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                     const TdxScaleFactor* AScaleFactor) = 0;
  void DrawSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting);
  virtual void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R,
                                            bool AAscendingSorting,
                                            const TdxScaleFactor* AScaleFactor) = 0;
  void DrawSummaryValueSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting);
  virtual void DrawScaledSummaryValueSortingMark(TcxCanvas* ACanvas, const TRect& R,
                                                 bool AAscendingSorting,
                                                 const TdxScaleFactor* AScaleFactor);
  TSize SortingMarkAreaSize();
  virtual TSize ScaledSortingMarkAreaSize(const TdxScaleFactor* AScaleFactor);
  TSize SortingMarkSize();
  virtual TSize ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) = 0;
  TSize SummarySortingMarkSize();
  virtual TSize ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor) = 0;
  TSize SummaryValueSortingMarkSize();
  virtual TSize ScaledSummaryValueSortingMarkSize(const TdxScaleFactor* AScaleFactor);
  // The outlined triangles of the sorting marks, with a light (AColor1) and
  // a dark (AColor2) side.
  void DrawSortingArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                        bool AAscendingSorting, const TdxScaleFactor* AScaleFactor);
  void DrawSummarySortingArrow(TcxCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                               bool AAscendingSorting, const TdxScaleFactor* AScaleFactor);

  // Footers
  virtual TcxBorders FooterBorders();
  virtual Integer FooterBorderSize();
  virtual Integer FooterCellBorderSize();
  virtual Integer FooterCellOffset();
  virtual bool FooterDrawCellsFirst();
  virtual TColor FooterSeparatorColor();
  virtual Integer FooterSeparatorSize();
  virtual TRect FooterCellContentBounds(const TRect& ABounds);
  virtual TRect FooterCellTextAreaBounds(const TRect& ABounds);
  virtual void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawFooterBorderEx(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders);
  virtual void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawFooterContent(TcxCanvas* ACanvas, const TRect& ARect,
                                 const TcxViewParams& AViewParams);
  virtual void DrawFooterSeparator(TcxCanvas* ACanvas, const TRect& R);
  // The content, then the border, clipped to ABounds.
  void DrawFooterPanel(TcxCanvas* ACanvas, const TRect& ABounds, const TcxViewParams& AViewParams,
                       TcxBorders ABorders);
  virtual void DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                              TcxAlignmentVert AAlignmentVert, bool AMultiLine, const String& AText,
                              TFont* AFont, TColor ATextColor, TColor ABkColor,
                              const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr);
  virtual void DrawFooterCellContent(TcxCanvas* ACanvas, const TRect& ABounds,
                                     TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                     bool AMultiLine, const String& AText, TFont* AFont,
                                     TColor ATextColor, TColor ABkColor,
                                     const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr);

  // Filter buttons, smart tag, filter row, filter and find panels,
  // group-by box
  void DrawFilterActivateButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                bool AChecked);
  virtual void DrawScaledFilterActivateButton(TcxCanvas* ACanvas, const TRect& R,
                                              TcxButtonState AState, bool AChecked,
                                              const TdxScaleFactor* AScaleFactor);
  TSize FilterActivateButtonSize();
  virtual TSize ScaledFilterActivateButtonSize(const TdxScaleFactor* AScaleFactor);
  void DrawFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                bool AIsFilterActive);
  virtual void DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R,
                                              TcxButtonState AState, bool AIsFilterActive,
                                              const TdxScaleFactor* AScaleFactor) = 0;
  TSize FilterDropDownButtonSize();
  virtual TSize ScaledFilterDropDownButtonSize(const TdxScaleFactor* AScaleFactor);
  void DrawFilterSmartTag(TcxCanvas* ACanvas, const TRect& R, TcxFilterSmartTagState AState,
                          bool AIsFilterActive);
  virtual void DrawScaledFilterSmartTag(TcxCanvas* ACanvas, const TRect& R,
                                        TcxFilterSmartTagState AState, bool AIsFilterActive,
                                        const TdxScaleFactor* AScaleFactor);
  TSize FilterSmartTagSize();
  virtual TSize ScaledFilterSmartTagSize(const TdxScaleFactor* AScaleFactor);
  // The smart tag's vector glyph, loaded on first use.
  TdxSmartImage* GetSmartTagGlyph();
  virtual IdxColorPalette* FilterControlMenuGetColorPalette();
  virtual void DrawFilterPanel(TcxCanvas* ACanvas, const TRect& ARect, TGraphic* ABackgroundBitmap,
                               TColor ABackgroundColor, bool ATransparent);
  // A header at 96 DPI across the filter row.
  virtual void DrawFilterRowSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                      TColor ABackgroundColor);
  virtual void DrawFindPanel(TcxCanvas* ACanvas, const TRect& ARect, TGraphic* ABackgroundBitmap,
                             TColor ABackgroundColor, bool ATransparent);
  virtual void DrawFindPanelBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders);
  virtual void DrawGroupByBox(TcxCanvas* ACanvas, const TRect& ARect, TBitmap* ABackgroundBitmap,
                              TColor ABackgroundColor, bool ATransparent);

  // Grid-like controls
  virtual Integer GridBordersOverlapSize();
  virtual bool GridDrawHeaderCellsFirst();
  virtual TColor GridGroupRowStyleOffice11ContentColor(bool AHasData);
  virtual TColor GridGroupRowStyleOffice11SeparatorColor();
  virtual TColor GridGroupRowStyleOffice11TextColor();
  virtual TColor GridLikeControlBackgroundColor();
  virtual TColor GridLikeControlContentTextColor();
  virtual bool GridLikeControlDefaultUseOddEvenStyle();
  virtual TColor PivotGridHeadersAreaColor();
  virtual TColor PivotGridHeadersAreaTextColor();
  virtual Integer ChartToolBoxDataLevelInfoBorderSize();

  // Group boxes and panels
  virtual void DrawGroupBoxBackground(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ARect);
  virtual void DrawGroupBoxCaption(TcxCanvas* ACanvas, const TRect& ACaptionRect,
                                   const TRect& ATextRect,
                                   TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual void DrawGroupBoxContent(TcxCanvas* ACanvas, const TRect& ABorderRect,
                                   TcxGroupBoxCaptionPosition ACaptionPosition,
                                   TcxBorders ABorders);
  virtual void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                                 TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders);
  void DrawGroupBoxButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawGroupBoxScaledButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                        const TdxScaleFactor* AScaleFactor);
  void DrawGroupBoxExpandButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                bool AExpanded, TcxRotationAngle ARotationAngle = ra0);
  virtual void DrawGroupBoxScaledExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                              TcxButtonState AState, bool AExpanded,
                                              const TdxScaleFactor* AScaleFactor,
                                              TcxRotationAngle ARotationAngle);
  void DrawGroupBoxExpandGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               bool AExpanded);
  virtual void DrawGroupBoxScaledExpandGlyph(TcxCanvas* ACanvas, const TRect& R,
                                             TcxButtonState AState, bool AExpanded,
                                             const TdxScaleFactor* AScaleFactor);
  virtual void GroupBoxAdjustCaptionFont(TFont* ACaptionFont,
                                         TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual TRect GroupBoxBorderSize(bool ACaption, TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual Integer GroupBoxCaptionTailSize(TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual TColor GroupBoxTextColor(bool AEnabled, TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual bool IsGroupBoxCaptionTextDrawnOverBorder(TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual bool IsGroupBoxTransparent(bool AIsCaption, TcxGroupBoxCaptionPosition ACaptionPosition);
  // AControl's parent shows through where the painter draws no colour of
  // its own.
  virtual void DrawPanelBackground(TcxCanvas* ACanvas, TWinControl* AControl, const TRect& ABounds,
                                   TColor AColorFrom = clDefault, TColor AColorTo = clDefault);
  virtual void DrawPanelBorders(TcxCanvas* ACanvas, const TRect& ABorderRect);
  virtual void DrawPanelCaption(TcxCanvas* ACanvas, const TRect& ACaptionRect,
                                TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual void DrawPanelContent(TcxCanvas* ACanvas, const TRect& ARect, bool ADrawBorders);
  virtual TRect PanelBorderSize();
  virtual TColor PanelTextColor();

  // Radio buttons, drawn from the images made for each target DPI.
  void DrawRadioButton(TcxCanvas* ACanvas, Integer X, Integer Y, TcxButtonState AButtonState,
                       bool AChecked, bool AFocused, TColor ABrushColor, bool AIsDesigning = false);
  virtual void DrawScaledRadioButton(TcxCanvas* ACanvas, Integer X, Integer Y,
                                     TcxButtonState AButtonState, bool AChecked, bool AFocused,
                                     TColor ABrushColor, const TdxScaleFactor* AScaleFactor,
                                     bool AIsDesigning = false);
  virtual TColor RadioButtonBodyColor(TcxButtonState AState);
  TSize RadioButtonSize();
  virtual TSize ScaledRadioButtonSize(const TdxScaleFactor* AScaleFactor);

  // Layout and explorer views, layout control, scroll box, print preview,
  // customization form, message box
  virtual TRect LayoutViewGetPadding(TcxLayoutElement AElement);
  virtual TRect LayoutViewGetSpacing(TcxLayoutElement AElement);
  virtual void LayoutViewDrawItem(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                  TcxBorders ABorders);
  virtual void LayoutViewDrawRecordBorder(TcxCanvas* ACanvas, const TRect& ABounds,
                                          TcxButtonState AState, TcxBorders ABorders);
  virtual void LayoutViewDrawRecordCaption(TcxCanvas* ACanvas, const TRect& ABounds,
                                           const TRect& ATextRect,
                                           TcxGroupBoxCaptionPosition APosition,
                                           TcxButtonState AState, TColor AColor = clDefault,
                                           TBitmap* ABitmap = nullptr);
  virtual void LayoutViewDrawRecordContent(TcxCanvas* ACanvas, const TRect& ABounds,
                                           TcxGroupBoxCaptionPosition ACaptionPosition,
                                           TcxButtonState AState, TcxBorders ABorders);
  void LayoutViewDrawRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds,
                                        TcxButtonState AState, bool AExpanded);
  virtual void LayoutViewDrawScaledRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds,
                                                      TcxButtonState AState, bool AExpanded,
                                                      const TdxScaleFactor* AScaleFactor);
  virtual Integer LayoutViewRecordCaptionTailSize(TcxGroupBoxCaptionPosition ACaptionPosition);
  virtual bool LayoutViewRecordCaptionTextBold();
  virtual TColor WinExplorerViewDefaultRecordColor(TcxButtonState AState);
  virtual void WinExplorerViewDrawRecord(TcxCanvas* ACanvas, const TRect& ABounds,
                                         TcxButtonState AState, TColor AColor = clDefault,
                                         TBitmap* ABitmap = nullptr);
  virtual void WinExplorerViewDrawGroup(TcxCanvas* ACanvas, const TRect& ABounds,
                                        TcxButtonState AState, TColor AColor = clDefault,
                                        TBitmap* ABitmap = nullptr);
  virtual void WinExplorerViewDrawGroupCaptionLine(TcxCanvas* ACanvas, const TRect& ABounds);
  virtual Integer WinExplorerViewGroupCaptionLineHeight();
  void WinExplorerViewDrawRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds,
                                             TcxButtonState AState, bool AExpanded);
  virtual void WinExplorerViewDrawScaledRecordExpandButton(TcxCanvas* ACanvas, const TRect& ABounds,
                                                           TcxButtonState AState, bool AExpanded,
                                                           const TdxScaleFactor* AScaleFactor);
  Integer WinExplorerViewExpandButtonSize();
  virtual Integer WinExplorerViewScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor WinExplorerViewRecordTextColor(TcxButtonState AState);
  virtual TColor WinExplorerViewGroupTextColor(TcxButtonState AState);
  virtual bool WinExplorerViewGroupTextBold();
  virtual TColor LayoutControlEmptyAreaColor();
  virtual IdxColorPalette* LayoutControlGetColorPaletteForGroupButton(TcxButtonState AState);
  virtual IdxColorPalette* LayoutControlGetColorPaletteForItemCaption();
  virtual IdxColorPalette* LayoutControlGetColorPaletteForTabbedGroupCaption(bool AIsActive);
  virtual void DrawLayoutControlBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawScrollBoxBackground(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  virtual TColor PrintPreviewBackgroundTextColor();
  TRect PrintPreviewPageBordersWidth();
  virtual TRect PrintPreviewPageBordersScaledWidth(const TdxScaleFactor* AScaleFactor);
  void DrawPrintPreviewBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawPrintPreviewScaledBackground(TcxCanvas* ACanvas, const TRect& R,
                                                const TdxScaleFactor* AScaleFactor);
  void DrawPrintPreviewPageBackground(TcxCanvas* ACanvas, const TRect& ABorderRect,
                                      const TRect& AContentRect, bool ASelected, bool ADrawContent);
  virtual void DrawPrintPreviewPageScaledBackground(TcxCanvas* ACanvas, const TRect& ABorderRect,
                                                    const TRect& AContentRect, bool ASelected,
                                                    bool ADrawContent,
                                                    const TdxScaleFactor* AScaleFactor);
  virtual TColor GetCustomizationFormListBackgroundColor();
  // A framed box with a one-line message in its middle; clNone is the
  // group colour, a nil font keeps the canvas's.
  virtual void DrawMessageBox(TcxCanvas* ACanvas, const TRect& ABounds, const String& AMessage,
                              TFont* AFont = nullptr, TColor AColor = clNone);

  // Scheduler and clock
  void DrawMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                       TcxNeighbors ANeighbors, const TcxViewParams& AViewParams,
                       TcxArrowDirections AArrows, Integer ASideWidth,
                       const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr);
  virtual void DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                                     TcxNeighbors ANeighbors, const TcxViewParams& AViewParams,
                                     TcxArrowDirections AArrows, Integer ASideWidth,
                                     const TdxScaleFactor* AScaleFactor,
                                     const TcxDrawBackgroundEvent& AOnDrawBackground);
  // Only the background handler paints a day header; without one nothing
  // is drawn.
  virtual void DrawSchedulerDayHeader(TcxCanvas* ACanvas, const TRect& ABounds,
                                      const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                      TcxBorders ABorders, TcxButtonState AState,
                                      TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                      bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                      TFont* AFont, TColor ATextColor, TColor ABkColor,
                                      const TdxScaleFactor* AScaleFactor,
                                      const TcxDrawBackgroundEvent& AOnDrawBackground, bool AIsLast,
                                      bool AIsGroup);
  void DrawSchedulerGroupSeparator(TcxCanvas* ACanvas, const TRect& ABounds,
                                   TColor ABackgroundColor,
                                   const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr);
  virtual void DrawSchedulerScaledGroupSeparator(TcxCanvas* ACanvas, const TRect& ABounds,
                                                 TColor ABackgroundColor,
                                                 const TdxScaleFactor* AScaleFactor,
                                                 const TcxDrawBackgroundEvent& AOnDrawBackground);
  virtual void DrawSchedulerBorder(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R,
                                           const TcxViewParams& AViewParams, bool AIsHorizontal);
  virtual void DrawSchedulerEventProgress(TcxCanvas* ACanvas, const TRect& ABounds,
                                          const TRect& AProgress, const TcxViewParams& AViewParams,
                                          bool ATransparent);
  virtual TRect SchedulerEventProgressOffsets();
  virtual void DrawSchedulerGroup(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  virtual void DrawSchedulerMilestone(TcxCanvas* ACanvas, const TRect& R);
  void SchedulerNavigationButtonSizes(bool AIsNextButton, TRect& ABorders, TSize& AArrowSize,
                                      bool& AHasTextArea, bool AIsVertical);
  virtual void SchedulerNavigationButtonSizes(bool AIsNextButton, TRect& ABorders,
                                              TSize& AArrowSize, bool& AHasTextArea,
                                              const TdxScaleFactor* AScaleFactor, bool AIsVertical);
  void CalculateSchedulerNavigationButtonRects(bool AIsNextButton, bool ACollapsed,
                                               TSize APrevButtonTextSize, TSize ANextButtonTextSize,
                                               TRect& ABounds, TRect& ATextRect, TRect& AArrowRect,
                                               bool AIsVertical);
  virtual void CalculateSchedulerNavigationButtonRects(bool AIsNextButton, bool ACollapsed,
                                                       TSize APrevButtonTextSize,
                                                       TSize ANextButtonTextSize, TRect& ABounds,
                                                       TRect& ATextRect, TRect& AArrowRect,
                                                       const TdxScaleFactor* AScaleFactor,
                                                       bool AIsVertical);
  void DrawSchedulerNavigationButton(TcxCanvas* ACanvas, const TRect& ARect, bool AIsNextButton,
                                     TcxButtonState AState, const String& AText,
                                     const TRect& ATextRect, const TRect& AArrowRect,
                                     bool AIsVertical);
  virtual void DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect,
                                                    const TRect& AArrowRect, bool AIsNextButton,
                                                    TcxButtonState AState, bool AIsVertical);
  void DrawSchedulerNavigationButtonArrow(TcxCanvas* ACanvas, const TRect& ARect,
                                          bool AIsNextButton, TColor AColor, bool AForVertical);
  virtual TColor SchedulerNavigationButtonTextColor(bool AIsNextButton, TcxButtonState AState,
                                                    TColor ADefaultColor);
  void DrawSchedulerNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R,
                                                  TcxButtonState AState,
                                                  const TdxScaleFactor* AScaleFactor);
  TSize ClockSize();
  virtual TSize ScaledClockSize(const TdxScaleFactor* AScaleFactor);
  void DrawClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime,
                 TColor ABackgroundColor);
  virtual void DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime,
                               TColor ABackgroundColor, const TdxScaleFactor* AScaleFactor);

  // Date navigator and data navigator
  virtual void DrawDateNavigatorCellSelection(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  // Draws the month title bar and leaves in R what lies inside its frame.
  virtual void DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R);
  virtual void DrawDateNavigatorTodayCellSelection(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawNavigatorBorder(TcxCanvas* ACanvas, const TRect& R, bool ASelected);
  void DrawNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                           TColor ABackgroundColor);
  virtual void DrawNavigatorScaledButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                         TColor ABackgroundColor,
                                         const TdxScaleFactor* AScaleFactor);
  // The glyph's left-bottom pixel is its transparent colour.
  void DrawNavigatorButtonGlyph(TcxCanvas* ACanvas, TCustomImageList* AImageList,
                                Integer AImageIndex, const TRect& AGlyphRect, bool AEnabled,
                                bool AUserGlyphs);
  virtual void DrawNavigatorScaledButtonGlyph(TcxCanvas* ACanvas, TCustomImageList* AImageList,
                                              Integer AImageIndex, const TRect& AGlyphRect,
                                              bool AEnabled, bool AUserGlyphs,
                                              const TdxScaleFactor* AScaleFactor);
  virtual bool NavigatorBorderOverlap();
  virtual Integer NavigatorBorderSize();
  TRect NavigatorButtonGlyphPadding();
  virtual TRect NavigatorScaledButtonGlyphPadding(const TdxScaleFactor* AScaleFactor);
  TSize NavigatorButtonGlyphSize();
  virtual TSize NavigatorScaledButtonGlyphSize(const TdxScaleFactor* AScaleFactor);
  TSize NavigatorButtonMinSize();
  virtual TSize NavigatorScaledButtonMinSize(const TdxScaleFactor* AScaleFactor);
  virtual TPoint NavigatorButtonPressedGlyphOffset();
  virtual TColor NavigatorButtonTextColor(TcxButtonState AState);
  virtual TColor NavigatorInfoPanelColor();
  virtual TColor NavigatorInfoPanelTextColor();

  // Track bars, range track bars and the range control. A thumb points
  // towards its ticks; with ticks on both sides it is a rectangle.
  virtual void CorrectThumbRect(TcxCanvas* ACanvas, TRect& ARect, bool AHorizontal,
                                TcxTrackBarTicksAlign ATicks);
  void DrawTrackBarTrack(TcxCanvas* ACanvas, const TRect& ARect, const TRect& ASelection,
                         bool AShowSelection, bool AEnabled, bool AHorizontal, TColor ATrackColor);
  virtual void DrawTrackBarScaledTrack(TcxCanvas* ACanvas, const TRect& ARect,
                                       const TRect& ASelection, bool AShowSelection, bool AEnabled,
                                       bool AHorizontal, TColor ATrackColor,
                                       const TdxScaleFactor* AScaleFactor);
  virtual void DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect);
  void DrawTrackBarThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                         bool AHorizontal, TcxTrackBarTicksAlign ATicks, TColor AThumbColor);
  virtual void DrawTrackBarScaledThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                       TcxButtonState AState, bool AHorizontal,
                                       TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                       const TdxScaleFactor* AScaleFactor);
  // The bevel of a pointed thumb: light (top and left), shadow (inner
  // bottom and right) and dark (outer bottom and right) open polylines.
  virtual void DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas,
                                             const TcxArrowPoints& ALightPolyLine,
                                             const TcxArrowPoints& AShadowPolyLine,
                                             const TcxArrowPoints& ADarkPolyLine);
  virtual void DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect);
  TSize TrackBarThumbSize(bool AHorizontal);
  virtual TSize TrackBarScaledThumbSize(bool AHorizontal, const TdxScaleFactor* AScaleFactor);
  Integer TrackBarTrackSize();
  virtual Integer TrackBarScaledTrackSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor TrackBarTicksColor(bool AText);
  TSize RangeTrackBarLeftThumbSize(bool AHorizontal, TcxTrackBarTicksAlign ATicks);
  virtual TSize RangeTrackBarScaledLeftThumbSize(bool AHorizontal, TcxTrackBarTicksAlign ATicks,
                                                 const TdxScaleFactor* AScaleFactor);
  TSize RangeTrackBarRightThumbSize(bool AHorizontal, TcxTrackBarTicksAlign ATicks);
  virtual TSize RangeTrackBarScaledRightThumbSize(bool AHorizontal, TcxTrackBarTicksAlign ATicks,
                                                  const TdxScaleFactor* AScaleFactor);
  void DrawRangeTrackBarLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                  bool AHorizontal, TcxTrackBarTicksAlign ATicks,
                                  TColor AThumbColor);
  virtual void DrawRangeTrackBarScaledLeftThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                                TcxButtonState AState, bool AHorizontal,
                                                TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                                const TdxScaleFactor* AScaleFactor);
  void DrawRangeTrackBarRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                                   bool AHorizontal, TcxTrackBarTicksAlign ATicks,
                                   TColor AThumbColor);
  virtual void DrawRangeTrackBarScaledRightThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                                 TcxButtonState AState, bool AHorizontal,
                                                 TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                                 const TdxScaleFactor* AScaleFactor);
  // A range track bar thumb's outline lies in R less one pixel on the side
  // its point faces, unless it has ticks on both sides.
  static TRect GetRangeTrackBarThumbDrawRect(const TRect& R, TcxTrackBarTicksAlign ATicks,
                                             bool AHorizontal);
  // The range control's colours: a colour whose top byte is not 0 carries
  // its alpha there.
  void DrawRangeControlLeftThumb(TcxCanvas* ACanvas, const TRect& ARect, TColor AColor,
                                 TColor ABorderColor);
  virtual void DrawRangeControlScaledLeftThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                               TColor AColor, TColor ABorderColor,
                                               const TdxScaleFactor* AScaleFactor);
  void DrawRangeControlRightThumb(TcxCanvas* ACanvas, const TRect& ARect, TColor AColor,
                                  TColor ABorderColor);
  virtual void DrawRangeControlScaledRightThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                                TColor AColor, TColor ABorderColor,
                                                const TdxScaleFactor* AScaleFactor);
  void DrawRangeControlRulerHeader(TcxCanvas* ACanvas, const TRect& ARect, bool AIsHot,
                                   TColor AColor, TColor ABorderColor);
  virtual void DrawRangeControlScaledRulerHeader(TcxCanvas* ACanvas, const TRect& ARect,
                                                 bool AIsHot, TColor AColor, TColor ABorderColor,
                                                 const TdxScaleFactor* AScaleFactor);
  void DrawRangeControlSizingGlyph(TcxCanvas* ACanvas, const TRect& ARect, TColor ABorderColor);
  virtual void DrawRangeControlScaledSizingGlyph(TcxCanvas* ACanvas, const TRect& ARect,
                                                 TColor ABorderColor,
                                                 const TdxScaleFactor* AScaleFactor);
  Integer GetRangeControlScrollAreaHeight();
  virtual Integer GetRangeControlScaledScrollAreaHeight(const TdxScaleFactor* AScaleFactor);
  TSize GetRangeControlSizingGlyphSize();
  virtual TSize GetRangeControlScaledSizingGlyphSize(const TdxScaleFactor* AScaleFactor);
  TSize GetRangeControlThumbSize();
  virtual TSize GetRangeControlScaledThumbSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor GetRangeControlBackColor();
  virtual TColor GetRangeControlBorderColor();
  virtual TColor GetRangeControlDefaultElementColor();
  virtual TColor GetRangeControlElementForeColor();
  virtual TColor GetRangeControlElementsBorderColor();
  virtual TColor GetRangeControlLabelColor();
  virtual TColor GetRangeControlOutOfRangeColor();
  virtual TColor GetRangeControlRangePreviewColor();
  virtual TColor GetRangeControlRulerColor();
  virtual TColor GetRangeControlScrollAreaColor();
  virtual TColor GetRangeControlSelectedRegionBackgroundColor();
  virtual TColor GetRangeControlSelectedRegionBorderColor();
  virtual TColor GetRangeControlViewPortPreviewColor();

  // Breadcrumb editor
  virtual TColor BreadcrumbEditBackgroundColor(TdxBreadcrumbEditState AState);
  virtual TRect BreadcrumbEditBordersSize();
  Integer BreadcrumbEditButtonAreaSeparatorSize();
  virtual Integer BreadcrumbEditScaledButtonAreaSeparatorSize(const TdxScaleFactor* AScaleFactor);
  TRect BreadcrumbEditButtonContentOffsets(bool AIsFirst, bool AIsLast);
  virtual TRect BreadcrumbEditScaledButtonContentOffsets(bool AIsFirst, bool AIsLast,
                                                         const TdxScaleFactor* AScaleFactor);
  virtual IdxColorPalette* BreadcrumbEditButtonColorPalette(TdxBreadcrumbEditButtonState AState);
  Integer BreadcrumbEditDropDownButtonWidth();
  virtual Integer BreadcrumbEditScaledDropDownButtonWidth(const TdxScaleFactor* AScaleFactor);
  virtual bool BreadcrumbEditIsFadingSupports();
  Integer BreadcrumbEditNodeDelimiterSize();
  virtual Integer BreadcrumbEditScaledNodeDelimiterSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor BreadcrumbEditNodeTextColor(TdxBreadcrumbEditButtonState AState);
  TRect BreadcrumbEditNodeTextOffsets();
  virtual TRect BreadcrumbEditScaledNodeTextOffsets(const TdxScaleFactor* AScaleFactor);
  TRect BreadcrumbEditProgressChunkPadding();
  virtual TRect BreadcrumbEditScaledProgressChunkPadding(const TdxScaleFactor* AScaleFactor);
  TSize BreadcrumbEditProgressChunkOverlaySize();
  virtual TSize BreadcrumbEditScaledProgressChunkOverlaySize(const TdxScaleFactor* AScaleFactor);
  virtual void DrawBreadcrumbEditBorders(TcxCanvas* ACanvas, const TRect& ARect,
                                         TcxBorders ABorders, TdxBreadcrumbEditState AState);
  void DrawBreadcrumbEditButtonAreaSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                             TdxBreadcrumbEditState AState);
  virtual void DrawBreadcrumbEditScaledButtonAreaSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                                           TdxBreadcrumbEditState AState,
                                                           const TdxScaleFactor* AScaleFactor);
  void DrawBreadcrumbEditButton(TcxCanvas* ACanvas, const TRect& ARect,
                                TdxBreadcrumbEditButtonState AState, bool AIsFirst, bool AIsLast);
  virtual void DrawBreadcrumbEditScaledButton(TcxCanvas* ACanvas, const TRect& ARect,
                                              TdxBreadcrumbEditButtonState AState, bool AIsFirst,
                                              bool AIsLast, const TdxScaleFactor* AScaleFactor);
  void DrawBreadcrumbEditDropDownButton(TcxCanvas* ACanvas, const TRect& ARect,
                                        TdxBreadcrumbEditButtonState AState, bool AIsInEditor);
  virtual void DrawBreadcrumbEditScaledDropDownButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                      TdxBreadcrumbEditButtonState AState,
                                                      bool AIsInEditor,
                                                      const TdxScaleFactor* AScaleFactor);
  void DrawBreadcrumbEditDropDownButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect,
                                             TdxBreadcrumbEditButtonState AState, bool AIsInEditor);
  virtual void DrawBreadcrumbEditScaledDropDownButtonGlyph(TcxCanvas* ACanvas, const TRect& ARect,
                                                           TdxBreadcrumbEditButtonState AState,
                                                           bool AIsInEditor,
                                                           const TdxScaleFactor* AScaleFactor);
  void DrawBreadcrumbEditNode(TcxCanvas* ACanvas, const TRect& R,
                              TdxBreadcrumbEditButtonState AState, bool AHasDelimiter);
  virtual void DrawBreadcrumbEditScaledNode(TcxCanvas* ACanvas, const TRect& R,
                                            TdxBreadcrumbEditButtonState AState, bool AHasDelimiter,
                                            const TdxScaleFactor* AScaleFactor);
  void DrawBreadcrumbEditNodeDelimiter(TcxCanvas* ACanvas, const TRect& R,
                                       TdxBreadcrumbEditButtonState AState);
  virtual void DrawBreadcrumbEditScaledNodeDelimiter(TcxCanvas* ACanvas, const TRect& R,
                                                     TdxBreadcrumbEditButtonState AState,
                                                     const TdxScaleFactor* AScaleFactor);
  void DrawBreadcrumbEditNodeDelimiterGlyph(TcxCanvas* ACanvas, const TRect& R,
                                            TdxBreadcrumbEditButtonState AState);
  virtual void DrawBreadcrumbEditScaledNodeDelimiterGlyph(TcxCanvas* ACanvas, const TRect& R,
                                                          TdxBreadcrumbEditButtonState AState,
                                                          const TdxScaleFactor* AScaleFactor);
  void DrawBreadcrumbEditNodeMoreButtonGlyph(TcxCanvas* ACanvas, const TRect& R,
                                             TdxBreadcrumbEditButtonState AState);
  virtual void DrawBreadcrumbEditScaledNodeMoreButtonGlyph(TcxCanvas* ACanvas, const TRect& R,
                                                           TdxBreadcrumbEditButtonState AState,
                                                           const TdxScaleFactor* AScaleFactor);
  void DrawBreadcrumbEditProgressChunk(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawBreadcrumbEditScaledProgressChunk(TcxCanvas* ACanvas, const TRect& R,
                                                     const TdxScaleFactor* AScaleFactor);
  void DrawBreadcrumbEditProgressChunkOverlay(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawBreadcrumbEditScaledProgressChunkOverlay(TcxCanvas* ACanvas, const TRect& R,
                                                            const TdxScaleFactor* AScaleFactor);

  // Alert window, zoom buttons
  TRect AlertWindowButtonContentOffsets(TdxAlertWindowButtonKind AKind);
  virtual TRect AlertWindowScaledButtonContentOffsets(TdxAlertWindowButtonKind AKind,
                                                      const TdxScaleFactor* AScaleFactor);
  TSize AlertWindowButtonGlyphSize(TdxAlertWindowButtonKind AKind);
  virtual TSize AlertWindowScaledButtonGlyphSize(TdxAlertWindowButtonKind AKind,
                                                 const TdxScaleFactor* AScaleFactor);
  virtual IdxColorPalette* AlertWindowButtonGetColorPalette(TcxButtonState AState);
  TRect AlertWindowContentOffsets();
  virtual TRect AlertWindowScaledContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual Integer AlertWindowCornerRadius();
  virtual TColor AlertWindowTextColor();
  virtual TColor AlertWindowNavigationPanelTextColor();
  virtual void DrawAlertWindowBackground(TcxCanvas* ACanvas, const TRect& ABounds,
                                         const TdxScaleFactor* AScaleFactor);
  void DrawAlertWindowButton(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                             TdxAlertWindowButtonKind AKind, bool ADown = false);
  virtual void DrawAlertWindowScaledButton(TcxCanvas* ACanvas, const TRect& ABounds,
                                           TcxButtonState AState, TdxAlertWindowButtonKind AKind,
                                           const TdxScaleFactor* AScaleFactor, bool ADown = false);
  virtual void DrawAlertWindowNavigationPanel(TcxCanvas* ACanvas, const TRect& ABounds);
  // A pin standing (pinned) or lying with its needle to the left.
  void DrawPin(TcxCanvas* ACanvas, const TRect& ABounds, TColor AColor, bool APinned);
  TSize GetZoomInButtonSize();
  virtual TSize GetScaledZoomInButtonSize(const TdxScaleFactor* AScaleFactor);
  TSize GetZoomOutButtonSize();
  virtual TSize GetScaledZoomOutButtonSize(const TdxScaleFactor* AScaleFactor);
  void DrawZoomInButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledZoomInButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      const TdxScaleFactor* AScaleFactor);
  void DrawZoomOutButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledZoomOutButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                       const TdxScaleFactor* AScaleFactor);

  // Calendars and the modern clock's hands
  virtual void DrawCalendarDateCellSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                             TcxCalendarElementStates AStates);
  void DrawModernCalendarArrow(TcxCanvas* ACanvas, const TRect& ARect, TcxArrowDirection ADirection,
                               TcxCalendarElementState AState);
  virtual void DrawScaledModernCalendarArrow(TcxCanvas* ACanvas, const TRect& ARect,
                                             TcxArrowDirection ADirection,
                                             TcxCalendarElementState AState,
                                             const TdxScaleFactor* AScaleFactor);
  // The clock face, the hands and the glass over it; the background is the
  // canvas's own under ARect for clNone.
  virtual void DrawModernCalendarClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime,
                                       TColor ABackgroundColor, const TdxScaleFactor* AScaleFactor);
  virtual void DrawModernCalendarDateCellSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                                   TcxCalendarElementStates AStates);
  virtual void DrawModernCalendarDateHeaderSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                                     TcxCalendarElementStates AStates);
  virtual void DrawModernCalendarHeaderSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                                 TcxCalendarElementStates AStates);
  void DrawModernClockHands(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime,
                            TColor AColor);
  virtual void DrawScaledModernClockHands(TcxCanvas* ACanvas, const TRect& ARect,
                                          TDateTime ADateTime, TColor AColor,
                                          const TdxScaleFactor* AScaleFactor);
  virtual TColor GetModernCalendarCellTextColor(TcxCalendarElementStates AStates);
  virtual TColor GetModernCalendarDateHeaderTextColor(TcxCalendarElementStates AStates,
                                                      bool AIsHighlighted);
  virtual TColor GetModernCalendarHeaderTextColor(TcxCalendarElementStates AStates);
  virtual TRect GetModernCalendarHeaderTextOffsets();
  virtual TColor GetModernCalendarMarkedCellBorderColor();
  virtual TColor GetModernCalendarSelectedTextColor();

  // Galleries
  virtual TColor GetColorGalleryGlyphFrameColor();
  TRect GetGalleryGroupHeaderContentOffsets();
  virtual TRect GetGalleryScaledGroupHeaderContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TColor GetGalleryGroupTextColor();
  virtual TColor GetGalleryItemImageFrameColor();
  virtual TColor GetGalleryItemCaptionTextColor(const TdxGalleryItemViewState& AState);
  virtual TColor GetGalleryItemDescriptionTextColor(const TdxGalleryItemViewState& AState);
  virtual IdxColorPalette* GetGalleryItemColorPalette(const TdxGalleryItemViewState& AState);
  virtual void DrawGalleryBackground(TcxCanvas* ACanvas, const TRect& ABounds);
  virtual void DrawGalleryGroupHeader(TcxCanvas* ACanvas, const TRect& ABounds);
  virtual void DrawGalleryItemSelection(TcxCanvas* ACanvas, const TRect& R,
                                        const TdxGalleryItemViewState& AViewState);
  virtual bool DrawGalleryItemSelectionFirst();
  virtual void DrawGalleryItemImageFrame(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawColorGalleryItemSelection(TcxCanvas* ACanvas, const TRect& R,
                                             const TdxGalleryItemViewState& AViewState);

  // Rating control, fixed-group indicator, wheel picker
  void DrawRatingControlIndicator(TcxCanvas* ACanvas, const TRect& ABounds,
                                  TdxRatingControlIndicatorState AState);
  virtual void DrawRatingControlScaledIndicator(TcxCanvas* ACanvas, const TRect& ABounds,
                                                TdxRatingControlIndicatorState AState,
                                                const TdxScaleFactor* AScaleFactor);
  virtual IdxColorPalette* GetRatingControlIndicatorColorPalette();
  TSize GetRatingControlIndicatorSize();
  virtual TSize GetRatingControlScaledIndicatorSize(const TdxScaleFactor* AScaleFactor);
  void DrawFixedGroupIndicator(TcxCanvas* ACanvas, const TRect& ABounds);
  virtual void DrawScaledFixedGroupIndicator(TcxCanvas* ACanvas, const TRect& ABounds,
                                             const TdxScaleFactor* AScaleFactor);
  TSize GetFixedGroupIndicatorSize();
  virtual TSize GetScaledFixedGroupIndicatorSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor GetWheelPickerBorderItemColor(TcxButtonState AState);
  virtual TColor GetWheelPickerFillItemColor(TcxButtonState AState);
  virtual IdxColorPalette* GetWheelPickerColorPalette();
  virtual void DrawWheelPickerItem(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState);
  virtual void DrawWheelPickerItemBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                             TcxButtonState AState);
  virtual void DrawWheelPickerItemBorder(TcxCanvas* ACanvas, const TRect& ARect,
                                         TcxButtonState AState);

  // Rich edit
  virtual TColor RichEditControlHeaderFooterLineColor();
  virtual TColor RichEditControlHeaderFooterMarkBackColor();
  virtual TColor RichEditControlHeaderFooterMarkTextColor();
  virtual TColor RichEditRulerControlColor();
  virtual TColor RichEditRulerActiveAreaColor();
  virtual TColor RichEditRulerDefaultTabColor();
  virtual TColor RichEditRulerInactiveAreaColor();
  virtual TColor RichEditRulerTabTypeToggleBorderColor();
  virtual TColor RichEditRulerTextColor();

  // Tokens
  void DrawTokenBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledTokenBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                         const TdxScaleFactor* AScaleFactor);
  void DrawTokenCloseGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawScaledTokenCloseGlyph(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                         const TdxScaleFactor* AScaleFactor);
  TSize GetTokenCloseGlyphSize();
  virtual TSize GetScaledTokenCloseGlyphSize(const TdxScaleFactor* AScaleFactor);
  TRect GetTokenContentOffsets();
  virtual TRect GetScaledTokenContentOffsets(const TdxScaleFactor* AScaleFactor);
  TSize GetTokenDefaultGlyphSize();
  virtual TSize GetScaledTokenDefaultGlyphSize(const TdxScaleFactor* AScaleFactor);
  virtual IdxColorPalette* GetTokenColorPalette(TcxButtonState AState);
  virtual TColor GetTokenTextColor(TcxButtonState AState);

  // Map control; its colours are alpha colours
  virtual TColor MapControlBackgroundColor();
  virtual TdxAlphaColor MapControlPanelBackColor();
  virtual TdxAlphaColor MapControlPanelHotTrackedTextColor();
  virtual TdxAlphaColor MapControlPanelPressedTextColor();
  virtual TdxAlphaColor MapControlPanelTextColor();
  virtual TSize MapControlGetMapPushpinSize(const TdxScaleFactor* AScaleFactor);
  virtual TPoint MapControlGetMapPushpinTextOrigin(const TdxScaleFactor* AScaleFactor);
  virtual TRect MapControlMapCustomElementSelectionOffset(const TdxScaleFactor* AScaleFactor);
  virtual TdxAlphaColor MapControlMapCustomElementTextColor();
  virtual TdxAlphaColor MapControlMapCustomElementTextGlowColor();
  virtual TdxAlphaColor MapControlMapPushpinTextColor();
  virtual TdxAlphaColor MapControlMapPushpinTextGlowColor();
  virtual TdxAlphaColor MapControlSelectedRegionBackgroundColor();
  virtual TdxAlphaColor MapControlSelectedRegionBorderColor();
  virtual TdxAlphaColor MapControlShapeColor();
  virtual TdxAlphaColor MapControlShapeBorderColor();
  virtual Integer MapControlShapeBorderWidth(const TdxScaleFactor* AScaleFactor);
  virtual TdxAlphaColor MapControlShapeHighlightedColor();
  virtual TdxAlphaColor MapControlShapeBorderHighlightedColor();
  virtual Integer MapControlShapeBorderHighlightedWidth(const TdxScaleFactor* AScaleFactor);
  virtual TdxAlphaColor MapControlShapeSelectedColor();
  virtual TdxAlphaColor MapControlShapeBorderSelectedColor();
  virtual Integer MapControlShapeBorderSelectedWidth(const TdxScaleFactor* AScaleFactor);
  virtual void DrawMapCustomElementBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                              TdxMapControlElementState AState);
  virtual void DrawMapPushpin(TcxCanvas* ACanvas, const TRect& ARect,
                              TdxMapControlElementState AState, const TdxScaleFactor* AScaleFactor);

  // Office navigation bar. States are ordinals: 0 normal, 1 to 3 the
  // highlighted ones.
  virtual void OfficeNavigationBarDrawBackground(TcxCanvas* ACanvas, const TRect& ARect);
  void OfficeNavigationBarDrawButtonItemBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                   Integer AState);
  virtual void OfficeNavigationBarDrawScaledButtonItemBackground(
      TcxCanvas* ACanvas, const TRect& ARect, Integer AState, const TdxScaleFactor* AScaleFactor);
  void OfficeNavigationBarDrawCustomizationButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                  Integer AState, TdxAlphaColor AColor);
  // The image as drawn for the default alpha colour, else recoloured with
  // AColor's colour and drawn at its alpha.
  virtual void OfficeNavigationBarDrawScaledCustomizationButton(TcxCanvas* ACanvas,
                                                                const TRect& ARect, Integer AState,
                                                                const TdxScaleFactor* AScaleFactor,
                                                                TdxAlphaColor AColor);
  void OfficeNavigationBarDrawItemBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                             Integer AState);
  virtual void OfficeNavigationBarDrawScaledItemBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                           Integer AState,
                                                           const TdxScaleFactor* AScaleFactor);
  void OfficeNavigationBarDrawImageSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                             Integer AState);
  virtual void OfficeNavigationBarDrawScaledImageSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                                           Integer AState,
                                                           const TdxScaleFactor* AScaleFactor);
  virtual TColor OfficeNavigationBarButtonItemTextColor(Integer AState);
  virtual TColor OfficeNavigationBarItemTextColor(Integer AState);
  TRect OfficeNavigationBarButtonItemContentOffsets();
  virtual TRect OfficeNavigationBarScaledButtonItemContentOffsets(
      const TdxScaleFactor* AScaleFactor);
  Integer OfficeNavigationBarButtonItemFontSize();
  virtual Integer OfficeNavigationBarScaledButtonItemFontSize(const TdxScaleFactor* AScaleFactor);
  TRect OfficeNavigationBarContentOffsets();
  virtual TRect OfficeNavigationBarScaledContentOffsets(const TdxScaleFactor* AScaleFactor);
  TSize OfficeNavigationBarCustomizationButtonSize();
  virtual TSize OfficeNavigationBarScaledCustomizationButtonSize(
      const TdxScaleFactor* AScaleFactor);
  TRect OfficeNavigationBarItemContentOffsets();
  virtual TRect OfficeNavigationBarScaledItemContentOffsets(const TdxScaleFactor* AScaleFactor);
  Integer OfficeNavigationBarItemFontSize();
  virtual Integer OfficeNavigationBarScaledItemFontSize(const TdxScaleFactor* AScaleFactor);

  // PDF viewer
  virtual IdxColorPalette* PDFViewerNavigationPaneButtonColorPalette(TcxButtonState AState);
  virtual TRect PDFViewerNavigationPaneButtonContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TPoint PDFViewerNavigationPaneButtonOverlay(const TdxScaleFactor* AScaleFactor);
  virtual TSize PDFViewerNavigationPaneButtonSize(const TdxScaleFactor* AScaleFactor);
  // A selected or pressed button reaches over its neighbours by the overlay.
  TRect PDFViewerNavigationPaneButtonRect(const TRect& ARect, TcxButtonState AState, bool ASelected,
                                          const TdxScaleFactor* AScaleFactor);
  virtual TRect PDFViewerNavigationPaneContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TRect PDFViewerNavigationPanePageCaptionContentOffsets(
      const TdxScaleFactor* AScaleFactor);
  virtual TColor PDFViewerNavigationPanePageCaptionTextColor();
  virtual TRect PDFViewerNavigationPanePageContentOffsets(const TdxScaleFactor* AScaleFactor);
  virtual TRect PDFViewerNavigationPanePageToolbarContentOffsets(
      const TdxScaleFactor* AScaleFactor);
  virtual TColor PDFViewerSelectionColor();
  virtual void PDFViewerDrawFindPanelBackground(TcxCanvas* ACanvas, const TRect& R,
                                                TcxBorders ABorders);
  virtual void PDFViewerDrawNavigationPaneBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void PDFViewerDrawNavigationPaneButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                 TcxButtonState AState,
                                                 const TdxScaleFactor* AScaleFactor,
                                                 bool AMinimized, bool ASelected, bool AIsFirst);
  virtual void PDFViewerDrawNavigationPanePageBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void PDFViewerDrawNavigationPanePageButton(TcxCanvas* ACanvas, const TRect& ARect,
                                                     TcxButtonState AState,
                                                     const TdxScaleFactor* AScaleFactor);
  virtual void PDFViewerDrawNavigationPanePageCaptionBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void PDFViewerDrawNavigationPanePageToolbarBackground(TcxCanvas* ACanvas, const TRect& R);
  virtual void PDFViewerDrawPageThumbnailPreviewBackground(TcxCanvas* ACanvas, const TRect& R);

  // Spreadsheet
  void DrawSpreadSheetHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                             TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                             TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                             bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                             TFont* AFont, TColor ATextColor, TColor ABkColor,
                             const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr,
                             bool AIsLast = false, bool AIsGroup = false);
  // The header, its background mixed towards the highlight colour when hot.
  virtual void DrawSpreadSheetScaledHeader(
      TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
      TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
      TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
      bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor,
      const TdxScaleFactor* AScaleFactor, const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr,
      bool AIsLast = false, bool AIsGroup = false);
  void DrawSpreadSheetGroupExpandButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState);
  virtual void DrawSpreadSheetScaledGroupExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                      TcxButtonState AState,
                                                      const TdxScaleFactor* AScaleFactor);
  void DrawSpreadSheetGroupExpandButtonGlyph(TcxCanvas* ACanvas, const TRect& R,
                                             TcxButtonState AState, bool AExpanded,
                                             TCustomImageList* ADefaultGlyphs);
  virtual void DrawSpreadSheetScaledGroupExpandButtonGlyph(TcxCanvas* ACanvas, const TRect& R,
                                                           TcxButtonState AState, bool AExpanded,
                                                           const TdxScaleFactor* AScaleFactor,
                                                           TCustomImageList* ADefaultGlyphs);
  void DrawSpreadSheetFormulaBarExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                             TcxButtonState AState, bool AExpanded);
  virtual void DrawSpreadSheetFormulaBarScaledExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                           TcxButtonState AState, bool AExpanded,
                                                           const TdxScaleFactor* AScaleFactor);
  void DrawSpreadSheetFormulaBarSeparator(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawSpreadSheetFormulaBarScaledSeparator(TcxCanvas* ACanvas, const TRect& R,
                                                        const TdxScaleFactor* AScaleFactor);
  Integer SpreadSheetFormulaBarGetSeparatorSize();
  virtual Integer SpreadSheetFormulaBarGetScaledSeparatorSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor SpreadSheetContentColor();
  virtual TColor SpreadSheetContentTextColor();
  virtual TColor SpreadSheetFrozenPaneSeparatorColor();
  virtual TColor SpreadSheetGroupExpandButtonTextColor(TcxButtonState AState);
  virtual TColor SpreadSheetGroupLineColor();
  TRect SpreadSheetGroupExpandButtonContentOffsets();
  virtual TRect SpreadSheetScaledGroupExpandButtonContentOffsets(
      const TdxScaleFactor* AScaleFactor);
  TSize SpreadSheetGroupExpandButtonGlyphSize();
  virtual TSize SpreadSheetScaledGroupExpandButtonGlyphSize(const TdxScaleFactor* AScaleFactor);
  TSize SpreadSheetGroupLevelMarkSize();
  virtual TSize SpreadSheetScaledGroupLevelMarkSize(const TdxScaleFactor* AScaleFactor);
  virtual TColor SpreadSheetSelectionColor();

  // Row indicators and tabs
  void DrawIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind);
  virtual void DrawScaledIndicatorImage(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                                        const TdxScaleFactor* AScaleFactor);
  void DrawIndicatorItem(TcxCanvas* ACanvas, const TRect& R, const TRect& AImageAreaBounds,
                         TcxIndicatorKind AKind, TColor AColor,
                         const TcxDrawBackgroundEvent& AOnDrawBackground, TcxNeighbors ANeighbors);
  virtual void DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R,
                                       const TRect& AImageAreaBounds, TcxIndicatorKind AKind,
                                       TColor AColor, const TdxScaleFactor* AScaleFactor,
                                       const TcxDrawBackgroundEvent& AOnDrawBackground,
                                       TcxNeighbors ANeighbors);
  // The item over R with its top and bottom neighbours.
  void DrawIndicatorItem(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind, TColor AColor,
                         const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr);
  virtual void DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                                       TColor AColor, const TdxScaleFactor* AScaleFactor,
                                       const TcxDrawBackgroundEvent& AOnDrawBackground);
  void DrawIndicatorItemEx(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                           TColor AColor,
                           const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr);
  virtual void DrawScaledIndicatorItemEx(TcxCanvas* ACanvas, const TRect& R, TcxIndicatorKind AKind,
                                         TColor AColor, const TdxScaleFactor* AScaleFactor,
                                         const TcxDrawBackgroundEvent& AOnDrawBackground);
  // Five short rows like a list with tick boxes; at 96 DPI (the 1:1
  // factor) through the unscaled form.
  void DrawIndicatorCustomizationMark(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
  virtual void DrawScaledIndicatorCustomizationMark(TcxCanvas* ACanvas, const TRect& R,
                                                    TColor AColor,
                                                    const TdxScaleFactor* AScaleFactor);
  virtual bool IndicatorDrawItemsFirst();
  virtual void DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, const String& AText,
                       TcxButtonState AState, bool AVertical, TFont* AFont, TColor ATextColor,
                       TColor ABkColor, bool AShowPrefix = false);
  // R is the one-pixel strip of the side ABorder.
  virtual void DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder,
                             TcxBorders ABorders, bool AVertical);
  virtual void DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                            bool AVertical);
  virtual bool IsDrawTabImplemented(bool AVertical);
  virtual bool IsTabHotTrack(bool AVertical);
  virtual Integer TabBorderSize(bool AVertical);

 protected:
  // The image of a resource of the program (of type "PNG" unless named),
  // loaded into AImage on first use.
  TdxSmartImage* GetCachedImage(TOwned<TdxSmartImage>& AImage, const wchar_t* AResourceName,
                                const wchar_t* AResourceType = L"PNG");

 private:
  void DoDrawCheck(TcxCanvas* ACanvas, const TRect& R);
  void DrawProgressBarTextOnce(TcxCanvas* ACanvas, bool AVertical, const String& AText,
                               const TRect& ARect);
  void DrawProgressBarInvertedText(TcxCanvas* ACanvas, bool AVertical, const String& AText,
                                   const TRect& ATextRect);

  // Owned; freed by the destructor (the type is complete only there).
  TdxSkinDetails* FLookAndFeelPainterDetailsCache = nullptr;
  TOwned<TdxSmartImage> FBackButton;
  TOwned<TdxSmartImage> FClockFace;
  TOwned<TdxSmartImage> FClockGlass;
  TOwned<TdxSmartImage> FFixedGroupIndicator;
  TOwned<TdxSmartImage> FMapPushpin;
  TOwned<TdxSmartImage> FNavigationBarCustomizationButton;
  TOwned<TdxSmartImage> FRatingControlIndicator;
  TOwned<TdxSmartImage> FSearchButtonGlyph;
  TOwned<TdxSmartImage> FSmartTagGlyph;
};

// ---------------------------------------------------------------------------
// The classic three-dimensional look in system colours.
class TcxStandardLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
  DECLARE_CLASS(TcxStandardLookAndFeelPainter, TcxCustomLookAndFeelPainter)
 public:
  String LookAndFeelName() override;
  TcxLookAndFeelStyle LookAndFeelStyle() override;
  TColor DefaultSchedulerTimeRulerBorderColor() override;
  TColor DefaultSchedulerTimeRulerTextColor() override;
  TColor DefaultSchedulerViewContentColor() override;
  TColor DefaultSchedulerViewContentColorClassic() override;

  Integer BorderSize() override;
  void DrawBorder(TcxCanvas* ACanvas, const TRect& R) override;
  Integer ButtonBorderSize(TcxButtonState AState = cxbsNormal) override;
  Integer ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) override;
  Integer ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) override;
  void DrawButtonBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  bool IsButtonHotTrack() override;
  void DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                              const TdxScaleFactor* AScaleFactor, TColor AColor,
                              TcxButtonState AState) override;
  void DrawScaledGroupExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                   TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  Integer ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawCheckBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  void DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                   bool AChecked, const TdxScaleFactor* AScaleFactor) override;
  TColor ToggleSwitchToggleColor(bool AChecked) override;
  void DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                               TcxScrollBarPart APart, TcxButtonState AState,
                               const TdxScaleFactor* AScaleFactor) override;
  void DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors,
                        TcxBorders ABorders) override;
  void DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                      TcxButtonState AState) override;
  Integer HeaderBorderSize() override;
  void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                    const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  Integer FooterBorderSize() override;
  Integer FooterCellBorderSize() override;
  Integer FooterCellOffset() override;
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      bool AIsFilterActive,
                                      const TdxScaleFactor* AScaleFactor) override;
  void DrawFindPanelBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders) override;
  void DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders,
                     bool AVertical) override;
  void DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                    bool AVertical) override;
  Integer TabBorderSize(bool AVertical) override;
  Integer HeaderControlSectionBorderSize(TcxButtonState AState = cxbsNormal) override;
  void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                         TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) override;
  void DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                             TcxNeighbors ANeighbors, const TcxViewParams& AViewParams,
                             TcxArrowDirections AArrows, Integer ASideWidth,
                             const TdxScaleFactor* AScaleFactor,
                             const TcxDrawBackgroundEvent& AOnDrawBackground) override;
  void DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R,
                                   const TcxViewParams& AViewParams, bool AIsHorizontal) override;
  void DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, const TcxArrowPoints& ALightPolyLine,
                                     const TcxArrowPoints& AShadowPolyLine,
                                     const TcxArrowPoints& ADarkPolyLine) override;
  void DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawBreadcrumbEditScaledButton(TcxCanvas* ACanvas, const TRect& ARect,
                                      TdxBreadcrumbEditButtonState AState, bool AIsFirst,
                                      bool AIsLast, const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledTokenBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 const TdxScaleFactor* AScaleFactor) override;
};

// The themed push-button state of a button state.
Integer BtnStateToXPBtnState(TcxButtonState AState);

// ---------------------------------------------------------------------------
// Flat elements with one-pixel frames; hot and pressed faces in light mixes
// of the button-face, highlight and window colours.
class TcxUltraFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
  DECLARE_CLASS(TcxUltraFlatLookAndFeelPainter, TcxCustomLookAndFeelPainter)
 public:
  String LookAndFeelName() override;
  TcxLookAndFeelStyle LookAndFeelStyle() override;
  TColor DefaultSchedulerBorderColor() override;
  TColor DefaultSchedulerTimeRulerBorderColor() override;
  TColor DefaultSchedulerTimeRulerTextColor() override;

  Integer BorderSize() override;
  void DrawBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DoDrawSeparator(TcxCanvas* ACanvas, const TRect& R, bool AIsVertical) override;
  TSize GetBevelMinimalShapeSize(TdxBevelShape AShape) override;
  void GetBevelShapeColors(TColor& AColor1, TColor& AColor2) override;

  Integer ButtonBorderSize(TcxButtonState AState = cxbsNormal) override;
  TColor ButtonColor(TcxButtonState AState) override;
  TColor ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor = clDefault) override;
  TcxButtonState ButtonSymbolState(TcxButtonState AState) override;
  TRect ScaledButtonFocusRect(TcxCanvas* ACanvas, const TRect& R,
                              const TdxScaleFactor* AScaleFactor) override;
  Integer ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) override;
  Integer ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) override;
  void DrawButtonBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  bool IsButtonHotTrack() override;

  void DrawCheckBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  void DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                              const TdxScaleFactor* AScaleFactor, TColor AColor,
                              TcxButtonState AState) override;
  Integer ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                   bool AChecked, const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  TColor ToggleSwitchToggleColor(bool AChecked) override;

  void DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                               TcxScrollBarPart APart, TcxButtonState AState,
                               const TdxScaleFactor* AScaleFactor) override;
  TSize GetScaledSplitterSize(bool AHorizontal, const TdxScaleFactor* AScaleFactor) override;
  TColor GetSplitterOuterColor(bool AHighlighted) override;
  TSize ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor) override;

  void DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                     bool AHasBorders) override;
  void DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                          const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                          const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;
  TColor DropDownListBoxItemTextColor(bool ASelected) override;

  TcxBorders HeaderBorders(TcxNeighbors ANeighbors) override;
  Integer HeaderBorderSize() override;
  void DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors,
                        TcxBorders ABorders) override;
  void DrawScaledHeaderEx(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                          TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                          TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                          bool AMultiLine, bool AShowEndEllipsis, const String& AText, TFont* AFont,
                          TColor ATextColor, TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                          const TcxDrawBackgroundEvent& AOnDrawBackground) override;
  void DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                      TcxButtonState AState) override;
  void DrawHeaderControlSectionContent(TcxCanvas* ACanvas, const TRect& ABounds,
                                       const TRect& ATextAreaBounds, TcxButtonState AState,
                                       TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                       bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                       TFont* AFont, TColor ATextColor, TColor ABkColor) override;
  void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                    const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  TcxBorders FooterBorders() override;
  Integer FooterBorderSize() override;
  Integer FooterCellBorderSize() override;
  Integer FooterCellOffset() override;
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawFooterBorderEx(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders) override;
  void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      bool AIsFilterActive,
                                      const TdxScaleFactor* AScaleFactor) override;
  Integer GridBordersOverlapSize() override;
  void DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders,
                     bool AVertical) override;
  void DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                    bool AVertical) override;
  Integer TabBorderSize(bool AVertical) override;

  void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                         TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) override;
  TColor RadioButtonBodyColor(TcxButtonState AState) override;

  void DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect,
                                            const TRect& AArrowRect, bool AIsNextButton,
                                            TcxButtonState AState, bool AIsVertical) override;
  void DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R,
                                   const TcxViewParams& AViewParams, bool AIsHorizontal) override;
  void DrawPrintPreviewScaledBackground(TcxCanvas* ACanvas, const TRect& R,
                                        const TdxScaleFactor* AScaleFactor) override;
  bool NavigatorBorderOverlap() override;
  Integer NavigatorBorderSize() override;
  void DrawNavigatorScaledButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 TColor ABackgroundColor,
                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawNavigatorBorder(TcxCanvas* ACanvas, const TRect& R, bool ASelected) override;
  void DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, const TcxArrowPoints& ALightPolyLine,
                                     const TcxArrowPoints& AShadowPolyLine,
                                     const TcxArrowPoints& ADarkPolyLine) override;
  void DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawBreadcrumbEditScaledButton(TcxCanvas* ACanvas, const TRect& ARect,
                                      TdxBreadcrumbEditButtonState AState, bool AIsFirst,
                                      bool AIsLast, const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditBorders(TcxCanvas* ACanvas, const TRect& ARect, TcxBorders ABorders,
                                 TdxBreadcrumbEditState AState) override;
  Integer BreadcrumbEditScaledButtonAreaSeparatorSize(const TdxScaleFactor* AScaleFactor) override;
  TRect BreadcrumbEditScaledButtonContentOffsets(bool AIsFirst, bool AIsLast,
                                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledButtonAreaSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                                   TdxBreadcrumbEditState AState,
                                                   const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledDropDownButton(TcxCanvas* ACanvas, const TRect& ARect,
                                              TdxBreadcrumbEditButtonState AState, bool AIsInEditor,
                                              const TdxScaleFactor* AScaleFactor) override;
  // The frame of the filter drop-down button in a state.
  virtual TColor FilterDropDownButtonBorderColor(TcxButtonState AState);
  // A breadcrumb button's face and its frame on ABorders.
  virtual void DrawBreadcrumbEditCustomButton(TcxCanvas* ACanvas, const TRect& R,
                                              TdxBreadcrumbEditButtonState AState,
                                              TcxBorders ABorders);
  virtual TColor TabBorderHighlightColor();
  virtual TColor TabBorderDarkColor();
  // The colour of highlighted frames.
  virtual TColor BorderHighlightColor();
  void DrawScaledTokenBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 const TdxScaleFactor* AScaleFactor) override;
};

// ---------------------------------------------------------------------------
// One-pixel bevels instead of the three-dimensional ones, sunken one-pixel
// borders, no hot tracking.
class TcxFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
  DECLARE_CLASS(TcxFlatLookAndFeelPainter, TcxCustomLookAndFeelPainter)
 public:
  String LookAndFeelName() override;
  TcxLookAndFeelStyle LookAndFeelStyle() override;
  TColor DefaultSchedulerTimeRulerBorderColor() override;
  TColor DefaultSchedulerTimeRulerTextColor() override;

  Integer BorderSize() override;
  Integer SeparatorSize() override;
  void DrawBorder(TcxCanvas* ACanvas, const TRect& R) override;
  Integer ButtonBorderSize(TcxButtonState AState = cxbsNormal) override;
  Integer ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) override;
  Integer ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) override;
  void DrawButtonBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  bool IsButtonHotTrack() override;
  void DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                              const TdxScaleFactor* AScaleFactor, TColor AColor,
                              TcxButtonState AState) override;
  Integer ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawCheckBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  void DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                   bool AChecked, const TdxScaleFactor* AScaleFactor) override;
  TColor ToggleSwitchToggleColor(bool AChecked) override;
  void DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                               TcxScrollBarPart APart, TcxButtonState AState,
                               const TdxScaleFactor* AScaleFactor) override;
  TColor GetSplitterOuterColor(bool AHighlighted) override;
  void DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors,
                        TcxBorders ABorders) override;
  void DrawHeaderControlSectionBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                                      TcxButtonState AState) override;
  Integer HeaderBorderSize() override;
  void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                    const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSummarySortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  Integer FooterBorderSize() override;
  Integer FooterCellBorderSize() override;
  Integer FooterCellOffset() override;
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawFooterCellBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      bool AIsFilterActive,
                                      const TdxScaleFactor* AScaleFactor) override;
  void DrawFindPanelBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders) override;
  void DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders,
                     bool AVertical) override;
  void DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                    bool AVertical) override;
  Integer TabBorderSize(bool AVertical) override;
  void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                         TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) override;
  void DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R,
                                   const TcxViewParams& AViewParams, bool AIsHorizontal) override;
  void DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) override;
  void DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, const TcxArrowPoints& ALightPolyLine,
                                     const TcxArrowPoints& AShadowPolyLine,
                                     const TcxArrowPoints& ADarkPolyLine) override;
  void DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) override;
};

// ---------------------------------------------------------------------------
// The Office 11 look: the scheme's colours, read at each use, one-pixel
// borders in them and tube-gradient selections. Scroll bars are the
// registered Native painter's while there is one.
class TcxOffice11LookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {
  DECLARE_CLASS(TcxOffice11LookAndFeelPainter, TcxUltraFlatLookAndFeelPainter)
 public:
  String LookAndFeelName() override;
  TcxLookAndFeelStyle LookAndFeelStyle() override;
  bool NeedRedrawOnResize() override;

  TColor DefaultControlColor() override;
  TColor DefaultControlTextColor() override;
  TColor DefaultDateNavigatorHeaderColor() override;
  TColor DefaultDateNavigatorHeaderHighlightTextColor() override;
  TColor DefaultDateNavigatorSelectionColor() override;
  TColor DefaultDateNavigatorSelectionTextColor() override;
  TColor DefaultFilterBoxColor() override;
  TColor DefaultFilterBoxTextColor() override;
  TColor DefaultFooterColor() override;
  TColor DefaultFooterTextColor() override;
  TColor DefaultGroupColor() override;
  TColor DefaultGroupByBoxColor() override;
  TColor DefaultGroupByBoxTextColor() override;
  TColor DefaultHeaderBackgroundColor() override;
  TColor DefaultHeaderColor() override;
  TColor DefaultSchedulerBorderColor() override;
  TColor DefaultSchedulerControlColor() override;
  TColor DefaultSchedulerDayHeaderColor() override;
  TColor DefaultTabColor() override;
  TColor DefaultTabsBackgroundColor() override;
  TColor DefaultTimeGridMinorScaleColor() override;
  TColor DefaultTimeGridSelectionBarColor() override;

  Integer SeparatorSize() override;
  void DrawBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void DoDrawSeparator(TcxCanvas* ACanvas, const TRect& R, bool AIsVertical) override;
  TSize GetBevelMinimalShapeSize(TdxBevelShape AShape) override;
  void GetBevelShapeColors(TColor& AColor1, TColor& AColor2) override;

  TColor ButtonColor(TcxButtonState AState) override;
  TColor ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor = clDefault) override;
  void DrawButtonBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  TColor CheckButtonColor(TcxButtonState AState, TcxCheckBoxState ACheckState) override;
  void DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                              const TdxScaleFactor* AScaleFactor, TColor AColor,
                              TcxButtonState AState) override;
  bool DrawExpandButtonFirst() override;
  void DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                   TColor ABorderColor, const TdxScaleFactor* AScaleFactor,
                                   TColor AColor) override;
  Integer ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  Integer ScaledSmallExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;

  Integer ScaledScrollBarMinimalThumbSize(bool AVertical,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                               TcxScrollBarPart APart, TcxButtonState AState,
                               const TdxScaleFactor* AScaleFactor) override;
  void DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect) override;
  TColor GetSplitterInnerColor(bool AHighlighted) override;
  TColor GetSplitterOuterColor(bool AHighlighted) override;

  void DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                     bool AHasBorders) override;
  void DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                          const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                          const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;

  void DrawContent(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                   Integer AState, TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                   bool AMultiLine, bool AShowEndEllipsis, const String& AText, TFont* AFont,
                   TColor ATextColor, TColor ABkColor,
                   const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr,
                   bool AIsFooter = false) override;
  void DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                        TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                        TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                        bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                        TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                        const TcxDrawBackgroundEvent& AOnDrawBackground, bool AIsLast,
                        bool AIsGroup) override;
  void DrawHeaderBorder(TcxCanvas* ACanvas, const TRect& R, TcxNeighbors ANeighbors,
                        TcxBorders ABorders) override;
  void DrawScaledHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds,
                                      const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                      TcxBorders ABorders, TcxButtonState AState,
                                      TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                      bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                      TFont* AFont, TColor ATextColor, TColor ABkColor,
                                      const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                    const TdxScaleFactor* AScaleFactor) override;
  TcxBorders HeaderBorders(TcxNeighbors ANeighbors) override;
  bool IsHeaderHotTrack() override;
  TColor FooterSeparatorColor() override;
  Integer GridBordersOverlapSize() override;
  TColor FilterDropDownButtonBorderColor(TcxButtonState AState) override;
  TColor TabBorderHighlightColor() override;

  void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                         TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) override;
  TColor GroupBoxTextColor(bool AEnabled, TcxGroupBoxCaptionPosition ACaptionPosition) override;
  void DrawPanelBackground(TcxCanvas* ACanvas, TWinControl* AControl, const TRect& ABounds,
                           TColor AColorFrom = clDefault, TColor AColorTo = clDefault) override;
  TColor RadioButtonBodyColor(TcxButtonState AState) override;

  void DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                             TcxNeighbors ANeighbors, const TcxViewParams& AViewParams,
                             TcxArrowDirections AArrows, Integer ASideWidth,
                             const TdxScaleFactor* AScaleFactor,
                             const TcxDrawBackgroundEvent& AOnDrawBackground) override;
  void DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect,
                                            const TRect& AArrowRect, bool AIsNextButton,
                                            TcxButtonState AState, bool AIsVertical) override;
  void DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) override;
  void DrawSchedulerBorder(TcxCanvas* ACanvas, const TRect& R) override;
  void LayoutViewDrawRecordCaption(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextRect,
                                   TcxGroupBoxCaptionPosition APosition, TcxButtonState AState,
                                   TColor AColor = clDefault, TBitmap* ABitmap = nullptr) override;
  void DrawLayoutControlBackground(TcxCanvas* ACanvas, const TRect& R) override;
  Integer NavigatorBorderSize() override;
  void DrawTrackBarTrackBounds(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawTrackBarThumbBorderUpDown(TcxCanvas* ACanvas, const TcxArrowPoints& ALightPolyLine,
                                     const TcxArrowPoints& AShadowPolyLine,
                                     const TcxArrowPoints& ADarkPolyLine) override;
  void DrawTrackBarThumbBorderBoth(TcxCanvas* ACanvas, const TRect& ARect) override;
  void DrawBreadcrumbEditBorders(TcxCanvas* ACanvas, const TRect& ARect, TcxBorders ABorders,
                                 TdxBreadcrumbEditState AState) override;
  TColor BreadcrumbEditBackgroundColor(TdxBreadcrumbEditState AState) override;
  void DrawBreadcrumbEditCustomButton(TcxCanvas* ACanvas, const TRect& R,
                                      TdxBreadcrumbEditButtonState AState,
                                      TcxBorders ABorders) override;
  void DrawAlertWindowBackground(TcxCanvas* ACanvas, const TRect& ABounds,
                                 const TdxScaleFactor* AScaleFactor) override;
  TColor BorderHighlightColor() override;
  // The header's colours in the scheme.
  virtual TColor HeaderBottomColor();
  virtual TColor HeaderDarkEdgeColor();
  virtual TColor HeaderHighlightEdgeColor();
  virtual TColor HeaderTopColor();
  void DrawScaledTokenBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 const TdxScaleFactor* AScaleFactor) override;
  TColor RichEditControlHeaderFooterLineColor() override;
  TColor RichEditControlHeaderFooterMarkBackColor() override;
  TColor RichEditRulerInactiveAreaColor() override;
  TColor RichEditRulerTabTypeToggleBorderColor() override;
  TSize ScaledClockSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime,
                       TColor ABackgroundColor, const TdxScaleFactor* AScaleFactor) override;
};

// ---------------------------------------------------------------------------
// The platform's visual styles, element by element; where the theme class an
// element needs does not open, that element is drawn as the Standard painter
// draws it.
class TcxWinXPLookAndFeelPainter : public TcxStandardLookAndFeelPainter {
  DECLARE_CLASS(TcxWinXPLookAndFeelPainter, TcxStandardLookAndFeelPainter)
 public:
  // An override hides its overload siblings; this brings them back.
  using TcxCustomLookAndFeelPainter::DrawScaledCheck;
  using TcxCustomLookAndFeelPainter::DrawScaledIndicatorItem;
  using TcxStandardLookAndFeelPainter::DrawContent;

  ~TcxWinXPLookAndFeelPainter() override;
  void AfterConstruction() override;

  String LookAndFeelName() override;
  TcxLookAndFeelStyle LookAndFeelStyle() override;
  bool NeedRedrawOnResize() override;

  void DrawScaledButton(TcxCanvas* ACanvas, const TRect& R, const String& ACaption,
                        TcxButtonState AState, const TdxScaleFactor* AScaleFactor, bool ADrawBorder,
                        TColor AColor, TColor ATextColor, bool AWordWrap, bool AIsToolButton,
                        TcxButtonPart APart) override;
  Integer ButtonBorderSize(TcxButtonState AState = cxbsNormal) override;
  TColor ButtonColor(TcxButtonState AState) override;
  TColor ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor = clDefault) override;
  TRect ScaledButtonFocusRect(TcxCanvas* ACanvas, const TRect& R,
                              const TdxScaleFactor* AScaleFactor) override;
  Integer ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) override;
  Integer ScaledButtonTextShift(const TdxScaleFactor* AScaleFactor) override;
  bool IsButtonHotTrack() override;
  void DrawScaledArrowBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSmallButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                             const TdxScaleFactor* AScaleFactor) override;

  TColor DefaultCommandLinkTextColor(TcxButtonState AState, TColor ADefaultColor) override;
  void DrawScaledCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                       const TdxScaleFactor* AScaleFactor, TColor AColor) override;
  void DrawScaledCommandLinkGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos,
                                  TcxButtonState AState,
                                  const TdxScaleFactor* AScaleFactor) override;
  TSize GetScaledCommandLinkGlyphSize(const TdxScaleFactor* AScaleFactor) override;
  TRect GetScaledCommandLinkMargins(const TdxScaleFactor* AScaleFactor) override;

  Integer CheckBorderSize() override;
  TSize ScaledCheckButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledCheck(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                       TcxCheckBoxState ACheckState, TColor AColor,
                       const TdxScaleFactor* AScaleFactor) override;
  void DrawCheckBorder(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState) override;
  void DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                              const TdxScaleFactor* AScaleFactor, TColor AColor,
                              TcxButtonState AState) override;
  bool DrawExpandButtonFirst() override;
  void DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                   TColor ABorderColor, const TdxScaleFactor* AScaleFactor,
                                   TColor AColor) override;
  Integer ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  Integer ScaledSmallExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledGroupExpandButton(TcxCanvas* ACanvas, const TRect& R, bool AExpanded,
                                   TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  Integer ScaledGroupExpandButtonSize(const TdxScaleFactor* AScaleFactor) override;
  bool IsPointOverGroupExpandButton(const TRect& R, const TPoint& P) override;

  void DrawScaledArrow(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                       TcxArrowDirection AArrowDirection, const TdxScaleFactor* AScaleFactor,
                       bool ADrawBorder) override;
  Integer ScaledScrollBarMinimalThumbSize(bool AVertical,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal, const TRect& R,
                               TcxScrollBarPart APart, TcxButtonState AState,
                               const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSizeGripSize(const TdxScaleFactor* AScaleFactor) override;
  void DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect) override;

  Integer BorderSize() override;
  void DrawBorder(TcxCanvas* ACanvas, const TRect& R) override;
  Integer SeparatorSize() override;
  void DoDrawSeparator(TcxCanvas* ACanvas, const TRect& R, bool AIsVertical) override;
  void DrawBevelFrame(TcxCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                      bool ABoxStyle) override;
  void DrawBevelLine(TcxCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2,
                     bool AIsVertical) override;
  TSize GetBevelMinimalShapeSize(TdxBevelShape AShape) override;

  void DrawEditPopupWindowBorder(TcxCanvas* ACanvas, TRect& R, TcxEditPopupBorderStyle ABorderStyle,
                                 bool AClientEdge) override;
  Integer GetEditPopupWindowBorderWidth(TcxEditPopupBorderStyle AStyle) override;
  Integer GetEditPopupWindowClientEdgeWidth(TcxEditPopupBorderStyle AStyle) override;

  void DrawScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextAreaBounds,
                        TcxNeighbors ANeighbors, TcxBorders ABorders, TcxButtonState AState,
                        TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert, bool AMultiLine,
                        bool AShowEndEllipsis, const String& AText, TFont* AFont, TColor ATextColor,
                        TColor ABkColor, const TdxScaleFactor* AScaleFactor,
                        const TcxDrawBackgroundEvent& AOnDrawBackground, bool AIsLast,
                        bool AIsGroup) override;
  void DrawHeaderPressed(TcxCanvas* ACanvas, const TRect& ABounds) override;
  void DrawScaledHeaderControlSection(TcxCanvas* ACanvas, const TRect& ABounds,
                                      const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                      TcxBorders ABorders, TcxButtonState AState,
                                      TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                      bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                      TFont* AFont, TColor ATextColor, TColor ABkColor,
                                      const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                             const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSummarySortingMark(TcxCanvas* ACanvas, const TRect& R, bool AAscendingSorting,
                                    const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledSortingMarkSize(const TdxScaleFactor* AScaleFactor) override;
  Integer HeaderBorderSize() override;
  Integer HeaderControlSectionBorderSize(TcxButtonState AState = cxbsNormal) override;
  TRect HeaderControlSectionContentBounds(const TRect& ABounds, TcxButtonState AState) override;
  bool IsHeaderHotTrack() override;
  void DrawFilterRowSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                              TColor ABackgroundColor) override;
  void DrawFooterBorder(TcxCanvas* ACanvas, const TRect& R) override;
  Integer FooterBorderSize() override;
  void DrawFooterCell(TcxCanvas* ACanvas, const TRect& ABounds, TAlignment AAlignmentHorz,
                      TcxAlignmentVert AAlignmentVert, bool AMultiLine, const String& AText,
                      TFont* AFont, TColor ATextColor, TColor ABkColor,
                      const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr) override;
  Integer FooterCellBorderSize() override;
  Integer FooterCellOffset() override;
  bool FooterDrawCellsFirst() override;
  void DrawScaledFilterCloseButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledFilterDropDownButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                      bool AIsFilterActive,
                                      const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledFilterActivateButtonSize(const TdxScaleFactor* AScaleFactor) override;
  TSize ScaledFilterCloseButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawFindPanelBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders) override;
  void DrawScaledIndicatorItem(TcxCanvas* ACanvas, const TRect& R, const TRect& AImageAreaBounds,
                               TcxIndicatorKind AKind, TColor AColor,
                               const TdxScaleFactor* AScaleFactor,
                               const TcxDrawBackgroundEvent& AOnDrawBackground,
                               TcxNeighbors ANeighbors) override;

  void DrawTab(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders, const String& AText,
               TcxButtonState AState, bool AVertical, TFont* AFont, TColor ATextColor,
               TColor ABkColor, bool AShowPrefix = false) override;
  void DrawTabBorder(TcxCanvas* ACanvas, const TRect& R, TcxBorder ABorder, TcxBorders ABorders,
                     bool AVertical) override;
  void DrawTabsRoot(TcxCanvas* ACanvas, const TRect& R, TcxBorders ABorders,
                    bool AVertical) override;
  bool IsDrawTabImplemented(bool AVertical) override;
  bool IsTabHotTrack(bool AVertical) override;
  Integer TabBorderSize(bool AVertical) override;

  void DrawGroupBoxFrame(TcxCanvas* ACanvas, const TRect& R, bool AEnabled,
                         TcxGroupBoxCaptionPosition ACaptionPosition, TcxBorders ABorders) override;
  TColor GroupBoxTextColor(bool AEnabled, TcxGroupBoxCaptionPosition ACaptionPosition) override;
  void DrawPanelBackground(TcxCanvas* ACanvas, TWinControl* AControl, const TRect& ABounds,
                           TColor AColorFrom = clDefault, TColor AColorTo = clDefault) override;
  void DrawScaledRadioButton(TcxCanvas* ACanvas, Integer X, Integer Y, TcxButtonState AButtonState,
                             bool AChecked, bool AFocused, TColor ABrushColor,
                             const TdxScaleFactor* AScaleFactor,
                             bool AIsDesigning = false) override;
  TSize ScaledRadioButtonSize(const TdxScaleFactor* AScaleFactor) override;

  void DrawScaledMonthHeader(TcxCanvas* ACanvas, const TRect& ABounds, const String& AText,
                             TcxNeighbors ANeighbors, const TcxViewParams& AViewParams,
                             TcxArrowDirections AArrows, Integer ASideWidth,
                             const TdxScaleFactor* AScaleFactor,
                             const TcxDrawBackgroundEvent& AOnDrawBackground) override;
  void DrawSchedulerSplitterBorder(TcxCanvas* ACanvas, const TRect& R,
                                   const TcxViewParams& AViewParams, bool AIsHorizontal) override;
  void DrawDateNavigatorDateHeader(TcxCanvas* ACanvas, TRect& R) override;
  void DrawSchedulerNavigationButtonContent(TcxCanvas* ACanvas, const TRect& ARect,
                                            const TRect& AArrowRect, bool AIsNextButton,
                                            TcxButtonState AState, bool AIsVertical) override;
  void DrawSchedulerScaledNavigatorButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawSchedulerEventProgress(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& AProgress,
                                  const TcxViewParams& AViewParams, bool ATransparent) override;
  TRect SchedulerEventProgressOffsets() override;
  TColor DefaultSchedulerBorderColor() override;
  TColor DefaultSchedulerViewContentColor() override;
  TColor DefaultSchedulerViewContentColorClassic() override;
  void DrawScaledScrollBarSplitter(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledSplitter(TcxCanvas* ACanvas, const TRect& ARect, bool AHighlighted, bool AClicked,
                          bool AHorizontal, const TdxScaleFactor* AScaleFactor) override;
  TPoint NavigatorButtonPressedGlyphOffset() override;
  TSize NavigatorScaledButtonMinSize(const TdxScaleFactor* AScaleFactor) override;
  TColor DefaultLayoutViewContentTextColor(TcxButtonState AState) override;
  TColor DefaultLayoutViewCaptionTextColor(TcxArrowDirection ACaptionPosition,
                                           TcxButtonState AState) override;
  TColor WinExplorerViewRecordTextColor(TcxButtonState AState) override;
  void LayoutViewDrawRecordCaption(TcxCanvas* ACanvas, const TRect& ABounds, const TRect& ATextRect,
                                   TcxGroupBoxCaptionPosition APosition, TcxButtonState AState,
                                   TColor AColor = clDefault, TBitmap* ABitmap = nullptr) override;
  void LayoutViewDrawItem(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                          TcxBorders ABorders) override;
  void WinExplorerViewDrawRecord(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                 TColor AColor = clDefault, TBitmap* ABitmap = nullptr) override;
  void CorrectThumbRect(TcxCanvas* ACanvas, TRect& ARect, bool AHorizontal,
                        TcxTrackBarTicksAlign ATicks) override;
  void DrawTrackBarScaledTrack(TcxCanvas* ACanvas, const TRect& ARect, const TRect& ASelection,
                               bool AShowSelection, bool AEnabled, bool AHorizontal,
                               TColor ATrackColor, const TdxScaleFactor* AScaleFactor) override;
  void DrawTrackBarScaledThumb(TcxCanvas* ACanvas, const TRect& ARect, TcxButtonState AState,
                               bool AHorizontal, TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                               const TdxScaleFactor* AScaleFactor) override;
  void DrawRangeTrackBarScaledLeftThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                        TcxButtonState AState, bool AHorizontal,
                                        TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                        const TdxScaleFactor* AScaleFactor) override;
  void DrawRangeTrackBarScaledRightThumb(TcxCanvas* ACanvas, const TRect& ARect,
                                         TcxButtonState AState, bool AHorizontal,
                                         TcxTrackBarTicksAlign ATicks, TColor AThumbColor,
                                         const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledButton(TcxCanvas* ACanvas, const TRect& ARect,
                                      TdxBreadcrumbEditButtonState AState, bool AIsFirst,
                                      bool AIsLast, const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditBorders(TcxCanvas* ACanvas, const TRect& ARect, TcxBorders ABorders,
                                 TdxBreadcrumbEditState AState) override;
  TColor BreadcrumbEditBackgroundColor(TdxBreadcrumbEditState AState) override;
  bool BreadcrumbEditIsFadingSupports() override;
  TRect BreadcrumbEditScaledProgressChunkPadding(const TdxScaleFactor* AScaleFactor) override;
  TSize BreadcrumbEditScaledProgressChunkOverlaySize(const TdxScaleFactor* AScaleFactor) override;
  TRect BreadcrumbEditBordersSize() override;
  TRect BreadcrumbEditScaledButtonContentOffsets(bool AIsFirst, bool AIsLast,
                                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledButtonAreaSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                                   TdxBreadcrumbEditState AState,
                                                   const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledDropDownButton(TcxCanvas* ACanvas, const TRect& ARect,
                                              TdxBreadcrumbEditButtonState AState, bool AIsInEditor,
                                              const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledNode(TcxCanvas* ACanvas, const TRect& R,
                                    TdxBreadcrumbEditButtonState AState, bool AHasDelimiter,
                                    const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledNodeDelimiter(TcxCanvas* ACanvas, const TRect& R,
                                             TdxBreadcrumbEditButtonState AState,
                                             const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledNodeDelimiterGlyph(TcxCanvas* ACanvas, const TRect& R,
                                                  TdxBreadcrumbEditButtonState AState,
                                                  const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledNodeMoreButtonGlyph(TcxCanvas* ACanvas, const TRect& R,
                                                   TdxBreadcrumbEditButtonState AState,
                                                   const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledProgressChunk(TcxCanvas* ACanvas, const TRect& R,
                                             const TdxScaleFactor* AScaleFactor) override;
  void DrawBreadcrumbEditScaledProgressChunkOverlay(TcxCanvas* ACanvas, const TRect& R,
                                                    const TdxScaleFactor* AScaleFactor) override;
  Integer AlertWindowCornerRadius() override;
  TSize GetScaledZoomInButtonSize(const TdxScaleFactor* AScaleFactor) override;
  TSize GetScaledZoomOutButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledZoomInButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                              const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledZoomOutButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                               const TdxScaleFactor* AScaleFactor) override;
  TColor GetHintBorderColor() override;
  void DrawHintBackground(TcxCanvas* ACanvas, const TRect& ARect,
                          TColor AColor = clDefault) override;
  TColor ScreenTipGetDescriptionTextColor() override;
  TColor ScreenTipGetTitleTextColor() override;
  TColor DropDownListBoxItemTextColor(bool ASelected) override;
  Integer DropDownListBoxScaledSeparatorSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                     bool AHasBorders) override;
  void DrawDropDownListBoxScaledGutterBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                          const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;
  void DrawDropDownListBoxScaledSeparator(TcxCanvas* ACanvas, const TRect& ARect,
                                          const TRect& AGutterRect,
                                          const TdxScaleFactor* AScaleFactor) override;
  TSize DoGetSmallCloseButtonSize() override;
  TSize GetScaledBackButtonSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledBackButton(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                            const TdxScaleFactor* AScaleFactor) override;
  bool DrawGalleryItemSelectionFirst() override;
  void DrawGalleryItemSelection(TcxCanvas* ACanvas, const TRect& R,
                                const TdxGalleryItemViewState& AViewState) override;
  void DrawScaledToggleSwitchState(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                   bool AChecked, const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledToggleSwitchThumb(TcxCanvas* ACanvas, const TRect& ABounds, TcxButtonState AState,
                                   const TdxScaleFactor* AScaleFactor) override;
  TColor ToggleSwitchToggleColor(bool AChecked) override;
  TSize ScaledClockSize(const TdxScaleFactor* AScaleFactor) override;
  void DrawScaledClock(TcxCanvas* ACanvas, const TRect& ARect, TDateTime ADateTime,
                       TColor ABackgroundColor, const TdxScaleFactor* AScaleFactor) override;
  void DrawModernCalendarDateCellSelection(TcxCanvas* ACanvas, const TRect& ARect,
                                           TcxCalendarElementStates AStates) override;
  TColor GetModernCalendarHeaderTextColor(TcxCalendarElementStates AStates) override;
  void DrawWheelPickerItemBackground(TcxCanvas* ACanvas, const TRect& ARect,
                                     TcxButtonState AState) override;
  void DrawWheelPickerItemBorder(TcxCanvas* ACanvas, const TRect& ARect,
                                 TcxButtonState AState) override;
  void DrawScaledTokenBackground(TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState,
                                 const TdxScaleFactor* AScaleFactor) override;
  void DrawSpreadSheetScaledHeader(TcxCanvas* ACanvas, const TRect& ABounds,
                                   const TRect& ATextAreaBounds, TcxNeighbors ANeighbors,
                                   TcxBorders ABorders, TcxButtonState AState,
                                   TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                                   bool AMultiLine, bool AShowEndEllipsis, const String& AText,
                                   TFont* AFont, TColor ATextColor, TColor ABkColor,
                                   const TdxScaleFactor* AScaleFactor,
                                   const TcxDrawBackgroundEvent& AOnDrawBackground = nullptr,
                                   bool AIsLast = false, bool AIsGroup = false) override;
  // Text of headers, footers and tabs in a theme part's state.
  virtual void DrawContent(TcxCanvas* ACanvas, HTHEME ATheme, Integer APartId, Integer AStateId,
                           const TRect& ABounds, const TRect& ATextAreaBounds,
                           TAlignment AAlignmentHorz, TcxAlignmentVert AAlignmentVert,
                           bool AMultiLine, bool AShowEndEllipsis, bool AShowPrefix,
                           const String& AText, TFont* AFont, TColor ATextColor, TColor ABkColor);

  // Draws a theme part into R. At the system scale factor (unless
  // AForceScale) the theme draws straight into the device context; at any
  // other factor the part is drawn at its true size into 32-bit pixels,
  // whose alpha is recovered there, and stretched smoothly into R. Nothing is
  // drawn for a null theme or a part without a size.
  static void DrawScaledThemeBackground(HTHEME ATheme, HDC DC, bool AForceScale,
                                        const TdxScaleFactor* AScaleFactor, const TRect& R,
                                        Integer AStateId, Integer APartId);
  // The theme colour of a part, when the class opens and the theme has it.
  static bool cxGetThemeColor(TdxThemedObjectType AType, Integer APart, Integer AState,
                              Integer AProperty, TColor& AColor);

  // The zoom-button glyphs, loaded when the painter is made.
  TcxBitmap32* ZoomInButtonGlyph() const { return FZoomInButtonGlyph.get(); }
  TcxBitmap32* ZoomOutButtonGlyph() const { return FZoomOutButtonGlyph.get(); }

 private:
  TOwned<TcxBitmap32> FZoomInButtonGlyph;
  TOwned<TcxBitmap32> FZoomOutButtonGlyph;
};

// ---------------------------------------------------------------------------
// Radio-button images

// The 128 images of radio buttons for one scale factor: every look kind,
// button state, checked or not, focused or not, at design time or not.
// They are painted pixel by pixel from colour roles laid out after the
// platform's own radio glyph, so that they take its size and shape.
class TcxRadioButtonImageList : public TObject {
  DECLARE_CLASS(TcxRadioButtonImageList, TObject)
 public:
  // The colour roles of a glyph's pixels.
  enum TRole {
    rOutside,
    rOuterRingUpperLeft,
    rOuterRingLowerRight,
    rInnerRingUpperLeft,
    rInnerRingLowerRight,
    rBody,
    rCheck
  };
  using TPattern = std::vector<std::vector<Integer>>;

  explicit TcxRadioButtonImageList(const TdxScaleFactor* AScaleFactor);
  ~TcxRadioButtonImageList() override;

  // The image's top-left at (X, Y); over ABrushColor an opaque square,
  // with clDefault only the circle. A default button state is drawn as
  // the normal one.
  void Draw(TcxCanvas* ACanvas, Integer X, Integer Y, TColor ABrushColor,
            TcxLookAndFeelKind ALookAndFeelKind, TcxButtonState AButtonState, bool AChecked,
            bool AFocused, bool AIsDesigning);
  TSize GetSize() const { return FRadioButtonSize; }
  Integer Count() const;
  Integer GetImageIndex(TcxLookAndFeelKind ALookAndFeelKind, TcxButtonState AButtonState,
                        bool AChecked, bool AFocused, bool AIsDesigning) const;
  // Where an image's index is kept: the images go into the list in this
  // order.
  static Integer GetImageListIndexMapIndex(TcxLookAndFeelKind ALookAndFeelKind,
                                           TcxButtonState AButtonState, bool AChecked,
                                           bool AFocused, bool AIsDesigning);
  // New geometry and images.
  void Reinitialize();
  // New colours, the same geometry.
  void Reset();
  void SetScaleFactor(const TdxScaleFactor* AValue);
  const TdxScaleFactor* ScaleFactor() const { return FScaleFactor.get(); }
  // The glyph's place in the platform's cell, the check dot's place in the
  // cell, and the role of each pixel of the glyph.
  const TRect& RadioButtonRect() const { return FRadioButtonRect; }
  const TRect& RadioButtonCheckRect() const { return FRadioButtonCheckRect; }
  const TPattern& Pattern() const { return FRadioButtonPattern; }
  TCustomImageList* Images() const;

 private:
  void Initialize();
  void CalculateRadioButtonSize();
  void PrepareButtonMask();
  void PrepareRadioButtonPattern();
  void Prepare();
  void PrepareOuterCircle();
  void PrepareInnerCircle();
  void PrepareCheck();
  void MarkInnerRing(Integer ARow, Integer ACol);
  std::vector<TColor> ColorMap(TcxLookAndFeelKind AKind, TcxButtonState AState, bool AChecked,
                               bool AFocused, bool AIsDesigning) const;

  TOwned<TBitmap> FButtonMask;
  TOwned<TImageList> FList;
  TRect FRadioButtonCheckRect{};
  std::vector<Integer> FRadioButtonImageListIndexes;
  TPattern FRadioButtonPattern;
  TRect FRadioButtonRect{};
  TSize FRadioButtonSize{0, 0};
  TOwned<TdxScaleFactor> FScaleFactor;
};

// One image list per target DPI, made on first request and kept until the
// module's shut-down.
class TcxRadioButtonImageListManager {
 public:
  static TcxRadioButtonImageList* Get(const TdxScaleFactor* AScaleFactor);
  // Recolours every list (the system colours changed).
  static void Reset();
  static void Finalize();
  // How many lists exist.
  static Integer Count();
};

// ---------------------------------------------------------------------------
// The registry of painters

struct IcxLookAndFeelPainterListener : public IUnknown {
  virtual void STDMETHODCALLTYPE PainterAdded(TcxCustomLookAndFeelPainter* APainter) = 0;
  virtual void STDMETHODCALLTYPE PainterRemoved(TcxCustomLookAndFeelPainter* APainter) = 0;
};
__CRT_UUID_DECL(IcxLookAndFeelPainterListener, 0xDCC226A1, 0x2C4B, 0x48B9, 0x9D, 0xE5, 0x68, 0x3C,
                0x0E, 0x7E, 0xA4, 0x68)

class TcxLookAndFeelPaintersManager : public TObject {
  DECLARE_CLASS(TcxLookAndFeelPaintersManager, TObject)
 public:
  TcxLookAndFeelPaintersManager();
  ~TcxLookAndFeelPaintersManager() override;

  // Takes ownership of APainter in every case: a painter whose name is taken
  // (letters a to z compared without case) is freed and false returned.
  bool Register(TcxCustomLookAndFeelPainter* APainter);
  // Frees the painter of that name; false when there is none.
  bool Unregister(const String& AName);
  // The first painter of the style in name order; APainter is left alone
  // when there is none.
  bool GetPainter(TcxLookAndFeelStyle AStyle, TcxCustomLookAndFeelPainter*& APainter);
  TcxCustomLookAndFeelPainter* GetPainter(TcxLookAndFeelStyle AStyle);
  bool GetPainter(const String& AName, TcxCustomLookAndFeelPainter*& APainter);
  TcxCustomLookAndFeelPainter* GetPainter(const String& AName);
  void AddListener(IcxLookAndFeelPainterListener* AListener);
  void RemoveListener(IcxLookAndFeelPainterListener* AListener);

  Integer Count() const { return FPainters->Count(); }
  TcxCustomLookAndFeelPainter* Items(Integer AIndex) const;

 private:
  void DoPainterAdded(TcxCustomLookAndFeelPainter* APainter);
  void DoPainterRemoved(TcxCustomLookAndFeelPainter* APainter);
  void SortPainters();

  std::vector<TComPtr<IcxLookAndFeelPainterListener>> FListeners;
  TOwned<TcxObjectList> FPainters;
};

// The outlines of a scheduler group mark (a bar with two slanting legs) and
// of a milestone (a diamond) in R.
void cxGetSchedulerGroupPolygon(const TRect& R, TcxArrowPoints& APoints);
void cxGetSchedulerMilestonePolygon(const TRect& R, TcxArrowPoints& APoints);
// The modern clock's hour, minute and second hands in ARect at a time: each
// a line through the centre at its angle (radians, 0 pointing right,
// growing clockwise), with its width at 96 DPI.
struct TcxModernClockHand {
  double Angle;
  double Width;
  TdxPointF Start;
  TdxPointF Finish;
};
std::array<TcxModernClockHand, 3> cxModernClockHands(const TRect& ARect, TDateTime ADateTime);

// The row indicators' glyphs (one image per indicator kind from the arrow
// on, then the sort-by-summary-value mark), made on first use.
TCustomImageList* cxIndicatorImages();

// The registry; nullptr before the module's start-up and after its
// shut-down.
TcxLookAndFeelPaintersManager* cxLookAndFeelPaintersManager();

// The two ASCII names are equal when the letters a to z are folded to upper
// case; no other character is folded.
bool cxSamePainterName(const String& AName1, const String& AName2);

// The system's check-box size, read from the check-box bitmap at start-up.
TSize cxCheckButtonSize();
// Measures the system's check-box bitmap (four columns, three rows of
// boxes); (0, 0) when the platform has none.
void CalculateCheckButtonSize();
// Creates and registers the built-in painters.
void RegisterStandardLookAndFeelPainters();

// ---------------------------------------------------------------------------
// Routines of the painters module

// The two 8 x 8 page patterns of classic scroll bars: 0 normal, 1 pressed.
TBitmap* StdScrollBitmaps(Integer AIndex);
// Repaints both patterns in the current system colours, making them first
// when missing.
void UpdateScrollBarBitmaps();
// Draws a grip designed for the bottom-right corner into any corner of
// ARect by turning a temporary bitmap around the drawing.
void dxRotateSizeGrip(TcxCanvas* ACanvas, const TRect& ARect, TColor ABackgroundColor,
                      TdxCorner ACorner, const TcxDrawSizeGripEvent& AOnDrawSizeGrip);
// In touch mode a positive size becomes at least the touch minimum at the
// factor (the system factor for nullptr).
void dxAdjustToTouchableSize(Integer& AElementSizeDimension,
                             const TdxScaleFactor* AScaleFactor = nullptr);
void dxAdjustToTouchableSize(TSize& AElementSize, const TdxScaleFactor* AScaleFactor = nullptr);
inline TRect cxTextRect(const TRect& R) { return cxRectInflate(R, -2, -2); }
// The pixels of an element drawn once over black (AOnBlack) and once over
// white become, in AOnBlack, premultiplied pixels with the element's own
// alpha: the one place where the alpha GDI or a theme leaves behind is
// replaced.
void dxRecoverAlphaFromBackgrounds(TRGBColors& AOnBlack, const TRGBColors& AOnWhite);

void cxLookAndFeelPainters_Initialize();
void cxLookAndFeelPainters_Finalize();
