// Numbers as text, the same whatever the process locale: what printf's "%*.*f"
// and "%*d" give in the C locale (a point as decimal separator, blanks to
// the left up to the width).
#pragma once

#include <string>

namespace tav {

std::string formatFixed(double value, int precision, int width = 0);
std::string formatInt(long long value, int width = 0);

}  // namespace tav
