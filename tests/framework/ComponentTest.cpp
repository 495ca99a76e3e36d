#include <gtest/gtest.h>

#include "Classes.h"

namespace {

std::vector<String> Log;

// Logs what happens to it, and keeps a weak reference cleared by free
// notification.
class TLogComp : public TComponent {
  DECLARE_CLASS(TLogComp, TComponent)
 public:
  using TComponent::TComponent;
  ~TLogComp() override { Log.push_back(L"free " + Name()); }
  void BeforeDestruction() override {
    Log.push_back(L"destroying " + Name() +
                  (ComponentState().Contains(csDestroying) ? L" (marked)" : L""));
    TComponent::BeforeDestruction();
  }
  TComponent* Ref = nullptr;
  bool LogInserts = false;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) {
      Log.push_back(Name() + L" told " + AComponent->Name() + L" goes" +
                    (AComponent->ComponentState().Contains(csDestroying) ? L" (destroying)" : L""));
      if (AComponent == Ref) Ref = nullptr;
    } else if (LogInserts) {
      Log.push_back(Name() + L" told " + AComponent->ClassName() + L" arrives");
    }
  }
};
IMPLEMENT_CREATABLE_CLASS(TLogComp)

TLogComp* Make(TComponent* Owner, const wchar_t* Name) {
  TLogComp* C = Create<TLogComp>(Owner);
  C->SetName(Name);
  return C;
}

TEST(Components, OwnershipNamesAndLookup) {
  TOwned<TLogComp> Owner(Make(nullptr, L"Owner"));
  TLogComp* A = Make(Owner.get(), L"Alpha");
  TLogComp* B = Make(Owner.get(), L"Beta");
  TLogComp* Unnamed1 = Create<TLogComp>(Owner.get());
  TLogComp* Unnamed2 = Create<TLogComp>(Owner.get());
  EXPECT_EQ(Owner->ComponentCount(), 4);
  EXPECT_EQ(Owner->Components(1), B);
  EXPECT_EQ(B->ComponentIndex(), 1);
  EXPECT_EQ(Unnamed2->ComponentIndex(), 3);
  EXPECT_EQ(Owner->FindComponent(L"ALPHA"), A);
  EXPECT_EQ(Owner->FindComponent(L""), nullptr);
  EXPECT_EQ(Owner->FindComponent(L"Gamma"), nullptr);
  EXPECT_EQ(Owner->ComponentIndex(), -1);
  EXPECT_THROW(Owner->Components(4), EListError);
  EXPECT_THROW(Owner->Components(-1), EListError);
  B->SetComponentIndex(0);
  EXPECT_EQ(Owner->Components(0), B);
  EXPECT_EQ(A->GetNamePath(), L"Alpha");
  (void)Unnamed1;

  struct {
    const wchar_t* Name;
    const wchar_t* Error;  // nullptr: accepted
  } Cases[] = {
      {L"beta", L"A component named beta already exists"},
      {L"1abc", L"Component name \"1abc\" is not a valid identifier"},
      {L"a b", L"Component name \"a b\" is not a valid identifier"},
      {L"a.b", L"Component name \"a.b\" is not a valid identifier"},
      {L"Имя", L"Component name \"Имя\" is not a valid identifier"},
      {L"ALPHA", nullptr},  // its own name in another case
      {L"_x1", nullptr},
      {L"", nullptr},
  };
  for (auto& C : Cases) {
    SCOPED_TRACE(testing::Message() << C.Name);
    try {
      A->SetName(C.Name);
      EXPECT_EQ(C.Error, nullptr);
      EXPECT_EQ(A->Name(), C.Name);
    } catch (EComponentError& E) {
      ASSERT_NE(C.Error, nullptr) << E.Message();
      EXPECT_EQ(E.Message(), C.Error);
    }
  }
  // A component without an owner may take any valid name.
  TOwned<TLogComp> Loose(Make(nullptr, L"Beta"));
  Log.clear();
}

