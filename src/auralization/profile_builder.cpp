#include "auralization/profile_builder.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace tav {

BandWeights bandWeights(const std::vector<ProfilePath>& paths) {
  std::array<double, SPECTRUM_FREQUENCIES> re{}, im{};
  std::array<float, SPECTRUM_FREQUENCIES> omega{};
  float f = SPECTRUM_FIRST_HZ;
  for (int k = 0; k < SPECTRUM_FREQUENCIES; ++k) {
    omega[k] = 6.28319f * f;
    f *= SPECTRUM_STEP;
  }
  for (const ProfilePath& p : paths) {
    for (int k = 0; k < SPECTRUM_FREQUENCIES; ++k) {
      const double e = p.energy[k / 3];
      const double phase = static_cast<double>(omega[k]) * static_cast<double>(p.timeMs);
      re[k] += e * std::cos(phase);
      im[k] += e * std::sin(phase);
    }
  }
  BandWeights out;
  double largest = 0;
  for (int b = 0; b < BAND_COUNT; ++b) {
    double s = 0;
    for (int k = 3 * b; k < 3 * b + 3; ++k) s += std::sqrt(re[k] * re[k] + im[k] * im[k]);
    out.spectrum[b] = static_cast<float>(s / 3.0);
    largest = std::max(largest, s / 3.0);
  }
  // No path (or no energy): a flat spectrum, equal weights.
  if (!(largest > 0)) {
    out.spectrum.fill(1.0f);
    largest = 1.0;
  } else {
    for (float& s : out.spectrum) s = static_cast<float>(s / largest);
  }
  double sum = 0;
  for (float s : out.spectrum) sum += s;
  for (int b = 0; b < BAND_COUNT; ++b) out.weights[b] = static_cast<float>(out.spectrum[b] / sum);
  for (const ProfilePath& p : paths) {
    double e = 0;
    for (int b = 0; b < BAND_COUNT; ++b) e += static_cast<double>(out.weights[b]) * p.energy[b];
    out.normaliser = std::max(out.normaliser, e);
  }
  return out;
}

float profileDelay(const ProfilePath& path, float tMin) {
  const float d = path.timeMs - tMin;
  return d > 0 ? d : 0.0f;
}

namespace {

ImpulseRecord pathRecord(const ProfilePath& p, float tMin, double amplitude) {
  ImpulseRecord r;
  r.delayMs = profileDelay(p, tMin);
  r.values[0] = static_cast<float>(amplitude);
  r.direction = p.direction;
  return r;
}

ImpulseRecord bandRecord(const ProfileBandValues& values) {
  ImpulseRecord r;
  r.values = values;
  return r;
}

}  // namespace

AudioProfile buildAudioProfile(const std::vector<ProfilePath>& paths, const ProfileStats& stats,
                               const std::string& description, float listenAngle) {
  const BandWeights weights = bandWeights(paths);
  AudioProfile profile;
  profile.header.description = description.substr(0, AUDIO_PROFILE_DESCRIPTION_SIZE - 1);
  profile.header.listenAngle = listenAngle;
  const double eMax = std::pow(10.0, stats.maxLevelDb / 10.0);
  for (const ProfilePath& p : paths) {
    const float largest = *std::max_element(p.energy.begin(), p.energy.end());
    profile.paths.push_back(pathRecord(p, stats.tMin, largest / eMax));
  }
  profile.trailing.push_back(bandRecord(weights.spectrum));
  return profile;
}

AudioProfile buildRealtimeProfile(const std::vector<ProfilePath>& paths,
                                  const ProfileStats& stats) {
  const BandWeights weights = bandWeights(paths);
  AudioProfile profile;
  for (const ProfilePath& p : paths) {
    double e = 0;
    for (int b = 0; b < BAND_COUNT; ++b) e += static_cast<double>(weights.weights[b]) * p.energy[b];
    profile.paths.push_back(
        pathRecord(p, stats.tMin, weights.normaliser > 0 ? e / weights.normaliser : 0.0));
  }
  ProfileBandValues ratio{};
  for (int b = 0; b < BAND_COUNT; ++b)
    ratio[b] = static_cast<float>(std::pow(10.0, (stats.reverbDb[b] - stats.earlyDb[b]) / 10.0));
  profile.trailing.push_back(bandRecord(weights.spectrum));
  profile.trailing.push_back(bandRecord(stats.rt));
  profile.trailing.push_back(bandRecord(ratio));
  return profile;
}

float parseListenAngle(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  std::string number = text.substr(i);
  std::replace(number.begin(), number.end(), ',', '.');
  const char* first = number.c_str();
  if (!number.empty() && number[0] == '+') ++first;
  float value = 0;
  const auto result = std::from_chars(first, number.c_str() + number.size(), value);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0.0f;
  return value;
}

}  // namespace tav
