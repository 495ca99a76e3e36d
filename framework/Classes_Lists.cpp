#include <algorithm>

#include "Classes.h"
#include "WinHandles.h"

using namespace ClassesConsts;

namespace {
// A bottom-up merge sort over positions: it never relies on the comparison
// being consistent, so a faulty compare function gives a strange order but
// never a read outside the list.
template <class T, class Less>
void MergeSort(std::vector<T>& Items, Less IsLess) {
  size_t N = Items.size();
  std::vector<T> Tmp(N);
  for (size_t Width = 1; Width < N; Width *= 2) {
    for (size_t Lo = 0; Lo < N; Lo += 2 * Width) {
      size_t Mid = std::min(Lo + Width, N), Hi = std::min(Lo + 2 * Width, N);
      size_t I = Lo, J = Mid, K = Lo;
      while (I < Mid && J < Hi) Tmp[K++] = IsLess(Items[J], Items[I]) ? Items[J++] : Items[I++];
      while (I < Mid) Tmp[K++] = Items[I++];
      while (J < Hi) Tmp[K++] = Items[J++];
    }
    Items.swap(Tmp);
  }
}
}  // namespace

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TList)

TList::~TList() { Clear(); }

void TList::Error(const wchar_t* Msg, NativeInt Data) { throw EListError(Format(Msg, {Data})); }

void TList::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= Count()) Error(SListIndexError, Index);
}

void TList::Grow() {
  Integer Delta = FCapacity > 64 ? FCapacity / 4 : (FCapacity > 8 ? 16 : 4);
  SetCapacity(FCapacity + Delta);
}

void TList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < Count()) Error(SListCapacityError, NewCapacity);
  if (NewCapacity == FCapacity) return;
  if (NewCapacity < static_cast<Integer>(FList.capacity())) {
    FList.shrink_to_fit();
  }
  FList.reserve(static_cast<size_t>(NewCapacity));
  FCapacity = NewCapacity;
}

void TList::SetCount(Integer NewCount) {
  if (NewCount < 0) Error(SListCountError, NewCount);
  if (NewCount > FCapacity) SetCapacity(NewCount);
  if (NewCount > Count()) {
    FList.resize(static_cast<size_t>(NewCount), nullptr);
  } else {
    for (Integer I = Count() - 1; I >= NewCount; --I) Delete(I);
  }
}

Integer TList::Add(Pointer Item) {
  Integer Result = Count();
  if (Result == FCapacity) Grow();
  FList.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return Result;
}

void TList::Insert(Integer Index, Pointer Item) {
  if (Index < 0 || Index > Count()) Error(SListIndexError, Index);
  if (Count() == FCapacity) Grow();
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(Integer Index) {
  CheckIndex(Index);
  Pointer Temp = FList[static_cast<size_t>(Index)];
  FList.erase(FList.begin() + Index);
  if (Temp) Notify(Temp, lnDeleted);
}

Integer TList::Remove(Pointer Item) {
  Integer Result = IndexOf(Item);
  if (Result >= 0) Delete(Result);
  return Result;
}

Integer TList::IndexOf(Pointer Item) const {
  auto It = std::find(FList.begin(), FList.end(), Item);
  return It == FList.end() ? -1 : static_cast<Integer>(It - FList.begin());
}

Pointer TList::Extract(Pointer Item) {
  Integer I = IndexOf(Item);
  if (I < 0) return nullptr;
  FList.erase(FList.begin() + I);
  Notify(Item, lnExtracted);
  return Item;
}

void TList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
}

void TList::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex);
  CheckIndex(NewIndex);
  Pointer Item = FList[static_cast<size_t>(CurIndex)];
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, Item);
}

void TList::Sort(TListSortCompare Compare) {
  MergeSort(FList, [Compare](Pointer A, Pointer B) { return Compare(A, B) < 0; });
}

void TList::Clear() {
  SetCount(0);
  SetCapacity(0);
}

void TList::Pack() {
  for (Integer I = Count() - 1; I >= 0; --I)
    if (!FList[static_cast<size_t>(I)]) FList.erase(FList.begin() + I);
}

void TList::Assign(const TList* Source) {
  if (Source == this) return;
  Clear();
  SetCapacity(Source->Capacity());
  for (Pointer P : Source->FList) Add(P);
}

