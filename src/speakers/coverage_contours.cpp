#include "speakers/coverage_contours.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {
constexpr double PI = 3.141592653589793;
constexpr double ROW_ANGLE = 5.0 * PI / 180.0;
// The front part searched for the maximum: rows 0..17 and half of row 18.
constexpr std::size_t FRONT_CODES = 1332;
constexpr int LAST_ROW = 17;  // rows searched for a contour: below this
}  // namespace

CoverageContours coverageContours(const DirectivityGrid& grid) {
  CoverageContours out;
  const int m = *std::max_element(grid.codes.begin(), grid.codes.begin() + FRONT_CODES);
  for (int c = 0; c < DIRECTIVITY_COLUMNS; ++c) {
    int r0 = 0;
    for (int r = 1; r < LAST_ROW; ++r)
      if (grid.at(r, c) > grid.at(r0, c)) r0 = r;
    for (int k = 0; k < CONTOUR_COUNT; ++k) {
      const int threshold = m - 15 * (k + 1);
      double angle = PI / 2;
      for (int r = r0; r < LAST_ROW; ++r) {
        const int code = grid.at(r, c);
        if (code <= threshold) {
          const double drop = (code - m) / 5.0;  // dB, negative
          angle = std::fabs(r * ROW_ANGLE * CONTOUR_DROPS_DB[k] / drop);
          break;
        }
      }
      out.angle[k][c] = angle;
    }
    for (int k = 1; k < CONTOUR_COUNT; ++k)
      if (out.angle[k][c] <= out.angle[k - 1][c]) out.angle[k][c] = out.angle[k - 1][c] + 0.0175;
  }
  return out;
}

Vec3d contourPoint(int column, double theta, double rotation) {
  const double alpha = column * ROW_ANGLE - rotation - PI;
  const double depth = std::cos(theta) + 0.1;
  const double s = std::sin(theta) / depth;
  return {std::cos(alpha) * s, std::sin(alpha) * s, depth};
}

}  // namespace tav
