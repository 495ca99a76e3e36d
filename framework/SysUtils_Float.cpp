#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "SysUtils.h"

using SysUtilsDetail::ConvertError;

namespace {
constexpr Integer MaxPrecision = 18;

// Value = 0.Digits * 10^Exponent; Digits has no trailing zeros and is empty
// for zero.
struct TFloatRec {
  bool Negative = false;
  bool Special = false;  // NaN or infinity
  Integer Exponent = 0;
  std::string Digits;
};

// Decimal digits of Value rounded half away from zero to at most Precision
// significant digits and at most Decimals digits after the point. The
// rounding starts from 18 correctly rounded digits, as the framework's
// 18-digit conversion does.
TFloatRec FloatToDecimal(Extended Value, Integer Precision, Integer Decimals) {
  TFloatRec R;
  R.Negative = std::signbit(Value);
  if (std::isnan(Value) || std::isinf(Value)) {
    R.Special = true;
    return R;
  }
  if (Value == 0) {
    R.Negative = false;
    return R;
  }
  char Buf[64];
  auto Res = std::to_chars(Buf, Buf + sizeof Buf, std::fabs(Value), std::chars_format::scientific,
                           MaxPrecision - 1);
  std::string Text(Buf, Res.ptr);
  auto EPos = Text.find('e');
  std::string All = Text.substr(0, 1) + Text.substr(2, EPos - 2);
  Integer Exp = 0;
  const char* ExpText = Text.data() + EPos + 1;
  if (*ExpText == '+') ++ExpText;
  std::from_chars(ExpText, Text.data() + Text.size(), Exp);
  R.Exponent = Exp + 1;
  Integer Keep = std::min(Precision, R.Exponent + Decimals);
  if (Keep < 0) {
    All.clear();
  } else {
    bool Up = static_cast<size_t>(Keep) < All.size() && All[static_cast<size_t>(Keep)] >= '5';
    All.resize(static_cast<size_t>(std::min<Integer>(Keep, static_cast<Integer>(All.size()))));
    if (Up) {
      Integer I = static_cast<Integer>(All.size()) - 1;
      while (I >= 0 && All[static_cast<size_t>(I)] == '9') All[static_cast<size_t>(I--)] = '0';
      if (I >= 0) {
        ++All[static_cast<size_t>(I)];
      } else {
        All.insert(All.begin(), '1');
        ++R.Exponent;
      }
    }
  }
  while (!All.empty() && All.back() == '0') All.pop_back();
  R.Digits = All;
  if (R.Digits.empty()) {
    // Rounded away entirely: zero has no sign.
    R.Negative = false;
    R.Exponent = 0;
  }
  return R;
}

String SpecialText(const TFloatRec& R, Extended Value) {
  if (std::isnan(Value)) return L"NAN";
  return R.Negative ? L"-INF" : L"INF";
}

// Digit I of the record, "0" beyond its end.
wchar_t DigitAt(const TFloatRec& R, Integer I) {
  return (I >= 0 && static_cast<size_t>(I) < R.Digits.size())
             ? static_cast<wchar_t>(R.Digits[static_cast<size_t>(I)])
             : L'0';
}

String ExponentText(Integer Exp, Integer MinDigits, bool PlusSign) {
  String R = Exp < 0 ? L"-" : (PlusSign ? L"+" : L"");
  String D = IntToStr(static_cast<Int64>(std::abs(Exp)));
  if (Length(D) < MinDigits) D.insert(0, static_cast<size_t>(MinDigits - Length(D)), L'0');
  return R + D;
}

String FormatExponent(const TFloatRec& R, Integer Precision, Integer Digits, bool Fill,
                      const TFormatSettings& FS) {
  String S = R.Negative ? L"-" : L"";
  S += DigitAt(R, 0);
  Integer Count = Fill ? Precision : static_cast<Integer>(R.Digits.size());
  if (Count > 1) {
    S += FS.DecimalSeparator;
    for (Integer I = 1; I < Count; ++I) S += DigitAt(R, I);
  }
  Integer Exp = R.Digits.empty() ? 0 : R.Exponent - 1;
  return S + L"E" + ExponentText(Exp, Digits, Fill);
}

String FormatGeneral(const TFloatRec& R, Integer Precision, Integer Digits,
                     const TFormatSettings& FS) {
  if (R.Digits.empty()) return L"0";
  if (R.Exponent > Precision || R.Exponent < -3)
    return FormatExponent(R, Precision, Digits, false, FS);
  String S = R.Negative ? L"-" : L"";
  if (R.Exponent <= 0) {
    S += L"0";
  } else {
    for (Integer I = 0; I < R.Exponent; ++I) S += DigitAt(R, I);
  }
  Integer Total = static_cast<Integer>(R.Digits.size());
  if (Total > R.Exponent) {
    S += FS.DecimalSeparator;
    for (Integer I = R.Exponent; I < 0; ++I) S += L'0';
    for (Integer I = std::max(R.Exponent, 0); I < Total; ++I) S += DigitAt(R, I);
  }
  return S;
}

// Integer digits with thousands separators when asked, then Digits decimals;
// no sign.
String FormatFixedBody(const TFloatRec& R, Integer Digits, bool Thousands,
                       const TFormatSettings& FS) {
  String S;
  if (R.Exponent <= 0) {
    S = L"0";
  } else {
    for (Integer I = 0; I < R.Exponent; ++I) {
      if (Thousands && I > 0 && (R.Exponent - I) % 3 == 0 && FS.ThousandSeparator != 0)
        S += FS.ThousandSeparator;
      S += DigitAt(R, I);
    }
  }
  if (Digits > 0) {
    S += FS.DecimalSeparator;
    for (Integer I = 0; I < Digits; ++I) S += DigitAt(R, R.Exponent + I);
  }
  return S;
}

String FormatCurrency(const TFloatRec& R, const String& Body, const TFormatSettings& FS) {
  const String& C = FS.CurrencyString;
  if (!R.Negative) {
    switch (FS.CurrencyFormat) {
      case 1:
        return Body + C;
      case 2:
        return C + L" " + Body;
      case 3:
        return Body + L" " + C;
      default:
        return C + Body;
    }
  }
  switch (FS.NegCurrFormat) {
    case 1:
      return L"-" + C + Body;
    case 2:
      return C + L"-" + Body;
    case 3:
      return C + Body + L"-";
    case 4:
      return L"(" + Body + C + L")";
    case 5:
      return L"-" + Body + C;
    case 6:
      return Body + L"-" + C;
    case 7:
      return Body + C + L"-";
    case 8:
      return L"-" + Body + L" " + C;
    case 9:
      return L"-" + C + L" " + Body;
    case 10:
      return Body + L" " + C + L"-";
    case 11:
      return C + L" " + Body + L"-";
    case 12:
      return C + L" -" + Body;
    case 13:
      return Body + L"- " + C;
    case 14:
      return L"(" + C + L" " + Body + L")";
    case 15:
      return L"(" + Body + L" " + C + L")";
    default:
      return L"(" + C + Body + L")";
  }
}
}  // namespace

