#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
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

  // "Точка " names a control point in the table's code page, whatever the
  // system's.
  struct TWant {
    Integer Line;
    Double East, North;
  } Want[] = {{7, 7400000, 6190000}, {8, 12.5, -3.25}, {9, 7410000, 6180000}};
  ASSERT_EQ(T.CodePage, 1251u);
  ASSERT_EQ(T.Points.size(), 3u);
  for (size_t I = 0; I < 3; ++I) {
    EXPECT_EQ(T.Points[I].ind, Want[I].Line);
    EXPECT_EQ(T.Points[I].x, Want[I].East);
    EXPECT_EQ(T.Points[I].y, Want[I].North);
  }
  EXPECT_EQ(T.MaxX, 7410000);
  EXPECT_EQ(T.MaxY, 6190000);
  EXPECT_EQ(RasterInputClass(T), icSk63);
}

// The same bytes mean "Точка" only in a table written in Cyrillic; a table
// that names no charset is read in the system's code page.
TEST_F(RasterTable, ControlPointWordsInTheTablesCharset) {
  const std::string TochkaUtf8 = "\xD0\xA2\xD0\xBE\xD1\x87\xD0\xBA\xD0\xB0 3";
  struct TCase {
    const char* Name;
    std::string Charset;  // the !charset line, or none
    std::string Label;
    size_t Points;
  } Cases[] = {
      {"Cyrillic", "!charset WindowsCyrillic\r\n", Tochka, 2},
      {"UTF-8", "!charset UTF-8\r\n", TochkaUtf8, 2},
      {"the same bytes in Latin 1", "!charset WindowsLatin1\r\n", Tochka, 1},
      {"no charset", "", Tochka, GetACP() == 1251 ? 2u : 1u},
  };
  for (const TCase& C : Cases) {
    Dir.Put(L"cs.tab", "!table\r\n" + C.Charset +
                           "Definition Table\r\n  File \"a.tif\"\r\n  Type \"RASTER\"\r\n"
                           "  (1,2) (0,0) Label \"Pt 1\",\r\n  (3,4) (1,1) Label \"" +
                           C.Label + "\"\r\n  CoordSys NonEarth Units \"m\"\r\n");
    TRasterTab T = ReadRasterTab(Dir.Path() + L"cs.tab");
    EXPECT_EQ(T.Points.size(), C.Points) << C.Name;
  }
}

// A Cyrillic image name of a Cyrillic table is found and copied on any
// system, and the new table is written back byte for byte.
TEST_F(RasterTable, CyrillicImageNameOnAnySystem) {
  const std::string Name1251 = "\xF1\xED\xE8\xEC\xEE\xEA.tif";  // "снимок.tif"
  const std::string Text = "!table\r\n!charset WindowsCyrillic\r\nDefinition Table\r\n  File \"" +
                           Name1251 + "\"\r\n  Type \"RASTER\"\r\n  (1,2) (0,0) Label \"" + Tochka +
                           "\"\r\n  CoordSys NonEarth Units \"m\"\r\n";
  Dir.Put(L"Вход\\Снимки\\кир.tab", Text);
  Dir.Put(L"Вход\\Снимки\\снимок.tif", "кадр");
  TRasterTab T = ReadRasterTab(In() + L"Снимки\\кир.tab");
  ASSERT_EQ(T.Points.size(), 1u);
  WriteRasterTable(T, In(), Out(), L"CoordSys NonEarth Units \"m\"");
  EXPECT_EQ(Dir.Get(L"Выход\\Снимки\\снимок.tif"), "кадр");
  // Byte for byte but the clause, which the new system's line replaces.
  std::string Want = Text;
  Want.replace(Want.find("  CoordSys"), 2, "");
  EXPECT_EQ(Dir.Get(L"Выход\\Снимки\\кир.tab"), Want);
  // A clause the table's code page cannot spell is refused, not garbled.
  EXPECT_THROW(WriteRasterTable(T, In(), Out(), L"CoordSys Earth Projection 8, 1001, \"Ω\""),
               ERasterError);
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
  Comma.reset();
  GetFormatSettings();
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
    String Line =
        RasterTargetCoordSys(C.Target, L"8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63");
    EXPECT_EQ(StringToAnsi(Line), C.Clause);
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
  EXPECT_EQ(RasterTabText(T, L"CoordSys NonEarth Units \"m\""),
            "CoordSys NonEarth Units \"m\"\r\n  Units \"m\"\r\n  (1,2) Label \"Units 1\"\r\n");
}

