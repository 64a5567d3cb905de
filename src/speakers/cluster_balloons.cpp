#include "speakers/cluster_balloons.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "mapping/active_speaker_table.h"
#include "mapping/level_time.h"
#include "mapping/point_calculation.h"
#include "model/le_io.h"
#include "model/project.h"
#include "reflections/face_bvh.h"
#include "reflections/face_table.h"
#include "speakers/directivity.h"
#include "speakers/speaker_database.h"

namespace tav {

namespace {

constexpr double DEGREE = 3.14159265358979323846 / 180.0;
constexpr double STEP_DEGREES = 5.0;
// E is referred to 1 m: the energy at 100 m times 100².
constexpr double ONE_METRE_FACTOR = CLUSTER_RADIUS * CLUSTER_RADIUS;
// Efficiency: the acoustic power of 1 W at the sensitivity, against 109 dB.
constexpr double EFFICIENCY_REFERENCE_DB = 109.0;
constexpr double U16_MAX = std::numeric_limits<std::uint16_t>::max();

std::uint16_t truncatedU16(double v) {
  if (!(v > 0.0)) return 0;
  return static_cast<std::uint16_t>(std::min(std::trunc(v), U16_MAX));
}

}  // namespace

std::vector<Vec3d> clusterSpherePoints(const Vec3d& centre) {
  std::vector<Vec3d> points;
  points.reserve(CLUSTER_POINTS);
  for (int ring = 1; ring <= CLUSTER_RINGS; ++ring) {
    const double theta = ring * STEP_DEGREES * DEGREE;
    const double axial = CLUSTER_RADIUS * std::cos(theta);
    const double radial = CLUSTER_RADIUS * std::fabs(std::sin(theta));
    for (int column = 0; column < CLUSTER_COLUMNS; ++column) {
      const double phi = column * STEP_DEGREES * DEGREE;
      points.push_back(centre + Vec3d{axial, radial * std::cos(phi), radial * std::sin(phi)});
    }
  }
  points.push_back(centre + Vec3d{CLUSTER_RADIUS, 0, 0});
  points.push_back(centre - Vec3d{CLUSTER_RADIUS, 0, 0});
  return points;
}

double clusterRingWeight(int i) {
  return std::cos(i * STEP_DEGREES * DEGREE) - std::cos((i + 1) * STEP_DEGREES * DEGREE);
}

double gridDirectivityFactor(const DirectivityGrid& grid) {
  const DirectivityEnergyTable& energy = DirectivityEnergyTable::instance();
  double acc = 0, wsum = 0;
  // The ring from 0 to 5 degrees takes no part.
  for (int i = 1; i <= CLUSTER_RINGS; ++i) {
    const double w = clusterRingWeight(i);
    const double a = w / CLUSTER_COLUMNS;
    wsum += w;
    const int neighbour = i >= 18 ? i + 1 : i - 1;
    for (int j = 0; j < CLUSTER_COLUMNS; ++j)
      acc += a * (energy[grid.at(i, j)] + energy[grid.at(neighbour, j)]);
  }
  acc /= 2.0;
  return std::max(1.0, wsum / (acc + 1e-12));
}

ClusterMembers selectedClusterMembers(const Project& project) {
  ClusterMembers m;
  Vec3d sum{0, 0, 0};
  for (const ModelObject& o : project.objects) {
    if (!o.isSelected()) continue;
    const std::optional<PlacedSpeaker> s = speakerOf(o);
    if (!s) continue;
    m.objects.push_back(&o);
    sum = sum + s->pos();
    for (int b = 0; b < BAND_COUNT; ++b) m.totalPower[b] += s->electricalPower[b];
  }
  if (!m.objects.empty()) m.centre = sum * (1.0 / static_cast<double>(m.objects.size()));
  return m;
}

std::optional<SpeakerType> computeClusterBalloon(Project& project, const ClusterMembers& members,
                                                 std::int16_t includeRoom,
                                                 const ClusterProgress& progress) {
  ActiveSpeakerRule rule;
  rule.bandThreshold = CLUSTER_BAND_THRESHOLD;
  rule.selectedOnly = true;
  const ActiveSpeakerTable speakers = buildActiveSpeakerTable(project, rule);
  FaceTable faces;
  FaceBvh hierarchy;
  if (includeRoom != 0) {
    const FaceTableBuild built = buildFaceTable(project, faces);
    if (built.count == 0)
      includeRoom = 0;
    else
      hierarchy.build(faces);
  }
  // Octave Bandwidth whatever the calculation options say.
  const PointCalculation calc = preparePointCalculation(
      speakers, &faces, &hierarchy, project.materials, includeRoom, PhaseRelation::OctaveBandwidth);

  std::vector<MapPoint> points(CLUSTER_POINTS);
  const std::vector<Vec3d> sphere = clusterSpherePoints(members.centre);
  for (int i = 0; i < CLUSTER_POINTS; ++i) {
    points[i].x = static_cast<float>(sphere[i].x);
    points[i].y = static_cast<float>(sphere[i].y);
    points[i].z = static_cast<float>(sphere[i].z);
  }
  CalculationProgress report;
  if (progress) {
    report = [&progress](double percent) {
      const double done = percent / 100.0 * CLUSTER_POINTS;
      return progress(static_cast<int>(done / CLUSTER_POINTS_PER_STEP));
    };
  }
  if (computeMapPoints(calc, points, report) == CalculationStatus::Cancelled) return std::nullopt;
  // The last step's update comes after the last point.
  if (progress && progress(CLUSTER_POINTS / CLUSTER_POINTS_PER_STEP)) return std::nullopt;

  std::vector<std::array<double, BAND_COUNT>> energies(CLUSTER_POINTS);
  for (int i = 0; i < CLUSTER_POINTS; ++i)
    for (int b = 0; b < BAND_COUNT; ++b)
      energies[i][b] = std::max(ONE_METRE_FACTOR * points[i].energy[b], 1.0);
  return clusterTypeFromEnergies(energies, members.totalPower);
}

SpeakerType clusterTypeFromEnergies(const std::vector<std::array<double, BAND_COUNT>>& energies,
                                    const std::array<double, BAND_COUNT>& totalPower) {
  SpeakerType t;
  setFixedString(t.brand, CLUSTER_BRAND);
  setFixedString(t.name, CLUSTER_TYPE_NAME);
  t.layoutFlag = SPEAKER_LAYOUT_CURRENT;
  t.clusterMark = 1;
  if (energies.size() < static_cast<std::size_t>(CLUSTER_POINTS)) return t;
  for (int b = 0; b < BAND_COUNT; ++b) {
    double emax = 1.0;
    for (const auto& e : energies) emax = std::max(emax, e[b]);
    // The air loss over the 100 m radius is taken out.
    const double air = std::pow(AIR_ATTENUATION[b], CLUSTER_RADIUS);
    const double ref = 10.0 * std::log10(emax / air);
    auto code = [&](int point) {
      return directivityCodeFromDb(10.0 * std::log10(energies[point][b] / air) - ref);
    };
    DirectivityGrid& grid = t.grids[b];
    for (int column = 0; column < CLUSTER_COLUMNS; ++column) {
      grid.at(0, column) = code(CLUSTER_PLUS_X);
      for (int ring = 1; ring <= CLUSTER_RINGS; ++ring)
        grid.at(ring, column) = code((ring - 1) * CLUSTER_COLUMNS + column);
      grid.at(DIRECTIVITY_ROWS - 1, column) = code(CLUSTER_MINUS_X);
    }
    t.directivityFactor[b] = truncatedU16(10.0 * gridDirectivityFactor(grid));
    t.maxPower[b] = static_cast<float>(totalPower[b]);
    const double sensitivity = ref - 10.0 * std::log10(std::max(totalPower[b], 1.0));
    t.sensitivity[b] = static_cast<float>(sensitivity);
    if (sensitivity > 0.0) {
      const double q = t.directivityFactor[b] / 10.0;
      t.efficiency[b] = truncatedU16(
          1000.0 *
          std::pow(10.0, (sensitivity - 10.0 * std::log10(q) - EFFICIENCY_REFERENCE_DB) / 10.0));
    }
  }
  return t;
}

std::vector<std::uint8_t> encodeClusterShape(const ClusterMembers& members) {
  LeWriter out;
  for (std::size_t k = 0; k < members.objects.size(); ++k) {
    const ModelObject& o = *members.objects[k];
    const bool last = k + 1 == members.objects.size();
    // The two direction nodes at the end are left out.
    const std::size_t nodeCount = o.nodes.size() >= 2 ? o.nodes.size() - 2 : 0;
    out.u32(0);
    out.u32(last ? 0 : 1);
    out.zeros(12);
    out.u32(o.shape);
    out.u32(o.flags & ~OF_SELECTED);
    out.u32(o.colour);
    out.u32(o.layer);
    out.u32(static_cast<std::uint32_t>(nodeCount));
    out.u32(o.indexCount());
    out.u32(0);  // no data block
    for (std::size_t i = 0; i < nodeCount; ++i) {
      out.f32(static_cast<float>(o.nodes[i].x - members.centre.x));
      out.f32(static_cast<float>(o.nodes[i].y - members.centre.y));
      out.f32(static_cast<float>(o.nodes[i].z - members.centre.z));
    }
    for (const IndexEntry& e : o.indices) {
      out.u16(e.code);
      out.u16(e.ref);
    }
  }
  return std::move(out.buffer());
}

std::vector<std::uint8_t> encodeClusterDatabase(const SpeakerType& type,
                                                const ClusterMembers& members) {
  DatabaseTypeSource source;
  source.type = type;
  source.shapeData = encodeClusterShape(members);
  return encodeSpeakerDatabase({source});
}

}  // namespace tav
