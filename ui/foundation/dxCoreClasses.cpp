#include "dxCoreClasses.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "dxThreading.h"

// ---------------------------------------------------------------------------
// Sorting

namespace {
constexpr Integer InsertionSortThreshold = 34;  // last index of a run left to insertion sort

// Every scan is bounded by the part's indexes: a comparer that is not a
// strict order (one that calls equal items smaller, or answers at random)
// would otherwise walk past the sentinels and out of the list.
template <class TLess>
void ModifiedQuickSort(Pointer* L, Integer ARight, TLess& Less) {
  while (ARight > InsertionSortThreshold) {
    Integer M = ARight / 2;
    Pointer Pivot = L[M];
    if (Less(L[ARight], L[0])) std::swap(L[0], L[ARight]);
    if (Less(Pivot, L[0])) {
      std::swap(L[0], L[M]);
      Pivot = L[M];
    } else if (Less(L[ARight], Pivot)) {
      std::swap(L[M], L[ARight]);
      Pivot = L[M];
    }
    Integer I = 0, J = ARight;
    auto ScanUp = [&] {
      do ++I;
      while (I < ARight && Less(L[I], Pivot));
    };
    auto ScanDown = [&] {
      do --J;
      while (J > 0 && Less(Pivot, L[J]));
    };
    ScanUp();
    ScanDown();
    while (I < J) {
      std::swap(L[I], L[J]);
      ScanUp();
      ScanDown();
    }
    // Left part: 0 .. I-1; right part: J+1 .. ARight. A strict order leaves
    // I <= J + 1; scans that crossed further give the items between them to
    // the left part only, so that the parts never overlap and each is
    // smaller than the whole.
    Integer LeftLast = I - 1;
    Integer RightFirst = std::max(J + 1, I), RightLast = ARight - RightFirst;
    if (LeftLast > RightLast) {
      if (RightLast > InsertionSortThreshold) ModifiedQuickSort(L + RightFirst, RightLast, Less);
      ARight = LeftLast;
    } else {
      if (LeftLast > InsertionSortThreshold) ModifiedQuickSort(L, LeftLast, Less);
      L += RightFirst;
      ARight = RightLast;
    }
  }
}

template <class TLess>
void InsertionSort(Pointer* L, Integer ALast, TLess& Less) {
  Integer Best = 0;
  for (Integer I = std::min(ALast, InsertionSortThreshold); I >= 1; --I)
    if (Less(L[I], L[Best])) Best = I;
  std::swap(L[0], L[Best]);
  for (Integer J = 2; J <= ALast; ++J) {
    if (!Less(L[J], L[J - 1])) continue;
    Integer K = J;
    // While the walk runs the lifted item is in no slot; it drops into the
    // gap also when the comparer raises, so that no item is lost.
    struct TLifted {
      Pointer* List;
      Integer& Gap;
      Pointer Item;
      ~TLifted() { List[Gap] = Item; }
    } Lifted{L, K, L[J]};
    // Item 0 is the smallest under a strict order and stops the walk; the
    // index test is for comparers that are not one.
    do {
      L[K] = L[K - 1];
      --K;
    } while (K > 0 && Less(Lifted.Item, L[K - 1]));
  }
}

template <class TLess>
void InternalQuickSortList(Pointer* AList, Integer ACount, TLess Less) {
  if (ACount - 1 > InsertionSortThreshold) ModifiedQuickSort(AList, ACount - 1, Less);
  InsertionSort(AList, ACount - 1, Less);
}

// Lists above this size go to the shared parallel sort when the caller asks.
constexpr Integer MultiThreadedSortMinCount = 33;

template <class TCompare>
void QuickSortList(Pointer* ASortList, Integer ACount, const TCompare& ACompare,
                   bool AMultiThreaded) {
  if (!ASortList || ACount <= 1) return;
  if (AMultiThreaded && ACount >= MultiThreadedSortMinCount && dxCanUseMultiThreading()) {
    if (TdxMultithreadedSort* Sorter = dxSortHelper()) {
      Sorter->Sort(ASortList, ACount, ACompare);
      return;
    }
  }
  InternalQuickSortList(ASortList, ACount,
                        [&ACompare](Pointer A, Pointer B) { return ACompare(A, B) < 0; });
}
}  // namespace

