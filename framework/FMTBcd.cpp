#include "FMTBcd.h"

#include <algorithm>
#include <string>

namespace {

// A decimal as its significant digits (no leading zeros; empty for zero)
// scaled by ten to the minus Scale.
struct TDecimal {
  bool Negative = false;
  std::string Digits;
  Integer Scale = 0;
};

void StripLeadingZeros(TDecimal& D) {
  size_t I = D.Digits.find_first_not_of('0');
  D.Digits.erase(0, I == std::string::npos ? D.Digits.size() : I);
  if (D.Digits.empty()) D.Negative = false;
}

// Drops zeros after the point that carry no value.
void StripTrailingZeros(TDecimal& D) {
  while (D.Scale > 0 && !D.Digits.empty() && D.Digits.back() == '0') {
    D.Digits.pop_back();
    --D.Scale;
  }
  if (D.Digits.empty()) D.Scale = 0;
}

bool ParseDecimal(const String& S, Char ADecimalSeparator, TDecimal& D) {
  size_t I = 0, N = S.size();
  while (I < N && S[I] == L' ') ++I;
  while (N > I && S[N - 1] == L' ') --N;
  if (I < N && (S[I] == L'+' || S[I] == L'-')) D.Negative = S[I++] == L'-';
  bool AnyDigit = false;
  Integer FractionDigits = 0;
  bool InFraction = false;
  for (; I < N; ++I) {
    Char C = S[I];
    if (C >= L'0' && C <= L'9') {
      AnyDigit = true;
      D.Digits += static_cast<char>(C);
      if (InFraction) ++FractionDigits;
    } else if (C == ADecimalSeparator && !InFraction) {
      InFraction = true;
    } else {
      break;
    }
  }
  if (!AnyDigit) return false;
  Integer Exponent = 0;
  if (I < N && (S[I] == L'E' || S[I] == L'e')) {
    ++I;
    bool NegativeExponent = false;
    if (I < N && (S[I] == L'+' || S[I] == L'-')) NegativeExponent = S[I++] == L'-';
    if (I >= N) return false;
    for (; I < N && S[I] >= L'0' && S[I] <= L'9'; ++I) {
      if (Exponent > 100000) return false;
      Exponent = Exponent * 10 + (S[I] - L'0');
    }
    if (NegativeExponent) Exponent = -Exponent;
  }
  if (I != N) return false;
  D.Scale = FractionDigits - Exponent;
  StripLeadingZeros(D);
  return true;
}

enum class TPackResult { prOk, prOverflow };

TPackResult Pack(TDecimal D, TBcd& Bcd) {
  StripLeadingZeros(D);
  if (D.Scale < 0) {
    if (!D.Digits.empty()) {
      if (static_cast<Integer>(D.Digits.size()) - D.Scale > MaxFMTBcdFractionSize)
        return TPackResult::prOverflow;
      D.Digits.append(static_cast<size_t>(-D.Scale), '0');
    }
    D.Scale = 0;
  }
  Integer Count = std::max<Integer>(static_cast<Integer>(D.Digits.size()), D.Scale);
  if (Count > MaxFMTBcdFractionSize || D.Scale > MaxFMTBcdFractionSize - 1) {
    StripTrailingZeros(D);
    Count = std::max<Integer>(static_cast<Integer>(D.Digits.size()), D.Scale);
    if (Count > MaxFMTBcdFractionSize || D.Scale > MaxFMTBcdFractionSize - 1)
      return TPackResult::prOverflow;
  }
  if (Count == 0) Count = 1;
  std::string All(static_cast<size_t>(Count) - D.Digits.size(), '0');
  All += D.Digits;
  Bcd = TBcd{};
  Bcd.Precision = static_cast<Byte>(Count);
  Bcd.SignSpecialPlaces = static_cast<Byte>((D.Negative ? 0x80 : 0) | D.Scale);
  for (Integer K = 0; K < Count; ++K) {
    Byte Digit = static_cast<Byte>(All[static_cast<size_t>(K)] - '0');
    Bcd.Fraction[K / 2] |= static_cast<Byte>(K % 2 == 0 ? Digit << 4 : Digit);
  }
  return TPackResult::prOk;
}

TDecimal Unpack(const TBcd& Bcd) {
  TDecimal D;
  Integer Count = std::min<Integer>(Bcd.Precision, MaxFMTBcdFractionSize);
  for (Integer K = 0; K < Count; ++K) {
    Byte Pair = Bcd.Fraction[K / 2];
    Byte Digit = static_cast<Byte>(K % 2 == 0 ? Pair >> 4 : Pair & 0x0F);
    D.Digits += static_cast<char>('0' + std::min<Byte>(Digit, 9));
  }
  D.Scale = Bcd.SignSpecialPlaces & 0x3F;
  D.Negative = (Bcd.SignSpecialPlaces & 0x80) != 0;
  StripLeadingZeros(D);
  StripTrailingZeros(D);
  return D;
}

[[noreturn]] void RaiseInvalidBcd(const String& S) {
  throw EBcdException(L"'" + S + L"' is not a valid BCD value");
}

[[noreturn]] void RaiseBcdOverflow(const String& S) {
  throw EBcdOverflowException(L"BCD overflow: " + S);
}

String DecimalToText(const TDecimal& D, Char ADecimalSeparator) {
  if (D.Digits.empty()) return L"0";
  Integer Len = static_cast<Integer>(D.Digits.size());
  std::string Int, Frac;
  if (Len > D.Scale) {
    Int = D.Digits.substr(0, static_cast<size_t>(Len - D.Scale));
    Frac = D.Digits.substr(static_cast<size_t>(Len - D.Scale));
  } else {
    Int = "0";
    Frac = std::string(static_cast<size_t>(D.Scale - Len), '0') + D.Digits;
  }
  String R = D.Negative ? L"-" : L"";
  R.append(Int.begin(), Int.end());
  if (!Frac.empty()) {
    R += ADecimalSeparator;
    R.append(Frac.begin(), Frac.end());
  }
  return R;
}

Integer CompareMagnitude(const TDecimal& A, const TDecimal& B) {
  Integer IntA = static_cast<Integer>(A.Digits.size()) - A.Scale;
  Integer IntB = static_cast<Integer>(B.Digits.size()) - B.Scale;
  if (IntA != IntB) return IntA < IntB ? -1 : 1;
  // Same count of integer digits: the digit strings line up from the left.
  size_t N = std::max(A.Digits.size(), B.Digits.size());
  for (size_t I = 0; I < N; ++I) {
    char CA = I < A.Digits.size() ? A.Digits[I] : '0';
    char CB = I < B.Digits.size() ? B.Digits[I] : '0';
    if (CA != CB) return CA < CB ? -1 : 1;
  }
  return 0;
}

}  // namespace

