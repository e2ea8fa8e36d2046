#include "app/window/set_wnd.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QProcess>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/pages/ui_mailbox.h"
#include "app/startup/autostart.h"
#include "app/window/update_list_item.h"
#include "core/debug_line.h"
#include "profile/update_files.h"
#include "ui/controls/circle_progress.h"
#include "ui/language.h"
#include "ui/notify_wiring.h"

namespace qxr::app {
namespace {

const QString kLanguageCombo = QStringLiteral("Language_combox_info");
const QString kPages = QStringLiteral("set_tab_layout");
const QString kGeneralOption = QStringLiteral("set_general_option");
const QString kUpdateOption = QStringLiteral("set_update_option");
const QString kAutostartCheck = QStringLiteral("autostart_check");
const QString kVersionLabel = QStringLiteral("software_ver_label");
const QString kVersionKey = QStringLiteral("software_rev_text");
const QString kAboutButton = QStringLiteral("about_btn");
const QString kOkButton = QStringLiteral("update_OK_btn");
const QString kUpdateButton = QStringLiteral("update_fw_and_ap");
const QString kRowSelect = QStringLiteral("check_name_select");
const QString kStatusRing = QStringLiteral("update_status_ring");
const QString kStatusImage = QStringLiteral("update_status_image");
const QString kStatusText = QStringLiteral("Update_Status_text");
const QString kUpdateList = QStringLiteral("device_update_list_info");
const QString kListHeader = QStringLiteral("update_list_header");

QString text_of(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

// Hands the check's reports from the worker thread to the window's thread.
class CSetWnd::Sink : public update::UpdateCheckSink {
 public:
  Sink(CSetWnd* window, UiMailbox* mailbox) : window_(window), mailbox_(mailbox) {}

  void page_status(update::PageStatus status) override {
    mailbox_->post([w = window_, status] { w->set_page_status(status); });
  }
  void row_added(size_t, const std::string& name, const std::string& installed) override {
    mailbox_->post([w = window_, n = text_of(name), i = text_of(installed)] { w->add_row(n, i); });
  }
  void row_checked(size_t row, const update::UpdateRowResult& result) override {
    mailbox_->post([w = window_, row, result] { w->show_result(row, result); });
  }

 private:
  CSetWnd* window_;
  UiMailbox* mailbox_;
};

bool open_with_desktop(const QUrl& url) {
  return QProcess::startDetached(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

CSetWnd::CSetWnd(SetWndSetup setup, Page page, QWidget* parent)
    : SkinWindow(QString::fromLatin1(kSetWndSkin), QString::fromLatin1(kSetWndClass), ui::DpiWindow::Set, parent),
      setup_(std::move(setup)),
      mailbox_(new UiMailbox(this)),
      opener_(open_with_desktop) {
  sink_ = std::make_unique<Sink>(this, mailbox_);
  fill_languages();
  if (auto* check = find<QAbstractButton>(kAutostartCheck)) {
    ui::NotifySilencer quiet(check);
    check->setChecked(autostart_enabled(setup_.autostart_file));
  }
  auto show_version = [this] {
    if (QWidget* label = find_control(kVersionLabel)) {
      ui::Language::instance().set_text(label, ui::localized_text(root(), kVersionKey) + setup_.version);
    }
  };
  show_version();
  connect(&ui::Language::instance(), &ui::Language::changed, this, [this, show_version] {
    show_version();
    show_status_text();
  });
  ShowPage(page);
  start_check();
}

CSetWnd::~CSetWnd() { stop_check(); }

void CSetWnd::done(int result) {
  stop_check();
  SkinWindow::done(result);
}

void CSetWnd::fill_languages() {
  auto* combo = find<QComboBox>(kLanguageCombo);
  if (combo == nullptr) return;
  ui::NotifySilencer quiet(combo);
  combo->clear();
  for (const ui::LanguageEntry& e : setup_.languages) combo->addItem(e.text);
  if (setup_.language >= 0 && setup_.language < combo->count()) combo->setCurrentIndex(setup_.language);
}

void CSetWnd::ShowPage(Page page) {
  if (auto* pages = find<QStackedWidget>(kPages)) pages->setCurrentIndex(static_cast<int>(page));
  if (auto* option = find<QAbstractButton>(page == Page::General ? kGeneralOption : kUpdateOption)) {
    ui::NotifySilencer quiet(option);
    option->setChecked(true);
  }
}

CSetWnd::Page CSetWnd::page() const {
  const auto* pages = root() != nullptr ? root()->findChild<QStackedWidget*>(kPages) : nullptr;
  return pages != nullptr && pages->currentIndex() == static_cast<int>(Page::Update) ? Page::Update : Page::General;
}

// ---- the update check ----

void CSetWnd::start_check() {
  if (setup_.check.server.base_url.empty()) {
    set_page_status(update::PageStatus::ChecksOff);
    return;
  }
  const std::string& path = setup_.check.update_time_path;
  std::string stored = path.empty() ? std::string() : ReadUpdateTime(path);
  if (stored.empty() && !path.empty()) {
    stored = FormatUpdateDate(TodayLocal());
    WriteUpdateTime(path, stored);
  }
  last_check_ = text_of(stored);
  if (auto* ring = find<CCircleProgressUI>(kStatusRing)) {
    ring->setRange(0, static_cast<int>(std::max<size_t>(setup_.check.entries.size(), 1)));
    ring->setValue(0);
  }
  // Shown at once: the worker's own report of it may come after the window has closed.
  set_page_status(update::PageStatus::Checking);
  worker_.set_name("update check");
  worker_.start([check = setup_.check, sink = sink_.get()](StopEvent& stop) { update::RunUpdateCheck(check, stop, *sink); });
}

void CSetWnd::stop_check() { worker_.stop(); }

void CSetWnd::set_page_status(update::PageStatus status) {
  status_ = status;
  const update::PageStatusRow& row = update::page_status_row(status);
  if (QWidget* ring = find_control(kStatusRing)) ring->setVisible(row.ring);
  if (QWidget* image = find_control(kStatusImage)) image->setVisible(row.image);
  if (QWidget* header = find_control(kListHeader)) header->setVisible(status != update::PageStatus::ChecksOff);
  if (status == update::PageStatus::UpToDate && !setup_.check.update_time_path.empty()) {
    const std::string stored = ReadUpdateTime(setup_.check.update_time_path);
    if (!stored.empty()) last_check_ = text_of(stored);
  }
  if (status == update::PageStatus::HaveUpdate) {
    if (QWidget* button = find_control(kUpdateButton)) button->setVisible(true);
  }
  update_action_button();
  show_status_text();
}

void CSetWnd::show_status_text() {
  QWidget* label = find_control(kStatusText);
  if (label == nullptr) return;
  const QString key = QString::fromLatin1(update::page_status_row(status_).text_key);
  if (status_ == update::PageStatus::UpToDate) {
    QString text = ui::localized_text(root(), key);
    ui::Language::instance().set_text(label, text.replace(QString::fromLatin1(update::kDatePlaceholder), last_check_));
  } else {
    ui::Language::instance().set_text(label, key);
  }
}

void CSetWnd::add_row(const QString& name, const QString& installed) {
  QWidget* list = find_control(kUpdateList);
  auto* layout = list != nullptr ? qobject_cast<QVBoxLayout*>(list->layout()) : nullptr;
  if (layout == nullptr) return;
  auto* row = new CUpdateInfoListItemUI(list);
  row->SetState(update::kUpdateCurrent);
  row->SetName(name);
  row->SetOldVersion(installed);
  // Before the list's closing stretch.
  layout->insertWidget(layout->count() - 1, row);
  rows_.append(row);
}

void CSetWnd::show_result(size_t index, const update::UpdateRowResult& result) {
  if (index >= static_cast<size_t>(rows_.size())) return;
  CUpdateInfoListItemUI* row = rows_[static_cast<qsizetype>(index)];
  row->SetName(text_of(result.name));
  row->SetOldVersion(text_of(result.installed));
  row->SetNewVersion(text_of(result.offered));
  row->SetState(result.state);
  row->SetUserData(text_of(result.path));
  // A newer version is chosen unless the user says otherwise.
  if (result.state == update::kUpdateNewer) row->SetSelected(true);
  if (auto* ring = find<CCircleProgressUI>(kStatusRing)) ring->setValue(++rows_checked_);
}

void CSetWnd::update_action_button() {
  QWidget* button = find_control(kUpdateButton);
  if (button == nullptr) return;
  bool any = false;
  for (const CUpdateInfoListItemUI* row : rows_) any = any || (row->IsSelected() && row->CanUpdate());
  button->setEnabled(any);
}

void CSetWnd::open_selected() {
  for (const CUpdateInfoListItemUI* row : rows_) {
    if (!row->IsSelected() || !row->CanUpdate()) continue;
    const QUrl url(row->GetUserData(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("https") && scheme != QLatin1String("http")) || url.host().isEmpty()) {
      debug_fmt("update address refused: {}", row->GetUserData().toStdString());
      continue;
    }
    if (!opener_(url)) debug_fmt("update address could not be opened: {}", url.toString().toStdString());
  }
}

// ---- notifications ----

void CSetWnd::on_notify(const ui::Notification& n) {
  namespace type = ui::notify_type;
  if (n.type == type::kItemSelect && n.sender_name == kLanguageCombo) {
    emit language_chosen(static_cast<int>(n.param1));
  } else if (n.type == type::kSelectChanged && n.sender_name == kRowSelect) {
    update_action_button();
  } else if (n.type == type::kSelectChanged && n.sender_name == kGeneralOption && n.param1 != 0) {
    ShowPage(Page::General);
  } else if (n.type == type::kSelectChanged && n.sender_name == kUpdateOption && n.param1 != 0) {
    ShowPage(Page::Update);
  } else if (n.type == type::kSelectChanged && n.sender_name == kAutostartCheck) {
    const bool on = n.param1 != 0;
    if (!set_autostart(setup_.autostart_file, on, setup_.program)) {
      debug_fmt("autostart entry not {}: {}", on ? "written" : "removed", setup_.autostart_file.toStdString());
      auto* check = find<QAbstractButton>(kAutostartCheck);
      ui::NotifySilencer quiet(check);
      check->setChecked(autostart_enabled(setup_.autostart_file));
    }
  } else if (n.type == type::kClick && n.sender_name == kUpdateButton) {
    open_selected();
  } else if (n.type == type::kClick && n.sender_name == kAboutButton) {
    emit about_requested();
  } else if (n.type == type::kClick && n.sender_name == kOkButton) {
    done(1);
  }
}

}  // namespace qxr::app