void dxQuickSortList(Pointer* ASortList, Integer ACount, TCompareItems ACompareFunc,
                     bool AMultiThreaded) {
  QuickSortList(ASortList, ACount, ACompareFunc, AMultiThreaded);
}

void dxQuickSortList(Pointer* ASortList, Integer ACount, const TdxListSortCompare& ACompare,
                     bool AMultiThreaded) {
  QuickSortList(ASortList, ACount, ACompare, AMultiThreaded);
}

// ---------------------------------------------------------------------------
// TdxFastList

IMPLEMENT_CREATABLE_CLASS(TdxFastList)
IMPLEMENT_CREATABLE_CLASS(TdxFastObjectList)

TdxFastList::TdxFastList(Integer ACapacity) {
  if (ACapacity > 0) ReallocBlock(ACapacity);
}

TdxFastList::~TdxFastList() {
  // Clear is virtual but a descendant is gone by now; release the block only.
  std::free(FList);
}

void TdxFastList::Error(const wchar_t* AFormat, Integer AValue) {
  String Msg = AFormat;
  auto P = Msg.find(L"%d");
  if (P != String::npos) Msg.replace(P, 2, std::to_wstring(AValue));
  throw EListError(Msg);
}

void TdxFastList::CheckIndex(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= FCount) Error(L"List index out of bounds (%d)", AIndex);
}

void TdxFastList::CheckRange(Integer AIndex, Integer ACount) const {
  if (AIndex < 0 || ACount < 0 || static_cast<Int64>(AIndex) + ACount > FCount)
    throw EArgumentOutOfRangeException(L"Argument out of range");
}

void TdxFastList::ReallocBlock(Integer ACapacity) {
  if (ACapacity == 0) {
    std::free(FList);
    FList = nullptr;
  } else {
    auto* P = static_cast<Pointer*>(
        std::realloc(FList, sizeof(Pointer) * static_cast<size_t>(ACapacity)));
    if (!P) throw EOutOfMemory(L"Out of memory");
    FList = P;
  }
  FCapacity = ACapacity;
}

void TdxFastList::Grow() {
  Integer Delta = FCapacity > 128 ? FCapacity / 2 : (FCapacity > 16 ? 32 : 16);
  ReallocBlock(FCapacity + Delta);
}

Integer TdxFastList::Add(Pointer AItem) {
  if (FCount == FCapacity) Grow();
  FList[FCount] = AItem;
  return FCount++;
}

void TdxFastList::Insert(Integer AIndex, Pointer AItem) {
  if (AIndex < 0 || AIndex > FCount) Error(L"List index out of bounds (%d)", AIndex);
  if (FCount == FCapacity) Grow();
  std::memmove(FList + AIndex + 1, FList + AIndex,
               sizeof(Pointer) * static_cast<size_t>(FCount - AIndex));
  FList[AIndex] = AItem;
  ++FCount;
}

void TdxFastList::Insert(Integer AIndex, const TdxFastList* AList) {
  if (AIndex < 0 || AIndex > FCount) Error(L"List index out of bounds (%d)", AIndex);
  if (Empty(AList)) return;
  // Copy first: AList may be this list.
  std::vector<Pointer> Source(AList->FList, AList->FList + AList->FCount);
  Integer N = static_cast<Integer>(Source.size());
  if (FCount + N > FCapacity) ReallocBlock(FCount + N);
  std::memmove(FList + AIndex + N, FList + AIndex,
               sizeof(Pointer) * static_cast<size_t>(FCount - AIndex));
  std::memcpy(FList + AIndex, Source.data(), sizeof(Pointer) * static_cast<size_t>(N));
  FCount += N;
}

void TdxFastList::Delete(Integer AIndex) {
  CheckIndex(AIndex);
  DeleteRange(AIndex, 1);
}

void TdxFastList::DeleteRange(Integer AIndex, Integer ACount) {
  CheckRange(AIndex, ACount);
  if (ACount == 0) return;
  std::memmove(FList + AIndex, FList + AIndex + ACount,
               sizeof(Pointer) * static_cast<size_t>(FCount - AIndex - ACount));
  FCount -= ACount;
}