bool TryStrToBcd(const String& S, TBcd& Bcd, const TFormatSettings& Settings) {
  TDecimal D;
  if (!ParseDecimal(S, Settings.DecimalSeparator, D)) return false;
  return Pack(D, Bcd) == TPackResult::prOk;
}

bool TryStrToBcd(const String& S, TBcd& Bcd) { return TryStrToBcd(S, Bcd, FormatSettings()); }

TBcd StrToBcd(const String& S, const TFormatSettings& Settings) {
  TDecimal D;
  if (!ParseDecimal(S, Settings.DecimalSeparator, D)) RaiseInvalidBcd(S);
  TBcd Bcd;
  if (Pack(D, Bcd) != TPackResult::prOk) RaiseBcdOverflow(S);
  return Bcd;
}

TBcd StrToBcd(const String& S) { return StrToBcd(S, FormatSettings()); }

String BcdToStr(const TBcd& Bcd, const TFormatSettings& Settings) {
  return DecimalToText(Unpack(Bcd), Settings.DecimalSeparator);
}

String BcdToStr(const TBcd& Bcd) { return BcdToStr(Bcd, FormatSettings()); }

TBcd IntegerToBcd(Int64 AValue) { return StrToBcd(IntToStr(AValue), TFormatSettings::Invariant()); }

