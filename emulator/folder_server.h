#pragma once
// Serves emulated HID interfaces in a folder. Each plugged interface is a listening Unix
// SOCK_SEQPACKET socket "<id>.sock" plus its description "<id>.json" (socket bound first, JSON
// renamed into place). One packet is one report; every input report goes to every open
// connection of the interface. One thread runs every socket from an epoll set and sleeps
// while nothing happens.
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/worker_thread.h"
#include "emulator/interface_handler.h"

namespace qxr::emu {

class FolderServer {
 public:
  explicit FolderServer(std::string dir);
  ~FolderServer();
  FolderServer(const FolderServer&) = delete;
  FolderServer& operator=(const FolderServer&) = delete;

  // Creates the folder if needed and starts the server thread.
  bool start();
  // Unplugs every interface and joins the thread.
  void stop();

  const std::string& dir() const { return dir_; }
  std::string json_path(const std::string& id) const { return dir_ + "/" + id + ".json"; }
  std::string socket_path(const std::string& id) const { return dir_ + "/" + id + ".sock"; }

  // False when the id is already plugged, the server is not running, or the socket or JSON
  // cannot be made (nothing is left behind then).
  bool plug(const InterfaceDescription& description, std::shared_ptr<InterfaceHandler> handler);
  // Removes the JSON, closes every connection and the socket. False when not plugged.
  bool unplug(const std::string& id);
  bool plugged(const std::string& id) const;
  size_t connection_count(const std::string& id) const;
  // An input report to every open connection (reports queued late go first). False when the
  // interface is not plugged.
  bool send_input(const std::string& id, const std::vector<uint8_t>& report);

  // The JSON text of the folder contract for one interface.
  static std::string description_json(const InterfaceDescription& description);

 private:
  struct Interface {
    InterfaceDescription description;
    std::shared_ptr<InterfaceHandler> handler;
    int listen_fd = -1;
    uint64_t listen_token = 0;
    std::map<uint64_t, int> connections;  // token → fd
    uint64_t last_deadline_ms = 0;        // keeps delayed reports in order
  };
  enum class TokenKind { kListener, kConnection };
  struct TokenTarget {
    TokenKind kind;
    std::string id;
  };
  struct Timed {
    uint64_t deadline_ms;
    std::string id;
    std::vector<uint8_t> report;
    bool unplug;  // unplug after this one is sent
  };

  void run(StopEvent& stop);
  int next_timeout_ms() const;
  void handle_event(uint64_t token, uint32_t events);
  void accept_pending(Interface& itf);
  void read_connection(const std::string& id, uint64_t token);
  void close_connection(Interface& itf, uint64_t token);
  void dispatch(const std::string& id, HandlerResult result);
  void broadcast(Interface& itf, const std::vector<uint8_t>& report);
  void run_due_reports();
  bool unplug_locked(const std::string& id);
  uint64_t add_token(TokenKind kind, const std::string& id, int fd);

  const std::string dir_;
  int epoll_fd_ = -1;
  WorkerThread thread_;
  mutable std::mutex mutex_;
  std::map<std::string, Interface> interfaces_;            // guarded by mutex_
  std::unordered_map<uint64_t, TokenTarget> tokens_;       // guarded by mutex_
  std::vector<Timed> timed_;                               // guarded by mutex_, in send order
  uint64_t next_token_ = 1;                                // guarded by mutex_
  bool running_ = false;                                   // guarded by mutex_
};

}  // namespace qxr::emu
