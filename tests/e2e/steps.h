// Steps on the main window that several suites share.
#pragma once

#include <algorithm>
#include <iterator>

#include "driver.h"
#include "main_window_ids.h"

namespace ulmora::e2e {

// The navigation order of the main window, from the query field on.
inline constexpr int kTabOrder[] = {kQueryField,   kSearchButton,  kRadioBaidu, kRadioGoogle,
                                    kRadioTaobao,  kRadioWanwang, kRadioBing};

inline int NextInTabOrder(int id, bool forward) {
  const int count = static_cast<int>(std::size(kTabOrder));
  const int at = static_cast<int>(std::find(std::begin(kTabOrder), std::end(kTabOrder), id) -
                                  std::begin(kTabOrder));
  return kTabOrder[(at + (forward ? 1 : count - 1)) % count];
}

// The radio buttons that are checked, by control id.
inline std::vector<int> CheckedRadios(const Ulmora& ulmora) {
  std::vector<int> checked;
  for (int id : kRadios) {
    if (IsChecked(ulmora.control(id))) checked.push_back(id);
  }
  return checked;
}

// Returns once the program has handled every key and click sent before, which leave the focus
// on control `focus`: the focus has arrived there, then Tab and Shift+Tab go in behind that
// input and the focus moves on and comes back. Every browser that the input started has then
// written its record. (The input queue is handled in order, and a search has started its
// browser before its handler returns.)
inline ::testing::AssertionResult SettleInput(const Ulmora& ulmora, int focus) {
  if (!WaitForFocus(ulmora.control(focus))) {
    return ::testing::AssertionFailure() << "the focus never came to the " << ControlLabel(focus);
  }
  PressKey(VK_TAB);
  if (!WaitForFocus(ulmora.control(NextInTabOrder(focus, true)))) {
    return ::testing::AssertionFailure() << "Tab from the " << ControlLabel(focus) << " went nowhere";
  }
  PressKey(VK_TAB, kShift);
  if (!WaitForFocus(ulmora.control(focus))) {
    return ::testing::AssertionFailure() << "Shift+Tab did not come back to the "
                                         << ControlLabel(focus);
  }
  if (!WaitForRecorderExits()) return ::testing::AssertionFailure() << "a browser is still running";
  return ::testing::AssertionSuccess();
}

// Chooses a service with a real click on its radio button.
inline ::testing::AssertionResult ChooseService(const Ulmora& ulmora, int radio) {
  if (!BringToFront(ulmora.window)) return ::testing::AssertionFailure() << "window not in front";
  ClickControl(ulmora.control(radio));
  if (!WaitUntil([&] { return IsChecked(ulmora.control(radio)); })) {
    return ::testing::AssertionFailure() << "a click did not check the " << ControlLabel(radio);
  }
  return ::testing::AssertionSuccess();
}

}  // namespace ulmora::e2e
