#include <gtest/gtest.h>

#include "SysUtils.h"

namespace {

// Day-month-year with "." and a 24-hour clock, as a Russian user has it.
TFormatSettings Dmy() {
  TFormatSettings S = TFormatSettings::Invariant();
  S.DateSeparator = L'.';
  S.TimeSeparator = L':';
  S.ShortDateFormat = L"dd/mm/yyyy";
  S.LongDateFormat = L"d mmmm yyyy";
  S.ShortTimeFormat = L"hh:nn";
  S.LongTimeFormat = L"hh:nn:ss";
  S.DecimalSeparator = L',';
  return S;
}

// Month-day-year with a 12-hour clock.
TFormatSettings Mdy() {
  TFormatSettings S = TFormatSettings::Invariant();
  S.ShortDateFormat = L"M/d/yyyy";
  S.ShortTimeFormat = L"h:mm AMPM";
  S.LongTimeFormat = L"h:mm:ss AMPM";
  S.TimeAMString = L"AM";
  S.TimePMString = L"PM";
  return S;
}

TEST(SysUtilsDateTime, EncodeAndDecodeDates) {
  struct Case {
    Word Y, M, D;
    TDateTime Expected;
  } Cases[] = {{1899, 12, 30, 0},    {1900, 1, 1, 2},    {2000, 1, 1, 36526},
               {2024, 2, 29, 45351}, {1, 1, 1, -693593}, {9999, 12, 31, 2958465},
               {1899, 12, 29, -1}};
  for (const Case& C : Cases) {
    EXPECT_EQ(EncodeDate(C.Y, C.M, C.D), C.Expected);
    Word Y, M, D;
    DecodeDate(C.Expected, Y, M, D);
    EXPECT_EQ(Y, C.Y);
    EXPECT_EQ(M, C.M);
    EXPECT_EQ(D, C.D);
  }
  // Every day of a span with leap and century years round-trips.
  for (TDateTime T = EncodeDate(1895, 1, 1); T < EncodeDate(2105, 1, 1); T += 1) {
    Word Y, M, D;
    // Before the epoch a time of day moves the value away from zero.
    DecodeDate(T < 0 ? T - 0.75 : T + 0.75, Y, M, D);
    ASSERT_EQ(EncodeDate(Y, M, D), T);
  }
  const Word Bad[][3] = {{2023, 2, 29}, {1900, 2, 29}, {0, 1, 1},    {1, 13, 1},
                         {2024, 4, 31}, {2024, 1, 0},  {10000, 1, 1}};
  for (const auto& B : Bad) {
    try {
      EncodeDate(B[0], B[1], B[2]);
      ADD_FAILURE() << B[0] << "-" << B[1] << "-" << B[2];
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), L"Invalid argument to date encode");
    }
  }
}

TEST(SysUtilsDateTime, EncodeAndDecodeTimes) {
  EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  Word H, M, S, Ms;
  DecodeTime(EncodeTime(23, 59, 59, 999), H, M, S, Ms);
  EXPECT_EQ(H * 10000000 + M * 100000 + S * 1000 + Ms, 235959999);
  // Before the epoch the fraction still counts forward from midnight.
  DecodeTime(-1.25, H, M, S, Ms);
  EXPECT_EQ(H, 6);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
  // A time a hair before midnight rounds into the next day, not to 24:00.
  EXPECT_EQ(FormatDateTime(L"yyyy-mm-dd hh:nn:ss.zzz", EncodeDate(2024, 1, 31) + 0.9999999999),
            L"2024-02-01 00:00:00.000");
}

TEST(SysUtilsDateTime, NowDateAndTimeAgree) {
  TDateTime N = Now();
  TDateTime D = Date();
  EXPECT_EQ(D, Int(D));
  EXPECT_GE(N, D);
  EXPECT_LT(N - D, 1.0 + 1e-6);  // Date() may have crossed midnight after Now()
  EXPECT_GE(Time(), 0.0);
  EXPECT_LT(Time(), 1.0);
  EXPECT_GT(D, EncodeDate(2020, 1, 1));
}