TEST(Components, MovingBetweenOwnersNotifiesAndChecksNames) {
  TOwned<TLogComp> First(Make(nullptr, L"First"));
  TOwned<TLogComp> Second(Make(nullptr, L"Second"));
  TLogComp* A = Make(First.get(), L"A");
  TLogComp* Watcher = Make(Second.get(), L"W");
  Watcher->LogInserts = true;
  Make(Second.get(), L"Dup");
  Log.clear();
  First->RemoveComponent(A);
  EXPECT_EQ(A->Owner(), nullptr);
  EXPECT_EQ(First->ComponentCount(), 0);
  EXPECT_EQ(Log, (std::vector<String>{L"A told A goes", L"First told A goes"}));
  Log.clear();
  Second->InsertComponent(A);
  EXPECT_EQ(A->Owner(), Second.get());
  EXPECT_EQ(Log, (std::vector<String>{L"W told TLogComp arrives"}));
  TLogComp* B = Make(nullptr, L"dup");
  EXPECT_THROW(Second->InsertComponent(B), EComponentError);
  EXPECT_EQ(B->Owner(), nullptr);
  B->Free();
  Log.clear();
}

TEST(Components, DestructionNotifiesSubscribersThenFreesOwnedLastFirst) {
  Log.clear();
  TLogComp* Outside = Make(nullptr, L"Outside");
  TLogComp* Owner = Make(nullptr, L"Owner");
  TLogComp* A = Make(Owner, L"A");
  TLogComp* B = Make(Owner, L"B");
  Make(B, L"B1");
  // Outside watches Owner; A watches Outside.
  Outside->Ref = Owner;
  Owner->FreeNotification(Outside);
  A->Ref = Outside;
  Outside->FreeNotification(A);
  Log.clear();
  Owner->Free();
  EXPECT_EQ(Log, (std::vector<String>{
                     L"destroying Owner",
                     L"Outside told Owner goes (destroying)",
                     // Owned components go last first, already marked.
                     L"destroying B (marked)",
                     L"destroying B1 (marked)",
                     L"free B1",
                     L"free B",
                     // A subscribed to a component elsewhere, so its owner's
                     // tree hears that it goes.
                     L"A told A goes (destroying)",
                     L"Owner told A goes (destroying)",
                     L"destroying A (marked)",
                     // A had subscribed to Outside, so Outside hears of A.
                     L"Outside told A goes (destroying)",
                     L"free A",
                     L"free Owner",
                 }));
  EXPECT_EQ(Outside->Ref, nullptr);
  Log.clear();
  Outside->Free();
  // Nobody is left to tell.
  EXPECT_EQ(Log, (std::vector<String>{L"destroying Outside", L"free Outside"}));
  Log.clear();
}

TEST(Components, FreeNotificationWorksInBothDirectionsAndCanBeRemoved) {
  Log.clear();
  TOwned<TLogComp> X(Make(nullptr, L"X"));
  TOwned<TLogComp> Y(Make(nullptr, L"Y"));
  TLogComp* A = Make(X.get(), L"A");
  TLogComp* B = Make(Y.get(), L"B");
  A->Ref = B;
  B->Ref = A;
  A->FreeNotification(B);  // one call subscribes both ways
  EXPECT_TRUE(A->ComponentState().Contains(csFreeNotification));
  Log.clear();
  B->Free();
  EXPECT_EQ(A->Ref, nullptr);
  TLogComp* C = Make(Y.get(), L"C");
  A->Ref = C;
  C->Ref = A;
  C->FreeNotification(A);
  A->Free();
  EXPECT_EQ(C->Ref, nullptr);
  TLogComp* D = Make(X.get(), L"D");
  C->Ref = D;
  D->FreeNotification(C);
  D->RemoveFreeNotification(C);
  Log.clear();
  D->Free();
  EXPECT_EQ(C->Ref, D) << "unsubscribed, so not told";
  C->Ref = nullptr;
  Log.clear();
}

