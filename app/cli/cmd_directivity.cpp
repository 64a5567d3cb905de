// taviron-cli directivity DB.TSB TYPE --band B --theta DEG --phi DEG: the
// energy factor of a type's balloon in one direction of its local frame.
#include <cmath>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "model/text_encoding.h"
#include "speakers/directivity.h"
#include "speakers/speaker_database.h"

namespace tav::cli {

namespace {

struct DirectivityOptions {
  std::string database;
  std::string type;
  int band = 3;
  double theta = 0;
  double phi = 0;
};

// A band given as index 0..6 or as its frequency in Hz.
int bandIndex(int value) {
  if (value >= 0 && value < BAND_COUNT) return value;
  for (int b = 0; b < BAND_COUNT; ++b)
    if (BAND_FREQUENCIES[b] == value) return b;
  return -1;
}

int runDirectivity(const DirectivityOptions& o) {
  const int band = bandIndex(o.band);
  if (band < 0) {
    printError("Unknown band " + std::to_string(o.band) +
               " (use 0..6 or 125, 250, 500, 1000, 2000, 4000, 8000)");
    return EXIT_USAGE;
  }
  SpeakerDatabaseIndex index;
  const DatabaseLoadResult loaded = loadSpeakerDatabase(index, o.database);
  if (!loaded.opened) {
    printError(MSG_CANT_LOCATE_FILE);
    return EXIT_FILE_ERROR;
  }
  if (!loaded.loaded) {
    printError(loaded.message.text);
    return EXIT_FILE_ERROR;
  }
  const int i = index.find(o.type);
  std::optional<SpeakerType> type;
  if (i >= 0) type = readSpeakerType(index, static_cast<std::size_t>(i));
  if (!type) {
    printError(MSG_SPEAKER_NOT_AVAILABLE);
    return EXIT_FILE_ERROR;
  }
  // Unit vector at polar angle theta from the main axis (+x) and azimuth
  // phi from local +y towards +z.
  constexpr double RAD_PER_DEG = 3.141592653589793 / 180.0;
  const double t = o.theta * RAD_PER_DEG, p = o.phi * RAD_PER_DEG;
  const Vec3d dir{std::cos(t), std::sin(t) * std::cos(p), std::sin(t) * std::sin(p)};
  const DirectivityResult d = directivityEnergy(*type, band, dir);
  nlohmann::json out = {{"type", cp1252ToUtf8(index.entries[i].name)},
                        {"band", band},
                        {"frequency", BAND_FREQUENCIES[band]},
                        {"theta", o.theta},
                        {"phi", o.phi},
                        {"energy", d.energy},
                        {"level", 10.0 * std::log10(d.energy)}};
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "directivity",
    "Print the directivity energy factor of a loudspeaker type in one direction, as JSON",
    [](CLI::App& app) {
      auto o = std::make_shared<DirectivityOptions>();
      app.add_option("database", o->database, "Loudspeaker database (.TSB)")->required();
      app.add_option("type", o->type, "Type name")->required();
      app.add_option("--band", o->band, "Octave band: 0..6 or 125..8000 (Hz)");
      app.add_option("--theta", o->theta, "Angle from the main axis, degrees");
      app.add_option("--phi", o->phi, "Azimuth about the main axis from local +y to +z, degrees");
      return std::function<int()>([o] { return runDirectivity(*o); });
    },
}};

}  // namespace

}  // namespace tav::cli
