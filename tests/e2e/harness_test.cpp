// Checks of the harness itself, needing no ulmora.exe: the stand-in browser keeps every byte it
// is given, and the prefix's registry hands URLs to it. The search tests rest on both.
#include "driver.h"

#include <shellapi.h>

#include <set>

namespace ulmora::e2e {
namespace {

struct CommandLineCase {
  const char* what;
  std::string tail;  // what follows the quoted program path
  std::vector<std::string> arguments;
};

TEST(HarnessRecorder, KeepsTheCommandLineBytesTheSplitAndTheWorkingDirectory) {
  const std::string recorder = GetSettings().recorder;
  const CommandLineCase cases[] = {
      {"quoted URL with GBK, spaces and query characters",
       " \"http://www.baidu.com/baidu?word=百度 a&b=%20+#x\"",
       {"http://www.baidu.com/baidu?word=百度 a&b=%20+#x"}},
      {"unquoted URL split at its spaces", " -x http://h/?q=a b\t c ", {"-x", "http://h/?q=a", "b", "c"}},
      {"escaped quotes and plain backslashes", " \"a\\\"b\" c\\\\d", {"a\"b", "c\\\\d"}},
      {"GBK character whose trail byte is a backslash, before a quote", " \"擻\" 擻\\", {"擻", "擻\\"}},
      {"no arguments", "", {}},
  };
  for (const CommandLineCase& c : cases) {
    SCOPED_TRACE(c.what);
    ClearRecords();
    const std::string commandLine = "\"" + recorder + "\"" + c.tail;
    Process process = Process::Start(commandLine, "C:\\windows");
    ASSERT_TRUE(process.started());
    ASSERT_EQ(process.WaitForExit(), 0u);
    const auto records = WaitForRecords(1);
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 1u);
    const Record& record = records->front();
    EXPECT_EQ(Escaped(record.commandLine), Escaped(commandLine));
    EXPECT_EQ(record.workingDirectory, "C:\\windows");
    std::vector<std::string> expected = {recorder};
    expected.insert(expected.end(), c.arguments.begin(), c.arguments.end());
    EXPECT_EQ(AnsiArguments(record), expected) << record;
  }
}

TEST(HarnessRecorder, KeepsEveryRecordWholeWhenManyStartAtOnce) {
  ClearRecords();
  constexpr int kStarts = 24;
  std::vector<Process> processes;
  std::set<std::string> expected;
  for (int i = 0; i < kStarts; ++i) {
    const std::string argument = "burst-" + std::to_string(i) + "-" + std::string(200, 'a' + i % 26);
    expected.insert(argument);
    processes.push_back(Process::Start("\"" + GetSettings().recorder + "\" " + argument));
    ASSERT_TRUE(processes.back().started());
  }
  for (Process& process : processes) EXPECT_EQ(process.WaitForExit(Milliseconds(30000)), 0u);
  const auto records = WaitForRecords(kStarts);
  ASSERT_TRUE(records);
  std::set<std::string> seen;
  for (const Record& record : *records) {
    ASSERT_EQ(record.arguments.size(), 2u) << record;
    seen.insert(record.arguments[1]);
  }
  EXPECT_EQ(records->size(), static_cast<size_t>(kStarts));
  EXPECT_EQ(seen, expected);
}

// ShellExecuteA's result: above 32 when the URL was handed over.
INT_PTR ShellOpen(const std::string& target) {
  return reinterpret_cast<INT_PTR>(
      ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW));
}

TEST(HarnessBrowser, ShellOpenOfHttpAndHttpsReachesTheRecorderByteForByte) {
  for (const std::string url : {"http://www.baidu.com/baidu?word=百度 a&b=1#c",
                                "https://www.google.com.hk/#q=淘宝&fp=1"}) {
    SCOPED_TRACE(url);
    ClearRecords();
    ASSERT_GT(ShellOpen(url), 32);
    const auto records = WaitForRecords(1);
    ASSERT_TRUE(records);
    EXPECT_EQ(AnsiArguments(records->front()),
              (std::vector<std::string>{GetSettings().recorder, url}));
    EXPECT_NE(records->front().commandLine.find("\"" + url + "\""), std::string::npos)
        << records->front();
  }
}

TEST(HarnessBrowser, RegistryEditsTakeEffectAtOnceAndCanBeUndone) {
  RemoveWebHandlers();
  EXPECT_EQ(ShellOpen("http://www.baidu.com/"), SE_ERR_NOASSOC);
  EXPECT_EQ(ShellOpen("https://www.google.com.hk/"), SE_ERR_NOASSOC);

  RegisterStandInBrowser();
  ClearRecords();
  EXPECT_GT(ShellOpen("http://www.baidu.com/"), 32);
  EXPECT_TRUE(WaitForRecords(1));

  // The ".htm" class as the fallback will read it.
  char value[260];
  LONG size = sizeof value;
  ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", value, &size), ERROR_SUCCESS);
  EXPECT_STREQ(value, kHtmlClass);
  size = sizeof value;
  ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, "UlmoraE2E.htm\\shell\\open\\command", value, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(value, HtmlCommand());
  RemoveHtmlClass();
  size = sizeof value;
  EXPECT_NE(RegQueryValueA(HKEY_CLASSES_ROOT, ".htm", value, &size), ERROR_SUCCESS);
  RegisterStandInBrowser();
}

TEST(HarnessHost, RunsHostProgramsAndSavesScreenshots) {
  EXPECT_EQ(RunOnHost({"true"}), 0);
  EXPECT_NE(RunOnHost({"false"}), 0);
  EXPECT_NE(RunOnHost({"no-such-program-here"}), 0);
  EXPECT_TRUE(SaveScreenshot("harness-screen.png"));
}

}  // namespace
}  // namespace ulmora::e2e
