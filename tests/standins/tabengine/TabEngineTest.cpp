#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "TabEngine.h"
#include "TabSamples.h"
#include "WinCompat.h"

using namespace tabengine;

namespace {

// A fresh folder under %TEMP% per test, removed afterwards.
class TempDir {
 public:
  TempDir() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    static int counter = 0;
    path_ = std::wstring(base) + L"tabengine_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++counter);
    CreateDirectoryW(path_.c_str(), nullptr);
  }
  ~TempDir() {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path_ + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW((path_ + L"\\" + fd.cFileName).c_str());
      } while (FindNextFileW(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryW(path_.c_str());
  }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

std::string ReadBytes(const std::wstring& path) {
  std::string s;
  HANDLE h =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return s;
  DWORD size = GetFileSize(h, nullptr), got = 0;
  s.resize(size);
  ReadFile(h, s.data(), size, &got, nullptr);
  CloseHandle(h);
  return s;
}

void WriteBytes(const std::wstring& path, const std::string& s) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD put = 0;
  WriteFile(h, s.data(), static_cast<DWORD>(s.size()), &put, nullptr);
  CloseHandle(h);
}

std::vector<Feature> ReadAll(const std::wstring& path) {
  auto r = TableReader::Open(path);
  std::vector<Feature> out;
  for (int id = 1; id <= r->RowCount(); ++id) {
    Feature f;
    EXPECT_TRUE(r->ReadFeature(id, f));
    out.push_back(f);
  }
  return out;
}

void ExpectSameGeometry(const Geometry& a, const Geometry& b, double tol,
                        const std::string& where) {
  ASSERT_EQ(a.type, b.type) << where;
  ASSERT_EQ(a.parts.size(), b.parts.size()) << where;
  for (size_t i = 0; i < a.parts.size(); ++i) {
    ASSERT_EQ(a.parts[i].size(), b.parts[i].size()) << where;
    for (size_t k = 0; k < a.parts[i].size(); ++k) {
      EXPECT_NEAR(a.parts[i][k].x, b.parts[i][k].x, tol) << where;
      EXPECT_NEAR(a.parts[i][k].y, b.parts[i][k].y, tol) << where;
    }
  }
  EXPECT_NEAR(a.x1, b.x1, tol) << where;
  EXPECT_NEAR(a.y2, b.y2, tol) << where;
  EXPECT_NEAR(a.startAngle, b.startAngle, 0.05) << where;
  EXPECT_NEAR(a.cornerDiameter, b.cornerDiameter, tol) << where;
  EXPECT_EQ(a.text, b.text) << where;
  EXPECT_EQ(a.pen.width, b.pen.width) << where;
  EXPECT_EQ(a.pen.pattern, b.pen.pattern) << where;
  EXPECT_EQ(a.pen.color, b.pen.color) << where;
  if (a.type == GeometryType::Region || a.type == GeometryType::Rect) {
    EXPECT_EQ(a.brush.pattern, b.brush.pattern) << where;
    EXPECT_EQ(a.brush.foreColor, b.brush.foreColor) << where;
    EXPECT_EQ(a.brush.transparent, b.brush.transparent) << where;
  }
  if (a.type == GeometryType::Point || a.type == GeometryType::MultiPoint) {
    EXPECT_EQ(a.symbol.kind, b.symbol.kind) << where;
    EXPECT_EQ(a.symbol.color, b.symbol.color) << where;
    EXPECT_EQ(a.symbol.size, b.symbol.size) << where;
    EXPECT_EQ(a.symbol.fontName, b.symbol.fontName) << where;
    EXPECT_EQ(a.symbol.fileName, b.symbol.fileName) << where;
  }
  if (a.type == GeometryType::Text) {
    EXPECT_EQ(a.font.name, b.font.name) << where;
    EXPECT_EQ(a.font.style, b.font.style) << where;
    EXPECT_EQ(a.justify, b.justify) << where;
    EXPECT_EQ(a.spacing, b.spacing) << where;
  }
  EXPECT_EQ(a.smooth, b.smooth) << where;
  ASSERT_EQ(a.members.size(), b.members.size()) << where;
  for (size_t i = 0; i < a.members.size(); ++i)
    ExpectSameGeometry(a.members[i], b.members[i], tol, where + " member");
}

void ExpectSameValues(const TableSchema& s, const Feature& a, const Feature& b) {
  ASSERT_EQ(a.values.size(), b.values.size());
  for (size_t i = 0; i < a.values.size(); ++i)
    EXPECT_EQ(a.values[i].ToText(s.fields[i]), b.values[i].ToText(s.fields[i]))
        << "row " << b.id << " column " << s.fields[i].name;
}

}  // namespace

