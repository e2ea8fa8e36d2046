// The settings window: the update page against a local HTTPS server (rows, the action button,
// the browser hand-over), failed and switched-off checks, closing during a check, the update
// rows' states, start with the desktop, and the language chosen there reaching the main window.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <QTimer>

#include "app/startup/app_options.h"
#include "app/startup/autostart.h"
#include "app/window/language_choice.h"
#include "app/window/set_wnd.h"
#include "app/window/update_list_item.h"
#include "app/window/window_messages.h"
#include "profile/update_files.h"
#include "tests/app/app_test_support.h"
#include "tests/support/event_loop.h"
#include "tests/support/temp_folder.h"
#include "tests/update/update_test_support.h"
#include "ui/language.h"
#include "ui/language_table.h"

namespace qxr::app {
namespace {

using qxr::testing::TlsTestServer;
using qxr::testing::qt::wait_until;
using Reply = TlsTestServer::Reply;
using Request = TlsTestServer::Request;

constexpr char kKeyboardKey[] = "KELTO_1_KB01_M1_1";
constexpr char kPadKey[] = "KELTO_2_PD01_M3_1";

Reply json(const std::string& body) { return {200, body, TlsTestServer::Behaviour::Reply}; }

class SetWndTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LanguageChoice::load_texts(QStringLiteral("lan_en.xml"))); }
  void TearDown() override { ui::Language::instance().set_table(ui::LanguageTable{}); }

  SetWndSetup setup_for(const TlsTestServer* server) {
    SetWndSetup s;
    s.languages = ui::read_language_config(QStringLiteral(QXR_TEST_SOURCE_DIR "/DefaultData/Language.config"));
    s.language = 1;
    if (server != nullptr) s.check.server = update::testing::update_server(*server);
    UpdateConfig config;
    config.model_code = "M0";
    config.firmware = {{1, "KB01", "M1", "Keyboard", 0x0104}, {2, "PD01", "M3", "Pad", 0x0200}};
    s.check.entries = update::UpdateEntries(config, "0.1.0");
    s.check.update_time_path = folder_.file(kUpdateTimeFile);
    s.check.deadline = update::testing::kTestDeadline * 5;
    s.version = QStringLiteral("0.1.0");
    s.autostart_file = QString::fromStdString(folder_.file("autostart/qxr470.desktop"));
    s.program = QStringLiteral("/opt/my programs/qxr470");
    return s;
  }
  std::unique_ptr<CSetWnd> open(SetWndSetup s, CSetWnd::Page page = CSetWnd::Page::Update) {
    auto w = std::make_unique<CSetWnd>(std::move(s), page);
    w->set_url_opener([this](const QUrl& url) {
      opened_ << url.toString();
      return true;
    });
    w->show();
    return w;
  }
  static QString text_of(CSetWnd& w, const char* name) {
    auto* label = qobject_cast<QLabel*>(w.find_control(QString::fromLatin1(name)));
    return label != nullptr ? label->text() : QStringLiteral("<missing>");
  }

  qxr::testing::TempFolder folder_;
  QStringList opened_;
};

