#include "AllocationWatch.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> Watching{false};
std::atomic<std::size_t> Largest{0};

void Note(std::size_t ASize) {
  if (!Watching.load(std::memory_order_relaxed)) return;
  std::size_t Seen = Largest.load(std::memory_order_relaxed);
  while (ASize > Seen && !Largest.compare_exchange_weak(Seen, ASize)) {
  }
}
}  // namespace

void AllocationWatch::Begin() {
  Largest = 0;
  Watching = true;
}

std::size_t AllocationWatch::End() {
  Watching = false;
  return Largest;
}

// The library's own operator new takes memory from malloc and its operator
// delete gives it back with free; this one does the same, so the delete of
// the library stays its partner. The other forms of new come through here.
void* operator new(std::size_t ASize) {
  Note(ASize);
  if (void* P = std::malloc(ASize ? ASize : 1)) return P;
  throw std::bad_alloc();
}
