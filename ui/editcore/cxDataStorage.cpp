#include "cxDataStorage.h"

#include <algorithm>
#include <cstring>

namespace {

template <class T>
T Load(Pointer ABuffer) {
  T Value;
  std::memcpy(&Value, ABuffer, sizeof(T));
  return Value;
}

template <class T>
void Store(Pointer ABuffer, T AValue) {
  std::memcpy(ABuffer, &AValue, sizeof(T));
}

template <class T>
Integer Sign(T A, T B) {
  return A < B ? -1 : (B < A ? 1 : 0);
}

// 0 when equal, 1 when greater or equal, else -1: what the floating types
// answer (NaN against anything is -1).
template <class T>
Integer FloatOrder(T A, T B) {
  if (A == B) return 0;
  return A >= B ? 1 : -1;
}

String* HeapString(Pointer ABuffer) { return Load<String*>(ABuffer); }

bool StreamIsUnicode(TStream* AStream) {
  auto* S = AsOrNull<TcxDataStream>(AStream);
  return !S || S->Unicode();
}

// The wide-string block: a 32-bit character count, then the characters.
Pointer NewWideBlock(const String& S) {
  Integer Count = static_cast<Integer>(S.size());
  auto* Block = new Byte[sizeof(Integer) + S.size() * sizeof(Char)];
  std::memcpy(Block, &Count, sizeof(Integer));
  if (Count) std::memcpy(Block + sizeof(Integer), S.data(), S.size() * sizeof(Char));
  return Block;
}

String WideBlockText(Pointer ABlock) {
  if (!ABlock) return String();
  const Byte* B = static_cast<const Byte*>(ABlock);
  Integer Count = Load<Integer>(const_cast<Byte*>(B));
  String R(static_cast<size_t>(Count), L'\0');
  if (Count) std::memcpy(R.data(), B + sizeof(Integer), R.size() * sizeof(Char));
  return R;
}

Variant WideStringVariant(const String& S) { return VarAsType(Variant(S), varOleStr); }

bool ClassListFinalized = false;
TcxValueTypeClassList* FValueTypeClassList = nullptr;

// In the order the list gets them at start-up.
std::vector<TcxValueTypeClass> RegisteredTypes() {
  return {cxValueTypeClass<TcxStringValueType>(),       cxValueTypeClass<TcxWideStringValueType>(),
          cxValueTypeClass<TcxSmallintValueType>(),     cxValueTypeClass<TcxIntegerValueType>(),
          cxValueTypeClass<TcxWordValueType>(),         cxValueTypeClass<TcxBooleanValueType>(),
          cxValueTypeClass<TcxSingleValueType>(),       cxValueTypeClass<TcxFloatValueType>(),
          cxValueTypeClass<TcxCurrencyValueType>(),     cxValueTypeClass<TcxDateTimeValueType>(),
          cxValueTypeClass<TcxLargeIntValueType>(),     cxValueTypeClass<TcxFMTBcdValueType>(),
          cxValueTypeClass<TcxSQLTimeStampValueType>(), cxValueTypeClass<TcxVariantValueType>(),
          cxValueTypeClass<TcxObjectValueType>(),       cxValueTypeClass<TcxBLOBValueType>()};
}

}  // namespace

IMPLEMENT_CLASS(TcxDataStream)

String cxReadStreamString(TStream* AStream) {
  if (StreamIsUnicode(AStream)) return ReadWideStringFunc(AStream);
  return dxAnsiStringToString(ReadAnsiStringFunc(AStream));
}

void cxWriteStreamString(TStream* AStream, const String& AValue) {
  if (StreamIsUnicode(AStream))
    WriteWideStringProc(AStream, AValue);
  else
    WriteAnsiStringProc(AStream, dxStringToAnsiString(AValue));
}

String dxVarToWideString(const Variant& V) { return VarIsNull(V) ? String() : V.AsString(); }

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TcxValueType)

Integer TcxValueType::Compare(Pointer P1, Pointer P2) const {
  PrepareValueBuffer(P1);
  PrepareValueBuffer(P2);
  return CompareValues(P1, P2);
}

void TcxValueType::FreeTextBuffer(Pointer ABuffer) const {
  delete HeapString(ABuffer);
  Store<String*>(ABuffer, nullptr);
}

String TcxValueType::GetDefaultDisplayText(Pointer ABuffer) const {
  try {
    return VarToStr(DataValue(ABuffer));
  } catch (const EVariantError&) {
    return String();
  }
}

