// The shared palette of the Office 11 look: colours, brushes and bitmaps that
// follow the colour scheme of the active visual style (fixed tables for the
// three standard schemes, else shades of the system colours), and the size
// grip, finger and selection-frame drawing of that look.
#pragma once

#include "dxGraphicsLink.h"

enum TOffice11Scheme { schUnknown, schNormalColor, schHomestead, schMetallic };

// What the palette depends on; tests replace these to compute the palette for
// a given scheme.
struct TdxOffice11Environment {
  bool (*VisualStylesAvailable)() = nullptr;
  TOffice11Scheme (*GetScheme)() = nullptr;
};
TdxOffice11Environment& dxOffice11Environment();

// The scheme named by the current theme's file and colour names. On systems
// older than version 6 only the Luna theme file counts.
TOffice11Scheme dxOffice11SchemeFromTheme(const String& AThemeFileName, const String& AColorName,
                                          bool AWinVistaOrLater);
// Asks the theme library; schUnknown without visual styles or when it fails.
TOffice11Scheme dxGetOffice11Scheme();

TOffice11Scheme GetOffice11Scheme();
bool IsXPStandardScheme();

void CreateOffice11Colors();
void ReleaseOffice11Colors();
void RefreshOffice11Colors();
// Whether the brushes and bitmaps exist (a user holds the palette).
bool Office11ColorsHeld();

extern Integer GradientPercent;
inline constexpr Integer Office11GradientPercents[3] = {41, 125, 40};

extern TColor dxOffice11DockColor1, dxOffice11DockColor2, dxOffice11ToolbarsColor1,
    dxOffice11ToolbarsColor2;
extern TColor dxOffice11BarMarkColors1[3], dxOffice11BarMarkColors2[3],
    dxOffice11BarBorderColors[2], dxOffice11BarBorderMarkColors[6];
extern TColor dxOffice11BarFingerColor1, dxOffice11BarFingerColor2, dxOffice11BarSeparatorColor1,
    dxOffice11BarSeparatorColor2, dxOffice11BarMarkArrowColor1, dxOffice11BarMarkArrowColor2,
    dxOffice11BarFloatingBorderColor1, dxOffice11BarFloatingBorderColor2,
    dxOffice11BarFloatingBorderColor3, dxOffice11BarFloatingCaptionColor,
    dxOffice11BarFloatingCaptionTextColor1, dxOffice11BarFloatingCaptionTextColor2,
    dxOffice11BarFloatingCaptionTextColor3;
extern TColor dxOffice11MenuColor, dxOffice11MenuDownedColor1, dxOffice11MenuDownedColor2,
    dxOffice11MenuIndentColor1, dxOffice11MenuIndentColor2, dxOffice11MenuNonRecentIndentColor1,
    dxOffice11MenuNonRecentIndentColor2, dxOffice11DropDownBorderColor1,
    dxOffice11DropDownBorderColor2;
extern TColor dxOffice11ToolbarSelectedColor, dxOffice11SelectedBorderColor,
    dxOffice11SelectedColor1, dxOffice11SelectedColor2, dxOffice11SelectedDownColor1,
    dxOffice11SelectedDownColor2, dxOffice11OwnerControlDownedColor, dxOffice11DownedColor,
    dxOffice11DownedSelectedColor, dxOffice11DetachableColor, dxOffice11DetachableSelectedColor;
extern TColor dxOffice11TextEnabledColor, dxOffice11TextDisabledColor, dxOffice11StaticBorderColor,
    dxOffice11DateHeaderColor, dxOffice11InPlaceSubItemColor, dxOffice11InPlaceSubItemTextColor,
    dxOffice11ControlBorderColor, dxOffice11GroupColor, dxOffice11DayNavigatorSelectedColor,
    dxOffice11OutlookBorderColor, dxOffice11OutlookControlColor, dxOffice11GroupIndentColor,
    dxOffice11GroupRowTextColor, dxOffice11GroupRowSeparatorColor;
extern TColor dxOffice11NavPaneBorder, dxOffice11NavPaneGroupCaptionColor1,
    dxOffice11NavPaneGroupCaptionColor2, dxOffice11NavPaneGroupCaptionHotColor1,
    dxOffice11NavPaneGroupCaptionHotColor2, dxOffice11NavPaneGroupCaptionPressedColor1,
    dxOffice11NavPaneGroupCaptionPressedColor2, dxOffice11NavPaneGroupCaptionPressedHotColor1,
    dxOffice11NavPaneGroupCaptionPressedHotColor2, dxOffice11NavPaneHeaderColor1,
    dxOffice11NavPaneHeaderColor2, dxOffice11NavPaneHeaderFontColor,
    dxOffice11NavPaneSplitterColor1, dxOffice11NavPaneSplitterColor2;
extern TColor dxOffice11ExpandButtonColor1, dxOffice11ExpandButtonColor2;

// Solid brushes of the colours of the same names, existing while the palette
// is held. Three of them share another brush's handle.
extern HBRUSH dxOffice11BarFingerBrush1, dxOffice11BarFingerBrush2, dxOffice11BarSeparatorBrush1,
    dxOffice11BarSeparatorBrush2, dxOffice11MenuBrush, dxOffice11SelectedBorderBrush,
    dxOffice11ToolbarSelectedBrush, dxOffice11OwnerControlDownedBrush, dxOffice11DownedBrush,
    dxOffice11DownedSelectedBrush, dxOffice11DropDownBorderBrush1, dxOffice11DetachableBrush,
    dxOffice11InPlaceSubItemBrush;
extern HBRUSH dxOffice11DropDownBorderBrush2, dxOffice11DetachableSelectedBrush,
    dxOffice11StaticBorderBrush;

// 32-bit bitmaps drawn for this program: the submenu arrow (16 x 16,
// recoloured to the toolbar gradient) and the expand buttons (11 x 11, minus
// and plus).
extern HBITMAP dxOffice11SubMenuExpandBitmap, dxOffice11ExpandButtonBitmap1,
    dxOffice11ExpandButtonBitmap2;

// Recolours pixels (colour values, row by row) between two gradient ends by
// their red component: the pixel at index 0 is the transparent colour, and
// neither it nor black is touched. The lowest red gets AColor2, the highest
// AColor1.
void dxOffice11RecolorPixels(std::vector<TColor>& APixels, TColor AColor1, TColor AColor2);

void Office11FrameSelectedRect(HDC DC, const TRect& R);
void Office11FillTubeGradientRect(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2,
                                  bool AHorizontal);
// A colour of clDefault draws with the default finger
// brush of that part.
void Office11DrawSizeGrip(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2);
// nullptr brushes are the default finger brushes.
void Office11DrawFingerElements(HDC DC, const TRect& ARect, bool AHorizontal,
                                HBRUSH ABrush1 = nullptr, HBRUSH ABrush2 = nullptr);
Integer GetOffice11FingerElementSize();

void dxOffice11_Initialize();
void dxOffice11_Finalize();
