// The time-zone table and the module's start-up and shut-down.
#include <algorithm>
#include <cstring>

#include "WinHandles.h"
#include "cxDateUtils.h"

namespace {

std::vector<TcxTimeZoneInformation>* FTimeZoneInformations = nullptr;
Integer FCurrentTimeZone = 0;
TcxTimeZoneInformation* FDefaultTimeZoneInfo = nullptr;

// An open registry key, closed by its owner.
class TRegKey {
 public:
  TRegKey(HKEY AParent, const String& APath) {
    if (RegOpenKeyExW(AParent, APath.c_str(), 0, KEY_READ, &FKey) != ERROR_SUCCESS) FKey = nullptr;
  }
  TRegKey(const TRegKey&) = delete;
  TRegKey& operator=(const TRegKey&) = delete;
  ~TRegKey() {
    if (FKey) RegCloseKey(FKey);
  }
  HKEY Handle() const { return FKey; }
  explicit operator bool() const { return FKey != nullptr; }

 private:
  HKEY FKey = nullptr;
};

bool ReadString(HKEY AKey, const wchar_t* AName, String& AValue) {
  DWORD Type = 0, Size = 0;
  if (RegQueryValueExW(AKey, AName, nullptr, &Type, nullptr, &Size) != ERROR_SUCCESS ||
      (Type != REG_SZ && Type != REG_EXPAND_SZ))
    return false;
  String Buffer(Size / sizeof(wchar_t) + 1, L'\0');
  Size = static_cast<DWORD>(Buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(AKey, AName, nullptr, &Type, reinterpret_cast<BYTE*>(Buffer.data()),
                       &Size) != ERROR_SUCCESS)
    return false;
  Buffer.resize(std::min(Buffer.size(), Size / sizeof(wchar_t)));
  while (!Buffer.empty() && Buffer.back() == L'\0') Buffer.pop_back();
  AValue = Buffer;
  return true;
}

bool ReadInteger(HKEY AKey, const wchar_t* AName, Integer& AValue) {
  DWORD Type = 0, Value = 0, Size = sizeof(Value);
  if (RegQueryValueExW(AKey, AName, nullptr, &Type, reinterpret_cast<BYTE*>(&Value), &Size) !=
          ERROR_SUCCESS ||
      Type != REG_DWORD)
    return false;
  AValue = static_cast<Integer>(Value);
  return true;
}

// A binary value of exactly ASize bytes (at least ASize when not AExact).
bool ReadBinary(HKEY AKey, const wchar_t* AName, void* AData, DWORD ASize, bool AExact) {
  DWORD Type = 0, Size = 0;
  if (RegQueryValueExW(AKey, AName, nullptr, &Type, nullptr, &Size) != ERROR_SUCCESS ||
      Type != REG_BINARY || Size < ASize || (AExact && Size != ASize))
    return false;
  std::vector<BYTE> Buffer(Size);
  if (RegQueryValueExW(AKey, AName, nullptr, &Type, Buffer.data(), &Size) != ERROR_SUCCESS)
    return false;
  std::memcpy(AData, Buffer.data(), ASize);
  return true;
}

std::vector<String> SubKeyNames(HKEY AKey) {
  std::vector<String> Names;
  wchar_t Name[256];
  for (DWORD I = 0;; ++I) {
    DWORD Len = 256;
    LONG R = RegEnumKeyExW(AKey, I, Name, &Len, nullptr, nullptr, nullptr, nullptr);
    if (R == ERROR_NO_MORE_ITEMS) break;
    if (R == ERROR_SUCCESS) Names.emplace_back(Name, Len);
  }
  return Names;
}

// The years named by the key's values, in ascending order: only values that
// exist are visited, however wide the span the key claims.
std::vector<Integer> YearValues(HKEY AKey, Integer AFirst, Integer ALast) {
  std::vector<Integer> Years;
  wchar_t Name[64];
  for (DWORD I = 0;; ++I) {
    DWORD Len = 64;
    LONG R = RegEnumValueW(AKey, I, Name, &Len, nullptr, nullptr, nullptr, nullptr);
    if (R == ERROR_NO_MORE_ITEMS) break;
    Integer Year = 0;
    if (R == ERROR_SUCCESS && TryStrToInt(String(Name, Len), Year) && Year >= AFirst &&
        Year <= ALast && Year >= 1 && Year <= 9999)
      Years.push_back(Year);
  }
  std::sort(Years.begin(), Years.end());
  return Years;
}

bool TryCalculateTransitionDate(Word AYear, const SYSTEMTIME& ARule, TDateTime& AResult) {
  try {
    AResult = TdxTimeZoneHelper::CalculateTransitionDate(AYear, ARule);
    return true;
  } catch (const EConvertError&) {
    return false;
  }
}

String NameOf(const wchar_t* AName, size_t AMax) {
  size_t N = 0;
  while (N < AMax && AName[N]) ++N;
  return String(AName, N);
}

void CopyName(const String& AName, WCHAR* ADest, size_t AMax) {
  size_t N = std::min(AName.size(), AMax);
  std::copy_n(AName.data(), N, ADest);
}

}  // namespace

