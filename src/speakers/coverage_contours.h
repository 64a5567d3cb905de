// Coverage contours of a balloon: per azimuth column, the polar angles at
// which the level has fallen 3, 6 and 9 dB below the front maximum. Drawn
// around the view centre while a loudspeaker is aimed through its own eyes.
#pragma once

#include <array>

#include "model/vec3.h"
#include "speakers/speaker_type.h"

namespace tav {

constexpr int CONTOUR_COUNT = 3;
constexpr std::array<double, CONTOUR_COUNT> CONTOUR_DROPS_DB = {3, 6, 9};
constexpr std::uint32_t CONTOUR_COLOUR = 26;

struct CoverageContours {
  // angle[k][c]: polar angle (rad) of contour k (3, 6, 9 dB) in column c;
  // pi/2 where the level does not fall so far in front.
  std::array<std::array<double, DIRECTIVITY_COLUMNS>, CONTOUR_COUNT> angle{};
};

CoverageContours coverageContours(const DirectivityGrid& grid);

// A contour point in the projection plane of the loudspeaker's own view:
// (x, y) around the view centre and the depth, for column c, polar angle
// theta and the loudspeaker's rotation angle.
Vec3d contourPoint(int column, double theta, double rotation);

}  // namespace tav
