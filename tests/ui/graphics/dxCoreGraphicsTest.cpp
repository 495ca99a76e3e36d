#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

#include "ComObj.h"
#include "GraphicsTestSupport.h"
#include "dxCoreGraphics.h"

namespace {

constexpr TdxAlphaColor Argb(Cardinal V) { return TdxAlphaColor(V); }

// A GDI colour and an ARGB colour never stand in for each other unasked, so
// an overload taking one cannot be reached with the other.
static_assert(!std::is_convertible_v<TdxAlphaColor, TColor>);
static_assert(!std::is_convertible_v<TColor, TdxAlphaColor>);

// Puts the platform's system colours back into the catalogue at the end of
// a test that injected others (declare it before the injection).
struct TRefreshCatalogue {
  ~TRefreshCatalogue() { TdxAlphaColors::UpdateSystemColors(); }
};

TEST(AlphaColors, ConvertToAndFromGdiColors) {
  TInjectedSysColors Sys({{COLOR_WINDOWTEXT, RGB(10, 20, 30)}});
  struct {
    TColor Color;
    Byte Alpha;
    Cardinal Expected;
  } Cases[] = {
      {clNone, 255, 0},          {clDefault, 255, 0x00010203},
      {clRed, 255, 0xFFFF0000},  {clBlue, 128, 0x800000FF},
      {0x123456, 0, 0x00563412}, {clWindowText, 128, 0x800A141E},  // the current window-text colour
  };
  for (const auto& C : Cases)
    EXPECT_EQ(dxAlphaColorValue(dxColorToAlphaColor(C.Color, C.Alpha)), C.Expected)
        << std::hex << C.Color;

  struct {
    Cardinal Color;
    TColor Expected;
    Byte Alpha;
  } Back[] = {
      {0, clNone, 0},
      {0x00010203, clDefault, 0},
      {0x80FF0000, clRed, 0x80},
      {0xFF123456, 0x563412, 0xFF},
      {0x00000001, 0x010000, 0},
  };
  for (const auto& B : Back) {
    Byte Alpha = 77;
    EXPECT_EQ(dxAlphaColorToColor(Argb(B.Color), Alpha), B.Expected) << std::hex << B.Color;
    EXPECT_EQ(Alpha, B.Alpha) << std::hex << B.Color;
  }
}

TEST(AlphaColors, QuadsKeepTheirByteOrder) {
  RGBQUAD Q = dxAlphaColorToRGBQuad(Argb(0x80112233));
  EXPECT_EQ(Q.rgbBlue, 0x33);
  EXPECT_EQ(Q.rgbGreen, 0x22);
  EXPECT_EQ(Q.rgbRed, 0x11);
  EXPECT_EQ(Q.rgbReserved, 0x80);
  // The reserved byte is carried into the top byte.
  EXPECT_EQ(static_cast<Cardinal>(dxRGBQuadToColor(RGBQUAD{0x33, 0x22, 0x11, 0x7F})), 0x7F332211u);
  RGBQUAD S = dxColorToRGBQuad(clRed, 9);
  EXPECT_EQ(S.rgbRed, 255);
  EXPECT_EQ(S.rgbBlue, 0);
  EXPECT_EQ(S.rgbReserved, 9);
  EXPECT_EQ(dxGetAlpha(Argb(0xAB000000)), 0xAB);
}

TEST(AlphaColors, CssNamesAgreeWithPillow) {
  struct TPil {
    const wchar_t* Name;
    Cardinal Rgb;
  } const Pil[] = {
#include "fixtures/pil_colors.inc"
  };
  // Pillow knows a few names that are not CSS colour keywords of level 3.
  const String NotKeywords[] = {L"darkgrey",       L"darkslategrey", L"dimgrey",
                                L"lightslategrey", L"rebeccapurple", L"slategrey"};
  Integer Keywords = 0;
  for (const TPil& P : Pil) {
    String Name = P.Name;
    bool Keyword =
        std::find(std::begin(NotKeywords), std::end(NotKeywords), Name) == std::end(NotKeywords);
    Cardinal Expected = Keyword ? 0xFF000000u | P.Rgb : 0;
    EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::FromHtml(Name)), Expected) << P.Name;
    EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::FromHtml(UpperCase(Name))), Expected) << P.Name;
    Keywords += Keyword && Name != L"lightgrey" ? 1 : 0;
  }
  EXPECT_EQ(Keywords, 141);
}

