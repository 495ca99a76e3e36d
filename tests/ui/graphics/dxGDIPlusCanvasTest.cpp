#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <utility>

#include "ComObj.h"
#include "GdiPlusTestSupport.h"
#include "GraphicsTestSupport.h"

namespace {

constexpr TdxAlphaColor Argb(Cardinal V) { return TdxAlphaColor(V); }
constexpr ARGB Red = 0xFFFF0000, Blue = 0xFF0000FF, Green = 0xFF00FF00;

TEST(GpCanvas, OutlinedShapesSpanRightMinusOne) {
  REQUIRE_GDIPLUS();
  TGpSurface S(12, 12);
  TOwned<TdxGPPen> Pen(Create<TdxGPPen>(Argb(Red)));
  S.Canvas()->Rectangle(TRect{0, 0, 10, 10}, Pen.get(), nullptr);
  for (Integer I = 0; I < 10; ++I) {
    EXPECT_EQ(S.Pixel(I, 0), Red) << I;
    EXPECT_EQ(S.Pixel(I, 9), Red) << I;
    EXPECT_EQ(S.Pixel(0, I), Red) << I;
    EXPECT_EQ(S.Pixel(9, I), Red) << I;
  }
  EXPECT_EQ(S.Pixel(10, 5), 0u);
  EXPECT_EQ(S.Pixel(5, 10), 0u);
  EXPECT_EQ(S.Pixel(5, 5), 0u);

  TGpSurface F(12, 12);
  F.Canvas()->FillRectangle(TRect{0, 0, 10, 10}, Argb(Blue));
  EXPECT_EQ(F.Count(Blue), 100);
  EXPECT_EQ(F.Pixel(9, 9), Blue);
  EXPECT_EQ(F.Pixel(10, 10), 0u);
  // Nothing for the empty colour or white without alpha.
  F.Canvas()->FillRectangle(TRect{0, 0, 12, 12}, Argb(0x00FFFFFF));
  F.Canvas()->FillRectangle(TRect{0, 0, 12, 12}, dxacNone);
  EXPECT_EQ(F.Count(Blue), 100);
}

TEST(GpCanvas, ColourFormsDrawFillBeforeOutlineAndSkipTheirNones) {
  REQUIRE_GDIPLUS();
  struct {
    TColor Pen;
    Single Width;
    Integer Outline;  // pixels of the pen colour at the left edge
  } Cases[] = {{clNone, 1, 0}, {clRed, 0, 0}, {clRed, 1, 1}};
  for (const auto& C : Cases) {
    TGpSurface S(20, 20);
    S.Canvas()->Ellipse(TRect{0, 0, 20, 20}, C.Pen, clBlue, C.Width);
    EXPECT_EQ(S.Pixel(10, 10), Blue) << C.Pen << " " << C.Width;
    EXPECT_EQ(S.Pixel(0, 9) == Red ? 1 : 0, C.Outline) << C.Pen << " " << C.Width;
    EXPECT_EQ(S.Pixel(0, 0), 0u);
  }
  TGpSurface A(8, 8);
  A.Canvas()->Rectangle(TRect{0, 0, 8, 8}, dxacNone, Argb(0x80FF0000));
  EXPECT_EQ(A.Pixel(3, 3) >> 24, 0x80u);
  EXPECT_EQ(A.Pixel(0, 0) >> 24, 0x80u);  // no outline for the empty colour
}

TEST(GpCanvas, PieAnglesRunCounterClockwise) {
  REQUIRE_GDIPLUS();
  TGpSurface S(21, 21);
  S.Canvas()->Pie(TRect{0, 0, 21, 21}, 0, 90, clNone, clRed);
  EXPECT_EQ(S.Pixel(15, 5), Red);  // upper right
  EXPECT_EQ(S.Pixel(5, 5), 0u);    // upper left
  EXPECT_EQ(S.Pixel(15, 15), 0u);  // lower right
  S.Canvas()->Arc(TRect{0, 0, 21, 21}, 180, 90, Argb(Blue));
  EXPECT_EQ(S.Pixel(10, 20), Blue);  // the arc runs through the bottom
  EXPECT_EQ(S.Pixel(10, 0), 0u);
}

TEST(GpCanvas, GradientFillsAndRegions) {
  REQUIRE_GDIPLUS();
  TGpSurface S(10, 4);
  S.Canvas()->FillRectangleByGradient(TRect{0, 0, 10, 4}, Argb(Red), Argb(Red),
                                      LinearGradientModeHorizontal);
  EXPECT_EQ(S.Count(Red), 40);
  S.Canvas()->FillRectangleByGradient(TRect{0, 0, 10, 4}, Argb(Blue), dxacDefault,
                                      LinearGradientModeHorizontal);
  EXPECT_EQ(S.Count(Blue), 40);
  S.Canvas()->FillRectangleByGradient(TRect{0, 0, 10, 4}, Argb(Red), Argb(Blue),
                                      LinearGradientModeHorizontal);
  ARGB L = S.Pixel(0, 1), R = S.Pixel(9, 1);
  EXPECT_GT((L >> 16) & 0xFF, (R >> 16) & 0xFF);
  EXPECT_LT(L & 0xFF, R & 0xFF);
  TOwned<TdxGPRegion> Region(Create<TdxGPRegion>(TRect{2, 1, 5, 3}));
  TGpSurface G(8, 4);
  G.Canvas()->Region(Region.get(), dxacNone, Argb(Green));
  EXPECT_EQ(G.Count(Green), 6);
}

TEST(GpCanvas, ClipAndTransformStacksGiveBackWhatWasSaved) {
  REQUIRE_GDIPLUS();
  TGpSurface S(20, 20);
  TdxGPCanvas* C = S.Canvas();
  C->SetClipRect(TRect{2, 2, 18, 18}, gmReplace);
  C->SaveClipRegion();
  C->SetClipRect(TRect{5, 5, 8, 8}, gmIntersect);
  C->FillRectangle(TRect{0, 0, 20, 20}, Argb(Red));
  EXPECT_EQ(S.Count(Red), 9);
  C->RestoreClipRegion();
  C->FillRectangle(TRect{0, 0, 20, 20}, Argb(Blue));
  EXPECT_EQ(S.Count(Blue), 16 * 16);
  EXPECT_FALSE(C->IsClipEmpty());
  EXPECT_THROW(C->RestoreClipRegion(), EListError);

  C->TranslateWorldTransform(3, 4);
  C->SaveWorldTransform();
  C->ScaleWorldTransform(2, 2);
  C->FlipWorldTransform(false, false, 1.0f, 1.0f);  // both false: unchanged
  C->RestoreWorldTransform();
  TOwned<TdxGPMatrix> M(C->GetWorldTransform());
  EXPECT_FLOAT_EQ(M->OffsetX(), 3);
  EXPECT_FLOAT_EQ(M->OffsetY(), 4);
  EXPECT_TRUE(M->IsInvertible());
  std::vector<TdxPointF> P{{1, 1}};
  C->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, P);
  EXPECT_FLOAT_EQ(P[0].X, 4);
  std::vector<TdxPointF> None;
  try {
    C->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, None);
    ADD_FAILURE();
  } catch (const EArgumentOutOfRangeException& E) {
    EXPECT_EQ(E.Message(), L"points");
  }
  C->ScaleWorldTransform(2, 2, TdxPointF{10, 10});  // replaces the transform
  TOwned<TdxGPMatrix> Scaled(C->GetWorldTransform());
  EXPECT_EQ(Scaled->TransformPoint(TPoint{10, 10}), (TPoint{10, 10}));
  C->RotateWorldTransform(90, TdxPointF{10, 10}, MatrixOrderAppend);
  TOwned<TdxGPMatrix> Rotated(C->GetWorldTransform());
  EXPECT_EQ(Rotated->TransformPoint(TPoint{10, 10}), (TPoint{10, 10}));
}

