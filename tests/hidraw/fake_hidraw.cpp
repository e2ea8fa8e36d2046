// A preloaded library that stands in for the hidraw driver on fake nodes (fake_hidraw_api.h).
// Every other path and descriptor goes to the C library untouched.
//
// What the driver does and this library does the same:
// - every open handle gets its own queue of input reports and every report the device sends
//   (a full queue of 64 drops the newest, as hidraw_report_event does);
// - read returns one report, cut to the caller's buffer; an empty queue gives EAGAIN on a
//   non-blocking handle, waits otherwise, and after unplug gives EIO once the queue is empty;
// - poll: always writable, readable while reports wait, POLLERR | POLLHUP after unplug;
// - write and HIDIOCSOUTPUT send one report (2 to 4096 bytes, else EINVAL), ENODEV after unplug;
//   ioctls after unplug give ENODEV, unknown ones ENOTTY;
// - a handle's fd is a real descriptor (an eventfd that is readable exactly when poll should
//   report something), so poll works on sets that mix fake handles and other descriptors.
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <stdarg.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/hidraw/fake_hidraw_api.h"

namespace {

constexpr size_t kQueueLength = 64;      // HIDRAW_BUFFER_SIZE
constexpr size_t kMaxReport = 4096;      // HID_MAX_BUFFER_SIZE
constexpr unsigned kHidrawMajor = 239;

template <typename F>
F real(const char* name) {
  return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

using OpenFn = int (*)(const char*, int, ...);
using CloseFn = int (*)(int);
using ReadFn = ssize_t (*)(int, void*, size_t);
using WriteFn = ssize_t (*)(int, const void*, size_t);
using IoctlFn = int (*)(int, unsigned long, ...);
using PollFn = int (*)(pollfd*, nfds_t, int);
using StatFn = int (*)(const char*, struct stat*);
using AccessFn = int (*)(const char*, int);

OpenFn real_open() { static OpenFn f = real<OpenFn>("open"); return f; }
OpenFn real_open64() { static OpenFn f = real<OpenFn>("open64"); return f; }
CloseFn real_close() { static CloseFn f = real<CloseFn>("close"); return f; }
ReadFn real_read() { static ReadFn f = real<ReadFn>("read"); return f; }
WriteFn real_write() { static WriteFn f = real<WriteFn>("write"); return f; }
IoctlFn real_ioctl() { static IoctlFn f = real<IoctlFn>("ioctl"); return f; }
PollFn real_poll() { static PollFn f = real<PollFn>("poll"); return f; }
StatFn real_stat() { static StatFn f = real<StatFn>("stat"); return f; }
AccessFn real_access() { static AccessFn f = real<AccessFn>("access"); return f; }

struct Handle;

// One plug of a device: the connection to its emulated interface and the handles opened on it.
struct Instance {
  int connection = -1;
  bool gone = false;
  std::vector<std::shared_ptr<Handle>> handles;
};

struct Handle {
  int fd = -1;  // the eventfd the program holds
  int access = O_RDWR;
  bool closed = false;
  bool signalled = false;  // the eventfd is readable
  std::shared_ptr<Instance> instance;
  std::deque<std::vector<uint8_t>> queue;
};

struct Node {
  uint32_t bustype = 0;
  uint16_t vendor = 0, product = 0;
  std::vector<uint8_t> descriptor;
  unsigned minor = 0;
  bool denied = false;
  std::shared_ptr<Instance> instance;  // null while unplugged
};

struct State {
  std::mutex mutex;
  std::condition_variable changed;
  std::map<std::string, Node> nodes;
  std::map<int, std::shared_ptr<Handle>> handles;
  std::atomic<size_t> handle_count{0};
  unsigned unknown_requests = 0;
  unsigned next_minor = 100;
};

// Never destroyed: handles may be closed by static destructors of the program at exit.
State& state() {
  static State* s = new State;
  return *s;
}

// Keeps the eventfd readable exactly while poll has something to report. Caller holds the lock.
void sync_readiness(Handle& h) {
  const bool want = !h.closed && (!h.queue.empty() || h.instance->gone);
  if (want == h.signalled) return;
  uint64_t v = 1;
  if (want) {
    if (real_write()(h.fd, &v, sizeof v) == sizeof v) h.signalled = true;
  } else if (real_read()(h.fd, &v, sizeof v) == sizeof v) {
    h.signalled = false;
  }
}

std::shared_ptr<Handle> find_handle(int fd) {
  State& s = state();
  if (s.handle_count.load(std::memory_order_acquire) == 0) return nullptr;
  std::lock_guard lock(s.mutex);
  auto it = s.handles.find(fd);
  return it == s.handles.end() ? nullptr : it->second;
}

// The device side: every input report to every handle, until the interface goes away.
void receive(std::shared_ptr<Instance> instance) {
  std::vector<uint8_t> packet(kMaxReport);
  for (;;) {
    ssize_t n = ::recv(instance->connection, packet.data(), packet.size(), 0);
    if (n < 0 && errno == EINTR) continue;
    State& s = state();
    std::lock_guard lock(s.mutex);
    if (n <= 0) {
      instance->gone = true;
      real_close()(instance->connection);
      for (auto& [name, node] : s.nodes) {
        if (node.instance == instance) node.instance.reset();
      }
      for (auto& h : instance->handles) sync_readiness(*h);
      s.changed.notify_all();
      return;
    }
    for (auto& h : instance->handles) {
      if (h->queue.size() >= kQueueLength) continue;
      h->queue.emplace_back(packet.begin(), packet.begin() + n);
      sync_readiness(*h);
    }
    s.changed.notify_all();
  }
}

int fail(int error) {
  errno = error;
  return -1;
}

int fake_open(const char* path, int flags, bool* handled) {
  *handled = false;
  if (path == nullptr) return -1;
  State& s = state();
  std::lock_guard lock(s.mutex);
  auto it = s.nodes.find(path);
  if (it == s.nodes.end()) return -1;
  *handled = true;
  Node& node = it->second;
  if (!node.instance) return fail(ENOENT);  // the node went with the device
  if (node.denied) return fail(EACCES);
  int efd_flags = 0;
  if (flags & O_CLOEXEC) efd_flags |= EFD_CLOEXEC;
  if (flags & O_NONBLOCK) efd_flags |= EFD_NONBLOCK;
  int fd = eventfd(0, efd_flags);
  if (fd < 0) return -1;
  auto h = std::make_shared<Handle>();
  h->fd = fd;
  h->access = flags & O_ACCMODE;
  h->instance = node.instance;
  node.instance->handles.push_back(h);
  s.handles[fd] = h;
  s.handle_count.fetch_add(1, std::memory_order_release);
  return fd;
}

ssize_t send_report(Handle& h, const void* data, size_t size) {
  std::lock_guard lock(state().mutex);
  if (h.instance->gone) return fail(ENODEV);
  if (size < 2 || size > kMaxReport) return fail(EINVAL);
  ssize_t n = ::send(h.instance->connection, data, size, MSG_NOSIGNAL);
  return n < 0 ? fail(EIO) : static_cast<ssize_t>(size);
}

ssize_t fake_read(Handle& h, int fd, void* buffer, size_t size) {
  if (h.access == O_WRONLY) return fail(EBADF);
  State& s = state();
  std::unique_lock lock(s.mutex);
  for (;;) {
    if (h.closed) return fail(EBADF);
    if (!h.queue.empty()) {
      std::vector<uint8_t> report = std::move(h.queue.front());
      h.queue.pop_front();
      sync_readiness(h);
      const size_t n = std::min(size, report.size());
      std::memcpy(buffer, report.data(), n);
      return static_cast<ssize_t>(n);
    }
    if (h.instance->gone) return fail(EIO);
    int fl = fcntl(fd, F_GETFL);
    if (fl >= 0 && (fl & O_NONBLOCK)) return fail(EAGAIN);
    s.changed.wait(lock);
  }
}

int fake_ioctl(Handle& h, unsigned long request, void* arg) {
  State& s = state();
  std::unique_lock lock(s.mutex);
  if (h.instance->gone) return fail(ENODEV);
  const Node* node = nullptr;
  for (auto& [name, n] : s.nodes) {
    if (n.instance == h.instance) node = &n;
  }
  if (node == nullptr) return fail(ENODEV);
  if (request == HIDIOCGRDESCSIZE) {
    *static_cast<int*>(arg) = static_cast<int>(node->descriptor.size());
    return 0;
  }
  if (request == HIDIOCGRDESC) {
    auto* d = static_cast<hidraw_report_descriptor*>(arg);
    if (d->size > HID_MAX_DESCRIPTOR_SIZE - 1) return fail(EINVAL);
    std::memcpy(d->value, node->descriptor.data(), std::min<size_t>(d->size, node->descriptor.size()));
    return 0;
  }
  if (request == HIDIOCGRAWINFO) {
    auto* info = static_cast<hidraw_devinfo*>(arg);
    info->bustype = node->bustype;
    info->vendor = static_cast<int16_t>(node->vendor);
    info->product = static_cast<int16_t>(node->product);
    return 0;
  }
  if (_IOC_TYPE(request) == 'H' && _IOC_NR(request) == _IOC_NR(HIDIOCSOUTPUT(0)) &&
      _IOC_DIR(request) == (_IOC_WRITE | _IOC_READ)) {
    lock.unlock();
    ssize_t n = send_report(h, arg, _IOC_SIZE(request));
    return n < 0 ? -1 : static_cast<int>(n);
  }
  ++s.unknown_requests;
  return fail(ENOTTY);
}

short fake_revents(const Handle& h, short events) {
  short mask = POLLOUT | POLLWRNORM;
  if (!h.queue.empty()) mask |= POLLIN | POLLRDNORM;
  if (h.instance->gone) mask |= POLLERR | POLLHUP;
  return static_cast<short>(mask & (events | POLLERR | POLLHUP));
}

int remaining(int timeout, std::chrono::steady_clock::time_point deadline) {
  if (timeout < 0) return -1;
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return std::max<int>(0, static_cast<int>(left.count()));
}

// The mode argument is there only when the flags create a file.
mode_t creation_mode(int flags, va_list ap) { return (flags & (O_CREAT | O_TMPFILE)) ? va_arg(ap, mode_t) : 0; }

int open_with(OpenFn real, const char* path, int flags, mode_t mode) {
  bool handled = false;
  const int fd = fake_open(path, flags, &handled);
  return handled ? fd : real(path, flags, mode);
}

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int qxr_fake_hidraw_plug(const char* node, const char* socket,
                                                                uint32_t bustype, uint16_t vendor,
                                                                uint16_t product, const uint8_t* descriptor,
                                                                size_t descriptor_size) {
  State& s = state();
  {
    std::lock_guard lock(s.mutex);
    auto it = s.nodes.find(node);
    if (it != s.nodes.end() && it->second.instance) return fail(EEXIST);
  }
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  if (std::strlen(socket) >= sizeof addr.sun_path) return fail(ENAMETOOLONG);
  std::strcpy(addr.sun_path, socket);
  int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) < 0) {
    int e = errno;
    real_close()(fd);
    return fail(e);
  }
  auto instance = std::make_shared<Instance>();
  instance->connection = fd;
  {
    std::lock_guard lock(s.mutex);
    Node& n = s.nodes[node];
    n.bustype = bustype;
    n.vendor = vendor;
    n.product = product;
    n.descriptor.assign(descriptor, descriptor + descriptor_size);
    if (n.minor == 0) n.minor = s.next_minor++;
    n.instance = instance;
  }
  // The device lives until its interface goes; the thread ends with it.
  std::thread(receive, instance).detach();
  return 0;
}

