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

}  // namespace
}  // namespace ulmora::e2e
