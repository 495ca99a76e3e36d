#include "cxLookAndFeelPainters.h"
#include "cxLookAndFeelPaintersInternal.h"

using namespace cxPaintersInternal;

namespace {
// Theme property numbers the painter asks for. The button colour is asked
// for under number 204; a theme that does not answer it leaves the Standard
// painter's colour.
constexpr Integer cxButtonColorProperty = 204;
constexpr Integer cxThemeTextColorProperty = 3803;       // TMT_TEXTCOLOR
constexpr Integer cxThemeContentMarginsProperty = 3602;  // TMT_CONTENTMARGINS

// Theme parts.
constexpr Integer BP_PUSHBUTTON_ = 1, BP_CHECKBOX_ = 3, BP_GROUPBOX_ = 4, BP_COMMANDLINK_ = 6,
                  BP_COMMANDLINKGLYPH_ = 7;
constexpr Integer TP_BUTTON_ = 1, TP_SEPARATOR_ = 5, TP_SEPARATORVERT_ = 6;
constexpr Integer TVP_GLYPH_ = 2;
constexpr Integer EBP_NORMALGROUPCOLLAPSE_ = 6, EBP_NORMALGROUPEXPAND_ = 7;
constexpr Integer SBP_ARROWBTN_ = 1, SBP_THUMBBTNHORZ_ = 2, SBP_THUMBBTNVERT_ = 3,
                  SBP_LOWERTRACKHORZ_ = 4, SBP_UPPERTRACKHORZ_ = 5, SBP_LOWERTRACKVERT_ = 6,
                  SBP_UPPERTRACKVERT_ = 7, SBP_GRIPPERHORZ_ = 8, SBP_GRIPPERVERT_ = 9,
                  SBP_SIZEBOX_ = 10;
constexpr Integer LVP_BORDER_ = 5;
constexpr Integer LBCP_BORDER_NOSCROLL_ = 3;

// Theme states by check state, then button state.
constexpr Integer CheckBoxStates[3][5] = {{1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}, {9, 9, 10, 11, 12}};
// Scroll-bar arrow states by direction (up, down, left, right), then button
// state.
constexpr Integer ArrowStates[4][5] = {
    {1, 1, 2, 3, 4}, {5, 5, 6, 7, 8}, {9, 9, 10, 11, 12}, {13, 13, 14, 15, 16}};

Integer ThumbState(TcxButtonState AState) {
  switch (AState) {
    case cxbsHot:
      return 2;
    case cxbsPressed:
      return 3;
    case cxbsDisabled:
      return 4;
    default:
      return 1;
  }
}

Integer GroupExpandState(TcxButtonState AState) {
  switch (AState) {
    case cxbsHot:
      return 2;
    case cxbsPressed:
      return 3;
    default:
      return 1;
  }
}

// Elements that exist only from Windows Vista on.
HTHEME VistaTheme(TdxThemedObjectType AType) {
  return IsWinVistaOrLater ? OpenTheme(AType) : nullptr;
}

bool ThemePartSize(HTHEME ATheme, HDC DC, Integer APart, Integer AState, THEMESIZE AKind,
                   TSize& ASize) {
  SIZE S{0, 0};
  if (FAILED(dxUxTheme::GetThemePartSize(ATheme, DC, APart, AState, nullptr, AKind, &S)))
    return false;
  ASize = TSize{S.cx, S.cy};
  return true;
}

void DrawPart(HTHEME ATheme, HDC DC, Integer APart, Integer AState, const TRect& R) {
  dxUxTheme::DrawThemeBackground(ATheme, DC, APart, AState, &R, nullptr);
}

// A theme part drawn at its true size, with its alpha recovered: the theme
// draws the part twice, over black and over white. A pixel the theme left
// alone differs by the full range between the two and becomes transparent;
// one it covered comes out the same on both, black included.
TOwned<TdxSmartImage> ThemePartImage(HTHEME ATheme, Integer APart, Integer AState,
                                     const TSize& ASize) {
  auto DrawOver = [&](TColor ABackground) {
    TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(ASize.cx, ASize.cy));
    B->cxCanvas()->FillRect(B->ClientRect(), ABackground);
    DrawPart(ATheme, B->cxCanvas()->Handle(), APart, AState, B->ClientRect());
    TRGBColors Pixels;
    GetBitmapBits(B.get(), Pixels, true);
    return Pixels;
  };
  TRGBColors OnBlack = DrawOver(clBlack);
  TRGBColors OnWhite = DrawOver(clWhite);
  dxRecoverAlphaFromBackgrounds(OnBlack, OnWhite);
  return TOwned<TdxSmartImage>(TdxCustomSmartImage::CreateFromBits<TdxSmartImage>(
      ASize.cx, ASize.cy, OnBlack, TAlphaFormat::afPremultiplied));
}

