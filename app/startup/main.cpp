#include "app/startup/startup.h"

int main(int argc, char** argv) { return qxr::app::run_program(argc, argv); }
