#include "Variants.h"

#include "WinHandles.h"

#include <cmath>
#include <iterator>
#include <vector>

#include "FMTBcd.h"
#include "SqlTimSt.h"

namespace {

const wchar_t* const SInvalidVarCast = L"Invalid variant type conversion";
const wchar_t* const SInvalidVarOp = L"Invalid variant operation";
const wchar_t* const SVarOverflow = L"Variant overflow";
const wchar_t* const SVarInvalid = L"Invalid argument";
const wchar_t* const SVarBadType = L"Invalid variant type";
const wchar_t* const SVarArrayBounds = L"Variant or safe array index out of bounds";
const wchar_t* const SVarArrayLocked = L"Variant or safe array is locked";
const wchar_t* const SVarArrayCreate = L"Error creating variant or safe array";
const wchar_t* const SVarNotImplemented = L"Operation not supported";
const wchar_t* const SVarOutOfMemory = L"Variant operation ran out memory";
const wchar_t* const SVarUnexpected = L"Unexpected variant error";

String HexCode(UInt64 AValue, int ADigits) {
  String R(ADigits, L'0');
  for (int I = ADigits - 1; I >= 0 && AValue; --I, AValue >>= 4) {
    R[I] = L"0123456789ABCDEF"[AValue & 0xF];
  }
  return R;
}

// Maps a failed platform variant call to the framework's exception.
[[noreturn]] void VarResultError(HRESULT AResult) {
  switch (AResult) {
    case DISP_E_TYPEMISMATCH:
      throw EVariantTypeCastError(SInvalidVarCast);
    case DISP_E_OVERFLOW:
      throw EVariantOverflowError(SVarOverflow);
    case E_INVALIDARG:
      throw EVariantInvalidArgError(SVarInvalid);
    case DISP_E_BADVARTYPE:
      throw EVariantBadVarTypeError(SVarBadType);
    case DISP_E_BADINDEX:
      throw EVariantBadIndexError(SVarArrayBounds);
    case DISP_E_ARRAYISLOCKED:
      throw EVariantArrayLockedError(SVarArrayLocked);
    case E_NOTIMPL:
      throw EVariantNotImplError(SVarNotImplemented);
    case E_OUTOFMEMORY:
      throw EVariantOutOfMemoryError(SVarOutOfMemory);
    default:
      // Keep the code: it is all a caller has to go on (a dispatch object's
      // default property may fail with anything).
      throw EVariantUnexpectedError(String(SVarUnexpected) + L" ($" +
                                    HexCode(static_cast<ULONG>(AResult), 8) + L")");
  }
}

void VarResultCheck(HRESULT AResult) {
  if (FAILED(AResult)) VarResultError(AResult);
}

// A failed conversion names both types, as the framework's messages do.
void VarResultCheck(HRESULT AResult, TVarType ASource, TVarType ADest) {
  if (SUCCEEDED(AResult)) return;
  if (AResult == DISP_E_TYPEMISMATCH) {
    throw EVariantTypeCastError(L"Could not convert variant of type (" + VarTypeAsText(ASource) +
                                L") into type (" + VarTypeAsText(ADest) + L")");
  }
  if (AResult == DISP_E_OVERFLOW) {
    throw EVariantOverflowError(L"Overflow while converting variant of type (" +
                                VarTypeAsText(ASource) + L") into type (" + VarTypeAsText(ADest) +
                                L")");
  }
  VarResultError(AResult);
}

// The variant a by-reference variant of variants points at; V itself else.
const VARIANT& Resolve(const VARIANT& V) {
  const VARIANT* P = &V;
  while (P->vt == (VT_BYREF | VT_VARIANT) && P->pvarVal) P = P->pvarVal;
  return *P;
}

// The type of the value V holds or refers to.
TVarType ValueType(const VARIANT& V) { return Resolve(V).vt & ~VT_BYREF; }

bool IsNumericType(TVarType AType) {
  switch (AType) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_BOOL:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DECIMAL:
      return true;
    default:
      return false;
  }
}

bool IsOwnKind(TVarType AType) {
  return AType == varString || AType == varFMTBcd || AType == varSQLTimeStamp;
}

Variant ChangeOwnKind(const VARIANT& ASource, TVarType ASourceType, TVarType ADest);

