#include "app/window/music_link.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

#include "app/pages/device_page_widget.h"
#include "app/startup/instance_server.h"
#include "app/window/main_wnd.h"
#include "app/window/thread_table.h"
#include "app/window/user_prompts.h"
#include "core/clock.h"
#include "core/debug_line.h"
#include "core/file_lock.h"
#include "devices/lighting/keyboard_modes.h"
#include "profile/data_paths.h"
#include "ui/controls/audio_record.h"
#include "ui/music_wnd.h"

namespace qxr::app {
namespace {

using music::MusicNotice;
using music::RecorderCommand;

bool is_music_mode(uint8_t mode) { return mode == lighting::kModeMusic || mode == lighting::kModeFedColour; }

const char* notice_text(MusicNotice notice) {
  switch (notice) {
    case MusicNotice::RecorderNotStarted:
      return kRecorderNotStartedText;
    case MusicNotice::RecorderEnded:
      return "music_notice_ended";
    case MusicNotice::NoSoundServer:
      return "music_notice_no_server";
    case MusicNotice::NoOutput:
      return "music_notice_no_output";
  }
  return "";
}

}  // namespace

QString recorder_program() {
  const QString name = QString::fromLatin1(music::kRecorderProgram);
  const QString chosen = qEnvironmentVariable("QXR470_RECORDER");
  if (!chosen.isEmpty()) return chosen;
  const QString beside = QCoreApplication::applicationDirPath() + QLatin1Char('/') + name;
  if (QFileInfo(beside).isExecutable()) return beside;
#ifdef QXR_BUILD_RECORDER
  if (QFileInfo(QStringLiteral(QXR_BUILD_RECORDER)).isExecutable()) return QStringLiteral(QXR_BUILD_RECORDER);
#endif
  const QString found = QStandardPaths::findExecutable(name);
  return found.isEmpty() ? name : found;
}

QString recorder_lock_path() {
  return QString::fromStdString(instance_socket_path()) + QString::fromLatin1(music::kRecorderClassSuffix) + QStringLiteral(".lock");
}

MusicLink::MusicLink(CMainWnd& window, InstanceServer* server) : QObject(&window), window_(window), server_(server) {}

MusicLink::~MusicLink() {
  watcher_.stop();
  shutdown();
}

MusicWnd* MusicLink::style_window() const { return style_window_.data(); }

uint64_t MusicLink::now_ms() const { return system_clock().now_ms(); }

void MusicLink::start(ThreadTable& threads) {
  if (started_) return;
  started_ = true;
  const std::string lock = recorder_lock_path().toStdString();
  watcher_.set_name("music watcher");
  watcher_.start([this, lock](StopEvent& stop) {
    while (!stop.wait(kWatcherPeriodMs)) {
      const bool held = FileLock::is_held(lock);
      QMetaObject::invokeMethod(this, [this, held] { on_watch(held); }, Qt::QueuedConnection);
    }
    debug_line(kAudioDaemonStopLine);
  });
  threads.attach(kAudioDaemonSlot, [this] { watcher_.stop_event().set(); }, [this] { return watcher_.stop(); });
  styles_path_ = UserDataRoot() + kAudioFileName;
  styles_ = LoadAudioFile(styles_path_);
  send_colour();
  update_need();
}

void MusicLink::shutdown() {
  supervisor_.set_needed(false, now_ms());
  // Told to quit; a recorder still there after the grace time is ended, none is left behind.
  for (QProcess* p : findChildren<QProcess*>()) {
    if (p->state() == QProcess::NotRunning) continue;
    if (!p->waitForFinished(kRecorderQuitGraceMs)) {
      p->terminate();
      p->waitForFinished(kRecorderQuitGraceMs);
    }
  }
}

void MusicLink::on_watch(bool recorder_lock_held) {
  // A recorder we started whose lock is gone has ended, whatever its process says.
  if (!recorder_lock_held && recorder_client_ != 0 && (process_ == nullptr || process_->state() == QProcess::NotRunning)) {
    recorder_client_ = 0;
    supervisor_.ended(now_ms());
  }
  update_need();
  supervisor_.tick(now_ms());
}

bool MusicLink::needed() const {
  // Without the socket the recorder could not reach us.
  if (server_ == nullptr || !server_->serving()) return false;
  if (style_window_ != nullptr) return true;
  if (!window_.lighting_controlled() || !window_.awake()) return false;
  for (const DeviceManager::Model& m : window_.devices().models()) {
    if (m.page == nullptr) continue;
    const devices::DeviceOperations& device = *m.page->device();
    if (device.capabilities().music && device.connected() && is_music_mode(device.GetLightInfo().select_item)) return true;
  }
  return false;
}

void MusicLink::update_need() {
  if (!started_) return;
  supervisor_.set_needed(needed(), now_ms());
}

devices::DeviceOperations* MusicLink::first_keyboard() const {
  for (const DeviceManager::Model& m : window_.devices().models()) {
    if (m.page == nullptr) continue;
    devices::DeviceOperations* device = m.page->device();
    if (device->capabilities().music && device->connected()) return device;
  }
  return nullptr;
}

// ---- messages ----

void MusicLink::handle(const ipc::LocalMessage& m, quint64 client) {
  switch (m.kind) {
    case MessageKind::Data: {
      const std::optional<int64_t> kept = buffers_.store(m.wparam, m.data);
      if (!kept) break;
      devices::DeviceOperations* keyboard = first_keyboard();
      if (*kept == music::kSpectrumBlock) {
        ++spectrum_blocks_;
        const music::SampleFrame samples = buffers_.samples();
        const music::SampleFrame& bands = reducer_.reduce(samples);
        if (keyboard != nullptr) keyboard->FeedSpectrum(bands.data(), bands.size(), 0);
        if (style_window_ != nullptr && style_window_->level_display() != nullptr)
          style_window_->level_display()->set_samples(samples);
      } else if (keyboard != nullptr) {
        keyboard->FeedLevels(buffers_.levels().data(), buffers_.levels().size());
      }
      break;
    }
    case MessageKind::RecorderReady:
      // Only the recorder we started counts; another one quits when asked.
      if (supervisor_.phase() != music::RecorderSupervisor::Phase::Starting || recorder_client_ != 0) break;
      recorder_client_ = client;
      supervisor_.recorder_ready(now_ms());
      break;
    case MessageKind::RecorderState:
      if (client != recorder_client_) break;
      if (auto state = music::recorder_state_from(m.wparam)) supervisor_.recorder_state(*state);
      break;
    default:
      break;
  }
}

void MusicLink::client_closed(quint64 client) {
  if (client == 0 || client != recorder_client_) return;
  recorder_client_ = 0;
  supervisor_.ended(now_ms());
}

// ---- what the supervisor asks ----

void MusicLink::start_recorder() {
  auto* process = new QProcess(this);
  process->setProcessChannelMode(QProcess::ForwardedChannels);
  process_ = process;
  connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    debug_fmt("{}: {}", recorder_program().toStdString(), process->errorString().toStdString());
    process->deleteLater();
    if (process_ == process) supervisor_.start_failed(now_ms());
  });
  connect(process, &QProcess::finished, this, [this, process] {
    process->deleteLater();
    if (process_ != process) return;
    recorder_client_ = 0;
    supervisor_.ended(now_ms());
  });
  process->start(recorder_program(), {QStringLiteral("--socket"), QString::fromStdString(instance_socket_path()), QStringLiteral("--lock"),
                                      recorder_lock_path()});
}

