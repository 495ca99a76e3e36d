#include "cxLibraryStrs.h"

const wchar_t* const cxLibraryProductName = L"Library";

#define DEFINE_RES_STRING(Name_) const TResStringRec Name_{nullptr, IDS_##Name_};
DEFINE_RES_STRING(scxCantCreateRegistryKey)
DEFINE_RES_STRING(scxCantOpenRegistryKey)
DEFINE_RES_STRING(scxErrorStoreObject)
DEFINE_RES_STRING(scxConverterCantCreateStyleRepository)
DEFINE_RES_STRING(scxBuiltInLookAndFeelStyles)
DEFINE_RES_STRING(scxLockedStateText)
DEFINE_RES_STRING(cxSDateToday)
DEFINE_RES_STRING(cxSDateYesterday)
DEFINE_RES_STRING(cxSDateTomorrow)
DEFINE_RES_STRING(cxSDateSunday)
DEFINE_RES_STRING(cxSDateMonday)
DEFINE_RES_STRING(cxSDateTuesday)
DEFINE_RES_STRING(cxSDateWednesday)
DEFINE_RES_STRING(cxSDateThursday)
DEFINE_RES_STRING(cxSDateFriday)
DEFINE_RES_STRING(cxSDateSaturday)
DEFINE_RES_STRING(cxSDateFirst)
DEFINE_RES_STRING(cxSDateSecond)
DEFINE_RES_STRING(cxSDateThird)
DEFINE_RES_STRING(cxSDateFourth)
DEFINE_RES_STRING(cxSDateFifth)
DEFINE_RES_STRING(cxSDateSixth)
DEFINE_RES_STRING(cxSDateSeventh)
DEFINE_RES_STRING(cxSDateBOM)
DEFINE_RES_STRING(cxSDateEOM)
DEFINE_RES_STRING(cxSDateNow)
DEFINE_RES_STRING(scxQuickCustomizationAllCommandCaption)
DEFINE_RES_STRING(scxQuickCustomizationSortedCommandCaption)
#undef DEFINE_RES_STRING

namespace {
void AddcxLibraryResourceStringNames(TdxProductResourceStrings* AProduct) {
#define ADD(Name_) AProduct->Add(L## #Name_, &Name_);
  ADD(scxCantCreateRegistryKey)
  ADD(scxCantOpenRegistryKey)
  ADD(scxErrorStoreObject)
  ADD(scxConverterCantCreateStyleRepository)
  ADD(scxBuiltInLookAndFeelStyles)
  ADD(scxLockedStateText)
  ADD(cxSDateToday)
  ADD(cxSDateYesterday)
  ADD(cxSDateTomorrow)
  ADD(cxSDateSunday)
  ADD(cxSDateMonday)
  ADD(cxSDateTuesday)
  ADD(cxSDateWednesday)
  ADD(cxSDateThursday)
  ADD(cxSDateFriday)
  ADD(cxSDateSaturday)
  ADD(cxSDateFirst)
  ADD(cxSDateSecond)
  ADD(cxSDateThird)
  ADD(cxSDateFourth)
  ADD(cxSDateFifth)
  ADD(cxSDateSixth)
  ADD(cxSDateSeventh)
  ADD(cxSDateBOM)
  ADD(cxSDateEOM)
  ADD(cxSDateNow)
  ADD(scxQuickCustomizationAllCommandCaption)
  ADD(scxQuickCustomizationSortedCommandCaption)
#undef ADD
}
}  // namespace

void cxLibraryStrs_Initialize() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->RegisterProduct(cxLibraryProductName, &AddcxLibraryResourceStringNames);
}

void cxLibraryStrs_Finalize() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->UnRegisterProduct(cxLibraryProductName);
}