Variant ChangeType(const VARIANT& ASource, TVarType ADest) {
  TVarType SourceType = ValueType(ASource);
  if (IsOwnKind(SourceType) || IsOwnKind(ADest))
    return ChangeOwnKind(Resolve(ASource), SourceType, ADest);
  TVarType Target = ADest == varUString ? TVarType(VT_BSTR) : ADest;
  // The framework writes booleans as "True"/"False"; the platform's plain
  // conversion would give "-1"/"0".
  USHORT Flags = Target == VT_BSTR ? VARIANT_ALPHABOOL : 0;
  Variant R;
  HRESULT Res = VariantChangeTypeEx(R.Ptr(), const_cast<VARIANT*>(&ASource), LOCALE_USER_DEFAULT,
                                    Flags, Target);
  VarResultCheck(Res, SourceType, ADest);
  return R;
}

String BStrToString(BSTR S) { return S ? String(S, SysStringLen(S)) : String(); }

// An 8-bit string keeps its bytes in a BSTR made by byte length.
AnsiString BStrBytes(BSTR S) {
  return S ? AnsiString(reinterpret_cast<const char*>(S), SysStringByteLen(S)) : AnsiString();
}

BSTR AllocBytes(const char* AData, size_t ALength) {
  BSTR S = SysAllocStringByteLen(AData, static_cast<UINT>(ALength));
  if (!S) VarResultError(E_OUTOFMEMORY);
  return S;
}

// Text of the platform's conversions uses the user's decimal separator; BCD
// text is read and written with the same one.
TFormatSettings UserDecimalSettings() {
  TFormatSettings FS;
  wchar_t Buffer[8] = {};
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Buffer, 8) > 1)
    FS.DecimalSeparator = Buffer[0];
  return FS;
}

[[noreturn]] void RaiseCastError(TVarType ASource, TVarType ADest) {
  VarResultCheck(DISP_E_TYPEMISMATCH, ASource, ADest);
  throw EVariantTypeCastError(SInvalidVarCast);
}

TBcd ToBcd(const VARIANT& ASource, TVarType ASourceType) {
  switch (ASourceType) {
    case varFMTBcd:
      return *static_cast<const TBcd*>(ASource.byref);
    case VT_EMPTY:
      return IntegerToBcd(0);
    case VT_BOOL:
      return IntegerToBcd(ChangeType(ASource, VT_I8).Var().llVal);
    case VT_R4:
    case VT_R8:
    case VT_DATE: {
      Double D = ChangeType(ASource, VT_R8).Var().dblVal;
      if (!std::isfinite(D)) RaiseCastError(ASourceType, varFMTBcd);
      return DoubleToBcd(D);
    }
    default:
      break;
  }
  if (!IsNumericType(ASourceType) && ASourceType != VT_BSTR) RaiseCastError(ASourceType, varFMTBcd);
  String Text = BStrToString(ChangeType(ASource, VT_BSTR).Var().bstrVal);
  try {
    return StrToBcd(Text, UserDecimalSettings());
  } catch (const EBcdOverflowException&) {
    throw EVariantOverflowError(SVarOverflow);
  } catch (const EBcdException&) {
    RaiseCastError(ASourceType, varFMTBcd);
  }
}

Variant ChangeOwnKind(const VARIANT& ASource, TVarType ASourceType, TVarType ADest) {
  TVarType Dest = ADest == varUString ? TVarType(VT_BSTR) : ADest;
  if (ASourceType == Dest) return Variant(ASource);
  switch (ASourceType) {
    case varString:
      return ChangeType(Variant(AnsiToString(BStrBytes(ASource.bstrVal))).Var(), ADest);
    case varSQLTimeStamp: {
      TDateTime D;
      if (!TrySQLTimeStampToDateTime(*static_cast<const TSQLTimeStamp*>(ASource.byref), D))
        RaiseCastError(ASourceType, ADest);
      return ChangeType(Variant::FromDateTime(D).Var(), ADest);
    }
    case varFMTBcd: {
      const TBcd& B = *static_cast<const TBcd*>(ASource.byref);
      if (Dest == VT_R4 || Dest == VT_R8 || Dest == VT_DATE || Dest == varSQLTimeStamp)
        return ChangeType(Variant(BcdToDouble(B)).Var(), ADest);
      return ChangeType(Variant(BcdToStr(B, UserDecimalSettings())).Var(), ADest);
    }
    default:
      break;
  }
  switch (Dest) {
    case varString:
      return Variant::FromAnsiString(
          StringToAnsi(BStrToString(ChangeType(ASource, VT_BSTR).Var().bstrVal)));
    case varSQLTimeStamp:
      return Variant::FromSQLTimeStamp(
          DateTimeToSQLTimeStamp(ChangeType(ASource, VT_DATE).Var().date));
    default:
      return Variant::FromBcd(ToBcd(ASource, ASourceType));
  }
}