class TThing : public TPersistent {
  DECLARE_CLASS(TThing, TPersistent)
 public:
  int Value = 0;
  void Assign(TPersistent* Source) override {
    if (auto* T = AsOrNull<TThing>(Source)) {
      Value = T->Value;
      return;
    }
    TPersistent::Assign(Source);
  }
};
IMPLEMENT_CREATABLE_CLASS(TThing)

class TOther : public TPersistent {
  DECLARE_CLASS(TOther, TPersistent)
 public:
  int Value = 0;

 protected:
  // Knows how to put itself into a TThing (the other direction of Assign).
  void AssignTo(TPersistent* Dest) override {
    if (auto* T = AsOrNull<TThing>(Dest)) {
      T->Value = Value * 10;
      return;
    }
    TPersistent::AssignTo(Dest);
  }
};
IMPLEMENT_CREATABLE_CLASS(TOther)

TEST(Persistent, AssignBothDirectionsAndErrors) {
  TOwned<TThing> A = MakeOwned<TThing>();
  TOwned<TThing> B = MakeOwned<TThing>();
  TOwned<TOther> O = MakeOwned<TOther>();
  B->Value = 4;
  A->Assign(B.get());
  EXPECT_EQ(A->Value, 4);
  O->Value = 3;
  A->Assign(O.get());
  EXPECT_EQ(A->Value, 30);
  struct {
    TPersistent* Dest;
    TPersistent* Source;
    const wchar_t* Message;
  } Cases[] = {
      {A.get(), nullptr, L"Cannot assign a nil to a TThing"},
      {O.get(), A.get(), L"Cannot assign a TThing to a TOther"},
      {O.get(), nullptr, L"Cannot assign a nil to a TOther"},
  };
  for (auto& C : Cases) {
    try {
      C.Dest->Assign(C.Source);
      ADD_FAILURE() << "no exception";
    } catch (EConvertError& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
  }
  EXPECT_EQ(A->GetNamePath(), L"TThing");
}

class TCountedOwner : public TPersistent, public IUnknown {
  DECLARE_CLASS(TCountedOwner, TPersistent)
 public:
  LONG Refs = 0;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++Refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --Refs; }
  bool GetInterface(const IID& AIID, void** AObj) override {
    if (!IsEqualIID(AIID, IID_IUnknown)) return false;
    *AObj = static_cast<IUnknown*>(this);
    AddRef();
    return true;
  }
};
IMPLEMENT_CLASS(TCountedOwner)

class TOwnedPart : public TInterfacedPersistent {
  DECLARE_CLASS(TOwnedPart, TInterfacedPersistent)
 public:
  explicit TOwnedPart(TPersistent* AOwner) : FOwner(AOwner) {}

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};
IMPLEMENT_CLASS(TOwnedPart)

class TCounted : public TInterfacedObject {
  DECLARE_CLASS(TCounted, TInterfacedObject)
 public:
  explicit TCounted(bool* AFreed) : Freed(AFreed) {}
  ~TCounted() override { *Freed = true; }
  bool* Freed;
};
IMPLEMENT_CLASS(TCounted)

