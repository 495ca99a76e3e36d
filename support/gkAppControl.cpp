#include "gkAppControl.h"

#include "IniFiles.h"

IMPLEMENT_CLASS(TgkAppControl)
IMPLEMENT_CLASS(TgkMiAppControl)
IMPLEMENT_CLASS(TgkWordAppControl)
IMPLEMENT_CLASS(TgkExcelAppControl)

namespace {
TgkMiAppControl* FMiAppControl = nullptr;
TgkWordAppControl* FWordAppControl = nullptr;
TgkExcelAppControl* FExcelAppControl = nullptr;

const wchar_t* const SqeProcessId = L"qeProcessId";
const wchar_t* const SqeThreadId = L"qeThreadId";
const wchar_t* const SappProcessId = L"appProcessId";
const wchar_t* const SappThreadId = L"appThreadId";

// Ids are unsigned 32-bit values; a file written by another program may hold
// them beyond the signed range.
DWORD ReadId(TCustomIniFile& AIni, const String& ASection, const wchar_t* AIdent) {
  Int64 V = 0;
  if (!TryStrToInt64(Trim(AIni.ReadString(ASection, AIdent, L"0")), V)) return 0;
  return static_cast<DWORD>(V);
}

void WriteId(TCustomIniFile& AIni, const String& ASection, const wchar_t* AIdent, DWORD AValue) {
  AIni.WriteString(ASection, AIdent, Format(L"%u", {AValue}));
}

String SectionName(DWORD AClientProcess, DWORD AClientThread, DWORD AServerProcess,
                   DWORD AServerThread) {
  return Format(L"%u+%u+%u+%u", {AClientProcess, AClientThread, AServerProcess, AServerThread});
}
}  // namespace

void TgkAppControl::BeforeDestruction() {
  CloseProcessById(0, 0, true);
  inherited::BeforeDestruction();
}

String TgkAppControl::GetIniFileName() const {
  String Name = FIniFileName;
  if (ExtractFilePath(Name).empty()) Name = GetIniPath() + Name;
  if (ExtractFileExt(Name).empty()) Name = ChangeFileExt(Name, L".ini");
  return Name;
}

void TgkAppControl::SaveProcessByWnd(HWND AppWnd) { WriteProcessByWnd(AppWnd, false); }
void TgkAppControl::ClearProcessByWnd(HWND AppWnd) { WriteProcessByWnd(AppWnd, true); }

void TgkAppControl::WriteProcessByWnd(HWND AppWnd, Boolean AClear) {
  try {
    if (!AppWnd) return;
    DWORD ServerProcess = 0;
    const DWORD ServerThread = GetWindowThreadProcessId(AppWnd, &ServerProcess);
    if (!ServerProcess || !ServerThread) return;
    const DWORD ClientProcess = GetCurrentProcessId();
    const DWORD ClientThread = GetCurrentThreadId();
    TOwned<TMemIniFile> Ini = MakeOwned<TMemIniFile>(GetIniFileName());
    const String Section = SectionName(ClientProcess, ClientThread, ServerProcess, ServerThread);
    if (AClear) {
      Ini->EraseSection(Section);
    } else {
      WriteId(*Ini, Section, SqeProcessId, ClientProcess);
      WriteId(*Ini, Section, SqeThreadId, ClientThread);
      WriteId(*Ini, Section, SappProcessId, ServerProcess);
      WriteId(*Ini, Section, SappThreadId, ServerThread);
    }
    Ini->UpdateFile();
  } catch (...) {
    // A broken registry never stops the caller.
  }
}

void TgkAppControl::CloseServer(DWORD AProcessId, DWORD AThreadId) {
  CloseProcess(AProcessId, AThreadId);
}

void TgkAppControl::CloseProcessById(DWORD AProcessId, DWORD AThreadId, Boolean AForceClose) {
  try {
    const String FileName = GetIniFileName();
    if (!FileExists(FileName)) return;
    TOwned<TMemIniFile> Ini = MakeOwned<TMemIniFile>(FileName);
    TOwned<TStringList> Sections = MakeOwned<TStringList>();
    Ini->ReadSections(Sections.get());
    Boolean Changed = false;
    for (Integer I = 0; I < Sections->Count(); ++I) {
      const String Section = Sections->Get(I);
      // One entry that fails must not cost the erasures already made.
      try {
        const DWORD Client = ReadId(*Ini, Section, SqeProcessId);
        const DWORD Server = ReadId(*Ini, Section, SappProcessId);
        const DWORD ServerThread = ReadId(*Ini, Section, SappThreadId);
        const Boolean Named =
            AProcessId != 0 && AThreadId != 0 && AProcessId == Server && AThreadId == ServerThread;
        const Boolean Orphan = !ProcessExists(Client);
        const Boolean Own = AForceClose && Client == GetCurrentProcessId();
        if (!Named && !Orphan && !Own) continue;
        CloseServer(Server, ServerThread);
        Ini->EraseSection(Section);
        Changed = true;
      } catch (...) {
      }
    }
    if (Changed) Ini->UpdateFile();
  } catch (...) {
    // A broken registry never stops the caller.
  }
}

void TgkAppControl::CloseProcessByWnd(HWND AWnd) {
  if (!AWnd) return;
  DWORD ProcessId = 0;
  const DWORD ThreadId = GetWindowThreadProcessId(AWnd, &ProcessId);
  CloseProcessById(ProcessId, ThreadId, false);
}

TgkMiAppControl* MiAppControl() { return FMiAppControl; }
TgkWordAppControl* WordAppControl() { return FWordAppControl; }
TgkExcelAppControl* ExcelAppControl() { return FExcelAppControl; }

void gkAppControl_Initialize() {
  if (!FMiAppControl) FMiAppControl = Create<TgkMiAppControl>(L"MapInfoServer.ini");
  if (!FWordAppControl) FWordAppControl = Create<TgkWordAppControl>(L"WordServer.ini");
  if (!FExcelAppControl) FExcelAppControl = Create<TgkExcelAppControl>(L"ExcelServer.ini");
}

void gkAppControl_Finalize() {
  FreeAndNil(FExcelAppControl);
  FreeAndNil(FWordAppControl);
  FreeAndNil(FMiAppControl);
}
