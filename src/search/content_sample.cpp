#include "search/content_sample.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace twinex {
namespace {

constexpr std::uint64_t kSampleBlock = 4096;
// Below this the look would read a good part of what a full comparison reads.
constexpr std::uint64_t kMinLength = 4 * kSampleBlock;

std::size_t Fingerprint(const char* data, std::size_t n) { return std::hash<std::string_view>{}({data, n}); }

}  // namespace

const ContentSamples::Sample& ContentSamples::Look(const CompareFile& file, std::uint64_t length) {
  Sample& s = samples_[file.path];
  if (s.valid && s.cutStart == file.cutStart && s.cutEnd == file.cutEnd && s.length == length) return s;
  s = Sample{file.cutStart, file.cutEnd, length, 0, 0, false};
  platform::ReadOnlyFile f;
  if (!f.Open(file.path, false).empty()) return s;
  // A file that changed size since it was found gives no look; the full comparison sees it.
  if (file.cutStart > f.Size() || file.cutEnd > f.Size() - file.cutStart ||
      f.Size() - file.cutStart - file.cutEnd != length)
    return s;
  buffer_.resize(2 * kSampleBlock);
  char* head = buffer_.data();
  char* tail = head + kSampleBlock;
  if (!f.ReadAt(file.cutStart, head, kSampleBlock).empty() ||
      !f.ReadAt(file.cutStart + length - kSampleBlock, tail, kSampleBlock).empty())
    return s;
  s.head = Fingerprint(head, kSampleBlock);
  s.tail = Fingerprint(tail, kSampleBlock);
  s.valid = true;
  return s;
}

bool ContentSamples::Print(const CompareFile& file, std::uint64_t length, std::uint64_t& print) {
  if (length >= kMinLength) {
    const Sample& s = Look(file, length);
    if (!s.valid) return false;
    print = s.head ^ (s.tail * 0x9E3779B97F4A7C15ull);
    return true;
  }
  platform::ReadOnlyFile f;
  if (!f.Open(file.path, false).empty()) return false;
  if (file.cutStart > f.Size() || file.cutEnd > f.Size() - file.cutStart ||
      f.Size() - file.cutStart - file.cutEnd != length)
    return false;
  buffer_.resize(kMinLength);
  if (length > 0 && !f.ReadAt(file.cutStart, buffer_.data(), static_cast<std::size_t>(length)).empty()) return false;
  print = Fingerprint(buffer_.data(), static_cast<std::size_t>(length));
  return true;
}

ContentSamples::FullPrintOutcome ContentSamples::FullPrint(const CompareFile& file, std::uint64_t length,
                                                           std::uint64_t& print, RunControl& run) {
  constexpr std::uint64_t kBlock = 1 << 20;
  platform::ReadOnlyFile f;
  if (!f.Open(file.path).empty()) return FullPrintOutcome::Failed;
  if (file.cutStart > f.Size() || file.cutEnd > f.Size() - file.cutStart ||
      f.Size() - file.cutStart - file.cutEnd != length)
    return FullPrintOutcome::Failed;
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

bool ContentSamples::Worthwhile(std::uint64_t length) { return length >= kMinLength; }

bool ContentSamples::Differ(const CompareFile& a, const CompareFile& b, std::uint64_t length) {
  if (!Worthwhile(length)) return false;
  const Sample& sa = Look(a, length);
  if (!sa.valid) return false;
  const std::size_t head = sa.head, tail = sa.tail;  // the second look may rehash the table
  const Sample& sb = Look(b, length);
  return sb.valid && (head != sb.head || tail != sb.tail);
}

}  // namespace twinex
