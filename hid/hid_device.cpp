#include "hid/hid_device.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <linux/hidraw.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/debug_line.h"
#include "hid/blocking_writer.h"
#include "hid/device_path.h"
#include "hid/enumeration.h"
#include "hid/hid_caps.h"
#include "hid/node_open.h"
#include "hid/open_registry.h"

namespace qxr::hid {
namespace {

// Longest report we accept from a node; hidraw's own limit.
constexpr size_t kMaxReportBytes = HID_MAX_DESCRIPTOR_SIZE;

using SteadyClock = std::chrono::steady_clock;

// Milliseconds left until the deadline, for poll(); -1 waits for ever.
int remaining_ms(int timeout_ms, SteadyClock::time_point deadline) {
  if (timeout_ms < 0) return -1;
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(left);
}

void drain_eventfd(int fd) {
  uint64_t v;
  while (::read(fd, &v, sizeof v) > 0) {
  }
}

}  // namespace

struct HidDevice::Impl {
  // Enumeration list.
  std::vector<std::string> paths;
  size_t cursor = 0;

  // Open state. fd changes only while no transfer is pending (see Transfer).
  int fd = -1;
  NodeKind kind = NodeKind::Hidraw;
  bool registered = false;  // holds an entry in the open registry
  std::unique_ptr<BlockingWriter> writer;  // hidraw nodes opened for writing
  std::string writer_name = "hid writer";
  // One hidraw write at a time through the writer: a turn taken within the caller's time.
  // (Not a timed mutex: its timed lock is invisible to ThreadSanitizer.)
  bool writing = false;
  std::condition_variable write_cv;
  std::shared_ptr<const CollectionCaps> caps;
  bool numbered = false;           // the descriptor uses report ids
  std::vector<uint8_t> input_ids;  // input report ids of the opened collection

  // Cancel: set while a cancel is outstanding, drained when no transfer is pending.
  int cancel_fd = -1;
  bool cancel_raised = false;  // under mutex; nothing to drain otherwise (saves two reads a transfer)
  mutable std::mutex mutex;
  std::condition_variable idle_cv;
  int pending = 0;
  std::string last_error;

  // Both under mutex.
  void raise_cancel() {
    uint64_t one = 1;
    ssize_t n = ::write(cancel_fd, &one, sizeof one);
    (void)n;
    cancel_raised = true;
  }
  void clear_cancel() {
    if (!cancel_raised) return;
    drain_eventfd(cancel_fd);
    cancel_raised = false;
  }

  void fail(const std::string& what) {
    std::lock_guard lock(mutex);
    last_error = what;
  }
};

// Marks a transfer pending for its lifetime. close() waits until none is pending before it
// closes the descriptor, so a transfer never uses a closed (or reused) descriptor.
class HidDevice::Transfer {
 public:
  explicit Transfer(Impl* impl) : impl_(impl) {
    std::lock_guard lock(impl_->mutex);
    if (impl_->fd < 0) return;
    if (impl_->pending++ == 0) impl_->clear_cancel();
    fd_ = impl_->fd;
  }
  ~Transfer() {
    if (fd_ < 0) return;
    std::lock_guard lock(impl_->mutex);
    if (--impl_->pending == 0) {
      impl_->clear_cancel();
      impl_->idle_cv.notify_all();
    }
  }
  Transfer(const Transfer&) = delete;
  Transfer& operator=(const Transfer&) = delete;
  int fd() const { return fd_; }

 private:
  Impl* impl_;
  int fd_ = -1;
};

// Holds the write turn from a successful take() to its end.
class HidDevice::WriteTurn {
 public:
  explicit WriteTurn(Impl* impl) : impl_(impl) {}
  ~WriteTurn() {
    if (!held_) return;
    std::lock_guard lock(impl_->mutex);
    impl_->writing = false;
    impl_->write_cv.notify_one();
  }
  WriteTurn(const WriteTurn&) = delete;
  WriteTurn& operator=(const WriteTurn&) = delete;

  bool take(int timeout_ms, SteadyClock::time_point deadline) {
    std::unique_lock lock(impl_->mutex);
    auto free = [this] { return !impl_->writing; };
    if (timeout_ms < 0)
      impl_->write_cv.wait(lock, free);
    else if (!impl_->write_cv.wait_until(lock, deadline, free))
      return false;
    impl_->writing = true;
    held_ = true;
    return true;
  }

