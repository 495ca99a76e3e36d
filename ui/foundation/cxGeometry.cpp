#include "cxGeometry.h"

#include "WinHandles.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr Single SingleResolution = 1e-4f;

Integer RoundHalfEven(Double V) { return static_cast<Integer>(std::nearbyint(V)); }
}  // namespace

bool dxSameSingle(Single A, Single B) {
  Single Eps = std::max(std::min(std::fabs(A), std::fabs(B)) * SingleResolution, SingleResolution);
  return A > B ? (A - B) <= Eps : (B - A) <= Eps;
}

bool dxIsZeroSingle(Single A) { return std::fabs(A) <= SingleResolution; }

// ---------------------------------------------------------------------------
// Float records

void TdxPointF::Offset(Single DX, Single DY, bool APositiveFactor) {
  if (APositiveFactor) {
    X += DX;
    Y += DY;
  } else {
    X -= DX;
    Y -= DY;
  }
}
void TdxPointF::Offset(const TdxPointF& P, bool APositiveFactor) {
  Offset(P.X, P.Y, APositiveFactor);
}
void TdxPointF::Offset(const TdxSizeF& S, bool APositiveFactor) {
  Offset(S.cx, S.cy, APositiveFactor);
}

TPoint TdxPointF::ToPoint() const { return TPoint{RoundHalfEven(X), RoundHalfEven(Y)}; }

bool TdxPointF::operator==(const TdxPointF& P) const {
  return dxSameSingle(X, P.X) && dxSameSingle(Y, P.Y);
}

TdxSizeF TdxSizeF::Ceil() const { return TdxSizeF{std::ceil(cx), std::ceil(cy)}; }

void TdxRectF::Assign(const TRect& R) {
  Left = static_cast<Single>(R.left);
  Top = static_cast<Single>(R.top);
  Right = static_cast<Single>(R.right);
  Bottom = static_cast<Single>(R.bottom);
}

void TdxRectF::Inflate(Single DX, Single DY) {
  Left -= DX;
  Top -= DY;
  Right += DX;
  Bottom += DY;
}

void TdxRectF::Offset(Single X, Single Y) {
  Left += X;
  Right += X;
  Top += Y;
  Bottom += Y;
}

bool TdxRectF::IsZero() const {
  return dxIsZeroSingle(Left) && dxIsZeroSingle(Top) && dxIsZeroSingle(Right) &&
         dxIsZeroSingle(Bottom);
}

void TdxRectF::Intersect(const TdxRectF& R) {
  Left = std::max(Left, R.Left);
  Top = std::max(Top, R.Top);
  Right = std::min(Right, R.Right);
  Bottom = std::min(Bottom, R.Bottom);
  if (Right < Left || Bottom < Top) Empty();
}

void TdxRectF::Normalize() {
  if (Left > Right) std::swap(Left, Right);
  if (Top > Bottom) std::swap(Top, Bottom);
}

TdxRectF TdxRectF::ZoomInto(const TdxRectF& ABounds) const {
  TdxRectF Result = *this;
  if (Height() <= 0 || ABounds.Height() <= 0) return Result;
  Single Inner = Width() / Height();
  Single Outer = ABounds.Width() / ABounds.Height();
  Single DX, DY;
  if (Inner < Outer) {
    Result.SetHeight(ABounds.Height());
    Result.SetWidth(ABounds.Height() * Inner);
    DX = (ABounds.Width() - Result.Width()) / 2 + ABounds.Left;
    DY = ABounds.Top;
  } else {
    Result.SetWidth(ABounds.Width());
    Result.SetHeight(ABounds.Width() / Inner);
    DX = ABounds.Left;
    DY = (ABounds.Height() - Result.Height()) / 2 + ABounds.Top;
  }
  Result.Offset(DX, DY);
  return Result;
}

TdxRectF TdxRectF::ZoomInto(const TdxSizeF& ASize) const {
  return ZoomInto(TdxRectF{0, 0, ASize.cx, ASize.cy});
}

bool TdxRectF::operator==(const TdxRectF& R) const {
  return dxSameSingle(Left, R.Left) && dxSameSingle(Top, R.Top) && dxSameSingle(Right, R.Right) &&
         dxSameSingle(Bottom, R.Bottom);
}

// ---------------------------------------------------------------------------
// Integer routines

