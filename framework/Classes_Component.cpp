#include <algorithm>

#include "Classes.h"
#include "WinHandles.h"

namespace {

bool IsIdentChar(wchar_t C, bool First) {
  if ((C >= L'A' && C <= L'Z') || (C >= L'a' && C <= L'z') || C == L'_') return true;
  return !First && C >= L'0' && C <= L'9';
}

bool IsIdent(const String& S) {
  if (S.empty()) return false;
  for (size_t I = 0; I < S.size(); ++I)
    if (!IsIdentChar(S[I], I == 0)) return false;
  return true;
}

[[noreturn]] void ListIndexError(Integer Index) {
  throw EListError(L"List index out of bounds (" + IntToStr(Index) + L")");
}

}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TPersistent)

void TPersistent::Assign(TPersistent* Source) {
  if (Source)
    Source->AssignTo(this);
  else
    AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* Dest) { Dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* Source) {
  String SourceName = Source ? Source->ClassName() : String(L"nil");
  throw EConvertError(Format(L"Cannot assign a %s to a %s", {SourceName, ClassName()}));
}

String TPersistent::GetNamePath() {
  String Result = ClassName();
  if (TPersistent* Owner = GetOwner()) {
    String S = Owner->GetNamePath();
    if (!S.empty()) Result = S + L"." + Result;
  }
  return Result;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TInterfacedObject)

HRESULT STDMETHODCALLTYPE TInterfacedObject::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TInterfacedObject::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&FRefCount));
}

ULONG STDMETHODCALLTYPE TInterfacedObject::Release() {
  LONG R = InterlockedDecrement(&FRefCount);
  if (R == 0) Free();
  return static_cast<ULONG>(R);
}

bool TInterfacedObject::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IUnknown*>(this);
    AddRef();
    return true;
  }
  return TObject::GetInterface(AIID, AObj);
}

void TInterfacedObject::AfterConstruction() { InterlockedDecrement(&FRefCount); }

void TInterfacedObject::BeforeDestruction() {
  if (FRefCount != 0) throw EInvalidPointer(L"Invalid pointer operation");
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TInterfacedPersistent)

TInterfacedPersistent::~TInterfacedPersistent() {
  if (FOwnerInterface) FOwnerInterface->Release();
}

HRESULT STDMETHODCALLTYPE TInterfacedPersistent::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE TInterfacedPersistent::AddRef() {
  return FOwnerInterface ? FOwnerInterface->AddRef() : static_cast<ULONG>(-1);
}

ULONG STDMETHODCALLTYPE TInterfacedPersistent::Release() {
  return FOwnerInterface ? FOwnerInterface->Release() : static_cast<ULONG>(-1);
}

bool TInterfacedPersistent::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IUnknown*>(this);
    AddRef();
    return true;
  }
  return TPersistent::GetInterface(AIID, AObj);
}

void TInterfacedPersistent::AfterConstruction() {
  TPersistent::AfterConstruction();
  if (TPersistent* Owner = GetOwner()) {
    void* Intf = nullptr;
    if (Owner->GetInterface(IID_IUnknown, &Intf)) FOwnerInterface = static_cast<IUnknown*>(Intf);
  }
}

// ---------------------------------------------------------------------------
IMPLEMENT_PUBLISHED_CLASS(TComponent) {
  P.Property<&TComponent::Name, &TComponent::SetName>(L"Name").Stored(false);
  P.Property<&TComponent::Tag, &TComponent::SetTag>(L"Tag").Default(0);
}

TComponent::TComponent(TComponent* AOwner) : FPendingOwner(AOwner) {}

void TComponent::AfterConstruction() {
  TPersistent::AfterConstruction();
  TComponent* AOwner = FPendingOwner;
  FPendingOwner = nullptr;
  if (AOwner) AOwner->InsertComponent(this);
}

void TComponent::BeforeDestruction() {
  Destroying();
  RemoveFreeNotifications();
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
  TPersistent::BeforeDestruction();
}

