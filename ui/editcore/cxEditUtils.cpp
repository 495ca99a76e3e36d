#include "cxEditUtils.h"

#include <algorithm>

#include "cxContainer.h"
#include "cxDrawTextUtils.h"
#include "cxLookAndFeels.h"
#include "dxCore.h"
#include "dxDPIAwareUtils.h"
#include "dxOffice11.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

const Integer cxEditButtonContentVerticalOffset[btsOffice11 + 1] = {0, 4, 2, 2, 2, 2, 2};

namespace {

// Push button part and its normal state.
constexpr int BP_PUSHBUTTON_PART = 1, PBS_NORMAL_STATE = 1;

// The theme's content rectangle of a push button inside a 100 x 100 one.
TRect NativeButtonContentIn100(TcxCanvas* ACanvas, bool& AAvailable) {
  TRect Bounds = cxRect(0, 0, 100, 100), Content = Bounds;
  HTHEME Theme = OpenTheme(totButton);
  AAvailable = Theme && SUCCEEDED(dxUxTheme::GetThemeBackgroundContentRect(
                            Theme, ACanvas ? ACanvas->Handle() : nullptr, BP_PUSHBUTTON_PART,
                            PBS_NORMAL_STATE, &Bounds, &Content));
  return Content;
}

TcxCustomLookAndFeelPainter* PainterOfStyle(bool AIsOffice11Style) {
  return cxLookAndFeelPaintersManager()->GetPainter(AIsOffice11Style ? lfsOffice11 : lfsUltraFlat);
}

// A one-pixel frame, top-left colour first, the bottom-right lines over the
// corners they share with it; the rectangle shrinks by one.
void DrawFrame(TcxCanvas* ACanvas, TRect& R, TColor ALeftTop, TColor ARightBottom) {
  cxEditFillRect(ACanvas, cxRect(R.left, R.top, R.left + 1, R.bottom), ALeftTop);
  cxEditFillRect(ACanvas, cxRect(R.left, R.top, R.right, R.top + 1), ALeftTop);
  cxEditFillRect(ACanvas, cxRect(R.right - 1, R.top, R.right, R.bottom), ARightBottom);
  cxEditFillRect(ACanvas, cxRect(R.left, R.bottom - 1, R.right, R.bottom), ARightBottom);
  InflateRect(&R, -1, -1);
}

TColor FaceColor(const TcxEditButtonBorderData& AData) {
  return AData.Transparent ? AData.BackgroundColor : clBtnFace;
}

bool IsPressedOrSelected(TcxEditButtonState AState) {
  return AState == ebsPressed || AState == ebsSelected;
}

void Draw3DButtonBorder(TcxCanvas* ACanvas, const TcxEditButtonBorderData& AData, TRect& ARect,
                        TColor& APenColor, TColor& ABrushColor) {
  ABrushColor = FaceColor(AData);
  APenColor = clBtnText;
  if (AData.State == ebsPressed) {
    DrawFrame(ACanvas, ARect, clBtnShadow, clBtnShadow);
    DrawFrame(ACanvas, ARect, ABrushColor, ABrushColor);
  } else {
    DrawFrame(ACanvas, ARect, cl3DLight, cl3DDkShadow);
    DrawFrame(ACanvas, ARect, clBtnHighlight, clBtnShadow);
  }
}

void DrawFlatButtonBorder(TcxCanvas* ACanvas, const TcxEditButtonBorderData& AData, TRect& ARect,
                          TColor& ABrushColor) {
  ABrushColor = FaceColor(AData);
  DrawButtonBorder(ACanvas, ARect, TcxBorders{bLeft}, ABrushColor);
  if (AData.State == ebsPressed)
    DrawFrame(ACanvas, ARect, clBtnShadow, clBtnHighlight);
  else
    DrawFrame(ACanvas, ARect, clBtnHighlight, clBtnShadow);
  DrawButtonBorder(ACanvas, ARect, TcxBorders{bRight}, ABrushColor);
}

void DrawSimpleButtonBorder(TcxCanvas* ACanvas, const TcxEditButtonBorderData& AData, TRect& ARect,
                            TColor& ABrushColor) {
  ABrushColor = FaceColor(AData);
  if (!AData.ViewInfoTransparent)
    DrawFrame(ACanvas, ARect, AData.BackgroundColor, AData.BackgroundColor);
  else
    InflateRect(&ARect, -1, -1);
  DrawButtonBorder(ACanvas, ARect, TcxBorders{bLeft, bRight}, ABrushColor);
}

void DrawHotFlatButtonBorder(TcxCanvas* ACanvas, const TcxEditButtonBorderData& AData, TRect& ARect,
                             TColor& APenColor, TColor& ABrushColor) {
  static const TColor FillByState[] = {clBtnFace, clBtnFace, clBtnText, clBtnShadow};
  ABrushColor = AData.Transparent ? AData.BackgroundColor : FillByState[AData.State];
  bool NextToText = AData.LeftAlignment ? AData.Rightmost : AData.Leftmost;
  if (NextToText) {
    DrawFrame(ACanvas, ARect, clBtnShadow, clBtnShadow);
  } else {
    // The side towards the text area takes the fill colour.
    TcxBorder Inner = AData.LeftAlignment ? bRight : bLeft;
    TcxBorder Outer = AData.LeftAlignment ? bLeft : bRight;
    // The top and bottom lines run over the inner side's corners, so that
    // neighbouring buttons show one continuous edge.
    TRect R = ARect;
    DrawButtonBorder(ACanvas, R, TcxBorders{Inner}, ABrushColor);
    R = ARect;
    DrawButtonBorder(ACanvas, R, TcxBorders{Outer, bTop, bBottom}, clBtnShadow);
    InflateRect(&ARect, -1, -1);
  }
  if (!IsPressedOrSelected(AData.State))
    APenColor = clBtnText;
  else if (AData.State == ebsSelected && AData.Transparent)
    APenColor = clBtnShadow;
  else
    APenColor = clWindow;
  DrawButtonBorder(ACanvas, ARect, TcxBorders{bLeft, bRight}, ABrushColor);
}

void DrawUltraFlatButtonBorder(TcxCanvas* ACanvas, const TcxEditButtonBorderData& AData,
                               bool AIsOffice11Style, TRect& ARect, TRect& AContentRect,
                               TColor& ABrushColor) {
  bool Highlighted = IsPressedOrSelected(AData.State);
  if (AData.Transparent)
    ABrushColor = AData.BackgroundColor;
  else if (AData.State == ebsDisabled)
    ABrushColor = clBtnFace;
  else if (AData.State == ebsNormal)
    ABrushColor = AIsOffice11Style ? dxOffice11DockColor1 : clBtnFace;
  else
    ABrushColor = GetEditButtonHighlightColor(AData.State == ebsPressed, AIsOffice11Style);
  TColor FrameColor = GetEditBorderHighlightColor(AIsOffice11Style);
  if (!Highlighted || AData.OwnFrame) {
    if (Highlighted)
      DrawFrame(ACanvas, ARect, FrameColor, FrameColor);
    else if (!AData.ViewInfoTransparent)
      DrawFrame(ACanvas, ARect, AData.BackgroundColor, AData.BackgroundColor);
    else
      InflateRect(&ARect, -1, -1);
    AContentRect = ARect;
    AContentRect.left += 1;
    AContentRect.right -= 1;
    return;
  }
  // The editor's border serves as the button's top and bottom.
  TcxBorders Lines;
  if (AData.LeftAlignment) {
    if (!AData.Leftmost) Lines.Include(bLeft);
    if (ARect.right != AData.BorderRect.right) Lines.Include(bRight);
  } else {
    if (!AData.Rightmost) Lines.Include(bRight);
    if (ARect.left != AData.BorderRect.left) Lines.Include(bLeft);
  }
  DrawButtonBorder(ACanvas, ARect, Lines, FrameColor);
  AContentRect = ARect;
  InflateRect(&AContentRect, -1, -1);
}

}  // namespace

