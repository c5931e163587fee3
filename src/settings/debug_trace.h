#pragma once
// Lines for the debug log from code below the program's log files: the program installs the
// writer at start-up; until then (and in tests) the lines go nowhere.
#include <string>

namespace twinex {

using DebugTraceWriter = void (*)(const std::string& text);
void SetDebugTraceWriter(DebugTraceWriter writer);
void DebugTrace(const std::string& text);

}  // namespace twinex
