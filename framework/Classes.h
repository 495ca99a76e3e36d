// Lists, string lists, streams, threads, and the component model with its
// persistence (form resources).
#pragma once

#include <vector>

#include "SysUtils.h"

// ===========================================================================
// Lists and string lists
// ===========================================================================



// ===========================================================================
// Streams
// ===========================================================================



// ===========================================================================
// Threads
// ===========================================================================



// ===========================================================================
// Component model: persistent objects, components, collections, published
// property and method tables, class registration
// ===========================================================================

class TFiler;
class TReader;
class TWriter;
class TComponent;
class TCollection;
class TCollectionItem;

// Objects that can be assigned to one another and streamed.
class TPersistent : public TObject {
  DECLARE_CLASS(TPersistent, TObject)
 public:
  // Copies Source into this object; a class that knows neither direction
  // raises EConvertError "Cannot assign a <source> to a <this>".
  virtual void Assign(TPersistent* Source);
  // The name under which the object appears in messages and designers
  // ("Form1.Columns[2]").
  virtual String GetNamePath();

 protected:
  virtual void AssignTo(TPersistent* Dest);
  // Declares unpublished data with TFiler::DefineProperty(...).
  virtual void DefineProperties(TFiler* Filer) {}
  virtual TPersistent* GetOwner() { return nullptr; }
  [[noreturn]] void AssignError(TPersistent* Source);

  friend class TReader;
  friend class TWriter;
};

// A reference-counted object: freed when the last interface reference goes.
class TInterfacedObject : public TObject, public IUnknown {
  DECLARE_CLASS(TInterfacedObject, TObject)
 public:
  // The count starts at one so that references taken during construction do
  // not free the object; AfterConstruction drops that guard.
  TInterfacedObject() : FRefCount(1) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  bool GetInterface(const IID& AIID, void** AObj) override;
  void AfterConstruction() override;
  // Freeing an object that is still referenced raises EInvalidPointer.
  void BeforeDestruction() override;
  Integer RefCount() const { return FRefCount; }

 private:
  volatile LONG FRefCount;
};

// A persistent object that implements interfaces without owning its lifetime:
// reference counting goes to the owner's interface when the owner has one,
// otherwise it answers -1 and does nothing.
class TInterfacedPersistent : public TPersistent, public IUnknown {
  DECLARE_CLASS(TInterfacedPersistent, TPersistent)
 public:
  ~TInterfacedPersistent() override;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  bool GetInterface(const IID& AIID, void** AObj) override;
  void AfterConstruction() override;

 private:
  IUnknown* FOwnerInterface = nullptr;
};

enum TComponentStateItem {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;
enum TOperation { opInsert, opRemove };
using TGetChildProc = TMethodPtr<void(TComponent* Child)>;

// The base of everything that owns, is owned, has a name and is streamed from
// a form resource. An owner frees what it owns; free notifications clear weak
// references between components.
class TComponent : public TPersistent {
  DECLARE_CLASS(TComponent, TPersistent)
 public:
  using TOwnerType = TComponent;
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  // Joins the owner; done here so that the owner's and this object's
  // Notification overrides are reached.
  void AfterConstruction() override;
  // Marks the tree csDestroying, notifies subscribers, frees the owned
  // components and leaves the owner while every override is still reachable.
  void BeforeDestruction() override;

  TComponent* Owner() const { return FOwner; }
  // Raises EListError for an index out of range.
  TComponent* Components(Integer Index) const;
  Integer ComponentCount() const { return static_cast<Integer>(FComponents.size()); }
  // Position among the owner's components; -1 without an owner.
  Integer ComponentIndex() const;
  void SetComponentIndex(Integer Value);
  const String& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or that
  // another component of the same owner already has (case-insensitively).
  virtual void SetName(const String& NewName);
  NativeInt Tag() const { return FTag; }
  void SetTag(NativeInt Value) { FTag = Value; }
  TComponentState ComponentState() const { return FComponentState; }

