// The SVG image handle and codec inside the smart image.
#include <gtest/gtest.h>

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
