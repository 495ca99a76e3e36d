// The renderers and how each element draws itself through them.
#include <algorithm>
#include <cmath>
#include <functional>

#include "WinHandles.h"
#include "cxGraphics.h"
#include "dxSVGCore.h"

IMPLEMENT_CREATABLE_CLASS(TdxSVGBrush)
IMPLEMENT_CREATABLE_CLASS(TdxSVGPen)
IMPLEMENT_CLASS(TdxSVGCustomRenderer)
IMPLEMENT_CLASS(TdxSVGRenderer)
IMPLEMENT_CLASS(TdxSVGRendererClipPath)

namespace {
Single Distance(Single X1, Single Y1, Single X2, Single Y2) {
  return static_cast<Single>(
      std::hypot(static_cast<Double>(X2) - X1, static_cast<Double>(Y2) - Y1));
}
}  // namespace

bool dxSVGIsUsableTransform(const XFORM& M) {
  if (!std::isfinite(M.eM11) || !std::isfinite(M.eM12) || !std::isfinite(M.eM21) ||
      !std::isfinite(M.eM22) || !std::isfinite(M.eDx) || !std::isfinite(M.eDy))
    return false;
  // GDI+ works in single precision: its determinant must agree with the
  // exact one, or a nearly flat matrix counts as singular there (or worse,
  // not).
  const Double Det = static_cast<Double>(M.eM11) * M.eM22 - static_cast<Double>(M.eM12) * M.eM21;
  const Single SingleDet = M.eM11 * M.eM22 - M.eM12 * M.eM21;
  return std::isfinite(SingleDet) && SingleDet != 0 && Det != 0 &&
         std::fabs(SingleDet - Det) <= 1e-3 * std::fabs(Det);
}

TdxAlphaColor dxGpApplyOpacity(TdxAlphaColor AColor, Single AOpacity) {
  if (AOpacity >= 1 || AColor == dxacNone || static_cast<Cardinal>(AColor) == 0x00FFFFFF)
    return AColor;
  const Cardinal Alpha = static_cast<Cardinal>(AColor) >> 24;
  const Cardinal NewAlpha = static_cast<Cardinal>(std::trunc(Alpha * std::max(0.0f, AOpacity)));
  return static_cast<TdxAlphaColor>((static_cast<Cardinal>(AColor) & 0x00FFFFFF) |
                                    (NewAlpha << 24));
}

// ---------------------------------------------------------------------------
// Brush and pen

void TdxSVGBrush::CreateGradientBrushHandle(void*& AHandle) {
  const TdxGpRectF& T = TargetRect();
  // The target rectangle is kept one unit larger on every side; the
  // bounding box of the shape is what the gradient maps onto.
  const Single Left = T.X + 1, Top = T.Y + 1, Width = T.Width - 2, Height = T.Height - 2;
  if (GradientPoints()->Count() == 0 || (FGradientAutoScale && (Width <= 0 || Height <= 0))) {
    CreateEmptyBrushHandle(AHandle);
    return;
  }
  Double X1 = FGradientLine.Left, Y1 = FGradientLine.Top;
  Double X2 = FGradientLine.Right, Y2 = FGradientLine.Bottom;
  if (FGradientAutoScale) {
    X1 = Left + X1 * Width;
    Y1 = Top + Y1 * Height;
    X2 = Left + X2 * Width;
    Y2 = Top + Y2 * Height;
  }
  const Integer Count = GradientPoints()->Count();
  auto Solid = [&](TdxAlphaColor AColor) {
    GpSolidFill* B = nullptr;
    GdipCheck(GdipCreateSolidFill(dxAlphaColorValue(AColor), &B));
    AHandle = B;
  };
  // Scaled onto a flat box, the line has no length: its last colour.
  if (X1 == X2 && Y1 == Y2) return Solid(GradientPoints()->GetColor(Count - 1));
  // A line whose ends GDI+ cannot hold (single precision, and room for its
  // own arithmetic) is so long against the shape that the shape shows one
  // colour: the one at its centre.
  constexpr Double Limit = 1e7;
  if (!(std::fabs(X1) <= Limit && std::fabs(Y1) <= Limit && std::fabs(X2) <= Limit &&
        std::fabs(Y2) <= Limit)) {
    const Double DX = X2 - X1, DY = Y2 - Y1;
    const Double T =
        ((Left + Width / 2.0 - X1) * DX + (Top + Height / 2.0 - Y1) * DY) / (DX * DX + DY * DY);
    return Solid(std::isfinite(T) ? ColorAt(T) : GradientPoints()->GetColor(Count - 1));
  }
  const Gdiplus::GpPointF P1(static_cast<Single>(X1), static_cast<Single>(Y1));
  const Gdiplus::GpPointF P2(static_cast<Single>(X2), static_cast<Single>(Y2));
  GpLineGradient* B = nullptr;
  GdipCheck(GdipCreateLineBrush(&P1, &P2, 0, 0, WrapModeTileFlipX, &B));
  AHandle = B;
  std::vector<ARGB> Colors(static_cast<size_t>(Count));
  std::vector<Single> Offsets(static_cast<size_t>(Count));
  for (Integer I = 0; I < Count; ++I) {
    Colors[I] = dxAlphaColorValue(GradientPoints()->GetColor(I));
    Offsets[I] = GradientPoints()->GetOffset(I);
  }
  GdipCheck(GdipSetLinePresetBlend(B, Colors.data(), Offsets.data(), Count));
}

TdxAlphaColor TdxSVGBrush::ColorAt(Double APosition) const {
  TdxGPBrushGradientPoints* P = GradientPoints();
  const Integer Count = P->Count();
  const Double T = std::clamp(APosition, 0.0, 1.0);
  Integer I = 0;
  while (I + 1 < Count && P->GetOffset(I + 1) < T) ++I;
  if (I + 1 >= Count) return P->GetColor(Count - 1);
  const Double O0 = P->GetOffset(I), O1 = P->GetOffset(I + 1);
  const Double F = O1 > O0 ? std::clamp((T - O0) / (O1 - O0), 0.0, 1.0) : 1.0;
  const Cardinal C0 = static_cast<Cardinal>(P->GetColor(I)),
                 C1 = static_cast<Cardinal>(P->GetColor(I + 1));
  Cardinal Result = 0;
  for (int Shift = 0; Shift < 32; Shift += 8) {
    const Double A = (C0 >> Shift) & 0xFF, B = (C1 >> Shift) & 0xFF;
    Result |= static_cast<Cardinal>(std::lround(A + (B - A) * F)) << Shift;
  }
  return static_cast<TdxAlphaColor>(Result);
}

TdxGPBrush* TdxSVGPen::CreateBrush() { return Create<TdxSVGBrush>(); }

void TdxSVGPen::SetDashes(const std::vector<Single>& APattern, Single AOffset) {
  FDashPattern = APattern;
  FDashOffset = AOffset;
  FreeHandle();
}

