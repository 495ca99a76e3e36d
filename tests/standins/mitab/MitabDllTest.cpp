// The feature library loaded the way the program loads it: LoadLibrary by file name from the
// executable's folder, entry points by name (decorated "_name@N" first, then the plain name).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TabEngine.h"
#include "TabSamples.h"
#include "WinCompat.h"

using namespace tabengine;

namespace {

using Handle = void*;

class MitabDll : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir(exe);
    dir.resize(dir.find_last_of(L'\\') + 1);
    module_ = LoadLibraryW((dir + L"MitabFromGDAL_VS_11_x86.dll").c_str());
  }

  template <class F>
  static F Bind(const char* name, int bytes) {
    std::string decorated = std::string("_") + name + "@" + std::to_string(bytes);
    FARPROC p = GetProcAddress(module_, decorated.c_str());
    if (!p) p = GetProcAddress(module_, name);
    return reinterpret_cast<F>(reinterpret_cast<void*>(p));
  }

  void SetUp() override {
    ASSERT_NE(module_, nullptr);
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    dir_ = std::wstring(tmp) + L"mitab_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
           std::to_wstring(++counter_);
    CreateDirectoryW(dir_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const wchar_t* ext : {L".tab", L".dat", L".map", L".id", L".mif", L".mid"}) {
      DeleteFileW((dir_ + L"\\s" + ext).c_str());
      DeleteFileW((dir_ + L"\\w" + ext).c_str());
    }
    RemoveDirectoryW(dir_.c_str());
  }
  std::string Ansi(const std::wstring& w) {
    int n = WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string s(n - 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, w.c_str(), -1, s.data(), n, nullptr, nullptr);
    return s;
  }

  // The program's walk over all feature ids: (readable count, broken ids).
  std::pair<int, std::vector<int>> Walk(const std::string& path) {
    auto open = Bind<Handle(__stdcall*)(const char*)>("mitab_c_open", 4);
    auto next = Bind<int(__stdcall*)(Handle, int)>("mitab_c_next_feature_id", 8);
    auto read = Bind<Handle(__stdcall*)(Handle, int)>("mitab_c_read_feature", 8);
    auto err = Bind<int(__stdcall*)()>("mitab_c_getlasterrorno", 0);
    auto destroy = Bind<void(__stdcall*)(Handle)>("mitab_c_destroy_feature", 4);
    auto close = Bind<void(__stdcall*)(Handle)>("mitab_c_close", 4);
    Handle t = open(path.c_str());
    EXPECT_NE(t, nullptr);
    std::pair<int, std::vector<int>> result;
    if (!t) return result;
    int id = next(t, -1), empty = 0;
    Handle f = nullptr;
    for (;;) {
      destroy(f);
      f = read(t, id);
      int e = err();
      if (e != 0)
        result.second.push_back(id);
      else if (f)
        ++result.first;
      int n = next(t, id);
      if (!f && e == 0 && n == -1 && ++empty > 10000) break;
      id = n == -1 ? id + 1 : n;
    }
    destroy(f);
    close(t);
    return result;
  }

  static HMODULE module_;
  static int counter_;
  std::wstring dir_;
};

HMODULE MitabDll::module_ = nullptr;
int MitabDll::counter_ = 0;

}  // namespace

TEST_F(MitabDll, ReportsTheVersionTheProgramAccepts) {
  auto version = Bind<int(__stdcall*)()>("mitab_c_getlibversion", 0);
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(version(), 2000000);
  EXPECT_EQ(version(), 2000000);
  // Every entry point the program calls is bound by name.
  struct Entry {
    const char* name;
    int bytes;
  } entries[] = {{"mitab_c_open", 4},
                 {"mitab_c_close", 4},
                 {"mitab_c_next_feature_id", 8},
                 {"mitab_c_read_feature", 8},
                 {"mitab_c_destroy_feature", 4},
                 {"mitab_c_getlasterrorno", 0},
                 {"mitab_c_getlasterrormsg", 0},
                 {"mitab_c_get_vertex_x", 12},
                 {"mitab_c_set_points", 20},
                 {"mitab_c_add_field", 28},
                 {"mitab_c_create", 44},
                 {"mitab_c_set_arc", 52}};
  for (const auto& e : entries) EXPECT_NE(Bind<FARPROC>(e.name, e.bytes), nullptr) << e.name;
}

