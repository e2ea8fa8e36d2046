#pragma once
// qxr470ctl device-table: the running program's device table, asked for over its local socket.
#include "tools/qxr470ctl/args.h"
#include "tools/qxr470ctl/output.h"

namespace qxr::ctl {

int run_device_table(const Args& args, Output& out);

}  // namespace qxr::ctl
