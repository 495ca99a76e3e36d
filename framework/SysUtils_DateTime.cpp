#include <cmath>

#include "SysUtils.h"

namespace {
constexpr Integer DateDelta = 693594;  // days from 1 January 0001 to 30 December 1899
const Word MonthDays[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                               {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

struct TTimeStamp {
  Integer Time;  // milliseconds since midnight
  Integer Date;  // days since 1 January 0001, plus one
};

TTimeStamp DateTimeToTimeStamp(TDateTime DateTime) {
  TTimeStamp T;
  T.Date = DateDelta + static_cast<Integer>(std::trunc(DateTime));
  T.Time = static_cast<Integer>(Round(std::fabs(DateTime - std::trunc(DateTime)) * MSecsPerDay));
  // A time that rounds up to midnight belongs to the next day (further from
  // the epoch for negative values), not to a 24th hour.
  if (T.Time >= MSecsPerDay) {
    T.Time = 0;
    T.Date += DateTime < 0 ? -1 : 1;
  }
  return T;
}
}  // namespace

bool IsLeapYear(Word Year) { return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0); }

bool TryEncodeDate(Word Year, Word Month, Word Day, TDateTime& Date) {
  if (Year < 1 || Year > 9999 || Month < 1 || Month > 12) return false;
  const Word* Table = MonthDays[IsLeapYear(Year)];
  if (Day < 1 || Day > Table[Month - 1]) return false;
  Integer Days = Day;
  for (Integer I = 0; I < Month - 1; ++I) Days += Table[I];
  Integer Y = Year - 1;
  Date = static_cast<TDateTime>(Y * 365 + Y / 4 - Y / 100 + Y / 400 + Days - DateDelta);
  return true;
}

TDateTime EncodeDate(Word Year, Word Month, Word Day) {
  TDateTime D;
  if (!TryEncodeDate(Year, Month, Day, D)) throw EConvertError(L"Invalid argument to date encode");
  return D;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day) {
  constexpr Integer D1 = 365, D4 = D1 * 4 + 1, D100 = D4 * 25 - 1, D400 = D100 * 4 + 1;
  Integer T = DateTimeToTimeStamp(Date).Date;
  if (T <= 0) {
    Year = Month = Day = 0;
    return;
  }
  --T;
  Integer Y = 1;
  Y += T / D400 * 400;
  T %= D400;
  Integer I = T / D100, D = T % D100;
  if (I == 4) {
    --I;
    D += D100;
  }
  Y += I * 100;
  Y += D / D4 * 4;
  D %= D4;
  I = D / D1;
  D %= D1;
  if (I == 4) {
    --I;
    D += D1;
  }
  Y += I;
  const Word* Table = MonthDays[IsLeapYear(static_cast<Word>(Y))];
  Integer M = 0;
  while (D >= Table[M]) D -= Table[M++];
  Year = static_cast<Word>(Y);
  Month = static_cast<Word>(M + 1);
  Day = static_cast<Word>(D + 1);
}

bool TryEncodeTime(Word Hour, Word Min, Word Sec, Word MSec, TDateTime& Time) {
  if (Hour >= 24 || Min >= 60 || Sec >= 60 || MSec >= 1000) return false;
  Time = (Hour * 3600000.0 + Min * 60000.0 + Sec * 1000.0 + MSec) / MSecsPerDay;
  return true;
}

TDateTime EncodeTime(Word Hour, Word Min, Word Sec, Word MSec) {
  TDateTime T;
  if (!TryEncodeTime(Hour, Min, Sec, MSec, T))
    throw EConvertError(L"Invalid argument to time encode");
  return T;
}

TDateTime ComposeDateTime(TDateTime Date, TDateTime Time) {
  return Date < 0 ? Date - Time : Date + Time;
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
  Integer Ms = DateTimeToTimeStamp(Time).Time;
  Hour = static_cast<Word>(Ms / 3600000);
  Min = static_cast<Word>(Ms / 60000 % 60);
  Sec = static_cast<Word>(Ms / 1000 % 60);
  MSec = static_cast<Word>(Ms % 1000);
}

TDateTime Now() {
  SYSTEMTIME T;
  GetLocalTime(&T);
  return EncodeDate(T.wYear, T.wMonth, T.wDay) +
         EncodeTime(T.wHour, T.wMinute, T.wSecond, T.wMilliseconds);
}

TDateTime Date() { return std::trunc(Now()); }

TDateTime Time() {
  SYSTEMTIME T;
  GetLocalTime(&T);
  return EncodeTime(T.wHour, T.wMinute, T.wSecond, T.wMilliseconds);
}

// ---------------------------------------------------------------------------
// Date and time to text
namespace {
String Padded(Integer Value, Integer Digits) {
  String S = IntToStr(Value);
  if (Length(S) < Digits) S.insert(0, static_cast<size_t>(Digits - Length(S)), L'0');
  return S;
}

Char Upper(Char C) { return (C >= L'a' && C <= L'z') ? static_cast<Char>(C - 32) : C; }

bool StartsWithText(const String& S, size_t I, const wchar_t* Token) {
  for (size_t K = 0; Token[K]; ++K)
    if (I + K >= S.size() || Upper(S[I + K]) != Token[K]) return false;
  return true;
}

class TDateTimeFormatter {
 public:
  TDateTimeFormatter(TDateTime DT, const TFormatSettings& FS) : FS(FS), Value(DT) {
    DecodeDate(DT, Year, Month, Day);
    DecodeTime(DT, Hour, Min, Sec, MSec);
    DayOfWeek = static_cast<Integer>((DateTimeToTimeStamp(DT).Date % 7 + 7) % 7);
  }