void ClearValue(VARIANT& V) noexcept;
void CopyValue(VARIANT& ADest, const VARIANT& ASource);

// Arrays of variants are walked element by element, since the platform's
// own copy and clear refuse (or leak) the framework's own kinds.
SAFEARRAY* CopyVariantArray(SAFEARRAY* A) {
  UINT Dims = SafeArrayGetDim(A);
  std::vector<SAFEARRAYBOUND> Bounds(Dims);
  size_t Count = 1;
  for (UINT D = 0; D < Dims; ++D) {
    LONG Low = 0, High = -1;
    VarResultCheck(SafeArrayGetLBound(A, D + 1, &Low));
    VarResultCheck(SafeArrayGetUBound(A, D + 1, &High));
    Bounds[D] = SAFEARRAYBOUND{static_cast<ULONG>(High - Low + 1), Low};
    Count *= Bounds[D].cElements;
  }
  SAFEARRAY* R = SafeArrayCreate(VT_VARIANT, Dims, Bounds.data());
  if (!R) throw EVariantArrayCreateError(SVarArrayCreate);
  // A copy that fails part-way is cleared, let go and destroyed, in that
  // order: the guards unwind in reverse.
  auto DestroyOnFailure = Finally([&] { SafeArrayDestroy(R); });
  VARIANT *Source = nullptr, *Dest = nullptr;
  SafeArrayAccessData(A, reinterpret_cast<void**>(&Source));
  SafeArrayAccessData(R, reinterpret_cast<void**>(&Dest));
  auto Unaccess = Finally([&] {
    SafeArrayUnaccessData(R);
    SafeArrayUnaccessData(A);
  });
  auto ClearOnFailure = Finally([&] {
    for (size_t I = 0; I < Count; ++I) ClearValue(Dest[I]);
  });
  for (size_t I = 0; I < Count; ++I) CopyValue(Dest[I], Source[I]);
  ClearOnFailure.Dismiss();
  DestroyOnFailure.Dismiss();
  return R;
}

void ClearVariantArrayElements(SAFEARRAY* A) noexcept {
  UINT Dims = SafeArrayGetDim(A);
  size_t Count = Dims ? 1 : 0;
  for (UINT D = 0; D < Dims; ++D) {
    LONG Low = 0, High = -1;
    SafeArrayGetLBound(A, D + 1, &Low);
    SafeArrayGetUBound(A, D + 1, &High);
    Count *= static_cast<size_t>(High - Low + 1);
  }
  VARIANT* Items = nullptr;
  if (FAILED(SafeArrayAccessData(A, reinterpret_cast<void**>(&Items)))) return;
  for (size_t I = 0; I < Count; ++I) ClearValue(Items[I]);
  SafeArrayUnaccessData(A);
}

void ClearValue(VARIANT& V) noexcept {
  switch (V.vt) {
    case varString:
      SysFreeString(V.bstrVal);
      break;
    case varFMTBcd:
      delete static_cast<TBcd*>(V.byref);
      break;
    case varSQLTimeStamp:
      delete static_cast<TSQLTimeStamp*>(V.byref);
      break;
    case VT_ARRAY | VT_VARIANT:
      if (V.parray) ClearVariantArrayElements(V.parray);
      VariantClear(&V);
      break;
    default:
      VariantClear(&V);
      break;
  }
  VariantInit(&V);
}

// ADest must be Empty.
void CopyValue(VARIANT& ADest, const VARIANT& ASource) {
  const VARIANT& R = Resolve(ASource);
  switch (R.vt) {
    case varString: {
      AnsiString Bytes = BStrBytes(R.bstrVal);
      ADest.bstrVal = AllocBytes(Bytes.data(), Bytes.size());
      ADest.vt = varString;
      return;
    }
    case varFMTBcd:
      ADest.byref = new TBcd(*static_cast<const TBcd*>(R.byref));
      ADest.vt = varFMTBcd;
      return;
    case varSQLTimeStamp:
      ADest.byref = new TSQLTimeStamp(*static_cast<const TSQLTimeStamp*>(R.byref));
      ADest.vt = varSQLTimeStamp;
      return;
    case VT_ARRAY | VT_VARIANT:
    case VT_BYREF | VT_ARRAY | VT_VARIANT: {
      SAFEARRAY* A = (R.vt & VT_BYREF) ? (R.pparray ? *R.pparray : nullptr) : R.parray;
      if (!A) break;
      ADest.parray = CopyVariantArray(A);
      ADest.vt = VT_ARRAY | VT_VARIANT;
      return;
    }
    default:
      break;
  }
  VarResultCheck(VariantCopyInd(&ADest, const_cast<VARIANT*>(&ASource)));
}

