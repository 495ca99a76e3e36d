#include "cxExtEditUtils.h"

#include "cxEdit.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr Int64 Int64Min = std::numeric_limits<Int64>::min();
constexpr Int64 Int64Max = std::numeric_limits<Int64>::max();

// A value outside [AMin, AMax] (AMin may even exceed AMax): a forward step
// goes to the lower bound, a backward one to the upper bound, but a step
// away from the range (backward from below, forward from above) only when
// circular. False when the value is in range: the step decides then.
template <class T>
bool OutOfRangeStep(T& AValue, T AMin, T AMax, bool AForward, TcxSpinBoundsCheckingKind AKind,
                    bool& AResult) {
  const bool Circular = AKind == bckCircular;
  if (AValue < AMin) {
    AResult = AForward || Circular;
    if (AResult) AValue = AForward ? AMin : AMax;
    return true;
  }
  if (AValue > AMax) {
    AResult = !AForward || Circular;
    if (AResult) AValue = AForward ? AMin : AMax;
    return true;
  }
  return false;
}

// The distances are taken in unsigned arithmetic: with AMin <= AValue <= AMax
// each fits in 64 bits, where the signed differences of far-apart values
// would overflow.
bool IncrementInt64(Int64& AValue, Int64 AMin, Int64 AMax, Int64 AIncrement,
                    TcxSpinBoundsCheckingKind AKind) {
  const UInt64 Value = static_cast<UInt64>(AValue);
  const UInt64 UpRoom = static_cast<UInt64>(AMax) - Value;
  const UInt64 DownRoom = Value - static_cast<UInt64>(AMin);
  const bool Up = AIncrement >= 0;
  const UInt64 Step = Up ? static_cast<UInt64>(AIncrement) : 0 - static_cast<UInt64>(AIncrement);
  const UInt64 Room = Up ? UpRoom : DownRoom;
  if (Step <= Room) {
    AValue = static_cast<Int64>(Up ? Value + Step : Value - Step);
    return true;
  }
  switch (AKind) {
    case bckDoNotExceed:
      return false;
    case bckExtendToBound:
      AValue = Up ? AMax : AMin;
      return true;
    case bckCircular:
      break;
  }
  // The ring holds Max - Min + 1 values; 0 stands for the whole 2^64.
  const UInt64 Ring = static_cast<UInt64>(AMax) - static_cast<UInt64>(AMin) + 1;
  UInt64 Offset = Step - Room - 1;
  if (Ring != 0) Offset %= Ring;
  AValue = static_cast<Int64>(Up ? static_cast<UInt64>(AMin) + Offset
                                 : static_cast<UInt64>(AMax) - Offset);
  return true;
}

// Past a bound by AOvershoot (> 0) on a ring where the other bound follows
// one unit later. A landing point in the gap between the two bounds, which a
// fractional value or step can reach, stops at the bound just crossed rather
// than leaving the range.
Double WrapFloat(Double AMin, Double AMax, Double AOvershoot, bool AUp) {
  const Double Ring = AMax - AMin + 1;
  Double Offset = AOvershoot - 1;
  if (Offset < 0) return AUp ? AMax : AMin;
  if (std::isfinite(Ring)) Offset = std::fmod(Offset, Ring);
  if (Offset > AMax - AMin) return AUp ? AMax : AMin;
  return AUp ? AMin + Offset : AMax - Offset;
}

bool IncrementFloat(Double& AValue, Double AMin, Double AMax, Double AIncrement,
                    TcxSpinBoundsCheckingKind AKind, const TFormatSettings& ASettings) {
  if (!std::isfinite(AIncrement)) return false;
  Double Shown = AValue;
  if (!TryStrToFloat(FloatToStr(AValue, ASettings), Shown, ASettings)) Shown = AValue;
  Shown = std::min(std::max(Shown, AMin), AMax);
  const bool Up = AIncrement >= 0;
  // The room may be infinite (the whole double range); the overshoot past a
  // finite room never is.
  const Double Room = Up ? AMax - Shown : Shown - AMin;
  const Double Step = std::fabs(AIncrement);
  if (Step <= Room) {
    AValue = std::min(std::max(Shown + AIncrement, AMin), AMax);
    return true;
  }
  switch (AKind) {
    case bckDoNotExceed:
      return false;
    case bckExtendToBound:
      AValue = Up ? AMax : AMin;
      return true;
    case bckCircular:
      break;
  }
  AValue = WrapFloat(AMin, AMax, Step - Room, Up);
  return true;
}

}  // namespace

