#include "similar/fingerprint_compare.h"

#include <algorithm>
#include <bit>

namespace twinex::similar {

std::uint64_t AgreeingBits(std::span<const std::int32_t> a, std::span<const std::int32_t> b) {
  const std::size_t length = std::min(a.size(), b.size());
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < length; ++i) {
    if (a[i] == b[i])
      bits += 32;
    else
      bits += static_cast<unsigned>(std::popcount(static_cast<std::uint32_t>(a[i]) & static_cast<std::uint32_t>(b[i])));
  }
  return bits;
}

int FingerprintPercent(std::span<const std::int32_t> a, std::span<const std::int32_t> b) {
  const std::uint64_t compared = 32ull * std::min(a.size(), b.size());
  if (compared == 0) return 0;
  // Whole numbers only: round(bits * 100 / compared) without a floating-point step.
  return static_cast<int>((AgreeingBits(a, b) * 200 + compared) / (2 * compared));
}

}  // namespace twinex::similar
