// Matrix, brushes, pens, paths, regions, string formats, font families,
// fonts and the GDI+ memory stream.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "dxGDIPlusClasses.h"

namespace {
// The runtime's single-precision "same value" test: relative 1E-4, at least
// 1E-4.
bool SameSingle(Single A, Single B) {
  Single Epsilon = std::max(std::min(std::fabs(A), std::fabs(B)) * 1E-4f, 1E-4f);
  return std::fabs(A - B) <= Epsilon;
}

[[noreturn]] void RaiseListIndexError(Integer Index) {
  throw Exception(Format(L"List index out of bounds (%d)", {Index}));
}

LONG RoundHalfEven(Single V) { return static_cast<LONG>(std::nearbyint(V)); }

const Gdiplus::DashStyle GpPenStyleToDashStyle[] = {DashStyleSolid, DashStyleDash, DashStyleDot,
                                                    DashStyleDashDot, DashStyleDashDotDot};
const Gdiplus::DashCap PenDashCapStyleToGpDashCap[] = {DashCapFlat, DashCapRound, DashCapTriangle};
const Gdiplus::LineCap PenLineStyleToGpLineCap[] = {LineCapFlat, LineCapSquare, LineCapRound};
const std::vector<Single> DashPatterns[] = {{}, {9, 4}, {2, 4}, {9, 4, 2, 4}, {9, 4, 2, 4, 2, 4}};
const Single TranslateDirectionMap[] = {1, -1};
const Single FlipValueMap[] = {1, -1};

// A GDI+ object deleted when the scope ends unless released.
template <class T, Status (*Delete)(T*)>
class TGpHolder {
 public:
  TGpHolder() = default;
  ~TGpHolder() {
    if (FHandle) Delete(FHandle);
  }
  TGpHolder(const TGpHolder&) = delete;
  TGpHolder& operator=(const TGpHolder&) = delete;
  T* Get() const { return FHandle; }
  T** Out() { return &FHandle; }

 private:
  T* FHandle = nullptr;
};
Status DeleteGpFontFamily(GpFontFamily* H) { return GdipDeleteFontFamily(H); }
Status DeleteGpStringFormat(GpStringFormat* H) { return GdipDeleteStringFormat(H); }

// The screen's GDI+ graphics for a measurement.
class TScreenGraphics {
 public:
  TScreenGraphics() : FDC(GetDC(nullptr)), FCanvas(Create<TdxGPCanvas>(FDC)) {}
  ~TScreenGraphics() {
    FCanvas.reset();
    ReleaseDC(nullptr, FDC);
  }
  TScreenGraphics(const TScreenGraphics&) = delete;
  TScreenGraphics& operator=(const TScreenGraphics&) = delete;
  TdxGPCanvas* Canvas() const { return FCanvas.get(); }

 private:
  HDC FDC;
  TOwned<TdxGPCanvas> FCanvas;
};
}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TdxGPCustomGraphicObject)

void TdxGPCustomGraphicObject::BeforeDestruction() {
  FreeHandle();
  TdxGpBase::BeforeDestruction();
}

void* TdxGPCustomGraphicObject::Handle() {
  HandleNeeded();
  return FHandle;
}

void TdxGPCustomGraphicObject::HandleNeeded() {
  if (FHandle) return;
  ++FChangeLockCount;
  auto Unlock = Finally([&] { --FChangeLockCount; });
  DoCreateHandle(FHandle);
  DoHandleCreated();
}

void TdxGPCustomGraphicObject::FreeHandle() {
  if (!FHandle) return;
  void* H = FHandle;
  FHandle = nullptr;
  DoFreeHandle(H);
}

void TdxGPCustomGraphicObject::Changed() {
  if (FChangeLockCount == 0) dxCallNotify(OnChange, this);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPMatrix)

TdxGPMatrix* TdxGPMatrix::CreateEx(Single M11, Single M12, Single M21, Single M22, Single DX,
                                   Single DY) {
  TOwned<TdxGPMatrix> R(Create<TdxGPMatrix>());
  R->SetElements(M11, M12, M21, M22, DX, DY);
  return R.release();
}

TdxGPMatrix* TdxGPMatrix::CreateEx(const XFORM& AXForm) {
  return CreateEx(AXForm.eM11, AXForm.eM12, AXForm.eM21, AXForm.eM22, AXForm.eDx, AXForm.eDy);
}

TdxGPMatrix* TdxGPMatrix::CreateFlip(bool AFlipHorizontally, bool AFlipVertically,
                                     Single APivotPointX, Single APivotPointY) {
  return CreateEx(FlipValueMap[AFlipHorizontally], 0, 0, FlipValueMap[AFlipVertically],
                  AFlipHorizontally ? 2 * APivotPointX : 0, AFlipVertically ? 2 * APivotPointY : 0);
}

TdxGPMatrix* TdxGPMatrix::CreateFlip(bool AFlipHorizontally, bool AFlipVertically,
                                     const TdxPointF& APivotPoint) {
  return CreateFlip(AFlipHorizontally, AFlipVertically, APivotPoint.X, APivotPoint.Y);
}

TdxGPMatrix* TdxGPMatrix::Clone(TdxGPMatrix* AMatrix) {
  if (!AMatrix) return nullptr;
  TOwned<TdxGPMatrix> R(Create<TdxGPMatrix>());
  R->Assign(AMatrix);
  return R.release();
}

void TdxGPMatrix::Assign(TdxGPCustomGraphicObject* ASource) {
  auto* M = AsOrNull<TdxGPMatrix>(ASource);
  if (!M) return;
  Single E[6];
  M->GetElements(E[0], E[1], E[2], E[3], E[4], E[5]);
  SetElements(E[0], E[1], E[2], E[3], E[4], E[5]);
}

void TdxGPMatrix::DoCreateHandle(void*& AHandle) {
  GpMatrix* M = nullptr;
  GdipCheck(GdipCreateMatrix(&M));
  AHandle = M;
}

void TdxGPMatrix::DoFreeHandle(void* AHandle) { GdipDeleteMatrix(static_cast<GpMatrix*>(AHandle)); }

void TdxGPMatrix::GetElements(Single& M11, Single& M12, Single& M21, Single& M22, Single& DX,
                              Single& DY) {
  Single E[6];
  GdipCheck(GdipGetMatrixElements(NativeHandle(), E));
  M11 = E[0];
  M12 = E[1];
  M21 = E[2];
  M22 = E[3];
  DX = E[4];
  DY = E[5];
}

void TdxGPMatrix::SetElements(Single M11, Single M12, Single M21, Single M22, Single DX,
                              Single DY) {
  GdipCheck(GdipSetMatrixElements(NativeHandle(), M11, M12, M21, M22, DX, DY));
  Changed();
}

void TdxGPMatrix::Invert() {
  GdipCheck(GdipInvertMatrix(NativeHandle()));
  Changed();
}

void TdxGPMatrix::Multiply(TdxGPMatrix* AMatrix, MatrixOrder AMatrixOrder) {
  GdipCheck(GdipMultiplyMatrix(NativeHandle(), AMatrix->NativeHandle(), AMatrixOrder));
  Changed();
}

void TdxGPMatrix::Rotate(Single AAngle, MatrixOrder AMatrixOrder) {
  GdipCheck(GdipRotateMatrix(NativeHandle(), AAngle, AMatrixOrder));
  Changed();
}

void TdxGPMatrix::Rotate(Single AAngle, const TdxPointF& APivotPoint, MatrixOrder AMatrixOrder) {
  Single D = TranslateDirectionMap[AMatrixOrder];
  Translate(D * APivotPoint.X, D * APivotPoint.Y, AMatrixOrder);
  Rotate(AAngle, AMatrixOrder);
  Translate(-D * APivotPoint.X, -D * APivotPoint.Y, AMatrixOrder);
}

void TdxGPMatrix::Scale(Single AScaleX, Single AScaleY, MatrixOrder AMatrixOrder) {
  GdipCheck(GdipScaleMatrix(NativeHandle(), AScaleX, AScaleY, AMatrixOrder));
  Changed();
}

