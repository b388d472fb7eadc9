// The query field takes the keyboard from the first moment: what a person types right after
// start-up, without clicking anywhere, lands in it.
#include "driver.h"
#include "main_window_ids.h"

namespace ulmora::e2e {
namespace {

using QueryField = UlmoraTest;

TEST_F(QueryField, TakesWhatIsTypedRightAfterStartUp) {
  ASSERT_TRUE(BringToFront(window()));
  TypeText(L" a&b=1#%+ ");
  const HWND field = control(kQueryField);
  EXPECT_TRUE(WaitUntil([&] { return WindowText(field) == " a&b=1#%+ "; }))
      << Escaped(WindowText(field));
}

// Chinese as an input method commits it: the field holds its GBK bytes, and so does the URL.
TEST_F(QueryField, TakesChineseTypedThroughAnInputMethod) {
  ASSERT_TRUE(BringToFront(window()));
  TypeText(L"百度 搜索擻");
  const HWND field = control(kQueryField);
  const std::string gbk = "百度 搜索擻";
  EXPECT_TRUE(WaitUntil([&] { return WindowText(field) == gbk; })) << Escaped(WindowText(field));
  PressKey(VK_RETURN);
  const auto records = WaitForRecords(1);
  ASSERT_TRUE(records);
  EXPECT_EQ(Escaped(records->front().commandLine),
            Escaped("\"" + GetSettings().recorder + "\" \"http://www.baidu.com/baidu?word=" + gbk + "\""));
}

}  // namespace
}  // namespace ulmora::e2e
