#include "search/slot_prints.h"

#include <algorithm>
#include <iterator>

namespace twinex {

void SlotPrints::Insert(std::uint64_t print, std::size_t slot) {
  std::vector<std::size_t>& slots = byPrint_[print];
  slots.insert(std::upper_bound(slots.begin(), slots.end(), slot), slot);
}

void SlotPrints::Resolve(std::size_t slotCount,
                         const std::function<bool(std::size_t slot, std::uint64_t& print)>& printOf) {
  for (; seen_ < slotCount; ++seen_) {
    std::uint64_t print = 0;
    if (printOf(seen_, print))
      Insert(print, seen_);
    else
      unknown_.push_back(seen_);  // tried once: an unreadable file is not read again for every newcomer
  }
}

void SlotPrints::Candidates(std::uint64_t print, std::vector<std::size_t>& out) const {
  out.clear();
  const auto it = byPrint_.find(print);
  if (it == byPrint_.end()) {
    out = unknown_;
    return;
  }
  std::merge(it->second.begin(), it->second.end(), unknown_.begin(), unknown_.end(), std::back_inserter(out));
}

const std::uint64_t* SlotPrints::FullPrint(std::size_t slot) const {
  const auto it = full_.find(slot);
  return it == full_.end() ? nullptr : &it->second;
}

void SlotPrints::Add(std::optional<std::uint64_t> print) {
  const std::size_t slot = seen_++;
  if (print)
    Insert(*print, slot);
  else
    unknown_.push_back(slot);
}

}  // namespace twinex
