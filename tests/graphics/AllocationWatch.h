// Records the largest single allocation made through operator new while a watch is on.
#pragma once

#include <cstddef>

namespace bmptest {

class TAllocationWatch {
 public:
  TAllocationWatch();
  ~TAllocationWatch();
  TAllocationWatch(const TAllocationWatch&) = delete;
  TAllocationWatch& operator=(const TAllocationWatch&) = delete;
  static size_t Largest();
};

}  // namespace bmptest
