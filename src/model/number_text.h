// Numbers in text files, list lines and printouts, independent of the
// process locale: the decimal separator is always a point.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tav {

// The text "%<width>.<precision>f" gives in the C locale: fixed notation,
// rounded to `precision` decimals, padded with blanks on the left to at
// least `width` characters.
std::string formatFixed(double value, int precision, int width = 0);

// One decimal number at the start of `text` as the C scanf "%f" reads it:
// blanks skipped, an optional sign, digits with an optional point and
// exponent. On success `text` is advanced past it. Infinities and NaN
// spellings are refused.
std::optional<double> scanNumber(std::string_view& text);

// `count` numbers separated by commas (blanks allowed around them) at the
// start of `text`; whatever follows the last one is ignored. Nothing when
// fewer can be read.
bool scanNumberList(std::string_view text, double* out, std::size_t count);

}  // namespace tav
