#include "app/pages/mp_device_power_ui.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app/pages/device_models.h"
#include "app/pages/power_view.h"
#include "app/window/skin_pictures.h"
#include "ui/language.h"
#include "ui/skin_loader.h"

using namespace qxr;

CMpDevicePowerUI::CMpDevicePowerUI(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  ui::SkinLoader loader;
  content_ = loader.load_skin(QString::fromLatin1(app::kPowerPanelFile), this);
  if (content_ != nullptr) layout->addWidget(content_);
}

template <typename T>
T* CMpDevicePowerUI::control(const char* name) {
  return content_ == nullptr ? nullptr : content_->findChild<T*>(QString::fromLatin1(name));
}

void CMpDevicePowerUI::SetPowerStatus(const uint8_t* bytes, size_t length) {
  auto* value = control<QLabel>("device_power_value");
  auto* wireless = control<QLabel>("device_wuxian_logo");
  auto* progress = control<QProgressBar>("device_Power_progress");
  auto* status = control<QLabel>("device_power_status");
  auto* phone = control<QAbstractButton>("device_phone_type");
  if (value == nullptr || wireless == nullptr || progress == nullptr || status == nullptr || phone == nullptr) return;

  std::vector<uint8_t> status_bytes(bytes, bytes + (bytes != nullptr ? length : 0));
  if (status_bytes == shown_status_ && mode_ == shown_mode_) return;
  shown_status_ = std::move(status_bytes);
  shown_mode_ = mode_;
  const app::PowerView v = app::power_view(bytes, length, mode_);
  progress->setValue(v.progress);
  value->setText(QString::fromStdString(v.value_text));
  if (v.wireless_logo) {
    wireless->setPixmap(QPixmap(app::skin_image_path(QStringLiteral("power/wuxian_logo.png"))));
    wireless->setVisible(*v.wireless_logo);
  }
  if (v.status_image) {
    status->setPixmap(QPixmap(app::skin_image_path(QString::fromStdString(*v.status_image))));
    status->setProperty("image", QString::fromStdString(*v.status_image));
  }
  if (v.progress_visible) progress->setVisible(*v.progress_visible);
  if (v.phone_text && v.phone_image) {
    ui::Language::instance().set_text(phone, QString::fromStdString(*v.phone_text));
    phone->setIcon(QIcon(app::skin_image_path(QString::fromStdString(*v.phone_image))));
    phone->setProperty("image", QString::fromStdString(*v.phone_image));
    phone->setVisible(true);
  }
}

void CMpDevicePowerUI::ShowPowerLayout(bool on) {
  if (QWidget* layout = control<QWidget>("device_power_Layout")) layout->setVisible(on);
}

void CMpDevicePowerUI::SetPowerMode(int mode, int value) {
  mode_ = mode;
  value_ = value;
}