TRect cxRectScale(const TRect& R, Integer ANumeratorX, Integer ADenominatorX, Integer ANumeratorY,
                  Integer ADenominatorY) {
  return TRect{
      MulDiv(R.left, ANumeratorX, ADenominatorX), MulDiv(R.top, ANumeratorY, ADenominatorY),
      MulDiv(R.right, ANumeratorX, ADenominatorX), MulDiv(R.bottom, ANumeratorY, ADenominatorY)};
}

namespace {
// Halves rounding towards minus infinity, so an odd leftover pixel goes to
// the right or bottom side.
Integer HalfDown(Integer S) { return (S - (S & 1)) / 2; }
}  // namespace

TRect cxRectCenter(const TRect& ABounds, Integer AWidth, Integer AHeight) {
  TRect R;
  R.left = HalfDown(ABounds.left + ABounds.right - AWidth);
  R.top = HalfDown(ABounds.top + ABounds.bottom - AHeight);
  R.right = R.left + AWidth;
  R.bottom = R.top + AHeight;
  return R;
}

bool cxRectIntersect(TRect& R, const TRect& R1, const TRect& R2) {
  TRect T{std::max(R1.left, R2.left), std::max(R1.top, R2.top), std::min(R1.right, R2.right),
          std::min(R1.bottom, R2.bottom)};
  bool NonEmpty = T.left < T.right && T.top < T.bottom;
  R = NonEmpty ? T : cxNullRect;
  return NonEmpty;
}

TRect cxRectUnion(const TRect& R1, const TRect& R2) {
  TRect Result = R1;
  if (cxRectIsEmpty(R2)) return Result;
  Result.left = std::min(R1.left, R2.left);
  Result.top = std::min(R1.top, R2.top);
  Result.right = std::max(R1.right, R2.right);
  Result.bottom = std::max(R1.bottom, R2.bottom);
  return Result;
}

TRect cxPointsBox(const TPoint* APoints, size_t ACount) {
  if (ACount == 0) return cxNullRect;
  TRect R{APoints[0].x, APoints[0].y, APoints[0].x, APoints[0].y};
  for (size_t I = 1; I < ACount; ++I) {
    R.left = std::min(R.left, APoints[I].x);
    R.top = std::min(R.top, APoints[I].y);
    R.right = std::max(R.right, APoints[I].x);
    R.bottom = std::max(R.bottom, APoints[I].y);
  }
  return R;
}

TdxRectF cxPointsBox(const TdxPointF* APoints, size_t ACount) {
  if (ACount == 0) return dxNullRectF;
  TdxRectF R{APoints[0].X, APoints[0].Y, APoints[0].X, APoints[0].Y};
  for (size_t I = 1; I < ACount; ++I) {
    R.Left = std::min(R.Left, APoints[I].X);
    R.Top = std::min(R.Top, APoints[I].Y);
    R.Right = std::max(R.Right, APoints[I].X);
    R.Bottom = std::max(R.Bottom, APoints[I].Y);
  }
  return R;
}

TSize cxSizeProportionalStretch(const TSize& S, Integer W, Integer H) {
  TSize Result = S;
  if (S.cx <= 0 || S.cy <= 0 || W <= 0 || H <= 0) return Result;
  Double Ratio = static_cast<Double>(W) / H;
  if (static_cast<Double>(S.cx) / S.cy >= Ratio)
    Result.cx = static_cast<Integer>(std::trunc(S.cy * Ratio));
  else
    Result.cy = static_cast<Integer>(std::trunc(S.cx / Ratio));
  return Result;
}

void cxReduceFraction(Integer& A, Integer& B) {
  Integer I = 2;
  while (A >= I && B >= I) {
    if (A % I == 0 && B % I == 0) {
      A /= I;
      B /= I;
      I = 2;
    } else {
      ++I;
    }
  }
}

// ---------------------------------------------------------------------------
// Scale factor

IMPLEMENT_CREATABLE_CLASS(TdxScaleFactor)
IMPLEMENT_CREATABLE_CLASS(TdxOwnedScaleFactor)

Integer TdxScaleFactor::TargetDPI() const {
  return Assigned() ? MulDiv(cxDefaultDPI, FNumerator, FDenominator) : cxDefaultDPI;
}

