#pragma once
// Comparing two picture hashes. A hash is kept packed: perceptual hashes one bit per element,
// pixel digests one byte per element, in at most 512 bits. The distance is the number of
// elements in which two hashes differ; the search compares every pair, so the count is a few
// popcounts over the packed words and allocates nothing.
#include <array>
#include <bit>
#include <cstdint>
#include <span>

namespace twinex::similar {

enum class HashElements : std::uint8_t { Bits, Bytes };

inline constexpr int kPackedWords = 8;  // room for 512 bits or 64 digest bytes
using PackedHash = std::array<std::uint64_t, kPackedWords>;

// Packs a hash given as one element per byte (0/1 for bits, the digest's bytes for digests).
PackedHash PackHash(std::span<const std::uint8_t> elements, HashElements kind);
// The words a hash of n elements of this kind fills.
constexpr int PackedWordsFor(int n, HashElements kind) {
  return kind == HashElements::Bits ? (n + 63) / 64 : (n + 7) / 8;
}

// Bytes of a word that are not zero, as a count.
constexpr int NonZeroBytes(std::uint64_t x) {
  x |= x >> 4;
  x |= x >> 2;
  x |= x >> 1;
  return std::popcount(x & 0x0101010101010101ull);
}

// The number of elements in which a and b differ, over the first `words` words.
inline int GetHammingDistanceFromArray(const std::uint64_t* a, const std::uint64_t* b, int words, HashElements kind) {
  int d = 0;
  if (kind == HashElements::Bits)
    for (int i = 0; i < words; ++i) d += std::popcount(a[i] ^ b[i]);
  else
    for (int i = 0; i < words; ++i) d += NonZeroBytes(a[i] ^ b[i]);
  return d;
}

// The integer part of 100 - 100 * distance / n.
constexpr int MatchPercentage(int distance, int n) { return n <= 0 ? 0 : (100 * (n - distance)) / n; }

// The largest distance whose percentage still reaches `percent` (-1: none does).
constexpr int MaxDistanceFor(int percent, int n) {
  int d = n;
  while (d >= 0 && MatchPercentage(d, n) < percent) --d;
  return d;
}

}  // namespace twinex::similar
