#include "app/window/main_wnd.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <QWindow>

#include "app/startup/app_identity.h"
#include "app/startup/autostart.h"
#include "app/window/app_style.h"
#include "app/pages/device_option_ui.h"
#include "app/pages/device_profile_ui.h"
#include "app/window/game_lighting.h"
#include "devices/kinds/device_table.h"
#include "app/window/music_link.h"
#include "app/startup/instance_server.h"
#include "app/window/save_failures.h"
#include "app/window/skin_pictures.h"
#include "app/startup/sleep_watcher.h"
#include "app/window/tray_icon.h"
#include "app/window/user_prompts.h"
#include "app/window/window_messages.h"
#include "core/debug_line.h"
#include "profile/data_paths.h"
#include "profile/option_tabs.h"
#include "profile/update_files.h"
#include "ui/about_wnd.h"
#include "ui/indexed_name.h"
#include "ui/interface_scale.h"
#include "ui/language.h"
#include "ui/skin_loader.h"

namespace qxr::app {
namespace {

constexpr char kLanguageConfig[] = "Language.config";
constexpr int kCaptionHeight = 64;
constexpr int kKeyboardApplet = 1;

template <typename T>
T* ancestor(const QWidget* w) {
  for (QWidget* p = w == nullptr ? nullptr : w->parentWidget(); p != nullptr; p = p->parentWidget()) {
    if (auto* hit = qobject_cast<T*>(p)) return hit;
  }
  return nullptr;
}

std::string hex(long long v) { return fmt::format("{:x}", v); }

}  // namespace

CMainWnd::CMainWnd(AppSettings& settings, InstanceServer* server, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), settings_(settings), server_(server) {
  setObjectName(QString::fromLatin1(kMainWindowClass));
  setWindowTitle(QString::fromLatin1(kAppIdentity));
  // The close button hides the window; only "exit" ends the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  debug_line("InitWindow");
  music_ = new MusicLink(*this, server_);
  connect(&manager_, &DeviceManager::entries_changed, music_, &MusicLink::update_need);
  if (server_ != nullptr) connect(server_, &InstanceServer::client_closed, music_, &MusicLink::client_closed);
  language_ = std::make_unique<LanguageChoice>(
      settings_, QString::fromStdString(DefaultDataFolder()) + QString::fromLatin1(kLanguageConfig));

  // The language first: its font changes the style sheet, which is cheap before any widget
  // exists and dear after.
  apply_language(language_->start_index(), LanguageChoice::Remember::No);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  ui::SkinLoader loader;
  root_ = loader.load_skin(QString::fromLatin1(kMainSkin), this);
  if (root_ == nullptr) return;
  layout->addWidget(root_);
  apply_pictures(root_);
  resize(root_->size());
  setWindowIcon(QIcon(skin_image_path(QString::fromLatin1(kLogoImage))));
  ui::set_notify_handler(this, this);

  auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
  if (app != nullptr) {
    auto watch = [this](QScreen* s) { connect(s, &QScreen::geometryChanged, this, &CMainWnd::rescale); };
    for (QScreen* s : QGuiApplication::screens()) watch(s);
    connect(app, &QGuiApplication::screenAdded, this, [this, watch](QScreen* s) {
      watch(s);
      rescale();
    });
    connect(app, &QGuiApplication::screenRemoved, this, &CMainWnd::rescale);
    connect(app, &QGuiApplication::primaryScreenChanged, this, &CMainWnd::rescale);
  }

  scale_timer_.setSingleShot(true);
  connect(&scale_timer_, &QTimer::timeout, this, &CMainWnd::run_interface_scale);
  profile_timer_.setSingleShot(true);
  connect(&profile_timer_, &QTimer::timeout, this, &CMainWnd::apply_profile_selection);
  game_timer_.setSingleShot(true);
  connect(&game_timer_, &QTimer::timeout, this, &CMainWnd::restore_game_lighting);
  connect(&manager_, &DeviceManager::device_arrived, this, &CMainWnd::bring_to_front);
  connect(&manager_, &DeviceManager::first_pass_done, this, [this] { handle_message({MessageKind::Identity, 0, 0, {}}); });
  connect(&manager_, &DeviceManager::entries_changed, this, &CMainWnd::update_sync_targets);
  ui::register_scaled_window(this);
  save_failures_ = new SaveFailureNotice(this);
  if (server_ != nullptr) {
    server_->set_answer(MessageKind::DeviceTable, [] {
      const devices::DeviceTableBlock block = devices::device_table_block();
      return LocalMessage{MessageKind::Data, ipc::kDeviceTableDataId, 0, {block.begin(), block.end()}};
    });
  }
}

CMainWnd::~CMainWnd() { shutdown(); }

QWidget* CMainWnd::control(const QString& name) const {
  auto it = controls_.find(name);
  if (it != controls_.end() && *it != nullptr) return *it;
  if (root_ == nullptr) return nullptr;
  QWidget* found = root_->objectName() == name ? root_ : root_->findChild<QWidget*>(name);
  if (found != nullptr) controls_.insert(name, found);
  return found;
}

void CMainWnd::initialise(DeviceStart start) {
  if (initialised_ || root_ == nullptr) return;
  initialised_ = true;
  set_light_state(true, true);
  if (start == DeviceStart::AfterFirstPaint) {
    start_after_paint_ = true;
    root_->installEventFilter(this);
  } else {
    start_devices();
  }
  scale_timer_.start(kScaleDelayMs);
}

bool CMainWnd::eventFilter(QObject* watched, QEvent* event) {
  if (watched == root_ && start_after_paint_ && event->type() == QEvent::Paint) {
    start_after_paint_ = false;
    root_->removeEventFilter(this);
    // After this paint has reached the screen.
    QTimer::singleShot(0, this, &CMainWnd::start_devices);
  }
  return QWidget::eventFilter(watched, event);
}

void CMainWnd::start_devices() {
  if (devices_started_ || shut_down_) return;
  devices_started_ = true;
  if (before_devices_ && !before_devices_()) return;
  // The tray and the system bus are not needed for the first picture either.
  tray_ = new TrayIcon(this);
  connect(tray_, &TrayIcon::show_requested, this, &CMainWnd::bring_to_front);
  connect(tray_, &TrayIcon::exit_requested, this, &CMainWnd::quit);
  sleep_ = new SleepWatcher(this);
  connect(sleep_, &SleepWatcher::suspending, this, &CMainWnd::on_suspend);
  connect(sleep_, &SleepWatcher::resumed, this, &CMainWnd::on_resume);
  ManagerControls c;
  c.entry_list = control(QStringLiteral("device_select_layout"));
  c.pages = qobject_cast<QStackedWidget*>(control(QStringLiteral("device_switch")));
  c.power_pages = qobject_cast<QStackedWidget*>(control(QString::fromLatin1(kPowerContainerName)));
  c.notice = control(QStringLiteral("No_device_Link"));
  // Discovery looks for the devices while the pages are built; its connect delays run meanwhile.
  threads_.attach(kDiscoverySlot, {}, [this] { return manager_.stop_discovery(); });
  manager_.start_discovery();
  manager_.init_devices(c, this);
  sync_.start();
  threads_.attach(kSyncLightingSlot, [this] { sync_.stop_event().set(); }, [this] { return sync_.stop(); });
  music_->start(threads_);
}

void CMainWnd::shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  debug_line("退出测试");
  hide();
  scale_timer_.stop();
  profile_timer_.stop();
  if (DevicePageWidget* page = game_page_) {
    // The user's lighting goes back to the device before the program lets it go: the next start
    // would read the game's into the profile.
    restore_game_lighting();
    page->device()->drain();
  }
  sync_.set_targets({});
  threads_.shutdown();
  music_->shutdown();
  for (const DeviceManager::Model& m : manager_.models()) {
    if (m.entry != nullptr) m.entry->StopTimers();
  }
}

