#pragma once
// A cheap first look at two large files before they are read whole: when the first or the last
// few KiB of their compared ranges differ, so do the files. Each file's look is kept by its
// record for the rest of the search, so a file that meets many others of its size is looked at
// once, and its path is made only for that one read.
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "search/content_compare.h"

namespace twinex {

class ContentSamples {
 public:
  // Whether ranges of this length are long enough for a look (shorter ones never differ by it).
  static bool Worthwhile(std::uint64_t length);
  // True only when the compared ranges (both `length` bytes long) of records `a` and `b`
  // certainly differ. `fileOf(index)` gives a record's range to read when it has no look yet.
  // Ranges too short to gain anything, and files that cannot be read, answer false: the full
  // comparison then decides and reports the error.
  template <class FileOf>
  bool Differ(long a, long b, std::uint64_t length, FileOf&& fileOf) {
    if (!Worthwhile(length)) return false;
    std::uint64_t pa = 0, pb = 0;
    return Look(a, length, fileOf, pa) && Look(b, length, fileOf, pb) && pa != pb;
  }
  // A fingerprint of record `index`'s range (`length` bytes): the first and last block of a
  // large range, the whole of a short one. Equal contents give equal prints; false when the file
  // cannot be read.
  template <class FileOf>
  bool Print(long index, std::uint64_t length, FileOf&& fileOf, std::uint64_t& print) {
    if (Worthwhile(length)) return Look(index, length, fileOf, print);
    return ReadWhole(fileOf(index), length, print);
  }
  // A fingerprint of the whole range, for files whose first and last blocks agree with others.
  // Read in blocks that ask `run` to go on; Cancelled on a stop or skip.
  enum class FullPrintOutcome { Made, Failed, Cancelled };
  FullPrintOutcome FullPrint(const CompareFile& file, std::uint64_t length, std::uint64_t& print, RunControl& run);

  // Record 0 holds each checked file in turn: a new one starts without a look, and when it is
  // stored as record `index` its look goes with it.
  void NewCheckedFile() { current_.reset(); }
  void Stored(long index);

 private:
  template <class FileOf>
  bool Look(long index, std::uint64_t length, FileOf& fileOf, std::uint64_t& print) {
    if (const std::uint64_t* known = Known(index)) {
      print = *known;
      return true;
    }
    if (!ReadEnds(fileOf(index), length, print)) return false;
    Keep(index, print);
    return true;
  }
  const std::uint64_t* Known(long index) const;
  void Keep(long index, std::uint64_t print);
  bool ReadEnds(const CompareFile& file, std::uint64_t length, std::uint64_t& print);
  bool ReadWhole(const CompareFile& file, std::uint64_t length, std::uint64_t& print);

  // A look's length is its record's compared range, fixed once the record is stored, so only
  // the print is kept. A file that could not be read keeps none and is tried again.
  std::unordered_map<long, std::uint64_t> looks_;
  std::optional<std::uint64_t> current_;
  std::vector<char> buffer_;
};

}  // namespace twinex
