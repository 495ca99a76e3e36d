#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "CommaLocale.h"
#include "Pelmora.h"
#include "TempFolder.h"

namespace {

// "Точка 3" in code page 1251, as a Russian system writes it.
const std::string Tochka = "\xD2\xEE\xF7\xEA\xE0 3";

std::string RasterTab() {
  return "!table\r\n"
         "!version 300\r\n"
         "!charset WindowsCyrillic\r\n"
         "\r\n"
         "Definition Table\r\n"
         "  File \"scan 1.tif\"\r\n"
         "  Type \"RASTER\"\r\n"
         "  (7400000,6190000) (0,0) Label \"Pt 1\",\r\n"
         "  (  12.5 , -3.25 ) (4000,0) Label \"Point 2\",\r\n"
         "  (7410000,6180000) (4000,4000) Label \"" +
         Tochka +
         "\",\r\n"
         "  (9,9) (1,1) Label \"corner\"\r\n"
         "  CoordSys NonEarth Units \"m\"\r\n"
         "  Units \"m\"\r\n";
}

class RasterTable : public testing::Test {
 protected:
  void SetUp() override {
    Dir.Put(L"Вход\\Снимки\\план.tab", RasterTab());
    Dir.Put(L"Вход\\Снимки\\scan 1.tif", "image bytes");
    Dir.Folder(L"Выход\\Снимки");
  }
  String In() const { return Dir.Path() + L"Вход\\"; }
  String Out() const { return Dir.Path() + L"Выход\\Снимки\\"; }
  String TabPath() const { return In() + L"Снимки\\план.tab"; }

