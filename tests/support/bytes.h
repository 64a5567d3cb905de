// Bytes laid out by hand, independently of the readers and writers under
// test: a little-endian builder, fields set and read at offsets, whole files.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tavtest {

using Buf = std::vector<std::uint8_t>;

struct Bytes {
  Buf b;
  Bytes& u8(std::uint8_t v) {
    b.push_back(v);
    return *this;
  }
  Bytes& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
  Bytes& i16(std::int16_t v) { return u16(static_cast<std::uint16_t>(v)); }
  Bytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Bytes& i32(std::int32_t v) { return u32(static_cast<std::uint32_t>(v)); }
  Bytes& f32(float v) {
    std::uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return u32(bits);
  }
  // Text in a fixed field of `width` bytes, NUL-padded.
  Bytes& text(const std::string& s, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) u8(i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0);
    return *this;
  }
  Bytes& zeros(std::size_t n) {
    b.insert(b.end(), n, 0);
    return *this;
  }
  Bytes& raw(const Buf& v) {
    b.insert(b.end(), v.begin(), v.end());
    return *this;
  }
  std::size_t size() const { return b.size(); }
};

inline void put16(Buf& b, std::size_t at, std::uint16_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = v >> 8;
}
inline void put32(Buf& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = (v >> (8 * i)) & 0xFF;
}
inline void putF32(Buf& b, std::size_t at, float v) {
  std::uint32_t bits;
  std::memcpy(&bits, &v, 4);
  put32(b, at, bits);
}
inline std::uint32_t get32(const Buf& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}
inline void putText(Buf& b, std::size_t at, const std::string& s) {
  std::memcpy(b.data() + at, s.data(), s.size());
}
inline void append(Buf& to, const Buf& bytes) { to.insert(to.end(), bytes.begin(), bytes.end()); }

inline void writeBytes(const std::string& path, const Buf& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}
inline Buf readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Buf(std::istreambuf_iterator<char>(in), {});
}

}  // namespace tavtest
