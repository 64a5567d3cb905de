#include "model/number_scan.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace tav {

namespace {

bool isBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

void skipBlanks(std::string_view& text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
}

}  // namespace

std::optional<double> scanNumber(std::string_view& text) {
  std::string_view s = text;
  skipBlanks(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  // from_chars takes no sign of its own and would accept "inf" and "nan".
  if (s.empty() || !(std::isdigit(static_cast<unsigned char>(s.front())) || s.front() == '.'))
    return std::nullopt;
  double value = 0;
  const auto [end, ec] =
      std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
  // Out of range, scanf gives an infinity or zero; a coordinate of that
  // size is of no use, so it counts as unreadable.
  if (ec != std::errc()) return std::nullopt;
  text = s.substr(static_cast<std::size_t>(end - s.data()));
  return negative ? -value : value;
}

bool scanNumberList(std::string_view text, double* out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) {
      skipBlanks(text);
      if (text.empty() || text.front() != ',') return false;
      text.remove_prefix(1);
    }
    const std::optional<double> v = scanNumber(text);
    if (!v) return false;
    out[i] = *v;
  }
  return true;
}

bool fitsFloat(double value) {
  return std::fabs(value) <= static_cast<double>(std::numeric_limits<float>::max());
}

}  // namespace tav
