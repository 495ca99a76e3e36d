// The library's own containers (fast pointer lists without change
// notification, an intrusive doubly linked list), the sort they share, the
// ordinal string comparers, multicast events and the base object that hands
// out interfaces without reference counting.
#pragma once

#include <atomic>
#include <mutex>
#include <vector>

#include "dxCore.h"

// ---------------------------------------------------------------------------
// Sorting
using TCompareItems = Integer (*)(Pointer Item1, Pointer Item2);
using TdxListSortCompare = TMethodPtr<Integer(Pointer Item1, Pointer Item2)>;

// Median-of-three quicksort down to runs of 35 items, finished by one
// sentinel insertion sort. Not stable. With AMultiThreaded, lists of more
// than 32 items go to the shared parallel sort when multithreading is
// possible (the comparer then runs on pool threads). Whatever the comparer
// answers or raises, the list keeps every item and nothing outside it is
// touched; a raise reaches the caller.
void dxQuickSortList(Pointer* ASortList, Integer ACount, TCompareItems ACompareFunc,
                     bool AMultiThreaded = false);
void dxQuickSortList(Pointer* ASortList, Integer ACount, const TdxListSortCompare& ACompare,
                     bool AMultiThreaded = false);

// ---------------------------------------------------------------------------
// Fast lists
enum TdxListDirection { ldFromBeginning, ldFromEnd };
// Set-style assignment of one list to another.
enum class TdxListAssignOp { laCopy, laAnd, laOr, laXor, laSrcUnique, laDestUnique };

class TdxFastList : public TObject {
  DECLARE_CLASS(TdxFastList, TObject)
 public:
  explicit TdxFastList(Integer ACapacity = 0);
  ~TdxFastList() override;

  Integer Add(Pointer AItem);
  void Insert(Integer AIndex, Pointer AItem);
  void Insert(Integer AIndex, const TdxFastList* AList);
  void Delete(Integer AIndex);
  void DeleteRange(Integer AIndex, Integer ACount);
  Integer Remove(Pointer AItem);
  Pointer Extract(Pointer AItem, TdxListDirection ADirection = ldFromBeginning);
  Pointer ExtractByIndex(Integer AIndex);
  Integer IndexOf(Pointer AItem, TdxListDirection ADirection = ldFromBeginning) const;
  void Exchange(Integer AIndex1, Integer AIndex2);
  void Move(Integer ACurrentIndex, Integer ANewIndex);
  Pointer First() const;
  Pointer Last() const;
  // True for a null list as well.
  static bool Empty(const TdxFastList* AList) { return !AList || AList->FCount == 0; }
  bool Empty() const { return FCount == 0; }
  TdxFastList* Expand();
  void Pack(Pointer APattern = nullptr);
  void Reverse();
  virtual void Clear();
  virtual void SetCount(Integer AValue);
  void SetCapacity(Integer AValue);
  void Assign(const TdxFastList* ASource);
  void Assign(TList* ASource);
  // A new platform list (the caller owns it) with the same items.
  TList* GetTList() const;
  void Assign(const TdxFastList* ASource, TdxListAssignOp AOperator);
  void Sort(TCompareItems ACompare, bool AMultiThreaded = false);
  void Sort(const TdxListSortCompare& ACompare, bool AMultiThreaded = false);

  Integer Count() const { return FCount; }
  Integer Capacity() const { return FCapacity; }
  Pointer Items(Integer AIndex) const;
  void SetItem(Integer AIndex, Pointer AItem);
  Pointer operator[](Integer AIndex) const { return Items(AIndex); }
  Pointer* List() const { return FList; }

 protected:
  [[noreturn]] static void Error(const wchar_t* AFormat, Integer AValue);
  void CheckIndex(Integer AIndex) const;
  void CheckRange(Integer AIndex, Integer ACount) const;
  void Grow();
  void ReallocBlock(Integer ACapacity);

  Integer FCount = 0;
  Integer FCapacity = 0;
  Pointer* FList = nullptr;
};

class TdxFastObjectList : public TdxFastList {
  DECLARE_CLASS(TdxFastObjectList, TdxFastList)
 public:
  explicit TdxFastObjectList(bool AOwnsObjects = true, Integer ACapacity = 0)
      : TdxFastList(ACapacity), FOwnsObjects(AOwnsObjects) {}
  ~TdxFastObjectList() override;

