// taviron-cli auralize on recordings and profiles written for the test.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "auralization/audio_profile.h"
#include "auralization/auralizer.h"
#include "cli_run.h"
#include "support/temp_folder.h"
#include "support/wave_bytes.h"

namespace tav {
namespace {

using namespace tavtest;
using nlohmann::json;

std::vector<std::int16_t> ramp(std::size_t n) {
  std::vector<std::int16_t> s(n);
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<std::int16_t>((i * 4099) % 30000 - 15000);
  return s;
}

TEST(CliAuralize, ProfileAndDryPassMatchTheProcessing) {
  TempFolder dir;
  const auto in = ramp(5000);
  writeBytes(dir.file("in.wav"), monoWave(22050, in));
  AudioProfile p;
  p.paths = {{0, {1, 0, 0, 0, 0, 0, 0}, {}}, {10, {0.5f, 0, 0, 0, 0, 0, 0}, {}}};
  p.trailing = {{0, {1, 0.5f, 1, 1, 1, 1, 0.25f}, {}}};
  writeBytes(dir.file("p.TAP"), encodeAudioProfile(p));

  for (bool withProfile : {false, true}) {
    SCOPED_TRACE(withProfile);
    const std::string profileArg = withProfile ? " --profile " + dir.file("p.TAP") : "";
    const CliRun r = runCli("auralize" + profileArg + " --in " + dir.file("in.wav") + " --out " +
                            dir.file("out.wav"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const json j = json::parse(r.out);
    EXPECT_EQ(j["impulses"], withProfile ? 2 : 1);
    EXPECT_EQ(j["outputRate"], 22050);
    // 10 ms at 22050 Hz: 220 samples.
    ProcessingSetup setup = dryProcessingSetup();
    if (withProfile) {
      setup.impulses = {{0, 1.0f}, {220, 0.5f}};
      setup.bandGains = p.trailing[0].values;
    }
    Auralizer a(setup, 22050);
    a.reset();
    std::vector<std::int16_t> expected;
    for (std::int16_t x : in) expected.push_back(a.processSample(x));
    EXPECT_EQ(readBytes(dir.file("out.wav")), monoWave(22050, expected));
  }
}

TEST(CliAuralize, BadInputGivesTheWindowsMessageAndExitCode2) {
  TempFolder dir;
  writeBytes(dir.file("stereo.wav"), waveBytes({1, 2, 22050, 16}, pcm16({1, 2, 3, 4})));
  writeBytes(dir.file("in.wav"), monoWave(22050, ramp(10)));
  writeBytes(dir.file("bad.TAP"), std::vector<std::uint8_t>(300, 'T'));
  const std::pair<std::string, std::string> cases[] = {
      {"--in " + dir.file("stereo.wav"), "Input file must be a 16-bit mono PCM WAVE file"},
      {"--in " + dir.file("none.wav"), "Cannot read input WAVE file"},
      {"--profile " + dir.file("bad.TAP") + " --in " + dir.file("in.wav"),
       "Invalid file, can\u00B4t load"},
  };
  for (const auto& [args, message] : cases)
    runCliFailing("auralize " + args + " --out " + dir.file("out.wav"), 2, message);
  runCliFailing("auralize --in " + dir.file("in.wav") + " --out " + dir.file("no/dir/out.wav"), 2,
                "Cannot write output WAVE file");
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.wav")));
}

TEST(CliProfile, SearchInTheExampleHallWritesBothProfiles) {
  TempFolder dir;
  const std::string project = std::string(TAVIRON_SOURCE_DIR) + "/data/examples/example.TPR";
  for (bool realtime : {false, true}) {
    SCOPED_TRACE(realtime);
    const std::string out = dir.file(realtime ? "rt.tmp" : "hall");
    const CliRun r = runCli("profile " + project + " --target 15,2,1.2 --order 2 --out " + out +
                            (realtime ? " --realtime" : " --description Row --angle 30"));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto bytes = readBytes(realtime ? out : out + ".TAP");
    const auto profile = decodeAudioProfile(bytes, 100000, 3);
    ASSERT_TRUE(profile);
    EXPECT_EQ(profile->trailing.size(), realtime ? 3u : 1u);
    EXPECT_EQ(json::parse(r.out)["paths"], profile->paths.size());
    EXPECT_EQ(profile->header.description, realtime ? "" : "Row");
  }
  const CliRun bad = runCli("profile " + project + " --target 15,2 --out " + dir.file("x"));
  EXPECT_NE(bad.exitCode, 0);
}

}  // namespace
}  // namespace tav
