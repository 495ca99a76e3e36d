#include "cxDateUtils.h"

#include <algorithm>
#include <cmath>

#include "cxFormats.h"
#include "cxLibraryStrs.h"
#include "dxCalendarUtils.h"

namespace {

TDay FStartOfWeek = dSunday;
bool FAssignedStartOfWeek = false;
TdxFastObjectList* FCalendarList = nullptr;
bool FCalendarListFinalized = false;
String* FSmartInputTexts = nullptr;

constexpr Integer DateDelta = 693594;
constexpr TDateTime NoFirstWeek = -699999;

// 0 is Sunday; the date part counts, also before the epoch.
Integer WeekDayOf(TDateTime ADate) {
  Int64 Days = DateDelta + static_cast<Int64>(std::trunc(ADate));
  return static_cast<Integer>(((Days % 7) + 7) % 7);
}

// The two-digit-year limits the platform uses when a locale sets none: the
// one place that fixes where two-digit years fall when the limit cannot be
// read.
Integer DefaultTwoDigitYearMax(CALID ACalendar) {
  switch (ACalendar) {
    case CAL_JAPAN:
    case CAL_TAIWAN:
      return 99;
    case CAL_KOREA:
      return 4362;
    case CAL_THAI:
      return 2572;
    case CAL_HIJRI:
      return 1451;
    case CAL_HEBREW:
      return 5790;
    default:
      return 2029;
  }
}

String Padded(Integer AValue, Integer ADigits) {
  String S = IntToStr(AValue);
  if (Length(S) < ADigits) S.insert(0, static_cast<size_t>(ADigits - Length(S)), L'0');
  return S;
}

const TResStringRec* const SmartInputStrings[cxDateEditSmartInputCount] = {
    &cxSDateToday,   &cxSDateYesterday, &cxSDateTomorrow, &cxSDateSunday, &cxSDateMonday,
    &cxSDateTuesday, &cxSDateWednesday, &cxSDateThursday, &cxSDateFriday, &cxSDateSaturday,
    &cxSDateFirst,   &cxSDateSecond,    &cxSDateThird,    &cxSDateFourth, &cxSDateFifth,
    &cxSDateSixth,   &cxSDateSeventh,   &cxSDateBOM,      &cxSDateEOM,    &cxSDateNow};

}  // namespace

// ---------------------------------------------------------------------------
// Eras
IMPLEMENT_CLASS(TcxEra)

void TcxEra::Assign(TPersistent* Source) {
  if (auto* E = AsOrNull<TcxEra>(Source)) {
    FEra = E->FEra;
    FMaxEraYear = E->FMaxEraYear;
    FMinEraYear = E->FMinEraYear;
    FStartDate = E->FStartDate;
    FYearOffset = E->FYearOffset;
    return;
  }
  inherited::Assign(Source);
}

IMPLEMENT_CLASS(TcxEras)

TcxEra* TcxEras::Items(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) Error(L"List index out of bounds (%d)", AIndex);
  return static_cast<TcxEra*>(TdxFastObjectList::Items(AIndex));
}

void TcxEras::SetItems(Integer AIndex, TcxEra* AEra) { Items(AIndex)->Assign(AEra); }

// ---------------------------------------------------------------------------
// Calendar table base
IMPLEMENT_CLASS(TcxCustomCalendarTable)

TdxFastObjectList* cxCalendarList() {
  if (!FCalendarList && !FCalendarListFinalized) FCalendarList = Create<TdxFastObjectList>(true);
  return FCalendarList;
}

void TcxCustomCalendarTable::AfterConstruction() {
  inherited::AfterConstruction();
  if (TdxFastObjectList* List = cxCalendarList()) List->Add(this);
}

void TcxCustomCalendarTable::BeforeDestruction() {
  if (FCalendarList) FCalendarList->Extract(this);
  inherited::BeforeDestruction();
}

void TcxCustomCalendarTable::AdjustYear(Integer& AYear, Integer& AEra) const {
  AdjustYear(AYear, AEra, 1, 1);
}

void TcxCustomCalendarTable::AdjustYear(Integer& AYear, Integer& AEra, Integer AMonth,
                                        Integer ADay) const {
  Integer G = AYear;
  YearToGregorianYear(G, AEra);
  Integer NewEra = GetEra(G, AMonth, ADay);
  if (NewEra == -1) return;
  AEra = NewEra;
  AYear = G - Eras()->Items(NewEra)->YearOffset();
}

