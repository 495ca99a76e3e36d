#include <gtest/gtest.h>

#include <cstring>

#include "GdiPlusTestSupport.h"
#include "GraphicsTestSupport.h"

// Three glyphs and a bitmap streamed as a form streams a window's buttons.
class TGlyphHost : public TComponent {
  DECLARE_CLASS(TGlyphHost, TComponent)
 public:
  explicit TGlyphHost(TComponent* AOwner)
      : TComponent(AOwner),
        FRecalc(Create<TdxSmartGlyph>()),
        FInputFolder(Create<TdxSmartGlyph>()),
        FOutputFolder(Create<TdxSmartGlyph>()),
        FPicture(Create<TBitmap>()) {}
  TdxSmartGlyph* Recalc() const { return FRecalc.get(); }
  TdxSmartGlyph* InputFolder() const { return FInputFolder.get(); }
  TdxSmartGlyph* OutputFolder() const { return FOutputFolder.get(); }
  TBitmap* Picture() const { return FPicture.get(); }

 private:
  TOwned<TdxSmartGlyph> FRecalc, FInputFolder, FOutputFolder;
  TOwned<TBitmap> FPicture;
};

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TGlyphHost) {
  P.Property<&TGlyphHost::Recalc>(L"Recalc");
  P.Property<&TGlyphHost::InputFolder>(L"InputFolder");
  P.Property<&TGlyphHost::OutputFolder>(L"OutputFolder");
  P.Property<&TGlyphHost::Picture>(L"Picture");
}

