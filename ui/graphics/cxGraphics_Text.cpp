// Text on the library canvas and the thin routines over the platform's text
// drawing, measuring and metrics.
#include <algorithm>

#include "Menus.h"
#include "cxGraphics.h"
#include "cxGraphicsInternal.h"

using namespace cxGraphicsInternal;

bool dxUseAntialiasingForRotatedText = true;

Integer cxAlignmentsHorz(TAlignment AAlignment) {
  switch (AAlignment) {
    case taRightJustify:
      return cxAlignRight;
    case taCenter:
      return cxAlignHCenter;
    default:
      return cxAlignLeft;
  }
}

Integer cxAlignmentsVert(TcxAlignmentVert AAlignment) {
  static const Integer Map[] = {cxAlignTop, cxAlignBottom, cxAlignVCenter};
  return Map[AAlignment];
}

UINT cxFlagsToDTFlags(Integer AFlags) {
  UINT R = DT_NOPREFIX;
  if (AFlags & cxAlignRight) R |= DT_RIGHT;
  if (AFlags & cxAlignHCenter) R |= DT_CENTER;
  if (AFlags & cxAlignBottom) R |= DT_BOTTOM;
  if (AFlags & cxAlignVCenter) R |= DT_VCENTER;
  if (AFlags & cxSingleLine) R |= DT_SINGLELINE;
  if (AFlags & cxDontClip) R |= DT_NOCLIP;
  if (AFlags & cxExpandTabs) R |= DT_EXPANDTABS;
  if (AFlags & cxShowPrefix) R &= ~static_cast<UINT>(DT_NOPREFIX);
  if (AFlags & cxWordBreak) {
    R |= DT_WORDBREAK;
    if (!(AFlags & cxDontBreakChars)) R |= DT_EDITCONTROL;
    if (AFlags & cxNoFullWidthCharBreak) R |= DT_NOFULLWIDTHCHARBREAK;
  }
  if (AFlags & cxShowEndEllipsis) R |= DT_END_ELLIPSIS;
  if (AFlags & cxCalcRect) R |= DT_CALCRECT;
  if (AFlags & cxShowPathEllipsis) R |= DT_PATH_ELLIPSIS;
  if (AFlags & cxRtlReading) R |= DT_RTLREADING;
  return R;
}

// ---------------------------------------------------------------------------
// Platform text routines
namespace {
int CharCount(const String& AText, Integer ACharCount) {
  return ACharCount < 0 ? static_cast<int>(AText.size()) : ACharCount;
}
}  // namespace

Integer cxDrawText(HDC ADC, const String& AText, TRect& ARect, UINT AFormat, Integer ACharCount,
                   TColor ATextColor, Integer ABkMode) {
  int Count = CharCount(AText, ACharCount);
  if (Count == 0) return DrawTextW(ADC, AText.c_str(), 0, &ARect, AFormat);
  COLORREF PrevColor = 0;
  bool SetColor = ATextColor != clDefault;
  if (SetColor) PrevColor = SetTextColor(ADC, dxColorToRGB(ATextColor));
  int PrevMode = SetBkMode(ADC, ABkMode);
  // DrawText may write an ellipsis into a modifiable string; it never gets
  // DT_MODIFYSTRING here, so the text is passed as it stands.
  Integer R = DrawTextW(ADC, AText.c_str(), Count, &ARect, AFormat);
  SetBkMode(ADC, PrevMode);
  if (SetColor) SetTextColor(ADC, PrevColor);
  return R;
}

Integer cxDrawText(TCanvas* ACanvas, const String& AText, TRect& ARect, UINT AFormat,
                   TColor ATextColor) {
  ACanvas->SelectFont();
  if (ACanvas->TextFlags() & ETO_RTLREADING) AFormat |= DT_RTLREADING;
  return cxDrawText(ACanvas->Handle(), AText, ARect, AFormat, -1, ATextColor, TRANSPARENT);
}

