// The GDI+ canvas, its buffered paint form and the codecs' stream view.
#include <algorithm>
#include <cstring>

#include "dxGDIPlusClasses.h"

namespace {
const Single DirectionMap[] = {1, -1};

Gdiplus::GpRectF GpRect(const TdxRectF& R) {
  return Gdiplus::GpRectF(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
}

// Outlined shapes given as TRect span up to Right - 1 and Bottom - 1.
TRect CheckDestRect(const TRect& R) { return TRect{R.left, R.top, R.right - 1, R.bottom - 1}; }

TdxRectF Bounds(const TRect& R) { return TdxRectF::Create(R); }

template <class P>
TdxRectF PointsBounds(const std::vector<P>& APoints);
template <>
TdxRectF PointsBounds(const std::vector<TPoint>& APoints) {
  return TdxRectF::Create(cxPointsBox(APoints.data(), APoints.size()));
}
template <>
TdxRectF PointsBounds(const std::vector<TdxPointF>& APoints) {
  return cxPointsBox(APoints.data(), APoints.size());
}

const Gdiplus::DashStyle PenStyleDash[] = {DashStyleSolid, DashStyleDash, DashStyleDot,
                                           DashStyleDashDot, DashStyleDashDotDot};

// A temporary brush or pen of alpha colours, deleted with the scope.
class TTemporaryBrush {
 public:
  explicit TTemporaryBrush(TdxAlphaColor AColor) {
    GpSolidFill* B = nullptr;
    GdipCheck(GdipCreateSolidFill(dxAlphaColorValue(AColor), &B));
    FBrush = B;
  }
  ~TTemporaryBrush() { GdipDeleteBrush(FBrush); }
  TTemporaryBrush(const TTemporaryBrush&) = delete;
  TTemporaryBrush& operator=(const TTemporaryBrush&) = delete;
  GpBrush* Get() const { return FBrush; }

 private:
  GpBrush* FBrush = nullptr;
};

class TTemporaryPen {
 public:
  TTemporaryPen(TdxAlphaColor AColor, Single AWidth, Gdiplus::DashStyle AStyle) {
    GdipCheck(GdipCreatePen1(dxAlphaColorValue(AColor), AWidth, UnitPixel, &FPen));
    Status S = GdipSetPenDashStyle(FPen, AStyle);
    if (S != Ok) {
      GdipDeletePen(FPen);
      GdipCheck(S);
    }
  }
  ~TTemporaryPen() { GdipDeletePen(FPen); }
  TTemporaryPen(const TTemporaryPen&) = delete;
  TTemporaryPen& operator=(const TTemporaryPen&) = delete;
  GpPen* Get() const { return FPen; }

 private:
  GpPen* FPen = nullptr;
};
}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TdxGPCanvas)

TdxGPCanvas::TdxGPCanvas(GpGraphics* AHandle) : FHandle(AHandle) {}

TdxGPCanvas::TdxGPCanvas(HDC DC) { CreateHandle(DC); }

TdxGPCanvas::~TdxGPCanvas() {
  dxTestCheck(FSavedClipRegions.empty(), ClassName() + L".FSavedClipRegions <> 0");
  dxTestCheck(FSavedWorldTransforms.empty(), ClassName() + L".FSavedWorldTransforms <> 0");
  FreeHandle();
  // Saves left unbalanced by a caller still own native objects.
  for (GpRegion* R : FSavedClipRegions) GdipDeleteRegion(R);
  for (GpMatrix* M : FSavedWorldTransforms) GdipDeleteMatrix(M);
}

void TdxGPCanvas::CreateHandle(HDC DC) { GdipCheck(GdipCreateFromHDC(DC, &FHandle)); }

void TdxGPCanvas::FreeHandle() {
  if (!FHandle) return;
  GdipDeleteGraphics(FHandle);
  FHandle = nullptr;
}

HDC TdxGPCanvas::GetHDC() {
  HDC DC = nullptr;
  GdipCheck(GdipGetDC(FHandle, &DC));
  return DC;
}

void TdxGPCanvas::ReleaseHDC(HDC DC) { GdipCheck(GdipReleaseDC(FHandle, DC)); }

void TdxGPCanvas::Clear(TColor AColor) {
  GdipCheck(GdipGraphicsClear(FHandle, dxAlphaColorValue(dxColorToAlphaColor(AColor, 255))));
}

Single TdxGPCanvas::DpiX() {
  Single V = 0;
  GdipCheck(GdipGetDpiX(FHandle, &V));
  return V;
}

Single TdxGPCanvas::DpiY() {
  Single V = 0;
  GdipCheck(GdipGetDpiY(FHandle, &V));
  return V;
}

TdxGPInterpolationMode TdxGPCanvas::InterpolationMode() {
  Gdiplus::InterpolationMode M = InterpolationModeDefault;
  GdipCheck(GdipGetInterpolationMode(FHandle, &M));
  return static_cast<int>(M) > 7 || static_cast<int>(M) < 0
             ? imDefault
             : static_cast<TdxGPInterpolationMode>(M);
}

void TdxGPCanvas::SetInterpolationMode(TdxGPInterpolationMode AValue) {
  GdipCheck(GdipSetInterpolationMode(FHandle, static_cast<Gdiplus::InterpolationMode>(AValue)));
}

TdxGPSmoothingMode TdxGPCanvas::SmoothingMode() {
  Gdiplus::SmoothingMode M = SmoothingModeDefault;
  GdipCheck(GdipGetSmoothingMode(FHandle, &M));
  return static_cast<int>(M) > 4 || static_cast<int>(M) < 0 ? smDefault
                                                            : static_cast<TdxGPSmoothingMode>(M);
}

void TdxGPCanvas::SetSmoothingMode(TdxGPSmoothingMode AValue) {
  GdipCheck(GdipSetSmoothingMode(FHandle, static_cast<Gdiplus::SmoothingMode>(AValue)));
}

TdxGpTextRenderingHint TdxGPCanvas::TextRenderingHint() {
  Gdiplus::TextRenderingHint H = Gdiplus::TextRenderingHintSystemDefault;
  GdipCheck(GdipGetTextRenderingHint(FHandle, &H));
  return H;
}

void TdxGPCanvas::SetTextRenderingHint(TdxGpTextRenderingHint AValue) {
  GdipCheck(GdipSetTextRenderingHint(FHandle, AValue));
}

Integer TdxGPCanvas::GetPixelOffsetMode() {
  Gdiplus::PixelOffsetMode M = PixelOffsetModeDefault;
  GdipCheck(GdipGetPixelOffsetMode(FHandle, &M));
  return static_cast<Integer>(M);
}

void TdxGPCanvas::SetPixelOffsetMode(Integer AValue) {
  GdipCheck(GdipSetPixelOffsetMode(FHandle, static_cast<Gdiplus::PixelOffsetMode>(AValue)));
}

// ---------------------------------------------------------------------------
// Clip

