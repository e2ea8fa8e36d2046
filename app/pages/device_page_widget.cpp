#include "app/pages/device_page_widget.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSlider>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>

#include "app/pages/device_profile_ui.h"
#include "app/pages/mp_device_power_ui.h"
#include "app/window/skin_pictures.h"
#include "core/debug_line.h"
#include "devices/keyboard/system_settings.h"
#include "devices/mouse/dpi_stages.h"
#include "hid/enumeration.h"
#include "ui/controls/device_key_button.h"
#include "ui/controls/select_panel.h"
#include "ui/indexed_name.h"
#include "ui/language.h"
#include "ui/notify_wiring.h"
#include "ui/skin_control.h"
#include "ui/skin_loader.h"

namespace qxr::app {
namespace {

const QString kKeyPrefix = QStringLiteral("key_");
const QString kLightPrefix = QStringLiteral("light_");
const QString kUserData = QStringLiteral("userdata");
// The roles of the picture's key buttons that show a key's function.
constexpr char kKeycapRole[] = "keycap";
constexpr char kMouseKeyRole[] = "mousekey";
// A keycap's own legend, kept while it shows another function.
constexpr char kLegendProperty[] = "_legend";
constexpr int kBrightnessLevels = 4;
constexpr int kSpeedLevels = 4;

QColor to_qcolor(const devices::IndicatorColour& c) { return QColor(c.red, c.green, c.blue, c.alpha); }

// Only the option page shown sizes the option area. A stacked widget otherwise asks for the
// least height of its tallest page, and the page (whose window does not grow) then squeezes
// the picture under the lighting panel for the sake of panels that hide the picture anyway.
constexpr char kOwnSizePolicy[] = "qxr_own_size_policy";

void size_to_current_page(QStackedWidget* pages) {
  for (int i = 0; i < pages->count(); ++i) {
    QWidget* page = pages->widget(i);
    if (!page->property(kOwnSizePolicy).isValid()) page->setProperty(kOwnSizePolicy, QVariant::fromValue(page->sizePolicy()));
    page->setSizePolicy(i == pages->currentIndex() ? page->property(kOwnSizePolicy).value<QSizePolicy>()
                                                   : QSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored));
  }
  pages->updateGeometry();
}

}  // namespace

