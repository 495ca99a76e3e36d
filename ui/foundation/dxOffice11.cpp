#include "dxOffice11.h"

#include "dxDPIAwareUtils.h"
#include "dxThemeManager.h"
#include "dxUxTheme.h"

Integer GradientPercent = 75;

TColor dxOffice11DockColor1, dxOffice11DockColor2, dxOffice11ToolbarsColor1,
    dxOffice11ToolbarsColor2;
TColor dxOffice11BarMarkColors1[3], dxOffice11BarMarkColors2[3], dxOffice11BarBorderColors[2],
    dxOffice11BarBorderMarkColors[6];
TColor dxOffice11BarFingerColor1, dxOffice11BarFingerColor2, dxOffice11BarSeparatorColor1,
    dxOffice11BarSeparatorColor2, dxOffice11BarMarkArrowColor1, dxOffice11BarMarkArrowColor2,
    dxOffice11BarFloatingBorderColor1, dxOffice11BarFloatingBorderColor2,
    dxOffice11BarFloatingBorderColor3, dxOffice11BarFloatingCaptionColor,
    dxOffice11BarFloatingCaptionTextColor1, dxOffice11BarFloatingCaptionTextColor2,
    dxOffice11BarFloatingCaptionTextColor3;
TColor dxOffice11MenuColor, dxOffice11MenuDownedColor1, dxOffice11MenuDownedColor2,
    dxOffice11MenuIndentColor1, dxOffice11MenuIndentColor2, dxOffice11MenuNonRecentIndentColor1,
    dxOffice11MenuNonRecentIndentColor2, dxOffice11DropDownBorderColor1,
    dxOffice11DropDownBorderColor2;
TColor dxOffice11ToolbarSelectedColor, dxOffice11SelectedBorderColor, dxOffice11SelectedColor1,
    dxOffice11SelectedColor2, dxOffice11SelectedDownColor1, dxOffice11SelectedDownColor2,
    dxOffice11OwnerControlDownedColor, dxOffice11DownedColor, dxOffice11DownedSelectedColor,
    dxOffice11DetachableColor, dxOffice11DetachableSelectedColor;
TColor dxOffice11TextEnabledColor, dxOffice11TextDisabledColor, dxOffice11StaticBorderColor,
    dxOffice11DateHeaderColor, dxOffice11InPlaceSubItemColor, dxOffice11InPlaceSubItemTextColor,
    dxOffice11ControlBorderColor, dxOffice11GroupColor, dxOffice11DayNavigatorSelectedColor,
    dxOffice11OutlookBorderColor, dxOffice11OutlookControlColor, dxOffice11GroupIndentColor,
    dxOffice11GroupRowTextColor, dxOffice11GroupRowSeparatorColor;
TColor dxOffice11NavPaneBorder, dxOffice11NavPaneGroupCaptionColor1,
    dxOffice11NavPaneGroupCaptionColor2, dxOffice11NavPaneGroupCaptionHotColor1,
    dxOffice11NavPaneGroupCaptionHotColor2, dxOffice11NavPaneGroupCaptionPressedColor1,
    dxOffice11NavPaneGroupCaptionPressedColor2, dxOffice11NavPaneGroupCaptionPressedHotColor1,
    dxOffice11NavPaneGroupCaptionPressedHotColor2, dxOffice11NavPaneHeaderColor1,
    dxOffice11NavPaneHeaderColor2, dxOffice11NavPaneHeaderFontColor,
    dxOffice11NavPaneSplitterColor1, dxOffice11NavPaneSplitterColor2;
TColor dxOffice11ExpandButtonColor1, dxOffice11ExpandButtonColor2;

HBRUSH dxOffice11BarFingerBrush1, dxOffice11BarFingerBrush2, dxOffice11BarSeparatorBrush1,
    dxOffice11BarSeparatorBrush2, dxOffice11MenuBrush, dxOffice11SelectedBorderBrush,
    dxOffice11ToolbarSelectedBrush, dxOffice11OwnerControlDownedBrush, dxOffice11DownedBrush,
    dxOffice11DownedSelectedBrush, dxOffice11DropDownBorderBrush1, dxOffice11DetachableBrush,
    dxOffice11InPlaceSubItemBrush;
