#include "edit/standard_font.h"

#include "resources/builtin_resources.h"

namespace tav {

std::optional<StrokeFont> loadStandardFont() { return StrokeFont::load(standardFontData()); }

}  // namespace tav
