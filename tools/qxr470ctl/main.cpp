// qxr470ctl: looks at the supported devices through the same transport and command channel as
// the configuration program, on hidraw nodes and emulator folders alike.
#include <iostream>

#include "hid/enumeration.h"
#include "tools/qxr470ctl/args.h"
#include "tools/qxr470ctl/ctl_commands.h"
#include "tools/qxr470ctl/output.h"

int main(int argc, char** argv) {
  using namespace qxr::ctl;
  Args args;
  std::string error;
  switch (parse_args(argc, argv, &args, &error)) {
    case ParseOutcome::kHelp:
      std::cout << usage_text();
      return kExitOk;
    case ParseOutcome::kError:
      std::cerr << "qxr470ctl: " << error << "\n" << usage_text();
      return kExitUsage;
    case ParseOutcome::kRun:
      break;
  }
  if (args.emulator_dir.empty()) qxr::hid::use_emulator_dir_from_environment();
  if (args.emulator_dir.empty()) args.emulator_dir = qxr::hid::emulator_dir();
  Output out(args.json);
  int rc = run_command(args, out);
  out.flush();
  return rc;
}