HBRUSH dxOffice11DropDownBorderBrush2, dxOffice11DetachableSelectedBrush,
    dxOffice11StaticBorderBrush;

HBITMAP dxOffice11SubMenuExpandBitmap, dxOffice11ExpandButtonBitmap1, dxOffice11ExpandButtonBitmap2;

namespace {
TOffice11Scheme FOffice11Scheme = schUnknown;
bool FXPStandardScheme = false;
Integer FCounter = 0;

bool PlatformVisualStylesAvailable() { return AreVisualStylesAvailable(); }
TdxOffice11Environment Environment{&PlatformVisualStylesAvailable, &dxGetOffice11Scheme};

const TdxGraphicsRoutines& G() { return dxCheckedGraphicsRoutines(); }
TColor RGBOf(TColor AColor) { return static_cast<TColor>(dxColorToRGB(AColor)); }
TColor Middle(TColor A, TColor B, Integer P) { return G().GetMiddleRGB(A, B, P); }
TColor Nearest(TColor A) { return G().GetNearestColor(A); }
TColor Light(Integer F, Integer H, Integer W) {
  return G().GetLightColor(static_cast<ShortInt>(F), static_cast<ShortInt>(H),
                           static_cast<ShortInt>(W));
}

// The three standard schemes, in the order of TOffice11Scheme.
struct TSchemeRow {
  TColor* Target;
  TColor Values[3];
};
const TSchemeRow Office11Colors[49] = {
    {&dxOffice11ToolbarsColor1, {0xFEECDD, 0xDEF7F4, 0xFAF4F3}},
    {&dxOffice11ToolbarsColor2, {0xE2A981, 0x91C6B7, 0xB59799}},
    {&dxOffice11DockColor1, {0xF5BE9E, 0xA7D9D9, 0xE5D7D7}},
    {&dxOffice11DockColor2, {0xF9DAC3, 0xE4F0F2, 0xF7F3F3}},
    {&dxOffice11BarMarkColors2[0], {0x913500, 0x6B7760, 0x927476}},
    {&dxOffice11BarMarkColors1[0], {0xF1A675, 0x8CC2B0, 0xC8B2B3}},
    {&dxOffice11BarMarkColors2[1], {0x76C1FF, 0x76C1FF, 0x76C1FF}},
    {&dxOffice11BarMarkColors1[1], {0xD3F8FF, 0xD3F8FF, 0xD3F8FF}},
    {&dxOffice11BarMarkColors2[2], {0x98DDFF, 0x98DDFF, 0x98DDFF}},
    {&dxOffice11BarMarkColors1[2], {0x5295FE, 0x5295FE, 0x5295FE}},
    {&dxOffice11BarBorderColors[0], {0x9C613B, 0x588060, 0x947C7C}},
    {&dxOffice11BarBorderColors[1], {0xE0A47B, 0x8FC4B5, 0xB09193}},
    {&dxOffice11BarFingerColor1, {0x764127, 0x335E51, 0x755454}},
    {&dxOffice11BarFingerColor2, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
    {&dxOffice11BarSeparatorColor1, {0xCB8C6A, 0x588060, 0x8F6D6E}},
    {&dxOffice11BarSeparatorColor2, {0xFFF9F1, 0xDEF7F4, 0xFFFFFF}},
    {&dxOffice11BarFloatingBorderColor1, {0xC9662A, 0x5E8674, 0x99797A}},
    {&dxOffice11BarFloatingBorderColor2, {0xF9DBC4, 0xADDEE1, 0xE4DADB}},
    {&dxOffice11DropDownBorderColor1, {0x962D00, 0x5E8D75, 0x947C7C}},
    {&dxOffice11MenuColor, {0xF6F6F6, 0xEEF4F4, 0xFFFAFD}},
    {&dxOffice11ToolbarSelectedColor, {0xC2EEFF, 0xC2EEFF, 0xC2EEFF}},
    {&dxOffice11SelectedBorderColor, {0x800000, 0x385D3F, 0x6F4B4B}},
    {&dxOffice11SelectedColor1, {0xCCF4FF, 0xCCF4FF, 0xCCF4FF}},
    {&dxOffice11SelectedColor2, {0x91D0FF, 0x91D0FF, 0x91D0FF}},
    {&dxOffice11SelectedDownColor1, {0x8ED3FF, 0x8ED3FF, 0x8ED3FF}},
    {&dxOffice11SelectedDownColor2, {0x4E91FE, 0x4E91FE, 0x4E91FE}},
    {&dxOffice11OwnerControlDownedColor, {0xFCE1CB, 0xB6E3D8, 0xE7D3D6}},
    {&dxOffice11DownedColor, {0x6FC0FF, 0x6FC0FF, 0x6FC0FF}},
    {&dxOffice11DownedSelectedColor, {0x3E80FE, 0x3E80FE, 0x3E80FE}},
    {&dxOffice11DetachableColor, {0xF0C7A9, 0x9FD4C5, 0xD3C0C0}},
    {&dxOffice11TextEnabledColor, {0x000000, 0x000000, 0x000000}},
    {&dxOffice11TextDisabledColor, {0x8D8D8D, 0x8D8D8D, 0x8D8D8D}},
    {&dxOffice11GroupColor, {0xFBDABE, 0x91BAAF, 0xEBE5E5}},
    {&dxOffice11DayNavigatorSelectedColor, {0x94E6FB, 0x94E6FB, 0x94E6FB}},
    {&dxOffice11OutlookControlColor, {0xFADAC4, 0xE4F1F2, 0xF7F3F3}},
    {&dxOffice11OutlookBorderColor, {0x962D00, 0x588060, 0x947C7C}},
    {&dxOffice11GroupRowTextColor, {0xB96837, 0x548973, 0x916F70}},
    {&dxOffice11NavPaneBorder, {0x962D00, 0x5E8D75, 0x947C7C}},
    {&dxOffice11NavPaneGroupCaptionColor1, {0xFBE5D3, 0xDBF5F2, 0xF8F1F0}},
    {&dxOffice11NavPaneGroupCaptionColor2, {0xE4AE88, 0x97C9BC, 0xBA9EA0}},
    {&dxOffice11NavPaneGroupCaptionHotColor1, {0xDCFFFF, 0xDCFFFF, 0xDCFFFF}},
    {&dxOffice11NavPaneGroupCaptionHotColor2, {0x5BC0F7, 0x5BC0F7, 0x5BC0F7}},
    {&dxOffice11NavPaneGroupCaptionPressedColor1, {0x94E6FB, 0x94E6FB, 0x94E6FB}},
    {&dxOffice11NavPaneGroupCaptionPressedColor2, {0x1595EE, 0x1595EE, 0x1595EE}},
    {&dxOffice11NavPaneGroupCaptionPressedHotColor1, {0x087FE8, 0x087FE8, 0x087FE8}},
    {&dxOffice11NavPaneGroupCaptionPressedHotColor2, {0x7CDAF7, 0x7CDAF7, 0x7CDAF7}},
    {&dxOffice11NavPaneHeaderColor1, {0xD68759, 0x82C0AF, 0xBFA7A8}},
    {&dxOffice11NavPaneHeaderColor2, {0x933803, 0x447A63, 0x916F70}},
    {&dxOffice11NavPaneHeaderFontColor, {0xFFFFFF, 0xFFFFFF, 0xFFFFFF}},
};

void InitTablePalette(TOffice11Scheme AScheme) {
  const int Column = AScheme - schNormalColor;
  for (const TSchemeRow& Row : Office11Colors) *Row.Target = Row.Values[Column];
  for (int I = 0; I < 3; ++I) {
    dxOffice11BarBorderMarkColors[I] =
        Middle(dxOffice11BarMarkColors1[I], dxOffice11ToolbarsColor1, 90);
    dxOffice11BarBorderMarkColors[3 + I] =
        Middle(dxOffice11BarMarkColors2[I], dxOffice11BarBorderColors[1], 50);
  }
  dxOffice11BarMarkArrowColor1 = clBlack;
  dxOffice11BarMarkArrowColor2 = clWhite;
  dxOffice11BarFloatingCaptionTextColor1 = clWhite;
  dxOffice11BarFloatingCaptionTextColor2 = clBlack;
  dxOffice11BarFloatingCaptionTextColor3 = clBlack;
  GradientPercent = Office11GradientPercents[Column];
  dxOffice11GroupIndentColor = 0xC9EEFD;
  dxOffice11GroupRowSeparatorColor = dxOffice11BarBorderColors[1];
  dxOffice11NavPaneSplitterColor1 = dxOffice11NavPaneHeaderColor1;
  dxOffice11NavPaneSplitterColor2 = dxOffice11NavPaneHeaderColor2;
}

// The nav-pane caption shades of the button face: lighter towards white for
// the start, barely changed for the end.
TColor NavPaneCaptionColor(bool AStart) {
  COLORREF C = dxColorToRGB(clBtnFace);
  auto Map = [AStart](Integer V) { return AStart ? V * 127 / 255 + 128 : V + 4 - V * 4 / 255; };
  return Nearest(static_cast<TColor>(RGB(Map(GetRValue(C)), Map(GetGValue(C)), Map(GetBValue(C)))));
}

void InitSystemPalette() {
  dxOffice11DockColor1 = RGBOf(clBtnFace);
  dxOffice11DockColor2 = Middle(clBtnFace, clWindow, 20);
  dxOffice11ToolbarsColor1 = Middle(clBtnFace, clWindow, 22);
  dxOffice11ToolbarsColor2 = Middle(clBtnFace, clWindow, 96);
  dxOffice11BarMarkColors2[0] = RGBOf(clBtnShadow);
  dxOffice11BarMarkColors1[0] = Middle(dxOffice11BarMarkColors2[0], clWindow, 74);
  dxOffice11BarMarkColors1[1] = dxOffice11BarMarkColors2[1] = Nearest(Light(241, 29, 86));
  dxOffice11BarMarkColors1[2] = dxOffice11BarMarkColors2[2] = Nearest(Light(42, 11, 47));
  dxOffice11BarBorderColors[0] = Middle(clBtnFace, clWindow, 85);
  dxOffice11BarBorderColors[1] = RGBOf(clBtnFace);
  for (int I = 0; I < 3; ++I) {
    dxOffice11BarBorderMarkColors[I] = Middle(dxOffice11BarMarkColors2[I], clWindow, 50);
    dxOffice11BarBorderMarkColors[3 + I] =
        Middle(dxOffice11BarMarkColors2[I], dxOffice11BarBorderColors[1], 50);
  }
  dxOffice11BarFingerColor1 = Middle(clBtnShadow, clWindow, 76);
  dxOffice11BarFingerColor2 = RGBOf(clWindow);
  dxOffice11BarSeparatorColor1 = Middle(clBtnShadow, clWindow, 70);
  dxOffice11BarSeparatorColor2 = RGBOf(clWhite);
  dxOffice11BarMarkArrowColor1 = RGBOf(clBtnText);
  dxOffice11BarMarkArrowColor2 = RGBOf(clWindow);
  dxOffice11BarFloatingBorderColor1 = RGBOf(clBtnShadow);
  dxOffice11BarFloatingBorderColor2 = dxOffice11ToolbarsColor2;
  dxOffice11BarFloatingCaptionTextColor1 = RGBOf(clBtnHighlight);
  dxOffice11BarFloatingCaptionTextColor2 = RGBOf(clBtnText);
  dxOffice11BarFloatingCaptionTextColor3 = RGBOf(clBtnText);
  dxOffice11DropDownBorderColor1 = RGBOf(clBtnShadow);
  dxOffice11MenuColor = RGBOf(clWindow);
  dxOffice11ToolbarSelectedColor = dxOffice11SelectedColor1 = dxOffice11SelectedColor2 =
      Nearest(Light(254, 30, 72));
  dxOffice11SelectedBorderColor = RGBOf(clHighlight);
  dxOffice11OwnerControlDownedColor = dxOffice11DetachableColor = dxOffice11ToolbarsColor2;
  dxOffice11DownedColor = Light(41, 11, 48);
  dxOffice11DownedSelectedColor = dxOffice11SelectedDownColor1 = dxOffice11SelectedDownColor2 =
      Nearest(Light(14, 44, 40));
  dxOffice11TextEnabledColor = RGBOf(clBtnText);
  dxOffice11TextDisabledColor = RGBOf(clGrayText);
  GradientPercent = 75;
  dxOffice11GroupColor = dxOffice11GroupIndentColor = RGBOf(clBtnFace);
  dxOffice11DayNavigatorSelectedColor = dxOffice11DownedColor;
  dxOffice11OutlookControlColor = dxOffice11DockColor1;
  dxOffice11OutlookBorderColor = dxOffice11DropDownBorderColor1;
  dxOffice11GroupRowTextColor = dxOffice11GroupRowSeparatorColor = RGBOf(clBtnShadow);
  dxOffice11NavPaneBorder = Nearest(RGBOf(clBtnShadow));
  dxOffice11NavPaneGroupCaptionColor1 = NavPaneCaptionColor(true);
  dxOffice11NavPaneGroupCaptionColor2 = NavPaneCaptionColor(false);
  dxOffice11NavPaneGroupCaptionHotColor1 = dxOffice11SelectedColor1;
  dxOffice11NavPaneGroupCaptionHotColor2 = dxOffice11SelectedColor2;
  dxOffice11NavPaneGroupCaptionPressedColor1 = dxOffice11NavPaneGroupCaptionPressedColor2 =
      dxOffice11DownedColor;
  dxOffice11NavPaneGroupCaptionPressedHotColor1 = dxOffice11NavPaneGroupCaptionPressedHotColor2 =
      dxOffice11DownedSelectedColor;
  dxOffice11NavPaneHeaderColor1 = dxOffice11NavPaneHeaderColor2 = dxOffice11NavPaneBorder;
  dxOffice11NavPaneHeaderFontColor = RGBOf(clHighlightText);
  dxOffice11NavPaneSplitterColor1 = Nearest(RGBOf(clBtnFace));
  dxOffice11NavPaneSplitterColor2 = dxOffice11NavPaneBorder;
}

void InitCommonColors() {
  dxOffice11BarFloatingBorderColor3 = dxOffice11ToolbarsColor1;
  dxOffice11BarFloatingCaptionColor = dxOffice11BarFloatingBorderColor1;
  dxOffice11DropDownBorderColor2 = dxOffice11MenuColor;
  dxOffice11MenuDownedColor1 = dxOffice11MenuIndentColor1 = dxOffice11ToolbarsColor1;
  dxOffice11MenuDownedColor2 = dxOffice11MenuIndentColor2 = dxOffice11ToolbarsColor2;
  dxOffice11MenuNonRecentIndentColor1 = Middle(dxOffice11MenuIndentColor1, clBlack, 92);
  dxOffice11MenuNonRecentIndentColor2 = Middle(dxOffice11MenuIndentColor2, clBlack, 92);
  dxOffice11DetachableSelectedColor = dxOffice11ToolbarSelectedColor;
  dxOffice11StaticBorderColor = dxOffice11ControlBorderColor = dxOffice11DropDownBorderColor1;
  dxOffice11DateHeaderColor = dxOffice11DockColor1;
  dxOffice11InPlaceSubItemColor = dxOffice11BarBorderMarkColors[3];
  dxOffice11InPlaceSubItemTextColor = dxOffice11BarFloatingCaptionTextColor1;
}

void InitOffice11Colors() {
  FOffice11Scheme = Environment.GetScheme();
  FXPStandardScheme = Environment.VisualStylesAvailable() && FOffice11Scheme != schUnknown;
  if (FXPStandardScheme)
    InitTablePalette(FOffice11Scheme);
  else
    InitSystemPalette();
  InitCommonColors();
}

// ---------------------------------------------------------------------------
// Bitmaps

constexpr TColor GlyphTransparent = 0xFF00FF;

// A top-down 32-bit DIB section holding the pixels (colour values).
HBITMAP CreateBitmapFromPixels(Integer AWidth, Integer AHeight,
                               const std::vector<TColor>& APixels) {
  BITMAPINFO Info = {};
  Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  Info.bmiHeader.biWidth = AWidth;
  Info.bmiHeader.biHeight = -AHeight;
  Info.bmiHeader.biPlanes = 1;
  Info.bmiHeader.biBitCount = 32;
  Info.bmiHeader.biCompression = BI_RGB;
  void* Bits = nullptr;
  HBITMAP Bitmap = CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
  if (!Bitmap) RaiseLastOSError();
  RGBQUAD* Q = static_cast<RGBQUAD*>(Bits);
  for (size_t I = 0; I < APixels.size(); ++I) {
    COLORREF C = static_cast<COLORREF>(APixels[I]);
    Q[I] = RGBQUAD{GetBValue(C), GetGValue(C), GetRValue(C), 0xFF};
  }
  return Bitmap;
}

// A right-pointing arrow, shaded from dark at its base to light at its tip so
// that the recolouring spreads the toolbar gradient over it.
std::vector<TColor> SubMenuExpandPixels() {
  std::vector<TColor> P(16 * 16, GlyphTransparent);
  for (int Col = 6; Col <= 9; ++Col) {
    int Grey = 0x50 + 0x28 * (Col - 6);
    for (int Row = 4 + (Col - 6); Row <= 11 - (Col - 6); ++Row)
      P[Row * 16 + Col] = static_cast<TColor>(RGB(Grey, Grey, Grey));
  }
  return P;
}

// A white box with a grey border and a black minus, and a plus when asked.
std::vector<TColor> ExpandButtonPixels(bool APlus) {
  std::vector<TColor> P(11 * 11, clWhite);
  for (int I = 0; I < 11; ++I) {
    P[I] = P[10 * 11 + I] = P[I * 11] = P[I * 11 + 10] = static_cast<TColor>(0x808080);
  }
  for (int I = 3; I <= 7; ++I) {
    P[5 * 11 + I] = clBlack;
    if (APlus) P[I * 11 + 5] = clBlack;
  }
  return P;
}

void PrepareSubMenuExpandBitmap() {
  TColor C1 = dxOffice11ToolbarsColor1, C2 = dxOffice11ToolbarsColor2;
  if (C1 == C2) C2 = C1 == clBlack ? clWhite : clBlack;
  std::vector<TColor> Pixels = SubMenuExpandPixels();
  dxOffice11RecolorPixels(Pixels, C1, C2);
  dxOffice11SubMenuExpandBitmap = CreateBitmapFromPixels(16, 16, Pixels);
}

// ---------------------------------------------------------------------------
// Brushes

struct TBrushEntry {
  HBRUSH* Brush;
  const TColor* Color;
};
const TBrushEntry Office11Brushes[] = {
    {&dxOffice11BarFingerBrush1, &dxOffice11BarFingerColor1},
    {&dxOffice11BarFingerBrush2, &dxOffice11BarFingerColor2},
    {&dxOffice11BarSeparatorBrush1, &dxOffice11BarSeparatorColor1},
    {&dxOffice11BarSeparatorBrush2, &dxOffice11BarSeparatorColor2},
    {&dxOffice11MenuBrush, &dxOffice11MenuColor},
    {&dxOffice11SelectedBorderBrush, &dxOffice11SelectedBorderColor},
    {&dxOffice11ToolbarSelectedBrush, &dxOffice11ToolbarSelectedColor},
    {&dxOffice11OwnerControlDownedBrush, &dxOffice11OwnerControlDownedColor},
    {&dxOffice11DownedBrush, &dxOffice11DownedColor},
    {&dxOffice11DownedSelectedBrush, &dxOffice11DownedSelectedColor},
    {&dxOffice11DropDownBorderBrush1, &dxOffice11DropDownBorderColor1},
    {&dxOffice11DetachableBrush, &dxOffice11DetachableColor},
    {&dxOffice11InPlaceSubItemBrush, &dxOffice11InPlaceSubItemColor},
};

void CreateOffice11Brushes() {
  for (const TBrushEntry& E : Office11Brushes)
    *E.Brush = CreateSolidBrush(static_cast<COLORREF>(*E.Color));
  dxOffice11DropDownBorderBrush2 = dxOffice11MenuBrush;
  dxOffice11DetachableSelectedBrush = dxOffice11ToolbarSelectedBrush;
  dxOffice11StaticBorderBrush = dxOffice11DropDownBorderBrush1;
  PrepareSubMenuExpandBitmap();
  dxOffice11ExpandButtonBitmap1 = CreateBitmapFromPixels(11, 11, ExpandButtonPixels(false));
  dxOffice11ExpandButtonBitmap2 = CreateBitmapFromPixels(11, 11, ExpandButtonPixels(true));
  dxOffice11ExpandButtonColor1 = 0xBFAE9E;
  dxOffice11ExpandButtonColor2 = 0x5F462E;
}

void DeleteHandle(HGDIOBJ& AHandle) {
  if (AHandle) DeleteObject(AHandle);
  AHandle = nullptr;
}

void DestroyOffice11Brushes() {
  for (HBITMAP* B : {&dxOffice11SubMenuExpandBitmap, &dxOffice11ExpandButtonBitmap1,
                     &dxOffice11ExpandButtonBitmap2}) {
    HGDIOBJ H = *B;
    DeleteHandle(H);
    *B = nullptr;
  }
  for (const TBrushEntry& E : Office11Brushes) {
    HGDIOBJ H = *E.Brush;
    DeleteHandle(H);
    *E.Brush = nullptr;
  }
  dxOffice11DropDownBorderBrush2 = nullptr;
  dxOffice11DetachableSelectedBrush = nullptr;
  dxOffice11StaticBorderBrush = nullptr;
}

Integer SystemScaled(Integer AValue) {
  TdxScaleFactor* F = dxSystemScaleFactor();
  return F ? F->Apply(AValue) : AValue;
}
}  // namespace

TdxOffice11Environment& dxOffice11Environment() { return Environment; }

TOffice11Scheme dxOffice11SchemeFromTheme(const String& AThemeFileName, const String& AColorName,
                                          bool AWinVistaOrLater) {
  String FileName = AThemeFileName;
  size_t Slash = FileName.find_last_of(L"\\/");
  if (Slash != String::npos) FileName.erase(0, Slash + 1);
  if (UpperCase(FileName) != L"LUNA.MSSTYLES" && !AWinVistaOrLater) return schUnknown;
  String Color = UpperCase(AColorName);
  if (Color == L"NORMALCOLOR") return schNormalColor;
  if (Color == L"HOMESTEAD") return schHomestead;
  if (Color == L"METALLIC") return schMetallic;
  return schUnknown;
}

TOffice11Scheme dxGetOffice11Scheme() {
  if (!AreVisualStylesAvailable()) return schUnknown;
  std::vector<wchar_t> FileName(1024), ColorName(1024), SizeName(1024);
  if (FAILED(dxUxTheme::GetCurrentThemeName(FileName.data(), 1024, ColorName.data(), 1024,
                                            SizeName.data(), 1024)))
    return schUnknown;
  return dxOffice11SchemeFromTheme(FileName.data(), ColorName.data(), IsWinVistaOrLater);
}

TOffice11Scheme GetOffice11Scheme() { return FOffice11Scheme; }
bool IsXPStandardScheme() { return FXPStandardScheme; }

void CreateOffice11Colors() {
  if (FCounter == 0) {
    InitOffice11Colors();
    CreateOffice11Brushes();
  }
  ++FCounter;
}

void ReleaseOffice11Colors() {
  if (FCounter == 0) return;
  if (--FCounter == 0) DestroyOffice11Brushes();
}

void RefreshOffice11Colors() {
  InitOffice11Colors();
  if (FCounter > 0) {
    DestroyOffice11Brushes();
    CreateOffice11Brushes();
  }
}

bool Office11ColorsHeld() { return FCounter > 0; }

void dxOffice11RecolorPixels(std::vector<TColor>& APixels, TColor AColor1, TColor AColor2) {
  if (APixels.empty()) return;
  const TColor Transparent = APixels[0];
  auto Recolored = [Transparent](TColor C) { return C != Transparent && C != clBlack; };
  Integer Smallest = 255, Largest = 1;
  for (TColor C : APixels) {
    if (!Recolored(C)) continue;
    Smallest = std::min<Integer>(Smallest, GetRValue(C));
    Largest = std::max<Integer>(Largest, GetRValue(C));
  }
  for (TColor& C : APixels) {
    if (!Recolored(C)) continue;
    // A glyph of one red value has no range to spread: it takes the second
    // end, as its lowest red would.
    Integer Percent =
        Largest > Smallest ? MulDiv(GetRValue(C) - Smallest, 100, Largest - Smallest) : 0;
    C = Middle(AColor1, AColor2, Percent);
  }
}

void Office11FrameSelectedRect(HDC DC, const TRect& R) {
  if (G().IsHighContrastBlack() || G().IsHighContrast2()) {
    G().FrameRectByColor(DC, R, clHighlightText);
  } else {
    FrameRect(DC, &R, dxOffice11SelectedBorderBrush);
  }
}

void Office11FillTubeGradientRect(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2,
                                  bool AHorizontal) {
  G().FillTubeGradientRect(DC, ARect, AColor1, AColor2, GradientPercent, AHorizontal);
}

Integer GetOffice11FingerElementSize() { return SystemScaled(4); }

void Office11DrawFingerElements(HDC DC, const TRect& ARect, bool AHorizontal, HBRUSH ABrush1,
                                HBRUSH ABrush2) {
  if (!ABrush1) ABrush1 = dxOffice11BarFingerBrush1;
  if (!ABrush2) ABrush2 = dxOffice11BarFingerBrush2;
  const Integer S = GetOffice11FingerElementSize();
  const Integer O = SystemScaled(1);
  const Integer Run = AHorizontal ? ARect.bottom - ARect.top : ARect.right - ARect.left;
  const Integer RunEnd = AHorizontal ? ARect.bottom : ARect.right;
  const Integer W = Run - S * (Run / 4);
  const Integer Shift = W > O ? W / 2 : W;
  TRect Square{ARect.left, ARect.top, ARect.left + S, ARect.top + S};
  auto Advance = [AHorizontal](TRect& R, Integer D) {
    if (AHorizontal)
      OffsetRect(&R, 0, D);
    else
      OffsetRect(&R, D, 0);
  };
  Advance(Square, Shift);
  do {
    TRect Inner = Square;
    InflateRect(&Inner, -O, -O);
    FillRect(DC, &Inner, ABrush2);
    OffsetRect(&Inner, -O, -O);
    FillRect(DC, &Inner, ABrush1);
    Advance(Square, S);
  } while ((AHorizontal ? Square.bottom : Square.right) <= RunEnd);
}

void Office11DrawSizeGrip(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2) {
  TBrushHandle Owned1(AColor1 == clDefault ? nullptr : CreateSolidBrush(dxColorToRGB(AColor1)));
  TBrushHandle Owned2(AColor2 == clDefault ? nullptr : CreateSolidBrush(dxColorToRGB(AColor2)));
  HBRUSH Brush1 = Owned1.Get(), Brush2 = Owned2.Get();
  const Integer S = GetOffice11FingerElementSize();
  TRect Row{ARect.right - 12, ARect.bottom - SystemScaled(3), ARect.right, ARect.bottom};
  for (int I = 0; I < 3; ++I) {
    Office11DrawFingerElements(DC, Row, false, Brush1, Brush2);
    Row.left += 4;
    OffsetRect(&Row, 0, -S);
  }
}

void dxOffice11_Initialize() {
  Environment = TdxOffice11Environment{&PlatformVisualStylesAvailable, &dxGetOffice11Scheme};
}

void dxOffice11_Finalize() {
  if (FCounter > 0) {
    FCounter = 0;
    DestroyOffice11Brushes();
  }
}
