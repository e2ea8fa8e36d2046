// The keyboard picture in the program's window, built from the real skin and style sheet,
// offscreen:
//   BM_KeyboardFrame/0   the UI thread's cost of one frame: every key's light colour changes,
//                        then the event loop paints (the program shows 20 a second); a light
//                        frame repaints only the faces' middles (light_only: share of frames)
//   BM_KeyboardFrame/1   the same when the whole picture is repainted with every frame
//   BM_KeyLabels/0       rebuilding every key's label after an Apply that changed none
//   BM_KeyLabels/1       the same when every key changed its function (and is repainted)
// Target for the labels: under 2 ms on the UI thread.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QColor>
#include <QVBoxLayout>

#include <QTemporaryDir>

#include <memory>
#include <vector>

#include "app/pages/device_page_widget.h"
#include "app/pages/fast_key_button.h"
#include "app/pages/key_canvas.h"
#include "bench/support/program_look.h"
#include "devices/usb_device.h"
#include "profile/data_paths.h"
#include "ui/skin_loader.h"

namespace {

constexpr char kKeyboardSkin[] = "keyboarddevice.ui";
constexpr char kKeyCanvasName[] = "keyboard_device_key_light";
constexpr int kHueStep = 7;
constexpr int kHues = 360;

void BM_KeyboardFrame(benchmark::State& state) {
  const bool whole = state.range(0) != 0;
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  qxr::ui::SkinLoader loader;
  QWidget* page = loader.load_skin(QString::fromLatin1(kKeyboardSkin), &window);
  auto* canvas = page == nullptr ? nullptr : page->findChild<qxr::app::KeyCanvas*>(QString::fromLatin1(kKeyCanvasName));
  if (canvas == nullptr) {
    state.SkipWithError("the keyboard skin has no key canvas");
    return;
  }
  layout->addWidget(page);
  window.show();
  QCoreApplication::processEvents();
  std::vector<qxr::app::FastKeyButton*> keys;
  for (auto* key : canvas->findChildren<qxr::app::FastKeyButton*>()) {
    if (!key->isHidden()) keys.push_back(key);
  }
  int hue = 0;
  int faces = 0;
  int light_only = 0;
  for (auto _ : state) {
    for (size_t i = 0; i < keys.size(); ++i) {
      keys[i]->set_light_colour(QColor::fromHsv((hue + static_cast<int>(i) * kHueStep) % kHues, 255, 255));
    }
    if (whole) canvas->update();
    hue = (hue + kHueStep) % kHues;
    // The queued change, then the paint it asks for.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    faces += canvas->last_paint_faces();
    light_only += canvas->last_paint_light_only() ? 1 : 0;
  }
  const auto frames = static_cast<double>(state.iterations());
  state.counters["keys"] = static_cast<double>(keys.size());
  state.counters["faces_per_frame"] = static_cast<double>(faces) / frames;
  state.counters["light_only"] = static_cast<double>(light_only) / frames;
}
BENCHMARK(BM_KeyboardFrame)->ArgName("whole")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

constexpr size_t kKeyboardRow = 0;

void BM_KeyLabels(benchmark::State& state) {
  const bool changing = state.range(0) != 0;
  qxr::app::DevicePageWidget page(kKeyboardRow);
  if (!page.loaded() || page.key_bridge() == nullptr || page.key_bridge()->panel() == nullptr) {
    state.SkipWithError("the keyboard page has no key panel");
    return;
  }
  page.show();
  qxr::devices::CMarluneUSBDevice& device = *page.device();
  device.load_profile_now();
  const std::vector<qxr::KeyAssignRecord> factory = device.key_list();
  std::vector<qxr::KeyAssignRecord> changed = factory;
  for (qxr::KeyAssignRecord& r : changed) r.assignment = {r.assignment.key_index, 0x30, 0xCD, 0x00};  // play/pause
  bool flip = false;
  page.rebuild_key_labels();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    if (changing) {
      state.PauseTiming();
      device.store_key_list((flip = !flip) ? changed : factory);
      device.drain();
      state.ResumeTiming();
    }
    page.rebuild_key_labels();
    QCoreApplication::processEvents();
  }
  state.counters["keys"] = static_cast<double>(factory.size());
}
BENCHMARK(BM_KeyLabels)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qxr::bench::default_to_offscreen();
  QApplication app(argc, argv);
  if (!qxr::bench::install_program_look()) return 1;
  // The pages keep their profiles in a private folder, not the user's.
  QTemporaryDir data;
  qxr::SetUserDataRoot(data.path().toStdString() + "/");
  return qxr::bench::run_benchmarks(argc, argv);
}