void TdxScaleFactor::Assign(Integer ANumerator, Integer ADenominator, bool AIsLoading) {
  cxReduceFraction(ANumerator, ADenominator);
  if (ANumerator == FNumerator && ADenominator == FDenominator) return;
  Integer M = FDenominator * ANumerator;
  Integer D = FNumerator * ADenominator;
  FNumerator = ANumerator;
  FDenominator = ADenominator;
  Changed(M, D, AIsLoading);
}

void TdxScaleFactor::Assign(const TdxScaleFactor* ASource) {
  Assign(ASource->FNumerator, ASource->FDenominator, false);
}

void TdxScaleFactor::Change(Integer ANumerator, Integer ADenominator) {
  Assign(ANumerator * FNumerator, ADenominator * FDenominator, false);
}

bool TdxScaleFactor::Equals(const TdxScaleFactor* Obj) const {
  return Obj && Obj->FDenominator * FNumerator == Obj->FNumerator * FDenominator;
}

Integer TdxScaleFactor::Apply(Integer V) const {
  return Assigned() ? MulDiv(V, FNumerator, FDenominator) : V;
}
TPoint TdxScaleFactor::Apply(const TPoint& V) const { return TPoint{Apply(V.x), Apply(V.y)}; }
TSize TdxScaleFactor::Apply(const TSize& V) const { return TSize{Apply(V.cx), Apply(V.cy)}; }
TRect TdxScaleFactor::Apply(const TRect& V) const {
  return Assigned() ? cxRectScale(V, FNumerator, FDenominator) : V;
}
Double TdxScaleFactor::ApplyF(Double V) const {
  return Assigned() ? V * FNumerator / FDenominator : V;
}
Integer TdxScaleFactor::Revert(Integer V) const {
  return Assigned() ? MulDiv(V, FDenominator, FNumerator) : V;
}
TPoint TdxScaleFactor::Revert(const TPoint& V) const { return TPoint{Revert(V.x), Revert(V.y)}; }
TSize TdxScaleFactor::Revert(const TSize& V) const { return TSize{Revert(V.cx), Revert(V.cy)}; }
TRect TdxScaleFactor::Revert(const TRect& V) const {
  return Assigned() ? cxRectScale(V, FDenominator, FNumerator) : V;
}
Double TdxScaleFactor::RevertF(Double V) const {
  return Assigned() ? V * FDenominator / FNumerator : V;
}

bool TdxScaleFactor::TransformScaleFactor(Integer& ASourceNumerator,
                                          Integer& ASourceDenominator) const {
  Integer M = FNumerator * ASourceDenominator;
  Integer D = FDenominator * ASourceNumerator;
  if (M == D) return false;
  cxReduceFraction(M, D);
  ASourceNumerator = M;
  ASourceDenominator = D;
  return true;
}

Integer TdxScaleFactor::Apply(Integer V, Integer ASourceNumerator,
                              Integer ASourceDenominator) const {
  return TransformScaleFactor(ASourceNumerator, ASourceDenominator)
             ? MulDiv(V, ASourceNumerator, ASourceDenominator)
             : V;
}
TPoint TdxScaleFactor::Apply(const TPoint& V, Integer ASourceNumerator,
                             Integer ASourceDenominator) const {
  if (!TransformScaleFactor(ASourceNumerator, ASourceDenominator)) return V;
  return TPoint{MulDiv(V.x, ASourceNumerator, ASourceDenominator),
                MulDiv(V.y, ASourceNumerator, ASourceDenominator)};
}
TSize TdxScaleFactor::Apply(const TSize& V, Integer ASourceNumerator,
                            Integer ASourceDenominator) const {
  if (!TransformScaleFactor(ASourceNumerator, ASourceDenominator)) return V;
  return TSize{MulDiv(V.cx, ASourceNumerator, ASourceDenominator),
               MulDiv(V.cy, ASourceNumerator, ASourceDenominator)};
}
TRect TdxScaleFactor::Apply(const TRect& V, Integer ASourceNumerator,
                            Integer ASourceDenominator) const {
  if (!TransformScaleFactor(ASourceNumerator, ASourceDenominator)) return V;
  return cxRectScale(V, ASourceNumerator, ASourceDenominator);
}
Integer TdxScaleFactor::Apply(Integer V, const TdxScaleFactor* ASource) const {
  return Apply(V, ASource->FNumerator, ASource->FDenominator);
}
TPoint TdxScaleFactor::Apply(const TPoint& V, const TdxScaleFactor* ASource) const {
  return Apply(V, ASource->FNumerator, ASource->FDenominator);
}
TSize TdxScaleFactor::Apply(const TSize& V, const TdxScaleFactor* ASource) const {
  return Apply(V, ASource->FNumerator, ASource->FDenominator);
}
TRect TdxScaleFactor::Apply(const TRect& V, const TdxScaleFactor* ASource) const {
  return Apply(V, ASource->FNumerator, ASource->FDenominator);
}

