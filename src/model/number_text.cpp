#include "model/number_text.h"

#include <charconv>
#include <cmath>

namespace tav {

namespace {

std::string padLeft(std::string text, int width) {
  if (width > 0 && text.size() < static_cast<std::size_t>(width))
    text.insert(0, static_cast<std::size_t>(width) - text.size(), ' ');
  return text;
}

}  // namespace

std::string formatFixed(double value, int precision, int width) {
  if (std::isnan(value)) return padLeft(std::signbit(value) ? "-nan" : "nan", width);
  if (std::isinf(value)) return padLeft(value < 0 ? "-inf" : "inf", width);
  // 309 digits before the point at most, plus the precision and the sign.
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                    precision < 0 ? 6 : precision);
  return padLeft(std::string(buffer, result.ptr), width);
}

std::string formatInt(long long value, int width) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return padLeft(std::string(buffer, result.ptr), width);
}

}  // namespace tav
