// The part of the port that the text routines and URL composition reach, over the C heap, with
// counts of what was taken and given back. Only for the micro benchmarks: a failed allocation or
// a fatal report ends the benchmark at once.
#include "malloc_port.h"

#include <cstdio>
#include <cstdlib>

#include "platform/platform.h"

namespace bench {

HeapCounts heapCounts;

}  // namespace bench

namespace platform {

void* HeapAllocate(std::uint32_t size) {
  ++bench::heapCounts.allocations;
  return std::malloc(size == 0 ? 1 : size);
}

void HeapRelease(void* block) {
  ++bench::heapCounts.releases;
  std::free(block);
}

bool IsLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }  // GBK

void ShowErrorBox(const char* caption, const char* text) {
  std::fprintf(stderr, "%s: %s\n", caption, text);
}

void EndProcess(int exitCode) {
  std::fprintf(stderr, "the benchmark ended the process with code %d\n", exitCode);
  std::abort();
}

}  // namespace platform