Integer cxDrawText(TcxCanvas* ACanvas, const String& AText, TRect ARect, UINT AFormat,
                   TColor ATextColor, TcxRotationAngle ARotationAngle) {
  if (ARotationAngle == ra0)
    return cxDrawText(ACanvas->Canvas(), AText, ARect, AFormat, ATextColor);
  TOwned<TcxBitmap> B(TcxBitmap::CreateSize(ARect, TPixelFormat::pf32bit));
  cxBitBlt(B->Canvas()->Handle(), ACanvas->Handle(), B->ClientRect(), TPoint{ARect.left, ARect.top},
           SRCCOPY);
  static const TcxRotationAngle Opposite[] = {ra0, raMinus90, raPlus90, ra180};
  B->Rotate(Opposite[ARotationAngle]);
  B->Canvas()->SetFont(ACanvas->Font());
  B->Canvas()->SetTextFlags(ACanvas->TextFlags());
  if (!dxUseAntialiasingForRotatedText) dxSetFontAsNonAntialiased(B->Canvas()->Font());
  TRect Area = B->ClientRect();
  Integer R = cxDrawText(B->Canvas(), AText, Area, AFormat, ATextColor);
  B->Rotate(ARotationAngle);
  cxBitBlt(ACanvas->Handle(), B->Canvas()->Handle(), ARect, TPoint{0, 0}, SRCCOPY);
  return R;
}

bool cxExtTextOut(HDC ADC, const String& AText, const TPoint& APoint, const TRect& ARect,
                  UINT AOptions, Integer ACharCount) {
  return ExtTextOutW(ADC, APoint.x, APoint.y, AOptions, &ARect, AText.c_str(),
                     static_cast<UINT>(CharCount(AText, ACharCount)), nullptr) != FALSE;
}

bool cxGetTextExtentPoint32(HDC ADC, const String& AText, TSize& ASize, Integer ACharCount) {
  ASize = TSize{0, 0};
  return GetTextExtentPoint32W(ADC, AText.c_str(), CharCount(AText, ACharCount), &ASize) != FALSE;
}

Integer cxTextHeight(HDC ADC) {
  TEXTMETRICW TM{};
  GetTextMetricsW(ADC, &TM);
  return TM.tmHeight;
}

namespace {
// The shared screen canvas with AFont selected, given back when done. Once
// the module's shut-down has begun there is none, yet controls freed later
// may still measure: they get a canvas of their own.
template <class F>
auto WithScreenFont(TFont* AFont, Integer AFontSize, F&& AProc) {
  TcxScreenCanvas* S = cxScreenCanvas();
  TOwned<TcxScreenCanvas> Own;
  if (!S) {
    Own.reset(Create<TcxScreenCanvas>());
    S = Own.get();
  }
  S->SetFont(AFont);
  if (AFontSize != 0) S->Font()->SetSize(AFontSize);
  S->Canvas()->SelectFont();
  auto Release = Finally([S] { S->Dormant(); });
  return AProc(S->Handle());
}
}  // namespace

Integer cxTextHeight(TFont* AFont) {
  return WithScreenFont(AFont, 0, [](HDC DC) { return cxTextHeight(DC); });
}

TSize cxTextExtent(TFont* AFont, const String& S, Integer AFontSize) {
  return WithScreenFont(AFont, AFontSize, [&](HDC DC) {
    TSize Size;
    cxGetTextExtentPoint32(DC, S, Size);
    return Size;
  });
}

Integer cxTextWidth(TFont* AFont, const String& S, Integer AFontSize) {
  return cxTextExtent(AFont, S, AFontSize).cx;
}

void cxGetTextRect(TRect& ARect, const String& AText, TFont* AFont, UINT ADTFlags) {
  WithScreenFont(AFont, 0, [&](HDC DC) {
    return cxDrawText(DC, AText, ARect, ADTFlags | DT_CALCRECT, -1, clDefault, TRANSPARENT);
  });
}

TSize cxTextSize(TFont* AFont, const String& AText, UINT AFlags) {
  TRect R = cxNullRect;
  cxGetTextRect(R, AText, AFont, AFlags);
  return cxRectSize(R);
}

void cxResetFont(TFont* AFont) {
  TOwned<TFont> Default(Create<TFont>());
  AFont->Assign(Default.get());
}

void dxSetFontAsNonAntialiased(TFont* AFont) {
  LOGFONTW LF;
  if (!cxGetFontData(AFont->Handle(), LF)) return;
  LF.lfQuality = NONANTIALIASED_QUALITY;
  AFont->SetLogFont(LF);
}

// ---------------------------------------------------------------------------
// Canvas text
TSize TcxCanvas::TextExtent(const String& Text) {
  FCanvas->SelectFont();
  TSize S;
  cxGetTextExtentPoint32(Handle(), Text, S);
  return S;
}