// Counts the native regions and matrices made and deleted while it lives.
class TNativeObjectCount {
 public:
  TNativeObjectCount() {
    FCreateRegion = std::exchange(GdipCreateRegion, &CreateRegion);
    FDeleteRegion = std::exchange(GdipDeleteRegion, &DeleteRegion);
    FCreateMatrix = std::exchange(GdipCreateMatrix, &CreateMatrix);
    FDeleteMatrix = std::exchange(GdipDeleteMatrix, &DeleteMatrix);
    Made = Deleted = 0;
  }
  ~TNativeObjectCount() {
    GdipCreateRegion = FCreateRegion;
    GdipDeleteRegion = FDeleteRegion;
    GdipCreateMatrix = FCreateMatrix;
    GdipDeleteMatrix = FDeleteMatrix;
  }
  TNativeObjectCount(const TNativeObjectCount&) = delete;
  TNativeObjectCount& operator=(const TNativeObjectCount&) = delete;
  static inline int Made = 0, Deleted = 0;

 private:
  static GpStatus WINGDIPAPI CreateRegion(GpRegion** R) {
    ++Made;
    return FCreateRegion(R);
  }
  static GpStatus WINGDIPAPI DeleteRegion(GpRegion* R) {
    ++Deleted;
    return FDeleteRegion(R);
  }
  static GpStatus WINGDIPAPI CreateMatrix(GpMatrix** M) {
    ++Made;
    return FCreateMatrix(M);
  }
  static GpStatus WINGDIPAPI DeleteMatrix(GpMatrix* M) {
    ++Deleted;
    return FDeleteMatrix(M);
  }
  static inline decltype(GdipCreateRegion) FCreateRegion = nullptr;
  static inline decltype(GdipDeleteRegion) FDeleteRegion = nullptr;
  static inline decltype(GdipCreateMatrix) FCreateMatrix = nullptr;
  static inline decltype(GdipDeleteMatrix) FDeleteMatrix = nullptr;
};

