#pragma once
// The main window's side of the music lighting: it runs the recorder (qxr470-recorder) while a
// keyboard's lighting follows music or the style window is open, and only then; takes the
// recorder's data blocks (and anyone else's, as the window took them), reduces the spectrum to
// bands and feeds the first connected keyboard; keeps the colour styles of "AudioFile.json" and
// sends the selected one to the recorder; runs the watcher thread of slot 1. UI thread.
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>

#include "ipc/local_message.h"
#include "core/worker_thread.h"
#include "music/band_reduction.h"
#include "music/exchange_buffers.h"
#include "music/recorder_supervisor.h"
#include "profile/audio_file.h"

class MusicWnd;
class QProcess;

namespace qxr::devices {
class DeviceOperations;
}

namespace qxr::app {

class CMainWnd;
class InstanceServer;
class ThreadTable;

inline constexpr char kAudioDaemonStopLine[] = "AudioDaemonThreadPrc stop";
inline constexpr int kWatcherPeriodMs = 1000;
// A recorder asked to quit that is still there after this is ended.
inline constexpr int kRecorderQuitGraceMs = 1000;
inline constexpr char kRecorderNotStartedText[] = "Record open failed!";

// The recorder beside the program: $QXR470_RECORDER, else qxr470-recorder in the program's
// folder, else the one of the build tree, else the one on the PATH.
QString recorder_program();
// The recorder's single-instance lock: the socket's name followed by its class-name suffix.
QString recorder_lock_path();

class MusicLink : public QObject, private music::RecorderActions {
  Q_OBJECT
 public:
  MusicLink(CMainWnd& window, InstanceServer* server);
  ~MusicLink() override;

  // Main-window initialisation: the watcher (slot 1), "AudioFile.json", the colour.
  void start(ThreadTable& threads);
  // Window closing: the recorder is told to go.
  void shutdown();

  // Data blocks and the recorder's lines; client is the connection they came on.
  void handle(const ipc::LocalMessage& message, quint64 client);
  void client_closed(quint64 client);
  // Whether anything needs the recorder changed (modes, devices, lighting control).
  void update_need();
  // "music_setting_btn": the style window, one at a time, modal.
  void open_style_window();

  const AudioStyles& styles() const { return styles_; }
  const music::RecorderSupervisor& supervisor() const { return supervisor_; }
  bool recorder_connected() const { return recorder_client_ != 0; }
  MusicWnd* style_window() const;
  // Spectrum blocks handled since start.
  uint64_t spectrum_blocks() const { return spectrum_blocks_; }

 private:
  void start_recorder() override;
  void connect_recorder() override;
  void stop_recorder() override;
  void show_notice(music::MusicNotice notice) override;

  void send_colour();
  void send_command(music::RecorderCommand command, int64_t value = 0);
  void on_watch(bool recorder_lock_held);
  bool needed() const;
  devices::DeviceOperations* first_keyboard() const;
  uint64_t now_ms() const;

  CMainWnd& window_;
  QPointer<InstanceServer> server_;
  music::RecorderSupervisor supervisor_{*this};
  QPointer<QProcess> process_;
  quint64 recorder_client_ = 0;
  music::ExchangeBuffers buffers_;
  music::BandReducer reducer_;
  AudioStyles styles_ = DefaultAudioStyles();
  std::string styles_path_;
  WorkerThread watcher_;
  QPointer<MusicWnd> style_window_;
  bool started_ = false;
  uint64_t spectrum_blocks_ = 0;
};

}  // namespace qxr::app
