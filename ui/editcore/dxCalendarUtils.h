// The calendars of Windows locales (calendar identifiers 1 to 12): each
// converts between the platform date-time and a date of its own, with its
// eras, leap rules, month lengths and week numbers. cxGetCalendar hands out
// one shared table per calendar.
#pragma once

#include "cxDateUtils.h"

// Gregorian and its variants, which differ only in identifier and first day
// of the week.
class TcxGregorianCalendarTable : public TcxCustomCalendarTable {
  DECLARE_CLASS(TcxGregorianCalendarTable, TcxCustomCalendarTable)
 public:
  using TcxCustomCalendarTable::FromDateTime;
  using TcxCustomCalendarTable::GetDaysInMonth;
  using TcxCustomCalendarTable::GetDaysInYear;
  using TcxCustomCalendarTable::GetMonthsInYear;
  using TcxCustomCalendarTable::GetWeekNumber;
  using TcxCustomCalendarTable::IsLeapDay;
  using TcxCustomCalendarTable::IsLeapMonth;
  using TcxCustomCalendarTable::IsLeapYear;
  using TcxCustomCalendarTable::ToDateTime;

  TcxCalendarAlgorithmType GetCalendarAlgorithmType() const override { return catSolarCalendar; }
  CALID GetCalendarID() const override { return CAL_GREGORIAN; }
  TcxEra* GetDefaultEra() const override { return FDefaultEra.get(); }
  TDateTime GetMaxSupportedDate() const override { return MaxDateTime; }
  TDateTime GetMinSupportedDate() const override { return MinDateTime; }
  Integer GetMaxSupportedYear() const override { return dxMaxYear; }
  Integer GetMinSupportedYear() const override { return dxMinYear; }
  TcxDateTime FromDateTime(TDateTime ADate) const override;
  Integer GetDaysInMonth(Integer AEra, Integer AYear, Integer AMonth) const override;
  Integer GetDaysInYear(Integer AEra, Integer AYear) const override;
  TDay GetFirstWeekDay() const override { return dSunday; }
  Integer GetFullWeeksInYear(Integer AYear) const override;
  Integer GetMonthsInYear(Integer AEra, Integer AYear) const override { return 12; }
  Integer GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek,
                        TcxFirstWeekOfYear AFirstWeekOfYear) const override;
  bool IsLeapDay(Integer AEra, Integer AYear, Integer AMonth, Integer ADay) const override;
  bool IsLeapMonth(Integer AEra, Integer AYear, Integer AMonth) const override;
  bool IsLeapYear(Integer AEra, Integer AYear) const override;
  // Raises EConvertError for a date that does not exist.
  TDateTime ToDateTime(const TcxDateTime& ADateTime) const override;

 private:
  TOwned<TcxEra> FDefaultEra = MakeOwned<TcxEra>(-1, cxNullDate, 0, 1, 9999);
};

class TcxGregorianUSEnglishCalendarTable : public TcxGregorianCalendarTable {
  DECLARE_CLASS(TcxGregorianUSEnglishCalendarTable, TcxGregorianCalendarTable)
 public:
  CALID GetCalendarID() const override { return CAL_GREGORIAN_US; }
};

class TcxGregorianMiddleEastFrenchCalendarTable : public TcxGregorianCalendarTable {
  DECLARE_CLASS(TcxGregorianMiddleEastFrenchCalendarTable, TcxGregorianCalendarTable)
 public:
  CALID GetCalendarID() const override { return CAL_GREGORIAN_ME_FRENCH; }
  TDay GetFirstWeekDay() const override { return dMonday; }
};

class TcxGregorianArabicCalendarTable : public TcxGregorianCalendarTable {
  DECLARE_CLASS(TcxGregorianArabicCalendarTable, TcxGregorianCalendarTable)
 public:
  CALID GetCalendarID() const override { return CAL_GREGORIAN_ARABIC; }
  TDay GetFirstWeekDay() const override { return dSaturday; }
};

class TcxGregorianTransliteratedEnglishCalendarTable : public TcxGregorianCalendarTable {
  DECLARE_CLASS(TcxGregorianTransliteratedEnglishCalendarTable, TcxGregorianCalendarTable)
 public:
  CALID GetCalendarID() const override { return CAL_GREGORIAN_XLIT_ENGLISH; }
  TDay GetFirstWeekDay() const override { return dMonday; }
};

class TcxGregorianTransliteratedFrenchCalendarTable : public TcxGregorianCalendarTable {
  DECLARE_CLASS(TcxGregorianTransliteratedFrenchCalendarTable, TcxGregorianCalendarTable)
 public:
  CALID GetCalendarID() const override { return CAL_GREGORIAN_XLIT_FRENCH; }
  TDay GetFirstWeekDay() const override { return dMonday; }
};

