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
                                               TcxCustomEditProperties* AEditProperties,
                                               Variant& V, String& S) const {
  V = AEdit->GetEditValue();
  S = AEditProperties->GetDisplayText(V, false, true);
  if (S.empty()) S = VarToStr(V);
}