void TdxGPMatrix::Scale(const TdxPointF& AScale, MatrixOrder AMatrixOrder) {
  Scale(AScale.X, AScale.Y, AMatrixOrder);
}

void TdxGPMatrix::Scale(const TdxPointF& AScale, const TdxPointF& ACenter) {
  SetElements(AScale.X, 0, 0, AScale.Y, ACenter.X - AScale.X * ACenter.X,
              ACenter.Y - AScale.Y * ACenter.Y);
}

void TdxGPMatrix::Shear(Single AShearX, Single AShearY, MatrixOrder AMatrixOrder) {
  GdipCheck(GdipShearMatrix(NativeHandle(), AShearX, AShearY, AMatrixOrder));
  Changed();
}

void TdxGPMatrix::Shear(const TdxPointF& AShear, MatrixOrder AMatrixOrder) {
  Shear(AShear.X, AShear.Y, AMatrixOrder);
}

void TdxGPMatrix::Translate(Single AOffsetX, Single AOffsetY, MatrixOrder AMatrixOrder) {
  GdipCheck(GdipTranslateMatrix(NativeHandle(), AOffsetX, AOffsetY, AMatrixOrder));
  Changed();
}

void TdxGPMatrix::Translate(const TdxPointF& AOffset, MatrixOrder AMatrixOrder) {
  Translate(AOffset.X, AOffset.Y, AMatrixOrder);
}

void TdxGPMatrix::Flip(bool AFlipHorizontally, bool AFlipVertically, const TdxPointF& APivotPoint) {
  if (!AFlipHorizontally && !AFlipVertically) return;
  TOwned<TdxGPMatrix> F(CreateFlip(AFlipHorizontally, AFlipVertically, APivotPoint));
  Multiply(F.get(), MatrixOrderAppend);
}

TdxPointF TdxGPMatrix::TransformPoint(const TdxPointF& P) {
  Single M11, M12, M21, M22, DX, DY;
  GetElements(M11, M12, M21, M22, DX, DY);
  return TdxPointF{P.X * M11 + P.Y * M21 + DX, P.X * M12 + P.Y * M22 + DY};
}

TPoint TdxGPMatrix::TransformPoint(const TPoint& P) {
  TdxPointF R = TransformPoint(TdxPointF::Create(P));
  return TPoint{RoundHalfEven(R.X), RoundHalfEven(R.Y)};
}

void TdxGPMatrix::TransformPoints(std::vector<TPoint>& APoints) {
  TransformPointsI(APoints.data(), static_cast<Integer>(APoints.size()));
}

void TdxGPMatrix::TransformPoints(std::vector<TdxPointF>& APoints) {
  for (TdxPointF& P : APoints) P = TransformPoint(P);
}

void TdxGPMatrix::TransformPointsI(TPoint* APoints, Integer ACount) {
  for (Integer I = 0; I < ACount; ++I) APoints[I] = TransformPoint(APoints[I]);
}

TdxRectF TdxGPMatrix::TransformRect(const TdxRectF& R) {
  TdxPointF A = TransformPoint(TdxPointF{R.Left, R.Top});
  TdxPointF B = TransformPoint(TdxPointF{R.Right, R.Bottom});
  return TdxRectF{A.X, A.Y, B.X, B.Y};
}

TRect TdxGPMatrix::TransformRect(const TRect& R) {
  TPoint A = TransformPoint(TPoint{R.left, R.top});
  TPoint B = TransformPoint(TPoint{R.right, R.bottom});
  return TRect{A.x, A.y, B.x, B.y};
}

TdxRectF TdxGPMatrix::GetBoundingRectangle(const TdxRectF& R) {
  TdxPointF P[4] = {
      TransformPoint(TdxPointF{R.Left, R.Top}), TransformPoint(TdxPointF{R.Right, R.Top}),
      TransformPoint(TdxPointF{R.Left, R.Bottom}), TransformPoint(TdxPointF{R.Right, R.Bottom})};
  TdxRectF Result{P[0].X, P[0].Y, P[0].X, P[0].Y};
  for (const TdxPointF& Q : P) {
    Result.Left = std::min(Result.Left, Q.X);
    Result.Top = std::min(Result.Top, Q.Y);
    Result.Right = std::max(Result.Right, Q.X);
    Result.Bottom = std::max(Result.Bottom, Q.Y);
  }
  return Result;
}

bool TdxGPMatrix::IsIdentity() {
  BOOL R = FALSE;
  GdipCheck(GdipIsMatrixIdentity(NativeHandle(), &R));
  return R != FALSE;
}

bool TdxGPMatrix::IsInvertible() {
  BOOL R = FALSE;
  GdipCheck(GdipIsMatrixInvertible(NativeHandle(), &R));
  return R != FALSE;
}

Single TdxGPMatrix::OffsetX() {
  Single E[6];
  GetElements(E[0], E[1], E[2], E[3], E[4], E[5]);
  return E[4];
}

Single TdxGPMatrix::OffsetY() {
  Single E[6];
  GetElements(E[0], E[1], E[2], E[3], E[4], E[5]);
  return E[5];
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPBrushGradientPoints)

TdxGPBrushGradientPoints::TdxGPBrushGradientPoints() : FColors(2), FOffsets(2) {}

void TdxGPBrushGradientPoints::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= FCount) RaiseListIndexError(Index);
}

void TdxGPBrushGradientPoints::Grow() {
  Integer Delta = FCapacity <= 16 ? 16 : FCapacity <= 128 ? 32 : FCapacity / 2;
  SetCapacity(FCapacity + Delta);
}

void TdxGPBrushGradientPoints::SetCapacity(Integer AValue) {
  AValue = std::max(0, AValue);
  if (AValue == FCapacity) return;
  FColors.resize(static_cast<size_t>(AValue) + 2);
  FOffsets.resize(static_cast<size_t>(AValue) + 2);
  FCapacity = AValue;
  if (FCapacity < FCount) {
    FCount = FCapacity;
    Changed();
  }
}

Integer TdxGPBrushGradientPoints::Add(TdxAlphaColor AColor, Single AOffset) {
  if (FCount == FCapacity) Grow();
  Integer Result = FCount;
  FColors[static_cast<size_t>(FCount) + 1] = AColor;
  FOffsets[static_cast<size_t>(FCount) + 1] = AOffset;
  ++FCount;
  Changed();
  return Result;
}

void TdxGPBrushGradientPoints::Changed() {
  // Colour and offset move together; the order of equal offsets is open.
  std::vector<std::pair<Single, TdxAlphaColor>> Stops;
  for (Integer I = 1; I <= FCount; ++I) Stops.emplace_back(FOffsets[I], FColors[I]);
  std::stable_sort(Stops.begin(), Stops.end(),
                   [](const auto& A, const auto& B) { return A.first < B.first; });
  for (Integer I = 1; I <= FCount; ++I) {
    FOffsets[I] = Stops[static_cast<size_t>(I) - 1].first;
    FColors[I] = Stops[static_cast<size_t>(I) - 1].second;
  }
  dxCallNotify(OnChange, this);
}

void TdxGPBrushGradientPoints::Assign(TdxGPBrushGradientPoints* Source) {
  if (!Source || Source == this) return;
  Clear();
  SetCapacity(Source->Count());
  for (Integer I = 1; I <= Source->Count(); ++I) {
    FColors[I] = Source->FColors[I];
    FOffsets[I] = Source->FOffsets[I];
  }
  FCount = Source->Count();
  Changed();
}

void TdxGPBrushGradientPoints::Delete(Integer Index) {
  CheckIndex(Index);
  for (Integer I = Index + 1; I < FCount; ++I) {
    FColors[I] = FColors[I + 1];
    FOffsets[I] = FOffsets[I + 1];
  }
  --FCount;
  Changed();
}

