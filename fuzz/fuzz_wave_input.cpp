// Input recordings: any bytes check as a 16-bit mono PCM WAVE file, as the
// wrong format or as unreadable; a recording that checks reads its samples,
// and what the writer makes of them reads back the same.
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "platform/audio.h"

namespace {

using namespace tav;

std::vector<std::uint8_t> seedWave(std::uint16_t channels, std::uint16_t bits) {
  std::vector<std::uint8_t> b;
  auto u16 = [&](std::uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
  };
  auto u32 = [&](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  auto tag = [&](const char* t) { b.insert(b.end(), t, t + 4); };
  tag("RIFF");
  u32(36 + 8);
  tag("WAVE");
  tag("fmt ");
  u32(16);
  u16(1);
  u16(channels);
  u32(22050);
  u32(22050 * channels * bits / 8);
  u16(channels * bits / 8);
  u16(bits);
  tag("data");
  u32(8);
  for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(i * 37));
  return b;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    fuzz::writeFile(dir / "mono16.wav", seedWave(1, 16));
    fuzz::writeFile(dir / "stereo16.wav", seedWave(2, 16));
    fuzz::writeFile(dir / "mono8.wav", seedWave(1, 8));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  WaveInfo info;
  auto reader = WaveFileReader::openBytes(bytes, info);
  fuzz::check((reader != nullptr) == (info.check == WaveCheck::Ok), "a reader exactly when Ok");
  if (!reader) return 0;
  fuzz::check(info.rate > 0 && info.frames >= 0, "a rate and a length");
  std::vector<std::int16_t> samples;
  std::vector<std::int16_t> block(4096);
  while (samples.size() < (1u << 20)) {
    const std::size_t n = reader->read(block);
    samples.insert(samples.end(), block.begin(), block.begin() + static_cast<long>(n));
    if (n < block.size()) break;
  }
  fuzz::check(samples.size() <= static_cast<std::size_t>(info.frames), "no more than the data");
  const std::string path = fuzz::scratch().file("copy.wav").string();
  auto writer = WaveFileWriter::create(path, info.rate);
  fuzz::check(writer && writer->write(samples) && writer->commit(), "the samples write");
  WaveInfo back;
  auto again = WaveFileReader::open(path, back);
  fuzz::check(
      again && back.rate == info.rate && back.frames == static_cast<std::int64_t>(samples.size()),
      "the written file checks with the same rate and length");
  std::vector<std::int16_t> read(samples.size() + 1);
  fuzz::check(again->read(read) == samples.size() &&
                  std::equal(samples.begin(), samples.end(), read.begin()),
              "and reads back the same samples");
  return 0;
}
