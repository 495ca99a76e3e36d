#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "ComObj.h"
#include "GdiPlusTestSupport.h"
#include "GraphicsTestSupport.h"
#include "SysUtils.h"

namespace {

TdxSmartImage* ImageFrom(const TBytes& ABytes) {
  TOwned<TMemoryStream> S(BytesStream(ABytes));
  return TdxCustomSmartImage::CreateFromStream<TdxSmartImage>(S.get());
}

TdxSmartImage* ImageFrom(const wchar_t* AFixture) { return ImageFrom(FixtureBytes(AFixture)); }

struct TChangeCounter {
  Integer Count = 0;
  void Changed(TObject*) { ++Count; }
};

// ---------------------------------------------------------------------------
// Header readers

struct THeaderCase {
  const wchar_t* Fixture;
  bool Sized;
  TSize Size;
  TdxSmartImageCodecClass (*Codec)();
};

const THeaderCase HeaderCases[] = {
    {L"RGBA16_PNG", true, {16, 16}, &TdxGPImageCodecPNG::Class},
    {L"RGB5X3_PNG", true, {5, 3}, &TdxGPImageCodecPNG::Class},
    {L"INFO5X3_BMP", true, {5, 3}, &TdxGPImageCodecBMP::Class},
    {L"CORE5X3_BMP", true, {5, 3}, &TdxGPImageCodecBMP::Class},
    {L"TOPDOWN5X3_BMP", true, {5, -3}, &TdxGPImageCodecBMP::Class},
    {L"GIF87A5X3_GIF", true, {5, 3}, &TdxGPImageCodecGIF::Class},
    {L"GIF89A5X3_GIF", true, {5, 3}, &TdxGPImageCodecGIF::Class},
    {L"BASELINE5X3_JPG", true, {5, 3}, &TdxGPImageCodecJPG::Class},
    {L"PROGRESSIVE5X3_JPG", false, {0, 0}, nullptr},
    {L"LITTLE5X3_TIF", true, {5, 3}, &TdxGPImageCodecTIF::Class},
    {L"BIG7X300_TIF", true, {7, 300}, &TdxGPImageCodecTIF::Class},
};

TEST(ImageHeaders, SizesComeFromTheHeaders) {
  REQUIRE_GDIPLUS();
  for (const THeaderCase& C : HeaderCases) {
    TOwned<TMemoryStream> S(BytesStream(FixtureBytes(C.Fixture)));
    ASSERT_GT(S->Size(), 0) << C.Fixture;
    TSize Size{0, 0};
    TdxSmartImageCodecClass Codec = nullptr;
    EXPECT_EQ(TdxSmartImageCodecsRepository::GetImageInfo(S.get(), Size, Codec), C.Sized)
        << C.Fixture;
    if (!C.Sized) continue;
    EXPECT_EQ(Size, C.Size) << C.Fixture;
    EXPECT_EQ(Codec, C.Codec()) << C.Fixture;
  }
}

// Every prefix of every fixture: no size unless the header is whole, never
// a wrong size, never a hang.
TEST(ImageHeaders, StreamsEndingInsideTheHeaderGiveNoSize) {
  REQUIRE_GDIPLUS();
  for (const THeaderCase& C : HeaderCases) {
    TBytes Whole = FixtureBytes(C.Fixture);
    bool SeenSize = false;
    for (size_t Length = 0; Length < Whole.size(); ++Length) {
      TOwned<TMemoryStream> S(BytesStream(Whole.substr(0, Length)));
      TSize Size{0, 0};
      TdxSmartImageCodecClass Codec = nullptr;
      bool Sized = TdxSmartImageCodecsRepository::GetImageInfo(S.get(), Size, Codec);
      if (Sized) {
        EXPECT_EQ(Size, C.Size) << C.Fixture << " cut at " << Length;
      }
      // Once a prefix is long enough, every longer one is too.
      if (SeenSize) {
        EXPECT_TRUE(Sized) << C.Fixture << " cut at " << Length;
      }
      SeenSize = SeenSize || Sized;
    }
    EXPECT_EQ(SeenSize, C.Sized) << C.Fixture;
  }
}

TEST(ImageHeaders, MalformedHeadersGiveNoSize) {
  REQUIRE_GDIPLUS();
  TBytes Png = FixtureBytes(L"RGB5X3_PNG");
  TBytes NoHeaderChunk = Png;
  std::memcpy(&NoHeaderChunk[12], "IDAT", 4);
  TBytes Jpeg = FixtureBytes(L"BASELINE5X3_JPG");
  // A segment whose length is below 2 would stand still or step back.
  TBytes ShortSegment(Jpeg.begin(), Jpeg.begin() + 2);
  for (Byte L : {0, 1}) {
    TBytes J = ShortSegment;
    J += TBytes{0xFF, 0xE0, 0x00, L};
    J += TBytes(40, 0xAA);
    TOwned<TMemoryStream> S(BytesStream(J));
    TSize Size;
    EXPECT_FALSE(TdxGPImageCodecJPEG::Class()->GetSize(S.get(), Size)) << int(L);
  }
  TBytes Tiff = FixtureBytes(L"BIG7X300_TIF");
  TBytes FarDirectory = Tiff;
  FarDirectory[4] = 0x7F;                          // the directory offset beyond the end
  TBytes CutEntries = Tiff.substr(0, 8 + 2 + 12);  // one entry of nine left
  TBytes Gif88 = FixtureBytes(L"GIF89A5X3_GIF");
  Gif88[4] = '8';
  const std::pair<const char*, TBytes> Cases[] = {{"png without IHDR", NoHeaderChunk},
                                                  {"far TIFF directory", FarDirectory},
                                                  {"TIFF entries cut", CutEntries},
                                                  {"GIF88a", Gif88}};
  for (const auto& [Name, Bytes] : Cases) {
    TOwned<TMemoryStream> S(BytesStream(Bytes));
    TSize Size;
    TdxSmartImageCodecClass Codec = nullptr;
    EXPECT_FALSE(TdxSmartImageCodecsRepository::GetImageInfo(S.get(), Size, Codec)) << Name;
    EXPECT_EQ(S->Position(), 0) << Name;
  }
}

// ---------------------------------------------------------------------------
// Registry

TEST(CodecRegistry, OrderAndLookups) {
  REQUIRE_GDIPLUS();
  const TdxSmartImageCodecClass Expected[] = {
      TdxGPImageCodecBMP::Class(),  TdxGPImageCodecMemoryBitmap::Class(),
      TdxGPImageCodecGIF::Class(),  TdxGPImageCodecJPG::Class(),
      TdxGPImageCodecJPEG::Class(), TdxGPImageCodecPNG::Class(),
      TdxGPImageCodecTIF::Class(),  TdxGPImageCodecTIFF::Class(),
      TdxGPImageCodecEMF::Class(),  TdxGPImageCodecWMF::Class()};
  ASSERT_EQ(TdxSmartImageCodecsRepository::GetCount(), 10);
  for (Integer I = 0; I < 10; ++I)
    EXPECT_EQ(TdxSmartImageCodecsRepository::GetItem(I), Expected[I]) << I;
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByID(dxImageJpeg), TdxGPImageCodecJPG::Class());
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByID(dxImageEmf), TdxGPImageCodecEMF::Class());
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByID(dxImageBitmap),
            TdxGPImageCodecBMP::Class());
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L".PNG"), TdxGPImageCodecPNG::Class());
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L"png"), nullptr);
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L""), nullptr);
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetFormatByExt(L".jpeg"), TdxGPImageCodecJPEG::Class());
  EXPECT_EQ(TdxGPImageCodecPNG::Class()->Description(), L"PNG graphics from Vosk");
  EXPECT_EQ(TdxGPImageCodecJPG::Class()->Description(), L"");
  // Twice registered, twice listed; one removal removes one.
  TdxSmartImageCodecsRepository::Register(TdxSmartImageCodec::Class());
  TdxSmartImageCodecsRepository::Register(TdxSmartImageCodec::Class());
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetCount(), 12);
  TdxSmartImageCodecsRepository::Unregister(TdxSmartImageCodec::Class());
  EXPECT_EQ(TdxSmartImageCodecsRepository::GetCount(), 11);
  EXPECT_TRUE(TdxSmartImageCodecsRepository::Contains(TdxSmartImageCodec::Class()));
  TdxSmartImageCodecsRepository::Unregister(TdxSmartImageCodec::Class());
  EXPECT_FALSE(TdxSmartImageCodecsRepository::Contains(TdxSmartImageCodec::Class()));
}

