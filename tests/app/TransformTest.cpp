#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "CommaLocale.h"
#include "Pelmora.h"

namespace {

struct TReferenceCase {
  const char* Formation;
  TTransformParams Params;
  Integer Style;
  Double East, North;          // input
  Double WantEast, WantNorth;  // from PROJ's cct, see make_transform_reference.sh
};

const TReferenceCase ReferenceCases[] = {
#include "TransformReference.inc"
};

constexpr Double Tolerance = 1e-6;  // metres

TEST(Transform, StylesOneAndThreeMatchIndependentReference) {
  for (const TReferenceCase& C : ReferenceCases) {
    TCoordTransform T(C.Params);
    Double E, N;
    T.recalcCoord(C.Style, C.East, C.North, E, N);
    EXPECT_NEAR(E, C.WantEast, Tolerance) << C.Formation << " style " << C.Style << " " << C.East;
    EXPECT_NEAR(N, C.WantNorth, Tolerance) << C.Formation << " style " << C.Style << " " << C.North;
  }
}

TEST(Transform, InverseUndoesForwardBothWays) {
  for (const TReferenceCase& C : ReferenceCases) {
    TCoordTransform T(C.Params);
    Integer There = C.Style == tsForward ? tsForward : tsInverse;
    Integer Back = There == tsForward ? tsInverse : tsForward;
    Double E, N, E2, N2;
    T.recalcCoord(There, C.East, C.North, E, N);
    T.recalcCoord(Back, E, N, E2, N2);
    EXPECT_NEAR(E2, C.East, Tolerance) << C.Formation;
    EXPECT_NEAR(N2, C.North, Tolerance) << C.Formation;
  }
}

TEST(Transform, ShiftStyleIgnoresFormation) {
  TCoordTransform T({123.4, 567.8, 7100000, 1500000, GetAngle(2, 30, 0), 1.5});
  const Double Points[][2] = {{0, 0}, {399999.99, 123456.78}, {-10.5, -20.25}};
  for (const auto& P : Points) {
    Double E, N;
    T.recalcCoord(tsShift, P[0], P[1], E, N);
    EXPECT_EQ(E, P[0] + 4000000);
    EXPECT_EQ(N, P[1] + 7000000);
  }
}

TEST(Transform, ZeroAngleUnitScaleIsPureShift) {
  TTransformParams P{1000, 2000, 7001000.5, 1402000.25, 0, 1};
  TCoordTransform T(P);
  Double E, N;
  T.recalcCoord(tsForward, 2500, 1500, E, N);
  EXPECT_EQ(N, P.xnew + 1500 - P.xold);
  EXPECT_EQ(E, P.ynew + 2500 - P.yold);
}

TEST(Transform, AngleFromDegreesMinutesSeconds) {
  EXPECT_DOUBLE_EQ(GetAngle(1, 30, 36), 1.51);
  EXPECT_DOUBLE_EQ(GetAngle(0, 0, 0), 0);
  EXPECT_DOUBLE_EQ(GetAngle(-1, -30, 0), -1.5);
}

TEST(Transform, FormationWithoutUsableScaleIsRefused) {
  const Double NaN = std::numeric_limits<Double>::quiet_NaN();
  const TTransformParams Bad[] = {{0, 0, 0, 0, 0, 0}, {0, 0, 0, 0, 0, -0.0}, {NaN, 0, 0, 0, 0, 1}};
  for (const TTransformParams& P : Bad) {
    try {
      TCoordTransform T(P, L"Надымский район");
      ADD_FAILURE() << "accepted scale " << P.scale;
    } catch (EFormationError& E) {
      EXPECT_NE(E.Message().find(L"Надымский район"), String::npos);
    }
  }
}

struct TClassCase {
  const wchar_t* Clause;
  Double MaxX, MaxY;
  Integer Want;
};

TEST(InputClass, BoundariesAndClauses) {
  const wchar_t* NonEarth = L"CoordSys NonEarth Units \"m\" Bounds (0, 0) (10000000, 10000000)";
  const TClassCase Cases[] = {
      {NonEarth, -5, -5, icLocal},
      {NonEarth, 399999.99, 9000000, icLocal},
      {NonEarth, 400000, 100, icNone},
      {NonEarth, 400000.01, 100, icShift},
      {NonEarth, 1999999.99, 9000000, icShift},
      {NonEarth, 2000000, 100, icNone},
      {NonEarth, 2000000.01, 1999999.99, icMsk89},
      {NonEarth, 2000000.01, 2000000, icNone},
      {NonEarth, 2000000.01, 2000000.01, icSk63},
      {L"CoordSys NonEarth Units \"m\" 5811057", 400000, 0, icNone},
      {L"CoordSys Earth Projection 8, 1001, \"m\", 60.05, 0, 1, 1500000, -5811057.63", 0, 0,
       icEarth5811057},
      {L"CoordSys Earth Projection 8, 1001, \"m\", 60.05, 0, 1, 2500000, -5911057.63", 0, 0,
       icEarth11057},
      {L"CoordSys Earth Projection 1, 104", 100, 100, icNone},
      {L"CoordSys nonearth Units \"m\"", 100, 100, icNone},
      {L"", 100, 100, icNone},
  };
  for (const TClassCase& C : Cases)
    EXPECT_EQ(DetectInputClass(C.Clause, C.MaxX, C.MaxY), C.Want)
        << "clause " << testing::PrintToString(String(C.Clause)) << " maxx " << C.MaxX << " maxy "
        << C.MaxY;
}

TEST(MifNumbers, WrittenLikeFloatToStr) {
  struct {
    Double Value;
    const char* Want;
  } const Cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {1, "1"},
      {-1.5, "-1.5"},
      {0.1 + 0.2, "0.3"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {7404649.37, "7404649.37"},
      {-7404649.37, "-7404649.37"},
      {123456.7890123456, "123456.789012346"},
      {123456789.123456789, "123456789.123457"},
      {999999999999999, "999999999999999"},
      {1e14, "100000000000000"},
      {9.999999999999999e14, "1E15"},
      {1e15, "1E15"},
      {1.2345e20, "1.2345E20"},
      {1e300, "1E300"},
      {0.0001, "0.0001"},
      {0.00012345, "0.00012345"},
      {1e-5, "1E-5"},
      {-1.5e-7, "-1.5E-7"},
      {5e-324, "4.94065645841247E-324"},
  };
  for (const auto& C : Cases) EXPECT_EQ(MifFloatToStr(C.Value), C.Want) << C.Value;
  EXPECT_EQ(MifFloatToWStr(-2.5), L"-2.5");
}

TEST(MifNumbers, ReadWithDotAndBlanksOnly) {
  struct {
    const char* Text;
    Double Want;
  } const Good[] = {{"1.5", 1.5}, {"  1.5 ", 1.5},
                    {"+2", 2},    {"-3.25", -3.25},
                    {"1e5", 1e5}, {"1E-5", 1e-5},
                    {".5", 0.5},  {"\t7404649.37", 7404649.37},
                    {"-0", 0},    {"6144520.22", 6144520.22}};
  for (const auto& C : Good) {
    Double V = -1;
    EXPECT_TRUE(TryMifStrToFloat(C.Text, V)) << C.Text;
    EXPECT_EQ(V, C.Want) << C.Text;
  }
  const char* Bad[] = {"",      "  ",  "1,5", "1.5x", "abc", "inf", "-nan",
                       "1e999", "--1", "+-1", "0x10", "1 2", "+"};
  for (const char* S : Bad) {
    Double V = 0;
    EXPECT_FALSE(TryMifStrToFloat(S, V)) << S;
  }
  try {
    MifStrToFloat("12,5");
    ADD_FAILURE();
  } catch (EConvertError& E) {
    EXPECT_NE(E.Message().find(L"12,5"), String::npos);
  }
}

TEST(MifNumbers, DotWhateverTheRegionalFormat) {
  TCommaLocale Comma;
  wchar_t Sep[8] = L"";
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Sep, 8);
  ASSERT_STREQ(Sep, L",");
  EXPECT_EQ(MifFloatToStr(1.25), "1.25");
  EXPECT_EQ(MifFloatToWStr(-7404649.37), L"-7404649.37");
  Double V = 0;
  EXPECT_TRUE(TryMifStrToFloat("6144520.22", V));
  EXPECT_EQ(V, 6144520.22);
  EXPECT_FALSE(TryMifStrToFloat("6144520,22", V));
}

}  // namespace

