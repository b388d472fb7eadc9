// Faults injected through the stand-in: the heap refusing each allocation of a search in turn,
// for every service and both ways of opening, and the desktop failing at each step of the open.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "search/search_command.h"
#include "shell_fixture.h"
#include "ui/events.h"
#include "ui/main_window.h"
#include "ui/window.h"

namespace ulmora {
namespace {

int exitRoutineCalls = 0;
void CountExitRoutine() {
  ++exitRoutineCalls;
}

constexpr char kClassKey[] = "ulmorahtml";
constexpr char kCommandKey[] = "ulmorahtml\\shell\\open\\command";

struct Service {
  const char* name;
  std::uint32_t radio;
  std::uint32_t reads;  // reads of the query field per search
};

constexpr Service kServices[] = {
    {"Baidu", kRadioBaidu, 1},   {"Google", kRadioGoogle, 1},   {"Bing", kRadioBing, 2},
    {"Taobao", kRadioTaobao, 1}, {"Wanwang", kRadioWanwang, 2},
};

class FaultInjectionTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    exitRoutineCalls = 0;
    Start();
    RegisterExitRoutine(&CountExitRoutine);  // as start-up does with the program's own
  }

  // A fresh program; what the last one held must all have been given back.
  void Restart() {
    TearDown();
    SetUp();
  }

  void Prepare(const Service& service, const std::string& query, bool shellFails) {
    stand_in::Click(Control(service.radio));
    Fake(kQueryField).text = query;
    if (shellFails) {
      stand_in::Get().shellResult = 31;
      stand_in::Get().registry[".htm"] = std::string(kClassKey);
      stand_in::Get().registry[kCommandKey] = std::string("b.exe \"%1\"");
    }
  }

  static std::string AllocationReport(std::size_t size) {
    return FatalText("分配 " + std::to_string(size) + " 字节内存失败!");
  }

  static const std::vector<stand_in::ShellOpenCall>& Opens() { return stand_in::Get().shellOpens; }
};

// The sizes come from what a successful search shows: each read holds the query, the join and
// the link control's copy hold the URL, and where the shell fails the fallback line holds the
// registered part, a space and the quoted URL. The successful run must make exactly these
// allocations, so no site escapes the injection.
TEST_F(FaultInjectionTest, EachAllocationOfASearchFailingEndsTheProgramWithItsSize) {
  const std::string query = "ab \xb0\xd9";
  for (const Service& service : kServices) {
    for (bool shellFails : {false, true}) {
      SCOPED_TRACE(std::string(service.name) + (shellFails ? ", shell fails" : ", shell opens"));
      Restart();
      Prepare(service, query, shellFails);
      const std::size_t before = stand_in::Get().heap.requestSizes.size();
      SearchButtonClicked();
      ASSERT_EQ(Opens().size(), 1u);
      const std::size_t url = Opens()[0].target.size() + 1;
      std::vector<std::uint32_t> sizes(service.reads, query.size() + 1);
      sizes.insert(sizes.end(), {static_cast<std::uint32_t>(url), static_cast<std::uint32_t>(url)});
      if (shellFails) sizes.push_back(static_cast<std::uint32_t>(6 + 1 + (url + 1) + 1));
      const auto& requested = stand_in::Get().heap.requestSizes;
      EXPECT_EQ(std::vector<std::uint32_t>(requested.begin() + before, requested.end()), sizes);

      for (std::size_t step = 0; step < sizes.size(); ++step) {
        SCOPED_TRACE("allocation " + std::to_string(step + 1));
        Restart();
        Prepare(service, query, shellFails);
        const platform::Window button = Control(kSearchButton);
        auto& heap = stand_in::Get().heap;
        heap.failAt = static_cast<std::uint32_t>(heap.allocations + 1 + step);
        EXPECT_EQ(ExitCodeOf([&] { stand_in::Click(button); }), -1);
        const auto& boxes = stand_in::Get().errorBoxes;
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "错误");
        EXPECT_EQ(boxes[0].text, AllocationReport(sizes[step]));
        EXPECT_GT(boxes[0].suppressionWhileShown, 0u);
        EXPECT_EQ(exitRoutineCalls, 0);
        EXPECT_TRUE(stand_in::Get().commandStarts.empty());
        EXPECT_EQ(Opens().size(), step == sizes.size() - 1 && shellFails ? 1u : 0u);

        // From here on no handler runs: a click and an Enter in the field do nothing at all.
        const std::size_t calls = stand_in::Get().calls.size();
        stand_in::Click(button);
        const HandlerResult key =
            RaiseEvent(kMainWindowId, kQueryField, event::kKeyDown, {{13, 0}, 2});
        EXPECT_FALSE(key.hasValue);
        EXPECT_EQ(stand_in::Get().calls.size(), calls);
        ShutDown();  // the process's own end finds nothing left to do
        EXPECT_EQ(exitRoutineCalls, 0);
        EXPECT_EQ(boxes.size(), 1u);
        ForgetProcessMemory();  // the reads still held went with the process
      }
    }
  }
}

