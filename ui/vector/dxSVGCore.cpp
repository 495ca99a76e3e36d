#include "dxSVGCore.h"

#include <algorithm>
#include <cmath>
#include <cwctype>

IMPLEMENT_CREATABLE_CLASS(TdxSVGElement)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementRoot)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementGroup)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementCircle)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementEllipse)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementLine)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementPath)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementPolygon)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementPolyline)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementRectangle)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementText)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementUse)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementNeverRendered)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementClipPath)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementLinearGradient)
IMPLEMENT_CREATABLE_CLASS(TdxSVGElementLinearGradientStop)
IMPLEMENT_CREATABLE_CLASS(TdxSVGStyle)
IMPLEMENT_CLASS(TdxSVGStyles)

namespace {
bool SameID(const String& A, const String& B) {
  if (A.size() != B.size()) return false;
  for (size_t I = 0; I < A.size(); ++I)
    if (std::towlower(A[I]) != std::towlower(B[I])) return false;
  return true;
}
}  // namespace

// ---------------------------------------------------------------------------
// Element

TdxSVGElement::TdxSVGElement()
    : FStrokeDashArray(Create<TdxSVGValues>()), FTransform(Create<TdxMatrix>()) {}

TdxSVGElement::~TdxSVGElement() = default;

TdxSVGElementRoot* TdxSVGElement::GetRoot() { return FParent ? FParent->GetRoot() : nullptr; }

void TdxSVGElement::Add(TdxSVGElement* AElement) {
  if (!AElement) return;
  AElement->FParent = this;
  FChildren.emplace_back(AElement);
}

TdxSVGElement* TdxSVGElement::Elements(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= Count())
    throw EInvalidArgument(Format(L"List index out of bounds (%d)", {AIndex}));
  return FChildren[static_cast<size_t>(AIndex)].get();
}

void TdxSVGElement::SetOpacity(Single AValue) { FOpacity = std::clamp(AValue, 0.0f, 1.0f); }

void TdxSVGElement::SetFillOpacity(Single AValue) { FFillOpacity = std::clamp(AValue, 0.0f, 1.0f); }

void TdxSVGElement::SetStrokeSize(Single AValue) {
  if (AValue >= 0) FStrokeSize = AValue;
}

bool TdxSVGElement::FindByID(const String& ID, TdxSVGElement*& AElement) {
  if (ID.empty()) return false;
  // Iterative form of "own children first, then each child's search", so
  // that no nesting depth reaches the stack.
  struct TFrame {
    TdxSVGElement* Element;
    size_t Next;
  };
  std::vector<TFrame> Stack{{this, 0}};
  while (!Stack.empty()) {
    TFrame& F = Stack.back();
    if (F.Next == 0) {
      for (const TOwned<TdxSVGElement>& C : F.Element->FChildren)
        if (C->FID.size() == ID.size() && SameID(C->FID, ID)) {
          AElement = C.get();
          return true;
        }
    }
    if (F.Next < F.Element->FChildren.size()) {
      TdxSVGElement* Child = F.Element->FChildren[F.Next++].get();
      Stack.push_back({Child, 0});
    } else {
      Stack.pop_back();
    }
  }
  return false;
}

TdxSVGFill TdxSVGElement::GetActualFill(IdxColorPalette* APalette) {
  for (TdxSVGElement* E = this; E; E = E->FParent) {
    if (APalette) {
      const TdxAlphaColor C = APalette->GetFillColor(E->FStyleName);
      if (C != dxacDefault) return TdxSVGFill::Create(C);
    }
    if (!E->FFill.IsDefault()) return E->FFill;
  }
  return TdxSVGFill::Create(TdxAlphaColors::FromArgb(0, 0, 0));
}

TdxSVGFill TdxSVGElement::GetActualStroke(IdxColorPalette* APalette) {
  for (TdxSVGElement* E = this; E; E = E->FParent) {
    if (APalette && !E->FStroke.IsDefault()) {
      const TdxAlphaColor C = APalette->GetStrokeColor(E->FStyleName);
      if (C != dxacDefault) return TdxSVGFill::Create(C);
    }
    if (!E->FStroke.IsDefault()) return E->FStroke;
  }
  return TdxSVGFill::Create(dxacNone);
}

TdxGPFillMode TdxSVGElement::GetActualFillMode() {
  for (TdxSVGElement* E = this; E; E = E->FParent) {
    if (E->FFillMode == fmNonZero) return gpfmWinding;
    if (E->FFillMode == fmEvenOdd) return gpfmAlternate;
  }
  return gpfmWinding;
}

const TdxSVGValues* TdxSVGElement::GetActualStrokeDashArray() {
  for (TdxSVGElement* E = this; E; E = E->FParent)
    if (E->FStrokeDashArray->Count() > 0) return E->FStrokeDashArray.get();
  return FStrokeDashArray.get();
}

Single TdxSVGElement::GetActualStrokeDashOffset() {
  for (TdxSVGElement* E = this; E; E = E->FParent)
    if (E->FStrokeDashOffset >= 0) return E->FStrokeDashOffset;
  return 0;
}

