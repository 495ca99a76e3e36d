// Core of the framework: value types, the object model (TObject, class
// references, two-phase creation), sets, method-pointer events and the
// 1-based string primitives every other module is written against.
#pragma once

#include <bitset>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "WinCompat.h"

// ---------------------------------------------------------------------------
// Value types
using Integer = int32_t;
using Cardinal = uint32_t;
using Int64 = int64_t;
using UInt64 = uint64_t;
using NativeInt = intptr_t;
using NativeUInt = uintptr_t;
using ShortInt = int8_t;
using SmallInt = int16_t;
using Word = uint16_t;
using Byte = uint8_t;
using LongWord = uint32_t;
using Boolean = bool;
using Single = float;
using Double = double;
using Extended = long double;
using TDateTime = double;
using Char = wchar_t;
using AnsiChar = char;
using String = std::wstring;
// 8-bit text; which code page it is in is the caller's knowledge (the system
// ANSI code page unless a routine names another one).
using AnsiString = std::string;
using RawByteString = std::string;
using UTF8String = std::string;
using Pointer = void*;
using TBytes = std::basic_string<Byte>;

// ---------------------------------------------------------------------------
// Object model
class TObject;
// A class's published properties, methods and fields (declared in Classes.h).
struct TPublishedTable;

// The static description of a class: its name, its parent and, for classes
// that can be created through a class reference, a factory taking the
// framework's standard creation argument (a component's owner, or nothing).
struct TMetaClass {
  const wchar_t* Name;
  const TMetaClass* Parent;
  TObject* (*Factory)(TObject* AOwner);
  // The class's own published table (without its ancestors'), built on first
  // use; nullptr for classes that publish nothing.
  const TPublishedTable* (*Published)() = nullptr;

  bool InheritsFrom(const TMetaClass* AClass) const noexcept;
  String ClassName() const { return Name; }
  // Creates an instance through the factory; EInvalidOperation-free: returns
  // nullptr when the class is abstract (no factory).
  TObject* Create(TObject* AOwner = nullptr) const;
};
using TClass = const TMetaClass*;

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;

  static TClass StaticClass();
  virtual TClass ClassType() const;
  String ClassName() const { return ClassType()->Name; }
  bool InheritsFrom(TClass AClass) const noexcept { return ClassType()->InheritsFrom(AClass); }
  template <class T>
  bool Is() const noexcept {
    return InheritsFrom(T::StaticClass());
  }

  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}
  // Runs BeforeDestruction and deletes the object. Never call on nullptr;
  // FreeAndNil is the null-safe form.
  void Free();

  // COM-style interface lookup for objects that implement interfaces
  // (see Supports). The default implements none.
  virtual bool GetInterface(const IID& AIID, void** AObj);
};

// Declares the class-reference members; put in the class body.
#define DECLARE_CLASS(ClassName_, Parent_) \
 public:                                   \
  using inherited = Parent_;               \
  static TClass StaticClass();             \
  TClass ClassType() const override;       \
                                           \
 private:

namespace SystemDetail {
template <class T, class = void>
struct HasOwnerType : std::false_type {};
template <class T>
struct HasOwnerType<T, std::void_t<typename T::TOwnerType>> : std::true_type {};
}  // namespace SystemDetail

template <class T, class... A>
T* Create(A&&... Args);

template <class T>
TObject* CreateThroughClass(TObject* AOwner) {
  if constexpr (SystemDetail::HasOwnerType<T>::value) {
    return Create<T>(static_cast<typename T::TOwnerType*>(AOwner));
  } else {
    return Create<T>();
  }
}

