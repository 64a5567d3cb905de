// taviron-cli render: a project's view drawn headless into a PNG. The PNG is
// decoded here with zlib alone, independently of the program's image code.
#include <gtest/gtest.h>
#include <unistd.h>
#include <zlib.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cli_run.h"

namespace fs = std::filesystem;

namespace {

using tavtest::CliRun;
using tavtest::runCli;

struct Image {
  int width = 0, height = 0;
  std::vector<std::array<std::uint8_t, 3>> rgb;  // row by row
  bool white(int x, int y) const {
    const auto& p = rgb[static_cast<std::size_t>(y) * width + x];
    return p[0] == 255 && p[1] == 255 && p[2] == 255;
  }
};

std::uint32_t be32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) |
         (std::uint32_t(b[at + 2]) << 8) | b[at + 3];
}

int paeth(int a, int b, int c) {
  const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

// A non-interlaced 8-bit grey, RGB or RGBA PNG.
std::optional<Image> readPng(const fs::path& path) {
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

struct Extent {
  long inked = 0;
  int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
};
Extent inkOf(const Image& img) {
  Extent e;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x)
      if (!img.white(x, y)) {
        ++e.inked;
        e.minX = std::min(e.minX, x), e.maxX = std::max(e.maxX, x);
        e.minY = std::min(e.minY, y), e.maxY = std::max(e.maxY, y);
      }
  return e;
}

const std::string EXAMPLE = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/example.TPR";

fs::path tempPng(const std::string& name) {
  return fs::temp_directory_path() / ("taviron_render_" + std::to_string(::getpid()) + "_" + name);
}

}  // namespace

#ifdef TAVIRON_CLI_HAS_RENDER

TEST(CliRender, ExampleViewsAreDrawnFittedIntoThePicture) {
  for (const std::string view : {"xy", "3d", "XZ"}) {
    SCOPED_TRACE(view);
    const fs::path out = tempPng(view + ".png");
    fs::remove(out);
    const CliRun r =
        runCli("render " + EXAMPLE + " --view " + view + " --size 321x203 --out " + out.string());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(fs::exists(out));
    const auto img = readPng(out);
    fs::remove(out);
    ASSERT_TRUE(img);
    EXPECT_EQ(img->width, 321);
    EXPECT_EQ(img->height, 203);
    const Extent ink = inkOf(*img);
    // Lines on a white ground: some ink, mostly white.
    EXPECT_GT(ink.inked, 300);
    EXPECT_LT(ink.inked, 321L * 203 / 3);
    // Zoom all: the hall spans most of the picture's width or height.
    const bool wide = ink.maxX - ink.minX > 321 * 6 / 10;
    const bool tall = ink.maxY - ink.minY > 203 * 6 / 10;
    EXPECT_TRUE(wide || tall) << ink.minX << ".." << ink.maxX << " x " << ink.minY << ".."
                              << ink.maxY;
  }
}

TEST(CliRender, BadInputGivesMessagesAndExitCodes) {
  const fs::path out = tempPng("bad.png");
  fs::remove(out);
  CliRun r = runCli("render /nonexistent/hall.TPR --view xy --out " + out.string());
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Can\xC2\xB4t locate file"), std::string::npos) << r.err;

  // A file that is not a project.
  const fs::path junk = tempPng("junk.TPR");
  std::ofstream(junk) << "not a project";
  r = runCli("render " + junk.string() + " --out " + out.string());
  fs::remove(junk);
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("Invalid file format !"), std::string::npos) << r.err;

  for (const char* size : {"0x10", "10x", "x10", "10x10x", "-5x10", "20000x10", "abc"}) {
    r = runCli("render " + EXAMPLE + " --size " + size + " --out " + out.string());
    EXPECT_EQ(r.exitCode, 1) << size;
  }
  r = runCli("render " + EXAMPLE + " --view top --out " + out.string());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_FALSE(fs::exists(out));

  r = runCli("render " + EXAMPLE + " --out /nonexistent/dir/view.png");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_NE(r.err.find("/nonexistent/dir/view.png"), std::string::npos) << r.err;
}

#endif  // TAVIRON_CLI_HAS_RENDER
