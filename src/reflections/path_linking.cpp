#include "reflections/path_linking.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "materials/absorber_material.h"
#include "model/object_list.h"
#include "speakers/directivity.h"

namespace tav {

namespace {

constexpr double POLAR_UNITS_PER_RAD = 11.4592;     // 5-degree rows
constexpr double AZIMUTH_UNITS_PER_RAD = 11.45915;  // 5-degree columns
constexpr double TWO_PI = 6.283185307179586;
constexpr int LAST_BLENDED_ROW = 35;

// Absorption of a face's material in a band (material 0 when the number is
// not in the table).
double faceAbsorption(const FaceRecord& f, const ProjectMaterials& materials, int band) {
  std::size_t m = f.materialNumber();
  if (m >= materials.count()) m = 0;
  if (m >= materials.count()) return 0.0;
  return materials.slots[m].alpha[band];
}

}  // namespace

double pathDirectivity(const DirectivityGrid& grid, const Vec3d& d) {
  const DirectivityEnergyTable& table = DirectivityEnergyTable::instance();
  const double theta =
      std::fabs(std::atan2(std::sqrt(d.y * d.y + d.z * d.z), d.x + 1e-6)) * POLAR_UNITS_PER_RAD;
  if (!std::isfinite(theta)) return 0.0;
  int i0 = static_cast<int>(theta), i1;
  double w0, w1;
  if (i0 < LAST_BLENDED_ROW) {
    i1 = i0 + 1;
    w1 = theta - i0;
    w0 = 1.0 - w1;
  } else {
    i0 = std::min(i0, DIRECTIVITY_ROWS - 1);
    i1 = LAST_BLENDED_ROW;
    w0 = w1 = 0.5;
  }
  int j0, j1;
  double u0, u1;
  if (std::fabs(d.y) > 0.001) {
    double phi = std::atan2(d.z, d.y);
    if (phi < 0) phi += TWO_PI;
    phi *= AZIMUTH_UNITS_PER_RAD;
    const double fl = std::floor(phi);
    u1 = phi - fl;
    u0 = 1.0 - u1;
    j0 = static_cast<int>(fl) % DIRECTIVITY_COLUMNS;
    j1 = (j0 + 1) % DIRECTIVITY_COLUMNS;
  } else {
    j0 = j1 = d.z < 0 ? 54 : 18;
    u0 = u1 = 0.5;
  }
  return w0 * (u0 * table[grid.at(i0, j0)] + u1 * table[grid.at(i0, j1)]) +
         w1 * (u0 * table[grid.at(i1, j0)] + u1 * table[grid.at(i1, j1)]);
}

LinkResult linkPathsToSpeakers(ObjectList& objects, const FaceTable& faces,
                               const ActiveSpeakerTable& speakers,
                               const ProjectMaterials& materials, double meanFreePath,
                               ReflectionStats& stats) {
  LinkResult result;
  std::array<double, BAND_COUNT> absorptionSum{};
  for (ModelObject* o : reflectionPaths(objects)) {
    const PathData data = *readPathData(*o);
    const Vec3d start = toVec(o->nodes.front());
    // The nearest loudspeaker within 0.1 m of the source point.
    int speaker = -1;
    double nearest = SPEAKER_MATCH_DISTANCE_SQ;
    for (std::size_t i = 0; i < speakers.size(); ++i) {
      const Vec3d d = speakers[i].frame.position - start;
      if (dot(d, d) < nearest) {
        nearest = dot(d, d);
        speaker = static_cast<int>(i);
      }
    }
    // Every reflection must name a face of the table the paths were found in.
    bool facesKnown = true;
    for (std::size_t i = 1; i + 1 < data.ids.size(); ++i)
      facesKnown =
          facesKnown && data.ids[i] >= 0 && static_cast<std::size_t>(data.ids[i]) < faces.size();
    if (speaker < 0 || !facesKnown) {
      objects.freeObject(o);
      ++result.unassigned;
      continue;
    }
    const ActiveSpeaker& s = speakers[static_cast<std::size_t>(speaker)];
    writePathSourceId(*o, static_cast<std::int16_t>(speaker));
    double length = 0;
    for (std::size_t i = 1; i < o->nodes.size(); ++i) {
      const Vec3d d = toVec(o->nodes[i]) - toVec(o->nodes[i - 1]);
      length += std::sqrt(dot(d, d));
    }
    const float time = static_cast<float>(s.frame.delay + 1000.0 * length / SPEED_OF_SOUND);
    // A path of (nearly) no length takes the level map's inverse square
    // limit instead of dividing by zero.
    const double inverseSquare = length > 0.01 ? 1.0 / (length * length) : 100.0;
    const Vec3d local = toSpeakerFrame(s.frame, toVec(o->nodes[1]));
    std::array<float, BAND_COUNT> energy{};
    for (int b = 0; b < BAND_COUNT; ++b) {
      const double directivity = (s.frame.bandMask & (1u << b)) && s.frame.type
                                     ? pathDirectivity(s.frame.type->grids[b], local)
                                     : 1.0;
      double e = std::pow(AIR_ATTENUATION[b], length) * s.frame.acousticFactor[b] * inverseSquare;
      for (std::size_t i = 1; i + 1 < data.ids.size(); ++i) {
        const double alpha =
            faceAbsorption(faces[static_cast<std::size_t>(data.ids[i])], materials, b);
        e *= 1.0 - alpha;
        absorptionSum[b] += alpha;
      }
      const double stored = std::fabs(directivity * e);
      energy[b] = static_cast<float>(stored > 1.0 ? stored : 1.0);
    }
    result.reflections += data.reflections;
    writePathTimeAndEnergy(*o, time, energy);
    result.target = toVec(o->nodes.back());
    ++result.kept;
  }

  if (meanFreePath > MIN_MEAN_FREE_PATH) {
    stats.meanFreePath = static_cast<float>(meanFreePath);
    stats.reflectionRate = static_cast<float>(SPEED_OF_SOUND / meanFreePath);
    double absorptionMean = 0, rtMean = 0;
    for (int b = 0; b < BAND_COUNT; ++b) {
      double alpha =
          result.reflections > 0 ? absorptionSum[b] / static_cast<double>(result.reflections) : 0.0;
      alpha = std::clamp(alpha, 0.01, 0.999);
      stats.meanAbsorption[b] = static_cast<float>(alpha);
      absorptionMean += alpha;
      const double rt = 6.0 * std::log(10.0) * meanFreePath *
                        std::pow(AIR_ATTENUATION[b], meanFreePath) /
                        (SPEED_OF_SOUND * -std::log(1.0 - alpha));
      stats.rt[b] = static_cast<float>(rt);
      rtMean += rt;
    }
    stats.meanAbsorption[BROADBAND] = static_cast<float>(absorptionMean / BAND_COUNT);
    stats.rt[BROADBAND] = static_cast<float>(rtMean / BAND_COUNT);
  } else {
    stats.meanFreePath = static_cast<float>(MIN_MEAN_FREE_PATH);
    stats.reflectionRate = static_cast<float>(SPEED_OF_SOUND / MIN_MEAN_FREE_PATH);
    for (int b = 0; b < BAND_COUNT; ++b)
      stats.meanAbsorption[b] = static_cast<float>(absorptionSum[b]);
    result.messages.push_back({MSG_NO_MEAN_FREE_PATH, CAPTION_INFO});
  }
  if (result.kept == 0) {
    result.messages.push_back({MSG_NO_VALID_PATHS, ""});
  } else if (result.unassigned > 0) {
    result.messages.push_back(
        {std::to_string(result.unassigned) + " " + MSG_PATHS_UNASSIGNED, CAPTION_INFORMATION});
  }
  return result;
}

}  // namespace tav
