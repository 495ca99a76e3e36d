#include "System.h"

#include <algorithm>

bool TMetaClass::InheritsFrom(const TMetaClass* AClass) const noexcept {
  for (const TMetaClass* C = this; C; C = C->Parent)
    if (C == AClass) return true;
  return false;
}

TObject* TMetaClass::Create(TObject* AOwner) const { return Factory ? Factory(AOwner) : nullptr; }

TClass TObject::StaticClass() {
  static const TMetaClass Meta{L"TObject", nullptr, nullptr};
  return &Meta;
}

TClass TObject::ClassType() const { return StaticClass(); }

void TObject::Free() {
  BeforeDestruction();
  delete this;
}

bool TObject::GetInterface(const IID&, void** AObj) {
  if (AObj) *AObj = nullptr;
  return false;
}

bool Supports(TObject* AObj, const IID& AIID, void** AIntf) {
  void* Tmp = nullptr;
  void** Out = AIntf ? AIntf : &Tmp;
  *Out = nullptr;
  if (!AObj || !AObj->GetInterface(AIID, Out)) return false;
  // A probe without an out parameter must not keep a reference.
  if (!AIntf && Tmp) static_cast<IUnknown*>(Tmp)->Release();
  return true;
}

namespace {
template <class S>
Integer PosImpl(const S& Sub, const S& Str, Integer Offset) {
  if (Sub.empty() || Offset < 1 || Offset > static_cast<Integer>(Str.size())) return 0;
  auto P = Str.find(Sub, static_cast<size_t>(Offset - 1));
  return P == S::npos ? 0 : static_cast<Integer>(P) + 1;
}

template <class S>
S CopyImpl(const S& Str, Integer Index, Integer Count) {
  Integer Len = static_cast<Integer>(Str.size());
  if (Index < 1) Index = 1;
  if (Count <= 0 || Index > Len) return S();
  Int64 Avail = static_cast<Int64>(Len) - Index + 1;
  return Str.substr(static_cast<size_t>(Index - 1),
                    static_cast<size_t>(std::min<Int64>(Count, Avail)));
}

template <class S>
void DeleteImpl(S& Str, Integer Index, Integer Count) {
  Integer Len = static_cast<Integer>(Str.size());
  if (Index < 1 || Index > Len || Count <= 0) return;
  Int64 Avail = static_cast<Int64>(Len) - Index + 1;
  Str.erase(static_cast<size_t>(Index - 1), static_cast<size_t>(std::min<Int64>(Count, Avail)));
}

template <class S>
void InsertImpl(const S& Source, S& Str, Integer Index) {
  if (Source.empty()) return;
  Integer Len = static_cast<Integer>(Str.size());
  if (Index < 1) Index = 1;
  if (Index > Len + 1) Index = Len + 1;
  Str.insert(static_cast<size_t>(Index - 1), Source);
}
}  // namespace

Integer Pos(const String& Sub, const String& S, Integer Offset) { return PosImpl(Sub, S, Offset); }
Integer Pos(const AnsiString& Sub, const AnsiString& S, Integer Offset) {
  return PosImpl(Sub, S, Offset);
}
String Copy(const String& S, Integer Index, Integer Count) { return CopyImpl(S, Index, Count); }
AnsiString Copy(const AnsiString& S, Integer Index, Integer Count) {
  return CopyImpl(S, Index, Count);
}
void Delete(String& S, Integer Index, Integer Count) { DeleteImpl(S, Index, Count); }
void Delete(AnsiString& S, Integer Index, Integer Count) { DeleteImpl(S, Index, Count); }
void Insert(const String& Source, String& S, Integer Index) { InsertImpl(Source, S, Index); }
void Insert(const AnsiString& Source, AnsiString& S, Integer Index) {
  InsertImpl(Source, S, Index);
}
String StringOfChar(Char C, Integer Count) {
  return Count > 0 ? String(static_cast<size_t>(Count), C) : String();
}
