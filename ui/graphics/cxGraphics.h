// The library's drawing surface and what it draws with: the canvas with its
// device-context, state and clip stacks; regions; the control, screen and
// paint canvases; colour arithmetic and colour spaces; off-screen bitmaps and
// their compressed form-resource data; alpha bitmaps and glyph drawing;
// gradients, alpha blending and raster helpers; resampling; window painting.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "Controls.h"
#include "ImgList.h"
#include "StdCtrls.h"
#include "cxClasses.h"
#include "cxGeometry.h"
#include "dxCore.h"
#include "dxCoreGraphics.h"
#include "dxGraphicsLink.h"
#include "dxSmartImage.h"

class TcxCanvas;
class TcxBitmap;
class TcxBitmap32;
class TcxAlphaBitmap;

// ---------------------------------------------------------------------------
// Shared enumerations
enum TcxBorder { bLeft, bTop, bRight, bBottom };
using TcxBorders = TSet<TcxBorder>;
inline TcxBorders cxBordersAll() { return TcxBorders{bLeft, bTop, bRight, bBottom}; }
enum TcxRegionOperation { roSet, roAdd, roSubtract, roIntersect };
enum TcxRotationAngle { ra0, raPlus90, raMinus90, ra180 };
enum TcxAlignmentVert { vaTop, vaBottom, vaCenter };
enum TcxArrowDirection { adUp, adDown, adLeft, adRight };
enum TcxImageDrawMode { idmNormal, idmDisabled, idmFaded, idmGrayScale, idmDingy, idmShadowed };
enum TcxImageFitMode { ifmNormal, ifmStretch, ifmProportionalStretch, ifmFit, ifmFill };
enum TcxBitmapTransformationMode {
  btmDingy,
  btmDirty,
  btmGrayScale,
  btmSetOpaque,
  btmMakeMask,
  btmFade,
  btmDisable,
  btmCorrectBlend,
  btmHatch,
  btmClear,
  btmResetAlpha,
  btmExtractLayer
};
using TRects = std::vector<TRect>;

inline constexpr TcxImageDrawMode EnabledImageDrawModeMap(bool AEnabled) {
  return AEnabled ? idmNormal : idmDisabled;
}

// The colours and font with which a view element is painted; Font is a
// reference, not a copy.
struct TcxViewParams {
  TBitmap* Bitmap = nullptr;
  TColor Color = clDefault;
  TFont* Font = nullptr;
  TColor TextColor = clDefault;
};

// ---------------------------------------------------------------------------
// Text flags of the canvas
constexpr Integer cxAlignLeft = 0x1, cxAlignRight = 0x2, cxAlignHCenter = 0x4, cxAlignTop = 0x8,
                  cxAlignBottom = 0x10, cxAlignVCenter = 0x20, cxSingleLine = 0x40,
                  cxDontClip = 0x80, cxExpandTabs = 0x100, cxShowPrefix = 0x200,
                  cxWordBreak = 0x400, cxShowEndEllipsis = 0x800, cxCalcRect = 0x1000,
                  cxShowPathEllipsis = 0x2000, cxDontBreakChars = 0x4000,
                  cxNoFullWidthCharBreak = 0x8000, cxRtlReading = 0x10000;
Integer cxAlignmentsHorz(TAlignment AAlignment);
Integer cxAlignmentsVert(TcxAlignmentVert AAlignment);
// The platform's DrawText format from the canvas text flags.
UINT cxFlagsToDTFlags(Integer AFlags);

// ---------------------------------------------------------------------------
// An owned GDI region.
class TcxRegion : public TObject {
  DECLARE_CLASS(TcxRegion, TObject)
 public:
  // Takes ownership of AHandle.
  explicit TcxRegion(HRGN AHandle);
  explicit TcxRegion(const TRect& ABounds);
  // An empty region with a valid handle.
  TcxRegion();
  TcxRegion(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom);
  ~TcxRegion() override;
  // The window's own region, else its bounds (0, 0, width, height).
  static TcxRegion* CreateFromWindow(HWND AHandle, Integer ADummy = 0);
  // Left and top move in by one pixel, as the platform's round rectangle
  // region leaves them otherwise one pixel wider than the frame drawn there.
  static TcxRegion* CreateRoundCorners(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom,
                                       Integer AWidthEllepse, Integer AHeightEllepse);
  static TcxRegion* CreateRoundCorners(const TRect& ABounds, Integer AWidthEllepse,
                                       Integer AHeightEllepse);

  HRGN Handle() const { return FHandle; }
  // Replaces the handle without deleting the old one.
  void SetHandle(HRGN AValue) { FHandle = AValue; }
  TRect BoundsRect() const;
  bool IsEmpty() const;

  void DestroyHandle();
  TcxRegion* Clone() const;
  void Combine(HRGN ARegionHandle, TcxRegionOperation AOperation);
  void Combine(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion = true);
  void Combine(const TRect& R, TcxRegionOperation AOperation);
  bool IsEqual(const TcxRegion* ARegion) const;
  bool IsEqual(HRGN ARegionHandle) const;
  void Offset(const TPoint& P) { Offset(P.x, P.y); }
  void Offset(Integer DX, Integer DY);
  bool PtInRegion(const TPoint& Pt) const { return PtInRegion(Pt.x, Pt.y); }
  bool PtInRegion(Integer X, Integer Y) const;
  bool RectInRegion(const TRect& R) const;
  bool RectInRegion(Integer ALeft, Integer ATop, Integer ARight, Integer ABottom) const {
    return RectInRegion(cxRect(ALeft, ATop, ARight, ABottom));
  }

 private:
  HRGN FHandle = nullptr;
};

bool cxPtInRegion(HRGN ARegionHandle, const TPoint& P);

// ---------------------------------------------------------------------------
// The library canvas over a platform canvas that it does not own.
struct TcxDCState {
  HDC Handle;
  Integer State;
};
struct TcxCanvasState {
  TFont* Font;
  TBrush* Brush;
  TPen* Pen;
};

