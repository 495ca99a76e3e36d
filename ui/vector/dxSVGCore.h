// The SVG object model: one element class per supported tag, attribute
// bindings declared per class, the loader with its style sheets and cascade,
// and the renderers the elements draw through (a GDI+ canvas, or a collector
// that gathers outlines into one clip path).
#pragma once

#include <functional>
#include <vector>

#include "dxSVGParsers.h"

class TdxSVGCustomRenderer;
class TdxSVGElementRoot;
class TdxSVGStyles;

// Documents nested deeper than this are refused at load, and drawing through
// references stops at this depth: nothing here can exhaust the stack.
inline constexpr Integer dxSVGMaxNestingLevel = 512;
// Elements that one draw may show through "use" references and clip paths;
// past it further references draw nothing, so that fan-out stays bounded.
inline constexpr Integer dxSVGMaxReferencedElements = 20000;
// The widest pen a stroke is drawn with, in device pixels.
inline constexpr Single dxSVGMaxPenPixels = 1 << 20;
// The largest text drawn, in device pixels (in units for a clip path).
inline constexpr Single dxSVGMaxTextPixels = 16384;
// The most dashes one stroke may have; a finer pattern draws solid.
inline constexpr Double dxSVGMaxDashes = 100000;

// ---------------------------------------------------------------------------
// Bindings

enum class TdxSVGPropertyKind { String, Single, Ordinal, Value, Fill, FontStyles, Object };

// Run-time access to one bound property; only the members of its kind are
// set.
struct TdxSVGPropertyInfo {
  const wchar_t* Name;
  TdxSVGPropertyKind Kind;
  void (*SetString)(TdxSVGElement*, const String&) = nullptr;
  void (*SetSingle)(TdxSVGElement*, Single) = nullptr;
  void (*SetOrdinal)(TdxSVGElement*, Integer) = nullptr;
  void (*SetValue)(TdxSVGElement*, const TdxSVGValue&) = nullptr;
  void (*SetFill)(TdxSVGElement*, const TdxSVGFill&) = nullptr;
  TFontStyles (*GetFontStyles)(TdxSVGElement*) = nullptr;
  void (*SetFontStyles)(TdxSVGElement*, TFontStyles) = nullptr;
  TObject* (*GetObject)(TdxSVGElement*) = nullptr;
};

// An attribute name bound to a property, with the adapter that parses its
// text (nil: stored by the property's kind).
struct SVGAlias {
  const char* FName;
  const TdxSVGAdapterValue* FAdapter;
};

struct TdxSVGPropertyBinding {
  TdxSVGPropertyInfo Property;
  SVGAlias Aliases[2];
  Integer AliasCount;
};

// The bindings a class declares itself, in declaration order.
struct TdxSVGClassBindings {
  const TdxSVGPropertyBinding* Items;
  Integer Count;
};

// ---------------------------------------------------------------------------
// Elements

class TdxSVGElement : public TPersistent {
  DECLARE_CLASS(TdxSVGElement, TPersistent)
 public:
  TdxSVGElement();
  ~TdxSVGElement() override;

  virtual TdxSVGElementRoot* GetRoot();
  virtual void InitializeBrush(TdxSVGCustomRenderer* ARenderer);
  virtual void InitializePen(TdxSVGCustomRenderer* ARenderer);
  virtual void DrawCore(TdxSVGCustomRenderer* ARenderer) {}
  virtual void Draw(TdxSVGCustomRenderer* ARenderer);
  // Direct children first (ids compared ignoring case), then each child's
  // own search in turn; false for an empty id.
  virtual bool FindByID(const String& ID, TdxSVGElement*& AElement);

  // nil is ignored.
  void Add(TdxSVGElement* AElement);
  Integer Count() const { return static_cast<Integer>(FChildren.size()); }
  TdxSVGElement* Elements(Integer AIndex) const;
  TdxSVGElement* Parent() const { return FParent; }
  void SetParent(TdxSVGElement* AValue) { FParent = AValue; }
  TdxSVGElementRoot* Root() { return GetRoot(); }

  // Resolved along the parent chain at drawing time.
  TdxSVGFill GetActualFill(IdxColorPalette* APalette);
  TdxSVGFill GetActualStroke(IdxColorPalette* APalette);
  TdxGPFillMode GetActualFillMode();
  const TdxSVGValues* GetActualStrokeDashArray();
  Single GetActualStrokeDashOffset();
  TdxSVGLineCapStyle GetActualStrokeLineCap();
  Single GetActualStrokeSize();

