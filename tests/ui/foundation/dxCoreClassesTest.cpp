#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "dxCoreClasses.h"

namespace {

Pointer P(NativeInt V) { return reinterpret_cast<Pointer>(V); }

std::vector<NativeInt> Values(const TdxFastList& L) {
  std::vector<NativeInt> R;
  for (Integer I = 0; I < L.Count(); ++I) R.push_back(reinterpret_cast<NativeInt>(L[I]));
  return R;
}

void Fill(TdxFastList& L, std::initializer_list<NativeInt> V) {
  L.Clear();
  for (NativeInt X : V) L.Add(P(X));
}

TEST(FastList, Growth) {
  struct {
    Integer Adds, Capacity;
  } Cases[] = {{1, 16}, {16, 16}, {17, 32}, {33, 64}, {65, 96}, {97, 128}, {129, 160}, {161, 240}};
  for (const auto& C : Cases) {
    TdxFastList L(0);
    for (Integer I = 0; I < C.Adds; ++I) L.Add(nullptr);
    EXPECT_EQ(L.Capacity(), C.Capacity) << C.Adds;
  }
}

TEST(FastList, EditingOperations) {
  TdxFastList L;
  Fill(L, {1, 2, 3, 4});
  L.Insert(0, P(0));
  L.Insert(5, P(5));
  EXPECT_EQ(Values(L), (std::vector<NativeInt>{0, 1, 2, 3, 4, 5}));
  L.Move(0, 5);
  EXPECT_EQ(Values(L), (std::vector<NativeInt>{1, 2, 3, 4, 5, 0}));
  L.Exchange(0, 5);
  L.DeleteRange(1, 2);
  EXPECT_EQ(Values(L), (std::vector<NativeInt>{0, 4, 5, 1}));
  EXPECT_EQ(L.Remove(P(5)), 2);
  EXPECT_EQ(L.Remove(P(5)), -1);
  Fill(L, {7, 8, 7});
  EXPECT_EQ(L.IndexOf(P(7), ldFromEnd), 2);
  EXPECT_EQ(L.Extract(P(7), ldFromEnd), P(7));
  EXPECT_EQ(Values(L), (std::vector<NativeInt>{7, 8}));
  EXPECT_EQ(L.Extract(P(9)), nullptr);
  TdxFastList Other;
  Fill(Other, {1, 2});
  L.Insert(1, &Other);
  EXPECT_EQ(Values(L), (std::vector<NativeInt>{7, 1, 2, 8}));
  L.Reverse();
  EXPECT_EQ(Values(L), (std::vector<NativeInt>{8, 2, 1, 7}));
  L.SetCount(6);
  EXPECT_EQ(L[5], nullptr);
  Fill(L, {0, 1, 0, 0, 2, 0});
  L.Pack(nullptr);
  EXPECT_EQ(Values(L), (std::vector<NativeInt>{1, 2}));
  EXPECT_TRUE(TdxFastList::Empty(nullptr));

  TOwned<TList> Platform(L.GetTList());
  EXPECT_EQ(Platform->Count(), 2);
  EXPECT_EQ(Platform->Items(1), P(2));
  Platform->Add(P(9));
  TdxFastList FromPlatform;
  FromPlatform.Assign(Platform.get());
  EXPECT_EQ(Values(FromPlatform), (std::vector<NativeInt>{1, 2, 9}));
}

TEST(FastList, ErrorsLeaveListUnchanged) {
  TdxFastList L;
  try {
    L.Last();
    FAIL();
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), L"List index out of bounds (-1)");
  }
  Fill(L, {1, 2, 3});
  EXPECT_THROW(L.Insert(4, P(0)), EListError);
  EXPECT_THROW(L.Delete(3), EListError);
  EXPECT_THROW(L.DeleteRange(2, 2), EArgumentOutOfRangeException);
  EXPECT_THROW(L.DeleteRange(-1, 1), EArgumentOutOfRangeException);
  EXPECT_THROW(L.DeleteRange(1, INT32_MAX), EArgumentOutOfRangeException);
  try {
    L.Exchange(0, 7);
    FAIL();
  } catch (const EListError& E) {
    EXPECT_EQ(E.Message(), L"List index out of bounds (7)");
  }
  EXPECT_THROW(L.SetCapacity(2), EListError);
  EXPECT_THROW(L.SetCount(-1), EListError);
  EXPECT_EQ(Values(L), (std::vector<NativeInt>{1, 2, 3}));
}

