// The library canvas: regions, stacks, origins, clip, the control, screen
// and paint canvases, and the drawing operations other than text.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "cxGraphics.h"
#include "cxGraphicsInternal.h"

using namespace cxGraphicsInternal;

// ---------------------------------------------------------------------------
// Regions
namespace {
int CombineMode(TcxRegionOperation AOperation) {
  static const int Map[] = {RGN_COPY, RGN_OR, RGN_DIFF, RGN_AND};
  return Map[AOperation];
}
}  // namespace

IMPLEMENT_CLASS(TcxRegion)

TcxRegion::TcxRegion(HRGN AHandle) : FHandle(AHandle) {}
TcxRegion::TcxRegion(const TRect& ABounds) : FHandle(CreateRectRgnIndirect(&ABounds)) {}
TcxRegion::TcxRegion() : FHandle(CreateRectRgn(0, 0, 0, 0)) {}
TcxRegion::TcxRegion(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom)
    : FHandle(CreateRectRgn(ALeft, ATop, ARight, ABottom)) {}
TcxRegion::~TcxRegion() { DestroyHandle(); }

TcxRegion* TcxRegion::CreateFromWindow(HWND AHandle, Integer) {
  TcxRegion* R = Create<TcxRegion>();
  if (GetWindowRgn(AHandle, R->FHandle) == ERROR) R->Combine(cxGetWindowBounds(AHandle), roSet);
  return R;
}

TcxRegion* TcxRegion::CreateRoundCorners(Integer ALeft, Integer ATop, Integer ARight,
                                         Integer ABottom, Integer AWidthEllepse,
                                         Integer AHeightEllepse) {
  return Create<TcxRegion>(
      CreateRoundRectRgn(ALeft + 1, ATop + 1, ARight, ABottom, AWidthEllepse, AHeightEllepse));
}

TcxRegion* TcxRegion::CreateRoundCorners(const TRect& ABounds, Integer AWidthEllepse,
                                         Integer AHeightEllepse) {
  return CreateRoundCorners(ABounds.left, ABounds.top, ABounds.right, ABounds.bottom, AWidthEllepse,
                            AHeightEllepse);
}

void TcxRegion::DestroyHandle() {
  if (FHandle) DeleteObject(FHandle);
  FHandle = nullptr;
}

TRect TcxRegion::BoundsRect() const {
  RECT R;
  if (GetRgnBox(FHandle, &R) == NULLREGION) return cxNullRect;
  return R;
}

bool TcxRegion::IsEmpty() const {
  RECT R;
  return GetRgnBox(FHandle, &R) == NULLREGION;
}

TcxRegion* TcxRegion::Clone() const {
  TcxRegion* R = Create<TcxRegion>();
  R->Combine(FHandle, roAdd);
  return R;
}

void TcxRegion::Combine(HRGN ARegionHandle, TcxRegionOperation AOperation) {
  if (AOperation == roSet)
    CombineRgn(FHandle, ARegionHandle, nullptr, RGN_COPY);
  else
    CombineRgn(FHandle, FHandle, ARegionHandle, CombineMode(AOperation));
}

void TcxRegion::Combine(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion) {
  Combine(ARegion->Handle(), AOperation);
  if (ADestroyRegion) ARegion->Free();
}

void TcxRegion::Combine(const TRect& R, TcxRegionOperation AOperation) {
  TGdiHandle<HRGN> Rect(CreateRectRgnIndirect(&R));
  Combine(Rect.Get(), AOperation);
}

bool TcxRegion::IsEqual(const TcxRegion* ARegion) const {
  if (!ARegion) return false;
  if (IsEmpty() && ARegion->IsEmpty()) return true;
  return EqualRgn(FHandle, ARegion->FHandle) != FALSE;
}

bool TcxRegion::IsEqual(HRGN ARegionHandle) const {
  return EqualRgn(FHandle, ARegionHandle) != FALSE;
}

void TcxRegion::Offset(Integer DX, Integer DY) { OffsetRgn(FHandle, DX, DY); }

bool TcxRegion::PtInRegion(Integer X, Integer Y) const {
  return ::PtInRegion(FHandle, X, Y) != FALSE;
}

bool TcxRegion::RectInRegion(const TRect& R) const { return ::RectInRegion(FHandle, &R) != FALSE; }

bool cxPtInRegion(HRGN ARegionHandle, const TPoint& P) {
  return PtInRegion(ARegionHandle, P.x, P.y) != FALSE;
}

// ---------------------------------------------------------------------------
// The library canvas
IMPLEMENT_CREATABLE_CLASS(TcxCanvas)

