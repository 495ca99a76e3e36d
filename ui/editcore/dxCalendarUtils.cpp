#include "dxCalendarUtils.h"

#include <algorithm>
#include <cmath>

namespace {

const Integer HebrewTable[][2] = {
#include "HebrewTable.inc"
};
constexpr Integer HebrewFirstGregorianYear = 1583;
constexpr Integer HebrewYearDelta = 3760;
static_assert(std::size(HebrewTable) == 2240 - 1583 + 1);

// Month lengths by year type (rows 1-6) and month counted from Tishri.
const Integer LunarMonthLen[7][14] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    {0, 30, 29, 29, 29, 30, 29, 30, 29, 30, 29, 30, 29, 0},
    {0, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 0},
    {0, 30, 30, 30, 29, 30, 29, 30, 29, 30, 29, 30, 29, 0},
    {0, 30, 29, 29, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29},
    {0, 30, 29, 30, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29},
    {0, 30, 30, 30, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29},
};

bool IsGregorianLeapYear(Integer AYear) {
  return AYear % 4 == 0 && (AYear % 100 != 0 || AYear % 400 == 0);
}

Integer GregorianDaysInMonth(Integer AYear, Integer AMonth) {
  switch (AMonth) {
    case 2:
      return IsGregorianLeapYear(AYear) ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11:
      return 30;
    default:
      return 31;
  }
}

TDateTime EncodeDateTime(TDateTime ADate, const TcxDateTime& ATime) {
  return ComposeDateTime(ADate,
                         EncodeTime(ATime.Hours, ATime.Minutes, ATime.Seconds, ATime.Milliseconds));
}

TcxDateTime DecodeDateTime(TDateTime ADate) {
  Word Y, M, D, H, N, S, MS;
  DecodeDate(ADate, Y, M, D);
  DecodeTime(ADate, H, N, S, MS);
  TcxDateTime R;
  R.Year = Y;
  R.Month = M;
  R.Day = D;
  R.Hours = static_cast<Byte>(H);
  R.Minutes = static_cast<Byte>(N);
  R.Seconds = static_cast<Byte>(S);
  R.Milliseconds = MS;
  return R;
}

TDateTime DateOfYMD(Integer AYear, Integer AMonth, Integer ADay) {
  return EncodeDate(static_cast<Word>(AYear), static_cast<Word>(AMonth), static_cast<Word>(ADay));
}

bool HijriLeapInCycle(Integer AYearInCycle) {
  switch (AYearInCycle) {
    case 2:
    case 5:
    case 7:
    case 10:
    case 13:
    case 15:
    case 18:
    case 21:
    case 24:
    case 26:
    case 29:
      return true;
    default:
      return false;
  }
}

Integer HijriLeapsUpTo(Integer AYearInCycle) {
  Integer N = 0;
  for (Integer I = 1; I <= AYearInCycle; ++I) N += HijriLeapInCycle(I) ? 1 : 0;
  return N;
}

// The first day of the lunar year of ADate, by the table's own conversions.
TDateTime FirstDayOfYear(const TcxCustomCalendarTable& ATable, Integer AYear) {
  TcxDateTime D;
  D.Year = AYear;
  D.Month = 1;
  D.Day = 1;
  return ATable.ToDateTime(D);
}

// Week numbers of the lunar calendars: weeks start on the table's first
// week day and count from the one holding day 1 of month 1.
Integer LunarWeekNumber(const TcxCustomCalendarTable& ATable, const TcxDateTime& ADate,
                        TcxFirstWeekOfYear AFirstWeekOfYear) {
  if (AFirstWeekOfYear == fwySystem)
    AFirstWeekOfYear = static_cast<TcxFirstWeekOfYear>(
        StrToIntDef(dxGetLocaleInfo(GetThreadLocale(), LOCALE_IFIRSTWEEKOFYEAR, L"0"), 0) + 1);
  TDateTime YearStart = FirstDayOfYear(ATable, ADate.Year);
  TcxDateTime StartRecord = ATable.FromDateTime(YearStart);
  TDateTime S = ATable.ToDateTime(ATable.GetFirstDayOfWeek(StartRecord));
  if (AFirstWeekOfYear == fwyFirstFullWeek && S < YearStart) S += 7;
  if (AFirstWeekOfYear == fwyFirstFourDays && S + 3 < YearStart) S += 7;
  TDateTime Day = dxDateOf(ATable.ToDateTime(ADate));
  Integer Week = static_cast<Integer>(std::trunc(Day - dxDateOf(S))) / 7 + 1;
  if (ADate.Month == ATable.GetMonthsInYear(ADate.Era, ADate.Year)) {
    TDateTime T = ATable.ToDateTime(ATable.GetFirstDayOfWeek(ADate));
    if (AFirstWeekOfYear == fwyJan1 && ATable.FromDateTime(T + 6).Month == 1) Week = 1;
    if (AFirstWeekOfYear == fwyFirstFourDays && ATable.FromDateTime(T + 3).Month == 1) Week = 1;
  }
  return Week;
}

