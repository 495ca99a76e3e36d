#include "dxCore.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "Forms.h"

bool IsWin9X, IsWin95, IsWin98, IsWinMe, IsWinNT, IsWin2K, IsWin2KOrLater, IsWinXP, IsWinXPOrLater,
    IsWin2KOrXP, IsWinVista, IsWinVistaOrLater, IsWinSeven, IsWinSevenOrLater, IsWin8,
    IsWin8OrLater, IsWin10, IsWin10OrLater, IsWin10FallCreatorsUpdate, IsWin64Bit;
bool dxIsDesignTime = false;

namespace {
TdxUnitsLoader* UnitsLoader = nullptr;
// Set when dxCore's shut-down begins: the loader and the repository are then
// not created again by a late caller.
bool CoreFinalizing = false;

TFormatSettings* FInvariantFormatSettings = nullptr;

TdxResourceStringsRepository* FdxResourceStringsRepository = nullptr;
TcxResourceStringsModificationMode FResStringsModificationMode = rmmUndefined;
}  // namespace

IMPLEMENT_CLASS(TdxUnitsLoader)
IMPLEMENT_CLASS(TdxProductResourceStrings)
IMPLEMENT_CLASS(TdxResourceStringsRepository)

// ---------------------------------------------------------------------------
// Units loader

TdxUnitsLoader::~TdxUnitsLoader() { Finalize(); }

void TdxUnitsLoader::AddUnit(TdxProc AInitializeProc, TdxProc AFinalizeProc) {
  if (AInitializeProc) {
    if (dxIsDLL()) {
      FInitializeList.push_back(AInitializeProc);
    } else {
      FIsInitialized = true;
      AInitializeProc();
    }
  }
  if (AFinalizeProc) FFinalizeList.push_back(AFinalizeProc);
}

void TdxUnitsLoader::RemoveUnit(TdxProc AFinalizeProc) {
  auto It = std::find(FFinalizeList.begin(), FFinalizeList.end(), AFinalizeProc);
  if (It == FFinalizeList.end()) return;
  FFinalizeList.erase(It);
  if (FIsInitialized) CallProc(AFinalizeProc);
}

void TdxUnitsLoader::Initialize() {
  // A start-up procedure may register further units; take the list first.
  std::vector<TdxProc> Procs;
  Procs.swap(FInitializeList);
  for (TdxProc P : Procs) CallProc(P);
  FIsInitialized = true;
}

void TdxUnitsLoader::Finalize() {
  std::vector<TdxProc> Procs;
  Procs.swap(FFinalizeList);
  if (FIsInitialized)
    for (auto It = Procs.rbegin(); It != Procs.rend(); ++It) CallProc(*It);
  FIsInitialized = false;
}

bool dxIsDLL() { return false; }

TdxUnitsLoader* dxUnitsLoader() {
  if (!UnitsLoader && !CoreFinalizing) UnitsLoader = Create<TdxUnitsLoader>();
  return UnitsLoader;
}

void dxInitialize() {
  if (TdxUnitsLoader* L = dxUnitsLoader()) L->Initialize();
}

bool dxUnitsLoaderIsInitialized() { return UnitsLoader && UnitsLoader->IsInitialized(); }

// ---------------------------------------------------------------------------
// Platform flags

