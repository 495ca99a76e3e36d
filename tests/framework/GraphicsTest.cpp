#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "Graphics.h"

namespace {

struct GraphicsModule : testing::Test {
  void SetUp() override { Graphics_Initialize(); }
};

TEST(Colors, SystemColoursResolveAndNamesRoundTrip) {
  EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
  struct {
    TColor Color;
    const wchar_t* Text;
  } Cases[] = {{clRed, L"clRed"},
               {clBtnFace, L"clBtnFace"},
               {clNone, L"clNone"},
               {0x00123456, L"$00123456"}};
  for (const auto& C : Cases) {
    EXPECT_EQ(ColorToString(C.Color), C.Text);
    EXPECT_EQ(StringToColor(C.Text), C.Color);
  }
  EXPECT_EQ(StringToColor(L"clbtnface"), clBtnFace);
}

TEST(Fonts, HeightSizeAndHandleFollowProperties) {
  TOwned<TFont> F(Create<TFont>());
  F->SetPixelsPerInch(96);
  F->SetSize(8);
  EXPECT_EQ(F->Height(), -11);
  F->SetPixelsPerInch(144);
  F->SetHeight(-16);
  EXPECT_EQ(F->Size(), 8);
  int Changes = 0;
  struct Counter {
    int* N;
    void Hit(TObject*) { ++*N; }
  } C{&Changes};
  F->OnChange = MakeEvent<&Counter::Hit>(&C);
  F->SetName(L"Tahoma");  // unchanged: no notification
  F->SetStyle({TFontStyle::fsBold, TFontStyle::fsItalic});
  EXPECT_EQ(Changes, 1);
  LOGFONTW LF{};
  ASSERT_TRUE(GetObjectW(F->Handle(), sizeof(LF), &LF));
  EXPECT_EQ(LF.lfHeight, -16);
  EXPECT_EQ(LF.lfWeight, FW_BOLD);
  EXPECT_TRUE(LF.lfItalic);
  EXPECT_STREQ(LF.lfFaceName, L"Tahoma");
  TOwned<TFont> G(Create<TFont>());
  G->SetPixelsPerInch(144);
  G->Assign(F.get());
  EXPECT_TRUE(G->IsEqual(*F));
}

// Rescaling a font keeps its size in points, also for whoever hears the
// change: the resolution is already the new one when the height changes.
TEST(Fonts, ChangeScaleKeepsThePointSizeForListenersToo) {
  const struct {
    Integer PPI, Height, M, D;
    Integer NewPPI, NewHeight;
    bool Notified;
  } Cases[] = {{96, -12, 3, 2, 144, -18, true},
               {144, -16, 1, 4, 36, -4, true},
               {96, -12, 2, 1, 192, -24, true},
               {96, -12, 5, 5, 96, -12, false},
               {96, -12, 3, 0, 96, -12, false}};
  struct TListener {
    TFont* Font;
    std::vector<Integer> Sizes;
    void Hit(TObject*) { Sizes.push_back(Font->Size()); }
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.PPI << " " << C.M << "/" << C.D);
    TOwned<TFont> F(Create<TFont>());
    F->SetPixelsPerInch(C.PPI);
    F->SetHeight(C.Height);
    const Integer ASize = F->Size();
    TListener L{F.get(), {}};
    F->OnChange = MakeEvent<&TListener::Hit>(&L);
    F->ChangeScale(C.M, C.D);
    EXPECT_EQ(F->PixelsPerInch(), C.NewPPI);
    EXPECT_EQ(F->Height(), C.NewHeight);
    EXPECT_EQ(F->Size(), ASize);
    EXPECT_EQ(L.Sizes, C.Notified ? std::vector<Integer>{ASize} : std::vector<Integer>{});
  }
}

