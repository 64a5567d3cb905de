// taviron-cli run as a user runs it: JSON on stdout, messages on stderr,
// exit code 2 for files that cannot be read.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_run.h"

namespace fs = std::filesystem;

namespace {

using tavtest::CliRun;
using tavtest::runCli;

// Little-endian bytes of a project file, built here independently of the
// engine's writer.
struct Bytes {
  std::vector<std::uint8_t> b;
  void u8(unsigned v) { b.push_back(static_cast<std::uint8_t>(v)); }
  void u16(unsigned v) { u8(v & 0xFF), u8((v >> 8) & 0xFF); }
  void u32(std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); }
  void f32(float f) {
    std::uint32_t v;
    std::memcpy(&v, &f, 4);
    u32(v);
  }
  void text(const std::string& s, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) u8(i < s.size() ? s[i] : 0);
  }
  void zeros(std::size_t n) { b.insert(b.end(), n, 0); }
};

void header(Bytes& f, const std::string& magic) {
  f.text(magic, 16);
  f.u8(2);  // Fitzroy
  f.zeros(3);
  f.u16(1);      // view YZ
  f.f32(0.25f);  // cursor snap
  f.u16(1);
  f.f32(12.0f);  // node snap width
  f.u16(0);
  for (int i = 0; i < 7; ++i) f.f32(1.0f + 0.1f * i);
  f.f32(2.0f);  // grid
  f.zeros(24);
  for (int v : {3, 1, 4, 7, 1, 2}) f.u16(static_cast<std::uint16_t>(v));
  for (int i = 0; i < 16; ++i) {
    f.text("LAYER " + std::to_string(i + 1), 22);
    f.u16(i < 3 ? 1 : 0);
  }
}

// A triangle face on layer 0, a print header, no types, no materials.
std::vector<std::uint8_t> projectV280() {
  Bytes f;
  header(f, "TAVIRON V2.80  ");
  // Object record: prev next data nodes indices shape flags colour layer counts.
  f.u32(0), f.u32(1), f.u32(0), f.u32(0), f.u32(0);
  f.u32(8), f.u32(0), f.u32(0), f.u32(0), f.u32(3), f.u32(4), f.u32(0);
  for (float v : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f}) f.f32(v);
  // (start 0) (material 0) (line 1) (close 2)
  f.u16(0), f.u16(0), f.u16(3), f.u16(0), f.u16(1), f.u16(1), f.u16(2), f.u16(2);
  // Print-header pseudo-object.
  f.u32(0), f.u32(0), f.u32(0), f.u32(0), f.u32(0);
  f.u32(33), f.u32(0xE0), f.u32(0), f.u32(0), f.u32(0), f.u32(0), f.u32(742);
  f.zeros(162);
  f.text("Project", 11), f.text("Hall", 41);
  f.zeros(7 * 52 + 4 * 41);
  f.u16(0);  // speaker types
  f.u16(0);  // materials
  return f.b;
}

std::vector<std::uint8_t> projectV127() {
  Bytes f;
  header(f, "TAVIRON V1.27  ");
  // 40-byte record: five pointers, shape, flags, colour, layer u16, counts u16.
  f.u32(0), f.u32(1), f.u32(0), f.u32(0), f.u32(0);
  f.u32(8), f.u32(0), f.u32(0), f.u16(0), f.u16(3), f.u16(4), f.u16(0);
  for (float v : {0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f}) f.f32(v);
  f.u16(0 | (0 << 2)), f.u16(3 | (0 << 2)), f.u16(1 | (1 << 2)), f.u16(2 | (2 << 2));
  f.u32(0), f.u32(0), f.u32(0), f.u32(0), f.u32(0);
  f.u32(33), f.u32(0xE0), f.u32(0), f.u16(0), f.u16(0), f.u16(0), f.u16(742);
  f.zeros(742);
  f.u16(0);
  f.u16(0);
  return f.b;
}