class TcxCanvas : public TObject {
  DECLARE_CLASS(TcxCanvas, TObject)
 public:
  using TOwnerType = TCanvas;
  explicit TcxCanvas(TCanvas* ACanvas);
  // Frees what outstanding saves left on the stacks.
  ~TcxCanvas() override;

  TCanvas* Canvas() const { return FCanvas; }
  virtual void SetCanvas(TCanvas* AValue) { FCanvas = AValue; }
  HDC Handle() const { return FCanvas->Handle(); }
  bool HandleAllocated() const { return FCanvas->HandleAllocated(); }
  TBrush* Brush() const { return FCanvas->Brush(); }
  void SetBrush(TBrush* AValue) { FCanvas->SetBrush(AValue); }
  TFont* Font() const { return FCanvas->Font(); }
  void SetFont(TFont* AValue) { FCanvas->SetFont(AValue); }
  TPen* Pen() const { return FCanvas->Pen(); }
  void SetPen(TPen* AValue) { FCanvas->SetPen(AValue); }
  Integer CopyMode() const { return FCanvas->CopyMode(); }
  void SetCopyMode(Integer AValue) { FCanvas->SetCopyMode(AValue); }
  Integer TextFlags() const { return FCanvas->TextFlags(); }
  void SetTextFlags(Integer AValue) { FCanvas->SetTextFlags(AValue); }
  void SetPixel(Integer X, Integer Y, TColor AValue) { FCanvas->SetPixel(X, Y, AValue); }
  Integer DpiX() const;
  Integer DpiY() const;
  TPoint ViewportOrg() const;
  void SetViewportOrg(const TPoint& P);
  TPoint WindowOrg() const { return GetWindowOrg(); }
  // The device position of the logical point (0, 0).
  TPoint DCOrigin() const { return GetDCOrigin(); }
  bool UseRightToLeftAlignment() const { return GetUseRightToLeftAlignment(); }
  virtual void SetUseRightToLeftAlignment(bool AValue);
  virtual TPoint GetWindowOrg() const;
  virtual void SetWindowOrg(const TPoint& P);

  void Lock() { FCanvas->Lock(); }
  void Unlock() { FCanvas->Unlock(); }
  void Refresh() { FCanvas->Refresh(); }
  void SetBrushColor(TColor AValue) { Brush()->SetColor(AValue); }
  void GetParams(TcxViewParams& AParams) const;
  void SetParams(const TcxViewParams& AParams);

  // Stacks. A restore on an empty stack does nothing.
  void SaveDC();
  void RestoreDC();
  void SaveState();
  void RestoreState();
  void SaveClipRegion();
  void RestoreClipRegion();

  // Clip. Regions given with AConsiderOrigin are in logical coordinates.
  TcxRegion* GetClipRegion(bool AConsiderOrigin = true);
  void SetClipRegion(TcxRegion* ARegion, TcxRegionOperation AOperation, bool ADestroyRegion = true,
                     bool AConsiderOrigin = true);
  void ExcludeClipRect(const TRect& R);
  void IntersectClipRect(const TRect& R);
  void ExcludeFrameRect(const TRect& R, Integer ALineWidth = 1,
                        TcxBorders ABorders = cxBordersAll());
  bool RectVisible(const TRect& R);
  bool RectFullyVisible(const TRect& R);

  // Paths.
  void BeginPath();
  void EndPath();
  void WidenPath();
  TcxRegion* PathToRegion(bool AConsiderOrigin = true);

  // Fills and frames.
  void FillRect(const TRect& R, TColor AColor = clDefault);
  void FillRect(const TRect& R, TBitmap* ABitmap, bool AExcludeRect = false);
  void FillRect(const TRect& R, const TcxViewParams& AParams, bool AExcludeRect = false);
  void FrameRect(const TRect& R, TColor Color = clDefault, Integer ALineWidth = 1,
                 TcxBorders ABorders = cxBordersAll(), bool AExcludeFrame = false);
  void Rectangle(const TRect& R, const TcxViewParams& AParams, TcxBorders ABorders,
                 TColor ABorderColor, Integer ALineWidth = 1, bool AExcludeRect = false);
  void DrawComplexFrame(const TRect& R, TColor ALeftTopColor, TColor ARightBottomColor,
                        TcxBorders ABorders = cxBordersAll(), Integer ABorderWidth = 1);
  void DrawEdge(const TRect& R, bool ASunken, bool AOuter, TcxBorders ABorders = cxBordersAll());
  void DrawFocusRect(const TRect& R);
  void DrawFocusRectEx(const TRect& R, TcxBorders ABorders, bool AExclude = false);
  void DrawDesignSelection(const TRect& ARect, Integer AWidth);
  void InvertRect(const TRect& R);
  void InvertFrame(const TRect& R, Integer ABorderSize);

  // Regions, in logical coordinates.
  void FillRegion(HRGN ARegion, TColor AColor = clDefault);
  void FillRegion(TcxRegion* ARegion, TColor AColor = clDefault) {
    FillRegion(ARegion->Handle(), AColor);
  }
  void FrameRegion(HRGN ARegion, TColor AColor = clDefault, Integer ABorderWidth = 1,
                   Integer ABorderHeight = 1);
  void FrameRegion(TcxRegion* ARegion, TColor AColor = clDefault, Integer ABorderWidth = 1,
                   Integer ABorderHeight = 1) {
    FrameRegion(ARegion->Handle(), AColor, ABorderWidth, ABorderHeight);
  }
  void DrawRegion(HRGN ARegion, TColor AContentColor = clDefault, TColor ABorderColor = clDefault,
                  Integer ABorderWidth = 1, Integer ABorderHeight = 1);
  void DrawRegion(TcxRegion* ARegion, TColor AContentColor = clDefault,
                  TColor ABorderColor = clDefault, Integer ABorderWidth = 1,
                  Integer ABorderHeight = 1) {
    DrawRegion(ARegion->Handle(), AContentColor, ABorderColor, ABorderWidth, ABorderHeight);
  }