std::vector<Single> dxSVGDashPatternFrom(const std::vector<Single>& APattern, Single AOffset) {
  constexpr Single Least = 1e-3f;
  const size_t N = APattern.size();
  if (N == 0 || N % 2 != 0) return APattern;
  Double Period = 0;
  for (Single D : APattern) Period += D;
  Double O = std::fmod(static_cast<Double>(AOffset), Period);
  if (O < 0) O += Period;
  if (!(O > 0 && O < Period)) return APattern;
  size_t I = 0;
  Double Position = 0;
  while (I < N && Position + APattern[I] <= O) Position += APattern[I++];
  if (I == N) return APattern;
  const Single Into = static_cast<Single>(O - Position);
  // The pattern from an even entry on: a whole period that starts with a
  // dash.
  auto From = [&](size_t AStart) {
    std::vector<Single> R(APattern.begin() + static_cast<std::ptrdiff_t>(AStart), APattern.end());
    R.insert(R.end(), APattern.begin(), APattern.begin() + static_cast<std::ptrdiff_t>(AStart));
    return R;
  };
  std::vector<Single> R;
  if (I % 2 == 0) {
    // Inside a dash: its rest first, its beginning last, joined to the next
    // period's rest by the least gap (taken out of the beginning).
    if (Into <= Least) return From(I);
    R.push_back(APattern[I] - Into);
    for (size_t K = I + 1; K < N; ++K) R.push_back(APattern[K]);
    for (size_t K = 0; K < I; ++K) R.push_back(APattern[K]);
    R.push_back(Into - Least);
    R.push_back(Least);
    return R;
  }
  // Inside a gap: a dash of the least length (flat dash caps show nothing of
  // it), the gap's rest, and the gap's beginning last.
  if (APattern[I] - Into <= Least) return From((I + 1) % N);
  R.push_back(Least);
  R.push_back(APattern[I] - Into - Least);
  for (size_t K = I + 1; K < N; ++K) R.push_back(APattern[K]);
  for (size_t K = 0; K < I; ++K) R.push_back(APattern[K]);
  R.push_back(Into);
  return R;
}

void TdxSVGPen::DoCreateHandle(void*& AHandle) {
  TdxGPPen::DoCreateHandle(AHandle);
  if (FDashPattern.empty()) return;
  GpPen* P = static_cast<GpPen*>(AHandle);
  // GDI+ under Wine ignores a pen's dash offset: the pattern itself starts
  // that far in instead.
  const std::vector<Single> Pattern = dxSVGDashPatternFrom(FDashPattern, FDashOffset);
  GdipCheck(GdipSetPenDashArray(P, Pattern.data(), static_cast<INT>(Pattern.size())));
}

// ---------------------------------------------------------------------------
// Renderer base

TdxSVGCustomRenderer::TdxSVGCustomRenderer(IdxColorPalette* APalette,
                                           TdxSVGReferenceState* ASharedState)
    : FBrush(Create<TdxSVGBrush>()),
      FPalette(APalette),
      FPen(Create<TdxSVGPen>()),
      FState(ASharedState ? ASharedState : &FOwnState) {}

TdxSVGCustomRenderer::~TdxSVGCustomRenderer() = default;

Single TdxSVGCustomRenderer::ModifyOpacity(Single AOpacity) {
  const Single Old = FOpacity;
  SetOpacity(Old * AOpacity);
  return Old;
}

void TdxSVGCustomRenderer::SetOpacity(Single AOpacity) {
  FOpacity = AOpacity;
  FOpacityAssigned = std::fabs(FOpacity - 1) > 1e-6f;
}

TdxAlphaColor TdxSVGCustomRenderer::ApplyOpacity(TdxAlphaColor AColor) const {
  return FOpacityAssigned ? dxGpApplyOpacity(AColor, FOpacity) : AColor;
}

bool TdxSVGCustomRenderer::IsBeingResolved(TdxSVGElement* AElement) const {
  return std::find(FState->Active.begin(), FState->Active.end(), AElement) != FState->Active.end();
}

bool TdxSVGCustomRenderer::BeginReference(TdxSVGElement* AElement, bool ACountsAsDrawn) {
  if (IsBeingResolved(AElement)) return false;
  if (ACountsAsDrawn && FState->ReferencedCount >= dxSVGMaxReferencedElements) return false;
  FState->Active.push_back(AElement);
  return true;
}

void TdxSVGCustomRenderer::EndReference(TdxSVGElement* AElement) {
  auto It = std::find(FState->Active.rbegin(), FState->Active.rend(), AElement);
  if (It != FState->Active.rend()) FState->Active.erase(std::next(It).base());
}

void TdxSVGCustomRenderer::AddRoundRect(TdxGPPath* APath, Single X, Single Y, Single AWidth,
                                        Single AHeight, Single ARadiusX, Single ARadiusY) {
  const Single RX = std::min(ARadiusX, AWidth / 2);
  const Single RY = std::min(ARadiusY, AHeight / 2);
  APath->FigureStart();
  if (RX <= 0 || RY <= 0) {
    APath->AddRect(TdxRectF{X, Y, X + AWidth, Y + AHeight});
    return;
  }
  // Quarter ellipses as Béziers, control distance 0.5523 of the radius.
  const Single K = 0.5522847498f;
  const Single R = X + AWidth, B = Y + AHeight;
  APath->AddLine(X + RX, Y, R - RX, Y);
  APath->AddBezier({R - RX, Y}, {R - RX + K * RX, Y}, {R, Y + RY - K * RY}, {R, Y + RY});
  APath->AddLine(R, Y + RY, R, B - RY);
  APath->AddBezier({R, B - RY}, {R, B - RY + K * RY}, {R - RX + K * RX, B}, {R - RX, B});
  APath->AddLine(R - RX, B, X + RX, B);
  APath->AddBezier({X + RX, B}, {X + RX - K * RX, B}, {X, B - RY + K * RY}, {X, B - RY});
  APath->AddLine(X, B - RY, X, Y + RY);
  APath->AddBezier({X, Y + RY}, {X, Y + RY - K * RY}, {X + RX - K * RX, Y}, {X + RX, Y});
  APath->FigureFinish();
}

TdxGPPath* TdxSVGCustomRenderer::CreateTextPath(Single X, Single Y, const String& AText,
                                                TdxGPFont* AFont) {
  TOwned<TdxGPPath> Path(Create<TdxGPPath>());
  TdxSizeF Size{};
  {
    TdxGPCustomPaintCanvas* Canvas = dxGpBeginPaint(cxScreenCanvas()->Handle(), TRect{0, 0, 1, 1});
    auto End = Finally([&] { dxGpEndPaint(Canvas); });
    Size = Canvas->MeasureString(AText, AFont);
  }
  Path->AddString(AText, AFont, TdxRectF{X, Y, X + Size.cx, Y + Size.cy});
  return Path.release();
}

// ---------------------------------------------------------------------------
// Drawing renderer

TdxSVGRenderer::TdxSVGRenderer(TdxGPCanvas* ACanvas, IdxColorPalette* APalette)
    : TdxSVGCustomRenderer(APalette), FCanvas(ACanvas) {}

Single TdxSVGRenderer::TransformPenWidth(Single AWidth) {
  if (AWidth <= 0) return AWidth;
  TOwned<TdxGPMatrix> M(FCanvas->GetWorldTransform());
  Single M11, M12, M21, M22, DX, DY;
  M->GetElements(M11, M12, M21, M22, DX, DY);
  const Double Det = static_cast<Double>(M11) * M22 - static_cast<Double>(M12) * M21;
  const Double Width = AWidth * std::sqrt(std::fabs(Det));
  // GDI+ runs out of memory on pens tens of millions of pixels wide; a pen
  // far wider than any raster covers it all the same.
  return static_cast<Single>(Width <= dxSVGMaxPenPixels ? Width : dxSVGMaxPenPixels);
}