TEST(AlphaColors, FromHtmlReadsHexAndNames) {
  TRefreshCatalogue Refresh;
  TInjectedSysColors Sys({{COLOR_BTNFACE, RGB(1, 2, 3)}, {COLOR_WINDOW, RGB(4, 5, 6)}});
  TdxAlphaColors::UpdateSystemColors();
  struct {
    const wchar_t* Text;
    Cardinal Expected;
  } Cases[] = {
      {L"", 0},
      {L"#F0A", 0xFFFF00AA},
      {L"#1A2", 0xFF11AA22},
      {L"#000000", 0xFF000000},
      {L"#12ab9F", 0xFF12AB9F},
      {L"#F0A0", 0},  // another length is looked up as a name
      {L"#", 0},
      {L"grey", 0xFF808080},
      {L"GRAY", 0xFF808080},
      {L"DarkGrey", 0},
      {L"LIGHTGREY", 0xFFD3D3D3},
      {L"buttonface", 0xFF010203},  // the CSS2 system colour
      {L"ButtonFace", 0xFF010203},  // the catalogue's system colour
      {L"threedface", 0xFF010203},
      {L"window", 0xFF040506},
      {L"no such colour", 0},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::FromHtml(C.Text)), C.Expected) << C.Text;
  for (const wchar_t* Bad : {L"#GG0000", L"#12345Z", L"#XYZ"})
    EXPECT_THROW(TdxAlphaColors::FromHtml(Bad), EConvertError) << Bad;
}

TEST(AlphaColors, SystemColorChangeReachesTheCatalogue) {
  HWND Listener = TdxAlphaColors::SystemColorsListenerHandle();
  ASSERT_NE(Listener, nullptr);
  {
    TInjectedSysColors Sys({{COLOR_HIGHLIGHT, RGB(10, 200, 30)}});
    SendMessageW(Listener, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::Highlight()), 0xFF0AC81Eu);
    EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::FromHtml(L"highlight")), 0xFF0AC81Eu);
    EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::FromHtml(L"Highlight")), 0xFF0AC81Eu);
  }
  {
    TInjectedSysColors Sys({{COLOR_HIGHLIGHT, RGB(1, 1, 1)}});
    SendMessageW(Listener, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::Highlight()), 0xFF010101u);
  }
  SendMessageW(Listener, WM_SYSCOLORCHANGE, 0, 0);
}

TEST(AlphaColors, AccessorsReadTheirSystemColors) {
  TRefreshCatalogue Refresh;
  TInjectedSysColors Given({{COLOR_3DDKSHADOW, RGB(1, 2, 3)}, {COLOR_INFOBK, RGB(4, 5, 6)}});
  TdxAlphaColors::UpdateSystemColors();
  EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::ControlDarkDark()), 0xFF010203u);
  EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::Info()), 0xFF040506u);
  EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::FromHtml(L"controldarkdark")), 0xFF010203u);
  EXPECT_EQ(dxAlphaColorValue(TdxAlphaColors::FromHtml(L"infobackground")), 0xFF040506u);
}

TEST(AlphaColors, PalettesAnswerTheirColoursUnderTheirOwnIdentity) {
  auto A = TComPtr<IdxColorPalette>::Borrow(
      Create<TdxSimpleColorPalette>(Argb(0xFF112233), Argb(0x80445566)));
  auto B = TComPtr<IdxColorPalette>::Borrow(
      Create<TdxSimpleColorPalette>(Argb(0xFF112233), Argb(0x80445566)));
  for (const wchar_t* Id : {L"", L"Red", L"Blue"}) {
    EXPECT_EQ(dxAlphaColorValue(A->GetFillColor(Id)), 0xFF112233u);
    EXPECT_EQ(dxAlphaColorValue(A->GetStrokeColor(Id)), 0x80445566u);
  }
  EXPECT_FALSE(IsEqualGUID(A->GetID(), B->GetID()));
  EXPECT_TRUE(IsEqualGUID(A->GetID(), A->GetID()));
}

