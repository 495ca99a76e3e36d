#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
// Faces below this height let the caption band grow by one pixel above.
constexpr Integer cxButtonTextBandMinHeight = 18;
constexpr Integer cxButtonFocusInset = 4;
constexpr Integer cxDropDownButtonRightPartSize = 15;
constexpr TSize cxCommandLinkGlyphSize{20, 20};
constexpr TRect cxCommandLinkMargins{7, 10, 7, 10};

// The frame of a strip of four equal state frames stacked vertically
// (normal, hot, pressed, disabled); a default button shows the normal one.
Integer StateFrameIndex(TcxButtonState AState) {
  switch (AState) {
    case cxbsHot:
      return 1;
    case cxbsPressed:
      return 2;
    case cxbsDisabled:
      return 3;
    default:
      return 0;
  }
}

TRect StateFrame(TdxSmartImage* AImage, TcxButtonState AState) {
  Integer H = AImage->Height() / 4;
  return cxRectOffset(cxRect(0, 0, AImage->Width(), H), 0, H * StateFrameIndex(AState));
}
}  // namespace

Integer TcxCustomLookAndFeelPainter::ButtonBorderSize(TcxButtonState) { return 0; }

TColor TcxCustomLookAndFeelPainter::ButtonColor(TcxButtonState) { return clBtnFace; }

IdxColorPalette* TcxCustomLookAndFeelPainter::ButtonColorPalette(TcxButtonState) { return nullptr; }

TColor TcxCustomLookAndFeelPainter::ButtonDescriptionTextColor(TcxButtonState,
                                                               TColor ADefaultColor) {
  return ADefaultColor;
}

TColor TcxCustomLookAndFeelPainter::ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor) {
  if (AState == cxbsDisabled) return clBtnShadow;
  return cxGetActualColor(ADefaultColor, clBtnText);
}

TcxButtonState TcxCustomLookAndFeelPainter::ButtonSymbolState(TcxButtonState AState) {
  return AState;
}