TComponent::~TComponent() {
  // Reached without BeforeDestruction only when construction failed or a
  // caller deleted directly; the tree must still come apart cleanly.
  FComponentState.Include(csDestroying);
  RemoveFreeNotifications();
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(Integer Index) const {
  if (Index < 0 || Index >= ComponentCount()) ListIndexError(Index);
  return FComponents[static_cast<size_t>(Index)];
}

Integer TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  auto& L = FOwner->FComponents;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : static_cast<Integer>(It - L.begin());
}

void TComponent::SetComponentIndex(Integer Value) {
  if (!FOwner) return;
  auto& L = FOwner->FComponents;
  Integer I = ComponentIndex();
  if (I < 0) return;
  Value = std::clamp<Integer>(Value, 0, static_cast<Integer>(L.size()) - 1);
  if (Value == I) return;
  L.erase(L.begin() + I);
  L.insert(L.begin() + Value, this);
}

void TComponent::SetName(const String& NewName) {
  if (FName == NewName) return;
  if (!NewName.empty() && !IsIdent(NewName))
    throw EComponentError(Format(L"Component name \"%s\" is not a valid identifier", {NewName}));
  if (FOwner)
    FOwner->ValidateRename(this, FName, NewName);
  else
    ValidateRename(nullptr, FName, NewName);
  SetReference(false);
  ChangeName(NewName);
  SetReference(true);
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName,
                                const String& NewName) {
  if (AComponent && !SameText(CurName, NewName) && AComponent->FOwner == this &&
      FindComponent(NewName))
    throw EComponentError(Format(L"A component named %s already exists", {NewName}));
  if (FComponentState.Contains(csDesigning) && FOwner)
    FOwner->ValidateRename(AComponent, CurName, NewName);
}

void TComponent::ValidateContainer(TComponent* AComponent) { AComponent->ValidateInsert(this); }

TComponent* TComponent::FindComponent(const String& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* C : FComponents)
    if (SameText(C->FName, AName)) return C;
  return nullptr;
}

void TComponent::SetReference(bool Enable) {
  if (!FOwner || FName.empty()) return;
  if (const TFieldEntry* F = FindFieldEntry(FOwner->ClassType(), FName)) {
    if (Enable && !InheritsFrom(F->FieldClass)) return;
    F->Set(FOwner, Enable ? this : nullptr);
  }
}

void TComponent::InsertComponent(TComponent* AComponent) {
  AComponent->ValidateContainer(this);
  // The rename check only covers components already owned here; a component
  // joining with a name that is taken would make FindComponent ambiguous.
  if (!AComponent->FName.empty() && FindComponent(AComponent->FName))
    throw EComponentError(Format(L"A component named %s already exists", {AComponent->FName}));
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  ValidateRename(AComponent, String(), AComponent->FName);
  Insert(AComponent);
  AComponent->SetReference(true);
  if (FComponentState.Contains(csDesigning)) AComponent->SetDesigning(true);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  ValidateRename(AComponent, AComponent->FName, String());
  Notification(AComponent, opRemove);
  AComponent->SetReference(false);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto It = std::find(FComponents.begin(), FComponents.end(), AComponent);
  if (It != FComponents.end()) FComponents.erase(It);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  // Last first, so that components created later (which may refer to earlier
  // ones) go first.
  while (!FComponents.empty()) {
    TComponent* Instance = FComponents.back();
    if (Instance->FComponentState.Contains(csFreeNotification))
      RemoveComponent(Instance);
    else
      Remove(Instance);
    Instance->Free();
  }
}