// A month name of the locale that equals S ignoring case; 0 when none.
Integer LocalMonthByName(const TcxCustomCalendarTable* ATable, Integer AYear, Integer AMonths,
                         const String& S) {
  for (Integer M = 1; M <= AMonths; ++M)
    if (AnsiSameText(cxGetLocalMonthName(AYear, M, const_cast<TcxCustomCalendarTable*>(ATable)), S))
      return M;
  return 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Gregorian family
IMPLEMENT_CREATABLE_CLASS(TcxGregorianCalendarTable)
IMPLEMENT_CREATABLE_CLASS(TcxGregorianUSEnglishCalendarTable)
IMPLEMENT_CREATABLE_CLASS(TcxGregorianMiddleEastFrenchCalendarTable)
IMPLEMENT_CREATABLE_CLASS(TcxGregorianArabicCalendarTable)
IMPLEMENT_CREATABLE_CLASS(TcxGregorianTransliteratedEnglishCalendarTable)
IMPLEMENT_CREATABLE_CLASS(TcxGregorianTransliteratedFrenchCalendarTable)

TcxDateTime TcxGregorianCalendarTable::FromDateTime(TDateTime ADate) const {
  return DecodeDateTime(ADate);
}

Integer TcxGregorianCalendarTable::GetDaysInMonth(Integer AEra, Integer AYear,
                                                  Integer AMonth) const {
  YearToGregorianYear(AYear, AEra);
  return GregorianDaysInMonth(AYear, AMonth);
}

Integer TcxGregorianCalendarTable::GetDaysInYear(Integer AEra, Integer AYear) const {
  return IsLeapYear(AEra, AYear) ? 366 : 365;
}

Integer TcxGregorianCalendarTable::GetFullWeeksInYear(Integer AYear) const {
  YearToGregorianYear(AYear, -1);
  Integer D = GetWeekDay(DateOfYMD(AYear, 1, 1)) - GetFirstWeekDay();
  if (D < 0) D += 7;
  return ((IsGregorianLeapYear(AYear) && D > 4) || D > 5) ? 53 : 52;
}

Integer TcxGregorianCalendarTable::GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek,
                                                 TcxFirstWeekOfYear AFirstWeekOfYear) const {
  return dxGetWeekNumber(ToDateTime(ADate), AStartOfWeek, AFirstWeekOfYear);
}

bool TcxGregorianCalendarTable::IsLeapDay(Integer AEra, Integer AYear, Integer AMonth,
                                          Integer ADay) const {
  return IsLeapMonth(AEra, AYear, AMonth) && ADay == 29;
}

bool TcxGregorianCalendarTable::IsLeapMonth(Integer AEra, Integer AYear, Integer AMonth) const {
  return IsLeapYear(AEra, AYear) && AMonth == 2;
}

bool TcxGregorianCalendarTable::IsLeapYear(Integer AEra, Integer AYear) const {
  YearToGregorianYear(AYear, AEra);
  return IsGregorianLeapYear(AYear);
}

TDateTime TcxGregorianCalendarTable::ToDateTime(const TcxDateTime& ADateTime) const {
  Integer Year = ADateTime.Year;
  YearToGregorianYear(Year, ADateTime.Era);
  if (Year < 1 || Year > 9999) throw EConvertError(L"Invalid argument to date encode");
  return EncodeDateTime(DateOfYMD(Year, ADateTime.Month, ADateTime.Day), ADateTime);
}

