#pragma once
// The client side of the running program's local socket: one message sent, or one request
// answered, by another process (a second start, qxr470 --send, qxr470ctl).
#include <functional>
#include <optional>

#include "ipc/local_message.h"

namespace qxr::ipc {

enum class SendResult { Sent, NoInstance, Failed };

// Connects to the running instance and writes one message. Waits up to timeout_ms for an
// instance that holds the lock but does not serve yet.
SendResult send_to_instance(const LocalMessage& message, int timeout_ms = 2000);

// Some process holds the single-instance lock.
bool instance_running();
// Waits up to timeout_ms for the running instance to end; true when none runs any more.
bool wait_for_instance_end(int timeout_ms);

struct Answer {
  SendResult result = SendResult::Failed;  // Sent: the request went out
  std::optional<LocalMessage> reply;       // nothing when no answer came in time
};

// Sends request and reads the lines the program sends back until one is_reply accepts; the
// announcements every client receives first are passed over. Waits at most timeout_ms in all.
Answer ask_instance(const LocalMessage& request, const std::function<bool(const LocalMessage&)>& is_reply,
                    int timeout_ms = 2000);

}  // namespace qxr::ipc