TdxPlatformFlags dxComputePlatformFlags(const TdxPlatformVersion& V) {
  TdxPlatformFlags F{};
  F.Win9X = V.PlatformId == VER_PLATFORM_WIN32_WINDOWS;
  F.Win95 = F.Win9X && V.Minor == 0;
  F.Win98 = F.Win9X && V.Minor == 10;
  F.WinMe = F.Win9X && V.Minor == 90;
  F.WinNT = V.PlatformId == VER_PLATFORM_WIN32_NT;
  F.Win2K = F.WinNT && V.Major == 5 && V.Minor == 0;
  F.Win2KOrLater = F.WinNT && V.Major >= 5;
  F.WinXP = F.WinNT && V.Major == 5 && V.Minor > 0;
  F.WinXPOrLater = F.WinNT && V.Major >= 5 && !F.Win2K;
  F.Win2KOrXP = F.Win2K || F.WinXP;
  F.WinVista = F.WinNT && V.Major == 6 && V.Minor == 0;
  F.WinVistaOrLater = F.WinNT && V.Major >= 6;
  F.WinSeven = F.WinNT && V.Major == 6 && V.Minor == 1;
  F.WinSevenOrLater = F.WinVistaOrLater && !F.WinVista;
  F.Win8 = F.WinNT && V.Major == 6 && V.Minor == 2;
  F.Win8OrLater = F.WinSevenOrLater && !F.WinSeven;
  if (F.Win8OrLater && V.HasTrueVersion) {
    F.Win10 = V.TrueMajor == 10 && V.TrueMinor == 0;
    F.Win10OrLater = F.Win10 || V.TrueMajor > 10;
    F.Win10FallCreatorsUpdate = F.Win10 && V.TrueBuild == 16299;
  }
  return F;
}

TdxPlatformVersion dxQueryPlatformVersion() {
  TdxPlatformVersion V;
  OSVERSIONINFOW Info{};
  Info.dwOSVersionInfoSize = sizeof(Info);
  // The version the runtime reports (subject to the program's manifest), as
  // the flags before Windows 10 are defined by it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (GetVersionExW(&Info)) {
#pragma GCC diagnostic pop
    V.PlatformId = Info.dwPlatformId;
    V.Major = Info.dwMajorVersion;
    V.Minor = Info.dwMinorVersion;
  }
  TdxPlatformFlags Pre = dxComputePlatformFlags(V);
  if (!Pre.Win8OrLater) return V;
  HMODULE NtDll = LoadLibraryW(L"ntdll.dll");
  if (!NtDll) return V;
  using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOEXW*);
  auto RtlGetVersion = reinterpret_cast<TRtlGetVersion>(
      reinterpret_cast<void*>(GetProcAddress(NtDll, "RtlGetVersion")));
  if (RtlGetVersion) {
    OSVERSIONINFOEXW Ex{};
    Ex.dwOSVersionInfoSize = sizeof(Ex);
    if (RtlGetVersion(&Ex) == 0) {
      V.HasTrueVersion = true;
      V.TrueMajor = Ex.dwMajorVersion;
      V.TrueMinor = Ex.dwMinorVersion;
      V.TrueBuild = Ex.dwBuildNumber;
    }
  }
  FreeLibrary(NtDll);
  return V;
}

namespace {
bool RunsOn64BitWindows() {
  // A 64-bit process runs on 64-bit Windows only, and is never WOW64.
  if (sizeof(Pointer) == 8) return true;
  using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto IsWow64 = reinterpret_cast<TIsWow64Process>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "IsWow64Process")));
  BOOL Wow = FALSE;
  return IsWow64 && IsWow64(GetCurrentProcess(), &Wow) && Wow;
}

void InitPlatformInfo() {
  TdxPlatformFlags F = dxComputePlatformFlags(dxQueryPlatformVersion());
  IsWin9X = F.Win9X;
  IsWin95 = F.Win95;
  IsWin98 = F.Win98;
  IsWinMe = F.WinMe;
  IsWinNT = F.WinNT;
  IsWin2K = F.Win2K;
  IsWin2KOrLater = F.Win2KOrLater;
  IsWinXP = F.WinXP;
  IsWinXPOrLater = F.WinXPOrLater;
  IsWin2KOrXP = F.Win2KOrXP;
  IsWinVista = F.WinVista;
  IsWinVistaOrLater = F.WinVistaOrLater;
  IsWinSeven = F.WinSeven;
  IsWinSevenOrLater = F.WinSevenOrLater;
  IsWin8 = F.Win8;
  IsWin8OrLater = F.Win8OrLater;
  IsWin10 = F.Win10;
  IsWin10OrLater = F.Win10OrLater;
  IsWin10FallCreatorsUpdate = F.Win10FallCreatorsUpdate;

  IsWin64Bit = RunsOn64BitWindows();
}
}  // namespace