  void Append(const String& Format, Integer Depth = 0) {
    if (Depth > 2) return;  // nested pictures only go "c" -> short date -> names
    const bool Use12Hour = HasAmPm(Format);
    Char LastToken = 0;
    size_t I = 0;
    while (I < Format.size()) {
      Char C = Format[I];
      Char Token = Upper(C);
      size_t Count = 1;
      while (I + Count < Format.size() && Upper(Format[I + Count]) == Token && Token >= L'A' &&
             Token <= L'Z')
        ++Count;
      if (Token == L'M' && LastToken == L'H') Token = L'N';
      switch (Token) {
        case L'Y':
          Out += Count <= 2 ? Padded(Year % 100, 2) : Padded(Year, 4);
          break;
        case L'M':
          if (Count == 1)
            Out += IntToStr(Month);
          else if (Count == 2)
            Out += Padded(Month, 2);
          else if (Count == 3)
            Out += FS.ShortMonthNames[Month - 1];
          else
            Out += FS.LongMonthNames[Month - 1];
          break;
        case L'D':
          if (Count == 1)
            Out += IntToStr(Day);
          else if (Count == 2)
            Out += Padded(Day, 2);
          else if (Count == 3)
            Out += FS.ShortDayNames[DayOfWeek];
          else if (Count == 4)
            Out += FS.LongDayNames[DayOfWeek];
          else if (Count == 5)
            Append(FS.ShortDateFormat, Depth + 1);
          else
            Append(FS.LongDateFormat, Depth + 1);
          break;
        case L'H': {
          Integer H = Hour;
          if (Use12Hour) {
            H %= 12;
            if (H == 0) H = 12;
          }
          Out += Count == 1 ? IntToStr(H) : Padded(H, 2);
          break;
        }
        case L'N':
          Out += Count == 1 ? IntToStr(Min) : Padded(Min, 2);
          break;
        case L'S':
          Out += Count == 1 ? IntToStr(Sec) : Padded(Sec, 2);
          break;
        case L'Z':
          Out += Count < 3 ? IntToStr(MSec) : Padded(MSec, 3);
          break;
        case L'T':
          Append(Count == 1 ? FS.ShortTimeFormat : FS.LongTimeFormat, Depth + 1);
          break;
        case L'C':
          Append(FS.ShortDateFormat, Depth + 1);
          if (Hour || Min || Sec || MSec) {
            Out += L' ';
            Append(FS.LongTimeFormat, Depth + 1);
          }
          break;
        case L'A':
          Count = AmPm(Format, I);
          break;
        case L'/':
          Out += FS.DateSeparator;
          break;
        case L':':
          Out += FS.TimeSeparator;
          break;
        case L'"':
        case L'\'': {
          size_t J = Format.find(C, I + 1);
          if (J == String::npos) J = Format.size();
          Out.append(Format, I + 1, J - I - 1);
          Count = J - I + 1;
          break;
        }
        default:
          Out.append(Count, C);
          break;
      }
      if (Token >= L'A' && Token <= L'Z') LastToken = Token;
      I += Count;
    }
  }

