#include "cxContainer.h"
#include "cxDWMApi.h"
#include "dxOffice11.h"

// ---------------------------------------------------------------------------
// Routines

namespace {
constexpr Integer ThemeBorderColorProperty = 3801;  // TMT_BORDERCOLOR
constexpr Integer ThemeFillColorProperty = 3802;    // TMT_FILLCOLOR

bool PlatformCompositionEnabled() { return IsCompositionEnabled(); }

// The strips between an outer rectangle and one inside it.
std::array<TRect, 4> FrameStrips(const TRect& AOuter, const TRect& AInner) {
  return {TRect{AOuter.left, AOuter.top, AOuter.right, AInner.top},
          TRect{AOuter.left, AInner.top, AInner.left, AInner.bottom},
          TRect{AInner.right, AInner.top, AOuter.right, AInner.bottom},
          TRect{AOuter.left, AInner.bottom, AOuter.right, AOuter.bottom}};
}

}  // namespace

TcxContainerNativeBorderColorSource& cxContainerNativeBorderColorSource() {
  static TcxContainerNativeBorderColorSource Source{&PlatformCompositionEnabled};
  return Source;
}

TcxMouseButton ButtonTocxButton(TMouseButton Button) {
  static constexpr TcxMouseButton AButtonMap[] = {cxmbLeft, cxmbRight, cxmbMiddle};
  return AButtonMap[static_cast<Integer>(Button)];
}

void DrawContainerShadow(TcxCanvas* ACanvas, const TRect& ARect) {
  const Integer W = cxContainerShadowWidth;
  ACanvas->SetBrushColor(cxContainerShadowColor);
  for (const TRect& R : {TRect{ARect.left + W, ARect.bottom, ARect.right, ARect.bottom + W},
                         TRect{ARect.right, ARect.top + W, ARect.right + W, ARect.bottom + W}}) {
    ACanvas->FillRect(R);
    // Later drawing must leave the shadow alone.
    ACanvas->ExcludeClipRect(R);
  }
}

TColor GetContainerBorderColor(bool AIsHighlight, bool AIsOffice11Style) {
  if (!AIsHighlight) return clBtnShadow;
  return AIsOffice11Style ? dxOffice11SelectedBorderColor : clHighlight;
}

Integer GetContainerBorderWidth(TcxContainerBorderStyle ABorderStyle) {
  return cxLookAndFeelPaintersManager()
      ->GetPainter(lfsStandard)
      ->GetContainerBorderWidth(ABorderStyle);
}

TRect GetControlRect(TControl* AControl) {
  return TRect{0, 0, AControl->Width(), AControl->Height()};
}

void InflateRectByBorders(TRect& R, Integer ABorderWidth, TcxBorders AEdges) {
  if (!AEdges.Contains(bLeft)) R.left += ABorderWidth;
  if (!AEdges.Contains(bTop)) R.top += ABorderWidth;
  if (!AEdges.Contains(bRight)) R.right -= ABorderWidth;
  if (!AEdges.Contains(bBottom)) R.bottom -= ABorderWidth;
}

void InternalInvalidate(HWND AHandle, const TRect& AOuterRect, const TRect& AInternalRect,
                        bool AEraseBackground, bool ARedrawNC) {
  UINT AFlags = RDW_INVALIDATE;
  if (AEraseBackground) AFlags |= RDW_ERASE;
  if (ARedrawNC) AFlags |= RDW_FRAME;
  if (cxRectIsEmpty(AInternalRect)) {
    RECT R = AOuterRect;
    RedrawWindow(AHandle, &R, nullptr, AFlags);
    return;
  }
  for (const TRect& AStrip : FrameStrips(AOuterRect, AInternalRect))
    if (!cxRectIsEmpty(AStrip)) {
      RECT R = AStrip;
      RedrawWindow(AHandle, &R, nullptr, AFlags);
    }
}

