#pragma once
// The program's main window. Its whole interface comes from the skin; it builds the device
// pages and list (device manager), receives every notification of every control and every
// message of other programs and routes each to the page or panel that owns it. It also owns
// the language, the tray icon, suspend and display changes, and the orderly shutdown of its
// worker threads.
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>

#include "app/pages/device_manager.h"
#include "app/pages/device_page_widget.h"
#include "app/window/language_choice.h"
#include "ipc/local_message.h"
#include "app/window/notify_routes.h"
#include "app/window/set_wnd.h"
#include "app/window/sync_lighting.h"
#include "app/window/thread_table.h"
#include "ui/notification.h"

class QAbstractButton;
class QStackedWidget;

namespace qxr::app {

class InstanceServer;
class SaveFailureNotice;
class MusicLink;
class SleepWatcher;
class TrayIcon;

using ipc::LocalMessage;
using ipc::MessageKind;

inline constexpr const char* kMainRequiredControls[] = {
    "root", "title_bar", "closebtn", "minbtn", "maxbtn", "restorebtn", "setbtn", "control_light_status",
    "device_select_layout", "device_power_switch", "device_switch", "No_device_Link", "nodevice_ok_btn", "text_test"};

// Lighting-control texts; they are language keys as well.
inline constexpr char kLightControlOnText[] = "控制灯光";
inline constexpr char kLightControlOffText[] = "不控制灯光";

class CMainWnd : public QWidget, public ui::NotifyHandler, public PageOwner {
  Q_OBJECT
 public:
  static constexpr int kScaleTimer = 1011;
  static constexpr int kScaleDelayMs = 100;
  static constexpr int kProfileSelectTimer = 0x41F;
  static constexpr int kProfileSelectDelayMs = 400;
  static constexpr int kGameRestoreTimer = 1066;
  static constexpr int kBaseWidth = 1000;
  static constexpr int kBaseHeight = 640;
  // A monitor at least this large gets the larger interface.
  static constexpr int kLargeScreenWidth = 1500;
  static constexpr int kLargeScreenHeight = 960;
  static constexpr int kLargeDpi = 144;

  // settings: where the language choice is kept; server: the single-instance socket (may be
  // null in tests).
  CMainWnd(AppSettings& settings, InstanceServer* server, QWidget* parent = nullptr);
  ~CMainWnd() override;

  bool loaded() const { return root_ != nullptr; }
  enum class DeviceStart { Now, AfterFirstPaint };
  // The second stage: language, device pages and threads. Runs once. AfterFirstPaint builds
  // the pages and starts discovery once the window has been painted, so the window appears
  // without waiting for them.
  void initialise(DeviceStart start = DeviceStart::Now);
  bool devices_started() const { return devices_started_; }
  // Runs once just before the pages are built and discovery starts; when it returns false
  // the devices stay unstarted.
  void set_before_devices(std::function<bool()> hook) { before_devices_ = std::move(hook); }
  // Stops every worker thread (discovery first), then lets the window go.
  void shutdown();
  bool initialised() const { return initialised_; }

  QWidget* root() const { return root_; }
  QWidget* control(const QString& name) const;
  DeviceManager& devices() { return manager_; }
  LanguageChoice& language() { return *language_; }
  SyncLighting& sync_lighting() { return sync_; }
  SaveFailureNotice& save_failures() { return *save_failures_; }
  MusicLink& music() { return *music_; }
  bool lighting_controlled() const { return light_state_; }
  bool awake() const { return awake_; }
  int language_index() const { return language_->current(); }
  bool apply_language(int index, LanguageChoice::Remember remember = LanguageChoice::Remember::Yes);

