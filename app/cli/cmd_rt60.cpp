// taviron-cli rt60 FILE [--method ...]: reverberation time per octave band.
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli_command.h"
#include "materials/reverberation.h"
#include "model/project_file.h"

namespace tav::cli {

namespace {

const std::map<std::string, ReverbMethod> METHODS = {
    {"sabine", ReverbMethod::Sabine},
    {"eyring", ReverbMethod::Eyring},
    {"fitzroy", ReverbMethod::Fitzroy},
    {"measurement", ReverbMethod::Measurement},
};

std::string methodKey(ReverbMethod method) {
  for (const auto& [key, m] : METHODS)
    if (m == method) return key;
  return "sabine";
}

// A band without a finite value is null.
nlohmann::json bands(const OptionalBands& values) {
  nlohmann::json out = nlohmann::json::array();
  for (const auto& v : values) out.push_back(v ? nlohmann::json(*v) : nlohmann::json(nullptr));
  return out;
}

int runRt60(const std::string& path, const std::string& methodName) {
  ProjectLoadResult loaded = loadProjectReporting(path);
  if (!loaded.ok()) return EXIT_FILE_ERROR;
  std::optional<ReverbMethod> method;
  if (!methodName.empty()) method = METHODS.at(methodName);
  const ReverbResult r = computeReverberation(loaded.project, method);
  if (r.impossibleInput) printError(MSG_IMPOSSIBLE_INPUT);

  nlohmann::json out;
  out["method"] = methodKey(r.method);
  out["volume"] = r.volume;
  out["surface"] = r.surface;
  out["absorption"] = r.absorptionNoAir;
  out["rt60"] = bands(r.rt60);
  out["rt60NoAir"] = bands(r.rt60NoAir);
  const AreaClosure& c = r.closure;
  out["closure"] = {
      {"signed", {c.signedSum.x, c.signedSum.y, c.signedSum.z}},
      {"areaXY", c.areaXY},
      {"areaYZ", c.areaYZ},
      {"areaXZ", c.areaXZ},
      {"totalError", c.totalError},
  };
  std::cout << out.dump(2) << std::endl;
  return EXIT_OK;
}

CliCommandRegistration registration{{
    "rt60",
    "Print the reverberation time per octave band of a project, as JSON",
    [](CLI::App& app) {
      auto path = std::make_shared<std::string>();
      auto method = std::make_shared<std::string>();
      app.add_option("file", *path, "Project file (.TPR)")->required();
      app.add_option("--method", *method,
                     "sabine, eyring, fitzroy or measurement "
                     "(default: the project's method)")
          ->check(CLI::IsMember({"sabine", "eyring", "fitzroy", "measurement"}));
      return std::function<int()>([path, method] { return runRt60(*path, *method); });
    },
}};

}  // namespace

}  // namespace tav::cli