TcxCanvas::TcxCanvas(TCanvas* ACanvas) : FCanvas(ACanvas) {}

TcxCanvas::~TcxCanvas() {
  // A save left outstanding must not leak its copies.
  for (TcxRegion* R : FSavedRegions) R->Free();
  for (TcxCanvasState& S : FSavedStates) {
    S.Font->Free();
    S.Brush->Free();
    S.Pen->Free();
  }
  FCanvas = nullptr;
}

Integer TcxCanvas::DpiX() const { return GetDeviceCaps(Handle(), LOGPIXELSX); }
Integer TcxCanvas::DpiY() const { return GetDeviceCaps(Handle(), LOGPIXELSY); }

TPoint TcxCanvas::ViewportOrg() const {
  POINT P{0, 0};
  GetViewportOrgEx(Handle(), &P);
  return P;
}

void TcxCanvas::SetViewportOrg(const TPoint& P) { SetViewportOrgEx(Handle(), P.x, P.y, nullptr); }

TPoint TcxCanvas::GetWindowOrg() const {
  POINT P{0, 0};
  GetWindowOrgEx(Handle(), &P);
  return P;
}

void TcxCanvas::SetWindowOrg(const TPoint& P) { SetWindowOrgEx(Handle(), P.x, P.y, nullptr); }

TPoint TcxCanvas::GetDCOrigin() const {
  TPoint V = ViewportOrg(), W = GetWindowOrg();
  return TPoint{V.x - W.x, V.y - W.y};
}

bool TcxCanvas::GetUseRightToLeftAlignment() const {
  if (FUseRightToLeftAlignment != bDefault) return FUseRightToLeftAlignment == bTrue;
  if (auto* C = AsOrNull<TControlCanvas>(FCanvas))
    if (C->Control()) return C->Control()->UseRightToLeftAlignment();
  return false;
}

void TcxCanvas::SetUseRightToLeftAlignment(bool AValue) {
  FUseRightToLeftAlignment = dxBooleanToDefaultBoolean(AValue);
}

void TcxCanvas::GetParams(TcxViewParams& AParams) const {
  AParams.Color = Brush()->Color();
  AParams.Font = Font();
  AParams.TextColor = Font()->Color();
}

void TcxCanvas::SetParams(const TcxViewParams& AParams) {
  SetBrushColor(AParams.Color);
  SetFont(AParams.Font);
  Font()->SetColor(AParams.TextColor);
}

void TcxCanvas::SaveDC() {
  FCanvas->Lock();
  HDC DC = FCanvas->Handle();
  FSavedDCs.push_back(TcxDCState{DC, ::SaveDC(DC)});
}

void TcxCanvas::RestoreDC() {
  if (FSavedDCs.empty()) return;
  TcxDCState S = FSavedDCs.back();
  FCanvas->SetHandle(S.Handle);
  ::RestoreDC(FCanvas->Handle(), S.State);
  FSavedDCs.pop_back();
  FCanvas->Unlock();
}

void TcxCanvas::SaveState() {
  SaveDC();
  TcxCanvasState S{Create<TFont>(), Create<TBrush>(), Create<TPen>()};
  S.Font->Assign(Font());
  S.Brush->Assign(Brush());
  S.Pen->Assign(Pen());
  FSavedStates.push_back(S);
}

void TcxCanvas::RestoreState() {
  if (FSavedStates.empty()) return;
  TcxCanvasState S = FSavedStates.back();
  FSavedStates.pop_back();
  SetFont(S.Font);
  S.Font->Free();
  SetBrush(S.Brush);
  S.Brush->Free();
  SetPen(S.Pen);
  S.Pen->Free();
  RestoreDC();
}

void TcxCanvas::SaveClipRegion() { FSavedRegions.push_back(GetClipRegion(true)); }

void TcxCanvas::RestoreClipRegion() {
  if (FSavedRegions.empty()) return;
  TcxRegion* R = FSavedRegions.back();
  FSavedRegions.pop_back();
  SetClipRegion(R, roSet, true, true);
}

TcxRegion* TcxCanvas::GetClipRegion(bool AConsiderOrigin) {
  TcxRegion* R = Create<TcxRegion>();
  // Kept as it always was: a DC without a clip region reads as a large but
  // finite one, so combining operations leave a clip behind.
  if (GetClipRgn(Handle(), R->Handle()) == 0) R->Combine(cxRect(0, 0, 30000, 30000), roSet);
  if (AConsiderOrigin) {
    TPoint O = DCOrigin();
    R->Offset(-O.x, -O.y);
  }
  return R;
}

