// A stand-in for the MITAB library that the binding tests load by file name.
// A "table" is a text file of lines "<id> ok|broken|damaged [hidden]":
// broken reads give no feature and an error, damaged ones a feature and an
// error, hidden ids exist but are left out of the id chain. A line
// "errors-past-end" makes reads of ids the table lacks report an error.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "FakeMitabStats.h"

namespace {

enum class TKind { Ok, Broken, Damaged };

struct TFeatureDef {
  TKind Kind;
  bool Hidden;
};

struct TTable {
  std::map<int, TFeatureDef> Features;
  bool ErrorsPastEnd = false;
};

struct TFeature {
  int Id;
};

FakeMitabStats Stats;
int LastErrorNo = 0;
std::string LastErrorMsg;

void ResetError() {
  LastErrorNo = 0;
  LastErrorMsg.clear();
}

void SetError(int No, const std::string& Msg) {
  LastErrorNo = No;
  LastErrorMsg = Msg;
}

bool ParseLine(const char* Line, TTable& Table) {
  char Word[64] = {};
  char Extra[64] = {};
  int Id = 0;
  if (std::sscanf(Line, " %63s", Word) != 1 || Word[0] == '#') return true;
  if (std::strcmp(Word, "errors-past-end") == 0) {
    Table.ErrorsPastEnd = true;
    return true;
  }
  int Fields = std::sscanf(Line, "%d %63s %63s", &Id, Word, Extra);
  if (Fields < 2) return false;
  TFeatureDef Def{TKind::Ok, Fields == 3 && std::strcmp(Extra, "hidden") == 0};
  if (std::strcmp(Word, "broken") == 0)
    Def.Kind = TKind::Broken;
  else if (std::strcmp(Word, "damaged") == 0)
    Def.Kind = TKind::Damaged;
  else if (std::strcmp(Word, "ok") != 0)
    return false;
  Table.Features[Id] = Def;
  return true;
}

}  // namespace

extern "C" {

int WINAPI fake_getlibversion() {
  ++Stats.VersionCalls;
  return FAKE_MITAB_VERSION;
}

// Exported under the plain name by the library whose decorated names are the
// real ones: a binding that took the plain name first would see this version.
int WINAPI fake_wrong_version() { return 1; }

void* WINAPI fake_open(const char* FileName) {
  ResetError();
  ++Stats.Opens;
  std::FILE* File = std::fopen(FileName, "r");
  if (!File) {
    SetError(4, std::string("Unable to open ") + FileName);
    return nullptr;
  }
  TTable* Table = new TTable;
  char Line[256];
  bool Good = true;
  while (Good && std::fgets(Line, sizeof Line, File)) Good = ParseLine(Line, *Table);
  std::fclose(File);
  if (!Good) {
    delete Table;
    SetError(5, std::string("Bad table script ") + FileName);
    return nullptr;
  }
  ++Stats.OpenTables;
  return Table;
}

void WINAPI fake_close(void* Handle) {
  ResetError();
  if (!Handle) return;
  delete static_cast<TTable*>(Handle);
  --Stats.OpenTables;
}

int WINAPI fake_next_feature_id(void* Handle, int Last) {
  ResetError();
  const TTable* Table = static_cast<TTable*>(Handle);
  for (auto It = Table->Features.upper_bound(Last); It != Table->Features.end(); ++It)
    if (!It->second.Hidden) return It->first;
  return -1;
}

void* WINAPI fake_read_feature(void* Handle, int Id) {
  ResetError();
  ++Stats.Reads;
  if (Id > Stats.MaxReadId) Stats.MaxReadId = Id;
  const TTable* Table = static_cast<TTable*>(Handle);
  auto It = Table->Features.find(Id);
  if (It == Table->Features.end()) {
    if (Table->ErrorsPastEnd) SetError(1, "invalid feature id");
    return nullptr;
  }
  if (It->second.Kind == TKind::Broken) {
    SetError(2, "broken feature");
    return nullptr;
  }
  if (It->second.Kind == TKind::Damaged) SetError(3, "damaged feature");
  ++Stats.LiveFeatures;
  return new TFeature{Id};
}

void WINAPI fake_destroy_feature(void* Feature) {
  if (!Feature) return;
  delete static_cast<TFeature*>(Feature);
  --Stats.LiveFeatures;
}

int WINAPI fake_getlasterrorno() { return LastErrorNo; }

const char* WINAPI fake_getlasterrormsg() { return LastErrorMsg.c_str(); }

int WINAPI fake_get_feature_count(void* Handle) {
  return static_cast<int>(static_cast<TTable*>(Handle)->Features.size());
}

__declspec(dllexport) void fake_mitab_stats(FakeMitabStats* AStats) { *AStats = Stats; }

}  // extern "C"
