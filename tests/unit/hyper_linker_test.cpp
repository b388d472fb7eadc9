#include "launch/hyper_linker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell_fixture.h"
#include "ui/main_window.h"
#include "ui/navigate.h"
#include "ui/settings.h"

namespace ulmora {
namespace {

constexpr char kClassKey[] = "ulmorahtml";
constexpr char kCommandKey[] = "ulmorahtml\\shell\\open\\command";

class HyperLinkerTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    Start();
  }

  static void WriteNumber(std::uint32_t index, std::int32_t value) {
    WriteNumberSetting(kMainWindowId, kHyperLinker, index, value);
  }
  static void WriteText(std::uint32_t index, const char* text) {
    WriteTextSetting(kMainWindowId, kHyperLinker, index, text);
  }
  static std::string ReadText(std::uint32_t index) {
    Text t = ReadTextSetting(kMainWindowId, kHyperLinker, index);
    std::string s = t != nullptr ? t : "(null)";
    ReleaseText(t);
    return s;
  }
  static void Open() { Navigate(kMainWindowId, kHyperLinker); }
  static void ShellFails() { stand_in::Get().shellResult = 31; }
  static void RegisterHtml(const std::optional<std::string>& command) {
    stand_in::Get().registry[".htm"] = std::string(kClassKey);
    if (command.has_value()) stand_in::Get().registry[kCommandKey] = command;
  }
  static std::vector<std::string> Started() {
    std::vector<std::string> lines;
    for (const auto& s : stand_in::Get().commandStarts) lines.push_back(s.commandLine);
    return lines;
  }
};

TEST_F(HyperLinkerTest, AtStartItOpensNothing) {
  EXPECT_EQ(ReadNumberSetting(kMainWindowId, kHyperLinker, setting::kLinkKind), 0);
  EXPECT_EQ(ReadText(setting::kLinkWebAddress), "(null)");
  Open();
  EXPECT_TRUE(stand_in::Get().shellOpens.empty());
  EXPECT_TRUE(stand_in::Get().commandStarts.empty());
}

TEST_F(HyperLinkerTest, TheKindDecidesTheTarget) {
  WriteText(setting::kLinkMailAddress, "a@b.cn");
  WriteNumber(setting::kLinkKind, 1);
  Open();  // web, but no web address: nothing, even with a mail address
  EXPECT_TRUE(stand_in::Get().shellOpens.empty());

  WriteNumber(setting::kLinkKind, 0);
  Open();
  ASSERT_EQ(stand_in::Get().shellOpens.size(), 1u);
  EXPECT_EQ(stand_in::Get().shellOpens[0].target, "mailto:a@b.cn");

  WriteText(setting::kLinkWebAddress, "http://x/ \xb0\xd9 ?a=1&b=%20");
  WriteNumber(setting::kLinkKind, 1);
  Open();
  EXPECT_EQ(stand_in::Get().shellOpens[1].target, "http://x/ \xb0\xd9 ?a=1&b=%20");
  EXPECT_EQ(stand_in::Get().shellOpens[1].showMode, 5);
}

TEST_F(HyperLinkerTest, WritesClampTheKindAndKeepCopies) {
  const std::pair<std::int32_t, std::int32_t> kinds[] = {{2, 1}, {-1, 0}, {1, 1}, {0, 0},
                                                         {INT32_MAX, 1}, {INT32_MIN, 0}};
  for (const auto& [written, stored] : kinds) {
    WriteNumber(setting::kLinkKind, written);
    EXPECT_EQ(ReadNumberSetting(kMainWindowId, kHyperLinker, setting::kLinkKind), stored);
  }
  Text url = CopyText("http://copy/");
  WriteText(setting::kLinkWebAddress, url);
  ReleaseText(url);  // the control keeps its own copy
  WriteNumber(setting::kLinkKind, 1);
  Open();
  EXPECT_EQ(stand_in::Get().shellOpens.back().target, "http://copy/");
  WriteText(setting::kLinkWebAddress, nullptr);  // null is stored as empty
  EXPECT_EQ(ReadText(setting::kLinkWebAddress), "(null)");
}