Int64 cxSpinRoundToInt64(Double AValue) {
  if (std::isnan(AValue)) return 0;
  // 2^63 is exact as a double; everything at or past it saturates.
  constexpr Double Limit = 9223372036854775808.0;
  if (AValue >= Limit) return Int64Max;
  if (AValue <= -Limit) return Int64Min;
  return Round(AValue);
}

bool cxSpinGetNewValue(Int64& AValue, Int64 AMin, Int64 AMax, Int64 AIncrement, bool AForward,
                       TcxSpinBoundsCheckingKind AKind) {
  bool Result = false;
  if (OutOfRangeStep(AValue, AMin, AMax, AForward, AKind, Result)) return Result;
  return IncrementInt64(AValue, AMin, AMax, AIncrement, AKind);
}

bool cxSpinGetNewValue(Double& AValue, Double AMin, Double AMax, Double AIncrement, bool AForward,
                       TcxSpinBoundsCheckingKind AKind, const TFormatSettings& ASettings) {
  if (std::isnan(AValue)) return false;
  bool Result = false;
  if (OutOfRangeStep(AValue, AMin, AMax, AForward, AKind, Result)) return Result;
  return IncrementFloat(AValue, AMin, AMax, AIncrement, AKind, ASettings);
}

void cxExtEditModuleInitialize(Integer& AInitCount, TdxProc ARegister, TdxProc AUnregister) {
  if (AInitCount++ > 0) return;
  if (TdxUnitsLoader* Loader = dxUnitsLoader())
    Loader->AddUnit(ARegister, AUnregister);
  else
    ARegister();
}

void cxExtEditModuleFinalize(Integer& AInitCount, TdxProc AUnregister) {
  if (AInitCount == 0 || --AInitCount > 0) return;
  if (TdxUnitsLoader* Loader = dxUnitsLoader())
    Loader->RemoveUnit(AUnregister);
  else
    AUnregister();
}

void cxRegisterEditProperties(TClass AClass, const TResStringRec* ADescription) {
  if (TcxRegisteredClasses* R = GetRegisteredEditProperties())
    R->Register(AClass, cxGetResourceString(ADescription));
}

void cxUnregisterEditProperties(TClass AClass) {
  if (TcxRegisteredClasses* R = GetRegisteredEditProperties()) R->Unregister(AClass);
}

void cxWriteVariant(TWriter* AWriter, const Variant& AValue) {
  switch (VarType(AValue)) {
    case varEmpty:
      AWriter->WriteValue(vaNil);
      break;
    case varNull:
      AWriter->WriteValue(vaNull);
      break;
    case varBoolean:
      AWriter->WriteBoolean(AValue.AsBoolean());
      break;
    case varSingle:
      AWriter->WriteSingle(static_cast<Single>(AValue.AsDouble()));
      break;
    case varDouble:
    case varDecimal:
      AWriter->WriteDouble(AValue.AsDouble());
      break;
    case varCurrency:
      AWriter->WriteCurrency(AValue.Var().cyVal.int64);
      break;
    case varDate:
      AWriter->WriteDate(AValue.AsDateTime());
      break;
    case varOleStr:
      AWriter->WriteString(AValue.AsString());
      break;
    default:
      if (!VarIsNumeric(AValue))
        throw EWriteError(Format(L"A %s value cannot be stored", {VarTypeAsText(VarType(AValue))}));
      AWriter->WriteInteger(AValue.AsInt64());
      break;
  }
}

Variant cxReadVariant(TReader* AReader) {
  switch (AReader->NextValue()) {
    case vaNil:
      AReader->ReadValue();
      return Unassigned();
    case vaNull:
      AReader->ReadValue();
      return Null();
    case vaFalse:
    case vaTrue:
      return Variant(AReader->ReadBoolean());
    case vaInt8:
    case vaInt16:
    case vaInt32:
      return Variant(AReader->ReadInteger());
    case vaInt64:
      return Variant(AReader->ReadInt64());
    case vaSingle:
      return Variant(AReader->ReadSingle());
    case vaDouble:
    case vaExtended:
      return Variant(AReader->ReadDouble());
    case vaCurrency:
      return Variant(Currency{AReader->ReadCurrency()});
    case vaDate:
      return Variant::FromDateTime(AReader->ReadDate());
    default:
      return Variant(AReader->ReadString());
  }
}
