#include "settings/wildcard.h"

#include <gtest/gtest.h>

#include <chrono>

namespace twinex {
namespace {

TEST(Wildcard, SyntaxElements) {
  EXPECT_TRUE(WildcardMatch("img5.png", "img#.png", true));
  EXPECT_FALSE(WildcardMatch("imgx.png", "img#.png", true));
  EXPECT_FALSE(WildcardMatch("img55.png", "img#.png", true));
  EXPECT_TRUE(WildcardMatch("dx", "[!a-c]x", true));
  EXPECT_FALSE(WildcardMatch("bx", "[!a-c]x", true));
  EXPECT_TRUE(WildcardMatch("bx", "[a-cx]x", true));
  EXPECT_TRUE(WildcardMatch("-", "[-a]", true)) << "a dash at the edge of a list is itself";
  EXPECT_TRUE(WildcardMatch("ab", "a[]b", true)) << "an empty list stands for nothing";
  EXPECT_TRUE(WildcardMatch("a!", "a!", true));
  EXPECT_TRUE(WildcardMatch("a]", "a]", true));
  EXPECT_TRUE(WildcardMatch("", "*", true));
  EXPECT_FALSE(WildcardMatch("", "?", true));
  EXPECT_TRUE(WildcardMatch("xaxbxc", "*a*b*c", true));
  EXPECT_FALSE(WildcardMatch("xaxbx", "*a*b*c", true));
}

TEST(Wildcard, CharactersNotBytes) {
  EXPECT_TRUE(WildcardMatch("ä.txt", "?.txt", true));
  EXPECT_FALSE(WildcardMatch("ä.txt", "??.txt", true));
  EXPECT_TRUE(WildcardMatch("é", "[à-ü]", true));
  // A name that is not valid UTF-8 still fits "*" and "?" byte by byte.
  EXPECT_TRUE(WildcardMatch(std::string("a\xff.jpg"), "a?.jpg", true));
}

TEST(Wildcard, CaseModes) {
  EXPECT_TRUE(WildcardMatch("a.jpg", "*.JPG", false));
  EXPECT_FALSE(WildcardMatch("a.jpg", "*.JPG", true));
  EXPECT_TRUE(WildcardMatch("ÄPFEL.txt", "äpf*", false));
  EXPECT_TRUE(WildcardMatch("Straße", "STRASSE", false)) << "Unicode folding, not ASCII lower-casing";
  EXPECT_TRUE(WildcardMatch("Q", "[a-z]", false));
  EXPECT_FALSE(WildcardMatch("Q", "[a-z]", true));
}

TEST(Wildcard, EscapedCharactersMatchThemselves) {
  EXPECT_TRUE(WildcardMatch("*", "[*]", true));
  EXPECT_FALSE(WildcardMatch("x", "[*]", true));
  EXPECT_TRUE(WildcardMatch("[a]", "[[]a]", true));
  EXPECT_TRUE(WildcardMatch("#1", "[#]#", true));
}

TEST(Wildcard, MalformedPatterns) {
  EXPECT_FALSE(IsValidWildcardPattern("[abc"));
  EXPECT_FALSE(IsValidWildcardPattern("*.[z-a]"));
  EXPECT_TRUE(IsValidWildcardPattern("a]"));
  EXPECT_TRUE(IsValidWildcardPattern("[!]"));
  EXPECT_TRUE(IsValidWildcardPattern("*.jpg"));
  EXPECT_FALSE(WildcardMatch("[abc", "[abc", true)) << "a malformed pattern matches nothing";
}

TEST(Wildcard, ManyStarsDoNotBlowUp) {
  const std::string text(20000, 'b');
  WildcardPattern p;
  ASSERT_TRUE(p.Parse("*a*a*a*a*a*a*a*a*a"));
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(p.Matches(text));
  EXPECT_FALSE(WildcardMatch(text, "****a", true));
  EXPECT_TRUE(WildcardMatch(text + "a", "****a", true));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

}  // namespace
}  // namespace twinex
