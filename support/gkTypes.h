// Types shared by the support library's modules.
#pragma once

#include "SysUtils.h"

// The support library's own errors; the modules' exception classes derive
// from it.
DECLARE_EXCEPTION(EgkException, Exception)
