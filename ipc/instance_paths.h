#pragma once
// Where the running program's single-instance lock and local socket live: both named from the
// application identity in $XDG_RUNTIME_DIR, or in the temporary folder with the user id appended
// when there is no private runtime folder.
#include <string>

namespace qxr::ipc {

std::string instance_socket_path();
std::string instance_lock_path();

}  // namespace qxr::ipc
