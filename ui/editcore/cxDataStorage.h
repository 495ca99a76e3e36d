// Value types: how one kind of value is kept in a raw field of a caller's
// record (the value buffer), compared, converted to and from a variant,
// shown as text and streamed. Value types have no state: each type is one
// constant object whose virtual operations take the buffer's address, and a
// TcxValueTypeClass is the address of that object.
#pragma once

#include "cxVariants.h"
#include "dxCore.h"

class TcxValueType;
using TcxValueTypeClass = const TcxValueType*;

// A stream that says whether text in it is UTF-16 (Unicode) or 8-bit text in
// the ANSI code page. It reads and writes through another stream it does not
// own. Text read from or written to any other stream is UTF-16.
class TcxDataStream : public TStream {
  DECLARE_CLASS(TcxDataStream, TStream)
 public:
  TcxDataStream(TStream* AStream, bool AUnicode) : FStream(AStream), FUnicode(AUnicode) {}
  Integer Read(void* Buffer, Integer Count) override { return FStream->Read(Buffer, Count); }
  Integer Write(const void* Buffer, Integer Count) override {
    return FStream->Write(Buffer, Count);
  }
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override { return FStream->Seek(Offset, Origin); }
  bool Unicode() const { return FUnicode; }

 private:
  TStream* FStream;
  bool FUnicode;
};

// The text form of strings in a value stream: a signed 32-bit count, then
// UTF-16 characters when the stream is Unicode, else bytes of 8-bit text.
String cxReadStreamString(TStream* AStream);
void cxWriteStreamString(TStream* AStream, const String& AValue);

class TcxValueType : public TObject {
  DECLARE_CLASS(TcxValueType, TObject)
 public:
  // Buffer operations: ABuffer is the address of the field in the record.
  virtual Integer Compare(Pointer P1, Pointer P2) const;
  virtual void FreeBuffer(Pointer ABuffer) const {}
  // A display-text buffer holds a heap string (nullptr: no text).
  virtual void FreeTextBuffer(Pointer ABuffer) const;
  virtual Integer GetDataSize() const { return 0; }
  virtual void GetDataValue(Pointer ABuffer, Variant& Value) const { Value = Null(); }
  virtual String GetDefaultDisplayText(Pointer ABuffer) const;
  virtual String GetDisplayText(Pointer ABuffer) const;
  virtual void ReadDataValue(Pointer ABuffer, TStream* AStream) const;
  virtual void ReadDisplayText(Pointer ABuffer, TStream* AStream) const;
  virtual void SetDataValue(Pointer ABuffer, const Variant& Value) const {}
  virtual void SetDisplayText(Pointer ABuffer, const String& DisplayText) const;
  virtual void WriteDataValue(Pointer ABuffer, TStream* AStream) const;
  virtual void WriteDisplayText(Pointer ABuffer, TStream* AStream) const;
  // The class name without the leading "Tcx" and the first "ValueType".
  virtual String Caption() const;
  // Value operations: P is what PrepareValueBuffer leaves (the buffer for
  // fixed-width types, the pointer it holds for the others).
  virtual Integer CompareValues(Pointer P1, Pointer P2) const;
  virtual Variant GetValue(Pointer P) const;
  virtual TVarType GetVarType() const { return varVariant; }
  // True for Null or for a type of any variant kind; otherwise Value is
  // converted in place and the answer is whether the conversion succeeded.
  virtual bool IsValueValid(Variant& Value) const;
  virtual bool IsString() const { return false; }
  virtual void PrepareValueBuffer(Pointer& ABuffer) const {}

  Variant DataValue(Pointer ABuffer) const {
    Variant R;
    GetDataValue(ABuffer, R);
    return R;
  }
};

// Keeps a pointer to a heap object in a pointer-sized buffer.
class TcxPointerValueType : public TcxValueType {
  DECLARE_CLASS(TcxPointerValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return sizeof(Pointer); }
  void PrepareValueBuffer(Pointer& ABuffer) const override;
};

class TcxStringValueType : public TcxPointerValueType {
  DECLARE_CLASS(TcxStringValueType, TcxPointerValueType)
 public:
  void FreeBuffer(Pointer ABuffer) const override { FreeTextBuffer(ABuffer); }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  Variant GetValue(Pointer P) const override;
  TVarType GetVarType() const override { return varUString; }
  bool IsString() const override { return true; }
};

// The heap block holds a 32-bit character count and then the characters.
class TcxWideStringValueType : public TcxStringValueType {
  DECLARE_CLASS(TcxWideStringValueType, TcxStringValueType)
 public:
  void FreeBuffer(Pointer ABuffer) const override;
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  Variant GetValue(Pointer P) const override;
  TVarType GetVarType() const override { return varOleStr; }
};

// Fixed-width types keep the value itself; storing Null in them is a
// conversion error.
class TcxSmallintValueType : public TcxValueType {
  DECLARE_CLASS(TcxSmallintValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return 2; }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varSmallint; }
};