void TcxCustomCalendarTable::CheckDateTime(TDateTime& ADateTime) const {
  ADateTime = std::clamp(ADateTime, GetMinSupportedDate(), GetMaxSupportedDate());
}

TDateTime TcxCustomCalendarTable::AddDays(const TcxDateTime& ADate, Integer ACountDays) const {
  TDateTime R = ToDateTime(ADate) + ACountDays;
  CheckDateTime(R);
  return R;
}

TDateTime TcxCustomCalendarTable::AddMonths(TDateTime ADate, Integer ACountMonths) const {
  return AddMonths(FromDateTime(ADate), ACountMonths);
}

TDateTime TcxCustomCalendarTable::AddMonths(const TcxDateTime& ADate, Integer ACountMonths) const {
  if (!IsValidDay(ADate.Era, ADate.Year, ADate.Month, ADate.Day)) return GetMinSupportedDate();
  Int64 M = Int64(ADate.Month) + ACountMonths;
  Integer Y = ADate.Year, E = ADate.Era;
  const Integer Direction = M > GetMonthsInYear(E, Y) ? -1 : 1;
  while (M < 1 || M > GetMonthsInYear(E, Y)) {
    // Years far outside every calendar's range: no date to give.
    if (std::abs(Y) > 100000) return GetMinSupportedDate();
    if (Direction == -1) {
      M -= GetMonthsInYear(E, Y);
      ++Y;
    } else {
      M += GetMonthsInYear(E, Y - 1);
      --Y;
    }
  }
  TcxDateTime R = ADate;
  R.Month = static_cast<Integer>(M);
  R.Year = Y;
  if (!IsValidDay(E, Y, R.Month, R.Day)) R.Day = GetDaysInMonth(E, Y, R.Month);
  AdjustYear(R.Year, R.Era, R.Month, R.Day);
  if (!IsValidDay(R.Era, R.Year, R.Month, R.Day)) return GetMinSupportedDate();
  TDateTime Result = ToDateTime(R);
  CheckDateTime(Result);
  return Result;
}

TDateTime TcxCustomCalendarTable::AddYears(TDateTime ADate, Integer ACountYears) const {
  return AddYears(FromDateTime(ADate), ACountYears);
}

TDateTime TcxCustomCalendarTable::AddYears(const TcxDateTime& ADate, Integer ACountYears) const {
  if (!IsValidDay(ADate.Era, ADate.Year, ADate.Month, ADate.Day)) return GetMinSupportedDate();
  TcxDateTime R = ADate;
  Int64 Y = Int64(ADate.Year) + ACountYears;
  if (std::abs(Y) > 100000) return GetMinSupportedDate();
  R.Year = static_cast<Integer>(Y);
  AdjustYear(R.Year, R.Era);
  if (!IsValidYear(R.Era, R.Year)) return GetMinSupportedDate();
  if (!IsValidMonth(R.Era, R.Year, R.Month)) R.Month = GetMonthsInYear(R.Era, R.Year);
  if (!IsValidDay(R.Era, R.Year, R.Month, R.Day)) R.Day = GetDaysInMonth(R.Era, R.Year, R.Month);
  AdjustYear(R.Year, R.Era, R.Month, R.Day);
  TDateTime Result = ToDateTime(R);
  CheckDateTime(Result);
  return Result;
}

TDateTime TcxCustomCalendarTable::AddWeeks(TDateTime ADate, Integer ACountWeeks) const {
  return AddWeeks(FromDateTime(ADate), ACountWeeks);
}

TDateTime TcxCustomCalendarTable::AddWeeks(const TcxDateTime& ADate, Integer ACountWeeks) const {
  return AddDays(ADate, 7 * ACountWeeks);
}

TcxDateTime TcxCustomCalendarTable::FromDateTime(Integer AYear, Integer AMonth,
                                                 Integer ADay) const {
  return FromDateTime(AYear, AMonth, ADay, 0, 0, 0, 0);
}

