#pragma once
// Hands finished frames from the thread that computes them to the threads that show or
// send them, without a torn frame and without ever making the writer wait: a triple buffer.
// The writer fills back() and publishes it; readers copy the newest published frame.
#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>

namespace qxr::lighting {

template <typename Frame>
class FrameMailbox {
 public:
  // Writer side; one writer at a time (callers serialise, e.g. under their own lock).
  Frame& back() noexcept { return slots_[back_].frame; }
  void publish() noexcept {
    const uint64_t version = published_.load(std::memory_order_relaxed) + 1;
    slots_[back_].version = version;
    published_.store(version, std::memory_order_release);
    back_ = middle_.exchange(static_cast<uint8_t>(back_ | kFresh), std::memory_order_acq_rel) & kSlotMask;
  }

  // Any thread: the version of the newest frame published, without copying it.
  uint64_t published() const noexcept { return published_.load(std::memory_order_acquire); }

  // Reader side, any thread. Copies the newest published frame into out and returns its
  // version (0 while nothing was published yet); a reader can skip work when it is unchanged.
  uint64_t read(Frame& out) const {
    std::lock_guard lock(read_mutex_);
    if (middle_.load(std::memory_order_relaxed) & kFresh)
      front_ = middle_.exchange(front_, std::memory_order_acq_rel) & kSlotMask;
    out = slots_[front_].frame;
    return slots_[front_].version;
  }

 private:
  static constexpr uint8_t kFresh = 0x4;
  static constexpr uint8_t kSlotMask = 0x3;

  struct Slot {
    Frame frame{};
    uint64_t version = 0;
  };
  mutable std::array<Slot, 3> slots_{};
  uint8_t back_ = 0;
  std::atomic<uint64_t> published_{0};  // written by the writer only
  mutable std::atomic<uint8_t> middle_{1};
  mutable uint8_t front_ = 2;  // under read_mutex_
  mutable std::mutex read_mutex_;
};

}  // namespace qxr::lighting