// The Japanese family: Gregorian days and leap rules, years counted in eras.
class TcxJapaneseCalendarTable : public TcxGregorianCalendarTable {
  DECLARE_CLASS(TcxJapaneseCalendarTable, TcxGregorianCalendarTable)
 public:
  TcxJapaneseCalendarTable();
  CALID GetCalendarID() const override { return CAL_JAPAN; }
  TcxEra* GetDefaultEra() const override { return Eras()->Items(3); }
  TDateTime GetMaxSupportedDate() const override;
  TDateTime GetMinSupportedDate() const override;
  Integer GetMaxSupportedYear() const override { return 8011; }
  Integer GetMinSupportedYear() const override { return 1; }
  TcxDateTime FromDateTime(TDateTime ADate) const override;
  TDateTime ToDateTime(const TcxDateTime& ADateTime) const override;

 protected:
  // The Taiwan, Korean and Thai tables list only their own era.
  struct TNoEras {};
  explicit TcxJapaneseCalendarTable(TNoEras) {}
};

class TcxTaiwanCalendarTable : public TcxJapaneseCalendarTable {
  DECLARE_CLASS(TcxTaiwanCalendarTable, TcxJapaneseCalendarTable)
 public:
  TcxTaiwanCalendarTable();
  CALID GetCalendarID() const override { return CAL_TAIWAN; }
  TcxEra* GetDefaultEra() const override { return Eras()->Items(0); }
  TDateTime GetMinSupportedDate() const override { return GetDefaultEra()->StartDate(); }
  Integer GetMaxSupportedYear() const override { return GetDefaultEra()->MaxEraYear(); }
  Integer GetMinSupportedYear() const override { return GetDefaultEra()->MinEraYear(); }
};

class TcxKoreanCalendarTable : public TcxJapaneseCalendarTable {
  DECLARE_CLASS(TcxKoreanCalendarTable, TcxJapaneseCalendarTable)
 public:
  TcxKoreanCalendarTable();
  CALID GetCalendarID() const override { return CAL_KOREA; }
  TcxEra* GetDefaultEra() const override { return Eras()->Items(0); }
  TDateTime GetMinSupportedDate() const override { return GetDefaultEra()->StartDate(); }
  Integer GetMaxSupportedYear() const override { return GetDefaultEra()->MaxEraYear(); }
  Integer GetMinSupportedYear() const override { return GetDefaultEra()->MinEraYear(); }
};

class TcxThaiCalendarTable : public TcxJapaneseCalendarTable {
  DECLARE_CLASS(TcxThaiCalendarTable, TcxJapaneseCalendarTable)
 public:
  TcxThaiCalendarTable();
  CALID GetCalendarID() const override { return CAL_THAI; }
  TcxEra* GetDefaultEra() const override { return Eras()->Items(0); }
  TDateTime GetMinSupportedDate() const override { return GetDefaultEra()->StartDate(); }
  Integer GetMaxSupportedYear() const override { return GetDefaultEra()->MaxEraYear(); }
  Integer GetMinSupportedYear() const override { return GetDefaultEra()->MinEraYear(); }
};

// The tabular Islamic calendar with a 30-year leap cycle.
class TcxHijriCalendarTable : public TcxCustomCalendarTable {
  DECLARE_CLASS(TcxHijriCalendarTable, TcxCustomCalendarTable)
 public:
  using TcxCustomCalendarTable::FromDateTime;
  using TcxCustomCalendarTable::GetDaysInMonth;
  using TcxCustomCalendarTable::GetDaysInYear;
  using TcxCustomCalendarTable::GetMonthsInYear;
  using TcxCustomCalendarTable::GetWeekNumber;
  using TcxCustomCalendarTable::IsLeapDay;
  using TcxCustomCalendarTable::IsLeapMonth;
  using TcxCustomCalendarTable::IsLeapYear;
  using TcxCustomCalendarTable::ToDateTime;

