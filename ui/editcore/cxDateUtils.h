// What every date-aware part of the editors shares: the calendar-table base
// with its date arithmetic, the process-wide first day of the week and
// week-number rules, readers of the locale's date and time formats, dates as
// text by a simple picture, month names, the smart-input words of date
// masks, and the machine's time-zone table.
#pragma once

#include <vector>

#include "Classes.h"
#include "dxCore.h"
#include "dxCoreClasses.h"

// ---------------------------------------------------------------------------
// Types
enum TDay { dSunday, dMonday, dTuesday, dWednesday, dThursday, dFriday, dSaturday };
using TDays = TSet<TDay, 8>;
enum TcxFirstWeekOfYear { fwySystem, fwyJan1, fwyFirstFullWeek, fwyFirstFourDays };
enum TcxCalendarAlgorithmType {
  catUnknown,
  catSolarCalendar,
  catLunarCalendar,
  catLunarSolarCalendar
};
enum TcxMonthView { mvName, mvDigital, mvNone };
enum TcxYearView { yvFourDigitals, yvTwoDigitals, yvNone };
enum TcxDateEditSmartInput {
  deiToday,
  deiYesterday,
  deiTomorrow,
  deiSunday,
  deiMonday,
  deiTuesday,
  deiWednesday,
  deiThursday,
  deiFriday,
  deiSaturday,
  deiFirst,
  deiSecond,
  deiThird,
  deiFourth,
  deiFifth,
  deiSixth,
  deiSeventh,
  deiBOM,
  deiEOM,
  deiNow
};
constexpr Integer cxDateEditSmartInputCount = deiNow + 1;

constexpr Integer dxMinYear = 100;
constexpr Integer dxMaxYear = 9999;
// 1 January 100 and the end of 31 December 9999.
constexpr TDateTime MinDateTime = -657434.0;
constexpr TDateTime MaxDateTime = 2958465.99999;
// Marks "no date": below every date the calendars handle.
constexpr TDateTime cxNullDate = -700000.0;

// A date in the terms of one calendar; Era -1 means none (the calendar's
// default era).
struct TcxDateTime {
  Integer Era = -1;
  Integer Year = 0;
  Integer Month = 0;
  Integer Day = 0;
  Byte Hours = 0;
  Byte Minutes = 0;
  Byte Seconds = 0;
  Word Milliseconds = 0;
};

struct TcxDate {
  Integer Era = -1;
  Integer Year = 0;
  Integer Month = 0;
  Integer Day = 0;
};

// ---------------------------------------------------------------------------
// Eras
class TcxEra : public TPersistent {
  DECLARE_CLASS(TcxEra, TPersistent)
 public:
  TcxEra(Integer AEra, TDateTime AStartDate, Integer AYearOffset, Integer AMinEraYear,
         Integer AMaxEraYear)
      : FEra(AEra),
        FMaxEraYear(AMaxEraYear),
        FMinEraYear(AMinEraYear),
        FStartDate(AStartDate),
        FYearOffset(AYearOffset) {}
  void Assign(TPersistent* Source) override;

  Integer Era() const { return FEra; }
  Integer MaxEraYear() const { return FMaxEraYear; }
  Integer MinEraYear() const { return FMinEraYear; }
  TDateTime StartDate() const { return FStartDate; }
  Integer YearOffset() const { return FYearOffset; }

 private:
  Integer FEra;
  Integer FMaxEraYear;
  Integer FMinEraYear;
  TDateTime FStartDate;
  Integer FYearOffset;
};

// Owns its eras. Indexes outside 0..Count-1 raise EListError.
class TcxEras : public TdxFastObjectList {
  DECLARE_CLASS(TcxEras, TdxFastObjectList)
 public:
  TcxEras() : TdxFastObjectList(true) {}
  TcxEra* Items(Integer AIndex) const;
  // Copies AEra's values into the listed era.
  void SetItems(Integer AIndex, TcxEra* AEra);
};

// ---------------------------------------------------------------------------
// Calendar tables
class TcxCustomCalendarTable;
using TcxCustomCalendarTableClass = TClass;

// The base of every calendar: shared date arithmetic and validity rules on
// top of the per-calendar operations. A table joins the process-wide
// calendar list when it is built and leaves it when it is freed.
class TcxCustomCalendarTable : public TObject {
  DECLARE_CLASS(TcxCustomCalendarTable, TObject)
 public:
  void AfterConstruction() override;
  void BeforeDestruction() override;

