// JSON descriptions of projects for taviron-cli.
#pragma once

#include <nlohmann/json.hpp>

#include "model/project_file.h"

namespace tav::cli {

nlohmann::ordered_json projectInfoJson(const ProjectLoadResult& loaded);

}  // namespace tav::cli
