// The largest single block that the program's operator new hands out while a
// watch is open. AllocationWatch.cpp replaces the global operator new of the
// executable it is linked into; the skin stream fuzzing uses it to show that
// no input makes the reader allocate beyond the input's own size.
#pragma once

#include <cstddef>

namespace AllocationWatch {
// Forgets the largest block seen so far and starts watching.
void Begin();
// Stops watching and answers the largest block asked for since Begin.
std::size_t End();
}  // namespace AllocationWatch
