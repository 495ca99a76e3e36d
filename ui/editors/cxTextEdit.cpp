// The text editor module: the published editor, the filter helper, and the
// start-up that registers them and fills the incremental-filtering popup's
// link to its search edit.
#include "cxTextEdit.h"

#include "cxEditConsts.h"
#include "cxExtEditUtils.h"
#include "cxFilterControlUtils.h"
#include "dxIncrementalFiltering.h"

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxCustomTextEdit) {
  using E = TcxCustomTextEdit;
  P.Property<&E::GetBeepOnEnter, &E::SetBeepOnEnter>(L"BeepOnEnter").Default(true);
  P.Property<&E::GetTextHint, &E::SetTextHint>(L"TextHint");
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxTextEdit) {
  P.Property<&TcxTextEdit::GetProperties, &TcxTextEdit::SetProperties>(L"Properties");
}

IMPLEMENT_CLASS(TcxFilterTextEditHelper)

// ---------------------------------------------------------------------------
// The published editor

TClass TcxTextEdit::GetPropertiesClass() { return TcxTextEditProperties::StaticClass(); }

TcxTextEditProperties* TcxTextEdit::GetProperties() const {
  return static_cast<TcxTextEditProperties*>(TcxCustomEdit::GetProperties());
}

TcxTextEditProperties* TcxTextEdit::GetActiveProperties() {
  return static_cast<TcxTextEditProperties*>(TcxCustomEdit::GetActiveProperties());
}

void TcxTextEdit::SetProperties(TcxTextEditProperties* Value) {
  TcxCustomEdit::GetProperties()->Assign(Value);
}

// ---------------------------------------------------------------------------
// The filter helper

TClass TcxFilterTextEditHelper::GetFilterEditClass() const { return TcxTextEdit::StaticClass(); }

void TcxFilterTextEditHelper::InitializeProperties(TcxCustomEditProperties* AProperties,
                                                   TcxCustomEditProperties* AEditProperties,
                                                   bool AHasButtons) const {
  inherited::InitializeProperties(AProperties, AEditProperties, AHasButtons);
  AProperties->SetAutoSelect(true);
  if (auto* ATextProperties = dynamic_cast<TcxCustomTextEditProperties*>(AProperties)) {
    ATextProperties->SetHideSelection(true);
    ATextProperties->SetViewStyle(vsNormal);
  }
}

void TcxFilterTextEditHelper::SetFilterValue(TcxCustomEdit* AEdit, TcxCustomEditProperties*,
                                             const Variant& AValue) const {
  AEdit->SetEditValue(AValue);
}

// ---------------------------------------------------------------------------
// Start-up

namespace {

Integer InitCount = 0;

TcxCustomEdit* CreateSearchEdit() { return Create<TcxTextEdit>(nullptr); }

TcxCustomTextEdit* AsTextEdit(TcxCustomEdit* AEdit) {
  auto* AText = dynamic_cast<TcxCustomTextEdit*>(AEdit);
  if (!AText) throw EcxEditError(L"The search edit is not a text editor");
  return AText;
}

String GetSearchEditText(TcxCustomEdit* AEdit) { return AsTextEdit(AEdit)->GetText(); }

void SetSearchEditBeepOnEnter(TcxCustomEdit* AEdit, bool AValue) {
  AsTextEdit(AEdit)->SetBeepOnEnter(AValue);
}

void RegisterTextEdit() {
  cxRegisterEditProperties(TcxTextEditProperties::StaticClass(), &scxSEditRepositoryTextItem);
  if (TcxFilterEditsController* C = FilterEditsController())
    C->Register(TcxTextEditProperties::StaticClass(),
                cxFilterEditHelperClass<TcxFilterTextEditHelper>());
}

void UnregisterTextEdit() {
  if (TcxFilterEditsController* C = FilterEditsController())
    C->Unregister(TcxTextEditProperties::StaticClass(),
                  cxFilterEditHelperClass<TcxFilterTextEditHelper>());
}

}  // namespace

void cxTextEdit_Initialize() {
  if (InitCount == 0) {
    TdxSearchEditRoutines& ALink = dxSearchEditRoutines();
    ALink.CreateSearchEdit = &CreateSearchEdit;
    ALink.GetText = &GetSearchEditText;
    ALink.SetBeepOnEnter = &SetSearchEditBeepOnEnter;
  }
  cxExtEditModuleInitialize(InitCount, &RegisterTextEdit, &UnregisterTextEdit);
}

void cxTextEdit_Finalize() {
  if (InitCount == 1) dxSearchEditRoutines() = TdxSearchEditRoutines();
  cxExtEditModuleFinalize(InitCount, &UnregisterTextEdit);
}
