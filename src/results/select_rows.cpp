// Rules for the rows the user points at in the view: the current row and the highlighted rows.
#include "results/select_rules.h"

namespace twinex::select_rules {

namespace {

std::size_t IndexOf(const ResultGroup& g, const ResultFile& f) { return static_cast<std::size_t>(&f - g.files.data()); }

}  // namespace

std::uint64_t MarkedRowKey(int groupId, std::size_t fileIndex) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(groupId)) << 32) | static_cast<std::uint32_t>(fileIndex);
}

bool IsCurrentGroup(const ToolContext& c, const ResultGroup& g) { return g.id == c.request.current.groupId; }

bool IsNotCurrentRow(const ToolContext& c, const ResultGroup& g, const ResultFile& f) {
  return g.id != c.request.current.groupId || IndexOf(g, f) != c.request.current.fileIndex;
}

bool IsMarkedRow(const ToolContext& c, const ResultGroup& g, const ResultFile& f) {
  return c.marked.count(MarkedRowKey(g.id, IndexOf(g, f))) != 0;
}

}  // namespace twinex::select_rules
