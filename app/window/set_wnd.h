#pragma once
// The settings window: the interface language, start with the desktop, and the update page,
// whose check runs on the window's worker thread as soon as the window opens. The program
// never downloads what the server offers: "update_fw_and_ap" opens each chosen row's download
// address in the user's browser.
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

#include "core/worker_thread.h"
#include "ui/language_config.h"
#include "ui/skin_window.h"
#include "update/update_check.h"

class CUpdateInfoListItemUI;

namespace qxr::app {

class UiMailbox;

inline constexpr char kSetWndSkin[] = "setwnd.xml";
inline constexpr char kSetWndClass[] = "SetWnd";

struct SetWndSetup {
  std::vector<ui::LanguageEntry> languages;  // "Language.config"
  int language = -1;                         // the index in force
  update::UpdateCheckSetup check;            // no server: the page says checks are off
  QString version;                           // the program's version, shown on the general page
  QString autostart_file;
  QString program;                           // what the autostart entry starts
};

class CSetWnd : public ui::SkinWindow {
  Q_OBJECT
 public:
  enum class Page { General = 0, Update = 1 };

  explicit CSetWnd(SetWndSetup setup, Page page = Page::General, QWidget* parent = nullptr);
  ~CSetWnd() override;

  void ShowPage(Page page);
  Page page() const;

  update::PageStatus page_status() const { return status_; }
  bool checking() const { return worker_.running(); }
  QList<CUpdateInfoListItemUI*> rows() const { return rows_; }
  // The date of the last check the up-to-date text shows.
  const QString& last_check() const { return last_check_; }

  // Opens a download address; the default hands it to xdg-open. Only http and https
  // addresses reach it.
  using UrlOpener = std::function<bool(const QUrl& url)>;
  void set_url_opener(UrlOpener opener) { opener_ = std::move(opener); }

  // Stops the check before the window closes.
  void done(int result) override;

 signals:
  // The user chose the language at index (the main window's message 0x0C11).
  void language_chosen(int index);
  void about_requested();

 protected:
  void on_notify(const ui::Notification& notification) override;

 private:
  class Sink;
  void fill_languages();
  void start_check();
  void stop_check();
  void set_page_status(update::PageStatus status);
  void show_status_text();
  void add_row(const QString& name, const QString& installed);
  void show_result(size_t row, const update::UpdateRowResult& result);
  void update_action_button();
  void open_selected();

  SetWndSetup setup_;
  UiMailbox* mailbox_ = nullptr;
  std::unique_ptr<Sink> sink_;
  WorkerThread worker_;
  update::PageStatus status_ = update::PageStatus::ChecksOff;
  QList<CUpdateInfoListItemUI*> rows_;
  int rows_checked_ = 0;
  QString last_check_;
  UrlOpener opener_;
};

// Opens url with xdg-open; false when it could not be started.
bool open_with_desktop(const QUrl& url);

}  // namespace qxr::app