bool CMainWnd::apply_language(int index, LanguageChoice::Remember remember) {
  const int before = language_->current();
  if (!language_->apply(index, remember)) return false;
  if (before != language_->current()) set_light_state(light_state_, false);
  return true;
}

// ---- notifications ----

void CMainWnd::Notify(const ui::Notification& n) {
  // Control timers tick 20 times a second per device; no route takes them.
  if (n.type == ui::notify_type::kTimer) return;
  if (debug_enabled()) debug_fmt("{} {}", n.type.toStdString(), n.sender_name.toStdString());
  if (passed_through(n.type.toStdString())) return;
  const std::optional<Route> r = find_route(n.type.toStdString(), n.sender_name.toStdString());
  if (!r) return;
  if (route_observer_ && route_observer_(*r, n)) return;
  route(*r, n);
}

void CMainWnd::set_editor_handler(Route route, EditorHandler handler) { editor_handlers_[route] = std::move(handler); }

DevicePageWidget* CMainWnd::page_of(const QWidget* w) const {
  if (auto* page = qobject_cast<const DevicePageWidget*>(w)) return const_cast<DevicePageWidget*>(page);
  return ancestor<DevicePageWidget>(w);
}

void CMainWnd::route(Route r, const ui::Notification& n) {
  QWidget* sender = n.sender;
  DevicePageWidget* page = page_of(sender);
  switch (r) {
    case Route::WindowInit:
      initialise();
      break;
    case Route::WindowSize:
      if (rescale_pending_) {
        rescale_pending_ = false;
        run_interface_scale();
      }
      break;
    case Route::Hover:
    case Route::Consumed:
      break;
    case Route::Close:
      close_window();
      break;
    case Route::NoDeviceOk:
      hide();
      break;
    case Route::LightStatus:
      set_light_state(!light_state_, true);
      break;
    case Route::Minimize:
      showMinimized();
      break;
    case Route::Maximize:
      showMaximized();
      break;
    case Route::Restore:
      showNormal();
      break;
    case Route::Skin:
      debug_line("skin choice is not offered");
      break;
    case Route::MusicSettings:
      music_->open_style_window();
      break;
    case Route::Settings:
      open_settings(CSetWnd::Page::General);
      break;
    case Route::DeviceSelect: {
      auto* entry = ancestor<CDeviceOptionUI>(sender);
      if (entry == nullptr) break;
      if (n.param1 != 0) {
        manager_.entry_picked(entry);
      } else {
        // A click on the selected entry keeps it selected.
        entry->SetSelected(true);
      }
      break;
    }
    case Route::SynchroSelect:
      manager_.synchro_changed();
      break;
    case Route::OptionTab:
      if (page != nullptr && n.param1 != 0) {
        for (int t = 0; t < kOptionTabCount; ++t) {
          if (n.sender_name.toStdString() == kOptionTabNames[static_cast<size_t>(t)]) page->show_option_page(t);
        }
      }
      break;
    case Route::KeyboardSetting:
    case Route::MouseSetting:
      if (page == nullptr) break;
      if (n.type == ui::notify_type::kMoveValueChanged) {
        if (auto stage = ui::index_after_prefix(n.sender_name, QStringLiteral("DPI_slider_"))) {
          page->show_moving_dpi(*stage, static_cast<int>(n.param1));
        }
      } else {
        page->on_setting_control(n.sender_name, n.param1);
      }
      break;
    case Route::KeyboardSystemButton:
      if (page != nullptr) page->reset_system_settings(n.sender_name == QLatin1String("reset_repeat_btn"));
      break;
    case Route::SystemApplet:
      if (auto index = ui::index_after_prefix(n.sender_name, QStringLiteral("windowdeviceset_"))) open_system_applet(*index);
      break;
    case Route::ProfileSelect:
      // Quick successive choices are applied once.
      profile_page_ = page;
      profile_timer_.start(kProfileSelectDelayMs);
      break;
    case Route::ProfileAction:
      if (page != nullptr) on_profile_action(page, n.sender_name);
      break;
    case Route::ProfileFile:
      if (page != nullptr) on_profile_file(page, n.sender_name);
      break;
    case Route::KeySelectionEnd:
      if (page != nullptr) {
        debug_fmt("{} keys selected", page->selected_keys().size());
      }
      [[fallthrough]];
    case Route::KeyButton:
    case Route::LightingEditor:
    case Route::ColourSwatch:
    case Route::MusicLighting:
    case Route::KeyAssignEditor:
    case Route::MacroEditor:
    case Route::RecoilEditor:
    case Route::HeadsetEditor: {
      auto it = editor_handlers_.find(r);
      if (it != editor_handlers_.end()) {
        it->second(page, n);
        // The mode may have become (or stopped being) a music mode.
        if (r == Route::LightingEditor) music_->update_need();
      } else {
        debug_fmt("no panel handles {} from {}", std::string(route_name(r)), n.sender_name.toStdString());
      }
      break;
    }
  }
}

