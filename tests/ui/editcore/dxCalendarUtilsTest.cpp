#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

#include "EditcoreTestSupport.h"
#include "dxCalendarUtils.h"

namespace {

TDateTime Date(Integer Y, Integer M, Integer D) {
  return EncodeDate(static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D));
}

struct TCalendarRef {
  CALID Calendar;
  Integer GY, GM, GD;
  Integer Era, Year, Month, Day;
  // 1: a year the two tabular cycles disagree on; 2: the last day of a month;
  // 3: a Hebrew date from the second reference (the first is a day off).
  Integer Flag;
};

const TCalendarRef CalendarRefs[] = {
#include "CalendarReference.inc"
};

TEST(Calendars, AgreeWithIndependentCalendars) {
  for (const TCalendarRef& R : CalendarRefs) {
    TcxCustomCalendarTable* T = cxGetCalendar(R.Calendar);
    ASSERT_NE(T, nullptr);
    const TDateTime D = Date(R.GY, R.GM, R.GD);
    TcxDateTime C = T->FromDateTime(D);
    std::string Where = std::to_string(R.Calendar) + " " + std::to_string(R.GY) + "-" +
                        std::to_string(R.GM) + "-" + std::to_string(R.GD);
    EXPECT_DOUBLE_EQ(T->ToDateTime(C), D) << Where;
    if (R.Flag == 1) {
      // The program's cycle makes year 15 leap, the reference's year 16.
      EXPECT_EQ(T->IsLeapYear(C.Year), C.Year % 30 == 15) << Where;
      EXPECT_EQ(T->GetDaysInYear(C.Year), C.Year % 30 == 15 ? 355 : 354) << Where;
      TcxDateTime Reference = C;
      Reference.Year = R.Year;
      Reference.Month = R.Month;
      Reference.Day = R.Day;
      EXPECT_LE(std::abs(T->ToDateTime(Reference) - D), 1.0) << Where;
      continue;
    }
    if (R.Era >= 0) EXPECT_EQ(C.Era, R.Era) << Where;
    EXPECT_EQ(C.Year, R.Year) << Where;
    EXPECT_EQ(C.Month, R.Month) << Where;
    EXPECT_EQ(C.Day, R.Day) << Where;
    if (R.Flag == 2) {
      // The last day of a month, at midnight and late in the day.
      TcxDateTime Late = T->FromDateTime(D + 0.9999);
      EXPECT_EQ(Late.Day, R.Day) << Where;
      EXPECT_EQ(T->FromDateTime(D + 1).Day, 1) << Where;
    }
  }
}