TEST(CodecRegistry, PictureFormatsAndClipboardFormats) {
  REQUIRE_GDIPLUS();
  EXPECT_EQ(TPicture::FindGraphicClass(L"png"), TdxPNGImage::StaticClass());
  for (const wchar_t* Ext : {L"tiff", L"tif", L"gif", L"jpeg", L"jpg"})
    EXPECT_EQ(TPicture::FindGraphicClass(Ext), TdxSmartImage::StaticClass()) << Ext;
  Word Png = static_cast<Word>(RegisterClipboardFormatW(L"PNG"));
  EXPECT_EQ(ImageClipboardFormats[dxImagePng], Png);
  EXPECT_EQ(ImageClipboardFormats[dxImageBitmap], CF_BITMAP);
  EXPECT_EQ(TPicture::FindClipboardGraphicClass(Png), TdxPNGImage::StaticClass());
  EXPECT_EQ(GetClass(L"TdxSmartImage"), TdxSmartImage::StaticClass());
}

// ---------------------------------------------------------------------------
// Decoding

TEST(SmartImages, DecodedPixelsEqualPillows) {
  REQUIRE_GDIPLUS();

  const wchar_t* Fixtures[][2] = {
      {L"RGB5X3_PNG", L"RGB5X3_PNG_RGBA"},         {L"INFO5X3_BMP", L"INFO5X3_BMP_RGBA"},
      {L"TOPDOWN5X3_BMP", L"TOPDOWN5X3_BMP_RGBA"}, {L"CORE5X3_BMP", L"CORE5X3_BMP_RGBA"},
      {L"GIF87A5X3_GIF", L"GIF87A5X3_GIF_RGBA"},   {L"GIF89A5X3_GIF", L"GIF89A5X3_GIF_RGBA"},
      {L"RGBA16_PNG", L"RGBA16_PNG_RGBA"}};
  for (const auto& F : Fixtures) {
    TOwned<TdxSmartImage> Image(ImageFrom(F[0]));
    TBytes Expected = FixtureBytes(F[1]);
    TRGBColors Bits = Image->GetBitmapBits();
    ASSERT_EQ(Bits.size() * 4, Expected.size()) << F[0];
    for (size_t I = 0; I < Bits.size(); ++I) {
      const Byte* E = &Expected[I * 4];
      // The pixels come premultiplied.
      auto Pre = [&](Byte C) { return static_cast<int>(C * E[3] / 255.0 + 0.5); };
      EXPECT_EQ(Bits[I].rgbReserved, E[3]) << F[0] << " " << I;
      EXPECT_NEAR(Bits[I].rgbRed, Pre(E[0]), 1) << F[0] << " " << I;
      EXPECT_NEAR(Bits[I].rgbGreen, Pre(E[1]), 1) << F[0] << " " << I;
      EXPECT_NEAR(Bits[I].rgbBlue, Pre(E[2]), 1) << F[0] << " " << I;
    }
  }
}