// ---- profile panel ----

void CMainWnd::on_profile_action(DevicePageWidget* page, const QString& name) {
  CDeviceProfileUI* panel = page->profile_panel();
  if (panel == nullptr) return;
  if (name == QLatin1String("device_add_btn")) {
    panel->AddProfile();
  } else if (name == QLatin1String("device_copy_btn")) {
    panel->CopyProfile();
  } else if (name == QLatin1String("device_sub_btn")) {
    const QString before = panel->GetCurrentProfileId();
    panel->DeleteProfile();
    // The deleted profile must not stay loaded: its next save would bring the file back.
    if (panel->GetCurrentProfileId() != before) {
      applying_[page] = 1;
      page->apply_selected_profile();
    }
  } else if (name == QLatin1String("device_reset_btn")) {
    if (!prompts().confirm(this, QStringLiteral("message_text_22"))) return;
    panel->ResetProfile();
    applying_[page] = 1;
    page->apply_selected_profile();
  } else if (name == QLatin1String("device_profile_edit_save_btn")) {
    const QString text = panel->GetNameEditText();
    if (text.isEmpty()) return;
    const int r = panel->RenameProfile(text);
    if (r == kRenameNameInUse) prompts().inform(this, QStringLiteral("message_text_5"));
    if (r == kRenameBlank) prompts().inform(this, QStringLiteral("message_text_25"));
  } else if (name == QLatin1String("profile_fun_spread_btn")) {
    panel->SetMenuVisible(!panel->IsMenuVisible());
  }
}