TEST_F(SetWndTest, TheServersRepliesFillTheRowsAndNewerVersionsOpenInTheBrowser) {
  auto server = update::testing::start_server([](const Request& r) {
    const std::string key = update::testing::app_key_of(r);
    if (key == kKeyboardKey) {
      return json(R"({"version":"0105","version_name":"1.05","name":"Keyboard FW","path":"https://dl.example/kb.bin"})");
    }
    // A newer version whose address is not for a browser is never handed on.
    if (key == kPadKey) return json(R"({"version":"0300","name":"Pad FW","path":"file:///etc/passwd"})");
    return json(R"({"version":"9","version_name":"0.0.9","name":"Program"})");
  });
  auto w = open(setup_for(server.get()));
  ASSERT_TRUE(w->loaded());
  EXPECT_EQ(w->page(), CSetWnd::Page::Update);
  ASSERT_TRUE(wait_until([&] { return w->page_status() == update::PageStatus::HaveUpdate; }, 20000));
  EXPECT_TRUE(wait_until([&] { return !w->checking(); }));
  EXPECT_EQ(text_of(*w, "Update_Status_text"), QStringLiteral("Updates are available."));
  EXPECT_FALSE(w->find_control(QStringLiteral("update_status_ring"))->isVisible());

  const auto rows = w->rows();
  ASSERT_EQ(rows.size(), 3);
  EXPECT_EQ(rows[0]->GetState(), update::kUpdateNewer);
  EXPECT_EQ(rows[0]->GetName(), QStringLiteral("Keyboard FW"));
  EXPECT_EQ(rows[0]->GetOldVersion(), QStringLiteral("V0104"));
  EXPECT_EQ(rows[0]->GetNewVersion(), QStringLiteral("V0105"));
  EXPECT_EQ(rows[0]->height(), CUpdateInfoListItemUI::kRowHeight);
  EXPECT_TRUE(rows[0]->IsSelected());
  EXPECT_EQ(rows[1]->GetState(), update::kUpdateNewer);
  EXPECT_EQ(rows[2]->GetState(), update::kUpdateCurrent);
  EXPECT_EQ(rows[2]->GetName(), QStringLiteral("Program"));
  EXPECT_EQ(rows[2]->GetNewVersion(), QString());
  EXPECT_FALSE(rows[2]->IsSelected());
  auto* status = rows[2]->findChild<QLabel*>(QStringLiteral("update_status_text"));
  EXPECT_EQ(status->text(), QStringLiteral("Up to date"));

  auto* action = qobject_cast<QAbstractButton*>(w->find_control(QStringLiteral("update_fw_and_ap")));
  ASSERT_NE(action, nullptr);
  EXPECT_TRUE(action->isVisible());
  EXPECT_TRUE(action->isEnabled());
  // With no row selected there is nothing to get.
  auto* select0 = rows[0]->findChild<QAbstractButton*>(QStringLiteral("check_name_select"));
  auto* select1 = rows[1]->findChild<QAbstractButton*>(QStringLiteral("check_name_select"));
  QTest::mouseClick(select0, Qt::LeftButton);
  QTest::mouseClick(select1, Qt::LeftButton);
  EXPECT_FALSE(rows[0]->IsSelected());
  EXPECT_FALSE(action->isEnabled());
  // A current row cannot be chosen.
  EXPECT_FALSE(rows[2]->findChild<QAbstractButton*>(QStringLiteral("check_name_select"))->isEnabled());
  QTest::mouseClick(select0, Qt::LeftButton);
  QTest::mouseClick(select1, Qt::LeftButton);
  EXPECT_TRUE(action->isEnabled());

  QTest::mouseClick(action, Qt::LeftButton);
  EXPECT_EQ(opened_, QStringList{QStringLiteral("https://dl.example/kb.bin")});
  EXPECT_EQ(QString::fromStdString(ReadUpdateTime(folder_.file(kUpdateTimeFile))),
            QString::fromStdString(FormatUpdateDate(TodayLocal())));
}

TEST_F(SetWndTest, EverythingCurrentShowsTheDateOfTheCheck) {
  auto server = update::testing::start_server([](const Request&) { return json(R"({"version":"0001"})"); });
  auto w = open(setup_for(server.get()));
  ASSERT_TRUE(wait_until([&] { return w->page_status() == update::PageStatus::UpToDate; }, 20000));
  const QString today = QString::fromStdString(FormatUpdateDate(TodayLocal()));
  EXPECT_EQ(text_of(*w, "Update_Status_text"), QStringLiteral("Everything is up to date (last checked %1).").arg(today));
  EXPECT_FALSE(w->find_control(QStringLiteral("update_fw_and_ap"))->isVisible());
  // The text follows a language switch with its date.
  ASSERT_TRUE(LanguageChoice::load_texts(QStringLiteral("lan_cn.xml")));
  EXPECT_EQ(text_of(*w, "Update_Status_text"), QStringLiteral("已是最新版本（上次检查：%1）。").arg(today));
}

TEST_F(SetWndTest, AServerThatCannotBeTrustedIsAFailedCheckAndNoServerIsNoCheck) {
  const auto& certs = update::testing::certificates();
  auto server = update::testing::start_server([](const Request&) { return json(R"({"version":"9999"})"); },
                                              certs.self_signed_cert, certs.self_signed_key);
  auto w = open(setup_for(server.get()));
  ASSERT_TRUE(wait_until([&] { return w->page_status() == update::PageStatus::NoUpdateInfo; }, 20000));
  EXPECT_EQ(text_of(*w, "Update_Status_text"), QStringLiteral("The update server could not be reached."));
  for (CUpdateInfoListItemUI* row : w->rows()) {
    EXPECT_EQ(row->GetState(), update::kUpdateFailed);
    EXPECT_EQ(row->GetName(), QString());
    EXPECT_EQ(row->findChild<QLabel*>(QStringLiteral("update_status_text"))->text(), QStringLiteral("Check failed"));
  }
  EXPECT_EQ(w->rows()[0]->GetOldVersion(), QStringLiteral("V0104"));
  EXPECT_FALSE(w->find_control(QStringLiteral("update_fw_and_ap"))->isVisible());
  EXPECT_TRUE(server->requests().empty());

  auto off = open(setup_for(nullptr));
  EXPECT_EQ(off->page_status(), update::PageStatus::ChecksOff);
  EXPECT_FALSE(off->checking());
  EXPECT_TRUE(off->rows().isEmpty());
  EXPECT_EQ(text_of(*off, "Update_Status_text"), QStringLiteral("Update checks are off: no update server is set."));
}

TEST_F(SetWndTest, ClosingTheWindowStopsACheckThatWaitsForTheServer) {
  auto server = update::testing::start_server(
      [](const Request&) { return Reply{200, R"({"version":"9999"})", TlsTestServer::Behaviour::Stall}; });
  SetWndSetup s = setup_for(server.get());
  s.check.server.client.receive_timeout_ms = 0;
  s.check.deadline = std::chrono::minutes(10);
  auto w = open(std::move(s));
  ASSERT_TRUE(wait_until([&] { return server->requests().size() == 1; }, 20000));
  EXPECT_TRUE(w->checking());
  w->done(0);
  EXPECT_FALSE(w->checking());
  EXPECT_EQ(w->page_status(), update::PageStatus::Checking);
}

TEST(UpdateRow, StatesShowTheirTextsAndProgressAndRefuseSelection) {
  ASSERT_TRUE(LanguageChoice::load_texts(QStringLiteral("lan_en.xml")));
  CUpdateInfoListItemUI row;
  ASSERT_TRUE(row.loaded());
  auto* text = row.findChild<QLabel*>(QStringLiteral("update_status_text"));
  auto* ing = row.findChild<QWidget*>(QStringLiteral("update_status_ing"));
  auto* ok = row.findChild<QWidget*>(QStringLiteral("update_status_ok"));
  auto* value = row.findChild<QLabel*>(QStringLiteral("update_progress_value"));
  row.show();
  EXPECT_EQ(row.GetState(), update::kUpdateCurrent);
  // Every state's text is translated in every language.
  for (const char* file : {"lan_en.xml", "lan_cn.xml"}) {
    ASSERT_TRUE(LanguageChoice::load_texts(QString::fromLatin1(file)));
    for (const update::RowStateRow& s : update::update_row_states()) {
      row.SetState(s.state);
      EXPECT_NE(text->text(), QString::fromLatin1(s.text_key)) << file << " " << s.state;
      EXPECT_EQ(ing->isVisible(), s.progress) << s.state;
      EXPECT_EQ(ok->isVisible(), s.done_mark) << s.state;
      EXPECT_EQ(row.CanUpdate(), s.action) << s.state;
    }
    for (const update::PageStatusRow& s : update::page_statuses()) {
      EXPECT_NE(ui::Language::instance().text(QString::fromLatin1(s.text_key)), QString::fromLatin1(s.text_key));
    }
  }
  ASSERT_TRUE(LanguageChoice::load_texts(QStringLiteral("lan_en.xml")));
  // A row set twice to state 4 keeps its progress; entering a progress state starts at 0.
  row.SetState(4);
  row.SetProgress(40);
  row.SetState(4);
  EXPECT_EQ(row.GetProgress(), 40);
  EXPECT_EQ(value->text(), QStringLiteral("40%"));
  row.SetState(6);
  EXPECT_EQ(row.GetProgress(), 0);
  row.SetState(42);
  EXPECT_EQ(row.GetState(), 6);
  // Only rows that can be updated are selected, and leaving such a state clears the choice.
  row.SetSelected(true);
  EXPECT_FALSE(row.IsSelected());
  row.SetState(1);
  row.SetSelected(true);
  EXPECT_TRUE(row.IsSelected());
  row.SetState(7);
  EXPECT_FALSE(row.IsSelected());
  row.SetState(0);
  EXPECT_EQ(text->palette().color(QPalette::WindowText), QColor::fromRgba(update::kLessUpdateColour));
  ui::Language::instance().set_table(ui::LanguageTable{});
}

TEST_F(SetWndTest, StartWithTheDesktopWritesAndRemovesTheAutostartEntry) {
  SetWndSetup s = setup_for(nullptr);
  const QString file = s.autostart_file;
  auto w = open(std::move(s), CSetWnd::Page::General);
  EXPECT_EQ(w->page(), CSetWnd::Page::General);
  auto* check = qobject_cast<QAbstractButton*>(w->find_control(QStringLiteral("autostart_check")));
  ASSERT_NE(check, nullptr);
  EXPECT_FALSE(check->isChecked());
  // On the box: the check box is as wide as the page, its text is not.
  const QPoint box(8, check->height() / 2);
  QTest::mouseClick(check, Qt::LeftButton, {}, box);
  ASSERT_TRUE(QFile::exists(file));
  QFile entry(file);
  ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(entry.readAll());
  EXPECT_TRUE(text.contains(QStringLiteral("\nExec=\"/opt/my programs/qxr470\" --minimized\n"))) << text.toStdString();
  EXPECT_TRUE(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
  EXPECT_TRUE(autostart_enabled(file));
  // A reopened window shows it on.
  auto again = open(setup_for(nullptr), CSetWnd::Page::General);
  EXPECT_TRUE(qobject_cast<QAbstractButton*>(again->find_control(QStringLiteral("autostart_check")))->isChecked());
  QTest::mouseClick(check, Qt::LeftButton, {}, box);
  EXPECT_FALSE(QFile::exists(file));
  EXPECT_FALSE(autostart_enabled(file));
}

TEST(Autostart, ProgramPathsAreQuotedForTheDesktop) {
  auto exec_line = [](const QString& program) {
    for (const QString& line : autostart_entry(program).split(QLatin1Char('\n'))) {
      if (line.startsWith(QStringLiteral("Exec="))) return line;
    }
    return QString();
  };
  EXPECT_EQ(exec_line(QStringLiteral("/usr/bin/qxr470")), QStringLiteral("Exec=/usr/bin/qxr470 --minimized"));
  EXPECT_EQ(exec_line(QStringLiteral("/a b/q")), QStringLiteral("Exec=\"/a b/q\" --minimized"));
  EXPECT_EQ(exec_line(QStringLiteral("/a$b/q\"x")), QStringLiteral("Exec=\"/a\\\\$b/q\\\\\"x\" --minimized"));
  EXPECT_EQ(exec_line(QStringLiteral("/a\\b/50%")), QStringLiteral("Exec=\"/a\\\\\\\\b/50%%\" --minimized"));
  EXPECT_TRUE(parse_options({"--minimized"}).minimized);
  EXPECT_FALSE(parse_options({"--send", "identity", "--minimized"}).minimized);
  EXPECT_FALSE(parse_options({"--minimized", "--send", "identity"}).error.empty());
}

// The settings window as the main window opens it.
class SettingsFromTheMainWindow : public testing::EmulatedWindowTest {
 protected:
  void TearDown() override {
    EmulatedWindowTest::TearDown();
    ui::Language::instance().set_table(ui::LanguageTable{});
  }
  int index_of(const char* name) const {
    const auto& entries = window_->language().entries();
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].name == QLatin1String(name)) return static_cast<int>(i);
    }
    return -1;
  }
  // Runs work inside the modal window as soon as it is open, then closes it.
  void while_open(std::function<void(CSetWnd&)> work) {
    poll_.setInterval(5);
    QObject::connect(&poll_, &QTimer::timeout, window_.get(), [this, work] {
      CSetWnd* w = window_->settings_window();
      if (w == nullptr) return;
      poll_.stop();
      work(*w);
      w->done(0);
    });
    poll_.start();
  }

  QTimer poll_;
};