  TComponent* FindComponent(const String& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();
  void Destroying();
  // Subscribes AComponent to this component's destruction (and, in both
  // directions, this one to AComponent's).
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual bool HasParent() const { return false; }
  // Reports the components streamed as children of this one; the default
  // reports, for the root, the owned components without a parent.
  virtual void GetChildren(TGetChildProc Proc, TComponent* Root);
  virtual void SetParentComponent(TComponent* Value) {}
  // Where the reader puts the children read inside this component.
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  String GetNamePath() override;

  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  // Called for every component of a tree once the whole tree has been read.
  virtual void Loaded();

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const String& CurName,
                              const String& NewName);
  virtual void ValidateInsert(TComponent* AComponent) {}
  virtual void ValidateContainer(TComponent* AComponent);
  virtual void ChangeName(const String& NewName) { FName = NewName; }
  virtual void SetChildOrder(TComponent* Child, Integer Order) {}
  TPersistent* GetOwner() override { return FOwner; }
  void SetDesigning(bool Value, bool SetChildren = true);
  void SetInline(bool Value);
  // Points the owner's published field of this component's name at it (or
  // clears it), as a form's component fields expect.
  void SetReference(bool Enable);

 private:
  friend class TReader;
  friend class TWriter;
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);
  void RemoveFreeNotifications();

  TComponent* FOwner = nullptr;
  TComponent* FPendingOwner = nullptr;
  String FName;
  NativeInt FTag = 0;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
  TComponentState FComponentState;
};

// An element of a TCollection; created through the collection (Add) or with
// the collection as the creation argument.
class TCollectionItem : public TPersistent {
  DECLARE_CLASS(TCollectionItem, TPersistent)
 public:
  using TOwnerType = TCollection;
  explicit TCollectionItem(TCollection* ACollection) : FPendingCollection(ACollection) {}
  ~TCollectionItem() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TCollection* Collection() const { return FCollection; }
  void SetCollection(TCollection* Value);
  Integer ID() const { return FID; }
  Integer Index() const;
  virtual void SetIndex(Integer Value);
  virtual String GetDisplayName();
  virtual void SetDisplayName(const String& Value);
  String DisplayName() { return GetDisplayName(); }
  String GetNamePath() override;

 protected:
  // Tells the collection that this item (or, with AllItems, every item)
  // changed, unless the collection is inside BeginUpdate/EndUpdate.
  void Changed(bool AllItems);
  TPersistent* GetOwner() override;

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  TCollection* FPendingCollection = nullptr;
  Integer FID = 0;
};

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// A list of items of one class, streamed as a collection value.
class TCollection : public TPersistent {
  DECLARE_CLASS(TCollection, TPersistent)
 public:
  explicit TCollection(TClass AItemClass) : FItemClass(AItemClass) {}
  ~TCollection() override;

  TCollectionItem* Add();
  TCollectionItem* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  void Assign(TPersistent* Source) override;
  virtual void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  // Raises EListError for an index out of range.
  TCollectionItem* Items(Integer Index) const;
  TCollectionItem* FindItemID(Integer ID) const;
  TClass ItemClass() const { return FItemClass; }
  String GetNamePath() override;

 protected:
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
  // Item changed, or nullptr when the whole collection did.
  virtual void Update(TCollectionItem* Item) {}
  void Changed();
  // The name of the owner's property that holds this collection.
  String PropName();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);

  TClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  Integer FUpdateCount = 0;
  Integer FNextID = 0;
};

