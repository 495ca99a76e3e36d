// Small helpers of the graphics tests: given system colours and a 32-bit
// off-screen surface whose pixels can be read back.
#pragma once

#include <climits>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Classes.h"
#include "cxDrawTextUtils.h"
#include "cxGraphics.h"

// Replaces the system colours for the lifetime of the object; colours not
// given answer magenta, so that an unexpected one shows.
class TInjectedSysColors {
 public:
  explicit TInjectedSysColors(std::map<int, COLORREF> AColors) {
    Colors() = std::move(AColors);
    FPrevious = dxSetSysColorFunc(&Lookup);
  }
  ~TInjectedSysColors() { dxSetSysColorFunc(FPrevious); }
  TInjectedSysColors(const TInjectedSysColors&) = delete;
  TInjectedSysColors& operator=(const TInjectedSysColors&) = delete;

 private:
  static std::map<int, COLORREF>& Colors() {
    static std::map<int, COLORREF> C;
    return C;
  }
  static COLORREF Lookup(int AIndex) {
    auto It = Colors().find(AIndex);
    return It == Colors().end() ? RGB(255, 0, 255) : It->second;
  }
  TdxSysColorFunc FPrevious;
};

// A top-down 32-bit DIB selected into a memory DC.
class TSurface {
 public:
  TSurface(int AWidth, int AHeight, COLORREF AFill) : FWidth(AWidth), FHeight(AHeight) {
    BITMAPINFO Info = {};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = AWidth;
    Info.bmiHeader.biHeight = -AHeight;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    Info.bmiHeader.biCompression = BI_RGB;
    FDC = CreateCompatibleDC(nullptr);
    FBitmap =
        CreateDIBSection(FDC, &Info, DIB_RGB_COLORS, reinterpret_cast<void**>(&FBits), nullptr, 0);
    FOld = SelectObject(FDC, FBitmap);
    RECT R{0, 0, AWidth, AHeight};
    HBRUSH B = CreateSolidBrush(AFill);
    FillRect(FDC, &R, B);
    DeleteObject(B);
  }
  ~TSurface() {
    SelectObject(FDC, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
  }
  TSurface(const TSurface&) = delete;
  TSurface& operator=(const TSurface&) = delete;

  HDC DC() const { return FDC; }
  COLORREF Pixel(int X, int Y) const {
    GdiFlush();
    RGBQUAD Q = FBits[Y * FWidth + X];
    return RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue);
  }
  // Starts of the runs of AColor on line Y.
  std::vector<int> RunStarts(int Y, COLORREF AColor, std::vector<int>* AWidths = nullptr) const {
    std::vector<int> R;
    for (int X = 0; X < FWidth; ++X) {
      if (Pixel(X, Y) != AColor || (X > 0 && Pixel(X - 1, Y) == AColor)) continue;
      R.push_back(X);
      int E = X;
      while (E < FWidth && Pixel(E, Y) == AColor) ++E;
      if (AWidths) AWidths->push_back(E - X);
    }
    return R;
  }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }

 private:
  int FWidth, FHeight;
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FOld;
  RGBQUAD* FBits = nullptr;
};

// The bytes of an RCDATA resource of the test executable (a fixture).
inline TBytes FixtureBytes(const wchar_t* AName) {
  HRSRC R = FindResourceW(nullptr, AName, MAKEINTRESOURCEW(10));
  if (!R) return TBytes();
  HGLOBAL G = LoadResource(nullptr, R);
  const Byte* P = static_cast<const Byte*>(LockResource(G));
  return TBytes(P, P + SizeofResource(nullptr, R));
}

// A memory stream holding ABytes, at position 0; the caller owns it.
inline TMemoryStream* BytesStream(const TBytes& ABytes) {
  TMemoryStream* S = Create<TMemoryStream>();
  if (!ABytes.empty()) S->WriteBuffer(ABytes.data(), static_cast<Integer>(ABytes.size()));
  S->SetPosition(0);
  return S;
}

inline TBytes StreamBytes(TStream* AStream) {
  TBytes R(static_cast<size_t>(AStream->Size()), 0);
  AStream->SetPosition(0);
  if (!R.empty()) AStream->ReadBuffer(R.data(), static_cast<Integer>(R.size()));
  return R;
}

// The graphics modules started for one test and shut down after it.
class GraphicsModule : public ::testing::Test {
 protected:
  void SetUp() override {
    cxGraphics_Initialize();
    cxDrawTextUtils_Initialize();
  }
  void TearDown() override {
    cxDrawTextUtils_Finalize();
    cxGraphics_Finalize();
  }
};

// A 32-bit library bitmap filled with one colour (alpha 0 as GDI leaves it).
inline TOwned<TcxBitmap32> FilledBitmap(int AWidth, int AHeight, TColor AColor) {
  TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(AWidth, AHeight));
  B->cxCanvas()->FillRect(B->ClientRect(), AColor);
  return B;
}

// The colour of one pixel of a bitmap (alpha dropped).
inline COLORREF PixelOf(TBitmap* ABitmap, int X, int Y) {
  TRGBColors P;
  GetBitmapBits(ABitmap, P, true);
  RGBQUAD Q = P[static_cast<size_t>(Y) * ABitmap->Width() + X];
  return RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue);
}

