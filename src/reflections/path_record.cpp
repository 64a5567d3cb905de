#include "reflections/path_record.h"

namespace tav {

void appendPathRecord(std::vector<std::uint8_t>& out, const std::array<float, 3>& target,
                      std::span<const PathEntry> entries) {
  const std::size_t at = out.size();
  out.resize(at + pathRecordSize(entries.size() - 2));
  std::uint8_t* p = out.data() + at;
  storeU16(p, static_cast<std::uint16_t>(entries.size() - 2));
  p += 2;
  for (float c : target) {
    storeF32(p, c);
    p += 4;
  }
  for (const PathEntry& e : entries) {
    storeU16(p, static_cast<std::uint16_t>(e.id));
    p += 2;
    for (float c : e.point) {
      storeF32(p, c);
      p += 4;
    }
  }
}

std::optional<PathRecord> readPathRecord(LeReader& in) {
  if (in.atEnd() || in.failed()) return std::nullopt;
  const std::uint16_t n = in.u16();
  if (n > MAX_PATH_REFLECTIONS || !in.has(pathRecordSize(n) - 2)) {
    in.fail();
    return std::nullopt;
  }
  PathRecord r;
  for (float& c : r.target) c = in.f32();
  r.entries.resize(n + 2u);
  for (PathEntry& e : r.entries) {
    e.id = in.i16();
    for (float& c : e.point) c = in.f32();
  }
  return r;
}

}  // namespace tav