TBcd DoubleToBcd(Double AValue) {
  const TFormatSettings FS = TFormatSettings::Invariant();
  return StrToBcd(FloatToStr(AValue, FS), FS);
}

Double BcdToDouble(const TBcd& Bcd) {
  const TFormatSettings FS = TFormatSettings::Invariant();
  return static_cast<Double>(StrToFloat(BcdToStr(Bcd, FS), FS));
}

TBcd CurrToBcd(Currency AValue) {
  TDecimal D;
  UInt64 Magnitude = AValue.Scaled < 0 ? UInt64(0) - static_cast<UInt64>(AValue.Scaled)
                                       : static_cast<UInt64>(AValue.Scaled);
  D.Negative = AValue.Scaled < 0;
  D.Digits = std::to_string(Magnitude);
  D.Scale = 4;
  StripLeadingZeros(D);
  TBcd Bcd;
  Pack(D, Bcd);
  return Bcd;
}

Currency BcdToCurr(const TBcd& Bcd) {
  TDecimal D = Unpack(Bcd);
  // Brings the value to exactly four decimals, rounding half away from zero.
  bool RoundUp = false;
  if (D.Scale > 4) {
    size_t Drop = static_cast<size_t>(D.Scale - 4), Len = D.Digits.size();
    size_t Keep = Drop >= Len ? 0 : Len - Drop;
    char RoundDigit = Drop > Len ? '0' : D.Digits[Keep];
    RoundUp = RoundDigit >= '5';
    D.Digits.resize(Keep);
    D.Scale = 4;
  }
  while (D.Scale < 4) {
    D.Digits += '0';
    ++D.Scale;
  }
  if (D.Digits.size() > 19) RaiseBcdOverflow(BcdToStr(Bcd, TFormatSettings::Invariant()));
  UInt64 Magnitude = 0;
  for (char C : D.Digits) Magnitude = Magnitude * 10 + static_cast<UInt64>(C - '0');
  if (RoundUp) ++Magnitude;
  UInt64 Limit = D.Negative ? UInt64(INT64_MAX) + 1 : UInt64(INT64_MAX);
  if (Magnitude > Limit) RaiseBcdOverflow(BcdToStr(Bcd, TFormatSettings::Invariant()));
  Currency R;
  R.Scaled = D.Negative ? static_cast<Int64>(UInt64(0) - Magnitude) : static_cast<Int64>(Magnitude);
  return R;
}

Integer BcdCompare(const TBcd& Bcd1, const TBcd& Bcd2) {
  TDecimal A = Unpack(Bcd1), B = Unpack(Bcd2);
  // Zero has no digits, so its place comes from the other side's sign.
  if (A.Digits.empty() || B.Digits.empty()) {
    if (A.Digits.empty() && B.Digits.empty()) return 0;
    if (A.Digits.empty()) return B.Negative ? 1 : -1;
    return A.Negative ? -1 : 1;
  }
  if (A.Negative != B.Negative) return A.Negative ? -1 : 1;
  Integer R = CompareMagnitude(A, B);
  return A.Negative ? -R : R;
}

Word BcdPrecision(const TBcd& Bcd) { return Bcd.Precision; }
Word BcdScale(const TBcd& Bcd) { return Bcd.SignSpecialPlaces & 0x3F; }
bool IsBcdNegative(const TBcd& Bcd) { return (Bcd.SignSpecialPlaces & 0x80) != 0; }

Variant VarFMTBcdCreate(const TBcd& ABcd) { return Variant::FromBcd(ABcd); }

Variant VarFMTBcdCreate(const String& AValue) { return Variant::FromBcd(StrToBcd(AValue)); }

bool VarIsFMTBcd(const Variant& V) { return (VarType(V) & varTypeMask) == varFMTBcd; }

TBcd VarToBcd(const Variant& V) { return V.AsBcd(); }
