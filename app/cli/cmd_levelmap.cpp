// taviron-cli levelmap FILE.TPR: the Level + Time calculation of the map
// window on a project, with the project's calculation options unless given.
// Writes the map file, the project with the map, the points as CSV and the
// map picture on request; prints the map's figures as JSON.
#include <tbb/global_control.h>
#include <tbb/task_arena.h>

#include <charconv>
#include <chrono>
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli_command.h"
#include "mapping/level_time.h"
#include "mapping/map_file.h"
#include "mapping/point_evaluation.h"
#include "model/project_file.h"
#include "model/save_file.h"
#include "png_map.h"

namespace tav::cli {

namespace {

inline constexpr const char* MSG_NO_AUDIENCE_AREA = "No audience areas to process";

const std::map<std::string, std::int16_t> PHASES = {{"energy", 1}, {"octave", 2}, {"single", 3}};
const std::map<std::string, std::int16_t> GRIDS = {{"minimum", -1}, {"0.25", 0}, {"0.5", 1},
                                                   {"1", 2},        {"2", 3},    {"5", 4},
                                                   {"10", 5},       {"25", 6},   {"50", 7}};

struct LevelMapOptions {
  std::string path;
  std::string phase, shading, reflection, grid;
  int threads = 0;
  std::string out, saveProject, csv;
  MapImageOptions image;
};

// Shortest text that reads back as the same number, locale-free.
template <typename T>
std::string number(T v) {
  char buffer[64];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
  return std::string(buffer, r.ptr);
}

std::string csvText(const LevelMap& map, const ReverberantField& field) {
  std::string out = "x,y,z,area";
  for (const char* prefix : {"E", "t"})
    for (int f : BAND_FREQUENCIES) out += std::string(",") + prefix + std::to_string(f);
  out += ",LtAll,LdLrAll,StiAll\n";
  for (const MapPoint& p : map.points) {
    out += number(p.x) + "," + number(p.y) + "," + number(p.z) + "," + std::to_string(p.area);
    for (float e : p.energy) out += "," + number(e);
    for (float t : p.t0) out += "," + number(t);
    out += "," + number(ltAll(p.energy, field)) + "," + number(ldLrAll(p.energy, field)) + "," +
           number(stiAll(p.energy, field, diagnosticToStderr)) + "\n";
  }
  return out;
}

nlohmann::json floats(const BandFloats& v) { return std::vector<float>(v.begin(), v.end()); }

void setSwitch(std::int16_t& bits, std::int16_t bit, const std::string& value) {
  if (value == "on") bits = static_cast<std::int16_t>(bits | bit);
  if (value == "off") bits = static_cast<std::int16_t>(bits & ~bit);
}

int runLevelMap(const LevelMapOptions& o) {
  std::optional<ImageSize> size;
  if (!o.image.png.empty() && !(size = parseImageSize(o.image.size))) {
    printError("Invalid size \"" + o.image.size + "\": expected WIDTHxHEIGHT, each 1.." +
               std::to_string(MAX_IMAGE_SIDE));
    return EXIT_USAGE;
  }
  ProjectLoadResult loaded = loadProject(o.path);
  if (!loaded.ok()) {
    printError(loaded.error.text);
    return EXIT_FILE_ERROR;
  }
  Project& project = loaded.project;
  CalculationOptions& options = project.settings.calculation;
  if (!o.phase.empty()) options.phaseRelation = PHASES.at(o.phase);
  if (!o.grid.empty()) options.gridIndex = GRIDS.at(o.grid);
  setSwitch(options.includeRoom, INCLUDE_SHADING, o.shading);
  setSwitch(options.includeRoom, INCLUDE_REFLECTION, o.reflection);

  std::optional<tbb::global_control> limit;
  if (o.threads > 0)
    limit.emplace(tbb::global_control::max_allowed_parallelism,
                  static_cast<std::size_t>(o.threads));
  const auto started = std::chrono::steady_clock::now();
  LevelTimeRun run = prepareLevelTime(project, options);
  switch (run.status) {
    case LevelTimeStatus::NoLoudspeakers:
    case LevelTimeStatus::NoActiveSpeakers:
      printError(MSG_NO_SPEAKERS_TO_PROCESS);
      return EXIT_FILE_ERROR;
    case LevelTimeStatus::NoAudienceArea:
      printError(MSG_NO_AUDIENCE_AREA);
      return EXIT_FILE_ERROR;
    case LevelTimeStatus::GridTooFine:
      printError(run.message.text);
      return EXIT_FILE_ERROR;
    case LevelTimeStatus::Ready:
      if (!run.message.empty()) printError(run.message.text);  // "Too many room faces"
      break;
  }
  const double spacing = run.spacing;
  computeLevelTime(run, project);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  installLevelMap(project, levelMapOf(std::move(run)));
  const LevelMap& map = *project.levelMap;
  const ReverberantField field = reverberantEnergy(project);

  if (!o.out.empty()) {
    const UserMessage error = saveMapFile(o.out, map, project.description);
    if (!error.empty()) {
      printError(error.text);
      return EXIT_FILE_ERROR;
    }
  }
  if (!o.csv.empty()) {
    const std::string text = csvText(map, field);
    if (!saveFileAtomically(o.csv,
                            {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()})) {
      printError("Cannot write " + o.csv);
      return EXIT_FILE_ERROR;
    }
  }
  if (!o.image.png.empty() && !writeMapImage(project, o.image, *size)) return EXIT_FILE_ERROR;
  if (!o.saveProject.empty()) {
    const UserMessage error = saveProjectAs(project, o.saveProject);
    if (!error.empty()) {
      printError(error.text);
      return EXIT_FILE_ERROR;
    }
  }

  nlohmann::json out;
  out["points"] = map.points.size();
  out["gridSpacing"] = spacing;
  out["bandCounts"] = std::vector<int>(map.bandCounts.begin(), map.bandCounts.end());
  out["emin"] = floats(map.bounds.emin);
  out["emax"] = floats(map.bounds.emax);
  out["tmin"] = floats(map.bounds.tmin);
  out["tmax"] = floats(map.bounds.tmax);
  out["reverberantEnergy"] = field.energy;
  out["rt60"] = field.rt;
  out["volume"] = field.volume;
  out["threads"] = o.threads > 0 ? o.threads : tbb::this_task_arena::max_concurrency();
  out["seconds"] = seconds;
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "levelmap",
    "Level + Time calculation of a project (the map window's engine)",
    [](CLI::App& app) {
      auto o = std::make_shared<LevelMapOptions>();
      app.add_option("file", o->path, "Project file (.TPR)")->required();
      app.add_option("--phase", o->phase, "energy, octave or single (default: the project's)")
          ->check(CLI::IsMember({"energy", "octave", "single"}));
      app.add_option("--shading", o->shading, "on or off (default: the project's)")
          ->check(CLI::IsMember({"on", "off"}));
      app.add_option("--reflection", o->reflection, "on or off (default: the project's)")
          ->check(CLI::IsMember({"on", "off"}));
      app.add_option("--grid", o->grid,
                     "minimum, 0.25, 0.5, 1, 2, 5, 10, 25 or 50 m (default: the project's)")
          ->check(CLI::IsMember({"minimum", "0.25", "0.5", "1", "2", "5", "10", "25", "50"}));
      app.add_option("--threads", o->threads, "Worker threads (default: all cores)")
          ->check(CLI::PositiveNumber);
      app.add_option("--out", o->out, "Map file (.TMF) to write");
      app.add_option("--save-project", o->saveProject, "Project file to write with the map");
      app.add_option("--csv", o->csv, "CSV file of the points");
      addMapImageOptions(app, o->image);
      return std::function<int()>([o] { return runLevelMap(*o); });
    },
}};

}  // namespace

}  // namespace tav::cli