TEST(Fonts, TakeAndGiveALogicalFontWithoutAHandle) {
  struct Case {
    const wchar_t* Face;
    LONG Height, Weight, Escapement;
    BYTE Italic, Underline, StrikeOut, Charset, Quality, Pitch;
    TFontStyles Style;
    TFontQuality FontQuality;
    TFontPitch FontPitch;
  } Cases[] = {
      {L"Courier New",
       -20,
       FW_BOLD,
       900,
       1,
       0,
       1,
       RUSSIAN_CHARSET,
       CLEARTYPE_QUALITY,
       FIXED_PITCH,
       {TFontStyle::fsBold, TFontStyle::fsItalic, TFontStyle::fsStrikeOut},
       TFontQuality::fqClearType,
       TFontPitch::fpFixed},
      {L"Tahoma",
       13,
       FW_NORMAL,
       0,
       0,
       1,
       0,
       DEFAULT_CHARSET,
       NONANTIALIASED_QUALITY,
       VARIABLE_PITCH | FF_SWISS,
       {TFontStyle::fsUnderline},
       TFontQuality::fqNonAntialiased,
       TFontPitch::fpVariable},
  };
  for (const Case& C : Cases) {
    LOGFONTW LF{};
    wcscpy(LF.lfFaceName, C.Face);
    LF.lfHeight = C.Height;
    LF.lfWeight = C.Weight;
    LF.lfEscapement = C.Escapement;
    LF.lfItalic = C.Italic;
    LF.lfUnderline = C.Underline;
    LF.lfStrikeOut = C.StrikeOut;
    LF.lfCharSet = C.Charset;
    LF.lfQuality = C.Quality;
    LF.lfPitchAndFamily = C.Pitch;
    TOwned<TFont> F(Create<TFont>());
    int Changes = 0;
    struct Counter {
      int* N;
      void Hit(TObject*) { ++*N; }
    } Count{&Changes};
    F->OnChange = MakeEvent<&Counter::Hit>(&Count);
    F->SetLogFont(LF);
    EXPECT_EQ(Changes, 1) << C.Face;
    EXPECT_EQ(F->Name(), C.Face);
    EXPECT_EQ(F->Height(), C.Height);
    EXPECT_EQ(F->Style(), C.Style) << C.Face;
    EXPECT_EQ(F->Charset(), C.Charset);
    EXPECT_EQ(F->Orientation(), C.Escapement);
    EXPECT_EQ(F->Quality(), C.FontQuality);
    EXPECT_EQ(F->Pitch(), C.FontPitch);
    // The handle the font makes says the same.
    LOGFONTW Made{};
    ASSERT_TRUE(GetObjectW(F->Handle(), sizeof(Made), &Made));
    EXPECT_STREQ(Made.lfFaceName, C.Face);
    EXPECT_EQ(Made.lfHeight, C.Height);
    EXPECT_EQ(Made.lfWeight >= FW_BOLD, C.Weight >= FW_BOLD);
    EXPECT_EQ(Made.lfCharSet, C.Charset);
    EXPECT_EQ(Made.lfQuality, C.Quality);
    EXPECT_EQ(Made.lfPitchAndFamily & 3, C.Pitch & 3);
  }
}

// Reads one pixel as 0x00RRGGBB from a 24-bit bitmap's own memory.
uint32_t PixelAt(TBitmap& B, int X, int Y) {
  auto* Row = static_cast<Byte*>(B.ScanLine(Y));
  return (Row[X * 3 + 2] << 16) | (Row[X * 3 + 1] << 8) | Row[X * 3];
}

TEST(Canvas, PrimitivesPaintExactPixels) {
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(6, 5);
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(clBlue);
  C->FillRect(Rect(0, 0, 6, 5));
  C->Brush()->SetColor(clRed);
  C->FillRect(Rect(1, 1, 3, 3));  // right and bottom lie outside
  C->Pen()->SetColor(clLime);
  C->MoveTo(0, 4);
  C->LineTo(6, 4);  // the last point is not drawn, but 6 is outside anyway
  C->SetPixel(5, 0, clYellow);
  EXPECT_EQ(PixelAt(B, 0, 0), 0x0000FFu);
  EXPECT_EQ(PixelAt(B, 1, 1), 0xFF0000u);
  EXPECT_EQ(PixelAt(B, 2, 2), 0xFF0000u);
  EXPECT_EQ(PixelAt(B, 3, 3), 0x0000FFu);
  EXPECT_EQ(PixelAt(B, 3, 4), 0x00FF00u);
  EXPECT_EQ(PixelAt(B, 5, 0), 0xFFFF00u);
  EXPECT_EQ(C->Pixels(5, 0), clYellow);
  EXPECT_EQ(C->Pixels(1, 1), clRed);
  C->Brush()->SetColor(clBlack);
  C->FrameRect(Rect(0, 0, 6, 5));
  EXPECT_EQ(PixelAt(B, 0, 2), 0x000000u);
  EXPECT_EQ(PixelAt(B, 1, 1), 0xFF0000u);
  EXPECT_EQ(C->PenPos().x, 6);
}

