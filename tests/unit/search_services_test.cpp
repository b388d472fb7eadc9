#include "search/search_services.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "stand_in_platform.h"
#include "ui/main_window.h"

namespace ulmora {
namespace {

// Hands out fresh copies of the query and records which text each read returned.
struct QueryStub {
  const char* query;  // null: the field is empty
  std::vector<const void*> reads;
};

Text ReadStub(void* context) {
  auto* stub = static_cast<QueryStub*>(context);
  Text copy = nullptr;
  if (stub->query != nullptr && stub->query[0] != '\0') {
    const std::uint32_t n = TextLength(stub->query);
    copy = AllocateText(n + 1);
    std::memcpy(copy, stub->query, n + 1);
  }
  stub->reads.push_back(copy);
  return copy;
}

class SearchServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { stand_in::Reset(); }
  void TearDown() override { EXPECT_TRUE(stand_in::Get().heap.live.empty()); }

  static std::string Compose(const SearchService& row, QueryStub& stub) {
    Text url = ComposeSearchUrl(row, &ReadStub, &stub);
    std::string result(url);
    ReleaseText(url);
    return result;
  }
};

// A GBK query with the characters that an encoder would touch, and spaces at both ends.
constexpr char kQuery[] = " \xb0\xd9\xb6\xc8 a&b#c=d%20e+f ";

TEST_F(SearchServicesTest, TheFiveUrlsByteForByte) {
  const std::string q = kQuery;
  const std::string expected[] = {
      "http://www.baidu.com/baidu?word=" + q,
      "https://www.google.com.hk/#q=" + q + "&fp=1&bav=on.2,or.r_gc.r_pw.&cad=b",
      "http://cn.bing.com/search?q=" + q + "&qs=n&form=QBLH&pq=" + q + "&sc=0-0&sp=-1&sk=",
      "http://s.taobao.com/search?q=" + q + "&commend=all",
      "http://pandavip.www.net.cn/cgi-bin/Check.cgi?queryType=0&domain=" + q + "&domain=" + q +
          "&big5=n&sign=2&url=www.net.cn&com=yes&cn=yes&net=yes&org=yes&image.x=26&image.y=6",
  };
  const std::uint32_t readsPerRow[] = {1, 1, 2, 1, 2};
  for (std::uint32_t i = 0; i < kSearchServiceCount; ++i) {
    QueryStub stub{kQuery, {}};
    EXPECT_EQ(Compose(SearchServices[i], stub), expected[i]) << "row " << i;
    EXPECT_EQ(stub.reads.size(), readsPerRow[i]) << "row " << i;
  }
}

TEST_F(SearchServicesTest, TableOrderChoicesAndPieceCounts) {
  const std::uint32_t choices[] = {kRadioBaidu, kRadioGoogle, kRadioBing, kRadioTaobao,
                                   kRadioWanwang};
  const std::uint32_t pieces[] = {2, 3, 5, 3, 5};
  std::uint32_t literals = 0;
  for (std::uint32_t i = 0; i < kSearchServiceCount; ++i) {
    EXPECT_EQ(SearchServices[i].choice, choices[i]);
    EXPECT_EQ(SearchServices[i].pieceCount, pieces[i]);
    for (std::uint32_t p = 0; p < SearchServices[i].pieceCount; ++p) {
      if (SearchServices[i].pieces[p].kind == PieceKind::Literal) ++literals;
    }
  }
  EXPECT_EQ(literals, 11u);
  EXPECT_STREQ(RegistrarHost, "www.net.cn");
}

TEST_F(SearchServicesTest, EmptyQueryJoinsNothing) {
  for (const char* empty : {static_cast<const char*>(nullptr), ""}) {
    QueryStub baidu{empty, {}};
    EXPECT_EQ(Compose(SearchServices[0], baidu), "http://www.baidu.com/baidu?word=");
    QueryStub bing{empty, {}};
    EXPECT_EQ(Compose(SearchServices[2], bing),
              "http://cn.bing.com/search?q=&qs=n&form=QBLH&pq=&sc=0-0&sp=-1&sk=");
    EXPECT_EQ(stand_in::Get().heap.live.size(), 0u);
  }
}

// Two separate reads, one join, then the reads released in the order they were made.
TEST_F(SearchServicesTest, TwiceReadRowsReleaseInReadOrder) {
  for (std::uint32_t row : {2u, 4u}) {
    stand_in::Reset();
    QueryStub stub{"q", {}};
    Text url = ComposeSearchUrl(SearchServices[row], &ReadStub, &stub);
    ASSERT_EQ(stub.reads.size(), 2u);
    EXPECT_NE(stub.reads[0], stub.reads[1]);
    // Allocations: read, read, join; all that stays live is the URL.
    EXPECT_EQ(stand_in::Get().heap.allocations, 3u);
    EXPECT_EQ(stand_in::Get().heap.live.size(), 1u);
    EXPECT_EQ(stand_in::Get().heap.live.count(url), 1u);
    EXPECT_EQ(stand_in::Get().heap.releases, stub.reads);
    ReleaseText(url);
  }
}

}  // namespace
}  // namespace ulmora
