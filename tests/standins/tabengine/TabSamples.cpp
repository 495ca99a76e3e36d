#include "TabSamples.h"

using namespace tabengine;

namespace tabsamples {

TableSchema SampleSchema(bool earth) {
  TableSchema s;
  s.charset = "WindowsCyrillic";
  s.coordsys =
      CoordSys::Parse(earth ? "CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0"
                            : "CoordSys NonEarth Units \"m\" Bounds (0, 0) (100000, 100000)");
  s.fields = {{"NAME", FieldType::Char, 40},      {"CITY", FieldType::Char, 20},
              {"NUM", FieldType::Integer},        {"SMALL", FieldType::SmallInt},
              {"DEC", FieldType::Decimal, 12, 3}, {"REAL", FieldType::Float},
              {"FLAG", FieldType::Logical},       {"DAY", FieldType::Date},
              {"CLOCK", FieldType::Time},         {"STAMP", FieldType::DateTime}};
  return s;
}

std::vector<Feature> SampleFeatures(bool earth) {
  double ox = earth ? 7400000 : 0, oy = earth ? 6100000 : 0;
  auto P = [&](double x, double y) { return Point2{ox + x, oy + y}; };
  std::vector<Geometry> geoms;
  Geometry g;
  g.type = GeometryType::Point;
  g.parts = {{P(100.5, 200.25)}};
  g.symbol.shape = 34, g.symbol.color = 0xFF0000, g.symbol.size = 14;
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::Point;
  g.parts = {{P(150, 250)}};
  g.symbol.kind = SymbolKind::Font;
  g.symbol.shape = 65, g.symbol.color = 0x0000FF, g.symbol.size = 18;
  g.symbol.fontName = "Wingdings", g.symbol.fontStyle = 1, g.symbol.angle = 30;
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::Point;
  g.parts = {{P(170, 260)}};
  g.symbol.kind = SymbolKind::Custom;
  g.symbol.fileName = "PIN1.BMP", g.symbol.color = 0x00FF00, g.symbol.size = 24;
  g.symbol.customStyle = 1;
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::Line;
  g.parts = {{P(10, 10), P(500.5, 700.75)}};
  g.pen = {2, 2, 0x00FF00};
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::Polyline;
  g.parts = {{P(0, 0), P(10, 5), P(20, 0), P(30, 7), P(40, 1)}};
  g.pen = {3, 5, 0x0000FF};
  g.smooth = true;
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::Polyline;
  g.parts = {{P(0, 100), P(50, 150)}, {P(60, 160), P(70, 150), P(80, 170)}, {P(90, 90), P(95, 95)}};
  g.pen = {1, 2, 0x123456};
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::Region;
  g.parts = {{P(1000, 1000), P(2000, 1000), P(2000, 2000), P(1000, 2000), P(1000, 1000)},
             {P(1200, 1200), P(1200, 1400), P(1400, 1400), P(1400, 1200), P(1200, 1200)},
             {P(3000, 3000), P(3500, 3000), P(3250, 3600), P(3000, 3000)}};
  g.pen = {1, 2, 0};
  g.brush = {2, 0xFFFF00, 0x0000FF, false};
  g.hasCenter = true;
  g.center = P(1500, 1700);
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::Region;
  g.parts = {{P(5000, 5000), P(6000, 5000), P(5500, 6000), P(5000, 5000)}};
  g.pen = {2, 3, 0xFF00FF};
  g.brush = {5, 0xFF00FF, 0xFFFFFF, true};
  g.hasCenter = true;
  g.center = P(5500, 5300);
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::Arc;
  g.x1 = ox + 100, g.y1 = oy + 100, g.x2 = ox + 300, g.y2 = oy + 200;
  g.startAngle = 30, g.endAngle = 120;
  g.pen = {1, 2, 0xAA0000};
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::Text;
  g.text = "Привет\nмир";
  g.x1 = ox + 400, g.y1 = oy + 400, g.x2 = ox + 460, g.y2 = oy + 420;
  g.font.name = "Arial", g.font.style = 1, g.font.foreColor = 0xFF0000;
  g.justify = 1, g.spacing = 1.5, g.textAngle = 30;
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::Rect;
  g.x1 = ox + 10, g.y1 = oy + 20, g.x2 = ox + 30, g.y2 = oy + 50;
  g.pen = {1, 2, 0x00FFFF};
  g.brush = {2, 0x808080, 0xFFFFFF, false};
  geoms.push_back(g);
  g.type = GeometryType::RoundRect;
  g.cornerDiameter = 5;
  geoms.push_back(g);
  g.type = GeometryType::Ellipse;
  g.cornerDiameter = 0;
  geoms.push_back(g);
  g = Geometry();
  g.type = GeometryType::MultiPoint;
  g.parts = {{P(1, 1), P(2, 3), P(5, 8), P(13, 21)}};
  g.symbol.shape = 36, g.symbol.color = 0x654321, g.symbol.size = 10;
  geoms.push_back(g);
  Geometry coll;
  coll.type = GeometryType::Collection;
  g = Geometry();
  g.type = GeometryType::Region;
  g.parts = {{P(0, 0), P(10, 0), P(10, 10), P(0, 10), P(0, 0)},
             {P(2, 2), P(4, 2), P(3, 4), P(2, 2)}};
  g.pen = {2, 2, 0x0000FF};
  g.brush = {2, 0x00FF00, 0xFFFFFF, false};
  g.hasCenter = true;
  g.center = P(5, 5);
  coll.members.push_back(g);
  g = Geometry();
  g.type = GeometryType::Polyline;
  g.parts = {{P(20, 20), P(30, 30)}, {P(40, 40), P(50, 40), P(50, 50)}};
  g.pen = {3, 2, 0xFF0000};
  coll.members.push_back(g);
  g = Geometry();
  g.type = GeometryType::MultiPoint;
  g.parts = {{P(60, 60), P(61, 61), P(62, 62)}};
  g.symbol.shape = 35, g.symbol.color = 0x0000FF, g.symbol.size = 12;
  coll.members.push_back(g);
  geoms.push_back(coll);
  geoms.push_back(Geometry());  // a row without an object

  std::vector<Feature> out;
  TableSchema schema = SampleSchema(earth);
  for (size_t i = 0; i < geoms.size(); ++i) {
    Feature f;
    f.geometry = geoms[i];
    int n = static_cast<int>(i);
    auto text = [&](size_t c, const std::string& t) {
      return Value::FromText(schema.fields[c], t);
    };
    f.values = {
        text(0, i % 2 ? "Москва \"центр\", " + std::to_string(n) : "plain " + std::to_string(n)),
        text(1, i % 3 ? "Тверь" : ""),
        Value::Int(n * 1000 - 7000),
        Value::Int(n - 8),
        text(4, i % 4 == 3 ? "" : std::to_string(n) + "." + std::to_string(n * 7 % 1000)),
        Value::Real(n * 0.5 - 3.25),
        Value::Int(n % 2),
        text(7, i % 5 == 4 ? ""
                           : "2022" + std::string(n % 12 < 9 ? "0" : "") +
                                 std::to_string(n % 12 + 1) + "15"),
        text(8, i % 5 == 4 ? "" : "23590" + std::to_string(n % 10) + "500"),
        text(9, i % 5 == 4 ? "" : "20220323145600000")};
    out.push_back(std::move(f));
  }
  return out;
}

void WriteSample(const std::wstring& path, bool earth) {
  auto writer = TableWriter::Create(path, SampleSchema(earth));
  for (const auto& f : SampleFeatures(earth)) writer->Insert(f);
  writer->Close();
}

}  // namespace tabsamples