Integer TdxFastList::Remove(Pointer AItem) {
  Integer Index = IndexOf(AItem);
  if (Index >= 0) Delete(Index);
  return Index;
}

Pointer TdxFastList::Extract(Pointer AItem, TdxListDirection ADirection) {
  Integer Index = IndexOf(AItem, ADirection);
  if (Index < 0) return nullptr;
  Delete(Index);
  return AItem;
}

Pointer TdxFastList::ExtractByIndex(Integer AIndex) {
  CheckIndex(AIndex);
  Pointer Item = FList[AIndex];
  Delete(AIndex);
  return Item;
}

Integer TdxFastList::IndexOf(Pointer AItem, TdxListDirection ADirection) const {
  if (ADirection == ldFromBeginning) {
    for (Integer I = 0; I < FCount; ++I)
      if (FList[I] == AItem) return I;
  } else {
    for (Integer I = FCount - 1; I >= 0; --I)
      if (FList[I] == AItem) return I;
  }
  return -1;
}

void TdxFastList::Exchange(Integer AIndex1, Integer AIndex2) {
  CheckIndex(AIndex1);
  CheckIndex(AIndex2);
  std::swap(FList[AIndex1], FList[AIndex2]);
}

void TdxFastList::Move(Integer ACurrentIndex, Integer ANewIndex) {
  if (ACurrentIndex == ANewIndex) return;
  CheckIndex(ANewIndex);
  CheckIndex(ACurrentIndex);
  Pointer Item = FList[ACurrentIndex];
  Delete(ACurrentIndex);
  Insert(ANewIndex, Item);
}

Pointer TdxFastList::First() const { return Items(0); }
Pointer TdxFastList::Last() const { return Items(FCount - 1); }

Pointer TdxFastList::Items(Integer AIndex) const {
  CheckIndex(AIndex);
  return FList[AIndex];
}

void TdxFastList::SetItem(Integer AIndex, Pointer AItem) {
  CheckIndex(AIndex);
  FList[AIndex] = AItem;
}

TdxFastList* TdxFastList::Expand() {
  if (FCount == FCapacity) Grow();
  return this;
}

void TdxFastList::Pack(Pointer APattern) {
  Integer Kept = 0;
  for (Integer I = 0; I < FCount; ++I)
    if (FList[I] != APattern) FList[Kept++] = FList[I];
  FCount = Kept;
}

void TdxFastList::Reverse() {
  if (FCount >= 2) std::reverse(FList, FList + FCount);
}

void TdxFastList::Clear() {
  FCount = 0;
  ReallocBlock(0);
}

void TdxFastList::SetCount(Integer AValue) {
  if (AValue < 0) Error(L"List count out of bounds (%d)", AValue);
  if (AValue > FCapacity) ReallocBlock(AValue);
  if (AValue > FCount)
    std::memset(FList + FCount, 0, sizeof(Pointer) * static_cast<size_t>(AValue - FCount));
  FCount = AValue;
}

void TdxFastList::SetCapacity(Integer AValue) {
  if (AValue < FCount) Error(L"List capacity out of bounds (%d)", AValue);
  if (AValue != FCapacity) ReallocBlock(AValue);
}

void TdxFastList::Assign(const TdxFastList* ASource) {
  if (ASource == this) return;
  FCount = 0;
  ReallocBlock(ASource->FCapacity);
  if (ASource->FCount)
    std::memcpy(FList, ASource->FList, sizeof(Pointer) * static_cast<size_t>(ASource->FCount));
  FCount = ASource->FCount;
}

void TdxFastList::Assign(TList* ASource) {
  FCount = 0;
  ReallocBlock(std::max(ASource->Capacity(), ASource->Count()));
  if (ASource->Count())
    std::memcpy(FList, ASource->List(), sizeof(Pointer) * static_cast<size_t>(ASource->Count()));
  FCount = ASource->Count();
}

TList* TdxFastList::GetTList() const {
  TList* Result = Create<TList>();
  Result->SetCapacity(FCount);
  for (Integer I = 0; I < FCount; ++I) Result->Add(FList[I]);
  return Result;
}

