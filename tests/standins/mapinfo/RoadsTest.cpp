// The statement sequences the program sends for a vector table, for a table
// with a damaged object (the row-range search) and for the control points of a
// raster table, sent through COM to the server as the program sends them.
#include <gtest/gtest.h>

#include <cmath>

#include "DispatchClient.h"
#include "TempFolder.h"
#include "miMapBasic.h"
#include "miProjection.h"

namespace {

const wchar_t Zone13[] = L"CoordSys Earth Projection 8, 1001, \"m\", 75, 0, 1, 13500000, 0";
// The target system's clause tail as the program appends it to
// "CoordSys Earth Projection ": a local system on a custom datum.
const wchar_t Msk89[] =
    L"8, 9999, 3, 23.57, -140.95, -79.8, 0, -0.35, -0.79, -0.22, 0, \"m\", 73.05, 0, 1, 1500000, "
    L"-5911057.63";
// Objects are stored on an integer grid set by the bounds of the system; a
// system without bounds of its own gets a grid of a few centimetres.
const double StorageTolerance = 0.05;

String Num(double V) { return FloatToMapBasicText(V, L"."); }

class MapInfoRoads : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  }
  void TearDown() override { CoUninitialize(); }

  static TDispatchClient Start() {
    TDispatchClient App = TDispatchClient::CreateByProgID(L"MapInfo.Application");
    App.Call(L"Visible", DISPATCH_PROPERTYPUT, {TDispatchClient::Bool(false)});
    return App;
  }
  // miCloseTable: errors ignored.
  static void CloseTable(TDispatchClient& App, const String& AAlias) {
    try {
      App.Do(L"Close Table " + AAlias);
    } catch (const EOleException&) {
    }
  }
  static double EvalDouble(TDispatchClient& App, const String& AExpression) {
    String T = App.Eval(AExpression), Sep = RegionalDecimalSeparator();
    size_t P = T.find(Sep);
    if (P != String::npos) T.replace(P, Sep.size(), L".");
    return std::stod(T);
  }
  static void ExpectNear(tabengine::Point2 P, double X, double Y, double Tol) {
    EXPECT_NEAR(P.x, X, Tol);
    EXPECT_NEAR(P.y, Y, Tol);
  }
  TTempFolder Temp;
};

std::vector<tabengine::Point2> Zone13Points() {
  return {{13412345.67, 7456789.12}, {13501234.5, 7512345.25}, {13587654.32, 7601234.56}};
}

TEST_F(MapInfoRoads, VectorTableIsExportedAndCommittedReprojected) {
  String Source = Temp / L"roads.tab", Out = Temp / L"out\\roads.tab";
  CreateDirectoryW((Temp / L"out").c_str(), nullptr);
  WritePointTable(Source, "CoordSys Earth Projection 8, 1001, \"m\", 75, 0, 1, 13500000, 0",
                  Zone13Points());

  TDispatchClient App = Start();
  App.Do(L"Open Table \"" + Source + L"\" As tab1");
  App.Do(L"Set ProgressBars Off");
  App.Do(L"Export tab1 Into \"" + Temp.Path() + L"tab1.mif\" Type \"MIF\" OverWrite");
  EXPECT_TRUE(FileExists(Temp / L"tab1.mif"));
  EXPECT_TRUE(FileExists(Temp / L"tab1.mid"));
  App.Do(L"Set CoordSys Table tab1");
  App.Do(L"Set Distance Units \"m\"");
  String Clause = App.Eval(L"TableInfo(tab1,29)");
  EXPECT_EQ(Clause.rfind(String(Zone13) + L" Bounds (", 0), 0u) << testing::PrintToString(Clause);
  EXPECT_NEAR(EvalDouble(App, L"TableInfo(tab1,20)"), 13412345.67, 0.01);
  EXPECT_NEAR(EvalDouble(App, L"TableInfo(tab1,22)"), 13587654.32, 0.01);
  EXPECT_NEAR(EvalDouble(App, L"TableInfo(tab1,21)"), 7456789.12, 0.01);
  EXPECT_NEAR(EvalDouble(App, L"TableInfo(tab1,23)"), 7601234.56, 0.01);
  App.Do(L"Commit Table tab1 As \"" + Out + L"\" CoordSys Earth Projection " + Msk89);
  App.Do(L"End MapInfo");

  auto R = tabengine::TableReader::Open(Out);
  ASSERT_EQ(R->RowCount(), 3);
  TCoordSys From = ParseCoordSysText(Zone13);
  TCoordSys To = ParseCoordSysText(L"CoordSys Earth Projection " + String(Msk89));
  auto Points = Zone13Points();
  for (int Id = 1; Id <= 3; ++Id) {
    tabengine::Feature F;
    R->ReadFeature(Id, F);
    ASSERT_FALSE(F.Broken()) << F.error;
    double X = Points[Id - 1].x, Y = Points[Id - 1].y;
    ConvertPoint(From, To, X, Y);
    ExpectNear(F.geometry.parts.at(0).at(0), X, Y, StorageTolerance);
    EXPECT_EQ(F.values.at(0).integer, Id);
  }
}

