// The reflection paths as model objects (layer 5 polylines carrying a
// PathData block), their order by arrival time, and the room statistics and
// impulse response evaluated from them. The audio profile reads the paths
// through reflectionPaths() and the statistics through ReflectionStats.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "model/model_object.h"
#include "model/octave_bands.h"
#include "reflections/path_record.h"

namespace tav {

class ObjectList;

// The data block of a path object, little-endian:
//   0 f32 time (ms); 4 f32[7] band energies; 32 28 bytes zero;
//   60 u16 n (reflections); 62 i16[n + 2] point ids.
constexpr std::size_t PATH_DATA_IDS_AT = 62;
constexpr std::size_t pathDataSize(std::size_t reflections) {
  return (reflections + 2) * 2 + PATH_DATA_IDS_AT;
}

struct PathData {
  float time = 0;                          // ms: the loudspeaker's delay + 1000 · length / c
  std::array<float, BAND_COUNT> energy{};  // linear, at least 1.0 once linked
  std::uint16_t reflections = 0;
  // [0] the source (-2 until linked, then the loudspeaker's table index),
  // [1..n] face indexes in the sorted face table, [n + 1] -1 (the target).
  std::vector<std::int16_t> ids;
};

// A layer-5 polyline whose data block is a whole PathData with n + 2 nodes.
bool isReflectionPath(const ModelObject& object);
// The PathData of a path object; nothing when the block does not match.
std::optional<PathData> readPathData(const ModelObject& object);
// Writes time and energies into the object's block (sizes unchanged).
void writePathTimeAndEnergy(ModelObject& object, float time,
                            const std::array<float, BAND_COUNT>& energy);
void writePathSourceId(ModelObject& object, std::int16_t id);

// The object of one work-file record: nodes = the n + 2 points, entries
// (IDX_START, 0) then (IDX_LINE, i), colour max(25 - (n + 2), 0), layer 5.
std::unique_ptr<ModelObject> makeReflectionPath(const PathRecord& record);

// The path objects of the list, in list order.
std::vector<ModelObject*> reflectionPaths(ObjectList& objects);
std::vector<const ModelObject*> reflectionPaths(const ObjectList& objects);
// Removes every path object; returns how many.
std::size_t removeReflectionPaths(ObjectList& objects);

// Sorts the paths by arrival time into one run at the head of the list: a
// path not earlier than every path so far goes last, one not later than
// every path so far goes first, any other before the first later path.
void sortPathsByTime(ObjectList& objects);

constexpr int HISTOGRAM_BINS = 1024;
// Band index of the broadband entries (the mean of the seven bands).
constexpr int BROADBAND = BAND_COUNT;
using BandValues8 = std::array<float, BAND_COUNT + 1>;

// The statistics of one opening of the ray display. Each group of eight holds
// the seven bands and, last, the broadband value.
struct ReflectionStats {
  float tMin = 0;                // earliest arrival (ms)
  float tMax = 0;                // latest arrival (ms)
  float maxLevel = 0;            // dB of the largest band energy of all paths (at least 0)
  BandValues8 refTime{};         // ms; broadband: the smallest
  BandValues8 refLevel{};        // dB; broadband: the mean of the seven, at least 1
  BandValues8 early{};           // Ld (dB); broadband: the weighted sum
  BandValues8 reverberant{};     // Lr (dB); broadband: the weighted sum
  BandValues8 meanAbsorption{};  // broadband: the mean of the seven
  float meanFreePath = 0;        // m
  float reflectionRate = 0;      // c / mean free path (1/s)
  BandValues8 rt{};              // s; broadband: the mean of the seven
  float binWidth = 0;            // ms: |tMax - tMin| / 1024
  // Linear energy per bin from time zero; [7] the mean of the seven bands.
  std::array<std::array<float, HISTOGRAM_BINS>, BAND_COUNT + 1> histogram{};
};

// Articulation weights of the bands (they sum to 1).
constexpr std::array<double, BAND_COUNT> BAND_WEIGHTS = {0.01,  0.042, 0.129, 0.2,
                                                         0.312, 0.25,  0.057};

// The room's reverberant drive: its volume (m³) by the project's RT method
// and the power radiated by the switched-on loudspeakers per band,
// W_b = Σ |F_b · 4π / (Q_b / 10 + 1e-6)|.
struct RoomDrive {
  double volume = 0;
  std::array<double, BAND_COUNT> power{};
};

// Fills times, levels, histograms, early and reverberant levels from the
// paths (in list order, after sorting). Keeps the mean free path, the mean
// absorption and RT that the linking put into `stats`.
void evaluatePaths(const ObjectList& objects, const RoomDrive& drive, ReflectionStats& stats);

// The level of a path in a band (0..6), or for the broadband (7) the level
// of the mean of the seven energies (0 when that mean is below 1).
double pathLevel(const PathData& path, int band);

}  // namespace tav
