// The per-sample processing shared by both modes: the input goes into a
// circular delay line, every impulse reads it at its delay and adds its
// gain-weighted sample (a sparse delay-and-gain sum, f32), and the sum
// passes through the seven band filters whose outputs, weighted by the band
// gains, are added and truncated to 16 bits.
#pragma once

#include <cstdint>
#include <vector>

#include "auralization/band_filter.h"
#include "auralization/processing_setup.h"

namespace tav {

// 10 s of signed 16-bit samples at 22050 Hz, circular; the newest sample is
// written at `head`, a sample d steps older lies at head - d (wrapped).
class DelayLine {
 public:
  DelayLine() : samples_(DELAY_LINE_LENGTH, 0) {}
  void clear();
  void push(std::int16_t x) {
    head_ = head_ + 1 == DELAY_LINE_LENGTH ? 0 : head_ + 1;
    samples_[head_] = x;
  }
  std::int16_t at(std::int32_t delay) const {
    const std::int32_t i = head_ - delay;
    return samples_[i < 0 ? i + DELAY_LINE_LENGTH : i];
  }

 private:
  std::vector<std::int16_t> samples_;
  std::int32_t head_ = DELAY_LINE_LENGTH - 1;
};

// The impulses with their delays counted from the earliest impulse, where
// the newest sample is written, and their gains.
struct ImpulseTable {
  std::vector<std::int32_t> delays;
  std::vector<float> gains;
  static ImpulseTable from(const std::vector<Impulse>& impulses);
  std::size_t size() const { return delays.size(); }
};

// Output of the band sum: trunc(out) limited to -32767 .. 32767 (so -32768
// never appears); not-a-number gives 0.
std::int16_t limitOutput(float out);

class Auralizer {
 public:
  Auralizer(const ProcessingSetup& setup, float fs);

  // Sample counter 0, filter states 0, delay line zeroed.
  void reset();
  // One input sample to one output sample: the oracle of every fast path.
  std::int16_t processSample(std::int16_t x);
  // The band filters and the limit on a sum y computed elsewhere.
  std::int16_t filterSum(float y);

  const ImpulseTable& table() const { return table_; }
  const BandFilters& filters() const { return filters_; }
  std::int64_t samples() const { return samples_; }

 private:
  ImpulseTable table_;
  BandFilters filters_;
  DelayLine line_;
  std::int64_t samples_ = 0;
};

}  // namespace tav