SAFEARRAY* ArrayOf(const VARIANT& V) {
  const VARIANT& R = Resolve(V);
  if (!(R.vt & VT_ARRAY)) VarResultError(E_INVALIDARG);
  SAFEARRAY* A = (R.vt & VT_BYREF) ? (R.pparray ? *R.pparray : nullptr) : R.parray;
  if (!A) VarResultError(E_INVALIDARG);
  return A;
}

std::vector<LONG> ArrayIndices(SAFEARRAY* A, std::initializer_list<Integer> AIndices) {
  if (AIndices.size() != SafeArrayGetDim(A)) VarResultError(DISP_E_BADINDEX);
  return std::vector<LONG>(AIndices.begin(), AIndices.end());
}

VARTYPE ElementType(SAFEARRAY* A) {
  VARTYPE VT = VT_EMPTY;
  VarResultCheck(SafeArrayGetVartype(A, &VT));
  return VT;
}

int CompareResult(HRESULT ARes) {
  switch (ARes) {
    case VARCMP_LT:
      return -1;
    case VARCMP_EQ:
      return 0;
    case VARCMP_GT:
      return 1;
    default:
      VarResultError(ARes);
  }
}

bool IsIntegerType(TVarType AType) {
  return IsNumericType(AType) && AType != VT_R4 && AType != VT_R8 && AType != VT_CY &&
         AType != VT_DECIMAL;
}

template <class T>
int Sign(T L, T R) {
  return L < R ? -1 : (R < L ? 1 : 0);
}

// Integers of any width and sign compare exactly: an unsigned value above
// the signed range is greater than every signed one.
int CompareIntegers(const VARIANT& L, const VARIANT& R) {
  auto Big = [](const VARIANT& V) {
    return ValueType(V) == VT_UI8 && ChangeType(V, VT_UI8).Var().ullVal > UInt64(INT64_MAX);
  };
  bool LBig = Big(L), RBig = Big(R);
  if (LBig || RBig) {
    if (!(LBig && RBig)) return LBig ? 1 : -1;
    return Sign(ChangeType(L, VT_UI8).Var().ullVal, ChangeType(R, VT_UI8).Var().ullVal);
  }
  return Sign(ChangeType(L, VT_I8).Var().llVal, ChangeType(R, VT_I8).Var().llVal);
}

// Numbers of different kinds are brought to one kind by the platform's
// conversions: integers stay exact, currency and decimal go to decimal
// (which holds every integer and currency value exactly), anything with a
// float or a date to double. oleaut32's own VarCmp is not used because it
// refuses the unsigned and 8-bit types.
int CompareNumbers(const VARIANT& L, TVarType LT, const VARIANT& R, TVarType RT) {
  if (IsIntegerType(LT) && IsIntegerType(RT)) return CompareIntegers(L, R);
  auto Exact = [](TVarType T) { return IsIntegerType(T) || T == VT_CY || T == VT_DECIMAL; };
  if (Exact(LT) && Exact(RT)) {
    Variant LD = ChangeType(L, VT_DECIMAL), RD = ChangeType(R, VT_DECIMAL);
    return CompareResult(VarDecCmp(&LD.Ptr()->decVal, &RD.Ptr()->decVal));
  }
  Double LD = ChangeType(L, VT_R8).Var().dblVal, RD = ChangeType(R, VT_R8).Var().dblVal;
  // NaN sorts above every number and equals only NaN, so the order stays
  // total.
  if (std::isnan(LD) || std::isnan(RD)) return int(std::isnan(LD)) - int(std::isnan(RD));
  return Sign(LD, RD);
}

// The kind a string is converted to when compared with a number of type
// AOther.
TVarType NumberKindFor(TVarType AOther) {
  switch (AOther) {
    case VT_DATE:
    case VT_BOOL:
    case VT_DECIMAL:
      return AOther;
    default:
      return VT_R8;
  }
}