void TcxCanvas::DrawTexT(const String& Text, const TRect& R, TAlignment AAlignmentHorz,
                         TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis) {
  if (Text.empty()) return;
  DrawTexT(Text, R,
           cxAlignmentsHorz(AAlignmentHorz) | cxAlignmentsVert(AAlignmentVert) |
               (AMultiLine ? cxWordBreak : cxSingleLine) |
               (AShowEndEllipsis ? cxShowEndEllipsis : 0),
           true);
}

void TcxCanvas::DrawTexT(const String& Text, TRect R, Integer Flags, bool Enabled,
                         TcxRotationAngle ARotationAngle) {
  if (Text.empty()) return;
  bool UseDrawText = !(Flags & cxSingleLine) || ARotationAngle != ra0 ||
                     (Flags & (cxShowPrefix | cxShowEndEllipsis | cxShowPathEllipsis));
  TSize Extent = TextExtent(Text);
  if (cxRectWidth(R) >= Extent.cx && cxRectHeight(R) >= Extent.cy) Flags |= cxDontClip;
  UINT Format = 0;
  if (UseDrawText) {
    if (!(Flags & cxSingleLine) && (Flags & (cxAlignBottom | cxAlignVCenter)) &&
        ARotationAngle == ra0)
      AlignMultiLineTextRectVertically(R, Text, (Flags & cxAlignBottom) ? vaBottom : vaCenter,
                                       Flags & cxWordBreak, Flags & cxShowPrefix, Enabled,
                                       Flags & cxDontBreakChars, Flags & cxShowEndEllipsis);
    Format = cxFlagsToDTFlags(Flags);
  } else {
    Integer D = Enabled ? 0 : 1;
    if (cxRectWidth(R) > Extent.cx) {
      if ((Flags & 7) == cxAlignRight)
        R.left = R.right - Extent.cx - D;
      else if ((Flags & 7) == cxAlignHCenter)
        R.left = (R.left + R.right - Extent.cx) / 2;
    }
    if (cxRectHeight(R) > Extent.cy) {
      if ((Flags & 0x38) == cxAlignBottom)
        R.top = R.bottom - Extent.cy - D;
      else if ((Flags & 0x38) == cxAlignVCenter)
        R.top = (R.top + R.bottom - Extent.cy) / 2;
    }
    Format = (Flags & cxDontClip) ? 0 : ETO_CLIPPED;
  }
  auto Output = [&](const TRect& AR) {
    if (UseDrawText) {
      cxDrawText(this, Text, AR, Format, clDefault, ARotationAngle);
    } else {
      UINT Options = Format;
      if (TextFlags() & ETO_RTLREADING) Options |= ETO_RTLREADING;
      FCanvas->SelectFont();
      cxExtTextOut(Handle(), Text, TPoint{AR.left, AR.top}, AR, Options);
    }
  };
  TBrushStyle PrevStyle = Brush()->Style();
  TColor PrevColor = Font()->Color();
  if (!Enabled) {
    ++R.left;
    ++R.top;
    Brush()->SetStyle(TBrushStyle::bsClear);
    Font()->SetColor(clBtnHighlight);
    Output(R);
    R = cxRectOffset(R, -1, -1);
    Font()->SetColor(clBtnShadow);
  }
  Output(R);
  if (Brush()->Style() != PrevStyle) Brush()->SetStyle(PrevStyle);
  Font()->SetColor(PrevColor);
}

void TcxCanvas::TextExtent(const String& Text, TRect& R, Integer Flags) {
  Integer W0 = cxRectWidth(R), H0 = cxRectHeight(R);
  UINT Format = cxFlagsToDTFlags(Flags);
  if (W0 <= 0 && !Text.empty()) R.right = R.left + 1;
  FCanvas->SelectFont();
  if (cxDrawText(Handle(), Text, R, (Format & ~static_cast<UINT>(DT_VCENTER)) | DT_CALCRECT, -1,
                 clDefault, TRANSPARENT) == 0) {
    R.right = R.left;
    R.bottom = R.top;
  }
  Integer W1 = cxRectWidth(R), H1 = cxRectHeight(R);
  if (Format & DT_CENTER)
    R = cxRectOffset(R, (W0 - W1) / 2, 0);
  else if (Format & DT_RIGHT)
    R = cxRectOffset(R, W0 - W1, 0);
  if (Format & DT_VCENTER)
    R = cxRectOffset(R, 0, (H0 - H1) / 2);
  else if (Format & DT_BOTTOM)
    R = cxRectOffset(R, 0, H0 - H1);
}

