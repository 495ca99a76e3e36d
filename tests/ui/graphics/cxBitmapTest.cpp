#include <cmath>
#include <cstring>
#include <functional>

#include "GdiPlusTestSupport.h"
#include "GraphicsTestSupport.h"

namespace {

// Reference values from Python's colorsys (rgb_to_hsv with H in degrees,
// rgb_to_hls) over a grid of colours.
struct TColorSpaceCase {
  int R, G, B;
  double H, S, V, HL, SL, L;
} const ColorSpaceCases[] = {
    {0, 0, 0, 0.000000000, 0.000000000, 0.000000000, 0.000000000, 0.000000000, 0.000000000},
    {0, 0, 17, 240.000000000, 1.000000000, 0.066666667, 0.666666667, 1.000000000, 0.033333333},
    {0, 0, 128, 240.000000000, 1.000000000, 0.501960784, 0.666666667, 1.000000000, 0.250980392},
    {0, 0, 255, 240.000000000, 1.000000000, 1.000000000, 0.666666667, 1.000000000, 0.500000000},
    {0, 64, 0, 120.000000000, 1.000000000, 0.250980392, 0.333333333, 1.000000000, 0.125490196},
    {0, 64, 17, 135.937500000, 1.000000000, 0.250980392, 0.377604167, 1.000000000, 0.125490196},
    {0, 64, 128, 210.000000000, 1.000000000, 0.501960784, 0.583333333, 1.000000000, 0.250980392},
    {0, 64, 255, 224.941176471, 1.000000000, 1.000000000, 0.624836601, 1.000000000, 0.500000000},
    {0, 153, 0, 120.000000000, 1.000000000, 0.600000000, 0.333333333, 1.000000000, 0.300000000},
    {0, 153, 17, 126.666666667, 1.000000000, 0.600000000, 0.351851852, 1.000000000, 0.300000000},
    {0, 153, 128, 170.196078431, 1.000000000, 0.600000000, 0.472766885, 1.000000000, 0.300000000},
    {0, 153, 255, 204.000000000, 1.000000000, 1.000000000, 0.566666667, 1.000000000, 0.500000000},
    {0, 255, 0, 120.000000000, 1.000000000, 1.000000000, 0.333333333, 1.000000000, 0.500000000},
    {0, 255, 17, 124.000000000, 1.000000000, 1.000000000, 0.344444444, 1.000000000, 0.500000000},
    {0, 255, 128, 150.117647059, 1.000000000, 1.000000000, 0.416993464, 1.000000000, 0.500000000},
    {0, 255, 255, 180.000000000, 1.000000000, 1.000000000, 0.500000000, 1.000000000, 0.500000000},
    {51, 0, 0, 0.000000000, 1.000000000, 0.200000000, 0.000000000, 1.000000000, 0.100000000},
    {51, 0, 17, 340.000000000, 1.000000000, 0.200000000, 0.944444444, 1.000000000, 0.100000000},
    {51, 0, 128, 263.906250000, 1.000000000, 0.501960784, 0.733072917, 1.000000000, 0.250980392},
    {51, 0, 255, 252.000000000, 1.000000000, 1.000000000, 0.700000000, 1.000000000, 0.500000000},
    {51, 64, 0, 72.187500000, 1.000000000, 0.250980392, 0.200520833, 1.000000000, 0.125490196},
    {51, 64, 17, 76.595744681, 0.734375000, 0.250980392, 0.212765957, 0.580246914, 0.158823529},
    {51, 64, 128, 229.870129870, 0.601562500, 0.501960784, 0.638528139, 0.430167598, 0.350980392},
    {51, 64, 255, 236.176470588, 0.800000000, 1.000000000, 0.656045752, 1.000000000, 0.600000000},
    {51, 153, 0, 100.000000000, 1.000000000, 0.600000000, 0.277777778, 1.000000000, 0.300000000},
    {51, 153, 17, 105.000000000, 0.888888889, 0.600000000, 0.291666667, 0.800000000, 0.333333333},
    {51, 153, 128, 165.294117647, 0.666666667, 0.600000000, 0.459150327, 0.500000000, 0.400000000},
    {51, 153, 255, 210.000000000, 0.800000000, 1.000000000, 0.583333333, 1.000000000, 0.600000000},
    {51, 255, 0, 108.000000000, 1.000000000, 1.000000000, 0.300000000, 1.000000000, 0.500000000},
    {51, 255, 17, 111.428571429, 0.933333333, 1.000000000, 0.309523810, 1.000000000, 0.533333333},
    {51, 255, 128, 142.647058824, 0.800000000, 1.000000000, 0.396241830, 1.000000000, 0.600000000},
    {51, 255, 255, 180.000000000, 0.800000000, 1.000000000, 0.500000000, 1.000000000, 0.600000000},
    {128, 0, 0, 0.000000000, 1.000000000, 0.501960784, 0.000000000, 1.000000000, 0.250980392},
    {128, 0, 17, 352.031250000, 1.000000000, 0.501960784, 0.977864583, 1.000000000, 0.250980392},
    {128, 0, 128, 300.000000000, 1.000000000, 0.501960784, 0.833333333, 1.000000000, 0.250980392},
    {128, 0, 255, 270.117647059, 1.000000000, 1.000000000, 0.750326797, 1.000000000, 0.500000000},
    {128, 64, 0, 30.000000000, 1.000000000, 0.501960784, 0.083333333, 1.000000000, 0.250980392},
    {128, 64, 17, 25.405405405, 0.867187500, 0.501960784, 0.070570571, 0.765517241, 0.284313725},
    {128, 64, 128, 300.000000000, 0.500000000, 0.501960784, 0.833333333, 0.333333333, 0.376470588},
    {128, 64, 255, 260.104712042, 0.749019608, 1.000000000, 0.722513089, 1.000000000, 0.625490196},
    {128, 153, 0, 69.803921569, 1.000000000, 0.600000000, 0.193899782, 1.000000000, 0.300000000},
    {128, 153, 17, 71.029411765, 0.888888889, 0.600000000, 0.197303922, 0.800000000, 0.333333333},
    {128, 153, 128, 120.000000000, 0.163398693, 0.600000000, 0.333333333, 0.109170306, 0.550980392},
    {128, 153, 255, 228.188976378, 0.498039216, 1.000000000, 0.633858268, 1.000000000, 0.750980392},
    {128, 255, 0, 89.882352941, 1.000000000, 1.000000000, 0.249673203, 1.000000000, 0.500000000},
    {128, 255, 17, 92.016806723, 0.933333333, 1.000000000, 0.255602241, 1.000000000, 0.533333333},
    {128, 255, 128, 120.000000000, 0.498039216, 1.000000000, 0.333333333, 1.000000000, 0.750980392},
    {128, 255, 255, 180.000000000, 0.498039216, 1.000000000, 0.500000000, 1.000000000, 0.750980392},
    {200, 0, 0, 0.000000000, 1.000000000, 0.784313725, 0.000000000, 1.000000000, 0.392156863},
    {200, 0, 17, 354.900000000, 1.000000000, 0.784313725, 0.985833333, 1.000000000, 0.392156863},
    {200, 0, 128, 321.600000000, 1.000000000, 0.784313725, 0.893333333, 1.000000000, 0.392156863},
    {200, 0, 255, 287.058823529, 1.000000000, 1.000000000, 0.797385621, 1.000000000, 0.500000000},
    {200, 64, 0, 19.200000000, 1.000000000, 0.784313725, 0.053333333, 1.000000000, 0.392156863},
    {200, 64, 17, 15.409836066, 0.915000000, 0.784313725, 0.042805100, 0.843317972, 0.425490196},
    {200, 64, 128, 331.764705882, 0.680000000, 0.784313725, 0.921568627, 0.552845528, 0.517647059},
    {200, 64, 255, 282.722513089, 0.749019608, 1.000000000, 0.785340314, 1.000000000, 0.625490196},
    {200, 153, 0, 45.900000000, 1.000000000, 0.784313725, 0.127500000, 1.000000000, 0.392156863},
    {200, 153, 17, 44.590163934, 0.915000000, 0.784313725, 0.123861566, 0.843317972, 0.425490196},
    {200, 153, 128, 20.833333333, 0.360000000, 0.784313725, 0.057870370, 0.395604396, 0.643137255},
    {200, 153, 255, 267.647058824, 0.400000000, 1.000000000, 0.743464052, 1.000000000, 0.800000000},
    {200, 255, 0, 72.941176471, 1.000000000, 1.000000000, 0.202614379, 1.000000000, 0.500000000},
    {200, 255, 17, 73.865546218, 0.933333333, 1.000000000, 0.205182073, 1.000000000, 0.533333333},
    {200, 255, 128, 85.984251969, 0.498039216, 1.000000000, 0.238845144, 1.000000000, 0.750980392},
    {200, 255, 255, 180.000000000, 0.215686275, 1.000000000, 0.500000000, 1.000000000, 0.892156863},
    {255, 0, 0, 0.000000000, 1.000000000, 1.000000000, 0.000000000, 1.000000000, 0.500000000},
    {255, 0, 17, 356.000000000, 1.000000000, 1.000000000, 0.988888889, 1.000000000, 0.500000000},
    {255, 0, 128, 329.882352941, 1.000000000, 1.000000000, 0.916339869, 1.000000000, 0.500000000},
    {255, 0, 255, 300.000000000, 1.000000000, 1.000000000, 0.833333333, 1.000000000, 0.500000000},
    {255, 64, 0, 15.058823529, 1.000000000, 1.000000000, 0.041830065, 1.000000000, 0.500000000},
    {255, 64, 17, 11.848739496, 0.933333333, 1.000000000, 0.032913165, 1.000000000, 0.533333333},
    {255, 64, 128, 339.895287958, 0.749019608, 1.000000000, 0.944153578, 1.000000000, 0.625490196},
    {255, 64, 255, 300.000000000, 0.749019608, 1.000000000, 0.833333333, 1.000000000, 0.625490196},
    {255, 153, 0, 36.000000000, 1.000000000, 1.000000000, 0.100000000, 1.000000000, 0.500000000},
    {255, 153, 17, 34.285714286, 0.933333333, 1.000000000, 0.095238095, 1.000000000, 0.533333333},
    {255, 153, 128, 11.811023622, 0.498039216, 1.000000000, 0.032808399, 1.000000000, 0.750980392},
    {255, 153, 255, 300.000000000, 0.400000000, 1.000000000, 0.833333333, 1.000000000, 0.800000000},
    {255, 255, 0, 60.000000000, 1.000000000, 1.000000000, 0.166666667, 1.000000000, 0.500000000},
    {255, 255, 17, 60.000000000, 0.933333333, 1.000000000, 0.166666667, 1.000000000, 0.533333333},
    {255, 255, 128, 60.000000000, 0.498039216, 1.000000000, 0.166666667, 1.000000000, 0.750980392},
    {255, 255, 255, 0.000000000, 0.000000000, 1.000000000, 0.000000000, 0.000000000, 1.000000000},
};

TEST(ColorSpaces, AgreeWithAReferenceOverAGrid) {
  for (const auto& C : ColorSpaceCases) {
    TColor Color = static_cast<TColor>(RGB(C.R, C.G, C.B));
    TdxHSV HSV = TdxColorSpaceConverter::ColorToHSV(Color);
    EXPECT_NEAR(HSV.H, C.H, 1e-9) << C.R << "," << C.G << "," << C.B;
    EXPECT_NEAR(HSV.S, C.S, 1e-9) << C.R << "," << C.G << "," << C.B;
    EXPECT_NEAR(HSV.V, C.V, 1e-9) << C.R << "," << C.G << "," << C.B;
    TdxHSL HSL = TdxColorSpaceConverter::ColorToHSL(Color);
    EXPECT_NEAR(HSL.H, C.HL, 1e-9) << C.R << "," << C.G << "," << C.B;
    EXPECT_NEAR(HSL.S, C.SL, 1e-9) << C.R << "," << C.G << "," << C.B;
    EXPECT_NEAR(HSL.L, C.L, 1e-9) << C.R << "," << C.G << "," << C.B;
    // Both ways back give the colour again.
    EXPECT_EQ(TdxColorSpaceConverter::HSVToColor(HSV), Color) << C.R << "," << C.G << "," << C.B;
    EXPECT_EQ(TdxColorSpaceConverter::HSLToColor(HSL), Color) << C.R << "," << C.G << "," << C.B;
  }
  EXPECT_EQ(TdxColorSpaceConverter::ColorToHSV(clNone).V, 0);
  EXPECT_EQ(TdxColorSpaceConverter::HSLToColor(0.7, 0, 0.5), 0x808080);
}

TEST(ColorSpaces, OutOfRangeInputKeepsChannelsInRange) {
  struct {
    double H, S, V;
    TColor Expected;
  } Cases[] = {
      {360, 1, 1, 0x0000FF},                                // a full turn is red again
      {720 + 120, 1, 1, 0x00FF00}, {-120, 1, 1, 0xFF0000},  // blue
      {0, 1, 1.5, 0x0000FF},                                // V clamped to 1
      {0, 2, 1, 0x0000FF},                                  // S clamped to 1
      {0, -1, 0.5, 0x808080},                               // S clamped to 0: grey
      {0, 0, -3, 0x000000},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(TdxColorSpaceConverter::HSVToColor(C.H, C.S, C.V), C.Expected)
        << C.H << " " << C.S << " " << C.V;
}

TEST(ColorRoutines, LighterDarkerAndTints) {
  struct {
    const char* Name;
    TColor Value, Expected;
  } Cases[] = {
      {"lighter 100 keeps", dxGetLighterColor(0x204080, 100), 0x204080},
      {"lighter 0 is white", dxGetLighterColor(0x204080, 0), 0xFFFFFF},
      {"lighter 50 truncates", dxGetLighterColor(0x204080, 50), 0x8F9FBF},
      {"darker 0 is black", dxGetDarkerColor(0x204080, 0), 0x000000},
      {"darker 50 truncates", dxGetDarkerColor(0x214181, 50), 0x102040},
      {"invert", dxInvertColor(0x204080), 0xDFBF7F},
      {"tint 0 keeps", dxGetColorTint(0x204080, 0), 0x204080},
      {"tint -100 is black", dxGetColorTint(0x204080, -100), 0x000000},
      {"tint 100 of grey is white", dxGetColorTint(0x808080, 100), 0xFFFFFF},
      {"tint 100 keeps a saturated hue's value", dxGetColorTint(0x0000FF, 100), 0xFFFFFF},
  };
  for (const auto& C : Cases) EXPECT_EQ(C.Value, C.Expected) << C.Name;
  TColor A = clRed, B = clBlue;
  cxExchangeColors(A, B);
  EXPECT_EQ(A, clBlue);
  EXPECT_FALSE(cxColorIsValid(clNone));
  EXPECT_FALSE(cxColorIsValid(clDefault));
  EXPECT_EQ(cxGetActualColor(clDefault, clRed), clRed);
}

// ---------------------------------------------------------------------------
// Bitmaps
class Bitmaps : public GraphicsModule {};

class TChangeCounter : public TObject {
 public:
  int Count = 0;
  void Changed(TObject*) { ++Count; }
};

TEST_F(Bitmaps, UpdatesAreCountedOncePerOutermostEnd) {
  TOwned<TcxBitmap> B(TcxBitmap::CreateSize(4, 4));
  TChangeCounter Counter;
  B->OnChange = MakeEvent<&TChangeCounter::Changed>(&Counter);
  B->SetSize(4, 4);
  EXPECT_EQ(Counter.Count, 0);  // same size: no change
  B->SetSize(-5, 10);
  EXPECT_EQ(B->Width(), 0);
  EXPECT_EQ(B->Height(), 10);
  EXPECT_EQ(Counter.Count, 1);
  B->BeginUpdate();
  B->EndUpdate(false);
  EXPECT_EQ(Counter.Count, 1);  // nothing happened in between
  B->BeginUpdate();
  B->BeginUpdate();
  B->SetSize(3, 3);
  B->SetSize(2, 2);
  B->EndUpdate(false);
  EXPECT_EQ(Counter.Count, 1);
  B->EndUpdate(false);
  EXPECT_EQ(Counter.Count, 2);
  B->BeginUpdate();
  B->SetSize(5, 5);
  B->CancelUpdate();
  EXPECT_EQ(Counter.Count, 2);
  EXPECT_EQ(B->PixelFormat(), TPixelFormat::pf24bit);
  TOwned<TcxBitmap32> B32(TcxBitmap32::CreateSize(2, 2));
  EXPECT_EQ(B32->PixelFormat(), TPixelFormat::pf32bit);
  EXPECT_THROW(B32->SetPixelFormat(TPixelFormat::pf24bit), EdxException);
}

// The packets a payload holds: (literal?, count) pairs.
std::vector<std::pair<bool, int>> Packets(const std::vector<Byte>& APayload) {
  std::vector<std::pair<bool, int>> R;
  size_t B = APayload[0], P = 2 + APayload[1];
  while (P < APayload.size()) {
    Byte C = APayload[P++];
    bool Literal = C & 0x80;
    R.push_back({Literal, C & 0x7F});
    P += Literal ? (C & 0x7F) * B : B;
  }
  return R;
}

std::vector<Byte> Encode(const std::vector<Byte>& AData, int ABlockSize) {
  TOwned<TMemoryStream> In(Create<TMemoryStream>()), Out(Create<TMemoryStream>());
  In->WriteBuffer(AData.data(), static_cast<Integer>(AData.size()));
  In->SetPosition(0);
  cxCompressBitmapData(In.get(), ABlockSize, Out.get());
  auto* P = static_cast<Byte*>(Out->Memory());
  return std::vector<Byte>(P, P + Out->Size());
}

std::vector<Byte> Decode(const std::vector<Byte>& APayload, Word AMethod = 2) {
  TOwned<TMemoryStream> In(Create<TMemoryStream>()), Out(Create<TMemoryStream>());
  In->WriteBuffer(APayload.data(), static_cast<Integer>(APayload.size()));
  In->SetPosition(0);
  cxDecompressBitmapData(In.get(), static_cast<Int64>(APayload.size()), AMethod, Out.get());
  auto* P = static_cast<Byte*>(Out->Memory());
  return std::vector<Byte>(P, P + Out->Size());
}

TEST_F(Bitmaps, RunTables) {
  auto Blocks = [](std::initializer_list<std::pair<Byte, int>> ARuns, int ABlock) {
    std::vector<Byte> D;
    for (auto [Value, Count] : ARuns)
      for (int I = 0; I < Count * ABlock; ++I) D.push_back(Value);
    return D;
  };
  struct {
    const char* Name;
    std::vector<Byte> Data;
    int Block;
    std::vector<std::pair<bool, int>> Expected;
  } Cases[] = {
      {"A B B C", Blocks({{1, 1}, {2, 2}, {3, 1}}, 3), 3, {{true, 1}, {false, 2}, {true, 1}}},
      {"300 equal", Blocks({{7, 300}}, 4), 4, {{false, 125}, {false, 125}, {false, 50}}},
      {"126 equal", Blocks({{7, 126}}, 2), 2, {{false, 125}, {true, 1}}},
      {"remainder first", {9, 9, 1, 1, 1, 2, 2, 2}, 3, {{true, 2}}},
      {"single block", {5}, 1, {{true, 1}}},
  };
  for (const auto& C : Cases) {
    std::vector<Byte> Payload = Encode(C.Data, C.Block);
    EXPECT_EQ(Payload[0], C.Block) << C.Name;
    EXPECT_EQ(Payload[1], C.Data.size() % C.Block) << C.Name;
    EXPECT_EQ(Packets(Payload), C.Expected) << C.Name;
    EXPECT_EQ(Decode(Payload), C.Data) << C.Name;
  }
  // Method 1: packets of one byte without a block header.
  EXPECT_EQ(Decode({0x03, 'a', 0x82, 'b', 'c'}, 1), (std::vector<Byte>{'a', 'a', 'a', 'b', 'c'}));
}

TEST_F(Bitmaps, DamagedPayloadsRaiseAReadErrorNamingTheFault) {
  struct {
    const char* Name;
    std::vector<Byte> Payload;
    Word Method;
    const wchar_t* Fault;
  } Cases[] = {
      {"literal run past the end", {1, 0, 0x85, 1, 2}, 2, L"past the data"},
      {"repeat block cut", {4, 0, 0x03, 1, 2}, 2, L"past the data"},
      {"remainder past the end", {1, 9, 1}, 2, L"remainder"},
      {"block size 0", {0, 0, 0x01}, 2, L"block size 0"},
      {"unknown method", {1, 0}, 3, L"unknown method 3"},
      {"no header", {1}, 2, L"block header"},
  };
  for (const auto& C : Cases) {
    try {
      Decode(C.Payload, C.Method);
      ADD_FAILURE() << C.Name << ": no error";
    } catch (const EReadError& E) {
      EXPECT_NE(E.Message().find(C.Fault), String::npos) << C.Name;
    }
  }
}

TOwned<TcxBitmap> PatternBitmap(TPixelFormat AFormat, int W, int H) {
  TOwned<TcxBitmap> B(TcxBitmap::CreateSize(W, H, AFormat));
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X)
      B->Canvas()->SetPixel(X, Y, (X / 3 + Y) % 3 == 0 ? clBlack : (Y < H / 2 ? clWhite : clBlack));
  return B;
}

TEST_F(Bitmaps, CompressedFormDataRoundTrips) {
  for (TPixelFormat F : {TPixelFormat::pf1bit, TPixelFormat::pf4bit, TPixelFormat::pf8bit,
                         TPixelFormat::pf16bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    for (bool Compress : {true, false}) {
      auto B = PatternBitmap(F, 37, 11);
      B->SetCompressData(Compress);
      TOwned<TMemoryStream> S(Create<TMemoryStream>());
      B->WriteData(S.get());
      Int64 Written = S->Size();
      S->WriteBuffer("NEXT", 4);  // what follows in the form must stay unread
      S->SetPosition(0);
      TOwned<TcxBitmap> R(Create<TcxBitmap>());
      R->ReadData(S.get());
      EXPECT_EQ(S->Position(), Written) << static_cast<int>(F) << Compress;
      EXPECT_EQ(R->PixelFormat(), F) << static_cast<int>(F) << Compress;
      EXPECT_EQ(R->Width(), 37);
      EXPECT_EQ(Shape(R.get(), 0), Shape(B.get(), 0)) << static_cast<int>(F) << Compress;
      if (Compress) {
        auto* P = static_cast<const char*>(S->Memory());
        EXPECT_EQ(std::string(P + 4, 4), "XDBM");
      }
    }
  }
  // A payload cut short fails instead of reading into what follows.
  auto B = PatternBitmap(TPixelFormat::pf24bit, 9, 9);
  B->SetCompressData(true);
  TOwned<TMemoryStream> S(Create<TMemoryStream>());
  B->WriteData(S.get());
  Integer N = 0;
  S->SetPosition(0);
  S->ReadBuffer(&N, 4);
  N += 50;
  S->SetPosition(0);
  S->WriteBuffer(&N, 4);
  S->SetPosition(0);
  TOwned<TcxBitmap> R(Create<TcxBitmap>());
  EXPECT_THROW(R->ReadData(S.get()), EReadError);
}

TEST_F(Bitmaps, RecoverTransparencyAndResize) {
  TOwned<TcxBitmap32> B(FilledBitmap(4, 4, clFuchsia));
  B->cxCanvas()->FillRect(cxRect(1, 1, 3, 3), static_cast<TColor>(RGB(10, 20, 30)));
  B->RecoverTransparency(clFuchsia);
  RGBQUAD Corner = QuadAt(B.get(), 0, 0), Middle = QuadAt(B.get(), 1, 1);
  EXPECT_EQ(Corner.rgbReserved + Corner.rgbRed + Corner.rgbBlue, 0);
  EXPECT_EQ(Middle.rgbReserved, 255);
  EXPECT_EQ(Middle.rgbRed, 10);
  EXPECT_TRUE(B->IsAlphaUsed());

  // Shrinking without stretching keeps the centre.
  TOwned<TcxBitmap32> C(FilledBitmap(6, 6, clBlack));
  C->cxCanvas()->FillRect(cxRect(2, 2, 4, 4), clRed);
  C->Resize(2, 2, false, false);
  EXPECT_EQ(Shape(C.get(), RGB(255, 0, 0)), "##\n##\n");
  // Growing centres the old image in the fill colour, floor for odd slack.
  TOwned<TcxBitmap32> D(FilledBitmap(2, 2, clRed));
  D->Resize(5, 3, false, false, clBlue);
  EXPECT_EQ(Shape(D.get(), RGB(255, 0, 0)), ".##..\n.##..\n.....\n");
  EXPECT_EQ(PixelOf(D.get(), 4, 2), RGB(0, 0, 255));
}

// ---------------------------------------------------------------------------
// Blending
TEST(Blending, BlendFunctionIsSourceOverForPremultipliedPixels) {
  struct {
    RGBQUAD Source, Dest;
    Byte Constant;
    RGBQUAD Expected;
  } Cases[] = {
      {{0, 0, 0, 0}, {10, 20, 30, 40}, 255, {10, 20, 30, 40}},
      {{5, 0, 0, 0}, {10, 20, 30, 40}, 255, {15, 20, 30, 40}},  // premultiplied input expected
      {{50, 100, 150, 255}, {10, 20, 30, 40}, 255, {50, 100, 150, 255}},
      {{50, 100, 150, 255}, {10, 20, 30, 0}, 0, {10, 20, 30, 0}},
      {{64, 64, 64, 128}, {200, 200, 200, 255}, 255, {164, 164, 164, 255}},
      {{100, 100, 100, 255}, {0, 0, 0, 0}, 128, {50, 50, 50, 128}},
  };
  for (const auto& C : Cases) {
    RGBQUAD D = C.Dest;
    cxBlendFunction(C.Source, D, C.Constant);
    EXPECT_EQ(D.rgbBlue, C.Expected.rgbBlue);
    EXPECT_EQ(D.rgbGreen, C.Expected.rgbGreen);
    EXPECT_EQ(D.rgbRed, C.Expected.rgbRed);
    EXPECT_EQ(D.rgbReserved, C.Expected.rgbReserved);
  }
}

// A premultiplied RGBA image with every alpha step somewhere.
TOwned<TcxBitmap32> AlphaImage(int W, int H) {
  TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(W, H));
  TRGBColors P(static_cast<size_t>(W) * H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      Byte A = static_cast<Byte>((X * 255) / (W - 1));
      Byte R = static_cast<Byte>(Y * 255 / (H - 1)), G = 128, Bl = static_cast<Byte>(255 - R);
      P[static_cast<size_t>(Y) * W + X] =
          RGBQUAD{static_cast<Byte>(Bl * A / 255), static_cast<Byte>(G * A / 255),
                  static_cast<Byte>(R * A / 255), A};
    }
  SetBitmapBits(B.get(), P, true);
  return B;
}

TEST_F(Bitmaps, TheBlendRoadsAgree) {
  auto Source = AlphaImage(32, 8);
  std::vector<TRGBColors> Results;
  for (const auto& Road : BlendRoads) {
    auto Dest = FilledBitmap(32, 8, static_cast<TColor>(RGB(40, 90, 200)));
    {
      TTakeBlendRoad Take(Road);
      cxAlphaBlend(Dest->Canvas()->Handle(), Source.get(), Dest->ClientRect(), Source->ClientRect(),
                   false, 255);
    }
    TRGBColors R;
    GetBitmapBits(Dest.get(), R, true);
    Results.push_back(R);
  }
  // Straight source-over over the background, computed here.
  TRGBColors S;
  GetBitmapBits(Source.get(), S, true);
  for (size_t I = 0; I < S.size(); ++I) {
    auto Over = [&](Byte C, Byte Back) { return C + Back * (255 - S[I].rgbReserved) / 255.0; };
    double Expected[3] = {Over(S[I].rgbBlue, 200), Over(S[I].rgbGreen, 90), Over(S[I].rgbRed, 40)};
    for (size_t Road = 0; Road < Results.size(); ++Road) {
      const RGBQUAD& Q = Results[Road][I];
      EXPECT_NEAR(Q.rgbBlue, Expected[0], 1.01) << "road " << Road << " pixel " << I;
      EXPECT_NEAR(Q.rgbGreen, Expected[1], 1.01) << "road " << Road << " pixel " << I;
      EXPECT_NEAR(Q.rgbRed, Expected[2], 1.01) << "road " << Road << " pixel " << I;
    }
  }
  // An empty source rectangle draws nothing.
  auto Dest = FilledBitmap(4, 4, clWhite);
  cxAlphaBlend(Dest->Canvas()->Handle(), Source.get(), Dest->ClientRect(), cxRect(0, 0, 0, 4));
  EXPECT_EQ(PixelOf(Dest.get(), 0, 0), RGB(255, 255, 255));
}

// The blend rounds k * S + e * D in single precision to the nearest, halves
// to even: checked against that formula for every source alpha, and the
// pixel-by-pixel road against the one-pixel routine.
TEST(Blending, BlendFunctionRoundsLikeTheFormulaForEveryAlpha) {
  int Checked = 0;
  for (int Constant : {255, 151, 64, 1})
    for (int Alpha = 0; Alpha < 256; ++Alpha)
      for (int S = 0; S <= Alpha; S += 7)
        for (int D : {0, 1, 100, 127, 128, 200, 255}) {
          RGBQUAD Dest{static_cast<Byte>(D), static_cast<Byte>(255 - D), static_cast<Byte>(D / 2),
                       static_cast<Byte>(D)};
          RGBQUAD Src{static_cast<Byte>(S), static_cast<Byte>(Alpha - S), static_cast<Byte>(S / 2),
                      static_cast<Byte>(Alpha)};
          float K = Constant / 255.0f, A = K * Alpha, E = 1 - A / 255;
          auto Mix = [&](Byte SC, Byte DC) {
            return static_cast<int>(std::min(255.0f, std::nearbyint(K * SC + E * DC)));
          };
          RGBQUAD Got = Dest;
          cxBlendFunction(Src, Got, static_cast<Byte>(Constant));
          ASSERT_EQ(Got.rgbBlue, Mix(Src.rgbBlue, Dest.rgbBlue)) << Constant << " " << Alpha;
          ASSERT_EQ(Got.rgbGreen, Mix(Src.rgbGreen, Dest.rgbGreen)) << Constant << " " << Alpha;
          ASSERT_EQ(Got.rgbRed, Mix(Src.rgbRed, Dest.rgbRed)) << Constant << " " << Alpha;
          ASSERT_EQ(Got.rgbReserved,
                    static_cast<int>(std::min(255.0f, std::nearbyint(A + E * Dest.rgbReserved))))
              << Constant << " " << Alpha;
          ++Checked;
        }
  EXPECT_GT(Checked, 10000);
}

TEST_F(Bitmaps, PixelByPixelRoadIsTheBlendFunction) {
  auto Source = AlphaImage(32, 8);
  // The blend keeps to the clip, also where it writes pixels itself.
  const TRect Excluded = cxRect(10, 4, 14, 6);
  for (auto [Constant, Clipped] : {std::pair<Byte, bool>{255, false}, {100, false}, {255, true}}) {
    auto Dest = FilledBitmap(40, 12, static_cast<TColor>(RGB(40, 90, 200)));
    if (Clipped) cxExcludeClipRect(Dest->Canvas()->Handle(), Excluded);
    TRGBColors Before;
    GetBitmapBits(Dest.get(), Before, true);
    {
      TTakeBlendRoad Road(BlendRoads[3]);
      // Onto a DC, in the part (3, 2) to (35, 10).
      cxAlphaBlend(Dest->Canvas()->Handle(), Source.get(), cxRect(3, 2, 35, 10),
                   Source->ClientRect(), false, Constant);
    }
    TRGBColors After, S;
    GetBitmapBits(Dest.get(), After, true);
    GetBitmapBits(Source.get(), S, true);
    int Wrong = 0;
    for (int Y = 0; Y < 12; ++Y)
      for (int X = 0; X < 40; ++X) {
        RGBQUAD Expected = Before[static_cast<size_t>(Y) * 40 + X];
        if (X >= 3 && X < 35 && Y >= 2 && Y < 10 && !(Clipped && cxRectPtIn(Excluded, X, Y)))
          cxBlendFunction(S[static_cast<size_t>(Y - 2) * 32 + X - 3], Expected, Constant);
        Wrong += std::memcmp(&Expected, &After[static_cast<size_t>(Y) * 40 + X], 4) != 0;
      }
    EXPECT_EQ(Wrong, 0) << int(Constant) << (Clipped ? " clipped" : "");
  }
}

// A part of a given bitmap, or a part of the source, is all that any road
// blends: the stretched road once blended the whole source over the whole
// destination bitmap whatever the rectangles said.
TEST_F(Bitmaps, EveryRoadBlendsOnlyTheRectanglesGiven) {
  REQUIRE_GDIPLUS();
  auto Source = AlphaImage(8, 4);
  std::vector<TRGBColors> Results;
  for (const auto& R : BlendRoads) {
    auto Dest = FilledBitmap(12, 10, static_cast<TColor>(RGB(40, 90, 200)));
    {
      TTakeBlendRoad Road(R);
      // The right half of the source into (5, 3) to (9, 7) of the bitmap.
      cxAlphaBlend(Dest.get(), Source.get(), cxRect(5, 3, 9, 7), cxRect(4, 0, 8, 4));
    }
    EXPECT_EQ(Shape(Dest.get(), RGB(40, 90, 200)),
              "############\n############\n############\n#####....###\n#####....###\n"
              "#####....###\n#####....###\n############\n############\n############\n")
        << R.Name;
    TRGBColors P;
    GetBitmapBits(Dest.get(), P, true);
    Results.push_back(P);
  }
  for (size_t Road = 1; Road < Results.size(); ++Road)
    for (size_t I = 0; I < Results[0].size(); ++I) {
      const RGBQUAD &A = Results[0][I], &B = Results[Road][I];
      EXPECT_NEAR(A.rgbRed, B.rgbRed, 1) << BlendRoads[Road].Name << " pixel " << I;
      EXPECT_NEAR(A.rgbGreen, B.rgbGreen, 1) << BlendRoads[Road].Name << " pixel " << I;
      EXPECT_NEAR(A.rgbBlue, B.rgbBlue, 1) << BlendRoads[Road].Name << " pixel " << I;
    }
}

TEST_F(Bitmaps, SoftwareGradientMatchesTheSystemOne) {
  // The system interpolates over the width, the bands over their count, so
  // few wide bands differ by up to one band step.
  struct {
    int Width;
    COLORREF C1, C2;
    int Tolerance;
  } Cases[] = {{600, RGB(0, 0, 0), RGB(255, 128, 10), 3},
               {1, RGB(9, 8, 7), RGB(200, 0, 0), 0},
               {37, RGB(255, 0, 0), RGB(0, 0, 255), 8}};
  for (const auto& C : Cases) {
    TSurface Soft(C.Width, 2, RGB(1, 2, 3)), System(C.Width, 2, RGB(1, 2, 3));
    FillGradientRect(System.DC(), cxRect(0, 0, C.Width, 2), static_cast<TColor>(C.C1),
                     static_cast<TColor>(C.C2), true);
    TcxGradientFillProc Saved = cxGraphicsPlatform().GradientFill;
    cxGraphicsPlatform().GradientFill = nullptr;
    FillGradientRect(Soft.DC(), cxRect(0, 0, C.Width, 2), static_cast<TColor>(C.C1),
                     static_cast<TColor>(C.C2), true);
    cxGraphicsPlatform().GradientFill = Saved;
    EXPECT_EQ(Soft.Pixel(0, 0), C.C1) << C.Width;
    if (C.Width > 1) {
      EXPECT_EQ(Soft.Pixel(C.Width - 1, 1), C.C2) << C.Width;
    }
    int Bands = 1;
    for (int X = 1; X < C.Width; ++X) Bands += Soft.Pixel(X, 0) != Soft.Pixel(X - 1, 0);
    EXPECT_LE(Bands, 256);
    if (C.Width == 600) {
      EXPECT_EQ(Bands, 256);
      // Band i ends at MulDiv(i + 1, 600, 256).
      EXPECT_NE(Soft.Pixel(MulDiv(1, 600, 256), 0), Soft.Pixel(MulDiv(1, 600, 256) - 1, 0));
    }
    for (int X = 0; X < C.Width; ++X) {
      COLORREF A = Soft.Pixel(X, 0), B = System.Pixel(X, 0);
      EXPECT_NEAR(GetRValue(A), GetRValue(B), C.Tolerance) << C.Width << " x " << X;
      EXPECT_NEAR(GetGValue(A), GetGValue(B), C.Tolerance) << C.Width << " x " << X;
      EXPECT_NEAR(GetBValue(A), GetBValue(B), C.Tolerance) << C.Width << " x " << X;
    }
  }
  TSurface S(4, 4, RGB(1, 2, 3));
  FillGradientRect(S.DC(), cxRect(0, 0, 4, 4), clNone, clNone, false);
  EXPECT_EQ(S.Pixel(2, 2), RGB(1, 2, 3));
}

// ---------------------------------------------------------------------------
// Resampling
TEST_F(Bitmaps, LanczosIdentityCornersAndTinySources) {
  auto Source = AlphaImage(10, 10);
  TOwned<TcxBitmap32> Same(TcxBitmap32::CreateSize(10, 10));
  cxSmoothResizeBitmap(Source.get(), Same.get(), true);
  TRGBColors A, B;
  GetBitmapBits(Source.get(), A, true);
  GetBitmapBits(Same.get(), B, true);
  for (size_t I = 0; I < A.size(); ++I) EXPECT_EQ(std::memcmp(&A[I], &B[I], 4), 0) << I;

  TcxContributorList L;
  BuildFilter(L, (7 - 1) / 3.0f, 4, 7);
  ASSERT_EQ(L.size(), 7u);
  // Destination pixels 0 and 6 sit on source pixels 0 and 3: one tap each.
  for (int I : {0, 6}) {
    int Sum = 0, Centre = 0;
    for (const auto& C : L[static_cast<size_t>(I)]) {
      Sum += C.Weight;
      if (C.Pixel == (I == 0 ? 0 : 3)) Centre += C.Weight;
    }
    EXPECT_EQ(Centre, 256) << I;
  }
  for (int Size : {1, 2}) {
    BuildFilter(L, 8.0f / Size, Size, 8);
    for (const auto& Row : L)
      for (const auto& C : Row) {
        EXPECT_GE(C.Pixel, 0);
        EXPECT_LT(C.Pixel, Size);
      }
    auto Tiny = FilledBitmap(Size, Size, clRed);
    TOwned<TcxBitmap32> Big(TcxBitmap32::CreateSize(8, 8));
    cxSmoothResizeBitmap(Tiny.get(), Big.get(), true);
    // Lanczos weights sum to 256 only roughly: a flat colour stays within a few steps.
    EXPECT_NEAR(GetRValue(PixelOf(Big.get(), 4, 4)), 255, 4) << Size;
    EXPECT_EQ(GetBValue(PixelOf(Big.get(), 4, 4)), 0) << Size;
  }
}

// ---------------------------------------------------------------------------
// Glyphs
TEST(Glyphs, ImageRectByFitMode) {
  const TRect R = cxRect(0, 0, 32, 20);
  struct {
    TcxImageFitMode Mode;
    TRect Expected;
  } Cases[] = {
      {ifmStretch, cxRect(0, 0, 32, 20)}, {ifmProportionalStretch, cxRect(6, 0, 26, 20)},
      {ifmFit, cxRect(8, 2, 24, 18)},     {ifmFill, cxRect(0, -6, 32, 26)},
      {ifmNormal, cxRect(8, 2, 24, 18)},
  };
  for (const auto& C : Cases) EXPECT_EQ(cxGetImageRect(R, TSize{16, 16}, C.Mode), C.Expected);
  EXPECT_EQ(cxGetImageRect(R, TSize{16, 16}, ifmNormal, true, 150), cxRect(4, -2, 28, 22));
  EXPECT_EQ(cxGetImageRect(R, TSize{16, 16}, ifmNormal, false, 100), cxRect(0, 0, 16, 16));
  EXPECT_EQ(cxGetImageRect(R, TSize{0, 16}, ifmFit), R);
}

TEST_F(Bitmaps, TransformationRules) {
  TOwned<TcxAlphaBitmap> B(TcxAlphaBitmap::CreateSize(4, 4, RGBQUAD{0xFF, 0xFF, 0xFF, 0xFF}));
  TRGBColors P(16, RGBQUAD{0xFF, 0xFF, 0xFF, 0xFF});
  P[5] = RGBQUAD{30, 60, 90, 255};
  P[6] = RGBQUAD{30, 60, 90, 0};
  B->SetBitmapColors(P);
  B->TransformBitmap(btmMakeMask);
  TRGBColors M;
  B->GetBitmapColors(M);
  EXPECT_EQ(*reinterpret_cast<DWORD*>(&M[0]), ClrNone);
  EXPECT_EQ(*reinterpret_cast<DWORD*>(&M[5]), ClrTransparent);
  EXPECT_EQ(*reinterpret_cast<DWORD*>(&M[6]), ClrTransparent);

  // Hatch in 2 x 2 cells counted from the bottom-left pixel.
  TOwned<TcxAlphaBitmap> H(TcxAlphaBitmap::CreateSize(4, 4));
  H->DrawHatch(clRed, clBlue, 2, 255, 255);
  EXPECT_EQ(Shape(H.get(), RGB(255, 0, 0)), "..##\n..##\n##..\n##..\n");

  struct {
    TcxBitmapTransformationMode Mode;
    RGBQUAD In, Out;
  } Cases[] = {
      {btmGrayScale, {30, 60, 90, 255}, {60, 60, 60, 255}},
      {btmFade, {30, 60, 90, 255}, {66, 66, 66, 255}},     // 0.299*90+0.587*60+0.114*30
      {btmDisable, {30, 60, 90, 255}, {56, 56, 56, 255}},  // 0.0729*90+0.7146*60+0.2125*30
      {btmDingy, {30, 60, 90, 255}, {98, 119, 140, 255}},
      {btmDingy, {30, 60, 90, 100}, {24, 47, 71, 78}},
      {btmCorrectBlend, {30, 60, 90, 0}, {30, 60, 90, 255}},
      {btmResetAlpha, {30, 60, 90, 7}, {30, 60, 90, 0}},
      {btmSetOpaque, {30, 60, 90, 7}, {30, 60, 90, 255}},
  };
  for (const auto& C : Cases) {
    TOwned<TcxAlphaBitmap> T(TcxAlphaBitmap::CreateSize(1, 1, RGBQUAD{1, 1, 1, 1}));
    T->SetBitmapColors({C.In});
    T->TransformBitmap(C.Mode);
    RGBQUAD Q = QuadAt(T.get(), 0, 0);
    EXPECT_EQ(std::memcmp(&Q, &C.Out, 4), 0)
        << C.Mode << ": " << int(Q.rgbBlue) << " " << int(Q.rgbGreen) << " " << int(Q.rgbRed) << " "
        << int(Q.rgbReserved);
  }
}

TEST_F(Bitmaps, ShadowGrowsTheBitmapWhenAsked) {
  TOwned<TcxAlphaBitmap> B(TcxAlphaBitmap::CreateSize(4, 4));
  B->SetBitmapColors(TRGBColors(16, RGBQUAD{0, 0, 200, 255}));
  TOwned<TcxAlphaBitmap> Mask(TcxAlphaBitmap::CreateSize(4, 4));
  Mask->CopyBitmap(B.get());
  Mask->TransformBitmap(btmMakeMask);
  B->DrawShadow(Mask.get(), 2, clBlue, true);
  EXPECT_EQ(B->Width(), 6);
  EXPECT_EQ(B->Height(), 6);
  EXPECT_EQ(PixelOf(B.get(), 1, 1), RGB(200, 0, 0));
  EXPECT_EQ(QuadAt(B.get(), 5, 5).rgbReserved, 255);  // the shadow below right
  EXPECT_EQ(PixelOf(B.get(), 5, 5), RGB(0, 0, 255));
  EXPECT_EQ(QuadAt(B.get(), 5, 0).rgbReserved, 0);
}

bool DrawNothing(TcxCanvas*, TCustomImageList*, Integer, TGraphic*, const TRect&,
                 TcxImageDrawMode) {
  return true;
}

TEST_F(Bitmaps, GlyphsByDrawModeAndTheCustomHook) {
  TOwned<TcxBitmap> Glyph(TcxBitmap::CreateSize(4, 4));
  Glyph->cxCanvas()->FillRect(Glyph->ClientRect(), clFuchsia);  // left-bottom: transparent
  Glyph->cxCanvas()->FillRect(cxRect(1, 1, 3, 3), static_cast<TColor>(RGB(0, 0, 255)));
  struct {
    TcxImageDrawMode Mode;
    COLORREF Centre;
  } Cases[] = {
      {idmNormal, RGB(0, 0, 255)},
      {idmGrayScale, RGB(85, 85, 85)},
      // Faded: grey 29 over white with alpha 64.
      {idmFaded, RGB(MulDiv(29, 64, 255) + 255 * 191 / 255, 0, 0)},
  };
  for (const auto& C : Cases) {
    auto Target = FilledBitmap(6, 6, clWhite);
    cxDrawImage(Target->cxCanvas(), cxRect(1, 1, 5, 5), Glyph.get(), nullptr, -1, ifmNormal,
                C.Mode);
    EXPECT_EQ(PixelOf(Target.get(), 1, 1), RGB(255, 255, 255)) << C.Mode;  // transparent
    COLORREF P = PixelOf(Target.get(), 2, 2);
    if (C.Mode == idmFaded)
      EXPECT_NEAR(GetRValue(P), GetRValue(C.Centre), 2) << C.Mode;
    else
      EXPECT_EQ(P, C.Centre) << C.Mode;
  }
  CustomDrawImageProc = &DrawNothing;
  auto Target = FilledBitmap(6, 6, clWhite);
  cxDrawImage(Target->cxCanvas(), cxRect(1, 1, 5, 5), Glyph.get(), nullptr, -1, ifmNormal,
              idmNormal);
  CustomDrawImageProc = nullptr;
  EXPECT_EQ(Shape(Target.get(), RGB(255, 255, 255)),
            "######\n######\n######\n######\n######\n######\n");
  // A glyph of no size draws nothing.
  TOwned<TcxBitmap> Empty(Create<TcxBitmap>());
  cxDrawImage(Target->cxCanvas(), cxRect(1, 1, 5, 5), Empty.get(), nullptr, -1, ifmNormal);
  EXPECT_EQ(PixelOf(Target.get(), 2, 2), RGB(255, 255, 255));
}

}  // namespace