TcxDateTime TcxCustomCalendarTable::FromDateTime(Integer AYear, Integer AMonth, Integer ADay,
                                                 Integer AHours, Integer AMinutes, Integer ASeconds,
                                                 Integer AMilliseconds) const {
  TDateTime D =
      EncodeDate(static_cast<Word>(AYear), static_cast<Word>(AMonth), static_cast<Word>(ADay));
  TDateTime T = EncodeTime(static_cast<Word>(AHours), static_cast<Word>(AMinutes),
                           static_cast<Word>(ASeconds), static_cast<Word>(AMilliseconds));
  return FromDateTime(ComposeDateTime(D, T));
}

Integer TcxCustomCalendarTable::GetDayOfYear(TDateTime ADate) const {
  return GetDayOfYear(FromDateTime(ADate));
}

Integer TcxCustomCalendarTable::GetDayOfYear(const TcxDateTime& ADate) const {
  Integer R = ADate.Day;
  for (Integer M = 1; M < ADate.Month; ++M) R += GetDaysInMonth(ADate.Year, M);
  return R;
}

Integer TcxCustomCalendarTable::GetDaysInMonth(Integer AYear, Integer AMonth) const {
  return GetDaysInMonth(-1, AYear, AMonth);
}

Integer TcxCustomCalendarTable::GetDaysInYear(Integer AYear) const {
  return GetDaysInYear(-1, AYear);
}

Integer TcxCustomCalendarTable::GetEra(Integer AYear) const { return GetEra(AYear, 1, 1); }

Integer TcxCustomCalendarTable::GetEra(Integer AYear, Integer AMonth, Integer ADay) const {
  TDateTime Date;
  if (Eras()->Count() == 0 || !TryEncodeDate(static_cast<Word>(AYear), static_cast<Word>(AMonth),
                                             static_cast<Word>(ADay), Date))
    return -1;
  for (Integer I = Eras()->Count() - 1; I >= 0; --I)
    if (Eras()->Items(I)->StartDate() <= Date) return I;
  return -1;
}

TDateTime TcxCustomCalendarTable::GetFirstDayOfWeek(TDateTime ADate) const {
  return ToDateTime(GetFirstDayOfWeek(FromDateTime(ADate)));
}

TDateTime TcxCustomCalendarTable::GetFirstDayOfWeek(TDateTime ADate, TDay AStartDayOfWeek) const {
  Integer W = GetWeekDay(ADate);
  TDateTime R = ADate + static_cast<Integer>(AStartDayOfWeek) - W;
  if (W < AStartDayOfWeek) R -= 7;
  return R;
}

TcxDateTime TcxCustomCalendarTable::GetFirstDayOfWeek(const TcxDateTime& ADate) const {
  Integer D = GetFirstWeekDay() - GetWeekDay(ADate);
  if (D > 0) D -= 7;
  return FromDateTime(AddDays(ADate, D));
}

TcxDateTime TcxCustomCalendarTable::GetFirstDayOfWeek(const TcxDateTime& ADate,
                                                      TDay AStartDayOfWeek) const {
  return FromDateTime(GetFirstDayOfWeek(ToDateTime(ADate), AStartDayOfWeek));
}

TDateTime TcxCustomCalendarTable::GetFirstDayOfMonth(TDateTime ADate) const {
  return ToDateTime(GetFirstDayOfMonth(FromDateTime(ADate)));
}

TcxDateTime TcxCustomCalendarTable::GetFirstDayOfMonth(const TcxDateTime& ADate) const {
  TcxDateTime R = ADate;
  R.Day = 1;
  return R;
}

TDateTime TcxCustomCalendarTable::GetFirstDayOfYear(TDateTime ADate) const {
  return ToDateTime(GetFirstDayOfYear(FromDateTime(ADate)));
}

TcxDateTime TcxCustomCalendarTable::GetFirstDayOfYear(const TcxDateTime& ADate) const {
  TcxDateTime R = ADate;
  R.Month = 1;
  R.Day = 1;
  return R;
}

TDateTime TcxCustomCalendarTable::GetLastDayOfMonth(TDateTime ADate) const {
  return ToDateTime(GetLastDayOfMonth(FromDateTime(ADate)));
}

TcxDateTime TcxCustomCalendarTable::GetLastDayOfMonth(const TcxDateTime& ADate) const {
  TcxDateTime R = ADate;
  R.Day = GetDaysInMonth(R.Era, R.Year, R.Month);
  return R;
}