TSize GetArrowSize(const TSize& AContentSize, TcxArrowDirection AArrowDirection) {
  Integer Width = (std::min(AContentSize.cx, AContentSize.cy) - 1) / 2;
  if (Width % 2 == 0) ++Width;
  Integer Height = Width / 2 + 1;
  if (AArrowDirection == adLeft || AArrowDirection == adRight) std::swap(Width, Height);
  return TSize{Width, Height};
}

void DrawArrow(TcxCanvas* ACanvas, const TSize& AArrowSize, const TRect& AContentRect,
               TcxArrowDirection AArrowDirection, bool AIsDoubleArrow, bool AOffsetContent,
               TColor AColor) {
  bool Vertical = AArrowDirection == adUp || AArrowDirection == adDown;
  Integer Size = Vertical ? AArrowSize.cy : AArrowSize.cx;
  if (Size <= 0) return;
  Integer Count = AIsDoubleArrow ? 2 : 1;
  // Across the direction the base, along it the arrows one after the other.
  Integer Across = 2 * Size - 1, Along = Count * Size;
  Integer W = Vertical ? Across : Along, H = Vertical ? Along : Across;
  Integer Left = AContentRect.left + (AContentRect.right - AContentRect.left - W) / 2;
  Integer Top = AContentRect.top + (AContentRect.bottom - AContentRect.top - H) / 2;
  if (AOffsetContent) {
    ++Left;
    ++Top;
  }
  HBRUSH Brush = GetSolidBrush(AColor);
  bool ApexFirst = AArrowDirection == adUp || AArrowDirection == adLeft;
  for (Integer A = 0; A < Count; ++A)
    for (Integer I = 0; I < Size; ++I) {
      Integer Half = ApexFirst ? I : Size - 1 - I;
      Integer Line = A * Size + I;
      TRect R =
          Vertical ? cxRect(Left + Size - 1 - Half, Top + Line, Left + Size + Half, Top + Line + 1)
                   : cxRect(Left + Line, Top + Size - 1 - Half, Left + Line + 1, Top + Size + Half);
      cxEditFillRect(ACanvas->Handle(), R, Brush);
    }
}