TEST(AlphaStates, ClassifyTheAlphaBytes) {
  auto Bits = [](std::initializer_list<Byte> Alphas) {
    TRGBColors R;
    for (Byte A : Alphas) R.push_back(RGBQUAD{1, 2, 3, A});
    return R;
  };
  struct {
    TRGBColors Colors;
    TdxAlphaState Expected;
  } Cases[] = {
      {{}, asNoAlpha},
      {Bits({0, 0, 0}), asNoAlpha},
      {Bits({0, 255}), asSemitransparent},
      {Bits({255, 128}), asSemitransparent},
      {Bits({255, 255}), asOpaque},
      {Bits({1}), asSemitransparent},
  };
  for (size_t I = 0; I < std::size(Cases); ++I)
    EXPECT_EQ(dxGetAlphaState(Cases[I].Colors), Cases[I].Expected) << I;
}

TEST(BitmapPixels, FormatsAndAlphaOfBitmaps) {
  struct {
    TPixelFormat Format;
    Integer Bits;
  } Cases[] = {{TPixelFormat::pf1bit, 1},   {TPixelFormat::pf4bit, 4},
               {TPixelFormat::pf8bit, 8},   {TPixelFormat::pf15bit, 16},
               {TPixelFormat::pf16bit, 16}, {TPixelFormat::pf24bit, 24},
               {TPixelFormat::pf32bit, 32}};
  for (const auto& C : Cases) {
    TOwned<TBitmap> B = MakeOwned<TBitmap>();
    B->SetPixelFormat(C.Format);
    B->SetSize(2, 2);
    EXPECT_EQ(cxGetBitmapPixelFormat(B.get()), C.Bits);
  }
  TOwned<TBitmap> B24 = MakeOwned<TBitmap>();
  B24->SetPixelFormat(TPixelFormat::pf24bit);
  B24->SetSize(3, 3);
  EXPECT_EQ(dxGetAlphaState(B24.get()), asNoAlpha);
  EXPECT_FALSE(dxIsAlphaUsed(B24.get()));

  TOwned<TBitmap> B32 = MakeOwned<TBitmap>();
  B32->SetPixelFormat(TPixelFormat::pf32bit);
  B32->SetSize(2, 1);
  EXPECT_TRUE(SetBitmapBits(B32.get(), TRGBColors{{0, 0, 0, 255}, {9, 9, 9, 128}}, true));
  EXPECT_EQ(dxGetAlphaState(B32.get()), asSemitransparent);
  EXPECT_TRUE(dxIsAlphaUsed(B32.get()));

  TOwned<TBitmap> Empty = MakeOwned<TBitmap>();
  Empty->SetSize(0, 5);
  TRGBColors Colors;
  EXPECT_FALSE(GetBitmapBits(Empty.get(), Colors, true));
  EXPECT_FALSE(SetBitmapBits(Empty.get(), Colors, true));

  BITMAP Data;
  EXPECT_TRUE(dxGetBitmapData(B32->Handle(), Data));
  EXPECT_EQ(Data.bmWidth, 2);
  EXPECT_FALSE(dxGetBitmapData(reinterpret_cast<HBITMAP>(GetStockObject(WHITE_BRUSH)), Data));
}

