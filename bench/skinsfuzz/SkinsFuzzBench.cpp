// The skin stream fuzzing of the test run, longer and by seed: mutants of
// the fixtures against the skin, the container reader and the details.
// Prints the outcome counts, the first failures, and the process's peak
// working set against the largest input (no input may make the reader
// allocate far beyond its own size).
//
//   tools/run-bench.sh skinsfuzz            (seed 1, 100000 mutants)
//   wine skinsfuzz.exe <seed> <count>
#include <cstdio>
#include <cwchar>

#include "LookAndFeelModules.h"
#include "SkinsFuzz.h"
// After the platform headers the framework includes.
#include <psapi.h>

int wmain(int argc, wchar_t** argv) {
  const uint64_t Seed = argc > 1 ? std::wcstoull(argv[1], nullptr, 10) : 1;
  const long Count = argc > 2 ? std::wcstol(argv[2], nullptr, 10) : 100000;
  StartLookAndFeelModules();
  {
    const std::vector<TBytes> Corpus = SkinsFuzz::Corpus();
    TOwned<TdxSkin> Target = SkinsTest::LoadFixtureSkin(L"SKIN_CANONICAL");
    SkinsFuzz::TRandom R(Seed);
    SkinsFuzz::TStats Stats;
    long Failures = 0;
    size_t Largest = 0;
    LARGE_INTEGER F, T0, T1;
    QueryPerformanceFrequency(&F);
    QueryPerformanceCounter(&T0);
    for (long I = 0; I < Count; ++I) {
      const TBytes Input = SkinsFuzz::Mutate(R, Corpus);
      Largest = std::max(Largest, Input.size());
      const std::string Failure = SkinsFuzz::CheckInput(Target.get(), Input, Stats);
      if (!Failure.empty() && ++Failures <= 10)
        std::printf("failure at mutant %ld (%zu bytes): %s\n", I, Input.size(), Failure.c_str());
    }
    QueryPerformanceCounter(&T1);
    PROCESS_MEMORY_COUNTERS M{};
    GetProcessMemoryInfo(GetCurrentProcess(), &M, sizeof M);
    std::printf("seed %llu: %ld mutants in %.1f s, %d loads, %d rejections, %ld failures\n",
                static_cast<unsigned long long>(Seed), Count,
                static_cast<double>(T1.QuadPart - T0.QuadPart) / F.QuadPart, Stats.Loaded,
                Stats.Rejected, Failures);
    std::printf("peak working set: %.1f MB (largest input %zu bytes)\n",
                M.PeakWorkingSetSize / 1048576.0, Largest);
  }
  StopLookAndFeelModules();
  return 0;
}