void TcxCanvas::SetClipRegion(TcxRegion* ARegion, TcxRegionOperation AOperation,
                              bool ADestroyRegion, bool AConsiderOrigin) {
  if (AOperation == roSet) {
    TPoint O = AConsiderOrigin ? DCOrigin() : TPoint{0, 0};
    if (AConsiderOrigin) ARegion->Offset(O.x, O.y);
    SelectClipRgn(Handle(), ARegion->Handle());
    if (ADestroyRegion)
      ARegion->Free();
    else if (AConsiderOrigin)
      ARegion->Offset(-O.x, -O.y);
    return;
  }
  TcxRegion* Clip = GetClipRegion(AConsiderOrigin);
  Clip->Combine(ARegion, AOperation, ADestroyRegion);
  SetClipRegion(Clip, roSet, true, AConsiderOrigin);
}

void TcxCanvas::ExcludeClipRect(const TRect& R) { cxExcludeClipRect(Handle(), R); }

void TcxCanvas::IntersectClipRect(const TRect& R) {
  ::IntersectClipRect(Handle(), R.left, R.top, R.right, R.bottom);
}

namespace {
// The strip of a frame side, clamped to R, in the order the frame is drawn.
TRect FrameStrip(const TRect& R, TcxBorder ABorder, Integer ALineWidth) {
  switch (ABorder) {
    case bLeft:
      return cxRect(R.left, R.top, std::min<Integer>(R.left + ALineWidth, R.right), R.bottom);
    case bRight:
      return cxRect(std::max<Integer>(R.right - ALineWidth, R.left), R.top, R.right, R.bottom);
    case bTop:
      return cxRect(R.left, R.top, R.right, std::min<Integer>(R.top + ALineWidth, R.bottom));
    default:
      return cxRect(R.left, std::max<Integer>(R.bottom - ALineWidth, R.top), R.right, R.bottom);
  }
}
const TcxBorder FrameOrder[] = {bLeft, bRight, bTop, bBottom};
}  // namespace

void TcxCanvas::ExcludeFrameRect(const TRect& R, Integer ALineWidth, TcxBorders ABorders) {
  for (TcxBorder B : FrameOrder)
    if (ABorders.Contains(B))
      SetClipRegion(Create<TcxRegion>(FrameStrip(R, B, ALineWidth)), roSubtract, true, true);
}

bool TcxCanvas::RectVisible(const TRect& R) { return ::RectVisible(Handle(), &R) != FALSE; }

bool TcxCanvas::RectFullyVisible(const TRect& R) {
  TOwned<TcxRegion> Clip(GetClipRegion(true));
  TOwned<TcxRegion> Rect(Create<TcxRegion>(R));
  Clip->Combine(Rect->Handle(), roIntersect);
  // The last pixel of R is at (Right - 1, Bottom - 1); the exclusive
  // corner lies outside R and says nothing about it.
  return Clip->IsEqual(Rect.get()) && PtVisible(Handle(), R.left, R.top) &&
         PtVisible(Handle(), R.right - 1, R.bottom - 1);
}

void TcxCanvas::BeginPath() { ::BeginPath(Handle()); }
void TcxCanvas::EndPath() { ::EndPath(Handle()); }
void TcxCanvas::WidenPath() { ::WidenPath(Handle()); }

TcxRegion* TcxCanvas::PathToRegion(bool AConsiderOrigin) {
  TcxRegion* R = Create<TcxRegion>(::PathToRegion(Handle()));
  if (AConsiderOrigin) {
    TPoint O = DCOrigin();
    R->Offset(-O.x, -O.y);
  }
  return R;
}

// ---------------------------------------------------------------------------
// Fills and frames
void TcxCanvas::FillRect(const TRect& R, TColor AColor) {
  if (AColor == clNone) return;
  // System colours are resolved through the library's one source of them.
  if (AColor != clDefault) SetBrushColor(static_cast<TColor>(dxColorToRGB(AColor)));
  FCanvas->FillRect(R);
}

namespace {
Integer FloorDiv(Integer A, Integer B) {
  Integer Q = A / B;
  return (A % B != 0 && ((A < 0) != (B < 0))) ? Q - 1 : Q;
}
}  // namespace