// Header-only form of DECLARE_CLASS + IMPLEMENT_CLASS for small classes
// (exception classes, mostly) that have no factory.
#define DECLARE_CLASS_INLINE(ClassName_, Parent_)                                   \
 public:                                                                            \
  using inherited = Parent_;                                                        \
  static TClass StaticClass() {                                                     \
    static const TMetaClass Meta{L## #ClassName_, Parent_::StaticClass(), nullptr}; \
    return &Meta;                                                                   \
  }                                                                                 \
  TClass ClassType() const override { return StaticClass(); }                       \
                                                                                    \
 private:

#define IMPLEMENT_CLASS_IMPL(ClassName_, Factory_)                                                 \
  TClass ClassName_::StaticClass() {                                                               \
    static const TMetaClass Meta{L## #ClassName_, ClassName_::inherited::StaticClass(), Factory_}; \
    return &Meta;                                                                                  \
  }                                                                                                \
  TClass ClassName_::ClassType() const { return StaticClass(); }

// Defines the class reference of an abstract class (no factory).
#define IMPLEMENT_CLASS(ClassName_) IMPLEMENT_CLASS_IMPL(ClassName_, nullptr)
// Defines the class reference of a class that can be created by reference.
#define IMPLEMENT_CREATABLE_CLASS(ClassName_) \
  IMPLEMENT_CLASS_IMPL(ClassName_, &CreateThroughClass<ClassName_>)

// Two-phase creation: the constructor initialises members, AfterConstruction
// does the work that must reach overrides.
template <class T, class... A>
T* Create(A&&... Args) {
  // Deleted, not freed, when AfterConstruction fails: BeforeDestruction
  // belongs to objects that were completely made.
  std::unique_ptr<T> Obj(new T(std::forward<A>(Args)...));
  Obj->AfterConstruction();
  return Obj.release();
}

template <class T>
void FreeAndNil(T*& Obj) {
  T* Tmp = Obj;
  Obj = nullptr;
  if (Tmp) Tmp->Free();
}

// Deleter for unique_ptr fields that own a framework object outright.
struct TObjectFree {
  void operator()(TObject* Obj) const {
    if (Obj) Obj->Free();
  }
};
template <class T>
using TOwned = std::unique_ptr<T, TObjectFree>;

template <class T, class... A>
TOwned<T> MakeOwned(A&&... Args) {
  return TOwned<T>(Create<T>(std::forward<A>(Args)...));
}

[[noreturn]] void RaiseInvalidCast(TObject* Obj, TClass Target);

// Checked down-cast in the spirit of "as": nullptr in, nullptr out; an object
// of another class raises EInvalidCast.
template <class T>
T* As(TObject* Obj) {
  if (!Obj) return nullptr;
  if (!Obj->InheritsFrom(T::StaticClass())) RaiseInvalidCast(Obj, T::StaticClass());
  return static_cast<T*>(Obj);
}

template <class T>
T* AsOrNull(TObject* Obj) noexcept {
  return (Obj && Obj->InheritsFrom(T::StaticClass())) ? static_cast<T*>(Obj) : nullptr;
}

// Interface query on a framework object.
bool Supports(TObject* AObj, const IID& AIID, void** AIntf = nullptr);

// ---------------------------------------------------------------------------
// Sets of enumeration values (up to 256 elements, like the framework's sets).
template <class E, size_t N = 64>
class TSet {
 public:
  constexpr TSet() = default;
  TSet(std::initializer_list<E> Items) {
    for (E Item : Items) Include(Item);
  }
  TSet& Include(E Item) {
    FBits.set(Index(Item));
    return *this;
  }
  TSet& Exclude(E Item) {
    FBits.reset(Index(Item));
    return *this;
  }
  bool Contains(E Item) const { return FBits.test(Index(Item)); }
  bool Empty() const { return FBits.none(); }
  size_t Count() const { return FBits.count(); }
  TSet operator+(const TSet& S) const { return TSet(FBits | S.FBits); }
  TSet operator-(const TSet& S) const { return TSet(FBits & ~S.FBits); }
  TSet operator*(const TSet& S) const { return TSet(FBits & S.FBits); }
  TSet& operator+=(const TSet& S) {
    FBits |= S.FBits;
    return *this;
  }
  TSet& operator-=(const TSet& S) {
    FBits &= ~S.FBits;
    return *this;
  }
  TSet& operator*=(const TSet& S) {
    FBits &= S.FBits;
    return *this;
  }
  bool operator==(const TSet& S) const { return FBits == S.FBits; }
  bool operator!=(const TSet& S) const { return FBits != S.FBits; }
  // Subset test (S1 <= S2).
  bool operator<=(const TSet& S) const { return (FBits & ~S.FBits).none(); }
  // Raw bits for streaming a set property.
  UInt64 ToBits() const { return FBits.to_ullong(); }
  static TSet FromBits(UInt64 Bits) { return TSet(std::bitset<N>(Bits)); }

 private:
  explicit TSet(const std::bitset<N>& Bits) : FBits(Bits) {}
  static size_t Index(E Item) { return static_cast<size_t>(Item); }
  std::bitset<N> FBits;
};

// ---------------------------------------------------------------------------
// Method pointers. A TMethod is (Code, Data); two events are equal when both
// are. Code is a per-member-function thunk, Data the object.
struct TMethod {
  void* Code = nullptr;
  void* Data = nullptr;
  bool operator==(const TMethod& M) const { return Code == M.Code && Data == M.Data; }
  bool operator!=(const TMethod& M) const { return !(*this == M); }
  explicit operator bool() const { return Code != nullptr; }
};

template <class Sig>
class TMethodPtr;

template <class R, class... A>
class TMethodPtr<R(A...)> {
 public:
  using TThunk = R (*)(void*, A...);
  TMethodPtr() = default;
  TMethodPtr(std::nullptr_t) {}
  TMethodPtr(TThunk AThunk, void* AData) : FThunk(AThunk), FData(AData) {}
  // Rebuilds a typed event from an untyped one (the caller vouches for the
  // signature, as the form reader does after looking up a published method).
  static TMethodPtr FromMethod(const TMethod& M) {
    return TMethodPtr(reinterpret_cast<TThunk>(M.Code), M.Data);
  }
  TMethod Method() const { return TMethod{reinterpret_cast<void*>(FThunk), FData}; }

  explicit operator bool() const { return FThunk != nullptr; }
  bool Assigned() const { return FThunk != nullptr; }
  R operator()(A... Args) const { return FThunk(FData, std::forward<A>(Args)...); }
  void* Data() const { return FData; }
  bool operator==(const TMethodPtr& M) const { return FThunk == M.FThunk && FData == M.FData; }
  bool operator!=(const TMethodPtr& M) const { return !(*this == M); }
  bool operator==(std::nullptr_t) const { return FThunk == nullptr; }

 private:
  TThunk FThunk = nullptr;
  void* FData = nullptr;
};

namespace SystemDetail {
template <class M>
struct MemberTraits;
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...)> {
  using Class = C;
  using Sig = R(A...);
  template <R (C::*Fn)(A...)>
  static R Thunk(void* Data, A... Args) {
    return (static_cast<C*>(Data)->*Fn)(std::forward<A>(Args)...);
  }
};
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...) const> {
  using Class = C;
  using Sig = R(A...);
  template <R (C::*Fn)(A...) const>
  static R Thunk(void* Data, A... Args) {
    return (static_cast<const C*>(Data)->*Fn)(std::forward<A>(Args)...);
  }
};
}  // namespace SystemDetail

