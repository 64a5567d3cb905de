// taviron-cli rays FILE.TPR --target X,Y,Z --order N [--threads N]
// [--out RAYS.TRF] [--paths]: the reflection paths from every switched-on
// loudspeaker to the target, linked and evaluated as the ray window does.
#include <tbb/global_control.h>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <utility>

#include "cli_command.h"
#include "model/project_file.h"
#include "model/save_file.h"
#include "ray_json.h"
#include "reflections/ray_file.h"
#include "reflections/reflection_run.h"

namespace tav::cli {

namespace {

struct RaysOptions {
  std::string project;
  std::string target;
  int order = 3;
  int threads = 0;
  std::string out;
  bool paths = false;
};

int runRays(const RaysOptions& o) {
  Vec3d target;
  if (!parsePoint(o.target, target)) {
    printError("Invalid target point: " + o.target + " (expected X,Y,Z)");
    return EXIT_FILE_ERROR;
  }
  ProjectLoadResult loaded = loadProject(o.project);
  if (!loaded.ok()) {
    printError(loaded.error.text);
    return EXIT_FILE_ERROR;
  }
  Project& project = loaded.project;
  std::optional<tbb::global_control> threads;
  if (o.threads > 0)
    threads.emplace(tbb::global_control::max_allowed_parallelism,
                    static_cast<std::size_t>(o.threads));

  const auto t0 = std::chrono::steady_clock::now();
  RaySearchRequest request;
  request.target = target;
  request.maxOrder = o.order;
  int lastTenth = -1;
  request.options.progress = [&lastTenth](double percent) {
    const int tenth = static_cast<int>(percent / 10);
    if (tenth != lastTenth) {
      lastTenth = tenth;
      std::cerr << REFLECTION_PROGRESS_TITLE << " " << reflectionProgressText(percent) << "\n";
    }
    return false;
  };
  const RaySearchRun run = runRaySearch(project, request);
  if (!run.message.empty()) {
    printError(run.message.text);
    return EXIT_FILE_ERROR;
  }
  RayResults results;
  if (run.pathsRead > 0) {
    results = openRayResults(project, run.meanFreePath);
    for (const UserMessage& m : results.link.messages) printError(m.text);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

  nlohmann::ordered_json out;
  out["paths"] = results.link.kept;
  out["unassigned"] = results.link.unassigned;
  out["imageSourceOrder"] = run.split.imageOrder;
  out["rayStart"] = run.split.rayStart;
  out["meanFreePath"] = run.meanFreePath;
  addStatsJson(out, *results.stats);
  out["seconds"] = seconds;
  if (o.paths) out["pathList"] = pathListJson(project.objects);

  if (!o.out.empty()) {
    const std::string name = rayFileName(o.out);
    const auto bytes =
        encodeRayFile(reflectionPaths(std::as_const(project.objects)),
                      std::filesystem::path(o.project).filename().string(), run.meanFreePath);
    if (!saveFileAtomically(name, bytes)) {
      printError(MSG_CANT_WRITE_TO_DISK);
      return EXIT_FILE_ERROR;
    }
  }
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "rays",
    "Reflection paths from the loudspeakers to a target point, as JSON",
    [](CLI::App& app) {
      auto o = std::make_shared<RaysOptions>();
      app.add_option("file", o->project, "Project file (.TPR)")->required();
      app.add_option("--target", o->target, "Target point X,Y,Z in metres")->required();
      app.add_option("--order", o->order, "Maximum reflection order (1 .. 40)");
      app.add_option("--threads", o->threads, "Worker threads (default: all cores)")
          ->check(CLI::Range(1, 1024));
      app.add_option("--out", o->out, "Store the paths in this ray file (.TRF)");
      app.add_flag("--paths", o->paths, "List every path in time order");
      return std::function<int()>([o] { return runRays(*o); });
    },
}};

}  // namespace

}  // namespace tav::cli
