#include "cxFilterControlUtils.h"

#include <algorithm>

namespace {
TcxFilterEditsController* FController = nullptr;
bool FFinalized = false;
}  // namespace

IMPLEMENT_CLASS(TcxCustomFilterEditHelper)
IMPLEMENT_CLASS(TcxFilterEditsController)

TcxFilterControlOperators TcxCustomFilterEditHelper::GetSupportedFilterOperators(
    TcxCustomEditProperties*, TcxValueTypeClass AValueTypeClass, bool AExtendedSet) const {
  TcxFilterControlOperators Result;
  for (Integer Op = fcoEqual; Op <= fcoNonBlanks; ++Op)
    Result.Include(static_cast<TcxFilterControlOperator>(Op));
  if (AExtendedSet) Result += {fcoBetween, fcoNotBetween, fcoInList, fcoNotInList};
  if (!AValueTypeClass || !AValueTypeClass->IsString())
    Result -= {fcoLike, fcoNotLike, fcoContains, fcoNotContains, fcoBeginsWith, fcoEndsWith};
  return Result;
}

bool TcxCustomFilterEditHelper::IsValueValid(TcxValueTypeClass AValueTypeClass,
                                             Variant& AValue) const {
  return !AValueTypeClass || AValueTypeClass->IsValueValid(AValue);
}

// ---------------------------------------------------------------------------

void TcxFilterEditsController::Register(TClass APropertiesClass, TcxFilterEditHelperClass AHelper) {
  if (AHelper && !HelperOf(AHelper->ClassType())) FHelpers.push_back(AHelper);
  TcxRegisteredClassList::Register(APropertiesClass, AHelper ? AHelper->ClassType() : nullptr);
}

void TcxFilterEditsController::Unregister(TClass APropertiesClass,
                                          TcxFilterEditHelperClass AHelper) {
  Unregister(APropertiesClass, AHelper ? AHelper->ClassType() : nullptr);
}

// The last entry gone, the process-wide registry goes too; nothing may use
// this object after the call.
void TcxFilterEditsController::Unregister(TClass AItemClass, TClass ARegisteredClass) {
  inherited::Unregister(AItemClass, ARegisteredClass);
  if (Count() == 0 && FController == this) {
    FController = nullptr;
    Free();
  }
}

TcxFilterEditHelperClass TcxFilterEditsController::FindHelper(TClass APropertiesClass) const {
  for (TClass C = APropertiesClass; C; C = C->Parent)
    if (TClass Helper = FindClass(C)) return HelperOf(Helper);
  return nullptr;
}

TcxFilterEditHelperClass TcxFilterEditsController::HelperOf(TClass AHelperClass) const {
  auto It = std::find_if(FHelpers.begin(), FHelpers.end(), [&](TcxFilterEditHelperClass H) {
    return H->ClassType() == AHelperClass;
  });
  return It == FHelpers.end() ? nullptr : *It;
}

TcxFilterEditsController* FilterEditsController() {
  if (!FController && !FFinalized) FController = Create<TcxFilterEditsController>();
  return FController;
}

void cxFilterControlUtils_Initialize() { FFinalized = false; }

void cxFilterControlUtils_Finalize() {
  FFinalized = true;
  if (FController) {
    TcxFilterEditsController* C = FController;
    FController = nullptr;
    C->Free();
  }
}