// MakeEvent<&TForm1::Button1Click>(this)
template <auto Fn>
auto MakeEvent(typename SystemDetail::MemberTraits<decltype(Fn)>::Class* Obj) {
  using Traits = SystemDetail::MemberTraits<decltype(Fn)>;
  using Ptr = TMethodPtr<typename Traits::Sig>;
  return Ptr(&Traits::template Thunk<Fn>, static_cast<void*>(Obj));
}

// The untyped form of MakeEvent, used by published-method tables.
template <auto Fn>
TMethod MakeMethod(typename SystemDetail::MemberTraits<decltype(Fn)>::Class* Obj) {
  return MakeEvent<Fn>(Obj).Method();
}

using TNotifyEvent = TMethodPtr<void(TObject* Sender)>;

// ---------------------------------------------------------------------------
// 1-based string primitives, as the design's algorithms use them.
inline Integer Length(const String& S) { return static_cast<Integer>(S.size()); }
inline Integer Length(const AnsiString& S) { return static_cast<Integer>(S.size()); }
// Position of the first occurrence of Sub in S (1-based), 0 when absent.
Integer Pos(const String& Sub, const String& S, Integer Offset = 1);
Integer Pos(const AnsiString& Sub, const AnsiString& S, Integer Offset = 1);
// Count characters from Index (1-based); out-of-range parts are clipped.
String Copy(const String& S, Integer Index, Integer Count = INT32_MAX);
AnsiString Copy(const AnsiString& S, Integer Index, Integer Count = INT32_MAX);
void Delete(String& S, Integer Index, Integer Count);
void Delete(AnsiString& S, Integer Index, Integer Count);
void Insert(const String& Source, String& S, Integer Index);
void Insert(const AnsiString& Source, AnsiString& S, Integer Index);
String StringOfChar(Char C, Integer Count);