bool TdxGPCanvas::IsClipEmpty() {
  BOOL R = FALSE;
  GdipCheck(GdipIsClipEmpty(FHandle, &R));
  return R != FALSE;
}

void TdxGPCanvas::SetClipRect(const TRect& R, TdxGPCombineMode AMode) {
  GdipCheck(GdipSetClipRectI(FHandle, R.left, R.top, R.right - R.left, R.bottom - R.top,
                             static_cast<CombineMode>(AMode)));
}

void TdxGPCanvas::SetClipRect(const TdxRectF& R, TdxGPCombineMode AMode) {
  GdipCheck(GdipSetClipRect(FHandle, R.Left, R.Top, R.Width(), R.Height(),
                            static_cast<CombineMode>(AMode)));
}

void TdxGPCanvas::SetClipRegion(HRGN ARgn, TdxGPCombineMode AMode) {
  GdipCheck(GdipSetClipHrgn(FHandle, ARgn, static_cast<CombineMode>(AMode)));
}

void TdxGPCanvas::SetClipRegion(TdxGPRegion* ARegion, TdxGPCombineMode AMode) {
  GdipCheck(GdipSetClipRegion(FHandle, ARegion->Handle(), static_cast<CombineMode>(AMode)));
}

void TdxGPCanvas::SetClipPath(TdxGPPath* APath, TdxGPCombineMode AMode) {
  GdipCheck(GdipSetClipPath(FHandle, APath->Handle(), static_cast<CombineMode>(AMode)));
}

void TdxGPCanvas::SaveClipRegion() {
  GpRegion* R = nullptr;
  GdipCheck(GdipCreateRegion(&R));
  Status S = GdipGetClip(FHandle, R);
  if (S != Ok) {
    GdipDeleteRegion(R);
    GdipCheck(S);
  }
  FSavedClipRegions.push_back(R);
}

void TdxGPCanvas::RestoreClipRegion() {
  if (FSavedClipRegions.empty()) throw EListError(L"Unbalanced stack or queue operation");
  GpRegion* R = FSavedClipRegions.back();
  FSavedClipRegions.pop_back();
  Status S = GdipSetClipRegion(FHandle, R, CombineModeReplace);
  GdipDeleteRegion(R);
  GdipCheck(S);
}

// ---------------------------------------------------------------------------
// World transform

TdxGPMatrix* TdxGPCanvas::GetWorldTransform() {
  TOwned<TdxGPMatrix> M(Create<TdxGPMatrix>());
  GdipCheck(GdipGetWorldTransform(FHandle, M->NativeHandle()));
  return M.release();
}

void TdxGPCanvas::SetWorldTransform(TdxGPMatrix* AMatrix) {
  GdipCheck(GdipSetWorldTransform(FHandle, AMatrix->NativeHandle()));
}

void TdxGPCanvas::ResetWorldTransform() { GdipCheck(GdipResetWorldTransform(FHandle)); }

void TdxGPCanvas::ModifyWorldTransform(TdxGPMatrix* AMatrix, MatrixOrder AOrder) {
  GdipCheck(GdipMultiplyWorldTransform(FHandle, AMatrix->NativeHandle(), AOrder));
}

void TdxGPCanvas::TranslateWorldTransform(Single AOffsetX, Single AOffsetY, MatrixOrder AOrder) {
  GdipCheck(GdipTranslateWorldTransform(FHandle, AOffsetX, AOffsetY, AOrder));
}

void TdxGPCanvas::ScaleWorldTransform(Single AScaleX, Single AScaleY, MatrixOrder AOrder) {
  GdipCheck(GdipScaleWorldTransform(FHandle, AScaleX, AScaleY, AOrder));
}

void TdxGPCanvas::ScaleWorldTransform(Single AScaleX, Single AScaleY, const TdxPointF& ACenter,
                                      MatrixOrder) {
  TOwned<TdxGPMatrix> M(TdxGPMatrix::CreateEx(
      AScaleX, 0, 0, AScaleY, ACenter.X - ACenter.X * AScaleX, ACenter.Y - ACenter.Y * AScaleY));
  SetWorldTransform(M.get());
}

void TdxGPCanvas::RotateWorldTransform(Single AAngle, MatrixOrder AOrder) {
  GdipCheck(GdipRotateWorldTransform(FHandle, AAngle, AOrder));
}

void TdxGPCanvas::RotateWorldTransform(Single AAngle, const TdxPointF& APivotPoint,
                                       MatrixOrder AOrder) {
  Single D = DirectionMap[AOrder];
  TranslateWorldTransform(D * APivotPoint.X, D * APivotPoint.Y, AOrder);
  RotateWorldTransform(AAngle, AOrder);
  TranslateWorldTransform(-D * APivotPoint.X, -D * APivotPoint.Y, AOrder);
}

void TdxGPCanvas::RotateWorldTransform(Single AAngle, const TPoint& APivotPoint,
                                       MatrixOrder AOrder) {
  RotateWorldTransform(AAngle, TdxPointF::Create(APivotPoint), AOrder);
}

void TdxGPCanvas::FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically,
                                     const TdxPointF& APivotPoint) {
  if (!AFlipHorizontally && !AFlipVertically) return;
  TOwned<TdxGPMatrix> M(TdxGPMatrix::CreateFlip(AFlipHorizontally, AFlipVertically, APivotPoint));
  ModifyWorldTransform(M.get(), MatrixOrderPrepend);
}

void TdxGPCanvas::FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically,
                                     const TPoint& APivotPoint) {
  FlipWorldTransform(AFlipHorizontally, AFlipVertically, TdxPointF::Create(APivotPoint));
}

void TdxGPCanvas::FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically,
                                     Single APivotPointX, Single APivotPointY) {
  FlipWorldTransform(AFlipHorizontally, AFlipVertically, TdxPointF{APivotPointX, APivotPointY});
}

void TdxGPCanvas::SaveWorldTransform() {
  GpMatrix* M = nullptr;
  GdipCheck(GdipCreateMatrix(&M));
  Status S = GdipGetWorldTransform(FHandle, M);
  if (S != Ok) {
    GdipDeleteMatrix(M);
    GdipCheck(S);
  }
  FSavedWorldTransforms.push_back(M);
}

void TdxGPCanvas::RestoreWorldTransform() {
  if (FSavedWorldTransforms.empty()) throw EListError(L"Unbalanced stack or queue operation");
  GpMatrix* M = FSavedWorldTransforms.back();
  FSavedWorldTransforms.pop_back();
  Status S = GdipSetWorldTransform(FHandle, M);
  GdipDeleteMatrix(M);
  GdipCheck(S);
}

void TdxGPCanvas::TransformPoints(TdxGpCoordinateSpace ADestSpace, TdxGpCoordinateSpace ASrcSpace,
                                  std::vector<TdxPointF>& APoints) {
  if (APoints.empty()) throw EArgumentOutOfRangeException(L"points");
  GdipCheck(GdipTransformPoints(FHandle, ADestSpace, ASrcSpace,
                                reinterpret_cast<Gdiplus::GpPointF*>(APoints.data()),
                                static_cast<INT>(APoints.size())));
}

