// Test helper: the regional format with a "," decimal separator.
#pragma once

#include <clocale>

#include "WinCompat.h"

// Switches the user's regional decimal separator to "," (and the C runtime's
// numeric locale with it) for the lifetime of the object.
class TCommaLocale {
 public:
  TCommaLocale() {
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld, 8);
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L",");
    std::setlocale(LC_NUMERIC, "");
  }
  ~TCommaLocale() {
    SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FOld);
    std::setlocale(LC_NUMERIC, "C");
  }

 private:
  wchar_t FOld[8] = L".";
};
