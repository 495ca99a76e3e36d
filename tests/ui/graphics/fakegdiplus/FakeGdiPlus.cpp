// A library that stands in for gdiplus.dll in the binding tests: the flat
// API is forwarded to the real library, while start-up, the notification
// hook and shut-down are its own, so a test can make them fail and see which
// tokens come back.
#include <windows.h>

namespace {
enum TMode { mNormal = 0, mFailStartup = 1, mFailHook = 2 };

struct TStartupOutput {
  LONG(WINAPI* NotificationHook)(ULONG_PTR*);
  void(WINAPI* NotificationUnhook)(ULONG_PTR);
};

struct TLog {
  LONG StartupCalls;
  LONG ShutdownCalls;
  ULONG_PTR ShutdownToken;
  ULONG_PTR UnhookToken;
};

constexpr ULONG_PTR StartupToken = 0x1111;
constexpr ULONG_PTR HookToken = 0x2222;

LONG Mode = mNormal;
TLog Log{};
ULONG_PTR RealToken = 0;
ULONG_PTR RealHookToken = 0;
TStartupOutput RealOutput{};

FARPROC Real(const char* AName) { return GetProcAddress(LoadLibraryW(L"gdiplus.dll"), AName); }

LONG WINAPI Hook(ULONG_PTR* AToken) {
  if (Mode == mFailHook) return 1;
  *AToken = HookToken;
  return RealOutput.NotificationHook(&RealHookToken);
}

void WINAPI Unhook(ULONG_PTR AToken) {
  Log.UnhookToken = AToken;
  RealOutput.NotificationUnhook(RealHookToken);
}
}  // namespace

extern "C" {
LONG WINAPI GdiplusStartup(ULONG_PTR* AToken, const void* AInput, TStartupOutput* AOutput) {
  ++Log.StartupCalls;
  if (Mode == mFailStartup) return 1;
  using TStartup = LONG(WINAPI*)(ULONG_PTR*, const void*, TStartupOutput*);
  LONG Result = reinterpret_cast<TStartup>(Real("GdiplusStartup"))(&RealToken, AInput, &RealOutput);
  *AToken = StartupToken;
  AOutput->NotificationHook = &Hook;
  AOutput->NotificationUnhook = &Unhook;
  return Result;
}

void WINAPI GdiplusShutdown(ULONG_PTR AToken) {
  ++Log.ShutdownCalls;
  Log.ShutdownToken = AToken;
  using TShutdown = void(WINAPI*)(ULONG_PTR);
  reinterpret_cast<TShutdown>(Real("GdiplusShutdown"))(RealToken);
}

void WINAPI FakeGdiPlusSetMode(LONG AMode) {
  Mode = AMode;
  Log = TLog{};
}

void WINAPI FakeGdiPlusLog(TLog* ALog) { *ALog = Log; }
}
