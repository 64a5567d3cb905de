// WAV input checks and the written output, against bytes built here.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/audio.h"
#include "support/temp_folder.h"
#include "support/wave_bytes.h"

namespace tav {
namespace {

using namespace tavtest;

struct CheckCase {
  const char* name;
  std::vector<std::uint8_t> bytes;
  WaveCheck check;
};

std::vector<std::uint8_t> withTag(std::vector<std::uint8_t> b, std::size_t at, const char* tag) {
  std::copy(tag, tag + 4, b.begin() + static_cast<long>(at));
  return b;
}

TEST(WaveInput, FormatChecksOfTheInputRecording) {
  const std::vector<std::uint8_t> samples = pcm16({1, -2, 3, -4});
  const CheckCase cases[] = {
      {"mono16_44k", waveBytes({1, 1, 44100, 16}, samples), WaveCheck::Ok},
      {"stereo", waveBytes({1, 2, 22050, 16}, samples), WaveCheck::WrongFormat},
      {"eight_bit", waveBytes({1, 1, 22050, 8}, {128, 129, 130, 131}), WaveCheck::WrongFormat},
      {"float", waveBytes({3, 1, 22050, 32}, std::vector<std::uint8_t>(16, 0)),
       WaveCheck::WrongFormat},
      {"not_riff", withTag(waveBytes({1, 1, 22050, 16}, samples), 0, "RIFX"),
       WaveCheck::Unreadable},
      {"not_wave", withTag(waveBytes({1, 1, 22050, 16}, samples), 8, "AVI "),
       WaveCheck::Unreadable},
      {"no_fmt", withTag(waveBytes({1, 1, 22050, 16}, samples), 12, "junk"), WaveCheck::Unreadable},
      {"header_only", std::vector<std::uint8_t>{'R', 'I', 'F', 'F'}, WaveCheck::Unreadable},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    const WaveInfo info = checkInputWaveBytes(c.bytes);
    EXPECT_EQ(info.check, c.check);
    if (c.check == WaveCheck::Ok) {
      EXPECT_EQ(info.frames, 4);
    }
  }
  TempFolder dir;
  EXPECT_EQ(checkInputWave(dir.path.string()).check, WaveCheck::Unreadable);
}

TEST(WaveOutputFile, CanonicalHeaderAndNothingLeftWithoutCommit) {
  TempFolder dir;
  const std::string target = dir.file("out.wav");
  {
    auto w = WaveFileWriter::create(target, 22050);
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->write(std::vector<std::int16_t>{1, -1, 32767}));
    EXPECT_TRUE(w->write(std::vector<std::int16_t>{-32768}));
    EXPECT_FALSE(std::filesystem::exists(target));  // only the temporary file so far
    EXPECT_TRUE(w->commit());
  }
  EXPECT_EQ(readBytes(target), monoWave(22050, {1, -1, 32767, -32768}));

  // Dropped without commit (cancel, failure): the old file stays, no litter.
  {
    auto w = WaveFileWriter::create(target, 44100);
    ASSERT_TRUE(w);
    w->write(std::vector<std::int16_t>{5, 5});
  }
  EXPECT_EQ(readBytes(target), monoWave(22050, {1, -1, 32767, -32768}));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);
  EXPECT_FALSE(WaveFileWriter::create(dir.file("no/such/folder.wav"), 22050));
}

}  // namespace
}  // namespace tav