  String Out;

 private:
  static bool HasAmPm(const String& Format) {
    Char Quote = 0;
    for (size_t I = 0; I < Format.size(); ++I) {
      Char C = Format[I];
      if (Quote) {
        if (C == Quote) Quote = 0;
      } else if (C == L'"' || C == L'\'') {
        Quote = C;
      } else if (StartsWithText(Format, I, L"AM/PM") || StartsWithText(Format, I, L"A/P") ||
                 StartsWithText(Format, I, L"AMPM")) {
        return true;
      }
    }
    return false;
  }

  // Writes an am/pm marker at I and returns its length, or the plain letter.
  size_t AmPm(const String& Format, size_t I) {
    const bool Pm = Hour >= 12;
    if (StartsWithText(Format, I, L"AM/PM")) {
      String S = Format.substr(I + (Pm ? 3 : 0), 2);
      Out += S;
      return 5;
    }
    if (StartsWithText(Format, I, L"A/P")) {
      Out += Format[I + (Pm ? 2 : 0)];
      return 3;
    }
    if (StartsWithText(Format, I, L"AMPM")) {
      Out += Pm ? FS.TimePMString : FS.TimeAMString;
      return 4;
    }
    Out += Format[I];
    return 1;
  }

  const TFormatSettings& FS;
  TDateTime Value;
  Word Year = 0, Month = 0, Day = 0, Hour = 0, Min = 0, Sec = 0, MSec = 0;
  Integer DayOfWeek = 0;  // 0 is Sunday
};
}  // namespace

String FormatDateTime(const String& Format, TDateTime DateTime) {
  return FormatDateTime(Format, DateTime, FormatSettings());
}

String FormatDateTime(const String& Format, TDateTime DateTime, const TFormatSettings& Settings) {
  TDateTimeFormatter F(DateTime, Settings);
  F.Append(Format.empty() ? String(L"c") : Format);
  return F.Out;
}

String DateToStr(TDateTime Date) { return DateToStr(Date, FormatSettings()); }
String DateToStr(TDateTime Date, const TFormatSettings& Settings) {
  return FormatDateTime(L"ddddd", Date, Settings);
}

String TimeToStr(TDateTime Time) { return TimeToStr(Time, FormatSettings()); }
String TimeToStr(TDateTime Time, const TFormatSettings& Settings) {
  return FormatDateTime(L"tt", Time, Settings);
}

String DateTimeToStr(TDateTime DateTime) { return DateTimeToStr(DateTime, FormatSettings()); }
String DateTimeToStr(TDateTime DateTime, const TFormatSettings& Settings) {
  return FormatDateTime(L"c", DateTime, Settings);
}

// ---------------------------------------------------------------------------
// Text to date and time
namespace {
enum class TDateOrder { MDY, DMY, YMD };

TDateOrder DateOrder(const String& ShortDateFormat) {
  for (Char C : ShortDateFormat) {
    switch (Upper(C)) {
      case L'D':
        return TDateOrder::DMY;
      case L'Y':
        return TDateOrder::YMD;
      case L'M':
        return TDateOrder::MDY;
      default:
        break;
    }
  }
  return TDateOrder::MDY;
}

class TDateTimeScanner {
 public:
  TDateTimeScanner(const String& S, const TFormatSettings& FS) : S(S), FS(FS) {}

  bool ScanDate(TDateTime& Date) {
    Integer N1, N2, N3 = 0, L1, L2, L3 = 0;
    if (!Number(N1, L1) || !Char_(FS.DateSeparator) || !Number(N2, L2)) return false;
    bool Three = false;
    if (Char_(FS.DateSeparator)) {
      if (!Number(N3, L3)) return false;
      Three = true;
    }
    SYSTEMTIME Today;
    GetLocalTime(&Today);
    Integer Y = Today.wYear, M, D, YearLen = 4;
    switch (DateOrder(FS.ShortDateFormat)) {
      case TDateOrder::MDY:
        M = N1, D = N2;
        if (Three) Y = N3, YearLen = L3;
        break;
      case TDateOrder::DMY:
        D = N1, M = N2;
        if (Three) Y = N3, YearLen = L3;
        break;
      default:
        if (Three) {
          Y = N1, YearLen = L1, M = N2, D = N3;
        } else {
          M = N1, D = N2;
        }
        break;
    }
    if (YearLen <= 2) {
      Integer CenturyBase = Today.wYear - FS.TwoDigitYearCenturyWindow;
      Y += CenturyBase / 100 * 100;
      if (FS.TwoDigitYearCenturyWindow > 0 && Y < CenturyBase) Y += 100;
    }
    Char_(FS.DateSeparator);  // a trailing separator is allowed
    if (Y > 9999 || M > 12 || D > 31) return false;
    return TryEncodeDate(static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D), Date);
  }