  // Bound properties
  const String& ClipPath() const { return FClipPath; }
  void SetClipPath(const String& AValue) { FClipPath = AValue; }
  const TdxSVGFill& Fill() const { return FFill; }
  void SetFill(const TdxSVGFill& AValue) { FFill = AValue; }
  TdxSVGFillMode FillMode() const { return FFillMode; }
  void SetFillMode(TdxSVGFillMode AValue) { FFillMode = AValue; }
  Single FillOpacity() const { return FFillOpacity; }
  void SetFillOpacity(Single AValue);
  const String& ID() const { return FID; }
  void SetID(const String& AValue) { FID = AValue; }
  Single Opacity() const { return FOpacity; }
  void SetOpacity(Single AValue);
  const TdxSVGFill& Stroke() const { return FStroke; }
  void SetStroke(const TdxSVGFill& AValue) { FStroke = AValue; }
  TdxSVGValues* StrokeDashArray() const { return FStrokeDashArray.get(); }
  Single StrokeDashOffset() const { return FStrokeDashOffset; }
  void SetStrokeDashOffset(Single AValue) { FStrokeDashOffset = AValue; }
  TdxSVGLineCapStyle StrokeLineCap() const { return FStrokeLineCap; }
  void SetStrokeLineCap(TdxSVGLineCapStyle AValue) { FStrokeLineCap = AValue; }
  TdxGpLineJoin StrokeLineJoin() const { return FStrokeLineJoin; }
  void SetStrokeLineJoin(TdxGpLineJoin AValue) { FStrokeLineJoin = AValue; }
  Single StrokeMiterLimit() const { return FStrokeMiterLimit; }
  void SetStrokeMiterLimit(Single AValue) { FStrokeMiterLimit = AValue; }
  // Negative while not set (inherited); 0 means no stroke. A negative value
  // given is ignored.
  Single StrokeSize() const { return FStrokeSize; }
  void SetStrokeSize(Single AValue);
  bool IsStrokeSizeAssigned() const { return FStrokeSize >= 0; }
  const String& StyleName() const { return FStyleName; }
  void SetStyleName(const String& AValue) { FStyleName = AValue; }
  TdxMatrix* Transform() const { return FTransform.get(); }

  static TdxSVGClassBindings SVGBindings();

 protected:
  // The root's size, the parent size of percentages.
  TdxSizeF ParentSize();
  Single XToPixels(const TdxSVGValue& AValue);
  Single YToPixels(const TdxSVGValue& AValue);
  void DrawChildren(TdxSVGCustomRenderer* ARenderer);

 private:
  friend class TdxSVGLoader;
  std::vector<TOwned<TdxSVGElement>> FChildren;
  String FClipPath;
  TdxSVGFill FFill;
  TdxSVGFillMode FFillMode = fmNonZero;
  Single FFillOpacity = 1;
  String FID;
  Single FOpacity = 1;
  TdxSVGFill FStroke;
  TOwned<TdxSVGValues> FStrokeDashArray;
  Single FStrokeDashOffset = -1;
  TdxSVGLineCapStyle FStrokeLineCap = lcsDefault;
  TdxGpLineJoin FStrokeLineJoin = LineJoinMiter;
  Single FStrokeMiterLimit = 4;
  Single FStrokeSize = -1;
  String FStyleName;
  TOwned<TdxMatrix> FTransform;
  TdxSVGElement* FParent = nullptr;
};

using TdxSVGElementClass = TClass;

class TdxSVGElementRoot : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementRoot, TdxSVGElement)
 public:
  TdxSVGElementRoot();
  TdxSVGElementRoot* GetRoot() override { return this; }
  // The view box size, replaced by a given width or height that is neither
  // zero nor a percentage (in pixels at 96 DPI).
  TdxSizeF GetSize();
  TdxSVGRect* Background() const { return FBackground.get(); }
  TdxSVGRect* ViewBox() const { return FViewBox.get(); }
  TdxSVGValue FHeight, FWidth;
  static TdxSVGClassBindings SVGBindings();

 private:
  TOwned<TdxSVGRect> FBackground;
  TOwned<TdxSVGRect> FViewBox;
};

