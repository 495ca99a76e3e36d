#include <gtest/gtest.h>

#include <cstring>

#include "GdiPlusTestSupport.h"
#include "GraphicsTestSupport.h"

namespace {

constexpr TdxAlphaColor Argb(Cardinal V) { return TdxAlphaColor(V); }

TEST(GpMatrix, PointTransformsAgreeWithGdiPlus) {
  REQUIRE_GDIPLUS();
  struct {
    Single E[6];
  } Matrices[] = {{{1, 0, 0, 1, 0, 0}},
                  {{2, 0.5f, -0.25f, 3, 10, -4}},
                  {{0, 1, -1, 0, 7, 7}},
                  {{-1.5f, 0.1f, 0.2f, 0.75f, -3, 2.5f}}};
  const TdxPointF Points[] = {{0, 0}, {1, 2}, {-3.5f, 4.25f}, {100, -7}};
  for (const auto& M : Matrices) {
    TOwned<TdxGPMatrix> Matrix(
        TdxGPMatrix::CreateEx(M.E[0], M.E[1], M.E[2], M.E[3], M.E[4], M.E[5]));
    for (const TdxPointF& P : Points) {
      Gdiplus::GpPointF G(P.X, P.Y);
      GdipCheck(GdipTransformMatrixPoints(Matrix->NativeHandle(), &G, 1));
      TdxPointF R = Matrix->TransformPoint(P);
      EXPECT_NEAR(R.X, G.X, 1E-3) << M.E[0] << " " << P.X;
      EXPECT_NEAR(R.Y, G.Y, 1E-3) << M.E[0] << " " << P.Y;
    }
  }
}

TEST(GpMatrix, RotationsFlipsAndScalings) {
  REQUIRE_GDIPLUS();
  TOwned<TdxGPMatrix> M(Create<TdxGPMatrix>());
  EXPECT_TRUE(M->IsIdentity());
  EXPECT_TRUE(M->IsInvertible());
  M->Translate(5, 1);
  TdxPointF Pivot{3, 4};
  M->Rotate(90, Pivot, MatrixOrderAppend);
  TdxPointF Before = TdxPointF{-2, 3};  // moves onto the pivot by the translation
  TdxPointF R = M->TransformPoint(Before);
  EXPECT_NEAR(R.X, 3, 1E-4);
  EXPECT_NEAR(R.Y, 4, 1E-4);
  TOwned<TdxGPMatrix> Flip(TdxGPMatrix::CreateFlip(true, false, 10, 0));
  EXPECT_EQ(Flip->TransformPoint(TPoint{3, 6}), (TPoint{17, 6}));
  TOwned<TdxGPMatrix> Scale(TdxGPMatrix::CreateEx(1.5f, 0, 0, 1.5f, 0, 0));
  EXPECT_EQ(Scale->TransformPoint(TPoint{1, 1}), (TPoint{2, 2}));  // 1.5 to the even 2
  Scale->SetElements(1.6f, 0, 0, 1.6f, 0, 0);
  EXPECT_EQ(Scale->TransformPoint(TPoint{1, 1}), (TPoint{2, 2}));
  Scale->Scale(TdxPointF{2, 3}, TdxPointF{10, 10});  // replaces: about (10, 10)
  EXPECT_EQ(Scale->TransformPoint(TPoint{10, 10}), (TPoint{10, 10}));
  EXPECT_EQ(Scale->TransformPoint(TPoint{11, 11}), (TPoint{12, 13}));
  TOwned<TdxGPMatrix> Rot(Create<TdxGPMatrix>());
  Rot->Rotate(90);
  TdxRectF Box = Rot->GetBoundingRectangle(TdxRectF{0, 0, 2, 1});
  EXPECT_NEAR(Box.Left, -1, 1E-4);
  EXPECT_NEAR(Box.Right, 0, 1E-4);
  EXPECT_NEAR(Box.Bottom, 2, 1E-4);
  TdxRectF Corners = Rot->TransformRect(TdxRectF{0, 0, 2, 1});
  EXPECT_NEAR(Corners.Left, 0, 1E-4);
  EXPECT_NEAR(Corners.Right, -1, 1E-4);  // unnormalised
  TOwned<TdxGPMatrix> Copy(Rot->Clone());
  EXPECT_NEAR(Copy->TransformPoint(TdxPointF{1, 0}).Y, 1, 1E-4);
  EXPECT_EQ(TdxGPMatrix::Clone(nullptr), nullptr);
  std::vector<TPoint> Pts{{1, 0}, {0, 1}};
  Rot->TransformPoints(Pts);
  EXPECT_EQ(Pts[0], (TPoint{0, 1}));
  EXPECT_EQ(Pts[1], (TPoint{-1, 0}));
  Rot->TransformPointsI(Pts.data(), 0);
  EXPECT_EQ(Pts[0], (TPoint{0, 1}));
}

TEST(GpGradientPoints, StopsStaySortedAndReachBothEnds) {
  REQUIRE_GDIPLUS();
  TOwned<TdxGPBrushGradientPoints> P(Create<TdxGPBrushGradientPoints>());
  EXPECT_EQ(P->Add(Argb(0xFF0000FF), 0.8f), 0);
  EXPECT_EQ(P->Add(Argb(0xFFFF0000), 0.2f), 1);
  EXPECT_EQ(P->Add(Argb(0xFF00FF00), 0.5f), 2);
  EXPECT_FLOAT_EQ(P->GetOffset(0), 0.2f);
  EXPECT_FLOAT_EQ(P->GetOffset(1), 0.5f);
  EXPECT_FLOAT_EQ(P->GetOffset(2), 0.8f);
  EXPECT_EQ(P->GetColor(0), Argb(0xFFFF0000));
  TdxAlphaColor* Colors;
  Single* Offsets;
  Integer Count;
  P->CalculateParams(Colors, Offsets, Count);
  ASSERT_EQ(Count, 5);
  const Single ExpectedOffsets[] = {0, 0.2f, 0.5f, 0.8f, 1};
  const Cardinal ExpectedColors[] = {0, 0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0};
  for (Integer I = 0; I < 5; ++I) {
    EXPECT_FLOAT_EQ(Offsets[I], ExpectedOffsets[I]) << I;
    EXPECT_EQ(dxAlphaColorValue(Colors[I]), ExpectedColors[I]) << I;
  }
  TOwned<TdxGPBrushGradientPoints> Two(Create<TdxGPBrushGradientPoints>());
  Two->Add(Argb(0xFFFF0000), 0.2f);
  Two->Add(Argb(0xFF0000FF), 1.0f);
  Two->InvertOrder();
  EXPECT_FLOAT_EQ(Two->GetOffset(0), 0.0f);
  EXPECT_EQ(Two->GetColor(0), Argb(0xFF0000FF));
  EXPECT_FLOAT_EQ(Two->GetOffset(1), 0.8f);
  EXPECT_EQ(Two->GetColor(1), Argb(0xFFFF0000));
  Two->CalculateParams(Colors, Offsets, Count);
  EXPECT_EQ(Count, 3);  // an end stop only on the uncovered side
  try {
    Two->GetColor(2);
    ADD_FAILURE();
  } catch (const Exception& E) {
    EXPECT_EQ(E.Message(), L"List index out of bounds (2)");
  }
  EXPECT_THROW(Two->SetOffset(-1, 0), Exception);
}

TEST(GpGradientPoints, CapacityGrowsInSteps) {
  REQUIRE_GDIPLUS();
  TOwned<TdxGPBrushGradientPoints> P(Create<TdxGPBrushGradientPoints>());
  const std::pair<Integer, Integer> Steps[] = {{1, 16}, {16, 16}, {17, 32}, {32, 32}, {33, 64}};
  Integer Added = 0;
  for (auto [Stops, Capacity] : Steps) {
    while (Added < Stops) P->Add(dxacNone, Added++ / 100.0f);
    EXPECT_EQ(P->Capacity(), Capacity) << Stops;
  }
  P->SetCapacity(5);
  EXPECT_EQ(P->Count(), 5);
  P->Clear();
  EXPECT_EQ(P->Count(), 0);
}

TEST(GpBrush, TargetRectangleIsStoredOneUnitLarger) {
  REQUIRE_GDIPLUS();
  TOwned<TdxGPBrush> B(Create<TdxGPBrush>());
  Integer Changes = 0;
  struct TCounter {
    Integer* N;
    void Changed(TObject*) { ++*N; }
  } Counter{&Changes};
  B->OnChange = MakeEvent<&TCounter::Changed>(&Counter);
  B->GradientPoints()->Add(Argb(0xFFFF0000), 0);
  B->GradientPoints()->Add(Argb(0xFF0000FF), 1);
  B->SetStyle(gpbsGradient);
  B->SetTargetRect(TRect{10, 10, 110, 30});
  EXPECT_TRUE(dxGpRectIsEqual(B->TargetRect(), TdxGpRectF(9, 9, 102, 22)));
  B->HandleNeeded();
  Integer Before = Changes;
  B->SetTargetRect(TRect{10, 10, 110, 30});
  EXPECT_TRUE(B->HandleAllocated());
  EXPECT_EQ(Changes, Before);
  B->SetTargetRect(TRect{0, 0, 5, 5});
  EXPECT_FALSE(B->HandleAllocated());  // a gradient is made again for a new area
  TOwned<TdxGPBrush> Copy(Create<TdxGPBrush>());
  Copy->Assign(B.get());
  EXPECT_TRUE(dxGpRectIsEqual(Copy->TargetRect(), B->TargetRect()));
  EXPECT_EQ(Copy->Style(), gpbsGradient);
  EXPECT_EQ(Copy->GradientPoints()->Count(), 2);
  struct {
    TdxGPBrushStyle Style;
    bool Empty;
  } Empties[] = {{gpbsSolid, true}, {gpbsGradient, true}, {gpbsTexture, true}, {gpbsClear, true}};
  for (const auto& E : Empties) {
    TOwned<TdxGPBrush> N(Create<TdxGPBrush>());
    N->SetStyle(E.Style);
    EXPECT_EQ(N->IsEmpty(), E.Empty) << E.Style;
  }
}

TEST(GpBrush, GradientWithoutAreaPaintsNothingAndStopsFadeAtTheEnds) {
  REQUIRE_GDIPLUS();
  TGpSurface S(20, 4);
  TOwned<TdxGPBrush> B(Create<TdxGPBrush>());
  B->SetStyle(gpbsGradient);
  B->GradientPoints()->Add(Argb(0xFFFF0000), 0.4f);
  B->GradientPoints()->Add(Argb(0xFFFF0000), 0.6f);
  GdipCheck(GdipFillRectangleI(S.Canvas()->Handle(), B->NativeHandle(), 0, 0, 20, 4));
  EXPECT_EQ(S.Count(0), 80);  // no target area: transparent
  S.Canvas()->FillRectangle(TRect{0, 0, 20, 4}, B.get());
  // Red in the middle; the ends fade to transparent black.
  EXPECT_EQ(S.Pixel(10, 1), 0xFFFF0000u);
  EXPECT_LT(S.Pixel(0, 1) >> 24, 0x40u);
  EXPECT_LT(S.Pixel(19, 1) >> 24, 0x40u);
}

TEST(GpPen, DashedPenDrawsNineAndFourTimesItsWidth) {
  REQUIRE_GDIPLUS();
  TGpSurface S(80, 6);
  TOwned<TdxGPPen> P(Create<TdxGPPen>(Argb(0xFF0000FF), 2.0f, gppsDash));
  EXPECT_EQ(P->Style(), gppsDashDotDot);
  S.Canvas()->Line(0, 3, 80, 3, P.get());
  auto Runs = S.Runs(3, 0xFF0000FF);
  ASSERT_GE(Runs.size(), 3u);
  for (size_t I = 0; I + 1 < Runs.size(); ++I) {
    EXPECT_EQ(Runs[I].second, 18) << I;
    EXPECT_EQ(Runs[I + 1].first - (Runs[I].first + Runs[I].second), 8) << I;
  }
  // Back to the platform's own dash pattern.
  P->SetStyle(gppsDash);
  EXPECT_EQ(P->Style(), gppsDash);
  Gdiplus::DashStyle D;
  GdipGetPenDashStyle(P->NativeHandle(), &D);
  EXPECT_EQ(D, DashStyleDash);
}

TEST(GpPen, SettersAndCopies) {
  REQUIRE_GDIPLUS();
  TOwned<TdxGPPen> P(Create<TdxGPPen>(Argb(0xFF102030)));
  EXPECT_FLOAT_EQ(P->Width(), 1);
  EXPECT_FLOAT_EQ(P->MiterLimit(), 10);
  EXPECT_FALSE(P->IsEmpty());
  P->SetWidth(-3);
  EXPECT_FLOAT_EQ(P->Width(), 0);
  EXPECT_TRUE(P->IsEmpty());
  P->SetWidth(3);
  P->SetLineJoin(LineJoinRound);
  P->SetMiterLimit(4);
  P->SetLineStartCapStyle(gpcsRound);
  P->HandleNeeded();
  Gdiplus::LineJoin J;
  GdipGetPenLineJoin(P->NativeHandle(), &J);
  EXPECT_EQ(J, LineJoinRound);
  TOwned<TdxGPPen> Copy(Create<TdxGPPen>());
  Copy->Assign(P.get());
  EXPECT_FLOAT_EQ(Copy->Width(), 3);
  EXPECT_EQ(Copy->LineStartCapStyle(), gpcsRound);
  EXPECT_EQ(Copy->Brush()->Color(), Argb(0xFF102030));
  // A copy draws joins as the original does.
  EXPECT_EQ(Copy->LineJoin(), LineJoinRound);
  EXPECT_FLOAT_EQ(Copy->MiterLimit(), 4);
  TOwned<TdxGPPen> Clear(Create<TdxGPPen>());
  EXPECT_TRUE(Clear->IsEmpty());  // colour 0
}

TEST(GpRoutines, TemporaryBrushesPensAndStyles) {
  REQUIRE_GDIPLUS();
  GpPen* Pen = reinterpret_cast<GpPen*>(1);
  EXPECT_FALSE(dxGpCreatePen(Pen, clRed, 1, TPenStyle::psClear));
  EXPECT_FALSE(dxGpCreatePen(Pen, clNone, 1, TPenStyle::psSolid));
  EXPECT_FALSE(dxGpCreatePen(Pen, clRed, 0, TPenStyle::psSolid));
  EXPECT_EQ(Pen, reinterpret_cast<GpPen*>(1));
  ASSERT_TRUE(dxGpCreatePen(Pen, clRed, 2, TPenStyle::psDot, 128));
  Gdiplus::DashStyle D;
  GdipGetPenDashStyle(Pen, &D);
  EXPECT_EQ(D, DashStyleDot);
  ARGB C;
  GdipGetPenColor(Pen, &C);
  EXPECT_EQ(C, 0x80FF0000u);
  GdipDeletePen(Pen);
  GpBrush* Brush = nullptr;
  EXPECT_FALSE(dxGpCreateBrush(Brush, clNone));
  EXPECT_EQ(Brush, nullptr);
  EXPECT_EQ(dxFontStylesToGpFontStyles(TFontStyles{TFontStyle::fsBold, TFontStyle::fsUnderline}),
            5);
  EXPECT_EQ(dxGpGetAlphaBlendAttributes(255), nullptr);
  TdxGPAlphaBlendAttributes* A = dxGpGetAlphaBlendAttributes(128);
  ASSERT_NE(A, nullptr);
  EXPECT_EQ(A->Alpha(), 128);
  EXPECT_EQ(dxGpGetAlphaBlendAttributes(64), A);  // one shared object
  EXPECT_EQ(A->Alpha(), 64);
}

TEST(GpPath, RoundRectanglesBoundsAndHits) {
  REQUIRE_GDIPLUS();
  TOwned<TdxGPPath> P(Create<TdxGPPath>());
  EXPECT_EQ(P->FillMode(), gpfmAlternate);
  P->SetFillMode(gpfmWinding);
  EXPECT_EQ(P->FillMode(), gpfmWinding);
  P->AddRect(TRect{10, 20, 40, 60});
  EXPECT_EQ(P->GetBounds(), (TRect{10, 20, 40, 60}));
  EXPECT_FALSE(P->IsPointInPathOutline(TPoint{10, 30}, 0));
  EXPECT_TRUE(P->IsPointInPathOutline(TPoint{10, 30}, 3));
  EXPECT_TRUE(P->IsPointInPath(TPoint{20, 30}));
  // Radii at most a third of each side: 10 and 4 here.
  TGpSurface S(32, 14);
  S.Canvas()->RoundRect(TRect{0, 0, 31, 13}, Argb(0xFF0000FF), Argb(0xFF0000FF), 20, 20, 1);
  EXPECT_EQ(S.Pixel(0, 0), 0u);
  EXPECT_EQ(S.Pixel(15, 0), 0xFF0000FFu);
  EXPECT_EQ(S.Pixel(0, 6), 0xFF0000FFu);
  EXPECT_EQ(S.Pixel(4, 0), 0u);  // inside the 10-wide corner
  TOwned<TdxGPPath> Plain(Create<TdxGPPath>());
  Plain->AddRoundRect(TdxRectF{0, 0, 30, 12}, 0, 5);
  EXPECT_EQ(Plain->GetPointCount(), 4);  // a plain closed rectangle
}

TEST(GpFont, NamesStylesAndSizes) {
  REQUIRE_GDIPLUS();
  TOwned<TdxGPFontFamily> Missing(Create<TdxGPFontFamily>(L"No Such Family Anywhere"));
  EXPECT_EQ(Missing->Handle(), nullptr);
  EXPECT_THROW(TdxGPFont(L"No Such Family Anywhere", 10), EdxGdipException);
  TOwned<TdxGPFont> Safe(TdxGPFont::SafeCreate(L"No Such Family Anywhere", 10));
  EXPECT_NE(Safe->NativeFont(), nullptr);
  TOwned<TdxGPFont> Vertical(Create<TdxGPFont>(L"@Tahoma", 10.0f));
  EXPECT_TRUE(Vertical->GdiVerticalFont());
  EXPECT_EQ(Vertical->OriginalFontName(), L"@Tahoma");
  EXPECT_EQ(Vertical->Name(), L"Tahoma");
  LOGFONTW L{};
  Vertical->ToLogFont(L);
  EXPECT_EQ(String(L.lfFaceName), L"@Tahoma");
  struct {
    Integer Style;
    bool Bold, Italic, Underline, Strikeout;
  } Styles[] = {{2, false, true, false, false}, {9, true, false, false, true}};
  for (const auto& St : Styles) {
    TOwned<TdxGPFont> F(Create<TdxGPFont>(L"Tahoma", 10.0f, St.Style));
    EXPECT_EQ(F->Bold(), St.Bold);
    EXPECT_EQ(F->Italic(), St.Italic);
    EXPECT_EQ(F->Underline(), St.Underline);
    EXPECT_EQ(F->Strikeout(), St.Strikeout);
  }
  TOwned<TdxGPFont> Points(Create<TdxGPFont>(L"Tahoma", 10.0f));
  EXPECT_FLOAT_EQ(Points->SizeInPoints(), 10);
  EXPECT_EQ(TdxGPFont::StripVerticalName(L"@"), L"@");
  EXPECT_FALSE(TdxGPFont::IsVerticalName(L""));
  EXPECT_THROW(TdxGPFont(L"Tahoma", 0.0f), EdxGdipException);
  EXPECT_THROW(Points->GetHeight(static_cast<TdxGPCanvas*>(nullptr)), EdxGdipException);
  TOwned<TdxGPFont> Clone(Points->Clone());
  EXPECT_EQ(Clone->GetHashCode(), Points->GetHashCode());
  HFONT H = Points->ToHfont();
  EXPECT_NE(H, nullptr);
  TOwned<TdxGPFont> Back(TdxGPFont::FromHFont(H));
  EXPECT_EQ(Back->Name(), L"Tahoma");
  DeleteObject(H);
}

TEST(GpMemoryStream, KeepsItsBytesThroughReallocation) {
  REQUIRE_GDIPLUS();
  TOwned<TdxGPMemoryStream> S(Create<TdxGPMemoryStream>());
  std::vector<Byte> Data(5000);
  for (size_t I = 0; I < Data.size(); ++I) Data[I] = static_cast<Byte>(I * 7);
  for (size_t I = 0; I < Data.size(); I += 100) S->WriteBuffer(&Data[I], 100);  // grows many times
  ASSERT_EQ(S->Size(), 5000);
  EXPECT_EQ(std::memcmp(S->Memory(), Data.data(), Data.size()), 0);
  EXPECT_EQ(S->Capacity(), 5000);  // exactly what was asked for
  S->SetSize(0);
  EXPECT_EQ(S->Memory(), nullptr);
  EXPECT_EQ(S->Capacity(), 0);
  TOwned<TdxSmartImageDataStream> Clone(S->Clone());
  EXPECT_EQ(Clone->ClassType(), TdxGPMemoryStream::StaticClass());
}

}  // namespace
