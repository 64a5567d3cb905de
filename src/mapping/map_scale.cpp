#include "mapping/map_scale.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "model/number_text.h"

namespace tav {

namespace {

constexpr double AUTO_STEPS = 16.0;
constexpr int LEVEL_STEPS[3] = {1, 2, 3};
constexpr int TIME_STEPS[3] = {5, 10, 30};
constexpr int STI_STEPS[3] = {2, 5, 10};
constexpr int STI_AUTO_STEP = 5;

// The mode's band function of one energy value.
double bandFunction(int mode, double e, const ReverberantField& field, int band,
                    const DiagnosticSink& diag) {
  switch (mode) {
    case MAP_MODE_LT:
      return ltOf(e, field.energy[band]);
    case MAP_MODE_STI:
    case MAP_MODE_STI_EXPORT:
      return 100.0 * mtiOf(e, field.energy[band], field.rt[band], diag);
    case MAP_MODE_LDLR:
      return ldLrOf(e, field.energy[band]);
    default:
      return ldOf(e);
  }
}

// Down below a fraction of one half, else up; 0 for what is not a number.
int roundScale(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::clamp(std::floor(v + 0.5), -1e9, 1e9));
}

int fixedStep(const int (&steps)[3], int index) { return steps[std::clamp(index, 0, 2)]; }

}  // namespace

bool isStiMode(int mode) { return mode == MAP_MODE_STI || mode == MAP_MODE_STI_EXPORT; }

bool modeNeedsRoom(int mode) { return mode != MAP_MODE_LD && mode != MAP_MODE_TIME; }

double mapPointValue(const MapPoint& p, int mode, int band, const ReverberantField& field,
                     const DiagnosticSink& diag) {
  const bool all = band < 0 || band >= BAND_COUNT;
  switch (mode) {
    case MAP_MODE_LT:
      return all ? ltAll(p.energy, field) : lt(p.energy, field, band);
    case MAP_MODE_TIME:
      return all ? t0All(p.t0) : p.t0[band];
    case MAP_MODE_STI:
    case MAP_MODE_STI_EXPORT:
      return all ? stiAll(p.energy, field, diag) : stiBand(p.energy, field, band, diag);
    case MAP_MODE_LDLR:
      return all ? ldLrAll(p.energy, field) : ldLr(p.energy, field, band);
    default:
      return all ? ldAll(p.energy) : ld(p.energy, band);
  }
}

MapScale mapScale(const LevelMap& map, int mode, int band, int stepIndex,
                  const ReverberantField& field, const DiagnosticSink& diag) {
  const bool all = band < 0 || band >= BAND_COUNT;
  // The bands that take part: the one shown, or for all bands those some
  // loudspeaker serves (a band nobody serves has no meaningful bounds).
  std::optional<double> top, bottom;
  for (int b = 0; b < BAND_COUNT; ++b) {
    if (all ? map.bandCounts[b] == 0 : b != band) continue;
    double hi, lo;
    if (mode == MAP_MODE_TIME) {
      hi = map.bounds.tmax[b];
      lo = map.bounds.tmin[b];
    } else {
      hi = bandFunction(mode, map.bounds.emax[b], field, b, diag);
      lo = bandFunction(mode, map.bounds.emin[b], field, b, diag);
    }
    top = top ? std::max(*top, hi) : hi;
    bottom = bottom ? std::min(*bottom, lo) : lo;
  }
  double t = top.value_or(0), u = bottom.value_or(0);
  if (isStiMode(mode)) {
    t = std::min(t, static_cast<double>(MAP_STI_TOP_LIMIT));
    if (all) u = std::max(u, 0.0);
  }

  MapScale s;
  s.top = roundScale(t);
  s.bottom = roundScale(u);
  const bool automatic = stepIndex < 0;
  const double range = static_cast<double>(s.top) - s.bottom;
  if (mode == MAP_MODE_TIME) {
    s.step = automatic ? static_cast<int>(std::ceil(range / AUTO_STEPS))
                       : fixedStep(TIME_STEPS, stepIndex);
  } else if (isStiMode(mode)) {
    if (automatic) {
      s.step = STI_AUTO_STEP;
    } else {
      s.step = fixedStep(STI_STEPS, stepIndex);
      s.top = static_cast<int>(std::floor(static_cast<double>(s.top) / s.step)) * s.step;
    }
  } else {
    s.step = automatic ? static_cast<int>(range / AUTO_STEPS) : fixedStep(LEVEL_STEPS, stepIndex);
    if ((mode == MAP_MODE_LD || mode == MAP_MODE_LT) && s.bottom < 0) s.bottom = 0;
  }
  s.step = std::max(s.step, 1);
  return s;
}

int mapCellColour(double value, const MapScale& scale, int mode) {
  const double d = mode == MAP_MODE_TIME ? value - scale.bottom : scale.top - value;
  const double steps = d / scale.step;
  if (!(steps == steps)) return MAP_COLOUR_LOW;  // not a number
  const double k = std::nearbyint(std::clamp(steps, -100.0, 100.0));
  return std::clamp(MAP_COLOUR_HIGH - static_cast<int>(k), MAP_COLOUR_LOW, MAP_COLOUR_HIGH);
}

std::vector<std::string> mapLegendLabels(const MapScale& s, int mode) {
  std::vector<std::string> labels(MAP_LEGEND_ROWS);
  for (int i = 0; i < MAP_LEGEND_ROWS; ++i) {
    if (mode == MAP_MODE_TIME) {
      const long long v = static_cast<long long>(s.bottom) + static_cast<long long>(i) * s.step;
      if (v < static_cast<long long>(s.top) + s.step) labels[i] = formatInt(v, 3);
    } else {
      const long long v = static_cast<long long>(s.top) - static_cast<long long>(i) * s.step;
      if (v <= static_cast<long long>(s.bottom) - s.step) continue;
      if (!isStiMode(mode)) {
        labels[i] = formatInt(v, 3);
      } else {
        std::string text = formatFixed(static_cast<double>(v) / 100.0, 3, 1);
        // ".850" rather than "0.850".
        if (text.rfind("0.", 0) == 0) text.erase(0, 1);
        if (text.rfind("-0.", 0) == 0) text.erase(1, 1);
        labels[i] = text;
      }
    }
  }
  return labels;
}

std::string singlePointLabel(double value, int mode) {
  return formatFixed(isStiMode(mode) ? value * 0.01 : value, 2, 3);
}

}  // namespace tav
