// taviron-cli render: a project's view drawn headless into a PNG, decoded
// independently of the program's image code (png_reader.h).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli_run.h"
#include "png_reader.h"
#include "support/temp_folder.h"

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

}  // namespace

#ifdef TAVIRON_CLI_HAS_RENDER

TEST(CliRender, ExampleViewsAreDrawnFittedIntoThePicture) {
  tavtest::TempFolder dir;
  for (const std::string view : {"xy", "3d", "XZ"}) {
    SCOPED_TRACE(view);
    const std::string out = dir.file(view + ".png");
    const CliRun r =
        runCli("render " + EXAMPLE + " --view " + view + " --size 321x203 --out " + out);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto img = readPng(out);
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
  tavtest::TempFolder dir;
  const std::string out = dir.file("bad.png");
  tavtest::runCliFailing("render /nonexistent/hall.TPR --view xy --out " + out, 2,
                         "Can\xC2\xB4t locate file");
  // A file that is not a project.
  std::ofstream(dir.file("junk.TPR")) << "not a project";
  tavtest::runCliFailing("render " + dir.file("junk.TPR") + " --out " + out, 2,
                         "Invalid file format !");
  for (const char* size : {"0x10", "10x", "x10", "10x10x", "-5x10", "20000x10", "abc"})
    EXPECT_EQ(runCli("render " + EXAMPLE + " --size " + size + " --out " + out).exitCode, 1)
        << size;
  EXPECT_EQ(runCli("render " + EXAMPLE + " --view top --out " + out).exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(out));

  tavtest::runCliFailing("render " + EXAMPLE + " --out /nonexistent/dir/view.png", 2,
                         "/nonexistent/dir/view.png");
}

#endif  // TAVIRON_CLI_HAS_RENDER
