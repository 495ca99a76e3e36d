// The control framework: the process-wide window services (message window,
// system information, message locking, subclassing), window and input
// routines, and the base control.
#pragma once

#include "Controls.h"
#include "Messages.h"
#include "cxClasses.h"

// ---------------------------------------------------------------------------
// Process-wide services. Each accessor makes its object on first use; once
// the module's shut-down has begun it makes none and answers nullptr.

TcxMessageWindow* cxMessageWindow();

void cxControls_Initialize();
void cxControls_Finalize();