void TdxGPBrushGradientPoints::InvertOrder() {
  if (FCount < 2) return;
  std::reverse(FColors.begin() + 1, FColors.begin() + 1 + FCount);
  std::reverse(FOffsets.begin() + 1, FOffsets.begin() + 1 + FCount);
  for (Integer I = 1; I <= FCount; ++I) FOffsets[I] = 1 - FOffsets[I];
  Changed();
}

TdxAlphaColor TdxGPBrushGradientPoints::GetColor(Integer Index) const {
  CheckIndex(Index);
  return FColors[static_cast<size_t>(Index) + 1];
}

void TdxGPBrushGradientPoints::SetColor(Integer Index, TdxAlphaColor AValue) {
  CheckIndex(Index);
  if (FColors[static_cast<size_t>(Index) + 1] == AValue) return;
  FColors[static_cast<size_t>(Index) + 1] = AValue;
  Changed();
}

Single TdxGPBrushGradientPoints::GetOffset(Integer Index) const {
  CheckIndex(Index);
  return FOffsets[static_cast<size_t>(Index) + 1];
}

void TdxGPBrushGradientPoints::SetOffset(Integer Index, Single AValue) {
  CheckIndex(Index);
  if (SameSingle(FOffsets[static_cast<size_t>(Index) + 1], AValue)) return;
  FOffsets[static_cast<size_t>(Index) + 1] = AValue;
  Changed();
}

void TdxGPBrushGradientPoints::CalculateParams(TdxAlphaColor*& AColors, Single*& AOffsets,
                                               Integer& ACount) {
  ACount = FCount;
  size_t First = 1;
  if (FCount > 0 && FOffsets[1] > 0) {
    First = 0;
    FColors[0] = dxacNone;
    FOffsets[0] = 0;
    ++ACount;
  }
  if (FCount > 0 && FOffsets[FCount] < 1) {
    FColors[static_cast<size_t>(FCount) + 1] = dxacNone;
    FOffsets[static_cast<size_t>(FCount) + 1] = 1.0f;
    ++ACount;
  }
  AColors = FColors.data() + First;
  AOffsets = FOffsets.data() + First;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TdxGPCustomBrush)

void TdxGPCustomBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  if (auto* B = AsOrNull<TdxGPCustomBrush>(ASource)) FTargetRect = B->FTargetRect;
}

void TdxGPCustomBrush::DoFreeHandle(void* AHandle) {
  GdipDeleteBrush(static_cast<GpBrush*>(AHandle));
}

void TdxGPCustomBrush::SetTargetRect(const TdxGpRectF& R) {
  TdxGpRectF Stored(R.X - 1, R.Y - 1, R.Width + 2, R.Height + 2);
  if (dxGpRectIsEqual(Stored, FTargetRect)) return;
  FTargetRect = Stored;
  DoTargetRectChanged();
}

void TdxGPCustomBrush::SetTargetRect(const TRect& R) { SetTargetRect(TdxGpRectF(R)); }
void TdxGPCustomBrush::SetTargetRect(const TdxRectF& R) { SetTargetRect(TdxGpRectF(R)); }
void TdxGPCustomBrush::SetTargetRect(const TdxGpRect& R) { SetTargetRect(dxGpMakeRectF(R)); }

void TdxGPCustomBrush::DoTargetRectChanged() {
  if (NeedRecreateHandleOnTargetRectChange()) FreeHandle();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPBrush)

TdxGPBrush::TdxGPBrush()
    : FGradientPoints(Create<TdxGPBrushGradientPoints>()),
      FTexture(Create<TdxGPImage>()),
      FTextureTransform(Create<TdxGPMatrix>()) {
  FGradientPoints->OnChange = MakeEvent<&TdxGPBrush::GradientPointsChanged>(this);
  FTexture->OnChange = MakeEvent<&TdxGPBrush::TextureChanged>(this);
  FTextureTransform->OnChange = MakeEvent<&TdxGPBrush::TextureChanged>(this);
}

TdxGPBrush::~TdxGPBrush() { FreeHandle(); }

void TdxGPBrush::DoCreateHandle(void*& AHandle) {
  switch (FStyle) {
    case gpbsSolid: {
      GpSolidFill* B = nullptr;
      GdipCheck(GdipCreateSolidFill(dxAlphaColorValue(FColor), &B));
      AHandle = B;
      break;
    }
    case gpbsGradient:
      CreateGradientBrushHandle(AHandle);
      break;
    case gpbsTexture:
      CreateTextureBrushHandle(AHandle);
      break;
    case gpbsClear:
      CreateEmptyBrushHandle(AHandle);
      break;
  }
}

void TdxGPBrush::DoHandleCreated() { dxCallNotify(OnHandleCreated, this); }

void TdxGPBrush::CreateEmptyBrushHandle(void*& AHandle) {
  GpSolidFill* B = nullptr;
  GdipCheck(GdipCreateSolidFill(0, &B));
  AHandle = B;
}

void TdxGPBrush::CreateGradientBrushHandle(void*& AHandle) {
  if (FGradientPoints->Count() == 0 || FTargetRect.Width == 0 || FTargetRect.Height == 0) {
    CreateEmptyBrushHandle(AHandle);
    return;
  }
  Gdiplus::GpRectF R(FTargetRect.X, FTargetRect.Y, FTargetRect.Width, FTargetRect.Height);
  GpLineGradient* B = nullptr;
  GdipCheck(GdipCreateLineBrushFromRect(&R, 0, 0, static_cast<LinearGradientMode>(FGradientMode),
                                        WrapModeTileFlipX, &B));
  AHandle = B;
  TdxAlphaColor* Colors;
  Single* Offsets;
  Integer Count;
  FGradientPoints->CalculateParams(Colors, Offsets, Count);
  GdipCheck(GdipSetLinePresetBlend(B, reinterpret_cast<const ARGB*>(Colors), Offsets, Count));
}

void TdxGPBrush::CreateTextureBrushHandle(void*& AHandle) {
  if (FTexture->Empty()) {
    CreateEmptyBrushHandle(AHandle);
    return;
  }
  GpTexture* B = nullptr;
  GdipCheck(GdipCreateTexture(FTexture->Handle(), WrapModeTile, &B));
  AHandle = B;
  if (FTextureTransform->HandleAllocated())
    GdipCheck(GdipSetTextureTransform(B, FTextureTransform->NativeHandle()));
}

void TdxGPBrush::ApplyTextureTransform() {
  if (FStyle != gpbsTexture || !FTextureTransform->HandleAllocated()) return;
  GdipCheck(GdipSetTextureTransform(static_cast<GpTexture*>(Handle()),
                                    FTextureTransform->NativeHandle()));
}

bool TdxGPBrush::GetIsEmpty() {
  switch (FStyle) {
    case gpbsSolid:
      return FColor == dxacNone;
    case gpbsGradient:
      return FGradientPoints->Count() == 0;
    case gpbsTexture:
      return FTexture->Empty();
    default:
      return true;
  }
}

void TdxGPBrush::SetColor(TdxAlphaColor AValue) {
  if (AValue == FColor) return;
  FColor = AValue;
  if (HandleAllocated() && FStyle == gpbsSolid)
    GdipCheck(GdipSetSolidFillColor(static_cast<GpSolidFill*>(FHandle), dxAlphaColorValue(FColor)));
  Changed();
}

void TdxGPBrush::SetGradientMode(TdxGPBrushGradientMode AValue) {
  if (AValue == FGradientMode) return;
  FGradientMode = AValue;
  if (FStyle == gpbsGradient) FreeHandle();
  Changed();
}

void TdxGPBrush::SetStyle(TdxGPBrushStyle AValue) {
  if (AValue == FStyle) return;
  FStyle = AValue;
  FreeHandle();
  Changed();
}

void TdxGPBrush::SetTexture(TdxGPImage* AValue) { FTexture->Assign(AValue); }

void TdxGPBrush::SetTextureTransform(TdxGPMatrix* AValue) { FTextureTransform->Assign(AValue); }

void TdxGPBrush::GradientPointsChanged(TObject*) {
  if (FStyle == gpbsGradient) FreeHandle();
  Changed();
}