TdxGPPen* TdxSVGRenderer::ActivePen() { return Pen()->IsEmpty() ? nullptr : Pen(); }

TdxGPBrush* TdxSVGRenderer::ActiveBrush() { return Brush()->IsEmpty() ? nullptr : Brush(); }

// Under Wine, GDI+ fails on strokes whose shape lies some tens of thousands
// of units or device pixels out: a curve's subdivision never ends and
// overflows the stack, a polyline's outline asks for scan lines all the way
// out and runs out of memory. Fills are safe. Such a stroke is flattened
// here and cut to the visible area before GDI+ sees it.
bool TdxSVGRenderer::IsFarStroke(const TdxRectF& ABounds) {
  constexpr Single Far = 16384;
  TdxGPPen* P = ActivePen();
  if (!P) return false;
  std::vector<TdxPointF> Corners{{ABounds.Left, ABounds.Top},
                                 {ABounds.Right, ABounds.Top},
                                 {ABounds.Left, ABounds.Bottom},
                                 {ABounds.Right, ABounds.Bottom}};
  auto IsFar = [&Corners] {
    // Written so that NaN counts as far.
    for (const TdxPointF& C : Corners)
      if (!(std::fabs(C.X) <= Far && std::fabs(C.Y) <= Far)) return true;
    return false;
  };
  if (IsFar()) return true;
  FCanvas->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, Corners);
  return IsFar();
}

TdxRectF TdxSVGRenderer::DeviceBounds(const TdxRectF& ABounds) {
  std::vector<TdxPointF> C{{ABounds.Left, ABounds.Top},
                           {ABounds.Right, ABounds.Top},
                           {ABounds.Left, ABounds.Bottom},
                           {ABounds.Right, ABounds.Bottom}};
  FCanvas->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, C);
  TdxRectF R{C[0].X, C[0].Y, C[0].X, C[0].Y};
  for (const TdxPointF& P : C) {
    R.Left = std::min(R.Left, P.X);
    R.Top = std::min(R.Top, P.Y);
    R.Right = std::max(R.Right, P.X);
    R.Bottom = std::max(R.Bottom, P.Y);
  }
  return R;
}

Single TdxSVGRenderer::PenReach(TdxGPPen* APen) {
  return APen ? std::min(APen->Width() * 16 + 2, 1e7f) : 2.0f;
}

TdxRectF TdxSVGRenderer::VisibleDeviceRect(Single AMargin) {
  Gdiplus::GpRectF V;
  GdipCheck(GdipGetVisibleClipBounds(FCanvas->Handle(), &V));
  TdxRectF R = DeviceBounds(TdxRectF{V.X, V.Y, V.X + V.Width, V.Y + V.Height});
  return TdxRectF{R.Left - AMargin, R.Top - AMargin, R.Right + AMargin, R.Bottom + AMargin};
}

bool TdxSVGRenderer::IsVisible(const TdxRectF& ABounds, TdxGPPen* APen) {
  // Shapes wholly outside the visible area are left out: they would paint
  // nothing, and GDI+ under Wine fails on some that lie billions of pixels
  // out. Written so that NaN bounds count as invisible.
  const TdxRectF B = DeviceBounds(ABounds);
  const TdxRectF W = VisibleDeviceRect(PenReach(APen));
  return B.Left <= W.Right && B.Right >= W.Left && B.Top <= W.Bottom && B.Bottom >= W.Top;
}

namespace {
struct TFigure {
  std::vector<TdxPointF> Points;
  bool Closed;
};

// The path's figures with every curve as line segments, fine enough to stay
// within a quarter pixel at AScale pixels a unit (the second difference of a
// curve's controls bounds the error).
std::vector<TFigure> FlattenedFigures(TdxGPPath* APath, Double AScale) {
  INT Count = 0;
  GdipCheck(GdipGetPointCount(APath->Handle(), &Count));
  std::vector<Gdiplus::GpPointF> Points(static_cast<size_t>(Count));
  std::vector<BYTE> Types(static_cast<size_t>(Count));
  if (Count > 0) {
    GdipCheck(GdipGetPathPoints(APath->Handle(), Points.data(), Count));
    GdipCheck(GdipGetPathTypes(APath->Handle(), Types.data(), Count));
  }
  std::vector<TFigure> Result;
  TFigure Figure{{}, false};
  auto Finish = [&](bool AClosed) {
    Figure.Closed = AClosed;
    if (Figure.Points.size() >= 2) Result.push_back(std::move(Figure));
    Figure = TFigure{{}, false};
  };
  for (INT I = 0; I < Count;) {
    const BYTE Kind = Types[I] & Gdiplus::PathPointTypePathTypeMask;
    if (Kind == Gdiplus::PathPointTypeStart) {
      Finish(false);
      Figure.Points.push_back({Points[I].X, Points[I].Y});
      ++I;
    } else if (Kind == Gdiplus::PathPointTypeBezier && I + 2 < Count && !Figure.Points.empty()) {
      const TdxPointF P0 = Figure.Points.back();
      const Gdiplus::GpPointF &P1 = Points[I], &P2 = Points[I + 1], &P3 = Points[I + 2];
      const Double D = std::max(std::hypot(P0.X - 2.0 * P1.X + P2.X, P0.Y - 2.0 * P1.Y + P2.Y),
                                std::hypot(P1.X - 2.0 * P2.X + P3.X, P1.Y - 2.0 * P2.Y + P3.Y));
      const Double N = std::ceil(std::sqrt(0.75 * D * AScale / 0.25));
      const Integer Steps = N >= 1 ? static_cast<Integer>(std::min(N, 1024.0)) : 1;
      for (Integer K = 1; K <= Steps; ++K) {
        const Double T = static_cast<Double>(K) / Steps, U = 1 - T;
        const Double A = U * U * U, B = 3 * U * U * T, C = 3 * U * T * T, E = T * T * T;
        Figure.Points.push_back({static_cast<Single>(A * P0.X + B * P1.X + C * P2.X + E * P3.X),
                                 static_cast<Single>(A * P0.Y + B * P1.Y + C * P2.Y + E * P3.Y)});
      }
      I += 3;
    } else {
      Figure.Points.push_back({Points[I].X, Points[I].Y});
      ++I;
    }
    if (Types[I - 1] & Gdiplus::PathPointTypeCloseSubpath) Finish(true);
  }
  Finish(false);
  return Result;
}

// The part of the segment A-B inside the window (Liang-Barsky): false when
// none is, or when a point is not finite.
bool ClipSegment(const TdxRectF& AWindow, TdxPointF& A, TdxPointF& B, bool& ACutStart,
                 bool& ACutEnd) {
  if (!std::isfinite(A.X) || !std::isfinite(A.Y) || !std::isfinite(B.X) || !std::isfinite(B.Y))
    return false;
  const Double DX = static_cast<Double>(B.X) - A.X, DY = static_cast<Double>(B.Y) - A.Y;
  Double T0 = 0, T1 = 1;
  auto Edge = [&](Double P, Double Q) {
    if (P == 0) return Q >= 0;
    const Double R = Q / P;
    if (P < 0) {
      if (R > T1) return false;
      T0 = std::max(T0, R);
    } else {
      if (R < T0) return false;
      T1 = std::min(T1, R);
    }
    return true;
  };
  if (!Edge(-DX, A.X - AWindow.Left) || !Edge(DX, AWindow.Right - A.X) ||
      !Edge(-DY, A.Y - AWindow.Top) || !Edge(DY, AWindow.Bottom - A.Y))
    return false;
  const TdxPointF From = A;
  ACutStart = T0 > 0;
  ACutEnd = T1 < 1;
  A = {static_cast<Single>(From.X + T0 * DX), static_cast<Single>(From.Y + T0 * DY)};
  B = {static_cast<Single>(From.X + T1 * DX), static_cast<Single>(From.Y + T1 * DY)};
  return true;
}
}  // namespace

