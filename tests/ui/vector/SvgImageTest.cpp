// The SVG image handle and codec inside the smart image.
#include <gtest/gtest.h>

#include <limits>

#include "ComObj.h"
#include "SvgTestSupport.h"
#include "XmlTestSupport.h"

namespace {
const char* const Square16 =
    "<svg xmlns='http://www.w3.org/2000/svg' width='16' height='16' viewBox='0 0 16 16'>"
    "<rect x='0' y='0' width='8' height='16' fill='#ff0000'/></svg>";

TOwned<TMemoryStream> StreamOf(std::string_view ABytes) {
  TOwned<TMemoryStream> S(Create<TMemoryStream>());
  S->WriteBuffer(ABytes.data(), static_cast<Integer>(ABytes.size()));
  S->SetPosition(0);
  return S;
}

TEST(SvgCodec, RecognisesSvgAndNothingElse) {
  TSize Size{};
  EXPECT_TRUE(TdxSVGImageCodec::Class()->GetSize(StreamOf(Square16).get(), Size));
  EXPECT_EQ(Size.cx, 16);
  EXPECT_EQ(Size.cy, 16);
  const char Png[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR";
  EXPECT_FALSE(TdxSVGImageCodec::Class()->CanLoadStream(StreamOf({Png, sizeof(Png) - 1}).get()));
  EXPECT_FALSE(TdxSVGImageCodec::Class()->CanLoadStream(StreamOf("<a><svg/></a>").get()));
  EXPECT_EQ(TdxSVGImageCodec::Class()->Ext(), L".svg");
  EXPECT_EQ(TdxSVGImageCodec::Class()->ID(), dxImageUnknown);
}

TEST(SvgCodec, RegisteredAfterTheGdiPlusCodecs) {
  const Integer N = TdxSmartImageCodecsRepository::GetCount();
  ASSERT_GT(N, 1);
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetItem(N - 1), TdxSVGImageCodec::Class());
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L".SVG"), TdxSVGImageCodec::Class());
  EXPECT_EQ(TPicture::FindGraphicClass(L"svg"), TdxSmartImage::StaticClass());
  EXPECT_EQ(GetClass(L"TdxSVGImage"), TdxSVGImage::StaticClass());
  // The smart image finds the codec by probing in order.
  TOwned<TdxSmartImage> Image(Create<TdxSmartImage>());
  Image->LoadFromStream(StreamOf(Square16).get());
  EXPECT_EQ(Image->Width(), 16);
  IdxVectorImage* Vector = nullptr;
  EXPECT_TRUE(Image->GetInterface(__uuidof(IdxVectorImage), reinterpret_cast<void**>(&Vector)));
  EXPECT_NE(dynamic_cast<TdxSVGImageHandle*>(Image->GetHandle()), nullptr);
  EXPECT_EQ(Image->GetHandle()->GetAlphaState(), asSemitransparent);
}

