// The trace's process-wide objects: the list of log files to attach and the
// trace object, which stays empty until a program of the family sets one.
#pragma once

#include "Classes.h"

// Duplicates are ignored. nullptr outside the module's lifetime.
TStringList* AttachLogFiles();
TObject* Trace();
void SetTrace(TObject* ATrace);

void gkTrace_Initialize();
void gkTrace_Finalize();
