// Binary-coded decimals: numbers of up to 64 digits with up to 63 of them
// after the point, kept exactly, and the variant kind that carries them.
#pragma once

#include "Variants.h"

// Precision is the count of digits held; SignSpecialPlaces has the sign in
// bit 7 and the count of digits after the point in bits 0-5; Fraction holds
// the digits packed two to a byte, high nibble first, left-aligned.
struct TBcd {
  Byte Precision = 0;
  Byte SignSpecialPlaces = 0;
  Byte Fraction[32] = {};
};
static_assert(sizeof(TBcd) == 34);

DECLARE_EXCEPTION(EBcdException, Exception)
DECLARE_EXCEPTION(EBcdOverflowException, EBcdException)

constexpr Integer MaxFMTBcdFractionSize = 64;

// Text with an optional sign, the settings' decimal separator and an
// optional exponent ("1.5E3"); blanks around it are allowed. False for
// anything else and for values that need more than 64 digits.
bool TryStrToBcd(const String& S, TBcd& Bcd, const TFormatSettings& Settings);
bool TryStrToBcd(const String& S, TBcd& Bcd);
// EBcdException for text that is no number, EBcdOverflowException for one
// that needs more than 64 digits.
TBcd StrToBcd(const String& S, const TFormatSettings& Settings);
TBcd StrToBcd(const String& S);
// The value in plain decimals without exponent and without trailing zeros
// after the point ("-12.5", "0.001", "0").
String BcdToStr(const TBcd& Bcd, const TFormatSettings& Settings);
String BcdToStr(const TBcd& Bcd);

TBcd IntegerToBcd(Int64 AValue);
// The double's shortest text of 15 significant digits, as FloatToStr gives.
TBcd DoubleToBcd(Double AValue);
Double BcdToDouble(const TBcd& Bcd);
TBcd CurrToBcd(Currency AValue);
// EBcdOverflowException beyond the currency range; digits past the fourth
// decimal are rounded half away from zero.
Currency BcdToCurr(const TBcd& Bcd);

// -1, 0 or 1 by value (1.50 equals 1.5).
Integer BcdCompare(const TBcd& Bcd1, const TBcd& Bcd2);
Word BcdPrecision(const TBcd& Bcd);
Word BcdScale(const TBcd& Bcd);
bool IsBcdNegative(const TBcd& Bcd);

// Variants of kind varFMTBcd. Conversions to and from other kinds go through
// the platform's text of the user's locale, so nothing is lost on the way.
Variant VarFMTBcdCreate(const TBcd& ABcd);
Variant VarFMTBcdCreate(const String& AValue);
bool VarIsFMTBcd(const Variant& V);
// V converted to a BCD; EVariantTypeCastError when it has no numeric value.
TBcd VarToBcd(const Variant& V);