TEST(FastList, SetStyleAssignment) {
  struct {
    TdxListAssignOp Op;
    std::initializer_list<NativeInt> Dest, Source;
    std::vector<NativeInt> Expected;
  } Cases[] = {
      {TdxListAssignOp::laCopy, {1, 2}, {3, 4, 5}, {3, 4, 5}},
      {TdxListAssignOp::laAnd, {1, 2, 3, 4}, {4, 2, 9}, {2, 4}},
      {TdxListAssignOp::laOr, {1, 2}, {2, 3, 3}, {1, 2, 3}},
      {TdxListAssignOp::laXor, {1, 2, 3, 4, 5}, {3, 4, 6}, {1, 2, 5, 6}},
      {TdxListAssignOp::laSrcUnique, {1, 2, 3}, {3, 4, 5}, {1, 2}},
      {TdxListAssignOp::laDestUnique, {1, 2, 3}, {3, 4, 5}, {5, 4}},
  };
  for (const auto& C : Cases) {
    TdxFastList Dest, Source;
    Fill(Dest, C.Dest);
    Fill(Source, C.Source);
    Dest.Assign(&Source, C.Op);
    EXPECT_EQ(Values(Dest), C.Expected) << static_cast<int>(C.Op);
  }
}

Integer CompareValues(Pointer A, Pointer B) {
  NativeInt X = reinterpret_cast<NativeInt>(A), Y = reinterpret_cast<NativeInt>(B);
  return X < Y ? -1 : (X > Y ? 1 : 0);
}

TEST(FastList, SortAroundTheInsertionThreshold) {
  std::mt19937 Rng(7);
  for (Integer N : {0, 1, 2, 35, 36, 37, 100, 1000}) {
    for (int Pattern = 0; Pattern < 4; ++Pattern) {
      TdxFastList L;
      for (Integer I = 0; I < N; ++I) {
        NativeInt V = Pattern == 0 ? Rng() % 50 : Pattern == 1 ? I : Pattern == 2 ? N - I : 5;
        L.Add(P(V));
      }
      std::vector<NativeInt> Expected = Values(L);
      std::sort(Expected.begin(), Expected.end());
      L.Sort(&CompareValues);
      EXPECT_EQ(Values(L), Expected) << N << " pattern " << Pattern;
    }
  }
}

class TDescending : public TObject {
 public:
  Integer Compare(Pointer A, Pointer B) { return CompareValues(B, A); }
};

TEST(FastList, SortWithMethod) {
  TdxFastList L;
  Fill(L, {3, 1, 2});
  TDescending D;
  L.Sort(MakeEvent<&TDescending::Compare>(&D));
  EXPECT_EQ(Values(L), (std::vector<NativeInt>{3, 2, 1}));
}

// Items of the sort tests are the values from 100 on; the slots around the
// list hold guards, and a comparer handed a guard raises at once.
constexpr NativeInt LowGuard = 1, HighGuard = 1000000, GuardSlots = 8;

DECLARE_EXCEPTION(EReadOutside, Exception)
DECLARE_EXCEPTION(EComparerRaised, Exception)

NativeInt Inside(Pointer A) {
  NativeInt V = reinterpret_cast<NativeInt>(A);
  if (V < 100 || V >= HighGuard) throw EReadOutside(L"the sort read outside the list");
  return V;
}

