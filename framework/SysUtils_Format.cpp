#include <vector>

#include "SysUtils.h"

namespace {
String LocaleStr(LCID Locale, LCTYPE Type, const String& Default) {
  int N = GetLocaleInfoW(Locale, Type, nullptr, 0);
  if (N <= 1) return Default;
  String R(static_cast<size_t>(N), L'\0');
  N = GetLocaleInfoW(Locale, Type, R.data(), N);
  if (N <= 1) return Default;
  R.resize(static_cast<size_t>(N - 1));
  return R;
}

Char LocaleChar(LCID Locale, LCTYPE Type, Char Default) {
  String S = LocaleStr(Locale, Type, String(1, Default));
  return S.empty() ? Default : S[0];
}

Integer LocaleInt(LCID Locale, LCTYPE Type, Integer Default) {
  return StrToIntDef(LocaleStr(Locale, Type, String()), Default);
}

// The locale's date picture in the framework's terms: the locale's date
// separator becomes "/", which formatting turns back into DateSeparator.
String TranslateDateFormat(const String& Format, Char Separator) {
  String R;
  Char Quote = 0;
  for (Char C : Format) {
    if (Quote) {
      if (C == Quote) Quote = 0;
    } else if (C == L'\'' || C == L'"') {
      Quote = C;
    } else if (C == Separator) {
      R += L'/';
      continue;
    }
    R += C;
  }
  return R;
}
}  // namespace

TFormatSettings TFormatSettings::Create() { return Create(LOCALE_USER_DEFAULT); }

TFormatSettings TFormatSettings::Create(LCID L) {
  TFormatSettings S;
  S.CurrencyString = LocaleStr(L, LOCALE_SCURRENCY, L"");
  S.CurrencyFormat = static_cast<Byte>(LocaleInt(L, LOCALE_ICURRENCY, 0));
  S.NegCurrFormat = static_cast<Byte>(LocaleInt(L, LOCALE_INEGCURR, 0));
  S.CurrencyDecimals = static_cast<Byte>(LocaleInt(L, LOCALE_ICURRDIGITS, 2));
  S.ThousandSeparator = LocaleChar(L, LOCALE_STHOUSAND, L',');
  S.DecimalSeparator = LocaleChar(L, LOCALE_SDECIMAL, L'.');
  S.DateSeparator = LocaleChar(L, LOCALE_SDATE, L'/');
  S.ShortDateFormat =
      TranslateDateFormat(LocaleStr(L, LOCALE_SSHORTDATE, L"m/d/yy"), S.DateSeparator);
  S.LongDateFormat =
      TranslateDateFormat(LocaleStr(L, LOCALE_SLONGDATE, L"mmmm d, yyyy"), S.DateSeparator);
  S.TimeSeparator = LocaleChar(L, LOCALE_STIME, L':');
  S.TimeAMString = LocaleStr(L, LOCALE_S1159, L"am");
  S.TimePMString = LocaleStr(L, LOCALE_S2359, L"pm");
  String HourFormat = LocaleInt(L, LOCALE_ITLZERO, 0) == 0 ? L"h" : L"hh";
  String Prefix, Postfix;
  if (LocaleInt(L, LOCALE_ITIME, 0) == 0) {
    if (LocaleInt(L, LOCALE_ITIMEMARKPOSN, 0) == 0)
      Postfix = L" AMPM";
    else
      Prefix = L"AMPM ";
  }
  S.ShortTimeFormat = Prefix + HourFormat + L":mm" + Postfix;
  S.LongTimeFormat = Prefix + HourFormat + L":mm:ss" + Postfix;
  S.ListSeparator = LocaleChar(L, LOCALE_SLIST, L',');
  for (int I = 0; I < 12; ++I) {
    S.ShortMonthNames[I] = LocaleStr(L, LOCALE_SABBREVMONTHNAME1 + I, String());
    S.LongMonthNames[I] = LocaleStr(L, LOCALE_SMONTHNAME1 + I, String());
  }
  // The platform counts days from Monday (name 1) to Sunday (name 7).
  for (int I = 0; I < 7; ++I) {
    int Day = (I + 6) % 7;
    S.ShortDayNames[I] = LocaleStr(L, LOCALE_SABBREVDAYNAME1 + Day, String());
    S.LongDayNames[I] = LocaleStr(L, LOCALE_SDAYNAME1 + Day, String());
  }
  S.TwoDigitYearCenturyWindow = 50;
  return S;
}