void DrawButtonBorder(TcxCanvas* ACanvas, TRect& ARect, TcxBorders ABorders, TColor AColor) {
  HBRUSH Brush = GetSolidBrush(AColor);
  HDC DC = ACanvas->Handle();
  if (ABorders.Contains(bLeft)) {
    cxEditFillRect(DC, cxRect(ARect.left, ARect.top, ARect.left + 1, ARect.bottom), Brush);
    ++ARect.left;
  }
  if (ABorders.Contains(bRight)) {
    cxEditFillRect(DC, cxRect(ARect.right - 1, ARect.top, ARect.right, ARect.bottom), Brush);
    --ARect.right;
  }
  if (ABorders.Contains(bTop)) {
    cxEditFillRect(DC, cxRect(ARect.left, ARect.top, ARect.right, ARect.top + 1), Brush);
    ++ARect.top;
  }
  if (ABorders.Contains(bBottom)) {
    cxEditFillRect(DC, cxRect(ARect.left, ARect.bottom - 1, ARect.right, ARect.bottom), Brush);
    --ARect.bottom;
  }
}

void InternalPolyLine(TcxCanvas* ACanvas, const std::vector<TPoint>& APoints, TColor AColor,
                      bool AOrtoDrawing) {
  if (APoints.empty()) return;
  const TPoint& Last = APoints.back();
  if (!AOrtoDrawing) {
    ACanvas->Pen()->SetColor(AColor);
    ACanvas->Polyline(APoints);
    ACanvas->SetPixel(Last.x, Last.y, AColor);
    return;
  }
  HBRUSH Brush = GetSolidBrush(AColor);
  HDC DC = ACanvas->Handle();
  // Each segment from its start to just before its end, as the pen draws it.
  for (size_t I = 0; I + 1 < APoints.size(); ++I) {
    const TPoint &A = APoints[I], &B = APoints[I + 1];
    TRect R;
    if (A.y == B.y)
      R = A.x <= B.x ? cxRect(A.x, A.y, B.x, A.y + 1) : cxRect(B.x + 1, A.y, A.x + 1, A.y + 1);
    else
      R = A.y <= B.y ? cxRect(A.x, A.y, A.x + 1, B.y) : cxRect(A.x, B.y + 1, A.x + 1, A.y + 1);
    cxEditFillRect(DC, R, Brush);
  }
  cxEditFillRect(DC, cxRect(Last.x, Last.y, Last.x + 1, Last.y + 1), Brush);
}

void cxEditFillRect(TcxCanvas* ACanvas, const TRect& R, TColor AColor) {
  cxEditFillRect(ACanvas->Handle(), R, GetSolidBrush(AColor));
}

void cxEditFillRect(HDC ACanvasHandle, const TRect& R, HBRUSH ABrush) {
  ::FillRect(ACanvasHandle, &R, ABrush);
}

void InternalFillRect(TcxCanvas* ACanvas, const TRect& AOuterRect, const TRect& AInternalRect,
                      HBRUSH ABrush) {
  if (IsRectEmpty(&AOuterRect) || EqualRect(&AOuterRect, &AInternalRect)) return;
  HDC DC = ACanvas->Handle();
  if (IsRectEmpty(&AInternalRect)) {
    cxEditFillRect(DC, AOuterRect, ABrush);
    return;
  }
  const TRect &O = AOuterRect, &I = AInternalRect;
  cxEditFillRect(DC, cxRect(O.left, O.top, I.left, O.bottom), ABrush);
  cxEditFillRect(DC, cxRect(I.left, O.top, I.right, I.top), ABrush);
  cxEditFillRect(DC, cxRect(I.right, O.top, O.right, O.bottom), ABrush);
  cxEditFillRect(DC, cxRect(I.left, I.bottom, I.right, O.bottom), ABrush);
}