void TdxGPBrush::TextureChanged(TObject*) {
  if (FStyle == gpbsTexture) {
    FreeHandle();
    ApplyTextureTransform();
  }
  Changed();
}

void TdxGPBrush::DoTargetRectChanged() {
  TdxGPCustomBrush::DoTargetRectChanged();
  if (FStyle != gpbsTexture) return;
  ApplyTextureTransform();
  GdipCheck(GdipTranslateTextureTransform(static_cast<GpTexture*>(Handle()), FTargetRect.X,
                                          FTargetRect.Y, MatrixOrderAppend));
}

void TdxGPBrush::Assign(TdxGPCustomGraphicObject* ASource) {
  TdxGPCustomBrush::Assign(ASource);
  auto* B = AsOrNull<TdxGPBrush>(ASource);
  if (!B || B == this) return;
  SetColor(B->Color());
  SetGradientMode(B->GradientMode());
  SetGradientPoints(B->GradientPoints());
  SetTexture(B->Texture());
  SetTextureTransform(B->TextureTransform());
  SetStyle(B->Style());
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPPen)

TdxGPPen::TdxGPPen(TdxAlphaColor AColor, Single AWidth, TdxGPPenStyle APenStyle)
    : FInitialColor(AColor), FInitialStyle(APenStyle), FWidth(AWidth) {}

TdxGPPen::~TdxGPPen() { FreeHandle(); }

void TdxGPPen::AfterConstruction() {
  TdxGPCustomGraphicObject::AfterConstruction();
  FBrush.reset(CreateBrush());
  FBrush->SetColor(FInitialColor);
  FBrush->OnChange = MakeEvent<&TdxGPPen::BrushChanged>(this);
  FBrush->OnHandleCreated = MakeEvent<&TdxGPPen::BrushChanged>(this);
  if (FInitialStyle != gppsSolid) SetDashArray(DashPatterns[FInitialStyle]);
}

TdxGPBrush* TdxGPPen::CreateBrush() { return Create<TdxGPBrush>(); }

void TdxGPPen::HandleNeeded() {
  FBrush->HandleNeeded();
  TdxGPCustomGraphicObject::HandleNeeded();
}

void TdxGPPen::DoCreateHandle(void*& AHandle) {
  GpPen* P = nullptr;
  GdipCheck(GdipCreatePen2(FBrush->NativeHandle(), FWidth, UnitPixel, &P));
  AHandle = P;
  GdipCheck(GdipSetPenDashStyle(P, GpPenStyleToDashStyle[FStyle]));
  GdipCheck(GdipSetPenDashCap197819(P, PenDashCapStyleToGpDashCap[FDashCapStyle]));
  GdipCheck(GdipSetPenStartCap(P, PenLineStyleToGpLineCap[FLineStartCapStyle]));
  GdipCheck(GdipSetPenLineJoin(P, FLineJoin));
  GdipCheck(GdipSetPenEndCap(P, PenLineStyleToGpLineCap[FLineEndCapStyle]));
  GdipCheck(GdipSetPenMiterLimit(P, FMiterLimit));
}

void TdxGPPen::DoFreeHandle(void* AHandle) { GdipDeletePen(static_cast<GpPen*>(AHandle)); }

void TdxGPPen::BrushChanged(TObject*) {
  if (HandleAllocated())
    GdipCheck(GdipSetPenBrushFill(static_cast<GpPen*>(FHandle), FBrush->NativeHandle()));
}

void TdxGPPen::SetDashArray(const std::vector<Single>& AValue) {
  if (AValue.empty()) {
    SetStyle(gppsSolid);
    return;
  }
  GdipCheck(GdipSetPenDashArray(NativeHandle(), AValue.data(), static_cast<INT>(AValue.size())));
  FStyle = gppsDashDotDot;
  Changed();
}

void TdxGPPen::SetStyle(TdxGPPenStyle AValue) {
  if (AValue == FStyle && AValue != gppsDashDotDot) return;
  FStyle = AValue;
  if (HandleAllocated())
    GdipCheck(GdipSetPenDashStyle(static_cast<GpPen*>(FHandle), GpPenStyleToDashStyle[FStyle]));
  Changed();
}

void TdxGPPen::SetWidth(Single AValue) {
  AValue = std::max(0.0f, AValue);
  if (SameSingle(AValue, FWidth)) return;
  FWidth = AValue;
  if (HandleAllocated()) GdipCheck(GdipSetPenWidth(static_cast<GpPen*>(FHandle), FWidth));
  Changed();
}

void TdxGPPen::SetMiterLimit(Single AValue) {
  if (AValue == FMiterLimit) return;
  FMiterLimit = AValue;
  if (HandleAllocated()) GdipCheck(GdipSetPenMiterLimit(static_cast<GpPen*>(FHandle), AValue));
  Changed();
}

void TdxGPPen::SetDashCapStyle(TdxGPPenDashCapStyle AValue) {
  if (AValue == FDashCapStyle) return;
  FDashCapStyle = AValue;
  if (HandleAllocated())
    GdipCheck(
        GdipSetPenDashCap197819(static_cast<GpPen*>(FHandle), PenDashCapStyleToGpDashCap[AValue]));
  Changed();
}

void TdxGPPen::SetLineStartCapStyle(TdxGPPenLineCapStyle AValue) {
  if (AValue == FLineStartCapStyle) return;
  FLineStartCapStyle = AValue;
  if (HandleAllocated())
    GdipCheck(GdipSetPenStartCap(static_cast<GpPen*>(FHandle), PenLineStyleToGpLineCap[AValue]));
  Changed();
}

void TdxGPPen::SetLineEndCapStyle(TdxGPPenLineCapStyle AValue) {
  if (AValue == FLineEndCapStyle) return;
  FLineEndCapStyle = AValue;
  if (HandleAllocated())
    GdipCheck(GdipSetPenEndCap(static_cast<GpPen*>(FHandle), PenLineStyleToGpLineCap[AValue]));
  Changed();
}

void TdxGPPen::SetLineJoin(TdxGpLineJoin AValue) {
  if (AValue == FLineJoin) return;
  FLineJoin = AValue;
  if (HandleAllocated()) GdipCheck(GdipSetPenLineJoin(static_cast<GpPen*>(FHandle), AValue));
  Changed();
}

void TdxGPPen::Assign(TdxGPCustomGraphicObject* ASource) {
  auto* P = AsOrNull<TdxGPPen>(ASource);
  if (!P || P == this) return;
  SetBrush(P->Brush());
  SetStyle(P->Style());
  SetWidth(P->Width());
  SetDashCapStyle(P->DashCapStyle());
  SetLineStartCapStyle(P->LineStartCapStyle());
  SetLineEndCapStyle(P->LineEndCapStyle());
  // A copy that drew joins differently would not be a copy.
  SetLineJoin(P->LineJoin());
  SetMiterLimit(P->MiterLimit());
}

bool TdxGPPen::GetIsEmpty() { return std::fabs(FWidth) <= 1E-4f || FBrush->IsEmpty(); }

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPPath)

TdxGPPath::TdxGPPath(TdxGPFillMode AFillMode) {
  GdipCheck(GdipCreatePath(static_cast<Gdiplus::FillMode>(AFillMode), &FHandle));
}

TdxGPPath::TdxGPPath(const TdxGpPointFDynArray& APoints, const std::vector<Byte>& APointTypes) {
  GdipCheck(GdipCreatePath2(reinterpret_cast<const Gdiplus::GpPointF*>(APoints.data()),
                            APointTypes.data(), static_cast<INT>(APoints.size()), FillModeAlternate,
                            &FHandle));
}

TdxGPPath::~TdxGPPath() {
  if (FHandle) GdipDeletePath(FHandle);
}

TdxGPFillMode TdxGPPath::FillMode() {
  Gdiplus::FillMode M = FillModeAlternate;
  GdipCheck(GdipGetPathFillMode(FHandle, &M));
  return static_cast<TdxGPFillMode>(M);
}

