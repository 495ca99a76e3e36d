// Native tables: .TAB header, .DAT attributes, .ID row pointers, .MAP geometry.

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "TabEngine.h"
#include "TabEngine_Private.h"
#include "WinCompat.h"

namespace tabengine::detail {

namespace {

constexpr int32_t kMapMagic = 42424242;
constexpr int kHeaderSize = 1024;
constexpr int kBlock = 512;
constexpr int kObjHeader = 20;
constexpr int kCoordHeader = 8;
constexpr int kToolHeader = 8;
constexpr double kIntLimit = 1000000000.0;

// Record size (low 7 bits) and "uses coordinate blocks" flag (0x80) by object type code; copied
// verbatim into every header we write.
constexpr uint8_t kObjectSizeTable[73] = {
    0x00, 0x0A, 0x0E, 0x15, 0x0E, 0x16, 0x1B, 0xA2, 0xA6, 0xAB, 0x1A, 0x2A, 0x2F, 0xA5, 0xA9,
    0xB5, 0xA7, 0xB5, 0xD9, 0x0F, 0x17, 0x23, 0x13, 0x1F, 0x2B, 0x0F, 0x17, 0x23, 0x4F, 0x57,
    0x63, 0x9C, 0xA4, 0xA9, 0xA0, 0xA8, 0xAD, 0xA4, 0xA8, 0xAD, 0x16, 0x1A, 0x39, 0x0D, 0x11,
    0x37, 0xA5, 0xA9, 0xB5, 0xA4, 0xA8, 0xAD, 0xB2, 0xB6, 0xDC, 0xBD, 0xBD, 0xF4, 0x2B, 0x2F,
    0x55, 0xC8, 0xCC, 0xD8, 0xC7, 0xCB, 0xD0, 0xD3, 0xD7, 0xFD, 0xC2, 0xC2, 0xF9};

// Object type codes (normal variant; the compressed one is code - 1).
enum ObjCode : uint8_t {
  kPoint = 0x02,
  kLine = 0x05,
  kPline = 0x08,
  kArc = 0x0B,
  kRegion = 0x0E,
  kText = 0x11,
  kRect = 0x14,
  kRoundRect = 0x17,
  kEllipse = 0x1A,
  kMultiPline = 0x26,
  kFontPoint = 0x29,
  kCustomPoint = 0x2C,
  kRegionV450 = 0x2F,
  kMultiPlineV450 = 0x32,
  kMultiPoint = 0x35,
  kCollection = 0x38,
  kCollectionV800 = 0x47,
  kRegionV800 = 0x3E,
  kMultiPlineV800 = 0x41,
  kMultiPointV800 = 0x44,
};

int FieldStorageWidth(const FieldDef& f) {
  switch (f.type) {
    case FieldType::Char:
    case FieldType::Decimal:
      return f.width;
    case FieldType::Integer:
    case FieldType::Date:
    case FieldType::Time:
      return 4;
    case FieldType::SmallInt:
      return 2;
    case FieldType::Float:
    case FieldType::LargeInt:
    case FieldType::DateTime:
      return 8;
    case FieldType::Logical:
      return 1;
  }
  return 0;
}

// Text style bits: the .MAP numbering has a "box" bit at 0x100 that MIF lacks, so the bits above
// it are shifted by one between the two.
int FontStyleMapToMif(int map) { return (map & 0xFF) + (map & 0xFE00) / 2; }
int FontStyleMifToMap(int mif, bool hasBack) {
  int map = (mif & 0xFF) + (mif & 0x7F00) * 2;
  if (hasBack && !(map & 0x200)) map |= 0x100;
  return map;
}

struct BrokenFeature {
  std::string why;
};
[[noreturn]] void Broken(const std::string& why) { throw BrokenFeature{why}; }

// ---------------------------------------------------------------------------------------------
// .TAB header

struct TabHeader {
  TableSchema schema;
  int version = 300;
};

TabHeader ParseTabFile(const std::string& raw, const std::wstring& path) {
  TabHeader h;
  auto lines = std::vector<std::string>();
  {
    size_t b = 0;
    for (size_t i = 0; i <= raw.size(); ++i)
      if (i == raw.size() || raw[i] == '\n' || raw[i] == '\r') {
        lines.push_back(raw.substr(b, i - b));
        b = i + 1;
      }
  }
  auto tokens = [](const std::string& line) {
    std::vector<std::string> t;
    size_t i = 0;
    while (i < line.size()) {
      char c = line[i];
      if (std::string_view(" \t(),;").find(c) != std::string_view::npos) {
        ++i;
      } else if (c == '"') {
        size_t e = line.find('"', i + 1);
        if (e == std::string::npos) e = line.size();
        t.push_back(line.substr(i + 1, e - i - 1));
        i = e + 1;
      } else {
        size_t b = i;
        while (i < line.size() &&
               std::string_view(" \t(),;\"").find(line[i]) == std::string_view::npos)
          ++i;
        t.push_back(line.substr(b, i - b));
      }
    }
    return t;
  };
  std::string where = " in " + PathForMessage(path);
  if (lines.empty() || Trim(lines[0]).rfind("!table", 0) != 0)
    throw TabError("Not a table header (no !table line)" + where);
  bool native = false;
  int fields = -1;
  size_t i = 1;
  for (; i < lines.size(); ++i) {
    auto t = tokens(lines[i]);
    if (t.empty()) continue;
    if (EqualsNoCase(t[0], "!version") && t.size() > 1) {
      int64_t v;
      if (ParseInt(t[1], v)) h.version = static_cast<int>(v);
    } else if (EqualsNoCase(t[0], "!charset") && t.size() > 1) {
      h.schema.charset = t[1];
    } else if (EqualsNoCase(t[0], "Type") && t.size() > 1) {
      native = EqualsNoCase(t[1], "NATIVE");
      if (!native) throw TabError("Unsupported table type " + t[1] + where);
      if (t.size() > 3 && EqualsNoCase(t[2], "Charset")) h.schema.charset = t[3];
    } else if (EqualsNoCase(t[0], "Fields") && t.size() > 1) {
      int64_t n;
      if (!ParseInt(t[1], n) || n < 1 || n > 2048) throw TabError("Bad field count" + where);
      fields = static_cast<int>(n);
      ++i;
      break;
    }
  }
  if (!native || fields < 0) throw TabError("Incomplete table header" + where);
  unsigned cp = CodePageOfCharset(h.schema.charset);
  for (; i < lines.size() && static_cast<int>(h.schema.fields.size()) < fields; ++i) {
    auto t = tokens(lines[i]);
    if (t.empty()) continue;
    if (t.size() < 2) throw TabError("Bad field definition '" + lines[i] + "'" + where);
    FieldDef f;
    f.name = ToUtf8(t[0], cp);
    static const std::pair<const char*, FieldType> kTypes[] = {
        {"Char", FieldType::Char},         {"Integer", FieldType::Integer},
        {"SmallInt", FieldType::SmallInt}, {"LargeInt", FieldType::LargeInt},
        {"Decimal", FieldType::Decimal},   {"Float", FieldType::Float},
        {"Logical", FieldType::Logical},   {"Date", FieldType::Date},
        {"Time", FieldType::Time},         {"DateTime", FieldType::DateTime}};
    bool known = false;
    for (const auto& [name, type] : kTypes)
      if (EqualsNoCase(t[1], name)) f.type = type, known = true;
    if (!known) throw TabError("Unknown field type " + t[1] + where);
    int64_t w = 0, d = 0;
    if (f.type == FieldType::Char || f.type == FieldType::Decimal) {
      if (t.size() < 3 || !ParseInt(t[2], w) || w < 1 || w > 254)
        throw TabError("Bad field width '" + lines[i] + "'" + where);
      if (f.type == FieldType::Decimal && (t.size() < 4 || !ParseInt(t[3], d) || d < 0 || d > w))
        throw TabError("Bad decimal field '" + lines[i] + "'" + where);
    }
    f.width = static_cast<int>(w);
    f.decimals = static_cast<int>(d);
    h.schema.fields.push_back(f);
  }
  if (static_cast<int>(h.schema.fields.size()) != fields)
    throw TabError("Field definitions missing" + where);
  return h;
}

// ---------------------------------------------------------------------------------------------
// .MAP reading

struct ToolSet {
  std::vector<Pen> pens;
  std::vector<Brush> brushes;
  std::vector<std::string> fonts;
  struct Sym {
    int shape = 35, size = 12, color = 0;
  };
  std::vector<Sym> symbols;
};

class MapFile {
 public:
  std::string data;
  int version = 0;
  int blockSize = kBlock;
  double xScale = 1, yScale = 1, xDispl = 0, yDispl = 0;
  double xPrecision = 1, yPrecision = 1;
  int quadrant = 1;
  ToolSet tools;
  unsigned codePage = 0;

  void Load(const std::wstring& path, CoordSys& cs) {
    if (!ReadWholeFile(path, data)) throw TabError("Cannot open file " + PathForMessage(path));
    ByteReader r(data);
    int32_t magic = 0;
    int16_t ver = 0, bs = 0;
    if (!r.Get(0x100, magic) || magic != kMapMagic || !r.Get(0x104, ver) || !r.Get(0x106, bs))
      throw TabError("Not a geometry file: " + PathForMessage(path));
    version = ver;
    blockSize = bs;
    if (blockSize < 512 || blockSize % 512 != 0 || blockSize > 32768)
      throw TabError("Bad block size in " + PathForMessage(path));
    if (!r.Has(0, version >= 500 ? kHeaderSize : 512))
      throw TabError("Truncated geometry file header: " + PathForMessage(path));
    uint8_t q = 1;
    r.Get(0x161, q);
    quadrant = q == 0 ? 3 : q;
    r.Get(0x170, xScale);
    r.Get(0x178, yScale);
    r.Get(0x180, xDispl);
    r.Get(0x188, yDispl);
    if (version <= 100) {
      uint8_t precision = 3;
      r.Get(0x160, precision);
      xScale = yScale = std::pow(10.0, precision);
      xDispl = yDispl = 0;
    }
    if (!(std::isfinite(xScale) && std::isfinite(yScale) && xScale != 0 && yScale != 0 &&
          std::isfinite(xDispl) && std::isfinite(yDispl)))
      throw TabError("Bad coordinate scale in " + PathForMessage(path));
    xPrecision = std::pow(10.0, std::round(std::log10(std::fabs(xScale))));
    yPrecision = std::pow(10.0, std::round(std::log10(std::fabs(yScale))));
    ReadCoordSys(cs);
    ReadTools();
  }

