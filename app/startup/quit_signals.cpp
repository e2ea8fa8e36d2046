#include "app/startup/quit_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace qxr::app {
namespace {

int g_pipe[2] = {-1, -1};

void on_signal(int) {
  const char c = 1;
  // Only async-signal-safe work here: one byte to the event loop.
  [[maybe_unused]] ssize_t n = ::write(g_pipe[0], &c, 1);
}

}  // namespace

void quit_on_signals() {
  if (g_pipe[0] >= 0) return;
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(g_pipe[1], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, QCoreApplication::instance(), [] {
    char c;
    [[maybe_unused]] ssize_t n = ::read(g_pipe[1], &c, 1);
    QCoreApplication::quit();
  });
  struct sigaction sa {};
  sa.sa_handler = on_signal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGTERM, &sa, nullptr);
}

}  // namespace qxr::app
