#pragma once
// Byte-by-byte comparison of two files over their compared ranges (the bytes left after the
// start and end cuts), exact or as a percentage of equal bytes.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/read_only_file.h"
#include "platform/run_control.h"

namespace twinex {

enum ContentCompareCode : int {
  kContentEqual = 0,
  kContentDifferent = 1,   // also a range that cannot be positioned (the error text says so)
  kContentCancelled = 2,   // stop or skip requested
  kContentOpenFirst = 4,
  kContentOpenSecond = 5,
  kContentReadFirst = 6,
  kContentReadSecond = 7,
};

// A block size from the settings: 0 gives the fallback, and nothing beyond 64 MiB is used (two
// buffers of it are held, and larger blocks buy no speed).
std::uint64_t SaneBlockSize(std::uint64_t value, std::uint64_t fallback);

// Block sizes from CompareBuffer0..3: the first block, the largest block, the growth per block
// and the block compared first at the end (0: no end block).
struct CompareBlockSizes {
  std::uint64_t first = 16384;
  std::uint64_t largest = 32768;
  std::uint64_t growth = 16384;
  std::uint64_t endBlock = 32768;

  // Zero would stall the loop and huge values exhaust memory; see SaneBlockSize.
  static CompareBlockSizes From(const std::array<std::uint64_t, 4>& buffers);
  std::uint64_t BufferSize() const;
};

struct CompareFile {
  std::string path;
  std::uint64_t cutStart = 0;
  std::uint64_t cutEnd = 0;
};

// Two read buffers kept between comparisons so that the hot path does not allocate.
struct CompareBuffers {
  std::vector<char> a, b;
  void Reserve(std::uint64_t size);
};

// Exact comparison: 0 equal, 1 different, 2 cancelled, 4/5 the first/second file cannot be
// opened, 6/7 read error in the first/second file; error texts carry the failing step. `run` is
// asked after every block (pause, stop, skip).
int Search_CompareFileContent(const CompareFile& a, const CompareFile& b, const CompareBlockSizes& sizes,
                              std::string& error, CompareBuffers& buffers, RunControl& run);

// Counts differing byte positions instead of stopping at the first; `percent` is the share of
// equal bytes, truncated (0 after an error or for ranges of different length).
int Search_CompareFileContentPercent(const CompareFile& a, const CompareFile& b, const CompareBlockSizes& sizes,
                                     int& percent, std::string& error, CompareBuffers& buffers, RunControl& run);

// One range of each open file compared block by block with growing blocks. With `differing`
// the loop counts differing bytes and never stops early; without it the first difference ends
// it with code 1.
struct CompareRanges {
  const platform::ReadOnlyFile& a;
  std::uint64_t offsetA;
  const platform::ReadOnlyFile& b;
  std::uint64_t offsetB;
  std::uint64_t length;
  RunControl& run;
};
int CompareBlocks(const CompareRanges& r, const CompareBlockSizes& sizes, CompareBuffers& buffers,
                  std::uint64_t* differing, std::string& error);

// Compares the last sizes.endBlock bytes of both ranges; the caller shortens the ranges after.
int CompareFileAtEnd(const CompareRanges& r, const CompareBlockSizes& sizes, CompareBuffers& buffers,
                     std::uint64_t* differing, std::string& error);

}  // namespace twinex
