// taviron-cli render: a project's view drawn headless into a PNG of the
// asked size; the fitted drawing itself is pinned by the view tests.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "cli_run.h"

namespace fs = std::filesystem;

namespace {

using tavtest::CliRun;
using tavtest::runCli;

// The size a PNG file gives in its header chunk, or nothing when the file
// does not start as a PNG. Decoding the pixels is left to the image tests;
// here the command's own work is checked: the file, its size, exit codes.
std::optional<std::pair<std::uint32_t, std::uint32_t>> pngSize(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), {});
  static const std::uint8_t HEAD[16] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
                                        0,    0,   0,   13,  'I',  'H',  'D',  'R'};
  if (b.size() < 24 || !std::equal(HEAD, HEAD + 16, b.begin())) return std::nullopt;
  auto be32 = [&](std::size_t at) {
    return (std::uint32_t(b[at]) << 24) | (std::uint32_t(b[at + 1]) << 16) |
           (std::uint32_t(b[at + 2]) << 8) | b[at + 3];
  };
  return std::pair{be32(16), be32(20)};
}

const std::string EXAMPLE = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/example.TPR";

fs::path tempPng(const std::string& name) {
  return fs::temp_directory_path() / ("taviron_render_" + std::to_string(::getpid()) + "_" + name);
}

}  // namespace

#ifdef TAVIRON_CLI_HAS_RENDER

TEST(CliRender, ExampleViewsAreWrittenAtTheAskedSize) {
  std::set<std::string> pictures;  // each view draws a picture of its own
  for (const std::string view : {"xy", "3d", "XZ"}) {
    SCOPED_TRACE(view);
    const fs::path out = tempPng(view + ".png");
    fs::remove(out);
    const CliRun r =
        runCli("render " + EXAMPLE + " --view " + view + " --size 321x203 --out " + out.string());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    ASSERT_TRUE(fs::exists(out));
    const auto size = pngSize(out);
    std::ifstream in(out, std::ios::binary);
    pictures.insert(std::string((std::istreambuf_iterator<char>(in)), {}));
    fs::remove(out);
    EXPECT_EQ(size, (std::pair<std::uint32_t, std::uint32_t>{321, 203}));
  }
  EXPECT_EQ(pictures.size(), 3u);
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
