#include "platform/run_control.h"

#include <chrono>
#include <thread>

namespace twinex {
namespace {
constexpr auto kPausePoll = std::chrono::milliseconds(50);
}

void RunControl::RequestStop(int reason) noexcept {
  int expected = kStopNone;
  reason_.compare_exchange_strong(expected, reason);
  state_.store(kStateStop);
}

void RunControl::SetUnlessStopped(int value) noexcept {
  int current = state_.load();
  while (current != kStateStop && !state_.compare_exchange_weak(current, value)) {
  }
}

void RunControl::Pause() noexcept { SetUnlessStopped(kStatePaused); }

void RunControl::Resume() noexcept {
  int paused = kStatePaused;
  state_.compare_exchange_strong(paused, kStateRunning);
}

void RunControl::RequestSkip() noexcept { SetUnlessStopped(kStateSkip); }

bool RunControl::WaitWhilePaused() const {
  for (;;) {
    const int state = State();
    if (state == kStateStop) return false;
    if (state != kStatePaused) return true;
    std::this_thread::sleep_for(kPausePoll);
  }
}

bool RunControl::ContinueAfterBlock() {
  for (;;) {
    int state = State();
    if (state == kStateStop) return false;
    if (state == kStateSkip) {
      // Only our own skip is cleared: a stop that arrived meanwhile must survive.
      state_.compare_exchange_strong(state, kStateRunning);
      return false;
    }
    if (state != kStatePaused) return true;
    std::this_thread::sleep_for(kPausePoll);
  }
}

void RunControl::Reset() noexcept {
  reason_.store(kStopNone);
  state_.store(kStateRunning);
}

}  // namespace twinex