Integer StrictOrder(Pointer A, Pointer B) {
  NativeInt X = Inside(A), Y = Inside(B);
  return X < Y ? -1 : (X > Y ? 1 : 0);
}
Integer NeverEqual(Pointer A, Pointer B) { return Inside(A) < Inside(B) ? -1 : 1; }
// Calls equal items smaller than each other, so no item stops a scan.
Integer EqualIsSmaller(Pointer A, Pointer B) { return Inside(A) <= Inside(B) ? -1 : 1; }
std::minstd_rand RandomAnswers;
Integer AtRandom(Pointer A, Pointer B) {
  Inside(A);
  Inside(B);
  return static_cast<Integer>(RandomAnswers() % 3) - 1;
}
int ComparesLeft = -1;  // the compare that raises; -1 never
Integer RaisingAt(Pointer A, Pointer B) {
  if (--ComparesLeft == 0) throw EComparerRaised(L"comparer failed");
  return StrictOrder(A, B);
}

// A list of N items between guard slots.
class TGuardedList {
 public:
  TGuardedList(Integer N, int APattern) {
    std::mt19937 Rng(static_cast<unsigned>(N * 4 + APattern));
    FSlots.assign(static_cast<size_t>(GuardSlots), P(LowGuard));
    for (Integer I = 0; I < N; ++I) {
      NativeInt V = APattern == 0   ? 100                                      // all equal
                    : APattern == 1 ? 100 + static_cast<NativeInt>(Rng() % 4)  // few values
                    : APattern == 2 ? 100 + static_cast<NativeInt>(Rng() % 1000)
                                    : 100 + N - I;  // descending
      FSlots.push_back(P(V));
    }
    FSlots.insert(FSlots.end(), static_cast<size_t>(GuardSlots), P(HighGuard));
    FOriginal = Items();
    std::sort(FOriginal.begin(), FOriginal.end());
  }
  Pointer* List() { return FSlots.data() + GuardSlots; }
  Integer Count() const { return static_cast<Integer>(FSlots.size()) - 2 * GuardSlots; }
  std::vector<Pointer> Items() const {
    return std::vector<Pointer>(FSlots.begin() + GuardSlots, FSlots.end() - GuardSlots);
  }
  // Every item still there exactly once, the guards untouched.
  bool Whole() const {
    std::vector<Pointer> Now = Items();
    std::sort(Now.begin(), Now.end());
    for (NativeInt I = 0; I < GuardSlots; ++I)
      if (FSlots[static_cast<size_t>(I)] != P(LowGuard) ||
          FSlots[FSlots.size() - 1 - static_cast<size_t>(I)] != P(HighGuard))
        return false;
    return Now == FOriginal;
  }

 private:
  std::vector<Pointer> FSlots;
  std::vector<Pointer> FOriginal;
};

TEST(FastList, SortStaysInsideTheListWhateverTheComparerAnswers) {
  struct {
    const char* Name;
    TCompareItems Compare;
    bool Orders;  // a strict order sorts; the others only have to keep the items
  } Comparers[] = {
      {"strict order", &StrictOrder, true},
      {"never equal", &NeverEqual, true},
      {"equal is smaller", &EqualIsSmaller, false},
      {"at random", &AtRandom, false},
  };
  for (const auto& C : Comparers) {
    for (Integer N : {2, 35, 36, 37, 100, 1000}) {
      for (int Pattern = 0; Pattern < 4; ++Pattern) {
        TGuardedList L(N, Pattern);
        EXPECT_NO_THROW(dxQuickSortList(L.List(), L.Count(), C.Compare))
            << C.Name << ", " << N << " items, pattern " << Pattern;
        EXPECT_TRUE(L.Whole()) << C.Name << ", " << N << " items, pattern " << Pattern;
        if (C.Orders) {
          std::vector<Pointer> Items = L.Items();
          EXPECT_TRUE(std::is_sorted(Items.begin(), Items.end()))
              << C.Name << ", " << N << " items, pattern " << Pattern;
        }
      }
    }
  }
}