void TdxGPPath::SetFillMode(TdxGPFillMode AValue) {
  GdipCheck(GdipSetPathFillMode(FHandle, static_cast<Gdiplus::FillMode>(AValue)));
}

void TdxGPPath::FigureStart() { GdipCheck(GdipStartPathFigure(FHandle)); }
void TdxGPPath::FigureFinish() { GdipCheck(GdipClosePathFigure(FHandle)); }
void TdxGPPath::Reset() { GdipCheck(GdipResetPath(FHandle)); }

void TdxGPPath::AddArc(Single X, Single Y, Single Width, Single Height, Single StartAngle,
                       Single SweepAngle) {
  GdipCheck(GdipAddPathArc(FHandle, X, Y, Width, Height, StartAngle, SweepAngle));
}

void TdxGPPath::AddBezier(const TdxPointF& P1, const TdxPointF& P2, const TdxPointF& P3,
                          const TdxPointF& P4) {
  GdipCheck(GdipAddPathBezier(FHandle, P1.X, P1.Y, P2.X, P2.Y, P3.X, P3.Y, P4.X, P4.Y));
}

void TdxGPPath::AddEllipse(const TRect& R) {
  GdipCheck(GdipAddPathEllipseI(FHandle, R.left, R.top, R.right - R.left, R.bottom - R.top));
}

void TdxGPPath::AddEllipse(const TdxRectF& R) {
  GdipCheck(GdipAddPathEllipse(FHandle, R.Left, R.Top, R.Width(), R.Height()));
}

void TdxGPPath::AddLine(Single X1, Single Y1, Single X2, Single Y2) {
  GdipCheck(GdipAddPathLine(FHandle, X1, Y1, X2, Y2));
}

void TdxGPPath::AddPath(TdxGPPath* Path) {
  GdipCheck(GdipAddPathPath(FHandle, Path->Handle(), TRUE));
}

void TdxGPPath::AddPie(Single X, Single Y, Single Width, Single Height, Single StartAngle,
                       Single SweepAngle) {
  GdipCheck(GdipAddPathPie(FHandle, X, Y, Width, Height, StartAngle, SweepAngle));
}

void TdxGPPath::AddPolygon(const std::vector<TPoint>& APoints) {
  GdipCheck(GdipAddPathPolygonI(FHandle, reinterpret_cast<const Gdiplus::GpPoint*>(APoints.data()),
                                static_cast<INT>(APoints.size())));
}

void TdxGPPath::AddPolygon(const std::vector<TdxPointF>& APoints) {
  GdipCheck(GdipAddPathPolygon(FHandle, reinterpret_cast<const Gdiplus::GpPointF*>(APoints.data()),
                               static_cast<INT>(APoints.size())));
}

void TdxGPPath::AddPolyline(const std::vector<TPoint>& APoints) {
  GdipCheck(GdipAddPathLine2I(FHandle, reinterpret_cast<const Gdiplus::GpPoint*>(APoints.data()),
                              static_cast<INT>(APoints.size())));
}

void TdxGPPath::AddPolyline(const std::vector<TdxPointF>& APoints) {
  GdipCheck(GdipAddPathLine2(FHandle, reinterpret_cast<const Gdiplus::GpPointF*>(APoints.data()),
                             static_cast<INT>(APoints.size())));
}

void TdxGPPath::AddRect(const TRect& R) {
  GdipCheck(GdipAddPathRectangleI(FHandle, R.left, R.top, R.right - R.left, R.bottom - R.top));
}

void TdxGPPath::AddRect(const TdxRectF& R) {
  GdipCheck(GdipAddPathRectangle(FHandle, R.Left, R.Top, R.Width(), R.Height()));
}

void TdxGPPath::AddRoundRect(const TRect& R, Integer ARadiusX, Integer ARadiusY) {
  AddRoundRect(TdxRectF::Create(R), static_cast<Single>(ARadiusX), static_cast<Single>(ARadiusY));
}

void TdxGPPath::AddRoundRect(const TdxRectF& R, Single ARadiusX, Single ARadiusY) {
  Single RX = std::min(ARadiusX, R.Width() / 3), RY = std::min(ARadiusY, R.Height() / 3);
  FigureStart();
  {
    auto OnFailure = Finally([&] { GdipClosePathFigure(FHandle); });
    if (RX <= 0 || RY <= 0) {
      AddRect(R);
    } else {
      Single L = R.Left, T = R.Top, Rt = R.Right, B = R.Bottom;
      AddLine(L + RX, T, Rt - 2 * RX, T);
      AddArc(Rt - 2 * RX, T, 2 * RX, 2 * RY, 270, 90);
      AddLine(Rt, T + RY, Rt, B - 2 * RY);
      AddArc(Rt - 2 * RX, B - 2 * RY, 2 * RX, 2 * RY, 0, 90);
      AddLine(Rt - 2 * RX, B, L + RX, B);
      AddArc(L, B - 2 * RY, 2 * RX, 2 * RY, 90, 90);
      AddLine(L, B - 2 * RY, L, T + RY);
      AddArc(L, T, 2 * RX, 2 * RY, 180, 90);
    }
    OnFailure.Dismiss();
  }
  FigureFinish();
}

