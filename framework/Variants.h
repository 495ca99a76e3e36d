// Variant: the platform's VARIANT with the framework's semantics (Empty, Null,
// arrays, conversions through oleaut32 under the user's regional settings,
// comparison). Used where the design uses variants: automation arguments and
// results, settings values, editor values.
#pragma once

#include <concepts>
#include <initializer_list>
#include <type_traits>

#include "SysUtils.h"

using TVarType = Word;

constexpr TVarType varEmpty = VT_EMPTY;
constexpr TVarType varNull = VT_NULL;
constexpr TVarType varSmallint = VT_I2;
constexpr TVarType varInteger = VT_I4;
constexpr TVarType varSingle = VT_R4;
constexpr TVarType varDouble = VT_R8;
constexpr TVarType varCurrency = VT_CY;
constexpr TVarType varDate = VT_DATE;
constexpr TVarType varOleStr = VT_BSTR;
constexpr TVarType varDispatch = VT_DISPATCH;
constexpr TVarType varError = VT_ERROR;
constexpr TVarType varBoolean = VT_BOOL;
constexpr TVarType varVariant = VT_VARIANT;
constexpr TVarType varUnknown = VT_UNKNOWN;
constexpr TVarType varDecimal = VT_DECIMAL;
constexpr TVarType varShortInt = VT_I1;
constexpr TVarType varByte = VT_UI1;
constexpr TVarType varWord = VT_UI2;
constexpr TVarType varLongWord = VT_UI4;
constexpr TVarType varInt64 = VT_I8;
constexpr TVarType varUInt64 = VT_UI8;
// The framework's own kinds, which a VARIANT has no code for: 8-bit text in
// the system ANSI code page (varString), binary-coded decimals (varFMTBcd,
// FMTBcd.h) and SQL time stamps (varSQLTimeStamp, SqlTimSt.h). They live only
// inside the program; handing one to COM is an error.
constexpr TVarType varString = 0x0100;
constexpr TVarType varFMTBcd = 0x0110;
constexpr TVarType varSQLTimeStamp = 0x0111;
// The framework's String as a conversion target: it is UTF-16, so a value
// converted to varUString is held as varOleStr.
constexpr TVarType varUString = 0x0102;
constexpr TVarType varTypeMask = VT_TYPEMASK;
constexpr TVarType varArray = VT_ARRAY;
constexpr TVarType varByRef = VT_BYREF;

struct TBcd;
struct TSQLTimeStamp;

// Every failure of a variant operation is an EVariantError; the subclass says
// which kind (the platform's HRESULT decides).
DECLARE_EXCEPTION(EVariantInvalidOpError, EVariantError)
DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError)
DECLARE_EXCEPTION(EVariantOverflowError, EVariantError)
DECLARE_EXCEPTION(EVariantInvalidArgError, EVariantError)
DECLARE_EXCEPTION(EVariantBadVarTypeError, EVariantError)
DECLARE_EXCEPTION(EVariantBadIndexError, EVariantError)
DECLARE_EXCEPTION(EVariantArrayLockedError, EVariantError)
DECLARE_EXCEPTION(EVariantArrayCreateError, EVariantError)
DECLARE_EXCEPTION(EVariantNotImplError, EVariantError)
DECLARE_EXCEPTION(EVariantOutOfMemoryError, EVariantError)
DECLARE_EXCEPTION(EVariantUnexpectedError, EVariantError)

// A fixed-point amount: a 64-bit count of ten-thousandths, as the platform's
// currency type stores it.
struct Currency {
  Int64 Scaled = 0;

  // Rounds to four decimals as the platform does; EVariantOverflowError
  // when the value is out of range.
  static Currency FromDouble(Double AValue);
  Double ToDouble() const;
};

namespace VariantsDetail {
template <class T>
concept CharType = std::same_as<T, char> || std::same_as<T, wchar_t> || std::same_as<T, char8_t> ||
    std::same_as<T, char16_t> || std::same_as<T, char32_t>;
template <class T>
concept IntegerType = std::integral<T> && !std::same_as<T, bool> && !CharType<T>;
}  // namespace VariantsDetail

// Construction picks the variant type from the C++ type: bool is varBoolean,
// each integer width its own type (int varInteger, Cardinal varLongWord,
// Int64 varInt64, ...), float varSingle, double varDouble, Currency
// varCurrency, text varOleStr, interfaces varDispatch/varUnknown (with a
// reference of their own). Dates need the named factory because TDateTime is
// a double. Characters are refused: a char is neither a number nor text here.
//
// Copies are deep (VariantCopyInd): a copy of an array owns its own array, and
// a copy of a by-reference variant holds the value, not the reference.
//
// Comparison (==, !=, <, <=, >, >=):
// - Null equals only Null and sorts below every other value.
// - Empty is taken as the zero of the other side's type: it equals 0, "",
//   False and another Empty.
// - Two strings compare as text under the user's locale, case-sensitively.
// - Two numbers (integers, floats, currency, decimal, date, boolean) compare
//   by value across types; a boolean counts as the platform has it
//   (True = -1, so True < False). NaN equals only NaN and sorts above all
//   other numbers.
// - A string against a number is converted to the number's kind (double;
//   date, boolean or decimal against those) and then compared, so "2" == 2
//   and 2 < "10"; text that is no number raises EVariantTypeCastError.
// - 8-bit text compares as its UTF-16 form; a SQL time stamp as its date; a
//   BCD against a number, text or Empty by decimal value.
// - Arrays, interfaces and error values have no order: comparing them raises
//   EVariantInvalidOpError.
class Variant {
 public:
  Variant() noexcept { VariantInit(&FVar); }
  template <class T>
  requires std::same_as<T, bool> Variant(T AValue)
  noexcept : Variant() {
    FVar.vt = VT_BOOL;
    FVar.boolVal = AValue ? VARIANT_TRUE : VARIANT_FALSE;
  }
  template <VariantsDetail::IntegerType T>
  Variant(T AValue) noexcept : Variant() {
    SetInteger(std::is_signed_v<T>, sizeof(T), static_cast<UInt64>(AValue));
  }
  template <VariantsDetail::CharType T>
  Variant(T) = delete;
  Variant(Single AValue) noexcept;
  Variant(Double AValue) noexcept;
  Variant(Extended AValue) noexcept : Variant(static_cast<Double>(AValue)) {}
  Variant(Currency AValue) noexcept;
  Variant(const String& AValue);
  Variant(const wchar_t* AValue);
  Variant(IDispatch* AValue) noexcept;
  Variant(IUnknown* AValue) noexcept;
  explicit Variant(const VARIANT& AValue);
  static Variant FromDateTime(TDateTime AValue) noexcept;
  static Variant FromAnsiString(const AnsiString& AValue);
  static Variant FromBcd(const TBcd& AValue);
  static Variant FromSQLTimeStamp(const TSQLTimeStamp& AValue);