String TcxValueType::GetDisplayText(Pointer ABuffer) const {
  String* S = HeapString(ABuffer);
  return S ? *S : String();
}

void TcxValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  SetDataValue(ABuffer, ReadVariantFunc(AStream));
}

void TcxValueType::ReadDisplayText(Pointer ABuffer, TStream* AStream) const {
  SetDisplayText(ABuffer, cxReadStreamString(AStream));
}

void TcxValueType::SetDisplayText(Pointer ABuffer, const String& DisplayText) const {
  String* S = HeapString(ABuffer);
  if (S) {
    *S = DisplayText;
  } else {
    Store<String*>(ABuffer, new String(DisplayText));
  }
}

void TcxValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteVariantProc(AStream, DataValue(ABuffer));
}

void TcxValueType::WriteDisplayText(Pointer ABuffer, TStream* AStream) const {
  cxWriteStreamString(AStream, GetDisplayText(ABuffer));
}

String TcxValueType::Caption() const {
  String R = ClassName();
  if (R.rfind(L"Tcx", 0) == 0) R.erase(0, 3);
  size_t P = R.find(L"ValueType");
  if (P != String::npos) R.erase(P, 9);
  return R;
}

Integer TcxValueType::CompareValues(Pointer P1, Pointer P2) const {
  return VarCompare(GetValue(P1), GetValue(P2));
}

Variant TcxValueType::GetValue(Pointer P) const { return DataValue(P); }

bool TcxValueType::IsValueValid(Variant& Value) const {
  if (VarIsNull(Value) || GetVarType() == varVariant) return true;
  try {
    Value = VarAsType(Value, GetVarType());
    return true;
  } catch (const EVariantError&) {
    return false;
  }
}

IMPLEMENT_CLASS(TcxPointerValueType)

void TcxPointerValueType::PrepareValueBuffer(Pointer& ABuffer) const {
  ABuffer = Load<Pointer>(ABuffer);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TcxStringValueType)

void TcxStringValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = GetValue(HeapString(ABuffer));
}

void TcxStringValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  SetDisplayText(ABuffer, cxReadStreamString(AStream));
}

void TcxStringValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  if (VarIsArray(Value))
    SetDisplayText(ABuffer, dxAnsiStringToString(dxVariantToAnsiString(Value)));
  else
    SetDisplayText(ABuffer, VarToStr(Value));
}

void TcxStringValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  cxWriteStreamString(AStream, GetDisplayText(ABuffer));
}

Integer TcxStringValueType::CompareValues(Pointer P1, Pointer P2) const {
  auto* S1 = static_cast<String*>(P1);
  auto* S2 = static_cast<String*>(P2);
  if (!S1 || !S2) return Sign(S1 != nullptr, S2 != nullptr);
  Integer R = S1->compare(*S2);
  return Sign(R, 0);
}

Variant TcxStringValueType::GetValue(Pointer P) const {
  auto* S = static_cast<String*>(P);
  return S ? VarAsType(Variant(*S), GetVarType()) : Null();
}

IMPLEMENT_CLASS(TcxWideStringValueType)

void TcxWideStringValueType::FreeBuffer(Pointer ABuffer) const {
  delete[] Load<Byte*>(ABuffer);
  Store<Pointer>(ABuffer, nullptr);
}

void TcxWideStringValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = GetValue(Load<Pointer>(ABuffer));
}

void TcxWideStringValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  SetDataValue(ABuffer, ReadWideStringFunc(AStream));
}

void TcxWideStringValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Pointer Block = VarIsNull(Value) ? nullptr : NewWideBlock(dxVarToWideString(Value));
  FreeBuffer(ABuffer);
  Store(ABuffer, Block);
}

void TcxWideStringValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteWideStringProc(AStream, dxVarToWideString(DataValue(ABuffer)));
}

Integer TcxWideStringValueType::CompareValues(Pointer P1, Pointer P2) const {
  return Sign(WideBlockText(P1).compare(WideBlockText(P2)), 0);
}

Variant TcxWideStringValueType::GetValue(Pointer P) const {
  return P ? WideStringVariant(WideBlockText(P)) : Null();
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TcxSmallintValueType)

void TcxSmallintValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = Load<SmallInt>(ABuffer);
}
void TcxSmallintValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  SetDataValue(ABuffer, ReadSmallIntFunc(AStream));
}
void TcxSmallintValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<SmallInt>(ABuffer, VarAsType(Value, varSmallint).Var().iVal);
}
void TcxSmallintValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteSmallIntProc(AStream, Load<SmallInt>(ABuffer));
}
Integer TcxSmallintValueType::CompareValues(Pointer P1, Pointer P2) const {
  return Load<SmallInt>(P1) - Load<SmallInt>(P2);
}