  // Shapes.
  void Pie(const TRect& R, const TPoint& ARadial1, const TPoint& ARadial2);
  // Angles in degrees, counter-clockwise from the positive X axis.
  void Pie(const TRect& R, Integer AStartAngle, Integer ASweepAngle);
  void Pie(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
           Integer Y4) {
    FCanvas->Pie(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  }
  void Line(const TPoint& P1, const TPoint& P2) { Line(P1.x, P1.y, P2.x, P2.y); }
  void Line(Integer X1, Integer Y1, Integer X2, Integer Y2);

  // Glyphs and bitmaps.
  void DrawGlyph(Integer X, Integer Y, TBitmap* AGlyph, bool AEnabled = true,
                 TColor ABackgroundColor = clNone);
  void DrawImage(TCustomImageList* Images, Integer X, Integer Y, Integer Index,
                 bool Enabled = true);
  void TransparentDraw(Integer X, Integer Y, TBitmap* ABitmap, Byte AAlpha,
                       TBitmap* ABackground = nullptr);
  void RotateBitmap(TBitmap* ABitmap, TcxRotationAngle ARotationAngle,
                    bool AFlipVertically = false);
  void FlipHorizontally(TBitmap* ABitmap);

  // The platform operations, passed on unchanged.
  void AngleArc(Integer X, Integer Y, Cardinal Radius, Single StartAngle, Single SweepAngle) {
    FCanvas->AngleArc(X, Y, Radius, StartAngle, SweepAngle);
  }
  void Arc(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
           Integer Y4) {
    FCanvas->Arc(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  }
  void ArcTo(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
             Integer Y4) {
    FCanvas->ArcTo(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  }
  void Chord(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3, Integer X4,
             Integer Y4) {
    FCanvas->Chord(X1, Y1, X2, Y2, X3, Y3, X4, Y4);
  }
  void Ellipse(Integer X1, Integer Y1, Integer X2, Integer Y2) { FCanvas->Ellipse(X1, Y1, X2, Y2); }
  void Ellipse(const TRect& R) { FCanvas->Ellipse(R); }
  void Rectangle(Integer X1, Integer Y1, Integer X2, Integer Y2) {
    FCanvas->Rectangle(X1, Y1, X2, Y2);
  }
  void Rectangle(const TRect& R) { FCanvas->Rectangle(R); }
  void RoundRect(Integer X1, Integer Y1, Integer X2, Integer Y2, Integer X3, Integer Y3) {
    FCanvas->RoundRect(X1, Y1, X2, Y2, X3, Y3);
  }
  void RoundRect(const TRect& R, Integer CX, Integer CY) {
    RoundRect(R.left, R.top, R.right, R.bottom, CX, CY);
  }
  void MoveTo(Integer X, Integer Y) { FCanvas->MoveTo(X, Y); }
  void LineTo(Integer X, Integer Y) { FCanvas->LineTo(X, Y); }
  void Polygon(const std::vector<TPoint>& Points) { FCanvas->Polygon(Points); }
  void Polyline(const std::vector<TPoint>& Points) { FCanvas->Polyline(Points); }
  void PolyBezier(const std::vector<TPoint>& Points) { FCanvas->PolyBezier(Points); }
  void PolyBezierTo(const std::vector<TPoint>& Points) { FCanvas->PolyBezierTo(Points); }
  void FloodFill(Integer X, Integer Y, TColor Color, TFillStyle FillStyle) {
    FCanvas->FloodFill(X, Y, Color, FillStyle);
  }
  void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color) {
    FCanvas->BrushCopy(Dest, Bitmap, Source, Color);
  }
  void CopyRect(const TRect& Dest, TCanvas* ACanvas, const TRect& Source) {
    FCanvas->CopyRect(Dest, ACanvas, Source);
  }
  void Draw(Integer X, Integer Y, TGraphic* Graphic) { FCanvas->Draw(X, Y, Graphic); }
  void Draw(Integer X, Integer Y, TGraphic* Graphic, Byte Opacity) {
    FCanvas->Draw(X, Y, Graphic, Opacity);
  }
  void StretchDraw(const TRect& Rect, TGraphic* Graphic) { FCanvas->StretchDraw(Rect, Graphic); }
  void TextOut(Integer X, Integer Y, const String& Text) { FCanvas->TextOut(X, Y, Text); }

  // Text.
  void DrawTexT(const String& Text, TRect R, Integer Flags, bool Enabled = true,
                TcxRotationAngle ARotationAngle = ra0);
  void DrawTexT(const String& Text, const TRect& R, TAlignment AAlignmentHorz,
                TcxAlignmentVert AAlignmentVert, bool AMultiLine, bool AShowEndEllipsis);
  TSize TextExtent(const String& Text);
  void TextExtent(const String& Text, TRect& R, Integer Flags);
  Integer TextWidth(const String& Text) { return TextExtent(Text).cx; }
  Integer TextHeight(const String& Text) { return TextExtent(Text).cy; }
  void AlignMultiLineTextRectVertically(TRect& R, const String& AText,
                                        TcxAlignmentVert AAlignmentVert, bool AWordBreak,
                                        bool AShowPrefix, bool AEnabled = true,
                                        bool ADontBreakChars = false, bool AEndEllipsis = false);
  void GetTextStringsBounds(String Text, TRect R, Integer Flags, bool Enabled, TRects& ABounds);
  Integer FontHeight(TFont* AFont);
  void SetFontAngle(Integer Value);

  // Gives ACanvas copies of the font, brush and pen selected into ADC.
  static void SynchronizeObjects(TCanvas* ACanvas, HDC ADC);

 protected:
  virtual TPoint GetDCOrigin() const;
  virtual bool GetUseRightToLeftAlignment() const;

 private:
  void FillRectByBrushOrBitmap(const TRect& R, TBitmap* ABitmap, bool AExcludeRect);

  std::vector<TcxDCState> FSavedDCs;
  std::vector<TcxRegion*> FSavedRegions;
  std::vector<TcxCanvasState> FSavedStates;
  TCanvas* FCanvas;
  TdxDefaultBoolean FUseRightToLeftAlignment = bDefault;
};

// A canvas over a control's platform canvas; during a paint its window
// origin is relative to the origin the paint began with.
class TcxControlCanvas : public TcxCanvas {
  DECLARE_CLASS(TcxControlCanvas, TcxCanvas)
 public:
  using TcxCanvas::TcxCanvas;
  void BeginPaint();
  void EndPaint();
  TPoint BrushOrigin() const { return FBrushOrigin; }
  void SetBrushOrigin(const TPoint& AValue) { FBrushOrigin = AValue; }
  TPoint Origin() const { return FOrigin; }
  void SetOrigin(const TPoint& AValue) { FOrigin = AValue; }
  TPoint GetWindowOrg() const override;
  void SetWindowOrg(const TPoint& P) override;

 protected:
  TPoint GetDCOrigin() const override;

 private:
  TPoint FBrushOrigin{0, 0};
  TPoint FOrigin{0, 0};
};

// A canvas over the desktop's device context, taken on first use and given
// back by Dormant.
class TcxScreenCanvas : public TcxCanvas {
  DECLARE_CLASS(TcxScreenCanvas, TcxCanvas)
 public:
  TcxScreenCanvas();
  ~TcxScreenCanvas() override;
  void Dormant();
};

// A canvas pointed at a device context or platform canvas for the length of
// a paint; paints nest.
class TcxPaintCanvas : public TcxCanvas {
  DECLARE_CLASS(TcxPaintCanvas, TcxCanvas)
 public:
  TcxPaintCanvas() : TcxCanvas(nullptr) {}
  ~TcxPaintCanvas() override;
  void BeginPaint(HDC ADC);
  void BeginPaint(TCanvas* ACanvas);
  void EndPaint();
  void SetCapacity(Integer AValue);
  Integer PaintDepth() const { return FCounter; }

 private:
  struct TState {
    TCanvas* PrevCanvas;
    Integer SaveDC;
    TCanvas* Created;
  };
  Integer FCounter = 0;
  std::vector<TState> FSavedStates;
};

// The shared canvases; nullptr once the module's shut-down has begun.
TcxScreenCanvas* cxScreenCanvas();
TcxPaintCanvas* cxPaintCanvas();

// ---------------------------------------------------------------------------
// Colours
bool cxColorIsValid(TColor AColor);
inline bool cxColorIsEqual(TColor AColor1, TColor AColor2) { return AColor1 == AColor2; }
void cxExchangeColors(TColor& AColor1, TColor& AColor2);
inline TColor cxGetActualColor(TColor AValue, TColor ADefaultValue) {
  return AValue == clDefault ? ADefaultValue : AValue;
}
// The nearest colour the screen can show.
TColor dxGetNearestColor(TColor AColor);
TColor dxInvertColor(TColor AColor);
TColor dxGetDarkerColor(TColor AColor, Byte APercent);
TColor dxGetLighterColor(TColor AColor, Byte APercent);
// Per channel APercent of AColor1 and the rest of AColor2, then the nearest
// colour the screen can show.
TColor dxGetMiddleRGB(TColor AColor1, TColor AColor2, Integer APercent);
// Lighter for a positive percentage, darker for a negative one, through HSV.
TColor dxGetColorTint(TColor AColor, Integer ATintPercent);
// A mix of the button-face, highlight and window colours by signed
// percentages, each channel clamped to 0..255; the highlight colour itself
// when the button face is black or white and the highlight is not black.
TColor GetLightColor(ShortInt ABtnFaceColorPart, ShortInt AHighlightColorPart,
                     ShortInt AWindowColorPart);
TColor GetLightSelColor();
TColor GetLightDownedSelColor();
// The button face is black.
bool IsHighContrastBlack();
// The button face is black and the button text is not white.
bool IsHighContrast2();

struct TdxHSV {
  Double H, S, V;
};
struct TdxHSL {
  Double H, S, L;
};
class TdxColorSpaceConverter {
 public:
  static TdxHSL ColorToHSL(TColor AColor);
  static void ColorToHSL(TColor AColor, Double& H, Double& S, Double& L);
  static TdxHSV ColorToHSV(TColor AColor);
  static TColor HSLToColor(const TdxHSL& AHSL) { return HSLToColor(AHSL.H, AHSL.S, AHSL.L); }
  static TColor HSLToColor(Double H, Double S, Double L);
  static TColor HSVToColor(const TdxHSV& AHSV) { return HSVToColor(AHSV.H, AHSV.S, AHSV.V); }
  static TColor HSVToColor(Double H, Double S, Double V);
};
inline void dxColorToHSV(TColor AColor, TdxHSV& AHSV) {
  AHSV = TdxColorSpaceConverter::ColorToHSV(AColor);
}
inline TColor dxHSVToColor(const TdxHSV& AHSV) { return TdxColorSpaceConverter::HSVToColor(AHSV); }

// ---------------------------------------------------------------------------
// Off-screen bitmaps
class TcxBitmap : public TBitmap {
  DECLARE_CLASS(TcxBitmap, TBitmap)
 public:
  // A pixel format of pfDevice takes the class's default format.
  explicit TcxBitmap(Integer AWidth = 0, Integer AHeight = 0,
                     TPixelFormat APixelFormat = TPixelFormat::pfDevice)
      : FInitWidth(AWidth), FInitHeight(AHeight), FInitFormat(APixelFormat) {}
  ~TcxBitmap() override;
  void AfterConstruction() override;
  // Creating through these runs Initialize, which reaches overrides.
  static TcxBitmap* CreateSize(Integer AWidth, Integer AHeight,
                               TPixelFormat APixelFormat = TPixelFormat::pf24bit);
  static TcxBitmap* CreateSize(const TRect& ARect,
                               TPixelFormat APixelFormat = TPixelFormat::pf24bit);

  TcxCanvas* cxCanvas();
  TRect ClientRect() const { return TRect{0, 0, Width(), Height()}; }
  bool CompressData() const { return FCompressData; }
  void SetCompressData(bool AValue) { FCompressData = AValue; }

  void BeginUpdate() { ++FLockCount; }
  void CancelUpdate() { --FLockCount; }
  void EndUpdate(bool AForceUpdate = true);
  bool ChangeLocked() const { return FLockCount > 0; }

  void SetSize(Integer AWidth, Integer AHeight) override;
  void SetSize(const TRect& ARect) { SetSize(cxRectWidth(ARect), cxRectHeight(ARect)); }
  void Dormant();
  void CopyBitmap(TBitmap* ASrcBitmap, DWORD ACopyMode = SRCCOPY);
  void CopyBitmap(TBitmap* ASrcBitmap, const TRect& ADestRect, const TPoint& ASrcTopLeft,
                  DWORD ACopyMode = SRCCOPY);
  void Flip(bool AFlipHorizontally, bool AFlipVertically);
  void Rotate(TcxRotationAngle ARotationAngle, bool AFlipVertically = false);

  // The form-resource data: the platform bitmap's length-plus-file blob, or
  // its compressed form when CompressData is set.
  void DefineProperties(TFiler* Filer) override;
  virtual void ReadData(TStream* Stream);
  virtual void WriteData(TStream* Stream);

 protected:
  virtual void Initialize(Integer AWidth, Integer AHeight, TPixelFormat APixelFormat);
  virtual void Update() {}
  void Changed(TObject* Sender) override;
  // Size a class creates when asked for a size only.
  virtual TPixelFormat DefaultPixelFormat() const { return TPixelFormat::pf24bit; }

 private:
  Integer FInitWidth, FInitHeight;
  TPixelFormat FInitFormat;
  bool FCompressData = false;
  TOwned<TcxCanvas> FcxCanvas;
  Integer FLockCount = 0;
  bool FModified = false;
};

class TcxBitmap32 : public TcxBitmap {
  DECLARE_CLASS(TcxBitmap32, TcxBitmap)
 public:
  using TcxBitmap::TcxBitmap;
  void AfterConstruction() override;
  static TcxBitmap32* CreateSize(Integer AWidth, Integer AHeight, bool AClear = false);
  static TcxBitmap32* CreateSize(const TRect& ARect, bool AClear = false);

  virtual void Clear();
  // All pixels, bottom row first.
  void GetBitmapColors(TRGBColors& AColors);
  void SetBitmapColors(const TRGBColors& AColors);
  void AlphaBlend(TBitmap* ADestBitmap, const TRect& ADestRect, bool ASmoothImage,
                  Byte AConstantAlpha = 255);
  void Darken(Byte APercent);
  void Lighten(Byte APercent);
  void Filter(TBitmap* AMaskBitmap);
  void Invert();
  void MakeOpaque() { SetAlphaChannel(255); }
  void SetAlphaChannel(Byte Alpha);
  void RecoverTransparency(TColor ATransparentColor);
  void Resize(Integer ANewWidth, Integer ANewHeight, bool AStretch, bool ASmooth,
              TColor AFillColor = clNone);
  bool IsAlphaUsed();
  void LoadFromStream(TStream* Stream) override;

 protected:
  void Update() override;
  TPixelFormat DefaultPixelFormat() const override { return TPixelFormat::pf32bit; }

 private:
  template <class F>
  void ForEachPixel(F&& AProc);
  TdxDefaultBoolean FIsAlphaUsed = bDefault;
};

// Colours kept as RGBQUAD values without alpha.
class TcxColorList : public TObject {
  DECLARE_CLASS(TcxColorList, TObject)
 public:
  Integer Add(TColor AColor);
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  DWORD Items(Integer AIndex) const { return FItems[static_cast<size_t>(AIndex)]; }
  bool Contains(DWORD AValue) const;
  void Clear() { FItems.clear(); }

 private:
  std::vector<DWORD> FItems;
};

// The payload of compressed bitmap data (method 2): block size, leading
// remainder, then runs of equal or literal blocks of the rest of ASource.
void cxCompressBitmapData(TStream* ASource, Integer ABlockSize, TStream* ADest);
// Decodes an ASize-byte payload of method 1 or 2; data that does not fit its
// size, block size 0 or another method raise EReadError naming the fault.
void cxDecompressBitmapData(TStream* ASource, Int64 ASize, Word AMethod, TStream* ADest);

// ---------------------------------------------------------------------------
// Alpha bitmaps and glyphs
#pragma pack(push, 1)
struct TcxHatchData {
  RGBQUAD Color1;
  Byte Alpha1;
  RGBQUAD Color2;
  Byte Alpha2;
  Byte Step;
};
#pragma pack(pop)

class TcxAlphaBitmap : public TcxBitmap32 {
  DECLARE_CLASS(TcxAlphaBitmap, TcxBitmap32)
 public:
  using TcxBitmap32::TcxBitmap32;
  ~TcxAlphaBitmap() override;
  static TcxAlphaBitmap* CreateSize(Integer AWidth, Integer AHeight,
                                    RGBQUAD ATransparentBkColor = RGBQUAD{0, 0, 0, 0});
  static TcxAlphaBitmap* CreateSize(const TRect& ARect,
                                    RGBQUAD ATransparentBkColor = RGBQUAD{0, 0, 0, 0});

  void Clear() override;
  void RefreshImage(Integer AWidth, Integer AHeight);
  void RefreshImage(const TRect& ARect) { RefreshImage(cxRectWidth(ARect), cxRectHeight(ARect)); }
  bool IsColorTransparent(const RGBQUAD& AColor) const;
  void TransformBitmap(TcxBitmapTransformationMode AMode);
  void DrawHatch(const TcxHatchData& AHatchData);
  void DrawHatch(TColor AColor1, TColor AColor2, Byte AStep, Byte AAlpha1, Byte AAlpha2);
  void RecoverAlphaChannel(TColor ATransparentColor);
  void ExtractLayer(TColor ATransparentColor);
  void DrawShadow(TcxAlphaBitmap* AMaskBitmap, Integer AShadowSize, TColor AShadowColor,
                  bool AInflateSize = false);
  void Shade(TcxAlphaBitmap* AMaskBitmap);

  RGBQUAD TransparentBkColor() const { return FTransparentBkColor; }
  void SetTransparentBkColor(RGBQUAD AValue) { FTransparentBkColor = AValue; }
  TcxColorList* TransparentPixels() const { return FTransparentPixels.get(); }
  TPoint CurrentColorIndex() const { return FCurrentColorIndex; }

 protected:
  void Initialize(Integer AWidth, Integer AHeight, TPixelFormat APixelFormat) override;

 private:
  RGBQUAD FTransparentBkColor{0, 0, 0, 0};
  TOwned<TcxColorList> FTransparentPixels;
  TPoint FCurrentColorIndex{0, 0};
  TcxHatchData FHatchData{};
};

constexpr DWORD ClrNone = 0xFFFFFFFF;
constexpr DWORD ClrTransparent = 0;

// The shared scratch bitmaps, re-sized and cleared on every request: a
// result is valid only until the next request of the same kind.
TcxAlphaBitmap* GetDrawBitmap(Integer AWidth, Integer AHeight);
TcxAlphaBitmap* GetImageBitmap(Integer AWidth, Integer AHeight);
TcxAlphaBitmap* GetMaskBitmap(Integer AWidth, Integer AHeight);

bool IsGlyphAssigned(TGraphic* AGlyph);
inline bool IsImageAssigned(TGraphic* AImage) { return IsGlyphAssigned(AImage); }
bool IsImageAssigned(TCustomImageList* AImageList, Integer AImageIndex);
bool IsImageAssigned(TGraphic* AGlyph, TCustomImageList* AImageList, Integer AImageIndex);
Integer dxGetImageSourceDPI(TObject* AImage);
TSize dxGetImageSize(TGraphic* AImage, TCustomImageList* AImageList, Integer AImageIndex,
                     const TdxScaleFactor* AScaleFactor);
TSize dxGetImageSize(TGraphic* AImage, const TdxScaleFactor* AScaleFactor);
TSize dxGetImageSize(TCustomImageList* AImageList, const TdxScaleFactor* AScaleFactor);
void cxSetImageList(TCustomImageList* AValue, TCustomImageList*& AFieldValue,
                    TChangeLink* AChangeLink, TComponent* ANotifyComponent);
TRect cxGetImageRect(const TRect& ADrawRect, const TSize& AImageSize, TcxImageFitMode AFitMode);
TRect cxGetImageRect(const TRect& ADrawRect, const TSize& AImageSize, TcxImageFitMode AFitMode,
                     bool ACentre, Integer AScale);
// The image bitmap (a shared scratch bitmap) and its mask (nullptr when the
// image carries its own alpha).
// APalette (may be nil) recolours vector and smart images.
TcxAlphaBitmap* cxPrepareBitmapForDrawing(TGraphic* AGlyph, TCustomImageList* AImages,
                                          Integer AImageIndex,
                                          bool AUseLeftBottomPixelAsTransparent,
                                          TColor ATransparentColor, IdxColorPalette* APalette,
                                          Integer AGlyphWidth, Integer AGlyphHeight,
                                          bool ASmoothResize, TcxAlphaBitmap*& AMaskBitmap,
                                          bool& AIsAlphaUsed);
void cxDrawImage(HDC ADC, const TRect& AGlyphRect, const TRect& ABackgroundRect, TGraphic* AGlyph,
                 TCustomImageList* AImages, Integer AImageIndex, TcxImageDrawMode ADrawMode,
                 bool ASmoothImage = false, HBRUSH ABrush = nullptr,
                 TColor ATransparentColor = clNone, bool AUseLeftBottomPixelAsTransparent = true,
                 IdxColorPalette* APalette = nullptr);
// An entry of a library image list goes through the image-list paint cache.
void cxDrawImage(TcxCanvas* ACanvas, const TRect& ARect, TGraphic* AGlyph,
                 TCustomImageList* AImages, Integer AImageIndex, TcxImageFitMode AFitMode,
                 TcxImageDrawMode ADrawMode = idmNormal,
                 bool AUseLeftBottomPixelAsTransparent = true, IdxColorPalette* APalette = nullptr,
                 const TdxScaleFactor* AScaleFactor = nullptr, bool ASmoothImage = false);
void cxDrawImage(TcxCanvas* ACanvas, const TRect& ARect, TGraphic* AImage, TcxImageFitMode AFitMode,
                 IdxColorPalette* APalette = nullptr, const TdxScaleFactor* AScaleFactor = nullptr,
                 bool ASmoothResize = false);

// Replaces the drawing of a glyph when it returns true.
using TcxCustomDrawImageProc = bool (*)(TcxCanvas* ACanvas, TCustomImageList* AImages,
                                        Integer AImageIndex, TGraphic* AGlyph, const TRect& ARect,
                                        TcxImageDrawMode ADrawMode);
extern TcxCustomDrawImageProc CustomDrawImageProc;

// ---------------------------------------------------------------------------
// Gradients, blending and raster helpers

// What the raster routines choose their roads by, filled at start-up from the
// platform flags and msimg32, and replaceable for tests.
using TcxAlphaBlendProc = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                        BLENDFUNCTION);
using TcxGradientFillProc = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);
struct TcxGraphicsPlatform {
  bool IsWin64Bit = false;
  bool IsWin9X = false;
  bool IsWinNT = true;
  TcxAlphaBlendProc AlphaBlend = nullptr;
  TcxGradientFillProc GradientFill = nullptr;
};
TcxGraphicsPlatform& cxGraphicsPlatform();