String SysUtilsDetail::FloatToText(Extended Value, TFloatFormat Format, Integer Precision,
                                   Integer Digits, const TFormatSettings& FS) {
  Precision = std::clamp(Precision, 1, MaxPrecision);
  switch (Format) {
    case ffExponent: {
      TFloatRec R = FloatToDecimal(Value, Precision, 9999);
      if (R.Special) return SpecialText(R, Value);
      return FormatExponent(R, Precision, std::clamp(Digits, 0, 4), true, FS);
    }
    case ffFixed:
    case ffNumber:
    case ffCurrency: {
      Digits = std::clamp(Digits, 0, MaxPrecision);
      TFloatRec R = FloatToDecimal(Value, Precision, Digits);
      if (R.Special) return SpecialText(R, Value);
      if (Format != ffCurrency && R.Exponent > Precision) return FormatGeneral(R, Precision, 0, FS);
      String Body = FormatFixedBody(R, Digits, Format != ffFixed, FS);
      if (Format == ffCurrency) return FormatCurrency(R, Body, FS);
      return R.Negative ? L"-" + Body : Body;
    }
    default: {
      TFloatRec R = FloatToDecimal(Value, Precision, 9999);
      if (R.Special) return SpecialText(R, Value);
      return FormatGeneral(R, Precision, std::clamp(Digits, 0, 4), FS);
    }
  }
}

using SysUtilsDetail::FloatToText;

String FloatToStr(Extended Value) { return FloatToStr(Value, FormatSettings()); }
String FloatToStr(Extended Value, const TFormatSettings& Settings) {
  return FloatToText(Value, ffGeneral, 15, 0, Settings);
}

String FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits) {
  return FloatToText(Value, Format, Precision, Digits, FormatSettings());
}
String FloatToStrF(Extended Value, TFloatFormat Format, Integer Precision, Integer Digits,
                   const TFormatSettings& Settings) {
  return FloatToText(Value, Format, Precision, Digits, Settings);
}