  Point2 ToReal(int32_t nx, int32_t ny) const {
    Point2 p;
    bool flipX = quadrant == 2 || quadrant == 3, flipY = quadrant == 3 || quadrant == 4;
    p.x = flipX ? -(nx + xDispl) / xScale : (nx - xDispl) / xScale;
    p.y = flipY ? -(ny + yDispl) / yScale : (ny - yDispl) / yScale;
    // Like GDAL, report values rounded to the decimal the grid resolves, so that coordinates
    // written as 7413000.5 read back as such rather than as 7413000.503113773.
    p.x = std::round(p.x * xPrecision) / xPrecision;
    p.y = std::round(p.y * yPrecision) / yPrecision;
    return p;
  }

  int BlockType(size_t blockStart) const {
    int16_t t = -1;
    ByteReader(data).Get(blockStart, t);
    return t;
  }

 private:
  void ReadCoordSys(CoordSys& cs) {
    ByteReader r(data);
    uint8_t proj = 0, ell = 0, units = 7;
    int16_t datum = 0;
    r.Get(0x16D, proj);
    r.Get(0x16E, ell);
    r.Get(0x16F, units);
    if (version >= 500) r.Get(0x16A, datum);
    cs = CoordSys();
    cs.units = UnitsName(units);
    cs.projection = proj;
    cs.earth = proj != 0;
    if (cs.earth) {
      double dp[8] = {};
      for (int i = 0; i < 8; ++i) r.Get(0x1C0 + 8 * i, dp[i]);
      if (version <= 200) dp[3] = dp[4] = dp[5] = dp[6] = dp[7] = 0;
      int found = 0;
      double probe[8];
      int probeEll;
      if (datum != 0 && datum != 999 && datum != 9999 && LookupDatum(datum, probeEll, probe))
        found = datum;
      else if (datum == 0)
        found = FindDatum(ell, dp);
      if (found) {
        cs.datum = found;
        LookupDatum(found, cs.ellipsoid, cs.datumParams);
      } else {
        cs.datum = 9999;
        cs.ellipsoid = ell;
        std::copy(dp, dp + 8, cs.datumParams);
      }
      int n = ProjectionParamCount(proj);
      for (int i = 0; i < n; ++i) {
        double v = 0;
        r.Get(0x190 + 8 * i, v);
        cs.params.push_back(v);
      }
      if (proj == 1) cs.units = "degree";
    }
    // The integer grid spans -1e9..1e9; report the bounds it stands for.
    auto clean = [](double v) { return std::round(v * 1e8) / 1e8; };
    Point2 a = ToReal(-1000000000, -1000000000), b = ToReal(1000000000, 1000000000);
    cs.minX = clean(std::min(a.x, b.x));
    cs.maxX = clean(std::max(a.x, b.x));
    cs.minY = clean(std::min(a.y, b.y));
    cs.maxY = clean(std::max(a.y, b.y));
    cs.hasBounds = true;
  }

  void ReadTools() {
    ByteReader r(data);
    int32_t next = 0;
    r.Get(0x138, next);
    std::set<int32_t> seen;
    while (next > 0 && seen.insert(next).second) {
      size_t b = static_cast<size_t>(next);
      int16_t type = 0, used = 0;
      int32_t following = 0;
      if (!r.Get(b, type) || type != 5 || !r.Get(b + 2, used) || !r.Get(b + 4, following)) break;
      size_t end = b + kToolHeader + std::clamp<int>(used, 0, blockSize - kToolHeader);
      if (!r.Has(b, end - b)) break;
      size_t p = b + kToolHeader;
      while (p < end) {
        uint8_t kind = static_cast<uint8_t>(data[p]);
        size_t size = kind == 1 ? 11 : kind == 2 ? 13 : kind == 3 ? 37 : kind == 4 ? 13 : 0;
        if (size == 0 || p + size > end) break;
        const uint8_t* d = reinterpret_cast<const uint8_t*>(data.data() + p);
        auto rgb = [&](size_t o) { return (d[o] << 16) | (d[o + 1] << 8) | d[o + 2]; };
        if (kind == 1) {
          Pen pen;
          int pixel = d[5], point = d[7];
          pen.pattern = d[6];
          pen.color = rgb(8);
          if (pixel > 7) point += (pixel - 8) * 256, pixel = 1;
          pen.width = point > 0 ? point + 10 : pixel;
          tools.pens.push_back(pen);
        } else if (kind == 2) {
          Brush br;
          br.pattern = d[5];
          br.transparent = d[6] != 0;
          br.foreColor = rgb(7);
          br.backColor = rgb(10);
          tools.brushes.push_back(br);
        } else if (kind == 3) {
          std::string name(reinterpret_cast<const char*>(d + 5), 32);
          name.resize(std::strlen(name.c_str()));
          tools.fonts.push_back(ToUtf8(name, codePage));
        } else {
          ToolSet::Sym s;
          int16_t v;
          std::memcpy(&v, d + 5, 2);
          s.shape = v;
          std::memcpy(&v, d + 7, 2);
          s.size = v;
          s.color = rgb(10);
          tools.symbols.push_back(s);
        }
        p += size;
      }
      next = following;
    }
  }
};

// Reads coordinate data that may continue through a chain of coordinate blocks.
class CoordStream {
 public:
  CoordStream(const MapFile& map, size_t offset) : map_(map), r_(map.data) {
    hopsLeft_ = map.data.size() / map.blockSize + 1;
    Enter(offset - offset % map.blockSize, offset);
  }
  void Read(void* dst, size_t n) {
    auto* out = static_cast<char*>(dst);
    while (n > 0) {
      if (pos_ >= end_) {
        int32_t next = 0;
        r_.Get(block_ + 4, next);
        if (next <= 0) Broken("coordinate data runs past the end of its block chain");
        Enter(static_cast<size_t>(next), static_cast<size_t>(next) + kCoordHeader);
      }
      size_t k = std::min(n, end_ - pos_);
      std::memcpy(out, map_.data.data() + pos_, k);
      out += k, pos_ += k, n -= k;
    }
  }
  template <class T>
  T Get() {
    T v;
    Read(&v, sizeof v);
    return v;
  }

 private:
  void Enter(size_t block, size_t pos) {
    if (hopsLeft_-- == 0) Broken("coordinate block chain loops");
    int16_t type = 0, used = 0;
    if (block % map_.blockSize != 0 || !r_.Has(block, map_.blockSize) || !r_.Get(block, type) ||
        type != 3 || !r_.Get(block + 2, used) || used < 0 || used > map_.blockSize - kCoordHeader)
      Broken("bad coordinate block at " + std::to_string(block));
    block_ = block;
    end_ = block + kCoordHeader + used;
    if (pos < block + kCoordHeader || pos > end_) Broken("coordinate offset outside its block");
    pos_ = pos;
  }
  const MapFile& map_;
  ByteReader r_;
  size_t block_ = 0, pos_ = 0, end_ = 0;
  size_t hopsLeft_;
};

// Reads one object record from an object block.
class ObjectDecoder {
 public:
  ObjectDecoder(const MapFile& map, size_t offset, int rowId) : map_(map), r_(map.data) {
    size_t block = offset - offset % map.blockSize;
    int16_t type = 0, used = 0;
    if (!r_.Has(block, map.blockSize) || !r_.Get(block, type) || type != 2 ||
        !r_.Get(block + 2, used) || used < 0 || used > map.blockSize - kObjHeader)
      Broken("geometry pointer does not lead into an object block");
    end_ = block + kObjHeader + used;
    if (offset < block + kObjHeader || offset + 5 > end_)
      Broken("geometry pointer outside the data");
    r_.Get(block + 4, centerX_);
    r_.Get(block + 8, centerY_);
    pos_ = offset;
    code_ = U8();
    uint32_t id = U32();
    if (id & 0xC0000000u) deleted_ = true;
    if (static_cast<int>(id & 0x3FFFFFFF) != rowId)
      Broken("object belongs to row " + std::to_string(id & 0x3FFFFFFF));
  }

  bool deleted() const { return deleted_; }