  Integer Add(TObject* AObject) { return TdxFastList::Add(AObject); }
  void Insert(Integer AIndex, TObject* AObject) { TdxFastList::Insert(AIndex, AObject); }
  Integer IndexOf(TObject* AObject) const { return TdxFastList::IndexOf(AObject); }
  TObject* Extract(TObject* AItem, TdxListDirection ADirection = ldFromBeginning) {
    return static_cast<TObject*>(TdxFastList::Extract(AItem, ADirection));
  }
  TObject* First() const { return static_cast<TObject*>(TdxFastList::First()); }
  TObject* Last() const { return static_cast<TObject*>(TdxFastList::Last()); }
  TObject* Items(Integer AIndex) const { return static_cast<TObject*>(TdxFastList::Items(AIndex)); }
  TObject* operator[](Integer AIndex) const { return Items(AIndex); }
  void Delete(Integer AIndex);
  void DeleteRange(Integer AIndex, Integer ACount);
  void ExtractRange(Integer AIndex, Integer ACount) { TdxFastList::DeleteRange(AIndex, ACount); }
  Integer Remove(TObject* AObject);
  void SetItem(Integer AIndex, TObject* AObject);
  void SetCount(Integer AValue) override;
  void Clear() override;
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool AValue) { FOwnsObjects = AValue; }

 private:
  bool FOwnsObjects;
};

// ---------------------------------------------------------------------------
// Intrusive doubly linked list; the list owns its nodes.
class TcxDoublyLinkedObjectList;

class TcxDoublyLinkedObject : public TObject {
  DECLARE_CLASS(TcxDoublyLinkedObject, TObject)
 public:
  TcxDoublyLinkedObject* Prev() const { return FPrev; }
  TcxDoublyLinkedObject* Next() const { return FNext; }
  void SetPrev(TcxDoublyLinkedObject* AValue) { FPrev = AValue; }
  void SetNext(TcxDoublyLinkedObject* AValue) { FNext = AValue; }

 private:
  friend class TcxDoublyLinkedObjectList;
  TcxDoublyLinkedObject* FPrev = nullptr;
  TcxDoublyLinkedObject* FNext = nullptr;
};

class TcxDoublyLinkedObjectList : public TObject {
  DECLARE_CLASS(TcxDoublyLinkedObjectList, TObject)
 public:
  ~TcxDoublyLinkedObjectList() override;

  virtual TcxDoublyLinkedObject* CreateLinkedObject();
  virtual void DoAdd(TcxDoublyLinkedObject* ASource);
  virtual TClass GetLinkedObjectClass() const;
  virtual TcxDoublyLinkedObject* Add();
  virtual void Clear();
  virtual void Delete(TcxDoublyLinkedObject* ALinkedObject);
  virtual void Extract(TcxDoublyLinkedObject* ALinkedObject);
  virtual void Remove(TcxDoublyLinkedObject* ALinkedObject) { Delete(ALinkedObject); }
  void InsertBefore(TcxDoublyLinkedObject* ADestination, TcxDoublyLinkedObject* ASource);
  void InsertAfter(TcxDoublyLinkedObject* ADestination, TcxDoublyLinkedObject* ASource);

  TcxDoublyLinkedObject* First() const { return FFirst; }
  TcxDoublyLinkedObject* Last() const { return FLast; }
  Integer Count() const;
  Integer GetCount() const { return Count(); }

 private:
  TcxDoublyLinkedObject* FFirst = nullptr;
  TcxDoublyLinkedObject* FLast = nullptr;
};

// ---------------------------------------------------------------------------
// String comparers and hash
Integer GetHashCodeOfString(const String& ASource);

class TdxCustomStringComparer : public TObject {
  DECLARE_CLASS(TdxCustomStringComparer, TObject)
 public:
  virtual Integer Compare(const String& ALeft, const String& ARight) const = 0;
  virtual bool Equals(const String& ALeft, const String& ARight) const = 0;
  virtual Integer GetHashCode(const String& AValue) const = 0;
};

class TdxOrdinalStringComparer : public TdxCustomStringComparer {
  DECLARE_CLASS(TdxOrdinalStringComparer, TdxCustomStringComparer)
 public:
  Integer Compare(const String& ALeft, const String& ARight) const override;
  bool Equals(const String& ALeft, const String& ARight) const override;
  Integer GetHashCode(const String& AValue) const override;
};

class TdxOrdinalIStringComparer : public TdxOrdinalStringComparer {
  DECLARE_CLASS(TdxOrdinalIStringComparer, TdxOrdinalStringComparer)
 public:
  Integer Compare(const String& ALeft, const String& ARight) const override;
  bool Equals(const String& ALeft, const String& ARight) const override;
  Integer GetHashCode(const String& AValue) const override;
};

// Holders of the shared comparers (created on first use; nullptr once the
// module's shut-down began).
struct TdxStringComparer {
  static TdxOrdinalStringComparer* Ordinal();
};
struct TdxIStringComparer {
  static TdxOrdinalIStringComparer* Ordinal();
};

// ---------------------------------------------------------------------------
// Multicast events. Handlers are called in subscription order through one
// dispatcher of the event's own type. A handler may remove itself or others
// during a raise: removed handlers that were not called yet are skipped, and
// handlers added during a raise wait for the next one.
template <class Sig>
class TdxMulticastMethod;