  TTempFolder Dir{L"растр"};
};

TEST_F(RasterTable, ReadsControlPointsImageAndClause) {
  TRasterTab T = ReadRasterTab(TabPath());
  ASSERT_EQ(T.Lines.size(), 13u);
  EXPECT_EQ(T.ImageName, "scan 1.tif");
  EXPECT_EQ(T.OldClause, "CoordSys NonEarth Units \"m\"");
  EXPECT_EQ(RasterSourceClause(T),
            L"CoordSys NonEarth Units \"m\" Bounds (0,0) (10000000,10000000)");

  // "Точка " names a control point where the system's code page spells it.
  const bool Russian = GetACP() == 1251;
  struct TWant {
    Integer Line;
    Double East, North;
  } Want[] = {{7, 7400000, 6190000}, {8, 12.5, -3.25}, {9, 7410000, 6180000}};
  size_t Count = Russian ? 3 : 2;
  ASSERT_EQ(T.Points.size(), Count);
  for (size_t I = 0; I < Count; ++I) {
    EXPECT_EQ(T.Points[I].ind, Want[I].Line);
    EXPECT_EQ(T.Points[I].x, Want[I].East);
    EXPECT_EQ(T.Points[I].y, Want[I].North);
  }
  EXPECT_EQ(T.MaxX, Russian ? 7410000 : 7400000);
  EXPECT_EQ(T.MaxY, 6190000);
  EXPECT_EQ(RasterInputClass(T), icSk63);
}

TEST_F(RasterTable, BadInputNamesTheTable) {
  struct TCase {
    const char* Name;
    std::string Text;  // empty: no file at all
    const wchar_t* Says;
  } Cases[] = {
      {"missing", "", L"не прочитана"},
      {"point",
       "File \"a.tif\"\r\nCoordSys NonEarth Units \"m\"\r\n(12a,5) (0,0) Label \"Pt 1\"\r\n",
       L"строка 3"},
      {"one number", "File \"a.tif\"\r\n(12) (0,0) Label \"Pt 1\"\r\nCoordSys NonEarth\r\n",
       L"строка 2"},
      {"comma decimal", "File \"a.tif\"\r\n(12,5,7) (0,0) Label \"Pt 1\"\r\nCoordSys NonEarth\r\n",
       L"строка 2"},
      {"no clause", "File \"a.tif\"\r\n(1,2) (0,0) Label \"Pt 1\"\r\n", L"CoordSys"},
      {"no image", "(1,2) (0,0) Label \"Pt 1\"\r\nCoordSys NonEarth\r\n", L"File"},
  };
  for (const TCase& C : Cases) {
    String Path = Dir.Path() + L"bad_" + AnsiToString(C.Name) + L".tab";
    if (!C.Text.empty()) Dir.Put(ExtractFileName(Path), C.Text);
    try {
      ReadRasterTab(Path);
      ADD_FAILURE() << C.Name << ": accepted";
    } catch (ERasterError& E) {
      EXPECT_NE(E.Message().find(L"\"" + Path + L"\""), String::npos) << C.Name << E.Message();
      EXPECT_NE(E.Message().find(C.Says), String::npos) << C.Name << E.Message();
    }
  }
}

// MapBasic literals use "." whatever the regional format, with every digit.
TEST_F(RasterTable, PointTableStatements) {
  auto Comma = std::make_unique<TCommaLocale>();
  GetFormatSettings();
  ASSERT_EQ(FormatSettings().DecimalSeparator, L',');
  Dir.Put(L"two.tab",
          "File \"a.tif\"\r\n (1234567.891,7654321.125) (0,0) Label \"Pt 1\"\r\n"
          " (37.6173,55.755826) (9,9) Label \"Pt 2\"\r\n CoordSys Earth Projection 1, 104\r\n");
  TRasterTab T = ReadRasterTab(Dir.Path() + L"two.tab");
  std::vector<String> Want = {
      L"Set CoordSys Earth Projection 1, 104",
      L"Set Distance Units \"m\"",
      L"Create Table tab1(ind integer) File \"C:\\tmp\\tab1\"",
      L"Create Map For tab1 CoordSys Earth Projection 1, 104",
      L"Dim O1 As Object",
      L"O1=CreatePoint(1234567.891,7654321.125)",
      L"Insert Into tab1(Obj,ind) values(O1,1)",
      L"Commit Table tab1",
      L"O1=CreatePoint(37.6173,55.755826)",
      L"Insert Into tab1(Obj,ind) values(O1,2)",
      L"Commit Table tab1",
      L"Undim O1",
      L"Export tab1 Into \"C:\\tmp\\tab1.mif\" Type \"MIF\" OverWrite",
  };
  EXPECT_EQ(RasterPointTableStatements(T, L"C:\\tmp\\"), Want);
  EXPECT_EQ(RasterInputClass(T), icNone);
  EXPECT_TRUE(RasterNeedsReprojection(icNone));
  Comma.reset();
  GetFormatSettings();
}

// Classes 1 and 3 are plane coordinates of the formation: the first pass
// and the target give the new control points without a change of projection.
TEST_F(RasterTable, ControlPointsPerClassAndTarget) {
  TTransformParams Shift;  // angle 0, scale 1: style 1 is a pure shift
  Shift.xold = 1000;
  Shift.yold = 2000;
  Shift.xnew = 1500000;
  Shift.ynew = 2500000;
  TTransformParams Turn = Shift;  // a quarter turn, doubled
  Turn.angle = 90;
  Turn.scale = 2;
  struct TCase {
    const char* Name;
    const TTransformParams& Params;
    Integer InCs, OutCs;
    Double East, North, WantEast, WantNorth;
  } Cases[] = {
      {"class 1 to plan", Shift, icLocal, tcMsk89Plan, 2500, 1100, 2500500, 1500100},
      {"class 1 to geo", Shift, icLocal, tcMsk89Geo, 2500, 1100, 2500500, 1500100},
      {"class 1 to old", Shift, icLocal, tcOldConditional, 2500, 1100, 2500, 1100},
      // x2 = xnew - 2 dy, y2 = ynew + 2 dx with dx = 100, dy = 500.
      {"class 1 turned", Turn, icLocal, tcMsk89Geo, 2500, 1100, 2500200, 1499000},
      {"class 1 turned to old", Turn, icLocal, tcOldConditional, 2500, 1100, 2500, 1100},
      {"class 3 to plan", Shift, icMsk89, tcMsk89Plan, 2500500.25, 1500100.5, 2500500.25,
       1500100.5},
      {"class 3 to geo", Shift, icMsk89, tcMsk89Geo, 2500500.25, 1500100.5, 2500500.25, 1500100.5},
      {"class 3 to old", Shift, icMsk89, tcOldConditional, 2500500, 1500100, 2500, 1100},
      {"class 3 turned to old", Turn, icMsk89, tcOldConditional, 2500200, 1499000, 2500, 1100},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    TRasterTab T;
    T.Lines = {"Definition Table", "  (0,0) (5,6) Label \"Pt 1\","};
    T.Points = {TPnt{C.East, C.North, 1}};
    RecalcRasterPoints(T, C.InCs, C.OutCs, TCoordTransform(C.Params));
    std::string_view L = T.Lines[1];
    size_t Comma = L.find(',');
    Double E = MifStrToFloat(L.substr(1, Comma - 1));
    Double N = MifStrToFloat(L.substr(Comma + 1, L.find(')') - Comma - 1));
    EXPECT_NEAR(E, C.WantEast, 1e-6);
    EXPECT_NEAR(N, C.WantNorth, 1e-6);
    EXPECT_EQ(L.substr(L.find(')')), ") (5,6) Label \"Pt 1\",");
    EXPECT_EQ(T.Lines[0], "Definition Table");
  }
  TRasterTab T;
  for (Integer Class : {icShift, icSk63, icNone, icEarth5811057, icEarth11057})
    EXPECT_THROW(RecalcRasterPoints(T, Class, tcMsk89Geo, TCoordTransform(Shift)),
                 EInvalidOperation)
        << Class;
}

TEST_F(RasterTable, SetControlPointKeepsTheRestOfTheLine) {
  TRasterTab T;
  T.Lines = {"    (1,2) (10,20) Label \"Pt 1\",", "(3,4)"};
  SetControlPoint(T, 0, 2500500.125, -0.5);
  SetControlPoint(T, 1, 1e20, 7);
  EXPECT_EQ(T.Lines[0], "(2500500.125,-0.5) (10,20) Label \"Pt 1\",");
  EXPECT_EQ(T.Lines[1], "(1E20,7)");
}

TEST_F(RasterTable, WritesTheNewTableBesideACopyOfTheImage) {
  TRasterTab T = ReadRasterTab(TabPath());
  SetControlPoint(T, 7, 2500000.5, 1500000.25);
  struct TCase {
    Integer Target;
    std::string Clause;
  } Cases[] = {
      {tcMsk89Plan,
       "CoordSys NonEarth Units \"m\" Bounds (-10000000, -10000000) (10000000, 10000000)"},
      {tcMsk89Geo, "CoordSys Earth Projection 8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63"},
      {tcOldConditional,
       "CoordSys NonEarth Units \"m\" Bounds (-10000000, -10000000) (10000000, 10000000)"},
  };
  for (const TCase& C : Cases) {
    AnsiString Line =
        RasterTargetCoordSys(C.Target, L"8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63");
    EXPECT_EQ(Line, C.Clause);
    WriteRasterTable(T, In(), Out(), Line);
    std::string Want = RasterTab();
    Want.replace(Want.find("  (7400000,6190000)"), 19, "(2500000.5,1500000.25)");
    Want.replace(Want.find("  CoordSys NonEarth Units \"m\""), 29, C.Clause);
    EXPECT_EQ(Dir.Get(L"Выход\\Снимки\\план.tab"), Want);
    EXPECT_EQ(Dir.Get(L"Выход\\Снимки\\scan 1.tif"), "image bytes");
  }
  // Only the table and its image: no work file is left behind.
  EXPECT_EQ(Dir.Entries(L"Выход\\Снимки\\").size(), 2u);
  // The source stays as it was.
  EXPECT_EQ(Dir.Get(L"Вход\\Снимки\\план.tab"), RasterTab());
}

TEST_F(RasterTable, UnitsOfDegreesBecomeMetres) {
  TRasterTab T;
  T.Lines = {"  CoordSys Earth Projection 1, 104", "  Units \"degree\"",
             "  (1,2) Label \"Units 1\""};
  EXPECT_EQ(RasterTabText(T, "CoordSys NonEarth Units \"m\""),
            "CoordSys NonEarth Units \"m\"\r\n  Units \"m\"\r\n  (1,2) Label \"Units 1\"\r\n");
}

TEST_F(RasterTable, MissingImageOrTargetInsideTheInputWritesNothing) {
  TRasterTab T = ReadRasterTab(TabPath());
  AnsiString Line = RasterTargetCoordSys(tcMsk89Plan, L"");
  DeleteFileW((Dir.Path() + L"Вход\\Снимки\\scan 1.tif").c_str());
  try {
    WriteRasterTable(T, In(), Out(), Line);
    FAIL() << "a missing image must be reported";
  } catch (ERasterError& E) {
    EXPECT_NE(E.Message().find(L"\"" + TabPath() + L"\""), String::npos) << E.Message();
    EXPECT_NE(E.Message().find(L"scan 1.tif"), String::npos) << E.Message();
  }
  EXPECT_TRUE(Dir.Entries(L"Выход\\Снимки\\").empty());

  Dir.Put(L"Вход\\Снимки\\scan 1.tif", "image bytes");
  EXPECT_THROW(WriteRasterTable(T, In(), In() + L"Снимки\\", Line), ERasterError);
  EXPECT_THROW(WriteRasterTable(T, In(), In() + L"Другая\\", Line), ERasterError);
  EXPECT_TRUE(Dir.Entries(L"Выход\\Снимки\\").empty());
  EXPECT_EQ(Dir.Get(L"Вход\\Снимки\\план.tab"), RasterTab());
  EXPECT_EQ(Dir.Get(L"Вход\\Снимки\\scan 1.tif"), "image bytes");
}

// An image name that climbs out of the output folder into the input (the
// names are ASCII so that any ANSI code page spells them).
TEST_F(RasterTable, ImageNameClimbingIntoTheInputIsRefused) {
  Dir.Put(L"in\\s\\p.tab", "");
  Dir.Put(L"in\\s\\s.tif", "image bytes");
  Dir.Folder(L"out\\s");
  TRasterTab T;
  T.FileName = Dir.Path() + L"in\\s\\p.tab";
  T.Lines = {"File \"..\\..\\in\\s\\s.tif\""};
  T.ImageName = "..\\..\\in\\s\\s.tif";
  try {
    WriteRasterTable(T, Dir.Path() + L"in\\", Dir.Path() + L"out\\s\\", "CoordSys NonEarth");
    FAIL() << "accepted";
  } catch (ERasterError& E) {
    EXPECT_NE(E.Message().find(L"во входную папку"), String::npos) << E.Message();
  }
  EXPECT_TRUE(Dir.Entries(L"out\\s\\").empty());
  EXPECT_EQ(Dir.Get(L"in\\s\\s.tif"), "image bytes");
}

TEST_F(RasterTable, WorkFilesOfTheFirstAndTargetPasses) {
  const String Temp = Dir.Path();
  const std::string Mif =
      "Version 300\r\nCoordSys NonEarth Units \"m\" Bounds (0,0) (10000000,10000000)\r\n"
      "Columns 1\r\n  ind Integer\r\nData\r\n\r\nPoint 2500 1100\r\n    Symbol (35,0,12)\r\n";
  Dir.Put(L"tab1.mif", Mif);
  Dir.Put(L"tab1.mid", "7\r\n");
  TFormationParams P;
  P.xold = 1000;
  P.yold = 2000;
  P.xnew = 1500000;
  P.ynew = 2500000;
  P.msk89 = L"8, 1001, \"m\", 66.05";
  P.sk63 = L"8, 1001, \"m\", 66.95";
  TCoordTransform T(P);
  const std::string Head = "Version 300\r\n";
  const std::string Tail = "Columns 1\r\n  ind Integer\r\nData\r\n";
  struct TCase {
    Integer InCs;
    std::string Want;
  } Cases[] = {
      {icLocal, Head + "CoordSys Earth Projection 8, 1001, \"m\", 66.05\r\n" + Tail +
                    "Point 2500500 1500100\r\n    Symbol (35,0,12)\r\n"},
      {icShift, Head + "CoordSys Earth Projection 8, 1001, \"m\", 66.95\r\n" + Tail +
                    "Point 4002500 7001100\r\n    Symbol (35,0,12)\r\n"},
      {icMsk89, Head + "CoordSys Earth Projection 8, 1001, \"m\", 66.05\r\n" + Tail +
                    "\r\nPoint 2500 1100\r\n    Symbol (35,0,12)\r\n"},
      {icSk63, Head + "CoordSys Earth Projection 8, 1001, \"m\", 66.95\r\n" + Tail +
                   "\r\nPoint 2500 1100\r\n    Symbol (35,0,12)\r\n"},
  };
  for (const TCase& C : Cases) {
    DeleteFileW((Temp + L"tabOut.mif").c_str());
    EXPECT_TRUE(RasterFirstPassMif(Temp, C.InCs, P, T)) << C.InCs;
    EXPECT_EQ(Dir.Get(L"tabOut.mif"), C.Want) << C.InCs;
    EXPECT_EQ(Dir.Get(L"tabOut.mid"), "7\r\n");
  }
  for (Integer Class : {icNone, icEarth5811057, icEarth11057})
    EXPECT_FALSE(RasterFirstPassMif(Temp, Class, P, T)) << Class;

  Dir.Put(
      L"tabPnt.mif",
      "Version 300\r\nCoordSys Earth Projection 8, 1001\r\nData\r\n\r\nPoint 2500500 1500100\r\n");
  Dir.Put(L"tabPnt.mid", "9\r\n");
  EXPECT_TRUE(RasterTargetPassMif(Temp, tcMsk89Plan, T));
  EXPECT_EQ(Dir.Get(L"tabOut.mif"), "Version 300\r\n" + std::string(NonEarthMifClause) +
                                        "\r\nData\r\n\r\nPoint 2500500 1500100\r\n");
  EXPECT_TRUE(RasterTargetPassMif(Temp, tcOldConditional, T));
  EXPECT_EQ(Dir.Get(L"tabOut.mif"), "Version 300\r\n" + std::string(NonEarthSignedMifClause) +
                                        "\r\nData\r\nPoint 2500 1100\r\n");
  EXPECT_EQ(Dir.Get(L"tabOut.mid"), "9\r\n");
  EXPECT_FALSE(RasterTargetPassMif(Temp, tcMsk89Geo, T));

  DeleteFileW((Temp + L"tab1.mif").c_str());
  DeleteFileW((Temp + L"tabPnt.mif").c_str());
  EXPECT_FALSE(RasterFirstPassMif(Temp, icLocal, P, T));
  EXPECT_FALSE(RasterTargetPassMif(Temp, tcOldConditional, T));
}

// A GIS session that keeps its tables in memory and writes and reads the
// MIF work files as MapInfo would; its "reprojection" into the MSK-89 zone is
// a plain shift, so that the expected points are easy to state.
class TScriptedGis : public TGisSession {
 public:
  struct TRow {
    Double x, y;
    Integer ind;
  };
  static TRow Reproject(TRow R) { return {R.x + 1000.5, R.y - 250.25, R.ind}; }