int CompareValues(const VARIANT& L, const VARIANT& R);

int CompareWithEmpty(const VARIANT& AOther, bool AEmptyIsLeft) {
  TVarType OtherType = ValueType(AOther);
  if (OtherType == VT_EMPTY) return 0;
  if (OtherType != VT_BSTR && OtherType != VT_DATE && !IsNumericType(OtherType)) {
    throw EVariantInvalidOpError(SInvalidVarOp);
  }
  VARIANT Empty;
  VariantInit(&Empty);
  Variant Zero = ChangeType(Empty, OtherType);
  return AEmptyIsLeft ? CompareValues(Zero.Var(), AOther) : CompareValues(AOther, Zero.Var());
}

// 8-bit text and time stamps compare as their platform forms; a BCD on
// either side makes it a comparison of decimals.
int CompareOwnKinds(const VARIANT& L, TVarType LT, const VARIANT& R, TVarType RT) {
  auto PlatformForm = [](TVarType T) -> TVarType {
    return T == varString ? TVarType(VT_BSTR) : T == varSQLTimeStamp ? TVarType(VT_DATE) : T;
  };
  if (LT == varString || LT == varSQLTimeStamp)
    return CompareValues(ChangeType(L, PlatformForm(LT)).Var(), R);
  if (RT == varString || RT == varSQLTimeStamp)
    return CompareValues(L, ChangeType(R, PlatformForm(RT)).Var());
  return BcdCompare(ToBcd(Resolve(L), LT), ToBcd(Resolve(R), RT));
}

int CompareValues(const VARIANT& L, const VARIANT& R) {
  TVarType LT = ValueType(L), RT = ValueType(R);
  if ((LT | RT) & VT_ARRAY) throw EVariantInvalidOpError(SInvalidVarOp);
  if (LT == VT_NULL || RT == VT_NULL) return (LT == VT_NULL ? 0 : 1) - (RT == VT_NULL ? 0 : 1);
  if (IsOwnKind(LT) || IsOwnKind(RT)) return CompareOwnKinds(L, LT, R, RT);
  if (LT == VT_EMPTY) return CompareWithEmpty(R, true);
  if (RT == VT_EMPTY) return CompareWithEmpty(L, false);
  bool LNum = IsNumericType(LT) || LT == VT_DATE, RNum = IsNumericType(RT) || RT == VT_DATE;
  if (LT == VT_BSTR && RT == VT_BSTR) {
    const VARIANT& LV = Resolve(L);
    const VARIANT& RV = Resolve(R);
    BSTR LS = (LV.vt & VT_BYREF) ? *LV.pbstrVal : LV.bstrVal;
    BSTR RS = (RV.vt & VT_BYREF) ? *RV.pbstrVal : RV.bstrVal;
    return CompareResult(VarBstrCmp(LS, RS, LOCALE_USER_DEFAULT, 0));
  }
  if (LNum && RNum) {
    return CompareNumbers(L, LT, R, RT);
  }
  if (LT == VT_BSTR && RNum) return CompareValues(ChangeType(L, NumberKindFor(RT)).Var(), R);
  if (RT == VT_BSTR && LNum) return CompareValues(L, ChangeType(R, NumberKindFor(LT)).Var());
  throw EVariantInvalidOpError(SInvalidVarOp);
}

}  // namespace

Currency Currency::FromDouble(Double AValue) {
  CY Res{};
  VarResultCheck(VarCyFromR8(AValue, &Res), varDouble, varCurrency);
  return Currency{Res.int64};
}

Double Currency::ToDouble() const {
  CY Value{};
  Value.int64 = Scaled;
  Double Res = 0;
  VarR8FromCy(Value, &Res);
  return Res;
}

Variant::Variant(Single AValue) noexcept : Variant() {
  FVar.vt = VT_R4;
  FVar.fltVal = AValue;
}

Variant::Variant(Double AValue) noexcept : Variant() {
  FVar.vt = VT_R8;
  FVar.dblVal = AValue;
}

Variant::Variant(Currency AValue) noexcept : Variant() {
  FVar.vt = VT_CY;
  FVar.cyVal.int64 = AValue.Scaled;
}

