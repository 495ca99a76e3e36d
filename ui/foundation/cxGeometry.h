// The library's geometry vocabulary: float point, size and rectangle records,
// the integer rectangle routines whose rounding and boundary rules every
// control's pixel output depends on, the scale factor, and the matrix.
#pragma once

#include <initializer_list>
#include <vector>

#include "Types.h"
#include "dxCoreClasses.h"

enum TcxDirection { dirNone, dirLeft, dirRight, dirUp, dirDown };

// ---------------------------------------------------------------------------
// Float records

struct TdxSizeF;

struct TdxPointF {
  Single X = 0, Y = 0;

  static TdxPointF Create(Single AX, Single AY) { return TdxPointF{AX, AY}; }
  static TdxPointF Create(const TPoint& P) {
    return TdxPointF{static_cast<Single>(P.x), static_cast<Single>(P.y)};
  }
  void Init(Single AX, Single AY) {
    X = AX;
    Y = AY;
  }
  void Offset(Single DX, Single DY, bool APositiveFactor = true);
  void Offset(const TdxPointF& P, bool APositiveFactor = true);
  void Offset(const TdxSizeF& S, bool APositiveFactor = true);
  // Rounds each coordinate to the nearest integer, halves to even.
  TPoint ToPoint() const;
  bool operator==(const TdxPointF& P) const;
  bool operator!=(const TdxPointF& P) const { return !(*this == P); }
};

struct TdxSizeF {
  Single cx = 0, cy = 0;

  static TdxSizeF Create(Single AWidth, Single AHeight) { return TdxSizeF{AWidth, AHeight}; }
  void Init(Single AWidth, Single AHeight) {
    cx = AWidth;
    cy = AHeight;
  }
  static TdxSizeF Null() { return TdxSizeF{}; }
  TdxSizeF Ceil() const;
};

struct TdxRectF {
  Single Left = 0, Top = 0, Right = 0, Bottom = 0;

  static TdxRectF Create(Single ALeft, Single ATop, Single ARight, Single ABottom) {
    return TdxRectF{ALeft, ATop, ARight, ABottom};
  }
  static TdxRectF Create(const TRect& R) {
    TdxRectF F;
    F.Assign(R);
    return F;
  }
  static TdxRectF CreateSize(Single ALeft, Single ATop, Single AWidth, Single AHeight) {
    return TdxRectF{ALeft, ATop, ALeft + AWidth, ATop + AHeight};
  }
  void Init(Single ALeft, Single ATop, Single ARight, Single ABottom) {
    *this = Create(ALeft, ATop, ARight, ABottom);
  }
  void InitSize(Single ALeft, Single ATop, Single AWidth, Single AHeight) {
    *this = CreateSize(ALeft, ATop, AWidth, AHeight);
  }
  static TdxRectF Null() { return TdxRectF{}; }
  void Empty() { *this = TdxRectF{}; }
  void Assign(const TRect& R);

  Single Width() const { return Right - Left; }
  Single Height() const { return Bottom - Top; }
  Single GetWidth() const { return Width(); }
  Single GetHeight() const { return Height(); }
  void SetWidth(Single AValue) { Right = Left + AValue; }
  void SetHeight(Single AValue) { Bottom = Top + AValue; }

  TdxPointF CenterPoint() const { return TdxPointF{(Left + Right) / 2, (Top + Bottom) / 2}; }
  void Inflate(Single DX, Single DY);
  void Inflate(const TdxPointF& P) { Inflate(P.X, P.Y); }
  void Inflate(const TdxSizeF& S) { Inflate(S.cx, S.cy); }
  void Offset(Single X, Single Y);
  bool IsEmpty() const { return Left >= Right || Top >= Bottom; }
  bool IsZero() const;
  void Intersect(const TdxRectF& R);
  void Normalize();
  TdxRectF ZoomInto(const TdxRectF& ABounds) const;
  TdxRectF ZoomInto(const TdxSizeF& ASize) const;

  bool operator==(const TdxRectF& R) const;
  bool operator!=(const TdxRectF& R) const { return !(*this == R); }
};

