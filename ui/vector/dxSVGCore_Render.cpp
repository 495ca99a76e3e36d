// The renderers and how each element draws itself through them.
#include <algorithm>
#include <cmath>

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
  Gdiplus::GpPointF P1(FGradientLine.Left, FGradientLine.Top);
  Gdiplus::GpPointF P2(FGradientLine.Right, FGradientLine.Bottom);
  if (FGradientAutoScale) {
    P1 = Gdiplus::GpPointF(Left + P1.X * Width, Top + P1.Y * Height);
    P2 = Gdiplus::GpPointF(Left + P2.X * Width, Top + P2.Y * Height);
  }
  if (P1.X == P2.X && P1.Y == P2.Y) {
    // Scaled onto a flat box, the line has no length: its last colour.
    GpSolidFill* Solid = nullptr;
    GdipCheck(GdipCreateSolidFill(
        dxAlphaColorValue(GradientPoints()->GetColor(GradientPoints()->Count() - 1)), &Solid));
    AHandle = Solid;
    return;
  }
  GpLineGradient* B = nullptr;
  GdipCheck(GdipCreateLineBrush(&P1, &P2, 0, 0, WrapModeTileFlipX, &B));
  AHandle = B;
  const Integer Count = GradientPoints()->Count();
  std::vector<ARGB> Colors(static_cast<size_t>(Count));
  std::vector<Single> Offsets(static_cast<size_t>(Count));
  for (Integer I = 0; I < Count; ++I) {
    Colors[I] = dxAlphaColorValue(GradientPoints()->GetColor(I));
    Offsets[I] = GradientPoints()->GetOffset(I);
  }
  GdipCheck(GdipSetLinePresetBlend(B, Colors.data(), Offsets.data(), Count));
}

TdxGPBrush* TdxSVGPen::CreateBrush() { return Create<TdxSVGBrush>(); }

void TdxSVGPen::SetDashes(const std::vector<Single>& APattern, Single AOffset) {
  FDashPattern = APattern;
  FDashOffset = AOffset;
  FreeHandle();
}

void TdxSVGPen::DoCreateHandle(void*& AHandle) {
  TdxGPPen::DoCreateHandle(AHandle);
  if (FDashPattern.empty()) return;
  GpPen* P = static_cast<GpPen*>(AHandle);
  GdipCheck(GdipSetPenDashArray(P, FDashPattern.data(), static_cast<INT>(FDashPattern.size())));
  GdipCheck(GdipSetPenDashOffset(P, FDashOffset));
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
  return static_cast<Single>(AWidth * std::sqrt(std::fabs(Det)));
}

TdxGPPen* TdxSVGRenderer::ActivePen() { return Pen()->IsEmpty() ? nullptr : Pen(); }

TdxGPBrush* TdxSVGRenderer::ActiveBrush() { return Brush()->IsEmpty() ? nullptr : Brush(); }

void TdxSVGRenderer::Ellipse(Single ACenterX, Single ACenterY, Single ARadiusX, Single ARadiusY) {
  FCanvas->Ellipse(
      TdxRectF{ACenterX - ARadiusX, ACenterY - ARadiusY, ACenterX + ARadiusX, ACenterY + ARadiusY},
      ActivePen(), ActiveBrush());
}

void TdxSVGRenderer::Line(Single X1, Single Y1, Single X2, Single Y2) {
  if (TdxGPPen* P = ActivePen()) {
    P->SetTargetRect(
        TdxRectF{std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2)});
    FCanvas->Line(X1, Y1, X2, Y2, P);
  }
}

void TdxSVGRenderer::Path(TdxGPPath* APath) { FCanvas->Path(APath, ActivePen(), ActiveBrush()); }

void TdxSVGRenderer::Polygon(const std::vector<TdxPointF>& APoints) {
  if (APoints.size() < 2) return;
  FCanvas->Polygon(APoints, ActiveBrush(), ActivePen());
}

void TdxSVGRenderer::Polyline(const std::vector<TdxPointF>& APoints) {
  if (APoints.size() < 2) return;
  FCanvas->Polyline(APoints, ActivePen());
}

void TdxSVGRenderer::Rectangle(Single X, Single Y, Single AWidth, Single AHeight) {
  FCanvas->Rectangle(TdxRectF{X, Y, X + AWidth, Y + AHeight}, ActivePen(), ActiveBrush());
}

void TdxSVGRenderer::RoundRect(Single X, Single Y, Single AWidth, Single AHeight, Single ARadiusX,
                               Single ARadiusY) {
  TOwned<TdxGPPath> P(Create<TdxGPPath>(gpfmWinding));
  AddRoundRect(P.get(), X, Y, AWidth, AHeight, ARadiusX, ARadiusY);
  Path(P.get());
}

void TdxSVGRenderer::TextOut(Single X, Single Y, const String& AText, TdxGPFont* AFont) {
  if (TdxGPBrush* B = ActiveBrush()) FCanvas->DrawString(AText, AFont, B, X, Y);
}

void TdxSVGRenderer::RestoreClipRegion() { FCanvas->RestoreClipRegion(); }

void TdxSVGRenderer::SaveClipRegion() { FCanvas->SaveClipRegion(); }

void TdxSVGRenderer::SetClipRegion(TdxGPPath* APath, CombineMode AMode) {
  GdipCheck(GdipSetClipPath(FCanvas->Handle(), APath->Handle(), AMode));
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
  if (APoints.size() < 2) return;
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
  TOwned<TdxGPPath> P(CreateTextPath(X, Y, AText, AFont));
  AddShape(P.get());
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
// entries become the shortest dash GDI+ accepts.
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
  for (Single& D : Result) D = std::max(D / AWidth, 1e-3f);
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
  // GDI+ measures the dash offset in pen widths, like the pattern.
  Pen->SetDashes(Pattern, Pattern.empty() ? 0 : GetActualStrokeDashOffset() / W);
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
  TdxSVGReferenceState* State = ARenderer->ReferenceState();
  ++State->ReferenceDepth;
  auto Depth = Finally([State] { --State->ReferenceDepth; });
  ARenderer->SaveWorldTransform();
  auto Restore = Finally([&] { ARenderer->RestoreWorldTransform(); });
  ARenderer->ModifyWorldTransform(
      TdxXFormHelper::CreateTranslateMatrix(XToPixels(FX), YToPixels(FY)));
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
