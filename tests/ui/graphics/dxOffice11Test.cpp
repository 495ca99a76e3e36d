// The Office 11 palette lives in the foundation but is computed with the
// graphics routines, so it is tested where those are bound.
#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"
#include "dxDPIAwareUtils.h"
#include "dxOffice11.h"

namespace {

TOffice11Scheme InjectedScheme = schUnknown;
bool InjectedStyles = true;
TOffice11Scheme GetInjectedScheme() { return InjectedScheme; }
bool GetInjectedStyles() { return InjectedStyles; }

// Classic grey system colours with a navy highlight.
const std::map<int, COLORREF> ClassicColors = {
    {COLOR_BTNFACE, RGB(200, 200, 200)},       {COLOR_WINDOW, RGB(255, 255, 255)},
    {COLOR_BTNSHADOW, RGB(128, 128, 128)},     {COLOR_BTNTEXT, RGB(0, 0, 0)},
    {COLOR_BTNHIGHLIGHT, RGB(255, 255, 255)},  {COLOR_HIGHLIGHT, RGB(0, 0, 128)},
    {COLOR_HIGHLIGHTTEXT, RGB(255, 255, 255)}, {COLOR_GRAYTEXT, RGB(100, 100, 100)},
};

class Office11 : public ::testing::Test {
 protected:
  void SetUp() override {
    cxGraphics_Initialize();
    dxOffice11_Initialize();
    Saved = dxOffice11Environment();
    dxOffice11Environment() = TdxOffice11Environment{&GetInjectedStyles, &GetInjectedScheme};
    InjectedStyles = true;
    InjectedScheme = schUnknown;
  }
  void TearDown() override {
    while (Office11ColorsHeld()) ReleaseOffice11Colors();
    dxOffice11Environment() = Saved;
    dxOffice11_Finalize();
    cxGraphics_Finalize();
  }
  TdxOffice11Environment Saved;
};

TEST_F(Office11, SchemeFromThemeNames) {
  struct {
    const wchar_t* File;
    const wchar_t* Color;
    bool Vista;
    TOffice11Scheme Expected;
  } Cases[] = {
      {L"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles", L"NormalColor", false,
       schNormalColor},
      {L"C:\\Themes\\luna.MSSTYLES", L"HOMESTEAD", false, schHomestead},
      {L"Luna.msstyles", L"Metallic", false, schMetallic},
      {L"C:\\Themes\\Royale.msstyles", L"NormalColor", false, schUnknown},
      {L"C:\\Themes\\Aero.msstyles", L"NormalColor", true, schNormalColor},
      {L"C:\\Themes\\Luna.msstyles", L"", false, schUnknown},
      {L"C:\\Themes\\Luna.msstyles", L"Blue", true, schUnknown},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(dxOffice11SchemeFromTheme(C.File, C.Color, C.Vista), C.Expected)
        << C.File << " " << C.Color;
}

TEST_F(Office11, TablePaletteForEachScheme) {
  struct {
    TOffice11Scheme Scheme;
    TColor Toolbars1, SelectedBorder, NavPaneHeader2, BarBorderMark0, MenuNonRecent1;
    Integer Percent;
  } Cases[] = {
      // Bar border mark 0: 90 % of $F1A675 and 10 % of $FEECDD per channel;
      // non-recent indent: 92 % of $FEECDD.
      {schNormalColor, 0xFEECDD, 0x800000, 0x933803, 0xF2AD7F, 0xEAD9CB, 41},
      {schHomestead, 0xDEF7F4, 0x385D3F, 0x447A63, 0x94C8B6, 0xCCE3E0, 125},
      {schMetallic, 0xFAF4F3, 0x6F4B4B, 0x916F70, 0xCDB8B9, 0xE6E0E0, 40},
  };
  TInjectedSysColors Sys(ClassicColors);
  for (const auto& C : Cases) {
    InjectedScheme = C.Scheme;
    RefreshOffice11Colors();
    EXPECT_TRUE(IsXPStandardScheme());
    EXPECT_EQ(GetOffice11Scheme(), C.Scheme);
    EXPECT_EQ(dxOffice11ToolbarsColor1, C.Toolbars1) << C.Scheme;
    EXPECT_EQ(dxOffice11SelectedBorderColor, C.SelectedBorder) << C.Scheme;
    EXPECT_EQ(dxOffice11NavPaneHeaderColor2, C.NavPaneHeader2) << C.Scheme;
    EXPECT_EQ(dxOffice11NavPaneSplitterColor2, C.NavPaneHeader2) << C.Scheme;
    EXPECT_EQ(dxOffice11BarBorderMarkColors[0], C.BarBorderMark0) << C.Scheme;
    EXPECT_EQ(dxOffice11MenuNonRecentIndentColor1, C.MenuNonRecent1) << C.Scheme;
    EXPECT_EQ(GradientPercent, C.Percent) << C.Scheme;
    EXPECT_EQ(dxOffice11GroupIndentColor, 0xC9EEFD);
    EXPECT_EQ(dxOffice11BarFloatingCaptionTextColor1, 0xFFFFFF);
    EXPECT_EQ(dxOffice11InPlaceSubItemTextColor, 0xFFFFFF);
    EXPECT_EQ(dxOffice11DropDownBorderColor2, dxOffice11MenuColor);
  }
}

TEST_F(Office11, SystemPaletteFromInjectedColours) {
  // A known scheme without visual styles still takes the system colours.
  InjectedStyles = false;
  InjectedScheme = schNormalColor;
  TInjectedSysColors Sys(ClassicColors);
  RefreshOffice11Colors();
  EXPECT_FALSE(IsXPStandardScheme());
  struct {
    const char* Name;
    TColor Value, Expected;
  } Cases[] = {
      {"DockColor1", dxOffice11DockColor1, 0xC8C8C8},
      {"DockColor2 (20 % face)", dxOffice11DockColor2, 0xF4F4F4},
      {"ToolbarsColor1 (22 % face)", dxOffice11ToolbarsColor1, 0xF3F3F3},
      {"ToolbarsColor2 (96 % face)", dxOffice11ToolbarsColor2, 0xCACACA},
      {"BarBorderColors[0] (85 % face)", dxOffice11BarBorderColors[0], 0xD0D0D0},
      {"SelectedBorderColor", dxOffice11SelectedBorderColor, 0x800000},
      {"ToolbarSelectedColor (-2, 30, 72)", dxOffice11ToolbarSelectedColor, 0xDAB4B4},
      {"SelectedColor2", dxOffice11SelectedColor2, 0xDAB4B4},
      {"DownedColor (41, 11, 48)", dxOffice11DownedColor, 0xDACCCC},
      {"DayNavigatorSelectedColor", dxOffice11DayNavigatorSelectedColor, 0xDACCCC},
      {"NavPaneGroupCaptionColor1", dxOffice11NavPaneGroupCaptionColor1, 0xE3E3E3},
      {"NavPaneGroupCaptionColor2", dxOffice11NavPaneGroupCaptionColor2, 0xC9C9C9},
      {"MenuNonRecentIndentColor2", dxOffice11MenuNonRecentIndentColor2, 0xBABABA},
      {"InPlaceSubItemColor", dxOffice11InPlaceSubItemColor, 0xA4A4A4},
      {"TextDisabledColor", dxOffice11TextDisabledColor, 0x646464},
      {"OutlookBorderColor", dxOffice11OutlookBorderColor, 0x808080},
      {"BarFloatingBorderColor3", dxOffice11BarFloatingBorderColor3, 0xF3F3F3},
      {"NavPaneHeaderFontColor", dxOffice11NavPaneHeaderFontColor, 0xFFFFFF},
  };
  for (const auto& C : Cases) EXPECT_EQ(C.Value, C.Expected) << C.Name;
  EXPECT_EQ(GradientPercent, 75);
}

TEST_F(Office11, HighContrastSelectionTakesTheHighlight) {
  std::map<int, COLORREF> Colors = ClassicColors;
  Colors[COLOR_BTNFACE] = RGB(0, 0, 0);
  Colors[COLOR_HIGHLIGHT] = RGB(10, 36, 106);
  TInjectedSysColors Sys(Colors);
  InjectedStyles = false;
  RefreshOffice11Colors();
  EXPECT_EQ(dxOffice11ToolbarSelectedColor, 0x6A240A);
  EXPECT_EQ(dxOffice11DownedSelectedColor, 0x6A240A);
}

TEST_F(Office11, RecolouringSpreadsTheGradientByRed) {
  const TColor T = 0xFF00FF, C1 = 0x204060, C2 = 0xA0C0E0;
  struct {
    const char* Name;
    std::vector<TColor> In, Out;
  } Cases[] = {
      {"lowest red takes the second end, highest the first",
       {T, 0x404040, 0xC0C0C0, 0x000000},
       {T, C2, C1, 0x000000}},
      {"halfway", {T, 0x000010, 0x000020, 0x000030}, {T, C2, 0x6080A0, C1}},
      // One red value: no range to spread, instead of a colour from -1 %.
      {"flat glyph", {T, 0x808080, 0x808080}, {T, C2, C2}},
      {"only transparent and black", {T, 0, T}, {T, 0, T}},
      {"empty", {}, {}},
  };
  for (const auto& C : Cases) {
    std::vector<TColor> P = C.In;
    dxOffice11RecolorPixels(P, C1, C2);
    EXPECT_EQ(P, C.Out) << C.Name;
  }
}

TEST_F(Office11, BrushesAndBitmapsLiveWhileThePaletteIsHeld) {
  TInjectedSysColors Sys(ClassicColors);
  InjectedStyles = false;
  CreateOffice11Colors();
  CreateOffice11Colors();
  ReleaseOffice11Colors();
  ASSERT_TRUE(Office11ColorsHeld());
  EXPECT_EQ(GetObjectType(dxOffice11MenuBrush), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(dxOffice11DropDownBorderBrush2, dxOffice11MenuBrush);
  EXPECT_EQ(dxOffice11DetachableSelectedBrush, dxOffice11ToolbarSelectedBrush);
  EXPECT_EQ(dxOffice11StaticBorderBrush, dxOffice11DropDownBorderBrush1);
  LOGBRUSH LB;
  ASSERT_TRUE(GetObjectW(dxOffice11SelectedBorderBrush, sizeof(LB), &LB));
  EXPECT_EQ(LB.lbColor, RGB(0, 0, 128));

  struct {
    HBITMAP Bitmap;
    LONG Size;
  } Bitmaps[] = {{dxOffice11SubMenuExpandBitmap, 16},
                 {dxOffice11ExpandButtonBitmap1, 11},
                 {dxOffice11ExpandButtonBitmap2, 11}};
  for (const auto& B : Bitmaps) {
    BITMAP Info;
    ASSERT_TRUE(GetObjectW(B.Bitmap, sizeof(Info), &Info));
    EXPECT_EQ(Info.bmWidth, B.Size);
    EXPECT_EQ(Info.bmHeight, B.Size);
  }
  // The arrow runs from the second toolbar colour at its base to the first
  // at its tip; the background keeps its transparent colour.
  DIBSECTION Dib;
  ASSERT_TRUE(GetObjectW(dxOffice11SubMenuExpandBitmap, sizeof(Dib), &Dib));
  const RGBQUAD* Bits = static_cast<const RGBQUAD*>(Dib.dsBm.bmBits);
  auto At = [Bits](int X, int Y) {
    RGBQUAD Q = Bits[Y * 16 + X];
    return static_cast<TColor>(RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue));
  };
  EXPECT_EQ(At(6, 4), dxOffice11ToolbarsColor2);
  EXPECT_EQ(At(9, 7), dxOffice11ToolbarsColor1);
  EXPECT_EQ(At(0, 0), At(15, 15));

  // A colour change while held recreates the brushes in the new colours.
  std::map<int, COLORREF> Changed = ClassicColors;
  Changed[COLOR_HIGHLIGHT] = RGB(0, 128, 0);
  {
    TInjectedSysColors Sys2(Changed);
    RefreshOffice11Colors();
  }
  ASSERT_TRUE(GetObjectW(dxOffice11SelectedBorderBrush, sizeof(LB), &LB));
  EXPECT_EQ(LB.lbColor, RGB(0, 128, 0));

  HBRUSH Menu = dxOffice11MenuBrush;
  ReleaseOffice11Colors();
  EXPECT_FALSE(Office11ColorsHeld());
  EXPECT_EQ(dxOffice11MenuBrush, nullptr);
  EXPECT_EQ(dxOffice11SubMenuExpandBitmap, nullptr);
  EXPECT_EQ(GetObjectType(Menu), 0u);  // deleted
}

class ScaledSystem {
 public:
  ScaledSystem(Integer AN, Integer AD) { dxSystemScaleFactor()->Assign(AN, AD, false); }
  ~ScaledSystem() { dxSystemScaleFactor()->Update(); }
};

TEST_F(Office11, SizeGripRowsHoldThreeTwoAndOneElements) {
  struct {
    Integer N, D;
    Integer Size;
    std::vector<int> Tops;
    std::vector<std::vector<int>> Lefts;
  } Cases[] = {
      {1, 1, 4, {17, 13, 9}, {{8, 12, 16}, {12, 16}, {16}}},
      {3, 2, 6, {15, 9, 3}, {{2, 8, 14}, {8, 14}, {14}}},
  };
  const COLORREF Red = RGB(255, 0, 0), Blue = RGB(0, 0, 255);
  for (const auto& C : Cases) {
    ScaledSystem Scale(C.N, C.D);
    EXPECT_EQ(GetOffice11FingerElementSize(), C.Size);
    TSurface S(20, 20, RGB(255, 255, 255));
    Office11DrawSizeGrip(S.DC(), TRect{0, 0, 20, 20}, Red, Blue);
    for (size_t Row = 0; Row < 3; ++Row) {
      std::vector<int> Widths;
      EXPECT_EQ(S.RunStarts(C.Tops[Row], Red, &Widths), C.Lefts[Row])
          << "scale " << C.N << "/" << C.D << " row " << Row;
      for (int W : Widths) EXPECT_EQ(W, 2);  // element size less twice the offset
    }
    // Each element's lighter part ends at the element's right edge less the
    // offset: the last one is flush with the grip's right edge.
    Integer O = C.N == 1 ? 1 : 2;
    EXPECT_EQ(S.Pixel(20 - O - 1, C.Tops[0] + C.Size - O - 1), Blue);
    EXPECT_EQ(S.Pixel(20 - O, C.Tops[0] + C.Size - O - 1), RGB(255, 255, 255));
  }
}

TEST_F(Office11, DefaultColoursUseTheFingerBrushes) {
  TInjectedSysColors Sys(ClassicColors);
  InjectedStyles = false;
  CreateOffice11Colors();
  TSurface S(20, 20, RGB(1, 2, 3));
  Office11DrawSizeGrip(S.DC(), TRect{0, 0, 20, 20}, clDefault, clDefault);
  EXPECT_EQ(static_cast<TColor>(S.Pixel(8, 17)), dxOffice11BarFingerColor1);
  EXPECT_EQ(static_cast<TColor>(S.Pixel(10, 19)), dxOffice11BarFingerColor2);
}

TEST_F(Office11, SelectedFrameFollowsHighContrast) {
  struct {
    COLORREF Face, Text;
    COLORREF Expected;
  } Cases[] = {
      {RGB(200, 200, 200), RGB(0, 0, 0), RGB(0, 0, 128)},    // scheme border brush
      {RGB(0, 0, 0), RGB(255, 255, 0), RGB(255, 255, 255)},  // highlight text
  };
  for (const auto& C : Cases) {
    std::map<int, COLORREF> Colors = ClassicColors;
    Colors[COLOR_BTNFACE] = C.Face;
    Colors[COLOR_BTNTEXT] = C.Text;
    TInjectedSysColors Sys(Colors);
    InjectedStyles = false;
    CreateOffice11Colors();
    TSurface S(6, 6, RGB(1, 2, 3));
    Office11FrameSelectedRect(S.DC(), TRect{0, 0, 6, 6});
    EXPECT_EQ(S.Pixel(0, 0), C.Expected);
    EXPECT_EQ(S.Pixel(2, 2), RGB(1, 2, 3));
    ReleaseOffice11Colors();
  }
}

TEST_F(Office11, UnboundGraphicsRoutinesRaise) {
  cxGraphics_Finalize();
  EXPECT_THROW(RefreshOffice11Colors(), EdxException);
  cxGraphics_Initialize();
}

}  // namespace
