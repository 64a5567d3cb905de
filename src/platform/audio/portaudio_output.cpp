// The sound card through PortAudio. The device callbacks only copy samples
// and flip per-buffer flags: no locks, no allocation, no file access there.
#include <portaudio.h>
#include <sndfile.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/audio.h"

namespace tav {

namespace {

constexpr int WAVE_OUTPUT_BUFFERS = 3;

PaStream* openDefaultStream(int channels, int rate, PaStreamCallback* callback, void* user) {
  const PaDeviceIndex device = Pa_GetDefaultOutputDevice();
  if (device == paNoDevice) return nullptr;
  const PaDeviceInfo* info = Pa_GetDeviceInfo(device);
  if (!info || info->maxOutputChannels < channels) return nullptr;
  PaStreamParameters out{};
  out.device = device;
  out.channelCount = channels;
  out.sampleFormat = paInt16;
  out.suggestedLatency = info->defaultHighOutputLatency;
  PaStream* stream = nullptr;
  if (Pa_OpenStream(&stream, nullptr, &out, rate, paFramesPerBufferUnspecified, paNoFlag, callback,
                    user) != paNoError)
    return nullptr;
  return stream;
}

// Three buffers played in turn; a queued buffer is freed once played.
class PortAudioWaveOutput final : public WaveOutput {
 public:
  PortAudioWaveOutput(int rate, int capacity) {
    for (Slot& s : slots_) s.samples.assign(capacity, 0);
    stream_ = openDefaultStream(1, rate, &PortAudioWaveOutput::callback, this);
  }
  ~PortAudioWaveOutput() override {
    if (stream_) {
      Pa_AbortStream(stream_);
      Pa_CloseStream(stream_);
    }
  }

  bool ok() const { return stream_ != nullptr; }

  bool bufferFree(int index) override {
    return !slots_[index % WAVE_OUTPUT_BUFFERS].queued.load(std::memory_order_acquire);
  }

  bool queue(int index, std::span<const std::int16_t> samples) override {
    Slot& s = slots_[index % WAVE_OUTPUT_BUFFERS];
    if (!stream_ || s.queued.load(std::memory_order_acquire) || samples.size() > s.samples.size())
      return false;
    std::copy(samples.begin(), samples.end(), s.samples.begin());
    s.length = samples.size();
    s.queued.store(true, std::memory_order_release);
    if (!started_) {
      if (Pa_StartStream(stream_) != paNoError) return false;
      started_ = true;
    }
    return true;
  }

  void waitForBuffer(int milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

  void reset() override {
    if (stream_ && started_) Pa_AbortStream(stream_);
    started_ = false;
    playing_ = 0;
    position_ = 0;
    for (Slot& s : slots_) s.queued.store(false, std::memory_order_release);
  }

 private:
  struct Slot {
    std::vector<std::int16_t> samples;
    std::size_t length = 0;
    std::atomic<bool> queued{false};
  };

  static int callback(const void*, void* output, unsigned long frames,
                      const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* user) {
    auto* self = static_cast<PortAudioWaveOutput*>(user);
    auto* out = static_cast<std::int16_t*>(output);
    while (frames > 0) {
      Slot& s = self->slots_[self->playing_];
      if (!s.queued.load(std::memory_order_acquire)) {
        std::fill(out, out + frames, std::int16_t{0});  // underrun: silence
        break;
      }
      const std::size_t n = std::min<std::size_t>(frames, s.length - self->position_);
      std::copy(s.samples.begin() + self->position_, s.samples.begin() + self->position_ + n, out);
      out += n;
      frames -= n;
      self->position_ += n;
      if (self->position_ >= s.length) {
        self->position_ = 0;
        self->playing_ = (self->playing_ + 1) % WAVE_OUTPUT_BUFFERS;
        s.queued.store(false, std::memory_order_release);
      }
    }
    return paContinue;
  }

  PaStream* stream_ = nullptr;
  bool started_ = false;
  std::array<Slot, WAVE_OUTPUT_BUFFERS> slots_;
  // Touched by the callback only (and by reset after the stream stopped).
  int playing_ = 0;
  std::size_t position_ = 0;
};

// A whole sound file in memory, played once.
struct FilePlayback {
  std::vector<std::int16_t> samples;  // interleaved
  int channels = 1;
  std::size_t position = 0;  // callback only
  PaStream* stream = nullptr;

  static int callback(const void*, void* output, unsigned long frames,
                      const PaStreamCallbackTimeInfo*, PaStreamCallbackFlags, void* user) {
    auto* self = static_cast<FilePlayback*>(user);
    auto* out = static_cast<std::int16_t*>(output);
    const std::size_t wanted = frames * static_cast<std::size_t>(self->channels);
    const std::size_t n = std::min(wanted, self->samples.size() - self->position);
    std::copy(self->samples.begin() + self->position, self->samples.begin() + self->position + n,
              out);
    std::fill(out + n, out + wanted, std::int16_t{0});
    self->position += n;
    return self->position >= self->samples.size() ? paComplete : paContinue;
  }
};

class PortAudioOutput final : public AudioOutput {
 public:
  ~PortAudioOutput() override {
    stopSound();
    if (initialised_) Pa_Terminate();
  }

  std::unique_ptr<WaveOutput> openWaveOutput(int rate, int bufferSamples) override {
    if (!initialise()) return nullptr;
    auto output = std::make_unique<PortAudioWaveOutput>(rate, bufferSamples);
    if (!output->ok()) return nullptr;
    return output;
  }

  PlayResult playFile(const std::string& path) override {
    stopSound();
    if (!initialise() || Pa_GetDefaultOutputDevice() == paNoDevice) return PlayResult::NoDevice;
    auto playback = std::make_unique<FilePlayback>();
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return PlayResult::Unreadable;
    if (info.channels < 1 || info.frames < 0 || info.samplerate <= 0) {
      sf_close(file);
      return PlayResult::Unreadable;
    }
    playback->channels = info.channels;
    playback->samples.resize(static_cast<std::size_t>(info.frames) * info.channels);
    const sf_count_t got = sf_readf_short(file, playback->samples.data(), info.frames);
    sf_close(file);
    playback->samples.resize(static_cast<std::size_t>(std::max<sf_count_t>(got, 0)) *
                             info.channels);
    playback->stream =
        openDefaultStream(info.channels, info.samplerate, &FilePlayback::callback, playback.get());
    if (!playback->stream) return PlayResult::NoDevice;
    if (Pa_StartStream(playback->stream) != paNoError) {
      Pa_CloseStream(playback->stream);
      return PlayResult::NoDevice;
    }
    playing_ = std::move(playback);
    return PlayResult::Playing;
  }

  void stopSound() override {
    if (!playing_) return;
    Pa_AbortStream(playing_->stream);
    Pa_CloseStream(playing_->stream);
    playing_.reset();
  }

 private:
  bool initialise() {
    if (!tried_) {
      tried_ = true;
      initialised_ = Pa_Initialize() == paNoError;
    }
    return initialised_;
  }

  bool tried_ = false;
  bool initialised_ = false;
  std::unique_ptr<FilePlayback> playing_;
};

}  // namespace

std::unique_ptr<AudioOutput> createPortAudioOutput() { return std::make_unique<PortAudioOutput>(); }

}  // namespace tav