void TcxCanvas::FillRectByBrushOrBitmap(const TRect& R, TBitmap* ABitmap, bool AExcludeRect) {
  if (IsRectEmpty(&R)) return;
  if (IsGlyphAssigned(ABitmap)) {
    Integer W = ABitmap->Width(), H = ABitmap->Height();
    // Cells are anchored at (0, 0) on both sides of it: a rectangle left of
    // or above the origin is covered too.
    Integer FirstCol = FloorDiv(R.left, W), FirstRow = FloorDiv(R.top, H);
    Integer LastCol = FloorDiv(R.right - 1, W), LastRow = FloorDiv(R.bottom - 1, H);
    for (Integer J = FirstRow; J <= LastRow; ++J)
      for (Integer I = FirstCol; I <= LastCol; ++I) {
        TRect Cell = cxRect(I * W, J * H, I * W + W, J * H + H), Part;
        if (!cxRectIntersect(Part, Cell, R)) continue;
        CopyRect(Part, ABitmap->Canvas(), cxRectOffset(Part, -I * W, -J * H));
      }
  } else {
    FCanvas->FillRect(R);
  }
  if (AExcludeRect) SetClipRegion(Create<TcxRegion>(R), roSubtract, true, true);
}

void TcxCanvas::FillRect(const TRect& R, TBitmap* ABitmap, bool AExcludeRect) {
  FillRectByBrushOrBitmap(R, ABitmap, AExcludeRect);
}

void TcxCanvas::FillRect(const TRect& R, const TcxViewParams& AParams, bool AExcludeRect) {
  SetBrushColor(AParams.Color);
  FillRectByBrushOrBitmap(R, AParams.Bitmap, AExcludeRect);
}

void TcxCanvas::FrameRect(const TRect& R, TColor Color, Integer ALineWidth, TcxBorders ABorders,
                          bool AExcludeFrame) {
  if (IsRectEmpty(&R) || Color == clNone) return;
  if (Color != clDefault) SetBrushColor(Color);
  for (TcxBorder B : FrameOrder)
    if (ABorders.Contains(B))
      FillRectByBrushOrBitmap(FrameStrip(R, B, ALineWidth), nullptr, AExcludeFrame);
}

void TcxCanvas::Rectangle(const TRect& R, const TcxViewParams& AParams, TcxBorders ABorders,
                          TColor ABorderColor, Integer ALineWidth, bool AExcludeRect) {
  TRect Inner = R;
  if (!ABorders.Empty()) {
    FrameRect(R, ABorderColor, ALineWidth, ABorders, AExcludeRect);
    if (ABorders.Contains(bLeft)) Inner.left += ALineWidth;
    if (ABorders.Contains(bTop)) Inner.top += ALineWidth;
    if (ABorders.Contains(bRight)) Inner.right -= ALineWidth;
    if (ABorders.Contains(bBottom)) Inner.bottom -= ALineWidth;
  }
  SetBrushColor(AParams.Color);
  FillRectByBrushOrBitmap(Inner, AParams.Bitmap, AExcludeRect);
}

void TcxCanvas::DrawComplexFrame(const TRect& R, TColor ALeftTopColor, TColor ARightBottomColor,
                                 TcxBorders ABorders, Integer ABorderWidth) {
  const TcxBorder Order[] = {bLeft, bTop, bRight, bBottom};
  for (TcxBorder B : Order) {
    if (!ABorders.Contains(B)) continue;
    TRect S = R;
    switch (B) {
      case bLeft:
        S.right = S.left + ABorderWidth;
        break;
      case bTop:
        S.bottom = S.top + ABorderWidth;
        break;
      case bRight:
        S.left = S.right - ABorderWidth;
        break;
      case bBottom:
        S.top = S.bottom - ABorderWidth;
        break;
    }
    FillRect(S, (B == bLeft || B == bTop) ? ALeftTopColor : ARightBottomColor);
  }
}

void TcxCanvas::DrawEdge(const TRect& R, bool ASunken, bool AOuter, TcxBorders ABorders) {
  TColor LeftTop, RightBottom;
  if (ASunken) {
    LeftTop = AOuter ? clBtnShadow : cl3DDkShadow;
    RightBottom = AOuter ? clBtnHighlight : cl3DLight;
  } else {
    LeftTop = AOuter ? cl3DLight : clBtnHighlight;
    RightBottom = AOuter ? cl3DDkShadow : clBtnShadow;
  }
  DrawComplexFrame(R, LeftTop, RightBottom, ABorders, 1);
}

void TcxCanvas::DrawFocusRect(const TRect& R) {
  SetBrushColor(clWhite);
  Font()->SetColor(clBlack);
  FCanvas->SelectFont();
  FCanvas->DrawFocusRect(R);
}