void TcxCanvas::AlignMultiLineTextRectVertically(TRect& R, const String& AText,
                                                 TcxAlignmentVert AAlignmentVert, bool AWordBreak,
                                                 bool AShowPrefix, bool AEnabled,
                                                 bool ADontBreakChars, bool AEndEllipsis) {
  if (AAlignmentVert == vaTop) return;
  Integer D = AEnabled ? 0 : 1;
  TRect Measure = cxRect(0, 0, cxRectWidth(R) - D, 0);
  Integer Flags = cxAlignLeft | cxAlignTop;
  if (AWordBreak) Flags |= cxWordBreak;
  if (AShowPrefix) Flags |= cxShowPrefix;
  if (ADontBreakChars) Flags |= cxDontBreakChars;
  Integer Height;
  if (AEndEllipsis && AWordBreak) {
    Integer RowHeight = TextHeight(L"Zq");
    Height = std::max(RowHeight, (cxRectHeight(R) - D) / RowHeight * RowHeight);
  } else {
    TextExtent(AText, Measure, Flags);
    Height = cxRectHeight(Measure);
  }
  if (AAlignmentVert == vaBottom)
    R.top = R.bottom - (Height + D);
  else
    R.top = (R.top + R.bottom - Height) / 2;
}

void TcxCanvas::GetTextStringsBounds(String Text, TRect R, Integer Flags, bool Enabled,
                                     TRects& ABounds) {
  if (Text.empty()) return;
  if (Flags & cxShowPrefix) {
    Text = StripHotkey(Text);
    Flags &= ~cxShowPrefix;
  }
  Integer AlignHorz = Flags & 7;
  if (!Enabled) {
    --R.right;
    --R.bottom;
  }
  // TextExtent places the block in R by the vertical alignment; it is not
  // moved a second time.
  TRect TextR = R;
  TextExtent(Text, TextR, Flags);
  HDC DC = Handle();
  while (!Text.empty()) {
    INT Fit = 0;
    SIZE Unused;
    GetTextExtentExPointW(DC, Text.c_str(), static_cast<int>(Text.size()), cxRectWidth(R), &Fit,
                          nullptr, &Unused);
    size_t MaxCount = static_cast<size_t>(std::max(1, Fit));
    size_t Break = Text.find_first_of(L"\r\n");
    if (Break != String::npos && Break < MaxCount) {
      MaxCount = Break;
      wchar_t C = Text[Break];
      size_t Remove = 1;
      if (Break + 1 < Text.size() && (Text[Break + 1] == L'\r' || Text[Break + 1] == L'\n') &&
          Text[Break + 1] != C)
        Remove = 2;
      Text.erase(Break, Remove);
    } else if (Text.size() > MaxCount) {
      size_t Space = Text.rfind(L' ', MaxCount);
      if (Space != String::npos && Space + 1 < MaxCount) {
        MaxCount = Space + 1;
        if (AlignHorz != cxAlignLeft) {
          Text.erase(Space, 1);
          --MaxCount;
        }
      }
    }
    TSize Size;
    cxGetTextExtentPoint32(DC, Text, Size, static_cast<Integer>(MaxCount));
    TRect Row = TextR;
    if (AlignHorz == cxAlignLeft) {
      Row.right = Row.left + Size.cx;
    } else if (AlignHorz == cxAlignRight) {
      Row.left = Row.right - Size.cx;
    } else if (AlignHorz == cxAlignHCenter) {
      Row.left = (Row.left + Row.right - Size.cx) / 2;
      Row.right = Row.left + Size.cx;
    }
    Row.bottom = Row.top + Size.cy;
    ABounds.push_back(Row);
    TextR.top = Row.bottom;
    Text.erase(0, MaxCount);
  }
}

Integer TcxCanvas::FontHeight(TFont* AFont) {
  SetFont(AFont);
  FCanvas->SelectFont();
  return cxTextHeight(Handle());
}

void TcxCanvas::SetFontAngle(Integer Value) {
  LOGFONTW LF;
  if (!cxGetFontData(Font()->Handle(), LF)) return;
  LF.lfEscapement = Value * 10;
  if (Value != 0) LF.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  Font()->SetLogFont(LF);
}
