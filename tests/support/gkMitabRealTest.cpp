// GetValidRowCount through the feature-library stand-in, loaded from the
// program folder as the program loads it, on native tables that the table
// engine writes and that the tests then damage byte by byte.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "TabEngine.h"
#include "app/TempFolder.h"
#include "gkMitabDyn.h"
#include "gkMitabUtils.h"

namespace {

using namespace tabengine;

Feature PointRow(int AId) {
  Feature F;
  F.geometry.type = GeometryType::Point;
  F.geometry.parts = {{{3000.0 + AId, 1000.0 + AId}}};
  F.values = {Value::Int(AId)};
  return F;
}

Feature PolylineRow(int AId) {
  Feature F;
  F.geometry.type = GeometryType::Polyline;
  F.geometry.parts = {{{100, 100}, {200, 150}, {300, 120}}};
  F.values = {Value::Int(AId)};
  return F;
}

Feature RegionRow(int AId) {
  Feature F;
  F.geometry.type = GeometryType::Region;
  F.geometry.parts = {{{0, 0}, {0, 50}, {50, 50}, {50, 0}, {0, 0}}};
  F.values = {Value::Int(AId)};
  return F;
}

Feature NoObjectRow(int AId) {
  Feature F;
  F.values = {Value::Int(AId)};
  return F;
}

void WriteTable(const String& APath, const std::vector<Feature>& ARows) {
  TableSchema Schema;
  Schema.fields = {{"id", FieldType::Integer}};
  Schema.coordsys =
      CoordSys::Parse("CoordSys NonEarth Units \"m\" Bounds (0,0) (10000000,10000000)");
  auto Writer = TableWriter::Create(APath, Schema);
  for (const Feature& F : ARows) Writer->Insert(F);
  Writer->Close();
}

// Makes the object of row ARow claim another row, as a damaged .MAP does:
// that row's feature is broken, the others stay readable.
void DamageObject(const TTempFolder& AFolder, const String& AName, int ARow) {
  std::string Id = AFolder.Get(AName + L".id"), Map = AFolder.Get(AName + L".map");
  int32_t At;
  std::memcpy(&At, Id.data() + (ARow - 1) * 4, 4);
  int32_t Wrong = 99;
  std::memcpy(&Map[At + 1], &Wrong, 4);
  AFolder.Put(AName + L".map", Map);
}

// Marks row ARow deleted in the attribute file: a gap in the id chain.
void DeleteRow(const TTempFolder& AFolder, const String& AName, int ARow) {
  std::string Dat = AFolder.Get(AName + L".dat");
  uint16_t Header, Record;
  std::memcpy(&Header, Dat.data() + 8, 2);
  std::memcpy(&Record, Dat.data() + 10, 2);
  Dat[Header + (ARow - 1) * Record] = '*';
  AFolder.Put(AName + L".dat", Dat);
}

class MitabRealTest : public ::testing::Test {
 protected:
  // The default path: the stand-in is copied beside the test program.
  void SetUp() override { gkMitabDyn_Initialize(); }
  void TearDown() override { gkMitabDyn_Finalize(); }
  TTempFolder FFolder{L"gkMitabReal"};
};

struct TRowCountCase {
  const char* Name;
  std::vector<Feature> Rows;
  std::function<void(const TTempFolder&, const String&)> Damage;
  Integer Valid;
  std::vector<Integer> Broken;
};

TEST_F(MitabRealTest, ValidRowCountOfEngineTables) {
  const TRowCountCase Cases[] = {
      {"clean, every object kind and a row without one",
       {PointRow(1), PolylineRow(2), RegionRow(3), NoObjectRow(4), PointRow(5)},
       nullptr,
       5,
       {}},
      {"one damaged object",
       {PointRow(1), PointRow(2), PointRow(3), PointRow(4), PointRow(5), PointRow(6)},
       [](const TTempFolder& F, const String& N) { DamageObject(F, N, 3); },
       5,
       {3}},
      {"damaged first and last objects",
       {PointRow(1), RegionRow(2), PointRow(3), PolylineRow(4)},
       [](const TTempFolder& F, const String& N) {
         DamageObject(F, N, 1);
         DamageObject(F, N, 4);
       },
       2,
       {1, 4}},
      {"deleted rows leave gaps in the id chain",
       {PointRow(1), PointRow(2), PointRow(3), PointRow(4), PointRow(5), PointRow(6)},
       [](const TTempFolder& F, const String& N) {
         DeleteRow(F, N, 2);
         DeleteRow(F, N, 3);
         DamageObject(F, N, 5);
       },
       3,
       {5}},
      {"empty table", {}, nullptr, 0, {}},
  };
  int No = 0;
  for (const TRowCountCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    String Name = L"t" + IntToStr(++No);
    String Path = FFolder.Path() + Name + L".tab";
    WriteTable(Path, Case.Rows);
    if (Case.Damage) Case.Damage(FFolder, Name);
    std::vector<Integer> Broken = {-7};  // appended to, never cleared
    EXPECT_EQ(GetValidRowCount(Path, Broken), Case.Valid);
    std::vector<Integer> Expected = {-7};
    Expected.insert(Expected.end(), Case.Broken.begin(), Case.Broken.end());
    EXPECT_EQ(Broken, Expected);
  }
  EXPECT_EQ(MITAB_LoadErr, MITAB_Bound);
  EXPECT_EQ(MITAB_LibVersion, 2000000);
}

TEST_F(MitabRealTest, UnusableTablesRaiseWithTheLibrarysReason) {
  WriteTable(FFolder.Path() + L"nodat.tab", {PointRow(1)});
  DeleteFileW((FFolder.Path() + L"nodat.dat").c_str());
  struct TCase {
    String Path;
    String Reason;
  } Cases[] = {
      {FFolder.Path() + L"missing.tab", L"missing.tab"},
      {FFolder.Path() + L"nodat.tab", L"nodat.dat"},
  };
  for (const TCase& Case : Cases) {
    std::vector<Integer> Broken;
    String Message = L"(nothing raised)";
    try {
      GetValidRowCount(Case.Path, Broken);
    } catch (const Exception& E) {
      Message = E.Message();
    }
    EXPECT_EQ(Message.rfind(L"Ошибка при открытии таблицы: ", 0), 0u) << Message;
    EXPECT_NE(Message.find(Case.Reason), String::npos) << Message;
    EXPECT_TRUE(Broken.empty());
  }
  // The library stays usable for the next table.
  WriteTable(FFolder.Path() + L"ok.tab", {PointRow(1), PointRow(2)});
  std::vector<Integer> Broken;
  EXPECT_EQ(GetValidRowCount(FFolder.Path() + L"ok.tab", Broken), 2);
}

}  // namespace

namespace {
// A folder name no ANSI code page holds (Greek and Cyrillic together) still
// reaches the 8-bit library, through the path's short form.
TEST_F(MitabRealTest, APathOutsideTheCodePageIsOpened) {
  String Folder = FFolder.Path() + L"таблицы Ωμέγα\\";
  ASSERT_TRUE(CreateDirectoryW(Folder.c_str(), nullptr));
  WriteTable(Folder + L"roads.tab", {PointRow(1), PointRow(2), PointRow(3)});
  std::vector<Integer> Broken;
  EXPECT_EQ(GetValidRowCount(Folder + L"roads.tab", Broken), 3);
  EXPECT_TRUE(Broken.empty());
}
}  // namespace
