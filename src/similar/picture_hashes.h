#pragma once
// The picture hashes, each made from a bitmap already shrunk to the size it needs, and what a
// search's settings make of them: the algorithm, the picture size it reads, the hash length and
// the type code under which the checksum database keeps it.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "similar/picture_compare.h"
#include "similar/picture_decode.h"

namespace twinex {
struct SearchSettings;
}

namespace twinex::similar {

// The algorithms by their stored item code.
enum PictureAlgorithm : int {
  kAHash = 0,
  kBHash = 1,
  kDHash = 2,
  kPHash = 3,
  kMd5 = 4,
  kSha1 = 5,
  kSha256 = 6,
  kSha384 = 7,
  kSha512 = 8,
  kMHash = 9,
};

struct HashLayout {
  int algorithm = kAHash;
  int side = 8;             // S
  int blockBits = 8;        // bHash: blocks per side
  bool precise = false;     // bHash: border pixels shared between blocks
  int length = 64;          // N, elements of the hash
  HashElements kind = HashElements::Bits;
  int typeCode = 70;        // plus the slot number: the database's type of a slot's hash
  // The bitmap the hash reads (0 x 0: the picture at its own size, for the pixel digests).
  int width = 8;
  int height = 8;
  int Words() const { return PackedWordsFor(length, kind); }
};

// What the settings ask for; nullopt-like `length == 0` for an unknown algorithm.
HashLayout HashLayoutFor(const SearchSettings& settings);
HashLayout HashLayoutFor(int algorithm, int compareSizeIndex, int bitsIndex, int methodIndex);

// Makes the hash `layout` describes from a bitmap of layout.width x layout.height (any size for the
// digests): one element per byte. Empty when the bitmap is not of the needed size.
std::vector<std::uint8_t> MakePictureHash(const HashLayout& layout, const Bitmap& bitmap);

// The building blocks, exposed for their tests.
std::uint8_t GrayAverage(const std::uint8_t* bgra);  // (b + g + r) / 3 rounded
std::uint8_t GrayLuma(const std::uint8_t* bgra);     // integer part of 0.299 r + 0.587 g + 0.114 b
std::vector<std::uint8_t> AverageHash(const Bitmap& b);
std::vector<std::uint8_t> MedianHash(const Bitmap& b);
std::vector<std::uint8_t> DifferenceHash(const Bitmap& b);  // (S+1) x S
std::vector<std::uint8_t> PerceptualHash(const Bitmap& b);  // 32 x 32
std::vector<std::uint8_t> BlockHash(const Bitmap& b, int blockBits, bool precise);
// The digest of the bitmap's pixel bytes (content method 1..5: MD5, SHA-1, SHA-256/384/512).
std::vector<std::uint8_t> PixelDigest(const Bitmap& b, int contentMethod);

// GetMedianFromByteArray: the sorted values at n/2 and n/2 + 1 averaged (rounded half to even)
// when n/2 is even, otherwise the value at n/2.
std::uint8_t GetMedianFromByteArray(std::vector<std::uint8_t> values);
// GetMedian2: the middle value, or the mean of the two middle values for an even count.
double GetMedian2(std::vector<double> values);
// The orthonormal DCT-II of `in` into `out` (same length).
void DCT1DfromDoubles(std::span<const double> in, std::span<double> out);

}  // namespace twinex::similar
