#include "speakers/equalizer_state.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/number_text.h"
#include "speakers/speaker_power.h"

namespace tav {

EqualizerState::EqualizerState(EqualizerMode mode, const std::array<double, BAND_COUNT>& values)
    : mode_(mode) {
  for (int b = 0; b < BAND_COUNT; ++b) values_[b] = clamp(values[b]);
  updateMaster();
}

double EqualizerState::lowerLimit() const { return mode_ == EqualizerMode::Gain ? -100.0 : 0.0; }
double EqualizerState::upperLimit() const { return mode_ == EqualizerMode::Gain ? 0.0 : 10.0; }

double EqualizerState::clamp(double v) const {
  if (std::isnan(v)) return lowerLimit();
  return std::min(upperLimit(), std::max(lowerLimit(), v));
}

void EqualizerState::updateMaster() { master_ = *std::max_element(values_.begin(), values_.end()); }

void EqualizerState::setBand(int b, double value) {
  if (b < 0 || b >= BAND_COUNT) return;
  values_[b] = clamp(value);
  updateMaster();
}

void EqualizerState::setMaster(double value) {
  double delta = clamp(value) - master_;
  const double lowest = *std::min_element(values_.begin(), values_.end());
  if (lowest + delta < lowerLimit()) delta = lowerLimit() - lowest;
  if (delta == 0) return;
  for (double& v : values_) v = clamp(v + delta);
  updateMaster();
}

void EqualizerState::scroll(int bar, EqualizerScroll action, int thumb) {
  const bool gain = mode_ == EqualizerMode::Gain;
  const double line = gain ? 1.0 : 0.1, page = gain ? 10.0 : 1.0;
  const double current = valueAt(bar);
  double v = current;
  switch (action) {
    case EqualizerScroll::LineUp:
      v = current + line;
      break;
    case EqualizerScroll::LineDown:
      v = current - line;
      break;
    case EqualizerScroll::PageUp:
      v = current + page;
      break;
    case EqualizerScroll::PageDown:
      v = current - page;
      break;
    case EqualizerScroll::Thumb: {
      const int pos = std::clamp(thumb, 0, EQ_BAR_RANGE);
      v = gain ? -pos : (EQ_BAR_RANGE - pos) / 10.0;
      break;
    }
    case EqualizerScroll::Top:
      v = upperLimit();
      break;
    case EqualizerScroll::Bottom:
      v = lowerLimit();
      break;
  }
  if (bar == EQ_MASTER)
    setMaster(v);
  else
    setBand(bar, v);
}

int EqualizerState::barPosition(int bar) const {
  const double v = valueAt(bar);
  const double pos = mode_ == EqualizerMode::Gain ? -v : EQ_BAR_RANGE - 10.0 * v;
  return static_cast<int>(std::lround(pos));
}

std::string EqualizerState::text(int bar) const {
  return formatNumber("%2.1lf", valueAt(bar) + offsets_[bar]);
}

double EqualizerState::summary() const {
  if (mode_ == EqualizerMode::Gain) return totalDrive(values_);
  double sum = 0;
  for (double v : values_) sum += v;
  return sum / BAND_COUNT;
}

std::string EqualizerState::summaryText() const { return formatNumber("%2.1lf", summary()); }

const char* EqualizerState::title() const {
  return mode_ == EqualizerMode::Gain ? "Equalizer" : "RT 60";
}
const char* EqualizerState::unitLabel() const { return mode_ == EqualizerMode::Gain ? "dB" : " s"; }
const char* EqualizerState::summaryLabel() const {
  return mode_ == EqualizerMode::Gain ? "total" : "mean";
}

}  // namespace tav
