#pragma once
// The file of a group that hard links or shortcuts point to: the first selected row, from the
// top, that is an ordinary file still as the search saw it (and, for hard links, below the link
// limit). The rows that become links, and earlier sources, are never chosen again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "results/result_tree.h"

namespace twinex {

enum class LinkKind { None, Hard, Symbolic };

inline constexpr std::size_t kNoLinkSource = static_cast<std::size_t>(-1);

// Why a row cannot be the source ("" when it can).
std::string LinkSourceProblem(const ResultFile& file, LinkKind kind, std::uint64_t hardLinkLimit);

// The first usable selected row not excluded; kNoLinkSource and the last row's problem when none.
std::size_t FindLinkSource(const ResultGroup& group, const std::vector<char>& excluded, LinkKind kind,
                           std::uint64_t hardLinkLimit, std::string& why);

}  // namespace twinex