void TdxScaleFactor::ListenerAdd(const TdxScaleFactorNotifyEvent& AEventHandler) {
  if (!FListeners) FListeners = std::make_unique<TdxListenerList<TdxScaleFactorNotifyEvent>>();
  if (FListeners->Contains(AEventHandler)) throw EdxException(L"Listener is already registered");
  FListeners->Add(AEventHandler);
}

void TdxScaleFactor::ListenerRemove(TdxScaleFactor* AFactor,
                                    const TdxScaleFactorNotifyEvent& AHandler) {
  if (!AFactor || !AFactor->FListeners) return;
  AFactor->FListeners->Remove(AHandler);
  // The list is dropped when empty, but not under a running notification,
  // which still walks it.
  if (AFactor->FListeners->Empty() && !AFactor->FNotifying) AFactor->FListeners.reset();
}

void TdxScaleFactor::Changed(Integer M, Integer D, bool IsLoading) {
  if (M == D || !FListeners) return;
  ++FNotifying;
  struct TGuard {
    TdxScaleFactor* Self;
    ~TGuard() {
      if (--Self->FNotifying == 0 && Self->FListeners && Self->FListeners->Empty())
        Self->FListeners.reset();
    }
  } Guard{this};
  FListeners->ForEach([&](const TdxScaleFactorNotifyEvent& E) { E(this, M, D, IsLoading); });
}

void TdxOwnedScaleFactor::BeforeDestruction() {
  SetOwner(nullptr);
  inherited::BeforeDestruction();
}

void TdxOwnedScaleFactor::SetOwner(TdxScaleFactor* AValue) {
  if (AValue == FOwner || AValue == this) return;
  if (FOwner) {
    FOwner->ListenerRemove(MakeEvent<&TdxOwnedScaleFactor::OwnerChangeHandler>(this));
    FOwner = nullptr;
  }
  if (AValue) {
    FOwner = AValue;
    FOwner->ListenerAdd(MakeEvent<&TdxOwnedScaleFactor::OwnerChangeHandler>(this));
  }
  SynchronizeValue(false);
}

void TdxOwnedScaleFactor::SetUseOwnerValue(bool AValue) {
  if (AValue == FUseOwnerValue) return;
  FUseOwnerValue = AValue;
  SynchronizeValue(false);
}

void TdxOwnedScaleFactor::SynchronizeValue(bool AIsLoading) {
  if (!FUseOwnerValue || !FOwner) return;
  Assign(FOwner->Numerator(), FOwner->Denominator(), AIsLoading);
  FUseOwnerValue = true;
}

void TdxOwnedScaleFactor::Changed(Integer M, Integer D, bool IsLoading) {
  if (!IsLoading) FUseOwnerValue = false;
  inherited::Changed(M, D, IsLoading);
}

void TdxOwnedScaleFactor::OwnerChangeHandler(TObject*, Integer, Integer, bool IsLoading) {
  SynchronizeValue(IsLoading);
}

// ---------------------------------------------------------------------------
// Matrix

