// The feature library's C interface ("mitab_c_*"), exported under plain names with the
// platform's standard calling convention, over the table engine.
//
// Error protocol: every call that can fail first clears the error state; a failure sets an error
// number (the classic library's numbering: 3 file I/O, 4 open failed, 5 illegal argument,
// 6 not supported) and a message that mitab_c_getlasterrormsg returns.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TabEngine.h"
#include "WinCompat.h"

#define MITAB_API extern "C" __declspec(dllexport)
#define MITAB_CALL __stdcall

using namespace tabengine;

namespace {

constexpr int kLibVersion = 2000000;
constexpr int kErrFileIO = 3, kErrOpenFailed = 4, kErrIllegalArg = 5, kErrNotSupported = 6;

// Feature classes of the classic interface.
enum FeatureClass {
  kNoGeom = 0,
  kPoint = 1,
  kFontPoint = 2,
  kCustomPoint = 3,
  kText = 4,
  kPolyline = 5,
  kArc = 6,
  kRegion = 7,
  kRectangle = 8,
  kEllipse = 9,
  kMultiPoint = 10,
  kCollection = 11,
};

// The library is used from one thread at a time, like the classic one.
int g_errorNo = 0;
char g_errorMsg[1024];  // a plain buffer: no global object with a constructor

void ClearError() {
  g_errorNo = 0;
  g_errorMsg[0] = '\0';
}
// The table engine words its messages in UTF-8; the C interface speaks the
// system's code page, as the paths it takes do.
std::string ToAnsi(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (n <= 0) return utf8;
  std::wstring w(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  int m = WideCharToMultiByte(CP_ACP, 0, w.data(), n, nullptr, 0, nullptr, nullptr);
  std::string a(m > 0 ? m : 0, '\0');
  if (m > 0) WideCharToMultiByte(CP_ACP, 0, w.data(), n, a.data(), m, nullptr, nullptr);
  return a;
}

void SetError(int no, const std::string& msg) {
  g_errorNo = no;
  std::string text = ToAnsi(msg);
  size_t n = std::min(text.size(), sizeof g_errorMsg - 1);
  std::memcpy(g_errorMsg, text.data(), n);
  g_errorMsg[n] = '\0';
}

struct Table {
  std::unique_ptr<TableReader> reader;
  std::unique_ptr<TableWriter> writer;
  std::wstring path;
  bool creating = false;
  TableSchema schema;  // of a table being created
  std::string scratch;

  const TableSchema& Schema() const { return reader ? reader->Schema() : schema; }
};

struct FeatureObj {
  Feature feature;
  TableSchema schema;  // copy: the feature outlives a closed table
  int featureClass = kNoGeom;
  std::vector<std::vector<Point2>> parts;  // vertex view of the geometry
  std::vector<bool> interior;
  std::string scratch;
  // Parts of a collection handed out by the *_ref calls; owned by the collection.
  std::vector<std::unique_ptr<FeatureObj>> refs;
};

unsigned Ansi() { return CP_ACP; }

std::wstring Widen(const char* s) {
  if (!s) return std::wstring();
  int n = MultiByteToWideChar(Ansi(), 0, s, -1, nullptr, 0);
  std::wstring w(n > 0 ? n - 1 : 0, L'\0');
  if (n > 1) MultiByteToWideChar(Ansi(), 0, s, -1, w.data(), n);
  return w;
}

int ClassOf(const Geometry& g) {
  switch (g.type) {
    case GeometryType::None:
      return kNoGeom;
    case GeometryType::Point:
      return g.symbol.kind == SymbolKind::Font     ? kFontPoint
             : g.symbol.kind == SymbolKind::Custom ? kCustomPoint
                                                   : kPoint;
    case GeometryType::Line:
    case GeometryType::Polyline:
      return kPolyline;
    case GeometryType::Region:
      return kRegion;
    case GeometryType::Arc:
      return kArc;
    case GeometryType::Text:
      return kText;
    case GeometryType::Rect:
    case GeometryType::RoundRect:
      return kRectangle;
    case GeometryType::Ellipse:
      return kEllipse;
    case GeometryType::MultiPoint:
      return kMultiPoint;
    case GeometryType::Collection:
      return kCollection;
  }
  return kNoGeom;
}

std::vector<Point2> EllipsePoints(const Geometry& g, double from, double to) {
  double cx = (g.x1 + g.x2) / 2, cy = (g.y1 + g.y2) / 2;
  double rx = std::fabs(g.x2 - g.x1) / 2, ry = std::fabs(g.y2 - g.y1) / 2;
  while (to <= from) to += 360;
  std::vector<Point2> pts;
  int steps = std::max(2, static_cast<int>((to - from) / 2));
  for (int i = 0; i <= steps; ++i) {
    double t = (from + (to - from) * i / steps) * 3.14159265358979323846 / 180;
    pts.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
  }
  return pts;
}

// The vertices the classic interface exposes for each kind of object.
void BuildVertexView(FeatureObj& f) {
  const Geometry& g = f.feature.geometry;
  f.featureClass = ClassOf(g);
  switch (g.type) {
    case GeometryType::Rect:
    case GeometryType::RoundRect:
      f.parts = {{{g.x1, g.y1}, {g.x2, g.y1}, {g.x2, g.y2}, {g.x1, g.y2}, {g.x1, g.y1}}};
      break;
    case GeometryType::Ellipse:
      f.parts = {EllipsePoints(g, 0, 360)};
      break;
    case GeometryType::Arc:
      f.parts = {EllipsePoints(g, g.startAngle, g.endAngle)};
      break;
    case GeometryType::Text:
      f.parts = {{{g.x1, g.y1}}};
      break;
    default:
      f.parts = g.parts;
  }
  f.interior = InteriorRings(g);
}

int Rgb(int c) { return c & 0xFFFFFF; }

int CopyOut(const std::string& s, char* buf, int len) {
  if (!buf || len <= 0) return static_cast<int>(s.size());
  int n = std::min(static_cast<int>(s.size()), len - 1);
  std::memcpy(buf, s.data(), n);
  buf[n] = '\0';
  return n;
}

FeatureObj* AsFeature(void* p) { return static_cast<FeatureObj*>(p); }
Table* AsTable(void* p) { return static_cast<Table*>(p); }

const FieldDef* Field(Table* t, int i) {
  if (!t || i < 0 || i >= static_cast<int>(t->Schema().fields.size())) return nullptr;
  return &t->Schema().fields[i];
}

// Field type numbers of the classic interface.
int FieldTypeNo(FieldType t) {
  switch (t) {
    case FieldType::Char:
      return 1;
    case FieldType::Integer:
      return 2;
    case FieldType::SmallInt:
      return 3;
    case FieldType::Decimal:
      return 4;
    case FieldType::Float:
      return 5;
    case FieldType::Date:
      return 6;
    case FieldType::Logical:
      return 7;
    case FieldType::Time:
      return 8;
    case FieldType::DateTime:
      return 9;
    case FieldType::LargeInt:
      return 10;
  }
  return 1;
}

// Text handed across the interface is in the table's charset, as the classic library does.
std::string ToTableCharset(const TableSchema& s, const std::string& utf8) {
  return FromUtf8(utf8, CodePageOfCharset(s.charset));
}
std::string FromTableCharset(const TableSchema& s, const char* text) {
  return ToUtf8(text ? text : "", CodePageOfCharset(s.charset));
}

}  // namespace

MITAB_API int MITAB_CALL mitab_c_getlibversion() { return kLibVersion; }
MITAB_API int MITAB_CALL mitab_c_getlasterrorno() { return g_errorNo; }
MITAB_API const char* MITAB_CALL mitab_c_getlasterrormsg() { return g_errorMsg; }
MITAB_API int MITAB_CALL mitab_c_getlasterrormsg_vb(char* buf, int len) {
  return CopyOut(g_errorMsg, buf, len);
}

MITAB_API void* MITAB_CALL mitab_c_open(const char* filename) {
  ClearError();
  try {
    auto t = std::make_unique<Table>();
    t->path = Widen(filename);
    t->reader = TableReader::Open(t->path);
    return t.release();
  } catch (const std::exception& e) {
    SetError(kErrOpenFailed, e.what());
    return nullptr;
  }
}

MITAB_API void MITAB_CALL mitab_c_close(void* handle) {
  ClearError();
  Table* t = AsTable(handle);
  if (!t) return;
  try {
    if (t->creating && !t->writer) t->writer = TableWriter::Create(t->path, t->schema);
    if (t->writer) t->writer->Close();
  } catch (const std::exception& e) {
    SetError(kErrFileIO, e.what());
  }
  delete t;
}

MITAB_API int MITAB_CALL mitab_c_get_feature_count(void* handle) {
  ClearError();
  Table* t = AsTable(handle);
  if (!t || !t->reader) return 0;
  int n = 0;
  for (int id = 1; id <= t->reader->RowCount(); ++id) n += !t->reader->RowDeleted(id);
  return n;
}

MITAB_API int MITAB_CALL mitab_c_next_feature_id(void* handle, int last) {
  ClearError();
  Table* t = AsTable(handle);
  if (!t || !t->reader) return -1;
  int id = last < 0 ? 1 : last + 1;
  for (; id >= 1 && id <= t->reader->RowCount(); ++id)
    if (!t->reader->RowDeleted(id)) return id;
  return -1;
}

MITAB_API void* MITAB_CALL mitab_c_read_feature(void* handle, int id) {
  ClearError();
  Table* t = AsTable(handle);
  if (!t || !t->reader) {
    SetError(kErrIllegalArg, "No table open for reading");
    return nullptr;
  }
  if (id < 1 || id > t->reader->RowCount() || t->reader->RowDeleted(id)) return nullptr;
  try {
    auto f = std::make_unique<FeatureObj>();
    t->reader->ReadFeature(id, f->feature);
    if (f->feature.Broken()) {
      SetError(kErrFileIO, f->feature.error);
      return nullptr;
    }
    f->schema = t->reader->Schema();
    BuildVertexView(*f);
    return f.release();
  } catch (const std::exception& e) {
    SetError(kErrFileIO, e.what());
    return nullptr;
  }
}

MITAB_API void MITAB_CALL mitab_c_destroy_feature(void* feature) { delete AsFeature(feature); }

// ---- table schema ----

MITAB_API int MITAB_CALL mitab_c_get_field_count(void* handle) {
  Table* t = AsTable(handle);
  return t ? static_cast<int>(t->Schema().fields.size()) : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_field_type(void* handle, int field) {
  const FieldDef* f = Field(AsTable(handle), field);
  return f ? FieldTypeNo(f->type) : 0;
}
MITAB_API const char* MITAB_CALL mitab_c_get_field_name(void* handle, int field) {
  Table* t = AsTable(handle);
  const FieldDef* f = Field(t, field);
  if (!f) return "";
  t->scratch = ToTableCharset(t->Schema(), f->name);
  return t->scratch.c_str();
}
MITAB_API int MITAB_CALL mitab_c_get_field_name_vb(void* handle, int field, char* buf, int len) {
  return CopyOut(mitab_c_get_field_name(handle, field), buf, len);
}
MITAB_API int MITAB_CALL mitab_c_get_field_width(void* handle, int field) {
  const FieldDef* f = Field(AsTable(handle), field);
  if (!f) return 0;
  switch (f->type) {
    case FieldType::Char:
    case FieldType::Decimal:
      return f->width;
    default:
      return 0;
  }
}
MITAB_API int MITAB_CALL mitab_c_get_field_precision(void* handle, int field) {
  const FieldDef* f = Field(AsTable(handle), field);
  return f ? f->decimals : 0;
}
// The engine writes no attribute indexes, so no column is indexed or unique.
MITAB_API int MITAB_CALL mitab_c_is_field_indexed(void* handle, int field) { return 0; }
MITAB_API int MITAB_CALL mitab_c_is_field_unique(void* handle, int field) { return 0; }

MITAB_API const char* MITAB_CALL mitab_c_get_mif_coordsys(void* handle) {
  Table* t = AsTable(handle);
  if (!t) return "";
  const TableSchema& s = t->Schema();
  t->scratch = s.mappable ? s.coordsys.ToString(true) : std::string();
  return t->scratch.c_str();
}
MITAB_API const char* MITAB_CALL mitab_c_get_extended_mif_coordsys(void* handle) {
  return mitab_c_get_mif_coordsys(handle);
}
MITAB_API int MITAB_CALL mitab_c_get_mif_coordsys_vb(void* handle, char* buf, int len) {
  return CopyOut(mitab_c_get_mif_coordsys(handle), buf, len);
}

// ---- feature read-side ----

MITAB_API int MITAB_CALL mitab_c_get_type(void* feature) {
  FeatureObj* f = AsFeature(feature);
  return f ? f->featureClass : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_parts(void* feature) {
  FeatureObj* f = AsFeature(feature);
  return f ? static_cast<int>(f->parts.size()) : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_vertex_count(void* feature, int part) {
  FeatureObj* f = AsFeature(feature);
  if (!f || part < 0 || part >= static_cast<int>(f->parts.size())) return 0;
  return static_cast<int>(f->parts[part].size());
}
static const Point2* Vertex(void* feature, int part, int vertex) {
  FeatureObj* f = AsFeature(feature);
  if (!f || part < 0 || part >= static_cast<int>(f->parts.size()) || vertex < 0 ||
      vertex >= static_cast<int>(f->parts[part].size()))
    return nullptr;
  return &f->parts[part][vertex];
}
MITAB_API double MITAB_CALL mitab_c_get_vertex_x(void* feature, int part, int vertex) {
  const Point2* p = Vertex(feature, part, vertex);
  return p ? p->x : 0;
}
MITAB_API double MITAB_CALL mitab_c_get_vertex_y(void* feature, int part, int vertex) {
  const Point2* p = Vertex(feature, part, vertex);
  return p ? p->y : 0;
}
MITAB_API int MITAB_CALL mitab_c_is_interior_ring(void* feature, int ring) {
  FeatureObj* f = AsFeature(feature);
  if (!f || ring < 0 || ring >= static_cast<int>(f->interior.size())) return 0;
  return f->interior[ring] ? 1 : 0;
}

MITAB_API const char* MITAB_CALL mitab_c_get_field_as_string(void* feature, int field) {
  FeatureObj* f = AsFeature(feature);
  if (!f || field < 0 || field >= static_cast<int>(f->feature.values.size())) return "";
  const FieldDef& fd = f->schema.fields[field];
  f->scratch = ToTableCharset(f->schema, f->feature.values[field].ToText(fd));
  return f->scratch.c_str();
}
MITAB_API int MITAB_CALL mitab_c_get_field_as_string_vb(void* feature, int field, char* buf,
                                                        int len) {
  return CopyOut(mitab_c_get_field_as_string(feature, field), buf, len);
}
MITAB_API double MITAB_CALL mitab_c_get_field_as_double(void* feature, int field) {
  FeatureObj* f = AsFeature(feature);
  if (!f || field < 0 || field >= static_cast<int>(f->feature.values.size())) return 0;
  return f->feature.values[field].AsDouble(f->schema.fields[field]);
}

static const Geometry* Geom(void* feature) {
  FeatureObj* f = AsFeature(feature);
  return f ? &f->feature.geometry : nullptr;
}

MITAB_API int MITAB_CALL mitab_c_get_pen_color(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? Rgb(g->pen.color) : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_pen_width(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? g->pen.width : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_pen_pattern(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? g->pen.pattern : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_brush_fgcolor(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? Rgb(g->brush.foreColor) : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_brush_bgcolor(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? Rgb(g->brush.backColor) : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_brush_pattern(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? g->brush.pattern : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_brush_transparent(void* feature) {
  const Geometry* g = Geom(feature);
  return g && g->brush.transparent ? 1 : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_symbol_no(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? g->symbol.shape : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_symbol_color(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? Rgb(g->symbol.color) : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_symbol_size(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? g->symbol.size : 0;
}

MITAB_API const char* MITAB_CALL mitab_c_get_text(void* feature) {
  FeatureObj* f = AsFeature(feature);
  if (!f) return "";
  f->scratch = ToTableCharset(f->schema, f->feature.geometry.text);
  return f->scratch.c_str();
}
MITAB_API int MITAB_CALL mitab_c_get_text_vb(void* feature, char* buf, int len) {
  return CopyOut(mitab_c_get_text(feature), buf, len);
}
MITAB_API double MITAB_CALL mitab_c_get_text_angle(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? g->textAngle : 0;
}
MITAB_API double MITAB_CALL mitab_c_get_text_height(void* feature) {
  const Geometry* g = Geom(feature);
  if (!g) return 0;
  return g->textHeight > 0 ? g->textHeight : std::fabs(g->y2 - g->y1);
}
MITAB_API double MITAB_CALL mitab_c_get_text_width(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? std::fabs(g->x2 - g->x1) : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_text_fgcolor(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? Rgb(g->font.foreColor) : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_text_bgcolor(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? Rgb(g->font.backColor) : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_text_justification(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? g->justify : 0;
}
// Spacing codes: 0 single, 1 one and a half, 2 double.
MITAB_API int MITAB_CALL mitab_c_get_text_spacing(void* feature) {
  const Geometry* g = Geom(feature);
  return !g ? 0 : g->spacing >= 2 ? 2 : g->spacing > 1 ? 1 : 0;
}
MITAB_API int MITAB_CALL mitab_c_get_text_linetype(void* feature) {
  const Geometry* g = Geom(feature);
  return g ? g->labelLine : 0;
}
MITAB_API const char* MITAB_CALL mitab_c_get_font(void* feature) {
  FeatureObj* f = AsFeature(feature);
  if (!f) return "";
  const Geometry& g = f->feature.geometry;
  f->scratch =
      ToTableCharset(f->schema, g.type == GeometryType::Point ? g.symbol.fontName : g.font.name);
  return f->scratch.c_str();
}
MITAB_API int MITAB_CALL mitab_c_get_font_vb(void* feature, char* buf, int len) {
  return CopyOut(mitab_c_get_font(feature), buf, len);
}

// ---- collections ----

namespace {
// The collection's part of the given type as a feature owned by the collection; 0 when absent.
FeatureObj* CollectionPart(void* feature, GeometryType type) {
  FeatureObj* f = AsFeature(feature);
  if (!f || f->feature.geometry.type != GeometryType::Collection) return nullptr;
  for (const auto& m : f->feature.geometry.members) {
    if (m.type != type) continue;
    auto part = std::make_unique<FeatureObj>();
    part->feature.id = f->feature.id;
    part->feature.geometry = m;
    part->feature.values = f->feature.values;
    part->schema = f->schema;
    BuildVertexView(*part);
    f->refs.push_back(std::move(part));
    return f->refs.back().get();
  }
  return nullptr;
}

// Puts a part into a collection; with make_copy 0 the collection takes the part over.
int SetCollectionPart(void* feature, void* part, int makeCopy, GeometryType type) {
  ClearError();
  FeatureObj* f = AsFeature(feature);
  FeatureObj* p = AsFeature(part);
  if (!f || f->feature.geometry.type != GeometryType::Collection ||
      (p && p->feature.geometry.type != type)) {
    SetError(kErrIllegalArg, "Not a collection or not a part of the expected type");
    return -1;
  }
  auto& members = f->feature.geometry.members;
  members.erase(std::remove_if(members.begin(), members.end(),
                               [&](const Geometry& m) { return m.type == type; }),
                members.end());
  if (p) {
    members.push_back(p->feature.geometry);
    if (!makeCopy) delete p;
  }
  return 0;
}
}  // namespace

MITAB_API void* MITAB_CALL mitab_c_get_collection_region_ref(void* feature) {
  return CollectionPart(feature, GeometryType::Region);
}
MITAB_API void* MITAB_CALL mitab_c_get_collection_polyline_ref(void* feature) {
  return CollectionPart(feature, GeometryType::Polyline);
}
MITAB_API void* MITAB_CALL mitab_c_get_collection_multipoint_ref(void* feature) {
  return CollectionPart(feature, GeometryType::MultiPoint);
}
MITAB_API int MITAB_CALL mitab_c_set_collection_region(void* feature, void* part, int make_copy) {
  return SetCollectionPart(feature, part, make_copy, GeometryType::Region);
}
MITAB_API int MITAB_CALL mitab_c_set_collection_polyline(void* feature, void* part, int make_copy) {
  return SetCollectionPart(feature, part, make_copy, GeometryType::Polyline);
}
MITAB_API int MITAB_CALL mitab_c_set_collection_multipoint(void* feature, void* part,
                                                           int make_copy) {
  return SetCollectionPart(feature, part, make_copy, GeometryType::MultiPoint);
}

// ---- writing ----

MITAB_API void* MITAB_CALL mitab_c_create(const char* filename, const char* mif_or_tab,
                                          const char* coordsys, double north, double south,
                                          double east, double west) {
  ClearError();
  try {
    auto t = std::make_unique<Table>();
    std::wstring path = Widen(filename);
    std::string kind = mif_or_tab ? mif_or_tab : "tab";
    std::wstring ext = kind == "mif" || kind == "MIF" ? L".mif" : L".tab";
    size_t dot = path.find_last_of(L".\\/");
    if (dot == std::wstring::npos || path[dot] != L'.') path += ext;
    t->path = path;
    t->creating = true;
    t->schema.charset = "Neutral";
    if (coordsys && *coordsys) t->schema.coordsys = CoordSys::Parse(coordsys);
    if (!t->schema.coordsys.hasBounds && (north != 0 || south != 0 || east != 0 || west != 0)) {
      t->schema.coordsys.hasBounds = true;
      t->schema.coordsys.minX = west, t->schema.coordsys.maxX = east;
      t->schema.coordsys.minY = south, t->schema.coordsys.maxY = north;
    }
    return t.release();
  } catch (const std::exception& e) {
    SetError(kErrOpenFailed, e.what());
    return nullptr;
  }
}

MITAB_API int MITAB_CALL mitab_c_add_field(void* handle, const char* name, int type, int width,
                                           int precision, int indexed, int unique) {
  ClearError();
  Table* t = AsTable(handle);
  if (!t || t->reader || t->writer || !name || !*name) {
    SetError(kErrIllegalArg, "Fields can only be added to a new table before its first feature");
    return -1;
  }
  static const FieldType kTypes[] = {FieldType::Char,     FieldType::Char,    FieldType::Integer,
                                     FieldType::SmallInt, FieldType::Decimal, FieldType::Float,
                                     FieldType::Date,     FieldType::Logical, FieldType::Time,
                                     FieldType::DateTime, FieldType::LargeInt};
  if (type < 1 || type > 10) {
    SetError(kErrIllegalArg, "Unknown field type " + std::to_string(type));
    return -1;
  }
  FieldDef f{FromTableCharset(t->schema, name), kTypes[type], width, precision};
  if ((f.type == FieldType::Char || f.type == FieldType::Decimal) && (width < 1 || width > 254)) {
    SetError(kErrIllegalArg, "Bad field width");
    return -1;
  }
  t->schema.fields.push_back(f);
  return static_cast<int>(t->schema.fields.size()) - 1;
}

MITAB_API void* MITAB_CALL mitab_c_create_feature(void* handle, int feature_type) {
  ClearError();
  Table* t = AsTable(handle);
  if (!t) return nullptr;
  auto f = std::make_unique<FeatureObj>();
  f->schema = t->Schema();
  Geometry& g = f->feature.geometry;
  switch (feature_type) {
    case kNoGeom:
      break;
    case kPoint:
      g.type = GeometryType::Point;
      break;
    case kFontPoint:
      g.type = GeometryType::Point;
      g.symbol.kind = SymbolKind::Font;
      break;
    case kCustomPoint:
      g.type = GeometryType::Point;
      g.symbol.kind = SymbolKind::Custom;
      break;
    case kText:
      g.type = GeometryType::Text;
      break;
    case kPolyline:
      g.type = GeometryType::Polyline;
      break;
    case kArc:
      g.type = GeometryType::Arc;
      break;
    case kRegion:
      g.type = GeometryType::Region;
      break;
    case kRectangle:
      g.type = GeometryType::Rect;
      break;
    case kEllipse:
      g.type = GeometryType::Ellipse;
      break;
    case kMultiPoint:
      g.type = GeometryType::MultiPoint;
      break;
    case kCollection:
      g.type = GeometryType::Collection;
      break;
    default:
      SetError(kErrNotSupported,
               "Feature type " + std::to_string(feature_type) + " is not supported");
      return nullptr;
  }
  f->featureClass = feature_type;
  for (const auto& fd : f->schema.fields) f->feature.values.push_back(Value::FromText(fd, ""));
  return f.release();
}

MITAB_API void MITAB_CALL mitab_c_set_field(void* feature, int field, const char* value) {
  FeatureObj* f = AsFeature(feature);
  if (!f || field < 0 || field >= static_cast<int>(f->schema.fields.size())) return;
  f->feature.values[field] =
      Value::FromText(f->schema.fields[field], FromTableCharset(f->schema, value));
}

MITAB_API void MITAB_CALL mitab_c_set_points(void* feature, int part, int count, double* x,
                                             double* y) {
  FeatureObj* f = AsFeature(feature);
  if (!f || part < 0 || count < 0 || (count > 0 && (!x || !y))) return;
  Geometry& g = f->feature.geometry;
  std::vector<Point2> pts(count);
  for (int i = 0; i < count; ++i) pts[i] = {x[i], y[i]};
  bool boxed = g.type == GeometryType::Rect || g.type == GeometryType::Ellipse ||
               g.type == GeometryType::Text;
  if (boxed && count >= 2) {
    double x0 = pts[0].x, y0 = pts[0].y, x1 = x0, y1 = y0;
    for (const auto& p : pts)
      x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), x1 = std::max(x1, p.x),
      y1 = std::max(y1, p.y);
    g.x1 = x0, g.y1 = y0, g.x2 = x1, g.y2 = y1;
    return;
  }
  if (g.type == GeometryType::Text && count == 1) {
    double w = g.x2 - g.x1, h = g.y2 - g.y1;
    g.x1 = pts[0].x, g.y1 = pts[0].y, g.x2 = g.x1 + w, g.y2 = g.y1 + h;
    return;
  }
  if (static_cast<size_t>(part) >= g.parts.size()) g.parts.resize(part + 1);
  g.parts[part] = std::move(pts);
  // A two-vertex polyline is what the classic library stores as a line.
  if (g.type == GeometryType::Polyline && g.parts.size() == 1 && g.parts[0].size() == 2)
    g.type = GeometryType::Line;
  else if (g.type == GeometryType::Line && (g.parts.size() > 1 || g.parts[0].size() != 2))
    g.type = GeometryType::Polyline;
}

MITAB_API void MITAB_CALL mitab_c_set_arc(void* feature, double cx, double cy, double rx, double ry,
                                          double start, double end) {
  FeatureObj* f = AsFeature(feature);
  if (!f) return;
  Geometry& g = f->feature.geometry;
  g.x1 = cx - rx, g.x2 = cx + rx, g.y1 = cy - ry, g.y2 = cy + ry;
  g.startAngle = start, g.endAngle = end;
}

MITAB_API void MITAB_CALL mitab_c_set_text(void* feature, const char* text) {
  FeatureObj* f = AsFeature(feature);
  if (f) f->feature.geometry.text = FromTableCharset(f->schema, text);
}

MITAB_API void MITAB_CALL mitab_c_set_text_display(void* feature, double angle, double height,
                                                   double width, int fg, int bg, int justification,
                                                   int spacing, int linetype) {
  FeatureObj* f = AsFeature(feature);
  if (!f) return;
  Geometry& g = f->feature.geometry;
  g.textAngle = angle;
  if (height > 0) g.y2 = g.y1 + height;
  if (width > 0) g.x2 = g.x1 + width;
  if (fg >= 0) g.font.foreColor = fg;
  if (bg >= 0) g.font.backColor = bg, g.font.hasBack = true;
  if (justification >= 0) g.justify = justification;
  if (spacing >= 0) g.spacing = spacing == 2 ? 2 : spacing == 1 ? 1.5 : 1;
  if (linetype >= 0) g.labelLine = linetype;
}

MITAB_API void MITAB_CALL mitab_c_set_font(void* feature, const char* name) {
  FeatureObj* f = AsFeature(feature);
  if (!f) return;
  Geometry& g = f->feature.geometry;
  std::string n = FromTableCharset(f->schema, name);
  if (g.type == GeometryType::Point && g.symbol.kind == SymbolKind::Font)
    g.symbol.fontName = n;
  else if (g.type == GeometryType::Point && g.symbol.kind == SymbolKind::Custom)
    g.symbol.fileName = n;
  else
    g.font.name = n;
}

MITAB_API void MITAB_CALL mitab_c_set_brush(void* feature, int fg, int bg, int pattern,
                                            int transparent) {
  FeatureObj* f = AsFeature(feature);
  if (!f) return;
  f->feature.geometry.brush = {pattern, fg, bg, transparent != 0};
}

MITAB_API void MITAB_CALL mitab_c_set_pen(void* feature, int width, int pattern, int color) {
  FeatureObj* f = AsFeature(feature);
  if (f) f->feature.geometry.pen = {width, pattern, color};
}

MITAB_API void MITAB_CALL mitab_c_set_symbol(void* feature, int no, int size, int color) {
  FeatureObj* f = AsFeature(feature);
  if (!f) return;
  Symbol& s = f->feature.geometry.symbol;
  s.shape = no, s.size = size, s.color = color;
}

// The engine always writes a spatial index built in one pass, which is the quick mode.
MITAB_API int MITAB_CALL mitab_c_set_quick_spatial_index_mode(void* handle) {
  ClearError();
  Table* t = AsTable(handle);
  if (!t || !t->creating) {
    SetError(kErrIllegalArg, "No table open for writing");
    return -1;
  }
  return 0;
}

MITAB_API int MITAB_CALL mitab_c_write_feature(void* handle, void* feature) {
  ClearError();
  Table* t = AsTable(handle);
  FeatureObj* f = AsFeature(feature);
  if (!t || !f || t->reader) {
    SetError(kErrIllegalArg, "No table open for writing");
    return 0;
  }
  try {
    if (!t->writer) t->writer = TableWriter::Create(t->path, t->schema);
    t->writer->Insert(f->feature);
    return 1;
  } catch (const std::exception& e) {
    SetError(kErrFileIO, e.what());
    return 0;
  }
}