TEST(SvgCodec, SavesTheNormalisedSourceAndNothingWithoutOne) {
  auto H = LoadSvg(Square16);
  ASSERT_TRUE(H);
  TOwned<TMemoryStream> Out(Create<TMemoryStream>());
  ASSERT_TRUE(TdxSVGImageCodec::Class()->Save(Out.get(), H.get()));
  const std::string Text(static_cast<const char*>(Out->Memory()), static_cast<size_t>(Out->Size()));
  EXPECT_EQ(Text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", 0), 0u) << Text;
  EXPECT_NE(Text.find("\r\n\t<rect"), std::string::npos) << Text;
  EXPECT_TRUE(LoadSvg(Text));
  TOwned<TdxSVGImageHandle> Bare(Create<TdxSVGImageHandle>());
  EXPECT_FALSE(TdxSVGImageCodec::Class()->Save(Out.get(), Bare.get()));
  EXPECT_FALSE(TdxSVGImageCodec::Class()->CanSaveImage(nullptr));
  TOwned<TdxCustomSmartImage> Svg(Create<TdxSVGImage>());
  Svg->LoadFromStream(StreamOf(Square16).get());
  TOwned<TMemoryStream> Again(Create<TMemoryStream>());
  Svg->SaveToStream(Again.get());
  EXPECT_EQ(Again->Size(), Out->Size());
}

TEST(SvgHandle, RasterSizesAndTheCache) {
  auto H = LoadSvg(Square16);
  ASSERT_TRUE(H);
  TdxGPImageHandle* A = H->GetRasterizedImage(TSize{32, 32}, nullptr);
  EXPECT_EQ(A->GetSize().cx, 32);
  EXPECT_EQ(H->GetRasterizedImage(TSize{32, 32}, nullptr), A) << "same size: reused";
  TdxGPImageHandle* B = H->GetRasterizedImage(TSize{48, 48}, nullptr);
  EXPECT_EQ(B->GetSize().cx, 48);
  TComPtr<IdxColorPalette> P = TComPtr<IdxColorPalette>::Borrow(
      Create<TdxSimpleColorPalette>(TdxAlphaColor(0xFF00FF00), dxacDefault));
  TdxGPImageHandle* C = H->GetRasterizedImage(TSize{48, 48}, P.Get());
  EXPECT_EQ(H->GetRasterizedImage(TSize{48, 48}, P.Get()), C);
  const TSvgPixels Green = RenderByDraw(H.get(), 16, 16, P.Get());
  EXPECT_EQ(Green.At(2, 8).rgbGreen, 255);
  EXPECT_EQ(Green.At(2, 8).rgbRed, 0);
  EXPECT_EQ(Green.At(12, 8).rgbReserved, 0);

  auto Wide = LoadSvg("<svg viewBox='0 0 300 100'><rect width='300' height='100'/></svg>");
  ASSERT_TRUE(Wide);
  TdxGPImageHandle* W = Wide->GetRasterizedImage(TSize{30, 30}, nullptr);
  EXPECT_EQ(W->GetSize().cx, 90);
  EXPECT_EQ(W->GetSize().cy, 30);
}

TEST(SvgHandle, RasterAndTargetSizesForEveryViewBox) {
  struct {
    TdxRectF ViewBox;
    TSize Asked, Raster, Target;
  } Cases[] = {
      // 32 pixels a unit at most: 16 x 16 gives 512 x 512.
      {{0, 0, 16, 16}, {32, 32}, {512, 512}, {32, 32}},
      // 2048 on the longer side; the target covers the asked size.
      {{0, 0, 300, 100}, {30, 30}, {2048, 682}, {90, 30}},
      {{10, 20, 110, 320}, {30, 30}, {682, 2048}, {30, 90}},
      {{0, 0, 1e30f, 1e30f}, {20, 10}, {2048, 2048}, {20, 20}},
      // At least 1 pixel a side, and no floor under the factor.
      {{0, 0, 1e-30f, 1e-30f}, {20, 10}, {1, 1}, {20, 20}},
      {{0, 0, 0.5f, 100}, {16, 16}, {1, 2048}, {16, 1600}},
      // Proportions no raster keeps: the target's long side stays bounded.
      {{0, 0, 1e30f, 1}, {16, 16}, {2048, 1}, {2048, 16}},
      {{0, 0, 1e30f, 1}, {4000, 16}, {2048, 1}, {4000, 16}},
      // No area: no raster to draw, a transparent one of the asked size.
      {{0, 0, 0, 0}, {20, 10}, {0, 0}, {20, 10}},
      {{0, 0, -5, 5}, {0, -3}, {0, 0}, {1, 1}},
      {{0, 0, std::numeric_limits<Single>::quiet_NaN(), 5}, {8, 8}, {0, 0}, {8, 8}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::to_string(C.ViewBox.Right) + " x " + std::to_string(C.ViewBox.Bottom));
    const TSize R = TdxSVGImageHandle::GetRasterSize(C.ViewBox);
    EXPECT_EQ(R.cx, C.Raster.cx);
    EXPECT_EQ(R.cy, C.Raster.cy);
    const TSize T = TdxSVGImageHandle::GetTargetSize(C.ViewBox, C.Asked);
    EXPECT_EQ(T.cx, C.Target.cx);
    EXPECT_EQ(T.cy, C.Target.cy);
  }
}

// What GDI+ refuses or fails on as it is, drawn through the handle at 32 px
// (one unit a pixel; the raster is 1,024 pixels, so 32 a unit).
TEST(SvgHandle, ShapesGdiPlusCannotTakeAsTheyAreStillDraw) {
  auto Inked = [](const RGBQUAD& P) { return P.rgbReserved > 64; };
  struct {
    const char* What;
    const char* Body;
    std::vector<std::pair<TPoint, bool>> Ink;
  } Cases[] = {
      {"a polygon of two points is its outline",
       "<polygon points='4,16 28,16' stroke='#000' stroke-width='2'/>",
       {{{16, 16}, true}, {{16, 8}, false}}},
      {"a curve stroked tens of thousands of pixels out",
       "<circle cx='16' cy='1216' r='1200' fill='none' stroke='#000' stroke-width='2'/>",
       {{{16, 16}, true}, {{4, 16}, true}, {{16, 8}, false}, {{16, 24}, false}}},
      {"a stroked polyline whose corner lies far out",
       "<polyline points='2,2 16,3000000 30,2' fill='none' stroke='#000' stroke-width='2'/>",
       {{{2, 8}, true}, {{30, 20}, true}, {{16, 8}, false}}},
      {"a dash pattern too fine for its length is solid",
       "<line x1='2' y1='16' x2='3000000' y2='16' stroke='#000' stroke-width='2' "
       "stroke-dasharray='1e-30'/>",
       {{{4, 16}, true}, {{10, 16}, true}, {{20, 16}, true}, {{16, 8}, false}}},
      {"a pen millions of pixels wide covers everything",
       "<rect x='8' y='8' width='16' height='16' fill='none' stroke='#000' stroke-width='3e6'/>",
       {{{1, 1}, true}, {{16, 16}, true}}},
      {"a dash offset moves the dashes (3 on, 3 off, starting 1 in)",
       "<line x1='2' y1='16' x2='30' y2='16' stroke='#000' stroke-width='2' "
       "stroke-dasharray='3' stroke-dashoffset='1'/>",
       {{{3, 16}, true}, {{4, 16}, false}, {{7, 16}, true}, {{10, 16}, false}, {{13, 16}, true}}},
      {"a stroke wider than its rectangle covers the rectangle grown by half of it",
       "<rect x='12' y='12' width='8' height='8' fill='none' stroke='#000' stroke-width='20'/>",
       {{{16, 16}, true}, {{3, 3}, true}, {{28, 28}, true}, {{1, 16}, false}, {{31, 16}, false}}},
      {"a gradient line beyond single precision shows the colour at the shape",
       "<linearGradient id='g' x2='1e30'><stop stop-color='#f00'/><stop offset='1' "
       "stop-color='#00f'/></linearGradient><rect width='32' height='32' fill='url(#g)'/>",
       {{{16, 16}, true}}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.What);
    auto H = LoadSvg(std::string("<svg xmlns='http://www.w3.org/2000/svg' width='32' height='32' "
                                 "viewBox='0 0 32 32'>") +
                     C.Body + "</svg>");
    ASSERT_TRUE(H);
    TSvgPixels P;
    ASSERT_NO_THROW(P = RenderByDraw(H.get(), 32, 32));
    for (const auto& [At, Expected] : C.Ink)
      EXPECT_EQ(Inked(P.At(At.x, At.y)), Expected) << At.x << "," << At.y;
  }
  auto Red = LoadSvg(
      "<svg viewBox='0 0 32 32'><linearGradient id='g' x2='1e30'><stop stop-color='#f00'/>"
      "<stop offset='1' stop-color='#00f'/></linearGradient>"
      "<rect width='32' height='32' fill='url(#g)'/></svg>");
  ASSERT_TRUE(Red);
  const RGBQUAD Centre = RenderByDraw(Red.get(), 32, 32).At(16, 16);
  EXPECT_EQ(Centre.rgbRed, 255);
  EXPECT_EQ(Centre.rgbBlue, 0);
}

// Text in a clip path clips to its glyphs: GDI+ under Wine takes a path
// string only with a format.
TEST(SvgHandle, TextInAClipPathClipsToItsGlyphs) {
  auto H = LoadSvg(
      "<svg xmlns='http://www.w3.org/2000/svg' width='32' height='32' viewBox='0 0 32 32'>"
      "<clipPath id='c'><text x='2' y='24' font-family='Tahoma' font-size='24'>HH</text>"
      "</clipPath><rect width='32' height='32' fill='#000' clip-path='url(#c)'/></svg>");
  ASSERT_TRUE(H);
  TSvgPixels P;
  ASSERT_NO_THROW(P = RenderByDraw(H.get(), 32, 32));
  Integer Inside = 0, Outside = 0;
  for (Integer Y = 0; Y < 32; ++Y)
    for (Integer X = 0; X < 32; ++X)
      if (P.At(X, Y).rgbReserved > 64) ++(Y >= 4 && Y < 26 ? Inside : Outside);
  // Two capitals' worth of ink, but far from the whole square, and none
  // above or below the line.
  EXPECT_GT(Inside, 60);
  EXPECT_LT(Inside, 32 * 22 * 3 / 4);
  EXPECT_EQ(Outside, 0);
}

TEST(SvgHandle, FlipMirrorsTheNextRaster) {
  auto H = LoadSvg(Square16);
  ASSERT_TRUE(H);
  H->GetRasterizedImage(TSize{16, 16}, nullptr);
  H->Flip(true, false);
  EXPECT_FALSE(H->HasCachedImage());
  const TSvgPixels P = RenderByDraw(H.get(), 16, 16);
  EXPECT_EQ(P.At(2, 8).rgbReserved, 0);
  EXPECT_EQ(P.At(13, 8).rgbRed, 255);
}

TEST(SvgHandle, DegenerateViewBoxesGiveBoundedRasters) {
  struct {
    const char* Root;
    bool Transparent;
  } Cases[] = {
      {"<svg viewBox='0 0 0 0' width='0' height='0'>", true},
      {"<svg viewBox='0 0 10 0'>", true},
      {"<svg viewBox='0 0 1e30 1e30'>", false},
      {"<svg viewBox='0 0 1e-30 1e-30'>", false},
  };
  for (const auto& C : Cases) {
    auto H = LoadSvg(std::string(C.Root) + "<rect width='1e30' height='1e30'/></svg>");
    ASSERT_TRUE(H) << C.Root;
    TdxGPImageHandle* R = nullptr;
    try {
      R = H->GetRasterizedImage(TSize{20, 10}, nullptr);
    } catch (const EdxGdipException&) {
      // GDI+ may refuse the scale; then nothing is cached.
      EXPECT_FALSE(H->HasCachedImage());
      continue;
    }
    ASSERT_NE(R, nullptr);
    EXPECT_LE(R->GetSize().cx, 20);
    if (C.Transparent) {
      EXPECT_EQ(R->GetSize().cx, 20);
      EXPECT_EQ(R->GetSize().cy, 10);
    }
  }
}

// A palette whose lookups fail: drawing raises half-way.
class TFailingPalette : public TdxCustomColorPalette {
 public:
  TdxAlphaColor STDMETHODCALLTYPE GetFillColor(const String&) override {
    throw EdxException(L"palette failure");
  }
  TdxAlphaColor STDMETHODCALLTYPE GetStrokeColor(const String&) override { return dxacDefault; }
};

TEST(SvgHandle, AFailedDrawCachesNothingAndLeavesThePaintCanvasUsable) {
  auto H = LoadSvg(Square16);
  ASSERT_TRUE(H);
  TComPtr<IdxColorPalette> Bad = TComPtr<IdxColorPalette>::Borrow(Create<TFailingPalette>());
  EXPECT_THROW(RenderByDraw(H.get(), 16, 16, Bad.Get()), EdxException);
  EXPECT_FALSE(H->HasCachedImage());
  const TSvgPixels P = RenderByDraw(H.get(), 16, 16);
  EXPECT_EQ(P.At(2, 8).rgbRed, 255);
  EXPECT_EQ(P.At(2, 8).rgbReserved, 255);
}

TEST(SvgHandle, SmartTagGlyphWithAndWithoutItsPalette) {
  auto H = LoadSvgFile(TestDir() + L"/svg/fixtures/smart_tag.svg");
  ASSERT_TRUE(H);
  const TSvgPixels Plain = RenderDirect(H.get(), 32, 32);
  // The square's outline runs along x = 1.812 + 28.239 = 30.05; its inside
  // stays empty.
  const RGBQUAD Edge = Plain.At(30, 16);
  EXPECT_GT(Edge.rgbReserved, 128);
  EXPECT_NEAR(Edge.rgbRed * 255 / Edge.rgbReserved, 114, 3);
  EXPECT_EQ(Plain.At(10, 20).rgbReserved, 0);
  TComPtr<IdxColorPalette> Active = TComPtr<IdxColorPalette>::Borrow(
      Create<TdxSimpleColorPalette>(dxacNone, TdxAlphaColor(0xFFFF2600)));
  const TSvgPixels Tinted = RenderDirect(H.get(), 32, 32, Active.Get());
  const RGBQUAD T = Tinted.At(30, 16);
  EXPECT_GT(T.rgbReserved, 128);
  EXPECT_NEAR(T.rgbRed * 255 / T.rgbReserved, 255, 3);
  EXPECT_NEAR(T.rgbGreen * 255 / T.rgbReserved, 0x26, 3);
  EXPECT_EQ(Tinted.At(10, 20).rgbReserved, 0);
  SavePixelsAsPng(Tinted, L"smart_tag_tinted.png");
}

// Run once more with GDI+ disabled (vector_tests_without_gdiplus).
TEST(SvgGdiPlusAbsent, NothingIsRegistered) {
  if (CheckGdiPlus(false)) GTEST_SKIP() << "GDI+ is present in this run";
  for (Integer I = 0; I < TdxSmartImageCodecsRepository::GetCount(); ++I)
    EXPECT_NE(TdxSmartImageCodecsRepository::GetItem(I), TdxSVGImageCodec::Class());
  EXPECT_EQ(GetClass(L"TdxSVGImage"), nullptr);
}
}  // namespace