void TComponent::Destroying() {
  if (FComponentState.Contains(csDestroying)) return;
  FComponentState.Include(csDestroying);
  for (TComponent* C : FComponents) C->Destroying();
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // A handler may free components of this owner; walk from the end and
  // re-clamp the index after every call.
  size_t I = FComponents.size();
  while (I > 0) {
    --I;
    FComponents[I]->Notification(AComponent, Operation);
    if (I > FComponents.size()) I = FComponents.size();
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  if (!FOwner || AComponent->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
      FFreeNotifies.push_back(AComponent);
      AComponent->FreeNotification(this);
    }
  }
  FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveNotification(TComponent* AComponent) {
  auto It = std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent);
  if (It != FFreeNotifies.end()) FFreeNotifies.erase(It);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  RemoveNotification(AComponent);
  AComponent->RemoveNotification(this);
}

void TComponent::RemoveFreeNotifications() {
  // Each subscriber's Notification unsubscribes it (both ways), so the list
  // shrinks as we go.
  while (!FFreeNotifies.empty()) {
    TComponent* Subscriber = FFreeNotifies.back();
    Subscriber->Notification(this, opRemove);
    if (!FFreeNotifies.empty() && FFreeNotifies.back() == Subscriber) {
      // An override that did not call the inherited Notification.
      RemoveFreeNotification(Subscriber);
    }
  }
}

void TComponent::GetChildren(TGetChildProc Proc, TComponent* Root) {
  if (Root != this) return;
  for (size_t I = 0; I < FComponents.size(); ++I)
    if (!FComponents[I]->HasParent()) Proc(FComponents[I]);
}

String TComponent::GetNamePath() { return FName; }

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  if (Value)
    FComponentState.Include(csDesigning);
  else
    FComponentState.Exclude(csDesigning);
  if (SetChildren)
    for (TComponent* C : FComponents) C->SetDesigning(Value);
}

void TComponent::SetInline(bool Value) {
  if (Value)
    FComponentState.Include(csInline);
  else
    FComponentState.Exclude(csInline);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TCollectionItem)

void TCollectionItem::AfterConstruction() {
  TPersistent::AfterConstruction();
  TCollection* C = FPendingCollection;
  FPendingCollection = nullptr;
  SetCollection(C);
}

void TCollectionItem::BeforeDestruction() {
  SetCollection(nullptr);
  TPersistent::BeforeDestruction();
}