class TdxSVGElementGroup : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementGroup, TdxSVGElement)
};

class TdxSVGElementCircle : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementCircle, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxSVGValue FRadius, FCenterX, FCenterY;
  static TdxSVGClassBindings SVGBindings();
};

class TdxSVGElementEllipse : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementEllipse, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxSVGValue FCenterX, FCenterY, FRadiusX, FRadiusY;
  static TdxSVGClassBindings SVGBindings();
};

class TdxSVGElementLine : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementLine, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxSVGValue FX2, FY2, FX1, FY1;
  static TdxSVGClassBindings SVGBindings();
};

class TdxSVGElementPath : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementPath, TdxSVGElement)
 public:
  TdxSVGElementPath();
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxGPPath* Path() const { return FPath.get(); }
  static TdxSVGClassBindings SVGBindings();

 private:
  TOwned<TdxGPPath> FPath;
};

class TdxSVGElementPolygon : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementPolygon, TdxSVGElement)
 public:
  TdxSVGElementPolygon();
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxSVGPoints* Points() const { return FPoints.get(); }
  static TdxSVGClassBindings SVGBindings();

 private:
  TOwned<TdxSVGPoints> FPoints;
};

class TdxSVGElementPolyline : public TdxSVGElementPolygon {
  DECLARE_CLASS(TdxSVGElementPolyline, TdxSVGElementPolygon)
 public:
  void InitializePen(TdxSVGCustomRenderer* ARenderer) override;
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
};

class TdxSVGElementRectangle : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementRectangle, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  TdxSVGValue FCornerRadiusX, FCornerRadiusY, FHeight, FWidth, FX, FY;
  static TdxSVGClassBindings SVGBindings();
};

class TdxSVGElementText : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementText, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  String GetFontAsStyleString() const;
  void SetFontAsStyleString(const String& AValue);
  // The font DrawCore would use (the family name shortened at "-" until
  // one exists); nil when none can be made. The caller frees it.
  TdxGPFont* CreateFont() const;
  TdxSVGValue FDX, FDY;
  String FFontName = L"MS Sans Serif";
  Single FFontSize = 8;
  TFontStyles FFontStyles;
  String FText;
  TdxSVGTextAnchor FTextAnchor = taStart;
  TdxSVGValue FX, FY;
  static TdxSVGClassBindings SVGBindings();
};

class TdxSVGElementUse : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementUse, TdxSVGElement)
 public:
  void DrawCore(TdxSVGCustomRenderer* ARenderer) override;
  String FReference;
  TdxSVGValue FX, FY;
  static TdxSVGClassBindings SVGBindings();
};

class TdxSVGElementNeverRendered : public TdxSVGElement {
  DECLARE_CLASS(TdxSVGElementNeverRendered, TdxSVGElement)
 public:
  void Draw(TdxSVGCustomRenderer*) override {}
};

class TdxSVGElementClipPath : public TdxSVGElementNeverRendered {
  DECLARE_CLASS(TdxSVGElementClipPath, TdxSVGElementNeverRendered)
 public:
  // Clips ARenderer to the outlines of this element's children, in the
  // user space of AElement.
  void ApplyTo(TdxSVGCustomRenderer* ARenderer, TdxSVGElement* AElement);
};

class TdxSVGElementLinearGradientStop;

class TdxSVGElementLinearGradient : public TdxSVGElementNeverRendered {
  DECLARE_CLASS(TdxSVGElementLinearGradient, TdxSVGElementNeverRendered)
 public:
  TdxSVGElementLinearGradient();
  void InitializeBrush(TdxSVGCustomRenderer* ARenderer) override;
  void InitializePen(TdxSVGCustomRenderer* ARenderer) override;
  // Raises EInvalidCast for a child that is not a stop.
  TdxSVGElementLinearGradientStop* GetElement(Integer AIndex) const;
  TdxSVGContentUnits FUnitsType = cuObjectBoundingBox;
  TdxSVGValue FX1, FX2, FY1, FY2;
  static TdxSVGClassBindings SVGBindings();

 private:
  void InitializeBrushCore(TdxSVGCustomRenderer* ARenderer, class TdxSVGBrush* ABrush);
};

