// Text of SVG attributes and styles turned into values: numbers, lengths,
// points, rectangles, colours, paints, references, keywords, fonts, style
// declarations, transforms and path data. Numbers are read only in the
// forms "12", "-1.5", ".5", "1e-3" ("." as decimal point whatever the
// regional settings); anything else, including values beyond the range of a
// single-precision number, is unreadable.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "Graphics.h"
#include "cxGeometry.h"
#include "dxCoreGraphics.h"
#include "dxGDIPlusClasses.h"
#include "dxXMLDoc.h"

enum TdxSVGUnitsType { utPx, utMm, utCm, utIn, utPc, utPt, utPercents };

struct TdxSVGValue {
  Single Data = 0;
  TdxSVGUnitsType UnitsType = utPx;

  static TdxSVGValue Create(Single AValue, TdxSVGUnitsType AUnitsType = utPx) {
    return TdxSVGValue{AValue, AUnitsType};
  }
  bool IsEmpty() const { return Data == 0; }
  // Raises EInvalidArgument "TdxSVGValue.ToPixels" for a percentage.
  Single ToPixels(Single ATargetDPI) const;
  Single ToPixels(Single ATargetDPI, Single AParentSize) const;
};

template <class T>
class TdxSVGList : public TObject {
  DECLARE_CLASS_INLINE(TdxSVGList, TObject)
 public:
  void Add(const T& AItem) { FItems.push_back(AItem); }
  void Assign(const TdxSVGList* ASource) { FItems = ASource->FItems; }
  void Clear() { FItems.clear(); }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // Raises EListError for an index out of range.
  const T& Items(Integer AIndex) const;
  const std::vector<T>& Data() const { return FItems; }
  std::vector<T>& Data() { return FItems; }
  void SetCapacity(Integer ACapacity) {
    if (ACapacity > 0) FItems.reserve(static_cast<size_t>(ACapacity));
  }

 private:
  std::vector<T> FItems;
};

[[noreturn]] void dxSVGListIndexError(Integer AIndex);

template <class T>
const T& TdxSVGList<T>::Items(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) dxSVGListIndexError(AIndex);
  return FItems[static_cast<size_t>(AIndex)];
}

class TdxSVGValues : public TdxSVGList<Single> {
  DECLARE_CLASS_INLINE(TdxSVGValues, TdxSVGList<Single>)
};

class TdxSVGPoints : public TdxSVGList<TdxPointF> {
  DECLARE_CLASS_INLINE(TdxSVGPoints, TdxSVGList<TdxPointF>)
};

class TdxSVGRect : public TObject {
  DECLARE_CLASS_INLINE(TdxSVGRect, TObject)
 public:
  TdxRectF FValue;
  Single GetWidth() const { return FValue.Right - FValue.Left; }
  Single GetHeight() const { return FValue.Bottom - FValue.Top; }
};

// A paint: a colour, or the id of a paint server; the default paint
// ($00010203) means "not given here, inherited".
struct TdxSVGFill {
  static TdxSVGFill Create(TdxAlphaColor AColor) { return TdxSVGFill{AColor, String(), false}; }
  static TdxSVGFill Create(const String& AReference) {
    return TdxSVGFill{dxacNone, AReference, true};
  }
  static TdxSVGFill Default() { return Create(dxacDefault); }
  bool IsDefault() const { return !FIsReference && FColor == dxacDefault; }
  bool IsReference() const { return FIsReference; }
  TdxAlphaColor AsColor() const { return FIsReference ? dxacNone : FColor; }
  String AsReference() const { return FIsReference ? FReference : String(); }

  TdxAlphaColor FColor = dxacDefault;
  String FReference;
  bool FIsReference = false;
};

enum TdxSVGContentUnits { cuUserSpaceOnUse, cuObjectBoundingBox };
enum TdxSVGFillMode { fmNonZero, fmEvenOdd, fmInherit };
enum TdxSVGLineCapStyle { lcsDefault, lcsButt, lcsSquare, lcsRound };
enum TdxSVGTextAnchor { taStart, taMiddle, taEnd, taInherit };