namespace {

struct TGlyphFile {
  TdxSmartGlyph* (TGlyphHost::*Glyph)() const;
  const wchar_t* Resource;
};
const TGlyphFile Glyphs[] = {{&TGlyphHost::Recalc, L"GLYPH_RECALC"},
                             {&TGlyphHost::InputFolder, L"GLYPH_INPUT"},
                             {&TGlyphHost::OutputFolder, L"GLYPH_OUTPUT"}};

TBytes Saved(TGraphic* AGraphic) {
  TOwned<TMemoryStream> S(Create<TMemoryStream>());
  AGraphic->SaveToStream(S.get());
  return StreamBytes(S.get());
}

TEST(SmartGlyph, AFormResourceGivesTheButtonsTheirPngsUndecoded) {
  REQUIRE_GDIPLUS();
  TOwned<TGlyphHost> Host(Create<TGlyphHost>(nullptr));
  ReadComponentRes(L"TGLYPHHOST", Host.get());
  for (const TGlyphFile& G : Glyphs) {
    TdxSmartGlyph* Glyph = (Host.get()->*G.Glyph)();
    EXPECT_EQ(Glyph->GetSourceDPI(), 96) << G.Resource;
    EXPECT_EQ(Glyph->GetSourceSize(), (TSize{16, 16})) << G.Resource;
    EXPECT_FALSE(Glyph->HandleAllocated()) << G.Resource;
    EXPECT_EQ(Saved(Glyph), FixtureBytes(G.Resource)) << G.Resource;
  }
  // Written back and read again: the same bytes, still stored, not decoded.
  Host->Picture()->SetPixelFormat(TPixelFormat::pf24bit);
  Host->Picture()->SetSize(2, 1);
  Host->Picture()->Canvas()->SetPixel(1, 0, clRed);
  TOwned<TMemoryStream> Binary(Create<TMemoryStream>());
  WriteComponentToStream(Binary.get(), Host.get());
  Binary->SetPosition(0);
  TOwned<TStringStream> Text(Create<TStringStream>(String(), TEncoding::UTF8()));
  ObjectBinaryToText(Binary.get(), Text.get());
  String Form = Text->DataString();
  EXPECT_NE(Form.find(L"Recalc.SourceDPI = 96"), String::npos);
  EXPECT_NE(Form.find(L"Recalc.Data = {"), String::npos);
  EXPECT_EQ(Form.find(L"SourceWidth"), String::npos);  // equal to the image's own
  Binary->SetPosition(0);
  TOwned<TGlyphHost> Again(Create<TGlyphHost>(nullptr));
  ReadComponentFromStream(Binary.get(), Again.get());
  for (const TGlyphFile& G : Glyphs)
    EXPECT_EQ(Saved((Again.get()->*G.Glyph)()), FixtureBytes(G.Resource)) << G.Resource;
  // A bitmap's data is a 32-bit length and the BMP file.
  EXPECT_EQ(Again->Picture()->Width(), 2);
  EXPECT_EQ(Again->Picture()->Canvas()->Pixels(1, 0), clRed);
}

TEST(SmartGlyph, TheFrameworkBitmapStreamLoadsTheBitmap) {
  REQUIRE_GDIPLUS();
  TBytes Bmp = FixtureBytes(L"INFO5X3_BMP");
  Integer Length = static_cast<Integer>(Bmp.size());
  TBytes Prefixed(reinterpret_cast<const Byte*>(&Length),
                  reinterpret_cast<const Byte*>(&Length) + 4);
  Prefixed += Bmp;
  TOwned<TMemoryStream> In(BytesStream(Prefixed));
  TOwned<TdxSmartGlyph> Glyph(Create<TdxSmartGlyph>());
  Glyph->LoadFromStream(In.get());
  EXPECT_EQ(Glyph->ImageData()->Bits().size(), 15u);
  EXPECT_EQ(Glyph->GetSize(), (TSize{5, 3}));
  // A prefix that is not the file's size: the bytes are kept as they came.
  TBytes Wrong = Prefixed;
  Wrong[0] ^= 1;
  TOwned<TMemoryStream> WrongIn(BytesStream(Wrong));
  TOwned<TdxSmartGlyph> Kept(Create<TdxSmartGlyph>());
  Kept->LoadFromStream(WrongIn.get());
  ASSERT_NE(Kept->ImageData()->Data(), nullptr);
  EXPECT_EQ(StreamBytes(Kept->ImageData()->Data()), Wrong);
  // A colour bitmap given to a glyph has its key colour made transparent.
  EXPECT_EQ(Glyph->ImageData()->Bits()[10].rgbReserved, 0);  // bottom-left
}

TEST(SmartGlyph, SourceSizeAndDpiSetters) {
  REQUIRE_GDIPLUS();
  TOwned<TMemoryStream> In(BytesStream(FixtureBytes(L"GLYPH_RECALC")));
  TOwned<TdxSmartGlyph> Glyph(Create<TdxSmartGlyph>());
  Glyph->LoadFromStream(In.get());
  struct {
    Integer Set, Stored, Read;
  } Cases[] = {{16, 0, 16}, {-5, 0, 16}, {24, 24, 24}, {0, 0, 16}};
  for (const auto& C : Cases) {
    Glyph->SetSourceWidth(C.Set);
    EXPECT_EQ(Glyph->StoredSourceWidth(), C.Stored) << C.Set;
    EXPECT_EQ(Glyph->SourceWidth(), C.Read) << C.Set;
  }
  Glyph->SetSourceHeight(20);
  EXPECT_EQ(Glyph->GetSourceSize(), (TSize{16, 20}));
  Glyph->SetSourceDPI(10);
  EXPECT_EQ(Glyph->SourceDPI(), dxCheckDPIValue(10));
  TOwned<TdxSmartGlyph> Copy(Create<TdxSmartGlyph>());
  Copy->Assign(Glyph.get());
  EXPECT_EQ(Copy->GetSourceSize(), (TSize{16, 20}));
  EXPECT_EQ(Copy->SourceDPI(), Glyph->SourceDPI());
  EXPECT_FALSE(Copy->HandleAllocated());
  void* Dpi = nullptr;
  EXPECT_TRUE(Supports(Copy.get(), __uuidof(IdxSourceDPI), &Dpi));
}

// A top-level window on the test display whose client area is read back
// with BitBlt.
class TGlyphWindow {
 public:
  TGlyphWindow(Integer AWidth, Integer AHeight) : FWidth(AWidth), FHeight(AHeight) {
    FWnd = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Glyphs", WS_POPUP | WS_VISIBLE, 40, 40,
                           AWidth, AHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    FDC = GetDC(FWnd);
    RECT R{0, 0, AWidth, AHeight};
    FillRect(FDC, &R, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~TGlyphWindow() {
    ReleaseDC(FWnd, FDC);
    DestroyWindow(FWnd);
  }
  TGlyphWindow(const TGlyphWindow&) = delete;
  TGlyphWindow& operator=(const TGlyphWindow&) = delete;
  HDC DC() const { return FDC; }
  // The client area as 32-bit pixels, top row first.
  TRGBColors Capture() const {
    TOwned<TBitmap> B = MakeOwned<TBitmap>();
    B->SetPixelFormat(TPixelFormat::pf32bit);
    B->SetSize(FWidth, FHeight);
    GdiFlush();
    BitBlt(B->Canvas()->Handle(), 0, 0, FWidth, FHeight, FDC, 0, 0, SRCCOPY);
    TRGBColors Bits;
    GetBitmapBits(B.get(), Bits, true);
    for (RGBQUAD& P : Bits) P.rgbReserved = 255;
    return Bits;
  }

 private:
  Integer FWidth, FHeight;
  HWND FWnd;
  HDC FDC;
};

TEST(SmartGlyph, DrawnOnAWindowAtFullAndHalfOpacity) {
  REQUIRE_GDIPLUS();
  TOwned<TGlyphHost> Host(Create<TGlyphHost>(nullptr));
  ReadComponentRes(L"TGLYPHHOST", Host.get());
  const Integer W = 3 * 24 + 8, H = 2 * 24 + 8;
  TGlyphWindow Window(W, H);
  for (Integer I = 0; I < 3; ++I) {
    TdxSmartGlyph* Glyph = (Host.get()->*Glyphs[I].Glyph)();
    Glyph->StretchDraw(Window.DC(), Bounds(8 + 24 * I, 8, 16, 16), 255);
    Glyph->StretchDraw(Window.DC(), Bounds(8 + 24 * I, 32, 16, 16), 128);
  }
  TRGBColors Shot = Window.Capture();
  // Every pixel against the glyph's own pixels blended over white.
  for (Integer I = 0; I < 3; ++I) {
    TRGBColors Glyph = (Host.get()->*Glyphs[I].Glyph)()->GetBitmapBits();  // premultiplied
    for (Integer Row = 0; Row < 2; ++Row) {
      Integer Opacity = Row == 0 ? 255 : 128;
      for (Integer Y = 0; Y < 16; ++Y)
        for (Integer X = 0; X < 16; ++X) {
          const RGBQUAD& G = Glyph[Y * 16 + X];
          const RGBQUAD& S = Shot[(8 + 24 * Row + Y) * W + 8 + 24 * I + X];
          auto Blend = [&](Byte C) {
            double A = G.rgbReserved * Opacity / 255.0;
            return C * Opacity / 255.0 + 255 * (1 - A / 255.0);
          };
          EXPECT_NEAR(S.rgbRed, Blend(G.rgbRed), 3) << I << " " << Row << " " << X << "," << Y;
          EXPECT_NEAR(S.rgbGreen, Blend(G.rgbGreen), 3) << I << " " << Row << " " << X << "," << Y;
          EXPECT_NEAR(S.rgbBlue, Blend(G.rgbBlue), 3) << I << " " << Row << " " << X << "," << Y;
        }
    }
  }
  // For people: the three button glyphs as the form resource gives them.
  TOwned<TdxPNGImage> Screenshot(
      TdxCustomSmartImage::CreateFromBits<TdxPNGImage>(W, H, Shot, TAlphaFormat::afIgnored));
  Screenshot->SaveToFile(L"glyph_buttons.png");
}

}  // namespace