// A collection whose GetOwner is the persistent object that holds it.
class TOwnedCollection : public TCollection {
  DECLARE_CLASS(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* AOwner, TClass AItemClass)
      : TCollection(AItemClass), FOwner(AOwner) {}

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// ---------------------------------------------------------------------------
// Published properties, methods and fields.
enum TTypeKind {
  tkUnknown,
  tkInteger,
  tkInt64,
  tkFloat,
  tkString,
  tkEnumeration,
  tkSet,
  tkClass,
  tkMethod
};
enum TFloatType { ftSingle, ftDouble, ftExtended };

// The names of an enumeration's values in declaration order (the values are
// 0..Count-1); a set property names its element enumeration.
struct TEnumInfo {
  const wchar_t* TypeName;
  const wchar_t* const* Names;
  Integer Count;
};
template <size_t N>
constexpr TEnumInfo MakeEnumInfo(const wchar_t* TypeName, const wchar_t* const (&Names)[N]) {
  return TEnumInfo{TypeName, Names, static_cast<Integer>(N)};
}
const TEnumInfo& BooleanInfo();
// Empty for a value out of range.
String GetEnumName(const TEnumInfo& Info, Integer Value);
// Case-insensitive; -1 when Name is not a value of the enumeration.
Integer GetEnumValue(const TEnumInfo& Info, const String& Name);

// Integer properties whose values have names (colours, cursors).
using TIdentToInt = bool (*)(const String& Ident, Integer& Value);
using TIntToIdent = bool (*)(Integer Value, String& Ident);

struct TPropInfo {
  String Name;
  TTypeKind Kind = tkUnknown;
  TFloatType FloatType = ftDouble;
  // A float property holding a TDateTime (streamed as a date value).
  bool IsDate = false;
  const TEnumInfo* EnumType = nullptr;  // tkEnumeration; tkSet: the element type
  TClass PropClass = nullptr;           // tkClass
  const void* Signature = nullptr;      // tkMethod: identifies the event's type
  Int64 (*GetOrd)(TObject*) = nullptr;  // tkInteger, tkInt64, tkEnumeration, tkSet (bits)
  void (*SetOrd)(TObject*, Int64) = nullptr;
  Extended (*GetFloat)(TObject*) = nullptr;
  void (*SetFloat)(TObject*, Extended) = nullptr;
  String (*GetStr)(TObject*) = nullptr;
  void (*SetStr)(TObject*, const String&) = nullptr;
  TObject* (*GetObj)(TObject*) = nullptr;
  void (*SetObj)(TObject*, TObject*) = nullptr;
  TMethod (*GetMethod)(TObject*) = nullptr;
  void (*SetMethod)(TObject*, const TMethod&) = nullptr;
  bool StoredFlag = true;
  bool (*Stored)(TObject*) = nullptr;
  bool HasDefault = false;
  Int64 Default = 0;
  TIdentToInt IdentToInt = nullptr;
  TIntToIdent IntToIdent = nullptr;
  bool Writable() const {
    return SetOrd || SetFloat || SetStr || SetObj || SetMethod;
  }
};

struct TMethodEntry {
  String Name;
  void* Code;
  const void* Signature;
};

struct TFieldEntry {
  String Name;
  TClass FieldClass;
  void (*Set)(TObject* Instance, TObject* Value);
};

struct TPublishedTable {
  std::vector<TPropInfo> Props;
  std::vector<TMethodEntry> Methods;
  std::vector<TFieldEntry> Fields;
};

// Property lookup walks the class and its ancestors; names compare
// case-insensitively. A derived class may publish a name again (to change its
// default); GetPropList then lists it once, at the ancestor's position.
const TPropInfo* GetPropInfo(TClass AClass, const String& PropName);
const TPropInfo* GetPropInfo(TObject* Instance, const String& PropName);
std::vector<const TPropInfo*> GetPropList(TClass AClass);
bool IsStoredProp(TObject* Instance, const TPropInfo* Prop);
// True when the property holds its default (nothing to stream).
bool IsDefaultPropValue(TObject* Instance, const TPropInfo* Prop);
// Raise EPropertyError for a read-only property or one of another kind.
Int64 GetOrdProp(TObject* Instance, const TPropInfo* Prop);
void SetOrdProp(TObject* Instance, const TPropInfo* Prop, Int64 Value);
String GetStrProp(TObject* Instance, const TPropInfo* Prop);
void SetStrProp(TObject* Instance, const TPropInfo* Prop, const String& Value);
Extended GetFloatProp(TObject* Instance, const TPropInfo* Prop);
void SetFloatProp(TObject* Instance, const TPropInfo* Prop, Extended Value);
TObject* GetObjectProp(TObject* Instance, const TPropInfo* Prop);
void SetObjectProp(TObject* Instance, const TPropInfo* Prop, TObject* Value);
TMethod GetMethodProp(TObject* Instance, const TPropInfo* Prop);
void SetMethodProp(TObject* Instance, const TPropInfo* Prop, const TMethod& Value);

// The published method Name of Instance's class bound to Instance; an empty
// TMethod when there is none.
TMethod FindMethod(TObject* Instance, const String& Name);
// The published name of Code in Instance's class, empty when unpublished.
String MethodName(TObject* Instance, void* Code);
const TMethodEntry* FindMethodEntry(TClass AClass, const String& Name);
const TFieldEntry* FindFieldEntry(TClass AClass, const String& Name);

DECLARE_EXCEPTION(EPropertyError, Exception)

namespace ClassesDetail {
template <class M>
struct GetterTraits;
template <class C, class R>
struct GetterTraits<R (C::*)() const> {
  using Class = C;
  using Value = std::decay_t<R>;
};
template <class C, class R>
struct GetterTraits<R (C::*)()> {
  using Class = C;
  using Value = std::decay_t<R>;
};
template <class M>
struct SetterTraits;
template <class C, class A>
struct SetterTraits<void (C::*)(A)> {
  using Class = C;
  using Arg = std::decay_t<A>;
};

template <class T>
struct IsSet : std::false_type {};
template <class E, size_t N>
struct IsSet<TSet<E, N>> : std::true_type {};
template <class T>
struct IsMethodPtr : std::false_type {};
template <class S>
struct IsMethodPtr<TMethodPtr<S>> : std::true_type {};

// One address per event type, so that a form's method can be checked against
// the event property it is bound to.
template <class S>
inline const char SignatureTag = 0;
template <class S>
struct MethodSig;
template <class S>
struct MethodSig<TMethodPtr<S>> {
  static const void* Tag() { return &SignatureTag<S>; }
};

template <class T, auto Getter>
auto Get(TObject* Obj) {
  using C = typename GetterTraits<decltype(Getter)>::Class;
  return (static_cast<C*>(static_cast<T*>(Obj))->*Getter)();
}
template <class T, auto Setter, class V>
void Set(TObject* Obj, V&& Value) {
  using C = typename SetterTraits<decltype(Setter)>::Class;
  (static_cast<C*>(static_cast<T*>(Obj))->*Setter)(std::forward<V>(Value));
}
}  // namespace ClassesDetail

// Fills one class's published table: properties with their accessors, the
// methods a form resource may bind events to, and the fields that receive the
// components of the same name. Used inside IMPLEMENT_PUBLISHED_CLASS.
template <class T>
class TPublisher {
 public:
  class TPropBuilder {
   public:
    explicit TPropBuilder(TPropInfo& AInfo) : Info(AInfo) {}
    TPropBuilder& Default(Int64 Value) {
      Info.HasDefault = true;
      Info.Default = Value;
      return *this;
    }
    template <class E, size_t N>
    TPropBuilder& Default(const TSet<E, N>& Value) {
      return Default(static_cast<Int64>(Value.ToBits()));
    }
    TPropBuilder& NoDefault() {
      Info.HasDefault = false;
      return *this;
    }
    TPropBuilder& Stored(bool Value) {
      Info.StoredFlag = Value;
      Info.Stored = nullptr;
      return *this;
    }
    template <auto Predicate>
    TPropBuilder& Stored() {
      Info.Stored = [](TObject* Obj) -> bool { return ClassesDetail::Get<T, Predicate>(Obj); };
      return *this;
    }
    TPropBuilder& Idents(TIdentToInt ToInt, TIntToIdent ToIdent) {
      Info.IdentToInt = ToInt;
      Info.IntToIdent = ToIdent;
      return *this;
    }
    TPropBuilder& Date() {
      Info.IsDate = true;
      return *this;
    }