// Ten rows, row 4 damaged: every export that includes row 4 fails, and the
// ranges the program finds export the other nine.
TEST_F(MapInfoRoads, RowRangeSearchAroundADamagedObject) {
  String Source = Temp / L"damaged.tab";
  std::vector<tabengine::Point2> Points;
  for (int I = 1; I <= 10; ++I) Points.push_back({13500000.0 + I * 100, 7500000.0 + I * 10});
  WritePointTable(Source, "CoordSys Earth Projection 8, 1001, \"m\", 75, 0, 1, 13500000, 0",
                  Points);
  BreakRow(Source, 4);

  auto Open = [&](TDispatchClient& App) {
    App.Do(L"Open Table \"" + Source + L"\" As tab1");
    App.Do(L"Set ProgressBars Off");
  };
  {
    TDispatchClient App = Start();
    Open(App);
    EXPECT_EQ(App.Eval(L"TableInfo(tab1,8)"), L"10");
    App.Do(L"End MapInfo");
  }
  struct {
    int Lo, Hi;
    bool Exports;
  } Attempts[] = {{1, 10, false}, {1, 5, false}, {1, 3, true}, {4, 10, false},
                  {4, 7, false},  {4, 5, false}, {5, 5, true}, {6, 10, true}};
  for (const auto& A : Attempts) {
    TDispatchClient App = Start();
    Open(App);
    App.Do(L"Select * From tab1 Where RowId>=" + std::to_wstring(A.Lo) + L" And RowId <=" +
           std::to_wstring(A.Hi) + L" Into tab2 NoSelect");
    EXPECT_EQ(App.Eval(L"TableInfo(tab2,8)"), std::to_wstring(A.Hi - A.Lo + 1));
    String Export = L"Export tab2 Into \"" + Temp.Path() + L"tab1.mif\" Type \"MIF\" OverWrite";
    if (A.Exports) {
      EXPECT_NO_THROW(App.Do(Export)) << A.Lo << ".." << A.Hi;
    } else {
      try {
        App.Do(Export);
        ADD_FAILURE() << A.Lo << ".." << A.Hi << " exported";
      } catch (const EOleException& E) {
        EXPECT_EQ(E.Message().rfind(L"Cannot read the object of row ", 0), 0u);
      }
    }
    App.Do(L"End MapInfo");
  }
  TDispatchClient App = Start();
  Open(App);
  App.Do(
      L"Select * From tab1 Where (rowID>=1 and rowId <=3) or (rowID>=5 and rowId <=10) "
      L"Into tab2 NoSelect");
  App.Do(L"Export tab2 Into \"" + Temp.Path() + L"tab1.mif\" Type \"MIF\" OverWrite");
  App.Do(L"End MapInfo");
  auto R = tabengine::TableReader::Open(Temp / L"tab1.mif");
  ASSERT_EQ(R->RowCount(), 9);
  std::vector<int64_t> Ids;
  for (int Id = 1; Id <= 9; ++Id) {
    tabengine::Feature F;
    R->ReadFeature(Id, F);
    Ids.push_back(F.values.at(0).integer);
  }
  EXPECT_EQ(Ids, (std::vector<int64_t>{1, 2, 3, 5, 6, 7, 8, 9, 10}));
}

