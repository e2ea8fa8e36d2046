#pragma once
// Tells the user, once per burst, that changes could not be saved: which folder and the system's
// reason. Nothing else changes: the devices keep their state in memory and the next change tries
// again; the files on disk stay as they were.
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <string>

namespace qxr::app {

// Failures closer together than this belong to one burst; a successful write ends it at once.
inline constexpr int kSaveFailureQuietMs = 60000;
inline constexpr char kSaveFailedText[] = "save_failed_text";

class SaveFailureNotice : public QObject {
  Q_OBJECT
 public:
  // Listens to every write from now on; the notices appear over window.
  explicit SaveFailureNotice(QWidget* window);
  ~SaveFailureNotice() override;

  // The outcome of one write (UI thread); error 0: written.
  void take(const std::string& path, int error);
  int shown() const { return shown_; }

 private:
  QPointer<QWidget> window_;
  bool failing_ = false;
  QElapsedTimer last_failure_;
  int shown_ = 0;
};

// "<the folder of path>" and the system's text for error, in the notice's words.
QString save_failure_text(const std::string& path, int error);

}  // namespace qxr::app