inline RGBQUAD QuadAt(TBitmap* ABitmap, int X, int Y) {
  TRGBColors P;
  GetBitmapBits(ABitmap, P, true);
  return P[static_cast<size_t>(Y) * ABitmap->Width() + X];
}

// A picture of which pixels of a bitmap have one colour, row by row, for
// comparing shapes in failure messages.
inline std::string Shape(TBitmap* ABitmap, COLORREF AColor) {
  TRGBColors P;
  GetBitmapBits(ABitmap, P, true);
  std::string S;
  for (int Y = 0; Y < ABitmap->Height(); ++Y) {
    for (int X = 0; X < ABitmap->Width(); ++X) {
      RGBQUAD Q = P[static_cast<size_t>(Y) * ABitmap->Width() + X];
      S += RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue) == AColor ? '#' : '.';
    }
    S += '\n';
  }
  return S;
}

// Empty when both bitmaps hold the same colours; otherwise how many pixels
// differ and, for the rows where they do, a picture ('X' differs, '#' ink).
inline std::string Difference(TBitmap* A, TBitmap* B) {
  TRGBColors PA, PB;
  GetBitmapBits(A, PA, true);
  GetBitmapBits(B, PB, true);
  int Count = 0;
  std::string S;
  for (int Y = 0; Y < A->Height(); ++Y) {
    std::string Row;
    bool Differs = false;
    for (int X = 0; X < A->Width(); ++X) {
      const RGBQUAD &QA = PA[static_cast<size_t>(Y) * A->Width() + X],
                    &QB = PB[static_cast<size_t>(Y) * A->Width() + X];
      bool Same = QA.rgbRed == QB.rgbRed && QA.rgbGreen == QB.rgbGreen && QA.rgbBlue == QB.rgbBlue;
      bool Ink = RGB(QA.rgbRed, QA.rgbGreen, QA.rgbBlue) != RGB(255, 255, 255);
      Count += !Same;
      Differs |= !Same;
      Row += !Same ? 'X' : (Ink ? '#' : '.');
    }
    if (Differs) S += std::to_string(Y) + ": " + Row + '\n';
  }
  return Count == 0 ? std::string() : std::to_string(Count) + " pixels differ\n" + S;
}

// The smallest rectangle holding every pixel for which APredicate holds.
template <class F>
TRect BoundsWhere(TBitmap* ABitmap, F&& APredicate) {
  TRGBColors P;
  GetBitmapBits(ABitmap, P, true);
  TRect R = cxRect(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
  for (int Y = 0; Y < ABitmap->Height(); ++Y)
    for (int X = 0; X < ABitmap->Width(); ++X) {
      const RGBQUAD& Q = P[static_cast<size_t>(Y) * ABitmap->Width() + X];
      if (!APredicate(RGB(Q.rgbRed, Q.rgbGreen, Q.rgbBlue))) continue;
      R.left = std::min<LONG>(R.left, X);
      R.top = std::min<LONG>(R.top, Y);
      R.right = std::max<LONG>(R.right, X + 1);
      R.bottom = std::max<LONG>(R.bottom, Y + 1);
    }
  return R.left == INT_MAX ? cxNullRect : R;
}

inline TRect InkBounds(TBitmap* ABitmap, COLORREF ABackground = RGB(255, 255, 255)) {
  return BoundsWhere(ABitmap, [&](COLORREF C) { return C != ABackground; });
}

inline std::string ToString(const TRect& R) {
  return "(" + std::to_string(R.left) + ", " + std::to_string(R.top) + ", " +
         std::to_string(R.right) + ", " + std::to_string(R.bottom) + ")";
}

// The roads of the alpha blend, chosen by the platform flags.
struct TBlendRoad {
  const char* Name;
  bool Win64, Win9X, SystemBlend;
};
inline const TBlendRoad BlendRoads[] = {{"system blend", false, false, true},
                                        {"GDI+", true, false, true},
                                        {"stretched, system blend", false, true, true},
                                        {"stretched, pixel by pixel", false, true, false}};

// Takes one road for the lifetime of the object.
class TTakeBlendRoad {
 public:
  explicit TTakeBlendRoad(const TBlendRoad& ARoad) : FSaved(cxGraphicsPlatform()) {
    TcxGraphicsPlatform& P = cxGraphicsPlatform();
    P.IsWin64Bit = ARoad.Win64;
    P.IsWin9X = ARoad.Win9X;
    if (!ARoad.SystemBlend) P.AlphaBlend = nullptr;
  }
  ~TTakeBlendRoad() { cxGraphicsPlatform() = FSaved; }
  TTakeBlendRoad(const TTakeBlendRoad&) = delete;
  TTakeBlendRoad& operator=(const TTakeBlendRoad&) = delete;

 private:
  TcxGraphicsPlatform FSaved;
};

// Tahoma of 11 pixels in black, the font the text tests measure with.
inline TOwned<TFont> TestFont() {
  TOwned<TFont> F(Create<TFont>());
  F->SetName(L"Tahoma");
  F->SetHeight(-11);
  F->SetColor(clBlack);
  return F;
}
