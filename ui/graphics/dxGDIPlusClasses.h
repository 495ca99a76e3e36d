// GDI+ under the library: native objects wrapped in small classes (matrix,
// brushes, pens, paths, regions, string formats, fonts), the shared drawing
// routines, the GDI+ image codecs, the GDI+ image handle and the smart image
// classes built on it, the glyph, the GDI+ canvas and its buffered paint
// form.
#pragma once

#include <functional>

#include "SyncObjs.h"
#include "dxDPIAwareUtils.h"
#include "dxGDIPlusAPI.h"
#include "dxSmartImage.h"

class TdxGPCanvas;
class TdxGPImage;
class TdxGPImageHandle;
class TdxGPImageAttributes;
class TdxGPAlphaBlendAttributes;

// ===========================================================================
// Matrix, brushes and pens
// ===========================================================================

// A native object made on first need from stored settings; a setting
// applies to a live handle at once; one listener hears every change.
class TdxGPCustomGraphicObject : public TdxGpBase {
  DECLARE_CLASS(TdxGPCustomGraphicObject, TdxGpBase)
 public:
  void BeforeDestruction() override;
  virtual void Assign(TdxGPCustomGraphicObject* ASource) {}
  void* Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  virtual void HandleNeeded();
  void FreeHandle();
  TNotifyEvent OnChange;

 protected:
  virtual void Changed();
  virtual void DoCreateHandle(void*& AHandle) = 0;
  virtual void DoFreeHandle(void* AHandle) = 0;
  virtual void DoHandleCreated() {}
  void* FHandle = nullptr;
  Integer FChangeLockCount = 0;
};

class TdxGPMatrix : public TdxGPCustomGraphicObject {
  DECLARE_CLASS(TdxGPMatrix, TdxGPCustomGraphicObject)
 public:
  TdxGPMatrix() = default;
  static TdxGPMatrix* CreateEx(Single M11, Single M12, Single M21, Single M22, Single DX,
                               Single DY);
  static TdxGPMatrix* CreateEx(const XFORM& AXForm);
  // A mirror about x = APivotPointX and/or y = APivotPointY.
  static TdxGPMatrix* CreateFlip(bool AFlipHorizontally, bool AFlipVertically, Single APivotPointX,
                                 Single APivotPointY);
  static TdxGPMatrix* CreateFlip(bool AFlipHorizontally, bool AFlipVertically,
                                 const TdxPointF& APivotPoint);
  // nullptr for nullptr.
  static TdxGPMatrix* Clone(TdxGPMatrix* AMatrix);
  TdxGPMatrix* Clone() { return Clone(this); }
  void Assign(TdxGPCustomGraphicObject* ASource) override;
  GpMatrix* NativeHandle() { return static_cast<GpMatrix*>(Handle()); }

  void GetElements(Single& M11, Single& M12, Single& M21, Single& M22, Single& DX, Single& DY);
  void SetElements(Single M11, Single M12, Single M21, Single M22, Single DX, Single DY);
  void Reset() { SetElements(1, 0, 0, 1, 0, 0); }
  void Invert();
  void Multiply(TdxGPMatrix* AMatrix, MatrixOrder AMatrixOrder = MatrixOrderPrepend);
  // Angles in degrees.
  void Rotate(Single AAngle, MatrixOrder AMatrixOrder = MatrixOrderPrepend);
  void Rotate(Single AAngle, const TdxPointF& APivotPoint,
              MatrixOrder AMatrixOrder = MatrixOrderPrepend);
  void Scale(Single AScaleX, Single AScaleY, MatrixOrder AMatrixOrder = MatrixOrderPrepend);
  void Scale(const TdxPointF& AScale, MatrixOrder AMatrixOrder = MatrixOrderPrepend);
  // Replaces the transform by a scaling about ACenter.
  void Scale(const TdxPointF& AScale, const TdxPointF& ACenter);
  void Shear(Single AShearX, Single AShearY, MatrixOrder AMatrixOrder = MatrixOrderPrepend);
  void Shear(const TdxPointF& AShear, MatrixOrder AMatrixOrder = MatrixOrderPrepend);
  void Translate(Single AOffsetX, Single AOffsetY, MatrixOrder AMatrixOrder = MatrixOrderPrepend);
  void Translate(const TdxPointF& AOffset, MatrixOrder AMatrixOrder = MatrixOrderPrepend);
  void Flip(bool AFlipHorizontally, bool AFlipVertically, const TdxPointF& APivotPoint);

  // Computed here from the elements; integer forms round halves to even.
  TdxPointF TransformPoint(const TdxPointF& P);
  TPoint TransformPoint(const TPoint& P);
  void TransformPoints(std::vector<TPoint>& APoints);
  void TransformPoints(std::vector<TdxPointF>& APoints);
  void TransformPointsI(TPoint* APoints, Integer ACount);
  // The two corners only (the result may be unnormalised).
  TdxRectF TransformRect(const TdxRectF& R);
  TRect TransformRect(const TRect& R);
  TdxRectF GetBoundingRectangle(const TdxRectF& R);

  bool IsIdentity();
  bool IsInvertible();
  Single OffsetX();
  Single OffsetY();

 protected:
  void DoCreateHandle(void*& AHandle) override;
  void DoFreeHandle(void* AHandle) override;
};

// Colour stops of a gradient, kept in ascending order of offset.
class TdxGPBrushGradientPoints : public TdxGpBase {
  DECLARE_CLASS(TdxGPBrushGradientPoints, TdxGpBase)
 public:
  TdxGPBrushGradientPoints();
  // The index the stop was put at, before sorting.
  Integer Add(TdxAlphaColor AColor, Single AOffset);
  void Assign(TdxGPBrushGradientPoints* Source);
  void Clear() { SetCapacity(0); }
  void Delete(Integer Index);
  // Reverses the stops; each offset o becomes 1 - o.
  void InvertOrder();
  TdxAlphaColor GetColor(Integer Index) const;
  void SetColor(Integer Index, TdxAlphaColor AValue);
  Single GetOffset(Integer Index) const;
  void SetOffset(Integer Index, Single AValue);
  Integer Capacity() const { return FCapacity; }
  void SetCapacity(Integer AValue);
  Integer Count() const { return FCount; }
  // The stops as GDI+ gets them: from 0 to 1, the uncovered ends fading to
  // transparent black.
  void CalculateParams(TdxAlphaColor*& AColors, Single*& AOffsets, Integer& ACount);
  TNotifyEvent OnChange;

 private:
  void Changed();
  void Grow();
  void CheckIndex(Integer Index) const;
  Integer FCapacity = 0;
  Integer FCount = 0;
  std::vector<TdxAlphaColor> FColors;
  std::vector<Single> FOffsets;
};

enum TdxGPBrushGradientMode {
  gpbgmHorizontal,
  gpbgmVertical,
  gpbgmForwardDiagonal,
  gpbgmBackwardDiagonal
};
enum TdxGPBrushStyle { gpbsSolid, gpbsGradient, gpbsTexture, gpbsClear };

class TdxGPCustomBrush : public TdxGPCustomGraphicObject {
  DECLARE_CLASS(TdxGPCustomBrush, TdxGPCustomGraphicObject)
 public:
  void Assign(TdxGPCustomGraphicObject* ASource) override;
  // Stored one unit larger on every side; no change notification.
  void SetTargetRect(const TdxGpRectF& R);
  void SetTargetRect(const TRect& R);
  void SetTargetRect(const TdxRectF& R);
  void SetTargetRect(const TdxGpRect& R);
  const TdxGpRectF& TargetRect() const { return FTargetRect; }
  GpBrush* NativeHandle() { return static_cast<GpBrush*>(Handle()); }

 protected:
  void DoFreeHandle(void* AHandle) override;
  virtual void DoTargetRectChanged();
  virtual bool NeedRecreateHandleOnTargetRectChange() { return false; }
  TdxGpRectF FTargetRect;
};