// The pen cap of a line cap style.
TdxGPPenLineCapStyle dxSVGLineCapToPenCap(TdxSVGLineCapStyle AStyle);

// The strict number reader behind every scanner here: true with the value
// when the whole text (already trimmed) is one number.
bool dxSVGTryTextToFloat(const wchar_t* AText, size_t ALength, Single& AValue);
bool dxSVGTryStrToFloat(const String& S, Single& AValue);
// The same, raising EConvertError for an unreadable text.
Single dxSVGStrToFloat(const String& S);

using TdxSVGNumberProc = void (*)(Single AValue, void* AData);
using TdxSVGPointProc = void (*)(const TdxPointF& APoint, void* AData);

class TdxSVGParserNumbers {
 public:
  TdxSVGParserNumbers() = delete;
  // A new list (the caller frees it).
  static TdxSVGValues* AsNumbers(const String& S);
  static void AsNumbers(const String& S, std::vector<Single>& AValues);
  // Each number in order; an exception raised by AProc ends the scan quietly.
  static void AsNumbers(const String& S, TdxSVGNumberProc AProc, void* AData);
  static void AsPoints(const String& S, TdxSVGPoints* AList);
  static void AsPoints(const String& S, TdxSVGPointProc AProc, void* AData);
  static void AsPoints(const TdxSVGValues* AValues, TdxSVGPointProc AProc, void* AData);
};

class TdxSVGParserRect {
 public:
  TdxSVGParserRect() = delete;
  // Exactly four numbers x, y, w, h give (x, y, x + w, y + h); else zero.
  static TdxRectF Parse(const String& S);
};

class TdxSVGParserValue {
 public:
  TdxSVGParserValue() = delete;
  static bool Parse(const String& S, TdxSVGValue& AValue);
  // Raises EdxException "Unknown Units Type (%s)".
  static TdxSVGUnitsType StringToUnitsType(const String& S);
};

// ---------------------------------------------------------------------------
// Adapters: each parses one kind of attribute text and stores it into an
// element property. They are constant objects whose virtual Load plays the
// part of a class-level operation; the conversions are plain class-level
// routines. Load is defined with the element tree.

class TdxSVGElement;
struct TdxSVGPropertyInfo;

class TdxSVGAdapterValue {
 public:
  constexpr TdxSVGAdapterValue() = default;
  TdxSVGAdapterValue(const TdxSVGAdapterValue&) = delete;
  TdxSVGAdapterValue& operator=(const TdxSVGAdapterValue&) = delete;
  virtual void Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty,
                    const String& AValue) const {}
};

#define DX_SVG_ADAPTER(Name_)                                              \
  class Name_ : public TdxSVGAdapterValue {                                \
   public:                                                                 \
    static const Name_ Instance;                                           \
    void Load(TdxSVGElement* AObject, const TdxSVGPropertyInfo& AProperty, \
              const String& AValue) const override;

DX_SVG_ADAPTER(TdxSVGAdapterColorValue)
// rgb(r, g, b) with numbers or percentages (clamped to the channel range),
// "inherit" (the default colour), else an HTML colour (an unknown name gives
// the empty colour; malformed "#" digits raise EConvertError).
static TdxAlphaColor StringToAlphaColor(const String& S);
}
;

DX_SVG_ADAPTER(TdxSVGAdapterFillValue)
// A colour or a url(#id) reference; a failed reference gives the default.
static TdxSVGFill StringToFill(const String& S);
}
;

DX_SVG_ADAPTER(TdxSVGAdapterReferenceValue)
static bool TryStringToReference(const String& S, String& AReference);
}
;

DX_SVG_ADAPTER(TdxSVGAdapterContentUnitsValue)
static TdxSVGContentUnits StringToContentUnits(const String& S);
}
;

