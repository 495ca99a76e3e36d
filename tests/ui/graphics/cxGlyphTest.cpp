// Glyphs drawn from the program's smart glyphs in every draw mode, a colour
// palette handed through to a smart image, and the review gallery.
#include <algorithm>
#include <cmath>

#include "ComObj.h"
#include "GdiPlusTestSupport.h"
#include "GraphicsTestSupport.h"
#include "dxGDIPlusClasses.h"

namespace {

const wchar_t* const ButtonGlyphs[] = {L"GLYPH_RECALC", L"GLYPH_INPUT", L"GLYPH_OUTPUT"};

TOwned<TdxSmartGlyph> ButtonGlyph(const wchar_t* AName) {
  TOwned<TdxSmartGlyph> G(Create<TdxSmartGlyph>());
  TOwned<TMemoryStream> S(BytesStream(FixtureBytes(AName)));
  G->LoadFromStream(S.get());
  return G;
}

class GlyphDrawing : public GraphicsModule {
 protected:
  // The glyph drawn at the rectangle's size for the scale factor on a
  // bitmap of one colour.
  TOwned<TcxBitmap32> Drawn(TGraphic* AGlyph, TcxImageDrawMode AMode, COLORREF ABackground,
                            const TdxScaleFactor* AScale) {
    auto B = FilledBitmap(40, 40, static_cast<TColor>(ABackground));
    cxDrawImage(B->cxCanvas(), cxRect(2, 2, 38, 38), AGlyph, nullptr, -1, ifmNormal, AMode, true,
                nullptr, AScale);
    return B;
  }
};

struct TWeights {
  float R, G, B;
};

// Disabled and faded glyphs are grey images blended with a constant alpha:
// from the glyph drawn over black (its premultiplied colours) and over
// white (its alpha), each mode's pixels follow.
TEST_F(GlyphDrawing, DisabledAndFadedGlyphsAreGreyAtTheirOwnOpacity) {
  REQUIRE_GDIPLUS();
  struct {
    TcxImageDrawMode Mode;
    TWeights Grey;
    int Alpha;
  } Modes[] = {
      {idmDisabled, {0.0729f, 0.7146f, 0.2125f}, 151},
      {idmFaded, {0.299f, 0.587f, 0.114f}, 64},
      {idmGrayScale, {1 / 3.0f, 1 / 3.0f, 1 / 3.0f}, 255},
  };
  const COLORREF Back = RGB(120, 130, 140);
  TdxScaleFactor At144;
  At144.Assign(3, 2, false);
  for (const wchar_t* Name : ButtonGlyphs)
    for (const TdxScaleFactor* Scale : {static_cast<const TdxScaleFactor*>(nullptr),
                                        static_cast<const TdxScaleFactor*>(&At144)}) {
      auto Glyph = ButtonGlyph(Name);
      ASSERT_FALSE(Glyph->Empty());
      auto Black = Drawn(Glyph.get(), idmNormal, RGB(0, 0, 0), Scale);
      auto White = Drawn(Glyph.get(), idmNormal, RGB(255, 255, 255), Scale);
      TRGBColors K, W;
      GetBitmapBits(Black.get(), K, true);
      GetBitmapBits(White.get(), W, true);
      for (const auto& M : Modes) {
        auto Out = Drawn(Glyph.get(), M.Mode, Back, Scale);
        TRGBColors O;
        GetBitmapBits(Out.get(), O, true);
        int Worst = 0, Opaque = 0;
        for (size_t I = 0; I < O.size(); ++I) {
          int A = 255 - (W[I].rgbGreen - K[I].rgbGreen);
          Opaque += A == 255;
          float Grey = M.Grey.R * K[I].rgbRed + M.Grey.G * K[I].rgbGreen + M.Grey.B * K[I].rgbBlue;
          if (M.Mode == idmGrayScale) Grey = std::floor(Grey + 0.001f);
          float C = M.Alpha / 255.0f;
          auto Expected = [&](int ABack) {
            return C * std::nearbyint(Grey) + (1 - C * A / 255.0f) * ABack;
          };
          Worst = std::max({Worst, std::abs(O[I].rgbRed - static_cast<int>(Expected(120))),
                            std::abs(O[I].rgbGreen - static_cast<int>(Expected(130))),
                            std::abs(O[I].rgbBlue - static_cast<int>(Expected(140)))});
        }
        EXPECT_GT(Opaque, 10) << "the glyph has no opaque inside";
        EXPECT_LE(Worst, 3) << "mode " << M.Mode << (Scale ? " at 144 DPI " : " at 96 DPI ")
                            << AnsiString(Name, Name + wcslen(Name));
      }
    }
}

TEST_F(GlyphDrawing, GlyphsTakeTheirSourceSizeToTheScaleAndShadowsShowTheShadowColour) {
  REQUIRE_GDIPLUS();
  auto Glyph = ButtonGlyph(L"GLYPH_RECALC");
  TdxScaleFactor At144;
  At144.Assign(3, 2, false);
  const COLORREF Back = RGB(255, 255, 255);
  for (auto [Scale, Size] : {std::pair{static_cast<const TdxScaleFactor*>(nullptr), 16},
                             std::pair{static_cast<const TdxScaleFactor*>(&At144), 24}}) {
    auto Normal = Drawn(Glyph.get(), idmNormal, Back, Scale);
    // Centred in the 36-pixel rectangle at (2, 2).
    TRect Cell = cxRectCenter(cxRect(2, 2, 38, 38), Size, Size);
    TRect Ink = cxNullRect;
    TRGBColors P;
    GetBitmapBits(Normal.get(), P, true);
    for (int Y = 0; Y < 40; ++Y)
      for (int X = 0; X < 40; ++X) {
        const RGBQUAD& Q = P[static_cast<size_t>(Y) * 40 + X];
        if (RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue) == Back) continue;
        Ink = cxRectIsEmpty(Ink) ? cxRect(X, Y, X + 1, Y + 1)
                                 : cxRectUnion(Ink, cxRect(X, Y, X + 1, Y + 1));
      }
    EXPECT_EQ(cxRectUnion(Ink, Cell), Cell) << Size;
    EXPECT_GE(cxRectWidth(Ink), Size * 3 / 4) << Size;
    // The shadow, in the button-shadow colour, stays inside the glyph's
    // own cell: the canvas form draws on no more than that.
    auto Shadowed = Drawn(Glyph.get(), idmShadowed, Back, Scale);
    COLORREF Shadow = ColorToRGB(clBtnShadow);
    auto Count = [&](TBitmap* B) {
      TRGBColors Q;
      GetBitmapBits(B, Q, true);
      return std::count_if(Q.begin(), Q.end(), [&](const RGBQUAD& C) {
        return RGB(C.rgbRed, C.rgbGreen, C.rgbBlue) == Shadow;
      });
    };
    EXPECT_EQ(Count(Normal.get()), 0) << Size;
    EXPECT_GT(Count(Shadowed.get()), Size) << Size;
    TRect Shade = InkBounds(Shadowed.get(), Back);
    EXPECT_EQ(cxRectUnion(Shade, Cell), Cell) << Size;
  }
}