TEST(Persistent, InterfacedObjectsCountOrDelegateReferences) {
  bool Freed = false;
  TCounted* Obj = Create<TCounted>(&Freed);
  EXPECT_EQ(Obj->RefCount(), 0);
  IUnknown* Intf = nullptr;
  ASSERT_TRUE(Supports(Obj, IID_IUnknown, reinterpret_cast<void**>(&Intf)));
  EXPECT_EQ(Obj->RefCount(), 1);
  Intf->AddRef();
  EXPECT_EQ(Intf->Release(), 1u);
  EXPECT_FALSE(Freed);
  // Freeing while referenced is refused.
  EXPECT_THROW(Obj->BeforeDestruction(), EInvalidPointer);
  Intf->Release();
  EXPECT_TRUE(Freed);

  TOwned<TOwnedPart> Alone = MakeOwned<TOwnedPart>(nullptr);
  EXPECT_EQ(static_cast<IUnknown*>(Alone.get())->AddRef(), static_cast<ULONG>(-1));
  TOwned<TCountedOwner> Owner = MakeOwned<TCountedOwner>();
  {
    TOwned<TOwnedPart> Part = MakeOwned<TOwnedPart>(Owner.get());
    LONG Base = Owner->Refs;
    static_cast<IUnknown*>(Part.get())->AddRef();
    EXPECT_EQ(Owner->Refs, Base + 1);
    static_cast<IUnknown*>(Part.get())->Release();
    EXPECT_EQ(Owner->Refs, Base);
  }
  EXPECT_EQ(Owner->Refs, 0) << "the part gives back its owner reference";
}

// A collection that records its notifications and updates.
class TLogCollection : public TOwnedCollection {
  DECLARE_CLASS(TLogCollection, TOwnedCollection)
 public:
  using TOwnedCollection::TOwnedCollection;
  std::vector<String> Events;
  std::vector<String>* Outlives = nullptr;  // a log that survives the collection

 protected:
  void Notify(TCollectionItem* Item, TCollectionNotification Action) override {
    static const wchar_t* Names[] = {L"added", L"extracting", L"deleting"};
    Events.push_back(String(Names[Action]) + L" " + std::to_wstring(Item->ID()));
    if (Outlives) Outlives->push_back(Events.back());
  }
  void Update(TCollectionItem* Item) override {
    Events.push_back(Item ? L"update " + std::to_wstring(Item->ID()) : L"update all");
  }
};
IMPLEMENT_CLASS(TLogCollection)

class TNamedItem : public TCollectionItem {
  DECLARE_CLASS(TNamedItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  String Text;
  void Touch() { Changed(false); }
  void Assign(TPersistent* Source) override {
    if (auto* S = AsOrNull<TNamedItem>(Source)) {
      Text = S->Text;
      return;
    }
    TCollectionItem::Assign(Source);
  }
};
IMPLEMENT_CREATABLE_CLASS(TNamedItem)

class TCollectionHolder : public TComponent {
  DECLARE_CLASS(TCollectionHolder, TComponent)
 public:
  explicit TCollectionHolder(TComponent* AOwner)
      : TComponent(AOwner), Items(MakeOwned<TLogCollection>(this, TNamedItem::StaticClass())) {}
  TLogCollection* GetItems() const { return Items.get(); }
  TOwned<TLogCollection> Items;
};
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TCollectionHolder) {
  P.Property<&TCollectionHolder::GetItems>(L"Columns");
}

