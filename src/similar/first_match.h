#pragma once
// First-match grouping, shared by the similarity searches: each new item is compared with the
// items collected before it, in collection order; the first one that reaches the threshold
// decides its group (a new group is opened with that item when it has none). Groups are not
// closed transitively. The measure is a parameter (names now; pictures and music share it).
//
// Scopes (source-folder compare method): 0 compares every pair, 1 only items of the same source
// folder, 2 only items of different source folders, 3 only items of the same source folder and
// subfolder. With scope 2 the search goes on after the first hit, so the new item meets every
// earlier item: each further hit that is in no group yet joins the new item's group (an item
// belongs to one group only, with one match percentage); hits already grouped stay where they
// are.
//
// A Measure provides `using Item`, a small trivially copyable `Summary` of an item, and:
//   Summary Summarize(const Item&);
//   std::size_t SizeOf(const Summary&);            a size the bounds read (length, word count)
//   std::size_t Needed(const Summary& current, std::size_t otherSize, double threshold);
//       the least Matchable value a pair needs to reach the threshold (kNever: it cannot)
//   std::size_t Matchable(const Summary& current, const Summary& other);
//   void Begin(const Item& current);             once per new item, before its comparisons
//   double Similarity(const Item& current, const Item& other, double threshold);
//       exact when it reaches the threshold; below it, any value below it will do, so that
//       a measure may give up early (the plain loop passes 0 and gets every value exactly)
// Needed and Matchable must only skip pairs whose similarity is below the threshold; with
// pruning on, the engine then yields exactly the groups, percentages and comparison count of
// the plain loop, which computes every allowed pair.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/run_control.h"

namespace twinex::similar {

struct SimilarMember {
  std::size_t item = 0;      // collection index, 0-based
  std::uint8_t percent = 0;  // similarity x 100 rounded; the founder of a group has 100
  bool operator==(const SimilarMember&) const = default;
};

struct SimilarGroup {
  std::vector<SimilarMember> members;  // in the order they joined
  bool operator==(const SimilarGroup&) const = default;
};

// What adding one item changed.
struct GroupChange {
  long group = -1;                    // the group the new item joined, -1: none
  bool opened = false;                // the group was opened with its first member now
  std::vector<SimilarMember> added;   // rows added to that group, in order
  bool stopped = false;               // a stop request ended the comparisons
};

// Where an item comes from, for the scopes: its source folder number and a number for its
// subfolder (see FolderNumbers).
struct ItemOrigin {
  int sourceNr = 0;
  int folder = 0;
};

// Gives each (source folder, relative subfolder) pair a number, for scope 3.
class FolderNumbers {
 public:
  int Of(int sourceNr, std::string_view relativeFolder) {
    auto key = std::make_pair(sourceNr, std::string(relativeFolder));
    return numbers_.try_emplace(std::move(key), static_cast<int>(numbers_.size())).first->second;
  }

 private:
  std::map<std::pair<int, std::string>, int> numbers_;
};

struct GroupingOptions {
  int scope = 0;
  double threshold = 0.9;  // a pair is a hit when its similarity reaches it
  bool prune = true;
  // How often progress is reported while comparing (the first report comes after one
  // interval); zero reports every few thousand pairs.
  std::chrono::milliseconds progressInterval{1500};
};

// The comparison counter counts the pairs the scope allows, whether compared or skipped as
// unreachable: it is the plain loop's count either way. measured counts the pairs whose
// similarity was computed.
struct GroupingCounters {
  std::uint64_t comparisons = 0;
  std::uint64_t measured = 0;
};

inline constexpr std::size_t kNever = static_cast<std::size_t>(-1);

// A similarity exactly at the percentage is a hit, also when its floating-point value lands a
// rounding step below it (1 - 9/10 is computed as 0.0999…96). Far below any real difference
// between two names, and below the margin the prunings keep.
inline constexpr double kHitTolerance = 1e-12;

inline std::uint8_t MatchPercent(double similarity) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(similarity, 0.0, 1.0) * 100.0));
}

template <class Measure>
class FirstMatchGrouping {
 public:
  using Item = typename Measure::Item;
  using Summary = typename Measure::Summary;
  using Progress = std::function<void(const GroupingCounters&)>;

  FirstMatchGrouping(Measure& measure, GroupingOptions options, RunControl& run, Progress progress = {})
      : measure_(measure), options_(options), run_(run), progress_(std::move(progress)) {
    lastProgress_ = std::chrono::steady_clock::now();
  }

  GroupChange Add(Item item, ItemOrigin origin = {});

  const std::vector<SimilarGroup>& Groups() const { return groups_; }
  const GroupingCounters& Counters() const { return counters_; }
  std::size_t Size() const { return items_.size(); }
  const Item& ItemAt(std::size_t i) const { return items_[i]; }
  long GroupOf(std::size_t i) const { return groupOf_[i]; }
  std::uint8_t PercentOf(std::size_t i) const { return percent_[i]; }

