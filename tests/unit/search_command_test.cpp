#include "search/search_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell_fixture.h"
#include "ui/main_window.h"
#include "ui/settings.h"

namespace ulmora {
namespace {

class SearchCommandTest : public ShellFixture {
 protected:
  void SetUp() override {
    ShellFixture::SetUp();
    Start();
  }

  void Choose(std::uint32_t radio) { stand_in::Click(Control(radio)); }
  void Type(const std::string& query) { Fake(kQueryField).text = query; }
  static const std::vector<stand_in::ShellOpenCall>& Opens() {
    return stand_in::Get().shellOpens;
  }
};

// The calls of one Bing search, in the order the command makes them.
TEST_F(SearchCommandTest, ABingSearchReadsWritesAndReleasesInOrder) {
  Choose(kRadioBing);
  Type("ab");
  stand_in::Get().calls.clear();
  const std::size_t liveBefore = stand_in::Get().heap.live.size();
  SearchButtonClicked();

  const std::string field = Hex(kQueryField);
  const std::string link = Hex(kHyperLinker);
  const std::vector<std::string> expected = {
      "GetCheck " + Hex(kRadioBaidu), "GetCheck " + Hex(kRadioGoogle),
      "GetCheck " + Hex(kRadioBing),
      "RequestRepaint " + link,            // LinkKind := 1
      "alloc 3", "ReadWindowText " + field,  // first read of the field
      "alloc 3", "ReadWindowText " + field,  // second read
      "alloc 69",                            // the join
      "free", "free",                        // the reads, in read order
      "alloc 69", "RequestRepaint " + link,  // WebAddress := the URL (a copy)
      "free",                                // the URL
      "ShellOpen",                           // Navigate
  };
  EXPECT_EQ(stand_in::Get().calls, expected);
  const auto& heap = stand_in::Get().heap;
  ASSERT_GE(heap.releases.size(), 3u);
  ASSERT_EQ(Opens().size(), 1u);
  EXPECT_EQ(Opens()[0].target, "http://cn.bing.com/search?q=ab&qs=n&form=QBLH&pq=ab&sc=0-0&sp=-1&sk=");
  EXPECT_EQ(Opens()[0].showMode, 5);
  EXPECT_EQ(heap.live.size(), liveBefore + 1);  // only the control's copy of the URL remains
}

TEST_F(SearchCommandTest, EachServiceOpensItsUrlForTheQueryAsTyped) {
  const std::string q = " \xb0\xd9\xb6\xc8 &#=%+ ";
  const std::pair<std::uint32_t, std::string> cases[] = {
      {kRadioBaidu, "http://www.baidu.com/baidu?word=" + q},
      {kRadioGoogle, "https://www.google.com.hk/#q=" + q + "&fp=1&bav=on.2,or.r_gc.r_pw.&cad=b"},
      {kRadioBing, "http://cn.bing.com/search?q=" + q + "&qs=n&form=QBLH&pq=" + q +
                       "&sc=0-0&sp=-1&sk="},
      {kRadioTaobao, "http://s.taobao.com/search?q=" + q + "&commend=all"},
      {kRadioWanwang, "http://pandavip.www.net.cn/cgi-bin/Check.cgi?queryType=0&domain=" + q +
                          "&domain=" + q +
                          "&big5=n&sign=2&url=www.net.cn&com=yes&cn=yes&net=yes&org=yes&image.x="
                          "26&image.y=6"},
  };
  Type(q);
  for (const auto& [radio, url] : cases) {
    Choose(radio);
    SearchButtonClicked();
    ASSERT_FALSE(Opens().empty());
    EXPECT_EQ(Opens().back().target, url);
  }
  EXPECT_EQ(Opens().size(), 5u);
}

TEST_F(SearchCommandTest, TheFirstSearchOpensAlthoughTheLinkStartsAsMail) {
  EXPECT_EQ(ReadNumberSetting(kMainWindowId, kHyperLinker, setting::kLinkKind), 0);
  SearchButtonClicked();  // empty field, Baidu checked at start
  ASSERT_EQ(Opens().size(), 1u);
  EXPECT_EQ(Opens()[0].target, "http://www.baidu.com/baidu?word=");
  EXPECT_EQ(ReadNumberSetting(kMainWindowId, kHyperLinker, setting::kLinkKind), 1);
}

TEST_F(SearchCommandTest, WithNothingCheckedNothingIsReadWrittenOrOpened) {
  platform::SetCheck(Control(kRadioBaidu), false);
  WriteTextSetting(kMainWindowId, kHyperLinker, setting::kLinkWebAddress, "http://before/");
  stand_in::Get().calls.clear();
  SearchButtonClicked();
  std::vector<std::string> expected;
  for (std::uint32_t id : {kRadioBaidu, kRadioGoogle, kRadioBing, kRadioTaobao, kRadioWanwang}) {
    expected.push_back("GetCheck " + Hex(id));
  }
  EXPECT_EQ(stand_in::Get().calls, expected);
  EXPECT_TRUE(Opens().empty());
  EXPECT_EQ(ReadNumberSetting(kMainWindowId, kHyperLinker, setting::kLinkKind), 0);
  Text kept = ReadTextSetting(kMainWindowId, kHyperLinker, setting::kLinkWebAddress);
  EXPECT_STREQ(kept, "http://before/");
  ReleaseText(kept);
}

TEST_F(SearchCommandTest, TheFirstCheckedChoiceInTableOrderWinsAndLaterOnesAreNotRead) {
  platform::SetCheck(Control(kRadioBaidu), false);
  platform::SetCheck(Control(kRadioGoogle), true);
  platform::SetCheck(Control(kRadioWanwang), true);
  // An indeterminate state does not count as checked.
  stand_in::Of(Control(kRadioBaidu)).check = platform::CheckState::Indeterminate;
  stand_in::Get().calls.clear();
  SearchButtonClicked();
  EXPECT_EQ(CallsStartingWith("GetCheck"),
            (std::vector<std::string>{"GetCheck " + Hex(kRadioBaidu),
                                      "GetCheck " + Hex(kRadioGoogle)}));
  ASSERT_EQ(Opens().size(), 1u);
  EXPECT_EQ(Opens()[0].target.rfind("https://www.google.com.hk/#q=", 0), 0u);
}

TEST_F(SearchCommandTest, EverySearchWritesLinkKindAgain) {
  for (int i = 0; i < 3; ++i) {
    WriteNumberSetting(kMainWindowId, kHyperLinker, setting::kLinkKind, 0);
    SearchButtonClicked();
    EXPECT_EQ(ReadNumberSetting(kMainWindowId, kHyperLinker, setting::kLinkKind), 1);
  }
  EXPECT_EQ(Opens().size(), 3u);
}

TEST_F(SearchCommandTest, OnlyEnterSearchesAndModifiersDoNotMatter) {
  for (std::int32_t key : {9, 27, 32, 65, 108, 189, 0x0E}) QueryKeyPressed(key, 0);
  EXPECT_TRUE(Opens().empty());
  for (std::int32_t modifiers : {0, 1, 2, 4, 7}) QueryKeyPressed(13, modifiers);
  EXPECT_EQ(Opens().size(), 5u);
}

TEST_F(SearchCommandTest, ThroughTheWindowTheClickSearchesAndTheLinkNeverTakesPart) {
  stand_in::Click(Control(kSearchButton));
  EXPECT_EQ(Opens().size(), 1u);
  // The link control's own click opens its current target too; the user never reaches it.
  stand_in::Click(Control(kHyperLinker));
  EXPECT_EQ(Opens().size(), 2u);
}

TEST_F(SearchCommandTest, AnAllocationFailureDuringASearchEndsWithItsSize) {
  Type("abc");
  // Each allocation of the search in turn: the read, the join, the control's copy of the URL.
  const std::uint32_t sizes[] = {4, 36, 36};
  for (std::uint32_t step = 0; step < 3; ++step) {
    SCOPED_TRACE(step);
    TearDown();
    SetUp();
    Type("abc");
    stand_in::Get().heap.failAt = static_cast<std::uint32_t>(stand_in::Get().heap.allocations) + 1 + step;
    EXPECT_EQ(ExitCodeOf([] { SearchButtonClicked(); }), -1);
    EXPECT_EQ(LastBoxText(),
              FatalText("分配 " + std::to_string(sizes[step]) + " 字节内存失败!"));
    EXPECT_TRUE(Opens().empty());
    EXPECT_EQ(stand_in::MainTopLevel(), nullptr);  // gone with the shutdown
    ForgetProcessMemory();
  }
}

}  // namespace
}  // namespace ulmora
