// Reverberation time per octave band from the room faces and their
// materials: Sabine, Eyring, Fitzroy, or derived from measured values; and
// the check of how well the room's faces close.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/octave_bands.h"
#include "model/vec3.h"

namespace tav {

class ObjectList;
class Project;
struct ProjectMaterials;

using BandValues = std::array<double, BAND_COUNT>;
// Per band: a value, or nothing when the band has no finite value (no
// absorption at all, or a formula whose denominator is not positive).
using OptionalBands = std::array<std::optional<double>, BAND_COUNT>;

// Air absorption constant m per band (1/m), 125 Hz first.
constexpr BandValues AIR_ABSORPTION = {0.0, 0.00003, 0.0001, 0.0005, 0.002, 0.009, 0.035};
constexpr BandValues NO_AIR_ABSORPTION = {};

// Below this volume (m³) there is no room: every reverberation time is 0.
constexpr double MIN_ROOM_VOLUME = 0.1;
// Measured times below this (s) make the band absorb the whole surface.
constexpr double MIN_MEASURED_RT = 0.1;
// A room counts as closed when the total area error is at most this share of S.
constexpr double AREA_ERROR_TOLERANCE = 0.005;

inline constexpr const char* MSG_IMPOSSIBLE_INPUT = "Impossible input values";
inline constexpr const char* CAPTION_PLEASE_CORRECT = "Please correct";

// How well the faces close: signed sums of the halved area vectors and the
// areas projected onto the three planes (m²).
struct AreaClosure {
  Vec3d signedSum;       // ΣNx, ΣNy, ΣNz
  double areaXY = 0;     // Σ|Nz|
  double areaYZ = 0;     // Σ|Nx|
  double areaXZ = 0;     // Σ|Ny|
  float totalError = 0;  // |signedSum|
};

// The sums over the room faces all methods start from.
struct RoomAccumulation {
  std::size_t faceCount = 0;
  double volume = 0;              // V, m³; positive when the faces point into the room
  double surface = 0;             // S, m²
  BandValues absorption{};        // A per band, m² (Sabines), without air
  double sx = 0, sy = 0, sz = 0;  // Σ|Nx|, Σ|Ny|, Σ|Nz|
  BandValues ax{}, ay{}, az{};    // Σ α·|Nx| etc.
  AreaClosure closure;
};

// Walks every face of the layer-0 objects with faces. A face's coefficients
// are those of its material; a number not below the material count counts as
// material 0 (no material at all gives 0).
RoomAccumulation accumulateRoom(const ObjectList& objects, const ProjectMaterials& materials);
AreaClosure areaClosureCheck(const ObjectList& objects);

// The formulas, per band, with the air constants `m` (AIR_ABSORPTION, or
// NO_AIR_ABSORPTION for the curve without air absorption).
OptionalBands rt60Sabine(const RoomAccumulation& room, const BandValues& m);
OptionalBands rt60Eyring(const RoomAccumulation& room, const BandValues& m);
OptionalBands rt60Fitzroy(const RoomAccumulation& room, const BandValues& m);

// The project's reverberation methods (the project setting's values).
enum class ReverbMethod : std::int8_t { Sabine = 0, Eyring = 1, Fitzroy = 2, Measurement = 3 };
// Out-of-range settings count as Sabine.
ReverbMethod reverbMethodFromSetting(std::int8_t setting);
const char* reverbMethodName(ReverbMethod method);   // "Sabine", ...
const char* reverbMethodTitle(ReverbMethod method);  // "RT60 >Sabine<", ...

struct ReverbResult {
  ReverbMethod method = ReverbMethod::Sabine;
  double volume = 0;
  double surface = 0;
  // A per band: for Sabine, Eyring and Fitzroy the faces' absorption (without
  // air); for Measurement the absorption derived from the measured times.
  BandValues absorption{};
  OptionalBands rt60{};       // with air absorption, s
  OptionalBands rt60NoAir{};  // without air absorption, s
  // The absorption columns of the window: without and with air absorption
  // (Sabine/Eyring/Fitzroy: A and A + 4mV; Measurement: A - 4mV and A).
  BandValues absorptionNoAir{};
  BandValues absorptionWithAir{};
  // Measurement only: a band whose time without air absorption comes out
  // not positive ("Impossible input values" / "Please correct").
  bool impossibleInput = false;
  AreaClosure closure;

  // 100 · absorption / S (0 when S is 0).
  double sharePercent(double absorption) const;
};

// The whole computation for the RT60 window and the command line: the
// method's formula with and without air absorption; Measurement derives A
// from `measured` (seconds, 125 Hz first) and the times without air from A.
ReverbResult computeReverberation(const ObjectList& objects, const ProjectMaterials& materials,
                                  ReverbMethod method, const std::array<float, 7>& measured);
// With the project's materials, measured times and, unless given, its method.
ReverbResult computeReverberation(const Project& project,
                                  std::optional<ReverbMethod> method = std::nullopt);

// The whole seconds of the graph's scale: the smallest whole number not below
// the largest finite time of both curves, at least 1 and at most `limit`; a
// band without a finite time reaches the limit.
int rt60ScaleSeconds(const ReverbResult& result, int limit = 20);

// Lines of the window below the table (UTF-8): "V total : ..." and
// "S total : ..." in metres or feet.
std::string volumeLine(double volume, bool feet);
std::string surfaceLine(double surface, bool feet);
// The area-error lines: none while the total error is at most 0.5 % of S;
// else "Total Area Error : ..." and a line for each plane (XY, YZ, XZ) whose
// area is below 0.01 or whose signed sum exceeds 0.01 in magnitude.
std::vector<std::string> areaErrorLines(const AreaClosure& closure, double surface, bool feet);

}  // namespace tav
