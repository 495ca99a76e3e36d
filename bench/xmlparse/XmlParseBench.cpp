// Tree-building and writing throughput of the XML reader and writer. For each
// file: the best of several loads from memory (MB/s, elements/s), the growth
// of the working set over the first load, and the writer's speed over the
// loaded tree. Prints "time <file> <seconds>" for the driver's ratio against
// libxml2 (bench/xmlparse/run.sh).
#include <cstdio>

#include "Classes.h"
// After the platform headers that Classes.h brings in.
#include <psapi.h>
#include "SysUtils.h"
#include "dxXMLDoc.h"

namespace {
Double Now() {
  LARGE_INTEGER C, F;
  QueryPerformanceCounter(&C);
  QueryPerformanceFrequency(&F);
  return static_cast<Double>(C.QuadPart) / static_cast<Double>(F.QuadPart);
}

Double PeakMiB() {
  PROCESS_MEMORY_COUNTERS M{};
  M.cb = sizeof(M);
  GetProcessMemoryInfo(GetCurrentProcess(), &M, sizeof(M));
  return static_cast<Double>(M.PeakWorkingSetSize) / (1 << 20);
}

Double WorkingSetMiB() {
  PROCESS_MEMORY_COUNTERS M{};
  M.cb = sizeof(M);
  GetProcessMemoryInfo(GetCurrentProcess(), &M, sizeof(M));
  return static_cast<Double>(M.WorkingSetSize) / (1 << 20);
}

// Counts what the writer produces without keeping it: the figure is the
// writer's own speed.
class TCountingStream : public TStream {
  DECLARE_CLASS(TCountingStream, TStream)
 public:
  Integer Read(void*, Integer) override { return 0; }
  Integer Write(const void*, Integer ACount) override {
    FCount += ACount;
    return ACount;
  }
  Int64 Seek(Int64, TSeekOrigin) override { return FCount; }
  Int64 Count() const { return FCount; }

 private:
  Int64 FCount = 0;
};
IMPLEMENT_CLASS(TCountingStream)

TdxXMLString ReadFile(const String& AFileName) {
  TOwned<TFileStream> S(Create<TFileStream>(AFileName, static_cast<Word>(fmOpenRead)));
  const size_t Size = static_cast<size_t>(S->Size());
  char* P;
  TdxXMLString Bytes = TdxXMLString::Uninitialized(Size, P);
  if (Size) S->ReadBuffer(P, static_cast<Integer>(Size));
  return Bytes;
}

Int64 CountElements(const TdxXMLNode* ARoot) {
  Int64 N = 0;
  std::vector<const TdxXMLNode*> Pending{ARoot};
  while (!Pending.empty()) {
    const TdxXMLNode* Node = Pending.back();
    Pending.pop_back();
    for (const TdxXMLNode* C = Node->GetFirst(); C; C = C->GetNext()) {
      ++N;
      Pending.push_back(C);
    }
  }
  return N;
}

void Print(const String& AText) { std::fputs(UTF8Encode(AText + L"\n").c_str(), stdout); }

void Measure(const String& AFileName, Integer ARepeat) {
  const TdxXMLString Bytes = ReadFile(AFileName);
  const Double MB = static_cast<Double>(Bytes.Length()) / 1e6;
  const Double Base = WorkingSetMiB();
  TOwned<TdxXMLDocument> Document(Create<TdxXMLDocument>(nullptr));
  Double Best = 1e30;
  Double Peak = 0;
  for (Integer I = 0; I < ARepeat; ++I) {
    TOwned<TdxXMLDocument> D(Create<TdxXMLDocument>(nullptr));
    const Double T0 = Now();
    D->LoadFromString(Bytes);
    const Double T = Now() - T0;
    if (T < Best) Best = T;
    if (I == 0) {
      // The growth over one load, before later loads add a second tree.
      Peak = PeakMiB() - Base;
      Document = std::move(D);
    }
  }
  const Int64 Elements = CountElements(Document->Root());
  Double WriteBest[2] = {1e30, 1e30};
  Int64 Written[2] = {0, 0};
  for (int Indent = 0; Indent < 2; ++Indent) {
    Document->SetAutoIndent(Indent == 1);
    for (Integer I = 0; I < ARepeat; ++I) {
      TOwned<TCountingStream> Out(Create<TCountingStream>());
      const Double T0 = Now();
      Document->SaveToStream(Out.get());
      const Double T = Now() - T0;
      if (T < WriteBest[Indent]) WriteBest[Indent] = T;
      Written[Indent] = Out->Count();
    }
  }
  const TFormatSettings F = TFormatSettings::Invariant();
  Print(Format(
      F, L"ours %s: %.2f MB, %d elements, load %.4f s, %.1f MB/s, %.0f elements/s, peak +%.1f MiB",
      {ExtractFileName(AFileName), MB, Elements, Best, MB / Best,
       static_cast<Double>(Elements) / Best, Peak}));
  Print(Format(F, L"ours %s: writer %.1f MB/s flat, %.1f MB/s indented",
               {ExtractFileName(AFileName), static_cast<Double>(Written[0]) / 1e6 / WriteBest[0],
                static_cast<Double>(Written[1]) / 1e6 / WriteBest[1]}));
  Print(Format(F, L"time %s %.6f %.1f", {ExtractFileName(AFileName), Best, Peak}));
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  Integer Repeat = 5;
  int First = 1;
  if (argc > 2 && String(argv[1]) == L"--repeat") {
    Repeat = StrToInt(argv[2]);
    First = 3;
  }
  try {
    for (int I = First; I < argc; ++I) Measure(argv[I], Repeat);
  } catch (const Exception& E) {
    std::fputs(UTF8Encode(E.Message() + L"\n").c_str(), stderr);
    return 1;
  }
  return 0;
}
