// Reprojection against PROJ's cs2cs (tables written by proj-oracle.sh on the
// Linux side before this executable runs), and the CoordSys grammar.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "miProjection.h"

namespace {

std::string ReadFileText(const String& APath) {
  HANDLE F =
      CreateFileW(APath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (F == INVALID_HANDLE_VALUE) return std::string();
  std::string Text(GetFileSize(F, nullptr), '\0');
  DWORD Read = 0;
  ReadFile(F, Text.data(), static_cast<DWORD>(Text.size()), &Read, nullptr);
  CloseHandle(F);
  Text.resize(Read);
  return Text;
}

String Widen(const std::string& S) { return String(S.begin(), S.end()); }

std::vector<std::string> Split(const std::string& S, char ASep) {
  std::vector<std::string> Parts;
  std::string Cur;
  std::istringstream In(S);
  while (std::getline(In, Cur, ASep)) Parts.push_back(Cur);
  return Parts;
}

double ToDouble(const std::string& S) {
  double V = NAN;
  std::from_chars(S.data(), S.data() + S.size(), V);
  return V;
}

// The Unix folder that the oracle script wrote, as Wine sees it.
String OracleFolder() {
  wchar_t Buf[1024];
  DWORD N = GetEnvironmentVariableW(L"MAPINFO_PROJ_ORACLE", Buf, 1024);
  if (!N || N >= 1024) return String();
  String Path = L"Z:" + String(Buf, N) + L"\\";
  for (wchar_t& C : Path)
    if (C == L'/') C = L'\\';
  return Path;
}

// Distance in metres between two points of a system; degrees count by the
// length of one degree on the sphere of the Earth's mean radius.
double ErrorMetres(const TCoordSys& C, double X, double Y, double EX, double EY) {
  if (C.Earth && C.Projection == 1) {
    const double M = 6371008.8 * 3.14159265358979323846 / 180;
    return std::hypot((X - EX) * M * std::cos(EY * 3.14159265358979323846 / 180), (Y - EY) * M);
  }
  return std::hypot(X - EX, Y - EY);
}

TEST(Reprojection, MatchesProjOnGridsAcrossYamal) {
  String Folder = OracleFolder();
  ASSERT_FALSE(Folder.empty()) << "MAPINFO_PROJ_ORACLE is not set (run through CTest)";
  std::string Cases = ReadFileText(Folder + L"cases.txt");
  ASSERT_FALSE(Cases.empty()) << "no cases.txt in the oracle folder";
  int CaseCount = 0;
  for (const std::string& Line : Split(Cases, '\n')) {
    std::vector<std::string> F = Split(Line, '\t');
    if (F.size() != 5) continue;
    ++CaseCount;
    SCOPED_TRACE(F[0]);
    TCoordSys From = ParseCoordSysText(Widen(F[1])), To = ParseCoordSysText(Widen(F[2]));
    double Tolerance = ToDouble(F[3]), Worst = 0;
    int Points = 0;
    for (const std::string& Row : Split(ReadFileText(Folder + Widen(F[4])), '\n')) {
      std::vector<std::string> V = Split(Row, ' ');
      if (V.size() != 4) continue;
      double X = ToDouble(V[0]), Y = ToDouble(V[1]);
      ConvertPoint(From, To, X, Y);
      Worst = std::max(Worst, ErrorMetres(To, X, Y, ToDouble(V[2]), ToDouble(V[3])));
      ++Points;
    }
    EXPECT_GT(Points, 50);
    std::printf("%-16s %4d points, worst %.6f m (tolerance %s m)\n", F[0].c_str(), Points, Worst,
                F[3].c_str());
    EXPECT_LE(Worst, Tolerance) << Points << " points";
  }
  EXPECT_EQ(CaseCount, 18);
}

// Published and hand-checked values (Gauss-Kruger zone 7 and a local system
// with a false northing; a datum change between two Pulkovo 1942 realisations
// in the local system), cross-checked with cs2cs.
TEST(Reprojection, ReferencePoints) {
  const wchar_t* LL = L"CoordSys Earth Projection 1, 1001";
  const wchar_t* Zone7 = L"CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0";
  const wchar_t* Local =
      L"CoordSys Earth Projection 8, 1001, \"m\", 60.05, 0, 1, 1500000, -5911057.63";
  const wchar_t* LocalGost =
      L"CoordSys Earth Projection 8, 9999, 3, 23.57, -140.95, -79.8, 0, -0.35, -0.79, -0.22, 0, "
      L"\"m\", 60.05, 0, 1, 1500000, -5911057.63";
  struct {
    const wchar_t *From, *To;
    double X, Y, EX, EY;
  } Cases[] = {
      {LL, Zone7, 37.6, 55.75, 7412088.8357, 6181724.2760},
      {LL, Zone7, 48.0, 70.0, 7842600.2283, 7794464.9880},
      {LL, Local, 60.61, 56.84, 1534178.6896, 391289.0770},
      {Local, LocalGost, 1534178.6896, 391289.0770, 1534184.8412, 391277.6859},
      {Zone7, L"CoordSys Earth Projection 8, 1001, \"m\", 45, 0, 1, 8500000, 0", 7413000.5,
       6179000.25, 8036459.5510, 6202872.3126},
  };
  for (const auto& C : Cases) {
    double X = C.X, Y = C.Y;
    ConvertPoint(ParseCoordSysText(C.From), ParseCoordSysText(C.To), X, Y);
    EXPECT_NEAR(X, C.EX, 1e-3) << testing::PrintToString(String(C.To));
    EXPECT_NEAR(Y, C.EY, 1e-3) << testing::PrintToString(String(C.To));
  }
}

TEST(CoordSysClause, ParsesAndWritesBack) {
  const wchar_t* Cases[] = {
      L"CoordSys Earth Projection 1, 104",
      L"CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0",
      L"CoordSys Earth Projection 8, 9999, 3, 24, -123, -94, -0.02, 0.25, 0.13, 1.1, 0, \"m\", 39, "
      L"0, 1, 7500000, 0",
      L"CoordSys Earth Projection 1, 999, 3, 28, -130, -95",
      L"CoordSys Earth Projection 8, 1001, \"m\", 60.05, 0, 1, 1500000, -5911057.63 Bounds "
      L"(-10000000, -10000000) (10000000, 10000000)",
      L"CoordSys NonEarth Units \"m\" Bounds (0, 0) (10000000, 10000000)",
  };
  for (const wchar_t* C : Cases) EXPECT_EQ(ParseCoordSysText(C).Clause(), C);
  // Keywords in any letter case, blanks instead of commas.
  TCoordSys C = ParseCoordSysText(L"coordsys earth projection 8 1001 \"m\" 39 0 1 7500000 0");
  EXPECT_EQ(C.Clause(), Cases[1]);
  EXPECT_EQ(ParseCoordSysText(L"CoordSys Earth").Clause(), L"CoordSys Earth Projection 1, 0");
}

TEST(CoordSysClause, RejectsMalformedClauses) {
  const wchar_t* Cases[] = {
      L"CoordSys Moon",
      L"CoordSys Earth Projection 8, 1001",                                     // no unit
      L"CoordSys Earth Projection 8, 5555, \"m\", 39, 0, 1, 0, 0",              // unknown datum
      L"CoordSys Earth Projection 8, 9999, 77, 0, 0, 0, 0, 0, 0, 0, 0, \"m\"",  // ellipsoid
      L"CoordSys Earth Projection 8, 1001, \"furlong\", 39, 0, 1, 0, 0",
      L"CoordSys NonEarth Units \"m\" Bounds (10, 0) (0, 10)",
      L"CoordSys NonEarth Units \"m\" Bounds (0, 0)",
      L"CoordSys Earth Projection 1, 104 Trailing",
  };
  for (const wchar_t* C : Cases) {
    try {
      ParseCoordSysText(C);
      ADD_FAILURE() << testing::PrintToString(String(C));
    } catch (const EMapBasicError& E) {
      EXPECT_EQ(E.Message(), L"Invalid Coordinate System.");
    }
  }
}

// A projection the server does not compute is refused, never passed through.
TEST(Reprojection, UnsupportedProjectionRaises) {
  double X = 1, Y = 2;
  TCoordSys Lcc = ParseCoordSysText(L"CoordSys Earth Projection 3, 104, \"m\", 0, 0, 30, 60, 0, 0");
  EXPECT_THROW(ConvertPoint(Lcc, LongLatCoordSys(104), X, Y), EMapBasicError);
}

}  // namespace