class TdxGPBrush : public TdxGPCustomBrush {
  DECLARE_CLASS(TdxGPBrush, TdxGPCustomBrush)
 public:
  TdxGPBrush();
  ~TdxGPBrush() override;
  void Assign(TdxGPCustomGraphicObject* ASource) override;
  TdxAlphaColor Color() const { return FColor; }
  void SetColor(TdxAlphaColor AValue);
  TdxGPBrushGradientMode GradientMode() const { return FGradientMode; }
  void SetGradientMode(TdxGPBrushGradientMode AValue);
  TdxGPBrushGradientPoints* GradientPoints() const { return FGradientPoints.get(); }
  void SetGradientPoints(TdxGPBrushGradientPoints* AValue) { FGradientPoints->Assign(AValue); }
  TdxGPBrushStyle Style() const { return FStyle; }
  void SetStyle(TdxGPBrushStyle AValue);
  TdxGPImage* Texture() const { return FTexture.get(); }
  void SetTexture(TdxGPImage* AValue);
  TdxGPMatrix* TextureTransform() const { return FTextureTransform.get(); }
  void SetTextureTransform(TdxGPMatrix* AValue);
  bool IsEmpty() { return GetIsEmpty(); }
  // Called each time a native brush has been made.
  TNotifyEvent OnHandleCreated;

  virtual void CreateEmptyBrushHandle(void*& AHandle);
  virtual void CreateGradientBrushHandle(void*& AHandle);
  virtual void CreateTextureBrushHandle(void*& AHandle);
  virtual bool GetIsEmpty();

 protected:
  void DoCreateHandle(void*& AHandle) override;
  void DoHandleCreated() override;
  void DoTargetRectChanged() override;
  bool NeedRecreateHandleOnTargetRectChange() override { return FStyle == gpbsGradient; }

 private:
  void GradientPointsChanged(TObject* Sender);
  void TextureChanged(TObject* Sender);
  void ApplyTextureTransform();
  TdxAlphaColor FColor = dxacNone;
  TdxGPBrushGradientMode FGradientMode = gpbgmHorizontal;
  TOwned<TdxGPBrushGradientPoints> FGradientPoints;
  TdxGPBrushStyle FStyle = gpbsSolid;
  TOwned<TdxGPImage> FTexture;
  TOwned<TdxGPMatrix> FTextureTransform;
};

enum TdxGPPenStyle { gppsSolid, gppsDash, gppsDot, gppsDashDot, gppsDashDotDot };
enum TdxGPPenDashCapStyle { gpdcFlat, gpdcRound, gpdcTriangle };
enum TdxGPPenLineCapStyle { gpcsFlat, gpcsSquare, gpcsRound };

class TdxGPPen : public TdxGPCustomGraphicObject {
  DECLARE_CLASS(TdxGPPen, TdxGPCustomGraphicObject)
 public:
  explicit TdxGPPen(TdxAlphaColor AColor = dxacNone, Single AWidth = 1,
                    TdxGPPenStyle APenStyle = gppsSolid);
  ~TdxGPPen() override;
  void AfterConstruction() override;
  void Assign(TdxGPCustomGraphicObject* ASource) override;
  void HandleNeeded() override;
  GpPen* NativeHandle() { return static_cast<GpPen*>(Handle()); }

  TdxGPBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TdxGPBrush* AValue) { FBrush->Assign(AValue); }
  TdxGPPenStyle Style() const { return FStyle; }
  void SetStyle(TdxGPPenStyle AValue);
  Single Width() const { return FWidth; }
  void SetWidth(Single AValue);
  TdxGPPenDashCapStyle DashCapStyle() const { return FDashCapStyle; }
  void SetDashCapStyle(TdxGPPenDashCapStyle AValue);
  TdxGPPenLineCapStyle LineStartCapStyle() const { return FLineStartCapStyle; }
  void SetLineStartCapStyle(TdxGPPenLineCapStyle AValue);
  TdxGPPenLineCapStyle LineEndCapStyle() const { return FLineEndCapStyle; }
  void SetLineEndCapStyle(TdxGPPenLineCapStyle AValue);
  TdxGpLineJoin LineJoin() const { return FLineJoin; }
  void SetLineJoin(TdxGpLineJoin AValue);
  Single MiterLimit() const { return FMiterLimit; }
  void SetMiterLimit(Single AValue);
  // Lengths in multiples of the width; the pen then reads gppsDashDotDot.
  void SetDashArray(const std::vector<Single>& AValue);
  void SetTargetRect(const TdxGpRect& R) { FBrush->SetTargetRect(R); }
  void SetTargetRect(const TRect& R) { FBrush->SetTargetRect(R); }
  void SetTargetRect(const TdxRectF& R) { FBrush->SetTargetRect(R); }
  bool IsEmpty() { return GetIsEmpty(); }

  virtual TdxGPBrush* CreateBrush();
  virtual bool GetIsEmpty();

 protected:
  void DoCreateHandle(void*& AHandle) override;
  void DoFreeHandle(void* AHandle) override;

 private:
  void BrushChanged(TObject* Sender);
  TdxAlphaColor FInitialColor;
  TdxGPPenStyle FInitialStyle;
  TOwned<TdxGPBrush> FBrush;
  Single FWidth;
  TdxGPPenStyle FStyle = gppsSolid;
  TdxGPPenDashCapStyle FDashCapStyle = gpdcFlat;
  TdxGPPenLineCapStyle FLineStartCapStyle = gpcsFlat;
  TdxGPPenLineCapStyle FLineEndCapStyle = gpcsFlat;
  TdxGpLineJoin FLineJoin = LineJoinMiter;
  Single FMiterLimit = 10.0f;
};

// ===========================================================================
// Paths, regions, string formats, fonts
// ===========================================================================

enum TdxGPFillMode { gpfmAlternate, gpfmWinding };

class TdxGPPath : public TdxGpBase {
  DECLARE_CLASS(TdxGPPath, TdxGpBase)
 public:
  explicit TdxGPPath(TdxGPFillMode AFillMode = gpfmAlternate);
  TdxGPPath(const TdxGpPointFDynArray& APoints, const std::vector<Byte>& APointTypes);
  ~TdxGPPath() override;
  GpPath* Handle() const { return FHandle; }
  TdxGPFillMode FillMode();
  void SetFillMode(TdxGPFillMode AValue);

  void FigureStart();
  void FigureFinish();
  void Reset();

  void AddArc(Single X, Single Y, Single Width, Single Height, Single StartAngle,
              Single SweepAngle);
  void AddBezier(const TdxPointF& P1, const TdxPointF& P2, const TdxPointF& P3,
                 const TdxPointF& P4);
  void AddEllipse(const TRect& R);
  void AddEllipse(const TdxRectF& R);
  void AddLine(Single X1, Single Y1, Single X2, Single Y2);
  // Appended connected: its first figure joins this path's last one.
  void AddPath(TdxGPPath* Path);
  void AddPie(Single X, Single Y, Single Width, Single Height, Single StartAngle,
              Single SweepAngle);
  void AddPolygon(const std::vector<TPoint>& APoints);
  void AddPolygon(const std::vector<TdxPointF>& APoints);
  void AddPolyline(const std::vector<TPoint>& APoints);
  void AddPolyline(const std::vector<TdxPointF>& APoints);
  void AddRect(const TRect& R);
  void AddRect(const TdxRectF& R);
  // Radii at most a third of the side; a closed figure on every path.
  void AddRoundRect(const TRect& R, Integer ARadiusX, Integer ARadiusY);
  void AddRoundRect(const TdxRectF& R, Single ARadiusX, Single ARadiusY);
  void AddString(const String& AText, class TdxGPFont* AFont, const TdxRectF& ARect,
                 class TdxGPStringFormat* AFormat = nullptr);
  void AddString(const String& AText, TFont* AFont, const TRect& ARect, Single AEmSize);

  TRect GetBounds(TdxGPPen* APen = nullptr);
  TdxRectF GetBoundsF(TdxGPPen* APen = nullptr);
  Integer GetPointCount();
  bool IsPointInPath(const TPoint& P, TdxGPCanvas* ACanvas = nullptr);
  bool IsPointInPath(const TdxPointF& P, TdxGPCanvas* ACanvas = nullptr);
  bool IsPointInPathOutline(const TPoint& P, TdxGPPen* APen, TdxGPCanvas* ACanvas = nullptr);
  bool IsPointInPathOutline(const TdxPointF& P, TdxGPPen* APen, TdxGPCanvas* ACanvas = nullptr);
  // False for a width of 0 or less, without asking GDI+.
  bool IsPointInPathOutline(const TPoint& P, Integer APenWidth, TdxGPCanvas* ACanvas = nullptr);
  void Flatten(GpMatrix* AMatrix = nullptr, Single AFlatness = 0.25f);
  void Transform(TdxGPMatrix* AMatrix);

