// The per-table road of vector tables against the real stand-ins: the
// feature library loaded from the program folder and the GIS program reached
// through COM. Source tables are written, and output tables read, by the
// table engine; the expected coordinates come from the test's own formula
// or from PROJ (RoadReference.inc).
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <numbers>

#include "Pelmora.h"
#include "TabEngine.h"
#include "TempFolder.h"
#include "gkCommon.h"
#include "gkMapInfo.h"
#include "gkMitabDyn.h"

// After the platform headers that the framework brings in.
#include <tlhelp32.h>

namespace {

using tabengine::Point2;

const wchar_t Msk89[] = L"8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63";
const wchar_t Sk63[] = L"8, 1001, \"m\", 66.95, 0, 1, 4300000, -9214.69";
const char NonEarthClause[] = "CoordSys NonEarth Units \"m\" Bounds (0,0) (10000000,10000000)";

// Objects are stored on an integer grid set by the bounds of their system:
// a few centimetres in the source and again in the output.
const double Tolerance = 0.1;

struct TReference {
  const wchar_t* System;
  double East, North;        // in the source system
  double EastMsk, NorthMsk;  // in the formation's MSK-89 zone
};
const TReference References[] = {
#include "RoadReference.inc"
};

Point2 Reference(const wchar_t* ASystem, Point2 P) {
  for (const TReference& R : References)
    if (String(R.System) == ASystem && R.East == P.x && R.North == P.y)
      return {R.EastMsk, R.NorthMsk};
  ADD_FAILURE() << "no reference point for " << P.x << " " << P.y;
  return P;
}

TFormationParams Formation() {
  TFormationParams P;
  P.xold = 100000;
  P.yold = 50000;
  P.xnew = 1400000;
  P.ynew = 2500000;
  P.angle = GetAngle(1, 23, 45.6);
  P.scale = 1.0000123;
  P.msk89 = Msk89;
  P.sk63 = Sk63;
  return P;
}

// The formation's similarity transform, written out here apart from the
// program's: x north, y east.
Point2 Forward(Point2 P) {
  const TFormationParams F = Formation();
  double A = F.angle * std::numbers::pi / 180, Dx = P.y - F.xold, Dy = P.x - F.yold;
  return {F.ynew + F.scale * (std::sin(A) * Dx + std::cos(A) * Dy),
          F.xnew + F.scale * (std::cos(A) * Dx - std::sin(A) * Dy)};
}

tabengine::Feature Row(tabengine::GeometryType AType, std::vector<Point2> APoints, int AId) {
  tabengine::Feature F;
  F.geometry.type = AType;
  F.geometry.parts = {std::move(APoints)};
  F.values = {tabengine::Value::Int(AId)};
  return F;
}

// A point, a polyline and a region over three source points.
std::vector<tabengine::Feature> ThreeObjects(const std::vector<Point2>& P) {
  using G = tabengine::GeometryType;
  return {Row(G::Point, {P[0]}, 1), Row(G::Polyline, {P[0], P[1], P[2]}, 2),
          Row(G::Region, {P[0], P[1], P[2], P[0]}, 3)};
}

void WriteTable(const String& APath, const std::string& AClause,
                const std::vector<tabengine::Feature>& ARows) {
  tabengine::TableSchema Schema;
  Schema.fields = {{"id", tabengine::FieldType::Integer}};
  Schema.coordsys = tabengine::CoordSys::Parse(AClause);
  auto Writer = tabengine::TableWriter::Create(APath, Schema);
  for (const auto& F : ARows) Writer->Insert(F);
  Writer->Close();
}

std::vector<Point2> Vertices(const tabengine::Geometry& G) {
  std::vector<Point2> R;
  for (const auto& Part : G.parts) R.insert(R.end(), Part.begin(), Part.end());
  return R;
}

// Every file under a folder with its bytes, by relative path.
void Snapshot(const String& ADir, const String& ARel, std::map<String, std::string>& AFiles) {
  WIN32_FIND_DATAW F;
  HANDLE H = FindFirstFileW((ADir + ARel + L"*").c_str(), &F);
  if (H == INVALID_HANDLE_VALUE) return;
  do {
    String N = F.cFileName;
    if (N == L"." || N == L"..") continue;
    if (F.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      AFiles[ARel + N + L"\\"] = "<folder>";
      Snapshot(ADir, ARel + N + L"\\", AFiles);
    } else {
      std::string Bytes;
      HANDLE R = CreateFileW((ADir + ARel + N).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
      char Buf[65536];
      DWORD Got = 0;
      while (R != INVALID_HANDLE_VALUE && ReadFile(R, Buf, sizeof(Buf), &Got, nullptr) && Got)
        Bytes.append(Buf, Got);
      if (R != INVALID_HANDLE_VALUE) CloseHandle(R);
      AFiles[ARel + N] = Bytes;
    }
  } while (FindNextFileW(H, &F));
  FindClose(H);
}

struct TLogSink {
  void Add(const String& AText, Boolean) { Lines.push_back(AText); }
  std::vector<String> With(const String& ATag) const {
    std::vector<String> R;
    for (const String& L : Lines)
      if (L.find(ATag) != String::npos) R.push_back(L);
    return R;
  }
  std::vector<String> Lines;
};

// Server processes of the GIS stand-in alive on the machine.
int CountServers() {
  int Result = 0;
  HANDLE Snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (Snap == INVALID_HANDLE_VALUE) return -1;
  PROCESSENTRY32W E;
  E.dwSize = sizeof(E);
  for (BOOL More = Process32FirstW(Snap, &E); More; More = Process32NextW(Snap, &E))
    if (SameText(ExtractFileName(E.szExeFile), L"MapInfoStandin.exe")) ++Result;
  CloseHandle(Snap);
  return Result;
}

// Process end is asynchronous to the client; the bound only keeps a server
// that never ends from hanging the run.
int ServersAfterExit(int AExpected) {
  int Count = CountServers();
  for (int I = 0; I < 300 && Count > AExpected; ++I) {
    Sleep(100);
    Count = CountServers();
  }
  return Count;
}

String ExeFolder() {
  wchar_t Buffer[MAX_PATH + 1];
  DWORD Len = GetModuleFileNameW(nullptr, Buffer, MAX_PATH);
  return ExtractFilePath(String(Buffer, Len));
}

class RoadReal : public testing::Test {
 protected:
  void SetUp() override {
    gkCommon_Initialize();
    gkMapInfo_Initialize();
    gkMitabDyn_Initialize();
    Dir.Folder(L"in");
    Dir.Folder(L"work");
    Run.InDir = Dir.Path() + L"in\\";
    Run.OutDir = Dir.Path() + L"out\\";
    Run.TempPath = Dir.Path() + L"work\\";
    Run.Params = Formation();
    Run.Formation = L"Надым";
    Run.OnLog = MakeEvent<&TLogSink::Add>(&Sink);
    FServersBefore = CountServers();
  }
  void TearDown() override {
    miCloseMapInfoServer();
    gkMitabDyn_Finalize();
    gkMapInfo_Finalize();
    gkCommon_Finalize();
    // Every instance the road started has ended with its session.
    EXPECT_EQ(ServersAfterExit(FServersBefore), FServersBefore);
  }

  // Runs ConvTable on the table in the input folder and returns its output
  // (nullptr when none was written), checking that the input is unchanged.
  std::unique_ptr<tabengine::TableReader> Convert(const String& AName) {
    std::map<String, std::string> Before, After;
    Snapshot(Run.InDir, L"", Before);
    std::vector<String> Rasters;
    ConvTable(Run.InDir + AName, Run, Counter, Gis, Rasters);
    EXPECT_TRUE(Rasters.empty());
    Snapshot(Run.InDir, L"", After);
    EXPECT_TRUE(Before == After) << "the input folder changed";
    String Out = Run.OutDir + AName;
    if (!FileExists(Out)) return nullptr;
    return tabengine::TableReader::Open(Out);
  }

  TTempFolder Dir{L"roadreal"};
  TVectorRun Run;
  TLogSink Sink;
  TMitabFeatureCounter Counter{ExeFolder() + MitabLibraryName};
  TMapInfoFactory Gis;
  int FServersBefore = 0;
};

struct TClassCase {
  const char* Name;
  std::string Clause;
  std::vector<Point2> Source;
  Integer InCs;
  Integer OutCs;
  std::function<Point2(Point2)> Expected;
};

const char Msk89Earth[] =
    "CoordSys Earth Projection 8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63";

TEST_F(RoadReal, EveryInputClassReachesTheTarget) {
  const std::vector<Point2> Local = {{50000, 100000}, {61234.5, 112345.67}, {45000.25, 95000.5}};
  const std::vector<Point2> Shifted = {{420000, 200000}, {455000.5, 180000.25}, {401000, 215000}};
  const std::vector<Point2> Sk63Points = {
      {4420000, 7200000}, {4455000.5, 7180000.25}, {4401000, 7215000}};
  const std::vector<Point2> Msk89Points = {
      {2510000.5, 1400000.25}, {2523456.75, 1412345.5}, {2499000, 1390000}};
  const std::vector<Point2> Zone7305 = {
      {1450000.5, 1300000.25}, {1480000, 1320000}, {1420000, 1290000}};
  const std::vector<Point2> Wgs84 = {{66.5, 65.2}, {67.1, 65.5}, {65.9, 64.9}};
  auto Same = [](Point2 P) { return P; };
  const TClassCase Cases[] = {
      {"class 1: formation plane", NonEarthClause, Local, icLocal, tcMsk89Geo, Forward},
      {"class 2: shifted SK-63", NonEarthClause, Shifted, icShift, tcMsk89Geo,
       [](Point2 P) {
         return Reference(L"Sk63", {P.x + 4000000, P.y + 7000000});
       }},
      {"class 3: MSK-89 plane", NonEarthClause, Msk89Points, icMsk89, tcMsk89Geo, Same},
      {"class 4: SK-63 plane", NonEarthClause, Sk63Points, icSk63, tcMsk89Geo,
       [](Point2 P) { return Reference(L"Sk63", P); }},
      {"class 103: MSK-89 zone of the formation", Msk89Earth, Msk89Points, icEarth5811057,
       tcMsk89Geo, Same},
      {"class 104: another MSK-89 zone",
       "CoordSys Earth Projection 8, 1001, \"m\", 73.05, 0, 1, 1500000, -5911057.63", Zone7305,
       icEarth11057, tcMsk89Geo, [](Point2 P) { return Reference(L"Msk89Zone7305", P); }},
      {"class 0: geographic WGS 84", "CoordSys Earth Projection 1, 104", Wgs84, icNone, tcMsk89Geo,
       [](Point2 P) { return Reference(L"Wgs84", P); }},
      {"class 1 into the old conditional system", NonEarthClause, Local, icLocal, tcOldConditional,
       Same},
      {"class 4 into the MSK-89 plan", NonEarthClause, Sk63Points, icSk63, tcMsk89Plan,
       [](Point2 P) { return Reference(L"Sk63", P); }},
  };
  int No = 0;
  for (const TClassCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Sink.Lines.clear();
    Run.OutCs = Case.OutCs;
    String Name = L"c" + IntToStr(++No) + L".tab";
    WriteTable(Run.InDir + Name, Case.Clause, ThreeObjects(Case.Source));
    std::unique_ptr<tabengine::TableReader> Out;
    try {
      Out = Convert(Name);
    } catch (const Exception& E) {
      ADD_FAILURE() << testing::PrintToString(E.Message());
      continue;
    }
    EXPECT_EQ(Sink.With(L"Тип входной СК"),
              std::vector<String>{L"Тип входной СК " + IntToStr(Case.InCs)});
    EXPECT_EQ(Sink.With(L"Нормальных"), std::vector<String>{L"Нормальных: 3, Битых: 0."});
    ASSERT_TRUE(Out) << "no output table";
    const tabengine::CoordSys& Cs = Out->Schema().coordsys;
    if (Case.OutCs == tcMsk89Geo) {
      EXPECT_TRUE(Cs.earth);
      EXPECT_EQ(Cs.projection, 8);
      EXPECT_EQ(Cs.datum, 1001);
      EXPECT_EQ(Cs.params, (std::vector<double>{66.05, 0, 1, 2500000, -5811057.63}));
    } else {
      EXPECT_FALSE(Cs.earth) << Cs.ToString();
    }
    std::vector<tabengine::Feature> Want = ThreeObjects(Case.Source);
    ASSERT_EQ(Out->RowCount(), 3);
    for (int Id = 1; Id <= 3; ++Id) {
      tabengine::Feature F;
      ASSERT_TRUE(Out->ReadFeature(Id, F));
      EXPECT_FALSE(F.Broken()) << F.error;
      EXPECT_EQ(F.geometry.type, Want[Id - 1].geometry.type);
      ASSERT_EQ(F.values.size(), 1u);
      EXPECT_EQ(F.values[0].integer, Id);
      std::vector<Point2> Got = Vertices(F.geometry), Src = Vertices(Want[Id - 1].geometry);
      ASSERT_EQ(Got.size(), Src.size()) << "row " << Id;
      for (size_t V = 0; V < Got.size(); ++V) {
        Point2 E = Case.Expected(Src[V]);
        EXPECT_NEAR(Got[V].x, E.x, Tolerance) << "row " << Id << " vertex " << V;
        EXPECT_NEAR(Got[V].y, E.y, Tolerance) << "row " << Id << " vertex " << V;
      }
    }
  }
}

// Makes the object of row ARow claim another row, as a damaged .MAP does.
void DamageObject(const TTempFolder& AFolder, const String& AName, int ARow) {
  std::string Id = AFolder.Get(AName + L".id"), Map = AFolder.Get(AName + L".map");
  int32_t At;
  std::memcpy(&At, Id.data() + (ARow - 1) * 4, 4);
  int32_t Wrong = 99;
  std::memcpy(&Map[At + 1], &Wrong, 4);
  AFolder.Put(AName + L".map", Map);
}

// The 10-row table whose row 4 is damaged: every export that includes it
// fails, and the output holds the other nine rows.
TEST_F(RoadReal, RowRangeSearchLeavesOutTheBrokenRow) {
  std::vector<tabengine::Feature> Rows;
  for (int R = 1; R <= 10; ++R)
    Rows.push_back(Row(tabengine::GeometryType::Point, {{50000.0 + R, 100000.0 + R}}, R));
  WriteTable(Run.InDir + L"roads.tab", NonEarthClause, Rows);
  DamageObject(Dir, L"in\\roads", 4);
  Run.OutCs = tcMsk89Geo;
  Run.Diagnostics = true;
  std::unique_ptr<tabengine::TableReader> Out = Convert(L"roads.tab");
  EXPECT_EQ(Sink.With(L"Нормальных"), std::vector<String>{L"Нормальных: 9, Битых: 1."});
  std::vector<String> Attempts;
  for (const String& L : Sink.With(L" до ")) Attempts.push_back(L.substr(0, L.find(L" (")));
  EXPECT_EQ(Attempts, (std::vector<String>{L"1 от 1 до 10", L"2 от 1 до 5", L"3 от 1 до 3 успешно",
                                           L"4 от 4 до 10", L"5 от 4 до 7", L"6 от 4 до 5",
                                           L"7 от 4 до 4", L"8 от 5 до 5 успешно",
                                           L"9 от 6 до 10 успешно", L"Успешно завершен от 6 до 10",
                                           L"Итого 0 от 1 до 3", L"Итого 1 от 5 до 10"}));
  ASSERT_TRUE(Out) << "no output table";
  ASSERT_EQ(Out->RowCount(), 9);
  int Id = 0;
  for (int R : {1, 2, 3, 5, 6, 7, 8, 9, 10}) {
    tabengine::Feature F;
    ASSERT_TRUE(Out->ReadFeature(++Id, F));
    EXPECT_FALSE(F.Broken()) << F.error;
    ASSERT_EQ(F.values.size(), 1u);
    EXPECT_EQ(F.values[0].integer, R);
    ASSERT_EQ(F.geometry.type, tabengine::GeometryType::Point);
    Point2 E = Forward({50000.0 + R, 100000.0 + R});
    EXPECT_NEAR(F.geometry.parts[0][0].x, E.x, Tolerance) << "row " << R;
    EXPECT_NEAR(F.geometry.parts[0][0].y, E.y, Tolerance) << "row " << R;
  }
}

}  // namespace