  void miDo(const String& C) override {
    Log.push_back(C);
    if (Starts(C, L"O1=CreatePoint(")) {
      size_t Comma = C.find(L',');
      Pending = {Num(C.substr(15, Comma - 15)), Num(C.substr(Comma + 1, C.size() - Comma - 2)), 0};
    } else if (Starts(C, L"Insert Into tab1")) {
      Pending.ind = std::stoi(C.substr(C.rfind(L',') + 1));
      Tab1.push_back(Pending);
    } else if (Starts(C, L"Export tab1 Into ")) {
      if (ExportTab1) WriteMif(Path(C), Tab1);
    } else if (Starts(C, L"Commit Table tab1 As ")) {
      Pnt = Reprojected(Tab1);
    } else if (Starts(C, L"Import ")) {
      TabOut = ReadMif(Path(C));
    } else if (Starts(C, L"Commit Table tabOut As ")) {
      Tab63 = TabOut;
    } else if (Starts(C, L"Commit Table tab63 As ")) {
      Pnt = Reprojected(Tab63);
    } else if (Starts(C, L"Export tabPnt Into ")) {
      WriteMif(Path(C), Pnt);
    } else if (Starts(C, L"Commit Table tabPnt As ")) {
      TabOut = Pnt;
    } else if (Starts(C, L"Fetch Rec ")) {
      Current = std::stoi(C.substr(10)) - 1;
    }
  }
  String miEval(const String& E) override {
    ADD_FAILURE() << "the raster road evaluates no text";
    return String();
  }
  Integer miEvalInt(const String& E) override {
    EXPECT_EQ(E, L"R1");
    return TabOut.at(Current).ind;
  }
  Double miEvalDbl(const String& E) override {
    return E == L"ObjectGeography(O1,1)" ? TabOut.at(Current).x : TabOut.at(Current).y;
  }
  void miCloseTable(const String& A) override { Log.push_back(L"close " + A); }

