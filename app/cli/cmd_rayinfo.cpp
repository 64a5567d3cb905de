// taviron-cli rayinfo RAYS.TRF [--project FILE.TPR] [--paths]: what a ray
// file holds; with a project, its paths linked and evaluated against it as
// the ray window does after "Load Ray File".
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "cli_command.h"
#include "model/project_file.h"
#include "model/save_file.h"
#include "ray_json.h"
#include "reflections/ray_file.h"
#include "reflections/reflection_run.h"

namespace tav::cli {

namespace {

struct RayInfoOptions {
  std::string file;
  std::string project;
  bool paths = false;
};

int runRayInfo(const RayInfoOptions& o) {
  const auto bytes = readWholeFile(o.file);
  if (!bytes) {
    printError(MSG_CANT_LOCATE_FILE);
    return EXIT_FILE_ERROR;
  }
  RayFileContent content = decodeRayFile(*bytes);
  if (!content.valid) {
    printError(MSG_NOT_A_RAY_FILE);
    return EXIT_FILE_ERROR;
  }
  Project project;
  if (!o.project.empty()) {
    ProjectLoadResult loaded = loadProject(o.project);
    if (!loaded.ok()) {
      printError(loaded.error.text);
      return EXIT_FILE_ERROR;
    }
    project = std::move(loaded.project);
  }
  const std::size_t stored = content.paths.size();
  for (auto& p : content.paths) project.objects.appendObject(std::move(p));

  nlohmann::ordered_json out;
  out["description"] = content.description;
  out["storedPaths"] = stored;
  out["truncated"] = content.truncated;
  if (!o.project.empty()) {
    RayResults results;
    if (stored > 0) {
      results = openRayResults(project, content.meanFreePath);
      for (const UserMessage& m : results.link.messages) printError(m.text);
    }
    out["paths"] = results.link.kept;
    out["unassigned"] = results.link.unassigned;
    out["meanFreePath"] = content.meanFreePath;
    addStatsJson(out, *results.stats);
  } else {
    out["paths"] = stored;
    out["meanFreePath"] = content.meanFreePath;
  }
  if (o.paths) out["pathList"] = pathListJson(project.objects);
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "rayinfo",
    "What a ray file (.TRF) holds, re-evaluated against a project when given, as JSON",
    [](CLI::App& app) {
      auto o = std::make_shared<RayInfoOptions>();
      app.add_option("file", o->file, "Ray file (.TRF)")->required();
      app.add_option("--project", o->project, "Project to link the paths against (.TPR)");
      app.add_flag("--paths", o->paths, "List every path in file order");
      return std::function<int()>([o] { return runRayInfo(*o); });
    },
}};

}  // namespace

}  // namespace tav::cli
