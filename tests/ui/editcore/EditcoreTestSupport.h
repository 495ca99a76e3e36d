// Helpers of the editor-layer tests: the modules' start-up, and regional
// formats switched in-process for the life of an object.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "Classes.h"
#include "SysUtils.h"

// Starts the modules the layer stands on and the layer's own, in the
// program's order, once for the run (shut-down in reverse at the end).
void EditcoreStartUp();
void EditcoreShutDown();

// A component written as the text of a form resource (line ends "\n").
inline std::string FormResourceText(TComponent* AComponent) {
  TOwned<TMemoryStream> Bin = MakeOwned<TMemoryStream>();
  WriteComponentToStream(Bin.get(), AComponent);
  Bin->SetPosition(0);
  TOwned<TMemoryStream> Text = MakeOwned<TMemoryStream>();
  ObjectBinaryToText(Bin.get(), Text.get());
  std::string S(static_cast<const char*>(Text->Memory()), static_cast<size_t>(Text->Size()));
  std::erase(S, '\r');
  return S;
}

// A new T read from the text of a form resource.
template <class T>
TOwned<T> ReadFormResourceText(const std::string& AText) {
  TOwned<TMemoryStream> In = MakeOwned<TMemoryStream>();
  In->WriteBuffer(AText.data(), static_cast<Integer>(AText.size()));
  In->SetPosition(0);
  TOwned<TMemoryStream> Bin = MakeOwned<TMemoryStream>();
  ObjectTextToBinary(In.get(), Bin.get());
  Bin->SetPosition(0);
  TOwned<T> Result(Create<T>(nullptr));
  ReadComponentFromStream(Bin.get(), Result.get());
  return Result;
}

// Sets locale values of the user's regional format for the life of the
// object and puts the previous values back.
class TUserLocaleValues {
 public:
  explicit TUserLocaleValues(std::initializer_list<std::pair<LCTYPE, String>> AValues) {
    for (const auto& [Type, Value] : AValues) {
      wchar_t Buf[256] = {};
      GetLocaleInfoW(LOCALE_USER_DEFAULT, Type, Buf, 256);
      FSaved.emplace_back(Type, Buf);
      SetLocaleInfoW(LOCALE_USER_DEFAULT, Type, Value.c_str());
    }
  }
  TUserLocaleValues(const TUserLocaleValues&) = delete;
  TUserLocaleValues& operator=(const TUserLocaleValues&) = delete;
  ~TUserLocaleValues() {
    for (auto It = FSaved.rbegin(); It != FSaved.rend(); ++It)
      SetLocaleInfoW(LOCALE_USER_DEFAULT, It->first, It->second.c_str());
  }

 private:
  std::vector<std::pair<LCTYPE, String>> FSaved;
};

// "." or "," as the decimal separator (the thousands separator moves out of
// the way, as real regional formats have it).
class TDecimalSeparator : public TUserLocaleValues {
 public:
  explicit TDecimalSeparator(Char ASeparator)
      : TUserLocaleValues({{LOCALE_SDECIMAL, String(1, ASeparator)},
                           {LOCALE_STHOUSAND, ASeparator == L',' ? L"\u00A0" : L","},
                           {LOCALE_SMONDECIMALSEP, String(1, ASeparator)},
                           {LOCALE_SMONTHOUSANDSEP, ASeparator == L',' ? L"\u00A0" : L","}}) {}
};

// The thread locale and the process-wide format settings of a locale, for
// the life of the object.
class TLocaleScope {
 public:
  explicit TLocaleScope(const wchar_t* AName)
      : FName(AName),
        FLocale(LocaleNameToLCID(AName, 0)),
        FOldLocale(GetThreadLocale()),
        FOldSettings(FormatSettings()) {
    SetThreadLocale(FLocale);
    FormatSettings() = TFormatSettings::Create(FLocale);
  }
  TLocaleScope(const TLocaleScope&) = delete;
  TLocaleScope& operator=(const TLocaleScope&) = delete;
  ~TLocaleScope() {
    SetThreadLocale(FOldLocale);
    FormatSettings() = FOldSettings;
  }
  LCID Locale() const { return FLocale; }
  const wchar_t* Name() const { return FName; }

 private:
  const wchar_t* FName;
  LCID FLocale;
  LCID FOldLocale;
  TFormatSettings FOldSettings;
};

// The locale's value of one item, by name (no user overrides).
inline String LocaleValue(const wchar_t* ALocaleName, LCTYPE AType) {
  wchar_t Buffer[256] = {};
  int N = GetLocaleInfoEx(ALocaleName, AType, Buffer, 256);
  return N > 0 ? String(Buffer, static_cast<size_t>(N - 1)) : String();
}

