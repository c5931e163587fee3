#pragma once
// Process-wide run control of a search. The controls of any front end write these, every long
// loop polls them; atomics stand in for the single window thread's plain globals.
#include <atomic>

#include "platform/run_control.h"

namespace twinex {

extern std::atomic<int> SearchState;
extern std::atomic<int> SearchStopReason;

// Requests the stop with a reason (keeps the first reason when several arrive).
void RequestStop(int reason);

}  // namespace twinex