Integer GetEditButtonsContentVerticalOffset(TcxCanvas* ACanvas, TcxEditButtonStyle AButtonsStyle,
                                            bool ANativeStyle) {
  if (ANativeStyle) {
    bool Available;
    TRect Content = NativeButtonContentIn100(ACanvas, Available);
    if (Available) return Content.top + (100 - Content.bottom);
  }
  return cxEditButtonContentVerticalOffset[AButtonsStyle];
}

TColor GetEditBorderHighlightColor(bool AIsOffice11Style) {
  return GetContainerBorderColor(true, AIsOffice11Style);
}

TColor GetEditButtonHighlightColor(bool APressed, bool AIsOffice11Style) {
  TcxCustomLookAndFeelPainter* Painter = PainterOfStyle(AIsOffice11Style);
  return Painter ? Painter->ButtonColor(APressed ? cxbsPressed : cxbsHot) : clBtnFace;
}

bool cxIsDigitChar(Char AChar) { return AChar >= L'0' && AChar <= L'9'; }

namespace {
struct TFlagPair {
  Cardinal TextOut, DrawText;
};
constexpr TFlagPair FlagPairs[] = {{CXTO_CENTER_HORIZONTALLY, cxAlignHCenter},
                                   {CXTO_RIGHT, cxAlignRight},
                                   {CXTO_CENTER_VERTICALLY, cxAlignVCenter},
                                   {CXTO_BOTTOM, cxAlignBottom},
                                   {CXTO_SINGLELINE, cxSingleLine},
                                   {CXTO_WORDBREAK, cxWordBreak}};
}  // namespace

Cardinal cxTextOutFlagsToDrawTextFlags(Cardinal AFlags) {
  Cardinal R = 0;
  for (const TFlagPair& P : FlagPairs)
    if (AFlags & P.TextOut) R |= P.DrawText;
  return R;
}

Cardinal DrawTextFlagsTocxTextOutFlags(Cardinal AFlags) {
  Cardinal R = 0;
  for (const TFlagPair& P : FlagPairs)
    if (AFlags & P.DrawText) R |= P.TextOut;
  return R;
}

void cxDrawEditButtonBorder(TcxCanvas* ACanvas, const TcxEditButtonBorderData& AData, TRect& ARect,
                            TRect& AContentRect, TColor& APenColor, TColor& ABrushColor) {
  TcxEditButtonStyle Style = AData.Style;
  if (Style == btsSimple && IsPressedOrSelected(AData.State)) Style = btsFlat;
  bool ContentSet = false;
  switch (Style) {
    case bts3D:
      Draw3DButtonBorder(ACanvas, AData, ARect, APenColor, ABrushColor);
      break;
    case btsFlat:
      DrawFlatButtonBorder(ACanvas, AData, ARect, ABrushColor);
      break;
    case btsSimple:
      DrawSimpleButtonBorder(ACanvas, AData, ARect, ABrushColor);
      break;
    case btsHotFlat:
      DrawHotFlatButtonBorder(ACanvas, AData, ARect, APenColor, ABrushColor);
      break;
    case btsUltraFlat:
    case btsOffice11:
      DrawUltraFlatButtonBorder(ACanvas, AData, Style == btsOffice11, ARect, AContentRect,
                                ABrushColor);
      ContentSet = true;
      break;
    case btsDefault:
      break;
  }
  if (!ContentSet) AContentRect = ARect;
}

TRect cxGetNativeEditButtonContentRect(TcxCanvas* ACanvas, const TRect& ABounds,
                                       bool AIsCustomDrawn, bool AComboBoxStyle,
                                       Integer ANativeState) {
  if (AIsCustomDrawn) return ABounds;
  if (AComboBoxStyle) return cxNullRect;
  TRect Content = ABounds;
  HTHEME Theme = OpenTheme(totButton);
  if (Theme)
    dxUxTheme::GetThemeBackgroundContentRect(Theme, ACanvas ? ACanvas->Handle() : nullptr,
                                             BP_PUSHBUTTON_PART, ANativeState, &ABounds, &Content);
  return Content;
}

TPoint cxGetEditButtonContentPosition(const TRect& AContentRect, const TSize& ASize,
                                      bool AOffsetContent) {
  TPoint P{AContentRect.left + (AContentRect.right - AContentRect.left - ASize.cx) / 2,
           AContentRect.top + (AContentRect.bottom - AContentRect.top - ASize.cy) / 2};
  if (AOffsetContent) {
    if (P.x + ASize.cx < AContentRect.right) ++P.x;
    if (P.y + ASize.cy < AContentRect.bottom) ++P.y;
  }
  return P;
}

