#pragma once
// The row file of a saved result (".asr4a"): every group row and file row of a result with all
// their values and check states, in order. Our own versioned binary layout, described in
// docs/saved-result-rows.md. Reading checks every length and value against the bytes that are
// there, so a damaged, truncated or foreign file is refused and never half-loaded.
#include <string>
#include <string_view>
#include <vector>

#include "results/result_tree.h"

namespace twinex {

inline constexpr std::uint32_t kResultRowsVersion = 1;

// What the rows file keeps besides the rows: how the search ended and how it is described.
struct ResultRowsHeader {
  int stopReason = 0;  // 0: the search ran to its end
  int captionType = kCaptionName;
  std::int32_t lastGroupId = 0;
  std::string description;                    // the one-line description of the search
  std::vector<std::string> descriptionLines;  // the search log's header lines
};

std::string EncodeResultRows(const ResultTree& tree, const ResultRowsHeader& header);

enum class RowsError { None, Foreign, NewerVersion, Damaged };

// Fills tree (groups, files, counters) and header from the bytes; on any error both are left
// empty and the error says which kind.
RowsError DecodeResultRows(std::string_view bytes, ResultTree& tree, ResultRowsHeader& header);

}  // namespace twinex
