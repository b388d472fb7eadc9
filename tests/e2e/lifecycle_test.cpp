// The life of the process: where it works, and how closing the window ends it.
#include "driver.h"
#include "main_window_ids.h"

namespace ulmora::e2e {
namespace {

struct CloseWay {
  const char* name;
  void (*close)(HWND window);
};
void PrintTo(const CloseWay& way, std::ostream* out) { *out << way.name; }

class CloseTest : public UlmoraTest, public ::testing::WithParamInterface<CloseWay> {};

TEST_P(CloseTest, EndsTheProcessWithExitCodeZero) {
  GetParam().close(window());
  EXPECT_EQ(process().WaitForExit(), 0u);
  EXPECT_FALSE(IsWindow(window()));
}

void PostClose(HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }

void ClickCloseBox(HWND window) {
  ASSERT_TRUE(BringToFront(window));
  const auto closeBox = FindHitTestPoint(window, HTCLOSE);
  ASSERT_TRUE(closeBox) << "no point of the frame answers HTCLOSE";
  ClickAt(*closeBox);
}

void PressAltF4(HWND window) {
  ASSERT_TRUE(BringToFront(window));
  PressKey(VK_F4, kAlt);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, CloseTest,
                         ::testing::Values(CloseWay{"WmClose", PostClose},
                                           CloseWay{"CloseBoxClick", ClickCloseBox},
                                           CloseWay{"AltF4", PressAltF4}),
                         [](const auto& info) { return std::string(info.param.name); });

// Started from elsewhere, the program works in its own folder. A GBK trail byte equal to the
// backslash code in the file name must not be taken for the last separator.
TEST(ProgramFolder, IsTheWorkingDirectoryOnceTheWindowIsUp) {
  struct Location {
    const char* what;
    std::string folder;
    std::string fileName;
  };
  const Location locations[] = {
      {"plain folder", "C:\\e2e\\app", "ulmora.exe"},
      {"Chinese folder with a space", "C:\\e2e\\搜索 工具", "ulmora.exe"},
      {"file name with a 0x5C trail byte", "C:\\e2e\\app", "搜擻.exe"},
  };
  for (const Location& location : locations) {
    SCOPED_TRACE(location.what);
    const auto program = InstallProgramCopy(location.folder, location.fileName);
    ASSERT_TRUE(program);
    Ulmora ulmora = StartUlmora(*program, "C:\\windows");
    ASSERT_NE(ulmora.window, nullptr);
    const auto directory = WorkingDirectoryOf(ulmora.process.handle());
    ASSERT_TRUE(directory);
    EXPECT_EQ(Escaped(*directory), Escaped(location.folder));
    PostMessageA(ulmora.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(ulmora.process.WaitForExit(), 0u);
  }
}

}  // namespace
}  // namespace ulmora::e2e
