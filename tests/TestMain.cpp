#include <gtest/gtest.h>

#include "WinCompat.h"

int wmain(int argc, wchar_t** argv) {
  // No error boxes from the platform: a failing test must fail, not hang.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
