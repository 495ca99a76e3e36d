// Sorts pointer lists of growing size with the single-threaded list sort and
// with the parallel sort at several thread counts, and prints the best of
// three runs of each.
//
//   tools/run-bench.sh parallelsort
#include <cstdio>
#include <random>
#include <vector>

#include "dxThreading.h"

namespace {

Double WallSeconds() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<Double>(C.QuadPart) / static_cast<Double>(F.QuadPart);
}

Integer CompareValues(Pointer A, Pointer B) {
  Integer X = *static_cast<Integer*>(A), Y = *static_cast<Integer*>(B);
  return X < Y ? -1 : (X > Y ? 1 : 0);
}

template <class F>
Double Best(const std::vector<Pointer>& AOriginal, F ASort) {
  Double R = 1e9;
  for (int Run = 0; Run < 3; ++Run) {
    std::vector<Pointer> L = AOriginal;
    Double T0 = WallSeconds();
    ASort(L);
    R = std::min(R, WallSeconds() - T0);
  }
  return R;
}

}  // namespace

int wmain() {
  dxThreading_Initialize();
  std::printf("processors: %d\n", dxProcessorCount());
  std::printf("%10s %12s %12s %12s %12s\n", "items", "sequential", "4 threads", "8 threads",
              "32 threads");
  std::mt19937 Gen(1);
  for (Integer Count : {1000, 10000, 100000, 1000000}) {
    std::vector<Integer> Values(static_cast<size_t>(Count));
    for (Integer& V : Values) V = static_cast<Integer>(Gen() % 1000000);
    std::vector<Pointer> List;
    for (Integer& V : Values) List.push_back(&V);
    Double Seq = Best(
        List, [&](std::vector<Pointer>& L) { dxQuickSortList(L.data(), Count, &CompareValues); });
    std::printf("%10d %12.4f", Count, Seq);
    for (Integer Threads : {4, 8, 32}) {
      TOwned<TdxMultithreadedSort> S = MakeOwned<TdxMultithreadedSort>(Threads);
      Double Par =
          Best(List, [&](std::vector<Pointer>& L) { S->Sort(L.data(), Count, &CompareValues); });
      std::printf(" %12.4f", Par);
    }
    std::printf("\n");
  }
  dxThreading_Finalize();
  return 0;
}
