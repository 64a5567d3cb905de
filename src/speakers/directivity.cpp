#include "speakers/directivity.h"

#include <algorithm>
#include <cmath>

namespace tav {

namespace {

// Polar and azimuth angles in 5-degree grid units. The polar scale lands
// straight behind at a value just above 36, so that direction always uses
// row 36 alone.
constexpr double POLAR_UNITS_PER_RAD = 11.4592;
constexpr double AZIMUTH_UNITS_PER_RAD = 11.45915;
constexpr double TWO_PI = 6.283185307179586;

}  // namespace

const std::array<double, BAND_COUNT>& airAttenuationLogs() {
  static const std::array<double, BAND_COUNT> logs = [] {
    std::array<double, BAND_COUNT> l{};
    for (int b = 0; b < BAND_COUNT; ++b) l[b] = std::log(AIR_ATTENUATION[b]);
    return l;
  }();
  return logs;
}

DirectivityEnergyTable::DirectivityEnergyTable() {
  for (int k = 0; k < 256; ++k) energy_[k] = std::pow(10.0, (k - 225) / 50.0);
}

const DirectivityEnergyTable& DirectivityEnergyTable::instance() {
  static const DirectivityEnergyTable table;
  return table;
}

SpeakerFrame makeSpeakerFrame(const PlacedSpeaker& speaker, const SpeakerType& type) {
  SpeakerFrame f;
  f.position = speaker.pos();
  auto prepare = [](double angle, bool& flag, double& s, double& c) {
    flag = std::fabs(angle) > FRAME_ANGLE_EPSILON;
    if (flag) {
      s = std::sin(angle);
      c = std::cos(angle);
    }
  };
  prepare(speaker.horizontal, f.turnH, f.sinH, f.cosH);
  prepare(speaker.vertical, f.turnV, f.sinV, f.cosV);
  prepare(speaker.rotation, f.turnR, f.sinR, f.cosR);
  for (int b = 0; b < BAND_COUNT; ++b) {
    f.acousticFactor[b] = speaker.acousticFactor[b];
    if (std::fabs(f.acousticFactor[b]) > ACTIVE_BAND_FACTOR) f.bandMask |= std::uint8_t(1u << b);
  }
  f.polarity = speaker.polarity < 0 ? -1.0 : 1.0;
  f.delay = speaker.delay;
  f.type = &type;
  return f;
}

Vec3d toSpeakerFrame(const SpeakerFrame& f, const Vec3d& point) {
  double x = point.x - f.position.x, y = point.y - f.position.y, z = point.z - f.position.z;
  if (f.turnH) {
    const double nx = f.cosH * x + f.sinH * y;
    y = -f.sinH * x + f.cosH * y;
    x = nx;
  }
  if (f.turnV) {
    const double nx = f.cosV * x + f.sinV * z;
    z = -f.sinV * x + f.cosV * z;
    x = nx;
  }
  if (f.turnR) {
    const double nz = f.cosR * z + f.sinR * y;
    y = -f.sinR * z + f.cosR * y;
    z = nz;
  }
  return {x, y, z};
}

DirectivityCell directivityCell(const Vec3d& d) {
  DirectivityCell c;
  const double dist2 = d.x * d.x + d.y * d.y + d.z * d.z;
  c.distance = std::sqrt(dist2);
  if (!std::isfinite(dist2)) {
    c.finite = false;
    return c;
  }
  double theta = 0;
  if (c.distance <= 0.01) {
    c.inverseSquare = 100.0;
  } else {
    c.inverseSquare = 1.0 / dist2;
    // Rounding can push the cosine a hair beyond +-1.
    double cosine = d.x / c.distance;
    cosine = cosine > 1.0 ? 1.0 : (cosine < -1.0 ? -1.0 : cosine);
    theta = std::acos(cosine) * POLAR_UNITS_PER_RAD;
  }

  c.row0 = static_cast<int>(theta);
  if (c.row0 < DIRECTIVITY_ROWS - 1) {
    c.row1 = c.row0 + 1;
    c.rowWeight1 = theta - c.row0;
    c.rowWeight0 = 1.0 - c.rowWeight1;
  } else {
    c.row0 = c.row1 = DIRECTIVITY_ROWS - 1;
    c.rowWeight0 = c.rowWeight1 = 0.5;
  }

  if (std::fabs(d.y) > 0.001) {
    double phi = std::atan2(d.z, d.y);
    if (phi < 0) phi += TWO_PI;
    phi *= AZIMUTH_UNITS_PER_RAD;
    const double fl = std::floor(phi);
    c.columnWeight1 = phi - fl;
    c.columnWeight0 = 1.0 - c.columnWeight1;
    c.column0 = static_cast<int>(fl) % DIRECTIVITY_COLUMNS;
    c.column1 = (c.column0 + 1) % DIRECTIVITY_COLUMNS;
  } else {
    c.column0 = c.column1 = d.z < 0 ? 54 : 18;
    c.columnWeight0 = c.columnWeight1 = 0.5;
  }
  return c;
}

double cellEnergy(const DirectivityGrid& grid, const DirectivityCell& c) {
  if (!c.finite) return 0;
  const DirectivityEnergyTable& table = DirectivityEnergyTable::instance();
  const double u0 = c.columnWeight0, u1 = c.columnWeight1;
  return c.rowWeight0 *
             (u0 * table[grid.at(c.row0, c.column0)] + u1 * table[grid.at(c.row0, c.column1)]) +
         c.rowWeight1 *
             (u0 * table[grid.at(c.row1, c.column0)] + u1 * table[grid.at(c.row1, c.column1)]);
}

DirectivityResult directivityEnergy(const DirectivityGrid& grid, const Vec3d& d) {
  const DirectivityCell c = directivityCell(d);
  DirectivityResult r;
  r.distance = c.distance;
  // No direction to look up (a point at infinity or not a number): no sound.
  r.inverseSquare = c.finite ? c.inverseSquare : 0;
  r.energy = cellEnergy(grid, c);
  return r;
}

BandArrival sourceBandEnergy(const SpeakerFrame& f, const Vec3d& point, int band) {
  if (band < 0 || band >= BAND_COUNT || !(f.bandMask & (1u << band)) || !f.type)
    return {0.001, 10000.0};
  const Vec3d local = toSpeakerFrame(f, point);
  const DirectivityResult d = directivityEnergy(f.type->grids[band], local);
  const double air = std::exp(airAttenuationLogs()[band] * d.distance);
  return {f.polarity * d.inverseSquare * f.acousticFactor[band] * air * d.energy,
          d.distance / SPEED_OF_SOUND + f.delay * 0.001};
}

double balloonEnergyIntegral(const DirectivityGrid& grid) {
  const DirectivityEnergyTable& table = DirectivityEnergyTable::instance();
  constexpr double PI = 3.141592653589793, HALF_ROW = 2.5 * PI / 180.0;
  double sum = 0;
  for (int r = 0; r < DIRECTIVITY_ROWS; ++r) {
    const double theta = r * 2 * HALF_ROW;
    const double a = std::max(0.0, theta - HALF_ROW), b = std::min(PI, theta + HALF_ROW);
    const double cell = TWO_PI * (std::cos(a) - std::cos(b)) / DIRECTIVITY_COLUMNS;
    double row = 0;
    for (int c = 0; c < DIRECTIVITY_COLUMNS; ++c) row += table[grid.at(r, c)];
    sum += row * cell;
  }
  return sum;
}

std::uint8_t directivityCodeFromDb(double db) {
  const double x = db * 5.0 + 225.0;
  if (!(x > 0)) return 0;  // also NaN
  const double rounded = std::floor(x + 0.5);
  return rounded >= 255.0 ? 255 : static_cast<std::uint8_t>(rounded);
}

}  // namespace tav