 private:
  GpPath* FHandle = nullptr;
};

class TdxGPRegion : public TdxGpBase {
  DECLARE_CLASS(TdxGPRegion, TdxGpBase)
 public:
  // The infinite region.
  TdxGPRegion();
  explicit TdxGPRegion(GpPath* APath);
  explicit TdxGPRegion(const TRect& ARect);
  explicit TdxGPRegion(const TdxRectF& ARect);
  // A copy of a native region.
  static TdxGPRegion* CreateFromRegion(GpRegion* ARegion);
  ~TdxGPRegion() override;
  GpRegion* Handle() const { return FHandle; }
  void SetHandle(GpRegion* AValue) { FHandle = AValue; }
  void CombineRegionRect(const TRect& ARect, CombineMode AMode);
  void CombineRegionRect(const TdxRectF& ARect, CombineMode AMode);
  void CombineRegionRegion(TdxGPRegion* ARegion, CombineMode AMode);

  // Adopts a native region.
  struct TAdopt {};
  TdxGPRegion(GpRegion* ARegion, TAdopt) : FHandle(ARegion) {}

 private:
  GpRegion* FHandle = nullptr;
};

class TdxGPStringFormat : public TdxGpBase {
  DECLARE_CLASS(TdxGPStringFormat, TdxGpBase)
 public:
  explicit TdxGPStringFormat(Integer AFormatAttributes = 0, Word ALanguage = LANG_NEUTRAL);
  // A copy of AFormat (nullptr raises InvalidParameter).
  explicit TdxGPStringFormat(TdxGPStringFormat* AFormat);
  ~TdxGPStringFormat() override;
  TdxGPStringFormat* Clone();
  void Assign(TdxGPStringFormat* ASource);
  GpStringFormat* Handle() const { return FHandle; }

  TdxGpStringAlignment Alignment();
  void SetAlignment(TdxGpStringAlignment AValue);
  TdxGpStringAlignment LineAlignment();
  void SetLineAlignment(TdxGpStringAlignment AValue);
  Integer FormatFlags();
  void SetFormatFlags(Integer AValue);
  TdxGPHotkeyPrefix HotkeyPrefix();
  void SetHotkeyPrefix(TdxGPHotkeyPrefix AValue);
  TdxGpStringTrimming Trimming();
  void SetTrimming(TdxGpStringTrimming AValue);
  Word DigitSubstitutionLanguage();
  TdxGpStringDigitSubstitute DigitSubstitutionMethod();
  void SetDigitSubstitution(Word ALanguage, TdxGpStringDigitSubstitute ASubstitute);
  Integer MeasurableCharacterRangeCount();
  void SetTabStops(Single AFirstTabOffset, Integer ACount, const Single* ATabStops);
  Integer GetTabStopCount();
  std::vector<Single> GetTabStops(Integer ACount, Single& AFirstTabOffset);
  void SetMeasurableCharacterRanges(Integer ACount, const TdxGpCharacterRange* ARanges);

  // Shared formats, made on first use and freed by Finalize.
  static TdxGPStringFormat* GenericTypographic();
  static TdxGPStringFormat* GenericDefault();
  static void Finalize();

  // Adopts a native format.
  struct TAdopt {};
  TdxGPStringFormat(GpStringFormat* AHandle, TAdopt) : FHandle(AHandle) {}

 private:
  GpStringFormat* FHandle = nullptr;
};

class TdxGPFontFamily : public TdxGpBase {
  DECLARE_CLASS(TdxGPFontFamily, TdxGpBase)
 public:
  // A family that does not exist leaves the handle nil, without an error.
  explicit TdxGPFontFamily(const String& AName);
  // A copy of a native family.
  explicit TdxGPFontFamily(GpFontFamily* AHandle);
  ~TdxGPFontFamily() override;
  TdxGPFontFamily* Clone();
  GpFontFamily* Handle() const { return FHandle; }
  Word GetCellAscent(Integer AStyle);
  Word GetCellDescent(Integer AStyle);
  Word GetEmHeight(Integer AStyle);
  Word GetLineSpacing(Integer AStyle);
  bool IsStyleAvailable(Integer AStyle);
  String GetName(Word ALanguage);
  String Name() { return GetName(0); }

  static TdxGPFontFamily* GetGenericSansSerif();
  static void Finalize();

  // Adopts a native family.
  struct TAdopt {};
  TdxGPFontFamily(GpFontFamily* AHandle, TAdopt) : FHandle(AHandle) {}

 private:
  GpFontFamily* FHandle = nullptr;
};

class TdxGPFont : public TObject {
  DECLARE_CLASS(TdxGPFont, TObject)
 public:
  // By family name: style 0, unit guPoint, character set 1 and the vertical
  // flag of the name ("@") unless given.
  TdxGPFont(const String& AFamilyName, Single AEmSize, Integer AStyle = 0,
            TdxGraphicUnit AUnit = guPoint, Byte AGdiCharSet = DEFAULT_CHARSET);
  TdxGPFont(const String& AFamilyName, Single AEmSize, Integer AStyle, TdxGraphicUnit AUnit,
            Byte AGdiCharSet, bool AGdiVerticalFont);
  TdxGPFont(const String& AFamilyName, Single AEmSize, TdxGraphicUnit AUnit);
  // By family (not owned): no vertical flag unless given.
  TdxGPFont(TdxGPFontFamily* AFamily, Single AEmSize, Integer AStyle = 0,
            TdxGraphicUnit AUnit = guPoint, Byte AGdiCharSet = DEFAULT_CHARSET,
            bool AGdiVerticalFont = false);
  TdxGPFont(TdxGPFontFamily* AFamily, Single AEmSize, TdxGraphicUnit AUnit);
  TdxGPFont(TdxGPFont* APrototype, Integer ANewStyle);
  // Takes ownership of a native font.
  TdxGPFont(GpFont* ANativeFont, Byte AGdiCharSet, bool AGdiVerticalFont);
  ~TdxGPFont() override;

  // Falls back to the generic sans-serif family for a name that does not
  // exist.
  static TdxGPFont* SafeCreate(const String& AFamilyName, Single AEmSize, Integer AStyle = 0,
                               TdxGraphicUnit AUnit = guPoint, Byte AGdiCharSet = DEFAULT_CHARSET);
  static TdxGPFont* FromHFont(HFONT AHFont);
  static TdxGPFont* FromLogFont(const LOGFONTW& ALogFont);
  static TdxGPFont* FromLogFont(const LOGFONTW& ALogFont, HDC AHdc);
  static TdxGPFont* FromHdc(HDC AHdc);
  static bool IsVerticalName(const String& AFamilyName);
  static String StripVerticalName(const String& AFamilyName);

  TdxGPFont* Clone();
  void ToLogFont(LOGFONTW& ALogFont);
  void ToLogFont(LOGFONTW& ALogFont, TdxGPCanvas* ACanvas);
  // A new platform font the caller owns.
  HFONT ToHfont();
  Single GetHeight(TdxGPCanvas* AGraphics);
  Single GetHeight();
  Single GetHeight(Single ADpi);
  Integer Height();
  Single SizeInPoints();
  Integer GetHashCode() const;