void TcxCanvas::DrawFocusRectEx(const TRect& R, TcxBorders ABorders, bool AExclude) {
  if (ABorders.Empty()) return;
  SaveClipRegion();
  {
    auto Restore = Finally([this] { RestoreClipRegion(); });
    ExcludeFrameRect(R, 1, cxBordersAll() - ABorders);
    DrawFocusRect(R);
  }
  if (AExclude) ExcludeFrameRect(R, 1, ABorders);
}

void TcxCanvas::DrawDesignSelection(const TRect& ARect, Integer AWidth) {
  TRect R = ARect;
  for (Integer I = 0; I < AWidth; ++I) {
    DrawFocusRect(R);
    R = cxRectInflate(R, -1, -1);
  }
}

void TcxCanvas::InvertRect(const TRect& R) {
  SetCopyMode(DSTINVERT);
  CopyRect(R, FCanvas, R);
  SetCopyMode(SRCCOPY);
}

void TcxCanvas::InvertFrame(const TRect& R, Integer ABorderSize) {
  Integer S = ABorderSize;
  InvertRect(cxRect(R.left, R.top, R.left + S, R.bottom));
  InvertRect(cxRect(R.right - S, R.top, R.right, R.bottom));
  InvertRect(cxRect(R.left + S, R.top, R.right - S, R.top + S));
  InvertRect(cxRect(R.left + S, R.bottom - S, R.right - S, R.bottom));
}

void TcxCanvas::FillRegion(HRGN ARegion, TColor AColor) {
  if (AColor == clNone) return;
  SetBrushColor(AColor);
  FillRgn(Handle(), ARegion, Brush()->Handle());
}

void TcxCanvas::FrameRegion(HRGN ARegion, TColor AColor, Integer ABorderWidth,
                            Integer ABorderHeight) {
  if (AColor == clNone) return;
  SetBrushColor(AColor);
  FrameRgn(Handle(), ARegion, Brush()->Handle(), ABorderWidth, ABorderHeight);
}

void TcxCanvas::DrawRegion(HRGN ARegion, TColor AContentColor, TColor ABorderColor,
                           Integer ABorderWidth, Integer ABorderHeight) {
  FillRegion(ARegion, AContentColor);
  FrameRegion(ARegion, ABorderColor, ABorderWidth, ABorderHeight);
}

// ---------------------------------------------------------------------------
// Shapes
void TcxCanvas::Pie(const TRect& R, const TPoint& ARadial1, const TPoint& ARadial2) {
  FCanvas->Pie(R.left, R.top, R.right, R.bottom, ARadial1.x, ARadial1.y, ARadial2.x, ARadial2.y);
}

void TcxCanvas::Pie(const TRect& R, Integer AStartAngle, Integer ASweepAngle) {
  if (cxRectIsEmpty(R) || ASweepAngle == 0) return;
  Integer A = cxRectWidth(R) / 2, B = cxRectHeight(R) / 2;
  TPoint C{R.left + A, R.top + B};
  auto RadialPoint = [&](Integer AAngle) {
    Single Alpha = static_cast<Single>(AAngle * std::numbers::pi / 180);
    Single SinA = std::sin(Alpha), CosA = std::cos(Alpha);
    Single Radius = 0;
    if (A != 0 && B != 0)
      Radius = static_cast<Single>(A) * B /
               std::sqrt(static_cast<Single>(A) * A * SinA * SinA +
                         static_cast<Single>(B) * B * CosA * CosA);
    return TPoint{C.x + static_cast<LONG>(std::nearbyint(Radius * CosA)),
                  C.y - static_cast<LONG>(std::nearbyint(Radius * SinA))};
  };
  TPoint P1 = RadialPoint(AStartAngle);
  TPoint P2 = ASweepAngle == 360 ? P1 : RadialPoint(AStartAngle + ASweepAngle);
  if (P1.x != P2.x || P1.y != P2.y || ASweepAngle > 180) Pie(R, P1, P2);
}

void TcxCanvas::Line(Integer X1, Integer Y1, Integer X2, Integer Y2) {
  MoveTo(X1, Y1);
  LineTo(X2, Y2);
}