void TdxGPCanvas::TransformPoints(TdxGpCoordinateSpace ADestSpace, TdxGpCoordinateSpace ASrcSpace,
                                  std::vector<TPoint>& APoints) {
  if (APoints.empty()) throw EArgumentOutOfRangeException(L"points");
  GdipCheck(GdipTransformPointsI(FHandle, ADestSpace, ASrcSpace,
                                 reinterpret_cast<Gdiplus::GpPoint*>(APoints.data()),
                                 static_cast<INT>(APoints.size())));
}

// ---------------------------------------------------------------------------
// Shapes: the two forms every family goes through

void TdxGPCanvas::FillAndOutline(const TdxRectF& ABounds, TdxGPPen* APen, TdxGPCustomBrush* ABrush,
                                 const std::function<Status(GpBrush*)>& AFill,
                                 const std::function<Status(GpPen*)>& AOutline) {
  if (ABrush && AFill) {
    ABrush->SetTargetRect(ABounds);
    GdipCheck(AFill(ABrush->NativeHandle()));
  }
  if (APen && AOutline) {
    APen->SetTargetRect(ABounds);
    GdipCheck(AOutline(APen->NativeHandle()));
  }
}

void TdxGPCanvas::FillAndOutline(TColor APenColor, TColor ABrushColor, Single APenWidth,
                                 TPenStyle APenStyle, Byte APenColorAlpha, Byte ABrushColorAlpha,
                                 const std::function<Status(GpBrush*)>& AFill,
                                 const std::function<Status(GpPen*)>& AOutline) {
  GpBrush* Brush = nullptr;
  if (AFill && dxGpCreateBrush(Brush, ABrushColor, ABrushColorAlpha)) {
    Status S = AFill(Brush);
    GdipDeleteBrush(Brush);
    GdipCheck(S);
  }
  GpPen* Pen = nullptr;
  if (AOutline && dxGpCreatePen(Pen, APenColor, APenWidth, APenStyle, APenColorAlpha)) {
    Status S = AOutline(Pen);
    GdipDeletePen(Pen);
    GdipCheck(S);
  }
}

namespace {
// A colour form over alpha colours: each split into TColor and alpha.
struct TSplit {
  TColor Color;
  Byte Alpha;
  explicit TSplit(TdxAlphaColor A) { Color = dxAlphaColorToColor(A, Alpha); }
};
}  // namespace

#define DX_SPLIT_COLORS(Pen_, Brush_) TSplit P_(Pen_), B_(Brush_);

void TdxGPCanvas::Arc(const TRect& R, Single AStartAngle, Single ASweepAngle, TColor APenColor,
                      Single APenWidth, TPenStyle APenStyle, Byte APenColorAlpha) {
  TRect D = CheckDestRect(R);
  FillAndOutline(APenColor, clNone, APenWidth, APenStyle, APenColorAlpha, 0, nullptr,
                 [&](GpPen* P) {
                   return GdipDrawArcI(FHandle, P, D.left, D.top, D.right - D.left,
                                       D.bottom - D.top, -AStartAngle, -ASweepAngle);
                 });
}

void TdxGPCanvas::Arc(const TRect& R, Single AStartAngle, Single ASweepAngle,
                      TdxAlphaColor APenColor, Single APenWidth, TPenStyle APenStyle) {
  TSplit P(APenColor);
  Arc(R, AStartAngle, ASweepAngle, P.Color, APenWidth, APenStyle, P.Alpha);
}

void TdxGPCanvas::Pie(const TRect& R, Single AStartAngle, Single ASweepAngle, TColor APenColor,
                      TColor ABrushColor, Single APenWidth, TPenStyle APenStyle,
                      Byte APenColorAlpha, Byte ABrushColorAlpha) {
  TRect D = CheckDestRect(R);
  INT W = D.right - D.left, H = D.bottom - D.top;
  FillAndOutline(
      APenColor, ABrushColor, APenWidth, APenStyle, APenColorAlpha, ABrushColorAlpha,
      [&](GpBrush* B) {
        return GdipFillPieI(FHandle, B, D.left, D.top, W, H, -AStartAngle, -ASweepAngle);
      },
      [&](GpPen* P) {
        return GdipDrawPieI(FHandle, P, D.left, D.top, W, H, -AStartAngle, -ASweepAngle);
      });
}

void TdxGPCanvas::Pie(const TRect& R, Single AStartAngle, Single ASweepAngle,
                      TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, Single APenWidth,
                      TPenStyle APenStyle) {
  DX_SPLIT_COLORS(APenColor, ABrushColor)
  Pie(R, AStartAngle, ASweepAngle, P_.Color, B_.Color, APenWidth, APenStyle, P_.Alpha, B_.Alpha);
}

void TdxGPCanvas::Pie(const TdxRectF& R, Single AStartAngle, Single ASweepAngle,
                      TdxAlphaColor APenColor, TdxAlphaColor ABrushColor, Single APenWidth,
                      TPenStyle APenStyle) {
  DX_SPLIT_COLORS(APenColor, ABrushColor)
  FillAndOutline(
      P_.Color, B_.Color, APenWidth, APenStyle, P_.Alpha, B_.Alpha,
      [&](GpBrush* B) {
        return GdipFillPie(FHandle, B, R.Left, R.Top, R.Width(), R.Height(), -AStartAngle,
                           -ASweepAngle);
      },
      [&](GpPen* P) {
        return GdipDrawPie(FHandle, P, R.Left, R.Top, R.Width(), R.Height(), -AStartAngle,
                           -ASweepAngle);
      });
}

void TdxGPCanvas::Ellipse(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  TRect D = CheckDestRect(R);
  INT W = D.right - D.left, H = D.bottom - D.top;
  FillAndOutline(
      Bounds(D), APen, ABrush,
      [&](GpBrush* B) { return GdipFillEllipseI(FHandle, B, D.left, D.top, W, H); },
      [&](GpPen* P) { return GdipDrawEllipseI(FHandle, P, D.left, D.top, W, H); });
}

void TdxGPCanvas::Ellipse(const TRect& R, TColor APenColor, TColor ABrushColor, Single APenWidth,
                          TPenStyle APenStyle, Byte APenColorAlpha, Byte ABrushColorAlpha) {
  TRect D = CheckDestRect(R);
  INT W = D.right - D.left, H = D.bottom - D.top;
  FillAndOutline(
      APenColor, ABrushColor, APenWidth, APenStyle, APenColorAlpha, ABrushColorAlpha,
      [&](GpBrush* B) { return GdipFillEllipseI(FHandle, B, D.left, D.top, W, H); },
      [&](GpPen* P) { return GdipDrawEllipseI(FHandle, P, D.left, D.top, W, H); });
}

