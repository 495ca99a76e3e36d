#include "SqlTimSt.h"

#include <cmath>

TSQLTimeStamp DateTimeToSQLTimeStamp(TDateTime ADateTime) {
  Word Year, Month, Day, Hour, Min, Sec, MSec;
  DecodeDate(ADateTime, Year, Month, Day);
  DecodeTime(ADateTime, Hour, Min, Sec, MSec);
  TSQLTimeStamp R;
  R.Year = static_cast<SmallInt>(Year);
  R.Month = Month;
  R.Day = Day;
  R.Hour = Hour;
  R.Minute = Min;
  R.Second = Sec;
  R.Fractions = MSec;
  return R;
}

bool TrySQLTimeStampToDateTime(const TSQLTimeStamp& ATimeStamp, TDateTime& ADateTime) {
  TDateTime Date, Time;
  if (ATimeStamp.Year < 1 || ATimeStamp.Fractions >= 1000 ||
      !TryEncodeDate(static_cast<Word>(ATimeStamp.Year), ATimeStamp.Month, ATimeStamp.Day, Date) ||
      !TryEncodeTime(ATimeStamp.Hour, ATimeStamp.Minute, ATimeStamp.Second,
                     static_cast<Word>(ATimeStamp.Fractions), Time))
    return false;
  ADateTime = ComposeDateTime(Date, Time);
  return true;
}

TDateTime SQLTimeStampToDateTime(const TSQLTimeStamp& ATimeStamp) {
  TDateTime R;
  if (!TrySQLTimeStampToDateTime(ATimeStamp, R))
    throw EConvertError(L"Invalid argument to time stamp conversion");
  return R;
}

Variant VarSQLTimeStampCreate(const TSQLTimeStamp& ATimeStamp) {
  return Variant::FromSQLTimeStamp(ATimeStamp);
}

Variant VarSQLTimeStampCreate(TDateTime ADateTime) {
  return Variant::FromSQLTimeStamp(DateTimeToSQLTimeStamp(ADateTime));
}

bool VarIsSQLTimeStamp(const Variant& V) { return (VarType(V) & varTypeMask) == varSQLTimeStamp; }

TSQLTimeStamp VarToSQLTimeStamp(const Variant& V) { return V.AsSQLTimeStamp(); }
