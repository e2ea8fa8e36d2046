#pragma once
// What the benchmarks that build the program's windows share: the offscreen platform unless
// another is asked for, the program's look, and the run of the benchmarks named on the
// command line.

namespace qxr::bench {

// Before the application object exists.
void default_to_offscreen();
// After it: the skin's resources, the program's controls and its style sheet. False when the
// skin is not found.
bool install_program_look();
// main's exit code.
int run_benchmarks(int argc, char** argv);

}  // namespace qxr::bench
