#include <gtest/gtest.h>

#include <set>

#include "IniFiles.h"
#include "gkAppControl.h"
#include "gkTestChild.h"

// After the platform headers that the framework brings in.
#include <tlhelp32.h>

namespace {

using namespace gkTestChild;

// A server with a window whose message loop ends on WM_QUIT.
TEST(ChildProcess, DISABLED_ServeUntilQuit) {
  CreateWindowExW(0, L"Static", (L"gkAppControlTest server " + ArgValue(L"ready")).c_str(),
                  WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  MSG Msg;
  PeekMessageW(&Msg, nullptr, 0, 0, PM_NOREMOVE);
  SignalReady();
  while (GetMessageW(&Msg, nullptr, 0, 0) > 0) DispatchMessageW(&Msg);
  ExitProcess(ExitOnQuit);
}

// A server that never reads its queue.
TEST(ChildProcess, DISABLED_IgnoreQuit) {
  MSG Msg;
  PeekMessageW(&Msg, nullptr, 0, 0, PM_NOREMOVE);
  SignalReady();
  Sleep(60000);
  ExitProcess(ExitUntouched);
}

TEST(GkProcesses, ExistenceAndClosing) {
  EXPECT_TRUE(ProcessExists(GetCurrentProcessId()));

  TChild Quitting(L"DISABLED_ServeUntilQuit");
  TChild Ignoring(L"DISABLED_IgnoreQuit");
  ASSERT_TRUE(Quitting.Started());
  ASSERT_TRUE(Ignoring.Started());
  EXPECT_TRUE(ProcessExists(Quitting.Pid()));
  CloseProcess(Quitting.Pid(), Quitting.Tid());
  // Ended by its own message loop, not terminated.
  EXPECT_EQ(Quitting.ExitCode(), ExitOnQuit);
  EXPECT_FALSE(ProcessExists(Quitting.Pid()));
  CloseProcess(Ignoring.Pid(), Ignoring.Tid());
  // Terminated with exit code 0 once the wait ran out.
  EXPECT_EQ(Ignoring.ExitCode(), 0u);
  EXPECT_FALSE(ProcessExists(Ignoring.Pid()));
}

// ---------------------------------------------------------------------------
// A process id that no process has: process ids are multiples of four.
const DWORD DeadPid = 0xFFFFFFF1;

// Records the servers it is asked to end instead of ending them; a server id
// in FFailFor fails.
class TRecordingControl : public TgkAppControl {
 public:
  using TgkAppControl::TgkAppControl;
  std::vector<DWORD> Closed;
  std::set<DWORD> FailFor;

 protected:
  void CloseServer(DWORD AProcessId, DWORD AThreadId) override {
    if (FailFor.count(AProcessId)) throw EOSError(L"Access denied", ERROR_ACCESS_DENIED);
    Closed.push_back(AProcessId);
    (void)AThreadId;
  }
};

class GkAppControl : public testing::Test {
 protected:
  void SetUp() override {
    gkCommon_Initialize();
    Folder = GetTempPath2() + Format(L"gkAppControlTest%u\\", {GetCurrentProcessId()});
    ForceDirectories(Folder);
    FileName = Folder + L"MapInfoServer.ini";
    DeleteFile(FileName);
  }
  void TearDown() override {
    DeleteFile(FileName);
    RemoveDir(Folder);
    gkCommon_Finalize();
  }

  String AddEntry(DWORD AClient, DWORD AServer, DWORD AServerThread, DWORD AClientThread = 1) {
    TOwned<TMemIniFile> Ini = MakeOwned<TMemIniFile>(FileName);
    const String Section = Format(L"%u+%u+%u+%u", {AClient, AClientThread, AServer, AServerThread});
    Ini->WriteString(Section, L"qeProcessId", Format(L"%u", {AClient}));
    Ini->WriteString(Section, L"qeThreadId", Format(L"%u", {AClientThread}));
    Ini->WriteString(Section, L"appProcessId", Format(L"%u", {AServer}));
    Ini->WriteString(Section, L"appThreadId", Format(L"%u", {AServerThread}));
    Ini->UpdateFile();
    return Section;
  }
  std::vector<String> Sections() {
    TOwned<TMemIniFile> Ini = MakeOwned<TMemIniFile>(FileName);
    TOwned<TStringList> L = MakeOwned<TStringList>();
    Ini->ReadSections(L.get());
    std::vector<String> R;
    for (Integer I = 0; I < L->Count(); ++I) R.push_back(L->Get(I));
    return R;
  }

  String Folder;
  String FileName;
};

TEST_F(GkAppControl, FileNames) {
  struct Case {
    String Given, Expected;
  } Cases[] = {
      {L"MapInfoServer.ini", GetIniPath() + L"MapInfoServer.ini"},
      {L"WordServer", GetIniPath() + L"WordServer.ini"},
      {L"Servers.dat", GetIniPath() + L"Servers.dat"},
      {L"C:\\Reg\\Servers.txt", L"C:\\Reg\\Servers.txt"},
      {L"C:\\Reg\\Servers", L"C:\\Reg\\Servers.ini"},
  };
  for (const Case& C : Cases) {
    TOwned<TgkAppControl> Control = MakeOwned<TgkAppControl>(C.Given);
    EXPECT_EQ(Control->GetIniFileName(), C.Expected);
  }
  gkAppControl_Initialize();
  EXPECT_EQ(MiAppControl()->GetIniFileName(), GetIniPath() + L"MapInfoServer.ini");
  EXPECT_EQ(WordAppControl()->GetIniFileName(), GetIniPath() + L"WordServer.ini");
  EXPECT_EQ(ExcelAppControl()->GetIniFileName(), GetIniPath() + L"ExcelServer.ini");
  gkAppControl_Finalize();
  EXPECT_EQ(MiAppControl(), nullptr);
}

TEST_F(GkAppControl, WithoutAFileNothingHappensAndNoFileIsMade) {
  TOwned<TRecordingControl> Control = MakeOwned<TRecordingControl>(FileName);
  Control->CloseProcessById(0, 0, true);
  Control->CloseProcessByWnd(GetDesktopWindow());
  Control->CloseProcessByWnd(nullptr);
  EXPECT_TRUE(Control->Closed.empty());
  Control.reset();
  EXPECT_FALSE(FileExists(FileName));
}

TEST_F(GkAppControl, RecordsAndErasesTheServerOfAWindow) {
  HWND Wnd = CreateWindowExW(0, L"Static", L"server", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
  ASSERT_TRUE(Wnd);
  TOwned<TRecordingControl> Control = MakeOwned<TRecordingControl>(FileName);
  Control->SaveProcessByWnd(nullptr);
  EXPECT_FALSE(FileExists(FileName));
  const DWORD Pid = GetCurrentProcessId(), Tid = GetCurrentThreadId();
  Control->SaveProcessByWnd(Wnd);
  const String Section = Format(L"%u+%u+%u+%u", {Pid, Tid, Pid, Tid});
  ASSERT_EQ(Sections(), std::vector<String>{Section});
  {
    TOwned<TMemIniFile> Ini = MakeOwned<TMemIniFile>(FileName);
    TOwned<TStringList> Keys = MakeOwned<TStringList>();
    Ini->ReadSection(Section, Keys.get());
    ASSERT_EQ(Keys->Count(), 4);
    EXPECT_EQ(Keys->Get(0), L"qeProcessId");
    EXPECT_EQ(Keys->Get(3), L"appThreadId");
    EXPECT_EQ(Ini->ReadInteger(Section, L"appProcessId", 0), static_cast<Integer>(Pid));
  }
  Control->ClearProcessByWnd(Wnd);
  EXPECT_TRUE(Sections().empty());
  DestroyWindow(Wnd);
  Control->SaveProcessByWnd(Wnd);  // a window that no longer exists
  EXPECT_TRUE(Sections().empty());
}

// Some running process other than this one.
DWORD AnotherLivePid() {
  HANDLE Snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W Entry{};
  Entry.dwSize = sizeof(Entry);
  DWORD Found = 0;
  for (BOOL More = Process32FirstW(Snapshot, &Entry); More && !Found;
       More = Process32NextW(Snapshot, &Entry)) {
    if (Entry.th32ProcessID != GetCurrentProcessId() && Entry.th32ProcessID != 0) {
      Found = Entry.th32ProcessID;
    }
  }
  CloseHandle(Snapshot);
  return Found;
}

TEST_F(GkAppControl, ClosesNamedServersOrphansAndAtShutDownItsOwn) {
  const DWORD Other = AnotherLivePid();
  ASSERT_NE(Other, 0u);
  ASSERT_FALSE(ProcessExists(DeadPid));
  const String Orphan = AddEntry(DeadPid, 100, 101);
  const String Own = AddEntry(GetCurrentProcessId(), 200, 201);
  const String Others = AddEntry(Other, 300, 301);
  TRecordingControl* Control = Create<TRecordingControl>(FileName);

  Control->CloseProcessById(0, 0, false);
  EXPECT_EQ(Control->Closed, std::vector<DWORD>{100});
  EXPECT_EQ(Sections(), (std::vector<String>{Own, Others}));

  // Both server ids are needed to name a server.
  Control->CloseProcessById(300, 0, false);
  Control->CloseProcessById(0, 301, false);
  Control->CloseProcessById(300, 999, false);
  EXPECT_EQ(Sections(), (std::vector<String>{Own, Others}));
  Control->CloseProcessById(300, 301, false);
  EXPECT_EQ(Control->Closed, (std::vector<DWORD>{100, 300}));
  EXPECT_EQ(Sections(), std::vector<String>{Own});

  Control->CloseProcessById(0, 0, true);
  EXPECT_EQ(Control->Closed, (std::vector<DWORD>{100, 300, 200}));
  EXPECT_TRUE(Sections().empty());
  Control->Free();
}

TEST_F(GkAppControl, ShutDownClosesTheEntriesOfThisProcess) {
  const String Own = AddEntry(GetCurrentProcessId(), 200, 201);
  const String Others = AddEntry(AnotherLivePid(), 300, 301);
  TgkAppControl* Control = Create<TRecordingControl>(FileName);
  Control->Free();
  EXPECT_EQ(Sections(), std::vector<String>{Others});
}

TEST_F(GkAppControl, AnEntryThatFailsDoesNotCostTheOtherErasures) {
  const String Failing = AddEntry(DeadPid, 100, 101);
  AddEntry(DeadPid, 200, 201);
  AddEntry(DeadPid, 300, 301);
  TOwned<TRecordingControl> Control = MakeOwned<TRecordingControl>(FileName);
  Control->FailFor.insert(100);
  Control->CloseProcessById(0, 0, false);
  EXPECT_EQ(Control->Closed, (std::vector<DWORD>{200, 300}));
  EXPECT_EQ(Sections(), std::vector<String>{Failing});
  Control->FailFor.clear();
}

TEST_F(GkAppControl, EndsTheServersOfEndedClientsAndOfAWindow) {
  TChild DeadClient(L"DISABLED_IgnoreQuit");
  TChild Server(L"DISABLED_ServeUntilQuit");
  TChild WindowServer(L"DISABLED_ServeUntilQuit");
  ASSERT_TRUE(DeadClient.Started() && Server.Started() && WindowServer.Started());
  DeadClient.Kill();
  const String Orphan = AddEntry(DeadClient.Pid(), Server.Pid(), Server.Tid());
  const String Live = AddEntry(GetCurrentProcessId(), WindowServer.Pid(), WindowServer.Tid());
  TOwned<TgkAppControl> Control = MakeOwned<TgkMiAppControl>(FileName);

  Control->CloseProcessById(0, 0, false);
  EXPECT_EQ(Server.ExitCode(), ExitOnQuit);
  EXPECT_TRUE(WindowServer.Running());
  EXPECT_EQ(Sections(), std::vector<String>{Live});

  HWND Wnd = WindowServer.Window();
  ASSERT_TRUE(Wnd);
  Control->CloseProcessByWnd(Wnd);
  EXPECT_EQ(WindowServer.ExitCode(), ExitOnQuit);
  EXPECT_TRUE(Sections().empty());
}

}  // namespace