Variant::Variant(const String& AValue) : Variant() {
  BSTR S = SysAllocStringLen(AValue.data(), static_cast<UINT>(AValue.size()));
  if (!S) VarResultError(E_OUTOFMEMORY);
  FVar.vt = VT_BSTR;
  FVar.bstrVal = S;
}

Variant::Variant(const wchar_t* AValue) : Variant(String(AValue ? AValue : L"")) {}

Variant::Variant(IDispatch* AValue) noexcept : Variant() {
  FVar.vt = VT_DISPATCH;
  FVar.pdispVal = AValue;
  if (AValue) AValue->AddRef();
}

Variant::Variant(IUnknown* AValue) noexcept : Variant() {
  FVar.vt = VT_UNKNOWN;
  FVar.punkVal = AValue;
  if (AValue) AValue->AddRef();
}

Variant::Variant(const VARIANT& AValue) : Variant() { CopyValue(FVar, AValue); }

Variant Variant::FromDateTime(TDateTime AValue) noexcept {
  Variant R;
  R.FVar.vt = VT_DATE;
  R.FVar.date = AValue;
  return R;
}

Variant::Variant(const Variant& AValue) : Variant(AValue.FVar) {}

Variant::Variant(Variant&& AValue) noexcept : FVar(AValue.FVar) { VariantInit(&AValue.FVar); }

Variant& Variant::operator=(const Variant& AValue) {
  if (this != &AValue) *this = Variant(AValue);
  return *this;
}

Variant& Variant::operator=(Variant&& AValue) noexcept {
  if (this != &AValue) {
    Clear();
    FVar = AValue.FVar;
    VariantInit(&AValue.FVar);
  }
  return *this;
}

Variant::~Variant() { Clear(); }

VARIANT Variant::Detach() noexcept {
  VARIANT R = FVar;
  VariantInit(&FVar);
  return R;
}

void Variant::Clear() noexcept { ClearValue(FVar); }

Variant Variant::FromAnsiString(const AnsiString& AValue) {
  Variant R;
  R.FVar.bstrVal = AllocBytes(AValue.data(), AValue.size());
  R.FVar.vt = varString;
  return R;
}

Variant Variant::FromBcd(const TBcd& AValue) {
  Variant R;
  R.FVar.byref = new TBcd(AValue);
  R.FVar.vt = varFMTBcd;
  return R;
}

Variant Variant::FromSQLTimeStamp(const TSQLTimeStamp& AValue) {
  Variant R;
  R.FVar.byref = new TSQLTimeStamp(AValue);
  R.FVar.vt = varSQLTimeStamp;
  return R;
}

void Variant::SetInteger(bool ASigned, size_t ASize, UInt64 ABits) noexcept {
  switch (ASize) {
    case 1:
      FVar.vt = ASigned ? VT_I1 : VT_UI1;
      if (ASigned)
        FVar.cVal = static_cast<CHAR>(ABits);
      else
        FVar.bVal = static_cast<BYTE>(ABits);
      break;
    case 2:
      FVar.vt = ASigned ? VT_I2 : VT_UI2;
      if (ASigned)
        FVar.iVal = static_cast<SHORT>(ABits);
      else
        FVar.uiVal = static_cast<USHORT>(ABits);
      break;
    case 4:
      FVar.vt = ASigned ? VT_I4 : VT_UI4;
      if (ASigned)
        FVar.lVal = static_cast<LONG>(ABits);
      else
        FVar.ulVal = static_cast<ULONG>(ABits);
      break;
    default:
      FVar.vt = ASigned ? VT_I8 : VT_UI8;
      if (ASigned)
        FVar.llVal = static_cast<LONGLONG>(ABits);
      else
        FVar.ullVal = static_cast<ULONGLONG>(ABits);
      break;
  }
}

String Variant::AsString() const {
  return BStrToString(ChangeType(FVar, varUString).Var().bstrVal);
}
Integer Variant::AsInteger() const { return ChangeType(FVar, varInteger).Var().lVal; }
Int64 Variant::AsInt64() const { return ChangeType(FVar, varInt64).Var().llVal; }
Double Variant::AsDouble() const { return ChangeType(FVar, varDouble).Var().dblVal; }
Boolean Variant::AsBoolean() const { return ChangeType(FVar, varBoolean).Var().boolVal != 0; }
TDateTime Variant::AsDateTime() const { return ChangeType(FVar, varDate).Var().date; }

AnsiString Variant::AsAnsiString() const {
  return BStrBytes(ChangeType(FVar, varString).Var().bstrVal);
}

