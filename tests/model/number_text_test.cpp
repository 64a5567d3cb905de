// Numbers typed and shown: a decimal comma reads as a point, out-of-range and
// non-numbers are refused, and formatting follows the C convention.
#include "model/number_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <vector>

namespace tav {
namespace {

struct ParseCase {
  const char* name;
  const char* text;
  double prefix;                 // parseNumber
  std::optional<double> strict;  // parseNumberStrict
};

class NumberParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(NumberParse, PrefixAndWholeField) {
  const ParseCase& c = GetParam();
  EXPECT_DOUBLE_EQ(parseNumber(c.text), c.prefix);
  const std::optional<double> strict = parseNumberStrict(c.text);
  ASSERT_EQ(strict.has_value(), c.strict.has_value());
  if (strict) EXPECT_DOUBLE_EQ(*strict, *c.strict);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberParse,
    ::testing::Values(ParseCase{"Comma", "0,5", 0.5, 0.5},
                      ParseCase{"BlanksAroundNegative", "  -2,25 ", -2.25, -2.25},
                      ParseCase{"LeadingPoint", ".5", 0.5, 0.5},
                      ParseCase{"Exponent", "1e2", 100.0, 100.0},
                      ParseCase{"UnitAfterNumber", "1.5 m", 1.5, std::nullopt},
                      ParseCase{"TwoCommas", "1,2,3", 1.2, std::nullopt},
                      ParseCase{"DanglingExponent", "2e", 2.0, std::nullopt},
                      ParseCase{"Empty", "", 0.0, std::nullopt},
                      ParseCase{"SignAlone", "-", 0.0, std::nullopt},
                      ParseCase{"NotANumber", "nan", 0.0, std::nullopt},
                      ParseCase{"Infinity", "-inf", 0.0, std::nullopt},
                      ParseCase{"Hexadecimal", "0x10", 0.0, std::nullopt},
                      ParseCase{"Overflow", "1e999", 0.0, std::nullopt},
                      ParseCase{"DoubleSign", "+-1", 0.0, std::nullopt}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return info.param.name; });

struct FormatCase {
  const char* name;
  const char* format;
  std::vector<double> values;
  const char* want;
};

class NumberFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(NumberFormat, AsPrintfInTheCLocale) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(formatNumbers(c.format, c.values), c.want);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NumberFormat,
    ::testing::Values(
        FormatCase{"RoundHalfEvenOfBinary", "%0.2f", {2.675}, "2.67"},  // 2.67499999...
        FormatCase{"NegativeZero", "%0.3f", {-0.0004}, "-0.000"},
        FormatCase{"WidthPadsLeft", "%7.1f", {12.34}, "   12.3"},
        FormatCase{"WidthTooSmall", "%2.1lf", {-100.0}, "-100.0"},
        FormatCase{"ZeroPaddedInteger", "%03d\t%7.1f\t", {7.9, 1.25}, "007\t    1.2\t"},
        FormatCase{"NegativeZeroPadded", "%05d", {-42.0}, "-0042"},
        FormatCase{"LeftAligned", "[%-6.1f]", {1.5}, "[1.5   ]"},
        FormatCase{"Literals", "a = %3.1lf%%", {12.25}, "a = 12.2%"},
        FormatCase{"TwoValues",
                   "XY Area : %6.2f, Error : %6.2f",
                   {1.5, 0.125},
                   "XY Area :   1.50, Error :   0.12"},
        FormatCase{"Scientific", "%.2e", {12345.0}, "1.23e+04"},
        FormatCase{"General", "%g", {0.0001}, "0.0001"},
        FormatCase{"Infinity", "%6.1f", {std::numeric_limits<double>::infinity()}, "   inf"},
        FormatCase{"MissingValueCopied", "%f and %f", {1.0}, "1.000000 and %f"},
        FormatCase{"UnknownConversionCopied", "%s %0.1f", {2.0}, "%s 2.0"}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return info.param.name; });

}  // namespace
}  // namespace tav
