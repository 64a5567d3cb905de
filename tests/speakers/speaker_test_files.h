// Loudspeaker records and database files built byte by byte for the tests,
// independently of the readers and writers under test.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "speakers/record_scrambling.h"

namespace tav::test {

namespace fs = std::filesystem;

inline void putU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = v >> 8;
}
inline void putU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}
inline void putF32(std::vector<std::uint8_t>& b, std::size_t at, float f) {
  std::uint32_t v;
  std::memcpy(&v, &f, 4);
  putU32(b, at, v);
}
inline std::uint32_t getU32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}
inline void putText(std::vector<std::uint8_t>& b, std::size_t at, const std::string& s) {
  std::memcpy(b.data() + at, s.data(), s.size());
}
inline void append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& bytes) {
  to.insert(to.end(), bytes.begin(), bytes.end());
}

// A plain current-layout record (19 160 bytes): brand, name, description,
// layout flag 2, sensitivity 90 + b dB and maximum power 100 * (b + 1) W per
// band, a record key, and band b's grid filled with code `code0 + b`.
inline std::vector<std::uint8_t> plainRecord(const std::string& name, std::uint8_t code0 = 200) {
  std::vector<std::uint8_t> r(19160, 0);
  putText(r, 0, "TESTBRAND");
  putText(r, 21, name);
  putText(r, 30, "Description of " + name);
  r[71] = 2;
  for (int b = 0; b < 7; ++b) {
    putF32(r, 76 + 4 * b, 90.0f + b);
    putF32(r, 104 + 4 * b, 100.0f * (b + 1));
    putU16(r, 146 + 2 * b, 25);
    std::memset(r.data() + 512 + 2664 * b, code0 + b, 2664);
  }
  for (int i = 0; i < 20; ++i) r[470 + i] = static_cast<std::uint8_t>(37 * i + name.size());
  return r;
}

// The protection transform written out here on its own: byte i of a region
// XORed with window[i mod w] and the program key byte (7 i) mod 32; returns
// the sum of (255 - plain byte).
inline std::uint32_t protect(std::vector<std::uint8_t>& r, std::size_t from, std::size_t n,
                             std::size_t window, std::size_t w) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < n; ++i) {
    sum += 255u - r[from + i];
    r[from + i] ^= r[window + i % w] ^ PROGRAM_KEY[(7 * i) % 32];
  }
  return sum;
}

inline std::vector<std::uint8_t> scrambled(std::vector<std::uint8_t> r) {
  std::uint32_t sum = protect(r, 0, 71, 470, 20);
  sum += protect(r, 72, 382, 470, 20);
  sum += protect(r, 512, 18648, 470, 20);
  const std::uint32_t tail = protect(r, 462, 50, 21, 50);
  sum += tail;
  const std::uint32_t keyWord = PROGRAM_KEY[4] | PROGRAM_KEY[5] << 8 | PROGRAM_KEY[6] << 16 |
                                std::uint32_t(PROGRAM_KEY[7]) << 24;
  putU32(r, 454, sum);
  putU32(r, 458, tail ^ keyWord);
  return r;
}

// A layout-1 record: the first 200 bytes of a type and seven 36-row bands,
// row r of band b holding code 100 + b + r.
inline std::vector<std::uint8_t> plainOldRecord(const std::string& name) {
  std::vector<std::uint8_t> r(18344, 0);
  putText(r, 0, "OLDBRAND");
  putText(r, 21, name);
  putText(r, 30, "Old " + name);
  for (int b = 0; b < 7; ++b) {
    putF32(r, 76 + 4 * b, 85.0f);
    putF32(r, 104 + 4 * b, 50.0f);
    for (int row = 0; row < 36; ++row)
      std::memset(r.data() + 200 + 2592 * b + 72 * row, 100 + b + row, 72);
  }
  return r;
}

inline std::vector<std::uint8_t> databaseHeader(const std::string& magic, std::int16_t count = 0) {
  std::vector<std::uint8_t> h(32, 0);
  putText(h, 0, magic);
  putU16(h, 30, static_cast<std::uint16_t>(count));
  return h;
}

// One object record as the project file stores it (48-byte head, nodes,
// 4-byte entries), for shape data behind a layout-3 record.
struct ShapeRecord {
  std::vector<std::array<float, 3>> nodes;
  std::vector<std::pair<std::uint16_t, std::uint16_t>> entries;
};
inline std::vector<std::uint8_t> shapeData(const std::vector<ShapeRecord>& records) {
  std::vector<std::uint8_t> out;
  for (std::size_t k = 0; k < records.size(); ++k) {
    const ShapeRecord& s = records[k];
    std::vector<std::uint8_t> head(48, 0);
    putU32(head, 4, k + 1 < records.size() ? 1 : 0);
    putU32(head, 20, 16);
    putU32(head, 24, 134);
    putU32(head, 32, 3);
    putU32(head, 36, s.nodes.size());
    putU32(head, 40, s.entries.size());
    append(out, head);
    for (const auto& n : s.nodes) {
      std::vector<std::uint8_t> b(12);
      for (int i = 0; i < 3; ++i) putF32(b, 4 * i, n[i]);
      append(out, b);
    }
    for (const auto& e : s.entries) {
      std::vector<std::uint8_t> b(4);
      putU16(b, 0, e.first);
      putU16(b, 2, e.second);
      append(out, b);
    }
  }
  return out;
}

// A fresh folder under the system temporary folder, removed at the end.
class SpeakerTempDir {
 public:
  SpeakerTempDir() {
    path_ =
        fs::temp_directory_path() /
        ("taviron_speakers_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~SpeakerTempDir() { fs::remove_all(path_); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream f(file(name), std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return file(name);
  }

 private:
  fs::path path_;
};

}  // namespace tav::test
