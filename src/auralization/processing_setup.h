// What a processing run takes from the profile: the impulses (delay in
// samples and gain, in table order), the band gains, and for the real-time
// mode the reverberation data from which condenseImpulses builds 20 ms
// blocks and a synthetic tail.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "auralization/audio_profile.h"

namespace tav {

// The delay line holds 10 s at 22050 Hz; impulses must lie within it.
constexpr std::int32_t DELAY_LINE_LENGTH = 220500;
constexpr std::size_t IMPULSE_TABLE_CAPACITY = 10000;
constexpr float IMPULSE_MIN_GAIN = 1.0e-6f;
// Real-time defaults per band until the profile replaces them.
constexpr float REALTIME_DEFAULT_RT = 0.001f;
constexpr float REALTIME_DEFAULT_RATIO = 0.0f;
// condenseImpulses: 250 blocks of fs/50 + 1 samples (442 at 22050 Hz).
constexpr int CONDENSE_BLOCKS = 250;

inline constexpr const char* MSG_NO_PROFILE = "No processing profile loaded yet";
inline constexpr const char* CAPTION_PLAYING_DRY = "Playing 'dry'";

struct Impulse {
  std::int32_t delay = 0;  // samples, 0 .. DELAY_LINE_LENGTH - 1
  float gain = 0;
};

struct ProcessingSetup {
  std::vector<Impulse> impulses;
  ProfileBandValues bandGains;
  ProfileBandValues reverbTimes;
  ProfileBandValues ratios;
  // Every record of the profile was dropped: the dry impulse stands in.
  bool fellBackToDry = false;
  ProcessingSetup() {
    bandGains.fill(1.0f);
    reverbTimes.fill(REALTIME_DEFAULT_RT);
    ratios.fill(REALTIME_DEFAULT_RATIO);
  }
};

// The run's generator for the tail positions: uniform integers 0 .. 32767
// from a fixed seed, the same sequence on every machine.
class TailRandom {
 public:
  explicit TailRandom(std::uint32_t seed = 1) : state_(seed) {}
  int next() {
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<int>((state_ / 65536u) % 32768u);
  }

 private:
  std::uint32_t state_;
};

// No profile: one impulse of delay 0 and gain 1.
ProcessingSetup dryProcessingSetup();

// Impulses from the path records (delay trunc(ms * 0.001 * fs); a record is
// kept when its delay lies in 0 .. 220499 and its amplitude is finite and at
// least 1e-6), then the trailing records: band gains, and in the real-time
// mode reverberation times and ratios, followed by condenseImpulses. With no
// impulse left the dry impulse is used.
ProcessingSetup readProcessingProfile(const AudioProfile& profile, float fs, bool realtime,
                                      TailRandom& random);

// Reads the profile file at `path` for a run: trailing records as the mode
// takes them, the tail from a generator seeded alike on every run. False
// with the message in `error` when it is missing ("Can´t locate file") or
// not a profile ("Invalid file, can´t load").
bool loadProcessingProfile(const std::string& path, float fs, bool realtime, ProcessingSetup& setup,
                           std::string& error);

// The real-time reduction of the impulse list to at most 250 impulses:
// per 20 ms block the summed gains at the block's earliest delay, and above
// the last used block a synthetic decay built from the largest reverberation
// time and reverberant-to-direct ratio; normalised so the largest is 1.
std::vector<Impulse> condenseImpulses(const std::vector<Impulse>& impulses,
                                      const ProfileBandValues& reverbTimes,
                                      const ProfileBandValues& ratios, float fs,
                                      TailRandom& random);

}  // namespace tav