TEST(Calendars, AnchorsAndEraEdges) {
  struct TCase {
    const char* Name;
    CALID Calendar;
    TDateTime Date;
    Integer Era, Year, Month, Day;
  } Cases[] = {
      {"Showa's last day", CAL_JAPAN, Date(1989, 1, 7), 2, 64, 1, 7},
      {"Heisei's first day", CAL_JAPAN, Date(1989, 1, 8), 3, 1, 1, 8},
      {"Meiji's first day", CAL_JAPAN, Date(1868, 9, 8), 0, 1, 9, 8},
      {"Thai", CAL_THAI, Date(2017, 6, 1), 0, 2560, 6, 1},
      {"Korean", CAL_KOREA, Date(2017, 6, 1), 0, 4350, 6, 1},
      {"Taiwan", CAL_TAIWAN, Date(2017, 6, 1), 0, 106, 6, 1},
      {"Hijri epoch", CAL_HIJRI, Date(1, 1, 1) + 227013, -1, 1, 1, 1},
      {"Hebrew 1 January 1585", CAL_HEBREW, Date(1585, 1, 1), -1, 5345, 5, 1},
      {"Hebrew 1 January 1583", CAL_HEBREW, Date(1583, 1, 1), -1, 5343, 4, 7},
      {"Hebrew below its range", CAL_HEBREW, Date(1500, 6, 1), -1, 5343, 4, 7},
      {"Gregorian", CAL_GREGORIAN, Date(2019, 3, 10) + 0.75, -1, 2019, 3, 10},
  };
  for (const TCase& C : Cases) {
    TcxDateTime D = cxGetCalendar(C.Calendar)->FromDateTime(C.Date);
    EXPECT_EQ(D.Era, C.Era) << C.Name;
    EXPECT_EQ(D.Year, C.Year) << C.Name;
    EXPECT_EQ(D.Month, C.Month) << C.Name;
    EXPECT_EQ(D.Day, C.Day) << C.Name;
  }
  TcxCustomCalendarTable* Hebrew = cxGetCalendar(CAL_HEBREW);
  EXPECT_TRUE(Hebrew->IsLeapYear(5345));
  EXPECT_EQ(Hebrew->GetDaysInYear(5345), 383);
  EXPECT_EQ(Hebrew->GetMonthsInYear(5345), 13);
  EXPECT_TRUE(Hebrew->IsLeapMonth(5345, 7));
  // Outside the table: no type, no leap year, no days.
  auto* HebrewTable = static_cast<TcxHebrewCalendarTable*>(Hebrew);
  EXPECT_EQ(HebrewTable->GetYearType(6000), 0);
  EXPECT_FALSE(Hebrew->IsLeapYear(5342));
  EXPECT_EQ(Hebrew->GetDaysInYear(6000), 0);
  // Any time on the day before Tishri 1 is the last day of the old year.
  TcxDateTime Eve = Hebrew->FromDateTime(Date(2019, 9, 29) + 0.5);
  EXPECT_EQ(Eve.Year, 5779);
  EXPECT_EQ(Eve.Month, Hebrew->GetMonthsInYear(5779));
  EXPECT_EQ(Eve.Day, 29);
  // The Hijri cycle's leap years.
  TcxCustomCalendarTable* Hijri = cxGetCalendar(CAL_HIJRI);
  for (Integer Y = 1441; Y <= 1470; ++Y) {
    static const std::set<Integer> Leap = {2, 5, 7, 10, 13, 15, 18, 21, 24, 26, 29};
    EXPECT_EQ(Hijri->IsLeapYear(Y), Leap.count(Y % 30) == 1) << Y;
    EXPECT_EQ(Hijri->GetDaysInMonth(Y, 12), Leap.count(Y % 30) ? 30 : 29) << Y;
  }
  EXPECT_DOUBLE_EQ(Hijri->ToDateTime(1, 1, 1), Date(1, 1, 1) + 227013);
}

TEST(Calendars, InvalidDatesPerFamily) {
  TcxDateTime Feb30;
  Feb30.Year = 2019;
  Feb30.Month = 2;
  Feb30.Day = 30;
  EXPECT_THROW(cxGetCalendar(CAL_GREGORIAN)->ToDateTime(Feb30), EConvertError);
  TcxCustomCalendarTable* Japanese = cxGetCalendar(CAL_JAPAN);
  EXPECT_DOUBLE_EQ(Japanese->ToDateTime(Feb30), Japanese->GetMinSupportedDate());
  TcxDateTime Month14;
  Month14.Year = 5780;
  Month14.Month = 14;
  Month14.Day = 1;
  TcxCustomCalendarTable* Hebrew = cxGetCalendar(CAL_HEBREW);
  EXPECT_DOUBLE_EQ(Hebrew->ToDateTime(Month14), Hebrew->GetMinSupportedDate());
  EXPECT_EQ(Hebrew->GetDaysInMonth(5780, 14), 0);
  EXPECT_FALSE(cxGetCalendar(CAL_GREGORIAN)->IsValidDay(2019, 2, 29));
  EXPECT_TRUE(cxGetCalendar(CAL_GREGORIAN)->IsValidDay(2020, 2, 29));
  EXPECT_FALSE(cxGetCalendar(CAL_GREGORIAN)->IsValidYear(99));
}

