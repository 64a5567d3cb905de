// Small double-precision vector for geometry and acoustics.
#pragma once

#include <cmath>

namespace tav {

struct Vec3d {
  double x = 0, y = 0, z = 0;

  friend Vec3d operator+(Vec3d a, Vec3d b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
  friend Vec3d operator-(Vec3d a, Vec3d b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
  friend Vec3d operator*(Vec3d a, double s) { return {a.x * s, a.y * s, a.z * s}; }
  friend Vec3d operator*(double s, Vec3d a) { return a * s; }
  friend bool operator==(Vec3d a, Vec3d b) = default;
  Vec3d& operator+=(Vec3d b) {
    x += b.x;
    y += b.y;
    z += b.z;
    return *this;
  }
  Vec3d& operator-=(Vec3d b) {
    x -= b.x;
    y -= b.y;
    z -= b.z;
    return *this;
  }
};

inline double dot(Vec3d a, Vec3d b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3d cross(Vec3d a, Vec3d b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3d a) { return std::sqrt(dot(a, a)); }

}  // namespace tav