TEST(Canvas, TextMeasuresAndDraws) {
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(80, 20);
  TCanvas* C = B.Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(Rect(0, 0, 80, 20));
  TSize S1 = C->TextExtent(L"Пересчет");
  EXPECT_GT(S1.cx, 0);
  EXPECT_GT(S1.cy, 0);
  EXPECT_LT(C->TextWidth(L"Пе"), S1.cx);
  C->Font()->SetColor(clBlack);
  C->TextOut(2, 2, L"Пересчет");
  int Dark = 0;
  for (int Y = 0; Y < 20; ++Y)
    for (int X = 0; X < 80; ++X)
      if (PixelAt(B, X, Y) == 0) ++Dark;
  EXPECT_GT(Dark, 10);
  // A bigger font measures bigger.
  C->Font()->SetHeight(-22);
  EXPECT_GT(C->TextHeight(L"Пересчет"), S1.cy);
}

TEST(Canvas, AColourChangeKeepsTheSelectedFontAndOtherChangesReplaceIt) {
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(8, 8);
  TCanvas* C = B.Canvas();
  C->Lock();
  C->SelectFont();
  HDC DC = C->Handle();
  HGDIOBJ Selected = GetCurrentObject(DC, OBJ_FONT);
  C->Font()->SetColor(clRed);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), Selected);
  EXPECT_EQ(GetTextColor(DC), ColorToRGB(clRed));
  C->Font()->SetHeight(-30);
  C->SelectFont();
  EXPECT_NE(GetCurrentObject(DC, OBJ_FONT), Selected);
  LOGFONTW LF{};
  GetObjectW(GetCurrentObject(DC, OBJ_FONT), sizeof(LF), &LF);
  EXPECT_EQ(LF.lfHeight, -30);
  EXPECT_EQ(GetTextColor(DC), ColorToRGB(clRed));
  C->Unlock();
}

TEST(Canvas, CanvasWithoutHandleRefusesToDraw) {
  TOwned<TCanvas> C(Create<TCanvas>());
  EXPECT_THROW(C->FillRect(Rect(0, 0, 1, 1)), EInvalidOperation);
}

TEST_F(GraphicsModule, BitmapStreamsRoundTripForEachFormat) {
  for (TPixelFormat Format :
       {TPixelFormat::pf1bit, TPixelFormat::pf8bit, TPixelFormat::pf24bit, TPixelFormat::pf32bit}) {
    TBitmap B;
    B.SetPixelFormat(Format);
    B.SetSize(7, 3);
    B.Canvas()->Brush()->SetColor(clBlack);
    B.Canvas()->FillRect(Rect(0, 0, 7, 3));
    B.Canvas()->SetPixel(6, 2, clWhite);
    B.Canvas()->SetPixel(0, 0, clWhite);
    TOwned<TMemoryStream> M(Create<TMemoryStream>());
    B.SaveToStream(M.get());
    M->SetPosition(0);
    TBitmap Back;
    Back.LoadFromStream(M.get());
    EXPECT_EQ(Back.Width(), 7);
    EXPECT_EQ(Back.Height(), 3);
    EXPECT_EQ(Back.PixelFormat(), Format);
    EXPECT_EQ(Back.Canvas()->Pixels(6, 2) & 0xFFFFFF, 0xFFFFFF) << static_cast<int>(Format);
    EXPECT_EQ(Back.Canvas()->Pixels(0, 0) & 0xFFFFFF, 0xFFFFFF);
    EXPECT_EQ(Back.Canvas()->Pixels(3, 1) & 0xFFFFFF, 0);
  }
}

TEST_F(GraphicsModule, MalformedBitmapStreamsAreRefused) {
  TBitmap Good;
  Good.SetPixelFormat(TPixelFormat::pf24bit);
  Good.SetSize(4, 4);
  TOwned<TMemoryStream> M(Create<TMemoryStream>());
  Good.SaveToStream(M.get());
  std::string Bytes(static_cast<const char*>(M->Memory()), static_cast<size_t>(M->Size()));
  struct Case {
    const char* Name;
    std::string Data;
  } Cases[] = {
      {"empty", ""},
      {"not a bitmap", "PK" + Bytes.substr(2)},
      {"truncated pixels", Bytes.substr(0, Bytes.size() - 5)},
      {"header only", Bytes.substr(0, 20)},
  };
  for (const auto& C : Cases) {
    TOwned<TMemoryStream> S(Create<TMemoryStream>());
    if (!C.Data.empty()) S->WriteBuffer(C.Data.data(), static_cast<Integer>(C.Data.size()));
    S->SetPosition(0);
    TBitmap B;
    EXPECT_THROW(B.LoadFromStream(S.get()), EInvalidGraphic) << C.Name;
  }
}

