// Feature check of a table through the MITAB library.
#pragma once

#include <vector>

#include "SysUtils.h"

// Walks every feature id of the table ATabPath and returns the number of
// features that read cleanly; ids whose read reports an error are appended
// to AIdList (which is not cleared). Raises Exception when the library
// cannot be loaded or was refused, or when the table cannot be opened.
Integer GetValidRowCount(const String& ATabPath, std::vector<Integer>& AIdList);
