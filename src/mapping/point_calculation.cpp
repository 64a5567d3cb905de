#include "mapping/point_calculation.h"

#include <algorithm>
#include <cmath>

#include "mapping/face_visibility.h"
#include "materials/absorber_material.h"
#include "speakers/directivity.h"

namespace tav {

namespace {

// Octave Bandwidth sums the band at these multiples of its angular frequency.
constexpr std::array<double, 3> OCTAVE_FREQUENCY_FACTORS = {1.0, 0.8, 1.25};
// Octave Bandwidth weighs each arrival by this at each of the three frequencies.
constexpr double OCTAVE_ARRIVAL_WEIGHT = 0.333;

void beginPoint(PointScratch& s) {
  for (ContributionList& list : s.lists) {
    list.time.clear();
    list.energy.clear();
    list.t0 = NO_ARRIVAL_SECONDS;
    list.first = 0;
    list.sum = 0;
  }
  s.reference.fill(1.0f);
  s.arrivals = 0;
}

// Adds the arrival of a loudspeaker seen at q (the point itself, or its
// mirror image for a reflection, whose band energies are then weighed by the
// face's reflectance), and applies the first-arrival rule.
void addArrival(const ActiveSpeaker& speaker, const Vec3d& q,
                const std::array<double, BAND_COUNT>* reflectance, PointScratch& s) {
  const SpeakerFrame& f = speaker.frame;
  const std::uint32_t k = s.arrivals++;
  // One direction for all bands: the grid cell is the same in each.
  const DirectivityCell cell = directivityCell(toSpeakerFrame(f, q));
  const float time = static_cast<float>(cell.distance / SPEED_OF_SOUND + f.delay * 0.001);
  const double inverseSquare = cell.finite ? cell.inverseSquare : 0.0;
  const std::array<double, BAND_COUNT>& airLogs = airAttenuationLogs();
  for (int b = 0; b < BAND_COUNT; ++b) {
    ContributionList& list = s.lists[b];
    if (!(f.bandMask & (1u << b)) || f.type == nullptr) {
      list.time.push_back(NO_ARRIVAL_SECONDS);
      list.energy.push_back(INACTIVE_ARRIVAL_ENERGY);
      continue;
    }
    const double air = std::exp(airLogs[b] * cell.distance);
    double e = inverseSquare * f.acousticFactor[b] * air * cellEnergy(f.type->grids[b], cell);
    if (reflectance) e *= (*reflectance)[b];
    list.time.push_back(time);
    list.energy.push_back(static_cast<float>(f.polarity * e));
    if (time < list.t0 || e > s.reference[b]) {
      list.t0 = time;
      list.first = k;
      s.reference[b] = static_cast<float>(FIRST_ARRIVAL_FACTOR * e);
    }
  }
}

Vec3d mirrorInFace(const FaceRecord& face, const Vec3d& p) {
  const Vec3d n = face.normal();
  return p + n * (dot(face.p0() - p, n) / face.halfNormSq);
}

double axisValue(const Vec3d& v, int axis) { return axis == 0 ? v.x : (axis == 1 ? v.y : v.z); }

// Whether the path from the mirror image M to the loudspeaker surely meets
// the face's plane outside the face's box on its two projected axes (by more
// than a margin of 1e-6 of the coordinates' scale, which covers the rounding
// of this and the exact test). Such a face fails its own test, so it cannot
// reflect. Paths nearly parallel to the plane are left to the exact test.
bool surelyMisses(const FaceRecord& face, const Vec3d& m, const Vec3d& ps, double scale) {
  const Vec3d n = face.normal();
  const double dm = dot(n, m) + face.planeD;
  const double den = dm - (dot(n, ps) + face.planeD);
  if (!(den * den > 1e-12 * 2.0 * face.halfNormSq * scale * scale)) return false;
  const double margin = 1e-6 * scale;
  const Vec3d x = m + (ps - m) * (dm / den);
  for (int axis : projectedAxes(face.projAxis)) {
    const double v = axisValue(x, axis);
    if (v < face.boundsMin(axis) - margin || v > face.boundsMax(axis) + margin) return true;
  }
  return false;
}

double largestMagnitude(const Vec3d& v) {
  return std::max({std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
}

}  // namespace

PhaseRelation phaseRelationFromSetting(std::int16_t setting) {
  switch (setting) {
    case 1:
      return PhaseRelation::Energy;
    case 3:
      return PhaseRelation::SingleFrequency;
    default:
      return PhaseRelation::OctaveBandwidth;
  }
}

PointCalculation preparePointCalculation(const ActiveSpeakerTable& speakers, const FaceTable* faces,
                                         const FaceBvh* hierarchy,
                                         const ProjectMaterials& materials,
                                         std::int16_t includeRoom, PhaseRelation phase,
                                         FaceSearch search) {
  PointCalculation c;
  c.speakers = &speakers;
  c.faces = faces && !faces->empty() ? faces : nullptr;
  c.includeRoom = c.faces ? static_cast<std::int16_t>(includeRoom & 3) : std::int16_t{0};
  c.phase = phase;
  const bool hierarchyUsable = hierarchy && c.faces && hierarchy->faceCount() == c.faces->size();
  c.search = search == FaceSearch::Hierarchy && !hierarchyUsable ? FaceSearch::Plain : search;
  c.hierarchy = c.search == FaceSearch::Hierarchy ? hierarchy : nullptr;

  for (const ActiveSpeaker& s : speakers.entries)
    c.coordinateScale = std::max(c.coordinateScale, largestMagnitude(s.frame.position));
  if (!c.faces) return c;

  c.reflectance.resize(c.faces->size());
  for (std::size_t i = 0; i < c.faces->size(); ++i) {
    const FaceRecord& face = (*c.faces)[i];
    std::size_t m = face.materialNumber();
    if (m >= materials.count()) m = 0;
    for (int b = 0; b < BAND_COUNT; ++b) {
      const double alpha = m < materials.count() ? materials.slots[m].alpha[b] : 0.0;
      c.reflectance[i][b] = 1.0 - alpha;
    }
    for (float v : face.bounds)
      if (std::isfinite(v)) c.coordinateScale = std::max(c.coordinateScale, double{std::fabs(v)});
  }

  if (c.search == FaceSearch::Hierarchy && (c.includeRoom & INCLUDE_REFLECTION)) {
    c.images.reserve(speakers.size() * c.faces->size());
    for (const ActiveSpeaker& s : speakers.entries)
      for (const FaceRecord& face : c.faces->records)
        c.images.push_back(mirrorInFace(face, s.frame.position));
  }
  return c;
}

void computePoint(const PointCalculation& calc, const Vec3d& p, PointScratch& s) {
  beginPoint(s);
  const ActiveSpeakerTable& speakers = *calc.speakers;
  const bool shading = (calc.includeRoom & INCLUDE_SHADING) != 0;
  const bool reflection = (calc.includeRoom & INCLUDE_REFLECTION) != 0;
  const bool plain = calc.search != FaceSearch::Hierarchy;
  const bool ownFaceFirst = calc.search == FaceSearch::PlainFiltered;
  const std::size_t faceCount = calc.faces ? calc.faces->size() : 0;
  const double pointScale = calc.coordinateScale + largestMagnitude(p);

  for (std::size_t i = 0; i < speakers.size(); ++i) {
    const ActiveSpeaker& speaker = speakers[i];
    const Vec3d ps = speaker.frame.position;
    double limit = REFLECTION_LIMIT_NONE;
    if (shading) {
      const bool blocked = plain ? segmentBlockedPlain(*calc.faces, ps, p)
                                 : segmentBlocked(*calc.faces, *calc.hierarchy, ps, p);
      if (!blocked) {
        addArrival(speaker, p, nullptr, s);
        const Vec3d d = p - ps;
        limit = dot(d, d) + REFLECTION_LIMIT_EXTRA;
      }
    } else {
      addArrival(speaker, p, nullptr, s);
    }
    if (!reflection) continue;

    // The reflected path |Ps - M| equals |I - P| for the loudspeaker's image
    // I in the face's plane; the margin covers the rounding of both, so a
    // face skipped here is one the exact test below would skip too.
    const bool prefilter = !plain && limit < REFLECTION_LIMIT_NONE;
    const double margin = 1e-7 * (limit + pointScale * pointScale);
    const Vec3d* images = prefilter ? &calc.images[i * faceCount] : nullptr;
    for (std::uint32_t f = 0; f < faceCount; ++f) {
      if (prefilter) {
        const Vec3d ip = images[f] - p;
        if (dot(ip, ip) > limit + margin) continue;
      }
      const FaceRecord& face = (*calc.faces)[f];
      const Vec3d m = mirrorInFace(face, p);
      const Vec3d pm = ps - m;
      if (dot(pm, pm) > limit) continue;
      bool nearest;
      if (!plain)
        nearest = !surelyMisses(face, m, ps, pointScale) &&
                  isNearestCrossedFace(*calc.faces, *calc.hierarchy, f, m, ps);
      else if (ownFaceFirst && !segmentCrossing(face, makeFaceSegment(m, ps)))
        nearest = false;
      else
        nearest = nearestCrossedFacePlain(*calc.faces, m, ps) == f;
      if (nearest) addArrival(speaker, m, &calc.reflectance[f], s);
    }
  }
  for (int b = 0; b < BAND_COUNT; ++b) s.lists[b].sum = sumPhaseRelation(s.lists[b], calc.phase, b);
}

float sumPhaseRelation(const ContributionList& list, PhaseRelation phase, int band) {
  const double window = static_cast<double>(list.t0) + SUM_WINDOW_SECONDS;
  const std::size_t n = list.size();
  const double omega = BAND_OMEGA[static_cast<std::size_t>(std::clamp(band, 0, BAND_COUNT - 1))];
  double sum = 0;
  switch (phase) {
    case PhaseRelation::Energy: {
      double squares = 0;
      for (std::size_t i = 0; i < n; ++i) {
        if (!(list.time[i] < window)) continue;
        const double e = list.energy[i];
        squares += e * e;
      }
      sum = std::sqrt(squares);
      break;
    }
    case PhaseRelation::OctaveBandwidth:
      for (double factor : OCTAVE_FREQUENCY_FACTORS) {
        const double w = omega * factor;
        double c = 0, si = 0;
        for (std::size_t i = 0; i < n; ++i) {
          if (!(list.time[i] < window)) continue;
          const double a = OCTAVE_ARRIVAL_WEIGHT * list.energy[i];
          const double t = list.time[i];
          c += a * std::cos(w * t);
          si += a * std::sin(w * t);
        }
        sum += std::sqrt(c * c + si * si);
      }
      break;
    case PhaseRelation::SingleFrequency: {
      double c = 0, si = 0;
      for (std::size_t i = 0; i < n; ++i) {
        if (!(list.time[i] < window)) continue;
        const double e = list.energy[i];
        const double t = list.time[i];
        c += e * std::cos(omega * t);
        si += e * std::sin(omega * t);
      }
      sum = std::sqrt(c * c + si * si);
      break;
    }
  }
  return static_cast<float>(sum + 1.0);
}

}  // namespace tav
