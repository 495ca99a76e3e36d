#pragma once
// Table engine of the stand-ins: reads and writes native tables (.TAB with .DAT, .ID, .MAP) and
// MIF/MID interchange files.
//
// Model: a table is a schema (columns, coordinate system, charset) plus rows numbered 1..N.
// Each row has attribute values and one geometry (possibly none). Text inside the engine is
// UTF-8; it is converted from and to the table's charset at the file boundary.
//
// Typical use:
//   auto reader = tabengine::TableReader::Open(L"c:\\data\\roads.tab");   // or .mif
//   for (int id = 1; id <= reader->RowCount(); ++id) {
//     tabengine::Feature f;
//     reader->ReadFeature(id, f);
//     if (f.Broken()) { /* f.error says why; the other rows stay readable */ }
//   }
//   auto writer = tabengine::TableWriter::Create(L"out.tab", reader->Schema());  // or .mif
//   writer->Insert(feature); ... writer->Close();
//
// Errors that make a whole table unusable (missing file, bad header, any syntax error in a MIF
// file) throw TabError. Damage confined to one row of a native table is reported through
// Feature::error and never throws. Insert throws TabError for a geometry that cannot be stored
// (a polyline without vertices, a collection with two regions).
//
// Native tables keep coordinates as integers on a grid spanning the CoordSys Bounds (or the
// projection's default bounds) with 2e9 steps; values snap to that grid when written and are
// read back rounded to the decimal the grid resolves (7413000.5 stays 7413000.5 on a ~1 cm grid).
//
// Readers and writers are not thread-safe; use one per thread.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tabengine {

class TabError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// ---- attribute columns ----

enum class FieldType {
  Char,
  Integer,
  SmallInt,
  LargeInt,
  Decimal,
  Float,
  Logical,
  Date,
  Time,
  DateTime
};

struct FieldDef {
  std::string name;  // UTF-8
  FieldType type = FieldType::Char;
  int width = 0;     // Char: bytes; Decimal: total characters
  int decimals = 0;  // Decimal only
};

// One attribute value. Which member is meaningful follows the column type:
//   Char -> text; Integer/SmallInt/LargeInt -> integer; Logical -> integer (0/1);
//   Float/Decimal -> real; Date -> date (yyyymmdd, 0 = null); Time -> time (ms, -1 = null);
//   DateTime -> date and time.
struct Value {
  std::string text;
  int64_t integer = 0;
  double real = 0;
  int32_t date = 0;
  int32_t time = -1;
  bool blank = false;  // Decimal written blank in the file

  static Value Text(std::string s);
  static Value Int(int64_t v);
  static Value Real(double v);
  // MID text form (Date YYYYMMDD, Time HHMMSSmmm, Logical T/F, '.' decimals), unquoted.
  std::string ToText(const FieldDef& field) const;
  static Value FromText(const FieldDef& field, const std::string& text);
  double AsDouble(const FieldDef& field) const;
};

// ---- coordinate system ----

// The CoordSys clause of a table. Earth systems keep the datum number and, for the custom datum
// numbers 999/9999, the ellipsoid and shift; the projection parameters are those that follow the
// unit name, in clause order.
struct CoordSys {
  bool earth = false;
  int projection = 0;  // 0 for NonEarth
  int datum = 0;
  int ellipsoid = 0;           // 999/9999 only (filled from the datum table otherwise)
  double datumParams[8] = {};  // dX dY dZ rX rY rZ scale(ppm) primeMeridian
  std::string units = "m";
  std::vector<double> params;
  bool hasBounds = false;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;

  // Parses "CoordSys Earth Projection ..." / "CoordSys NonEarth Units ..." (the leading word
  // "CoordSys" is optional). Throws TabError on a malformed clause.
  static CoordSys Parse(const std::string& clause);
  // "CoordSys ..." with the Bounds when withBounds and hasBounds.
  std::string ToString(bool withBounds = true) const;
  // Bounds that define the integer grid of a native table: the explicit ones, else the default.
  void EffectiveBounds(double& x0, double& y0, double& x1, double& y1) const;
};

// ---- geometry and styles ----

enum class GeometryType {
  None,
  Point,
  Line,
  Polyline,
  Region,
  Arc,
  Text,
  Rect,
  RoundRect,
  Ellipse,
  MultiPoint,
  Collection
};

struct Point2 {
  double x = 0, y = 0;
};

