#include "auralization/processing_setup.h"

#include <algorithm>
#include <cmath>

#include "model/message.h"
#include "model/save_file.h"

namespace tav {

ProcessingSetup dryProcessingSetup() {
  ProcessingSetup setup;
  setup.impulses.push_back({0, 1.0f});
  return setup;
}

ProcessingSetup readProcessingProfile(const AudioProfile& profile, float fs, bool realtime,
                                      TailRandom& random) {
  ProcessingSetup setup;
  const std::size_t count = std::min(profile.paths.size(), IMPULSE_TABLE_CAPACITY);
  for (std::size_t i = 0; i < count; ++i) {
    const ImpulseRecord& r = profile.paths[i];
    const double samples = static_cast<double>(r.delayMs) * 0.001 * static_cast<double>(fs);
    // Negative, non-finite and too long delays have no place in the line.
    if (!(samples >= 0.0 && samples < DELAY_LINE_LENGTH)) continue;
    const float gain = r.values[0];
    if (!(gain >= IMPULSE_MIN_GAIN) || !std::isfinite(gain)) continue;
    setup.impulses.push_back({static_cast<std::int32_t>(samples), gain});
  }
  if (profile.trailing.size() >= 1) setup.bandGains = profile.trailing[0].values;
  if (realtime) {
    if (profile.trailing.size() >= 2) setup.reverbTimes = profile.trailing[1].values;
    if (profile.trailing.size() >= 3) setup.ratios = profile.trailing[2].values;
    setup.impulses = condenseImpulses(setup.impulses, setup.reverbTimes, setup.ratios, fs, random);
  }
  if (setup.impulses.empty()) {
    setup.impulses.push_back({0, 1.0f});
    setup.fellBackToDry = true;
  }
  return setup;
}

bool loadProcessingProfile(const std::string& path, float fs, bool realtime, ProcessingSetup& setup,
                           std::string& error) {
  const std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(path);
  if (!bytes) {
    error = MSG_CANT_LOCATE_FILE;
    return false;
  }
  const std::optional<AudioProfile> profile =
      decodeAudioProfile(*bytes, IMPULSE_TABLE_CAPACITY, realtime ? 3 : 1);
  if (!profile) {
    error = MSG_INVALID_PROFILE;
    return false;
  }
  TailRandom random;
  setup = readProcessingProfile(*profile, fs, realtime, random);
  return true;
}

std::vector<Impulse> condenseImpulses(const std::vector<Impulse>& impulses,
                                      const ProfileBandValues& reverbTimes,
                                      const ProfileBandValues& ratios, float fs,
                                      TailRandom& random) {
  const int blockLength = static_cast<int>(fs / 50.0f + 1.0f);
  std::array<double, CONDENSE_BLOCKS> energy{};
  std::array<std::int32_t, CONDENSE_BLOCKS> position{};
  std::array<bool, CONDENSE_BLOCKS> used{};
  int lastBlock = -1;
  for (const Impulse& imp : impulses) {
    const int k = imp.delay / blockLength;
    // Impulses past the 250 blocks (about 5 s) are left out.
    if (k >= CONDENSE_BLOCKS) continue;
    if (!used[k] || imp.delay < position[k]) position[k] = imp.delay;
    used[k] = true;
    energy[k] += imp.gain;
    lastBlock = std::max(lastBlock, k);
  }
  double late = 0;
  for (int k = 2; k <= lastBlock; ++k) late += energy[k];
  float rtMax = 0, ratioMax = 0;
  for (int b = 0; b < BAND_COUNT; ++b) {
    if (reverbTimes[b] > rtMax) rtMax = reverbTimes[b];
    if (ratios[b] > ratioMax) ratioMax = ratios[b];
  }
  const double x = ratioMax > late ? ratioMax : late;
  const double reference = (energy[0] + energy[1]) * (1.0 + x);
  // Synthetic tail above the last used block, every second block, from the
  // end down so that each block gets the decay between it and the next.
  if (rtMax > 0 && std::isfinite(rtMax)) {
    const double decay = std::pow(10.0, -(60.0 / rtMax) / 10.0);
    const int step = static_cast<int>(fs / 50.0f);
    double previous = 0;
    for (int k = CONDENSE_BLOCKS - 2; k > lastBlock; k -= 2) {
      const std::int32_t p =
          static_cast<std::int32_t>(random.next() * 2.0 * step / 32767.0) + step * k;
      const double e = reference * std::pow(decay, p / static_cast<double>(fs));
      if (p < DELAY_LINE_LENGTH && e > 1.0e-6) {
        energy[k] = e - previous;
        position[k] = p;
      }
      previous = e;
    }
  }
  const double largest = *std::max_element(energy.begin(), energy.end());
  std::vector<Impulse> out;
  if (!(largest > 0) || !std::isfinite(largest)) return out;
  for (int k = 0; k < CONDENSE_BLOCKS; ++k) {
    const double e = energy[k] / largest;
    if (e > 0) out.push_back({position[k], static_cast<float>(e)});
  }
  return out;
}

}  // namespace tav
