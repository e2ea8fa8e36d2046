#include "app/startup/startup.h"

#include <QApplication>
#include <QSystemTrayIcon>
#include <QTimer>

#include <cstdio>
#include <memory>

#include "app/startup/bench_reports.h"
#include "app/window/app_controls.h"
#include "app/startup/app_identity.h"
#include "app/startup/app_options.h"
#include "app/startup/app_settings.h"
#include "app/window/app_style.h"
#include "app/startup/demo_mode.h"
#include "app/startup/instance_server.h"
#include "app/window/headset_panels.h"
#include "app/window/key_panels.h"
#include "app/window/macro_panels.h"
#include "app/window/recoil_panels.h"
#include "app/window/light_panels.h"
#include "app/window/main_wnd.h"
#include "app/startup/private_fonts.h"
#include "app/startup/quit_signals.h"
#include "app/window/skin_pictures.h"
#include "app/startup/startup_warmup.h"
#include "core/debug_line.h"
#include "profile/data_paths.h"
#include "ui/skin_resources.h"

#ifndef QXR_VERSION
#define QXR_VERSION "0.0.0"
#endif

namespace qxr::app {
namespace {

// Declared after the application object, so the warm-up helper ends before that goes.
struct WarmupFinisher {
  StartupWarmup& warmup;
  ~WarmupFinisher() { warmup.finish(); }
};

constexpr int kExitBadUsage = 1;
constexpr int kExitNoSkin = 1;
constexpr int kExitNoInstance = 1;
constexpr int kExitNotSent = 2;
// Each worker thread gets up to 1000 ms to stop; the devices' last commands their own timeouts.
constexpr int kQuitWaitMs = 15000;

int send_message(const std::vector<std::string>& words) {
  const std::optional<LocalMessage> message = ipc::message_from_args(words);
  if (!message) {
    std::fprintf(stderr, "qxr470: not a message: %s\n%s", words.front().c_str(), usage_text().c_str());
    return kExitBadUsage;
  }
  switch (send_to_instance(*message)) {
    case SendResult::Sent:
      return 0;
    case SendResult::NoInstance:
      std::fprintf(stderr, "qxr470: the program is not running\n");
      return kExitNoInstance;
    case SendResult::Failed:
      break;
  }
  std::fprintf(stderr, "qxr470: the message could not be sent\n");
  return kExitNotSent;
}

int quit_running_program() {
  const int sent = send_message({"quit"});
  if (sent != 0) return sent;
  if (ipc::wait_for_instance_end(kQuitWaitMs)) return 0;
  std::fprintf(stderr, "qxr470: the program is still running\n");
  return kExitNotSent;
}

// The options that need no display; nothing when the program is to start.
std::optional<int> run_without_window(const AppOptions& options) {
  if (!options.error.empty()) {
    std::fprintf(stderr, "qxr470: %s\n%s", options.error.c_str(), usage_text().c_str());
    return kExitBadUsage;
  }
  if (options.help) {
    std::fputs(usage_text().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("qxr470 %s\n", QXR_VERSION);
    return 0;
  }
  if (options.quit) return quit_running_program();
  if (options.send) return send_message(*options.send);
  return std::nullopt;
}

}  // namespace

int run_program(int argc, char** argv) {
  // Before the application object: these work where no display is.
  const std::vector<std::string> given = argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
  if (const std::optional<int> done = run_without_window(parse_options(given))) return *done;

  StartupWarmup warmup;
  QApplication app(argc, argv);
  const WarmupFinisher finish_warmup{warmup};
  QApplication::setApplicationName(QString::fromLatin1(kProgramName));
  QApplication::setApplicationVersion(QStringLiteral(QXR_VERSION));
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
  // The window hides to the tray where there is one; closing it or "exit" ends the loop.
  QApplication::setQuitOnLastWindowClosed(false);

  // What Qt left of the command line: unknown options are errors now.
  std::vector<std::string> args;
  for (const QString& a : QApplication::arguments().mid(1)) args.push_back(a.toStdString());
  const AppOptions options = parse_options(args);
  if (!options.unknown.empty()) {
    std::fprintf(stderr, "qxr470: unknown option %s\n%s", options.unknown.front().c_str(), usage_text().c_str());
    return kExitBadUsage;
  }

  debug_fmt("program data {}", ProgramDataRoot());
  PrivateFonts fonts(QString::fromStdString(ProgramDataRoot()));
  debug_fmt("软件标示：{}", instance_socket_path());

  InstanceServer server;
  if (!server.claim()) {
    // Another instance runs: it comes to the front, this one ends.
    if (send_to_instance({MessageKind::Identity, 0, 1, {}}) != SendResult::NoInstance || !server.claim()) return 0;
  }

  std::optional<ui::SkinResources> skin = ui::SkinResources::locate();
  if (!skin) {
    std::fprintf(stderr, "qxr470: no skin folder with res.xml found\n");
    return kExitNoSkin;
  }
  ui::SkinResources::install(*skin);
  QStringList faces;
  for (const char* face : kSheetFaces) faces << QString::fromLatin1(face);
  // What the first picture of the window shows.
  warmup.application_ready(faces, kSheetFontPx,
                           {skin_image_path(QString::fromLatin1(kLogoImage)),
                            skin_image_path(QString::fromLatin1(kNoDevicePicture))});
  register_app_controls();
  apply_app_style();

  std::unique_ptr<DemoMode> demo;
  if (options.demo) {
    demo = std::make_unique<DemoMode>();
    if (!demo->prepare()) {
      std::fprintf(stderr, "qxr470: the demo devices could not be started\n");
      return kExitBadUsage;
    }
  }
  quit_on_signals();

  AppSettings settings;
  int code = 0;
  {
    CMainWnd window(settings, &server);
    if (!window.loaded()) {
      std::fprintf(stderr, "qxr470: the main window's skin could not be built\n");
      return kExitNoSkin;
    }
    QObject::connect(&server, &InstanceServer::message_received, &window, &CMainWnd::handle_message);
    QObject::connect(&window, &CMainWnd::quit_requested, &app, &QCoreApplication::quit);
    install_lighting_editor(window);
    install_key_editor(window);
    install_macro_editor(window);
    install_headset_editor(window);
    install_recoil_editor(window);
    if (demo) {
      // The emulated devices are plugged once the window is on screen.
      window.set_before_devices([&demo] {
        if (demo->plug_devices()) return true;
        std::fprintf(stderr, "qxr470: the demo devices could not be started\n");
        QCoreApplication::exit(kExitBadUsage);
        return false;
      });
    }
    if (options.minimized) {
      // Nothing is painted at first: the devices start at once.
      window.initialise(CMainWnd::DeviceStart::Now);
      if (!QSystemTrayIcon::isSystemTrayAvailable()) window.show_minimized_at_start();
    } else {
      window.initialise(CMainWnd::DeviceStart::AfterFirstPaint);
    }
    new BenchReports(window);
    if (!options.minimized) window.show();
    code = QApplication::exec();
    window.shutdown();
  }
  demo.reset();
  return code;
}

}  // namespace qxr::app
