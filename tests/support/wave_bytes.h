// RIFF WAVE files built byte by byte, independently of the code under test,
// and read back from a canonical 44-byte header.
#pragma once

#include <cstdint>
#include <vector>

#include "support/bytes.h"

namespace tavtest {

struct WaveSpec {
  std::uint16_t tag = 1;  // 1 = PCM, 3 = float
  std::uint16_t channels = 1;
  std::uint32_t rate = 22050;
  std::uint16_t bits = 16;
};

// "RIFF" size "WAVE" "fmt " 16 (fields) "data" size (data bytes).
inline std::vector<std::uint8_t> waveBytes(const WaveSpec& s,
                                           const std::vector<std::uint8_t>& data) {
  const auto size = static_cast<std::uint32_t>(data.size());
  Bytes b;
  b.text("RIFF", 4).u32(36 + size).text("WAVEfmt ", 8).u32(16).u16(s.tag).u16(s.channels);
  b.u32(s.rate).u32(s.rate * s.channels * s.bits / 8).u16(s.channels * s.bits / 8).u16(s.bits);
  return b.text("data", 4).u32(size).raw(data).b;
}

inline std::vector<std::uint8_t> pcm16(const std::vector<std::int16_t>& samples) {
  Bytes b;
  for (std::int16_t s : samples) b.i16(s);
  return b.b;
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