// ---------------------------------------------------------------------------
// Glyphs and bitmaps
void TcxCanvas::DrawGlyph(Integer X, Integer Y, TBitmap* AGlyph, bool AEnabled,
                          TColor ABackgroundColor) {
  Integer W = AGlyph->Width(), H = AGlyph->Height();
  if (AEnabled) {
    TBrushStyle Style = Brush()->Style();
    if (ABackgroundColor == clNone)
      Brush()->SetStyle(TBrushStyle::bsClear);
    else
      SetBrushColor(ABackgroundColor);
    BrushCopy(cxRect(X, Y, X + W, Y + H), AGlyph, cxRect(0, 0, W, H), AGlyph->TransparentColor());
    Brush()->SetStyle(Style);
    return;
  }
  TOwned<TCustomImageList> Images(Create<TCustomImageList>(nullptr));
  Images->SetSize(W, H);
  Images->AddMasked(AGlyph, AGlyph->TransparentMode() == TTransparentMode::tmFixed
                                ? AGlyph->TransparentColor()
                                : clDefault);
  if (ABackgroundColor != clNone) {
    TOwned<TBitmap> Back(cxCreateBitmap(W, H));
    Back->Canvas()->Brush()->SetColor(ABackgroundColor);
    Back->Canvas()->FillRect(cxRect(0, 0, W, H));
    Images->Draw(Back->Canvas(), 0, 0, 0, false);
    Draw(X, Y, Back.get());
  } else {
    Images->Draw(FCanvas, X, Y, 0, false);
  }
}

void TcxCanvas::DrawImage(TCustomImageList* Images, Integer X, Integer Y, Integer Index,
                          bool Enabled) {
  if (Index < 0 || Index >= Images->Count()) return;
  SaveDC();
  auto Restore = Finally([this] { RestoreDC(); });
  Images->Draw(FCanvas, X, Y, Index, Enabled);
}

void TcxCanvas::TransparentDraw(Integer X, Integer Y, TBitmap* ABitmap, Byte AAlpha,
                                TBitmap* ABackground) {
  Integer W = ABitmap->Width(), H = ABitmap->Height();
  TOwned<TBitmap> Temp(cxCreateBitmap(W, H));
  if (ABackground)
    Temp->Canvas()->Draw(0, 0, ABackground);
  else
    cxBitBlt(Temp->Canvas()->Handle(), Handle(), cxRect(0, 0, W, H), TPoint{X, Y}, SRCCOPY);
  if (TcxAlphaBlendProc Blend = cxGraphicsPlatform().AlphaBlend) {
    BLENDFUNCTION F{AC_SRC_OVER, 0, AAlpha, 0};
    Blend(Temp->Canvas()->Handle(), 0, 0, W, H, ABitmap->Canvas()->Handle(), 0, 0, W, H, F);
  } else {
    TRGBColors Back, Source;
    GetBitmapBits(Temp.get(), Back, true);
    GetBitmapBits(ABitmap, Source, true);
    auto Mix = [AAlpha](Byte B, Byte S) {
      return static_cast<Byte>(MulDiv(B, 255 - AAlpha, 255) + MulDiv(S, AAlpha, 255));
    };
    for (size_t I = 0; I < Back.size(); ++I) {
      Back[I].rgbBlue = Mix(Back[I].rgbBlue, Source[I].rgbBlue);
      Back[I].rgbGreen = Mix(Back[I].rgbGreen, Source[I].rgbGreen);
      Back[I].rgbRed = Mix(Back[I].rgbRed, Source[I].rgbRed);
    }
    SetBitmapBits(Temp.get(), Back, true);
  }
  Draw(X, Y, Temp.get());
}

void TcxCanvas::RotateBitmap(TBitmap* ABitmap, TcxRotationAngle ARotationAngle,
                             bool AFlipVertically) {
  if (ARotationAngle == ra0 && !AFlipVertically) return;
  Integer W = ABitmap->Width(), H = ABitmap->Height();
  TRGBColors Source, Dest;
  GetBitmapBits(ABitmap, Source, true);
  Dest.resize(Source.size());
  bool Quarter = ARotationAngle == raPlus90 || ARotationAngle == raMinus90;
  Integer DestW = Quarter ? H : W;
  for (Integer Y = 0; Y < H; ++Y)
    for (Integer X = 0; X < W; ++X) {
      Integer Row = 0, Col = 0;
      switch (ARotationAngle) {
        case ra0:
          Row = H - 1 - Y, Col = X;
          break;
        case raPlus90:
          Row = AFlipVertically ? X : W - 1 - X, Col = Y;
          break;
        case raMinus90:
          Row = AFlipVertically ? W - 1 - X : X, Col = H - 1 - Y;
          break;
        case ra180:
          Row = AFlipVertically ? Y : H - 1 - Y, Col = W - 1 - X;
          break;
      }
      Dest[static_cast<size_t>(Row) * DestW + Col] = Source[static_cast<size_t>(Y) * W + X];
    }
  if (Quarter) {
    ABitmap->SetHeight(0);
    ABitmap->SetWidth(H);
    ABitmap->SetHeight(W);
  }
  SetBitmapBits(ABitmap, Dest, true);
}

