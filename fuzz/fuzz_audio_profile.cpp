// Audio profiles (.TAP): any bytes are refused or give a run set-up whose
// impulses fit the delay line and table, in both modes; a profile read back
// from its own bytes is the same profile.
#include <cmath>
#include <cstdint>
#include <span>

#include "auralization/audio_profile.h"
#include "auralization/auralizer.h"
#include "auralization/processing_setup.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace tav;

std::vector<std::uint8_t> seedProfile(int trailing) {
  AudioProfile p;
  p.header.description = "seed";
  p.paths.push_back({0, {1, 0, 0, 0, 0, 0, 0}, {1, 2, 3}});
  p.paths.push_back({12.5f, {0.25f, 0, 0, 0, 0, 0, 0}, {0, 0, 1}});
  for (int i = 0; i < trailing; ++i) p.trailing.push_back({0, {1, 0.5f, 2, 1, 1, 1, 0.1f}, {}});
  return encodeAudioProfile(p);
}

void checkSetup(const ProcessingSetup& s, bool realtime) {
  fuzz::check(!s.impulses.empty(), "at least one impulse (the dry one)");
  fuzz::check(
      s.impulses.size() <= (realtime ? std::size_t(CONDENSE_BLOCKS) : IMPULSE_TABLE_CAPACITY),
      "the table's capacity");
  for (const Impulse& i : s.impulses) {
    fuzz::check(i.delay >= 0 && i.delay < DELAY_LINE_LENGTH, "delays inside the line");
    fuzz::check(std::isfinite(i.gain) && i.gain > 0, "finite positive gains");
  }
  Auralizer a(s, realtime ? 22050.0f : 44100.0f);
  a.reset();
  for (int n = 0; n < 16; ++n) (void)a.processSample(static_cast<std::int16_t>(n * 4000 - 32768));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::writeSeedsIfAsked([](const std::filesystem::path& dir) {
    fuzz::writeFile(dir / "apf.TAP", seedProfile(1));
    fuzz::writeFile(dir / "rta.TAP", seedProfile(3));
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  const auto profile = decodeAudioProfile(bytes, IMPULSE_TABLE_CAPACITY, 3);
  fuzz::check(profile.has_value() == hasAudioProfileMagic(bytes), "the magic decides");
  if (!profile) return 0;
  for (bool realtime : {false, true}) {
    TailRandom random;
    checkSetup(readProcessingProfile(*profile, realtime ? 22050.0f : 44100.0f, realtime, random),
               realtime);
  }
  // Written again, the profile reads back the same (its count now exact).
  const std::vector<std::uint8_t> again = encodeAudioProfile(*profile);
  const auto back = decodeAudioProfile(again, IMPULSE_TABLE_CAPACITY, 3);
  fuzz::check(back && back->paths.size() == profile->paths.size() &&
                  back->trailing.size() == profile->trailing.size(),
              "a written profile reads back whole");
  fuzz::check(encodeAudioProfile(*back) == again, "and writes the same bytes");
  return 0;
}
