#include "cxVariants.h"

#include <cstring>

#include "cxDataConsts.h"

namespace {

// The kind of the value V holds or refers to, array flag included.
TVarType KindOf(const Variant& V) {
  TVarType T = VarType(V);
  return (T & varByRef) ? VarType(Variant(V)) : T;
}

Integer CompareValues(const Variant& V1, const Variant& V2) {
  try {
    if (VarIsEmpty(V1)) return VarIsEmpty(V2) ? 0 : -1;
    if (VarIsEmpty(V2)) return 1;
    if (V1 == V2) return 0;
    if (VarIsNull(V1)) return -1;
    if (VarIsNull(V2)) return 1;
    return V1 < V2 ? -1 : 1;
  } catch (const EVariantError&) {
    return -1;
  }
}

[[noreturn]] void RaiseReadError() { throw EReadError(cxGetResourceString(&cxSDataReadError)); }
[[noreturn]] void RaiseWriteError() { throw EWriteError(cxGetResourceString(&cxSDataWriteError)); }

template <class T>
T ReadValue(TStream* AStream) {
  T Value{};
  AStream->ReadBuffer(&Value, sizeof(T));
  return Value;
}

template <class T>
void WriteValue(TStream* AStream, T AValue) {
  AStream->WriteBuffer(&AValue, sizeof(T));
}

// A count read from the stream that promises more bytes than are left is a
// damaged stream, not a request for memory.
Integer CheckedCount(TStream* AStream, Int64 ACount, Int64 ABytesPerItem) {
  if (ACount < 0 || ACount > INT32_MAX) RaiseReadError();
  Int64 Left = AStream->Size() - AStream->Position();
  if (ACount * ABytesPerItem > Left) RaiseReadError();
  return static_cast<Integer>(ACount);
}

void WriteTag(TStream* AStream, TValueType ATag) { WriteValue<Byte>(AStream, ATag); }

void WriteIntegerValue(TStream* AStream, Int64 AValue) {
  if (AValue >= -128 && AValue <= 127) {
    WriteTag(AStream, vaInt8);
    WriteValue<ShortInt>(AStream, static_cast<ShortInt>(AValue));
  } else if (AValue >= -32768 && AValue <= 32767) {
    WriteTag(AStream, vaInt16);
    WriteValue<SmallInt>(AStream, static_cast<SmallInt>(AValue));
  } else if (AValue >= INT32_MIN && AValue <= INT32_MAX) {
    WriteTag(AStream, vaInt32);
    WriteValue<Integer>(AStream, static_cast<Integer>(AValue));
  } else {
    WriteTag(AStream, vaInt64);
    WriteValue<Int64>(AStream, AValue);
  }
}

Int64 ReadIntegerValue(TStream* AStream) {
  switch (ReadValue<Byte>(AStream)) {
    case vaInt8:
      return ReadValue<ShortInt>(AStream);
    case vaInt16:
      return ReadValue<SmallInt>(AStream);
    case vaInt32:
      return ReadValue<Integer>(AStream);
    case vaInt64:
      return ReadValue<Int64>(AStream);
    default:
      RaiseReadError();
  }
}

void WriteAnsiStringValue(TStream* AStream, const AnsiString& AValue) {
  if (AValue.size() < 256) {
    WriteTag(AStream, vaString);
    WriteValue<Byte>(AStream, static_cast<Byte>(AValue.size()));
  } else {
    WriteTag(AStream, vaLString);
    WriteValue<Integer>(AStream, static_cast<Integer>(AValue.size()));
  }
  AStream->WriteBuffer(AValue.data(), static_cast<Integer>(AValue.size()));
}

AnsiString ReadBytes(TStream* AStream, Integer ACount) {
  AnsiString R(static_cast<size_t>(ACount), '\0');
  AStream->ReadBuffer(R.data(), ACount);
  return R;
}

void WriteArray(TStream* AStream, const Variant& AValue) {
  if (VarArrayDimCount(AValue) != 1) RaiseWriteError();
  Integer Low = VarArrayLowBound(AValue, 1), High = VarArrayHighBound(AValue, 1);
  WriteTag(AStream, vaList);
  WriteIntegerValue(AStream, Int64(High) - Low + 1);
  for (Integer I = Low; I <= High; ++I) WriteVariantProc(AStream, VarArrayGet(AValue, {I}));
}

// Kinds the stream has no tag for travel as their 8-bit text.
void WriteAsText(TStream* AStream, const Variant& AValue) {
  AnsiString Text;
  try {
    Text = dxVariantToAnsiString(AValue);
  } catch (const Exception&) {
    RaiseWriteError();
  }
  WriteAnsiStringValue(AStream, Text);
}

}  // namespace

// ---------------------------------------------------------------------------
// Comparison and type tests