void TcxCanvas::FlipHorizontally(TBitmap* ABitmap) {
  Integer W = ABitmap->Width(), H = ABitmap->Height();
  if (W == 0 || H == 0) return;
  TRGBColors P;
  GetBitmapBits(ABitmap, P, true);
  for (Integer Y = 0; Y < H; ++Y)
    std::reverse(P.begin() + static_cast<ptrdiff_t>(Y) * W,
                 P.begin() + static_cast<ptrdiff_t>(Y + 1) * W);
  SetBitmapBits(ABitmap, P, true);
}

// ---------------------------------------------------------------------------
// Objects of a device context
void TcxCanvas::SynchronizeObjects(TCanvas* ACanvas, HDC ADC) {
  LOGFONTW LF;
  if (cxGetFontData(static_cast<HFONT>(GetCurrentObject(ADC, OBJ_FONT)), LF)) {
    ACanvas->Font()->SetLogFont(LF);
  }
  ACanvas->Font()->SetColor(static_cast<TColor>(GetTextColor(ADC)));

  LOGBRUSH LB;
  if (cxGetBrushData(static_cast<HBRUSH>(GetCurrentObject(ADC, OBJ_BRUSH)), LB)) {
    TBrush* B = ACanvas->Brush();
    B->SetHandle(CreateBrushIndirect(&LB));
    B->SetColor(static_cast<TColor>(LB.lbColor));
    TBrushStyle Style = TBrushStyle::bsSolid;
    if (LB.lbStyle == BS_NULL)
      Style = TBrushStyle::bsClear;
    else if (LB.lbStyle == BS_HATCHED && LB.lbHatch <= 5)
      Style = static_cast<TBrushStyle>(static_cast<int>(TBrushStyle::bsHorizontal) + LB.lbHatch);
    B->SetStyle(Style);
  }

  LOGPEN LP;
  if (cxGetPenData(static_cast<HPEN>(GetCurrentObject(ADC, OBJ_PEN)), LP)) {
    TPen* P = ACanvas->Pen();
    P->SetHandle(CreatePenIndirect(&LP));
    P->SetColor(static_cast<TColor>(LP.lopnColor));
    P->SetStyle(static_cast<TPenStyle>(LP.lopnStyle & 0xFF));
    static const struct {
      TPenMode Mode;
      int Rop2;
    } Modes[] = {{TPenMode::pmBlack, R2_BLACK},
                 {TPenMode::pmWhite, R2_WHITE},
                 {TPenMode::pmNop, R2_NOP},
                 {TPenMode::pmNot, R2_NOT},
                 {TPenMode::pmCopy, R2_COPYPEN},
                 {TPenMode::pmNotCopy, R2_NOTCOPYPEN},
                 {TPenMode::pmMergePenNot, R2_MERGEPENNOT},
                 {TPenMode::pmMaskPenNot, R2_MASKPENNOT},
                 {TPenMode::pmMergeNotPen, R2_MERGENOTPEN},
                 {TPenMode::pmMaskNotPen, R2_MASKNOTPEN},
                 {TPenMode::pmMerge, R2_MERGEPEN},
                 {TPenMode::pmNotMerge, R2_NOTMERGEPEN},
                 {TPenMode::pmMask, R2_MASKPEN},
                 {TPenMode::pmNotMask, R2_NOTMASKPEN},
                 {TPenMode::pmXor, R2_XORPEN},
                 {TPenMode::pmNotXor, R2_NOTXORPEN}};
    TPenMode Mode = TPenMode::pmCopy;
    int Rop2 = GetROP2(ADC);
    for (const auto& M : Modes)
      if (M.Rop2 == Rop2) Mode = M.Mode;
    P->SetMode(Mode);
    P->SetWidth(LP.lopnWidth.x);
  }
}

// ---------------------------------------------------------------------------
// Control, screen and paint canvases
IMPLEMENT_CLASS(TcxControlCanvas)

void TcxControlCanvas::BeginPaint() {
  FOrigin = TcxCanvas::GetWindowOrg();
  POINT Previous;
  SetBrushOrgEx(Handle(), FOrigin.x, FOrigin.y, &Previous);
  FBrushOrigin = Previous;
}

void TcxControlCanvas::EndPaint() {
  SetBrushOrgEx(Handle(), FBrushOrigin.x, FBrushOrigin.y, nullptr);
  FBrushOrigin = TPoint{0, 0};
  FOrigin = TPoint{0, 0};
}

TPoint TcxControlCanvas::GetWindowOrg() const {
  TPoint P = TcxCanvas::GetWindowOrg();
  return TPoint{P.x - FOrigin.x, P.y - FOrigin.y};
}

