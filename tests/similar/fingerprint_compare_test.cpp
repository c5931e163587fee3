#include "similar/fingerprint_compare.h"

#include <gtest/gtest.h>

#include <vector>

namespace twinex::similar {
namespace {

using Print = std::vector<std::int32_t>;

TEST(FingerprintCompare, IdenticalPrintsAgreeInEveryBit) {
  const Print a = {1577493384, -257378258, 0, -1, 42};
  EXPECT_EQ(AgreeingBits(a, a), 5u * 32u);
  EXPECT_EQ(FingerprintPercent(a, a), 100);
}

TEST(FingerprintCompare, UnequalNumbersCountTheBitsSetInBoth) {
  // 0xFF and 0x0F share four set bits; 0 shares none with anything; -1 and 0x0F share four.
  EXPECT_EQ(AgreeingBits(Print{0xFF}, Print{0x0F}), 4u);
  EXPECT_EQ(AgreeingBits(Print{0}, Print{0x7FFFFFFF}), 0u);
  EXPECT_EQ(AgreeingBits(Print{-1}, Print{0x0F}), 4u);
  // Two equal positions (64 bits) and one that shares 4 of 32: 68 of 96 bits = 70.8 %.
  EXPECT_EQ(FingerprintPercent(Print{7, 9, 0xFF}, Print{7, 9, 0x0F}), 71);
  // 4 of 32 bits is 12.5 %, which rounds up.
  EXPECT_EQ(FingerprintPercent(Print{0xFF}, Print{0x0F}), 13);
}

TEST(FingerprintCompare, DifferentLengthsAreComparedOverTheShorter) {
  const Print longer = {11, 22, 33, 44, 55, 66};
  const Print shorter = {11, 22, 33};
  EXPECT_EQ(AgreeingBits(longer, shorter), 96u);
  EXPECT_EQ(FingerprintPercent(longer, shorter), 100);
  EXPECT_EQ(FingerprintPercent(shorter, longer), 100);
  // The tail of the longer one does not count, whatever it holds.
  EXPECT_EQ(FingerprintPercent(Print{11, 22, 0, 0}, Print{11, 22}), 100);
}

TEST(FingerprintCompare, AnEmptyPrintMatchesNothing) {
  EXPECT_EQ(FingerprintPercent(Print{}, Print{1, 2}), 0);
  EXPECT_EQ(FingerprintPercent(Print{}, Print{}), 0);
}

}  // namespace
}  // namespace twinex::similar