TEST(TabEngineCoordSys, ParsesAndWritesClauses) {
  struct Case {
    const char* in;
    const char* out;
  } cases[] = {
      {"CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0",
       "CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0"},
      {"Earth Projection 1, 104", "CoordSys Earth Projection 1, 104"},
      {"CoordSys Earth Projection 8, 9999, 3, 24, -123, -94, -0.02, 0.25, 0.13, 1.1, 0, \"m\", "
       "60.05, 0, 1, 1500000, -5911057.63",
       "CoordSys Earth Projection 8, 9999, 3, 24, -123, -94, -0.02, 0.25, 0.13, 1.1, 0, \"m\", "
       "60.05, 0, 1, 1500000, -5911057.63"},
      {"coordsys nonearth units \"m\" bounds (0, 0) (100000, 100000)",
       "CoordSys NonEarth Units \"m\" Bounds (0, 0) (100000, 100000)"},
      {"CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0 Bounds (-749281.53901, "
       "-10002137.4978) (15749281.53901, 10002137.4978)",
       "CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0 Bounds (-749281.53901, "
       "-10002137.4978) (15749281.53901, 10002137.4978)"},
  };
  for (const auto& c : cases) EXPECT_EQ(CoordSys::Parse(c.in).ToString(), c.out) << c.in;
  for (const char* bad : {"CoordSys Earth Projection", "CoordSys Mars", "CoordSys NonEarth Units m",
                          "CoordSys Earth Projection 8, 1001, \"furlong\", 39",
                          "CoordSys NonEarth Units \"m\" Bounds (0, 0) (1"})
    EXPECT_THROW(CoordSys::Parse(bad), TabError) << bad;
}

TEST(TabEngineCoordSys, GaussKrugerDefaultBoundsGiveMapInfosGrid) {
  CoordSys cs = CoordSys::Parse("CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0");
  double x0, y0, x1, y1;
  cs.EffectiveBounds(x0, y0, x1, y1);
  EXPECT_NEAR(2e9 / (x1 - x0), 121.222678032154, 1e-9);
  EXPECT_NEAR(2e9 / (y1 - y0), 99.978629590334, 1e-9);
}

