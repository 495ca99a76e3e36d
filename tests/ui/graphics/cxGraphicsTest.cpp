#include <gtest/gtest.h>

#include "GraphicsTestSupport.h"

namespace {

TEST(ColorRoutines, MiddleRGBMixesChannelsByPercent) {
  TInjectedSysColors Sys({{COLOR_BTNFACE, RGB(200, 100, 0)}});
  struct {
    TColor C1, C2;
    Integer Percent;
    TColor Expected;
  } Cases[] = {
      {0xFFFFFF, 0x000000, 50, 0x808080},  // MulDiv(255, 50, 100) = 128
      {0x0000FF, 0xFF0000, 25, 0xBF0040},  // red 63.75 -> 64, blue 191.25 -> 191
      {0x123456, 0xABCDEF, 100, 0x123456},
      {0x123456, 0xABCDEF, 0, 0xABCDEF},
      {SysColor(COLOR_BTNFACE), 0x000000, 50, 0x003264},  // system colour resolved
  };
  for (const auto& C : Cases)
    EXPECT_EQ(dxGetMiddleRGB(C.C1, C.C2, C.Percent), C.Expected)
        << std::hex << C.C1 << " " << C.C2 << " " << std::dec << C.Percent;
}

TEST(ColorRoutines, LightColorMixesFaceHighlightAndWindow) {
  struct {
    COLORREF Face, Highlight, Window;
    ShortInt F, H, W;
    TColor Expected;
  } Cases[] = {
      // -4 + 0 + 184 for red and green; -4 + 38 + 184 for blue.
      {RGB(200, 200, 200), RGB(0, 0, 128), RGB(255, 255, 255), -2, 30, 72, 0xDAB4B4},
      // Clamped at both ends.
      {RGB(0, 10, 250), RGB(40, 0, 0), RGB(0, 0, 255), -50, 0, 100, 0x820000},
      {RGB(250, 250, 250), RGB(250, 0, 0), RGB(0, 0, 0), 100, 100, 0, 0xFAFAFF},
      // A black or white face gives the highlight itself.
      {RGB(0, 0, 0), RGB(10, 36, 106), RGB(255, 255, 255), -2, 30, 72, 0x6A240A},
      {RGB(255, 255, 255), RGB(10, 36, 106), RGB(255, 255, 255), 14, 44, 40, 0x6A240A},
      // Unless the highlight is black too.
      {RGB(0, 0, 0), RGB(0, 0, 0), RGB(200, 100, 50), 0, 0, 50, 0x193264},
  };
  for (const auto& C : Cases) {
    TInjectedSysColors Sys(
        {{COLOR_BTNFACE, C.Face}, {COLOR_HIGHLIGHT, C.Highlight}, {COLOR_WINDOW, C.Window}});
    EXPECT_EQ(GetLightColor(C.F, C.H, C.W), C.Expected)
        << std::hex << C.Face << " " << C.Highlight << " " << C.Window;
  }
}

TEST(ColorRoutines, HighContrastTests) {
  struct {
    COLORREF Face, Text;
    bool Black, Second;
  } Cases[] = {
      {RGB(0, 0, 0), RGB(255, 255, 255), true, false},
      {RGB(0, 0, 0), RGB(255, 255, 0), true, true},
      {RGB(212, 208, 200), RGB(0, 0, 0), false, false},
      {RGB(1, 0, 0), RGB(255, 255, 0), false, false},
  };
  for (const auto& C : Cases) {
    TInjectedSysColors Sys({{COLOR_BTNFACE, C.Face}, {COLOR_BTNTEXT, C.Text}});
    EXPECT_EQ(IsHighContrastBlack(), C.Black) << std::hex << C.Face << " " << C.Text;
    EXPECT_EQ(IsHighContrast2(), C.Second) << std::hex << C.Face << " " << C.Text;
  }
}

TEST(Gradients, TubeGradientBendsInTheMiddle) {
  struct {
    Integer Percent;
    std::vector<int> Red;
  } Cases[] = {
      // Percent 0: the middle is the first colour, so the first half is flat.
      {0, {0, 0, 0, 0, 0, 0, 67, 111, 156, 200}},
      // Percent 100: halfway at the centre line, with a bend there.
      {100, {0, 22, 44, 67, 89, 100, 133, 156, 178, 200}},
  };
  for (const auto& C : Cases) {
    for (bool Horizontal : {true, false}) {
      TSurface S(10, 10, RGB(1, 2, 3));
      FillTubeGradientRect(S.DC(), TRect{0, 0, 10, 10}, RGB(0, 0, 0), RGB(200, 0, 0), C.Percent,
                           Horizontal);
      for (int I = 0; I < 10; ++I) {
        COLORREF P = Horizontal ? S.Pixel(I, 4) : S.Pixel(4, I);
        EXPECT_EQ(static_cast<int>(GetRValue(P)), C.Red[static_cast<size_t>(I)])
            << "percent " << C.Percent << (Horizontal ? " column " : " row ") << I;
        // Across the gradient the colour does not change.
        EXPECT_EQ(Horizontal ? S.Pixel(I, 9) : S.Pixel(9, I), P);
      }
    }
  }
}

TEST(Gradients, EqualColoursFillSolidAndNoneDrawsNothing) {
  TSurface S(8, 8, RGB(1, 2, 3));
  FillTubeGradientRect(S.DC(), TRect{1, 1, 7, 7}, 0x336699, 0x336699, 41, true);
  EXPECT_EQ(S.Pixel(1, 1), 0x336699u);
  EXPECT_EQ(S.Pixel(6, 6), 0x336699u);
  EXPECT_EQ(S.Pixel(7, 7), RGB(1, 2, 3));
  FillRectByColor(S.DC(), TRect{0, 0, 8, 8}, clNone);
  FrameRectByColor(S.DC(), TRect{0, 0, 8, 8}, clNone);
  EXPECT_EQ(S.Pixel(0, 0), RGB(1, 2, 3));
}

TEST(Gradients, FrameByColourDrawsTheOutlineOnly) {
  TInjectedSysColors Sys({{COLOR_HIGHLIGHTTEXT, RGB(9, 8, 7)}});
  TSurface S(8, 8, RGB(1, 2, 3));
  FrameRectByColor(S.DC(), TRect{1, 1, 7, 7}, SysColor(COLOR_HIGHLIGHTTEXT));
  EXPECT_EQ(S.Pixel(1, 1), RGB(9, 8, 7));
  EXPECT_EQ(S.Pixel(6, 6), RGB(9, 8, 7));
  EXPECT_EQ(S.Pixel(3, 3), RGB(1, 2, 3));
  EXPECT_EQ(S.Pixel(7, 7), RGB(1, 2, 3));
}

// The height of the current cursor's image below its hot spot, read from
// the lowest opaque row of the AND mask (or, for a blank AND mask, the
// lowest set row of the XOR mask).
TEST(RasterHelpers, CursorSizeFromItsMasks) {
  struct {
    const char* Name;
    int AndRows, XorRows, HotY;
    bool Colour;
    int Expected;
  } Cases[] = {
      {"AND mask rows 0 to 19", 20, 0, 3, false, 19 - 3},
      {"blank AND mask, XOR rows 0 to 9", 0, 10, 0, false, 9},
      {"colour cursor, mask rows 0 to 14", 15, 0, 2, true, 14 - 2},
  };
  for (const auto& C : Cases) {
    std::vector<Byte> And(32 * 4, 0xFF), Xor(32 * 4, 0x00);
    for (int Row = 0; Row < C.AndRows; ++Row) And[static_cast<size_t>(Row) * 4 + 1] = 0x00;
    for (int Row = 0; Row < C.XorRows; ++Row) Xor[static_cast<size_t>(Row) * 4 + 2] = 0xFF;
    HCURSOR Cursor = nullptr;
    if (C.Colour) {
      ICONINFO Info{FALSE, 4, static_cast<DWORD>(C.HotY), CreateBitmap(32, 32, 1, 1, And.data()),
                    nullptr};
      TOwned<TBitmap> Colour(cxCreateBitmap(32, 32, TPixelFormat::pf32bit));
      Info.hbmColor = Colour->Handle();
      Cursor = CreateIconIndirect(&Info);
      DeleteObject(Info.hbmMask);
    } else {
      Cursor = CreateCursor(GetModuleHandleW(nullptr), 4, C.HotY, 32, 32, And.data(), Xor.data());
    }
    ASSERT_NE(Cursor, nullptr) << C.Name;
    HCURSOR Previous = SetCursor(Cursor);
    TSize Size = cxGetCursorSize();
    SetCursor(Previous);
    DestroyCursor(Cursor);
    EXPECT_EQ(Size.cx, 32) << C.Name;
    EXPECT_EQ(Size.cy, C.Expected) << C.Name;
  }
}

}  // namespace