  // Handles a message of another program (local socket) as the window messages are handled;
  // client is the connection it came on (0: none).
  void handle_message(const LocalMessage& message, quint64 client = 0);
  // The window's own messages (window_messages.h), handled on a later turn of the event loop.
  void post_message(uint32_t message, qintptr param = 0);
  void handle_window_message(uint32_t message, qintptr param);
  // Opens the settings window (modal) on page; when it is open already it turns to page.
  void open_settings(CSetWnd::Page page);
  CSetWnd* settings_window() const { return settings_wnd_; }
  // What the settings window is given: languages, the update check of "update.config" (beside
  // the settings file), the autostart entry.
  SetWndSetup settings_setup() const;
  QString update_config_path() const;
  // Brings the window to the front, restored and shown, with the notice as the list says.
  void bring_to_front();
  // Starts minimised: the interface scale leaves it so until the user brings it back.
  void show_minimized_at_start();
  // The close button and the window manager's close: to the tray where the desktop shows one,
  // otherwise the program ends.
  void close_window();
  // Whether the desktop shows a tray; tests decide it themselves.
  void set_tray_check(std::function<bool()> check) { tray_check_ = std::move(check); }
  bool tray_shown() const;
  // Suspend and resume of the computer.
  void on_suspend();
  void on_resume();
  // The monitor changed: pick the interface scale again.
  void rescale();
  // Sets the interface DPI (an accepted value, else 96) and gives the window its size at it.
  int set_interface_dpi(int dpi);

  // --- ui::NotifyHandler ---
  void Notify(const ui::Notification& notification) override;
  // Sees every routed notification first; returning true keeps it from its handler (tests
  // that check the routing alone).
  using RouteObserver = std::function<bool(Route, const ui::Notification&)>;
  void set_route_observer(RouteObserver observer) {
    route_observer_ = std::move(observer);
  }
  // Handlers of the editor panels, by route; they are not part of this window.
  using EditorHandler = std::function<void(DevicePageWidget* page, const ui::Notification& notification)>;
  void set_editor_handler(Route route, EditorHandler handler);

  // The page's whole profile to its device; a failed or oversized macro upload is reported.
  void write_profile_to_device(DevicePageWidget* page);
  // The macros the page's keys use to its device; a failed or oversized upload is reported.
  void send_macros_to_device(DevicePageWidget* page);

  // --- PageOwner ---
  void page_refresh_requested(DevicePageWidget* page, int delay_ms) override;
  void page_owner_message(DevicePageWidget* page, uint32_t message, intptr_t first, intptr_t second) override;
  void page_operation_done(DevicePageWidget* page, devices::DeviceOperation op, int result) override;

 signals:
  // The user chose "exit" (tray menu) or the program was asked to end.
  void quit_requested();
  // A device's connect (on_connected) has run, its last command answered.
  void device_connected(qxr::app::DevicePageWidget* page, int result);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void route(Route route, const ui::Notification& n);
  void on_click(Route route, const ui::Notification& n);
  void on_profile_action(DevicePageWidget* page, const QString& name);
  void on_profile_file(DevicePageWidget* page, const QString& name);
  void apply_profile_selection();
  void set_light_state(bool on, bool announce);
  void game_event(MessageKind kind, long long group, long long mode);
  void restore_game_lighting();
  void run_interface_scale();
  void open_system_applet(int index);
  void hide_to_tray();
  // As the tray menu's "exit".
  void quit();
  DevicePageWidget* page_of(const QWidget* w) const;
  void update_sync_targets();
  void start_devices();
  bool eventFilter(QObject* watched, QEvent* event) override;

  AppSettings& settings_;
  QPointer<InstanceServer> server_;
  QWidget* root_ = nullptr;
  mutable QHash<QString, QPointer<QWidget>> controls_;
  DeviceManager manager_;
  std::unique_ptr<LanguageChoice> language_;
  ThreadTable threads_;
  SyncLighting sync_;
  TrayIcon* tray_ = nullptr;
  SaveFailureNotice* save_failures_ = nullptr;
  MusicLink* music_ = nullptr;
  SleepWatcher* sleep_ = nullptr;

  bool initialised_ = false;
  bool devices_started_ = false;
  std::function<bool()> before_devices_;
  bool start_after_paint_ = false;
  bool shut_down_ = false;
  bool light_state_ = true;
  bool awake_ = true;
  bool rescale_pending_ = false;
  bool quitting_ = false;
  bool keep_minimized_ = false;
  QPointer<CSetWnd> settings_wnd_;

  QTimer scale_timer_;
  QTimer profile_timer_;
  QPointer<DevicePageWidget> profile_page_;
  QTimer game_timer_;
  // The page whose device shows a game's lighting.
  QPointer<DevicePageWidget> game_page_;
  std::function<bool()> tray_check_;
  // Pages whose profile was just applied: their result is reported to the user.
  QHash<DevicePageWidget*, int> applying_;

  RouteObserver route_observer_;
  std::map<Route, EditorHandler> editor_handlers_;
};

}  // namespace qxr::app