TEST(GpCanvas, SavesLeftOnTheStacksGoWithTheCanvas) {
  REQUIRE_GDIPLUS();
  TNativeObjectCount Count;
  {
    TGpSurface S(8, 8);
    TdxGPCanvas* C = S.Canvas();
    C->SaveClipRegion();
    C->SaveClipRegion();
    C->SaveWorldTransform();
    C->SaveWorldTransform();
    C->RestoreWorldTransform();
    EXPECT_EQ(TNativeObjectCount::Made, 4);
    EXPECT_EQ(TNativeObjectCount::Deleted, 1);
  }
  EXPECT_EQ(TNativeObjectCount::Deleted, TNativeObjectCount::Made);
}

TEST(GpCanvas, ModesAnswerWithinTheirEnumerations) {
  REQUIRE_GDIPLUS();
  TGpSurface S(2, 2);
  TdxGPCanvas* C = S.Canvas();
  C->SetInterpolationMode(imHighQualityBicubic);
  EXPECT_EQ(C->InterpolationMode(), imHighQualityBicubic);
  C->SetPixelOffsetMode(PixelOffsetModeHalf);
  EXPECT_EQ(C->GetPixelOffsetMode(), static_cast<Integer>(PixelOffsetModeHalf));
  C->SetSmoothingMode(smAntiAlias);
  EXPECT_EQ(C->SmoothingMode(), smAntiAlias);
  EXPECT_GT(C->DpiX(), 0);
}

TEST(GpCanvas, TextRaisesOnlyForWhatItNeeds) {
  REQUIRE_GDIPLUS();
  TGpSurface S(40, 20);
  TOwned<TdxGPBrush> Brush(Create<TdxGPBrush>());
  Brush->SetColor(Argb(Red));
  EXPECT_THROW(S.Canvas()->DrawString(L"", nullptr, Brush.get(), 0.0f, 0.0f), EdxGdipException);
  TdxSizeF Size = S.Canvas()->MeasureString(L"", nullptr);
  EXPECT_EQ(Size.cx, 0);
  EXPECT_EQ(Size.cy, 0);
  TOwned<TdxGPFont> Font(Create<TdxGPFont>(L"Tahoma", 10.0f, 0, guPixel));
  TdxSizeF Text = S.Canvas()->MeasureString(L"Wide text", Font.get());
  EXPECT_GT(Text.cx, Text.cy);
  S.Canvas()->DrawString(L"W", Font.get(), Brush.get(), 0.0f, 0.0f);
  EXPECT_GT(40 * 20 - S.Count(0), 0);  // something was drawn
}