TdxSVGLineCapStyle TdxSVGElement::GetActualStrokeLineCap() {
  for (TdxSVGElement* E = this; E; E = E->FParent)
    if (E->FStrokeLineCap != lcsDefault) return E->FStrokeLineCap;
  return lcsDefault;
}

Single TdxSVGElement::GetActualStrokeSize() {
  for (TdxSVGElement* E = this; E; E = E->FParent)
    if (E->IsStrokeSizeAssigned()) return E->FStrokeSize;
  return 1;
}

TdxSizeF TdxSVGElement::ParentSize() {
  TdxSVGElementRoot* R = GetRoot();
  return R ? R->GetSize() : TdxSizeF{};
}

Single TdxSVGElement::XToPixels(const TdxSVGValue& AValue) {
  return AValue.UnitsType == utPercents ? AValue.ToPixels(96, ParentSize().cx)
                                        : AValue.ToPixels(96, 0);
}

Single TdxSVGElement::YToPixels(const TdxSVGValue& AValue) {
  return AValue.UnitsType == utPercents ? AValue.ToPixels(96, ParentSize().cy)
                                        : AValue.ToPixels(96, 0);
}

// ---------------------------------------------------------------------------

TdxSVGElementRoot::TdxSVGElementRoot()
    : FBackground(Create<TdxSVGRect>()), FViewBox(Create<TdxSVGRect>()) {}

TdxSizeF TdxSVGElementRoot::GetSize() {
  TdxSizeF Result{FViewBox->GetWidth(), FViewBox->GetHeight()};
  if (!FWidth.IsEmpty() && FWidth.UnitsType != utPercents) Result.cx = FWidth.ToPixels(96);
  if (!FHeight.IsEmpty() && FHeight.UnitsType != utPercents) Result.cy = FHeight.ToPixels(96);
  return Result;
}

TdxSVGElementPath::TdxSVGElementPath() : FPath(Create<TdxGPPath>()) {}

TdxSVGElementPolygon::TdxSVGElementPolygon() : FPoints(Create<TdxSVGPoints>()) {}

String TdxSVGElementText::GetFontAsStyleString() const {
  return TdxSVGFontStyleString::Build(FFontName, FFontStyles, FFontSize);
}

void TdxSVGElementText::SetFontAsStyleString(const String& AValue) {
  String Name;
  TFontStyles Styles;
  Single Size;
  if (!TdxSVGFontStyleString::Parse(AValue, Name, Styles, Size)) return;
  FFontName = Name;
  FFontStyles = Styles;
  FFontSize = Size;
}

TdxSVGElementLinearGradient::TdxSVGElementLinearGradient() { FX2 = TdxSVGValue::Create(1); }

TdxSVGElementLinearGradientStop* TdxSVGElementLinearGradient::GetElement(Integer AIndex) const {
  auto* Stop = dynamic_cast<TdxSVGElementLinearGradientStop*>(Elements(AIndex));
  if (!Stop) throw EInvalidCast(L"Invalid class typecast");
  return Stop;
}

// ---------------------------------------------------------------------------
// Bindings, per class in declaration order

