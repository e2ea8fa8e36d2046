#pragma once
// Names for the program's threads, as `top -H`, `ps -L` and profilers show them: what a thread
// serves and what it does there ("keyboard light", "mouse events", "discovery"). The kernel
// keeps at most kThreadNameMax bytes of a name.
#include <cstddef>
#include <string>
#include <string_view>
#include <thread>

namespace qxr {

inline constexpr size_t kThreadNameMax = 15;

// "owner role", cut to kThreadNameMax bytes; the role alone when there is no owner.
std::string thread_name(std::string_view owner, std::string_view role);
// Names the calling thread; an empty name leaves it as it is.
void name_this_thread(std::string_view name);
// Names a running thread from outside; false when the thread is not running.
bool name_thread(std::thread& thread, std::string_view name);
// The calling thread's name as the kernel keeps it (tests, diagnostics).
std::string this_thread_name();

}  // namespace qxr
