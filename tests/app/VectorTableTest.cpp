#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>

#include "CommaLocale.h"
#include "Pelmora.h"
#include "TempFolder.h"

namespace {

std::string ReadAll(const String& APath) {
  std::string S;
  HANDLE H =
      CreateFileW(APath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (H == INVALID_HANDLE_VALUE) throw Exception(L"Файл не найден: " + APath);
  char Buf[65536];
  DWORD Got = 0;
  while (ReadFile(H, Buf, sizeof(Buf), &Got, nullptr) && Got) S.append(Buf, Got);
  CloseHandle(H);
  return S;
}

void WriteAll(const String& APath, const std::string& AText) {
  TMifWriter W(APath);
  W.Write(AText);
  W.Commit();
}

bool Starts(const String& S, const String& P) { return S.rfind(P, 0) == 0; }

// The first quoted text of a statement.
String QuotedArg(const String& C) {
  size_t A = C.find(L'"');
  return C.substr(A + 1, C.find(L'"', A + 1) - A - 1);
}

// A table as the fake GIS program holds it: MIF text and its attributes.
struct TFakeTable {
  std::string Mif;
  std::string Mid;
  // Holds a row whose object cannot be read: the GIS program refuses to
  // write such a table.
  bool Damaged = false;
};

// What the fake instances share: the source table (rows 1..Rows, row r a
// point at east 3000 + r, north 1000 + r), the rows whose export fails, and
// the statements of every instance in order.
struct TFakeGisWorld {
  String Source;
  std::set<String> Sources;  // more tables that read like the source
  Integer Rows = 10;
  std::set<Integer> BadRows;
  bool FailEveryExport = false;
  bool ExportWritesNothing = false;
  // Every export of the source table gets this data section instead.
  std::string ExportData;
  String FailOn;         // a statement beginning with this text fails
  Integer FailSkip = 0;  // after this many such statements have passed
  String Clause = L"CoordSys NonEarth Units \"m\" Bounds (0,0) (10000000,10000000)";
  Double Bounds[4] = {3001, 3010, 1001, 1010};  // minx, maxx, miny, maxy
  Integer Started = 0;
  Integer Ended = 0;
  std::vector<String> Log;

  TFakeTable Generate(const std::set<Integer>& ARows) const {
    TFakeTable T;
    for (Integer R : ARows) T.Damaged = T.Damaged || BadRows.count(R) > 0;
    T.Mif = "Version 300\r\nCharset \"WindowsCyrillic\"\r\nDelimiter \",\"\r\n" +
            StringToAnsi(Clause) + "\r\nColumns 1\r\n  id Integer\r\nData\r\n\r\n";
    if (!ExportData.empty()) {
      T.Mif += ExportData;
      T.Mid = "1\r\n";
      return T;
    }
    for (Integer R : ARows) {
      T.Mif += "Point " + std::to_string(3000 + R) + " " + std::to_string(1000 + R) +
               "\r\n    Symbol (35,0,12)\r\n";
      T.Mid += std::to_string(R) + "\r\n";
    }
    return T;
  }
  std::set<Integer> AllRows() const {
    std::set<Integer> S;
    for (Integer R = 1; R <= Rows; ++R) S.insert(R);
    return S;
  }
};

// Rows named by a condition of ">=a ... <=b" pairs.
std::set<Integer> RowsOf(const String& ACond, Integer ARows) {
  std::set<Integer> S;
  for (size_t P = ACond.find(L">="); P != String::npos; P = ACond.find(L">=", P + 2)) {
    Integer A = std::stoi(ACond.substr(P + 2));
    Integer B = std::stoi(ACond.substr(ACond.find(L"<=", P) + 2));
    for (Integer R = std::max(A, 1); R <= std::min(B, ARows); ++R) S.insert(R);
  }
  return S;
}

class TFakeSession : public TGisSession {
 public:
  explicit TFakeSession(TFakeGisWorld& AWorld) : W(AWorld) {
    ++W.Started;
    W.Log.push_back(L"-- start");
  }
  ~TFakeSession() override {
    ++W.Ended;
    W.Log.push_back(L"End MapInfo");
  }

  void miDo(const String& C) override {
    W.Log.push_back(C);
    if (!W.FailOn.empty() && Starts(C, W.FailOn) && W.FailSkip-- <= 0)
      throw Exception(L"отказ MapInfo");
    if (Starts(C, L"Open Table ")) {
      String P = QuotedArg(C);
      String Alias = C.substr(C.rfind(L' ') + 1);
      Tables[Alias] = P == W.Source || W.Sources.count(P) ? W.Generate(W.AllRows()) : ReadTable(P);
    } else if (Starts(C, L"Select * From tab1 Where ")) {
      Selected = RowsOf(C, W.Rows);
      Tables[L"tab2"] = W.Generate(Selected);
    } else if (Starts(C, L"Export ")) {
      String Alias = C.substr(7, C.find(L' ', 7) - 7);
      if (Alias == L"tab2") {
        for (Integer R : Selected)
          if (W.BadRows.count(R)) throw Exception(L"объект " + IntToStr(R) + L" не читается");
        if (W.FailEveryExport) throw Exception(L"не читается");
      }
      if (W.ExportWritesNothing) return;
      const TFakeTable& T = Tables.at(Alias);
      WriteAll(QuotedArg(C), T.Mif);
      WriteAll(ChangeFileExt(QuotedArg(C), L".mid"), T.Mid);
    } else if (Starts(C, L"Import ")) {
      String P = QuotedArg(C);
      Tables[L"tabOut"] = {ReadAll(P), ReadAll(ChangeFileExt(P, L".mid"))};
    } else if (Starts(C, L"Commit Table ")) {
      String Alias = C.substr(13, C.find(L' ', 13) - 13);
      TFakeTable T = Tables.at(Alias);
      if (T.Damaged) throw Exception(L"объект таблицы " + Alias + L" не читается");
      size_t Cs = C.find(L" CoordSys ");
      if (Cs != String::npos) {
        // Pretends to reproject: only the clause changes.
        size_t B = T.Mif.find("CoordSys"), E = T.Mif.find("\r\n", B);
        T.Mif.replace(B, E - B, StringToAnsi(C.substr(Cs + 1)));
      }
      String P = QuotedArg(C);
      if (ExtractFileExt(P).empty()) P += L".TAB";
      WriteAll(P, T.Mif);
      WriteAll(ChangeFileExt(P, L".dat"), T.Mid);
    }
  }
  String miEval(const String& E) override {
    EXPECT_EQ(E, L"TableInfo(tab1,29)");
    return W.Clause;
  }
  Integer miEvalInt(const String& E) override {
    EXPECT_EQ(E, L"TableInfo(tab1,8)");
    return W.Rows;
  }
  Double miEvalDbl(const String& E) override {
    const wchar_t* Codes[] = {L"TableInfo(tab1,20)", L"TableInfo(tab1,22)", L"TableInfo(tab1,21)",
                              L"TableInfo(tab1,23)"};
    for (int I = 0; I < 4; ++I)
      if (E == Codes[I]) return W.Bounds[I];
    ADD_FAILURE() << "unexpected expression";
    return 0;
  }
  void miCloseTable(const String& A) override {
    W.Log.push_back(L"Close Table " + A);
    Tables.erase(A);
  }

 private:
  static TFakeTable ReadTable(String P) {
    if (ExtractFileExt(P).empty()) P += L".TAB";
    return {ReadAll(P), ReadAll(ChangeFileExt(P, L".dat"))};
  }

  TFakeGisWorld& W;
  std::map<String, TFakeTable> Tables;
  std::set<Integer> Selected;
};

class TFakeGis : public TGisFactory {
 public:
  explicit TFakeGis(TFakeGisWorld& AWorld) : W(AWorld) {}
  std::unique_ptr<TGisSession> miCreateMapInfo() override {
    return std::make_unique<TFakeSession>(W);
  }

 private:
  TFakeGisWorld& W;
};

class TFakeCounter : public TFeatureCounter {
 public:
  Integer GetValidRowCount(const String& ATabPath, std::vector<Integer>& ABroken) override {
    Calls.push_back(ATabPath);
    if (!Error.empty()) throw Exception(Error);
    if (Unreadable.count(ATabPath)) throw Exception(L"таблица не открывается");
    ABroken.insert(ABroken.end(), Broken.begin(), Broken.end());
    return Good;
  }
  Integer Good = 10;
  std::vector<Integer> Broken;
  String Error;
  std::set<String> Unreadable;
  std::vector<String> Calls;
};

struct TLogSink {
  void Add(const String& AText, Boolean AScrolled) {
    Lines.push_back(AText);
    Scrolled.push_back(AScrolled);
  }
  void Header(const String& AText) { Headers.push_back(AText); }
  // The lines that hold ATag.
  std::vector<String> With(const String& ATag) const {
    std::vector<String> R;
    for (const String& L : Lines)
      if (L.find(ATag) != String::npos) R.push_back(L);
    return R;
  }
  std::vector<String> Lines;
  std::vector<bool> Scrolled;
  std::vector<String> Headers;
};

const wchar_t Msk89[] = L"8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63";
const wchar_t Sk63[] = L"8, 1001, \"m\", 66.95, 0, 1, 4300000, -9214.69";

class VectorRoad : public testing::Test {
 protected:
  void SetUp() override {
    Dir.Folder(L"in\\sub");
    Dir.Folder(L"work");
    Dir.Put(L"in\\sub\\roads.tab", "!table\r\n!version 300\r\nDefinition Table\r\n");
    World.Source = Source();
    Run.InDir = Dir.Path() + L"in\\";
    Run.OutDir = Dir.Path() + L"out\\";
    Run.TempPath = Dir.Path() + L"work\\";
    Run.OutCs = tcMsk89Geo;
    Run.Params.xold = 1000;
    Run.Params.yold = 2000;
    Run.Params.xnew = 1500000;
    Run.Params.ynew = 2500000;
    Run.Params.msk89 = Msk89;
    Run.Params.sk63 = Sk63;
    Run.Formation = L"Надым";
    Run.OnLog = MakeEvent<&TLogSink::Add>(&Sink);
    Run.OnHeader = MakeEvent<&TLogSink::Header>(&Sink);
  }
  String Source() const { return Dir.Path() + L"in\\sub\\roads.tab"; }
  String Out() const { return Dir.Path() + L"out\\sub\\roads.tab"; }
  String Work() const { return Run.TempPath; }
  void Conv() { ConvTable(Source(), Run, Counter, Gis, Rasters); }

  // The output table's points as "east north" lines.
  std::vector<std::string> OutPoints() const {
    std::vector<std::string> R;
    TMifReader In(Out());
    std::string_view L;
    while (In.ReadLine(L))
      if (L.rfind("Point ", 0) == 0) R.emplace_back(L.substr(6));
    return R;
  }
  std::string OutClause() const {
    std::string S = ReadAll(Out());
    size_t B = S.find("CoordSys");
    return S.substr(B, S.find("\r\n", B) - B);
  }

  TTempFolder Dir{L"vector"};
  TFakeGisWorld World;
  TFakeGis Gis{World};
  TFakeCounter Counter;
  TLogSink Sink;
  TVectorRun Run;
  std::vector<String> Rasters;
};

std::vector<String> Cat(std::initializer_list<std::vector<String>> AParts) {
  std::vector<String> R;
  for (const auto& P : AParts) R.insert(R.end(), P.begin(), P.end());
  return R;
}

// The 10-row table whose row 4 breaks every export that includes it.
TEST_F(VectorRoad, RowRangeSearchSkipsTheBrokenRow) {
  World.BadRows = {4};
  Counter.Good = 9;
  Counter.Broken = {4};
  Run.Diagnostics = true;
  Conv();
  const String E = L" (объект 4 не читается)";
  std::vector<String> Want = {
      L"1 от 1 до 10" + E,     L"2 от 1 до 5" + E,
      L"3 от 1 до 3 успешно",  L"4 от 4 до 10" + E,
      L"5 от 4 до 7" + E,      L"6 от 4 до 5" + E,
      L"7 от 4 до 4" + E,      L"8 от 5 до 5 успешно",
      L"9 от 6 до 10 успешно", L"Успешно завершен от 6 до 10",
      L"Итого 0 от 1 до 3",    L"Итого 1 от 5 до 10",
  };
  EXPECT_EQ(Sink.With(L" до "), Want);
  EXPECT_EQ(Sink.Lines[0], Source());
  EXPECT_EQ(Sink.Lines[1], L"Векторная таблица");
  EXPECT_EQ(Sink.Lines[2], L"Нормальных: 9, Битых: 1.");
  EXPECT_EQ(Sink.Headers, std::vector<String>{L"Векторная таблица"});

  std::vector<String> Selects;
  for (const String& S : World.Log)
    if (Starts(S, L"Select ")) Selects.push_back(S);
  ASSERT_EQ(Selects.size(), 10u);
  EXPECT_EQ(Selects[0], L"Select * From tab1 Where RowId>=1 And RowId <=10 Into tab2 NoSelect");
  EXPECT_EQ(Selects[9],
            L"Select * From tab1 Where (rowID>=1 and rowId <=3) or (rowID>=5 and rowId <=10) "
            L"Into tab2 NoSelect");
  // The row count, nine attempts and the final export, each ended.
  EXPECT_EQ(World.Started, 11);
  EXPECT_EQ(World.Ended, 11);
  // Every attempt exported into the work folder; the input is untouched.
  for (const String& S : World.Log)
    if (Starts(S, L"Export tab2")) {
      EXPECT_EQ(S, L"Export tab2 Into \"" + Work() + L"tab1.mif\" Type \"MIF\" OverWrite");
    }
  EXPECT_EQ(Dir.Entries(L"in\\sub\\"), std::vector<String>{L"roads.tab"});
  // Rows 1-3 and 5-10, moved by the formation's shift.
  std::vector<std::string> Points = OutPoints();
  ASSERT_EQ(Points.size(), 9u);
  EXPECT_EQ(Points[0], "2501001 1500001");
  EXPECT_EQ(Points[3], "2501005 1500005");
}

// Which rows reach the output, and how many instances the search takes.
TEST_F(VectorRoad, RowRangeSearchOutcomes) {
  struct TCase {
    const char* Name;
    Integer Rows;
    std::set<Integer> Bad;
    bool FailAll;
    std::vector<Integer> Output;  // rows of the output; empty: none
    Integer Instances;
  } Cases[] = {
      // The feature library calls a feature broken that MapInfo exports.
      {"first attempt succeeds", 10, {}, false, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 3},
      {"every attempt fails", 10, {}, true, {}, 15},
      // The row below a broken one in a pair of rows stays in the output.
      {"row 5 broken", 10, {5}, false, {1, 2, 3, 4, 6, 7, 8, 9, 10}, 15},
      // The search ends at the last row instead of trying rows beyond it.
      {"last row broken", 10, {10}, false, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 9},
      {"two broken rows", 10, {3, 8}, false, {1, 2, 4, 5, 6, 7, 9, 10}, 18},
      {"the only row broken", 1, {1}, false, {}, 2},
      // Too many broken rows for the attempts: rows never tried would be
      // missing from the output.
      {"attempts run out",
       300,
       {2,  5,  8,  11, 14, 17, 20, 23, 26, 29, 32, 35, 38, 41, 44,
        47, 50, 53, 56, 59, 62, 65, 68, 71, 74, 77, 80, 83, 86, 89},
       false,
       {},
       1 + MaxRowRangeAttempts},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    World = TFakeGisWorld{};
    World.Source = Source();
    World.Rows = C.Rows;
    World.BadRows = C.Bad;
    World.FailEveryExport = C.FailAll;
    Sink = TLogSink{};
    Counter.Good = C.Rows - 1;
    Counter.Broken = {7};
    DeleteFileW(Out().c_str());
    Conv();
    EXPECT_EQ(World.Started, C.Instances);
    EXPECT_EQ(World.Ended, C.Instances);
    EXPECT_TRUE(Sink.With(L" от ").empty()) << "diagnostics are off";
    for (const String& S : World.Log)
      if (Starts(S, L"Select ")) {
        EXPECT_TRUE(RowsOf(S, 1000000) == RowsOf(S, C.Rows)) << "beyond the last row: " << S;
      }
    if (C.Output.empty()) {
      EXPECT_FALSE(Dir.Exists(L"out\\sub\\roads.tab"));
      EXPECT_EQ(Sink.Lines, (std::vector<String>{Source(), L"Векторная таблица",
                                                 Format(L"Нормальных: %d, Битых: 1.", {C.Rows - 1}),
                                                 L"Завершен с ошибками"}));
      EXPECT_EQ(Sink.Scrolled, std::vector<bool>(4, true));
      continue;
    }
    std::vector<Integer> Got;
    for (const std::string& P : OutPoints()) Got.push_back(std::stoi(P) - 2501000);
    EXPECT_EQ(Got, C.Output);
  }
}

struct TClassCase {
  const char* Name;
  String Clause;
  Double MaxX, MaxY;
  Integer InCs;
};

// Whole-table statements per input class and target.
TEST_F(VectorRoad, StatementsPerClassAndTarget) {
  const String Q = L"\"";
  const String W = Work();
  const std::vector<String> Export = {
      L"-- start",
      L"Open Table " + Q + Source() + Q + L" As tab1",
      L"Set ProgressBars Off",
      L"Export tab1 Into " + Q + W + L"tab1.mif" + Q + L" Type \"MIF\" OverWrite",
      L"Set CoordSys Table tab1",
      L"Set Distance Units \"m\""};
  const std::vector<String> Import = {L"Close Table tabOut", L"Import " + Q + W + L"tabOut.mif" +
                                                                 Q + L" Type \"MIF\" Into " + Q +
                                                                 W + L"tabOut" + Q + L" OverWrite"};
  const std::vector<String> Direct =
      Cat({Import, {L"Commit Table tabOut As " + Q + Out() + Q, L"Close Table tabOut"}});
  const std::vector<String> Through63 =
      Cat({Import,
           {L"Close Table tab63", L"Commit Table tabOut As " + Q + W + L"tab63" + Q,
            L"Close Table tabOut", L"Open Table " + Q + W + L"tab63" + Q + L" As tab63",
            L"Commit Table tab63 As " + Q + Out() + Q + L" CoordSys Earth Projection " + Msk89,
            L"Close Table tab63"}});
  const String ByGis =
      L"Commit Table tab1 As " + Q + Out() + Q + L" CoordSys Earth Projection " + Msk89;
  const std::vector<String> Second =
      Cat({{L"Close Table tab89", L"Open Table " + Q + Out() + Q + L" As tab89",
            L"Export tab89 Into " + Q + W + L"tab1.mif" + Q + L" Type \"MIF\" OverWrite",
            L"Close Table tab89"},
           Direct});
  const String NonEarth = L"CoordSys NonEarth Units \"m\" Bounds (0,0) (10000000,10000000)";
  // The old conditional system keeps points on both sides of its origin.
  const String NonEarthSigned =
      L"CoordSys NonEarth Units \"m\" Bounds (-10000000, -10000000) (10000000, 10000000)";
  struct TCase {
    const char* Name;
    Double MaxX, MaxY;
    String Clause;
    Integer InCs, OutCs;
    std::vector<String> Statements;
    std::string OutClause;
    std::string FirstPoint;  // row 1
  } Cases[] = {
      {"class 1, geographic", 3010, 1010, NonEarth, icLocal, tcMsk89Geo, Cat({Export, Direct}),
       "CoordSys Earth Projection 8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63",
       "2501001 1500001"},
      {"class 1, plan", 3010, 1010, NonEarth, icLocal, tcMsk89Plan, Cat({Export, Direct, Second}),
       StringToAnsi(NonEarth), "2501001 1500001"},
      {"class 1, old conditional", 3010, 1010, NonEarth, icLocal, tcOldConditional,
       Cat({Export, Direct, Second}), StringToAnsi(NonEarthSigned), "3001 1001"},
      {"class 2, plan", 500000, 1010, NonEarth, icShift, tcMsk89Plan,
       Cat({Export, Through63, Second}), StringToAnsi(NonEarth), "4003001 7001001"},
      {"class 3, geographic", 2500000, 1500000, NonEarth, icMsk89, tcMsk89Geo,
       Cat({Export, Direct}),
       "CoordSys Earth Projection 8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63", "3001 1001"},
      {"class 4, geographic", 4500000, 7500000, NonEarth, icSk63, tcMsk89Geo,
       Cat({Export, Through63}),
       "CoordSys Earth Projection 8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63", "3001 1001"},
      {"class 103, old conditional", 2500000, 1500000,
       String(L"CoordSys Earth Projection ") + Msk89, icEarth5811057, tcOldConditional,
       Cat({Export, {ByGis}, Second}), StringToAnsi(NonEarthSigned), "-2494999 -1497999"},
      {"class 0, geographic", 66, 67, L"CoordSys Earth Projection 1, 104", icNone, tcMsk89Geo,
       Cat({Export, {ByGis}}),
       "CoordSys Earth Projection 8, 1001, \"m\", 66.05, 0, 1, 2500000, -5811057.63", "3001 1001"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    World = TFakeGisWorld{};
    World.Source = Source();
    World.Clause = C.Clause;
    World.Bounds[1] = C.MaxX;
    World.Bounds[3] = C.MaxY;
    Sink = TLogSink{};
    Run.OutCs = C.OutCs;
    Conv();
    EXPECT_EQ(World.Log, Cat({C.Statements, {L"End MapInfo"}}));
    EXPECT_EQ(OutClause(), C.OutClause);
    std::vector<std::string> Points = OutPoints();
    ASSERT_EQ(Points.size(), 10u);
    EXPECT_EQ(Points[0], C.FirstPoint);
    std::vector<String> Plain;
    for (size_t I = 0; I < Sink.Lines.size(); ++I)
      if (!Sink.Scrolled[I]) Plain.push_back(Sink.Lines[I]);
    std::vector<String> WantPlain = {
        C.Clause,
        Format(L"%15.2f %15.2f %15.2f %15.2f", {Double(3001), C.MaxX, Double(1001), C.MaxY}),
        Format(L"Тип входной СК %d", {C.InCs})};
    if (C.InCs == icNone || C.InCs > icSk63) WantPlain.push_back(ByGis);
    WantPlain.push_back(Format(L"outCs %d", {C.OutCs}));
    EXPECT_EQ(Plain, WantPlain);
  }
}

// MapBasic text and MIF numbers keep "." under a "," regional format; the
// bounds shown to the user follow the regional format.
TEST_F(VectorRoad, DecimalCommaRegionalFormat) {
  World.Bounds[0] = 3001.5;
  Run.Params.xnew = 1500000.25;
  Run.Params.ynew = 2500000.75;
  Run.OutCs = tcMsk89Plan;
  std::vector<String> Statements;
  std::vector<std::string> Points;
  {
    TCommaLocale Comma;
    GetFormatSettings();
    ASSERT_EQ(FormatSettings().DecimalSeparator, L',');
    Conv();
    const String Pad(8, L' ');
    EXPECT_EQ(Sink.Lines.at(4),
              Pad + L"3001,50 " + Pad + L"3010,00 " + Pad + L"1001,00 " + Pad + L"1010,00");
    Statements = World.Log;
    Points = OutPoints();
  }
  GetFormatSettings();
  EXPECT_EQ(Points.at(0), "2501001.75 1500001.25");
  World.Log.clear();
  Conv();
  EXPECT_EQ(World.Log, Statements);
}

TEST_F(VectorRoad, RasterIsQueuedUnopened) {
  Dir.Put(L"in\\sub\\roads.tab", "!table\r\nDefinition Table\r\n  Type \"RASTER\"\r\n");
  Conv();
  EXPECT_EQ(Rasters, std::vector<String>{Source()});
  EXPECT_EQ(Sink.Lines, (std::vector<String>{Source(), L"Растровая таблица"}));
  EXPECT_EQ(Sink.Headers, std::vector<String>{L"Растровая таблица"});
  EXPECT_TRUE(Counter.Calls.empty());
  EXPECT_EQ(World.Started, 0);
  // Small letters do not make a raster.
  Dir.Put(L"in\\sub\\roads.tab", "!table\r\n  Type \"raster\"\r\n");
  Conv();
  EXPECT_EQ(Rasters.size(), 1u);
  EXPECT_EQ(Counter.Calls.size(), 1u);
}

// Every failure names the table, leaves earlier outputs alone and no output
// of this table behind.
TEST_F(VectorRoad, FailuresNameTheTableAndLeaveNoHalfOutput) {
  // An earlier table's output.
  Dir.Put(L"out\\sub\\earlier.tab", "earlier");
  struct TCase {
    const char* Name;
    std::function<void()> Arrange;
    const wchar_t* Says;
    bool BadMif = false;
  } Cases[] = {
      {"unreadable .TAB", [&] { DeleteFileW(Source().c_str()); }, L"Не удалось открыть файл"},
      {"table does not open", [&] { Counter.Error = L"таблица не открывается"; },
       L"таблица не открывается"},
      {"count beyond the end of the file", [&] { World.ExportData = "Pline 5\r\n1 2\r\n3 4\r\n"; },
       L"строка 9: объекту не хватает", true},
      {"coordinate not a number", [&] { World.ExportData = "Point 12,5 7\r\n"; }, L"строка 9",
       true},
      {"export wrote no file", [&] { World.ExportWritesNothing = true; }, L"не выгрузил таблицу"},
      {"first commit fails", [&] { World.FailOn = L"Commit Table tabOut"; }, L"отказ MapInfo"},
      {"second pass export fails", [&] { World.FailOn = L"Export tab89"; }, L"отказ MapInfo"},
      {"second commit fails",
       [&] {
         World.FailOn = L"Commit Table tabOut";
         World.FailSkip = 1;
       },
       L"отказ MapInfo"},
      {"output inside the input", [&] { Run.OutDir = Run.InDir + L"sub\\"; }, L"во входную папку"},
      {"work folder inside the input", [&] { Run.TempPath = Run.InDir; },
       L"находится во входной папке"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    Dir.Put(L"in\\sub\\roads.tab", "!table\r\n");
    World = TFakeGisWorld{};
    World.Source = Source();
    Counter.Error.clear();
    Run.OutDir = Dir.Path() + L"out\\";
    Run.TempPath = Dir.Path() + L"work\\";
    Run.OutCs = tcMsk89Plan;
    C.Arrange();
    try {
      Conv();
      ADD_FAILURE() << "accepted";
    } catch (Exception& E) {
      EXPECT_EQ(E.Message().find(L"Таблица \"" + Source() + L"\": "), 0u) << E.Message();
      EXPECT_NE(E.Message().find(C.Says), String::npos) << E.Message();
    }
    EXPECT_EQ(World.Started, World.Ended);
    EXPECT_FALSE(Dir.Exists(L"out\\sub\\roads.tab"));
    EXPECT_FALSE(Dir.Exists(L"out\\sub\\roads.dat"));
    EXPECT_EQ(Dir.Get(L"out\\sub\\earlier.tab"), "earlier");
    // Nothing new in the input; no half-written work file.
    std::vector<String> In = Dir.Entries(L"in\\sub\\");
    EXPECT_LE(In.size(), 1u);
    if (C.BadMif) {
      EXPECT_FALSE(Dir.Exists(L"work\\tabOut.mif"));
    }
  }
}

TEST_F(VectorRoad, OutputFolderThatCannotBeCreated) {
  Dir.Put(L"out", "a file where the folder should be");
  Conv();
  EXPECT_EQ(Sink.Lines.back(), L"Не удалось создать папку (" + Dir.Path() + L"out\\sub\\).");
  for (const String& S : World.Log) EXPECT_FALSE(Starts(S, L"Commit")) << S;
  EXPECT_EQ(World.Started, World.Ended);
}

// A damaged table of a class MapInfo reprojects: the commit takes what the
// row-range search kept, so the output holds exactly the readable rows.
TEST_F(VectorRoad, DamagedTableOfAnEarthClassKeepsTheReadableRows) {
  const String Q = L"\"";
  struct TCase {
    const char* Name;
    String Clause;
    Integer InCs;
  } Cases[] = {
      {"class 103", String(L"CoordSys Earth Projection ") + Msk89, icEarth5811057},
      {"class 104", L"CoordSys Earth Projection 8, 1001, \"m\", 66.05, 0, 1, 2500000, -5911057.63",
       icEarth11057},
      {"class 0", L"CoordSys Earth Projection 1, 104", icNone},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Name);
    World = TFakeGisWorld{};
    World.Source = Source();
    World.Clause = C.Clause;
    World.BadRows = {4};
    Counter.Good = 9;
    Counter.Broken = {4};
    Sink = TLogSink{};
    DeleteFileW(Out().c_str());
    Conv();
    EXPECT_EQ(Sink.With(L"Тип входной СК"),
              std::vector<String>{Format(L"Тип входной СК %d", {C.InCs})});
    const String Commit =
        L"Commit Table tab2 As " + Q + Out() + Q + L" CoordSys Earth Projection " + Msk89;
    EXPECT_EQ(Sink.With(L"Commit Table"), std::vector<String>{Commit});
    std::vector<std::string> Points = OutPoints();
    std::vector<std::string> Want;
    for (Integer R : {1, 2, 3, 5, 6, 7, 8, 9, 10})
      Want.push_back(std::to_string(3000 + R) + " " + std::to_string(1000 + R));
    EXPECT_EQ(Points, Want);
    EXPECT_EQ(World.Started, World.Ended);
  }
}

// A non-Earth table whose extent fits no input class is named with its
// extent before the GIS program is asked to do what it cannot.
TEST_F(VectorRoad, NonEarthTableOfNoClassIsNamed) {
  for (Double MaxX : {400000.0, 2000000.0}) {
    SCOPED_TRACE(MaxX);
    World = TFakeGisWorld{};
    World.Source = Source();
    World.Bounds[1] = MaxX;
    World.Bounds[3] = 1010;
    try {
      Conv();
      ADD_FAILURE() << "accepted";
    } catch (ETableError& E) {
      EXPECT_EQ(E.Message().find(L"Таблица \"" + Source() + L"\": "), 0u) << E.Message();
      EXPECT_NE(E.Message().find(L"не подходит ни к одному входному классу"), String::npos)
          << E.Message();
      EXPECT_NE(E.Message().find(FloatToStr(MaxX)), String::npos) << E.Message();
    }
    for (const String& S : World.Log) EXPECT_FALSE(Starts(S, L"Commit")) << S;
    EXPECT_FALSE(Dir.Exists(L"out\\sub\\roads.tab"));
  }
}

// An output file another program holds cannot be created: the message says
// which, in the user's words, before the GIS program fails on it.
TEST_F(VectorRoad, OutputFileThatCannotBeCreatedIsNamed) {
  Dir.Put(L"out\\sub\\roads.dat", "held by another program");
  HANDLE Held = CreateFileW((Dir.Path() + L"out\\sub\\roads.dat").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(Held, INVALID_HANDLE_VALUE);
  try {
    Conv();
    ADD_FAILURE() << "accepted";
  } catch (ETableError& E) {
    EXPECT_EQ(E.Message().find(L"Таблица \"" + Source() + L"\": "), 0u) << E.Message();
    EXPECT_NE(E.Message().find(L"не удалось создать файл результата \"" + Dir.Path() +
                               L"out\\sub\\roads.dat\""),
              String::npos)
        << E.Message();
  }
  CloseHandle(Held);
  for (const String& S : World.Log) EXPECT_FALSE(Starts(S, L"Commit")) << S;
  EXPECT_EQ(Dir.Get(L"out\\sub\\roads.dat"), "held by another program");
  EXPECT_FALSE(Dir.Exists(L"out\\sub\\roads.tab"));
  // A writable output is left as it was by the check.
  Conv();
  EXPECT_EQ(OutPoints().size(), 10u);
}

// A table whose own name the system's code page cannot spell never reaches
// the feature library or the GIS program, which would look for companion
// files under names nobody made.
TEST_F(VectorRoad, TableNameOutsideTheSystemCodePageIsNamed) {
  const String Name = L"карта Ω地图.tab";
  Dir.Put(L"in\\sub\\" + Name, "!table\r\n");
  try {
    ConvTable(Dir.Path() + L"in\\sub\\" + Name, Run, Counter, Gis, Rasters);
    ADD_FAILURE() << "accepted";
  } catch (ETableError& E) {
    EXPECT_NE(E.Message().find(L"\"" + Name + L"\""), String::npos) << E.Message();
    EXPECT_NE(E.Message().find(L"кодовой странице системы"), String::npos) << E.Message();
  }
  EXPECT_TRUE(Counter.Calls.empty());
  EXPECT_EQ(World.Started, 0);
}

// The progress of a run, with a cancellation at a chosen table.
class TFakeProgress : public TRunProgress {
 public:
  void Open(const String& ACaption, Int64 AMax) override {
    Events.push_back(L"open " + ACaption + L" " + IntToStr(static_cast<Integer>(AMax)));
  }
  void Next(const String& APath) override {
    if (APath == CancelAt) throw EAbort(L"");
    Events.push_back(L"next " + ExtractFileName(APath));
  }
  void SetMax(Int64 AMax) override {
    Events.push_back(L"max " + IntToStr(static_cast<Integer>(AMax)));
  }
  void Close() override { Events.push_back(L"close"); }
  String CancelAt;
  std::vector<String> Events;
};

class RunLog : public VectorRoad {
 protected:
  void SetUp() override {
    VectorRoad::SetUp();
    for (const wchar_t* N : {L"a.tab", L"b.tab", L"c.tab"}) {
      Dir.Put(L"in\\" + String(N), "!table\r\n");
      Files.push_back(Dir.Path() + L"in\\" + N);
    }
    World.Sources = std::set<String>(Files.begin(), Files.end());
  }
  // The log lines after the last table's own lines.
  std::vector<String> Tail(size_t ACount) const {
    return std::vector<String>(Sink.Lines.end() - static_cast<std::ptrdiff_t>(ACount),
                               Sink.Lines.end());
  }
  void Run_(std::vector<String> AFiles) { RunTables(AFiles, Run, Counter, Gis, Progress); }

  std::vector<String> Files;
  TFakeProgress Progress;
};

TEST_F(RunLog, AFinishedRunSaysSo) {
  World.Source = Files[0];
  Run_(Files);
  EXPECT_EQ(Tail(2), (std::vector<String>{L"Нет растров", RunFinishedLine}));
  EXPECT_EQ(Progress.Events,
            (std::vector<String>{L"open Пересчет координат 3", L"next a.tab", L"next b.tab",
                                 L"next c.tab", L"max 0", L"close"}));
  // An empty folder is a finished run too.
  Sink = TLogSink{};
  Run_({});
  EXPECT_EQ(Sink.Lines, (std::vector<String>{L"Нет растров", RunFinishedLine}));
}

// A table that cannot be read ends the run; the log says why, which tables
// were not processed and that the run ended by an error.
TEST_F(RunLog, AnUnreadableTableAmongGoodOnesIsNamedWithTheRest) {
  World.Source = Files[0];
  Counter.Unreadable = {Files[1]};
  try {
    Run_(Files);
    ADD_FAILURE() << "the run went on";
  } catch (Exception& E) {
    EXPECT_NE(E.Message().find(L"таблица не открывается"), String::npos) << E.Message();
    EXPECT_EQ(Tail(3),
              (std::vector<String>{E.Message(),
                                   L"Не обработаны таблицы: " + Files[1] + L"; " + Files[2] + L".",
                                   RunFailedLine}));
  }
  EXPECT_TRUE(Dir.Exists(L"out\\a.tab"));
  EXPECT_TRUE(Sink.With(L"Нет растров").empty());
  EXPECT_EQ(Progress.Events.back(), L"close");
}

// A raster that fails in the raster phase: it and the rasters after it were
// not processed.
TEST_F(RunLog, AFailingRasterNamesItselfAndTheRastersAfterIt) {
  const std::string Raster = "!table\r\nDefinition Table\r\n  Type \"RASTER\"\r\n";
  Dir.Put(L"in\\a.tab", Raster);  // no CoordSys line: cannot be recalculated
  Dir.Put(L"in\\c.tab", Raster);
  World.Source = Files[1];
  try {
    Run_(Files);
    ADD_FAILURE() << "the run went on";
  } catch (ERasterError& E) {
    EXPECT_EQ(Tail(3),
              (std::vector<String>{E.Message(),
                                   L"Не обработаны таблицы: " + Files[0] + L"; " + Files[2] + L".",
                                   RunFailedLine}));
  }
  EXPECT_EQ(Sink.With(L"Есть растры").size(), 1u);
  EXPECT_TRUE(Dir.Exists(L"out\\b.tab"));
  EXPECT_EQ(World.Started, World.Ended);
}

TEST_F(RunLog, ACancelledRunSaysSoWithTheTablesNotProcessed) {
  World.Source = Files[0];
  Progress.CancelAt = Files[1];
  EXPECT_THROW(Run_(Files), EAbort);
  EXPECT_EQ(Tail(2),
            (std::vector<String>{L"Не обработаны таблицы: " + Files[1] + L"; " + Files[2] + L".",
                                 RunCancelledLine}));
  EXPECT_TRUE(Sink.With(L"Нет растров").empty());
  EXPECT_EQ(Progress.Events.back(), L"close");
  EXPECT_EQ(NotProcessedLine({L"C:\\x.tab"}), L"Не обработана таблица: C:\\x.tab.");
}

}  // namespace