  GpFont* NativeFont() const { return FNativeFont; }
  Single Size() const { return FFontSize; }
  Integer Style() const { return FFontStyle; }
  TdxGraphicUnit Unit() const { return FFontUnit; }
  TdxGPFontFamily* FontFamily() const { return FFontFamily; }
  TdxGPFontFamily* GetFontFamily() const { return FFontFamily; }
  // Changes neither the native font nor the ownership flag.
  void SetFontFamily(TdxGPFontFamily* AValue) { FFontFamily = AValue; }
  Byte GdiCharSet() const { return FGdiCharSet; }
  bool GdiVerticalFont() const { return FGdiVerticalFont; }
  const String& OriginalFontName() const { return FOriginalFontName; }
  const String& SystemFontName() const { return FSystemFontName; }
  void SetSystemFontName(const String& AValue) { FSystemFontName = AValue; }
  bool IsSystemFont() const { return !FSystemFontName.empty(); }
  bool Bold() const { return (FFontStyle & 1) != 0; }
  bool Italic() const { return (FFontStyle & 2) != 0; }
  bool Underline() const { return (FFontStyle & 4) != 0; }
  bool Strikeout() const { return (FFontStyle & 8) != 0; }
  String Name() const;

 private:
  TdxGPFont() = default;
  void InitByName(const String& AFamilyName, Single AEmSize, Integer AStyle, TdxGraphicUnit AUnit,
                  Byte AGdiCharSet, bool AGdiVerticalFont);
  void Initialize(TdxGPFontFamily* AFamily, Single AEmSize, Integer AStyle, TdxGraphicUnit AUnit,
                  Byte AGdiCharSet, bool AGdiVerticalFont);
  void ReleaseAll();
  GpFont* FNativeFont = nullptr;
  Single FFontSize = 0;
  Integer FFontStyle = 0;
  TdxGraphicUnit FFontUnit = guPoint;
  TdxGPFontFamily* FFontFamily = nullptr;
  bool FIsOwnFontFamily = false;
  Byte FGdiCharSet = DEFAULT_CHARSET;
  bool FGdiVerticalFont = false;
  String FOriginalFontName;
  String FSystemFontName;
};

// A smart image's data stream whose bytes live in GDI+ memory.
class TdxGPMemoryStream : public TdxSmartImageDataStream {
  DECLARE_CLASS(TdxGPMemoryStream, TdxSmartImageDataStream)
 public:
  ~TdxGPMemoryStream() override;

 protected:
  // Exactly the capacity asked for; EStreamError when GDI+ has no memory.
  Pointer Realloc(NativeInt& NewCapacity) override;
};

// ===========================================================================
// Drawing routines
// ===========================================================================

HWND dxWindowFromDC(HDC DC);
// False (nothing made) for clNone; the caller deletes the brush.
bool dxGpCreateBrush(GpBrush*& ABrushHandle, TColor ABrushColor, Byte ABrushColorAlpha = 255);
// False (nothing made) for clNone, a width of 0 or less, or a style that
// does not draw; the caller deletes the pen.
bool dxGpCreatePen(GpPen*& APenHandle, TColor APenColor, Single APenWidth = 1,
                   TPenStyle APenStyle = TPenStyle::psSolid, Byte APenColorAlpha = 255);
// nullptr for 255; else the shared attributes set to AAlpha (the next call
// changes them).
TdxGPAlphaBlendAttributes* dxGpGetAlphaBlendAttributes(Byte AAlpha);
GpImageAttributes* dxGpGetImageAttributesHandle(TdxGPImageAttributes* AAttrs);
GpGraphics* dxGpGetCanvasHandle(TdxGPCanvas* ACanvas);
// The one road of all image drawing.
void dxGpDrawImage(GpGraphics* AGraphics, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
                   GpImage* AImage, Byte AAlpha = 255, GpImageAttributes* AAttributes = nullptr);
void dxGpDrawImage(GpGraphics* AGraphics, const TRect& ADestRect, const TRect& ASourceRect,
                   GpImage* AImage, Byte AAlpha = 255, GpImageAttributes* AAttributes = nullptr);
// Copies of the source part laid from the destination's top-left corner.
void dxGpTilePartEx(GpGraphics* AGraphics, const TRect& ADestRect, const TRect& ASourceRect,
                    GpImage* AImage, Byte AAlpha = 255);
void dxGpFillRect(GpGraphics* AGraphics, const TRect& R, TdxAlphaColor AColor);
void dxGpFillRect(HDC DC, const TRect& R, TColor AColor, Byte AColorAlpha = 255);
bool dxGpIsRectVisible(GpGraphics* AGraphics, const TdxRectF& R);
bool dxGpIsRectVisible(GpGraphics* AGraphics, const TRect& R);
Integer dxFontStylesToGpFontStyles(TFontStyles AStyles);
// Interpolation for smooth (true) or plain (false) stretching.
extern const InterpolationMode dxGpSmoothStretchModeMap[2];

// The image format of a native image or of a GDI+ raw format.
TdxImageDataFormat dxGetImageDataFormat(GpImage* AImage);
TdxImageDataFormat dxGetImageDataFormat(const GUID& AFormatId);
// The encoder of an image format; the null GUID for formats without one;
// raises EdxException for dxImageUnknown and dxImageExif.
GUID dxGetImageEncoder(TdxImageDataFormat AImageDataFormat);

// ===========================================================================
// Codecs
// ===========================================================================

// Decodes whatever GDI+ can decode; encodes through the GDI+ encoder of its
// identifier.
class TdxGPImageCodec : public TdxSmartImageCodec {
 public:
  static TdxSmartImageCodecClass Class();
  const wchar_t* ClassName() const override { return L"TdxGPImageCodec"; }
  bool CanSaveImage(TdxSmartImageCustomHandle*) const override { return true; }
  bool Load(TRGBColors& ABits, TAlphaFormat AAlphaFormat, Integer AWidth, Integer AHeight,
            TdxSmartImageCustomHandle*& AHandle) const override {
    return false;
  }
  bool Load(TStream* AStream, TdxSmartImageCustomHandle*& AHandle) const override;
  bool Save(TStream* AStream, TdxSmartImageCustomHandle* AHandle) const override;
  virtual bool SaveCore(TStream* AStream, TdxGPImageHandle* AHandle,
                        EncoderParameters* AParameters) const;
  // Whether the stream at its position starts with AHeader; the position
  // stays.
  static bool CheckHeader(TStream* AStream, const std::string& AHeader);
  GUID GetCodecID() const { return dxGetImageEncoder(ID()); }
};

