#include "search/file_checksum.h"

#include <algorithm>
#include <cerrno>

#include "search/search.h"

namespace twinex {

HashOutcome CreateHashFromFile(const platform::ReadOnlyFile& file, const RecordExtras& cuts, std::uint8_t* digest,
                               const ChecksumDescriptor& checksum, std::uint64_t readBlock, ChecksumWorkspace& ws,
                               std::string& error, RunControl& run) {
  auto fail = [&error](std::string text) {
    error = std::move(text);
    return HashOutcome::Failed;
  };
  const auto digestLength = static_cast<std::uint64_t>(std::clamp(checksum.digestLength, 0, kMaxDigestLength));
  const std::uint64_t size = file.Size();
  if (size == 0) return fail("File size 0");

  const std::uint64_t start = cuts.cutFromFileStart, end = cuts.cutFromFileEnd;
  if (start >= size || end >= size - start) {
    const long double remaining = static_cast<long double>(size) - start - end;
    return fail("xSetFilePointerPos: " + platform::SystemErrorText(EINVAL) + " (" +
                std::to_string(static_cast<long long>(remaining)) + " / " + std::to_string(size) + ")");
  }
  std::uint64_t remaining = size - start - end;
  std::fill(digest, digest + digestLength, std::uint8_t{0});

  // A range this short is its own fingerprint: hashing it would only make it longer. The cut
  // range (not the whole file) is used, so tiny files that differ only in their tags still match.
  if (remaining <= digestLength) {
    if (std::string e = file.ReadAt(start, digest, remaining); !e.empty())
      return fail("ReadFile: " + e);
    return HashOutcome::Created;
  }

  if (std::string e = ws.digest.Begin(checksum.index); !e.empty()) return fail("CryptCreateHash: " + e);
  const std::uint64_t block = std::max<std::uint64_t>(readBlock, 1);
  if (ws.buffer.size() < block) ws.buffer.resize(block);
  for (std::uint64_t offset = start; remaining > 0;) {
    const auto n = static_cast<std::size_t>(std::min(block, remaining));
    if (std::string e = file.ReadAt(offset, ws.buffer.data(), n); !e.empty()) return fail("ReadFile2: " + e);
    if (std::string e = ws.digest.Add(ws.buffer.data(), n); !e.empty()) return fail("CryptBinHashData: " + e);
    offset += n;
    remaining -= n;
    if (!run.ContinueAfterBlock()) return HashOutcome::Cancelled;
  }
  std::size_t written = 0;
  if (std::string e = ws.digest.Finish(digest, digestLength, written); !e.empty())
    return fail("CryptGetHashParam: " + e);
  return HashOutcome::Created;
}

}  // namespace twinex