// ---------------------------------------------------------------------------
// Japanese family
IMPLEMENT_CREATABLE_CLASS(TcxJapaneseCalendarTable)
IMPLEMENT_CREATABLE_CLASS(TcxTaiwanCalendarTable)
IMPLEMENT_CREATABLE_CLASS(TcxKoreanCalendarTable)
IMPLEMENT_CREATABLE_CLASS(TcxThaiCalendarTable)

TcxJapaneseCalendarTable::TcxJapaneseCalendarTable() {
  Eras()->Add(Create<TcxEra>(1, EncodeDate(1868, 9, 8), 1867, 1, 45));
  Eras()->Add(Create<TcxEra>(2, EncodeDate(1912, 7, 30), 1911, 1, 15));
  Eras()->Add(Create<TcxEra>(3, EncodeDate(1926, 12, 25), 1925, 1, 64));
  Eras()->Add(Create<TcxEra>(4, EncodeDate(1989, 1, 8), 1988, 1, 8011));
}

TcxTaiwanCalendarTable::TcxTaiwanCalendarTable() : TcxJapaneseCalendarTable(TNoEras{}) {
  Eras()->Add(Create<TcxEra>(1, EncodeDate(1912, 1, 1), 1911, 1, 8088));
}

TcxKoreanCalendarTable::TcxKoreanCalendarTable() : TcxJapaneseCalendarTable(TNoEras{}) {
  Eras()->Add(Create<TcxEra>(0, EncodeDate(1, 1, 1), -2333, 2334, 12332));
}

TcxThaiCalendarTable::TcxThaiCalendarTable() : TcxJapaneseCalendarTable(TNoEras{}) {
  Eras()->Add(Create<TcxEra>(0, EncodeDate(1, 1, 1), -543, 544, 10542));
}

TDateTime TcxJapaneseCalendarTable::GetMaxSupportedDate() const { return EncodeDate(9999, 12, 31); }

TDateTime TcxJapaneseCalendarTable::GetMinSupportedDate() const { return EncodeDate(1868, 9, 8); }

TcxDateTime TcxJapaneseCalendarTable::FromDateTime(TDateTime ADate) const {
  TcxDateTime R = DecodeDateTime(ADate);
  R.Era = GetEra(R.Year, R.Month, R.Day);
  TcxEra* Era = R.Era >= 0 ? Eras()->Items(R.Era) : GetDefaultEra();
  R.Year -= Era->YearOffset();
  return R;
}

TDateTime TcxJapaneseCalendarTable::ToDateTime(const TcxDateTime& ADateTime) const {
  TDateTime R;
  if (IsNotValid(ADateTime, R)) return R;
  Integer Year = ADateTime.Year;
  YearToGregorianYear(Year, ADateTime.Era);
  if (Year < 1 || Year > 9999) return GetMinSupportedDate();
  return EncodeDateTime(DateOfYMD(Year, ADateTime.Month, ADateTime.Day), ADateTime);
}

// ---------------------------------------------------------------------------
// Hijri
IMPLEMENT_CREATABLE_CLASS(TcxHijriCalendarTable)

namespace {
constexpr Integer HijriEpochDays = 227013;
// 1 January 1 and the first day of the Hijri reckoning (1 Muharram 1, the
// Julian 15 July 622).
TDateTime HijriDayZero() { return EncodeDate(1, 1, 1); }
}  // namespace

TDateTime TcxHijriCalendarTable::GetMaxSupportedDate() const { return MaxDateTime; }

TDateTime TcxHijriCalendarTable::GetMinSupportedDate() const {
  return HijriDayZero() + HijriEpochDays;
}

TcxDateTime TcxHijriCalendarTable::FromDateTime(TDateTime ADate) const {
  TcxDateTime R = DecodeDateTime(ADate);
  Integer N = static_cast<Integer>(std::trunc(ADate - HijriDayZero() + 1)) - HijriEpochDays;
  Integer Year = static_cast<Integer>((30LL * N) / 10631) + 1;
  N -= (Year - 1) * 354 + ((Year - 1) / 30) * 11 + HijriLeapsUpTo((Year - 1) % 30);
  Integer Month = 1;
  if (N == 0) {
    Year -= 1;
    Month = 12;
    N = GetDaysInMonth(Year, Month);
  } else {
    while (GetDaysInMonth(Year, Month) < N) {
      N -= GetDaysInMonth(Year, Month);
      if (++Month > 12) {
        Month = 1;
        ++Year;
      }
    }
  }
  R.Era = -1;
  R.Year = Year;
  R.Month = Month;
  R.Day = N;
  return R;
}

