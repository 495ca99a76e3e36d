// Reads and writes a table of about one million vertices in both formats and prints MB/s and
// the process's peak working set.
//   tabbench <folder>      (the folder receives bench.tab/.dat/.map/.id and bench.mif/.mid)

#include <cmath>
#include <cstdio>
#include <string>

#include "TabEngine.h"
#include "WinCompat.h"

// After the platform headers it extends.
#include <psapi.h>

using namespace tabengine;

namespace {

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) / f.QuadPart;
}

double FileMb(const std::wstring& base, std::initializer_list<const wchar_t*> exts) {
  double total = 0;
  for (const wchar_t* e : exts) {
    WIN32_FILE_ATTRIBUTE_DATA d;
    if (GetFileAttributesExW((base + e).c_str(), GetFileExInfoStandard, &d))
      total += (static_cast<double>(d.nFileSizeHigh) * 4294967296.0 + d.nFileSizeLow);
  }
  return total / (1024 * 1024);
}

double PeakMb() {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  return pmc.PeakWorkingSetSize / (1024.0 * 1024.0);
}

// 500 regions and 500 polylines of 1000 vertices each, with three attribute columns.
constexpr int kFeatures = 1000, kVertices = 1000;

TableSchema Schema() {
  TableSchema s;
  s.coordsys = CoordSys::Parse("CoordSys Earth Projection 8, 1001, \"m\", 39, 0, 1, 7500000, 0");
  s.fields = {{"ID", FieldType::Integer}, {"NAME", FieldType::Char, 30}, {"LEN", FieldType::Float}};
  return s;
}

Feature Make(int i) {
  Feature f;
  Geometry& g = f.geometry;
  g.type = i % 2 ? GeometryType::Polyline : GeometryType::Region;
  g.parts.emplace_back();
  double cx = 7400000 + (i % 40) * 2500, cy = 6100000 + (i / 40) * 2500;
  for (int k = 0; k < kVertices; ++k) {
    double a = 2 * 3.14159265358979 * k / (kVertices - 1);
    double r = 1000 + 100 * std::sin(7 * a);
    g.parts[0].push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  if (g.type == GeometryType::Region) g.parts[0].back() = g.parts[0].front();
  g.pen = {1, 2, i * 37 & 0xFFFFFF};
  f.values = {Value::Int(i), Value::Text("Объект " + std::to_string(i)), Value::Real(i * 1.5)};
  return f;
}

void Write(const std::wstring& path) {
  auto w = TableWriter::Create(path, Schema());
  for (int i = 0; i < kFeatures; ++i) w->Insert(Make(i));
  w->Close();
}

size_t Read(const std::wstring& path) {
  auto r = TableReader::Open(path);
  size_t vertices = 0;
  for (int id = 1; id <= r->RowCount(); ++id) {
    Feature f;
    r->ReadFeature(id, f);
    if (f.Broken()) std::fprintf(stderr, "broken row %d: %s\n", id, f.error.c_str());
    vertices += f.geometry.VertexCount();
  }
  return vertices;
}

void Report(const char* what, double seconds, double mb) {
  std::printf("engine %-10s %8.3f s %9.2f MB %9.1f MB/s  peak %7.1f MB\n", what, seconds, mb,
              mb / seconds, PeakMb());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: tabbench <folder>\n");
    return 2;
  }
  std::wstring base = std::wstring(argv[1]) + L"\\bench";
  try {
    double t = Now();
    Write(base + L".tab");
    Report("write TAB", Now() - t, FileMb(base, {L".tab", L".dat", L".map", L".id"}));
    t = Now();
    size_t v = Read(base + L".tab");
    Report("read TAB", Now() - t, FileMb(base, {L".tab", L".dat", L".map", L".id"}));
    std::printf("vertices read: %zu\n", v);
    t = Now();
    CopyTable(base + L".tab", base + L".mif");
    Report("TAB->MIF", Now() - t, FileMb(base, {L".mif", L".mid"}));
    t = Now();
    v = Read(base + L".mif");
    Report("read MIF", Now() - t, FileMb(base, {L".mif", L".mid"}));
    t = Now();
    CopyTable(base + L".mif", base + L"2.tab");
    Report("MIF->TAB", Now() - t, FileMb(base, {L".mif", L".mid"}));
  } catch (const TabError& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
  return 0;
}
