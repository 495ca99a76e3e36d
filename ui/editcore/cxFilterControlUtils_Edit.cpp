// The filter helpers' side that knows the editors: preparing a filter
// editor's properties from a column's and moving a value in and out.
#include "cxEdit.h"
#include "cxFilterControlUtils.h"

void TcxCustomFilterEditHelper::ClearPropertiesEvents(TcxCustomEditProperties* AProperties) const {
  AProperties->SetOnButtonClick(TcxEditButtonClickEvent());
  AProperties->SetOnChange(TNotifyEvent());
  AProperties->SetOnEditValueChanged(TNotifyEvent());
  AProperties->SetOnValidate(TcxEditValidateEvent());
}

void TcxCustomFilterEditHelper::InitializeEdit(TcxCustomEdit* AEdit,
                                               TcxCustomEditProperties* AEditProperties) const {
  InitializeProperties(AEdit->GetActiveProperties(), AEditProperties, EditPropertiesHasButtons());
}

void TcxCustomFilterEditHelper::InitializeProperties(TcxCustomEditProperties* AProperties,
                                                     TcxCustomEditProperties* AEditProperties,
                                                     bool AHasButtons) const {
  AProperties->Assign(AEditProperties);
  AProperties->GetAlignment()->SetHorz(taLeftJustify);
  AProperties->GetAlignment()->SetVert(taVCenter);
  AProperties->SetBeepOnError(false);
  if (!AHasButtons) AProperties->GetButtons()->Clear();
  AProperties->SetReadOnly(false);
  AProperties->SetValidateOnEnter(true);
  if (!IsIDefaultValuesProviderNeeded(AEditProperties))
    AProperties->SetIDefaultValuesProvider(nullptr);
  ClearPropertiesEvents(AProperties);
}

void TcxCustomFilterEditHelper::GetFilterValue(TcxCustomEdit* AEdit,
                                               TcxCustomEditProperties* AEditProperties, Variant& V,
                                               String& S) const {
  V = AEdit->GetEditValue();
  S = AEditProperties->GetDisplayText(V, false, true);
  if (S.empty()) S = VarToStr(V);
}

namespace {

// The filter editor class as an editor class; anything else is refused
// before an object is made of it.
TClass FilterEditClass(const TcxCustomFilterEditHelper& AHelper) {
  TClass AEditClass = AHelper.GetFilterEditClass();
  if (!AEditClass || !AEditClass->InheritsFrom(TcxCustomEdit::StaticClass()))
    throw EcxEditError(L"The filter helper " + AHelper.ClassName() + L" names no editor class");
  return AEditClass;
}

TcxCustomEdit* CreateFilterEdit(TClass AEditClass) {
  TObject* AObject = AEditClass->Create(nullptr);
  if (!AObject)
    throw EcxEditError(L"The editor class " + AEditClass->ClassName() + L" cannot be created");
  return static_cast<TcxCustomEdit*>(AObject);
}

}  // namespace

TcxCustomEdit* TcxCustomFilterEditHelper::GetFilterEdit(
    TcxCustomEditProperties* AEditProperties, TcxInplaceEditList* AInplaceEditList) const {
  TClass AEditClass = FilterEditClass(*this);
  if (!AInplaceEditList) {
    // The caller owns the editor only once it is ready.
    TOwned<TcxCustomEdit> AEdit(CreateFilterEdit(AEditClass));
    InitializeEdit(AEdit.get(), AEditProperties);
    return AEdit.release();
  }
  // The list keys its shared editors by properties class, which only an
  // editor of the class can tell; a short-lived one answers.
  TClass APropertiesClass =
      TOwned<TcxCustomEdit>(CreateFilterEdit(AEditClass))->GetPropertiesClass();
  TcxCustomEdit* AEdit = AInplaceEditList->GetEdit(APropertiesClass);
  InitializeEdit(AEdit, AEditProperties);
  return AEdit;
}
