#pragma once
// Moments of the start-up that the whole-program benchmark (bench/app) asks for through the
// environment: each is written to stderr as "<name>-ns <CLOCK_MONOTONIC ns>", then the program
// ends.
//   QXR470_BENCH_FIRST_PAINT=1   the main window's first paint
//   QXR470_BENCH_CONNECTED=<n>   the connect of n devices has run, its last command answered
#include <QObject>
#include <QSet>

namespace qxr::app {

class CMainWnd;

// Watches window for whatever the environment asks; does nothing when it asks nothing.
class BenchReports : public QObject {
  Q_OBJECT
 public:
  explicit BenchReports(CMainWnd& window);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void report(const char* name);

  bool paint_reported_ = false;
  int connects_wanted_ = 0;
  QSet<const void*> connected_;
};

}  // namespace qxr::app