  std::vector<String> Log;
  bool ExportTab1 = true;

 private:
  static bool Starts(const String& S, const wchar_t* P) { return S.rfind(P, 0) == 0; }
  static Double Num(const String& S) { return MifStrToFloat(StringToAnsi(S)); }
  static String Path(const String& C) {
    size_t A = C.find(L'"');
    return C.substr(A + 1, C.find(L'"', A + 1) - A - 1);
  }
  static std::vector<TRow> Reprojected(const std::vector<TRow>& R) {
    std::vector<TRow> Out;
    for (const TRow& X : R) Out.push_back(Reproject(X));
    return Out;
  }
  static void WriteMif(const String& APath, const std::vector<TRow>& ARows) {
    TMifWriter Mif(APath), Mid(ChangeFileExt(APath, L".mid"));
    Mif.Write(
        "Version 300\r\nCoordSys Earth Projection 8, 1001\r\nColumns 1\r\n  ind Integer\r\n"
        "Data\r\n\r\n");
    for (const TRow& R : ARows) {
      Mif.Write("Point " + MifFloatToStr(R.x) + " " + MifFloatToStr(R.y) + "\r\n");
      Mif.Write("    Symbol (35,0,12)\r\n");
      Mid.Write(std::to_string(R.ind) + "\r\n");
    }
    Mif.Commit();
    Mid.Commit();
  }
  static std::vector<TRow> ReadMif(const String& APath) {
    std::vector<TRow> Rows;
    TMifReader Mif(APath), Mid(ChangeFileExt(APath, L".mid"));
    std::string_view L, I;
    while (Mif.ReadLine(L)) {
      if (L.rfind("Point ", 0) != 0) continue;
      L.remove_prefix(6);
      size_t B = L.find(' ');
      EXPECT_TRUE(Mid.ReadLine(I));
      Rows.push_back({MifStrToFloat(L.substr(0, B)), MifStrToFloat(L.substr(B + 1)),
                      std::stoi(std::string(I))});
    }
    return Rows;
  }