 private:
  Impl* impl_;
  bool held_ = false;
};

HidDevice::HidDevice() : impl_(new Impl) {
  impl_->cancel_fd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (impl_->cancel_fd < 0) std::abort();  // out of descriptors at construction
}

HidDevice::~HidDevice() {
  close();
  clear_paths();
  ::close(impl_->cancel_fd);
  delete impl_;
}

// ---- enumeration ----

bool HidDevice::enumerate() {
  impl_->cursor = 0;
  impl_->paths.clear();
  return enumerate_interface_paths(&impl_->paths);
}

const std::string* HidDevice::next_path() {
  if (impl_->cursor >= impl_->paths.size()) return nullptr;
  return &impl_->paths[impl_->cursor++];
}

void HidDevice::clear_paths() {
  impl_->paths.clear();
  impl_->paths.shrink_to_fit();
  impl_->cursor = 0;
}

size_t HidDevice::path_count() const { return impl_->paths.size(); }

// ---- open / close ----

bool HidDevice::open(const std::string& path, bool read, bool write, bool overlapped,
                     bool exclusive) {
  // Stop a concurrent transfer on the old path before the new one is taken over.
  close();
  opt_read_ = read;
  opt_write_ = write;
  opt_overlapped_ = overlapped;
  opt_exclusive_ = exclusive;
  path_ = path;
  return reopen();
}

bool HidDevice::reopen() {
  close();
  const uint16_t col = collection_from_path(path_);
  if (!open_registry_acquire(path_, opt_exclusive_)) {
    impl_->fail("open: already open exclusively");
    return false;
  }
  OpenedNode node;
  if (!open_node(path_node(path_), opt_read_, opt_write_, &node)) {
    open_registry_release(path_, opt_exclusive_);
    impl_->fail(std::string("open: ") + std::strerror(errno));
    return false;
  }
  ReportDescriptor desc;
  size_t index = col == 0 ? 0 : static_cast<size_t>(col - 1);
  bool ok = desc.parse(node.info.report_descriptor) &&
            // without "&col" the interface must have exactly one collection
            (col != 0 || desc.collections().size() == 1) && index < desc.collections().size();
  CollectionCaps caps;
  if (ok) ok = build_collection_caps(desc, index, &caps);
  if (!ok) {
    ::close(node.fd);
    open_registry_release(path_, opt_exclusive_);
    impl_->fail("open: unusable report descriptor");
    return false;
  }

  descriptor_ = std::move(desc);
  attributes_ = HidAttributes{node.info.vendor_id, node.info.product_id, node.info.version};
  caps_ = HidCaps{};
  caps_.usage_page = caps.usage_page;
  caps_.usage = caps.usage;
  caps_.input_report_byte_length = caps.report_byte_length[0];
  caps_.output_report_byte_length = caps.report_byte_length[1];
  caps_.feature_report_byte_length = caps.report_byte_length[2];
  caps_.number_input_button_caps = static_cast<uint16_t>(caps.buttons[0].size());
  caps_.number_input_value_caps = static_cast<uint16_t>(caps.values[0].size());
  caps_.number_output_button_caps = static_cast<uint16_t>(caps.buttons[1].size());
  caps_.number_output_value_caps = static_cast<uint16_t>(caps.values[1].size());
  caps_.number_feature_button_caps = static_cast<uint16_t>(caps.buttons[2].size());
  caps_.number_feature_value_caps = static_cast<uint16_t>(caps.values[2].size());
  input_report_.assign(caps_.input_report_byte_length, 0);
  input_data_ = build_input_data(caps);
  interface_number_ = interface_from_path(path_);
  collection_number_ = col;

  std::lock_guard lock(impl_->mutex);
  impl_->caps = std::make_shared<const CollectionCaps>(std::move(caps));
  impl_->numbered = descriptor_.uses_report_ids();
  impl_->input_ids = descriptor_.report_ids(index, ReportType::Input);
  impl_->kind = node.kind;
  if (node.kind == NodeKind::Hidraw && opt_write_) impl_->writer = std::make_unique<BlockingWriter>(impl_->writer_name);
  impl_->fd = node.fd;
  impl_->registered = true;
  return true;
}

void HidDevice::set_writer_name(std::string name) {
  std::lock_guard lock(impl_->mutex);
  impl_->writer_name = std::move(name);
}

void HidDevice::close() {
  int fd;
  std::unique_ptr<BlockingWriter> writer;
  {
    std::unique_lock lock(impl_->mutex);
    if (impl_->pending > 0) {
      impl_->raise_cancel();
      impl_->idle_cv.wait(lock, [this] { return impl_->pending == 0; });
    }
    fd = impl_->fd;
    impl_->fd = -1;
    writer = std::move(impl_->writer);
    impl_->caps.reset();
    impl_->input_ids.clear();
    if (impl_->registered) {
      open_registry_release(path_, opt_exclusive_);
      impl_->registered = false;
    }
  }
  writer.reset();  // waits for a write still in the kernel, which must not outlive the fd
  if (fd >= 0) ::close(fd);
  caps_ = HidCaps{};
  attributes_ = HidAttributes{};
  descriptor_.clear();
  input_report_.clear();
  input_data_.clear();
  interface_number_ = 0;
  collection_number_ = 0;
}

bool HidDevice::is_open() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->fd >= 0;
}

