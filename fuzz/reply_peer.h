#pragma once
// A device on an emulator-folder socket (docs/emulator-folder.md) that serves one connection
// at a time and answers each output report through a function. When the function gives up,
// the connection is closed, which the program sees as the device going away.
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qxr::fuzz {

using Packet = std::vector<uint8_t>;

class ReplyPeer {
 public:
  // Input reports to send for one request; false ends the connection after sending them.
  using Answer = std::function<bool(const Packet& request, std::vector<Packet>* replies)>;

  // Serves the emulated keyboard's interface (its real report descriptor) in folder.
  ReplyPeer(const std::string& folder, Answer answer);
  ~ReplyPeer();
  ReplyPeer(const ReplyPeer&) = delete;
  ReplyPeer& operator=(const ReplyPeer&) = delete;

  // The command collection's path, as discovery would hand it out.
  const std::string& path() const { return path_; }
  // Waits until this many connections, counted from the start, have been served to their end.
  void wait_served(size_t connections);

 private:
  void run();
  void serve(int fd);

  Answer answer_;
  std::string socket_;
  std::string path_;
  int listen_fd_ = -1;
  std::mutex mutex_;
  std::condition_variable cv_;
  size_t served_ = 0;
  std::thread thread_;
};

}  // namespace qxr::fuzz
