// A test-only program over the product's shell, backend and heap. The command line picks what
// it runs:
//
//   unknown-start-window  Ulmora's data, but a start window that none of its windows is
//   unreadable-data       no stored window data at all
//   traced                MainWindow with every click and key-down traced to probe.log instead
//                         of searching; F9 in the query field raises a fatal error
//   anything else         Ulmora's own data
//
// Every mode traces its exit routine as "exit".
#include <windows.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>

#include "app/shell.h"
#include "fatal/fatal.h"
#include "probe_trace.h"
#include "ui/main_window.h"

namespace ulmora::probe {
namespace {

constexpr std::int32_t kFatalKey = VK_F9;

void TraceExit() { Trace("exit"); }

HandlerResult OnButtonClick(const EventArgs&) {
  Trace("click button");
  return {false, 0};
}

HandlerResult OnFieldKeyDown(const EventArgs& args) {
  Trace("key " + std::to_string(args.values[0]) + " " + std::to_string(args.values[1]));
  if (args.values[0] == kFatalKey) ReportFatalError("探针：F9 键");
  return {false, 0};
}

// The radio buttons' click routines, one per control in stored order; each names its control.
constexpr std::uint32_t kFirstRadioHandler = 100;

template <std::uint32_t Index>
HandlerResult OnRadioClick(const EventArgs&) {
  char line[32];
  wsprintfA(line, "click radio %08x", MainWindow.controls[Index].identity);
  Trace(line);
  return {false, 0};
}

template <std::uint32_t... Index>
constexpr auto RadioRoutines(std::integer_sequence<std::uint32_t, Index...>) {
  return std::array<ProgramRoutine, sizeof...(Index)>{
      ProgramRoutine{static_cast<HandlerId>(kFirstRadioHandler + Index), &OnRadioClick<Index>}...};
}

constexpr std::uint32_t kControlCount = 8;
ControlDescription tracedControls[kControlCount];
EventBinding radioBindings[kControlCount];
WindowDescription tracedWindow;
const WindowDescription* tracedWindows[] = {&tracedWindow};

// MainWindow as stored, with a click binding on each radio button; the button's click and the
// field's key-down keep their bindings and get this program's routines.
ProgramData TracedProgram() {
  static const auto radios =
      RadioRoutines(std::make_integer_sequence<std::uint32_t, kControlCount>{});
  static ProgramRoutine routines[kControlCount + 2];
  routines[0] = {HandlerId::SearchButtonClicked, &OnButtonClick};
  routines[1] = {HandlerId::QueryKeyPressed, &OnFieldKeyDown};
  std::memcpy(routines + 2, radios.data(), sizeof radios);

  tracedWindow = MainWindow;
  for (std::uint32_t i = 0; i < kControlCount; ++i) {
    tracedControls[i] = MainWindow.controls[i];
    if (tracedControls[i].kind == ControlKind::RadioBox) {
      radioBindings[i] = {event::kClick, static_cast<HandlerId>(kFirstRadioHandler + i)};
      tracedControls[i].bindings = &radioBindings[i];
      tracedControls[i].bindingCount = 1;
    }
  }
  tracedWindow.controls = tracedControls;
  tracedWindow.controlCount = kControlCount;
  return {tracedWindows, 1, routines, kControlCount + 2, &ProgramInit, &TraceExit, kMainWindowId};
}

ProgramData ProgramFor(const char* mode) {
  ProgramData data = UlmoraProgram;
  data.exit = &TraceExit;
  if (std::strcmp(mode, "unknown-start-window") == 0) {
    data.startWindow = kMainWindowId + 1;
  } else if (std::strcmp(mode, "unreadable-data") == 0) {
    data.windows = nullptr;
  } else if (std::strcmp(mode, "traced") == 0) {
    data = TracedProgram();
  }
  return data;
}

}  // namespace
}  // namespace ulmora::probe

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  if (ulmora::MainWindow.controlCount != ulmora::probe::kControlCount) return 2;
  ulmora::RunProgram(ulmora::probe::ProgramFor(commandLine));
  ulmora::ShutDown();
  return ulmora::QuitCode();
}