TEST(SmartImages, APngStaysByteIdenticalThroughSizeDrawAndSave) {
  REQUIRE_GDIPLUS();
  TBytes Png = FixtureBytes(L"RGBA16_PNG");
  TOwned<TdxSmartImage> Image(ImageFrom(Png));
  EXPECT_EQ(Image->Width(), 16);
  EXPECT_EQ(Image->Height(), 16);
  EXPECT_FALSE(Image->HandleAllocated());
  TOwned<TMemoryStream> Before(Create<TMemoryStream>());
  Image->SaveToStream(Before.get());
  EXPECT_EQ(StreamBytes(Before.get()), Png);
  TSurface S(16, 16, RGB(255, 255, 255));
  Image->StretchDraw(S.DC(), TRect{0, 0, 16, 16});
  EXPECT_TRUE(Image->HandleAllocated());
  EXPECT_EQ(S.Pixel(2, 2), RGB(200, 30, 40));
  EXPECT_EQ(Image->ImageDataFormat(), dxImagePng);
  TOwned<TMemoryStream> After(Create<TMemoryStream>());
  Image->SaveToStream(After.get());
  EXPECT_EQ(StreamBytes(After.get()), Png);
  EXPECT_TRUE(Image->IsAlphaUsed());
}

TEST(SmartImages, ANewImageIsEmptyAndSavesNothing) {
  REQUIRE_GDIPLUS();
  TOwned<TdxSmartImage> Image(Create<TdxSmartImage>());
  TChangeCounter Changes;
  Image->OnChange = MakeEvent<&TChangeCounter::Changed>(&Changes);
  EXPECT_TRUE(Image->Empty());
  EXPECT_EQ(Image->GetSize(), (TSize{0, 0}));
  EXPECT_EQ(Image->ImageDataFormat(), dxImageUnknown);
  TOwned<TMemoryStream> Out(Create<TMemoryStream>());
  Image->SaveToStream(Out.get());
  EXPECT_EQ(Out->Size(), 0);
  TOwned<TdxSmartImage> Fresh(Create<TdxSmartImage>());
  Fresh->OnChange = MakeEvent<&TChangeCounter::Changed>(&Changes);
  Fresh->Clear();
  EXPECT_EQ(Changes.Count, 0);
}