  TcxCalendarAlgorithmType GetCalendarAlgorithmType() const override { return catLunarCalendar; }
  CALID GetCalendarID() const override { return CAL_HIJRI; }
  TDateTime GetMaxSupportedDate() const override;
  TDateTime GetMinSupportedDate() const override;
  Integer GetMaxSupportedYear() const override { return 9666; }
  Integer GetMinSupportedYear() const override { return 1; }
  TcxDateTime FromDateTime(TDateTime ADate) const override;
  Integer GetDaysInMonth(Integer AEra, Integer AYear, Integer AMonth) const override;
  Integer GetDaysInYear(Integer AEra, Integer AYear) const override;
  TDay GetFirstWeekDay() const override { return dSaturday; }
  Integer GetFullWeeksInYear(Integer AYear) const override { return 50; }
  Integer GetMonthsInYear(Integer AEra, Integer AYear) const override { return 12; }
  bool IsLeapDay(Integer AEra, Integer AYear, Integer AMonth, Integer ADay) const override;
  bool IsLeapMonth(Integer AEra, Integer AYear, Integer AMonth) const override;
  bool IsLeapYear(Integer AEra, Integer AYear) const override;
  TDateTime ToDateTime(const TcxDateTime& ADateTime) const override;
  Integer GetMonthNumber(Integer AYear, const String& S) const override;
  // Counted from the first day of month 1 of the date's own year.
  Integer GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek,
                        TcxFirstWeekOfYear AFirstWeekOfYear) const override;
  TcxEra* GetDefaultEra() const override { return FDefaultEra.get(); }

 private:
  TOwned<TcxEra> FDefaultEra = MakeOwned<TcxEra>(-1, cxNullDate, 0, 1, 9999);
};

// The Hebrew calendar from its table of the Gregorian years 1583 to 2240.
class TcxHebrewCalendarTable : public TcxCustomCalendarTable {
  DECLARE_CLASS(TcxHebrewCalendarTable, TcxCustomCalendarTable)
 public:
  using TcxCustomCalendarTable::FromDateTime;
  using TcxCustomCalendarTable::GetDaysInMonth;
  using TcxCustomCalendarTable::GetDaysInYear;
  using TcxCustomCalendarTable::GetMonthsInYear;
  using TcxCustomCalendarTable::GetWeekNumber;
  using TcxCustomCalendarTable::IsLeapDay;
  using TcxCustomCalendarTable::IsLeapMonth;
  using TcxCustomCalendarTable::IsLeapYear;
  using TcxCustomCalendarTable::ToDateTime;

  TcxCalendarAlgorithmType GetCalendarAlgorithmType() const override {
    return catLunarSolarCalendar;
  }
  CALID GetCalendarID() const override { return CAL_HEBREW; }
  TDateTime GetMaxSupportedDate() const override;
  TDateTime GetMinSupportedDate() const override;
  Integer GetMaxSupportedYear() const override { return 5999; }
  Integer GetMinSupportedYear() const override { return 5343; }
  // Dates beyond the supported range convert as its nearer limit.
  TcxDateTime FromDateTime(TDateTime ADate) const override;
  Integer GetDaysInMonth(Integer AEra, Integer AYear, Integer AMonth) const override;
  Integer GetDaysInYear(Integer AEra, Integer AYear) const override;
  TDay GetFirstWeekDay() const override { return dSunday; }
  Integer GetFullWeeksInYear(Integer AYear) const override;
  Integer GetMonthsInYear(Integer AEra, Integer AYear) const override;
  bool IsLeapDay(Integer AEra, Integer AYear, Integer AMonth, Integer ADay) const override;
  bool IsLeapMonth(Integer AEra, Integer AYear, Integer AMonth) const override;
  bool IsLeapYear(Integer AEra, Integer AYear) const override;
  TDateTime ToDateTime(const TcxDateTime& ADateTime) const override;
  Integer GetDayNumber(const String& S) const override;
  Integer GetMonthNumber(Integer AYear, const String& S) const override;
  Integer GetYearNumber(const String& S) const override;

  // Counted from the first day of month 1 of the date's own year.
  Integer GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek,
                        TcxFirstWeekOfYear AFirstWeekOfYear) const override;
  TcxEra* GetDefaultEra() const override { return FDefaultEra.get(); }

  // 1 to 3 for a year of 353, 354 or 355 days (plus 30 in a leap year); 0
  // outside the table.
  Integer GetYearType(Integer AYear) const;

 private:
  TOwned<TcxEra> FDefaultEra = MakeOwned<TcxEra>(-1, cxNullDate, 0, 1, 9999);
};

// The sum of the values of the Hebrew letter numerals in S (0 when none).
Integer HebrewNumber(const String& S);

TcxCustomCalendarTableClass cxGetCalendarClass(CALID ACalendarID);
// The shared table of a calendar; the caller never frees it. nullptr once
// the date utilities have shut down.
TcxCustomCalendarTable* cxGetCalendar(CALID ACalendType);
CALID cxGetCalendarID(LCID Locale);
CALID cxGetLocalCalendarID();
TcxCustomCalendarTable* cxGetLocalCalendar();
// For nullptr, of the locale's calendar.
bool cxIsGregorianCalendar(TcxCustomCalendarTable* ACalendar = nullptr);