namespace {
template <class T>
T* As(TdxSVGElement* E) {
  return static_cast<T*>(E);
}

TdxSVGPropertyInfo StringProperty(const wchar_t* AName,
                                  void (*ASet)(TdxSVGElement*, const String&)) {
  TdxSVGPropertyInfo P{AName, TdxSVGPropertyKind::String};
  P.SetString = ASet;
  return P;
}
TdxSVGPropertyInfo SingleProperty(const wchar_t* AName, void (*ASet)(TdxSVGElement*, Single)) {
  TdxSVGPropertyInfo P{AName, TdxSVGPropertyKind::Single};
  P.SetSingle = ASet;
  return P;
}
TdxSVGPropertyInfo OrdinalProperty(const wchar_t* AName, void (*ASet)(TdxSVGElement*, Integer)) {
  TdxSVGPropertyInfo P{AName, TdxSVGPropertyKind::Ordinal};
  P.SetOrdinal = ASet;
  return P;
}
TdxSVGPropertyInfo ValueProperty(const wchar_t* AName,
                                 void (*ASet)(TdxSVGElement*, const TdxSVGValue&)) {
  TdxSVGPropertyInfo P{AName, TdxSVGPropertyKind::Value};
  P.SetValue = ASet;
  return P;
}
TdxSVGPropertyInfo FillProperty(const wchar_t* AName,
                                void (*ASet)(TdxSVGElement*, const TdxSVGFill&)) {
  TdxSVGPropertyInfo P{AName, TdxSVGPropertyKind::Fill};
  P.SetFill = ASet;
  return P;
}
TdxSVGPropertyInfo ObjectProperty(const wchar_t* AName, TObject* (*AGet)(TdxSVGElement*)) {
  TdxSVGPropertyInfo P{AName, TdxSVGPropertyKind::Object};
  P.GetObject = AGet;
  return P;
}

#define DX_VALUE_FIELD(Class_, Field_) \
  [](TdxSVGElement* E, const TdxSVGValue& V) { As<Class_>(E)->Field_ = V; }

const TdxSVGPropertyBinding* ElementBindings(Integer& ACount) {
  static const TdxSVGPropertyBinding Items[] = {
      {StringProperty(L"ID", [](TdxSVGElement* E, const String& V) { E->SetID(V); }),
       {{"id", nullptr}},
       1},
      {StringProperty(L"ClipPath", [](TdxSVGElement* E, const String& V) { E->SetClipPath(V); }),
       {{"clip-path", &TdxSVGAdapterReferenceValue::Instance}},
       1},
      {FillProperty(L"Fill", [](TdxSVGElement* E, const TdxSVGFill& V) { E->SetFill(V); }),
       {{"fill", &TdxSVGAdapterFillValue::Instance}},
       1},
      {OrdinalProperty(
           L"FillMode",
           [](TdxSVGElement* E, Integer V) { E->SetFillMode(static_cast<TdxSVGFillMode>(V)); }),
       {{"fill-rule", &TdxSVGAdapterFillRuleValue::Instance}},
       1},
      {SingleProperty(L"FillOpacity", [](TdxSVGElement* E, Single V) { E->SetFillOpacity(V); }),
       {{"fill-opacity", nullptr}},
       1},
      {SingleProperty(L"Opacity", [](TdxSVGElement* E, Single V) { E->SetOpacity(V); }),
       {{"opacity", nullptr}},
       1},
      {FillProperty(L"Stroke", [](TdxSVGElement* E, const TdxSVGFill& V) { E->SetStroke(V); }),
       {{"stroke", &TdxSVGAdapterFillValue::Instance}},
       1},
      {ObjectProperty(L"StrokeDashArray",
                      [](TdxSVGElement* E) -> TObject* { return E->StrokeDashArray(); }),
       {{"stroke-dasharray", &TdxSVGAdapterNumbersValue::Instance}},
       1},
      {SingleProperty(L"StrokeDashOffset",
                      [](TdxSVGElement* E, Single V) { E->SetStrokeDashOffset(V); }),
       {{"stroke-dashoffset", nullptr}},
       1},
      // A percentage of nothing (no parent size reaches this binding) would
      // read as 0, which means no stroke: it stays unset and inherits.
      {ValueProperty(L"StrokeSize",
                     [](TdxSVGElement* E, const TdxSVGValue& V) {
                       if (V.UnitsType != utPercents) E->SetStrokeSize(V.ToPixels(96, 0));
                     }),
       {{"stroke-width", &TdxSVGAdapterSizeValue::Instance}},
       1},
      {OrdinalProperty(L"StrokeLineCap",
                       [](TdxSVGElement* E, Integer V) {
                         E->SetStrokeLineCap(static_cast<TdxSVGLineCapStyle>(V));
                       }),
       {{"stroke-linecap", &TdxSVGAdapterLineCap::Instance}},
       1},
      {OrdinalProperty(L"StrokeLineJoin",
                       [](TdxSVGElement* E, Integer V) {
                         E->SetStrokeLineJoin(static_cast<TdxGpLineJoin>(V));
                       }),
       {{"stroke-linejoin", &TdxSVGAdapterLineJoin::Instance}},
       1},
      {SingleProperty(L"StrokeMiterLimit",
                      [](TdxSVGElement* E, Single V) { E->SetStrokeMiterLimit(V); }),
       {{"stroke-miterlimit", nullptr}},
       1},
      {StringProperty(L"StyleName", [](TdxSVGElement* E, const String& V) { E->SetStyleName(V); }),
       {{"class", nullptr}},
       1},
      {ObjectProperty(L"Transform", [](TdxSVGElement* E) -> TObject* { return E->Transform(); }),
       {{"transform", &TdxSVGAdapterTransformValue::Instance}},
       1},
  };
  ACount = static_cast<Integer>(std::size(Items));
  return Items;
}

#define DX_SIZE_BINDING(Class_, Name_, Field_, Attribute_)   \
  {                                                          \
    ValueProperty(Name_, DX_VALUE_FIELD(Class_, Field_)),    \
        {{Attribute_, &TdxSVGAdapterSizeValue::Instance}}, 1 \
  }

#define DX_BINDINGS(Class_, ...)                                               \
  TdxSVGClassBindings Class_::SVGBindings() {                                  \
    static const TdxSVGPropertyBinding Items[] = {__VA_ARGS__};                \
    return TdxSVGClassBindings{Items, static_cast<Integer>(std::size(Items))}; \
  }
}  // namespace

TdxSVGClassBindings TdxSVGElement::SVGBindings() {
  Integer Count;
  const TdxSVGPropertyBinding* Items = ElementBindings(Count);
  return TdxSVGClassBindings{Items, Count};
}

DX_BINDINGS(TdxSVGElementRoot,
            {ObjectProperty(L"Background",
                            [](TdxSVGElement* E) -> TObject* {
                              return As<TdxSVGElementRoot>(E)->Background();
                            }),
             {{"enable-background", &TdxSVGAdapterRectValue::Instance}},
             1},
            DX_SIZE_BINDING(TdxSVGElementRoot, L"Height", FHeight, "height"),
            {ObjectProperty(L"ViewBox",
                            [](TdxSVGElement* E) -> TObject* {
                              return As<TdxSVGElementRoot>(E)->ViewBox();
                            }),
             {{"viewBox", &TdxSVGAdapterRectValue::Instance}},
             1},
            DX_SIZE_BINDING(TdxSVGElementRoot, L"Width", FWidth, "width"))