void TdxGPCanvas::Ellipse(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                          Single APenWidth, TPenStyle APenStyle) {
  DX_SPLIT_COLORS(APenColor, ABrushColor)
  Ellipse(R, P_.Color, B_.Color, APenWidth, APenStyle, P_.Alpha, B_.Alpha);
}

void TdxGPCanvas::Ellipse(const TdxRectF& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  FillAndOutline(
      R, APen, ABrush,
      [&](GpBrush* B) { return GdipFillEllipse(FHandle, B, R.Left, R.Top, R.Width(), R.Height()); },
      [&](GpPen* P) { return GdipDrawEllipse(FHandle, P, R.Left, R.Top, R.Width(), R.Height()); });
}

void TdxGPCanvas::Ellipse(const TdxRectF& R, TColor APenColor, TColor ABrushColor, Single APenWidth,
                          TPenStyle APenStyle, Byte APenColorAlpha, Byte ABrushColorAlpha) {
  FillAndOutline(
      APenColor, ABrushColor, APenWidth, APenStyle, APenColorAlpha, ABrushColorAlpha,
      [&](GpBrush* B) { return GdipFillEllipse(FHandle, B, R.Left, R.Top, R.Width(), R.Height()); },
      [&](GpPen* P) { return GdipDrawEllipse(FHandle, P, R.Left, R.Top, R.Width(), R.Height()); });
}

void TdxGPCanvas::Ellipse(const TdxRectF& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                          Single APenWidth, TPenStyle APenStyle) {
  DX_SPLIT_COLORS(APenColor, ABrushColor)
  Ellipse(R, P_.Color, B_.Color, APenWidth, APenStyle, P_.Alpha, B_.Alpha);
}

void TdxGPCanvas::Rectangle(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  TRect D = CheckDestRect(R);
  INT W = D.right - D.left, H = D.bottom - D.top;
  FillAndOutline(
      Bounds(D), APen, ABrush,
      [&](GpBrush* B) { return GdipFillRectangleI(FHandle, B, D.left, D.top, W, H); },
      [&](GpPen* P) { return GdipDrawRectangleI(FHandle, P, D.left, D.top, W, H); });
}

void TdxGPCanvas::Rectangle(const TRect& R, TColor APenColor, TColor ABrushColor, Single APenWidth,
                            TPenStyle APenStyle, Byte APenColorAlpha, Byte ABrushColorAlpha) {
  TRect D = CheckDestRect(R);
  INT W = D.right - D.left, H = D.bottom - D.top;
  FillAndOutline(
      APenColor, ABrushColor, APenWidth, APenStyle, APenColorAlpha, ABrushColorAlpha,
      [&](GpBrush* B) { return GdipFillRectangleI(FHandle, B, D.left, D.top, W, H); },
      [&](GpPen* P) { return GdipDrawRectangleI(FHandle, P, D.left, D.top, W, H); });
}

void TdxGPCanvas::Rectangle(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                            Single APenWidth, TPenStyle APenStyle) {
  DX_SPLIT_COLORS(APenColor, ABrushColor)
  Rectangle(R, P_.Color, B_.Color, APenWidth, APenStyle, P_.Alpha, B_.Alpha);
}

void TdxGPCanvas::Rectangle(const TdxRectF& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  FillAndOutline(
      R, APen, ABrush,
      [&](GpBrush* B) {
        return GdipFillRectangle(FHandle, B, R.Left, R.Top, R.Width(), R.Height());
      },
      [&](GpPen* P) {
        return GdipDrawRectangle(FHandle, P, R.Left, R.Top, R.Width(), R.Height());
      });
}

void TdxGPCanvas::Rectangle(const TdxRectF& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                            Single APenWidth, TPenStyle APenStyle) {
  constexpr TdxAlphaColor NoColor = TdxAlphaColor(0x00FFFFFF);
  if (ABrushColor != NoColor) {
    TTemporaryBrush B(ABrushColor);
    GdipCheck(GdipFillRectangle(FHandle, B.Get(), R.Left, R.Top, R.Width(), R.Height()));
  }
  if (APenColor == NoColor || APenWidth <= 0 ||
      static_cast<int>(APenStyle) > static_cast<int>(TPenStyle::psDashDotDot))
    return;
  TTemporaryPen P(APenColor, APenWidth, PenStyleDash[static_cast<int>(APenStyle)]);
  GdipCheck(GdipDrawRectangle(FHandle, P.Get(), R.Left, R.Top, R.Width(), R.Height()));
}

void TdxGPCanvas::RoundRect(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush,
                            Integer ARadiusX, Integer ARadiusY) {
  TOwned<TdxGPPath> P(Create<TdxGPPath>());
  P->AddRoundRect(CheckDestRect(R), ARadiusX, ARadiusY);
  Path(P.get(), APen, ABrush);
}

void TdxGPCanvas::RoundRect(const TRect& R, TColor APenColor, TColor ABrushColor, Integer ARadiusX,
                            Integer ARadiusY, Integer APenWidth, Byte APenColorAlpha,
                            Byte ABrushColorAlpha) {
  RoundRect(R, dxColorToAlphaColor(APenColor, APenColorAlpha),
            dxColorToAlphaColor(ABrushColor, ABrushColorAlpha), ARadiusX, ARadiusY,
            static_cast<Single>(APenWidth));
}

void TdxGPCanvas::RoundRect(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                            Integer ARadiusX, Integer ARadiusY, Single APenWidth) {
  TOwned<TdxGPPath> P(Create<TdxGPPath>());
  P->AddRoundRect(CheckDestRect(R), ARadiusX, ARadiusY);
  Path(P.get(), APenColor, ABrushColor, APenWidth, TPenStyle::psSolid);
}

void TdxGPCanvas::Path(TdxGPPath* APath, TdxGPPen* APen, TdxGPCustomBrush* ABrush) {
  if (APen && APen->IsEmpty()) APen = nullptr;
  FillAndOutline(
      APath->GetBoundsF(), APen, ABrush,
      [&](GpBrush* B) { return GdipFillPath(FHandle, B, APath->Handle()); },
      [&](GpPen* P) { return GdipDrawPath(FHandle, P, APath->Handle()); });
}

void TdxGPCanvas::Path(TdxGPPath* APath, TColor APenColor, TColor ABrushColor, Single APenWidth,
                       TPenStyle APenStyle, Byte APenColorAlpha, Byte ABrushColorAlpha) {
  FillAndOutline(
      APenColor, ABrushColor, APenWidth, APenStyle, APenColorAlpha, ABrushColorAlpha,
      [&](GpBrush* B) { return GdipFillPath(FHandle, B, APath->Handle()); },
      [&](GpPen* P) { return GdipDrawPath(FHandle, P, APath->Handle()); });
}

