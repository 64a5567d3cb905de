// taviron-cli render: a project's view drawn headless into a PNG, decoded
// independently of the program's image code (png_reader.h).
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "cli_run.h"
#include "png_reader.h"

namespace fs = std::filesystem;

namespace {

using tavtest::CliRun;
using tavtest::Image;
using tavtest::readPng;
using tavtest::runCli;

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
  tavtest::runCliFailing("render /nonexistent/hall.TPR --view xy --out " + out.string(), 2,
                         "Can\xC2\xB4t locate file");
  // A file that is not a project.
  const fs::path junk = tempPng("junk.TPR");
  std::ofstream(junk) << "not a project";
  tavtest::runCliFailing("render " + junk.string() + " --out " + out.string(), 2,
                         "Invalid file format !");
  fs::remove(junk);
  for (const char* size : {"0x10", "10x", "x10", "10x10x", "-5x10", "20000x10", "abc"})
    EXPECT_EQ(runCli("render " + EXAMPLE + " --size " + size + " --out " + out.string()).exitCode,
              1)
        << size;
  EXPECT_EQ(runCli("render " + EXAMPLE + " --view top --out " + out.string()).exitCode, 1);
  EXPECT_FALSE(fs::exists(out));

  tavtest::runCliFailing("render " + EXAMPLE + " --out /nonexistent/dir/view.png", 2,
                         "/nonexistent/dir/view.png");
}

#endif  // TAVIRON_CLI_HAS_RENDER