Pointer TList::Get(Integer Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)];
}

void TList::Put(Integer Index, Pointer Item) {
  CheckIndex(Index);
  Pointer Temp = FList[static_cast<size_t>(Index)];
  if (Item == Temp) return;
  FList[static_cast<size_t>(Index)] = Item;
  if (Temp) Notify(Temp, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

void TList::Notify(Pointer, TListNotification) {}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TObjectList)

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(Pointer Ptr, TListNotification Action) {
  if (FOwnsObjects && Action == lnDeleted) static_cast<TObject*>(Ptr)->Free();
  inherited::Notify(Ptr, Action);
}

// ---------------------------------------------------------------------------
TBytes TEncoding::GetPreamble() const {
  if (!FPreamble) return TBytes();
  if (FCodePage == CP_UTF8) return TBytes{0xEF, 0xBB, 0xBF};
  if (FCodePage == CodePageUTF16LE) return TBytes{0xFF, 0xFE};
  return TBytes();
}

TBytes TEncoding::GetBytes(const String& S) const {
  if (S.empty()) return TBytes();
  if (FCodePage == CodePageUTF16LE) {
    TBytes R(S.size() * 2, 0);
    for (size_t I = 0; I < S.size(); ++I) {
      R[2 * I] = static_cast<Byte>(S[I] & 0xFF);
      R[2 * I + 1] = static_cast<Byte>(S[I] >> 8);
    }
    return R;
  }
  int Len = WideCharToMultiByte(FCodePage, 0, S.data(), static_cast<int>(S.size()), nullptr, 0,
                                nullptr, nullptr);
  if (Len <= 0) throw EConvertError(SysErrorMessage(GetLastError()));
  TBytes R(static_cast<size_t>(Len), 0);
  WideCharToMultiByte(FCodePage, 0, S.data(), static_cast<int>(S.size()),
                      reinterpret_cast<char*>(R.data()), Len, nullptr, nullptr);
  return R;
}

String TEncoding::GetString(const Byte* Bytes, size_t Count) const {
  if (Count == 0) return String();
  if (FCodePage == CodePageUTF16LE) {
    // An odd final byte is no character.
    String R(Count / 2, L'\0');
    for (size_t I = 0; I < R.size(); ++I)
      R[I] = static_cast<wchar_t>(Bytes[2 * I] | (Bytes[2 * I + 1] << 8));
    return R;
  }
  const char* Src = reinterpret_cast<const char*>(Bytes);
  int Len = MultiByteToWideChar(FCodePage, 0, Src, static_cast<int>(Count), nullptr, 0);
  if (Len <= 0) throw EConvertError(SysErrorMessage(GetLastError()));
  String R(static_cast<size_t>(Len), L'\0');
  MultiByteToWideChar(FCodePage, 0, Src, static_cast<int>(Count), R.data(), Len);
  return R;
}

size_t TEncoding::GetBufferEncoding(const Byte* Bytes, size_t Count, TEncoding& AEncoding) {
  for (const TEncoding& E : {UTF8(), Unicode()}) {
    TBytes P = E.GetPreamble();
    if (Count >= P.size() && std::equal(P.begin(), P.end(), Bytes)) {
      AEncoding = E;
      return P.size();
    }
  }
  return 0;
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TStrings)

void TStrings::Error(const wchar_t* Msg, NativeInt Data) {
  throw EStringListError(Format(Msg, {Data}));
}

Integer TStrings::Add(const String& S) {
  Integer Result = GetCount();
  Insert(Result, S);
  return Result;
}

Integer TStrings::AddObject(const String& S, TObject* AObject) {
  Integer Result = Add(S);
  PutObject(Result, AObject);
  return Result;
}

void TStrings::AddStrings(const TStrings* Strings) {
  auto Updating = UpdateScope(this);
  // The count is taken once, so adding a list to itself doubles it.
  for (Integer I = 0, N = Strings->GetCount(); I < N; ++I)
    AddObject(Strings->Get(I), Strings->GetObject(I));
}

void TStrings::Assign(const TStrings* Source) {
  if (Source == this) return;
  auto Updating = UpdateScope(this);
  Clear();
  FDelimiter = Source->FDelimiter;
  FQuoteChar = Source->FQuoteChar;
  FNameValueSeparator = Source->FNameValueSeparator;
  FStrictDelimiter = Source->FStrictDelimiter;
  FLineBreak = Source->FLineBreak;
  AddStrings(Source);
}

void TStrings::Exchange(Integer Index1, Integer Index2) {
  auto Updating = UpdateScope(this);
  String TempString = Get(Index1);
  TObject* TempObject = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, TempString);
  PutObject(Index2, TempObject);
}

