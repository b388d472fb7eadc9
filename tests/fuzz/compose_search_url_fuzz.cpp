// ComposeSearchUrl for every row over an arbitrary query: the URL is the row's literal pieces
// with the query's bytes, unchanged, in each query place; every read is released, in read
// order, and only the URL stays. When one of the allocations fails, the program ends with the
// report of that allocation's size.
//
// Input: a first byte that picks the allocation to refuse (0: none; n: the nth of the row), then
// the query, up to its first NUL byte.
#include <algorithm>
#include <cstring>
#include <vector>

#include "fuzz_support.h"
#include "search/search_services.h"
#include "stand_in_platform.h"

namespace {

// The request URLs as the services expect them, written out apart from the table; null marks
// the query's place.
const std::vector<const char*> kRows[ulmora::kSearchServiceCount] = {
    {"http://www.baidu.com/baidu?word=", nullptr},
    {"https://www.google.com.hk/#q=", nullptr, "&fp=1&bav=on.2,or.r_gc.r_pw.&cad=b"},
    {"http://cn.bing.com/search?q=", nullptr, "&qs=n&form=QBLH&pq=", nullptr, "&sc=0-0&sp=-1&sk="},
    {"http://s.taobao.com/search?q=", nullptr, "&commend=all"},
    {"http://pandavip.www.net.cn/cgi-bin/Check.cgi?queryType=0&domain=", nullptr, "&domain=",
     nullptr, "&big5=n&sign=2&url=www.net.cn&com=yes&cn=yes&net=yes&org=yes&image.x=26&image.y=6"},
};

// The query field: every read is a fresh copy of its text, null when it is empty, as the
// field's content read hands it out.
struct Field {
  std::string text;
  std::vector<const void*> reads;
};

ulmora::Text ReadField(void* context) {
  auto* field = static_cast<Field*>(context);
  ulmora::Text copy = ulmora::CopyText(field->text.c_str());
  field->reads.push_back(copy);
  return copy;
}

std::string Report(std::size_t size) {
  return "运行时出错!\r\n\r\n错误信息：分配 " + std::to_string(size) + " 字节内存失败!\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::uint32_t refuse = data[0] % 4;
  const char* query = reinterpret_cast<const char*>(data) + 1;
  Field field{std::string(query, strnlen(query, size - 1)), {}};

  for (std::uint32_t row = 0; row < ulmora::kSearchServiceCount; ++row) {
    std::string expected;
    std::vector<std::size_t> sizes;  // the row's allocations in order: reads, then the join
    for (const char* piece : kRows[row]) {
      expected += piece != nullptr ? piece : field.text;
      if (piece == nullptr && !field.text.empty()) sizes.push_back(field.text.size() + 1);
    }
    sizes.push_back(expected.size() + 1);
    const std::string where =
        "row " + std::to_string(row) + ", query \"" + fuzz::Escaped(field.text) + "\": ";

    stand_in::Reset();
    field.reads.clear();
    stand_in::Get().heap.failAt = refuse;
    ulmora::Text url = nullptr;
    try {
      url = ulmora::ComposeSearchUrl(ulmora::SearchServices[row], &ReadField, &field);
    } catch (const stand_in::ProcessEnded& ended) {
      const auto& boxes = stand_in::Get().errorBoxes;
      FUZZ_REQUIRE(refuse >= 1 && refuse <= sizes.size(), where + "ended without a refusal");
      FUZZ_REQUIRE(ended.exitCode == -1 && boxes.size() == 1, where + "no single report");
      FUZZ_REQUIRE(boxes[0].text == Report(sizes[refuse - 1]),
                   where + "report " + fuzz::Escaped(boxes[0].text));
      continue;
    }
    const auto& heap = stand_in::Get().heap;
    FUZZ_REQUIRE(refuse == 0 || refuse > sizes.size(), where + "a refused allocation returned");
    FUZZ_REQUIRE(url != nullptr && expected == url,
                 where + "\"" + fuzz::Escaped(url != nullptr ? url : "(null)") + "\"");
    FUZZ_REQUIRE(heap.requestSizes.size() == sizes.size(),
                 where + std::to_string(heap.requestSizes.size()) + " allocations");
    FUZZ_REQUIRE(std::equal(sizes.begin(), sizes.end(), heap.requestSizes.begin()),
                 where + "allocation sizes differ");
    const auto queryPieces = std::count(kRows[row].begin(), kRows[row].end(), nullptr);
    FUZZ_REQUIRE(field.reads.size() == static_cast<std::size_t>(queryPieces),
                 where + std::to_string(field.reads.size()) + " reads of the field");
    std::vector<const void*> released;  // the reads that were texts, in read order
    for (const void* read : field.reads) {
      if (read != nullptr) released.push_back(read);
    }
    FUZZ_REQUIRE(heap.releases == released, where + "reads not released in read order");
    FUZZ_REQUIRE(heap.live.size() == 1 && heap.live.count(url) == 1, where + "more than the URL");
    ulmora::ReleaseText(url);
  }
  stand_in::Reset();
  return 0;
}