// A bitmap resource of the program as a 32-bit bitmap.
TOwned<TcxBitmap32> LoadGlyph(const wchar_t* AName) {
  TOwned<TcxBitmap32> Glyph(Create<TcxBitmap32>());
  Glyph->BeginUpdate();
  {
    auto To32Bits = Finally([&Glyph] {
      Glyph->SetPixelFormat(TPixelFormat::pf32bit);
      Glyph->EndUpdate(true);
    });
    Glyph->LoadFromResourceName(GetModuleHandleW(nullptr), AName);
  }
  return Glyph;
}
}  // namespace

void dxRecoverAlphaFromBackgrounds(TRGBColors& AOnBlack, const TRGBColors& AOnWhite) {
  for (size_t I = 0; I < AOnBlack.size() && I < AOnWhite.size(); ++I) {
    RGBQUAD& B = AOnBlack[I];
    const RGBQUAD& W = AOnWhite[I];
    // What the background still shows through is the part's transparency.
    Integer ShowThrough = (Integer(W.rgbRed) - B.rgbRed + Integer(W.rgbGreen) - B.rgbGreen +
                           Integer(W.rgbBlue) - B.rgbBlue) /
                          3;
    Byte Alpha = static_cast<Byte>(std::clamp(255 - ShowThrough, 0, 255));
    // Drawn over black, the colours are already multiplied by the alpha.
    B.rgbRed = std::min(B.rgbRed, Alpha);
    B.rgbGreen = std::min(B.rgbGreen, Alpha);
    B.rgbBlue = std::min(B.rgbBlue, Alpha);
    B.rgbReserved = Alpha;
  }
}

IMPLEMENT_CREATABLE_CLASS(TcxWinXPLookAndFeelPainter)

TcxWinXPLookAndFeelPainter::~TcxWinXPLookAndFeelPainter() {
  FZoomOutButtonGlyph.reset();
  FZoomInButtonGlyph.reset();
}

void TcxWinXPLookAndFeelPainter::AfterConstruction() {
  inherited::AfterConstruction();
  FZoomInButtonGlyph = LoadGlyph(L"CX_ZOOMINBUTTONGLYPH");
  FZoomOutButtonGlyph = LoadGlyph(L"CX_ZOOMOUTBUTTONGLYPH");
}

String TcxWinXPLookAndFeelPainter::LookAndFeelName() { return L"Native"; }

TcxLookAndFeelStyle TcxWinXPLookAndFeelPainter::LookAndFeelStyle() { return lfsNative; }

bool TcxWinXPLookAndFeelPainter::NeedRedrawOnResize() { return AreVisualStylesAvailable(); }

// ---------------------------------------------------------------------------
// Theme access
void TcxWinXPLookAndFeelPainter::DrawScaledThemeBackground(HTHEME ATheme, HDC DC, bool AForceScale,
                                                           const TdxScaleFactor* AScaleFactor,
                                                           const TRect& R, Integer AStateId,
                                                           Integer APartId) {
  if (!ATheme) return;
  if (!AForceScale && AScaleFactor->Equals(dxSystemScaleFactor())) {
    DrawPart(ATheme, DC, APartId, AStateId, R);
    return;
  }
  TSize Size{0, 0};
  if (!ThemePartSize(ATheme, DC, APartId, AStateId, TS_TRUE, Size) || Size.cx <= 0 || Size.cy <= 0)
    return;
  // Stretched through GDI+, which resamples premultiplied pixels soundly.
  ThemePartImage(ATheme, APartId, AStateId, Size)->StretchDraw(DC, R, 255);
}

bool TcxWinXPLookAndFeelPainter::cxGetThemeColor(TdxThemedObjectType AType, Integer APart,
                                                 Integer AState, Integer AProperty,
                                                 TColor& AColor) {
  HTHEME Theme = OpenTheme(AType);
  if (!Theme) return false;
  COLORREF Color = 255;
  bool Result = SUCCEEDED(dxUxTheme::GetThemeColor(Theme, APart, AState, AProperty, &Color));
  AColor = static_cast<TColor>(Color);
  return Result;
}

