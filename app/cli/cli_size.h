// Picture sizes given on the command line as "WIDTHxHEIGHT".
#pragma once

#include <optional>
#include <string>

namespace tav::cli {

// Largest picture side, pixels: keeps a mistyped size from asking for gigabytes.
constexpr int MAX_IMAGE_SIDE = 16384;

struct ImageSize {
  int width = 0, height = 0;
};

// "WxH" with both sides in 1..MAX_IMAGE_SIDE.
std::optional<ImageSize> parseImageSize(const std::string& text);

}  // namespace tav::cli
