// The in-memory stand-in for the port, for unit tests: a scripted heap, a recording error box
// and exit, and (as the logic needs them) a window system and desktop held in memory.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace stand_in {

// Thrown by EndProcess, so that a test sees the exit instead of losing its process.
struct ProcessEnded {
  int exitCode;
};

struct HeapState {
  std::uint64_t allocations = 0;  // successful and failed requests alike
  std::uint32_t failAt = 0;       // fail the request with this 1-based number; 0: never
  bool failAll = false;
  std::set<void*> live;
  std::vector<std::uint32_t> requestSizes;
  std::vector<const void*> releases;  // in release order
};

struct ErrorBox {
  std::string caption;
  std::string text;
  std::uint32_t suppressionWhileShown;
};

struct State {
  HeapState heap;
  std::vector<ErrorBox> errorBoxes;
  std::vector<std::string> calls;  // the port calls that matter for ordering, by name
  std::string programPath = "C:\\Ulmora\\ulmora.exe";
  std::vector<std::string> workingDirectories;
  bool componentServicesFail = false;
  int componentServicesStarted = 0;
  int componentServicesStopped = 0;
};

State& Get();
// A fresh state; blocks still live from an earlier test are freed first.
void Reset();

// GBK: lead bytes 0x81 to 0xFE.
bool IsGbkLeadByte(unsigned char byte);

}  // namespace stand_in