void HidDevice::cancel() {
  std::lock_guard lock(impl_->mutex);
  if (impl_->pending == 0) return;
  impl_->raise_cancel();
}

std::string HidDevice::last_error() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->last_error;
}

// ---- transfers ----

bool HidDevice::read(uint8_t* buffer, size_t length, size_t* transferred, int timeout_ms) {
  return read_report(buffer, length, transferred, timeout_ms, -1);
}

bool HidDevice::read(uint8_t* buffer, size_t length, size_t* transferred, int timeout_ms,
                     const StopEvent& stop) {
  return read_report(buffer, length, transferred, timeout_ms, stop.fd());
}

bool HidDevice::read_report(uint8_t* buffer, size_t length, size_t* transferred, int timeout_ms,
                            int stop_fd) {
  if (transferred) *transferred = 0;
  Transfer t(impl_);
  if (t.fd() < 0 || length == 0) return false;
  std::vector<uint8_t> ids;
  bool numbered;
  size_t report_length;
  {
    std::lock_guard lock(impl_->mutex);
    ids = impl_->input_ids;
    numbered = impl_->numbered;
    report_length = impl_->caps ? impl_->caps->report_byte_length[0] : 0;
  }
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(std::max(timeout_ms, 0));
  std::array<uint8_t, kMaxReportBytes + 1> packet;
  for (;;) {
    pollfd fds[3] = {{t.fd(), POLLIN, 0}, {impl_->cancel_fd, POLLIN, 0}, {stop_fd, POLLIN, 0}};
    int r = ::poll(fds, stop_fd >= 0 ? 3 : 2, remaining_ms(timeout_ms, deadline));
    if (r < 0) {
      if (errno == EINTR) continue;
      impl_->fail(std::string("read: poll: ") + std::strerror(errno));
      return false;
    }
    if (r == 0) return false;  // timeout
    if (fds[1].revents || (stop_fd >= 0 && fds[2].revents)) {
      impl_->fail("read: cancelled");
      return false;
    }
    if (fds[0].revents & POLLIN) {
      // Byte 0 is the report id as everywhere above this layer; an unnumbered report gets 0.
      uint8_t* dst = numbered ? packet.data() : packet.data() + 1;
      ssize_t n = ::read(t.fd(), dst, kMaxReportBytes);
      if (n < 0) {
        if (errno == EAGAIN || errno == EINTR) continue;
        impl_->fail(std::string("read: ") + std::strerror(errno));
        return false;
      }
      if (n == 0) {
        impl_->fail("read: device gone");
        return false;
      }
      size_t size = static_cast<size_t>(n);
      if (!numbered) {
        packet[0] = 0;
        ++size;
      } else if (std::find(ids.begin(), ids.end(), packet[0]) == ids.end()) {
        continue;  // a report of another collection of the same interface
      }
      const size_t copy = std::min(size, length);
      std::memcpy(buffer, packet.data(), copy);
      // Like a HID class read: the caller gets the collection's full input report length.
      const size_t full = std::min(std::max(copy, report_length), length);
      std::memset(buffer + copy, 0, full - copy);
      if (transferred) *transferred = full;
      return true;
    }
    if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      impl_->fail("read: device gone");
      return false;
    }
  }
}

