#include "ui/events.h"

#include "fatal/fatal.h"

namespace ulmora {

HandlerResult DeliverControlEvent(ControlState* control, std::int32_t event,
                                  const EventArgs& args) {
  if (EventSuppression() > 0) return {false, 0};
  const ControlDescription& d = *control->description;
  for (std::uint32_t b = 0; b < d.bindingCount; ++b) {
    if (d.bindings[b].event == event && control->handlers[b] != nullptr) {
      return control->handlers[b](args);
    }
  }
  return {false, 0};
}

HandlerResult RaiseEvent(std::uint32_t windowIdentity, std::uint32_t controlIdentity,
                         std::int32_t event, const EventArgs& args) {
  if (EventSuppression() > 0) return {false, 0};
  LoadedWindow* window = FindWindowByIdentity(windowIdentity);
  if (window == nullptr) ReportFatalError("未找到引发事件的窗口");
  ControlState* control = FindControl(window, controlIdentity);
  if (control == nullptr) ReportFatalError("未找到引发事件的窗口组件");
  if (control->window == nullptr) ReportFatalError("引发事件的窗口组件无效");
  return DeliverControlEvent(control, event, args);
}

void ControlClicked(platform::Window native) {
  if (EventSuppression() > 0) return;
  LoadedWindow* window = FindWindowByNative(platform::ParentOf(native));
  if (window == nullptr) ReportFatalError("未找到引发事件的窗口");
  ControlState* control = FindControlByNative(window, native);
  if (control == nullptr) ReportFatalError("未找到引发事件的窗口组件");
  switch (control->description->kind) {
    case ControlKind::Button:
    case ControlKind::RadioBox:
      DeliverControlEvent(control, event::kClick, {{0, 0}, 0});
      break;
    case ControlKind::HyperLinker:
      OpenTarget(control->link, kShowNormal);  // its own click opens the target
      break;
    default:
      ReportFatalError("引发事件的窗口组件无效");
  }
}

}  // namespace ulmora
