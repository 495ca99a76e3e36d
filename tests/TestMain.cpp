#include <gtest/gtest.h>

#include <cstdio>

#include "WinCompat.h"

namespace {

// A crash must fail the run: under Wine the debugger that reports it lets the
// process end with exit code 0, and the tests it cut short would count as
// passed.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* AInfo) {
  std::fprintf(stderr, "test process crashed: exception %08lx at %p\n",
               static_cast<unsigned long>(AInfo->ExceptionRecord->ExceptionCode),
               AInfo->ExceptionRecord->ExceptionAddress);
  // The callers, for addr2line: a crash that comes only now and then is
  // otherwise hard to place.
  CONTEXT C = *AInfo->ContextRecord;
  for (int Frame = 0; Frame < 24 && C.Rip; ++Frame) {
    std::fprintf(stderr, "  called from %p\n", reinterpret_cast<void*>(C.Rip));
    DWORD64 Base = 0;
    PRUNTIME_FUNCTION F = RtlLookupFunctionEntry(C.Rip, &Base, nullptr);
    if (!F) break;
    void* Handler = nullptr;
    DWORD64 Establisher = 0;
    RtlVirtualUnwind(UNW_FLAG_NHANDLER, Base, C.Rip, F, &C, &Handler, &Establisher, nullptr);
  }
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // No error boxes from the platform: a failing test must fail, not hang.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(&ReportCrash);
  // The tests run on a UI thread, as the program does: single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  testing::InitGoogleTest(&argc, argv);
  int Result = RUN_ALL_TESTS();
  CoUninitialize();
  return Result;
}
