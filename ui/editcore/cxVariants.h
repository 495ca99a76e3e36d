// Editor values as variants: one ordering and two equalities, a few type
// tests, and a compact tagged binary stream of variants with fixed-width
// helpers for plain values.
#pragma once

#include "Classes.h"
#include "FMTBcd.h"
#include "SqlTimSt.h"
#include "Variants.h"

// Negative, zero or positive. Empty sorts before everything, Null before
// everything but Empty; values of kinds that cannot be compared order the
// left one as less. An array sorts after a non-array.
Integer VarCompare(const Variant& V1, const Variant& V2);
bool VarEquals(const Variant& V1, const Variant& V2);
// VarEquals, except that a boolean against a non-null value must have the
// same text ("True" is not -1).
bool VarEqualsExact(const Variant& V1, const Variant& V2);
// Arrays: by element count (the difference of the counts when they differ),
// then element by element, each array walked from its own low bound.
Integer VarArrayCompare(const Variant& V1, const Variant& V2);

bool VarIsDate(const Variant& V);
bool VarIsNumericEx(const Variant& V);
// Null, or text that is empty.
bool VarIsSoftNull(const Variant& V);

// Fixed-width values, little-endian. Strings carry a signed 32-bit count
// first (bytes for 8-bit text, characters for UTF-16). A stream that ends
// early raises EReadError.
bool ReadBooleanFunc(TStream* AStream);
void ReadBooleanProc(TStream* AStream, bool& AValue);
void WriteBooleanProc(TStream* AStream, bool AValue);
SmallInt ReadSmallIntFunc(TStream* AStream);
void ReadSmallIntProc(TStream* AStream, SmallInt& AValue);
void WriteSmallIntProc(TStream* AStream, SmallInt AValue);
Word ReadWordFunc(TStream* AStream);
void ReadWordProc(TStream* AStream, Word& AValue);
void WriteWordProc(TStream* AStream, Word AValue);
Integer ReadIntegerFunc(TStream* AStream);
void ReadIntegerProc(TStream* AStream, Integer& AValue);
void WriteIntegerProc(TStream* AStream, Integer AValue);
Int64 ReadLargeIntFunc(TStream* AStream);
void ReadLargeIntProc(TStream* AStream, Int64& AValue);
void WriteLargeIntProc(TStream* AStream, Int64 AValue);
void ReadSingleProc(TStream* AStream, Single& AValue);
void WriteSingleProc(TStream* AStream, Single AValue);
// 10 bytes: the 80-bit extended form.
void ReadFloatProc(TStream* AStream, Extended& AValue);
void WriteFloatProc(TStream* AStream, Extended AValue);
Currency ReadCurrencyFunc(TStream* AStream);
void ReadCurrencyProc(TStream* AStream, Currency& AValue);
void WriteCurrencyProc(TStream* AStream, Currency AValue);
TDateTime ReadDateTimeFunc(TStream* AStream);
void ReadDateTimeProc(TStream* AStream, TDateTime& AValue);
void WriteDateTimeProc(TStream* AStream, TDateTime AValue);
AnsiString ReadAnsiStringFunc(TStream* AStream);
void ReadAnsiStringProc(TStream* AStream, AnsiString& AValue);
void WriteAnsiStringProc(TStream* AStream, const AnsiString& AValue);
String ReadWideStringFunc(TStream* AStream);
void ReadWideStringProc(TStream* AStream, String& AValue);
void WriteWideStringProc(TStream* AStream, const String& AValue);

// The variant stream: one tag byte of the form-stream value kinds, then the
// payload. Integers take the smallest tag that holds them, doubles the 80-bit
// form, 8-bit text a one-byte length below 256 bytes. Writing a
// multi-dimensional array or a value without a text form raises EWriteError;
// reading an unknown tag, a negative or impossible length raises EReadError
// (the texts are cxSDataWriteError and cxSDataReadError).
Variant ReadVariantFunc(TStream* AStream);
void ReadVariantProc(TStream* AStream, Variant& AValue);
void WriteVariantProc(TStream* AStream, const Variant& AValue);
