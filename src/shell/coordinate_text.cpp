#include "shell/coordinate_text.h"

#include <charconv>

namespace tav {

std::string formatCoordinate(double value, int decimals) {
  char buffer[64];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return "0";
  std::string text(buffer, end);
  // "-0.000": a negative value too small for the places shown.
  if (text.size() > 1 && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos)
    text.erase(0, 1);
  return text;
}

}  // namespace tav
