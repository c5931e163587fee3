#include "similar/picture_compare.h"

#include <algorithm>
#include <cstddef>

namespace twinex::similar {

PackedHash PackHash(std::span<const std::uint8_t> elements, HashElements kind) {
  PackedHash out{};
  if (kind == HashElements::Bits) {
    const std::size_t n = std::min<std::size_t>(elements.size(), kPackedWords * 64);
    for (std::size_t i = 0; i < n; ++i)
      if (elements[i] != 0) out[i / 64] |= 1ull << (i % 64);
  } else {
    const std::size_t n = std::min<std::size_t>(elements.size(), kPackedWords * 8);
    for (std::size_t i = 0; i < n; ++i) out[i / 8] |= static_cast<std::uint64_t>(elements[i]) << (8 * (i % 8));
  }
  return out;
}

}  // namespace twinex::similar
