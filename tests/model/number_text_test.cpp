// Numbers in text files: the C locale's "%W.Pf" and "%f" without the
// process locale.
#include "model/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "model/number_scan.h"

namespace tav {
namespace {

struct FormatCase {
  const char* name;
  double value;
  int precision, width;
  const char* text;
};

const FormatCase FORMAT_CASES[] = {
    {"padded", 1.5, 2, 6, "  1.50"},
    {"wider than width", 123.456, 2, 4, "123.46"},
    {"half rounds to even binary value", 0.125, 2, 0, "0.12"},  // 0.125 is exact: ties to even
    {"negative", -3.14159, 1, 5, " -3.1"},
    {"negative zero keeps its sign", -0.04, 1, 3, "-0.0"},
    {"six decimals", 5.0, 6, 0, "5.000000"},
    {"float promoted", static_cast<double>(0.1f), 6, 0, "0.100000"},
    {"no decimals", 2.5, 0, 3, "  2"},
};

TEST(NumberText, FormatsLikeThePrintfOfTheCLocale) {
  for (const FormatCase& c : FORMAT_CASES) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(formatFixed(c.value, c.precision, c.width), c.text);
  }
}

struct ScanCase {
  const char* name;
  const char* text;
  bool ok;
  double value;
  const char* rest;
};

const ScanCase SCAN_CASES[] = {
    {"blanks and sign", "  +12.5,3", true, 12.5, ",3"},
    {"exponent", "-1.5e2x", true, -150.0, "x"},
    {"leading point", ".5", true, 0.5, ""},
    {"trailing point", "7.,", true, 7.0, ","},
    {"sign alone", "-", false, 0, ""},
    {"letters", "abc", false, 0, ""},
    {"infinity refused", "inf", false, 0, ""},
    {"nan refused", "-nan", false, 0, ""},
    {"out of range", "1e999", false, 0, ""},
};

TEST(NumberText, ScansLikeScanfF) {
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

TEST(NumberText, ListsNeedEveryNumberAndItsComma) {
  double v[3] = {};
  EXPECT_TRUE(scanNumberList("1, 2 ,3 trailing", v, 3));
  EXPECT_EQ(v[0], 1.0);
  EXPECT_EQ(v[1], 2.0);
  EXPECT_EQ(v[2], 3.0);
  EXPECT_FALSE(scanNumberList("1,2", v, 3));
  EXPECT_FALSE(scanNumberList("1;2;3", v, 3));
  EXPECT_FALSE(scanNumberList("", v, 1));
}

}  // namespace
}  // namespace tav