TEST(Collections, ItemsNotificationsUpdatesAndNamePaths) {
  TOwned<TCollectionHolder> Holder = MakeOwned<TCollectionHolder>(nullptr);
  Holder->SetName(L"Grid");
  TLogCollection* C = Holder->Items.get();
  auto* I0 = static_cast<TNamedItem*>(C->Add());
  auto* I1 = static_cast<TNamedItem*>(C->Add());
  auto* I2 = static_cast<TNamedItem*>(C->Insert(0));
  EXPECT_EQ(C->Count(), 3);
  EXPECT_EQ(C->Items(0), I2);
  EXPECT_EQ(I0->Index(), 1);
  EXPECT_EQ(I2->ID(), 2);
  EXPECT_EQ(C->FindItemID(1), I1);
  EXPECT_EQ(C->FindItemID(7), nullptr);
  EXPECT_EQ(I1->GetNamePath(), L"Grid.Columns[2]");
  EXPECT_EQ(C->GetNamePath(), L"Grid.Columns");
  EXPECT_EQ(C->Events, (std::vector<String>{L"added 0", L"update all", L"added 1", L"update all",
                                            L"added 2", L"update all", L"update all"}));
  C->Events.clear();
  I1->Touch();
  C->BeginUpdate();
  I1->Touch();
  C->Delete(0);
  static_cast<TNamedItem*>(C->Add())->Text = L"new";
  EXPECT_EQ(C->Events,
            (std::vector<String>{L"update 1", L"deleting 2", L"extracting 2", L"added 3"}));
  C->Events.clear();
  C->EndUpdate();
  EXPECT_EQ(C->Events, (std::vector<String>{L"update all"}));
  EXPECT_THROW(C->Items(3), EListError);
  // Freeing an item takes it out of its collection.
  I0->Free();
  EXPECT_EQ(C->Count(), 2);
  EXPECT_EQ(I1->Index(), 0);

  TOwned<TLogCollection> Copy = MakeOwned<TLogCollection>(nullptr, TNamedItem::StaticClass());
  Copy->Assign(C);
  ASSERT_EQ(Copy->Count(), 2);
  EXPECT_EQ(static_cast<TNamedItem*>(Copy->Items(1))->Text, L"new");
  EXPECT_EQ(Copy->GetNamePath(), L"TLogCollection");
  // Freeing the collection frees its items, telling its own override.
  std::vector<String> Last;
  Copy->Outlives = &Last;
  Copy.reset();
  EXPECT_EQ(Last, (std::vector<String>{L"extracting 1", L"extracting 0"}));
  C->Clear();
  EXPECT_EQ(C->Count(), 0);
  // Items of a foreign class are refused, and nothing half-inserted stays.
  EXPECT_THROW(Create<TCollectionItem>(static_cast<TCollection*>(C)), EListError);
  EXPECT_EQ(C->Count(), 0);
}

// Published tables.
enum TShape { shCircle, shSquare };
constexpr const wchar_t* ShapeNames[] = {L"shCircle", L"shSquare"};
constexpr TEnumInfo ShapeInfo = MakeEnumInfo(L"TShape", ShapeNames);

class TBasePub : public TComponent {
  DECLARE_CLASS(TBasePub, TComponent)
 public:
  using TComponent::TComponent;
  Integer GetWidth() const { return FWidth; }
  void SetWidth(Integer V) { FWidth = V; }
  TShape GetShape() const { return FShape; }
  void SetShape(TShape V) { FShape = V; }
  String GetLabel() const { return L"fixed"; }
  void Clicked(TObject*) {}

 private:
  Integer FWidth = 10;
  TShape FShape = shCircle;
};
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TBasePub) {
  P.Property<&TBasePub::GetWidth, &TBasePub::SetWidth>(L"Width").Default(10);
  P.Property<&TBasePub::GetShape, &TBasePub::SetShape>(L"Shape", ShapeInfo).Default(shCircle);
  P.Property<&TBasePub::GetLabel>(L"Label");
  P.Method<&TBasePub::Clicked>(L"Clicked");
}

class TDerivedPub : public TBasePub {
  DECLARE_CLASS(TDerivedPub, TBasePub)
 public:
  explicit TDerivedPub(TComponent* AOwner) : TBasePub(AOwner) { SetWidth(20); }
  bool GetFlag() const { return FFlag; }
  void SetFlag(bool V) { FFlag = V; }

 private:
  bool FFlag = false;
};
IMPLEMENT_CREATABLE_PUBLISHED_CLASS(TDerivedPub) {
  P.Property<&TDerivedPub::GetFlag, &TDerivedPub::SetFlag>(L"Flag");
  // The derived class starts wider, so its default is republished.
  P.Property<&TBasePub::GetWidth, &TBasePub::SetWidth>(L"Width").Default(20);
}

