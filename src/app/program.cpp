// Ulmora's own program data: its one window and the routines that the window binds.
#include "app/shell.h"
#include "search/search_command.h"
#include "ui/main_window.h"

namespace ulmora {
namespace {

HandlerResult OnSearchButtonClicked(const EventArgs&) {
  SearchButtonClicked();
  return {false, 0};
}

HandlerResult OnQueryKeyPressed(const EventArgs& args) {
  QueryKeyPressed(args.values[0], args.values[1]);
  return {false, 0};  // no value: the key goes on to the field
}

constexpr ProgramRoutine kRoutines[] = {
    {HandlerId::SearchButtonClicked, &OnSearchButtonClicked},
    {HandlerId::QueryKeyPressed, &OnQueryKeyPressed},
};

const WindowDescription* const kWindows[] = {&MainWindow};

}  // namespace

const ProgramData UlmoraProgram = {
    .windows = kWindows,
    .windowCount = 1,
    .routines = kRoutines,
    .routineCount = 2,
    .init = &ProgramInit,
    .exit = &ProgramExit,
    .startWindow = kMainWindowId,
};

}  // namespace ulmora