// ---------------------------------------------------------------------------
// Buttons and command links
void TcxWinXPLookAndFeelPainter::DrawScaledButton(TcxCanvas* ACanvas, const TRect& R,
                                                  const String& ACaption, TcxButtonState AState,
                                                  const TdxScaleFactor* AScaleFactor,
                                                  bool ADrawBorder, TColor AColor,
                                                  TColor ATextColor, bool AWordWrap,
                                                  bool AIsToolButton, TcxButtonPart APart) {
  HTHEME Theme = OpenTheme(AIsToolButton ? totToolBar : totButton);
  if (!Theme) {
    inherited::DrawScaledButton(ACanvas, R, ACaption, AState, AScaleFactor, ADrawBorder, AColor,
                                ATextColor, AWordWrap, AIsToolButton, APart);
    return;
  }
  Integer Part = AIsToolButton ? TP_BUTTON_ : BP_PUSHBUTTON_;
  Integer State = BtnStateToXPBtnState(AState);
  HDC DC = ACanvas->Handle();
  DrawPart(Theme, DC, Part, State, R);
  if (ACaption.empty()) return;
  ACanvas->Canvas()->SelectFont();
  dxUxTheme::DrawThemeText(Theme, DC, Part, State, ACaption, -1,
                           DT_CENTER | DT_VCENTER | DT_SINGLELINE, 0, &R);
}

Integer TcxWinXPLookAndFeelPainter::ButtonBorderSize(TcxButtonState AState) {
  HTHEME Theme = OpenTheme(totButton);
  RECT Bounds{0, 0, 100, 100}, Content{0, 0, 0, 0};
  if (!Theme ||
      FAILED(dxUxTheme::GetThemeBackgroundContentRect(
          Theme, nullptr, BP_PUSHBUTTON_, BtnStateToXPBtnState(AState), &Bounds, &Content)))
    return inherited::ButtonBorderSize(cxbsNormal);
  return Content.left;
}

TColor TcxWinXPLookAndFeelPainter::ButtonColor(TcxButtonState AState) {
  TColor Color;
  if (cxGetThemeColor(totButton, BP_PUSHBUTTON_, BtnStateToXPBtnState(AState),
                      cxButtonColorProperty, Color))
    return Color;
  return inherited::ButtonColor(AState);
}

TColor TcxWinXPLookAndFeelPainter::ButtonSymbolColor(TcxButtonState AState, TColor ADefaultColor) {
  TColor Color;
  if (cxGetThemeColor(totButton, BP_PUSHBUTTON_, BtnStateToXPBtnState(AState),
                      cxThemeTextColorProperty, Color))
    return Color;
  return inherited::ButtonSymbolColor(AState, ADefaultColor);
}

TRect TcxWinXPLookAndFeelPainter::ScaledButtonFocusRect(TcxCanvas* ACanvas, const TRect& R,
                                                        const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = OpenTheme(totButton);
  RECT Content{0, 0, 0, 0};
  if (!Theme || FAILED(dxUxTheme::GetThemeBackgroundContentRect(Theme, ACanvas->Handle(),
                                                                BP_PUSHBUTTON_, 1, &R, &Content)))
    return inherited::ScaledButtonFocusRect(ACanvas, R, AScaleFactor);
  return Content;
}

Integer TcxWinXPLookAndFeelPainter::ScaledButtonTextOffset(const TdxScaleFactor* AScaleFactor) {
  return AScaleFactor->Apply(2);
}

Integer TcxWinXPLookAndFeelPainter::ScaledButtonTextShift(const TdxScaleFactor*) { return 0; }

bool TcxWinXPLookAndFeelPainter::IsButtonHotTrack() { return true; }

void TcxWinXPLookAndFeelPainter::DrawScaledArrowBorder(TcxCanvas* ACanvas, const TRect& R,
                                                       TcxButtonState AState,
                                                       const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totButton))
    DrawPart(Theme, ACanvas->Handle(), BP_PUSHBUTTON_, BtnStateToXPBtnState(AState), R);
  else
    inherited::DrawScaledArrowBorder(ACanvas, R, AState, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawScaledSmallButton(TcxCanvas* ACanvas, const TRect& R,
                                                       TcxButtonState AState,
                                                       const TdxScaleFactor* AScaleFactor) {
  DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, true, clDefault, clDefault, false,
                   false, cxbpButton);
}

