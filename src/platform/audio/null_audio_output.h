// Audio output without a sound card, for tests: the wave-output device
// plays every queued buffer at once and records it; played files and stops
// are recorded. Without a device it behaves as a machine with no sound card.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/audio.h"

namespace tav {

struct NullAudioRecord {
  std::vector<std::vector<std::int16_t>> buffers;  // queued, in order
  std::vector<int> bufferIndexes;                  // the index each was queued as
  int deviceOpens = 0;
  int resets = 0;
  std::vector<std::string> playedFiles;
  int stops = 0;
};

class NullAudioOutput final : public AudioOutput {
 public:
  void setDeviceAvailable(bool on) { available_ = on; }
  const NullAudioRecord& record() const { return record_; }

  std::unique_ptr<WaveOutput> openWaveOutput(int rate, int bufferSamples) override;
  PlayResult playFile(const std::string& path) override;
  void stopSound() override { ++record_.stops; }

 private:
  bool available_ = true;
  NullAudioRecord record_;
};

}  // namespace tav
