#include "app/window/app_controls.h"

#include "app/pages/device_option_ui.h"
#include "app/pages/device_profile_ui.h"
#include "app/pages/fast_key_button.h"
#include "app/pages/key_canvas.h"
#include "app/pages/mp_device_power_ui.h"
#include "app/window/update_list_item.h"
#include "editors/keys/register_keys.h"
#include "editors/headset/register_headset.h"
#include "editors/macros/register_macros.h"
#include "editors/recoil/register_recoil.h"
#include "editors/lighting/register_lighting.h"

namespace qxr::app {
namespace {

template <typename T>
QWidget* make(QWidget* parent) {
  return new T(parent);
}

struct AppControl {
  const char* class_name;
  const char* short_name;
  ui::ControlCreator creator;
};

}  // namespace

void register_app_controls(ui::ControlFactory& factory) {
  const AppControl controls[] = {
      {"CDeviceOptionUI", "DeviceOption", make<CDeviceOptionUI>},
      {"CMpDevicePowerUI", "MpDevicePower", make<CMpDevicePowerUI>},
      {"CDeviceProfileUI", "DeviceProfile", make<CDeviceProfileUI>},
      // Replaces the toolkit's creator: the same control, painted for 20 frames a second.
      {"CDeviceKeyButtonUI", "DeviceKeyButton", make<FastKeyButton>},
      {"KeyCanvas", "KeyCanvas", make<KeyCanvas>},
      {"CUpdateInfoListItemUI", "UpdateInfoListItem", make<CUpdateInfoListItemUI>},
  };
  for (const AppControl& c : controls) {
    factory.register_class(QString::fromLatin1(c.class_name), c.creator);
    factory.register_class(QString::fromLatin1(c.short_name), c.creator);
  }
  editors::register_lighting_editor(factory);
  editors::register_key_editor(factory);
  editors::register_macro_editor(factory);
  editors::register_headset_editor(factory);
  editors::register_recoil_editor(factory);
}

}  // namespace qxr::app
