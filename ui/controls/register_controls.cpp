#include "ui/control_factory.h"
#include "ui/controls/audio_record.h"
#include "ui/controls/circle_progress.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/hand_img_button.h"
#include "ui/controls/hand_img_select_button.h"
#include "ui/controls/redio_macro_button.h"
#include "ui/controls/select_panel.h"
#include "ui/controls/wnd_host.h"

namespace qxr::ui {
namespace {

template <typename T>
QWidget* make(QWidget* parent) {
  return new T(parent);
}

struct BuiltinControl {
  const char* class_name;  // as skins declare it
  const char* short_name;  // as the pages' creation callback knows it
  ControlCreator creator;
};

}  // namespace

void register_builtin_controls(ControlFactory& factory) {
  const BuiltinControl controls[] = {
      {"CCircleProgressUI", "CircleProgress", make<CCircleProgressUI>},
      {"CWndUI", "Wnd", make<CWndUI>},
      {"CSelectPanelUI", "SelectPanel", make<CSelectPanelUI>},
      {"CDeviceKeyButtonUI", "DeviceKeyButton", make<CDeviceKeyButtonUI>},
      {"CHandImgButtonUI", "HandImgButton", make<CHandImgButtonUI>},
      {"CHandImgSelectButtonUI", "HandImgSelectButton", make<CHandImgSelectButtonUI>},
      {"CRedioMacroButtonUI", "RedioMacroButton", make<CRedioMacroButtonUI>},
      {"CAudioRecordUI", "AudioRecord", make<CAudioRecordUI>},
  };
  for (const BuiltinControl& c : controls) {
    factory.register_class(QString::fromLatin1(c.class_name), c.creator);
    factory.register_class(QString::fromLatin1(c.short_name), c.creator);
  }
}

}  // namespace qxr::ui
