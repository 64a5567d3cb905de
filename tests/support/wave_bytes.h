// RIFF WAVE files built byte by byte, independently of the code under test,
// and read back from a canonical 44-byte header.
#pragma once

#include <cstdint>
#include <vector>

#include "support/bytes.h"

namespace tavtest {

inline void putU16(std::vector<std::uint8_t>& b, std::uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
inline void putU32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  putU16(b, v & 0xFFFF);
  putU16(b, v >> 16);
}
inline void putTag(std::vector<std::uint8_t>& b, const char* tag) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(tag[i]));
}

struct WaveSpec {
  std::uint16_t tag = 1;  // 1 = PCM, 3 = float
  std::uint16_t channels = 1;
  std::uint32_t rate = 22050;
  std::uint16_t bits = 16;
};

// "RIFF" size "WAVE" "fmt " 16 (fields) "data" size (data bytes).
inline std::vector<std::uint8_t> waveBytes(const WaveSpec& s,
                                           const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> b;
  putTag(b, "RIFF");
  putU32(b, static_cast<std::uint32_t>(36 + data.size()));
  putTag(b, "WAVE");
  putTag(b, "fmt ");
  putU32(b, 16);
  putU16(b, s.tag);
  putU16(b, s.channels);
  putU32(b, s.rate);
  putU32(b, s.rate * s.channels * s.bits / 8);
  putU16(b, s.channels * s.bits / 8);
  putU16(b, s.bits);
  putTag(b, "data");
  putU32(b, static_cast<std::uint32_t>(data.size()));
  b.insert(b.end(), data.begin(), data.end());
  return b;
}

inline std::vector<std::uint8_t> pcm16(const std::vector<std::int16_t>& samples) {
  std::vector<std::uint8_t> b;
  for (std::int16_t s : samples) putU16(b, static_cast<std::uint16_t>(s));
  return b;
}

inline std::vector<std::uint8_t> monoWave(std::uint32_t rate, const std::vector<std::int16_t>& s) {
  return waveBytes({1, 1, rate, 16}, pcm16(s));
}

// The samples after a canonical 44-byte header (what the writer produces).
inline std::vector<std::int16_t> samplesAfterHeader(const std::vector<std::uint8_t>& file) {
  std::vector<std::int16_t> s;
  for (std::size_t i = 44; i + 1 < file.size(); i += 2)
    s.push_back(static_cast<std::int16_t>(file[i] | (file[i + 1] << 8)));
  return s;
}

}  // namespace tavtest