String TdxTimeZoneHelper::TimeZonesKey() {
  return IsWinNT ? L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones"
                 : L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Time Zones";
}

void TdxTimeZoneHelper::InitTimeZoneInformation() { InitTimeZoneInformation(TimeZonesKey()); }

void TdxTimeZoneHelper::InitTimeZoneInformation(const String& ARootKey) {
  DoneTimeZoneInformation();
  FTimeZoneInformations = new std::vector<TcxTimeZoneInformation>();
  TIME_ZONE_INFORMATION Current{};
  GetTimeZoneInformation(&Current);
  delete FDefaultTimeZoneInfo;
  FDefaultTimeZoneInfo = new TcxTimeZoneInformation(TZInfoTocxTZInfo(Current));
  String CurrentKeyName;
  DYNAMIC_TIME_ZONE_INFORMATION Dynamic{};
  if (dxGetDynamicTimeZoneInformation(Dynamic))
    CurrentKeyName = NameOf(Dynamic.TimeZoneKeyName, 128);
  TRegKey Root(HKEY_LOCAL_MACHINE, ARootKey);
  if (!Root) return;
  std::vector<String> Names = SubKeyNames(Root.Handle());
  FTimeZoneInformations->resize(Names.size());
  for (size_t I = 0; I < Names.size(); ++I) {
    TRegKey Zone(HKEY_LOCAL_MACHINE, ARootKey + L"\\" + Names[I]);
    if (!Zone) continue;
    TcxTimeZoneInformation& Info = (*FTimeZoneInformations)[I];
    ReadTimeZoneInfoFromRegistry(Zone.Handle(), Info);
    TIME_ZONE_INFORMATION Converted = cxTZInfoToTZInfo(Info);
    bool Matches = !CurrentKeyName.empty()
                       ? AnsiSameText(Names[I], CurrentKeyName)
                       : std::memcmp(&Converted, &Current, sizeof(LONG) + 32 * sizeof(WCHAR)) == 0;
    if (Matches) FCurrentTimeZone = static_cast<Integer>(I);
  }
}

void TdxTimeZoneHelper::DoneTimeZoneInformation() {
  delete FTimeZoneInformations;
  FTimeZoneInformations = nullptr;
  FCurrentTimeZone = 0;
}

