// The document model: strings, typed attribute access, date-times and the
// node tree. The reader and the writer live in dxXMLDoc_Reader.cpp and
// dxXMLDoc_Writer.cpp.
#include "dxXMLDoc.h"

#include <cstdlib>
#include <cstring>
#include <new>

IMPLEMENT_CREATABLE_CLASS(TdxXMLStringBuilder)
IMPLEMENT_CREATABLE_CLASS(TdxXMLNodeAttribute)
IMPLEMENT_CREATABLE_CLASS(TdxXMLNodeAttributes)
IMPLEMENT_CREATABLE_CLASS(TdxXMLNodes)
IMPLEMENT_CREATABLE_CLASS(TdxXMLNode)
IMPLEMENT_CREATABLE_CLASS(TdxXMLDocument)

namespace {
constexpr const wchar_t* SUnexpectedToken = L"Unexpected token was founded (\"%s\" in \"%s\")";
constexpr const wchar_t* SInvalidInteger = L"'%s' is not a valid integer value";
constexpr const wchar_t* SListIndexError = L"List index out of bounds (%d)";

// Widens ASCII without asking the platform; anything else goes through
// code page 65001.
String Utf8ToString(const char* AData, size_t ALength) {
  if (ALength == 0) return String();
  size_t I = 0;
  while (I < ALength && static_cast<Byte>(AData[I]) < 0x80) ++I;
  if (I == ALength) return String(AData, AData + ALength);
  String R;
  const int N = MultiByteToWideChar(CP_UTF8, 0, AData, static_cast<int>(ALength), nullptr, 0);
  if (N <= 0) return R;
  R.resize(static_cast<size_t>(N));
  MultiByteToWideChar(CP_UTF8, 0, AData, static_cast<int>(ALength), R.data(), N);
  return R;
}
}  // namespace

// ---------------------------------------------------------------------------
// TdxXMLMemory

namespace {
constexpr size_t PoolGranule = 16;
constexpr size_t PoolLimit = 256;
constexpr size_t PoolChunk = 64 * 1024;

struct TPoolBlock {
  TPoolBlock* Next;
};

// One free list per size class, each behind its own spin lock: blocks are
// taken and given back in a few instructions, so waiting is rare and short.
// Constant-initialised: no start-up work.
struct TPoolClass {
  std::atomic_flag Lock;
  TPoolBlock* Free = nullptr;
  char* Bump = nullptr;
  char* BumpEnd = nullptr;
};
TPoolClass PoolClasses[PoolLimit / PoolGranule];

class TPoolLock {
 public:
  explicit TPoolLock(std::atomic_flag& ALock) : FLock(ALock) {
    while (FLock.test_and_set(std::memory_order_acquire))
      while (FLock.test(std::memory_order_relaxed)) YieldProcessor();
  }
  ~TPoolLock() { FLock.clear(std::memory_order_release); }

 private:
  std::atomic_flag& FLock;
};
}  // namespace

void* TdxXMLMemory::Allocate(size_t ASize) {
  if (ASize == 0) ASize = 1;
  if (ASize > PoolLimit) {
    void* P = std::malloc(ASize);
    if (!P) throw std::bad_alloc();
    return P;
  }
  const size_t Index = (ASize - 1) / PoolGranule;
  const size_t BlockSize = (Index + 1) * PoolGranule;
  TPoolClass& C = PoolClasses[Index];
  TPoolLock Lock(C.Lock);
  if (TPoolBlock* B = C.Free) {
    C.Free = B->Next;
    return B;
  }
  if (static_cast<size_t>(C.BumpEnd - C.Bump) < BlockSize) {
    char* Chunk = static_cast<char*>(std::malloc(PoolChunk));
    if (!Chunk) throw std::bad_alloc();
    C.Bump = Chunk;
    C.BumpEnd = Chunk + PoolChunk;
  }
  void* P = C.Bump;
  C.Bump += BlockSize;
  return P;
}

void TdxXMLMemory::Release(void* P, size_t ASize) noexcept {
  if (!P) return;
  if (ASize == 0) ASize = 1;
  if (ASize > PoolLimit) {
    std::free(P);
    return;
  }
  TPoolClass& C = PoolClasses[(ASize - 1) / PoolGranule];
  TPoolLock Lock(C.Lock);
  TPoolBlock* B = static_cast<TPoolBlock*>(P);
  B->Next = C.Free;
  C.Free = B;
}

// ---------------------------------------------------------------------------
// TdxXMLString