DX_SVG_ADAPTER(TdxSVGAdapterFillRuleValue)
static TdxSVGFillMode StringToFillRule(const String& S);
}
;

DX_SVG_ADAPTER(TdxSVGAdapterLineCap)
static TdxSVGLineCapStyle StringToLineCap(const String& S);
}
;

DX_SVG_ADAPTER(TdxSVGAdapterLineJoin)
static TdxGpLineJoin StringToLineJoin(const String& S);
}
;

DX_SVG_ADAPTER(TdxSVGAdapterTextAnchorValue)
static TdxSVGTextAnchor StringToTextAnchor(const String& S);
}
;

DX_SVG_ADAPTER(TdxSVGAdapterFontStyleValue)
}
;
DX_SVG_ADAPTER(TdxSVGAdapterNumbersValue)
}
;
DX_SVG_ADAPTER(TdxSVGAdapterPointsValue)
}
;
DX_SVG_ADAPTER(TdxSVGAdapterRectValue)
}
;
DX_SVG_ADAPTER(TdxSVGAdapterPathValue)
}
;
DX_SVG_ADAPTER(TdxSVGAdapterTransformValue)
}
;
DX_SVG_ADAPTER(TdxSVGAdapterSizeValue)
}
;
#undef DX_SVG_ADAPTER

class TdxSVGFontStyleString {
 public:
  TdxSVGFontStyleString() = delete;
  static bool TryStringToFontStyle(const String& S, TFontStyle& AStyle);
  static bool Parse(const String& S, String& AName, TFontStyles& AStyles, Single& ASize);
  static String Build(const String& AName, TFontStyles AStyles, Single ASize);
};

class TdxSVGParserInlineStyle {
 public:
  TdxSVGParserInlineStyle() = delete;
  // "name: value; ..." into the declarations (a later name, ignoring case,
  // replaces an earlier one).
  static void Parse(TdxXMLNodeAttributes* AStyle, const String& S);
};

class TdxSVGParserTransform {
 public:
  TdxSVGParserTransform() = delete;
  // Combines the list into AMatrix: each operator applies before what the
  // matrix held. Unknown operators are skipped.
  static void Parse(const String& S, TdxMatrix* AMatrix);
};

// ---------------------------------------------------------------------------
// Path data

class TdxSVGParserPathCommand : public TObject {
  DECLARE_CLASS(TdxSVGParserPathCommand, TObject)
 public:
  TdxPointF FinishPoint;
  virtual void Append(TdxGPPath* APath) {}
};

class TdxSVGParserPathCommandMoveTo : public TdxSVGParserPathCommand {
  DECLARE_CLASS(TdxSVGParserPathCommandMoveTo, TdxSVGParserPathCommand)
};

class TdxSVGParserPathCommandOpen : public TdxSVGParserPathCommand {
  DECLARE_CLASS(TdxSVGParserPathCommandOpen, TdxSVGParserPathCommand)
 public:
  void Append(TdxGPPath* APath) override;
};

class TdxSVGParserPathCommandClose : public TdxSVGParserPathCommand {
  DECLARE_CLASS(TdxSVGParserPathCommandClose, TdxSVGParserPathCommand)
 public:
  void Append(TdxGPPath* APath) override;
};

class TdxSVGParserPathCommandLine : public TdxSVGParserPathCommand {
  DECLARE_CLASS(TdxSVGParserPathCommandLine, TdxSVGParserPathCommand)
 public:
  TdxPointF StartPoint;
  void Append(TdxGPPath* APath) override;
};

class TdxSVGParserPathCommandCurveTo : public TdxSVGParserPathCommand {
  DECLARE_CLASS(TdxSVGParserPathCommandCurveTo, TdxSVGParserPathCommand)
 public:
  TdxPointF StartPoint, Point1, Point2;
  void Append(TdxGPPath* APath) override;
};

