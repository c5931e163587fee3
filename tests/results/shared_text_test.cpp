#include "results/shared_text.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace twinex {
namespace {

TEST(SharedText, CopiesShareOneTextAndANewTextLeavesTheOtherCopiesAlone) {
  SharedText a = std::string("/data/photos/2019");
  SharedText b = a;
  SharedText c;
  c = b;
  EXPECT_EQ(a.data(), b.data());
  EXPECT_EQ(a.data(), c.data());

  b = "/elsewhere";
  EXPECT_EQ(a, "/data/photos/2019");
  EXPECT_EQ(c, "/data/photos/2019");
  EXPECT_EQ(b, "/elsewhere");

  // Dropping the first holder keeps the text for the last.
  a = SharedText();
  EXPECT_EQ(c, "/data/photos/2019");
  c = c;  // a self-assignment must not free the text it keeps
  EXPECT_EQ(c.str(), "/data/photos/2019");

  SharedText moved = std::move(c);
  EXPECT_EQ(moved, "/data/photos/2019");
  EXPECT_TRUE(c.empty());  // a moved-from text reads as empty
}

TEST(SharedText, EmptyTextsReadAsAnEmptyString) {
  const SharedText none, fromEmpty = std::string(), fromNull = static_cast<const char*>(nullptr);
  for (const SharedText* t : {&none, &fromEmpty, &fromNull}) {
    EXPECT_TRUE(t->empty());
    EXPECT_EQ(t->size(), 0u);
    EXPECT_STREQ(t->c_str(), "");
    EXPECT_EQ(t->str(), "");
  }
  EXPECT_EQ(none, fromEmpty);
  EXPECT_EQ(none + "/x", "/x");
}

TEST(SharedText, ComparesAndJoinsLikeAString) {
  const SharedText folder = "/b/folder";
  const std::string same = "/b/folder";
  EXPECT_TRUE(folder == same && same == folder);
  EXPECT_TRUE(folder == std::string_view(same) && std::string_view(same) == folder);
  EXPECT_TRUE(folder == "/b/folder" && "/b/folder" == folder);
  EXPECT_TRUE(folder == SharedText(same)) << "equal texts in separate nodes";
  EXPECT_TRUE(folder != "/b/folder/");
  EXPECT_TRUE(folder < "/c" && folder < std::string("/c") && folder < SharedText("/c"));
  EXPECT_FALSE(folder < "/a/z");
  EXPECT_TRUE(std::string("/a") < folder);

  EXPECT_EQ(folder + "/" + "name.txt", "/b/folder/name.txt");
  EXPECT_EQ(folder + '/', "/b/folder/");
  EXPECT_EQ(std::string("x:") + folder, "x:/b/folder");
  EXPECT_EQ("x:" + folder, "x:/b/folder");
  EXPECT_EQ(folder + folder, "/b/folder/b/folder");

  const std::string& asString = folder;
  const std::string_view asView = folder;
  EXPECT_EQ(asString.data(), folder.data());
  EXPECT_EQ(asView.data(), folder.data());
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
