#include <malloc.h>

#include <functional>
#include <set>

#include "GraphicsTestSupport.h"

namespace {

using TCells = std::set<std::pair<int, int>>;

TCells CellsOf(const TcxRegion& R, int ASize = 12) {
  TCells C;
  for (int Y = -1; Y < ASize; ++Y)
    for (int X = -1; X < ASize; ++X)
      if (R.PtInRegion(X, Y)) C.insert({X, Y});
  return C;
}

TCells CellsOfRect(const TRect& R) {
  TCells C;
  for (int Y = R.top; Y < R.bottom; ++Y)
    for (int X = R.left; X < R.right; ++X) C.insert({X, Y});
  return C;
}

TEST(Regions, CombineMatchesSetOperations) {
  const TRect A = cxRect(1, 1, 7, 6), B = cxRect(4, 3, 10, 9);
  TCells SA = CellsOfRect(A), SB = CellsOfRect(B);
  auto Op = [&](auto F) {
    TCells R;
    F(R);
    return R;
  };
  struct {
    TcxRegionOperation Op;
    TCells Expected;
  } Cases[] = {
      {roSet, SB},
      {roAdd, Op([&](TCells& R) {
         R = SA;
         R.insert(SB.begin(), SB.end());
       })},
      {roSubtract, Op([&](TCells& R) {
         for (auto P : SA)
           if (!SB.count(P)) R.insert(P);
       })},
      {roIntersect, Op([&](TCells& R) {
         for (auto P : SA)
           if (SB.count(P)) R.insert(P);
       })},
  };
  for (const auto& C : Cases) {
    TOwned<TcxRegion> R(Create<TcxRegion>(A));
    R->Combine(B, C.Op);
    EXPECT_EQ(CellsOf(*R), C.Expected) << "operation " << C.Op;
    // The region form and the handle form agree.
    TOwned<TcxRegion> R2(Create<TcxRegion>(A));
    R2->Combine(Create<TcxRegion>(B), C.Op, true);
    EXPECT_TRUE(R2->IsEqual(R.get())) << "operation " << C.Op;
  }
}

TEST(Regions, EmptyEqualCloneAndRoundCorners) {
  TOwned<TcxRegion> Empty1(Create<TcxRegion>()), Empty2(Create<TcxRegion>(5, 5, 5, 9));
  EXPECT_TRUE(Empty1->IsEmpty());
  EXPECT_EQ(Empty1->BoundsRect(), cxNullRect);
  EXPECT_TRUE(Empty1->IsEqual(Empty2.get()));
  EXPECT_FALSE(Empty1->IsEqual(static_cast<TcxRegion*>(nullptr)));

  TOwned<TcxRegion> R(Create<TcxRegion>(cxRect(2, 2, 6, 6)));
  R->Combine(R->Handle(), roSubtract);
  EXPECT_TRUE(R->IsEmpty());

  TcxRegion* Source = Create<TcxRegion>(cxRect(1, 2, 4, 8));
  TOwned<TcxRegion> Copy(Source->Clone());
  Source->Free();
  EXPECT_EQ(Copy->BoundsRect(), cxRect(1, 2, 4, 8));
  Copy->Offset(2, -2);
  EXPECT_EQ(Copy->BoundsRect(), cxRect(3, 0, 6, 6));
  EXPECT_TRUE(Copy->RectInRegion(cxRect(5, 5, 9, 9)));
  EXPECT_FALSE(Copy->RectInRegion(cxRect(6, 0, 9, 9)));

  TOwned<TcxRegion> Round(TcxRegion::CreateRoundCorners(0, 0, 10, 10, 4, 4));
  EXPECT_FALSE(Round->PtInRegion(0, 5));
  EXPECT_TRUE(Round->PtInRegion(1, 5));
  EXPECT_TRUE(cxPtInRegion(Round->Handle(), TPoint{5, 5}));
}

// A canvas over a 32-bit bitmap of the given size.
struct TBitmapCanvas {
  TOwned<TcxBitmap32> Bitmap;
  TcxCanvas* Canvas;
  TBitmapCanvas(int W, int H, TColor AFill = clWhite) : Bitmap(FilledBitmap(W, H, AFill)) {
    Canvas = Bitmap->cxCanvas();
  }
  TRect ClipBox(bool AConsiderOrigin = true) {
    TOwned<TcxRegion> R(Canvas->GetClipRegion(AConsiderOrigin));
    return R->BoundsRect();
  }
};

class Canvas : public GraphicsModule {};

TEST_F(Canvas, EmptyStacksRestoreNothing) {
  TBitmapCanvas B(10, 10);
  B.Canvas->IntersectClipRect(cxRect(1, 1, 5, 5));
  B.Canvas->Font()->SetColor(clRed);
  B.Canvas->RestoreDC();
  B.Canvas->RestoreState();
  B.Canvas->RestoreClipRegion();
  EXPECT_EQ(B.ClipBox(), cxRect(1, 1, 5, 5));
  EXPECT_EQ(B.Canvas->Font()->Color(), clRed);
  EXPECT_EQ(B.Canvas->Canvas()->LockCount(), 0);
}

TEST_F(Canvas, ClipStackLeavesTheLargeClipOfADCWithoutOne) {
  TBitmapCanvas B(10, 10);
  EXPECT_EQ(GetClipRgn(B.Canvas->Handle(), Create<TcxRegion>()->Handle()), 0);
  B.Canvas->SaveClipRegion();
  B.Canvas->ExcludeClipRect(cxRect(0, 0, 5, 5));
  EXPECT_FALSE(B.Canvas->RectVisible(cxRect(1, 1, 4, 4)));
  B.Canvas->RestoreClipRegion();
  EXPECT_EQ(B.ClipBox(false), cxRect(0, 0, 30000, 30000));
  EXPECT_TRUE(B.Canvas->RectVisible(cxRect(1, 1, 4, 4)));
}

TEST_F(Canvas, ClipRegionsFollowTheWindowOrigin) {
  TBitmapCanvas B(20, 20);
  B.Canvas->IntersectClipRect(cxRect(2, 3, 8, 9));
  B.Canvas->SetWindowOrg(TPoint{10, 10});
  EXPECT_EQ(B.Canvas->DCOrigin(), (TPoint{-10, -10}));
  EXPECT_EQ(B.ClipBox(false), cxRect(2, 3, 8, 9));
  EXPECT_EQ(B.ClipBox(true), cxRect(12, 13, 18, 19));

  // A region given in logical coordinates comes back unchanged when kept.
  TOwned<TcxRegion> R(Create<TcxRegion>(cxRect(11, 11, 15, 15)));
  B.Canvas->SetClipRegion(R.get(), roSet, false, true);
  EXPECT_EQ(R->BoundsRect(), cxRect(11, 11, 15, 15));
  EXPECT_EQ(B.ClipBox(false), cxRect(1, 1, 5, 5));
  B.Canvas->SetClipRegion(Create<TcxRegion>(cxRect(13, 0, 30, 30)), roIntersect);
  EXPECT_EQ(B.ClipBox(true), cxRect(13, 11, 15, 15));
}

TEST_F(Canvas, FullyVisibleMeansEveryPixelOfTheRectangle) {
  TBitmapCanvas B(20, 20);
  B.Canvas->IntersectClipRect(cxRect(2, 2, 10, 10));
  struct {
    TRect R;
    bool Visible, FullyVisible;
  } Cases[] = {
      {cxRect(2, 2, 10, 10), true, true},  // exactly the clip
      {cxRect(3, 3, 9, 9), true, true},    {cxRect(2, 2, 11, 10), true, false},
      {cxRect(9, 9, 12, 12), true, false}, {cxRect(10, 10, 12, 12), false, false},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(B.Canvas->RectVisible(C.R), C.Visible) << C.R.left << "," << C.R.top;
    EXPECT_EQ(B.Canvas->RectFullyVisible(C.R), C.FullyVisible) << C.R.left << "," << C.R.top;
  }
}

TEST_F(Canvas, ExcludedFrameStripsAndRestoredState) {
  TBitmapCanvas B(12, 12);
  B.Canvas->ExcludeFrameRect(cxRect(0, 0, 12, 12), 2, TcxBorders{bLeft, bBottom});
  B.Canvas->FillRect(cxRect(0, 0, 12, 12), clBlack);
  EXPECT_EQ(Shape(B.Bitmap.get(), RGB(0, 0, 0)).substr(0, 13), "..##########\n");
  EXPECT_EQ(PixelOf(B.Bitmap.get(), 5, 10), RGB(255, 255, 255));

  TBitmapCanvas S(10, 10);
  S.Canvas->Font()->SetColor(clGreen);
  S.Canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  S.Canvas->Pen()->SetWidth(1);
  S.Canvas->SaveState();
  S.Canvas->Font()->SetColor(clRed);
  S.Canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  S.Canvas->Pen()->SetWidth(3);
  S.Canvas->IntersectClipRect(cxRect(0, 0, 2, 2));
  S.Canvas->SetWindowOrg(TPoint{4, 4});
  EXPECT_EQ(S.Canvas->Canvas()->LockCount(), 1);
  S.Canvas->RestoreState();
  EXPECT_EQ(S.Canvas->Font()->Color(), clGreen);
  EXPECT_EQ(S.Canvas->Brush()->Style(), TBrushStyle::bsSolid);
  EXPECT_EQ(S.Canvas->Pen()->Width(), 1);
  EXPECT_EQ(S.Canvas->WindowOrg(), (TPoint{0, 0}));
  EXPECT_TRUE(S.Canvas->RectFullyVisible(cxRect(0, 0, 10, 10)));
  EXPECT_EQ(S.Canvas->Canvas()->LockCount(), 0);
}

// Blocks in use on the heap that new and malloc take from. (The platform's
// count of GDI objects is a stub under Wine.)
size_t HeapBlocksInUse() {
  HANDLE Heap = reinterpret_cast<HANDLE>(_get_heap_handle());
  PROCESS_HEAP_ENTRY Entry{};
  size_t Busy = 0;
  HeapLock(Heap);
  while (HeapWalk(Heap, &Entry))
    if (Entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++Busy;
  HeapUnlock(Heap);
  return Busy;
}

TEST_F(Canvas, CanvasDestroyedWithSavesOutstandingFreesItsCopies) {
  TOwned<TcxBitmap32> B(FilledBitmap(4, 4, clWhite));
  TcxCanvas* C = Create<TcxCanvas>(B->Canvas());
  C->Font()->SetColor(clRed);  // the canvas objects exist before counting
  C->FillRect(cxRect(0, 0, 1, 1), clRed);
  size_t Before = HeapBlocksInUse();
  ASSERT_GT(Before, 0u);
  for (int I = 0; I < 20; ++I) {
    C->SaveClipRegion();
    C->SaveState();
    C->Font()->Handle();
  }
  EXPECT_GE(HeapBlocksInUse(), Before + 80);  // a region, font, brush and pen a save
  for (int I = 0; I < 20; ++I) C->Canvas()->Unlock();
  C->Free();
  // Without freeing, 20 regions and 20 font/brush/pen copies would stay.
  EXPECT_LT(HeapBlocksInUse(), Before + 10);
}

TEST_F(Canvas, ControlCanvasOriginIsRelativeToThePaint) {
  TOwned<TcxBitmap32> B(FilledBitmap(10, 10, clWhite));
  TOwned<TcxControlCanvas> C(Create<TcxControlCanvas>(B->Canvas()));
  HDC DC = B->Canvas()->Handle();
  SetWindowOrgEx(DC, 5, 7, nullptr);
  SetBrushOrgEx(DC, 1, 2, nullptr);
  C->BeginPaint();
  EXPECT_EQ(C->WindowOrg(), (TPoint{0, 0}));
  C->SetWindowOrg(TPoint{1, 1});
  POINT P;
  GetWindowOrgEx(DC, &P);
  EXPECT_EQ(P, (POINT{6, 8}));
  EXPECT_EQ(C->DCOrigin(), (TPoint{-6, -8}));
  C->EndPaint();
  GetBrushOrgEx(DC, &P);
  EXPECT_EQ(P, (POINT{1, 2}));
}

TEST_F(Canvas, PaintCanvasNestsAndTakesTheDCObjects) {
  TSurface S1(4, 4, RGB(255, 255, 255)), S2(4, 4, RGB(255, 255, 255));
  HPEN Dotted = CreatePen(PS_DOT, 1, RGB(0, 0, 255));
  HGDIOBJ Old = SelectObject(S2.DC(), Dotted);
  SetROP2(S2.DC(), R2_XORPEN);
  SetTextColor(S2.DC(), RGB(1, 2, 3));
  int Level1 = SaveDC(S1.DC()), Level2 = SaveDC(S2.DC());
  RestoreDC(S1.DC(), Level1);
  RestoreDC(S2.DC(), Level2);

  TcxPaintCanvas* P = cxPaintCanvas();
  P->BeginPaint(S1.DC());
  P->BeginPaint(S2.DC());
  EXPECT_EQ(P->Handle(), S2.DC());
  EXPECT_EQ(P->Pen()->Style(), TPenStyle::psDot);
  EXPECT_EQ(P->Pen()->Mode(), TPenMode::pmXor);
  EXPECT_EQ(P->Pen()->Color(), static_cast<TColor>(RGB(0, 0, 255)));
  EXPECT_EQ(P->Font()->Color(), static_cast<TColor>(RGB(1, 2, 3)));
  // While painted a DC holds the level of the paint and that of its state.
  EXPECT_EQ(SaveDC(S2.DC()), Level2 + 2);
  RestoreDC(S2.DC(), -1);
  P->EndPaint();
  EXPECT_EQ(P->Handle(), S1.DC());
  P->EndPaint();
  EXPECT_EQ(P->Canvas(), nullptr);
  EXPECT_EQ(P->PaintDepth(), 0);
  EXPECT_EQ(SaveDC(S1.DC()), Level1);
  EXPECT_EQ(SaveDC(S2.DC()), Level2);
  RestoreDC(S1.DC(), -1);
  RestoreDC(S2.DC(), -1);
  P->EndPaint();  // nothing open: nothing happens
  SelectObject(S2.DC(), Old);
  DeleteObject(Dotted);
}

TEST(SharedCanvases, NotMadeAgainDuringShutDown) {
  cxGraphics_Initialize();
  ASSERT_NE(cxScreenCanvas(), nullptr);
  EXPECT_GT(cxScreenCanvas()->DpiY(), 0);
  TOwned<TFont> Font(Create<TFont>());
  Integer Height = cxTextHeight(Font.get());
  TSize Extent = cxTextExtent(Font.get(), L"Zq");
  cxScreenCanvas()->Dormant();
  cxGraphics_Finalize();
  EXPECT_EQ(cxScreenCanvas(), nullptr);
  EXPECT_EQ(cxPaintCanvas(), nullptr);
  // Controls freed after the module still measure their text.
  EXPECT_EQ(cxTextHeight(Font.get()), Height);
  EXPECT_EQ(cxTextExtent(Font.get(), L"Zq"), Extent);
  EXPECT_EQ(cxScreenCanvas(), nullptr);
}

// ---------------------------------------------------------------------------
// Drawing
TEST_F(Canvas, FillRectTilesABitmapOnBothSidesOfTheOrigin) {
  // A 2 x 2 tile: red, green on top; blue, white below.
  TOwned<TcxBitmap> Tile(TcxBitmap::CreateSize(2, 2));
  Tile->Canvas()->SetPixel(0, 0, clRed);
  Tile->Canvas()->SetPixel(1, 0, clLime);
  Tile->Canvas()->SetPixel(0, 1, clBlue);
  Tile->Canvas()->SetPixel(1, 1, clWhite);
  TBitmapCanvas B(8, 8, clBlack);
  B.Canvas->SetWindowOrg(TPoint{-4, -4});  // logical (-4, -4) is the top-left pixel
  B.Canvas->FillRect(cxRect(-3, -3, 3, 3), Tile.get(), false);
  auto Expected = [](int LX, int LY) -> COLORREF {
    static const COLORREF T[2][2] = {{RGB(255, 0, 0), RGB(0, 255, 0)},
                                     {RGB(0, 0, 255), RGB(255, 255, 255)}};
    return T[((LY % 2) + 2) % 2][((LX % 2) + 2) % 2];
  };
  for (int Y = 0; Y < 8; ++Y)
    for (int X = 0; X < 8; ++X) {
      int LX = X - 4, LY = Y - 4;
      bool Inside = LX >= -3 && LX < 3 && LY >= -3 && LY < 3;
      EXPECT_EQ(PixelOf(B.Bitmap.get(), X, Y), Inside ? Expected(LX, LY) : RGB(0, 0, 0))
          << "logical " << LX << "," << LY;
    }
}

TEST_F(Canvas, FramesCoverTheirSidesAndNeverMoreThanTheRectangle) {
  struct {
    const char* Name;
    std::function<void(TcxCanvas*)> Draw;
    std::string Shape;
  } Cases[] = {
      {"frame 1 px all sides", [](TcxCanvas* C) { C->FrameRect(cxRect(1, 1, 5, 5), clBlack); },
       "......\n.####.\n.#..#.\n.#..#.\n.####.\n......\n"},
      {"frame wider than half is clamped",
       [](TcxCanvas* C) { C->FrameRect(cxRect(1, 1, 5, 4), clBlack, 5); },
       "......\n.####.\n.####.\n.####.\n......\n......\n"},
      {"left and bottom",
       [](TcxCanvas* C) {
         C->FrameRect(cxRect(0, 0, 6, 6), clBlack, 1, TcxBorders{bLeft, bBottom});
       },
       "#.....\n#.....\n#.....\n#.....\n#.....\n######\n"},
      {"none colour draws nothing",
       [](TcxCanvas* C) { C->FrameRect(cxRect(0, 0, 6, 6), clNone, 2); },
       "......\n......\n......\n......\n......\n......\n"},
  };
  for (const auto& C : Cases) {
    TBitmapCanvas B(6, 6);
    C.Draw(B.Canvas);
    EXPECT_EQ(Shape(B.Bitmap.get(), RGB(0, 0, 0)), C.Shape) << C.Name;
  }
}

TEST_F(Canvas, ComplexFrameAndEdgesTakeTheirColours) {
  TBitmapCanvas B(10, 10);
  B.Canvas->DrawComplexFrame(cxRect(0, 0, 10, 10), clRed, clBlue);
  EXPECT_EQ(PixelOf(B.Bitmap.get(), 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(B.Bitmap.get(), 9, 0), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(B.Bitmap.get(), 0, 9), RGB(0, 0, 255));
  EXPECT_EQ(PixelOf(B.Bitmap.get(), 5, 5), RGB(255, 255, 255));

  TInjectedSysColors Sys({{COLOR_BTNSHADOW, RGB(1, 1, 1)},
                          {COLOR_BTNHIGHLIGHT, RGB(2, 2, 2)},
                          {COLOR_3DDKSHADOW, RGB(3, 3, 3)},
                          {COLOR_3DLIGHT, RGB(4, 4, 4)}});
  struct {
    bool Sunken, Outer;
    COLORREF LeftTop, RightBottom;
  } Cases[] = {
      {true, true, RGB(1, 1, 1), RGB(2, 2, 2)},
      {true, false, RGB(3, 3, 3), RGB(4, 4, 4)},
      {false, true, RGB(4, 4, 4), RGB(3, 3, 3)},
      {false, false, RGB(2, 2, 2), RGB(1, 1, 1)},
  };
  for (const auto& C : Cases) {
    TBitmapCanvas E(6, 6);
    E.Canvas->DrawEdge(cxRect(0, 0, 6, 6), C.Sunken, C.Outer);
    EXPECT_EQ(PixelOf(E.Bitmap.get(), 0, 2), C.LeftTop) << C.Sunken << C.Outer;
    EXPECT_EQ(PixelOf(E.Bitmap.get(), 2, 0), C.LeftTop) << C.Sunken << C.Outer;
    EXPECT_EQ(PixelOf(E.Bitmap.get(), 5, 2), C.RightBottom) << C.Sunken << C.Outer;
    EXPECT_EQ(PixelOf(E.Bitmap.get(), 2, 5), C.RightBottom) << C.Sunken << C.Outer;
  }
}

TEST_F(Canvas, PieByAngles) {
  struct {
    TRect R;
    int Start, Sweep;
    bool Draws;
  } Cases[] = {
      {cxRect(0, 0, 20, 20), 0, 360, true},
      {cxRect(0, 0, 4, 4), 0, 1, false},  // both points round to one pixel
      {cxRect(0, 0, 20, 20), 0, 0, false},
      {cxRect(0, 0, 0, 20), 0, 90, false},
      {cxRect(0, 0, 20, 20), 0, 90, true},
  };
  for (const auto& C : Cases) {
    TBitmapCanvas B(20, 20);
    B.Canvas->Brush()->SetColor(clBlack);
    B.Canvas->Pen()->SetColor(clBlack);
    B.Canvas->Pie(C.R, C.Start, C.Sweep);
    std::string S = Shape(B.Bitmap.get(), RGB(0, 0, 0));
    bool Drawn = S.find('#') != std::string::npos;
    EXPECT_EQ(Drawn, C.Draws) << C.Start << " " << C.Sweep;
    if (C.Sweep == 90 && Drawn) {
      // The first quadrant (up and right of the centre) only.
      EXPECT_EQ(PixelOf(B.Bitmap.get(), 14, 5), RGB(0, 0, 0));
      EXPECT_EQ(PixelOf(B.Bitmap.get(), 5, 14), RGB(255, 255, 255));
      EXPECT_EQ(PixelOf(B.Bitmap.get(), 5, 5), RGB(255, 255, 255));
    }
    if (C.Sweep == 360) {
      EXPECT_EQ(PixelOf(B.Bitmap.get(), 5, 14), RGB(0, 0, 0));
      EXPECT_EQ(PixelOf(B.Bitmap.get(), 0, 0), RGB(255, 255, 255));
    }
  }
}

TEST_F(Canvas, InvertFrameTwiceRestoresThePixels) {
  TBitmapCanvas B(8, 8);
  for (int I = 0; I < 8; ++I) B.Canvas->SetPixel(I, I, static_cast<TColor>(RGB(I * 30, 7, 200)));
  TRGBColors Before, Once, After;
  GetBitmapBits(B.Bitmap.get(), Before, true);
  B.Canvas->InvertFrame(cxRect(1, 1, 7, 7), 2);
  GetBitmapBits(B.Bitmap.get(), Once, true);
  // Every frame pixel inverted exactly once; the centre untouched.
  EXPECT_EQ(PixelOf(B.Bitmap.get(), 1, 1), RGB(255 - 30, 255 - 7, 255 - 200));
  EXPECT_EQ(PixelOf(B.Bitmap.get(), 2, 6), RGB(0, 0, 0));
  EXPECT_EQ(PixelOf(B.Bitmap.get(), 3, 3), RGB(90, 7, 200));
  B.Canvas->InvertFrame(cxRect(1, 1, 7, 7), 2);
  GetBitmapBits(B.Bitmap.get(), After, true);
  for (size_t I = 0; I < Before.size(); ++I)
    EXPECT_EQ(RGB(Before[I].rgbRed, Before[I].rgbGreen, Before[I].rgbBlue),
              RGB(After[I].rgbRed, After[I].rgbGreen, After[I].rgbBlue))
        << I;
}

TEST_F(Canvas, TransparentDrawMixesByConstantAlphaOnBothRoads) {
  TOwned<TcxBitmap> Source(TcxBitmap::CreateSize(3, 3));
  Source->cxCanvas()->FillRect(Source->ClientRect(), static_cast<TColor>(RGB(200, 100, 0)));
  struct {
    Byte Alpha;
    COLORREF Expected;
  } Cases[] = {
      {0, RGB(20, 40, 60)},
      {128, RGB(MulDiv(20, 127, 255) + MulDiv(200, 128, 255), MulDiv(40, 127, 255) + 50,
                MulDiv(60, 127, 255))},
      {255, RGB(200, 100, 0)},
  };
  for (bool System : {true, false}) {
    if (!System) cxGraphicsPlatform().AlphaBlend = nullptr;
    for (const auto& C : Cases) {
      TBitmapCanvas B(5, 5, static_cast<TColor>(RGB(20, 40, 60)));
      B.Canvas->TransparentDraw(1, 1, Source.get(), C.Alpha);
      COLORREF P = PixelOf(B.Bitmap.get(), 2, 2);
      // The system blend may round one step differently.
      EXPECT_NEAR(GetRValue(P), GetRValue(C.Expected), System ? 1 : 0) << int(C.Alpha);
      EXPECT_NEAR(GetGValue(P), GetGValue(C.Expected), System ? 1 : 0) << int(C.Alpha);
      EXPECT_NEAR(GetBValue(P), GetBValue(C.Expected), System ? 1 : 0) << int(C.Alpha);
      EXPECT_EQ(PixelOf(B.Bitmap.get(), 0, 0), RGB(20, 40, 60));
    }
  }
}

TEST_F(Canvas, RotationAndMirrorTables) {
  // 3 x 2 source with distinct pixels: value = 10 * row + column + 1.
  auto Make = [] {
    TOwned<TcxBitmap> B(TcxBitmap::CreateSize(3, 2, TPixelFormat::pf32bit));
    for (int Y = 0; Y < 2; ++Y)
      for (int X = 0; X < 3; ++X) B->Canvas()->SetPixel(X, Y, static_cast<TColor>(10 * Y + X + 1));
    return B;
  };
  auto Values = [](TBitmap* B) {
    std::vector<int> V;
    for (int Y = 0; Y < B->Height(); ++Y)
      for (int X = 0; X < B->Width(); ++X) V.push_back(static_cast<int>(PixelOf(B, X, Y)));
    return V;
  };
  struct {
    TcxRotationAngle Angle;
    bool Flip;
    int W, H;
    std::vector<int> Expected;
  } Cases[] = {
      {ra0, true, 3, 2, {11, 12, 13, 1, 2, 3}},
      {raPlus90, false, 2, 3, {3, 13, 2, 12, 1, 11}},  // a quarter turn counter-clockwise
      {raPlus90, true, 2, 3, {1, 11, 2, 12, 3, 13}},
      {raMinus90, false, 2, 3, {11, 1, 12, 2, 13, 3}},
      {raMinus90, true, 2, 3, {13, 3, 12, 2, 11, 1}},
      {ra180, false, 3, 2, {13, 12, 11, 3, 2, 1}},
      {ra180, true, 3, 2, {3, 2, 1, 13, 12, 11}},
      {ra0, false, 3, 2, {1, 2, 3, 11, 12, 13}},
  };
  for (const auto& C : Cases) {
    auto B = Make();
    B->Rotate(C.Angle, C.Flip);
    EXPECT_EQ(B->Width(), C.W) << C.Angle << C.Flip;
    EXPECT_EQ(Values(B.get()), C.Expected) << C.Angle << C.Flip;
  }
  auto B = Make();
  B->cxCanvas()->FlipHorizontally(B.get());
  EXPECT_EQ(Values(B.get()), (std::vector<int>{3, 2, 1, 13, 12, 11}));
}

TEST_F(Canvas, FlipKeepsTheAlphaOfA32BitBitmap) {
  TOwned<TcxBitmap32> B(TcxBitmap32::CreateSize(2, 2));
  TRGBColors P = {{1, 2, 3, 40}, {4, 5, 6, 50}, {7, 8, 9, 60}, {10, 11, 12, 70}};
  SetBitmapBits(B.get(), P, true);
  B->Flip(true, true);
  TRGBColors R;
  GetBitmapBits(B.get(), R, true);
  EXPECT_EQ(R[0].rgbReserved, 70);
  EXPECT_EQ(R[0].rgbBlue, 10);
  EXPECT_EQ(R[3].rgbReserved, 40);
  EXPECT_EQ(R[1].rgbReserved, 60);
}

TEST_F(Canvas, GlyphWithTransparentColourShowsTheBrush) {
  TOwned<TcxBitmap> Glyph(TcxBitmap::CreateSize(3, 3));
  Glyph->cxCanvas()->FillRect(Glyph->ClientRect(), clFuchsia);
  Glyph->Canvas()->SetPixel(1, 1, clBlack);
  for (TColor Back : {clNone, clYellow}) {
    TBitmapCanvas B(5, 5, clBlue);
    B.Canvas->DrawGlyph(1, 1, Glyph.get(), true, Back);
    EXPECT_EQ(PixelOf(B.Bitmap.get(), 2, 2), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(B.Bitmap.get(), 1, 1), Back == clNone ? RGB(0, 0, 255) : RGB(255, 255, 0));
    EXPECT_EQ(B.Canvas->Brush()->Style(), TBrushStyle::bsSolid);
  }
}

}  // namespace
