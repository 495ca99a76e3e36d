#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "Pelmora.h"

namespace {

constexpr Double DegToRad = 0.017453292519943295;
constexpr int MaxDigits = 15;

// Decimal digits of a non-zero finite value: AValue = 0.D1D2... * 10^AExp.
// Digits past Count up to Exp are '0', and the array is longer than any
// text, so that FormatMifFloat copies it in fixed blocks.
struct TDecimal {
  char Digits[32];
  int Count = 0;
  int Exp = 0;
};

// The framework's float text takes 18 correctly rounded significant digits
// and rounds those half away from zero to 15; the MIF text must be the same
// text, so it rounds the same way twice.
constexpr int WideDigits = 18;

// Reads the significand digits and the exponent of a to_chars scientific text
// ("d.ddde+XX", no sign).
void SplitScientific(const char* AFirst, const char* ALast, TDecimal& ADec) {
  ADec.Count = 0;
  const char* P = AFirst;
  for (; P < ALast && *P != 'e'; ++P)
    if (*P != '.') ADec.Digits[ADec.Count++] = *P;
  int E = 0;
  std::from_chars(P + 1 + (P[1] == '+' ? 1 : 0), ALast, E);
  ADec.Exp = E + 1;
}

// Rounds 18 digits half away from zero to 15 and drops trailing zeros.
void RoundToPrecision(TDecimal& ADec) {
  bool Up = ADec.Count > MaxDigits && ADec.Digits[MaxDigits] >= '5';
  ADec.Count = std::min(ADec.Count, MaxDigits);
  if (Up) {
    int I = ADec.Count - 1;
    while (I >= 0 && ADec.Digits[I] == '9') ADec.Digits[I--] = '0';
    if (I >= 0) {
      ++ADec.Digits[I];
    } else {
      ADec.Digits[0] = '1';
      ++ADec.Exp;
    }
  }
  while (ADec.Count > 1 && ADec.Digits[ADec.Count - 1] == '0') --ADec.Count;
}

using UInt128 = unsigned __int128;

constexpr uint64_t Pow10(int N) { return N == 0 ? 1 : 10 * Pow10(N - 1); }
constexpr uint64_t Pow10Table[] = {Pow10(0),  Pow10(1),  Pow10(2),  Pow10(3),  Pow10(4),
                                   Pow10(5),  Pow10(6),  Pow10(7),  Pow10(8),  Pow10(9),
                                   Pow10(10), Pow10(11), Pow10(12), Pow10(13), Pow10(14),
                                   Pow10(15), Pow10(16), Pow10(17), Pow10(18), Pow10(19)};

// round(M * 10^K / 2^S), halves to even: the exact value scaled, rounded once.
// M < 2^53 and 10^K < 2^64 keep the product within 128 bits, and one
// 64-by-64 multiplication makes it; larger powers are split in two.
uint64_t ScaleRound(uint64_t M, int K, int S) {
  UInt128 P = K <= 19 ? static_cast<UInt128>(M) * Pow10Table[K]
                      : static_cast<UInt128>(M) * Pow10Table[K - 19] * Pow10Table[19];
  UInt128 Q = P >> S;
  UInt128 R = P - (Q << S);
  UInt128 Half = static_cast<UInt128>(1) << (S - 1);
  // Without branches: which way a coordinate rounds is a coin toss, and a
  // mispredicted branch costs more than the arithmetic.
  uint64_t Up = static_cast<uint64_t>(R > Half) | (static_cast<uint64_t>(R == Half) & Q);
  return static_cast<uint64_t>(Q) + (Up & 1);
}

constexpr char DigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The eight digits of V < 10^8, leading zeros included, in 32-bit steps.
inline void PutEightDigits(char* P, uint32_t V) {
  uint32_t Hi = V / 10000, Lo = V % 10000;
  std::memcpy(P, DigitPairs + 2 * (Hi / 100), 2);
  std::memcpy(P + 2, DigitPairs + 2 * (Hi % 100), 2);
  std::memcpy(P + 4, DigitPairs + 2 * (Lo / 100), 2);
  std::memcpy(P + 6, DigitPairs + 2 * (Lo % 100), 2);
}

// Magnitudes of map coordinates: exact integer arithmetic on the binary
// value gives the 18 correctly rounded digits without a general conversion,
// and they are rounded to 15 on the integer. False outside the range where it
// applies.
bool FastDecimal(Double AValue, TDecimal& ADec) {
  if (!(AValue >= 1e-3 && AValue < 1e15)) return false;
  uint64_t Bits;
  std::memcpy(&Bits, &AValue, sizeof(Bits));
  uint64_t M = (Bits & ((uint64_t(1) << 52) - 1)) | (uint64_t(1) << 52);
  int S = 1075 - static_cast<int>(Bits >> 52);  // AValue = M / 2^S, S > 0 here
  // First guess of the decimal exponent, corrected by the result's length.
  // floor(E2 * log10 2) is the exponent or one below it.
  int Log = ((static_cast<int>(Bits >> 52) - 1023) * 78913) >> 18;
  int K = WideDigits - 1 - Log;
  constexpr uint64_t Low = 100000000000000000ull, High = 1000000000000000000ull;
  uint64_t N = ScaleRound(M, K, S);
  if (N >= High)
    N = ScaleRound(M, --K, S);
  else if (N < Low)
    N = ScaleRound(M, ++K, S);
  if (N < Low || N >= High) return false;
  int Exp = WideDigits - K;
  // Half away from zero from 18 digits to 15, as RoundToPrecision does.
  constexpr uint64_t Top = 1000000000000000ull;
  // (N + 500) / 1000 is N / 1000 rounded so, without a branch.
  uint64_t N15 = (N + 500) / 1000;
  if (N15 == Top) {
    N15 = Top / 10;
    ++Exp;
  }
  // 15 digits: seven, then eight.
  uint32_t Head = static_cast<uint32_t>(N15 / 100000000);
  PutEightDigits(ADec.Digits, Head * 10);
  PutEightDigits(ADec.Digits + 7, static_cast<uint32_t>(N15 % 100000000));
  // Trailing zeros counted on the integer: the digits just stored are not
  // read back before they have landed.
  int Count = MaxDigits;
  for (uint64_t Rest = N15; Rest % 10 == 0; Rest /= 10) --Count;
  ADec.Count = Count;
  ADec.Exp = Exp;
  return true;
}

void ToDecimal(Double AValue, TDecimal& ADec) {
  if (FastDecimal(AValue, ADec)) return;
  char Tmp[48];
  auto R = std::to_chars(Tmp, Tmp + sizeof(Tmp), static_cast<long double>(AValue),
                         std::chars_format::scientific, WideDigits - 1);
  SplitScientific(Tmp, R.ptr, ADec);
  RoundToPrecision(ADec);
  std::memset(ADec.Digits + ADec.Count, '0', sizeof(ADec.Digits) - ADec.Count);
}

char* PutExponent(char* P, int AExp) {
  *P++ = 'E';
  if (AExp < 0) {
    *P++ = '-';
    AExp = -AExp;
  }
  return std::to_chars(P, P + 8, AExp).ptr;
}

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }

std::string_view TrimBlanks(std::string_view S) {
  while (!S.empty() && IsBlank(S.front())) S.remove_prefix(1);
  while (!S.empty() && IsBlank(S.back())) S.remove_suffix(1);
  return S;
}

}  // namespace

char* FormatMifFloat(char* ABuf, Double AValue) {
  char* P = ABuf;
  if (std::isnan(AValue)) {
    std::memcpy(P, "NAN", 3);
    return P + 3;
  }
  if (AValue < 0) *P++ = '-';
  if (std::isinf(AValue)) {
    std::memcpy(P, "INF", 3);
    return P + 3;
  }
  if (AValue == 0) {
    // Negative zero is written "0" as well.
    ABuf[0] = '0';
    return ABuf + 1;
  }
  TDecimal D;
  ToDecimal(std::fabs(AValue), D);
  if (D.Exp > MaxDigits || D.Exp < -3) {
    *P++ = D.Digits[0];
    if (D.Count > 1) {
      *P++ = '.';
      std::memcpy(P, D.Digits + 1, D.Count - 1);
      P += D.Count - 1;
    }
    return PutExponent(P, D.Exp - 1);
  }
  if (D.Exp <= 0) {
    *P++ = '0';
    *P++ = '.';
    for (int I = D.Exp; I < 0; ++I) *P++ = '0';
    std::memcpy(P, D.Digits, D.Count);
    return P + D.Count;
  }
  // Map coordinates: the digits go in blocks of 16, whatever their count, and
  // what lies past the text is scratch (at most 1 + 14 + 1 + 16 bytes are
  // touched, within MifFloatBufSize). Digits past Count are zeros.
  static_assert(MifFloatBufSize >= 32);
  std::memcpy(P, D.Digits, 16);
  if (D.Count <= D.Exp) return P + D.Exp;
  P[D.Exp] = '.';
  std::memcpy(P + D.Exp + 1, D.Digits + D.Exp, 16);
  return P + D.Count + 1;
}

AnsiString MifFloatToStr(Double AValue) {
  char Buf[MifFloatBufSize];
  return AnsiString(Buf, FormatMifFloat(Buf, AValue));
}

String MifFloatToWStr(Double AValue) {
  char Buf[MifFloatBufSize];
  char* End = FormatMifFloat(Buf, AValue);
  return String(Buf, End);
}

