// The end-to-end driver's toolkit: start ulmora.exe, read its windows from outside the process,
// act on it with real input, and read what the stand-in browser recorded. Runs under Wine in the
// prefix and on the display that tests/e2e/harness.sh prepared.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Rectangles compare and print in test assertions (found by lookup in the global namespace, where
// RECT lives).
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace ulmora::e2e {

// A span of time for waits. (Not std::chrono: <chrono> does not compile with a GBK execution
// character set, which the tests use for their GBK literals.)
class Milliseconds {
 public:
  explicit constexpr Milliseconds(DWORD count) : count_(count) {}
  constexpr DWORD count() const { return count_; }

 private:
  DWORD count_;
};
inline constexpr Milliseconds kTimeout{10000};

// What the harness hands over in the environment.
struct Settings {
  std::string program;      // Windows path of ulmora.exe; empty when the run has none
  std::string recorder;     // Windows path of the stand-in browser inside the prefix
  std::string recorderLog;  // its log, next to it
  SIZE screen;              // the screen size the harness asked for
  std::string artefacts;    // Unix folder that keeps screenshots
};
const Settings& GetSettings();

// The Windows path of a test-only program that the harness was given as --helper NAME=EXE;
// empty when it was not.
std::string HelperProgram(const std::string& name);

// Polls done() every few milliseconds until it holds or the time is up. Messages for the
// driver's own windows are handled meanwhile.
bool WaitUntil(const std::function<bool()>& done, Milliseconds timeout = kTimeout);

// Bytes for a failure message: printable ASCII kept, everything else as \xNN.
std::string Escaped(const std::string& bytes);

// A started process. Ended at destruction if it is still running, so that a failed test leaves
// nothing behind for the next one.
class Process {
 public:
  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  ~Process();

  // CreateProcessA with the command line's bytes as given; the driver's working directory when
  // workingDirectory is empty. An unstarted Process on failure.
  static Process Start(const std::string& commandLine, const std::string& workingDirectory = {});

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }
  bool Running() const;
  // The exit code (all 32 bits), or none if the process is still running when the time is up.
  std::optional<DWORD> WaitForExit(Milliseconds timeout = kTimeout);
  void Terminate();

 private:
  PROCESS_INFORMATION info_{};
};

// ---- Windows of another process ----

// The first visible top-level window of that class that the process owns.
HWND WaitForTopLevelWindow(DWORD processId, const char* className, Milliseconds timeout = kTimeout);
HWND FindControl(HWND window, int controlId);
// Direct children, top of the stacking order first (GW_CHILD, then GW_HWNDNEXT).
std::vector<HWND> ChildrenTopToBottom(HWND window);
std::string ClassName(HWND window);
// The window's text as WM_GETTEXT hands it out: bytes in the ANSI code page.
std::string WindowText(HWND window);
RECT WindowRect(HWND window);
// A child's outer rectangle in its parent's client coordinates.
RECT RectInParentClient(HWND child);
RECT ClientRect(HWND window);
LONG_PTR Style(HWND window);
LONG_PTR ExStyle(HWND window);
bool IsChecked(HWND button);
// Focus and active window of the thread that owns the window.
GUITHREADINFO GuiThreadInfo(HWND window);
// Waits until the focus of the window's thread is on control.
bool WaitForFocus(HWND control, Milliseconds timeout = kTimeout);
// The working directory of another process, as its process parameters hold it (no final
// backslash), in the ANSI code page.
std::optional<std::string> WorkingDirectoryOf(HANDLE process);

// ---- Input as a person gives it ----
// Mouse and keys go in through SendInput: the system's input queue hands them to the program's
// own GetMessage loop, so its pre-translation sees them exactly as it sees a person's.

// SetForegroundWindow, then waits until the window is the foreground window.
bool BringToFront(HWND window);
void MoveMouseTo(POINT screen);
void ClickAt(POINT screen);
void ClickInClient(HWND window, POINT client);
// A click in the middle of a control.
void ClickControl(HWND control);
// A screen point where the window's hit test answers code (HTCLOSE, HTCAPTION, ...).
std::optional<POINT> FindHitTestPoint(HWND window, LRESULT code);

// The KeyModifiers bit mask of the key events.
enum Modifier : unsigned { kCtrl = 1, kShift = 2, kAlt = 4 };
// Presses and releases a key with the given modifiers held. extendedKey marks the key event as
// the extended one of its pair (the keypad's Enter; the cursor keys are always marked).
void PressKey(WORD virtualKey, unsigned modifiers = 0, bool extendedKey = false);
// Presses and releases each key in turn, all in one go.
void PressKeys(const std::vector<WORD>& virtualKeys);
// Holds a key down for repeats auto-repeated key-downs, then releases it.
void HoldKey(WORD virtualKey, int repeats);
// Types text as an input method commits it (VK_PACKET key strokes), through the program's loop.
// The query field takes Chinese typed this way; to put a query in place before the keys or
// clicks under test, SetText is quicker.
void TypeText(const std::wstring& text);
// WM_SETTEXT: straight into the control's window procedure, bypassing the program's loop. The
// way to put a query (GBK bytes included) in place before the keys or clicks under test.
void SetText(HWND control, const std::string& ansiBytes);