  std::vector<TRow> Tab1, Tab63, TabOut, Pnt;
  TRow Pending{};
  Integer Current = 0;
};

class RasterRoad : public testing::Test {
 protected:
  void SetUp() override {
    Dir.Folder(L"Вход");
    Dir.Folder(L"Работа");
    Run.InDir = Dir.Path() + L"Вход\\";
    Run.OutDir = Dir.Path() + L"Выход\\";
    Run.TempPath = Dir.Path() + L"Работа\\";
    Run.Params.xold = 1000;
    Run.Params.yold = 2000;
    Run.Params.xnew = 1500000;
    Run.Params.ynew = 2500000;
    Run.Params.msk89 = L"8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63";
    Run.Params.sk63 = L"8, 1001, \"m\", 66.95, 0, 1, 4300000, -9214.69";
    Run.Formation = L"Салехард";
  }
  // A raster with two control points and a line of text between them.
  void PutRaster(const std::string& AClause, TScriptedGis::TRow A, TScriptedGis::TRow B) {
    Dir.Put(L"Вход\\Снимки\\план.tab",
            "!table\r\nDefinition Table\r\n  File \"s.tif\"\r\n  Type \"RASTER\"\r\n  (" +
                MifFloatToStr(A.x) + "," + MifFloatToStr(A.y) + ") (0,0) Label \"Pt 1\",\r\n" +
                "  (1,1) (2,2) Label \"corner\",\r\n  (" + MifFloatToStr(B.x) + "," +
                MifFloatToStr(B.y) + ") (9,9) Label \"Pt 2\"\r\n  " + AClause + "\r\n");
    Dir.Put(L"Вход\\Снимки\\s.tif", "image");
  }
  // The two control points of the new table.
  std::vector<TScriptedGis::TRow> Result() {
    TRasterTab T = ReadRasterTab(Dir.Path() + L"Выход\\Снимки\\план.tab");
    std::vector<TScriptedGis::TRow> R;
    for (const TPnt& P : T.Points) R.push_back({P.x, P.y, P.ind});
    return R;
  }
  String TabPath() const { return Dir.Path() + L"Вход\\Снимки\\план.tab"; }