bool HidDevice::write(const uint8_t* buffer, size_t length, size_t* transferred, int timeout_ms) {
  if (transferred) *transferred = 0;
  Transfer t(impl_);
  if (t.fd() < 0 || length == 0) return false;
  if (kind_is_socket()) return write_socket(t.fd(), buffer, length, transferred, timeout_ms);
  const int fd = t.fd();
  std::vector<uint8_t> copy(buffer, buffer + length);
  auto job = [fd, copy = std::move(copy)]() -> ssize_t {
    ssize_t n = ::write(fd, copy.data(), copy.size());
    return n < 0 ? -errno : n;
  };
  return write_blocking(std::move(job), length, transferred, timeout_ms, "write");
}

bool HidDevice::write_socket(int fd, const uint8_t* buffer, size_t length, size_t* transferred,
                             int timeout_ms) {
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(std::max(timeout_ms, 0));
  for (;;) {
    // send() so that a vanished emulator yields EPIPE instead of killing us with SIGPIPE.
    ssize_t n = ::send(fd, buffer, length, MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n >= 0) {
      if (static_cast<size_t>(n) != length) {
        impl_->fail("write: short write");
        return false;
      }
      if (transferred) *transferred = length;
      return true;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK && errno != ENOBUFS) {
      impl_->fail(std::string("write: ") + std::strerror(errno));
      return false;
    }
    pollfd fds[2] = {{fd, POLLOUT, 0}, {impl_->cancel_fd, POLLIN, 0}};
    int r = ::poll(fds, 2, remaining_ms(timeout_ms, deadline));
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) {
      impl_->fail(r == 0 ? "write: timeout" : std::string("write: poll: ") + std::strerror(errno));
      return false;
    }
    if (fds[1].revents) {
      impl_->fail("write: cancelled");
      return false;
    }
    if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
      impl_->fail("write: device gone");
      return false;
    }
  }
}

// Waits for the writer's job within the caller's time, or for cancel. The caller holds a
// Transfer, so the writer lives at least as long as this call.
HidDevice::WaitResult HidDevice::wait_writer(BlockingWriter& writer, int timeout_ms,
                                             std::chrono::steady_clock::time_point deadline) {
  for (;;) {
    if (!writer.busy()) return WaitResult::Done;
    pollfd fds[2] = {{writer.done_fd(), POLLIN, 0}, {impl_->cancel_fd, POLLIN, 0}};
    int r = ::poll(fds, 2, remaining_ms(timeout_ms, deadline));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return WaitResult::Failed;
    if (fds[1].revents) return WaitResult::Cancelled;
    if (r == 0) return WaitResult::TimedOut;
  }
}

bool HidDevice::write_blocking(BlockingWriter::Job job, size_t length, size_t* transferred,
                               int timeout_ms, const char* what) {
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(std::max(timeout_ms, 0));
  BlockingWriter* writer;
  {
    std::lock_guard lock(impl_->mutex);
    writer = impl_->writer.get();
  }
  if (!writer) {
    impl_->fail(std::string(what) + ": not opened for writing");
    return false;
  }
  WriteTurn turn(impl_);
  if (!turn.take(timeout_ms, deadline)) {
    impl_->fail(std::string(what) + ": timeout");
    return false;
  }
  auto give_up = [&](WaitResult w) {
    impl_->fail(std::string(what) + (w == WaitResult::Cancelled ? ": cancelled"
                                     : w == WaitResult::TimedOut ? ": timeout"
                                                                 : ": wait failed"));
    return false;
  };
  // A write given up on earlier may still be in the kernel: it goes first.
  WaitResult w = wait_writer(*writer, timeout_ms, deadline);
  if (w != WaitResult::Done) return give_up(w);
  writer->start(std::move(job));
  w = wait_writer(*writer, timeout_ms, deadline);
  if (w != WaitResult::Done) return give_up(w);
  const ssize_t n = writer->take_result();
  if (n < 0) {
    impl_->fail(std::string(what) + ": " + std::strerror(static_cast<int>(-n)));
    return false;
  }
  if (static_cast<size_t>(n) != length) {
    impl_->fail(std::string(what) + ": short write");
    return false;
  }
  if (transferred) *transferred = length;
  return true;
}

bool HidDevice::kind_is_socket() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->kind == NodeKind::EmulatedSocket;
}