TBcd Variant::AsBcd() const {
  return *static_cast<const TBcd*>(ChangeType(FVar, varFMTBcd).Var().byref);
}

TSQLTimeStamp Variant::AsSQLTimeStamp() const {
  return *static_cast<const TSQLTimeStamp*>(ChangeType(FVar, varSQLTimeStamp).Var().byref);
}

int Variant::Compare(const Variant& L, const Variant& R) { return CompareValues(L.FVar, R.FVar); }

Variant Unassigned() { return Variant(); }

Variant Null() {
  VARIANT V;
  VariantInit(&V);
  V.vt = VT_NULL;
  return Variant(V);
}

Variant EmptyParam() {
  VARIANT V;
  VariantInit(&V);
  V.vt = VT_ERROR;
  V.scode = DISP_E_PARAMNOTFOUND;
  return Variant(V);
}

TVarType VarType(const Variant& V) { return V.Var().vt; }

String VarTypeAsText(TVarType AVarType) {
  static const wchar_t* const Names[] = {
      L"Empty",    L"Null",     L"Smallint", L"Integer",  L"Single",   L"Double",
      L"Currency", L"Date",     L"OleStr",   L"Dispatch", L"Error",    L"Boolean",
      L"Variant",  L"Unknown",  L"Decimal",  nullptr,     L"ShortInt", L"Byte",
      L"Word",     L"LongWord", L"Int64",    L"UInt64"};
  TVarType Base = AVarType & varTypeMask;
  String R;
  if (Base < std::size(Names) && Names[Base]) {
    R = Names[Base];
  } else if (Base == varString) {
    R = L"AnsiString";
  } else if (Base == varUString) {
    R = L"String";
  } else if (Base == varFMTBcd) {
    R = L"FMTBcd";
  } else if (Base == varSQLTimeStamp) {
    R = L"SQLTimeStamp";
  } else {
    R = L"$" + HexCode(Base, 4);
  }
  if (AVarType & varArray) R = L"Array " + R;
  if (AVarType & varByRef) R = L"ByRef " + R;
  return R;
}

bool VarIsEmpty(const Variant& V) { return ValueType(V.Var()) == VT_EMPTY; }
bool VarIsNull(const Variant& V) { return ValueType(V.Var()) == VT_NULL; }

bool VarIsClear(const Variant& V) {
  const VARIANT& R = Resolve(V.Var());
  switch (R.vt) {
    case VT_EMPTY:
      return true;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      return R.punkVal == nullptr;
    case VT_DISPATCH | VT_BYREF:
    case VT_UNKNOWN | VT_BYREF:
      return !R.ppunkVal || !*R.ppunkVal;
    default:
      return false;
  }
}

bool VarIsArray(const Variant& V) { return (ValueType(V.Var()) & VT_ARRAY) != 0; }
bool VarIsNumeric(const Variant& V) { return IsNumericType(ValueType(V.Var())); }
bool VarIsStr(const Variant& V) {
  TVarType T = ValueType(V.Var());
  return T == VT_BSTR || T == varString;
}

String VarToStr(const Variant& V) { return VarToStrDef(V, String()); }

String VarToStrDef(const Variant& V, const String& ADefault) {
  return VarIsNull(V) ? ADefault : V.AsString();
}

String VarToWideStr(const Variant& V) { return VarToStr(V); }

Variant VarAsType(const Variant& V, TVarType AVarType) { return ChangeType(V.Var(), AVarType); }

Variant VarArrayOf(std::initializer_list<Variant> AValues) {
  Variant R = VarArrayCreate({0, static_cast<Integer>(AValues.size()) - 1}, varVariant);
  Integer I = 0;
  for (const Variant& Value : AValues) VarArrayPut(R, Value, {I++});
  return R;
}

Variant VarArrayCreate(std::initializer_list<Integer> ABounds, TVarType AVarType) {
  if (ABounds.size() == 0 || ABounds.size() % 2 != 0)
    throw EVariantArrayCreateError(SVarArrayCreate);
  std::vector<SAFEARRAYBOUND> Bounds;
  for (auto P = ABounds.begin(); P != ABounds.end(); P += 2) {
    Int64 Count = Int64(P[1]) - P[0] + 1;
    if (Count < 0) throw EVariantArrayCreateError(SVarArrayCreate);
    Bounds.push_back(SAFEARRAYBOUND{static_cast<ULONG>(Count), P[0]});
  }
  SAFEARRAY* A = SafeArrayCreate(AVarType, static_cast<UINT>(Bounds.size()), Bounds.data());
  if (!A) throw EVariantArrayCreateError(SVarArrayCreate);
  VARIANT V;
  VariantInit(&V);
  V.vt = VT_ARRAY | AVarType;
  V.parray = A;
  Variant R;
  *R.Ptr() = V;
  return R;
}

