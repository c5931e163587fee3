#include "platform/digest.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace twinex::platform {
namespace {

std::string Hex(const std::uint8_t* bytes, std::size_t length) {
  std::string out;
  char two[3];
  for (std::size_t i = 0; i < length; ++i) {
    std::snprintf(two, sizeof two, "%02x", bytes[i]);
    out += two;
  }
  return out;
}

// The published test vectors of "abc", fed in two pieces through one reused object.
TEST(Digest, EveryContentMethodGivesItsKnownDigest) {
  const char* const expected[] = {
      "900150983cd24fb0d6963f7d28e17f72",
      "a9993e364706816aba3e25717850c26c9cd0d89d",
      "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
      "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7",
      "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd"
      "454d4423643ce80e2a9ac94fa54ca49f",
  };
  Digest digest;
  for (int method = 1; method <= 5; ++method) {
    ASSERT_EQ(digest.Begin(method), "");
    ASSERT_EQ(digest.Add("a", 1), "");
    ASSERT_EQ(digest.Add("bc", 2), "");
    std::uint8_t out[64];
    std::size_t length = 0;
    ASSERT_EQ(digest.Finish(out, sizeof out, length), "");
    EXPECT_EQ(Hex(out, length), expected[method - 1]) << method;
  }
  EXPECT_NE(digest.Begin(6), "");
  EXPECT_NE(digest.Add("x", 1), "");  // not started
}

}  // namespace
}  // namespace twinex::platform
