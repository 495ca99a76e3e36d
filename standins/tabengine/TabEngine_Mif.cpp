// MIF/MID interchange files.

#include <algorithm>
#include <cmath>

#include "TabEngine.h"
#include "TabEngine_Private.h"

namespace tabengine::detail {

namespace {

enum class Tok { End, Word, Number, String, Comma, LParen, RParen };

// Whitespace-insensitive lexer over the (UTF-8) MIF text; counts and clauses may be split over
// lines in any way.
class MifLexer {
 public:
  explicit MifLexer(const std::string& s, size_t pos = 0, size_t line = 1)
      : s_(s), pos_(pos), line_(line) {
    Advance();
  }
  // Where the current token starts, to come back to it later.
  size_t tokenStart() const { return start_; }
  size_t tokenLine() const { return startLine_; }
  Tok kind() const { return kind_; }
  const std::string& text() const { return text_; }
  double number() const { return number_; }
  size_t line() const { return line_; }
  bool IsWord(const char* w) const { return kind_ == Tok::Word && EqualsNoCase(text_, w); }

  void Advance() {
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '\n') ++line_;
      if (c != ' ' && c != '\t' && c != '\r' && c != '\n') break;
      ++pos_;
    }
    start_ = pos_;
    startLine_ = line_;
    if (pos_ >= s_.size()) {
      kind_ = Tok::End;
      text_.clear();
      return;
    }
    char c = s_[pos_];
    if (c == ',' || c == '(' || c == ')') {
      kind_ = c == ',' ? Tok::Comma : c == '(' ? Tok::LParen : Tok::RParen;
      text_.assign(1, c);
      ++pos_;
      return;
    }
    if (c == '"') {
      kind_ = Tok::String;
      text_.clear();
      ++pos_;
      while (pos_ < s_.size()) {
        char d = s_[pos_++];
        if (d == '"') {
          if (pos_ < s_.size() && s_[pos_] == '"') {
            text_ += '"';
            ++pos_;
            continue;
          }
          break;
        }
        if (d == '\\' && pos_ < s_.size() && (s_[pos_] == 'n' || s_[pos_] == '\\')) {
          text_ += s_[pos_++] == 'n' ? '\n' : '\\';
          continue;
        }
        if (d == '\n') ++line_;
        text_ += d;
      }
      return;
    }
    size_t b = pos_;
    while (pos_ < s_.size() &&
           std::string_view(" \t\r\n,()\"").find(s_[pos_]) == std::string_view::npos)
      ++pos_;
    text_ = s_.substr(b, pos_ - b);
    kind_ = ParseNumber(text_, number_) ? Tok::Number : Tok::Word;
  }

  double Number() {
    if (kind_ != Tok::Number) Fail("number expected");
    double d = number_;
    Advance();
    return d;
  }
  int Int() { return static_cast<int>(std::clamp(Number(), -2147483648.0, 2147483647.0)); }
  std::string String() {
    if (kind_ != Tok::String) Fail("string expected");
    std::string s = text_;
    Advance();
    return s;
  }
  void Skip(Tok k) {
    if (kind_ != k)
      Fail(std::string("'") +
           (k == Tok::LParen   ? "("
            : k == Tok::RParen ? ")"
                               : ",") +
           "' expected");
    Advance();
  }
  void SkipComma() {
    if (kind_ == Tok::Comma) Advance();
  }
  [[noreturn]] void Fail(const std::string& what) const {
    throw TabError("MIF line " + std::to_string(line_) + ": " + what + " at '" + text_ + "'");
  }

 private:
  const std::string& s_;
  size_t pos_ = 0;
  size_t line_ = 1;
  size_t start_ = 0, startLine_ = 1;
  Tok kind_ = Tok::End;
  std::string text_;
  double number_ = 0;
};

struct Transform {
  double mx = 1, my = 1, dx = 0, dy = 0;
};

class MifParser {
 public:
  MifParser(MifLexer& lx, const Transform& tr) : lx_(lx), tr_(tr) {}