Integer TcxHijriCalendarTable::GetDaysInMonth(Integer AEra, Integer AYear, Integer AMonth) const {
  if (AMonth % 2 == 1 || (AMonth == 12 && IsLeapYear(AEra, AYear))) return 30;
  return 29;
}

Integer TcxHijriCalendarTable::GetDaysInYear(Integer AEra, Integer AYear) const {
  return IsLeapYear(AEra, AYear) ? 355 : 354;
}

bool TcxHijriCalendarTable::IsLeapDay(Integer AEra, Integer AYear, Integer AMonth,
                                      Integer ADay) const {
  return IsLeapMonth(AEra, AYear, AMonth) && ADay == 30;
}

bool TcxHijriCalendarTable::IsLeapMonth(Integer AEra, Integer AYear, Integer AMonth) const {
  return IsLeapYear(AEra, AYear) && AMonth == 12;
}

bool TcxHijriCalendarTable::IsLeapYear(Integer AEra, Integer AYear) const {
  return HijriLeapInCycle(((AYear % 30) + 30) % 30);
}

TDateTime TcxHijriCalendarTable::ToDateTime(const TcxDateTime& ADateTime) const {
  Integer Y = ADateTime.Year - 1;
  Integer Days =
      Y * 354 + HijriEpochDays + (Y / 30) * 11 + HijriLeapsUpTo(Y % 30) + GetDayOfYear(ADateTime);
  return EncodeDateTime(HijriDayZero() + Days - 1, ADateTime);
}

Integer TcxHijriCalendarTable::GetMonthNumber(Integer AYear, const String& S) const {
  if (Integer M = LocalMonthByName(this, AYear, 12, S)) return M;
  return TcxCustomCalendarTable::GetMonthNumber(AYear, S);
}

Integer TcxHijriCalendarTable::GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek,
                                             TcxFirstWeekOfYear AFirstWeekOfYear) const {
  return LunarWeekNumber(*this, ADate, AFirstWeekOfYear);
}

// ---------------------------------------------------------------------------
// Hebrew
IMPLEMENT_CREATABLE_CLASS(TcxHebrewCalendarTable)

namespace {
bool InHebrewTable(Integer AYear) { return AYear >= 5343 && AYear <= 5999; }

// The table's year type of the Hebrew year (4-6 for leap years).
Integer HebrewTableType(Integer AYear) {
  return HebrewTable[AYear - HebrewYearDelta - HebrewFirstGregorianYear][1];
}

void GetLunarMonthDay(Integer ACode, Integer& AMonth, Integer& ADay) {
  switch (ACode) {
    case 30:
      AMonth = 3;
      ADay = 30;
      break;
    case 33:
      AMonth = 3;
      ADay = 29;
      break;
    case 0:
    case 31:
    case 32:
      AMonth = 5;
      ADay = ACode == 0 ? 1 : ACode - 29;
      break;
    default:
      AMonth = 4;
      ADay = ACode;
      break;
  }
}

// Days from (ALunarMonth, ALunarDay) to (AMonth, ADay) in a year of the row.
Integer GetDayDifference(Integer ARow, Integer AMonth, Integer ADay, Integer ALunarMonth,
                         Integer ALunarDay) {
  if (AMonth == ALunarMonth) return ADay - ALunarDay;
  bool After = AMonth > ALunarMonth;
  Integer FromMonth = After ? ALunarMonth : AMonth, FromDay = After ? ALunarDay : ADay;
  Integer ToMonth = After ? AMonth : ALunarMonth, ToDay = After ? ADay : ALunarDay;
  Integer Days = LunarMonthLen[ARow][FromMonth] - FromDay;
  for (Integer M = FromMonth + 1; M < ToMonth; ++M) Days += LunarMonthLen[ARow][M];
  Days += ToDay;
  return After ? Days : -Days;
}
}  // namespace

Integer TcxHebrewCalendarTable::GetYearType(Integer AYear) const {
  if (!InHebrewTable(AYear)) return 0;
  Integer T = HebrewTableType(AYear);
  return T > 3 ? T - 3 : T;
}

TDateTime TcxHebrewCalendarTable::GetMaxSupportedDate() const {
  return EncodeDate(2239, 9, 29) + EncodeTime(23, 59, 59, 999);
}

