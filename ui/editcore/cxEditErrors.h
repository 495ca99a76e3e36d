// The editor framework's error for misuse of an editor or of an engine below
// it. It stands apart from the editor control so that the engines (the
// regular-expression compiler among them) raise it without the control's
// headers.
#pragma once

#include "SysUtils.h"

DECLARE_EXCEPTION(EcxEditError, Exception)