void CMainWnd::on_profile_file(DevicePageWidget* page, const QString& name) {
  CDeviceProfileUI* panel = page->profile_panel();
  if (panel == nullptr || panel->GetSelectedIndex() < 0) return;
  const QString filter = QString::fromLatin1(kProfileFilter);
  if (name == QLatin1String("device_import_btn")) {
    const QString path = prompts().choose_open_file(this, filter);
    if (path.isEmpty()) return;
    // Anything but a profile is refused there and nothing changes.
    panel->ImportProfile(path);
  } else {
    const QString path = prompts().choose_save_file(this, filter);
    if (path.isEmpty()) return;
    panel->ExportProfile(path);
  }
}

void CMainWnd::apply_profile_selection() {
  DevicePageWidget* page = profile_page_;
  if (page == nullptr || page->profile_panel() == nullptr) return;
  CDeviceProfileUI* panel = page->profile_panel();
  panel->SelectProfile(panel->combo_index(), false);
  applying_[page] = 1;
  page->apply_selected_profile();
}

// ---- pages ----

void CMainWnd::page_refresh_requested(DevicePageWidget* page, int delay_ms) {
  const int index = manager_.page_entry(page);
  if (index < 0) return;
  if (CDeviceOptionUI* entry = manager_.models()[static_cast<size_t>(index)].entry) entry->StartRefreshTimer(delay_ms);
}

void CMainWnd::page_owner_message(DevicePageWidget* page, uint32_t message, intptr_t first, intptr_t second) {
  debug_fmt("{}: message {:#x} {} {}", std::string(page->model().model_folder), message, first, second);
}

void CMainWnd::write_profile_to_device(DevicePageWidget* page) {
  if (page == nullptr) return;
  applying_[page] = 1;
  page->apply_selected_profile();
}

void CMainWnd::send_macros_to_device(DevicePageWidget* page) {
  if (page == nullptr) return;
  applying_[page] = 1;
  page->send_macros();
}

void CMainWnd::page_operation_done(DevicePageWidget* page, devices::DeviceOperation op, int result) {
  if (op == devices::DeviceOperation::Connect) emit device_connected(page, result);
  if (op != devices::DeviceOperation::WriteMacros || applying_.remove(page) == 0) return;
  if (result == -1) {
    prompts().inform(this, QStringLiteral("message_text_7"));
  } else if (result != 0) {
    QString text = ui::localized_text(root_, QStringLiteral("message_text_16"));
    prompts().inform(this, text.replace(QStringLiteral("%d"), QString::number(result)));
  }
}

// ---- lighting control, games ----

void CMainWnd::set_light_state(bool on, bool announce) {
  light_state_ = on;
  music_->update_need();
  if (auto* status = control(QStringLiteral("control_light_status"))) {
    ui::Language::instance().set_text(status, QString::fromUtf8(on ? kLightControlOnText : kLightControlOffText));
  }
  manager_.set_host_lighting_all(on);
  if (server_ == nullptr) return;
  const LocalMessage announcement{MessageKind::LightAnnounce, 1, on ? 1 : 0, {}};
  // Clients that connect later learn the state from their first line.
  server_->set_greeting(announcement);
  if (announce) server_->announce(announcement);
}