void TdxSVGRenderer::StrokeFarPath(TdxGPPath* APath, TdxGPPen* APen) {
  std::vector<TFigure> Figures = FlattenedFigures(APath, TransformPenWidth(1));
  for (TFigure& F : Figures)
    FCanvas->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, F.Points);
  // The visible area widened by what a join or cap of the pen can reach:
  // cut ends there show nothing of their own.
  const TdxRectF Window = VisibleDeviceRect(PenReach(APen));
  TOwned<TdxGPPath> Clipped(Create<TdxGPPath>());
  std::vector<TdxPointF> Piece;
  auto Flush = [&](bool AClosed) {
    if (Piece.size() >= 2) {
      Clipped->FigureStart();
      Clipped->AddPolyline(Piece);
      if (AClosed) Clipped->FigureFinish();
    }
    Piece.clear();
  };
  for (TFigure& F : Figures) {
    if (F.Closed) F.Points.push_back(F.Points.front());
    bool Whole = true;
    for (size_t I = 1; I < F.Points.size(); ++I) {
      TdxPointF A = F.Points[I - 1], B = F.Points[I];
      bool CutStart, CutEnd;
      if (!ClipSegment(Window, A, B, CutStart, CutEnd)) {
        Whole = false;
        Flush(false);
        continue;
      }
      if (CutStart || Piece.empty()) {
        Flush(false);
        Piece.push_back(A);
      }
      Piece.push_back(B);
      if (CutStart || CutEnd) Whole = false;
      if (CutEnd) Flush(false);
    }
    Flush(F.Closed && Whole);
  }
  FCanvas->SaveWorldTransform();
  auto Restore = Finally([&] { FCanvas->RestoreWorldTransform(); });
  FCanvas->ResetWorldTransform();
  FCanvas->Path(Clipped.get(), APen, nullptr);
}

namespace {
Double PolylineLength(const Gdiplus::GpPointF* APoints, size_t ACount, bool AClosed) {
  Double L = 0;
  for (size_t I = 1; I < ACount; ++I)
    L += std::hypot(static_cast<Double>(APoints[I].X) - APoints[I - 1].X,
                    static_cast<Double>(APoints[I].Y) - APoints[I - 1].Y);
  if (AClosed && ACount > 2)
    L += std::hypot(static_cast<Double>(APoints[0].X) - APoints[ACount - 1].X,
                    static_cast<Double>(APoints[0].Y) - APoints[ACount - 1].Y);
  return L;
}

Double PolylineLength(const std::vector<TdxPointF>& APoints, bool AClosed) {
  static_assert(sizeof(TdxPointF) == sizeof(Gdiplus::GpPointF));
  return PolylineLength(reinterpret_cast<const Gdiplus::GpPointF*>(APoints.data()), APoints.size(),
                        AClosed);
}

// At least the length of the path's outline: its control polygon.
Double PathLength(TdxGPPath* APath) {
  INT Count = 0;
  GdipCheck(GdipGetPointCount(APath->Handle(), &Count));
  if (Count < 2) return 0;
  std::vector<Gdiplus::GpPointF> Points(static_cast<size_t>(Count));
  GdipCheck(GdipGetPathPoints(APath->Handle(), Points.data(), Count));
  return PolylineLength(Points.data(), Points.size(), true);
}
}  // namespace

TdxGPPen* TdxSVGRenderer::StrokePen(const std::function<Double()>& AWorldLength) {
  TdxSVGPen* P = Pen();
  if (P->IsEmpty()) return nullptr;
  if (P->DashPattern().empty()) return P;
  // GDI+ makes every dash of a stroke, seen or not: a pattern fine enough to
  // give more than dxSVGMaxDashes along this stroke draws it solid, which is
  // what so fine a pattern looks like.
  TOwned<TdxGPMatrix> M(FCanvas->GetWorldTransform());
  Single M11, M12, M21, M22, DX, DY;
  M->GetElements(M11, M12, M21, M22, DX, DY);
  const Double Stretch = std::sqrt(static_cast<Double>(M11) * M11 + static_cast<Double>(M12) * M12 +
                                   static_cast<Double>(M21) * M21 + static_cast<Double>(M22) * M22);
  Double Period = 0;
  for (Single D : P->DashPattern()) Period += D;
  Period *= P->Width();
  const Double Dashes = AWorldLength() * Stretch / Period;
  if (!(Dashes <= dxSVGMaxDashes)) P->SetDashes({}, 0);
  return P;
}

void TdxSVGRenderer::DrawPath(TdxGPPath* APath) {
  const TdxRectF Bounds = APath->GetBoundsF();
  if (!IsVisible(Bounds, ActivePen())) return;
  TdxGPPen* Pen = StrokePen([APath] { return PathLength(APath); });
  if (!Pen || !IsFarStroke(Bounds)) {
    FCanvas->Path(APath, Pen, ActiveBrush());
    return;
  }
  if (TdxGPBrush* B = ActiveBrush()) FCanvas->Path(APath, nullptr, B);
  StrokeFarPath(APath, Pen);
}

namespace {
TdxRectF BoundsOf(const std::vector<TdxPointF>& APoints) {
  TdxRectF R{APoints[0].X, APoints[0].Y, APoints[0].X, APoints[0].Y};
  for (const TdxPointF& P : APoints) {
    R.Left = std::min(R.Left, P.X);
    R.Top = std::min(R.Top, P.Y);
    R.Right = std::max(R.Right, P.X);
    R.Bottom = std::max(R.Bottom, P.Y);
  }
  return R;
}
}  // namespace

void TdxSVGRenderer::Ellipse(Single ACenterX, Single ACenterY, Single ARadiusX, Single ARadiusY) {
  const TdxRectF R{ACenterX - ARadiusX, ACenterY - ARadiusY, ACenterX + ARadiusX,
                   ACenterY + ARadiusY};
  if (!IsVisible(R, ActivePen())) return;
  if (!IsFarStroke(R)) {
    TdxGPPen* P = StrokePen(
        [&] { return 2 * 3.14159265358979 * std::max(std::fabs(ARadiusX), std::fabs(ARadiusY)); });
    FCanvas->Ellipse(R, P, ActiveBrush());
    return;
  }
  TOwned<TdxGPPath> P(Create<TdxGPPath>(gpfmWinding));
  P->AddEllipse(R);
  DrawPath(P.get());
}