// A drawn image that paints itself in the fill colour of the palette it is
// given, as a vector image does.
class TPaletteProbe : public TdxSmartImageCustomHandle {
  DECLARE_CLASS(TPaletteProbe, TdxSmartImageCustomHandle)
 public:
  TSize GetSize() override { return TSize{8, 8}; }
  using TdxSmartImageCustomHandle::Draw;
  void Draw(HDC DC, const TRect& ADest, const TRect&, Byte, IdxColorPalette* APalette) override {
    Given = APalette;
    TdxAlphaColor C = APalette ? APalette->GetFillColor(L"") : dxacNone;
    FillRectByColor(DC, ADest, C == dxacNone ? clBlack : dxAlphaColorToColor(C));
  }
  IdxColorPalette* Given = nullptr;
};
IMPLEMENT_CLASS(TPaletteProbe)

TEST_F(GlyphDrawing, APaletteReachesTheSmartImage) {
  auto Palette = TComPtr<IdxColorPalette>::Borrow(Create<TdxSimpleColorPalette>(
      dxMakeAlphaColor(255, 0x20, 0x80, 0xE0), dxMakeAlphaColor(255, 0, 0, 0)));
  TOwned<TdxCustomSmartImage> Image(Create<TdxCustomSmartImage>());
  auto* Probe = Create<TPaletteProbe>();
  Image->SetHandle(Probe);
  for (IdxColorPalette* P : {static_cast<IdxColorPalette*>(nullptr), Palette.Get()}) {
    auto B = FilledBitmap(12, 12, clWhite);
    cxDrawImage(B->cxCanvas(), cxRect(2, 2, 10, 10), Image.get(), nullptr, -1, ifmNormal, idmNormal,
                false, P);
    EXPECT_EQ(Probe->Given, P);
    EXPECT_EQ(PixelOf(B.get(), 5, 5), P ? RGB(0x20, 0x80, 0xE0) : RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(B.get(), 1, 1), RGB(255, 255, 255));
  }
}

TEST_F(GlyphDrawing, SmartImagesStretchByGdiPlusNearestOrSmooth) {
  REQUIRE_GDIPLUS();
  // Two columns, black and white.
  TRGBColors Bits = {{0, 0, 0, 255}, {255, 255, 255, 255}, {0, 0, 0, 255}, {255, 255, 255, 255}};
  TOwned<TdxSmartImage> Image(TdxCustomSmartImage::CreateFromBits<TdxSmartImage>(2, 2, Bits, true));
  TOwned<TcxBitmap32> Sharp(TcxBitmap32::CreateSize(8, 8)), Smooth(TcxBitmap32::CreateSize(8, 8));
  cxStretchGraphic(Sharp.get(), Image.get(), false);
  cxStretchGraphic(Smooth.get(), Image.get(), true);
  TRGBColors S, M;
  GetBitmapBits(Sharp.get(), S, true);
  GetBitmapBits(Smooth.get(), M, true);
  int Between = 0;
  for (int X = 0; X < 8; ++X) {
    EXPECT_EQ(S[static_cast<size_t>(8 * 4 + X)].rgbGreen, X < 4 ? 0 : 255) << X;
    Between += M[static_cast<size_t>(8 * 4 + X)].rgbGreen % 255 != 0;
  }
  EXPECT_GT(Between, 0) << "the smooth stretch has no shades between the columns";
  // A smart image gives its own pixels as a bitmap.
  TOwned<TBitmap> Copy(cxGetAsBitmap(Image.get()));
  EXPECT_EQ(Copy->Width(), 2);
  EXPECT_EQ(PixelOf(Copy.get(), 1, 1), RGB(255, 255, 255));
  EXPECT_EQ(PixelOf(Copy.get(), 0, 1), RGB(0, 0, 0));
}

}  // namespace