// Draws a 16 x 16 picture whose last column and row are red into 32 x 32:
// without the half-pixel offset the source is taken as 15 x 15, so the red
// edge shrinks to what the platform's sampling brings in from beyond it.
TEST(GpDrawImage, EnlargementLeavesOutTheLastSourceColumnAndRow) {
  REQUIRE_GDIPLUS();
  auto RedPixels = [](Integer AOffsetMode) {
    TGpSurface Source(16, 16);
    Source.Canvas()->FillRectangle(TRect{0, 0, 16, 16}, Argb(Blue));
    Source.Canvas()->FillRectangle(TRect{15, 0, 16, 16}, Argb(Red));
    Source.Canvas()->FillRectangle(TRect{0, 15, 16, 16}, Argb(Red));
    TGpSurface Dest(32, 32);
    Dest.Canvas()->SetPixelOffsetMode(AOffsetMode);
    dxGpDrawImage(Dest.Canvas()->Handle(), TRect{0, 0, 32, 32}, TRect{0, 0, 16, 16},
                  Source.Bitmap());
    EXPECT_EQ(Dest.Count(0), 0) << AOffsetMode;  // the whole destination is drawn
    return Dest.Count(Red);
  };
  Integer Whole = RedPixels(PixelOffsetModeHalf), Shrunk = RedPixels(PixelOffsetModeDefault);
  EXPECT_GE(Whole, 2 * 32 + 2 * 30);  // two columns and two rows
  EXPECT_LT(Shrunk, Whole);
  // Destinations thinner than one pixel or outside the clip draw nothing.
  TGpSurface Source(4, 4);
  Source.Canvas()->FillRectangle(TRect{0, 0, 4, 4}, Argb(Blue));
  TGpSurface Dest(8, 8);
  dxGpDrawImage(Dest.Canvas()->Handle(), TdxRectF{0, 0, 0.5f, 8}, TdxRectF{0, 0, 4, 4},
                Source.Bitmap());
  Dest.Canvas()->SetClipRect(TRect{0, 0, 2, 2}, gmReplace);
  dxGpDrawImage(Dest.Canvas()->Handle(), TRect{4, 4, 8, 8}, TRect{0, 0, 4, 4}, Source.Bitmap());
  EXPECT_EQ(Dest.Count(0), 64);
}

TEST(GpDrawImage, TilesAreCutAtTheDestinationEdge) {
  REQUIRE_GDIPLUS();
  TGpSurface Source(10, 10);
  Source.Canvas()->FillRectangle(TRect{0, 0, 5, 10}, Argb(Red));
  Source.Canvas()->FillRectangle(TRect{5, 0, 10, 10}, Argb(Blue));
  struct {
    TRect Dest;
    Byte Alpha;
    Integer RedColumns;  // whole red columns of tiles on row 5
  } Cases[] = {
      {TRect{0, 0, 25, 10}, 255, 3},  // the texture road
      {TRect{0, 0, 25, 10}, 128, 3},  // three tiles, the last one 5 wide
      {TRect{0, 0, 20, 10}, 128, 2},  // exactly two tiles
  };
  for (const auto& C : Cases) {
    TGpSurface Dest(30, 10);
    dxGpTilePartEx(Dest.Canvas()->Handle(), C.Dest, TRect{0, 0, 10, 10}, Source.Bitmap(), C.Alpha);
    Integer Red = 0, Blue = 0, Empty = 0;
    for (Integer X = 0; X < 30; ++X) {
      ARGB P = Dest.Pixel(X, 5);
      if (P == 0) {
        ++Empty;
        continue;
      }
      ((P >> 16) & 0xFF) > (P & 0xFF) ? ++Red : ++Blue;
    }
    EXPECT_EQ(Red, C.RedColumns * 5) << C.Dest.right << " " << int(C.Alpha);
    EXPECT_EQ(Empty, 30 - (C.Dest.right - C.Dest.left)) << C.Dest.right;
  }
}

