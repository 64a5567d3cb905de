// Numbers read from text files, independent of the process locale: what the
// C scanf "%f" reads, the decimal separator always a point.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tav {

// One decimal number at the start of `text`: blanks skipped, an optional
// sign, digits with an optional point and exponent. On success `text` is
// advanced past it. Infinities, NaN spellings and numbers beyond the range
// of a double are refused.
std::optional<double> scanNumber(std::string_view& text);

// `count` numbers separated by commas (blanks allowed around them) at the
// start of `text`; whatever follows the last one is ignored. False when
// fewer can be read.
bool scanNumberList(std::string_view text, double* out, std::size_t count);

// True when the value is finite as a float (the records' number type).
bool fitsFloat(double value);

}  // namespace tav