void TdxSVGRenderer::Line(Single X1, Single Y1, Single X2, Single Y2) {
  if (!IsVisible(TdxRectF{std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)},
                 ActivePen()))
    return;
  if (TdxGPPen* P = StrokePen([&] { return std::hypot(Double(X2) - X1, Double(Y2) - Y1); })) {
    P->SetTargetRect(
        TdxRectF{std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)});
    FCanvas->Line(X1, Y1, X2, Y2, P);
  }
}

void TdxSVGRenderer::Path(TdxGPPath* APath) { DrawPath(APath); }

void TdxSVGRenderer::Polygon(const std::vector<TdxPointF>& APoints) {
  if (APoints.size() < 2 || !IsVisible(BoundsOf(APoints), ActivePen())) return;
  TdxGPPen* P = StrokePen([&] { return PolylineLength(APoints, true); });
  // GDI+ refuses a polygon of two points; it encloses nothing, and its
  // outline is the line there and back.
  if (APoints.size() == 2) {
    if (P) FCanvas->Polyline(APoints, P);
    return;
  }
  if (P && IsFarStroke(BoundsOf(APoints))) {
    TOwned<TdxGPPath> Path(Create<TdxGPPath>(gpfmAlternate));
    Path->AddPolygon(APoints);
    DrawPath(Path.get());
    return;
  }
  FCanvas->Polygon(APoints, ActiveBrush(), P);
}

void TdxSVGRenderer::Polyline(const std::vector<TdxPointF>& APoints) {
  if (APoints.size() < 2 || !IsVisible(BoundsOf(APoints), ActivePen())) return;
  TdxGPPen* P = StrokePen([&] { return PolylineLength(APoints, false); });
  if (P && IsFarStroke(BoundsOf(APoints))) {
    TOwned<TdxGPPath> Path(Create<TdxGPPath>());
    Path->AddPolyline(APoints);
    StrokeFarPath(Path.get(), P);
    return;
  }
  FCanvas->Polyline(APoints, P);
}

void TdxSVGRenderer::Rectangle(Single X, Single Y, Single AWidth, Single AHeight) {
  TdxGPPen* P = StrokePen([&] { return 2 * (std::fabs(Double(AWidth)) + std::fabs(AHeight)); });
  const TdxRectF R{X, Y, X + AWidth, Y + AHeight};
  if (!IsVisible(TdxRectF{std::min(R.Left, R.Right), std::min(R.Top, R.Bottom),
                          std::max(R.Left, R.Right), std::max(R.Top, R.Bottom)},
                 P))
    return;
  // GDI+ under Wine widens a stroke wider than the rectangle into an outline
  // whose inner edge turns inside out: holes, or nothing at all. Such a
  // stroke covers the rectangle grown by half its width, square at the
  // corners when the joins are mitred, and that is filled instead.
  const Single Half = P ? P->Width() / TransformPenWidth(1) / 2 : 0;
  const TdxGpLineJoin Join = P ? P->LineJoin() : LineJoinRound;
  if (P && Pen()->DashPattern().empty() &&
      (Join == LineJoinMiter || Join == LineJoinMiterClipped) && P->MiterLimit() >= 1.4143f &&
      2 * Half >= std::min(std::fabs(AWidth), std::fabs(AHeight))) {
    const TdxRectF Grown{std::min(R.Left, R.Right) - Half, std::min(R.Top, R.Bottom) - Half,
                         std::max(R.Left, R.Right) + Half, std::max(R.Top, R.Bottom) + Half};
    FCanvas->Rectangle(Grown, nullptr, P->Brush());
    return;
  }
  if (P && IsFarStroke(R)) {
    TOwned<TdxGPPath> Path(Create<TdxGPPath>());
    Path->AddRect(R);
    DrawPath(Path.get());
    return;
  }
  FCanvas->Rectangle(R, P, ActiveBrush());
}

void TdxSVGRenderer::RoundRect(Single X, Single Y, Single AWidth, Single AHeight, Single ARadiusX,
                               Single ARadiusY) {
  TOwned<TdxGPPath> P(Create<TdxGPPath>(gpfmWinding));
  AddRoundRect(P.get(), X, Y, AWidth, AHeight, ARadiusX, ARadiusY);
  Path(P.get());
}

namespace {
// GDI+ under Wine faults on text placed some billions of pixels out (its
// integer positions wrap round); text that far shows nothing.
constexpr Single TextPositionLimit = 1 << 24;

bool IsPlaceableText(const TdxPointF& P) {
  return std::fabs(P.X) <= TextPositionLimit && std::fabs(P.Y) <= TextPositionLimit;
}
}  // namespace

void TdxSVGRenderer::TextOut(Single X, Single Y, const String& AText, TdxGPFont* AFont) {
  std::vector<TdxPointF> Origin{{X, Y}};
  FCanvas->TransformPoints(CoordinateSpaceDevice, CoordinateSpaceWorld, Origin);
  if (!IsPlaceableText(Origin[0])) return;
  if (TdxGPBrush* B = ActiveBrush()) FCanvas->DrawString(AText, AFont, B, X, Y);
}

void TdxSVGRenderer::RestoreClipRegion() { FCanvas->RestoreClipRegion(); }

void TdxSVGRenderer::SaveClipRegion() { FCanvas->SaveClipRegion(); }

void TdxSVGRenderer::SetClipRegion(TdxGPPath* APath, CombineMode AMode) {
  if (APath->GetPointCount() == 0) {
    // GDI+ takes no empty path; an empty region clips the same.
    GpRegion* Empty = nullptr;
    GdipCheck(GdipCreateRegion(&Empty));
    auto Free = Finally([Empty] { GdipDeleteRegion(Empty); });
    GdipCheck(GdipSetEmpty(Empty));
    GdipCheck(GdipSetClipRegion(FCanvas->Handle(), Empty, AMode));
    return;
  }
  GdipCheck(GdipSetClipPath(FCanvas->Handle(), APath->Handle(), AMode));
}

bool TdxSVGCustomRenderer::CanApplyTransform(const XFORM& AMatrix) {
  return dxSVGIsUsableTransform(AMatrix);
}

bool TdxSVGRenderer::CanApplyTransform(const XFORM& AMatrix) {
  TOwned<TdxGPMatrix> M(FCanvas->GetWorldTransform());
  Single M11, M12, M21, M22, DX, DY;
  M->GetElements(M11, M12, M21, M22, DX, DY);
  return dxSVGIsUsableTransform(AMatrix) &&
         dxSVGIsUsableTransform(TdxXFormHelper::Combine(
             AMatrix, TdxXFormHelper::CreateMatrix(M11, M12, M21, M22, DX, DY)));
}

void TdxSVGRenderer::ModifyWorldTransform(const XFORM& AMatrix) {
  TOwned<TdxGPMatrix> M(TdxGPMatrix::CreateEx(AMatrix));
  FCanvas->ModifyWorldTransform(M.get(), MatrixOrderPrepend);
}

void TdxSVGRenderer::RestoreWorldTransform() { FCanvas->RestoreWorldTransform(); }

void TdxSVGRenderer::SaveWorldTransform() { FCanvas->SaveWorldTransform(); }

// ---------------------------------------------------------------------------
// Clip-path collector

TdxSVGRendererClipPath::TdxSVGRendererClipPath(TdxSVGReferenceState* ASharedState)
    : TdxSVGCustomRenderer(nullptr, ASharedState),
      FClipPath(Create<TdxGPPath>(gpfmWinding)),
      FTransform(TdxXFormHelper::CreateIdentityMatrix()) {}

