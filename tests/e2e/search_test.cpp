// Searching with real input through the program's own loop: the service chosen with a click on
// its radio button, the query put in place, a click on 搜; what the stand-in browser is started
// with, through the shell's "open" and through the fallback to the ".htm" class.
#include "driver.h"
#include "main_window_ids.h"
#include "search_urls.h"
#include "steps.h"

namespace ulmora::e2e {
namespace {

// GBK with spaces inside and around it, the characters that mean something in a URL, and a
// character whose trail byte is the backslash code.
const std::string kQuery = "  百度 a&b#c=d%20+e 擻  ";

// The command line the shell makes of the registered "%1" command.
std::string ShellCommandLine(const std::string& url) {
  return "\"" + GetSettings().recorder + "\" \"" + url + "\"";
}

// The search button, clicked for real.
void ClickSearch(const Ulmora& ulmora) { ClickControl(ulmora.control(kSearchButton)); }

class ServiceSearch : public UlmoraTest, public ::testing::WithParamInterface<Service> {};

// The first search of a fresh program each time: the link control still starts as a mail link.
TEST_P(ServiceSearch, HandsTheExactUrlToTheBrowser) {
  const Service& service = GetParam();
  ASSERT_TRUE(ChooseService(ulmora_, service.radio));
  SetText(control(kQueryField), kQuery);
  ClickSearch(ulmora_);
  const auto records = WaitForRecords(1);
  ASSERT_TRUE(records) << "no browser was started";
  const std::string url = service.url(kQuery);
  EXPECT_EQ(Escaped(records->front().commandLine), Escaped(ShellCommandLine(url)));
  EXPECT_EQ(AnsiArguments(records->front()),
            (std::vector<std::string>{GetSettings().recorder, url}));
  // One click, one start; the query is left as it was.
  ASSERT_TRUE(SettleInput(ulmora_, kSearchButton));
  EXPECT_EQ(ReadRecords().size(), 1u);
  EXPECT_EQ(Escaped(WindowText(control(kQueryField))), Escaped(kQuery));
}

INSTANTIATE_TEST_SUITE_P(MainWindow, ServiceSearch, ::testing::ValuesIn(kServices),
                         [](const auto& info) { return std::string(info.param.name); });

using Search = UlmoraTest;

// Without touching the choices: Baidu, as the window starts.
TEST_F(Search, FirstClickSearchesBaiduAndEachLaterClickItsOwnQuery) {
  ASSERT_TRUE(BringToFront(window()));
  const std::string queries[] = {"first", "第二 second", "3"};
  for (size_t i = 0; i < std::size(queries); ++i) {
    SetText(control(kQueryField), queries[i]);
    ClickSearch(ulmora_);
    ASSERT_TRUE(WaitForRecords(i + 1)) << "search " << i;
  }
  ASSERT_TRUE(SettleInput(ulmora_, kSearchButton));
  const std::vector<Record> records = ReadRecords();
  ASSERT_EQ(records.size(), std::size(queries));
  for (size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(Escaped(records[i].commandLine),
              Escaped(ShellCommandLine(ServiceChosenBy(kRadioBaidu).url(queries[i]))));
  }
}

TEST_F(Search, WithAnEmptyQueryOpensTheLiteralPiecesAlone) {
  for (const Service& service : kServices) {
    SCOPED_TRACE(service.name);
    ClearRecords();
    ASSERT_TRUE(ChooseService(ulmora_, service.radio));
    ClickSearch(ulmora_);
    const auto records = WaitForRecords(1);
    ASSERT_TRUE(records);
    EXPECT_EQ(Escaped(records->front().commandLine), Escaped(ShellCommandLine(service.url(""))));
  }
  EXPECT_EQ(ServiceChosenBy(kRadioBaidu).url(""), "http://www.baidu.com/baidu?word=");
}

// ---- The fallback: no handler for http and https, so the ".htm" class's command is used ----

class Fallback : public ::testing::Test {
 protected:
  // Installed in a folder with GBK and a space in its name and started from elsewhere, so that
  // the browser's working directory can only have come from the program.
  static constexpr char kFolder[] = "C:\\e2e\\搜索 工具";

  void SetUp() override {
    RegisterStandInBrowser();
    RemoveWebHandlers();
    ClearRecords();
    const auto program = InstallProgramCopy(kFolder, "ulmora.exe");
    ASSERT_TRUE(program);
    ulmora_ = StartUlmora(*program, "C:\\windows");
    ASSERT_NE(ulmora_.window, nullptr);
  }
  void TearDown() override {
    RegisterStandInBrowser();
    if (ulmora_.process.Running()) PostMessageA(ulmora_.window, WM_CLOSE, 0, 0);
    EXPECT_EQ(ulmora_.process.WaitForExit(), 0u);
  }

