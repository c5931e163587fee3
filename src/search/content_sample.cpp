#include "search/content_sample.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace twinex {
namespace {

constexpr std::uint64_t kSampleBlock = 4096;
// Below this the look would read a good part of what a full comparison reads.
constexpr std::uint64_t kMinLength = 4 * kSampleBlock;

std::uint64_t Fingerprint(const char* data, std::size_t n) { return std::hash<std::string_view>{}({data, n}); }

// Opens the file and checks that its range still has the length the search found; a file that
// changed since gives no print, and the full comparison sees it.
bool OpenRange(const CompareFile& file, std::uint64_t length, platform::ReadOnlyFile& f, bool readWhole = false) {
  if (!f.Open(file.path, readWhole).empty()) return false;
  return file.cutStart <= f.Size() && file.cutEnd <= f.Size() - file.cutStart &&
         f.Size() - file.cutStart - file.cutEnd == length;
}

}  // namespace

bool ContentSamples::Worthwhile(std::uint64_t length) { return length >= kMinLength; }

const std::uint64_t* ContentSamples::Known(long index) const {
  if (index == 0) return current_ ? &*current_ : nullptr;
  const auto it = looks_.find(index);
  return it == looks_.end() ? nullptr : &it->second;
}

void ContentSamples::Keep(long index, std::uint64_t print) {
  if (index == 0)
    current_ = print;
  else
    looks_[index] = print;
}

void ContentSamples::Stored(long index) {
  if (current_) looks_[index] = *current_;
  current_.reset();
}

bool ContentSamples::ReadEnds(const CompareFile& file, std::uint64_t length, std::uint64_t& print) {
  platform::ReadOnlyFile f;
  if (!OpenRange(file, length, f)) return false;
  buffer_.resize(std::max<std::size_t>(buffer_.size(), 2 * kSampleBlock));
  char* head = buffer_.data();
  char* tail = head + kSampleBlock;
  if (!f.ReadAt(file.cutStart, head, kSampleBlock).empty() ||
      !f.ReadAt(file.cutStart + length - kSampleBlock, tail, kSampleBlock).empty())
    return false;
  print = Fingerprint(head, kSampleBlock) ^ (Fingerprint(tail, kSampleBlock) * 0x9E3779B97F4A7C15ull);
  return true;
}

bool ContentSamples::ReadWhole(const CompareFile& file, std::uint64_t length, std::uint64_t& print) {
  platform::ReadOnlyFile f;
  if (!OpenRange(file, length, f)) return false;
  buffer_.resize(std::max<std::size_t>(buffer_.size(), kMinLength));
  if (length > 0 && !f.ReadAt(file.cutStart, buffer_.data(), static_cast<std::size_t>(length)).empty()) return false;
  print = Fingerprint(buffer_.data(), static_cast<std::size_t>(length));
  return true;
}

ContentSamples::FullPrintOutcome ContentSamples::FullPrint(const CompareFile& file, std::uint64_t length,
                                                           std::uint64_t& print, RunControl& run) {
  constexpr std::uint64_t kBlock = 1 << 20;
  platform::ReadOnlyFile f;
  if (!OpenRange(file, length, f, true)) return FullPrintOutcome::Failed;
  if (buffer_.size() < kBlock) buffer_.resize(kBlock);
  std::uint64_t h = length;
  for (std::uint64_t done = 0; done < length;) {
    const auto n = static_cast<std::size_t>(std::min(kBlock, length - done));
    if (!f.ReadAt(file.cutStart + done, buffer_.data(), n).empty()) return FullPrintOutcome::Failed;
    h = (h ^ Fingerprint(buffer_.data(), n)) * 0x100000001B3ull;
    done += n;
    if (!run.ContinueAfterBlock()) return FullPrintOutcome::Cancelled;
  }
  print = h;
  return FullPrintOutcome::Made;
}

}  // namespace twinex