   private:
    TPropInfo& Info;
  };

  explicit TPublisher(TPublishedTable& ATable) : FTable(ATable) {}

  // Kind, class and float type follow from the getter's result; enumerations
  // and sets name their values with a TEnumInfo. Setter may be nullptr for a
  // read-only property (an owned object whose own properties are streamed).
  template <auto Getter, auto Setter = nullptr>
  TPropBuilder Property(const wchar_t* Name, const TEnumInfo* EnumType = nullptr) {
    using V = typename ClassesDetail::GetterTraits<decltype(Getter)>::Value;
    TPropInfo& I = FTable.Props.emplace_back();
    I.Name = Name;
    constexpr bool HasSetter = !std::is_same_v<decltype(Setter), std::nullptr_t>;
    if constexpr (std::is_same_v<V, bool>) {
      I.Kind = tkEnumeration;
      I.EnumType = &BooleanInfo();
      BindOrd<Getter, Setter, HasSetter, V>(I);
    } else if constexpr (std::is_enum_v<V>) {
      Assert(EnumType != nullptr, "An enumeration property needs its value names");
      I.Kind = tkEnumeration;
      I.EnumType = EnumType;
      BindOrd<Getter, Setter, HasSetter, V>(I);
    } else if constexpr (ClassesDetail::IsSet<V>::value) {
      Assert(EnumType != nullptr, "A set property needs its element names");
      I.Kind = tkSet;
      I.EnumType = EnumType;
      I.HasDefault = true;  // an empty set is not streamed
      I.GetOrd = [](TObject* O) -> Int64 {
        return static_cast<Int64>(ClassesDetail::Get<T, Getter>(O).ToBits());
      };
      if constexpr (HasSetter)
        I.SetOrd = [](TObject* O, Int64 Bits) {
          ClassesDetail::Set<T, Setter>(O, V::FromBits(static_cast<UInt64>(Bits)));
        };
    } else if constexpr (std::is_same_v<V, Int64> || std::is_same_v<V, UInt64>) {
      I.Kind = tkInt64;
      I.HasDefault = true;
      BindOrd<Getter, Setter, HasSetter, V>(I);
    } else if constexpr (std::is_integral_v<V>) {
      I.Kind = tkInteger;
      BindOrd<Getter, Setter, HasSetter, V>(I);
    } else if constexpr (std::is_floating_point_v<V>) {
      I.Kind = tkFloat;
      I.FloatType = std::is_same_v<V, float> ? ftSingle
                    : std::is_same_v<V, double> ? ftDouble
                                                : ftExtended;
      I.GetFloat = [](TObject* O) -> Extended { return ClassesDetail::Get<T, Getter>(O); };
      if constexpr (HasSetter)
        I.SetFloat = [](TObject* O, Extended X) {
          ClassesDetail::Set<T, Setter>(O, static_cast<V>(X));
        };
    } else if constexpr (std::is_same_v<V, String>) {
      I.Kind = tkString;
      I.GetStr = [](TObject* O) -> String { return ClassesDetail::Get<T, Getter>(O); };
      if constexpr (HasSetter)
        I.SetStr = [](TObject* O, const String& S) { ClassesDetail::Set<T, Setter>(O, S); };
    } else if constexpr (std::is_pointer_v<V>) {
      using C = std::remove_pointer_t<V>;
      static_assert(std::is_base_of_v<TObject, C>, "Class properties hold framework objects");
      I.Kind = tkClass;
      I.PropClass = C::StaticClass();
      I.GetObj = [](TObject* O) -> TObject* { return ClassesDetail::Get<T, Getter>(O); };
      if constexpr (HasSetter)
        I.SetObj = [](TObject* O, TObject* X) { ClassesDetail::Set<T, Setter>(O, As<C>(X)); };
    } else if constexpr (ClassesDetail::IsMethodPtr<V>::value) {
      I.Kind = tkMethod;
      I.Signature = ClassesDetail::MethodSig<V>::Tag();
      I.GetMethod = [](TObject* O) -> TMethod {
        return ClassesDetail::Get<T, Getter>(O).Method();
      };
      if constexpr (HasSetter)
        I.SetMethod = [](TObject* O, const TMethod& M) {
          ClassesDetail::Set<T, Setter>(O, V::FromMethod(M));
        };
    } else {
      static_assert(sizeof(V) == 0, "Unsupported published property type");
    }
    return TPropBuilder(I);
  }
  template <auto Getter, auto Setter = nullptr>
  TPropBuilder Property(const wchar_t* Name, const TEnumInfo& EnumType) {
    return Property<Getter, Setter>(Name, &EnumType);
  }

