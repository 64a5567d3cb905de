#include "speakers/speaker_type.h"

#include <algorithm>
#include <cstring>

#include "model/le_io.h"

namespace tav {

namespace {

// Byte offsets of the 19 160-byte record.
constexpr std::size_t OFS_BRAND = 0;
constexpr std::size_t OFS_NAME = 21;
constexpr std::size_t OFS_DESCRIPTION = 30;
constexpr std::size_t OFS_LAYOUT_FLAG = 71;
constexpr std::size_t OFS_CLUSTER_MARK = 72;
constexpr std::size_t OFS_RESERVED74 = 74;
constexpr std::size_t OFS_SENSITIVITY = 76;
constexpr std::size_t OFS_MAX_POWER = 104;
constexpr std::size_t OFS_RESERVED132 = 132;
constexpr std::size_t OFS_Q = 146;
constexpr std::size_t OFS_EFFICIENCY = 160;
constexpr std::size_t OFS_RESERVED174 = 174;
constexpr std::size_t OFS_POINTERS = 188;  // two run-time pointers, 8 bytes
constexpr std::size_t OFS_SHAPE_REFERENCE = 196;
constexpr std::size_t OFS_RESERVED200 = 200;
constexpr std::size_t OFS_CHECKSUM = 454;
constexpr std::size_t OFS_TAIL_CHECK = 458;
constexpr std::size_t OFS_TAIL = 462;
constexpr std::size_t OFS_GRIDS = SPEAKER_HEAD_SIZE;  // 512

constexpr char CONVERSION_MARK[16] = "TAVIRON V2.80  ";

template <std::size_t N>
void putBytes(std::uint8_t* out, std::size_t at, const void* src) {
  std::memcpy(out + at, src, N);
}
template <std::size_t N>
void getBytes(const std::uint8_t* in, std::size_t at, void* dst) {
  std::memcpy(dst, in + at, N);
}

}  // namespace

void encodeSpeakerType(const SpeakerType& t, std::span<std::uint8_t, SPEAKER_TYPE_SIZE> out) {
  std::uint8_t* p = out.data();
  std::memset(p, 0, SPEAKER_TYPE_SIZE);
  putBytes<sizeof t.brand>(p, OFS_BRAND, t.brand);
  putBytes<sizeof t.name>(p, OFS_NAME, t.name);
  putBytes<sizeof t.description>(p, OFS_DESCRIPTION, t.description);
  p[OFS_LAYOUT_FLAG] = t.layoutFlag;
  storeU16(p + OFS_CLUSTER_MARK, t.clusterMark);
  putBytes<sizeof t.reserved74>(p, OFS_RESERVED74, t.reserved74);
  for (int b = 0; b < BAND_COUNT; ++b) {
    storeF32(p + OFS_SENSITIVITY + 4 * b, t.sensitivity[b]);
    storeF32(p + OFS_MAX_POWER + 4 * b, t.maxPower[b]);
    storeU16(p + OFS_Q + 2 * b, t.directivityFactor[b]);
    storeU16(p + OFS_EFFICIENCY + 2 * b, t.efficiency[b]);
  }
  putBytes<sizeof t.reserved132>(p, OFS_RESERVED132, t.reserved132);
  putBytes<sizeof t.reserved174>(p, OFS_RESERVED174, t.reserved174);
  // 188..195: run-time pointers, meaningless in files, left zero.
  storeU32(p + OFS_SHAPE_REFERENCE, static_cast<std::uint32_t>(t.shapeReference));
  putBytes<sizeof t.reserved200>(p, OFS_RESERVED200, t.reserved200);
  storeU32(p + OFS_CHECKSUM, t.checksum);
  storeU32(p + OFS_TAIL_CHECK, t.tailCheck);
  std::memcpy(p + OFS_TAIL, t.tail.data(), t.tail.size());
  for (int b = 0; b < BAND_COUNT; ++b)
    std::memcpy(p + OFS_GRIDS + DIRECTIVITY_BAND_SIZE * b, t.grids[b].codes.data(),
                DIRECTIVITY_BAND_SIZE);
}

SpeakerType decodeSpeakerType(std::span<const std::uint8_t, SPEAKER_TYPE_SIZE> in) {
  const std::uint8_t* p = in.data();
  SpeakerType t;
  getBytes<sizeof t.brand>(p, OFS_BRAND, t.brand);
  getBytes<sizeof t.name>(p, OFS_NAME, t.name);
  getBytes<sizeof t.description>(p, OFS_DESCRIPTION, t.description);
  t.layoutFlag = p[OFS_LAYOUT_FLAG];
  t.clusterMark = loadU16(p + OFS_CLUSTER_MARK);
  getBytes<sizeof t.reserved74>(p, OFS_RESERVED74, t.reserved74);
  for (int b = 0; b < BAND_COUNT; ++b) {
    t.sensitivity[b] = loadF32(p + OFS_SENSITIVITY + 4 * b);
    t.maxPower[b] = loadF32(p + OFS_MAX_POWER + 4 * b);
    t.directivityFactor[b] = loadU16(p + OFS_Q + 2 * b);
    t.efficiency[b] = loadU16(p + OFS_EFFICIENCY + 2 * b);
  }
  getBytes<sizeof t.reserved132>(p, OFS_RESERVED132, t.reserved132);
  getBytes<sizeof t.reserved174>(p, OFS_RESERVED174, t.reserved174);
  t.shapeReference = static_cast<std::int32_t>(loadU32(p + OFS_SHAPE_REFERENCE));
  getBytes<sizeof t.reserved200>(p, OFS_RESERVED200, t.reserved200);
  t.checksum = loadU32(p + OFS_CHECKSUM);
  t.tailCheck = loadU32(p + OFS_TAIL_CHECK);
  std::memcpy(t.tail.data(), p + OFS_TAIL, t.tail.size());
  for (int b = 0; b < BAND_COUNT; ++b)
    std::memcpy(t.grids[b].codes.data(), p + OFS_GRIDS + DIRECTIVITY_BAND_SIZE * b,
                DIRECTIVITY_BAND_SIZE);
  return t;
}

SpeakerType resetSpeakerType() {
  SpeakerType t;
  // The layout flag stays 2: a reset type is a current-layout record, and a
  // zero there would make the next reader take it for an older record of a
  // different size.
  t.layoutFlag = SPEAKER_LAYOUT_CURRENT;
  // An omnidirectional source: Q = 1 in every band (stored as Q x 10).
  t.directivityFactor.fill(10);
  for (auto& grid : t.grids) grid.codes.fill(DIRECTIVITY_CODE_0DB);
  return t;
}

std::vector<std::uint8_t> convertOldSpeakerRecord(std::span<const std::uint8_t> oldRecord,
                                                  std::size_t markAt) {
  if (oldRecord.size() < OLD_SPEAKER_TYPE_SIZE ||
      markAt + sizeof CONVERSION_MARK > SPEAKER_HEAD_SIZE)
    return {};
  std::vector<std::uint8_t> record(SPEAKER_TYPE_SIZE, 0);
  std::copy_n(oldRecord.begin(), OLD_SPEAKER_HEAD_SIZE, record.begin());
  record[OFS_LAYOUT_FLAG] = SPEAKER_LAYOUT_CURRENT;
  std::memcpy(record.data() + markAt, CONVERSION_MARK, sizeof CONVERSION_MARK);
  for (int b = 0; b < BAND_COUNT; ++b) {
    const std::uint8_t* src =
        oldRecord.data() + OLD_SPEAKER_HEAD_SIZE + OLD_DIRECTIVITY_BAND_SIZE * b;
    std::uint8_t* dst = record.data() + OFS_GRIDS + DIRECTIVITY_BAND_SIZE * b;
    std::memcpy(dst, src, OLD_DIRECTIVITY_BAND_SIZE);
    // Row 36 (straight behind) repeats row 35.
    std::memcpy(dst + OLD_DIRECTIVITY_BAND_SIZE,
                src + OLD_DIRECTIVITY_BAND_SIZE - DIRECTIVITY_COLUMNS, DIRECTIVITY_COLUMNS);
  }
  return record;
}

// Two types are equal when their records are equal byte for byte (the
// run-time shape link is not part of the record).
bool operator==(const SpeakerType& a, const SpeakerType& b) {
  std::vector<std::uint8_t> ra(SPEAKER_TYPE_SIZE), rb(SPEAKER_TYPE_SIZE);
  encodeSpeakerType(a, std::span<std::uint8_t, SPEAKER_TYPE_SIZE>(ra.data(), SPEAKER_TYPE_SIZE));
  encodeSpeakerType(b, std::span<std::uint8_t, SPEAKER_TYPE_SIZE>(rb.data(), SPEAKER_TYPE_SIZE));
  return ra == rb;
}

}  // namespace tav