void TdxGPPath::AddString(const String& AText, TdxGPFont* AFont, const TdxRectF& ARect,
                          TdxGPStringFormat* AFormat) {
  Gdiplus::GpRectF Layout(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
  GdipCheck(GdipAddPathString(FHandle, AText.c_str(), -1, AFont->FontFamily()->Handle(),
                              AFont->Style(), AFont->Size(), &Layout,
                              AFormat ? AFormat->Handle() : nullptr));
}

void TdxGPPath::AddString(const String& AText, TFont* AFont, const TRect& ARect, Single AEmSize) {
  TGpHolder<GpStringFormat, &DeleteGpStringFormat> Format;
  GdipCheck(GdipCreateStringFormat(0, LANG_NEUTRAL, Format.Out()));
  TGpHolder<GpFontFamily, &DeleteGpFontFamily> Family;
  GdipCheck(GdipCreateFontFamilyFromName(AFont->Name().c_str(), nullptr, Family.Out()));
  Gdiplus::GpRect Layout(ARect.left, ARect.top, ARect.right - ARect.left, ARect.bottom - ARect.top);
  GdipCheck(GdipAddPathStringI(FHandle, AText.c_str(), -1, Family.Get(),
                               dxFontStylesToGpFontStyles(AFont->Style()), AEmSize, &Layout,
                               Format.Get()));
}

TRect TdxGPPath::GetBounds(TdxGPPen* APen) {
  Gdiplus::GpRect R;
  GdipCheck(GdipGetPathWorldBoundsI(FHandle, &R, nullptr, APen ? APen->NativeHandle() : nullptr));
  return TRect{R.X, R.Y, R.X + R.Width, R.Y + R.Height};
}

TdxRectF TdxGPPath::GetBoundsF(TdxGPPen* APen) {
  Gdiplus::GpRectF R;
  GdipCheck(GdipGetPathWorldBounds(FHandle, &R, nullptr, APen ? APen->NativeHandle() : nullptr));
  return TdxRectF{R.X, R.Y, R.X + R.Width, R.Y + R.Height};
}

Integer TdxGPPath::GetPointCount() {
  INT N = 0;
  GdipCheck(GdipGetPointCount(FHandle, &N));
  return N;
}

bool TdxGPPath::IsPointInPath(const TPoint& P, TdxGPCanvas* ACanvas) {
  BOOL R = FALSE;
  GdipCheck(GdipIsVisiblePathPointI(FHandle, P.x, P.y, dxGpGetCanvasHandle(ACanvas), &R));
  return R != FALSE;
}

bool TdxGPPath::IsPointInPath(const TdxPointF& P, TdxGPCanvas* ACanvas) {
  BOOL R = FALSE;
  GdipCheck(GdipIsVisiblePathPoint(FHandle, P.X, P.Y, dxGpGetCanvasHandle(ACanvas), &R));
  return R != FALSE;
}

bool TdxGPPath::IsPointInPathOutline(const TPoint& P, TdxGPPen* APen, TdxGPCanvas* ACanvas) {
  BOOL R = FALSE;
  GdipCheck(GdipIsOutlineVisiblePathPointI(FHandle, P.x, P.y, APen->NativeHandle(),
                                           dxGpGetCanvasHandle(ACanvas), &R));
  return R != FALSE;
}

bool TdxGPPath::IsPointInPathOutline(const TdxPointF& P, TdxGPPen* APen, TdxGPCanvas* ACanvas) {
  BOOL R = FALSE;
  GdipCheck(GdipIsOutlineVisiblePathPoint(FHandle, P.X, P.Y, APen->NativeHandle(),
                                          dxGpGetCanvasHandle(ACanvas), &R));
  return R != FALSE;
}

bool TdxGPPath::IsPointInPathOutline(const TPoint& P, Integer APenWidth, TdxGPCanvas* ACanvas) {
  GpPen* Pen = nullptr;
  if (!dxGpCreatePen(Pen, clRed, static_cast<Single>(APenWidth), TPenStyle::psSolid, 255))
    return false;
  BOOL R = FALSE;
  Status S =
      GdipIsOutlineVisiblePathPointI(FHandle, P.x, P.y, Pen, dxGpGetCanvasHandle(ACanvas), &R);
  GdipDeletePen(Pen);
  GdipCheck(S);
  return R != FALSE;
}

void TdxGPPath::Flatten(GpMatrix* AMatrix, Single AFlatness) {
  GdipCheck(GdipFlattenPath(FHandle, AMatrix, AFlatness));
}

void TdxGPPath::Transform(TdxGPMatrix* AMatrix) {
  GdipCheck(GdipTransformPath(FHandle, AMatrix->NativeHandle()));
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPRegion)

TdxGPRegion::TdxGPRegion() { GdipCheck(GdipCreateRegion(&FHandle)); }

TdxGPRegion::TdxGPRegion(GpPath* APath) { GdipCheck(GdipCreateRegionPath(APath, &FHandle)); }

TdxGPRegion::TdxGPRegion(const TRect& ARect) {
  Gdiplus::GpRect R(ARect.left, ARect.top, ARect.right - ARect.left, ARect.bottom - ARect.top);
  GdipCheck(GdipCreateRegionRectI(&R, &FHandle));
}

TdxGPRegion::TdxGPRegion(const TdxRectF& ARect) {
  Gdiplus::GpRectF R(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
  GdipCheck(GdipCreateRegionRect(&R, &FHandle));
}

TdxGPRegion* TdxGPRegion::CreateFromRegion(GpRegion* ARegion) {
  GpRegion* Copy = nullptr;
  GdipCheck(GdipCloneRegion(ARegion, &Copy));
  return Create<TdxGPRegion>(Copy, TAdopt{});
}

TdxGPRegion::~TdxGPRegion() {
  if (FHandle) GdipDeleteRegion(FHandle);
}

void TdxGPRegion::CombineRegionRect(const TRect& ARect, CombineMode AMode) {
  Gdiplus::GpRect R(ARect.left, ARect.top, ARect.right - ARect.left, ARect.bottom - ARect.top);
  GdipCheck(GdipCombineRegionRectI(FHandle, &R, AMode));
}

void TdxGPRegion::CombineRegionRect(const TdxRectF& ARect, CombineMode AMode) {
  Gdiplus::GpRectF R(ARect.Left, ARect.Top, ARect.Width(), ARect.Height());
  GdipCheck(GdipCombineRegionRect(FHandle, &R, AMode));
}

void TdxGPRegion::CombineRegionRegion(TdxGPRegion* ARegion, CombineMode AMode) {
  GdipCheck(GdipCombineRegionRegion(FHandle, ARegion->Handle(), AMode));
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPStringFormat)

namespace {
TdxGPStringFormat* FGenericTypographic = nullptr;
TdxGPStringFormat* FGenericDefault = nullptr;
TdxGPFontFamily* FGenericSansSerif = nullptr;
TdxGPFontFamily* FGenericSerif = nullptr;
TdxGPFontFamily* FGenericMonospace = nullptr;
}  // namespace

TdxGPStringFormat::TdxGPStringFormat(Integer AFormatAttributes, Word ALanguage) {
  GdipCheck(GdipCreateStringFormat(AFormatAttributes, ALanguage, &FHandle));
}

TdxGPStringFormat::TdxGPStringFormat(TdxGPStringFormat* AFormat) {
  GdipCheck(GdipCloneStringFormat(AFormat ? AFormat->Handle() : nullptr, &FHandle));
}

TdxGPStringFormat::~TdxGPStringFormat() {
  if (FHandle) GdipDeleteStringFormat(FHandle);
}

TdxGPStringFormat* TdxGPStringFormat::Clone() { return Create<TdxGPStringFormat>(this); }

void TdxGPStringFormat::Assign(TdxGPStringFormat* ASource) {
  GpStringFormat* Copy = nullptr;
  GdipCheck(GdipCloneStringFormat(ASource ? ASource->Handle() : nullptr, &Copy));
  if (FHandle) GdipDeleteStringFormat(FHandle);
  FHandle = Copy;
}

TdxGpStringAlignment TdxGPStringFormat::Alignment() {
  Gdiplus::StringAlignment A = StringAlignmentNear;
  GdipCheck(GdipGetStringFormatAlign(FHandle, &A));
  return A;
}
void TdxGPStringFormat::SetAlignment(TdxGpStringAlignment AValue) {
  GdipCheck(GdipSetStringFormatAlign(FHandle, AValue));
}
TdxGpStringAlignment TdxGPStringFormat::LineAlignment() {
  Gdiplus::StringAlignment A = StringAlignmentNear;
  GdipCheck(GdipGetStringFormatLineAlign(FHandle, &A));
  return A;
}
void TdxGPStringFormat::SetLineAlignment(TdxGpStringAlignment AValue) {
  GdipCheck(GdipSetStringFormatLineAlign(FHandle, AValue));
}
Integer TdxGPStringFormat::FormatFlags() {
  INT F = 0;
  GdipCheck(GdipGetStringFormatFlags(FHandle, &F));
  return F;
}
void TdxGPStringFormat::SetFormatFlags(Integer AValue) {
  GdipCheck(GdipSetStringFormatFlags(FHandle, AValue));
}
TdxGPHotkeyPrefix TdxGPStringFormat::HotkeyPrefix() {
  INT P = 0;
  GdipCheck(GdipGetStringFormatHotkeyPrefix(FHandle, &P));
  return static_cast<TdxGPHotkeyPrefix>(P);
}
void TdxGPStringFormat::SetHotkeyPrefix(TdxGPHotkeyPrefix AValue) {
  GdipCheck(GdipSetStringFormatHotkeyPrefix(FHandle, AValue));
}
TdxGpStringTrimming TdxGPStringFormat::Trimming() {
  Gdiplus::StringTrimming T = StringTrimmingNone;
  GdipCheck(GdipGetStringFormatTrimming(FHandle, &T));
  return T;
}
void TdxGPStringFormat::SetTrimming(TdxGpStringTrimming AValue) {
  GdipCheck(GdipSetStringFormatTrimming(FHandle, AValue));
}
Word TdxGPStringFormat::DigitSubstitutionLanguage() {
  LANGID L = 0;
  Gdiplus::StringDigitSubstitute S = StringDigitSubstituteUser;
  GdipCheck(GdipGetStringFormatDigitSubstitution(FHandle, &L, &S));
  return L;
}
TdxGpStringDigitSubstitute TdxGPStringFormat::DigitSubstitutionMethod() {
  LANGID L = 0;
  Gdiplus::StringDigitSubstitute S = StringDigitSubstituteUser;
  GdipCheck(GdipGetStringFormatDigitSubstitution(FHandle, &L, &S));
  return S;
}
void TdxGPStringFormat::SetDigitSubstitution(Word ALanguage,
                                             TdxGpStringDigitSubstitute ASubstitute) {
  GdipCheck(GdipSetStringFormatDigitSubstitution(FHandle, ALanguage, ASubstitute));
}
Integer TdxGPStringFormat::MeasurableCharacterRangeCount() {
  INT N = 0;
  GdipCheck(GdipGetStringFormatMeasurableCharacterRangeCount(FHandle, &N));
  return N;
}
void TdxGPStringFormat::SetTabStops(Single AFirstTabOffset, Integer ACount,
                                    const Single* ATabStops) {
  GdipCheck(GdipSetStringFormatTabStops(FHandle, AFirstTabOffset, ACount, ATabStops));
}
Integer TdxGPStringFormat::GetTabStopCount() {
  INT N = 0;
  GdipCheck(GdipGetStringFormatTabStopCount(FHandle, &N));
  return N;
}
std::vector<Single> TdxGPStringFormat::GetTabStops(Integer ACount, Single& AFirstTabOffset) {
  std::vector<Single> R(static_cast<size_t>(std::max(0, ACount)));
  GdipCheck(GdipGetStringFormatTabStops(FHandle, ACount, &AFirstTabOffset, R.data()));
  return R;
}
void TdxGPStringFormat::SetMeasurableCharacterRanges(Integer ACount,
                                                     const TdxGpCharacterRange* ARanges) {
  GdipCheck(GdipSetStringFormatMeasurableCharacterRanges(
      FHandle, ACount, reinterpret_cast<const Gdiplus::CharacterRange*>(ARanges)));
}

TdxGPStringFormat* TdxGPStringFormat::GenericTypographic() {
  if (!FGenericTypographic) {
    GpStringFormat* F = nullptr;
    GdipCheck(GdipStringFormatGetGenericTypographic(&F));
    FGenericTypographic = Create<TdxGPStringFormat>(F, TAdopt{});
  }
  return FGenericTypographic;
}

TdxGPStringFormat* TdxGPStringFormat::GenericDefault() {
  if (!FGenericDefault) {
    GpStringFormat* F = nullptr;
    GdipCheck(GdipStringFormatGetGenericDefault(&F));
    FGenericDefault = Create<TdxGPStringFormat>(F, TAdopt{});
  }
  return FGenericDefault;
}

void TdxGPStringFormat::Finalize() {
  FreeAndNil(FGenericTypographic);
  FreeAndNil(FGenericDefault);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TdxGPFontFamily)

TdxGPFontFamily::TdxGPFontFamily(const String& AName) {
  if (GdipCreateFontFamilyFromName(AName.c_str(), nullptr, &FHandle) != Ok) FHandle = nullptr;
}

TdxGPFontFamily::TdxGPFontFamily(GpFontFamily* AHandle) {
  GdipCheck(GdipCloneFontFamily(AHandle, &FHandle));
}

TdxGPFontFamily::~TdxGPFontFamily() {
  if (FHandle) GdipDeleteFontFamily(FHandle);
}

TdxGPFontFamily* TdxGPFontFamily::Clone() { return Create<TdxGPFontFamily>(FHandle); }

Word TdxGPFontFamily::GetCellAscent(Integer AStyle) {
  UINT16 V = 0;
  GdipCheck(GdipGetCellAscent(FHandle, AStyle, &V));
  return V;
}
Word TdxGPFontFamily::GetCellDescent(Integer AStyle) {
  UINT16 V = 0;
  GdipCheck(GdipGetCellDescent(FHandle, AStyle, &V));
  return V;
}
Word TdxGPFontFamily::GetEmHeight(Integer AStyle) {
  UINT16 V = 0;
  GdipCheck(GdipGetEmHeight(FHandle, AStyle, &V));
  return V;
}
Word TdxGPFontFamily::GetLineSpacing(Integer AStyle) {
  UINT16 V = 0;
  GdipCheck(GdipGetLineSpacing(FHandle, AStyle, &V));
  return V;
}
bool TdxGPFontFamily::IsStyleAvailable(Integer AStyle) {
  BOOL V = FALSE;
  GdipCheck(GdipIsStyleAvailable(FHandle, AStyle, &V));
  return V != FALSE;
}
String TdxGPFontFamily::GetName(Word ALanguage) {
  WCHAR Name[LF_FACESIZE] = {};
  GdipCheck(GdipGetFamilyName(FHandle, Name, ALanguage));
  return Name;
}

TdxGPFontFamily* TdxGPFontFamily::GetGenericSansSerif() {
  if (!FGenericSansSerif) {
    GpFontFamily* F = nullptr;
    GdipCheck(GdipGetGenericFontFamilySansSerif(&F));
    FGenericSansSerif = Create<TdxGPFontFamily>(F, TAdopt{});
  }
  return FGenericSansSerif;
}

void TdxGPFontFamily::Finalize() {
  FreeAndNil(FGenericSansSerif);
  FreeAndNil(FGenericSerif);
  FreeAndNil(FGenericMonospace);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TdxGPFont)

TdxGPFont::TdxGPFont(const String& AFamilyName, Single AEmSize, Integer AStyle,
                     TdxGraphicUnit AUnit, Byte AGdiCharSet) {
  InitByName(AFamilyName, AEmSize, AStyle, AUnit, AGdiCharSet, IsVerticalName(AFamilyName));
}

TdxGPFont::TdxGPFont(const String& AFamilyName, Single AEmSize, Integer AStyle,
                     TdxGraphicUnit AUnit, Byte AGdiCharSet, bool AGdiVerticalFont) {
  InitByName(AFamilyName, AEmSize, AStyle, AUnit, AGdiCharSet, AGdiVerticalFont);
}

TdxGPFont::TdxGPFont(const String& AFamilyName, Single AEmSize, TdxGraphicUnit AUnit) {
  InitByName(AFamilyName, AEmSize, 0, AUnit, DEFAULT_CHARSET, IsVerticalName(AFamilyName));
}

TdxGPFont::TdxGPFont(TdxGPFontFamily* AFamily, Single AEmSize, Integer AStyle, TdxGraphicUnit AUnit,
                     Byte AGdiCharSet, bool AGdiVerticalFont) {
  Initialize(AFamily, AEmSize, AStyle, AUnit, AGdiCharSet, AGdiVerticalFont);
}

TdxGPFont::TdxGPFont(TdxGPFontFamily* AFamily, Single AEmSize, TdxGraphicUnit AUnit) {
  Initialize(AFamily, AEmSize, 0, AUnit, DEFAULT_CHARSET, false);
}

TdxGPFont::TdxGPFont(TdxGPFont* APrototype, Integer ANewStyle) {
  FOriginalFontName = APrototype->OriginalFontName();
  Initialize(APrototype->FontFamily(), APrototype->Size(), ANewStyle, APrototype->Unit(),
             DEFAULT_CHARSET, false);
}

TdxGPFont::TdxGPFont(GpFont* ANativeFont, Byte AGdiCharSet, bool AGdiVerticalFont) {
  // The native font is this object's from here on, also when reading it
  // fails.
  FNativeFont = ANativeFont;
  auto OnFailure = Finally([&] { ReleaseAll(); });
  Gdiplus::Unit U = UnitPoint;
  Single S = 0;
  INT St = 0;
  GpFontFamily* F = nullptr;
  GdipCheck(GdipGetFontUnit(ANativeFont, &U));
  GdipCheck(GdipGetFontSize(ANativeFont, &S));
  GdipCheck(GdipGetFontStyle(ANativeFont, &St));
  GdipCheck(GdipGetFamily(ANativeFont, &F));
  FFontFamily = Create<TdxGPFontFamily>(F);
  FIsOwnFontFamily = true;
  GdipDeleteFontFamily(F);
  Initialize(FFontFamily, S, St, static_cast<TdxGraphicUnit>(U), AGdiCharSet, AGdiVerticalFont);
  OnFailure.Dismiss();
}

TdxGPFont::~TdxGPFont() { ReleaseAll(); }

void TdxGPFont::ReleaseAll() {
  if (FNativeFont) GdipDeleteFont(FNativeFont);
  FNativeFont = nullptr;
  if (FIsOwnFontFamily && FFontFamily) FFontFamily->Free();
  FFontFamily = nullptr;
  FIsOwnFontFamily = false;
}

void TdxGPFont::InitByName(const String& AFamilyName, Single AEmSize, Integer AStyle,
                           TdxGraphicUnit AUnit, Byte AGdiCharSet, bool AGdiVerticalFont) {
  FOriginalFontName = AFamilyName;
  FFontFamily = Create<TdxGPFontFamily>(StripVerticalName(AFamilyName));
  FIsOwnFontFamily = true;
  auto OnFailure = Finally([&] { ReleaseAll(); });
  Initialize(FFontFamily, AEmSize, AStyle, AUnit, AGdiCharSet, AGdiVerticalFont);
  OnFailure.Dismiss();
}

void TdxGPFont::Initialize(TdxGPFontFamily* AFamily, Single AEmSize, Integer AStyle,
                           TdxGraphicUnit AUnit, Byte AGdiCharSet, bool AGdiVerticalFont) {
  if (!AFamily) GdipCheck(FontFamilyNotFound);
  if (!std::isfinite(AEmSize) || AEmSize <= 0) GdipCheck(InvalidParameter);
  FFontSize = AEmSize;
  FFontStyle = AStyle;
  FFontUnit = AUnit;
  FGdiCharSet = AGdiCharSet;
  FGdiVerticalFont = AGdiVerticalFont;
  if (!FFontFamily) FFontFamily = AFamily;
  if (!FNativeFont)
    GdipCheck(GdipCreateFont(AFamily->Handle(), AEmSize, AStyle, static_cast<Gdiplus::Unit>(AUnit),
                             &FNativeFont));
  GdipCheck(GdipGetFontSize(FNativeFont, &FFontSize));
}

TdxGPFont* TdxGPFont::SafeCreate(const String& AFamilyName, Single AEmSize, Integer AStyle,
                                 TdxGraphicUnit AUnit, Byte AGdiCharSet) {
  TOwned<TdxGPFontFamily> Family(Create<TdxGPFontFamily>(StripVerticalName(AFamilyName)));
  if (!Family->Handle()) {
    return Create<TdxGPFont>(TdxGPFontFamily::GetGenericSansSerif(), AEmSize, AStyle, AUnit,
                             AGdiCharSet, false);
  }
  TOwned<TdxGPFont> Font(
      Create<TdxGPFont>(Family.get(), AEmSize, AStyle, AUnit, AGdiCharSet, false));
  Font->FIsOwnFontFamily = true;
  Family.release();
  return Font.release();
}

TdxGPFont* TdxGPFont::FromLogFont(const LOGFONTW& ALogFont, HDC AHdc) {
  GpFont* F = nullptr;
  GdipCheck(GdipCreateFontFromLogfont(AHdc, &ALogFont, &F));
  if (!F) GdipCheck(NotTrueTypeFont);
  return Create<TdxGPFont>(F, ALogFont.lfCharSet, ALogFont.lfFaceName[0] == L'@');
}

TdxGPFont* TdxGPFont::FromLogFont(const LOGFONTW& ALogFont) {
  return FromLogFont(ALogFont, TScreenDC().Get());
}

TdxGPFont* TdxGPFont::FromHFont(HFONT AHFont) {
  LOGFONTW L{};
  GetObjectW(AHFont, sizeof L, &L);
  return FromLogFont(L);
}

TdxGPFont* TdxGPFont::FromHdc(HDC AHdc) {
  GpFont* F = nullptr;
  GdipCheck(GdipCreateFontFromDC(AHdc, &F));
  return Create<TdxGPFont>(F, Byte(0), false);
}

bool TdxGPFont::IsVerticalName(const String& AFamilyName) {
  return !AFamilyName.empty() && AFamilyName[0] == L'@';
}

String TdxGPFont::StripVerticalName(const String& AFamilyName) {
  if (AFamilyName.size() > 1 && AFamilyName[0] == L'@') return AFamilyName.substr(1);
  return AFamilyName;
}

TdxGPFont* TdxGPFont::Clone() {
  GpFont* F = nullptr;
  GdipCheck(GdipCloneFont(FNativeFont, &F));
  return Create<TdxGPFont>(F, FGdiCharSet, FGdiVerticalFont);
}

void TdxGPFont::ToLogFont(LOGFONTW& ALogFont, TdxGPCanvas* ACanvas) {
  if (!ACanvas) GdipCheck(InvalidParameter);
  GdipCheck(GdipGetLogFontW(FNativeFont, ACanvas->Handle(), &ALogFont));
  if (FGdiVerticalFont) {
    std::memmove(ALogFont.lfFaceName + 1, ALogFont.lfFaceName, (LF_FACESIZE - 2) * sizeof(WCHAR));
    ALogFont.lfFaceName[0] = L'@';
    ALogFont.lfFaceName[LF_FACESIZE - 1] = 0;
  }
  if (ALogFont.lfCharSet == 0) ALogFont.lfCharSet = FGdiCharSet;
}

void TdxGPFont::ToLogFont(LOGFONTW& ALogFont) {
  TScreenGraphics Screen;
  ToLogFont(ALogFont, Screen.Canvas());
}

HFONT TdxGPFont::ToHfont() {
  LOGFONTW L{};
  ToLogFont(L);
  return CreateFontIndirectW(&L);
}

Single TdxGPFont::GetHeight(TdxGPCanvas* AGraphics) {
  if (!AGraphics) GdipCheck(InvalidParameter);
  Single H = 0;
  GdipCheck(GdipGetFontHeight(FNativeFont, AGraphics->Handle(), &H));
  return H;
}

Single TdxGPFont::GetHeight() {
  TScreenGraphics Screen;
  return GetHeight(Screen.Canvas());
}

Single TdxGPFont::GetHeight(Single ADpi) {
  Single H = 0;
  GdipCheck(GdipGetFontHeightGivenDPI(FNativeFont, ADpi, &H));
  return H;
}

Integer TdxGPFont::Height() { return static_cast<Integer>(std::ceil(GetHeight())); }

Single TdxGPFont::SizeInPoints() {
  if (FFontUnit == guPoint) return FFontSize;
  TScreenGraphics Screen;
  Single EmHeight = FFontFamily->GetEmHeight(FFontStyle);
  Single LineSpacing = FFontFamily->GetLineSpacing(FFontStyle);
  return (EmHeight * GetHeight(Screen.Canvas()) / LineSpacing) / (Screen.Canvas()->DpiY() / 72);
}

Integer TdxGPFont::GetHashCode() const {
  Int64 R = static_cast<Int64>(std::nearbyint(FFontSize));
  Cardinal Low = static_cast<Cardinal>(R);
  Cardinal Style = static_cast<Cardinal>(FFontStyle);
  Cardinal H = ((Low << 7) | static_cast<Cardinal>(static_cast<UInt64>(R) >> 25)) ^
               (static_cast<Cardinal>(FFontUnit) << 26) ^ ((Style << 13) | (Style >> 19));
  return static_cast<Integer>(H);
}

String TdxGPFont::Name() const { return FFontFamily ? FFontFamily->Name() : String(); }

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPMemoryStream)

TdxGPMemoryStream::~TdxGPMemoryStream() { Clear(); }

Pointer TdxGPMemoryStream::Realloc(NativeInt& NewCapacity) {
  if (NewCapacity == Capacity()) return Memory();
  Pointer Result = nullptr;
  if (NewCapacity >= 1) {
    Result = GdipAlloc(static_cast<size_t>(NewCapacity));
    if (!Result) throw EStreamError(ClassesConsts::SMemoryStreamError);
    if (Memory())
      std::memcpy(Result, Memory(), static_cast<size_t>(std::min(Capacity(), NewCapacity)));
  }
  if (Capacity() > 0 && Memory()) GdipFree(Memory());
  return Result;
}