void TStrings::InsertObject(Integer Index, const String& S, TObject* AObject) {
  Insert(Index, S);
  PutObject(Index, AObject);
}

void TStrings::Move(Integer CurIndex, Integer NewIndex) {
  if (CurIndex == NewIndex) return;
  // Checked before the line is taken out, so a bad target loses nothing.
  if (NewIndex < 0 || NewIndex >= GetCount()) Error(SListIndexError, NewIndex);
  auto Updating = UpdateScope(this);
  String TempString = Get(CurIndex);
  TObject* TempObject = GetObject(CurIndex);
  // Detach the object first so that an owning list does not free it.
  PutObject(CurIndex, nullptr);
  Delete(CurIndex);
  InsertObject(NewIndex, TempString, TempObject);
}

Integer TStrings::IndexOf(const String& S) const {
  for (Integer I = 0; I < GetCount(); ++I)
    if (CompareStrings(Get(I), S) == 0) return I;
  return -1;
}

Integer TStrings::IndexOfName(const String& Name) const {
  for (Integer I = 0; I < GetCount(); ++I) {
    String S = Get(I);
    size_t P = S.find(FNameValueSeparator);
    if (P != String::npos && CompareStrings(S.substr(0, P), Name) == 0) return I;
  }
  return -1;
}

Integer TStrings::IndexOfObject(const TObject* AObject) const {
  for (Integer I = 0; I < GetCount(); ++I)
    if (GetObject(I) == AObject) return I;
  return -1;
}

bool TStrings::Equals(const TStrings* Strings) const {
  if (GetCount() != Strings->GetCount()) return false;
  for (Integer I = 0; I < GetCount(); ++I)
    if (Get(I) != Strings->Get(I)) return false;
  return true;
}

void TStrings::BeginUpdate() {
  if (FUpdateCount == 0) SetUpdateState(true);
  ++FUpdateCount;
}

