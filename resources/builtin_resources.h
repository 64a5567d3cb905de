// Built-in resources embedded into the program at build time.
#pragma once

#include <cstdint>
#include <span>

namespace tav {

// The stroke font "STANDARDFONT" (see edit/stroke_font.h for its layout).
// Empty when the program was built without a Hershey font.
std::span<const std::uint8_t> standardFontData();

}  // namespace tav