TRect TcxCustomLookAndFeelPainter::ButtonFocusRect(TcxCanvas* ACanvas, const TRect& R) {
  return ScaledButtonFocusRect(ACanvas, R, dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::ScaledButtonFocusRect(TcxCanvas*, const TRect& R,
                                                         const TdxScaleFactor* AScaleFactor) {
  Integer D = AScaleFactor->Apply(cxButtonFocusInset);
  TRect Inner = cxRectInflate(R, -D, -D);
  return cxRectIsEmpty(Inner) ? R : Inner;
}

Integer TcxCustomLookAndFeelPainter::ButtonTextOffset() {
  return ScaledButtonTextOffset(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::ScaledButtonTextOffset(const TdxScaleFactor*) { return 0; }

Integer TcxCustomLookAndFeelPainter::ButtonTextShift() {
  return ScaledButtonTextShift(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::ScaledButtonTextShift(const TdxScaleFactor*) { return 0; }

void TcxCustomLookAndFeelPainter::DrawButtonBorder(TcxCanvas*, const TRect&, TcxButtonState) {}

void TcxCustomLookAndFeelPainter::DrawButton(TcxCanvas* ACanvas, const TRect& R,
                                             const String& ACaption, TcxButtonState AState,
                                             bool ADrawBorder, TColor AColor, TColor ATextColor,
                                             bool AWordWrap, bool AIsToolButton,
                                             TcxButtonPart APart) {
  DrawScaledButton(ACanvas, R, ACaption, AState, dxSystemScaleFactor(), ADrawBorder, AColor,
                   ATextColor, AWordWrap, AIsToolButton, APart);
}

void TcxCustomLookAndFeelPainter::DrawScaledButton(TcxCanvas* ACanvas, const TRect& R,
                                                   const String& ACaption, TcxButtonState AState,
                                                   const TdxScaleFactor* AScaleFactor,
                                                   bool ADrawBorder, TColor AColor,
                                                   TColor ATextColor, bool AWordWrap, bool,
                                                   TcxButtonPart) {
  TRect Face = R;
  if (ADrawBorder) {
    DrawButtonBorder(ACanvas, Face, AState);
    Integer B = ButtonBorderSize(AState);
    Face = cxRectInflate(Face, -B, -B);
  }
  ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  ACanvas->FillRect(Face, cxGetActualColor(AColor, ButtonColor(AState)));
  SetFontColor(ACanvas, cxGetActualColor(ATextColor, ButtonSymbolColor(AState, clDefault)));
  ACanvas->Brush()->SetStyle(TBrushStyle::bsClear);
  auto SolidAgain = Finally([ACanvas] { ACanvas->Brush()->SetStyle(TBrushStyle::bsSolid); });
  if (cxRectHeight(Face) % 2 != 0) --Face.bottom;
  if (cxRectHeight(Face) < cxButtonTextBandMinHeight) --Face.top;
  if (AState == cxbsPressed) {
    Integer Shift = ScaledButtonTextShift(AScaleFactor);
    Face = cxRectOffset(Face, Shift, Shift);
  }
  if (!ACaption.empty())
    ACanvas->DrawTexT(
        ACaption, Face,
        cxShowPrefix | cxAlignHCenter | cxAlignVCenter | (AWordWrap ? cxWordBreak : cxSingleLine),
        AState != cxbsDisabled);
}

void TcxCustomLookAndFeelPainter::DrawSearchEditButtonGlyph(TcxCanvas* ACanvas, const TRect& R,
                                                            TcxButtonState AState) {
  DrawScaledSearchEditButtonGlyph(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledSearchEditButtonGlyph(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, const TdxScaleFactor* AScaleFactor) {
  TdxSmartImage* Glyph = GetSearchButtonGlyph();
  TRect Source = StateFrame(Glyph, AState);
  TRect Dest = cxRectCenter(R, AScaleFactor->Apply(cxRectSize(Source)));
  Glyph->StretchDraw(ACanvas->Handle(), Dest, Source, 255);
}

Integer TcxCustomLookAndFeelPainter::GetDropDownButtonRightPartSize() {
  return GetScaledDropDownButtonRightPartSize(dxSystemScaleFactor());
}

Integer TcxCustomLookAndFeelPainter::GetScaledDropDownButtonRightPartSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxDropDownButtonRightPartSize);
}

bool TcxCustomLookAndFeelPainter::IsButtonHotTrack() { return false; }

// ---------------------------------------------------------------------------
// Button cross
void TcxCustomLookAndFeelPainter::DrawButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor,
                                                  TcxButtonState AState) {
  DrawScaledButtonCross(ACanvas, R, AColor, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawButtonCross(TcxCanvas* ACanvas, const TRect& R, TColor AColor,
                                                  TcxButtonState AState, Integer ASize) {
  DrawScaledButtonCrossEx(ACanvas, R, AColor, AState, ASize, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledButtonCross(TcxCanvas* ACanvas, const TRect& R,
                                                        TColor AColor, TcxButtonState AState,
                                                        const TdxScaleFactor* AScaleFactor) {
  // Half the filter close button, odd so that the cross has a middle pixel.
  Integer Size = ScaledFilterCloseButtonSize(AScaleFactor).cx / 2;
  if (Size % 2 == 0) --Size;
  DrawScaledButtonCrossEx(ACanvas, R, AColor, AState, Size, dxDefaultScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledButtonCrossEx(TcxCanvas* ACanvas, const TRect& R,
                                                          TColor AColor, TcxButtonState AState,
                                                          Integer ASize,
                                                          const TdxScaleFactor* AScaleFactor) {
  SetPenColor(ACanvas, AColor);
  Integer Size = AScaleFactor->Apply(ASize);
  Integer Pressed = AState == cxbsPressed ? 1 : 0;
  // Each diagonal is two strokes wide, the second one pixel to the right.
  for (Integer I = 0; I < 2; ++I) {
    Integer X = I + (R.left + R.right - Size) / 2 + Pressed;
    Integer Y = (R.top + R.bottom - Size) / 2 + Pressed;
    PenLine(ACanvas, X, Y, X + Size, Y + Size);
    PenLine(ACanvas, X, Y + Size - 1, X + Size, Y - 1);
  }
}

// ---------------------------------------------------------------------------
// Back button
TSize TcxCustomLookAndFeelPainter::GetBackButtonSize() {
  return GetScaledBackButtonSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetScaledBackButtonSize(const TdxScaleFactor* AScaleFactor) {
  TdxSmartImage* Image = GetBackButton();
  return AScaleFactor->Apply(TSize{Image->Width(), Image->Height() / 4});
}

void TcxCustomLookAndFeelPainter::DrawBackButton(TcxCanvas* ACanvas, const TRect& R,
                                                 TcxButtonState AState) {
  DrawScaledBackButton(ACanvas, R, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledBackButton(TcxCanvas* ACanvas, const TRect& R,
                                                       TcxButtonState AState,
                                                       const TdxScaleFactor*) {
  TdxSmartImage* Image = GetBackButton();
  Image->StretchDraw(ACanvas->Handle(), R, StateFrame(Image, AState), 255);
}

// ---------------------------------------------------------------------------
// Command links
TColor TcxCustomLookAndFeelPainter::DefaultCommandLinkTextColor(TcxButtonState AState,
                                                                TColor ADefaultColor) {
  return ButtonSymbolColor(AState, ADefaultColor);
}

void TcxCustomLookAndFeelPainter::DrawCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R,
                                                            TcxButtonState AState, TColor AColor) {
  DrawScaledCommandLinkBackground(ACanvas, R, AState, dxSystemScaleFactor(), AColor);
}

void TcxCustomLookAndFeelPainter::DrawScaledCommandLinkBackground(
    TcxCanvas* ACanvas, const TRect& R, TcxButtonState AState, const TdxScaleFactor* AScaleFactor,
    TColor AColor) {
  DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, AColor, clDefault, false,
                   false, cxbpButton);
}

void TcxCustomLookAndFeelPainter::DrawCommandLinkGlyph(TcxCanvas* ACanvas, const TPoint& AGlyphPos,
                                                       TcxButtonState AState) {
  DrawScaledCommandLinkGlyph(ACanvas, AGlyphPos, AState, dxSystemScaleFactor());
}

void TcxCustomLookAndFeelPainter::DrawScaledCommandLinkGlyph(TcxCanvas* ACanvas,
                                                             const TPoint& AGlyphPos,
                                                             TcxButtonState AState,
                                                             const TdxScaleFactor* AScaleFactor) {
  // Loaded for each draw: command links are few and rarely repainted.
  TOwned<TdxSmartImage> Glyph = MakeOwned<TdxSmartImage>();
  TOwned<TResourceStream> Stream =
      MakeOwned<TResourceStream>(GetModuleHandleW(nullptr), String(L"CX_COMMANDLINKGLYPH"), L"PNG");
  Glyph->LoadFromStream(Stream.get());
  TRect Source = cxRect(0, 0, cxCommandLinkGlyphSize.cx, cxCommandLinkGlyphSize.cy);
  if (AState == cxbsHot) Source = cxRectOffset(Source, 0, cxCommandLinkGlyphSize.cy);
  TSize Size = AScaleFactor->Apply(cxCommandLinkGlyphSize);
  TRect Dest = cxRect(AGlyphPos.x, AGlyphPos.y, AGlyphPos.x + Size.cx, AGlyphPos.y + Size.cy);
  HDC DC = ACanvas->Handle();
  cxRightToLeftDependentDraw(ACanvas, Dest, [&] { Glyph->StretchDraw(DC, Dest, Source, 255); });
}

TSize TcxCustomLookAndFeelPainter::GetCommandLinkGlyphSize() {
  return GetScaledCommandLinkGlyphSize(dxSystemScaleFactor());
}

TSize TcxCustomLookAndFeelPainter::GetScaledCommandLinkGlyphSize(
    const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxCommandLinkGlyphSize);
}

TRect TcxCustomLookAndFeelPainter::GetCommandLinkMargins() {
  return GetScaledCommandLinkMargins(dxSystemScaleFactor());
}

TRect TcxCustomLookAndFeelPainter::GetScaledCommandLinkMargins(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(cxCommandLinkMargins);
}