namespace {

constexpr Double ExactPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                 1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// "[-]digits[.digits]" whose digits make an integer below 2^53: that integer
// and the power of ten are exact doubles, so one division rounds correctly.
// False for anything else, which the general conversion then decides.
bool FastStrToFloat(std::string_view S, Double& AValue) {
  const char* P = S.data();
  const char* End = P + S.size();
  bool Neg = P < End && *P == '-';
  if (Neg) ++P;
  uint64_t W = 0;
  int Digits = 0, Decimals = 0;
  const char* Start = P;
  while (P < End && *P >= '0' && *P <= '9') W = W * 10 + (*P++ - '0');
  Digits = static_cast<int>(P - Start);
  if (Digits == 0) return false;
  if (P < End && *P == '.') {
    Start = ++P;
    while (P < End && *P >= '0' && *P <= '9') W = W * 10 + (*P++ - '0');
    Decimals = static_cast<int>(P - Start);
    if (Decimals == 0) return false;
  }
  if (P != End || Digits + Decimals > 19 || W > (uint64_t(1) << 53) || Decimals > 22) return false;
  // W fits a signed integer, whose conversion is one instruction.
  Double V = static_cast<Double>(static_cast<int64_t>(W)) / ExactPow10[Decimals];
  AValue = Neg ? -V : V;
  return true;
}

}  // namespace

bool TryMifStrToFloat(std::string_view AText, Double& AValue) {
  std::string_view S = TrimBlanks(AText);
  if (FastStrToFloat(S, AValue)) return true;
  // from_chars takes no "+" sign; a sign of its own after it is not a number.
  if (!S.empty() && S.front() == '+') {
    S.remove_prefix(1);
    if (!S.empty() && S.front() == '-') return false;
  }
  if (S.empty()) return false;
  // Only plain decimal text: from_chars would also take "inf" and "nan".
  char C = S.front() == '-' && S.size() > 1 ? S[1] : S.front();
  if (!(C >= '0' && C <= '9') && C != '.') return false;
  Double V = 0;
  auto R = std::from_chars(S.data(), S.data() + S.size(), V, std::chars_format::general);
  if (R.ec != std::errc() || R.ptr != S.data() + S.size() || !std::isfinite(V)) return false;
  AValue = V;
  return true;
}

Double MifStrToFloat(std::string_view AText, UINT ACodePage) {
  Double V = 0;
  if (!TryMifStrToFloat(AText, V))
    throw EConvertError(L"\"" + TableTextToString(AText, ACodePage) + L"\" не является числом.");
  return V;
}

Double GetAngle(Double ADeg, Double AMin, Double ASec) { return ADeg + AMin / 60 + ASec / 3600; }

TCoordTransform::TCoordTransform(const TTransformParams& AParams, const String& AFormation)
    : FParams(AParams) {
  const TTransformParams& P = AParams;
  bool Finite = std::isfinite(P.xold) && std::isfinite(P.yold) && std::isfinite(P.xnew) &&
                std::isfinite(P.ynew) && std::isfinite(P.angle) && std::isfinite(P.scale);
  if (!Finite)
    throw EFormationError(L"Параметры муниципального образования \"" + AFormation +
                          L"\" не являются числами: пересчет невозможен.");
  if (P.scale == 0)
    throw EFormationError(L"Масштаб муниципального образования \"" + AFormation +
                          L"\" равен нулю: пересчет невозможен.");
  Double A = P.angle * DegToRad;
  FCos = std::cos(A);
  FSin = std::sin(A);
  FInvScale = 1 / P.scale;
}

void TCoordTransform::recalcCoord(Integer AStyle, Double y1, Double x1, Double& y2,
                                  Double& x2) const {
  const TTransformParams& P = FParams;
  if (AStyle == tsForward) {
    Double dx = x1 - P.xold;
    Double dy = y1 - P.yold;
    x2 = P.xnew + P.scale * (FCos * dx - FSin * dy);
    y2 = P.ynew + P.scale * (FSin * dx + FCos * dy);
  } else if (AStyle == tsShift) {
    x2 = x1 + 7000000;
    y2 = y1 + 4000000;
  } else {
    // cos(-a) = cos a, sin(-a) = -sin a.
    Double dx = x1 - P.xnew;
    Double dy = y1 - P.ynew;
    x2 = P.xold + FInvScale * (FCos * dx + FSin * dy);
    y2 = P.yold + FInvScale * (-FSin * dx + FCos * dy);
  }
}

Integer DetectInputClass(const String& AClause, Double AMaxX, Double AMaxY) {
  if (AClause.find(L"NonEarth") != String::npos) {
    if (AMaxX < 400000) return icLocal;
    if (AMaxX > 400000 && AMaxX < 2000000) return icShift;
    if (AMaxX > 2000000 && AMaxY < 2000000) return icMsk89;
    if (AMaxX > 2000000 && AMaxY > 2000000) return icSk63;
    return icNone;
  }
  if (AClause.find(L"5811057") != String::npos) return icEarth5811057;
  if (AClause.find(L"11057") != String::npos) return icEarth11057;
  return icNone;
}

String UnknownNonEarthClassMessage(Double AMaxX, Double AMaxY) {
  return L"неземная система координат с наибольшими координатами восток " + FloatToStr(AMaxX) +
         L", север " + FloatToStr(AMaxY) +
         L" не подходит ни к одному входному классу (восток меньше 400000, от 400000 до 2000000 "
         L"или больше 2000000; север меньше или больше 2000000). Таблица не пересчитана.";
}