void InternalFillRect(TcxCanvas* ACanvas, const TRect& AOuterRect, const TRect& AInternalRect,
                      TColor AColor) {
  if (cxRectIsEmpty(AOuterRect) || AOuterRect == AInternalRect) return;
  for (const TRect& AStrip : FrameStrips(AOuterRect, AInternalRect))
    if (!cxRectIsEmpty(AStrip)) ACanvas->FillRect(AStrip, AColor);
}

bool AreVisualStylesMustBeUsed(bool ANativeStyle, TdxThemedObjectType AThemedObjectType) {
  return ANativeStyle && OpenTheme(AThemedObjectType) != nullptr;
}

TRegionHandle GetWindowRegion(HWND AWindowHandle) {
  TRegionHandle ARegion(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(AWindowHandle, ARegion.Get()) == ERROR) return TRegionHandle();
  return ARegion;
}

bool SetWindowRegion(HWND AWindowHandle, TRegionHandle ARegion, bool ARedraw) {
  TRegionHandle APresent = GetWindowRegion(AWindowHandle);
  bool ADiffers = ARegion.Valid() != APresent.Valid() ||
                  (ARegion.Valid() && !EqualRgn(ARegion.Get(), APresent.Get()));
  if (!ADiffers) return false;
  // The window owns the region from here on.
  SetWindowRgn(AWindowHandle, ARegion.Release(), ARedraw);
  return true;
}

bool SetWindowRegion(HWND AWindowHandle, TRegionHandle ARegion, Integer AOperation, bool ARedraw) {
  TRegionHandle APresent = GetWindowRegion(AWindowHandle);
  if (APresent.Valid() && ARegion.Valid())
    CombineRgn(ARegion.Get(), APresent.Get(), ARegion.Get(), AOperation);
  return SetWindowRegion(AWindowHandle, std::move(ARegion), ARedraw);
}

TRegionHandle GetWindowShadowRegion(HWND, const TRect& AShadowBounds,
                                    const TRect& AShadowBoundsExtent, const TRect& AExcludeRect,
                                    bool AShadow, bool ANativeStyle) {
  if (!AShadow || ANativeStyle) return TRegionHandle();
  const TRect& B = AShadowBounds;
  TRegionHandle ARegion(CreateRectRgn(B.left, B.top, B.right, B.bottom));
  TRect AShifted{B.left + cxContainerShadowWidth + AShadowBoundsExtent.left,
                 B.top + cxContainerShadowWidth + AShadowBoundsExtent.top,
                 B.right + cxContainerShadowWidth - AShadowBoundsExtent.right,
                 B.bottom + cxContainerShadowWidth - AShadowBoundsExtent.bottom};
  TRegionHandle AShadowPart(
      CreateRectRgn(AShifted.left, AShifted.top, AShifted.right, AShifted.bottom));
  CombineRgn(ARegion.Get(), ARegion.Get(), AShadowPart.Get(), RGN_OR);
  if (!cxRectIsEmpty(AExcludeRect)) {
    TRegionHandle AExclude(CreateRectRgn(AExcludeRect.left, AExcludeRect.top, AExcludeRect.right,
                                         AExcludeRect.bottom));
    CombineRgn(ARegion.Get(), ARegion.Get(), AExclude.Get(), RGN_DIFF);
  }
  return ARegion;
}

void SetWindowShadowRegion(HWND AWindowHandle, const TRect& AShadowBounds,
                           const TRect& AShadowBoundsExtent, const TRect& AExcludeRect,
                           bool AShadow, bool ANativeStyle) {
  SetWindowRegion(AWindowHandle,
                  GetWindowShadowRegion(AWindowHandle, AShadowBounds, AShadowBoundsExtent,
                                        AExcludeRect, AShadow, ANativeStyle),
                  true);
}

// ---------------------------------------------------------------------------
// TcxContainerViewInfo
IMPLEMENT_CLASS(TcxContainerViewInfo)

