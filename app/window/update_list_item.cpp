#include "app/window/update_list_item.h"

#include <QAbstractButton>
#include <QColor>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

#include "ui/language.h"
#include "ui/skin_loader.h"
#include "update/update_info.h"
#include "update/update_states.h"

using namespace qxr;

CUpdateInfoListItemUI::CUpdateInfoListItemUI(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  ui::SkinLoader loader;
  content_ = loader.load_skin(QString::fromLatin1(app::kUpdateListItemSkin), this);
  if (content_ == nullptr) return;
  layout->addWidget(content_);
  setFixedHeight(kRowHeight);
  select_ = content_->findChild<QAbstractButton*>(QStringLiteral("check_name_select"));
  name_ = content_->findChild<QLabel*>(QStringLiteral("update_device_name"));
  old_rev_ = content_->findChild<QLabel*>(QStringLiteral("OldRev"));
  new_rev_ = content_->findChild<QLabel*>(QStringLiteral("updateRev"));
  status_text_ = content_->findChild<QLabel*>(QStringLiteral("update_status_text"));
  status_ing_ = content_->findChild<QWidget*>(QStringLiteral("update_status_ing"));
  progress_value_ = content_->findChild<QLabel*>(QStringLiteral("update_progress_value"));
  status_ok_ = content_->findChild<QWidget*>(QStringLiteral("update_status_ok"));
  SetState(update::kUpdateCurrent);
}

void CUpdateInfoListItemUI::SetState(int state) {
  if (state == state_ || update::update_row_state(state) == nullptr) return;
  state_ = state;
  if (update::update_row_state(state)->progress) SetProgress(0);
  show_state();
}

bool CUpdateInfoListItemUI::CanUpdate() const {
  const update::RowStateRow* row = update::update_row_state(state_);
  return row != nullptr && row->action;
}

void CUpdateInfoListItemUI::show_state() {
  const update::RowStateRow* row = update::update_row_state(state_);
  if (row == nullptr || content_ == nullptr) return;
  if (status_text_ != nullptr) {
    ui::Language::instance().set_text(status_text_, QString::fromLatin1(row->text_key));
    status_text_->setStyleSheet(row->colour == 0 ? QString()
                                                 : QStringLiteral("color: %1").arg(QColor::fromRgba(row->colour).name()));
  }
  if (status_ing_ != nullptr) status_ing_->setVisible(row->progress);
  if (status_ok_ != nullptr) status_ok_->setVisible(row->done_mark);
  if (select_ != nullptr) {
    select_->setEnabled(row->action);
    if (!row->action) SetSelected(false);
  }
}

void CUpdateInfoListItemUI::SetName(const QString& name) {
  if (name_ != nullptr) name_->setText(name);
}

QString CUpdateInfoListItemUI::GetName() const { return name_ != nullptr ? name_->text() : QString(); }

void CUpdateInfoListItemUI::SetOldVersion(const QString& text) {
  if (old_rev_ != nullptr) old_rev_->setText(text);
}

void CUpdateInfoListItemUI::SetNewVersion(const QString& text) {
  if (new_rev_ != nullptr) new_rev_->setText(text);
}

QString CUpdateInfoListItemUI::GetOldVersion() const { return old_rev_ != nullptr ? old_rev_->text() : QString(); }
QString CUpdateInfoListItemUI::GetNewVersion() const { return new_rev_ != nullptr ? new_rev_->text() : QString(); }

void CUpdateInfoListItemUI::SetProgress(int percent) {
  progress_ = std::clamp(percent, 0, 100);
  if (progress_value_ != nullptr) progress_value_->setText(QStringLiteral("%1%2").arg(progress_).arg(QLatin1Char('%')));
}

bool CUpdateInfoListItemUI::IsSelected() const { return select_ != nullptr && select_->isChecked(); }

void CUpdateInfoListItemUI::SetSelected(bool selected) {
  if (select_ == nullptr || select_->isChecked() == selected) return;
  if (selected && !CanUpdate()) return;
  select_->setChecked(selected);
}