  bool ScanTime(TDateTime& Time) {
    Integer Hour, Min = 0, Sec = 0, MSec = 0, L;
    if (!Number(Hour, L)) return false;
    bool HasMinutes = false;
    if (Char_(FS.TimeSeparator)) {
      if (!Number(Min, L)) return false;
      HasMinutes = true;
      if (Char_(FS.TimeSeparator)) {
        if (!Number(Sec, L)) return false;
        if (Char_(FS.DecimalSeparator) && !Number(MSec, L)) return false;
      }
    }
    Integer Half = AmPm();
    if (Half < 0 && !HasMinutes) return false;
    if (Half >= 0) {
      if (Hour < 1 || Hour > 12) return false;
      Hour = Hour % 12 + Half;
    }
    if (Hour > 23 || Min > 59 || Sec > 59 || MSec > 999) return false;
    return TryEncodeTime(static_cast<Word>(Hour), static_cast<Word>(Min), static_cast<Word>(Sec),
                         static_cast<Word>(MSec), Time);
  }

  bool AtEnd() {
    SkipBlanks();
    return Pos >= S.size();
  }
  void Reset() { Pos = 0; }

 private:
  void SkipBlanks() {
    while (Pos < S.size() && S[Pos] == L' ') ++Pos;
  }

  bool Number(Integer& N, Integer& Len) {
    SkipBlanks();
    N = 0;
    Len = 0;
    while (Pos < S.size() && S[Pos] >= L'0' && S[Pos] <= L'9') {
      if (N > 99999) return false;
      N = N * 10 + (S[Pos++] - L'0');
      ++Len;
    }
    return Len > 0;
  }

  bool Char_(Char C) {
    SkipBlanks();
    if (Pos < S.size() && S[Pos] == C) {
      ++Pos;
      return true;
    }
    return false;
  }

  bool Word_(const String& W) {
    if (W.empty() || S.size() - Pos < W.size()) return false;
    if (!AnsiSameText(S.substr(Pos, W.size()), W)) return false;
    Pos += W.size();
    return true;
  }

  // 0 for a morning marker, 12 for an afternoon one, -1 for none.
  Integer AmPm() {
    SkipBlanks();
    if (Word_(FS.TimeAMString) || Word_(L"AM")) return 0;
    if (Word_(FS.TimePMString) || Word_(L"PM")) return 12;
    return -1;
  }

  const String& S;
  const TFormatSettings& FS;
  size_t Pos = 0;
};
}  // namespace

bool TryStrToDateTime(const String& S, TDateTime& Value) {
  return TryStrToDateTime(S, Value, FormatSettings());
}

bool TryStrToDateTime(const String& S, TDateTime& Value, const TFormatSettings& Settings) {
  TDateTimeScanner Scan(S, Settings);
  TDateTime D = 0, T = 0;
  if (Scan.ScanDate(D)) {
    if (!Scan.AtEnd() && !(Scan.ScanTime(T) && Scan.AtEnd())) return false;
    // The time of a date before the epoch counts away from it.
    Value = D < 0 ? D - T : D + T;
    return true;
  }
  Scan.Reset();
  if (!Scan.ScanTime(T) || !Scan.AtEnd()) return false;
  Value = T;
  return true;
}

TDateTime StrToDateTime(const String& S) { return StrToDateTime(S, FormatSettings()); }

TDateTime StrToDateTime(const String& S, const TFormatSettings& Settings) {
  TDateTime V;
  if (!TryStrToDateTime(S, V, Settings))
    SysUtilsDetail::ConvertError(L"'%s' is not a valid date and time", S);
  return V;
}