  Geometry Decode() {
    Geometry g;
    uint8_t c = code_;
    compressed_ = c % 3 == 1;
    uint8_t n = compressed_ ? c + 1 : c;
    if (c == 0 || c > 0x47) Broken("unknown object type " + std::to_string(c));
    switch (n) {
      case kPoint: {
        g.type = GeometryType::Point;
        g.parts.push_back({SimpleCoord()});
        SetSymbol(g, U8());
        break;
      }
      case kFontPoint: {
        g.type = GeometryType::Point;
        g.symbol.kind = SymbolKind::Font;
        g.symbol.shape = U8();
        g.symbol.size = U8();
        g.symbol.fontStyle = I16();
        g.symbol.color = Rgb();
        Rgb();
        g.symbol.angle = I16() / 10.0;
        g.parts.push_back({SimpleCoord()});
        g.symbol.fontName = FontName(U8());
        break;
      }
      case kCustomPoint: {
        g.type = GeometryType::Point;
        g.symbol.kind = SymbolKind::Custom;
        U8();
        g.symbol.customStyle = U8();
        g.parts.push_back({SimpleCoord()});
        int sym = U8();
        Symbol keep = g.symbol;
        SetSymbol(g, sym);
        g.symbol.kind = SymbolKind::Custom;
        g.symbol.customStyle = keep.customStyle;
        g.symbol.fileName = FontName(U8());
        break;
      }
      case kLine: {
        g.type = GeometryType::Line;
        Point2 a = SimpleCoord(), b = SimpleCoord();
        g.parts.push_back({a, b});
        SetPen(g, U8());
        break;
      }
      case kPline:
        DecodePolyline(g, 0);
        break;
      case kMultiPline:
        DecodePolyline(g, 300);
        break;
      case kMultiPlineV450:
        DecodePolyline(g, 450);
        break;
      case kMultiPlineV800:
        DecodePolyline(g, 800);
        break;
      case kRegion:
        DecodeRegion(g, 300);
        break;
      case kRegionV450:
        DecodeRegion(g, 450);
        break;
      case kRegionV800:
        DecodeRegion(g, 800);
        break;
      case kArc:
        DecodeArc(g);
        break;
      case kText:
        DecodeText(g);
        break;
      case kRect:
      case kEllipse:
      case kRoundRect: {
        g.type = n == kRect      ? GeometryType::Rect
                 : n == kEllipse ? GeometryType::Ellipse
                                 : GeometryType::RoundRect;
        if (n == kRoundRect) {
          double w = (compressed_ ? I16() : I32()) / map_.xScale;
          (compressed_ ? I16() : I32());
          g.cornerDiameter = std::fabs(w);
        }
        Box(g);
        SetPen(g, U8());
        SetBrush(g, U8());
        break;
      }
      case kCollection:
      case kCollectionV800:
        DecodeCollection(g, n == kCollectionV800);
        break;
      case kMultiPoint:
      case kMultiPointV800:
        DecodeMultiPoint(g, n == kMultiPointV800);
        break;
      default:
        Broken("object type " + std::to_string(c) + " is not supported");
    }
    return g;
  }

 private:
  uint8_t U8() { return Take<uint8_t>(); }
  int16_t I16() { return Take<int16_t>(); }
  int32_t I32() { return Take<int32_t>(); }
  uint32_t U32() { return Take<uint32_t>(); }
  int Rgb() {
    int r = U8(), g = U8(), b = U8();
    return (r << 16) | (g << 8) | b;
  }
  template <class T>
  T Take() {
    T v;
    if (pos_ + sizeof(T) > end_ || !r_.Get(pos_, v)) Broken("object record runs past its block");
    pos_ += sizeof(T);
    return v;
  }
  void Skip(size_t n) {
    if (pos_ + n > end_) Broken("object record runs past its block");
    pos_ += n;
  }
  // Simple objects compress relative to the block centre.
  Point2 SimpleCoord() {
    if (compressed_) {
      int32_t x = centerX_ + I16();
      int32_t y = centerY_ + I16();
      return map_.ToReal(x, y);
    }
    int32_t x = I32();
    return map_.ToReal(x, I32());
  }
  void Box(Geometry& g) {
    Point2 a = SimpleCoord(), b = SimpleCoord();
    g.x1 = std::min(a.x, b.x), g.x2 = std::max(a.x, b.x);
    g.y1 = std::min(a.y, b.y), g.y2 = std::max(a.y, b.y);
  }
  void SetPen(Geometry& g, int i) {
    if (i >= 1 && i <= static_cast<int>(map_.tools.pens.size())) g.pen = map_.tools.pens[i - 1];
  }
  void SetBrush(Geometry& g, int i) {
    if (i >= 1 && i <= static_cast<int>(map_.tools.brushes.size()))
      g.brush = map_.tools.brushes[i - 1];
  }
  void SetSymbol(Geometry& g, int i) {
    if (i >= 1 && i <= static_cast<int>(map_.tools.symbols.size())) {
      const auto& s = map_.tools.symbols[i - 1];
      g.symbol.shape = s.shape, g.symbol.size = s.size, g.symbol.color = s.color;
    }
  }
  std::string FontName(int i) {
    if (i >= 1 && i <= static_cast<int>(map_.tools.fonts.size())) return map_.tools.fonts[i - 1];
    return std::string();
  }

  // Label point, compression origin and MBR shared by polylines, regions and multipoints.
  void LabelOriginMbr(Geometry& g) {
    int32_t lx, ly;
    if (compressed_) {
      lx = I16(), ly = I16();
      originX_ = I32(), originY_ = I32();
      lx += originX_, ly += originY_;
      Skip(8);
    } else {
      lx = I32(), ly = I32();
      originX_ = originY_ = 0;
      Skip(16);
    }
    g.center = map_.ToReal(lx, ly);
  }
  Point2 StreamVertex(CoordStream& cs) {
    if (compressed_) {
      int32_t x = originX_ + cs.Get<int16_t>();
      int32_t y = originY_ + cs.Get<int16_t>();
      return map_.ToReal(x, y);
    }
    int32_t x = cs.Get<int32_t>();
    return map_.ToReal(x, cs.Get<int32_t>());
  }

  // version 0 = single-section polyline.
  // version 0 = single-section polyline.
  void ReadSections(Geometry& g, int version, uint32_t dataOffset, uint32_t dataSize,
                    int sections) {
    if (dataSize > map_.data.size()) Broken("coordinate data larger than the file");
    CoordStream cs(map_, dataOffset);
    if (version == 0) {
      size_t n = dataSize / (compressed_ ? 4 : 8);
      g.parts.emplace_back();
      g.parts[0].reserve(std::min<size_t>(n, 1 << 20));
      for (size_t i = 0; i < n; ++i) g.parts[0].push_back(StreamVertex(cs));
      return;
    }
    ReadSectionsFrom(cs, g, version, sections, dataSize);
  }

  // Section headers, then the vertices of all sections; limit bounds the bytes they may take.
  void ReadSectionsFrom(CoordStream& cs, Geometry& g, int version, int sections, uint64_t limit) {
    size_t vsize = compressed_ ? 4 : 8;
    if (sections < 1) Broken("object has no sections");
    size_t countSize = version == 300 ? 4 : version == 450 ? 6 : 8;
    size_t headerSize = countSize + (compressed_ ? 8 : 16) + 4;
    if (static_cast<uint64_t>(sections) * headerSize > limit)
      Broken("section count exceeds the coordinate data");
    std::vector<int64_t> counts;
    uint64_t total = 0;
    for (int s = 0; s < sections; ++s) {
      int64_t nv = version == 300 ? cs.Get<int16_t>() : cs.Get<int32_t>();
      if (version == 800)
        cs.Get<int32_t>();
      else
        cs.Get<int16_t>();
      char skip[20];
      cs.Read(skip, headerSize - countSize);
      if (nv < 0) Broken("negative vertex count");
      counts.push_back(nv);
      total += nv;
    }
    if (total * vsize + sections * headerSize > limit)
      Broken("vertex counts exceed the coordinate data");
    for (int64_t nv : counts) {
      std::vector<Point2> pts;
      pts.reserve(static_cast<size_t>(nv));
      for (int64_t i = 0; i < nv; ++i) pts.push_back(StreamVertex(cs));
      g.parts.push_back(std::move(pts));
    }
  }

  // Label point and MBR that open each part of a collection in the coordinate data.
  Point2 PartHeader(CoordStream& cs) {
    int32_t lx, ly;
    if (compressed_) {
      lx = originX_ + cs.Get<int16_t>();
      ly = originY_ + cs.Get<int16_t>();
      char skip[8];
      cs.Read(skip, 8);
    } else {
      lx = cs.Get<int32_t>();
      ly = cs.Get<int32_t>();
      char skip[16];
      cs.Read(skip, 16);
    }
    return map_.ToReal(lx, ly);
  }

  void DecodeCollection(Geometry& g, bool v800) {
    g.type = GeometryType::Collection;
    uint32_t off = U32();
    int32_t points = I32();
    U32();  // region and polyline data sizes: the parts are read in sequence instead
    U32();
    int32_t regionSections = v800 ? I32() : I16();
    int32_t plineSections = v800 ? I32() : I16();
    if (v800) U8();
    Skip(15);
    int symbol = U8();
    U8();
    int regionPen = U8(), plinePen = U8(), regionBrush = U8();
    if (compressed_) {
      originX_ = I32(), originY_ = I32();
      Skip(8);
    } else {
      originX_ = originY_ = 0;
      Skip(16);
    }
    if (regionSections < 0 || plineSections < 0 || points < 0 ||
        static_cast<uint64_t>(points) > map_.data.size())
      Broken("bad collection counts");
    CoordStream cs(map_, off);
    int sectionVersion = v800 ? 800 : 450;
    if (regionSections > 0) {
      Geometry r;
      r.type = GeometryType::Region;
      if (v800) cs.Get<int32_t>();
      r.center = PartHeader(cs);
      r.hasCenter = true;
      ReadSectionsFrom(cs, r, sectionVersion, regionSections, map_.data.size());
      SetPen(r, regionPen);
      SetBrush(r, regionBrush);
      g.members.push_back(std::move(r));
    }
    if (plineSections > 0) {
      Geometry l;
      l.type = GeometryType::Polyline;
      if (v800) cs.Get<int32_t>();
      PartHeader(cs);
      ReadSectionsFrom(cs, l, sectionVersion, plineSections, map_.data.size());
      SetPen(l, plinePen);
      g.members.push_back(std::move(l));
    }
    if (points > 0) {
      Geometry m;
      m.type = GeometryType::MultiPoint;
      PartHeader(cs);
      m.parts.emplace_back();
      for (int32_t i = 0; i < points; ++i) m.parts[0].push_back(StreamVertex(cs));
      SetSymbol(m, symbol);
      g.members.push_back(std::move(m));
    }
  }

