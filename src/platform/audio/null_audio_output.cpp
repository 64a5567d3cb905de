#include "platform/audio/null_audio_output.h"

namespace tav {

namespace {

class NullWaveOutput final : public WaveOutput {
 public:
  explicit NullWaveOutput(NullAudioRecord& record) : record_(record) {}
  bool bufferFree(int) override { return true; }
  bool queue(int index, std::span<const std::int16_t> samples) override {
    record_.buffers.emplace_back(samples.begin(), samples.end());
    record_.bufferIndexes.push_back(index);
    return true;
  }
  void waitForBuffer(int) override {}
  void reset() override { ++record_.resets; }

 private:
  NullAudioRecord& record_;
};

}  // namespace

std::unique_ptr<WaveOutput> NullAudioOutput::openWaveOutput(int, int) {
  if (!available_) return nullptr;
  ++record_.deviceOpens;
  return std::make_unique<NullWaveOutput>(record_);
}

PlayResult NullAudioOutput::playFile(const std::string& path) {
  stopSound();
  if (!available_) return PlayResult::NoDevice;
  if (checkInputWave(path).check == WaveCheck::Unreadable) return PlayResult::Unreadable;
  record_.playedFiles.push_back(path);
  return PlayResult::Playing;
}

}  // namespace tav
