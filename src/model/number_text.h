// Numbers as the user types and reads them: in dialogs, prompts, the panel,
// printed listings and the command-line tool. Nothing here follows the
// process locale: a German or French desktop reads "0,5" and "0.5" alike and
// is always shown a decimal point.
#pragma once

#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tav {

// A decimal comma is taken for a point. Like the classic atof: leading
// blanks skipped, an optional sign, the longest number prefix read; 0 when
// there is none or when the number lies beyond the range of a double.
double parseNumber(std::string_view text);
// The whole field (blanks around it allowed) must be one finite number:
// "1,5", " -2.25 ", "1e3" are; "", "1.5 m", "nan", "inf", "1e999" are not.
std::optional<double> parseNumberStrict(std::string_view text);

// printf-style formatting in the C convention, whatever the locale. The
// format holds literal text, "%%" and conversions
// %[flags][width][.precision][l](f|e|g|d|i) with the flags '-', '+', ' ',
// '0' and '#' (ignored). Each conversion takes the next value; d and i take
// it truncated toward zero. A conversion without a value, or one of another
// kind, is copied as it stands.
std::string formatNumbers(std::string_view format, std::span<const double> values);
inline std::string formatNumbers(std::string_view format, std::initializer_list<double> values) {
  return formatNumbers(format, std::span<const double>(values.begin(), values.size()));
}
inline std::string formatNumber(std::string_view format, double value) {
  return formatNumbers(format, {value});
}

// "%W.Pf" and "%Wd" of the C locale: blanks to the left up to the width.
std::string formatFixed(double value, int precision, int width = 0);
std::string formatInt(long long value, int width = 0);

}  // namespace tav