void TcxContainerViewInfo::Assign(TObject* Source) {
  if (auto* S = dynamic_cast<TcxContainerViewInfo*>(Source)) ClientRect = S->ClientRect;
}

TRegionHandle TcxContainerViewInfo::GetUpdateRegion(TcxContainerViewInfo*) {
  return TRegionHandle(CreateRectRgn(0, 0, 0, 0));
}

void TcxContainerViewInfo::Offset(Integer DX, Integer DY) {
  if (!FCalculated) return;
  for (TRect* R : {&BorderRect, &Bounds, &ClientRect}) {
    R->left += DX;
    R->right += DX;
    R->top += DY;
    R->bottom += DY;
  }
}

void TcxContainerViewInfo::Paint(TcxCanvas* ACanvas) { InternalPaint(ACanvas); }

void TcxContainerViewInfo::UpdateStyle(TcxContainerStyle* AStyle) {
  Font = AStyle->GetFont();
  TcxLookAndFeel* L = AStyle->GetLookAndFeel();
  Painter = L->Painter();
  UseSkins = L->SkinPainter() != nullptr;
}

void TcxContainerViewInfo::DrawBorder(TcxCanvas* ACanvas, TRect R) {
  Painter->DrawContainerBorder(ACanvas, R, BorderStyle, BorderWidth, BorderColor, Edges);
}

void TcxContainerViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  if (NativeStyle)
    DrawNativeStyleBackground(ACanvas);
  else
    DrawBackground(ACanvas);
}

void TcxContainerViewInfo::DrawBackground(TcxCanvas* ACanvas) {
  TRect R = BorderRect;
  R.left -= BorderWidth;
  R.top -= BorderWidth;
  if (Edges.Contains(bRight)) R.right += BorderWidth;
  if (Edges.Contains(bBottom)) R.bottom += BorderWidth;
  if (Shadow) DrawContainerShadow(ACanvas, R);
  if (!Edges.Contains(bRight)) R.right += BorderWidth;
  if (!Edges.Contains(bBottom)) R.bottom += BorderWidth;
  DrawBorder(ACanvas, R);
  ACanvas->FillRect(BorderRect, FBackgroundColor);
}

void TcxContainerViewInfo::DrawNativeStyleBackground(TcxCanvas* ACanvas) {
  if (BorderStyle == cbsNone) {
    ACanvas->FillRect(Bounds, FBackgroundColor);
    return;
  }
  TRect AContent = Bounds;
  if (HTHEME ATheme = OpenTheme(ThemedObjectType)) {
    RECT ABounds = Bounds, AResult{};
    if (SUCCEEDED(dxUxTheme::GetThemeBackgroundContentRect(ATheme, ACanvas->Handle(), 1,
                                                           NativeState, &ABounds, &AResult)))
      AContent = TRect(AResult);
  }
  ACanvas->FillRect(AContent, FBackgroundColor);
  bool AComposition = cxContainerNativeBorderColorSource().IsCompositionEnabled();
  HTHEME ABorderTheme = OpenTheme(AComposition ? totListBox : totComboBox);
  COLORREF ABorderColor = ColorToRGB(clWindowFrame);
  if (ABorderTheme)
    dxUxTheme::GetThemeColor(ABorderTheme, AComposition ? 3 : 1, 1, ThemeBorderColorProperty,
                             &ABorderColor);
  InternalFillRect(ACanvas, Bounds, AContent, static_cast<TColor>(ABorderColor));
}

// The disabled native background's fill colour from the theme; clDefault
// when the theme gives none.
TColor cxContainerThemeFillColor(TdxThemedObjectType AType, Integer APart, Integer AState) {
  HTHEME ATheme = OpenTheme(AType);
  COLORREF AColor;
  if (ATheme &&
      SUCCEEDED(dxUxTheme::GetThemeColor(ATheme, APart, AState, ThemeFillColorProperty, &AColor)))
    return static_cast<TColor>(AColor);
  return clDefault;
}
