// Points compared as a whole: one assertion for x, y and z, naming the axis
// that is off.
#pragma once

#include <gtest/gtest.h>

#include <cmath>

#include "model/model_object.h"
#include "model/vec3.h"

namespace tavtest {

inline ::testing::AssertionResult near(const tav::Vec3d& got, const tav::Vec3d& want,
                                       double tolerance = 1e-6) {
  const double g[3] = {got.x, got.y, got.z}, w[3] = {want.x, want.y, want.z};
  for (int a = 0; a < 3; ++a)
    if (!(std::fabs(g[a] - w[a]) <= tolerance))
      return ::testing::AssertionFailure()
             << "(" << g[0] << ", " << g[1] << ", " << g[2] << ") is not (" << w[0] << ", " << w[1]
             << ", " << w[2] << "): "
             << "xyz"[a] << " differs by more than " << tolerance;
  return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult near(const tav::Node& got, const tav::Vec3d& want,
                                       double tolerance = 1e-5) {
  return near(tav::toVec(got), want, tolerance);
}

}  // namespace tavtest
