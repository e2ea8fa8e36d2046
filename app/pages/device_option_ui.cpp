#include "app/pages/device_option_ui.h"

#include <QAbstractButton>
#include <QIcon>
#include <QVBoxLayout>

#include <algorithm>

#include "app/pages/device_models.h"
#include "app/pages/device_page_widget.h"
#include "app/window/skin_pictures.h"
#include "ui/language.h"
#include "ui/notify_wiring.h"
#include "ui/skin_loader.h"

using namespace qxr;

CDeviceOptionUI::CDeviceOptionUI(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  ui::SkinLoader loader;
  content_ = loader.load_skin(QString::fromLatin1(app::kEntryPageFile), this);
  if (content_ == nullptr) return;
  layout->addWidget(content_);
  // The entry is as large as its skin says, however crowded the list gets.
  setFixedSize(content_->minimumSize());
  select_ = content_->findChild<QAbstractButton*>(QStringLiteral("device_select"));
  synchro_ = content_->findChild<QAbstractButton*>(QStringLiteral("synchro_device_select"));
  SetKind(0, 0);
}

void CDeviceOptionUI::SetDevicePage(app::DevicePageWidget* page) { page_ = page; }
app::DevicePageWidget* CDeviceOptionUI::page() const { return page_; }

void CDeviceOptionUI::SetKind(int kind, int variant) {
  kind_ = kind;
  variant_ = variant;
  const std::string_view prefix = app::entry_image_prefix(kind, variant);
  using app::EntryImage;
  const EntryImage kinds[] = {EntryImage::Normal, EntryImage::Selected, EntryImage::SynchroNormal,
                              EntryImage::SynchroSelected};
  for (int i = 0; i < 4; ++i) images_[i] = QString::fromStdString(app::entry_image(prefix, kinds[i]));
  if (select_ != nullptr) ui::Language::instance().set_text(select_, QString::fromStdString(app::entry_name_key(prefix)));
  update_images();
}

void CDeviceOptionUI::update_images() {
  if (select_ == nullptr) return;
  const int base = IsSynchro() ? 2 : 0;
  QIcon icon;
  icon.addFile(app::skin_image_path(images_[base]), QSize(), QIcon::Normal, QIcon::Off);
  icon.addFile(app::skin_image_path(images_[base + 1]), QSize(), QIcon::Normal, QIcon::On);
  select_->setIcon(icon);
}

void CDeviceOptionUI::SetIndices(const QString& tab_layout, int tab_index, const QString& second, int second_index) {
  tab_layout_ = tab_layout;
  tab_index_ = tab_index;
  second_ = second;
  second_index_ = second_index;
}

void CDeviceOptionUI::SetShown(bool shown) {
  shown_ = shown;
  setVisible(shown);
  if (!shown) {
    SetSelected(false);
    StopTimers();
  }
}

void CDeviceOptionUI::SetSelected(bool selected) {
  if (select_ == nullptr) return;
  ui::NotifySilencer quiet(select_);
  select_->setChecked(selected);
}

bool CDeviceOptionUI::IsSelected() const { return select_ != nullptr && select_->isChecked(); }

void CDeviceOptionUI::SetSynchro(bool marked) {
  if (synchro_ == nullptr) return;
  {
    ui::NotifySilencer quiet(synchro_);
    synchro_->setChecked(marked);
  }
  update_images();
}

bool CDeviceOptionUI::IsSynchro() const { return synchro_ != nullptr && synchro_->isChecked(); }

bool CDeviceOptionUI::channel_open() const {
  return page_ != nullptr && page_->device() != nullptr && page_->device()->primary_channel().opened();
}

void CDeviceOptionUI::StartConnectTimer(int waited_ms) {
  ui::start_control_timer(this, kConnectTimer, std::clamp(kConnectDelayMs - waited_ms, 0, kConnectDelayMs));
}

void CDeviceOptionUI::StartRefreshTimer(int delay_ms) { ui::start_control_timer(this, kRefreshTimer, delay_ms); }

void CDeviceOptionUI::ResumeLightFrames() {
  // Not before the connect: its timer starts the frames.
  if (!channel_open() || ui::control_timer_active(this, kConnectTimer) || ui::control_timer_active(this, kLightFrameTimer))
    return;
  frame_period_set_ = true;
  ui::start_control_timer(this, kLightFrameTimer, kLightRefreshMs);
}

void CDeviceOptionUI::StopTimers() {
  for (int id : {kLightFrameTimer, kConnectTimer, kRefreshTimer, kReservedTimer1, kReservedTimer2, kStatusTimer}) {
    ui::stop_control_timer(this, id);
  }
}

void CDeviceOptionUI::on_control_timer(int id) {
  devices::CMarluneUSBDevice* device = page_ != nullptr ? page_->device() : nullptr;
  if (device == nullptr) {
    StopTimers();
    return;
  }
  // A timer runs on only while the device's primary channel is open.
  if (!channel_open()) {
    ui::stop_control_timer(this, id);
    return;
  }
  switch (id) {
    case kConnectTimer:
      ui::stop_control_timer(this, id);
      device->on_connected();
      frame_period_set_ = false;
      ui::start_control_timer(this, kLightFrameTimer, kFirstFrameMs);
      if (device->power_mode() != app::kPowerModeNone) ui::start_control_timer(this, kStatusTimer, kStatusPollMs);
      break;
    case kLightFrameTimer:
      // The device runs its own lighting: nothing to send until ResumeLightFrames().
      if (!device->get_host_lighting()) {
        ui::stop_control_timer(this, id);
        break;
      }
      device->send_light_frame();
      // The first frame comes 5 ms after connecting; from then on the timer repeats by itself.
      if (!frame_period_set_) {
        frame_period_set_ = true;
        ui::start_control_timer(this, kLightFrameTimer, kLightRefreshMs);
      }
      break;
    case kRefreshTimer:
      ui::stop_control_timer(this, id);
      device->refresh_from_device();
      break;
    case kReservedTimer1:
    case kReservedTimer2:
      ui::stop_control_timer(this, id);
      break;
    case kStatusTimer:
      device->read_device_status();
      if (device->power_mode() == app::kPowerModeNone) ui::stop_control_timer(this, id);
      break;
    default:
      break;
  }
}
