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
