// A fixture that starts the shell over the stand-in and checks, at the end, that everything the
// program took was given back.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/shell.h"
#include "fatal/fatal.h"
#include "stand_in_platform.h"
#include "ui/main_window.h"

namespace ulmora {

class ShellFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    stand_in::Reset();
    ResetShellState();
  }

  void TearDown() override {
    ShutDown();
    EXPECT_TRUE(stand_in::Get().heap.live.empty()) << "texts or records leaked";
    EXPECT_EQ(stand_in::LiveFonts(), 0u);
    EXPECT_EQ(stand_in::Get().keysOpen, 0);
    ResetShellState();
    InstallFatalShutdownStep(nullptr);
  }

  // Ulmora's shell with MainWindow built and shown, as start-up leaves it before the loop.
  void Start(const ProgramData& program = UlmoraProgram) {
    InitializeShell(program);
    LoadWindow(program.startWindow);
  }

  static platform::Window Main() { return stand_in::MainTopLevel(); }
  static platform::Window Control(std::uint32_t id) { return stand_in::ChildById(Main(), id); }
  static stand_in::FakeWindow& Fake(std::uint32_t id) { return stand_in::Of(Control(id)); }

  // Runs what must end the process; returns its exit code (or 1000 when it returned).
  static int ExitCodeOf(const std::function<void()>& run) {
    try {
      run();
    } catch (const stand_in::ProcessEnded& ended) {
      return ended.exitCode;
    }
    return 1000;
  }

  // After the process has ended, what it still held went with it.
  static void ForgetProcessMemory() {
    for (void* block : stand_in::Get().heap.live) std::free(block);
    stand_in::Get().heap.live.clear();
  }

  static std::string LastBoxText() {
    const auto& boxes = stand_in::Get().errorBoxes;
    return boxes.empty() ? std::string("(no box)") : boxes.back().text;
  }

  static std::string FatalText(const std::string& message) {
    return "运行时出错!\r\n\r\n错误信息：" + message + "\r\n";
  }

  // The calls that start with prefix, in order.
  static std::vector<std::string> CallsStartingWith(const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& c : stand_in::Get().calls) {
      if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
    }
    return out;
  }

  static std::string Hex(std::uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08x", value);
    return buffer;
  }
};

}  // namespace ulmora