void TdxFastList::Assign(const TdxFastList* ASource, TdxListAssignOp AOperator) {
  switch (AOperator) {
    case TdxListAssignOp::laCopy:
      Assign(ASource);
      break;
    case TdxListAssignOp::laAnd:
      for (Integer I = FCount - 1; I >= 0; --I)
        if (ASource->IndexOf(FList[I]) < 0) Delete(I);
      break;
    case TdxListAssignOp::laOr:
      for (Integer I = 0; I < ASource->FCount; ++I)
        if (IndexOf(ASource->FList[I]) < 0) Add(ASource->FList[I]);
      break;
    case TdxListAssignOp::laXor: {
      TdxFastList Missing(FCount + ASource->FCount);
      for (Integer I = 0; I < ASource->FCount; ++I)
        if (IndexOf(ASource->FList[I]) < 0) Missing.Add(ASource->FList[I]);
      for (Integer I = FCount - 1; I >= 0; --I)
        if (ASource->IndexOf(FList[I]) >= 0) Delete(I);
      for (Integer I = 0; I < Missing.FCount; ++I) Add(Missing.FList[I]);
      break;
    }
    case TdxListAssignOp::laSrcUnique:
      for (Integer I = FCount - 1; I >= 0; --I)
        if (ASource->IndexOf(FList[I]) >= 0) Delete(I);
      break;
    case TdxListAssignOp::laDestUnique: {
      TdxFastList Missing;
      for (Integer I = ASource->FCount - 1; I >= 0; --I)
        if (IndexOf(ASource->FList[I]) < 0) Missing.Add(ASource->FList[I]);
      Assign(&Missing);
      break;
    }
  }
}

void TdxFastList::Sort(TCompareItems ACompare, bool AMultiThreaded) {
  dxQuickSortList(FList, FCount, ACompare, AMultiThreaded);
}

void TdxFastList::Sort(const TdxListSortCompare& ACompare, bool AMultiThreaded) {
  dxQuickSortList(FList, FCount, ACompare, AMultiThreaded);
}

// ---------------------------------------------------------------------------
// TdxFastObjectList

TdxFastObjectList::~TdxFastObjectList() { Clear(); }

void TdxFastObjectList::Delete(Integer AIndex) {
  CheckIndex(AIndex);
  if (FOwnsObjects && FList[AIndex]) static_cast<TObject*>(FList[AIndex])->Free();
  TdxFastList::Delete(AIndex);
}

void TdxFastObjectList::DeleteRange(Integer AIndex, Integer ACount) {
  CheckRange(AIndex, ACount);
  if (FOwnsObjects)
    for (Integer I = AIndex; I < AIndex + ACount; ++I)
      if (FList[I]) static_cast<TObject*>(FList[I])->Free();
  TdxFastList::DeleteRange(AIndex, ACount);
}

Integer TdxFastObjectList::Remove(TObject* AObject) {
  Integer Index = IndexOf(AObject);
  if (Index >= 0) Delete(Index);
  return Index;
}

void TdxFastObjectList::SetItem(Integer AIndex, TObject* AObject) {
  CheckIndex(AIndex);
  if (FList[AIndex] == AObject) return;
  if (FOwnsObjects && FList[AIndex]) static_cast<TObject*>(FList[AIndex])->Free();
  FList[AIndex] = AObject;
}

void TdxFastObjectList::SetCount(Integer AValue) {
  if (FOwnsObjects && AValue >= 0)
    for (Integer I = AValue; I < FCount; ++I)
      if (FList[I]) static_cast<TObject*>(FList[I])->Free();
  TdxFastList::SetCount(AValue);
}

void TdxFastObjectList::Clear() {
  if (FOwnsObjects)
    for (Integer I = 0; I < FCount; ++I)
      if (FList[I]) static_cast<TObject*>(FList[I])->Free();
  TdxFastList::Clear();
}

// ---------------------------------------------------------------------------
// Doubly linked list

IMPLEMENT_CREATABLE_CLASS(TcxDoublyLinkedObject)
IMPLEMENT_CREATABLE_CLASS(TcxDoublyLinkedObjectList)

TcxDoublyLinkedObjectList::~TcxDoublyLinkedObjectList() { Clear(); }

