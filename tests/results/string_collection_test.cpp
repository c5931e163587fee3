#include "results/string_collection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/text.h"

namespace twinex {
namespace {

std::vector<std::string> Keys(const CStringCollection& c) {
  std::vector<std::string> keys;
  for (long i = 1; i <= c.Count(); ++i) keys.push_back(c.Key(i));
  return keys;
}

CStringCollection Filled(std::initializer_list<const char*> keys) {
  CStringCollection c;
  long tag = 0;
  for (const char* k : keys) c.Add(std::string("item ") + k, k, ++tag);
  return c;
}

TEST(GrowthPolicy, GrowsByFactorOrStepWithoutOverflow) {
  const auto f = GrowthPolicy::Factor(1.5);
  EXPECT_EQ(f.Next(100), 150);
  EXPECT_EQ(f.Next(150), 225);
  EXPECT_EQ(f.Next(225), 338);  // nearest whole number
  EXPECT_EQ(GrowthPolicy::Factor(1.0).Next(5), 6);
  EXPECT_EQ(GrowthPolicy::Factor(std::nan("")).Next(5), 6);
  EXPECT_EQ(GrowthPolicy::Factor(50000).Next(100000), kMaxNodes);
  EXPECT_EQ(GrowthPolicy::Step(50000).Next(100000), 150000);
  EXPECT_EQ(GrowthPolicy::Step(50000).Next(kMaxNodes - 10), kMaxNodes);
  EXPECT_EQ(GrowthPolicy::Step(-3).Next(7), 8);
  EXPECT_EQ(GrowthPolicy::Step(50000).Next(kMaxNodes), kMaxNodes);
}

TEST(StringCollection, SelfInitialisedPoolGrows100To150To225) {
  CStringCollection c;
  EXPECT_EQ(c.PoolCapacity(), 0);
  std::vector<long> seen;
  for (int i = 1; i <= 151; ++i) {
    c.Add("x", "k" + std::to_string(i));
    if (i == 100 || i == 101 || i == 150 || i == 151) seen.push_back(c.PoolCapacity());
    ASSERT_GE(c.NodeCapacity(), c.PoolCapacity());
  }
  EXPECT_EQ(seen, (std::vector<long>{100, 150, 150, 225}));
  EXPECT_TRUE(c.CheckInvariants());
}

TEST(StringCollection, AdditiveGrowthKeepsNodeArrayAtPoolSize) {
  CStringCollection c;
  c.Init(100000, GrowthPolicy::Step(50000));
  for (long i = 1; i <= 100001; ++i) c.Add("", std::to_string(i), i);
  EXPECT_EQ(c.PoolCapacity(), 150000);
  EXPECT_EQ(c.NodeCapacity(), 150000);
  EXPECT_EQ(c.Tag("100001"), 100001);
  EXPECT_EQ(c.Tag("1"), 1);
  EXPECT_TRUE(c.CheckInvariants());
}

TEST(StringCollection, CaseModes) {
  CStringCollection c;  // without regard to case by default, Unicode-wide
  EXPECT_NE(c.Add("", "Key"), 0);
  EXPECT_EQ(c.Add("", "KEY"), 0);
  EXPECT_NE(c.Add("", "Äpfel"), 0);
  EXPECT_EQ(c.ExistKey("äPFEL"), c.ExistKey("Äpfel"));

  CStringCollection b;
  b.SetCompareMode(0);
  EXPECT_NE(b.Add("", "Key"), 0);
  EXPECT_NE(b.Add("", "KEY"), 0);
  EXPECT_EQ(b.ExistKey("key"), 0);

  // Switching on a filled collection files the keys again under the new comparison.
  b.SetCompareMode(1);
  EXPECT_TRUE(b.CheckInvariants());
  EXPECT_NE(b.ExistKey("key"), 0);
  b.SetCompareMode(0);
  EXPECT_TRUE(b.CheckInvariants());
  EXPECT_EQ(b.ExistKey("key"), 0);
  EXPECT_NE(b.ExistKey("KEY"), 0);
}

TEST(StringCollection, DuplicateReturnsExistingTagAndNode) {
  CStringCollection c;
  const long node = c.Add("first", "a", 7);
  long tag = -1, existing = -1;
  EXPECT_EQ(c.Add("second", "A", 9, {}, {}, false, &tag, &existing), 0);
  EXPECT_EQ(tag, 7);
  EXPECT_EQ(existing, node);
  EXPECT_EQ(c.Count(), 1);
  EXPECT_EQ(c.Item("a"), "first");
  // Empty keys are never duplicates and are reached by position only.
  EXPECT_NE(c.Add("e1"), 0);
  EXPECT_NE(c.Add("e2"), 0);
  EXPECT_EQ(c.ExistKey(""), 0);
  EXPECT_EQ(c.Item(3), "e2");
}

TEST(StringCollection, BeforeAndAfterShiftPositions) {
  auto c = Filled({"a", "b", "c"});
  c.Add("", "x", 0, "a");      // before the first
  c.Add("", "y", 0, {}, 4L);   // after the last
  c.Add("", "z", 0, 3);        // before a middle position
  c.Add("", "w", 0, {}, "b");  // after a middle key
  EXPECT_EQ(Keys(c), (std::vector<std::string>{"x", "a", "z", "b", "w", "c", "y"}));
  EXPECT_EQ(c.Tag("c"), 3);
  // A place that names nothing inserts nothing.
  EXPECT_EQ(c.Add("", "q", 0, "nope"), 0);
  EXPECT_EQ(c.Add("", "q", 0, {}, 8), 0);
  EXPECT_EQ(c.Count(), 7);
  EXPECT_EQ(c.ExistKey("q"), 0);
  EXPECT_TRUE(c.CheckInvariants());
}

TEST(StringCollection, ErrorsOnlyWhenAsked) {
  auto c = Filled({"abc"});
  EXPECT_NO_THROW(c.Add("", "ABC"));
  EXPECT_EQ(c.Tag("missing"), 0);
  auto expectError = [](auto&& call, const std::string& source, const std::string& text) {
    try {
      call();
      ADD_FAILURE() << "no error for " << text;
    } catch (const CollectionError& e) {
      EXPECT_EQ(e.Source(), source);
      EXPECT_EQ(e.Description(), text);
    }
  };
  expectError([&] { c.Add("", "ABC", 0, {}, {}, true); }, "CStringCollection.Add", "Duplicate KeyA: ABC");
  expectError([&] { c.Add("", "n", 0, "zz", {}, true); }, "CStringCollection.Add", "Key not found before: zz");
  c.SetRaiseError(true);
  expectError([&] { c.Add("", "n", 0, {}, 7); }, "CStringCollection.Add", "Key not found after: 7");
  expectError([&] { c.Tag("missing"); }, "CStringCollection.Tag", "Key not found: missing");
  EXPECT_EQ(c.Tag("missing", true), 0);
  c.SetCompareMode(0);
  expectError([&] { c.Add("", "abc"); }, "CStringCollection.Add", "Duplicate KeyB: abc");
  EXPECT_EQ(c.Count(), 1);
}

TEST(StringCollection, PositionsOutsideRangeAddressNothing) {
  auto c = Filled({"a", "b"});
  EXPECT_EQ(c.Item(0), "");
  EXPECT_EQ(c.Item(3), "");
  EXPECT_EQ(c.Tag(3), 0);
  EXPECT_FALSE(c.SetItem(0, "x"));
  EXPECT_EQ(c.Remove(3), 0);
  EXPECT_EQ(c.Key(-1), "");
  EXPECT_EQ(CStringCollection().ExistKey("a"), 0);
}

TEST(StringCollection, RemovingAnyElementKeepsTheRestFindableAndOrdered) {
  std::vector<std::string> keys;
  for (int i = 0; i < 40; ++i) keys.push_back("key" + std::to_string(i * 7 % 40));
  CStringCollection full;
  for (const auto& k : keys) full.Add("", k);
  for (std::size_t gone = 0; gone < keys.size(); ++gone) {  // one of them is the root
    CStringCollection c = full;
    EXPECT_NE(c.Remove(keys[gone]), 0);
    auto expected = keys;
    expected.erase(expected.begin() + static_cast<long>(gone));
    ASSERT_EQ(Keys(c), expected);
    for (const auto& k : expected) ASSERT_NE(c.ExistKey(k), 0) << k;
    ASSERT_TRUE(c.CheckInvariants());
  }
}

TEST(StringCollection, SetKeyRefilesAndReleaseBeforeClearStaysConsistent) {
  auto c = Filled({"a", "b", "c"});
  EXPECT_TRUE(c.SetKey(1, "zz"));
  EXPECT_EQ(c.ExistKey("a"), 0);
  EXPECT_EQ(c.Item("ZZ"), "item a");
  EXPECT_FALSE(c.SetKey(2, "C"));
  EXPECT_TRUE(c.CheckInvariants());

  for (long node = 1; node <= c.NodeCapacity(); ++node) c.RemoveBeforeClear(node);
  EXPECT_EQ(c.Key(2), "1");
  EXPECT_TRUE(c.CheckInvariants());
  EXPECT_EQ(c.Remove(2), 2);
  EXPECT_EQ(c.Clear(), 2);
  EXPECT_EQ(c.Count(), 0);
  EXPECT_NE(c.Add("again", "a"), 0);
  EXPECT_EQ(c.PoolCapacity(), 100);
}

// Random operations against a plain vector; run in both comparison modes.
void RandomAgainstModel(long compareMode, unsigned seed) {
  struct Elem { std::string key, item; long tag; };
  std::vector<Elem> model;
  auto same = [&](const std::string& a, const std::string& b) {
    return compareMode ? platform::FoldCase(a) == platform::FoldCase(b) : a == b;
  };
  auto find = [&](const std::string& key) -> long {
    for (std::size_t i = 0; i < model.size(); ++i)
      if (!key.empty() && same(model[i].key, key)) return static_cast<long>(i) + 1;
    return 0;
  };
  std::mt19937 rng(seed);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::vector<std::string> letters{"a", "A", "b", "B", "ä", "Ä", "c"};
  auto randomKey = [&] {
    std::string k;
    for (int n = pick(5); n > 0; --n) k += letters[static_cast<std::size_t>(pick(7))];
    return k;
  };

  CStringCollection c;
  c.SetCompareMode(compareMode);
  c.Init(4, 1.5f);
  for (int op = 0; op < 4000; ++op) {
    const int what = pick(10);
    const long count = static_cast<long>(model.size());
    if (what < 5) {
      const std::string key = randomKey();
      const std::string item = "i" + std::to_string(op);
      long pos = count + 1, added;
      if (count > 0 && pick(2)) {
        pos = 1 + pick(static_cast<int>(count));
        const bool before = pick(2);
        KeyRef ref = pick(2) && !model[static_cast<std::size_t>(pos - 1)].key.empty()
                         ? KeyRef(model[static_cast<std::size_t>(pos - 1)].key) : KeyRef(pos);
        if (!ref.IsPosition()) pos = find(model[static_cast<std::size_t>(pos - 1)].key);
        added = before ? c.Add(item, key, op, ref) : c.Add(item, key, op, {}, ref);
        if (!before) ++pos;
      } else {
        added = c.Add(item, key, op);
      }
      ASSERT_EQ(added != 0, find(key) == 0) << key;
      if (added) model.insert(model.begin() + pos - 1, Elem{key, item, op});
    } else if (what < 8 && count > 0) {
      const long pos = 1 + pick(static_cast<int>(count));
      const std::string key = model[static_cast<std::size_t>(pos - 1)].key;
      const long removeAt = !key.empty() && pick(2) ? find(key) : pos;
      ASSERT_NE(removeAt == pos ? c.Remove(pos) : c.Remove(key), 0);
      model.erase(model.begin() + removeAt - 1);
    } else if (count > 0) {
      const long pos = 1 + pick(static_cast<int>(count));
      const std::string key = randomKey();
      const long owner = find(key);
      ASSERT_EQ(c.SetKey(pos, key), owner == 0 || owner == pos);
      if (owner == 0 || owner == pos) model[static_cast<std::size_t>(pos - 1)].key = key;
      c.ChangeValues(pos, "changed", -op);
      model[static_cast<std::size_t>(pos - 1)].item = "changed";
      model[static_cast<std::size_t>(pos - 1)].tag = -op;
    }
    ASSERT_EQ(c.Count(), static_cast<long>(model.size()));
    ASSERT_TRUE(c.CheckInvariants()) << "after operation " << op;
    if (op % 97 == 0) {
      for (long p = 1; p <= c.Count(); ++p) {
        const Elem& e = model[static_cast<std::size_t>(p - 1)];
        ASSERT_EQ(c.Key(p), e.key);
        ASSERT_EQ(c.Item(p), e.item);
        ASSERT_EQ(c.Tag(p), e.tag);
        if (!e.key.empty()) {
          ASSERT_EQ(c.NodeAt(find(e.key)), c.ExistKey(e.key));
        }
      }
    }
  }
}

TEST(StringCollection, RandomOperationsMatchModelCaseInsensitive) { RandomAgainstModel(1, 20240601u); }
TEST(StringCollection, RandomOperationsMatchModelBinary) { RandomAgainstModel(0, 77u); }

}  // namespace
}  // namespace twinex
