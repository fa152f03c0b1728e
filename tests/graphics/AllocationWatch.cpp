#include "tests/graphics/AllocationWatch.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> Watching{false};
std::atomic<size_t> LargestSize{0};

}  // namespace

// Kept in a file of its own so that no caller sees malloc and free behind new and delete.
void* operator new(size_t Size) {
  if (Watching) LargestSize = std::max<size_t>(LargestSize, Size);
  if (void* P = std::malloc(Size ? Size : 1)) return P;
  throw std::bad_alloc();
}
void operator delete(void* P) noexcept { std::free(P); }
void operator delete(void* P, size_t) noexcept { std::free(P); }

namespace bmptest {

TAllocationWatch::TAllocationWatch() {
  LargestSize = 0;
  Watching = true;
}
TAllocationWatch::~TAllocationWatch() { Watching = false; }
size_t TAllocationWatch::Largest() { return LargestSize; }

}  // namespace bmptest
