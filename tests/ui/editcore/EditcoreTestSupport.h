// Helpers of the editor-layer tests: the modules' start-up, and regional
// formats switched in-process for the life of an object.
#pragma once

#include <utility>
#include <vector>

#include "SysUtils.h"

// Starts the modules the layer stands on and the layer's own, in the
// program's order, once for the run (shut-down in reverse at the end).
void EditcoreStartUp();
void EditcoreShutDown();

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