TFormatSettings TFormatSettings::Invariant() {
  TFormatSettings S = Create(LOCALE_INVARIANT);
  S.DecimalSeparator = L'.';
  S.ThousandSeparator = L',';
  S.DateSeparator = L'/';
  S.TimeSeparator = L':';
  S.ListSeparator = L',';
  return S;
}

TFormatSettings& FormatSettings() {
  // Deliberately never destroyed: code running late in shut-down may still
  // format text.
  static TFormatSettings* Settings = new TFormatSettings(TFormatSettings::Create());
  return *Settings;
}

void GetFormatSettings() { FormatSettings() = TFormatSettings::Create(); }

// ---------------------------------------------------------------------------
// Format
namespace {
class TFormatter {
 public:
  TFormatter(const TFormatSettings& FS, const String& Fmt, std::initializer_list<TVarRec> Args)
      : FS(FS), Fmt(Fmt), Args(Args.begin(), Args.end()) {}

  String Run() {
    String Out;
    while (Pos < Fmt.size()) {
      Char C = Fmt[Pos++];
      if (C != L'%') {
        Out += C;
      } else if (Pos < Fmt.size() && Fmt[Pos] == L'%') {
        Out += L'%';
        ++Pos;
      } else {
        Out += Specifier();
      }
    }
    return Out;
  }

 private:
  [[noreturn]] void Invalid() const {
    SysUtilsDetail::ConvertError(L"Format '%s' invalid or incompatible with argument", Fmt);
  }

  const TVarRec& NextArg() {
    if (ArgIndex >= Args.size()) Invalid();
    return Args[ArgIndex++];
  }

  // A number, "*" (taken from the arguments) or nothing (-1).
  Integer Number() {
    if (Pos < Fmt.size() && Fmt[Pos] == L'*') {
      ++Pos;
      const TVarRec& A = NextArg();
      if (A.VType != TVarRec::vtInteger) Invalid();
      return A.VInteger;
    }
    if (Pos >= Fmt.size() || Fmt[Pos] < L'0' || Fmt[Pos] > L'9') return -1;
    Integer N = 0;
    while (Pos < Fmt.size() && Fmt[Pos] >= L'0' && Fmt[Pos] <= L'9') {
      if (N > 100000000) Invalid();
      N = N * 10 + (Fmt[Pos++] - L'0');
    }
    return N;
  }

  String Specifier() {
    Integer N = Number();
    if (Pos < Fmt.size() && Fmt[Pos] == L':') {
      if (N < 0) N = 0;
      ArgIndex = static_cast<size_t>(N);
      ++Pos;
      N = -1;
    }
    bool Left = false;
    if (N < 0 && Pos < Fmt.size() && Fmt[Pos] == L'-') {
      Left = true;
      ++Pos;
    }
    Integer Width = N >= 0 ? N : Number();
    Integer Prec = -1;
    if (Pos < Fmt.size() && Fmt[Pos] == L'.') {
      ++Pos;
      Prec = Number();
      if (Prec < 0) Prec = 0;
    }
    if (Pos >= Fmt.size()) Invalid();
    Char Type = Fmt[Pos++];
    if (Type >= L'a' && Type <= L'z') Type = static_cast<Char>(Type - 32);
    String Text = Convert(Type, NextArg(), Prec);
    if (Width > Length(Text)) {
      String Pad(static_cast<size_t>(Width - Length(Text)), L' ');
      Text = Left ? Text + Pad : Pad + Text;
    }
    return Text;
  }

  static String ZeroPad(String Digits, Integer Prec) {
    if (Prec > Length(Digits)) Digits.insert(0, static_cast<size_t>(Prec - Length(Digits)), L'0');
    return Digits;
  }

  static String UnsignedText(UInt64 V) {
    String R;
    do {
      R.insert(R.begin(), static_cast<wchar_t>(L'0' + V % 10));
      V /= 10;
    } while (V);
    return R;
  }