 private:
  bool ScopeAllows(const ItemOrigin& a, const ItemOrigin& b) const {
    switch (options_.scope) {
      case 1: return a.sourceNr == b.sourceNr;
      case 2: return a.sourceNr != b.sourceNr;
      case 3: return a.folder == b.folder;
      default: return true;
    }
  }
  // Between pairs: waits while paused; false when the comparisons of this item end (a stop, or
  // a skip of the current file).
  bool MayGoOn();
  void Hit(std::size_t k, double similarity, std::size_t current, GroupChange& change);
  void Join(std::size_t i, std::uint8_t percent, GroupChange& change);
  void PrepareNeeded(const Summary& current);

  Measure& measure_;
  GroupingOptions options_;
  RunControl& run_;
  Progress progress_;
  std::chrono::steady_clock::time_point lastProgress_;
  std::uint32_t sinceClockCheck_ = 0;

  std::vector<Item> items_;
  std::vector<Summary> summaries_;  // kept apart from the items so that skipping reads little
  std::vector<ItemOrigin> origins_;
  std::vector<long> groupOf_;
  std::vector<std::uint8_t> percent_;
  std::vector<SimilarGroup> groups_;
  std::vector<std::size_t> needed_;  // by the other item's size, for the current item
  std::size_t largestSize_ = 0;
  GroupingCounters counters_;
};

template <class Measure>
bool FirstMatchGrouping<Measure>::MayGoOn() {
  if (progress_ && ++sinceClockCheck_ >= 4096) {
    sinceClockCheck_ = 0;
    auto now = std::chrono::steady_clock::now();
    if (now - lastProgress_ >= options_.progressInterval) {
      lastProgress_ = now;
      progress_(counters_);
    }
  }
  if (run_.State() == kStateRunning) return true;
  return run_.ContinueAfterBlock();
}

template <class Measure>
void FirstMatchGrouping<Measure>::PrepareNeeded(const Summary& current) {
  needed_.resize(largestSize_ + 1);
  for (std::size_t size = 0; size <= largestSize_; ++size) needed_[size] = measure_.Needed(current, size, options_.threshold);
}

template <class Measure>
void FirstMatchGrouping<Measure>::Hit(std::size_t k, double similarity, std::size_t current, GroupChange& change) {
  std::uint8_t percent = MatchPercent(similarity);
  if (change.group < 0) {
    // The first hit decides the group of the new item.
    if (groupOf_[k] < 0) {
      change.opened = true;
      change.group = static_cast<long>(groups_.size());
      groups_.emplace_back();
      Join(k, 100, change);
    }
    change.group = groupOf_[k];
    Join(current, percent, change);
  } else if (groupOf_[k] < 0) {
    Join(k, percent, change);
  }
}

template <class Measure>
void FirstMatchGrouping<Measure>::Join(std::size_t i, std::uint8_t percent, GroupChange& change) {
  groupOf_[i] = change.group;
  percent_[i] = percent;
  groups_[static_cast<std::size_t>(change.group)].members.push_back({i, percent});
  change.added.push_back({i, percent});
}

template <class Measure>
GroupChange FirstMatchGrouping<Measure>::Add(Item item, ItemOrigin origin) {
  GroupChange change;
  std::size_t current = items_.size();
  Summary summary = measure_.Summarize(item);
  items_.push_back(std::move(item));
  summaries_.push_back(summary);
  origins_.push_back(origin);
  groupOf_.push_back(-1);
  percent_.push_back(0);
  const Item& cur = items_[current];
  if (current > 0) {
    measure_.Begin(cur);
    if (options_.prune) PrepareNeeded(summary);
    for (std::size_t k = 0; k < current; ++k) {
      if (options_.scope != 0 && !ScopeAllows(origin, origins_[k])) continue;
      if (!MayGoOn()) {
        change.stopped = run_.StopRequested();
        break;
      }
      ++counters_.comparisons;
      if (options_.prune) {
        std::size_t needed = needed_[measure_.SizeOf(summaries_[k])];
        if (needed == kNever || measure_.Matchable(summary, summaries_[k]) < needed) continue;
      }
      ++counters_.measured;
      double similarity = measure_.Similarity(cur, items_[k], options_.prune ? options_.threshold : 0.0);
      // Nothing in common is never a hit, also at 0 %: so an empty name matches nothing.
      if (similarity <= 0.0 || similarity < options_.threshold - kHitTolerance) continue;
      Hit(k, similarity, current, change);
      if (options_.scope != 2) break;
    }
  }
  largestSize_ = std::max(largestSize_, measure_.SizeOf(summary));
  return change;
}

}  // namespace twinex::similar
