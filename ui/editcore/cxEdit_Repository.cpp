// Repositories of shared editor properties and the default values provider.
#include <algorithm>

#include "SysUtils.h"
#include "WinHandles.h"
#include "cxEdit.h"

// ---------------------------------------------------------------------------
// TcxEditRepositoryItem
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TcxEditRepositoryItem) {
  using I = TcxEditRepositoryItem;
  P.Property<&I::GetPropertiesEvents, &I::SetPropertiesEvents>(L"PropertiesEvents");
}

TcxEditRepositoryItem::TcxEditRepositoryItem(TComponent* AOwner)
    : TComponent(AOwner), FScaleFactor(MakeOwned<TdxOwnedScaleFactor>()) {}

TcxEditRepositoryItem::~TcxEditRepositoryItem() = default;

void TcxEditRepositoryItem::AfterConstruction() {
  inherited::AfterConstruction();
  FProperties.reset(As<TcxCustomEditProperties>(GetEditPropertiesClass()->Create(this)));
  FProperties->SetOnPropertiesChanged(MakeEvent<&TcxEditRepositoryItem::PropertiesChanged>(this));
}

void TcxEditRepositoryItem::BeforeDestruction() {
  // A listener that ignores the notice is dropped all the same.
  while (!FListenerList.empty()) {
    IcxEditRepositoryItemListener* Listener = FListenerList.back();
    Listener->ItemRemoved(this);
    std::erase(FListenerList, Listener);
  }
  SetRepository(nullptr);
  inherited::BeforeDestruction();
}

HRESULT STDMETHODCALLTYPE TcxEditRepositoryItem::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxEditRepositoryItem::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, __uuidof(IdxScaleFactor)) || IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IdxScaleFactor*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

TClass TcxEditRepositoryItem::GetEditPropertiesClass() {
  return TcxCustomEditProperties::StaticClass();
}

void TcxEditRepositoryItem::AddListener(IcxEditRepositoryItemListener* AListener) {
  if (AListener &&
      std::find(FListenerList.begin(), FListenerList.end(), AListener) == FListenerList.end())
    FListenerList.push_back(AListener);
}

void TcxEditRepositoryItem::RemoveListener(IcxEditRepositoryItemListener* AListener) {
  std::erase(FListenerList, AListener);
}

void TcxEditRepositoryItem::PropertiesChanged(TObject*) {
  // A listener may leave while it hears; walk a copy, the last first.
  const std::vector<IcxEditRepositoryItemListener*> Listeners = FListenerList;
  for (auto It = Listeners.rbegin(); It != Listeners.rend(); ++It)
    if (std::find(FListenerList.begin(), FListenerList.end(), *It) != FListenerList.end())
      (*It)->PropertiesChanged(this);
}

void TcxEditRepositoryItem::SetProperties(TcxCustomEditProperties* Value) {
  FProperties->Assign(Value);
}

bool TcxEditRepositoryItem::ArePropertiesCompatible(TClass AClass) const {
  return AClass && FProperties->InheritsFrom(AClass);
}

void TcxEditRepositoryItem::SetRepository(TcxEditRepository* Value) {
  if (Value == FRepository) return;
  if (FRepository) {
    FRepository->RemoveItem(this);
    FScaleFactor->SetOwner(nullptr);
  }
  FRepository = Value;
  if (FRepository) {
    FRepository->AddItem(this);
    // An item read with its repository was written at the repository's
    // scale: it takes that scale without rescaling its sizes.
    if (ComponentState().Contains(csLoading)) {
      const TdxScaleFactor* F = FRepository->ScaleFactor();
      FScaleFactor->Assign(F->Numerator(), F->Denominator(), true);
    }
    FScaleFactor->SetOwner(FRepository->ScaleFactor());
  }
}

TComponent* TcxEditRepositoryItem::GetParentComponent() const { return FRepository; }

void TcxEditRepositoryItem::SetParentComponent(TComponent* Value) {
  if (!ComponentState().Contains(csLoading)) SetRepository(AsOrNull<TcxEditRepository>(Value));
}