void TdxSVGRendererClipPath::AddShape(TdxGPPath* AShape) {
  if (!TdxXFormHelper::IsIdentity(FTransform)) {
    TOwned<TdxGPMatrix> M(TdxGPMatrix::CreateEx(FTransform));
    AShape->Transform(M.get());
  }
  GdipCheck(GdipAddPathPath(FClipPath->Handle(), AShape->Handle(), FALSE));
}

void TdxSVGRendererClipPath::Ellipse(Single ACenterX, Single ACenterY, Single ARadiusX,
                                     Single ARadiusY) {
  TOwned<TdxGPPath> P(Create<TdxGPPath>());
  P->AddEllipse(
      TdxRectF{ACenterX - ARadiusX, ACenterY - ARadiusY, ACenterX + ARadiusX, ACenterY + ARadiusY});
  AddShape(P.get());
}

void TdxSVGRendererClipPath::Line(Single X1, Single Y1, Single X2, Single Y2) {
  TOwned<TdxGPPath> P(Create<TdxGPPath>());
  P->AddLine(X1, Y1, X2, Y2);
  AddShape(P.get());
}

void TdxSVGRendererClipPath::Path(TdxGPPath* APath) {
  TOwned<TdxGPPath> P(Create<TdxGPPath>());
  GdipCheck(GdipAddPathPath(P->Handle(), APath->Handle(), FALSE));
  AddShape(P.get());
}

void TdxSVGRendererClipPath::Polygon(const std::vector<TdxPointF>& APoints) {
  if (APoints.size() < 3) return;
  TOwned<TdxGPPath> P(Create<TdxGPPath>());
  P->AddPolygon(APoints);
  AddShape(P.get());
}

void TdxSVGRendererClipPath::Polyline(const std::vector<TdxPointF>& APoints) {
  if (APoints.size() < 2) return;
  TOwned<TdxGPPath> P(Create<TdxGPPath>());
  P->AddPolyline(APoints);
  AddShape(P.get());
}

void TdxSVGRendererClipPath::Rectangle(Single X, Single Y, Single AWidth, Single AHeight) {
  TOwned<TdxGPPath> P(Create<TdxGPPath>());
  P->AddRect(TdxRectF{X, Y, X + AWidth, Y + AHeight});
  AddShape(P.get());
}

void TdxSVGRendererClipPath::RoundRect(Single X, Single Y, Single AWidth, Single AHeight,
                                       Single ARadiusX, Single ARadiusY) {
  TOwned<TdxGPPath> P(Create<TdxGPPath>());
  AddRoundRect(P.get(), X, Y, AWidth, AHeight, ARadiusX, ARadiusY);
  AddShape(P.get());
}

void TdxSVGRendererClipPath::TextOut(Single X, Single Y, const String& AText, TdxGPFont* AFont) {
  if (!IsPlaceableText(TdxXFormHelper::Transform(FTransform, TdxPointF{X, Y}))) return;
  TOwned<TdxGPPath> P(CreateTextPath(X, Y, AText, AFont));
  AddShape(P.get());
}

bool TdxSVGRendererClipPath::CanApplyTransform(const XFORM& AMatrix) {
  return dxSVGIsUsableTransform(AMatrix) &&
         dxSVGIsUsableTransform(TdxXFormHelper::Combine(AMatrix, FTransform));
}

void TdxSVGRendererClipPath::ModifyWorldTransform(const XFORM& AMatrix) {
  FTransform = TdxXFormHelper::Combine(AMatrix, FTransform);
}

void TdxSVGRendererClipPath::RestoreWorldTransform() {
  if (FSavedTransforms.empty()) return;
  FTransform = FSavedTransforms.back();
  FSavedTransforms.pop_back();
}

void TdxSVGRendererClipPath::SaveWorldTransform() { FSavedTransforms.push_back(FTransform); }

// ---------------------------------------------------------------------------
// Element drawing

void TdxSVGElement::DrawChildren(TdxSVGCustomRenderer* ARenderer) {
  for (const TOwned<TdxSVGElement>& C : FChildren) C->Draw(ARenderer);
}

void TdxSVGElement::Draw(TdxSVGCustomRenderer* ARenderer) {
  TdxSVGReferenceState* State = ARenderer->ReferenceState();
  // Drawing through references can nest without end in the document's
  // terms; the machine stack cannot.
  if (State->DrawDepth >= dxSVGMaxNestingLevel) return;
  if (State->ReferenceDepth > 0) {
    if (State->ReferencedCount >= dxSVGMaxReferencedElements) return;
    ++State->ReferencedCount;
  }
  ++State->DrawDepth;
  auto Depth = Finally([State] { --State->DrawDepth; });
  const Single OldOpacity = ARenderer->ModifyOpacity(FOpacity);
  auto Opacity = Finally([&] { ARenderer->SetOpacity(OldOpacity); });
  const bool Transformed = !FTransform->IsIdentity();
  // A transform without an inverse (or one that takes the drawing beyond
  // single precision) leaves nothing to see, as SVG has it; GDI+ would
  // refuse it.
  if (Transformed && !ARenderer->CanApplyTransform(FTransform->Matrix())) return;
  if (Transformed) {
    ARenderer->SaveWorldTransform();
    ARenderer->ModifyWorldTransform(FTransform->Matrix());
  }
  auto Transform = Finally([&] {
    if (Transformed) ARenderer->RestoreWorldTransform();
  });
  InitializePen(ARenderer);
  InitializeBrush(ARenderer);
  if (!FClipPath.empty()) {
    ARenderer->SaveClipRegion();
    auto Clip = Finally([&] { ARenderer->RestoreClipRegion(); });
    TdxSVGElement* Found = nullptr;
    TdxSVGElementRoot* R = GetRoot();
    if (R && R->FindByID(FClipPath, Found))
      if (auto* ClipElement = dynamic_cast<TdxSVGElementClipPath*>(Found))
        ClipElement->ApplyTo(ARenderer, this);
    DrawCore(ARenderer);
    DrawChildren(ARenderer);
  } else {
    DrawCore(ARenderer);
    DrawChildren(ARenderer);
  }
}

void TdxSVGElementClipPath::ApplyTo(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement) {
  // A clip path that reaches itself while it is collected clips to nothing
  // more than what was collected so far.
  if (!ARenderer->BeginReference(this, false)) return;
  auto End = Finally([&] { ARenderer->EndReference(this); });
  TdxSVGReferenceState* State = ARenderer->ReferenceState();
  ++State->ReferenceDepth;
  auto Depth = Finally([State] { --State->ReferenceDepth; });
  TOwned<TdxSVGRendererClipPath> Collector(Create<TdxSVGRendererClipPath>(State));
  DrawCore(Collector.get());
  DrawChildren(Collector.get());
  ARenderer->SetClipRegion(Collector->ClipPath(), CombineModeIntersect);
}