TEST_F(HyperLinkerTest, RepaintsOnlyWhereWhatItShowsChanges) {
  const std::string repaint = "RequestRepaint " + Hex(kHyperLinker);
  stand_in::Get().calls.clear();
  WriteText(setting::kLinkWebAddress, "http://a/");  // no caption: the address is shown
  WriteText(setting::kLinkCaption, "cap");
  EXPECT_EQ(Fake(kHyperLinker).text, "cap");
  WriteText(setting::kLinkWebAddress, "http://b/");  // a caption hides the address
  WriteText(setting::kLinkMailAddress, "m@n");
  WriteNumber(setting::kLinkKind, 1);
  EXPECT_EQ(CallsStartingWith(repaint).size(), 3u);
}

TEST_F(HyperLinkerTest, TheFallbackStartsTheRegisteredCommandWithTheTarget) {
  const std::string t = "http://h/?q=a b";
  const std::string quoted = "\"" + t + "\"";
  struct Case {
    const char* name;
    std::optional<std::string> command;
    std::string line;
  };
  const Case cases[] = {
      {"quoted placeholder after a space", "\"C:\\b.exe\" \"%1\"",
       "\"C:\\b.exe\"  " + quoted},
      {"quoted placeholder, further arguments dropped", "b.exe -x \"%1\" -y",
       "b.exe -x  " + quoted},
      {"bare placeholder: raw target, arguments dropped", "b.exe --single-argument %1 -z",
       "b.exe --single-argument  " + t},
      {"no placeholder", "b.exe -new", "b.exe -new " + quoted},
      {"a quoted placeholder wins over an earlier bare one", "b.exe %1 \"%1\"",
       "b.exe %1  " + quoted},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stand_in::Get().commandStarts.clear();
    ShellFails();
    RegisterHtml(c.command);
    WriteText(setting::kLinkWebAddress, t.c_str());
    WriteNumber(setting::kLinkKind, 1);
    Open();
    EXPECT_EQ(Started(), std::vector<std::string>{c.line});
    EXPECT_EQ(stand_in::Get().commandStarts.back().showMode, 5);
  }
}

TEST_F(HyperLinkerTest, AFallbackThatCannotFindItsCommandStartsNothing) {
  struct Case {
    const char* name;
    bool htm;
    std::optional<std::string> command;  // nullopt with htm: the command key exists, no value
    bool commandKey;
  };
  const std::string v259(259, 'c');
  const Case cases[] = {
      {"no .htm key", false, {}, false},
      {"a class without an open command", true, {}, false},
      {"an open command without a value", true, std::nullopt, true},
      {"a command longer than 259 bytes", true, std::string(260, 'c'), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stand_in::Get().registry.clear();
    ShellFails();
    if (c.htm) stand_in::Get().registry[".htm"] = std::string(kClassKey);
    if (c.commandKey) stand_in::Get().registry[kCommandKey] = c.command;
    WriteText(setting::kLinkWebAddress, "http://h/");
    WriteNumber(setting::kLinkKind, 1);
    HyperLinker copy{};
    copy.linkKind = 1;
    copy.webAddress = const_cast<char*>("http://h/");
    EXPECT_EQ(OpenTarget(copy, 5), 0);
    EXPECT_TRUE(stand_in::Get().commandStarts.empty());
  }
  // 259 bytes is the longest value that is read.
  stand_in::Get().registry[".htm"] = std::string(kClassKey);
  stand_in::Get().registry[kCommandKey] = v259;
  HyperLinker link{};
  link.linkKind = 1;
  link.webAddress = const_cast<char*>("u");
  EXPECT_EQ(OpenTarget(link, 5), 1);
  EXPECT_EQ(Started(), std::vector<std::string>{v259 + " \"u\""});
}

TEST_F(HyperLinkerTest, TheResultReportsHandOverOnly) {
  HyperLinker link{};
  link.linkKind = 1;
  link.webAddress = const_cast<char*>("http://h/");
  stand_in::Get().shellResult = 33;
  EXPECT_EQ(OpenTarget(link, 5), 1);
  EXPECT_TRUE(stand_in::Get().commandStarts.empty());
  stand_in::Get().shellResult = 32;
  RegisterHtml(std::string("b.exe \"%1\""));
  stand_in::Get().startResult = 32;
  EXPECT_EQ(OpenTarget(link, 5), 0);
  stand_in::Get().startResult = 33;
  EXPECT_EQ(OpenTarget(link, 5), 1);
}

// A long target with a long registered command: the line is built to size, never cut.
TEST_F(HyperLinkerTest, ALongCommandLineIsBuiltWhole) {
  const std::string command = std::string(250, 'c') + " \"%1\"";
  for (std::size_t targetLength : {262u, 263u, 264u, 5000u}) {
    stand_in::Get().commandStarts.clear();
    const std::string target = "http://h/" + std::string(targetLength - 9, 'q');
    RegisterHtml(command);
    HyperLinker link{};
    link.linkKind = 1;
    link.webAddress = const_cast<char*>(target.c_str());
    ShellFails();
    EXPECT_EQ(OpenTarget(link, 5), 1);
    ASSERT_EQ(Started().size(), 1u);
    EXPECT_EQ(Started()[0], std::string(250, 'c') + "  \"" + target + "\"");
  }
}

TEST(FallbackCommandTest, QuotingFollowsTheCommandLineRules) {
  stand_in::Reset();
  struct Case {
    std::string target;
    std::string argument;
  };
  const Case cases[] = {
      {"a b", "\"a b\""},
      {"", "\"\""},
      {"say \"hi\"", "\"say \\\"hi\\\"\""},
      {"C:\\dir\\", "\"C:\\dir\\\\\""},                 // a run before the closing quote doubles
      {"a\\\\\"b", "\"a\\\\\\\\\\\"b\""},              // two backslashes before a quote: four, then \"
      {"a\\b", "\"a\\b\""},                             // elsewhere backslashes stay single
      {"%1 \"%1\"", "\"%1 \\\"%1\\\"\""},
      {"\xb0\\\"", "\"\xb0\\\\\"\""},                  // 0xB0 0x5C is one character: no run
      {"\xb0\\", "\"\xb0\\\""},
      {"x\xb0", "\"x\xb0\""},                           // a lone lead byte at the end
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QuotedArgumentLength(c.target.c_str()), c.argument.size()) << c.target;
    std::string out(c.argument.size(), '?');
    WriteQuotedArgument(c.target.c_str(), out.data());
    EXPECT_EQ(out, c.argument) << c.target;
  }
}

