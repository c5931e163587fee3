#include "results/shared_text.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace twinex {
namespace {

TEST(SharedText, CopiesShareOneTextAndANewTextLeavesTheOtherCopiesAlone) {
  SharedText a = std::string("/data/photos/2019");
  SharedText b = a, c;
  c = b;
  EXPECT_EQ(a.data(), b.data());
  EXPECT_EQ(a.data(), c.data());
  b = "/elsewhere";
  a = SharedText();  // the last holder keeps the text
  EXPECT_EQ(b, "/elsewhere");
  EXPECT_EQ(c, "/data/photos/2019");
  c = c;  // a self-assignment must not free the text it keeps
  EXPECT_EQ(c.str(), "/data/photos/2019");

  for (const SharedText& empty : {a, SharedText(std::string()), SharedText(static_cast<const char*>(nullptr))}) {
    EXPECT_TRUE(empty.empty());
    EXPECT_STREQ(empty.c_str(), "");
    EXPECT_EQ(empty + "/x", "/x");
  }
}

TEST(SharedText, ComparesAndJoinsLikeAString) {
  const SharedText folder = "/b/folder";
  EXPECT_TRUE(folder == SharedText(std::string("/b/folder"))) << "equal texts in separate nodes";
  EXPECT_TRUE(std::string("/b/folder") == folder && folder != std::string_view("/b/folder/"));
  EXPECT_TRUE(folder < "/c" && folder < SharedText("/c") && std::string("/a") < folder);
  EXPECT_FALSE(folder < "/a/z");
  EXPECT_EQ(folder + '/' + "name.txt", "/b/folder/name.txt");
  EXPECT_EQ("x:" + folder, "x:/b/folder");
  EXPECT_EQ(std::string_view(folder).data(), folder.data());
}

// Rows are copied and dropped on other threads while the search still hands out the same text.
TEST(SharedText, CopiesOnSeveralThreadsKeepTheCountRight) {
  const SharedText source = "/shared/by/many/rows/of/one/folder";
  auto work = [&source] {
    std::vector<SharedText> copies;
    for (int round = 0; round < 200; ++round) {
      for (int i = 0; i < 100; ++i) copies.push_back(source);
      copies.clear();
    }
  };
  std::thread first(work), second(work);
  first.join();
  second.join();
  EXPECT_EQ(source, "/shared/by/many/rows/of/one/folder");
}

}  // namespace
}  // namespace twinex
