// What the fake MITAB library counted, read by the tests through the
// "fake_mitab_stats" export of the loaded library.
#pragma once

struct FakeMitabStats {
  int VersionCalls = 0;
  int Opens = 0;
  int OpenTables = 0;
  int LiveFeatures = 0;
  int Reads = 0;
  int MaxReadId = -2;
};