TEST(FallbackCommandTest, ThePlaceholderIsFoundOnCharacterBoundariesOnly) {
  stand_in::Reset();
  const CommandCut quoted = CutRegisteredCommand("b.exe \"%1\"");
  EXPECT_EQ(quoted.length, 6u);
  EXPECT_EQ(quoted.placeholder, Placeholder::Quoted);
  // After a lead byte the next byte is its trail, whatever its value: no placeholder starts there.
  const CommandCut hidden = CutRegisteredCommand("\x81%1 b");
  EXPECT_EQ(hidden.placeholder, Placeholder::None);
  EXPECT_EQ(hidden.length, 5u);
  const CommandCut bare = CutRegisteredCommand("b.exe %1");
  EXPECT_EQ(bare.length, 6u);
  EXPECT_EQ(bare.placeholder, Placeholder::Bare);
}

TEST_F(HyperLinkerTest, NavigateOnAControlThatIsNotThereEndsTheProgram) {
  EXPECT_EQ(ExitCodeOf([] { Navigate(kMainWindowId, kQueryField); }), -1);
  EXPECT_EQ(LastBoxText(), FatalText("指定窗口或窗口组件不存在或尚未载入"));
  SetUp();
  EXPECT_EQ(ExitCodeOf([] { Navigate(0x52010002, kHyperLinker); }), -1);
  EXPECT_EQ(LastBoxText(), FatalText("指定窗口或窗口组件不存在或尚未载入"));
}

TEST_F(HyperLinkerTest, SettingAccessOutsideALoadedWindowEndsTheProgram) {
  EXPECT_EQ(ExitCodeOf([] { WriteNumberSetting(0x52010002, kHyperLinker, 9, 1); }), -1);
  EXPECT_EQ(LastBoxText(), FatalText("未载入欲访问窗口组件所在的窗口"));
  TearDown();
  stand_in::Reset();
  ResetShellState();
  InitializeShell(UlmoraProgram);  // loaded, but the window was never created
  EXPECT_EQ(ExitCodeOf([] { WriteNumberSetting(kMainWindowId, kHyperLinker, 9, 1); }), -1);
  EXPECT_EQ(LastBoxText(), FatalText("指定窗口尚未载入"));
  SetUp();
  EXPECT_EQ(ExitCodeOf([] { ReadTextSetting(kMainWindowId, 0x16019999, 8); }), -1);
  EXPECT_EQ(LastBoxText(), FatalText("指定窗口尚未载入"));
}

}  // namespace
}  // namespace ulmora