// ---------------------------------------------------------------------------
// Picture formats
namespace {
struct TPicture {
  String Text;             // the chosen section
  Integer IntPlaces = 0;   // digit placeholders before the point
  Integer IntZeros = 0;    // of them, from the first "0" on
  Integer FracPlaces = 0;  // digit placeholders after the point
  Integer FracZeros = 0;   // up to the last "0" after the point
  bool HasPoint = false;
  bool Thousands = false;
  bool Scientific = false;
};

std::vector<String> SplitSections(const String& Format) {
  std::vector<String> Sections(1);
  Char Quote = 0;
  for (Char C : Format) {
    if (Quote) {
      if (C == Quote) Quote = 0;
    } else if (C == L'"' || C == L'\'') {
      Quote = C;
    } else if (C == L';') {
      Sections.emplace_back();
      continue;
    }
    Sections.back() += C;
  }
  return Sections;
}

bool IsExponentAt(const String& S, size_t I) {
  return (S[I] == L'E' || S[I] == L'e') && I + 2 < S.size() &&
         (S[I + 1] == L'+' || S[I + 1] == L'-') && S[I + 2] == L'0';
}

TPicture AnalyzePicture(const String& Section) {
  TPicture P;
  P.Text = Section;
  bool FirstZeroSeen = false;
  for (size_t I = 0; I < Section.size(); ++I) {
    Char C = Section[I];
    if (C == L'"' || C == L'\'') {
      size_t J = Section.find(C, I + 1);
      I = J == String::npos ? Section.size() : J;
    } else if (C == L'0' || C == L'#') {
      if (P.HasPoint) {
        ++P.FracPlaces;
        if (C == L'0') P.FracZeros = P.FracPlaces;
      } else {
        ++P.IntPlaces;
        if (C == L'0') FirstZeroSeen = true;
        if (FirstZeroSeen) ++P.IntZeros;
      }
    } else if (C == L'.') {
      P.HasPoint = true;
    } else if (C == L',' && !P.HasPoint) {
      P.Thousands = true;
    } else if (IsExponentAt(Section, I)) {
      P.Scientific = true;
      break;
    }
  }
  return P;
}

String ApplyPicture(const TPicture& P, const TFloatRec& R, const TFormatSettings& FS) {
  // Integer and fraction digits the number needs.
  Integer Exp = 0;
  String IntDigits, FracDigits;
  if (P.Scientific) {
    for (Integer I = 0; I < P.IntPlaces; ++I) IntDigits += DigitAt(R, I);
    for (Integer I = P.IntPlaces; I < static_cast<Integer>(R.Digits.size()); ++I)
      FracDigits += DigitAt(R, I);
    Exp = R.Digits.empty() ? 0 : R.Exponent - P.IntPlaces;
    while (!IntDigits.empty() && IntDigits[0] == L'0' && Length(IntDigits) > P.IntZeros)
      IntDigits.erase(0, 1);
  } else {
    for (Integer I = 0; I < R.Exponent; ++I) IntDigits += DigitAt(R, I);
    for (Integer I = std::max(R.Exponent, 0); I < static_cast<Integer>(R.Digits.size()); ++I)
      FracDigits += DigitAt(R, I);
    if (R.Exponent < 0) FracDigits.insert(0, static_cast<size_t>(-R.Exponent), L'0');
  }
  if (Length(IntDigits) < P.IntZeros)
    IntDigits.insert(0, static_cast<size_t>(P.IntZeros - Length(IntDigits)), L'0');
  if (Length(FracDigits) < P.FracZeros)
    FracDigits.append(static_cast<size_t>(P.FracZeros - Length(FracDigits)), L'0');
  if (Length(FracDigits) > P.FracPlaces) FracDigits.resize(static_cast<size_t>(P.FracPlaces));

  String Out;
  const Integer IntLen = Length(IntDigits);
  Integer IntSeen = 0, FracSeen = 0;
  bool AfterPoint = false;
  auto EmitInt = [&](Integer From, Integer To) {
    for (Integer D = From; D < To; ++D) {
      Out += IntDigits[static_cast<size_t>(D)];
      Integer Left = IntLen - D - 1;
      if (P.Thousands && Left > 0 && Left % 3 == 0 && FS.ThousandSeparator != 0)
        Out += FS.ThousandSeparator;
    }
  };
  const String& S = P.Text;
  for (size_t I = 0; I < S.size(); ++I) {
    Char C = S[I];
    if (C == L'"' || C == L'\'') {
      size_t J = S.find(C, I + 1);
      if (J == String::npos) J = S.size();
      Out.append(S, I + 1, J - I - 1);
      I = J;
    } else if (C == L'0' || C == L'#') {
      if (!AfterPoint) {
        // The first placeholder takes every digit the others have no room for.
        Integer Slot = IntSeen++;
        Integer Index = IntLen - (P.IntPlaces - Slot);
        if (Slot == 0)
          EmitInt(0, std::max(Index + 1, 0));
        else if (Index >= 0)
          EmitInt(Index, Index + 1);
      } else {
        if (FracSeen < Length(FracDigits)) Out += FracDigits[static_cast<size_t>(FracSeen)];
        ++FracSeen;
      }
    } else if (C == L'.') {
      if (!AfterPoint && !FracDigits.empty()) Out += FS.DecimalSeparator;
      AfterPoint = true;
    } else if (C == L',') {
      // Only marks thousands grouping.
    } else if (P.Scientific && IsExponentAt(S, I)) {
      Out += C;
      Integer ExpZeros = 0;
      size_t J = I + 2;
      while (J < S.size() && S[J] == L'0' && ExpZeros < 4) ++J, ++ExpZeros;
      Out += ExponentText(Exp, ExpZeros, S[I + 1] == L'+');
      I = J - 1;
    } else {
      Out += C;
    }
  }
  return Out;
}

TFloatRec PictureDecimal(const TPicture& P, Extended Value) {
  if (P.Scientific)
    return FloatToDecimal(Value, std::clamp(P.IntPlaces + P.FracPlaces, 1, MaxPrecision), 9999);
  return FloatToDecimal(Value, MaxPrecision, P.FracPlaces);
}
}  // namespace

