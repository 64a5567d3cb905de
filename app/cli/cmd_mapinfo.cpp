// taviron-cli mapinfo MAP.TMF: what a map file holds, as read: the header
// fields, the area table and every point, as JSON.
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "mapping/map_file.h"
#include "model/save_file.h"
#include "model/text_encoding.h"

namespace tav::cli {

namespace {

nlohmann::json floats(const BandFloats& v) { return std::vector<float>(v.begin(), v.end()); }

int runMapInfo(const std::string& path) {
  const auto bytes = readWholeFile(path);
  if (!bytes) {
    printError(MSG_CANT_LOCATE_FILE);
    return EXIT_FILE_ERROR;
  }
  const MapFileRead read = readMapBytes(*bytes);
  if (!read.ok()) {
    printError(read.error.text);
    return EXIT_FILE_ERROR;
  }
  const LevelMap& map = read.map;
  nlohmann::json out;
  out["description"] = cp1252ToUtf8(read.description);
  out["areaCount"] = map.areas.size();
  out["phaseRelation"] = map.phaseRelation;
  out["halfGrid"] = map.halfGrid;
  out["bandCounts"] = std::vector<int>(map.bandCounts.begin(), map.bandCounts.end());
  out["pointCount"] = map.points.size();
  // The bounds as stored; the 8000 Hz tmax holds only its first two bytes.
  out["emin"] = floats(read.storedBounds.emin);
  out["emax"] = floats(read.storedBounds.emax);
  out["tmin"] = floats(read.storedBounds.tmin);
  out["tmax"] = floats(read.storedBounds.tmax);
  nlohmann::json areas = nlohmann::json::array();
  for (const AudienceAreaEntry& a : map.areas)
    areas.push_back({{"reference", a.reference},
                     {"normal", {a.nx, a.ny, a.nz}},
                     {"d", a.d},
                     {"xmin", a.xmin},
                     {"xmax", a.xmax},
                     {"ymin", a.ymin},
                     {"ymax", a.ymax},
                     {"zmax", a.zmax}});
  out["areas"] = areas;
  nlohmann::json points = nlohmann::json::array();
  for (const MapPoint& p : map.points)
    points.push_back({{"x", p.x},
                      {"y", p.y},
                      {"z", p.z},
                      {"area", p.area},
                      {"E", floats(p.energy)},
                      {"t0", floats(p.t0)}});
  out["points"] = points;
  out["singlePoints"] = map.singlePoints;
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "mapinfo",
    "Header, area table and points of a map file (.TMF)",
    [](CLI::App& app) {
      auto path = std::make_shared<std::string>();
      app.add_option("file", *path, "Map file (.TMF)")->required();
      return std::function<int()>([path] { return runMapInfo(*path); });
    },
}};

}  // namespace

}  // namespace tav::cli
