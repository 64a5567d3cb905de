// JSON of reflection results for taviron-cli rays and rayinfo.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "model/object_list.h"
#include "reflections/reflection_paths.h"

namespace tav::cli {

// paths, tmin, tmax, binWidth and the per-band arrays of eight (broadband
// last): early, reverberant, rt60, meanAbsorption, refTime, refLevel, alcons.
void addStatsJson(nlohmann::ordered_json& out, const ReflectionStats& stats);

// Every path object in list order: time (ms), energy [7], faces (the
// reflecting face indexes in path order), points [[x, y, z] ...].
nlohmann::ordered_json pathListJson(const ObjectList& objects);

// "X,Y,Z" as three numbers (a point as decimal separator, whatever the
// locale); false when it is not three numbers.
bool parsePoint(const std::string& text, Vec3d& out);

}  // namespace tav::cli
