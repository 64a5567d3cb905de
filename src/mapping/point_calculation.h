// The per-point engine of the level calculation: for one receiver point the
// arrivals of every active loudspeaker (direct sound, shaded by the room
// faces, and one reflection from each room face), the first arrival per band
// and the band sums by the phase relation.
//
// Everything a run needs is prepared once (PointCalculation); each thread
// keeps its own PointScratch, whose arrival lists grow as needed and are
// reused, so computing a point allocates nothing once the lists have grown.
// A point's result depends on the point and the prepared inputs only, never
// on the thread or on the points computed before.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "mapping/active_speaker_table.h"
#include "model/octave_bands.h"
#include "model/vec3.h"
#include "reflections/face_bvh.h"
#include "reflections/face_table.h"

namespace tav {

struct ProjectMaterials;

// Phase relations (the values the calculation options store).
enum class PhaseRelation : std::int16_t { Energy = 1, OctaveBandwidth = 2, SingleFrequency = 3 };
// A stored value outside 1..3 counts as Octave Bandwidth (the default).
PhaseRelation phaseRelationFromSetting(std::int16_t setting);

// Bits of the "include room" option.
constexpr std::int16_t INCLUDE_SHADING = 1;
constexpr std::int16_t INCLUDE_REFLECTION = 2;

// First arrival of a band nothing reached, s.
constexpr float NO_ARRIVAL_SECONDS = 10000.0f;
// Energy and time of the arrival of an inactive band.
constexpr float INACTIVE_ARRIVAL_ENERGY = 0.001f;
// A later arrival becomes the first one when it is more than 12.5 dB
// stronger than the first arrival so far.
constexpr double FIRST_ARRIVAL_FACTOR = 17.782;
// Only arrivals within this time after the first one are summed, s.
constexpr double SUM_WINDOW_SECONDS = 0.036;
// Reflections of a loudspeaker whose direct sound is free are counted only
// when their path is at most r² + 144 m² squared; otherwise 1e8 m².
constexpr double REFLECTION_LIMIT_EXTRA = 144.0;
constexpr double REFLECTION_LIMIT_NONE = 1e8;
// Angular frequency of each band, rad/s.
constexpr std::array<double, BAND_COUNT> BAND_OMEGA = {785.4,   1570.8,  3141.6, 6283.2,
                                                       12566.4, 25132.7, 50265.5};

// How the room faces are searched. All three give the same arrivals.
enum class FaceSearch {
  Plain,          // the plain loops over every face, as described (the reference)
  PlainFiltered,  // the same, after the reflecting face's own test (a face that
                  // fails it can never be the nearest crossed face)
  Hierarchy,      // through the face hierarchy
};

// The arrivals of one band at one point. Arrival k of every band comes from
// the same source.
struct ContributionList {
  std::vector<float> time;    // s
  std::vector<float> energy;  // polarity included
  float t0 = NO_ARRIVAL_SECONDS;
  std::uint32_t first = 0;  // index of the first arrival
  float sum = 0;            // the phase-relation sum plus 1.0
  std::size_t size() const { return time.size(); }
};

// Inputs of a run, prepared once.
struct PointCalculation {
  const ActiveSpeakerTable* speakers = nullptr;
  const FaceTable* faces = nullptr;    // may be null when includeRoom is 0
  const FaceBvh* hierarchy = nullptr;  // required by FaceSearch::Hierarchy
  std::int16_t includeRoom = 0;        // INCLUDE_SHADING | INCLUDE_REFLECTION
  PhaseRelation phase = PhaseRelation::OctaveBandwidth;
  FaceSearch search = FaceSearch::Hierarchy;
  // Per face, (1 - absorption coefficient) of its material per band.
  std::vector<std::array<double, BAND_COUNT>> reflectance;
  // Hierarchy search: the image of each loudspeaker in each face's plane
  // (speaker-major), used to skip faces whose reflection is too long.
  std::vector<Vec3d> images;
  double coordinateScale = 1;  // largest coordinate magnitude of faces and loudspeakers
};

// Prepares a run. `faces` and `hierarchy` may be null (no room); the
// hierarchy must have been built from `faces`. Materials give the
// reflectance of each face (a material number out of range counts as
// material 0, none at all as fully reflecting).
PointCalculation preparePointCalculation(const ActiveSpeakerTable& speakers, const FaceTable* faces,
                                         const FaceBvh* hierarchy,
                                         const ProjectMaterials& materials,
                                         std::int16_t includeRoom, PhaseRelation phase,
                                         FaceSearch search = FaceSearch::Hierarchy);

// Per-thread working storage.
struct PointScratch {
  std::array<ContributionList, BAND_COUNT> lists;
  std::array<float, BAND_COUNT> reference{};  // the first-arrival rule's threshold
  std::uint32_t arrivals = 0;                 // arrival counter of the point
};

// Computes one point: afterwards scratch.lists[b] hold the arrivals, the
// first arrival t0 (s) and the sum of every band.
void computePoint(const PointCalculation& calc, const Vec3d& point, PointScratch& scratch);

// The band's sum by the phase relation (band 0..6 selects the angular
// frequency), plus 1.0. Only arrivals earlier than t0 + 36 ms take part.
float sumPhaseRelation(const ContributionList& list, PhaseRelation phase, int band);

}  // namespace tav
