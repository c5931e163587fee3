#pragma once
// The slots of one key sorted by the print of their first file (byte-by-byte searches), so that
// a new file is compared in full only with the slots that may hold its content: one per
// distinct content, not every file of its size.
#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

namespace twinex {

class SlotPrints {
 public:
  // Takes in the slots the index has not seen yet, asking for their prints; a slot whose print
  // cannot be taken stays unknown and is a candidate for every file.
  void Resolve(std::size_t slotCount, const std::function<bool(std::size_t slot, std::uint64_t& print)>& printOf);
  // The slots a file with this print may match, in slot order: the same print or none known.
  void Candidates(std::uint64_t print, std::vector<std::size_t>& out) const;
  // A new last slot, with its print or none when it could not be taken.
  void Add(std::optional<std::uint64_t> print);

  // Prints of the whole content, taken only where the cheap prints of several slots agree.
  const std::uint64_t* FullPrint(std::size_t slot) const;
  void SetFullPrint(std::size_t slot, std::uint64_t print) { full_[slot] = print; }

 private:
  void Insert(std::uint64_t print, std::size_t slot);

  std::unordered_map<std::uint64_t, std::vector<std::size_t>> byPrint_;  // each in slot order
  std::vector<std::size_t> unknown_;
  std::unordered_map<std::size_t, std::uint64_t> full_;
  std::size_t seen_ = 0;
};

}  // namespace twinex
