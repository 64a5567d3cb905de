// The auralization commands as a user runs them on the scripted platform:
// profile and input selection, Process and Play with its progress, Cancel
// and the busy flag, playing, the real-time mode and the profile writers.
#include "auralization/ui/auralization_commands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "auralization/auralizer.h"
#include "auralization/ui/profile_commands.h"
#include "model/save_file.h"
#include "reflections/search_rooms.h"
#include "reflections/ui/etc_plot.h"
#include "reflections/ui/ray_display.h"
#include "reflections/ui/rays_command.h"
#include "shell/command_ids.h"
#include "shell/shell_test_util.h"
#include "support/temp_folder.h"
#include "support/wave_bytes.h"

namespace tav {
namespace {

using namespace tavtest;

std::vector<std::int16_t> ramp(std::size_t n) {
  std::vector<std::int16_t> s(n);
  for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<std::int16_t>((i * 7919) % 20000 - 10000);
  return s;
}

std::vector<std::int16_t> dryPass(const std::vector<std::int16_t>& in, float fs) {
  Auralizer a(dryProcessingSetup(), fs);
  a.reset();
  std::vector<std::int16_t> out;
  for (std::int16_t x : in) out.push_back(a.processSample(x));
  return out;
}

struct AuralSession : test::ShellSession {
  AuralizationSettings& settings() { return shell.session().auralization; }
  AuralSession() { registerAuralizationCommands(shell.registry()); }
  std::string wave(const std::string& name, std::uint32_t rate,
                   const std::vector<std::int16_t>& s) {
    writeBytes(dir.file(name), monoWave(rate, s));
    return dir.file(name);
  }
  std::string profile(const std::string& name, const std::string& description) {
    AudioProfile p;
    p.header.description = description;
    p.paths.push_back({0, {1, 0, 0, 0, 0, 0, 0}, {}});
    p.trailing.push_back({0, {1, 1, 1, 1, 1, 1, 1}, {}});
    writeBytes(dir.file(name), encodeAudioProfile(p));
    return dir.file(name);
  }
};

TEST(AuralizationCommands, SelectInputWaveChecksTheFormat) {
  AuralSession s;
  const std::string stereo = s.dir.file("stereo.wav");
  writeBytes(stereo, waveBytes({1, 2, 22050, 16}, pcm16({1, 2})));
  writeBytes(s.dir.file("text.wav"), {'h', 'e', 'l', 'l', 'o'});
  const std::string good = s.wave("speech.wav", 44100, ramp(10));
  s.platform.answerOpenFile(stereo);
  s.platform.pushMenu(CMD_SELECT_WAV_INPUT);
  s.platform.answerOpenFile(s.dir.file("text.wav"));
  s.platform.pushMenu(CMD_SELECT_WAV_INPUT);
  s.platform.answerOpenFile(good);
  s.platform.pushMenu(CMD_SELECT_WAV_INPUT);
  s.run();
  EXPECT_EQ(s.messages(),
            (std::vector<std::string>{"Input file must be a 16-bit mono PCM WAVE file",
                                      "Cannot read input WAVE file"}));
  EXPECT_EQ(s.platform.fileDialogs()[0].request.filter, "Wave audio file|*.WAV|");
  EXPECT_EQ(s.settings().inputPath, good);
  EXPECT_FLOAT_EQ(s.settings().fs, 44100.0f);
}

TEST(AuralizationCommands, LoadProfileShowsTheDescriptionAndNamesTheOutput) {
  AuralSession s;
  const std::string first = s.profile("first.TAP", "Balcony");
  const std::string second = s.profile("second.tap", "Stalls \xE9");  // Windows-1252 e acute
  writeBytes(s.dir.file("bogus.TAP"), std::vector<std::uint8_t>(200, 'x'));
  s.platform.answerOpenFile(s.dir.file("first"));  // ".TAP" appended
  s.platform.answerMessage(MessageResult::Ok);
  s.platform.pushMenu(CMD_SELECT_AUDIO_PROFILE);
  s.platform.answerOpenFile(second);
  s.platform.answerMessage(MessageResult::Cancel);
  s.platform.pushMenu(CMD_SELECT_AUDIO_PROFILE);
  s.platform.answerOpenFile(s.dir.file("bogus.TAP"));
  s.platform.pushMenu(CMD_SELECT_AUDIO_PROFILE);
  s.platform.answerOpenFile(s.dir.file("missing.TAP"));
  s.platform.pushMenu(CMD_SELECT_AUDIO_PROFILE);
  s.run();
  EXPECT_EQ(s.messages(), (std::vector<std::string>{"Balcony", "Stalls \u00E9",
                                                    "Invalid file, can\u00B4t load"}));
  // Cancel and the invalid file keep the first profile and its output name.
  EXPECT_EQ(s.settings().profilePath, first);
  EXPECT_EQ(s.settings().outputPath, s.dir.file("first.WAV"));
  EXPECT_EQ(s.platform.fileDialogs()[0].request.filter, "Taviron Audio Profile|*.tap|");
}

TEST(AuralizationCommands, ProcessAndPlayWithoutProfileIsTheDryPass) {
  AuralSession s;
  const auto in = ramp(30000);
  s.settings().inputPath = s.wave("in.wav", 22050, in);
  s.settings().fs = 22050;
  s.platform.answerSaveFile(s.dir.file("out.wav"));
  s.platform.pushMenu(CMD_PROCESS_AND_PLAY);
  s.run();
  EXPECT_EQ(s.messages(), std::vector<std::string>{"No processing profile loaded yet"});
  EXPECT_EQ(s.platform.messages()[0].caption, "Playing 'dry'");
  // The output is the dry pass under the input's header (same rate and length).
  std::vector<std::uint8_t> expected = monoWave(22050, dryPass(in, 22050));
  EXPECT_EQ(readBytes(s.dir.file("out.wav")), expected);
  EXPECT_EQ(s.platform.progress().at(0).title, "Processing 1 impulses...");
  EXPECT_EQ(s.platform.nullAudio().record().playedFiles,
            std::vector<std::string>{s.dir.file("out.wav")});
}

TEST(AuralizationCommands, CancelLeavesNoOutputAndBusyIgnoresTheCommand) {
  AuralSession s;
  s.settings().inputPath = s.wave("in.wav", 22050, ramp(50000));
  s.settings().profilePath = s.profile("p.TAP", "");
  s.settings().outputPath = s.dir.file("p.WAV");
  s.platform.cancelProgressAtUpdate(1);
  s.platform.pushMenu(CMD_PROCESS_AND_PLAY);
  s.check([&] { s.settings().busy = true; });
  s.platform.pushMenu(CMD_PROCESS_AND_PLAY);
  s.run();
  // The folder holds the inputs and the history, no output, temporary or not.
  for (const auto& e : std::filesystem::directory_iterator(s.dir.path))
    EXPECT_EQ(e.path().string().find("p.WAV"), std::string::npos) << e.path();
  EXPECT_TRUE(s.platform.nullAudio().record().playedFiles.empty());
  // The second run while busy opened no progress window.
  int opens = 0;
  for (const auto& p : s.platform.progress()) opens += p.kind == ProgressEventKind::Open;
  EXPECT_EQ(opens, 1);
}

TEST(AuralizationCommands, WithoutASoundCardTheFileIsWrittenAndTheDeviceMessageShown) {
  AuralSession s;
  s.platform.nullAudio().setDeviceAvailable(false);
  s.settings().inputPath = s.wave("in.wav", 22050, ramp(1000));
  s.settings().profilePath = s.profile("p.TAP", "");
  s.settings().outputPath = s.dir.file("p.WAV");
  s.platform.pushMenu(CMD_PROCESS_AND_PLAY);
  s.platform.pushMenu(CMD_PLAY_INPUT);
  s.platform.pushCommand(CMD_PLAY_REALTIME);
  s.run();
  EXPECT_TRUE(std::filesystem::exists(s.dir.file("p.WAV")));
  EXPECT_EQ(s.messages(), std::vector<std::string>(3, "Sound output device not available"));
}

TEST(AuralizationCommands, RealtimeProfileIsPlayedAndRemoved) {
  AuralSession s;
  s.settings().inputPath = s.wave("in.wav", 44100, ramp(8820 * 2 + 100));
  s.settings().fs = 44100;
  s.settings().profilePath = "previous.TAP";
  ProfileStats stats;
  stats.rt.fill(1.2f);
  const std::vector<ProfilePath> paths = {{0, {100, 100, 100, 100, 100, 100, 100}, {}},
                                          {20, {50, 50, 50, 50, 50, 50, 50}, {}}};
  // The temporary profile goes to the system temporary folder: here one of
  // the test's own, to see that it is gone afterwards.
  SystemTempFolder tmp;
  s.check([&] { writeRealtimeProfile(s.shell, paths, stats); });
  s.run();
  const auto& rec = s.platform.nullAudio().record();
  // 44.1 kHz reduced to 22050 Hz: 8870 samples, three buffers, 20 of tail.
  EXPECT_EQ(rec.buffers.size(), 23u);
  EXPECT_EQ(s.settings().profilePath, "previous.TAP");
  EXPECT_TRUE(tmp.empty());
  // The profile was read in real-time form: 0.8 .. 1.6 s, long after the
  // input and the band filters' ringing ended, the synthetic tail sounds.
  EXPECT_TRUE(std::any_of(rec.buffers.begin() + 4, rec.buffers.begin() + 8, [](const auto& b) {
    return std::any_of(b.begin(), b.end(), [](std::int16_t v) { return v != 0; });
  }));
}

TEST(AuralizationCommands, ApfAsksAngleAndDescriptionAndWritesTheFile) {
  AuralSession s;
  ProfileStats stats;
  stats.maxLevelDb = 20;
  const std::vector<ProfilePath> paths = {{5, {100, 1, 1, 1, 1, 1, 1}, {1, 2, 3}}};
  s.platform.answerSaveFile(s.dir.file("row7"));
  s.platform.answerInputLine("");
  s.platform.answerInputLine("Row 7 \u00E9");
  s.platform.answerSaveFile(s.dir.file("gone.TAP"));
  s.platform.answerInputLine("15");
  s.platform.answerInputLine(std::nullopt);  // cancelled: nothing written
  s.check([&] { EXPECT_TRUE(writeAudioProfile(s.shell, paths, stats)); });
  s.check([&] { EXPECT_FALSE(writeAudioProfile(s.shell, paths, stats)); });
  s.run();
  EXPECT_EQ(s.platform.fileDialogs()[0].request.filter, "Taviron Audioprofile|*.TAP|");
  EXPECT_EQ(s.platform.inputLines()[0].prompt, "Listen angle [ \u00B0 ] :");
  EXPECT_EQ(s.platform.inputLines()[1].prompt, "Description :");
  const auto p = decodeAudioProfile(readBytes(s.dir.file("row7.TAP")), 10000, 3);
  ASSERT_TRUE(p);
  EXPECT_EQ(p->header.description, "Row 7 \xE9");
  EXPECT_FALSE(std::filesystem::exists(s.dir.file("gone.TAP")));
}

TEST(AuralizationCommands, EtcWindowButtonsWriteTheProfileAndPlayItInRealTime) {
  AuralSession s;
  registerReflectionCommands(s.shell.registry());
  test::addBox(s.project().objects, {0, 0, 0}, {6, 4, 3});
  test::addOmniSpeaker(s.project(), {1, 1, 1.5});
  s.xyView(50.0f);
  s.settings().inputPath = s.wave("in.wav", 22050, ramp(1000));
  SystemTempFolder tmp;
  s.platform.pushMenu(CMD_CALCULATE_RAYS);
  s.platform.answerInputLine("2");
  s.clickAt(4.5f, 3.0f);
  s.platform.scriptWindow(
      RAY_WINDOW_TITLE, {WindowStep::button(RAY_BUTTON_SWITCH), WindowStep::button(ETC_BUTTON_APF),
                         WindowStep::button(ETC_BUTTON_RTA), WindowStep::button(RAY_BUTTON_BACK)});
  s.platform.answerSaveFile(s.dir.file("hall"));
  s.platform.answerInputLine("");
  s.platform.answerInputLine("Hall");
  s.platform.answerMessage(MessageResult::Cancel);  // store the rays? no
  s.run();
  // The 25 paths of the box to order 2.
  const auto profile = decodeAudioProfile(readBytes(s.dir.file("hall.TAP")), 100, 3);
  ASSERT_TRUE(profile);
  EXPECT_EQ(profile->paths.size(), 25u);
  // "RTA": 1000 samples in one buffer, then 20 of tail; the file is gone.
  EXPECT_EQ(s.platform.nullAudio().record().buffers.size(), 21u);
  EXPECT_TRUE(tmp.empty());
}

}  // namespace
}  // namespace tav
