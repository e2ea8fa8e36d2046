// The settings window and its update check, offscreen (or on the display of QT_QPA_PLATFORM):
//   BM_OpenSettingsWindow/0  opening it with update checks off, up to its first paint
//   BM_OpenSettingsWindow/1  the same while its check waits for a server that never answers:
//                            the window must not wait for the network
//   BM_UpdateCheck           a whole check of four products against a local HTTPS server (one
//                            TLS connection per product, certificates verified)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

#include <memory>

#include "app/window/set_wnd.h"
#include "bench/support/program_look.h"
#include "profile/data_paths.h"
#include "tests/support/tls_test_server.h"
#include "ui/language_config.h"

namespace {

using qxr::testing::TlsTestServer;

qxr::testing::TestCertificates g_certs;
bool g_certs_made = false;

std::vector<qxr::update::UpdateEntry> four_entries() {
  qxr::UpdateConfig config;
  config.model_code = "M0";
  config.firmware = {{1, "KB01", "M1", "Keyboard", 0x0104}, {1, "MS01", "M2", "Mouse", 0x0200}, {2, "PD01", "M3", "Pad", 0x0101}};
  return qxr::update::UpdateEntries(config, "1.0.2");
}

qxr::update::UpdateServer server_of(const TlsTestServer& server) {
  qxr::update::UpdateServer s;
  s.base_url = server.url("/api/");
  s.client.ca_file = g_certs.ca;
  return s;
}

void BM_OpenSettingsWindow(benchmark::State& state) {
  const bool checking = state.range(0) != 0;
  std::unique_ptr<TlsTestServer> server;
  if (checking) {
    if (!g_certs_made) return state.SkipWithError("no test certificates (openssl)");
    server = std::make_unique<TlsTestServer>(g_certs.server_cert, g_certs.server_key, [](const TlsTestServer::Request&) {
      return TlsTestServer::Reply{200, "{}", TlsTestServer::Behaviour::Stall};
    });
    if (!server->start()) return state.SkipWithError("the local server did not start");
  }
  QTemporaryDir folder;
  for (auto _ : state) {
    qxr::app::SetWndSetup setup;
    setup.languages = qxr::ui::read_language_config(QString::fromStdString(qxr::DefaultDataFolder()) +
                                                    QStringLiteral("Language.config"));
    setup.language = 0;
    if (server) setup.check.server = server_of(*server);
    setup.check.entries = four_entries();
    setup.check.update_time_path = folder.filePath(QStringLiteral("updatetime.config")).toStdString();
    setup.autostart_file = folder.filePath(QStringLiteral("autostart.desktop"));
    auto window = std::make_unique<qxr::app::CSetWnd>(std::move(setup), qxr::app::CSetWnd::Page::Update);
    window->show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    state.PauseTiming();
    window->done(0);
    window.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenSettingsWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

class NullSink : public qxr::update::UpdateCheckSink {
 public:
  void page_status(qxr::update::PageStatus) override {}
  void row_added(size_t, const std::string&, const std::string&) override {}
  void row_checked(size_t, const qxr::update::UpdateRowResult& r) override { newer += r.state == 1 ? 1 : 0; }
  int newer = 0;
};

void BM_UpdateCheck(benchmark::State& state) {
  if (!g_certs_made) return state.SkipWithError("no test certificates (openssl)");
  TlsTestServer server(g_certs.server_cert, g_certs.server_key, [](const TlsTestServer::Request&) {
    return TlsTestServer::Reply{200, R"({"version":"0105","version_name":"1.05","name":"n","path":"https://x/y"})"};
  });
  if (!server.start()) return state.SkipWithError("the local server did not start");
  qxr::update::UpdateCheckSetup setup{server_of(server), four_entries(), {}};
  qxr::StopEvent stop;
  NullSink sink;
  for (auto _ : state) qxr::update::RunUpdateCheck(setup, stop, sink);
  state.counters["products"] = static_cast<double>(setup.entries.size());
  state.counters["newer_per_check"] = static_cast<double>(sink.newer) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_UpdateCheck)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qxr::bench::default_to_offscreen();
  QApplication app(argc, argv);
  if (!qxr::bench::install_program_look()) return 1;
  QTemporaryDir certs;
  qputenv("no_proxy", "127.0.0.1");
  g_certs_made = certs.isValid() && qxr::testing::make_test_certificates(certs.path().toStdString(), g_certs);
  return qxr::bench::run_benchmarks(argc, argv);
}
