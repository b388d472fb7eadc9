// The start-up benchmark's driver: starts ulmora.exe and the floor program alternately and
// measures, for each run, how long until the main window is shown with the keyboard focus in its
// edit field, and how much memory the process holds once it is idle.
//
//   startup.exe [--runs N] [--settle MS] ULMORA.EXE FLOOR.EXE
//
// Runs N + 1 pairs (ulmora, floor, ulmora, floor, ...) and drops the first pair, which pays for
// warming the caches of the machine and of the wine server.
//
// Start-up time: from the moment just before CreateProcessA (GetSystemTimePreciseAsFileTime in
// this process) until GetGUIThreadInfo of the child's first thread names a focused window of
// class "Edit" whose top-level window (of the expected class) is visible. The driver polls that
// one call about every millisecond: polling costs wine server time, which the child shares.
//
// Memory, read with GetProcessMemoryInfo once the child has been idle for the settle time:
//   private  = PagefileUsage (Wine 8 reads PrivateUsage as 0; PagefileUsage is the same figure on
//              current Windows and holds the process's resident anonymous memory under Wine)
//   working  = WorkingSetSize (mostly shared DLL pages; moves with how the driver polls)
//
// Prints medians, minimum and maximum of each figure, the ratio of the medians Ulmora / floor and
// the median of the ratios within each pair, and one line per figure starting with "@" for
// scripts: "@name ulmora-median floor-median pair-ratio-median".
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#define PSAPI_VERSION 2
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr char kUlmoraWindowClass[] = "UlmoraWindow";
constexpr char kFloorWindowClass[] = "UlmoraFloorWindow";
constexpr int kQueryFieldId = 0x16010002;
constexpr DWORD kRunTimeoutMs = 20000;

struct Subject {
  const char* label;
  const char* path;
  const char* windowClass;
  int editId;  // expected control id of the focused edit; 0: any
};

struct Sample {
  double startupMs;
  double privateKiB;
  double workingKiB;
};

double NowMs() {
  FILETIME now;
  GetSystemTimePreciseAsFileTime(&now);
  ULARGE_INTEGER t;
  t.LowPart = now.dwLowDateTime;
  t.HighPart = now.dwHighDateTime;
  return static_cast<double>(t.QuadPart) / 10000.0;
}

bool HasClass(HWND window, const char* name) {
  char buffer[64];
  return GetClassNameA(window, buffer, sizeof buffer) > 0 && std::strcmp(buffer, name) == 0;
}

// The child's main window once it is shown with the focus in its edit field; null before.
HWND ShownWithFocus(DWORD thread, const Subject& subject, HWND* lastFocus) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(thread, &info) || info.hwndFocus == nullptr) return nullptr;
  // The other checks run only when the focus has moved, so the poll stays one call.
  if (info.hwndFocus == *lastFocus) return nullptr;
  HWND root = GetAncestor(info.hwndFocus, GA_ROOT);
  if (!HasClass(info.hwndFocus, "Edit") || root == nullptr ||
      !HasClass(root, subject.windowClass) || !IsWindowVisible(root) ||
      (subject.editId != 0 && GetDlgCtrlID(info.hwndFocus) != subject.editId)) {
    // Not there yet (shown later, or focus elsewhere): look again when it moves or shows.
    if (root == nullptr || IsWindowVisible(root)) *lastFocus = info.hwndFocus;
    return nullptr;
  }
  return root;
}

