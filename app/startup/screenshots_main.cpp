// qxr470-screenshots <folder>: the main window with each device page, on the emulated devices,
// written as PNG files (scripts/screenshots.sh runs it offscreen for the README).
#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QPixmap>
#include <QThread>

#include <cmath>
#include <cstdio>

#include "app/window/app_controls.h"
#include "app/startup/app_settings.h"
#include "app/window/app_style.h"
#include "app/startup/demo_mode.h"
#include "app/pages/device_option_ui.h"
#include "app/pages/device_page_widget.h"
#include "app/pages/device_profile_ui.h"
#include "app/window/headset_panels.h"
#include "devices/audio/headset_audio_controls.h"
#include "app/window/key_panels.h"
#include "app/window/macro_panels.h"
#include "app/window/recoil_panels.h"
#include "app/window/light_panels.h"
#include "app/window/main_wnd.h"
#include "app/window/music_link.h"
#include "devices/lighting/keyboard_modes.h"
#include "music/exchange_buffers.h"
#include "ui/controls/audio_record.h"
#include "ui/music_wnd.h"
#include "emulator/emulator.h"
#include "ui/skin_resources.h"

using namespace qxr;

namespace {

constexpr int kSettleMs = 1500;
// The pad's status is read every five seconds after it connects.
constexpr int kStatusMs = 7000;
constexpr int kFrameMs = 400;

void run_for(int ms) {
  QElapsedTimer t;
  t.start();
  while (t.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
}

bool save(QWidget* window, const QString& folder, const QString& name) {
  const QString path = QDir(folder).filePath(name);
  const bool ok = window->grab().save(path);
  std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.toUtf8().constData());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationVersion(QStringLiteral(QXR_VERSION));
  if (argc < 2) {
    std::fprintf(stderr, "usage: qxr470-screenshots <folder> [language index]\n");
    return 1;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(folder);
  auto skin = ui::SkinResources::locate();
  if (!skin) return 1;
  ui::SkinResources::install(*skin);
  app::register_app_controls();
  app::apply_app_style();
  app::DemoMode demo;
  if (!demo.start()) return 1;
  // A phone on the pad's charger, so its power panel has something to show.
  demo.emulator()->set_phone_type(emu::DeviceType::Pad, 1);
  app::AppSettings settings(demo.folder() + QStringLiteral("/settings.ini"));
  app::CMainWnd window(settings, nullptr);
  app::install_lighting_editor(window);
  app::install_key_editor(window);
  app::install_macro_editor(window);
  app::install_headset_editor(window);
  app::install_recoil_editor(window);
  window.initialise();
  if (argc > 2) window.apply_language(QString::fromLocal8Bit(argv[2]).toInt());
  window.show();
  run_for(kStatusMs);

  const char* names[] = {"keyboard", "mouse", "mousepad", "headset"};
  bool ok = true;
  for (size_t row = 0; row < devices::device_kinds().size(); ++row) {
    const auto& model = window.devices().models()[row];
    if (model.entry == nullptr) continue;
    window.devices().entry_picked(model.entry);
    run_for(kFrameMs);
    ok &= save(&window, folder, QStringLiteral("%1.png").arg(QString::fromLatin1(names[row])));
  }
  // The keyboard's system settings and the profile menu.
  const auto& keyboard = window.devices().models()[0];
  window.devices().entry_picked(keyboard.entry);
  keyboard.page->profile_panel()->SetMenuVisible(true);
  keyboard.page->profile_panel()->SelectOptionTab(3);
  keyboard.page->show_option_page(3);
  run_for(kFrameMs);
  ok &= save(&window, folder, QStringLiteral("keyboard-system.png"));
  keyboard.page->profile_panel()->SetMenuVisible(false);

  // The keyboard's key panel, with a key chosen on the picture: Caps Lock becomes Left Ctrl.
  constexpr int kCapsLock = 63;
  constexpr size_t kLeftCtrlEntry = 0;
  keyboard.page->profile_panel()->SelectOptionTab(1);
  keyboard.page->show_option_page(1);
  if (editors::KeyPageBridge* keys = keyboard.page->key_bridge()) {
    keys->select_key(kCapsLock, {});
    if (CKeySetControlUI* panel = keys->panel()) {
      panel->StoreCurrent({kCapsLock, 0x20, 0x00, 0x00});
      panel->ShowCurrent();
      panel->TakeKeyEntry(kLeftCtrlEntry);
    }
  }
  keyboard.page->device()->drain();
  run_for(kFrameMs);
  ok &= save(&window, folder, QStringLiteral("keyboard-keys.png"));

  // The keyboard's macro panel with a short macro: Ctrl+C, a pause, a left click.
  keyboard.page->profile_panel()->SelectOptionTab(2);
  keyboard.page->show_option_page(2);
  if (editors::MacroPageBridge* macros = keyboard.page->macro_bridge()) {
    if (CMacroControlUI* panel = macros->panel()) {
      panel->AddMacro();
      panel->events().assign({{30, 9, true, 0x01}, {40, 10, true, 0x06}, {250, 10, false, 0x06}, {30, 9, false, 0x01},
                              {20, 1, true, 0x01}, {0, 1, false, 0x01}});
      panel->SelectRow(4);
      panel->SaveSelectedMacro();
    }
  }
  run_for(kFrameMs);
  ok &= save(&window, folder, QStringLiteral("keyboard-macros.png"));

  // The keyboard following music (a few spectrum blocks as the recorder sends them), and the
  // music colour window with its level display.
  keyboard.page->profile_panel()->SelectOptionTab(0);
  keyboard.page->show_option_page(0);
  if (auto* modes = keyboard.page->findChild<QComboBox*>(QStringLiteral("light_combo_modeSelect"))) {
    modes->setCurrentIndex(lighting::kModeMusic);
  }
  run_for(kFrameMs);
  std::vector<int32_t> spectrum(music::kSampleCount);
  for (int block = 0; block < 12; ++block) {
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i < spectrum.size(); ++i) {
      spectrum[i] = static_cast<int32_t>(4000 + 3500 * std::sin(0.02 * static_cast<double>(i) + block) *
                                                    std::cos(0.05 * static_cast<double>(i) * (block % 3 + 1)));
      for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(spectrum[i]) >> (8 * b)));
    }
    window.handle_message({app::MessageKind::Data, music::kSpectrumBlock, 0, bytes});
    run_for(30);
  }
  ok &= save(&window, folder, QStringLiteral("keyboard-music.png"));
  QTimer::singleShot(kFrameMs, [&] {
    MusicWnd* colours = window.music().style_window();
    if (colours == nullptr) return;
    for (int32_t& v : spectrum) v = std::abs(v - 4000) * 2;
    if (colours->level_display() != nullptr) colours->level_display()->set_samples(spectrum);
    run_for(kFrameMs);
    ok &= save(colours, folder, QStringLiteral("music-colours.png"));
    colours->reject();
  });
  window.music().open_style_window();

  // The mouse's DPI stages.
  const auto& mouse = window.devices().models()[1];
  window.devices().entry_picked(mouse.entry);
  mouse.page->profile_panel()->SelectOptionTab(4);
  mouse.page->show_option_page(4);
  run_for(kFrameMs);
  ok &= save(&window, folder, QStringLiteral("mouse-dpi.png"));

  // The mouse's recoil panel: the first gun's pull pattern, its sixth bullet chosen.
  constexpr int kRecoilTab = 8;
  constexpr int kShownBullet = 5;
  mouse.page->profile_panel()->SelectOptionTab(kRecoilTab);
  mouse.page->show_option_page(kRecoilTab);
  if (editors::RecoilPageBridge* recoil = mouse.page->recoil_bridge()) {
    if (CShootControlUI* panel = recoil->panel()) panel->SelectBullet(kShownBullet);
  }
  run_for(kFrameMs);
  ok &= save(&window, folder, QStringLiteral("mouse-recoil.png"));
  // The headset's sound page: a preset and the microphone.
  const auto& headset = window.devices().models()[3];
  if (headset.entry != nullptr) {
    window.devices().entry_picked(headset.entry);
    headset.page->profile_panel()->SelectOptionTab(5);
    headset.page->show_option_page(5);
    if (devices::DeviceOperations* device = headset.page->device(); device && device->audio_controls()) {
      device->audio_controls()->ApplyEqPreset(7);
    }
    headset.page->device()->drain();
    run_for(kFrameMs);
    ok &= save(&window, folder, QStringLiteral("headset-sound.png"));
  }
  // The settings window's general page.
  {
    app::CSetWnd settings_window(window.settings_setup(), app::CSetWnd::Page::General, &window);
    settings_window.show();
    run_for(kFrameMs);
    ok &= save(&settings_window, folder, QStringLiteral("settings.png"));
  }

  for (emu::DeviceType t : emu::kAllDeviceTypes) demo.emulator()->unplug(t);
  run_for(kSettleMs);
  ok &= save(&window, folder, QStringLiteral("no-device.png"));
  window.shutdown();
  return ok ? 0 : 1;
}