void TStrings::EndUpdate() {
  --FUpdateCount;
  if (FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::SetUpdateState(Boolean) {}

void TStrings::Put(Integer Index, const String& S) {
  TObject* TempObject = GetObject(Index);
  Delete(Index);
  InsertObject(Index, S, TempObject);
}

TObject* TStrings::GetObject(Integer) const { return nullptr; }

void TStrings::PutObject(Integer, TObject*) {}

Integer TStrings::CompareStrings(const String& S1, const String& S2) const {
  return AnsiCompareText(S1, S2);
}

String TStrings::GetTextStr() const {
  String R;
  for (Integer I = 0; I < GetCount(); ++I) {
    R += Get(I);
    R += FLineBreak;
  }
  return R;
}

void TStrings::SetTextStr(const String& Value) {
  auto Updating = UpdateScope(this);
  Clear();
  size_t P = 0, N = Value.size();
  while (P < N) {
    size_t Start = P;
    while (P < N && Value[P] != L'\r' && Value[P] != L'\n') ++P;
    Add(Value.substr(Start, P - Start));
    if (P < N && Value[P] == L'\r') ++P;
    if (P < N && Value[P] == L'\n') ++P;
  }
}

String TStrings::GetCommaText() const { return JoinDelimited(L',', L'"', false); }

void TStrings::SetCommaText(const String& Value) { SplitDelimited(Value, L',', L'"', false); }

String TStrings::GetDelimitedText() const {
  return JoinDelimited(FDelimiter, FQuoteChar, FStrictDelimiter);
}

void TStrings::SetDelimitedText(const String& Value) {
  SplitDelimited(Value, FDelimiter, FQuoteChar, FStrictDelimiter);
}

namespace {
String QuotedStr(const String& S, Char Quote) {
  String R(1, Quote);
  for (Char C : S) {
    R += C;
    if (C == Quote) R += C;
  }
  R += Quote;
  return R;
}
bool IsBlank(Char C) { return C >= 1 && C <= L' '; }
}  // namespace

String TStrings::JoinDelimited(Char Delim, Char Quote, Boolean Strict) const {
  Integer N = GetCount();
  if (N == 1 && Get(0).empty()) return String(2, Quote);
  String R;
  for (Integer I = 0; I < N; ++I) {
    String S = Get(I);
    bool NeedsQuotes = std::any_of(S.begin(), S.end(), [&](Char C) {
      return C == Quote || C == Delim || (!Strict && IsBlank(C));
    });
    if (I > 0) R += Delim;
    R += NeedsQuotes ? QuotedStr(S, Quote) : S;
  }
  return R;
}

void TStrings::SplitDelimited(const String& Value, Char Delim, Char Quote, Boolean Strict) {
  auto Updating = UpdateScope(this);
  Clear();
  size_t P = 0, N = Value.size();
  auto SkipBlanks = [&] {
    if (!Strict)
      while (P < N && IsBlank(Value[P])) ++P;
  };
  SkipBlanks();
  while (P < N) {
    String S;
    if (Value[P] == Quote) {
      // A quoted item: doubled quotes stand for one; an unclosed quote takes
      // the rest of the text.
      ++P;
      while (P < N) {
        if (Value[P] == Quote) {
          if (P + 1 < N && Value[P + 1] == Quote) {
            S += Quote;
            P += 2;
            continue;
          }
          ++P;
          break;
        }
        S += Value[P++];
      }
    } else {
      size_t Start = P;
      while (P < N && Value[P] != Delim && (Strict || Value[P] > L' ')) ++P;
      S = Value.substr(Start, P - Start);
    }
    Add(S);
    SkipBlanks();
    if (P < N && Value[P] == Delim) {
      if (P + 1 == N) Add(String());
      ++P;
      SkipBlanks();
    }
  }
}

String TStrings::Names(Integer Index) const {
  String S = Get(Index);
  size_t P = S.find(FNameValueSeparator);
  return P == String::npos ? String() : S.substr(0, P);
}

String TStrings::Values(const String& Name) const {
  Integer I = IndexOfName(Name);
  return I >= 0 ? ValueFromIndex(I) : String();
}

void TStrings::SetValue(const String& Name, const String& Value) {
  Integer I = IndexOfName(Name);
  if (!Value.empty()) {
    if (I < 0) I = Add(String());
    Put(I, Name + FNameValueSeparator + Value);
  } else if (I >= 0) {
    Delete(I);
  }
}

String TStrings::ValueFromIndex(Integer Index) const {
  if (Index < 0) return String();
  String S = Get(Index);
  size_t P = S.find(FNameValueSeparator);
  return P == String::npos ? String() : S.substr(P + 1);
}

void TStrings::SetValueFromIndex(Integer Index, const String& Value) {
  if (!Value.empty()) {
    if (Index < 0) Index = Add(String());
    Put(Index, Names(Index) + FNameValueSeparator + Value);
  } else if (Index >= 0) {
    Delete(Index);
  }
}

void TStrings::LoadFromBytes(const TBytes& Bytes, const TEncoding* AEncoding) {
  TEncoding Found = AEncoding ? *AEncoding : TEncoding::Default();
  size_t Skip = 0;
  if (AEncoding) {
    TBytes P = AEncoding->GetPreamble();
    if (!P.empty() && Bytes.compare(0, P.size(), P) == 0) Skip = P.size();
  } else {
    Skip = TEncoding::GetBufferEncoding(Bytes.data(), Bytes.size(), Found);
  }
  String Text = Found.GetString(Bytes.data() + Skip, Bytes.size() - Skip);
  SetTextStr(Text);
  FEncoding = Found;
}

void TStrings::LoadFromFile(const String& FileName) {
  TOwned<TFileStream> Stream(Create<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(Stream.get());
}

void TStrings::LoadFromFile(const String& FileName, const TEncoding& AEncoding) {
  TOwned<TFileStream> Stream(Create<TFileStream>(FileName, fmOpenRead | fmShareDenyWrite));
  LoadFromStream(Stream.get(), AEncoding);
}

namespace {
TBytes ReadRest(TStream* Stream) {
  Int64 Count = Stream->Size() - Stream->Position();
  if (Count < 0) Count = 0;
  if (Count > INT32_MAX) throw EReadError(SReadError);
  TBytes Bytes(static_cast<size_t>(Count), 0);
  Stream->ReadBuffer(Bytes.data(), static_cast<Integer>(Count));
  return Bytes;
}
}  // namespace

void TStrings::LoadFromStream(TStream* Stream) {
  auto Updating = UpdateScope(this);
  LoadFromBytes(ReadRest(Stream), nullptr);
}

void TStrings::LoadFromStream(TStream* Stream, const TEncoding& AEncoding) {
  auto Updating = UpdateScope(this);
  LoadFromBytes(ReadRest(Stream), &AEncoding);
}

void TStrings::SaveToFile(const String& FileName) const { SaveToFile(FileName, FEncoding); }

void TStrings::SaveToFile(const String& FileName, const TEncoding& AEncoding) const {
  TOwned<TFileStream> Stream(Create<TFileStream>(FileName, fmCreate));
  SaveToStream(Stream.get(), AEncoding);
}

void TStrings::SaveToStream(TStream* Stream) const { SaveToStream(Stream, FEncoding); }

void TStrings::SaveToStream(TStream* Stream, const TEncoding& AEncoding) const {
  TBytes Bytes = AEncoding.GetPreamble() + AEncoding.GetBytes(GetTextStr());
  if (Bytes.size() > INT32_MAX) throw EWriteError(SWriteError);
  Stream->WriteBuffer(Bytes.data(), static_cast<Integer>(Bytes.size()));
}

// ---------------------------------------------------------------------------
IMPLEMENT_CREATABLE_CLASS(TStringList)

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (FOwnsObjects)
    for (TStringItem& Item : FList)
      if (Item.FObject) FreeAndNil(Item.FObject);
}

void TStringList::CheckIndex(Integer Index) const {
  if (Index < 0 || Index >= GetCount()) Error(SListIndexError, Index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(Boolean Updating) {
  if (Updating)
    Changing();
  else
    Changed();
}

Integer TStringList::CompareStrings(const String& S1, const String& S2) const {
  return FCaseSensitive ? AnsiCompareStr(S1, S2) : AnsiCompareText(S1, S2);
}

Integer TStringList::Add(const String& S) { return AddObject(S, nullptr); }

Integer TStringList::AddObject(const String& S, TObject* AObject) {
  Integer Result;
  if (!FSorted) {
    Result = GetCount();
  } else if (Find(S, Result)) {
    switch (FDuplicates) {
      case dupIgnore:
        return Result;
      case dupError:
        Error(SDuplicateString, 0);
      case dupAccept:
        break;
    }
  }
  InsertItem(Result, S, AObject);
  return Result;
}

void TStringList::Assign(const TStrings* Source) {
  if (Source == this) return;
  if (const TStringList* L = AsOrNull<TStringList>(const_cast<TStrings*>(Source))) {
    // Clear before taking the sort settings, so that the copied strings keep
    // the source's order.
    {
      auto Updating = UpdateScope(this);
      Clear();
      FSorted = L->FSorted;
      FDuplicates = L->FDuplicates;
      FCaseSensitive = L->FCaseSensitive;
      inherited::Assign(Source);
    }
    return;
  }
  inherited::Assign(Source);
}

void TStringList::Clear() {
  if (FList.empty()) return;
  Changing();
  std::vector<TStringItem> Old;
  Old.swap(FList);
  if (FOwnsObjects)
    for (TStringItem& Item : Old)
      if (Item.FObject) FreeAndNil(Item.FObject);
  Changed();
}

void TStringList::Delete(Integer Index) {
  CheckIndex(Index);
  Changing();
  TObject* Obj = FList[static_cast<size_t>(Index)].FObject;
  FList.erase(FList.begin() + Index);
  if (FOwnsObjects && Obj) Obj->Free();
  Changed();
}

void TStringList::Exchange(Integer Index1, Integer Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  Changing();
  std::swap(FList[static_cast<size_t>(Index1)], FList[static_cast<size_t>(Index2)]);
  Changed();
}

bool TStringList::Find(const String& S, Integer& Index) const {
  bool Result = false;
  Integer L = 0, H = GetCount() - 1;
  while (L <= H) {
    Integer I = L + (H - L) / 2;
    Integer C = CompareStrings(FList[static_cast<size_t>(I)].FString, S);
    if (C < 0) {
      L = I + 1;
    } else {
      H = I - 1;
      if (C == 0) {
        Result = true;
        if (FDuplicates != dupAccept) L = I;
      }
    }
  }
  Index = L;
  return Result;
}

Integer TStringList::IndexOf(const String& S) const {
  if (!FSorted) return inherited::IndexOf(S);
  Integer Result;
  return Find(S, Result) ? Result : -1;
}

void TStringList::Insert(Integer Index, const String& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(Integer Index, const String& S, TObject* AObject) {
  if (FSorted) Error(SSortedListError, 0);
  if (Index < 0 || Index > GetCount()) Error(SListIndexError, Index);
  InsertItem(Index, S, AObject);
}

void TStringList::InsertItem(Integer Index, const String& S, TObject* AObject) {
  Changing();
  FList.insert(FList.begin() + Index, TStringItem{S, AObject});
  Changed();
}

void TStringList::Sort() { CustomSort(nullptr); }

void TStringList::CustomSort(TStringListSortCompare Compare) {
  // A sorted list is in order already.
  if (FSorted || GetCount() <= 1) return;
  Changing();
  // Listeners hear the end of the change however the sort ends.
  auto Done = Finally([this] { Changed(); });
  // Compare functions look at the list by index, so the list keeps its order
  // while the positions are sorted, and is rearranged once at the end.
  std::vector<Integer> Order(FList.size());
  for (size_t I = 0; I < Order.size(); ++I) Order[I] = static_cast<Integer>(I);
  MergeSort(Order, [this, Compare](Integer A, Integer B) {
    if (Compare) return Compare(this, A, B) < 0;
    return CompareStrings(FList[static_cast<size_t>(A)].FString,
                          FList[static_cast<size_t>(B)].FString) < 0;
  });
  std::vector<TStringItem> Sorted;
  Sorted.reserve(FList.size());
  for (Integer I : Order) Sorted.push_back(std::move(FList[static_cast<size_t>(I)]));
  FList.swap(Sorted);
}

String TStringList::Get(Integer Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].FString;
}

void TStringList::Put(Integer Index, const String& S) {
  if (FSorted) Error(SSortedListError, 0);
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FString = S;
  Changed();
}

TObject* TStringList::GetObject(Integer Index) const {
  CheckIndex(Index);
  return FList[static_cast<size_t>(Index)].FObject;
}

void TStringList::PutObject(Integer Index, TObject* AObject) {
  CheckIndex(Index);
  Changing();
  FList[static_cast<size_t>(Index)].FObject = AObject;
  Changed();
}

void TStringList::SetCapacity(Integer NewCapacity) {
  if (NewCapacity < GetCount()) Error(SListCapacityError, NewCapacity);
  FList.reserve(static_cast<size_t>(NewCapacity));
}

void TStringList::SetSorted(Boolean Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(Boolean Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) {
    // Re-sort under the new comparison.
    FSorted = false;
    Sort();
    FSorted = true;
  }
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* S = AsOrNull<TStrings>(Source)) {
    Assign(static_cast<const TStrings*>(S));
    return;
  }
  TPersistent::Assign(Source);
}

namespace {
// Reads and writes the lines of a string list as a list value in a form
// resource.
struct TStringsFiler {
  TStrings* List;
  void ReadData(TReader* Reader) {
    auto Updating = UpdateScope(List);
    List->Clear();
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) List->Add(Reader->ReadString());
    Reader->ReadListEnd();
  }
  void WriteData(TWriter* Writer) {
    Writer->WriteListBegin();
    for (Integer I = 0; I < List->Count(); ++I) Writer->WriteString(List->Strings(I));
    Writer->WriteListEnd();
  }
};
}  // namespace

void TStrings::DefineProperties(TFiler* Filer) {
  // The filer calls back while this call is running, so a local helper
  // object is enough.
  TStringsFiler Helper{this};
  Filer->DefineProperty(L"Strings", MakeEvent<&TStringsFiler::ReadData>(&Helper),
                        MakeEvent<&TStringsFiler::WriteData>(&Helper), Count() > 0);
}
