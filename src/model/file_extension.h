// The extension a file type's names carry: a name the user chose gets it
// appended unless it already ends in it, in any case ("hall.tap" stays,
// "hall.TAPE" becomes "hall.TAPE.TAP").
#pragma once

#include <string>
#include <string_view>

namespace tav {

// `extension` includes its dot, e.g. ".TAP".
std::string withFileExtension(std::string_view chosen, std::string_view extension);

}  // namespace tav