Integer VarArrayCompare(const Variant& V1, const Variant& V2) {
  bool A1 = VarIsArray(V1), A2 = VarIsArray(V2);
  if (!A1 || !A2) return A1 ? 1 : (A2 ? -1 : 0);
  Integer Low1 = VarArrayLowBound(V1, 1), Low2 = VarArrayLowBound(V2, 1);
  Integer Count1 = VarArrayHighBound(V1, 1) - Low1 + 1;
  Integer Count2 = VarArrayHighBound(V2, 1) - Low2 + 1;
  if (Count1 != Count2) return Count1 - Count2;
  for (Integer I = 0; I < Count1; ++I) {
    Integer R = VarCompare(VarArrayGet(V1, {Low1 + I}), VarArrayGet(V2, {Low2 + I}));
    if (R != 0) return R;
  }
  return 0;
}

Integer VarCompare(const Variant& V1, const Variant& V2) {
  if (VarIsArray(V1) || VarIsArray(V2)) return VarArrayCompare(V1, V2);
  return CompareValues(V1, V2);
}

bool VarEquals(const Variant& V1, const Variant& V2) { return VarCompare(V1, V2) == 0; }

bool VarEqualsExact(const Variant& V1, const Variant& V2) {
  bool Bool1 = KindOf(V1) == varBoolean, Bool2 = KindOf(V2) == varBoolean;
  if (VarIsNull(V1) || VarIsNull(V2) || (!Bool1 && !Bool2)) return VarEquals(V1, V2);
  try {
    return V1.AsString() == V2.AsString();
  } catch (const EVariantError&) {
    return false;
  }
}

bool VarIsDate(const Variant& V) {
  TVarType T = KindOf(V);
  return T == varDate || T == varSQLTimeStamp;
}

bool VarIsNumericEx(const Variant& V) { return VarIsNumeric(V) || KindOf(V) == varFMTBcd; }

bool VarIsSoftNull(const Variant& V) {
  return VarIsNull(V) || (VarIsStr(V) && V.AsString().empty());
}

// ---------------------------------------------------------------------------
// Fixed-width helpers

bool ReadBooleanFunc(TStream* AStream) { return ReadValue<Byte>(AStream) != 0; }
void ReadBooleanProc(TStream* AStream, bool& AValue) { AValue = ReadBooleanFunc(AStream); }
void WriteBooleanProc(TStream* AStream, bool AValue) { WriteValue<Byte>(AStream, AValue ? 1 : 0); }

SmallInt ReadSmallIntFunc(TStream* AStream) { return ReadValue<SmallInt>(AStream); }
void ReadSmallIntProc(TStream* AStream, SmallInt& AValue) { AValue = ReadSmallIntFunc(AStream); }
void WriteSmallIntProc(TStream* AStream, SmallInt AValue) { WriteValue(AStream, AValue); }

Word ReadWordFunc(TStream* AStream) { return ReadValue<Word>(AStream); }
void ReadWordProc(TStream* AStream, Word& AValue) { AValue = ReadWordFunc(AStream); }
void WriteWordProc(TStream* AStream, Word AValue) { WriteValue(AStream, AValue); }

Integer ReadIntegerFunc(TStream* AStream) { return ReadValue<Integer>(AStream); }
void ReadIntegerProc(TStream* AStream, Integer& AValue) { AValue = ReadIntegerFunc(AStream); }
void WriteIntegerProc(TStream* AStream, Integer AValue) { WriteValue(AStream, AValue); }

Int64 ReadLargeIntFunc(TStream* AStream) { return ReadValue<Int64>(AStream); }
void ReadLargeIntProc(TStream* AStream, Int64& AValue) { AValue = ReadLargeIntFunc(AStream); }
void WriteLargeIntProc(TStream* AStream, Int64 AValue) { WriteValue(AStream, AValue); }

void ReadSingleProc(TStream* AStream, Single& AValue) { AValue = ReadValue<Single>(AStream); }
void WriteSingleProc(TStream* AStream, Single AValue) { WriteValue(AStream, AValue); }

static_assert(sizeof(Extended) >= 10, "Extended is the 80-bit type");

void ReadFloatProc(TStream* AStream, Extended& AValue) {
  Extended Value = 0;
  unsigned char Bytes[sizeof(Extended)] = {};
  AStream->ReadBuffer(Bytes, 10);
  std::memcpy(&Value, Bytes, sizeof(Extended));
  AValue = Value;
}

void WriteFloatProc(TStream* AStream, Extended AValue) {
  unsigned char Bytes[sizeof(Extended)] = {};
  std::memcpy(Bytes, &AValue, sizeof(Extended));
  AStream->WriteBuffer(Bytes, 10);
}

Currency ReadCurrencyFunc(TStream* AStream) { return Currency{ReadValue<Int64>(AStream)}; }
void ReadCurrencyProc(TStream* AStream, Currency& AValue) { AValue = ReadCurrencyFunc(AStream); }
void WriteCurrencyProc(TStream* AStream, Currency AValue) { WriteValue(AStream, AValue.Scaled); }

TDateTime ReadDateTimeFunc(TStream* AStream) { return ReadValue<Double>(AStream); }
void ReadDateTimeProc(TStream* AStream, TDateTime& AValue) { AValue = ReadDateTimeFunc(AStream); }
void WriteDateTimeProc(TStream* AStream, TDateTime AValue) { WriteValue<Double>(AStream, AValue); }