  void DecodePolyline(Geometry& g, int version) {
    g.type = GeometryType::Polyline;
    uint32_t off = U32(), size = U32();
    g.smooth = (size & 0x80000000u) != 0;
    size &= 0x7FFFFFFF;
    int sections = 1;
    if (version == 300 || version == 450) sections = I16();
    if (version == 800) sections = I32(), Skip(33);
    LabelOriginMbr(g);
    SetPen(g, U8());
    ReadSections(g, version, off, size, sections);
  }

  void DecodeRegion(Geometry& g, int version) {
    g.type = GeometryType::Region;
    uint32_t off = U32(), size = U32() & 0x7FFFFFFF;
    int sections = version == 800 ? I32() : I16();
    if (version == 800) Skip(33);
    LabelOriginMbr(g);
    g.hasCenter = true;
    SetPen(g, U8());
    SetBrush(g, U8());
    ReadSections(g, version, off, size, sections);
  }

  void DecodeMultiPoint(Geometry& g, bool v800) {
    g.type = GeometryType::MultiPoint;
    uint32_t off = U32();
    int32_t n = I32();
    Skip(v800 ? 48 : 15);
    SetSymbol(g, U8());
    U8();
    LabelOriginMbr(g);
    if (n < 0 || static_cast<uint64_t>(n) * (compressed_ ? 4 : 8) > map_.data.size())
      Broken("bad multipoint count");
    CoordStream cs(map_, off);
    g.parts.emplace_back();
    for (int32_t i = 0; i < n; ++i) g.parts[0].push_back(StreamVertex(cs));
  }

  void DecodeArc(Geometry& g) {
    g.type = GeometryType::Arc;
    double a = I16() / 10.0, b = I16() / 10.0;
    // Mirrored quadrants swap and reflect the stored angles.
    int q = map_.quadrant;
    if (q == 2 || q == 4) std::swap(a, b);
    auto fix = [&](double v) {
      if (q == 2 || q == 3) v = v <= 180 ? 180 - v : 540 - v;
      if (q == 3 || q == 4) v = 360 - v;
      return v;
    };
    g.startAngle = fix(a);
    g.endAngle = fix(b);
    Box(g);
    SimpleCoord();
    SimpleCoord();
    SetPen(g, U8());
  }

  void DecodeText(Geometry& g) {
    g.type = GeometryType::Text;
    uint32_t off = U32();
    int16_t len = I16();
    int flags = static_cast<uint16_t>(I16());
    g.textAngle = I16() / 10.0;
    int style = static_cast<uint16_t>(I16());
    g.font.foreColor = Rgb();
    g.font.backColor = Rgb();
    g.labelEnd = SimpleCoord();
    int32_t height = compressed_ ? I16() : I32();
    g.textHeight = std::fabs(height / map_.yScale);
    g.font.name = FontName(U8());
    Box(g);
    SetPen(g, U8());
    g.justify = flags & 0x0200 ? 1 : flags & 0x0400 ? 2 : 0;
    g.spacing = flags & 0x1000 ? 2.0 : flags & 0x0800 ? 1.5 : 1.0;
    g.labelLine = flags & 0x4000 ? 2 : flags & 0x2000 ? 1 : 0;
    g.font.style = FontStyleMapToMif(style);
    g.font.hasBack = (style & 0x300) != 0;
    if (len < 0) Broken("negative text length");
    std::string s(static_cast<size_t>(len), '\0');
    if (len > 0) {
      CoordStream cs(map_, off);
      cs.Read(s.data(), s.size());
    }
    g.text = ToUtf8(s, map_.codePage);
  }

  const MapFile& map_;
  ByteReader r_;
  size_t pos_ = 0, end_ = 0;
  int32_t centerX_ = 0, centerY_ = 0, originX_ = 0, originY_ = 0;
  uint8_t code_ = 0;
  bool compressed_ = false, deleted_ = false;
};

// ---------------------------------------------------------------------------------------------
// Native reader

class NativeReader : public TableReader {
 public:
  explicit NativeReader(const std::wstring& path) {
    std::string tab;
    if (!ReadWholeFile(path, tab)) throw TabError("Cannot open file " + PathForMessage(path));
    TabHeader h = ParseTabFile(tab, path);
    schema_ = h.schema;
    codePage_ = CodePageOfCharset(schema_.charset);
    LoadDat(Companion(path, L".dat", true));
    std::wstring mapPath = Companion(path, L".map", false);
    schema_.mappable = !mapPath.empty();
    if (schema_.mappable) {
      std::wstring idPath = Companion(path, L".id", true);
      if (!ReadWholeFile(idPath, id_)) throw TabError("Cannot open file " + PathForMessage(idPath));
      map_.codePage = codePage_;
      map_.Load(mapPath, schema_.coordsys);
    } else {
      schema_.coordsys = CoordSys();
    }
    rows_ = std::max<int64_t>(datRows_, static_cast<int64_t>(id_.size() / 4));
  }

  const TableSchema& Schema() const override { return schema_; }
  int RowCount() const override { return static_cast<int>(rows_); }

  bool RowDeleted(int id) override {
    size_t rec = datHeader_ + static_cast<size_t>(id - 1) * recordLen_;
    return id >= 1 && id <= datRows_ && rec < dat_.size() && dat_[rec] == '*';
  }

  bool ReadFeature(int id, Feature& out) override {
    if (id < 1 || id > rows_) return false;
    out = Feature();
    out.id = id;
    std::string errors;
    try {
      ReadValues(id, out);
    } catch (const BrokenFeature& b) {
      errors = b.why;
    } catch (const std::exception& e) {
      errors = e.what();
    }
    if (schema_.mappable) {
      try {
        ReadGeometry(id, out);
      } catch (const BrokenFeature& b) {
        out.geometry = Geometry();
        errors += (errors.empty() ? "" : "; ") + b.why;
      } catch (const std::exception& e) {  // e.g. no memory for a damaged vertex count
        out.geometry = Geometry();
        errors += (errors.empty() ? "" : "; ") + std::string(e.what());
      }
    }
    if (!errors.empty()) out.error = "Row " + std::to_string(id) + ": " + errors;
    return true;
  }

 private:
  static std::wstring Companion(const std::wstring& tab, const wchar_t* ext, bool required) {
    std::wstring p = ReplaceExtension(tab, ext);
    if (GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES) return p;
    std::wstring other = p;
    size_t dot = other.find_last_of(L'.');
    for (size_t i = dot + 1; i < other.size(); ++i)
      other[i] = iswupper(other[i]) ? towlower(other[i]) : towupper(other[i]);
    if (GetFileAttributesW(other.c_str()) != INVALID_FILE_ATTRIBUTES) return other;
    if (required) throw TabError("Missing file " + PathForMessage(p));
    return std::wstring();
  }

  void LoadDat(const std::wstring& path) {
    if (!ReadWholeFile(path, dat_)) throw TabError("Cannot open file " + PathForMessage(path));
    ByteReader r(dat_);
    int32_t records = 0;
    uint16_t headerLen = 0, recordLen = 0;
    if (!r.Get(4, records) || !r.Get(8, headerLen) || !r.Get(10, recordLen) || records < 0)
      throw TabError("Bad attribute file header: " + PathForMessage(path));
    size_t expect = 1;
    offsets_.clear();
    for (const auto& f : schema_.fields) {
      offsets_.push_back(expect);
      expect += FieldStorageWidth(f);
    }
    if (recordLen != expect || headerLen < 32 * (schema_.fields.size() + 1))
      throw TabError("Attribute file does not match the table header: " + PathForMessage(path));
    datHeader_ = headerLen;
    recordLen_ = recordLen;
    datRows_ = records;
    // A damaged record count must not invent millions of rows: past the records the file holds,
    // one row stands for the missing ones (unless the .ID file lists more rows).
    int64_t present = dat_.size() < headerLen ? 0 : (dat_.size() - headerLen) / recordLen;
    if (datRows_ > present + 1) datRows_ = present + 1;
  }

  void ReadValues(int id, Feature& out) {
    for (const auto& f : schema_.fields) out.values.push_back(Value::FromText(f, ""));
    size_t rec = datHeader_ + static_cast<size_t>(id - 1) * recordLen_;
    if (id > datRows_) Broken("row has no attribute record");
    ByteReader r(dat_);
    if (!r.Has(rec, recordLen_)) Broken("attribute record lies beyond the end of the file");
    if (dat_[rec] == '*') out.deleted = true;
    for (size_t i = 0; i < schema_.fields.size(); ++i) {
      const FieldDef& f = schema_.fields[i];
      size_t p = rec + offsets_[i];
      Value& v = out.values[i];
      switch (f.type) {
        case FieldType::Char: {
          std::string s(dat_.data() + p, f.width);
          size_t e = s.size();
          while (e > 0 && (s[e - 1] == '\0' || s[e - 1] == ' ')) --e;
          s.resize(e);
          s.resize(std::strlen(s.c_str()));
          v.text = ToUtf8(s, codePage_);
          break;
        }
        case FieldType::Integer: {
          int32_t x = 0;
          r.Get(p, x);
          v.integer = x;
          break;
        }
        case FieldType::SmallInt: {
          int16_t x = 0;
          r.Get(p, x);
          v.integer = x;
          break;
        }
        case FieldType::LargeInt:
          r.Get(p, v.integer);
          break;
        case FieldType::Float:
          r.Get(p, v.real);
          break;
        case FieldType::Decimal: {
          std::string s = Trim(std::string(dat_.data() + p, f.width));
          v = Value::FromText(f, s);
          break;
        }
        case FieldType::Logical:
          v.integer = dat_[p] != 0 && dat_[p] != 'F' && dat_[p] != 'N';
          break;
        case FieldType::Date:
          v.date = ReadDate(p);
          break;
        case FieldType::Time:
          r.Get(p, v.time);
          if (v.time < -1 || v.time >= 86400000) v.time = -1;
          break;
        case FieldType::DateTime:
          v.date = ReadDate(p);
          r.Get(p + 4, v.time);
          if (v.time < 0 || v.time >= 86400000) v.time = v.date ? 0 : -1;
          break;
      }
    }
  }