// The fuzzy single-precision comparison used by the float records.
bool dxSameSingle(Single A, Single B);
bool dxIsZeroSingle(Single A);

// ---------------------------------------------------------------------------
// Constants
inline constexpr TPoint cxNullPoint{0, 0};
inline constexpr TSize cxNullSize{0, 0};
inline constexpr TRect cxNullRect{0, 0, 0, 0};
inline constexpr TRect cxEmptyRect{0, 0, 0, 0};
inline constexpr TRect cxSimpleRect{1, 1, 1, 1};
inline constexpr TPoint cxInvalidPoint{-1, -1};
inline constexpr TPoint cxSimplePoint{1, 1};
inline constexpr TdxPointF dxNullPointF{0, 0};
inline constexpr TdxRectF dxNullRectF{0, 0, 0, 0};

// ---------------------------------------------------------------------------
// Integer routines
inline TPoint cxPoint(Integer X, Integer Y) { return TPoint{X, Y}; }
inline TSize cxSize(Integer ACX, Integer ACY) { return TSize{ACX, ACY}; }
inline TRect cxRect(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom) {
  return TRect{ALeft, ATop, ARight, ABottom};
}
inline TRect cxRect(const TPoint& ATopLeft, const TPoint& ABottomRight) {
  return TRect{ATopLeft.x, ATopLeft.y, ABottomRight.x, ABottomRight.y};
}
inline Integer cxRectWidth(const TRect& R) { return R.right - R.left; }
inline Integer cxRectHeight(const TRect& R) { return R.bottom - R.top; }
inline TSize cxRectSize(const TRect& R) { return TSize{cxRectWidth(R), cxRectHeight(R)}; }
inline bool cxRectIsEmpty(const TRect& R) { return R.right <= R.left || R.bottom <= R.top; }
inline bool cxRectPtIn(const TRect& R, Integer X, Integer Y) {
  return X >= R.left && X < R.right && Y >= R.top && Y < R.bottom;
}
inline bool cxRectPtIn(const TRect& R, const TPoint& P) { return cxRectPtIn(R, P.x, P.y); }
inline TRect cxRectInflate(const TRect& R, Integer DX1, Integer DY1, Integer DX2, Integer DY2) {
  return TRect{R.left - DX1, R.top - DY1, R.right + DX2, R.bottom + DY2};
}
inline TRect cxRectInflate(const TRect& R, Integer DX, Integer DY) {
  return cxRectInflate(R, DX, DY, DX, DY);
}
inline TRect cxRectContent(const TRect& R, const TRect& AMargins) {
  return TRect{R.left + AMargins.left, R.top + AMargins.top, R.right - AMargins.right,
               R.bottom - AMargins.bottom};
}
inline TPoint cxPointOffset(const TPoint& P, Integer X, Integer Y, bool APositiveFactor = true) {
  return APositiveFactor ? TPoint{P.x + X, P.y + Y} : TPoint{P.x - X, P.y - Y};
}
inline TPoint cxPointOffset(const TPoint& P, const TPoint& DP, bool APositiveFactor = true) {
  return cxPointOffset(P, DP.x, DP.y, APositiveFactor);
}
inline TRect cxRectOffset(const TRect& R, Integer DX, Integer DY, bool APositiveFactor = true) {
  TPoint TL = cxPointOffset(TPoint{R.left, R.top}, DX, DY, APositiveFactor);
  TPoint BR = cxPointOffset(TPoint{R.right, R.bottom}, DX, DY, APositiveFactor);
  return cxRect(TL, BR);
}
inline TRect cxRectOffset(const TRect& R, const TPoint& P, bool APositiveFactor = true) {
  return cxRectOffset(R, P.x, P.y, APositiveFactor);
}
// Moves the left edge to X keeping the width.
inline TRect cxRectSetLeft(const TRect& R, Integer X) {
  return TRect{X, R.top, X + cxRectWidth(R), R.bottom};
}
inline TRect cxRectSetLeft(const TRect& R, Integer X, Integer W) {
  return TRect{X, R.top, X + W, R.bottom};
}
inline TRect cxRectSetTop(const TRect& R, Integer Y) {
  return TRect{R.left, Y, R.right, Y + cxRectHeight(R)};
}
inline TRect cxRectSetTop(const TRect& R, Integer Y, Integer H) {
  return TRect{R.left, Y, R.right, Y + H};
}
TRect cxRectScale(const TRect& R, Integer ANumeratorX, Integer ADenominatorX, Integer ANumeratorY,
                  Integer ADenominatorY);
