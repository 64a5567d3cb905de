// JSON descriptions of loudspeaker databases and of a project's placed
// loudspeakers for taviron-cli.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "model/project.h"

namespace tav::cli {

// {"layout": 1..3, "path", "truncated", "types": [{name, brand, description,
// sensitivity[7], maxPower[7]}]}; {"error": text} when the file is not a
// loudspeaker database.
nlohmann::json speakerDatabaseInfo(const std::string& path);

// [{type, name, group, position[3], angles {horizontal, vertical, rotation}
// in degrees, switchedOn, polarity, delay}] for every loudspeaker object.
nlohmann::json placedSpeakersInfo(const tav::Project& project);

}  // namespace tav::cli