// Nothing for the "none" colour.
void FillRectByColor(HDC DC, const TRect& R, TColor AColor);
void FrameRectByColor(HDC DC, const TRect& R, TColor AColor);
void FillGradientRect(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2, bool AHorizontal);
// From AColor1 to a middle shade (AGradientPercent / 2 % of the way to
// AColor2) at the centre line, and from there to AColor2, one band per pixel
// line; left to right when AHorizontal, else top to bottom.
void FillTubeGradientRect(HDC DC, const TRect& ARect, TColor AColor1, TColor AColor2,
                          Integer AGradientPercent, bool AHorizontal);
void cxExcludeClipRect(HDC DC, const TRect& R);
void cxBitBlt(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TPoint& ASrcTopLeft,
              DWORD ROP);
void cxStretchBlt(HDC ADestDC, HDC ASrcDC, const TRect& ADestRect, const TRect& ASrcRect,
                  DWORD ROP);
void cxDrawBitmap(HDC ADestDC, TBitmap* ASrcBitmap, const TRect& ADestRect, const TPoint& ASrcPoint,
                  DWORD AMode = SRCCOPY);
void cxAlphaBlend(TBitmap* ADestBitmap, TBitmap* ASrcBitmap, const TRect& ADestRect,
                  const TRect& ASrcRect, bool ASmoothImage = false, Byte AConstantAlpha = 255);