TEST(PublishedTables, InheritedPropertiesOverridesAndAccess) {
  std::vector<String> Names;
  for (const TPropInfo* P : GetPropList(TDerivedPub::StaticClass())) Names.push_back(P->Name);
  EXPECT_EQ(Names, (std::vector<String>{L"Name", L"Tag", L"Width", L"Shape", L"Label", L"Flag"}));
  EXPECT_EQ(GetPropInfo(TDerivedPub::StaticClass(), L"width")->Default, 20);
  EXPECT_EQ(GetPropInfo(TBasePub::StaticClass(), L"Width")->Default, 10);
  EXPECT_EQ(GetPropInfo(TBasePub::StaticClass(), L"Flag"), nullptr);

  TOwned<TDerivedPub> D = MakeOwned<TDerivedPub>(nullptr);
  const TPropInfo* Width = GetPropInfo(D.get(), L"Width");
  EXPECT_TRUE(IsDefaultPropValue(D.get(), Width));
  SetOrdProp(D.get(), Width, 35);
  EXPECT_EQ(D->GetWidth(), 35);
  EXPECT_FALSE(IsDefaultPropValue(D.get(), Width));
  const TPropInfo* Shape = GetPropInfo(D.get(), L"Shape");
  EXPECT_EQ(Shape->Kind, tkEnumeration);
  SetOrdProp(D.get(), Shape, shSquare);
  EXPECT_EQ(GetEnumName(*Shape->EnumType, static_cast<Integer>(GetOrdProp(D.get(), Shape))),
            L"shSquare");
  EXPECT_EQ(GetEnumValue(ShapeInfo, L"SHCIRCLE"), shCircle);
  EXPECT_EQ(GetEnumValue(ShapeInfo, L"shTriangle"), -1);
  const TPropInfo* Flag = GetPropInfo(D.get(), L"Flag");
  EXPECT_EQ(Flag->EnumType, &BooleanInfo());
  const TPropInfo* Label = GetPropInfo(D.get(), L"Label");
  EXPECT_EQ(GetStrProp(D.get(), Label), L"fixed");
  EXPECT_THROW(SetStrProp(D.get(), Label, L"x"), EPropertyError);
  EXPECT_THROW(GetOrdProp(D.get(), Label), EPropertyError);
  EXPECT_FALSE(IsStoredProp(D.get(), GetPropInfo(D.get(), L"Name")));

  TMethod M = FindMethod(D.get(), L"clicked");
  EXPECT_EQ(M.Data, D.get());
  EXPECT_EQ(M.Code, MakeMethod<&TBasePub::Clicked>(D.get()).Code);
  EXPECT_EQ(MethodName(D.get(), M.Code), L"Clicked");
  EXPECT_FALSE(FindMethod(D.get(), L"Missing"));
}

TEST(ClassRegistry, RegisterFindAndGet) {
  RegisterClasses({TDerivedPub::StaticClass(), TLogComp::StaticClass()});
  RegisterClass(TDerivedPub::StaticClass());  // again: no error
  EXPECT_EQ(FindClass(L"TDerivedPub"), TDerivedPub::StaticClass());
  // Ancestors are registered with it.
  EXPECT_EQ(GetClass(L"tbasepub"), TBasePub::StaticClass());
  EXPECT_EQ(GetClass(L"TComponent"), TComponent::StaticClass());
  EXPECT_EQ(GetClass(L"TNothing"), nullptr);
  try {
    FindClass(L"TNothing");
    ADD_FAILURE() << "no exception";
  } catch (EClassNotFound& E) {
    EXPECT_EQ(E.Message(), L"Class TNothing not found");
  }
  // A different class under a registered name is refused.
  static const TMetaClass Impostor{L"TLogComp", TComponent::StaticClass(), nullptr};
  EXPECT_THROW(RegisterClass(&Impostor), EFilerError);
  EXPECT_EQ(GetClass(L"TLogComp"), TLogComp::StaticClass());
  UnRegisterClass(TLogComp::StaticClass());
  EXPECT_EQ(GetClass(L"TLogComp"), nullptr);
  TComponent* Made = static_cast<TComponent*>(FindClass(L"TDerivedPub")->Create(nullptr));
  EXPECT_EQ(Made->ClassType(), TDerivedPub::StaticClass());
  Made->Free();
}

}  // namespace