TDateTime TcxHebrewCalendarTable::GetMinSupportedDate() const { return EncodeDate(1583, 1, 1); }

TcxDateTime TcxHebrewCalendarTable::FromDateTime(TDateTime ADate) const {
  ADate = std::clamp(ADate, GetMinSupportedDate(), GetMaxSupportedDate());
  TcxDateTime R = DecodeDateTime(ADate);
  const TDateTime Day = dxDateOf(ADate);
  Integer Year = R.Year + HebrewYearDelta, Month = 1;
  for (;;) {
    TcxDateTime First;
    First.Year = Year;
    First.Month = Month;
    First.Day = 1;
    Integer N = static_cast<Integer>(Day - dxDateOf(ToDateTime(First))) + 1;
    if (N < 1) {
      if (--Month < 1) Month = GetMonthsInYear(--Year);
    } else if (N > GetDaysInMonth(Year, Month)) {
      if (++Month > GetMonthsInYear(Year)) {
        Month = 1;
        ++Year;
      }
    } else {
      R.Era = -1;
      R.Year = Year;
      R.Month = Month;
      R.Day = N;
      return R;
    }
  }
}

Integer TcxHebrewCalendarTable::GetDaysInMonth(Integer AEra, Integer AYear, Integer AMonth) const {
  if (!IsValidMonth(AEra, AYear, AMonth)) return 0;
  return LunarMonthLen[HebrewTableType(AYear)][AMonth];
}

Integer TcxHebrewCalendarTable::GetDaysInYear(Integer AEra, Integer AYear) const {
  if (!IsValidYear(AEra, AYear)) return 0;
  return 352 + GetYearType(AYear) + (IsLeapYear(AEra, AYear) ? 30 : 0);
}

Integer TcxHebrewCalendarTable::GetFullWeeksInYear(Integer AYear) const {
  return GetDaysInYear(AYear) / 7;
}

Integer TcxHebrewCalendarTable::GetMonthsInYear(Integer AEra, Integer AYear) const {
  return IsLeapYear(AEra, AYear) ? 13 : 12;
}

bool TcxHebrewCalendarTable::IsLeapDay(Integer AEra, Integer AYear, Integer AMonth,
                                       Integer ADay) const {
  return IsValidDay(AEra, AYear, AMonth, ADay) && IsLeapMonth(AEra, AYear, AMonth);
}

bool TcxHebrewCalendarTable::IsLeapMonth(Integer AEra, Integer AYear, Integer AMonth) const {
  return IsValidMonth(AEra, AYear, AMonth) && IsLeapYear(AEra, AYear) && AMonth == 7;
}

bool TcxHebrewCalendarTable::IsLeapYear(Integer AEra, Integer AYear) const {
  return InHebrewTable(AYear) && HebrewTableType(AYear) > 3;
}

TDateTime TcxHebrewCalendarTable::ToDateTime(const TcxDateTime& ADateTime) const {
  TDateTime R;
  if (IsNotValid(ADateTime, R)) return R;
  Integer Row = HebrewTableType(ADateTime.Year);
  Integer G = ADateTime.Year - HebrewYearDelta;
  Integer LunarMonth = 0, LunarDay = 0;
  GetLunarMonthDay(HebrewTable[G - HebrewFirstGregorianYear][0], LunarMonth, LunarDay);
  TDateTime Jan1 = DateOfYMD(G, 1, 1);
  Integer Delta = GetDayDifference(Row, ADateTime.Month, ADateTime.Day, LunarMonth, LunarDay);
  return EncodeDateTime(Jan1 + Delta, ADateTime);
}

Integer TcxHebrewCalendarTable::GetDayNumber(const String& S) const {
  if (Integer N = HebrewNumber(S)) return N;
  return TcxCustomCalendarTable::GetDayNumber(S);
}

Integer TcxHebrewCalendarTable::GetMonthNumber(Integer AYear, const String& S) const {
  Integer N = HebrewNumber(S);
  if (N && IsValidMonth(AYear, N)) return N;
  if (Integer M = LocalMonthByName(this, AYear, 13, S)) return M;
  return TcxCustomCalendarTable::GetMonthNumber(AYear, S);
}

Integer TcxHebrewCalendarTable::GetYearNumber(const String& S) const {
  if (Integer N = HebrewNumber(S)) return N + 5000;
  return TcxCustomCalendarTable::GetYearNumber(S);
}

