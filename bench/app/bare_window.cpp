// The yardstick of the start-up benchmark: the smallest Qt Widgets program that paints a
// window, reporting its first paint the way qxr470 does. With --text the window also shows one
// line of text, so the figure includes what any text costs first (the font configuration).
// With --animate it is the yardstick of the running benchmark instead: a keyboard's worth of
// labelled keys in the program's window, all recoloured 20 times a second, which is the least
// any program showing such a wave pays the machine and its X server.
#include <QApplication>
#include <QLabel>
#include <QPainter>
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

class Keys : public QWidget {
 public:
  Keys() {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this] {
      ++frame_;
      update(area());
    });
    timer->start(50);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    const QRect all = area();
    for (int row = 0; row < kRows; ++row) {
      for (int col = 0; col < kColumns; ++col) {
        const QRect key(all.x() + col * kPitch, all.y() + row * kPitch, kPitch - 4, kPitch - 4);
        p.fillRect(key, QColor::fromHsv((col * 16 + frame_ * 8) % 360, 230, 220));
        p.drawText(key, Qt::AlignCenter, QString::number(row * kColumns + col));
      }
    }
  }

 private:
  static constexpr int kRows = 6, kColumns = 22, kPitch = 40;
  static QRect area() { return {60, 140, kColumns * kPitch, kRows * kPitch}; }
  int frame_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (mode == QLatin1String("--animate")) {
    Keys keys;
    keys.resize(1000, 640);
    keys.show();
    return QApplication::exec();
  }
  Window w;
  w.resize(1000, 640);
  if (mode == QLatin1String("--text")) {
    auto* label = new QLabel(QStringLiteral("Keyboard"), &w);
    label->move(20, 20);
  }
  w.show();
  return QApplication::exec();
}