void TdxGPCanvas::Path(TdxGPPath* APath, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                       Single APenWidth, TPenStyle APenStyle) {
  DX_SPLIT_COLORS(APenColor, ABrushColor)
  Path(APath, P_.Color, B_.Color, APenWidth, APenStyle, P_.Alpha, B_.Alpha);
}

namespace {
const Gdiplus::GpPoint* GpPoints(const std::vector<TPoint>& APoints) {
  return reinterpret_cast<const Gdiplus::GpPoint*>(APoints.data());
}
const Gdiplus::GpPointF* GpPoints(const std::vector<TdxPointF>& APoints) {
  return reinterpret_cast<const Gdiplus::GpPointF*>(APoints.data());
}
INT Count(const auto& APoints) { return static_cast<INT>(APoints.size()); }
}  // namespace

void TdxGPCanvas::Polygon(const std::vector<TPoint>& APoints, TdxGPCustomBrush* ABrush,
                          TdxGPPen* APen) {
  FillAndOutline(
      PointsBounds(APoints), APen, ABrush,
      [&](GpBrush* B) {
        return GdipFillPolygonI(FHandle, B, GpPoints(APoints), Count(APoints), FillModeWinding);
      },
      [&](GpPen* P) { return GdipDrawPolygonI(FHandle, P, GpPoints(APoints), Count(APoints)); });
}

void TdxGPCanvas::Polygon(const std::vector<TPoint>& APoints, TColor APenColor, TColor ABrushColor,
                          Single APenWidth, TPenStyle APenStyle, Byte APenColorAlpha,
                          Byte ABrushColorAlpha) {
  FillAndOutline(
      APenColor, ABrushColor, APenWidth, APenStyle, APenColorAlpha, ABrushColorAlpha,
      [&](GpBrush* B) {
        return GdipFillPolygonI(FHandle, B, GpPoints(APoints), Count(APoints), FillModeWinding);
      },
      [&](GpPen* P) { return GdipDrawPolygonI(FHandle, P, GpPoints(APoints), Count(APoints)); });
}

void TdxGPCanvas::Polygon(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor,
                          TdxAlphaColor ABrushColor, Single APenWidth, TPenStyle APenStyle) {
  DX_SPLIT_COLORS(APenColor, ABrushColor)
  Polygon(APoints, P_.Color, B_.Color, APenWidth, APenStyle, P_.Alpha, B_.Alpha);
}

void TdxGPCanvas::Polygon(const std::vector<TdxPointF>& APoints, TdxGPCustomBrush* ABrush,
                          TdxGPPen* APen) {
  FillAndOutline(
      PointsBounds(APoints), APen, ABrush,
      [&](GpBrush* B) {
        return GdipFillPolygon(FHandle, B, GpPoints(APoints), Count(APoints), FillModeWinding);
      },
      [&](GpPen* P) { return GdipDrawPolygon(FHandle, P, GpPoints(APoints), Count(APoints)); });
}

void TdxGPCanvas::Polygon(const std::vector<TdxPointF>& APoints, TColor APenColor,
                          TColor ABrushColor, Single APenWidth, TPenStyle APenStyle,
                          Byte APenColorAlpha, Byte ABrushColorAlpha) {
  FillAndOutline(
      APenColor, ABrushColor, APenWidth, APenStyle, APenColorAlpha, ABrushColorAlpha,
      [&](GpBrush* B) {
        return GdipFillPolygon(FHandle, B, GpPoints(APoints), Count(APoints), FillModeWinding);
      },
      [&](GpPen* P) { return GdipDrawPolygon(FHandle, P, GpPoints(APoints), Count(APoints)); });
}

void TdxGPCanvas::Polygon(const std::vector<TdxPointF>& APoints, TdxAlphaColor APenColor,
                          TdxAlphaColor ABrushColor, Single APenWidth, TdxGPPenStyle APenStyle) {
  DX_SPLIT_COLORS(APenColor, ABrushColor)
  Polygon(APoints, P_.Color, B_.Color, APenWidth, static_cast<TPenStyle>(APenStyle), P_.Alpha,
          B_.Alpha);
}

void TdxGPCanvas::Polyline(const std::vector<TPoint>& APoints, TdxGPPen* APen) {
  if (!APen || APen->IsEmpty()) return;
  FillAndOutline(PointsBounds(APoints), APen, nullptr, nullptr, [&](GpPen* P) {
    return GdipDrawLinesI(FHandle, P, GpPoints(APoints), Count(APoints));
  });
}

void TdxGPCanvas::Polyline(const std::vector<TPoint>& APoints, TColor APenColor, Single APenWidth,
                           TPenStyle APenStyle, Byte APenColorAlpha) {
  FillAndOutline(
      APenColor, clNone, APenWidth, APenStyle, APenColorAlpha, 0, nullptr,
      [&](GpPen* P) { return GdipDrawLinesI(FHandle, P, GpPoints(APoints), Count(APoints)); });
}

void TdxGPCanvas::Polyline(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor,
                           Single APenWidth, TPenStyle APenStyle) {
  TSplit P(APenColor);
  Polyline(APoints, P.Color, APenWidth, APenStyle, P.Alpha);
}

void TdxGPCanvas::Polyline(const std::vector<TdxPointF>& APoints, TdxGPPen* APen) {
  if (!APen || APen->IsEmpty()) return;
  FillAndOutline(PointsBounds(APoints), APen, nullptr, nullptr, [&](GpPen* P) {
    return GdipDrawLines(FHandle, P, GpPoints(APoints), Count(APoints));
  });
}

void TdxGPCanvas::Polyline(const std::vector<TdxPointF>& APoints, TColor APenColor,
                           Single APenWidth, TPenStyle APenStyle, Byte APenColorAlpha) {
  FillAndOutline(
      APenColor, clNone, APenWidth, APenStyle, APenColorAlpha, 0, nullptr,
      [&](GpPen* P) { return GdipDrawLines(FHandle, P, GpPoints(APoints), Count(APoints)); });
}

void TdxGPCanvas::Polyline(const std::vector<TdxPointF>& APoints, TdxAlphaColor APenColor,
                           Single APenWidth, TPenStyle APenStyle) {
  TSplit P(APenColor);
  Polyline(APoints, P.Color, APenWidth, APenStyle, P.Alpha);
}

void TdxGPCanvas::Curve(const std::vector<TPoint>& APoints, TColor APenColor, Single APenWidth,
                        TPenStyle APenStyle, Byte APenColorAlpha) {
  FillAndOutline(
      APenColor, clNone, APenWidth, APenStyle, APenColorAlpha, 0, nullptr,
      [&](GpPen* P) { return GdipDrawCurveI(FHandle, P, GpPoints(APoints), Count(APoints)); });
}

void TdxGPCanvas::Curve(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor,
                        Single APenWidth, TPenStyle APenStyle) {
  TSplit P(APenColor);
  Curve(APoints, P.Color, APenWidth, APenStyle, P.Alpha);
}