void CMainWnd::game_event(MessageKind kind, long long group, long long mode) {
  (void)kind;
  DevicePageWidget* page = manager_.selected_page();
  if (page == nullptr) return;
  devices::DeviceOperations& device = *page->device();
  const std::optional<LightInfo> light = game_light(device.GetLightInfo(), group, mode);
  if (!light) return;
  if (game_page_ != nullptr && game_page_ != page) restore_game_lighting();
  // A second event within the restore time still returns to the lighting from before the first:
  // the device keeps the user's record until the end.
  game_page_ = page;
  device.show_temporary_lighting(*light);
  game_timer_.start(kGameRestoreMs);
}

void CMainWnd::restore_game_lighting() {
  game_timer_.stop();
  if (game_page_ != nullptr) game_page_->device()->end_temporary_lighting();
  game_page_ = nullptr;
}

// ---- messages of other programs ----

void CMainWnd::handle_message(const LocalMessage& m, quint64 client) {
  switch (m.kind) {
    case MessageKind::Identity:
      debug_fmt("软件标示 {}，{}d{}d", std::string(message_name(m.kind)), hex(m.wparam), hex(m.lparam));
      bring_to_front();
      break;
    case MessageKind::Forward:
      debug_line("forward: no companion window");
      break;
    case MessageKind::LightAnnounce:
      break;
    case MessageKind::LightControl:
      if (m.wparam == 1 && (m.lparam == 0 || m.lparam == 1)) set_light_state(m.lparam == 1, false);
      break;
    case MessageKind::MainAction:
      if (m.wparam == kMainActionShow) bring_to_front();
      if (m.wparam == kMainActionHide) hide_to_tray();
      if (m.wparam == kMainActionUpdatePage) post_message(kMsgOpenUpdatePage);
      break;
    case MessageKind::GameStart:
    case MessageKind::GameEnd:
    case MessageKind::GameKill:
    case MessageKind::GameDeath:
      if (awake_) game_event(m.kind, m.wparam, m.lparam);
      break;
    case MessageKind::Data:
    case MessageKind::RecorderReady:
    case MessageKind::RecorderState:
      music_->handle(m, client);
      break;
    case MessageKind::Quit:
      quit();
      break;
    case MessageKind::DeviceTable:
      break;  // the server answers it
    case MessageKind::RecorderCmd:
      break;  // ours to send, not to take
  }
}

// ---- the window's own messages, the settings window ----

void CMainWnd::post_message(uint32_t message, qintptr param) {
  QMetaObject::invokeMethod(
      this, [this, message, param] { handle_window_message(message, param); }, Qt::QueuedConnection);
}

void CMainWnd::handle_window_message(uint32_t message, qintptr param) {
  if (shut_down_) return;
  switch (message) {
    case kMsgLanguageChanged:
      apply_language(static_cast<int>(param));
      break;
    case kMsgOpenUpdatePage:
      open_settings(CSetWnd::Page::Update);
      break;
    default:
      debug_fmt("message {:#x} not handled", message);
      break;
  }
}

QString CMainWnd::update_config_path() const {
  return QFileInfo(settings_.file()).absolutePath() + QLatin1Char('/') + QString::fromLatin1(kUpdateConfigFile);
}

SetWndSetup CMainWnd::settings_setup() const {
  SetWndSetup s;
  s.languages = language_->entries();
  s.language = language_->current();
  const UpdateConfig config = ReadUpdateConfig(update_config_path().toStdString());
  s.check.server.base_url = config.server;
  s.check.server.client.ca_file = config.ca_file;
  s.version = QCoreApplication::applicationVersion();
  s.check.entries = update::UpdateEntries(config, s.version.toStdString());
  s.check.update_time_path = UpdateTimePath();
  s.autostart_file = default_autostart_file();
  s.program = QCoreApplication::applicationFilePath();
  return s;
}