TEST(FastList, ComparerThatRaisesLeavesEveryItemInTheList) {
  for (Integer N : {20, 36, 100, 1000}) {
    TGuardedList Probe(N, 1);
    ComparesLeft = -1;
    dxQuickSortList(Probe.List(), Probe.Count(), &RaisingAt);
    const int Total = -1 - ComparesLeft;
    // Every compare of the small lists, a spread of them for the large one,
    // so that raises land in the partitioning and in the insertion walk.
    const int Step = N >= 1000 ? 37 : 1;
    for (int FailAt = 1; FailAt <= Total; FailAt += Step) {
      TGuardedList L(N, 1);
      ComparesLeft = FailAt;
      EXPECT_THROW(dxQuickSortList(L.List(), L.Count(), &RaisingAt), EComparerRaised)
          << N << " items, raise at compare " << FailAt;
      ASSERT_TRUE(L.Whole()) << N << " items, raise at compare " << FailAt;
    }
  }
  // The list's own sort is the same sort.
  TdxFastList L;
  for (NativeInt V : {105, 101, 104, 101, 103, 102, 100}) L.Add(P(V));
  ComparesLeft = 9;
  EXPECT_THROW(L.Sort(&RaisingAt), EComparerRaised);
  std::vector<NativeInt> Kept = Values(L);
  std::sort(Kept.begin(), Kept.end());
  EXPECT_EQ(Kept, (std::vector<NativeInt>{100, 101, 101, 102, 103, 104, 105}));
  ComparesLeft = -1;
}

class TCounted : public TObject {
  DECLARE_CLASS_INLINE(TCounted, TObject)
 public:
  explicit TCounted(int* ACounter) : FCounter(ACounter) {}
  ~TCounted() override { ++*FCounter; }

 private:
  int* FCounter;
};

TEST(FastObjectList, OwnershipRules) {
  int Freed = 0;
  {
    TdxFastObjectList L(true);
    TCounted* A = new TCounted(&Freed);
    TCounted* B = new TCounted(&Freed);
    TCounted* C = new TCounted(&Freed);
    L.Add(A);
    L.Add(B);
    L.Add(C);
    L.SetItem(0, A);  // already there: nothing freed
    EXPECT_EQ(Freed, 0);
    L.SetCount(1);
    EXPECT_EQ(Freed, 2);
    EXPECT_EQ(L.Extract(A), A);
    EXPECT_EQ(Freed, 2);
    L.Add(A);
    L.Add(new TCounted(&Freed));
    L.SetItem(1, new TCounted(&Freed));
    EXPECT_EQ(Freed, 3);
    EXPECT_EQ(L.Remove(A), 0);
    EXPECT_EQ(Freed, 4);
  }
  EXPECT_EQ(Freed, 5);  // the destructor frees what is left
  TdxFastObjectList NotOwning(false);
  TCounted X(&Freed);
  NotOwning.Add(&X);
  NotOwning.Clear();
  EXPECT_EQ(Freed, 5);
}

class TNode : public TcxDoublyLinkedObject {
  DECLARE_CLASS(TNode, TcxDoublyLinkedObject)
};
IMPLEMENT_CREATABLE_CLASS(TNode)

class TNodeList : public TcxDoublyLinkedObjectList {
 public:
  TClass GetLinkedObjectClass() const override { return TNode::StaticClass(); }
};

TEST(DoublyLinkedList, LinksAndOwnership) {
  TNodeList L;
  EXPECT_EQ(L.Count(), 0);
  TcxDoublyLinkedObject* A = L.Add();
  EXPECT_TRUE(A->Is<TNode>());
  L.Extract(A);
  EXPECT_EQ(L.First(), nullptr);
  EXPECT_EQ(L.Last(), nullptr);
  L.DoAdd(A);
  TcxDoublyLinkedObject* C = L.Add();
  TcxDoublyLinkedObject* B = Create<TNode>();
  L.InsertAfter(A, B);
  TcxDoublyLinkedObject* Z = Create<TNode>();
  L.InsertBefore(A, Z);
  EXPECT_EQ(L.First(), Z);
  EXPECT_EQ(L.Last(), C);
  EXPECT_EQ(L.Count(), 4);
  std::vector<TcxDoublyLinkedObject*> Order;
  for (auto* N = L.First(); N; N = N->Next()) Order.push_back(N);
  EXPECT_EQ(Order, (std::vector<TcxDoublyLinkedObject*>{Z, A, B, C}));
  L.Delete(C);
  EXPECT_EQ(L.Last(), B);
  EXPECT_EQ(B->Next(), nullptr);
  L.Remove(Z);
  EXPECT_EQ(L.First(), A);
  EXPECT_EQ(L.Count(), 2);
}