void TdxGPCanvas::Curve(const std::vector<TdxPointF>& APoints, TColor APenColor, Single APenWidth,
                        TPenStyle APenStyle, Byte APenColorAlpha) {
  FillAndOutline(
      APenColor, clNone, APenWidth, APenStyle, APenColorAlpha, 0, nullptr,
      [&](GpPen* P) { return GdipDrawCurve(FHandle, P, GpPoints(APoints), Count(APoints)); });
}

void TdxGPCanvas::Line(Integer X1, Integer Y1, Integer X2, Integer Y2, TdxGPPen* APen) {
  GdipCheck(GdipDrawLineI(FHandle, APen->NativeHandle(), X1, Y1, X2, Y2));
}

void TdxGPCanvas::Line(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor APenColor,
                       Single APenWidth, TPenStyle APenStyle, Byte APenColorAlpha) {
  FillAndOutline(APenColor, clNone, APenWidth, APenStyle, APenColorAlpha, 0, nullptr,
                 [&](GpPen* P) { return GdipDrawLineI(FHandle, P, X1, Y1, X2, Y2); });
}

void TdxGPCanvas::Line(Integer X1, Integer Y1, Integer X2, Integer Y2, TdxAlphaColor APenColor,
                       Single APenWidth, TPenStyle APenStyle) {
  TSplit P(APenColor);
  Line(X1, Y1, X2, Y2, P.Color, APenWidth, APenStyle, P.Alpha);
}

void TdxGPCanvas::Line(Single X1, Single Y1, Single X2, Single Y2, TdxGPPen* APen) {
  GdipCheck(GdipDrawLine(FHandle, APen->NativeHandle(), X1, Y1, X2, Y2));
}

void TdxGPCanvas::Line(Single X1, Single Y1, Single X2, Single Y2, TdxAlphaColor APenColor,
                       Single APenWidth, TPenStyle APenStyle) {
  TSplit C(APenColor);
  FillAndOutline(C.Color, clNone, APenWidth, APenStyle, C.Alpha, 0, nullptr,
                 [&](GpPen* P) { return GdipDrawLine(FHandle, P, X1, Y1, X2, Y2); });
}

void TdxGPCanvas::FillRectangle(const TRect& R, TdxGPCustomBrush* ABrush) {
  FillAndOutline(
      Bounds(R), nullptr, ABrush,
      [&](GpBrush* B) {
        return GdipFillRectangleI(FHandle, B, R.left, R.top, R.right - R.left, R.bottom - R.top);
      },
      nullptr);
}

void TdxGPCanvas::FillRectangle(const TdxRectF& R, TdxGPCustomBrush* ABrush) {
  FillAndOutline(
      R, nullptr, ABrush,
      [&](GpBrush* B) {
        return GdipFillRectangle(FHandle, B, R.Left, R.Top, R.Width(), R.Height());
      },
      nullptr);
}

void TdxGPCanvas::FillRectangle(const TRect& R, TdxAlphaColor ABrushColor) {
  if (ABrushColor == dxacNone || ABrushColor == TdxAlphaColor(0x00FFFFFF)) return;
  TTemporaryBrush B(ABrushColor);
  GdipCheck(
      GdipFillRectangleI(FHandle, B.Get(), R.left, R.top, R.right - R.left, R.bottom - R.top));
}

void TdxGPCanvas::FillRectangle(const TdxRectF& R, TdxAlphaColor ABrushColor) {
  if (ABrushColor == dxacNone || ABrushColor == TdxAlphaColor(0x00FFFFFF)) return;
  TTemporaryBrush B(ABrushColor);
  GdipCheck(GdipFillRectangle(FHandle, B.Get(), R.Left, R.Top, R.Width(), R.Height()));
}

void TdxGPCanvas::FillRectangleByGradient(const TRect& R, TdxAlphaColor AColor1,
                                          TdxAlphaColor AColor2, LinearGradientMode AMode) {
  if (AColor2 == AColor1 || AColor2 == dxacDefault) {
    FillRectangle(R, AColor1);
    return;
  }
  Gdiplus::GpRect Area(R.left - 1, R.top - 1, R.right - R.left + 2, R.bottom - R.top + 2);
  GpLineGradient* Brush = nullptr;
  GdipCheck(GdipCreateLineBrushFromRectI(&Area, dxAlphaColorValue(AColor1),
                                         dxAlphaColorValue(AColor2), AMode, WrapModeTile, &Brush));
  Status S = GdipFillRectangleI(FHandle, Brush, R.left, R.top, R.right - R.left, R.bottom - R.top);
  GdipDeleteBrush(Brush);
  GdipCheck(S);
}

void TdxGPCanvas::Region(TdxGPRegion* ARegion, TdxAlphaColor, TdxAlphaColor ABrushColor, Single,
                         TPenStyle) {
  TTemporaryBrush B(ABrushColor);
  GdipCheck(GdipFillRegion(FHandle, B.Get(), ARegion->Handle()));
}

#undef DX_SPLIT_COLORS

// ---------------------------------------------------------------------------
// Text

void TdxGPCanvas::DrawString(const String& S, TdxGPFont* AFont, TdxGPCustomBrush* ABrush,
                             const TdxRectF& ARect, TdxGPStringFormat* AFormat) {
  if (ARect.Right <= ARect.Left || ARect.Bottom <= ARect.Top) return;
  if (!ABrush || !AFont) GdipCheck(InvalidParameter);
  if (S.empty()) return;
  Gdiplus::GpRectF Layout = GpRect(ARect);
  GdipCheck(GdipDrawString(FHandle, S.c_str(), static_cast<INT>(S.size()), AFont->NativeFont(),
                           &Layout, AFormat ? AFormat->Handle() : nullptr, ABrush->NativeHandle()));
}

void TdxGPCanvas::DrawString(const String& S, TdxGPFont* AFont, TdxGPCustomBrush* ABrush, Single X,
                             Single Y, TdxGPStringFormat* AFormat) {
  if (!ABrush || !AFont) GdipCheck(InvalidParameter);
  if (S.empty()) return;
  Gdiplus::GpRectF Layout(X, Y, 0, 0);
  GdipCheck(GdipDrawString(FHandle, S.c_str(), static_cast<INT>(S.size()), AFont->NativeFont(),
                           &Layout, AFormat ? AFormat->Handle() : nullptr, ABrush->NativeHandle()));
}

void TdxGPCanvas::DrawString(const String& S, TdxGPFont* AFont, TdxGPCustomBrush* ABrush,
                             const TdxPointF& APoint, TdxGPStringFormat* AFormat) {
  DrawString(S, AFont, ABrush, APoint.X, APoint.Y, AFormat);
}