namespace {
void SetSolid(TdxGPBrush* ABrush, TdxAlphaColor AColor) {
  ABrush->SetStyle(gpbsSolid);
  ABrush->SetColor(AColor);
}

// A paint reference: the found element loads the brush or the pen; an
// element missing, or one already being resolved (a cycle), paints
// nothing.
template <class TLoad>
void LoadReference(TdxSVGElement* AElement, TdxSVGCustomRenderer* ARenderer, const String& AID,
                   TdxGPBrush* ABrush, TLoad ALoad) {
  TdxSVGElement* Found = nullptr;
  TdxSVGElementRoot* R = AElement->GetRoot();
  if (R && R->FindByID(AID, Found) && Found != AElement &&
      ARenderer->BeginReference(Found, false)) {
    auto End = Finally([&] { ARenderer->EndReference(Found); });
    ALoad(Found);
    return;
  }
  SetSolid(ABrush, dxacNone);
}
}  // namespace

void TdxSVGElement::InitializeBrush(TdxSVGCustomRenderer* ARenderer) {
  const TdxSVGFill Fill = GetActualFill(ARenderer->Palette());
  if (Fill.IsReference()) {
    LoadReference(this, ARenderer, Fill.AsReference(), ARenderer->Brush(),
                  [&](TdxSVGElement* E) { E->InitializeBrush(ARenderer); });
    return;
  }
  TdxAlphaColor Color = Fill.AsColor();
  // The empty colour (none) stays empty whatever the opacity.
  if (Color != dxacNone && std::fabs(FFillOpacity - 1) > 1e-6f)
    Color = static_cast<TdxAlphaColor>(
        (static_cast<Cardinal>(Color) & 0x00FFFFFF) |
        (static_cast<Cardinal>(Round(static_cast<Double>(FFillOpacity) * 255)) << 24));
  SetSolid(ARenderer->Brush(), ARenderer->ApplyOpacity(Color));
}

namespace {
// The dash pattern GDI+ can take, in pen widths: a list with a negative
// entry or without length draws solid; an odd list repeats once; zero
// entries become the shortest dash GDI+ accepts, and none is longer than
// GDI+ can multiply by a pen width (a dash that long covers any raster).
std::vector<Single> DashPatternOf(const std::vector<Single>& ADashes, Single AWidth) {
  std::vector<Single> Result;
  if (ADashes.empty() || AWidth <= 0) return Result;
  Double Total = 0;
  for (Single D : ADashes) {
    if (D < 0) return Result;
    Total += D;
  }
  if (Total <= 0) return Result;
  Result = ADashes;
  if (Result.size() % 2 != 0) Result.insert(Result.end(), ADashes.begin(), ADashes.end());
  for (Single& D : Result) D = std::clamp(D / AWidth, 1e-3f, 1e6f);
  return Result;
}
}  // namespace

void TdxSVGElement::InitializePen(TdxSVGCustomRenderer* ARenderer) {
  TdxSVGPen* Pen = ARenderer->Pen();
  const TdxSVGFill Stroke = GetActualStroke(ARenderer->Palette());
  if (Stroke.IsReference()) {
    LoadReference(this, ARenderer, Stroke.AsReference(), Pen->Brush(),
                  [&](TdxSVGElement* E) { E->InitializePen(ARenderer); });
  } else {
    SetSolid(Pen->Brush(), ARenderer->ApplyOpacity(Stroke.AsColor()));
  }
  const Single W = GetActualStrokeSize();
  Pen->SetStyle(gppsSolid);
  Pen->SetLineJoin(FStrokeLineJoin);
  Pen->SetLineStartCapStyle(dxSVGLineCapToPenCap(GetActualStrokeLineCap()));
  Pen->SetLineEndCapStyle(dxSVGLineCapToPenCap(GetActualStrokeLineCap()));
  Pen->SetMiterLimit(std::max(1.0f, FStrokeMiterLimit));
  Pen->SetWidth(ARenderer->TransformPenWidth(W));
  const std::vector<Single> Pattern = DashPatternOf(GetActualStrokeDashArray()->Data(), W);
  // GDI+ measures the dash offset in pen widths, like the pattern. Within
  // one period it looks the same, and GDI+ needs no steps to get there.
  Single Offset = 0;
  if (!Pattern.empty()) {
    Double Period = 0;
    for (Single D : Pattern) Period += D;
    const Double O = std::fmod(static_cast<Double>(GetActualStrokeDashOffset()) / W, Period);
    if (std::isfinite(O)) Offset = static_cast<Single>(O);
  }
  Pen->SetDashes(Pattern, Offset);
}

void TdxSVGElementPolyline::InitializePen(TdxSVGCustomRenderer* ARenderer) {
  TdxSVGElement::InitializePen(ARenderer);
  TdxSVGPen* Pen = ARenderer->Pen();
  if (!Pen->IsEmpty()) return;
  if (std::fabs(Pen->Width()) <= 1e-4f) Pen->SetWidth(ARenderer->TransformPenWidth(1));
  if (Pen->Brush()->IsEmpty()) {
    TdxSVGElement::InitializeBrush(ARenderer);
    Pen->Brush()->Assign(ARenderer->Brush());
  }
}

// ---------------------------------------------------------------------------
// Shapes

void TdxSVGElementCircle::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  const Single R = XToPixels(FRadius);
  ARenderer->Ellipse(XToPixels(FCenterX), YToPixels(FCenterY), R, R);
}

void TdxSVGElementEllipse::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  ARenderer->Ellipse(XToPixels(FCenterX), YToPixels(FCenterY), XToPixels(FRadiusX),
                     YToPixels(FRadiusY));
}

void TdxSVGElementLine::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  ARenderer->Line(XToPixels(FX1), YToPixels(FY1), XToPixels(FX2), YToPixels(FY2));
}

void TdxSVGElementPath::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  FPath->SetFillMode(GetActualFillMode());
  ARenderer->Path(FPath.get());
}

void TdxSVGElementPolygon::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  ARenderer->Polygon(FPoints->Data());
}

void TdxSVGElementPolyline::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  ARenderer->Polyline(Points()->Data());
}

void TdxSVGElementRectangle::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  Single RX = XToPixels(FCornerRadiusX), RY = YToPixels(FCornerRadiusY);
  // Either radius alone rounds both ways.
  if (FCornerRadiusX.IsEmpty()) RX = RY;
  if (FCornerRadiusY.IsEmpty()) RY = RX;
  const Single X = XToPixels(FX), Y = YToPixels(FY), W = XToPixels(FWidth), H = YToPixels(FHeight);
  if (RX <= 0 && RY <= 0)
    ARenderer->Rectangle(X, Y, W, H);
  else
    ARenderer->RoundRect(X, Y, W, H, std::min(RX, W / 2), std::min(RY, H / 2));
}

TdxGPFont* TdxSVGElementText::CreateFont() const {
  String Name = FFontName;
  if (!Name.empty() && (Name.front() == L'"' || Name.front() == L'\'')) Name.erase(0, 1);
  if (!Name.empty() && (Name.back() == L'"' || Name.back() == L'\'')) Name.pop_back();
  Name = Trim(Name);
  const Integer Style = dxFontStylesToGpFontStyles(FFontStyles);
  for (;;) {
    if (!Name.empty() && FFontSize > 0) {
      TOwned<TdxGPFontFamily> Family(Create<TdxGPFontFamily>(Name));
      if (Family->Handle()) {
        try {
          return Create<TdxGPFont>(Name, FFontSize, Style, guPixel);
        } catch (const Exception&) {
        }
      }
    }
    const size_t Dash = Name.rfind(L'-');
    if (Dash == String::npos) return nullptr;
    Name.erase(Dash);
  }
}

