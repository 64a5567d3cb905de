// The text of a coordinate in the 3D panel's read-out fields.
#pragma once

#include <string>

namespace tav {

// Fixed-point text with `decimals` places, independent of the locale. A value
// that rounds to zero reads "0.000", never "-0.000".
std::string formatCoordinate(double value, int decimals);

}  // namespace tav