bool HidDevice::set_output_report(const uint8_t* buffer, size_t length) {
  Transfer t(impl_);
  if (t.fd() < 0 || length == 0) return false;
  size_t done = 0;
  if (kind_is_socket()) return write_socket(t.fd(), buffer, length, &done, kSetOutputReportTimeoutMs);
  const int fd = t.fd();
  std::vector<uint8_t> copy(buffer, buffer + length);
  auto job = [fd, copy = std::move(copy)]() mutable -> ssize_t {
    // The output report through the control pipe, as the HID class's own call does; kernels
    // without the ioctl get an ordinary write (interrupt pipe when the device has one).
    if (ioctl(fd, HIDIOCSOUTPUT(copy.size()), copy.data()) >= 0)
      return static_cast<ssize_t>(copy.size());
    if (errno != ENOTTY && errno != EINVAL) return -errno;
    ssize_t n = ::write(fd, copy.data(), copy.size());
    return n < 0 ? -errno : n;
  };
  return write_blocking(std::move(job), length, &done, kSetOutputReportTimeoutMs, "set_output_report");
}

size_t HidDevice::drain() {
  Transfer t(impl_);
  if (t.fd() < 0) return 0;
  std::array<uint8_t, kMaxReportBytes> packet;
  size_t count = 0;
  while (::read(t.fd(), packet.data(), packet.size()) > 0) ++count;
  return count;
}

// ---- capabilities and unpacking ----

std::vector<HidData> build_input_data(const CollectionCaps& caps) {
  constexpr size_t in = static_cast<size_t>(ReportType::Input);
  size_t value_usages = 0;
  for (const auto& c : caps.values[in])
    value_usages += c.is_range ? static_cast<size_t>(c.usage_max - c.usage_min) + 1 : 1;
  std::vector<HidData> data;
  data.reserve(caps.buttons[in].size() + value_usages);
  for (const auto& c : caps.buttons[in]) {
    HidData d;
    d.is_button = true;
    d.status = kStatusSuccess;
    d.usage_page = c.usage_page;
    d.report_id = c.report_id;
    d.usage_min = c.usage_min;
    d.usage_max = c.usage_max;
    d.max_usage_length = max_usage_list_length(caps, ReportType::Input, c.usage_page);
    d.usages.assign(d.max_usage_length, 0);
    data.push_back(std::move(d));
  }
  for (const auto& c : caps.values[in]) {
    for (uint32_t u = c.usage_min; u <= c.usage_max; ++u) {
      HidData d;
      d.status = kStatusSuccess;
      d.usage_page = c.usage_page;
      d.report_id = c.report_id;
      d.usage = static_cast<uint16_t>(u);
      data.push_back(d);
    }
  }
  return data;
}

bool HidDevice::unpack_input_report(const uint8_t* report, size_t length) {
  return unpack_input_report(report, length, input_data_);
}

bool HidDevice::unpack_input_report(const uint8_t* report, size_t length,
                                    std::vector<HidData>& data) const {
  if (report == nullptr || length == 0) return false;
  std::shared_ptr<const CollectionCaps> caps;
  {
    std::lock_guard lock(impl_->mutex);
    caps = impl_->caps;
  }
  return caps && unpack_with_caps(*caps, report, length, data);
}

bool unpack_with_caps(const CollectionCaps& caps, const uint8_t* report, size_t length,
                      std::vector<HidData>& data) {
  if (report == nullptr || length == 0) return false;
  const uint8_t report_id = report[0];
  for (auto& d : data) {
    if (d.report_id != report_id) continue;
    if (d.is_button) {
      uint32_t count = d.max_usage_length;
      d.usages.resize(d.max_usage_length);
      d.status = get_usages(caps, ReportType::Input, d.usage_page, report, length,
                            d.usages.data(), &count);
      // Keep the usages of this record's range only, in order; 0 ends a shorter list.
      uint32_t kept = 0;
      for (uint32_t i = 0; i < count; ++i)
        if (d.usages[i] >= d.usage_min && d.usages[i] <= d.usage_max) d.usages[kept++] = d.usages[i];
      std::fill(d.usages.begin() + kept, d.usages.end(), 0);
    } else {
      d.status = get_usage_value(caps, ReportType::Input, d.usage_page, d.usage, report, length,
                                 &d.raw_value);
      if (d.status != kStatusSuccess) return false;
      d.status = get_scaled_usage_value(caps, ReportType::Input, d.usage_page, d.usage, report,
                                        length, &d.scaled_value);
    }
    d.data_set = true;
  }
  return true;
}

}  // namespace qxr::hid