  Ulmora ulmora_;
};

struct FallbackCase {
  const char* what;
  int radio;
  std::string query;
};

// The registered command is `"…recorder.exe" -x "%1"`: cut before the quoted placeholder (its
// space kept), one space, then the target as a single argument.
TEST_F(Fallback, StartsTheHtmlCommandWithTheTargetAsOneArgument) {
  const FallbackCase cases[] = {
      {"spaces, quotes and GBK", kRadioBaidu, "  a \"b c\" &#=%+ 百度  "},
      {"https, backslashes before a space and at the end", kRadioGoogle, "C:\\路径\\ x\\\\"},
      {"two reads, a backslash trail byte before a quote", kRadioWanwang, "擻\"擻"},
      {"an empty query", kRadioTaobao, ""},
  };
  const std::string start = "\"" + GetSettings().recorder + "\" -x  \"";
  for (size_t i = 0; i < std::size(cases); ++i) {
    const FallbackCase& c = cases[i];
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(ChooseService(ulmora_, c.radio));
    SetText(ulmora_.control(kQueryField), c.query);
    ClickSearch(ulmora_);
    const auto records = WaitForRecords(i + 1);
    ASSERT_TRUE(records) << "no browser was started";
    const Record& record = records->back();
    const std::string url = ServiceChosenBy(c.radio).url(c.query);
    EXPECT_EQ(AnsiArguments(record),
              (std::vector<std::string>{GetSettings().recorder, "-x", url}))
        << record;
    EXPECT_EQ(Escaped(record.commandLine.substr(0, start.size())), Escaped(start));
    EXPECT_EQ(record.commandLine.back(), '"');
    EXPECT_EQ(Escaped(record.workingDirectory), Escaped(kFolder));
  }
  ASSERT_TRUE(SettleInput(ulmora_, kSearchButton));
  EXPECT_EQ(ReadRecords().size(), std::size(cases));
}

// Other shapes of the registered command: a bare placeholder takes the target as it is and
// drops what follows it; without a placeholder the target is appended as one argument.
TEST_F(Fallback, CutsTheRegisteredCommandAtItsPlaceholder) {
  struct CommandCase {
    const char* what;
    std::string command;
    std::string query;
    std::vector<std::string> arguments;  // after the program's path; "<url>" stands for the URL
  };
  const std::string recorder = "\"" + GetSettings().recorder + "\"";
  const CommandCase cases[] = {
      {"bare placeholder, arguments after it", recorder + " -y %1 -z", "百度", {"-y", "<url>"}},
      {"bare placeholder, a query with a space", recorder + " %1", "a b", {"http://www.baidu.com/baidu?word=a", "b"}},
      {"no placeholder", recorder + " -w", "a \"b\"", {"-w", "<url>"}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const CommandCase& c = cases[i];
    SCOPED_TRACE(c.what);
    SetHtmlCommand(c.command);
    ASSERT_TRUE(BringToFront(ulmora_.window));
    SetText(ulmora_.control(kQueryField), c.query);
    ClickSearch(ulmora_);
    const auto records = WaitForRecords(i + 1);
    ASSERT_TRUE(records) << "no browser was started";
    std::vector<std::string> expected = {GetSettings().recorder};
    for (const std::string& argument : c.arguments) {
      expected.push_back(argument == "<url>" ? ServiceChosenBy(kRadioBaidu).url(c.query) : argument);
    }
    EXPECT_EQ(AnsiArguments(records->back()), expected) << records->back();
  }
}

// With no way to open the URL, a click does nothing visible, and the program goes on working.
TEST_F(Fallback, ThatFindsNoCommandIsSilentAndTheProgramStaysUsable) {
  struct Broken {
    const char* what;
    void (*breakIt)();
  };
  const Broken cases[] = {
      {"no .htm class", [] { RemoveHtmlClass(); }},
      {".htm names a class without an open command", [] { SetClassDefault(".htm", "UlmoraE2E.none"); }},
      {"the command names a missing program", [] { SetHtmlCommand("\"C:\\e2e\\none.exe\" \"%1\""); }},
  };
  SetText(ulmora_.control(kQueryField), kQuery);
  for (const Broken& c : cases) {
    SCOPED_TRACE(c.what);
    RegisterStandInBrowser();
    RemoveWebHandlers();
    c.breakIt();
    ASSERT_TRUE(BringToFront(ulmora_.window));
    ClickSearch(ulmora_);
    ASSERT_TRUE(SettleInput(ulmora_, kSearchButton));
    EXPECT_EQ(WaitForMessageBox(ulmora_.process.id(), Milliseconds(0)), nullptr);
    EXPECT_EQ(GetForegroundWindow(), ulmora_.window);
    EXPECT_TRUE(ReadRecords().empty());
  }
  RegisterStandInBrowser();
  ClickSearch(ulmora_);
  const auto records = WaitForRecords(1);
  ASSERT_TRUE(records) << "no search after the handlers came back";
  EXPECT_EQ(Escaped(records->front().commandLine),
            Escaped(ShellCommandLine(ServiceChosenBy(kRadioBaidu).url(kQuery))));
}

}  // namespace
}  // namespace ulmora::e2e