void TdxSVGElementText::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  // GDI+ under Wine faults on glyphs millions of pixels high; one glyph of
  // even the largest drawable size covers any raster.
  if (!(ARenderer->TransformPenWidth(FFontSize) <= dxSVGMaxTextPixels)) return;
  TOwned<TdxGPFont> Font(CreateFont());
  if (!Font) return;
  TdxSizeF Size{};
  {
    TdxGPCustomPaintCanvas* Canvas = dxGpBeginPaint(cxScreenCanvas()->Handle(), TRect{0, 0, 1, 1});
    auto End = Finally([&] { dxGpEndPaint(Canvas); });
    Size = Canvas->MeasureString(FText, Font.get());
  }
  const Integer Style = dxFontStylesToGpFontStyles(FFontStyles);
  TdxGPFontFamily* Family = Font->GetFontFamily();
  const Single EmHeight = Family ? Family->GetEmHeight(Style) : 0;
  const Single Ascent =
      EmHeight > 0 ? Family->GetCellAscent(Style) * FFontSize / EmHeight : FFontSize;
  Single X = XToPixels(FX);
  Single Y = YToPixels(FY) - Ascent;
  if (FTextAnchor == taMiddle) X -= Size.cx / 2;
  if (FTextAnchor == taEnd) X -= Size.cx;
  X += XToPixels(FDX);
  Y += YToPixels(FDY);
  ARenderer->TextOut(X, Y, FText, Font.get());
}

void TdxSVGElementUse::DrawCore(TdxSVGCustomRenderer* ARenderer) {
  TdxSVGElement* Found = nullptr;
  TdxSVGElementRoot* R = GetRoot();
  if (!R || !R->FindByID(FReference, Found)) return;
  // Showing itself or an element being drawn (an ancestor, or a use loop)
  // would never end.
  for (TdxSVGElement* E = this; E; E = E->Parent())
    if (E == Found) return;
  const XFORM Shift = TdxXFormHelper::CreateTranslateMatrix(XToPixels(FX), YToPixels(FY));
  if (!ARenderer->CanApplyTransform(Shift)) return;
  TdxSVGReferenceState* State = ARenderer->ReferenceState();
  ++State->ReferenceDepth;
  auto Depth = Finally([State] { --State->ReferenceDepth; });
  ARenderer->SaveWorldTransform();
  auto Restore = Finally([&] { ARenderer->RestoreWorldTransform(); });
  ARenderer->ModifyWorldTransform(Shift);
  TdxSVGElement* OldParent = Found->Parent();
  Found->SetParent(this);
  auto Reparent = Finally([&] { Found->SetParent(OldParent); });
  Found->Draw(ARenderer);
}

// ---------------------------------------------------------------------------
// Linear gradient

void TdxSVGElementLinearGradient::InitializeBrush(TdxSVGCustomRenderer* ARenderer) {
  InitializeBrushCore(ARenderer, ARenderer->Brush());
}

void TdxSVGElementLinearGradient::InitializePen(TdxSVGCustomRenderer* ARenderer) {
  InitializeBrushCore(ARenderer, ARenderer->Pen()->Brush());
}

void TdxSVGElementLinearGradient::InitializeBrushCore(TdxSVGCustomRenderer* ARenderer,
                                                      TdxSVGBrush* ABrush) {
  ABrush->FreeHandle();
  const bool BoundingBox = FUnitsType == cuObjectBoundingBox;
  const TdxRectF L{XToPixels(FX1), YToPixels(FY1), XToPixels(FX2), YToPixels(FY2)};
  ABrush->FGradientAutoScale = BoundingBox;
  TdxRectF G = L;
  const Single Length = Distance(L.Left, L.Top, L.Right, L.Bottom);
  if (!BoundingBox && Length > 0) {
    // Stretch the line both ways to the image's edges, so that the pad
    // colours reach every corner.
    TdxRectF Bounds{};
    if (TdxSVGElementRoot* R = GetRoot()) {
      const TdxSizeF S = R->GetSize();
      Bounds = TdxRectF{R->ViewBox()->FValue.Left, R->ViewBox()->FValue.Top,
                        R->ViewBox()->FValue.Left + S.cx, R->ViewBox()->FValue.Top + S.cy};
    }
    const Double DX = (L.Right - L.Left) / Length, DY = (L.Bottom - L.Top) / Length;
    auto Reach = [&](Double X, Double Y, Double SX, Double SY) {
      Double T = 0;
      if (SX > 0) T = std::max(T, (Bounds.Right - X) / SX);
      if (SX < 0) T = std::max(T, (Bounds.Left - X) / SX);
      if (SY > 0) T = std::max(T, (Bounds.Bottom - Y) / SY);
      if (SY < 0) T = std::max(T, (Bounds.Top - Y) / SY);
      return T;
    };
    const Double Back = Reach(L.Left, L.Top, -DX, -DY);
    const Double Forward = Reach(L.Right, L.Bottom, DX, DY);
    G = TdxRectF{static_cast<Single>(L.Left - DX * Back), static_cast<Single>(L.Top - DY * Back),
                 static_cast<Single>(L.Right + DX * Forward),
                 static_cast<Single>(L.Bottom + DY * Forward)};
  }
  ABrush->FGradientLine = G;
  TdxGPBrushGradientPoints* Points = ABrush->GradientPoints();
  Points->Clear();
  std::vector<TdxSVGElementLinearGradientStop*> Stops;
  for (Integer I = 0; I < Count(); ++I)
    if (auto* S = dynamic_cast<TdxSVGElementLinearGradientStop*>(Elements(I))) Stops.push_back(S);
  if (Stops.empty()) {
    SetSolid(ABrush, dxacNone);
    return;
  }
  auto StopColor = [&](TdxSVGElementLinearGradientStop* S) {
    return ARenderer->ApplyOpacity(dxGpApplyOpacity(S->FColor, S->FColorOpacity));
  };
  const Single GLength = Distance(G.Left, G.Top, G.Right, G.Bottom);
  if (GLength <= 0) {
    // A gradient without length paints its last stop.
    SetSolid(ABrush, StopColor(Stops.back()));
    return;
  }
  Single S = Distance(L.Left, L.Top, G.Left, G.Top) / GLength;
  Single E = Distance(L.Right, L.Bottom, G.Left, G.Top) / GLength;
  S = std::clamp(S, 0.0f, 1.0f);
  E = std::max(std::clamp(E, 0.0f, 1.0f), S);
  Single Previous = 0;
  std::vector<std::pair<TdxAlphaColor, Single>> Items;
  for (TdxSVGElementLinearGradientStop* Stop : Stops) {
    // Offsets clamp to 0..1 and never go back.
    const Single O = std::max(Previous, std::clamp(Stop->FOffset.ToPixels(96, 1), 0.0f, 1.0f));
    Previous = O;
    Items.emplace_back(StopColor(Stop), S + (E - S) * O);
  }
  if (Items.front().second > 0) Items.insert(Items.begin(), {Items.front().first, 0.0f});
  if (Items.back().second < 1) Items.emplace_back(Items.back().first, 1.0f);
  for (const auto& [Color, Position] : Items) Points->Add(Color, Position);
  ABrush->SetStyle(gpbsGradient);
  ABrush->HandleNeeded();
}
