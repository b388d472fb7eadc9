// The text heap: the process heap. Kept alone in its file (and its own object library) so that a
// test program can link the rest of the backend with a heap of its own that fails on demand.
#include "platform/platform.h"
#include "win32/win32_prelude.h"

namespace platform {

void* HeapAllocate(std::uint32_t size) {
  const HANDLE heap = GetProcessHeap();
  if (heap == nullptr) return nullptr;
  return HeapAlloc(heap, 0, size);
}

void HeapRelease(void* block) {
  if (block == nullptr) return;
  const HANDLE heap = GetProcessHeap();
  // A block the heap does not know is left alone: nothing else could be done with it.
  if (heap != nullptr) HeapFree(heap, 0, block);
}

}  // namespace platform
