#include <gtest/gtest.h>

#include "WinCompat.h"

int wmain(int argc, wchar_t** argv) {
  // No error boxes from the platform: a failing test must fail, not hang.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  // The tests run on a UI thread, as the program does: single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  testing::InitGoogleTest(&argc, argv);
  int Result = RUN_ALL_TESTS();
  CoUninitialize();
  return Result;
}
