#include "cli_size.h"

#include <charconv>
#include <string_view>

namespace tav::cli {

namespace {

int parseSide(std::string_view text) {
  int v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (ec != std::errc() || end != text.data() + text.size()) return 0;
  return v;
}

}  // namespace

std::optional<ImageSize> parseImageSize(const std::string& text) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  ImageSize s{parseSide(std::string_view(text).substr(0, x)),
              parseSide(std::string_view(text).substr(x + 1))};
  if (s.width < 1 || s.height < 1 || s.width > MAX_IMAGE_SIDE || s.height > MAX_IMAGE_SIDE)
    return std::nullopt;
  return s;
}

}  // namespace tav::cli