TEST_F(SettingsFromTheMainWindow, ALanguageChosenThereRetranslatesTheMainWindowAndIsStored) {
  start({});
  const int en = index_of("en_US");
  const int cn = index_of("zh_CN");
  ASSERT_GE(en, 0);
  ASSERT_GE(cn, 0);
  ASSERT_TRUE(window_->apply_language(en));
  auto* light_status = qobject_cast<QAbstractButton*>(window_->control(QStringLiteral("control_light_status")));
  ASSERT_EQ(light_status->text(), QStringLiteral("Lighting: program"));
  bool seen = false;
  QString combo_text;
  QString title_after;
  while_open([&](CSetWnd& w) {
    seen = true;
    EXPECT_EQ(w.page(), CSetWnd::Page::General);
    auto* combo = qobject_cast<QComboBox*>(w.find_control(QStringLiteral("Language_combox_info")));
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), static_cast<int>(window_->language().entries().size()));
    EXPECT_EQ(combo->currentIndex(), en);
    combo_text = combo->itemText(cn);
    combo->setCurrentIndex(cn);  // as the user's choice: it notifies
    EXPECT_TRUE(wait_until([&] { return window_->language_index() == cn; }));
    title_after = qobject_cast<QLabel*>(w.find_control(QStringLiteral("set_title_label")))->text();
  });
  QTest::mouseClick(qobject_cast<QAbstractButton*>(window_->control(QStringLiteral("setbtn"))), Qt::LeftButton);
  ASSERT_TRUE(seen);
  EXPECT_EQ(window_->settings_window(), nullptr);
  EXPECT_EQ(combo_text, QStringLiteral("简体中文"));
  EXPECT_EQ(title_after, QStringLiteral("设置"));
  EXPECT_EQ(light_status->text(), QStringLiteral("控制灯光"));
  EXPECT_EQ(settings_->language_id(), window_->language().entries()[static_cast<size_t>(cn)].id);
}