  Point2 Coord() {
    Point2 p;
    p.x = lx_.Number() * tr_.mx + tr_.dx;
    p.y = lx_.Number() * tr_.my + tr_.dy;
    return p;
  }
  std::vector<Point2> Coords(int n) {
    if (n < 0) lx_.Fail("negative count");
    std::vector<Point2> v;
    v.reserve(std::min(n, 1 << 20));
    for (int i = 0; i < n; ++i) v.push_back(Coord());
    return v;
  }
  void Box(Geometry& g) {
    Point2 a = Coord(), b = Coord();
    g.x1 = a.x, g.y1 = a.y, g.x2 = b.x, g.y2 = b.y;
  }

  Geometry Object() {
    Geometry g;
    if (lx_.IsWord("None")) {
      lx_.Advance();
    } else if (lx_.IsWord("Point")) {
      lx_.Advance();
      g.type = GeometryType::Point;
      g.parts.push_back({Coord()});
    } else if (lx_.IsWord("Line")) {
      lx_.Advance();
      g.type = GeometryType::Line;
      g.parts.push_back(Coords(2));
    } else if (lx_.IsWord("Pline")) {
      lx_.Advance();
      g.type = GeometryType::Polyline;
      if (lx_.IsWord("Multiple")) {
        lx_.Advance();
        int k = lx_.Int();
        for (int i = 0; i < k; ++i) g.parts.push_back(Coords(lx_.Int()));
      } else {
        g.parts.push_back(Coords(lx_.Int()));
      }
    } else if (lx_.IsWord("Region")) {
      lx_.Advance();
      g.type = GeometryType::Region;
      int k = lx_.Int();
      for (int i = 0; i < k; ++i) g.parts.push_back(Coords(lx_.Int()));
    } else if (lx_.IsWord("Arc")) {
      lx_.Advance();
      g.type = GeometryType::Arc;
      Box(g);
      g.startAngle = lx_.Number();
      g.endAngle = lx_.Number();
    } else if (lx_.IsWord("Text")) {
      lx_.Advance();
      g.type = GeometryType::Text;
      g.text = lx_.String();
      Box(g);
    } else if (lx_.IsWord("Rect")) {
      lx_.Advance();
      g.type = GeometryType::Rect;
      Box(g);
    } else if (lx_.IsWord("RoundRect")) {
      lx_.Advance();
      g.type = GeometryType::RoundRect;
      Box(g);
      g.cornerDiameter = lx_.Number();
    } else if (lx_.IsWord("Ellipse")) {
      lx_.Advance();
      g.type = GeometryType::Ellipse;
      Box(g);
    } else if (lx_.IsWord("Multipoint")) {
      lx_.Advance();
      g.type = GeometryType::MultiPoint;
      g.parts.push_back(Coords(lx_.Int()));
    } else if (lx_.IsWord("Collection")) {
      lx_.Advance();
      g.type = GeometryType::Collection;
      int k = lx_.Int();
      for (int i = 0; i < k; ++i) {
        if (!lx_.IsWord("Region") && !lx_.IsWord("Pline") && !lx_.IsWord("Multipoint"))
          lx_.Fail("collection part expected");
        g.members.push_back(Object());
      }
      return g;
    } else {
      lx_.Fail("object expected");
    }
    Clauses(g);
    return g;
  }