namespace TdxXFormHelper {
XFORM CreateMatrix(Single M11, Single M12, Single M21, Single M22, Single DX, Single DY) {
  XFORM X;
  X.eM11 = M11;
  X.eM12 = M12;
  X.eM21 = M21;
  X.eM22 = M22;
  X.eDx = DX;
  X.eDy = DY;
  return X;
}
XFORM CreateIdentityMatrix() { return CreateMatrix(1, 0, 0, 1, 0, 0); }
XFORM CreateScaleMatrix(Single AScaleX, Single AScaleY) {
  return CreateMatrix(AScaleX, 0, 0, AScaleY, 0, 0);
}
XFORM CreateTranslateMatrix(Single AOffsetX, Single AOffsetY) {
  return CreateMatrix(1, 0, 0, 1, AOffsetX, AOffsetY);
}
XFORM CreateRotationMatrix(Single AAngle) {
  Single A = static_cast<Single>(AAngle * 3.14159265358979323846 / 180);
  Single C = std::cos(A), S = std::sin(A);
  return CreateMatrix(C, S, -S, C, 0, 0);
}
XFORM CreateFlip(bool AFlipHorizontally, bool AFlipVertically, Single APivotPointX,
                 Single APivotPointY) {
  return CreateMatrix(AFlipHorizontally ? -1 : 1, 0, 0, AFlipVertically ? -1 : 1,
                      AFlipHorizontally ? 2 * APivotPointX : 0,
                      AFlipVertically ? 2 * APivotPointY : 0);
}
XFORM Combine(const XFORM& AMatrix1, const XFORM& AMatrix2) {
  XFORM R;
  CombineTransform(&R, &AMatrix1, &AMatrix2);
  return R;
}
bool IsIdentity(const XFORM& M) {
  return M.eM11 == 1 && M.eM12 == 0 && M.eM21 == 0 && M.eM22 == 1 && M.eDx == 0 && M.eDy == 0;
}
TdxPointF Transform(const XFORM& M, const TdxPointF& P) {
  return TdxPointF{P.X * M.eM11 + P.Y * M.eM21 + M.eDx, P.X * M.eM12 + P.Y * M.eM22 + M.eDy};
}
}  // namespace TdxXFormHelper

IMPLEMENT_CREATABLE_CLASS(TdxMatrix)

TdxPointF TdxMatrix::Transform(const TdxPointF& APoint) const {
  return TdxXFormHelper::Transform(FMatrix, APoint);
}

TdxRectF TdxMatrix::Transform(const TdxRectF& ARect) const {
  TdxPointF TL = Transform(TdxPointF{ARect.Left, ARect.Top});
  TdxPointF BR = Transform(TdxPointF{ARect.Right, ARect.Bottom});
  return TdxRectF{TL.X, TL.Y, BR.X, BR.Y};
}

void TdxMatrix::DoMultiply(const XFORM& AXForm, TdxTransformationOrder AOrder) {
  FMatrix = AOrder == moAppend ? TdxXFormHelper::Combine(FMatrix, AXForm)
                               : TdxXFormHelper::Combine(AXForm, FMatrix);
}

void TdxMatrix::Multiply(const TdxMatrix* M, TdxTransformationOrder AOrder) {
  DoMultiply(M->FMatrix, AOrder);
}
void TdxMatrix::Rotate(Single AAngle, TdxTransformationOrder AOrder) {
  DoMultiply(TdxXFormHelper::CreateRotationMatrix(AAngle), AOrder);
}
void TdxMatrix::Rotate(Single AAngle, const TPoint& APivotPoint, TdxTransformationOrder AOrder) {
  Rotate(AAngle, TdxPointF::Create(APivotPoint), AOrder);
}
void TdxMatrix::Rotate(Single AAngle, const TdxPointF& P, TdxTransformationOrder AOrder) {
  Single S = AOrder == moPrepend ? 1 : -1;
  Translate(S * P.X, S * P.Y, AOrder);
  Rotate(AAngle, AOrder);
  Translate(-S * P.X, -S * P.Y, AOrder);
}
void TdxMatrix::Scale(Single AScaleX, Single AScaleY, TdxTransformationOrder AOrder) {
  DoMultiply(TdxXFormHelper::CreateScaleMatrix(AScaleX, AScaleY), AOrder);
}
void TdxMatrix::Scale(const TdxPointF& AScale, TdxTransformationOrder AOrder) {
  Scale(AScale.X, AScale.Y, AOrder);
}
void TdxMatrix::Translate(Single DX, Single DY, TdxTransformationOrder AOrder) {
  DoMultiply(TdxXFormHelper::CreateTranslateMatrix(DX, DY), AOrder);
}
void TdxMatrix::Translate(const TdxPointF& AOffset, TdxTransformationOrder AOrder) {
  Translate(AOffset.X, AOffset.Y, AOrder);
}

// ---------------------------------------------------------------------------
// Persistent geometry objects

namespace {
void ReadIntegers(TStream* AStream, Integer* AValues, Integer ACount) {
  Byte Buffer[16];
  AStream->ReadBuffer(Buffer, 4 * ACount);
  for (Integer I = 0; I < ACount; ++I)
    AValues[I] = static_cast<Integer>(static_cast<Cardinal>(Buffer[4 * I]) |
                                      (static_cast<Cardinal>(Buffer[4 * I + 1]) << 8) |
                                      (static_cast<Cardinal>(Buffer[4 * I + 2]) << 16) |
                                      (static_cast<Cardinal>(Buffer[4 * I + 3]) << 24));
}
void WriteIntegers(TStream* AStream, const Integer* AValues, Integer ACount) {
  for (Integer I = 0; I < ACount; ++I) WriteIntegerToStream(AStream, AValues[I]);
}
}  // namespace

