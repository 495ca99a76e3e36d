// Command-line helper for the GDAL comparison scripts:
//   tabtool dump <table>             prints every row as normalised text (UTF-8)
//   tabtool copy <from> <to>         converts between .TAB and .MIF
//   tabtool sample <out> [earth]     writes a table with every object type, style and column type
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "TabEngine.h"
#include "TabSamples.h"
#include "WinCompat.h"

using namespace tabengine;

namespace {

std::string N(double v) {
  char buf[64];
  // Fixed precision keeps the dump readable; the comparison script uses a tolerance anyway.
  std::snprintf(buf, sizeof buf, "%.6f", v);
  return buf;
}

std::string Quoted(const std::string& s) {
  std::string q = "\"";
  for (char c : s)
    q += c == '\n' ? std::string("\\n") : c == '"' ? std::string("\\\"") : std::string(1, c);
  return q + "\"";
}

const char* TypeName(GeometryType t) {
  static const char* kNames[] = {"None",      "Point",   "Line",       "Polyline",
                                 "Region",    "Arc",     "Text",       "Rect",
                                 "RoundRect", "Ellipse", "MultiPoint", "Collection"};
  return kNames[static_cast<int>(t)];
}

void DumpGeometry(std::string& out, const Geometry& g, const std::string& indent) {
  out += indent + "geometry " + TypeName(g.type) + "\n";
  if (g.type == GeometryType::None) return;
  for (const auto& part : g.parts) {
    out += indent + "  part " + std::to_string(part.size());
    for (const auto& p : part) out += " " + N(p.x) + " " + N(p.y);
    out += "\n";
  }
  switch (g.type) {
    case GeometryType::Arc:
    case GeometryType::Rect:
    case GeometryType::RoundRect:
    case GeometryType::Ellipse:
    case GeometryType::Text:
      out += indent + "  box " + N(std::min(g.x1, g.x2)) + " " + N(std::min(g.y1, g.y2)) + " " +
             N(std::max(g.x1, g.x2)) + " " + N(std::max(g.y1, g.y2)) + "\n";
      break;
    default:
      break;
  }
  auto pen = [&] {
    out += indent + "  pen " + std::to_string(g.pen.width) + " " + std::to_string(g.pen.pattern) +
           " " + std::to_string(g.pen.color) + "\n";
  };
  auto brush = [&] {
    out += indent + "  brush " + std::to_string(g.brush.pattern) + " " +
           std::to_string(g.brush.foreColor) + " " +
           (g.brush.transparent ? std::string("transparent") : std::to_string(g.brush.backColor)) +
           "\n";
  };
  auto symbol = [&] {
    const Symbol& s = g.symbol;
    out += indent + "  symbol " + std::to_string(static_cast<int>(s.kind)) + " " +
           std::to_string(s.color) + " " + std::to_string(s.size);
    if (s.kind != SymbolKind::Custom) out += " " + std::to_string(s.shape);
    if (s.kind == SymbolKind::Font)
      out += " " + Quoted(s.fontName) + " " + std::to_string(s.fontStyle) + " " + N(s.angle);
    if (s.kind == SymbolKind::Custom)
      out += " " + Quoted(s.fileName) + " " + std::to_string(s.customStyle);
    out += "\n";
  };
  switch (g.type) {
    case GeometryType::Point:
    case GeometryType::MultiPoint:
      symbol();
      break;
    case GeometryType::Line:
      pen();
      break;
    case GeometryType::Polyline:
      pen();
      out += indent + "  smooth " + (g.smooth ? "1" : "0") + "\n";
      break;
    case GeometryType::Region:
      pen();
      brush();
      if (g.hasCenter) out += indent + "  center " + N(g.center.x) + " " + N(g.center.y) + "\n";
      break;
    case GeometryType::Arc:
      pen();
      out += indent + "  angles " + N(g.startAngle) + " " + N(g.endAngle) + "\n";
      break;
    case GeometryType::Rect:
    case GeometryType::Ellipse:
      pen();
      brush();
      break;
    case GeometryType::RoundRect:
      pen();
      brush();
      out += indent + "  corner " + N(g.cornerDiameter) + "\n";
      break;
    case GeometryType::Text:
      out += indent + "  text " + Quoted(g.text) + "\n";
      out += indent + "  font " + Quoted(g.font.name) + " " + std::to_string(g.font.style) + " " +
             std::to_string(g.font.foreColor) + " " +
             (g.font.hasBack ? std::to_string(g.font.backColor) : std::string("-")) + "\n";
      out += indent + "  layout " + std::to_string(g.justify) + " " + N(g.spacing) + " " +
             N(g.textAngle) + " " + std::to_string(g.labelLine) + "\n";
      if (g.labelLine)
        out += indent + "  labelend " + N(g.labelEnd.x) + " " + N(g.labelEnd.y) + "\n";
      break;
    case GeometryType::Collection:
      for (const auto& m : g.members) DumpGeometry(out, m, indent + "  ");
      break;
    default:
      break;
  }
}

std::string Dump(const std::wstring& path) {
  auto reader = TableReader::Open(path);
  const TableSchema& s = reader->Schema();
  std::string out = "charset " + s.charset + "\n";
  out += "coordsys " + s.coordsys.ToString(false) + "\n";
  for (const auto& f : s.fields)
    out += "field " + f.name + " " + std::to_string(static_cast<int>(f.type)) + " " +
           std::to_string(f.width) + " " + std::to_string(f.decimals) + "\n";
  out += "rows " + std::to_string(reader->RowCount()) + "\n";
  for (int id = 1; id <= reader->RowCount(); ++id) {
    Feature f;
    reader->ReadFeature(id, f);
    out += "row " + std::to_string(id) + (f.Broken() ? " broken" : "") + "\n";
    DumpGeometry(out, f.geometry, "  ");
    for (size_t i = 0; i < s.fields.size() && i < f.values.size(); ++i)
      out += "  value " + s.fields[i].name + " " + Quoted(f.values[i].ToText(s.fields[i])) + "\n";
  }
  return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  _setmode(_fileno(stdout), _O_BINARY);  // the dump is compared on the Linux side
  std::wstring cmd = argc > 1 ? argv[1] : L"";
  try {
    if (cmd == L"dump" && argc == 3) {
      std::string d = Dump(argv[2]);
      std::fwrite(d.data(), 1, d.size(), stdout);
      return 0;
    }
    if (cmd == L"copy" && argc == 4) {
      int broken = CopyTable(argv[2], argv[3]);
      std::printf("broken %d\n", broken);
      return 0;
    }
    if (cmd == L"sample" && argc >= 3) {
      bool earth = argc > 3 && std::wstring(argv[3]) == L"earth";
      tabsamples::WriteSample(argv[2], earth);
      return 0;
    }
  } catch (const TabError& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
  std::fprintf(stderr, "usage: tabtool dump <table> | copy <from> <to> | sample <out> [earth]\n");
  return 2;
}
