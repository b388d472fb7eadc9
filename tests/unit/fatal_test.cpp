#include "fatal/fatal.h"

#include <gtest/gtest.h>

#include <string>

#include "stand_in_platform.h"

namespace ulmora {
namespace {

int shutdownSteps = 0;
void CountShutdown() { ++shutdownSteps; }

class FatalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    stand_in::Reset();
    shutdownSteps = 0;
    InstallFatalShutdownStep(&CountShutdown);
  }
  void TearDown() override { InstallFatalShutdownStep(nullptr); }

  static int Report(const char* message) {
    try {
      ReportFatalError(message);
    } catch (const stand_in::ProcessEnded& ended) {
      return ended.exitCode;
    }
    ADD_FAILURE() << "ReportFatalError returned";
    return 0;
  }
};

TEST_F(FatalTest, BoxTextCaptionOrderAndExitCode) {
  struct Case {
    const char* message;
    const char* text;
  };
  const Case cases[] = {
      {"载入启动窗口失败", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
      {"载入窗口模板数据段出错!", "运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n"},
      {"", "运行时出错!\r\n\r\n"},
      {nullptr, "运行时出错!\r\n\r\n"},
  };
  for (const Case& c : cases) {
    SetUp();
    EXPECT_EQ(Report(c.message), -1);
    ASSERT_EQ(stand_in::Get().errorBoxes.size(), 1u);
    EXPECT_EQ(stand_in::Get().errorBoxes[0].caption, "错误");
    EXPECT_EQ(stand_in::Get().errorBoxes[0].text, c.text);
    // Suppression is up before the box shows; the shutdown step runs after it, then the exit.
    EXPECT_GT(stand_in::Get().errorBoxes[0].suppressionWhileShown, 0u);
    EXPECT_EQ(shutdownSteps, 1);
    EXPECT_EQ(stand_in::Get().calls.back(), "EndProcess");
  }
}

TEST_F(FatalTest, SuppressionStaysRaisedAfterTheReport) {
  Report("x");
  EXPECT_EQ(EventSuppression(), 1u);
}

// A message too long for the box buffer is cut at a character boundary, never overrun.
TEST_F(FatalTest, LongMessageIsCutWholeCharactersOnly) {
  std::string message;
  for (int i = 0; i < 1000; ++i) message += "\xb0\xd9";  // double-byte characters
  char buffer[64];
  const std::uint32_t n = ComposeFatalText(message.c_str(), buffer, sizeof buffer);
  ASSERT_LT(n, sizeof buffer);
  EXPECT_EQ(buffer[n], '\0');
  const std::string text(buffer, n);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  const std::string heading = "运行时出错!\r\n\r\n错误信息：";
  ASSERT_EQ(text.compare(0, heading.size(), heading), 0);
  EXPECT_EQ((text.size() - heading.size() - 2) % 2, 0u);
}

}  // namespace
}  // namespace ulmora