 private:
  void Clauses(Geometry& g) {
    for (;;) {
      if (lx_.IsWord("Pen")) {
        lx_.Advance();
        lx_.Skip(Tok::LParen);
        g.pen.width = lx_.Int();
        lx_.SkipComma();
        g.pen.pattern = lx_.Int();
        lx_.SkipComma();
        g.pen.color = lx_.Int();
        lx_.Skip(Tok::RParen);
      } else if (lx_.IsWord("Brush")) {
        lx_.Advance();
        lx_.Skip(Tok::LParen);
        g.brush.pattern = lx_.Int();
        lx_.SkipComma();
        g.brush.foreColor = lx_.Int();
        lx_.SkipComma();
        g.brush.transparent = lx_.kind() == Tok::RParen;
        if (!g.brush.transparent) g.brush.backColor = lx_.Int();
        lx_.Skip(Tok::RParen);
      } else if (lx_.IsWord("Symbol")) {
        lx_.Advance();
        SymbolClause(g.symbol);
      } else if (lx_.IsWord("Font")) {
        lx_.Advance();
        lx_.Skip(Tok::LParen);
        g.font.name = lx_.String();
        lx_.SkipComma();
        g.font.style = lx_.Int();
        lx_.SkipComma();
        g.font.size = lx_.Number();
        lx_.SkipComma();
        g.font.foreColor = lx_.Int();
        lx_.SkipComma();
        g.font.hasBack = lx_.kind() == Tok::Number;
        if (g.font.hasBack) g.font.backColor = lx_.Int();
        lx_.Skip(Tok::RParen);
      } else if (lx_.IsWord("Smooth")) {
        lx_.Advance();
        g.smooth = true;
      } else if (lx_.IsWord("Center")) {
        lx_.Advance();
        g.hasCenter = true;
        g.center = Coord();
      } else if (lx_.IsWord("Spacing")) {
        lx_.Advance();
        g.spacing = lx_.Number();
      } else if (lx_.IsWord("Justify")) {
        lx_.Advance();
        g.justify = lx_.IsWord("Center") ? 1 : lx_.IsWord("Right") ? 2 : 0;
        lx_.Advance();
      } else if (lx_.IsWord("Angle")) {
        lx_.Advance();
        g.textAngle = lx_.Number();
      } else if (lx_.IsWord("Label")) {
        lx_.Advance();
        if (lx_.IsWord("Line")) lx_.Advance();
        g.labelLine = lx_.IsWord("Arrow") ? 2 : 1;
        lx_.Advance();
        g.labelEnd = Coord();
      } else {
        return;
      }
    }
  }

  void SymbolClause(Symbol& s) {
    lx_.Skip(Tok::LParen);
    if (lx_.kind() == Tok::String) {
      s.kind = SymbolKind::Custom;
      s.fileName = lx_.String();
      lx_.SkipComma();
      s.color = lx_.Int();
      lx_.SkipComma();
      s.size = lx_.Int();
      lx_.SkipComma();
      s.customStyle = lx_.Int();
    } else {
      s.shape = lx_.Int();
      lx_.SkipComma();
      s.color = lx_.Int();
      lx_.SkipComma();
      s.size = lx_.Int();
      lx_.SkipComma();
      if (lx_.kind() == Tok::String) {
        s.kind = SymbolKind::Font;
        s.fontName = lx_.String();
        lx_.SkipComma();
        s.fontStyle = lx_.Int();
        lx_.SkipComma();
        s.angle = lx_.Number();
      }
    }
    lx_.Skip(Tok::RParen);
  }

  MifLexer& lx_;
  const Transform& tr_;
};

// Splits MID text into lines; CR LF, LF and CR all end a line.
std::vector<std::string_view> SplitLines(const std::string& s) {
  std::vector<std::string_view> lines;
  size_t b = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\n' || s[i] == '\r') {
      lines.emplace_back(s.data() + b, i - b);
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
      b = i + 1;
    }
  }
  if (b < s.size()) lines.emplace_back(s.data() + b, s.size() - b);
  return lines;
}

std::vector<std::string> SplitMidLine(std::string_view line, char delim) {
  std::vector<std::string> out;
  size_t i = 0;
  for (;;) {
    std::string v;
    while (i < line.size() && line[i] == ' ' && delim != ' ') ++i;
    if (i < line.size() && line[i] == '"') {
      ++i;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          if (i < line.size() && line[i] == '"') {
            v += '"';
            ++i;
            continue;
          }
          break;
        }
        if (c == '\\' && i < line.size() && (line[i] == 'n' || line[i] == '\\')) {
          v += line[i++] == 'n' ? '\n' : '\\';
          continue;
        }
        v += c;
      }
      while (i < line.size() && line[i] != delim) ++i;
    } else {
      size_t b = i;
      while (i < line.size() && line[i] != delim) ++i;
      v.assign(line.substr(b, i - b));
    }
    out.push_back(std::move(v));
    if (i >= line.size()) break;
    ++i;  // delimiter
  }
  return out;
}