  TTempFolder Dir{L"дорога"};
  TRasterRun Run;
};

TEST_F(RasterRoad, ReprojectedClassesThroughTheGisPerTarget) {
  using R = TScriptedGis::TRow;
  // Inverse of the formation (angle 0, scale 1): a shift back.
  auto Old = [&](R P) { return R{P.x - 2500000 + 2000, P.y - 1500000 + 1000, P.ind}; };
  auto Shift = [](R P) { return R{P.x + 4000000, P.y + 7000000, P.ind}; };
  auto Same = [](R P) { return P; };
  struct TCase {
    const char* Name;
    std::string Clause;
    R A, B;
    Integer InCs;
    std::function<R(R)> First;
  } Cases[] = {
      {"class 2",
       "CoordSys NonEarth Units \"m\"",
       {500000.5, 1200000.25, 4},
       {510000, 1190000, 6},
       icShift,
       Shift},
      {"class 4",
       "CoordSys NonEarth Units \"m\" Bounds (0,0) (1E8,1E8)",
       {4500000, 7200000, 4},
       {4510000, 7190000.75, 6},
       icSk63,
       Same},
      {"class 103",
       "CoordSys Earth Projection 8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63",
       {2500000, 1500000, 4},
       {2510000.5, 1490000, 6},
       icEarth5811057,
       Same},
      {"class 0, long/lat",
       "CoordSys Earth Projection 1, 104",
       {66.6, 66.53, 4},
       {66.60123456789, 66.5, 6},
       icNone,
       Same},
  };
  for (const TCase& C : Cases) {
    for (Integer Target : {tcMsk89Plan, tcMsk89Geo, tcOldConditional}) {
      SCOPED_TRACE(std::string(C.Name) + " target " + std::to_string(Target));
      PutRaster(C.Clause, C.A, C.B);
      ASSERT_EQ(RasterInputClass(ReadRasterTab(TabPath())), C.InCs);
      Run.OutCs = Target;
      TScriptedGis Gis;
      String Log;
      ASSERT_TRUE(MakeRasterTable(TabPath(), Run, Gis, Log));
      EXPECT_EQ(Log, L"");
      std::vector<R> Got = Result();
      ASSERT_EQ(Got.size(), 2u);
      R In[] = {C.A, C.B};
      for (int I = 0; I < 2; ++I) {
        R Want = TScriptedGis::Reproject(C.First(In[I]));
        if (Target == tcOldConditional) Want = Old(Want);
        EXPECT_NEAR(Got[I].x, Want.x, 1e-6);
        EXPECT_NEAR(Got[I].y, Want.y, 1e-6);
        EXPECT_EQ(Got[I].ind, In[I].ind);
      }
      std::string Text = Dir.Get(L"Выход\\Снимки\\план.tab");
      EXPECT_NE(Text.find(RasterTargetCoordSys(Target, Run.Params.msk89) + "\r\n"), Text.npos);
      EXPECT_NE(Text.find("  (1,1) (2,2) Label \"corner\",\r\n"), Text.npos);
      EXPECT_EQ(Dir.Get(L"Выход\\Снимки\\s.tif"), "image");
      // The SK-63 classes reach MSK-89 through tab63.
      const String Tab63 = L"Commit Table tab63 As \"" + Run.TempPath + L"tabPnt\" CoordSys " +
                           L"Earth Projection " + Run.Params.msk89;
      bool Through63 = std::find(Gis.Log.begin(), Gis.Log.end(), Tab63) != Gis.Log.end();
      EXPECT_EQ(Through63, C.InCs == icShift || C.InCs == icSk63);
    }
  }
}

TEST_F(RasterRoad, PlaneClassesNeedNoGis) {
  using R = TScriptedGis::TRow;
  PutRaster("CoordSys NonEarth Units \"m\"", {2500, 1100, 4}, {2600, 1200.5, 6});
  Run.OutCs = tcMsk89Geo;
  TScriptedGis Gis;
  String Log;
  ASSERT_TRUE(MakeRasterTable(TabPath(), Run, Gis, Log));
  EXPECT_TRUE(Gis.Log.empty());
  std::vector<R> Got = Result();
  ASSERT_EQ(Got.size(), 2u);
  EXPECT_EQ(Got[0].x, 2500500);
  EXPECT_EQ(Got[0].y, 1500100);
  EXPECT_EQ(Got[1].x, 2500600);
  EXPECT_EQ(Got[1].y, 1500200.5);
}

TEST_F(RasterRoad, FailuresLeaveNoTableLookingComplete) {
  PutRaster("CoordSys NonEarth Units \"m\"", {500000, 1200000, 4}, {510000, 1190000, 6});
  TScriptedGis Gis;
  Gis.ExportTab1 = false;
  String Log;
  try {
    MakeRasterTable(TabPath(), Run, Gis, Log);
    FAIL() << "accepted";
  } catch (ERasterError& E) {
    EXPECT_NE(E.Message().find(TabPath()), String::npos) << E.Message();
  }
  EXPECT_FALSE(Dir.Exists(L"Выход\\Снимки\\план.tab"));

  // A formation with scale 0 is refused before anything happens.
  Run.Params.scale = 0;
  TScriptedGis Untouched;
  EXPECT_THROW(MakeRasterTable(TabPath(), Run, Untouched, Log), EFormationError);
  EXPECT_TRUE(Untouched.Log.empty());
  Run.Params.scale = 1;

  // An output folder that cannot be created: the log line, no output.
  Dir.Put(L"файл", "not a folder");
  Run.OutDir = Dir.Path() + L"файл\\";
  ASSERT_FALSE(MakeRasterTable(TabPath(), Run, Untouched, Log));
  EXPECT_EQ(Log, L"Не удалось создать папку (" + Dir.Path() + L"файл\\Снимки\\).");
  EXPECT_TRUE(Untouched.Log.empty());

  // An output folder inside the input is refused before it is created.
  Run.OutDir = Run.InDir + L"Выход\\";
  EXPECT_THROW(MakeRasterTable(TabPath(), Run, Untouched, Log), ERasterError);
  EXPECT_FALSE(Dir.Exists(L"Вход\\Выход"));
}

}  // namespace
