#pragma once
// The commands of qxr470ctl. Each fills the output and returns the process exit code.
#include "tools/qxr470ctl/args.h"
#include "tools/qxr470ctl/output.h"

namespace qxr::ctl {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // no device, no access, or the device refused
inline constexpr int kExitUsage = 2;

// Runs args.command; an unknown command or wrong operands give kExitUsage.
int run_command(const Args& args, Output& out);

}  // namespace qxr::ctl