FieldDef ParseColumn(MifLexer& lx) {
  FieldDef f;
  if (lx.kind() != Tok::Word && lx.kind() != Tok::String) lx.Fail("column name expected");
  f.name = lx.text();
  lx.Advance();
  std::string type = lx.text();
  lx.Advance();
  static const std::pair<const char*, FieldType> kTypes[] = {
      {"Char", FieldType::Char},         {"Integer", FieldType::Integer},
      {"SmallInt", FieldType::SmallInt}, {"LargeInt", FieldType::LargeInt},
      {"Decimal", FieldType::Decimal},   {"Float", FieldType::Float},
      {"Logical", FieldType::Logical},   {"Date", FieldType::Date},
      {"Time", FieldType::Time},         {"DateTime", FieldType::DateTime}};
  bool known = false;
  for (const auto& [name, t] : kTypes)
    if (EqualsNoCase(type, name)) f.type = t, known = true;
  if (!known) lx.Fail("unknown column type " + type);
  if (f.type == FieldType::Char || f.type == FieldType::Decimal) {
    lx.Skip(Tok::LParen);
    f.width = lx.Int();
    if (f.type == FieldType::Decimal) {
      lx.SkipComma();
      f.decimals = lx.Int();
    }
    lx.Skip(Tok::RParen);
    if (f.width < 1 || f.width > 254 || f.decimals < 0 || f.decimals > f.width)
      lx.Fail("bad column width");
  }
  return f;
}

// Keeps the text and where each object starts; objects are parsed again when read, so a large
// file costs little more than its own size in memory.
class MifReader : public TableReader {
 public:
  explicit MifReader(const std::wstring& path) {
    unsigned cp;
    {
      std::string raw;
      if (!ReadWholeFile(path, raw)) throw TabError("Cannot open file " + PathForMessage(path));
      cp = CodePageOfCharset(DetectCharset(raw));
      text_ = ToUtf8(raw, cp);
    }
    MifLexer lx(text_);
    Header(lx, delim_, transform_);
    MifParser parser(lx, transform_);
    while (lx.kind() != Tok::End) {
      starts_.emplace_back(lx.tokenStart(), lx.tokenLine());
      parser.Object();
    }
    std::string midRaw;
    if (ReadWholeFile(ReplaceExtension(path, L".mid"), midRaw)) {
      mid_ = ToUtf8(midRaw, cp);
      lines_ = SplitLines(mid_);
    }
  }
  const TableSchema& Schema() const override { return schema_; }
  int RowCount() const override { return static_cast<int>(starts_.size()); }
  bool ReadFeature(int id, Feature& out) override {
    if (id < 1 || id > RowCount()) return false;
    out = Feature();
    out.id = id;
    MifLexer lx(text_, starts_[id - 1].first, starts_[id - 1].second);
    MifParser parser(lx, transform_);
    out.geometry = parser.Object();
    const auto& fields = schema_.fields;
    std::vector<std::string> cells;
    if (static_cast<size_t>(id) <= lines_.size()) cells = SplitMidLine(lines_[id - 1], delim_);
    for (size_t c = 0; c < fields.size(); ++c)
      out.values.push_back(Value::FromText(fields[c], c < cells.size() ? cells[c] : std::string()));
    return true;
  }