TEST(SmartImages, ResizeBeforeDecodingIsAppliedAtTheDecode) {
  REQUIRE_GDIPLUS();
  TOwned<TdxSmartImage> Image(ImageFrom(L"RGBA16_PNG"));
  Image->Resize(32, 32);
  EXPECT_EQ(Image->GetSize(), (TSize{32, 32}));
  EXPECT_FALSE(Image->HandleAllocated());
  EXPECT_EQ(Image->GetHandle()->GetSize(), (TSize{32, 32}));
  TOwned<TMemoryStream> Out(Create<TMemoryStream>());
  Image->SaveToStream(Out.get());
  TBytes Saved = StreamBytes(Out.get());
  ASSERT_GE(Saved.size(), 2u);
  EXPECT_EQ(Saved[0], 'B');  // encoded from the pixels as a memory bitmap
  EXPECT_EQ(Saved[1], 'M');
  TChangeCounter Changes;
  Image->OnChange = MakeEvent<&TChangeCounter::Changed>(&Changes);
  Image->Resize(32, 32);
  EXPECT_EQ(Changes.Count, 0);
  Image->Scale(1, 2);
  EXPECT_EQ(Image->GetSize(), (TSize{16, 16}));
  EXPECT_EQ(Changes.Count, 1);
}

TEST(SmartImages, AlphaConventionsOfTheWaysIn) {
  REQUIRE_GDIPLUS();
  // Pixels without an alpha channel become opaque.
  TRGBColors Bits{{10, 20, 30, 0}, {40, 50, 60, 7}};
  TOwned<TdxSmartImage> NoAlpha(
      TdxCustomSmartImage::CreateFromBits<TdxSmartImage>(2, 1, Bits, false));
  for (const RGBQUAD& P : NoAlpha->ImageData()->Bits()) EXPECT_EQ(P.rgbReserved, 255);
  EXPECT_EQ(NoAlpha->GetAlphaState(), asOpaque);
  EXPECT_FALSE(NoAlpha->IsAlphaUsed());

  // A 24-bit bitmap with transparency: the key colour becomes transparent.
  auto Bitmap24 = [] {
    TBitmap* B = Create<TBitmap>();
    B->SetPixelFormat(TPixelFormat::pf24bit);
    B->SetSize(3, 2);
    B->Canvas()->SetPixel(0, 0, clRed);
    B->Canvas()->SetPixel(1, 0, clBlack);
    B->Canvas()->SetPixel(2, 0, clGreen);
    B->Canvas()->SetPixel(0, 1, clBlue);  // the bottom-left pixel
    B->Canvas()->SetPixel(1, 1, clBlue);
    B->Canvas()->SetPixel(2, 1, clBlack);
    return B;
  };
  struct {
    TTransparentMode Mode;
    TColor Key;
    Byte Alphas[6];
  } Cases[] = {{TTransparentMode::tmAuto, clDefault, {255, 255, 255, 0, 0, 255}},
               {TTransparentMode::tmFixed, clBlack, {255, 0, 255, 255, 255, 0}}};
  for (const auto& C : Cases) {
    TOwned<TBitmap> B(Bitmap24());
    B->SetTransparent(true);
    if (C.Mode == TTransparentMode::tmFixed) B->SetTransparentColor(C.Key);
    TOwned<TdxSmartImage> Image(Create<TdxSmartImage>());
    Image->SetBitmap(B.get());
    ASSERT_EQ(Image->ImageData()->Bits().size(), 6u);
    EXPECT_EQ(Image->ImageData()->BitsFormat(), TAlphaFormat::afPremultiplied);
    for (size_t I = 0; I < 6; ++I)
      EXPECT_EQ(Image->ImageData()->Bits()[I].rgbReserved, C.Alphas[I])
          << static_cast<int>(C.Mode) << " " << I;
  }

  // 32-bit bitmaps of ignored alpha: premultiplied when the colours fit
  // their alpha, straight otherwise; all-zero counts as premultiplied.
  struct {
    TRGBColors Pixels;
    TAlphaFormat Expected;
  } Deep[] = {{{{10, 10, 10, 128}, {0, 0, 0, 0}}, TAlphaFormat::afPremultiplied},
              {{{200, 10, 10, 128}, {0, 0, 0, 255}}, TAlphaFormat::afDefined},
              {{{0, 0, 0, 0}, {0, 0, 0, 0}}, TAlphaFormat::afPremultiplied}};
  for (const auto& D : Deep) {
    TOwned<TBitmap> B = MakeOwned<TBitmap>();
    B->SetPixelFormat(TPixelFormat::pf32bit);
    B->SetSize(2, 1);
    SetBitmapBits(B.get(), D.Pixels, true);
    TOwned<TdxSmartImage> Image(Create<TdxSmartImage>());
    Image->SetBitmap(B.get());
    EXPECT_EQ(Image->ImageData()->BitsFormat(), D.Expected);
  }

  TOwned<TdxSmartImage> Red(
      TdxCustomSmartImage::CreateSize<TdxSmartImage>(1, 1, TdxAlphaColor(0x80FFFFFF)));
  Red->ChangeColor(clRed);
  RGBQUAD P = Red->GetBitmapBits()[0];
  EXPECT_EQ(P.rgbBlue, 0);
  EXPECT_EQ(P.rgbGreen, 0);
  EXPECT_EQ(P.rgbRed, 128);
  EXPECT_EQ(P.rgbReserved, 128);
  TOwned<TdxSmartImage> Resized(Create<TdxSmartImage>());
  Resized->GetHandle();
  Resized->Resize(2, 3);  // an empty image becomes transparent black
  EXPECT_EQ(Resized->GetSize(), (TSize{2, 3}));
  EXPECT_EQ(Resized->GetAlphaState(), asNoAlpha);
}