// The reference and the name of one codec class.
#define DX_GP_CODEC_CLASS(Name_)          \
 public:                                  \
  static TdxSmartImageCodecClass Class(); \
  const wchar_t* ClassName() const override { return L## #Name_; }

class TdxGPImageCodecBMP : public TdxGPImageCodec {
  DX_GP_CODEC_CLASS(TdxGPImageCodecBMP)
  TdxImageDataFormat ID() const override { return dxImageBitmap; }
  String Ext() const override { return L".bmp"; }
  bool GetSize(TStream* AStream, TSize& ASize) const override;
  bool CanLoadStream(TStream* AStream) const override { return CheckHeader(AStream, "BM"); }
  bool CanLoadFromBits() const override { return true; }
  using TdxGPImageCodec::Load;
  bool Load(TRGBColors& ABits, TAlphaFormat AAlphaFormat, Integer AWidth, Integer AHeight,
            TdxSmartImageCustomHandle*& AHandle) const override;
};

class TdxGPImageCodecMemoryBitmap : public TdxGPImageCodecBMP {
  DX_GP_CODEC_CLASS(TdxGPImageCodecMemoryBitmap)
  TdxImageDataFormat ID() const override { return dxImageMemoryBmp; }
  String Description() const override { return String(); }
};

class TdxGPImageCodecGIF : public TdxGPImageCodec {
  DX_GP_CODEC_CLASS(TdxGPImageCodecGIF)
  TdxImageDataFormat ID() const override { return dxImageGif; }
  String Ext() const override { return L".gif"; }
  bool GetSize(TStream* AStream, TSize& ASize) const override;
  bool CanLoadStream(TStream* AStream) const override;
};

class TdxGPImageCodecJPEG : public TdxGPImageCodec {
  DX_GP_CODEC_CLASS(TdxGPImageCodecJPEG)
  TdxImageDataFormat ID() const override { return dxImageJpeg; }
  String Ext() const override { return L".jpeg"; }
  bool GetSize(TStream* AStream, TSize& ASize) const override;
  bool CanLoadStream(TStream* AStream) const override;
  // Adds the quality when one is set and no parameters are given.
  bool SaveCore(TStream* AStream, TdxGPImageHandle* AHandle,
                EncoderParameters* AParameters) const override;
};

class TdxGPImageCodecJPG : public TdxGPImageCodecJPEG {
  DX_GP_CODEC_CLASS(TdxGPImageCodecJPG)
  String Ext() const override { return L".jpg"; }
  String Description() const override { return String(); }
};

class TdxGPImageCodecPNG : public TdxGPImageCodec {
  DX_GP_CODEC_CLASS(TdxGPImageCodecPNG)
  TdxImageDataFormat ID() const override { return dxImagePng; }
  String Ext() const override { return L".png"; }
  bool GetSize(TStream* AStream, TSize& ASize) const override;
  bool CanLoadStream(TStream* AStream) const override;
};

class TdxGPImageCodecTIFF : public TdxGPImageCodec {
  DX_GP_CODEC_CLASS(TdxGPImageCodecTIFF)
  TdxImageDataFormat ID() const override { return dxImageTiff; }
  String Ext() const override { return L".tiff"; }
  bool GetSize(TStream* AStream, TSize& ASize) const override;
  bool CanLoadStream(TStream* AStream) const override;
};

class TdxGPImageCodecTIF : public TdxGPImageCodecTIFF {
  DX_GP_CODEC_CLASS(TdxGPImageCodecTIF)
  String Ext() const override { return L".tif"; }
  String Description() const override { return String(); }
};

// GDI+ has no metafile encoders: these codecs only decode.
class TdxGPImageCodecEMF : public TdxGPImageCodec {
  DX_GP_CODEC_CLASS(TdxGPImageCodecEMF)
  TdxImageDataFormat ID() const override { return dxImageEmf; }
  String Ext() const override { return L".emf"; }
};

class TdxGPImageCodecWMF : public TdxGPImageCodecEMF {
  DX_GP_CODEC_CLASS(TdxGPImageCodecWMF)
  TdxImageDataFormat ID() const override { return dxImageWmf; }
  String Ext() const override { return L".wmf"; }
};
#undef DX_GP_CODEC_CLASS

// The JPEG quality passed to the encoder; -1 leaves it to the encoder.
extern Integer dxGPImageCodecJPEGQuality;

// ===========================================================================
// Image handle, attributes, images, glyph
// ===========================================================================

struct IdxGPGraphicDraw : public IUnknown {
  virtual void STDMETHODCALLTYPE Draw(TdxGPCanvas* ACanvas, const TdxRectF& ADest,
                                      TdxGPImageAttributes* AAttributes,
                                      const TdxRectF& ASource) = 0;
  virtual void STDMETHODCALLTYPE Draw(TdxGPCanvas* ACanvas, const TRect& ADest,
                                      TdxGPImageAttributes* AAttributes, const TRect& ASource) = 0;
};
__CRT_UUID_DECL(IdxGPGraphicDraw, 0x12CC0C8A, 0x2C68, 0x4467, 0xAF, 0x5F, 0xEB, 0xA8, 0x9E, 0x93,
                0xE1, 0xCD)
struct IdxGpFlipContent : public IUnknown {
  virtual void STDMETHODCALLTYPE Flip(bool AHorizontally, bool AVertically) = 0;
};
__CRT_UUID_DECL(IdxGpFlipContent, 0x011BADAA, 0x55B0, 0x4493, 0x95, 0x39, 0x5F, 0x08, 0x11, 0x01,
                0x8C, 0x00)

// The decoded handle of every raster and metafile format: one GDI+ image.
class TdxGPImageHandle : public TdxSmartImageCustomHandle,
                         public IdxImageDataFormat,
                         public IdxAnimatedImage,
                         public IdxGPGraphicDraw,
                         public IdxGpFlipContent {
  DECLARE_CLASS(TdxGPImageHandle, TdxSmartImageCustomHandle)
 public:
  // Adopts a GDI+ image.
  explicit TdxGPImageHandle(GpImage* AHandle);
  // A GDI+ bitmap over ABits (stride AWidth * 4, top row first), which GDI+
  // reads in place for as long as the bitmap lives.
  static TdxGPImageHandle* CreateFromBits(Integer AWidth, Integer AHeight, TRGBColors& ABits,
                                          TAlphaFormat AAlphaFormat);
  ~TdxGPImageHandle() override;
  TdxGPImageHandle* Clone();
  // A canvas drawing into the image; the caller owns it.
  TdxGPCanvas* CreateCanvas();

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  TSize GetSize() override;
  void SetSize(const TSize& ASize) override { Resize(ASize, 0, 0); }
  TBitmap* GetAsBitmap() override;
  void Draw(HDC DC, const TdxRectF& ADest, const TdxRectF& ASource, Byte AAlpha,
            IdxColorPalette* APalette) override;
  void Draw(HDC DC, const TRect& ADest, const TRect& ASource, Byte AAlpha,
            IdxColorPalette* APalette) override;
  void STDMETHODCALLTYPE Draw(TdxGPCanvas* ACanvas, const TdxRectF& ADest,
                              TdxGPImageAttributes* AAttributes, const TdxRectF& ASource) override;
  void STDMETHODCALLTYPE Draw(TdxGPCanvas* ACanvas, const TRect& ADest,
                              TdxGPImageAttributes* AAttributes, const TRect& ASource) override;
  void STDMETHODCALLTYPE Flip(bool AHorizontally, bool AVertically) override;
  void Resize(const TSize& ASize, Integer AInterpolationMode, Integer APixelOffsetMode);
  bool IsMetafile() const { return FImageFormat == dxImageEmf || FImageFormat == dxImageWmf; }

  GpImage* Handle() const { return FHandle; }
  // Installs another image (the old one is disposed of).
  void SetHandle(GpImage* AValue);
  TdxImageDataFormat ImageDataFormat() const { return FImageFormat; }
  TdxImageDataFormat STDMETHODCALLTYPE GetImageFormat() override { return FImageFormat; }
  Integer STDMETHODCALLTYPE GetActiveFrame() override { return static_cast<Integer>(FActiveFrame); }
  Integer STDMETHODCALLTYPE GetAnimationFrameCount() override;
  // The frame's entry of the delay property in ms; 75 ms for a frame the
  // property has no entry for.
  Integer STDMETHODCALLTYPE GetAnimationFrameDelay() override;
  Integer STDMETHODCALLTYPE GetAnimationLoopCount() override;
  void STDMETHODCALLTYPE SetActiveFrame(Integer AValue) override;

 private:
  bool SelectFrame(UINT AFrame);
  bool ReadProperty(PROPID AID, std::vector<Byte>& AValue);
  void InstallBitmap(GpBitmap* ABitmap);
  GpImage* FHandle = nullptr;
  TdxImageDataFormat FImageFormat = dxImageUnknown;
  Cardinal FActiveFrame = 0;
  GUID FDimensionID{};
};

class TdxGPImageAttributes : public TdxGpBase {
  DECLARE_CLASS(TdxGPImageAttributes, TdxGpBase)
 public:
  TdxGPImageAttributes();
  // Adopts AHandle.
  explicit TdxGPImageAttributes(GpImageAttributes* AHandle) : FHandle(AHandle) {}
  ~TdxGPImageAttributes() override;
  TdxGPImageAttributes* Clone();
  GpImageAttributes* Handle() const { return FHandle; }

  void GetAdjustedPalette(Gdiplus::ColorPalette* APalette, ColorAdjustType AType);
  void SetColorKey(TdxAlphaColor AColorLow, TdxAlphaColor AColorHigh,
                   ColorAdjustType AType = ColorAdjustTypeDefault);
  void ClearColorKey(ColorAdjustType AType = ColorAdjustTypeDefault);
  void SetColorMatrix(const TdxGpColorMatrix* ANewColorMatrix,
                      ColorMatrixFlags AMode = ColorMatrixFlagsDefault,
                      ColorAdjustType AType = ColorAdjustTypeDefault);
  void SetColorMatrices(const TdxGpColorMatrix* ANewColorMatrix,
                        const TdxGpColorMatrix* AGrayMatrix,
                        ColorMatrixFlags AMode = ColorMatrixFlagsDefault,
                        ColorAdjustType AType = ColorAdjustTypeDefault);
  void ClearColorMatrix(ColorAdjustType AType = ColorAdjustTypeDefault);
  void SetGamma(Single AGamma, ColorAdjustType AType = ColorAdjustTypeDefault);
  void ClearGamma(ColorAdjustType AType = ColorAdjustTypeDefault);
  void SetNoOp(ColorAdjustType AType = ColorAdjustTypeDefault);
  void ClearNoOp(ColorAdjustType AType = ColorAdjustTypeDefault);
  void SetOutputChannel(ColorChannelFlags AFlags, ColorAdjustType AType = ColorAdjustTypeDefault);
  void ClearOutputChannel(ColorAdjustType AType = ColorAdjustTypeDefault);
  void SetOutputChannelColorProfile(const String& AColorProfileFilename,
                                    ColorAdjustType AType = ColorAdjustTypeDefault);
  void ClearOutputChannelColorProfile(ColorAdjustType AType = ColorAdjustTypeDefault);
  void SetRemapTable(const std::vector<Gdiplus::ColorMap>& AMap,
                     ColorAdjustType AType = ColorAdjustTypeDefault);
  void ClearRemapTable(ColorAdjustType AType = ColorAdjustTypeDefault);
  void SetBrushRemapTable(const std::vector<Gdiplus::ColorMap>& AMap);
  void ClearBrushRemapTable();
  void SetThreshold(Single AThreshold, ColorAdjustType AType = ColorAdjustTypeDefault);
  void ClearThreshold(ColorAdjustType AType = ColorAdjustTypeDefault);
  void SetWrapMode(WrapMode AMode, TdxAlphaColor AColor, bool AClamp);
  void SetWrapMode(WrapMode AMode);

 protected:
  GpImageAttributes* FHandle = nullptr;
};

// Draws an image with a constant opacity.
class TdxGPAlphaBlendAttributes : public TdxGPImageAttributes {
  DECLARE_CLASS(TdxGPAlphaBlendAttributes, TdxGPImageAttributes)
 public:
  TdxGPAlphaBlendAttributes();
  Byte Alpha() const { return FAlpha; }
  // Applies the matrix only when the alpha changes.
  void SetAlpha(Byte AValue);

 private:
  Byte FAlpha = 255;
  TdxGpColorMatrix FColorMatrix;
};

// A smart image that can be drawn on a GDI+ canvas and drawn into.
class TdxGPImage : public TdxCustomSmartImage {
  DECLARE_CLASS(TdxGPImage, TdxCustomSmartImage)
 public:
  // The GDI+ image of the decoded handle (nil for an empty image); a handle
  // of another kind is first replaced by the image's own pixels.
  GpImage* Handle();
  // Wraps a GDI+ image and installs it.
  void SetHandle(GpImage* AValue);
  // Converts stored data to pixels first; what is drawn becomes the image's
  // pixels. The caller owns the canvas.
  TdxGPCanvas* CreateCanvas();
  void Flip(bool AHorizontally, bool AVertically);
  TdxGPImage* MakeComposition(TdxGPImage* AOverlayImage, Byte AOverlayAlpha,
                              Byte ASourceAlpha = 255);
  using TdxCustomSmartImage::StretchDraw;
  void StretchDraw(TdxGPCanvas* ACanvas, const TdxRectF& ADest, const TdxRectF& ASource,
                   IdxColorPalette* AColorPalette = nullptr,
                   TdxGPImageAttributes* AAttributes = nullptr);
  void StretchDraw(TdxGPCanvas* ACanvas, const TRect& ADest, const TRect& ASource,
                   IdxColorPalette* AColorPalette = nullptr,
                   TdxGPImageAttributes* AAttributes = nullptr);
  TdxGPImage* Clone() { return static_cast<TdxGPImage*>(TdxCustomSmartImage::Clone()); }

 protected:
  TdxSmartImageCustomHandle* CreateCache(const TSize& ASize) override;
};

// The general smart image, registered for TIFF, GIF and JPEG pictures.
class TdxSmartImage : public TdxGPImage {
  DECLARE_CLASS(TdxSmartImage, TdxGPImage)
};

// Registered for PNG pictures; always saves PNG.
class TdxPNGImage : public TdxSmartImage {
  DECLARE_CLASS(TdxPNGImage, TdxSmartImage)
 public:
  void SaveToStream(TStream* AStream) override;
};

// The glyph of buttons and editors: the DPI and size it was drawn for, and
// a colour key made transparent when given a colour bitmap.
class TdxSmartGlyph : public TdxSmartImage, public IdxSourceDPI, public IdxSourceSize {
  DECLARE_CLASS(TdxSmartGlyph, TdxSmartImage)
 public:
  TdxSmartGlyph();
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;

  Integer SourceDPI() const { return FSourceDPI; }
  void SetSourceDPI(Integer AValue);
  Integer SourceWidth();
  void SetSourceWidth(Integer AValue);
  Integer SourceHeight();
  void SetSourceHeight(Integer AValue);
  Integer STDMETHODCALLTYPE GetSourceDPI() override { return FSourceDPI; }
  TSize STDMETHODCALLTYPE GetSourceSize() override;
  void AssignFromSmartImage(TdxCustomSmartImage* AImage) override;
  // What the form resource stores.
  bool HasImage() { return !Empty(); }
  Integer StoredSourceWidth() const { return FSourceWidth; }
  Integer StoredSourceHeight() const { return FSourceHeight; }
  bool HasSourceWidth() const { return FSourceWidth != 0; }
  bool HasSourceHeight() const { return FSourceHeight != 0; }

 protected:
  bool IsBitmapStream(TStream* AStream) override;
  void CreateHandleFromBitmap(TBitmap* ABitmap) override;

 private:
  Integer FSourceDPI = dxDefaultDPI;
  Integer FSourceHeight = 0;
  Integer FSourceWidth = 0;
};

// ===========================================================================
// GDI+ canvas
// ===========================================================================

enum TdxGPInterpolationMode {
  imDefault,
  imLowQuality,
  imHighQuality,
  imBilinear,
  imBicubic,
  imNearestNeighbor,
  imHighQualityBilinear,
  imHighQualityBicubic
};
enum TdxGPSmoothingMode { smDefault, smHighSpeed, smHighQuality, smNone, smAntiAlias };
enum TdxGPCombineMode { gmReplace, gmIntersect, gmUnion, gmXor, gmExclude, gmComplement };

class TdxGPCanvas : public TdxGpBase {
  DECLARE_CLASS(TdxGPCanvas, TdxGpBase)
 public:
  TdxGPCanvas() = default;
  // Takes ownership of a GDI+ graphics.
  explicit TdxGPCanvas(GpGraphics* AHandle);
  explicit TdxGPCanvas(HDC DC);
  ~TdxGPCanvas() override;

  GpGraphics* Handle() const { return FHandle; }
  void CreateHandle(HDC DC);
  void FreeHandle();
  // Paired calls; nothing else draws between them.
  HDC GetHDC();
  void ReleaseHDC(HDC DC);
  void Clear(TColor AColor);
  bool IsLowColorsMode() const { return FIsLowColorsMode; }
  Single DpiX();
  Single DpiY();
  TdxGPInterpolationMode InterpolationMode();
  void SetInterpolationMode(TdxGPInterpolationMode AValue);
  TdxGPSmoothingMode SmoothingMode();
  void SetSmoothingMode(TdxGPSmoothingMode AValue);
  TdxGpTextRenderingHint TextRenderingHint();
  void SetTextRenderingHint(TdxGpTextRenderingHint AValue);
  Integer GetPixelOffsetMode();
  void SetPixelOffsetMode(Integer AValue);

  // Clip
  bool IsClipEmpty();
  void SetClipRect(const TRect& R, TdxGPCombineMode AMode);
  void SetClipRect(const TdxRectF& R, TdxGPCombineMode AMode);
  void SetClipRegion(HRGN ARgn, TdxGPCombineMode AMode);
  void SetClipRegion(TdxGPRegion* ARegion, TdxGPCombineMode AMode);
  void SetClipPath(TdxGPPath* APath, TdxGPCombineMode AMode);
  void SaveClipRegion();
  void RestoreClipRegion();

  // World transform
  TdxGPMatrix* GetWorldTransform();
  void SetWorldTransform(TdxGPMatrix* AMatrix);
  void ResetWorldTransform();
  void ModifyWorldTransform(TdxGPMatrix* AMatrix, MatrixOrder AOrder = MatrixOrderPrepend);
  void TranslateWorldTransform(Single AOffsetX, Single AOffsetY,
                               MatrixOrder AOrder = MatrixOrderPrepend);
  void ScaleWorldTransform(Single AScaleX, Single AScaleY, MatrixOrder AOrder = MatrixOrderPrepend);
  // Replaces the transform by a scaling about ACenter; AOrder is not used.
  void ScaleWorldTransform(Single AScaleX, Single AScaleY, const TdxPointF& ACenter,
                           MatrixOrder AOrder = MatrixOrderPrepend);
  void RotateWorldTransform(Single AAngle, MatrixOrder AOrder = MatrixOrderPrepend);
  void RotateWorldTransform(Single AAngle, const TdxPointF& APivotPoint,
                            MatrixOrder AOrder = MatrixOrderPrepend);
  void RotateWorldTransform(Single AAngle, const TPoint& APivotPoint,
                            MatrixOrder AOrder = MatrixOrderPrepend);
  void FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically,
                          const TdxPointF& APivotPoint);
  void FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically, const TPoint& APivotPoint);
  void FlipWorldTransform(bool AFlipHorizontally, bool AFlipVertically, Single APivotPointX,
                          Single APivotPointY);
  void SaveWorldTransform();
  void RestoreWorldTransform();
  void TransformPoints(TdxGpCoordinateSpace ADestSpace, TdxGpCoordinateSpace ASrcSpace,
                       std::vector<TdxPointF>& APoints);
  void TransformPoints(TdxGpCoordinateSpace ADestSpace, TdxGpCoordinateSpace ASrcSpace,
                       std::vector<TPoint>& APoints);

  // Shapes. Outlined TRect shapes span Right - 1 and Bottom - 1; angles
  // are counter-clockwise; fill always comes before outline.
  void Arc(const TRect& R, Single AStartAngle, Single ASweepAngle, TColor APenColor,
           Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid,
           Byte APenColorAlpha = 255);
  void Arc(const TRect& R, Single AStartAngle, Single ASweepAngle, TdxAlphaColor APenColor,
           Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid);
  void Pie(const TRect& R, Single AStartAngle, Single ASweepAngle, TColor APenColor,
           TColor ABrushColor, Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid,
           Byte APenColorAlpha = 255, Byte ABrushColorAlpha = 255);
  void Pie(const TRect& R, Single AStartAngle, Single ASweepAngle, TdxAlphaColor APenColor,
           TdxAlphaColor ABrushColor, Single APenWidth = 1,
           TPenStyle APenStyle = TPenStyle::psSolid);
  void Pie(const TdxRectF& R, Single AStartAngle, Single ASweepAngle, TdxAlphaColor APenColor,
           TdxAlphaColor ABrushColor, Single APenWidth = 1,
           TPenStyle APenStyle = TPenStyle::psSolid);
  void Ellipse(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Ellipse(const TRect& R, TColor APenColor, TColor ABrushColor, Single APenWidth = 1,
               TPenStyle APenStyle = TPenStyle::psSolid, Byte APenColorAlpha = 255,
               Byte ABrushColorAlpha = 255);
  void Ellipse(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
               Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid);
  void Ellipse(const TdxRectF& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Ellipse(const TdxRectF& R, TColor APenColor, TColor ABrushColor, Single APenWidth = 1,
               TPenStyle APenStyle = TPenStyle::psSolid, Byte APenColorAlpha = 255,
               Byte ABrushColorAlpha = 255);
  void Ellipse(const TdxRectF& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
               Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid);
  void Rectangle(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Rectangle(const TRect& R, TColor APenColor, TColor ABrushColor, Single APenWidth = 1,
                 TPenStyle APenStyle = TPenStyle::psSolid, Byte APenColorAlpha = 255,
                 Byte ABrushColorAlpha = 255);
  void Rectangle(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                 Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid);
  void Rectangle(const TdxRectF& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  // $00FFFFFF means no fill or no outline.
  void Rectangle(const TdxRectF& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                 Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid);
  void RoundRect(const TRect& R, TdxGPPen* APen, TdxGPCustomBrush* ABrush, Integer ARadiusX,
                 Integer ARadiusY);
  void RoundRect(const TRect& R, TColor APenColor, TColor ABrushColor, Integer ARadiusX,
                 Integer ARadiusY, Integer APenWidth = 1, Byte APenColorAlpha = 255,
                 Byte ABrushColorAlpha = 255);
  void RoundRect(const TRect& R, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
                 Integer ARadiusX, Integer ARadiusY, Single APenWidth = 1);
  void Path(TdxGPPath* APath, TdxGPPen* APen, TdxGPCustomBrush* ABrush);
  void Path(TdxGPPath* APath, TColor APenColor, TColor ABrushColor, Single APenWidth = 1,
            TPenStyle APenStyle = TPenStyle::psSolid, Byte APenColorAlpha = 255,
            Byte ABrushColorAlpha = 255);
  void Path(TdxGPPath* APath, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
            Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid);
  void Polygon(const std::vector<TPoint>& APoints, TdxGPCustomBrush* ABrush, TdxGPPen* APen);
  void Polygon(const std::vector<TPoint>& APoints, TColor APenColor, TColor ABrushColor,
               Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid,
               Byte APenColorAlpha = 255, Byte ABrushColorAlpha = 255);
  void Polygon(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor,
               TdxAlphaColor ABrushColor, Single APenWidth = 1,
               TPenStyle APenStyle = TPenStyle::psSolid);
  void Polygon(const std::vector<TdxPointF>& APoints, TdxGPCustomBrush* ABrush, TdxGPPen* APen);
  void Polygon(const std::vector<TdxPointF>& APoints, TColor APenColor, TColor ABrushColor,
               Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid,
               Byte APenColorAlpha = 255, Byte ABrushColorAlpha = 255);
  void Polygon(const std::vector<TdxPointF>& APoints, TdxAlphaColor APenColor,
               TdxAlphaColor ABrushColor, Single APenWidth = 1,
               TdxGPPenStyle APenStyle = gppsSolid);
  void Polyline(const std::vector<TPoint>& APoints, TdxGPPen* APen);
  void Polyline(const std::vector<TPoint>& APoints, TColor APenColor, Single APenWidth = 1,
                TPenStyle APenStyle = TPenStyle::psSolid, Byte APenColorAlpha = 255);
  void Polyline(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor, Single APenWidth = 1,
                TPenStyle APenStyle = TPenStyle::psSolid);
  void Polyline(const std::vector<TdxPointF>& APoints, TdxGPPen* APen);
  void Polyline(const std::vector<TdxPointF>& APoints, TColor APenColor, Single APenWidth = 1,
                TPenStyle APenStyle = TPenStyle::psSolid, Byte APenColorAlpha = 255);
  void Polyline(const std::vector<TdxPointF>& APoints, TdxAlphaColor APenColor,
                Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid);
  void Curve(const std::vector<TPoint>& APoints, TColor APenColor, Single APenWidth = 1,
             TPenStyle APenStyle = TPenStyle::psSolid, Byte APenColorAlpha = 255);
  void Curve(const std::vector<TPoint>& APoints, TdxAlphaColor APenColor, Single APenWidth = 1,
             TPenStyle APenStyle = TPenStyle::psSolid);
  void Curve(const std::vector<TdxPointF>& APoints, TColor APenColor, Single APenWidth = 1,
             TPenStyle APenStyle = TPenStyle::psSolid, Byte APenColorAlpha = 255);
  void Line(Integer X1, Integer Y1, Integer X2, Integer Y2, TdxGPPen* APen);
  void Line(Integer X1, Integer Y1, Integer X2, Integer Y2, TColor APenColor, Single APenWidth = 1,
            TPenStyle APenStyle = TPenStyle::psSolid, Byte APenColorAlpha = 255);
  void Line(Integer X1, Integer Y1, Integer X2, Integer Y2, TdxAlphaColor APenColor,
            Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid);
  void Line(Single X1, Single Y1, Single X2, Single Y2, TdxGPPen* APen);
  void Line(Single X1, Single Y1, Single X2, Single Y2, TdxAlphaColor APenColor,
            Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid);
  void FillRectangle(const TRect& R, TdxGPCustomBrush* ABrush);
  void FillRectangle(const TdxRectF& R, TdxGPCustomBrush* ABrush);
  // Nothing for 0 or $00FFFFFF.
  void FillRectangle(const TRect& R, TdxAlphaColor ABrushColor);
  void FillRectangle(const TdxRectF& R, TdxAlphaColor ABrushColor);
  void FillRectangleByGradient(const TRect& R, TdxAlphaColor AColor1, TdxAlphaColor AColor2,
                               LinearGradientMode AMode);
  // Fills the region with the brush colour; the pen is not used.
  void Region(TdxGPRegion* ARegion, TdxAlphaColor APenColor, TdxAlphaColor ABrushColor,
              Single APenWidth = 1, TPenStyle APenStyle = TPenStyle::psSolid);

  // Text
  void DrawString(const String& S, TdxGPFont* AFont, TdxGPCustomBrush* ABrush, Single X, Single Y,
                  TdxGPStringFormat* AFormat = nullptr);
  void DrawString(const String& S, TdxGPFont* AFont, TdxGPCustomBrush* ABrush,
                  const TdxPointF& APoint, TdxGPStringFormat* AFormat = nullptr);
  void DrawString(const String& S, TdxGPFont* AFont, TdxGPCustomBrush* ABrush,
                  const TdxRectF& ARect, TdxGPStringFormat* AFormat = nullptr);
  TdxSizeF MeasureString(const String& AText, TdxGPFont* AFont, const TdxSizeF& ALayoutArea,
                         TdxGPStringFormat* AStringFormat, Integer& ACharactersFitted,
                         Integer& ALinesFilled);
  TdxSizeF MeasureString(const String& AText, TdxGPFont* AFont, const TdxPointF& AOrigin,
                         TdxGPStringFormat* AStringFormat);
  TdxSizeF MeasureString(const String& AText, TdxGPFont* AFont, const TdxSizeF& ALayoutArea,
                         TdxGPStringFormat* AStringFormat);
  TdxSizeF MeasureString(const String& AText, TdxGPFont* AFont, const TdxSizeF& ALayoutArea);
  TdxSizeF MeasureString(const String& AText, TdxGPFont* AFont);
  TdxSizeF MeasureString(const String& AText, TdxGPFont* AFont, Double AWidth,
                         TdxGPStringFormat* AFormat = nullptr);
  // New regions, one per measurable range of the format; the caller owns
  // them.
  std::vector<TdxGPRegion*> MeasureCharacterRanges(const String& AText, TdxGPFont* AFont,
                                                   const TdxRectF& ALayoutRect,
                                                   TdxGPStringFormat* AStringFormat);

  // Images
  void Draw(TdxGPImage* AGraphic, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
            Byte AAlpha = 255);
  void Draw(TdxGPImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect,
            Byte AAlpha = 255);
  void Draw(TdxGPImage* AGraphic, const TdxRectF& ADestRect, const TdxRectF& ASourceRect,
            TdxGPImageAttributes* AAttributes);
  void Draw(TdxGPImage* AGraphic, const TdxRectF& R, Byte AAlpha = 255);
  void Draw(TdxGPImage* AGraphic, const TRect& R, Byte AAlpha = 255);
  void Draw(TdxGPImage* AGraphic, const TRect& R, TdxGPImageAttributes* AAttributes);
  // Upper-left, upper-right and lower-left corners of the destination.
  void Draw(TdxGPImage* AGraphic, const std::vector<TdxPointF>& APoints,
            TdxGPImageAttributes* AAttributes = nullptr);
  void DrawBitmap(TBitmap* ABitmap, const TRect& R, Byte AAlpha = 255);
  void DrawTile(TdxGPImage* AGraphic, const TRect& R, Byte AAlpha = 255);
  void DrawTile(TdxGPImage* AGraphic, const TRect& ADestRect, const TRect& ASourceRect,
                Byte AAlpha = 255);

 protected:
  GpGraphics* FHandle = nullptr;
  bool FIsLowColorsMode = false;

 private:
  void FillAndOutline(const TdxRectF& ABounds, TdxGPPen* APen, TdxGPCustomBrush* ABrush,
                      const std::function<Status(GpBrush*)>& AFill,
                      const std::function<Status(GpPen*)>& AOutline);
  void FillAndOutline(TColor APenColor, TColor ABrushColor, Single APenWidth, TPenStyle APenStyle,
                      Byte APenColorAlpha, Byte ABrushColorAlpha,
                      const std::function<Status(GpBrush*)>& AFill,
                      const std::function<Status(GpPen*)>& AOutline);
  TdxSizeF MeasureStringCore(const String& AText, TdxGPFont* AFont, const TdxGpRectF& ALayout,
                             TdxGPStringFormat* AFormat, Integer* ACharactersFitted,
                             Integer* ALinesFilled);
  std::vector<GpRegion*> FSavedClipRegions;
  std::vector<GpMatrix*> FSavedWorldTransforms;
};

class TdxGPGraphics : public TdxGPCanvas {
  DECLARE_CLASS(TdxGPGraphics, TdxGPCanvas)
 public:
  using TdxGPCanvas::TdxGPCanvas;
};

// One paint at a time on a rectangle of a device context, into a 32-bit
// buffer when the device cannot take GDI+ output directly; a lock is held
// from BeginPaint to EndPaint.
class TdxGPCustomPaintCanvas : public TdxGPGraphics {
  DECLARE_CLASS(TdxGPCustomPaintCanvas, TdxGPGraphics)
 public:
  TdxGPCustomPaintCanvas();
  ~TdxGPCustomPaintCanvas() override;
  void BeginPaint(HDC DC, const TRect& R);
  // On a graphics the caller keeps owning; EndPaint lets it go.
  void BeginPaint(GpGraphics* AHandle);
  void EndPaint();

 protected:
  struct TState {
    GpGraphics* Handle = nullptr;
    TBitmap* Buffer = nullptr;
    TRect DrawRect{};
    HDC DC = nullptr;
    bool IsLowColorsMode = false;
  };
  virtual void SaveState() {}
  virtual void RestoreState() {}
  TState CurrentState() const;
  void SetCurrentState(const TState& AState);

 private:
  void CreateBuffer(HDC DC, const TRect& R);
  void WriteBackBuffer();
  TOwned<TCriticalSection> FLock;
  TBitmap* FBuffer = nullptr;
  HDC FDrawDC = nullptr;
  TRect FDrawRect{};
  bool FHandleGiven = false;
};

class TdxGPPaintCanvas : public TdxGPCustomPaintCanvas {
  DECLARE_CLASS(TdxGPPaintCanvas, TdxGPCustomPaintCanvas)
 public:
  ~TdxGPPaintCanvas() override;

 protected:
  void SaveState() override;
  void RestoreState() override;

 private:
  Integer FCounter = 0;
  std::vector<TState> FSavedStates;
};

// The shared paint canvas, made on first use and freed at the module's
// shut-down.
TdxGPPaintCanvas* dxGPPaintCanvas();
TdxGPCustomPaintCanvas* dxGpBeginPaint(HDC DC, const TRect& R);
void dxGpEndPaint(TdxGPCustomPaintCanvas*& ACanvas);
// Few colours, a printer, a palette device, or a layered window before
// Windows Vista.
bool dxGpIsDoubleBufferedNeeded(HDC DC);

// The stream view through which the GDI+ codecs load and save.
class TdxGPStreamAdapter : public TStreamAdapter {
  DECLARE_CLASS(TdxGPStreamAdapter, TStreamAdapter)
 public:
  using TStreamAdapter::TStreamAdapter;
  // S_OK for a nil record; E_UNEXPECTED for any failure on the way.
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* pstatstg, DWORD grfStatFlag) override;
};

void dxGDIPlusClasses_Initialize();
void dxGDIPlusClasses_Finalize();