IMPLEMENT_CLASS(TcxIntegerValueType)

void TcxIntegerValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = Load<Integer>(ABuffer);
}
void TcxIntegerValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  SetDataValue(ABuffer, ReadIntegerFunc(AStream));
}
void TcxIntegerValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<Integer>(ABuffer, Value.AsInteger());
}
void TcxIntegerValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteIntegerProc(AStream, Load<Integer>(ABuffer));
}
Integer TcxIntegerValueType::CompareValues(Pointer P1, Pointer P2) const {
  return Sign(Load<Integer>(P1), Load<Integer>(P2));
}

IMPLEMENT_CLASS(TcxWordValueType)

void TcxWordValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = Load<Word>(ABuffer);
}
void TcxWordValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  SetDataValue(ABuffer, ReadWordFunc(AStream));
}
void TcxWordValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<Word>(ABuffer, VarAsType(Value, varWord).Var().uiVal);
}
void TcxWordValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteWordProc(AStream, Load<Word>(ABuffer));
}
Integer TcxWordValueType::CompareValues(Pointer P1, Pointer P2) const {
  return Integer(Load<Word>(P1)) - Integer(Load<Word>(P2));
}

IMPLEMENT_CLASS(TcxBooleanValueType)

void TcxBooleanValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = Load<Byte>(ABuffer) != 0;
}
String TcxBooleanValueType::GetDefaultDisplayText(Pointer ABuffer) const {
  return Load<Byte>(ABuffer) != 0 ? L"True" : L"False";
}
void TcxBooleanValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  SetDataValue(ABuffer, ReadBooleanFunc(AStream));
}
void TcxBooleanValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<Byte>(ABuffer, Value.AsBoolean() ? 1 : 0);
}
void TcxBooleanValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteBooleanProc(AStream, Load<Byte>(ABuffer) != 0);
}
Integer TcxBooleanValueType::CompareValues(Pointer P1, Pointer P2) const {
  return Integer(Load<Byte>(P1) != 0) - Integer(Load<Byte>(P2) != 0);
}

IMPLEMENT_CLASS(TcxSingleValueType)

void TcxSingleValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = static_cast<Double>(Load<Single>(ABuffer));
}
void TcxSingleValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  Single S = 0;
  ReadSingleProc(AStream, S);
  Store(ABuffer, S);
}
void TcxSingleValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<Single>(ABuffer, VarAsType(Value, varSingle).Var().fltVal);
}
void TcxSingleValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteSingleProc(AStream, Load<Single>(ABuffer));
}
Integer TcxSingleValueType::CompareValues(Pointer P1, Pointer P2) const {
  return FloatOrder(Load<Single>(P1), Load<Single>(P2));
}

IMPLEMENT_CLASS(TcxFloatValueType)

void TcxFloatValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = Load<Double>(ABuffer);
}
void TcxFloatValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  Extended E = 0;
  ReadFloatProc(AStream, E);
  Store<Double>(ABuffer, static_cast<Double>(E));
}
void TcxFloatValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<Double>(ABuffer, Value.AsDouble());
}
void TcxFloatValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteFloatProc(AStream, Load<Double>(ABuffer));
}
Integer TcxFloatValueType::CompareValues(Pointer P1, Pointer P2) const {
  return FloatOrder(Load<Double>(P1), Load<Double>(P2));
}

IMPLEMENT_CLASS(TcxCurrencyValueType)

void TcxCurrencyValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = Currency{Load<Int64>(ABuffer)};
}
void TcxCurrencyValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  SetDataValue(ABuffer, ReadCurrencyFunc(AStream));
}
void TcxCurrencyValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<Int64>(ABuffer, VarAsType(Value, varCurrency).Var().cyVal.int64);
}
void TcxCurrencyValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteCurrencyProc(AStream, Currency{Load<Int64>(ABuffer)});
}
Integer TcxCurrencyValueType::CompareValues(Pointer P1, Pointer P2) const {
  return Sign(Load<Int64>(P1), Load<Int64>(P2));
}

IMPLEMENT_CLASS(TcxDateTimeValueType)

