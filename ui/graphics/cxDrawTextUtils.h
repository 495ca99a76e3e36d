// The library's multi-line text engine: rows broken by words with far-east
// rules and a character-break fallback, justified and distributed alignment,
// line spacing, end ellipsis, a highlighted range, a grey pattern for text too
// small to read, measuring passes, and word-wrapped text turned by 90 degrees.
#pragma once

#include "cxGraphics.h"

constexpr Cardinal CXTO_LEFT = 0x0, CXTO_CENTER_HORIZONTALLY = 0x1, CXTO_RIGHT = 0x2,
                   CXTO_JUSTIFY_HORIZONTALLY = 0x3, CXTO_DISTRIBUTE_HORIZONTALLY = 0x4,
                   CXTO_TOP = 0x0, CXTO_CENTER_VERTICALLY = 0x10, CXTO_BOTTOM = 0x20,
                   CXTO_DISTRIBUTE_VERTICALLY = 0x30, CXTO_WORDBREAK = 0x100,
                   CXTO_SINGLELINE = 0x200, CXTO_EXPANDTABS = 0x400, CXTO_END_ELLIPSIS = 0x800,
                   CXTO_PATTERNEDTEXT = 0x1000, CXTO_EXTERNALLEADING = 0x2000,
                   CXTO_EDITCONTROL = 0x4000, CXTO_NOCLIP = 0x8000, CXTO_AUTOINDENTS = 0x10000,
                   CXTO_CHARBREAK = 0x20000, CXTO_PREVENT_LEFT_EXCEED = 0x40000,
                   CXTO_PREVENT_TOP_EXCEED = 0x80000, CXTO_CALCRECT = 0x100000,
                   CXTO_CALCROWCOUNT = 0x200000, CXTO_NOPREFIX = 0x400000,
                   CXTO_HIDEPREFIX = 0x1000000, CXTO_EXCELSTYLE = 0x2000000,
                   CXTO_RTLREADING = 0x4000000;
constexpr Cardinal CXTO_DEFAULT_FORMAT = CXTO_LEFT | CXTO_TOP | CXTO_WORDBREAK;

enum TcxTextAlignX { taLeft, taCenterX, taRight, taJustifyX, taDistributeX };
enum TcxTextAlignY { taTop, taCenterY, taBottom, taDistributeY };
enum TcxVerticalTextOutDirection { vtdTopToBottom, vtdBottomToTop };

struct TcxTextParams {
  Integer RowHeight;
  Integer tmExternalLeading;
  Integer FullRowHeight;
  Integer EndEllipsisWidth;
  bool Bold;
  Char BreakChar;
  TcxTextAlignX TextAlignX;
  TcxTextAlignY TextAlignY;
  bool WordBreak, SingleLine, ExpandTabs, EndEllipsis, ExternalLeading, EditControl, ExcelStyle,
      NoClip, AutoIndents, PatternedText, PreventLeftExceed, PreventTopExceed, CharBreak,
      CalcRowCount, CalcRect;
  Integer MaxCharWidth;
  Byte CharSet;
  Integer OnePixel;
  bool HidePrefix, RTLReading;
};

struct TcxTextRow {
  const Char* Text;
  Integer TextLength;
  TSize TextExtents;
  Integer BreakCount;
  Integer TextOriginX, TextOriginY;
  Integer StartOffset;
};

struct TcxTextRows {
  Integer Count = 0;
  String Text;
  TcxTextRow StaticRows[32] = {};
  std::vector<TcxTextRow> DynamicRows;
};

TcxTextRow& cxGetTextRow(TcxTextRows& ATextRows, Integer AIndex);
void ValidateTextRows(TcxTextRows& ATextRows, Integer ACount);

// The size of a run of text; rows are measured through such a routine.
using TcxCalcTextExtentsProc = TSize (*)(HDC AHandle, const Char* AText, Integer ATextLength,
                                         bool AExpandTabs, void* AUserData);
TSize cxCalcTextExtents(HDC AHandle, const Char* AText, Integer ATextLength, bool AExpandTabs);
TSize cxCalcTextExtentsEx(HDC AHandle, const Char* AText, Integer ATextLength, bool AExpandTabs,
                          void* AUserData);