TDateTime TcxCustomCalendarTable::GetLastDayOfYear(TDateTime ADate) const {
  return ToDateTime(GetLastDayOfYear(FromDateTime(ADate)));
}

TcxDateTime TcxCustomCalendarTable::GetLastDayOfYear(const TcxDateTime& ADate) const {
  TcxDateTime R = ADate;
  R.Month = GetMonthsInYear(R.Era, R.Year);
  R.Day = GetDaysInMonth(R.Era, R.Year, R.Month);
  return R;
}

Integer TcxCustomCalendarTable::GetMonthsInYear(Integer AYear) const {
  return GetMonthsInYear(-1, AYear);
}

Integer TcxCustomCalendarTable::GetYear(TDateTime ADate) const { return FromDateTime(ADate).Year; }
Integer TcxCustomCalendarTable::GetYear(const TcxDate& ADate) const { return ADate.Year; }
Integer TcxCustomCalendarTable::GetYear(const TcxDateTime& ADate) const { return ADate.Year; }

Integer TcxCustomCalendarTable::GetWeekDay(TDateTime ADate) const { return WeekDayOf(ADate); }

Integer TcxCustomCalendarTable::GetWeekDay(const TcxDateTime& ADate) const {
  return GetWeekDay(ToDateTime(ADate));
}

Integer TcxCustomCalendarTable::GetWeekNumber(TDateTime ADate, TDay AStartOfWeek,
                                              TcxFirstWeekOfYear AFirstWeekOfYear) const {
  return GetWeekNumber(FromDateTime(ADate), AStartOfWeek, AFirstWeekOfYear);
}

bool TcxCustomCalendarTable::IsLeapDay(Integer AYear, Integer AMonth, Integer ADay) const {
  return IsLeapDay(-1, AYear, AMonth, ADay);
}
bool TcxCustomCalendarTable::IsLeapMonth(Integer AYear, Integer AMonth) const {
  return IsLeapMonth(-1, AYear, AMonth);
}
bool TcxCustomCalendarTable::IsLeapYear(Integer AYear) const { return IsLeapYear(-1, AYear); }
bool TcxCustomCalendarTable::IsValidYear(Integer AYear) const { return IsValidYear(-1, AYear); }

bool TcxCustomCalendarTable::IsValidYear(Integer AEra, Integer AYear) const {
  return GetMinSupportedYear() <= AYear && AYear <= GetMaxSupportedYear();
}

bool TcxCustomCalendarTable::IsValidMonth(Integer AYear, Integer AMonth) const {
  return IsValidMonth(-1, AYear, AMonth);
}

bool TcxCustomCalendarTable::IsValidMonth(Integer AEra, Integer AYear, Integer AMonth) const {
  return IsValidYear(AEra, AYear) && AMonth >= 1 && AMonth <= GetMonthsInYear(AEra, AYear);
}

bool TcxCustomCalendarTable::IsValidDay(Integer AYear, Integer AMonth, Integer ADay) const {
  return IsValidDay(-1, AYear, AMonth, ADay);
}

bool TcxCustomCalendarTable::IsValidDay(Integer AEra, Integer AYear, Integer AMonth,
                                        Integer ADay) const {
  return IsValidMonth(AEra, AYear, AMonth) && ADay >= 1 &&
         ADay <= GetDaysInMonth(AEra, AYear, AMonth);
}

bool TcxCustomCalendarTable::IsValidDate(TDateTime ADate) const {
  TcxDateTime D = FromDateTime(ADate);
  return IsValidDay(D.Era, D.Year, D.Month, D.Day);
}

TDateTime TcxCustomCalendarTable::ToDateTime(const TcxDate& ADate) const {
  TcxDateTime D;
  D.Era = ADate.Era;
  D.Year = ADate.Year;
  D.Month = ADate.Month;
  D.Day = ADate.Day;
  return ToDateTime(D);
}

TDateTime TcxCustomCalendarTable::ToDateTime(Integer AYear, Integer AMonth, Integer ADay) const {
  return ToDateTime(AYear, AMonth, ADay, 0, 0, 0, 0);
}

