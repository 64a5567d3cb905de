// Numbers in text files: the C locale's "%W.Pf", "%Wd" and scanf's "%f"
// without the process locale.
#include "model/number_scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "model/number_text.h"

namespace tav {
namespace {

TEST(NumberScan, FixedAndIntegerFieldsPadLeft) {
  EXPECT_EQ(formatFixed(1.5, 2, 6), "  1.50");
  EXPECT_EQ(formatFixed(123.456, 2, 4), "123.46");
  EXPECT_EQ(formatInt(-42, 5), "  -42");
}

struct ScanCase {
  const char* name;
  const char* text;
  bool ok;
  double value;
  const char* rest;
};

const ScanCase SCAN_CASES[] = {
    {"blanks and sign", "  +12.5,3", true, 12.5, ",3"}, {"exponent", "-1.5e2x", true, -150.0, "x"},
    {"trailing point", "7.,", true, 7.0, ","},          {"sign alone", "-", false, 0, ""},
    {"infinity refused", "inf", false, 0, ""},          {"out of range", "1e999", false, 0, ""},
};

TEST(NumberScan, ScansLikeScanfF) {
  for (const ScanCase& c : SCAN_CASES) {
    SCOPED_TRACE(c.name);
    std::string_view text = c.text;
    const std::optional<double> v = scanNumber(text);
    ASSERT_EQ(v.has_value(), c.ok);
    if (!c.ok) continue;
    EXPECT_DOUBLE_EQ(*v, c.value);
    EXPECT_EQ(text, c.rest);
  }
}

TEST(NumberScan, FloatRangeEndsAtTheLargestFloat) {
  const double largest = std::numeric_limits<float>::max();
  EXPECT_TRUE(fitsFloat(largest));
  EXPECT_TRUE(fitsFloat(-largest));
  EXPECT_FALSE(fitsFloat(std::nextafter(largest, 1e300)));
  EXPECT_FALSE(fitsFloat(-1e39));
}

TEST(NumberScan, ListsNeedEveryNumberAndItsComma) {
  double v[3] = {};
  EXPECT_TRUE(scanNumberList("1, 2 ,3 trailing", v, 3));
  EXPECT_EQ(v[2], 3.0);
  EXPECT_FALSE(scanNumberList("1,2", v, 3));
  EXPECT_FALSE(scanNumberList("1;2;3", v, 3));
}

}  // namespace
}  // namespace tav
