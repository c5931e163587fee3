#include "settings/name_part.h"

#include <gtest/gtest.h>

namespace twinex {
namespace {

TEST(NamePart, CutsByCharactersNotBytes) {
  struct Case {
    int part;
    long long n;
    const char* expected;
  };
  const Case cases[] = {
      {kNamePartAll, 2, "äbcdé"},      {kNamePartFirst, 2, "äb"},      {kNamePartLast, 2, "dé"},
      {kNamePartDropLast, 2, "äbc"},   {kNamePartDropFirst, 2, "cdé"}, {kNamePartFirst, 9, "äbcdé"},
      {kNamePartDropLast, 5, "äbcdé"},  // not longer than N: kept whole
      {kNamePartDropFirst, 5, "äbcdé"}, {kNamePartFirst, -1, "äbcdé"},
  };
  for (const auto& c : cases) EXPECT_EQ(CutNamePart("äbcdé", c.part, c.n), c.expected) << c.part << " " << c.n;
}

}  // namespace
}  // namespace twinex