String FormatFloat(const String& Format, Extended Value) {
  return FormatFloat(Format, Value, FormatSettings());
}

String FormatFloat(const String& Format, Extended Value, const TFormatSettings& Settings) {
  if (Format.empty() || std::isnan(Value) || std::isinf(Value))
    return FloatToText(Value, ffGeneral, 15, 0, Settings);
  std::vector<String> Sections = SplitSections(Format);
  TPicture P = AnalyzePicture(Sections[0]);
  TFloatRec R = PictureDecimal(P, Value);
  bool AddMinus = R.Negative;
  if (R.Digits.empty() && Sections.size() >= 3 && !Sections[2].empty()) {
    P = AnalyzePicture(Sections[2]);
    R = PictureDecimal(P, Value);
  } else if (R.Negative && Sections.size() >= 2 && !Sections[1].empty()) {
    P = AnalyzePicture(Sections[1]);
    R = PictureDecimal(P, Value);
    AddMinus = false;
  }
  String Out = ApplyPicture(P, R, Settings);
  return AddMinus && !R.Digits.empty() ? L"-" + Out : Out;
}

// ---------------------------------------------------------------------------
// Text to float
namespace {
// The number's significant digits (no leading zeros) and the power of ten
// that scales them as an integer.
struct TScannedFloat {
  bool Negative = false;
  std::string Digits;
  Int64 Exp10 = 0;
};

bool ScanFloat(const String& S, Char DecimalSeparator, TScannedFloat& F) {
  size_t I = 0, N = S.size();
  while (I < N && S[I] == L' ') ++I;
  if (I < N && (S[I] == L'+' || S[I] == L'-')) F.Negative = S[I++] == L'-';
  bool AnyDigit = false;
  auto TakeDigits = [&](bool Fraction) {
    for (; I < N && S[I] >= L'0' && S[I] <= L'9'; ++I) {
      AnyDigit = true;
      if (F.Digits.empty() && S[I] == L'0') {
        if (Fraction) --F.Exp10;
        continue;
      }
      if (F.Digits.size() < 40) {
        F.Digits += static_cast<char>(S[I]);
        if (Fraction) --F.Exp10;
      } else if (!Fraction) {
        ++F.Exp10;
      }
    }
  };
  TakeDigits(false);
  if (I < N && S[I] == DecimalSeparator) {
    ++I;
    TakeDigits(true);
  }
  if (!AnyDigit) return false;
  if (I < N && (S[I] == L'E' || S[I] == L'e')) {
    ++I;
    bool NegExp = false;
    if (I < N && (S[I] == L'+' || S[I] == L'-')) NegExp = S[I++] == L'-';
    if (I >= N || S[I] < L'0' || S[I] > L'9') return false;
    Int64 E = 0;
    for (; I < N && S[I] >= L'0' && S[I] <= L'9'; ++I)
      if (E < 100000) E = E * 10 + (S[I] - L'0');
    F.Exp10 += NegExp ? -E : E;
  }
  while (I < N && S[I] == L' ') ++I;
  return I == N;
}

bool ScannedToDouble(const TScannedFloat& F, Double& Value) {
  if (F.Digits.empty()) {
    Value = F.Negative ? -0.0 : 0.0;
    return true;
  }
  char ExpBuf[24];
  auto ExpEnd = std::to_chars(ExpBuf, ExpBuf + sizeof ExpBuf, F.Exp10).ptr;
  std::string Text = F.Digits + "e" + std::string(ExpBuf, ExpEnd);
  double V = 0;
  auto Res = std::from_chars(Text.data(), Text.data() + Text.size(), V);
  if (Res.ec == std::errc::result_out_of_range) {
    // Too small to represent is zero; too large is no number.
    if (F.Exp10 + static_cast<Int64>(F.Digits.size()) > 0) return false;
    V = 0;
  } else if (Res.ec != std::errc()) {
    return false;
  }
  Value = F.Negative ? -V : V;
  return true;
}

bool ScannedToExtended(const TScannedFloat& F, Extended& Value) {
  // 19 digits fit the 64-bit mantissa exactly; one multiplication or
  // division by an exact power of ten then rounds once.
  std::string D = F.Digits.substr(0, 19);
  Int64 Exp = F.Exp10 + static_cast<Int64>(F.Digits.size() - D.size());
  UInt64 M = 0;
  for (char C : D) M = M * 10 + static_cast<UInt64>(C - '0');
  Extended V = static_cast<Extended>(M);
  if (M != 0) {
    if (Exp > 6000 || Exp < -6000) {
      V = Exp > 0 ? std::numeric_limits<Extended>::infinity() : 0;
    } else if (Exp >= 0 && Exp <= 27) {
      V *= std::pow(10.0L, static_cast<int>(Exp));
    } else if (Exp < 0 && Exp >= -27) {
      V /= std::pow(10.0L, static_cast<int>(-Exp));
    } else if (Exp > 0) {
      V *= std::pow(10.0L, static_cast<int>(Exp));
    } else {
      // Two steps keep intermediate values out of the subnormal range.
      V /= std::pow(10.0L, 27);
      V /= std::pow(10.0L, static_cast<int>(-Exp - 27));
    }
  }
  if (std::isinf(V)) return false;
  Value = F.Negative ? -V : V;
  return true;
}

const wchar_t* const SInvalidFloat = L"'%s' is not a valid floating point value";
}  // namespace

