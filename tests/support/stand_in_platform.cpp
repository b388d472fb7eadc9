#include "stand_in_platform.h"

#include <cstdlib>
#include <cstring>

#include "fatal/fatal.h"

namespace stand_in {

State& Get() {
  static State state;
  return state;
}

void Reset() {
  State& s = Get();
  for (void* block : s.heap.live) std::free(block);
  s = State{};
  // The suppression counter is process-wide; every test starts from 0.
  while (ulmora::EventSuppression() > 0) ulmora::LowerEventSuppression();
}

bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace stand_in

namespace platform {

using stand_in::Get;

void* HeapAllocate(std::uint32_t size) {
  auto& heap = Get().heap;
  ++heap.allocations;
  heap.requestSizes.push_back(size);
  if (heap.failAll || heap.allocations == heap.failAt) return nullptr;
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) return nullptr;
  heap.live.insert(block);
  return block;
}

void HeapRelease(void* block) {
  auto& heap = Get().heap;
  if (heap.live.erase(block) != 1) std::abort();  // a double or foreign release
  heap.releases.push_back(block);
  std::free(block);
}

std::uint32_t ProgramFilePath(char* buffer, std::uint32_t capacity) {
  const std::string& path = Get().programPath;
  const std::uint32_t n = static_cast<std::uint32_t>(path.size());
  if (n >= capacity) {
    std::memcpy(buffer, path.data(), capacity);
    return capacity;
  }
  std::memcpy(buffer, path.c_str(), n + 1);
  return n;
}

void SetWorkingDirectory(const char* path) {
  Get().calls.push_back("SetWorkingDirectory");
  Get().workingDirectories.emplace_back(path);
}

bool IsLeadByte(unsigned char byte) { return stand_in::IsGbkLeadByte(byte); }

bool StartComponentServices() {
  Get().calls.push_back("StartComponentServices");
  if (Get().componentServicesFail) return false;
  ++Get().componentServicesStarted;
  return true;
}

void StopComponentServices() {
  Get().calls.push_back("StopComponentServices");
  ++Get().componentServicesStopped;
}

void ShowErrorBox(const char* caption, const char* text) {
  Get().calls.push_back("ShowErrorBox");
  Get().errorBoxes.push_back({caption, text, ulmora::EventSuppression()});
}

void EndProcess(int exitCode) {
  Get().calls.push_back("EndProcess");
  throw stand_in::ProcessEnded{exitCode};
}

}  // namespace platform
