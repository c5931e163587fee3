#include "search/block_poll.h"

#include <chrono>
#include <thread>

#include "search/search_state.h"

namespace twinex {

bool ContinueAfterBlock() {
  for (;;) {
    int state = SearchState.load(std::memory_order_relaxed);
    if (state == kStateStop) return false;
    if (state == kStateSkip) {
      // Only clear our own skip: a stop that arrived meanwhile must survive.
      SearchState.compare_exchange_strong(state, kStateRunning);
      return false;
    }
    if (state != kStatePaused) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

}  // namespace twinex
