// The table from Windows locale identifiers to culture names ("en-US").
#pragma once

#include <map>

#include "dxCore.h"

class TdxCultureInfoHelper {
 public:
  // The culture name of a locale identifier; false when the table lacks it.
  static bool TryGetCultureName(LCID ALocale, String& AName);
  static Integer Count();
};

// Fills the table from the platform's own locale conversion.
void dxCultureInfo_Initialize();
void dxCultureInfo_Finalize();
