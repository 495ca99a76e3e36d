// Child processes for the support library's tests: this test program
// started again with one of the disabled ChildProcess tests (defined in
// gkAppControlTest.cpp), which signal a named event once their message queue
// exists.
#pragma once

#include "SysUtils.h"

namespace gkTestChild {

inline String ArgValue(const String& AName) {
  const String Cmd = GetCommandLineW();
  const String Key = L"--" + AName + L"=";
  size_t P = Cmd.find(Key);
  if (P == String::npos) return String();
  P += Key.size();
  size_t E = Cmd.find(L' ', P);
  return Cmd.substr(P, E == String::npos ? String::npos : E - P);
}

inline void SignalReady() {
  HANDLE Ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, ArgValue(L"ready").c_str());
  if (Ready) {
    SetEvent(Ready);
    CloseHandle(Ready);
  }
}

inline const UINT ExitOnQuit = 7;
inline const UINT ExitUntouched = 9;

class TChild {
 public:
  explicit TChild(const wchar_t* ATest) {
    static LONG Counter = 0;
    const String EventName =
        Format(L"gkAppControlTest.%u.%d", {GetCurrentProcessId(), InterlockedIncrement(&Counter)});
    HANDLE Ready = CreateEventW(nullptr, TRUE, FALSE, EventName.c_str());
    wchar_t Exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, Exe, MAX_PATH);
    String Cmd = Format(
        L"\"%s\" --gtest_also_run_disabled_tests --gtest_filter=ChildProcess.%s "
        L"--ready=%s",
        {String(Exe), String(ATest), EventName});
    STARTUPINFOW SI{};
    SI.cb = sizeof(SI);
    if (CreateProcessW(nullptr, Cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &SI,
                       &FInfo)) {
      HANDLE Handles[2] = {Ready, FInfo.hProcess};
      FStarted = WaitForMultipleObjects(2, Handles, FALSE, 60000) == WAIT_OBJECT_0;
    }
    CloseHandle(Ready);
  }
  ~TChild() {
    if (FInfo.hProcess) {
      TerminateProcess(FInfo.hProcess, 1);
      WaitForSingleObject(FInfo.hProcess, 10000);
      CloseHandle(FInfo.hProcess);
      CloseHandle(FInfo.hThread);
    }
  }
  bool Started() const { return FStarted; }
  DWORD Pid() const { return FInfo.dwProcessId; }
  DWORD Tid() const { return FInfo.dwThreadId; }
  void Kill() {
    TerminateProcess(FInfo.hProcess, 1);
    WaitForSingleObject(FInfo.hProcess, 10000);
  }
  bool Running() const { return WaitForSingleObject(FInfo.hProcess, 0) == WAIT_TIMEOUT; }
  // The exit code once ended (waits for the end a bounded time).
  DWORD ExitCode() const {
    WaitForSingleObject(FInfo.hProcess, 10000);
    DWORD Code = STILL_ACTIVE;
    GetExitCodeProcess(FInfo.hProcess, &Code);
    return Code;
  }
  HWND Window() const {
    struct TFind {
      DWORD Pid;
      HWND Wnd;
    } Find{Pid(), nullptr};
    EnumWindows(
        [](HWND W, LPARAM P) -> BOOL {
          auto* F = reinterpret_cast<TFind*>(P);
          DWORD Pid = 0;
          GetWindowThreadProcessId(W, &Pid);
          if (Pid != F->Pid) return TRUE;
          F->Wnd = W;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&Find));
    return Find.Wnd;
  }

 private:
  PROCESS_INFORMATION FInfo{};
  bool FStarted = false;
};

}  // namespace gkTestChild