TColor TcxWinXPLookAndFeelPainter::DefaultCommandLinkTextColor(TcxButtonState AState,
                                                               TColor ADefaultColor) {
  if (HTHEME Theme = VistaTheme(totButton)) {
    COLORREF Color = 255;
    if (SUCCEEDED(dxUxTheme::GetThemeColor(Theme, BP_COMMANDLINK_, BtnStateToXPBtnState(AState),
                                           cxThemeTextColorProperty, &Color)))
      return static_cast<TColor>(Color);
  }
  return inherited::DefaultCommandLinkTextColor(AState, ADefaultColor);
}

void TcxWinXPLookAndFeelPainter::DrawScaledCommandLinkBackground(TcxCanvas* ACanvas, const TRect& R,
                                                                 TcxButtonState AState,
                                                                 const TdxScaleFactor* AScaleFactor,
                                                                 TColor AColor) {
  if (HTHEME Theme = VistaTheme(totButton)) {
    DrawPart(Theme, ACanvas->Handle(), BP_COMMANDLINK_, BtnStateToXPBtnState(AState), R);
  } else if (TcxCustomLookAndFeelPainter* Flat = RegisteredPainter(lfsFlat)) {
    // Without a theme a command link is a flat face, framed only while the
    // mouse is on it or presses it.
    bool Border = AState == cxbsHot || AState == cxbsPressed;
    Flat->DrawScaledButton(ACanvas, R, String(), AState, AScaleFactor, Border, AColor, clDefault,
                           false, false, cxbpButton);
  } else {
    inherited::DrawScaledCommandLinkBackground(ACanvas, R, AState, AScaleFactor, AColor);
  }
}

void TcxWinXPLookAndFeelPainter::DrawScaledCommandLinkGlyph(TcxCanvas* ACanvas,
                                                            const TPoint& AGlyphPos,
                                                            TcxButtonState AState,
                                                            const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = VistaTheme(totButton);
  if (!Theme) {
    inherited::DrawScaledCommandLinkGlyph(ACanvas, AGlyphPos, AState, AScaleFactor);
    return;
  }
  TSize Size = GetScaledCommandLinkGlyphSize(AScaleFactor);
  TRect R = cxRect(AGlyphPos.x, AGlyphPos.y, AGlyphPos.x + Size.cx, AGlyphPos.y + Size.cy);
  HDC DC = ACanvas->Handle();
  cxRightToLeftDependentDraw(ACanvas, R, [&] {
    DrawPart(Theme, DC, BP_COMMANDLINKGLYPH_, BtnStateToXPBtnState(AState), R);
  });
}

TSize TcxWinXPLookAndFeelPainter::GetScaledCommandLinkGlyphSize(
    const TdxScaleFactor* AScaleFactor) {
  TSize Size{0, 0};
  HTHEME Theme = VistaTheme(totButton);
  if (Theme && ThemePartSize(Theme, nullptr, BP_COMMANDLINKGLYPH_, 1, TS_TRUE, Size)) return Size;
  return inherited::GetScaledCommandLinkGlyphSize(AScaleFactor);
}

TRect TcxWinXPLookAndFeelPainter::GetScaledCommandLinkMargins(const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = VistaTheme(totButton);
  MARGINS M{};
  if (!Theme || FAILED(dxUxTheme::GetThemeMargins(Theme, nullptr, BP_COMMANDLINK_, 0,
                                                  cxThemeContentMarginsProperty, nullptr, &M)))
    return inherited::GetScaledCommandLinkMargins(AScaleFactor);
  return AScaleFactor->Apply(
      cxRect(M.cxLeftWidth, M.cyTopHeight, M.cxRightWidth, M.cyBottomHeight));
}

// ---------------------------------------------------------------------------
// Check boxes and expand buttons
Integer TcxWinXPLookAndFeelPainter::CheckBorderSize() {
  return OpenTheme(totButton) ? 0 : inherited::CheckBorderSize();
}

