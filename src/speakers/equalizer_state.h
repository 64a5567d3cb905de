// The values behind the equalizer dialog: seven bands and a master, their
// limits, the scroll-bar positions and actions, and the display offsets of
// the common equalization. The dialog itself only shows this state.
#pragma once

#include <array>
#include <string>

#include "speakers/speaker_type.h"

namespace tav {

enum class EqualizerMode { Gain, ReverbTime };  // dB 0..-100, or seconds 0..10

enum class EqualizerScroll { LineUp, LineDown, PageUp, PageDown, Thumb, Top, Bottom };

constexpr int EQ_MASTER = BAND_COUNT;  // index of the master bar
constexpr int EQ_BAR_RANGE = 100;      // scroll positions 0..100

class EqualizerState {
 public:
  // Values pass through the limits; the master starts at the largest band.
  EqualizerState(EqualizerMode mode, const std::array<double, BAND_COUNT>& values);

  EqualizerMode mode() const { return mode_; }
  double band(int b) const { return values_[b]; }
  double master() const { return master_; }
  const std::array<double, BAND_COUNT>& values() const { return values_; }

  double lowerLimit() const;
  double upperLimit() const;
  double clamp(double v) const;

  // Changing one band: clamped, then the master follows the largest band.
  void setBand(int b, double value);
  // Moving the master moves every band by the same amount, reduced so that
  // the lowest band stays at or above the lower limit (and the master at or
  // below the upper one). A change reduced to zero does nothing.
  void setMaster(double value);
  // Index 0..6 a band, EQ_MASTER the master; `thumb` is the dragged position.
  void scroll(int bar, EqualizerScroll action, int thumb = 0);

  int barPosition(int bar) const;
  double valueAt(int bar) const { return bar == EQ_MASTER ? master_ : values_[bar]; }

  // Display offsets: the edits show value + offset; bars and values stay absolute.
  void setDisplayOffset(int bar, double offset) { offsets_[bar] = offset; }
  std::string text(int bar) const;  // "%2.1lf" of value + offset
  // "total" (dB) or "mean" (s) of the seven bands, and its text.
  double summary() const;
  std::string summaryText() const;

  const char* title() const;         // "Equalizer" / "RT 60"
  const char* unitLabel() const;     // "dB" / " s"
  const char* summaryLabel() const;  // "total" / "mean"

 private:
  void updateMaster();

  EqualizerMode mode_;
  std::array<double, BAND_COUNT> values_{};
  double master_ = 0;
  std::array<double, BAND_COUNT + 1> offsets_{};
};

}  // namespace tav