void MusicLink::connect_recorder() {
  for (RecorderCommand c : music::kConnectCommands)
    send_command(c, c == RecorderCommand::Attach ? QCoreApplication::applicationPid() : 0);
  send_colour();
}

void MusicLink::stop_recorder() {
  for (RecorderCommand c : music::kDisconnectCommands) send_command(c);
  recorder_client_ = 0;
  QPointer<QProcess> process = process_;
  process_ = nullptr;
  if (process == nullptr) return;
  // It quits when told (or when its connection goes); one that does not is ended.
  QTimer::singleShot(kRecorderQuitGraceMs, process, [process] {
    if (process != nullptr && process->state() != QProcess::NotRunning) process->terminate();
  });
}

void MusicLink::show_notice(MusicNotice notice) {
  const QString text = QString::fromLatin1(notice_text(notice));
  // Not from within the supervisor's own call, and never waiting for the user.
  QTimer::singleShot(0, this, [this, text] { prompts().notify(&window_, text); });
}

void MusicLink::send_command(RecorderCommand command, int64_t value) {
  if (server_ == nullptr || recorder_client_ == 0) return;
  server_->send_to(recorder_client_, {MessageKind::RecorderCmd, static_cast<int>(command), value, {}});
}

void MusicLink::send_colour() {
  if (server_ == nullptr || recorder_client_ == 0) return;
  const AudioStyle& s = styles_.current();
  const auto block = music::colour_block({s.red, s.green, s.blue});
  server_->send_to(recorder_client_, {MessageKind::Data, music::kColourBlock, 0, {block.begin(), block.end()}});
}

// ---- the style window ----

void MusicLink::open_style_window() {
  if (style_window_ != nullptr) {
    style_window_->raise();
    style_window_->activateWindow();
    return;
  }
  MusicWnd window(styles_, &window_);
  style_window_ = &window;
  update_need();
  const int result = window.ShowModal();
  style_window_ = nullptr;
  if (result == MusicWnd::kResultOk) {
    styles_ = window.styles();
    SaveAudioFile(styles_path_, styles_);
    send_colour();
  }
  update_need();
}

}  // namespace qxr::app