bool RunOnce(const Subject& subject, DWORD settleMs, Sample* sample) {
  char commandLine[MAX_PATH + 3];
  std::snprintf(commandLine, sizeof commandLine, "\"%s\"", subject.path);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};

  const double start = NowMs();
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    std::fprintf(stderr, "startup: cannot start %s (error %lu)\n", subject.path,
                 GetLastError());
    return false;
  }
  HWND window = nullptr;
  HWND lastFocus = nullptr;
  double shown = 0;
  for (;;) {
    window = ShownWithFocus(process.dwThreadId, subject, &lastFocus);
    if (window != nullptr) {
      shown = NowMs();
      break;
    }
    if (WaitForSingleObject(process.hProcess, 1) != WAIT_TIMEOUT) break;  // ended early
    if (NowMs() - start > kRunTimeoutMs) break;
  }
  bool ok = window != nullptr;
  if (!ok) {
    std::fprintf(stderr, "startup: %s never showed its window with the focus in its edit field\n",
                 subject.label);
  } else {
    sample->startupMs = shown - start;
    WaitForInputIdle(process.hProcess, 5000);
    Sleep(settleMs);
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
      std::fprintf(stderr, "startup: no memory figures for %s (error %lu)\n", subject.label,
                   GetLastError());
      ok = false;
    }
    sample->privateKiB = static_cast<double>(counters.PagefileUsage) / 1024.0;
    sample->workingKiB = static_cast<double>(counters.WorkingSetSize) / 1024.0;
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "startup: %s did not end; terminating it\n", subject.label);
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    ok = false;
  } else {
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    if (ok && code != 0) {
      std::fprintf(stderr, "startup: %s ended with code %lu\n", subject.label, code);
      ok = false;
    }
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ok;
}

struct Summary {
  double median, min, max;
};

Summary Summarize(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  const double median = n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  return {median, values.front(), values.back()};
}

void Report(const char* figure, const char* unit, const char* key,
            const std::vector<double>& ulmora, const std::vector<double>& floor) {
  const Summary u = Summarize(ulmora);
  const Summary f = Summarize(floor);
  // Each pair ran within a second, so its ratio is free of the machine's slower drift.
  std::vector<double> pairRatios;
  for (std::size_t i = 0; i < ulmora.size(); ++i) pairRatios.push_back(ulmora[i] / floor[i]);
  const Summary p = Summarize(pairRatios);
  std::printf("%-28s %10s %10s %10s\n", figure, "median", "min", "max");
  std::printf("  %-26s %10.1f %10.1f %10.1f  %s\n", "ulmora", u.median, u.min, u.max, unit);
  std::printf("  %-26s %10.1f %10.1f %10.1f  %s\n", "floor", f.median, f.min, f.max, unit);
  std::printf("  %-26s %10.3f\n", "ratio of the medians", u.median / f.median);
  std::printf("  %-26s %10.3f %10.3f %10.3f\n", "ratio within pairs", p.median, p.min, p.max);
  std::printf("@%s %.3f %.3f %.3f\n", key, u.median, f.median, p.median);
}

int Usage() {
  std::fprintf(stderr, "usage: startup.exe [--runs N] [--settle MS] ULMORA.EXE FLOOR.EXE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 30;
  DWORD settleMs = 300;
  const char* paths[2] = {nullptr, nullptr};
  int pathCount = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--settle") == 0 && i + 1 < argc) {
      settleMs = static_cast<DWORD>(std::atoi(argv[++i]));
    } else if (pathCount < 2) {
      paths[pathCount++] = argv[i];
    } else {
      return Usage();
    }
  }
  if (pathCount != 2 || runs < 1) return Usage();

  const Subject subjects[2] = {{"ulmora", paths[0], kUlmoraWindowClass, kQueryFieldId},
                               {"floor", paths[1], kFloorWindowClass, 0}};
  std::vector<double> startup[2], privateKiB[2], workingKiB[2];
  for (int pair = 0; pair <= runs; ++pair) {
    for (int s = 0; s < 2; ++s) {
      Sample sample = {};
      if (!RunOnce(subjects[s], settleMs, &sample)) return 1;
      if (pair == 0) continue;  // the warm-up pair
      startup[s].push_back(sample.startupMs);
      privateKiB[s].push_back(sample.privateKiB);
      workingKiB[s].push_back(sample.workingKiB);
    }
    std::fprintf(stderr, "\rstartup: pair %d of %d", pair, runs);
  }
  std::fprintf(stderr, "\n");

  std::printf("%d runs each, ABAB, first pair dropped\n", runs);
  Report("start-up to focused field", "ms", "startup_ms", startup[0], startup[1]);
  Report("private (PagefileUsage)", "KiB", "private_kib", privateKiB[0], privateKiB[1]);
  Report("working set (WorkingSetSize)", "KiB", "working_set_kib", workingKiB[0], workingKiB[1]);
  std::fflush(stdout);
  return 0;
}