Integer TcxHebrewCalendarTable::GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek,
                                              TcxFirstWeekOfYear AFirstWeekOfYear) const {
  return LunarWeekNumber(*this, ADate, AFirstWeekOfYear);
}

Integer HebrewNumber(const String& S) {
  // Alef to tav (U+05D0-U+05EA), final forms counting as their letters.
  static const Integer Values[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10,  20,  20,  30, 40,
                                   40, 50, 50, 60, 70, 80, 80, 90, 90, 100, 200, 300, 400};
  Integer R = 0;
  for (Char C : S)
    if (C >= 0x05D0 && C <= 0x05EA) R += Values[C - 0x05D0];
  return R;
}

// ---------------------------------------------------------------------------
// Lookup

TcxCustomCalendarTableClass cxGetCalendarClass(CALID ACalendarID) {
  switch (ACalendarID) {
    case CAL_GREGORIAN_US:
      return TcxGregorianUSEnglishCalendarTable::StaticClass();
    case CAL_JAPAN:
      return TcxJapaneseCalendarTable::StaticClass();
    case CAL_TAIWAN:
      return TcxTaiwanCalendarTable::StaticClass();
    case CAL_KOREA:
      return TcxKoreanCalendarTable::StaticClass();
    case CAL_HIJRI:
      return TcxHijriCalendarTable::StaticClass();
    case CAL_THAI:
      return TcxThaiCalendarTable::StaticClass();
    case CAL_HEBREW:
      return TcxHebrewCalendarTable::StaticClass();
    case CAL_GREGORIAN_ME_FRENCH:
      return TcxGregorianMiddleEastFrenchCalendarTable::StaticClass();
    case CAL_GREGORIAN_ARABIC:
      return TcxGregorianArabicCalendarTable::StaticClass();
    case CAL_GREGORIAN_XLIT_ENGLISH:
      return TcxGregorianTransliteratedEnglishCalendarTable::StaticClass();
    case CAL_GREGORIAN_XLIT_FRENCH:
      return TcxGregorianTransliteratedFrenchCalendarTable::StaticClass();
    default:
      return TcxGregorianCalendarTable::StaticClass();
  }
}

TcxCustomCalendarTable* cxGetCalendar(CALID ACalendType) {
  TdxFastObjectList* List = cxCalendarList();
  if (!List) return nullptr;
  for (Integer I = 0; I < List->Count(); ++I) {
    auto* T = static_cast<TcxCustomCalendarTable*>(List->Items(I));
    if (T->GetCalendarID() == ACalendType) return T;
  }
  // An identifier no table reports (0, or one above 12) resolves to a class
  // that may already have its table; that one is shared as well.
  TcxCustomCalendarTableClass Class = cxGetCalendarClass(ACalendType);
  for (Integer I = 0; I < List->Count(); ++I)
    if (List->Items(I)->ClassType() == Class)
      return static_cast<TcxCustomCalendarTable*>(List->Items(I));
  return static_cast<TcxCustomCalendarTable*>(Class->Create());
}

CALID cxGetCalendarID(LCID Locale) {
  DWORD Value = 0;
  if (GetLocaleInfoW(Locale, LOCALE_ICALENDARTYPE | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPWSTR>(&Value), sizeof(Value) / sizeof(wchar_t)) == 0)
    return CAL_GREGORIAN;
  return Value;
}

CALID cxGetLocalCalendarID() { return cxGetCalendarID(GetThreadLocale()); }

TcxCustomCalendarTable* cxGetLocalCalendar() { return cxGetCalendar(cxGetLocalCalendarID()); }

bool cxIsGregorianCalendar(TcxCustomCalendarTable* ACalendar) {
  if (!ACalendar) ACalendar = cxGetLocalCalendar();
  CALID Id = ACalendar ? ACalendar->GetCalendarID() : CAL_GREGORIAN;
  switch (Id) {
    case CAL_GREGORIAN:
    case CAL_GREGORIAN_US:
    case CAL_GREGORIAN_ME_FRENCH:
    case CAL_GREGORIAN_ARABIC:
    case CAL_GREGORIAN_XLIT_ENGLISH:
    case CAL_GREGORIAN_XLIT_FRENCH:
      return true;
    default:
      return false;
  }
}