TdxSizeF TdxGPCanvas::MeasureStringCore(const String& AText, TdxGPFont* AFont,
                                        const TdxGpRectF& ALayout, TdxGPStringFormat* AFormat,
                                        Integer* ACharactersFitted, Integer* ALinesFilled) {
  if (ACharactersFitted) *ACharactersFitted = 0;
  if (ALinesFilled) *ALinesFilled = 0;
  if (AText.empty()) return TdxSizeF{0, 0};
  if (!AFont) GdipCheck(InvalidParameter);
  Gdiplus::GpRectF Layout(ALayout.X, ALayout.Y, ALayout.Width, ALayout.Height), Box;
  INT Fitted = 0, Lines = 0;
  GdipCheck(GdipMeasureString(FHandle, AText.c_str(), static_cast<INT>(AText.size()),
                              AFont->NativeFont(), &Layout, AFormat ? AFormat->Handle() : nullptr,
                              &Box, &Fitted, &Lines));
  if (ACharactersFitted) *ACharactersFitted = Fitted;
  if (ALinesFilled) *ALinesFilled = Lines;
  return TdxSizeF{Box.Width, Box.Height};
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, TdxGPFont* AFont,
                                    const TdxSizeF& ALayoutArea, TdxGPStringFormat* AStringFormat,
                                    Integer& ACharactersFitted, Integer& ALinesFilled) {
  return MeasureStringCore(AText, AFont, TdxGpRectF(0, 0, ALayoutArea.cx, ALayoutArea.cy),
                           AStringFormat, &ACharactersFitted, &ALinesFilled);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, TdxGPFont* AFont, const TdxPointF& AOrigin,
                                    TdxGPStringFormat* AStringFormat) {
  return MeasureStringCore(AText, AFont, TdxGpRectF(AOrigin.X, AOrigin.Y, 0, 0), AStringFormat,
                           nullptr, nullptr);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, TdxGPFont* AFont,
                                    const TdxSizeF& ALayoutArea, TdxGPStringFormat* AStringFormat) {
  return MeasureStringCore(AText, AFont, TdxGpRectF(0, 0, ALayoutArea.cx, ALayoutArea.cy),
                           AStringFormat, nullptr, nullptr);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, TdxGPFont* AFont,
                                    const TdxSizeF& ALayoutArea) {
  return MeasureString(AText, AFont, ALayoutArea, nullptr);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, TdxGPFont* AFont) {
  return MeasureStringCore(AText, AFont, TdxGpRectF(), nullptr, nullptr, nullptr);
}

TdxSizeF TdxGPCanvas::MeasureString(const String& AText, TdxGPFont* AFont, Double AWidth,
                                    TdxGPStringFormat* AFormat) {
  return MeasureString(AText, AFont, TdxSizeF{static_cast<Single>(AWidth), 999999}, AFormat);
}

std::vector<TdxGPRegion*> TdxGPCanvas::MeasureCharacterRanges(const String& AText, TdxGPFont* AFont,
                                                              const TdxRectF& ALayoutRect,
                                                              TdxGPStringFormat* AStringFormat) {
  if (AText.empty()) return {};
  if (!AFont) GdipCheck(InvalidParameter);
  INT Count = 0;
  GdipCheck(GdipGetStringFormatMeasurableCharacterRangeCount(
      AStringFormat ? AStringFormat->Handle() : nullptr, &Count));
  std::vector<TOwned<TdxGPRegion>> Owned;
  std::vector<GpRegion*> Handles;
  for (INT I = 0; I < Count; ++I) {
    Owned.emplace_back(Create<TdxGPRegion>());
    Handles.push_back(Owned.back()->Handle());
  }
  Gdiplus::GpRectF Layout = GpRect(ALayoutRect);
  GdipCheck(GdipMeasureCharacterRanges(FHandle, AText.c_str(), static_cast<INT>(AText.size()),
                                       AFont->NativeFont(), Layout, AStringFormat->Handle(), Count,
                                       Handles.data()));
  std::vector<TdxGPRegion*> Result;
  for (auto& R : Owned) Result.push_back(R.release());
  return Result;
}

// ---------------------------------------------------------------------------
// Images

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
                       Byte AAlpha) {
  AGraphic->StretchDraw(this, ADestRect, ASourceRect, nullptr, dxGpGetAlphaBlendAttributes(AAlpha));
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect,
                       Byte AAlpha) {
  AGraphic->StretchDraw(this, ADestRect, ASourceRect, nullptr, dxGpGetAlphaBlendAttributes(AAlpha));
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
                       TdxGPImageAttributes* AAttributes) {
  AGraphic->StretchDraw(this, ADestRect, ASourceRect, nullptr, AAttributes);
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TdxRectF& R, Byte AAlpha) {
  Draw(AGraphic, R, TdxRectF::Create(AGraphic->ClientRect()), AAlpha);
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TRect& R, Byte AAlpha) {
  Draw(AGraphic, R, AGraphic->ClientRect(), AAlpha);
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const TRect& R, TdxGPImageAttributes* AAttributes) {
  Draw(AGraphic, TdxRectF::Create(R), TdxRectF::Create(AGraphic->ClientRect()), AAttributes);
}

void TdxGPCanvas::Draw(TdxGPImage* AGraphic, const std::vector<TdxPointF>& APoints,
                       TdxGPImageAttributes* AAttributes) {
  GpImage* Image = AGraphic->Handle();
  if (!Image) return;
  if (!AAttributes) {
    GdipCheck(GdipDrawImagePoints(FHandle, Image, GpPoints(APoints), Count(APoints)));
    return;
  }
  GdipCheck(GdipDrawImagePointsRect(FHandle, Image, GpPoints(APoints), Count(APoints), 0, 0,
                                    static_cast<Single>(AGraphic->Width()),
                                    static_cast<Single>(AGraphic->Height()), UnitPixel,
                                    AAttributes->Handle(), nullptr, nullptr));
}

void TdxGPCanvas::DrawBitmap(TBitmap* ABitmap, const TRect& R, Byte AAlpha) {
  if (ABitmap->Empty()) return;
  TOwned<TdxSmartImageData> Data(Create<TdxSmartImageData>());
  Data->LoadFromBitmap(ABitmap);
  TOwned<TdxGPImageHandle> Handle(TdxGPImageHandle::CreateFromBits(
      Data->Size().cx, Data->Size().cy, Data->Bits(), Data->BitsFormat()));
  Handle->Draw(this, R, dxGpGetAlphaBlendAttributes(AAlpha), Handle->ClientRect());
}

void TdxGPCanvas::DrawTile(TdxGPImage* AGraphic, const TRect& R, Byte AAlpha) {
  DrawTile(AGraphic, R, AGraphic->ClientRect(), AAlpha);
}

void TdxGPCanvas::DrawTile(TdxGPImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect,
                           Byte AAlpha) {
  if (GpImage* Image = AGraphic->Handle())
    dxGpTilePartEx(FHandle, ADestRect, ASourceRect, Image, AAlpha);
}

IMPLEMENT_CREATABLE_CLASS(TdxGPGraphics)

// ---------------------------------------------------------------------------
// Paint canvases

IMPLEMENT_CREATABLE_CLASS(TdxGPCustomPaintCanvas)