void TcxControlCanvas::SetWindowOrg(const TPoint& P) {
  TcxCanvas::SetWindowOrg(TPoint{P.x + FOrigin.x, P.y + FOrigin.y});
}

TPoint TcxControlCanvas::GetDCOrigin() const {
  TPoint V = ViewportOrg(), W = TcxCanvas::GetWindowOrg();
  return TPoint{V.x - W.x, V.y - W.y};
}

namespace {
// A platform canvas over the desktop's device context.
class TScreenCanvas : public TCanvas {
  DECLARE_CLASS(TScreenCanvas, TCanvas)
 public:
  ~TScreenCanvas() override { FreeHandle(); }
  void FreeHandle() {
    if (!FDeviceContext) return;
    SetHandle(nullptr);
    ReleaseDC(FWindowHandle, FDeviceContext);
    FDeviceContext = nullptr;
    FWindowHandle = nullptr;
  }

 protected:
  void CreateHandle() override {
    FWindowHandle = GetDesktopWindow();
    FDeviceContext = GetDCEx(FWindowHandle, nullptr, DCX_CACHE | DCX_LOCKWINDOWUPDATE);
    SetHandle(FDeviceContext);
  }

 private:
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};
IMPLEMENT_CLASS(TScreenCanvas)

TcxScreenCanvas*& ScreenCanvasVar() {
  static TcxScreenCanvas* V = nullptr;
  return V;
}
TcxPaintCanvas*& PaintCanvasVar() {
  static TcxPaintCanvas* V = nullptr;
  return V;
}
}  // namespace

IMPLEMENT_CLASS(TcxScreenCanvas)

TcxScreenCanvas::TcxScreenCanvas() : TcxCanvas(Create<TScreenCanvas>()) {}

TcxScreenCanvas::~TcxScreenCanvas() {
  TCanvas* C = Canvas();
  SetCanvas(nullptr);
  C->Free();
}

void TcxScreenCanvas::Dormant() { static_cast<TScreenCanvas*>(Canvas())->FreeHandle(); }

IMPLEMENT_CLASS(TcxPaintCanvas)

TcxPaintCanvas::~TcxPaintCanvas() { FSavedStates.clear(); }

void TcxPaintCanvas::SetCapacity(Integer AValue) {
  Integer Length = static_cast<Integer>(FSavedStates.size());
  if (Length < AValue) FSavedStates.resize(static_cast<size_t>(std::max(Length + 4, AValue)));
}

void TcxPaintCanvas::BeginPaint(HDC ADC) {
  SetCapacity(FCounter + 1);
  TState& S = FSavedStates[static_cast<size_t>(FCounter)];
  S.PrevCanvas = Canvas();
  S.SaveDC = ::SaveDC(ADC);
  S.Created = Create<TCanvas>();
  S.Created->SetHandle(ADC);
  SynchronizeObjects(S.Created, ADC);
  SetCanvas(S.Created);
  SaveState();
  ++FCounter;
}

void TcxPaintCanvas::BeginPaint(TCanvas* ACanvas) {
  SetCapacity(FCounter + 1);
  TState& S = FSavedStates[static_cast<size_t>(FCounter)];
  S.PrevCanvas = Canvas();
  S.SaveDC = 0;
  S.Created = nullptr;
  SetCanvas(ACanvas);
  SaveState();
  ++FCounter;
}

void TcxPaintCanvas::EndPaint() {
  if (FCounter <= 0) return;
  --FCounter;
  RestoreState();
  TState& S = FSavedStates[static_cast<size_t>(FCounter)];
  if (S.SaveDC != 0) {
    HDC DC = Handle();
    // The DC is the caller's: the canvas lets go of it before it is freed.
    S.Created->SetHandle(nullptr);
    S.Created->Free();
    S.Created = nullptr;
    ::RestoreDC(DC, S.SaveDC);
  }
  SetCanvas(S.PrevCanvas);
}

TcxScreenCanvas* cxScreenCanvas() {
  TcxScreenCanvas*& V = ScreenCanvasVar();
  if (!V && !ModuleFinalized()) V = Create<TcxScreenCanvas>();
  return V;
}

TcxPaintCanvas* cxPaintCanvas() {
  TcxPaintCanvas*& V = PaintCanvasVar();
  if (!V && !ModuleFinalized()) V = Create<TcxPaintCanvas>();
  return V;
}

void cxGraphicsInternal::FreeSharedCanvases() {
  FreeAndNil(ScreenCanvasVar());
  FreeAndNil(PaintCanvasVar());
}