TEST(Calendars, OneSharedTablePerCalendar) {
  EXPECT_EQ(cxGetCalendar(CAL_JAPAN), cxGetCalendar(CAL_JAPAN));
  TcxCustomCalendarTable* Gregorian = cxGetCalendar(CAL_GREGORIAN);
  EXPECT_EQ(Gregorian->GetCalendarID(), CAL_GREGORIAN);
  Integer Count = cxCalendarList()->Count();
  // Identifiers no table reports resolve to the Gregorian table already there.
  EXPECT_EQ(cxGetCalendar(0), Gregorian);
  EXPECT_EQ(cxGetCalendar(13), Gregorian);
  EXPECT_EQ(cxGetCalendar(0), Gregorian);
  EXPECT_EQ(cxCalendarList()->Count(), Count);
  struct TCase {
    CALID Id;
    TDay FirstWeekDay;
    bool Gregorian;
  } Cases[] = {{CAL_GREGORIAN_US, dSunday, true},
               {CAL_GREGORIAN_ME_FRENCH, dMonday, true},
               {CAL_GREGORIAN_ARABIC, dSaturday, true},
               {CAL_GREGORIAN_XLIT_ENGLISH, dMonday, true},
               {CAL_GREGORIAN_XLIT_FRENCH, dMonday, true},
               {CAL_HIJRI, dSaturday, false},
               {CAL_HEBREW, dSunday, false},
               {CAL_THAI, dSunday, false}};
  for (const TCase& C : Cases) {
    TcxCustomCalendarTable* T = cxGetCalendar(C.Id);
    EXPECT_EQ(T->GetCalendarID(), C.Id);
    EXPECT_EQ(T->ClassType(), cxGetCalendarClass(C.Id));
    EXPECT_EQ(T->GetFirstWeekDay(), C.FirstWeekDay) << C.Id;
    EXPECT_EQ(cxIsGregorianCalendar(T), C.Gregorian) << C.Id;
  }
}

TEST(Calendars, ErasListChecksItsIndexes) {
  TcxEras* Eras = cxGetCalendar(CAL_JAPAN)->Eras();
  ASSERT_EQ(Eras->Count(), 4);
  EXPECT_EQ(Eras->Items(3)->YearOffset(), 1988);
  try {
    Eras->Items(4);
    ADD_FAILURE() << "no error";
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), L"List index out of bounds (4)");
  }
  TOwned<TcxEra> Copy = MakeOwned<TcxEra>(0, 0.0, 0, 0, 0);
  Copy->Assign(Eras->Items(1));
  EXPECT_EQ(Copy->Era(), 2);
  EXPECT_EQ(Copy->MaxEraYear(), 15);
  EXPECT_THROW(Eras->SetItems(-1, Copy.get()), EListError);
}

TEST(Calendars, HebrewLetterNumerals) {
  struct TCase {
    const wchar_t* Text;
    Integer Value;
  } Cases[] = {
      {L"\u05D0", 1},
      {L"\u05D8\u05D5", 15},                     // tet vav
      {L"\u05EA\u05E9\u05E4\u05F4\u05D2", 783},  // tav shin pe, gershayim, gimel
      {L"\u05DA\u05DB", 40},                     // final kaf and kaf
      {L"\u05E5\u05E6\u05E3", 260},              // final tsadi, tsadi, final pe
      {L"12", 0},
      {L"", 0},
  };
  for (const TCase& C : Cases) EXPECT_EQ(HebrewNumber(C.Text), C.Value) << C.Text;
  TcxCustomCalendarTable* Hebrew = cxGetCalendar(CAL_HEBREW);
  EXPECT_EQ(Hebrew->GetYearNumber(L"\u05EA\u05E9\u05E4\u05F4\u05D2"), 5783);
  EXPECT_EQ(Hebrew->GetDayNumber(L"\u05D8\u05D5"), 15);
  EXPECT_EQ(Hebrew->GetMonthNumber(5783, L"\u05D6"), 7);
  EXPECT_EQ(Hebrew->GetDayNumber(L"12"), 12);
  EXPECT_THROW(Hebrew->GetDayNumber(L"x"), EConvertError);
}

// A Gregorian table whose locale gives no two-digit-year limit.
class TNoLimitCalendar : public TcxGregorianCalendarTable {
 protected:
  Integer GetTwoDigitYearMax() const override { return 0; }
};

TEST(Calendars, TwoDigitYears) {
  TcxCustomCalendarTable* Gregorian = cxGetCalendar(CAL_GREGORIAN);
  DWORD Limit = 0;
  ASSERT_NE(cxGetCalendarInfo(GetThreadLocale(), CAL_GREGORIAN,
                              CAL_ITWODIGITYEARMAX | CAL_RETURN_NUMBER, nullptr, 0, &Limit),
            0);
  EXPECT_EQ(Gregorian->GetYearNumber(L"2019"), 2019);
  EXPECT_EQ(Gregorian->GetYearNumber(L"0019"), 19);
  Integer Century = static_cast<Integer>(Limit) / 100 * 100;
  EXPECT_EQ(Gregorian->GetYearNumber(L"00"), Century);
  TNoLimitCalendar* NoLimit = Create<TNoLimitCalendar>();
  struct TCase {
    const wchar_t* Text;
    Integer Year;
  } Cases[] = {{L"29", 2029}, {L"30", 1930}, {L"0", 2000}, {L"99", 1999}, {L"5", 2005}};
  for (const TCase& C : Cases) EXPECT_EQ(NoLimit->GetYearNumber(C.Text), C.Year) << C.Text;
  NoLimit->Free();
  EXPECT_THROW(Gregorian->GetYearNumber(L"2x"), EConvertError);
}

