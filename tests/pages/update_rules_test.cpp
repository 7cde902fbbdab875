#include "pages/update_rules.h"

#include <gtest/gtest.h>

namespace quillon {
namespace {

TEST(ApplicationVersion, ComparedAsDecimalNumbers) {
  EXPECT_FALSE(applicationVersionAccepted("1.10", "1.9")) << "1.10 is below 1.9";
  EXPECT_TRUE(applicationVersionAccepted("1.234", "1.234"));
  EXPECT_TRUE(applicationVersionAccepted("2.0", "1.99"));
  EXPECT_TRUE(applicationVersionAccepted("1.5", ""));
  EXPECT_FALSE(applicationVersionAccepted("abc", "0.1"));
  EXPECT_TRUE(applicationVersionAccepted("abc", "xyz")) << "both count as 0";
}

TEST(ApplicationVersion, LeadingNumberOnly) {
  EXPECT_DOUBLE_EQ(leadingDecimal("  1.25abc"), 1.25);
  EXPECT_DOUBLE_EQ(leadingDecimal("-3"), -3.0);
  EXPECT_DOUBLE_EQ(leadingDecimal("+.5"), 0.5);
  EXPECT_DOUBLE_EQ(leadingDecimal("1.2.3"), 1.2);
  EXPECT_DOUBLE_EQ(leadingDecimal("1e5"), 1.0);
  EXPECT_DOUBLE_EQ(leadingDecimal("."), 0.0);
  EXPECT_DOUBLE_EQ(leadingDecimal(""), 0.0);
  EXPECT_DOUBLE_EQ(leadingDecimal("inf"), 0.0);
}

TEST(GpsVersion, OnlyAnExactMatchMeansNoUpdate) {
  const char* target = "$PASHR,VER,GPS,2.0.00";
  EXPECT_FALSE(gpsUpdateNeeded("$PASHR,VER,GPS,2.0.00", target));
  EXPECT_TRUE(gpsUpdateNeeded("$PASHR,VER,GPS,3.0.00", target)) << "newer is updated too";
  EXPECT_TRUE(gpsUpdateNeeded("$pashr,VER,GPS,2.0.00", target));
  EXPECT_TRUE(gpsUpdateNeeded("$PASHR,VER,GPS,2.0.00 ", target));
  EXPECT_TRUE(gpsUpdateNeeded("", target));
}

TEST(UploadPercent, RoundsTheShareOfTheEstimatedSize) {
  EXPECT_EQ(uploadPercent(0, 1000), 0);
  EXPECT_EQ(uploadPercent(1, 3), 33);
  EXPECT_EQ(uploadPercent(2, 3), 67);
  EXPECT_EQ(uploadPercent(5, 1000), 1) << "0.5 rounds up";
  EXPECT_EQ(uploadPercent(4, 1000), 0);
}

TEST(UploadPercent, MoreThanTheEstimateShowsAFullBar) {
  EXPECT_EQ(uploadPercent(2000, 1000), 100);
  EXPECT_EQ(uploadPercent(0xFFFFFFFFU, 1), 100) << "no overflow for any count";
}

TEST(UploadPercent, NoScaleLeavesTheBarAlone) {
  EXPECT_EQ(uploadPercent(100, 0), std::nullopt);
  EXPECT_EQ(uploadPercent(100, -5), std::nullopt);
}

} // namespace
} // namespace quillon
