#include "materials/reverberation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "materials/absorber_material.h"
#include "model/number_text.h"
#include "model/object_list.h"
#include "model/project.h"
#include "model/units.h"

namespace tav {

namespace {

// Sabine's constant, s/m.
constexpr double SABINE = 0.161;
// 1 + 1e-12 keeps Eyring's logarithm finite when A equals S.
constexpr double EYRING_ONE = 1.000000000001;
constexpr double FITZROY_EPS = 1e-12;

// time = 0.161 V / denominator, or nothing when that has no finite positive
// meaning (no absorption, or a denominator that is not positive).
std::optional<double> reverbTime(double volume, double denominator) {
  if (!(denominator > 0)) return std::nullopt;
  const double t = SABINE * volume / denominator;
  if (!std::isfinite(t)) return std::nullopt;
  return t;
}

const BandValues& coefficientsOf(const ProjectMaterials& materials, std::uint16_t number,
                                 BandValues& scratch) {
  scratch = {};
  if (materials.count() == 0) return scratch;
  const AbsorberMaterial& m = materials.slots[number < materials.count() ? number : 0];
  for (int b = 0; b < BAND_COUNT; ++b) scratch[b] = m.alpha[b];
  return scratch;
}

// The node of a face's start entry (the first valid one when it is damaged).
Vec3d startNode(const ModelObject& o, std::size_t start) {
  for (std::size_t i = start; i < o.indices.size(); ++i) {
    const IndexEntry& e = o.indices[i];
    if (e.code == IDX_MATERIAL) continue;
    if (e.code == IDX_START && i != start) break;
    if (e.ref < o.nodes.size()) return toVec(o.nodes[e.ref]);
    if (e.code == IDX_CLOSE) break;
  }
  return {};
}

std::string format(const char* fmt, double a) { return formatNumber(fmt, a); }
std::string format(const char* fmt, double a, double b) { return formatNumbers(fmt, {a, b}); }

}  // namespace

RoomAccumulation accumulateRoom(const ObjectList& objects, const ProjectMaterials& materials) {
  RoomAccumulation r;
  BandValues alpha;
  for (const ModelObject& o : objects) {
    if (o.layer != LAYER_ROOM || !o.hasFaces()) continue;
    for (std::size_t start : faceStarts(o)) {
      const Vec3d n = faceAreaVector(o, start) * 0.5;
      const double area = length(n);
      const std::uint16_t material =
          start + 1 < o.indices.size() && o.indices[start + 1].code == IDX_MATERIAL
              ? o.indices[start + 1].ref
              : 0;
      coefficientsOf(materials, material, alpha);
      ++r.faceCount;
      r.volume += -dot(startNode(o, start), n) / 3.0;
      r.surface += area;
      const double nx = std::fabs(n.x), ny = std::fabs(n.y), nz = std::fabs(n.z);
      r.sx += nx;
      r.sy += ny;
      r.sz += nz;
      for (int b = 0; b < BAND_COUNT; ++b) {
        r.absorption[b] += alpha[b] * area;
        r.ax[b] += alpha[b] * nx;
        r.ay[b] += alpha[b] * ny;
        r.az[b] += alpha[b] * nz;
      }
      r.closure.signedSum += n;
    }
  }
  r.closure.areaYZ = r.sx;
  r.closure.areaXZ = r.sy;
  r.closure.areaXY = r.sz;
  r.closure.totalError = static_cast<float>(length(r.closure.signedSum));
  return r;
}

AreaClosure areaClosureCheck(const ObjectList& objects) {
  return accumulateRoom(objects, ProjectMaterials{}).closure;
}

OptionalBands rt60Sabine(const RoomAccumulation& room, const BandValues& m) {
  OptionalBands rt{};
  for (int b = 0; b < BAND_COUNT; ++b) {
    if (room.volume < MIN_ROOM_VOLUME)
      rt[b] = 0.0;
    else
      rt[b] = reverbTime(room.volume, room.absorption[b] + 4 * m[b] * room.volume);
  }
  return rt;
}

OptionalBands rt60Eyring(const RoomAccumulation& room, const BandValues& m) {
  OptionalBands rt{};
  for (int b = 0; b < BAND_COUNT; ++b) {
    if (room.volume < MIN_ROOM_VOLUME) {
      rt[b] = 0.0;
      continue;
    }
    const double e = -std::log(EYRING_ONE - room.absorption[b] / room.surface);
    // Without any absorption E is -1e-12: the denominator is then only
    // positive through the air, otherwise the band has no finite time.
    rt[b] = reverbTime(room.volume, e * room.surface + 4 * m[b] * room.volume);
  }
  return rt;
}

OptionalBands rt60Fitzroy(const RoomAccumulation& room, const BandValues& m) {
  OptionalBands rt{};
  const double s = room.surface;
  for (int b = 0; b < BAND_COUNT; ++b) {
    const double alphaZ = room.az[b] / (room.sz + FITZROY_EPS) + FITZROY_EPS;
    const double alphaX = room.ax[b] / (room.sx + FITZROY_EPS) + FITZROY_EPS;
    const double alphaY = room.ay[b] / (room.sy + FITZROY_EPS) + FITZROY_EPS;
    if (room.volume < MIN_ROOM_VOLUME) {
      rt[b] = 0.0;
      continue;
    }
    const double air = 4 * m[b] * room.volume;
    const auto tz = reverbTime(room.volume, s * alphaZ + air);
    const auto tx = reverbTime(room.volume, s * alphaX + air);
    const auto ty = reverbTime(room.volume, s * alphaY + air);
    if (!tz || !tx || !ty) continue;
    const double t = (room.sz / s) * *tz + (room.sx / s) * *tx + (room.sy / s) * *ty;
    if (std::isfinite(t)) rt[b] = t;
  }
  return rt;
}

ReverbMethod reverbMethodFromSetting(std::int8_t setting) {
  switch (setting) {
    case RT_EYRING:
      return ReverbMethod::Eyring;
    case RT_FITZROY:
      return ReverbMethod::Fitzroy;
    case RT_MEASUREMENT:
      return ReverbMethod::Measurement;
    default:
      return ReverbMethod::Sabine;
  }
}

const char* reverbMethodName(ReverbMethod method) {
  switch (method) {
    case ReverbMethod::Eyring:
      return "Eyring";
    case ReverbMethod::Fitzroy:
      return "Fitzroy";
    case ReverbMethod::Measurement:
      return "Measurement";
    default:
      return "Sabine";
  }
}

const char* reverbMethodTitle(ReverbMethod method) {
  switch (method) {
    case ReverbMethod::Eyring:
      return "RT60 >Eyring<";
    case ReverbMethod::Fitzroy:
      return "RT60 >Fitzroy<";
    case ReverbMethod::Measurement:
      return "RT60 >Measurement<";
    default:
      return "RT60 >Sabine<";
  }
}

double ReverbResult::sharePercent(double a) const { return surface > 0 ? 100.0 * a / surface : 0; }

ReverbResult computeReverberation(const ObjectList& objects, const ProjectMaterials& materials,
                                  ReverbMethod method, const std::array<float, 7>& measured) {
  const RoomAccumulation room = accumulateRoom(objects, materials);
  ReverbResult r;
  r.method = method;
  r.volume = room.volume;
  r.surface = room.surface;
  r.closure = room.closure;
  r.absorption = room.absorption;
  switch (method) {
    case ReverbMethod::Sabine:
      r.rt60NoAir = rt60Sabine(room, NO_AIR_ABSORPTION);
      r.rt60 = rt60Sabine(room, AIR_ABSORPTION);
      break;
    case ReverbMethod::Eyring:
      r.rt60NoAir = rt60Eyring(room, NO_AIR_ABSORPTION);
      r.rt60 = rt60Eyring(room, AIR_ABSORPTION);
      break;
    case ReverbMethod::Fitzroy:
      r.rt60NoAir = rt60Fitzroy(room, NO_AIR_ABSORPTION);
      r.rt60 = rt60Fitzroy(room, AIR_ABSORPTION);
      break;
    case ReverbMethod::Measurement:
      for (int b = 0; b < BAND_COUNT; ++b) {
        const double t = std::fabs(static_cast<double>(measured[b]));
        r.rt60[b] = t;
        r.absorption[b] =
            t < MIN_MEASURED_RT ? room.surface : std::min(SABINE * room.volume / t, room.surface);
        // The part the air takes, at most A / 0.99.
        double x = 4 * AIR_ABSORPTION[b] * room.volume;
        if (r.absorption[b] / 0.99 < x) x = r.absorption[b] / 0.99;
        if (room.volume < MIN_ROOM_VOLUME) {
          r.rt60NoAir[b] = 0.0;
          r.impossibleInput = true;
          continue;
        }
        const double rest = r.absorption[b] - x;
        if (rest < 0) {
          r.impossibleInput = true;  // a negative time: the band stays without value
          continue;
        }
        r.rt60NoAir[b] = reverbTime(room.volume, rest);
      }
      break;
  }
  for (int b = 0; b < BAND_COUNT; ++b) {
    const double air = 4 * AIR_ABSORPTION[b] * room.volume;
    if (method == ReverbMethod::Measurement) {
      r.absorptionNoAir[b] = r.absorption[b] - air;
      r.absorptionWithAir[b] = r.absorption[b];
    } else {
      r.absorptionNoAir[b] = r.absorption[b];
      r.absorptionWithAir[b] = r.absorption[b] + air;
    }
  }
  return r;
}

ReverbResult computeReverberation(const Project& project, std::optional<ReverbMethod> method) {
  return computeReverberation(project.objects, project.materials,
                              method.value_or(reverbMethodFromSetting(project.settings.rtMethod)),
                              project.settings.measuredRT);
}

int rt60ScaleSeconds(const ReverbResult& result, int limit) {
  limit = std::max(limit, 1);
  double top = 0;
  for (const OptionalBands* curve : {&result.rt60, &result.rt60NoAir})
    for (const auto& t : *curve) top = std::max(top, t ? *t : static_cast<double>(limit));
  const double n = std::ceil(top);
  return static_cast<int>(std::clamp(n, 1.0, static_cast<double>(limit)));
}

std::string volumeLine(double volume, bool feet) {
  return feet ? format("V total : %6.1lf cu.ft", volume * CUFT_PER_CUM)
              : format("V total : %6.1lf cbm", volume);
}

std::string surfaceLine(double surface, bool feet) {
  return feet ? format("S total : %6.1lf ft\u00B2", surface * SQFT_PER_SQM)
              : format("S total : %6.1lf m\u00B2", surface);
}

std::vector<std::string> areaErrorLines(const AreaClosure& closure, double surface, bool feet) {
  std::vector<std::string> lines;
  if (!(closure.totalError > AREA_ERROR_TOLERANCE * surface) || !(surface > 0)) return lines;
  const double k = feet ? SQFT_PER_SQM : 1.0;
  lines.push_back(
      format(feet ? "Total Area Error : %6.2f ft\u00B2" : "Total Area Error : %6.2f m\u00B2",
             closure.totalError * k));
  struct Plane {
    const char* metric;
    const char* imperial;
    double area;
    double sum;
  };
  const Plane planes[3] = {
      {"XY Area : %6.2f m\u00B2, XY Error : %6.2f m\u00B2 ",
       "XY Area : %6.2f ft\u00B2, XY Error : %6.2f ft\u00B2 ", closure.areaXY, closure.signedSum.z},
      {"YZ Area : %6.2f m\u00B2, YZ Error : %6.2f m\u00B2 ",
       "YZ Area : %6.2f ft\u00B2, YZ Error : %6.2f ft\u00B2 ", closure.areaYZ, closure.signedSum.x},
      {"XZ Area : %6.2f m\u00B2, XZ Error : %6.2f m\u00B2 ",
       "XZ Area : %6.2f ft\u00B2, XZ Error : %6.2f ft\u00B2 ", closure.areaXZ, closure.signedSum.y},
  };
  for (const Plane& p : planes)
    if (p.area < 0.01 || std::fabs(p.sum) > 0.01)
      lines.push_back(format(feet ? p.imperial : p.metric, p.area * k, std::fabs(p.sum) * k));
  return lines;
}

}  // namespace tav