// ---------------------------------------------------------------------------
// Conversions

String dxAnsiStringToString(const AnsiString& S, UINT ACodePage) {
  if (S.empty()) return String();
  DWORD Flags = ACodePage == CP_UTF8 ? 0 : MB_PRECOMPOSED;
  int Len = MultiByteToWideChar(ACodePage, Flags, S.data(), static_cast<int>(S.size()), nullptr, 0);
  String R(static_cast<size_t>(Len), L'\0');
  if (Len > 0)
    MultiByteToWideChar(ACodePage, Flags, S.data(), static_cast<int>(S.size()), R.data(), Len);
  return R;
}

AnsiString dxStringToAnsiString(const String& S, UINT ACodePage) {
  if (S.empty()) return AnsiString();
  int Len = WideCharToMultiByte(ACodePage, 0, S.data(), static_cast<int>(S.size()), nullptr, 0,
                                nullptr, nullptr);
  AnsiString R(static_cast<size_t>(Len), '\0');
  if (Len > 0)
    WideCharToMultiByte(ACodePage, 0, S.data(), static_cast<int>(S.size()), R.data(), Len, nullptr,
                        nullptr);
  return R;
}

AnsiString dxVariantToAnsiString(const Variant& V) {
  if (VarIsArray(V) && VarArrayDimCount(V) == 1) {
    SAFEARRAY* A = V.Var().parray;
    Integer Count = VarArrayHighBound(V, 1) - VarArrayLowBound(V, 1) + 1;
    AnsiString R;
    void* Data = nullptr;
    if (Count > 0 && SUCCEEDED(SafeArrayAccessData(A, &Data))) {
      // As many bytes as the array has elements, whatever their type.
      R.assign(static_cast<const char*>(Data), static_cast<size_t>(Count));
      SafeArrayUnaccessData(A);
    }
    return R;
  }
  if (VarType(V) == varString) return V.AsAnsiString();
  return dxStringToAnsiString(V.AsString(), CP_ACP);
}

String dxVariantToString(const Variant& V) {
  if (VarIsStr(V)) return V.AsString();
  return dxAnsiStringToString(dxVariantToAnsiString(V), CP_ACP);
}

bool dxVarIsBlob(const Variant& V) {
  return VarIsStr(V) || (VarIsArray(V) && VarArrayDimCount(V) == 1);
}

void WriteIntegerToStream(TStream* AStream, Integer AValue) {
  Byte Bytes[4] = {static_cast<Byte>(AValue), static_cast<Byte>(AValue >> 8),
                   static_cast<Byte>(AValue >> 16), static_cast<Byte>(AValue >> 24)};
  AStream->WriteBuffer(Bytes, 4);
}

// ---------------------------------------------------------------------------
// Characters and locale

BOOL dxGetStringTypeW(DWORD AInfoType, LPCWSTR ASrc, int ACount, LPWORD ACharType) {
  return GetStringTypeW(AInfoType, ASrc, ACount, ACharType);
}

Word dxGetWideCharCType1(Char C) {
  WORD Type = 0;
  return dxGetStringTypeW(CT_CTYPE1, &C, 1, &Type) ? Type : 0;
}

bool dxWideIsAlpha(Char C) { return (dxGetWideCharCType1(C) & C1_ALPHA) != 0; }
bool dxCharIsAlpha(Char C) { return dxWideIsAlpha(C); }
bool dxWideIsNumeric(Char C) { return (dxGetWideCharCType1(C) & C1_DIGIT) != 0; }
bool dxCharIsNumeric(Char C) { return dxWideIsNumeric(C); }

bool dxCharInSet(Char C, const TdxAnsiCharSet& ACharSet) {
  return C <= 255 && ACharSet.Contains(static_cast<Byte>(C));
}

