// Rewrites a generated MIF file with the forward transform and prints the
// throughput and the process's peak working set, which must not grow with the
// file (bench/mifrewrite/run.sh runs it for growing sizes and times awk doing
// the same similarity transform of the same file).
//
//   mifrewrite_bench.exe [N [folder [again]]]
// N: millions of vertices (default 2). With a folder, the input file is made
// there and kept as mifrewrite_bench_in.mif, and a "rewrite seconds <best>"
// line gives the driver the best of three rewrites. With "again", the kept
// input is not made anew and one rewrite is timed, so that the driver can take
// turns with its peer.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "Pelmora.h"
#include "WinCompat.h"
// After the platform headers, which it needs.
#include <psapi.h>

namespace {

Double WallSeconds() {
  LARGE_INTEGER F, C;
  QueryPerformanceFrequency(&F);
  QueryPerformanceCounter(&C);
  return static_cast<Double>(C.QuadPart) / static_cast<Double>(F.QuadPart);
}

Double PeakMiB() {
  PROCESS_MEMORY_COUNTERS M{};
  M.cb = sizeof(M);
  GetProcessMemoryInfo(GetCurrentProcess(), &M, sizeof(M));
  return static_cast<Double>(M.PeakWorkingSetSize) / (1 << 20);
}

void PutLine(TMifWriter& W, const char* AFormat, Double A, Double B) {
  char Buf[96];
  int N = std::snprintf(Buf, sizeof(Buf), AFormat, A, B);
  W.Write(std::string_view(Buf, N));
}

// Regions, polylines and points in the shape a MapInfo export has, with
// coordinates of a local system (two decimals). Returns the vertex count.
long long Generate(const String& APath, long long AVertices) {
  TMifWriter W(APath);
  W.Write(
      "Version   300\r\nCharset \"WindowsCyrillic\"\r\nDelimiter \",\"\r\n"
      "CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000000, 1000000)\r\n"
      "Columns 1\r\n  ID Integer\r\nData\r\n\r\n");
  long long Done = 0;
  unsigned Seed = 12345;
  auto Rand = [&Seed] {
    Seed = Seed * 1103515245u + 12345u;
    return static_cast<Double>((Seed >> 8) & 0xFFFF) / 100;
  };
  for (int Obj = 0; Done < AVertices; ++Obj) {
    Double E = 100000 + (Obj % 1000) * 250.0, N = 50000 + (Obj / 1000) * 250.0;
    switch (Obj % 4) {
      case 0:
      case 1: {
        W.Write("Region  1\r\n  400\r\n");
        for (int I = 0; I < 400; ++I) PutLine(W, "%.2f %.2f\r\n", E + Rand(), N + Rand());
        W.Write("    Pen (1,2,0) \r\n    Brush (2,16777215,16777215)\r\n");
        PutLine(W, "    Center %.2f %.2f\r\n", E + 100, N + 100);
        Done += 401;
        break;
      }
      case 2:
        W.Write("Pline 200\r\n");
        for (int I = 0; I < 200; ++I) PutLine(W, "%.2f %.2f\r\n", E + Rand(), N + Rand());
        W.Write("    Pen (2,2,65280) \r\n");
        Done += 200;
        break;
      default:
        PutLine(W, "Point %.2f %.2f\r\n", E, N);
        W.Write("    Symbol (35,16711680,12) \r\n");
        Done += 1;
    }
  }
  W.Commit();
  return Done;
}

Double FileMiB(const String& APath) {
  WIN32_FILE_ATTRIBUTE_DATA A;
  GetFileAttributesExW(APath.c_str(), GetFileExInfoStandard, &A);
  return (static_cast<Double>(A.nFileSizeHigh) * 4294967296.0 + A.nFileSizeLow) / (1 << 20);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Double Millions = argc > 1 ? std::wcstod(argv[1], nullptr) : 2;
  String Folder;
  if (argc > 2) {
    Folder = argv[2];
    if (!Folder.empty() && Folder.back() != L'\\') Folder += L'\\';
  } else {
    wchar_t Tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, Tmp);
    Folder = Tmp;
  }
  const String In = Folder + L"mifrewrite_bench_in.mif";
  const String Out = Folder + L"mifrewrite_bench_out.mif";
  TCoordTransform T({100000, 50000, 7123456.789, 1523456.321, GetAngle(1, 23, 45.6), 1.0000123});
  const bool Again = argc > 3 && std::wstring(argv[3]) == L"again";
  if (Again && GetFileAttributesW(In.c_str()) == INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "mifrewrite_bench: no input file to rewrite again\n");
    return 1;
  }
  long long Vertices = Again ? 0 : Generate(In, static_cast<long long>(Millions * 1e6));
  Double Size = FileMiB(In);
  Double Best = 1e30;
  for (int Round = 0; Round < (Again ? 1 : 3); ++Round) {
    Double T0 = WallSeconds();
    RewriteMifFile(In, Out,
                   "CoordSys Earth Projection 8, 1001, \"m\", 60.05, 0, 1, 1500000, "
                   "-5911057.63",
                   T, tsForward);
    Best = std::min(Best, WallSeconds() - T0);
  }
  std::printf("%10s %10s %9s %9s %14s %14s\n", "vertices", "in MiB", "seconds", "MB/s",
              "vertices/s", "peak WS MiB");
  std::printf("%10lld %10.1f %9.3f %9.1f %14.0f %14.1f\n", Vertices, Size, Best,
              Size * (1 << 20) / 1e6 / Best, Vertices / Best, PeakMiB());
  DeleteFileW(Out.c_str());
  if (argc > 2) {
    std::printf("rewrite seconds %.6f\n", Best);
  } else {
    DeleteFileW(In.c_str());
  }
  std::fflush(stdout);
  return 0;
}