namespace {

// The framework's float text by its definition: 18 correctly rounded digits,
// rounded half away from zero to 15, general format.
std::string FloatToStrOracle(Double V) {
  if (V == 0) return "0";
  char Buf[64];
  auto R = std::to_chars(Buf, Buf + sizeof(Buf), std::fabs(static_cast<long double>(V)),
                         std::chars_format::scientific, 17);
  std::string Text(Buf, R.ptr);
  size_t EPos = Text.find('e');
  std::string D = Text.substr(0, 1) + Text.substr(2, EPos - 2);
  int Exp = std::stoi(Text.substr(EPos + 1)) + 1;
  bool Up = D[15] >= '5';
  D.resize(15);
  if (Up) {
    int I = 14;
    while (I >= 0 && D[I] == '9') D[I--] = '0';
    if (I >= 0) {
      ++D[I];
    } else {
      D.insert(D.begin(), '1');
      D.pop_back();
      ++Exp;
    }
  }
  while (D.size() > 1 && D.back() == '0') D.pop_back();
  std::string S = V < 0 ? "-" : "";
  if (Exp > 15 || Exp < -3) {
    S += D.substr(0, 1);
    if (D.size() > 1) S += "." + D.substr(1);
    return S + "E" + std::to_string(Exp - 1);
  }
  if (Exp <= 0) return S + "0." + std::string(-Exp, '0') + D;
  if (static_cast<int>(D.size()) <= Exp) return S + D + std::string(Exp - D.size(), '0');
  return S + D.substr(0, Exp) + "." + D.substr(Exp);
}

TEST(MifNumbers, SameTextAsFrameworkDefinition) {
  // Halves at the 16th digit round away from zero, also when they are exact.
  EXPECT_EQ(MifFloatToStr(7404649.001953125), "7404649.00195313");
  EXPECT_EQ(MifFloatToStr(123456789012344.5), "123456789012345");
  uint64_t Seed = 88172645463325252ull;
  auto Next = [&Seed] {
    Seed ^= Seed << 13;
    Seed ^= Seed >> 7;
    Seed ^= Seed << 17;
    return Seed;
  };
  const Double Scales[] = {1e-4, 1e-3, 0.1, 1, 1000, 400000, 7e6, 1e14, 1e15, 1e20};
  for (int I = 0; I < 200000; ++I) {
    Double Unit = static_cast<Double>(Next() >> 11) / 9007199254740992.0;
    Double V = Scales[I % 10] * (0.5 + 20 * Unit);
    if (I % 3 == 0) V = std::round(V * 100) / 100;  // two decimals, as MapInfo writes
    if (I % 7 == 0) V = -V;
    ASSERT_EQ(MifFloatToStr(V), FloatToStrOracle(V)) << std::hexfloat << V;
  }
}

}  // namespace

namespace {

TEST(MifNumbers, ReadsWhatTheGeneralConversionReads) {
  uint64_t Seed = 0x9E3779B97F4A7C15ull;
  auto Next = [&Seed] {
    Seed ^= Seed << 13;
    Seed ^= Seed >> 7;
    Seed ^= Seed << 17;
    return Seed;
  };
  for (int I = 0; I < 100000; ++I) {
    // Integers with up to 19 digits and a point somewhere in them.
    std::string S = std::to_string(Next() >> (I % 40));
    size_t Point = Next() % (S.size() + 1);
    if (Point < S.size()) S.insert(Point == 0 ? 1 : Point, ".");
    if (I % 5 == 0) S.insert(0, "-");
    Double Want = 0, Got = 0;
    auto R = std::from_chars(S.data(), S.data() + S.size(), Want);
    ASSERT_EQ(R.ptr, S.data() + S.size()) << S;
    ASSERT_TRUE(TryMifStrToFloat(S, Got)) << S;
    ASSERT_EQ(Got, Want) << S;
  }
}

}  // namespace