void TdxTimeZoneHelper::ReadTimeZoneInfoFromRegistry(HKEY AKey, TcxTimeZoneInformation& AInfo) {
  ReadString(AKey, L"Display", AInfo.Display);
  ReadString(AKey, L"Std", AInfo.StandardName);
  ReadString(AKey, L"Dlt", AInfo.DaylightName);
  ReadString(AKey, L"MapID", AInfo.MapID);
  ReadInteger(AKey, L"Index", AInfo.Index);
  TcxTZIField TZI;
  if (ReadBinary(AKey, L"TZI", &TZI, sizeof(TZI), true)) AInfo.TZI = TZI;
  DWORD SubKeys = 0;
  if (RegQueryInfoKeyW(AKey, nullptr, nullptr, nullptr, &SubKeys, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
      SubKeys == 0)
    return;
  TRegKey Dynamic(AKey, L"Dynamic DST");
  if (!Dynamic) return;
  Integer First = INT32_MAX, Last = -1;
  ReadInteger(Dynamic.Handle(), L"FirstEntry", First);
  ReadInteger(Dynamic.Handle(), L"LastEntry", Last);
  for (Integer Year : YearValues(Dynamic.Handle(), First, Last)) {
    TcxTZIField Rule;
    if (ReadBinary(Dynamic.Handle(), IntToStr(Year).c_str(), &Rule, sizeof(Rule), false))
      AddDSTInfo(AInfo, static_cast<Word>(Year), Rule.StandardDate, Rule.DaylightDate);
  }
}

void TdxTimeZoneHelper::AddDSTInfo(TcxTimeZoneInformation& AInfo, Word AYear,
                                   const SYSTEMTIME& AStandardDate,
                                   const SYSTEMTIME& ADaylightDate) {
  TcxDSTInfo Info;
  Info.Year = AYear;
  if (AStandardDate.wMonth != 0 &&
      (!TryCalculateTransitionDate(AYear, ADaylightDate, Info.DaylightDate) ||
       !TryCalculateTransitionDate(AYear, AStandardDate, Info.StandardDate)))
    return;  // a rule that names no date in that year is no rule
  AInfo.DynamicRules.push_back(Info);
}

TDateTime TdxTimeZoneHelper::CalculateTransitionDate(Word AYear, const SYSTEMTIME& ADSTDateTime) {
  const SYSTEMTIME& R = ADSTDateTime;
  TDateTime Time = EncodeTime(R.wHour, R.wMinute, R.wSecond, R.wMilliseconds);
  if (R.wYear == AYear) return EncodeDate(R.wYear, R.wMonth, R.wDay) + Time;
  TDateTime First = EncodeDate(AYear, R.wMonth, 1);
  Integer FirstWeekDay = dxDayOfWeek(First);
  Integer Day;
  if (R.wDay >= 1 && R.wDay <= 4) {
    Day = 1 + (R.wDayOfWeek - FirstWeekDay + 14) % 7 + (R.wDay - 1) * 7;
  } else {
    Integer LastDay =
        R.wMonth == 12 ? 31 : static_cast<Integer>(EncodeDate(AYear, R.wMonth + 1, 1) - First);
    Integer LastWeekDay = (FirstWeekDay + LastDay - 1) % 7;
    Day = LastDay - (LastWeekDay - R.wDayOfWeek + 14) % 7;
  }
  return First + (Day - 1) + Time;
}

TcxTimeZoneInformation TdxTimeZoneHelper::TZInfoTocxTZInfo(const TIME_ZONE_INFORMATION& AInfo) {
  TcxTimeZoneInformation R;
  R.TZI.Bias = AInfo.Bias;
  R.TZI.StandardBias = AInfo.StandardBias;
  R.TZI.DaylightBias = AInfo.DaylightBias;
  R.TZI.StandardDate = AInfo.StandardDate;
  R.TZI.DaylightDate = AInfo.DaylightDate;
  R.StandardName = NameOf(AInfo.StandardName, 32);
  R.DaylightName = NameOf(AInfo.DaylightName, 32);
  return R;
}

TIME_ZONE_INFORMATION TdxTimeZoneHelper::cxTZInfoToTZInfo(const TcxTimeZoneInformation& AInfo) {
  TIME_ZONE_INFORMATION R;
  std::memset(&R, 0, sizeof(R));
  R.Bias = AInfo.TZI.Bias;
  R.StandardBias = AInfo.TZI.StandardBias;
  R.DaylightBias = AInfo.TZI.DaylightBias;
  R.StandardDate = AInfo.TZI.StandardDate;
  R.DaylightDate = AInfo.TZI.DaylightDate;
  CopyName(AInfo.StandardName, R.StandardName, 32);
  CopyName(AInfo.DaylightName, R.DaylightName, 32);
  return R;
}

const std::vector<TcxTimeZoneInformation>& TdxTimeZoneHelper::TimeZoneInformations() {
  if (!FTimeZoneInformations) FTimeZoneInformations = new std::vector<TcxTimeZoneInformation>();
  return *FTimeZoneInformations;
}

Integer TdxTimeZoneHelper::CurrentTimeZone() { return FCurrentTimeZone; }

bool dxGetDynamicTimeZoneInformation(DYNAMIC_TIME_ZONE_INFORMATION& AInfo) {
  using TGetDynamicTimeZoneInformation = DWORD(WINAPI*)(DYNAMIC_TIME_ZONE_INFORMATION*);
  TModuleHandle Kernel(LoadLibraryW(L"kernel32.dll"));
  if (!Kernel) return false;
  auto Proc = reinterpret_cast<TGetDynamicTimeZoneInformation>(
      reinterpret_cast<void*>(GetProcAddress(Kernel.Get(), "GetDynamicTimeZoneInformation")));
  return Proc && Proc(&AInfo) != TIME_ZONE_ID_INVALID;
}

const TcxTimeZoneInformation& DefaultTimeZoneInfo() {
  if (!FDefaultTimeZoneInfo) FDefaultTimeZoneInfo = new TcxTimeZoneInformation();
  return *FDefaultTimeZoneInfo;
}

namespace cxDateUtilsDetail {
void ReleaseDefaultTimeZoneInfo() {
  delete FDefaultTimeZoneInfo;
  FDefaultTimeZoneInfo = nullptr;
}
}  // namespace cxDateUtilsDetail
