// Load: a burst of Enter key-downs into the field, each search with a query of its own, and what
// the burst leaves behind in the program's memory.
#include "driver.h"
#include "main_window_ids.h"
#include "search_urls.h"
#include "steps.h"

namespace ulmora::e2e {
namespace {

std::string BaiduCommandLine(const std::string& query) {
  return "\"" + GetSettings().recorder + "\" \"" + ServiceChosenBy(kRadioBaidu).url(query) + "\"";
}

// Wine: under a burst the shell's open now and then reports a failure; the program then hands
// the URL to the HTML document handler instead (`"…recorder.exe" -x "%1"`, the URL quoted).
std::string FallbackCommandLine(const std::string& query) {
  return "\"" + GetSettings().recorder + "\" -x  \"" + ServiceChosenBy(kRadioBaidu).url(query) +
         "\"";
}

using Load = UlmoraTest;

// Two letters that name the search's number.
std::string QueryOf(int search) {
  return {static_cast<char>('a' + search / 26 % 26), static_cast<char>('a' + search % 26)};
}

// All keys go in at once: Enter, then two Backspaces and the next search's two letters, 300
// times. Every search has a query of its own, all of the same length (so that the memory
// figures compare like with like), and the browsers' start times give the order of the launches.
TEST_F(Load, ABurstOfEntersLaunchesOncePerKeyDownInOrderAndLeavesNoMemoryBehind) {
  constexpr int kSearches = 300;
  constexpr size_t kMemorySlack = 64 * 1024;
  ASSERT_TRUE(BringToFront(window()));
  const HWND field = control(kQueryField);

  // A few searches first, so that what the first ones set up once is not counted.
  SetText(field, "zz");
  PressKeys({VK_RETURN, VK_RETURN, VK_RETURN, VK_RETURN, VK_RETURN});
  ASSERT_TRUE(WaitForRecords(5));
  ASSERT_TRUE(SettleInput(ulmora_, kQueryField));
  const auto before = PrivateBytes(process().handle());
  ASSERT_TRUE(before);
  ClearRecords();

  SetText(field, QueryOf(0));
  std::vector<WORD> keys = {VK_END};  // the caret, which a text put in leaves at the start
  for (int i = 0; i < kSearches; ++i) {
    const std::string next = QueryOf(i + 1);
    keys.insert(keys.end(), {VK_RETURN, VK_BACK, VK_BACK, static_cast<WORD>(next[0] - 'a' + 'A'),
                             static_cast<WORD>(next[1] - 'a' + 'A')});
  }
  PressKeys(keys);
  ASSERT_TRUE(WaitForRecords(kSearches, Milliseconds(120000)))
      << ReadRecords().size() << " of " << kSearches << " launches recorded";
  ASSERT_TRUE(SettleInput(ulmora_, kQueryField)) << "not responsive after the burst";
  const std::vector<Record> records = InStartOrder(ReadRecords());
  ASSERT_EQ(records.size(), static_cast<size_t>(kSearches));
  int fallbacks = 0;
  for (int i = 0; i < kSearches; ++i) {
    const bool throughFallback = records[i].commandLine == FallbackCommandLine(QueryOf(i));
    fallbacks += throughFallback;
    if (!throughFallback) {
      ASSERT_EQ(Escaped(records[i].commandLine), Escaped(BaiduCommandLine(QueryOf(i))))
          << "launch " << i;
    }
    if (i > 0) {
      ASSERT_NE(records[i].created, records[i - 1].created) << "start order unknown at " << i;
    }
  }
  EXPECT_EQ(WindowText(field), QueryOf(kSearches));

  const auto after = PrivateBytes(process().handle());
  ASSERT_TRUE(after);
  std::cout << "[ burst      ] " << records.size() << " launches recorded for " << kSearches
            << " Enter key-downs, in order; private bytes (PagefileUsage) " << *before
            << " before, " << *after << " after ("
            << static_cast<long long>(*after) - static_cast<long long>(*before) << "); "
            << fallbacks << " through the fallback\n";
  EXPECT_LE(*after, *before + kMemorySlack);
  EXPECT_GE(*after + kMemorySlack, *before);
}

}  // namespace
}  // namespace ulmora::e2e