TEST_F(RasterTable, MissingImageOrTargetInsideTheInputWritesNothing) {
  TRasterTab T = ReadRasterTab(TabPath());
  String Line = RasterTargetCoordSys(tcMsk89Plan, L"");
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
    WriteRasterTable(T, Dir.Path() + L"in\\", Dir.Path() + L"out\\s\\", L"CoordSys NonEarth");
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
// a plain shift, so that the expected points are easy to state. Like the GIS
// program it refuses an alias that is already open, a table that is not
// open, and a commit over the files of a table still open.
class TScriptedGis : public TGisSession {
 public:
  struct TRow {
    Double x, y;
    Integer ind;
  };
  static TRow Reproject(TRow R) { return {R.x + 1000.5, R.y - 250.25, R.ind}; }

  void miDo(const String& C) override {
    Log.push_back(C);
    if (Starts(C, L"Create Table ")) {
      String Alias = C.substr(13, C.find(L'(') - 13);
      Opening(Alias);
      Open[Alias] = {TableFile(Path(C)), {}};
    } else if (Starts(C, L"O1=CreatePoint(")) {
      size_t Comma = C.find(L',');
      Pending = {Num(C.substr(15, Comma - 15)), Num(C.substr(Comma + 1, C.size() - Comma - 2)), 0};
    } else if (Starts(C, L"Insert Into tab1")) {
      Pending.ind = std::stoi(C.substr(C.rfind(L',') + 1));
      Table(L"tab1").Rows.push_back(Pending);
    } else if (Starts(C, L"Commit Table ") && C.find(L" As ") == String::npos) {
      TOpen& T = Table(C.substr(13));
      Files[T.File] = T.Rows;
    } else if (Starts(C, L"Export ")) {
      String Alias = C.substr(7, C.find(L' ', 7) - 7);
      const TOpen& T = Table(Alias);
      if (Alias != L"tab1" || ExportTab1) WriteMif(Path(C), T.Rows);
    } else if (Starts(C, L"Import ")) {
      String Into = Path(C.substr(C.find(L"Into ")));
      String Target = TableFile(Into);
      String Alias = ChangeFileExt(ExtractFileName(Into), L"");
      Opening(Alias);
      Open[Alias] = {Target, ReadMif(Path(C))};
      Files[Target] = Open[Alias].Rows;
    } else if (Starts(C, L"Commit Table ")) {
      String Alias = C.substr(13, C.find(L' ', 13) - 13);
      std::vector<TRow> Rows = Table(Alias).Rows;
      String Target = TableFile(Path(C));
      for (const auto& [A, T] : Open)
        if (SameText(T.File, Target))
          throw Exception(L"Cannot create file " + Target + L": table " + A + L" is open.");
      if (C.find(L" CoordSys ") != String::npos)
        for (TRow& R : Rows) R = Reproject(R);
      Files[Target] = Rows;
    } else if (Starts(C, L"Open Table ")) {
      String Alias = C.substr(C.rfind(L' ') + 1);
      Opening(Alias);
      String File = TableFile(Path(C));
      if (!Files.count(File)) throw Exception(L"File " + File + L" not found.");
      Open[Alias] = {File, Files[File]};
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
    return Table(L"tabOut").Rows.at(Current).ind;
  }
  Double miEvalDbl(const String& E) override {
    const TRow& R = Table(L"tabOut").Rows.at(Current);
    return E == L"ObjectGeography(O1,1)" ? R.x : R.y;
  }
  void miCloseTable(const String& A) override {
    Log.push_back(L"close " + A);
    Open.erase(A);
  }

  std::vector<String> Log;
  bool ExportTab1 = true;

 private:
  struct TOpen {
    String File;
    std::vector<TRow> Rows;
  };
  void Opening(const String& AAlias) {
    if (Open.count(AAlias)) throw Exception(L"Table " + AAlias + L" is already open.");
  }
  TOpen& Table(const String& AAlias) {
    auto It = Open.find(AAlias);
    if (It == Open.end()) throw Exception(L"Table " + AAlias + L" is not open.");
    return It->second;
  }
  static bool Starts(const String& S, const wchar_t* P) { return S.rfind(P, 0) == 0; }
  static Double Num(const String& S) { return MifStrToFloat(StringToAnsi(S)); }
  static String Path(const String& C) {
    size_t A = C.find(L'"');
    return C.substr(A + 1, C.find(L'"', A + 1) - A - 1);
  }
  static String TableFile(const String& AText) {
    String P = AText.find(L'"') == String::npos ? AText : Path(AText);
    return AnsiUpperCase(ExtractFileExt(P).empty() ? P + L".tab" : P);
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

  std::map<String, TOpen> Open;
  std::map<String, std::vector<TRow>> Files;
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
  void PutRaster(const std::string& AClause, TScriptedGis::TRow A, TScriptedGis::TRow B,
                 const String& AName = L"план") {
    Dir.Put(L"Вход\\Снимки\\" + AName + L".tab",
            "!table\r\nDefinition Table\r\n  File \"s.tif\"\r\n  Type \"RASTER\"\r\n  (" +
                MifFloatToStr(A.x) + "," + MifFloatToStr(A.y) + ") (0,0) Label \"Pt 1\",\r\n" +
                "  (1,1) (2,2) Label \"corner\",\r\n  (" + MifFloatToStr(B.x) + "," +
                MifFloatToStr(B.y) + ") (9,9) Label \"Pt 2\"\r\n  " + AClause + "\r\n");
    Dir.Put(L"Вход\\Снимки\\s.tif", "image");
  }
  // The two control points of the new table.
  std::vector<TScriptedGis::TRow> Result(const String& AName = L"план") {
    TRasterTab T = ReadRasterTab(Dir.Path() + L"Выход\\Снимки\\" + AName + L".tab");
    std::vector<TScriptedGis::TRow> R;
    for (const TPnt& P : T.Points) R.push_back({P.x, P.y, P.ind});
    return R;
  }
  // MakeRasterTable with a failure shown by its message.
  bool Made(const String& APath, TGisSession& AGis, String& ALog) {
    try {
      return MakeRasterTable(APath, Run, AGis, ALog);
    } catch (Exception& E) {
      ADD_FAILURE() << E.Message();
      return false;
    }
  }
  String TabPath(const String& AName = L"план") const {
    return Dir.Path() + L"Вход\\Снимки\\" + AName + L".tab";
  }

  TTempFolder Dir{L"дорога"};
  TRasterRun Run;
};

using TRow = TScriptedGis::TRow;

// One raster of each input class: its clause, two control points, and
// where the first pass puts a point before the GIS program's commit.
struct TRasterClass {
  const char* Name;
  std::string Clause;
  TRow A, B;
  Integer InCs;
  std::function<TRow(TRow)> First;
  bool Reprojected;  // committed into MSK-89 with a change of projection
};

// The formation of RasterRoad: angle 0, scale 1, a shift.
TRow Forward(TRow P) { return {P.x - 2000 + 2500000, P.y - 1000 + 1500000, P.ind}; }
TRow Inverse(TRow P) { return {P.x - 2500000 + 2000, P.y - 1500000 + 1000, P.ind}; }

const std::vector<TRasterClass>& RasterClasses() {
  static const std::vector<TRasterClass> Classes = {
      {"class 1",
       "CoordSys NonEarth Units \"m\"",
       {2500, 1100, 4},
       {2600, 1200.5, 6},
       icLocal,
       Forward,
       false},
      {"class 2",
       "CoordSys NonEarth Units \"m\"",
       {500000.5, 1200000.25, 4},
       {510000, 1190000, 6},
       icShift,
       [](TRow P) {
         return TRow{P.x + 4000000, P.y + 7000000, P.ind};
       },
       true},
      {"class 3",
       "CoordSys NonEarth Units \"m\" Bounds (0,0) (1E7,1E7)",
       {2500500.25, 1500100.5, 4},
       {2510000, 1490000, 6},
       icMsk89,
       [](TRow P) { return P; },
       false},
      {"class 4",
       "CoordSys NonEarth Units \"m\" Bounds (0,0) (1E8,1E8)",
       {4500000, 7200000, 4},
       {4510000, 7190000.75, 6},
       icSk63,
       [](TRow P) { return P; },
       true},
      {"class 103",
       "CoordSys Earth Projection 8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63",
       {2500000, 1500000, 4},
       {2510000.5, 1490000, 6},
       icEarth5811057,
       [](TRow P) { return P; },
       true},
      {"class 0, long/lat",
       "CoordSys Earth Projection 1, 104",
       {66.6, 66.53, 4},
       {66.60123456789, 66.5, 6},
       icNone,
       [](TRow P) { return P; },
       true},
  };
  return Classes;
}

// Where a control point of the class must land for the target.
TRow Expected(const TRasterClass& C, TRow P, Integer ATarget) {
  TRow W = C.First(P);
  if (C.Reprojected) W = TScriptedGis::Reproject(W);
  return ATarget == tcOldConditional ? Inverse(W) : W;
}

TEST_F(RasterRoad, EveryClassThroughThePointTablePerTarget) {
  for (const TRasterClass& C : RasterClasses()) {
    for (Integer Target : {tcMsk89Plan, tcMsk89Geo, tcOldConditional}) {
      SCOPED_TRACE(std::string(C.Name) + " target " + std::to_string(Target));
      PutRaster(C.Clause, C.A, C.B);
      ASSERT_EQ(RasterInputClass(ReadRasterTab(TabPath())), C.InCs);
      Run.OutCs = Target;
      TScriptedGis Gis;
      String Log;
      ASSERT_TRUE(Made(TabPath(), Gis, Log));
      EXPECT_EQ(Log, L"");
      std::vector<TRow> Got = Result();
      ASSERT_EQ(Got.size(), 2u);
      TRow In[] = {C.A, C.B};
      for (int I = 0; I < 2; ++I) {
        TRow Want = Expected(C, In[I], Target);
        EXPECT_NEAR(Got[I].x, Want.x, 1e-6);
        EXPECT_NEAR(Got[I].y, Want.y, 1e-6);
        EXPECT_EQ(Got[I].ind, In[I].ind);
      }
      std::string Text = Dir.Get(L"Выход\\Снимки\\план.tab");
      EXPECT_NE(Text.find(StringToAnsi(RasterTargetCoordSys(Target, Run.Params.msk89)) + "\r\n"),
                Text.npos);
      EXPECT_NE(Text.find("  (1,1) (2,2) Label \"corner\",\r\n"), Text.npos);
      EXPECT_EQ(Dir.Get(L"Выход\\Снимки\\s.tif"), "image");
      // The points go through the point table tabPnt in every class; the
      // SK-63 classes reach MSK-89 through tab63.
      const String Tab63 = L"Commit Table tab63 As \"" + Run.TempPath + L"tabPnt\" CoordSys " +
                           L"Earth Projection " + Run.Params.msk89;
      bool Through63 = std::find(Gis.Log.begin(), Gis.Log.end(), Tab63) != Gis.Log.end();
      EXPECT_EQ(Through63, C.InCs == icShift || C.InCs == icSk63);
      const String Export =
          L"Export tabPnt Into \"" + Run.TempPath + L"tabPnt.mif\" Type \"MIF\" " + L"OverWrite";
      EXPECT_NE(std::find(Gis.Log.begin(), Gis.Log.end(), Export), Gis.Log.end());
    }
  }
}

// Class indices in an order that holds every ordered pair of classes once
// (a de Bruijn sequence of order 2, its first element repeated at its end).
std::vector<size_t> EveryPairInOneSequence(size_t ACount) {
  std::vector<size_t> A(2 * ACount + 1, 0), Seq;
  std::function<void(size_t, size_t)> Db = [&](size_t T, size_t P) {
    if (T > 2) {
      if (2 % P == 0)
        for (size_t J = 1; J <= P; ++J) Seq.push_back(A[J]);
      return;
    }
    A[T] = A[T - P];
    Db(T + 1, P);
    for (size_t J = A[T - P] + 1; J < ACount; ++J) {
      A[T] = J;
      Db(T + 1, T);
    }
  };
  Db(1, 1);
  Seq.push_back(Seq.front());
  return Seq;
}

// Rasters one after another in one session: each closes the work tables the
// one before left open, and each gets its own points. For the target that
// leaves tabOut open, every class follows every class; for the others every
// class follows another and one comes a third time.
TEST_F(RasterRoad, SeveralRastersOfEveryClassInOneSession) {
  const std::vector<TRasterClass>& Classes = RasterClasses();
  std::vector<size_t> EveryPair = EveryPairInOneSequence(Classes.size());
  ASSERT_EQ(EveryPair.size(), Classes.size() * Classes.size() + 1);
  std::vector<size_t> EachOnce;
  for (size_t I = 0; I < Classes.size(); ++I) EachOnce.push_back(I);
  EachOnce.push_back(0);
  for (Integer Target : {tcMsk89Plan, tcMsk89Geo, tcOldConditional}) {
    Run.OutCs = Target;
    const std::vector<size_t>& Order = Target == tcMsk89Geo ? EveryPair : EachOnce;
    TScriptedGis Gis;
    for (size_t K = 0; K < Order.size(); ++K) {
      const TRasterClass& C = Classes[Order[K]];
      SCOPED_TRACE(std::string(C.Name) + " as raster " + std::to_string(K + 1) + ", after " +
                   (K ? Classes[Order[K - 1]].Name : "none") + "; target " +
                   std::to_string(Target));
      String Name = L"r" + IntToStr(static_cast<Integer>(K));
      PutRaster(C.Clause, C.A, C.B, Name);
      String Log;
      ASSERT_TRUE(Made(TabPath(Name), Gis, Log));
      std::vector<TRow> Got = Result(Name);
      ASSERT_EQ(Got.size(), 2u);
      TRow In[] = {C.A, C.B};
      for (int I = 0; I < 2; ++I) {
        TRow Want = Expected(C, In[I], Target);
        EXPECT_NEAR(Got[I].x, Want.x, 1e-6);
        EXPECT_NEAR(Got[I].y, Want.y, 1e-6);
      }
    }
  }
}

// A non-Earth raster whose extent fits no input class is named, not handed
// to the GIS program to fail in words of its own.
TEST_F(RasterRoad, NonEarthRasterOfNoClassIsNamed) {
  PutRaster("CoordSys NonEarth Units \"m\"", {400000, 1000, 4}, {300000, 2000, 6});
  TScriptedGis Gis;
  String Log;
  try {
    MakeRasterTable(TabPath(), Run, Gis, Log);
    FAIL() << "accepted";
  } catch (ERasterError& E) {
    EXPECT_NE(E.Message().find(TabPath()), String::npos) << E.Message();
    EXPECT_NE(E.Message().find(L"не подходит ни к одному входному классу"), String::npos)
        << E.Message();
  }
  EXPECT_TRUE(Gis.Log.empty());
  EXPECT_FALSE(Dir.Exists(L"Выход\\Снимки\\план.tab"));
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