 private:
  static std::string DetectCharset(const std::string& raw) {
    // The charset line precedes any non-ASCII text of the header.
    size_t end = std::min(raw.size(), static_cast<size_t>(4096));
    std::string head = raw.substr(0, end);
    for (auto& c : head)
      if (c >= 'A' && c <= 'Z') c += 32;
    size_t p = head.find("charset");
    if (p == std::string::npos) return "Neutral";
    size_t q1 = raw.find('"', p);
    size_t q2 = q1 == std::string::npos ? q1 : raw.find('"', q1 + 1);
    if (q2 == std::string::npos) return "Neutral";
    return raw.substr(q1 + 1, q2 - q1 - 1);
  }

  void Header(MifLexer& lx, char& delim, Transform& tr) {
    schema_.coordsys.earth = true;  // no CoordSys clause = longitude/latitude
    schema_.coordsys.projection = 1;
    schema_.coordsys.units = "degree";
    for (;;) {
      if (lx.kind() == Tok::End) lx.Fail("Data section missing");
      if (lx.IsWord("Data")) {
        lx.Advance();
        return;
      }
      if (lx.IsWord("Version")) {
        lx.Advance();
        lx.Number();
      } else if (lx.IsWord("Charset")) {
        lx.Advance();
        schema_.charset = lx.String();
      } else if (lx.IsWord("Delimiter")) {
        lx.Advance();
        std::string d = lx.String();
        delim = d.empty() ? '\t' : d[0];
      } else if (lx.IsWord("Unique") || lx.IsWord("Index")) {
        lx.Advance();
        while (lx.kind() == Tok::Number || lx.kind() == Tok::Comma) lx.Advance();
      } else if (lx.IsWord("CoordSys")) {
        std::string clause;
        while (lx.kind() != Tok::End && !lx.IsWord("Columns") && !lx.IsWord("Transform") &&
               !lx.IsWord("Data")) {
          clause += lx.kind() == Tok::String ? "\"" + lx.text() + "\"" : lx.text();
          clause += ' ';
          lx.Advance();
        }
        schema_.coordsys = CoordSys::Parse(clause);
      } else if (lx.IsWord("Transform")) {
        lx.Advance();
        tr.mx = lx.Number();
        lx.SkipComma();
        tr.my = lx.Number();
        lx.SkipComma();
        tr.dx = lx.Number();
        lx.SkipComma();
        tr.dy = lx.Number();
        if (tr.mx == 0) tr.mx = 1;
        if (tr.my == 0) tr.my = 1;
      } else if (lx.IsWord("Columns")) {
        lx.Advance();
        int n = lx.Int();
        if (n < 0 || n > 2048) lx.Fail("bad column count");
        for (int i = 0; i < n; ++i) schema_.fields.push_back(ParseColumn(lx));
      } else {
        lx.Fail("unknown header line");
      }
    }
  }

  TableSchema schema_;
  std::string text_, mid_;
  std::vector<std::pair<size_t, size_t>> starts_;  // offset and line of each object
  std::vector<std::string_view> lines_;
  char delim_ = '\t';
  Transform transform_;
};

// ---- writing ----

std::string N(double v) { return FormatNumber(v); }

std::string Quote(const std::string& s) {
  std::string q = "\"";
  for (char c : s) {
    if (c == '"')
      q += "\"\"";
    else if (c == '\n')
      q += "\\n";
    else if (c == '\\')
      q += "\\\\";
    else if (c != '\r')
      q += c;
  }
  return q + "\"";
}

void WriteCoords(std::string& out, const std::vector<Point2>& pts) {
  for (const auto& p : pts) out += N(p.x) + " " + N(p.y) + "\n";
}

