// The built-in stroke font "STANDARDFONT" that the text command draws with.
#pragma once

#include <optional>

#include "edit/stroke_font.h"

namespace tav {

// Loads the font embedded at build time; nullopt when the program was built
// without one (the text command then reports "No Font loaded").
std::optional<StrokeFont> loadStandardFont();

}  // namespace tav