TEST(StringComparers, OrdinalOrderAndCaseInsensitivity) {
  TdxOrdinalStringComparer* C = TdxStringComparer::Ordinal();
  TdxOrdinalIStringComparer* I = TdxIStringComparer::Ordinal();
  ASSERT_TRUE(C && I);
  EXPECT_EQ(TdxStringComparer::Ordinal(), C);  // one shared instance
  struct {
    const wchar_t *L, *R;
    int Sign;
  } Cases[] = {
      {L"a", L"b", -1},
      {L"ab", L"abc", -1},
      {L"abc", L"abc", 0},
      {L"b", L"a", 1},
      {L"B", L"a", -1},
      // Storage bytes, low byte first: U+0101 (01 01) comes before U+0200 (00 02)? No: 01 > 00.
      {L"\x0101", L"\x0200", 1},
      {L"\x0100", L"\x0200", -1},
  };
  for (const auto& T : Cases) {
    Integer R = C->Compare(T.L, T.R);
    EXPECT_EQ((R > 0) - (R < 0), T.Sign) << T.L << " " << T.R;
  }
  EXPECT_EQ(C->Compare(L"x", L"xyz"), -2);
  EXPECT_FALSE(C->Equals(L"ABC", L"abc"));
  EXPECT_TRUE(I->Equals(L"ABC", L"abc"));
  EXPECT_TRUE(I->Equals(L"\x00C4", L"\x00E4"));  // Ä and ä
  EXPECT_EQ(I->Compare(L"ABC", L"abc"), 0);
  EXPECT_EQ(I->GetHashCode(L"ABC"), I->GetHashCode(L"abc"));
  EXPECT_NE(C->GetHashCode(L"ABC"), C->GetHashCode(L"abc"));
}

TEST(StringComparers, HashFollowsTheTwoRegisterScheme) {
  uint32_t H1 = 5381, H2 = 5381;
  H1 = (H1 * 33) ^ L'a';
  H2 = (H2 * 33) ^ L'b';
  H1 = (H1 * 33) ^ L'c';
  EXPECT_EQ(GetHashCodeOfString(L"abc"), static_cast<Integer>(H1 + H2 * 1566083941u));
  EXPECT_EQ(GetHashCodeOfString(L""), static_cast<Integer>(5381u + 5381u * 1566083941u));
}

class THandlers : public TObject {
 public:
  std::vector<String>* Log = nullptr;
  String Name;
  TdxMulticastMethod<void(TObject*, Integer&)>* Event = nullptr;
  THandlers* RemoveOnCall = nullptr;
  void Handle(TObject*, Integer& AValue) {
    Log->push_back(Name + L":" + std::to_wstring(AValue));
    ++AValue;  // later handlers see the change
    if (RemoveOnCall) Event->Remove(MakeEvent<&THandlers::Handle>(RemoveOnCall));
  }
};

