#include "cxDrawTextUtils.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "cxGraphicsInternal.h"

using namespace cxGraphicsInternal;

const Char* const cxEndEllipsisChars = L"...";

namespace {
HBRUSH FillPatterns[2] = {};

HBRUSH PatternBrush(const WORD (&ARows)[8]) {
  TBitmapHandle Pattern(CreateBitmap(8, 8, 1, 1, ARows));
  return CreatePatternBrush(Pattern.Get());
}

bool IsBreak(Char C) { return C == L'\r' || C == L'\n'; }
bool IsSpaceOrTab(Char C) { return C == L' ' || C == L'\t'; }

bool FarEastLocale() {
  switch (PRIMARYLANGID(GetSystemDefaultLangID())) {
    case LANG_CHINESE:
    case LANG_JAPANESE:
    case LANG_KOREAN:
      return true;
    default:
      return false;
  }
}
}  // namespace

void cxDrawTextUtils_Initialize() {
  static const WORD Regular[8] = {0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA, 0x5555, 0xAAAA};
  static const WORD Bold[8] = {};
  FillPatterns[0] = PatternBrush(Regular);
  FillPatterns[1] = PatternBrush(Bold);
}

void cxDrawTextUtils_Finalize() {
  for (HBRUSH& B : FillPatterns) {
    if (B) DeleteObject(B);
    B = nullptr;
  }
}

// ---------------------------------------------------------------------------
// Rows
TcxTextRow& cxGetTextRow(TcxTextRows& ATextRows, Integer AIndex) {
  return AIndex < 32 ? ATextRows.StaticRows[AIndex]
                     : ATextRows.DynamicRows[static_cast<size_t>(AIndex - 32)];
}

void ValidateTextRows(TcxTextRows& ATextRows, Integer ACount) {
  ATextRows.Count = ACount;
  if (ACount > 32 && static_cast<Integer>(ATextRows.DynamicRows.size()) < ACount - 32)
    ATextRows.DynamicRows.resize(static_cast<size_t>(ACount - 28));
  cxGetTextRow(ATextRows, ACount - 1) = TcxTextRow{};
}

Integer cxGetLongestTextRowWidth(TcxTextRows& ATextRows, Integer ARowCount) {
  Integer W = 0;
  for (Integer I = 0; I < std::min(ARowCount, ATextRows.Count); ++I)
    W = std::max<Integer>(W, cxGetTextRow(ATextRows, I).TextExtents.cx);
  return W;
}

