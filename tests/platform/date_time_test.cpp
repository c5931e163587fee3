#include "platform/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace twinex::platform {
namespace {

// Runs a test in Central European time (with its DST rules written out, so no zone database
// is needed) and restores the zone of the environment afterwards.
class CentralEuropeanTime : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* old = std::getenv("TZ");
    hadTz_ = old != nullptr;
    if (old) oldTz_ = old;
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
  }
  void TearDown() override {
    if (hadTz_) setenv("TZ", oldTz_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }

 private:
  bool hadTz_ = false;
  std::string oldTz_;
};

TEST(DateValue, CountsDaysSinceTheEndOf1899WithTheTimeAsFraction) {
  EXPECT_EQ(MakeDate(1899, 12, 30), 0.0);
  EXPECT_EQ(MakeDate(1900, 1, 1), 2.0);
  const double d = MakeDate(2020, 1, 9, 13, 0, 0);
  EXPECT_DOUBLE_EQ(d, 43839.0 + 13.0 / 24.0);
  // Rounded to whole days, the afternoon of the 9th is the 10th.
  EXPECT_EQ(std::round(d), MakeDate(2020, 1, 10));
  // Out-of-range fields carry over.
  EXPECT_EQ(MakeDate(2020, 13, 1), MakeDate(2021, 1, 1));
  EXPECT_EQ(MakeDate(2021, 3, 0), MakeDate(2021, 2, 28));
  EXPECT_EQ(MakeDate(2020, 1, 1, 0, 0, -1), MakeDate(2019, 12, 31, 23, 59, 59));

  int y, mo, da, h, mi, s;
  SplitDate(MakeDate(2024, 2, 29, 23, 59, 59), y, mo, da, h, mi, s);
  EXPECT_EQ((std::to_string(y) + "-" + std::to_string(mo) + "-" + std::to_string(da) + " " + std::to_string(h) + ":" +
             std::to_string(mi) + ":" + std::to_string(s)),
            "2024-2-29 23:59:59");
}

TEST_F(CentralEuropeanTime, UnixTimesRoundTripToTheSecondAcrossTheSpringGap) {
  // 2021-03-28: 02:00 CET jumps to 03:00 CEST at 01:00 UTC.
  const std::int64_t jump = 1616893200;
  EXPECT_EQ(DateFromUnix(jump - 1), MakeDate(2021, 3, 28, 1, 59, 59));
  EXPECT_EQ(DateFromUnix(jump), MakeDate(2021, 3, 28, 3, 0, 0));
  for (std::int64_t t = jump - 3600; t < jump + 3600; ++t) {
    ASSERT_EQ(UnixFromDate(DateFromUnix(t)), t) << t;
  }
}

TEST_F(CentralEuropeanTime, LocalTimesOfTheRepeatedAutumnHourStillRoundTrip) {
  // 2021-10-31: 03:00 CEST falls back to 02:00 CET at 01:00 UTC; 02:xx happens twice.
  const std::int64_t back = 1635642000;
  EXPECT_EQ(DateFromUnix(back - 1), MakeDate(2021, 10, 31, 2, 59, 59));
  EXPECT_EQ(DateFromUnix(back), MakeDate(2021, 10, 31, 2, 0, 0));
  for (std::int64_t t = back - 7200; t < back + 7200; t += 7) {
    const double d = DateFromUnix(t);
    ASSERT_EQ(DateFromUnix(UnixFromDate(d)), d) << t;
  }
  EXPECT_EQ(UnixFromDate(MakeDate(2021, 10, 31, 4, 0, 0)), back + 7200);
}

TEST(GeneralDate, ReadsBackWhatItWrites) {
  const double d = MakeDate(2020, 1, 9, 13, 5, 7);
  const std::string text = FormatGeneralDate(d);
  ASSERT_FALSE(text.empty());
  double back = 0;
  ASSERT_TRUE(ParseGeneralDate(text, back)) << text;
  EXPECT_EQ(back, d);
  EXPECT_TRUE(ParseGeneralDate(text + "  ", back));

  EXPECT_FALSE(ParseGeneralDate("-----", back));
  EXPECT_FALSE(ParseGeneralDate("", back));
  EXPECT_FALSE(ParseGeneralDate(text + " - Suche", back));
}

TEST(Duration, ShowsHoursBeyondADay) {
  EXPECT_EQ(FormatDuration(0), "00:00:00");
  EXPECT_EQ(FormatDuration(3661), "01:01:01");
  EXPECT_EQ(FormatDuration(90000), "25:00:00");
  EXPECT_EQ(FormatDuration(-61), "-00:01:01");
}

}  // namespace
}  // namespace twinex::platform