template <class... A>
class TdxMulticastMethod<void(A...)> {
 public:
  using TEvent = TMethodPtr<void(A...)>;

  TdxMulticastMethod() = default;
  TdxMulticastMethod(const TdxMulticastMethod& S) : FImpl(S.FImpl) {
    if (FImpl) FImpl->AddRef();
  }
  TdxMulticastMethod& operator=(const TdxMulticastMethod& S) {
    if (S.FImpl) S.FImpl->AddRef();
    Release();
    FImpl = S.FImpl;
    return *this;
  }
  ~TdxMulticastMethod() { Release(); }

  void Add(const TEvent& AMethod) {
    Validate();
    std::lock_guard<std::mutex> Lock(FImpl->Mutex);
    FImpl->Handlers.Add(AMethod);
  }
  void Remove(const TEvent& AMethod) {
    if (!FImpl) return;
    std::lock_guard<std::mutex> Lock(FImpl->Mutex);
    FImpl->Handlers.Remove(AMethod);
  }
  void Clear() {
    if (FImpl) FImpl->Handlers.Clear();
  }
  // The clone shares this event's handlers.
  void Clone(TdxMulticastMethod& ADest) {
    Validate();
    ADest = *this;
  }
  Integer GetCount() const { return FImpl ? FImpl->Handlers.Count() : 0; }
  bool GetEmpty() const { return GetCount() == 0; }
  // The dispatcher: raising the event is calling it.
  TEvent GetInvoke() {
    Validate();
    return MakeEvent<&TImpl::Invoke>(FImpl);
  }
  TEvent Invoke() { return GetInvoke(); }

 private:
  struct TImpl {
    std::atomic<Integer> RefCount{1};
    std::mutex Mutex;
    TdxListenerList<TEvent> Handlers;
    void AddRef() { ++RefCount; }
    void Invoke(A... Args) {
      // A handler may drop the last record of the event; finish the raise
      // before the handlers go.
      AddRef();
      struct TKeep {
        TImpl* Self;
        ~TKeep() {
          if (--Self->RefCount == 0) delete Self;
        }
      } Keep{this};
      Handlers.ForEach([&](const TEvent& E) { E(Args...); });
    }
  };
  void Validate() {
    if (!FImpl) FImpl = new TImpl;
  }
  void Release() {
    if (FImpl && --FImpl->RefCount == 0) delete FImpl;
    FImpl = nullptr;
  }
  TImpl* FImpl = nullptr;
};

// ---------------------------------------------------------------------------
// An object that answers interface queries without reference counting: its
// lifetime stays with its owner.
class TcxIUnknownObject : public TObject, public IUnknown {
  DECLARE_CLASS(TcxIUnknownObject, TObject)
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID AIID, void** AObj) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(-1); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(-1); }
  bool GetInterface(const IID& AIID, void** AObj) override;
};

// ---------------------------------------------------------------------------
// Persistent bases that remember the owner given at construction.
class TcxInterfacedPersistent : public TInterfacedPersistent {
  DECLARE_CLASS(TcxInterfacedPersistent, TInterfacedPersistent)
 public:
  using TOwnerType = TPersistent;
  explicit TcxInterfacedPersistent(TPersistent* AOwner) : FOwner(AOwner) {}
  TPersistent* Owner() const { return FOwner; }

 protected:
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

class TcxOwnedPersistent : public TPersistent {
  DECLARE_CLASS(TcxOwnedPersistent, TPersistent)
 public:
  using TOwnerType = TPersistent;
  explicit TcxOwnedPersistent(TPersistent* AOwner) : FOwner(AOwner) {}
  TPersistent* Owner() const { return FOwner; }
  // From any owned persistent through DoAssign; anything else as a
  // persistent assigns (ending in the assignment error).
  void Assign(TPersistent* Source) override;

 protected:
  virtual void DoAssign(TcxOwnedPersistent* Source) {}
  TPersistent* GetOwner() override { return FOwner; }

 private:
  TPersistent* FOwner;
};

using TcxFreeNotificationEvent = TMethodPtr<void(TComponent* AComponent)>;

// Forwards the free notifications of other components to an event.
class TcxFreeNotificator : public TComponent {
  DECLARE_CLASS(TcxFreeNotificator, TComponent)
 public:
  using TComponent::TComponent;
  void AddSender(TComponent* ASender);
  void RemoveSender(TComponent* ASender);
  const TcxFreeNotificationEvent& OnFreeNotification() const { return FOnFreeNotification; }
  void SetOnFreeNotification(const TcxFreeNotificationEvent& AValue) {
    FOnFreeNotification = AValue;
  }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TcxFreeNotificationEvent FOnFreeNotification;
};

// The owner a persistent object was given (its GetOwner).
TPersistent* GetPersistentOwner(TPersistent* APersistent);

void dxCoreClasses_Initialize();
void dxCoreClasses_Finalize();