std::string PenText(const Pen& p) {
  return "    Pen (" + std::to_string(p.width) + "," + std::to_string(p.pattern) + "," +
         std::to_string(p.color) + ")\n";
}
std::string BrushText(const Brush& b) {
  std::string s = "    Brush (" + std::to_string(b.pattern) + "," + std::to_string(b.foreColor);
  if (!b.transparent) s += "," + std::to_string(b.backColor);
  return s + ")\n";
}
std::string SymbolText(const Symbol& s) {
  switch (s.kind) {
    case SymbolKind::Font:
      return "    Symbol (" + std::to_string(s.shape) + "," + std::to_string(s.color) + "," +
             std::to_string(s.size) + "," + Quote(s.fontName) + "," + std::to_string(s.fontStyle) +
             "," + N(s.angle) + ")\n";
    case SymbolKind::Custom:
      return "    Symbol (" + Quote(s.fileName) + "," + std::to_string(s.color) + "," +
             std::to_string(s.size) + "," + std::to_string(s.customStyle) + ")\n";
    default:
      return "    Symbol (" + std::to_string(s.shape) + "," + std::to_string(s.color) + "," +
             std::to_string(s.size) + ")\n";
  }
}

void WriteGeometry(std::string& out, const Geometry& g) {
  auto box = [&](const Geometry& b) {
    return N(b.x1) + " " + N(b.y1) + " " + N(b.x2) + " " + N(b.y2);
  };
  switch (g.type) {
    case GeometryType::None:
      out += "none\n";
      return;
    case GeometryType::Point:
      out += "Point " + N(g.parts[0][0].x) + " " + N(g.parts[0][0].y) + "\n" + SymbolText(g.symbol);
      return;
    case GeometryType::Line:
      out += "Line " + N(g.parts[0][0].x) + " " + N(g.parts[0][0].y) + " " + N(g.parts[0][1].x) +
             " " + N(g.parts[0][1].y) + "\n" + PenText(g.pen);
      return;
    case GeometryType::Polyline:
      if (g.parts.size() == 1) {
        out += "Pline " + std::to_string(g.parts[0].size()) + "\n";
        WriteCoords(out, g.parts[0]);
      } else {
        out += "Pline Multiple " + std::to_string(g.parts.size()) + "\n";
        for (const auto& p : g.parts) {
          out += "  " + std::to_string(p.size()) + "\n";
          WriteCoords(out, p);
        }
      }
      out += PenText(g.pen);
      if (g.smooth) out += "    Smooth\n";
      return;
    case GeometryType::Region:
      out += "Region " + std::to_string(g.parts.size()) + "\n";
      for (const auto& p : g.parts) {
        out += "  " + std::to_string(p.size()) + "\n";
        WriteCoords(out, p);
      }
      out += PenText(g.pen) + BrushText(g.brush);
      if (g.hasCenter) out += "    Center " + N(g.center.x) + " " + N(g.center.y) + "\n";
      return;
    case GeometryType::Arc:
      out +=
          "Arc " + box(g) + "\n  " + N(g.startAngle) + " " + N(g.endAngle) + "\n" + PenText(g.pen);
      return;
    case GeometryType::Text: {
      out += "Text\n    " + Quote(g.text) + "\n    " + box(g) + "\n";
      out += "    Font (" + Quote(g.font.name) + "," + std::to_string(g.font.style) + "," +
             N(g.font.size) + "," + std::to_string(g.font.foreColor);
      if (g.font.hasBack) out += "," + std::to_string(g.font.backColor);
      out += ")\n";
      if (g.spacing != 1) out += "    Spacing " + N(g.spacing) + "\n";
      if (g.justify) out += g.justify == 1 ? "    Justify Center\n" : "    Justify Right\n";
      if (g.textAngle != 0) out += "    Angle " + N(g.textAngle) + "\n";
      if (g.labelLine)
        out += std::string("    Label Line ") + (g.labelLine == 2 ? "Arrow " : "Simple ") +
               N(g.labelEnd.x) + " " + N(g.labelEnd.y) + "\n";
      return;
    }
    case GeometryType::Rect:
    case GeometryType::Ellipse:
      out += (g.type == GeometryType::Rect ? "Rect " : "Ellipse ") + box(g) + "\n" +
             PenText(g.pen) + BrushText(g.brush);
      return;
    case GeometryType::RoundRect:
      out += "RoundRect " + box(g) + "\n  " + N(g.cornerDiameter) + "\n" + PenText(g.pen) +
             BrushText(g.brush);
      return;
    case GeometryType::MultiPoint:
      out += "Multipoint " + std::to_string(g.parts.empty() ? 0 : g.parts[0].size()) + "\n";
      if (!g.parts.empty()) WriteCoords(out, g.parts[0]);
      out += SymbolText(g.symbol);
      return;
    case GeometryType::Collection:
      out += "Collection " + std::to_string(g.members.size()) + "\n";
      for (const auto& m : g.members) WriteGeometry(out, m);
      return;
  }
}