DX_BINDINGS(TdxSVGElementCircle, DX_SIZE_BINDING(TdxSVGElementCircle, L"Radius", FRadius, "r"),
            DX_SIZE_BINDING(TdxSVGElementCircle, L"CenterX", FCenterX, "cx"),
            DX_SIZE_BINDING(TdxSVGElementCircle, L"CenterY", FCenterY, "cy"))

DX_BINDINGS(TdxSVGElementEllipse, DX_SIZE_BINDING(TdxSVGElementEllipse, L"CenterX", FCenterX, "cx"),
            DX_SIZE_BINDING(TdxSVGElementEllipse, L"CenterY", FCenterY, "cy"),
            DX_SIZE_BINDING(TdxSVGElementEllipse, L"RadiusX", FRadiusX, "rx"),
            DX_SIZE_BINDING(TdxSVGElementEllipse, L"RadiusY", FRadiusY, "ry"))

DX_BINDINGS(TdxSVGElementLine, DX_SIZE_BINDING(TdxSVGElementLine, L"X2", FX2, "x2"),
            DX_SIZE_BINDING(TdxSVGElementLine, L"Y2", FY2, "y2"),
            DX_SIZE_BINDING(TdxSVGElementLine, L"X1", FX1, "x1"),
            DX_SIZE_BINDING(TdxSVGElementLine, L"Y1", FY1, "y1"))

DX_BINDINGS(TdxSVGElementPath, {ObjectProperty(L"Path",
                                               [](TdxSVGElement* E) -> TObject* {
                                                 return As<TdxSVGElementPath>(E)->Path();
                                               }),
                                {{"d", &TdxSVGAdapterPathValue::Instance}},
                                1})

DX_BINDINGS(TdxSVGElementPolygon, {ObjectProperty(L"Points",
                                                  [](TdxSVGElement* E) -> TObject* {
                                                    return As<TdxSVGElementPolygon>(E)->Points();
                                                  }),
                                   {{"points", &TdxSVGAdapterPointsValue::Instance}},
                                   1})

DX_BINDINGS(TdxSVGElementRectangle,
            DX_SIZE_BINDING(TdxSVGElementRectangle, L"CornerRadiusX", FCornerRadiusX, "rx"),
            DX_SIZE_BINDING(TdxSVGElementRectangle, L"CornerRadiusY", FCornerRadiusY, "ry"),
            DX_SIZE_BINDING(TdxSVGElementRectangle, L"Height", FHeight, "height"),
            DX_SIZE_BINDING(TdxSVGElementRectangle, L"Width", FWidth, "width"),
            DX_SIZE_BINDING(TdxSVGElementRectangle, L"X", FX, "x"),
            DX_SIZE_BINDING(TdxSVGElementRectangle, L"Y", FY, "y"))

DX_BINDINGS(
    TdxSVGElementText, DX_SIZE_BINDING(TdxSVGElementText, L"DX", FDX, "dx"),
    DX_SIZE_BINDING(TdxSVGElementText, L"DY", FDY, "dy"),
    {StringProperty(L"FontAsStyleString",
                    [](TdxSVGElement* E, const String& V) {
                      As<TdxSVGElementText>(E)->SetFontAsStyleString(V);
                    }),
     {{"font", nullptr}},
     1},
    {StringProperty(L"FontName", [](TdxSVGElement* E,
                                    const String& V) { As<TdxSVGElementText>(E)->FFontName = V; }),
     {{"font-family", nullptr}},
     1},
    {SingleProperty(L"FontSize",
                    [](TdxSVGElement* E, Single V) { As<TdxSVGElementText>(E)->FFontSize = V; }),
     {{"font-size", &TdxSVGAdapterSizeValue::Instance}},
     1},
    {[] {
       TdxSVGPropertyInfo P{L"FontStyles", TdxSVGPropertyKind::FontStyles};
       P.GetFontStyles = [](TdxSVGElement* E) { return As<TdxSVGElementText>(E)->FFontStyles; };
       P.SetFontStyles = [](TdxSVGElement* E, TFontStyles V) {
         As<TdxSVGElementText>(E)->FFontStyles = V;
       };
       return P;
     }(),
     {{"font-weight", &TdxSVGAdapterFontStyleValue::Instance},
      {"font-style", &TdxSVGAdapterFontStyleValue::Instance}},
     2},
    {StringProperty(L"Text",
                    [](TdxSVGElement* E, const String& V) { As<TdxSVGElementText>(E)->FText = V; }),
     {{"_nodeText", nullptr}},
     1},
    {OrdinalProperty(L"TextAnchor",
                     [](TdxSVGElement* E, Integer V) {
                       As<TdxSVGElementText>(E)->FTextAnchor = static_cast<TdxSVGTextAnchor>(V);
                     }),
     {{"text-anchor", &TdxSVGAdapterTextAnchorValue::Instance}},
     1},
    DX_SIZE_BINDING(TdxSVGElementText, L"X", FX, "x"),
    DX_SIZE_BINDING(TdxSVGElementText, L"Y", FY, "y"))

