#pragma once
// A cheap first look at two large files before they are read whole: when the first or the last
// few KiB of their compared ranges differ, so do the files. Each file's look is kept for the
// rest of the search, so a file that meets many others of its size is looked at once.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "search/content_compare.h"

namespace twinex {

class ContentSamples {
 public:
  // True only when the two ranges (both `length` bytes long) certainly differ. Ranges too
  // short to gain anything, and files that cannot be read, answer false: the full comparison
  // then decides and reports the error.
  bool Differ(const CompareFile& a, const CompareFile& b, std::uint64_t length);
  // Whether ranges of this length are long enough for a look (shorter ones never differ by it).
  static bool Worthwhile(std::uint64_t length);
  // A fingerprint of the range (`length` bytes): the first and last block of a large range, the
  // whole of a short one. Equal contents give equal prints; false when the file cannot be read.
  bool Print(const CompareFile& file, std::uint64_t length, std::uint64_t& print);
  // A fingerprint of the whole range, for files whose first and last blocks agree with others.
  // Read in blocks that ask `run` to go on; Cancelled on a stop or skip.
  enum class FullPrintOutcome { Made, Failed, Cancelled };
  FullPrintOutcome FullPrint(const CompareFile& file, std::uint64_t length, std::uint64_t& print, RunControl& run);

 private:
  struct Sample {
    std::uint64_t cutStart = 0;
    std::uint64_t cutEnd = 0;
    std::uint64_t length = 0;
    std::size_t head = 0;
    std::size_t tail = 0;
    bool valid = false;
  };
  const Sample& Look(const CompareFile& file, std::uint64_t length);

  std::unordered_map<std::string, Sample> samples_;
  std::vector<char> buffer_;
};

}  // namespace twinex