// The control points of a raster table travel through a point table that the
// server reprojects on commit, and are read back point by point.
TEST_F(MapInfoRoads, RasterControlPointsAreReprojectedAndReadBack) {
  String T = Temp.Path();
  auto Points = Zone13Points();
  TDispatchClient App = Start();
  App.Do(L"Set ProgressBars Off");
  App.Do(L"Set " + String(Zone13));
  App.Do(L"Set Distance Units \"m\"");
  CloseTable(App, L"tab1");
  App.Do(L"Create Table tab1(ind integer) File \"" + T + L"tab1\"");
  App.Do(L"Create Map For tab1 " + String(Zone13));
  App.Do(L"Dim O1 As Object");
  for (size_t I = 0; I < Points.size(); ++I) {
    App.Do(L"O1=CreatePoint(" + Num(std::round(Points[I].x * 100) / 100) + L"," +
           Num(std::round(Points[I].y * 100) / 100) + L")");
    App.Do(L"Insert Into tab1(Obj,ind) values(O1," + std::to_wstring(I + 7) + L")");
    App.Do(L"Commit Table tab1");
  }
  App.Do(L"Undim O1");
  App.Do(L"Export tab1 Into \"" + T + L"tab1.mif\" Type \"MIF\" OverWrite");
  App.Do(L"Commit Table tab1 As \"" + T + L"tabPnt\" CoordSys Earth Projection " + Msk89);
  CloseTable(App, L"tab1");
  CloseTable(App, L"tabPnt");
  App.Do(L"Open Table \"" + T + L"tabPnt\" As tabPnt");
  App.Do(L"Export tabPnt Into \"" + T + L"tabPnt.mif\" Type \"MIF\" OverWrite");
  CloseTable(App, L"tabPnt");
  App.Do(L"Open Table \"" + T + L"tabPnt\" As tabPnt");
  App.Do(L"Commit Table tabPnt As \"" + T + L"tabOut\"");
  CloseTable(App, L"tabPnt");
  App.Do(L"Open Table \"" + T + L"tabOut\" As tabOut");

  App.Do(L"Dim O1 As Object");
  App.Do(L"Dim R1 As Integer");
  App.Do(L"Set CoordSys Table tabOut");
  App.Do(L"Set Distance Units \"m\"");
  TCoordSys From = ParseCoordSysText(Zone13);
  TCoordSys To = ParseCoordSysText(L"CoordSys Earth Projection " + String(Msk89));
  ASSERT_EQ(App.Eval(L"TableInfo(tabOut,8)"), L"3");
  for (int K = 1; K <= 3; ++K) {
    App.Do(L"Fetch Rec " + std::to_wstring(K) + L" From tabOut");
    App.Do(L"O1 = tabOut.Obj");
    App.Do(L"R1 = tabOut.ind");
    EXPECT_EQ(App.Eval(L"R1"), std::to_wstring(K + 6));
    double X = Points[K - 1].x, Y = Points[K - 1].y;
    ConvertPoint(From, To, X, Y);
    EXPECT_NEAR(EvalDouble(App, L"ObjectGeography(O1,1)"), X, StorageTolerance);
    EXPECT_NEAR(EvalDouble(App, L"ObjectGeography(O1,2)"), Y, StorageTolerance);
  }
  App.Do(L"UnDim O1");
  App.Do(L"UnDim R1");
  EXPECT_TRUE(FileExists(T + L"tab1.mif"));
  EXPECT_TRUE(FileExists(T + L"tabPnt.mif"));
  App.Do(L"End MapInfo");
}

// A MIF rewritten by the program is imported into a table that stays open.
TEST_F(MapInfoRoads, ImportLeavesTheTableOpen) {
  WritePointTable(Temp / L"src.mif",
                  "CoordSys NonEarth Units \"m\" Bounds (0, 0) (10000000, 10000000)",
                  {{1000.5, 2000.25}, {3000, 4000}});
  TDispatchClient App = Start();
  CloseTable(App, L"tabOut");
  App.Do(L"Import \"" + Temp.Path() + L"src.mif\" Type \"MIF\" Into \"" + Temp.Path() +
         L"tabOut\" OverWrite");
  EXPECT_EQ(App.Eval(L"TableInfo(tabOut,8)"), L"2");
  App.Do(L"Commit Table tabOut As \"" + Temp.Path() + L"final\"");
  App.Do(L"Close Table tabOut");
  App.Do(L"End MapInfo");
  auto R = tabengine::TableReader::Open(Temp / L"final.tab");
  ASSERT_EQ(R->RowCount(), 2);
  tabengine::Feature F;
  R->ReadFeature(1, F);
  EXPECT_FALSE(R->Schema().coordsys.earth);
  ExpectNear(F.geometry.parts.at(0).at(0), 1000.5, 2000.25, 0.01);
}

}  // namespace