  String Convert(Char Type, const TVarRec& A, Integer Prec) {
    switch (Type) {
      case L'D':
      case L'U': {
        bool Neg = false;
        UInt64 Mag;
        if (A.VType == TVarRec::vtInteger) {
          if (Type == L'U') {
            Mag = static_cast<Cardinal>(A.VInteger);
          } else {
            Neg = A.VInteger < 0;
            Mag = Neg ? 0 - static_cast<UInt64>(static_cast<Int64>(A.VInteger)) : A.VInteger;
          }
        } else if (A.VType == TVarRec::vtInt64) {
          Neg = Type == L'D' && A.VInt64 < 0;
          Mag = Neg ? 0 - static_cast<UInt64>(A.VInt64) : static_cast<UInt64>(A.VInt64);
        } else if (A.VType == TVarRec::vtUInt64) {
          Mag = A.VUInt64;
        } else {
          Invalid();
        }
        String Digits = ZeroPad(UnsignedText(Mag), Prec);
        return Neg ? L"-" + Digits : Digits;
      }
      case L'X':
        if (A.VType == TVarRec::vtInteger) return IntToHex(A.VInteger, Prec);
        if (A.VType == TVarRec::vtInt64) return IntToHex(A.VInt64, Prec);
        if (A.VType == TVarRec::vtUInt64) return IntToHex(static_cast<Int64>(A.VUInt64), Prec);
        Invalid();
      case L'E':
      case L'F':
      case L'G':
      case L'N':
      case L'M':
        if (A.VType != TVarRec::vtExtended) Invalid();
        return FloatText(Type, A.VExtended, Prec);
      case L'P':
        if (A.VType != TVarRec::vtPointer) Invalid();
        return IntToHex(static_cast<Int64>(reinterpret_cast<NativeUInt>(A.VPointer)),
                        static_cast<Integer>(sizeof(void*) * 2));
      case L'S': {
        String S = StringArg(A);
        if (Prec >= 0 && Prec < Length(S)) S.resize(static_cast<size_t>(Prec));
        return S;
      }
      default:
        Invalid();
    }
  }

  String FloatText(Char Type, Extended V, Integer Prec) {
    using SysUtilsDetail::FloatToText;
    switch (Type) {
      case L'E':
        return FloatToText(V, ffExponent, Prec < 0 ? 15 : Prec, 3, FS);
      case L'G':
        return FloatToText(V, ffGeneral, Prec < 0 ? 15 : Prec, 0, FS);
      case L'F':
        return FloatToText(V, ffFixed, 18, Prec < 0 ? 2 : Prec, FS);
      case L'N':
        return FloatToText(V, ffNumber, 18, Prec < 0 ? 2 : Prec, FS);
      default:
        return FloatToText(V, ffCurrency, 18, Prec < 0 ? FS.CurrencyDecimals : Prec, FS);
    }
  }

  String StringArg(const TVarRec& A) {
    switch (A.VType) {
      case TVarRec::vtUnicodeString:
        return *A.VUnicodeString;
      case TVarRec::vtPWideChar:
        return A.VPWideChar ? String(A.VPWideChar) : String();
      case TVarRec::vtWideChar:
        return String(1, A.VWideChar);
      case TVarRec::vtAnsiString:
        return AnsiToString(*A.VAnsiString);
      case TVarRec::vtPChar:
        return A.VPChar ? AnsiToString(A.VPChar) : String();
      case TVarRec::vtChar:
        return AnsiToString(AnsiString(1, A.VChar));
      default:
        Invalid();
    }
  }

  const TFormatSettings& FS;
  const String& Fmt;
  std::vector<TVarRec> Args;
  size_t Pos = 0;
  size_t ArgIndex = 0;
};
}  // namespace

String Format(const String& Fmt, std::initializer_list<TVarRec> Args) {
  return TFormatter(FormatSettings(), Fmt, Args).Run();
}

String Format(const TFormatSettings& Settings, const String& Fmt,
              std::initializer_list<TVarRec> Args) {
  return TFormatter(Settings, Fmt, Args).Run();
}
