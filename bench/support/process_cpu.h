#pragma once
// The CPU time of another process, as the kernel counts it.
#include <sys/types.h>

namespace qxr::bench {

// Time on the CPU of every thread of a process, in seconds: the scheduler's nanosecond counts,
// or its clock ticks where those are not kept; -1 when the process is gone.
double cpu_seconds(pid_t pid);

}  // namespace qxr::bench