__attribute__((visibility("default"))) int qxr_fake_hidraw_unplug(const char* node) {
  State& s = state();
  std::unique_lock lock(s.mutex);
  auto it = s.nodes.find(node);
  if (it == s.nodes.end() || !it->second.instance) return fail(ENOENT);
  std::shared_ptr<Instance> instance = it->second.instance;
  ::shutdown(instance->connection, SHUT_RDWR);
  // The receiving thread marks the device gone; wait for it, so the caller sees the unplug done.
  s.changed.wait(lock, [&] { return instance->gone; });
  return 0;
}

__attribute__((visibility("default"))) void qxr_fake_hidraw_deny(const char* node, int denied) {
  std::lock_guard lock(state().mutex);
  state().nodes[node].denied = denied != 0;
}

__attribute__((visibility("default"))) unsigned qxr_fake_hidraw_open_handles(const char* node) {
  State& s = state();
  std::lock_guard lock(s.mutex);
  auto it = s.nodes.find(node);
  if (it == s.nodes.end() || !it->second.instance) return 0;
  return static_cast<unsigned>(it->second.instance->handles.size());
}

__attribute__((visibility("default"))) unsigned qxr_fake_hidraw_unknown_requests(void) {
  std::lock_guard lock(state().mutex);
  return state().unknown_requests;
}