TEST(Bitmaps, AlphaFormatPremultipliesAndDrawsBlended) {
  TBitmap Src;
  Src.SetPixelFormat(TPixelFormat::pf32bit);
  Src.SetSize(1, 1);
  auto* P = static_cast<Byte*>(Src.ScanLine(0));
  P[0] = 0;
  P[1] = 0;
  P[2] = 255;
  P[3] = 128;  // half-transparent red
  Src.SetAlphaFormat(TAlphaFormat::afDefined);
  EXPECT_EQ(P[2], 128);  // premultiplied
  TBitmap Dst;
  Dst.SetPixelFormat(TPixelFormat::pf24bit);
  Dst.SetSize(1, 1);
  Dst.Canvas()->Brush()->SetColor(clBlue);
  Dst.Canvas()->FillRect(Rect(0, 0, 1, 1));
  Dst.Canvas()->Draw(0, 0, &Src);
  uint32_t C = PixelAt(Dst, 0, 0);
  EXPECT_NEAR(static_cast<int>((C >> 16) & 0xFF), 128, 2);  // red
  EXPECT_NEAR(static_cast<int>(C & 0xFF), 127, 2);          // blue left over
  Src.SetAlphaFormat(TAlphaFormat::afIgnored);
  EXPECT_EQ(P[2], 255);
}

TEST(Bitmaps, ResizeKeepsContentAndScanLineChecksRows) {
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(2, 2);
  B.Canvas()->Brush()->SetColor(clRed);
  B.Canvas()->FillRect(Rect(0, 0, 2, 2));
  B.SetSize(4, 3);
  EXPECT_EQ(PixelAt(B, 1, 1), 0xFF0000u);
  EXPECT_EQ(PixelAt(B, 3, 2), 0xFFFFFFu);
  EXPECT_THROW(B.ScanLine(3), EInvalidGraphicOperation);
  EXPECT_THROW(B.ScanLine(-1), EInvalidGraphicOperation);
  TBitmap Copy;
  Copy.Assign(&B);
  EXPECT_EQ(PixelAt(Copy, 0, 0), 0xFF0000u);
  EXPECT_EQ(Copy.Width(), 4);
}

TEST_F(GraphicsModule, PictureChoosesTheGraphicClassByExtension) {
  EXPECT_EQ(TPicture::FindGraphicClass(L".BMP"), TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass(L"ico"), TIcon::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass(L".xyz"), nullptr);
  wchar_t Dir[MAX_PATH];
  GetTempPathW(MAX_PATH, Dir);
  String Path = String(Dir) + L"picture-test.bmp";
  TBitmap B;
  B.SetPixelFormat(TPixelFormat::pf24bit);
  B.SetSize(3, 2);
  B.SaveToFile(Path);
  TPicture Pic;
  Pic.LoadFromFile(Path);
  ASSERT_NE(Pic.Graphic(), nullptr);
  EXPECT_EQ(Pic.Graphic()->ClassName(), L"TBitmap");
  EXPECT_EQ(Pic.Width(), 3);
  EXPECT_THROW(Pic.LoadFromFile(String(Dir) + L"x.unknownext"), EInvalidGraphic);
  DeleteFileW(Path.c_str());
}

// A stand-in for a library class that registers an extension later.
class TLaterPngGraphic : public TBitmap {
  DECLARE_CLASS(TLaterPngGraphic, TBitmap)
};
IMPLEMENT_CREATABLE_CLASS(TLaterPngGraphic)

TEST_F(GraphicsModule, ALaterRegistrationWinsUntilItIsUnregistered) {
  if (!TGdiPlusImage::Available()) GTEST_SKIP() << "needs the platform's GDI+";
  // The platform's decoders stand below everything registered by name.
  EXPECT_EQ(TPicture::FindGraphicClass(L"png"), TGdiPlusImage::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass(L".JPG"), TGdiPlusImage::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass(L"bmp"), TBitmap::StaticClass());
  TPicture::RegisterFileFormat(L"PNG", L"Later", TLaterPngGraphic::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass(L"png"), TLaterPngGraphic::StaticClass());
  TPicture::RegisterFileFormat(L".bmp", L"Later", TLaterPngGraphic::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass(L"bmp"), TLaterPngGraphic::StaticClass());
  Word Format = static_cast<Word>(RegisterClipboardFormatW(L"FrameworkTestPicture"));
  TPicture::RegisterClipboardFormat(Format, TBitmap::StaticClass());
  TPicture::RegisterClipboardFormat(Format, TLaterPngGraphic::StaticClass());
  EXPECT_EQ(TPicture::FindClipboardGraphicClass(Format), TLaterPngGraphic::StaticClass());
  TPicture::UnregisterGraphicClass(TLaterPngGraphic::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass(L"png"), TGdiPlusImage::StaticClass());
  EXPECT_EQ(TPicture::FindGraphicClass(L"bmp"), TBitmap::StaticClass());
  EXPECT_EQ(TPicture::FindClipboardGraphicClass(Format), TBitmap::StaticClass());
}