// Text as hexadecimal bytes separated by blanks ("02 7F"), for readable
// stream expectations.
inline std::string HexBytes(const void* AData, size_t ACount) {
  static const char Digits[] = "0123456789ABCDEF";
  std::string R;
  const auto* P = static_cast<const unsigned char*>(AData);
  for (size_t I = 0; I < ACount; ++I) {
    if (I) R += ' ';
    R += Digits[P[I] >> 4];
    R += Digits[P[I] & 15];
  }
  return R;
}

// ---------------------------------------------------------------------------
// Texts the platform writes with a locale's own pictures, which the format
// controller's date and time masks must take, and impossible ones they must
// refuse. Both the Python judge of the masks and the library's own engine
// read them.

// The locales whose masks are checked, each set in-process in turn.
inline const wchar_t* const MaskLocales[] = {L"en-US", L"ru-RU", L"de-DE", L"ja-JP", L"th-TH",
                                             L"fr-FR", L"en-GB", L"ko-KR", L"he-IL", L"zh-CN"};

// The picture by which the long-date samples are written and read.
inline const wchar_t* const LongDatePicture = L"d MMMM yyyy";

struct TMaskSamples {
  // Every month, one- and two-digit days; the times at night, in the morning,
  // at noon and in the evening.
  std::vector<String> Dates, LongDates, Times, DateTimes;
  // Day 32 and month 13, where the short date picture has a numeric day or
  // month.
  std::vector<String> BadDates, BadDateTimes;
};

inline String PlatformDateTimeText(const wchar_t* ALocale, const String& APicture,
                                   const SYSTEMTIME& ATime, bool ATimePicture) {
  wchar_t Buffer[256] = {};
  int N = ATimePicture
              ? GetTimeFormatEx(ALocale, 0, &ATime, APicture.c_str(), Buffer, 256)
              : GetDateFormatEx(ALocale, 0, &ATime, APicture.c_str(), Buffer, 256, nullptr);
  return N > 0 ? String(Buffer, static_cast<size_t>(N - 1)) : String();
}

// APicture with every run of ALetter (one or two long) replaced by the
// quoted literal AText; empty when the picture has no such run.
inline String ReplacePictureRun(const String& APicture, Char ALetter, const wchar_t* AText) {
  String R;
  bool Done = false;
  Char Quote = 0;
  for (size_t I = 0; I < APicture.size();) {
    Char C = APicture[I];
    if (Quote) {
      if (C == Quote) Quote = 0;
      R += C;
      ++I;
    } else if (C == L'\'') {
      Quote = C;
      R += C;
      ++I;
    } else if (C == ALetter) {
      size_t J = I;
      while (J < APicture.size() && APicture[J] == ALetter) ++J;
      if (J - I > 2) return String();
      R += String(L"'") + AText + L"'";
      Done = true;
      I = J;
    } else {
      R += C;
      ++I;
    }
  }
  return Done ? R : String();
}

inline TMaskSamples PlatformMaskSamples(const wchar_t* ALocale) {
  TMaskSamples S;
  const String ShortDate = LocaleValue(ALocale, LOCALE_SSHORTDATE);
  const String LongTime = LocaleValue(ALocale, LOCALE_STIMEFORMAT);
  for (WORD Month = 1; Month <= 12; ++Month) {
    for (WORD Day : {1, 9, 10, 28}) {
      SYSTEMTIME T{2019, Month, 0, Day, 0, 0, 0, 0};
      const String Date = PlatformDateTimeText(ALocale, ShortDate, T, false);
      S.Dates.push_back(Date);
      S.LongDates.push_back(PlatformDateTimeText(ALocale, LongDatePicture, T, false));
      for (WORD Hour : {0, 9, 12, 21}) {
        SYSTEMTIME Time = T;
        Time.wHour = Hour;
        Time.wMinute = static_cast<WORD>(Hour * 2 + 5);
        Time.wSecond = static_cast<WORD>(59 - Hour);
        const String TimeText = PlatformDateTimeText(ALocale, LongTime, Time, true);
        if (Month == 1 && Day == 1) S.Times.push_back(TimeText);
        S.DateTimes.push_back(Date + L" " + TimeText);
      }
    }
  }
  const SYSTEMTIME Dec{2019, 12, 0, 31};
  for (const auto& [Letter, Text] : {std::pair<Char, const wchar_t*>{L'd', L"32"},
                                     std::pair<Char, const wchar_t*>{L'M', L"13"}}) {
    const String Picture = ReplacePictureRun(ShortDate, Letter, Text);
    if (Picture.empty()) continue;
    const String Bad = PlatformDateTimeText(ALocale, Picture, Dec, false);
    S.BadDates.push_back(Bad);
    S.BadDateTimes.push_back(Bad + L" " + PlatformDateTimeText(ALocale, LongTime, Dec, true));
  }
  return S;
}