  virtual void AdjustYear(Integer& AYear, Integer& AEra) const;
  virtual void AdjustYear(Integer& AYear, Integer& AEra, Integer AMonth, Integer ADay) const;
  virtual TcxCalendarAlgorithmType GetCalendarAlgorithmType() const = 0;
  virtual CALID GetCalendarID() const = 0;
  virtual TcxEra* GetDefaultEra() const = 0;
  virtual TDateTime GetMaxSupportedDate() const = 0;
  virtual TDateTime GetMinSupportedDate() const = 0;
  virtual void CheckDateTime(TDateTime& ADateTime) const;
  virtual Integer GetMaxSupportedYear() const = 0;
  virtual Integer GetMinSupportedYear() const = 0;

  virtual TDateTime AddDays(const TcxDateTime& ADate, Integer ACountDays) const;
  virtual TDateTime AddMonths(TDateTime ADate, Integer ACountMonths) const;
  virtual TDateTime AddMonths(const TcxDateTime& ADate, Integer ACountMonths) const;
  virtual TDateTime AddYears(TDateTime ADate, Integer ACountYears) const;
  virtual TDateTime AddYears(const TcxDateTime& ADate, Integer ACountYears) const;
  virtual TDateTime AddWeeks(TDateTime ADate, Integer ACountWeeks) const;
  virtual TDateTime AddWeeks(const TcxDateTime& ADate, Integer ACountWeeks) const;
  virtual TcxDateTime FromDateTime(TDateTime ADate) const = 0;
  virtual TcxDateTime FromDateTime(Integer AYear, Integer AMonth, Integer ADay) const;
  virtual TcxDateTime FromDateTime(Integer AYear, Integer AMonth, Integer ADay, Integer AHours,
                                   Integer AMinutes, Integer ASeconds, Integer AMilliseconds) const;
  virtual Integer GetDayOfYear(TDateTime ADate) const;
  virtual Integer GetDayOfYear(const TcxDateTime& ADate) const;
  virtual Integer GetDaysInMonth(Integer AYear, Integer AMonth) const;
  virtual Integer GetDaysInMonth(Integer AEra, Integer AYear, Integer AMonth) const = 0;
  virtual Integer GetDaysInYear(Integer AYear) const;
  virtual Integer GetDaysInYear(Integer AEra, Integer AYear) const = 0;
  virtual Integer GetEra(Integer AYear) const;
  virtual Integer GetEra(Integer AYear, Integer AMonth, Integer ADay) const;
  virtual TDateTime GetFirstDayOfWeek(TDateTime ADate) const;
  virtual TDateTime GetFirstDayOfWeek(TDateTime ADate, TDay AStartDayOfWeek) const;
  virtual TcxDateTime GetFirstDayOfWeek(const TcxDateTime& ADate) const;
  virtual TcxDateTime GetFirstDayOfWeek(const TcxDateTime& ADate, TDay AStartDayOfWeek) const;
  virtual TDateTime GetFirstDayOfMonth(TDateTime ADate) const;
  virtual TcxDateTime GetFirstDayOfMonth(const TcxDateTime& ADate) const;
  virtual TDateTime GetFirstDayOfYear(TDateTime ADate) const;
  virtual TcxDateTime GetFirstDayOfYear(const TcxDateTime& ADate) const;
  virtual TDay GetFirstWeekDay() const = 0;
  virtual Integer GetFullWeeksInYear(Integer AYear) const = 0;
  virtual TDateTime GetLastDayOfMonth(TDateTime ADate) const;
  virtual TcxDateTime GetLastDayOfMonth(const TcxDateTime& ADate) const;
  virtual TDateTime GetLastDayOfYear(TDateTime ADate) const;
  virtual TcxDateTime GetLastDayOfYear(const TcxDateTime& ADate) const;
  virtual Integer GetMonthsInYear(Integer AYear) const;
  virtual Integer GetMonthsInYear(Integer AEra, Integer AYear) const = 0;
  virtual Integer GetYear(TDateTime ADate) const;
  virtual Integer GetYear(const TcxDate& ADate) const;
  virtual Integer GetYear(const TcxDateTime& ADate) const;
  // 0 is Sunday.
  virtual Integer GetWeekDay(TDateTime ADate) const;
  virtual Integer GetWeekDay(const TcxDateTime& ADate) const;
  virtual Integer GetWeekNumber(TDateTime ADate, TDay AStartOfWeek,
                                TcxFirstWeekOfYear AFirstWeekOfYear) const;
  virtual Integer GetWeekNumber(const TcxDateTime& ADate, TDay AStartOfWeek,
                                TcxFirstWeekOfYear AFirstWeekOfYear) const = 0;
  virtual bool IsLeapDay(Integer AYear, Integer AMonth, Integer ADay) const;
  virtual bool IsLeapDay(Integer AEra, Integer AYear, Integer AMonth, Integer ADay) const = 0;
  virtual bool IsLeapMonth(Integer AYear, Integer AMonth) const;
  virtual bool IsLeapMonth(Integer AEra, Integer AYear, Integer AMonth) const = 0;
  virtual bool IsLeapYear(Integer AYear) const;
  virtual bool IsLeapYear(Integer AEra, Integer AYear) const = 0;
  virtual bool IsValidYear(Integer AYear) const;
  virtual bool IsValidYear(Integer AEra, Integer AYear) const;
  virtual bool IsValidMonth(Integer AYear, Integer AMonth) const;
  virtual bool IsValidMonth(Integer AEra, Integer AYear, Integer AMonth) const;
  virtual bool IsValidDay(Integer AYear, Integer AMonth, Integer ADay) const;
  virtual bool IsValidDay(Integer AEra, Integer AYear, Integer AMonth, Integer ADay) const;
  virtual bool IsValidDate(TDateTime ADate) const;
  virtual TDateTime ToDateTime(const TcxDate& ADate) const;
  virtual TDateTime ToDateTime(Integer AYear, Integer AMonth, Integer ADay) const;
  virtual TDateTime ToDateTime(Integer AYear, Integer AMonth, Integer ADay, Integer AHours,
                               Integer AMinutes, Integer ASeconds, Integer AMilliseconds) const;
  virtual TDateTime ToDateTime(const TcxDateTime& ADateTime) const = 0;
  // EConvertError for text that is not an integer.
  virtual Integer GetDayNumber(const String& S) const;
  virtual Integer GetMonthNumber(Integer AYear, const String& S) const;
  virtual Integer GetYearNumber(const String& S) const;