AnsiString ReadAnsiStringFunc(TStream* AStream) {
  Integer Count = CheckedCount(AStream, ReadValue<Integer>(AStream), 1);
  return ReadBytes(AStream, Count);
}
void ReadAnsiStringProc(TStream* AStream, AnsiString& AValue) {
  AValue = ReadAnsiStringFunc(AStream);
}
void WriteAnsiStringProc(TStream* AStream, const AnsiString& AValue) {
  WriteValue<Integer>(AStream, static_cast<Integer>(AValue.size()));
  AStream->WriteBuffer(AValue.data(), static_cast<Integer>(AValue.size()));
}

String ReadWideStringFunc(TStream* AStream) {
  Integer Count = CheckedCount(AStream, ReadValue<Integer>(AStream), 2);
  String R(static_cast<size_t>(Count), L'\0');
  AStream->ReadBuffer(R.data(), Count * 2);
  return R;
}
void ReadWideStringProc(TStream* AStream, String& AValue) { AValue = ReadWideStringFunc(AStream); }
void WriteWideStringProc(TStream* AStream, const String& AValue) {
  WriteValue<Integer>(AStream, static_cast<Integer>(AValue.size()));
  AStream->WriteBuffer(AValue.data(), static_cast<Integer>(AValue.size() * 2));
}

// ---------------------------------------------------------------------------
// The variant stream

void WriteVariantProc(TStream* AStream, const Variant& AValue) {
  if (VarIsArray(AValue)) {
    WriteArray(AStream, AValue);
    return;
  }
  switch (KindOf(AValue)) {
    case varEmpty:
      WriteTag(AStream, vaNil);
      break;
    case varNull:
      WriteTag(AStream, vaNull);
      break;
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
      WriteIntegerValue(AStream, AValue.AsInt64());
      break;
    case varSingle:
      WriteTag(AStream, vaSingle);
      WriteSingleProc(AStream, static_cast<Single>(AValue.AsDouble()));
      break;
    case varDouble:
      WriteTag(AStream, vaExtended);
      WriteFloatProc(AStream, AValue.AsDouble());
      break;
    case varCurrency:
      WriteTag(AStream, vaCurrency);
      WriteCurrencyProc(AStream, Currency{Variant(AValue).Var().cyVal.int64});
      break;
    case varDate:
    case varSQLTimeStamp:
      WriteTag(AStream, vaDate);
      WriteDateTimeProc(AStream, AValue.AsDateTime());
      break;
    case varOleStr:
      WriteTag(AStream, vaWString);
      WriteWideStringProc(AStream, AValue.AsString());
      break;
    case varBoolean:
      WriteTag(AStream, AValue.AsBoolean() ? vaTrue : vaFalse);
      break;
    case varString:
      WriteAnsiStringValue(AStream, AValue.AsAnsiString());
      break;
    default:
      WriteAsText(AStream, AValue);
      break;
  }
}

void ReadVariantProc(TStream* AStream, Variant& AValue) {
  AValue = Null();
  switch (ReadValue<Byte>(AStream)) {
    case vaNull:
      break;
    case vaList: {
      Integer Count = CheckedCount(AStream, ReadIntegerValue(AStream), 1);
      Variant A = VarArrayCreate({0, Count - 1}, varVariant);
      for (Integer I = 0; I < Count; ++I) VarArrayPut(A, ReadVariantFunc(AStream), {I});
      AValue = std::move(A);
      break;
    }
    case vaInt8:
      AValue = ReadValue<ShortInt>(AStream);
      break;
    case vaInt16:
      AValue = ReadValue<SmallInt>(AStream);
      break;
    case vaInt32:
      AValue = ReadValue<Integer>(AStream);
      break;
    case vaExtended: {
      Extended E = 0;
      ReadFloatProc(AStream, E);
      AValue = static_cast<Double>(E);
      break;
    }
    case vaString:
      AValue = Variant::FromAnsiString(ReadBytes(AStream, ReadValue<Byte>(AStream)));
      break;
    case vaFalse:
      AValue = false;
      break;
    case vaTrue:
      AValue = true;
      break;
    case vaLString:
      AValue = Variant::FromAnsiString(ReadAnsiStringFunc(AStream));
      break;
    case vaNil:
      AValue = Variant();
      break;
    case vaSingle: {
      Single S = 0;
      ReadSingleProc(AStream, S);
      AValue = S;
      break;
    }
    case vaCurrency:
      AValue = ReadCurrencyFunc(AStream);
      break;
    case vaDate:
      AValue = Variant::FromDateTime(ReadDateTimeFunc(AStream));
      break;
    case vaWString:
      AValue = ReadWideStringFunc(AStream);
      break;
    case vaInt64:
      AValue = ReadValue<Int64>(AStream);
      break;
    default:
      RaiseReadError();
  }
}

Variant ReadVariantFunc(TStream* AStream) {
  Variant R;
  ReadVariantProc(AStream, R);
  return R;
}