void cxAlphaBlend(HDC ADestDC, TBitmap* ASrcBitmap, const TRect& ADestRect, const TRect& ASrcRect,
                  bool ASmoothImage = false, Byte AConstantAlpha = 255);
bool CanApplySystemAlphaBlending();
// Source-over of one premultiplied pixel onto another.
void cxBlendFunction(const RGBQUAD& ASource, RGBQUAD& ADest, Byte ASourceConstantAlpha);
TBitmap* cxCreateBitmap(Integer AWidth, Integer AHeight,
                        TPixelFormat AFormat = TPixelFormat::pf24bit);
inline TBitmap* cxCreateBitmap(const TSize& ASize, TPixelFormat AFormat = TPixelFormat::pf24bit) {
  return cxCreateBitmap(ASize.cx, ASize.cy, AFormat);
}
void cxClearBitmap(TBitmap* ABitmap);
// nullptr when every pixel has the transparent colour; the caller owns it.
HRGN cxCreateRegionFromBitmap(TBitmap* ABitmap, TColor ATransparentColor);
HRGN cxCreateRegionFromBitmap(const RGBQUAD* APixels, Integer AWidth, Integer AHeight,
                              TColor ATransparentColor);
HBITMAP cxCopyImage(HBITMAP ASrcHandle);
TSize cxGetCursorSize();
bool cxGetBitmapData(HBITMAP ABitmapHandle, BITMAP& ABitmapData);
bool cxGetBrushData(HBRUSH ABrushHandle, LOGBRUSH& ALogBrush);
bool cxGetFontData(HFONT AFontHandle, LOGFONTW& ALogFont);
bool cxGetPenData(HPEN APenHandle, LOGPEN& ALogPen);
TPoint cxGetPixelsPerInch();
Integer cxGetCurrentDPI();
// The shared one-pixel checkerboard brush.
HBRUSH cxHalfToneBrush();

