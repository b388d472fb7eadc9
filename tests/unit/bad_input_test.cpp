// The bad-input catalogue: queries, registered handlers and sizes that a careless path would
// crash on, overrun, cut short or leak. Each case names its defined outcome: a launch with the
// exact bytes, or a silent no-op where that is the rule.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "launch/hyper_linker.h"
#include "search/search_command.h"
#include "shell_fixture.h"
#include "text/text.h"
#include "ui/main_window.h"
#include "ui/window.h"

namespace ulmora {
namespace {

constexpr char kClassKey[] = "ulmorahtml";
const std::string kSuffix = "\\shell\\open\\command";
const std::string kBaidu = "http://www.baidu.com/baidu?word=";

std::string Bing(const std::string& q) {
  return "http://cn.bing.com/search?q=" + q + "&qs=n&form=QBLH&pq=" + q + "&sc=0-0&sp=-1&sk=";
}

class BadInputTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    Start();
    shellRecords_ = stand_in::Get().heap.live.size();
  }

  // Registers the handler of HTML documents that the fallback finds.
  static void Register(const std::string& className, const std::string& command) {
    stand_in::Get().registry[".htm"] = className;
    stand_in::Get().registry[className + kSuffix] = command;
  }

  void Search(std::uint32_t radio, const std::string& query) {
    stand_in::Click(Control(radio));
    Fake(kQueryField).text = query;
    SearchButtonClicked();
  }

  static std::int32_t OpenAgain() {
    const ControlState* link = FindControl(FindWindowByIdentity(kMainWindowId), kHyperLinker);
    return OpenTarget(link->link, kShowNormal);
  }

  static std::vector<std::string> Started() {
    std::vector<std::string> lines;
    for (const auto& s : stand_in::Get().commandStarts) lines.push_back(s.commandLine);
    return lines;
  }

  // Whatever the input, nothing is reported, every key is closed, and the program holds only
  // its own records and the link control's copy of the last URL.
  void ExpectQuietAndNothingLeaked() {
    EXPECT_TRUE(stand_in::Get().errorBoxes.empty()) << LastBoxText();
    EXPECT_EQ(EventSuppression(), 0u);
    EXPECT_EQ(stand_in::Get().keysOpen, 0);
    EXPECT_EQ(stand_in::Get().heap.live.size(), shellRecords_ + 1);
  }

  std::size_t shellRecords_ = 0;
};

