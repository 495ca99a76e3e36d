#include "cxDataConsts.h"

const wchar_t* const cxDataProductName = L"DataController";

#define DEFINE_RES_STRING(Name_) const TResStringRec Name_{nullptr, IDS_##Name_};
DEFINE_RES_STRING(cxSDataReadError)
DEFINE_RES_STRING(cxSDataWriteError)
DEFINE_RES_STRING(cxSDataItemExistError)
DEFINE_RES_STRING(cxSDataRecordIndexError)
DEFINE_RES_STRING(cxSDataItemIndexError)
DEFINE_RES_STRING(cxSDataProviderModeError)
DEFINE_RES_STRING(cxSDataInvalidStreamFormat)
DEFINE_RES_STRING(cxSDataRowIndexError)
DEFINE_RES_STRING(cxSDataCustomDataSourceInvalidCompare)
DEFINE_RES_STRING(cxSDBDetailFilterControllerNotFound)
DEFINE_RES_STRING(cxSDBNotInGridMode)
DEFINE_RES_STRING(cxSDBKeyFieldNotFound)
#undef DEFINE_RES_STRING

namespace {
void AddcxDataConstsResourceStringNames(TdxProductResourceStrings* AProduct) {
#define ADD(Name_) AProduct->Add(L## #Name_, &Name_);
  ADD(cxSDataReadError)
  ADD(cxSDataWriteError)
  ADD(cxSDataItemExistError)
  ADD(cxSDataRecordIndexError)
  ADD(cxSDataItemIndexError)
  ADD(cxSDataProviderModeError)
  ADD(cxSDataInvalidStreamFormat)
  ADD(cxSDataRowIndexError)
  ADD(cxSDataCustomDataSourceInvalidCompare)
  ADD(cxSDBDetailFilterControllerNotFound)
  ADD(cxSDBNotInGridMode)
  ADD(cxSDBKeyFieldNotFound)
#undef ADD
}
}  // namespace

void cxDataConsts_Initialize() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->RegisterProduct(cxDataProductName, &AddcxDataConstsResourceStringNames);
}

void cxDataConsts_Finalize() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->UnRegisterProduct(cxDataProductName);
}