// The open of a search, failing at each step in turn: what the desktop is asked, in order, and
// what the open reports (1 handed over, 0 not). Through the search itself a failure is silent.
TEST_F(FaultInjectionTest, TheDesktopFailingAtEachStepOfTheOpen) {
  enum class Key { Missing, Denied, NoValue, Present };
  struct Case {
    const char* name;
    std::intptr_t shell;
    Key htm;
    Key command;
    std::uint32_t start;
    std::int32_t result;
    std::size_t desktopCalls;  // of ShellOpen, the two key opens and StartCommandLine
  };
  const Case cases[] = {
      {"the shell opens it", 33, Key::Present, Key::Present, 33, 1, 1},
      {"the shell gives 32 and .htm is missing", 32, Key::Missing, Key::Present, 33, 0, 2},
      {"the shell gives 0 and .htm is denied", 0, Key::Denied, Key::Present, 33, 0, 2},
      {".htm has no value", 31, Key::NoValue, Key::Present, 33, 0, 2},
      {"the class has no open command", 31, Key::Present, Key::Missing, 33, 0, 3},
      {"the open command is denied", 31, Key::Present, Key::Denied, 33, 0, 3},
      {"the open command has no value", 31, Key::Present, Key::NoValue, 33, 0, 3},
      {"the command start gives 32", 31, Key::Present, Key::Present, 32, 0, 4},
      {"the command start gives 0", 31, Key::Present, Key::Present, 0, 0, 4},
      {"the command starts", 31, Key::Present, Key::Present, 33, 1, 4},
  };
  auto enter = [](const char* path, Key key, const std::string& value) {
    auto& s = stand_in::Get();
    if (key == Key::Denied) s.registryOpenErrors[path] = 5;
    if (key == Key::NoValue) s.registry[path] = std::nullopt;
    if (key == Key::Present) s.registry[path] = value;
  };
  const std::vector<std::string> desktop = {"ShellOpen", "OpenClassKey .htm",
                                            std::string("OpenClassKey ") + kCommandKey,
                                            "StartCommandLine"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Restart();
    auto& s = stand_in::Get();
    s.shellResult = c.shell;
    s.startResult = c.start;
    enter(".htm", c.htm, kClassKey);
    enter(kCommandKey, c.command, "b.exe \"%1\"");
    Fake(kQueryField).text = "q";
    s.calls.clear();
    const std::size_t liveBefore = s.heap.live.size();
    SearchButtonClicked();

    std::vector<std::string> asked;
    for (const std::string& call : s.calls) {
      if (call.rfind("ShellOpen", 0) == 0 || call.rfind("OpenClassKey", 0) == 0 ||
          call.rfind("StartCommandLine", 0) == 0) {
        asked.push_back(call);
      }
    }
    EXPECT_EQ(asked, std::vector<std::string>(desktop.begin(), desktop.begin() + c.desktopCalls));
    EXPECT_TRUE(s.errorBoxes.empty());
    EXPECT_EQ(EventSuppression(), 0u);
    EXPECT_EQ(s.keysOpen, 0);
    EXPECT_EQ(s.heap.live.size(), liveBefore + 1);  // only the link control's copy of the URL

    // The same open, with the link control's state as the search left it, gives its result.
    const ControlState* link = FindControl(FindWindowByIdentity(kMainWindowId), kHyperLinker);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(OpenTarget(link->link, kShowNormal), c.result);
  }
}

}  // namespace
}  // namespace ulmora