  int32_t ReadDate(size_t p) const {
    int16_t y = 0;
    ByteReader(dat_).Get(p, y);
    int m = static_cast<uint8_t>(dat_[p + 2]), d = static_cast<uint8_t>(dat_[p + 3]);
    if (y == 0 && m == 0 && d == 0) return 0;
    return y * 10000 + m * 100 + d;
  }

  void ReadGeometry(int id, Feature& out) {
    int32_t ptr = 0;
    if (!ByteReader(id_).Get(static_cast<size_t>(id - 1) * 4, ptr) || ptr == 0) return;
    if (ptr < 0 || static_cast<size_t>(ptr) >= map_.data.size())
      Broken("geometry pointer beyond the end of the geometry file");
    ObjectDecoder dec(map_, static_cast<size_t>(ptr), id);
    if (dec.deleted()) return;
    out.geometry = dec.Decode();
  }

  TableSchema schema_;
  unsigned codePage_ = 0;
  std::string dat_, id_;
  std::vector<size_t> offsets_;
  size_t datHeader_ = 0, recordLen_ = 0;
  int64_t datRows_ = 0, rows_ = 0;
  MapFile map_;
};

// ---------------------------------------------------------------------------------------------
// Native writer

struct IntPoint {
  int32_t x, y;
};

struct IntBox {
  int32_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
  void Add(int32_t x, int32_t y) {
    x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
  }
  void Add(const IntBox& b) {
    if (b.x0 <= b.x1) Add(b.x0, b.y0), Add(b.x1, b.y1);
  }
  bool Empty() const { return x0 > x1; }
};

class ToolTable {
 public:
  int Pen(const tabengine::Pen& p) {
    int pixel = p.width <= 7 ? std::max(p.width, 1) : 0, point = p.width > 10 ? p.width - 10 : 0;
    if (point > 0) pixel = 8 + point / 256;
    uint8_t def[11] = {1,
                       0,
                       0,
                       0,
                       0,
                       static_cast<uint8_t>(pixel),
                       static_cast<uint8_t>(p.pattern),
                       static_cast<uint8_t>(point & 0xFF)};
    SetRgb(def + 8, p.color);
    return Index(pens_, std::string(reinterpret_cast<char*>(def), 11));
  }
  int Brush(const tabengine::Brush& b) {
    uint8_t def[13] = {2,
                       0,
                       0,
                       0,
                       0,
                       static_cast<uint8_t>(b.pattern),
                       static_cast<uint8_t>(b.transparent ? 1 : 0)};
    SetRgb(def + 7, b.foreColor);
    SetRgb(def + 10, b.backColor);
    return Index(brushes_, std::string(reinterpret_cast<char*>(def), 13));
  }
  int Symbol(int shape, int size, int color) {
    uint8_t def[13] = {4};
    int16_t s = static_cast<int16_t>(shape), z = static_cast<int16_t>(size);
    std::memcpy(def + 5, &s, 2);
    std::memcpy(def + 7, &z, 2);
    SetRgb(def + 10, color);
    return Index(symbols_, std::string(reinterpret_cast<char*>(def), 13));
  }
  int Font(const std::string& name) {
    char def[37] = {3};
    std::memcpy(def + 5, name.data(), std::min<size_t>(name.size(), 31));
    return Index(fonts_, std::string(def, 37));
  }
  // Definitions in the order pens, brushes, fonts, symbols, with their reference counts.
  std::vector<std::string> All() const {
    std::vector<std::string> out;
    for (const auto* list : {&pens_, &brushes_, &fonts_, &symbols_})
      for (const auto& e : list->order) {
        std::string d = e;
        int32_t refs = list->refs.at(e);
        std::memcpy(&d[1], &refs, 4);
        out.push_back(d);
      }
    return out;
  }
  int Count(int kind) const {
    const List* l[] = {&pens_, &brushes_, &fonts_, &symbols_};
    return static_cast<int>(l[kind]->order.size());
  }

 private:
  struct List {
    std::vector<std::string> order;
    std::map<std::string, int> index, refs;
  };
  static void SetRgb(uint8_t* p, int c) {
    p[0] = (c >> 16) & 0xFF, p[1] = (c >> 8) & 0xFF, p[2] = c & 0xFF;
  }
  // Object records hold one-byte tool indexes; beyond 255 definitions the first one is reused.
  static int Index(List& l, const std::string& def) {
    auto it = l.index.find(def);
    if (it == l.index.end()) {
      if (l.order.size() >= 255) {
        ++l.refs[l.order[0]];
        return 1;
      }
      l.order.push_back(def);
      it = l.index.emplace(def, static_cast<int>(l.order.size())).first;
    }
    ++l.refs[def];
    return it->second;
  }
  List pens_, brushes_, fonts_, symbols_;
};

class MapWriter {
 public:
  MapWriter(const CoordSys& cs, unsigned codePage) : cs_(cs), codePage_(codePage) {
    double x0, y0, x1, y1;
    cs.EffectiveBounds(x0, y0, x1, y1);
    if (x1 == x0) x0 -= 1, x1 += 1;
    if (y1 == y0) y0 -= 1, y1 += 1;
    xScale_ = 2e9 / (x1 - x0);
    yScale_ = 2e9 / (y1 - y0);
    xDispl_ = -xScale_ * (x1 + x0) / 2;
    yDispl_ = -yScale_ * (y1 + y0) / 2;
    buf_.assign(kHeaderSize, '\0');
  }

  // Appends the object of one row; returns its offset for the .ID file (0 = no geometry).
  int32_t Add(const Geometry& g, int row) {
    if (g.type == GeometryType::None) return 0;
    Record rec;
    rec.row = row;
    Encode(g, rec);
    return Place(rec);
  }

  int Version() const { return version_; }

  std::string Finish() {
    CloseObjectBlock();
    int32_t root = 0;
    int depth = 0;
    if (!leaves_.empty()) BuildIndex(root, depth);
    int32_t firstTool = WriteTools();
    WriteHeader(root, depth, firstTool);
    return std::move(buf_);
  }

 private:
  struct Record {
    int row = 0;
    std::string body;  // object record after type and row id
    uint8_t code = 0;
    std::string coords;  // coordinate data, written to the coordinate chain
    // The indivisible items of coords as runs of (item size, count): a value never straddles
    // two coordinate blocks, while a text string may.
    std::vector<std::pair<size_t, size_t>> items;
    void Items(size_t size, size_t count) {
      if (count) items.emplace_back(size, count);
    }
    size_t coordOffsetAt = std::string::npos;  // where in body the coordinate offset goes
    IntBox box;
    int kind = 0;  // 1 point, 2 line, 3 area, 4 text
  };

  IntPoint ToInt(Point2 p) const {
    auto conv = [](double v) {
      return static_cast<int32_t>(std::clamp(std::round(v), -kIntLimit, kIntLimit));
    };
    return {conv(p.x * xScale_ + xDispl_), conv(p.y * yScale_ + yDispl_)};
  }
  int32_t DistX(double d) const {
    return static_cast<int32_t>(std::clamp(std::round(d * xScale_), -kIntLimit, kIntLimit));
  }
  int32_t DistY(double d) const {
    return static_cast<int32_t>(std::clamp(std::round(d * yScale_), -kIntLimit, kIntLimit));
  }

  static void PutPoint(std::string& s, IntPoint p) {
    Append(s, p.x);
    Append(s, p.y);
  }
  static void PutBox(std::string& s, const IntBox& b) {
    Append(s, b.x0), Append(s, b.y0), Append(s, b.x1), Append(s, b.y1);
  }

