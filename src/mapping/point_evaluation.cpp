#include "mapping/point_evaluation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/number_text.h"
#include "model/project.h"
#include "speakers/placed_speaker.h"
#include "speakers/project_speaker_types.h"

namespace tav {

namespace {

constexpr double FOUR_PI = 12.566370616;
constexpr double TWO_PI = 6.283185308;
constexpr double LOG_GUARD = 1e-12;
// Er = P 4 1.047 / (0.161 V / RT).
constexpr double REVERBERANT_FACTOR = 4 * 1.047;
constexpr double SABINE_CONSTANT = 0.161;
// A room of at most this volume (m³) has no reverberant field.
constexpr double REVERBERANT_MIN_VOLUME = 1.0;
constexpr double SNR_LIMIT = 15.0;

bool validBand(int band) { return band >= 0 && band < BAND_COUNT; }

}  // namespace

void diagnosticToStderr(std::string_view line) { std::fwrite(line.data(), 1, line.size(), stderr); }

ReverberantField reverberantEnergy(const Project& project) {
  ReverberantField f;
  BandValues squares{};
  for (const ModelObject& o : project.objects) {
    const auto s = speakerOf(o);
    if (!s || !s->isOn()) continue;
    const SpeakerType* type = speakerTypeOf(project, *s);
    if (!type) continue;
    for (int b = 0; b < BAND_COUNT; ++b) {
      const double p = s->acousticFactor[b] * FOUR_PI / (type->directivityFactor[b] / 10.0 + 1e-6);
      squares[b] += p * p;
    }
  }
  const ReverbResult room = computeReverberation(project);
  f.method = room.method;
  f.volume = room.volume;
  for (int b = 0; b < BAND_COUNT; ++b) {
    f.power[b] = std::sqrt(squares[b]);
    const std::optional<double> rt = room.rt60[b];
    f.rt[b] = rt && std::isfinite(*rt) ? *rt : 0.0;
    if (f.volume <= REVERBERANT_MIN_VOLUME || !rt || !std::isfinite(*rt) || *rt <= 0)
      f.energy[b] = 1.0;
    else
      f.energy[b] = f.power[b] * REVERBERANT_FACTOR / (SABINE_CONSTANT * f.volume / *rt);
  }
  return f;
}

double ldOf(double e) { return 10.0 * std::log10(e); }

double ltOf(double e, double er) {
  return 10.0 * std::log10(std::sqrt(e * e + er * er) + LOG_GUARD);
}

double ldLrOf(double e, double er) { return 10.0 * std::log10(e / (er + 1.0)); }

double mtiOf(double ed, double er, double rt, const DiagnosticSink& diag) {
  double sum = 0;
  for (std::size_t i = 0; i < MODULATION_FREQUENCIES.size(); ++i) {
    const double x = TWO_PI * MODULATION_FREQUENCIES[i] * rt / 13.8;
    const double d = 1.0 + x * x;
    const double re = ed + er / d, im = er * x / d;
    const double m = std::sqrt(re * re + im * im) / (ed + er);
    if (m > 0 && m < 1) {
      const double snr = std::clamp(10.0 * std::log10(m / (1.0 - m)), -SNR_LIMIT, SNR_LIMIT);
      sum += (snr + SNR_LIMIT) / (2 * SNR_LIMIT);
    } else if (diag) {
      diag(std::string(DIAG_MTI_OUT_OF_RANGE_PREFIX) + std::to_string(i) +
           DIAG_MTI_OUT_OF_RANGE_SUFFIX);
    }
  }
  return sum / static_cast<double>(MODULATION_FREQUENCIES.size());
}

double ld(const BandFloats& e, int band) { return validBand(band) ? ldOf(e[band]) : 0.0; }

double ldAll(const BandFloats& e) {
  double sum = 0;
  for (float v : e) sum += v;
  return 10.0 * std::log10(sum + 0.001);
}

double lt(const BandFloats& e, const ReverberantField& field, int band) {
  return validBand(band) ? ltOf(e[band], field.energy[band]) : 0.0;
}

double ltAll(const BandFloats& e, const ReverberantField& field) {
  double sum = 0;
  for (int b = 0; b < BAND_COUNT; ++b) {
    const double x = e[b], r = field.energy[b];
    sum += std::sqrt(x * x + r * r);
  }
  return 10.0 * std::log10(sum + LOG_GUARD);
}

double ldLr(const BandFloats& e, const ReverberantField& field, int band) {
  return validBand(band) ? ldLrOf(e[band], field.energy[band]) : 0.0;
}

double ldLrAll(const BandFloats& e, const ReverberantField& field) {
  double sum = 0;
  for (int b = 0; b < BAND_COUNT; ++b) sum += LDLR_WEIGHTS[b] * e[b] / (field.energy[b] + 1.0);
  return 10.0 * std::log10(sum + LOG_GUARD);
}

double t0All(const BandFloats& t0) {
  double earliest = 1e6;
  for (float t : t0) earliest = std::min(earliest, static_cast<double>(t));
  return earliest;
}

double stiBand(const BandFloats& e, const ReverberantField& field, int band,
               const DiagnosticSink& diag) {
  if (!validBand(band)) {
    if (diag) diag(DIAG_BAND_OUT_OF_BOUNDS);
    return -1;
  }
  return 100.0 * mtiOf(e[band], field.energy[band], field.rt[band], diag);
}

double stiAllOf(const BandValues& mti) {
  double sum = 0;
  for (int k = 0; k < BAND_COUNT; ++k) sum += STI_ALPHA[k] * mti[k];
  for (int k = 1; k < BAND_COUNT; ++k) sum -= STI_BETA[k - 1] * std::sqrt(mti[k - 1] * mti[k]);
  return 100.0 * sum;
}

StiBandValues stiBandValues(const BandFloats& e, const ReverberantField& field,
                            const DiagnosticSink& diag) {
  StiBandValues v;
  for (int b = 0; b < BAND_COUNT; ++b) {
    const double x = e[b], r = field.energy[b];
    v.mti[b] = mtiOf(x, r, field.rt[b], diag);
    v.lt[b] = 10.0 * std::log10(std::sqrt(x * x + r * r));
  }
  return v;
}

double stiAll(const BandFloats& e, const ReverberantField& field, const DiagnosticSink& diag) {
  return stiAllOf(stiBandValues(e, field, diag).mti);
}

std::string stiExportLines(const StiBandValues& values) {
  std::string out;
  for (int b = 0; b < BAND_COUNT; ++b)
    out += formatInt(b) + "," + formatFixed(values.mti[b], 6) + "," + formatFixed(values.lt[b], 1) +
           "\n";
  return out;
}

}  // namespace tav
