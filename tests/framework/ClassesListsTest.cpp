#include <gtest/gtest.h>

#include <vector>

#include "Classes.h"

namespace {

Pointer P(NativeInt V) { return reinterpret_cast<Pointer>(V); }
NativeInt V(Pointer Ptr) { return reinterpret_cast<NativeInt>(Ptr); }

std::vector<NativeInt> Contents(const TList& L) {
  std::vector<NativeInt> R;
  for (Integer I = 0; I < L.Count(); ++I) R.push_back(V(L.Get(I)));
  return R;
}

TEST(TList, GrowsByTheFrameworkSteps) {
  TOwned<TList> L(Create<TList>());
  std::vector<Integer> Capacities;
  for (NativeInt I = 1; I <= 100; ++I) {
    EXPECT_EQ(L->Add(P(I)), I - 1);
    if (Capacities.empty() || Capacities.back() != L->Capacity())
      Capacities.push_back(L->Capacity());
  }
  EXPECT_EQ(Capacities, (std::vector<Integer>{4, 8, 12, 28, 44, 60, 76, 95, 118}));
  EXPECT_EQ(L->Count(), 100);
  L->Clear();
  EXPECT_EQ(L->Count(), 0);
  EXPECT_EQ(L->Capacity(), 0);
}

TEST(TList, EditingOperations) {
  TOwned<TList> L(Create<TList>());
  for (NativeInt I : {10, 20, 30, 40}) L->Add(P(I));
  L->Insert(0, P(5));
  L->Insert(5, P(50));
  EXPECT_EQ(Contents(*L), (std::vector<NativeInt>{5, 10, 20, 30, 40, 50}));
  EXPECT_EQ(L->Remove(P(20)), 2);
  EXPECT_EQ(L->Remove(P(99)), -1);
  L->Exchange(0, 4);
  EXPECT_EQ(Contents(*L), (std::vector<NativeInt>{50, 10, 30, 40, 5}));
  L->Move(0, 3);
  EXPECT_EQ(Contents(*L), (std::vector<NativeInt>{10, 30, 40, 50, 5}));
  EXPECT_EQ(V(L->Extract(P(40))), 40);
  EXPECT_EQ(L->Extract(P(40)), nullptr);
  EXPECT_EQ(V(L->First()), 10);
  EXPECT_EQ(V(L->Last()), 5);
  L->Put(1, nullptr);
  L->SetCount(6);
  L->Pack();
  EXPECT_EQ(Contents(*L), (std::vector<NativeInt>{10, 50, 5}));
  TOwned<TList> Copy(Create<TList>());
  Copy->Assign(L.get());
  EXPECT_EQ(Contents(*Copy), Contents(*L));
}

Integer CompareValues(Pointer A, Pointer B) { return V(A) < V(B) ? -1 : (V(A) > V(B) ? 1 : 0); }
Integer CompareInconsistently(Pointer, Pointer) { return -1; }

TEST(TList, SortsAndSurvivesAFaultyCompare) {
  TOwned<TList> L(Create<TList>());
  for (NativeInt I : {7, 3, 9, 1, 3, 8, 2}) L->Add(P(I));
  L->Sort(CompareValues);
  EXPECT_EQ(Contents(*L), (std::vector<NativeInt>{1, 2, 3, 3, 7, 8, 9}));
  for (NativeInt I = 0; I < 200; ++I) L->Add(P(I));
  L->Sort(CompareInconsistently);
  EXPECT_EQ(L->Count(), 207);
}

TEST(TList, IndexErrorsNameTheIndex) {
  TOwned<TList> L(Create<TList>());
  L->Add(P(1));
  struct Case {
    const wchar_t* Message;
    void (*Op)(TList*);
  };
  const Case Cases[] = {
      {L"List index out of bounds (1)", [](TList* X) { X->Get(1); }},
      {L"List index out of bounds (-1)", [](TList* X) { X->Delete(-1); }},
      {L"List index out of bounds (3)", [](TList* X) { X->Insert(3, nullptr); }},
      {L"List index out of bounds (5)", [](TList* X) { X->Exchange(0, 5); }},
      {L"List index out of bounds (2)", [](TList* X) { X->Put(2, nullptr); }},
      {L"List capacity out of bounds (0)", [](TList* X) { X->SetCapacity(0); }},
      {L"List count out of bounds (-3)", [](TList* X) { X->SetCount(-3); }},
  };
  for (const Case& C : Cases) {
    try {
      C.Op(L.get());
      ADD_FAILURE() << "no exception for " << testing::PrintToString(String(C.Message));
    } catch (const EListError& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
  }
  TOwned<TList> Empty(Create<TList>());
  EXPECT_THROW(Empty->First(), EListError);
}

class TTracked : public TObject {
  DECLARE_CLASS_INLINE(TTracked, TObject)
 public:
  explicit TTracked(int* AFreed) : FFreed(AFreed) {}
  void BeforeDestruction() override { ++*FFreed; }

 private:
  int* FFreed;
};

TEST(TObjectList, FreesWhatItOwnsButNotWhatIsExtracted) {
  int Freed = 0;
  TObjectList* L = Create<TObjectList>();
  TTracked* Kept = Create<TTracked>(&Freed);
  for (int I = 0; I < 4; ++I) L->Add(Create<TTracked>(&Freed));
  L->Add(Kept);
  L->Delete(0);
  EXPECT_EQ(Freed, 1);
  L->Put(0, Create<TTracked>(&Freed));
  EXPECT_EQ(Freed, 2);
  EXPECT_EQ(L->Extract(Kept), Kept);
  L->Remove(L->First());
  EXPECT_EQ(Freed, 3);
  L->Free();
  EXPECT_EQ(Freed, 5);
  Kept->Free();

  TOwned<TObjectList> NotOwning(Create<TObjectList>(false));
  TTracked* Item = Create<TTracked>(&Freed);
  NotOwning->Add(Item);
  NotOwning->Clear();
  EXPECT_EQ(Freed, 6);  // only Kept so far
  Item->Free();
}

std::vector<String> Lines(const TStrings& L) {
  std::vector<String> R;
  for (Integer I = 0; I < L.Count(); ++I) R.push_back(L.Get(I));
  return R;
}

TEST(TStringList, SortedListKeepsOrderAndAppliesDuplicates) {
  struct Case {
    TDuplicates Dup;
    std::vector<String> Expected;
  };
  const Case Cases[] = {
      {dupIgnore, {L"apple", L"Beta", L"gamma"}},
      // An accepted duplicate goes in front of its equals.
      {dupAccept, {L"apple", L"BETA", L"Beta", L"gamma"}},
  };
  for (const Case& C : Cases) {
    TOwned<TStringList> L(Create<TStringList>());
    L->SetSorted(true);
    L->SetDuplicates(C.Dup);
    for (const wchar_t* S : {L"gamma", L"Beta", L"apple", L"BETA"}) L->Add(S);
    EXPECT_EQ(Lines(*L), C.Expected);
  }
  TOwned<TStringList> L(Create<TStringList>());
  L->SetDuplicates(dupError);
  L->SetSorted(true);
  L->Add(L"one");
  try {
    L->Add(L"ONE");
    ADD_FAILURE();
  } catch (const EStringListError& E) {
    EXPECT_EQ(E.Message(), L"String list does not allow duplicates");
  }
  EXPECT_THROW(L->Insert(0, L"zero"), EStringListError);
  EXPECT_THROW(L->Put(0, L"zero"), EStringListError);
  // Case-sensitive comparison does not see "ONE" as a duplicate.
  L->SetCaseSensitive(true);
  L->Add(L"ONE");
  EXPECT_EQ(L->Count(), 2);
}

TEST(TStringList, FindReportsPositionAndFirstOfEqualStrings) {
  TOwned<TStringList> L(Create<TStringList>());
  L->SetDuplicates(dupAccept);
  L->SetSorted(true);
  for (const wchar_t* S : {L"b", L"d", L"d", L"d", L"f"}) L->Add(S);
  struct Case {
    const wchar_t* S;
    bool Found;
    Integer Index;
  };
  const Case Cases[] = {{L"a", false, 0}, {L"b", true, 0},  {L"c", false, 1},
                        {L"D", true, 1},  {L"e", false, 4}, {L"z", false, 5}};
  for (const Case& C : Cases) {
    Integer Index = -1;
    EXPECT_EQ(L->Find(C.S, Index), C.Found) << testing::PrintToString(String(C.S));
    EXPECT_EQ(Index, C.Index) << testing::PrintToString(String(C.S));
  }
  EXPECT_EQ(L->IndexOf(L"F"), 4);
  EXPECT_EQ(L->IndexOf(L"x"), -1);
}

TEST(TStringList, SortsByTheLocaleComparison) {
  TOwned<TStringList> L(Create<TStringList>());
  L->SetText(
      L"\u0431\u0435\u043b\u044b\u0439\r\n\u0410\u0431\u0440\u0438\u043a\u043e\u0441\r\nzebra\r\nAp"
      L"ple\r\n");
  L->Sort();
  // Latin before Cyrillic, and case is ignored by default.
  EXPECT_EQ(Lines(*L),
            (std::vector<String>{L"Apple", L"zebra", L"\u0410\u0431\u0440\u0438\u043a\u043e\u0441",
                                 L"\u0431\u0435\u043b\u044b\u0439"}));
  EXPECT_EQ(L->IndexOf(L"APPLE"), 0);
  L->SetCaseSensitive(true);
  EXPECT_EQ(L->IndexOf(L"APPLE"), -1);
}

Integer ByLength(TStringList* List, Integer I1, Integer I2) {
  return static_cast<Integer>(List->Get(I1).size()) - static_cast<Integer>(List->Get(I2).size());
}

TEST(TStringList, CustomSortKeepsObjectsWithTheirStrings) {
  TOwned<TStringList> L(Create<TStringList>());
  std::vector<TOwned<TStringList>> Tags;
  for (const wchar_t* S : {L"ccc", L"a", L"bb", L"dddd"}) {
    Tags.emplace_back(Create<TStringList>());
    L->AddObject(S, Tags.back().get());
  }
  L->CustomSort(ByLength);
  EXPECT_EQ(Lines(*L), (std::vector<String>{L"a", L"bb", L"ccc", L"dddd"}));
  EXPECT_EQ(L->Objects(0), Tags[1].get());
  EXPECT_EQ(L->Objects(3), Tags[3].get());
  EXPECT_EQ(L->IndexOfObject(Tags[0].get()), 2);
}

TEST(TStringList, TextSplitsOnAnyLineBreakAndJoinsWithCrlf) {
  struct Case {
    const wchar_t* Text;
    std::vector<String> Lines;
    const wchar_t* Joined;
  };
  const Case Cases[] = {
      {L"", {}, L""},
      {L"a", {L"a"}, L"a\r\n"},
      {L"a\r\n", {L"a"}, L"a\r\n"},
      {L"a\nb\rc\r\nd", {L"a", L"b", L"c", L"d"}, L"a\r\nb\r\nc\r\nd\r\n"},
      {L"a\r\n\r\nb\n\n", {L"a", L"", L"b", L""}, L"a\r\n\r\nb\r\n\r\n"},
      {L"\n\r", {L"", L""}, L"\r\n\r\n"},
  };
  for (const Case& C : Cases) {
    TOwned<TStringList> L(Create<TStringList>());
    L->SetText(C.Text);
    EXPECT_EQ(Lines(*L), C.Lines) << testing::PrintToString(String(C.Text));
    EXPECT_EQ(L->Text(), C.Joined);
    // The joined text reads back into the same lines.
    TOwned<TStringList> Again(Create<TStringList>());
    Again->SetText(L->Text());
    EXPECT_EQ(Lines(*Again), C.Lines);
  }
}

TEST(TStringList, CommaTextParsing) {
  struct Case {
    const wchar_t* Text;
    std::vector<String> Items;
  };
  const Case Cases[] = {
      {L"", {}},
      {L"a,b,c", {L"a", L"b", L"c"}},
      {L"  a , b ,c  ", {L"a", L"b", L"c"}},
      {L"a b,c", {L"a", L"b", L"c"}},  // a blank separates too
      {L"\"a b\",\"c,d\"", {L"a b", L"c,d"}},
      {L"\"say \"\"hi\"\"\",x", {L"say \"hi\"", L"x"}},
      {L"a,,b", {L"a", L"", L"b"}},
      {L"a,", {L"a", L""}},
      {L"\"\"", {L""}},
      {L"\"unclosed, rest", {L"unclosed, rest"}},
      {L"\"a\"b,c", {L"a", L"b", L"c"}},
  };
  for (const Case& C : Cases) {
    TOwned<TStringList> L(Create<TStringList>());
    L->SetCommaText(C.Text);
    EXPECT_EQ(Lines(*L), C.Items) << testing::PrintToString(String(C.Text));
  }
}

TEST(TStringList, CommaTextQuotesWhatNeedsIt) {
  TOwned<TStringList> L(Create<TStringList>());
  for (const wchar_t* S : {L"plain", L"two words", L"a,b", L"q\"q", L""}) L->Add(S);
  EXPECT_EQ(L->GetCommaText(), L"plain,\"two words\",\"a,b\",\"q\"\"q\",");
  TOwned<TStringList> Back(Create<TStringList>());
  Back->SetCommaText(L->GetCommaText());
  EXPECT_EQ(Lines(*Back), Lines(*L));
  TOwned<TStringList> One(Create<TStringList>());
  One->Add(L"");
  EXPECT_EQ(One->GetCommaText(), L"\"\"");
}

TEST(TStringList, DelimitedTextWithStrictDelimiter) {
  TOwned<TStringList> L(Create<TStringList>());
  L->SetDelimiter(L';');
  L->SetQuoteChar(L'\'');
  L->SetStrictDelimiter(true);
  L->SetDelimitedText(L" a b ;'c;d'; e");
  EXPECT_EQ(Lines(*L), (std::vector<String>{L" a b ", L"c;d", L" e"}));
  EXPECT_EQ(L->GetDelimitedText(), L" a b ;'c;d'; e");
  L->SetStrictDelimiter(false);
  EXPECT_EQ(L->GetDelimitedText(), L"' a b ';'c;d';' e'");
}

TEST(TStringList, NamesAndValues) {
  TOwned<TStringList> L(Create<TStringList>());
  L->SetText(L"Host=example\r\nPort=80\r\nflag\r\nPath=a=b\r\n");
  EXPECT_EQ(L->Values(L"port"), L"80");
  EXPECT_EQ(L->Values(L"Path"), L"a=b");
  EXPECT_EQ(L->Values(L"flag"), L"");
  EXPECT_EQ(L->Names(2), L"");
  EXPECT_EQ(L->ValueFromIndex(2), L"");
  EXPECT_EQ(L->Names(3), L"Path");
  EXPECT_EQ(L->IndexOfName(L"HOST"), 0);
  L->SetValue(L"Port", L"8080");
  L->SetValue(L"User", L"me");
  L->SetValue(L"Host", L"");
  EXPECT_EQ(L->Text(), L"Port=8080\r\nflag\r\nPath=a=b\r\nUser=me\r\n");
  L->SetNameValueSeparator(L':');
  L->SetText(L"a:1\r\nb:2");
  EXPECT_EQ(L->Values(L"b"), L"2");
  L->SetValueFromIndex(0, L"x");
  EXPECT_EQ(L->Get(0), L"a:x");
}

class TChangeLog : public TObject {
  DECLARE_CLASS_INLINE(TChangeLog, TObject)
 public:
  void Changing(TObject*) { Log += L"<"; }
  void Change(TObject*) { Log += L">"; }
  String Log;
};

TEST(TStringList, ChangeEventsAreBatchedByBeginUpdate) {
  TOwned<TChangeLog> Log(Create<TChangeLog>());
  TOwned<TStringList> L(Create<TStringList>());
  L->OnChanging = MakeEvent<&TChangeLog::Changing>(Log.get());
  L->OnChange = MakeEvent<&TChangeLog::Change>(Log.get());
  L->Add(L"a");
  L->Add(L"b");
  EXPECT_EQ(Log->Log, L"<><>");
  Log->Log.clear();
  L->BeginUpdate();
  L->Add(L"c");
  L->Delete(0);
  L->BeginUpdate();
  L->Exchange(0, 1);
  L->EndUpdate();
  EXPECT_EQ(Log->Log, L"<");
  L->EndUpdate();
  EXPECT_EQ(Log->Log, L"<>");
  Log->Log.clear();
  L->SetText(L"x\r\ny\r\nz");
  EXPECT_EQ(Log->Log, L"<>");
}

TEST(TStringList, OwnsObjectsFreesOnDeleteClearAndDestruction) {
  int Freed = 0;
  TStringList* L = Create<TStringList>(true);
  for (const wchar_t* S : {L"a", L"b", L"c", L"d"}) L->AddObject(S, Create<TTracked>(&Freed));
  L->Delete(0);
  EXPECT_EQ(Freed, 1);
  // Moving keeps the object alive.
  L->Move(0, 2);
  EXPECT_EQ(Freed, 1);
  EXPECT_EQ(L->Get(2), L"b");
  // A bad target is refused before anything is taken out.
  EXPECT_THROW(L->Move(0, 3), EStringListError);
  EXPECT_EQ(L->Count(), 3);
  EXPECT_EQ(Freed, 1);
  L->Free();
  EXPECT_EQ(Freed, 4);
  TOwned<TStringList> L2(Create<TStringList>(true));
  L2->AddObject(L"x", Create<TTracked>(&Freed));
  L2->Clear();
  EXPECT_EQ(Freed, 5);
}

TEST(TStringList, AssignAddStringsExchangeAndErrors) {
  TOwned<TStringList> Src(Create<TStringList>());
  Src->SetDuplicates(dupAccept);
  Src->SetSorted(true);
  Src->SetCaseSensitive(true);
  Src->SetCommaText(L"b,a,c");
  TOwned<TStringList> Dst(Create<TStringList>());
  Dst->Add(L"old");
  Dst->Assign(Src.get());
  EXPECT_EQ(Lines(*Dst), (std::vector<String>{L"a", L"b", L"c"}));
  EXPECT_TRUE(Dst->Sorted());
  EXPECT_TRUE(Dst->CaseSensitive());
  EXPECT_EQ(Dst->Duplicates(), dupAccept);
  EXPECT_TRUE(Dst->Equals(Src.get()));
  TOwned<TStringList> Plain(Create<TStringList>());
  Plain->Add(L"z");
  Plain->AddStrings(Src.get());
  Plain->Exchange(0, 3);
  EXPECT_EQ(Plain->GetCommaText(), L"c,a,b,z");
  Plain->AddStrings(Plain.get());
  EXPECT_EQ(Plain->GetCommaText(), L"c,a,b,z,c,a,b,z");
  Plain->SetCommaText(L"c,a,b,z");
  try {
    Plain->Get(4);
    ADD_FAILURE();
  } catch (const EStringListError& E) {
    EXPECT_EQ(E.Message(), L"List index out of bounds (4)");
  }
  EXPECT_THROW(Plain->Delete(-1), EListError);
  EXPECT_THROW(Plain->Exchange(0, 9), EListError);
  EXPECT_THROW(Plain->Insert(6, L""), EListError);
}

}  // namespace
