#include "dxCultureInfo.h"

#include "Forms.h"

namespace {
std::map<LCID, String>* FDictionary = nullptr;

BOOL CALLBACK AddLocale(LPWSTR AName, DWORD, LPARAM) noexcept {
  LCID Id = LocaleNameToLCID(AName, 0);
  if (!Id || Id == LOCALE_CUSTOM_UNSPECIFIED || Id == LOCALE_CUSTOM_DEFAULT) return TRUE;
  // Only the name the identifier converts back to: a neutral name such as
  // "en" converts to the identifier of its default culture.
  wchar_t Back[LOCALE_NAME_MAX_LENGTH];
  if (LCIDToLocaleName(Id, Back, LOCALE_NAME_MAX_LENGTH, 0) > 0 &&
      CompareStringOrdinal(Back, -1, AName, -1, TRUE) == CSTR_EQUAL) {
    bool Added = false;
    CallbackBoundary(nullptr, [&] {
      FDictionary->emplace(Id, Back);
      Added = true;
    });
    return Added;
  }
  return TRUE;
}

void AddNeutralCultures() {
  // Identifiers with only a primary language ("en", "ru") name the neutral
  // cultures.
  wchar_t Name[LOCALE_NAME_MAX_LENGTH];
  for (LCID Id = 1; Id < 0x400; ++Id)
    if (LCIDToLocaleName(Id, Name, LOCALE_NAME_MAX_LENGTH, LOCALE_ALLOW_NEUTRAL_NAMES) > 0)
      FDictionary->emplace(Id, Name);
}
}  // namespace

bool TdxCultureInfoHelper::TryGetCultureName(LCID ALocale, String& AName) {
  if (!FDictionary) return false;
  auto It = FDictionary->find(ALocale);
  if (It == FDictionary->end()) return false;
  AName = It->second;
  return true;
}

Integer TdxCultureInfoHelper::Count() {
  return FDictionary ? static_cast<Integer>(FDictionary->size()) : 0;
}

void dxCultureInfo_Initialize() {
  if (FDictionary) return;
  FDictionary = new std::map<LCID, String>;
  EnumSystemLocalesEx(&AddLocale, LOCALE_WINDOWS, 0, nullptr);
  AddNeutralCultures();
  (*FDictionary)[LOCALE_INVARIANT] = String();
}

void dxCultureInfo_Finalize() {
  delete FDictionary;
  FDictionary = nullptr;
}