TBytes ResourceBytes(const wchar_t* AName) {
  HRSRC Info = FindResourceW(nullptr, AName, MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (!Info) return TBytes();
  auto* Data = static_cast<const Byte*>(LockResource(LoadResource(nullptr, Info)));
  return TBytes(Data, Data + SizeofResource(nullptr, Info));
}

String WriteTempFile(const String& AName, const TBytes& AData) {
  wchar_t Dir[MAX_PATH];
  GetTempPathW(MAX_PATH, Dir);
  String Path = String(Dir) + AName;
  TOwned<TFileStream> F(Create<TFileStream>(Path, fmCreate));
  F->WriteBuffer(AData.data(), static_cast<Integer>(AData.size()));
  return Path;
}

// PNG files made by ImageMagick and Pillow (tests/framework/fixtures), with
// the pixels Pillow decodes from them.
struct TPngFixture {
  const wchar_t* Png;
  const wchar_t* Rgba;
  Integer Width, Height;
};
const TPngFixture PngFixtures[] = {
    {L"ALPHA8X4_PNG", L"ALPHA8X4_RGBA", 8, 4},
    {L"PALETTE6X3_PNG", L"PALETTE6X3_RGBA", 6, 3},
};

TEST_F(GraphicsModule, PicturesLoadPngFilesOfOtherProgramsAndDrawThemWithTheirAlpha) {
  if (!TGdiPlusImage::Available()) GTEST_SKIP() << "needs the platform's GDI+";
  for (const TPngFixture& F : PngFixtures) {
    SCOPED_TRACE(testing::Message() << F.Png);
    TBytes Png = ResourceBytes(F.Png), Rgba = ResourceBytes(F.Rgba);
    ASSERT_FALSE(Png.empty());
    ASSERT_EQ(Rgba.size(), static_cast<size_t>(F.Width) * F.Height * 4);
    String Path = WriteTempFile(L"framework-picture.png", Png);
    TPicture Pic;
    Pic.LoadFromFile(Path);
    DeleteFileW(Path.c_str());
    ASSERT_NE(Pic.Graphic(), nullptr);
    EXPECT_EQ(Pic.Graphic()->ClassType(), TGdiPlusImage::StaticClass());
    EXPECT_EQ(Pic.Width(), F.Width);
    EXPECT_EQ(Pic.Height(), F.Height);
    // Drawn over black and over white: each pixel is its colour weighed by
    // its alpha over the background.
    for (TColor Background : {clBlack, clWhite}) {
      TBitmap B;
      B.SetPixelFormat(TPixelFormat::pf24bit);
      B.SetSize(F.Width, F.Height);
      B.Canvas()->Brush()->SetColor(Background);
      B.Canvas()->FillRect(Rect(0, 0, F.Width, F.Height));
      B.Canvas()->Draw(0, 0, Pic.Graphic());
      int Back = Background == clWhite ? 255 : 0;
      for (Integer Y = 0; Y < F.Height; ++Y)
        for (Integer X = 0; X < F.Width; ++X) {
          const Byte* P = Rgba.data() + (static_cast<size_t>(Y) * F.Width + X) * 4;
          uint32_t Got = PixelAt(B, X, Y);
          int Channels[3] = {static_cast<int>(Got >> 16) & 0xFF, static_cast<int>(Got >> 8) & 0xFF,
                             static_cast<int>(Got) & 0xFF};
          for (int C = 0; C < 3; ++C) {
            int Want = (P[C] * P[3] + Back * (255 - P[3]) + 127) / 255;
            EXPECT_NEAR(Channels[C], Want, 2) << "pixel " << X << "," << Y << " over " << Back;
          }
        }
    }
    // A bitmap receives the alpha itself; the bytes are kept as loaded.
    TBitmap Straight;
    Straight.Assign(Pic.Graphic());
    ASSERT_EQ(Straight.PixelFormat(), TPixelFormat::pf32bit);
    for (Integer Y = 0; Y < F.Height; ++Y) {
      auto* Row = static_cast<const Byte*>(Straight.ScanLine(Y));
      for (Integer X = 0; X < F.Width; ++X)
        EXPECT_EQ(Row[X * 4 + 3], Rgba[(static_cast<size_t>(Y) * F.Width + X) * 4 + 3]);
    }
    TOwned<TMemoryStream> Saved = MakeOwned<TMemoryStream>();
    Pic.Graphic()->SaveToStream(Saved.get());
    ASSERT_EQ(static_cast<size_t>(Saved->Size()), Png.size());
    EXPECT_EQ(std::memcmp(Saved->Memory(), Png.data(), Png.size()), 0);
  }
}

TEST_F(GraphicsModule, UndecodableDataLeavesTheImageAsItWas) {
  if (!TGdiPlusImage::Available()) GTEST_SKIP() << "needs the platform's GDI+";
  TBytes Png = ResourceBytes(L"ALPHA8X4_PNG");
  TOwned<TGdiPlusImage> Image(Create<TGdiPlusImage>());
  TOwned<TMemoryStream> Good = MakeOwned<TMemoryStream>();
  Good->WriteBuffer(Png.data(), static_cast<Integer>(Png.size()));
  Good->SetPosition(0);
  Image->LoadFromStream(Good.get());
  const std::string Text = "not an image at all";
  for (TBytes Bad : {TBytes(Png.begin(), Png.begin() + 40), TBytes(Text.begin(), Text.end())}) {
    TOwned<TMemoryStream> S = MakeOwned<TMemoryStream>();
    S->WriteBuffer(Bad.data(), static_cast<Integer>(Bad.size()));
    S->SetPosition(0);
    EXPECT_THROW(Image->LoadFromStream(S.get()), EInvalidGraphic);
    EXPECT_EQ(Image->Width(), 8);
    EXPECT_EQ(Image->Height(), 4);
  }
  EXPECT_THROW(Image->SetWidth(3), EInvalidGraphicOperation);
}

TEST(Bitmaps, CanvasesOfManyBitmapsHoldABoundedNumberOfContexts) {
  Integer Before = BitmapCanvasContextCount();
  std::vector<TOwned<TBitmap>> Bitmaps;
  for (int I = 0; I < 1000; ++I) {
    TOwned<TBitmap> B(Create<TBitmap>());
    B->SetPixelFormat(TPixelFormat::pf24bit);
    B->SetSize(2, 2);
    B->Canvas()->Brush()->SetColor(static_cast<TColor>(RGB(I % 256, I / 256, 7)));
    B->Canvas()->FillRect(Rect(0, 0, 2, 2));
    Bitmaps.push_back(std::move(B));
  }
  auto Holding = [&] {
    return std::count_if(Bitmaps.begin(), Bitmaps.end(),
                         [](const TOwned<TBitmap>& B) { return B->Canvas()->HandleAllocated(); });
  };
  EXPECT_LE(Holding(), BitmapCanvasContextLimit);
  EXPECT_LE(BitmapCanvasContextCount() - Before, BitmapCanvasContextLimit);
  // Every bitmap kept its own drawing, and a canvas that gave its context
  // back draws again, with its brush.
  for (int I : {0, 1, 500, 999})
    EXPECT_EQ(PixelAt(*Bitmaps[I], 1, 1),
              static_cast<uint32_t>((I % 256) << 16 | (I / 256) << 8 | 7))
        << I;
  EXPECT_FALSE(Bitmaps[0]->Canvas()->HandleAllocated());
  Bitmaps[0]->Canvas()->Brush()->SetColor(clRed);
  Bitmaps[0]->Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_EQ(PixelAt(*Bitmaps[0], 0, 0), 0xFF0000u);
  // A locked canvas keeps its context however many others draw.
  TCanvas* Locked = Bitmaps[1]->Canvas();
  Locked->Lock();
  HDC DC = Locked->Handle();
  for (int I = 2; I < 100; ++I) Bitmaps[I]->Canvas()->FillRect(Rect(0, 0, 1, 1));
  EXPECT_TRUE(Locked->HandleAllocated());
  EXPECT_EQ(Locked->Handle(), DC);
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BITMAP), Bitmaps[1]->Handle());
  Locked->Unlock();
  Bitmaps.clear();
  EXPECT_EQ(BitmapCanvasContextCount(), Before);
}

}  // namespace