TEST(GpDrawImage, AMetafileInOnePixelLeavesTheClipAsItWas) {
  REQUIRE_GDIPLUS();
  HDC Ref = GetDC(nullptr);
  HDC Meta = CreateEnhMetaFileW(Ref, nullptr, nullptr, nullptr);
  ReleaseDC(nullptr, Ref);
  HBRUSH Brush = CreateSolidBrush(RGB(255, 0, 0));
  RECT All{0, 0, 100, 100};
  FillRect(Meta, &All, Brush);
  DeleteObject(Brush);
  HENHMETAFILE Emf = CloseEnhMetaFile(Meta);
  Gdiplus::GpMetafile* Image = nullptr;
  ASSERT_EQ(GdipCreateMetafileFromEmf(Emf, TRUE, &Image), Ok);
  TGpSurface Dest(10, 10);
  Dest.Canvas()->SetClipRect(TRect{1, 1, 9, 9}, gmReplace);
  Gdiplus::GpRectF Before, After;
  GdipGetClipBounds(Dest.Canvas()->Handle(), &Before);
  UINT W = 0, H = 0;
  GdipGetImageWidth(Image, &W);
  GdipGetImageHeight(Image, &H);
  dxGpDrawImage(Dest.Canvas()->Handle(), TRect{4, 4, 5, 5},
                TRect{0, 0, static_cast<LONG>(W), static_cast<LONG>(H)}, Image);
  GdipGetClipBounds(Dest.Canvas()->Handle(), &After);
  EXPECT_EQ(Before.X, After.X);
  EXPECT_EQ(Before.Width, After.Width);
  EXPECT_EQ(Before.Height, After.Height);
  for (Integer Y = 0; Y < 10; ++Y)
    for (Integer X = 0; X < 10; ++X)
      if (X != 4 || Y != 4) {
        EXPECT_EQ(Dest.Pixel(X, Y), 0u) << X << "," << Y;
      }
  GdipDisposeImage(Image);
}

// ---------------------------------------------------------------------------
// Paint canvases