fs::path writeTemp(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  fs::path dir = fs::temp_directory_path() / ("taviron_cli_test_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  fs::path p = dir / name;
  std::ofstream(p, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return p;
}

std::vector<std::uint8_t> readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace

TEST(CliInfo, ReportsBothVersionsBuiltByteByByte) {
  for (auto [name, bytes, format] : {std::tuple{"v280.TPR", projectV280(), "TAVIRON V2.80"},
                                     std::tuple{"v127.TPR", projectV127(), "TAVIRON V1.27"}}) {
    SCOPED_TRACE(name);
    CliRun r = runCli("info " + writeTemp(name, bytes).string());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    auto j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["format"], format);
    EXPECT_EQ(j["objectCount"], 1);
    EXPECT_EQ(j["objectsByLayer"]["0"], 1);
    EXPECT_EQ(j["faceCount"], 1);
    EXPECT_EQ(j["materialCount"], 0);
    EXPECT_EQ(j["speakerTypeCount"], 0);
    EXPECT_EQ(j["hasMap"], false);
    EXPECT_EQ(j["settings"]["view"], 1);
    EXPECT_EQ(j["settings"]["rtMethod"], 2);
    EXPECT_FLOAT_EQ(j["settings"]["cursorSnap"].get<float>(), 0.25f);
    EXPECT_FLOAT_EQ(j["settings"]["measuredRT"][6].get<float>(), 1.6f);
    EXPECT_EQ(j["settings"]["calculationOptions"]["gridIndex"], 4);
    EXPECT_EQ(j["settings"]["calculationOptions"]["includeRoom"], 2);
    EXPECT_EQ(j["printHeader"]["rows"].size(), 8u);
    EXPECT_EQ(j["printHeader"]["freeLines"].size(), 4u);
  }
  // The grid size is taken from the current format only.
  CliRun r = runCli("info " + writeTemp("v280.TPR", projectV280()).string());
  auto j = nlohmann::json::parse(r.out);
  EXPECT_FLOAT_EQ(j["settings"]["gridSize"].get<float>(), 2.0f);
  EXPECT_EQ(j["printHeader"]["rows"][0]["label"], "Project");
  EXPECT_EQ(j["printHeader"]["rows"][0]["value"], "Hall");
}

TEST(CliInfo, ExampleProjectIsAHallWithAudience) {
  CliRun r = runCli(std::string("info ") + TAVIRON_SOURCE_DIR "/data/examples/example.TPR");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j["format"], "TAVIRON V2.80");
  EXPECT_GE(j["faceCount"].get<int>(), 24);
  EXPECT_GE(j["objectsByLayer"]["1"].get<int>(), 1);
  EXPECT_GT(j["materialCount"].get<int>(), 1);
}

TEST(CliInfo, UnreadableFilesGiveTheMessageAndExitCode2) {
  CliRun missing = runCli("info /nonexistent/dir/none.TPR");
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("Can\u00B4t locate file"), std::string::npos) << missing.err;

  std::vector<std::uint8_t> notAProject(200, 'x');
  CliRun wrong = runCli("info " + writeTemp("wrong.TPR", notAProject).string());
  EXPECT_EQ(wrong.exitCode, 2);
  EXPECT_NE(wrong.err.find("Invalid file format !"), std::string::npos) << wrong.err;

  // Cut anywhere inside, the file is refused, never half read.
  std::vector<std::uint8_t> whole = projectV280();
  for (std::size_t cut : {std::size_t{50}, std::size_t{102}, std::size_t{500}, whole.size() - 3}) {
    std::vector<std::uint8_t> part(whole.begin(), whole.begin() + static_cast<long>(cut));
    CliRun r = runCli("info " + writeTemp("cut.TPR", part).string());
    EXPECT_EQ(r.exitCode, 2) << "cut at " << cut;
    EXPECT_NE(r.err.find("Invalid file format !"), std::string::npos) << "cut at " << cut;
  }
}

TEST(CliConvert, CurrentFileComesBackByteForByteAndOldOneIsBackedUp) {
  fs::path in = writeTemp("same.TPR", projectV280());
  fs::path out = in.parent_path() / "copy";
  fs::remove(out.string() + ".TPR");
  CliRun r = runCli("convert " + in.string() + " " + out.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(readAll(out.string() + ".TPR"), projectV280());

  // Converting again over the result keeps the previous file as the backup.
  fs::path old = writeTemp("old.TPR", projectV127());
  r = runCli("convert " + old.string() + " " + out.string() + ".TPR");
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(readAll(out.string() + "_old.TPR"), projectV280());
  std::vector<std::uint8_t> converted = readAll(out.string() + ".TPR");
  ASSERT_GE(converted.size(), 16u);
  EXPECT_EQ(std::string(converted.begin(), converted.begin() + 15), "TAVIRON V2.80  ");
}