void CMainWnd::open_settings(CSetWnd::Page page) {
  if (settings_wnd_ != nullptr) {
    settings_wnd_->ShowPage(page);
    settings_wnd_->raise();
    settings_wnd_->activateWindow();
    return;
  }
  if (!isVisible()) bring_to_front();
  CSetWnd window(settings_setup(), page, this);
  settings_wnd_ = &window;
  connect(&window, &CSetWnd::language_chosen, this, [this](int index) { post_message(kMsgLanguageChanged, index); });
  connect(&window, &CSetWnd::about_requested, &window, [&window] {
    CAboutWnd about(&window);
    about.SetVersion(QCoreApplication::applicationVersion());
    about.ShowModal();
  });
  window.ShowModal();
}

void CMainWnd::show_minimized_at_start() {
  keep_minimized_ = true;
  showMinimized();
}

void CMainWnd::quit() {
  quitting_ = true;
  emit quit_requested();
}

void CMainWnd::bring_to_front() {
  if (shut_down_) return;
  keep_minimized_ = false;
  showNormal();
  raise();
  activateWindow();
}

void CMainWnd::hide_to_tray() { hide(); }

bool CMainWnd::tray_shown() const {
  if (tray_check_) return tray_check_();
  return tray_ != nullptr && tray_->available();
}

void CMainWnd::close_window() {
  // Hidden without a tray, nothing could bring the window back or end the program.
  if (tray_shown()) {
    hide_to_tray();
  } else {
    quit();
  }
}

void CMainWnd::on_suspend() {
  awake_ = false;
  manager_.set_host_lighting_all(false);
  music_->update_need();
}

void CMainWnd::on_resume() {
  awake_ = true;
  manager_.set_host_lighting_all(light_state_);
  music_->update_need();
}

void CMainWnd::rescale() {
  if (!awake_) return;
  debug_line("显示器分辨率发生变化");
  rescale_pending_ = true;
  run_interface_scale();
}

void CMainWnd::run_interface_scale() {
  rescale_pending_ = false;
  if (isMinimized() && !keep_minimized_) showNormal();
  QScreen* s = screen();
  if (s == nullptr) return;
  const QRect area = s->geometry();
  const int dpi = area.width() > kLargeScreenWidth && area.height() > kLargeScreenHeight ? kLargeDpi : ui::kDefaultDpi;
  if (dpi != ui::interface_dpi()) set_interface_dpi(dpi);
  const QRect available = s->availableGeometry();
  move(available.center() - QPoint(width() / 2, height() / 2));
}

int CMainWnd::set_interface_dpi(int dpi) {
  const int in_force = set_app_interface_dpi(dpi, ui::DpiWindow::Main);
  // The window's own size last, once its layout knows the contents' new limits: shrinking it
  // before would be held back by the old ones.
  if (layout() != nullptr) layout()->activate();
  resize(ui::scale_px(kBaseWidth, in_force), ui::scale_px(kBaseHeight, in_force));
  return in_force;
}

void CMainWnd::open_system_applet(int index) {
  struct Candidate {
    const char* program;
    const char* keyboard;
    const char* mouse;
  };
  static constexpr Candidate kPanels[] = {{"gnome-control-center", "keyboard", "mouse"},
                                          {"systemsettings", "kcm_keyboard", "kcm_mouse"}};
  for (const Candidate& c : kPanels) {
    const QString exe = QStandardPaths::findExecutable(QString::fromLatin1(c.program));
    if (exe.isEmpty()) continue;
    QProcess::startDetached(exe, {QString::fromLatin1(index == kKeyboardApplet ? c.keyboard : c.mouse)});
    return;
  }
  debug_line("no settings panel found");
}

void CMainWnd::update_sync_targets() {
  std::vector<devices::CMarluneUSBDevice*> targets;
  for (DevicePageWidget* page : manager_.synchronised_pages()) targets.push_back(page->device());
  sync_.set_targets(std::move(targets));
}

// ---- window ----

void CMainWnd::closeEvent(QCloseEvent* event) {
  if (quitting_) {
    event->accept();
    return;
  }
  event->ignore();
  close_window();
}

void CMainWnd::mousePressEvent(QMouseEvent* event) {
  const int caption = ui::scale_px(kCaptionHeight, ui::interface_dpi());
  if (event->button() == Qt::LeftButton && event->position().y() < caption && windowHandle() != nullptr) {
    windowHandle()->startSystemMove();
    return;
  }
  QWidget::mousePressEvent(event);
}

}  // namespace qxr::app
