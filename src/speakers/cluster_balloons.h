// Cluster balloons: the combined radiation of several placed loudspeakers,
// sampled on a sphere of 100 m around their common centre, turned into one
// new loudspeaker type ("CLUSTER" of "LS ARRAY") with a balloon, sensitivity,
// maximum power, directivity factor and efficiency per band. The balloon is
// taken in world axes, so the type placed at the centre with all angles 0
// radiates as the cluster did. The type is stored as a one-type database of
// the third layout whose shape is the member loudspeakers' drawings.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/message.h"
#include "model/octave_bands.h"
#include "model/vec3.h"
#include "speakers/speaker_type.h"

namespace tav {

class Project;
struct ModelObject;

inline constexpr const char* CLUSTER_TYPE_NAME = "CLUSTER";
inline constexpr const char* CLUSTER_BRAND = "LS ARRAY";
inline constexpr const char* PROMPT_CLUSTER_DESCRIPTION = "Cluster Description :";
constexpr int CLUSTER_DESCRIPTION_MAX = 40;

// Sphere points: 35 rings (polar angle 5..175 degrees from the world +x
// axis) of 72 points (azimuth 0..355 degrees), then the +x and -x points.
constexpr int CLUSTER_RINGS = 35;
constexpr int CLUSTER_COLUMNS = 72;
constexpr int CLUSTER_POINTS = CLUSTER_RINGS * CLUSTER_COLUMNS + 2;  // 2522
constexpr int CLUSTER_PLUS_X = CLUSTER_RINGS * CLUSTER_COLUMNS;      // index of the +x point
constexpr int CLUSTER_MINUS_X = CLUSTER_PLUS_X + 1;
constexpr double CLUSTER_RADIUS = 100.0;  // m
// The progress value grows by one every 26 points (97 at the end).
constexpr int CLUSTER_POINTS_PER_STEP = 26;
// A band takes part when its acoustic factor exceeds this (not 1000).
constexpr double CLUSTER_BAND_THRESHOLD = 1.0;

// The sphere points around a centre, in their order.
std::vector<Vec3d> clusterSpherePoints(const Vec3d& centre);

// Weight of the ring from 5i to 5(i + 1) degrees: cos 5i - cos 5(i + 1)
// (i = 0..35; they add up to 2).
double clusterRingWeight(int i);

// The directivity factor Q of a band's balloon from its codes: the energy
// of the rings from 5 degrees on, each ring taken as the mean of its row
// and its neighbour towards the equator, weighted by the ring's solid
// angle; at least 1.0.
double gridDirectivityFactor(const DirectivityGrid& grid);

// The loudspeakers of a cluster and what the calculation needs of them.
struct ClusterMembers {
  std::vector<const ModelObject*> objects;      // loudspeaker objects, in list order
  Vec3d centre;                                 // mean position, switched on or not
  std::array<double, BAND_COUNT> totalPower{};  // sum of their electrical powers (W)
};
// The selected loudspeaker objects of a project (OF_SELECTED).
ClusterMembers selectedClusterMembers(const Project& project);

// Called with the progress value (0..97) while the points are computed;
// returns true to cancel.
using ClusterProgress = std::function<bool(int value)>;

// The type of the members' combined radiation: the selected switched-on
// loudspeakers (bands active above |F| = 1.0) summed at every sphere point
// with the Octave Bandwidth phase relation, the room included as
// `includeRoom` says (shading and first reflections, as the last level
// calculation applied them). Nothing when cancelled. The points run in
// parallel; the result equals a serial run.
std::optional<SpeakerType> computeClusterBalloon(Project& project, const ClusterMembers& members,
                                                 std::int16_t includeRoom,
                                                 const ClusterProgress& progress = {});

// The type's fields from the sphere energies E (referred to 1 m, at least
// 1.0) of each band, CLUSTER_POINTS per band: the grids, Q, maximum power,
// sensitivity and efficiency; name, brand and the cluster mark.
SpeakerType clusterTypeFromEnergies(const std::vector<std::array<double, BAND_COUNT>>& energies,
                                    const std::array<double, BAND_COUNT>& totalPower);

// The shape data of the database record: one object record per member (its
// project-file head with the node count less the two direction nodes, data
// size 0, OF_SELECTED cleared, the next-object word 0 on the last), its nodes
// relative to the centre and its index entries.
std::vector<std::uint8_t> encodeClusterShape(const ClusterMembers& members);

// The whole one-type database file (".TSB", third layout).
std::vector<std::uint8_t> encodeClusterDatabase(const SpeakerType& type,
                                                const ClusterMembers& members);

}  // namespace tav