TCollectionItem::~TCollectionItem() {
  if (FCollection) FCollection->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

Integer TCollectionItem::Index() const {
  if (!FCollection) return -1;
  auto& L = FCollection->FItems;
  auto It = std::find(L.begin(), L.end(), this);
  return It == L.end() ? -1 : static_cast<Integer>(It - L.begin());
}

void TCollectionItem::SetIndex(Integer Value) {
  Integer Cur = Index();
  if (Cur < 0 || Value == Cur) return;
  auto& L = FCollection->FItems;
  if (Value < 0 || Value >= static_cast<Integer>(L.size())) ListIndexError(Value);
  L.erase(L.begin() + Cur);
  L.insert(L.begin() + Value, this);
  Changed(true);
}

String TCollectionItem::GetDisplayName() { return ClassName(); }

void TCollectionItem::SetDisplayName(const String&) { Changed(false); }

String TCollectionItem::GetNamePath() {
  if (!FCollection) return ClassName();
  return FCollection->GetNamePath() + L"[" + IntToStr(Index()) + L"]";
}

void TCollectionItem::Changed(bool AllItems) {
  if (FCollection && FCollection->FUpdateCount == 0) FCollection->Update(AllItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() { return FCollection; }

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TCollection)

void TCollection::BeforeDestruction() {
  FUpdateCount = 1;
  Clear();
  TPersistent::BeforeDestruction();
}

TCollection::~TCollection() {
  FUpdateCount = 1;
  Clear();
}

TCollectionItem* TCollection::Add() {
  TObject* Obj = FItemClass->Create(this);
  if (!Obj) throw EInvalidOperation(Format(L"Cannot create an instance of %s", {FItemClass->Name}));
  return static_cast<TCollectionItem*>(Obj);
}

TCollectionItem* TCollection::Insert(Integer Index) {
  TCollectionItem* Item = Add();
  Item->SetIndex(Index);
  return Item;
}

void TCollection::Delete(Integer Index) {
  TCollectionItem* Item = Items(Index);
  Notify(Item, cnDeleting);
  Item->Free();
}

void TCollection::Clear() {
  if (FItems.empty()) return;
  auto Updating = UpdateScope(this);
  while (!FItems.empty()) FItems.back()->Free();
}

void TCollection::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  Changed();
}

void TCollection::Assign(TPersistent* Source) {
  auto* Src = AsOrNull<TCollection>(Source);
  if (!Src) return TPersistent::Assign(Source);
  auto Updating = UpdateScope(this);
  Clear();
  for (TCollectionItem* Item : Src->FItems) Add()->Assign(Item);
}

TCollectionItem* TCollection::Items(Integer Index) const {
  if (Index < 0 || Index >= Count()) ListIndexError(Index);
  return FItems[static_cast<size_t>(Index)];
}

TCollectionItem* TCollection::FindItemID(Integer ID) const {
  for (TCollectionItem* Item : FItems)
    if (Item->FID == ID) return Item;
  return nullptr;
}

void TCollection::Changed() {
  if (FUpdateCount == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* Item) {
  if (!Item->InheritsFrom(FItemClass)) throw EListError(L"Invalid property value");
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  Notify(Item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* Item) {
  Notify(Item, cnExtracting);
  auto It = std::find(FItems.begin(), FItems.end(), Item);
  if (It != FItems.end()) FItems.erase(It);
  Item->FCollection = nullptr;
  Changed();
}

String TCollection::PropName() {
  TPersistent* Owner = GetOwner();
  if (!Owner) return String();
  for (const TPropInfo* P : GetPropList(Owner->ClassType()))
    if (P->Kind == tkClass && P->GetObj(Owner) == this) return P->Name;
  return String();
}

String TCollection::GetNamePath() {
  TPersistent* Owner = GetOwner();
  if (!Owner) return ClassName();
  String S = Owner->GetNamePath();
  String Prop = PropName();
  if (S.empty() || Prop.empty()) return ClassName();
  return S + L"." + Prop;
}

IMPLEMENT_CLASS(TOwnedCollection)

// ---------------------------------------------------------------------------
namespace {
constexpr const wchar_t* BooleanNames[] = {L"False", L"True"};
constexpr TEnumInfo BooleanEnum = MakeEnumInfo(L"Boolean", BooleanNames);

// Tables from the root class down to AClass.
std::vector<const TPublishedTable*> TableChain(TClass AClass) {
  std::vector<const TPublishedTable*> Chain;
  for (TClass C = AClass; C; C = C->Parent)
    if (C->Published)
      if (const TPublishedTable* T = C->Published()) Chain.push_back(T);
  std::reverse(Chain.begin(), Chain.end());
  return Chain;
}

[[noreturn]] void PropertyAccessError(const TPropInfo* Prop) {
  throw EPropertyError(Format(L"Property %s cannot be accessed this way", {Prop->Name}));
}
}  // namespace

const TEnumInfo& BooleanInfo() { return BooleanEnum; }

String GetEnumName(const TEnumInfo& Info, Integer Value) {
  if (Value < 0 || Value >= Info.Count) return String();
  return Info.Names[Value];
}

Integer GetEnumValue(const TEnumInfo& Info, const String& Name) {
  for (Integer I = 0; I < Info.Count; ++I)
    if (SameText(Info.Names[I], Name)) return I;
  return -1;
}

const TPropInfo* GetPropInfo(TClass AClass, const String& PropName) {
  for (TClass C = AClass; C; C = C->Parent)
    if (C->Published)
      for (const TPropInfo& P : C->Published()->Props)
        if (SameText(P.Name, PropName)) return &P;
  return nullptr;
}

const TPropInfo* GetPropInfo(TObject* Instance, const String& PropName) {
  return GetPropInfo(Instance->ClassType(), PropName);
}

std::vector<const TPropInfo*> GetPropList(TClass AClass) {
  std::vector<const TPropInfo*> List;
  for (const TPublishedTable* T : TableChain(AClass))
    for (const TPropInfo& P : T->Props) {
      auto It = std::find_if(List.begin(), List.end(),
                             [&](const TPropInfo* Q) { return SameText(Q->Name, P.Name); });
      if (It != List.end())
        *It = &P;
      else
        List.push_back(&P);
    }
  return List;
}

bool IsStoredProp(TObject* Instance, const TPropInfo* Prop) {
  return Prop->Stored ? Prop->Stored(Instance) : Prop->StoredFlag;
}

bool IsDefaultPropValue(TObject* Instance, const TPropInfo* Prop) {
  switch (Prop->Kind) {
    case tkInteger:
    case tkInt64:
    case tkEnumeration:
    case tkSet:
      return Prop->HasDefault && Prop->GetOrd(Instance) == Prop->Default;
    case tkFloat:
      return Prop->GetFloat(Instance) == 0;
    case tkString:
      return Prop->GetStr(Instance).empty();
    case tkClass: {
      TObject* Obj = Prop->GetObj(Instance);
      if (auto* Collection = AsOrNull<TCollection>(Obj)) return Collection->Count() == 0;
      return Obj == nullptr;
    }
    case tkMethod:
      return !Prop->GetMethod(Instance);
    default:
      return true;
  }
}

Int64 GetOrdProp(TObject* Instance, const TPropInfo* Prop) {
  if (!Prop->GetOrd) PropertyAccessError(Prop);
  return Prop->GetOrd(Instance);
}

void SetOrdProp(TObject* Instance, const TPropInfo* Prop, Int64 Value) {
  if (!Prop->SetOrd) PropertyAccessError(Prop);
  Prop->SetOrd(Instance, Value);
}

String GetStrProp(TObject* Instance, const TPropInfo* Prop) {
  if (!Prop->GetStr) PropertyAccessError(Prop);
  return Prop->GetStr(Instance);
}

void SetStrProp(TObject* Instance, const TPropInfo* Prop, const String& Value) {
  if (!Prop->SetStr) PropertyAccessError(Prop);
  Prop->SetStr(Instance, Value);
}

Extended GetFloatProp(TObject* Instance, const TPropInfo* Prop) {
  if (!Prop->GetFloat) PropertyAccessError(Prop);
  return Prop->GetFloat(Instance);
}

void SetFloatProp(TObject* Instance, const TPropInfo* Prop, Extended Value) {
  if (!Prop->SetFloat) PropertyAccessError(Prop);
  Prop->SetFloat(Instance, Value);
}

TObject* GetObjectProp(TObject* Instance, const TPropInfo* Prop) {
  if (!Prop->GetObj) PropertyAccessError(Prop);
  return Prop->GetObj(Instance);
}

void SetObjectProp(TObject* Instance, const TPropInfo* Prop, TObject* Value) {
  if (!Prop->SetObj) PropertyAccessError(Prop);
  if (Value && !Value->InheritsFrom(Prop->PropClass)) PropertyAccessError(Prop);
  Prop->SetObj(Instance, Value);
}

TMethod GetMethodProp(TObject* Instance, const TPropInfo* Prop) {
  if (!Prop->GetMethod) PropertyAccessError(Prop);
  return Prop->GetMethod(Instance);
}

void SetMethodProp(TObject* Instance, const TPropInfo* Prop, const TMethod& Value) {
  if (!Prop->SetMethod) PropertyAccessError(Prop);
  Prop->SetMethod(Instance, Value);
}

const TMethodEntry* FindMethodEntry(TClass AClass, const String& Name) {
  for (TClass C = AClass; C; C = C->Parent)
    if (C->Published)
      for (const TMethodEntry& M : C->Published()->Methods)
        if (SameText(M.Name, Name)) return &M;
  return nullptr;
}

TMethod FindMethod(TObject* Instance, const String& Name) {
  const TMethodEntry* M = Instance ? FindMethodEntry(Instance->ClassType(), Name) : nullptr;
  return M ? TMethod{M->Code, Instance} : TMethod{};
}

String MethodName(TObject* Instance, void* Code) {
  if (!Instance || !Code) return String();
  for (TClass C = Instance->ClassType(); C; C = C->Parent)
    if (C->Published)
      for (const TMethodEntry& M : C->Published()->Methods)
        if (M.Code == Code) return M.Name;
  return String();
}

const TFieldEntry* FindFieldEntry(TClass AClass, const String& Name) {
  for (TClass C = AClass; C; C = C->Parent)
    if (C->Published)
      for (const TFieldEntry& F : C->Published()->Fields)
        if (SameText(F.Name, Name)) return &F;
  return nullptr;
}

// ---------------------------------------------------------------------------
namespace {
// The registry outlives every form that may still be read at shut-down, so it
// is created on first use and never destroyed.
SRWLOCK RegistryLock = SRWLOCK_INIT;
std::vector<TClass>& Registry() {
  static std::vector<TClass>* R = new std::vector<TClass>;
  return *R;
}

TClass FindRegistered(const String& Name) {
  for (TClass C : Registry())
    if (SameText(C->Name, Name)) return C;
  return nullptr;
}
}  // namespace

void RegisterClass(TClass AClass) {
  TSRWLockHold<true> Hold(RegistryLock);
  // Ancestors up to TPersistent are registered too, as forms may name them.
  for (TClass C = AClass; C && C != TPersistent::StaticClass(); C = C->Parent) {
    TClass Existing = FindRegistered(C->Name);
    if (Existing == C) break;
    if (Existing) throw EFilerError(Format(L"A class named %s already exists", {C->Name}));
    Registry().push_back(C);
  }
}

void RegisterClasses(std::initializer_list<TClass> AClasses) {
  for (TClass C : AClasses) RegisterClass(C);
}

void UnRegisterClass(TClass AClass) {
  TSRWLockHold<true> Hold(RegistryLock);
  auto& R = Registry();
  R.erase(std::remove(R.begin(), R.end(), AClass), R.end());
}

TClass GetClass(const String& AClassName) {
  TSRWLockHold<false> Hold(RegistryLock);
  return FindRegistered(AClassName);
}

TClass FindClass(const String& AClassName) {
  TClass C = GetClass(AClassName);
  if (!C) throw EClassNotFound(Format(L"Class %s not found", {AClassName}));
  return C;
}

void TComponent::DefineProperties(TFiler* Filer) {
  // Controls publish Left and Top themselves; the reader looks here only for
  // components that do not.
  bool Stored = FDesignInfo != 0;
  Filer->DefineProperty(L"Left", MakeEvent<&TComponent::ReadLeft>(this),
                        MakeEvent<&TComponent::WriteLeft>(this), Stored);
  Filer->DefineProperty(L"Top", MakeEvent<&TComponent::ReadTop>(this),
                        MakeEvent<&TComponent::WriteTop>(this), Stored);
}

void TComponent::ReadLeft(TReader* Reader) {
  FDesignInfo = static_cast<Integer>((static_cast<UInt64>(FDesignInfo) & 0xFFFF0000u) |
                                     (static_cast<UInt64>(Reader->ReadInteger()) & 0xFFFFu));
}

void TComponent::ReadTop(TReader* Reader) {
  FDesignInfo =
      static_cast<Integer>((static_cast<UInt64>(FDesignInfo) & 0xFFFFu) |
                           ((static_cast<UInt64>(Reader->ReadInteger()) & 0xFFFFu) << 16));
}

void TComponent::WriteLeft(TWriter* Writer) {
  Writer->WriteInteger(static_cast<SmallInt>(FDesignInfo & 0xFFFF));
}

void TComponent::WriteTop(TWriter* Writer) {
  Writer->WriteInteger(static_cast<SmallInt>((FDesignInfo >> 16) & 0xFFFF));
}