// ---- the interposed calls ----

__attribute__((visibility("default"))) int open(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = creation_mode(flags, ap);
  va_end(ap);
  return open_with(real_open(), path, flags, mode);
}

__attribute__((visibility("default"))) int open64(const char* path, int flags, ...) {
  va_list ap;
  va_start(ap, flags);
  const mode_t mode = creation_mode(flags, ap);
  va_end(ap);
  return open_with(real_open64(), path, flags, mode);
}

__attribute__((visibility("default"))) int close(int fd) {
  if (std::shared_ptr<Handle> h = find_handle(fd)) {
    State& s = state();
    std::lock_guard lock(s.mutex);
    h->closed = true;
    auto& hs = h->instance->handles;
    hs.erase(std::remove(hs.begin(), hs.end(), h), hs.end());
    s.handles.erase(fd);
    s.handle_count.fetch_sub(1, std::memory_order_release);
    s.changed.notify_all();
  }
  return real_close()(fd);
}

__attribute__((visibility("default"))) ssize_t read(int fd, void* buffer, size_t size) {
  if (std::shared_ptr<Handle> h = find_handle(fd)) return fake_read(*h, fd, buffer, size);
  return real_read()(fd, buffer, size);
}

__attribute__((visibility("default"))) ssize_t write(int fd, const void* data, size_t size) {
  if (std::shared_ptr<Handle> h = find_handle(fd)) {
    if (h->access == O_RDONLY) return fail(EBADF);
    return send_report(*h, data, size);
  }
  return real_write()(fd, data, size);
}

