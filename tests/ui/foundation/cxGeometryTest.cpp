#include <gtest/gtest.h>

#include "cxGeometry.h"

namespace {

::testing::AssertionResult RectIs(const TRect& R, Integer L, Integer T, Integer Rt, Integer B) {
  if (R == cxRect(L, T, Rt, B)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "(" << R.left << "," << R.top << "," << R.right << "," << R.bottom << ")";
}

TEST(GeometryRoutines, RectCenter) {
  struct {
    TRect Bounds;
    Integer W, H;
    TRect Expected;
  } Cases[] = {
      {{0, 0, 15, 15}, 10, 10, {2, 2, 12, 12}},    // odd leftover goes right/bottom
      {{0, 0, 10, 10}, 13, 13, {-2, -2, 11, 11}},  // larger sticks out more on the left
      {{-3, -3, 0, 0}, 0, 0, {-2, -2, -2, -2}},    // halves round towards minus infinity
      {{10, 20, 30, 40}, 4, 6, {18, 27, 22, 33}},
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(cxRectCenter(C.Bounds, C.W, C.H), C.Expected);
    EXPECT_EQ(cxRectCenter(C.Bounds, cxSize(C.W, C.H)), C.Expected);
  }
}

TEST(GeometryRoutines, IntersectUnionPtIn) {
  TRect R = cxRect(1, 1, 1, 1);
  EXPECT_FALSE(cxRectIntersect(R, cxRect(0, 0, 10, 10), cxRect(10, 0, 20, 10)));
  EXPECT_TRUE(RectIs(R, 0, 0, 0, 0));
  R = cxRect(0, 0, 10, 10);
  EXPECT_TRUE(cxRectIntersect(R, R, cxRect(5, -5, 20, 5)));  // R aliases R1
  EXPECT_TRUE(RectIs(R, 5, 0, 10, 5));

  EXPECT_TRUE(RectIs(cxRectUnion(cxRect(0, 0, 0, 0), cxRect(5, 5, 10, 10)), 0, 0, 10, 10));
  EXPECT_TRUE(RectIs(cxRectUnion(cxRect(5, 5, 10, 10), cxRect(0, 0, 0, 5)), 5, 5, 10, 10));

  struct {
    Integer X, Y;
    bool In;
  } Points[] = {{0, 0, true}, {9, 9, true}, {10, 5, false}, {5, 10, false}, {-1, 0, false}};
  for (const auto& P : Points) EXPECT_EQ(cxRectPtIn(cxRect(0, 0, 10, 10), P.X, P.Y), P.In);
}

TEST(GeometryRoutines, SmallRectRoutines) {
  TRect R = cxRect(10, 20, 30, 50);
  EXPECT_TRUE(RectIs(cxRectInflate(R, 1, 2), 9, 18, 31, 52));
  EXPECT_TRUE(RectIs(cxRectInflate(R, 1, 2, 3, 4), 9, 18, 33, 54));
  EXPECT_TRUE(RectIs(cxRectContent(R, cxRect(1, 2, 3, 4)), 11, 22, 27, 46));
  EXPECT_TRUE(RectIs(cxRectOffset(R, 5, -5), 15, 15, 35, 45));
  EXPECT_TRUE(RectIs(cxRectOffset(R, 5, -5, false), 5, 25, 25, 55));
  EXPECT_TRUE(RectIs(cxRectSetLeft(R, 0), 0, 20, 20, 50));
  EXPECT_TRUE(RectIs(cxRectSetLeft(R, 0, 7), 0, 20, 7, 50));
  EXPECT_TRUE(RectIs(cxRectSetTop(R, 0, 7), 10, 0, 30, 7));
  EXPECT_EQ(cxRectWidth(R), 20);
  EXPECT_EQ(cxRect(cxPoint(1, 2), cxPoint(3, 4)), cxRect(1, 2, 3, 4));
  EXPECT_EQ(cxEmptyRect, cxNullRect);
}

TEST(GeometryRoutines, RectScaleUsesMulDiv) {
  EXPECT_TRUE(RectIs(cxRectScale(cxRect(1, 1, 3, 3), 3, 2), 2, 2, 5, 5));
  EXPECT_TRUE(RectIs(cxRectScale(cxRect(-1, -1, 3, 3), 3, 2), -2, -2, 5, 5));
  EXPECT_TRUE(RectIs(cxRectScale(cxRect(1, 2, 3, 4), 2, 1, 1, 2), 2, 1, 6, 2));
  EXPECT_TRUE(RectIs(cxRectScale(cxRect(1, 1, 3, 3), 3, 0), -1, -1, -1, -1));
}

TEST(GeometryRoutines, PointsBoxAndStretch) {
  EXPECT_TRUE(RectIs(cxPointsBox({cxPoint(3, 4)}), 3, 4, 3, 4));
  EXPECT_TRUE(RectIs(cxPointsBox(static_cast<const TPoint*>(nullptr), 0), 0, 0, 0, 0));
  EXPECT_TRUE(RectIs(cxPointsBox({cxPoint(3, 4), cxPoint(-1, 9), cxPoint(5, 0)}), -1, 0, 5, 9));
  TdxRectF F = cxPointsBox({dxPointF(1.5f, 2), dxPointF(-1, 3)});
  EXPECT_EQ(F, cxRectF(-1, 2, 1.5f, 3));

  struct {
    TSize S;
    Integer W, H;
    TSize Expected;
  } Cases[] = {
      {{100, 50}, 1, 1, {50, 50}}, {{10, 3}, 3, 2, {4, 3}},  // 4.5 truncated
      {{0, 50}, 1, 1, {0, 50}},    {{50, 100}, 1, 1, {50, 50}}, {{10, 10}, 0, 1, {10, 10}},
  };
  for (const auto& C : Cases) EXPECT_EQ(cxSizeProportionalStretch(C.S, C.W, C.H), C.Expected);
}

TEST(GeometryRoutines, ReduceFraction) {
  struct {
    Integer A, B, EA, EB;
  } Cases[] = {{144, 96, 3, 2}, {288, 192, 3, 2}, {12, 6, 2, 1},  {7, 6, 7, 6},
               {0, 0, 0, 0},    {5, 0, 5, 0},     {-2, 4, -2, 4}, {1, 1, 1, 1}};
  for (auto C : Cases) {
    cxReduceFraction(C.A, C.B);
    EXPECT_EQ(C.A, C.EA);
    EXPECT_EQ(C.B, C.EB);
  }
}

TEST(GeometryFloat, PointConversionAndFuzzyEquality) {
  EXPECT_EQ(dxPointF(2.5f, -2.5f).ToPoint(), cxPoint(2, -2));
  EXPECT_EQ(dxPointF(3.5f, 0.49f).ToPoint(), cxPoint(4, 0));
  EXPECT_EQ(dxPointF(1000.0f, 0), dxPointF(1000.05f, 0));
  EXPECT_EQ(dxPointF(0.00005f, 0), dxPointF(0, 0));
  EXPECT_NE(dxPointF(1.0f, 0), dxPointF(1.001f, 0));
  TdxPointF P = dxPointF(1, 2);
  P.Offset(dxPointF(1, 1), false);
  EXPECT_EQ(P, dxPointF(0, 1));
  EXPECT_EQ(TdxSizeF::Create(1.2f, 2.0f).Ceil().cx, 2.0f);
}

TEST(GeometryFloat, RectOperations) {
  TdxRectF R = cxRectF(0, 0, 10, 10);
  R.Intersect(cxRectF(10, 0, 20, 10));
  EXPECT_EQ(R, cxRectF(10, 0, 10, 10));  // a zero-width overlap stays
  R = cxRectF(0, 0, 10, 10);
  R.Intersect(cxRectF(11, 0, 20, 10));
  EXPECT_TRUE(R.IsZero());
  EXPECT_TRUE(cxRectF(5, 0, 5, 10).IsEmpty());
  EXPECT_TRUE(cxRectF(0.00001f, 0, 0, 0).IsZero());
  R = cxRectF(10, 10, 0, 0);
  R.Normalize();
  EXPECT_EQ(R, cxRectF(0, 0, 10, 10));
  EXPECT_EQ(cxRectF(0, 0, 200, 100).ZoomInto(cxRectF(0, 0, 100, 100)), cxRectF(0, 25, 100, 75));
  EXPECT_EQ(cxRectF(10, 10, 30, 20).ZoomInto(cxRectF(0, 0, 100, 100)), cxRectF(10, 35, 110, 85));
  EXPECT_EQ(cxRectF(0, 0, 100, 200).ZoomInto(TdxSizeF::Create(100, 100)), cxRectF(25, 0, 75, 100));
  EXPECT_EQ(cxRectF(0, 0, 10, 0).ZoomInto(cxRectF(0, 0, 100, 100)), cxRectF(0, 0, 10, 0));
  R = cxRectF(1, 2, 3, 4);
  R.SetWidth(10);
  EXPECT_EQ(R.Right, 11.0f);
  EXPECT_EQ(R.CenterPoint(), dxPointF(6, 3));
}

class TListenerLog : public TObject {
 public:
  std::vector<std::tuple<Integer, Integer, bool>> Calls;
  TdxScaleFactor* RemoveOnCall = nullptr;
  TListenerLog* Other = nullptr;
  void Handler(TObject*, Integer M, Integer D, bool L) {
    Calls.emplace_back(M, D, L);
    if (RemoveOnCall)
      RemoveOnCall->ListenerRemove(MakeEvent<&TListenerLog::Handler>(Other ? Other : this));
  }
};

TEST(ScaleFactor, AssignReducesAndNotifiesRatio) {
  TOwned<TdxScaleFactor> F = MakeOwned<TdxScaleFactor>();
  TListenerLog Log;
  F->ListenerAdd(MakeEvent<&TListenerLog::Handler>(&Log));
  F->Assign(144, 96, false);
  EXPECT_EQ(F->Numerator(), 3);
  EXPECT_EQ(F->Denominator(), 2);
  F->Assign(288, 192, false);  // same value: nobody is told
  F->Assign(2, 1, true);
  F->Change(3, 4);  // 2/1 * 3/4 = 3/2
  ASSERT_EQ(Log.Calls.size(), 3u);
  EXPECT_EQ(Log.Calls[0], std::make_tuple(3, 2, false));
  EXPECT_EQ(Log.Calls[1], std::make_tuple(4, 3, true));
  EXPECT_EQ(Log.Calls[2], std::make_tuple(3, 4, false));
  F->Change(4, 3);
  EXPECT_EQ(F->Numerator(), 2);
  EXPECT_EQ(F->Denominator(), 1);
}

TEST(ScaleFactor, ApplyAndRevertRounding) {
  TOwned<TdxScaleFactor> F = MakeOwned<TdxScaleFactor>();
  EXPECT_EQ(F->Apply(cxRect(1, 2, 3, 4)), cxRect(1, 2, 3, 4));
  F->Assign(3, 2, false);
  struct {
    Integer V, Applied, Reverted;
  } Cases[] = {{5, 8, 3}, {-5, -8, -3}, {8, 12, 5}, {0, 0, 0}, {1, 2, 1}};
  for (const auto& C : Cases) {
    EXPECT_EQ(F->Apply(C.V), C.Applied) << C.V;
    EXPECT_EQ(F->Revert(C.V), C.Reverted) << C.V;
  }
  EXPECT_DOUBLE_EQ(F->ApplyF(5.0), 7.5);
  EXPECT_DOUBLE_EQ(F->RevertF(7.5), 5.0);
  EXPECT_EQ(F->Apply(cxRect(1, 1, 3, 3)), cxRect(2, 2, 5, 5));
  EXPECT_EQ(F->Apply(cxSize(5, -5)), cxSize(8, -8));

  struct {
    Integer N, D, SN, SD, V, Expected;
  } Convert[] = {
      {5, 4, 3, 2, 12, 10},  // 144 DPI value at 120 DPI: ratio 5/6
      {3, 2, 3, 2, 7, 7},    // equal factors: unchanged
      {3, 2, 1, 1, 5, 8},
      {1, 1, 3, 2, 8, 5},
  };
  for (const auto& C : Convert) {
    F->Assign(C.N, C.D, false);
    EXPECT_EQ(F->Apply(C.V, C.SN, C.SD), C.Expected);
  }
  Integer SN = 3, SD = 2;
  F->Assign(3, 2, false);
  EXPECT_FALSE(F->TransformScaleFactor(SN, SD));
  EXPECT_EQ(SN, 3);
}

TEST(ScaleFactor, TargetDPIAndEquality) {
  TOwned<TdxScaleFactor> A = MakeOwned<TdxScaleFactor>();
  TOwned<TdxScaleFactor> B = MakeOwned<TdxScaleFactor>();
  struct {
    Integer N, D, DPI;
  } Cases[] = {{3, 2, 144}, {5, 4, 120}, {1, 1, 96}, {7, 6, 112}};
  for (const auto& C : Cases) {
    A->Assign(C.N, C.D, false);
    EXPECT_EQ(A->TargetDPI(), C.DPI);
  }
  A->Assign(3, 2, false);
  B->Assign(6, 4, false);
  EXPECT_TRUE(A->Equals(B.get()));
  EXPECT_FALSE(A->Equals(nullptr));
}

TEST(ScaleFactor, ListenerRegistration) {
  TOwned<TdxScaleFactor> F = MakeOwned<TdxScaleFactor>();
  TListenerLog L1, L2;
  F->ListenerAdd(MakeEvent<&TListenerLog::Handler>(&L1));
  EXPECT_THROW(F->ListenerAdd(MakeEvent<&TListenerLog::Handler>(&L1)), EdxException);
  F->ListenerAdd(MakeEvent<&TListenerLog::Handler>(&L2));  // same code, other object
  EXPECT_EQ(F->ListenerCount(), 2);
  TdxScaleFactor::ListenerRemove(nullptr, MakeEvent<&TListenerLog::Handler>(&L1));
  F->ListenerRemove(MakeEvent<&TListenerLog::Handler>(&L1));
  F->ListenerRemove(MakeEvent<&TListenerLog::Handler>(&L1));
  F->ListenerRemove(MakeEvent<&TListenerLog::Handler>(&L2));
  EXPECT_EQ(F->ListenerCount(), 0);
  F->Assign(2, 1, false);
  EXPECT_TRUE(L1.Calls.empty());
  F->ListenerAdd(MakeEvent<&TListenerLog::Handler>(&L1));
  F->Assign(3, 1, false);
  EXPECT_EQ(L1.Calls.size(), 1u);
}

TEST(ScaleFactor, ListenersMayUnsubscribeDuringNotification) {
  TOwned<TdxScaleFactor> F = MakeOwned<TdxScaleFactor>();
  TListenerLog A, B, C;
  A.RemoveOnCall = F.get();                // A removes itself
  B.RemoveOnCall = F.get(), B.Other = &C;  // B removes C, not yet called
  F->ListenerAdd(MakeEvent<&TListenerLog::Handler>(&A));
  F->ListenerAdd(MakeEvent<&TListenerLog::Handler>(&B));
  F->ListenerAdd(MakeEvent<&TListenerLog::Handler>(&C));
  F->Assign(2, 1, false);
  EXPECT_EQ(A.Calls.size(), 1u);
  EXPECT_EQ(B.Calls.size(), 1u);
  EXPECT_EQ(C.Calls.size(), 0u);
  EXPECT_EQ(F->ListenerCount(), 1);  // B
  B.RemoveOnCall = nullptr;
  F->Assign(3, 1, false);
  EXPECT_EQ(A.Calls.size(), 1u);
  EXPECT_EQ(B.Calls.size(), 2u);
}

TEST(ScaleFactor, OwnedFactorFollowsOwner) {
  TOwned<TdxScaleFactor> Owner = MakeOwned<TdxScaleFactor>();
  TOwned<TdxOwnedScaleFactor> F = MakeOwned<TdxOwnedScaleFactor>();
  F->SetOwner(F.get());
  EXPECT_EQ(F->Owner(), nullptr);
  Owner->Assign(3, 2, false);
  F->SetOwner(Owner.get());
  EXPECT_EQ(F->Numerator(), 3);
  EXPECT_TRUE(F->UseOwnerValue());
  Owner->Assign(2, 1, false);
  EXPECT_EQ(F->Numerator(), 2);
  Owner->Assign(5, 4, true);  // owner read from a form: still follows
  EXPECT_EQ(F->Numerator(), 5);
  EXPECT_TRUE(F->UseOwnerValue());

  F->Assign(7, 6, false);  // a value of its own detaches it
  EXPECT_FALSE(F->UseOwnerValue());
  Owner->Assign(3, 1, false);
  EXPECT_EQ(F->Numerator(), 7);
  F->SetUseOwnerValue(true);
  EXPECT_EQ(F->Numerator(), 3);
  EXPECT_EQ(F->Denominator(), 1);

  F->SetOwner(nullptr);  // detaching keeps the ratio
  EXPECT_EQ(Owner->ListenerCount(), 0);
  EXPECT_EQ(F->Numerator(), 3);
  F->SetOwner(Owner.get());
  F.reset();  // freeing unsubscribes from the owner
  EXPECT_EQ(Owner->ListenerCount(), 0);
}

TEST(Matrix, TransformsAndCombination) {
  TOwned<TdxMatrix> M = MakeOwned<TdxMatrix>();
  EXPECT_TRUE(M->IsIdentity());
  M->Rotate(90, dxPointF(10, 0), moAppend);
  EXPECT_EQ(M->Transform(dxPointF(20, 0)), dxPointF(10, 10));
  M->Reset();
  M->Rotate(90, cxPoint(10, 0), moPrepend);
  EXPECT_EQ(M->Transform(dxPointF(20, 0)), dxPointF(10, 10));

  XFORM Flip = TdxXFormHelper::CreateFlip(true, false, 50, 0);
  EXPECT_EQ(TdxXFormHelper::Transform(Flip, dxPointF(10, 7)), dxPointF(90, 7));
  TdxMatrix HFlip(-1, 0, 0, 1, 0, 0);
  TdxRectF R = HFlip.Transform(cxRectF(0, 0, 10, 10));
  EXPECT_EQ(R, cxRectF(0, 0, -10, 10));  // corners mapped in place, not normalized

  // Order: prepend applies the new transformation first.
  M->Reset();
  M->Translate(10, 0);
  M->Scale(2, 2, moPrepend);  // scale, then translate
  EXPECT_EQ(M->Transform(dxPointF(1, 1)), dxPointF(12, 2));
  M->Reset();
  M->Translate(10, 0);
  M->Scale(2, 2, moAppend);  // translate, then scale
  EXPECT_EQ(M->Transform(dxPointF(1, 1)), dxPointF(22, 2));
  EXPECT_FALSE(M->IsIdentity());
}

}  // namespace
