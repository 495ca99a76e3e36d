#include "gkMitabUtils.h"

#include "WinHandles.h"
#include "gkMitabDyn.h"

namespace {

// Probes past the library's last id that found nothing; the walk goes on
// after the chain ends so that features beyond a gap in it are still found.
constexpr Integer MaxEmptyProbes = 10000;
// The same bound for a library that answers every missing id past its last
// one with an error: that run of probes is no list of broken features.
constexpr Integer MaxErrorProbes = 10000;

void CheckEntryPoints() {
  gkMitabDynCheckBound();
  struct TEntry {
    const void* Proc;
    const wchar_t* Name;
  };
  const TEntry Needed[] = {
      {reinterpret_cast<const void*>(mitab_c_open), L"mitab_c_open"},
      {reinterpret_cast<const void*>(mitab_c_close), L"mitab_c_close"},
      {reinterpret_cast<const void*>(mitab_c_next_feature_id), L"mitab_c_next_feature_id"},
      {reinterpret_cast<const void*>(mitab_c_read_feature), L"mitab_c_read_feature"},
      {reinterpret_cast<const void*>(mitab_c_destroy_feature), L"mitab_c_destroy_feature"},
      {reinterpret_cast<const void*>(mitab_c_getlasterrorno), L"mitab_c_getlasterrorno"},
      {reinterpret_cast<const void*>(mitab_c_getlasterrormsg), L"mitab_c_getlasterrormsg"},
  };
  for (const TEntry& Entry : Needed) {
    if (!Entry.Proc)
      throw Exception(L"Библиотека " + gkMitabDynLibPathMiTab() + L" отклонена: нет точки входа " +
                      Entry.Name);
  }
}

String LastErrorMessage() {
  const char* Msg = mitab_c_getlasterrormsg();
  return Msg ? AnsiToString(Msg) : String();
}

}  // namespace

namespace {
// The feature library takes 8-bit paths. A path the ANSI code page cannot
// hold (Cyrillic folders on a system with another code page) is handed over
// in its short form, which is plain ASCII; the file system resolves it.
AnsiString AnsiPathOf(const String& APath) {
  BOOL Lossy = FALSE;
  int N = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, APath.c_str(), -1, nullptr, 0, nullptr,
                              &Lossy);
  if (N > 0 && !Lossy) return StringToAnsi(APath);
  DWORD Len = GetShortPathNameW(APath.c_str(), nullptr, 0);
  if (Len == 0) return StringToAnsi(APath);
  std::wstring Short(Len, L'\0');
  Len = GetShortPathNameW(APath.c_str(), Short.data(), Len);
  Short.resize(Len);
  return StringToAnsi(Short);
}
}  // namespace

Integer GetValidRowCount(const String& ATabPath, std::vector<Integer>& AIdList) {
  Integer Result = 0;
  gkMitabDynMITAB_load();
  CheckEntryPoints();
  AnsiString FileName = AnsiPathOf(ATabPath);
  mitab_handle Table = mitab_c_open(FileName.c_str());
  if (!Table) throw Exception(Format(L"Ошибка при открытии таблицы: %s", {LastErrorMessage()}));
  mitab_feature Feature = nullptr;
  {
    auto Close = Finally([&] {
      mitab_c_destroy_feature(Feature);
      mitab_c_close(Table);
    });
    Integer Id = mitab_c_next_feature_id(Table, -1);
    Integer Empty = 0;
    Integer ErrorRun = 0;
    for (;;) {
      mitab_c_destroy_feature(Feature);
      Feature = nullptr;  // released: the clean-up below must not see it again
      Feature = mitab_c_read_feature(Table, Id);
      Integer Err = mitab_c_getlasterrorno();
      if (Err != 0)
        AIdList.push_back(Id);
      else if (Feature)
        ++Result;
      Integer Next = mitab_c_next_feature_id(Table, Id);
      bool NothingThere = !Feature && Next == -1;
      if (NothingThere && Err == 0 && ++Empty > MaxEmptyProbes) break;
      ErrorRun = (NothingThere && Err != 0) ? ErrorRun + 1 : 0;
      if (ErrorRun > MaxErrorProbes) {
        AIdList.resize(AIdList.size() - ErrorRun);
        break;
      }
      Id = (Next == -1) ? Id + 1 : Next;
    }
  }
  return Result;
}
