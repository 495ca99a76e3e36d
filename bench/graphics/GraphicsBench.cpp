// Resamples and blends large bitmaps and prints the figures: forced Lanczos
// resampling 4000 x 3000 -> 1000 x 750 and 1000 x 750 -> 2000 x 1500 (the
// driver script times ImageMagick on the same pictures, which this program
// writes as BMPs), and Mpixel/s of blending a 1920 x 1080 RGBA bitmap onto a
// DC by each road of the alpha blend and by the platform's AlphaBlend; draws
// per second of 32-bit 16 x 16 image-list entries at 16 x 16 and 24 x 24
// through the paint cache, by composing every time and by the platform's
// own image-list drawing.
//
//   tools/run-bench.sh graphics   (or bench/graphics/run.sh <exe>)
// Argument: a folder for the BMPs (Windows path); none: no BMPs written.
// Lines "time <name>: S" are read by the driver script.
#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "Forms.h"
#include "cxGeometry.h"
#include "cxGraphics.h"
#include "cxImageList.h"
#include "dxCore.h"
#include "dxCoreClasses.h"
#include "dxCoreGraphics.h"
#include "dxDPIAwareUtils.h"
#include "dxGDIPlusAPI.h"
#include "dxGDIPlusClasses.h"
#include "dxSmartImage.h"

namespace {

Double WallSeconds() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<Double>(C.QuadPart) / static_cast<Double>(F.QuadPart);
}

void StartUp() {
  dxCore_Initialize();
  dxCoreClasses_Initialize();
  cxGeometry_Initialize();
  dxDPIAwareUtils_Initialize();
  Forms_Initialize();
  dxCoreGraphics_Initialize();
  dxGDIPlusAPI_Initialize();
  dxSmartImage_Initialize();
  dxGDIPlusClasses_Initialize();
  cxGraphics_Initialize();
  cxImageList_Initialize();
}

void ShutDown() {
  cxImageList_Finalize();
  cxGraphics_Finalize();
  dxGDIPlusClasses_Finalize();
  dxSmartImage_Finalize();
  dxGDIPlusAPI_Finalize();
  dxCoreGraphics_Finalize();
  Forms_Finalize();
  dxDPIAwareUtils_Finalize();
  cxGeometry_Finalize();
  dxCoreClasses_Finalize();
  dxCore_Finalize();
}

// Smooth shading, sharp edges and fine detail, so that the filter works on
// every kind of area; opaque.
TOwned<TcxBitmap32> Picture(Integer W, Integer H) {
  TRGBColors P(static_cast<size_t>(W) * H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      Byte R = static_cast<Byte>(X * 255 / W), G = static_cast<Byte>(Y * 255 / H);
      Byte B = static_cast<Byte>(((X / 37) + (Y / 23)) % 2 ? 230 : 20);
      if ((X * 7 + Y * 13) % 101 < 3) R = G = B = 255;
      P[static_cast<size_t>(Y) * W + X] = RGBQUAD{B, G, R, 255};
    }
  TOwned<TcxBitmap32> Bitmap(TcxBitmap32::CreateSize(W, H));
  SetBitmapBits(Bitmap.get(), P, true);
  return Bitmap;
}

void WriteBmp(TBitmap* ASource, const String& AFolder, const wchar_t* AName) {
  if (AFolder.empty()) return;
  TOwned<TcxBitmap> Copy(TcxBitmap::CreateSize(ASource->Width(), ASource->Height()));
  Copy->CopyBitmap(ASource);
  Copy->SaveToFile(AFolder + L"\\" + AName);
}

void Resample(TBitmap* ASource, Integer W, Integer H, const char* AName) {
  TOwned<TcxBitmap32> Dest(TcxBitmap32::CreateSize(W, H));
  Double Start = WallSeconds();
  cxSmoothResizeBitmap(ASource, Dest.get(), true);
  std::printf("time %s: %.3f\n", AName, WallSeconds() - Start);
}

// A premultiplied picture with every alpha somewhere.
TOwned<TcxBitmap32> AlphaPicture(Integer W, Integer H) {
  TRGBColors P(static_cast<size_t>(W) * H);
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      Byte A = static_cast<Byte>((X + Y) % 256);
      Byte R = static_cast<Byte>(X * 255 / W), G = static_cast<Byte>(Y * 255 / H), B = 128;
      P[static_cast<size_t>(Y) * W + X] =
          RGBQUAD{static_cast<Byte>(B * A / 255), static_cast<Byte>(G * A / 255),
                  static_cast<Byte>(R * A / 255), A};
    }
  TOwned<TcxBitmap32> Bitmap(TcxBitmap32::CreateSize(W, H));
  SetBitmapBits(Bitmap.get(), P, true);
  return Bitmap;
}