TClass TcxDoublyLinkedObjectList::GetLinkedObjectClass() const {
  return TcxDoublyLinkedObject::StaticClass();
}

TcxDoublyLinkedObject* TcxDoublyLinkedObjectList::CreateLinkedObject() {
  return As<TcxDoublyLinkedObject>(GetLinkedObjectClass()->Create(nullptr));
}

void TcxDoublyLinkedObjectList::DoAdd(TcxDoublyLinkedObject* ASource) {
  ASource->FPrev = FLast;
  ASource->FNext = nullptr;
  if (!FFirst) FFirst = ASource;
  if (FLast) FLast->FNext = ASource;
  FLast = ASource;
}

TcxDoublyLinkedObject* TcxDoublyLinkedObjectList::Add() {
  TcxDoublyLinkedObject* Obj = CreateLinkedObject();
  DoAdd(Obj);
  return Obj;
}

void TcxDoublyLinkedObjectList::InsertBefore(TcxDoublyLinkedObject* ADestination,
                                             TcxDoublyLinkedObject* ASource) {
  ASource->FNext = ADestination;
  ASource->FPrev = ADestination->FPrev;
  if (ADestination->FPrev) ADestination->FPrev->FNext = ASource;
  ADestination->FPrev = ASource;
  if (FFirst == ADestination) FFirst = ASource;
}

void TcxDoublyLinkedObjectList::InsertAfter(TcxDoublyLinkedObject* ADestination,
                                            TcxDoublyLinkedObject* ASource) {
  ASource->FPrev = ADestination;
  ASource->FNext = ADestination->FNext;
  if (ADestination->FNext) ADestination->FNext->FPrev = ASource;
  ADestination->FNext = ASource;
  if (FLast == ADestination) FLast = ASource;
}

void TcxDoublyLinkedObjectList::Extract(TcxDoublyLinkedObject* ALinkedObject) {
  if (ALinkedObject->FPrev)
    ALinkedObject->FPrev->FNext = ALinkedObject->FNext;
  else
    FFirst = ALinkedObject->FNext;
  if (ALinkedObject->FNext)
    ALinkedObject->FNext->FPrev = ALinkedObject->FPrev;
  else
    FLast = ALinkedObject->FPrev;
}

void TcxDoublyLinkedObjectList::Delete(TcxDoublyLinkedObject* ALinkedObject) {
  Extract(ALinkedObject);
  ALinkedObject->Free();
}

void TcxDoublyLinkedObjectList::Clear() {
  TcxDoublyLinkedObject* Node = FLast;
  while (Node) {
    TcxDoublyLinkedObject* Prev = Node->FPrev;
    Node->Free();
    Node = Prev;
  }
  FFirst = FLast = nullptr;
}

Integer TcxDoublyLinkedObjectList::Count() const {
  Integer N = 0;
  for (TcxDoublyLinkedObject* Node = FLast; Node; Node = Node->FPrev) ++N;
  return N;
}

// ---------------------------------------------------------------------------
// Comparers

Integer GetHashCodeOfString(const String& ASource) {
  uint32_t H1 = 5381, H2 = 5381;
  const wchar_t* P = ASource.c_str();
  while (*P) {
    H1 = (H1 * 33) ^ static_cast<uint32_t>(P[0]);
    if (!P[1]) break;
    H2 = (H2 * 33) ^ static_cast<uint32_t>(P[1]);
    P += 2;
  }
  return static_cast<Integer>(H1 + H2 * 1566083941u);
}

IMPLEMENT_CLASS(TdxCustomStringComparer)
IMPLEMENT_CREATABLE_CLASS(TdxOrdinalStringComparer)
IMPLEMENT_CREATABLE_CLASS(TdxOrdinalIStringComparer)

Integer TdxOrdinalStringComparer::Compare(const String& ALeft, const String& ARight) const {
  size_t N = std::min(ALeft.size(), ARight.size());
  for (size_t I = 0; I < N; ++I) {
    if (ALeft[I] == ARight[I]) continue;
    // The storage is compared byte by byte, low byte of a code unit first.
    Integer L0 = ALeft[I] & 0xFF, R0 = ARight[I] & 0xFF;
    if (L0 != R0) return L0 - R0;
    return static_cast<Integer>((ALeft[I] >> 8) & 0xFF) -
           static_cast<Integer>((ARight[I] >> 8) & 0xFF);
  }
  return static_cast<Integer>(ALeft.size()) - static_cast<Integer>(ARight.size());
}

