// What the map shows of a point: direct and total level, direct-to-
// reverberant ratio, first arrival and speech transmission index, from the
// point's band energies and the reverberant field of the current room.
//
// Levels in dB; E is a point's band energy, Er the reverberant energy and T
// the reverberation time of the band. Numeric warnings of the speech
// intelligibility functions go to a diagnostic sink (standard error unless
// another is given).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "mapping/level_map.h"
#include "materials/reverberation.h"

namespace tav {

class Project;

// The reverberant energy per band and what it was computed from.
struct ReverberantField {
  BandValues energy{};  // Er
  BandValues rt{};      // RT60 with air absorption, s (0 where there is none)
  BandValues power{};   // acoustic power of the switched-on loudspeakers
  double volume = 0;    // m³
  ReverbMethod method = ReverbMethod::Sabine;
};

// P[b] = sqrt(sum over switched-on loudspeakers of (F[b] 4 pi / (Q[b] + 1e-6))²);
// with V and RT of the project's method (with air absorption):
// Er = P 4 1.047 / (0.161 V / RT), or 1.0 when V <= 1 m³ or the band has
// no finite reverberation time.
ReverberantField reverberantEnergy(const Project& project);

using DiagnosticSink = std::function<void(std::string_view)>;
// Writes a line to standard error.
void diagnosticToStderr(std::string_view line);

inline constexpr const char* DIAG_MTI_OUT_OF_RANGE_PREFIX = "Warning: result_m[";
inline constexpr const char* DIAG_MTI_OUT_OF_RANGE_SUFFIX =
    "] is out of valid range for log10 transformation\n";
inline constexpr const char* DIAG_BAND_OUT_OF_BOUNDS =
    "Error: test_freq_idx is out of bounds for Reverberant_Power and RT60 arrays\n";

// Weights of the bands in Ld-Lr over all bands.
constexpr BandValues LDLR_WEIGHTS = {0.01, 0.042, 0.129, 0.2, 0.312, 0.25, 0.057};
// Band weights alpha and redundancy weights beta (1..6) of the index over all bands.
constexpr BandValues STI_ALPHA = {0.085, 0.127, 0.230, 0.233, 0.309, 0.224, 0.173};
constexpr std::array<double, BAND_COUNT - 1> STI_BETA = {0.085, 0.078, 0.065, 0.011, 0.047, 0.095};
// The fourteen modulation frequencies, Hz.
constexpr std::array<double, 14> MODULATION_FREQUENCIES = {0.63, 0.8, 1, 1.25, 1.6, 2,  2.5,
                                                           3.15, 4,   5, 6.3,  8,   10, 12.5};

// The band functions of one energy value.
double ldOf(double e);               // 10 log10(E)
double ltOf(double e, double er);    // 10 log10(sqrt(E² + Er²) + 1e-12)
double ldLrOf(double e, double er);  // 10 log10(E / (Er + 1))
// Modulation transfer index of a band: the mean over the modulation
// frequencies of (SNR + 15) / 30, SNR = 10 log10(m / (1 - m)) limited to
// +-15 dB; a frequency whose m is not within (0, 1) adds 0 and a warning.
double mtiOf(double ed, double er, double rt, const DiagnosticSink& diag);

// The point functions (E and t0 of a point).
double ld(const BandFloats& e, int band);
double ldAll(const BandFloats& e);
double lt(const BandFloats& e, const ReverberantField& field, int band);
double ltAll(const BandFloats& e, const ReverberantField& field);
double ldLr(const BandFloats& e, const ReverberantField& field, int band);
double ldLrAll(const BandFloats& e, const ReverberantField& field);
double t0All(const BandFloats& t0);  // the earliest band; 1e6 when all are later
// 100 x MTI of a band; -1 (and the error line) for a band outside 0..6.
double stiBand(const BandFloats& e, const ReverberantField& field, int band,
               const DiagnosticSink& diag);
double stiAll(const BandFloats& e, const ReverberantField& field, const DiagnosticSink& diag);

// MTI and total level of every band.
struct StiBandValues {
  BandValues mti{};
  BandValues lt{};  // 10 log10(sqrt(E² + Er²))
};
StiBandValues stiBandValues(const BandFloats& e, const ReverberantField& field,
                            const DiagnosticSink& diag);
// 100 x (sum alpha MTI - sum beta sqrt(MTI(k-1) MTI(k))).
double stiAllOf(const BandValues& mti);
// The seven export lines "%d,%f,%.1f\n" (band, MTI, Lt) of a point.
std::string stiExportLines(const StiBandValues& values);

}  // namespace tav
