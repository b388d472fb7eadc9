#include "ui/navigate.h"

#include "fatal/fatal.h"
#include "ui/window.h"

namespace ulmora {

void Navigate(std::uint32_t windowIdentity, std::uint32_t controlIdentity) {
  LoadedWindow* window = FindWindowByIdentity(windowIdentity);
  ControlState* control = window != nullptr ? FindControl(window, controlIdentity) : nullptr;
  if (control == nullptr || control->window == nullptr ||
      control->description->kind != ControlKind::HyperLinker) {
    ReportFatalError("指定窗口或窗口组件不存在或尚未载入");
  }
  OpenTarget(control->link, kShowNormal);
}

}  // namespace ulmora