TEST(TabEngineValues, MidTextRoundTrips) {
  struct Case {
    FieldDef field;
    const char* text;
  } cases[] = {
      {{"C", FieldType::Char, 10}, "Тверь"},
      {{"I", FieldType::Integer}, "-2147483648"},
      {{"S", FieldType::SmallInt}, "-32768"},
      {{"L", FieldType::LargeInt}, "123456789012345"},
      {{"D", FieldType::Decimal, 10, 2}, "12.34"},
      {{"D", FieldType::Decimal, 10, 2}, ""},
      {{"F", FieldType::Float}, "0.1"},
      {{"F", FieldType::Float}, "-1e+300"},
      {{"B", FieldType::Logical}, "T"},
      {{"B", FieldType::Logical}, "F"},
      {{"D", FieldType::Date}, "20221231"},
      {{"D", FieldType::Date}, ""},
      {{"T", FieldType::Time}, "235900000"},
      {{"T", FieldType::Time}, ""},
      {{"DT", FieldType::DateTime}, "20220323145600123"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Value::FromText(c.field, c.text).ToText(c.field), c.text) << c.text;
}

class TabEngineRoundTrip : public ::testing::TestWithParam<const wchar_t*> {};

// Every object type, style and column type survives writing and reading in both formats; the
// native grid of the NonEarth sample is 5e-5 m.
TEST_P(TabEngineRoundTrip, SampleSurvives) {
  for (bool earth : {false, true}) {
    TempDir dir;
    std::wstring path = dir / (std::wstring(L"sample") + GetParam());
    tabsamples::WriteSample(path, earth);
    auto expected = tabsamples::SampleFeatures(earth);
    auto reader = TableReader::Open(path);
    EXPECT_EQ(reader->Schema().charset, "WindowsCyrillic");
    EXPECT_EQ(reader->Schema().coordsys.ToString(false),
              tabsamples::SampleSchema(earth).coordsys.ToString(false));
    auto got = ReadAll(path);
    ASSERT_EQ(got.size(), expected.size());
    double tol = earth ? 0.01 : 1e-4;
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_FALSE(got[i].Broken()) << got[i].error;
      ExpectSameGeometry(expected[i].geometry, got[i].geometry, tol,
                         "row " + std::to_string(i + 1));
      ExpectSameValues(reader->Schema(), expected[i], got[i]);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Formats, TabEngineRoundTrip, ::testing::Values(L".tab", L".mif"));

TEST(TabEngineNative, CyrillicNamesLargeIntEmptyTableAndCharsetBytes) {
  TempDir dir;
  TableSchema s;
  s.coordsys = CoordSys::Parse("CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)");
  s.fields = {{"Название", FieldType::Char, 12}, {"BIG", FieldType::LargeInt}};
  TableWriter::Create(dir / L"empty.tab", s)->Close();
  auto empty = TableReader::Open(dir / L"empty.tab");
  EXPECT_EQ(empty->RowCount(), 0);
  ASSERT_EQ(empty->Schema().fields.size(), 2u);
  EXPECT_EQ(empty->Schema().fields[0].name, "Название");

  {
    auto w = TableWriter::Create(dir / L"t.tab", s);
    Feature f;
    f.values = {Value::Text("Москва"), Value::Int(123456789012345)};
    w->Insert(f);
    w->Close();
  }
  // The .DAT holds the text in code page 1251, as the charset says.
  std::string dat = ReadBytes(dir / L"t.dat");
  EXPECT_NE(dat.find("\xCC\xEE\xF1\xEA\xE2\xE0"), std::string::npos);
  auto rows = ReadAll(dir / L"t.tab");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].values[0].text, "Москва");
  EXPECT_EQ(rows[0].values[1].integer, 123456789012345);
  EXPECT_EQ(rows[0].geometry.type, GeometryType::None);
}

