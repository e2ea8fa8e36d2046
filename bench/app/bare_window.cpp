// The yardstick of the start-up benchmark: the smallest Qt Widgets program that paints a
// window, reporting its first paint the way qxr470 does. With --text the window also shows one
// line of text, so the figure includes what any text costs first (the font configuration).
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <time.h>

namespace {

class Window : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    if (reported_) return;
    reported_ = true;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::fprintf(stderr, "first-paint-ns %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stderr);
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
  }

 private:
  bool reported_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  Window w;
  w.resize(1000, 640);
  if (argc > 1 && QString::fromLocal8Bit(argv[1]) == QLatin1String("--text")) {
    auto* label = new QLabel(QStringLiteral("Keyboard"), &w);
    label->move(20, 20);
  }
  w.show();
  return QApplication::exec();
}
