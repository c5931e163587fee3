#pragma once
// The rules behind the selection commands, one family per file, and what they look up during a
// run (prepared once, so that each row costs O(1) plus its own comparison).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "results/selection_tools.h"
#include "settings/wildcard.h"

namespace twinex {

struct ToolContext {
  const SelectRequest& request;
  std::string folder;  // without a trailing separator
  WildcardPattern pattern;
  bool foldCase = false;  // the pattern was folded and rows are folded before matching
  double now = 0;
  std::unordered_set<std::uint64_t> marked;  // MarkedRowKey of each highlighted row
  // The defect commands: the check they run on each row, and the rows found with their reason.
  const std::function<std::string(const ResultFile&)>* defect = nullptr;
  mutable std::vector<std::pair<std::string, std::string>> defects;  // path, reason
};

namespace select_rules {

std::uint64_t MarkedRowKey(int groupId, std::size_t fileIndex);

// Keep-one (select_keep_one.cpp).
bool LaterModified(const ResultFile& c, const ResultFile& k);
bool EarlierModified(const ResultFile& c, const ResultFile& k);
bool LaterCreated(const ResultFile& c, const ResultFile& k);
bool EarlierCreated(const ResultFile& c, const ResultFile& k);
bool ShorterPath(const ResultFile& c, const ResultFile& k);
bool LongerPath(const ResultFile& c, const ResultFile& k);
bool ShorterName(const ResultFile& c, const ResultFile& k);
bool LongerName(const ResultFile& c, const ResultFile& k);
bool Bigger(const ResultFile& c, const ResultFile& k);
bool Smaller(const ResultFile& c, const ResultFile& k);
bool MoreMegapixels(const ResultFile& c, const ResultFile& k);
bool Never(const ResultFile& c, const ResultFile& k);   // the first row stays the keeper
bool Always(const ResultFile& c, const ResultFile& k);  // the last row becomes the keeper

// Folders (select_folders.cpp).
bool InFolder(std::string_view path, std::string_view folder);
bool InsideFolder(const ToolContext& c, const ResultGroup& g, const ResultFile& f);
bool OutsideFolder(const ToolContext& c, const ResultGroup& g, const ResultFile& f);
bool SameFolder(const ToolContext& c, const ResultGroup& g, const ResultFile& f);
bool HoldsFileInFolder(const ToolContext& c, const ResultGroup& g);

// The rows the user points at (select_rows.cpp).
bool IsCurrentGroup(const ToolContext& c, const ResultGroup& g);
bool IsNotCurrentRow(const ToolContext& c, const ResultGroup& g, const ResultFile& f);
bool IsMarkedRow(const ToolContext& c, const ResultGroup& g, const ResultFile& f);

// File properties (select_properties.cpp, select_by_date.cpp, select_by_size.cpp).
bool SimilarAtLeast(const ToolContext& c, const ResultGroup& g, const ResultFile& f);
bool SimilarAtMost(const ToolContext& c, const ResultGroup& g, const ResultFile& f);
bool WithoutHardlinks(const ToolContext& c, const ResultGroup& g, const ResultFile& f);
// The context's defect check names a reason (the row and reason are collected).
bool HasDefect(const ToolContext& c, const ResultGroup& g, const ResultFile& f);
bool DateMatches(const ToolContext& c, const ResultGroup& g, const ResultFile& f);
bool SizeMatches(const ToolContext& c, const ResultGroup& g, const ResultFile& f);

// Patterns (select_by_pattern.cpp).
bool NameMatches(const ToolContext& c, const ResultGroup& g, const ResultFile& f);
bool PathMatches(const ToolContext& c, const ResultGroup& g, const ResultFile& f);

}  // namespace select_rules

// The list the defect commands show after their count: a heading, then each file and reason.
std::string DefectList(bool pictures, const std::vector<std::pair<std::string, std::string>>& defects);

}  // namespace twinex