TEST(TabEngineNative, AbandonedWriterLeavesNoFiles) {
  TempDir dir;
  for (const wchar_t* name : {L"a.tab", L"a.mif"}) {
    auto w = TableWriter::Create(dir / name, tabsamples::SampleSchema(false));
    w->Insert(tabsamples::SampleFeatures(false)[0]);
    w.reset();
    EXPECT_EQ(GetFileAttributesW((dir / name).c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

TEST(TabEngineNative, LargeCoordinatesAndManyVerticesUseWideObjects) {
  TempDir dir;
  TableSchema s;
  s.coordsys = CoordSys::Parse("CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0");
  s.fields = {{"ID", FieldType::Integer}};
  Geometry big;
  big.type = GeometryType::Region;
  big.parts.emplace_back();
  for (int i = 0; i < 40000; ++i) {
    double a = i * 2 * 3.14159265358979 / 40000;
    big.parts[0].push_back({7413000.5 + 3e6 * std::cos(a), 6179000.25 + 3e6 * std::sin(a)});
  }
  big.parts[0].push_back(big.parts[0][0]);
  Geometry distant;
  distant.type = GeometryType::Point;
  distant.parts = {{{15749281.0, -10002137.0}}};
  {
    auto w = TableWriter::Create(dir / L"big.tab", s);
    Feature f;
    f.geometry = big;
    w->Insert(f);
    f.geometry = distant;
    w->Insert(f);
    w->Close();
  }
  EXPECT_NE(ReadBytes(dir / L"big.tab").find("!version 450"), std::string::npos);
  auto rows = ReadAll(dir / L"big.tab");
  ASSERT_EQ(rows.size(), 2u);
  ExpectSameGeometry(big, rows[0].geometry, 0.01, "big region");
  ExpectSameGeometry(distant, rows[1].geometry, 0.01, "far point");
}

TEST(TabEngineMif, CollectionsAndLooseLayoutAreRead) {
  TempDir dir;
  // Upper-case keywords, a ';' delimiter, counts on their own lines, text on the next line.
  WriteBytes(dir / L"c.mif",
             "VERSION 650\r\nCHARSET \"WindowsCyrillic\"\r\nDELIMITER \";\"\r\n"
             "COORDSYS NonEarth Units \"m\" Bounds (0, 0) (100, 100)\r\nCOLUMNS 1\r\n"
             "  NAME Char(10)\r\nDATA\r\n"
             "COLLECTION 2\r\nREGION 1\r\n 4\r\n0 0\r\n1 0\r\n1 1\r\n0 0\r\n"
             "PLINE\r\n2\r\n5 5\r\n6 6\r\nTEXT\r\n\"\xCF\xF0\xE8\xE2\xE5\xF2\"\r\n1 2 3 4\r\n");
  WriteBytes(dir / L"c.mid", "\"a;b\"\r\n\"\xEC\xE8\xF0\"\r\n");
  auto rows = ReadAll(dir / L"c.mif");
  ASSERT_EQ(rows.size(), 2u);
  ASSERT_EQ(rows[0].geometry.type, GeometryType::Collection);
  ASSERT_EQ(rows[0].geometry.members.size(), 2u);
  EXPECT_EQ(rows[0].geometry.members[1].parts[0].size(), 2u);
  EXPECT_EQ(rows[0].values[0].text, "a;b");
  EXPECT_EQ(rows[1].geometry.text, "Привет");
  EXPECT_EQ(rows[1].values[0].text, "мир");
  // Collections survive both formats.
  for (const wchar_t* copy : {L"d.mif", L"d.tab"}) {
    EXPECT_EQ(CopyTable(dir / L"c.mif", dir / copy), 0);
    ExpectSameGeometry(rows[0].geometry, ReadAll(dir / copy)[0].geometry, 1e-4, "copy");
  }
}

TEST(TabEngineMif, ReadsMapInfoStyleExport) {
  TempDir dir;
  // Layout as MapInfo exports: padded Version, UTF-8, Cyrillic column names, indented counts,
  // style lines with a trailing blank, a region Center.
  WriteBytes(dir / L"m.mif",
             "Version   1520\r\nCharset \"UTF-8\"\r\nDelimiter \",\"\r\n"
             "CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0 Bounds "
             "(-749281.53901, -10002137.4978) (15749281.539, 10002137.4978)\r\n"
             "Columns 2\r\n  Поле_А Char(10)\r\n  Поле_Б Decimal(10, 2)\r\nData\r\n\r\n"
             "Point 7404648.72 6144520.22\r\n    Symbol (35,16711680,12) \r\n"
             "Region  1\r\n  4\r\n7404649.37 6144522.85\r\n7404646.78 6144518.96\r\n"
             "7404642.44 6144519.88\r\n7404649.37 6144522.85\r\n    Pen (1,2,0) \r\n"
             "    Brush (2,16777215,16777215)\r\n    Center 7404645.9 6144521.36\r\n");
  WriteBytes(dir / L"m.mid", "\"Тверь\",12.34\r\n\"\",\r\n");
  auto r = TableReader::Open(dir / L"m.mif");
  EXPECT_EQ(r->Schema().fields[1].name, "Поле_Б");
  EXPECT_EQ(r->Schema().coordsys.maxX, 15749281.539);
  auto rows = ReadAll(dir / L"m.mif");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].geometry.symbol.color, 0xFF0000);
  EXPECT_EQ(rows[0].values[0].text, "Тверь");
  EXPECT_EQ(rows[0].values[1].real, 12.34);
  EXPECT_TRUE(rows[1].geometry.hasCenter);
  EXPECT_EQ(rows[1].geometry.parts[0].size(), 4u);
  EXPECT_TRUE(rows[1].values[1].blank);
}

TEST(TabEngineMif, MalformedFilesRaise) {
  TempDir dir;
  const char* bad[] = {
      "Version 300\r\nColumns 1\r\n  A Char(10)\r\n",                       // no Data
      "Version 300\r\nColumns 1\r\n  A Blob\r\nData\r\n",                   // unknown type
      "Version 300\r\nColumns 0\r\nData\r\nPline 3\r\n1 2\r\n3 4\r\n",      // too few vertices
      "Version 300\r\nColumns 0\r\nData\r\nRegion 2000000000\r\n1\r\n",     // absurd count
      "Version 300\r\nColumns 0\r\nData\r\nPoint 1 2\r\nSymbol (35,0\r\n",  // cut clause
  };
  for (const char* text : bad) {
    WriteBytes(dir / L"bad.mif", text);
    EXPECT_THROW(TableReader::Open(dir / L"bad.mif"), TabError) << text;
  }
}

// ---- damaged native tables ----

class TabEngineDamage : public ::testing::Test {
 protected:
  void SetUp() override { tabsamples::WriteSample(dir / L"s.tab", false); }
  TempDir dir;
};

TEST_F(TabEngineDamage, OneDamagedObjectIsOneBrokenFeature) {
  // Point the row-id of the region (row 7) somewhere else: the object no longer belongs to it.
  std::string id = ReadBytes(dir / L"s.id"), map = ReadBytes(dir / L"s.map");
  int32_t at;
  std::memcpy(&at, id.data() + 6 * 4, 4);
  int32_t wrong = 99;
  std::memcpy(&map[at + 1], &wrong, 4);
  // And send row 5's coordinates into the header.
  std::memcpy(&at, id.data() + 4 * 4, 4);
  int32_t outside = 0x200;
  std::memcpy(&map[at + 5], &outside, 4);
  WriteBytes(dir / L"s.map", map);
  auto rows = ReadAll(dir / L"s.tab");
  int broken = 0;
  for (const auto& f : rows) broken += f.Broken();
  EXPECT_EQ(broken, 2);
  EXPECT_TRUE(rows[6].Broken());
  EXPECT_TRUE(rows[4].Broken());
  EXPECT_EQ(rows[6].geometry.type, GeometryType::None);
  EXPECT_EQ(rows[6].values[0].text, "plain 6");  // attributes stay readable
  EXPECT_EQ(rows[7].geometry.type, GeometryType::Region);
}

TEST_F(TabEngineDamage, TruncatedMapBreaksOnlyTheObjectsPastTheEnd) {
  std::string map = ReadBytes(dir / L"s.map");
  WriteBytes(dir / L"s.map", map.substr(0, 1024 + 300));
  auto rows = ReadAll(dir / L"s.tab");
  ASSERT_EQ(rows.size(), 16u);
  int broken = 0;
  for (const auto& f : rows) broken += f.Broken();
  EXPECT_GT(broken, 0);
  EXPECT_FALSE(rows[15].Broken());  // the row without an object
  WriteBytes(dir / L"s.map", map.substr(0, 700));
  EXPECT_THROW(TableReader::Open(dir / L"s.tab"), TabError);
}

TEST_F(TabEngineDamage, ShortDatReportsTheMissingRows) {
  std::string dat = ReadBytes(dir / L"s.dat");
  uint16_t header, record;
  std::memcpy(&header, dat.data() + 8, 2);
  std::memcpy(&record, dat.data() + 10, 2);
  WriteBytes(dir / L"s.dat", dat.substr(0, header + 10 * record));
  auto rows = ReadAll(dir / L"s.tab");
  ASSERT_EQ(rows.size(), 16u);
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].Broken(), i >= 10) << i;
  EXPECT_EQ(rows[12].geometry.type, GeometryType::Ellipse);  // geometry of broken rows still read
  // An absurd record count adds one broken row that stands for the missing records.
  int32_t huge = 0x7FFFFFF0;
  std::memcpy(&dat[4], &huge, 4);
  WriteBytes(dir / L"s.dat", dat);
  rows = ReadAll(dir / L"s.tab");
  ASSERT_EQ(rows.size(), 17u);
  EXPECT_FALSE(rows[15].Broken());
  EXPECT_TRUE(rows[16].Broken());
}