inline TRect cxRectScale(const TRect& R, Integer ANumerator, Integer ADenominator) {
  return cxRectScale(R, ANumerator, ADenominator, ANumerator, ADenominator);
}
TRect cxRectCenter(const TRect& ABounds, Integer AWidth, Integer AHeight);
inline TRect cxRectCenter(const TRect& ABounds, const TSize& ASize) {
  return cxRectCenter(ABounds, ASize.cx, ASize.cy);
}
bool cxRectIntersect(TRect& R, const TRect& R1, const TRect& R2);
TRect cxRectUnion(const TRect& R1, const TRect& R2);
TRect cxPointsBox(const TPoint* APoints, size_t ACount);
inline TRect cxPointsBox(std::initializer_list<TPoint> APoints) {
  return cxPointsBox(APoints.begin(), APoints.size());
}
inline bool cxSizeIsEqual(const TSize& S1, const TSize& S2) { return S1 == S2; }
TSize cxSizeProportionalStretch(const TSize& S, Integer W, Integer H);
// Divides both by their common factors (trial division); values below 2 are
// left as they are.
void cxReduceFraction(Integer& A, Integer& B);

// ---------------------------------------------------------------------------
// Float routines
inline TdxPointF dxPointF(Single X, Single Y) { return TdxPointF{X, Y}; }
inline TdxRectF cxRectF(Single ALeft, Single ATop, Single ARight, Single ABottom) {
  return TdxRectF{ALeft, ATop, ARight, ABottom};
}
inline TdxPointF cxPointOffset(const TdxPointF& P, Single X, Single Y,
                               bool APositiveFactor = true) {
  return APositiveFactor ? TdxPointF{P.X + X, P.Y + Y} : TdxPointF{P.X - X, P.Y - Y};
}
TdxRectF cxPointsBox(const TdxPointF* APoints, size_t ACount);
inline TdxRectF cxPointsBox(std::initializer_list<TdxPointF> APoints) {
  return cxPointsBox(APoints.begin(), APoints.size());
}

// ---------------------------------------------------------------------------
// Scale factor

class TdxScaleFactor;
using TdxScaleFactorNotifyEvent =
    TMethodPtr<void(TObject* Sender, Integer M, Integer D, bool IsLoading)>;

struct IdxScaleFactor : public IUnknown {
  virtual TdxScaleFactor* STDMETHODCALLTYPE GetScaleFactor() = 0;
};
__CRT_UUID_DECL(IdxScaleFactor, 0x367A805A, 0xA84B, 0x441A, 0x83, 0xA3, 0x6A, 0x7E, 0x48, 0x9D,
                0x3B, 0x6C)

class TdxScaleFactor : public TObject {
  DECLARE_CLASS(TdxScaleFactor, TObject)
 public:
  TdxScaleFactor() = default;

  Integer Numerator() const { return FNumerator; }
  Integer Denominator() const { return FDenominator; }
  bool Assigned() const { return FNumerator != FDenominator; }
  // The DPI the factor stands for.
  Integer TargetDPI() const;

  void Assign(Integer ANumerator, Integer ADenominator, bool AIsLoading);
  void Assign(const TdxScaleFactor* ASource);
  void Change(Integer ANumerator, Integer ADenominator);
  bool Equals(const TdxScaleFactor* Obj) const;

  Integer Apply(Integer V) const;
  TPoint Apply(const TPoint& V) const;
  TSize Apply(const TSize& V) const;
  TRect Apply(const TRect& V) const;
  Double ApplyF(Double V) const;
  Integer Revert(Integer V) const;
  TPoint Revert(const TPoint& V) const;
  TSize Revert(const TSize& V) const;
  TRect Revert(const TRect& V) const;
  Double RevertF(Double V) const;

