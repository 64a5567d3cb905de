// The wave-output device as the real-time mode uses it: a fixed number of
// buffers, queued in turn (0, 1, 2, 0, ...) and played in that order; the
// device marks a buffer free when it has been played. The platform layer
// implements it on PortAudio; tests use a device that plays at once.
#pragma once

#include <cstdint>
#include <span>

namespace tav {

class WaveOutput {
 public:
  virtual ~WaveOutput() = default;
  // True when buffer `index` may be filled (not queued, or played).
  virtual bool bufferFree(int index) = 0;
  // Hands the samples of buffer `index` to the device (copied); false when
  // the device refused them.
  virtual bool queue(int index, std::span<const std::int16_t> samples) = 0;
  // Blocks until a buffer may have been freed, at most `milliseconds`.
  virtual void waitForBuffer(int milliseconds) = 0;
  // Stops playing at once; every buffer becomes free.
  virtual void reset() = 0;
};

}  // namespace tav