TEST(SysUtilsDateTime, FormatDateTimePatterns) {
  const TDateTime T = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
  const TFormatSettings S = Dmy();
  struct Case {
    const wchar_t* Format;
    const wchar_t* Expected;
  } Cases[] = {
      {L"dd/mm/yyyy hh:nn:ss", L"05.03.2024 14:07:09"},
      {L"d/m/yy", L"5.3.24"},
      {L"ddd dddd mmm mmmm", L"Tue Tuesday Mar March"},
      {L"hh:mm", L"14:07"},        // "m" after an hour is minutes
      {L"hh:nn mm", L"14:07 03"},  // ... but not after minutes
      {L"h:mm am/pm", L"2:07 pm"},
      {L"h:mm AM/PM", L"2:07 PM"},
      {L"h a/p", L"2 p"},
      {L"hh:nn AMPM", L"02:07 PM"},
      {L"'day' d \"of\" m", L"day 5 of 3"},
      {L"s ss z zzz", L"9 09 45 045"},
      {L"ddddd", L"05.03.2024"},
      {L"dddddd", L"5 March 2024"},
      {L"t", L"14:07"},
      {L"tt", L"14:07:09"},
      {L"c", L"05.03.2024 14:07:09"},
      {L"yyyy\\mm", L"2024\\03"},
  };
  for (const Case& C : Cases) EXPECT_EQ(FormatDateTime(C.Format, T, S), C.Expected) << C.Format;
  const TDateTime Midnight = EncodeDate(2024, 3, 5);
  EXPECT_EQ(FormatDateTime(L"h:nn am/pm", Midnight, S), L"12:00 am");
  EXPECT_EQ(DateTimeToStr(Midnight, S), L"05.03.2024");  // a zero time is left out
  EXPECT_EQ(DateTimeToStr(T, S), L"05.03.2024 14:07:09");
  EXPECT_EQ(DateToStr(T, S), L"05.03.2024");
  EXPECT_EQ(TimeToStr(T, S), L"14:07:09");
  EXPECT_EQ(TimeToStr(T, Mdy()), L"2:07:09 PM");
  EXPECT_EQ(DateToStr(T, Mdy()), L"3/5/2024");
}

TEST(SysUtilsDateTime, StrToDateTime) {
  const TDateTime T = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0);
  struct Case {
    const wchar_t* Text;
    const TFormatSettings& Settings;
    TDateTime Expected;
  };
  const TFormatSettings D = Dmy(), M = Mdy();
  const Case Cases[] = {
      {L"05.03.2024 14:07:09", D, T},
      {L" 5.3.2024  14:07:09 ", D, T},
      {L"5.3.2024", D, EncodeDate(2024, 3, 5)},
      {L"5.3.24", D, EncodeDate(2024, 3, 5)},
      {L"5.3.80", D, EncodeDate(1980, 3, 5)},
      {L"14:07", D, EncodeTime(14, 7, 0, 0)},
      {L"05.03.2024 14:07:09,5", D, T + EncodeTime(0, 0, 0, 5)},
      {L"3/5/2024 2:07:09 PM", M, T},
      {L"3/5/2024 12:00 am", M, EncodeDate(2024, 3, 5)},
      {L"3/5/2024 12:30 PM", M, EncodeDate(2024, 3, 5) + EncodeTime(12, 30, 0, 0)},
  };
  for (const Case& C : Cases) {
    TDateTime V = -1;
    EXPECT_TRUE(TryStrToDateTime(C.Text, V, C.Settings)) << C.Text;
    EXPECT_NEAR(V, C.Expected, 1e-9) << C.Text;
  }
  const wchar_t* Bad[] = {
      L"",           L"abc",      L"32.1.2024", L"29.2.2023",        L"5.3.2024 25:00",
      L"5.3.2024 x", L"5/3/2024", L"14",        L"5.3.2024 13:00 PM"};
  for (const wchar_t* Text : Bad) {
    TDateTime V;
    EXPECT_FALSE(TryStrToDateTime(Text, V, D)) << Text;
    try {
      StrToDateTime(Text, D);
      ADD_FAILURE() << Text;
    } catch (const EConvertError& E) {
      EXPECT_EQ(E.Message(), L"'" + String(Text) + L"' is not a valid date and time");
    }
  }
  // Day and month alone mean the current year.
  Word Y, Mo, Dd;
  DecodeDate(Date(), Y, Mo, Dd);
  EXPECT_EQ(StrToDateTime(L"5.3", D), EncodeDate(Y, 3, 5));
  // Text written with the settings reads back with them.
  EXPECT_NEAR(StrToDateTime(DateTimeToStr(T, M), M), T, 1e-9);
  EXPECT_NEAR(StrToDateTime(DateTimeToStr(T, D), D), T, 1e-9);
}

}  // namespace