TSize TcxWinXPLookAndFeelPainter::ScaledCheckButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize Size{0, 0};
  HTHEME Theme = OpenTheme(totButton);
  if (Theme && ThemePartSize(Theme, nullptr, BP_CHECKBOX_, 5, TS_TRUE, Size))
    return AScaleFactor->Apply(Size, dxSystemScaleFactor());
  return inherited::ScaledCheckButtonSize(AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawScaledCheck(TcxCanvas* ACanvas, const TRect& R,
                                                 TcxButtonState AState,
                                                 TcxCheckBoxState ACheckState, TColor AColor,
                                                 const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totButton))
    DrawScaledThemeBackground(Theme, ACanvas->Handle(), false, AScaleFactor, R,
                              CheckBoxStates[ACheckState][AState], BP_CHECKBOX_);
  else
    inherited::DrawScaledCheck(ACanvas, R, AState, ACheckState, AColor, AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawCheckBorder(TcxCanvas* ACanvas, const TRect& R,
                                                 TcxButtonState AState) {
  // The themed check box carries its own border.
  if (!OpenTheme(totButton)) inherited::DrawCheckBorder(ACanvas, R, AState);
}

void TcxWinXPLookAndFeelPainter::DrawScaledExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                        bool AExpanded,
                                                        const TdxScaleFactor* AScaleFactor,
                                                        TColor AColor, TcxButtonState AState) {
  HTHEME Theme = OpenTheme(totTreeview);
  if (!Theme) {
    inherited::DrawScaledExpandButton(ACanvas, R, AExpanded, AScaleFactor, AColor, AState);
    return;
  }
  DrawScaledThemeBackground(Theme, ACanvas->Handle(), false, AScaleFactor, R, AExpanded ? 2 : 1,
                            TVP_GLYPH_);
  ACanvas->ExcludeClipRect(R);
}

bool TcxWinXPLookAndFeelPainter::DrawExpandButtonFirst() { return false; }

void TcxWinXPLookAndFeelPainter::DrawScaledSmallExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                             bool AExpanded, TColor ABorderColor,
                                                             const TdxScaleFactor* AScaleFactor,
                                                             TColor AColor) {
  if (OpenTheme(totTreeview))
    DrawScaledExpandButton(ACanvas, R, AExpanded, AScaleFactor, clDefault, cxbsDefault);
  else
    inherited::DrawScaledSmallExpandButton(ACanvas, R, AExpanded, ABorderColor, AScaleFactor,
                                           AColor);
}

Integer TcxWinXPLookAndFeelPainter::ScaledExpandButtonSize(const TdxScaleFactor* AScaleFactor) {
  TSize Size{0, 0};
  HTHEME Theme = OpenTheme(totTreeview);
  if (Theme && ThemePartSize(Theme, nullptr, TVP_GLYPH_, 2, TS_TRUE, Size))
    return AScaleFactor->Apply(Size.cx, dxSystemScaleFactor());
  return inherited::ScaledExpandButtonSize(AScaleFactor);
}

Integer TcxWinXPLookAndFeelPainter::ScaledSmallExpandButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  if (OpenTheme(totTreeview)) return ScaledExpandButtonSize(AScaleFactor);
  return inherited::ScaledSmallExpandButtonSize(AScaleFactor);
}

void TcxWinXPLookAndFeelPainter::DrawScaledGroupExpandButton(TcxCanvas* ACanvas, const TRect& R,
                                                             bool AExpanded, TcxButtonState AState,
                                                             const TdxScaleFactor* AScaleFactor) {
  if (HTHEME Theme = OpenTheme(totExplorerBar))
    DrawPart(Theme, ACanvas->Handle(),
             AExpanded ? EBP_NORMALGROUPCOLLAPSE_ : EBP_NORMALGROUPEXPAND_,
             GroupExpandState(AState), R);
  else
    inherited::DrawScaledGroupExpandButton(ACanvas, R, AExpanded, AState, AScaleFactor);
}

Integer TcxWinXPLookAndFeelPainter::ScaledGroupExpandButtonSize(
    const TdxScaleFactor* AScaleFactor) {
  TSize Size{0, 0};
  HTHEME Theme = OpenTheme(totExplorerBar);
  if (Theme && ThemePartSize(Theme, nullptr, EBP_NORMALGROUPEXPAND_, 1, TS_TRUE, Size))
    return AScaleFactor->Apply(Size.cx);
  return inherited::ScaledGroupExpandButtonSize(AScaleFactor);
}

bool TcxWinXPLookAndFeelPainter::IsPointOverGroupExpandButton(const TRect& R, const TPoint& P) {
  HTHEME Theme = OpenTheme(totExplorerBar);
  HRGN Made = nullptr;
  if (!Theme || FAILED(dxUxTheme::GetThemeBackgroundRegion(Theme, nullptr, EBP_NORMALGROUPEXPAND_,
                                                           2, &R, &Made)))
    return inherited::IsPointOverGroupExpandButton(R, P);
  TRegionHandle Region(Made);
  if (!Region) return inherited::IsPointOverGroupExpandButton(R, P);
  return PtInRegion(Region.Get(), P.x, P.y) != FALSE;
}