class TcxIntegerValueType : public TcxValueType {
  DECLARE_CLASS(TcxIntegerValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return 4; }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varInteger; }
};

class TcxWordValueType : public TcxValueType {
  DECLARE_CLASS(TcxWordValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return 2; }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varWord; }
};

class TcxBooleanValueType : public TcxValueType {
  DECLARE_CLASS(TcxBooleanValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return 1; }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  String GetDefaultDisplayText(Pointer ABuffer) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varBoolean; }
};

// Kept as a single; read back as a double variant.
class TcxSingleValueType : public TcxValueType {
  DECLARE_CLASS(TcxSingleValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return 4; }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varSingle; }
};

// Kept as a double; streamed in the 80-bit form.
class TcxFloatValueType : public TcxValueType {
  DECLARE_CLASS(TcxFloatValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return 8; }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varDouble; }
};

class TcxCurrencyValueType : public TcxValueType {
  DECLARE_CLASS(TcxCurrencyValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return 8; }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varCurrency; }
};

class TcxDateTimeValueType : public TcxValueType {
  DECLARE_CLASS(TcxDateTimeValueType, TcxValueType)
 public:
  TDateTime GetDateTime(Pointer ABuffer) const;
  Integer GetDataSize() const override { return 8; }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  String GetDefaultDisplayText(Pointer ABuffer) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varDate; }
};

class TcxLargeIntValueType : public TcxValueType {
  DECLARE_CLASS(TcxLargeIntValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return 8; }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varInt64; }
};

// The BCD record itself (34 bytes); streamed as a tagged variant.
class TcxFMTBcdValueType : public TcxValueType {
  DECLARE_CLASS(TcxFMTBcdValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return sizeof(TBcd); }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  String GetDefaultDisplayText(Pointer ABuffer) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varFMTBcd; }
};

// The time-stamp record itself (16 bytes); a date variant outside.
class TcxSQLTimeStampValueType : public TcxValueType {
  DECLARE_CLASS(TcxSQLTimeStampValueType, TcxValueType)
 public:
  Integer GetDataSize() const override { return sizeof(TSQLTimeStamp); }
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return varSQLTimeStamp; }
};

class TcxVariantValueType : public TcxPointerValueType {
  DECLARE_CLASS(TcxVariantValueType, TcxPointerValueType)
 public:
  void FreeBuffer(Pointer ABuffer) const override;
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  Variant GetValue(Pointer P) const override;
};

// A heap 8-bit string; Null is no string at all.
class TcxBLOBValueType : public TcxPointerValueType {
  DECLARE_CLASS(TcxBLOBValueType, TcxPointerValueType)
 public:
  AnsiString GetAnsiString(Pointer ABuffer) const;
  void FreeBuffer(Pointer ABuffer) const override;
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override;
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override;
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  Variant GetValue(Pointer P) const override;
  TVarType GetVarType() const override { return varString; }
  bool IsString() const override { return true; }
};

// An object reference, kept whole (pointer-sized) and exchanged as an integer
// of that size. Freeing the buffer frees the object; nothing is streamed.
class TcxObjectValueType : public TcxIntegerValueType {
  DECLARE_CLASS(TcxObjectValueType, TcxIntegerValueType)
 public:
  Integer GetDataSize() const override { return sizeof(Pointer); }
  void FreeBuffer(Pointer ABuffer) const override;
  void GetDataValue(Pointer ABuffer, Variant& Value) const override;
  void ReadDataValue(Pointer ABuffer, TStream* AStream) const override {}
  void SetDataValue(Pointer ABuffer, const Variant& Value) const override;
  void WriteDataValue(Pointer ABuffer, TStream* AStream) const override {}
  Integer CompareValues(Pointer P1, Pointer P2) const override;
  TVarType GetVarType() const override { return sizeof(Pointer) == 8 ? varInt64 : varInteger; }
};

// The one constant object of a value type.
template <class T>
TcxValueTypeClass cxValueTypeClass() {
  static const T Instance;
  return &Instance;
}

class TcxValueTypeClassList : public TObject {
  DECLARE_CLASS(TcxValueTypeClassList, TObject)
 public:
  void RegisterItem(TcxValueTypeClass AValueTypeClass);
  void UnregisterItem(TcxValueTypeClass AValueTypeClass);
  Integer Count() const { return static_cast<Integer>(FItems.size()); }
  TcxValueTypeClass Items(Integer AIndex) const;
  // Exact, case-sensitive; nullptr when no type has that caption.
  TcxValueTypeClass ItemByCaption(const String& ACaption) const;

 private:
  std::vector<TcxValueTypeClass> FItems;
};

// The process-wide list, created on first call; nullptr once the module's
// shut-down began.
TcxValueTypeClassList* cxValueTypeClassList();

// Empty for Null, otherwise the value as text.
String dxVarToWideString(const Variant& V);

void cxDataStorage_Initialize();
void cxDataStorage_Finalize();