  // A method that event properties in a form resource may name.
  template <auto Fn>
  void Method(const wchar_t* Name) {
    using Ptr = decltype(MakeEvent<Fn>(nullptr));
    FTable.Methods.push_back(
        TMethodEntry{Name, MakeMethod<Fn>(nullptr).Code, ClassesDetail::MethodSig<Ptr>::Tag()});
  }

  // A component field set to the owned component of the same name.
  template <auto FieldPtr>
  void Field(const wchar_t* Name) {
    using F = std::remove_reference_t<decltype(std::declval<T&>().*FieldPtr)>;
    using C = std::remove_pointer_t<F>;
    FTable.Fields.push_back(TFieldEntry{
        Name, C::StaticClass(),
        [](TObject* Obj, TObject* Value) { static_cast<T*>(Obj)->*FieldPtr = As<C>(Value); }});
  }

 private:
  template <auto Getter, auto Setter, bool HasSetter, class V>
  static void BindOrd(TPropInfo& I) {
    I.GetOrd = [](TObject* O) -> Int64 {
      return static_cast<Int64>(ClassesDetail::Get<T, Getter>(O));
    };
    if constexpr (HasSetter)
      I.SetOrd = [](TObject* O, Int64 X) { ClassesDetail::Set<T, Setter>(O, static_cast<V>(X)); };
  }