  Variant(const Variant& AValue);
  Variant(Variant&& AValue) noexcept;
  Variant& operator=(const Variant& AValue);
  Variant& operator=(Variant&& AValue) noexcept;
  ~Variant();

  const VARIANT& Var() const noexcept { return FVar; }
  // For COM to read or fill. An out parameter must be Empty before the call
  // (Clear it), since the callee overwrites without clearing.
  VARIANT* Ptr() noexcept { return &FVar; }
  // Hands the value over (to a COM caller); this variant is Empty afterwards.
  VARIANT Detach() noexcept;
  void Clear() noexcept;

  // Conversions through VariantChangeTypeEx under LOCALE_USER_DEFAULT. Empty
  // gives 0, "" or False; Null and anything the platform cannot convert
  // raise EVariantTypeCastError, values out of the target's range
  // EVariantOverflowError. Booleans become "True"/"False" as text.
  String AsString() const;
  Integer AsInteger() const;
  Int64 AsInt64() const;
  Double AsDouble() const;
  Boolean AsBoolean() const;
  TDateTime AsDateTime() const;
  // The bytes of an 8-bit string; anything else through its text in the
  // ANSI code page.
  AnsiString AsAnsiString() const;
  TBcd AsBcd() const;
  TSQLTimeStamp AsSQLTimeStamp() const;

  friend bool operator==(const Variant& L, const Variant& R) { return Compare(L, R) == 0; }
  friend bool operator!=(const Variant& L, const Variant& R) { return Compare(L, R) != 0; }
  friend bool operator<(const Variant& L, const Variant& R) { return Compare(L, R) < 0; }
  friend bool operator<=(const Variant& L, const Variant& R) { return Compare(L, R) <= 0; }
  friend bool operator>(const Variant& L, const Variant& R) { return Compare(L, R) > 0; }
  friend bool operator>=(const Variant& L, const Variant& R) { return Compare(L, R) >= 0; }

 private:
  static int Compare(const Variant& L, const Variant& R);
  void SetInteger(bool ASigned, size_t ASize, UInt64 ABits) noexcept;

  VARIANT FVar;
};

// A Variant is laid out exactly as a VARIANT, so an array of them can serve
// as DISPPARAMS arguments.
static_assert(sizeof(Variant) == sizeof(VARIANT));

Variant Unassigned();
Variant Null();
// The value for an omitted optional automation parameter.
Variant EmptyParam();

// The variant type code, with the varArray and varByRef flags.
TVarType VarType(const Variant& V);
// "Integer", "OleStr", "String", "Array Variant", ... as in the conversion
// messages.
String VarTypeAsText(TVarType AVarType);

// The type tests look through a by-reference variant at the value it refers
// to. Numeric means an integer of any width, a boolean, a float, currency or
// decimal; a date is not numeric.
bool VarIsEmpty(const Variant& V);
bool VarIsNull(const Variant& V);
// Empty, or an interface variant without an interface.
bool VarIsClear(const Variant& V);
bool VarIsArray(const Variant& V);
bool VarIsNumeric(const Variant& V);
// UTF-16 or 8-bit text.
bool VarIsStr(const Variant& V);

// The value as text; Null gives ADefault (VarToStr: the empty string).
String VarToStr(const Variant& V);
String VarToStrDef(const Variant& V, const String& ADefault);
String VarToWideStr(const Variant& V);
// V converted to AVarType (varUString gives an OleStr); raises as the As*
// conversions do.
Variant VarAsType(const Variant& V, TVarType AVarType);

// A one-dimensional array of variants with bounds 0..Count-1.
Variant VarArrayOf(std::initializer_list<Variant> AValues);
// An array with one (low, high) pair of bounds per dimension, elements of
// AVarType set to their zero (Empty for varVariant).
Variant VarArrayCreate(std::initializer_list<Integer> ABounds, TVarType AVarType);
// 0 when V is no array.
Integer VarArrayDimCount(const Variant& V);
// Dimensions count from 1.
Integer VarArrayLowBound(const Variant& A, Integer ADim);
Integer VarArrayHighBound(const Variant& A, Integer ADim);
// One index per dimension, in the order of VarArrayCreate's bounds.
Variant VarArrayGet(const Variant& A, std::initializer_list<Integer> AIndices);
// The value is converted to the array's element type.
void VarArrayPut(Variant& A, const Variant& AValue, std::initializer_list<Integer> AIndices);
// Sets the high bound of the last dimension, keeping the elements that stay.
void VarArrayRedim(Variant& A, Integer AHighBound);
