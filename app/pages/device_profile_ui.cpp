#include "app/pages/device_profile_ui.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>

#include "app/pages/device_models.h"
#include "profile/option_tabs.h"
#include "ui/notify_wiring.h"
#include "ui/skin_loader.h"

using namespace qxr;

CDeviceProfileUI::CDeviceProfileUI(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  ui::SkinLoader loader;
  content_ = loader.load_skin(QString::fromLatin1(app::kProfilePanelFile), this);
  if (content_ == nullptr) return;
  layout->addWidget(content_);
  combo_ = content_->findChild<QComboBox*>(QStringLiteral("device_profile_combo"));
  name_edit_ = content_->findChild<QLineEdit*>(QStringLiteral("device_profile_name_edit"));
  menu_ = content_->findChild<QWidget*>(QStringLiteral("profile_menu_layout"));
}

QWidget* CDeviceProfileUI::find(const char* name) const {
  return content_ == nullptr ? nullptr : content_->findChild<QWidget*>(QString::fromLatin1(name));
}

void CDeviceProfileUI::SetDeviceKind(int kind) {
  kind_ = kind;
  const devices::KindRow* row = devices::kind_row(static_cast<uint16_t>(kind));
  list_.SetKeepsAudioOnReset(row != nullptr && row->keeps_audio_on_reset);
  tabs_ = row != nullptr ? row->option_tabs : OptionTabRule{};
}

void CDeviceProfileUI::SetFolders(const QString& device_folder, const QString& default_profile) {
  list_.SetFolders(device_folder.toStdString(), default_profile.toStdString());
}

QString CDeviceProfileUI::list_file() const { return QString::fromStdString(list_.ListFilePath()); }

void CDeviceProfileUI::refill() {
  if (combo_ == nullptr) return;
  ui::NotifySilencer quiet(combo_);
  combo_->clear();
  for (const std::string& name : list_.Names()) combo_->addItem(QString::fromStdString(name));
  const int selected = list_.GetSelectedIndex();
  combo_->setCurrentIndex(selected);
  if (name_edit_ != nullptr) name_edit_->setText(combo_->currentText());
}

void CDeviceProfileUI::InitProfileList() {
  list_.InitProfileList();
  refill();
  SelectProfile(list_.GetSelectedIndex(), false);
  const auto visibility = OptionTabVisibility(tabs_);
  for (int t = 0; t < kOptionTabCount; ++t) {
    QWidget* tab = content_ == nullptr ? nullptr
                                       : content_->findChild<QWidget*>(QString::fromLatin1(
                                             kOptionTabNames[static_cast<size_t>(t)].data(),
                                             static_cast<int>(kOptionTabNames[static_cast<size_t>(t)].size())));
    if (tab == nullptr) continue;
    switch (visibility[static_cast<size_t>(t)]) {
      case TabVisibility::kHidden:
        tab->setVisible(false);
        break;
      case TabVisibility::kShown:
        tab->setVisible(true);
        break;
      case TabVisibility::kAsPageDefines:
        break;
    }
  }
  mark_tab_ends();
}

void CDeviceProfileUI::mark_tab_ends() {
  // The segmented look rounds the first and the last visible tab.
  std::vector<QWidget*> shown;
  for (std::string_view name : kOptionTabNames) {
    QWidget* tab = find(std::string(name).c_str());
    if (tab != nullptr && !tab->isHidden()) shown.push_back(tab);
  }
  for (size_t i = 0; i < shown.size(); ++i) {
    shown[i]->setProperty("first", i == 0);
    shown[i]->setProperty("last", i + 1 == shown.size());
    shown[i]->style()->unpolish(shown[i]);
    shown[i]->style()->polish(shown[i]);
  }
}

void CDeviceProfileUI::SelectProfile(int index, bool notify) {
  if (combo_ == nullptr) return;
  if (!list_.SelectProfile(index)) return;
  if (notify) {
    combo_->setCurrentIndex(index);
  } else {
    ui::NotifySilencer quiet(combo_);
    combo_->setCurrentIndex(index);
  }
  if (name_edit_ != nullptr) name_edit_->setText(combo_->itemText(index));
}