String RemoveAccelChars(const String& S, bool AAppendTerminatingUnderscore) {
  String Result = S;
  Integer LastIndex = Length(Result);
  for (Integer I = 1; I <= Length(Result); ++I) {
    if (Result[static_cast<size_t>(I - 1)] != L'&') continue;
    Delete(Result, I, 1);
    if (I >= LastIndex && AAppendTerminatingUnderscore)
      Result += L'_';
    else
      --LastIndex;
  }
  return Result;
}

DWORD dxGetInvariantLocaleID() {
  return IsWinXPOrLater ? LOCALE_INVARIANT : dxMakeLCID(dxMakeLangID(9, 1), 0);
}

void dxGetLocaleFormatSettings(LCID ALocale, TFormatSettings& AFormatSettings) {
  if (IsValidLocale(ALocale, LCID_INSTALLED) || !IsValidLocale(ALocale, LCID_SUPPORTED)) {
    AFormatSettings = TFormatSettings::Create(ALocale);
    return;
  }
  // A supported locale that is not installed is read as the thread locale.
  LCID Saved = GetThreadLocale();
  SetThreadLocale(ALocale);
  auto Restore = Finally([&] { SetThreadLocale(Saved); });
  AFormatSettings = TFormatSettings::Create(ALocale);
}

const TFormatSettings& dxInvariantFormatSettings() {
  if (!FInvariantFormatSettings) {
    if (CoreFinalizing) throw EInvalidOperation(L"Invariant format settings used after shut-down");
    FInvariantFormatSettings = new TFormatSettings;
    dxGetLocaleFormatSettings(dxGetInvariantLocaleID(), *FInvariantFormatSettings);
  }
  return *FInvariantFormatSettings;
}

namespace {
TFormatSettings SeparatorOnlySettings(Char ADecimalSeparator) {
  TFormatSettings S;
  S.ThousandSeparator = 0;
  S.DecimalSeparator = ADecimalSeparator;
  return S;
}
}  // namespace

Extended dxStrToFloat(const String& S, Char ADecimalSeparator) {
  return StrToFloat(S, SeparatorOnlySettings(ADecimalSeparator));
}

String dxFloatToStr(Extended AValue, Char ADecimalSeparator) {
  return FloatToStr(AValue, SeparatorOnlySettings(ADecimalSeparator));
}

String dxGetLocaleInfo(LCID ALocale, LCTYPE ALocaleType, const String& ADefaultValue) {
  int Len = GetLocaleInfoW(ALocale, ALocaleType, nullptr, 0);
  if (Len <= 0) return ADefaultValue;
  String Buffer(static_cast<size_t>(Len), L'\0');
  Len = GetLocaleInfoW(ALocale, ALocaleType, Buffer.data(), Len);
  if (Len <= 0) return ADefaultValue;
  Buffer.resize(static_cast<size_t>(Len - 1));
  return Buffer;
}

// ---------------------------------------------------------------------------
// Callback boundaries

TdxHandleExceptionProc dxApplicationHandleException = nullptr;

void dxHandleException() noexcept {
  if (!dxApplicationHandleException) {
    HandleCallbackException(nullptr);
    return;
  }
  try {
    dxApplicationHandleException();
  } catch (...) {
    // The installed handler failed in turn: the framework's boundary.
    HandleCallbackException(nullptr);
  }
}

void dxCommitToFile(TMemoryStream* AData, const String& AFileName) {
  const String Temporary = AFileName + L".tmp~";
  auto OnFailure = Finally([&] { DeleteFileW(Temporary.c_str()); });
  AData->SaveToFile(Temporary);
  if (!MoveFileExW(Temporary.c_str(), AFileName.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED))
    RaiseLastOSError();
  OnFailure.Dismiss();
}

// ---------------------------------------------------------------------------
// Small routines

Pointer cxAllocMem(size_t ASize) { return std::calloc(ASize ? ASize : 1, 1); }
void cxFreeMem(Pointer P) { std::free(P); }
void cxZeroMemory(Pointer ADest, size_t ACount) {
  if (ADest && ACount) std::memset(ADest, 0, ACount);
}