TEST_F(MitabDll, WalkCountsEveryFeatureOfAHealthyTable) {
  tabsamples::WriteSample(dir_ + L"\\s.tab", true);
  auto [count, broken] = Walk(Ansi(dir_ + L"\\s.tab"));
  EXPECT_EQ(count, 16);  // the row without an object is a feature too
  EXPECT_TRUE(broken.empty());
  // MIF tables open as well.
  tabsamples::WriteSample(dir_ + L"\\s.mif", false);
  EXPECT_EQ(Walk(Ansi(dir_ + L"\\s.mif")).first, 16);
}

TEST_F(MitabDll, BrokenFeatureSetsErrorAndPastTheEndDoesNot) {
  tabsamples::WriteSample(dir_ + L"\\s.tab", false);
  // Damage the object of row 3: its row id no longer matches.
  HANDLE h =
      CreateFileW((dir_ + L"\\s.id").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  int32_t ptrs[16];
  DWORD got;
  ReadFile(h, ptrs, sizeof ptrs, &got, nullptr);
  CloseHandle(h);
  h = CreateFileW((dir_ + L"\\s.map").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                  nullptr);
  SetFilePointer(h, ptrs[2] + 1, nullptr, FILE_BEGIN);
  int32_t wrong = 1234;
  WriteFile(h, &wrong, 4, &got, nullptr);
  CloseHandle(h);

  auto [count, broken] = Walk(Ansi(dir_ + L"\\s.tab"));
  EXPECT_EQ(count, 15);
  EXPECT_EQ(broken, std::vector<int>{3});

  auto open = Bind<Handle(__stdcall*)(const char*)>("mitab_c_open", 4);
  auto read = Bind<Handle(__stdcall*)(Handle, int)>("mitab_c_read_feature", 8);
  auto err = Bind<int(__stdcall*)()>("mitab_c_getlasterrorno", 0);
  auto msg = Bind<const char*(__stdcall*)()>("mitab_c_getlasterrormsg", 0);
  auto next = Bind<int(__stdcall*)(Handle, int)>("mitab_c_next_feature_id", 8);
  auto close = Bind<void(__stdcall*)(Handle)>("mitab_c_close", 4);
  Handle t = open(Ansi(dir_ + L"\\s.tab").c_str());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(read(t, 3), nullptr);
  EXPECT_NE(err(), 0);
  EXPECT_NE(std::string(msg()).find("Row 3"), std::string::npos) << msg();
  EXPECT_EQ(read(t, 17), nullptr);
  EXPECT_EQ(err(), 0);
  EXPECT_EQ(next(t, 16), -1);
  EXPECT_EQ(next(t, -1), 1);
  close(t);

  EXPECT_EQ(open(Ansi(dir_ + L"\\missing.tab").c_str()), nullptr);
  EXPECT_NE(err(), 0);
  EXPECT_NE(std::string(msg()).find("missing.tab"), std::string::npos) << msg();
}

TEST_F(MitabDll, DeletedRowsAreSkippedWithoutError) {
  tabsamples::WriteSample(dir_ + L"\\s.tab", false);
  // Flag the .DAT record of row 4 as deleted.
  HANDLE h = CreateFileW((dir_ + L"\\s.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  uint16_t header[6];
  DWORD got;
  ReadFile(h, header, sizeof header, &got, nullptr);
  SetFilePointer(h, header[4] + 3 * header[5], nullptr, FILE_BEGIN);
  WriteFile(h, "*", 1, &got, nullptr);
  CloseHandle(h);

  auto open = Bind<Handle(__stdcall*)(const char*)>("mitab_c_open", 4);
  auto next = Bind<int(__stdcall*)(Handle, int)>("mitab_c_next_feature_id", 8);
  auto read = Bind<Handle(__stdcall*)(Handle, int)>("mitab_c_read_feature", 8);
  auto err = Bind<int(__stdcall*)()>("mitab_c_getlasterrorno", 0);
  auto close = Bind<void(__stdcall*)(Handle)>("mitab_c_close", 4);
  Handle t = open(Ansi(dir_ + L"\\s.tab").c_str());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(next(t, 3), 5);
  EXPECT_EQ(read(t, 4), nullptr);
  EXPECT_EQ(err(), 0);
  close(t);
  auto [count, broken] = Walk(Ansi(dir_ + L"\\s.tab"));
  EXPECT_EQ(count, 15);
  EXPECT_TRUE(broken.empty());
}

TEST_F(MitabDll, ReadSideGivesGeometryStylesAndAttributesInTheTableCharset) {
  tabsamples::WriteSample(dir_ + L"\\s.tab", false);
  auto open = Bind<Handle(__stdcall*)(const char*)>("mitab_c_open", 4);
  auto read = Bind<Handle(__stdcall*)(Handle, int)>("mitab_c_read_feature", 8);
  auto destroy = Bind<void(__stdcall*)(Handle)>("mitab_c_destroy_feature", 4);
  auto close = Bind<void(__stdcall*)(Handle)>("mitab_c_close", 4);
  auto type = Bind<int(__stdcall*)(Handle)>("mitab_c_get_type", 4);
  auto parts = Bind<int(__stdcall*)(Handle)>("mitab_c_get_parts", 4);
  auto count = Bind<int(__stdcall*)(Handle, int)>("mitab_c_get_vertex_count", 8);
  auto vx = Bind<double(__stdcall*)(Handle, int, int)>("mitab_c_get_vertex_x", 12);
  auto vy = Bind<double(__stdcall*)(Handle, int, int)>("mitab_c_get_vertex_y", 12);
  auto interior = Bind<int(__stdcall*)(Handle, int)>("mitab_c_is_interior_ring", 8);
  auto fieldCount = Bind<int(__stdcall*)(Handle)>("mitab_c_get_field_count", 4);
  auto fieldName = Bind<const char*(__stdcall*)(Handle, int)>("mitab_c_get_field_name", 8);
  auto fieldType = Bind<int(__stdcall*)(Handle, int)>("mitab_c_get_field_type", 8);
  auto asString = Bind<const char*(__stdcall*)(Handle, int)>("mitab_c_get_field_as_string", 8);
  auto asDouble = Bind<double(__stdcall*)(Handle, int)>("mitab_c_get_field_as_double", 8);
  auto brushFg = Bind<int(__stdcall*)(Handle)>("mitab_c_get_brush_fgcolor", 4);
  auto penWidth = Bind<int(__stdcall*)(Handle)>("mitab_c_get_pen_width", 4);
  auto symbolNo = Bind<int(__stdcall*)(Handle)>("mitab_c_get_symbol_no", 4);
  auto coordsys = Bind<const char*(__stdcall*)(Handle)>("mitab_c_get_mif_coordsys", 4);
  auto count_ = Bind<int(__stdcall*)(Handle)>("mitab_c_get_feature_count", 4);

  Handle t = open(Ansi(dir_ + L"\\s.tab").c_str());
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(count_(t), 16);
  EXPECT_EQ(fieldCount(t), 10);
  EXPECT_STREQ(fieldName(t, 2), "NUM");
  EXPECT_EQ(fieldType(t, 2), 2);
  EXPECT_EQ(fieldType(t, 9), 9);
  EXPECT_EQ(std::string(coordsys(t)).rfind("CoordSys NonEarth Units \"m\" Bounds (0, 0)", 0), 0u)
      << coordsys(t);

  Handle point = read(t, 1);
  EXPECT_EQ(type(point), 1);
  EXPECT_DOUBLE_EQ(vx(point, 0, 0), 100.5);
  EXPECT_DOUBLE_EQ(vy(point, 0, 0), 200.25);
  EXPECT_EQ(symbolNo(point), 34);
  EXPECT_STREQ(asString(point, 2), "-7000");
  EXPECT_DOUBLE_EQ(asDouble(point, 5), -3.25);
  destroy(point);

  Handle region = read(t, 7);
  EXPECT_EQ(type(region), 7);
  EXPECT_EQ(parts(region), 3);
  EXPECT_EQ(count(region, 1), 5);
  EXPECT_EQ(interior(region, 0), 0);
  EXPECT_EQ(interior(region, 1), 1);
  EXPECT_EQ(interior(region, 2), 0);
  EXPECT_EQ(brushFg(region), 0xFFFF00);
  EXPECT_EQ(penWidth(region), 1);
  EXPECT_STREQ(asString(region, 0), "plain 6");
  destroy(region);
  // Text comes back in code page 1251, the table's charset.
  Handle font = read(t, 2);
  EXPECT_STREQ(asString(font, 1), "\xD2\xE2\xE5\xF0\xFC");
  EXPECT_EQ(type(font), 2);
  destroy(font);
  // A collection's parts come as features owned by the collection.
  auto regionRef = Bind<Handle(__stdcall*)(Handle)>("mitab_c_get_collection_region_ref", 4);
  auto pointsRef = Bind<Handle(__stdcall*)(Handle)>("mitab_c_get_collection_multipoint_ref", 4);
  Handle coll = read(t, 15);
  EXPECT_EQ(type(coll), 11);
  Handle part = regionRef(coll);
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(type(part), 7);
  EXPECT_EQ(interior(part, 1), 1);
  part = pointsRef(coll);
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(count(part, 0), 3);
  EXPECT_DOUBLE_EQ(vx(part, 0, 2), 62);
  destroy(coll);
  close(t);
}

TEST_F(MitabDll, WritesATableTheEngineReadsBack) {
  auto create = Bind<Handle(__stdcall*)(const char*, const char*, const char*, double, double,
                                        double, double)>("mitab_c_create", 44);
  auto addField =
      Bind<int(__stdcall*)(Handle, const char*, int, int, int, int, int)>("mitab_c_add_field", 28);
  auto createFeature = Bind<Handle(__stdcall*)(Handle, int)>("mitab_c_create_feature", 8);
  auto setPoints =
      Bind<void(__stdcall*)(Handle, int, int, double*, double*)>("mitab_c_set_points", 20);
  auto setField = Bind<void(__stdcall*)(Handle, int, const char*)>("mitab_c_set_field", 12);
  auto setPen = Bind<void(__stdcall*)(Handle, int, int, int)>("mitab_c_set_pen", 16);
  auto write = Bind<int(__stdcall*)(Handle, Handle)>("mitab_c_write_feature", 8);
  auto destroy = Bind<void(__stdcall*)(Handle)>("mitab_c_destroy_feature", 4);
  auto close = Bind<void(__stdcall*)(Handle)>("mitab_c_close", 4);

  Handle t = create(Ansi(dir_ + L"\\w.tab").c_str(), "tab",
                    "CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)", 0, 0, 0, 0);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(addField(t, "NAME", 1, 10, 0, 0, 0), 0);
  EXPECT_EQ(addField(t, "N", 2, 0, 0, 0, 0), 1);
  Handle f = createFeature(t, 5);
  double x[] = {1, 2, 3}, y[] = {4, 5, 6};
  setPoints(f, 0, 3, x, y);
  setPen(f, 2, 2, 0xFF);
  setField(f, 0, "abc");
  setField(f, 1, "42");
  EXPECT_EQ(write(t, f), 1);
  destroy(f);
  close(t);

  auto r = TableReader::Open(dir_ + L"\\w.tab");
  ASSERT_EQ(r->RowCount(), 1);
  Feature got;
  r->ReadFeature(1, got);
  ASSERT_EQ(got.geometry.type, GeometryType::Polyline);
  EXPECT_EQ(got.geometry.parts[0].size(), 3u);
  EXPECT_DOUBLE_EQ(got.geometry.parts[0][2].y, 6);
  EXPECT_EQ(got.geometry.pen.color, 0xFF);
  EXPECT_EQ(got.values[0].text, "abc");
  EXPECT_EQ(got.values[1].integer, 42);
}
