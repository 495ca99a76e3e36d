#include "gkMitabDyn.h"

#include "gkCommon.h"

namespace {
String* FLibPath = nullptr;
}  // namespace

HMODULE MITABDLL_Handle = nullptr;
Integer MITAB_LoadErr = MITAB_NotLoaded;
Integer MITAB_LibVersion = 0;

int(WINAPI* mitab_c_getlibversion)() = nullptr;
#define GK_MITAB_DEFINE(Result_, Name_, Params_, Bytes_) Result_(WINAPI* Name_) Params_ = nullptr;
GK_MITAB_ENTRY_POINTS(GK_MITAB_DEFINE)
#undef GK_MITAB_DEFINE

namespace {

constexpr Integer AcceptedVersion1 = 1007000;
constexpr Integer AcceptedVersion2 = 2000000;

template <class TProc>
void Bind(TProc& AProc, const char* AName, Integer ABytes) {
  // Through void*: the entry point's real type is known only here.
  AProc = reinterpret_cast<TProc>(reinterpret_cast<void*>(GenericGetProcAddress(AName, ABytes)));
}

void BindAll() {
#define GK_MITAB_BIND(Result_, Name_, Params_, Bytes_) Bind(Name_, #Name_, Bytes_);
  GK_MITAB_ENTRY_POINTS(GK_MITAB_BIND)
#undef GK_MITAB_BIND
}

void UnbindAll() {
  mitab_c_getlibversion = nullptr;
#define GK_MITAB_UNBIND(Result_, Name_, Params_, Bytes_) Name_ = nullptr;
  GK_MITAB_ENTRY_POINTS(GK_MITAB_UNBIND)
#undef GK_MITAB_UNBIND
}

String ProgramFolder() {
  wchar_t Buffer[MAX_PATH + 1];
  DWORD Len = GetModuleFileNameW(nullptr, Buffer, MAX_PATH);
  return ExtractFilePath(String(Buffer, Len));
}

}  // namespace

const String& gkMitabDynLibPathMiTab() {
  static const String Empty;
  return FLibPath ? *FLibPath : Empty;
}

void SetgkMitabDynLibPathMiTab(const String& APath) {
  if (FLibPath)
    *FLibPath = APath;
  else
    FLibPath = new String(APath);
}

FARPROC GenericGetProcAddress(const AnsiString& AName, Integer ABytes) {
  AnsiString Decorated = "_" + AName + "@" + std::to_string(ABytes);
  FARPROC Result = GetProcAddress(MITABDLL_Handle, Decorated.c_str());
  if (!Result) Result = GetProcAddress(MITABDLL_Handle, AName.c_str());
  return Result;
}

void gkMitabDynMITAB_load() {
  if (MITABDLL_Handle) return;
  HMODULE Handle = LoadLibraryW(gkMitabDynLibPathMiTab().c_str());
  if (!Handle) {
    String Reason = GetLastErrorEx();
    throw Exception(L"Ошибка загрузки библиотеки " + gkMitabDynLibPathMiTab() + L" " + Reason);
  }
  MITABDLL_Handle = Handle;
  Bind(mitab_c_getlibversion, "mitab_c_getlibversion", 0);
  if (!mitab_c_getlibversion) {
    MITAB_LoadErr = MITAB_NoVersionEntry;
    return;
  }
  MITAB_LibVersion = mitab_c_getlibversion();
  if (MITAB_LibVersion != AcceptedVersion1) {
    MITAB_LibVersion = mitab_c_getlibversion();
    if (MITAB_LibVersion != AcceptedVersion2) {
      MITAB_LoadErr = MITAB_VersionRefused;
      return;
    }
  }
  MITAB_LoadErr = MITAB_Bound;
  BindAll();
}

void gkMitabDynCheckBound() {
  switch (MITAB_LoadErr) {
    case MITAB_Bound:
      return;
    case MITAB_NoVersionEntry:
      throw Exception(L"Библиотека " + gkMitabDynLibPathMiTab() +
                      L" отклонена: нет точки входа mitab_c_getlibversion");
    case MITAB_VersionRefused:
      throw Exception(Format(L"Библиотека %s отклонена: версия %d не поддерживается",
                             {gkMitabDynLibPathMiTab(), MITAB_LibVersion}));
    default:
      throw Exception(L"Библиотека " + gkMitabDynLibPathMiTab() + L" не загружена");
  }
}

void gkMitabDyn_Initialize() {
  MITABDLL_Handle = nullptr;
  MITAB_LoadErr = MITAB_NotLoaded;
  MITAB_LibVersion = 0;
  SetgkMitabDynLibPathMiTab(ProgramFolder() + gkMitabDynLibName);
}

void gkMitabDyn_Finalize() {
  UnbindAll();
  if (MITABDLL_Handle) FreeLibrary(MITABDLL_Handle);
  MITABDLL_Handle = nullptr;
  MITAB_LoadErr = MITAB_NotLoaded;
  MITAB_LibVersion = 0;
  delete FLibPath;
  FLibPath = nullptr;
}
