#include "FilerTestClasses.h"

#include <algorithm>

namespace FilerTest {

int LiveComponents = 0;
std::vector<String> LoadedLog;

bool IdentToTestColor(const String& Ident, Integer& Value) {
  if (Ident == L"clRed")
    Value = 0xFF;
  else if (Ident == L"clBlack")
    Value = 0;
  else
    return false;
  return true;
}

bool TestColorToIdent(Integer Value, String& Ident) {
  if (Value == 0xFF)
    Ident = L"clRed";
  else if (Value == 0)
    Ident = L"clBlack";
  else
    return false;
  return true;
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TTestFont) {
  P.Property<&TTestFont::GetName, &TTestFont::SetName>(L"Name");
  P.Property<&TTestFont::GetSize, &TTestFont::SetSize>(L"Size").Default(8);
  P.Property<&TTestFont::GetStyle, &TTestFont::SetStyle>(L"Style", TestOptionInfo);
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TTestItem) {
  P.Property<&TTestItem::GetCaption, &TTestItem::SetCaption>(L"Caption");
  P.Property<&TTestItem::GetValue, &TTestItem::SetValue>(L"Value").Default(0);
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TTestComp) {
  P.Property<&TTestComp::GetCount, &TTestComp::SetCount>(L"Count").Default(0);
  P.Property<&TTestComp::GetBig, &TTestComp::SetBig>(L"Big");
  P.Property<&TTestComp::GetRatio, &TTestComp::SetRatio>(L"Ratio");
  P.Property<&TTestComp::GetScale, &TTestComp::SetScale>(L"Scale");
  P.Property<&TTestComp::GetPrecise, &TTestComp::SetPrecise>(L"Precise");
  P.Property<&TTestComp::GetWhen, &TTestComp::SetWhen>(L"When").Date();
  P.Property<&TTestComp::GetCaption, &TTestComp::SetCaption>(L"Caption");
  P.Property<&TTestComp::GetKind, &TTestComp::SetKind>(L"Kind", TestKindInfo).Default(ttAlpha);
  P.Property<&TTestComp::GetOptions, &TTestComp::SetOptions>(L"Options", TestOptionInfo);
  P.Property<&TTestComp::GetEnabled, &TTestComp::SetEnabled>(L"Enabled").Default(true);
  P.Property<&TTestComp::GetColor, &TTestComp::SetColor>(L"Color").Default(0).Idents(
      &IdentToTestColor, &TestColorToIdent);
  P.Property<&TTestComp::GetFont>(L"Font");
  P.Property<&TTestComp::GetItems>(L"Items");
  P.Property<&TTestComp::GetBuddy, &TTestComp::SetBuddy>(L"Buddy");
  P.Property<&TTestComp::GetOnChange, &TTestComp::SetOnChange>(L"OnChange");
}

TTestComp::TTestComp(TComponent* AOwner)
    : TComponent(AOwner),
      FFont(MakeOwned<TTestFont>()),
      FItems(MakeOwned<TOwnedCollection>(this, TTestItem::StaticClass())) {
  ++LiveComponents;
}

TTestComp::~TTestComp() { --LiveComponents; }

void TTestComp::SetBuddy(TTestComp* V) {
  if (FBuddy) FBuddy->RemoveFreeNotification(this);
  FBuddy = V;
  if (FBuddy) FBuddy->FreeNotification(this);
}

void TTestComp::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FBuddy) FBuddy = nullptr;
}

void TTestComp::Loaded() {
  // What the component sees when it is told the tree is complete.
  String Entry = Name() + L":" + (FBuddy ? FBuddy->Name() : String(L"-"));
  if (ComponentState().Contains(csReading)) Entry += L":reading";
  if (!ComponentState().Contains(csLoading)) Entry += L":not-loading";
  LoadedLog.push_back(Entry);
  TComponent::Loaded();
}

void TTestComp::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineProperty(L"Extra", MakeEvent<&TTestComp::ReadExtra>(this),
                        MakeEvent<&TTestComp::WriteExtra>(this), !Extra.empty());
  Filer->DefineBinaryProperty(L"Blob", MakeEvent<&TTestComp::ReadBlob>(this),
                              MakeEvent<&TTestComp::WriteBlob>(this), !Blob.empty());
}

void TTestComp::ReadExtra(TReader* Reader) {
  Extra.clear();
  Reader->ReadListBegin();
  while (!Reader->EndOfList()) Extra.push_back(Reader->ReadString());
  Reader->ReadListEnd();
}

void TTestComp::WriteExtra(TWriter* Writer) {
  Writer->WriteListBegin();
  for (const String& S : Extra) Writer->WriteString(S);
  Writer->WriteListEnd();
}

void TTestComp::ReadBlob(TStream* Stream) {
  Blob.assign(static_cast<size_t>(Stream->Size()), 0);
  if (!Blob.empty()) Stream->ReadBuffer(Blob.data(), static_cast<Integer>(Blob.size()));
}

void TTestComp::WriteBlob(TStream* Stream) {
  Stream->WriteBuffer(Blob.data(), static_cast<Integer>(Blob.size()));
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TTestReadOnly) {
  P.Property<&TTestReadOnly::GetLocked>(L"Locked");
}

IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TTestForm) {
  P.Property<&TTestForm::GetCaption, &TTestForm::SetCaption>(L"Caption");
  P.Method<&TTestForm::ButtonClick>(L"ButtonClick");
  P.Method<&TTestForm::WrongSignature>(L"WrongSignature");
  P.Field<&TTestForm::Comp1>(L"Comp1");
  P.Field<&TTestForm::Comp2>(L"Comp2");
}

void TTestForm::Loaded() {
  LoadedLog.push_back(Name() + L":form");
  TComponent::Loaded();
}

IMPLEMENT_CREATABLE_CLASS(TTestFormEx)

IMPLEMENT_CREATABLE_CLASS(TTestBox)

void TTestBox::BeforeDestruction() {
  SetParentComponent(nullptr);
  for (TTestBox* Kid : Kids) Kid->FParentBox = nullptr;
  Kids.clear();
  TComponent::BeforeDestruction();
}

void TTestBox::SetParentComponent(TComponent* Value) {
  if (FParentBox) {
    auto& L = FParentBox->Kids;
    L.erase(std::remove(L.begin(), L.end(), this), L.end());
  }
  FParentBox = AsOrNull<TTestBox>(Value);
  if (FParentBox) FParentBox->Kids.push_back(this);
}

void TTestBox::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TTestBox* Kid : Kids) Proc(Kid);
  if (Root == this)
    for (Integer I = 0; I < ComponentCount(); ++I)
      if (!Components(I)->HasParent()) Proc(Components(I));
}

void RegisterTestClasses() {
  RegisterClasses({TTestBox::StaticClass(), TTestComp::StaticClass(), TTestForm::StaticClass(),
                   TTestReadOnly::StaticClass()});
}

}  // namespace FilerTest
