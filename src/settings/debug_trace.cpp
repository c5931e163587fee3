#include "settings/debug_trace.h"

#include <atomic>

namespace twinex {
namespace {

std::atomic<DebugTraceWriter> gWriter{nullptr};

}  // namespace

void SetDebugTraceWriter(DebugTraceWriter writer) { gWriter.store(writer); }

void DebugTrace(const std::string& text) {
  if (DebugTraceWriter w = gWriter.load()) w(text);
}

}  // namespace twinex
