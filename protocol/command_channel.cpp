#include "protocol/command_channel.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "protocol/report_dump.h"

namespace qxr::protocol {

namespace {

constexpr int kLoggedReads = 2;
constexpr int kQuietReads = 1;

using SteadyClock = std::chrono::steady_clock;

class BusyScope {
 public:
  explicit BusyScope(std::atomic<int>& count) : count_(count) { count_.fetch_add(1, std::memory_order_acq_rel); }
  ~BusyScope() { count_.fetch_sub(1, std::memory_order_acq_rel); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  std::atomic<int>& count_;
};

CommandReport frame_request(const uint8_t* request, size_t length) {
  CommandReport frame{};
  if (request != nullptr) std::memcpy(frame.data(), request, std::min(length, kReportSize));
  return frame;
}

int remaining_ms(SteadyClock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

bool CommandChannel::open(const std::string& path) {
  std::lock_guard io(io_lock_);
  const bool ok = device_.open(path, true, true, true, false);
  opened_.store(ok);
  return ok;
}

void CommandChannel::close() {
  // Wakes a transfer that waits before queueing for the I/O lock it holds.
  device_.cancel();
  std::lock_guard io(io_lock_);
  opened_.store(false);
  device_.close();
}

bool CommandChannel::set_data_length(uint16_t n) {
  if (n > kMaxDataLength) return false;
  data_length_.store(n, std::memory_order_relaxed);
  return true;
}

// On Linux every open fd of a node queues every input report, so a late reply to a request that
// timed out, or a report nobody asked for, may be waiting when a new request goes out. Under the
// I/O lock we therefore (1) discard whatever is queued before writing, (2) ignore reports that
// are not command reports (report id other than 4, e.g. the headset's events) without counting
// them as a read, and (3) keep the echo check: a reply with another command byte costs one of
// the two reads. The lock is held from the write to the last read so that another thread's
// request can never slip between a request and its reply.
int CommandChannel::transfer(const CommandReport& frame, uint8_t* reply, size_t reply_length,
                             size_t* bytes_read, int timeout_ms, int max_reads) {
  std::lock_guard io(io_lock_);
  device_.drain();

  size_t written = 0;
  if (!device_.write(frame.data(), frame.size(), &written, timeout_ms) || written != frame.size()) {
    return kResultWriteFailed;
  }

  bool got = false;
  bool echoed = false;
  CommandReport in{};
  size_t n = 0;
  for (int reads = 0; reads < max_reads; ++reads) {
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeout_ms);
    got = false;
    while (!got) {
      in.fill(0);
      n = 0;
      if (!device_.read(in.data(), in.size(), &n, remaining_ms(deadline))) break;
      got = n > kOffCommand && in[kOffReportId] == kCommandReportId;
    }
    if (!got) break;
    echoed = in[kOffCommand] == frame[kOffCommand];
    if (echoed) break;
  }

  size_t copied = std::min(n, reply_length);
  if (reply != nullptr && copied > 0) std::memcpy(reply, in.data(), copied);
  if (bytes_read != nullptr) *bytes_read = reply != nullptr ? copied : 0;
  if (!got) return kResultNoReply;
  // Only the quiet exchange (one read) skips the echo check.
  if (max_reads > kQuietReads && !echoed) return kResultNoReply;
  return kResultOk;
}

int CommandChannel::exchange(const uint8_t* request, size_t request_length, uint8_t* reply,
                             size_t reply_length, size_t* bytes_read) {
  BusyScope busy(busy_);
  if (bytes_read != nullptr) *bytes_read = 0;
  if (!opened() || hold()) return kResultNoReply;

  CommandReport frame = frame_request(request, request_length);
  log_frame(kRequestLine, frame.data());
  const int timeout = receiver_mode() ? kReceiverTimeoutMs : kExchangeTimeoutMs;
  CommandReport got{};
  size_t n = 0;
  int result = transfer(frame, got.data(), got.size(), &n, timeout, kLoggedReads);
  if (result == kResultWriteFailed) return result;
  log_frame(kReplyLine, got.data());

  size_t copied = std::min(n, reply_length);
  if (reply != nullptr && copied > 0) std::memcpy(reply, got.data(), copied);
  if (bytes_read != nullptr) *bytes_read = reply != nullptr ? copied : 0;
  return result;
}

int CommandChannel::exchange_quiet(const uint8_t* request, size_t request_length, uint8_t* reply,
                                   size_t reply_length, size_t* bytes_read) {
  if (bytes_read != nullptr) *bytes_read = 0;
  if (!opened() || hold()) return kResultNoReply;
  CommandReport frame = frame_request(request, request_length);
  return transfer(frame, reply, reply_length, bytes_read, kExchangeTimeoutMs, kQuietReads);
}

int complete_command(int exchange_result, const uint8_t* reply) {
  if (exchange_result != kResultOk) return exchange_result;
  switch (reply[kOffStatus]) {
    case kStatusError: return kResultStatusFF;
    case kStatusBusy: return kResultStatusFE;
    default: return kResultOk;
  }
}

}  // namespace qxr::protocol