TEST_F(TabEngineDamage, MissingOrInconsistentFilesRaiseClearErrors) {
  struct Case {
    const wchar_t* file;
    std::string content;  // empty = delete
    const char* message;
  } cases[] = {
      {L"s.dat", "", "Missing file"},
      {L"s.id", "", "Missing file"},
      {L"s.tab", "!table\r\nDefinition Table\r\n  Type NATIVE\r\n  Fields 2\r\n    A Integer ;\r\n",
       "Field definitions missing"},
      {L"s.tab", "garbage", "no !table line"},
      {L"s.map", std::string(2048, 'x'), "Not a geometry file"},
  };
  for (const auto& c : cases) {
    TempDir d;
    tabsamples::WriteSample(d / L"s.tab", false);
    if (c.content.empty())
      DeleteFileW((d / c.file).c_str());
    else
      WriteBytes(d / c.file, c.content);
    try {
      TableReader::Open(d / L"s.tab");
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const TabError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
  }
}

// Random byte damage with fixed seeds: opening may fail with TabError, reading never throws and
// never crashes; damage past the .MAP header stays per feature.
TEST_F(TabEngineDamage, RandomMutationsNeverCrash) {
  const wchar_t* files[] = {L"s.map", L"s.dat", L"s.id", L"s.tab"};
  std::string original[4];
  for (int i = 0; i < 4; ++i) original[i] = ReadBytes(dir / files[i]);
  int opened = 0, brokenSeen = 0;
  for (uint32_t seed = 1; seed <= 300; ++seed) {
    std::mt19937 rng(seed);
    int which = seed % 4 == 0 ? static_cast<int>(rng() % 4) : 0;  // mostly the .MAP
    std::string bytes = original[which];
    int flips = 1 + rng() % 8;
    size_t from = which == 0 && seed % 2 ? 1024 : 0;
    for (int k = 0; k < flips; ++k) {
      size_t pos = from + rng() % (bytes.size() - from);
      bytes[pos] = static_cast<char>(rng() % 3 == 0 ? 0xFF : rng());
    }
    if (rng() % 10 == 0) bytes.resize(rng() % bytes.size());
    for (int i = 0; i < 4; ++i) WriteBytes(dir / files[i], i == which ? bytes : original[i]);
    std::unique_ptr<TableReader> r;
    try {
      r = TableReader::Open(dir / L"s.tab");
    } catch (const TabError&) {
      EXPECT_FALSE(which == 0 && from == 1024 && bytes.size() == original[0].size())
          << "object damage made the whole table fail, seed " << seed;
      continue;
    }
    ++opened;
    int rows = std::min(r->RowCount(), 2000);
    for (int id = 1; id <= rows; ++id) {
      Feature f;
      EXPECT_NO_THROW(r->ReadFeature(id, f)) << "seed " << seed;
      brokenSeen += f.Broken();
    }
  }
  EXPECT_GT(opened, 100);
  EXPECT_GT(brokenSeen, 0);
}

TEST(TabEngineMif, RandomMutationsRaiseOrReadButNeverCrash) {
  TempDir dir;
  tabsamples::WriteSample(dir / L"s.mif", false);
  std::string mif = ReadBytes(dir / L"s.mif"), mid = ReadBytes(dir / L"s.mid");
  int opened = 0, failed = 0;
  for (uint32_t seed = 1; seed <= 200; ++seed) {
    std::mt19937 rng(seed);
    std::string a = mif, b = mid;
    std::string& target = seed % 3 ? a : b;
    for (int k = 0, n = 1 + rng() % 6; k < n; ++k)
      target[rng() % target.size()] = "0123456789-.,()\" \r\nAZaz\xFF"[rng() % 22];
    if (rng() % 8 == 0) target.resize(rng() % target.size());
    WriteBytes(dir / L"s.mif", a);
    WriteBytes(dir / L"s.mid", b);
    try {
      auto r = TableReader::Open(dir / L"s.mif");
      for (int id = 1; id <= r->RowCount(); ++id) {
        Feature f;
        r->ReadFeature(id, f);
      }
      ++opened;
    } catch (const TabError&) {
      ++failed;
    }
  }
  EXPECT_GT(opened, 0);
  EXPECT_GT(failed, 0);
}
