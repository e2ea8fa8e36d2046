#pragma once
// The channel to one HID interface that carries 64-byte command reports: framing, the
// write-then-read exchange with its timeouts, the three locks, and the command set built on it.
//
// Every operation returns a Result (command_report.h): 1 success, 0 not opened / no reply,
// -1 write failed, -102 / -103 device status 0xFF / 0xFE, -201 bad key-table index,
// -202 a request that cannot be framed. Callers compare against 1.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>

#include "hid/hid_device.h"
#include "protocol/command_report.h"

namespace qxr::protocol {

struct CommandRule;

inline constexpr uint16_t kMaxDataLength = 512;
inline constexpr int kExchangeTimeoutMs = 1000;
inline constexpr int kReceiverTimeoutMs = 5000;
inline constexpr int kEndPauseMs = 10;
inline constexpr size_t kInfoSize = 34;        // CMD_READ_INFO's information block
inline constexpr uint32_t kKeyTableStride = 512;  // CMD_WRITE_KEYS base = table index x this
inline constexpr size_t kRecoilPageSize = 56;  // CMD_WRITE_RECOIL ignores the channel's page size
inline constexpr size_t kLedMapDivisor = 3;    // one LED index per key, three key-table bytes per key

// The debug lines of the logged exchange and the light stream.
inline constexpr const char* kRequestLine = "命令";
inline constexpr const char* kReplyLine = "返回";
inline constexpr const char* kDroppedLightLine = "放弃灯光数据";

class CommandChannel {
 public:
  CommandChannel() = default;
  ~CommandChannel() = default;
  CommandChannel(const CommandChannel&) = delete;
  CommandChannel& operator=(const CommandChannel&) = delete;

  // --- state ---
  // Refuses n > 512 (false, length unchanged).
  bool set_data_length(uint16_t n);
  uint16_t data_length() const { return data_length_.load(std::memory_order_relaxed); }
  uint8_t page_size() const { return page_size_; }
  // True while a logged exchange runs on any thread.
  bool busy() const { return busy_.load(std::memory_order_acquire) > 0; }
  void set_hold(bool on) { hold_.store(on); }
  bool hold() const { return hold_.load(); }
  void set_opened(bool on) { opened_.store(on); }
  bool opened() const { return opened_.load(); }
  void set_synchronised(bool on) { synchronised_.store(on); }
  bool synchronised() const { return synchronised_.load(); }
  void set_receiver_mode(bool on) { receiver_mode_.store(on); }
  bool receiver_mode() const { return receiver_mode_.load(); }

  // Opens the interface for shared overlapped reading and writing and marks the channel opened;
  // false (and closed) when the node cannot be opened. Both take the I/O lock, so no exchange
  // sees a half-opened device; close cancels a transfer waiting for that lock first.
  bool open(const std::string& path);
  void close();
  hid::HidDevice& device() { return device_; }

  // --- exchanges (take the I/O lock themselves, never the other two) ---
  // Logged exchange: hex dump of request and reply to the debug output, timeouts 1000 ms
  // (5000 ms in receiver mode), up to two reads to find the reply echoing the command byte.
  int exchange(const uint8_t* request, size_t request_length, uint8_t* reply, size_t reply_length,
               size_t* bytes_read);
  // Quiet exchange for the light stream: 1000 ms, one read, no echo check, no logging, leaves
  // the busy flag alone.
  int exchange_quiet(const uint8_t* request, size_t request_length, uint8_t* reply,
                     size_t reply_length, size_t* bytes_read);

  // --- command set (each takes its lock per page) ---
  int begin();
  int end();  // pauses 10 ms first
  int host_lighting();
  bool link_up();
  int read_info(uint8_t* out /* kInfoSize bytes, written only when every page succeeded */);
  int read_params(uint8_t* out, size_t length, uint16_t base);
  int write_params(const uint8_t* data, size_t length, uint16_t base);
  int read_keys(uint8_t* out /* data_length() bytes */);
  int write_keys(const uint8_t* data /* data_length() bytes */, int table_index);
  int read_led_map(uint8_t* out /* data_length() / 3 bytes */);
  int write_key_colours(const uint8_t* data, size_t length, uint32_t slot, uint32_t slot_size);
  int light_stream(const uint8_t* data, size_t length);
  int write_macros(const uint8_t* data, size_t length);
  int write_recoil(const uint8_t* data, size_t length);
  int read_status(uint8_t* out, size_t length /* <= 56 */, uint16_t address);

 private:
  struct PageJob;
  int single(uint8_t command, CommandReport* reply);
  int run_paged(const PageJob& job);
  int send_page(const CommandRule& rule, CommandReport& request, CommandReport& reply);
  int transfer(const CommandReport& frame, uint8_t* reply, size_t reply_length, size_t* bytes_read,
               int timeout_ms, int max_reads);

  std::atomic<uint16_t> data_length_{kMaxDataLength};
  std::atomic<int> busy_{0};  // a count, so overlapping logged exchanges keep it set
  std::atomic<bool> hold_{false};
  std::atomic<bool> opened_{false};
  std::atomic<bool> synchronised_{false};
  hid::HidDevice device_;
  // The command or the lighting lock first, then the I/O lock.
  std::mutex io_lock_;
  std::mutex command_lock_;
  std::mutex lighting_lock_;
  std::atomic<bool> receiver_mode_{false};
  const uint8_t page_size_ = static_cast<uint8_t>(kPageSize);
};

// Turns an exchange result and its reply into the command's result: a result other than 1
// stands, status 0xFF gives -102, 0xFE gives -103, anything else is success.
int complete_command(int exchange_result, const uint8_t* reply);

}  // namespace qxr::protocol
