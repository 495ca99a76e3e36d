// The stateless drawing and measuring routines of editor painting: arrows,
// one-pixel button border lines, fills through the shared brush cache, the
// classic button borders and ellipsis dots, highlight colours, the buttons'
// vertical content offset, and the two sets of text flags converted into each
// other. Sizes are pixels.
#pragma once

#include <vector>

#include "cxEditPaintUtils.h"
#include "cxGraphics.h"
#include "cxLookAndFeelPainters.h"

// The look of editor buttons and their states; btsDefault is resolved from
// the border style or the look-and-feel kind before anything is painted.
// Declared with the drawing routines so that they stand on their own; the
// editor's view data and view info use the same types.
enum TcxEditButtonStyle {
  btsDefault,
  bts3D,
  btsFlat,
  btsSimple,
  btsHotFlat,
  btsUltraFlat,
  btsOffice11
};
// Selected means hot.
enum TcxEditButtonState { ebsDisabled, ebsNormal, ebsPressed, ebsSelected };
enum TcxEditButtonKind { bkEllipsis, bkDown, bkGlyph, bkText };

extern const Integer cxEditButtonContentVerticalOffset[btsOffice11 + 1];

// An arrow that fits a size: width (smaller side - 1) div 2 made odd, height
// width div 2 + 1; left and right arrows have the two swapped.
TSize GetArrowSize(const TSize& AContentSize, TcxArrowDirection AArrowDirection);
// A filled arrow (or two in a row) of one-pixel rows or columns, centred in
// the content rectangle; one pixel right and down with AOffsetContent.
void DrawArrow(TcxCanvas* ACanvas, const TSize& AArrowSize, const TRect& AContentRect,
               TcxArrowDirection AArrowDirection, bool AIsDoubleArrow, bool AOffsetContent,
               TColor AColor);
// One-pixel lines on the chosen sides (left, right, top, bottom), each along
// the inner edge of what is left; ARect shrinks by one on each side drawn.
void DrawButtonBorder(TcxCanvas* ACanvas, TRect& ARect, TcxBorders ABorders, TColor AColor);
// A polyline including its end pixel: with the canvas pen, or (AOrtoDrawing,
// horizontal and vertical segments only) as one-pixel-wide fills.
void InternalPolyLine(TcxCanvas* ACanvas, const std::vector<TPoint>& APoints, TColor AColor,
                      bool AOrtoDrawing);
void cxEditFillRect(TcxCanvas* ACanvas, const TRect& R, TColor AColor);
void cxEditFillRect(HDC ACanvasHandle, const TRect& R, HBRUSH ABrush);
// The outer rectangle without the inner one, as four strips; the whole outer
// one when the inner one is empty.
void InternalFillRect(TcxCanvas* ACanvas, const TRect& AOuterRect, const TRect& AInternalRect,
                      HBRUSH ABrush);

// Native: the top and bottom margins of the theme's push button; otherwise
// the style's own offset.
Integer GetEditButtonsContentVerticalOffset(TcxCanvas* ACanvas, TcxEditButtonStyle AButtonsStyle,
                                            bool ANativeStyle);
// The highlighted border of ultra-flat and Office 11 editors.
TColor GetEditBorderHighlightColor(bool AIsOffice11Style);
TColor GetEditButtonHighlightColor(bool APressed, bool AIsOffice11Style);
// "0" to "9" only.
bool cxIsDigitChar(Char AChar);
// Text-output flags to the canvas's text flags and back; alignment, single
// line and word break travel, every other bit is dropped.
Cardinal cxTextOutFlagsToDrawTextFlags(Cardinal AFlags);
Cardinal DrawTextFlagsTocxTextOutFlags(Cardinal AFlags);

// What the classic button borders need to know about one button.
struct TcxEditButtonBorderData {
  TcxEditButtonState State = ebsNormal;
  TcxEditButtonStyle Style = bts3D;
  bool Transparent = false;
  // The editor's background colour behind the button.
  TColor BackgroundColor = clWindow;
  bool LeftAlignment = false;
  bool Leftmost = false;
  bool Rightmost = false;
  // The editor paints no background of its own.
  bool ViewInfoTransparent = false;
  // Ultra flat: the editor gives the button no border to share (a
  // standalone editor without border, an in-place one without outer frame).
  bool OwnFrame = false;
  // The editor's border rectangle.
  TRect BorderRect = cxNullRect;
};

// The classic borders by style (a pressed or hot simple button is drawn
// flat). ARect comes in as the button's bounds and goes out as its
// background; AContentRect is where the content goes; APenColor and
// ABrushColor are the content and fill colours.
void cxDrawEditButtonBorder(TcxCanvas* ACanvas, const TcxEditButtonBorderData& AData, TRect& ARect,
                            TRect& AContentRect, TColor& APenColor, TColor& ABrushColor);
// The content rectangle of a button drawn by the theme: the whole rectangle
// for a button its host draws itself, none for a combo-box styled one, else
// the push button's content rectangle for the state. The caller asks whether
// the button being drawn is custom drawn.
TRect cxGetNativeEditButtonContentRect(TcxCanvas* ACanvas, const TRect& ABounds,
                                       bool AIsCustomDrawn, bool AComboBoxStyle,
                                       Integer ANativeState);
// Where content of a size goes in a rectangle: centred, and with
// AOffsetContent one pixel further right and down where it still fits.
TPoint cxGetEditButtonContentPosition(const TRect& AContentRect, const TSize& ASize,
                                      bool AOffsetContent);
// Three square dots, two pixels apart (dots of two pixels in content wider
// than 11); disabled ones embossed in the highlight and shadow colours.
void cxDrawEditButtonEllipsis(TcxCanvas* ACanvas, const TRect& AContentRect, bool AEnabled,
                              bool AOffsetContent, TColor APenColor);
// The drop-down arrow: in the content rectangle widened to the button's
// full width (and, in place, heightened to its full height), drawn by the
// standard painter; disabled ones embossed.
void cxDrawEditButtonArrow(TcxCanvas* ACanvas, const TRect& AContentRect,
                           const TRect& AButtonBounds, bool AIsInplace, bool AEnabled,
                           bool AOffsetContent, TColor APenColor);

// What the default width of a button depends on.
struct TcxEditButtonWidthData {
  TcxEditButtonKind Kind = bkDown;
  // Cleared by the calculation when the theme cannot draw the button.
  bool NativeStyle = false;
  bool ComboBoxStyle = false;
  // The button's own width; 0 or less for none.
  Integer Width = 0;
  // Of the assigned glyph or image at the button's scale; 0 when none.
  Integer GlyphWidth = 0;
  String Caption;
  const TdxScaleFactor* ScaleFactor = nullptr;
};
// An explicit width (at least the border extent), else the glyph's or the
// caption's width with the border extent, at least a scroll bar's height.
Integer CalculateEditDefaultButtonWidth(TcxCanvas* ACanvas, TcxEditButtonWidthData& AData);
