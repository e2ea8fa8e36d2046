#include "update/update_check.h"

#include "core/debug_line.h"

namespace qxr::update {

UpdateRowResult RowResultFor(const UpdateEntry& entry, const UpdateInfo& info) {
  UpdateRowResult r;
  const bool failed = info.status == kUpdateFailed || info.name == kNoLinkServer;
  r.state = failed ? kUpdateFailed : info.status;
  if (!failed) r.name = info.name;
  // A failed check keeps the installed version the row showed.
  r.installed = info.local_version.empty() ? RowVersionText(entry) : info.local_version;
  if (r.state == kUpdateNewer) {
    r.offered = info.remote_version;
    r.path = info.path;
  }
  return r;
}

PageStatus RunUpdateCheck(const UpdateCheckSetup& setup, const StopEvent& stop, UpdateCheckSink& sink) {
  const auto deadline = std::chrono::steady_clock::now() + setup.deadline;
  sink.page_status(PageStatus::Checking);
  for (size_t i = 0; i < setup.entries.size(); ++i) {
    sink.row_added(i, RowName(setup.entries[i]), RowVersionText(setup.entries[i]));
  }
  bool newer = false;
  bool any_reply = false;
  HttpSettings settings;
  for (size_t i = 0; i < setup.entries.size(); ++i) {
    if (stop.is_set()) return PageStatus::Checking;
    const UpdateEntry& entry = setup.entries[i];
    const UpdateInfo info = RequestUpdateInfo(settings, setup.server, ProductKey(entry), entry.version,
                                              entry.hex_versions(), {&stop, deadline});
    if (stop.is_set()) return PageStatus::Checking;
    const UpdateRowResult row = RowResultFor(entry, info);
    debug_fmt("update check {}: state {} (error {}, HTTP {})", ProductKey(entry), row.state, settings.last_error,
              settings.last_status);
    sink.row_checked(i, row);
    if (row.state == kUpdateFailed) continue;
    any_reply = true;
    newer = newer || row.state == kUpdateNewer;
    if (!setup.update_time_path.empty()) WriteUpdateTime(setup.update_time_path, FormatUpdateDate(TodayLocal()));
  }
  const PageStatus status = newer ? PageStatus::HaveUpdate : any_reply ? PageStatus::UpToDate : PageStatus::NoUpdateInfo;
  sink.page_status(status);
  return status;
}

}  // namespace qxr::update
