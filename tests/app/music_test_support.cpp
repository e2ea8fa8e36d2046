#include "tests/app/music_test_support.h"

#include <QComboBox>
#include <QFile>
#include <QStandardPaths>

#include <cmath>
#include <numbers>

#include "app/pages/device_page_widget.h"
#include "app/window/light_panels.h"
#include "ipc/local_message.h"
#include "tests/support/event_loop.h"

namespace qxr::app::testing {

using qxr::testing::qt::wait_until;
using ipc::connect_local;
using ipc::receive_some;
using ipc::send_all;
using ipc::SocketResult;

void MusicWindowTest::SetUp() {
  EmulatedWindowTest::SetUp();
  qunsetenv("QXR470_RECORDER");
}

void MusicWindowTest::TearDown() {
  EmulatedWindowTest::TearDown();
  server_.reset();
  qunsetenv("QXR470_RECORDER");
}

void MusicWindowTest::start_serving(const std::vector<emu::DeviceType>& plugged) {
  server_ = std::make_unique<InstanceServer>();
  ASSERT_TRUE(server_->claim());
  ASSERT_TRUE(emu_->start(plugged));
  window_ = std::make_unique<CMainWnd>(*settings_, server_.get());
  ASSERT_TRUE(window_->loaded());
  install_lighting_editor(*window_);  // the mode combo, as the program has it
  QObject::connect(server_.get(), &InstanceServer::message_received, window_.get(), &CMainWnd::handle_message);
  window_->initialise();
  window_->show();
}

void MusicWindowTest::use_idle_recorder() {
  const QString script = folder() + QStringLiteral("/idle-recorder.sh");
  QFile f(script);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("#!/bin/sh\nexec sleep 60\n");
  f.close();
  f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  qputenv("QXR470_RECORDER", script.toUtf8());
}

devices::CMarluneUSBDevice* MusicWindowTest::keyboard_device() const { return page(kKeyboardRow)->device(); }

void MusicWindowTest::choose_keyboard_mode(int mode) {
  auto* combo = page(kKeyboardRow)->findChild<QComboBox*>(QStringLiteral("light_combo_modeSelect"));
  ASSERT_NE(combo, nullptr);
  // The modes are filled once the keyboard's profile is shown.
  ASSERT_TRUE(wait_until([&] { return combo->count() > mode; }));
  combo->setCurrentIndex(mode);
  ASSERT_TRUE(wait_until([&] { return keyboard_device()->GetLightInfo().select_item == mode; }));
}

// ---- the fake recorder ----

bool FakeRecorder::connect() {
  SocketResult r = connect_local(instance_socket_path(), 2000);
  fd_ = std::move(r.fd);
  return fd_.valid();
}

void FakeRecorder::send(const std::string& line) { send_all(fd_.get(), line, 1000); }

std::vector<std::string> FakeRecorder::lines(size_t count, int timeout_ms) {
  wait_until(
      [&] {
        receive_some(fd_.get(), input_, 64 * 1024);
        for (size_t end; (end = input_.find('\n')) != std::string::npos;) {
          std::string line = input_.substr(0, end);
          input_.erase(0, end + 1);
          // Every client is greeted with the lighting announcement; a recorder skips it.
          if (line.rfind(ipc::message_name(ipc::MessageKind::LightAnnounce), 0) != 0) lines_.push_back(std::move(line));
        }
        return lines_.size() >= count;
      },
      timeout_ms);
  return lines_;
}

// ---- the private sound server ----

PrivateSoundServer::~PrivateSoundServer() {
  stop_tone();
  if (server_.state() != QProcess::NotRunning) {
    server_.terminate();
    if (!server_.waitForFinished(3000)) server_.kill();
    server_.waitForFinished(1000);
  }
  if (set_env_) {
    if (previous_pulse_server_.isEmpty()) {
      qunsetenv("PULSE_SERVER");
    } else {
      qputenv("PULSE_SERVER", previous_pulse_server_);
    }
  }
}

QString PrivateSoundServer::start() {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
  if (program.isEmpty()) return QStringLiteral("pulseaudio is not installed (scripts/install-deps.sh installs it)");
  if (QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty())
    return QStringLiteral("pactl is not installed (pulseaudio-utils)");
  const QString dir = QString::fromStdString(dir_.path());
  const QString socket = dir + QStringLiteral("/native");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("HOME"), dir);
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir);
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir);
  env.remove(QStringLiteral("PULSE_SERVER"));
  server_.setProcessEnvironment(env);
  server_.setProcessChannelMode(QProcess::MergedChannels);
  server_.start(program, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"), QStringLiteral("--exit-idle-time=-1"),
                          QStringLiteral("--disallow-exit"), QStringLiteral("--use-pid-file=no"),
                          QStringLiteral("--disable-shm=yes"), QStringLiteral("--log-target=stderr"),
                          QStringLiteral("--load=module-null-sink sink_name=qxr_test rate=48000"),
                          QStringLiteral("--load=module-native-protocol-unix socket=%1 auth-anonymous=1").arg(socket)});
  if (!server_.waitForStarted(5000)) return QStringLiteral("pulseaudio did not start: ") + server_.errorString();
  previous_pulse_server_ = qgetenv("PULSE_SERVER");
  qputenv("PULSE_SERVER", (QStringLiteral("unix:") + socket).toUtf8());
  set_env_ = true;
  const bool up = wait_until([&] { return pactl({QStringLiteral("info")}).has_value(); }, 10000);
  if (!up) return QStringLiteral("pulseaudio did not answer: ") + QString::fromLocal8Bit(server_.readAll());
  return {};
}

std::optional<QString> PrivateSoundServer::pactl(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral("pactl"), args);
  if (!p.waitForFinished(5000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) return std::nullopt;
  return QString::fromLocal8Bit(p.readAllStandardOutput());
}

bool PrivateSoundServer::play_tone(double hz, double amplitude, double seconds) {
  constexpr int kRate = 48000;
  QByteArray pcm;
  const int n = static_cast<int>(seconds * kRate);
  pcm.resize(n * static_cast<int>(sizeof(float)));
  auto* out = reinterpret_cast<float*>(pcm.data());
  for (int i = 0; i < n; ++i) out[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * i / kRate));
  player_.start(QStringLiteral("pacat"), {QStringLiteral("--playback"), QStringLiteral("--raw"),
                                          QStringLiteral("--format=float32le"), QStringLiteral("--rate=48000"),
                                          QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=20")});
  if (!player_.waitForStarted(5000)) return false;
  player_.write(pcm);
  player_.closeWriteChannel();
  return true;
}

void PrivateSoundServer::stop_tone() {
  if (player_.state() == QProcess::NotRunning) return;
  player_.kill();
  player_.waitForFinished(2000);
}

}  // namespace qxr::app::testing
