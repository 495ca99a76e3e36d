// The canvas and bitmap routines set against what ImageMagick and Pillow
// make of the same pictures (fixtures/make_canvas_fixtures.sh).
#include <cmath>

#include "GdiPlusTestSupport.h"
#include "GraphicsTestSupport.h"
#include "dxGDIPlusClasses.h"

namespace {

class References : public GraphicsModule {};

TOwned<TcxBitmap> LoadBmp(const wchar_t* AName) {
  TOwned<TcxBitmap> B(Create<TcxBitmap>());
  TOwned<TMemoryStream> S(BytesStream(FixtureBytes(AName)));
  B->LoadFromStream(S.get());
  return B;
}

// Red, green, blue of every pixel, top row first.
TBytes RGBOf(TBitmap* ABitmap) {
  TRGBColors P;
  GetBitmapBits(ABitmap, P, true);
  TBytes R;
  for (const RGBQUAD& Q : P) R.insert(R.end(), {Q.rgbRed, Q.rgbGreen, Q.rgbBlue});
  return R;
}

TEST_F(References, TurnsAndMirrorsMatchImageMagick) {
  // raPlus90 turns counter-clockwise, ImageMagick's -rotate clockwise.
  struct {
    const char* Name;
    TcxRotationAngle Angle;
    bool FlipVertically;
    const wchar_t* Expected;
  } Cases[] = {
      {"plus 90", raPlus90, false, L"TURN7X5_ROTATE270"},
      {"minus 90", raMinus90, false, L"TURN7X5_ROTATE90"},
      {"180", ra180, false, L"TURN7X5_ROTATE180"},
      {"upside down", ra0, true, L"TURN7X5_FLIP"},
      {"plus 90 flipped", raPlus90, true, L"TURN7X5_TRANSPOSE"},
      {"minus 90 flipped", raMinus90, true, L"TURN7X5_TRANSVERSE"},
      {"180 flipped", ra180, true, L"TURN7X5_FLOP"},
  };
  for (const auto& C : Cases) {
    auto B = LoadBmp(L"TURN7X5_BMP");
    ASSERT_EQ(B->Width(), 7);
    B->cxCanvas()->RotateBitmap(B.get(), C.Angle, C.FlipVertically);
    bool Quarter = C.Angle == raPlus90 || C.Angle == raMinus90;
    EXPECT_EQ(B->Width(), Quarter ? 5 : 7) << C.Name;
    EXPECT_EQ(RGBOf(B.get()), FixtureBytes(C.Expected)) << C.Name;
  }
  struct {
    bool H, V;
    const wchar_t* Expected;
  } Flips[] = {{true, false, L"TURN7X5_FLOP"},
               {false, true, L"TURN7X5_FLIP"},
               {true, true, L"TURN7X5_ROTATE180"}};
  for (const auto& F : Flips) {
    auto B = LoadBmp(L"TURN7X5_BMP");
    B->Flip(F.H, F.V);
    EXPECT_EQ(RGBOf(B.get()), FixtureBytes(F.Expected)) << F.H << F.V;
  }
  auto B = LoadBmp(L"TURN7X5_BMP");
  B->cxCanvas()->FlipHorizontally(B.get());
  EXPECT_EQ(RGBOf(B.get()), FixtureBytes(L"TURN7X5_FLOP"));
}

// ImageMagick centres the pixels of both sizes on each other, the resampler
// maps the corner pixels onto each other, so they agree only roughly: this
// guards against gross errors, not against rounding.
TEST_F(References, LanczosResamplingStaysNearImageMagicks) {
  struct {
    int W, H;
    const wchar_t* Expected;
    double MeanLimit;
  } Cases[] = {{17, 13, L"LANCZOS40X30_17X13", 5}, {70, 52, L"LANCZOS40X30_70X52", 10}};
  auto Source = LoadBmp(L"LANCZOS40X30_BMP");
  for (const auto& C : Cases) {
    TOwned<TcxBitmap32> Dest(TcxBitmap32::CreateSize(C.W, C.H));
    cxSmoothResizeBitmap(Source.get(), Dest.get(), true);
    TBytes Ours = RGBOf(Dest.get()), Theirs = FixtureBytes(C.Expected);
    ASSERT_EQ(Ours.size(), Theirs.size());
    double Sum = 0;
    int Far = 0;
    for (size_t I = 0; I < Ours.size(); ++I) {
      int D = std::abs(Ours[I] - Theirs[I]);
      Sum += D;
      Far += D > 64;
    }
    double Mean = Sum / static_cast<double>(Ours.size());
    EXPECT_LT(Mean, C.MeanLimit) << C.W << "x" << C.H;
    EXPECT_LT(Far, static_cast<int>(Ours.size() / 50)) << C.W << "x" << C.H << " mean " << Mean;
  }
}

// Every road of the alpha blend gives Pillow's compositing of the same
// image over the same background, within one step per channel.
TEST_F(References, EveryBlendRoadAgreesWithPillow) {
  REQUIRE_GDIPLUS();
  TOwned<TdxSmartImage> Png(Create<TdxSmartImage>());
  {
    TOwned<TMemoryStream> S(BytesStream(FixtureBytes(L"RGBA32X8_PNG")));
    Png->LoadFromStream(S.get());
  }
  TOwned<TcxBitmap32> Source(TcxBitmap32::CreateSize(32, 8));
  ASSERT_TRUE(SetBitmapBits(Source.get(), Png->GetBitmapBits(), true));
  const TBytes Expected = FixtureBytes(L"RGBA32X8_OVER");
  for (const auto& R : BlendRoads) {
    auto Dest = FilledBitmap(32, 8, static_cast<TColor>(RGB(40, 90, 200)));
    {
      TTakeBlendRoad Road(R);
      cxAlphaBlend(Dest->Canvas()->Handle(), Source.get(), Dest->ClientRect(),
                   Source->ClientRect());
    }
    TBytes Got = RGBOf(Dest.get());
    ASSERT_EQ(Got.size(), Expected.size());
    int Worst = 0;
    size_t At = 0;
    for (size_t I = 0; I < Got.size(); ++I)
      if (std::abs(Got[I] - Expected[I]) > Worst) {
        Worst = std::abs(Got[I] - Expected[I]);
        At = I;
      }
    EXPECT_LE(Worst, 1) << R.Name << ": byte " << At << " is " << int(Got[At]) << ", Pillow "
                        << int(Expected[At]);
  }
}

// BMPs of every depth keep pixels, size and format through the compressed
// form-resource data; the data they decompress to is written under
// roundtrip/ for Pillow to read (check_roundtrip.py).
TEST_F(References, BitmapsOfEveryDepthRoundTripThroughCompressedData) {
  CreateDirectoryW(L"roundtrip", nullptr);
  struct {
    const wchar_t* Fixture;
    const wchar_t* File;
    TPixelFormat Format;
  } Cases[] = {{L"DEPTH1_BMP", L"depth1", TPixelFormat::pf1bit},
               {L"DEPTH4_BMP", L"depth4", TPixelFormat::pf4bit},
               {L"DEPTH8_BMP", L"depth8", TPixelFormat::pf8bit},
               {L"DEPTH16_BMP", L"depth16", TPixelFormat::pf16bit},
               {L"DEPTH24_BMP", L"depth24", TPixelFormat::pf24bit},
               {L"DEPTH32_BMP", L"depth32", TPixelFormat::pf32bit}};
  for (const auto& C : Cases) {
    String Name = C.File;
    std::string Trace(Name.begin(), Name.end());
    auto Original = LoadBmp(C.Fixture);
    ASSERT_EQ(Original->Width(), 9) << Trace;
    EXPECT_EQ(Original->PixelFormat(), C.Format) << Trace;
    Original->SetCompressData(true);
    TOwned<TMemoryStream> Data(Create<TMemoryStream>());
    Original->WriteData(Data.get());
    Data->SetPosition(0);
    TOwned<TcxBitmap> Back(Create<TcxBitmap>());
    Back->ReadData(Data.get());
    EXPECT_EQ(Back->Width(), Original->Width()) << Trace;
    EXPECT_EQ(Back->Height(), Original->Height()) << Trace;
    EXPECT_EQ(Back->PixelFormat(), Original->PixelFormat()) << Trace;
    EXPECT_EQ(RGBOf(Back.get()), RGBOf(Original.get())) << Trace;
    // The decompressed data: a 32-bit length, then the BMP file.
    Data->SetPosition(0);
    Byte Header[10];
    Data->ReadBuffer(Header, 10);
    ASSERT_EQ(std::string(reinterpret_cast<char*>(Header + 4), 4), "XDBM") << Trace;
    DWORD N = Header[0] | (Header[1] << 8) | (Header[2] << 16) | (DWORD(Header[3]) << 24);
    TOwned<TMemoryStream> Plain(Create<TMemoryStream>());
    cxDecompressBitmapData(Data.get(), N, 2, Plain.get());
    TBytes Bytes = StreamBytes(Plain.get());
    ASSERT_GT(Bytes.size(), 4u) << Trace;
    TOwned<TFileStream> File(Create<TFileStream>(L"roundtrip\\" + Name + L".bmp", fmCreate));
    File->WriteBuffer(Bytes.data() + 4, static_cast<Integer>(Bytes.size() - 4));
  }
}

}  // namespace