DevicePageWidget::DevicePageWidget(size_t model_row, QWidget* parent) : QWidget(parent), model_row_(model_row) {
  setObjectName(QString::fromUtf8(model().model_folder.data(), static_cast<int>(model().model_folder.size())) +
                QStringLiteral("_device_page"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  ui::SkinLoader loader;
  content_ = loader.load_skin(QString::fromUtf8(model().page_file.data(), static_cast<int>(model().page_file.size())), this);
  if (content_ == nullptr) return;
  layout->addWidget(content_);
  apply_pictures(content_);
  profile_ = content_->findChild<CDeviceProfileUI*>();
  for (QWidget* w : ui::children_of_class(content_, QStringLiteral("SelectPanel"))) {
    key_panel_ = qobject_cast<CSelectPanelUI*>(w);
    if (key_panel_ != nullptr) break;
  }
  setup_device();
}

DevicePageWidget::~DevicePageWidget() {
  // The device's threads call this page until they are stopped.
  device_.reset();
}

QWidget* DevicePageWidget::find(const QString& name) const {
  return content_ == nullptr ? nullptr : content_->findChild<QWidget*>(name);
}

void DevicePageWidget::setup_device() {
  const devices::KindRow& m = model();
  mouse_page_ = std::make_unique<MousePageAdapter>(content_, &on_screen_);
  audio_page_ = std::make_unique<HeadsetPageAdapter>(content_);
  device_ = m.make({this, mouse_page_.get(), audio_page_.get(), !hid::emulator_dir().empty()});
  if (device_ == nullptr) return;
  device_->set_page_file(std::string(m.page_file));
  device_->set_model_folder(std::string(m.model_folder));
  device_->set_thread_owner(std::string(m.name));
  device_->set_descriptions(std::string(m.model_folder), std::string(m.page_file));
  device_->set_key_count(static_cast<size_t>(m.key_count));
  device_->set_led_count(static_cast<size_t>(m.led_count));
  device_->set_power_mode(m.power_mode);
  hid::DeviceSlot slot;
  static_cast<hid::SupportedInterface&>(slot) = m.primary();
  device_->attach_slot(slot);
  bind_indicators();
  device_->bind_page_controls();
  light_ = std::make_unique<editors::LightPageBridge>(content_, *device_, m.light_panel);
  keys_panel_ = std::make_unique<editors::KeyPageBridge>(content_, *device_);
  macros_panel_ = std::make_unique<editors::MacroPageBridge>(content_, *device_, keys_panel_->panel());
  headset_panels_ = std::make_unique<editors::HeadsetPageBridge>(content_, *device_);
  recoil_panel_ = std::make_unique<editors::RecoilPageBridge>(content_, *device_);
  follow_screen_size();

  if (profile_ != nullptr) {
    profile_->SetDeviceKind(m.kind);
    profile_->SetFolders(QString::fromStdString(device_->user_data_folder()),
                         QString::fromStdString(device_->default_profile_path()));
    profile_->InitProfileList();
    device_->set_profile_id(profile_->GetCurrentProfileId().toStdString());
  }
  if (auto* pages = qobject_cast<QStackedWidget*>(find(QString::fromLatin1(kOptionSwitchName)))) {
    connect(pages, &QStackedWidget::currentChanged, this, [pages] { size_to_current_page(pages); });
    size_to_current_page(pages);
  }
  show_option_page(0);
}

void DevicePageWidget::follow_screen_size() {
  auto take = [this](QScreen* screen) {
    if (screen == nullptr) return;
    const QSize size = screen->size();
    device_->set_screen_size(static_cast<uint16_t>(size.width()), static_cast<uint16_t>(size.height()));
  };
  auto watch = [this, take](QScreen* screen) {
    take(screen);
    if (screen != nullptr) connect(screen, &QScreen::geometryChanged, this, [take, screen] { take(screen); });
  };
  watch(QGuiApplication::primaryScreen());
  connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, [this, watch](QScreen* screen) {
    // Only the primary screen counts: the old one's changes no longer do.
    for (QScreen* other : QGuiApplication::screens()) disconnect(other, &QScreen::geometryChanged, this, nullptr);
    watch(screen);
  });
}

void DevicePageWidget::bind_indicators() {
  keys_.assign(static_cast<size_t>(model().key_count), nullptr);
  lights_.assign(static_cast<size_t>(model().led_count), nullptr);
  if (key_panel_ == nullptr) return;
  for (CDeviceKeyButtonUI* b : key_buttons(key_panel_)) {
    if (auto n = ui::index_after_prefix(b->objectName(), kKeyPrefix, Qt::CaseInsensitive);
        n && *n < static_cast<int>(keys_.size())) {
      keys_[static_cast<size_t>(*n)] = b;
    }
    const QString light_name = b->objectName().startsWith(kLightPrefix) ? b->objectName() : b->property("userdata").toString();
    if (auto n = ui::index_after_prefix(light_name, kLightPrefix, Qt::CaseInsensitive);
        n && *n < static_cast<int>(lights_.size())) {
      lights_[static_cast<size_t>(*n)] = b;
    }
  }
}

CDeviceKeyButtonUI* DevicePageWidget::key_button(int index) const {
  return index >= 0 && index < static_cast<int>(keys_.size()) ? keys_[static_cast<size_t>(index)] : nullptr;
}

CDeviceKeyButtonUI* DevicePageWidget::light_indicator(int index) const {
  return index >= 0 && index < static_cast<int>(lights_.size()) ? lights_[static_cast<size_t>(index)] : nullptr;
}

CMpDevicePowerUI* DevicePageWidget::power_panel() const { return power_; }

void DevicePageWidget::attach_power_panel(CMpDevicePowerUI* panel) {
  power_ = panel;
  if (panel != nullptr) panel->SetPowerMode(model().power_mode, 0);
}

QList<int> DevicePageWidget::selected_keys() const {
  QList<int> out;
  for (size_t i = 0; i < keys_.size(); ++i) {
    if (keys_[i] != nullptr && keys_[i]->selected()) out << static_cast<int>(i);
  }
  return out;
}

void DevicePageWidget::show_option_page(int index) {
  if (auto* pages = qobject_cast<QStackedWidget*>(find(QString::fromLatin1(kOptionSwitchName)))) {
    if (index < 0 || index >= pages->count()) return;
    pages->setCurrentIndex(index);
    // Some editors need the picture's room and nothing from it.
    if (key_panel_ != nullptr) key_panel_->setVisible(!pages->widget(index)->property(kHidesPictureProperty).toBool());
  }
}

// ---- user changes ----

void DevicePageWidget::apply_selected_profile() {
  if (device_ == nullptr || profile_ == nullptr) return;
  device_->set_profile_id(profile_->GetCurrentProfileId().toStdString());
  device_->apply_selected_profile();
}

void DevicePageWidget::send_macros() {
  if (device_ != nullptr && device_->macro_list() != nullptr) device_->macro_list()->send_macros();
}

void DevicePageWidget::on_setting_control(const QString& name, qintptr value) {
  if (device_ == nullptr) return;
  if (devices::PointerSettings* pointer = device_->pointer_settings()) {
    on_mouse_control(*pointer, name, value);
  } else if (devices::SystemSettings* system = device_->system_settings()) {
    on_keyboard_control(*system, name, value);
  } else {
    debug_fmt("{}: no handler for {}", std::string(model().model_folder), name.toStdString());
  }
}

void DevicePageWidget::on_keyboard_control(devices::SystemSettings& kb, const QString& name, qintptr value) {
  using devices::SystemSetting;
  if (auto n = ui::index_after_prefix(name, QStringLiteral("polling_rate_option_"))) {
    if (value != 0) kb.set_system_setting(SystemSetting::PollingRate, *n);
  } else if (auto n = ui::index_after_prefix(name, QStringLiteral("repeat_delay_check_"))) {
    if (value != 0) {
      kb.set_system_setting(SystemSetting::RepeatDelay, *n);
      show_repeat_delay(devices::repeat_delay_ms(*n));
    }
  } else if (name == QLatin1String("repeat_rate_slider")) {
    kb.set_system_setting(SystemSetting::RepeatRate, static_cast<int>(value));
  } else if (name == QLatin1String("winlockflag_option")) {
    kb.set_system_setting(SystemSetting::WinLock, value != 0 ? 1 : 0);
  } else if (name == QLatin1String("wflag_option")) {
    kb.set_system_setting(SystemSetting::W, value != 0 ? 1 : 0);
  } else if (name == QLatin1String("6flag_option")) {
    kb.set_system_setting(SystemSetting::Key6, value != 0 ? 1 : 0);
  } else {
    debug_fmt("keyboard: no handler for {}", name.toStdString());
  }
}

void DevicePageWidget::on_mouse_control(devices::PointerSettings& mouse, const QString& name, qintptr value) {
  using devices::MouseWindowsSetting;
  const int v = static_cast<int>(value);
  if (auto n = ui::index_after_prefix(name, QStringLiteral("DPI_enable_check_"))) {
    mouse.set_dpi_stage_enabled(*n, value != 0);
  } else if (auto n = ui::index_after_prefix(name, QStringLiteral("DPI_slider_"))) {
    mouse.set_dpi_slider(*n, v);
  } else if (auto n = ui::index_after_prefix(name, QStringLiteral("DPI_edit_"))) {
    if (auto* edit = qobject_cast<QLineEdit*>(find(name))) mouse.set_dpi_edit_text(*n, edit->text().toStdString());
  } else if (auto n = ui::index_after_prefix(name, QStringLiteral("polling_rate_option_"))) {
    if (value != 0) mouse.set_polling_rate(*n);
  } else if (auto n = ui::index_after_prefix(name, QString::fromLatin1(kMouseOptionPrefix))) {
    if (value != 0) mouse.SelectSettingsTab(*n);
  } else if (name == QLatin1String("pointer_speed_slider")) {
    mouse.set_windows_setting(MouseWindowsSetting::PointerSpeed, v);
  } else if (name == QLatin1String("pointer_precision_check")) {
    mouse.set_windows_setting(MouseWindowsSetting::PointerPrecision, value != 0);
  } else if (name == QLatin1String("double_click_slider")) {
    mouse.set_windows_setting(MouseWindowsSetting::DoubleClickTime, v);
  } else if (name == QLatin1String("scrolls_page_check")) {
    mouse.set_windows_setting(MouseWindowsSetting::ScrollPage, value != 0);
  } else if (name == QLatin1String("scroll_speed_slider")) {
    mouse.set_windows_setting(MouseWindowsSetting::WheelLines, v);
  } else {
    debug_fmt("mouse: no handler for {}", name.toStdString());
  }
}

void DevicePageWidget::show_moving_dpi(int stage, int raw) {
  devices::PointerSettings* mouse = device_ == nullptr ? nullptr : device_->pointer_settings();
  auto* edit = qobject_cast<QLineEdit*>(find(ui::indexed_name(QStringLiteral("DPI_edit_"), stage)));
  if (mouse == nullptr || edit == nullptr) return;
  edit->setText(QString::fromStdString(devices::dpi_edit_text(static_cast<uint16_t>(raw), mouse->dpi_limits())));
}

void DevicePageWidget::reset_system_settings(bool repeat_only) {
  if (devices::SystemSettings* system = device_ == nullptr ? nullptr : device_->system_settings()) {
    system->reset_system_settings(repeat_only);
  }
}

// ---- queued page operations ----

template <typename F>
void DevicePageWidget::on_ui(F&& work) {
  mailbox_->post(std::forward<F>(work));
}

void DevicePageWidget::showEvent(QShowEvent* event) {
  on_screen_.store(true, std::memory_order_relaxed);
  // Frames that did not change are not posted; the page needs one all the same.
  if (device_ != nullptr) device_->request_light_frame();
  QWidget::showEvent(event);
}

void DevicePageWidget::hideEvent(QHideEvent* event) {
  on_screen_.store(false, std::memory_order_relaxed);
  QWidget::hideEvent(event);
}

void DevicePageWidget::set_key_colour(int key, devices::IndicatorColour colour) {
  if (!on_screen()) return;
  on_ui([this, key, colour] { apply_indicator(key, colour); });
}

void DevicePageWidget::show_indicators(std::span<const devices::IndicatorColour> colours) {
  // Nothing to repaint while nobody can see it; the next frame after showing is complete.
  if (!on_screen()) return;
  {
    std::lock_guard lock(frame_mutex_);
    pending_frame_.assign(colours.begin(), colours.end());
  }
  if (!frame_queued_.exchange(true)) on_ui([this] { apply_pending_frame(); });
}

void DevicePageWidget::apply_pending_frame() {
  frame_queued_.store(false);
  std::vector<devices::IndicatorColour> frame;
  {
    std::lock_guard lock(frame_mutex_);
    frame.swap(pending_frame_);
  }
  if (frame.empty() || !isVisible()) return;
  ++frames_shown_;
  const size_t n = std::min(frame.size(), lights_.size());
  for (size_t i = 0; i < n; ++i) apply_indicator(static_cast<int>(i), frame[i]);
}

void DevicePageWidget::apply_indicator(int index, const devices::IndicatorColour& colour) {
  CDeviceKeyButtonUI* light = light_indicator(index);
  if (light == nullptr || light->isHidden()) return;
  const QColor c = to_qcolor(colour);
  if (light->light_colour().rgba() == c.rgba()) return;
  ++colour_changes_;
  light->set_light_colour(c);
}

void DevicePageWidget::show_lighting(const LightInfo& light, const AudioLightInfo& music) {
  on_ui([this, light, music] {
    if (light_ != nullptr && light_->panel() != nullptr) {
      light_->show(light, music);
    } else {
      show_light_summary(light);
    }
  });
}

void DevicePageWidget::show_light_summary(const LightInfo& light) {
  auto* label = qobject_cast<QLabel*>(find(QString::fromLatin1(kLightSummaryName)));
  if (label == nullptr) return;
  QString mode = QString::number(light.select_item);
  if (device_ != nullptr) {
    const LightConfigLists lists = device_->light_config();
    if (light.select_item < lists.mode_names.size()) {
      mode = ui::localized_text(content_, QString::fromStdString(lists.mode_names[light.select_item]));
    }
  }
  const QString format = ui::localized_text(content_, QStringLiteral("light_summary_format"));
  label->setText(format.arg(mode).arg(int{light.light}).arg(kBrightnessLevels).arg(int{light.speed}).arg(kSpeedLevels));
}

void DevicePageWidget::select_custom_group(int group) {
  on_ui([this, group] {
    if (light_ != nullptr) light_->select_custom_group(group);
  });
}

void DevicePageWidget::set_colour_picker(uint32_t first, uint32_t second, uint8_t selector) {
  on_ui([this, first, second, selector] {
    if (light_ != nullptr) light_->set_colour_pair(first, second, selector);
  });
}
bool DevicePageWidget::read_colour_picker(uint32_t&, uint32_t&, uint8_t&) { return false; }

void DevicePageWidget::check_option(const QString& prefix, int option) {
  // As many options as the page has: the keyboard offers four polling rates, the mouse five.
  for (int i = 0;; ++i) {
    auto* b = qobject_cast<QAbstractButton*>(find(ui::indexed_name(prefix, i)));
    if (b == nullptr) break;
    ui::NotifySilencer quiet(b);
    const bool exclusive = b->autoExclusive();
    b->setAutoExclusive(false);
    b->setChecked(i == option);
    b->setAutoExclusive(exclusive);
  }
}

void DevicePageWidget::set_polling_option(int option) {
  on_ui([this, option] { check_option(QStringLiteral("polling_rate_option_"), option); });
}

void DevicePageWidget::show_repeat_delay(int delay_ms) {
  if (auto* label = qobject_cast<QLabel*>(find(QStringLiteral("repeat_delay_time_label1")))) {
    label->setText(ui::localized_text(content_, QStringLiteral("Repeat_Delay_Time")) + QString::number(delay_ms) +
                   QStringLiteral("ms"));
  }
}

void DevicePageWidget::set_repeat_delay_option(int option, int delay_ms) {
  on_ui([this, option, delay_ms] {
    check_option(QStringLiteral("repeat_delay_check_"), devices::system_option(option));
    show_repeat_delay(delay_ms);
  });
}

void DevicePageWidget::set_repeat_rate(int rate) {
  on_ui([this, rate] {
    if (auto* slider = qobject_cast<QSlider*>(find(QStringLiteral("repeat_rate_slider")))) slider->setValue(rate);
  });
}

void DevicePageWidget::set_flag_control(const char* name, bool on) {
  if (auto* b = qobject_cast<QAbstractButton*>(find(QString::fromLatin1(name)))) {
    ui::NotifySilencer quiet(b);
    b->setChecked(on);
  }
}

void DevicePageWidget::set_system_flag(devices::SystemFlag flag, bool on) {
  on_ui([this, flag, on] {
    switch (flag) {
      case devices::SystemFlag::WinLock:
        set_flag_control("winlockflag_option", on);
        break;
      case devices::SystemFlag::W:
        set_flag_control("wflag_option", on);
        break;
      case devices::SystemFlag::Key6:
        set_flag_control("6flag_option", on);
        break;
    }
  });
}

void DevicePageWidget::clear_repeat_input() {
  on_ui([this] {
    QWidget* w = find(QStringLiteral("repeat_input_richedit"));
    if (auto* line = qobject_cast<QLineEdit*>(w)) line->clear();
    if (auto* text = qobject_cast<QTextEdit*>(w)) text->clear();
  });
}

void DevicePageWidget::key_list_changed() {
  on_ui([this] { rebuild_key_labels(); });
}

void DevicePageWidget::rebuild_key_labels() {
  if (keys_panel_ == nullptr || keys_panel_->panel() == nullptr) return;
  const std::vector<editors::KeyPageBridge::Label> labels = keys_panel_->key_labels();
  const size_t n = std::min(labels.size(), keys_.size());
  for (size_t i = 0; i < n; ++i) {
    CDeviceKeyButtonUI* key = keys_[i];
    const editors::KeyPageBridge::Label& label = labels[i];
    if (key == nullptr || !label.text) continue;
    const QString role = key->property("role").toString();
    if (role == QLatin1String(kKeycapRole)) {
      // A key doing what its cap says keeps the cap's short legend; a changed key shows its new
      // function. The full name is always on hover.
      if (!key->property(kLegendProperty).isValid()) key->setProperty(kLegendProperty, key->text());
      const QString text = label.is_default ? key->property(kLegendProperty).toString() : *label.text;
      if (key->text() != text) key->setText(text);
      key->setToolTip(*label.text);
    } else if (role == QLatin1String(kMouseKeyRole)) {
      // The mouse's buttons lie over its picture: they name their function on hover.
      key->setToolTip(*label.text);
    }
  }
}

void DevicePageWidget::show_power_status(const devices::PowerStatus& status) {
  on_ui([this, status] {
    if (power_ == nullptr) return;
    power_->SetPowerStatus(status.data(), status.size());
    // Hidden until the device has told its state.
    power_->ShowPowerLayout(true);
  });
}

void DevicePageWidget::post_owner_message(uint32_t message, intptr_t first, intptr_t second) {
  on_ui([this, message, first, second] {
    if (owner_ != nullptr) owner_->page_owner_message(this, message, first, second);
  });
}

void DevicePageWidget::request_refresh(int delay_ms) {
  on_ui([this, delay_ms] {
    if (owner_ != nullptr) owner_->page_refresh_requested(this, delay_ms);
  });
}

void DevicePageWidget::select_function_pages(int function_page, int key_function_page) {
  on_ui([this, function_page, key_function_page] {
    auto pick = [this](const char* name, int page) {
      auto* w = qobject_cast<QStackedWidget*>(find(QString::fromLatin1(name)));
      if (w != nullptr && page >= 0 && page < w->count()) w->setCurrentIndex(page);
    };
    pick("device_function_switch", function_page);
    pick("device_key_function_switch", key_function_page);
  });
}

void DevicePageWidget::operation_done(devices::DeviceOperation operation, int result) {
  on_ui([this, operation, result] {
    if (owner_ != nullptr) owner_->page_operation_done(this, operation, result);
  });
}

}  // namespace qxr::app