TEST(BitmapPixels, AlphaCorrectionMakesOnlyColouredClearPixelsOpaque) {
  struct {
    RGBQUAD In;
    Byte Alpha;
  } Cases[] = {
      {{0, 0, 0, 0}, 0},         // black and clear stays transparent
      {{16, 16, 16, 0}, 255},    // dark grey becomes opaque
      {{0, 0, 1, 0}, 255},       // so does any colour
      {{50, 60, 70, 128}, 128},  // an alpha of its own stays
      {{0, 0, 0, 255}, 255},
  };
  TRGBColors Colors;
  for (const auto& C : Cases) Colors.push_back(C.In);
  dxCorrectAlphaChannel(Colors);
  for (size_t I = 0; I < std::size(Cases); ++I) {
    EXPECT_EQ(Colors[I].rgbReserved, Cases[I].Alpha) << I;
    EXPECT_EQ(Colors[I].rgbRed, Cases[I].In.rgbRed) << I;
  }
  TRGBColors None;
  dxCorrectAlphaChannel(None);
  EXPECT_TRUE(None.empty());

  // A bitmap: read top row first, corrected, written back.
  TOwned<TBitmap> B = MakeOwned<TBitmap>();
  B->SetPixelFormat(TPixelFormat::pf32bit);
  B->SetSize(2, 2);
  ASSERT_TRUE(SetBitmapBits(
      B.get(), Colors = {{0, 0, 0, 0}, {16, 16, 16, 0}, {1, 0, 0, 0}, {0, 0, 0, 0}}, true));
  dxCorrectAlphaChannel(B.get());
  ASSERT_TRUE(GetBitmapBits(B.get(), Colors, true));
  EXPECT_EQ(Colors[0].rgbReserved, 0);
  EXPECT_EQ(Colors[1].rgbReserved, 255);
  EXPECT_EQ(Colors[2].rgbReserved, 255);
  EXPECT_EQ(Colors[3].rgbReserved, 0);
  // An empty bitmap is left alone.
  TOwned<TBitmap> Empty = MakeOwned<TBitmap>();
  dxCorrectAlphaChannel(Empty.get());
  EXPECT_TRUE(Empty->Empty());
}

// The pixels of a BMP file written by ImageMagick against Pillow's reading,
// in both row orders.
TEST(BitmapPixels, ReadAndWriteInBothRowOrders) {
  TOwned<TMemoryStream> File(BytesStream(FixtureBytes(L"INFO5X3_BMP")));
  TOwned<TBitmap> B = MakeOwned<TBitmap>();
  B->LoadFromStream(File.get());
  TBytes Expected = FixtureBytes(L"INFO5X3_BMP_RGBA");
  ASSERT_EQ(Expected.size(), 5u * 3 * 4);
  for (bool TopDown : {true, false}) {
    TRGBColors Colors;
    ASSERT_TRUE(GetBitmapBits(B.get(), Colors, TopDown));
    ASSERT_EQ(Colors.size(), 15u);
    for (Integer Y = 0; Y < 3; ++Y)
      for (Integer X = 0; X < 5; ++X) {
        const RGBQUAD& Q = Colors[(TopDown ? Y : 2 - Y) * 5 + X];
        const Byte* E = &Expected[(Y * 5 + X) * 4];
        EXPECT_EQ(RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue), RGB(E[0], E[1], E[2]))
            << TopDown << " " << X << "," << Y;
      }
  }
  // Written top-down, read back bottom-up: the rows come reversed.
  TOwned<TBitmap> W = MakeOwned<TBitmap>();
  W->SetPixelFormat(TPixelFormat::pf32bit);
  W->SetSize(1, 3);
  TRGBColors Rows{{1, 0, 0, 255}, {2, 0, 0, 255}, {3, 0, 0, 255}};
  ASSERT_TRUE(SetBitmapBits(W.get(), Rows, true));
  TRGBColors Back;
  ASSERT_TRUE(GetBitmapBits(W.get(), Back, false));
  EXPECT_EQ(Back[0].rgbBlue, 3);
  EXPECT_EQ(Back[2].rgbBlue, 1);
  BITMAPINFOHEADER H;
  dxFillBitmapInfoHeader(H, W.get(), true);
  EXPECT_EQ(H.biHeight, -3);
  EXPECT_EQ(H.biBitCount, 32);
  EXPECT_EQ(H.biSize, 40u);
}

TEST(GdiClipping, SavesAndRestoresTheClipRegion) {
  TSurface S(10, 10, RGB(0, 0, 0));
  HRGN Saved = reinterpret_cast<HRGN>(1);
  TdxGdiClippingHelper::SaveClipping(S.DC(), Saved);
  EXPECT_EQ(Saved, nullptr);
  IntersectClipRect(S.DC(), 2, 2, 5, 5);
  TdxGdiClippingHelper::SaveClipping(S.DC(), Saved);
  ASSERT_NE(Saved, nullptr);
  SelectClipRgn(S.DC(), nullptr);
  TdxGdiClippingHelper::RestoreClipping(S.DC(), Saved);
  RECT Box;
  EXPECT_EQ(GetClipBox(S.DC(), &Box), SIMPLEREGION);
  EXPECT_EQ(Box, (TRect{2, 2, 5, 5}));
  TdxGdiClippingHelper::RestoreClipping(S.DC(), nullptr);
  HRGN None = nullptr;
  TdxGdiClippingHelper::SaveClipping(S.DC(), None);
  EXPECT_EQ(None, nullptr);
}

