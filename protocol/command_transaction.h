#pragma once
// The bracket a group of commands travels in: CMD_BEGIN when the transaction is made, CMD_END
// when it goes, so that a device never stays in its configuration state. A step runs only while
// everything before it succeeded; the first failing result is kept.
#include "protocol/command_channel.h"

namespace qxr::protocol {

class CommandTransaction {
 public:
  explicit CommandTransaction(CommandChannel& channel) : channel_(channel), result_(channel.begin()) {}
  ~CommandTransaction() {
    if (open_) channel_.end();
  }
  CommandTransaction(const CommandTransaction&) = delete;
  CommandTransaction& operator=(const CommandTransaction&) = delete;

  // Runs op (returning a result) when every result so far was a success.
  template <typename Op>
  int run(Op&& op) {
    if (result_ == kResultOk) result_ = op();
    return result_;
  }
  // A failure found between the commands (a request that cannot be framed); the bracket still
  // closes.
  int fail(int result) { return run([result] { return result; }); }
  // The first failing result so far, CMD_BEGIN's included; kResultOk when none failed.
  int result() const { return result_; }
  // CMD_END now; the first failing result, CMD_END's included.
  int finish() {
    if (!open_) return result_;
    open_ = false;
    const int end = channel_.end();
    if (result_ == kResultOk) result_ = end;
    return result_;
  }
  // Leaves without CMD_END (a receiver whose mouse went away takes nothing more).
  int abandon(int result) {
    open_ = false;
    result_ = result;
    return result_;
  }

 private:
  CommandChannel& channel_;
  int result_;
  bool open_ = true;
};

}  // namespace qxr::protocol