Integer cxTextOut(HDC AHandle, const String& AText, TRect& R,
                  Cardinal AFormat = CXTO_DEFAULT_FORMAT, Integer ASelStart = 0,
                  Integer ASelLength = 0, TFont* AFont = nullptr, TColor ASelBkgColor = clBlue,
                  TColor ASelTextColor = clWhite, Integer AMaxLineCount = 0,
                  Integer ALeftIndent = 0, Integer ARightIndent = 0, TColor ATextColor = clDefault,
                  Double ALineSpacingFactor = 1.0);
TcxTextParams cxCalcTextParams(HDC AHandle, Cardinal AFormat, Double ALineSpacingFactor = 1.0);
TcxTextParams cxCalcTextParams(TCanvas* ACanvas, Cardinal AFormat, Double ALineSpacingFactor = 1.0);
TRect cxPrepareRect(const TRect& R, const TcxTextParams& ATextParams, Integer ALeftIndent,
                    Integer ARightIndent);
TRect cxUnprepareRect(const TRect& R, const TcxTextParams& ATextParams, Integer ALeftIndent,
                      Integer ARightIndent);
// Breaks the text into rows for R; false when something was cut off.
bool cxMakeTextRows(HDC AHandle, const Char* AText, Integer ATextLength, const TRect& R,
                    const TcxTextParams& ATextParams, TcxTextRows& ATextRows, Integer& ACount,
                    Integer AMaxLineCount = 0, void* AUserData = nullptr,
                    TcxCalcTextExtentsProc ACalcTextExtentsProc = &cxCalcTextExtentsEx);
void cxPlaceTextRows(HDC AHandle, const TRect& R, TcxTextParams& ATextParams,
                     TcxTextRows& ATextRows, Integer ARowCount);
void cxTextRowsOutHighlight(HDC AHandle, const TRect& ABounds, const TcxTextParams& ATextParams,
                            TcxTextRows& ATextRows, Integer ARowCount, Integer ASelStart,
                            Integer ASelLength, TColor ASelBkgColor, TColor ASelTextColor,
                            bool AForceEndEllipsis);
void cxPrepareEndEllipsis(HDC AHandle, TcxTextRow& ATextRow, const TcxTextParams& ATextParams,
                          TcxCalcTextExtentsProc ACalcTextExtentsProc, const TRect& ABounds,
                          Integer& AWidth, void* AUserData = nullptr);
Integer cxGetLongestTextRowWidth(TcxTextRows& ATextRows, Integer ARowCount);
void cxRotatedTextOut(HDC AHandle, const TRect& ABounds, const String& AText, TFont* AFont,
                      TcxTextAlignX AAlignHorz = taCenterX, TcxTextAlignY AAlignVert = taCenterY,
                      bool AWordBreak = true, bool ALeftExceed = true, bool ARightExceed = true,
                      TcxVerticalTextOutDirection ADirection = vtdBottomToTop,
                      Integer AFontSize = 0);

// The platform's GetTabbedTextExtentW split into width and height; widths
// past 65535, which the platform cuts to 16 bits, are given whole.
TSize cxGetTabbedTextExtentW(HDC hDC, const Char* lpString, Integer nCount, Integer nTabPositions,
                             const INT* lpnTabStopPositions);
Integer cxTabbedTextOutW(HDC hDC, Integer X, Integer Y, const Char* lpString, Integer nCount,
                         Integer nTabPositions, const INT* lpnTabStopPositions, Integer nTabOrigin);
bool cxGetTextExtentExPoint(HDC AHandle, const Char* AText, Integer ATextLength, Integer AWidth,
                            Integer& ACharNumber, INT* ADX = nullptr);
// The end of the word that starts at AStart, for rows broken at words.
const Char* cxGetNextWordBreak(UINT ACodePage, const Char* AStart, const Char* AEnd);
bool IsFarEastLineBreak(Char C);
bool IsFarEastFullWidthCharacter(UINT ACodePage, Char AChar);

extern const Char* const cxEndEllipsisChars;

void cxDrawTextUtils_Initialize();
void cxDrawTextUtils_Finalize();