  void Encode(const Geometry& g, Record& rec) {
    std::string& b = rec.body;
    auto box = [&](double x1, double y1, double x2, double y2) {
      IntPoint a = ToInt({std::min(x1, x2), std::min(y1, y2)});
      IntPoint c = ToInt({std::max(x1, x2), std::max(y1, y2)});
      IntBox r;
      r.Add(a.x, a.y), r.Add(c.x, c.y);
      return r;
    };
    switch (g.type) {
      case GeometryType::Point: {
        if (g.parts.empty() || g.parts[0].empty()) throw TabError("point without coordinates");
        IntPoint p = ToInt(g.parts[0][0]);
        rec.box.Add(p.x, p.y);
        rec.kind = 1;
        const Symbol& s = g.symbol;
        if (s.kind == SymbolKind::Font) {
          rec.code = kFontPoint;
          Append<uint8_t>(b, static_cast<uint8_t>(s.shape));
          Append<uint8_t>(b, static_cast<uint8_t>(s.size));
          Append<int16_t>(b, static_cast<int16_t>(s.fontStyle));
          AppendRgb(b, s.color);
          AppendRgb(b, 0);
          Append<int16_t>(b, static_cast<int16_t>(std::lround(s.angle * 10)));
          PutPoint(b, p);
          Append<uint8_t>(b, static_cast<uint8_t>(tools_.Font(FromUtf8(s.fontName, codePage_))));
        } else if (s.kind == SymbolKind::Custom) {
          rec.code = kCustomPoint;
          Append<uint8_t>(b, 0);
          Append<uint8_t>(b, static_cast<uint8_t>(s.customStyle));
          PutPoint(b, p);
          Append<uint8_t>(b, static_cast<uint8_t>(tools_.Symbol(s.shape, s.size, s.color)));
          Append<uint8_t>(b, static_cast<uint8_t>(tools_.Font(FromUtf8(s.fileName, codePage_))));
        } else {
          rec.code = kPoint;
          PutPoint(b, p);
          Append<uint8_t>(b, static_cast<uint8_t>(tools_.Symbol(s.shape, s.size, s.color)));
        }
        break;
      }
      case GeometryType::Line: {
        if (g.parts.empty() || g.parts[0].size() < 2) throw TabError("line needs two points");
        rec.code = kLine;
        rec.kind = 2;
        IntPoint a = ToInt(g.parts[0][0]), c = ToInt(g.parts[0][1]);
        rec.box.Add(a.x, a.y), rec.box.Add(c.x, c.y);
        PutPoint(b, a);
        PutPoint(b, c);
        Append<uint8_t>(b, static_cast<uint8_t>(tools_.Pen(g.pen)));
        break;
      }
      case GeometryType::Polyline:
      case GeometryType::Region:
        EncodeSections(g, rec);
        break;
      case GeometryType::MultiPoint: {
        rec.code = kMultiPoint;
        rec.kind = 1;
        version_ = std::max(version_, 650);
        const auto& pts = g.parts.empty() ? std::vector<Point2>() : g.parts[0];
        for (const auto& p : pts) {
          IntPoint q = ToInt(p);
          rec.box.Add(q.x, q.y);
          PutPoint(rec.coords, q);
        }
        rec.Items(8, pts.size());
        if (rec.box.Empty()) throw TabError("multipoint without points");
        rec.coordOffsetAt = 0;
        Append<int32_t>(b, 0);
        Append<int32_t>(b, static_cast<int32_t>(pts.size()));
        b.append(15, '\0');
        Append<uint8_t>(
            b, static_cast<uint8_t>(tools_.Symbol(g.symbol.shape, g.symbol.size, g.symbol.color)));
        Append<uint8_t>(b, 0);
        PutPoint(b, ToInt(pts[0]));
        PutBox(b, rec.box);
        break;
      }
      case GeometryType::Arc: {
        rec.code = kArc;
        rec.kind = 2;
        IntBox ell = box(g.x1, g.y1, g.x2, g.y2);
        Append<int16_t>(b, static_cast<int16_t>(std::lround(g.startAngle * 10)));
        Append<int16_t>(b, static_cast<int16_t>(std::lround(g.endAngle * 10)));
        PutBox(b, ell);
        IntBox arc = ArcBox(g);
        PutBox(b, arc);
        rec.box = arc;
        Append<uint8_t>(b, static_cast<uint8_t>(tools_.Pen(g.pen)));
        break;
      }
      case GeometryType::Rect:
      case GeometryType::Ellipse:
      case GeometryType::RoundRect: {
        rec.code = g.type == GeometryType::Rect      ? kRect
                   : g.type == GeometryType::Ellipse ? kEllipse
                                                     : kRoundRect;
        rec.kind = 3;
        if (g.type == GeometryType::RoundRect) {
          Append<int32_t>(b, DistX(g.cornerDiameter));
          Append<int32_t>(b, DistY(g.cornerDiameter));
        }
        rec.box = box(g.x1, g.y1, g.x2, g.y2);
        PutBox(b, rec.box);
        Append<uint8_t>(b, static_cast<uint8_t>(tools_.Pen(g.pen)));
        Append<uint8_t>(b, static_cast<uint8_t>(tools_.Brush(g.brush)));
        break;
      }
      case GeometryType::Text:
        EncodeText(g, rec);
        break;
      case GeometryType::Collection:
        EncodeCollection(g, rec);
        break;
      case GeometryType::None:
        break;
    }
  }

  IntBox ArcBox(const Geometry& g) {
    double cx = (g.x1 + g.x2) / 2, cy = (g.y1 + g.y2) / 2;
    double rx = std::fabs(g.x2 - g.x1) / 2, ry = std::fabs(g.y2 - g.y1) / 2;
    double a = g.startAngle, e = g.endAngle;
    while (e <= a) e += 360;
    IntBox r;
    for (int i = 0; i <= 360; ++i) {
      double t = (a + (e - a) * i / 360.0) * 3.14159265358979323846 / 180;
      IntPoint p = ToInt({cx + rx * std::cos(t), cy + ry * std::sin(t)});
      r.Add(p.x, p.y);
    }
    return r;
  }

  void EncodeSections(const Geometry& g, Record& rec) {
    bool region = g.type == GeometryType::Region;
    size_t total = 0;
    for (const auto& p : g.parts) total += p.size();
    if (g.parts.empty() || total == 0) throw TabError("polyline or region without vertices");
    bool big = total > 32767 || g.parts.size() > 32767;
    bool single = !region && g.parts.size() == 1 && !big;
    rec.kind = region ? 3 : 2;
    if (single)
      rec.code = kPline;
    else if (region)
      rec.code = big ? kRegionV450 : kRegion;
    else
      rec.code = big ? kMultiPlineV450 : kMultiPline;
    if (big) version_ = std::max(version_, 450);
    std::vector<std::vector<IntPoint>> ints;
    for (const auto& part : g.parts) {
      ints.emplace_back();
      for (const auto& p : part) {
        IntPoint q = ToInt(p);
        rec.box.Add(q.x, q.y);
        ints.back().push_back(q);
      }
    }
    std::string& c = rec.coords;
    std::vector<int> holes = region ? HoleCounts(g) : std::vector<int>(g.parts.size(), 0);
    if (single) {
      for (auto q : ints[0]) PutPoint(c, q);
      rec.Items(8, ints[0].size());
    } else {
      SectionData(ints, holes, big, rec);
    }
    std::string& b = rec.body;
    rec.coordOffsetAt = 0;
    Append<int32_t>(b, 0);
    uint32_t size = static_cast<uint32_t>(c.size());
    if (!region && g.smooth) size |= 0x80000000u;
    Append<uint32_t>(b, size);
    if (!single) Append<int16_t>(b, static_cast<int16_t>(std::min<size_t>(ints.size(), 32767)));
    Point2 label{(g.parts[0][0].x), (g.parts[0][0].y)};
    if (g.hasCenter)
      label = g.center;
    else {
      double x0, y0, x1, y1;
      g.Bounds(x0, y0, x1, y1);
      label = {(x0 + x1) / 2, (y0 + y1) / 2};
    }
    PutPoint(b, ToInt(label));
    PutBox(b, rec.box);
    Append<uint8_t>(b, static_cast<uint8_t>(tools_.Pen(g.pen)));
    if (region) Append<uint8_t>(b, static_cast<uint8_t>(tools_.Brush(g.brush)));
  }

  static std::vector<int> HoleCounts(const Geometry& g) {
    std::vector<int> holes(g.parts.size(), 0);
    std::vector<bool> interior = InteriorRings(g);
    size_t outer = 0;
    for (size_t i = 1; i < g.parts.size(); ++i) {
      if (interior[i])
        ++holes[outer];
      else
        outer = i;
    }
    return holes;
  }

  // Section headers followed by all vertices, as regions and multi-section polylines store them.
  static void SectionData(const std::vector<std::vector<IntPoint>>& ints,
                          const std::vector<int>& holes, bool v450, Record& rec) {
    std::string& c = rec.coords;
    int virtualSize = v450 ? 28 : 24;  // V450 offsets count as if headers were 28 bytes
    size_t first = 0;
    for (size_t s = 0; s < ints.size(); ++s) {
      IntBox sb;
      for (auto q : ints[s]) sb.Add(q.x, q.y);
      if (sb.Empty()) sb.Add(0, 0);
      if (v450)
        Append<int32_t>(c, static_cast<int32_t>(ints[s].size()));
      else
        Append<int16_t>(c, static_cast<int16_t>(ints[s].size()));
      Append<int16_t>(c, static_cast<int16_t>(holes[s]));
      PutBox(c, sb);
      Append<int32_t>(c, static_cast<int32_t>(ints.size() * virtualSize + first * 8));
      first += ints[s].size();
    }
    rec.Items(v450 ? 26 : 24, ints.size());
    for (const auto& part : ints)
      for (auto q : part) PutPoint(c, q);
    rec.Items(8, first);
  }