  // When ADate is no valid day, AResult becomes the minimum supported date
  // and the answer is true.
  bool IsNotValid(const TcxDateTime& ADate, TDateTime& AResult) const;
  void YearToGregorianYear(Integer& AYear, Integer AEra) const;
  TcxEras* Eras() const { return FEras.get(); }

 protected:
  // The two-digit-year limit of this calendar in the locale, or 0 when it
  // cannot be read (then a fixed window applies, see GetYearNumber).
  virtual Integer GetTwoDigitYearMax() const;

 private:
  TOwned<TcxEras> FEras = MakeOwned<TcxEras>();
};

// ---------------------------------------------------------------------------
// Week start and week numbers
TDay dxGetStartOfWeek();
void dxSetStartOfWeek(TDay AValue);
void dxResetAssignedStartOfWeek();
bool dxGetAssignedStartOfWeek();
TDay dxGetLocalStartOfWeek();
// The locale's 0 (Monday) to 6 (Sunday).
TDay dxDayOfWeekFromSystem(Integer AValue);
// The platform's 1 (Sunday) to 7.
TDay dxDayOfWeekFromVCL(Integer AValue);
TcxFirstWeekOfYear dxGetLocalFirstWeekOfYear();

// The date part of a date-time; cxNullDate stays as it is.
TDateTime dxDateOf(TDateTime ADate);
TDay dxDayOfWeek(TDateTime ADate);
// Days since the start of the date's week (0-6).
Integer dxDayOfWeekOffset(TDateTime ADate);
Integer dxDayOfWeekOffset(TDay AStartOfWeek, TDateTime ADate);
TDateTime dxGetStartDateOfWeek(TDateTime ADate);
// Weeks always start on dxGetStartOfWeek; AStartOfWeek is accepted for the
// callers that pass it.
Integer dxGetWeekNumber(TDateTime ADate, TDay AStartOfWeek, TcxFirstWeekOfYear AFirstWeekOfYear);

// ---------------------------------------------------------------------------
// The thread locale's formats
String cxGetLocalShortDateFormat();
String cxGetLocalLongDateFormat();
String cxGetLocalLongTimeFormat();
String cxGetLocalTimeAMString();
String cxGetLocalTimePMString();
// NUL when the locale gives none.
Char cxGetLocalDateSeparator();
Char cxGetLocalTimeSeparator();
// Exactly the date separator, short and long date, time separator, long time,
// AM and PM strings from the locale, and the list separator from the
// process-wide settings; every other field keeps its default.
TFormatSettings cxGetLocalFormatSettings();