  Integer Apply(Integer V, Integer ASourceNumerator, Integer ASourceDenominator) const;
  TPoint Apply(const TPoint& V, Integer ASourceNumerator, Integer ASourceDenominator) const;
  TSize Apply(const TSize& V, Integer ASourceNumerator, Integer ASourceDenominator) const;
  TRect Apply(const TRect& V, Integer ASourceNumerator, Integer ASourceDenominator) const;
  Integer Apply(Integer V, const TdxScaleFactor* ASource) const;
  TPoint Apply(const TPoint& V, const TdxScaleFactor* ASource) const;
  TSize Apply(const TSize& V, const TdxScaleFactor* ASource) const;
  TRect Apply(const TRect& V, const TdxScaleFactor* ASource) const;

  bool TransformScaleFactor(Integer& ASourceNumerator, Integer& ASourceDenominator) const;

  void ListenerAdd(const TdxScaleFactorNotifyEvent& AEventHandler);
  // May be called through a null factor.
  static void ListenerRemove(TdxScaleFactor* AFactor, const TdxScaleFactorNotifyEvent& AHandler);
  void ListenerRemove(const TdxScaleFactorNotifyEvent& AEventHandler) {
    ListenerRemove(this, AEventHandler);
  }
  Integer ListenerCount() const { return FListeners ? FListeners->Count() : 0; }

 protected:
  virtual void Changed(Integer M, Integer D, bool IsLoading);

 private:
  Integer FNumerator = 1;
  Integer FDenominator = 1;
  Integer FNotifying = 0;
  std::unique_ptr<TdxListenerList<TdxScaleFactorNotifyEvent>> FListeners;
};

// A factor that follows another one, its owner, until it gets a value of its
// own through a live change.
class TdxOwnedScaleFactor : public TdxScaleFactor {
  DECLARE_CLASS(TdxOwnedScaleFactor, TdxScaleFactor)
 public:
  void BeforeDestruction() override;

  TdxScaleFactor* Owner() const { return FOwner; }
  void SetOwner(TdxScaleFactor* AValue);
  bool UseOwnerValue() const { return FUseOwnerValue; }
  void SetUseOwnerValue(bool AValue);
  void SynchronizeValue(bool AIsLoading);

 protected:
  void Changed(Integer M, Integer D, bool IsLoading) override;

 private:
  void OwnerChangeHandler(TObject* Sender, Integer M, Integer D, bool IsLoading);
  TdxScaleFactor* FOwner = nullptr;
  bool FUseOwnerValue = true;
};

// ---------------------------------------------------------------------------
// Matrix

enum TdxTransformationOrder { moPrepend, moAppend };

namespace TdxXFormHelper {
XFORM CreateMatrix(Single M11, Single M12, Single M21, Single M22, Single DX, Single DY);
XFORM CreateIdentityMatrix();
XFORM CreateScaleMatrix(Single AScaleX, Single AScaleY);
XFORM CreateTranslateMatrix(Single AOffsetX, Single AOffsetY);
XFORM CreateRotationMatrix(Single AAngle);
XFORM CreateFlip(bool AFlipHorizontally, bool AFlipVertically, Single APivotPointX,
                 Single APivotPointY);
// AMatrix1 applied first, then AMatrix2.
XFORM Combine(const XFORM& AMatrix1, const XFORM& AMatrix2);
bool IsIdentity(const XFORM& AMatrix);
TdxPointF Transform(const XFORM& AMatrix, const TdxPointF& P);
}  // namespace TdxXFormHelper

class TdxMatrix : public TObject {
  DECLARE_CLASS(TdxMatrix, TObject)
 public:
  TdxMatrix() : FMatrix(TdxXFormHelper::CreateIdentityMatrix()) {}
  TdxMatrix(Single M11, Single M12, Single M21, Single M22, Single DX, Single DY)
      : FMatrix(TdxXFormHelper::CreateMatrix(M11, M12, M21, M22, DX, DY)) {}
  explicit TdxMatrix(const TdxMatrix* M) : FMatrix(M->FMatrix) {}

