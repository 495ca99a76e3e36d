// Helpers shared by the extended editors that have no module of their own:
// the arithmetic of the spin editor's steps, which needs no window.
#pragma once

#include "Classes.h"
#include "SysUtils.h"
#include "Variants.h"
#include "dxCore.h"

// How a step that would leave the editor's range ends.
enum TcxSpinBoundsCheckingKind { bckDoNotExceed, bckExtendToBound, bckCircular };

// AValue rounded half to even to a 64-bit integer; values beyond the type's
// limits give the nearest limit and NaN gives 0, so that a huge increment or
// bound of an integer editor never overflows.
Int64 cxSpinRoundToInt64(Double AValue);

// One step of a spin value from a button. AForward tells the step's
// direction by button (a forward button may carry a negative increment).
// A value below AMin goes to AMin on a forward step, to AMax on a backward
// step only when circular; a value above AMax the other way round. A value
// in range moves by AIncrement; a step that leaves the range stops at the
// bound, wraps round a ring in which AMax and AMin are one unit apart, or
// (bckDoNotExceed) gives no value. False when no new value is produced.
// The integer step is exact over the whole 64-bit range.
bool cxSpinGetNewValue(Int64& AValue, Int64 AMin, Int64 AMax, Int64 AIncrement, bool AForward,
                       TcxSpinBoundsCheckingKind AKind);
// The float step adds to the value as it is shown (the framework's 15-digit
// text under ASettings), so that the shown digits are stepped without the
// residue of the binary representation: 0.2 and a step of 0.1 show 0.3.
bool cxSpinGetNewValue(Double& AValue, Double AMin, Double AMax, Double AIncrement, bool AForward,
                       TcxSpinBoundsCheckingKind AKind, const TFormatSettings& ASettings);

// A module's start-up and shut-down around AInitCount: ARegister runs at the
// first start-up (through the units loader when there is one), AUnregister
// at the last shut-down.
void cxExtEditModuleInitialize(Integer& AInitCount, TdxProc ARegister, TdxProc AUnregister);
void cxExtEditModuleFinalize(Integer& AInitCount, TdxProc AUnregister);
// AClass in the editors' registry of properties classes, described by the
// current text of ADescription ("ShortName|Description").
void cxRegisterEditProperties(TClass AClass, const TResStringRec* ADescription);
void cxUnregisterEditProperties(TClass AClass);

// A variant value of a form resource. Empty, Null, Boolean, Integer, Double,
// Single, Currency, date and string values read back with their own type;
// integers of other widths read back as Integer (Int64 beyond its range),
// decimals as Double. Other values (arrays, interfaces) raise EWriteError.
void cxWriteVariant(TWriter* AWriter, const Variant& AValue);
Variant cxReadVariant(TReader* AReader);