// A DIB section of a given depth selected into a memory DC.
class TDepthSurface {
 public:
  TDepthSurface(Integer AWidth, Integer AHeight, WORD ABits) {
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = AWidth;
    Info.bmiHeader.biHeight = -AHeight;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = ABits;
    Info.bmiHeader.biCompression = BI_RGB;
    FDC = CreateCompatibleDC(nullptr);
    void* Bits = nullptr;
    FBitmap = CreateDIBSection(FDC, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    FOld = SelectObject(FDC, FBitmap);
    RECT R{0, 0, AWidth, AHeight};
    HBRUSH B = CreateSolidBrush(RGB(255, 255, 255));
    FillRect(FDC, &R, B);
    DeleteObject(B);
  }
  ~TDepthSurface() {
    SelectObject(FDC, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
  }
  TDepthSurface(const TDepthSurface&) = delete;
  TDepthSurface& operator=(const TDepthSurface&) = delete;
  HDC DC() const { return FDC; }
  COLORREF Pixel(Integer X, Integer Y) const {
    GdiFlush();
    return GetPixel(FDC, X, Y);
  }

 private:
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FOld;
};

TEST(GpPaintCanvas, BuffersOnlyLowColourTargetsAndKeepsTheSurroundings) {
  REQUIRE_GDIPLUS();
  struct {
    WORD Bits;
    bool Buffered;
  } Cases[] = {{32, false}, {16, true}};
  for (const auto& C : Cases) {
    TDepthSurface S(12, 12, C.Bits);
    EXPECT_EQ(dxGpIsDoubleBufferedNeeded(S.DC()), C.Buffered) << C.Bits;
    TdxGPPaintCanvas* Canvas = dxGPPaintCanvas();
    TRect R{2, 3, 8, 9};
    Canvas->BeginPaint(S.DC(), R);
    EXPECT_EQ(Canvas->IsLowColorsMode(), C.Buffered) << C.Bits;
    Canvas->FillRectangle(R, Argb(0xFF000000));
    Canvas->EndPaint();
    EXPECT_FALSE(Canvas->IsLowColorsMode());
    EXPECT_EQ(Canvas->Handle(), nullptr);
    // The drawing over the earlier content inside R; everything else, the
    // buffer's extra column and row among it, as it was.
    for (Integer Y = 0; Y < 12; ++Y)
      for (Integer X = 0; X < 12; ++X) {
        bool Inside = X >= R.left && X < R.right && Y >= R.top && Y < R.bottom;
        EXPECT_EQ(S.Pixel(X, Y), Inside ? 0u : 0xFFFFFFu) << C.Bits << " " << X << "," << Y;
      }
  }
}

TEST(GpPaintCanvas, NestedPaintsOnTwoTargetsEachGetTheirOwn) {
  REQUIRE_GDIPLUS();
  TDepthSurface Outer(6, 6, 16), Inner(6, 6, 32);
  TdxGPPaintCanvas* Canvas = dxGPPaintCanvas();
  Canvas->BeginPaint(Outer.DC(), TRect{0, 0, 6, 6});
  EXPECT_TRUE(Canvas->IsLowColorsMode());
  Canvas->BeginPaint(Inner.DC(), TRect{0, 0, 6, 6});
  EXPECT_FALSE(Canvas->IsLowColorsMode());  // the inner paint is direct
  Canvas->FillRectangle(TRect{0, 0, 6, 6}, Argb(0xFF0000FF));
  Canvas->EndPaint();
  EXPECT_TRUE(Canvas->IsLowColorsMode());  // back to the outer paint's
  Canvas->FillRectangle(TRect{0, 0, 6, 6}, Argb(0xFFFF0000));
  Canvas->EndPaint();
  EXPECT_EQ(Canvas->Handle(), nullptr);
  EXPECT_EQ(Inner.Pixel(2, 2), RGB(0, 0, 255));
  EXPECT_EQ(Outer.Pixel(2, 2), RGB(255, 0, 0));
}

TEST(GpPaintCanvas, AGivenGraphicsOutlivesThePaint) {
  REQUIRE_GDIPLUS();
  TGpSurface S(4, 4);
  GpGraphics* Given = S.Canvas()->Handle();
  TOwned<TdxGPCustomPaintCanvas> Custom(Create<TdxGPCustomPaintCanvas>());
  for (TdxGPCustomPaintCanvas* Canvas :
       {static_cast<TdxGPCustomPaintCanvas*>(dxGPPaintCanvas()), Custom.get()}) {
    Canvas->BeginPaint(Given);
    Canvas->FillRectangle(TRect{0, 0, 2, 2}, Argb(0xFF00FF00));
    Canvas->EndPaint();
    EXPECT_EQ(Canvas->Handle(), nullptr);
  }
  Custom.reset();
  // The graphics is still alive and usable.
  S.Canvas()->FillRectangle(TRect{2, 2, 4, 4}, Argb(0xFF0000FF));
  EXPECT_EQ(S.Count(0xFF00FF00), 4);
  EXPECT_EQ(S.Count(0xFF0000FF), 4);
}

TEST(GpPaintCanvas, ASecondThreadWaitsForTheOutermostEndPaint) {
  REQUIRE_GDIPLUS();
  TDepthSurface S(4, 4, 32);
  TOwned<TdxGPCustomPaintCanvas> Canvas(Create<TdxGPCustomPaintCanvas>());
  HANDLE Started = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE Entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Canvas->BeginPaint(S.DC(), TRect{0, 0, 4, 4});
  std::thread Other([&] {
    TDepthSurface Mine(4, 4, 32);
    SetEvent(Started);
    Canvas->BeginPaint(Mine.DC(), TRect{0, 0, 4, 4});
    SetEvent(Entered);
    Canvas->EndPaint();
  });
  WaitForSingleObject(Started, INFINITE);
  EXPECT_EQ(WaitForSingleObject(Entered, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  Canvas->EndPaint();
  EXPECT_EQ(WaitForSingleObject(Entered, 60000), static_cast<DWORD>(WAIT_OBJECT_0));
  Other.join();
  CloseHandle(Started);
  CloseHandle(Entered);
}

TEST(GpStreamAdapter, StatReportsTheStreamSize) {
  TOwned<TMemoryStream> Stream(Create<TMemoryStream>());
  Stream->SetSize(1000);
  auto Adapter = TComPtr<IStream>::Borrow(Create<TdxGPStreamAdapter>(Stream.get(), soReference));
  EXPECT_EQ(Adapter->Stat(nullptr, STATFLAG_NONAME), S_OK);
  STATSTG Stat;
  std::memset(&Stat, 0xCC, sizeof Stat);
  ASSERT_EQ(Adapter->Stat(&Stat, STATFLAG_NONAME), S_OK);
  EXPECT_EQ(Stat.cbSize.QuadPart, 1000u);
  EXPECT_EQ(Stat.type, static_cast<DWORD>(STGTY_STREAM));
  EXPECT_EQ(Stat.pwcsName, nullptr);
  ULONG Read = 0;
  Byte Buffer[10];
  EXPECT_EQ(Adapter->Read(Buffer, 10, &Read), S_OK);
  EXPECT_EQ(Read, 10u);
  Adapter.Reset();
  EXPECT_EQ(Stream->Position(), 10);  // the stream outlives its adapter
}

}  // namespace