DX_BINDINGS(TdxSVGElementUse,
            {StringProperty(L"Reference",
                            [](TdxSVGElement* E, const String& V) {
                              As<TdxSVGElementUse>(E)->FReference = V;
                            }),
             {{"href", &TdxSVGAdapterReferenceValue::Instance},
              {"xlink:href", &TdxSVGAdapterReferenceValue::Instance}},
             2},
            DX_SIZE_BINDING(TdxSVGElementUse, L"X", FX, "x"),
            DX_SIZE_BINDING(TdxSVGElementUse, L"Y", FY, "y"))

DX_BINDINGS(TdxSVGElementLinearGradient,
            {OrdinalProperty(L"UnitsType",
                             [](TdxSVGElement* E, Integer V) {
                               As<TdxSVGElementLinearGradient>(E)->FUnitsType =
                                   static_cast<TdxSVGContentUnits>(V);
                             }),
             {{"gradientUnits", &TdxSVGAdapterContentUnitsValue::Instance}},
             1},
            DX_SIZE_BINDING(TdxSVGElementLinearGradient, L"X1", FX1, "x1"),
            DX_SIZE_BINDING(TdxSVGElementLinearGradient, L"X2", FX2, "x2"),
            DX_SIZE_BINDING(TdxSVGElementLinearGradient, L"Y1", FY1, "y1"),
            DX_SIZE_BINDING(TdxSVGElementLinearGradient, L"Y2", FY2, "y2"))

DX_BINDINGS(TdxSVGElementLinearGradientStop,
            {OrdinalProperty(L"Color",
                             [](TdxSVGElement* E, Integer V) {
                               As<TdxSVGElementLinearGradientStop>(E)->FColor =
                                   static_cast<TdxAlphaColor>(V);
                             }),
             {{"stop-color", &TdxSVGAdapterColorValue::Instance}},
             1},
            {SingleProperty(L"ColorOpacity",
                            [](TdxSVGElement* E, Single V) {
                              As<TdxSVGElementLinearGradientStop>(E)->FColorOpacity =
                                  std::clamp(V, 0.0f, 1.0f);
                            }),
             {{"stop-opacity", &TdxSVGAdapterSizeValue::Instance}},
             1},
            DX_SIZE_BINDING(TdxSVGElementLinearGradientStop, L"Offset", FOffset, "offset"))

// ---------------------------------------------------------------------------
// Adapters' Load

void TdxSVGAdapterColorValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                   const String& AValue) const {
  const TdxAlphaColor C = StringToAlphaColor(AValue);
  if (C != dxacDefault && AProperty.SetOrdinal)
    AProperty.SetOrdinal(AObject, static_cast<Integer>(C));
}

void TdxSVGAdapterFillValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                  const String& AValue) const {
  const TdxSVGFill F = StringToFill(AValue);
  if (!F.IsDefault() && AProperty.SetFill) AProperty.SetFill(AObject, F);
}

void TdxSVGAdapterReferenceValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                       const String& AValue) const {
  String Reference;
  if (TryStringToReference(AValue, Reference) && AProperty.SetString)
    AProperty.SetString(AObject, Reference);
}

void TdxSVGAdapterContentUnitsValue::Load(TdxSVGElement* AObject,
                                          const TdxSVGPropertyInfo& AProperty,
                                          const String& AValue) const {
  if (AProperty.SetOrdinal) AProperty.SetOrdinal(AObject, StringToContentUnits(AValue));
}

void TdxSVGAdapterFillRuleValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                      const String& AValue) const {
  if (AProperty.SetOrdinal) AProperty.SetOrdinal(AObject, StringToFillRule(AValue));
}

void TdxSVGAdapterLineCap::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                const String& AValue) const {
  if (AProperty.SetOrdinal) AProperty.SetOrdinal(AObject, StringToLineCap(AValue));
}

void TdxSVGAdapterLineJoin::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                 const String& AValue) const {
  if (AProperty.SetOrdinal) AProperty.SetOrdinal(AObject, StringToLineJoin(AValue));
}

void TdxSVGAdapterTextAnchorValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                        const String& AValue) const {
  if (AProperty.SetOrdinal) AProperty.SetOrdinal(AObject, StringToTextAnchor(AValue));
}

void TdxSVGAdapterFontStyleValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                       const String& AValue) const {
  TFontStyle Style;
  if (!AProperty.GetFontStyles || !TdxSVGFontStyleString::TryStringToFontStyle(AValue, Style))
    return;
  TFontStyles Styles = AProperty.GetFontStyles(AObject);
  Styles.Include(Style);
  AProperty.SetFontStyles(AObject, Styles);
}

void TdxSVGAdapterNumbersValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                     const String& AValue) const {
  if (auto* L =
          dynamic_cast<TdxSVGValues*>(AProperty.GetObject ? AProperty.GetObject(AObject) : nullptr))
    TdxSVGParserNumbers::AsNumbers(AValue, L->Data());
}

void TdxSVGAdapterPointsValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                    const String& AValue) const {
  if (auto* L =
          dynamic_cast<TdxSVGPoints*>(AProperty.GetObject ? AProperty.GetObject(AObject) : nullptr))
    TdxSVGParserNumbers::AsPoints(AValue, L);
}

void TdxSVGAdapterRectValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                  const String& AValue) const {
  if (auto* R =
          dynamic_cast<TdxSVGRect*>(AProperty.GetObject ? AProperty.GetObject(AObject) : nullptr))
    R->FValue = TdxSVGParserRect::Parse(AValue);
}

void TdxSVGAdapterPathValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                  const String& AValue) const {
  auto* Path =
      dynamic_cast<TdxGPPath*>(AProperty.GetObject ? AProperty.GetObject(AObject) : nullptr);
  if (!Path) return;
  TOwned<TdxSVGParserPath> Parser(Create<TdxSVGParserPath>());
  Parser->Parse(AValue);
  for (Integer I = 0; I < Parser->GetCommandCount(); ++I) Parser->GetCommand(I)->Append(Path);
}

void TdxSVGAdapterTransformValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                       const String& AValue) const {
  if (auto* M =
          dynamic_cast<TdxMatrix*>(AProperty.GetObject ? AProperty.GetObject(AObject) : nullptr))
    TdxSVGParserTransform::Parse(AValue, M);
}

void TdxSVGAdapterSizeValue::Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                                  const String& AValue) const {
  TdxSVGValue V;
  if (!TdxSVGParserValue::Parse(AValue, V)) return;
  try {
    if (AProperty.Kind == TdxSVGPropertyKind::Value)
      AProperty.SetValue(AObject, V);
    else if (AProperty.Kind == TdxSVGPropertyKind::Single)
      AProperty.SetSingle(AObject, V.ToPixels(96, 0));
  } catch (const Exception&) {
  }
}

const TdxSVGAdapterColorValue TdxSVGAdapterColorValue::Instance;
const TdxSVGAdapterFillValue TdxSVGAdapterFillValue::Instance;
const TdxSVGAdapterReferenceValue TdxSVGAdapterReferenceValue::Instance;
const TdxSVGAdapterContentUnitsValue TdxSVGAdapterContentUnitsValue::Instance;
const TdxSVGAdapterFillRuleValue TdxSVGAdapterFillRuleValue::Instance;
const TdxSVGAdapterLineCap TdxSVGAdapterLineCap::Instance;
const TdxSVGAdapterLineJoin TdxSVGAdapterLineJoin::Instance;
const TdxSVGAdapterTextAnchorValue TdxSVGAdapterTextAnchorValue::Instance;
const TdxSVGAdapterFontStyleValue TdxSVGAdapterFontStyleValue::Instance;
const TdxSVGAdapterNumbersValue TdxSVGAdapterNumbersValue::Instance;
const TdxSVGAdapterPointsValue TdxSVGAdapterPointsValue::Instance;
const TdxSVGAdapterRectValue TdxSVGAdapterRectValue::Instance;
const TdxSVGAdapterPathValue TdxSVGAdapterPathValue::Instance;
const TdxSVGAdapterTransformValue TdxSVGAdapterTransformValue::Instance;
const TdxSVGAdapterSizeValue TdxSVGAdapterSizeValue::Instance;

// ---------------------------------------------------------------------------
// Loader

namespace {
struct TResolvedAlias {
  const TdxSVGPropertyInfo* Property;
  const TdxSVGAdapterValue* Adapter;
};
using TAliasMap = std::unordered_map<std::string, TResolvedAlias>;

struct TElementClassInfo {
  const char* Tag;
  TClass Class;
  TdxSVGClassBindings (*Bindings)();
  TAliasMap Aliases;
};

std::vector<TElementClassInfo>* ElementMap = nullptr;

TdxSVGClassBindings NoBindings() { return TdxSVGClassBindings{nullptr, 0}; }

// The bindings a class declares itself.
TdxSVGClassBindings OwnBindings(TClass AClass) {
  if (AClass == TdxSVGElement::StaticClass()) return TdxSVGElement::SVGBindings();
  for (const TElementClassInfo& I : *ElementMap)
    if (I.Class == AClass) return I.Bindings();
  return NoBindings();
}

// The lookup order of a class: its own bindings, then each ancestor's;
// within a class its properties in order; within a property its aliases in
// order; the first alias of a name wins.
TAliasMap ResolveAliases(TClass AClass) {
  TAliasMap Result;
  for (TClass C = AClass; C && C->InheritsFrom(TdxSVGElement::StaticClass()); C = C->Parent) {
    const TdxSVGClassBindings B = OwnBindings(C);
    for (Integer I = 0; I < B.Count; ++I)
      for (Integer A = 0; A < B.Items[I].AliasCount; ++A)
        Result.emplace(B.Items[I].Aliases[A].FName,
                       TResolvedAlias{&B.Items[I].Property, B.Items[I].Aliases[A].FAdapter});
  }
  return Result;
}

const TElementClassInfo* FindClassInfo(TClass AClass) {
  if (!ElementMap) return nullptr;
  for (const TElementClassInfo& I : *ElementMap)
    if (I.Class == AClass) return &I;
  return nullptr;
}

const TAliasMap& AliasesOf(TClass AClass) {
  if (const TElementClassInfo* I = FindClassInfo(AClass)) return I->Aliases;
  // Classes outside the tag map (the plain container element, classes of
  // tests) resolve on each call.
  static thread_local TAliasMap Scratch;
  Scratch = ResolveAliases(AClass);
  return Scratch;
}

void StoreByKind(TdxSVGElement* AObject, const TdxSVGPropertyInfo& P, const TdxXMLString& AValue) {
  switch (P.Kind) {
    case TdxSVGPropertyKind::String:
      P.SetString(AObject, AValue.ToString());
      break;
    case TdxSVGPropertyKind::Single:
      P.SetSingle(AObject, dxSVGStrToFloat(AValue.ToString()));
      break;
    case TdxSVGPropertyKind::Ordinal:
      P.SetOrdinal(AObject, StrToInt(Trim(AValue.ToString())));
      break;
    default:
      break;
  }
}
}  // namespace