bool TryStrToFloat(const String& S, Extended& Value, const TFormatSettings& Settings) {
  TScannedFloat F;
  return ScanFloat(S, Settings.DecimalSeparator, F) && ScannedToExtended(F, Value);
}

bool TryStrToFloat(const String& S, Double& Value, const TFormatSettings& Settings) {
  TScannedFloat F;
  return ScanFloat(S, Settings.DecimalSeparator, F) && ScannedToDouble(F, Value);
}

bool TryStrToFloat(const String& S, Extended& Value) {
  return TryStrToFloat(S, Value, FormatSettings());
}
bool TryStrToFloat(const String& S, Double& Value) {
  return TryStrToFloat(S, Value, FormatSettings());
}

Extended StrToFloat(const String& S) { return StrToFloat(S, FormatSettings()); }
Extended StrToFloat(const String& S, const TFormatSettings& Settings) {
  Extended V;
  if (!TryStrToFloat(S, V, Settings)) ConvertError(SInvalidFloat, S);
  return V;
}

Extended StrToFloatDef(const String& S, Extended Default) {
  return StrToFloatDef(S, Default, FormatSettings());
}
Extended StrToFloatDef(const String& S, Extended Default, const TFormatSettings& Settings) {
  Extended V;
  return TryStrToFloat(S, V, Settings) ? V : Default;
}

// ---------------------------------------------------------------------------
// Rounding
namespace {
void CheckInt64Range(Extended Value) {
  // 2^63 is exact in Extended; beyond it no Int64 holds the result.
  constexpr Extended Limit = 9223372036854775808.0L;
  if (std::isnan(Value) || Value >= Limit || Value < -Limit)
    throw EInvalidOp(L"Invalid floating point operation");
}
}  // namespace

Int64 Round(Extended Value) {
  Extended F = std::floor(Value);
  Extended Diff = Value - F;
  if (Diff > 0.5L || (Diff == 0.5L && std::fmod(F, 2.0L) != 0)) F += 1;
  CheckInt64Range(F);
  return static_cast<Int64>(F);
}

Int64 Trunc(Extended Value) {
  Extended T = std::trunc(Value);
  CheckInt64Range(T);
  return static_cast<Int64>(T);
}

Extended Int(Extended Value) { return std::trunc(Value); }
Extended Frac(Extended Value) { return Value - std::trunc(Value); }