TDateTime TcxCustomCalendarTable::ToDateTime(Integer AYear, Integer AMonth, Integer ADay,
                                             Integer AHours, Integer AMinutes, Integer ASeconds,
                                             Integer AMilliseconds) const {
  TcxDateTime D;
  D.Year = AYear;
  D.Month = AMonth;
  D.Day = ADay;
  D.Hours = static_cast<Byte>(AHours);
  D.Minutes = static_cast<Byte>(AMinutes);
  D.Seconds = static_cast<Byte>(ASeconds);
  D.Milliseconds = static_cast<Word>(AMilliseconds);
  return ToDateTime(D);
}

Integer TcxCustomCalendarTable::GetDayNumber(const String& S) const { return StrToInt(S); }

Integer TcxCustomCalendarTable::GetMonthNumber(Integer AYear, const String& S) const {
  for (Integer M = 1; M <= 12; ++M)
    if (AnsiSameText(dxFormatSettings().LongMonthNames(M), S) ||
        AnsiSameText(dxFormatSettings().ShortMonthNames(M), S))
      return M;
  return StrToInt(S);
}

Integer TcxCustomCalendarTable::GetTwoDigitYearMax() const {
  DWORD Value = 0;
  if (cxGetCalendarInfo(GetThreadLocale(), GetCalendarID(),
                        CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER, nullptr, 0, &Value) == 0)
    return 0;
  return static_cast<Integer>(Value);
}

Integer TcxCustomCalendarTable::GetYearNumber(const String& S) const {
  Integer N = StrToInt(S);
  if (Length(S) > 2) return N;
  Integer L = GetTwoDigitYearMax();
  if (L <= 0) L = DefaultTwoDigitYearMax(GetCalendarID());
  Integer C = (L / 100) * 100;
  return L - C < N ? C + N - 100 : C + N;
}

bool TcxCustomCalendarTable::IsNotValid(const TcxDateTime& ADate, TDateTime& AResult) const {
  if (IsValidDay(ADate.Era, ADate.Year, ADate.Month, ADate.Day)) return false;
  AResult = GetMinSupportedDate();
  return true;
}

void TcxCustomCalendarTable::YearToGregorianYear(Integer& AYear, Integer AEra) const {
  if (AEra == -1) {
    if (TcxEra* E = GetDefaultEra()) AYear += E->YearOffset();
  } else if (AEra >= 0 && AEra < Eras()->Count()) {
    AYear += Eras()->Items(AEra)->YearOffset();
  }
}

// ---------------------------------------------------------------------------
// Week start and week numbers

TDay dxGetStartOfWeek() { return FAssignedStartOfWeek ? FStartOfWeek : dxGetLocalStartOfWeek(); }

void dxSetStartOfWeek(TDay AValue) {
  FStartOfWeek = AValue;
  FAssignedStartOfWeek = true;
}

void dxResetAssignedStartOfWeek() { FAssignedStartOfWeek = false; }
bool dxGetAssignedStartOfWeek() { return FAssignedStartOfWeek; }

TDay dxGetLocalStartOfWeek() {
  return dxDayOfWeekFromSystem(
      StrToIntDef(dxGetLocaleInfo(GetThreadLocale(), LOCALE_IFIRSTDAYOFWEEK, L"0"), 0));
}

TDay dxDayOfWeekFromSystem(Integer AValue) {
  static const TDay Table[] = {dMonday, dTuesday,  dWednesday, dThursday,
                               dFriday, dSaturday, dSunday};
  return Table[((AValue % 7) + 7) % 7];
}

TDay dxDayOfWeekFromVCL(Integer AValue) { return static_cast<TDay>((((AValue - 1) % 7) + 7) % 7); }

TcxFirstWeekOfYear dxGetLocalFirstWeekOfYear() {
  String S = dxGetLocaleInfo(GetThreadLocale(), LOCALE_IFIRSTWEEKOFYEAR, L"0");
  Integer N = !S.empty() && S[0] >= L'0' && S[0] <= L'2' ? S[0] - L'0' : 0;
  return static_cast<TcxFirstWeekOfYear>(N + 1);
}

TDateTime dxDateOf(TDateTime ADate) { return ADate == cxNullDate ? ADate : std::trunc(ADate); }

TDay dxDayOfWeek(TDateTime ADate) { return static_cast<TDay>(WeekDayOf(ADate)); }

