#include "gkTrace.h"

namespace {
TStringList* FAttachLogFiles = nullptr;
TObject* FTrace = nullptr;
}  // namespace

TStringList* AttachLogFiles() { return FAttachLogFiles; }
TObject* Trace() { return FTrace; }
void SetTrace(TObject* ATrace) { FTrace = ATrace; }

void gkTrace_Initialize() {
  if (FAttachLogFiles) return;
  FAttachLogFiles = Create<TStringList>();
  FAttachLogFiles->SetSorted(true);
  FAttachLogFiles->SetDuplicates(dupIgnore);
}

void gkTrace_Finalize() {
  FreeAndNil(FTrace);
  FreeAndNil(FAttachLogFiles);
}
