#include "auralization/auralizer.h"

#include <algorithm>
#include <cmath>

namespace tav {

void DelayLine::clear() {
  std::fill(samples_.begin(), samples_.end(), std::int16_t{0});
  head_ = DELAY_LINE_LENGTH - 1;
}

ImpulseTable ImpulseTable::from(const std::vector<Impulse>& impulses) {
  ImpulseTable t;
  if (impulses.empty()) return t;
  // The newest sample is written at the earliest impulse: the others follow
  // it by the difference of their delays.
  std::int32_t earliest = impulses.front().delay;
  for (const Impulse& i : impulses) earliest = std::min(earliest, i.delay);
  t.delays.reserve(impulses.size());
  t.gains.reserve(impulses.size());
  for (const Impulse& i : impulses) {
    t.delays.push_back(i.delay - earliest);
    t.gains.push_back(i.gain);
  }
  return t;
}

std::int16_t limitOutput(float out) {
  if (std::isnan(out)) return 0;
  if (out >= 32767.0f) return 32767;
  if (out <= -32767.0f) return -32767;
  return static_cast<std::int16_t>(out);
}

Auralizer::Auralizer(const ProcessingSetup& setup, float fs)
    : table_(ImpulseTable::from(setup.impulses)), filters_(makeBandFilters(fs, setup.bandGains)) {}

void Auralizer::reset() {
  samples_ = 0;
  for (BandFilter& f : filters_) f.clearState();
  line_.clear();
}

std::int16_t Auralizer::filterSum(float y) {
  float out = 0;
  for (BandFilter& f : filters_) out += f.step(y) * f.gain;
  ++samples_;
  return limitOutput(out);
}

std::int16_t Auralizer::processSample(std::int16_t x) {
  line_.push(x);
  float y = 0;
  const std::size_t n = table_.size();
  for (std::size_t i = 0; i < n; ++i)
    y += static_cast<float>(line_.at(table_.delays[i])) * table_.gains[i];
  return filterSum(y);
}

}  // namespace tav