  const XFORM& Matrix() const { return FMatrix; }
  void Assign(const TdxMatrix* M) { FMatrix = M->FMatrix; }
  void Assign(Single M11, Single M12, Single M21, Single M22, Single DX, Single DY) {
    FMatrix = TdxXFormHelper::CreateMatrix(M11, M12, M21, M22, DX, DY);
  }
  void Reset() { FMatrix = TdxXFormHelper::CreateIdentityMatrix(); }
  bool IsIdentity() const { return TdxXFormHelper::IsIdentity(FMatrix); }

  TdxPointF Transform(const TdxPointF& APoint) const;
  TdxRectF Transform(const TdxRectF& ARect) const;

  void Multiply(const TdxMatrix* M, TdxTransformationOrder AOrder = moPrepend);
  void Rotate(Single AAngle, TdxTransformationOrder AOrder = moPrepend);
  void Rotate(Single AAngle, const TPoint& APivotPoint, TdxTransformationOrder AOrder = moPrepend);
  void Rotate(Single AAngle, const TdxPointF& APivotPoint,
              TdxTransformationOrder AOrder = moPrepend);
  void Scale(Single AScaleX, Single AScaleY, TdxTransformationOrder AOrder = moPrepend);
  void Scale(const TdxPointF& AScale, TdxTransformationOrder AOrder = moPrepend);
  void Translate(Single DX, Single DY, TdxTransformationOrder AOrder = moPrepend);
  void Translate(const TdxPointF& AOffset, TdxTransformationOrder AOrder = moPrepend);

 private:
  void DoMultiply(const XFORM& AXForm, TdxTransformationOrder AOrder);
  XFORM FMatrix;
};

// ---------------------------------------------------------------------------
// Persistent geometry objects, published as nested properties and streamed
// in raw form as little-endian 32-bit integers without a header.

class TcxGeometryObject : public TcxOwnedPersistent {
  DECLARE_CLASS(TcxGeometryObject, TcxOwnedPersistent)
 public:
  using TcxOwnedPersistent::TcxOwnedPersistent;
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(const TNotifyEvent& AValue) { FOnChange = AValue; }
  virtual void ChangeScale(Integer M, Integer D) {}
  virtual void LoadFromStream(TStream* AStream) {}
  virtual void SaveToStream(TStream* AStream) {}

 protected:
  virtual void DoChange();

 private:
  TNotifyEvent FOnChange;
};

class TcxRect : public TcxGeometryObject {
  DECLARE_CLASS(TcxRect, TcxGeometryObject)
 public:
  using TcxGeometryObject::TcxGeometryObject;

  const TRect& Rect() const { return FRect; }
  void SetRect(const TRect& AValue);
  Integer GetValue(Integer AIndex) const;
  void SetValue(Integer AIndex, Integer AValue);
  Integer Left() const { return FRect.left; }
  Integer Top() const { return FRect.top; }
  Integer Right() const { return FRect.right; }
  Integer Bottom() const { return FRect.bottom; }
  void SetLeft(Integer AValue) { SetValue(0, AValue); }
  void SetTop(Integer AValue) { SetValue(1, AValue); }
  void SetRight(Integer AValue) { SetValue(2, AValue); }
  void SetBottom(Integer AValue) { SetValue(3, AValue); }
  Integer Width() const { return FRect.right - FRect.left; }
  Integer Height() const { return FRect.bottom - FRect.top; }
  void SetWidth(Integer AValue) { SetValue(2, FRect.left + AValue); }
  void SetHeight(Integer AValue) { SetValue(3, FRect.top + AValue); }
  // 0 top-left, 1 top-right, 2 bottom-left, any other bottom-right.
  TPoint Vertex(Integer AIndex) const;
  void SetVertex(Integer AIndex, const TPoint& AValue);
  bool IsEmpty() const { return !(FRect.left < FRect.right && FRect.top < FRect.bottom); }
  bool IsEqual(const TRect& ARect) const { return FRect == ARect; }
  bool IsEqual(const TcxRect* ARect) const { return FRect == ARect->FRect; }

  void ChangeScale(Integer M, Integer D) override;
  void LoadFromStream(TStream* AStream) override;
  void SaveToStream(TStream* AStream) override;