class TdxSVGElementLinearGradientStop : public TdxSVGElementNeverRendered {
  DECLARE_CLASS(TdxSVGElementLinearGradientStop, TdxSVGElementNeverRendered)
 public:
  TdxAlphaColor FColor = dxacNone;
  Single FColorOpacity = 1;
  TdxSVGValue FOffset;
  static TdxSVGClassBindings SVGBindings();
};

// ---------------------------------------------------------------------------
// Styles and loader

class TdxSVGStyle : public TdxXMLNodeAttributes {
  DECLARE_CLASS(TdxSVGStyle, TdxXMLNodeAttributes)
 public:
  using TdxXMLNodeAttributes::TdxXMLNodeAttributes;
  String FName;
  // The declarations applied as attributes.
  void Apply(TdxSVGElement* AElement);
};

class TdxSVGStyles : public TObject {
  DECLARE_CLASS(TdxSVGStyles, TObject)
 public:
  TdxSVGStyles();
  ~TdxSVGStyles() override;
  TdxSVGStyle* Add(const String& AName);
  // The style "_inline_%p" of the element's address.
  TdxSVGStyle* AddInline(TdxSVGElement* AReference);
  // Class or tag rules in the order of the class list, then the inline
  // style; parents before children.
  void Apply(TdxSVGElement* AElement);
  bool TryGetStyle(const String& AName, TdxSVGStyle*& AStyle) const;
  TdxSVGStyle* GetItem(const String& AName) const;

 private:
  std::unordered_map<String, TOwned<TdxSVGStyle>> FItems;
};

class TdxSVGLoader {
 public:
  TdxSVGLoader() = delete;
  static void Initialize();
  static void Finalize();
  // Loads the document's "svg" element as a new child of AParent. A
  // document nested deeper than dxSVGMaxNestingLevel raises EdxException.
  static void Load(TdxSVGElement* AParent, TdxXMLDocument* ADocument);
  static void ApplyAttributes(TdxSVGElement* AObject, TdxXMLNodeAttributes* AAttributes);
  static void ApplyAttribute(TdxSVGElement* AObject, TdxXMLNodeAttribute* AAttribute);
  static void ApplyAttribute(TdxSVGElement* AObject, const TdxXMLString& AName,
                             const TdxXMLString& AValue);
  // The element class of a tag (case-sensitive); nil for other tags.
  static TdxSVGElementClass FindElementClass(const TdxXMLString& ATag);

 private:
  static void LoadStyles(TdxSVGStyles* AStyles, TdxXMLNode* ANode);
};

// ---------------------------------------------------------------------------
// Renderers

class TdxSVGBrush : public TdxGPBrush {
  DECLARE_CLASS(TdxSVGBrush, TdxGPBrush)
 public:
  bool FGradientAutoScale = false;
  // Start point in Left, Top; end point in Right, Bottom.
  TdxRectF FGradientLine;
  void CreateGradientBrushHandle(void*& AHandle) override;
  // The colour of the gradient points at a position of the line (padded
  // with the end colours outside 0..1).
  TdxAlphaColor ColorAt(Double APosition) const;

 protected:
  bool NeedRecreateHandleOnTargetRectChange() override {
    return Style() == gpbsGradient && FGradientAutoScale;
  }
};

class TdxSVGPen : public TdxGPPen {
  DECLARE_CLASS(TdxSVGPen, TdxGPPen)
 public:
  TdxGPBrush* CreateBrush() override;
  TdxSVGBrush* Brush() const { return static_cast<TdxSVGBrush*>(TdxGPPen::Brush()); }
  // A dash pattern in pen widths and its offset in pen widths; an empty
  // pattern draws solid. Both survive a re-made native pen.
  void SetDashes(const std::vector<Single>& APattern, Single AOffset);
  const std::vector<Single>& DashPattern() const { return FDashPattern; }
  Single DashOffset() const { return FDashOffset; }

 protected:
  void DoCreateHandle(void*& AHandle) override;

 private:
  std::vector<Single> FDashPattern;
  Single FDashOffset = 0;
};

// Finite and invertible.
bool dxSVGIsUsableTransform(const XFORM& AMatrix);

// The dash pattern (even length, in pen widths) that starts AOffset into
// APattern: the same dashes along a stroke without a dash offset. Entries
// it adds are at least 1e-3 long; the period stays.
std::vector<Single> dxSVGDashPatternFrom(const std::vector<Single>& APattern, Single AOffset);

