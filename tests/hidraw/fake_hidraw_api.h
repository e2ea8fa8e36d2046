#pragma once
// The control calls of the preloaded fake-hidraw library (fake_hidraw.cpp). A fake node stands
// for a hidraw node whose device is an emulated interface: the library holds one connection to
// the interface's socket, as the kernel holds the USB device, and answers open, ioctl, read,
// write, poll, close, stat and access on the node and its handles as the hidraw driver does.
#include <cstddef>
#include <cstdint>

extern "C" {

// The node appears, backed by the emulated interface at socket (connected now). 0, or -1 with
// errno when the socket cannot be reached or the node is already plugged.
int qxr_fake_hidraw_plug(const char* node, const char* socket, uint32_t bustype, uint16_t vendor,
                         uint16_t product, const uint8_t* descriptor, size_t descriptor_size);
// The device goes as on a USB unplug: the node vanishes and open handles fail. 0, or -1.
int qxr_fake_hidraw_unplug(const char* node);
// While set, opening the node, or access() for reading or writing, fails with EACCES: the node
// of a user without the rule, simulated because the tests may run as root.
void qxr_fake_hidraw_deny(const char* node, int denied);
// Handles of the node open now.
unsigned qxr_fake_hidraw_open_handles(const char* node);
// ioctl requests on a fake handle the library does not answer (each would be a kernel request
// the code issues without a test behind it).
unsigned qxr_fake_hidraw_unknown_requests(void);
}

namespace qxr::testing {

// The library's calls, found in the running process; all null when it is not preloaded.
struct FakeHidraw {
  decltype(&qxr_fake_hidraw_plug) plug = nullptr;
  decltype(&qxr_fake_hidraw_unplug) unplug = nullptr;
  decltype(&qxr_fake_hidraw_deny) deny = nullptr;
  decltype(&qxr_fake_hidraw_open_handles) open_handles = nullptr;
  decltype(&qxr_fake_hidraw_unknown_requests) unknown_requests = nullptr;
  bool loaded() const { return plug != nullptr; }
};
FakeHidraw fake_hidraw();

}  // namespace qxr::testing
