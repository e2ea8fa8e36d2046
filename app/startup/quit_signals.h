#pragma once
// SIGINT and SIGTERM end the program the orderly way (threads stopped, demo folder removed).
#include <QObject>

namespace qxr::app {

// Installs the handlers; the application quits from its event loop when one arrives.
void quit_on_signals();

}  // namespace qxr::app