// ---------------------------------------------------------------------------
// Resampling
void cxSmoothResizeBitmap(TBitmap* ASource, TBitmap* ADestination,
                          bool AForceUseLanczos3Filter = false);
Single Lanczos3Filter(Single Value);
struct TcxContributor {
  Integer Pixel;
  Integer Weight;
};
using TcxContributorList = std::vector<std::vector<TcxContributor>>;
void BuildFilter(TcxContributorList& AContributorList, Single AScale, Integer ASrcSize,
                 Integer ADestSize);
// ASourceRect of any graphic into ADestRect of the cleared destination;
// APalette (may be nil) recolours smart images.
void cxStretchGraphic(TBitmap* ADestination, TGraphic* ASource, const TRect& ADestRect,
                      const TRect& ASourceRect, bool ASmoothStretch,
                      IdxColorPalette* APalette = nullptr);
void cxStretchGraphic(TBitmap* ADestination, TGraphic* ASource, bool ASmoothStretch,
                      IdxColorPalette* APalette = nullptr);
TRect cxGetImageClientRect(TGraphic* AImage);
// A new bitmap holding the graphic, owned by the caller; nullptr for nullptr.
TBitmap* cxGetAsBitmap(TGraphic* AGraphic);

// ---------------------------------------------------------------------------
// Text routines over the platform's
Integer cxDrawText(HDC ADC, const String& AText, TRect& ARect, UINT AFormat,
                   Integer ACharCount = -1, TColor ATextColor = clDefault,
                   Integer ABkMode = TRANSPARENT);
