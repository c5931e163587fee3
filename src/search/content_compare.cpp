#include "search/content_compare.h"

#include <algorithm>
#include <cerrno>
#include <cstring>


namespace twinex {
namespace {

constexpr std::uint64_t kMaxBlock = 64ull << 20;

std::uint64_t CountDiffering(const char* a, const char* b, std::size_t n) {
  if (std::memcmp(a, b, n) == 0) return 0;
  std::uint64_t count = 0;
  for (std::size_t i = 0; i < n; ++i) count += a[i] != b[i];
  return count;
}

// The bytes left between the cuts, or false when the cuts reach past the file (it changed
// since its tags were read): such a range cannot be positioned.
bool RangeLength(const platform::ReadOnlyFile& f, const CompareFile& c, std::uint64_t& length) {
  if (c.cutStart > f.Size() || c.cutEnd > f.Size() - c.cutStart) return false;
  length = f.Size() - c.cutStart - c.cutEnd;
  return true;
}

struct OpenStepNames {
  const char* first;
  const char* second;
};

// Opening, range checks, the end block and the block loop, shared by both variants.
int CompareFiles(const CompareFile& fa, const CompareFile& fb, const CompareBlockSizes& sizes,
                 const OpenStepNames& steps, std::uint64_t* differing, std::uint64_t& length, std::string& error,
                 CompareBuffers& buffers, RunControl& run) {
  length = 0;
  platform::ReadOnlyFile a, b;
  if (std::string e = a.Open(fa.path); !e.empty()) {
    error = steps.first + e;
    return kContentOpenFirst;
  }
  if (std::string e = b.Open(fb.path); !e.empty()) {
    error = steps.second + e;
    return kContentOpenSecond;
  }
  if (a.Size() == 0 && b.Size() == 0) return kContentEqual;
  std::uint64_t lengthA = 0, lengthB = 0;
  if (!RangeLength(a, fa, lengthA)) {
    error = "xSetFilePointerPos1: " + platform::SystemErrorText(EINVAL);
    return kContentDifferent;
  }
  if (!RangeLength(b, fb, lengthB)) {
    error = "xSetFilePointerPos2: " + platform::SystemErrorText(EINVAL);
    return kContentDifferent;
  }
  if (lengthA != lengthB) return kContentDifferent;
  length = lengthA;
  CompareRanges r{a, fa.cutStart, b, fb.cutStart, lengthA, run};
  if (sizes.endBlock > 0 && r.length > sizes.endBlock) {
    int code = CompareFileAtEnd(r, sizes, buffers, differing, error);
    if (code != kContentEqual) return code;
    r.length -= sizes.endBlock;
  }
  return CompareBlocks(r, sizes, buffers, differing, error);
}

}  // namespace

std::uint64_t SaneBlockSize(std::uint64_t value, std::uint64_t fallback) {
  return value == 0 ? fallback : std::min(value, kMaxBlock);
}

CompareBlockSizes CompareBlockSizes::From(const std::array<std::uint64_t, 4>& buffers) {
  CompareBlockSizes s;
  s.first = SaneBlockSize(buffers[0], 16384);
  s.largest = SaneBlockSize(buffers[1], 32768);
  s.growth = std::min(buffers[2], kMaxBlock);
  s.endBlock = std::min(buffers[3], kMaxBlock);
  return s;
}

std::uint64_t CompareBlockSizes::BufferSize() const { return std::max({first, largest, endBlock}); }

void CompareBuffers::Reserve(std::uint64_t size) {
  if (a.size() < size) a.resize(size);
  if (b.size() < size) b.resize(size);
}

int CompareBlocks(const CompareRanges& r, const CompareBlockSizes& sizes, CompareBuffers& buffers,
                  std::uint64_t* differing, std::string& error) {
  buffers.Reserve(sizes.BufferSize());
  std::uint64_t block = sizes.first;
  for (std::uint64_t done = 0; done < r.length;) {
    const auto n = static_cast<std::size_t>(std::min(block, r.length - done));
    if (std::string e = r.a.ReadAt(r.offsetA + done, buffers.a.data(), n); !e.empty()) {
      error = "ReadFile1: " + e;
      return kContentReadFirst;
    }
    if (std::string e = r.b.ReadAt(r.offsetB + done, buffers.b.data(), n); !e.empty()) {
      error = "ReadFile2: " + e;
      return kContentReadSecond;
    }
    if (differing)
      *differing += CountDiffering(buffers.a.data(), buffers.b.data(), n);
    else if (std::memcmp(buffers.a.data(), buffers.b.data(), n) != 0)
      return kContentDifferent;
    done += n;
    if (!r.run.ContinueAfterBlock()) return kContentCancelled;
    if (block < sizes.largest) block = std::min(block + sizes.growth, sizes.largest);
  }
  return kContentEqual;
}

int CompareFileAtEnd(const CompareRanges& r, const CompareBlockSizes& sizes, CompareBuffers& buffers,
                     std::uint64_t* differing, std::string& error) {
  const std::uint64_t back = r.length - sizes.endBlock;
  CompareRanges end{r.a, r.offsetA + back, r.b, r.offsetB + back, sizes.endBlock, r.run};
  CompareBlockSizes one;
  one.first = one.largest = sizes.endBlock;
  one.growth = one.endBlock = 0;
  return CompareBlocks(end, one, buffers, differing, error);
}

int Search_CompareFileContent(const CompareFile& a, const CompareFile& b, const CompareBlockSizes& sizes,
                              std::string& error, CompareBuffers& buffers, RunControl& run) {
  std::uint64_t length = 0;
  return CompareFiles(a, b, sizes, {"CreateFileWide1: ", "CreateFileWide2: "}, nullptr, length, error, buffers, run);
}

int Search_CompareFileContentPercent(const CompareFile& a, const CompareFile& b, const CompareBlockSizes& sizes,
                                     int& percent, std::string& error, CompareBuffers& buffers, RunControl& run) {
  std::uint64_t differing = 0, length = 0;
  int code = CompareFiles(a, b, sizes, {"CreateFileWide3: ", "CreateFileWide4: "}, &differing, length, error, buffers,
                          run);
  if (code != kContentEqual)
    percent = 0;
  else if (differing == 0)
    percent = 100;
  else
    percent = static_cast<int>(static_cast<unsigned __int128>(length - differing) * 100 / length);
  return code;
}

}  // namespace twinex