Integer dxDayOfWeekOffset(TDateTime ADate) { return dxDayOfWeekOffset(dxGetStartOfWeek(), ADate); }

Integer dxDayOfWeekOffset(TDay AStartOfWeek, TDateTime ADate) {
  return (WeekDayOf(ADate) - AStartOfWeek + 7) % 7;
}

TDateTime dxGetStartDateOfWeek(TDateTime ADate) {
  return dxDateOf(ADate) - dxDayOfWeekOffset(ADate);
}

namespace {
TDateTime FirstWeekStart(Integer AYear, TcxFirstWeekOfYear ARule) {
  TDateTime Jan1;
  if (AYear < 1 || AYear > 9999 || !TryEncodeDate(static_cast<Word>(AYear), 1, 1, Jan1))
    return NoFirstWeek;
  Integer Offset = ARule == fwyFirstFourDays ? 3 : (ARule == fwyFirstFullWeek ? 6 : 0);
  return dxGetStartDateOfWeek(Jan1 + Offset);
}
}  // namespace

Integer dxGetWeekNumber(TDateTime ADate, TDay AStartOfWeek, TcxFirstWeekOfYear AFirstWeekOfYear) {
  if (AFirstWeekOfYear == fwySystem) AFirstWeekOfYear = dxGetLocalFirstWeekOfYear();
  Word Year, Month, Day;
  DecodeDate(ADate, Year, Month, Day);
  TDateTime Date = dxDateOf(ADate);
  if (Month == 12) {
    TDateTime Next = FirstWeekStart(Year + 1, AFirstWeekOfYear);
    if (Next != NoFirstWeek && Date >= Next) return 1;
  }
  TDateTime S = FirstWeekStart(Year, AFirstWeekOfYear);
  if (Month == 1 && Date < S) S = FirstWeekStart(Year - 1, AFirstWeekOfYear);
  return static_cast<Integer>(std::trunc(Date - S)) / 7 + 1;
}

// ---------------------------------------------------------------------------
// Locale readers

String cxGetLocalShortDateFormat() { return dxGetLocaleInfo(GetThreadLocale(), LOCALE_SSHORTDATE); }
String cxGetLocalLongDateFormat() { return dxGetLocaleInfo(GetThreadLocale(), LOCALE_SLONGDATE); }
String cxGetLocalLongTimeFormat() { return dxGetLocaleInfo(GetThreadLocale(), LOCALE_STIMEFORMAT); }
String cxGetLocalTimeAMString() { return dxGetLocaleInfo(GetThreadLocale(), LOCALE_S1159); }
String cxGetLocalTimePMString() { return dxGetLocaleInfo(GetThreadLocale(), LOCALE_S2359); }

Char cxGetLocalDateSeparator() {
  String S = dxGetLocaleInfo(GetThreadLocale(), LOCALE_SDATE);
  return S.empty() ? L'\0' : S[0];
}

Char cxGetLocalTimeSeparator() {
  String S = dxGetLocaleInfo(GetThreadLocale(), LOCALE_STIME);
  return S.empty() ? L'\0' : S[0];
}

TFormatSettings cxGetLocalFormatSettings() {
  TFormatSettings R;
  R.DateSeparator = cxGetLocalDateSeparator();
  R.ShortDateFormat = cxGetLocalShortDateFormat();
  R.LongDateFormat = cxGetLocalLongDateFormat();
  R.TimeSeparator = cxGetLocalTimeSeparator();
  R.LongTimeFormat = cxGetLocalLongTimeFormat();
  R.TimeAMString = cxGetLocalTimeAMString();
  R.TimePMString = cxGetLocalTimePMString();
  R.ListSeparator = FormatSettings().ListSeparator;
  return R;
}

Integer cxGetCalendarInfo(LCID Locale, CALID Calendar, CALTYPE CalendType, LPWSTR lpCalData,
                          Integer cchData, LPDWORD lpValue) {
  using TGetCalendarInfoW = int(WINAPI*)(LCID, CALID, CALTYPE, LPWSTR, int, LPDWORD);
  HMODULE Kernel = GetModuleHandleW(L"kernel32.dll");
  auto Proc = Kernel ? reinterpret_cast<TGetCalendarInfoW>(
                           reinterpret_cast<void*>(GetProcAddress(Kernel, "GetCalendarInfoW")))
                     : nullptr;
  return Proc ? Proc(Locale, Calendar, CalendType, lpCalData, cchData, lpValue) : 0;
}

