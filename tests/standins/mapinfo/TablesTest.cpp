// Table statements in-process: their effects and their failures.
#include <gtest/gtest.h>

#include "TempFolder.h"
#include "miMapBasic.h"
#include "miProjection.h"

namespace {

const char Zone13[] = "CoordSys Earth Projection 8, 1001, \"m\", 75, 0, 1, 13500000, 0";

String Widen(const char* S) { return String(S, S + strlen(S)); }

class MapBasicTables : public testing::Test {
 protected:
  void SetUp() override {
    WritePointTable(Temp / L"pts.tab", Zone13,
                    {{13400000, 7400000}, {13500000, 7500000}, {13600000, 7650000}});
  }
  String Error(const String& AText, bool AIsDo = true) {
    try {
      if (AIsDo) {
        S->Do(AText);
      } else {
        S->Eval(AText);
      }
    } catch (const EMapBasicError& E) {
      return E.Message();
    }
    return L"(no error)";
  }
  double Float(const String& AExpression) { return S->Evaluate(AExpression).AsFloat(); }
  String Quoted(const String& AName) { return L"\"" + (Temp / AName) + L"\""; }

  TTempFolder Temp;
  TOwned<TMapBasicSession> S = MakeOwned<TMapBasicSession>();
};

TEST_F(MapBasicTables, OpenCloseAndTableInfo) {
  S->Do(L"Open Table " + Quoted(L"pts") + L" Hide ReadOnly");  // alias from the file name
  EXPECT_EQ(S->Eval(L"TableInfo(pts, 1)"), L"pts");
  EXPECT_EQ(S->Eval(L"TableInfo(0, 1)"), L"pts");  // the table opened last
  EXPECT_EQ(S->Eval(L"TableInfo(\"PTS\", 4)"), L"1");
  EXPECT_EQ(S->Eval(L"TableInfo(pts, 5)"), L"T");
  EXPECT_EQ(S->Eval(L"TableInfo(pts, 8)"), L"3");
  String Clause = S->Eval(L"TableInfo(pts, 29)");
  // The zone's default bounds are written out.
  TCoordSys Written = ParseCoordSysText(Clause);
  ASSERT_TRUE(Written.Bounds.has_value()) << testing::PrintToString(Clause);
  EXPECT_TRUE(Written.SameSystem(ParseCoordSysText(Widen(Zone13))));
  EXPECT_NEAR(Written.Bounds->MinX, 13500000 - 8249281.53901, 0.01);
  EXPECT_NEAR(Written.Bounds->MaxY, 10002137.4977586, 0.5);
  // Extents answer in the session's system: zone 13 itself, then zone 12.
  S->Do(L"Set CoordSys Table pts");
  const double Grid = 0.01;  // the storage grid of a zone's default bounds
  EXPECT_NEAR(Float(L"TableInfo(pts, 20)"), 13400000, Grid);
  EXPECT_NEAR(Float(L"TableInfo(pts, 21)"), 7400000, Grid);
  EXPECT_NEAR(Float(L"TableInfo(pts, 22)"), 13600000, Grid);
  EXPECT_NEAR(Float(L"TableInfo(pts, 23)"), 7650000, Grid);
  const wchar_t* Zone12 = L"CoordSys Earth Projection 8, 1001, \"m\", 69, 0, 1, 12500000, 0";
  S->Do(String(L"Set ") + Zone12);
  double X = 13400000, Y = 7400000;
  ConvertPoint(ParseCoordSysText(Widen(Zone13)), ParseCoordSysText(Zone12), X, Y);
  EXPECT_NEAR(Float(L"TableInfo(pts, 20)"), X, Grid);
  EXPECT_EQ(Error(L"TableInfo(pts, 19)", false), L"TableInfo: argument 19 out of range.");
  S->Do(L"Open Table " + Quoted(L"pts.tab") + L" As second");
  EXPECT_EQ(S->Eval(L"TableInfo(0, 1)"), L"second");
  S->Do(L"Close Table pts");
  EXPECT_EQ(Error(L"Close Table pts"), L"Table pts is not open.");
  S->Do(L"Close All");
  EXPECT_EQ(Error(L"TableInfo(second, 8)", false), L"Table second is not open.");
}

TEST_F(MapBasicTables, FetchMovesTheRowCursor) {
  S->Do(L"Open Table " + Quoted(L"pts") + L" As t");
  EXPECT_EQ(Error(L"t.ID", false), L"Table t has no current row: use Fetch first.");
  S->Do(L"Fetch Last From t");
  EXPECT_EQ(S->Eval(L"t.ID"), L"3");
  S->Do(L"Fetch Prev From t");
  EXPECT_EQ(S->Eval(L"t.id"), L"2");
  S->Do(L"Fetch Rec 1 From t");
  EXPECT_EQ(S->Eval(L"t.Obj"), L"Point");
  S->Do(L"Fetch Next From t");
  S->Do(L"Fetch Next From t");
  S->Do(L"Fetch Next From t");
  EXPECT_EQ(Error(L"t.ID", false), L"Table t has no current row: use Fetch first.");
  EXPECT_EQ(Error(L"Fetch Rec 4 From t"), L"Row 4 does not exist in table t.");
  EXPECT_EQ(Error(L"Fetch Rec 1 From t2"), L"Table t2 is not open.");
  S->Do(L"Fetch First From t");
  EXPECT_EQ(Error(L"t.Nothing", false), L"Variable or Field t.Nothing not defined.");
}

TEST_F(MapBasicTables, SelectByRowIdAndByColumn) {
  S->Do(L"Open Table " + Quoted(L"pts") + L" As tab1");
  S->Do(L"Select * From tab1 Where ID > 1 And Not (RowId = 3)");
  EXPECT_EQ(S->Eval(L"TableInfo(Selection, 8)"), L"1");
  S->Do(
      L"Select * From tab1 Where (rowID>=1 and rowId <=1) or (rowID>=3 and rowId <=3) Into tab2 "
      L"NoSelect");
  EXPECT_EQ(S->Eval(L"TableInfo(tab2, 8)"), L"2");
  // A new query of the same name replaces the old one.
  S->Do(L"Select * From tab1 Into tab2 NoSelect");
  EXPECT_EQ(S->Eval(L"TableInfo(tab2, 8)"), L"3");
  S->Do(L"Select * From tab1 Where RowId > 5 Into tab2");
  EXPECT_EQ(S->Eval(L"TableInfo(tab2, 8)"), L"0");
  EXPECT_EQ(Error(L"Select * From tab1 Into tab1"), L"Table tab1 is already open.");
  EXPECT_EQ(Error(L"Select ID From tab1"), L"Found [ID] while searching for [*].");
  EXPECT_EQ(Error(L"Select * From tab1 Where RowId + 1"), L"Expression type mismatch.");
  EXPECT_EQ(Error(L"Select * From tab1 Where RowId > 1 Onto tab2"),
            L"Found [Onto] while searching for [Into].");
  EXPECT_EQ(Error(L"Select * From tab1 Where Size > 1"), L"Variable or Field Size not defined.");
}

TEST_F(MapBasicTables, CreateInsertCommit) {
  S->Do(L"Set CoordSys Earth Projection 1, 1001");
  S->Do(L"Create Table pnt(ind integer, name Char(10), v Float) File " + Quoted(L"pnt"));
  EXPECT_EQ(S->Eval(L"TableInfo(pnt, 5)"), L"F");
  S->Do(L"Create Map For pnt CoordSys Earth Projection 8, 1001, \"m\", 75, 0, 1, 13500000, 0");
  S->Do(L"Insert Into pnt (Obj, ind, name) Values (CreatePoint(75, 66), 5, \"a\")");
  S->Do(L"Insert Into pnt Values (6, \"b\", 2.5)");
  S->Do(L"Commit Table pnt");
  S->Do(L"Close Table pnt");
  auto R = tabengine::TableReader::Open(Temp / L"pnt.tab");
  ASSERT_EQ(R->RowCount(), 2);
  tabengine::Feature F;
  R->ReadFeature(1, F);
  // The point was made in long/lat and stored in the table's zone.
  ASSERT_EQ(F.geometry.type, tabengine::GeometryType::Point);
  EXPECT_NEAR(F.geometry.parts[0][0].x, 13500000, 0.01);
  EXPECT_EQ(F.values[0].integer, 5);
  EXPECT_EQ(F.values[1].text, "a");
  R->ReadFeature(2, F);
  EXPECT_EQ(F.geometry.type, tabengine::GeometryType::None);
  EXPECT_EQ(F.values[2].real, 2.5);

  S->Do(L"Create Table plain(ind integer) File " + Quoted(L"plain"));
  struct {
    const wchar_t* Statement;
    const wchar_t* Message;
  } Cases[] = {
      {L"Insert Into plain (Obj) Values (CreatePoint(1, 2))", L"Table plain is not mappable."},
      {L"Insert Into plain (ind) Values (\"x\")", L"Expression type mismatch."},
      {L"Insert Into plain (ind, ind2) Values (1)",
       L"The number of values does not match the number of columns."},
      {L"Insert Into plain (size) Values (1)", L"Variable or Field size not defined."},
      {L"Create Table plain(a integer)", L"Table plain is already open."},
      {L"Create Table x(a integer, A Float)", L"Column A is defined twice."},
      {L"Create Table x(a Blob)", L"Unrecognized column type: Blob."},
      {L"Create Table x(a Char)", L"Found [)] while searching for [(]."},
      {L"Create Table x(a Char(0))", L"Invalid width for column type Char."},
      {L"Set CoordSys Table plain", L"Table plain is not mappable."},
      {L"Commit Table plain As \"x\" CoordSys Earth Projection 1, 104",
       L"Table plain is not mappable."},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(Error(C.Statement), C.Message) << testing::PrintToString(String(C.Statement));
}

TEST_F(MapBasicTables, ExportAndCommitRefuseWhatWouldLoseData) {
  WritePointTable(Temp / L"bad.tab", Zone13, {{13400000, 7400000}, {13500000, 7500000}});
  BreakRow(Temp / L"bad.tab", 2);
  S->Do(L"Open Table " + Quoted(L"bad") + L" As bad");
  EXPECT_EQ(S->Eval(L"TableInfo(bad, 8)"), L"2");
  String Broken = Error(L"Export bad Into " + Quoted(L"bad.mif") + L" Type \"MIF\" OverWrite");
  EXPECT_EQ(Broken.rfind(L"Cannot read the object of row 2 of table bad: ", 0), 0u) << Broken;
  EXPECT_EQ(Error(L"Commit Table bad As " + Quoted(L"copy")).rfind(L"Cannot read", 0), 0u);
  EXPECT_FALSE(FileExists(Temp / L"copy.tab"));
  S->Do(L"Select * From bad Where RowId = 1 Into good");
  S->Do(L"Export good Into " + Quoted(L"good.mif") + L" Type \"MIF\"");
  EXPECT_EQ(Error(L"Export good Into " + Quoted(L"good.mif") + L" Type \"MIF\""),
            L"File " + (Temp / L"good.mif") + L" already exists.");
  EXPECT_EQ(Error(L"Export good Into " + Quoted(L"good.dbf") + L" Type \"DBF\""),
            L"Export type DBF is not supported.");
  EXPECT_EQ(Error(L"Commit Table good"), L"Table good is a query and cannot be saved in place.");
  EXPECT_EQ(Error(L"Commit Table bad As " + Quoted(L"bad")), L"Cannot save table bad over itself.");
  EXPECT_EQ(Error(L"Commit Table good As " + Quoted(L"c") + L" CoordSys NonEarth Units \"m\""),
            L"Invalid Coordinate System.");
  EXPECT_EQ(Error(L"Import " + Quoted(L"none.mif") + L" Type \"MIF\""),
            L"File " + (Temp / L"none.mif") + L" not found.");
  // Without Into the table goes beside the MIF file, under its name.
  EXPECT_EQ(Error(L"Import " + Quoted(L"good.mif") + L" Type \"MIF\""),
            L"Table good is already open.");
  S->Do(L"Close Table good");
  S->Do(L"Import " + Quoted(L"good.mif") + L" Type \"MIF\"");
  EXPECT_EQ(S->Eval(L"TableInfo(good, 8)"), L"1");
  EXPECT_TRUE(FileExists(Temp / L"good.tab"));
}

// Deleted rows keep their row numbers but are never selected or written.
TEST_F(MapBasicTables, DeletedRowsAreCountedButNotWritten) {
  DeleteRow(Temp / L"pts.tab", 2);
  S->Do(L"Open Table " + Quoted(L"pts") + L" As tab1");
  EXPECT_EQ(S->Eval(L"TableInfo(tab1, 8)"), L"3");
  S->Do(L"Select * From tab1 Where RowId >= 1 And RowId <= 3 Into tab2 NoSelect");
  EXPECT_EQ(S->Eval(L"TableInfo(tab2, 8)"), L"2");
  S->Do(L"Export tab1 Into " + Quoted(L"all.mif") + L" Type \"MIF\" OverWrite");
  auto R = tabengine::TableReader::Open(Temp / L"all.mif");
  EXPECT_EQ(R->RowCount(), 2);
}

}  // namespace
