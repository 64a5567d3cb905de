#include "model/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace tav {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct ParsedNumber {
  double value = 0;
  std::size_t end = 0;  // characters used, blanks before the number included
  bool found = false;   // a number stood there
  bool inRange = false;
};

// The number at the start of `text` (commas already turned into points).
ParsedNumber parsePrefix(std::string_view text) {
  ParsedNumber r;
  std::size_t i = 0;
  while (i < text.size() && isBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Digits or a point must follow: from_chars would also take "inf" and
  // "nan", which nobody types as a length.
  if (i >= text.size() || !(isDigit(text[i]) || text[i] == '.')) return r;
  const char* first = text.data() + i;
  const char* last = text.data() + text.size();
  double value = 0;
  const std::from_chars_result res = std::from_chars(first, last, value);
  if (res.ptr == first) return r;
  r.found = true;
  r.end = static_cast<std::size_t>(res.ptr - text.data());
  r.inRange = res.ec == std::errc();
  r.value = r.inRange ? (negative ? -value : value) : 0.0;
  return r;
}

std::string commasToPoints(std::string_view text) {
  std::string s(text);
  for (char& c : s)
    if (c == ',') c = '.';
  return s;
}

struct Conversion {
  bool left = false, plus = false, space = false, zero = false;
  int width = 0;
  int precision = -1;
  char kind = 0;
};

// Reads "%..." at text[i] (text[i] == '%'); the position after it, or i when
// it is no conversion this formatter knows.
std::size_t readConversion(std::string_view text, std::size_t i, Conversion& c) {
  std::size_t k = i + 1;
  for (; k < text.size(); ++k) {
    const char f = text[k];
    if (f == '-') {
      c.left = true;
    } else if (f == '+') {
      c.plus = true;
    } else if (f == ' ') {
      c.space = true;
    } else if (f == '0') {
      c.zero = true;
    } else if (f != '#') {
      break;
    }
  }
  // Widths and precisions beyond three digits are no format of ours.
  for (int n = 0; k < text.size() && isDigit(text[k]) && n < 3; ++k, ++n)
    c.width = c.width * 10 + (text[k] - '0');
  if (k < text.size() && text[k] == '.') {
    ++k;
    c.precision = 0;
    for (int n = 0; k < text.size() && isDigit(text[k]) && n < 3; ++k, ++n)
      c.precision = c.precision * 10 + (text[k] - '0');
  }
  if (k < text.size() && text[k] == 'l') ++k;
  if (k >= text.size()) return i;
  const char kind = text[k];
  if (kind != 'f' && kind != 'e' && kind != 'g' && kind != 'd' && kind != 'i') return i;
  c.kind = kind;
  return k + 1;
}

std::string convert(const Conversion& c, double value) {
  // 1e308 in fixed notation with 999 decimals fits.
  std::array<char, 1400> buffer;
  char* first = buffer.data();
  char* last = buffer.data() + buffer.size();
  std::to_chars_result res{};
  const int precision = c.precision < 0 ? 6 : c.precision;
  if (c.kind == 'd' || c.kind == 'i') {
    const double t = std::trunc(value);
    const long long whole =
        std::isfinite(t) && std::fabs(t) < 9.2e18 ? static_cast<long long>(t) : 0;
    res = std::to_chars(first, last, whole);
  } else if (!std::isfinite(value)) {
    const char* word = std::isnan(value) ? "nan" : "inf";
    std::string s = std::signbit(value) ? "-" : "";
    s += word;
    res.ptr = std::copy(s.begin(), s.end(), first);
  } else {
    const std::chars_format f = c.kind == 'f'   ? std::chars_format::fixed
                                : c.kind == 'e' ? std::chars_format::scientific
                                                : std::chars_format::general;
    res = std::to_chars(first, last, value, f, c.kind == 'g' && precision == 0 ? 1 : precision);
  }
  std::string digits(first, res.ptr);
  std::string sign;
  if (!digits.empty() && digits[0] == '-') {
    sign = "-";
    digits.erase(0, 1);
  } else if (c.plus) {
    sign = "+";
  } else if (c.space) {
    sign = " ";
  }
  const std::size_t length = sign.size() + digits.size();
  const std::size_t width = static_cast<std::size_t>(c.width);
  if (length >= width) return sign + digits;
  const std::string pad(width - length, c.zero && !c.left && std::isfinite(value) ? '0' : ' ');
  if (c.left) return sign + digits + pad;
  if (c.zero && std::isfinite(value)) return sign + pad + digits;
  return pad + sign + digits;
}

}  // namespace

double parseNumber(std::string_view text) {
  const ParsedNumber r = parsePrefix(commasToPoints(text));
  return r.found && r.inRange ? r.value : 0.0;
}

std::optional<double> parseNumberStrict(std::string_view text) {
  const std::string s = commasToPoints(text);
  const ParsedNumber r = parsePrefix(s);
  if (!r.found || !r.inRange || !std::isfinite(r.value)) return std::nullopt;
  for (std::size_t i = r.end; i < s.size(); ++i)
    if (!isBlank(s[i])) return std::nullopt;
  return r.value;
}

std::string formatNumbers(std::string_view format, std::span<const double> values) {
  std::string out;
  auto next = values.begin();
  for (std::size_t i = 0; i < format.size();) {
    if (format[i] != '%') {
      out += format[i++];
      continue;
    }
    if (i + 1 < format.size() && format[i + 1] == '%') {
      out += '%';
      i += 2;
      continue;
    }
    Conversion c;
    const std::size_t after = readConversion(format, i, c);
    if (after == i || next == values.end()) {
      out += format[i++];
      continue;
    }
    out += convert(c, *next++);
    i = after;
  }
  return out;
}

std::string formatFixed(double value, int precision, int width) {
  const std::string format =
      "%" + std::to_string(std::max(width, 0)) + "." + std::to_string(std::max(precision, 0)) + "f";
  return formatNumber(format, value);
}

std::string formatInt(long long value, int width) {
  std::string text = std::to_string(value);
  if (width > 0 && text.size() < static_cast<std::size_t>(width))
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

}  // namespace tav
