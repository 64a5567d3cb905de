// Streams of 16-bit mono samples the processing reads and writes; the
// platform layer implements them on WAV files, tests on memory.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tav {

class SampleSource {
 public:
  virtual ~SampleSource() = default;
  // Up to out.size() samples; fewer only at the end of the data or on a
  // read failure (then failed() is true).
  virtual std::size_t read(std::span<std::int16_t> out) = 0;
  virtual bool failed() const { return false; }
};

class SampleSink {
 public:
  virtual ~SampleSink() = default;
  // False when the samples could not be written.
  virtual bool write(std::span<const std::int16_t> samples) = 0;
};

// The average of a sample pair as the 2:1 reduction takes it (toward zero).
inline std::int16_t averagePair(std::int16_t a, std::int16_t b) {
  return static_cast<std::int16_t>((static_cast<int>(a) + static_cast<int>(b)) / 2);
}

// Memory streams (the command line's tests and the benchmarks).
class MemorySampleSource : public SampleSource {
 public:
  explicit MemorySampleSource(std::span<const std::int16_t> samples) : samples_(samples) {}
  std::size_t read(std::span<std::int16_t> out) override {
    const std::size_t n = std::min(out.size(), samples_.size() - pos_);
    for (std::size_t i = 0; i < n; ++i) out[i] = samples_[pos_ + i];
    pos_ += n;
    return n;
  }

 private:
  std::span<const std::int16_t> samples_;
  std::size_t pos_ = 0;
};

class MemorySampleSink : public SampleSink {
 public:
  bool write(std::span<const std::int16_t> samples) override {
    samples_.insert(samples_.end(), samples.begin(), samples.end());
    return true;
  }
  const std::vector<std::int16_t>& samples() const { return samples_; }

 private:
  std::vector<std::int16_t> samples_;
};

}  // namespace tav