// ---------------------------------------------------------------------------
// Arrows, scroll bars and the size grip
void TcxWinXPLookAndFeelPainter::DrawScaledArrow(TcxCanvas* ACanvas, const TRect& R,
                                                 TcxButtonState AState,
                                                 TcxArrowDirection AArrowDirection,
                                                 const TdxScaleFactor* AScaleFactor,
                                                 bool ADrawBorder) {
  if (HTHEME Theme = OpenTheme(totScrollBar))
    DrawPart(Theme, ACanvas->Handle(), SBP_ARROWBTN_, ArrowStates[AArrowDirection][AState], R);
  else
    inherited::DrawScaledArrow(ACanvas, R, AState, AArrowDirection, AScaleFactor, ADrawBorder);
}

Integer TcxWinXPLookAndFeelPainter::ScaledScrollBarMinimalThumbSize(
    bool AVertical, const TdxScaleFactor* AScaleFactor) {
  HTHEME Theme = OpenTheme(totScrollBar);
  Integer Part = AVertical ? SBP_THUMBBTNVERT_ : SBP_THUMBBTNHORZ_;
  TSize Size{0, 0};
  if (!Theme || !ThemePartSize(Theme, nullptr, Part, 1, TS_MIN, Size))
    return inherited::ScaledScrollBarMinimalThumbSize(AVertical, AScaleFactor);
  Integer Length = AVertical ? Size.cy : Size.cx;
  MARGINS M{};
  if (IsWinVistaOrLater &&
      SUCCEEDED(dxUxTheme::GetThemeMargins(Theme, nullptr, Part, 1, cxThemeContentMarginsProperty,
                                           nullptr, &M)))
    Length += AVertical ? M.cyTopHeight + M.cyBottomHeight : M.cxLeftWidth + M.cxRightWidth;
  return AScaleFactor->Apply(Length);
}

void TcxWinXPLookAndFeelPainter::DrawScaledScrollBarPart(TcxCanvas* ACanvas, bool AHorizontal,
                                                         const TRect& R, TcxScrollBarPart APart,
                                                         TcxButtonState AState,
                                                         const TdxScaleFactor* AScaleFactor) {
  if (cxRectIsEmpty(R)) return;
  HTHEME Theme = OpenTheme(totScrollBar);
  if (!Theme) {
    inherited::DrawScaledScrollBarPart(ACanvas, AHorizontal, R, APart, AState, AScaleFactor);
    return;
  }
  HDC DC = ACanvas->Handle();
  switch (APart) {
    case sbpLineUp:
    case sbpLineDown:
      DrawScaledArrow(ACanvas, R, AState, GetArrowDirection(AHorizontal, APart), AScaleFactor,
                      true);
      break;
    case sbpThumbnail: {
      Integer State = ThumbState(AState);
      DrawPart(Theme, DC, AHorizontal ? SBP_THUMBBTNHORZ_ : SBP_THUMBBTNVERT_, State, R);
      Integer GripperPart = AHorizontal ? SBP_GRIPPERHORZ_ : SBP_GRIPPERVERT_;
      TSize Gripper{0, 0};
      bool Fits = !ThemePartSize(Theme, DC, GripperPart, State, TS_TRUE, Gripper) ||
                  (AHorizontal ? AScaleFactor->Apply(Gripper.cy) < cxRectWidth(R)
                               : AScaleFactor->Apply(Gripper.cx) < cxRectHeight(R));
      if (Fits) DrawPart(Theme, DC, GripperPart, State, R);
      break;
    }
    case sbpPageUp:
    case sbpPageDown: {
      Integer Part = AHorizontal ? (APart == sbpPageUp ? SBP_LOWERTRACKHORZ_ : SBP_UPPERTRACKHORZ_)
                                 : (APart == sbpPageUp ? SBP_LOWERTRACKVERT_ : SBP_UPPERTRACKVERT_);
      DrawPart(Theme, DC, Part, ThumbState(AState), R);
      break;
    }
    case sbpNone:
      break;
  }
}

