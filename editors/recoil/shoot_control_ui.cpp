#include "editors/recoil/shoot_control_ui.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>

#include <algorithm>

#include "core/debug_line.h"
#include "editors/recoil/recoil_control_names.h"
#include "editors/recoil/recoil_pattern_view.h"
#include "editors/recoil/recoil_texts.h"
#include "ui/language.h"
#include "ui/notify_wiring.h"
#include "ui/number_edit.h"
#include "ui/skin_loader.h"

using namespace qxr::editors::recoil;
namespace n = qxr::editors::recoil::names;
namespace t = qxr::editors::recoil::texts;

namespace {

constexpr int kPullDigits = 3;
constexpr int kDelayDigits = 5;

QString key_text(std::string_view key) { return QString::fromLatin1(key.data(), static_cast<qsizetype>(key.size())); }

std::string indexed(std::string_view prefix, int index) { return std::string(prefix) + std::to_string(index); }

void set_checked_quietly(QAbstractButton* b, bool on) {
  if (b == nullptr) return;
  qxr::ui::NotifySilencer quiet(b);
  const bool exclusive = b->autoExclusive();
  // Clearing an exclusive option needs its exclusivity off for a moment.
  b->setAutoExclusive(false);
  b->setChecked(on);
  b->setAutoExclusive(exclusive);
}

// An edit's number as it would be stored: clamped, 0 when it holds none.
int edit_value(const QLineEdit* edit, int maximum) {
  if (edit == nullptr) return 0;
  bool ok = false;
  const qlonglong v = edit->text().trimmed().toLongLong(&ok);
  return ok ? static_cast<int>(std::clamp<qlonglong>(v, 0, maximum)) : 0;
}

}  // namespace

CShootControlUI::CShootControlUI(QWidget* parent) : QWidget(parent), layout_(new QHBoxLayout(this)) {
  layout_->setContentsMargins(0, 0, 0, 0);
  layout_->setSpacing(0);
}

QString CShootControlUI::qname(std::string_view name) const { return key_text(name); }

bool CShootControlUI::set_attribute(const QString& name, const QVariant& value) {
  return skin_.take_attribute(name, value);
}

bool CShootControlUI::event(QEvent* event) {
  handle_attribute_event(this, event);
  if (event->type() == QEvent::Show) InitControls();
  return QWidget::event(event);
}

bool CShootControlUI::InitControls() {
  if (content_ != nullptr) return true;
  content_ = skin_.build(*this, *layout_, cache_);
  if (content_ == nullptr) return false;
  controls_found_ = true;
  for (std::string_view name : {n::kImportButton, n::kExportButton, n::kSaveButton, n::kResetButton, n::kGunPictures,
                                n::kBulletEditLayout, n::kBulletIndex, n::kPreviousBullet, n::kNextBullet,
                                n::kHorizontalOption, n::kVerticalOption, n::kHorizontalEdit, n::kVerticalEdit,
                                n::kDelayEdit}) {
    controls_found_ &= cache_.find(qname(name)) != nullptr;
  }
  controls_found_ &= cache_.find(QString::fromStdString(indexed(n::kGunOption, 0))) != nullptr;
  controls_found_ &= cache_.find(QString::fromStdString(indexed(n::kBulletOption, 0))) != nullptr;
  if (!controls_found_) qxr::debug_line("recoil panel: skin lacks controls");

  qxr::ui::make_number_edit(control<QLineEdit>(n::kHorizontalEdit), kPullDigits);
  qxr::ui::make_number_edit(control<QLineEdit>(n::kVerticalEdit), kPullDigits);
  qxr::ui::make_number_edit(control<QLineEdit>(n::kDelayEdit), kDelayDigits);
  // Enter commits as leaving the edit does.
  for (std::string_view name : {n::kHorizontalEdit, n::kVerticalEdit, n::kDelayEdit}) {
    if (auto* edit = control<QLineEdit>(name)) connect(edit, &QLineEdit::returnPressed, edit, [edit] { edit->clearFocus(); });
  }
  InitShootPanel();
  return true;
}

QWidget* CShootControlUI::control(std::string_view name) {
  if (!InitControls()) return nullptr;
  return cache_.find(qname(name));
}

// ---- folders ----

void CShootControlUI::SetScriptFolder(const std::string& folder) {
  folder_.set_folder(folder);
  if (content_ != nullptr) InitShootPanel();
}

void CShootControlUI::SetDefaultScriptFolder(const std::string& folder) { folder_.set_factory_folder(folder); }

void CShootControlUI::InitShootPanel() {
  // Without its folder the panel has no scripts to show (and must not write any).
  if (folder_.folder().empty() || content_ == nullptr) return;
  folder_.ensure_scripts();
  SelectGun(0);
  SelectBullet(0);
}

// ---- selection ----

void CShootControlUI::SelectGun(int gun) {
  gun_ = clamp_gun(gun);
  for (int g = 0; g < kGunCount; ++g) {
    set_checked_quietly(control<QAbstractButton>(indexed(n::kGunOption, g)), g == gun_);
  }
  if (auto* pictures = control<QStackedWidget>(n::kGunPictures); pictures != nullptr && gun_ < pictures->count()) {
    pictures->setCurrentIndex(gun_);
  }
}

