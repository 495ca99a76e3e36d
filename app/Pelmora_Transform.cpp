#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "Pelmora.h"

namespace {

constexpr Double DegToRad = 0.017453292519943295;
constexpr int MaxDigits = 15;

// Decimal digits of a non-zero finite value: AValue = 0.D1D2... * 10^AExp.
struct TDecimal {
  char Digits[24];
  int Count = 0;
  int Exp = 0;
};

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
  while (ADec.Count > 1 && ADec.Digits[ADec.Count - 1] == '0') --ADec.Count;
}

// The value rounded to 15 significant digits, trailing zeros removed. The
// shortest round-trip text has at most 15 digits for most values, and then it
// is that rounding already (for normal values 15-digit decimals lie further
// apart than the shortest text can stray from the value).
void ToDecimal(Double AValue, TDecimal& ADec) {
  char Tmp[40];
  auto R = std::to_chars(Tmp, Tmp + sizeof(Tmp), AValue, std::chars_format::scientific);
  SplitScientific(Tmp, R.ptr, ADec);
  // Below the normal range the shortest text is no longer the rounding.
  if (ADec.Count > MaxDigits || AValue < std::numeric_limits<Double>::min()) {
    R = std::to_chars(Tmp, Tmp + sizeof(Tmp), AValue, std::chars_format::scientific, MaxDigits - 1);
    SplitScientific(Tmp, R.ptr, ADec);
  }
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
  for (int I = 0; I < D.Exp; ++I) *P++ = I < D.Count ? D.Digits[I] : '0';
  if (D.Count > D.Exp) {
    *P++ = '.';
    std::memcpy(P, D.Digits + D.Exp, D.Count - D.Exp);
    P += D.Count - D.Exp;
  }
  return P;
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

bool TryMifStrToFloat(std::string_view AText, Double& AValue) {
  std::string_view S = TrimBlanks(AText);
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

Double MifStrToFloat(std::string_view AText) {
  Double V = 0;
  if (!TryMifStrToFloat(AText, V)) {
    String Text;
    if (!AText.empty()) {
      int N =
          MultiByteToWideChar(CP_ACP, 0, AText.data(), static_cast<int>(AText.size()), nullptr, 0);
      Text.resize(N);
      MultiByteToWideChar(CP_ACP, 0, AText.data(), static_cast<int>(AText.size()), Text.data(), N);
    }
    throw EConvertError(L"\"" + Text + L"\" не является числом.");
  }
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