Integer VarArrayDimCount(const Variant& V) {
  return VarIsArray(V) ? static_cast<Integer>(SafeArrayGetDim(ArrayOf(V.Var()))) : 0;
}

Integer VarArrayLowBound(const Variant& A, Integer ADim) {
  LONG Res = 0;
  VarResultCheck(SafeArrayGetLBound(ArrayOf(A.Var()), ADim, &Res));
  return Res;
}

Integer VarArrayHighBound(const Variant& A, Integer ADim) {
  LONG Res = 0;
  VarResultCheck(SafeArrayGetUBound(ArrayOf(A.Var()), ADim, &Res));
  return Res;
}

Variant VarArrayGet(const Variant& A, std::initializer_list<Integer> AIndices) {
  SAFEARRAY* Arr = ArrayOf(A.Var());
  std::vector<LONG> Indices = ArrayIndices(Arr, AIndices);
  VARTYPE VT = ElementType(Arr);
  // A record element would need a buffer of the record's size.
  if (VT == VT_RECORD) VarResultError(DISP_E_BADVARTYPE);
  Variant R;
  VARIANT* Out = R.Ptr();
  // SafeArrayGetElement copies the element (a new BSTR, an added
  // reference), which the result then owns.
  if (VT == VT_VARIANT) {
    VARIANT* Slot = nullptr;
    VarResultCheck(SafeArrayPtrOfIndex(Arr, Indices.data(), reinterpret_cast<void**>(&Slot)));
    CopyValue(*Out, *Slot);
  } else if (VT == VT_DECIMAL) {
    VarResultCheck(SafeArrayGetElement(Arr, Indices.data(), &Out->decVal));
    Out->vt = VT_DECIMAL;
  } else {
    VarResultCheck(SafeArrayGetElement(Arr, Indices.data(), &Out->llVal));
    Out->vt = VT;
  }
  return R;
}

void VarArrayPut(Variant& A, const Variant& AValue, std::initializer_list<Integer> AIndices) {
  SAFEARRAY* Arr = ArrayOf(A.Var());
  std::vector<LONG> Indices = ArrayIndices(Arr, AIndices);
  VARTYPE VT = ElementType(Arr);
  if (VT == VT_VARIANT) {
    // The array copies without resolving references; it must hold the value,
    // since the referenced variable lives only as long as a COM call.
    Variant Value = AValue;
    VARIANT* Slot = nullptr;
    VarResultCheck(SafeArrayPtrOfIndex(Arr, Indices.data(), reinterpret_cast<void**>(&Slot)));
    ClearValue(*Slot);
    *Slot = Value.Detach();
    return;
  }
  Variant Value = ChangeType(AValue.Var(), VT);
  VARIANT* V = Value.Ptr();
  // Strings and interfaces go in as the pointer itself, everything else as
  // a pointer to the value; the array makes its own copy either way.
  void* Data;
  switch (VT) {
    case VT_BSTR:
      Data = V->bstrVal;
      break;
    case VT_DISPATCH:
    case VT_UNKNOWN:
      Data = V->punkVal;
      break;
    case VT_DECIMAL:
      Data = &V->decVal;
      break;
    default:
      Data = &V->llVal;
      break;
  }
  VarResultCheck(SafeArrayPutElement(Arr, Indices.data(), Data));
}

void VarArrayRedim(Variant& A, Integer AHighBound) {
  SAFEARRAY* Arr = ArrayOf(A.Var());
  Integer LastDim = static_cast<Integer>(SafeArrayGetDim(Arr));
  LONG Low = 0;
  VarResultCheck(SafeArrayGetLBound(Arr, LastDim, &Low));
  Int64 Count = Int64(AHighBound) - Low + 1;
  if (Count < 0) throw EVariantArrayCreateError(SVarArrayCreate);
  SAFEARRAYBOUND Bound{static_cast<ULONG>(Count), Low};
  VarResultCheck(SafeArrayRedim(Arr, &Bound));
}
