#include "cxEditConsts.h"

const wchar_t* const cxEditorsProductName = L"Editors";

#define DEFINE_RES_STRING(Name_) const TResStringRec Name_{nullptr, IDS_##Name_};
DEFINE_RES_STRING(scxRegExprLine)
DEFINE_RES_STRING(scxRegExprChar)
DEFINE_RES_STRING(scxRegExprNotAssignedSourceStream)
DEFINE_RES_STRING(scxRegExprEmptySourceStream)
DEFINE_RES_STRING(scxRegExprCantUsePlusQuantifier)
DEFINE_RES_STRING(scxRegExprCantUseStarQuantifier)
DEFINE_RES_STRING(scxRegExprCantCreateEmptyAlt)
DEFINE_RES_STRING(scxRegExprCantCreateEmptyBlock)
DEFINE_RES_STRING(scxRegExprIllegalSymbol)
DEFINE_RES_STRING(scxRegExprIllegalQuantifier)
DEFINE_RES_STRING(scxRegExprNotSupportQuantifier)
DEFINE_RES_STRING(scxRegExprIllegalIntegerValue)
DEFINE_RES_STRING(scxRegExprTooBigReferenceNumber)
DEFINE_RES_STRING(scxRegExprCantCreateEmptyEnum)
DEFINE_RES_STRING(scxRegExprSubrangeOrder)
DEFINE_RES_STRING(scxRegExprHexNumberExpected0)
DEFINE_RES_STRING(scxRegExprHexNumberExpected)
DEFINE_RES_STRING(scxRegExprMissing)
DEFINE_RES_STRING(scxRegExprUnnecessary)
DEFINE_RES_STRING(scxRegExprIncorrectSpace)
DEFINE_RES_STRING(scxRegExprNotCompiled)
DEFINE_RES_STRING(scxRegExprIncorrectParameterQuantifier)
DEFINE_RES_STRING(scxRegExprCantUseParameterQuantifier)
DEFINE_RES_STRING(scxRegExprTooLargeExpansion)
DEFINE_RES_STRING(scxRegExprTooDeepNesting)
#undef DEFINE_RES_STRING

namespace {
int GInitCount = 0;

void AddcxEditorsResourceStringNames(TdxProductResourceStrings* AProduct) {
#define ADD(Name_) AProduct->Add(L## #Name_, &Name_);
  ADD(scxRegExprLine)
  ADD(scxRegExprChar)
  ADD(scxRegExprNotAssignedSourceStream)
  ADD(scxRegExprEmptySourceStream)
  ADD(scxRegExprCantUsePlusQuantifier)
  ADD(scxRegExprCantUseStarQuantifier)
  ADD(scxRegExprCantCreateEmptyAlt)
  ADD(scxRegExprCantCreateEmptyBlock)
  ADD(scxRegExprIllegalSymbol)
  ADD(scxRegExprIllegalQuantifier)
  ADD(scxRegExprNotSupportQuantifier)
  ADD(scxRegExprIllegalIntegerValue)
  ADD(scxRegExprTooBigReferenceNumber)
  ADD(scxRegExprCantCreateEmptyEnum)
  ADD(scxRegExprSubrangeOrder)
  ADD(scxRegExprHexNumberExpected0)
  ADD(scxRegExprHexNumberExpected)
  ADD(scxRegExprMissing)
  ADD(scxRegExprUnnecessary)
  ADD(scxRegExprIncorrectSpace)
  ADD(scxRegExprNotCompiled)
  ADD(scxRegExprIncorrectParameterQuantifier)
  ADD(scxRegExprCantUseParameterQuantifier)
  ADD(scxRegExprTooLargeExpansion)
  ADD(scxRegExprTooDeepNesting)
#undef ADD
}
}  // namespace

void cxEditConsts_Initialize() {
  if (GInitCount++ > 0) return;
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->RegisterProduct(cxEditorsProductName, &AddcxEditorsResourceStringNames);
}

void cxEditConsts_Finalize() {
  if (GInitCount == 0 || --GInitCount > 0) return;
  if (TdxResourceStringsRepository* R = dxResourceStringsRepository())
    R->UnRegisterProduct(cxEditorsProductName);
}