// ---------------------------------------------------------------------------
// Resource strings

String LoadResString(PResStringRec AResString) {
  if (!AResString) return String();
  HMODULE Module = AResString->Module ? AResString->Module : GetModuleHandleW(nullptr);
  const wchar_t* Text = nullptr;
  // With a zero buffer size LoadStringW hands out the read-only resource text.
  int Len = LoadStringW(Module, AResString->Identifier, reinterpret_cast<LPWSTR>(&Text), 0);
  return Len > 0 && Text ? String(Text, static_cast<size_t>(Len)) : String();
}

namespace {
int CompareTextIgnoreCase(const String& A, const String& B) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, A.data(), static_cast<int>(A.size()),
                        B.data(), static_cast<int>(B.size())) -
         CSTR_EQUAL;
}
}  // namespace

TdxProductResourceStrings::TdxProductResourceStrings(const String& AName,
                                                     TdxAddResourceStringsProcedure AInitializeProc)
    : FName(AName), FPendingProc(AInitializeProc) {}

void TdxProductResourceStrings::AfterConstruction() {
  TdxAddResourceStringsProcedure P = FPendingProc;
  FPendingProc = nullptr;
  AddProcedure(P);
}

void TdxProductResourceStrings::Add(const String& AResStringName, PResStringRec AResStringAddr) {
  auto It = std::lower_bound(
      FResStringNames.begin(), FResStringNames.end(), AResStringName,
      [](const TNamedRec& R, const String& N) { return CompareTextIgnoreCase(R.Name, N) < 0; });
  if (It != FResStringNames.end() && CompareTextIgnoreCase(It->Name, AResStringName) == 0) return;
  FResStringNames.insert(It, TNamedRec{AResStringName, AResStringAddr});
}

Integer TdxProductResourceStrings::GetIndexByName(const String& AName) const {
  Integer L = 0, H = ResStringsCount() - 1;
  while (L <= H) {
    Integer M = (L + H) / 2;
    int C = CompareTextIgnoreCase(FResStringNames[static_cast<size_t>(M)].Name, AName);
    if (C == 0) return M;
    if (C < 0)
      L = M + 1;
    else
      H = M - 1;
  }
  return -1;
}

void TdxProductResourceStrings::AddProcedure(TdxAddResourceStringsProcedure AProc) {
  if (!AProc) return;
  if (std::find(FInitializeProcedures.begin(), FInitializeProcedures.end(), AProc) !=
      FInitializeProcedures.end())
    return;
  FInitializeProcedures.push_back(AProc);
  AProc(this);
}

void TdxProductResourceStrings::RemoveProcedure(TdxAddResourceStringsProcedure AProc) {
  auto It = std::find(FInitializeProcedures.begin(), FInitializeProcedures.end(), AProc);
  if (It != FInitializeProcedures.end()) FInitializeProcedures.erase(It);
}

namespace {
[[noreturn]] void RaiseListIndexError(Integer AIndex) {
  throw EListError(L"List index out of bounds (" + std::to_wstring(AIndex) + L")");
}
}  // namespace

const String& TdxProductResourceStrings::Names(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= ResStringsCount()) RaiseListIndexError(AIndex);
  return FResStringNames[static_cast<size_t>(AIndex)].Name;
}

PResStringRec TdxProductResourceStrings::ResStrings(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= ResStringsCount()) RaiseListIndexError(AIndex);
  return FResStringNames[static_cast<size_t>(AIndex)].Rec;
}

String TdxProductResourceStrings::Values(Integer AIndex) const {
  return LoadResString(ResStrings(AIndex));
}

void TdxProductResourceStrings::Translate() {
  for (Integer I = 0; I < ResStringsCount(); ++I) SetTranslation(I);
}

void TdxProductResourceStrings::SetTranslation(Integer AIndex) {
  TdxResourceStringsRepository* Repository = dxResourceStringsRepository();
  if (Repository && Repository->OnTranslateResString())
    Repository->OnTranslateResString()(Names(AIndex), ResStrings(AIndex));
}

