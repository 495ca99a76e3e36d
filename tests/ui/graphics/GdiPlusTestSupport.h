// A small 32-bit GDI+ bitmap with a canvas on it, drawn without
// anti-aliasing, whose pixels the tests read back.
#pragma once

#include <gtest/gtest.h>

#include "dxGDIPlusClasses.h"

class TGpSurface {
 public:
  TGpSurface(Integer AWidth, Integer AHeight) : FWidth(AWidth), FHeight(AHeight) {
    FBitmap = dxGpCreateBitmap(AWidth, AHeight);
    GpGraphics* G = nullptr;
    GdipCheck(GdipGetImageGraphicsContext(FBitmap, &G));
    FCanvas.reset(Create<TdxGPCanvas>(G));
    FCanvas->SetSmoothingMode(smNone);
    FCanvas->SetInterpolationMode(imNearestNeighbor);
  }
  ~TGpSurface() {
    FCanvas.reset();
    GdipDisposeImage(FBitmap);
  }
  TGpSurface(const TGpSurface&) = delete;
  TGpSurface& operator=(const TGpSurface&) = delete;

  TdxGPCanvas* Canvas() const { return FCanvas.get(); }
  GpBitmap* Bitmap() const { return FBitmap; }
  ARGB Pixel(Integer X, Integer Y) const {
    GdipFlush(FCanvas->Handle(), Gdiplus::FlushIntentionSync);
    ARGB C = 0;
    GdipBitmapGetPixel(FBitmap, X, Y, &C);
    return C;
  }
  // How many pixels have colour AColor.
  Integer Count(ARGB AColor) const {
    Integer N = 0;
    for (Integer Y = 0; Y < FHeight; ++Y)
      for (Integer X = 0; X < FWidth; ++X) N += Pixel(X, Y) == AColor ? 1 : 0;
    return N;
  }
  // Runs of AColor along row Y: their starts and lengths.
  std::vector<std::pair<Integer, Integer>> Runs(Integer Y, ARGB AColor) const {
    std::vector<std::pair<Integer, Integer>> R;
    for (Integer X = 0; X < FWidth;) {
      if (Pixel(X, Y) != AColor) {
        ++X;
        continue;
      }
      Integer S = X;
      while (X < FWidth && Pixel(X, Y) == AColor) ++X;
      R.emplace_back(S, X - S);
    }
    return R;
  }
  Integer Width() const { return FWidth; }
  Integer Height() const { return FHeight; }

 private:
  Integer FWidth, FHeight;
  GpBitmap* FBitmap = nullptr;
  TOwned<TdxGPCanvas> FCanvas;
};

// A 3 x 2 PNG image of the colours that check_export.py expects once Pillow
// reads them back (given here premultiplied).
inline TdxPNGImage* CheckedExportImage() {
  TRGBColors Bits{{0, 0, 255, 255},     {0, 255, 0, 255}, {255, 0, 0, 255},
                  {255, 255, 255, 255}, {0, 0, 128, 128}, {0, 0, 0, 0}};
  return TdxCustomSmartImage::CreateFromBits<TdxPNGImage>(3, 2, Bits,
                                                          TAlphaFormat::afPremultiplied);
}

// GDI+ is required by the case.
#define REQUIRE_GDIPLUS() \
  if (!CheckGdiPlus(false)) GTEST_SKIP() << "needs GDI+"