class TdxSVGParserPathCommandQuadraticCurveTo : public TdxSVGParserPathCommand {
  DECLARE_CLASS(TdxSVGParserPathCommandQuadraticCurveTo, TdxSVGParserPathCommand)
 public:
  TdxPointF MiddlePoint, StartPoint;
  void Append(TdxGPPath* APath) override;
};

// One cubic Bézier segment, for tests and tools that look at the geometry.
struct TdxSVGBezier {
  TdxPointF P1, C1, C2, P4;
};

class TdxSVGParserPathCommandArc : public TdxSVGParserPathCommand {
  DECLARE_CLASS(TdxSVGParserPathCommandArc, TdxSVGParserPathCommand)
 public:
  Single Angle = 0;
  bool LargeArc = false;
  TdxPointF Radius;
  TdxPointF StartPoint;
  bool Sweep = false;
  void Append(TdxGPPath* APath) override;
  // The segments Append adds: none when the ends coincide, one straight
  // "segment" (controls on the line) when a radius is zero.
  std::vector<TdxSVGBezier> GetSegments() const;
};

class TdxSVGParserPath : public TObject {
  DECLARE_CLASS(TdxSVGParserPath, TObject)
 public:
  TdxSVGParserPath();
  ~TdxSVGParserPath() override;
  // Appends the commands of the text. A move-to without coordinates or a
  // smooth curve with no command before it raises EListError.
  void Parse(const String& S);
  Integer GetCommandCount() const { return static_cast<Integer>(FCommands.size()); }
  TdxSVGParserPathCommand* GetCommand(Integer AIndex) const;

 protected:
  using TCommandProc = void (TdxSVGParserPath::*)(const wchar_t* AParams, size_t ALength,
                                                  bool AIsRelative);
  virtual void RegisterCommands();
  void RegisterCommand(wchar_t AKey, TCommandProc AProc);

  TdxPointF GetLastPoint() const;
  TdxPointF GetAbsolutePoint(const TdxPointF& P, bool AIsRelative) const;
  TdxPointF GetAbsolutePoint(Single X, Single Y, bool AIsRelativeX, bool AIsRelativeY) const;
  const std::vector<TdxPointF>& GetPoints(const wchar_t* AData, size_t ALength);
  static TdxPointF MirrorPoint(const TdxPointF& P, const TdxPointF& AMirror);

 private:
  void ProcessCommand(const wchar_t* ACommand, size_t ALength);
  template <class T>
  T* AddCommand();
  TdxSVGParserPathCommand* LastCommandOrRaise() const;

  void CommandArc(const wchar_t* AParams, size_t ALength, bool AIsRelative);
  void CommandClose(const wchar_t* AParams, size_t ALength, bool AIsRelative);
  void CommandCurveTo(const wchar_t* AParams, size_t ALength, bool AIsRelative);
  void CommandHorizontalLine(const wchar_t* AParams, size_t ALength, bool AIsRelative);
  void CommandLine(const wchar_t* AParams, size_t ALength, bool AIsRelative);
  void CommandMoveTo(const wchar_t* AParams, size_t ALength, bool AIsRelative);
  void CommandQuadraticCurveTo(const wchar_t* AParams, size_t ALength, bool AIsRelative);
  void CommandSmoothCurveTo(const wchar_t* AParams, size_t ALength, bool AIsRelative);
  void CommandSmoothQuadraticCurveTo(const wchar_t* AParams, size_t ALength, bool AIsRelative);
  void CommandVerticalLine(const wchar_t* AParams, size_t ALength, bool AIsRelative);

  TOwned<TdxSVGPoints> FBufferPoints;
  std::vector<Single> FBufferNumbers;
  std::unordered_map<wchar_t, TCommandProc> FCommandProcs;
  std::vector<TOwned<TdxSVGParserPathCommand>> FCommands;
  TdxSVGParserPathCommandOpen* FLastOpen = nullptr;
};
