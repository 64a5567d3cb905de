// Directivity lookup: a loudspeaker's frame (the transform of a world point
// into the loudspeaker's local axes), the energy factor of its balloon in a
// local direction, and the direct sound of one loudspeaker at a point.
#pragma once

#include <array>
#include <cstdint>

#include "model/octave_bands.h"
#include "model/vec3.h"
#include "speakers/placed_speaker.h"
#include "speakers/speaker_type.h"

namespace tav {

// A band takes part in calculations only above this acoustic factor (30 dB).
constexpr double ACTIVE_BAND_FACTOR = 1000.0;
// Angles of at most this magnitude are not applied by the frame (rad).
constexpr double FRAME_ANGLE_EPSILON = 0.01;

// Energy factor of each directivity code: entry k = 10^((k - 225) / 50).
class DirectivityEnergyTable {
 public:
  DirectivityEnergyTable();
  double operator[](std::uint8_t code) const { return energy_[code]; }
  // The one table of the program (immutable once built).
  static const DirectivityEnergyTable& instance();

 private:
  std::array<double, 256> energy_;
};

// The prepared orientation and drive of one switched-on loudspeaker.
struct SpeakerFrame {
  Vec3d position;
  bool turnH = false, turnV = false, turnR = false;
  double sinH = 0, cosH = 1, sinV = 0, cosV = 1, sinR = 0, cosR = 1;
  std::uint8_t bandMask = 0;  // bit b: |F_b| > 1000
  std::array<double, BAND_COUNT> acousticFactor{};
  double polarity = 1;
  double delay = 0;  // ms
  const SpeakerType* type = nullptr;
};

SpeakerFrame makeSpeakerFrame(const PlacedSpeaker& speaker, const SpeakerType& type);

// World point -> vector from the loudspeaker in its local frame (+x = main axis).
Vec3d toSpeakerFrame(const SpeakerFrame& frame, const Vec3d& point);

struct DirectivityResult {
  double energy = 1;     // D, the balloon's energy factor relative to the axis
  double inverseSquare;  // q = 1 / dist^2, or 100 within 0.01 of the source
  double distance;       // |d|
};

// Where a local direction falls in the balloon grid: the two rows and two
// columns around it with their weights, the inverse-square term and the
// distance. The same for every band, so callers that look up all bands of
// one direction compute it once.
struct DirectivityCell {
  int row0 = 0, row1 = 0, column0 = 0, column1 = 0;
  double rowWeight0 = 1, rowWeight1 = 0, columnWeight0 = 1, columnWeight1 = 0;
  double inverseSquare = 0;
  double distance = 0;
  bool finite = true;  // false: no direction (a point at infinity or not a number)
};
DirectivityCell directivityCell(const Vec3d& local);
// The band grid's energy factor at a cell (0 when the cell is not finite).
double cellEnergy(const DirectivityGrid& grid, const DirectivityCell& cell);

// Energy factor of a band's balloon in the local direction d, interpolated
// in the energy domain between the four surrounding grid cells.
DirectivityResult directivityEnergy(const DirectivityGrid& grid, const Vec3d& local);
inline DirectivityResult directivityEnergy(const SpeakerType& type, int band, const Vec3d& local) {
  return directivityEnergy(type.grids[band], local);
}

// ln of the per-metre air attenuation of each band: the air factor over
// a path of r metres is exp(log * r).
const std::array<double, BAND_COUNT>& airAttenuationLogs();

struct BandArrival {
  double energy;   // linear, polarity included
  double arrival;  // s
};

// Direct sound of one loudspeaker at a point in one band. A band outside the
// frame's mask gives energy 0.001 at 10000 s (ignored by the callers).
BandArrival sourceBandEnergy(const SpeakerFrame& frame, const Vec3d& point, int band);

// Integral of a band's energy factor over the sphere (sr): each row stands
// for the polar angles within 2.5 degrees of it, each column for 1/72 of
// that band. 4 pi for an omnidirectional balloon; Q = 4 pi / integral.
double balloonEnergyIntegral(const DirectivityGrid& grid);

// Code of a level in dB relative to the axis: round(dB * 5 + 225), 0..255.
std::uint8_t directivityCodeFromDb(double db);
inline double directivityDbFromCode(std::uint8_t code) { return (code - 225) / 5.0; }

}  // namespace tav
