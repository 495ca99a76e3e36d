#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "EditcoreTestSupport.h"
#include "cxDataStorage.h"

namespace {

// A record field large enough for every value type, zero-filled (a null
// pointer for the pointer-keeping types).
struct TBuffer {
  alignas(16) Byte Data[64] = {};
  Pointer P() { return Data; }
};

TcxValueTypeClass TypeOf(const wchar_t* ACaption) {
  TcxValueTypeClass T = cxValueTypeClassList()->ItemByCaption(ACaption);
  EXPECT_NE(T, nullptr) << ACaption;
  return T;
}

TEST(ValueTypes, RegisteredInOrderAndFoundByExactCaption) {
  TcxValueTypeClassList* List = cxValueTypeClassList();
  ASSERT_NE(List, nullptr);
  const wchar_t* Captions[] = {L"String",       L"WideString", L"Smallint", L"Integer",
                               L"Word",         L"Boolean",    L"Single",   L"Float",
                               L"Currency",     L"DateTime",   L"LargeInt", L"FMTBcd",
                               L"SQLTimeStamp", L"Variant",    L"Object",   L"BLOB"};
  ASSERT_EQ(List->Count(), 16);
  for (Integer I = 0; I < 16; ++I) EXPECT_EQ(List->Items(I)->Caption(), Captions[I]);
  EXPECT_EQ(List->ItemByCaption(L"String"), cxValueTypeClass<TcxStringValueType>());
  EXPECT_EQ(List->ItemByCaption(L"string"), nullptr);
  List->RegisterItem(cxValueTypeClass<TcxStringValueType>());
  EXPECT_EQ(List->Count(), 16);
  EXPECT_THROW(List->Items(16), EListError);
  EXPECT_TRUE(TypeOf(L"BLOB")->IsString());
  EXPECT_FALSE(TypeOf(L"Integer")->IsString());
}

TEST(ValueTypes, EachTypeRoundTripsThroughBufferAndStream) {
  const TFormatSettings Dot = TFormatSettings::Invariant();
  struct TCase {
    const wchar_t* Type;
    Variant Value;
    TVarType Kind;
  } Cases[] = {
      {L"String", L"Stra\u00DFe \u0416", varOleStr},
      {L"WideString", L"\u0416\u0443\u043A", varOleStr},
      {L"Smallint", -300, varSmallint},
      {L"Integer", -70000, varInteger},
      {L"Word", 65535, varWord},
      {L"Boolean", true, varBoolean},
      {L"Single", 0.25, varDouble},
      {L"Float", 0.1, varDouble},
      {L"Currency", Currency{-12345}, varCurrency},
      {L"DateTime", Variant::FromDateTime(43535.25), varDate},
      {L"LargeInt", INT64_MIN, varInt64},
      {L"FMTBcd", VarFMTBcdCreate(StrToBcd(L"-12345678901234567890.125", Dot)), varFMTBcd},
      {L"SQLTimeStamp", Variant::FromDateTime(43535.75), varDate},
      {L"Variant", VarArrayOf({1, L"x"}), varArray | varVariant},
      {L"BLOB", Variant::FromAnsiString(AnsiString("\0\x80\xFF", 3)), varString},
  };
  for (const TCase& C : Cases) {
    TcxValueTypeClass T = TypeOf(C.Type);
    ASSERT_NE(T, nullptr);
    ASSERT_LE(T->GetDataSize(), 64);
    TBuffer A, B;
    T->SetDataValue(A.P(), C.Value);
    Variant Back = T->DataValue(A.P());
    EXPECT_EQ(VarType(Back), C.Kind) << C.Type;
    EXPECT_EQ(VarCompare(Back, C.Value), 0) << C.Type;
    TMemoryStream S;
    T->WriteDataValue(A.P(), &S);
    S.SetPosition(0);
    T->ReadDataValue(B.P(), &S);
    EXPECT_EQ(S.Position(), S.Size()) << C.Type;
    EXPECT_EQ(T->Compare(A.P(), B.P()), 0) << C.Type;
    EXPECT_EQ(VarCompare(T->DataValue(B.P()), C.Value), 0) << C.Type;
    T->FreeBuffer(A.P());
    T->FreeBuffer(B.P());
  }
}

TEST(ValueTypes, ComparisonsPerType) {
  struct TCase {
    const wchar_t* Type;
    Variant Less, More;
  } Cases[] = {
      {L"String", L"B", L"a"},  // ordinal, case-sensitive
      {L"WideString", L"", L"a"},
      {L"Smallint", -5, 7},
      {L"Integer", INT32_MIN, INT32_MAX},
      {L"Word", 1, 65535},
      {L"Boolean", false, true},
      {L"Single", -1.5, 1.5},
      {L"Float", -1e300, 1e300},
      {L"Currency", Currency{-1}, Currency{1}},
      {L"DateTime", Variant::FromDateTime(-1.5), Variant::FromDateTime(1.5)},
      {L"LargeInt", INT64_MIN, INT64_MAX},
      {L"FMTBcd", VarFMTBcdCreate(StrToBcd(L"99.999", TFormatSettings::Invariant())),
       VarFMTBcdCreate(IntegerToBcd(100))},
      {L"SQLTimeStamp", Variant::FromDateTime(43535.5), Variant::FromDateTime(43536.25)},
      {L"Variant", Null(), 1},
      {L"BLOB", Variant::FromAnsiString("\x7F"), Variant::FromAnsiString("\x80")},
  };
  for (const TCase& C : Cases) {
    TcxValueTypeClass T = TypeOf(C.Type);
    TBuffer A, B;
    T->SetDataValue(A.P(), C.Less);
    T->SetDataValue(B.P(), C.More);
    EXPECT_LT(T->Compare(A.P(), B.P()), 0) << C.Type;
    EXPECT_GT(T->Compare(B.P(), A.P()), 0) << C.Type;
    EXPECT_EQ(T->Compare(A.P(), A.P()), 0) << C.Type;
    T->FreeBuffer(A.P());
    T->FreeBuffer(B.P());
  }
  // Pointer-keeping types: no value sorts first, two of them are equal.
  for (const wchar_t* Name : {L"String", L"Variant", L"BLOB"}) {
    TcxValueTypeClass T = TypeOf(Name);
    TBuffer None1, None2, Some;
    T->SetDataValue(Some.P(), L"x");
    EXPECT_EQ(T->Compare(None1.P(), Some.P()), -1) << Name;
    EXPECT_EQ(T->Compare(None1.P(), None2.P()), 0) << Name;
    EXPECT_TRUE(VarIsNull(T->DataValue(None1.P()))) << Name;
    T->FreeBuffer(Some.P());
  }
}

TEST(ValueTypes, BcdTextAndOrderFollowDecimalArithmetic) {
  struct TRef {
    const wchar_t* Text;
    const wchar_t* Canonical;
    Integer Rank;
  } Refs[] = {
#include "BcdReference.inc"
  };
  TcxValueTypeClass T = TypeOf(L"FMTBcd");
  const TFormatSettings Dot = TFormatSettings::Invariant();
  std::vector<TBuffer> Buffers(std::size(Refs));
  for (size_t I = 0; I < std::size(Refs); ++I) {
    T->SetDataValue(Buffers[I].P(), VarFMTBcdCreate(StrToBcd(Refs[I].Text, Dot)));
    EXPECT_EQ(BcdToStr(VarToBcd(T->DataValue(Buffers[I].P())), Dot), Refs[I].Canonical)
        << Refs[I].Text;
  }
  for (size_t I = 0; I < std::size(Refs); ++I)
    for (size_t J = 0; J < std::size(Refs); ++J) {
      Integer Expected = Refs[I].Rank < Refs[J].Rank ? -1 : (Refs[I].Rank > Refs[J].Rank ? 1 : 0);
      EXPECT_EQ(T->Compare(Buffers[I].P(), Buffers[J].P()), Expected)
          << Refs[I].Text << L" " << Refs[J].Text;
    }
  // The display text follows the process-wide settings.
  const TFormatSettings Saved = FormatSettings();
  FormatSettings().DecimalSeparator = L',';
  EXPECT_EQ(T->GetDefaultDisplayText(Buffers[5].P()), L"1,5");
  FormatSettings() = Saved;
}

TEST(ValueTypes, IsValueValidConvertsInPlaceUnderBothSeparators) {
  TcxValueTypeClass Integers = TypeOf(L"Integer");
  Variant V = L"12";
  EXPECT_TRUE(Integers->IsValueValid(V));
  EXPECT_EQ(VarType(V), varInteger);
  EXPECT_EQ(V.AsInteger(), 12);
  V = L"abc";
  EXPECT_FALSE(Integers->IsValueValid(V));
  EXPECT_EQ(V.AsString(), L"abc");
  Variant N = Null();
  EXPECT_TRUE(Integers->IsValueValid(N));
  EXPECT_TRUE(VarIsNull(N));
  Variant Any = L"abc";
  EXPECT_TRUE(TypeOf(L"Variant")->IsValueValid(Any));
  EXPECT_EQ(VarType(Any), varOleStr);
  for (Char Separator : {L'.', L','}) {
    TDecimalSeparator Locale(Separator);
    for (const wchar_t* Name : {L"Float", L"Currency", L"FMTBcd"}) {
      Variant Half = String(L"1") + Separator + L"5";
      EXPECT_TRUE(TypeOf(Name)->IsValueValid(Half)) << Name << L" " << String(1, Separator);
      EXPECT_EQ(VarType(Half), TypeOf(Name)->GetVarType()) << Name;
      EXPECT_DOUBLE_EQ(Half.AsDouble(), 1.5) << Name << L" " << String(1, Separator);
      Variant Word = L"1x5";
      EXPECT_FALSE(TypeOf(Name)->IsValueValid(Word)) << Name;
    }
  }
}

TEST(ValueTypes, StringStreamWithAndWithoutTheUnicodeFlag) {
  const String Text = L"\u041F\u0440\u0438\u0432\u0435\u0442";  // Cyrillic
  TcxValueTypeClass T = TypeOf(L"String");
  TBuffer A;
  T->SetDataValue(A.P(), Text);
  for (bool Unicode : {true, false}) {
    TMemoryStream Memory;
    TcxDataStream S(&Memory, Unicode);
    T->WriteDataValue(A.P(), &S);
    AnsiString Ansi = dxStringToAnsiString(Text);
    std::string Expected =
        Unicode ? HexBytes("\x06\x00\x00\x00", 4) + " " + HexBytes(Text.data(), Text.size() * 2)
                : HexBytes("\x06\x00\x00\x00", 4) + " " + HexBytes(Ansi.data(), Ansi.size());
    EXPECT_EQ(HexBytes(Memory.Memory(), static_cast<size_t>(Memory.Size())), Expected) << Unicode;
    S.SetPosition(0);
    TBuffer B;
    T->ReadDataValue(B.P(), &S);
    EXPECT_EQ(T->GetDisplayText(B.P()), Unicode ? Text : dxAnsiStringToString(Ansi)) << Unicode;
    T->FreeBuffer(B.P());
    // The display text of any type uses the same form.
    TMemoryStream Memory2;
    TcxDataStream S2(&Memory2, Unicode);
    TypeOf(L"Integer")->WriteDisplayText(A.P(), &S2);
    EXPECT_EQ(Memory2.Size(), Memory.Size());
  }
  T->FreeBuffer(A.P());
}

TEST(ValueTypes, DisplayTextBuffers) {
  TcxValueTypeClass T = TypeOf(L"Integer");
  TBuffer Text;
  EXPECT_EQ(T->GetDisplayText(Text.P()), L"");
  T->SetDisplayText(Text.P(), L"first");
  T->SetDisplayText(Text.P(), L"second");
  EXPECT_EQ(T->GetDisplayText(Text.P()), L"second");
  T->FreeTextBuffer(Text.P());
  EXPECT_EQ(T->GetDisplayText(Text.P()), L"");
  TBuffer Value;
  T->SetDataValue(Value.P(), 42);
  EXPECT_EQ(T->GetDefaultDisplayText(Value.P()), L"42");
  TBuffer Flag;
  TypeOf(L"Boolean")->SetDataValue(Flag.P(), true);
  EXPECT_EQ(TypeOf(L"Boolean")->GetDefaultDisplayText(Flag.P()), L"True");
  EXPECT_THROW(T->SetDataValue(Value.P(), Null()), EVariantError);
}

TEST(ValueTypes, EmptyWideStringIsABlockNotNull) {
  TcxValueTypeClass T = TypeOf(L"WideString");
  TBuffer A;
  T->SetDataValue(A.P(), L"");
  Pointer Block = nullptr;
  std::memcpy(&Block, A.Data, sizeof(Pointer));
  ASSERT_NE(Block, nullptr);
  Integer Count = -1;
  std::memcpy(&Count, Block, 4);
  EXPECT_EQ(Count, 0);
  EXPECT_EQ(VarType(T->DataValue(A.P())), varOleStr);
  T->SetDataValue(A.P(), Null());
  EXPECT_TRUE(VarIsNull(T->DataValue(A.P())));
}

// An object placed above 4 GiB, whose deletion is only recorded.
class TFarObject : public TObject {
 public:
  static inline bool Deleted = false;
  static void* operator new(size_t, void* AWhere) { return AWhere; }
  static void operator delete(void*) { Deleted = true; }
};

TEST(ValueTypes, ObjectReferenceAboveFourGigabytesIsKeptWhole) {
  void* Far = nullptr;
  for (UInt64 Base = 0x500000000ull; !Far && Base < 0x7F0000000000ull; Base *= 2)
    Far =
        VirtualAlloc(reinterpret_cast<void*>(Base), 4096, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  ASSERT_NE(Far, nullptr);
  ASSERT_GT(reinterpret_cast<UInt64>(Far), 0xFFFFFFFFull);
  TObject* Object = new (Far) TFarObject;
  TcxValueTypeClass T = TypeOf(L"Object");
  EXPECT_EQ(T->GetDataSize(), Integer(sizeof(Pointer)));
  TBuffer A, B;
  T->SetDataValue(A.P(), static_cast<NativeInt>(reinterpret_cast<NativeUInt>(Object)));
  EXPECT_EQ(T->DataValue(A.P()).AsInt64(), static_cast<Int64>(reinterpret_cast<NativeUInt>(Far)));
  TObject* Kept = nullptr;
  std::memcpy(&Kept, A.Data, sizeof(Pointer));
  EXPECT_EQ(Kept, Object);
  T->SetDataValue(B.P(), 1);
  EXPECT_GT(T->Compare(A.P(), B.P()), 0);
  TMemoryStream S;
  T->WriteDataValue(A.P(), &S);
  EXPECT_EQ(S.Size(), 0);
  T->FreeBuffer(A.P());
  EXPECT_TRUE(TFarObject::Deleted);
  VirtualFree(Far, 0, MEM_RELEASE);
}

}  // namespace