  TPublishedTable& FTable;
};

template <class T>
const TPublishedTable* BuildPublishedTable(void (*Publish)(TPublisher<T>&)) {
  // Built once and kept for the life of the process, like the class itself.
  auto* Table = new TPublishedTable;
  TPublisher<T> P(*Table);
  Publish(P);
  return Table;
}

#define IMPLEMENT_PUBLISHED_CLASS_IMPL(ClassName_, Factory_)                                \
  static void Publish_##ClassName_(TPublisher<ClassName_>& P);                             \
  static const TPublishedTable* PublishedTable_##ClassName_() {                            \
    static const TPublishedTable* Table = BuildPublishedTable(&Publish_##ClassName_);      \
    return Table;                                                                          \
  }                                                                                        \
  TClass ClassName_::StaticClass() {                                                       \
    static const TMetaClass Meta{L## #ClassName_, ClassName_::inherited::StaticClass(),   \
                                 Factory_, &PublishedTable_##ClassName_};                  \
    return &Meta;                                                                          \
  }                                                                                        \
  TClass ClassName_::ClassType() const { return StaticClass(); }                           \
  static void Publish_##ClassName_(TPublisher<ClassName_>& P)

// In the class's .cpp, followed by the body that publishes:
//   IMPLEMENT_PUBLISHED_CLASS(TMyControl) {
//     P.Property<&TMyControl::GetCaption, &TMyControl::SetCaption>(L"Caption");
//   }
#define IMPLEMENT_PUBLISHED_CLASS(ClassName_) IMPLEMENT_PUBLISHED_CLASS_IMPL(ClassName_, nullptr)
#define IMPLEMENT_CREATABLE_PUBLISHED_CLASS(ClassName_) \
  IMPLEMENT_PUBLISHED_CLASS_IMPL(ClassName_, &CreateThroughClass<ClassName_>)

// ---------------------------------------------------------------------------
// Class registration: the classes a form resource may name.
void RegisterClass(TClass AClass);
void RegisterClasses(std::initializer_list<TClass> AClasses);
void UnRegisterClass(TClass AClass);
// nullptr when no class of that name is registered.
TClass GetClass(const String& AClassName);
// Raises EClassNotFound "Class %s not found".
TClass FindClass(const String& AClassName);



// ===========================================================================
// Filer: binary and text form resources
// ===========================================================================