TdxResourceStringsRepository::~TdxResourceStringsRepository() = default;

void TdxResourceStringsRepository::AddListener(IdxLocalizerListener* AListener) {
  if (AListener && !FListeners.Contains(AListener)) FListeners.Add(AListener);
}

void TdxResourceStringsRepository::RemoveListener(IdxLocalizerListener* AListener) {
  FListeners.Remove(AListener);
}

void TdxResourceStringsRepository::NotifyListeners() {
  FListeners.ForEach([](IdxLocalizerListener* L) { L->TranslationChanged(); });
}

void TdxResourceStringsRepository::RegisterProduct(const String& AProductName,
                                                   TdxAddResourceStringsProcedure AAddStringsProc) {
  Integer Index = GetProductIndexByName(AProductName);
  if (Index >= 0)
    FProducts[static_cast<size_t>(Index)]->AddProcedure(AAddStringsProc);
  else
    FProducts.push_back(MakeOwned<TdxProductResourceStrings>(AProductName, AAddStringsProc));
}

void TdxResourceStringsRepository::UnRegisterProduct(
    const String& AProductName, TdxAddResourceStringsProcedure AAddStringsProc) {
  Integer Index = GetProductIndexByName(AProductName);
  if (Index < 0) return;
  TdxProductResourceStrings* Product = FProducts[static_cast<size_t>(Index)].get();
  if (AAddStringsProc) {
    Product->RemoveProcedure(AAddStringsProc);
    if (Product->HasProcedures()) return;
  }
  FProducts.erase(FProducts.begin() + Index);
}

Integer TdxResourceStringsRepository::GetProductIndexByName(const String& AName) const {
  for (size_t I = 0; I < FProducts.size(); ++I)
    if (FProducts[I]->Name() == AName) return static_cast<Integer>(I);
  return -1;
}

String TdxResourceStringsRepository::GetOriginalValue(const String& AName) const {
  for (const auto& Product : FProducts) {
    Integer Index = Product->GetIndexByName(AName);
    if (Index >= 0) return Product->Values(Index);
  }
  return String();
}

void TdxResourceStringsRepository::Translate() {
  if (!FOnTranslateResString) return;
  for (const auto& Product : FProducts) Product->Translate();
}

TdxProductResourceStrings* TdxResourceStringsRepository::Products(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= ProductsCount()) RaiseListIndexError(AIndex);
  return FProducts[static_cast<size_t>(AIndex)].get();
}

TdxResourceStringsRepository* dxResourceStringsRepository() {
  if (!FdxResourceStringsRepository && !CoreFinalizing)
    FdxResourceStringsRepository = Create<TdxResourceStringsRepository>();
  return FdxResourceStringsRepository;
}

Integer GetResOriginalStringIndex(PResStringRec) {
  // No translation store exists in this program, so the mode never leaves
  // rmmUndefined and no string is found in it.
  return -1;
}

String cxGetResourceString(PResStringRec AResString) {
  // The translation store stays empty (see GetResOriginalStringIndex).
  return LoadResString(AResString);
}

TcxResourceStringsModificationMode dxResStringsModificationMode() {
  return FResStringsModificationMode;
}

// ---------------------------------------------------------------------------

void dxCore_Initialize() {
  CoreFinalizing = false;
  InitPlatformInfo();
  delete FInvariantFormatSettings;
  FInvariantFormatSettings = nullptr;
  dxInvariantFormatSettings();
}

void dxCore_Finalize() {
  CoreFinalizing = true;
  FreeAndNil(FdxResourceStringsRepository);
  FResStringsModificationMode = rmmUndefined;
  // dxIsDLL is false here: the library-build check for queued shut-down
  // procedures has nothing to check.
  FreeAndNil(UnitsLoader);
  delete FInvariantFormatSettings;
  FInvariantFormatSettings = nullptr;
}