// A colour with its alpha multiplied by AOpacity below 1; 0 and $00FFFFFF
// stay.
TdxAlphaColor dxGpApplyOpacity(TdxAlphaColor AColor, Single AOpacity);

// What reference resolution shares between a renderer and the collectors it
// makes: the elements being resolved, and the count of referenced elements
// drawn so far.
struct TdxSVGReferenceState {
  std::vector<TdxSVGElement*> Active;
  Integer ReferencedCount = 0;
  Integer ReferenceDepth = 0;
  Integer DrawDepth = 0;
};

class TdxSVGCustomRenderer : public TObject {
  DECLARE_CLASS(TdxSVGCustomRenderer, TObject)
 public:
  explicit TdxSVGCustomRenderer(IdxColorPalette* APalette = nullptr,
                                TdxSVGReferenceState* ASharedState = nullptr);
  ~TdxSVGCustomRenderer() override;

  virtual Single TransformPenWidth(Single AWidth) { return AWidth; }
  virtual void Ellipse(Single ACenterX, Single ACenterY, Single ARadiusX, Single ARadiusY) = 0;
  virtual void Line(Single X1, Single Y1, Single X2, Single Y2) = 0;
  virtual void Path(TdxGPPath* APath) = 0;
  virtual void Polygon(const std::vector<TdxPointF>& APoints) = 0;
  virtual void Polyline(const std::vector<TdxPointF>& APoints) = 0;
  virtual void Rectangle(Single X, Single Y, Single AWidth, Single AHeight) = 0;
  virtual void RoundRect(Single X, Single Y, Single AWidth, Single AHeight, Single ARadiusX,
                         Single ARadiusY) = 0;
  virtual void TextOut(Single X, Single Y, const String& AText, TdxGPFont* AFont) = 0;
  virtual Single ModifyOpacity(Single AOpacity);
  virtual void SetOpacity(Single AOpacity);
  virtual void RestoreClipRegion() = 0;
  virtual void SaveClipRegion() = 0;
  virtual void SetClipRegion(TdxGPPath* APath, CombineMode AMode) = 0;
  virtual void ModifyWorldTransform(const XFORM& AMatrix) = 0;
  virtual void RestoreWorldTransform() = 0;
  virtual void SaveWorldTransform() = 0;
  // Whether the matrix, and the transform in force with it, can be drawn
  // through: finite and invertible.
  virtual bool CanApplyTransform(const XFORM& AMatrix);

  TdxAlphaColor ApplyOpacity(TdxAlphaColor AColor) const;
  TdxSVGBrush* Brush() const { return FBrush.get(); }
  TdxSVGPen* Pen() const { return FPen.get(); }
  Single Opacity() const { return FOpacity; }
  IdxColorPalette* Palette() const { return FPalette; }

  // Reference guards: false when AElement is already being resolved or the
  // referenced-element budget is spent; a true answer must be paired with
  // EndReference.
  bool BeginReference(TdxSVGElement* AElement, bool ACountsAsDrawn);
  void EndReference(TdxSVGElement* AElement);
  bool IsBeingResolved(TdxSVGElement* AElement) const;
  TdxSVGReferenceState* ReferenceState() const { return FState; }

  // A rounded rectangle as SVG draws it: radii at most half the sides.
  static void AddRoundRect(TdxGPPath* APath, Single X, Single Y, Single AWidth, Single AHeight,
                           Single ARadiusX, Single ARadiusY);

 protected:
  // A path of the text's outline in the rectangle (X, Y, text width, text
  // height).
  static TdxGPPath* CreateTextPath(Single X, Single Y, const String& AText, TdxGPFont* AFont);

 private:
  TOwned<TdxSVGBrush> FBrush;
  Single FOpacity = 1;
  bool FOpacityAssigned = false;
  IdxColorPalette* FPalette;
  TOwned<TdxSVGPen> FPen;
  TdxSVGReferenceState FOwnState;
  TdxSVGReferenceState* FState;
};

