// taviron-cli run as a user runs it: JSON on stdout, messages on stderr,
// exit code 2 for files that cannot be read.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_run.h"
#include "model/project_bytes_builder.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

using tavtest::CliRun;
using tavtest::runCli;

// A triangle face on layer 0 and a print header, no types, no materials,
// in the current or the 1.27 layout; Fitzroy, the YZ view, grid 2 m.
std::vector<std::uint8_t> project(bool current) {
  tavtest::Bytes f;
  tavtest::THeader h;
  h.magic = current ? "TAVIRON V2.80  " : "TAVIRON V1.27  ";
  h.rt = {1.0f, 1.1f, 1.2f, 1.3f, 1.4f, 1.5f, 1.6f};
  h.grid = 2.0f;
  h.options = {3, 1, 4, 7, 1, 2};
  tavtest::putHeader(f, h);
  tavtest::putLayers(f, {0, 1, 2});
  tavtest::TObject triangle;
  triangle.nodes = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  triangle.entries = {{0, 0}, {3, 0}, {1, 1}, {2, 2}};
  const tavtest::TObject header = tavtest::printHeaderObject(tavtest::printHeaderBlock("Hall"));
  if (current) {
    tavtest::putObject(f, triangle, false);
    tavtest::putObject(f, header, true);
  } else {
    tavtest::putLegacyObject(f, triangle, false);
    tavtest::putLegacyObject(f, header, true);
  }
  f.i16(0).i16(0);  // no speaker types, no materials
  return f.b;
}

fs::path writeTemp(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  static tavtest::TempFolder dir;
  return dir.write(name, bytes);
}

}  // namespace

// The JSON of a project built byte by byte; reading either layout is the
// reader's own test.
TEST(CliInfo, ReportsTheProjectAndMissingOrWrongFilesExitWith2) {
  const auto j = tavtest::runCliJson("info " + writeTemp("v280.TPR", project(true)).string());
  EXPECT_EQ(j["format"], "TAVIRON V2.80");
  EXPECT_EQ(j["objectCount"], 1);
  EXPECT_EQ(j["objectsByLayer"]["0"], 1);
  EXPECT_EQ(j["faceCount"], 1);
  EXPECT_EQ(j["hasMap"], false);
  EXPECT_EQ(j["settings"]["rtMethod"], 2);
  EXPECT_FLOAT_EQ(j["settings"]["measuredRT"][6].get<float>(), 1.6f);
  EXPECT_EQ(j["settings"]["calculationOptions"]["includeRoom"], 2);
  EXPECT_EQ(j["printHeader"]["rows"][0]["value"], "Hall");

  tavtest::runCliFailing("info /nonexistent/dir/none.TPR", 2, "Can\u00B4t locate file");
  tavtest::runCliFailing("info " + writeTemp("wrong.TPR", tavtest::Buf(200, 'x')).string(), 2,
                         "Invalid file format !");
}

TEST(CliConvert, CurrentAndOlderFilesComeOutAsTheCurrentLayout) {
  fs::path in = writeTemp("same.TPR", project(true));
  fs::path out = in.parent_path() / "copy";
  fs::remove(out.string() + ".TPR");
  CliRun r = runCli("convert " + in.string() + " " + out.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(tavtest::readBytes(out.string() + ".TPR"), project(true));

  // An older file is written in the current layout.
  r = runCli("convert " + writeTemp("old.TPR", project(false)).string() + " " + out.string());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<std::uint8_t> converted = tavtest::readBytes(out.string() + ".TPR");
  ASSERT_GE(converted.size(), 16u);
  EXPECT_EQ(std::string(converted.begin(), converted.begin() + 15), "TAVIRON V2.80  ");
}
