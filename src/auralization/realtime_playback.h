// The real-time mode without its windows: the recording is processed at
// 22050 Hz with the condensed impulses and played through three buffers of
// 0.2 s, followed by 4 s of processed silence (the reverberant tail).
#pragma once

#include <cstdint>
#include <functional>

#include "auralization/processing_setup.h"
#include "auralization/sample_stream.h"
#include "auralization/wave_output.h"

namespace tav {

constexpr float REALTIME_RATE = 22050.0f;
constexpr int REALTIME_BUFFERS = 3;
constexpr int REALTIME_TAIL_BUFFERS = 20;
// Filling the first two buffers (0.4 s of sound) may take this long.
constexpr double REALTIME_SPEED_LIMIT_MS = 350.0;

inline constexpr const char* MSG_SPEED_TOO_SLOW = "Can\u00B4t play uninterrupted audio";
inline constexpr const char* CAPTION_SPEED_TOO_SLOW = "PC speed too slow";
inline constexpr const char* MSG_NO_SOUND_DEVICE = "Sound output device not available";

// Samples per buffer: trunc(fs / 5), 4410 at 22050 Hz.
inline int realtimeBufferLength(float fs) { return static_cast<int>(fs / 5.0f); }

struct RealtimeCallbacks {
  // Percent of the buffers queued; returns true to cancel.
  std::function<bool(int percent)> progress;
  // A monotonic clock in milliseconds (for the speed check).
  std::function<double()> nowMs;
  // Filling the first two buffers took longer than the limit.
  std::function<void()> tooSlow;
};

enum class RealtimeStatus { Completed, Cancelled, DeviceFailed };

struct RealtimeReport {
  RealtimeStatus status = RealtimeStatus::Completed;
  int buffersQueued = 0;
  int inputBuffers = 0;  // buffers holding input samples (the last one padded)
  bool reduced = false;
};

// Plays `inputFrames` samples at `inputRate` from `in` through `device`.
// The buffer in which the input ends is padded with processed silence and
// queued; then 20 buffers of processed silence follow. Waits until the
// device has played every buffer (unless cancelled), then resets it.
RealtimeReport playRealtimeSamples(const ProcessingSetup& setup, int inputRate,
                                   std::int64_t inputFrames, SampleSource& in, WaveOutput& device,
                                   const RealtimeCallbacks& callbacks);

}  // namespace tav
