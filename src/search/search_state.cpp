#include "search/search_state.h"

namespace twinex {

std::atomic<int> SearchState{kStateRunning};
std::atomic<int> SearchStopReason{kStopNone};

void RequestStop(int reason) {
  int expected = kStopNone;
  SearchStopReason.compare_exchange_strong(expected, reason);
  SearchState.store(kStateStop);
}

}  // namespace twinex
