#include "cxFilterControlStrs.h"

const wchar_t* const cxFilterControlProductName = L"FilterControl";

#define DEFINE_RES_STRING(Name_) const TResStringRec Name_{nullptr, IDS_##Name_};
DEFINE_RES_STRING(cxSFilterBoolOperatorAnd)
DEFINE_RES_STRING(cxSFilterBoolOperatorOr)
DEFINE_RES_STRING(cxSFilterBoolOperatorNotAnd)
DEFINE_RES_STRING(cxSFilterBoolOperatorNotOr)
DEFINE_RES_STRING(cxSFilterRootButtonCaption)
DEFINE_RES_STRING(cxSFilterAddCondition)
DEFINE_RES_STRING(cxSFilterAddGroup)
DEFINE_RES_STRING(cxSFilterRemoveRow)
DEFINE_RES_STRING(cxSFilterClearAll)
DEFINE_RES_STRING(cxSFilterFooterAddCondition)
DEFINE_RES_STRING(cxSFilterGroupCaption)
DEFINE_RES_STRING(cxSFilterRootGroupCaption)
DEFINE_RES_STRING(cxSFilterControlNullString)
DEFINE_RES_STRING(cxSFilterErrorBuilding)
DEFINE_RES_STRING(cxSFilterDialogCaption)
DEFINE_RES_STRING(cxSFilterDialogInvalidValue)
DEFINE_RES_STRING(cxSFilterDialogUse)
DEFINE_RES_STRING(cxSFilterDialogSingleCharacter)
DEFINE_RES_STRING(cxSFilterDialogCharactersSeries)
DEFINE_RES_STRING(cxSFilterDialogOperationAnd)
DEFINE_RES_STRING(cxSFilterDialogOperationOr)
DEFINE_RES_STRING(cxSFilterDialogRows)
DEFINE_RES_STRING(cxSFilterControlDialogCaption)
DEFINE_RES_STRING(cxSFilterControlDialogNewFile)
DEFINE_RES_STRING(cxSFilterControlDialogOpenDialogCaption)
DEFINE_RES_STRING(cxSFilterControlDialogSaveDialogCaption)
DEFINE_RES_STRING(cxSFilterControlDialogActionSaveCaption)
DEFINE_RES_STRING(cxSFilterControlDialogActionSaveHint)
DEFINE_RES_STRING(cxSFilterControlDialogActionOpenCaption)
DEFINE_RES_STRING(cxSFilterControlDialogActionOpenHint)
DEFINE_RES_STRING(cxSFilterControlDialogActionApplyCaption)
DEFINE_RES_STRING(cxSFilterControlDialogActionOkCaption)
DEFINE_RES_STRING(cxSFilterControlDialogActionCancelCaption)
DEFINE_RES_STRING(cxSFilterControlDialogFileExt)
DEFINE_RES_STRING(cxSFilterControlDialogFileFilter)
#undef DEFINE_RES_STRING

namespace {
void AddcxFilterControlStrsResourceStringNames(TdxProductResourceStrings* AProduct) {
#define ADD(Name_) AProduct->Add(L## #Name_, &Name_);
  ADD(cxSFilterBoolOperatorAnd)
  ADD(cxSFilterBoolOperatorOr)
  ADD(cxSFilterBoolOperatorNotAnd)
  ADD(cxSFilterBoolOperatorNotOr)
  ADD(cxSFilterRootButtonCaption)
  ADD(cxSFilterAddCondition)
  ADD(cxSFilterAddGroup)
  ADD(cxSFilterRemoveRow)
  ADD(cxSFilterClearAll)
  ADD(cxSFilterFooterAddCondition)
  ADD(cxSFilterGroupCaption)
  ADD(cxSFilterRootGroupCaption)
  ADD(cxSFilterControlNullString)
  ADD(cxSFilterErrorBuilding)
  ADD(cxSFilterDialogCaption)
  ADD(cxSFilterDialogInvalidValue)
  ADD(cxSFilterDialogUse)
  ADD(cxSFilterDialogSingleCharacter)
  ADD(cxSFilterDialogCharactersSeries)
  ADD(cxSFilterDialogOperationAnd)
  ADD(cxSFilterDialogOperationOr)
  ADD(cxSFilterDialogRows)
  ADD(cxSFilterControlDialogCaption)
  ADD(cxSFilterControlDialogNewFile)
  ADD(cxSFilterControlDialogOpenDialogCaption)
  ADD(cxSFilterControlDialogSaveDialogCaption)
  ADD(cxSFilterControlDialogActionSaveCaption)
  ADD(cxSFilterControlDialogActionSaveHint)
  ADD(cxSFilterControlDialogActionOpenCaption)
  ADD(cxSFilterControlDialogActionOpenHint)
  ADD(cxSFilterControlDialogActionApplyCaption)
  ADD(cxSFilterControlDialogActionOkCaption)
  ADD(cxSFilterControlDialogActionCancelCaption)
  ADD(cxSFilterControlDialogFileExt)
  ADD(cxSFilterControlDialogFileFilter)
#undef ADD
}
}  // namespace

void cxFilterControlStrs_Initialize() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->RegisterProduct(cxFilterControlProductName, &AddcxFilterControlStrsResourceStringNames);
}

void cxFilterControlStrs_Finalize() {
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->UnRegisterProduct(cxFilterControlProductName);
}
