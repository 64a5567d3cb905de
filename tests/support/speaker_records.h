// Loudspeaker records and database files built byte by byte: offsets and
// sizes written out as the layouts define them, and the record protection as
// a separate small implementation that shares only the program key.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "speakers/record_scrambling.h"
#include "support/bytes.h"

namespace tavtest {

// A plain current-layout record (19 160 bytes) with recognisable contents:
// layout flag 2, sensitivity 90 + b dB, maximum power 100 (b + 1) W, Q x 10
// of 20 + b, the shape ordinal at 196 and a record key at 470.. . Band b's
// grid is filled with `code0 + b`, or (code0 0) with varying codes.
inline Buf plainSpeakerRecord(const std::string& name, std::int32_t shapeOrdinal = -1,
                              std::uint8_t seed = 1, std::uint8_t code0 = 0) {
  Buf r(19160, 0);
  putText(r, 0, "Brand " + name);
  putText(r, 21, name);
  putText(r, 30, "Test cabinet " + name);
  r[71] = 2;
  for (int b = 0; b < 7; ++b) {
    putF32(r, 76 + 4 * b, 90.0f + b);
    putF32(r, 104 + 4 * b, 100.0f * (b + 1));
    put16(r, 146 + 2 * b, static_cast<std::uint16_t>(20 + b));
    put16(r, 160 + 2 * b, static_cast<std::uint16_t>(5 + b));
  }
  put32(r, 196, static_cast<std::uint32_t>(shapeOrdinal));
  for (int i = 300; i < 320; ++i) r[i] = static_cast<std::uint8_t>(i + seed);
  for (int i = 0; i < 50; ++i)
    r[462 + i] = static_cast<std::uint8_t>(seed * 13 + i * 31 + name.size());
  for (std::size_t i = 512; i < r.size(); ++i)
    r[i] = code0 != 0 ? static_cast<std::uint8_t>(code0 + (i - 512) / 2664)
                      : static_cast<std::uint8_t>(150 + (i * 7 + seed) % 100);
  return r;
}

// An older record: 200-byte head (byte 71 not 2) and seven 36-row bands, row
// r of band b holding code 100 + 10 b + r (+ column mod 3 unless `flatRows`).
inline Buf oldSpeakerRecord(const std::string& name, std::int32_t shapeOrdinal = -1,
                            bool flatRows = false) {
  Buf r(200 + 7 * 2592, 0);
  putText(r, 0, "OLDBRAND");
  putText(r, 21, name);
  putText(r, 30, "Old " + name);
  for (int b = 0; b < 7; ++b) {
    putF32(r, 76 + 4 * b, 85.0f);
    putF32(r, 104 + 4 * b, 50.0f);
  }
  put32(r, 196, static_cast<std::uint32_t>(shapeOrdinal));
  for (int b = 0; b < 7; ++b)
    for (int row = 0; row < 36; ++row)
      for (int col = 0; col < 72; ++col)
        r[200 + b * 2592 + row * 72 + col] =
            static_cast<std::uint8_t>(100 + b * 10 + row + (flatRows ? 0 : col % 3));
  return r;
}

// The record protection: regions 0..70, 72..453 and 512..19159 with the
// record key at 470..489, then the tail 462..511 with the window at 21..70;
// each byte XORed with the window byte i mod w and the program key byte
// (7 i) mod 32. Checksum (sum of 255 - plain byte) at 454, tail check at 458.
inline std::uint32_t testTransform(Buf& r, std::size_t from, std::size_t n, std::size_t windowAt,
                                   std::size_t w) {
  const auto& key = tav::PROGRAM_KEY;
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    sum += 255u - r[from + i];
    r[from + i] = r[from + i] ^ r[windowAt + (i % w)] ^ key[(7 * i) % 32];
  }
  return sum;
}

inline std::uint32_t testKeyWord() {
  const auto& k = tav::PROGRAM_KEY;
  return k[4] | (k[5] << 8) | (k[6] << 16) | (std::uint32_t{k[7]} << 24);
}

inline Buf testScramble(Buf r) {
  std::uint32_t sum = testTransform(r, 0, 71, 470, 20);
  sum += testTransform(r, 72, 382, 470, 20);
  sum += testTransform(r, 512, 19160 - 512, 470, 20);
  const std::uint32_t tail = testTransform(r, 462, 50, 21, 50);
  put32(r, 454, sum + tail);
  put32(r, 458, tail ^ testKeyWord());
  return r;
}

// The 32-byte database header: the magic and the type count at 30.
inline Buf databaseHeader(const std::string& magic, std::int16_t count = 0) {
  Buf h(32, 0);
  putText(h, 0, magic);
  put16(h, 30, static_cast<std::uint16_t>(count));
  return h;
}

// Object records as the project file stores them (48-byte head, nodes,
// 4-byte entries), for the shape data behind a layout-3 record.
struct ShapeRecord {
  std::vector<std::array<float, 3>> nodes;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> entries;
};
inline Buf shapeData(const std::vector<ShapeRecord>& records) {
  Bytes out;
  for (std::size_t k = 0; k < records.size(); ++k) {
    const ShapeRecord& s = records[k];
    out.u32(0).u32(k + 1 < records.size() ? 1 : 0).u32(0).u32(0).u32(0);
    out.u32(16).u32(134).u32(0).u32(3);
    out.u32(static_cast<std::uint32_t>(s.nodes.size()))
        .u32(static_cast<std::uint32_t>(s.entries.size()))
        .u32(0);
    for (const auto& n : s.nodes) out.f32(n[0]).f32(n[1]).f32(n[2]);
    for (const auto& e : s.entries) out.u16(e.first).u16(e.second);
  }
  return out.b;
}

}  // namespace tavtest