bool TdxOrdinalStringComparer::Equals(const String& ALeft, const String& ARight) const {
  return ALeft == ARight;
}

Integer TdxOrdinalStringComparer::GetHashCode(const String& AValue) const {
  return GetHashCodeOfString(AValue);
}

Integer TdxOrdinalIStringComparer::Compare(const String& ALeft, const String& ARight) const {
  return inherited::Compare(AnsiLowerCase(ALeft), AnsiLowerCase(ARight));
}

bool TdxOrdinalIStringComparer::Equals(const String& ALeft, const String& ARight) const {
  return ALeft.size() == ARight.size() && AnsiLowerCase(ALeft) == AnsiLowerCase(ARight);
}

Integer TdxOrdinalIStringComparer::GetHashCode(const String& AValue) const {
  return GetHashCodeOfString(AnsiLowerCase(AValue));
}

namespace {
TdxOrdinalStringComparer* FOrdinal = nullptr;
TdxOrdinalIStringComparer* FIOrdinal = nullptr;
bool CoreClassesFinalizing = false;
}  // namespace

TdxOrdinalStringComparer* TdxStringComparer::Ordinal() {
  if (!FOrdinal && !CoreClassesFinalizing) FOrdinal = Create<TdxOrdinalStringComparer>();
  return FOrdinal;
}

TdxOrdinalIStringComparer* TdxIStringComparer::Ordinal() {
  if (!FIOrdinal && !CoreClassesFinalizing) FIOrdinal = Create<TdxOrdinalIStringComparer>();
  return FIOrdinal;
}

// ---------------------------------------------------------------------------

IMPLEMENT_CREATABLE_CLASS(TcxIUnknownObject)

HRESULT STDMETHODCALLTYPE TcxIUnknownObject::QueryInterface(REFIID AIID, void** AObj) {
  if (!AObj) return E_POINTER;
  return GetInterface(AIID, AObj) ? S_OK : E_NOINTERFACE;
}

bool TcxIUnknownObject::GetInterface(const IID& AIID, void** AObj) {
  if (IsEqualIID(AIID, IID_IUnknown)) {
    *AObj = static_cast<IUnknown*>(this);
    return true;
  }
  return inherited::GetInterface(AIID, AObj);
}

// ---------------------------------------------------------------------------
// Persistent bases

IMPLEMENT_CREATABLE_CLASS(TcxInterfacedPersistent)
IMPLEMENT_CREATABLE_CLASS(TcxOwnedPersistent)
IMPLEMENT_CREATABLE_CLASS(TcxFreeNotificator)

void TcxOwnedPersistent::Assign(TPersistent* Source) {
  if (auto* S = AsOrNull<TcxOwnedPersistent>(Source))
    DoAssign(S);
  else
    inherited::Assign(Source);
}

void TcxFreeNotificator::AddSender(TComponent* ASender) {
  if (ASender) ASender->FreeNotification(this);
}

void TcxFreeNotificator::RemoveSender(TComponent* ASender) {
  if (ASender) ASender->RemoveFreeNotification(this);
}

void TcxFreeNotificator::Notification(TComponent* AComponent, TOperation Operation) {
  inherited::Notification(AComponent, Operation);
  if (Operation == opRemove && FOnFreeNotification) FOnFreeNotification(AComponent);
}

namespace {
// Reaches the protected GetOwner of any persistent.
struct TPersistentAccess : TPersistent {
  static TPersistent* OwnerOf(TPersistent* P) { return (P->*(&TPersistentAccess::GetOwner))(); }
};
}  // namespace

TPersistent* GetPersistentOwner(TPersistent* APersistent) {
  return APersistent ? TPersistentAccess::OwnerOf(APersistent) : nullptr;
}

void dxCoreClasses_Initialize() { CoreClassesFinalizing = false; }

void dxCoreClasses_Finalize() {
  CoreClassesFinalizing = true;
  FreeAndNil(FOrdinal);
  FreeAndNil(FIOrdinal);
}
