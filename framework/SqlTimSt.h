// SQL time stamps: a date and time held field by field, and the variant kind
// that carries them.
#pragma once

#include "Variants.h"

struct TSQLTimeStamp {
  SmallInt Year = 0;
  Word Month = 0;
  Word Day = 0;
  Word Hour = 0;
  Word Minute = 0;
  Word Second = 0;
  // Milliseconds.
  Cardinal Fractions = 0;
};
static_assert(sizeof(TSQLTimeStamp) == 16);

TSQLTimeStamp DateTimeToSQLTimeStamp(TDateTime ADateTime);
// EConvertError for a stamp that names no valid date and time.
TDateTime SQLTimeStampToDateTime(const TSQLTimeStamp& ATimeStamp);
bool TrySQLTimeStampToDateTime(const TSQLTimeStamp& ATimeStamp, TDateTime& ADateTime);

Variant VarSQLTimeStampCreate(const TSQLTimeStamp& ATimeStamp);
Variant VarSQLTimeStampCreate(TDateTime ADateTime);
bool VarIsSQLTimeStamp(const Variant& V);
// V converted through a date; raises as the date conversion does.
TSQLTimeStamp VarToSQLTimeStamp(const Variant& V);