QString CDeviceProfileUI::GetCurrentProfileId() const { return QString::fromStdString(list_.GetCurrentProfileId()); }
int CDeviceProfileUI::GetSelectedIndex() const { return list_.GetSelectedIndex(); }
int CDeviceProfileUI::combo_index() const { return combo_ == nullptr ? -1 : combo_->currentIndex(); }

QStringList CDeviceProfileUI::names() const {
  QStringList out;
  if (combo_ == nullptr) return out;
  for (int i = 0; i < combo_->count(); ++i) out << combo_->itemText(i);
  return out;
}

QString CDeviceProfileUI::GetNameEditText() const { return name_edit_ == nullptr ? QString() : name_edit_->text(); }

void CDeviceProfileUI::SetNameEditText(const QString& text) {
  if (name_edit_ != nullptr) name_edit_->setText(text);
}

void CDeviceProfileUI::SetMenuVisible(bool on) {
  if (menu_ != nullptr) menu_->setVisible(on);
  if (auto* spread = qobject_cast<QAbstractButton*>(find("profile_fun_spread_btn"))) {
    ui::NotifySilencer quiet(spread);
    spread->setChecked(on);
  }
}

bool CDeviceProfileUI::IsMenuVisible() const { return menu_ != nullptr && !menu_->isHidden(); }

void CDeviceProfileUI::AddProfile() {
  if (combo_ == nullptr) return;
  const int selected = list_.GetSelectedIndex();
  if (!list_.AddProfile()) return;
  refill();
  // Adding does not change the selection.
  ui::NotifySilencer quiet(combo_);
  combo_->setCurrentIndex(selected);
}

void CDeviceProfileUI::DeleteProfile() {
  if (combo_ == nullptr || combo_->count() <= 1) return;
  if (!list_.DeleteProfile()) return;
  refill();
}

void CDeviceProfileUI::CopyProfile() {
  if (combo_ == nullptr) return;
  const int selected = list_.GetSelectedIndex();
  if (!list_.CopyProfile()) return;
  refill();
  ui::NotifySilencer quiet(combo_);
  combo_->setCurrentIndex(selected);
}

int CDeviceProfileUI::RenameProfile(const QString& name) {
  if (combo_ == nullptr) return kRenameNameInUse;
  const int r = list_.RenameProfile(name.toStdString());
  if (r == kRenameDone) {
    refill();
    SetNameEditText(name);
  }
  return r;
}

void CDeviceProfileUI::ResetProfile() { list_.ResetProfile(); }

void CDeviceProfileUI::ImportProfile(const QString& path) {
  if (combo_ == nullptr) return;
  const int selected = list_.GetSelectedIndex();
  if (!list_.ImportProfile(path.toStdString())) return;
  refill();
  ui::NotifySilencer quiet(combo_);
  combo_->setCurrentIndex(selected);
}

void CDeviceProfileUI::ExportProfile(const QString& path) { list_.ExportProfile(path.toStdString()); }

void CDeviceProfileUI::SelectOptionTab(int index) {
  if (index < 0 || index >= kOptionTabCount) return;
  for (int t = 0; t < kOptionTabCount; ++t) {
    const std::string_view name = kOptionTabNames[static_cast<size_t>(t)];
    auto* tab = qobject_cast<QAbstractButton*>(
        find(std::string(name).c_str()));
    if (tab == nullptr) continue;
    ui::NotifySilencer quiet(tab);
    const bool exclusive = tab->autoExclusive();
    // Deselecting an exclusive button needs its exclusivity off for a moment.
    tab->setAutoExclusive(false);
    tab->setChecked(t == index);
    tab->setAutoExclusive(exclusive);
  }
}

int CDeviceProfileUI::selected_option_tab() const {
  for (int t = 0; t < kOptionTabCount; ++t) {
    auto* tab = qobject_cast<QAbstractButton*>(find(std::string(kOptionTabNames[static_cast<size_t>(t)]).c_str()));
    if (tab != nullptr && tab->isChecked()) return t;
  }
  return -1;
}