TdxGPCustomPaintCanvas::TdxGPCustomPaintCanvas() : FLock(Create<TCriticalSection>()) {}

TdxGPCustomPaintCanvas::~TdxGPCustomPaintCanvas() {
  // A graphics given to BeginPaint belongs to its giver.
  if (FHandleGiven) FHandle = nullptr;
  FLock.reset();
}

TdxGPCustomPaintCanvas::TState TdxGPCustomPaintCanvas::CurrentState() const {
  return TState{FHandle, FBuffer, FDrawRect, FDrawDC, FIsLowColorsMode};
}

void TdxGPCustomPaintCanvas::SetCurrentState(const TState& AState) {
  FHandle = AState.Handle;
  FBuffer = AState.Buffer;
  FDrawRect = AState.DrawRect;
  FDrawDC = AState.DC;
  FIsLowColorsMode = AState.IsLowColorsMode;
  FHandleGiven = AState.DC == nullptr && AState.Handle != nullptr;
}

void TdxGPCustomPaintCanvas::CreateBuffer(HDC DC, const TRect& R) {
  TOwned<TBitmap> Buffer = MakeOwned<TBitmap>();
  Buffer->SetPixelFormat(TPixelFormat::pf32bit);
  Buffer->SetSize(R.right - R.left + 1, R.bottom - R.top + 1);
  Buffer->Canvas()->Lock();
  HDC BufferDC = Buffer->Canvas()->Handle();
  BitBlt(BufferDC, 0, 0, Buffer->Width(), Buffer->Height(), DC, R.left, R.top, SRCCOPY);
  SetWindowOrgEx(BufferDC, R.left, R.top, nullptr);
  FBuffer = Buffer.release();
}

void TdxGPCustomPaintCanvas::WriteBackBuffer() {
  TBitmap* Buffer = FBuffer;
  FBuffer = nullptr;
  HDC BufferDC = Buffer->Canvas()->Handle();
  SetWindowOrgEx(BufferDC, 0, 0, nullptr);
  {
    TSaveDCGuard Saved(FDrawDC);
    BitBlt(FDrawDC, FDrawRect.left, FDrawRect.top, Buffer->Width(), Buffer->Height(), BufferDC, 0,
           0, SRCCOPY);
  }
  Buffer->Canvas()->Unlock();
  Buffer->Free();
}

void TdxGPCustomPaintCanvas::BeginPaint(HDC DC, const TRect& R) {
  FLock->Acquire();
  SaveState();
  FDrawRect = R;
  FDrawDC = DC;
  FHandleGiven = false;
  FHandle = nullptr;
  HDC DrawDC = DC;
  FBuffer = nullptr;
  if (dxGpIsDoubleBufferedNeeded(DC)) {
    CreateBuffer(DC, R);
    DrawDC = FBuffer->Canvas()->Handle();
    FIsLowColorsMode = true;
  } else {
    // The mode describes this paint; the outer one gets its own back with
    // the saved state.
    FIsLowColorsMode = false;
  }
  CreateHandle(DrawDC);
}

void TdxGPCustomPaintCanvas::BeginPaint(GpGraphics* AHandle) {
  FLock->Acquire();
  SaveState();
  FDrawRect = TRect{};
  FDrawDC = nullptr;
  FHandle = AHandle;
  FHandleGiven = true;
  FBuffer = nullptr;
}

void TdxGPCustomPaintCanvas::EndPaint() {
  {
    auto OnFailure = Finally([&] {
      FIsLowColorsMode = false;
      RestoreState();
      FLock->Release();
    });
    if (FDrawDC) FreeHandle();
    // A paint canvas never deletes a graphics it was given.
    if (FHandleGiven) FHandle = nullptr;
    FHandleGiven = false;
    if (FBuffer) WriteBackBuffer();
    FIsLowColorsMode = false;
    OnFailure.Dismiss();
  }
  RestoreState();
  FLock->Release();
}

IMPLEMENT_CREATABLE_CLASS(TdxGPPaintCanvas)

TdxGPPaintCanvas::~TdxGPPaintCanvas() = default;

void TdxGPPaintCanvas::SaveState() {
  if (static_cast<Integer>(FSavedStates.size()) < FCounter + 1)
    FSavedStates.resize(std::max<size_t>(FSavedStates.size() + 4, FCounter + 1));
  FSavedStates[FCounter] = CurrentState();
  ++FCounter;
}

void TdxGPPaintCanvas::RestoreState() {
  --FCounter;
  SetCurrentState(FSavedStates[FCounter]);
}

namespace {
TdxGPPaintCanvas* GPPaintCanvas = nullptr;
}  // namespace

TdxGPPaintCanvas* dxGPPaintCanvas() {
  if (!GPPaintCanvas) GPPaintCanvas = Create<TdxGPPaintCanvas>();
  return GPPaintCanvas;
}

void dxGpFreePaintCanvas() { FreeAndNil(GPPaintCanvas); }

TdxGPCustomPaintCanvas* dxGpBeginPaint(HDC DC, const TRect& R) {
  TOwned<TdxGPCustomPaintCanvas> Canvas(Create<TdxGPCustomPaintCanvas>());
  Canvas->BeginPaint(DC, R);
  return Canvas.release();
}

void dxGpEndPaint(TdxGPCustomPaintCanvas*& ACanvas) {
  TdxGPCustomPaintCanvas* C = ACanvas;
  ACanvas = nullptr;
  auto FreeCanvas = Finally([&] { C->Free(); });
  C->EndPaint();
}

namespace {
// A memory DC reports the display's depth; what it draws into is the bitmap
// selected into it.
bool IsLowColorMemoryDC(HDC DC) {
  if (GetObjectType(DC) != OBJ_MEMDC) return false;
  BITMAP Data;
  return dxGetBitmapData(static_cast<HBITMAP>(GetCurrentObject(DC, OBJ_BITMAP)), Data) &&
         Data.bmBitsPixel <= 16;
}
}  // namespace

bool dxGpIsDoubleBufferedNeeded(HDC DC) {
  if (GetDeviceCaps(DC, BITSPIXEL) <= 16 || IsLowColorMemoryDC(DC) ||
      GetDeviceCaps(DC, TECHNOLOGY) == DT_RASPRINTER || GetDeviceCaps(DC, NUMCOLORS) > 1)
    return true;
  if (IsWinVistaOrLater) return false;
  HWND Wnd = dxWindowFromDC(DC);
  return Wnd && (GetWindowLongW(Wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TdxGPStreamAdapter)

HRESULT STDMETHODCALLTYPE TdxGPStreamAdapter::Stat(STATSTG* pstatstg, DWORD grfStatFlag) {
  if (!pstatstg) return S_OK;
  try {
    std::memset(pstatstg, 0, sizeof(STATSTG));
    HRESULT R = TStreamAdapter::Stat(pstatstg, grfStatFlag);
    return R;
  } catch (...) {
    return E_UNEXPECTED;
  }
}