class CharacterPlacement : public ::testing::Test {
 protected:
  void SetUp() override {
    Font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  }
  void TearDown() override { DeleteObject(Font); }
  HFONT Font = nullptr;
  TSurface S{200, 20, RGB(255, 255, 255)};
};

TEST_F(CharacterPlacement, SelectionRegionsFollowTheCells) {
  const wchar_t* Text = L"abcdef";
  TRect Bounds{10, 0, 190, 20};
  auto Cells = TdxRTLReadingCharacterPlacementHelper::MeasureCharactersBounds(S.DC(), Text, 6,
                                                                              Bounds, Font, false);
  ASSERT_EQ(Cells.size(), 6u);
  EXPECT_EQ(Cells[0].left, 10);
  for (size_t I = 1; I < Cells.size(); ++I) EXPECT_EQ(Cells[I].left, Cells[I - 1].right);
  struct {
    Integer Start, Length;
    bool Region;
    Integer Left, Right;
  } Cases[] = {
      {1, 2, true, Cells[1].left, Cells[2].right},
      {4, 10, true, Cells[4].left, Cells[5].right},  // cut at the end
      {6, 1, false, 0, 0},                           // one past the end
      {7, 1, false, 0, 0},
      {2, 0, false, 0, 0},
  };
  for (const auto& C : Cases) {
    HRGN R = TdxRTLReadingCharacterPlacementHelper::GetSelectionRangeRegion(
        S.DC(), Text, 6, Bounds, C.Start, C.Length, Font, false);
    EXPECT_EQ(R != nullptr, C.Region) << C.Start << "+" << C.Length;
    if (!R) continue;
    RECT Box;
    GetRgnBox(R, &Box);
    EXPECT_EQ(Box.left, C.Left);
    EXPECT_EQ(Box.right, C.Right);
    EXPECT_EQ(Box.top, 0);
    EXPECT_EQ(Box.bottom, 20);
    DeleteObject(R);
  }
  EXPECT_TRUE(TdxRTLReadingCharacterPlacementHelper::MeasureCharactersBounds(S.DC(), Text, 0,
                                                                             Bounds, Font, false)
                  .empty());
}

// The first logical character of a Hebrew run lies where the platform's
// placement put it, not at the left edge.
TEST_F(CharacterPlacement, RightToLeftCellsFollowThePlacementOrder) {
  const wchar_t Text[] = L"\u05D0\u05D1\u05D2\u05D3";
  TRect Bounds{0, 0, 200, 20};
  HGDIOBJ Old = SelectObject(S.DC(), Font);
  std::vector<UINT> Order(4);
  std::vector<int> Dx(4);
  GCP_RESULTSW R{};
  R.lStructSize = sizeof R;
  R.lpOrder = Order.data();
  R.lpDx = Dx.data();
  R.nGlyphs = 4;
  ASSERT_NE(
      GetCharacterPlacementW(S.DC(), Text, 4, 0, &R, GCP_LIGATE | GCP_USEKERNING | GCP_REORDER),
      0u);
  SelectObject(S.DC(), Old);
  Integer ExpectedLeft = 0;
  for (UINT I = 0; I < Order[0]; ++I) ExpectedLeft += Dx[I];
  auto Cells = TdxRTLReadingCharacterPlacementHelper::MeasureCharactersBounds(S.DC(), Text, 4,
                                                                              Bounds, Font, true);
  ASSERT_EQ(Cells.size(), 4u);
  EXPECT_EQ(Cells[0].left, ExpectedLeft);
  HRGN First = TdxRTLReadingCharacterPlacementHelper::GetSelectionRangeRegion(
      S.DC(), Text, 4, Bounds, 0, 1, Font, true);
  ASSERT_NE(First, nullptr);
  RECT Box;
  GetRgnBox(First, &Box);
  EXPECT_EQ(Box.left, ExpectedLeft);
  DeleteObject(First);
}

}  // namespace