// Streams both files through temporary ones that replace the targets on Close.
class MifWriter : public TableWriter {
 public:
  MifWriter(const std::wstring& path, const TableSchema& schema)
      : schema_(schema),
        codePage_(CodePageOfCharset(schema.charset)),
        mif_(path),
        mid_(ReplaceExtension(path, L".mid")) {
    for (const auto& f : schema.fields) version_ = std::max(version_, FieldTypeVersion(f.type));
    // The version is patched on Close, when the content has shown what it needs; all the
    // versions written here have three digits.
    std::string head = "Version 300\nCharset \"" + schema_.charset + "\"\nDelimiter \",\"\n" +
                       CoordSysLine() + "\n";
    head += "Columns " + std::to_string(schema_.fields.size()) + "\n";
    for (const auto& f : schema_.fields) {
      head += "  " + f.name + " " + FieldTypeName(f.type);
      if (f.type == FieldType::Char) head += "(" + std::to_string(f.width) + ")";
      if (f.type == FieldType::Decimal)
        head += "(" + std::to_string(f.width) + "," + std::to_string(f.decimals) + ")";
      head += "\n";
    }
    body_ = head + "Data\n\n";
  }

  void Insert(const Feature& f) override {
    WriteGeometry(body_, f.geometry);
    version_ = std::max(version_, GeometryVersion(f.geometry));
    for (size_t c = 0; c < schema_.fields.size(); ++c) {
      const FieldDef& fd = schema_.fields[c];
      if (c) midText_ += ',';
      Value v = c < f.values.size() ? f.values[c] : Value::FromText(fd, "");
      std::string t = v.ToText(fd);
      midText_ += fd.type == FieldType::Char ? Quote(t) : t;
    }
    midText_ += '\n';
    if (body_.size() + midText_.size() > (1u << 20)) Flush();
  }

  void Close() override {
    if (closed_) return;
    closed_ = true;
    Flush();
    mif_.Patch(8, std::to_string(version_));
    mif_.Commit();
    mid_.Commit();
  }

 private:
  // A NonEarth clause in a MIF header must carry Bounds.
  std::string CoordSysLine() const {
    CoordSys cs = schema_.coordsys;
    if (!cs.earth && !cs.hasBounds) {
      cs.EffectiveBounds(cs.minX, cs.minY, cs.maxX, cs.maxY);
      cs.hasBounds = true;
    }
    return cs.ToString();
  }

  // Buffers always end after a whole object or row, so no character is split.
  void Flush() {
    mif_.Write(FromUtf8(Crlf(body_), codePage_));
    mid_.Write(FromUtf8(Crlf(midText_), codePage_));
    body_.clear();
    midText_.clear();
  }
  static std::string Crlf(const std::string& s) {
    std::string out;
    out.reserve(s.size() + s.size() / 8);
    for (char c : s) {
      if (c == '\n') out += '\r';
      out += c;
    }
    return out;
  }

  TableSchema schema_;
  unsigned codePage_;
  FileSink mif_, mid_;
  int version_ = 300;
  std::string body_, midText_;
  bool closed_ = false;
};

}  // namespace

std::unique_ptr<TableReader> OpenMif(const std::wstring& path) {
  return std::make_unique<MifReader>(path);
}

std::unique_ptr<TableWriter> CreateMif(const std::wstring& path, const TableSchema& schema) {
  return std::make_unique<MifWriter>(path, schema);
}

}  // namespace tabengine::detail
