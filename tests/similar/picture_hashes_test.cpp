// The picture hashes on small bitmaps worked out by hand, the variants, the packed comparison,
// and the grouping of hashes with its restrictions and lazily made variants.
#include "similar/picture_hashes.h"

#include <gtest/gtest.h>

#include <cmath>

#include "similar/picture_variants.h"
#include "similar/similar_pictures.h"

namespace twinex::similar {
namespace {

using Bits = std::vector<std::uint8_t>;

// A bitmap of gray pixels (blue = green = red = the value), rows top to bottom.
Bitmap Gray(int w, int h, std::vector<int> values) {
  Bitmap b;
  b.width = w;
  b.height = h;
  for (int v : values)
    for (int c = 0; c < 4; ++c) b.bgra.push_back(static_cast<std::uint8_t>(c == 3 ? 255 : v));
  return b;
}

TEST(PictureHashes, GrayValuesRoundTheAverageAndCutTheWeightedSum) {
  const std::uint8_t a[] = {1, 1, 2, 0}, b[] = {2, 2, 1, 0}, red[] = {0, 0, 255, 0};
  EXPECT_EQ(GrayAverage(a), 1);  // 4 / 3
  EXPECT_EQ(GrayAverage(b), 2);  // 5 / 3
  EXPECT_EQ(GrayLuma(red), 76);  // 76.245
}

TEST(PictureHashes, AverageHashComparesWithTheMeanRoundedHalfToEven) {
  EXPECT_EQ(AverageHash(Gray(2, 2, {10, 20, 30, 40})), (Bits{0, 0, 1, 1}));
  EXPECT_EQ(AverageHash(Gray(2, 2, {0, 1, 0, 1})), (Bits{0, 1, 0, 1}));  // mean 0.5 -> 0
  EXPECT_EQ(AverageHash(Gray(2, 2, {1, 2, 1, 2})), (Bits{0, 0, 0, 0}));  // mean 1.5 -> 2
  EXPECT_TRUE(AverageHash(Gray(2, 1, {1, 2})).empty());
}

TEST(PictureHashes, MedianHashAveragesTheValuesAtHalfAndHalfPlusOne) {
  // Four values: sorted positions 2 and 3, (30 + 40) / 2 = 35.
  EXPECT_EQ(MedianHash(Gray(2, 2, {40, 10, 30, 20})), (Bits{1, 0, 0, 0}));
  EXPECT_EQ(GetMedianFromByteArray({1, 2, 3, 4}), 4);  // 3.5 rounds to even
  EXPECT_EQ(GetMedianFromByteArray({5, 1}), 5);        // one half: the value at position 1
}

TEST(PictureHashes, DifferenceHashComparesNeighboursAcrossEachRow) {
  EXPECT_EQ(DifferenceHash(Gray(3, 2, {10, 20, 15, 30, 30, 40})), (Bits{1, 0, 0, 1}));
  EXPECT_TRUE(DifferenceHash(Gray(2, 2, {1, 2, 3, 4})).empty());
}

TEST(PictureHashes, DctIsTheOrthonormalTypeTwo) {
  std::vector<double> out(4);
  DCT1DfromDoubles(std::vector<double>{1, 1, 1, 1}, out);
  EXPECT_NEAR(out[0], 2.0, 1e-12);
  for (int k = 1; k < 4; ++k) EXPECT_NEAR(out[static_cast<std::size_t>(k)], 0.0, 1e-12);
  std::vector<double> two(2);
  DCT1DfromDoubles(std::vector<double>{1, -1}, two);
  EXPECT_NEAR(two[0], 0.0, 1e-12);
  EXPECT_NEAR(two[1], std::sqrt(2.0), 1e-12);
}

TEST(PictureHashes, PerceptualHashOfAFlatPictureSetsOnlyItsFirstCoefficient) {
  const Bits flat = PerceptualHash(Gray(32, 32, std::vector<int>(1024, 100)));
  ASSERT_EQ(flat.size(), 64u);
  EXPECT_EQ(flat[0], 1);
  for (std::size_t i = 1; i < flat.size(); ++i) EXPECT_EQ(flat[i], 0) << i;
  // Left dark, right light: the first horizontal frequency is negative, so its bit stays 0,
  // while the frequencies down the columns are zero.
  std::vector<int> halves;
  for (int i = 0; i < 1024; ++i) halves.push_back(i % 32 < 16 ? 0 : 200);
  const Bits h = PerceptualHash(Gray(32, 32, halves));
  EXPECT_EQ(h[0], 1);
  EXPECT_EQ(h[1], 0);
}

TEST(PictureHashes, BlockHashSplitsIntoBandsAndSharesBorderPixelsWhenPrecise) {
  // 4 x 4 pixels, 4 blocks per side: one pixel per block; each row is one band.
  const Bitmap b = Gray(4, 4, {0, 33, 67, 100, 200, 200, 200, 200, 20, 20, 20, 20, 0, 0, 0, 250});
  // Row sums (x3): 0, 99, 201, 300 -> median 150; 600 each -> all above half a block (384);
  // 60 each -> below it; 0, 0, 0, 750 -> median 0.
  EXPECT_EQ(BlockHash(b, 4, false), (Bits{0, 0, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1}));
  EXPECT_EQ(BlockHash(b, 4, true), BlockHash(b, 4, false));

  // 6 x 6 pixels in 4 blocks per side: a block is 1.5 pixels, so pixel 1 lies half in block 0
  // and half in block 1. Only that pixel of the top row is lit.
  std::vector<int> one(36, 0);
  one[1] = 100;
  const Bitmap six = Gray(6, 6, one);
  const Bits quick = BlockHash(six, 4, false), precise = BlockHash(six, 4, true);
  EXPECT_EQ(Bits(quick.begin(), quick.begin() + 4), (Bits{1, 0, 0, 0}));
  EXPECT_EQ(Bits(precise.begin(), precise.begin() + 4), (Bits{1, 1, 0, 0}));
}

TEST(PictureVariants, EachSlotTurnsOrMirrorsAsNamed) {
  // a b c
  // d e f
  const Bitmap src = Gray(3, 2, {'a', 'b', 'c', 'd', 'e', 'f'});
  auto text = [](const Bitmap& b) {
    std::string s;
    for (int y = 0; y < b.height; ++y) {
      if (y) s += '/';
      for (int x = 0; x < b.width; ++x) s += static_cast<char>(b.Pixel(x, y)[0]);
    }
    return s;
  };
  const char* expected[] = {"abc/def", "da/eb/fc", "fed/cba", "cf/be/ad", "cba/fed", "ad/be/cf", "def/abc", "fc/eb/da"};
  for (int slot = 0; slot < kPictureSlots; ++slot) EXPECT_EQ(text(PictureVariant(src, slot)), expected[slot]) << slot;
}

TEST(PictureCompare, DistancesCountDifferingBitsOrBytesOverPackedWords) {
  Bits a(256, 0), b(256, 0);
  b[0] = b[63] = b[64] = b[255] = 1;
  const PackedHash pa = PackHash(a, HashElements::Bits), pb = PackHash(b, HashElements::Bits);
  EXPECT_EQ(GetHammingDistanceFromArray(pa.data(), pb.data(), 4, HashElements::Bits), 4);
  const Bits x = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, y = {1, 2, 3, 4, 5, 6, 7, 0x88, 9, 11};
  const PackedHash px = PackHash(x, HashElements::Bytes), py = PackHash(y, HashElements::Bytes);
  EXPECT_EQ(GetHammingDistanceFromArray(px.data(), py.data(), 2, HashElements::Bytes), 2);
  EXPECT_EQ(NonZeroBytes(0x0100000000008000ull), 2);
}

TEST(PictureCompare, PercentagesCutTheFractionAndBoundTheDistance) {
  EXPECT_EQ(MatchPercentage(6, 64), 90);  // 90.625
  EXPECT_EQ(MatchPercentage(0, 64), 100);
  EXPECT_EQ(MatchPercentage(64, 64), 0);
  EXPECT_EQ(MaxDistanceFor(91, 64), 5);
  EXPECT_EQ(MaxDistanceFor(100, 256), 0);  // only identical hashes reach 100 %
  EXPECT_EQ(MaxDistanceFor(0, 16), 16);
}

// A hash of 64 bits with the first `ones` set.
std::vector<std::uint8_t> Ones(int ones) {
  std::vector<std::uint8_t> h(64, 0);
  for (int i = 0; i < ones; ++i) h[static_cast<std::size_t>(i)] = 1;
  return h;
}

TEST(SimilarPictures, VariantsAreMadeOnceWhenFirstNeededAndOnlyForComparablePictures) {
  PictureOptions o;
  o.layout = HashLayoutFor(kAHash, 0, 0, 0);
  o.matchPercent = 90;
  o.slots.fill(true);
  o.sameExtension = true;
  std::vector<std::size_t> made;
  RunControl run;
  SimilarPictures pictures(o, 0, run, [&](std::size_t item, std::span<const int> slots, SlotHashes& out) {
    made.push_back(item);
    for (int slot : slots) out[static_cast<std::size_t>(slot)] = Ones(slot == 4 ? 40 : 64);
    return true;
  });
  EXPECT_EQ(pictures.Add(Ones(0), {"a", "png", 8, 8}, 1, "").group, -1);
  EXPECT_EQ(pictures.Add(Ones(30), {"b", "gif", 8, 8}, 1, "").group, -1);  // another type: not compared
  EXPECT_TRUE(made.empty());
  EXPECT_EQ(pictures.Add(Ones(20), {"c", "png", 8, 8}, 1, "").group, -1);  // tried on all 8 slots of a
  EXPECT_EQ(made, (std::vector<std::size_t>{0}));
  // Its mirror image (slot 4) has 40 ones: 3 bits from this one, 95 %.
  const GroupChange hit = pictures.Add(Ones(43), {"d", "png", 8, 8}, 1, "");
  EXPECT_EQ(hit.added, (std::vector<SimilarMember>{{0, 100}, {3, 95}}));
  EXPECT_EQ(made, (std::vector<std::size_t>{0}));
  // Every slot tried counts: all 8 of "a" for "c", then slots 0..4 of "a" for "d".
  EXPECT_EQ(pictures.SlotComparisons(), 8u + 5u);
}

TEST(SimilarPictures, TheRestrictionsHoldWithAndWithoutPruning) {
  PictureOptions o;
  o.layout = HashLayoutFor(kAHash, 0, 0, 0);
  o.sameDimension = true;
  for (bool prune : {true, false}) {
    RunControl run;
    SimilarPictures pictures(o, 0, run, {}, {}, prune);
    pictures.Add(Ones(10), {"a", "jpg", 40, 30}, 1, "");
    EXPECT_EQ(pictures.Add(Ones(10), {"b", "jpg", 30, 40}, 1, "").group, -1) << prune;  // turned: no quarter slot
    EXPECT_EQ(pictures.Add(Ones(10), {"c", "jpg", 40, 30}, 1, "").group, 0) << prune;
  }
}

}  // namespace
}  // namespace twinex::similar