// GetCalendarInfoW looked up by name; 0 when the platform lacks it.
Integer cxGetCalendarInfo(LCID Locale, CALID Calendar, CALTYPE CalendType, LPWSTR lpCalData,
                          Integer cchData, LPDWORD lpValue);

// The date's Gregorian day, month and year by a picture of d, m and y runs
// and quoted literals; ADateSeparator, when not NUL, stands between the parts
// instead of the picture's own literals.
String cxDateToStrByFormat(TDateTime ADate, const String& ADateFormat, Char ADateSeparator);
// True when a text was produced.
bool cxGetDateFormat(TDateTime ADate, String& AFormatDate, Integer AFlags,
                     const String& AFormat = String());
String cxGetLocalMonthName(TDateTime ADate, TcxCustomCalendarTable* ACalendar);
String cxGetLocalMonthName(Integer AYear, Integer AMonth, TcxCustomCalendarTable* ACalendar);

// ---------------------------------------------------------------------------
// Smart input
// The current texts of the smart-input words (read from the resource-string
// repository each time InitSmartInputConsts runs).
void InitSmartInputConsts();
String cxDateEditSmartInputText(TcxDateEditSmartInput AWord);
// AMask becomes "(" AMask ")|(" the quoted words ")" and an optional signed
// offset of one to four digits; the "now" word only when ACanEnterTime.
void AddDateRegExprMaskSmartInput(String& AMask, bool ACanEnterTime);

// ---------------------------------------------------------------------------
// Time zones
#pragma pack(push, 1)
// The registry's binary time-zone layout, 44 bytes.
struct TcxTZIField {
  Integer Bias = 0;
  Integer StandardBias = 0;
  Integer DaylightBias = 0;
  SYSTEMTIME StandardDate{};
  SYSTEMTIME DaylightDate{};
};
// One year's transitions (both 0 when the year has no daylight saving).
struct TcxDSTInfo {
  Word Year = 0;
  TDateTime DaylightDate = 0;
  TDateTime StandardDate = 0;
};
#pragma pack(pop)
static_assert(sizeof(TcxTZIField) == 44);

struct TcxTimeZoneInformation {
  String Display;
  String StandardName;
  String DaylightName;
  Integer Index = 0;
  String MapID;
  TcxTZIField TZI;
  std::vector<TcxDSTInfo> DynamicRules;
};

// The machine's time-zone table, read once at start-up.
class TdxTimeZoneHelper {
 public:
  static void InitTimeZoneInformation();
  // Reads the table under HKEY_LOCAL_MACHINE\ARootKey instead of the
  // platform's own key.
  static void InitTimeZoneInformation(const String& ARootKey);
  static void DoneTimeZoneInformation();
  // Reads one zone from an open key; values that are missing or malformed
  // are left empty.
  static void ReadTimeZoneInfoFromRegistry(HKEY AKey, TcxTimeZoneInformation& AInfo);
  // The date-time of a transition rule in a year: an absolute date when the
  // rule names that year, else the n-th (or last) weekday of its month.
  static TDateTime CalculateTransitionDate(Word AYear, const SYSTEMTIME& ADSTDateTime);
  static TcxTimeZoneInformation TZInfoTocxTZInfo(const TIME_ZONE_INFORMATION& AInfo);
  static TIME_ZONE_INFORMATION cxTZInfoToTZInfo(const TcxTimeZoneInformation& AInfo);
  static void AddDSTInfo(TcxTimeZoneInformation& AInfo, Word AYear, const SYSTEMTIME& AStandardDate,
                         const SYSTEMTIME& ADaylightDate);

  static const std::vector<TcxTimeZoneInformation>& TimeZoneInformations();
  static Integer CurrentTimeZone();

  // The registry path of the table on this platform family.
  static String TimeZonesKey();
};

bool dxGetDynamicTimeZoneInformation(DYNAMIC_TIME_ZONE_INFORMATION& AInfo);
// The current zone as the platform reports it (read at start-up).
const TcxTimeZoneInformation& DefaultTimeZoneInfo();

// ---------------------------------------------------------------------------
// The calendar list holds every table built; freed at shut-down.
TdxFastObjectList* cxCalendarList();

void cxDateUtils_Initialize();
void cxDateUtils_Finalize();
