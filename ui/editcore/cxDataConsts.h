// The data layer's user-visible texts, registered by name with the
// resource-string repository so that a translation can replace them.
#pragma once

#ifndef RC_INVOKED
#include "dxCore.h"
#endif

// String-table identifiers (editcore.rc).
#define IDS_cxSDataReadError 64726
#define IDS_cxSDataWriteError 64727
#define IDS_cxSDataItemExistError 64728
#define IDS_cxSDataRecordIndexError 64729
#define IDS_cxSDataItemIndexError 64730
#define IDS_cxSDataProviderModeError 64731
#define IDS_cxSDataInvalidStreamFormat 64732
#define IDS_cxSDataRowIndexError 64733
#define IDS_cxSDataCustomDataSourceInvalidCompare 64734
#define IDS_cxSDBDetailFilterControllerNotFound 64735
#define IDS_cxSDBNotInGridMode 64704
#define IDS_cxSDBKeyFieldNotFound 64705

#ifndef RC_INVOKED
// The product under which these texts are registered.
extern const wchar_t* const cxDataProductName;

extern const TResStringRec cxSDataReadError, cxSDataWriteError, cxSDataItemExistError,
    cxSDataRecordIndexError, cxSDataItemIndexError, cxSDataProviderModeError,
    cxSDataInvalidStreamFormat, cxSDataRowIndexError, cxSDataCustomDataSourceInvalidCompare,
    cxSDBDetailFilterControllerNotFound, cxSDBNotInGridMode, cxSDBKeyFieldNotFound;

void cxDataConsts_Initialize();
void cxDataConsts_Finalize();
#endif