void cxDrawEditButtonEllipsis(TcxCanvas* ACanvas, const TRect& AContentRect, bool AEnabled,
                              bool AOffsetContent, TColor APenColor) {
  Integer Dot = AContentRect.right - AContentRect.left > 11 ? 2 : 1;
  TPoint P = cxGetEditButtonContentPosition(AContentRect, TSize{3 * Dot + 4, Dot}, AOffsetContent);
  auto Dots = [&](Integer X, Integer Y, TColor AColor) {
    for (Integer I = 0; I < 3; ++I) {
      Integer L = X + I * (Dot + 2);
      cxEditFillRect(ACanvas, cxRect(L, Y, L + Dot, Y + Dot), AColor);
    }
  };
  if (AEnabled) {
    Dots(P.x, P.y, APenColor);
  } else {
    Dots(P.x + 1, P.y + 1, clBtnHighlight);
    Dots(P.x, P.y, clBtnShadow);
  }
}

void cxDrawEditButtonArrow(TcxCanvas* ACanvas, const TRect& AContentRect,
                           const TRect& AButtonBounds, bool AIsInplace, bool AEnabled,
                           bool AOffsetContent, TColor APenColor) {
  TRect R = AContentRect;
  // Widened to the full extent, centred; an odd extra pixel goes right when
  // the content is offset, left otherwise.
  auto Widen = [&](LONG& ALow, LONG& AHigh, LONG AFullLow, LONG AFullHigh) {
    Integer Difference = (AFullHigh - AFullLow) - (AHigh - ALow);
    Integer Low = Difference / 2, High = Difference - Low;
    if (Difference % 2 != 0 && !AOffsetContent) std::swap(Low, High);
    ALow -= Low;
    AHigh += High;
    return Difference;
  };
  Integer WidthDifference = Widen(R.left, R.right, AButtonBounds.left, AButtonBounds.right);
  if (AIsInplace) Widen(R.top, R.bottom, AButtonBounds.top, AButtonBounds.bottom);
  if (AOffsetContent) OffsetRect(&R, WidthDifference % 2 == 0 ? 1 : 0, 1);
  TcxCustomLookAndFeelPainter* Painter = cxLookAndFeelPaintersManager()->GetPainter(lfsStandard);
  if (!Painter) return;
  if (AEnabled) {
    Painter->DrawArrow(ACanvas, R, adDown, APenColor);
  } else {
    Painter->DrawArrow(ACanvas, cxRectOffset(R, 1, 1), adDown, clBtnHighlight);
    Painter->DrawArrow(ACanvas, R, adDown, clBtnShadow);
  }
}

Integer CalculateEditDefaultButtonWidth(TcxCanvas* ACanvas, TcxEditButtonWidthData& AData) {
  // Native only where the theme of the button's kind can be opened.
  TdxThemedObjectType ThemeType = AData.ComboBoxStyle ? totComboBox : totButton;
  AData.NativeStyle = AreVisualStylesMustBeUsed(AData.NativeStyle, ThemeType);
  HTHEME Theme = AData.NativeStyle ? OpenTheme(ThemeType) : nullptr;
  Integer BorderExtent = 4;
  if (Theme) {
    TRect Bounds = cxRect(0, 0, 100, 100), Content = Bounds;
    if (SUCCEEDED(dxUxTheme::GetThemeBackgroundContentRect(
            Theme, ACanvas ? ACanvas->Handle() : nullptr, BP_PUSHBUTTON_PART, PBS_NORMAL_STATE,
            &Bounds, &Content)))
      BorderExtent = 100 - (Content.right - Content.left);
  }
  if (AData.Width >= 1) return std::max(AData.Width, BorderExtent);
  Integer Result;
  if (AData.Kind == bkGlyph && AData.GlyphWidth > 0) {
    Result = AData.GlyphWidth + BorderExtent;
  } else {
    Result = 0;
    if (AData.Kind == bkText) {
      bool Scaled = AData.ScaleFactor && AData.ScaleFactor->Assigned();
      Result = ACanvas->TextWidth(RemoveAccelChars(AData.Caption, false)) + BorderExtent +
               (Scaled ? AData.ScaleFactor->Apply(2) : 2) + 1;
    }
    Result = std::max(Result, dxGetSystemMetrics(SM_CYHSCROLL, AData.ScaleFactor));
  }
  dxAdjustToTouchableSize(Result, AData.ScaleFactor);
  return Result;
}
