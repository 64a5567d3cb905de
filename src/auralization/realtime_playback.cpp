#include "auralization/realtime_playback.h"

#include <algorithm>
#include <array>
#include <vector>

#include "auralization/auralizer.h"

namespace tav {

namespace {

// Wait step while the device plays, ms.
constexpr int POLL_MS = 10;

class RealtimeRun {
 public:
  RealtimeRun(const ProcessingSetup& setup, int inputRate, std::int64_t inputFrames,
              SampleSource& in, WaveOutput& device, const RealtimeCallbacks& callbacks)
      : auralizer_(setup, REALTIME_RATE),
        in_(in),
        device_(device),
        callbacks_(callbacks),
        length_(realtimeBufferLength(REALTIME_RATE)),
        inputFrames_(inputFrames) {
    report_.reduced = inputRate > REALTIME_RATE;
    auralizer_.reset();
    raw_.resize(static_cast<std::size_t>(length_) * 2);
    for (auto& b : buffers_) b.resize(length_);
    const std::int64_t data = report_.reduced ? inputFrames / 2 : inputFrames;
    progressBuffers_ =
        std::max<std::int64_t>(1, (data + 4 * static_cast<std::int64_t>(REALTIME_RATE)) / length_);
  }

  RealtimeReport run() {
    const double start = now();
    fill(0);
    fill(1);
    if (now() - start > REALTIME_SPEED_LIMIT_MS && callbacks_.tooSlow) callbacks_.tooSlow();
    if (!queue(0) || !queue(1)) return finish();
    int next = 2;
    while (tailFilled_ < REALTIME_TAIL_BUFFERS) {
      const int slot = next % REALTIME_BUFFERS;
      if (!waitFree(slot)) return finish();
      fill(slot);
      if (!queue(slot)) return finish();
      ++next;
      if (cancelled()) return finish();
    }
    // Let the device play what is queued before it is reset.
    for (int slot = 0; slot < REALTIME_BUFFERS; ++slot)
      if (!waitFree(slot)) return finish();
    return finish();
  }

 private:
  double now() const { return callbacks_.nowMs ? callbacks_.nowMs() : 0.0; }

  bool cancelled() {
    const int percent = static_cast<int>(
        std::min<std::int64_t>(100, report_.buffersQueued * 100 / progressBuffers_));
    if (callbacks_.progress && callbacks_.progress(percent)) {
      report_.status = RealtimeStatus::Cancelled;
      return true;
    }
    return false;
  }

  bool waitFree(int slot) {
    while (!device_.bufferFree(slot)) {
      if (cancelled()) return false;
      device_.waitForBuffer(POLL_MS);
    }
    return true;
  }

  // L processed samples: input while it lasts, then processed silence.
  void fill(int slot) {
    std::vector<std::int16_t>& buffer = buffers_[slot];
    if (consumed_ >= inputFrames_) inputEnded_ = true;
    if (inputEnded_) ++tailFilled_;
    int n = 0;
    if (!inputEnded_) {
      const int factor = report_.reduced ? 2 : 1;
      const std::int64_t want = std::min<std::int64_t>(static_cast<std::int64_t>(length_) * factor,
                                                       inputFrames_ - consumed_);
      const std::size_t got = in_.read(std::span<std::int16_t>(raw_.data(), want));
      consumed_ += static_cast<std::int64_t>(got);
      n = static_cast<int>(report_.reduced ? got / 2 : got);
      for (int i = 0; i < n; ++i) {
        const std::int16_t x =
            report_.reduced ? averagePair(raw_[2 * i], raw_[2 * i + 1]) : raw_[i];
        buffer[i] = auralizer_.processSample(x);
      }
      if (got < static_cast<std::size_t>(want) || in_.failed() || consumed_ >= inputFrames_)
        inputEnded_ = true;
      ++report_.inputBuffers;
    }
    for (int i = n; i < length_; ++i) buffer[i] = auralizer_.processSample(0);
  }

  bool queue(int slot) {
    if (!device_.queue(slot, buffers_[slot])) {
      report_.status = RealtimeStatus::DeviceFailed;
      return false;
    }
    ++report_.buffersQueued;
    return true;
  }

  RealtimeReport finish() {
    device_.reset();
    return report_;
  }

  Auralizer auralizer_;
  SampleSource& in_;
  WaveOutput& device_;
  const RealtimeCallbacks& callbacks_;
  int length_;
  std::int64_t inputFrames_;
  std::int64_t consumed_ = 0;
  std::int64_t progressBuffers_ = 1;
  bool inputEnded_ = false;
  int tailFilled_ = 0;
  std::vector<std::int16_t> raw_;
  std::array<std::vector<std::int16_t>, REALTIME_BUFFERS> buffers_;
  RealtimeReport report_;
};

}  // namespace

RealtimeReport playRealtimeSamples(const ProcessingSetup& setup, int inputRate,
                                   std::int64_t inputFrames, SampleSource& in, WaveOutput& device,
                                   const RealtimeCallbacks& callbacks) {
  return RealtimeRun(setup, inputRate, inputFrames, in, device, callbacks).run();
}

}  // namespace tav