// ---------------------------------------------------------------------------
// Dates as text

String cxDateToStrByFormat(TDateTime ADate, const String& ADateFormat, Char ADateSeparator) {
  Word Year, Month, Day;
  DecodeDate(ADate, Year, Month, Day);
  const Integer WeekDay = WeekDayOf(ADate);
  auto IsPartChar = [](Char C) {
    return C == L'"' || C == L'\'' || C == L'd' || C == L'D' || C == L'm' || C == L'M' ||
           C == L'y' || C == L'Y';
  };
  String Result, Pending;
  auto AddPart = [&](const String& APart) {
    if (!Result.empty() || !Pending.empty()) {
      if (ADateSeparator != L'\0')
        Result += ADateSeparator;
      else
        Result += Pending;
    }
    Result += APart;
    Pending.clear();
  };
  const String& S = ADateFormat;
  size_t I = 0;
  while (I < S.size() && !IsPartChar(S[I])) ++I;
  while (I < S.size()) {
    Char C = S[I];
    Char Lower = (C >= L'A' && C <= L'Z') ? static_cast<Char>(C + 32) : C;
    if (C == L'"' || C == L'\'') {
      size_t J = S.find(C, I + 1);
      if (J == String::npos) J = S.size();
      Pending.append(S, I + 1, J - I - 1);
      I = J + 1;
    } else if (Lower == L'd' || Lower == L'm' || Lower == L'y') {
      size_t J = I;
      while (J < S.size() && (S[J] == Lower || S[J] == Lower - 32)) ++J;
      Integer Run = static_cast<Integer>(J - I);
      I = J;
      if (Lower == L'd') {
        if (Run == 2)
          AddPart(Padded(Day, 2));
        else if (Run == 3)
          AddPart(FormatSettings().ShortDayNames[WeekDay]);
        else if (Run == 4)
          AddPart(FormatSettings().LongDayNames[WeekDay]);
        else
          AddPart(IntToStr(Integer(Day)));
      } else if (Lower == L'm') {
        AddPart(Run == 4 ? FormatSettings().LongMonthNames[Month - 1] : Padded(Month, 2));
      } else {
        String Four = Padded(Year, 4);
        Four = Four.substr(Four.size() - 4);
        AddPart(Run == 4 ? Four : Four.substr(2));
      }
    } else if (Lower == L'e') {
      ++I;
      while (I < S.size() && !IsPartChar(S[I])) ++I;
      Pending.clear();
    } else {
      Pending += C;
      ++I;
    }
  }
  return Result;
}

bool cxGetDateFormat(TDateTime ADate, String& AFormatDate, Integer AFlags, const String& AFormat) {
  TcxFormatController* Controller = cxFormatController();
  if (Controller && Controller->LocalIsGregorianCalendar() &&
      Controller->UseRuntimeDateTimeFormats()) {
    AFormatDate = cxDateToStrByFormat(
        ADate, AFormat.empty() ? dxFormatSettings().ShortDateFormat() : AFormat, L'\0');
    return true;
  }
  Word Y, M, D, H, N, S, MS;
  DecodeDate(ADate, Y, M, D);
  DecodeTime(ADate, H, N, S, MS);
  SYSTEMTIME T{Y, M, static_cast<WORD>(WeekDayOf(ADate)), D, H, N, S, MS};
  wchar_t Buffer[256] = {};
  int Len = GetDateFormatW(GetThreadLocale(), static_cast<DWORD>(AFlags), &T,
                           AFormat.empty() ? nullptr : AFormat.c_str(), Buffer, 256);
  if (Len <= 0) {
    AFormatDate.clear();
    return false;
  }
  AFormatDate.assign(Buffer, static_cast<size_t>(Len - 1));
  return true;
}

namespace {
bool RuntimeGregorian(TcxCustomCalendarTable* ACalendar) {
  TcxFormatController* Controller = cxFormatController();
  return cxIsGregorianCalendar(ACalendar) && Controller && Controller->UseRuntimeDateTimeFormats();
}

String ProcessMonthName(Integer AMonth) {
  return AMonth >= 1 && AMonth <= 12 ? dxFormatSettings().LongMonthNames(AMonth) : String();
}
}  // namespace