Integer cxDrawText(TCanvas* ACanvas, const String& AText, TRect& ARect, UINT AFormat,
                   TColor ATextColor = clDefault);
Integer cxDrawText(TcxCanvas* ACanvas, const String& AText, TRect ARect, UINT AFormat,
                   TColor ATextColor, TcxRotationAngle ARotationAngle);
bool cxExtTextOut(HDC ADC, const String& AText, const TPoint& APoint, const TRect& ARect,
                  UINT AOptions, Integer ACharCount = -1);
bool cxGetTextExtentPoint32(HDC ADC, const String& AText, TSize& ASize, Integer ACharCount = -1);
Integer cxTextHeight(HDC ADC);
Integer cxTextHeight(TFont* AFont);
TSize cxTextExtent(TFont* AFont, const String& S, Integer AFontSize = 0);
Integer cxTextWidth(TFont* AFont, const String& S, Integer AFontSize = 0);
void cxGetTextRect(TRect& ARect, const String& AText, TFont* AFont, UINT ADTFlags);
TSize cxTextSize(TFont* AFont, const String& AText, UINT AFlags = 0);
void cxResetFont(TFont* AFont);
void dxSetFontAsNonAntialiased(TFont* AFont);
// Rotated texts are drawn antialiased unless this is switched off.
extern bool dxUseAntialiasingForRotatedText;

