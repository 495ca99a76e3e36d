// The filter control's and its dialog's user-visible texts, registered by
// name with the resource-string repository so that a translation can
// replace them. Hints hold a short and a long hint separated by "|".
#pragma once

#ifndef RC_INVOKED
#include "dxCore.h"
#endif

// String-table identifiers (editcore.rc).
#define IDS_cxSFilterBoolOperatorAnd 64509
#define IDS_cxSFilterBoolOperatorOr 64510
#define IDS_cxSFilterBoolOperatorNotAnd 64511
#define IDS_cxSFilterBoolOperatorNotOr 64480
#define IDS_cxSFilterRootButtonCaption 64481
#define IDS_cxSFilterAddCondition 64482
#define IDS_cxSFilterAddGroup 64483
#define IDS_cxSFilterRemoveRow 64484
#define IDS_cxSFilterClearAll 64485
#define IDS_cxSFilterFooterAddCondition 64486
#define IDS_cxSFilterGroupCaption 64487
#define IDS_cxSFilterRootGroupCaption 64488
#define IDS_cxSFilterControlNullString 64489
#define IDS_cxSFilterErrorBuilding 64490
#define IDS_cxSFilterDialogCaption 64491
#define IDS_cxSFilterDialogInvalidValue 64492
#define IDS_cxSFilterDialogUse 64493
#define IDS_cxSFilterDialogSingleCharacter 64494
#define IDS_cxSFilterDialogCharactersSeries 64495
#define IDS_cxSFilterDialogOperationAnd 64464
#define IDS_cxSFilterDialogOperationOr 64465
#define IDS_cxSFilterDialogRows 64466
#define IDS_cxSFilterControlDialogCaption 64467
#define IDS_cxSFilterControlDialogNewFile 64468
#define IDS_cxSFilterControlDialogOpenDialogCaption 64469
#define IDS_cxSFilterControlDialogSaveDialogCaption 64470
#define IDS_cxSFilterControlDialogActionSaveCaption 64471
#define IDS_cxSFilterControlDialogActionSaveHint 64472
#define IDS_cxSFilterControlDialogActionOpenCaption 64473
#define IDS_cxSFilterControlDialogActionOpenHint 64474
#define IDS_cxSFilterControlDialogActionApplyCaption 64475
#define IDS_cxSFilterControlDialogActionOkCaption 64476
#define IDS_cxSFilterControlDialogActionCancelCaption 64477
#define IDS_cxSFilterControlDialogFileExt 64478
#define IDS_cxSFilterControlDialogFileFilter 64479

#ifndef RC_INVOKED
// The product under which these texts are registered.
extern const wchar_t* const cxFilterControlProductName;

extern const TResStringRec cxSFilterBoolOperatorAnd, cxSFilterBoolOperatorOr,
    cxSFilterBoolOperatorNotAnd, cxSFilterBoolOperatorNotOr, cxSFilterRootButtonCaption,
    cxSFilterAddCondition, cxSFilterAddGroup, cxSFilterRemoveRow, cxSFilterClearAll,
    cxSFilterFooterAddCondition, cxSFilterGroupCaption, cxSFilterRootGroupCaption,
    cxSFilterControlNullString, cxSFilterErrorBuilding, cxSFilterDialogCaption,
    cxSFilterDialogInvalidValue, cxSFilterDialogUse, cxSFilterDialogSingleCharacter,
    cxSFilterDialogCharactersSeries, cxSFilterDialogOperationAnd, cxSFilterDialogOperationOr,
    cxSFilterDialogRows, cxSFilterControlDialogCaption, cxSFilterControlDialogNewFile,
    cxSFilterControlDialogOpenDialogCaption, cxSFilterControlDialogSaveDialogCaption,
    cxSFilterControlDialogActionSaveCaption, cxSFilterControlDialogActionSaveHint,
    cxSFilterControlDialogActionOpenCaption, cxSFilterControlDialogActionOpenHint,
    cxSFilterControlDialogActionApplyCaption, cxSFilterControlDialogActionOkCaption,
    cxSFilterControlDialogActionCancelCaption, cxSFilterControlDialogFileExt,
    cxSFilterControlDialogFileFilter;

void cxFilterControlStrs_Initialize();
void cxFilterControlStrs_Finalize();
#endif