void TdxSVGLoader::Initialize() {
  if (ElementMap) return;
  ElementMap = new std::vector<TElementClassInfo>{
      {"svg", TdxSVGElementRoot::StaticClass(), &TdxSVGElementRoot::SVGBindings, {}},
      {"g", TdxSVGElementGroup::StaticClass(), &NoBindings, {}},
      {"circle", TdxSVGElementCircle::StaticClass(), &TdxSVGElementCircle::SVGBindings, {}},
      {"ellipse", TdxSVGElementEllipse::StaticClass(), &TdxSVGElementEllipse::SVGBindings, {}},
      {"line", TdxSVGElementLine::StaticClass(), &TdxSVGElementLine::SVGBindings, {}},
      {"path", TdxSVGElementPath::StaticClass(), &TdxSVGElementPath::SVGBindings, {}},
      {"polygon", TdxSVGElementPolygon::StaticClass(), &TdxSVGElementPolygon::SVGBindings, {}},
      {"polyline", TdxSVGElementPolyline::StaticClass(), &NoBindings, {}},
      {"rect", TdxSVGElementRectangle::StaticClass(), &TdxSVGElementRectangle::SVGBindings, {}},
      {"text", TdxSVGElementText::StaticClass(), &TdxSVGElementText::SVGBindings, {}},
      {"use", TdxSVGElementUse::StaticClass(), &TdxSVGElementUse::SVGBindings, {}},
      {"defs", TdxSVGElementNeverRendered::StaticClass(), &NoBindings, {}},
      {"clipPath", TdxSVGElementClipPath::StaticClass(), &NoBindings, {}},
      {"linearGradient",
       TdxSVGElementLinearGradient::StaticClass(),
       &TdxSVGElementLinearGradient::SVGBindings,
       {}},
      {"stop",
       TdxSVGElementLinearGradientStop::StaticClass(),
       &TdxSVGElementLinearGradientStop::SVGBindings,
       {}},
  };
  for (TElementClassInfo& I : *ElementMap) I.Aliases = ResolveAliases(I.Class);
}

void TdxSVGLoader::Finalize() {
  delete ElementMap;
  ElementMap = nullptr;
}

TdxSVGElementClass TdxSVGLoader::FindElementClass(const TdxXMLString& ATag) {
  if (!ElementMap) Initialize();
  for (const TElementClassInfo& I : *ElementMap)
    if (ATag == I.Tag) return I.Class;
  return nullptr;
}

void TdxSVGLoader::ApplyAttribute(TdxSVGElement* AObject, const TdxXMLString& AName,
                                  const TdxXMLString& AValue) {
  if (!ElementMap) Initialize();
  const TAliasMap& Aliases = AliasesOf(AObject->ClassType());
  auto It = Aliases.find(std::string(AName.View()));
  if (It == Aliases.end()) return;
  if (It->second.Adapter)
    It->second.Adapter->Load(AObject, *It->second.Property, AValue.ToString());
  else
    StoreByKind(AObject, *It->second.Property, AValue);
}

void TdxSVGLoader::ApplyAttribute(TdxSVGElement* AObject, TdxXMLNodeAttribute* AAttribute) {
  ApplyAttribute(AObject, AAttribute->Name(), AAttribute->Value());
}

void TdxSVGLoader::ApplyAttributes(TdxSVGElement* AObject, TdxXMLNodeAttributes* AAttributes) {
  for (TdxXMLNodeAttribute* A = AAttributes->First(); A; A = A->Next()) ApplyAttribute(AObject, A);
}