struct TArithmeticRef {
  Integer Y, M, D, N, MY, MM, MD, YY, YM, YD;
};
const TArithmeticRef ArithmeticRefs[] = {
#include "MonthArithmeticReference.inc"
};

TEST(Calendars, AddMonthsAndYearsAgreeWithDateutil) {
  TcxCustomCalendarTable* T = cxGetCalendar(CAL_GREGORIAN);
  for (const TArithmeticRef& R : ArithmeticRefs) {
    // Six in the morning, which before the epoch lies away from zero.
    auto AtSix = [](TDateTime ADate) { return ADate < 0 ? ADate - 0.25 : ADate + 0.25; };
    TDateTime D = AtSix(Date(R.Y, R.M, R.D));
    EXPECT_DOUBLE_EQ(T->AddMonths(D, R.N), AtSix(Date(R.MY, R.MM, R.MD)))
        << R.Y << "-" << R.M << "-" << R.D << " + " << R.N << " months";
    EXPECT_DOUBLE_EQ(T->AddYears(D, R.N), AtSix(Date(R.YY, R.YM, R.YD)))
        << R.Y << "-" << R.M << "-" << R.D << " + " << R.N << " years";
  }
  EXPECT_DOUBLE_EQ(T->AddMonths(Date(2019, 1, 31), 1), Date(2019, 2, 28));
  EXPECT_DOUBLE_EQ(T->AddMonths(Date(2019, 1, 31), -2), Date(2018, 11, 30));
  // Beyond the supported range the result is clamped; an invalid date gives
  // the minimum.
  EXPECT_DOUBLE_EQ(T->AddYears(Date(9999, 6, 1), 1), T->GetMinSupportedDate());
  EXPECT_DOUBLE_EQ(T->AddDays(T->FromDateTime(Date(9999, 12, 31)), 5), T->GetMaxSupportedDate());
  TcxDateTime Bad;
  Bad.Year = 2019;
  Bad.Month = 13;
  Bad.Day = 1;
  EXPECT_DOUBLE_EQ(T->AddMonths(Bad, 1), T->GetMinSupportedDate());
  EXPECT_DOUBLE_EQ(T->AddMonths(Date(2019, 1, 31), INT32_MAX - 100), T->GetMinSupportedDate());
  EXPECT_DOUBLE_EQ(T->AddWeeks(Date(2019, 1, 31), 2), Date(2019, 2, 14));
}

TEST(Calendars, MonthArithmeticAcrossErasAndLeapMonths) {
  TcxCustomCalendarTable* Japanese = cxGetCalendar(CAL_JAPAN);
  EXPECT_DOUBLE_EQ(Japanese->AddMonths(Date(1989, 2, 7), -1), Date(1989, 1, 7));
  EXPECT_EQ(Japanese->FromDateTime(Japanese->AddMonths(Date(1989, 2, 7), -1)).Era, 2);
  EXPECT_DOUBLE_EQ(Japanese->AddYears(Date(1988, 3, 1), 1), Date(1989, 3, 1));
  EXPECT_EQ(Japanese->FromDateTime(Date(1989, 3, 1)).Year, 1);
  TcxCustomCalendarTable* Hebrew = cxGetCalendar(CAL_HEBREW);
  // 5784 is leap: Adar I (6), Adar II (7), Nisan (8).
  TDateTime AdarI = Hebrew->ToDateTime(5784, 6, 15);
  EXPECT_DOUBLE_EQ(Hebrew->AddMonths(AdarI, 1) - AdarI, 30);
  EXPECT_EQ(Hebrew->FromDateTime(Hebrew->AddMonths(AdarI, 2)).Month, 8);
  EXPECT_EQ(Hebrew->FromDateTime(Hebrew->AddMonths(AdarI, 7)).Month, 13);
  EXPECT_EQ(Hebrew->FromDateTime(Hebrew->AddMonths(AdarI, 8)).Year, 5785);
  EXPECT_EQ(Hebrew->FromDateTime(Hebrew->AddMonths(AdarI, 8)).Month, 1);
  TcxCustomCalendarTable* Hijri = cxGetCalendar(CAL_HIJRI);
  TDateTime Leap30 = Hijri->ToDateTime(1445, 12, 30);
  EXPECT_EQ(Hijri->FromDateTime(Hijri->AddYears(Leap30, 1)).Day, 29);
}