void TcxEditRepositoryItem::ReadState(TReader* Reader) {
  inherited::ReadState(Reader);
  if (auto* R = AsOrNull<TcxEditRepository>(Reader->Parent())) SetRepository(R);
}

String TcxEditRepositoryItem::GetBaseName() {
  static const String Prefix = L"TcxEditRepository";
  const String ClassName = ClassType()->ClassName();
  const size_t At = ClassName.find(Prefix);
  const String Kind = At == String::npos ? String() : ClassName.substr(At + Prefix.size());
  return (FRepository ? FRepository->Name() : String()) + Kind;
}

// ---------------------------------------------------------------------------
// TcxEditRepository
IMPLEMENT_CREATABLE_CLASS(TcxEditRepository)

TcxEditRepository::~TcxEditRepository() = default;

void TcxEditRepository::BeforeDestruction() {
  Clear();
  inherited::BeforeDestruction();
}

void TcxEditRepository::Clear() {
  while (!FItems.empty()) {
    TcxEditRepositoryItem* Item = FItems.back();
    // Freeing takes the item off the list; make sure, so that Clear ends.
    Item->Free();
    std::erase(FItems, Item);
  }
}

TcxEditRepositoryItem* TcxEditRepository::CreateItem(TClass ARepositoryItemClass) {
  return CreateItemEx(ARepositoryItemClass, this);
}

TcxEditRepositoryItem* TcxEditRepository::CreateItemEx(TClass ARepositoryItemClass,
                                                       TComponent* AOwner) {
  TOwned<TcxEditRepositoryItem> Item(
      As<TcxEditRepositoryItem>(ARepositoryItemClass->Create(AOwner)));
  Item->SetRepository(this);
  return Item.release();
}

TcxEditRepositoryItem* TcxEditRepository::ItemByName(const String& ARepositoryItemName) const {
  for (TcxEditRepositoryItem* Item : FItems)
    if (AnsiCompareText(Item->Name(), ARepositoryItemName) == 0) return Item;
  return nullptr;
}

void TcxEditRepository::AddItem(TcxEditRepositoryItem* AItem) {
  if (AItem && std::find(FItems.begin(), FItems.end(), AItem) == FItems.end())
    FItems.push_back(AItem);
}

void TcxEditRepository::RemoveItem(TcxEditRepositoryItem* AItem) { std::erase(FItems, AItem); }

TcxEditRepositoryItem* TcxEditRepository::Items(Integer Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(Format(ClassesConsts::SListIndexError, {Index}));
  return FItems[static_cast<size_t>(Index)];
}

void TcxEditRepository::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TcxEditRepositoryItem* Item : std::vector<TcxEditRepositoryItem*>(FItems))
    if (Item->Owner() == Root) Proc(Item);
}

// ---------------------------------------------------------------------------
// The module's repository

namespace {
struct TDefaultRepositoryState {
  TcxEditRepository* Repository = nullptr;
};
TDefaultRepositoryState& DefaultRepositoryState() {
  static TDefaultRepositoryState State;
  return State;
}
}  // namespace

TcxEditRepository* DefaultEditRepository() {
  TDefaultRepositoryState& S = DefaultRepositoryState();
  // Made only while the module is up; after shut-down nobody would free it.
  if (!S.Repository && GetRegisteredEditProperties())
    S.Repository = Create<TcxEditRepository>(nullptr);
  return S.Repository;
}

namespace cxEditDetail {
void FreeDefaultEditRepository() { FreeAndNil(DefaultRepositoryState().Repository); }
}  // namespace cxEditDetail

// ---------------------------------------------------------------------------
// TcxCustomEditDefaultValuesProvider
IMPLEMENT_CREATABLE_CLASS(TcxCustomEditDefaultValuesProvider)

void TcxCustomEditDefaultValuesProvider::BeforeDestruction() {
  IcxEditDefaultValuesProvider* Self = this;
  for (TcxCustomEditProperties* P :
       std::vector<TcxCustomEditProperties*>(CreatedEditPropertiesList()))
    if (P->GetIDefaultValuesProvider() == Self) P->DefaultValuesProviderDestroyed();
  inherited::BeforeDestruction();
}
