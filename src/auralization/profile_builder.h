// Building an audio profile from evaluated reflection paths: the band
// spectrum and weights of the paths, the profile written by "APF" and the
// fuller temporary profile written for real-time listening ("RTA").
#pragma once

#include <array>
#include <string>
#include <vector>

#include "auralization/audio_profile.h"

namespace tav {

// One evaluated path as the profile needs it.
struct ProfilePath {
  float timeMs = 0;                  // arrival time (ms), as stored with the path
  ProfileBandValues energy{};        // linear band energies, at least 1.0
  std::array<float, 3> direction{};  // target minus the path's last point before it
};

// The room values of the evaluation the profile carries.
struct ProfileStats {
  float tMin = 0;                // earliest arrival time (ms)
  float maxLevelDb = 0;          // 10 log10 of the largest band energy (at least 1)
  ProfileBandValues rt{};        // reverberation time per band (s)
  ProfileBandValues earlyDb{};   // early level Ld per band (dB)
  ProfileBandValues reverbDb{};  // reverberant level Lr per band (dB)
};

// 21 frequencies, three per octave band, from 100 Hz in steps of 1.25.
constexpr int SPECTRUM_FREQUENCIES = 21;
constexpr float SPECTRUM_FIRST_HZ = 100.0f;
constexpr float SPECTRUM_STEP = 1.25f;

struct BandWeights {
  ProfileBandValues spectrum{};  // S_b, the largest 1
  ProfileBandValues weights{};   // w_b = S_b / sum S, summing to 1
  double normaliser = 0;         // N_w = the largest over paths of sum_b w_b E_b
};

// The band spectrum of the paths: per frequency the magnitude of the sum of
// E_b e^{i w t} with t in ms as stored (the phases follow from that unit).
BandWeights bandWeights(const std::vector<ProfilePath>& paths);

// Delay of a path after the earliest one (ms), never negative.
float profileDelay(const ProfilePath& path, float tMin);

// The "APF" profile: amplitude = largest band energy / E_max with
// E_max = 10^(maxLevel/10); one trailing record with the band spectrum.
AudioProfile buildAudioProfile(const std::vector<ProfilePath>& paths, const ProfileStats& stats,
                               const std::string& description, float listenAngle);

// The real-time profile: amplitude = (sum_b w_b E_b) / N_w; trailing records
// band spectrum, reverberation times, 10^((Lr_b - Ld_b)/10). Header without
// description or angle.
AudioProfile buildRealtimeProfile(const std::vector<ProfilePath>& paths, const ProfileStats& stats);

// Reads a listen angle as "%f" does: leading blanks, then the longest number
// (a decimal comma counts as a point); nothing read leaves 0.
float parseListenAngle(const std::string& text);

}  // namespace tav