void CShootControlUI::SelectBullet(int bullet) {
  bullet_ = clamp_bullet(bullet);
  for (int b = 0; b < kBulletCount; ++b) {
    set_checked_quietly(control<QAbstractButton>(indexed(n::kBulletOption, b)), b == bullet_);
  }
  if (auto* index = control<QLabel>(n::kBulletIndex)) index->setText(QString::number(bullet_ + 1));
  ShowBullet();
}

void CShootControlUI::ShowBullet() {
  const std::vector<qxr::RecoilBullet> bullets = folder_.bullets(gun_);
  const int bullet = std::max(bullet_, 0);
  shown_ = bullets[static_cast<size_t>(bullet)];
  set_checked_quietly(control<QAbstractButton>(n::kHorizontalOption), shown_.left);
  set_checked_quietly(control<QAbstractButton>(n::kVerticalOption), shown_.up);
  RelabelHorizontal();
  RelabelVertical();
  const std::pair<std::string_view, int> edits[] = {
      {n::kHorizontalEdit, shown_.horizontal}, {n::kVerticalEdit, shown_.vertical}, {n::kDelayEdit, shown_.delay_ms}};
  for (const auto& [name, value] : edits) {
    if (auto* edit = control<QLineEdit>(name)) edit->setText(QString::number(value));
  }
  if (auto* picture = control<RecoilPatternView>(indexed(n::kGunPicture, gun_))) {
    picture->set_bullets(bullets);
    picture->set_current(bullet_);
  }
}

void CShootControlUI::RelabelHorizontal() {
  if (auto* option = control<QAbstractButton>(n::kHorizontalOption)) {
    qxr::ui::Language::instance().set_text(option, key_text(option->isChecked() ? t::kLeft : t::kRight));
  }
}

void CShootControlUI::RelabelVertical() {
  if (auto* option = control<QAbstractButton>(n::kVerticalOption)) {
    qxr::ui::Language::instance().set_text(option, key_text(option->isChecked() ? t::kUp : t::kDown));
  }
}

// ---- storing ----

qxr::RecoilBullet CShootControlUI::edited_bullet() {
  qxr::RecoilBullet b;
  const auto* x = control<QAbstractButton>(n::kHorizontalOption);
  const auto* y = control<QAbstractButton>(n::kVerticalOption);
  b.left = x != nullptr && x->isChecked();
  b.up = y != nullptr && y->isChecked();
  b.horizontal = static_cast<uint8_t>(edit_value(control<QLineEdit>(n::kHorizontalEdit), kMaxPull));
  b.vertical = static_cast<uint8_t>(edit_value(control<QLineEdit>(n::kVerticalEdit), kMaxPull));
  b.delay_ms = static_cast<uint16_t>(edit_value(control<QLineEdit>(n::kDelayEdit), kMaxBulletDelayMs));
  return b;
}

CShootControlUI::RecoilChange CShootControlUI::StoreBullet() {
  if (bullet_ < 0 || folder_.folder().empty()) return RecoilChange::kDone;
  // The edits show what is stored.
  qxr::ui::commit_number(control<QLineEdit>(n::kHorizontalEdit), 0, kMaxPull, 0);
  qxr::ui::commit_number(control<QLineEdit>(n::kVerticalEdit), 0, kMaxPull, 0);
  qxr::ui::commit_number(control<QLineEdit>(n::kDelayEdit), 0, kMaxBulletDelayMs, 0);
  const qxr::RecoilBullet value = edited_bullet();
  const RecoilChange change = folder_.store(gun_, bullet_, value);
  if (change != RecoilChange::kDone) return change;
  shown_ = value;
  show_status({});
  if (auto* picture = control<RecoilPatternView>(indexed(n::kGunPicture, gun_))) picture->set_bullets(folder_.bullets(gun_));
  return change;
}

CShootControlUI::RecoilChange CShootControlUI::StoreBulletIfEdited() {
  if (bullet_ < 0 || edited_bullet() == shown_) return RecoilChange::kDone;
  return StoreBullet();
}

// ---- whole scripts ----

CShootControlUI::RecoilChange CShootControlUI::ResetGun(int gun) {
  const RecoilChange change = folder_.reset(gun);
  if (change == RecoilChange::kDone) {
    show_status({});
    SelectBullet(bullet_);
  }
  return change;
}

CShootControlUI::RecoilChange CShootControlUI::ImportGun(const std::string& path, qxr::MacroImportCheck* check) {
  const RecoilChange change = folder_.import(gun_, path, check);
  if (change == RecoilChange::kDone) {
    show_status({});
    SelectBullet(bullet_);
  }
  return change;
}

CShootControlUI::RecoilChange CShootControlUI::ExportGun(const std::string& path) { return folder_.export_to(gun_, path); }

void CShootControlUI::ShowSendResult(bool sent) { show_status(sent ? t::kSent : t::kSendFailed); }

void CShootControlUI::show_status(std::string_view key) {
  if (auto* status = control<QLabel>(n::kSendStatus)) qxr::ui::Language::instance().set_text(status, key_text(key));
}
