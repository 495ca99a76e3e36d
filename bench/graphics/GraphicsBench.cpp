// Resamples and blends large bitmaps and prints the figures: forced Lanczos
// resampling 4000 x 3000 -> 1000 x 750 and 1000 x 750 -> 2000 x 1500 (the
// driver script times ImageMagick on the same pictures, which this program
// writes as BMPs), and Mpixel/s of blending a 1920 x 1080 RGBA bitmap onto a
// DC by each road of the alpha blend and by the platform's AlphaBlend.
//
//   tools/run-bench.sh graphics   (or bench/graphics/run.sh <exe>)
// Argument: a folder for the BMPs (Windows path); none: no BMPs written.
// Lines "time <name>: S" are read by the driver script.
#include <cstdio>
#include <cwchar>

#include "Forms.h"
#include "cxGeometry.h"
#include "cxGraphics.h"
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
}

void ShutDown() {
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
  } catch (const Exception& E) {
    std::fwprintf(stderr, L"graphicsbench: %ls\n", E.Message().c_str());
    Result = 1;
  }
  ShutDown();
  return Result;
}
