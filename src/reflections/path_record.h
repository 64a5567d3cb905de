// One reflection path as the search streams it to the work file: the number
// of reflections n, the target, and n + 2 entries (source, reflections,
// target), each a point id and a point. Little-endian, packed:
//   u16 n; f32 target[3]; then n + 2 times { i16 id; f32 x, y, z; }
// (n + 2) · 14 + 14 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "model/le_io.h"
#include "model/vec3.h"

namespace tav {

// Point ids of the first and last entry of a path.
constexpr std::int16_t PATH_ID_SOURCE = -2;
constexpr std::int16_t PATH_ID_TARGET = -1;
// A path holds at most 93 entries: 91 reflections between source and target.
constexpr int MAX_PATH_ENTRIES = 93;
constexpr int MAX_PATH_REFLECTIONS = MAX_PATH_ENTRIES - 2;
constexpr std::size_t PATH_ENTRY_BYTES = 14;

constexpr std::size_t pathRecordSize(std::size_t reflections) {
  return (reflections + 2) * PATH_ENTRY_BYTES + PATH_ENTRY_BYTES;
}

struct PathEntry {
  std::int16_t id = 0;
  std::array<float, 3> point{};
};

struct PathRecord {
  std::array<float, 3> target{};
  std::vector<PathEntry> entries;  // n + 2: source, reflections, target
  std::size_t reflections() const { return entries.size() - 2; }
};

// Appends the record of `entries` (n + 2 of them, 2 <= size <= 93).
void appendPathRecord(std::vector<std::uint8_t>& out, const std::array<float, 3>& target,
                      std::span<const PathEntry> entries);

// Reads the next record. Nothing at the end of the data; nothing and the
// reader failed when a record is cut short or claims more than 91
// reflections.
std::optional<PathRecord> readPathRecord(LeReader& in);

inline std::array<float, 3> toFloat3(const Vec3d& v) {
  return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}
inline Vec3d toVec(const std::array<float, 3>& p) { return {p[0], p[1], p[2]}; }

}  // namespace tav
