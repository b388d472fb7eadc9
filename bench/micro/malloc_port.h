// Counts of the micro benchmarks' C-heap port (malloc_port.cpp).
#pragma once

#include <cstdint>

namespace bench {

struct HeapCounts {
  std::uint64_t allocations = 0;
  std::uint64_t releases = 0;
};

extern HeapCounts heapCounts;

}  // namespace bench