// ---------------------------------------------------------------------------
// Measuring
TSize cxGetTabbedTextExtentW(HDC hDC, const Char* lpString, Integer nCount, Integer nTabPositions,
                             const INT* lpnTabStopPositions) {
  DWORD E = GetTabbedTextExtentW(hDC, lpString, nCount, nTabPositions, lpnTabStopPositions);
  TSize R{LOWORD(E), HIWORD(E)};
  SIZE W{0, 0};
  GetTextExtentPoint32W(hDC, L"W", 1, &W);
  if (static_cast<Int64>(nCount) * W.cx <= 65535) return R;
  RECT Rect{0, 0, 0, 0};
  DrawTextW(hDC, lpString, nCount, &Rect,
            DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
  SIZE Plain{0, 0};
  GetTextExtentPoint32W(hDC, lpString, nCount, &Plain);
  // The platform keeps only the low 16 bits of the width: the lost part is
  // the multiple of 65536 that brings it nearest to an estimate made without
  // that limit.
  Int64 Estimate = std::max<Int64>(Rect.right - Rect.left, Plain.cx);
  if (Estimate > 65535) R.cx += static_cast<LONG>((Estimate - R.cx + 32768) / 65536 * 65536);
  return R;
}

Integer cxTabbedTextOutW(HDC hDC, Integer X, Integer Y, const Char* lpString, Integer nCount,
                         Integer nTabPositions, const INT* lpnTabStopPositions,
                         Integer nTabOrigin) {
  return TabbedTextOutW(hDC, X, Y, lpString, std::min<Integer>(nCount, 4096), nTabPositions,
                        lpnTabStopPositions, nTabOrigin);
}

bool cxGetTextExtentExPoint(HDC AHandle, const Char* AText, Integer ATextLength, Integer AWidth,
                            Integer& ACharNumber, INT* ADX) {
  SIZE S;
  INT Fit = 0;
  bool R = GetTextExtentExPointW(AHandle, AText, ATextLength, AWidth, &Fit, ADX, &S) != FALSE;
  ACharNumber = Fit;
  return R;
}

TSize cxCalcTextExtents(HDC AHandle, const Char* AText, Integer ATextLength, bool AExpandTabs) {
  TSize S{0, 0};
  if (!AExpandTabs) {
    GetTextExtentPoint32W(AHandle, AText, ATextLength, &S);
    return S;
  }
  if (ATextLength > 4095) {
    auto Measure = [&](Integer ACount) {
      RECT R{0, 0, 0, 0};
      DrawTextW(AHandle, AText, ACount, &R,
                DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS | DT_NOPREFIX);
      return TSize{R.right - R.left, R.bottom - R.top};
    };
    S = Measure(ATextLength);
    if (S.cx == 0 && ATextLength >= 4097) S = Measure(4096);
    return S;
  }
  return cxGetTabbedTextExtentW(AHandle, AText, ATextLength, 0, nullptr);
}

TSize cxCalcTextExtentsEx(HDC AHandle, const Char* AText, Integer ATextLength, bool AExpandTabs,
                          void*) {
  return cxCalcTextExtents(AHandle, AText, ATextLength, AExpandTabs);
}

// ---------------------------------------------------------------------------
// Far-east rules
bool IsFarEastFullWidthCharacter(UINT ACodePage, Char AChar) {
  if (AChar < 0x80) return false;
  if ((AChar >= 0x4E00 && AChar <= 0x9FFF) || (AChar >= 0x3040 && AChar <= 0x309F) ||
      (AChar >= 0x30A0 && AChar <= 0x30FF) || (AChar >= 0xAC00 && AChar <= 0xD7A3))
    return true;
  char Buf[8];
  int N = WideCharToMultiByte(ACodePage, 0, &AChar, 1, Buf, sizeof(Buf), nullptr, nullptr);
  return N > 1;
}

bool IsFarEastLineBreak(Char C) {
  static const Char Singles[] = {
      L'!',   L'%',   L')',   L',',   L'.',   L':',   L';',   L'>',   L'?',   L']',   L'}',
      0x00A8, 0x00B0, 0x00B7, 0x02C7, 0x02C9, 0x2018, 0x2019, 0x201D, 0x2022, 0x2032, 0x2033,
      0x2103, 0x2236, 0x2574, 0x3005, 0x3009, 0x300B, 0x300D, 0x300F, 0x3011, 0x3015, 0x3017,
      0x301E, 0x309B, 0x309C, 0xFE30, 0xFE31, 0xFE33, 0xFE34, 0xFE36, 0xFE38, 0xFE3A, 0xFE3C,
      0xFE3E, 0xFE40, 0xFE42, 0xFE44, 0xFE5A, 0xFE5C, 0xFE5E, 0xFF01, 0xFF02, 0xFF05, 0xFF07,
      0xFF09, 0xFF1A, 0xFF1B, 0xFF1E, 0xFF1F, 0xFF3D, 0xFF61, 0xFF63, 0xFF64, 0xFF9E, 0xFF9F};
  static const std::pair<Char, Char> Ranges[] = {
      {0x2013, 0x2016}, {0x2025, 0x2027}, {0x3001, 0x3003}, {0xFE4F, 0xFE52},
      {0xFE54, 0xFE57}, {0xFF0C, 0xFF0E}, {0xFF5C, 0xFF5E}, {0xFFE0, 0xFFFF}};
  if (std::find(std::begin(Singles), std::end(Singles), C) != std::end(Singles)) return true;
  for (const auto& R : Ranges)
    if (C >= R.first && C <= R.second) return true;
  return false;
}

const Char* cxGetNextWordBreak(UINT ACodePage, const Char* AStart, const Char* AEnd) {
  const Char* P = AStart;
  while (P < AEnd) {
    Char C = *P;
    if (IsSpaceOrTab(C)) return P == AStart ? P + 1 : P;
    if (IsBreak(C)) return P;
    if (IsFarEastFullWidthCharacter(ACodePage, C)) {
      if (P != AStart) return P;
      ++P;
      if (P < AEnd && IsFarEastLineBreak(*P)) ++P;
      return P;
    }
    ++P;
  }
  return P;
}

// ---------------------------------------------------------------------------
// Parameters
TcxTextParams cxCalcTextParams(HDC AHandle, Cardinal AFormat, Double ALineSpacingFactor) {
  TcxTextParams P{};
  TEXTMETRICW TM{};
  if (!GetTextMetricsW(AHandle, &TM)) {
    TEXTMETRICA TMA{};
    GetTextMetricsA(AHandle, &TMA);
    TM.tmHeight = TMA.tmHeight;
    TM.tmExternalLeading = TMA.tmExternalLeading;
    TM.tmWeight = TMA.tmWeight;
    TM.tmBreakChar = static_cast<Byte>(TMA.tmBreakChar);
    TM.tmMaxCharWidth = TMA.tmMaxCharWidth;
    TM.tmCharSet = TMA.tmCharSet;
  }
  P.Bold = TM.tmWeight >= FW_BOLD;
  P.BreakChar = TM.tmBreakChar;
  P.MaxCharWidth = TM.tmMaxCharWidth;
  P.RowHeight = TM.tmHeight;
  P.CharSet = TM.tmCharSet;
  P.TextAlignX = static_cast<TcxTextAlignX>(std::min<Cardinal>(AFormat & 7, taDistributeX));
  P.TextAlignY = static_cast<TcxTextAlignY>((AFormat >> 4) & 3);
  P.WordBreak = AFormat & CXTO_WORDBREAK;
  P.SingleLine = AFormat & CXTO_SINGLELINE;
  P.ExpandTabs = AFormat & CXTO_EXPANDTABS;
  P.EndEllipsis = AFormat & CXTO_END_ELLIPSIS;
  P.PatternedText = AFormat & CXTO_PATTERNEDTEXT;
  P.ExternalLeading = AFormat & CXTO_EXTERNALLEADING;
  P.EditControl = AFormat & CXTO_EDITCONTROL;
  P.NoClip = AFormat & CXTO_NOCLIP;
  P.AutoIndents = AFormat & CXTO_AUTOINDENTS;
  P.CharBreak = (AFormat & CXTO_CHARBREAK) || FarEastLocale();
  P.PreventLeftExceed = AFormat & CXTO_PREVENT_LEFT_EXCEED;
  P.PreventTopExceed = AFormat & CXTO_PREVENT_TOP_EXCEED;
  P.CalcRect = AFormat & CXTO_CALCRECT;
  P.CalcRowCount = AFormat & CXTO_CALCROWCOUNT;
  P.HidePrefix = AFormat & CXTO_HIDEPREFIX;
  P.ExcelStyle = AFormat & CXTO_EXCELSTYLE;
  P.RTLReading = AFormat & CXTO_RTLREADING;
  if (P.ExternalLeading) P.tmExternalLeading = TM.tmExternalLeading;
  RECT One{0, 0, 1, 1};
  DPtoLP(AHandle, reinterpret_cast<POINT*>(&One), 2);
  P.OnePixel = One.right - One.left;
  P.FullRowHeight = static_cast<Integer>(
      std::nearbyint((P.RowHeight + P.tmExternalLeading) * ALineSpacingFactor));
  if (P.PatternedText) {
    RECT Six{0, 0, 6, 6};
    DPtoLP(AHandle, reinterpret_cast<POINT*>(&Six), 2);
    P.PatternedText = P.RowHeight < Six.bottom - Six.top;
  }
  if (P.EndEllipsis)
    P.EndEllipsisWidth = cxCalcTextExtents(AHandle, cxEndEllipsisChars, 3, false).cx;
  return P;
}

TcxTextParams cxCalcTextParams(TCanvas* ACanvas, Cardinal AFormat, Double ALineSpacingFactor) {
  ACanvas->SelectFont();
  return cxCalcTextParams(ACanvas->Handle(), AFormat, ALineSpacingFactor);
}

TRect cxPrepareRect(const TRect& R, const TcxTextParams& ATextParams, Integer ALeftIndent,
                    Integer ARightIndent) {
  TRect Result = R;
  if (ATextParams.AutoIndents)
    Result = cxRectInflate(R, -2 * ATextParams.OnePixel, -2 * ATextParams.OnePixel);
  Result.left += ALeftIndent * ATextParams.OnePixel;
  Result.right -= ARightIndent * ATextParams.OnePixel;
  return Result;
}

TRect cxUnprepareRect(const TRect& R, const TcxTextParams& ATextParams, Integer ALeftIndent,
                      Integer ARightIndent) {
  TRect Result = R;
  Result.left -= ALeftIndent * ATextParams.OnePixel;
  Result.right += ARightIndent * ATextParams.OnePixel;
  if (ATextParams.AutoIndents)
    Result = cxRectInflate(Result, 2 * ATextParams.OnePixel, 2 * ATextParams.OnePixel);
  return Result;
}

// ---------------------------------------------------------------------------
// Breaking rows
namespace {
struct TRowFormat {
  TcxTextAlignX AlignX;
  bool WordBreakMode, CharBreakMode, CalcRect, EditControl, EndEllipsis, ExpandTabs, ExcelStyle,
      SingleLine, LastRowWithEllipsis;
};

struct TBreaker {
  HDC DC;
  const Char* Text;
  Integer Length;
  const TRowFormat& Format;
  TcxCalcTextExtentsProc Extents;
  void* UserData;

  Integer Width(Integer AStart, Integer ACount) const {
    return ACount <= 0 ? 0 : Extents(DC, Text + AStart, ACount, Format.ExpandTabs, UserData).cx;
  }
  // Consumes CR [LF] or LF [CR] at P; false when P holds no break.
  bool ConsumeBreak(Integer& P) const {
    if (P >= Length || !IsBreak(Text[P])) return false;
    Char C = Text[P++];
    if (P < Length && IsBreak(Text[P]) && Text[P] != C) ++P;
    return true;
  }
  Integer UnitEnd(Integer P) const {
    if (Format.WordBreakMode) {
      static const UINT CodePage = GetACP();
      return static_cast<Integer>(cxGetNextWordBreak(CodePage, Text + P, Text + Length) - Text);
    }
    while (P < Length && !IsBreak(Text[P])) ++P;
    return P;
  }

  // One row from AStart: its characters end at ARowEnd, the next row
  // starts at ANext.
  void Break(Integer AStart, Integer W, Integer& ARowEnd, Integer& ANext, Integer& ABreakCount) {
    Integer P = AStart;
    bool First = true, Wrapped = false;
    ARowEnd = ANext = Length;
    while (P < Length) {
      Integer End = UnitEnd(P);
      if (End > P && Format.WordBreakMode && Width(AStart, End - AStart) > W) {
        if (!First && !Format.LastRowWithEllipsis) {
          ARowEnd = ANext = P;
          Wrapped = true;
        } else if (Format.CharBreakMode) {
          Integer Room = W - Width(AStart, P - AStart);
          Integer Lo = 1, Hi = End - P - 1, N = 1;
          while (Lo <= Hi) {
            Integer Mid = (Lo + Hi) / 2;
            if (Width(P, Mid) <= Room) {
              N = Mid;
              Lo = Mid + 1;
            } else {
              Hi = Mid - 1;
            }
          }
          ARowEnd = ANext = P + N;
        } else {
          ARowEnd = End;
          Integer Q = End;
          bool Consumed = false;
          if (Format.EndEllipsis && Q < Length) {
            if (Text[Q] == L'\r') {
              ++Q;
              if (Q < Length && Text[Q] == L'\n') ++Q;
              Consumed = true;
            }
            if (Q < Length && Text[Q] == L'\n') {
              ++Q;
              if (Q < Length && Text[Q] == L'\r') ++Q;
              Consumed = true;
            }
          }
          ANext = Q;
          Wrapped = !Consumed;
        }
        break;
      }
      P = End;
      First = false;
      Integer Q = P;
      if (ConsumeBreak(Q)) {
        ARowEnd = P;
        ANext = Q;
        break;
      }
      if (End == P && P >= Length) break;
    }
    if (P >= Length && ARowEnd == Length) ANext = Length;
    FinishRow(AStart, Wrapped, ARowEnd, ANext, ABreakCount);
  }

  void FinishRow(Integer AStart, bool AWrapped, Integer& ARowEnd, Integer& ANext,
                 Integer& ABreakCount) {
    if (AWrapped && ANext < Length) {
      bool DropTrailing = Format.AlignX == taCenterX || Format.AlignX == taRight;
      bool SkipLeading = Format.AlignX == taLeft || Format.AlignX == taCenterX;
      if (DropTrailing && ARowEnd > AStart && IsSpaceOrTab(Text[ARowEnd - 1])) --ARowEnd;
      if (SkipLeading && ANext < Length && IsSpaceOrTab(Text[ANext])) ++ANext;
      if (Format.ExcelStyle)
        while (ANext < Length && Text[ANext] == L' ') ++ANext;
    }
    ABreakCount = 0;
    if (Format.AlignX == taDistributeX || (Format.AlignX == taJustifyX && AWrapped)) {
      while (ARowEnd > AStart && IsSpaceOrTab(Text[ARowEnd - 1])) --ARowEnd;
      for (Integer I = AStart; I < ARowEnd; ++I) ABreakCount += IsSpaceOrTab(Text[I]) ? 1 : 0;
    }
  }
};

TRowFormat RowFormat(const TcxTextParams& P) {
  TRowFormat F{};
  F.AlignX = P.TextAlignX;
  F.WordBreakMode =
      !P.SingleLine && (P.WordBreak || P.TextAlignX == taJustifyX || P.TextAlignX == taDistributeX);
  F.CharBreakMode = F.WordBreakMode && (P.CharBreak || P.EditControl);
  F.CalcRect = P.CalcRect;
  F.EditControl = P.EditControl;
  F.EndEllipsis = P.EndEllipsis;
  F.ExpandTabs = P.ExpandTabs;
  F.ExcelStyle = P.ExcelStyle;
  F.SingleLine = P.SingleLine;
  return F;
}
}  // namespace

bool cxMakeTextRows(HDC AHandle, const Char* AText, Integer ATextLength, const TRect& R,
                    const TcxTextParams& ATextParams, TcxTextRows& ATextRows, Integer& ACount,
                    Integer AMaxLineCount, void* AUserData,
                    TcxCalcTextExtentsProc ACalcTextExtentsProc) {
  ATextRows.Count = 0;
  ATextRows.DynamicRows.clear();
  ACount = 0;
  if (ATextLength <= 0) return true;
  const TcxTextParams& P = ATextParams;
  auto Measure = [&](const Char* AStart, Integer ACountChars) {
    return ACalcTextExtentsProc(AHandle, AStart, ACountChars, P.ExpandTabs, AUserData);
  };
  if (P.CalcRect && P.SingleLine) {
    ValidateTextRows(ATextRows, 1);
    TcxTextRow& Row = cxGetTextRow(ATextRows, 0);
    Row.Text = AText;
    Row.TextLength = ATextLength;
    Row.TextExtents = Measure(AText, ATextLength);
    ACount = 1;
    return true;
  }
  Integer W = cxRectWidth(R), H = cxRectHeight(R);
  bool CanEllipsis = !P.NoClip && P.EndEllipsis && !P.CalcRect && !P.CalcRowCount &&
                     P.TextAlignX != taJustifyX && P.TextAlignX != taDistributeX;
  TRowFormat Format = RowFormat(P);
  TBreaker Breaker{AHandle, AText, ATextLength, Format, ACalcTextExtentsProc, AUserData};
  Integer Height = 0, Pos = 0;
  while (Pos < ATextLength || ACount == 0) {
    ValidateTextRows(ATextRows, ACount + 1);
    TcxTextRow& Row = cxGetTextRow(ATextRows, ACount);
    ++ACount;
    Height += P.FullRowHeight;
    bool Last;
    if (P.SingleLine)
      Last = true;
    else if (P.TextAlignY == taTop && !P.CalcRect && !P.CalcRowCount)
      Last = (P.EditControl && !P.NoClip) ? Height + P.FullRowHeight > H : Height > H;
    else
      Last = AMaxLineCount > 0 && ACount == AMaxLineCount;
    Format.LastRowWithEllipsis = Last && CanEllipsis;
    Integer RowEnd, Next, BreakCount;
    if (P.SingleLine) {
      RowEnd = Next = ATextLength;
      BreakCount = 0;
      Breaker.FinishRow(Pos, false, RowEnd, Next, BreakCount);
    } else {
      Breaker.Break(Pos, W, RowEnd, Next, BreakCount);
    }
    Row.Text = AText + Pos;
    Row.TextLength = RowEnd - Pos;
    Row.StartOffset = Pos;
    Row.BreakCount = BreakCount;
    Row.TextExtents = Measure(Row.Text, Row.TextLength);
    Pos = Next;
    if (Last || Pos >= ATextLength || (AMaxLineCount > 0 && ACount == AMaxLineCount)) break;
  }
  if (P.CalcRect || P.CalcRowCount || ACount == 0) return true;
  bool Cut = P.SingleLine ? cxGetTextRow(ATextRows, 0).TextExtents.cx > W : Pos < ATextLength;
  return !Cut;
}

void cxPlaceTextRows(HDC, const TRect& R, TcxTextParams& ATextParams, TcxTextRows& ATextRows,
                     Integer ARowCount) {
  TcxTextParams& P = ATextParams;
  Integer Extra = 0;
  if (ARowCount > 1 && P.TextAlignY == taDistributeY) {
    Integer H = cxRectHeight(R) - P.RowHeight;
    if (P.RowHeight < static_cast<Double>(H) / (ARowCount - 1)) {
      P.FullRowHeight = H / (ARowCount - 1);
      Extra = H % (ARowCount - 1);
    }
  }
  Integer Top;
  switch (P.TextAlignY) {
    case taCenterY:
      Top = R.top + (cxRectHeight(R) - ARowCount * P.FullRowHeight) / 2;
      break;
    case taBottom:
      Top = R.bottom - ARowCount * P.FullRowHeight + P.tmExternalLeading;
      break;
    default:
      Top = R.top;
  }
  if (P.PreventTopExceed) Top = std::max<Integer>(Top, R.top);
  for (Integer I = 0; I < ARowCount; ++I) {
    TcxTextRow& Row = cxGetTextRow(ATextRows, I);
    Integer CX = Row.TextExtents.cx, X;
    switch (P.TextAlignX) {
      case taCenterX:
        X = (P.SingleLine || !P.WordBreak) ? R.right - (cxRectWidth(R) - CX) / 2 - CX
                                           : R.left + (cxRectWidth(R) - CX) / 2;
        break;
      case taRight:
        X = R.right - CX;
        break;
      default:
        X = R.left;
    }
    if (P.PreventLeftExceed) X = std::max<Integer>(X, R.left);
    Row.TextOriginX = X;
    Row.TextOriginY = Top;
    Top += P.FullRowHeight;
    if (Extra > 0) {
      ++Top;
      --Extra;
    }
  }
}

// ---------------------------------------------------------------------------
// Drawing rows
void cxPrepareEndEllipsis(HDC AHandle, TcxTextRow& ATextRow, const TcxTextParams& ATextParams,
                          TcxCalcTextExtentsProc ACalcTextExtentsProc, const TRect& ABounds,
                          Integer& AWidth, void* AUserData) {
  const TcxTextParams& P = ATextParams;
  AWidth = std::max<Integer>(0, AWidth - P.EndEllipsisWidth);
  Integer Fit = 0;
  if (!cxGetTextExtentExPoint(AHandle, ATextRow.Text, ATextRow.TextLength, AWidth, Fit)) Fit = 0;
  bool Anchored = P.RTLReading ? P.TextAlignX == taRight : P.TextAlignX == taLeft;
  if (Fit == 0 && Anchored && ATextRow.TextLength > 0) Fit = 1;
  ATextRow.TextLength = std::min(ATextRow.TextLength, Fit);
  ATextRow.TextExtents =
      ACalcTextExtentsProc(AHandle, ATextRow.Text, ATextRow.TextLength, P.ExpandTabs, AUserData);
  Integer CX = ATextRow.TextExtents.cx, BW = cxRectWidth(ABounds), E = P.EndEllipsisWidth;
  if (!P.RTLReading) {
    if (P.TextAlignX == taCenterX)
      ATextRow.TextOriginX = ABounds.left + (BW - CX - E) / 2;
    else if (P.TextAlignX == taRight)
      ATextRow.TextOriginX = ABounds.right - CX - E;
  } else if (P.TextAlignX == taLeft) {
    ATextRow.TextOriginX += E;
  } else if (P.TextAlignX == taCenterX) {
    ATextRow.TextOriginX = ABounds.left + E + (BW - CX - E) / 2;
  } else {
    ATextRow.TextOriginX = ABounds.right - CX;
  }
}

namespace {
void DrawEllipsis(HDC DC, const TcxTextRow& ARow, const TcxTextParams& P, const TRect& ABounds) {
  TRect R;
  if (!P.RTLReading) {
    R.left = ARow.TextOriginX + ARow.TextExtents.cx;
    R.right = std::min<Integer>(R.left + P.EndEllipsisWidth, ABounds.right);
  } else {
    R.right = P.TextAlignX == taLeft ? ABounds.left + P.EndEllipsisWidth : ARow.TextOriginX;
    R.left = std::max<Integer>(R.right - P.EndEllipsisWidth, ABounds.left);
  }
  R.top = ARow.TextOriginY;
  R.bottom = R.top + P.RowHeight;
  if (cxRectIsEmpty(R)) return;
  UINT Options = 0;
  if (!P.NoClip && cxRectWidth(R) < P.EndEllipsisWidth) Options |= ETO_CLIPPED;
  if (P.RTLReading) Options |= ETO_RTLREADING;
  ExtTextOutW(DC, R.left, R.top, Options, &R, cxEndEllipsisChars, 3, nullptr);
}

void DrawRowText(HDC DC, const TcxTextRow& ARow, const TcxTextParams& P) {
  if (!P.ExpandTabs) {
    TextOutW(DC, ARow.TextOriginX, ARow.TextOriginY, ARow.Text, ARow.TextLength);
    return;
  }
  Integer Origin = P.RTLReading ? ARow.TextOriginX + ARow.TextExtents.cx : ARow.TextOriginX;
  cxTabbedTextOutW(DC, ARow.TextOriginX, ARow.TextOriginY, ARow.Text, ARow.TextLength, 0, nullptr,
                   Origin);
}

// The width of the first ACount characters of the row.
Integer PartialWidth(HDC DC, const TcxTextRow& ARow, Integer ACount, const TcxTextParams& P) {
  if (ACount <= 0) return 0;
  return cxCalcTextExtents(DC, ARow.Text, ACount, P.ExpandTabs).cx;
}

// The area of characters [AFrom, ATo) of the row, in logical coordinates;
// nullptr when it is empty. Left to right it runs between the partial
// extents; in right-to-left reading the characters may be reordered, so the
// platform's placement of each one is asked instead.
HRGN SelectionArea(HDC DC, const TcxTextRow& ARow, const TcxTextParams& P, Integer ATop,
                   Integer AFrom, Integer ATo) {
  if (P.RTLReading) {
    TRect Cells =
        cxRect(ARow.TextOriginX, ATop, ARow.TextOriginX + ARow.TextExtents.cx, ATop + P.RowHeight);
    return TdxRTLReadingCharacterPlacementHelper::GetSelectionRangeRegion(
        DC, ARow.Text, ARow.TextLength, Cells, AFrom, ATo - AFrom, nullptr, true);
  }
  TRect R = cxRect(ARow.TextOriginX + PartialWidth(DC, ARow, AFrom, P), ATop,
                   ARow.TextOriginX + PartialWidth(DC, ARow, ATo, P), ATop + P.RowHeight);
  return cxRectIsEmpty(R) ? nullptr : CreateRectRgnIndirect(&R);
}

// A copy of a logical region in device coordinates, for clipping.
HRGN DeviceRegion(HDC DC, HRGN ALogical) {
  HRGN R = CreateRectRgn(0, 0, 0, 0);
  CombineRgn(R, ALogical, nullptr, RGN_COPY);
  POINT Origin{0, 0};
  LPtoDP(DC, &Origin, 1);
  OffsetRgn(R, Origin.x, Origin.y);
  return R;
}
}  // namespace

void cxTextRowsOutHighlight(HDC AHandle, const TRect& ABounds, const TcxTextParams& ATextParams,
                            TcxTextRows& ATextRows, Integer ARowCount, Integer ASelStart,
                            Integer ASelLength, TColor ASelBkgColor, TColor ASelTextColor,
                            bool AForceEndEllipsis) {
  const TcxTextParams& P = ATextParams;
  int PrevBkMode = SetBkMode(AHandle, TRANSPARENT);
  UINT PrevAlign = GetTextAlign(AHandle);
  if (P.RTLReading) SetTextAlign(AHandle, PrevAlign | TA_RTLREADING);
  bool Metafile = GetObjectType(AHandle) == OBJ_ENHMETADC || GetObjectType(AHandle) == OBJ_METADC;
  TGdiHandle<HBRUSH> SelBrush(ASelLength >= 1 && cxColorIsValid(ASelBkgColor) && !Metafile
                                  ? CreateSolidBrush(dxColorToRGB(ASelBkgColor))
                                  : nullptr);
  COLORREF TextColor = GetTextColor(AHandle);
  Integer BoundsWidth = cxRectWidth(ABounds);
  for (Integer I = 0; I < ARowCount; ++I) {
    TcxTextRow& Row = cxGetTextRow(ATextRows, I);
    bool LastRow = I == ARowCount - 1;
    if (Row.TextLength <= 0) {
      if (AForceEndEllipsis && P.EndEllipsis && LastRow) DrawEllipsis(AHandle, Row, P, ABounds);
      continue;
    }
    TRect RowRect =
        cxRect(ABounds.left, Row.TextOriginY, ABounds.right, Row.TextOriginY + P.FullRowHeight);
    if (P.PatternedText) {
      TRect PR = cxRect(Row.TextOriginX, RowRect.top + P.OnePixel,
                        std::min<Integer>(Row.TextOriginX + Row.TextExtents.cx, ABounds.right),
                        RowRect.bottom - P.OnePixel);
      if (cxRectHeight(PR) < P.OnePixel) PR.bottom = PR.top + P.OnePixel;
      COLORREF PrevBk = SetBkColor(AHandle, GetSysColor(COLOR_WINDOW));
      FillRect(AHandle, &PR, FillPatterns[P.Bold ? 1 : 0]);
      SetBkColor(AHandle, PrevBk);
      continue;
    }
    bool NeedEllipsis =
        P.EndEllipsis && LastRow && (AForceEndEllipsis || Row.TextExtents.cx > BoundsWidth);
    bool Justify = (P.TextAlignX == taJustifyX || P.TextAlignX == taDistributeX) && !NeedEllipsis &&
                   Row.BreakCount > 0 && BoundsWidth - Row.TextExtents.cx > 0;
    if (Justify) SetTextJustification(AHandle, BoundsWidth - Row.TextExtents.cx, Row.BreakCount);
    bool Clip = !P.NoClip && (Row.TextExtents.cx > BoundsWidth || Row.TextOriginY < ABounds.top ||
                              Row.TextOriginY + P.RowHeight > ABounds.bottom);
    std::optional<TSaveDCGuard> SavedDC;
    if (Clip) {
      SavedDC.emplace(AHandle);
      IntersectClipRect(AHandle, ABounds.left, std::max<Integer>(RowRect.top, ABounds.top),
                        ABounds.right, std::min<Integer>(RowRect.bottom, ABounds.bottom));
    }
    Integer Width = BoundsWidth;
    if (NeedEllipsis) cxPrepareEndEllipsis(AHandle, Row, P, &cxCalcTextExtentsEx, ABounds, Width);
    bool EllipsisPending = NeedEllipsis;
    Integer RowStart = Row.StartOffset, RowEnd = Row.StartOffset + Row.TextLength;
    Integer SelFrom = std::max(RowStart, ASelStart),
            SelTo = std::min(RowEnd, ASelStart + ASelLength);
    if (SelBrush.Get() && SelFrom < SelTo) {
      TGdiHandle<HRGN> Area(
          SelectionArea(AHandle, Row, P, RowRect.top, SelFrom - RowStart, SelTo - RowStart));
      if (!Area.Get()) {
        EllipsisPending = false;
      } else {
        FillRgn(AHandle, Area.Get(), SelBrush.Get());
        TGdiHandle<HRGN> Clip(DeviceRegion(AHandle, Area.Get()));
        {
          TSaveDCGuard Inner(AHandle);
          ExtSelectClipRgn(AHandle, Clip.Get(), RGN_AND);
          if (cxColorIsValid(ASelTextColor)) SetTextColor(AHandle, dxColorToRGB(ASelTextColor));
          DrawRowText(AHandle, Row, P);
          if (EllipsisPending && SelTo == RowEnd) {
            DrawEllipsis(AHandle, Row, P, ABounds);
            EllipsisPending = false;
          }
        }
        SetTextColor(AHandle, TextColor);
        // Kept after the call: callers draw the rest of the row around it.
        ExtSelectClipRgn(AHandle, Clip.Get(), RGN_DIFF);
      }
    }
    DrawRowText(AHandle, Row, P);
    if (EllipsisPending) DrawEllipsis(AHandle, Row, P, ABounds);
    SavedDC.reset();
    if (Justify) SetTextJustification(AHandle, 0, 0);
  }
  SetBkMode(AHandle, PrevBkMode);
  SetTextAlign(AHandle, PrevAlign);
}

// ---------------------------------------------------------------------------
// Output
Integer cxTextOut(HDC AHandle, const String& AText, TRect& R, Cardinal AFormat, Integer ASelStart,
                  Integer ASelLength, TFont* AFont, TColor ASelBkgColor, TColor ASelTextColor,
                  Integer AMaxLineCount, Integer ALeftIndent, Integer ARightIndent,
                  TColor ATextColor, Double ALineSpacingFactor) {
  if (AText.empty()) return 0;
  HGDIOBJ PrevFont = GetCurrentObject(AHandle, OBJ_FONT);
  COLORREF PrevColor = GetTextColor(AHandle);
  auto Restore = Finally([&] {
    SelectObject(AHandle, PrevFont);
    SetTextColor(AHandle, PrevColor);
  });
  if (AFont) {
    SelectObject(AHandle, AFont->Handle());
    SetTextColor(AHandle, dxColorToRGB(AFont->Color()));
  }
  if (ATextColor != clDefault) SetTextColor(AHandle, dxColorToRGB(ATextColor));
  TcxTextParams Params = cxCalcTextParams(AHandle, AFormat, ALineSpacingFactor);
  TRect TextR = cxPrepareRect(R, Params, ALeftIndent, ARightIndent);
  bool CanTakeText = Params.CalcRect ? cxRectWidth(TextR) > 0
                                     : cxRectWidth(TextR) >= 1 && cxRectHeight(TextR) >= 1;
  if (!CanTakeText) return 0;
  String Text = Params.HidePrefix ? RemoveAccelChars(AText, false) : AText;
  if (Text.empty()) return 0;
  TcxTextRows Rows;
  Integer Count = 0;
  bool Fits = cxMakeTextRows(AHandle, Text.c_str(), static_cast<Integer>(Text.size()), TextR,
                             Params, Rows, Count, AMaxLineCount);
  Integer Height = 0;
  if (Count > 0) {
    if (Params.CalcRect) {
      if (AMaxLineCount > 0 && AMaxLineCount < Count) Count = AMaxLineCount;
      TextR.right = TextR.left + cxGetLongestTextRowWidth(Rows, Count);
      if (!Params.SingleLine)
        cxMakeTextRows(AHandle, Text.c_str(), static_cast<Integer>(Text.size()), TextR, Params,
                       Rows, Count, AMaxLineCount);
      cxPlaceTextRows(AHandle, TextR, Params, Rows, Count);
      TextR.bottom = cxGetTextRow(Rows, Count - 1).TextOriginY + Params.RowHeight;
      R = cxUnprepareRect(TextR, Params, ALeftIndent, ARightIndent);
    } else {
      cxPlaceTextRows(AHandle, TextR, Params, Rows, Count);
      Integer Length = static_cast<Integer>(Text.size());
      if (ASelStart < 0 || ASelStart >= Length) ASelLength = 0;
      ASelLength = std::clamp<Integer>(ASelLength, 0, std::max<Integer>(0, Length - ASelStart));
      cxTextRowsOutHighlight(AHandle, TextR, Params, Rows, Count, ASelStart, ASelLength,
                             ASelBkgColor, ASelTextColor, !Fits);
    }
    Height = cxGetTextRow(Rows, Count - 1).TextOriginY + Params.RowHeight - TextR.top;
  }
  if (Params.CalcRowCount) return Count;
  return Height != 0 ? Height : Count;
}

// ---------------------------------------------------------------------------
// Rotated text
void cxRotatedTextOut(HDC AHandle, const TRect& ABounds, const String& AText, TFont* AFont,
                      TcxTextAlignX AAlignHorz, TcxTextAlignY AAlignVert, bool AWordBreak,
                      bool ALeftExceed, bool ARightExceed, TcxVerticalTextOutDirection ADirection,
                      Integer AFontSize) {
  if (AText.empty()) return;
  TRect TB = cxRectInflate(ABounds, -2, -2);
  Integer Length = cxRectHeight(TB);
  LOGFONTW LF;
  cxGetFontData(AFont->Handle(), LF);
  if (AFontSize != 0) LF.lfHeight = -MulDiv(AFontSize, GetDeviceCaps(AHandle, LOGPIXELSY), 72);
  LF.lfEscapement = ADirection == vtdTopToBottom ? -900 : 900;
  LF.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  TGdiHandle<HFONT> Font(CreateFontIndirectW(&LF));
  HGDIOBJ PrevFont = SelectObject(AHandle, Font.Get());
  int PrevMode = SetBkMode(AHandle, TRANSPARENT);
  UINT PrevAlign = SetTextAlign(AHandle, ADirection == vtdTopToBottom ? TA_BOTTOM : TA_TOP);
  auto Restore = Finally([&] {
    SetTextAlign(AHandle, PrevAlign);
    SetBkMode(AHandle, PrevMode);
    SelectObject(AHandle, PrevFont);
  });
  auto Width = [&](const String& S) {
    SIZE Sz{0, 0};
    GetTextExtentPoint32W(AHandle, S.c_str(), static_cast<int>(S.size()), &Sz);
    return static_cast<Integer>(Sz.cx);
  };
  std::vector<String> Rows;
  if (!AWordBreak) {
    Rows.push_back(AText);
  } else {
    String Rest = AText;
    while (!Rest.empty()) {
      size_t Cut = String::npos;
      size_t I = 0;
      for (; I < Rest.size(); ++I) {
        Char C = Rest[I];
        if (IsBreak(C) && I > 0) {
          Cut = I;
          break;
        }
        if (C == L' ' || IsBreak(C)) {
          if (Width(Rest.substr(0, I)) < Length)
            Cut = I;
          else
            break;
        }
      }
      if (I == Rest.size() && Width(Rest) < Length) Cut = Rest.size();
      if (Cut == String::npos || Cut == 0) {
        size_t Next = Rest.find_first_of(L" \r\n", 1);
        Cut = Next == String::npos ? Rest.size() : Next;
      }
      Rows.push_back(Rest.substr(0, Cut));
      Rest.erase(0, Cut);
      if (!Rest.empty() && Rest[0] == L' ') Rest.erase(0, 1);
      if (!Rest.empty() && IsBreak(Rest[0]) && Rows.back().empty()) Rest.erase(0, 1);
    }
  }
  for (String& Row : Rows)
    while (!Row.empty() && IsBreak(Row[0])) Row.erase(0, 1);
  Integer Pitch = Width(L"");
  {
    SIZE Sz{0, 0};
    GetTextExtentPoint32W(AHandle, L"Zq", 2, &Sz);
    Pitch = Sz.cy;
  }
  Integer N = static_cast<Integer>(Rows.size());
  Integer X;
  if (ADirection == vtdBottomToTop) {
    if (AAlignVert == taCenterY)
      X = (TB.left + TB.right - N * Pitch) / 2;
    else if (AAlignVert == taBottom)
      X = TB.right - N * Pitch;
    else
      X = TB.left;
    X = std::max<Integer>(X, TB.left);
  } else {
    if (AAlignVert == taCenterY)
      X = (TB.left + TB.right + Pitch * (N - 2)) / 2;
    else if (AAlignVert == taBottom)
      X = TB.left + Pitch * (N - 1);
    else
      X = TB.right - Pitch;
    X = std::min<Integer>(X, TB.right - Pitch);
  }
  for (const String& Row : Rows) {
    if (X < TB.left || X > TB.right) break;
    Integer W = Width(Row);
    bool Down = ADirection == vtdTopToBottom;
    Integer StartEdge = Down ? TB.top : TB.bottom;
    Integer EndPos = Down ? TB.bottom - W : TB.top + W;
    Integer Y;
    if (W > Length)
      Y = ARightExceed ? EndPos : StartEdge;
    else if (AAlignHorz == taLeft)
      Y = StartEdge;
    else if (AAlignHorz == taRight)
      Y = EndPos;
    else
      Y = Down ? (TB.top + TB.bottom - W) / 2 : (TB.top + TB.bottom + W) / 2;
    if (W > Length && !ARightExceed && !ALeftExceed) Y = StartEdge;
    ExtTextOutW(AHandle, X, Y, 0, &TB, Row.c_str(), static_cast<UINT>(Row.size()), nullptr);
    X += Down ? -Pitch : Pitch;
  }
}
