#pragma once
// How alike two acoustic fingerprints are: position by position over the shorter one, an equal
// number counts all its 32 bits, an unequal one the bits that are set in both.
#include <cstdint>
#include <span>

namespace twinex::similar {

// The agreeing bits of the first min(|a|, |b|) positions.
std::uint64_t AgreeingBits(std::span<const std::int32_t> a, std::span<const std::int32_t> b);

// The agreeing bits as a share of all bits compared, in whole percent rounded to the nearest;
// 0 when either fingerprint is empty (there is nothing to compare).
int FingerprintPercent(std::span<const std::int32_t> a, std::span<const std::int32_t> b);

}  // namespace twinex::similar