// ---- The stand-in browser ----

struct Record {
  std::string commandLine;             // GetCommandLineA() bytes
  std::string workingDirectory;        // GetCurrentDirectoryA() bytes
  unsigned long long created = 0;      // the start, as the process's creation time (FILETIME)
  std::vector<std::string> arguments;  // CommandLineToArgvW, each as UTF-8
};
std::ostream& operator<<(std::ostream& out, const Record& record);

// In the order written, which for starts close together need not be the order of the starts.
std::vector<Record> ReadRecords();
// Sorted by creation time: the order in which the browsers were started.
std::vector<Record> InStartOrder(std::vector<Record> records);
void ClearRecords();
// All records once there are at least count of them; none if the time is up first.
std::optional<std::vector<Record>> WaitForRecords(size_t count, Milliseconds timeout = kTimeout);
// Waits until no stand-in browser is running, so that every start so far has written its record.
bool WaitForRecorderExits(Milliseconds timeout = kTimeout);
// The record's arguments in the ANSI code page, program path first.
std::vector<std::string> AnsiArguments(const Record& record);
std::string Utf8ToAnsi(const std::string& utf8);
std::string AnsiToUtf8(const std::string& ansi);

// ---- Registry of the prefix (HKEY_CLASSES_ROOT) ----
// Wine: classes live under HKEY_CLASSES_ROOT; HKEY_CURRENT_USER\Software\Classes is ignored.

// The stand-in browser's command lines, as harness.sh registers them.
std::string WebCommand();   // "C:\e2e\recorder.exe" "%1"
std::string HtmlCommand();  // "C:\e2e\recorder.exe" -x "%1"
inline constexpr char kHtmlClass[] = "UlmoraE2E.htm";
// Puts back what harness.sh registered: http, https and the ".htm" class.
void RegisterStandInBrowser();
// Removes http and https, so that the shell's "open" of a URL fails (SE_ERR_NOASSOC).
void RemoveWebHandlers();
// Removes the ".htm" key, so that the fallback finds no class.
void RemoveHtmlClass();
// Sets the open command of the ".htm" class that harness.sh registered.
void SetHtmlCommand(const std::string& command);
bool SetClassDefault(const std::string& keyPath, const std::string& value);
bool DeleteClassTree(const std::string& keyPath);

// ---- Message boxes ----

HWND WaitForMessageBox(DWORD processId, Milliseconds timeout = kTimeout);
std::string MessageBoxText(HWND box);  // the static 0xFFFF, exact bytes
void DismissMessageBox(HWND box);      // presses IDOK

// ---- Processes ----

// Running processes whose program file has this name (case-insensitive).
int CountProcessesNamed(const char* fileName);
// PagefileUsage of GetProcessMemoryInfo: the process's private bytes. (Wine: PrivateUsage reads
// 0; PagefileUsage holds the process's anonymous resident memory.)
std::optional<size_t> PrivateBytes(HANDLE process);
// The lines of a text file (without their line breaks); none when it cannot be read.
std::vector<std::string> ReadLines(const std::string& path);

// ---- The host side ----

// Runs a Linux program and waits for it; its exit status, or -1 if it could not be started.
int RunOnHost(const std::vector<std::string>& argv);
// Saves the whole screen to the artefacts folder; the file's Unix path, or none on failure.
std::optional<std::string> SaveScreenshot(const std::string& fileName);

// ---- ulmora.exe ----

struct Ulmora {
  Process process;
  HWND window = nullptr;  // the top-level UlmoraWindow; null if it never appeared
  HWND control(int id) const { return FindControl(window, id); }
};
// Starts the program and waits for its window.
Ulmora StartUlmora(const std::string& program, const std::string& workingDirectory = {});
// Copies a program to folder\fileName (folders made as needed, an old copy replaced); the
// copy's path.
std::optional<std::string> InstallCopy(const std::string& source, const std::string& folder,
                                       const std::string& fileName);
// The same for the program under test.
std::optional<std::string> InstallProgramCopy(const std::string& folder,
                                              const std::string& fileName);

// Each test gets a fresh ulmora.exe with the stand-in browser registered and an empty recorder
// log; the process is ended after the test if it is still running.
class UlmoraTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND window() const { return ulmora_.window; }
  HWND control(int id) const { return ulmora_.control(id); }
  Process& process() { return ulmora_.process; }

  Ulmora ulmora_;
};

}  // namespace ulmora::e2e