  // A collection keeps its region, polyline and multipoint parts one after another in the
  // coordinate data, each opened by its label point and MBR.
  void EncodeCollection(const Geometry& g, Record& rec) {
    const Geometry *region = nullptr, *pline = nullptr, *points = nullptr;
    for (const auto& m : g.members) {
      const Geometry** slot = m.type == GeometryType::Region       ? &region
                              : m.type == GeometryType::Polyline   ? &pline
                              : m.type == GeometryType::MultiPoint ? &points
                                                                   : nullptr;
      if (!slot || *slot)
        throw TabError("a collection holds at most one region, polyline and multipoint");
      *slot = &m;
    }
    if (!region && !pline && !points) throw TabError("empty collection");
    rec.code = kCollection;
    rec.kind = region ? 3 : pline ? 2 : 1;
    version_ = std::max(version_, 650);
    std::string& c = rec.coords;
    auto toInts = [&](const Geometry& m, IntBox& box) {
      std::vector<std::vector<IntPoint>> ints;
      for (const auto& part : m.parts) {
        ints.emplace_back();
        for (const auto& p : part) {
          IntPoint q = ToInt(p);
          box.Add(q.x, q.y);
          rec.box.Add(q.x, q.y);
          ints.back().push_back(q);
        }
      }
      if (box.Empty()) throw TabError("collection part without vertices");
      return ints;
    };
    auto partHeader = [&](const Geometry& m, const IntBox& box) {
      double x0, y0, x1, y1;
      m.Bounds(x0, y0, x1, y1);
      PutPoint(c, ToInt(m.hasCenter ? m.center : Point2{(x0 + x1) / 2, (y0 + y1) / 2}));
      PutBox(c, box);
      rec.Items(24, 1);
    };
    // The stored part sizes count two bytes per section more than the data holds; readers walk
    // the parts in sequence and do not depend on them.
    uint32_t regionSize = 0, plineSize = 0;
    if (region) {
      IntBox box;
      auto ints = toInts(*region, box);
      partHeader(*region, box);
      size_t start = c.size();
      SectionData(ints, HoleCounts(*region), true, rec);
      regionSize = static_cast<uint32_t>(c.size() - start + 2 * ints.size());
    }
    if (pline) {
      IntBox box;
      auto ints = toInts(*pline, box);
      partHeader(*pline, box);
      size_t start = c.size();
      SectionData(ints, std::vector<int>(ints.size(), 0), true, rec);
      plineSize = static_cast<uint32_t>(c.size() - start + 2 * ints.size());
    }
    size_t pointCount = 0;
    if (points) {
      IntBox box;
      auto ints = toInts(*points, box);
      partHeader(*points, box);
      for (const auto& part : ints)
        for (auto q : part) PutPoint(c, q), ++pointCount;
      rec.Items(8, pointCount);
    }
    std::string& b = rec.body;
    rec.coordOffsetAt = 0;
    Append<int32_t>(b, 0);
    Append<int32_t>(b, static_cast<int32_t>(pointCount));
    Append<uint32_t>(b, regionSize);
    Append<uint32_t>(b, plineSize);
    Append<int16_t>(b, static_cast<int16_t>(region ? region->parts.size() : 0));
    Append<int16_t>(b, static_cast<int16_t>(pline ? pline->parts.size() : 0));
    b.append(15, '\0');
    const Symbol& sym = points ? points->symbol : Symbol();
    Append<uint8_t>(
        b, points ? static_cast<uint8_t>(tools_.Symbol(sym.shape, sym.size, sym.color)) : 0);
    Append<uint8_t>(b, 0);
    Append<uint8_t>(b, region ? static_cast<uint8_t>(tools_.Pen(region->pen)) : 0);
    Append<uint8_t>(b, pline ? static_cast<uint8_t>(tools_.Pen(pline->pen)) : 0);
    Append<uint8_t>(b, region ? static_cast<uint8_t>(tools_.Brush(region->brush)) : 0);
    PutBox(b, rec.box);
  }

  void EncodeText(const Geometry& g, Record& rec) {
    rec.code = kText;
    rec.kind = 4;
    std::string s = FromUtf8(g.text, codePage_);
    if (s.size() > 32767) s.resize(32767);
    rec.coords = s;
    rec.Items(1, s.size());
    std::string& b = rec.body;
    rec.coordOffsetAt = 0;
    Append<int32_t>(b, 0);
    Append<int16_t>(b, static_cast<int16_t>(s.size()));
    int flags = (g.justify == 1   ? 0x0200
                 : g.justify == 2 ? 0x0400
                                  : 0) |
                (g.spacing >= 2  ? 0x1000
                 : g.spacing > 1 ? 0x0800
                                 : 0) |
                (g.labelLine == 2   ? 0x4000
                 : g.labelLine == 1 ? 0x2000
                                    : 0);
    Append<int16_t>(b, static_cast<int16_t>(flags));
    Append<int16_t>(b, static_cast<int16_t>(std::lround(g.textAngle * 10)));
    Append<int16_t>(b, static_cast<int16_t>(FontStyleMifToMap(g.font.style, g.font.hasBack)));
    AppendRgb(b, g.font.foreColor);
    AppendRgb(b, g.font.hasBack ? g.font.backColor : 0xFFFFFF);
    IntPoint lo = ToInt({std::min(g.x1, g.x2), std::min(g.y1, g.y2)});
    IntPoint hi = ToInt({std::max(g.x1, g.x2), std::max(g.y1, g.y2)});
    PutPoint(b, g.labelLine ? ToInt(g.labelEnd) : lo);
    Append<int32_t>(b, DistY(g.textHeight > 0 ? g.textHeight : std::fabs(g.y2 - g.y1)));
    Append<uint8_t>(b, static_cast<uint8_t>(tools_.Font(FromUtf8(g.font.name, codePage_))));
    rec.box.Add(lo.x, lo.y), rec.box.Add(hi.x, hi.y);
    PutBox(b, rec.box);
    Append<uint8_t>(b, static_cast<uint8_t>(tools_.Pen(g.pen)));
  }

  static void AppendRgb(std::string& b, int c) {
    Append<uint8_t>(b, (c >> 16) & 0xFF);
    Append<uint8_t>(b, (c >> 8) & 0xFF);
    Append<uint8_t>(b, c & 0xFF);
  }

  size_t NewBlock() {
    size_t at = buf_.size();
    buf_.append(kBlock, '\0');
    return at;
  }

  int32_t Place(Record& rec) {
    size_t size = 5 + rec.body.size();
    if (object_ == 0 || objUsed_ + size > kBlock - kObjHeader) {
      CloseObjectBlock();
      object_ = NewBlock();
      objUsed_ = 0;
      coord_ = firstCoord_ = 0;
      objBox_ = IntBox();
    }
    if (!rec.coords.empty()) {
      int32_t at = WriteCoords(rec);
      std::memcpy(&rec.body[rec.coordOffsetAt], &at, 4);
    } else if (rec.coordOffsetAt != std::string::npos) {
      // Empty coordinate data still needs a valid offset inside a coordinate block.
      int32_t at = WriteCoords(rec);
      std::memcpy(&rec.body[rec.coordOffsetAt], &at, 4);
    }
    size_t at = object_ + kObjHeader + objUsed_;
    buf_[at] = static_cast<char>(rec.code);
    int32_t row = rec.row;
    std::memcpy(&buf_[at + 1], &row, 4);
    std::memcpy(&buf_[at + 5], rec.body.data(), rec.body.size());
    objUsed_ += size;
    objBox_.Add(rec.box);
    dataBox_.Add(rec.box);
    counts_[rec.kind]++;
    maxCoordSize_ = std::max(maxCoordSize_, rec.coords.size());
    return static_cast<int32_t>(at);
  }

  void StartCoordBlock() {
    size_t b = NewBlock();
    Put<int16_t>(buf_, b, 3);
    if (coord_)
      Put<int32_t>(buf_, coord_ + 4, static_cast<int32_t>(b));
    else
      firstCoord_ = b;
    coord_ = b;
    coordUsed_ = 0;
  }

  // Copies the record's coordinate data into the chain of the current object block.
  int32_t WriteCoords(const Record& rec) {
    const std::string& c = rec.coords;
    size_t room = kBlock - kCoordHeader;
    size_t firstItem = rec.items.empty() ? 1 : rec.items[0].first;
    if (coord_ == 0 || coordUsed_ + firstItem > room) StartCoordBlock();
    int32_t start = static_cast<int32_t>(coord_ + kCoordHeader + coordUsed_);
    size_t i = 0;
    for (const auto& [size, count] : rec.items) {
      for (size_t k = 0; k < count; ++k) {
        if (coordUsed_ + size > room) StartCoordBlock();
        std::memcpy(&buf_[coord_ + kCoordHeader + coordUsed_], c.data() + i, size);
        coordUsed_ += size;
        i += size;
        Put<int16_t>(buf_, coord_ + 2, static_cast<int16_t>(coordUsed_));
      }
    }
    return start;
  }

  void CloseObjectBlock() {
    if (object_ == 0) return;
    Put<int16_t>(buf_, object_, 2);
    Put<int16_t>(buf_, object_ + 2, static_cast<int16_t>(objUsed_));
    Put<int32_t>(buf_, object_ + 4, static_cast<int32_t>((int64_t(objBox_.x0) + objBox_.x1) / 2));
    Put<int32_t>(buf_, object_ + 8, static_cast<int32_t>((int64_t(objBox_.y0) + objBox_.y1) / 2));
    Put<int32_t>(buf_, object_ + 12, static_cast<int32_t>(firstCoord_));
    Put<int32_t>(buf_, object_ + 16, static_cast<int32_t>(coord_));
    leaves_.push_back({objBox_, static_cast<int32_t>(object_)});
    object_ = 0;
  }

  struct Entry {
    IntBox box;
    int32_t child;
  };

  // Bottom-up R-tree: object blocks in file order, 25 entries per index block.
  void BuildIndex(int32_t& root, int& depth) {
    constexpr size_t kPerBlock = (kBlock - 4) / 20;
    std::vector<Entry> level = leaves_;
    depth = 1;
    do {
      std::vector<Entry> up;
      for (size_t i = 0; i < level.size(); i += kPerBlock) {
        size_t b = NewBlock();
        size_t n = std::min(kPerBlock, level.size() - i);
        Put<int16_t>(buf_, b, 1);
        Put<int16_t>(buf_, b + 2, static_cast<int16_t>(n));
        IntBox all;
        for (size_t k = 0; k < n; ++k) {
          const Entry& e = level[i + k];
          size_t p = b + 4 + 20 * k;
          Put(buf_, p, e.box.x0), Put(buf_, p + 4, e.box.y0);
          Put(buf_, p + 8, e.box.x1), Put(buf_, p + 12, e.box.y1);
          Put(buf_, p + 16, e.child);
          all.Add(e.box);
        }
        up.push_back({all, static_cast<int32_t>(b)});
      }
      level = std::move(up);
      ++depth;
    } while (level.size() > 1);
    root = level[0].child;
  }