String cxGetLocalMonthName(TDateTime ADate, TcxCustomCalendarTable* ACalendar) {
  if (!ACalendar) ACalendar = cxGetLocalCalendar();
  if (!ACalendar) return String();
  TcxDateTime D = ACalendar->FromDateTime(ADate);
  if (RuntimeGregorian(ACalendar)) return ProcessMonthName(D.Month);
  String R;
  if (cxGetDateFormat(ACalendar->ToDateTime(D), R, 0, L"MMMM")) return R;
  return ProcessMonthName(D.Month);
}

String cxGetLocalMonthName(Integer AYear, Integer AMonth, TcxCustomCalendarTable* ACalendar) {
  if (!ACalendar) ACalendar = cxGetLocalCalendar();
  if (!ACalendar) return String();
  if (RuntimeGregorian(ACalendar)) return ProcessMonthName(AMonth);
  if (!ACalendar->IsValidMonth(AYear, AMonth)) return String();
  return cxGetLocalMonthName(ACalendar->ToDateTime(AYear, AMonth, 1), ACalendar);
}

// ---------------------------------------------------------------------------
// Smart input

void InitSmartInputConsts() {
  if (!FSmartInputTexts) FSmartInputTexts = new String[cxDateEditSmartInputCount];
  for (Integer I = 0; I < cxDateEditSmartInputCount; ++I)
    FSmartInputTexts[I] = cxGetResourceString(SmartInputStrings[I]);
}

String cxDateEditSmartInputText(TcxDateEditSmartInput AWord) {
  if (!FSmartInputTexts) InitSmartInputConsts();
  return FSmartInputTexts[AWord];
}

namespace {
// Apostrophes escaped, every other run of characters in single quotes.
String QuoteSmartInputWord(const String& AWord) {
  String R, Run;
  auto Flush = [&] {
    if (!Run.empty()) R += L"'" + Run + L"'";
    Run.clear();
  };
  for (Char C : AWord) {
    if (C == L'\'') {
      Flush();
      R += L"\\'";
    } else {
      Run += C;
    }
  }
  Flush();
  return R;
}
}  // namespace

void AddDateRegExprMaskSmartInput(String& AMask, bool ACanEnterTime) {
  InitSmartInputConsts();
  AMask = L"(" + AMask + L")|(";
  for (Integer I = 0; I < cxDateEditSmartInputCount; ++I) {
    if (I == deiNow && !ACanEnterTime) continue;
    if (I > 0) AMask += L"|";
    AMask += QuoteSmartInputWord(FSmartInputTexts[I]);
  }
  AMask += L")((\\+|-)\\d(\\d(\\d\\d?)?)?)?";
}

// ---------------------------------------------------------------------------
// Start-up and shut-down

namespace cxDateUtilsDetail {
void ReleaseDefaultTimeZoneInfo();
}

namespace {
// The time-zone table is read for date components that convert between
// zones; whatever the registry holds, start-up goes on without it.
void InitializeUtils() {
  try {
    TdxTimeZoneHelper::InitTimeZoneInformation();
  } catch (const Exception&) {
  } catch (const std::exception&) {
  }
}

void FinalizeUtils() { TdxTimeZoneHelper::DoneTimeZoneInformation(); }
}  // namespace

void cxDateUtils_Initialize() {
  FStartOfWeek = dxGetLocalStartOfWeek();
  FCalendarListFinalized = false;
  cxCalendarList();
  if (TdxUnitsLoader* Loader = dxUnitsLoader())
    Loader->AddUnit(&InitializeUtils, &FinalizeUtils);
  else
    InitializeUtils();
}

void cxDateUtils_Finalize() {
  if (TdxUnitsLoader* Loader = dxUnitsLoader())
    Loader->RemoveUnit(&FinalizeUtils);
  else
    FinalizeUtils();
  TdxFastObjectList* List = FCalendarList;
  FCalendarList = nullptr;
  FCalendarListFinalized = true;
  if (List) List->Free();
  delete[] FSmartInputTexts;
  FSmartInputTexts = nullptr;
  cxDateUtilsDetail::ReleaseDefaultTimeZoneInfo();
}
