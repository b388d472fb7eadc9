#include "search/search_command.h"

#include "search/search_services.h"
#include "ui/main_window.h"
#include "ui/navigate.h"
#include "ui/settings.h"

namespace ulmora {
namespace {

Text ReadQueryField(void*) {
  return ReadTextSetting(kMainWindowId, kQueryField, setting::kEditContent);
}

}  // namespace

void SearchButtonClicked() {
  const SearchService* chosen = nullptr;
  for (const SearchService& row : SearchServices) {
    if (ReadNumberSetting(kMainWindowId, row.choice, setting::kRadioChecked) == 1) {
      chosen = &row;
      break;
    }
  }
  if (chosen == nullptr) return;
  WriteNumberSetting(kMainWindowId, kHyperLinker, setting::kLinkKind, 1);
  Text url = ComposeSearchUrl(*chosen, &ReadQueryField, nullptr);
  WriteTextSetting(kMainWindowId, kHyperLinker, setting::kLinkWebAddress, url);
  ReleaseText(url);  // the link control holds its own copy
  Navigate(kMainWindowId, kHyperLinker);
}

void QueryKeyPressed(std::int32_t keyCode, std::int32_t) {
  if (keyCode == 13) SearchButtonClicked();
}

}  // namespace ulmora