__attribute__((visibility("default"))) int ioctl(int fd, unsigned long request, ...) {
  va_list ap;
  va_start(ap, request);
  void* arg = va_arg(ap, void*);
  va_end(ap);
  if (std::shared_ptr<Handle> h = find_handle(fd)) return fake_ioctl(*h, request, arg);
  return real_ioctl()(fd, request, arg);
}

__attribute__((visibility("default"))) int poll(pollfd* fds, nfds_t count, int timeout) {
  State& s = state();
  if (s.handle_count.load(std::memory_order_acquire) == 0) return real_poll()(fds, count, timeout);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeout, 0));
  for (;;) {
    int r = real_poll()(fds, count, remaining(timeout, deadline));
    if (r <= 0) return r;
    int ready = 0;
    {
      std::lock_guard lock(s.mutex);
      for (nfds_t i = 0; i < count; ++i) {
        auto it = s.handles.find(fds[i].fd);
        if (it != s.handles.end()) fds[i].revents = fake_revents(*it->second, fds[i].events);
        if (fds[i].revents != 0) ++ready;
      }
    }
    // A report another reader took in the meantime leaves nothing to say: wait on.
    if (ready > 0 || remaining(timeout, deadline) == 0) return ready;
  }
}

__attribute__((visibility("default"))) int stat(const char* path, struct stat* st) {
  {
    State& s = state();
    std::lock_guard lock(s.mutex);
    auto it = s.nodes.find(path);
    if (it != s.nodes.end()) {
      if (!it->second.instance) return fail(ENOENT);
      std::memset(st, 0, sizeof *st);
      st->st_mode = S_IFCHR | 0600;
      st->st_rdev = makedev(kHidrawMajor, it->second.minor);
      return 0;
    }
  }
  return real_stat()(path, st);
}

__attribute__((visibility("default"))) int access(const char* path, int mode) {
  {
    State& s = state();
    std::lock_guard lock(s.mutex);
    auto it = s.nodes.find(path);
    if (it != s.nodes.end()) {
      if (!it->second.instance) return fail(ENOENT);
      if (it->second.denied && (mode & (R_OK | W_OK))) return fail(EACCES);
      return 0;
    }
  }
  return real_access()(path, mode);
}

}  // extern "C"