struct TWeekRef {
  Integer StartOfWeek, Rule, Year, Ordinal;
};
const TWeekRef WeekRefs[] = {
#include "WeekReference.inc"
};

// The date-time of a proleptic Gregorian day number (1 January 1 is 1).
TDateTime FromOrdinal(Integer AOrdinal) { return AOrdinal - 693594.0; }

TEST(WeekNumbers, EveryDayAgreesWithIcuForEveryWeekStartAndRule) {
  std::map<std::pair<Integer, Integer>, std::map<Integer, TDateTime>> Starts;
  for (const TWeekRef& R : WeekRefs)
    Starts[{R.StartOfWeek, R.Rule}][R.Year] = FromOrdinal(R.Ordinal);
  for (auto& [Key, Years] : Starts) {
    TDay Start = static_cast<TDay>(Key.first);
    auto Rule = static_cast<TcxFirstWeekOfYear>(Key.second);
    dxSetStartOfWeek(Start);
    Integer Failures = 0, Year = 1989;
    for (TDateTime D = Date(1990, 1, 1); D <= Date(2040, 12, 31); D += 1) {
      while (Years.count(Year + 1) && Years[Year + 1] <= D) ++Year;
      Integer Expected = static_cast<Integer>(D - Years[Year]) / 7 + 1;
      if (dxGetWeekNumber(D + 0.5, Start, Rule) != Expected && ++Failures <= 3)
        ADD_FAILURE() << "start " << Start << " rule " << Rule << " " << D;
    }
    EXPECT_EQ(Failures, 0) << "start " << Start << " rule " << Rule;
  }
  dxResetAssignedStartOfWeek();
}

TEST(WeekNumbers, AnchorsAndTheLunarCalendars) {
  dxSetStartOfWeek(dMonday);
  EXPECT_EQ(dxGetWeekNumber(Date(2018, 12, 31), dMonday, fwyFirstFourDays), 1);
  EXPECT_EQ(dxGetWeekNumber(Date(2021, 1, 1), dMonday, fwyFirstFourDays), 53);
  EXPECT_EQ(
      cxGetCalendar(CAL_GREGORIAN)->GetWeekNumber(Date(2021, 1, 1), dMonday, fwyFirstFourDays), 53);
  dxResetAssignedStartOfWeek();
  // Hebrew weeks start on Sunday and count from Tishri 1.
  TcxCustomCalendarTable* Hebrew = cxGetCalendar(CAL_HEBREW);
  TDateTime NewYear = Hebrew->ToDateTime(5780, 1, 1);  // a Monday
  EXPECT_EQ(Hebrew->GetWeekNumber(NewYear, dSunday, fwyJan1), 1);
  EXPECT_EQ(Hebrew->GetWeekNumber(NewYear + 6, dSunday, fwyJan1), 2);
  EXPECT_EQ(Hebrew->GetWeekNumber(NewYear + 6, dSunday, fwyFirstFullWeek), 1);
  EXPECT_EQ(Hebrew->GetWeekNumber(NewYear - 1, dSunday, fwyJan1), 1);
  // A year opening on Saturday, or on Friday in a leap year, has 53.
  TcxCustomCalendarTable* Gregorian = cxGetCalendar(CAL_GREGORIAN);
  EXPECT_EQ(Gregorian->GetFullWeeksInYear(2022), 53);
  EXPECT_EQ(Gregorian->GetFullWeeksInYear(2016), 53);
  EXPECT_EQ(Gregorian->GetFullWeeksInYear(2021), 52);
  EXPECT_EQ(Gregorian->GetFullWeeksInYear(2020), 52);
  EXPECT_EQ(cxGetCalendar(CAL_GREGORIAN_ARABIC)->GetFullWeeksInYear(2021), 53);
}

}  // namespace
