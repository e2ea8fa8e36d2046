#pragma once
// The update check the settings window runs on its worker thread: one row per product, each
// product asked in turn, the rows and the page status reported to a sink as they change. The
// sink is called on the worker thread; a window hands the calls on to its own thread.
#include <chrono>
#include <string>
#include <vector>

#include "core/stop_event.h"
#include "update/update_entries.h"
#include "update/update_info.h"
#include "update/update_states.h"

namespace qxr::update {

// The whole check ends by then, however the server behaves.
inline constexpr std::chrono::milliseconds kUpdateCheckDeadline{60000};

// What a row shows once its product was asked.
struct UpdateRowResult {
  int state = kUpdateCurrent;  // kUpdateFailed, kUpdateNewer or kUpdateCurrent
  std::string name;            // empty for a failed check
  std::string installed;       // "OldRev"
  std::string offered;         // "updateRev"; empty unless a newer version is offered
  std::string path;            // the row's user data: where the newer version is offered
};

UpdateRowResult RowResultFor(const UpdateEntry& entry, const UpdateInfo& info);

class UpdateCheckSink {
 public:
  virtual ~UpdateCheckSink() = default;
  virtual void page_status(PageStatus status) = 0;
  virtual void row_added(size_t row, const std::string& name, const std::string& installed) = 0;
  virtual void row_checked(size_t row, const UpdateRowResult& result) = 0;
};

struct UpdateCheckSetup {
  UpdateServer server;  // an empty base URL means no checks
  std::vector<UpdateEntry> entries;
  std::string update_time_path;  // "updatetime.config"
  std::chrono::milliseconds deadline = kUpdateCheckDeadline;
};

// Runs the check: page status 0, the rows with state 7, then each product asked in turn;
// "updatetime.config" takes today's date after each check that got a reply. Ends with page
// status 1 when a newer version is offered, 2 when every check failed, 4 otherwise. Returns the
// final status; when stop is set the check ends early and reports nothing more.
PageStatus RunUpdateCheck(const UpdateCheckSetup& setup, const StopEvent& stop, UpdateCheckSink& sink);

}  // namespace qxr::update
