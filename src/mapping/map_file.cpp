#include "mapping/map_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "model/file_extension.h"
#include "model/save_file.h"

namespace tav {

namespace {

// Levels are truncated to 0.1 dB; this much (in 0.1 dB) absorbs the float
// rounding of a level read back, which may land a hair below its step.
constexpr double LEVEL_ROUNDING_GUARD = 1e-4;

void writeHeader(LeWriter& w, std::string_view description) {
  std::uint8_t header[MAP_FILE_HEADER_SIZE] = {};
  std::memcpy(header, MAP_FILE_MAGIC, std::strlen(MAP_FILE_MAGIC));
  const std::string field = mapDescriptionField(description);
  std::memcpy(header + MAP_DESCRIPTION_OFFSET, field.data(), field.size());
  w.bytes(header, sizeof header);
}

void writeFloats(LeWriter& w, const BandFloats& v) {
  for (float f : v) w.f32(f);
}

void readFloats(LeReader& r, BandFloats& v) {
  for (float& f : v) f = r.f32();
}

}  // namespace

std::int16_t storedLevel(float energy) {
  const double e = energy >= 1.0f ? energy : 1.0;  // also NaN
  const double l = std::trunc(100.0 * std::log10(e) + LEVEL_ROUNDING_GUARD);
  return static_cast<std::int16_t>(std::min(l, static_cast<double>(MAP_STORED_TIME_MAX)));
}

std::int16_t storedTime(float t0Ms) {
  if (!(t0Ms < MAP_STORED_TIME_MAX)) return MAP_STORED_TIME_MAX;  // also NaN
  if (t0Ms <= -32768.0f) return -32768;
  return static_cast<std::int16_t>(std::trunc(t0Ms));
}

std::string mapDescriptionField(std::string_view description) {
  std::string field(description.substr(0, MAP_DESCRIPTION_MAX));
  const std::size_t nul = field.find('\0');
  if (nul != std::string::npos) field.resize(nul);
  return field;
}

void writeMapBody(LeWriter& w, const LevelMap& map, std::string_view description) {
  writeHeader(w, description);
  const std::size_t areaCount = std::min(map.areas.size(), MAX_AUDIENCE_AREAS);
  w.i16(static_cast<std::int16_t>(areaCount));
  w.i16(map.phaseRelation);
  w.f32(map.halfGrid);
  for (std::uint16_t c : map.bandCounts) w.u16(c);
  for (std::size_t i = 0; i < areaCount; ++i) {
    const AudienceAreaEntry& a = map.areas[i];
    w.u32(a.reference);
    for (float f : {a.nx, a.ny, a.nz, a.d, a.xmin, a.xmax, a.ymin, a.ymax, a.zmax}) w.f32(f);
  }

  // The map header: the last two bytes of tmax (8000 Hz) are not stored.
  const std::size_t pointCount = std::min(map.points.size(), MAX_MAP_POINTS);
  w.u32(static_cast<std::uint32_t>(pointCount));
  writeFloats(w, map.bounds.emin);
  writeFloats(w, map.bounds.emax);
  writeFloats(w, map.bounds.tmin);
  LeWriter tmax;
  writeFloats(tmax, map.bounds.tmax);
  w.bytes(tmax.buffer().data(), MAP_STORED_HEADER_SIZE - 4 - 3 * 4 * BAND_COUNT);

  for (std::size_t i = 0; i < pointCount; ++i) {
    const MapPoint& p = map.points[i];
    w.f32(p.x);
    w.f32(p.y);
    w.f32(p.z);
    for (float e : p.energy) w.i16(storedLevel(e));
    for (float t : p.t0) w.i16(storedTime(t));
    w.u16(p.area);
  }
  std::vector<std::uint16_t> singles;
  for (std::uint16_t s : map.singlePoints)
    if (s < pointCount && singles.size() < MAX_SINGLE_POINTS) singles.push_back(s);
  if (!singles.empty()) {
    w.u32(static_cast<std::uint32_t>(singles.size()));
    for (std::uint16_t s : singles) w.u16(s);
  }
}

std::vector<std::uint8_t> mapFileBytes(const LevelMap& map, std::string_view description) {
  LeWriter w;
  w.reserve(MAP_FILE_HEADER_SIZE + 256 + map.points.size() * MAP_POINT_RECORD_SIZE);
  writeMapBody(w, map, description);
  return std::move(w.buffer());
}

std::optional<std::string> readMapHeader(std::span<const std::uint8_t> bytes) {
  const std::size_t magic = std::strlen(MAP_FILE_MAGIC);
  if (bytes.size() < MAP_FILE_HEADER_SIZE || std::memcmp(bytes.data(), MAP_FILE_MAGIC, magic) != 0)
    return std::nullopt;
  const char* text = reinterpret_cast<const char*>(bytes.data() + MAP_DESCRIPTION_OFFSET);
  return std::string(text, strnlen(text, MAP_DESCRIPTION_MAX));
}

bool readMapBody(LeReader& r, LevelMap& map, MapBounds* stored) {
  map = LevelMap{};
  const std::int16_t areaCount = r.i16();
  map.phaseRelation = r.i16();
  map.halfGrid = r.f32();
  for (std::uint16_t& c : map.bandCounts) c = r.u16();
  if (r.failed() || areaCount < 0 ||
      !r.has(static_cast<std::size_t>(areaCount) * MAP_AREA_ENTRY_SIZE))
    return false;
  map.areas.resize(static_cast<std::size_t>(areaCount));
  for (AudienceAreaEntry& a : map.areas) {
    a.reference = r.u32();
    for (float* f : {&a.nx, &a.ny, &a.nz, &a.d, &a.xmin, &a.xmax, &a.ymin, &a.ymax, &a.zmax})
      *f = r.f32();
  }

  // The stored bounds are read but not used: tmax lacks its last two bytes,
  // so the map's bounds are recomputed from the points.
  const std::uint32_t pointCount = r.u32();
  MapBounds file;
  readFloats(r, file.emin);
  readFloats(r, file.emax);
  readFloats(r, file.tmin);
  for (int b = 0; b < BAND_COUNT - 1; ++b) file.tmax[b] = r.f32();
  // Only the low half of the last float is stored.
  const std::uint32_t lowHalf = r.u16();
  file.tmax[BAND_COUNT - 1] = std::bit_cast<float>(lowHalf);
  if (r.failed()) return false;
  if (stored) *stored = file;
  if (pointCount > MAX_MAP_POINTS || !r.has(std::size_t{pointCount} * MAP_POINT_RECORD_SIZE))
    return false;
  map.points.resize(pointCount);
  for (MapPoint& p : map.points) {
    p.x = r.f32();
    p.y = r.f32();
    p.z = r.f32();
    // A band energy is never below 1.0: a negative level reads as 0 dB.
    for (float& e : p.energy)
      e = static_cast<float>(std::pow(10.0, std::max<int>(r.i16(), 0) / 100.0));
    for (float& t : p.t0) t = r.i16();
    p.area = r.u16();
    if (p.area >= map.areas.size()) return false;
  }
  if (r.failed()) return false;

  // Single points: present when their count can be read; a list that is
  // cut short, too long or names points that do not exist is left out.
  if (r.has(4)) {
    const std::uint32_t n = r.u32();
    if (n <= MAX_SINGLE_POINTS && r.has(2 * std::size_t{n})) {
      std::vector<std::uint16_t> singles(n);
      bool valid = true;
      for (std::uint16_t& s : singles) {
        s = r.u16();
        valid = valid && s < pointCount;
      }
      if (valid) map.singlePoints = std::move(singles);
    }
  }
  map.bounds = boundsFromPoints(map.points);
  return true;
}

MapFileRead readMapBytes(std::span<const std::uint8_t> bytes) {
  MapFileRead result;
  const auto description = readMapHeader(bytes);
  if (!description) {
    result.error.text = MSG_NOT_A_MAP_FILE;
    return result;
  }
  result.description = *description;
  LeReader r(bytes);
  r.skip(MAP_FILE_HEADER_SIZE);
  if (!readMapBody(r, result.map, &result.storedBounds)) {
    result.map = LevelMap{};
    result.error.text = MSG_ERROR_READING_DATA;
  }
  return result;
}

void writeMapBlock(LeWriter& w, const LevelMap& map, std::string_view description,
                   std::span<const std::uint8_t> stored) {
  if (!stored.empty()) {
    const MapFileRead read = readMapBytes(stored);
    if (read.ok() && read.map == map && read.description == mapDescriptionField(description)) {
      w.bytes(stored.data(), stored.size());
      return;
    }
  }
  writeMapBody(w, map, description);
}

std::string mapSavePath(const std::string& chosen) {
  return withFileExtension(chosen, MAP_FILE_EXTENSION);
}

UserMessage saveMapFile(const std::string& path, const LevelMap& map,
                        std::string_view description) {
  if (!saveFileAtomically(path, mapFileBytes(map, description))) return {MSG_CANT_WRITE_MAP, {}};
  return {};
}

}  // namespace tav