void TdxSVGLoader::Load(TdxSVGElement* AParent, TdxXMLDocument* ADocument) {
  TdxXMLNode* Svg = nullptr;
  for (TdxXMLNode* N = ADocument->Root()->GetFirst(); N; N = N->GetNext())
    if (dxXMLSameName(N->Name().View(), "svg")) {
      Svg = N;
      break;
    }
  if (!Svg) return;
  TOwned<TdxSVGStyles> Styles(Create<TdxSVGStyles>());
  // An explicit stack walks the document, so that no depth reaches the
  // machine stack; the depth itself is bounded for the recursive drawing.
  struct TItem {
    TdxSVGElement* Parent;
    TdxXMLNode* Node;
    Integer Depth;
  };
  std::vector<TItem> Stack{{AParent, Svg, 1}};
  const TdxXMLString TextName("_nodeText");
  while (!Stack.empty()) {
    const TItem Item = Stack.back();
    Stack.pop_back();
    TdxXMLNode* Node = Item.Node;
    if (Node->Name() == "style") {
      LoadStyles(Styles.get(), Node);
      continue;
    }
    const TdxSVGElementClass Class = FindElementClass(Node->Name());
    if (!Class) continue;
    if (Item.Depth > dxSVGMaxNestingLevel)
      throw EdxException(
          Format(L"The document nests elements deeper than %d levels", {dxSVGMaxNestingLevel}));
    TOwned<TdxSVGElement> Element(static_cast<TdxSVGElement*>(Class->Create()));
    Element->SetStyleName(Node->GetNameAsString());
    ApplyAttributes(Element.get(), Node->Attributes());
    if (!Node->Text().IsEmpty()) ApplyAttribute(Element.get(), TextName, Node->Text());
    for (TdxXMLNodeAttribute* A = Node->Attributes()->First(); A; A = A->Next())
      if (dxXMLSameName(A->Name().View(), "style")) {
        TdxSVGParserInlineStyle::Parse(Styles->AddInline(Element.get()), A->GetValueAsString());
        break;
      }
    TdxSVGElement* E = Element.release();
    Item.Parent->Add(E);
    // Children go on the stack last first, so that they load in order.
    for (TdxXMLNode* C = Node->GetLast(); C; C = C->GetPrev())
      Stack.push_back({E, C, Item.Depth + 1});
  }
  Styles->Apply(AParent);
}

void TdxSVGLoader::LoadStyles(TdxSVGStyles* AStyles, TdxXMLNode* ANode) {
  const String Text = ANode->GetTextAsString();
  size_t Start = 0;
  while (Start < Text.size()) {
    size_t End = Text.find(L'}', Start);
    if (End == String::npos) End = Text.size();
    const String Piece = Trim(Text.substr(Start, End - Start));
    Start = End + 1;
    const size_t Brace = Piece.find(L'{');
    if (Brace == String::npos || Piece.find(L'{', Brace + 1) != String::npos) continue;
    const String Selectors = Piece.substr(0, Brace);
    const String Declarations = Piece.substr(Brace + 1);
    size_t S = 0;
    while (S <= Selectors.size()) {
      size_t E = Selectors.find(L',', S);
      if (E == String::npos) E = Selectors.size();
      String Selector = Trim(Selectors.substr(S, E - S));
      if (!Selector.empty() && Selector[0] == L'.') Selector.erase(0, 1);
      if (!Selector.empty()) TdxSVGParserInlineStyle::Parse(AStyles->Add(Selector), Declarations);
      S = E + 1;
    }
  }
}

// ---------------------------------------------------------------------------
// Styles

void TdxSVGStyle::Apply(TdxSVGElement* AElement) {
  for (TdxXMLNodeAttribute* A = First(); A; A = A->Next())
    TdxSVGLoader::ApplyAttribute(AElement, A);
}

TdxSVGStyles::TdxSVGStyles() = default;
TdxSVGStyles::~TdxSVGStyles() = default;

TdxSVGStyle* TdxSVGStyles::Add(const String& AName) {
  TdxSVGStyle* Style;
  if (TryGetStyle(AName, Style)) return Style;
  Style = Create<TdxSVGStyle>();
  Style->FName = AName;
  FItems[AName].reset(Style);
  return Style;
}

TdxSVGStyle* TdxSVGStyles::AddInline(TdxSVGElement* AReference) {
  return Add(Format(L"_inline_%p", {static_cast<void*>(AReference)}));
}

bool TdxSVGStyles::TryGetStyle(const String& AName, TdxSVGStyle*& AStyle) const {
  if (AName.empty()) return false;
  auto It = FItems.find(AName);
  if (It == FItems.end()) return false;
  AStyle = It->second.get();
  return true;
}

TdxSVGStyle* TdxSVGStyles::GetItem(const String& AName) const {
  TdxSVGStyle* Style = nullptr;
  TryGetStyle(AName, Style);
  return Style;
}

void TdxSVGStyles::Apply(TdxSVGElement* AElement) {
  std::vector<TdxSVGElement*> Stack{AElement};
  while (!Stack.empty()) {
    TdxSVGElement* E = Stack.back();
    Stack.pop_back();
    const String& Names = E->StyleName();
    size_t Start = 0;
    while (Start <= Names.size()) {
      size_t End = Names.find(L' ', Start);
      if (End == String::npos) End = Names.size();
      if (TdxSVGStyle* S = GetItem(Names.substr(Start, End - Start))) S->Apply(E);
      Start = End + 1;
    }
    if (!FItems.empty())
      if (TdxSVGStyle* S = GetItem(Format(L"_inline_%p", {static_cast<void*>(E)}))) S->Apply(E);
    for (Integer I = E->Count() - 1; I >= 0; --I) Stack.push_back(E->Elements(I));
  }
}

void dxSVGCore_Initialize() { TdxSVGLoader::Initialize(); }

void dxSVGCore_Finalize() { TdxSVGLoader::Finalize(); }