TdxXMLString::TBuffer* TdxXMLString::Allocate(size_t ALength) {
  if (ALength > UINT32_MAX - sizeof(TBuffer)) throw std::bad_alloc();
  TBuffer* B = static_cast<TBuffer*>(TdxXMLMemory::Allocate(offsetof(TBuffer, Data) + ALength + 1));
  new (&B->RefCount) std::atomic<int32_t>(1);
  B->Length = static_cast<uint32_t>(ALength);
  B->Data[ALength] = 0;
  return B;
}

void TdxXMLString::Release(TBuffer* ABuffer) noexcept {
  if (!ABuffer) return;
  // The sole owner needs no locked instruction to let go.
  if (ABuffer->RefCount.load(std::memory_order_acquire) == 1 ||
      ABuffer->RefCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
    TdxXMLMemory::Release(ABuffer, offsetof(TBuffer, Data) + ABuffer->Length + 1);
}

TdxXMLString::TdxXMLString(const char* AText) : TdxXMLString(AText, std::strlen(AText)) {}

TdxXMLString::TdxXMLString(const char* AData, size_t ALength) {
  if (ALength == 0) return;
  FBuffer = Allocate(ALength);
  std::memcpy(FBuffer->Data, AData, ALength);
}

TdxXMLString& TdxXMLString::operator=(const TdxXMLString& S) noexcept {
  if (S.FBuffer) S.FBuffer->RefCount.fetch_add(1, std::memory_order_relaxed);
  Release(FBuffer);
  FBuffer = S.FBuffer;
  return *this;
}

TdxXMLString& TdxXMLString::operator=(TdxXMLString&& S) noexcept {
  if (this != &S) {
    Release(FBuffer);
    FBuffer = S.FBuffer;
    S.FBuffer = nullptr;
  }
  return *this;
}

TdxXMLString TdxXMLString::Uninitialized(size_t ALength, char*& AData) {
  TdxXMLString R;
  if (ALength == 0) {
    AData = nullptr;
    return R;
  }
  R.FBuffer = Allocate(ALength);
  AData = R.FBuffer->Data;
  return R;
}

TdxXMLString TdxXMLString::FromString(const String& AText) {
  if (AText.empty()) return TdxXMLString();
  const int N = WideCharToMultiByte(CP_UTF8, 0, AText.data(), static_cast<int>(AText.size()),
                                    nullptr, 0, nullptr, nullptr);
  if (N <= 0) return TdxXMLString();
  char* P;
  TdxXMLString R = Uninitialized(static_cast<size_t>(N), P);
  WideCharToMultiByte(CP_UTF8, 0, AText.data(), static_cast<int>(AText.size()), P, N, nullptr,
                      nullptr);
  return R;
}

String TdxXMLString::ToString() const { return Utf8ToString(Data(), Length()); }

bool dxXMLSameName(std::string_view A, std::string_view B) noexcept {
  if (A.size() != B.size()) return false;
  for (size_t I = 0; I < A.size(); ++I) {
    Byte X = static_cast<Byte>(A[I]), Y = static_cast<Byte>(B[I]);
    if (X == Y) continue;
    if (X >= 'a' && X <= 'z') X -= 32;
    if (Y >= 'a' && Y <= 'z') Y -= 32;
    if (X != Y) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------
// TdxXMLDateTime

namespace {
// Scans the date-time text: a part is the longest run of digits from the
// current position, and the character that stops it (#0 at the end) is its
// delimiter, which is consumed with it.
class TDateTimeScanner {
 public:
  explicit TDateTimeScanner(const String& S) : FText(S) {}

  // The part's value; a value too large for the 16-bit fields raises rather
  // than wrapping round to some other date.
  Cardinal ReadPart(Char& ADelimiter) {
    const size_t Start = FPos;
    Cardinal Value = 0;
    while (FPos < FText.size() && IsDigit(FText[FPos])) {
      Value = Value * 10 + static_cast<Cardinal>(FText[FPos] - L'0');
      if (Value > 0xFFFF) {
        while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
        RaiseToken(FText.substr(Start, FPos - Start));
      }
      ++FPos;
    }
    ADelimiter = NextDelimiter();
    return Value;
  }

  // Milliseconds of a fraction of any length, rounded to the nearest (ties
  // to even); a fraction that rounds up to a whole second stays at 999 so
  // that the value keeps its second.
  Word ReadFraction(Char& ADelimiter) {
    const size_t Start = FPos;
    while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
    const String Digits = FText.substr(Start, FPos - Start);
    ADelimiter = NextDelimiter();
    Cardinal Ms = 0;
    for (size_t I = 0; I < 3; ++I)
      Ms = Ms * 10 + (I < Digits.size() ? static_cast<Cardinal>(Digits[I] - L'0') : 0);
    if (Digits.size() > 3) {
      const Char First = Digits[3];
      bool RestZero = true;
      for (size_t I = 4; I < Digits.size() && RestZero; ++I) RestZero = Digits[I] == L'0';
      const bool Up = First > L'5' || (First == L'5' && (!RestZero || Ms % 2 == 1));
      if (Up) ++Ms;
    }
    return static_cast<Word>(Ms > 999 ? 999 : Ms);
  }

  [[noreturn]] void RaiseToken(const String& AToken) const {
    throw EdxXMLUnexpectedToken(Format(SUnexpectedToken, {AToken, FText}));
  }
  [[noreturn]] void RaiseDelimiter(Char ADelimiter) const {
    RaiseToken(ADelimiter == 0 ? String(L"#0") : String(1, ADelimiter));
  }
  void ExpectDelimiter(Char ADelimiter, Char AExpected) const {
    if (ADelimiter != AExpected) RaiseDelimiter(ADelimiter);
  }

 private:
  static bool IsDigit(Char C) { return C >= L'0' && C <= L'9'; }
  Char NextDelimiter() {
    if (FPos >= FText.size()) return 0;
    return FText[FPos++];
  }
  const String& FText;
  size_t FPos = 0;
};

Int64 FloorDiv(Int64 A, Int64 B) {
  Int64 Q = A / B;
  if ((A % B != 0) && ((A < 0) != (B < 0))) --Q;
  return Q;
}

void AppendPadded(String& S, Cardinal AValue, int ADigits) {
  String Digits = IntToStr(static_cast<Int64>(AValue));
  if (static_cast<int>(Digits.size()) < ADigits) S.append(ADigits - Digits.size(), L'0');
  S += Digits;
}
}  // namespace

void TdxXMLDateTime::Assign(TDateTime ADateTime, bool AIsUTC) {
  DecodeDate(ADateTime, Year, Month, Day);
  DecodeTime(ADateTime, Hour, Minute, Second, Millisecond);
  IsUTC = AIsUTC;
}

void TdxXMLDateTime::Parse(const String& S) {
  Clear();
  TDateTimeScanner Scanner(S);
  Char Delimiter;
  Year = static_cast<Word>(Scanner.ReadPart(Delimiter));
  Scanner.ExpectDelimiter(Delimiter, L'-');
  Month = static_cast<Word>(Scanner.ReadPart(Delimiter));
  Scanner.ExpectDelimiter(Delimiter, L'-');
  Day = static_cast<Word>(Scanner.ReadPart(Delimiter));
  if (Delimiter == L'T') {
    Hour = static_cast<Word>(Scanner.ReadPart(Delimiter));
    Scanner.ExpectDelimiter(Delimiter, L':');
    Minute = static_cast<Word>(Scanner.ReadPart(Delimiter));
    Scanner.ExpectDelimiter(Delimiter, L':');
    Second = static_cast<Word>(Scanner.ReadPart(Delimiter));
    if (Delimiter == L'.') Millisecond = Scanner.ReadFraction(Delimiter);
  }
  if (Delimiter == L'+' || Delimiter == L'-') {
    const Int64 Sign = Delimiter == L'+' ? 1 : -1;
    const Int64 OffsetHours = Scanner.ReadPart(Delimiter);
    Int64 OffsetMinutes = 0;
    if (Delimiter == L':') OffsetMinutes = Scanner.ReadPart(Delimiter);
    // Day arithmetic in whole milliseconds: a float would turn 01:04:05
    // into 01:04:04.999.
    const Int64 Days = static_cast<Int64>(EncodeDate(Year, Month, Day));
    EncodeTime(Hour, Minute, Second, Millisecond);
    const Int64 Total = Days * MSecsPerDay + ((Hour * 60 + Minute) * 60 + Second) * Int64(1000) +
                        Millisecond - Sign * (OffsetHours * 60 + OffsetMinutes) * 60000;
    const Int64 NewDays = FloorDiv(Total, MSecsPerDay);
    Int64 Ms = Total - NewDays * MSecsPerDay;
    DecodeDate(static_cast<TDateTime>(NewDays), Year, Month, Day);
    Hour = static_cast<Word>(Ms / 3600000);
    Ms %= 3600000;
    Minute = static_cast<Word>(Ms / 60000);
    Ms %= 60000;
    Second = static_cast<Word>(Ms / 1000);
    Millisecond = static_cast<Word>(Ms % 1000);
    IsUTC = true;
  }
  if (Delimiter == L'Z') {
    IsUTC = true;
    Scanner.ReadPart(Delimiter);
  }
  if (Delimiter != 0) Scanner.RaiseDelimiter(Delimiter);
}

TDateTime TdxXMLDateTime::ToDateTime() const {
  const TDateTime D = EncodeDate(Year, Month, Day);
  const TDateTime T = EncodeTime(Hour, Minute, Second, Millisecond);
  // Before 30 December 1899 the time of day counts away from zero.
  return D < 0 ? D - T : D + T;
}

String TdxXMLDateTime::ToString() const {
  ToDateTime();  // an impossible value raises as the conversion does
  String S;
  AppendPadded(S, Year, 4);
  S += L'-';
  AppendPadded(S, Month, 2);
  S += L'-';
  AppendPadded(S, Day, 2);
  S += L'T';
  AppendPadded(S, Hour, 2);
  S += L':';
  AppendPadded(S, Minute, 2);
  S += L':';
  AppendPadded(S, Second, 2);
  S += L'.';
  AppendPadded(S, Millisecond, 3);
  if (IsUTC) S += L'Z';
  return S;
}

// ---------------------------------------------------------------------------
// TdxXMLHelper (booleans; the escaping belongs to the reader and the writer)

namespace {
String BooleanWord(bool AValue) {
  const std::string_view W = dxXMLBooleanWords[AValue ? 1 : 0];
  return String(W.begin(), W.end());
}
}  // namespace

bool TdxXMLHelper::DecodeBoolean(const String& AValue) {
  Integer V;
  if (TryStrToInt(AValue, V)) return V != 0;
  return SameText(AValue, BooleanWord(true));
}

bool TdxXMLHelper::IsBoolean(const String& AValue) {
  return SameText(AValue, BooleanWord(false)) || SameText(AValue, BooleanWord(true));
}

String TdxXMLHelper::EncodeBoolean(bool AValue) { return BooleanWord(AValue); }

// ---------------------------------------------------------------------------
// TdxXMLStringBuilder

TdxXMLStringBuilder::TdxXMLStringBuilder(Integer ACapacity) {
  if (ACapacity > 0) SetCapacity(ACapacity);
}

void TdxXMLStringBuilder::SetCapacity(Integer AValue) {
  if (AValue < FLength) throw EdxException(String());
  if (AValue == FCapacity) return;
  std::unique_ptr<Byte[]> Data(AValue > 0 ? new Byte[static_cast<size_t>(AValue)] : nullptr);
  if (FLength > 0) std::memcpy(Data.get(), FData.get(), static_cast<size_t>(FLength));
  FData = std::move(Data);
  FCapacity = AValue;
}

void TdxXMLStringBuilder::SetLength(Integer AValue) {
  if (AValue < 0) AValue = 0;
  if (AValue > FCapacity) {
    Int64 NewCapacity = Int64(FCapacity) * 2;
    if (NewCapacity < AValue) NewCapacity = Int64(AValue) * 2;
    if (NewCapacity > INT32_MAX) NewCapacity = AValue;
    // SetCapacity leaves length and contents alone when the allocation fails.
    SetCapacity(static_cast<Integer>(NewCapacity));
  }
  FLength = AValue;
}

void TdxXMLStringBuilder::Append(const void* AData, size_t ALength) {
  if (ALength == 0) return;
  if (ALength > static_cast<size_t>(INT32_MAX - FLength)) throw std::bad_alloc();
  const Integer Old = FLength;
  SetLength(FLength + static_cast<Integer>(ALength));
  std::memcpy(FData.get() + Old, AData, ALength);
}

TdxXMLString TdxXMLStringBuilder::AsString() const {
  return TdxXMLString(reinterpret_cast<const char*>(FData.get()), static_cast<size_t>(FLength));
}

// ---------------------------------------------------------------------------
// TdxXMLNodeAttribute

bool TdxXMLNodeAttribute::GetValueAsBoolean() const {
  return TdxXMLHelper::DecodeBoolean(GetValueAsString());
}

Integer TdxXMLNodeAttribute::GetValueAsInteger() const {
  const String S = GetValueAsString();
  Integer V;
  if (TryStrToInt(S, V)) return V;
  if (TdxXMLHelper::IsBoolean(S)) return TdxXMLHelper::DecodeBoolean(S) ? 1 : 0;
  throw EConvertError(Format(SInvalidInteger, {S}));
}

Int64 TdxXMLNodeAttribute::GetValueAsInt64() const {
  const String S = GetValueAsString();
  Int64 V;
  if (TryStrToInt64(S, V)) return V;
  if (TdxXMLHelper::IsBoolean(S)) return TdxXMLHelper::DecodeBoolean(S) ? 1 : 0;
  throw EConvertError(Format(SInvalidInteger, {S}));
}

Double TdxXMLNodeAttribute::GetValueAsFloat() const {
  return static_cast<Double>(dxStrToFloat(GetValueAsString(), L'.'));
}

TDateTime TdxXMLNodeAttribute::GetValueAsDateTime() const {
  TdxXMLDateTime D;
  D.Parse(GetValueAsString());
  return D.ToDateTime();
}

void TdxXMLNodeAttribute::SetValueAsInteger(Integer AValue) {
  FValue = TdxXMLString::FromString(IntToStr(AValue));
}

void TdxXMLNodeAttribute::SetValueAsInt64(Int64 AValue) {
  FValue = TdxXMLString::FromString(IntToStr(AValue));
}

void TdxXMLNodeAttribute::SetValueAsFloat(Double AValue) {
  FValue = TdxXMLString::FromString(dxFloatToStr(AValue, L'.'));
}

void TdxXMLNodeAttribute::SetValueAsDateTime(TDateTime AValue) {
  TdxXMLDateTime D;
  D.Assign(AValue, false);
  SetValueAsDateTime(D);
}

void TdxXMLNodeAttribute::SetValueAsDateTime(const TdxXMLDateTime& AValue) {
  SetValueAsString(AValue.ToString());
}

// ---------------------------------------------------------------------------
// TdxXMLNodeAttributes

TClass TdxXMLNodeAttributes::GetLinkedObjectClass() const {
  return TdxXMLNodeAttribute::StaticClass();
}

TcxDoublyLinkedObject* TdxXMLNodeAttributes::CreateLinkedObject() {
  return Create<TdxXMLNodeAttribute>();
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName) {
  TdxXMLNodeAttribute* A = static_cast<TdxXMLNodeAttribute*>(inherited::Add());
  A->SetName(AName);
  return A;
}

namespace {
// Appends an attribute and stores the value through one of its typed setters.
template <auto Setter, class T>
TdxXMLNodeAttribute* AddWithValue(TdxXMLNodeAttributes* AList, const TdxXMLString& AName,
                                  const T& AValue) {
  TdxXMLNodeAttribute* A = AList->Add(AName);
  (A->*Setter)(AValue);
  return A;
}

// A list-level integer read: the default when absent or unreadable.
template <auto Getter, class T>
T ValueOrDefault(const TdxXMLNodeAttributes* AList, const TdxXMLString& AName, T ADefault) {
  TdxXMLNodeAttribute* A;
  if (!AList->Find(AName, A)) return ADefault;
  try {
    return (A->*Getter)();
  } catch (const Exception&) {
    return ADefault;
  }
}
}  // namespace

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, bool AValue) {
  return AddWithValue<&TdxXMLNodeAttribute::SetValueAsBoolean>(this, AName, AValue);
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, Integer AValue) {
  return AddWithValue<&TdxXMLNodeAttribute::SetValueAsInteger>(this, AName, AValue);
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, Int64 AValue) {
  return AddWithValue<&TdxXMLNodeAttribute::SetValueAsInt64>(this, AName, AValue);
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, Double AValue) {
  return AddWithValue<&TdxXMLNodeAttribute::SetValueAsFloat>(this, AName, AValue);
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName,
                                               const TdxXMLString& AValue) {
  return AddWithValue<&TdxXMLNodeAttribute::SetValue>(this, AName, AValue);
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::Add(const TdxXMLString& AName, const String& AValue) {
  return AddWithValue<&TdxXMLNodeAttribute::SetValueAsString>(this, AName, AValue);
}

void TdxXMLNodeAttributes::Assign(TdxXMLNodeAttributes* ASource) {
  Clear();
  if (!ASource) return;
  for (TdxXMLNodeAttribute* A = ASource->First(); A; A = A->Next()) Add(A->Name(), A->Value());
}

void TdxXMLNodeAttributes::Delete(const TdxXMLString& AName) {
  TdxXMLNodeAttribute* A;
  if (Find(AName, A)) Delete(A);
}

bool TdxXMLNodeAttributes::Exists(const TdxXMLString& AName) const {
  TdxXMLNodeAttribute* A;
  return Find(AName, A);
}

bool TdxXMLNodeAttributes::Find(const TdxXMLString& AName, TdxXMLNodeAttribute*& AAttr) const {
  for (TdxXMLNodeAttribute* A = First(); A; A = A->Next()) {
    if (dxXMLSameName(A->Name().View(), AName.View())) {
      AAttr = A;
      return true;
    }
  }
  AAttr = nullptr;
  return false;
}

TdxXMLNodeAttribute* TdxXMLNodeAttributes::FindOrAdd(const TdxXMLString& AName) {
  TdxXMLNodeAttribute* A;
  return Find(AName, A) ? A : Add(AName);
}

TdxXMLString TdxXMLNodeAttributes::GetValue(const TdxXMLString& AName,
                                            const TdxXMLString& ADefault) const {
  TdxXMLNodeAttribute* A;
  return Find(AName, A) ? A->Value() : ADefault;
}

String TdxXMLNodeAttributes::GetValueAsString(const TdxXMLString& AName,
                                              const String& ADefault) const {
  TdxXMLNodeAttribute* A;
  return Find(AName, A) ? A->GetValueAsString() : ADefault;
}

bool TdxXMLNodeAttributes::GetValueAsBoolean(const TdxXMLString& AName, bool ADefault) const {
  TdxXMLNodeAttribute* A;
  return Find(AName, A) ? A->GetValueAsBoolean() : ADefault;
}

TdxDefaultBoolean TdxXMLNodeAttributes::GetValueAsDefaultBoolean(const TdxXMLString& AName) const {
  TdxXMLNodeAttribute* A;
  if (!Find(AName, A)) return bDefault;
  return A->GetValueAsBoolean() ? bTrue : bFalse;
}

Integer TdxXMLNodeAttributes::GetValueAsInteger(const TdxXMLString& AName, Integer ADefault) const {
  return ValueOrDefault<&TdxXMLNodeAttribute::GetValueAsInteger>(this, AName, ADefault);
}

Int64 TdxXMLNodeAttributes::GetValueAsInt64(const TdxXMLString& AName, Int64 ADefault) const {
  return ValueOrDefault<&TdxXMLNodeAttribute::GetValueAsInt64>(this, AName, ADefault);
}

Double TdxXMLNodeAttributes::GetValueAsFloat(const TdxXMLString& AName, Double ADefault) const {
  TdxXMLNodeAttribute* A;
  return Find(AName, A) ? A->GetValueAsFloat() : ADefault;
}

TDateTime TdxXMLNodeAttributes::GetValueAsDateTime(const TdxXMLString& AName,
                                                   TDateTime ADefault) const {
  TdxXMLNodeAttribute* A;
  return Find(AName, A) ? A->GetValueAsDateTime() : ADefault;
}

bool TdxXMLNodeAttributes::GetValueAsDateTime(const TdxXMLString& AName,
                                              TdxXMLDateTime& ADateTime) const {
  TdxXMLNodeAttribute* A;
  if (!Find(AName, A)) return false;
  ADateTime.Parse(A->GetValueAsString());
  return true;
}

void TdxXMLNodeAttributes::SetValue(const TdxXMLString& AName, const TdxXMLString& AValue) {
  FindOrAdd(AName)->SetValue(AValue);
}

void TdxXMLNodeAttributes::SetValueAsString(const TdxXMLString& AName, const String& AValue) {
  FindOrAdd(AName)->SetValueAsString(AValue);
}

void TdxXMLNodeAttributes::SetValueAsBoolean(const TdxXMLString& AName, bool AValue) {
  FindOrAdd(AName)->SetValueAsBoolean(AValue);
}

void TdxXMLNodeAttributes::SetValueAsDefaultBoolean(const TdxXMLString& AName,
                                                    TdxDefaultBoolean AValue) {
  if (AValue == bDefault)
    Delete(AName);
  else
    SetValueAsBoolean(AName, AValue == bTrue);
}

void TdxXMLNodeAttributes::SetValueAsInteger(const TdxXMLString& AName, Integer AValue) {
  FindOrAdd(AName)->SetValueAsInteger(AValue);
}

void TdxXMLNodeAttributes::SetValueAsInt64(const TdxXMLString& AName, Int64 AValue) {
  FindOrAdd(AName)->SetValueAsInt64(AValue);
}

void TdxXMLNodeAttributes::SetValueAsFloat(const TdxXMLString& AName, Double AValue) {
  FindOrAdd(AName)->SetValueAsFloat(AValue);
}

void TdxXMLNodeAttributes::SetValueAsDateTime(const TdxXMLString& AName, TDateTime AValue) {
  FindOrAdd(AName)->SetValueAsDateTime(AValue);
}

void TdxXMLNodeAttributes::SetValueAsDateTime(const TdxXMLString& AName,
                                              const TdxXMLDateTime& AValue) {
  FindOrAdd(AName)->SetValueAsDateTime(AValue);
}

// ---------------------------------------------------------------------------
// TdxXMLNodes

TdxXMLNodes::~TdxXMLNodes() { Clear(); }

TClass TdxXMLNodes::GetLinkedObjectClass() const { return TdxXMLNode::StaticClass(); }

TdxXMLNode* TdxXMLNodes::First() const { return static_cast<TdxXMLNode*>(inherited::First()); }

TdxXMLNode* TdxXMLNodes::Last() const { return static_cast<TdxXMLNode*>(inherited::Last()); }

void TdxXMLNodes::Clear() {
  // Each node is taken out of its list and loses its parent before it is
  // freed, and its own children wait in Pending: no destructor reaches a
  // second level, whatever the depth of the tree.
  std::vector<TdxXMLNode*> Pending;
  auto TakeAll = [&Pending](TdxXMLNodes* AList) {
    while (TdxXMLNode* N = AList->Last()) {
      AList->Extract(N);
      N->FParent = nullptr;
      Pending.push_back(N);
    }
  };
  TakeAll(this);
  while (!Pending.empty()) {
    TdxXMLNode* N = Pending.back();
    Pending.pop_back();
    if (N->FChildren) TakeAll(N->FChildren);
    N->Free();
  }
}

// ---------------------------------------------------------------------------
// TdxXMLNode

void TdxXMLNode::AfterConstruction() {
  inherited::AfterConstruction();
  FAttributes = CreateAttributes();
}

TdxXMLNode::~TdxXMLNode() {
  if (FParent && FParent->FChildren) FParent->FChildren->Extract(this);
  FreeAndNil(FAttributes);
  FreeAndNil(FChildren);
}

TdxXMLNodeAttributes* TdxXMLNode::CreateAttributes() { return Create<TdxXMLNodeAttributes>(this); }

bool TdxXMLNode::GetIsEmpty() const {
  return !FAttributes->First() && !GetFirst() && FText.IsEmpty();
}

TClass TdxXMLNode::GetNodeClass() const { return TdxXMLNode::StaticClass(); }

void TdxXMLNode::Clear() {
  FAttributes->Clear();
  FreeAndNil(FChildren);
}

bool TdxXMLNode::FindChild(const TdxXMLString& AName, TdxXMLNode*& ANode) const {
  for (TdxXMLNode* N = GetFirst(); N; N = N->GetNext()) {
    if (dxXMLSameName(N->FName.View(), AName.View())) {
      ANode = N;
      return true;
    }
  }
  ANode = nullptr;
  return false;
}

TdxXMLNode* TdxXMLNode::FindChild(const TdxXMLString& AName) const {
  TdxXMLNode* N;
  FindChild(AName, N);
  return N;
}

bool TdxXMLNode::FindChild(const TdxXMLNames& ANames, TdxXMLNode*& ANode, bool ACanCreate) {
  ANode = nullptr;
  if (ANames.empty()) return false;
  TdxXMLNode* Node = this;
  for (const TdxXMLString& Name : ANames) {
    TdxXMLNode* Child;
    if (!Node->FindChild(Name, Child) && ACanCreate) Child = Node->AddChild(Name);
    Node = Child;
    if (!Node) break;
  }
  ANode = Node;
  return Node != nullptr;
}

TdxXMLNode* TdxXMLNode::AddChild(const TdxXMLString& ATagName) {
  if (!FChildren) FChildren = Create<TdxXMLNodes>();
  TdxXMLNode* Child = As<TdxXMLNode>(GetNodeClass()->Create(nullptr));
  FChildren->DoAdd(Child);
  Child->FParent = this;
  Child->FName = ATagName;
  return Child;
}

void TdxXMLNode::Assign(TdxXMLNode* ASource) {
  // A copy with an explicit stack of (source, target) pairs: a tree of any
  // depth copies without exhausting the call stack.
  if (ASource == this) return;
  for (TdxXMLNode* N = ASource ? ASource->FParent : nullptr; N; N = N->FParent) {
    if (N == this) {
      // Clearing would free the source itself: copy it out first.
      TOwned<TdxXMLNode> Copy(Create<TdxXMLNode>());
      Copy->Assign(ASource);
      Assign(Copy.get());
      return;
    }
  }
  Clear();
  if (!ASource) return;
  struct TPair {
    TdxXMLNode* Source;
    TdxXMLNode* Target;
  };
  std::vector<TPair> Pending{{ASource, this}};
  while (!Pending.empty()) {
    const TPair P = Pending.back();
    Pending.pop_back();
    P.Target->FName = P.Source->FName;
    P.Target->FAttributes->Assign(P.Source->FAttributes);
    for (TdxXMLNode* C = P.Source->GetFirst(); C; C = C->GetNext())
      Pending.push_back({C, P.Target->AddChild(C->FName)});
  }
}

void TdxXMLNode::ForEach(TdxXMLNodeForEachProc AProc, Pointer AUserData) {
  for (TdxXMLNode* N = GetFirst(); N;) {
    TdxXMLNode* Next = N->GetNext();
    AProc(N, AUserData);
    N = Next;
  }
}

String TdxXMLNode::GetChildValue(const TdxXMLString& AName) const {
  TdxXMLNode* N;
  return FindChild(AName, N) ? N->GetTextAsString() : String();
}

void TdxXMLNode::SetAttribute(const TdxXMLString& AName, const Variant& AValue) {
  // Converting a float variant through the regional settings would write
  // "1,5", which no number reader of this module accepts back.
  switch (VarType(AValue) & varTypeMask) {
    case varSingle:
      FAttributes->SetValueAsString(
          AName, FloatToStrF(AValue.AsDouble(), ffGeneral, 7, 0, TFormatSettings::Invariant()));
      break;
    case varDouble:
    case varCurrency:
      FAttributes->SetValueAsString(AName, dxFloatToStr(AValue.AsDouble(), L'.'));
      break;
    default:
      FAttributes->SetValueAsString(AName, VarToStr(AValue));
  }
}

Integer TdxXMLNode::GetIndex() const {
  if (!FParent) return -1;
  Integer I = 0;
  for (TdxXMLNode* N = FParent->GetFirst(); N; N = N->GetNext(), ++I)
    if (N == this) return I;
  return -1;
}

TdxXMLNode* TdxXMLNode::GetItem(Integer AIndex) const {
  if (AIndex >= 0) {
    Integer I = 0;
    for (TdxXMLNode* N = GetFirst(); N; N = N->GetNext(), ++I)
      if (I == AIndex) return N;
  }
  throw EListError(Format(SListIndexError, {AIndex}));
}

Integer TdxXMLNode::GetLevel() const {
  Integer Level = -1;
  for (const TdxXMLNode* N = FParent; N; N = N->FParent) ++Level;
  return Level;
}

TdxXMLString TdxXMLNode::GetNameScope() const {
  const size_t P = FName.View().rfind(':');
  return P == std::string_view::npos ? TdxXMLString() : TdxXMLString(FName.View().substr(0, P + 1));
}

TdxXMLString TdxXMLNode::GetNameWithoutNameScope() const {
  const size_t P = FName.View().rfind(':');
  return P == std::string_view::npos ? FName : TdxXMLString(FName.View().substr(P + 1));
}

bool TdxXMLNode::GetTextAsBoolean() const { return TdxXMLHelper::DecodeBoolean(GetTextAsString()); }

void TdxXMLNode::SetTextAsBoolean(bool AValue) {
  SetTextAsString(TdxXMLHelper::EncodeBoolean(AValue));
}

TDateTime TdxXMLNode::GetTextAsDateTime() const {
  TdxXMLDateTime D;
  D.Parse(GetTextAsString());
  return D.ToDateTime();
}

void TdxXMLNode::SetTextAsDateTime(TDateTime AValue) {
  TdxXMLDateTime D;
  D.Assign(AValue, false);
  SetTextAsString(D.ToString());
}

bool TdxXMLNode::TextIsPreserveSpaceMode() const {
  TdxXMLNodeAttribute* A;
  return FAttributes->Find("xml:space", A) && dxXMLSameName(A->Value().View(), "preserve");
}

// ---------------------------------------------------------------------------
// TdxXMLDocument

TdxXMLDocument::TdxXMLDocument(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner) {}

TdxXMLDocument::~TdxXMLDocument() { FreeAndNil(FRoot); }

void TdxXMLDocument::AfterConstruction() {
  inherited::AfterConstruction();
  FRoot = CreateRootNode();
}

TdxXMLDocument* TdxXMLDocument::CreateEx(const String& AFileName) {
  TOwned<TdxXMLDocument> Document(Create<TdxXMLDocument>(nullptr));
  Document->LoadFromFile(AFileName);
  return Document.release();
}

TdxXMLNode* TdxXMLDocument::CreateRootNode() { return Create<TdxXMLNode>(); }

TdxXMLNode* TdxXMLDocument::FindChild(const TdxXMLNames& ANames) const {
  TdxXMLNode* N;
  FRoot->FindChild(ANames, N, false);
  return N;
}

void TdxXMLDocument::ForEach(const TdxXMLNames& ANames, TdxXMLNodeForEachProc AProc,
                             Pointer AUserData) {
  TdxXMLNode* N;
  if (FRoot->FindChild(ANames, N, false)) N->ForEach(AProc, AUserData);
}