// ---------------------------------------------------------------------------
// Window painting
using TcxDrawProc = std::function<void()>;
void cxPaintControlTo(TWinControl* ADrawingControl, TcxCanvas* ACanvas,
                      const TPoint& ADestinatioPoint, const TRect& ADrawingRect,
                      bool ADrawParentWithChildren, bool ADrawNC);
void cxPrintWindow(HWND AWindow, HDC ADC, bool ADrawNC, bool ADoubleBuffered);
void cxPrintWindow(TWinControl* AControl, TCanvas* ACanvas, bool ADrawNC);
void cxDrawTransparentControlBackground(TWinControl* AControl, TcxCanvas* ACanvas,
                                        const TRect& ASourceRect, const TPoint& ADestinationPoint,
                                        bool APaintParentWithChildren = true);
void cxDrawTransparentControlBackground(TWinControl* AControl, TcxCanvas* ACanvas,
                                        const TRect& ARect, bool APaintParentWithChildren = true);
void cxDrawThemeParentBackground(TWinControl* AControl, TcxCanvas* ACanvas, const TRect& ARect);
void cxRightToLeftDependentDraw(TcxCanvas* ACanvas, const TRect& R, const TcxDrawProc& AProc);
void cxRightToLeftDependentDraw(HDC DC, const TRect& R, bool AIsRightToLeftLayout,
                                const TcxDrawProc& AProc);
void GetChildWindows(HWND AParent, std::vector<HWND>& AChildWindows);
// Windows that the transparent-background painter does not paint as children.
std::vector<HWND>& PaintSkipList();

// ---------------------------------------------------------------------------
// Animated images and the image-list paint cache

// Plays animated smart images on a library timer armed with the image's
// frame delay; the module's start-up installs it as the images' controller
// class and its shut-down puts the base class back.
class TdxImageAnimationController : public TdxSmartImageAnimationController {
  DECLARE_CLASS(TdxImageAnimationController, TdxSmartImageAnimationController)
 public:
  using TdxSmartImageAnimationController::TdxSmartImageAnimationController;
  ~TdxImageAnimationController() override;
  // Arms a timer when none exists; a second call keeps the one there is.
  void ActivateTimer() override;
  void DeactivateTimer() override;
  bool IsTimerActive() override;

 private:
  TOwned<TcxTimer> FTimer;
};

class TdxGPImage;
class TdxGPCanvas;

// The drawn images of one image list, per drawn size: at most MaxSizeCount
// sizes, the oldest first out. Freed with its list.
class TImageListCacheHelper : public TComponent {
  DECLARE_CLASS(TImageListCacheHelper, TComponent)
 public:
  // AMaxSizeCount 0: twice the number of monitors.
  TImageListCacheHelper(TCustomImageList* AImages, Integer AMaxSizeCount);
  ~TImageListCacheHelper() override;
  void AfterConstruction() override;

  // The entry drawn at ABounds' size, made once and drawn stretched into
  // ABounds with full opacity.
  void Draw(TcxCanvas* ACanvas, const TRect& ABounds, Integer AIndex, TcxImageDrawMode ADrawMode,
            bool AUseLeftBottomPixelAsTransparent, IdxColorPalette* APalette, bool ASmoothImage);
  void Draw(TdxGPCanvas* AGraphic, const TRect& ABounds, Integer AIndex, TcxImageDrawMode ADrawMode,
            bool AUseLeftBottomPixelAsTransparent, IdxColorPalette* APalette);
  // Forgets every image.
  void Invalidate();

  TCustomImageList* ImageList() const { return FImageList; }
  Integer MaxSizeCount() const { return FMaxSizeCount; }
  // The sizes kept, oldest first, and how many images one of them holds.
  std::vector<TSize> CachedSizes() const;
  Integer CachedImageCount(const TSize& ASize) const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  struct TState;
  TdxGPImage* GetImage(const TRect& ABounds, Integer AIndex, TcxImageDrawMode ADrawMode,
                       bool AUseLeftBottomPixelAsTransparent, IdxColorPalette* APalette,
                       bool ASmoothImage);
  void ImagesChanged(TObject* Sender);

  TCustomImageList* FImageList;
  Integer FMaxSizeCount;
  std::unique_ptr<TState> FState;
  TOwned<TChangeLink> FImagesChangeLink;
};

// Draws image-list entries through ready images of each list and size, so
// that entries drawn again need no composing.
class TdxImageListPaintCache {
 public:
  TdxImageListPaintCache() = delete;
  static void Draw(TcxCanvas* ACanvas, const TRect& ABounds, TCustomImageList* AImages,
                   Integer AIndex, TcxImageDrawMode ADrawMode,
                   bool AUseLeftBottomPixelAsTransparent, IdxColorPalette* APalette,
                   bool ASmoothImage);
  // Empties the cache of AImages when it has one.
  static void InvalidateImageList(TCustomImageList* AImages);
  // The helper of AImages, nullptr when it has none.
  static TImageListCacheHelper* FindHelper(TCustomImageList* AImages);

 private:
  friend class TImageListCacheHelper;
  static void RemoveHelper(TImageListCacheHelper* AHelper);
  static TcxAlphaBitmap* TransferBitmap();
};

// Module start-up and shut-down; the start-up also fills the foundation's
// table of graphics routines.
void cxGraphics_Initialize();
void cxGraphics_Finalize();