TEST(SmartImages, ABmpStreamIsStoredAsPixels) {
  REQUIRE_GDIPLUS();
  TOwned<TdxSmartImage> Image(ImageFrom(L"INFO5X3_BMP"));
  EXPECT_EQ(Image->ImageData()->Data(), nullptr);
  EXPECT_EQ(Image->ImageData()->Bits().size(), 15u);
  TOwned<TdxSmartImage> Same(ImageFrom(L"INFO5X3_BMP"));
  EXPECT_TRUE(Image->Equals(Same.get()));
  EXPECT_EQ(Image->GetHashCode(), Same->GetHashCode());
  TOwned<TdxSmartImage> Other(ImageFrom(L"RGB5X3_PNG"));
  EXPECT_EQ(Other->ImageData()->Bits().size(), 0u);  // the file, as given
}

TEST(SmartImages, UndecodableDataRaisesButKeepsItsBytes) {
  REQUIRE_GDIPLUS();

  TBytes Junk{'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
  TOwned<TdxSmartImage> Image(ImageFrom(Junk));
  try {
    Image->GetHandle();
    ADD_FAILURE();
  } catch (const EdxException& E) {
    EXPECT_EQ(E.Message(), L"Unsupported image format.");
  }
  EXPECT_THROW(Image->GetHandle(), EdxException);
  TOwned<TMemoryStream> Out(Create<TMemoryStream>());
  Image->SaveToStream(Out.get());
  EXPECT_EQ(StreamBytes(Out.get()), Junk);
}

// The exported PNG is read back by Pillow (check_export.py).
TEST(SmartImages, PngExportForPillow) {
  REQUIRE_GDIPLUS();
  TOwned<TdxPNGImage> Image(CheckedExportImage());
  Image->SaveToFile(L"graphics_export.png");
  TOwned<TdxSmartImage> Back(Create<TdxSmartImage>());
  Back->LoadFromFile(L"graphics_export.png");
  EXPECT_EQ(Back->ImageDataFormat(), dxImagePng);
  EXPECT_EQ(Back->GetSize(), (TSize{3, 2}));
}

TEST(SmartImages, FailedExportsLeaveAnExistingFileAsItWas) {
  REQUIRE_GDIPLUS();
  const String Name = L"graphics_kept.emf";
  {
    TOwned<TFileStream> F(Create<TFileStream>(Name, fmCreate));
    F->WriteBuffer("keep", 4);
  }
  TOwned<TdxSmartImage> Image(ImageFrom(L"RGBA16_PNG"));
  try {
    Image->SaveToFile(Name);  // no metafile encoder
    ADD_FAILURE();
  } catch (const EdxException& E) {
    EXPECT_EQ(E.Message(), L"The TdxGPImageCodecEMF codec failed to export the image (3)");
  }
  TOwned<TMemoryStream> Kept(Create<TMemoryStream>());
  Kept->LoadFromFile(Name);
  EXPECT_EQ(StreamBytes(Kept.get()), (TBytes{'k', 'e', 'e', 'p'}));
  EXPECT_FALSE(FileExists(Name + L".tmp~"));
  DeleteFileW(Name.c_str());
  // An export by no codec at all.
  TOwned<TMemoryStream> Out(Create<TMemoryStream>());
  try {
    Image->SaveToStreamByCodec(Out.get(), static_cast<TdxSmartImageCodecClass>(nullptr));
    ADD_FAILURE();
  } catch (const EdxException& E) {
    EXPECT_EQ(E.Message(), L"Operation was not supported.");
  }
}

TEST(SmartImages, APngImageSavesPngWhateverItWasGiven) {
  REQUIRE_GDIPLUS();
  TOwned<TMemoryStream> Jpeg(BytesStream(FixtureBytes(L"BASELINE5X3_JPG")));
  TOwned<TdxPNGImage> Image(Create<TdxPNGImage>());
  Image->LoadFromStream(Jpeg.get());
  TOwned<TMemoryStream> Out(Create<TMemoryStream>());
  Image->SaveToStream(Out.get());
  TBytes Saved = StreamBytes(Out.get());
  ASSERT_GE(Saved.size(), 8u);
  EXPECT_EQ(std::memcmp(Saved.data(), "\x89PNG", 4), 0);
}

TEST(SmartImages, FlipConvertsAStoredFileToPixels) {
  REQUIRE_GDIPLUS();
  TOwned<TdxSmartImage> Image(ImageFrom(L"RGBA16_PNG"));
  Image->Flip(true, false);
  EXPECT_EQ(Image->ImageDataFormat(), dxImageMemoryBmp);
  EXPECT_EQ(Image->ImageData()->Data(), nullptr);
  TRGBColors Bits = Image->GetBitmapBits();
  // The half-transparent corner moved left, the red one right, whole.
  for (Integer X = 0; X < 16; ++X) {
    EXPECT_EQ(Bits[X].rgbReserved, X < 8 ? 128 : 255) << X;
    EXPECT_EQ(Bits[X].rgbRed, X < 8 ? 10 : 200) << X;
  }
  Image->Flip(false, true);
  EXPECT_EQ(Image->GetBitmapBits()[15 * 16 + 15].rgbRed, 200);
  TOwned<TdxGPImage> Empty(Create<TdxGPImage>());
  TOwned<TdxGPImage> Composition(Empty->MakeComposition(Image.get(), 128));
  EXPECT_TRUE(Composition->Empty());
  EXPECT_EQ(Empty->Handle(), nullptr);
}

TEST(SmartImages, DrawingWithAPaletteLeavesRasterPixelsAlone) {
  REQUIRE_GDIPLUS();
  TOwned<TdxSmartImage> Image(ImageFrom(L"RGB5X3_PNG"));
  auto Palette = TComPtr<IdxColorPalette>::Borrow(
      Create<TdxSimpleColorPalette>(TdxAlphaColor(0xFFFF0000), TdxAlphaColor(0xFF00FF00)));
  TSurface Plain(5, 3, RGB(0, 0, 0)), Painted(5, 3, RGB(0, 0, 0));
  Image->StretchDraw(Plain.DC(), TRect{0, 0, 5, 3});
  Image->StretchDraw(Painted.DC(), TRect{0, 0, 5, 3}, 255, Palette.Get());
  for (Integer X = 0; X < 5; ++X) EXPECT_EQ(Plain.Pixel(X, 1), Painted.Pixel(X, 1)) << X;
}

// ---------------------------------------------------------------------------
// Frames

TEST(SmartImageFrames, GifDelaysAgreeWithImageMagick) {
  REQUIRE_GDIPLUS();
  TBytes Text = FixtureBytes(L"ANIM6X4_DELAYS");
  std::vector<Integer> Expected;
  Integer V = 0;
  for (Byte B : Text) {
    if (B >= '0' && B <= '9') V = V * 10 + (B - '0');
    if (B == '\n') {
      Expected.push_back(V * 10);
      V = 0;
    }
  }
  ASSERT_EQ(Expected.size(), 3u);
  TOwned<TdxSmartImage> Image(ImageFrom(L"ANIM6X4_GIF"));
  EXPECT_EQ(Image->AnimationFrameCount(), 3);
  for (Integer F = 0; F < 3; ++F) {
    Image->SetActiveFrame(F);
    EXPECT_EQ(Image->ActiveFrame(), F);
    EXPECT_EQ(Image->AnimationFrameDelay(), Expected[F]) << F;
  }
  auto* Handle = As<TdxGPImageHandle>(Image->GetHandle());
  Handle->SetActiveFrame(5);
  EXPECT_EQ(Handle->GetActiveFrame(), 0);
  Image->SetAnimationFrameDelay(500);
  EXPECT_EQ(Image->AnimationFrameDelay(), 500);
  TOwned<TdxSmartImage> Still(ImageFrom(L"RGB5X3_PNG"));
  EXPECT_EQ(Still->AnimationFrameCount(), 1);
  EXPECT_EQ(As<TdxGPImageHandle>(Still->GetHandle())->GetAnimationFrameDelay(), 75);
}

// A GIF whose later frames have no graphic control extension: the frames
// without an entry in the delay property take the default delay.
TEST(SmartImageFrames, FramesBeyondTheDelayPropertyTakeTheDefault) {
  REQUIRE_GDIPLUS();
  TOwned<TdxSmartImage> Image(ImageFrom(L"SHORTDELAYS6X4_GIF"));
  auto* Handle = As<TdxGPImageHandle>(Image->GetHandle());
  ASSERT_EQ(Handle->GetAnimationFrameCount(), 3);
  UINT Size = 0;
  ASSERT_EQ(GdipGetPropertyItemSize(Handle->Handle(), PropertyTagFrameDelay, &Size), Ok);
  std::vector<Byte> Buffer(Size);
  auto* Item = reinterpret_cast<PropertyItem*>(Buffer.data());
  ASSERT_EQ(GdipGetPropertyItem(Handle->Handle(), PropertyTagFrameDelay, Size, Item), Ok);
  UINT Entries = Item->length / 4;
  for (Integer F = 0; F < 3; ++F) {
    Handle->SetActiveFrame(F);
    Integer Expected = 75;
    if (static_cast<UINT>(F) < Entries)
      Expected = static_cast<Integer>(static_cast<UINT*>(Item->value)[F]) * 10;
    EXPECT_EQ(Handle->GetAnimationFrameDelay(), Expected) << F;
  }
  Handle->SetActiveFrame(0);
  EXPECT_EQ(Handle->GetAnimationFrameDelay(), 400);
}

}  // namespace
