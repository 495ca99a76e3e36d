#include <gtest/gtest.h>

#include <algorithm>

#include "EditcoreTestSupport.h"
#include "WinHandles.h"
#include "cxFormats.h"
#include "dxCalendarUtils.h"

namespace {

TDateTime Date(Integer Y, Integer M, Integer D) {
  return EncodeDate(static_cast<Word>(Y), static_cast<Word>(M), static_cast<Word>(D));
}

const wchar_t* const Locales[] = {L"en-US", L"ru-RU", L"de-DE", L"ja-JP", L"th-TH",
                                  L"fr-FR", L"en-GB", L"ko-KR", L"ar-SA", L"he-IL"};

TEST(LocaleReaders, AgreeWithThePlatformUnderEachLocale) {
  for (const wchar_t* Name : Locales) {
    TLocaleScope Locale(Name);
    EXPECT_EQ(cxGetLocalShortDateFormat(), LocaleValue(Name, LOCALE_SSHORTDATE)) << Name;
    EXPECT_EQ(cxGetLocalLongDateFormat(), LocaleValue(Name, LOCALE_SLONGDATE)) << Name;
    EXPECT_EQ(cxGetLocalLongTimeFormat(), LocaleValue(Name, LOCALE_STIMEFORMAT)) << Name;
    EXPECT_EQ(cxGetLocalTimeAMString(), LocaleValue(Name, LOCALE_S1159)) << Name;
    EXPECT_EQ(cxGetLocalTimePMString(), LocaleValue(Name, LOCALE_S2359)) << Name;
    String DateSep = LocaleValue(Name, LOCALE_SDATE), TimeSep = LocaleValue(Name, LOCALE_STIME);
    EXPECT_EQ(cxGetLocalDateSeparator(), DateSep.empty() ? L'\0' : DateSep[0]) << Name;
    EXPECT_EQ(cxGetLocalTimeSeparator(), TimeSep.empty() ? L'\0' : TimeSep[0]) << Name;
    TFormatSettings S = cxGetLocalFormatSettings();
    EXPECT_EQ(S.ShortDateFormat, cxGetLocalShortDateFormat()) << Name;
    EXPECT_EQ(S.LongTimeFormat, cxGetLocalLongTimeFormat()) << Name;
    EXPECT_EQ(S.ListSeparator, FormatSettings().ListSeparator) << Name;
    // Nothing else is filled.
    EXPECT_EQ(S.CurrencyString, L"") << Name;
    EXPECT_EQ(S.ShortTimeFormat, L"") << Name;
    EXPECT_EQ(S.LongMonthNames[0], L"") << Name;
    CALID Calendar = 0;
    GetLocaleInfoEx(Name, LOCALE_ICALENDARTYPE | LOCALE_RETURN_NUMBER,
                    reinterpret_cast<LPWSTR>(&Calendar), sizeof(Calendar) / sizeof(wchar_t));
    EXPECT_EQ(cxGetLocalCalendarID(), Calendar) << Name;
    // Calendars without a table of their own (23, Um al-Qura) get the
    // Gregorian one.
    EXPECT_EQ(cxGetLocalCalendar()->ClassType(), cxGetCalendarClass(Calendar)) << Name;
  }
}

TEST(DateText, PictureExamples) {
  struct TCase {
    const wchar_t* Picture;
    Char Separator;
    const wchar_t* Expected;
  } Cases[] = {
      {L"dd.MM.yyyy", L'\0', L"10.03.2019"},
      {L"dd.MM.yyyy", L'/', L"10/03/2019"},
      {L"d/m/yy", L'\0', L"10/03/19"},
      {L"'Day' d 'of' mmmm", L'\0', L"Day 10 of March"},
      // The D of "Date" is a day; the e ends the pending literal.
      {L"Date: yyyy-mm-dd!", L'\0', L"102019-03-10"},
      {L"ddd dddd ddddd", L'\0', L"Sun Sunday 10"},
      {L"yyyyy", L'\0', L"19"},
      {L"d e xx m", L'\0', L"1003"},
  };
  TLocaleScope English(L"en-US");
  for (const TCase& C : Cases)
    EXPECT_EQ(cxDateToStrByFormat(Date(2019, 3, 10), C.Picture, C.Separator), C.Expected)
        << C.Picture;
  EXPECT_EQ(cxDateToStrByFormat(Date(105, 1, 2), L"yyyy yy", L'\0'), L"0105 05");
}

TEST(DateText, PicturesReadAlikeMatchThePlatform) {
  const wchar_t* Pictures[] = {L"dd.MM.yyyy", L"yyyy-MM-dd", L"MM/dd/yy",
                               L"dddd, dd",   L"MMMM yyyy",  L"ddd dd MM"};
  const TDateTime Dates[] = {Date(2019, 3, 10), Date(2001, 12, 1), Date(2040, 7, 31),
                             Date(1999, 1, 9)};
  for (const wchar_t* Name : Locales) {
    TLocaleScope Locale(Name);
    CALID Calendar = cxGetLocalCalendarID();
    // A locale with genitive month names may write either form for MMMM,
    // so the picture does not read alike there.
    wchar_t March[64] = {};
    SYSTEMTIME Probe{2019, 3, 0, 10};
    GetDateFormatEx(Name, 0, &Probe, L"d MMMM", March, 64, nullptr);
    bool GenitiveAlone = String(March) != L"10 " + LocaleValue(Name, LOCALE_SMONTHNAME3);
    for (const wchar_t* Picture : Pictures) {
      if (GenitiveAlone && String(Picture).find(L"MMMM") != String::npos) continue;
      // Years of other calendars are not the Gregorian year the picture
      // reader writes.
      if (Calendar != CAL_GREGORIAN && String(Picture).find(L'y') != String::npos) continue;
      for (TDateTime D : Dates) {
        Word Y, M, Day;
        DecodeDate(D, Y, M, Day);
        SYSTEMTIME T{Y, M, static_cast<WORD>(cxGetCalendar(CAL_GREGORIAN)->GetWeekDay(D)), Day};
        wchar_t Buffer[128] = {};
        ASSERT_GT(GetDateFormatEx(Name, 0, &T, Picture, Buffer, 128, nullptr), 0);
        EXPECT_EQ(cxDateToStrByFormat(D, Picture, L'\0'), Buffer) << Name << L" " << Picture;
      }
    }
  }
}

TEST(DateText, GetDateFormatFollowsTheControllersChoice) {
  TLocaleScope Locale(L"de-DE");
  TcxFormatController* C = cxFormatController();
  String Text;
  ASSERT_TRUE(cxGetDateFormat(Date(2019, 3, 10), Text, 0, L"dd MMMM yyyy"));
  EXPECT_EQ(Text, L"10 M\u00E4rz 2019");
  C->SetUseRuntimeDateTimeFormats(true);
  FormatSettings().ShortDateFormat = L"yyyy/mm/dd";
  ASSERT_TRUE(cxGetDateFormat(Date(2019, 3, 10), Text, 0));
  EXPECT_EQ(Text, L"2019/03/10");
  EXPECT_EQ(cxGetLocalMonthName(Date(2019, 3, 10), nullptr), FormatSettings().LongMonthNames[2]);
  C->SetUseRuntimeDateTimeFormats(false);
  EXPECT_EQ(cxGetLocalMonthName(2019, 3, nullptr), L"M\u00E4rz");
  EXPECT_EQ(cxGetLocalMonthName(2019, 13, nullptr), L"");
  // Before the platform's earliest date the formatter fails.
  EXPECT_FALSE(cxGetDateFormat(Date(1500, 1, 1), Text, 0, L"yyyy"));
  EXPECT_EQ(Text, L"");
  EXPECT_EQ(cxGetLocalMonthName(Date(1500, 1, 1), cxGetCalendar(CAL_GREGORIAN)),
            FormatSettings().LongMonthNames[0]);
}

TEST(WeekStart, FollowsTheLocaleUntilSet) {
  TUserLocaleValues Monday({{LOCALE_IFIRSTDAYOFWEEK, L"0"}, {LOCALE_IFIRSTWEEKOFYEAR, L"2"}});
  LCID Old = GetThreadLocale();
  SetThreadLocale(LOCALE_USER_DEFAULT);
  EXPECT_EQ(dxGetLocalStartOfWeek(), dMonday);
  EXPECT_EQ(dxGetStartOfWeek(), dMonday);
  EXPECT_EQ(dxGetLocalFirstWeekOfYear(), fwyFirstFourDays);
  EXPECT_EQ(dxGetWeekNumber(Date(2021, 1, 1), dMonday, fwySystem), 53);
  TcxFormatController* C = cxFormatController();
  C->SetStartOfWeek(dSunday);
  EXPECT_EQ(dxGetStartOfWeek(), dSunday);
  EXPECT_TRUE(C->AssignedStartOfWeek());
  C->SetAssignedStartOfWeek(false);
  EXPECT_EQ(dxGetStartOfWeek(), dMonday);
  C->SetAssignedStartOfWeek(true);
  EXPECT_EQ(C->StartOfWeek(), dMonday);
  dxResetAssignedStartOfWeek();
  SetThreadLocale(Old);
  EXPECT_EQ(dxDayOfWeekFromVCL(1), dSunday);
  EXPECT_EQ(dxDayOfWeekFromSystem(6), dSunday);
  EXPECT_EQ(dxDateOf(-1.25), -1.0);
  EXPECT_EQ(dxDateOf(cxNullDate), cxNullDate);
}

TEST(SmartInput, WordsAndOffsetFollowTheMask) {
  String Date = L"\\d";
  AddDateRegExprMaskSmartInput(Date, false);
  EXPECT_EQ(Date,
            L"(\\d)|('today'|'yesterday'|'tomorrow'|'Sunday'|'Monday'|'Tuesday'|'Wednesday'|"
            L"'Thursday'|'Friday'|'Saturday'|'first'|'second'|'third'|'fourth'|'fifth'|'sixth'|"
            L"'seventh'|'bom'|'eom')((\\+|-)\\d(\\d(\\d\\d?)?)?)?");
  String DateTime = L"x";
  AddDateRegExprMaskSmartInput(DateTime, true);
  EXPECT_NE(DateTime.find(L"|'eom'|'now')((\\+|-)"), String::npos);
  EXPECT_EQ(cxDateEditSmartInputText(deiNow), L"now");
}

struct TZoneRef {
  const wchar_t* Zone;
  Integer Year;
  Integer DY, DM, DD, DH, DMin;
  Integer SY, SM, SD, SH, SMin;
};
const TZoneRef ZoneRefs[] = {
#include "TimeZoneReference.inc"
};

const TcxTimeZoneInformation* FindZone(const String& AStandardName) {
  for (const TcxTimeZoneInformation& Z : TdxTimeZoneHelper::TimeZoneInformations())
    if (Z.StandardName == AStandardName) return &Z;
  return nullptr;
}

TEST(TimeZones, TransitionsAgreeWithTheTzDatabase) {
  ASSERT_GT(TdxTimeZoneHelper::TimeZoneInformations().size(), 50u);
  for (const TZoneRef& R : ZoneRefs) {
    const TcxTimeZoneInformation* Z = FindZone(R.Zone);
    ASSERT_NE(Z, nullptr) << R.Zone;
    TDateTime Daylight = 0, Standard = 0;
    auto Dynamic = std::find_if(Z->DynamicRules.begin(), Z->DynamicRules.end(),
                                [&R](const TcxDSTInfo& I) { return I.Year == R.Year; });
    if (Dynamic != Z->DynamicRules.end()) {
      Daylight = Dynamic->DaylightDate;
      Standard = Dynamic->StandardDate;
    } else {
      Daylight = TdxTimeZoneHelper::CalculateTransitionDate(R.Year, Z->TZI.DaylightDate);
      Standard = TdxTimeZoneHelper::CalculateTransitionDate(R.Year, Z->TZI.StandardDate);
    }
    EXPECT_DOUBLE_EQ(Daylight, Date(R.DY, R.DM, R.DD) + EncodeTime(R.DH, R.DMin, 0, 0))
        << R.Zone << L" " << R.Year;
    EXPECT_DOUBLE_EQ(Standard, Date(R.SY, R.SM, R.SD) + EncodeTime(R.SH, R.SMin, 0, 0))
        << R.Zone << L" " << R.Year;
  }
  SYSTEMTIME LastSunday{0, 3, 0, 5, 2, 0, 0, 0}, SecondSunday{0, 3, 0, 2, 2, 0, 0, 0};
  EXPECT_DOUBLE_EQ(TdxTimeZoneHelper::CalculateTransitionDate(2019, LastSunday),
                   Date(2019, 3, 31) + 2.0 / 24);
  EXPECT_DOUBLE_EQ(TdxTimeZoneHelper::CalculateTransitionDate(2019, SecondSunday),
                   Date(2019, 3, 10) + 2.0 / 24);
  SYSTEMTIME Absolute{2019, 4, 0, 7, 3, 30, 0, 0};
  EXPECT_DOUBLE_EQ(TdxTimeZoneHelper::CalculateTransitionDate(2019, Absolute),
                   Date(2019, 4, 7) + 3.5 / 24);
}

std::vector<String> SubKeys(const String& APath) {
  std::vector<String> Names;
  HKEY Opened = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, APath.c_str(), 0, KEY_READ, &Opened) != ERROR_SUCCESS)
    return Names;
  const TRegistryKeyHandle K(Opened);
  wchar_t Name[256];
  for (DWORD I = 0;; ++I) {
    DWORD Len = 256;
    if (RegEnumKeyExW(K.Get(), I, Name, &Len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    Names.emplace_back(Name, Len);
  }
  return Names;
}

// The zone the Wine process runs in: a test run may set TZ and name the zone
// it expects; without that, the platform's own answer.
TEST(TimeZones, CurrentZoneIsTheProcessZone) {
  wchar_t Expected[128] = {};
  String Key;
  if (GetEnvironmentVariableW(L"EDITCORE_EXPECTED_TIME_ZONE", Expected, 128) > 0) {
    Key = Expected;
  } else {
    DYNAMIC_TIME_ZONE_INFORMATION D{};
    ASSERT_TRUE(dxGetDynamicTimeZoneInformation(D));
    Key = D.TimeZoneKeyName;
  }
  std::vector<String> Names = SubKeys(TdxTimeZoneHelper::TimeZonesKey());
  ASSERT_EQ(Names.size(), TdxTimeZoneHelper::TimeZoneInformations().size());
  Integer Current = TdxTimeZoneHelper::CurrentTimeZone();
  ASSERT_LT(Current, static_cast<Integer>(Names.size()));
  EXPECT_TRUE(AnsiSameText(Names[static_cast<size_t>(Current)], Key))
      << Names[static_cast<size_t>(Current)] << L" / " << Key;
  TIME_ZONE_INFORMATION Platform{};
  GetTimeZoneInformation(&Platform);
  EXPECT_EQ(DefaultTimeZoneInfo().StandardName, String(Platform.StandardName));
  EXPECT_EQ(DefaultTimeZoneInfo().TZI.Bias, Platform.Bias);
}

// A fixture table under a key of its own, with damaged values.
class TTimeZoneFixture {
 public:
  static constexpr const wchar_t* Root = L"Software\\EditcoreTests\\Time Zones";
  TTimeZoneFixture() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\EditcoreTests");
    TcxTZIField Good;
    Good.Bias = 300;
    Good.DaylightBias = -60;
    Good.StandardDate = SYSTEMTIME{0, 11, 0, 1, 2, 0, 0, 0};
    Good.DaylightDate = SYSTEMTIME{0, 3, 0, 2, 2, 0, 0, 0};
    const TRegistryKeyHandle Zone = Key(L"Alpha Standard Time");
    SetString(Zone.Get(), L"Std", L"Alpha Standard Time");
    SetString(Zone.Get(), L"Display", L"(UTC-05:00) Alpha");
    RegSetValueExW(Zone.Get(), L"TZI", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&Good), 44);
    DWORD Index = 35;
    RegSetValueExW(Zone.Get(), L"Index", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Index), 4);
    const TRegistryKeyHandle Dynamic = Key(L"Alpha Standard Time\\Dynamic DST");
    DWORD First = 0, Last = 0x7FFFFFFF;
    RegSetValueExW(Dynamic.Get(), L"FirstEntry", 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&First), 4);
    RegSetValueExW(Dynamic.Get(), L"LastEntry", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Last),
                   4);
    RegSetValueExW(Dynamic.Get(), L"2019", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&Good), 44);
    // Names that read as 2019 but are not the year written plainly.
    for (const wchar_t* Name : {L"02019", L"+2019"})
      RegSetValueExW(Dynamic.Get(), Name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&Good), 44);
    RegSetValueExW(Dynamic.Get(), L"2018", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&Good), 40);
    SetString(Dynamic.Get(), L"2017", L"not binary");
    TcxTZIField NoDst;
    RegSetValueExW(Dynamic.Get(), L"2016", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&NoDst),
                   44);
    TcxTZIField BadMonth = Good;
    BadMonth.DaylightDate.wMonth = 14;
    RegSetValueExW(Dynamic.Get(), L"2015", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&BadMonth),
                   44);
    const TRegistryKeyHandle Broken = Key(L"Beta Standard Time");
    SetString(Broken.Get(), L"Std", L"Beta Standard Time");
    SetString(Broken.Get(), L"TZI", L"not binary");
    const TRegistryKeyHandle Short = Key(L"Gamma Standard Time");
    RegSetValueExW(Short.Get(), L"TZI", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&Good), 40);
    DWORD WrongType = 5;
    RegSetValueExW(Short.Get(), L"Std", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&WrongType), 4);
  }
  TTimeZoneFixture(const TTimeZoneFixture&) = delete;
  TTimeZoneFixture& operator=(const TTimeZoneFixture&) = delete;
  ~TTimeZoneFixture() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\EditcoreTests");
    TdxTimeZoneHelper::InitTimeZoneInformation();
  }

 private:
  static TRegistryKeyHandle Key(const String& ASub) {
    HKEY K = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, (String(Root) + L"\\" + ASub).c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &K, nullptr);
    return TRegistryKeyHandle(K);
  }
  static void SetString(HKEY AKey, const wchar_t* AName, const String& AValue) {
    RegSetValueExW(AKey, AName, 0, REG_SZ, reinterpret_cast<const BYTE*>(AValue.c_str()),
                   static_cast<DWORD>((AValue.size() + 1) * sizeof(wchar_t)));
  }
};