// Colours are 0xRRGGBB. Pen width uses the MIF encoding (1..7 pixels, 11+ = 10 + 10 * points).
struct Pen {
  int width = 1, pattern = 2, color = 0;
};
struct Brush {
  int pattern = 1, foreColor = 0, backColor = 0xFFFFFF;
  bool transparent = false;  // no background colour
};
enum class SymbolKind { Classic, Font, Custom };
struct Symbol {
  SymbolKind kind = SymbolKind::Classic;
  int shape = 35, color = 0, size = 12;
  std::string fontName;  // Font symbols
  int fontStyle = 0;
  double angle = 0;
  std::string fileName;  // Custom symbols
  int customStyle = 0;
};
struct Font {
  std::string name = "Arial";
  int style = 0;  // MIF numbering
  double size = 0;
  int foreColor = 0;
  int backColor = 0xFFFFFF;
  bool hasBack = false;
};

struct Geometry {
  GeometryType type = GeometryType::None;
  // Point: one part of one vertex; Line: one part of two; Polyline: its sections; Region: its
  // rings (outer rings and holes as in the file); MultiPoint: one part with all points.
  std::vector<std::vector<Point2>> parts;
  // Rect, RoundRect, Ellipse, Arc (rectangle of the whole ellipse), Text (bounding box).
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double startAngle = 0, endAngle = 0;  // Arc, degrees
  double cornerDiameter = 0;            // RoundRect
  // Text: the box is the MBR of the (possibly turned) text, as MIF writes it; textHeight is the
  // unturned height a native table stores (0 = the box's height).
  std::string text;  // UTF-8, real line breaks
  double textHeight = 0;
  double textAngle = 0;
  int justify = 0;     // 0 left, 1 center, 2 right
  double spacing = 1;  // 1, 1.5, 2
  int labelLine = 0;   // 0 none, 1 simple, 2 arrow
  Point2 labelEnd;
  Pen pen;
  Brush brush;
  Symbol symbol;
  Font font;
  bool smooth = false;
  bool hasCenter = false;
  Point2 center;
  std::vector<Geometry> members;  // Collection: at most one Region, Polyline and MultiPoint

  void Bounds(double& x0, double& y0, double& x1, double& y1) const;  // of all vertices/boxes
  size_t VertexCount() const;
};

struct Feature {
  int id = 0;
  Geometry geometry;
  std::vector<Value> values;
  std::string error;  // non-empty = broken feature; geometry/values may be partial
  bool deleted = false;
  bool Broken() const { return !error.empty(); }
};

struct TableSchema {
  std::vector<FieldDef> fields;
  CoordSys coordsys;
  std::string charset = "WindowsCyrillic";
  bool mappable = true;  // a native table with .MAP/.ID
};

// ---- reading ----

class TableReader {
 public:
  virtual ~TableReader() = default;
  // Opens a .TAB (native) or .MIF (by extension). Throws TabError when the table is unusable.
  static std::unique_ptr<TableReader> Open(const std::wstring& path);
  virtual const TableSchema& Schema() const = 0;
  // Rows are numbered 1..RowCount(), deleted rows included.
  virtual int RowCount() const = 0;
  // True when row id is marked deleted (its feature is empty).
  virtual bool RowDeleted(int id) { return false; }
  // Reads row id. Returns false when id is outside 1..RowCount(). Damage is reported in
  // out.error, never thrown.
  virtual bool ReadFeature(int id, Feature& out) = 0;
};

// ---- writing ----

class TableWriter {
 public:
  virtual ~TableWriter() = default;
  // Creates a .TAB (native) or .MIF/.MID (by extension); existing files are replaced.
  static std::unique_ptr<TableWriter> Create(const std::wstring& path, const TableSchema& schema);
  // Appends a row; values are matched to the schema's fields by position (missing ones blank).
  virtual void Insert(const Feature& feature) = 0;
  // Writes the files. A writer destroyed without Close writes nothing, so an aborted export
  // leaves no half-written table behind.
  virtual void Close() = 0;
};

// Region rings are stored flat, outer ring first and its holes after it: a ring is interior
// when its first vertex lies inside the last preceding exterior ring. One flag per ring.
std::vector<bool> InteriorRings(const Geometry& region);

// Copies a whole table between formats (.TAB <-> .MIF by extension), e.g. MIF export/import.
// Deleted rows are left out; broken features are copied as rows without geometry. Returns the
// number of broken rows.
int CopyTable(const std::wstring& from, const std::wstring& to);

// Charset name -> Windows code page (0 = "Neutral", no conversion).
unsigned CodePageOfCharset(const std::string& charset);
std::string ToUtf8(const std::string& bytes, unsigned codePage);
std::string FromUtf8(const std::string& utf8, unsigned codePage);

}  // namespace tabengine