TEST(MulticastEvent, AddRemoveInvoke) {
  std::vector<String> Log;
  TdxMulticastMethod<void(TObject*, Integer&)> E;
  EXPECT_TRUE(E.GetEmpty());
  E.Remove(nullptr);  // no implementator yet: nothing happens
  THandlers A, B, C;
  for (auto* H : {&A, &B, &C}) H->Log = &Log, H->Event = &E;
  A.Name = L"A", B.Name = L"B", C.Name = L"C";
  E.Add(MakeEvent<&THandlers::Handle>(&A));
  E.Add(MakeEvent<&THandlers::Handle>(&B));
  E.Add(MakeEvent<&THandlers::Handle>(&B));
  E.Add(MakeEvent<&THandlers::Handle>(&C));
  E.Remove(MakeEvent<&THandlers::Handle>(&B));
  EXPECT_EQ(E.GetCount(), 3);
  Integer V = 0;
  E.GetInvoke()(nullptr, V);
  EXPECT_EQ(Log, (std::vector<String>{L"A:0", L"B:1", L"C:2"}));
  EXPECT_EQ(V, 3);

  TdxMulticastMethod<void(TObject*, Integer&)> Clone;
  E.Clone(Clone);
  Clone.Clear();
  EXPECT_TRUE(E.GetEmpty());  // the clone shares the handlers
  Clone.Add(MakeEvent<&THandlers::Handle>(&A));
  Log.clear();
  E.Invoke()(nullptr, V);
  EXPECT_EQ(Log, (std::vector<String>{L"A:3"}));
}

TEST(MulticastEvent, RemovalDuringInvoke) {
  std::vector<String> Log;
  TdxMulticastMethod<void(TObject*, Integer&)> E;
  THandlers A, B, C;
  for (auto* H : {&A, &B, &C}) H->Log = &Log, H->Event = &E;
  A.Name = L"A", B.Name = L"B", C.Name = L"C";
  A.RemoveOnCall = &A;  // removes itself
  B.RemoveOnCall = &C;  // removes one not called yet
  E.Add(MakeEvent<&THandlers::Handle>(&A));
  E.Add(MakeEvent<&THandlers::Handle>(&B));
  E.Add(MakeEvent<&THandlers::Handle>(&C));
  Integer V = 0;
  auto Invoke = E.GetInvoke();
  Invoke(nullptr, V);
  EXPECT_EQ(Log, (std::vector<String>{L"A:0", L"B:1"}));
  EXPECT_EQ(E.GetCount(), 1);
  Log.clear();
  B.RemoveOnCall = nullptr;
  Invoke(nullptr, V);
  EXPECT_EQ(Log, (std::vector<String>{L"B:2"}));
}

struct TOwnerOfEvent {
  TdxMulticastMethod<void(TObject*, Integer&)>* Event = nullptr;
  int Calls = 0;
  void DropEvent(TObject*, Integer&) {
    ++Calls;
    delete Event;  // the event's last record goes away during its own raise
    Event = nullptr;
  }
  void Count(TObject*, Integer&) { ++Calls; }
};

TEST(MulticastEvent, LastRecordDroppedDuringInvoke) {
  TOwnerOfEvent O;
  O.Event = new TdxMulticastMethod<void(TObject*, Integer&)>;
  O.Event->Add(MakeEvent<&TOwnerOfEvent::DropEvent>(&O));
  O.Event->Add(MakeEvent<&TOwnerOfEvent::Count>(&O));
  auto Invoke = O.Event->GetInvoke();
  Integer V = 0;
  Invoke(nullptr, V);
  EXPECT_EQ(O.Calls, 2);
  EXPECT_EQ(O.Event, nullptr);
}

TEST(IUnknownObject, ReferenceCountingIsNotItsBusiness) {
  TOwned<TcxIUnknownObject> O = MakeOwned<TcxIUnknownObject>();
  EXPECT_EQ(O->AddRef(), static_cast<ULONG>(-1));
  for (int I = 0; I < 3; ++I) EXPECT_EQ(O->Release(), static_cast<ULONG>(-1));
  IUnknown* U = nullptr;
  EXPECT_EQ(O->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&U)), S_OK);
  EXPECT_EQ(U, static_cast<IUnknown*>(O.get()));
  void* X = nullptr;
  EXPECT_EQ(O->QueryInterface(IID_IDispatch, &X), E_NOINTERFACE);
}

}  // namespace