TDateTime TcxDateTimeValueType::GetDateTime(Pointer ABuffer) const {
  return Load<TDateTime>(ABuffer);
}
void TcxDateTimeValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = Variant::FromDateTime(GetDateTime(ABuffer));
}
String TcxDateTimeValueType::GetDefaultDisplayText(Pointer ABuffer) const {
  try {
    return DataValue(ABuffer).AsString();
  } catch (const EVariantError&) {
    return DateTimeToStr(GetDateTime(ABuffer));
  }
}
void TcxDateTimeValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  SetDataValue(ABuffer, Variant::FromDateTime(ReadDateTimeFunc(AStream)));
}
void TcxDateTimeValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<TDateTime>(ABuffer, Value.AsDateTime());
}
void TcxDateTimeValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteDateTimeProc(AStream, GetDateTime(ABuffer));
}
Integer TcxDateTimeValueType::CompareValues(Pointer P1, Pointer P2) const {
  return FloatOrder(Load<TDateTime>(P1), Load<TDateTime>(P2));
}

IMPLEMENT_CLASS(TcxLargeIntValueType)

void TcxLargeIntValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = Load<Int64>(ABuffer);
}
void TcxLargeIntValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  AStream->ReadBuffer(ABuffer, 8);
}
void TcxLargeIntValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<Int64>(ABuffer, Value.AsInt64());
}
void TcxLargeIntValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  AStream->WriteBuffer(ABuffer, 8);
}
Integer TcxLargeIntValueType::CompareValues(Pointer P1, Pointer P2) const {
  return Sign(Load<Int64>(P1), Load<Int64>(P2));
}

IMPLEMENT_CLASS(TcxFMTBcdValueType)

void TcxFMTBcdValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = VarFMTBcdCreate(Load<TBcd>(ABuffer));
}
String TcxFMTBcdValueType::GetDefaultDisplayText(Pointer ABuffer) const {
  return BcdToStr(Load<TBcd>(ABuffer));
}
void TcxFMTBcdValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<TBcd>(ABuffer, VarToBcd(Value));
}
Integer TcxFMTBcdValueType::CompareValues(Pointer P1, Pointer P2) const {
  return BcdCompare(Load<TBcd>(P1), Load<TBcd>(P2));
}

IMPLEMENT_CLASS(TcxSQLTimeStampValueType)

void TcxSQLTimeStampValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = Variant::FromDateTime(VarSQLTimeStampCreate(Load<TSQLTimeStamp>(ABuffer)).AsDateTime());
}
void TcxSQLTimeStampValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<TSQLTimeStamp>(ABuffer, VarToSQLTimeStamp(Value));
}
Integer TcxSQLTimeStampValueType::CompareValues(Pointer P1, Pointer P2) const {
  TSQLTimeStamp A = Load<TSQLTimeStamp>(P1), B = Load<TSQLTimeStamp>(P2);
  const Integer Fields1[] = {A.Year, A.Month, A.Day, A.Hour, A.Minute, A.Second};
  const Integer Fields2[] = {B.Year, B.Month, B.Day, B.Hour, B.Minute, B.Second};
  for (size_t I = 0; I < std::size(Fields1); ++I)
    if (Fields1[I] != Fields2[I]) return Fields1[I] - Fields2[I];
  return Sign(A.Fractions, B.Fractions);
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TcxVariantValueType)

void TcxVariantValueType::FreeBuffer(Pointer ABuffer) const {
  delete Load<Variant*>(ABuffer);
  Store<Variant*>(ABuffer, nullptr);
}
void TcxVariantValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = GetValue(Load<Pointer>(ABuffer));
}
void TcxVariantValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  if (auto* V = Load<Variant*>(ABuffer))
    *V = Value;
  else
    Store<Variant*>(ABuffer, new Variant(Value));
}
Integer TcxVariantValueType::CompareValues(Pointer P1, Pointer P2) const {
  if (!P1 || !P2) return Sign(P1 != nullptr, P2 != nullptr);
  return VarCompare(*static_cast<Variant*>(P1), *static_cast<Variant*>(P2));
}
Variant TcxVariantValueType::GetValue(Pointer P) const {
  return P ? *static_cast<Variant*>(P) : Null();
}

IMPLEMENT_CLASS(TcxBLOBValueType)

