#pragma once
// The checksum of a file's compared range (the bytes between its start and end cuts).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/digest.h"
#include "platform/read_only_file.h"
#include "platform/run_control.h"
#include "results/file_record.h"

namespace twinex {

struct ChecksumDescriptor;

enum class HashOutcome { Created, Failed, Cancelled };

// A digest object and a read buffer reused from file to file.
struct ChecksumWorkspace {
  platform::Digest digest;
  std::vector<char> buffer;
};

// Fills `digest` (room for the digest length) with the digest of the compared range of the open
// `file` (less the tag cuts of `cuts`), read in blocks of `readBlock` bytes. A range not longer than the digest is
// its own digest, zero-padded. On failure `error` names the failing step; a stop or skip
// request on `run` gives Cancelled.
HashOutcome CreateHashFromFile(const platform::ReadOnlyFile& file, const RecordExtras& cuts, std::uint8_t* digest,
                               const ChecksumDescriptor& checksum, std::uint64_t readBlock, ChecksumWorkspace& workspace,
                               std::string& error, RunControl& run);

}  // namespace twinex