template <class F>
Double MPixelsPerSecond(Integer APixels, F&& ABlend) {
  ABlend();  // warm-up: code paths and caches
  const int Rounds = 10;
  Double Start = WallSeconds();
  for (int I = 0; I < Rounds; ++I) ABlend();
  return APixels * static_cast<Double>(Rounds) / (WallSeconds() - Start) / 1e6;
}

void Blending() {
  const Integer W = 1920, H = 1080;
  auto Source = AlphaPicture(W, H);
  auto Dest = TOwned<TcxBitmap32>(TcxBitmap32::CreateSize(W, H));
  Dest->cxCanvas()->FillRect(Dest->ClientRect(), static_cast<TColor>(RGB(40, 90, 200)));
  HDC DC = Dest->Canvas()->Handle();
  HDC SrcDC = Source->Canvas()->Handle();
  TRect R = Dest->ClientRect();
  TcxGraphicsPlatform Saved = cxGraphicsPlatform();
  TcxAlphaBlendProc Platform = Saved.AlphaBlend;
  if (!Platform) {
    std::printf("no AlphaBlend in msimg32: blending not measured\n");
    return;
  }
  Double Peer = MPixelsPerSecond(W * H, [&] {
    BLENDFUNCTION F{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    Platform(DC, 0, 0, W, H, SrcDC, 0, 0, W, H, F);
  });
  std::printf("blend platform AlphaBlend: %.1f Mpixel/s\n", Peer);
  struct {
    const char* Name;
    bool Win64, Win9X, System;
  } Roads[] = {{"system", false, false, true},
               {"GDI+", true, false, true},
               {"stretched, system blend", false, true, true},
               {"software", false, true, false}};
  for (const auto& Road : Roads) {
    TcxGraphicsPlatform& P = cxGraphicsPlatform();
    P = Saved;
    P.IsWin64Bit = Road.Win64;
    P.IsWin9X = Road.Win9X;
    if (!Road.System) P.AlphaBlend = nullptr;
    Double Speed = MPixelsPerSecond(W * H, [&] { cxAlphaBlend(DC, Source.get(), R, R); });
    std::printf("blend %s: %.1f Mpixel/s\n", Road.Name, Speed);
    std::printf("ratio blend %s / platform AlphaBlend: %.2f\n", Road.Name, Peer / Speed);
  }
  cxGraphicsPlatform() = Saved;
}

// Entries with soft edges: every alpha from the centre out, premultiplied.
TOwned<TcxImageList> AlphaList(Integer ACount) {
  TOwned<TcxImageList> List(Create<TcxImageList>(nullptr));
  for (Integer I = 0; I < ACount; ++I) {
    TRGBColors P(256);
    for (Integer Y = 0; Y < 16; ++Y)
      for (Integer X = 0; X < 16; ++X) {
        Integer D = (X - 8) * (X - 8) + (Y - 8) * (Y - 8);
        Byte A = static_cast<Byte>(std::max(0, 255 - D * 4));
        Byte R = static_cast<Byte>((I * 37) % 256), G = static_cast<Byte>(X * 16),
             B = static_cast<Byte>(Y * 16);
        P[static_cast<size_t>(Y) * 16 + X] =
            RGBQUAD{static_cast<Byte>(B * A / 255), static_cast<Byte>(G * A / 255),
                    static_cast<Byte>(R * A / 255), A};
      }
    TOwned<TcxBitmap32> Cell(TcxBitmap32::CreateSize(16, 16));
    SetBitmapBits(Cell.get(), P, true);
    List->Add(Cell.get(), nullptr);
  }
  return List;
}

template <class F>
Double DrawsPerSecond(Integer ACount, F&& ADraw) {
  for (Integer I = 0; I < ACount; ++I) ADraw(I);  // warm-up: the cache fills here
  const int Rounds = 200;
  Double Start = WallSeconds();
  for (int R = 0; R < Rounds; ++R)
    for (Integer I = 0; I < ACount; ++I) ADraw(I);
  return ACount * static_cast<Double>(Rounds) / (WallSeconds() - Start);
}

void ImageListDrawing() {
  const Integer Count = 32;
  auto List = AlphaList(Count);
  TOwned<TcxBitmap32> Page(TcxBitmap32::CreateSize(64, 64));
  Page->cxCanvas()->FillRect(Page->ClientRect(), static_cast<TColor>(RGB(240, 240, 240)));
  TcxCanvas* Canvas = Page->cxCanvas();
  HDC DC = Canvas->Handle();
  HIMAGELIST Native = List->Handle();
  {
    // What every road that ends in GDI+ on a DC pays at least: one paint
    // with one unscaled 16 x 16 image.
    GpBitmap* Image = dxGpCreateBitmap(16, 16);
    const int Rounds = 2000;
    Double Start = WallSeconds();
    for (int I = 0; I < Rounds; ++I) {
      TdxGPCustomPaintCanvas* Paint = dxGpBeginPaint(DC, cxRect(4, 4, 20, 20));
      GdipDrawImageRectRectI(Paint->Handle(), Image, 4, 4, 16, 16, 0, 0, 16, 16, UnitPixel, nullptr,
                             nullptr, nullptr);
      dxGpEndPaint(Paint);
    }
    std::printf("GDI+ paint of one 16x16 image on the DC: %.0f draws/s\n",
                Rounds / (WallSeconds() - Start));
    GdipDisposeImage(Image);
  }
  for (Integer Size : {16, 24}) {
    TRect R = cxRect(4, 4, 4 + Size, 4 + Size);
    Double Cached = DrawsPerSecond(Count, [&](Integer I) {
      TdxImageListPaintCache::Draw(Canvas, R, List.get(), I, idmNormal, true, nullptr, false);
    });
    Double Composed = DrawsPerSecond(
        Count, [&](Integer I) { cxDrawImage(DC, R, R, nullptr, List.get(), I, idmNormal); });
    // The platform scales a cell only when asked to (comctl32 6).
    Double Platform = DrawsPerSecond(Count, [&](Integer I) {
      IMAGELISTDRAWPARAMS P{};
      P.cbSize = sizeof(P);
      P.himl = Native;
      P.i = I;
      P.hdcDst = DC;
      P.x = R.left;
      P.y = R.top;
      P.cx = Size;
      P.cy = Size;
      P.rgbBk = CLR_NONE;
      P.rgbFg = CLR_NONE;
      P.fStyle = ILD_TRANSPARENT | (Size != 16 ? ILD_SCALE : 0);
      ImageList_DrawIndirect(&P);
    });
    if (Size != 16) {
      // Outside 16 x 16 but inside the enlarged soft circle: painted only
      // when the platform did scale.
      Canvas->FillRect(Page->ClientRect(), static_cast<TColor>(RGB(240, 240, 240)));
      IMAGELISTDRAWPARAMS P{};
      P.cbSize = sizeof(P);
      P.himl = Native;
      P.hdcDst = DC;
      P.x = R.left;
      P.y = R.top;
      P.cx = P.cy = Size;
      P.rgbBk = P.rgbFg = CLR_NONE;
      P.fStyle = ILD_TRANSPARENT | ILD_SCALE;
      ImageList_DrawIndirect(&P);
      bool Scaled = GetPixel(DC, R.left + 12, R.top + 21) != RGB(240, 240, 240);
      std::printf("platform image list drawing scaled to %dx%d: %s\n", Size, Size,
                  Scaled ? "yes" : "no (it drew 16x16)");
    }
    std::printf("image list %dx%d: cache %.0f, composing %.0f, platform %.0f draws/s\n", Size, Size,
                Cached, Composed, Platform);
    std::printf("ratio image list %dx%d cache / composing: %.3f\n", Size, Size, Composed / Cached);
    std::printf("ratio image list %dx%d cache / platform: %.3f\n", Size, Size, Platform / Cached);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  String Folder = argc > 1 ? String(argv[1]) : String();
  StartUp();
  int Result = 0;
  try {
    auto Big = Picture(4000, 3000);
    auto Small = Picture(1000, 750);
    WriteBmp(Big.get(), Folder, L"big4000x3000.bmp");
    WriteBmp(Small.get(), Folder, L"small1000x750.bmp");
    Resample(Big.get(), 1000, 750, "lanczos 4000x3000 to 1000x750");
    Resample(Small.get(), 2000, 1500, "lanczos 1000x750 to 2000x1500");
    Blending();
    ImageListDrawing();
  } catch (const Exception& E) {
    std::fwprintf(stderr, L"graphicsbench: %ls\n", E.Message().c_str());
    Result = 1;
  }
  ShutDown();
  return Result;
}