AnsiString TcxBLOBValueType::GetAnsiString(Pointer ABuffer) const {
  auto* S = Load<AnsiString*>(ABuffer);
  return S ? *S : AnsiString();
}
void TcxBLOBValueType::FreeBuffer(Pointer ABuffer) const {
  delete Load<AnsiString*>(ABuffer);
  Store<AnsiString*>(ABuffer, nullptr);
}
void TcxBLOBValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = GetValue(Load<Pointer>(ABuffer));
}
void TcxBLOBValueType::ReadDataValue(Pointer ABuffer, TStream* AStream) const {
  SetDataValue(ABuffer, Variant::FromAnsiString(ReadAnsiStringFunc(AStream)));
}
void TcxBLOBValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  // Null is no data at all, as a nil holder reads back.
  if (VarIsNull(Value)) {
    FreeBuffer(ABuffer);
    return;
  }
  AnsiString Bytes = dxVariantToAnsiString(Value);
  if (auto* S = Load<AnsiString*>(ABuffer))
    *S = std::move(Bytes);
  else
    Store<AnsiString*>(ABuffer, new AnsiString(std::move(Bytes)));
}
void TcxBLOBValueType::WriteDataValue(Pointer ABuffer, TStream* AStream) const {
  WriteAnsiStringProc(AStream, GetAnsiString(ABuffer));
}
Integer TcxBLOBValueType::CompareValues(Pointer P1, Pointer P2) const {
  if (!P1 || !P2) return Sign(P1 != nullptr, P2 != nullptr);
  const auto& A = *static_cast<AnsiString*>(P1);
  const auto& B = *static_cast<AnsiString*>(P2);
  // Bytes compare unsigned, whatever char is here.
  size_t N = std::min(A.size(), B.size());
  Integer R = N ? std::memcmp(A.data(), B.data(), N) : 0;
  return R != 0 ? Sign(R, 0) : Sign(A.size(), B.size());
}
Variant TcxBLOBValueType::GetValue(Pointer P) const {
  return P ? Variant::FromAnsiString(*static_cast<AnsiString*>(P)) : Null();
}

IMPLEMENT_CLASS(TcxObjectValueType)

void TcxObjectValueType::FreeBuffer(Pointer ABuffer) const {
  auto* Object = Load<TObject*>(ABuffer);
  Store<TObject*>(ABuffer, nullptr);
  if (Object) Object->Free();
}
void TcxObjectValueType::GetDataValue(Pointer ABuffer, Variant& Value) const {
  Value = static_cast<NativeInt>(reinterpret_cast<NativeUInt>(Load<Pointer>(ABuffer)));
}
void TcxObjectValueType::SetDataValue(Pointer ABuffer, const Variant& Value) const {
  Store<Pointer>(ABuffer, reinterpret_cast<Pointer>(static_cast<NativeInt>(Value.AsInt64())));
}
Integer TcxObjectValueType::CompareValues(Pointer P1, Pointer P2) const {
  return Sign(Load<NativeUInt>(P1), Load<NativeUInt>(P2));
}

// ---------------------------------------------------------------------------
IMPLEMENT_CLASS(TcxValueTypeClassList)

void TcxValueTypeClassList::RegisterItem(TcxValueTypeClass AValueTypeClass) {
  if (std::find(FItems.begin(), FItems.end(), AValueTypeClass) == FItems.end())
    FItems.push_back(AValueTypeClass);
}

void TcxValueTypeClassList::UnregisterItem(TcxValueTypeClass AValueTypeClass) {
  auto It = std::find(FItems.begin(), FItems.end(), AValueTypeClass);
  if (It != FItems.end()) FItems.erase(It);
}

TcxValueTypeClass TcxValueTypeClassList::Items(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= Count())
    throw EListError(Format(L"List index out of bounds (%d)", {AIndex}));
  return FItems[static_cast<size_t>(AIndex)];
}

TcxValueTypeClass TcxValueTypeClassList::ItemByCaption(const String& ACaption) const {
  for (TcxValueTypeClass T : FItems)
    if (T->Caption() == ACaption) return T;
  return nullptr;
}

TcxValueTypeClassList* cxValueTypeClassList() {
  if (!FValueTypeClassList && !ClassListFinalized)
    FValueTypeClassList = Create<TcxValueTypeClassList>();
  return FValueTypeClassList;
}

void cxDataStorage_Initialize() {
  ClassListFinalized = false;
  if (TcxValueTypeClassList* L = cxValueTypeClassList())
    for (TcxValueTypeClass T : RegisteredTypes()) L->RegisterItem(T);
}

void cxDataStorage_Finalize() {
  if (FValueTypeClassList) {
    std::vector<TcxValueTypeClass> Types = RegisteredTypes();
    for (auto It = Types.rbegin(); It != Types.rend(); ++It)
      FValueTypeClassList->UnregisterItem(*It);
  }
  ClassListFinalized = true;
  FreeAndNil(FValueTypeClassList);
}
