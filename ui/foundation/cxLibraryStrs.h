// The library's shared user-visible texts, registered with the resource-string
// repository under the library's product name.
#pragma once

#ifndef RC_INVOKED
#include "dxCore.h"
#endif

// String-table identifiers (cxLibraryStrs.rc).
#define IDS_scxCantCreateRegistryKey 65080
#define IDS_scxCantOpenRegistryKey 65081
#define IDS_scxErrorStoreObject 65082
#define IDS_scxConverterCantCreateStyleRepository 65083
#define IDS_scxBuiltInLookAndFeelStyles 65120
#define IDS_scxLockedStateText 65085
#define IDS_scxQuickCustomizationAllCommandCaption 65086
#define IDS_scxQuickCustomizationSortedCommandCaption 65087
#define IDS_cxSDateFirst 65104
#define IDS_cxSDateSecond 65105
#define IDS_cxSDateThird 65106
#define IDS_cxSDateFourth 65107
#define IDS_cxSDateFifth 65108
#define IDS_cxSDateSixth 65109
#define IDS_cxSDateSeventh 65110
#define IDS_cxSDateBOM 65111
#define IDS_cxSDateEOM 65112
#define IDS_cxSDateNow 65113
#define IDS_cxSDateToday 65126
#define IDS_cxSDateYesterday 65127
#define IDS_cxSDateTomorrow 65128
#define IDS_cxSDateSunday 65129
#define IDS_cxSDateMonday 65130
#define IDS_cxSDateTuesday 65131
#define IDS_cxSDateWednesday 65132
#define IDS_cxSDateThursday 65133
#define IDS_cxSDateFriday 65134
#define IDS_cxSDateSaturday 65135

#ifndef RC_INVOKED
// The product under which the library's shared texts are registered.
extern const wchar_t* const cxLibraryProductName;

extern const TResStringRec scxCantCreateRegistryKey, scxCantOpenRegistryKey, scxErrorStoreObject,
    scxConverterCantCreateStyleRepository, scxBuiltInLookAndFeelStyles, scxLockedStateText,
    cxSDateToday, cxSDateYesterday, cxSDateTomorrow, cxSDateSunday, cxSDateMonday, cxSDateTuesday,
    cxSDateWednesday, cxSDateThursday, cxSDateFriday, cxSDateSaturday, cxSDateFirst, cxSDateSecond,
    cxSDateThird, cxSDateFourth, cxSDateFifth, cxSDateSixth, cxSDateSeventh, cxSDateBOM, cxSDateEOM,
    cxSDateNow, scxQuickCustomizationAllCommandCaption, scxQuickCustomizationSortedCommandCaption;

void cxLibraryStrs_Initialize();
void cxLibraryStrs_Finalize();
#endif