IMPLEMENT_CLASS(TcxGeometryObject)

void TcxGeometryObject::DoChange() {
  if (FOnChange) FOnChange(this);
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxRect) {
  P.Property<&TcxRect::Left, &TcxRect::SetLeft>(L"Left").Default(0);
  P.Property<&TcxRect::Top, &TcxRect::SetTop>(L"Top").Default(0);
  P.Property<&TcxRect::Right, &TcxRect::SetRight>(L"Right").Default(0);
  P.Property<&TcxRect::Bottom, &TcxRect::SetBottom>(L"Bottom").Default(0);
}

void TcxRect::SetRect(const TRect& AValue) {
  TRect R = AValue;
  ValidateRect(R);
  if (R == FRect) return;
  FRect = R;
  DoChange();
}

Integer TcxRect::GetValue(Integer AIndex) const {
  switch (AIndex) {
    case 0:
      return FRect.left;
    case 1:
      return FRect.top;
    case 2:
      return FRect.right;
    default:
      return FRect.bottom;
  }
}

void TcxRect::SetValue(Integer AIndex, Integer AValue) {
  TRect R = FRect;
  switch (AIndex) {
    case 0:
      R.left = AValue;
      break;
    case 1:
      R.top = AValue;
      break;
    case 2:
      R.right = AValue;
      break;
    case 3:
      R.bottom = AValue;
      break;
    default:
      break;
  }
  SetRect(R);
}

TPoint TcxRect::Vertex(Integer AIndex) const {
  switch (AIndex) {
    case 0:
      return TPoint{FRect.left, FRect.top};
    case 1:
      return TPoint{FRect.right, FRect.top};
    case 2:
      return TPoint{FRect.left, FRect.bottom};
    default:
      return TPoint{FRect.right, FRect.bottom};
  }
}

void TcxRect::SetVertex(Integer AIndex, const TPoint& AValue) {
  TRect R = FRect;
  switch (AIndex) {
    case 0:
      R.left = AValue.x, R.top = AValue.y;
      break;
    case 1:
      R.right = AValue.x, R.top = AValue.y;
      break;
    case 2:
      R.left = AValue.x, R.bottom = AValue.y;
      break;
    case 3:
      R.right = AValue.x, R.bottom = AValue.y;
      break;
    default:
      break;
  }
  SetRect(R);
}

void TcxRect::DoAssign(TcxOwnedPersistent* Source) {
  inherited::DoAssign(Source);
  if (auto* S = AsOrNull<TcxRect>(Source)) SetRect(S->FRect);
}

void TcxRect::ChangeScale(Integer M, Integer D) { SetRect(cxRectScale(FRect, M, D, M, D)); }

void TcxRect::LoadFromStream(TStream* AStream) {
  Integer V[4];
  ReadIntegers(AStream, V, 4);
  SetRect(TRect{V[0], V[1], V[2], V[3]});
}

void TcxRect::SaveToStream(TStream* AStream) {
  const Integer V[4] = {FRect.left, FRect.top, FRect.right, FRect.bottom};
  WriteIntegers(AStream, V, 4);
}

IMPLEMENT_PUBLISHED_CLASS(TcxSize) {
  P.Property<&TcxSize::Height, &TcxSize::SetHeight>(L"Height")
      .NoDefault()
      .Stored<&TcxSize::IsHeightStored>();
  P.Property<&TcxSize::Width, &TcxSize::SetWidth>(L"Width")
      .NoDefault()
      .Stored<&TcxSize::IsWidthStored>();
}

Integer TcxSize::GetValue(Integer AIndex) const { return AIndex == 0 ? FSize.cy : FSize.cx; }

void TcxSize::SetValue(Integer AIndex, Integer AValue) {
  TSize S = GetSize();
  if (AIndex == 0)
    S.cy = AValue;
  else
    S.cx = AValue;
  SetSize(S);
}

bool TcxSize::IsSizeStored(Integer AIndex) const {
  return AIndex == 0 ? FSize.cy != FDefaultSize.cy : FSize.cx != FDefaultSize.cx;
}