  int32_t WriteTools() {
    auto defs = tools_.All();
    if (defs.empty()) return 0;
    int32_t first = 0;
    size_t block = 0, used = 0;
    for (const auto& d : defs) {
      if (block == 0 || used + d.size() > kBlock - kToolHeader) {
        size_t b = NewBlock();
        Put<int16_t>(buf_, b, 5);
        if (block)
          Put<int32_t>(buf_, block + 4, static_cast<int32_t>(b));
        else
          first = static_cast<int32_t>(b);
        block = b;
        used = 0;
        ++toolBlocks_;
      }
      std::memcpy(&buf_[block + kToolHeader + used], d.data(), d.size());
      used += d.size();
      Put<int16_t>(buf_, block + 2, static_cast<int16_t>(used));
    }
    return first;
  }

  void WriteHeader(int32_t root, int depth, int32_t firstTool) {
    std::string& h = buf_;
    std::memcpy(&h[0], kObjectSizeTable, sizeof kObjectSizeTable);
    Put<int32_t>(h, 0x100, kMapMagic);
    Put<int16_t>(h, 0x104, 500);
    Put<int16_t>(h, 0x106, kBlock);
    Put<double>(h, 0x108, 1.0);
    IntBox d = dataBox_;
    if (d.Empty()) d.Add(0, 0);
    Put(h, 0x110, d.x0), Put(h, 0x114, d.y0), Put(h, 0x118, d.x1), Put(h, 0x11C, d.y1);
    Put<int32_t>(h, 0x130, root);
    Put<int32_t>(h, 0x134, 0);
    Put<int32_t>(h, 0x138, firstTool);
    for (int k = 1; k <= 4; ++k) Put<int32_t>(h, 0x138 + 4 * k, counts_[k]);
    size_t maxCoord = (maxCoordSize_ + kBlock - 1) / kBlock * kBlock;
    Put<int32_t>(h, 0x14C, static_cast<int32_t>(std::min<size_t>(maxCoord, 512 * 1024)));
    int units = std::max(UnitsCode(cs_.units), 0);
    h[0x15E] = static_cast<char>(units);
    h[0x15F] = static_cast<char>(depth);
    h[0x160] = 3;
    h[0x161] = 1;
    h[0x162] = 0;
    h[0x163] = 72;
    h[0x164] = static_cast<char>(tools_.Count(0));
    h[0x165] = static_cast<char>(tools_.Count(1));
    h[0x166] = static_cast<char>(tools_.Count(3));
    h[0x167] = static_cast<char>(tools_.Count(2));
    Put<int16_t>(h, 0x168, static_cast<int16_t>(toolBlocks_));
    if (cs_.earth) {
      int ell = cs_.ellipsoid;
      double dp[8];
      std::copy(cs_.datumParams, cs_.datumParams + 8, dp);
      if (cs_.datum != 999 && cs_.datum != 9999) LookupDatum(cs_.datum, ell, dp);
      Put<int16_t>(h, 0x16A, static_cast<int16_t>(cs_.datum));
      h[0x16D] = static_cast<char>(cs_.projection);
      h[0x16E] = static_cast<char>(ell);
      h[0x16F] = static_cast<char>(cs_.projection == 1 ? 13 : units);
      for (size_t i = 0; i < 6 && i < cs_.params.size(); ++i)
        Put<double>(h, 0x190 + 8 * i, cs_.params[i]);
      for (int i = 0; i < 8; ++i) Put<double>(h, 0x1C0 + 8 * i, dp[i]);
    } else {
      h[0x16F] = static_cast<char>(units);
    }
    Put<double>(h, 0x170, xScale_);
    Put<double>(h, 0x178, yScale_);
    Put<double>(h, 0x180, xDispl_);
    Put<double>(h, 0x188, yDispl_);
  }

  CoordSys cs_;
  unsigned codePage_;
  double xScale_, yScale_, xDispl_, yDispl_;
  std::string buf_;
  ToolTable tools_;
  size_t object_ = 0, objUsed_ = 0, coord_ = 0, firstCoord_ = 0, coordUsed_ = 0;
  IntBox objBox_, dataBox_;
  std::vector<Entry> leaves_;
  int32_t counts_[5] = {};
  size_t maxCoordSize_ = 0;
  int toolBlocks_ = 0;
  int version_ = 300;
};

class NativeWriter : public TableWriter {
 public:
  NativeWriter(const std::wstring& path, const TableSchema& schema)
      : path_(path), schema_(schema), codePage_(CodePageOfCharset(schema.charset)) {
    // A native table needs at least one column.
    if (schema_.fields.empty()) {
      schema_.fields.push_back({"FID", FieldType::Integer});
      addedId_ = true;
    }
    for (const auto& f : schema_.fields) {
      if (f.name.empty()) throw TabError("Column without a name");
      version_ = std::max(version_, FieldTypeVersion(f.type));
      recordLen_ += FieldStorageWidth(f);
    }
    if (schema_.mappable) map_ = std::make_unique<MapWriter>(schema_.coordsys, codePage_);
  }

  void Insert(const Feature& f) override {
    int row = static_cast<int>(++rows_);
    if (map_) {
      int32_t at = map_->Add(f.geometry, row);
      Append<int32_t>(id_, at);
    }
    version_ = std::max(version_, GeometryVersion(f.geometry));
    dat_ += ' ';
    for (size_t i = 0; i < schema_.fields.size(); ++i) {
      const FieldDef& fd = schema_.fields[i];
      Value v;
      if (addedId_)
        v = Value::Int(row);
      else
        v = i < f.values.size() ? f.values[i] : Value::FromText(fd, "");
      WriteValue(fd, v);
    }
  }

  void Close() override {
    if (closed_) return;
    closed_ = true;
    if (map_) version_ = std::max(version_, map_->Version());
    WriteWholeFile(path_, TabText());
    WriteWholeFile(ReplaceExtension(path_, L".dat"), DatHeader() + dat_ + '\x1A');
    if (map_) {
      WriteWholeFile(ReplaceExtension(path_, L".map"), map_->Finish());
      WriteWholeFile(ReplaceExtension(path_, L".id"), id_);
    }
  }

 private:
  void WriteValue(const FieldDef& f, const Value& v) {
    switch (f.type) {
      case FieldType::Char: {
        std::string s = FromUtf8(v.text, codePage_);
        s.resize(f.width, '\0');
        dat_ += s;
        break;
      }
      case FieldType::Integer:
        Append<int32_t>(dat_, static_cast<int32_t>(v.integer));
        break;
      case FieldType::SmallInt:
        Append<int16_t>(dat_, static_cast<int16_t>(v.integer));
        break;
      case FieldType::LargeInt:
        Append<int64_t>(dat_, v.integer);
        break;
      case FieldType::Float:
        Append<double>(dat_, v.real);
        break;
      case FieldType::Decimal: {
        std::string s = v.blank ? std::string() : FormatFixed(v.real, f.decimals);
        if (static_cast<int>(s.size()) > f.width) s.assign(f.width, '*');
        dat_ += std::string(f.width - s.size(), ' ') + s;
        break;
      }
      case FieldType::Logical:
        dat_ += v.integer ? '\x01' : '\0';
        break;
      case FieldType::Date:
        AppendDate(v.date);
        break;
      case FieldType::Time:
        Append<int32_t>(dat_, v.time);
        break;
      case FieldType::DateTime:
        AppendDate(v.date);
        Append<int32_t>(dat_, v.date ? std::max(v.time, 0) : -1);
        break;
    }
  }
  void AppendDate(int32_t d) {
    Append<int16_t>(dat_, static_cast<int16_t>(d / 10000));
    Append<uint8_t>(dat_, static_cast<uint8_t>(d / 100 % 100));
    Append<uint8_t>(dat_, static_cast<uint8_t>(d % 100));
  }

  std::string TabText() const {
    std::string t = "!table\r\n!version " + std::to_string(version_) + "\r\n!charset " +
                    schema_.charset + "\r\n\r\nDefinition Table\r\n  Type NATIVE Charset \"" +
                    schema_.charset + "\"\r\n  Fields " + std::to_string(schema_.fields.size()) +
                    "\r\n";
    for (const auto& f : schema_.fields) {
      t += "    " + FromUtf8(f.name, codePage_) + " " + FieldTypeName(f.type);
      if (f.type == FieldType::Char) t += " (" + std::to_string(f.width) + ")";
      if (f.type == FieldType::Decimal)
        t += " (" + std::to_string(f.width) + "," + std::to_string(f.decimals) + ")";
      t += " ;\r\n";
    }
    return t;
  }

  std::string DatHeader() const {
    std::string h(32, '\0');
    h[0] = 3, h[1] = 99, h[2] = 9, h[3] = 9;
    Put<int32_t>(h, 4, static_cast<int32_t>(rows_));
    Put<int16_t>(h, 8, static_cast<int16_t>(32 * (schema_.fields.size() + 1) + 1));
    Put<int16_t>(h, 10, static_cast<int16_t>(recordLen_));
    for (const auto& f : schema_.fields) {
      std::string d(32, '\0');
      std::string name = FromUtf8(f.name, codePage_).substr(0, 10);
      std::memcpy(&d[0], name.data(), name.size());
      d[11] = f.type == FieldType::Decimal ? 'N' : f.type == FieldType::Logical ? 'L' : 'C';
      d[16] = static_cast<char>(FieldStorageWidth(f));
      d[17] = static_cast<char>(f.decimals);
      h += d;
    }
    return h + '\x0D';
  }

  std::wstring path_;
  TableSchema schema_;
  unsigned codePage_;
  bool addedId_ = false, closed_ = false;
  int version_ = 300;
  size_t recordLen_ = 1;
  int64_t rows_ = 0;
  std::string dat_, id_;
  std::unique_ptr<MapWriter> map_;
};

}  // namespace

std::unique_ptr<TableReader> OpenNative(const std::wstring& path) {
  return std::make_unique<NativeReader>(path);
}

std::unique_ptr<TableWriter> CreateNative(const std::wstring& path, const TableSchema& schema) {
  return std::make_unique<NativeWriter>(path, schema);
}

}  // namespace tabengine::detail
