// The interpreter in-process: expressions, variables, statements, errors.
#include <gtest/gtest.h>

#include <cmath>

#include "TempFolder.h"
#include "miMapBasic.h"

namespace {

String ErrorOf(TMapBasicSession& S, const String& AStatement, bool AIsDo = true) {
  try {
    if (AIsDo) {
      S.Do(AStatement);
    } else {
      S.Eval(AStatement);
    }
  } catch (const EMapBasicError& E) {
    return E.Message();
  }
  return L"(no error)";
}

double EvalFloat(TMapBasicSession& S, const String& AExpression) {
  TMBValue V = S.Evaluate(AExpression);
  EXPECT_TRUE(V.IsNumber()) << testing::PrintToString(AExpression);
  return V.AsFloat();
}

TEST(MapBasicNumbers, TextUnderBothDecimalSeparators) {
  struct {
    double Value;
    const wchar_t* Dot;
    const wchar_t* Comma;
  } Cases[] = {
      {1.5, L"1.5", L"1,5"},
      {7413000.75, L"7413000.75", L"7413000,75"},
      {0.1 + 0.2, L"0.3", L"0,3"},  // 15 significant digits, no binary noise
      {12.0, L"12", L"12"},
      {-0.0, L"0", L"0"},
      {-6179000.25, L"-6179000.25", L"-6179000,25"},
      {1e20, L"1E20", L"1E20"},
      {1234567.891, L"1234567.891", L"1234567,891"},  // never a thousands separator
  };
  for (const auto& C : Cases) {
    EXPECT_EQ(FloatToMapBasicText(C.Value, L"."), C.Dot);
    EXPECT_EQ(FloatToMapBasicText(C.Value, L","), C.Comma);
  }
  TMBValue T = TMBValue::MakeLogical(true), I = TMBValue::MakeInt(-42);
  EXPECT_EQ(ValueToText(T, L","), L"T");
  EXPECT_EQ(ValueToText(I, L","), L"-42");
}

TEST(MapBasicSession, ExpressionsAndVariables) {
  TOwned<TMapBasicSession> S = MakeOwned<TMapBasicSession>();
  struct {
    const wchar_t* Expression;
    double Value;
  } Cases[] = {{L"1 + 2 * 3", 7}, {L"(1 + 2) * 3", 9}, {L"-2 - -3", 1},
               {L"7 / 2", 3.5},   {L"1.5e3", 1500},    {L".5", 0.5}};
  for (const auto& C : Cases) EXPECT_EQ(EvalFloat(*S, C.Expression), C.Value) << C.Value;
  EXPECT_EQ(S->Eval(L"1 < 2 And Not 2 <= 1"), L"T");
  EXPECT_EQ(S->Eval(L"\"a\" = \"A\" Or 1 <> 1"), L"T");
  EXPECT_EQ(S->Eval(L"\"ab\" + \"c\""), L"abc");
}

TEST(MapBasicSession, DimAssignUndim) {
  TOwned<TMapBasicSession> S = MakeOwned<TMapBasicSession>();
  S->Do(L"Dim R1 As Integer");
  EXPECT_EQ(S->Eval(L"R1"), L"0");
  S->Do(L"R1 = 2.5 * 3");  // rounds to the declared type
  EXPECT_EQ(S->Eval(L"r1"), L"8");
  S->Do(L"Dim A, B As Float");
  S->Do(L"A = R1 / 4");
  EXPECT_EQ(EvalFloat(*S, L"A"), 2.0);
  S->Do(L"Dim N As String");
  S->Do(L"N = \"say \"\"hi\"\"\"");
  EXPECT_EQ(S->Eval(L"N"), L"say \"hi\"");
  S->Do(L"Dim O1 As Object");
  S->Do(L"O1=CreatePoint(7413000.5,6179000.25)");
  EXPECT_EQ(S->Eval(L"O1"), L"Point");
  EXPECT_EQ(EvalFloat(*S, L"ObjectGeography(O1,1)"), 7413000.5);
  EXPECT_EQ(EvalFloat(*S, L"ObjectGeography(O1, 2)"), 6179000.25);
  S->Do(L"Undim O1");
  S->Do(L"UnDim R1");
  EXPECT_EQ(ErrorOf(*S, L"R1", false), L"Variable or Field R1 not defined.");
}

TEST(MapBasicSession, ErrorTexts) {
  TOwned<TMapBasicSession> S = MakeOwned<TMapBasicSession>();
  S->Do(L"Dim O1 As Object");
  S->Do(L"Dim R1 As Integer");
  struct {
    const wchar_t* Text;
    bool IsDo;
    const wchar_t* Message;
  } Cases[] = {
      {L"Dim O1 As Object", true, L"Variable O1 already defined."},
      {L"Dim X As Frob", true, L"Found [Frob] while searching for [variable type]."},
      {L"Undim Q", true, L"Variable Q not defined."},
      {L"Q = 1", true, L"Variable or Field Q not defined."},
      {L"R1 = O1", true, L"Variable O1 holds no object."},
      {L"R1 = CreatePoint(1, 2)", true, L"Expression type mismatch."},
      {L"Set ProgressBars Maybe", true, L"Found [Maybe] while searching for [Off]."},
      {L"Set Distance Units \"parsec\"", true, L"Unrecognized unit name: parsec."},
      {L"Set CoordSys Earth Projection 8, 4242, \"m\", 39, 0, 1, 7500000, 0", true,
       L"Invalid Coordinate System."},
      {L"Set CoordSys Table nosuch", true, L"Table nosuch is not open."},
      {L"Open Table \"C:\\nowhere\\none.tab\" As tab1", true,
       L"File C:\\nowhere\\none.tab not found."},
      {L"Close Table tab1", true, L"Table tab1 is not open."},
      {L"Export tab1 Into \"x.mif\" Type \"MIF\" OverWrite", true, L"Table tab1 is not open."},
      {L"Fetch Rec 1 From tab1", true, L"Table tab1 is not open."},
      {L"End MapInfo Now", true, L"Found [Now] while searching for [end of statement]."},
      {L"TableInfo(tab1, 8)", false, L"Table tab1 is not open."},
      {L"tab1.Obj", false, L"Table tab1 is not open."},
      {L"SystemInfo(42)", false, L"SystemInfo: argument 42 out of range."},
      {L"ObjectGeography(R1, 1)", false, L"Expression type mismatch."},
      {L"1 / 0", false, L"Division by zero."},
      {L"(1 + 2", false, L"Found [end of statement] while searching for [)]."},
      {L"\"open", false, L"Unterminated string constant."},
      {L"1 ; 2", false, L"Found [;] while searching for a statement."},
      // Coordinates written with a decimal comma are four arguments, never a
      // silently different point.
      {L"O1=CreatePoint(7413000,50,6179000,25)", true,
       L"Wrong number of arguments for function CreatePoint."},
  };
  for (const auto& C : Cases)
    EXPECT_EQ(ErrorOf(*S, C.Text, C.IsDo), C.Message) << testing::PrintToString(String(C.Text));
}

TEST(MapBasicSession, SessionSettings) {
  TOwned<TMapBasicSession> S = MakeOwned<TMapBasicSession>();
  EXPECT_TRUE(S->ProgressBars());
  S->Do(L"Set ProgressBars Off");
  EXPECT_FALSE(S->ProgressBars());
  S->Do(L"Set Distance Units \"m\"");
  EXPECT_EQ(S->DistanceUnits(), L"m");
  S->Do(L"Set   CoordSys NonEarth Units \"m\" Bounds (0,0) (10000000,10000000)");
  EXPECT_FALSE(S->SessionCoordSys().Earth);
  int Ended = 0;
  struct TCounter : TObject {
    int* N;
    void Hit(TObject*) { ++*N; }
  } Counter;
  Counter.N = &Ended;
  S->OnEndApplication = MakeEvent<&TCounter::Hit>(&Counter);
  S->Do(L"End MapInfo");
  EXPECT_EQ(Ended, 1);
  EXPECT_TRUE(S->Ended());
}

// Objects keep the system they were made in; ObjectGeography answers in the
// session's system. Reference values: zone 7 of Pulkovo 1942 at 55.75 N,
// 37.6 E, recomputed with PROJ's cs2cs.
TEST(MapBasicSession, ObjectGeographyFollowsTheSessionCoordSys) {
  TOwned<TMapBasicSession> S = MakeOwned<TMapBasicSession>();
  S->Do(L"Set CoordSys Earth Projection 1, 1001");
  S->Do(L"Dim O1 As Object");
  S->Do(L"O1 = CreatePoint(37.6, 55.75)");
  S->Do(L"Set CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0");
  EXPECT_NEAR(EvalFloat(*S, L"ObjectGeography(O1, 1)"), 7412088.8357, 1e-3);
  EXPECT_NEAR(EvalFloat(*S, L"ObjectGeography(O1, 2)"), 6181724.2760, 1e-3);
  S->Do(L"Set CoordSys NonEarth Units \"m\"");
  EXPECT_EQ(ErrorOf(*S, L"ObjectGeography(O1, 1)", false),
            L"Cannot convert coordinates between Earth and NonEarth systems.");
}

}  // namespace