TEST(TimeZones, MalformedDataIsSkipped) {
  TTimeZoneFixture Fixture;
  TdxTimeZoneHelper::InitTimeZoneInformation(TTimeZoneFixture::Root);
  const auto& Zones = TdxTimeZoneHelper::TimeZoneInformations();
  ASSERT_EQ(Zones.size(), 3u);
  const TcxTimeZoneInformation& Alpha = Zones[0];
  EXPECT_EQ(Alpha.StandardName, L"Alpha Standard Time");
  EXPECT_EQ(Alpha.Display, L"(UTC-05:00) Alpha");
  EXPECT_EQ(Alpha.Index, 35);
  EXPECT_EQ(Alpha.TZI.Bias, 300);
  // 2015 names no date, 2017 and 2018 are no rules: only 2016 and 2019 stay,
  // 2019 once.
  ASSERT_EQ(Alpha.DynamicRules.size(), 2u);
  EXPECT_EQ(Alpha.DynamicRules[0].Year, 2016);
  EXPECT_EQ(Alpha.DynamicRules[0].DaylightDate, 0);
  EXPECT_EQ(Alpha.DynamicRules[1].Year, 2019);
  EXPECT_DOUBLE_EQ(Alpha.DynamicRules[1].DaylightDate, Date(2019, 3, 10) + 2.0 / 24);
  EXPECT_DOUBLE_EQ(Alpha.DynamicRules[1].StandardDate, Date(2019, 11, 3) + 2.0 / 24);
  EXPECT_EQ(Zones[1].StandardName, L"Beta Standard Time");
  EXPECT_EQ(Zones[1].TZI.Bias, 0);
  EXPECT_EQ(Zones[2].StandardName, L"");
  EXPECT_EQ(Zones[2].TZI.Bias, 0);
  TdxTimeZoneHelper::InitTimeZoneInformation(L"Software\\EditcoreTests\\Missing");
  EXPECT_TRUE(TdxTimeZoneHelper::TimeZoneInformations().empty());
  EXPECT_EQ(TdxTimeZoneHelper::CurrentTimeZone(), 0);
}

TEST(TimeZones, PlatformRecordConversions) {
  TIME_ZONE_INFORMATION T{};
  T.Bias = -180;
  T.DaylightBias = -60;
  String Long(40, L'x');
  std::copy_n(Long.data(), 32, T.StandardName);
  T.StandardDate = SYSTEMTIME{0, 10, 0, 5, 3, 0, 0, 0};
  TcxTimeZoneInformation I = TdxTimeZoneHelper::TZInfoTocxTZInfo(T);
  EXPECT_EQ(I.TZI.Bias, -180);
  EXPECT_EQ(I.StandardName, String(32, L'x'));
  I.DaylightName = Long;
  TIME_ZONE_INFORMATION Back = TdxTimeZoneHelper::cxTZInfoToTZInfo(I);
  EXPECT_EQ(Back.Bias, -180);
  EXPECT_EQ(Back.StandardDate.wMonth, 10);
  EXPECT_EQ(String(Back.DaylightName, 32), String(32, L'x'));
}

}  // namespace