 protected:
  void DoAssign(TcxOwnedPersistent* Source) override;
  // Descendants may correct a rectangle before it is stored.
  virtual void ValidateRect(TRect& R) {}

 private:
  TRect FRect{};
};

class TcxSize : public TcxGeometryObject {
  DECLARE_CLASS(TcxSize, TcxGeometryObject)
 public:
  TcxSize(TPersistent* AOwner, Integer ADefaultWidth = 0, Integer ADefaultHeight = 0)
      : TcxGeometryObject(AOwner),
        FDefaultSize{ADefaultWidth, ADefaultHeight},
        FSize{ADefaultWidth, ADefaultHeight} {}

  // Index 0 is the height, any other the width.
  virtual Integer GetValue(Integer AIndex) const;
  void SetValue(Integer AIndex, Integer AValue);
  virtual bool IsSizeStored(Integer AIndex) const;
  TSize GetSize() const { return TSize{GetValue(1), GetValue(0)}; }
  virtual void SetSize(const TSize& AValue);
  Integer Width() const { return GetValue(1); }
  Integer Height() const { return GetValue(0); }
  void SetWidth(Integer AValue) { SetValue(1, AValue); }
  void SetHeight(Integer AValue) { SetValue(0, AValue); }
  bool IsWidthStored() const { return IsSizeStored(1); }
  bool IsHeightStored() const { return IsSizeStored(0); }
  bool IsEmpty() const { return Width() == 0 && Height() == 0; }
  bool IsEqual(const TSize& ASize) const { return GetSize() == ASize; }
  bool IsEqual(const TcxSize* ASize) const { return GetSize() == ASize->GetSize(); }

  void ChangeScale(Integer M, Integer D) override;
  void LoadFromStream(TStream* AStream) override;
  void SaveToStream(TStream* AStream) override;

 protected:
  void DoAssign(TcxOwnedPersistent* Source) override;

 private:
  TSize FDefaultSize;
  TSize FSize;
};

class TcxMargin : public TcxGeometryObject {
  DECLARE_CLASS(TcxMargin, TcxGeometryObject)
 public:
  TcxMargin(TPersistent* AOwner, Integer ADefaultValue = 0)
      : TcxGeometryObject(AOwner),
        FDefaultValue(ADefaultValue),
        FMargin{ADefaultValue, ADefaultValue, ADefaultValue, ADefaultValue} {}

  const TRect& Margin() const { return FMargin; }
  void SetMargin(const TRect& AValue);
  // 0 All (the common value, -1 when the sides differ), 1 Left, 2 Top,
  // 3 Right, 4 Bottom.
  Integer GetValue(Integer AIndex) const;
  void SetValue(Integer AIndex, Integer AValue);
  bool IsMarginStored(Integer AIndex) const;
  Integer All() const { return GetValue(0); }
  Integer Left() const { return GetValue(1); }
  Integer Top() const { return GetValue(2); }
  Integer Right() const { return GetValue(3); }
  Integer Bottom() const { return GetValue(4); }
  void SetAll(Integer AValue) { SetValue(0, AValue); }
  void SetLeft(Integer AValue) { SetValue(1, AValue); }
  void SetTop(Integer AValue) { SetValue(2, AValue); }
  void SetRight(Integer AValue) { SetValue(3, AValue); }
  void SetBottom(Integer AValue) { SetValue(4, AValue); }
  bool IsAllStored() const { return IsMarginStored(0); }
  bool IsSideStored() const { return IsMarginStored(1); }
  bool IsEqual(const TcxMargin* AMargin) const { return FMargin == AMargin->FMargin; }

  // Rescales without telling OnChange (unlike TcxRect and TcxSize).
  void ChangeScale(Integer M, Integer D) override;
  void LoadFromStream(TStream* AStream) override;
  void SaveToStream(TStream* AStream) override;

 protected:
  void DoAssign(TcxOwnedPersistent* Source) override;

 private:
  Integer FDefaultValue;
  TRect FMargin;
};

// Registers the persistent classes that streamed forms may name.
void cxGeometry_Initialize();
void cxGeometry_Finalize();