TSize TcxWinXPLookAndFeelPainter::ScaledSizeGripSize(const TdxScaleFactor* AScaleFactor) {
  TSize Size{0, 0};
  HTHEME Theme = OpenTheme(totScrollBar);
  if (!Theme || !ThemePartSize(Theme, nullptr, SBP_SIZEBOX_, 1, TS_TRUE, Size))
    return inherited::ScaledSizeGripSize(AScaleFactor);
  return IsWin8OrLater ? AScaleFactor->Apply(Size, dxSystemScaleFactor())
                       : AScaleFactor->Apply(Size);
}

void TcxWinXPLookAndFeelPainter::DoDrawSizeGrip(TcxCanvas* ACanvas, const TRect& ARect) {
  if (HTHEME Theme = OpenTheme(totScrollBar))
    DrawPart(Theme, ACanvas->Handle(), SBP_SIZEBOX_, 1, ARect);
  else
    inherited::DoDrawSizeGrip(ACanvas, ARect);
}

// ---------------------------------------------------------------------------
// Borders, separators, bevels and popup borders
Integer TcxWinXPLookAndFeelPainter::BorderSize() {
  return OpenTheme(totListView) ? 1 : inherited::BorderSize();
}

void TcxWinXPLookAndFeelPainter::DrawBorder(TcxCanvas* ACanvas, const TRect& R) {
  HTHEME Theme = OpenTheme(totListView);
  if (!Theme) {
    inherited::DrawBorder(ACanvas, R);
    return;
  }
  // Only the outer pixel of the theme's border.
  ACanvas->SaveDC();
  auto Restore = Finally([ACanvas] { ACanvas->RestoreDC(); });
  ACanvas->ExcludeClipRect(cxRectInflate(R, -1, -1));
  DrawPart(Theme, ACanvas->Handle(), LVP_BORDER_, 0, R);
}

Integer TcxWinXPLookAndFeelPainter::SeparatorSize() { return 6; }

void TcxWinXPLookAndFeelPainter::DoDrawSeparator(TcxCanvas* ACanvas, const TRect& R,
                                                 bool AIsVertical) {
  if (HTHEME Theme = OpenTheme(totToolBar))
    DrawPart(Theme, ACanvas->Handle(), AIsVertical ? TP_SEPARATOR_ : TP_SEPARATORVERT_, 1, R);
  else
    inherited::DoDrawSeparator(ACanvas, R, AIsVertical);
}

void TcxWinXPLookAndFeelPainter::DrawBevelFrame(TcxCanvas* ACanvas, const TRect& R, TColor AColor1,
                                                TColor AColor2, bool ABoxStyle) {
  if (HTHEME Theme = OpenTheme(totButton))
    DrawPart(Theme, ACanvas->Handle(), BP_GROUPBOX_, 1, R);
  else
    inherited::DrawBevelFrame(ACanvas, R, AColor1, AColor2, ABoxStyle);
}

void TcxWinXPLookAndFeelPainter::DrawBevelLine(TcxCanvas* ACanvas, const TRect& R, TColor AColor1,
                                               TColor AColor2, bool AIsVertical) {
  if (HTHEME Theme = OpenTheme(totToolBar))
    DrawPart(Theme, ACanvas->Handle(), AIsVertical ? TP_SEPARATOR_ : TP_SEPARATORVERT_, 1, R);
  else
    inherited::DrawBevelLine(ACanvas, R, AColor1, AColor2, AIsVertical);
}

TSize TcxWinXPLookAndFeelPainter::GetBevelMinimalShapeSize(TdxBevelShape) { return TSize{6, 6}; }

void TcxWinXPLookAndFeelPainter::DrawEditPopupWindowBorder(TcxCanvas* ACanvas, TRect& R,
                                                           TcxEditPopupBorderStyle, bool) {
  if (IsWinVistaOrLater) {
    if (HTHEME Theme = OpenTheme(totListBox))
      DrawPart(Theme, ACanvas->Handle(), LBCP_BORDER_NOSCROLL_, 3, R);
  } else {
    ACanvas->FrameRect(R, Resolved(clBtnText));
  }
  R = cxRectInflate(R, -1, -1);
}

Integer TcxWinXPLookAndFeelPainter::GetEditPopupWindowBorderWidth(TcxEditPopupBorderStyle) {
  return 1;
}

Integer TcxWinXPLookAndFeelPainter::GetEditPopupWindowClientEdgeWidth(TcxEditPopupBorderStyle) {
  return 2;
}
