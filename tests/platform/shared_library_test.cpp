#include "platform/shared_library.h"

#include <gtest/gtest.h>

#include <cmath>

namespace twinex::platform {
namespace {

#define MATH_FUNCTIONS(X) X(cos) X(sqrt)
struct MathLibrary {
  MATH_FUNCTIONS(TWINEX_LIBRARY_MEMBER)
};

TEST(SharedLibrary, ResolvesATableOnFirstUseAndSaysWhyALibraryIsMissing) {
  const MathLibrary* math = LoadLibraryTable<MathLibrary>(
      "libm.so.6", [](MathLibrary& t, SharedLibrary& so) { MATH_FUNCTIONS(TWINEX_LIBRARY_RESOLVE) });
  ASSERT_NE(math, nullptr);
  EXPECT_DOUBLE_EQ(math->sqrt(16.0), 4.0);
  EXPECT_EQ(LibraryError("libm.so.6"), "");

  SharedLibrary missing("libtwinex-not-there.so.9");
  EXPECT_FALSE(missing.Loaded());
  EXPECT_EQ(missing.Symbol("cos"), nullptr);
  EXPECT_NE(LibraryError("libtwinex-not-there.so.9").find("libtwinex-not-there.so.9"), std::string::npos);

  SharedLibrary m("libm.so.6");
  EXPECT_EQ(m.Symbol("twinex_no_such_function"), nullptr);
  EXPECT_NE(m.error().find("twinex_no_such_function"), std::string::npos);
}

}  // namespace
}  // namespace twinex::platform
