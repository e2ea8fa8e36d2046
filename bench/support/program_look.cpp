#include "bench/support/program_look.h"

#include <benchmark/benchmark.h>

#include <QtGlobal>

#include "app/window/app_controls.h"
#include "app/window/app_style.h"
#include "ui/skin_resources.h"

namespace qxr::bench {

void default_to_offscreen() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

bool install_program_look() {
  auto resources = ui::SkinResources::locate();
  if (!resources) return false;
  ui::SkinResources::install(*resources);
  app::register_app_controls();
  app::apply_app_style();
  return true;
}

int run_benchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace qxr::bench
