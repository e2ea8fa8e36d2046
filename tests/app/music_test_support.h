#pragma once
// The music lighting's tests: a main window that serves the local socket, a client that plays
// the recorder's part, and a private sound server.
#include <QProcess>
#include <QString>

#include <optional>
#include <string>
#include <vector>

#include "ipc/local_message.h"
#include "app/startup/instance_server.h"
#include "ipc/unix_socket.h"
#include "tests/app/app_test_support.h"
#include "tests/support/temp_folder.h"

namespace qxr::app::testing {

class MusicWindowTest : public EmulatedWindowTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A window serving the socket, with the devices plugged; initialised and shown.
  void start_serving(const std::vector<emu::DeviceType>& plugged);
  // The recorder the program starts: a script that only waits (the test plays the recorder).
  void use_idle_recorder();
  // Puts the keyboard's lighting into mode, as the lighting panel's mode list does.
  void choose_keyboard_mode(int mode);
  devices::CMarluneUSBDevice* keyboard_device() const;

  std::unique_ptr<InstanceServer> server_;
};

// Connects to the program's socket as the recorder would.
class FakeRecorder {
 public:
  bool connect();
  void send(const std::string& line);
  // Lines the program sent, as they came (waits up to timeout_ms for at least `count`).
  std::vector<std::string> lines(size_t count, int timeout_ms = 5000);

 private:
  ipc::UniqueFd fd_;
  std::string input_;
  std::vector<std::string> lines_;
};

// A PulseAudio server of the test's own: a null output, its own runtime folder, reached through
// PULSE_SERVER (children inherit it).
class PrivateSoundServer {
 public:
  ~PrivateSoundServer();
  // Empty when running, else why not.
  QString start();
  // "pactl <args>" against the server; its output, or nothing when it failed.
  std::optional<QString> pactl(const QStringList& args);
  // Plays seconds of a sine (frequency, amplitude 0-1) through the null output; returns at once.
  bool play_tone(double hz, double amplitude, double seconds);
  void stop_tone();

 private:
  qxr::testing::TempFolder dir_;
  QProcess server_;
  QProcess player_;
  QByteArray previous_pulse_server_;
  bool set_env_ = false;
};

}  // namespace qxr::app::testing