// The query reaches the shell byte for byte in every row; where the shell fails, the fallback
// line carries it as one quoted argument (a Baidu URL ends with the query, so the quoting of
// its end shows).
TEST_F(BadInputTest, QueriesReachTheShellAndTheFallbackExactly) {
  struct Case {
    const char* name;
    std::string query;
    std::string argument;  // the Baidu URL as written into the fallback line
  };
  const std::string mib(1 << 20, 'q');
  const Case cases[] = {
      {"empty query", "", "\"" + kBaidu + "\""},
      {"1 MiB in the field, which has no limit of its own", mib, "\"" + kBaidu + mib + "\""},
      {"invalid GBK: lead bytes before a space and DEL, 0x80 and 0xFF alone",
       "\x81 \x81\x7f\x80\xff", "\"" + kBaidu + "\x81 \x81\x7f\x80\xff\""},
      {"a lone lead byte at the end", "abc\x81", "\"" + kBaidu + "abc\x81\""},
      {"control characters", "\x01\t\r\n\x1b\x7f", "\"" + kBaidu + "\x01\t\r\n\x1b\x7f\""},
      {"quotes", "say \"hi\" \"", "\"" + kBaidu + "say \\\"hi\\\" \\\"\""},
      {"backslashes, a run at the end", "C:\\d\\\\", "\"" + kBaidu + "C:\\d\\\\\\\\\""},
      {"backslashes before a quote", "a\\\\\"b", "\"" + kBaidu + "a\\\\\\\\\\\"b\""},
      {"a trail byte 0x5C at the end is no backslash", "\xb0\\", "\"" + kBaidu + "\xb0\\\""},
      {"%1 in the query is no placeholder", "%1 \"%1\"", "\"" + kBaidu + "%1 \\\"%1\\\"\""},
      {"%-escapes stay undecoded", "%20%E4%B8%AD%2%", "\"" + kBaidu + "%20%E4%B8%AD%2%\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    Search(kRadioBaidu, c.query);
    Search(kRadioBing, c.query);
    const auto& opens = stand_in::Get().shellOpens;
    ASSERT_EQ(opens.size(), 2u);
    EXPECT_TRUE(opens[0].target == kBaidu + c.query);
    EXPECT_TRUE(opens[1].target == Bing(c.query));

    stand_in::Get().shellResult = 2;
    Register(kClassKey, "b.exe \"%1\"");
    Search(kRadioBaidu, c.query);
    ASSERT_EQ(Started().size(), 1u);
    EXPECT_TRUE(Started()[0] == "b.exe  " + c.argument)
        << Started()[0].substr(0, 200) << " (" << Started()[0].size() << " bytes)";
    ExpectQuietAndNothingLeaked();
  }
}

// A registered value holds at most 259 bytes and its terminator. A longer class name or command
// is not read at all: the open starts nothing and reports 0, silently.
TEST_F(BadInputTest, RegisteredValuesPastTheirLimitAreRefusedWhole) {
  struct Case {
    const char* name;
    std::size_t classLength;
    std::size_t commandLength;
    bool starts;
  };
  const Case cases[] = {
      {"a command of 258 bytes", 10, 258, true},
      {"a command of 259 bytes", 10, 259, true},
      {"a command of 260 bytes", 10, 260, false},
      {"a command of 600 bytes", 10, 600, false},
      {"a class name of 258 bytes", 258, 10, true},
      {"a class name of 259 bytes: its key path of 278 bytes fits", 259, 10, true},
      {"a class name of 260 bytes", 260, 10, false},
      {"a class name of 600 bytes", 600, 10, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TearDown();
    SetUp();
    const std::string command(c.commandLength, 'c');
    Register(std::string(c.classLength, 'k'), command);
    stand_in::Get().shellResult = 31;
    Search(kRadioBaidu, "q");
    const std::vector<std::string> expected = {command + " \"" + kBaidu + "q\""};
    EXPECT_EQ(Started(), c.starts ? expected : std::vector<std::string>{});
    EXPECT_EQ(OpenAgain(), c.starts ? 1 : 0);
    ExpectQuietAndNothingLeaked();
  }
}

// Odd registered commands still give a line of exactly the rule's bytes: the text before the
// cut, one space, the target (quoted unless the placeholder was bare).
TEST_F(BadInputTest, OddRegisteredCommandsGiveTheRuleBytes) {
  struct Case {
    const char* name;
    std::string command;
    std::string line;  // for the target http://www.baidu.com/baidu?word=q
  };
  const std::string url = kBaidu + "q";
  const Case cases[] = {
      {"an empty command", "", " \"" + url + "\""},
      {"only a quoted placeholder", "\"%1\"", " \"" + url + "\""},
      {"only a bare placeholder", "%1", " " + url},
      {"a lone lead byte at the end", "b.exe \x81", "b.exe \x81 \"" + url + "\""},
      {"an unclosed quote", "\"C:\\b.exe -x", "\"C:\\b.exe -x \"" + url + "\""},
      {"a quote taken as a trail byte leaves a bare placeholder", "b.exe \x81\"%1\"",
       "b.exe \x81\" " + url},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stand_in::Get().commandStarts.clear();
    Register(kClassKey, c.command);
    stand_in::Get().shellResult = 31;
    Search(kRadioBaidu, "q");
    EXPECT_EQ(Started(), std::vector<std::string>{c.line});
  }
  ExpectQuietAndNothingLeaked();
}

// The command line has a 520-byte buffer in the traditional sequence; lines around that size,
// with short and with the longest registered command, are built whole in storage of their own
// size, never cut at the buffer's end.
TEST_F(BadInputTest, CommandLinesAroundTheTraditionalBufferAreBuiltWhole) {
  struct Case {
    const char* name;
    std::string registered;  // the command before its cut, trailing space included
    std::size_t lineLength;  // without the terminator
  };
  const Case cases[] = {
      {"519 bytes: the line and its terminator fill the buffer", "b.exe ", 519},
      {"520 bytes", "b.exe ", 520},
      {"521 bytes", "b.exe ", 521},
      {"521 bytes after a 251-byte registered part", std::string(250, 'c') + " ", 521},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    stand_in::Get().commandStarts.clear();
    Register(kClassKey, c.registered + "\"%1\" -x");
    stand_in::Get().shellResult = 31;
    // The line is the registered part, a space and the quoted URL.
    const std::size_t queryLength = c.lineLength - c.registered.size() - 1 - 2 - kBaidu.size();
    const std::string query(queryLength, 'q');
    Search(kRadioBaidu, query);
    const std::string expected = c.registered + " \"" + kBaidu + query + "\"";
    ASSERT_EQ(expected.size(), c.lineLength);
    EXPECT_EQ(Started(), std::vector<std::string>{expected});
    EXPECT_EQ(stand_in::Get().heap.requestSizes.back(), c.lineLength + 1);
  }
  ExpectQuietAndNothingLeaked();
}

// A total that leaves 32 bits is refused, so a join never gets a short block from a sum that
// wrapped around; up to 2^32 - 1 bytes, terminator included, it is exact.
TEST_F(BadInputTest, TotalSizesThatWrapAroundAreRefused) {
  struct Case {
    const char* name;
    std::vector<std::uint32_t> lengths;
    bool fits;
    std::uint32_t total;
  };
  const Case cases[] = {
      {"two halves that just fit", {0x7FFFFFFFu, 0x7FFFFFFFu}, true, 0xFFFFFFFFu},
      {"two halves and a byte: 2^32 exactly", {0x7FFFFFFFu, 0x7FFFFFFFu, 1}, false, 0},
      {"a wrap to a 1-byte block", {0xFFFFFFFFu, 1}, false, 0},
      {"a wrap to a 2-byte block", {0xFFFFFFFFu, 0xFFFFFFFFu, 3}, false, 0},
      {"five pieces that just fit",
       {0x33333333u, 0x33333333u, 0x33333333u, 0x33333333u, 0x33333332u},
       true,
       0xFFFFFFFFu},
      {"five pieces one byte past",
       {0x33333333u, 0x33333333u, 0x33333333u, 0x33333333u, 0x33333333u},
       false,
       0},
      {"a wrap back to exactly the first length", {0x10u, 0xFFFFFFFFu}, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::uint32_t total = 0;
    EXPECT_EQ(TotalTextSize(c.lengths.data(), static_cast<std::uint32_t>(c.lengths.size()), &total),
              c.fits);
    if (c.fits) {
      EXPECT_EQ(total, c.total);
    }
  }
}

}  // namespace
}  // namespace ulmora
