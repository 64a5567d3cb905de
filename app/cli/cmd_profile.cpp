// taviron-cli profile: the reflection search to a target point (or a stored
// ray file), then the audio profile as "APF" writes it, or with --realtime
// the fuller real-time profile.
#include <algorithm>
#include <charconv>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>

#include "auralization/profile_paths.h"
#include "cli_command.h"
#include "model/project.h"
#include "model/project_file.h"
#include "model/save_file.h"
#include "model/text_encoding.h"
#include "reflections/ray_file.h"
#include "reflections/reflection_run.h"

namespace tav::cli {

namespace {

struct ProfileOptions {
  std::string project;
  std::string target;
  int order = 3;
  std::string rays;
  std::string out;
  bool realtime = false;
  std::string description;
  float angle = 0;
};

bool parseTarget(const std::string& text, Vec3d& target) {
  double v[3];
  const char* p = text.data();
  const char* end = text.data() + text.size();
  for (int i = 0; i < 3; ++i) {
    const auto r = std::from_chars(p, end, v[i]);
    if (r.ec != std::errc()) return false;
    p = r.ptr;
    if (i < 2) {
      if (p == end || *p != ',') return false;
      ++p;
    }
  }
  if (p != end) return false;
  target = {v[0], v[1], v[2]};
  return true;
}

int runProfile(const ProfileOptions& o) {
  ProjectLoadResult loaded = loadProject(o.project);
  if (!loaded.ok()) {
    printError(loaded.error.text);
    return EXIT_FILE_ERROR;
  }
  Project& project = loaded.project;
  double meanFreePath = 0;
  if (!o.rays.empty()) {
    const std::optional<std::vector<std::uint8_t>> bytes = readWholeFile(o.rays);
    if (!bytes) {
      printError(MSG_CANT_LOCATE_FILE);
      return EXIT_FILE_ERROR;
    }
    RayFileContent content = decodeRayFile(*bytes);
    if (!content.valid) {
      printError(MSG_NOT_A_RAY_FILE);
      return EXIT_FILE_ERROR;
    }
    meanFreePath = content.meanFreePath;
    for (auto& path : content.paths) project.objects.appendObject(std::move(path));
  } else {
    Vec3d target;
    if (!parseTarget(o.target, target)) {
      printError("--target needs X,Y,Z");
      return EXIT_USAGE;
    }
    RaySearchRequest request;
    request.target = target;
    request.maxOrder = std::clamp(o.order, 1, 40);
    const RaySearchRun run = runRaySearch(project, request);
    if (!run.message.empty()) {
      printError(run.message.text);
      return EXIT_FILE_ERROR;
    }
    meanFreePath = run.meanFreePath;
  }
  const RayResults results = openRayResults(project, meanFreePath);
  for (const UserMessage& m : results.link.messages) printError(m.text);
  if (results.link.kept == 0) return EXIT_FILE_ERROR;
  const std::vector<ProfilePath> paths = profilePathsFrom(project.objects);
  const ProfileStats stats = profileStatsFrom(*results.stats);
  const AudioProfile profile =
      o.realtime ? buildRealtimeProfile(paths, stats)
                 : buildAudioProfile(paths, stats, utf8ToCp1252(o.description), o.angle);
  const std::string out = o.realtime ? o.out : withProfileExtension(o.out);
  if (!saveFileAtomically(out, encodeAudioProfile(profile))) {
    printError(MSG_CANT_WRITE_TO_DISK);
    return EXIT_FILE_ERROR;
  }
  nlohmann::json json;
  json["file"] = out;
  json["paths"] = profile.paths.size();
  json["trailingRecords"] = profile.trailing.size();
  json["tMin"] = stats.tMin;
  json["maxLevel"] = stats.maxLevelDb;
  std::cout << json.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "profile",
    "Write an audio profile (.TAP) from the reflection search or a ray file, as JSON",
    [](CLI::App& app) {
      auto o = std::make_shared<ProfileOptions>();
      app.add_option("file", o->project, "Project file (.TPR)");
      app.add_option("--project", o->project, "Project file (.TPR) of the ray file");
      app.add_option("--target", o->target, "Target point X,Y,Z (m)");
      app.add_option("--order", o->order, "Maximum reflection order 1..40 (default 3)");
      app.add_option("--rays", o->rays, "Stored ray file (.TRF) instead of a search");
      app.add_option("--out", o->out, "Profile to write")->required();
      app.add_flag("--realtime", o->realtime,
                   "The fuller real-time profile (three trailing records)");
      app.add_option("--description", o->description, "Description (at most 79 characters)");
      app.add_option("--angle", o->angle, "Listen angle in degrees");
      return std::function<int()>([o] {
        if (o->project.empty() || (o->rays.empty() && o->target.empty())) {
          printError("profile needs FILE.TPR --target X,Y,Z or --rays RAYS.TRF --project FILE.TPR");
          return EXIT_USAGE;
        }
        return runProfile(*o);
      });
    },
}};

}  // namespace

}  // namespace tav::cli
