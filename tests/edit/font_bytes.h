// Stroke fonts built byte by byte, independently of the reader: the 8-byte
// head, 256 first-record numbers (-1: no glyph), 4 bytes, then the records.
#pragma once

#include <cstdint>
#include <vector>

namespace tav::edittest {

struct FontBytes {
  std::vector<std::uint8_t> b;
  std::vector<std::uint16_t> records;
  std::vector<std::int16_t> first = std::vector<std::int16_t>(256, -1);

  static std::uint16_t rec(int pen, int x, int y) {
    return static_cast<std::uint16_t>(pen | ((x & 0x7F) << 2) | ((y & 0x7F) << 9));
  }
  void glyph(unsigned char code, std::vector<std::uint16_t> recs) {
    first[code] = static_cast<std::int16_t>(records.size());
    records.insert(records.end(), recs.begin(), recs.end());
  }
  std::vector<std::uint8_t> bytes() const {
    std::vector<std::uint8_t> out(8, 0);
    for (std::int16_t f : first) {
      out.push_back(static_cast<std::uint8_t>(f & 0xFF));
      out.push_back(static_cast<std::uint8_t>((f >> 8) & 0xFF));
    }
    out.insert(out.end(), 4, 0);
    for (std::uint16_t r : records) {
      out.push_back(static_cast<std::uint8_t>(r & 0xFF));
      out.push_back(static_cast<std::uint8_t>(r >> 8));
    }
    return out;
  }
};

// 'L' = move (0,8), draw (0,0), draw (4,0), end with advance 5.
// 'D' = a closed triangle (1,0) (3,0) (1,2) ending with "draw and close", advance 4.
inline FontBytes smallFont() {
  FontBytes f;
  f.glyph('L', {FontBytes::rec(0, 0, 8), FontBytes::rec(1, 0, 0), FontBytes::rec(1, 4, 0),
                FontBytes::rec(3, 5, 0)});
  f.glyph('D', {FontBytes::rec(0, 1, 0), FontBytes::rec(1, 3, 0), FontBytes::rec(2, 1, 2),
                FontBytes::rec(3, 4, 0)});
  return f;
}

}  // namespace tav::edittest
