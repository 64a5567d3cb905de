// A minimal PNG reader for the command-line tests: decodes what taviron-cli
// writes with zlib alone, independently of the program's image code.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace tavtest {

struct Image {
  int width = 0, height = 0;
  std::vector<std::array<std::uint8_t, 3>> rgb;  // row by row
  bool white(int x, int y) const {
    const auto& p = rgb[static_cast<std::size_t>(y) * width + x];
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
  }
};

inline std::uint32_t be32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) |
         (std::uint32_t(b[at + 2]) << 8) | b[at + 3];
}

inline int paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// A non-interlaced 8-bit grey, RGB or RGBA PNG.
inline std::optional<Image> readPng(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), {});
  static const std::uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (b.size() < 33 || !std::equal(SIGNATURE, SIGNATURE + 8, b.begin())) return std::nullopt;
  Image img;
  int channels = 0;
  std::vector<std::uint8_t> idat;
  for (std::size_t at = 8; at + 12 <= b.size();) {
    const std::uint32_t len = be32(b, at);
    if (at + 12 + len > b.size()) return std::nullopt;
    const std::string type(b.begin() + at + 4, b.begin() + at + 8);
    const std::size_t data = at + 8;
    if (type == "IHDR") {
      img.width = static_cast<int>(be32(b, data));
      img.height = static_cast<int>(be32(b, data + 4));
      const int depth = b[data + 8], colour = b[data + 9], interlace = b[data + 12];
      channels = colour == 0 ? 1 : colour == 2 ? 3 : colour == 6 ? 4 : 0;
      if (depth != 8 || channels == 0 || interlace != 0) return std::nullopt;
    } else if (type == "IDAT") {
      idat.insert(idat.end(), b.begin() + data, b.begin() + data + len);
    }
    at += 12 + len;
  }
  if (img.width <= 0 || img.height <= 0) return std::nullopt;
  const std::size_t stride = static_cast<std::size_t>(img.width) * channels;
  std::vector<std::uint8_t> raw((stride + 1) * img.height);
  uLongf rawSize = raw.size();
  if (::uncompress(raw.data(), &rawSize, idat.data(), idat.size()) != Z_OK || rawSize != raw.size())
    return std::nullopt;
  std::vector<std::uint8_t> prev(stride, 0), row(stride);
  for (int y = 0; y < img.height; ++y) {
    const std::uint8_t* line = raw.data() + y * (stride + 1);
    const int filter = line[0];
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= std::size_t(channels) ? row[i - channels] : 0;
      const int up = prev[i];
      const int c = i >= std::size_t(channels) ? prev[i - channels] : 0;
      int pred = 0;
      switch (filter) {
        case 0:
          pred = 0;
          break;
        case 1:
          pred = a;
          break;
        case 2:
          pred = up;
          break;
        case 3:
          pred = (a + up) / 2;
          break;
        case 4:
          pred = paeth(a, up, c);
          break;
        default:
          return std::nullopt;
      }
      row[i] = static_cast<std::uint8_t>(line[1 + i] + pred);
    }
    for (int x = 0; x < img.width; ++x) {
      const std::uint8_t* p = row.data() + x * channels;
      if (channels == 1)
        img.rgb.push_back({p[0], p[0], p[0]});
      else
        img.rgb.push_back({p[0], p[1], p[2]});
    }
    prev = row;
  }
  return img;
}

}  // namespace tavtest
