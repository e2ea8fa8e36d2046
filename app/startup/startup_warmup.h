#pragma once
// The window's first picture waits on the font configuration, the font database and the image
// plugins, none of which depend on the window. A helper thread loads them while the main thread
// builds the window, which then finds them ready (the libraries share and lock them).
#include <QString>
#include <QStringList>

#include <atomic>
#include <semaphore>
#include <thread>

namespace qxr::app {

class StartupWarmup {
 public:
  // Starts at once with the font configuration, which needs no application object.
  StartupWarmup();
  ~StartupWarmup();
  StartupWarmup(const StartupWarmup&) = delete;
  StartupWarmup& operator=(const StartupWarmup&) = delete;

  // The application object exists: the fonts of these families and the image plugins and icon
  // engines of these pictures (SVG icons, or images) may load.
  void application_ready(const QStringList& families, int pixel_size, const QStringList& pictures);
  // Waits for the helper; must run before the application object goes.
  void finish();

 private:
  void run();
  void release_once(bool cancel);

  std::binary_semaphore ready_{0};
  bool released_ = false;
  std::atomic<bool> cancelled_{false};
  QStringList families_;
  int pixel_size_ = 0;
  QStringList pictures_;
  std::thread thread_;
};

}  // namespace qxr::app