class TdxSVGRenderer : public TdxSVGCustomRenderer {
  DECLARE_CLASS(TdxSVGRenderer, TdxSVGCustomRenderer)
 public:
  TdxSVGRenderer(TdxGPCanvas* ACanvas, IdxColorPalette* APalette);
  // w·sqrt(|det|) of the linear part of the canvas transform.
  Single TransformPenWidth(Single AWidth) override;
  void Ellipse(Single ACenterX, Single ACenterY, Single ARadiusX, Single ARadiusY) override;
  void Line(Single X1, Single Y1, Single X2, Single Y2) override;
  void Path(TdxGPPath* APath) override;
  void Polygon(const std::vector<TdxPointF>& APoints) override;
  void Polyline(const std::vector<TdxPointF>& APoints) override;
  void Rectangle(Single X, Single Y, Single AWidth, Single AHeight) override;
  void RoundRect(Single X, Single Y, Single AWidth, Single AHeight, Single ARadiusX,
                 Single ARadiusY) override;
  void TextOut(Single X, Single Y, const String& AText, TdxGPFont* AFont) override;
  void RestoreClipRegion() override;
  void SaveClipRegion() override;
  void SetClipRegion(TdxGPPath* APath, CombineMode AMode) override;
  void ModifyWorldTransform(const XFORM& AMatrix) override;
  void RestoreWorldTransform() override;
  void SaveWorldTransform() override;
  bool CanApplyTransform(const XFORM& AMatrix) override;
  TdxGPCanvas* Canvas() const { return FCanvas; }

 private:
  TdxGPPen* ActivePen();
  TdxGPBrush* ActiveBrush();
  // Bounds in device pixels of a rectangle in user units.
  TdxRectF DeviceBounds(const TdxRectF& ABounds);
  // How far past a shape's bounds the pen can paint, in device pixels.
  static Single PenReach(TdxGPPen* APen);
  // The visible area in device pixels, widened on every side by AMargin.
  TdxRectF VisibleDeviceRect(Single AMargin);
  // Whether a shape with these bounds (user units), stroked with APen, can
  // paint anything visible.
  bool IsVisible(const TdxRectF& ABounds, TdxGPPen* APen);
  // Whether the shape's stroke lies too far out for GDI+ to draw as it is.
  bool IsFarStroke(const TdxRectF& ABounds);
  // The stroke of the path flattened and cut to the visible area.
  void StrokeFarPath(TdxGPPath* APath, TdxGPPen* APen);
  void DrawPath(TdxGPPath* APath);
  // The pen for a stroke of that length in user units (nil without a
  // stroke); a dash pattern too fine for the length is dropped.
  TdxGPPen* StrokePen(const std::function<Double()>& AWorldLength);
  TdxGPCanvas* FCanvas;
};

class TdxSVGRendererClipPath : public TdxSVGCustomRenderer {
  DECLARE_CLASS(TdxSVGRendererClipPath, TdxSVGCustomRenderer)
 public:
  explicit TdxSVGRendererClipPath(TdxSVGReferenceState* ASharedState = nullptr);
  void Ellipse(Single ACenterX, Single ACenterY, Single ARadiusX, Single ARadiusY) override;
  void Line(Single X1, Single Y1, Single X2, Single Y2) override;
  void Path(TdxGPPath* APath) override;
  void Polygon(const std::vector<TdxPointF>& APoints) override;
  void Polyline(const std::vector<TdxPointF>& APoints) override;
  void Rectangle(Single X, Single Y, Single AWidth, Single AHeight) override;
  void RoundRect(Single X, Single Y, Single AWidth, Single AHeight, Single ARadiusX,
                 Single ARadiusY) override;
  void TextOut(Single X, Single Y, const String& AText, TdxGPFont* AFont) override;
  void RestoreClipRegion() override {}
  void SaveClipRegion() override {}
  void SetClipRegion(TdxGPPath*, CombineMode) override {}
  void ModifyWorldTransform(const XFORM& AMatrix) override;
  void RestoreWorldTransform() override;
  void SaveWorldTransform() override;
  bool CanApplyTransform(const XFORM& AMatrix) override;
  TdxGPPath* ClipPath() const { return FClipPath.get(); }

 private:
  // Adds a shape transformed by the current transform as its own figure.
  void AddShape(TdxGPPath* AShape);
  TOwned<TdxGPPath> FClipPath;
  std::vector<XFORM> FSavedTransforms;
  XFORM FTransform;
};

void dxSVGCore_Initialize();
void dxSVGCore_Finalize();