TEST_F(SettingsFromTheMainWindow, TheMainActionOfAnotherProgramOpensTheUpdatePage) {
  start({});
  // The update server of "update.config" beside the settings file; nobody listens there.
  QFile config(window_->update_config_path());
  ASSERT_TRUE(config.open(QIODevice::WriteOnly));
  config.write(R"({"Server": "https://127.0.0.1:9/api/", "Firmware": [{"Kind": 1, "ProductCode": "KB"}]})");
  config.close();
  const SetWndSetup setup = window_->settings_setup();
  EXPECT_EQ(setup.check.server.base_url, "https://127.0.0.1:9/api/");
  ASSERT_EQ(setup.check.entries.size(), 2u);
  EXPECT_EQ(update::RowName(setup.check.entries[1]), "AP");
  bool seen = false;
  while_open([&](CSetWnd& w) {
    seen = true;
    EXPECT_EQ(w.page(), CSetWnd::Page::Update);
    EXPECT_TRUE(wait_until([&] { return w.page_status() == update::PageStatus::NoUpdateInfo; }, 20000));
    EXPECT_EQ(w.rows().size(), 2);
  });
  window_->handle_message({MessageKind::MainAction, kMainActionUpdatePage, 0, {}});
  EXPECT_TRUE(wait_until([&] { return seen; }, 20000));
}

}  // namespace
}  // namespace qxr::app