void TcxSize::SetSize(const TSize& AValue) {
  TSize S{std::max(AValue.cx, 0L), std::max(AValue.cy, 0L)};
  if (S == FSize) return;
  FSize = S;
  DoChange();
}

void TcxSize::DoAssign(TcxOwnedPersistent* Source) {
  inherited::DoAssign(Source);
  if (auto* S = AsOrNull<TcxSize>(Source)) SetSize(S->GetSize());
}

void TcxSize::ChangeScale(Integer M, Integer D) {
  TSize S = GetSize();
  SetSize(TSize{MulDiv(S.cx, M, D), MulDiv(S.cy, M, D)});
}

void TcxSize::LoadFromStream(TStream* AStream) {
  Integer V[2];
  ReadIntegers(AStream, V, 2);
  SetSize(TSize{V[0], V[1]});
}

void TcxSize::SaveToStream(TStream* AStream) {
  TSize S = GetSize();
  const Integer V[2] = {S.cx, S.cy};
  WriteIntegers(AStream, V, 2);
}

IMPLEMENT_PUBLISHED_CLASS(TcxMargin) {
  P.Property<&TcxMargin::All, &TcxMargin::SetAll>(L"All")
      .NoDefault()
      .Stored<&TcxMargin::IsAllStored>();
  P.Property<&TcxMargin::Left, &TcxMargin::SetLeft>(L"Left")
      .NoDefault()
      .Stored<&TcxMargin::IsSideStored>();
  P.Property<&TcxMargin::Top, &TcxMargin::SetTop>(L"Top")
      .NoDefault()
      .Stored<&TcxMargin::IsSideStored>();
  P.Property<&TcxMargin::Right, &TcxMargin::SetRight>(L"Right")
      .NoDefault()
      .Stored<&TcxMargin::IsSideStored>();
  P.Property<&TcxMargin::Bottom, &TcxMargin::SetBottom>(L"Bottom")
      .NoDefault()
      .Stored<&TcxMargin::IsSideStored>();
}

Integer TcxMargin::GetValue(Integer AIndex) const {
  switch (AIndex) {
    case 1:
      return FMargin.left;
    case 2:
      return FMargin.top;
    case 3:
      return FMargin.right;
    case 4:
      return FMargin.bottom;
    default:
      bool Same = FMargin.left == FMargin.top && FMargin.top == FMargin.right &&
                  FMargin.right == FMargin.bottom;
      return Same ? FMargin.left : -1;
  }
}

void TcxMargin::SetValue(Integer AIndex, Integer AValue) {
  if (AValue == GetValue(AIndex)) return;
  switch (AIndex) {
    case 1:
      FMargin.left = AValue;
      break;
    case 2:
      FMargin.top = AValue;
      break;
    case 3:
      FMargin.right = AValue;
      break;
    case 4:
      FMargin.bottom = AValue;
      break;
    default:
      FMargin = TRect{AValue, AValue, AValue, AValue};
      break;
  }
  DoChange();
}

bool TcxMargin::IsMarginStored(Integer AIndex) const {
  if (AIndex >= 1 && AIndex <= 4) return GetValue(0) == -1;
  return GetValue(0) != FDefaultValue;
}

void TcxMargin::SetMargin(const TRect& AValue) {
  if (AValue == FMargin) return;
  FMargin = AValue;
  DoChange();
}

void TcxMargin::DoAssign(TcxOwnedPersistent* Source) {
  inherited::DoAssign(Source);
  if (auto* S = AsOrNull<TcxMargin>(Source)) SetMargin(S->FMargin);
}

void TcxMargin::ChangeScale(Integer M, Integer D) { FMargin = cxRectScale(FMargin, M, D, M, D); }

void TcxMargin::LoadFromStream(TStream* AStream) {
  Integer V[4];
  ReadIntegers(AStream, V, 4);
  SetMargin(TRect{V[0], V[1], V[2], V[3]});
}

void TcxMargin::SaveToStream(TStream* AStream) {
  const Integer V[4] = {FMargin.left, FMargin.top, FMargin.right, FMargin.bottom};
  WriteIntegers(AStream, V, 4);
}

void cxGeometry_Initialize() { RegisterClass(TcxRect::StaticClass()); }

void cxGeometry_Finalize() { UnRegisterClass(TcxRect::StaticClass()); }
