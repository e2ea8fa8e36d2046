#pragma once
// The program's entry: fonts, single instance, skin and controls, the main window and its
// event loop, then the teardown in reverse order.
namespace qxr::app {

// Exit code: 0 after a normal run and for a second start; 1 when the skin is missing or the
// command line is wrong; --send: 0 sent, 1 no running program, 2 not sent.
int run_program(int argc, char** argv);

}  // namespace qxr::app
